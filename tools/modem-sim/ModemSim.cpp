#include "tools/modem-sim/ModemSim.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/rtl/Exceptions.h"

namespace modemsim {

namespace {

// Longest command line kept; anything longer is longer than every valid command, so it is still
// answered as a bad argument.
constexpr size_t kMaxLine = 1024;
// How often a hung-up line is looked at again for a new client.
constexpr auto kHangupPoll = std::chrono::milliseconds(10);
// How often a real tty's modem lines are read while in a data mode.
constexpr auto kLinePoll = std::chrono::milliseconds(20);

[[noreturn]] void ThrowOs(const std::string& what) {
    throw EOSError(String(what + ": " + std::strerror(errno)));
}

speed_t SpeedOf(int baud) {
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

void MakeRaw(int fd, int baud) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) ThrowOs("tcgetattr");
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    speed_t speed = SpeedOf(baud);
    if (speed != B0) cfsetspeed(&t, speed);
    if (tcsetattr(fd, TCSANOW, &t) != 0) ThrowOs("tcsetattr");
}

// Byte times at the usual rates are well under a millisecond: wait with ppoll's nanoseconds.
timespec Timeout(SteadyClock::duration d) {
    d = std::clamp<SteadyClock::duration>(d, SteadyClock::duration::zero(), std::chrono::seconds(60));
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

ModemSim::ModemSim(SimOptions options) : FOptions(std::move(options)), FModel(FOptions.modem) {
    if (FOptions.baud < 0) throw EInvalidArgument("baud rate must not be negative");
}

ModemSim::~ModemSim() {
    Stop();
    if (FFd >= 0) close(FFd);
    if (FWakeFd >= 0) close(FWakeFd);
    if (FWakeWrite >= 0) close(FWakeWrite);
}

std::string ModemSim::OpenPty() {
    if (FFd >= 0) throw EInvalidOperation("the simulator already has a line");
    int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) ThrowOs("posix_openpt");
    char name[128];
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        int e = errno;
        close(fd);
        errno = e;
        ThrowOs("pseudo-terminal");
    }
    // The slave starts in cooked mode with echo on: were it left so, every reply would come back
    // to us as input until the client changed the mode. The settings outlive this open.
    int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        close(fd);
        ThrowOs(std::string("open ") + name);
    }
    try {
        MakeRaw(slave, FOptions.baud > 0 ? FOptions.baud : 19200);
    } catch (...) {
        close(slave);
        close(fd);
        throw;
    }
    close(slave);
    FFd = fd;
    FIsPty = true;
    FPaced = FOptions.baud > 0;
    FHungUp = true;  // no client has the slave open yet
    FPath = name;
    return FPath;
}

void ModemSim::OpenDevice(const std::string& path) {
    if (FFd >= 0) throw EInvalidOperation("the simulator already has a line");
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) ThrowOs("open " + path);
    if (!isatty(fd)) {
        close(fd);
        throw EInvalidArgument(String(path + " is not a terminal"));
    }
    int baud = FOptions.baud > 0 ? FOptions.baud : 19200;
    if (SpeedOf(baud) == B0) {
        close(fd);
        throw EInvalidArgument(String("unsupported line speed " + std::to_string(baud)));
    }
    try {
        MakeRaw(fd, baud);
    } catch (...) {
        close(fd);
        throw;
    }
    FFd = fd;
    FIsPty = false;
    FPaced = false;  // the line itself paces a real port
    FPath = path;
}

void ModemSim::Start() {
    if (FFd < 0) throw EInvalidOperation("open a pseudo-terminal or a device first");
    if (FThread.joinable()) return;
    if (FWakeFd < 0) {
        int p[2];
        if (pipe(p) != 0) ThrowOs("pipe");
        for (int fd : p) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        FWakeFd = p[0];
        FWakeWrite = p[1];
    }
    {
        std::lock_guard lock(FMutex);
        FStop = false;
    }
    FThread = std::thread([this] { Run(); });
}

void ModemSim::Stop() {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    Wake();
    if (FThread.joinable()) FThread.join();
    std::lock_guard lock(FMutex);
    FOutput.clear();
    FOutputPos = 0;
    FChanged.notify_all();
}

void ModemSim::Wake() {
    if (FWakeWrite >= 0) {
        char c = 1;
        [[maybe_unused]] ssize_t n = write(FWakeWrite, &c, 1);  // a full pipe already wakes
    }
}

SteadyClock::duration ModemSim::ByteTime() const {
    if (FOptions.baud <= 0) return SteadyClock::duration::zero();
    // Start bit, eight data bits, stop bit.
    return std::chrono::duration_cast<SteadyClock::duration>(std::chrono::nanoseconds(10'000'000'000LL / FOptions.baud));
}

void ModemSim::QueueFault(Fault fault) {
    std::lock_guard lock(FMutex);
    FFaults.push_back(fault);
}

void ModemSim::Send(std::string bytes) {
    Enqueue(std::move(bytes), SteadyClock::now());
    Wake();
}

void ModemSim::SendMultipart(std::string_view data, size_t partSize) {
    std::string all;
    for (const std::string& frame : MultipartFrames(data, partSize)) all += frame;
    Send(std::move(all));
}

void ModemSim::Enqueue(std::string bytes, SteadyClock::time_point notBefore) {
    if (bytes.empty()) return;
    std::lock_guard lock(FMutex);
    FOutput.push_back({std::move(bytes), notBefore});
}

std::vector<LoggedCommand> ModemSim::Log() const {
    std::lock_guard lock(FMutex);
    return FLog;
}

void ModemSim::ClearLog() {
    std::lock_guard lock(FMutex);
    FLog.clear();
}

bool ModemSim::WaitForCommands(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, timeout, [&] { return FLog.size() >= count; });
}

bool ModemSim::WaitIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, timeout, [&] { return FOutput.empty(); });
}

bool ModemSim::WaitForHangups(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, timeout, [&] { return FHangups >= count; });
}

void ModemSim::WithModel(const std::function<void(ModemModel&)>& f) {
    std::lock_guard lock(FMutex);
    f(FModel);
}

LinkMode ModemSim::Mode() const {
    std::lock_guard lock(FMutex);
    return FModel.Mode();
}

int ModemSim::Channel() const {
    std::lock_guard lock(FMutex);
    return FModel.Channel();
}

void ModemSim::SetLevel(int channel, int dBm) {
    std::lock_guard lock(FMutex);
    FModel.SetLevel(channel, dBm);
}

void ModemSim::SetCommandObserver(std::function<void(const LoggedCommand&)> observer) {
    std::lock_guard lock(FMutex);
    FObserver = std::move(observer);
}

void ModemSim::Run() {
    bool writeBlocked = false;
    for (;;) {
        SteadyClock::time_point due = SteadyClock::time_point::max();
        bool dataMode = false;
        {
            std::lock_guard lock(FMutex);
            if (FStop) return;
            dataMode = FModel.Mode() != LinkMode::Command;
            if (!FOutput.empty() && !FHungUp) {
                due = FOutput.front().notBefore;
                if (FPaced) due = std::max(due, FTxFree) + ByteTime();
            }
        }
        auto now = SteadyClock::now();

        if (due <= now && !writeBlocked) {
            std::lock_guard lock(FMutex);
            Output& out = FOutput.front();
            size_t want = FPaced ? 1 : out.bytes.size() - FOutputPos;
            ssize_t n = write(FFd, out.bytes.data() + FOutputPos, want);
            if (n > 0) {
                FOutputPos += static_cast<size_t>(n);
                if (FPaced) FTxFree = due;
                if (FOutputPos == out.bytes.size()) {
                    FOutput.pop_front();
                    FOutputPos = 0;
                    FChanged.notify_all();
                }
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                writeBlocked = true;  // the client is not reading: wait until it drains
            } else if (n < 0 && errno != EINTR) {
                FOutput.clear();  // the line is gone (hang-up is noticed below)
                FOutputPos = 0;
                FChanged.notify_all();
            }
        }

        if (FHungUp) {
            // A hung-up terminal reports POLLHUP at once, forever: look at the line only now and
            // then, and sleep on the wake pipe in between.
            pollfd wake{FWakeFd, POLLIN, 0};
            poll(&wake, 1, static_cast<int>(kHangupPoll.count()));
            char buf[64];
            while (read(FWakeFd, buf, sizeof buf) > 0) {
            }
            pollfd line{FFd, POLLIN, 0};
            if (poll(&line, 1, 0) == 1 && (line.revents & POLLHUP)) continue;
            FHungUp = false;  // a client has opened the line
            FLastModemLines = -1;
            continue;
        }

        auto wait = due == SteadyClock::time_point::max() ? std::chrono::milliseconds(60000)
                                                         : due - SteadyClock::now();
        if (dataMode && !FIsPty) wait = std::min<SteadyClock::duration>(wait, kLinePoll);
        pollfd fds[2] = {{FWakeFd, POLLIN, 0},
                         {FFd, static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0)), 0}};
        timespec timeout = Timeout(writeBlocked ? std::chrono::seconds(60) : wait);
        int r = ppoll(fds, 2, &timeout, nullptr);
        if (r < 0) {
            // Only EINTR is expected; anything else must not spin the thread.
            if (errno != EINTR) std::this_thread::sleep_for(kHangupPoll);
            continue;
        }
        if (fds[0].revents & POLLIN) {
            char buf[64];
            while (read(FWakeFd, buf, sizeof buf) > 0) {
            }
        }
        if (fds[1].revents & POLLOUT) writeBlocked = false;

        bool hangup = (fds[1].revents & (POLLHUP | POLLERR)) != 0;
        if (fds[1].revents & POLLIN) {
            char buf[512];
            for (;;) {
                ssize_t n = read(FFd, buf, sizeof buf);
                if (n > 0) {
                    OnBytes(buf, static_cast<size_t>(n), SteadyClock::now());
                    continue;
                }
                if (n == 0 || errno == EIO) hangup = true;
                break;  // EAGAIN: drained
            }
        }
        if (hangup) {
            writeBlocked = false;
            OnHangup();
            continue;
        }

        // A real port: the workbench lowers DTR (our DSR) when it leaves a data mode or closes.
        if (dataMode && !FIsPty) {
            int lines = 0;
            if (ioctl(FFd, TIOCMGET, &lines) == 0) {
                if (FLastModemLines >= 0 && (FLastModemLines & TIOCM_DSR) && !(lines & TIOCM_DSR)) {
                    std::lock_guard lock(FMutex);
                    FModel.SetMode(LinkMode::Command);
                }
                FLastModemLines = lines;
            }
        }
    }
}

void ModemSim::OnHangup() {
    FHungUp = true;
    FRx = RxState::Idle;
    FLine.clear();
    FSkipLf = false;
    {
        // The client closed its port: whatever was still to be sent would reach the next client as
        // stale input, and a closed port ends a data mode as it does on the workbench.
        std::lock_guard lock(FMutex);
        FOutput.clear();
        FOutputPos = 0;
        FModel.SetMode(LinkMode::Command);
        FChanged.notify_all();
    }
    if (FIsPty) {
        // Bytes already written but never read wait in the slave's input queue; only the slave
        // side can flush them.
        int slave = open(FPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave >= 0) {
            tcflush(slave, TCIFLUSH);
            close(slave);
        }
    }
    std::lock_guard lock(FMutex);
    ++FHangups;
    FChanged.notify_all();
}

void ModemSim::OnBytes(const char* data, size_t n, SteadyClock::time_point now) {
    const auto byteTime = ByteTime();
    std::vector<LoggedCommand> notify;
    std::function<void(const LoggedCommand&)> observer;
    std::string echo;
    SteadyClock::time_point echoFrom{};
    {
        std::lock_guard lock(FMutex);
        size_t logBefore = FLog.size();
        for (size_t i = 0; i < n; ++i) {
            const char c = data[i];
            // Paced, each byte arrives one byte time after the previous one left the line.
            SteadyClock::time_point arrival = now;
            if (FPaced) {
                FRxFree = std::max(FRxFree, now) + byteTime;
                arrival = FRxFree;
            }
            if (FSkipLf) {
                FSkipLf = false;
                if (c == '\n') continue;
            }
            if (FModel.Mode() != LinkMode::Command) {
                // Data modes: the radio link is a loop-back here; everything comes back.
                if (echo.empty()) echoFrom = arrival;
                echo += c;
                continue;
            }
            if (c == '\r' && i + 1 < n && data[i + 1] == '\n' && FRx != RxState::Data) {
                // CR LF in hand: the command is complete once the LF has come off the line, so
                // the reply does not start while the LF is still arriving.
                ++i;
                if (FPaced) {
                    FRxFree += byteTime;
                    arrival = FRxFree;
                }
                OnByte('\n', arrival);
                continue;
            }
            OnByte(c, arrival);
        }
        if (!echo.empty()) FOutput.push_back({std::move(echo), echoFrom});
        if (FLog.size() > logBefore) {
            notify.assign(FLog.begin() + static_cast<std::ptrdiff_t>(logBefore), FLog.end());
            observer = FObserver;
            FChanged.notify_all();
        }
    }
    if (observer)
        for (const LoggedCommand& c : notify) observer(c);
}

void ModemSim::OnByte(char c, SteadyClock::time_point arrival) {
    const bool eol = c == '\r' || c == '\n';
    switch (FRx) {
    case RxState::Idle:
        if (c == '@') {
            FLine.assign(1, '@');  // not = "@": GCC 12 misreads that copy as overlapping (-Wrestrict)
            FRx = RxState::Code;
        }
        return;  // noise between commands is ignored
    case RxState::Code:
        if (eol) break;
        FLine += c;
        if (FLine.size() == 3)
            FRx = (FLine[1] == 'D' || FLine[1] == 'd') && (FLine[2] == 'T' || FLine[2] == 't') ? RxState::DataLength
                                                                                              : RxState::Argument;
        return;
    case RxState::DataLength:
        if (eol) break;
        FLine += c;
        if (FLine.size() == 5) {
            std::string digits = FLine.substr(3, 2);
            if (!std::isxdigit(static_cast<unsigned char>(digits[0])) ||
                !std::isxdigit(static_cast<unsigned char>(digits[1]))) {
                FRx = RxState::Argument;  // not a length: read to the line end, then refuse
            } else {
                FDataLeft = std::stoul(digits, nullptr, 16);
                FRx = FDataLeft > 0 ? RxState::Data : RxState::DataEnd;
            }
        }
        return;
    case RxState::Data:
        // Data is counted, not scanned: CR and LF inside it are data.
        FLine += c;
        if (--FDataLeft == 0) FRx = RxState::DataEnd;
        return;
    case RxState::DataEnd:
    case RxState::Argument:
        if (eol) break;
        if (FLine.size() < kMaxLine) FLine += c;
        FRx = RxState::Argument;
        return;
    }
    // End of line.
    FSkipLf = c == '\r';
    FRx = RxState::Idle;
    OnLine(arrival);
}

void ModemSim::OnLine(SteadyClock::time_point arrival) {
    std::string reply = FModel.Execute(FLine);
    auto notBefore = arrival + FOptions.latency;
    if (!FFaults.empty()) {
        Fault fault = FFaults.front();
        FFaults.pop_front();
        switch (fault.kind) {
        case Fault::Delay:
            notBefore += fault.delay;
            break;
        case Fault::Drop:
            reply.clear();
            break;
        case Fault::Garble: {
            // One byte of the frame body (between "*" and CR LF) hit by line noise.
            size_t bodyEnd = reply.size() >= 2 ? reply.size() - 2 : reply.size();
            if (bodyEnd > 1) {
                auto& rnd = FModel.Random();
                size_t pos = std::uniform_int_distribution<size_t>(1, bodyEnd - 1)(rnd);
                int mask = std::uniform_int_distribution<int>(1, 0x7F)(rnd);
                reply[pos] = static_cast<char>(reply[pos] ^ mask);
            }
            break;
        }
        case Fault::SForm:
            if (reply.size() >= 3) reply = reply.substr(0, 3) + "S\r\n";
            break;
        }
    }
    FLog.push_back({FLine, arrival, reply});
    if (!reply.empty()) FOutput.push_back({std::move(reply), notBefore});
    FLine.clear();
}

}  // namespace modemsim
