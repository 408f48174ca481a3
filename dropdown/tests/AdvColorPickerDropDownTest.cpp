// The colour picker drop-down: its default colours, the ItemIndex and SelectedColor setters, the
// colour's text, the pop-up's list and boxes (size, choice, cancel) and the edit's painting.
#include <gtest/gtest.h>

#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

constexpr TColor kRed = static_cast<TColor>(0x0000FF);

class ColorPickerTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    TAdvColorPickerDropDown* p = nullptr;
    int selects = 0;
    void SetUp() override {
        DropDownTest::SetUp();
        p = Make<TAdvColorPickerDropDown>(20, 20);
        p->OnSelect = [this](TObject* sender) { selects += sender == p; };
        p->SetFocus();
        ui::test::Pump();
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void Open(int line = __builtin_LINE()) {
        SCOPED_TRACE(line);
        // A reopening right after a close is taken for the click that closed it.
        clock->Advance(1000);
        ui::test::Pump();
        p->ShowDropDown();
        ui::test::Pump();
        ASSERT_TRUE(p->DroppedDown());
    }
};

TEST_F(ColorPickerTest, DefaultColorsAppendAndOnlyADesignerPlacedPickerGetsThem) {
    EXPECT_EQ(p->Colors()->Count(), 0) << "made in code: none";
    p->Colors()->Add()->SetCaption(u"Mine");
    p->AddDefaultColors();
    ASSERT_EQ(p->Colors()->Count(), 17);
    EXPECT_EQ(p->Colors()->Items(1)->Caption(), String(u"Black"));
    EXPECT_EQ(p->Colors()->Items(1)->Color(), static_cast<TColor>(0x000000));
    EXPECT_EQ(p->Colors()->Items(10)->Caption(), String(u"Red"));
    EXPECT_EQ(p->Colors()->Items(10)->Color(), kRed);
    EXPECT_EQ(p->Colors()->Items(13)->Caption(), String(u"Blue"));
    EXPECT_EQ(p->Colors()->Items(13)->Color(), static_cast<TColor>(0xFF0000));
    EXPECT_EQ(p->Colors()->Items(16)->Caption(), String(u"White"));

    TComponent designer(nullptr);
    designer.SetDesigning(true);
    auto* placed = NewComponent<TAdvColorPickerDropDown>(&designer);
    placed->SetParent(form);
    placed->HandleNeeded();
    EXPECT_EQ(placed->Colors()->Count(), 16);
    placed->SetParent(nullptr);
    placed->SetParent(form);
    placed->HandleNeeded();
    EXPECT_EQ(placed->Colors()->Count(), 16) << "once";
    delete placed;
}

TEST_F(ColorPickerTest, SelectedColorTextForms) {
    p->SetSelectedColor(kRed);
    const struct {
        TColorValueText form;
        const char16_t* text;
    } cases[] = {
        {cvtHex, u"0000FF"}, {cvtHTML, u"#FF0000"}, {cvtRGB, u"Red:255,Green:0,Blue:0"}, {cvtWebName, u"clWebRed"},
        {cvtNone, u""},
    };
    for (const auto& c : cases) {
        p->SetColorValueText(c.form);
        EXPECT_EQ(p->SelectedColorText(), String(c.text)) << int(c.form);
    }
    // Outside the web table the web name is the HTML form.
    p->SetSelectedColor(static_cast<TColor>(0x123457));
    p->SetColorValueText(cvtWebName);
    EXPECT_EQ(p->SelectedColorText(), String(u"#573412"));
    // A system colour: eight hex digits, its resolved value elsewhere.
    p->SetSelectedColor(clBtnFace);
    p->SetColorValueText(cvtHex);
    EXPECT_EQ(p->SelectedColorText().size(), 8u);
    p->SetColorValueText(cvtHTML);
    const int32_t rgb = ColorToRGB(clBtnFace);
    EXPECT_EQ(p->SelectedColorText(), String(u"#") + IntToHex(rgb & 0xFF, 2) + IntToHex((rgb >> 8) & 0xFF, 2) +
                                          IntToHex((rgb >> 16) & 0xFF, 2));

    // csList names the item whatever the form.
    p->AddDefaultColors();
    p->SetItemIndex(9);
    for (TColorValueText form : {cvtNone, cvtHex, cvtRGB}) {
        p->SetColorValueText(form);
        EXPECT_EQ(p->SelectedColorText(), String(u"Red"));
    }
}

TEST_F(ColorPickerTest, ItemIndexAndSelectedColor) {
    p->AddDefaultColors();
    p->SetItemIndex(16);
    EXPECT_EQ(p->ItemIndex(), -1);
    EXPECT_EQ(selects, 0) << "Colors.Count is ignored";
    p->SetItemIndex(2);
    p->SetItemIndex(2);
    p->SetItemIndex(-1);
    EXPECT_EQ(selects, 3) << "the same index and -1 fire too";
    EXPECT_EQ(p->SelectedColor(), static_cast<TColor>(0x008000));

    p->SetSelectedColor(p->Colors()->Items(3)->Color());
    EXPECT_EQ(p->ItemIndex(), 3);
    p->SetColorValueText(cvtHex);
    p->SetSelectedColor(static_cast<TColor>(0x010203));
    EXPECT_EQ(p->ItemIndex(), -1) << "a colour on no item names no item";
    EXPECT_EQ(p->SelectedColorText(), String(u"010203"));
}

TEST_F(ColorPickerTest, ListPopupChoosesAndCancelRestores) {
    p->AddDefaultColors();
    p->SetItemIndex(4);
    Open();
    TAdvCustomItemSelector* list = p->ItemSelector();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Items()->Count(), 16);
    EXPECT_EQ(list->SelectorType(), stColor);
    EXPECT_EQ(list->Items()->Items(9)->Color(), kRed);
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(p->DropDownForm()->Height(), 200);
    int width = list->GetSelectorSize().cx;
    if (list->VertScrollBar()->IsScrollBarVisible()) width += GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(p->DropDownForm()->Width(), width);

    list->SetItemIndex(9);  // as a click does
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->ItemIndex(), 9);
    EXPECT_EQ(p->SelectedColor(), kRed);

    Open();
    list->SetItemIndex(1);
    Open();
    p->HideDropDown(true);
    EXPECT_EQ(p->ItemIndex(), 1) << "the index held at this opening";
    EXPECT_EQ(p->SelectedColor(), static_cast<TColor>(0x000080));
}

TEST_F(ColorPickerTest, DiscretePopupSizesChoosesAndCancelRestores) {
    p->AddDefaultColors();
    // The list's pop-up closes first: its size must not be the boxes'.
    Open();
    p->HideDropDown(true);
    p->SetColorSelectionStyle(csDiscrete);
    p->SetItemIndex(15);  // White, which is box 0
    Open();
    TCustomColorSelector* boxes = p->ColorSelector();
    ASSERT_NE(boxes, nullptr);
    EXPECT_TRUE(boxes->Visible());
    EXPECT_EQ(boxes->ItemIndex(), 0);
    EXPECT_EQ(p->DropDownForm()->Width(), 165 + 2 * p->DropDownBorderWidth());
    EXPECT_EQ(p->DropDownForm()->Height(), 84 + 2 * p->DropDownBorderWidth());
    EXPECT_FALSE(p->DropDownForm()->Sizeable());

    boxes->SetItemIndex(3);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->SelectedColor(), static_cast<TColor>(0x7D491F));
    EXPECT_EQ(p->ItemIndex(), -1);

    Open();
    boxes->SetItemIndex(4);  // closes, then a reopening and a cancel
    Open();
    boxes->SetSelectedColor(static_cast<TColor>(0xFFFFFF));
    p->HideDropDown(true);
    EXPECT_EQ(p->SelectedColor(), static_cast<TColor>(0xBD814F)) << "the colour held at this opening";

    // Back to the list at run time: the list shows, the boxes hide.
    Open();
    p->SetColorSelectionStyle(csList);
    ASSERT_NE(p->ItemSelector(), nullptr);
    EXPECT_TRUE(p->ItemSelector()->Visible());
    EXPECT_FALSE(boxes->Visible());
    p->HideDropDown(true);
}

TEST_F(ColorPickerTest, CubePopupSizesAndChooses) {
    p->AddDefaultColors();
    p->SetColorSelectionStyle(csColorCube);
    p->SetColorValueText(cvtHex);
    Open();
    TAdvColorCubePanel* cube = p->ColorCubePanel();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(p->DropDownForm()->Width(), 182 + 2 * p->DropDownBorderWidth());
    EXPECT_EQ(p->DropDownForm()->Height(), 160 + 2 * p->DropDownBorderWidth());
    EXPECT_FALSE(p->DropDownForm()->Sizeable());
    ui::test::MouseDown(cube, 127, 140);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->SelectedColor(), static_cast<TColor>(0x2100A5));
    EXPECT_EQ(p->ItemIndex(), -1);
    // Red is on the cube and in Colors: csList then shows the form, not the caption.
    Open();
    ui::test::MouseDown(cube, cube->Cell(118).X, cube->Cell(118).Y);
    EXPECT_EQ(p->SelectedColor(), kRed);
    p->SetColorSelectionStyle(csList);
    EXPECT_EQ(p->ItemIndex(), -1);
    EXPECT_EQ(p->SelectedColorText(), String(u"0000FF"));
}

TEST_F(ColorPickerTest, OnDrawSelectedColorReplacesThePainting) {
    int draws = 0;
    TRect at;
    p->OnDrawSelectedColor = [&](TObject* sender, TCanvas*, TRect R) {
        draws += sender == p;
        at = R;
    };
    p->Invalidate();
    EXPECT_TRUE(ui::test::PumpUntil([&] { return draws > 0; }));
    EXPECT_EQ(at, TRect(1, 1, p->Width() - p->DropDownButtonWidth() - 2, p->Height() - 2));
}

}  // namespace
