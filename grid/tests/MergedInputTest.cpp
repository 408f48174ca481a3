// Keys, scrolling and cell selection around merged blocks: the current cell steps over blocks and
// ends on base cells, never on a fixed cell, and blocks are repainted whole.
#include "grid/tests/GridModelSupport.h"
#include "platform/ui/SystemInfo.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;
using ui::test::Key;

class MergedInputTest : public GridModelTest {};

TEST_F(MergedInputTest, ArrowKeysStepOverBlocksAndEndOnBaseCells) {
    auto* g = MakeGrid(10, 12);
    g->SetOptions(g->Options() >> goRangeSelect);
    g->MergeCells(2, 2, 3, 2);  // (2, 2) .. (4, 3)
    g->MergeCells(1, 6, 2, 2);  // (1, 6) .. (2, 7), at the first scrolling column
    g->MergeCells(7, 1, 2, 2);  // (7, 1) .. (8, 2), at the first scrolling row
    std::vector<TGridCoord> asked;
    g->OnSelectCell = [&](TObject*, int c, int r, bool&) { asked.push_back({c, r}); };
    // Right and Down land on the first cell after the block; Left and Up from a covered cell
    // (to: -1, -1) are only required to end on a base cell.
    struct Case {
        TGridCoord from;
        WORD key;
        TGridCoord to;
    };
    const Case cases[] = {
        {{2, 2}, VK_RIGHT, {5, 2}},   {{2, 2}, VK_DOWN, {2, 4}},    {{3, 3}, VK_RIGHT, {5, 3}},
        {{3, 3}, VK_DOWN, {3, 4}},    {{1, 6}, VK_RIGHT, {3, 6}},   {{1, 6}, VK_DOWN, {1, 8}},
        {{2, 7}, VK_RIGHT, {3, 7}},   {{5, 2}, VK_LEFT, {2, 2}},    {{2, 4}, VK_UP, {2, 2}},
        {{4, 3}, VK_LEFT, {-1, -1}},  {{3, 3}, VK_UP, {-1, -1}},    {{2, 7}, VK_LEFT, {-1, -1}},
        {{2, 7}, VK_UP, {-1, -1}},    {{8, 2}, VK_UP, {-1, -1}},    {{8, 2}, VK_LEFT, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.from.X << ", " << c.from.Y << ") key " << c.key);
        // A covered cell becomes current only with range selection.
        g->SetOptions(g->Options() << goRangeSelect);
        g->MoveColRow(c.from.X, c.from.Y, true, true);
        g->SetOptions(g->Options() >> goRangeSelect);
        ASSERT_EQ((TGridCoord{g->Col(), g->Row()}), c.from);
        asked.clear();
        Key(g, c.key);
        if (c.to.X >= 0) {
            EXPECT_EQ((TGridCoord{g->Col(), g->Row()}), c.to);
        }
        EXPECT_TRUE(g->IsBaseCell(g->Col(), g->Row()));
        // Never a fixed (or negative) column or row on the way.
        for (TGridCoord a : asked) EXPECT_TRUE(a.X >= g->FixedCols() && a.Y >= g->FixedRows()) << a.X << "," << a.Y;
    }
}

TEST_F(MergedInputTest, PageDownOnTheLastPageStopsAboveTheHiddenLastRow) {
    auto* g = MakeGrid(5, 20);  // nine scrolling rows shown
    ASSERT_EQ(g->VisibleRowCount(), 9);
    g->SetHideLastRow(true);
    g->MoveColRow(1, 12, true, true);
    g->SetTopRow(11);  // rows 11 .. 19: the last page
    Key(g, VK_NEXT);
    EXPECT_EQ(g->Row(), 18);
    // Without the hidden row the platform's page step reaches the last row.
    g->SetHideLastRow(false);
    g->MoveColRow(1, 12, true, true);
    g->SetTopRow(11);
    Key(g, VK_NEXT);
    EXPECT_EQ(g->Row(), 19);
}

TEST_F(MergedInputTest, ScrollingRepaintsTheMergedFixedCellsOfTheVisibleRowsAndColumns) {
    auto* g = MakeGrid(20, 40);
    g->MergeCells(0, 3, 1, 3);   // fixed column, rows 3 .. 5
    g->MergeCells(0, 30, 1, 2);  // far below the view
    g->MergeCells(7, 0, 2, 1);   // fixed row, columns 7 and 8
    g->Log.clear();
    g->SetTopRow(4);
    for (int r : {4, 5}) EXPECT_GE(g->CellRequests(0, r), 1) << r;
    EXPECT_EQ(g->CellRequests(0, 3), 0);   // above the view
    EXPECT_EQ(g->CellRequests(0, 30), 0);  // below it
    EXPECT_EQ(g->CellRequests(7, 0), 0);   // not in the visible columns yet
    g->Log.clear();
    g->SetLeftCol(5);
    EXPECT_GE(g->CellRequests(7, 0), 1);
    EXPECT_GE(g->CellRequests(8, 0), 1);
}

TEST_F(MergedInputTest, ChangingTheCurrentCellRepaintsBothCellsOrTheWholeGridRightToLeft) {
    auto* g = MakeGrid(8, 10);
    g->MergeCells(3, 3, 2, 2);
    g->MoveColRow(1, 1, true, true);
    g->Log.clear();
    g->MoveColRow(3, 3, true, true);
    EXPECT_GE(g->CellRequests(1, 1), 1);
    EXPECT_GE(g->CellRequests(3, 3), 1);
    EXPECT_EQ(g->GridRequests(), 0);

    struct MiddleEast {
        MiddleEast() { SysLocale.MiddleEast = true; }
        ~MiddleEast() { SysLocale.MiddleEast = false; }
    } rtl;
    g->SetBiDiMode(bdRightToLeft);
    ASSERT_TRUE(g->UseRightToLeftReading());
    g->Log.clear();
    g->MoveColRow(5, 5, true, true);
    EXPECT_EQ(g->GridRequests(), 1);
    EXPECT_EQ(g->CellRequests(3, 3), 0);
}

TEST_F(MergedInputTest, TheWheelKeepsTheCurrentCellOnABaseCell) {
    auto* g = MakeGrid(8, 20);
    g->MergeCells(1, 3, 2, 3);  // rows 3 .. 5
    g->MoveColRow(1, 2, true, true);
    TPoint at = g->ClientToScreen(Point(100, 100));
    g->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint16_t>(-120)) << 16, PointToLParam(at.X, at.Y));
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(g->IsBaseCell(g->Col(), g->Row()));
    g->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint16_t>(-120)) << 16, PointToLParam(at.X, at.Y));
    // Down from the block's base lands in the block; the current cell goes back to its base.
    EXPECT_EQ(g->Row(), 3);
}

}  // namespace
