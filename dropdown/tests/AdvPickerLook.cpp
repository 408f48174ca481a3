// Draws the track-bar and the memo drop-downs, closed with their texts and open over their edits,
// and writes the sheet as a PNG in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvMemoDropDown.h"
#include "dropdown/AdvTrackBarDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"

namespace {

using dropdown_test::DropDownTest;

class AdvPickerLook : public DropDownTest {
protected:
    static std::string Temp(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }
    // The picture of a window drawn onto a canvas at (x, y).
    static void Paste(TCanvas* canvas, TWinControl* window, int x, int y) {
        const std::string path = Temp("rwb_advpicker_part.png");
        ASSERT_TRUE(ui::test::SaveToPng(window, path));
        ui::test::Picture shot;
        ASSERT_TRUE(ui::test::LoadPng(path, shot));
        for (int j = 0; j < shot.Height; ++j)
            for (int i = 0; i < shot.Width; ++i) canvas->SetPixels(x + i, y + j, shot.At(i, j));
    }
    // The form with the drop-down's pop-up open over it, at column x of the sheet.
    void Shot(TCanvas* sheet, TAdvCustomDropDown* d, int x) {
        d->ShowDropDown();
        ui::test::Pump();
        Paste(sheet, form, x, 0);
        TDropDownForm* f = d->DropDownForm();
        const TPoint origin = form->ClientOrigin();
        Paste(sheet, f, x + f->Left() - origin.X, f->Top() - origin.Y);
        d->HideDropDown(false);
        ui::test::Pump();
    }
};

TEST_F(AdvPickerLook, TrackBarAndMemo) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 260, 240);
    form->SetColor(clBtnFace);
    auto* track = Make<TAdvTrackBarDropDown>(20, 20);
    track->SetWidth(200);
    track->SetMax(20);
    track->SetPosition(7);
    auto* memo = Make<TAdvMemoDropDown>(20, 120);
    memo->SetWidth(200);
    TStringList lines;
    lines.Add(u"First line of the note");
    lines.Add(u"second line");
    lines.Add(u"third");
    memo->SetMemoText(&lines);
    form->Show();
    ui::test::Pump();

    TBitmap sheet(3 * 270, 250, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    Paste(sheet.Canvas(), form, 0, 0);
    Shot(sheet.Canvas(), track, 270);
    memo->SetTop(20);
    track->SetTop(200);
    ui::test::Pump();
    Shot(sheet.Canvas(), memo, 540);
    const std::string path = Temp("rwb_advpickers.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
