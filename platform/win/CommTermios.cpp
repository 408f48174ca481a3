// The termios device: a serial port or a pseudo-terminal opened non-blocking and exclusively.
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/win/CommBaudOther.h"
#include "platform/win/CommDevice.h"
#include "platform/win/CommTermios.h"

namespace win {

namespace {

struct RateCode {
    uint32_t rate;
    speed_t code;
};

constexpr RateCode kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

speed_t StandardRate(uint32_t rate) {
    for (const auto& r : kRates)
        if (r.rate == rate) return r.code;
    return 0;
}

DWORD OpenError(int e) {
    switch (e) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EAGAIN: return ERROR_ACCESS_DENIED;
    case EINVAL:
    case ENAMETOOLONG: return ERROR_INVALID_PARAMETER;
    case EIO: return ERROR_DEVICE_NOT_CONNECTED;
    default: return ERROR_GEN_FAILURE;
    }
}

}  // namespace

void TranslateDcb(const DCB& dcb, termios& t) {
    // Raw bytes: no translation, no echo, no signals. Software flow control is done by the
    // port in user space; a break is counted (TIOCGICOUNT), not read as a NUL.
    t.c_iflag = IGNBRK | (dcb.fParity ? INPCK : 0);
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[dcb.ByteSize - 5];
    // Two stop bits with five data bits is what the UART sends as one and a half.
    if (dcb.StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
    switch (dcb.Parity) {
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    speed_t code = StandardRate(dcb.BaudRate);
    cfsetispeed(&t, code ? code : B38400);
    cfsetospeed(&t, code ? code : B38400);
}

namespace {

class TermiosDevice final : public CommDevice {
public:
    TermiosDevice(int fd, bool pty) : FFd(fd), FPty(pty) {
        serial_icounter_struct c {};
        FHasCounters = !pty && ioctl(FFd, TIOCGICOUNT, &c) == 0;
        if (FHasCounters) FCounters = c;
    }

    ~TermiosDevice() override {
        ioctl(FFd, TIOCNXCL);
        flock(FFd, LOCK_UN);
        ::close(FFd);
    }

    int PollFd() const override { return FFd; }
    bool PollsForWrite() const override { return true; }

    long Read(uint8_t* buffer, size_t count) override {
        ssize_t n = ::read(FFd, buffer, count);
        if (n > 0) return n;
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
        return -1;  // EIO after a hang-up, or end of file: the device is gone
    }

    long Write(const uint8_t* buffer, size_t count) override {
        ssize_t n = ::write(FFd, buffer, count);
        if (n >= 0) return n;
        if (errno == EAGAIN || errno == EINTR) return 0;
        return -1;
    }

    DWORD OutQueue() override {
        int n = 0;
        if (ioctl(FFd, TIOCOUTQ, &n) != 0 || n < 0) return 0;
        return static_cast<DWORD>(n);
    }

    DWORD Configure(const DCB& dcb) override {
        termios t {};
        if (tcgetattr(FFd, &t) != 0) return ERROR_GEN_FAILURE;
        TranslateDcb(dcb, t);
        // A pseudo-terminal carries bytes, not characters: it keeps no size or parity (and the C
        // library reports the attempt as a failure).
        if (FPty) t.c_cflag = (t.c_cflag & ~(CSIZE | PARENB)) | CS8;
        if (StandardRate(dcb.BaudRate)) {
            if (tcsetattr(FFd, TCSANOW, &t) != 0) return errno == EINVAL ? ERROR_INVALID_PARAMETER : ERROR_GEN_FAILURE;
            return 0;
        }
        // Another rate goes with the other settings in one call: a rate the device refuses
        // leaves the line as it was, not half set.
        LineFields f;
        f.iflag = t.c_iflag;
        f.oflag = t.c_oflag;
        f.cflag = t.c_cflag;
        f.lflag = t.c_lflag;
        f.line = t.c_line;
        static_assert(sizeof f.cc <= sizeof t.c_cc);
        std::memcpy(f.cc, t.c_cc, sizeof f.cc);
        if (SetLineWithRate(FFd, f, dcb.BaudRate) != 0) return ERROR_INVALID_PARAMETER;
        return 0;
    }

    DWORD ModemStatus() override {
        // A pseudo-terminal has no modem lines: the far end is taken as present and ready.
        if (FPty) return MS_CTS_ON | MS_DSR_ON;
        int bits = 0;
        if (ioctl(FFd, TIOCMGET, &bits) != 0) return FLastModem;
        DWORD s = 0;
        if (bits & TIOCM_CTS) s |= MS_CTS_ON;
        if (bits & TIOCM_DSR) s |= MS_DSR_ON;
        if (bits & TIOCM_RNG) s |= MS_RING_ON;
        if (bits & TIOCM_CAR) s |= MS_RLSD_ON;
        FLastModem = s;
        return s;
    }

    bool SetDtr(bool on) override { return SetLine(TIOCM_DTR, on); }
    bool SetRts(bool on) override { return SetLine(TIOCM_RTS, on); }

    DWORD ControlLines() override {
        int bits = 0;
        if (!FPty && ioctl(FFd, TIOCMGET, &bits) == 0) FLines = ((bits & TIOCM_DTR) ? COMM_LINE_DTR : 0) | ((bits & TIOCM_RTS) ? COMM_LINE_RTS : 0);
        return FLines;
    }

    bool SetBreak(bool on) override {
        if (FPty) return true;
        return ioctl(FFd, on ? TIOCSBRK : TIOCCBRK) == 0;
    }

    void Purge(DWORD flags) override {
        if (flags & PURGE_TXCLEAR) tcflush(FFd, TCOFLUSH);
        if (flags & PURGE_RXCLEAR) tcflush(FFd, TCIFLUSH);
    }

    DWORD TakeLineErrors() override {
        if (!FHasCounters) return 0;
        serial_icounter_struct c {};
        if (ioctl(FFd, TIOCGICOUNT, &c) != 0) return 0;
        DWORD e = 0;
        if (c.frame != FCounters.frame) e |= CE_FRAME;
        if (c.parity != FCounters.parity) e |= CE_RXPARITY;
        if (c.overrun != FCounters.overrun) e |= CE_OVERRUN;
        if (c.buf_overrun != FCounters.buf_overrun) e |= CE_RXOVER;
        if (c.brk != FCounters.brk) e |= CE_BREAK;
        FCounters = c;
        return e;
    }

    bool HandlesCtsFlow() const override { return true; }
    // Modem lines and error counters of a real port have no descriptor to poll.
    int StatusPollMs() const override { return FPty ? 0 : 10; }
    // Input brings only bytes, and a hang-up, which poll reports unasked.
    bool SignalsLineChanges() const override { return false; }

private:
    bool SetLine(int bit, bool on) {
        DWORD line = bit == TIOCM_DTR ? COMM_LINE_DTR : COMM_LINE_RTS;
        if (!FPty && ioctl(FFd, on ? TIOCMBIS : TIOCMBIC, &bit) != 0) return false;
        FLines = on ? FLines | line : FLines & ~line;  // all a pseudo-terminal has of them
        return true;
    }

    int FFd;
    bool FPty;
    bool FHasCounters = false;
    serial_icounter_struct FCounters {};
    DWORD FLastModem = 0;
    DWORD FLines = 0;
};

bool IsPseudoTerminal(int fd, const std::string& path) {
    if (path.rfind("/dev/pts/", 0) == 0) return true;
    int bits = 0;
    if (ioctl(fd, TIOCMGET, &bits) != 0 && (errno == ENOTTY || errno == EINVAL)) return true;
    return false;
}

}  // namespace

std::unique_ptr<CommDevice> OpenTermiosDevice(const std::string& path, DWORD* error) {
    *error = 0;
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = OpenError(errno);
        return nullptr;
    }
    if (!isatty(fd)) {
        ::close(fd);
        *error = ERROR_FILE_NOT_FOUND;  // not a port
        return nullptr;
    }
    // TIOCEXCL keeps other users out, but not root; the lock covers that case and this process.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    ioctl(fd, TIOCEXCL);
    termios t {};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        t.c_iflag |= IGNBRK;
        t.c_cflag |= CREAD | CLOCAL;
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        tcsetattr(fd, TCSANOW, &t);
    }
    bool pty = IsPseudoTerminal(fd, path);
    return std::make_unique<TermiosDevice>(fd, pty);
}

}  // namespace win
