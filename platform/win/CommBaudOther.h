#pragma once
// Rates without a Bxxx constant go through termios2 (BOTHER). Its header clashes with
// <termios.h>, so it lives in a translation unit of its own behind these calls.
#include <cstdint>

namespace win {

// The termios fields other than the rate, as <termios.h> fills them (the kernel's layout).
struct LineFields {
    uint32_t iflag = 0;
    uint32_t oflag = 0;
    uint32_t cflag = 0;
    uint32_t lflag = 0;
    uint8_t line = 0;
    uint8_t cc[19] = {};
};

// Sets every field and input and output rate of the open tty in one call, so that a refused rate
// leaves the line as it was. Returns 0 or an errno value.
int SetLineWithRate(int fd, const LineFields& fields, uint32_t rate);
// Reads the rates the kernel holds (TCGETS2). Returns 0 or an errno value.
int GetRates(int fd, uint32_t* inRate, uint32_t* outRate);
// The next SetLineWithRate fails with this errno value and changes nothing (tests: a device that
// refuses a rate). 0 withdraws it.
void FailNextLineWithRate(int error);

}  // namespace win
