#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"

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
