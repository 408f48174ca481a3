#pragma once
// One clock for the whole process. Everything that reads time (GetTickCount, Now, Sleep, timed
// waits, timers) goes through it, so tests can install a ManualClock and move time by hand.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/rtl/Types.h"

namespace rtl {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds since an arbitrary origin.
    virtual uint64_t MonotonicMs() = 0;
    // The same time in microseconds, for waits that must not round to whole milliseconds; a
    // clock without the finer steps answers its milliseconds.
    virtual uint64_t MonotonicUs() { return MonotonicMs() * 1000; }
    // Wall time as days since 1899-12-30, local time.
    virtual TDateTime Now() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // Sleeps us microseconds; a clock without the finer steps sleeps whole milliseconds, rounded up.
    virtual void SleepUs(uint64_t us) { Sleep(static_cast<uint32_t>((us + 999) / 1000)); }
    // Waits on cv (lock held) until notified or until MonotonicMs() reaches deadlineMs.
    // Returns false once the deadline has passed. Spurious wake-ups are possible: callers loop.
    virtual bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                           uint64_t deadlineMs) = 0;
    virtual bool IsManual() const { return false; }
};

class SystemClock final : public Clock {
public:
    uint64_t MonotonicMs() override;
    uint64_t MonotonicUs() override;
    void SleepUs(uint64_t us) override;
    TDateTime Now() override;
    void Sleep(uint32_t ms) override;
    bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   uint64_t deadlineMs) override;
};

// Time moves only when Advance is called. Sleep advances the clock by the time slept (the
// sleeper is the only one who would have waited), so code that sleeps runs at once in tests.
// Timed waits poll in short real-time slices and see each Advance promptly.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint64_t startMs = 0, TDateTime startTime = 46000.0);
    uint64_t MonotonicMs() override;
    TDateTime Now() override;
    void Sleep(uint32_t ms) override;
    bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   uint64_t deadlineMs) override;
    bool IsManual() const override { return true; }

    void Advance(uint64_t ms);
    // Called after every Advance (from the advancing thread), e.g. to wake a message loop.
    int AddListener(std::function<void()> listener);
    void RemoveListener(int id);

private:
    std::mutex FMutex;
    uint64_t FNow;
    TDateTime FStartTime;
    uint64_t FStartMs;
    int FNextId = 1;
    std::vector<std::pair<int, std::function<void()>>> FListeners;
};

Clock& CurrentClock();
// Installs a clock for the process (nullptr restores the system clock). Not thread-safe against
// concurrent readers: tests install their clock before starting threads.
void SetClock(std::shared_ptr<Clock> clock);

// RAII helper for tests: installs a ManualClock and restores the system clock afterwards.
class ScopedManualClock {
public:
    explicit ScopedManualClock(uint64_t startMs = 0);
    ~ScopedManualClock();
    ManualClock& operator*() { return *FClock; }
    ManualClock* operator->() { return FClock.get(); }

private:
    std::shared_ptr<ManualClock> FClock;
};

uint64_t MonotonicMs();
// Deadline helper for waits given in milliseconds, INFINITE meaning none.
uint64_t DeadlineAfter(DWORD ms);
constexpr uint64_t NoDeadline = UINT64_MAX;

}  // namespace rtl

// 32-bit milliseconds since start-up; wraps at 2^32.
DWORD GetTickCount();
uint64_t GetTickCount64();
void Sleep(DWORD ms);
