// The check before every move of the current cell (blocks, nodes, the editing switch, the
// validation, the after-effects), the selection listener and the queries on the selection.
#include "grid/tests/GridModelSupport.h"
#include "platform/ui/StdCtrls.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class SelectionTest : public GridModelTest {};

struct Listener : ITVerAdevovEdavSelect {
    std::vector<TGridCoord> told;
    void SelectionChanged(int ACol, int ARow) override { told.push_back({ACol, ARow}); }
};

// A grid with nodes, or one whose validation refuses.
class NodeGrid : public LogGrid {
public:
    using LogGrid::LogGrid;
    bool HasNodes() override { return true; }
};
class StrictGrid : public LogGrid {
public:
    using LogGrid::LogGrid;
    int validations = 0;
    bool ValidateCell(const String& Value) override {
        ++validations;
        return Value != u"bad";
    }
};

TEST_F(SelectionTest, BlocksNegativeCellsAndNodes) {
    auto* g = MakeGrid(6, 6);
    g->SetOptions(g->Options() >> goRangeSelect);
    g->MergeCells(2, 2, 2, 2);
    g->MoveColRow(1, 1, true, true);
    // A covered cell: the base becomes current, the anchor with it, and the move is refused.
    EXPECT_FALSE(g->SelectCell(3, 3));
    EXPECT_EQ((TGridCoord{g->Col(), g->Row()}), (TGridCoord{2, 2}));
    EXPECT_EQ(g->Selection(), (TGridRect{2, 2, 2, 2}));
    EXPECT_TRUE(g->SelectCell(4, 4));
    // With range selection a covered cell may be selected.
    g->SetOptions(g->Options() << goRangeSelect);
    EXPECT_TRUE(g->SelectCell(3, 3));
    EXPECT_FALSE(g->SelectCell(-1, 3));
    EXPECT_FALSE(g->SelectCell(3, -1));

    // Column 0 of a grid with nodes, without fixed columns.
    auto* n = Add<NodeGrid>(0, 300);
    n->SetColCount(4);
    n->SetRowCount(5);
    n->SetFixedCols(0);
    ASSERT_EQ(n->FixedCols(), 0);
    EXPECT_FALSE(n->SelectCell(0, 2));
    EXPECT_TRUE(n->SelectCell(1, 2));
    n->SetOptions(n->Options() << goRowSelect);
    EXPECT_TRUE(n->SelectCell(0, 2));
    g->SetFixedCols(0);
    EXPECT_TRUE(g->SelectCell(0, 2));  // no nodes: column 0 is a cell like the others
}

TEST_F(SelectionTest, EditingFollowsTheTargetCell) {
    auto* g = MakeGrid(6, 6);
    g->SetOptions(g->Options() << goEditing);
    g->SetReadOnly(3, 3, true);
    g->MoveColRow(2, 2, true, true);
    EXPECT_TRUE(g->Options().Contains(goEditing));
    g->MoveColRow(3, 3, true, true);
    EXPECT_FALSE(g->Options().Contains(goEditing));
    EXPECT_TRUE(g->EditDisable());
    g->MoveColRow(2, 3, true, true);
    EXPECT_TRUE(g->Options().Contains(goEditing));
    EXPECT_FALSE(g->EditDisable());
    // Only a double click edits.
    g->MouseActions()->SetEditOnDblClickOnly(true);
    g->MoveColRow(2, 2, true, true);
    EXPECT_FALSE(g->Options().Contains(goEditing));
    g->MoveColRow(4, 4, true, true);
    EXPECT_FALSE(g->Options().Contains(goEditing));
}

TEST_F(SelectionTest, AFailedValidationKeepsTheCellAndItsEntryText) {
    form->SetBounds(0, 0, 640, 480);
    auto* g = Add<StrictGrid>(0, 0);
    g->SetBounds(0, 0, 400, 250);
    g->SetColCount(6);
    g->SetRowCount(6);
    auto* other = Add<TEdit>(0, 300);
    form->Show();
    other->SetFocus();
    ui::test::Pump();
    g->SetOptions(g->Options() << goEditing << goAlwaysShowEditor);
    g->SetCellEx(2, 2, u"old");
    g->MoveColRow(2, 2, true, true);
    EXPECT_EQ(g->CellCache(), u"old");
    g->ShowInplaceEdit();
    ASSERT_NE(g->NormalEdit(), nullptr);
    ASSERT_TRUE(g->NormalEdit()->Visible());
    ASSERT_FALSE(g->NormalEdit()->Focused());
    g->NormalEdit()->SetText(u"bad");
    EXPECT_FALSE(g->SelectCell(3, 3));
    EXPECT_GE(g->validations, 1);
    EXPECT_EQ((TGridCoord{g->Col(), g->Row()}), (TGridCoord{2, 2}));
    EXPECT_EQ(g->CellCache(), u"old");
    g->NormalEdit()->SetText(u"good");
    EXPECT_TRUE(g->SelectCell(3, 3));
}

TEST_F(SelectionTest, AfterEffects) {
    auto* g = MakeGrid(8, 8);
    std::vector<std::pair<int, int>> changed;
    g->OnRowChanged = [&](TObject*, int o, int n) { changed.push_back({o, n}); };
    Listener l;
    g->RegisterSelListener(&l);
    g->MoveColRow(2, 3, true, true);
    const int first = changed.empty() ? -99 : changed.back().second;
    EXPECT_EQ(first, 3);
    changed.clear();
    g->MoveColRow(4, 3, true, true);  // only the column
    EXPECT_TRUE(changed.empty());
    g->MoveColRow(4, 5, true, true);
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{3, 5}}));
    ASSERT_FALSE(l.told.empty());
    EXPECT_EQ(l.told.back(), (TGridCoord{4, 5}));
    // Not while loading.
    changed.clear();
    g->BeginLoading();
    g->MoveColRow(4, 6, true, true);
    g->Loaded();
    EXPECT_TRUE(changed.empty());

    // The header cells of the old and the new current cell.
    g->SetActiveCellShow(true);
    g->MoveColRow(2, 3, true, true);
    g->Log.clear();
    g->MoveColRow(5, 6, true, true);
    for (TGridCoord c : {TGridCoord{2, 0}, TGridCoord{5, 0}, TGridCoord{0, 3}, TGridCoord{0, 6}})
        EXPECT_GE(g->CellRequests(c.X, c.Y), 1) << c.X << "," << c.Y;

    // Unregistering with another listener forgets the registered one.
    Listener stranger;
    g->UnRegisterSelListener(&stranger);
    EXPECT_EQ(g->SelListener(), nullptr);
    size_t told = l.told.size();
    g->MoveColRow(3, 3, true, true);
    EXPECT_EQ(l.told.size(), told);
    EXPECT_TRUE(stranger.told.empty());
}

TEST_F(SelectionTest, CountsOfSelectedColumnsRowsAndCells) {
    auto* g = MakeGrid(10, 12);
    g->MergeCells(2, 2, 3, 1);  // columns 2..4 of row 2
    g->MergeCells(1, 5, 1, 3);  // rows 5..7 of column 1
    struct Case {
        TGridRect sel;
        int cols, rows;
    };
    const Case cases[] = {
        {{2, 2, 2, 2}, 3, 1},  // the block by its base
        {{2, 2, 4, 2}, 3, 1},  // the block whole
        {{1, 5, 1, 5}, 1, 3},
        {{5, 3, 7, 4}, 3, 2},
        {{7, 4, 5, 3}, 3, 2},  // backwards
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sel.Left << "," << c.sel.Top << "," << c.sel.Right << "," << c.sel.Bottom);
        g->SelectCells(c.sel.Left, c.sel.Top, c.sel.Right, c.sel.Bottom);
        EXPECT_EQ(g->SelectedColCount(), c.cols);
        EXPECT_EQ(g->SelectedRowCount(), c.rows);
    }

    g->SelectCells(5, 3, 6, 5);  // 2 columns x 3 rows
    EXPECT_EQ(g->SelectedCellsCount(), 6);
    EXPECT_EQ(g->SelectedCell(0), (TGridCoord{5, 3}));
    EXPECT_EQ(g->SelectedCell(5), (TGridCoord{6, 5}));
    g->MoveColRow(7, 8, true, true);
    EXPECT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_EQ(g->SelectedCell(0), (TGridCoord{7, 8}));

    // SelectedRow counts from the upper edge, whichever way the selection was made.
    for (TGridRect sel : {TGridRect{2, 3, 4, 5}, TGridRect{4, 5, 2, 3}}) {
        g->SelectCells(sel.Left, sel.Top, sel.Right, sel.Bottom);
        EXPECT_EQ(g->SelectedRow(0), 3);
        EXPECT_EQ(g->SelectedRow(2), 5);
        EXPECT_EQ(g->SelectedRow(3), -1);
        // Every cell inside is selected, forwards or backwards; fixed cells never.
        EXPECT_TRUE(g->IsSelected(3, 4));
        EXPECT_TRUE(g->IsSelected(2, 3));
        EXPECT_TRUE(g->IsSelected(4, 5));
        EXPECT_FALSE(g->IsSelected(5, 4));
        EXPECT_TRUE(g->GetSelectedCells(3, 4));
    }
    g->SelectCells(0, 0, 3, 3);
    EXPECT_FALSE(g->IsSelected(0, 2));
    EXPECT_TRUE(g->IsSelected(1, 2));
}

TEST_F(SelectionTest, DisjunctCellsKeepLargeRowsApart) {
    auto* g = MakeGrid(4, 10);
    g->SetRowCount(1000000);
    g->MouseActions()->SetDisjunctCellSelect(true);
    g->SetSelectedCells(2, 999999, true);
    g->SetSelectedCells(1, 65536, true);
    g->SetSelectedCells(1, 65536, true);  // already there
    g->SetSelectedCells(3, 4, true);
    ASSERT_EQ(g->SelectedCellsCount(), 3);
    EXPECT_EQ(g->SelectedCell(0), (TGridCoord{2, 999999}));
    EXPECT_EQ(g->SelectedCell(1), (TGridCoord{1, 65536}));
    EXPECT_TRUE(g->IsSelected(2, 999999));
    EXPECT_FALSE(g->IsSelected(2, 999999 - 65536));
    EXPECT_FALSE(g->IsSelected(1, 0 + 65536 + 1));
    g->SetSelectedCells(1, 65536, false);
    EXPECT_EQ(g->SelectedCellsCount(), 2);
    EXPECT_TRUE(g->GetSelectedCells(3, 4));
    // Clearing makes the selection the first scrolling cell and empties the list.
    g->MouseActions()->SetDisjunctCellSelect(false);
    g->SelectCells(2, 2, 3, 3);
    g->ClearSelectedCells();
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 1}));
    g->MouseActions()->SetDisjunctCellSelect(true);
    EXPECT_EQ(g->SelectedCellsCount(), 0);
}

TEST_F(SelectionTest, SelectedText) {
    auto* g = MakeGrid(6, 6);
    g->SetCellEx(1, 1, u"a");
    g->SetCellEx(2, 1, u"b");
    g->SetCellEx(1, 2, u"c");
    g->SetCellEx(2, 2, u"d");
    g->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(g->SelectedText(), u"a\tb\r\nc\td");
    g->SelectCells(2, 2, 1, 1);  // backwards: the same text
    EXPECT_EQ(g->SelectedText(), u"a\tb\r\nc\td");

    g->SetCellEx(3, 3, u"x\r\ny");
    g->SetCellEx(4, 3, u"{\\rtf1\\ansi plain}");
    g->SetMultilineCells(true);
    g->SelectCells(3, 3, 4, 3);
    EXPECT_EQ(g->SelectedText(), u"x\r\ny\tplain");
    g->SetExcelClipboardFormat(true);
    EXPECT_EQ(g->SelectedText(), u"\"x\vy\"\tplain");

    // Used cells.
    auto* e = MakeGrid(8, 8);
    EXPECT_EQ(e->UsedCells(), (TGridRect{0, 0, 0, 0}));
    e->SetCellEx(3, 5, u"t");
    EXPECT_EQ(e->UsedCells(), (TGridRect{3, 5, 3, 5}));
}

TEST_F(SelectionTest, NotifiersAndModifiedRows) {
    auto* g = MakeGrid(4, 4);
    struct Notifier : TGridChangeNotifier {
        using TGridChangeNotifier::TGridChangeNotifier;
        int told = 0;
        void CellsChanged(const TRect&) override { ++told; }
    };
    auto* n = NewComponent<Notifier>(form);
    g->RegisterNotifier(n);
    g->RegisterNotifier(n);
    g->CellsChanged(TRect(1, 1, 1, 1));
    EXPECT_EQ(n->told, 1);
    g->UnRegisterNotifier(n);
    g->CellsChanged(TRect(1, 1, 1, 1));
    EXPECT_EQ(n->told, 1);

    g->Log.clear();
    g->ClearModifiedRows();
    EXPECT_EQ(g->GridRequests(), 1);
}

}  // namespace
