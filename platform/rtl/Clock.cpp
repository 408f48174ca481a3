#include "platform/rtl/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace rtl {

namespace {
std::mutex gClockMutex;
std::shared_ptr<Clock> gClock = std::make_shared<SystemClock>();

// Unix epoch (1970-01-01) as a day number of the 1899-12-30 epoch.
constexpr double kUnixEpochDays = 25569.0;
}  // namespace

uint64_t SystemClock::MonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TDateTime SystemClock::Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    time_t secs = static_cast<time_t>(ms / 1000);
    struct tm local {};
    localtime_r(&secs, &local);
    double localSecs = static_cast<double>(secs) + static_cast<double>(local.tm_gmtoff);
    return kUnixEpochDays + (localSecs + static_cast<double>(ms % 1000) / 1000.0) / 86400.0;
}

void SystemClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint64_t SystemClock::MonotonicUs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::SleepUs(uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }

bool SystemClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                            uint64_t deadlineMs) {
    if (deadlineMs == NoDeadline) {
        cv.wait(lock);
        return true;
    }
    uint64_t now = MonotonicMs();
    if (now >= deadlineMs) return false;
    cv.wait_for(lock, std::chrono::milliseconds(deadlineMs - now));
    return MonotonicMs() < deadlineMs;
}

ManualClock::ManualClock(uint64_t startMs, TDateTime startTime)
    : FNow(startMs), FStartTime(startTime), FStartMs(startMs) {}

uint64_t ManualClock::MonotonicMs() {
    std::lock_guard<std::mutex> g(FMutex);
    return FNow;
}

TDateTime ManualClock::Now() {
    std::lock_guard<std::mutex> g(FMutex);
    return FStartTime + static_cast<double>(FNow - FStartMs) / 86400000.0;
}

void ManualClock::Sleep(uint32_t ms) { Advance(ms); }

bool ManualClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                            uint64_t deadlineMs) {
    if (deadlineMs != NoDeadline && MonotonicMs() >= deadlineMs) return false;
    cv.wait_for(lock, std::chrono::milliseconds(2));
    return deadlineMs == NoDeadline || MonotonicMs() < deadlineMs;
}

void ManualClock::Advance(uint64_t ms) {
    std::vector<std::function<void()>> listeners;
    {
        std::lock_guard<std::mutex> g(FMutex);
        FNow += ms;
        for (auto& l : FListeners) listeners.push_back(l.second);
    }
    for (auto& l : listeners) l();
}

int ManualClock::AddListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> g(FMutex);
    FListeners.emplace_back(FNextId, std::move(listener));
    return FNextId++;
}

void ManualClock::RemoveListener(int id) {
    std::lock_guard<std::mutex> g(FMutex);
    std::erase_if(FListeners, [id](auto& p) { return p.first == id; });
}

Clock& CurrentClock() {
    std::lock_guard<std::mutex> g(gClockMutex);
    return *gClock;
}

void SetClock(std::shared_ptr<Clock> clock) {
    // A clock that was current is never freed: a thread may have taken CurrentClock() just before
    // the switch and still be inside its WaitUntil. Clocks are small and set a few times a run.
    static auto* retired = new std::vector<std::shared_ptr<Clock>>;
    std::lock_guard<std::mutex> g(gClockMutex);
    retired->push_back(std::move(gClock));
    gClock = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

ScopedManualClock::ScopedManualClock(uint64_t startMs) : FClock(std::make_shared<ManualClock>(startMs)) {
    SetClock(FClock);
}

ScopedManualClock::~ScopedManualClock() { SetClock(nullptr); }

uint64_t MonotonicMs() { return CurrentClock().MonotonicMs(); }

uint64_t DeadlineAfter(DWORD ms) { return ms == INFINITE ? NoDeadline : MonotonicMs() + ms; }

}  // namespace rtl

DWORD GetTickCount() { return static_cast<DWORD>(rtl::MonotonicMs()); }
uint64_t GetTickCount64() { return rtl::MonotonicMs(); }
void Sleep(DWORD ms) { rtl::CurrentClock().Sleep(ms); }
