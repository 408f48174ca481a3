#pragma once
// Threads of the run-time library: thread ids, the main (UI) thread, the queue of calls that
// other threads hand to the main thread (Synchronize, Queue), and TThread.
//
// The main thread is the thread that called SetMainThread(). The library calls it during static
// initialisation, so the thread that loads the program (the one that runs main()) is the main
// thread without anyone doing anything; if that has not happened yet, the first thread to call
// MainThreadID() or IsMainThread() becomes it.
//
// Work for the main thread is run by CheckSynchronize, which only the main thread may call. The
// UI event loop installs a wake callback (SetWakeMainThread) and calls CheckSynchronize when it is
// woken; code without an event loop (tests, tools) calls CheckSynchronize(timeout) itself.
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/rtl/Types.h"

// A small id per OS thread, stable for the thread's life and never reused: 1, 2, 3, ... in the
// order threads first ask. A TThread's id is fixed when the object is made (ThreadID()).
DWORD GetCurrentThreadId();

DWORD MainThreadID();
void SetMainThread();
bool IsMainThread();

// Runs the Synchronize and Queue calls waiting for the main thread (those present when the pass
// starts, in the order they were made), then every hook of AddSynchronizeHook. Main thread only
// (EThread otherwise). When nothing ran, waits up to timeoutMs for work or a wake-up and tries
// again; 0 just polls, a negative value waits without limit. The wait follows the rtl clock.
// Returns true if anything ran. An exception escaping a queued call or a hook leaves here, as from
// any handler; the calls not yet run stay queued for the next pass.
bool CheckSynchronize(int timeoutMs = 0);

// Called from any thread whenever work for the main thread has been queued (Synchronize, Queue,
// or a hook's owner calling WakeMainThreadNow()), so the UI event loop can wake up and call
// CheckSynchronize. Called without any lock of the library held; it must not block.
void SetWakeMainThread(std::function<void()> wake);
// Tells the main thread that a hook has work: wakes CheckSynchronize and TThread::WaitFor on the
// main thread and calls the wake callback.
void WakeMainThreadNow();

// Extra work CheckSynchronize performs on the main thread (the message layer uses it to deliver
// messages sent from other threads while the main thread waits). The hook returns true if it did
// something. Returns an id for RemoveSynchronizeHook.
int AddSynchronizeHook(std::function<bool()> hook);
void RemoveSynchronizeHook(int id);

// Kept for the components that set it; threads run at the system's normal priority.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

namespace rtl {
class ThreadObject;
}

// A thread whose body is Execute.
//
// Starting. C++ has no step after the most-derived constructor, so the thread cannot start by
// itself "as construction ends" (it would call Execute on a half-made object). TThread(false)
// therefore means: the most-derived class calls Start() as the last statement of its
// constructor. TThread(true) waits for Start() or Resume() from whoever made it. A thread terminated before it
// started skips Execute but still finishes (DoTerminate, FreeOnTerminate): to end a never-started
// free-on-terminate thread, Terminate() then Start().
//
// Suspending. A running thread cannot be stopped from outside on Linux. Suspend() from another
// thread only raises a flag; the thread pauses when its Execute reaches WaitWhileSuspended(), and
// Resume() or Terminate() lets it go on. A component that suspends its worker therefore gets the
// effect only if the worker's loop calls WaitWhileSuspended(). Suspend() from the thread itself
// pauses at once. Suspend and Resume do not count: one Resume undoes any number of Suspends.
//
// Ending. An exception escaping Execute is caught and kept (FatalException()) and the thread
// finishes normally. After Execute, DoTerminate runs OnTerminate on the main thread
// (Synchronize); then, with FreeOnTerminate, the object deletes itself (so it must have been
// made with new, and nobody else deletes it once it has started). Handle() is signalled when all
// of that is done.
//
// Destruction. The destructor terminates the thread and waits for it (running Synchronize calls
// meanwhile when on the main thread). It runs after the derived class's destructor, so a derived
// class whose Execute uses its own members, or that overrides DoTerminate, calls
// TerminateAndWaitFor() in its own destructor.
class TThread {
public:
    explicit TThread(bool CreateSuspended);
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a never-started thread, or resumes a suspended one. EThread for a thread that runs
    // and is not suspended, or that has finished.
    void Start();
    // Start() for a never-started thread; clears a Suspend(); nothing for a running or finished one.
    void Resume();
    void Suspend();

    void Terminate();
    bool Terminated() const { return FTerminated.load(); }

    // Waits until the thread has finished (Handle() signalled) and answers ReturnValue(). On the
    // main thread it keeps running CheckSynchronize while waiting, so a worker's Synchronize (and
    // OnTerminate) never deadlocks a main thread that waits for it. EThread when called on the
    // thread itself or on a thread that never started; EInvalidOperation with FreeOnTerminate
    // (the object may be gone by the time the wait ends).
    DWORD WaitFor();

    bool Finished() const { return FFinished.load(); }
    // True before the thread has started and while a Suspend() is in force.
    bool Suspended() const;

    bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }
    TThreadPriority Priority() const { return FPriority.load(); }
    void SetPriority(TThreadPriority value) { FPriority = value; }
    void SetPriority(int value) { FPriority = static_cast<TThreadPriority>(value); }
    int ReturnValue() const { return FReturnValue.load(); }
    void SetReturnValue(int value) { FReturnValue = value; }
    DWORD ThreadID() const { return FThreadID; }
    // Waitable with WaitForSingleObject/WaitForMultipleObjects; signalled once the thread has
    // finished. Closed by the destructor.
    HANDLE Handle() const { return FHandle; }
    // The exception that escaped Execute (or OnTerminate), if any.
    std::exception_ptr FatalException() const;

    // Run on the main thread (through Synchronize) after Execute returns.
    std::function<void(TThread*)> OnTerminate;

    // Runs method on the main thread and waits for it; an exception it throws is raised again in
    // the calling thread. On the main thread it runs method directly.
    void Synchronize(std::function<void()> method) { Synchronize(this, std::move(method)); }
    static void Synchronize(TThread* thread, std::function<void()> method);
    // Runs method on the main thread later and does not wait; on the main thread too, where it
    // runs at the next CheckSynchronize (the original platform ran it at once there).
    void Queue(std::function<void()> method) { Queue(this, std::move(method)); }
    static void Queue(TThread* thread, std::function<void()> method);
    // Drops the Queue calls made for thread (nullptr: those made without a thread) that have not
    // run yet. Synchronize calls are kept: their callers wait for them. The destructor calls it.
    static void RemoveQueuedEvents(TThread* thread);

    // The TThread whose Execute runs on the calling thread, or nullptr.
    static TThread* CurrentThread();

protected:
    virtual void Execute() = 0;
    // Runs OnTerminate through Synchronize when it is assigned.
    virtual void DoTerminate();
    // The pause point of a cooperative Suspend(): blocks while a Suspend() is in force and the
    // thread is not terminated.
    void WaitWhileSuspended();
    // What the destructor does, for derived destructors: Terminate() and wait until the thread has
    // finished, serving Synchronize calls on the main thread. Nothing for a thread that never
    // started, nor on the thread itself (a free-on-terminate thread deleting itself).
    void TerminateAndWaitFor();

private:
    void Run();
    void StartLocked();  // FMutex held
    void WaitUntilFinished();

    DWORD FThreadID;
    HANDLE FHandle;
    std::shared_ptr<rtl::ThreadObject> FFinishedSignal;
    std::thread FThread;

    mutable std::mutex FMutex;  // guards the start and suspend state and the fatal exception
    std::condition_variable FResumed;
    bool FStarted = false;
    bool FSuspendRequested = false;
    std::exception_ptr FFatalException;

    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<int> FReturnValue{0};
};
