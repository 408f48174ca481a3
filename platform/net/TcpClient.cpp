#include "platform/net/TcpClient.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

TTcpClient::TTcpClient(TComponent* AOwner) : TComponent(AOwner) {}

TTcpClient::~TTcpClient() {
    // No events while the component goes: only the socket is closed.
    OnDisconnect = nullptr;
    CloseSocket();
}

void TTcpClient::SetActive(bool value) {
    if (value)
        Connect();
    else
        Disconnect();
}

void TTcpClient::Fail(const char* call, int error) {
    if (OnError) OnError(this, error);
    const std::string why = error < 0 ? gai_strerror(error) : std::strerror(error);
    throw ESocketError(String(std::string("Socket error ") + std::to_string(error) + " in " + call + ": " + why));
}

bool TTcpClient::Connect() {
    if (Connected()) return true;
    FActive = true;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int resolved = getaddrinfo(FRemoteHost.c_str(), FRemotePort.c_str(), &hints, &found);
    if (resolved != 0) {
        FActive = false;
        // A system error of the resolver carries its errno; its own failures their EAI code.
        Fail("getaddrinfo", resolved == EAI_SYSTEM ? errno : resolved);
    }
    int error = 0;
    for (addrinfo* a = found; a && FSocket < 0; a = a->ai_next) {
        int s = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (s < 0) {
            error = errno;
            continue;
        }
        int r;
        do r = ::connect(s, a->ai_addr, a->ai_addrlen);
        while (r < 0 && errno == EINTR);
        if (r == 0) {
            FSocket = s;
        } else {
            error = errno;
            ::close(s);
        }
    }
    freeaddrinfo(found);
    if (FSocket < 0) {
        FActive = false;
        Fail("connect", error ? error : ECONNREFUSED);
    }
    if (OnConnect) OnConnect(this);
    return Connected();
}

void TTcpClient::CloseSocket() {
    if (FSocket >= 0) ::close(FSocket);
    FSocket = -1;
    FActive = false;
}

void TTcpClient::Disconnect() {
    const bool was = Connected();
    CloseSocket();
    if (was && OnDisconnect) OnDisconnect(this);
}

int TTcpClient::SendBuf(const void* buf, int len) {
    if (!Connected()) Fail("send", ENOTCONN);
    const auto* p = static_cast<const char*>(buf);
    int sent = 0;
    while (sent < len) {
        ssize_t n = ::send(FSocket, p + sent, static_cast<size_t>(len - sent), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("send", errno);
        }
        sent += static_cast<int>(n);
    }
    return sent;
}

int TTcpClient::ReceiveBuf(void* buf, int len) {
    if (!Connected()) Fail("recv", ENOTCONN);
    ssize_t n;
    do n = ::recv(FSocket, buf, static_cast<size_t>(len), 0);
    while (n < 0 && errno == EINTR);
    if (n < 0) Fail("recv", errno);
    if (n == 0) {
        // The peer has closed its side.
        Disconnect();
        return 0;
    }
    int count = static_cast<int>(n);
    if (OnReceive) OnReceive(this, static_cast<char*>(buf), count);
    return static_cast<int>(n);
}

bool TTcpClient::WaitForData(int ms) {
    if (!Connected()) return false;
    // Real time, whatever clock the program's timers run on: the peer is outside the program.
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - clock::now()).count();
        pollfd p{FSocket, POLLIN, 0};
        int r = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (r > 0) return true;
        // poll's own clock may end a little early: the wait is over only when the time is.
        if (r == 0 && clock::now() >= end) return false;
        if (r == 0) continue;
        if (errno != EINTR) Fail("poll", errno);
    }
}
