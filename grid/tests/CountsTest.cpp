// The grid's count writers: fixed minimums, the largest extent, fixed sizes, word wrap, the kept
// column widths and the save range.
#include <gtest/gtest.h>

#include "grid/tests/GridModelSupport.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

using CountsTest = GridModelTest;

TEST_F(CountsTest, FixedRowsAndColumnsAlwaysComeBackWhenTheGridGrows) {
    auto* g = MakeGrid(10, 10);
    g->TVerAdevovEdav::SetFixedRowAlways(true);
    g->SetFixedRows(3);
    g->SetRowCount(2);
    EXPECT_EQ(g->TBaseGrid::FixedRows(), 1);  // one scrolling row left
    g->SetRowCount(10);
    EXPECT_EQ(g->TBaseGrid::FixedRows(), 3);

    g->SetFixedColAlways(true);
    g->SetFixedCols(4);
    g->SetColCount(3);
    EXPECT_EQ(g->TBaseGrid::FixedCols(), 2);
    g->SetColCount(8);
    EXPECT_EQ(g->TBaseGrid::FixedCols(), 4);

    // A request at or above the count leaves one scrolling row; 0 fixed rows read as 1.
    g->SetFixedRows(12);
    EXPECT_EQ(g->TBaseGrid::FixedRows(), 9);
    g->SetFixedRows(0);
    EXPECT_EQ(g->TBaseGrid::FixedRows(), 0);
    EXPECT_EQ(g->FixedRows(), 1);
    g->SetFixedCols(0);
    EXPECT_EQ(g->TBaseGrid::FixedCols(), 0);
    EXPECT_EQ(g->FixedCols(), 1);
    g->TVerAdevovEdav::SetFixedRowAlways(false);
    EXPECT_EQ(g->FixedRows(), 0);
}

TEST_F(CountsTest, FixedSizesGoThroughTheirRules) {
    auto* g = MakeGrid(5, 10);
    g->SetDefaultRowHeight(22);
    g->SetFixedCols(2);
    g->SetColWidths(0, 50);
    g->SetFixedColWidth(64);  // the platform's default width: nothing
    EXPECT_EQ(g->ColWidths(0), 50);
    g->SetFixedColWidth(80);
    EXPECT_EQ(g->ColWidths(0), 80);
    EXPECT_EQ(g->ColWidths(1), 80);
    EXPECT_EQ(g->ColWidths(2), 64);
    EXPECT_EQ(g->FixedColWidth(), 80);

    g->SetFixedRowHeight(30);
    EXPECT_EQ(g->RowHeights(0), 30);
    EXPECT_EQ(g->RowHeights(1), 22);
    g->SetRowHeights(5, 40);
    g->SetFixedRowHeight(22);  // the default height: written again, every row back to it
    EXPECT_EQ(g->FixedRowHeight(), 22);
    EXPECT_EQ(g->RowHeights(0), 22);
    EXPECT_EQ(g->RowHeights(5), 22);
    EXPECT_EQ(g->FloatingFooter()->Height, 22);
}

TEST_F(CountsTest, RowCountFollowsTheNormalCountAndKeepsTheLargest) {
    auto* g = MakeGrid(5, 10);
    g->SetRowCount(50);
    EXPECT_EQ(g->NormalRowCount(), 50);
    EXPECT_EQ(g->MaxRowCount(), 50);
    g->SetRowCount(20);
    EXPECT_EQ(g->NormalRowCount(), 20);
    EXPECT_EQ(g->MaxRowCount(), 50);
    g->SetColCount(9);
    g->SetColCount(6);
    EXPECT_EQ(g->MaxColCount(), 9);
    EXPECT_EQ(g->AllRowCount(), 20);
    EXPECT_EQ(g->AllColCount(), 6);
}

TEST_F(CountsTest, WordWrapIsTheDefaultOfNewCellProperties) {
    auto* g = MakeGrid(5, 10);
    EXPECT_TRUE(g->WordWrap());
    g->SetWordWrap(false);
    EXPECT_FALSE(g->WordWrap());
    EXPECT_FALSE(g->GetCellProperties(1, 1)->WordWrap());
    EXPECT_EQ(g->GridRequests(), 1);
    g->SetWordWrap(true);
    EXPECT_TRUE(g->GetCellProperties(2, 1)->WordWrap());
}

TEST_F(CountsTest, KeptColumnWidthsReachOnlyTheFirst513Columns) {
    auto* g = MakeGrid(601, 5);
    g->SetAllColWidths(3, 77);
    EXPECT_EQ(g->ColWidths(3), 77);
    EXPECT_EQ(g->GetAllColWidths(3), 77);
    g->SetAllColWidths(600, 90);  // beyond the kept widths: the displayed width only
    EXPECT_EQ(g->ColWidths(600), 90);
    EXPECT_EQ(g->GetAllColWidths(600), 90);
    EXPECT_FALSE(g->IsHiddenColumn(600));
}

TEST_F(CountsTest, TheSaveRangeLeavesFixedCellsOutUnlessTheyAreSaved) {
    auto* g = MakeGrid(5, 10);
    g->SetFixedFooters(1);
    g->SetFixedRightCols(1);
    struct Case {
        bool FixedCells;
        int StartCol, StartRow, EndCol, EndRow, ColCount, RowCount;
    };
    for (const Case& c : {Case{false, 1, 1, 3, 8, 3, 8}, Case{true, 0, 0, 4, 9, 5, 10}}) {
        g->SetSaveFixedCells(c.FixedCells);
        SCOPED_TRACE(c.FixedCells);
        EXPECT_EQ(g->SaveStartCol(), c.StartCol);
        EXPECT_EQ(g->SaveStartRow(), c.StartRow);
        EXPECT_EQ(g->SaveEndCol(), c.EndCol);
        EXPECT_EQ(g->SaveEndRow(), c.EndRow);
        EXPECT_EQ(g->SaveColCount(), c.ColCount);
        EXPECT_EQ(g->SaveRowCount(), c.RowCount);
    }
    // Fixed columns alone, or fixed rows alone, may be saved too.
    g->SetSaveFixedCells(false);
    g->SetSaveFixedCols(true);
    EXPECT_EQ(g->SaveStartCol(), 0);
    EXPECT_EQ(g->SaveStartRow(), 1);
}

TEST_F(CountsTest, ASynchronisedGridFollowsTheCurrentColumn) {
    auto* a = MakeGrid(5, 5);
    auto* b = Add<LogGrid>(0, 260);
    b->SetColCount(5);
    a->SyncGrid()->SetGrid(b);
    a->SyncGrid()->SetSelectionColumn(true);
    b->SyncGrid()->SetGrid(a);  // both ways: no endless echo
    b->SyncGrid()->SetSelectionColumn(true);
    a->SetCol(3);
    EXPECT_EQ(b->Col(), 3);
    b->SetCol(2);
    EXPECT_EQ(a->Col(), 2);
}

}  // namespace
