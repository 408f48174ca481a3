#include "controls/instrument/_MvFlash.h"

#include "platform/ui/Forms.h"

TTimerThread::TTimerThread(TMvFlash* Timer, bool Enabled) : TMvThread(true), tOwner(Timer) {
    if (Enabled) Start();
}

TTimerThread::~TTimerThread() {
    Terminate();
    Wake();
    TerminateAndWaitFor();
}

bool TTimerThread::StopTest() const {
    return Terminated() || Application->Terminated() || tOwner == nullptr;
}

void TTimerThread::Execute() {
    while (!StopTest()) {
        WaitWhileSuspended();
        if (StopTest()) break;
        // A timed wait on the run-time clock, not Sleep: on the manual clock Sleep would move
        // time forward by itself.
        bool fullTime = FWake.WaitFor(tInterval.load()) == wrTimeout;
        if (fullTime && !StopTest()) Synchronize([this] { tOwner->Timer(); });
    }
}

TMvFlash::TMvFlash(TComponent* AOwner) : TComponent(AOwner) {
    FTimerThread = std::make_unique<TTimerThread>(this, false);
}

TMvFlash::~TMvFlash() {
    // A tick already waiting for the main thread finds the timer disabled and does nothing.
    FEnabled = false;
    FOnTimer = nullptr;
    FTimerThread->Terminate();
    FTimerThread->Wake();
    // Joins the thread, serving its pending Synchronize on the way; a thread that never ran
    // just ends.
    FTimerThread.reset();
    Application->ProcessMessages();
}

void TMvFlash::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateThread();
}

void TMvFlash::SetThreadPriority(TThreadPriority value) {
    if (value == FThreadPriority) return;
    FThreadPriority = value;
    UpdateThread();
}

void TMvFlash::SetOnTimer(TNotifyEvent value) {
    bool wasAssigned = static_cast<bool>(FOnTimer);
    FOnTimer = std::move(value);
    if (wasAssigned != static_cast<bool>(FOnTimer)) UpdateThread();
}

void TMvFlash::UpdateThread() {
    if (!FTimerThread->Suspended()) FTimerThread->Suspend();
    FTimerThread->tInterval = FInterval;
    if (FInterval != 0 && FEnabled && FOnTimer) {
        FTimerThread->SetPriority(FThreadPriority);
        while (FTimerThread->Suspended()) FTimerThread->Resume();
    }
}

void TMvFlash::Timer() {
    if (FEnabled && !ComponentState().Contains(csDestroying) && FOnTimer) FOnTimer(this);
}
