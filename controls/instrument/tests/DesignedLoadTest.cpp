// On a designer's form no loader follows a new bar or hour counter: each ends its own loading in
// its second phase, through the most-derived Loaded, and so once.
#include <gtest/gtest.h>

#include "controls/instrument/MvBar.h"
#include "controls/instrument/MvOpHour.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

template <class Base>
class Counted : public Base {
public:
    using Base::Base;
    void Loaded() override {
        Base::Loaded();
        ++Loads;
    }
    int Loads = 0;
};

template <class Base>
void ExpectLoadedOnceWhenDesigning(const char* name) {
    SCOPED_TRACE(name);
    TComponent designer(nullptr);
    designer.SetDesigning(true);
    auto* designed = NewComponent<Counted<Base>>(&designer);
    EXPECT_EQ(designed->Loads, 1);
    EXPECT_EQ(designed->UpdateCount(), 0);
    TComponent running(nullptr);
    auto* loaded = NewComponent<Counted<Base>>(&running);
    EXPECT_EQ(loaded->Loads, 0);  // its loader calls Loaded
    EXPECT_EQ(loaded->UpdateCount(), 1);
}

}  // namespace

TEST(DesignedLoad, ABarAndAnHourCounterOnADesignersFormLoadThemselvesOnce) {
    ui::test::AppScope scope;
    ExpectLoadedOnceWhenDesigning<TMvBar>("bar");
    ExpectLoadedOnceWhenDesigning<TMvOpHourCounter>("hour counter");
}
