// The frame's scroll bars are as thick as the system metrics say: what the frame takes, what the
// scroll box reserves and what GetSystemMetrics answers are one value.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

class FrameScrollBarsTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->Show();
    }
};

LRESULT HitAt(TWinControl* w, int x, int y) {
    TRect r;
    GetWindowRect(w->Handle(), &r);
    return w->Perform(WM_NCHITTEST, 0, PointToLParam(r.Left + x, r.Top + y));
}

}  // namespace

TEST_F(FrameScrollBarsTest, TheBarsTakeSeventeenPixelsAndLeaveASquareCorner) {
    auto* w = Add<controls_test::Panel>(10, 10);
    w->SetBounds(10, 10, 200, 100);
    struct Case {
        DWORD bars;
        int width, height;
    } cases[] = {{0, 200, 100}, {WS_VSCROLL, 183, 100}, {WS_HSCROLL, 200, 83}, {WS_VSCROLL | WS_HSCROLL, 183, 83}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.bars);
        auto style = static_cast<DWORD>(GetWindowLong(w->Handle(), GWL_STYLE));
        ASSERT_EQ(style & (WS_BORDER | WS_CAPTION), 0u);
        SetWindowLong(w->Handle(), GWL_STYLE, static_cast<LONG>((style & ~(WS_VSCROLL | WS_HSCROLL)) | c.bars));
        SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        EXPECT_EQ(w->ClientRect(), Rect(0, 0, c.width, c.height));
    }
    // Both bars: the corner is the 17 x 17 square between them.
    EXPECT_EQ(HitAt(w, 183, 83), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(w, 199, 99), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(w, 182, 99), HTHSCROLL);
    EXPECT_EQ(HitAt(w, 199, 82), HTVSCROLL);
    EXPECT_EQ(HitAt(w, 182, 82), HTCLIENT);
}

TEST_F(FrameScrollBarsTest, TheMetricsAnswerTheFramesThickness) {
    for (int index : {SM_CXVSCROLL, SM_CYHSCROLL, SM_CXHSCROLL, SM_CYVSCROLL})
        EXPECT_EQ(GetSystemMetrics(index), ui::kWindowScrollBarSize) << index;
    EXPECT_EQ(ui::kWindowScrollBarSize, 17);
}

TEST_F(FrameScrollBarsTest, AScrollBoxShowsASeventeenPixelBar) {
    auto* box = Add<TScrollBox>(10, 10);
    box->SetBounds(10, 10, 150, 120);
    auto* wide = new controls_test::Panel(form);
    wide->SetBounds(0, 0, 400, 50);
    wide->SetParent(box);
    ASSERT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->ClientWidth(), 150);
    EXPECT_EQ(box->ClientHeight(), 120 - 17);
    EXPECT_EQ(HitAt(box, 75, 120 - 17), HTHSCROLL);
    EXPECT_EQ(HitAt(box, 75, 120 - 18), HTCLIENT);
}
