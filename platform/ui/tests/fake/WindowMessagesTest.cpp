// Window messages the components send each other and the layer sends them: the redraw switch,
// the pointer's look, the wheel asked of the parent, design hit tests, scaling and a replaced
// window procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

namespace {

class WindowMessagesTest : public ui::test::FormTest {};

// Counts its paint passes.
class Counted : public TCustomControl {
public:
    explicit Counted(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 100, 80); }
    int Paints = 0;

protected:
    void Paint() override { ++Paints; }
};

TEST_F(WindowMessagesTest, RedrawOffKeepsTheWindowAndItsChildrenUnpaintedWhileInvalidationsAccumulate) {
    auto* outer = Add<Counted>(0, 0);
    auto* inner = NewComponent<Counted>(form);
    inner->SetBounds(5, 5, 20, 20);
    inner->SetParent(outer);
    form->Show();
    ui::test::Pump();
    int outerPaints = outer->Paints, innerPaints = inner->Paints;

    SendMessage(outer->Handle(), WM_SETREDRAW, FALSE_, 0);
    SendMessage(outer->Handle(), WM_SETREDRAW, FALSE_, 0);  // not counted: one TRUE_ resumes
    TRect a(10, 10, 20, 20), b(50, 40, 60, 70);
    InvalidateRect(outer->Handle(), &a, TRUE_);
    InvalidateRect(outer->Handle(), &b, TRUE_);
    inner->Invalidate();
    ui::test::Pump();
    outer->Update();
    EXPECT_EQ(outer->Paints, outerPaints);
    EXPECT_EQ(inner->Paints, innerPaints);
    TRect pending;
    ASSERT_TRUE(GetUpdateRect(outer->Handle(), &pending, FALSE_));
    EXPECT_EQ(pending, TRect(10, 10, 60, 70));

    // TRUE_ invalidates nothing; the sender's Invalidate then paints once, the gathered part with it.
    SendMessage(outer->Handle(), WM_SETREDRAW, TRUE_, 0);
    outer->Invalidate();
    ui::test::Pump();
    EXPECT_EQ(outer->Paints, outerPaints + 1);
    EXPECT_EQ(inner->Paints, innerPaints + 1);
    EXPECT_FALSE(GetUpdateRect(outer->Handle(), &pending, FALSE_));
}

}  // namespace
