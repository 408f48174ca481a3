// The string grid's cells: kept beyond the counts, moved with their rows and columns, and seen
// as string lists.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridStoreTest : public grid_test::GridTest {};

class BulkGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    using TStringGrid::ClearRowCells;
    using TStringGrid::ExchangeRowCells;
};

TEST_F(GridStoreTest, RowsExchangeAndClearTheirCellsWhole) {
    auto* g = Add<BulkGrid>();
    g->SetColCount(3);
    TStringList a;
    g->SetCells(0, 1, String(u"one"));
    g->SetCells(7, 1, String(u"beyond"));
    g->SetObjects(2, 1, &a);
    g->SetCells(1, 3, String(u"three"));
    TStrings* listOfOne = g->Rows(1);
    g->ExchangeRowCells(1, 3);
    EXPECT_EQ(g->Cells(0, 3), String(u"one"));
    EXPECT_EQ(g->Cells(7, 3), String(u"beyond"));
    EXPECT_EQ(g->Objects(2, 3), &a);
    EXPECT_EQ(g->Cells(1, 1), String(u"three"));
    EXPECT_EQ(g->Cells(0, 1), String());
    EXPECT_EQ(g->Objects(2, 1), nullptr);
    // The row list went with its cells.
    EXPECT_EQ(listOfOne, g->Rows(3));
    EXPECT_EQ(listOfOne->Get(0), String(u"one"));
    // With a row nobody wrote, and far beyond the counts.
    g->ExchangeRowCells(3, 500000);
    EXPECT_EQ(g->Cells(0, 500000), String(u"one"));
    EXPECT_EQ(g->Cells(0, 3), String());
    g->ClearRowCells(500000);
    EXPECT_EQ(g->Cells(0, 500000), String());
    EXPECT_EQ(g->Cells(7, 500000), String());
    EXPECT_EQ(g->Objects(2, 500000), nullptr);
    EXPECT_EQ(g->Cells(1, 1), String(u"three"));
    EXPECT_THROW(g->ExchangeRowCells(-1, 0), EInvalidGridOperation);
}

TEST_F(GridStoreTest, CellsOutsideTheCountsAreKeptAndShownAgainWhenTheGridGrows) {
    auto* g = Add<TStringGrid>();
    g->SetCells(7, 2, String(u"x"));
    g->SetColCount(8);
    EXPECT_EQ(g->Cells(7, 2), String(u"x"));
    g->SetColCount(3);
    g->SetColCount(8);
    EXPECT_EQ(g->Cells(7, 2), String(u"x"));

    g->SetCells(1, 2, String(u"row two"));
    g->SetRowCount(3);
    g->SetRowCount(1);
    g->SetRowCount(3);
    EXPECT_EQ(g->Cells(1, 2), String(u"row two"));

    // Far outside, too.
    g->SetCells(100000, 2000000, String(u"far"));
    EXPECT_EQ(g->Cells(100000, 2000000), String(u"far"));
    EXPECT_THROW(g->Cells(-1, 0), EInvalidGridOperation);
    EXPECT_THROW(g->SetCells(0, -1, String(u"x")), EInvalidGridOperation);
}

TEST_F(GridStoreTest, AssigningARowCopiesExactlyColCountTextsAndObjects) {
    auto* g = Add<TStringGrid>();
    g->SetColCount(3);
    TStringList a, b;
    for (int c = 0; c < 5; ++c) g->SetCells(c, 4, String(u"r4c") + String(1, char16_t(u'0' + c)));
    g->SetObjects(1, 4, &a);
    g->SetObjects(0, 1, &b);
    g->SetCells(4, 1, String(u"mine"));
    g->Rows(1)->Assign(g->Rows(4));
    EXPECT_EQ(g->Rows(1)->Count(), 3);
    EXPECT_EQ(g->Cells(0, 1), String(u"r4c0"));
    EXPECT_EQ(g->Cells(2, 1), String(u"r4c2"));
    EXPECT_EQ(g->Objects(1, 1), &a);
    EXPECT_EQ(g->Objects(0, 1), nullptr);
    // Beyond ColCount nothing was copied.
    EXPECT_EQ(g->Cells(3, 1), String());
    EXPECT_EQ(g->Cells(4, 1), String(u"mine"));
    // A shorter list empties the cells it has no items for.
    TStringList two;
    two.Add(String(u"p"));
    two.Add(String(u"q"));
    g->Rows(1)->Assign(&two);
    EXPECT_EQ(g->Rows(1)->CommaText(), String(u"p,q,"));
}

TEST_F(GridStoreTest, RowAndColumnListsReadAndWriteTheCells) {
    auto* g = Add<TStringGrid>();
    g->Rows(2)->SetCommaText(String(u"a,,c"));
    EXPECT_EQ(g->Cells(0, 2), String(u"a"));
    EXPECT_EQ(g->Cells(1, 2), String());
    EXPECT_EQ(g->Cells(2, 2), String(u"c"));
    g->Cols(3)->SetStrings(4, String(u"down"));
    EXPECT_EQ(g->Cells(3, 4), String(u"down"));
    EXPECT_EQ(g->Cols(3)->Count(), 5);
    EXPECT_THROW(g->Rows(2)->Delete(0), EInvalidGridOperation);
    EXPECT_THROW(g->Rows(2)->Strings(5), EStringListError);
    // More items than cells: the list says so instead of dropping them.
    EXPECT_THROW(g->Rows(0)->SetCommaText(String(u"1,2,3,4,5,6")), EInvalidGridOperation);
}

TEST_F(GridStoreTest, MoveColumnMovesTextsObjectsAndWidthsAndRunsColumnMovedOnce) {
    auto* g = MakeGrid(5, 5);
    TStringList obj;
    for (int c = 0; c < 5; ++c) g->SetCells(c, 1, String(1, char16_t(u'a' + c)));
    g->SetObjects(1, 2, &obj);
    g->SetColWidths(1, 40);
    std::vector<std::pair<int, int>> moved;
    g->OnColumnMoved = [&](TObject*, int from, int to) { moved.emplace_back(from, to); };
    g->MoveColRow(1, 1, true, true);
    g->Calls.clear();
    g->MoveColumn(1, 3);
    EXPECT_EQ(g->Rows(1)->CommaText(), String(u"a,c,d,b,e"));
    EXPECT_EQ(g->Objects(3, 2), &obj);
    EXPECT_EQ(g->Objects(1, 2), nullptr);
    EXPECT_EQ(g->ColWidths(3), 40);
    EXPECT_EQ(g->ColWidths(1), 64);
    EXPECT_EQ(g->Count("ColumnMoved 1,3"), 1);
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
    // The current cell moved with its column.
    EXPECT_EQ(g->Col(), 3);
}

TEST_F(GridStoreTest, MoveRowCarriesCellsHeightsAndTheRowsList) {
    auto* g = MakeGrid(3, 6);
    for (int r = 0; r < 6; ++r) g->SetCells(0, r, String(1, char16_t(u'0' + r)));
    g->SetRowHeights(4, 30);
    TStrings* four = g->Rows(4);
    g->MoveRow(4, 1);
    EXPECT_EQ(g->Cols(0)->CommaText(), String(u"0,4,1,2,3,5"));
    EXPECT_EQ(g->RowHeights(1), 30);
    EXPECT_EQ(g->Count("RowMoved 4,1"), 1);
    // The list handed out for row 4 went with its row.
    EXPECT_EQ(four->Strings(0), String(u"4"));
    EXPECT_EQ(four, g->Rows(1));
}

// On the platform a deleted row only moved past RowCount, so growing the grid brought it back.
// Here a deleted row is gone.
TEST_F(GridStoreTest, ADeletedRowOrColumnDoesNotComeBackWhenTheGridGrows) {
    auto* g = MakeGrid(4, 5);
    for (int r = 0; r < 5; ++r) g->SetCells(1, r, String(u"row") + String(1, char16_t(u'0' + r)));
    g->DeleteRow(2);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Count("RowMoved 2,4"), 1);
    EXPECT_EQ(g->Cells(1, 2), String(u"row3"));
    g->SetRowCount(5);
    EXPECT_EQ(g->Cells(1, 4), String());

    g->SetCells(2, 0, String(u"col2"));
    g->DeleteColumn(2);
    g->SetColCount(4);
    EXPECT_EQ(g->Cells(3, 0), String());
    EXPECT_EQ(g->Cells(2, 0), String());
}

TEST_F(GridStoreTest, ObjectsAreReferencesTheGridNeverFrees) {
    auto obj = std::make_unique<TStringList>();
    obj->Add(String(u"still here"));
    auto* g = Add<TStringGrid>();
    g->SetObjects(2, 2, obj.get());
    g->SetCells(2, 2, String(u"t"));
    g->SetCells(2, 2, String());
    EXPECT_EQ(g->Objects(2, 2), obj.get());  // a text written keeps the object
    g->Rows(2)->Clear();
    EXPECT_EQ(g->Objects(2, 2), nullptr);
    g->SetObjects(2, 2, obj.get());
    g->Free();
    EXPECT_EQ(obj->Strings(0), String(u"still here"));
}

TEST_F(GridStoreTest, FixedRowsThenAFewerRowCountLeavesOneFixedRow) {
    auto* g = Add<TStringGrid>();
    g->SetFixedRows(3);
    g->SetRowCount(2);
    EXPECT_EQ(g->FixedRows(), 1);
}

}  // namespace
