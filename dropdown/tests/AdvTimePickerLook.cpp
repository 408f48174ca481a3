// Draws the time-picker drop-down closed and open with its clock and time picker, and writes
// the sheet as a PNG in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvDateTimePicker.h"
#include "dropdown/AdvTimePickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/DateUtils.h"

namespace {

using dropdown_test::LookTest;

class AdvTimePickerLook : public LookTest {
protected:
};

TEST_F(AdvTimePickerLook, ClosedAndOpen) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 260, 260);
    form->SetClientWidth(260);
    form->SetClientHeight(240);
    form->SetColor(clBtnFace);
    auto* d = Make<TAdvTimePickerDropDown>(10, 10);
    d->SetWidth(120);
    d->SetShowTimePicker(true);
    d->SetAnimation(false);
    d->SetTime(EncodeTime(10, 8, 42, 0));
    // Flat date-time pickers below it: no border, and a single border.
    auto* flat = Make<TCustomDateTimePicker>(10, 60);
    flat->SetBounds(10, 60, 120, 21);
    flat->SetDate(EncodeDate(2020, 5, 17));
    auto* single = Make<TCustomDateTimePicker>(10, 100);
    single->SetBounds(10, 100, 120, 21);
    single->SetBorderStyle(bsSingle);
    single->SetKind(dtkTime);
    single->SetTime(EncodeTime(13, 45, 30, 0));
    // A date-time picker with its time part and label, and a metro one in custom colours.
    auto* both = Make<TAdvDateTimePicker>(10, 160);
    both->SetBounds(10, 160, 240, 22);
    both->SetDateTime(EncodeDateTime(2020, 5, 17, 13, 45, 30, 0));
    both->SetLabelPosition(advdatetimepicker::lpTopLeft);
    both->SetLabelCaption(u"Due");
    auto* metro = Make<TAdvDateTimePicker>(10, 200);
    metro->SetBounds(10, 200, 140, 22);
    metro->SetKind(dkDate);
    metro->SetMetroStyle(true);
    metro->SetButtonColor(static_cast<TColor>(0xB97F2B));
    metro->SetButtonTextColor(clWhite);
    metro->SetButtonBorderColor(static_cast<TColor>(0xB97F2B));
    ui::test::Pump();
    ASSERT_TRUE(ui::test::SaveToPng(both, Temp("rwb_advdatetimepicker.png")));
    TBitmap sheet(540, 260, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    Paste(sheet.Canvas(), form, 0, 0);
    d->ShowDropDown();
    ui::test::Pump();
    Paste(sheet.Canvas(), form, 270, 0);
    TDropDownForm* f = d->DropDownForm();
    const TPoint origin = form->ClientOrigin();
    Paste(sheet.Canvas(), f, 270 + f->Left() - origin.X, f->Top() - origin.Y);
    d->HideDropDown(false);
    const std::string path = Temp("rwb_advtimepicker.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
