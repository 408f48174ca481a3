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

using dropdown_test::LookTest;

class AdvPickerLook : public LookTest {
protected:
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
