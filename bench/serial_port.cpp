// The port component against raw termios on the same kind of pseudo-terminal, side by side: an
// echoing peer on the master side sends back every byte. Throughput moves 4 KiB chunks out and
// back; a round trip is one short message out and back. The component runs three ways: its
// synchronous Write/Read, smNone with OnRxChar on the event thread, and smThreadSync with the main
// thread running its loop (CheckSynchronize).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/PtyPeer.h"
#include "platform/rtl/Threads.h"
#include "serial/CPort.h"

namespace {

constexpr int kChunk = 4096;
constexpr int kMessage = 16;

void RawEcho(int fd, const char* out, char* in, size_t n) {
    for (size_t sent = 0; sent < n;) {
        ssize_t w = ::write(fd, out + sent, n - sent);
        if (w <= 0) std::abort();
        sent += static_cast<size_t>(w);
    }
    for (size_t got = 0; got < n;) {
        ssize_t r = ::read(fd, in + got, n - got);
        if (r <= 0) std::abort();
        got += static_cast<size_t>(r);
    }
}

enum class Mode { Raw, ReadWrite, None, ThreadSync };

// The component set up as the workbench does, with generous buffers for the chunks.
class Component {
public:
    Component(const std::string& path, Mode mode) : FMode(mode), FPort(nullptr) {
        FPort.SetPort(String(path));
        FPort.SetBaudRate(br115200);
        FPort.Buffer()->SetInputSize(65536);
        FPort.Buffer()->SetOutputSize(65536);
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
        case Mode::Raw: break;
        }
    }

private:
    void Receive(int count) {
        int got = FPort.Read(FIn, std::min<int>(count, static_cast<int>(sizeof FIn)));
        std::lock_guard<std::mutex> g(FMutex);
        FReceived += got;
        // The waiting thread is woken once, when the whole echo is in.
        if (FReceived >= FExpected) FCv.notify_all();
    }

    Mode FMode;
    TComPort FPort;
    char FIn[65536];
    std::mutex FMutex;
    std::condition_variable FCv;
    std::atomic<int> FReceived{0};
    std::atomic<int> FExpected{0};
};

// Process-wide CPU time and voluntary context switches (thread hand-overs): on a loaded machine
// they show where the time goes better than the wall clock does.
struct Usage {
    double cpuUs;
    double switches;
    static Usage Now() {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        auto us = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); };
        return {us(u.ru_utime) + us(u.ru_stime), static_cast<double>(u.ru_nvcsw)};
    }
};

void Run(benchmark::State& state, Mode mode, int size);

void RunMeasured(benchmark::State& state, Mode mode, int size) {
    Usage before = Usage::Now();
    Run(state, mode, size);
    Usage after = Usage::Now();
    double n = static_cast<double>(state.iterations());
    state.counters["cpu_us"] = (after.cpuUs - before.cpuUs) / n;
    state.counters["switches"] = (after.switches - before.switches) / n;
}

void Run(benchmark::State& state, Mode mode, int size) {
    bench::PtyPeer peer(bench::PeerMode::Echo);
    std::vector<char> out(static_cast<size_t>(size), 'm'), in(static_cast<size_t>(size));
    int64_t bytes = 0;
    if (mode == Mode::Raw) {
        int fd = bench::OpenRawPty(peer.Slave());
        for (auto _ : state) {
            RawEcho(fd, out.data(), in.data(), out.size());
            bytes += size;
        }
        ::close(fd);
    } else {
        Component port(peer.Slave(), mode);
        for (auto _ : state) {
            port.Echo(out.data(), in.data(), size);
            bytes += size;
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_ThroughputRaw(benchmark::State& s) { RunMeasured(s, Mode::Raw, kChunk); }
void BM_ThroughputReadWrite(benchmark::State& s) { RunMeasured(s, Mode::ReadWrite, kChunk); }
void BM_ThroughputNone(benchmark::State& s) { RunMeasured(s, Mode::None, kChunk); }
void BM_ThroughputThreadSync(benchmark::State& s) { RunMeasured(s, Mode::ThreadSync, kChunk); }
void BM_RoundTripRaw(benchmark::State& s) { RunMeasured(s, Mode::Raw, kMessage); }
void BM_RoundTripReadWrite(benchmark::State& s) { RunMeasured(s, Mode::ReadWrite, kMessage); }
void BM_RoundTripNone(benchmark::State& s) { RunMeasured(s, Mode::None, kMessage); }
void BM_RoundTripThreadSync(benchmark::State& s) { RunMeasured(s, Mode::ThreadSync, kMessage); }

}  // namespace

BENCHMARK(BM_ThroughputRaw)->UseRealTime();
BENCHMARK(BM_ThroughputReadWrite)->UseRealTime();
BENCHMARK(BM_ThroughputNone)->UseRealTime();
BENCHMARK(BM_ThroughputThreadSync)->UseRealTime();
BENCHMARK(BM_RoundTripRaw)->UseRealTime();
BENCHMARK(BM_RoundTripReadWrite)->UseRealTime();
BENCHMARK(BM_RoundTripNone)->UseRealTime();
BENCHMARK(BM_RoundTripThreadSync)->UseRealTime();
