#include <gtest/gtest.h>

#include "controls/instrument/MvNumEdit.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

using NumEditBase = ui::test::FormTest;

// A new edit's value 0 shows in every base, so a display set to hexadecimal or binary before
// any value reaches it shows "0" and not an empty, invalid text.
TEST_F(NumEditBase, ANewEditShowsItsZeroInEveryBase) {
    for (TEditBase base : {ebBin, ebHex, ebFloat, ebInt}) {
        SCOPED_TRACE(static_cast<int>(base));
        auto* e = Add<TMvNumEdit>();
        e->SetEditBase(base);
        e->Loaded();
        EXPECT_EQ(e->Text(), String("0"));
        EXPECT_EQ(e->State(), esNormal);
        EXPECT_EQ(e->ValueAsHex(), String("0"));
        EXPECT_EQ(e->ValueAsBool(), String("0"));
    }
}

}  // namespace
