#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/tests/ParamNames.h"

namespace {

constexpr DWORD kLongWait = 30000;

struct EventCase {
    const char* name;
    bool manualReset;
    bool initialState;
    TWaitResult first, second;  // two waits in a row without a reset
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

class TEventStateTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(TEventStateTest, InitialStateAndReset) {
    const EventCase& c = GetParam();
    TEvent e(nullptr, c.manualReset, c.initialState, String("ignored name"));
    EXPECT_EQ(e.WaitFor(0), c.first);
    EXPECT_EQ(e.WaitFor(0), c.second);
    e.SetEvent();
    EXPECT_EQ(WaitForSingleObject(e.Handle(), 0), WAIT_OBJECT_0);  // the handle is the same object
    e.SetEvent();
    e.ResetEvent();
    EXPECT_EQ(e.WaitFor(0), wrTimeout);
    EXPECT_EQ(WaitForSingleObject(e.Handle(), 0), WAIT_TIMEOUT);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TEventStateTest,
    ::testing::Values(EventCase{"ManualSignalledStaysSo", true, true, wrSignaled, wrSignaled},
                      EventCase{"ManualClear", true, false, wrTimeout, wrTimeout},
                      EventCase{"AutoSignalledIsConsumedByOneWait", false, true, wrSignaled, wrTimeout},
                      EventCase{"AutoClear", false, false, wrTimeout, wrTimeout}),
    rtl_test::PrintedName());

TEST(SyncObjsTest, DefaultEventsAreManualResetAndClear) {
    TSimpleEvent simple;
    TEvent plain;
    for (TEvent* e : {static_cast<TEvent*>(&simple), &plain}) {
        EXPECT_EQ(e->WaitFor(0), wrTimeout);
        e->SetEvent();
        EXPECT_EQ(e->WaitFor(0), wrSignaled);
        EXPECT_EQ(e->WaitFor(0), wrSignaled);
    }
}

TEST(SyncObjsTest, HandleApiDrivesTheEvent) {
    TEvent e(false, false);
    EXPECT_TRUE(SetEvent(e.Handle()));
    EXPECT_EQ(e.WaitFor(0), wrSignaled);
    EXPECT_EQ(e.WaitFor(0), wrTimeout);  // auto reset
}

TEST(SyncObjsTest, SetEventReleasesEveryWaiterOfAManualEvent) {
    TSimpleEvent go;
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (go.WaitFor(kLongWait) == wrSignaled) ++released;
        });
    go.SetEvent();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released.load(), 3);
}

// The serial event thread's loop: wait on [stop, io]; io work is handled until stop is set.
class EventLoopThread : public TThread {
public:
    EventLoopThread() : TThread(false) { Start(); }
    ~EventLoopThread() override {
        Stop.SetEvent();
        TerminateAndWaitFor();
    }
    TEvent Stop{true, false};
    TEvent Io{true, false};
    TEvent Handled{false, false};
    std::atomic<int> IoCount{0};
    std::atomic<DWORD> LastResult{WAIT_FAILED};

protected:
    void Execute() override {
        HANDLE handles[2] = {Stop.Handle(), Io.Handle()};
        for (;;) {
            DWORD r = WaitForMultipleObjects(2, handles, FALSE_, INFINITE);
            LastResult = r;
            if (r != WAIT_OBJECT_0 + 1) return;
            Io.ResetEvent();
            ++IoCount;
            Handled.SetEvent();
        }
    }
};

TEST(SyncObjsTest, WaitOnStopAndIoAnswersStopOnceItIsSet) {
    EventLoopThread t;
    for (int i = 1; i <= 3; ++i) {
        t.Io.SetEvent();
        ASSERT_EQ(t.Handled.WaitFor(kLongWait), wrSignaled);
        EXPECT_EQ(t.IoCount.load(), i);
        EXPECT_EQ(t.LastResult.load(), WAIT_OBJECT_0 + 1);
    }
    // With both set, the stop event comes first: the lowest signalled index wins.
    t.Io.SetEvent();
    t.Stop.SetEvent();
    t.WaitFor();
    EXPECT_EQ(t.LastResult.load(), WAIT_OBJECT_0);
    EXPECT_LE(t.IoCount.load(), 4);
}

TEST(SyncObjsTest, WaitAllNeedsEveryObjectAndTakesEverySignal) {
    TEvent a(false, false), b(false, true);
    HANDLE h[2] = {a.Handle(), b.Handle()};
    EXPECT_EQ(WaitForMultipleObjects(2, h, TRUE_, 0), WAIT_TIMEOUT);
    EXPECT_EQ(b.WaitFor(0), wrSignaled);  // the failed wait-all took nothing
    b.SetEvent();
    std::thread setter([&] { a.SetEvent(); });
    EXPECT_EQ(WaitForMultipleObjects(2, h, TRUE_, kLongWait), WAIT_OBJECT_0);
    setter.join();
    EXPECT_EQ(a.WaitFor(0), wrTimeout);
    EXPECT_EQ(b.WaitFor(0), wrTimeout);
}

TEST(SyncObjsTest, WaitOnAClosedEventHandleFails) {
    auto* e = new TEvent(true, true);
    HANDLE h = e->Handle();
    delete e;
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SyncObjsTest, CriticalSectionIsRecursiveAndExcludesOtherThreads) {
    TCriticalSection cs;
    cs.Enter();
    cs.Acquire();  // same thread again
    auto tryFromOther = [&] {
        bool got = false;
        std::thread other([&] {
            got = cs.TryEnter();
            if (got) cs.Leave();
        });
        other.join();
        return got;
    };
    EXPECT_FALSE(tryFromOther());
    cs.Release();
    EXPECT_FALSE(tryFromOther());  // still held once
    cs.Leave();
    EXPECT_TRUE(tryFromOther());
}

TEST(SyncObjsTest, CriticalSectionKeepsCountsExact) {
    TCriticalSection cs;
    long counter = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                cs.Enter();
                counter = counter + 1;
                cs.Leave();
            }
        });
    for (auto& w : workers) w.join();
    EXPECT_EQ(counter, 80000);
}

TEST(SyncObjsTest, MultiReadSynchronizerNestsAndExcludesWriters) {
    TMultiReadExclusiveWriteSynchronizer sync;
    // The writer may read and write again inside its own write.
    EXPECT_TRUE(sync.BeginWrite());
    sync.BeginRead();
    EXPECT_TRUE(sync.BeginWrite());
    sync.EndWrite();
    sync.EndRead();
    sync.EndWrite();

    // Nested reads go on while a writer waits, and the writer gets in once they end.
    std::atomic<bool> wrote{false};
    sync.BeginRead();
    std::thread writer([&] {
        sync.BeginWrite();
        wrote = true;
        sync.EndWrite();
    });
    sync.BeginRead();
    EXPECT_FALSE(wrote);  // cannot write while a read is held
    sync.EndRead();
    EXPECT_FALSE(wrote);
    sync.EndRead();
    writer.join();
    EXPECT_TRUE(wrote);
}

TEST(SyncObjsTest, MultiReadSynchronizerReadersSeeWholeWrites) {
    TMREWSync sync;
    long a = 0, b = 0;
    std::atomic<bool> torn{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                sync.BeginWrite();
                ++a;
                ++b;
                sync.EndWrite();
            }
        });
    for (int r = 0; r < 2; ++r)
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                sync.BeginRead();
                if (a != b) torn = true;
                sync.EndRead();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_FALSE(torn);
    EXPECT_EQ(a, 10000);
    EXPECT_EQ(b, 10000);
}

}  // namespace
