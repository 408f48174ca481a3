#include <gtest/gtest.h>

#include "platform/rtl/SmallSet.h"

namespace {

// The highest ordinal the set holds is 31: its bit must not fall off the word.
enum Flag { fA, fB, fC, fLast = 31 };
using Flags = rtl::SmallSet<Flag>;

TEST(SmallSet, AlgebraOfTheFlagSets) {
    constexpr Flags ab{fA, fB};
    constexpr Flags bc{fB, fC, fLast};
    static_assert((ab + bc) == Flags{fA, fB, fC, fLast});
    static_assert((ab - bc) == Flags{fA});
    static_assert((bc - ab) == Flags{fC, fLast});
    static_assert((ab * bc) == Flags{fB});
    static_assert((Flags{fA} * Flags{fC}).Empty());
    static_assert(Flags{fLast}.Bits() == 0x80000000u && bc.Contains(fLast) && !ab.Contains(fLast));

    // Adding and removing chain on a temporary, as the components write their sets.
    Flags s = Flags() << fA << fC << fA;
    EXPECT_EQ(s, (Flags{fA, fC}));
    s >> fA >> fB;
    EXPECT_EQ(s, Flags{fC});
    s >> fC;
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s, Flags());
}

}  // namespace
