// The value list editor: keys and values of "key=value" lines under a title row.
#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/ValEdit.h"
#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridValueListTest : public grid_test::GridTest {
protected:
    TValueListEditor* MakeList() {
        form->SetBounds(0, 0, 640, 480);
        auto* v = Add<TValueListEditor>(0, 0);
        v->Strings()->Add(String(u"a=1"));
        v->Strings()->Add(String(u"b=2"));
        form->Show();
        return v;
    }
};

TEST_F(GridValueListTest, KeysAndValuesOfTheLinesUnderTheTitles) {
    auto* v = MakeList();
    EXPECT_EQ(v->RowCount(), 3);
    EXPECT_EQ(v->ColCount(), 2);
    EXPECT_EQ(v->FixedRows(), 1);
    EXPECT_EQ(v->Keys(1), String(u"a"));
    EXPECT_EQ(v->Values(String(u"b")), String(u"2"));
    EXPECT_EQ(v->Cells(1, 2), String(u"2"));
    EXPECT_EQ(v->Cells(0, 0), String(u"Key"));
    EXPECT_EQ(v->Cells(1, 0), String(u"Value"));
    EXPECT_THROW(v->Keys(3), EInvalidGridOperation);
    // The rows follow the lines.
    v->SetValues(String(u"c"), String());
    EXPECT_EQ(v->RowCount(), 4);
    EXPECT_EQ(v->Keys(3), String(u"c"));
    v->Strings()->Clear();
    EXPECT_EQ(v->RowCount(), 2);  // one empty row stays
    v->SetDisplayOptions(v->DisplayOptions() - TDisplayOptions{doColumnTitles});
    EXPECT_EQ(v->FixedRows(), 0);
    EXPECT_EQ(v->RowCount(), 1);
}

TEST_F(GridValueListTest, ADoubleClickFiresOnDblClickAndAClickSelectsARow) {
    auto* v = MakeList();
    int dbl = 0;
    std::vector<int> rows;
    v->OnDblClick = [&](TObject*) { ++dbl; };
    v->OnSelectCell = [&](TObject*, int, int r, bool&) { rows.push_back(r); };
    TRect cell = v->CellRect(0, 2);
    LPARAM at = PointToLParam(cell.Left + 4, cell.Top + 4);
    v->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    v->Perform(WM_LBUTTONUP, 0, at);
    v->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    v->Perform(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(rows, (std::vector<int>{2}));
    EXPECT_EQ(v->Row(), 2);
}

TEST_F(GridValueListTest, WithTheVerticalBarOnlyALongListShowsNoHorizontalBar) {
    auto* v = MakeList();
    v->SetScrollBars(ssVertical);
    v->Strings()->BeginUpdate();
    v->Strings()->Clear();
    for (int n = 0; n < 256; ++n) v->Strings()->Add(IntToStr(n) + String(u": x=") + IntToStr(n));
    v->Strings()->EndUpdate();
    EXPECT_EQ(v->RowCount(), 257);
    DWORD style = static_cast<DWORD>(GetWindowLong(v->Handle(), GWL_STYLE));
    EXPECT_NE(style & WS_VSCROLL, 0u);
    EXPECT_EQ(style & WS_HSCROLL, 0u);
    // The value column fills what the key column and the bar leave.
    EXPECT_EQ(v->ColWidths(0) + v->ColWidths(1) + 2 * v->GridLineWidth(), v->ClientWidth());
}

TEST_F(GridValueListTest, AValueEditedInPlaceGoesIntoTheLines) {
    auto* v = MakeList();
    v->SetFocus();
    v->MoveColRow(1, 1, true, true);
    ASSERT_NE(v->InplaceEditor(), nullptr);
    EXPECT_TRUE(v->InplaceEditor()->Visible());
    v->InplaceEditor()->SelectAll();
    ui::test::TypeText(v->InplaceEditor(), String(u"9"));
    EXPECT_EQ(v->Strings()->Strings(0), String(u"a=9"));
    // Keys are not edited in place.
    v->MoveColRow(0, 1, true, true);
    EXPECT_FALSE(v->InplaceEditor()->Visible());
}

}  // namespace
