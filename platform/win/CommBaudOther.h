#pragma once
// Rates without a Bxxx constant go through termios2 (BOTHER). Its header clashes with
// <termios.h>, so it lives in a translation unit of its own behind these two calls.
#include <cstdint>

namespace win {

// Sets input and output rate of the open tty to any value. Returns 0 or an errno value.
int SetOtherRate(int fd, uint32_t rate);
// Reads the rates the kernel holds (TCGETS2). Returns 0 or an errno value.
int GetRates(int fd, uint32_t* inRate, uint32_t* outRate);

}  // namespace win
