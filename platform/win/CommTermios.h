#pragma once
// Translation of line settings to termios, shared by the termios device and its tests.
#include <termios.h>

#include "platform/win/Comm.h"

namespace win {

// Fills t from a validated DCB: raw mode, size, parity (mark and space through CMSPAR), stop
// bits, CRTSCTS for CTS flow or RTS handshake, XON/XOFF characters and a standard rate (B38400
// as a placeholder when the rate needs termios2). Software flow control is left to the port.
void TranslateDcb(const DCB& dcb, termios& t);

}  // namespace win
