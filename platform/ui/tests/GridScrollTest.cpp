// The grid's window scroll bars, the scroll messages and the wheel.
#include <gtest/gtest.h>

#include "platform/ui/tests/GridTestSupport.h"
#include "platform/win/Window.h"

namespace {

class GridScrollTest : public grid_test::GridTest {
protected:
    grid_test::RecordingGrid* MakeScrolling(int rows, TScrollStyle bars = ssBoth) {
        auto* g = MakeGrid(4, rows);
        g->SetScrollBars(bars);
        return g;
    }
    static bool Shown(TWinControl* w, DWORD bar) { return (static_cast<DWORD>(GetWindowLong(w->Handle(), GWL_STYLE)) & bar) != 0; }
    void Scroll(TWinControl* w, int code, int pos = 0) { w->Perform(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0); }
};

TEST_F(GridScrollTest, BarsAreShownOnlyWhileTheGridCanScrollThatWay) {
    auto* g = MakeScrolling(1000);
    EXPECT_TRUE(Shown(g, WS_VSCROLL));
    EXPECT_FALSE(Shown(g, WS_HSCROLL));  // four columns fit beside the bar
    int lo = -1, hi = -1;
    GetScrollRange(g->Handle(), SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 127);
    g->SetRowCount(5);
    EXPECT_FALSE(Shown(g, WS_VSCROLL));
    g->SetColCount(40);
    EXPECT_TRUE(Shown(g, WS_HSCROLL));
    g->SetScrollBars(ssVertical);
    EXPECT_FALSE(Shown(g, WS_HSCROLL));
}

TEST_F(GridScrollTest, AScrollBarControlInTheGridMovesOnlyItself) {
    auto* g = MakeScrolling(1000);
    auto* bar = new TScrollBar(g);
    bar->SetKind(sbVertical);
    bar->SetParent(g);
    int top = g->TopRow();
    bar->SetFocus();
    ui::test::Key(bar, VK_NEXT);  // WM_VSCROLL to the grid, with the bar's handle
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(g->TopRow(), top);
}

TEST_F(GridScrollTest, ScrollMessagesMoveTheTopRow) {
    auto* g = MakeScrolling(1000);
    int visible = g->VisibleRowCount();
    int last = g->RowCount() - visible;
    Scroll(g, SB_THUMBPOSITION, 127);
    EXPECT_EQ(g->TopRow(), last);
    EXPECT_EQ(GetScrollPos(g->Handle(), SB_VERT), 127);
    Scroll(g, SB_TOP);
    EXPECT_EQ(g->TopRow(), 1);
    Scroll(g, SB_LINEDOWN);
    EXPECT_EQ(g->TopRow(), 2);
    Scroll(g, SB_PAGEDOWN);
    EXPECT_EQ(g->TopRow(), 2 + visible);
    Scroll(g, SB_LINEUP);
    EXPECT_EQ(g->TopRow(), 1 + visible);
    Scroll(g, SB_BOTTOM);
    EXPECT_EQ(g->TopRow(), last);
    Scroll(g, SB_LINEDOWN);
    EXPECT_EQ(g->TopRow(), last);
    // The thumb position maps to the first scrolling row as the platform's grid maps it.
    Scroll(g, SB_THUMBPOSITION, 64);
    EXPECT_EQ(g->TopRow(), MulDiv(64, g->RowCount() - g->VisibleRowCount() - 1, 127) + 1);
    // The current cell stays where it was.
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(GridScrollTest, TheThumbIsFollowedWhileDraggedOnlyWithGoThumbTracking) {
    auto* g = MakeScrolling(1000);
    Scroll(g, SB_THUMBTRACK, 100);
    EXPECT_EQ(g->TopRow(), 1);
    g->SetOptions(g->Options() + TGridOptions{goThumbTracking});
    Scroll(g, SB_THUMBTRACK, 100);
    EXPECT_GT(g->TopRow(), 700);
}

TEST_F(GridScrollTest, AWheelNotchMovesTheCurrentRowByOne) {
    auto* g = MakeScrolling(1000);
    g->MoveColRow(2, 10, true, true);
    auto wheel = [&](int delta) { g->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta))), 0); };
    wheel(-120);
    EXPECT_EQ(g->Row(), 11);
    wheel(120);
    wheel(120);
    EXPECT_EQ(g->Row(), 9);
    // Half notches add up.
    wheel(-60);
    EXPECT_EQ(g->Row(), 9);
    wheel(-60);
    EXPECT_EQ(g->Row(), 10);
    EXPECT_EQ(g->Col(), 2);
}

TEST_F(GridScrollTest, TheViewNeverScrollsPastTheLastCellWhenTheGridGetsBigger) {
    auto* g = MakeScrolling(50);
    g->SetTopRow(1000);
    int last = g->TopRow();
    EXPECT_EQ(last, 50 - g->VisibleRowCount());
    g->SetHeight(g->Height() + 100);
    EXPECT_EQ(g->TopRow(), 50 - g->VisibleRowCount());
    EXPECT_LT(g->TopRow(), last);
}

}  // namespace
