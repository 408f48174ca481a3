#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

// Two windows shown one after the other: the desktop activates each in turn, and the loop settles
// with the one shown last active, instead of the two passing the activation back and forth.
TEST(FormActivation, TwoWindowsShownInTurnSettleOnTheLast) {
    ui::test::AppScope scope;
    for (bool onTop : {false, true}) {
        SCOPED_TRACE(onTop);
        auto* a = new TForm(nullptr);
        auto* b = new TForm(nullptr);
        if (onTop) b->SetFormStyle(fsStayOnTop);
        a->Show();
        b->Show();
        EXPECT_LT(ui::test::Pump(1000), 1000);
        EXPECT_EQ(Screen->ActiveForm(), b);
        EXPECT_TRUE(b->Active());
        EXPECT_FALSE(a->Active());
        b->Free();
        a->Free();
    }
}
