// Disjunct row and column flags with their errors and events, the selection operations,
// modified and disabled rows, and the view helpers.
#include <string>
#include <vector>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/StdCtrls.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class RowFlagsTest : public GridModelTest {};

void ExpectError(const std::function<void()>& f, const char16_t* message) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const EZedUdidError& e) {
        EXPECT_EQ(e.Message(), String(message));
    }
}

TEST_F(RowFlagsTest, FlagsGrowAndRefuseOutsideRows) {
    auto* g = MakeGrid(5, 60);
    g->MouseActions()->SetDisjunctRowSelect(true);
    EXPECT_FALSE(g->GetRowSelect(50));
    EXPECT_EQ(g->RowSelectList()->Count(), 51);
    ExpectError([&] { g->GetRowSelect(70); }, u"Invalid row 70 accessed");
    ExpectError([&] { g->SetRowSelect(-1, true); }, u"Invalid row accessed");
    ExpectError([&] { g->SetRowSelect(60, true); }, u"Invalid row accessed");
    ExpectError([&] { g->GetColSelect(5); }, u"Invalid column accessed");
    ExpectError([&] { g->SetColSelect(-1, true); }, u"Invalid column accessed");
    EXPECT_EQ(g->RowSelectList()->Count(), 51);
    g->SetColSelect(3, true);
    EXPECT_TRUE(g->GetColSelect(3));
    EXPECT_EQ(g->ColSelectCount(), 1);
}

TEST_F(RowFlagsTest, DisjunctSelectionEvents) {
    auto* g = MakeGrid(5, 20);
    g->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::string> events;
    bool veto = false;
    g->OnRowDisjunctSelect = [&](TObject*, int r, bool s, bool& allow) {
        events.push_back("select " + std::to_string(r) + (s ? " on" : " off"));
        allow = !veto;
    };
    g->OnRowDisjunctSelected = [&](TObject*, int r) { events.push_back("selected " + std::to_string(r)); };
    g->SetRowSelect(7, true);
    g->SetRowSelect(7, true);
    g->SetRowSelect(3, true);
    g->SetRowSelect(9, true);
    EXPECT_EQ(events, (std::vector<std::string>{"select 7 on", "selected 7", "selected 7", "select 3 on",
                                                "selected 3", "select 9 on", "selected 9"}));
    EXPECT_EQ(g->SelectedRowsList()->StrValue(), u"7,3,9");
    events.clear();
    veto = true;
    g->SetRowSelect(3, false);
    g->SetRowSelect(11, true);
    EXPECT_EQ(events, (std::vector<std::string>{"select 3 off", "select 11 on"}));
    EXPECT_TRUE(g->GetRowSelect(3));
    EXPECT_FALSE(g->GetRowSelect(11));
    EXPECT_EQ(g->RowSelectCount(), 3);
    veto = false;
    g->SetRowSelect(3, false);
    EXPECT_EQ(g->SelectedRowsList()->StrValue(), u"7,9");
    g->ClearRowSelect();
    EXPECT_EQ(g->RowSelectCount(), 0);
    EXPECT_EQ(g->SelectedRowsList()->Count(), 0);
}

TEST_F(RowFlagsTest, SelectionOperations) {
    auto* g = MakeGrid(5, 60);
    g->SetSelection({1, 5, 3, 3});
    EXPECT_EQ(g->RowSelectCount(), 3);
    g->SelectRows(55, 10);
    EXPECT_EQ(g->Selection(), (TGridRect{1, 55, 4, 59}));

    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SelectRows(57, 10);
    EXPECT_EQ(g->RowSelectCount(), 3);
    g->UnSelectRows(58, 1);
    EXPECT_EQ(g->SelectedRowsList()->StrValue(), u"57,59");
    g->ClearRowSelect();
    g->SetSelection({1, 3, 4, 5});
    g->SelectionToRowSelect(false);
    EXPECT_EQ(g->SelectedRowsList()->StrValue(), u"3,4,5");
    EXPECT_FALSE(g->GetRowSelect(2));
    EXPECT_FALSE(g->GetRowSelect(6));
}

TEST_F(RowFlagsTest, ModifiedAndDisabledRows) {
    auto* g = MakeGrid(5, 10);
    g->SetRowModified(3, true);
    EXPECT_EQ(g->ModifiedRowsList()->Count(), 4);
    EXPECT_GE(g->CellRequests(0, 3), 1);
    g->SetRowModified(5, true);
    g->ModifiedRowsList()->SetInteger(4, 2);  // not 1: not modified
    EXPECT_EQ(g->ModifiedRowCount(), 2);
    EXPECT_TRUE(g->GetRowModified(5));
    EXPECT_FALSE(g->GetRowModified(4));
    EXPECT_FALSE(g->GetRowModified(40));

    g->SetRow(3);
    g->SetRowEnabled(1, false);
    g->SetRowEnabled(3, false);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_FALSE(g->GetRowEnabled(3));
    // Refused while SkipDisabledRows is on.
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 2);
    g->SetRowEnabled(2, true);  // the current row: moves as well
    EXPECT_EQ(g->Row(), 4);
    g->Navigation()->SetSkipDisabledRows(false);
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(RowFlagsTest, ViewHelpers) {
    auto* g = MakeGrid(5, 40, 400, 250);
    g->RepaintRect({-1, 1, 2, 2});
    EXPECT_TRUE(g->Log.empty());
    g->RepaintRect({1, 1, 2, 30});  // row 30 is not on screen
    ASSERT_EQ(g->Log.size(), 1u);
    EXPECT_EQ(g->Log[0].Area, g->ClientRect());
    g->Log.clear();
    g->RepaintRow(2);
    ASSERT_EQ(g->Log.size(), 1u);
    TRect r;
    UnionRect(r, g->CellRect(0, 2), g->CellRect(4, 2));
    EXPECT_LE(g->Log[0].Area.Left, r.Left);
    EXPECT_GE(g->Log[0].Area.Right, r.Right);
    g->Log.clear();
    g->RepaintCol(2);
    UnionRect(r, g->CellRect(2, 0), g->CellRect(2, g->TopRow() + g->VisibleRowCount() - 1));
    ASSERT_EQ(g->Log.size(), 1u);
    EXPECT_LE(g->Log[0].Area.Top, r.Top);
    EXPECT_GE(g->Log[0].Area.Bottom, r.Bottom);

    g->SetCellEx(1, 1, u"a");
    g->SetColors(1, 1, clRed);
    g->SetCellEx(2, 3, u"b");
    TObject* props = g->GetGridObject(1, 1);
    g->Log.clear();
    g->SwapCells({1, 1}, {2, 3});
    EXPECT_EQ(g->GetCellEx(1, 1), u"b");
    EXPECT_EQ(g->GetCellEx(2, 3), u"a");
    EXPECT_EQ(g->GetGridObject(2, 3), props);
    EXPECT_EQ(g->GetGridObject(1, 1), nullptr);
    EXPECT_EQ(g->GetColors(2, 3), clRed);
    EXPECT_TRUE(g->Log.empty());

    auto* edit = Add<TEdit>(0, 300);
    edit->SetText(u"typed");
    std::vector<std::string> seen;
    g->OnEditChange = [&](TObject*, int c, int r, const String& v) {
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + " " + v.ToUtf8());
    };
    g->SetFixedEditCell(2, 0);
    g->FixedCellEditChange(edit);
    EXPECT_EQ(seen, (std::vector<std::string>{"2,0 typed"}));
}

TEST_F(RowFlagsTest, LastRowAboveTheSearchPanel) {
    auto* g = MakeGrid(3, 20, 300, 240);
    EXPECT_FALSE(g->LastRowAboveSearchPanel());  // no search footer
    // Scrolled to the end before the panel shows: the last row fills the view to its bottom.
    g->SetTopRow(19);
    const int top = g->TopRow();
    ASSERT_GT(top, g->FixedRows());
    const int last = g->RowCount() - 1;
    EXPECT_GT(g->CellRect(0, last).Bottom, g->ClientHeight() - 32);
    g->SearchFooter()->SetVisible(true);
    ASSERT_NE(g->SearchPanel(), nullptr);
    g->SearchPanel()->SetHeight(32);
    EXPECT_EQ(g->TopRow(), top);
    EXPECT_FALSE(g->LastRowAboveSearchPanel());

    g->AdjustTopRowForSearchPanel();
    const int limit = g->ClientHeight() - 32 + 2;
    const int bottom = g->CellRect(0, last).Bottom;
    EXPECT_GT(g->TopRow(), top);
    EXPECT_LT(bottom, limit);
    // No further than needed: one row less and the last row would reach under the panel.
    EXPECT_GE(bottom + g->RowHeights(g->TopRow() - 1) + g->GridLineWidth(), limit);
    EXPECT_TRUE(g->LastRowAboveSearchPanel());
    const int adjusted = g->TopRow();

    // Going to the last row from the top shows it above the panel too.
    g->SetTopRow(g->FixedRows());
    g->MoveCurrentCell(1, last);
    EXPECT_EQ(g->TopRow(), adjusted);
    EXPECT_LT(g->CellRect(0, last).Bottom, limit);

    // Without the panel the view keeps no empty space after the last row.
    g->SearchFooter()->SetVisible(false);
    EXPECT_EQ(g->TopRow(), top);
    g->SearchFooter()->SetVisible(true);
    g->SetRowCount(5);
    EXPECT_TRUE(g->LastRowAboveSearchPanel());
}

}  // namespace
