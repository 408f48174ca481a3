// Scrolling controls: the bars follow the children's extent, scrolling moves the children, the
// window's bars, the wheel and ScrollInView scroll; a scroll bar control inside scrolls only itself.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

using controls_test::Box;
using controls_test::Panel;

// Lets the content follow the thumb while it is dragged.
class LiveScrollBox : public TScrollBox {
public:
    using TScrollBox::TScrollBox;

protected:
    void WMVScroll(TMessage& m) override {
        if (m.LParam == 0 && m.WParamLo() == SB_THUMBTRACK) VertScrollBar()->SetPosition(m.WParamHi());
        TScrollBox::WMVScroll(m);
    }
};

class ScrollBoxTest : public ui::test::FormTest {
protected:
    TScrollBox* box = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        box = Add<TScrollBox>();
        box->SetBounds(10, 10, 100, 100);
        form->Show();
    }
    template <class T = Panel>
    T* Child(int left, int top, int width, int height, TWinControl* parent = nullptr) {
        auto* c = NewComponent<T>(form);
        c->SetBounds(left, top, width, height);
        c->SetParent(parent ? parent : box);
        return c;
    }
    TControlScrollBar* V() { return box->VertScrollBar(); }
    TControlScrollBar* H() { return box->HorzScrollBar(); }
    void VScroll(int code, int pos = 0) { box->Perform(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0); }
};

}  // namespace

TEST_F(ScrollBoxTest, TheBarsShowWhileTheChildrenReachPastTheClientArea) {
    struct Case {
        int width, height;
        bool vert, horz;
    };
    // A shown bar takes 17 pixels of the other direction: 90 wide no longer fits beside the
    // vertical bar, and the horizontal bar shows too.
    const Case cases[] = {{80, 300, true, false}, {90, 300, true, true}, {300, 50, false, true},
                          {300, 90, true, true},  {100, 100, false, false}, {83, 83, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        Panel* inner = Child(0, 0, c.width, c.height);
        EXPECT_EQ(V()->IsScrollBarVisible(), c.vert);
        EXPECT_EQ(H()->IsScrollBarVisible(), c.horz);
        EXPECT_EQ(V()->Range(), c.height);
        EXPECT_EQ(H()->Range(), c.width);
        EXPECT_EQ(box->ClientWidth(), 100 - (c.vert ? 17 : 0));
        EXPECT_EQ(box->ClientHeight(), 100 - (c.horz ? 17 : 0));
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE;
        if (c.vert && GetScrollInfo(box->Handle(), SB_VERT, &si)) {
            EXPECT_EQ(si.nMax + 1, c.height);  // the window's bar: the panel's extent
            EXPECT_EQ(static_cast<int>(si.nPage), box->ClientHeight());
        }
        inner->Free();
        EXPECT_FALSE(V()->IsScrollBarVisible() || H()->IsScrollBarVisible());
    }
}

TEST_F(ScrollBoxTest, ThePositionMovesTheChildrenAndKeepsToTheContent) {
    Panel* inner = Child(0, 0, 80, 300);
    Box* mark = Child<Box>(10, 250, 20, 20);
    V()->SetPosition(50);
    EXPECT_EQ(inner->Top(), -50);
    EXPECT_EQ(mark->Top(), 200);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 50);
    EXPECT_EQ(V()->Range(), 300);  // the content did not change by scrolling
    V()->SetPosition(1000);
    EXPECT_EQ(V()->Position(), 200);
    EXPECT_EQ(inner->Top(), -200);
    // Less content: the position comes back to what can still scroll, the children with it.
    mark->Hide();
    inner->SetHeight(150);
    EXPECT_EQ(V()->Position(), 50);
    EXPECT_EQ(inner->Top(), -50);
    inner->SetHeight(80);
    EXPECT_FALSE(V()->IsScrollBarVisible());
    EXPECT_EQ(V()->Position(), 0);
    EXPECT_EQ(inner->Top(), 0);
}

TEST_F(ScrollBoxTest, TheWindowsBarStepsByIncrementAndByPage) {
    Child(0, 0, 90, 300);  // both bars: a page is 83 high, the last position 217
    struct Step {
        int code, pos, expected;
    };
    const Step steps[] = {{SB_LINEDOWN, 0, 8},          {SB_PAGEDOWN, 0, 91}, {SB_PAGEUP, 0, 8},
                          {SB_LINEUP, 0, 0},            {SB_LINEUP, 0, 0},    {SB_THUMBTRACK, 120, 0},
                          {SB_THUMBPOSITION, 120, 120}, {SB_PAGEDOWN, 0, 203}, {SB_PAGEDOWN, 0, 217},
                          {SB_ENDSCROLL, 0, 217}};
    for (const Step& s : steps) {
        VScroll(s.code, s.pos);
        EXPECT_EQ(V()->Position(), s.expected) << "code " << s.code;
    }
    // A click on the frame's lower arrow, as the user makes it. The panel reaches under the bar,
    // but the frame is the box's.
    V()->SetPosition(0);
    V()->SetIncrement(20);
    TPoint arrow(box->ClientWidth() + 3, box->ClientHeight() - 8);
    EXPECT_EQ(FindDragTarget(box->ClientToScreen(arrow), false), box);
    ui::test::MouseDown(box, arrow.X, arrow.Y);
    ui::test::MouseUp(box, arrow.X, arrow.Y);
    EXPECT_EQ(V()->Position(), 20);
}

TEST_F(ScrollBoxTest, ADescendantHandlingThumbTrackScrollsAtOnce) {
    box->Free();
    box = Add<LiveScrollBox>();
    box->SetBounds(10, 10, 100, 100);
    Panel* inner = Child(0, 0, 90, 300);
    VScroll(SB_THUMBTRACK, 120);
    EXPECT_EQ(V()->Position(), 120);
    EXPECT_EQ(inner->Top(), -120);
}

TEST_F(ScrollBoxTest, TheWheelScrollsByTheIncrementUnlessNothingScrolls) {
    Panel* inner = Child(0, 0, 80, 300);
    auto wheel = [&](int delta) {
        return inner->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta))), 0);
    };
    EXPECT_EQ(wheel(-WHEEL_DELTA), 1);  // the panel passes it on, the box scrolls
    EXPECT_EQ(V()->Position(), 8);
    wheel(-60);  // half a notch waits for the other half
    EXPECT_EQ(V()->Position(), 8);
    wheel(-60);
    EXPECT_EQ(V()->Position(), 16);
    wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(V()->Position(), 0);
    int formWheels = 0;
    form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        ++formWheels;
        handled = true;
    };
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(formWheels, 0);
    inner->SetHeight(50);  // nothing to scroll: the wheel goes on to the form
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(formWheels, 1);
}

TEST_F(ScrollBoxTest, ScrollInViewBringsAControlInWithTheMargin) {
    Panel* inner = Child(0, 0, 80, 300);
    Box* low = Child<Box>(10, 250, 20, 20, inner);  // inside the panel
    V()->SetMargin(4);
    box->ScrollInView(low);
    EXPECT_EQ(inner->Top() + low->Top() + low->Height(), box->ClientHeight() - 4);
    Box* high = Child<Box>(10, 40, 20, 20, inner);
    box->ScrollInView(high);
    EXPECT_EQ(inner->Top() + high->Top(), 4);
    box->ScrollInView(high);  // in view already: nothing moves
    EXPECT_EQ(inner->Top() + high->Top(), 4);
    box->ScrollInView(inner);  // taller than the client area: its top part
    EXPECT_EQ(inner->Top(), 0);
    box->ScrollInView(form);  // not inside the box: nothing
    EXPECT_EQ(V()->Position(), 0);
}

TEST_F(ScrollBoxTest, AlignedChildrenScrollWithTheContent) {
    Panel* top = Child(0, 0, 10, 40);
    top->SetAlign(alTop);
    Child(0, 40, 80, 260);
    EXPECT_EQ(V()->Range(), 300);
    EXPECT_EQ(top->Width(), box->ClientWidth());
    V()->SetPosition(30);
    EXPECT_EQ(top->Top(), -30);
}

TEST_F(ScrollBoxTest, AGivenRangeEndsAutoScroll) {
    Child(0, 0, 80, 300);
    V()->SetRange(500);
    EXPECT_FALSE(box->AutoScroll());
    EXPECT_EQ(V()->Range(), 500);
    Child(0, 0, 80, 900);  // the children no longer decide
    EXPECT_EQ(V()->Range(), 500);
    V()->SetVisible(false);
    EXPECT_FALSE(V()->IsScrollBarVisible());
    EXPECT_EQ(GetWindowLong(box->Handle(), GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    box->SetAutoScroll(true);
    V()->SetVisible(true);
    EXPECT_EQ(V()->Range(), 900);
}

TEST_F(ScrollBoxTest, AScrollBarControlInsideTheBoxMovesOnlyItself) {
    Child(0, 0, 80, 300);
    auto* bar = Child<TScrollBar>(0, 0, 60, 17);
    bar->SetFocus();
    ui::test::Key(bar, VK_RIGHT);
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(V()->Position(), 0);
    EXPECT_EQ(H()->Position(), 0);
}
