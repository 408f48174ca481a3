// The port component against raw termios on the same pseudo-terminal, in alternating blocks:
// each round runs a block of transfers through a raw descriptor and a block through the
// component (opened for the block and closed after it, so that its event thread takes nothing
// meant for the raw side), and the order of the two changes every round, so both meet the same
// load. An echoing peer on the master side sends back every byte.
//
// Throughput moves 64 KiB out and back per transfer; a round trip is one message of 1 or 64
// bytes out and back. The component runs three ways: its synchronous Write/Read, smNone with
// OnRxChar reading on the event thread, and smThreadSync with the main thread running its loop
// (CheckSynchronize). The counters give, per transfer, the wall time of both sides, their ratio
// (raw time over port time: the port's share of raw throughput) or difference (what the port adds
// to a round trip), and process-wide CPU time and voluntary context switches (thread hand-overs)
// beside raw's. Run with --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "bench/PtyPeer.h"
#include "platform/rtl/Threads.h"
#include "serial/CPort.h"

namespace {

constexpr int kChunk = 64 * 1024;

enum class Mode { ReadWrite, None, ThreadSync };

// Process-wide wall time, CPU time and voluntary context switches, read together.
struct Usage {
    double wallUs = 0;
    double cpuUs = 0;
    double switches = 0;
    static Usage Now() {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        auto us = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); };
        double wall = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
        return {wall, us(u.ru_utime) + us(u.ru_stime), static_cast<double>(u.ru_nvcsw)};
    }
    Usage operator-(const Usage& o) const { return {wallUs - o.wallUs, cpuUs - o.cpuUs, switches - o.switches}; }
    Usage& operator+=(const Usage& o) {
        wallUs += o.wallUs;
        cpuUs += o.cpuUs;
        switches += o.switches;
        return *this;
    }
};

// Raw termios at its best: a round trip is a blocking write and blocking reads; a large transfer
// writes and reads as the (non-blocking) descriptor allows, in one loop, so neither direction
// waits for the other (a blocking write of 64 KiB would stall once the echo fills the input side).
void RawEcho(int fd, const char* out, char* in, size_t n) {
    if (n <= 64) {
        if (::write(fd, out, n) != static_cast<ssize_t>(n)) std::abort();
        for (size_t got = 0; got < n;) {
            ssize_t r = ::read(fd, in + got, n - got);
            if (r <= 0) std::abort();
            got += static_cast<size_t>(r);
        }
        return;
    }
    size_t sent = 0, got = 0;
    while (got < n) {
        pollfd p{fd, static_cast<short>(POLLIN | (sent < n ? POLLOUT : 0)), 0};
        if (::poll(&p, 1, -1) < 0) continue;
        if ((p.revents & POLLOUT) && sent < n) {
            ssize_t w = ::write(fd, out + sent, n - sent);
            if (w > 0) sent += static_cast<size_t>(w);
        }
        if (p.revents & POLLIN) {
            ssize_t r = ::read(fd, in + got, n - got);
            if (r > 0) got += static_cast<size_t>(r);
        }
    }
}

// The component set up as the workbench does, with buffers that hold a whole transfer.
class Component {
public:
    Component(const std::string& path, Mode mode) : FMode(mode), FPort(nullptr) {
        FPort.SetPort(String(path));
        FPort.SetBaudRate(br115200);
        FPort.Buffer()->SetInputSize(kChunk);
        FPort.Buffer()->SetOutputSize(kChunk);
        FPort.Timeouts()->SetReadTotalConstant(5000);
        FPort.Timeouts()->SetWriteTotalMultiplier(0);
        FPort.Timeouts()->SetWriteTotalConstant(5000);
        if (mode == Mode::ReadWrite) {
            FPort.SetEvents({});
        } else {
            FPort.SetEvents({evRxChar});
            FPort.SetSyncMethod(mode == Mode::None ? smNone : smThreadSync);
            FPort.OnRxChar = [this](TPersistent*, int count) { Receive(count); };
        }
        FPort.Open();
    }
    ~Component() { FPort.Close(); }

    void Echo(const char* out, char* in, int n) {
        FReceived = 0;
        FExpected = n;
        FIn = in;
        if (FPort.Write(out, n) != n) std::abort();
        switch (FMode) {
        case Mode::ReadWrite:
            for (int got = 0; got < n;) {
                int r = FPort.Read(in + got, n - got);
                if (r <= 0) std::abort();
                got += r;
            }
            return;
        case Mode::None: {
            std::unique_lock<std::mutex> lock(FMutex);
            FCv.wait(lock, [&] { return FReceived >= n; });
            return;
        }
        case Mode::ThreadSync:
            while (FReceived < n) CheckSynchronize(-1);
            return;
        }
    }

private:
    // Reads into the caller's buffer, as a handler that keeps what it reads does.
    void Receive(int count) {
        int at = FReceived;
        int got = FPort.Read(FIn + at, std::min(count, FExpected - at));
        if (got < 0) std::abort();
        bool all;
        {
            std::lock_guard<std::mutex> g(FMutex);
            FReceived = at + got;
            all = FReceived >= FExpected;
        }
        // The waiting thread is woken once, when the whole echo is in.
        if (all && FMode == Mode::None) FCv.notify_all();
    }

    Mode FMode;
    TComPort FPort;
    char* FIn = nullptr;
    std::mutex FMutex;
    std::condition_variable FCv;
    std::atomic<int> FReceived{0};
    int FExpected = 0;
};

void Run(benchmark::State& state, Mode mode, int size, int perBlock) {
    bench::PtyPeer peer(bench::PeerMode::Echo);
    std::vector<char> out(static_cast<size_t>(size)), in(static_cast<size_t>(size));
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>('a' + i % 26);
    // Opened before the component: its exclusive open keeps out later opens only.
    int fd = bench::OpenRawPty(peer.Slave());
    if (size > 64) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    Usage raw, port;
    bool rawFirst = true;
    auto rawBlock = [&] {
        Usage before = Usage::Now();
        for (int i = 0; i < perBlock; ++i) RawEcho(fd, out.data(), in.data(), out.size());
        raw += Usage::Now() - before;
    };
    auto portBlock = [&] {
        Component c(peer.Slave(), mode);
        Usage before = Usage::Now();
        for (int i = 0; i < perBlock; ++i) c.Echo(out.data(), in.data(), size);
        port += Usage::Now() - before;
    };
    for (auto _ : state) {
        if (rawFirst) rawBlock();
        portBlock();
        if (!rawFirst) rawBlock();
        rawFirst = !rawFirst;
        if (std::memcmp(in.data(), out.data(), out.size()) != 0) state.SkipWithError("echo differs");
    }
    ::close(fd);
    double n = static_cast<double>(state.iterations()) * perBlock;
    state.counters["raw_us"] = raw.wallUs / n;
    state.counters["port_us"] = port.wallUs / n;
    if (size > 64)
        state.counters["ratio"] = raw.wallUs / port.wallUs;
    else
        state.counters["added_us"] = (port.wallUs - raw.wallUs) / n;
    state.counters["raw_cpu_us"] = raw.cpuUs / n;
    state.counters["port_cpu_us"] = port.cpuUs / n;
    state.counters["raw_switches"] = raw.switches / n;
    state.counters["port_switches"] = port.switches / n;
}

void BM_Throughput(benchmark::State& s, Mode mode) { Run(s, mode, kChunk, 4); }
void BM_RoundTrip(benchmark::State& s, Mode mode) { Run(s, mode, static_cast<int>(s.range(0)), 100); }

}  // namespace

BENCHMARK_CAPTURE(BM_Throughput, ReadWrite, Mode::ReadWrite)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Throughput, None, Mode::None)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Throughput, ThreadSync, Mode::ThreadSync)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RoundTrip, ReadWrite, Mode::ReadWrite)->Arg(1)->Arg(64)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RoundTrip, None, Mode::None)->Arg(1)->Arg(64)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RoundTrip, ThreadSync, Mode::ThreadSync)->Arg(1)->Arg(64)->Iterations(40)->Unit(benchmark::kMillisecond);
