// Merged cells: the representation, the queries, merging and splitting, and the geometry of
// cells and blocks also out of view.
#include <functional>

#include "grid/tests/GridModelSupport.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class MergeTest : public GridModelTest {};

TPoint Spans(LogGrid* g, int c, int r) {
    TCellProperties* p = g->GetCellProperties(c, r);
    return {p->CellSpanX(), p->CellSpanY()};
}

// One grid taken through merges and splits, step by step, with the merge counter after each.
TEST_F(MergeTest, MergingAndSplittingStepByStep) {
    auto* g = MakeGrid(8, 10);
    struct Step {
        const char* name;
        std::function<void(LogGrid*)> act;
        int mergeCount;
        std::function<void(LogGrid*)> check;
    };
    const Step steps[] = {
        {"a 3 x 2 block at (1, 1)", [](LogGrid* g) { g->MergeCells(1, 1, 3, 2); }, 1,
         [](LogGrid* g) {
             EXPECT_EQ(Spans(g, 1, 1), Point(2, 1));
             EXPECT_TRUE(g->GetCellProperties(1, 1)->IsBaseCell());
             EXPECT_EQ(Spans(g, 3, 2), Point(2, 1));
             EXPECT_FALSE(g->GetCellProperties(3, 2)->IsBaseCell());
             EXPECT_EQ(Spans(g, 2, 1), Point(1, 0));
             EXPECT_EQ(g->BaseCell(3, 2), Point(1, 1));
             int bc, br;
             EXPECT_FALSE(g->FindBaseCell(3, 2, bc, br));
             EXPECT_EQ(Point(bc, br), Point(1, 1));
             EXPECT_EQ(g->CellExt(2, 1), Point(1, 1));
             EXPECT_EQ(g->CellExt(1, 1), Point(2, 1));
             EXPECT_EQ(g->FullCell(2, 2), Rect(1, 1, 3, 2));
             EXPECT_EQ(g->CellSpan(3, 2), Point(2, 1));
             EXPECT_TRUE(g->IsMergedCell(1, 1));
             EXPECT_TRUE(g->IsMergedNonBaseCell(3, 2));
             EXPECT_FALSE(g->IsMergedNonBaseCell(1, 1));
             EXPECT_TRUE(g->IsXMergedCell(2, 2));
             EXPECT_TRUE(g->IsYMergedCell(2, 2));
             EXPECT_FALSE(g->IsMergedCell(4, 1));
             // Every cell of the block was repainted.
             for (int c = 1; c <= 3; ++c)
                 for (int r = 1; r <= 2; ++r) EXPECT_GE(g->CellRequests(c, r), 1) << c << "," << r;
         }},
        {"a one-cell block", [](LogGrid* g) { g->MergeCells(5, 5, 1, 1); }, 2,
         [](LogGrid* g) {
             EXPECT_EQ(Spans(g, 5, 5), Point(0, 0));
             EXPECT_FALSE(g->IsMergedCell(5, 5));
             EXPECT_EQ(g->CellSpan(5, 5), Point(0, 0));
             EXPECT_EQ(g->CellRect(5, 5), g->VirtualCellRect(5, 5));
         }},
        {"a span below 1 merges nothing", [](LogGrid* g) { g->MergeCells(6, 6, 0, 3); }, 3,
         [](LogGrid* g) {
             EXPECT_FALSE(g->HasCellProperties(6, 6));
             EXPECT_FALSE(g->HasCellProperties(6, 7));
         }},
        {"split from a covered cell", [](LogGrid* g) { g->SplitCells(3, 2); }, 2,
         [](LogGrid* g) {
             for (int c = 1; c <= 3; ++c) {
                 for (int r = 1; r <= 2; ++r) {
                     EXPECT_EQ(Spans(g, c, r), Point(-1, -1)) << c << "," << r;
                     EXPECT_TRUE(g->IsBaseCell(c, r));
                 }
             }
             EXPECT_EQ(g->BaseCell(3, 2), Point(3, 2));
         }},
        {"split an unmerged cell", [](LogGrid* g) { g->SplitCells(6, 8); }, 1,
         [](LogGrid* g) {
             EXPECT_TRUE(g->HasCellProperties(6, 8));
             EXPECT_EQ(Spans(g, 6, 8), Point(-1, -1));
             EXPECT_FALSE(g->HasCellProperties(6, 7));
         }},
        {"a merge over an older block overwrites it", [](LogGrid* g) {
             g->MergeCells(1, 1, 2, 2);
             g->MergeCells(2, 2, 2, 2);
         },
         3,
         [](LogGrid* g) {
             EXPECT_EQ(g->BaseCell(2, 2), Point(2, 2));
             EXPECT_EQ(Spans(g, 2, 2), Point(1, 1));
             EXPECT_EQ(g->BaseCell(2, 1), Point(1, 1));  // what was left of the old block
         }},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        g->Log.clear();
        s.act(g);
        EXPECT_EQ(g->MergeCount(), s.mergeCount);
        s.check(g);
    }
}

TEST_F(MergeTest, SpanComparisonsOfRowsAndColumns) {
    auto* g = MakeGrid(8, 10);
    // No vertical merge in either row.
    g->MergeCells(1, 1, 2, 1);
    EXPECT_FALSE(g->RowSpanIdentical(1, 2));
    EXPECT_EQ(g->MinRowSpan(1), g->RowCount());
    EXPECT_EQ(g->MaxRowSpan(1), 0);
    // A two-column block over both columns.
    EXPECT_TRUE(g->ColSpanIdentical(1, 2));
    // One column with a block in some row, the other none there.
    g->MergeCells(3, 4, 2, 1);  // columns 3 and 4
    EXPECT_FALSE(g->ColSpanIdentical(4, 5));
    // Rows of one vertical block share their base row; two separate blocks do not.
    g->MergeCells(5, 5, 1, 3);
    EXPECT_TRUE(g->RowSpanIdentical(5, 7));
    EXPECT_EQ(g->MinRowSpan(6), 2);
    EXPECT_EQ(g->MaxRowSpan(6), 2);
    g->MergeCells(6, 5, 1, 2);  // rows 5, 6
    g->MergeCells(6, 7, 1, 2);  // rows 7, 8: column 6 breaks it
    EXPECT_FALSE(g->RowSpanIdentical(6, 7));
    EXPECT_TRUE(g->RowSpanIdentical(5, 6));
    EXPECT_EQ(g->MinRowSpan(7), 1);
    EXPECT_EQ(g->MaxRowSpan(7), 2);
}

TEST_F(MergeTest, CellGeometryAlsoOutOfView) {
    auto* g = MakeGrid(12, 40);  // 400 x 250: fixed column and row, 64 x 24 cells
    g->SetColWidths(3, 30);
    g->SetLeftCol(4);
    g->SetTopRow(10);
    // Left of LeftCol and above TopRow: where they would be, before the client area.
    EXPECT_EQ(g->VirtualCellRect(2, 5), Rect(-30, -96, 34, -72));
    EXPECT_EQ(g->VirtualCellRect(3, 9), Rect(34, 0, 64, 24));
    EXPECT_EQ(g->VirtualCellRect(4, 10), Rect(64, 24, 128, 48));
    // Fixed cells stay where they are along their fixed direction.
    EXPECT_EQ(g->VirtualCellRect(0, 5), Rect(0, -96, 64, -72));
    EXPECT_EQ(g->VirtualCellRect(2, 0), Rect(-30, 0, 34, 24));
    EXPECT_EQ(g->VirtualCellRect(0, 0), Rect(0, 0, 64, 24));
    // On screen an unmerged cell's rectangle is the platform's; off screen it has none.
    EXPECT_EQ(g->CellRect(4, 10), g->VirtualCellRect(4, 10));
    EXPECT_EQ(g->CellRect(2, 5), TRect());
    // A block's size is the whole block's, scrolled out of view or not.
    g->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(g->CellSize(2, 2), Point(64 + 64 + 30, 48));
    EXPECT_EQ(g->CellSize(1, 1), Point(158, 48));
    EXPECT_EQ(g->CellRect(3, 2), Rect(-94, -192, 64, -144));
}

TEST_F(MergeTest, ABlockEndingInAColumnOfNoWidthStillIncludesIt) {
    auto* g = MakeGrid(12, 40);
    g->MergeCells(1, 1, 2, 1);
    g->SetColWidths(2, 0);
    TRect first = g->VirtualCellRect(1, 1), last = g->VirtualCellRect(2, 1);
    EXPECT_TRUE(last.IsEmpty());
    TRect block = g->CellRect(1, 1);
    EXPECT_EQ(block.Left, first.Left);
    EXPECT_EQ(block.Right, last.Left);  // up to the column's place
    EXPECT_EQ(g->CellSize(1, 1), Point(64, 24));
    // A block of columns without width keeps a pixel either side of their place.
    g->SetColWidths(3, 0);
    g->SetColWidths(4, 0);
    g->MergeCells(3, 2, 2, 1);
    int at = g->VirtualCellRect(3, 2).Left;
    EXPECT_EQ(g->CellRect(4, 2), Rect(at - 1, 48, at + 1, 72));
}

}  // namespace
