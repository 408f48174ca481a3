// Draws the detail and the multi-column drop-downs open over their edits and writes the sheet as
// a PNG in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvDetailDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

using dropdown_test::LookTest;

class AdvListPickerLook : public LookTest {
protected:
    // A 16 x 16 image list of a few coloured squares.
    TImageList* Images() {
        auto* images = NewComponent<TImageList>(form);
        images->SetWidth(16);
        images->SetHeight(16);
        for (TColor c : {TColor(0x2020D0), TColor(0x20A020), TColor(0xD06020)}) {
            TBitmap b(16, 16, pf24bit);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect(TRect(0, 0, 16, 16));
            b.Canvas()->Brush()->SetColor(clWhite);
            b.Canvas()->FillRect(TRect(5, 5, 11, 11));
            images->AddMasked(&b, clFuchsia);
        }
        return images;
    }
};

TEST_F(AdvListPickerLook, DetailAndMultiColumn) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 330, 300);
    form->SetColor(clBtnFace);
    TImageList* images = Images();

    auto* detail = Make<TAdvDetailDropDown>(20, 20);
    detail->SetWidth(260);
    detail->SetImages(images);
    detail->SetItemHeight(40);
    detail->SetDropDownHeight(200);
    const char16_t* captions[] = {u"Serial port", u"Radio link", u"Simulator", u"Log file"};
    const char16_t* notes[] = {u"COM1 at <b>9600</b> baud", u"Channel 4, <i>low power</i>",
                               u"Answers every command", u"Writes to <u>modem.log</u>"};
    for (int i = 0; i < 4; ++i) {
        TDetailItem* item = detail->Items()->Add();
        item->SetCaption(captions[i]);
        item->SetNotes(notes[i]);
        item->SetImageIndex(i % 3);
    }
    detail->NotesFont()->SetColor(0x606060);
    detail->SetItemIndex(1);

    auto* multi = Make<TAdvMultiColumnDropDown>(20, 20);
    multi->SetWidth(200);
    multi->SetImages(images);
    const char16_t* headers[] = {u"", u"Command", u"Reply"};
    for (int i = 0; i < 3; ++i) {
        auto* c = multi->Columns()->Add();
        c->Header = headers[i];
        c->Width = i == 0 ? 24 : 110;
        if (i == 0) c->ColumnType = advmulticolumndropdown::ctImage;
    }
    multi->SetLookupColumn(1);
    const char16_t* rows[][2] = {{u"AT", u"OK"}, {u"ATI", u"Modem 2.1"}, {u"AT+CSQ", u"+CSQ: 21,0"},
                                 {u"AT+GMR", u"Firmware 1.07"}, {u"ATZ", u"OK"}, {u"AT&V", u"Profile"},
                                 {u"AT+CREG?", u"+CREG: 0,1"}};
    multi->BeginUpdate();
    for (int i = 0; i < 7; ++i) {
        auto* item = multi->Items()->Add();
        item->SetImageIndex(i % 3);
        item->Text()->Add(u"");
        item->Text()->Add(rows[i][0]);
        item->Text()->Add(rows[i][1]);
    }
    multi->EndUpdate();
    multi->SetItemIndex(2);
    multi->SetVisible(false);
    form->Show();
    ui::test::Pump();

    TBitmap sheet(2 * 340, 310, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    Shot(sheet.Canvas(), detail, 0);
    detail->SetVisible(false);
    multi->SetVisible(true);
    ui::test::Pump();
    Shot(sheet.Canvas(), multi, 340);
    const std::string path = Temp("rwb_advlistpickers.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
