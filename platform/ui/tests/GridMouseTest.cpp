// The grid's mouse: selecting and extending, scrolling at the edges on the timer, sizing and
// moving columns by their fixed cells.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridMouseTest : public grid_test::GridTest {};

TEST_F(GridMouseTest, ADragExtendsTheSelectionAndScrollsAtTheEdgeOnTheTimer) {
    rtl::ScopedManualClock clock;
    auto* g = MakeGrid(10, 100);
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    TRect a = g->CellRect(2, 2), b = g->CellRect(3, 5);
    ui::test::MouseDown(g, a.Left + 3, a.Top + 3);
    EXPECT_EQ(g->GridState(), gsSelecting);
    EXPECT_TRUE(g->MouseCapture());
    ui::test::MouseMove(g, b.Left + 3, b.Top + 3, MK_LBUTTON);
    EXPECT_EQ(g->Selection(), (TGridRect{2, 2, 3, 5}));
    // Held below the grid, the view scrolls a row per tick and the selection follows.
    ui::test::MouseMove(g, b.Left + 3, g->ClientHeight() + 20, MK_LBUTTON);
    ui::test::AdvanceClock(*clock, 60 * 3);
    EXPECT_EQ(g->TopRow(), 4);
    EXPECT_EQ(g->Selection().Bottom, g->TopRow() + g->VisibleRowCount() - 1);
    EXPECT_EQ(g->Row(), 2);
    ui::test::MouseUp(g, b.Left + 3, g->ClientHeight() + 20);
    EXPECT_EQ(g->GridState(), gsNormal);
    EXPECT_FALSE(g->MouseCapture());
    EXPECT_EQ(clicks, 1);
    int top = g->TopRow();
    ui::test::AdvanceClock(*clock, 600);
    EXPECT_EQ(g->TopRow(), top);
}

TEST_F(GridMouseTest, APressOnAFixedLineSizesTheColumn) {
    auto* g = MakeGrid(10, 100);
    g->SetOptions(g->Options() + TGridOptions{goColSizing});
    g->Calls.clear();
    TRect head = g->CellRect(2, 0);
    // Inside the header, away from its lines, nothing is sized.
    ui::test::Click(g, head.Left + 20, head.Top + 5);
    EXPECT_EQ(g->ColWidths(2), 64);
    ui::test::MouseDown(g, head.Right + 1, head.Top + 5);
    EXPECT_EQ(g->GridState(), gsColSizing);
    ui::test::MouseMove(g, head.Right + 31, head.Top + 5, MK_LBUTTON);
    ui::test::MouseUp(g, head.Right + 31, head.Top + 5);
    EXPECT_EQ(g->ColWidths(2), 94);
    EXPECT_EQ(g->Count("ColWidthsChanged"), 1);
    EXPECT_EQ(g->GridState(), gsNormal);
}

TEST_F(GridMouseTest, ADraggedFixedCellMovesItsColumn) {
    auto* g = MakeGrid(6, 10);
    g->SetOptions(g->Options() + TGridOptions{goColMoving});
    for (int c = 0; c < 6; ++c) g->SetCells(c, 1, String(1, char16_t(u'a' + c)));
    TRect from = g->CellRect(1, 0), to = g->CellRect(3, 0);
    ui::test::MouseDown(g, from.Left + 10, from.Top + 5);
    EXPECT_EQ(g->GridState(), gsColMoving);
    ui::test::MouseMove(g, to.Left + 10, to.Top + 5, MK_LBUTTON);
    ui::test::MouseUp(g, to.Left + 10, to.Top + 5);
    EXPECT_EQ(g->Rows(1)->CommaText(), String(u"a,c,d,b,e,f"));
    EXPECT_EQ(g->Count("ColumnMoved 1,3"), 1);
}

TEST_F(GridMouseTest, APressOnTheCurrentCellOfAnEditableGridEditsIt) {
    auto* g = MakeGrid(6, 10);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    TRect second = g->CellRect(2, 1);
    ui::test::Click(g, second.Left + 5, second.Top + 5);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_TRUE(g->InplaceEditor() == nullptr || !g->InplaceEditor()->Visible());
    ui::test::Click(g, second.Left + 5, second.Top + 5);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_TRUE(g->InplaceEditor()->Visible());
    EXPECT_EQ(clicks, 2);
}

}  // namespace
