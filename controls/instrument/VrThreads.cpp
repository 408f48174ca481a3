#include "controls/instrument/VrThreads.h"

#include <exception>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Handles.h"
#include "platform/ui/Forms.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

// TVrTimerThread ------------------------------------------------------------------------------

TVrTimerThread::TVrTimerThread(TVrTimer* Timer, bool Enabled)
    : TThread(true), FOwner(Timer), FEvent(CreateEvent(nullptr, 0, 0, nullptr)) {
    FDue = rtl::MonotonicMs() + FInterval;
    if (Enabled) Start();
}

TVrTimerThread::~TVrTimerThread() {
    // The worker waits on the event: it must be gone before the event is closed.
    Terminate();
    Kick();
    TerminateAndWaitFor();
    CloseHandle(FEvent);
}

void TVrTimerThread::SetInterval(DWORD value) {
    std::lock_guard<std::mutex> g(FLock);
    FInterval = value;
    FDue = rtl::MonotonicMs() + value;
    ++FGeneration;
}

DWORD TVrTimerThread::Interval() const {
    std::lock_guard<std::mutex> g(FLock);
    return FInterval;
}

void TVrTimerThread::Reset() {
    Terminate();
    Resume();
    Kick();
}

void TVrTimerThread::Kick() { SetEvent(FEvent); }

void TVrTimerThread::Execute() {
    auto event = rtl::LookupHandleAs<rtl::Waitable>(FEvent);
    if (!event) return;
    while (!Terminated()) {
        WaitWhileSuspended();
        if (Terminated()) break;
        uint64_t due, generation;
        DWORD interval;
        {
            std::lock_guard<std::mutex> g(FLock);
            due = FDue;
            generation = FGeneration;
            interval = FInterval;
        }
        // A signalled event (a new period, a pause, the end) only ends the wait.
        if (rtl::WaitForObjectsUntil({event}, false, interval == 0 ? rtl::NoDeadline : due) != WAIT_TIMEOUT) continue;
        if (Terminated()) break;
        {
            std::lock_guard<std::mutex> g(FLock);
            if (generation != FGeneration) continue;  // restarted while the period ran out
            // Periods missed meanwhile (a slow handler) collapse into this one; the phase stays.
            uint64_t now = rtl::MonotonicMs();
            while (FDue <= now) FDue += FInterval;
        }
        if (Application->Terminated()) continue;
        if (!FOwner->SyncEvent()) {
            FOwner->Timer();
            continue;
        }
        Synchronize([this, generation] {
            if (Terminated() || Application->Terminated()) return;
            {
                std::lock_guard<std::mutex> g(FLock);
                if (generation != FGeneration) return;
            }
            FOwner->Timer();
        });
    }
}

// TVrTimer ------------------------------------------------------------------------------------

TVrTimer::TVrTimer(TComponent* AOwner) : TVrComponent(AOwner) {}

TVrTimer::~TVrTimer() {
    SetEnabled(false);
    OnTimer = nullptr;
    Deallocate();
}

void TVrTimer::Loaded() {
    TVrComponent::Loaded();
    UpdateTimer();
}

void TVrTimer::SetEnabled(bool value) {
    if (FEnabled.load() == value) return;
    FEnabled.store(value);
    // Switching off leaves the timer running: Timer just stops firing.
    if (value) UpdateTimer();
}

void TVrTimer::SetInterval(DWORD value) {
    if (FInterval == value) return;
    FInterval = value;
    if (Enabled()) UpdateTimer();
}

void TVrTimer::SetTimerType(TVrTimerType value) {
    if (FTimerType == value) return;
    Deallocate();
    FTimerType = value;
    if (Enabled()) UpdateTimer();
}

void TVrTimer::SetPriority(TThreadPriority value) {
    if (FPriority == value) return;
    FPriority = value;
    if (FTimerType == ttThread && Enabled()) UpdateTimer();
}

void TVrTimer::Timer() {
    if (!Enabled() || !OnTimer) return;
    try {
        OnTimer(this);
    } catch (...) {
        if (IsMainThread()) {
            Application->HandleException(this);
            return;
        }
        // The worker's handler failed: the application hears of it on the main thread.
        std::exception_ptr error = std::current_exception();
        TThread::Synchronize(TThread::CurrentThread(), [this, error] {
            try {
                std::rethrow_exception(error);
            } catch (...) {
                Application->HandleException(this);
            }
        });
    }
}

void TVrTimer::UpdateTimer() {
    if (ComponentState().Contains(csDesigning)) return;
    if (!FAllocated) {
        if (FTimerType == ttSystem)
            FWindowHandle = AllocateHWnd([this](TMessage& m) {
                if (m.Msg == WM_TIMER) Timer();
            });
        else
            FTimerThread = new TVrTimerThread(this, false);
        FAllocated = true;
    }
    bool run = FInterval != 0 && Enabled() && OnTimer;
    if (FTimerType == ttSystem) {
        KillTimer(FWindowHandle, kTimerId);
        if (run && SetTimer(FWindowHandle, kTimerId, FInterval, nullptr) == 0)
            throw EOutOfResources(String("No timer resources left."));
        return;
    }
    if (!FTimerThread->Suspended()) FTimerThread->Suspend();
    FTimerThread->Kick();
    FTimerThread->SetInterval(FInterval);
    if (run) {
        FTimerThread->SetPriority(FPriority);
        FTimerThread->Resume();
    }
}

void TVrTimer::Deallocate() {
    if (!FAllocated) return;
    if (FTimerType == ttSystem) {
        KillTimer(FWindowHandle, kTimerId);
        DeallocateHWnd(FWindowHandle);
        FWindowHandle = nullptr;
    } else {
        FTimerThread->Reset();
        delete FTimerThread;
        FTimerThread = nullptr;
    }
    FAllocated = false;
}
