// The colour box selector: the palette's layout, the selection and hot rules, the picker's keys
// and the outlines of the boxes.
#include <gtest/gtest.h>

#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/win/Messages.h"

namespace {

using dropdown_test::DropDownTest;

class ColorSelectorTest : public DropDownTest {
protected:
    TCustomColorSelector* s = nullptr;
    int selects = 0;
    void SetUp() override {
        DropDownTest::SetUp();
        s = Make<TCustomColorSelector>(10, 10);
        s->OnItemSelect = [this](TObject* sender) { selects += sender == s; };
    }
    void Palette() {
        s->AddDiscreteColors();
        s->ArrangeItems();
        ui::test::Pump();
    }
    TColor Pixel(int x, int y) { return WindowPixel(s, x, y); }
};

TEST_F(ColorSelectorTest, EmptyAndDiscretePaletteLayout) {
    s->ArrangeItems();
    EXPECT_EQ(s->Width(), 100);
    EXPECT_EQ(s->Height(), 50);
    Palette();
    ASSERT_EQ(s->Items()->Count(), 60);
    EXPECT_EQ(s->Width(), 165);
    EXPECT_EQ(s->Height(), 84);
    // Blue in the high byte: the palette's 1F497D is $7D491F.
    const struct {
        int index;
        TColor color;
        TItemPos pos;
        TRect rect;
    } cases[] = {
        {0, static_cast<TColor>(0xFFFFFF), ipStandAlone, TRect(4, 4, 16, 16)},
        {3, static_cast<TColor>(0x7D491F), ipStandAlone, TRect(52, 4, 64, 16)},
        {9, static_cast<TColor>(0x4696F7), ipStandAlone, TRect(148, 4, 160, 16)},
        {10, static_cast<TColor>(0xF2F2F2), ipTop, TRect(4, 20, 16, 32)},  // after the 4-pixel gap
        {25, static_cast<TColor>(0xB7B9E5), ipMiddle, TRect(84, 32, 96, 44)},  // the strips touch
        {59, static_cast<TColor>(0x064897), ipBottom, TRect(148, 68, 160, 80)},
    };
    for (const auto& c : cases) {
        const TColorBoxItem* item = s->Items()->Items(c.index);
        EXPECT_EQ(item->Color(), c.color) << c.index;
        EXPECT_EQ(item->ColorBoxPos(), c.pos) << c.index;
        EXPECT_EQ(s->GetItemRect(c.index), c.rect) << c.index;
    }
    EXPECT_EQ(s->GetItemRect(60), TRect(-1, -1, -1, -1));
    EXPECT_EQ(s->ItemAtPos(16, 4), -1) << "the gap between boxes is no box";
    EXPECT_EQ(s->ItemAtPos(20, 4), 1);
    EXPECT_EQ(s->ItemAtPos(4, 18), -1);
    // Twice adds nothing: the palette replaces the boxes.
    s->AddDiscreteColors();
    EXPECT_EQ(s->Items()->Count(), 60);
}

TEST_F(ColorSelectorTest, SelectionRules) {
    Palette();
    EXPECT_EQ(s->SelectedColor(), clNone);
    s->SelectPrevious();
    EXPECT_EQ(s->ItemIndex(), -1);
    EXPECT_EQ(selects, 0);
    s->SelectNext();
    EXPECT_EQ(s->ItemIndex(), 0);
    EXPECT_EQ(selects, 1);

    s->SetItemIndex(3);
    s->SetItemIndex(3);
    EXPECT_EQ(selects, 3) << "the same box fires again";
    EXPECT_EQ(s->SelectedColor(), static_cast<TColor>(0x7D491F));
    s->SetItemIndex(60);
    EXPECT_EQ(s->ItemIndex(), 3) << "past the boxes is ignored";

    s->Items()->Items(4)->SetEnabled(false);
    s->SetItemIndex(4);
    EXPECT_EQ(s->ItemIndex(), 3) << "a disabled box is not selected";
    s->SetItemHot(4);
    EXPECT_EQ(s->ItemHot(), -1);

    s->SetSelectedColor(static_cast<TColor>(0x064897));
    EXPECT_EQ(s->ItemIndex(), 59);
    s->SetSelectedColor(static_cast<TColor>(0x123456));
    EXPECT_EQ(s->ItemIndex(), -1) << "a colour on no box clears the selection";
    s->SetItemIndex(2);
    s->SetSelectedColor(clNone);
    EXPECT_EQ(s->ItemIndex(), -1);

    s->SelectLast();
    EXPECT_EQ(s->ItemIndex(), 59);
    s->SelectNext();
    EXPECT_EQ(s->ItemIndex(), 59) << "no wrap-around";
    s->HotNext();
    EXPECT_EQ(s->ItemHot(), 0);
    s->HotPrevious();
    s->HotPrevious();
    EXPECT_EQ(s->ItemHot(), -1);

    // The mouse: a move makes hot, a press selects, leaving clears the hot box.
    ui::test::MouseMove(s, 22, 6);
    EXPECT_EQ(s->ItemHot(), 1);
    ui::test::MouseMove(s, 18, 6);
    EXPECT_EQ(s->ItemHot(), -1);
    ui::test::Click(s, 38, 6);
    EXPECT_EQ(s->ItemIndex(), 2);
    ui::test::MouseLeave(s);
    EXPECT_EQ(s->ItemHot(), -1);
}

TEST_F(ColorSelectorTest, HandleSelectorKeyTable) {
    Palette();
    const struct {
        WORD key;
        bool typeable, open;
        int from, to;
    } cases[] = {
        {VK_NEXT, false, false, 5, 59},  {VK_END, true, true, 5, 59},    {VK_PRIOR, true, false, 5, 0},
        {VK_HOME, false, true, 5, 0},    {VK_LEFT, false, false, 5, 4},  {VK_LEFT, true, false, 5, 5},
        {VK_LEFT, true, true, 5, 4},     {VK_RIGHT, false, false, 5, 6}, {VK_RIGHT, true, false, 5, 5},
        {VK_RIGHT, true, true, 5, 6},    {VK_UP, false, false, 15, 14},  {VK_UP, false, true, 15, 5},
        {VK_UP, false, true, 5, 5},      {VK_UP, false, true, -1, 0},    {VK_DOWN, true, false, 15, 16},
        {VK_DOWN, false, true, 15, 25},  {VK_DOWN, false, true, 55, 55}, {VK_DOWN, false, true, -1, 0},
        {VK_DOWN, false, false, -1, 0},  {VK_UP, false, false, -1, -1},  {VK_RETURN, false, true, 5, 5},
        {VK_SPACE, false, true, 5, 5},   {VK_INSERT, false, true, 5, 5},
    };
    for (const auto& c : cases) {
        s->SetItemIndex(c.from);
        s->HandleSelectorKey(c.key, c.typeable, c.open);
        EXPECT_EQ(s->ItemIndex(), c.to) << "key " << c.key << " typeable " << c.typeable << " open " << c.open;
    }
    s->SetItemIndex(5);
    s->SetEnabled(false);
    s->HandleSelectorKey(VK_END, false, true);
    EXPECT_EQ(s->ItemIndex(), 5) << "disabled";
}

TEST_F(ColorSelectorTest, OutlinesByStateAndStripSide) {
    Palette();
    const TColor border = static_cast<TColor>(0xC5C5C5);
    // Neither hot nor selected: the sides by ColorBoxPos.
    EXPECT_EQ(Pixel(10, 4), border) << "stand-alone top";
    EXPECT_EQ(Pixel(10, 16), border) << "stand-alone bottom";
    EXPECT_EQ(Pixel(16, 10), border) << "stand-alone right";
    EXPECT_EQ(Pixel(10, 20), border) << "top box: top line";
    EXPECT_EQ(Pixel(10, 32), static_cast<TColor>(0xD8D8D8)) << "top box: no bottom line, the middle box follows";
    EXPECT_EQ(Pixel(4, 36), border) << "middle box: left side";
    EXPECT_EQ(Pixel(10, 44), static_cast<TColor>(0xBFBFBF)) << "middle box: no bottom line";
    EXPECT_EQ(Pixel(10, 80), border) << "bottom box: bottom line";
    EXPECT_EQ(Pixel(10, 74), static_cast<TColor>(0x7F7F7F)) << "inside";

    // Hot, then selected (which wins over hot), on box 12 at (36, 20).
    s->SetItemHot(12);
    ui::test::Pump();
    EXPECT_EQ(Pixel(40, 20), static_cast<TColor>(0x3694F2));
    EXPECT_EQ(Pixel(40, 21), static_cast<TColor>(0x94E2FF));
    EXPECT_EQ(Pixel(40, 26), static_cast<TColor>(0xC3D9DD));
    s->SetItemIndex(12);
    ui::test::Pump();
    EXPECT_EQ(Pixel(40, 20), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(Pixel(40, 21), static_cast<TColor>(0x94E2FF));
    s->SetItemIndex(13);
    s->SetItemHot(-1);
    ui::test::Pump();
    EXPECT_EQ(Pixel(40, 20), border) << "back to the plain outline";

    // Style 0 keeps the colours; the others load the one preset.
    s->ColorBoxAppearance()->BorderColor = static_cast<TColor>(0x010203);
    s->SetItemColorStyle(scCustom);
    EXPECT_EQ(s->ColorBoxAppearance()->BorderColor, static_cast<TColor>(0x010203));
    s->ColorBoxAppearance()->OuterBorderColorHot = clBlack;
    s->SetItemColorStyle(scWindows7);
    EXPECT_EQ(s->ColorBoxAppearance()->BorderColor, border);
    EXPECT_EQ(s->ColorBoxAppearance()->OuterBorderColorHot, static_cast<TColor>(0x3694F2));
}

}  // namespace
