#pragma once
// A thread-driven timer component: its tick thread waits the interval on the run-time clock and
// runs the component's Timer on the main thread, while the component is enabled and has a handler.
#include <cstdint>
#include <memory>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"

class TMvFlash;

class TMvThread : public TThread {
public:
    using TThread::TThread;
    using TThread::Terminated;
};

class TTimerThread : public TMvThread {
public:
    // Created suspended unless Enabled. Unlike a free-on-terminate thread, it is ended and joined
    // by its component, so no tick ever runs on a freed timer.
    TTimerThread(TMvFlash* Timer, bool Enabled);
    ~TTimerThread() override;

    TMvFlash* tOwner;
    std::atomic<uint32_t> tInterval{16};

    // Ends the wait of the loop at once (termination).
    void Wake() { FWake.SetEvent(); }

protected:
    void Execute() override;

private:
    bool StopTest() const;
    TEvent FWake{true, false};
};

class TMvFlash : public TComponent {
public:
    explicit TMvFlash(TComponent* AOwner);
    ~TMvFlash() override;
    const char* ClassName() const override { return "TMvFlash"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);
    uint32_t Interval() const { return FInterval; }
    TMvThread* TimerThread() const { return FTimerThread.get(); }

    // Runs OnTimer when enabled, not being destroyed and assigned; the tick thread calls it on the
    // main thread.
    virtual void Timer();

protected:
    void UpdateThread();

private:
    bool FEnabled = true;
    uint32_t FInterval = 16;
    TNotifyEvent FOnTimer;
    std::unique_ptr<TTimerThread> FTimerThread;
    TThreadPriority FThreadPriority = tpNormal;
};
