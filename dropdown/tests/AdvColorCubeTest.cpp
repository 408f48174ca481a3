// The colour cube: its cells, hit test, selection by colour, the mouse and the RGB hint.
#include <gtest/gtest.h>

#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"

namespace {

using dropdown_test::DropDownTest;

class ColorCubeTest : public DropDownTest {
protected:
    TAdvColorCubePanel* cube = nullptr;
    int selects = 0, hides = 0;
    void SetUp() override {
        DropDownTest::SetUp();
        cube = Make<TAdvColorCubePanel>(10, 10);
        cube->ResetCubePanel();
        cube->OnSelect = [this](TObject* sender) { selects += sender == cube; };
        ui::test::Pump();
    }
};

TEST_F(ColorCubeTest, CellsSizeAndHitTest) {
    EXPECT_EQ(cube->Width(), 182);
    EXPECT_EQ(cube->Height(), 160);
    const struct {
        int cell, x, y;
        uint32_t color;
    } cells[] = {
        {1, 55, 20, 0x663300},   {7, 127, 20, 0x660000},  {8, 49, 30, 0x666600},  {64, 91, 80, 0xFFFFFF},
        {58, 19, 80, 0x003300},  {70, 163, 80, 0x660066}, {71, 25, 90, 0x006633}, {127, 127, 140, 0x2100A5},
    };
    for (const auto& c : cells) {
        EXPECT_EQ(cube->Cell(c.cell).X, c.x) << c.cell;
        EXPECT_EQ(cube->Cell(c.cell).Y, c.y) << c.cell;
        EXPECT_EQ(cube->Cell(c.cell).Color, static_cast<TColor>(c.color)) << c.cell;
        EXPECT_EQ(cube->CellAtPos(c.x, c.y), c.cell);
    }
    EXPECT_EQ(cube->CellAtPos(55, 26), 1) << "exactly 6 pixels away";
    EXPECT_EQ(cube->CellAtPos(55, 27), -1);
    EXPECT_EQ(cube->CellAtPos(61, 20), 1) << "of two cells in reach the lower number";
    EXPECT_EQ(cube->CellAtPos(61, 14), -1);

    cube->SetSelectedColor(static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(cube->SelectedIndex(), 64);
    cube->SetSelectedColor(static_cast<TColor>(0x123456));
    EXPECT_EQ(cube->SelectedIndex(), -1);
    EXPECT_EQ(cube->SelectedColor(), static_cast<TColor>(0x123456));
}

TEST_F(ColorCubeTest, MouseSelectsHintsAndAsksToHide) {
    ui::test::MouseDown(cube, 61, 14);
    EXPECT_EQ(selects, 0) << "between cells";
    EXPECT_EQ(cube->SelectedIndex(), -1);
    ui::test::MouseUp(cube, 61, 14);

    ui::test::MouseMove(cube, 55, 21);
    EXPECT_EQ(cube->HotIndex(), 1);
    EXPECT_EQ(cube->Hint(), String(u"Red: 0,  Green: 51,  Blue: 102"));
    ui::test::MouseMove(cube, 0, 0);
    EXPECT_EQ(cube->Hint(), String());
    EXPECT_EQ(cube->HotIndex(), 1) << "the hot cell stays";

    cube->OnShouldHide = [this](TObject*) { ++hides; };
    ui::test::MouseDown(cube, 91, 80);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(cube->SelectedIndex(), 64);
    EXPECT_EQ(cube->SelectedColor(), static_cast<TColor>(0xFFFFFF));
    ui::test::MouseUp(cube, 91, 80);
    EXPECT_EQ(hides, 1);

    // The selected cell's black outline and the hot cell's red one.
    cube->Invalidate();
    ui::test::Pump();
    EXPECT_EQ(WindowPixel(cube, 91 + 5, 80), clBlack);
    EXPECT_EQ(WindowPixel(cube, 55 + 5, 20), static_cast<TColor>(0x0000FF));
}

}  // namespace
