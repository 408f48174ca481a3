#pragma once
// A TCP listener on 127.0.0.1 with a free port, for tests of clients: it accepts one peer at a
// time and talks to it with plain blocking calls.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace nettest {

class Listener {
public:
    Listener() {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        ::listen(FListen, 4);
        socklen_t len = sizeof(a);
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
        FPort = ntohs(a.sin_port);
    }
    ~Listener() {
        ClosePeer();
        if (FListen >= 0) ::close(FListen);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int Port() const { return FPort; }
    std::string PortText() const { return std::to_string(FPort); }
    // Stops listening: a connect is refused from now on.
    void Stop() {
        ::close(FListen);
        FListen = -1;
    }
    // Takes the next connection made (a client's connect completes before this), waiting up to
    // ms for one.
    bool Accept(int ms = 10000) {
        ClosePeer();
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return false;
        FPeer = ::accept(FListen, nullptr, nullptr);
        return FPeer >= 0;
    }
    void Send(const std::vector<uint8_t>& bytes) { ::send(FPeer, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // What the client sent, waiting up to ms for the first byte and taking what follows at once;
    // empty when the client has closed or sent nothing.
    std::vector<uint8_t> Received(int ms = 2000) {
        std::vector<uint8_t> r;
        timeval tv{ms / 1000, (ms % 1000) * 1000};
        ::setsockopt(FPeer, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
        uint8_t buf[256];
        ssize_t n = ::recv(FPeer, buf, sizeof(buf), 0);
        while (n > 0) {
            r.insert(r.end(), buf, buf + n);
            n = ::recv(FPeer, buf, sizeof(buf), MSG_DONTWAIT);
        }
        return r;
    }
    void ClosePeer() {
        if (FPeer >= 0) ::close(FPeer);
        FPeer = -1;
    }

private:
    int FListen = -1;
    int FPeer = -1;
    int FPort = 0;
};

}  // namespace nettest
