#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"

TEST(MathTest, RoundTakesHalvesToTheEvenNeighbour) {
    struct Case { double value; int64_t rounded; };
    const Case cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {-0.5, 0},
        {2.4999999, 2}, {2.5000001, 3}, {-2.5000001, -3}, {0.0, 0},
        {1e15 + 0.5, 1000000000000000}, {4503599627370495.5, 4503599627370496},
        {-9.2233720368547748e18, -9223372036854774784},
    };
    for (const auto& c : cases) EXPECT_EQ(Round(c.value), c.rounded) << c.value;
}

TEST(MathTest, IntegerPartsAndRanges) {
    EXPECT_EQ(Trunc(-1.7), -1);
    EXPECT_EQ(Trunc(1.7), 1);
    EXPECT_DOUBLE_EQ(Frac(-1.25), -0.25);
    EXPECT_DOUBLE_EQ(Int(-1.75), -1.0);
    EXPECT_EQ(Ceil(-1.5), -1);
    EXPECT_EQ(Ceil(1.0), 1);
    EXPECT_EQ(Ceil(1.01), 2);
    EXPECT_EQ(Floor(-1.5), -2);
    EXPECT_EQ(Floor(1.99), 1);
    // C++ would give undefined behaviour here; the original raises.
    const double bad[] = {std::nan(""), std::numeric_limits<double>::infinity(), 1e19, -1e19};
    for (double v : bad) {
        EXPECT_THROW(Round(v), EInvalidOp) << v;
        EXPECT_THROW(Trunc(v), EInvalidOp) << v;
    }
    EXPECT_THROW(Ceil(3e9), EInvalidOp);
    EXPECT_THROW(Floor(-3e9), EInvalidOp);
}

TEST(MathTest, RoundToAndSimpleRoundTo) {
    struct Case { double value; int digit; double roundTo; double simple; };
    const Case cases[] = {
        {1234, 2, 1200, 1200},
        {1250, 2, 1200, 1300},  // RoundTo halves to even, SimpleRoundTo away from zero
        {1350, 2, 1400, 1400},
        {2.5, 0, 2, 3},
        {-2.5, 0, -2, -3},
        {0.125, -2, 0.12, 0.13},
        {-0.125, -2, -0.12, -0.13},
        {1.2345, -2, 1.23, 1.23},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(RoundTo(c.value, c.digit), c.roundTo) << c.value << " " << c.digit;
        EXPECT_DOUBLE_EQ(SimpleRoundTo(c.value, c.digit), c.simple) << c.value << " " << c.digit;
    }
    EXPECT_DOUBLE_EQ(SimpleRoundTo(3.14159), 3.14);
}

TEST(MathTest, SmallHelpers) {
    EXPECT_DOUBLE_EQ(Power(2, 10), 1024);
    EXPECT_DOUBLE_EQ(IntPower(2, -2), 0.25);
    EXPECT_DOUBLE_EQ(IntPower(10, 3), 1000);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(-1, 0u), 0);  // signed and unsigned meet in int64, not in unsigned
    EXPECT_EQ(Min(-1, 5u), -1);
    EXPECT_DOUBLE_EQ(Max(0.25, 0), 0.25);  // mixed double and int: no ambiguity
    EXPECT_TRUE(InRange(-1, -5, 5u));
    EXPECT_TRUE(InRange(2.5, 0, 3));
    EXPECT_EQ(Max(int64_t{3}, int64_t{5}), 5);
    EXPECT_DOUBLE_EQ(Max(1.5, -2.0), 1.5);
    EXPECT_TRUE(InRange(5, 1, 5));
    EXPECT_FALSE(InRange(6, 1, 5));
    EXPECT_EQ(EnsureRange(-3, 0, 10), 0);
    EXPECT_EQ(EnsureRange(30, 0, 10), 10);
    EXPECT_DOUBLE_EQ(EnsureRange(0.5, 0.0, 1.0), 0.5);
    EXPECT_EQ(Sign(-0.1), -1);
    EXPECT_EQ(Sign(0), 0);
    EXPECT_EQ(Sign(int64_t{7}), 1);
    EXPECT_TRUE(IsNan(std::nan("")));
    EXPECT_TRUE(IsInfinite(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(IsInfinite(1e308));
    EXPECT_TRUE(SameValue(0.1 + 0.2, 0.3));
    EXPECT_TRUE(IsZero(1e-13));
}
