#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Random.h"

TEST(Random, ASeedRepeatsItsSequenceAndDrawsStayInRange) {
    RandSeed = 12345;
    std::vector<int32_t> first;
    for (int i = 0; i < 100; ++i) first.push_back(Random(7));
    RandSeed = 12345;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(Random(7), first[static_cast<size_t>(i)]) << i;

    // Every value of the range comes up, about equally often, and none outside it.
    RandSeed = 1;
    std::vector<int> counts(10, 0);
    for (int i = 0; i < 100000; ++i) {
        int32_t r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        ++counts[static_cast<size_t>(r)];
    }
    for (int c : counts) {
        EXPECT_GT(c, 9000);
        EXPECT_LT(c, 11000);
    }
    for (int i = 0; i < 1000; ++i) {
        double d = Random();
        ASSERT_GE(d, 0.0);
        ASSERT_LT(d, 1.0);
    }
    // The largest range still stays below its bound.
    for (int i = 0; i < 1000; ++i) ASSERT_LT(Random(2147483647), 2147483647);
}

TEST(Random, EmptyOrNegativeRangesGiveZero) {
    RandSeed = 99;
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(Random(1), 0);
}

TEST(Random, RandomizeSeedsFromTheClock) {
    rtl::ScopedManualClock clock(1000);
    Randomize();
    uint32_t a = RandSeed;
    clock->Advance(1);
    Randomize();
    EXPECT_NE(RandSeed, a);
}
