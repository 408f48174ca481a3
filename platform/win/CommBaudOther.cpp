#include "platform/win/CommBaudOther.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace win {

int SetOtherRate(int fd, uint32_t rate) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
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

}  // namespace win
