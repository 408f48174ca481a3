#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Handles.h"

TEST(ClockTest, ManualClockMovesTickCountByExactlyTheAdvance) {
    rtl::ScopedManualClock clock(1000);
    EXPECT_EQ(GetTickCount(), 1000u);
    clock->Advance(250);
    EXPECT_EQ(GetTickCount(), 1250u);
    Sleep(50);  // sleeping on the manual clock passes the time at once
    EXPECT_EQ(GetTickCount(), 1300u);
}

TEST(ClockTest, TickCountWrapsAt32Bits) {
    rtl::ScopedManualClock clock(0xFFFFFFFFull - 5);
    DWORD before = GetTickCount();
    clock->Advance(10);
    DWORD after = GetTickCount();
    EXPECT_EQ(after, 4u);
    EXPECT_EQ(static_cast<DWORD>(after - before), 10u);  // elapsed-time arithmetic survives the wrap
}

// A thread may be inside a timed wait on a manual clock when that clock is replaced; the wait must
// go on reading the clock now installed, not touch the one that was just uninstalled.
TEST(ClockTest, TimedWaitSurvivesItsClockBeingReplaced) {
    HANDLE event = CreateEvent(nullptr, 1, 0, nullptr);
    std::atomic<DWORD> result{0xFFFF};
    rtl::SetClock(std::make_shared<rtl::ManualClock>());  // held by nobody else
    std::thread waiter([&] { result = WaitForSingleObject(event, 60000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let it enter the wait
    rtl::SetClock(std::make_shared<rtl::ManualClock>());  // time 0 again: the deadline is ahead
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // it keeps polling meanwhile
    EXPECT_EQ(result.load(), 0xFFFFu);
    SetEvent(event);
    waiter.join();
    rtl::SetClock(nullptr);
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
    CloseHandle(event);
}
