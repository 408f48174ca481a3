// Counts, sizes and where the cells stand on screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridGeometryTest : public grid_test::GridTest {};

TEST_F(GridGeometryTest, ANewGridHasThePlatformGridsDefaults) {
    auto* g = Add<TStringGrid>();
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->DefaultColWidth(), 64);
    EXPECT_EQ(g->DefaultRowHeight(), 24);
    EXPECT_EQ(g->GridLineWidth(), 1);
    EXPECT_EQ(g->FixedColor(), clBtnFace);
    EXPECT_EQ(g->Color(), clWindow);
    EXPECT_EQ(g->ScrollBars(), ssBoth);
    EXPECT_EQ(g->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(GridGeometryTest, VisibleCountsAndCellRectsOfA300By200Client) {
    auto* g = MakeGrid(10, 100);
    EXPECT_EQ(g->VisibleColCount(), 3);
    EXPECT_EQ(g->VisibleRowCount(), 7);
    EXPECT_EQ(g->CellRect(1, 1), TRect(65, 25, 129, 49));
    EXPECT_EQ(g->CellRect(0, 0), TRect(0, 0, 64, 24));
    // The partly shown fourth column is clipped to the client area.
    EXPECT_EQ(g->CellRect(4, 1), TRect(260, 25, 300, 49));
    // Cells not on screen: beyond the view, and scrolled out above it.
    EXPECT_EQ(g->CellRect(1, 50), TRect());
    EXPECT_EQ(g->CellRect(9, 1), TRect());
    g->SetTopRow(10);
    EXPECT_EQ(g->CellRect(1, 5), TRect());
    EXPECT_EQ(g->CellRect(1, 10), TRect(65, 25, 129, 49));
    // Fixed cells stay where they are.
    EXPECT_EQ(g->CellRect(0, 0), TRect(0, 0, 64, 24));
}

TEST_F(GridGeometryTest, MouseToCellInvertsCellRectAndAnswersMinusOneOutsideTheCells) {
    auto* g = MakeGrid(3, 4);  // the cells end at 195 x 100, inside the client area
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            TRect cell = g->CellRect(c, r);
            ASSERT_FALSE(cell.IsEmpty());
            for (TPoint p : {cell.TopLeft(), Point(cell.Right - 1, cell.Bottom - 1), Point((cell.Left + cell.Right) / 2, cell.Top + 3)}) {
                int col = -2, row = -2;
                g->MouseToCell(p.X, p.Y, col, row);
                EXPECT_EQ(col, c) << p.X << "," << p.Y;
                EXPECT_EQ(row, r) << p.X << "," << p.Y;
            }
        }
    }
    for (TPoint p : {Point(250, 10), Point(10, 150), Point(-1, 10), Point(10, 200)}) {
        EXPECT_EQ(g->MouseCoord(p.X, p.Y), (TGridCoord{-1, -1})) << p.X << "," << p.Y;
    }
}

TEST_F(GridGeometryTest, SizesMoveTheCellsAndIndexesOutsideTheGridAreRefused) {
    auto* g = MakeGrid(10, 100);
    g->SetColWidths(1, 120);
    g->SetRowHeights(1, 40);
    EXPECT_EQ(g->CellRect(2, 2), TRect(186, 66, 250, 90));
    EXPECT_EQ(g->VisibleColCount(), 2);
    EXPECT_THROW(g->ColWidths(10), EInvalidGridOperation);
    EXPECT_THROW(g->SetRowHeights(100, 5), EInvalidGridOperation);
    EXPECT_THROW(g->RowHeights(-1), EInvalidGridOperation);
    // A new default resets every size, also when it is the same default.
    g->SetDefaultRowHeight(24);
    EXPECT_EQ(g->RowHeights(1), 24);
    g->SetDefaultColWidth(30);
    EXPECT_EQ(g->ColWidths(1), 30);
    // A hidden column takes no room.
    g->SetColWidths(2, -1);
    EXPECT_EQ(g->CellRect(3, 1).Left, g->CellRect(1, 1).Right + 1);
}

TEST_F(GridGeometryTest, FixedCountsFollowTheCountsAndMayNotReachThem) {
    auto* g = MakeGrid(10, 100);
    EXPECT_THROW(g->SetFixedCols(10), EInvalidGridOperation);
    EXPECT_THROW(g->SetFixedRows(-1), EInvalidGridOperation);
    g->SetFixedRows(3);
    // A new fixed count makes the first scrolling cell current.
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->TopRow(), 3);
    g->SetRowCount(2);
    EXPECT_EQ(g->FixedRows(), 1);
    g->SetColCount(0);
    EXPECT_EQ(g->ColCount(), 1);
    EXPECT_EQ(g->FixedCols(), 0);
}

TEST_F(GridGeometryTest, CountAndSizeChangesRunTheirHooks) {
    auto* g = MakeGrid(10, 100);
    g->Calls.clear();
    g->SetColCount(12);
    g->SetRowCount(50);
    g->SetColWidths(3, 10);
    g->SetDefaultRowHeight(20);
    g->SetRowHeights(2, 30);
    EXPECT_EQ(g->Count("SizeChanged 10,100"), 1);
    EXPECT_EQ(g->Count("SizeChanged 12,100"), 1);
    EXPECT_EQ(g->Count("ColWidthsChanged"), 1);
    EXPECT_EQ(g->Count("RowHeightsChanged"), 2);
}

}  // namespace

// The sums of sizes equal a plain walk over the sizes after every kind of change: single sizes
// (kept up to date in the index), default sizes, counts and moves (the index built again).
TEST_F(GridGeometryTest, WidthBeforeAndHeightAboveFollowEveryChangeOfTheSizes) {
    auto* g = Add<TStringGrid>();
    auto check = [g](const char* after) {
        int64_t w = 0;
        for (int c = 0; c <= g->ColCount(); ++c) {
            ASSERT_EQ(g->WidthBefore(c), w) << after << ", column " << c;
            if (c < g->ColCount()) w += std::max(0, g->ColWidths(c));
        }
        int64_t h = 0;
        for (int r = 0; r <= g->RowCount(); ++r) {
            ASSERT_EQ(g->HeightAbove(r), h) << after << ", row " << r;
            if (r < g->RowCount()) h += std::max(0, g->RowHeights(r));
        }
    };
    g->SetColCount(40);
    g->SetRowCount(300);
    check("counts, default sizes");
    g->SetColWidths(3, 10);
    g->SetRowHeights(7, 100);
    check("first sizes");
    g->SetRowHeights(299, 5);
    g->SetRowHeights(0, -1);  // hidden: takes no room
    g->SetColWidths(39, 0);
    check("sizes changed with the index built");
    g->MoveRow(7, 200);
    g->MoveColumn(3, 30);
    check("moves");
    g->SetRowCount(500);
    g->SetRowHeights(450, 77);
    check("grown");
    g->SetRowCount(100);
    check("shrunk");
    g->SetDefaultRowHeight(13);
    check("default height");
    EXPECT_THROW(g->HeightAbove(101), EInvalidGridOperation);
    EXPECT_THROW(g->WidthBefore(-1), EInvalidGridOperation);
}
