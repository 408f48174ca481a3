// A line at 921,600 bit/s: 10 MiB out and back through a pseudo-terminal whose far end echoes at
// the line's pace (10 bits a byte, in 1 ms steps, both directions, as a UART would), in a child
// process so that the CPU time read here is the near end's alone. Raw termios and the port
// component (smNone with OnRxChar reading on the event thread, as the workbench does, also with
// the workbench's full event set, and smThreadSync) each move the same checked byte stream; the counters give CPU time and voluntary
// context switches per MiB, and the bytes lost or out of order (none expected). The transfer
// takes as long as the line does: about two minutes per run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "bench/PtyPeer.h"
#include "platform/rtl/Threads.h"
#include "serial/CPort.h"

namespace {

constexpr int kBitsPerSecond = 921600;
constexpr size_t kTotal = 10u << 20;
constexpr size_t kWrite = 4096;
// Bytes sent and not yet back: bounds what the line holds, as a protocol's window would.
constexpr size_t kWindow = 32 * 1024;

// The byte at position i of the stream: a lost, doubled or moved piece shows as a mismatch.
uint8_t Pattern(size_t i) { return static_cast<uint8_t>((static_cast<uint32_t>(i) * 2654435761u) >> 24); }

// The far end, echoing at the line's pace in a child process.
class PacedEcho {
public:
    PacedEcho() {
        FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (FMaster < 0 || grantpt(FMaster) != 0 || unlockpt(FMaster) != 0) std::abort();
        FSlave = ptsname(FMaster);
        std::vector<char> buffer(kWindow * 2);  // made before the fork: the child allocates nothing
        FChild = fork();
        if (FChild < 0) std::abort();
        if (FChild == 0) Run(buffer);
    }
    ~PacedEcho() {
        kill(FChild, SIGKILL);
        waitpid(FChild, nullptr, 0);
        ::close(FMaster);
    }
    const std::string& Slave() const { return FSlave; }

private:
    [[noreturn]] void Run(std::vector<char>& buffer) {
        const double perMs = kBitsPerSecond / 10.0 / 1000.0;
        // A late step does not send a burst: the line never runs faster than its rate.
        const double cap = perMs * 4;
        double inCredit = 0, outCredit = 0;
        size_t held = 0;
        timespec next{};
        clock_gettime(CLOCK_MONOTONIC, &next);
        for (;;) {
            next.tv_nsec += 1000000;
            if (next.tv_nsec >= 1000000000) {
                next.tv_nsec -= 1000000000;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
            if (getppid() == 1) _exit(0);
            inCredit = std::min(inCredit + perMs, cap);
            outCredit = std::min(outCredit + perMs, cap);
            size_t want = std::min(static_cast<size_t>(inCredit), buffer.size() - held);
            if (want > 0) {
                ssize_t n = ::read(FMaster, buffer.data() + held, want);
                if (n > 0) {
                    held += static_cast<size_t>(n);
                    inCredit -= static_cast<double>(n);
                }
            }
            size_t give = std::min(static_cast<size_t>(outCredit), held);
            if (give > 0) {
                ssize_t n = ::write(FMaster, buffer.data(), give);
                if (n > 0) {
                    std::copy(buffer.begin() + n, buffer.begin() + static_cast<std::ptrdiff_t>(held), buffer.begin());
                    held -= static_cast<size_t>(n);
                    outCredit -= static_cast<double>(n);
                }
            }
        }
    }

    int FMaster = -1;
    std::string FSlave;
    pid_t FChild = -1;
};

// What came back, checked against what was sent.
struct Checker {
    size_t received = 0;
    size_t wrong = 0;
    void Take(const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            if (p[i] != Pattern(received + i)) ++wrong;
        received += n;
    }
};

struct Usage {
    double cpuMs, switches, wallS;
    static Usage Now() {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        return {ms(u.ru_utime) + ms(u.ru_stime), static_cast<double>(u.ru_nvcsw), wall};
    }
};

void Report(benchmark::State& state, const Usage& before, const Checker& check) {
    Usage after = Usage::Now();
    double mib = static_cast<double>(kTotal) / (1 << 20);
    state.counters["cpu_ms_per_MiB"] = (after.cpuMs - before.cpuMs) / mib;
    state.counters["switches_per_MiB"] = (after.switches - before.switches) / mib;
    state.counters["KiB_per_s"] = static_cast<double>(kTotal) / 1024 / (after.wallS - before.wallS);
    // Bytes missing at the end, or in the wrong place.
    state.counters["lost_or_moved"] = static_cast<double>(kTotal - std::min(kTotal, check.received) + check.wrong);
    if (check.received != kTotal || check.wrong != 0) state.SkipWithError("the echo lost or moved bytes");
}

std::vector<uint8_t> Stream() {
    std::vector<uint8_t> out(kTotal);
    for (size_t i = 0; i < kTotal; ++i) out[i] = Pattern(i);
    return out;
}

void BM_LineRaw(benchmark::State& state) {
    std::vector<uint8_t> out = Stream();
    for (auto _ : state) {
        PacedEcho peer;
        int fd = bench::OpenRawPty(peer.Slave());
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        Checker check;
        std::vector<uint8_t> in(kWrite * 4);
        Usage before = Usage::Now();
        size_t sent = 0;
        while (check.received < kTotal) {
            bool room = sent < kTotal && sent - check.received < kWindow;
            pollfd p{fd, static_cast<short>(POLLIN | (room ? POLLOUT : 0)), 0};
            if (::poll(&p, 1, 10000) <= 0) break;  // the far end stopped: counted as lost
            if ((p.revents & POLLOUT) && room) {
                size_t n = std::min({kWrite, kTotal - sent, kWindow - (sent - check.received)});
                ssize_t w = ::write(fd, out.data() + sent, n);
                if (w > 0) sent += static_cast<size_t>(w);
            }
            if (p.revents & POLLIN) {
                ssize_t r = ::read(fd, in.data(), in.size());
                if (r > 0) check.Take(in.data(), static_cast<size_t>(r));
            }
        }
        Report(state, before, check);
        ::close(fd);
    }
}

void RunComponent(benchmark::State& state, TSyncMethod method, TComEvents events) {
    std::vector<uint8_t> out = Stream();
    for (auto _ : state) {
        PacedEcho peer;
        TComPort port(nullptr);
        port.SetPort(String(peer.Slave()));
        port.SetBaudRate(brCustom);
        port.SetCustomBaudRate(kBitsPerSecond);
        port.SetEvents(events);
        port.SetSyncMethod(method);
        port.Buffer()->SetInputSize(64 * 1024);
        port.Buffer()->SetOutputSize(64 * 1024);
        port.Timeouts()->SetReadTotalConstant(3000);
        port.Timeouts()->SetWriteTotalMultiplier(0);
        port.Timeouts()->SetWriteTotalConstant(10000);
        Checker check;
        std::mutex mutex;
        std::condition_variable cv;
        std::atomic<size_t> received{0};
        // What the writing thread waits for: it is woken when that much is back, not per batch.
        std::atomic<size_t> awaited{0};
        std::vector<uint8_t> in(64 * 1024);
        port.OnRxChar = [&](TPersistent*, int count) {
            while (count > 0) {
                int n = port.Read(in.data(), std::min(count, static_cast<int>(in.size())));
                if (n <= 0) break;
                check.Take(in.data(), static_cast<size_t>(n));
                count -= n;
            }
            bool wake;
            {
                std::lock_guard<std::mutex> g(mutex);
                received = check.received;
                wake = check.received >= awaited.load();
            }
            if (wake) cv.notify_all();
        };
        port.Open();
        Usage before = Usage::Now();
        // Waits until the window has room (or everything is back), as long as bytes keep coming.
        auto waitFor = [&](size_t target) {
            {
                std::lock_guard<std::mutex> g(mutex);
                awaited = target;
            }
            while (received.load() < target) {
                if (method == smThreadSync) {
                    if (!CheckSynchronize(10000)) return false;
                } else {
                    std::unique_lock<std::mutex> lock(mutex);
                    if (!cv.wait_for(lock, std::chrono::seconds(10), [&] { return received.load() >= target; }))
                        return false;
                }
            }
            return true;
        };
        bool flowing = true;
        for (size_t sent = 0; sent < kTotal && flowing;) {
            size_t n = std::min(kWrite, kTotal - sent);
            flowing = waitFor(sent + n > kWindow ? sent + n - kWindow : 0);
            if (port.Write(out.data() + sent, static_cast<int>(n)) != static_cast<int>(n)) break;
            sent += n;
        }
        if (flowing) waitFor(kTotal);
        Report(state, before, check);
        port.Close();
    }
}

void BM_LineNone(benchmark::State& state) { RunComponent(state, smNone, {evRxChar, evError}); }
void BM_LineThreadSync(benchmark::State& state) { RunComponent(state, smThreadSync, {evRxChar, evError}); }
// With the workbench's events: the transmit-empty event has the port watch each write leave.
void BM_LineNoneWorkbenchEvents(benchmark::State& state) {
    RunComponent(state, smNone, {evRxChar, evTxEmpty, evCTS, evDSR, evError});
}

}  // namespace

BENCHMARK(BM_LineRaw)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LineNone)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LineThreadSync)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LineNoneWorkbenchEvents)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
