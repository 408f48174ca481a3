// Hidden columns: the index maps, hiding and showing with the kept widths, the scope that
// raises the platform column count while rows are copied, and moved columns.
#include <stdexcept>

#include "grid/tests/GridModelSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class HiddenColumnsTest : public GridModelTest {
protected:
    // Five columns, texts "c<col>" in row 1, column 2 80 wide.
    LogGrid* FiveColumns() {
        auto* g = MakeGrid(5, 4);
        for (int c = 0; c < 5; ++c) g->SetCellEx(c, 1, u"c" + IntToStr(c));
        g->SetColWidths(2, 80);
        return g;
    }
};

TEST_F(HiddenColumnsTest, MapsHideAndShow) {
    auto* g = FiveColumns();
    for (int i : {0, 1, 4, 7, 511, 600}) {
        EXPECT_EQ(g->RealToDisplayCol(i), i);
        EXPECT_EQ(g->DisplayToRealCol(i), i);
    }
    const int w3 = g->ColWidths(3), w4 = g->ColWidths(4);
    g->HideColumn(2);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->AllColCount(), 5);
    EXPECT_EQ(g->RealToDisplayCol(3), 2);
    EXPECT_EQ(g->DisplayToRealCol(2), 3);
    EXPECT_EQ(g->RealToDisplayCol(2), 2);
    EXPECT_TRUE(g->IsHiddenColumn(2));
    EXPECT_FALSE(g->IsHiddenColumn(3));
    EXPECT_FALSE(g->IsHiddenColumn(600));
    EXPECT_EQ(g->RealCol(), g->DisplayToRealCol(g->Col()));
    // The displayed widths closed up; the hidden column's cells and width are kept.
    EXPECT_EQ(g->ColWidths(2), w3);
    EXPECT_EQ(g->ColWidths(3), w4);
    EXPECT_EQ(g->GetCellEx(2, 1), u"c2");
    EXPECT_EQ(g->GetAllColWidths(2), 80);
    // 511 shown real columns below 512 have the places 0..510: place 511 has none.
    EXPECT_EQ(g->DisplayToRealCol(511), 0);
    EXPECT_EQ(g->DisplayToRealCol(512), 512);

    // A width written while hidden changes nothing on screen and comes back with the column.
    g->SetAllColWidths(2, 90);
    EXPECT_EQ(g->ColWidths(2), w3);
    g->UnHideColumn(2);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_FALSE(g->IsHiddenColumn(2));
    EXPECT_EQ(g->ColWidths(2), 90);
    EXPECT_EQ(g->ColWidths(3), w3);
    EXPECT_EQ(g->ColWidths(4), w4);
    EXPECT_EQ(g->GetCellEx(2, 1), u"c2");
    EXPECT_EQ(g->GetAllColWidths(2), 90);
}

TEST_F(HiddenColumnsTest, RefusalsAndTheCurrentColumn) {
    auto* one = MakeGrid(1, 3);
    one->HideColumn(0);
    EXPECT_EQ(one->ColCount(), 1);
    EXPECT_EQ(one->NumHiddenColumns(), 0);

    auto* g = FiveColumns();
    g->SetCol(4);
    g->HideColumn(4);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->ColCount(), 4);
    g->HideColumn(4);  // already hidden
    g->HideColumn(9);  // no such column
    EXPECT_EQ(g->NumHiddenColumns(), 1);
    g->UnHideColumnsAll();
    EXPECT_EQ(g->ColCount(), 5);

    // Without hidden columns it only repaints.
    g->Log.clear();
    g->UnHideColumnsAll();
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->GridRequests(), 1);
}

TEST_F(HiddenColumnsTest, TheScopeRaisesAndRestoresTheCount) {
    auto* g = FiveColumns();
    g->HideColumns(1, 2);
    const int last = g->ColWidths(2);
    try {
        TVerAdevovEdav::THiddenColumnsScope outer(*g);
        EXPECT_EQ(g->ColCount(), 5);
        EXPECT_EQ(g->TotalColCount(), 5);
        {
            TVerAdevovEdav::THiddenColumnsScope inner(*g);
            EXPECT_EQ(g->ColCount(), 5);
        }
        EXPECT_EQ(g->ColCount(), 5);
        throw std::runtime_error("copy failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->TotalColCount(), 5);
    EXPECT_EQ(g->ColWidths(2), last);
}

TEST_F(HiddenColumnsTest, AMovedColumnTakesTheMapAlong) {
    auto* g = FiveColumns();
    g->HideColumn(2);
    // Displayed 3 (real 4) moves before displayed 1 (real 1): the hidden column steps right.
    g->MoveColumn(3, 1);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->GetCellEx(1, 1), u"c4");
    EXPECT_EQ(g->GetCellEx(2, 1), u"c1");
    EXPECT_TRUE(g->IsHiddenColumn(3));
    EXPECT_FALSE(g->IsHiddenColumn(2));
    EXPECT_EQ(g->GetCellEx(3, 1), u"c2");
    EXPECT_EQ(g->GetAllColWidths(3), 80);
    g->UnHideColumnsAll();
    EXPECT_EQ(g->ColWidths(3), 80);
}

}  // namespace
