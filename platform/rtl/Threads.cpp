#include "platform/rtl/Threads.h"

#include <algorithm>
#include <deque>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"

namespace rtl {

// The waitable side of a thread: signalled once the thread has finished.
class ThreadObject final : public Waitable {
public:
    bool IsSignaledLocked() const override { return FFinished; }
    void MarkFinished() {
        {
            std::lock_guard<std::mutex> g(WaitMutex());
            FFinished = true;
        }
        NotifyWaiters();
    }

private:
    bool FFinished = false;
};

}  // namespace rtl

namespace {

std::atomic<DWORD> gNextThreadId{1};
std::atomic<DWORD> gMainThreadId{0};
thread_local DWORD tThreadId = 0;
thread_local TThread* tCurrentThread = nullptr;

DWORD AllocateThreadId() { return gNextThreadId.fetch_add(1); }

// One call handed to the main thread.
struct SyncRecord {
    TThread* thread = nullptr;
    std::function<void()> method;
    bool synchronous = false;
    uint64_t seq = 0;
    bool done = false;  // synchronous only, guarded by SyncState::mutex
    std::exception_ptr error;
};

struct SyncState {
    std::mutex mutex;
    std::condition_variable done;  // Synchronize callers wait here for their record
    std::deque<std::shared_ptr<SyncRecord>> queue;
    uint64_t nextSeq = 1;
    // Set whenever there is something for the main thread; CheckSynchronize and WaitFor on the
    // main thread wait on it together with other objects, so it is a waitable event.
    std::shared_ptr<rtl::Event> signal = std::make_shared<rtl::Event>(true, false);
    std::function<void()> wake;
    std::vector<std::pair<int, std::shared_ptr<std::function<bool()>>>> hooks;
    int nextHookId = 1;
    // Owners of the queued calls running now on the main thread (nested passes stack up); a
    // free-on-terminate thread waits until its own is done before it frees itself. Guarded by mutex.
    std::vector<TThread*> running;
};

SyncState& Sync() {
    static SyncState* state = new SyncState;  // outlives free-on-terminate threads still ending at exit
    return *state;
}

void SignalMainThread() {
    auto& s = Sync();
    s.signal->Set();
    std::function<void()> wake;
    {
        std::lock_guard<std::mutex> g(s.mutex);
        wake = s.wake;
    }
    if (wake) wake();
}

void Enqueue(std::shared_ptr<SyncRecord> record) {
    auto& s = Sync();
    {
        std::lock_guard<std::mutex> g(s.mutex);
        record->seq = s.nextSeq++;
        s.queue.push_back(std::move(record));
    }
    SignalMainThread();
}

bool HookRegistered(int id) {
    auto& s = Sync();
    std::lock_guard<std::mutex> g(s.mutex);
    for (auto& h : s.hooks)
        if (h.first == id) return true;
    return false;
}

// One pass of CheckSynchronize: the calls queued before the pass began, then the hooks.
bool RunPass() {
    auto& s = Sync();
    s.signal->Reset();  // anything queued from here on sets it again, so no wake-up is lost
    bool ran = false;
    uint64_t limit;
    {
        std::lock_guard<std::mutex> g(s.mutex);
        limit = s.nextSeq;  // calls made while this pass runs wait for the next one
    }
    for (;;) {
        std::shared_ptr<SyncRecord> r;
        {
            std::lock_guard<std::mutex> g(s.mutex);
            if (s.queue.empty() || s.queue.front()->seq >= limit) break;
            r = std::move(s.queue.front());
            s.queue.pop_front();
        }
        ran = true;
        if (r->synchronous) {
            try {
                r->method();
            } catch (...) {
                r->error = std::current_exception();  // raised again in the waiting thread
            }
            {
                std::lock_guard<std::mutex> g(s.mutex);
                r->done = true;
            }
            s.done.notify_all();
        } else {
            {
                std::lock_guard<std::mutex> g(s.mutex);
                s.running.push_back(r->thread);
            }
            struct Done {
                SyncState& s;
                ~Done() {
                    {
                        std::lock_guard<std::mutex> g(s.mutex);
                        s.running.pop_back();
                    }
                    s.done.notify_all();
                }
            } done{s};
            try {
                r->method();
            } catch (...) {
                bool more;
                {
                    std::lock_guard<std::mutex> g(s.mutex);
                    more = !s.queue.empty();
                }
                if (more) s.signal->Set();
                throw;
            }
        }
    }
    std::vector<std::pair<int, std::shared_ptr<std::function<bool()>>>> hooks;
    {
        std::lock_guard<std::mutex> g(s.mutex);
        hooks = s.hooks;
    }
    for (auto& h : hooks)
        if (HookRegistered(h.first) && (*h.second)()) ran = true;  // an earlier hook may remove a later one
    return ran;
}

// Drops the thread's pending queued calls and waits for one already running on the main thread,
// so a thread that frees itself never does so under its own call.
void DetachFromMainThread(TThread* thread) {
    TThread::RemoveQueuedEvents(thread);
    auto& s = Sync();
    std::unique_lock<std::mutex> lock(s.mutex);
    s.done.wait(lock, [&] { return std::find(s.running.begin(), s.running.end(), thread) == s.running.end(); });
}

}  // namespace

DWORD GetCurrentThreadId() {
    if (tThreadId == 0) tThreadId = AllocateThreadId();
    return tThreadId;
}

DWORD MainThreadID() {
    DWORD id = gMainThreadId.load();
    if (id != 0) return id;
    DWORD me = GetCurrentThreadId();
    return gMainThreadId.compare_exchange_strong(id, me) ? me : id;
}

void SetMainThread() { gMainThreadId = GetCurrentThreadId(); }

bool IsMainThread() { return GetCurrentThreadId() == MainThreadID(); }

namespace {
// The thread that loads the program is the main thread.
[[maybe_unused]] const bool gMainThreadSet = (SetMainThread(), true);
}  // namespace

bool CheckSynchronize(int timeoutMs) {
    if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread that is not the main thread");
    if (RunPass()) return true;
    if (timeoutMs == 0) return false;
    uint64_t deadline = timeoutMs < 0 ? rtl::NoDeadline : rtl::MonotonicMs() + static_cast<uint64_t>(timeoutMs);
    std::vector<std::shared_ptr<rtl::Waitable>> signal{Sync().signal};
    for (;;) {
        DWORD ms = INFINITE;
        if (deadline != rtl::NoDeadline) {
            uint64_t now = rtl::MonotonicMs();
            if (now >= deadline) return false;
            ms = static_cast<DWORD>(deadline - now);
        }
        if (rtl::WaitForObjects(signal, false, ms) != WAIT_OBJECT_0) return false;
        if (RunPass()) return true;  // a wake-up whose hook found nothing waits out the rest
    }
}

void SetWakeMainThread(std::function<void()> wake) {
    auto& s = Sync();
    std::lock_guard<std::mutex> g(s.mutex);
    s.wake = std::move(wake);
}

void WakeMainThreadNow() { SignalMainThread(); }

int AddSynchronizeHook(std::function<bool()> hook) {
    auto& s = Sync();
    std::lock_guard<std::mutex> g(s.mutex);
    int id = s.nextHookId++;
    s.hooks.emplace_back(id, std::make_shared<std::function<bool()>>(std::move(hook)));
    return id;
}

void RemoveSynchronizeHook(int id) {
    auto& s = Sync();
    std::lock_guard<std::mutex> g(s.mutex);
    std::erase_if(s.hooks, [id](auto& h) { return h.first == id; });
}

// ---------------------------------------------------------------------------------------------

TThread::TThread(bool CreateSuspended)
    : FThreadID(AllocateThreadId()), FFinishedSignal(std::make_shared<rtl::ThreadObject>()) {
    FHandle = rtl::RegisterHandle(FFinishedSignal);
}

TThread::~TThread() {
    if (GetCurrentThreadId() == FThreadID) {
        // Free-on-terminate: the thread deletes its own object and ends right after.
        if (FThread.joinable()) FThread.detach();
    } else {
        TerminateAndWaitFor();
        if (FThread.joinable()) FThread.join();
        else FFinishedSignal->MarkFinished();  // wakes anyone waiting on the handle of a thread that never ran
    }
    RemoveQueuedEvents(this);
    CloseHandle(FHandle);
}

void TThread::TerminateAndWaitFor() {
    if (GetCurrentThreadId() == FThreadID) return;
    {
        std::lock_guard<std::mutex> g(FMutex);
        if (!FStarted) return;
    }
    Terminate();
    for (;;) {
        try {
            WaitUntilFinished();
            return;
        } catch (...) {
            // A queued call run while waiting failed; this wait (often a destructor's) cannot
            // report it, and the thread still has to be waited for.
        }
    }
}

void TThread::Start() {
    std::lock_guard<std::mutex> g(FMutex);
    if (FFinished) throw EThread("Cannot call Start on a running or finished thread");
    if (!FStarted) {
        StartLocked();
        return;
    }
    if (!FSuspendRequested) throw EThread("Cannot call Start on a running or finished thread");
    FSuspendRequested = false;
    FResumed.notify_all();
}

void TThread::StartLocked() {
    try {
        FThread = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        throw EThread(String("Cannot create thread: ") + e.what());
    }
    FStarted = true;
}

void TThread::Resume() {
    std::lock_guard<std::mutex> g(FMutex);
    if (FFinished) return;
    if (!FStarted) {
        StartLocked();
        return;
    }
    FSuspendRequested = false;
    FResumed.notify_all();
}

void TThread::Suspend() {
    {
        std::lock_guard<std::mutex> g(FMutex);
        if (!FStarted || FFinished || FTerminated) return;
        FSuspendRequested = true;
    }
    if (GetCurrentThreadId() == FThreadID) WaitWhileSuspended();
}

bool TThread::Suspended() const {
    std::lock_guard<std::mutex> g(FMutex);
    if (FFinished) return false;
    return !FStarted || FSuspendRequested;
}

void TThread::Terminate() {
    {
        std::lock_guard<std::mutex> g(FMutex);
        FTerminated = true;
        FSuspendRequested = false;  // a terminated thread is ending, not paused
    }
    FResumed.notify_all();
}

void TThread::WaitWhileSuspended() {
    std::unique_lock<std::mutex> lock(FMutex);
    FResumed.wait(lock, [this] { return !FSuspendRequested || FTerminated; });
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FFatalException;
}

DWORD TThread::WaitFor() {
    if (GetCurrentThreadId() == FThreadID) throw EThread("Cannot call WaitFor on the thread itself");
    if (FreeOnTerminate()) throw EInvalidOperation("Cannot call WaitFor on a FreeOnTerminate thread");
    {
        std::lock_guard<std::mutex> g(FMutex);
        if (!FStarted) throw EThread("Cannot call WaitFor on a thread that was never started");
    }
    WaitUntilFinished();
    return static_cast<DWORD>(ReturnValue());
}

void TThread::WaitUntilFinished() {
    std::vector<std::shared_ptr<rtl::Waitable>> objects{FFinishedSignal};
    if (!IsMainThread()) {
        rtl::WaitForObjects(objects, false, INFINITE);
        return;
    }
    // The thread may need the main thread (Synchronize, OnTerminate) before it can finish.
    objects.push_back(Sync().signal);
    while (rtl::WaitForObjects(objects, false, INFINITE) != WAIT_OBJECT_0) CheckSynchronize(0);
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Run() {
    {
        std::lock_guard<std::mutex> g(FMutex);  // Start() has finished storing FThread
    }
    tThreadId = FThreadID;
    tCurrentThread = this;
    std::shared_ptr<rtl::ThreadObject> finished = FFinishedSignal;  // outlives a self-deleted object
    if (!Terminated()) {
        try {
            Execute();
        } catch (...) {
            std::lock_guard<std::mutex> g(FMutex);
            FFatalException = std::current_exception();
        }
    }
    FFinished = true;
    try {
        DoTerminate();
    } catch (...) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!FFatalException) FFatalException = std::current_exception();
    }
    // Read after OnTerminate, which may still ask for it.
    bool freeThread = FreeOnTerminate();
    tCurrentThread = nullptr;
    if (freeThread) {
        DetachFromMainThread(this);
        delete this;
    }
    finished->MarkFinished();
}

void TThread::Synchronize(TThread* thread, std::function<void()> method) {
    if (IsMainThread()) {
        method();
        return;
    }
    auto r = std::make_shared<SyncRecord>();
    r->thread = thread;
    r->method = std::move(method);
    r->synchronous = true;
    Enqueue(r);
    auto& s = Sync();
    std::exception_ptr error;
    {
        std::unique_lock<std::mutex> lock(s.mutex);
        s.done.wait(lock, [&] { return r->done; });
        // Taken out of the record, so the exception ends its life in this thread only.
        error = std::move(r->error);
    }
    if (error) std::rethrow_exception(error);
}

void TThread::Queue(TThread* thread, std::function<void()> method) {
    auto r = std::make_shared<SyncRecord>();
    r->thread = thread;
    r->method = std::move(method);
    Enqueue(std::move(r));
}

void TThread::RemoveQueuedEvents(TThread* thread) {
    std::vector<std::shared_ptr<SyncRecord>> dropped;  // their closures are destroyed outside the lock
    auto& s = Sync();
    std::lock_guard<std::mutex> g(s.mutex);
    for (auto it = s.queue.begin(); it != s.queue.end();) {
        if (!(*it)->synchronous && (*it)->thread == thread) {
            dropped.push_back(std::move(*it));
            it = s.queue.erase(it);
        } else {
            ++it;
        }
    }
}

TThread* TThread::CurrentThread() { return tCurrentThread; }
