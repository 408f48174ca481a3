// Hidden rows: the maps, hiding and showing ranges and lists with their cells, properties,
// heights and hidden columns' cells, the items, access by real row and the row writers.
#include <string>
#include <vector>

#include "grid/tests/GridModelSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ExtCtrls.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class HiddenRowsTest : public GridModelTest {
protected:
    // Rows r0..r9: text "r<i>" in column 1, a colour in column 2 of the odd rows, height 20 + i,
    // and "h<i>" in real column 3, which is hidden.
    LogGrid* TenRows() {
        auto* g = MakeGrid(5, 10, 400, 400);
        for (int r = 0; r < 10; ++r) {
            g->SetCellEx(1, r, u"r" + IntToStr(r));
            g->SetCellEx(3, r, u"h" + IntToStr(r));
            if (r % 2) g->SetColors(2, r, static_cast<TColor>(0x100 + r));
            g->SetRowHeights(r, 20 + r);
        }
        g->HideColumn(3);
        return g;
    }
    // What each displayed row shows: "r3 h3 23 259".
    static std::vector<std::string> Shown(LogGrid* g) {
        std::vector<std::string> rows;
        for (int r = 0; r < g->RowCount(); ++r) {
            auto text = [&](int c) { return g->GetCellEx(c, r).ToUtf8(); };
            rows.push_back(text(1) + " " + text(3) + " " + std::to_string(g->RowHeights(r)) + " " +
                           std::to_string(g->GetColors(2, r)));
        }
        return rows;
    }
    static std::vector<std::string> Without(std::vector<std::string> rows, std::vector<int> gone) {
        for (auto it = gone.rbegin(); it != gone.rend(); ++it) rows.erase(rows.begin() + *it);
        return rows;
    }
};

TEST_F(HiddenRowsTest, RangesHideAndComeBackWhole) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> hide;    // HideRows
        std::vector<std::pair<int, int>> unhide;  // UnHideRows; none: UnHideRowsAll
        std::vector<int> hiddenAfter;             // real rows out after hiding
        std::vector<int> hiddenAtEnd;             // real rows still out at the end
    };
    const Case cases[] = {
        {"range", {{3, 4}}, {{3, 4}}, {3, 4}, {}},
        {"range over a hidden row", {{4, 4}, {3, 5}}, {{3, 5}}, {3, 4, 5}, {}},
        {"all hidden already", {{3, 4}, {3, 4}}, {{3, 4}}, {3, 4}, {}},
        {"first of range shown", {{4, 4}}, {{3, 4}}, {4}, {4}},
        {"all", {{2, 3}, {7, 7}}, {}, {2, 3, 7}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* g = TenRows();
        const auto before = Shown(g);
        for (auto [from, to] : c.hide) g->HideRows(from, to);
        EXPECT_EQ(g->RowCount(), 10 - static_cast<int>(c.hiddenAfter.size()));
        EXPECT_EQ(g->NumHiddenRows(), static_cast<int>(c.hiddenAfter.size()));
        EXPECT_EQ(g->TotalRowCount(), 10);
        EXPECT_EQ(Shown(g), Without(before, c.hiddenAfter));
        for (int r : c.hiddenAfter) EXPECT_TRUE(g->IsHiddenRow(r)) << r;
        if (c.unhide.empty())
            g->UnHideRowsAll();
        else
            for (auto [from, to] : c.unhide) g->UnHideRows(from, to);
        EXPECT_EQ(Shown(g), Without(before, c.hiddenAtEnd));
        EXPECT_EQ(g->NumHiddenRows(), static_cast<int>(c.hiddenAtEnd.size()));
        g->Free();
    }
}

TEST_F(HiddenRowsTest, Maps) {
    auto* g = TenRows();
    g->HideRows(3, 4);
    EXPECT_EQ(g->RowCount(), 8);
    EXPECT_EQ(g->RealToDisplayRow(5), 3);
    EXPECT_EQ(g->DisplayToRealRow(3), 5);
    EXPECT_EQ(g->DisplayToRealRow(2), 2);
    EXPECT_EQ(g->RealToDisplayRow(4), 3);  // a hidden row: the next shown row's place
    EXPECT_EQ(g->DisplayToRealRow(20), 22);
    EXPECT_TRUE(g->IsHiddenRow(4));
    EXPECT_FALSE(g->IsHiddenRow(5));
    g->SetRow(3);
    EXPECT_EQ(g->RealRow(), 5);
    // The maps agree with each other on every shown row.
    g->HideRow(8);
    for (int d = 0; d < g->RowCount(); ++d) EXPECT_EQ(g->RealToDisplayRow(g->DisplayToRealRow(d)), d);
}

TEST_F(HiddenRowsTest, ListsAndTheirLevels) {
    // Two lists; undoing one brings back the second only.
    auto* g = TenRows();
    const auto before = Shown(g);
    TIntList first(0, 0), second(0, 0);
    first.SetStrValue(u"2,5");
    second.SetStrValue(u"1,3");
    g->HideRowList(&first);
    const auto afterFirst = Shown(g);
    EXPECT_EQ(afterFirst, Without(before, {2, 5}));
    // The rest closed up with their heights; each item keeps its level.
    EXPECT_EQ(g->RowHeights(2), 23);
    for (int i = 0; i < g->GridItems()->Count(); ++i)
        EXPECT_EQ(static_cast<TGridItem*>(g->GridItems()->Items(i))->Level(), 0);
    g->HideRowList(&second);
    EXPECT_EQ(g->FilterLevel(), 2);
    EXPECT_EQ(g->RowCount(), 6);
    g->UnHideRowList();
    EXPECT_EQ(Shown(g), afterFirst);
    EXPECT_EQ(g->NumHiddenRows(), 2);
    // At level 1 every hidden row comes back and the items empty.
    g->SetFilterLevel(1);
    g->HideRow(8);
    g->UnHideRowList();
    EXPECT_EQ(Shown(g), before);
    EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST_F(HiddenRowsTest, AFloatingFootersRowStaysLast) {
    auto* g = TenRows();
    g->FloatingFooter()->Visible = true;
    // The footer row keeps its text, properties and height at the end.
    const auto before = Shown(g);
    TIntList first(0, 0), second(0, 0);
    first.SetStrValue(u"2,5,9");  // the footer's row is no row to hide
    second.SetStrValue(u"1,3");
    g->HideRowList(&first);
    const auto afterFirst = Shown(g);
    EXPECT_EQ(afterFirst, Without(before, {2, 5}));
    g->HideRowList(&second);
    EXPECT_EQ(Shown(g), Without(before, {1, 2, 4, 5}));  // displayed 1 and 3: r1 and r4
    g->UnHideRowList();
    EXPECT_EQ(Shown(g), afterFirst);
    g->HideRows(6, 9);
    EXPECT_EQ(Shown(g), Without(before, {2, 5, 6, 7, 8}));
    g->SetFilterLevel(1);
    g->UnHideRowList();
    EXPECT_EQ(Shown(g), before);
    EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST_F(HiddenRowsTest, ListUndoneOverRowsHiddenOtherwise) {
    // A row hidden by its real index shares level 0 with the list: all come back in order.
    auto* g = TenRows();
    const auto before = Shown(g);
    g->HideRow(5);
    TIntList list(0, 0);
    list.SetStrValue(u"2,6");
    g->HideRowList(&list);
    EXPECT_EQ(Shown(g), Without(before, {2, 5, 7}));
    g->UnHideRowList();
    EXPECT_EQ(Shown(g), before);
    EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST_F(HiddenRowsTest, AccessByRealRowAndItems) {
    auto* g = TenRows();
    g->HideRows(3, 4);
    TIntList* cache = nullptr;
    EXPECT_TRUE(g->IsHiddenRow(4, cache));
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->Count(), 2);
    EXPECT_FALSE(g->IsHiddenRow(5, cache));
    delete cache;

    TStrings* items = g->HiddenRowItems(4);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ((*items)[1], u"r4");
    EXPECT_EQ((*items)[3], u"h4");
    EXPECT_EQ(g->HiddenRowItems(5), nullptr);
    // Real row 4 is read in its item; displayed row 4 is r6.
    g->OnGetDisplText = [](TObject*, int, int, String& v) { v = u"<" + v + u">"; };
    EXPECT_EQ(g->GetCellsEx(1, 4), u"<r4>");
    EXPECT_EQ(g->GetCellEx(1, 4), u"<r6>");
    g->OnGetDisplText = nullptr;
    g->SetCellsEx(12, 4, u"far");
    EXPECT_EQ(items->Count(), 13);
    EXPECT_EQ((*items)[12], u"far");
    g->SetCellsEx(1, 5, u"five");
    EXPECT_EQ(g->GetCellEx(1, 3), u"five");

    // Discarded items free what they hold (the sanitizer build checks).
    g->GridItems()->Clear();
    EXPECT_EQ(g->RowCount(), 8);
}

TEST_F(HiddenRowsTest, RowWriters) {
    auto* g = MakeGrid(4, 30);
    const int top = g->TopRow();
    g->SetTopRow(0);
    EXPECT_EQ(g->TopRow(), top);
    g->SetTopRow(30);
    EXPECT_EQ(g->TopRow(), top);
    g->SetTopRow(5);
    EXPECT_EQ(g->TopRow(), 5);

    std::vector<std::pair<int, int>> changes;
    g->OnRowChanged = [&](TObject*, int o, int n) { changes.push_back({o, n}); };
    g->SetRow(7);
    g->SetRow(7);
    g->SetRow(9);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), (std::pair{7, 9}));
    for (size_t i = 1; i < changes.size(); ++i) EXPECT_NE(changes[i].first, changes[i].second);
    EXPECT_EQ(changes.size(), 2u);

    // Disjunct: the selection goes into the row flags; a synchronised grid follows.
    auto* other = MakeGrid(4, 30);
    g->SyncGrid()->SetGrid(other);
    g->SyncGrid()->SetSelectionRow(true);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRow(12);
    EXPECT_TRUE(g->GetRowSelect(12));
    EXPECT_EQ(other->Row(), 12);
    g->SyncGrid()->SetGrid(nullptr);
}

TEST_F(HiddenRowsTest, CellControlsFollowHiddenRows) {
    auto* g = MakeGrid(4, 12);
    auto* first = NewComponent<TPanel>(form);
    auto* below = NewComponent<TPanel>(form);
    g->SetCellControls(1, 3, first);
    g->SetCellControls(2, 6, below);
    auto over = [&](int c, int r) {
        TRect cell = g->CellRect(c, r);
        return Rect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom);
    };
    g->HideRows(3, 4);
    EXPECT_FALSE(first->Visible());
    // Real row 6 is displayed row 4 now.
    EXPECT_TRUE(below->Visible());
    EXPECT_EQ(below->BoundsRect(), over(2, 4));
    g->UnHideRows(3, 4);
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(first->BoundsRect(), over(1, 3));
    EXPECT_EQ(below->BoundsRect(), over(2, 6));
}

TEST_F(HiddenRowsTest, RowWriterMovesInsideFromAColumnOutside) {
    auto* g = MakeGrid(6, 30);
    g->MoveCurrentCell(5, 2);
    // While the columns shrink the current column still stands beyond them.
    std::pair<int, int> seen{-1, -1};
    g->DuringSizeChange = [&] {
        if (g->Col() < g->ColCount()) return;
        g->SetRow(4);
        seen = {g->Col(), g->Row()};
    };
    g->SetColCount(3);
    EXPECT_EQ(seen, (std::pair{g->FixedCols(), 4}));
    EXPECT_EQ(g->Col(), g->FixedCols());
    EXPECT_EQ(g->Row(), 4);
    g->DuringSizeChange = nullptr;
    // Inside the grid the column stays.
    g->MoveCurrentCell(2, 4);
    g->SetRow(6);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 6);
}

}  // namespace
