#pragma once
// The listing of the serial devices present on the machine, by their friendly names, that the
// serial parameter dialog shows beside its port list.
#include "platform/rtl/String.h"

// The last listing: the header line, then one friendly name a line, each ended by CR LF.
extern String ComPortListText;

// Lists the present serial devices into ComPortListText.
void ListComPorts();
