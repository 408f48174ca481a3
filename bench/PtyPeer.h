#pragma once
// Pseudo-terminals for the serial benchmarks. The master side: a thread that feeds it without
// end (Source), drains it (Sink) or sends back every byte (Echo), until the peer is destroyed.
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace bench {

enum class PeerMode { Source, Sink, Echo };

class PtyPeer {
public:
    explicit PtyPeer(PeerMode mode) : FMode(mode) {
        FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (FMaster < 0 || grantpt(FMaster) != 0 || unlockpt(FMaster) != 0) std::abort();
        FSlave = ptsname(FMaster);
        FStopFd = eventfd(0, EFD_CLOEXEC);
        FThread = std::thread([this] { Run(); });
    }
    ~PtyPeer() {
        uint64_t one = 1;
        if (::write(FStopFd, &one, sizeof one) < 0) std::abort();
        FThread.join();
        ::close(FStopFd);
        ::close(FMaster);
    }
    const std::string& Slave() const { return FSlave; }

private:
    void Run() {
        std::vector<char> buf(16384, 'x');
        size_t pending = 0;  // echo: bytes read and not yet written back
        for (;;) {
            short ev = 0;
            if (FMode == PeerMode::Source || pending > 0) ev |= POLLOUT;
            if (FMode == PeerMode::Sink || (FMode == PeerMode::Echo && pending == 0)) ev |= POLLIN;
            pollfd fds[2] = {{FStopFd, POLLIN, 0}, {FMaster, ev, 0}};
            if (::poll(fds, 2, -1) < 0) continue;
            if (fds[0].revents) return;
            if (fds[1].revents & POLLIN) {
                ssize_t n = ::read(FMaster, buf.data(), buf.size());
                if (n > 0 && FMode == PeerMode::Echo) pending = static_cast<size_t>(n);
            }
            if (fds[1].revents & POLLOUT) {
                size_t count = FMode == PeerMode::Source ? buf.size() : pending;
                ssize_t n = ::write(FMaster, buf.data(), count);
                if (n > 0 && FMode == PeerMode::Echo) {
                    std::memmove(buf.data(), buf.data() + n, pending - static_cast<size_t>(n));
                    pending -= static_cast<size_t>(n);
                }
            }
        }
    }

    PeerMode FMode;
    int FMaster = -1;
    int FStopFd = -1;
    std::string FSlave;
    std::thread FThread;
};

// The slave side opened as plain termios code would: raw, blocking reads of at least one byte.
inline int OpenRawPty(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) std::abort();
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

}  // namespace bench
