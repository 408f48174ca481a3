// Draws a standalone keypad with a hot and a pressed key and the calculator drop-down open over
// its edit, and writes the sheet as a PNG in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvCalculatorDropdown.h"
#include "dropdown/tests/DropDownTestSupport.h"

namespace {

using dropdown_test::LookTest;

class AdvCalculatorLook : public LookTest {
protected:
};

TEST_F(AdvCalculatorLook, KeypadAndOpenDropDown) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 260, 220);
    form->SetColor(clBtnFace);
    auto* pad = Make<TCustomButtonPanel>(10, 10);
    pad->SetBounds(10, 10, 228, 150);
    pad->SetColor(clWhite);
    pad->Loaded();
    ui::test::Pump();
    pad->SetButtonHot(19);   // "9"
    pad->SetButtonDown(24);  // "="
    TBitmap sheet(520, 230, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    Paste(sheet.Canvas(), pad, 10, 10);
    pad->SetVisible(false);

    auto* calc = Make<TAdvCalculatorDropdown>(10, 10);
    calc->SetWidth(150);
    calc->SetValue(1234.5);
    calc->SetShowThousandSeparator(true);
    calc->ShowDropDown();
    ui::test::Pump();
    Paste(sheet.Canvas(), form, 260, 0);
    TDropDownForm* f = calc->DropDownForm();
    const TPoint origin = form->ClientOrigin();
    Paste(sheet.Canvas(), f, 260 + f->Left() - origin.X, f->Top() - origin.Y);
    calc->HideDropDown(false);
    const std::string path = Temp("rwb_advcalculator.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
