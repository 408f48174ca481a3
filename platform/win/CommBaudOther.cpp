#include "platform/win/CommBaudOther.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace win {

namespace {

std::atomic<int> gFailNext{0};

}  // namespace

int SetLineWithRate(int fd, const LineFields& fields, uint32_t rate) {
    if (int e = gFailNext.exchange(0)) return e;
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
    t.c_iflag = fields.iflag;
    t.c_oflag = fields.oflag;
    t.c_cflag = fields.cflag;
    t.c_lflag = fields.lflag;
    t.c_line = fields.line;
    std::memcpy(t.c_cc, fields.cc, std::min(sizeof t.c_cc, sizeof fields.cc));
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    if (ioctl(fd, TCSETS2, &t) != 0) return errno;
    return 0;
}

int GetRates(int fd, uint32_t* inRate, uint32_t* outRate) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
    if (inRate) *inRate = t.c_ispeed;
    if (outRate) *outRate = t.c_ospeed;
    return 0;
}

void FailNextLineWithRate(int error) { gFailNext = error; }

}  // namespace win
