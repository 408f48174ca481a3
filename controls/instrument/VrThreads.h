#pragma once
// TVrTimer: a timer component that fires OnTimer every Interval milliseconds, either from a
// system timer on a hidden window of its own (ttSystem) or from a worker thread that waits on an
// event with a time-out (ttThread) and delivers on the main thread (SyncEvent) or on itself.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "controls/instrument/VrClasses.h"
#include "platform/rtl/Threads.h"
#include "platform/win/Window.h"

enum TVrTimerType { ttThread, ttSystem };

class TVrTimer;

// The worker of a thread timer. It runs its periods on the process clock, each from the moment
// the timer was (re)started, so a slow delivery does not push the next period back.
class TVrTimerThread : public TThread {
public:
    // Created suspended unless Enabled.
    TVrTimerThread(TVrTimer* Timer, bool Enabled);
    // Ends and joins the worker, then closes its event.
    ~TVrTimerThread() override;

    // Restarts the period from now with this interval; the worker is paused (Suspend) meanwhile.
    void SetInterval(DWORD value);
    DWORD Interval() const;
    // Lets the worker go and end: terminated, released from its pause and from its wait.
    void Reset();
    // Wakes the worker from its wait, so it sees a pause or a new period at once.
    void Kick();

protected:
    void Execute() override;

private:
    TVrTimer* FOwner;
    HANDLE FEvent;
    mutable std::mutex FLock;  // guards the period
    DWORD FInterval = 1000;
    uint64_t FDue = 0;
    uint64_t FGeneration = 0;  // counts restarts: a period of an earlier start never delivers
};

class TVrTimer : public TVrComponent {
public:
    explicit TVrTimer(TComponent* AOwner);
    ~TVrTimer() override;
    const char* ClassName() const override { return "TVrTimer"; }
    void Loaded() override;

    bool Enabled() const { return FEnabled.load(); }
    void SetEnabled(bool value);
    DWORD Interval() const { return FInterval; }
    void SetInterval(DWORD value);
    bool SyncEvent() const { return FSyncEvent.load(); }
    void SetSyncEvent(bool value) { FSyncEvent.store(value); }
    TVrTimerType TimerType() const { return FTimerType; }
    void SetTimerType(TVrTimerType value);
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority value);

    // Assigning it starts nothing by itself: the next UpdateTimer does. With SyncEvent false it
    // runs on the worker thread, so assign it while that timer is stopped.
    TNotifyEvent OnTimer;

protected:
    friend class TVrTimerThread;
    // Fires OnTimer while enabled; an exception in the handler goes to the application's
    // exception handling on the main thread and the timer goes on.
    virtual void Timer();
    void UpdateTimer();
    void Deallocate();

    HWND WindowHandle() const { return FWindowHandle; }
    TVrTimerThread* TimerThread() const { return FTimerThread; }
    bool Allocated() const { return FAllocated; }

private:
    std::atomic<bool> FEnabled{true};
    DWORD FInterval = 1000;
    HWND FWindowHandle = nullptr;
    std::atomic<bool> FSyncEvent{true};
    TVrTimerType FTimerType = ttThread;
    TVrTimerThread* FTimerThread = nullptr;
    TThreadPriority FPriority = tpNormal;
    bool FAllocated = false;
};
