#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/testing/TestSupport.h"

TEST(HandlesTest, ManualResetEventStaysSignalledUntilReset) {
    HANDLE e = CreateEvent(nullptr, 1, 1, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    ResetEvent(e);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST(HandlesTest, AutoResetEventIsConsumedByOneWait) {
    HANDLE e = CreateEvent(nullptr, 0, 1, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST(HandlesTest, WaitForMultipleAnswersTheSignalledIndex) {
    HANDLE h[2] = {CreateEvent(nullptr, 1, 0, nullptr), CreateEvent(nullptr, 1, 0, nullptr)};
    std::thread t([&] { SetEvent(h[0]); });
    EXPECT_EQ(WaitForMultipleObjects(2, h, 0, INFINITE), WAIT_OBJECT_0);
    t.join();
    ResetEvent(h[0]);
    SetEvent(h[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, h, 0, 0), WAIT_OBJECT_0 + 1);
    CloseHandle(h[0]);
    CloseHandle(h[1]);
}

TEST(HandlesTest, AWakerHearsOfEverySetUntilRemoved) {
    rtl::Event e(true, false);
    int woken = 0;
    std::function<void()> wake = [&] { ++woken; };
    e.AddWaker(&wake);
    e.Set();
    e.Reset();
    e.Set();
    EXPECT_EQ(woken, 2);
    e.RemoveWaker(&wake);
    e.Set();
    EXPECT_EQ(woken, 2);
}

TEST(HandlesTest, ClosedOrForgedHandlesAreRefused) {
    HANDLE e = CreateEvent(nullptr, 1, 0, nullptr);
    EXPECT_TRUE(CloseHandle(e));
    EXPECT_FALSE(CloseHandle(e));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x12345), 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(HandlesTest, TimedWaitFollowsTheManualClock) {
    rtl::ScopedManualClock clock;
    HANDLE e = CreateEvent(nullptr, 1, 0, nullptr);
    DWORD result = 0, started = 0, ended = 0;
    std::atomic<bool> done{false};
    std::thread t([&] {
        started = GetTickCount();
        result = WaitForSingleObject(e, 3000);
        ended = GetTickCount();
        done = true;
    });
    rtl::test::Await([&] { return done.load(); }, "the timed wait to end", 10000, [&] {
        clock->Advance(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    t.join();
    EXPECT_EQ(result, WAIT_TIMEOUT);
    // Only the lower bound is exact: a starved waiter may notice the deadline some steps late.
    EXPECT_GE(ended - started, 3000u);
    CloseHandle(e);
}

TEST(HandlesTest, WaitUntilKeepsADeadlineTakenBeforeTheClockMoved) {
    rtl::ScopedManualClock clock;
    HANDLE e = CreateEvent(nullptr, 0, 0, nullptr);
    auto event = rtl::LookupHandleAs<rtl::Waitable>(e);
    ASSERT_TRUE(event);
    uint64_t deadline = rtl::MonotonicMs() + 100;
    clock->Advance(60);  // the waiter is late: a wait of 100 ms from now would end at 160
    std::atomic<DWORD> result{0xFFFF};
    std::thread t([&] { result = rtl::WaitForObjectsUntil({event}, false, deadline); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(result.load(), 0xFFFFu);
    clock->Advance(40);  // 100
    t.join();
    EXPECT_EQ(result.load(), WAIT_TIMEOUT);
    // A passed deadline polls; a signal is taken.
    EXPECT_EQ(rtl::WaitForObjectsUntil({event}, false, 0), WAIT_TIMEOUT);
    SetEvent(e);
    EXPECT_EQ(rtl::WaitForObjectsUntil({event}, false, rtl::NoDeadline), WAIT_OBJECT_0);
    CloseHandle(e);
}
