#pragma once
// A bare terminal client for the tests: opens a tty with open() and cfmakeraw, as a terminal
// program would, and waits for replies with poll().
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace modemsim::test {

class LineClient {
public:
    explicit LineClient(const std::string& path) {
        FFd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (FFd < 0) throw std::runtime_error("cannot open " + path);
        termios t{};
        tcgetattr(FFd, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B19200);
        tcsetattr(FFd, TCSANOW, &t);
    }
    ~LineClient() { Close(); }
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;

    void Close() {
        if (FFd >= 0) close(FFd);
        FFd = -1;
    }

    void Write(const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(FFd, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error("write failed");
        }
    }

    // Reads until the text received so far ends with `end` (or `count` bytes came), or the
    // time-out passes; returns what came.
    std::string ReadUntil(const std::string& end, std::chrono::milliseconds timeout = kGenerous) {
        return Read([&](const std::string& got) { return got.size() >= end.size() && got.ends_with(end); }, timeout);
    }
    std::string ReadCount(size_t count, std::chrono::milliseconds timeout = kGenerous) {
        return Read([&](const std::string& got) { return got.size() >= count; }, timeout);
    }
    // A whole reply frame: up to and including its CR LF.
    std::string ReadFrame(std::chrono::milliseconds timeout = kGenerous) { return ReadUntil("\r\n", timeout); }
    // Whatever arrives within the given time (for "nothing comes" checks).
    std::string ReadFor(std::chrono::milliseconds time) {
        return Read([](const std::string&) { return false; }, time);
    }

    std::string Exchange(const std::string& command) {
        Write(command + "\r\n");
        return ReadFrame();
    }

    static constexpr std::chrono::milliseconds kGenerous{3000};

private:
    template <class Done>
    std::string Read(Done done, std::chrono::milliseconds timeout) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done(got)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{FFd, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
            char buf[256];
            ssize_t n = read(FFd, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }

    int FFd = -1;
};

}  // namespace modemsim::test
