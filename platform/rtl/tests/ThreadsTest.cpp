#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/tests/ParamNames.h"

namespace {

// Generous bound for waits that must end; a healthy run takes milliseconds.
constexpr DWORD kLongWait = 30000;

// A thread whose Execute is a closure.
class LambdaThread : public TThread {
public:
    using Body = std::function<void(LambdaThread&)>;
    explicit LambdaThread(Body body) : TThread(true), FBody(std::move(body)) {}
    ~LambdaThread() override {
        // Stop before our members go; the base destructor would wait only after they are gone.
        TerminateAndWaitFor();
        if (OnDestroy) OnDestroy();
    }
    void Pause() { WaitWhileSuspended(); }
    std::function<void()> OnDestroy;

protected:
    void Execute() override { FBody(*this); }

private:
    Body FBody;
};

// Records events from any thread in order.
class Log {
public:
    void Add(std::string s) {
        std::lock_guard<std::mutex> g(FMutex);
        FItems.push_back(std::move(s));
    }
    std::vector<std::string> Items() {
        std::lock_guard<std::mutex> g(FMutex);
        return FItems;
    }

private:
    std::mutex FMutex;
    std::vector<std::string> FItems;
};

std::string Where() { return IsMainThread() ? "main" : "worker"; }

// Runs CheckSynchronize until done() or the bound passes.
bool PumpUntil(const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > kLongWait) return false;
        CheckSynchronize(20);
    }
    return true;
}

class ThreadsTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetWakeMainThread(nullptr);
        while (CheckSynchronize(0)) {
        }
    }
};

TEST_F(ThreadsTest, ThreadIdsAreSmallStableAndDistinct) {
    DWORD mine = GetCurrentThreadId();
    EXPECT_EQ(GetCurrentThreadId(), mine);
    EXPECT_EQ(MainThreadID(), mine);  // the thread that loaded the program
    EXPECT_TRUE(IsMainThread());

    DWORD inside = 0;
    bool workerIsMain = true;
    LambdaThread t([&](LambdaThread&) {
        inside = GetCurrentThreadId();
        workerIsMain = IsMainThread();
    });
    DWORD announced = t.ThreadID();
    t.Start();
    t.WaitFor();
    EXPECT_EQ(inside, announced);
    EXPECT_NE(inside, mine);
    EXPECT_FALSE(workerIsMain);
    EXPECT_GT(inside, 0u);
    EXPECT_LT(inside, 100000u);
}

TEST_F(ThreadsTest, WorkerSynchronizesWhileMainThreadWaitsForIt) {
    Log log;
    LambdaThread t([&](LambdaThread& self) {
        for (int i = 0; i < 3; ++i) self.Synchronize([&] { log.Add("sync@" + Where()); });
        self.SetReturnValue(7);
    });
    t.OnTerminate = [&](TThread* sender) { log.Add(sender == &t ? "terminate@" + Where() : "wrong sender"); };
    t.Start();
    EXPECT_EQ(t.WaitFor(), 7u);  // would deadlock if WaitFor did not serve the worker
    EXPECT_EQ(log.Items(), (std::vector<std::string>{"sync@main", "sync@main", "sync@main", "terminate@main"}));
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(WaitForSingleObject(t.Handle(), 0), WAIT_OBJECT_0);
}

TEST_F(ThreadsTest, DestroyingARunningThreadFromTheMainThreadServesItsSynchronizeCalls) {
    std::atomic<int> calls{0};
    TEvent first(true, false);
    auto* t = new LambdaThread([&](LambdaThread& self) {
        while (!self.Terminated()) {
            self.Synchronize([&] { ++calls; });
            first.SetEvent();
        }
    });
    t->Start();
    ASSERT_TRUE(PumpUntil([&] { return first.WaitFor(0) == wrSignaled; }));
    delete t;  // terminates, and waits while the worker is blocked in Synchronize
    EXPECT_GE(calls.load(), 1);
}

TEST_F(ThreadsTest, DestroyingAPausedOrNeverStartedThreadEndsIt) {
    std::atomic<int> rounds{0};
    TEvent paused(true, false);
    {
        LambdaThread never([&](LambdaThread&) { ++rounds; });
    }
    EXPECT_EQ(rounds.load(), 0);  // never ran, and the destructor did not wait for it

    {
        LambdaThread t([&](LambdaThread& self) {
            self.Suspend();  // pauses here until resumed or terminated
            paused.SetEvent();
            self.Pause();
            if (!self.Terminated()) ++rounds;
        });
        t.Start();
        ASSERT_TRUE(PumpUntil([&] { return t.Suspended(); }));
        t.Suspend();
    }  // the destructor terminates, which releases the pause
    EXPECT_EQ(paused.WaitFor(0), wrSignaled);
    EXPECT_EQ(rounds.load(), 0);
}

TEST_F(ThreadsTest, QueueReturnsAtOnceAndRunsLaterOnTheMainThread) {
    std::atomic<bool> ran{false};
    std::atomic<bool> ranBeforeQueueReturned{true};
    std::string where;
    LambdaThread t([&](LambdaThread& self) {
        self.Queue([&] {
            where = Where();
            ran = true;
        });
        ranBeforeQueueReturned = ran.load();
    });
    t.Start();
    // Wait without serving the main thread's queue: the worker must finish on its own.
    ASSERT_EQ(WaitForSingleObject(t.Handle(), kLongWait), WAIT_OBJECT_0);
    EXPECT_FALSE(ranBeforeQueueReturned);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_TRUE(ran);
    EXPECT_EQ(where, "main");
    EXPECT_FALSE(CheckSynchronize(0));  // ran once only
}

TEST_F(ThreadsTest, QueueOnTheMainThreadAlsoWaitsForCheckSynchronize) {
    Log log;
    TThread::Queue(nullptr, [&] { log.Add("first"); });
    TThread::Queue(nullptr, [&] { log.Add("second"); });
    log.Add("queued");
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(log.Items(), (std::vector<std::string>{"queued", "first", "second"}));
}

TEST_F(ThreadsTest, CallsQueuedWhileAPassRunsWaitForTheNextPass) {
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        TThread::Queue(nullptr, again);
    };
    TThread::Queue(nullptr, again);
    EXPECT_TRUE(CheckSynchronize(0));  // must not loop forever on a call that re-queues itself
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(runs, 2);
    TThread::RemoveQueuedEvents(nullptr);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST_F(ThreadsTest, RemoveQueuedEventsDropsOnlyThatThreadsQueueCalls) {
    Log log;
    LambdaThread t([&](LambdaThread& self) {
        self.Queue([&] { log.Add("mine"); });
        TThread::Queue(nullptr, [&] { log.Add("anonymous"); });
        self.Queue([&] { log.Add("mine again"); });
    });
    t.Start();
    ASSERT_EQ(WaitForSingleObject(t.Handle(), kLongWait), WAIT_OBJECT_0);
    TThread::RemoveQueuedEvents(&t);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(log.Items(), std::vector<std::string>{"anonymous"});
}

TEST_F(ThreadsTest, ExceptionOfASynchronizedMethodIsRaisedInTheWorker) {
    String caught;
    bool ranOnMain = false;
    LambdaThread t([&](LambdaThread& self) {
        try {
            self.Synchronize([&] {
                ranOnMain = IsMainThread();
                throw EConvertError("'x' is not a valid integer value");
            });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
    });
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(caught, "'x' is not a valid integer value");
    EXPECT_FALSE(t.FatalException());  // handled by the worker
}

TEST_F(ThreadsTest, ExceptionEscapingExecuteIsKeptAndTheThreadFinishes) {
    std::atomic<bool> terminateRan{false};
    LambdaThread t([](LambdaThread&) { throw EInOutError("disk gone"); });
    t.OnTerminate = [&](TThread*) { terminateRan = true; };
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(t.Finished());
    EXPECT_TRUE(terminateRan);
    EXPECT_EQ(WaitForSingleObject(t.Handle(), 0), WAIT_OBJECT_0);
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "disk gone");
    } catch (...) {
        ADD_FAILURE() << "the kept exception lost its type";
    }
}

struct FreeCase {
    const char* name;
    bool terminateBeforeStart;
    bool withOnTerminate;
    std::vector<std::string> expected;
};

void PrintTo(const FreeCase& c, std::ostream* os) { *os << c.name; }

class FreeOnTerminateTest : public ThreadsTest, public ::testing::WithParamInterface<FreeCase> {};

TEST_P(FreeOnTerminateTest, ThreadFreesItselfAfterOnTerminate) {
    const FreeCase& c = GetParam();
    Log log;
    TEvent destroyed(true, false);
    auto* t = new LambdaThread([&](LambdaThread&) { log.Add("execute"); });
    t->SetFreeOnTerminate(true);
    t->OnDestroy = [&] {
        log.Add("destroyed@" + Where());
        destroyed.SetEvent();
    };
    if (c.withOnTerminate) t->OnTerminate = [&](TThread*) { log.Add("terminate@" + Where()); };
    EXPECT_THROW(t->WaitFor(), Exception);  // the object may be gone before a wait ends
    if (c.terminateBeforeStart) t->Terminate();
    t->Start();
    // OnTerminate needs the main thread; the (ASan-checked) deletion follows it.
    ASSERT_TRUE(PumpUntil([&] { return destroyed.WaitFor(0) == wrSignaled; }));
    EXPECT_EQ(log.Items(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeOnTerminateTest,
    ::testing::Values(FreeCase{"Plain", false, false, {"execute", "destroyed@worker"}},
                      FreeCase{"WithOnTerminate", false, true, {"execute", "terminate@main", "destroyed@worker"}},
                      // Ending a free-on-terminate thread that never ran: Execute is skipped.
                      FreeCase{"TerminatedBeforeStart", true, true, {"terminate@main", "destroyed@worker"}}),
    rtl_test::PrintedName());

TEST_F(ThreadsTest, WakeCallbackIsCalledWhenWorkIsQueued) {
    std::atomic<int> wakes{0};
    std::atomic<int> wakesFromWorker{0};
    SetWakeMainThread([&] {
        ++wakes;
        if (!IsMainThread()) ++wakesFromWorker;
    });
    LambdaThread t([](LambdaThread& self) { self.Queue([] {}); });
    t.Start();
    ASSERT_EQ(WaitForSingleObject(t.Handle(), kLongWait), WAIT_OBJECT_0);
    EXPECT_EQ(wakesFromWorker.load(), 1);
    WakeMainThreadNow();
    EXPECT_EQ(wakes.load(), 2);
    SetWakeMainThread(nullptr);
    WakeMainThreadNow();
    EXPECT_EQ(wakes.load(), 2);
}

TEST_F(ThreadsTest, HookRunsInsideCheckSynchronizeUntilRemoved) {
    int calls = 0;
    bool pending = false;
    int id = AddSynchronizeHook([&] {
        ++calls;
        return std::exchange(pending, false);
    });
    EXPECT_FALSE(CheckSynchronize(0));  // hook ran but had nothing to do
    EXPECT_EQ(calls, 1);
    pending = true;
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(calls, 2);
    RemoveSynchronizeHook(id);
    pending = true;
    EXPECT_FALSE(CheckSynchronize(0));
    EXPECT_EQ(calls, 2);
}

// The message layer's case: a worker hands work to a hook and waits for the answer while the
// main thread is itself waiting for that worker.
TEST_F(ThreadsTest, HookServesAWorkerWhileTheMainThreadWaitsForIt) {
    std::atomic<bool> request{false};
    TEvent answered(true, false);
    bool hookOnMain = false;
    int id = AddSynchronizeHook([&] {
        if (!request.exchange(false)) return false;
        hookOnMain = IsMainThread();
        answered.SetEvent();
        return true;
    });
    LambdaThread t([&](LambdaThread& self) {
        request = true;
        WakeMainThreadNow();
        self.SetReturnValue(answered.WaitFor(kLongWait) == wrSignaled ? 1 : 0);
    });
    t.Start();
    EXPECT_EQ(t.WaitFor(), 1u);
    EXPECT_TRUE(hookOnMain);
    RemoveSynchronizeHook(id);
}

TEST_F(ThreadsTest, CheckSynchronizeWaitsForWorkFromAnotherThread) {
    bool ran = false;
    std::thread other([&] { TThread::Queue(nullptr, [&] { ran = IsMainThread(); }); });
    EXPECT_TRUE(CheckSynchronize(-1));
    other.join();
    EXPECT_TRUE(ran);
}

TEST_F(ThreadsTest, CheckSynchronizeTimesOutOnTheRtlClock) {
    rtl::ScopedManualClock clock;
    std::atomic<bool> done{false};
    std::thread advancer([&] {
        while (!done) {
            clock->Advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    DWORD start = GetTickCount();
    bool ran = CheckSynchronize(500);
    DWORD waited = GetTickCount() - start;
    done = true;
    advancer.join();
    EXPECT_FALSE(ran);
    EXPECT_GE(waited, 500u);
}

TEST_F(ThreadsTest, ExceptionOfAQueuedCallLeavesCheckSynchronizeAndTheRestStayQueued) {
    bool second = false;
    TThread::Queue(nullptr, [] { throw EAbort("stop"); });
    TThread::Queue(nullptr, [&] { second = true; });
    EXPECT_THROW(CheckSynchronize(0), EAbort);
    EXPECT_FALSE(second);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_TRUE(second);
}

TEST_F(ThreadsTest, CheckSynchronizeIsRefusedOutsideTheMainThread) {
    bool refused = false;
    std::thread other([&] {
        try {
            CheckSynchronize(0);
        } catch (const EThread&) {
            refused = true;
        }
    });
    other.join();
    EXPECT_TRUE(refused);
}

TEST_F(ThreadsTest, SuspendPausesAtTheNextPausePointAndResumeLetsItGoOn) {
    std::atomic<int> rounds{0};
    TEvent roundDone(false, false);
    TEvent nextRound(false, false);
    LambdaThread t([&](LambdaThread& self) {
        for (;;) {
            self.Pause();
            if (self.Terminated()) return;
            ++rounds;
            roundDone.SetEvent();
            nextRound.WaitFor(INFINITE);
        }
    });
    EXPECT_TRUE(t.Suspended());  // not started yet
    t.Resume();                  // starts it
    ASSERT_EQ(roundDone.WaitFor(kLongWait), wrSignaled);
    EXPECT_FALSE(t.Suspended());

    t.Suspend();
    EXPECT_TRUE(t.Suspended());
    nextRound.SetEvent();
    // Paused at the top of its loop. A short look: it can only miss a fault, never invent one.
    EXPECT_EQ(roundDone.WaitFor(50), wrTimeout);
    EXPECT_EQ(rounds.load(), 1);

    while (t.Suspended()) t.Resume();  // the components' way of resuming
    ASSERT_EQ(roundDone.WaitFor(kLongWait), wrSignaled);
    EXPECT_EQ(rounds.load(), 2);

    // Terminate also releases a paused thread.
    t.Suspend();
    nextRound.SetEvent();
    t.Terminate();
    t.WaitFor();
    EXPECT_EQ(rounds.load(), 2);
}

TEST_F(ThreadsTest, SuspendFromTheThreadItselfPausesAtOnce) {
    TEvent after(true, false);
    LambdaThread t([&](LambdaThread& self) {
        self.Suspend();
        after.SetEvent();
    });
    t.Start();
    DWORD start = GetTickCount();
    while (!t.Suspended()) {
        ASSERT_LT(GetTickCount() - start, kLongWait);
        std::this_thread::yield();
    }
    EXPECT_EQ(after.WaitFor(50), wrTimeout);
    t.Resume();
    EXPECT_EQ(after.WaitFor(kLongWait), wrSignaled);
    t.WaitFor();
}

TEST_F(ThreadsTest, MisuseIsRefused) {
    LambdaThread never([](LambdaThread&) {});
    EXPECT_THROW(never.WaitFor(), EThread);  // would wait forever

    LambdaThread self([](LambdaThread& me) {
        bool refused = false;
        try {
            me.WaitFor();
        } catch (const EThread&) {
            refused = true;
        }
        me.SetReturnValue(refused ? 1 : 0);
    });
    self.Start();
    EXPECT_THROW(self.Start(), EThread);  // already running or finished
    EXPECT_EQ(self.WaitFor(), 1u);
    EXPECT_THROW(self.Start(), EThread);
    self.Resume();  // nothing to resume
    EXPECT_TRUE(self.Finished());
}

TEST_F(ThreadsTest, CurrentThreadAndPriority) {
    TThread* seen = nullptr;
    LambdaThread t([&](LambdaThread&) { seen = TThread::CurrentThread(); });
    EXPECT_EQ(t.Priority(), tpNormal);
    t.SetPriority(tpHigher);
    EXPECT_EQ(t.Priority(), tpHigher);
    t.Start();
    t.WaitFor();
    EXPECT_EQ(seen, &t);
    EXPECT_EQ(TThread::CurrentThread(), nullptr);
}

}  // namespace

namespace {

TEST_F(ThreadsTest, FreeOnTerminateSetInsideOnTerminateFreesTheThread) {
    TEvent destroyed(true, false);
    auto* t = new LambdaThread([](LambdaThread&) {});
    t->OnDestroy = [&] { destroyed.SetEvent(); };
    t->OnTerminate = [](TThread* self) { self->SetFreeOnTerminate(true); };
    t->Start();
    EXPECT_TRUE(PumpUntil([&] { return destroyed.WaitFor(0) == wrSignaled; }));
}

TEST_F(ThreadsTest, FreeOnTerminateThreadWaitsForItsQueuedCallRunningOnTheMainThread) {
    // The queued call is still running on the main thread when the thread finishes; the thread
    // must not free itself (and the call's state) under it.
    TEvent callStarted(true, false), destroyed(true, false);
    std::atomic<bool> freedDuringCall{false}, callDone{false};
    auto* t = new LambdaThread([&](LambdaThread& self) {
        self.Queue([&, owner = &self] {
            callStarted.SetEvent();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            freedDuringCall = destroyed.WaitFor(0) == wrSignaled;
            (void)owner->Terminated();  // touches the thread object: ASan would flag a freed one
            callDone = true;
        });
        callStarted.WaitFor(kLongWait);
    });
    t->SetFreeOnTerminate(true);
    t->OnDestroy = [&] { destroyed.SetEvent(); };
    t->Start();
    ASSERT_TRUE(PumpUntil([&] { return callDone.load() && destroyed.WaitFor(0) == wrSignaled; }));
    EXPECT_FALSE(freedDuringCall.load());
}

}  // namespace
