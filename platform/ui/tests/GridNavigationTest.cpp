// Keys of the grid: where each key takes the current cell, and what a refusing SelectCell does.
#include <gtest/gtest.h>

#include "platform/ui/tests/GridTestSupport.h"

namespace {

struct Press {
    WORD Key;
    TShiftState Shift;
};

struct NavCase {
    const char* Name;
    TGridCoord Start;
    bool Tabs;
    std::vector<Press> Keys;
    TGridCoord Expected;
};

class GridNavigationTest : public grid_test::GridTest {};

// 10 columns, 100 rows, one fixed row and column, a 300 x 200 client: 7 rows are shown whole.
TEST_F(GridNavigationTest, KeysTakeTheCurrentCellWhereThePlatformGridDoes) {
    const std::vector<NavCase> cases = {
        {"Down", {1, 1}, false, {{VK_DOWN, {}}}, {1, 2}},
        {"Up at the first row stays", {1, 1}, false, {{VK_UP, {}}}, {1, 1}},
        {"Left", {5, 5}, false, {{VK_LEFT, {}}}, {4, 5}},
        {"Page Down by the visible rows", {1, 1}, false, {{VK_NEXT, {}}}, {1, 8}},
        {"Page Up by the visible rows", {1, 50}, false, {{VK_PRIOR, {}}}, {1, 43}},
        {"Page Down near the end stops at the last row", {1, 95}, false, {{VK_NEXT, {}}}, {1, 99}},
        {"Ctrl+End", {1, 1}, false, {{VK_END, {ssCtrl}}}, {9, 99}},
        {"End then Home", {1, 5}, false, {{VK_END, {}}, {VK_HOME, {}}}, {1, 5}},
        {"End", {3, 5}, false, {{VK_END, {}}}, {9, 5}},
        {"Ctrl+Home", {9, 99}, false, {{VK_HOME, {ssCtrl}}}, {1, 1}},
        {"Tab", {1, 1}, true, {{VK_TAB, {}}}, {2, 1}},
        {"Tab at the end of a row wraps", {9, 1}, true, {{VK_TAB, {}}}, {1, 2}},
        {"Shift+Tab wraps into the previous row", {1, 2}, true, {{VK_TAB, {ssShift}}}, {9, 1}},
        {"Tab without goTabs stays", {1, 1}, false, {{VK_TAB, {}}}, {1, 1}},
        {"Down on the last row stays", {1, 99}, false, {{VK_DOWN, {}}}, {1, 99}},
    };
    for (const NavCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* g = MakeGrid(10, 100);
        if (c.Tabs) g->SetOptions(g->Options() + TGridOptions{goTabs});
        g->MoveColRow(c.Start.X, c.Start.Y, true, true);
        for (const Press& p : c.Keys) ui::test::Key(g, p.Key, String(), p.Shift);
        EXPECT_EQ(g->Col(), c.Expected.X);
        EXPECT_EQ(g->Row(), c.Expected.Y);
        // The current cell is always shown whole.
        EXPECT_GE(g->Row(), g->TopRow());
        EXPECT_LT(g->Row(), g->TopRow() + g->VisibleRowCount());
        g->Free();
    }
}

TEST_F(GridNavigationTest, PageDownMovesTheViewWithTheCurrentCell) {
    auto* g = MakeGrid(10, 100);
    ASSERT_EQ(g->VisibleRowCount(), 7);
    ui::test::Key(g, VK_NEXT);
    EXPECT_EQ(g->Row(), 8);
    EXPECT_EQ(g->TopRow(), 8);
}

TEST_F(GridNavigationTest, ARefusingSelectCellBlocksTheMoveAndTheKeyChangesNothing) {
    auto* g = MakeGrid(10, 100);
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    std::vector<TGridCoord> asked;
    g->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
        asked.push_back({c, r});
        can = false;
    };
    for (WORD key : {VK_DOWN, VK_NEXT, VK_END}) ui::test::Key(g, key);
    EXPECT_EQ(asked, (std::vector<TGridCoord>{{1, 2}, {1, 8}, {9, 1}}));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(g->LeftCol(), 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(GridNavigationTest, ShiftExtendsTheSelectionFromTheCurrentCellWithRangeSelect) {
    auto* g = MakeGrid(10, 100);
    g->MoveColRow(3, 3, true, true);
    ui::test::Key(g, VK_DOWN, String(), {ssShift});
    ui::test::Key(g, VK_LEFT, String(), {ssShift});
    ui::test::Key(g, VK_LEFT, String(), {ssShift});
    // The current cell stays; the anchor went down and left, so Left > Right.
    EXPECT_EQ(g->Selection(), (TGridRect{3, 3, 1, 4}));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 3);
    // A plain key collapses it again.
    ui::test::Key(g, VK_DOWN);
    EXPECT_EQ(g->Selection(), (TGridRect{3, 4, 3, 4}));

    g->SetOptions(g->Options() - TGridOptions{goRangeSelect});
    ui::test::Key(g, VK_DOWN, String(), {ssShift});
    EXPECT_EQ(g->Selection(), (TGridRect{3, 5, 3, 5}));
}

TEST_F(GridNavigationTest, RowSelectMovesWholeRowsAndScrollsSideways) {
    auto* g = MakeGrid(10, 100);
    g->SetOptions(g->Options() + TGridOptions{goRowSelect});
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 9, 1}));
    ui::test::Key(g, VK_END);
    EXPECT_EQ(g->Row(), 99);
    EXPECT_EQ(g->Selection(), (TGridRect{1, 99, 9, 99}));
    ui::test::Key(g, VK_RIGHT);
    EXPECT_EQ(g->LeftCol(), 2);
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(GridNavigationTest, TheGridClaimsTheArrowsAndTabOnlyWithGoTabs) {
    auto* g = MakeGrid(10, 100);
    EXPECT_EQ(g->Perform(WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTTAB), DLGC_WANTARROWS);
    g->SetOptions(g->Options() + TGridOptions{goTabs});
    EXPECT_EQ(g->Perform(WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTTAB), DLGC_WANTARROWS | DLGC_WANTTAB);
}

}  // namespace
