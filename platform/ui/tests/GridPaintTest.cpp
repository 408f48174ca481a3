// What a small grid looks like: fixed cells in FixedColor, the others in Color, the lines and
// the focused cell's frame, read back from a rendered picture.
#include <gtest/gtest.h>

#include "platform/ui/tests/DrawnTestSupport.h"
#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridPaintTest : public grid_test::GridTest {};

int32_t Rgb(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

TEST_F(GridPaintTest, FixedCellsNormalCellsLinesAndTheFocusFrame) {
    auto* g = MakeGrid(4, 4, 240, 110);
    g->SetCells(1, 0, String(u"Head"));
    g->SetCells(1, 2, String(u"text"));
    g->MoveColRow(2, 2, true, true);
    ui::test::Picture pic = drawn_test::Snapshot(g, "grid");
    ASSERT_EQ(pic.Width, 240);
    // Fixed cell (0, 1): inside its raised edge, the button face.
    TRect fixed = g->CellRect(0, 1);
    EXPECT_EQ(pic.At(fixed.Left + 10, fixed.Top + 10), Rgb(clBtnFace));
    // A normal cell: the window colour.
    TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(pic.At(cell.Left + 30, cell.Top + 10), Rgb(clWindow));
    // The lines: silver between normal cells, black between fixed ones.
    EXPECT_EQ(pic.At(cell.Right, cell.Top + 10), Rgb(clSilver));
    EXPECT_EQ(pic.At(cell.Left + 30, cell.Bottom), Rgb(clSilver));
    EXPECT_EQ(pic.At(fixed.Right, fixed.Top + 10), Rgb(clBlack));
    // The focused cell's dotted frame inverts some of its edge pixels.
    TRect focus = g->CellRect(2, 2);
    int dark = 0;
    for (int x = focus.Left; x < focus.Right; ++x) dark += pic.At(x, focus.Top) != Rgb(clWindow);
    EXPECT_GT(dark, focus.Width() / 4);
    EXPECT_LT(dark, focus.Width());
    // Text is drawn in the cells that have it, not in the others.
    auto inked = [&](const TRect& r, int32_t bg) {
        int n = 0;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x) n += pic.At(x, y) != bg;
        return n;
    };
    EXPECT_GT(inked(g->CellRect(1, 2), Rgb(clWindow)), 10);
    EXPECT_EQ(inked(g->CellRect(3, 3), Rgb(clWindow)), 0);
    // Past the last column: the window colour.
    EXPECT_EQ(pic.At(239, 50), Rgb(clWindow));
}

TEST_F(GridPaintTest, ASelectedRangeIsHighlightedButTheFocusedCellIsNot) {
    auto* g = MakeGrid(4, 4, 240, 110);
    g->SetSelection({1, 1, 2, 2});
    ui::test::Picture pic = drawn_test::Snapshot(g, "range");
    TRect focused = g->CellRect(1, 1), other = g->CellRect(2, 2);
    EXPECT_EQ(pic.At(focused.Left + 30, focused.Top + 10), Rgb(clWindow));
    EXPECT_EQ(pic.At(other.Left + 30, other.Top + 10), Rgb(clHighlight));
    g->SetOptions(g->Options() + TGridOptions{goDrawFocusSelected});
    pic = drawn_test::Snapshot(g, "range2");
    EXPECT_EQ(pic.At(focused.Left + 30, focused.Top + 10), Rgb(clHighlight));
}

}  // namespace
