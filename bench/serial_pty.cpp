// Throughput and round-trip latency of the serial communications layer on a pseudo-terminal,
// side by side with plain read/write on the same kind of pseudo-terminal. A peer thread on the
// master side feeds, drains or echoes.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/PtyPeer.h"
#include "platform/win/Comm.h"

namespace {

using bench::PeerMode;
using bench::PtyPeer;

// A port opened and set up as the serial library does it.
struct LayerPort {
    HANDLE h;
    OVERLAPPED ov{};
    LayerPort(const std::string& path, COMMTIMEOUTS timeouts) {
        h = CreateFile(String(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                       nullptr);
        if (h == INVALID_HANDLE_VALUE) std::abort();
        SetupComm(h, 65536, 65536);
        DCB d{};
        GetCommState(h, &d);
        d.BaudRate = CBR_115200;
        SetCommState(h, &d);
        SetCommTimeouts(h, &timeouts);
        ov.hEvent = CreateEvent(nullptr, 1, 1, nullptr);
    }
    ~LayerPort() {
        CloseHandle(ov.hEvent);
        CloseHandle(h);
    }
    DWORD Read(void* buf, DWORD n) {
        DWORD done = 0;
        if (!ReadFile(h, buf, n, &done, &ov)) {
            ++pending;
            Wait(&done);
        }
        return done;
    }
    // As the serial library waits: on the record's event, then the result without waiting.
    void Wait(DWORD* done) {
        if (GetLastError() != ERROR_IO_PENDING) std::abort();
        if (WaitForSingleObject(ov.hEvent, INFINITE) != WAIT_OBJECT_0) std::abort();
        if (!GetOverlappedResult(h, &ov, done, 0)) std::abort();
    }
    int64_t pending = 0;
    DWORD Write(const void* buf, DWORD n) {
        DWORD done = 0;
        if (!WriteFile(h, buf, n, &done, &ov)) {
            ++pending;
            Wait(&done);
        }
        return done;
    }
};

constexpr size_t kChunk = 4096;

// Receive: the peer writes without pause, the port reads whatever has come (up to a chunk).
void BM_ReceivePlain(benchmark::State& state) {
    PtyPeer peer(PeerMode::Source);
    int fd = bench::OpenRawPty(peer.Slave());
    std::vector<char> buf(kChunk);
    int64_t bytes = 0;
    for (auto _ : state) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n <= 0) std::abort();
        bytes += n;
    }
    state.SetBytesProcessed(bytes);
    ::close(fd);
}

void BM_ReceiveLayer(benchmark::State& state) {
    PtyPeer peer(PeerMode::Source);
    // Return with what has arrived, waiting for the first byte: the read(2) contract.
    LayerPort port(peer.Slave(), {MAXDWORD, MAXDWORD, 10000, 0, 0});
    std::vector<char> buf(kChunk);
    int64_t bytes = 0;
    for (auto _ : state) bytes += port.Read(buf.data(), kChunk);
    state.SetBytesProcessed(bytes);
    state.counters["pending"] = static_cast<double>(port.pending) / static_cast<double>(state.iterations());
}

// Transmit: the port writes chunks, the peer drains them.
void BM_TransmitPlain(benchmark::State& state) {
    PtyPeer peer(PeerMode::Sink);
    int fd = bench::OpenRawPty(peer.Slave());
    std::vector<char> buf(kChunk, 'a');
    int64_t bytes = 0;
    for (auto _ : state) {
        ssize_t n = ::write(fd, buf.data(), buf.size());
        if (n <= 0) std::abort();
        bytes += n;
    }
    state.SetBytesProcessed(bytes);
    ::close(fd);
}

void BM_TransmitLayer(benchmark::State& state) {
    PtyPeer peer(PeerMode::Sink);
    LayerPort port(peer.Slave(), {MAXDWORD, 0, 0, 0, 0});
    std::vector<char> buf(kChunk, 'a');
    int64_t bytes = 0;
    for (auto _ : state) bytes += port.Write(buf.data(), kChunk);
    state.SetBytesProcessed(bytes);
    state.counters["pending"] = static_cast<double>(port.pending) / static_cast<double>(state.iterations());
}

// Round trip: a message of range(0) bytes goes out and comes back from the echoing peer.
void BM_RoundTripPlain(benchmark::State& state) {
    PtyPeer peer(PeerMode::Echo);
    int fd = bench::OpenRawPty(peer.Slave());
    size_t n = static_cast<size_t>(state.range(0));
    std::vector<char> out(n, 'm'), in(n);
    for (auto _ : state) {
        if (::write(fd, out.data(), n) != static_cast<ssize_t>(n)) std::abort();
        size_t got = 0;
        while (got < n) {
            ssize_t r = ::read(fd, in.data() + got, n - got);
            if (r <= 0) std::abort();
            got += static_cast<size_t>(r);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
    ::close(fd);
}

void BM_RoundTripLayer(benchmark::State& state) {
    PtyPeer peer(PeerMode::Echo);
    // Wait for the whole message, as a request/response exchange does.
    LayerPort port(peer.Slave(), {0, 0, 0, 0, 0});
    DWORD n = static_cast<DWORD>(state.range(0));
    std::vector<char> out(n, 'm'), in(n);
    for (auto _ : state) {
        if (port.Write(out.data(), n) != n) std::abort();
        if (port.Read(in.data(), n) != n) std::abort();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n);
}

BENCHMARK(BM_ReceivePlain)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ReceiveLayer)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_TransmitPlain)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_TransmitLayer)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RoundTripPlain)->Arg(1)->Arg(64)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RoundTripLayer)->Arg(1)->Arg(64)->UseRealTime()->MinTime(1.0);

}  // namespace
