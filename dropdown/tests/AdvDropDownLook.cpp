// Draws drop-down edits in several looks, and open pop-ups over their edits, and writes both as
// PNGs in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/ui/SystemInfo.h"

namespace {

using dropdown_test::LookTest;
using dropdown_test::PickerProbe;
using dropdown_test::Probe;
using namespace advdropdown;

class AdvDropDownLook : public LookTest {
protected:
    void TearDown() override {
        ui::sys::ResetAnswers();
        LookTest::TearDown();
    }
};

TEST_F(AdvDropDownLook, Edits) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 560, 300);
    form->SetColor(clBtnFace);
    auto place = [&](int i, const char* caption) {
        auto* d = Add<Probe>(110 + (i % 2) * 280, 12 + (i / 2) * 34);
        d->SetWidth(150);
        d->SetText(String(caption));
        d->SetLabelCaption(String(caption));
        return d;
    };
    int i = 0;
    place(i++, "Themed");
    Probe* colours = place(i++, "Colours");
    colours->Button()->SetButtonColor(0xF0D0B0);
    colours->Button()->SetButtonColorHot(0xC0E0FF);
    colours->Button()->SetButtonColorDown(0x80C0FF);
    colours->Button()->SetButtonTextColor(0x703000);
    colours->SetBorderColor(0xC08040);
    Probe* flat = place(i++, "Flat");
    flat->SetFlat(true);
    Probe* hot = place(i++, "Flat, focused");
    hot->SetFlat(true);
    Probe* disabled = place(i++, "Disabled");
    disabled->SetEnabled(false);
    Probe* untypeable = place(i++, "Untypeable");
    untypeable->SetEditorEnabled(false);
    Probe* focusColour = place(i++, "Focus frame");
    focusColour->SetFocusBorderColor(0x0000FF);
    Probe* glyph = place(i++, "Glyph");
    TBitmap dots(16, 16, pf24bit);
    dots.Canvas()->Brush()->SetColor(clBtnFace);
    dots.Canvas()->FillRect(TRect(0, 0, 16, 16));
    dots.Canvas()->Brush()->SetColor(0x404040);
    for (int x : {3, 7, 11}) dots.Canvas()->FillRect(TRect(x, 9, x + 2, 11));
    glyph->SetDropDownButtonGlyph(&dots);
    Probe* push = place(i++, "Push button");
    push->Button()->Button()->SetButtonStyle(advdropdown::bsButton);
    push->Button()->SetButtonCaption(String("..."));
    push->SetDropDownButtonWidth(24);
    Probe* plain = place(i++, "No 3D");
    plain->SetCtl3D(false);
    Probe* above = place(i++, "Label above");
    above->SetLabelPosition(advdropdown::lpTopLeft);
    above->SetTop(above->Top() + 10);
    form->Show();
    ui::test::Pump();
    hot->SetFocus();
    ui::test::Pump();
    const std::string themed = Temp("rwb_advdropdown_edits.png");
    EXPECT_TRUE(ui::test::SaveToPng(form, themed));
    untypeable->SetFocus();
    ui::test::Pump();
    ui::sys::Answers().ThemeActive = false;
    form->Invalidate();
    for (int c = 0; c < form->ControlCount(); ++c)
        if (auto* d = dynamic_cast<Probe*>(form->Controls(c))) d->Button()->Button()->Invalidate();
    ui::test::Pump();
    const std::string classic = Temp("rwb_advdropdown_edits_classic.png");
    EXPECT_TRUE(ui::test::SaveToPng(form, classic));
    std::printf("wrote %s and %s\n", themed.c_str(), classic.c_str());
}

TEST_F(AdvDropDownLook, OpenPopups) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 230, 220);
    form->SetColor(clBtnFace);
    auto* d = Make<PickerProbe>(10, 10);
    TBitmap sheet(4 * 240, 240, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    for (int look = 0; look < 4; ++look) {
        if (look == 1) {
            d->SetDropDownColor(0xFFF4E8);
            d->SetDropDownColorTo(0xE0B080);
            d->SetDropDownBorderColor(0x804000);
        }
        if (look == 2) {
            d->SetDropDownGradient(advdropdown::gdVertical);
            d->SetDropDownBorderWidth(3);
            d->DropDownFooter()->SetVisible(false);
            d->SetDropDownWidth(180);
            d->SetDropDownHeight(0);
        }
        if (look == 3) {  // nothing over the background
            d->picker->SetVisible(false);
            d->DropDownHeader()->SetVisible(false);
            d->SetDropDownGradient(advdropdown::gdHorizontal);
            d->SetDropDownHeight(120);
        }
        d->OpenPopup();
        ui::test::Pump();
        TDropDownForm* f = d->DropDownForm();
        const int x = look * 240;
        Paste(sheet.Canvas(), form, x, 0);
        const TPoint origin = form->ClientOrigin();
        Paste(sheet.Canvas(), f, x + f->Left() - origin.X, f->Top() - origin.Y);
        d->ClosePopup(false);
    }
    const std::string path = Temp("rwb_advdropdown_popups.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

TEST_F(AdvDropDownLook, PopupBars) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 250, 220);
    form->SetColor(clBtnFace);
    auto* d = Make<PickerProbe>(10, 10);
    d->SetDropDownWidth(230);
    d->DropDownHeader()->SetCaption(String("<b>Pick</b> a value"));
    d->DropDownHeader()->Buttons()->Add()->SetCaption(String("?"));
    for (const char* c : {"OK", "Cancel"}) d->DropDownFooter()->Buttons()->Add()->SetCaption(String(c));
    d->DropDownFooter()->SetCaption(String("<i>3 items</i>"));
    TBitmap sheet(3 * 260, 240, pf24bit);
    sheet.Canvas()->Brush()->SetColor(0x808080);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    for (int look = 0; look < 3; ++look) {
        if (look == 1) {  // buttons from the left, a wide frame, the grip off
            d->DropDownHeader()->SetButtonAlignment(baLeft);
            d->DropDownHeader()->SetCaption(String());
            d->DropDownHeader()->SetBorderWidth(2);
            d->DropDownHeader()->SetBorderColor(0x804000);
            d->SetDropDownSizeable(false);
        }
        if (look == 2) {  // a horizontal gradient, a disabled button, a hot one
            d->DropDownFooter()->SetGradientDirection(gdHorizontal);
            d->DropDownFooter()->SetColor(0xFFE0C0);
            d->DropDownFooter()->SetColorTo(0x804000);
            d->DropDownFooter()->Buttons()->Items(1)->SetEnabled(false);
            d->SetDropDownSizeable(true);
        }
        d->OpenPopup();
        ui::test::Pump();
        TDropDownForm* f = d->DropDownForm();
        if (look == 2) {
            auto* ok = static_cast<TAdvButton*>(f->Footer()->ButtonList()->GetItemsEx(0));
            ui::test::MouseMove(ok, 4, 4);
            ui::test::Pump();
        }
        const int x = look * 260;
        Paste(sheet.Canvas(), form, x, 0);
        const TPoint origin = form->ClientOrigin();
        Paste(sheet.Canvas(), f, x + f->Left() - origin.X, f->Top() - origin.Y);
        d->ClosePopup(false);
    }
    const std::string path = Temp("rwb_advdropdown_bars.png");
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path.c_str()));
    std::printf("wrote %s\n", path.c_str());
}

TEST_F(AdvDropDownLook, ItemSelectors) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 4 * 170 + 10, 200);
    form->SetColor(clBtnFace);
    TImageList images(nullptr);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(0xFFFFFF);
    glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(0x2060C0);
    glyph.Canvas()->Ellipse(2, 2, 14, 14);
    images.Add(&glyph);
    const TItemLayout layouts[] = {ilCaptionRight, ilCaptionLeft, ilCaptionTop, ilCaptionBottom};
    const TColor colours[] = {0x0000FF, 0x00A000, 0xC00000, 0x00C0C0, 0x808080, 0xC000C0};
    const char* names[] = {"<b>Red</b>", "Green", "Blue", "Olive", "<i>Grey</i>", "Purple"};
    for (int k = 0; k < 4; ++k) {
        auto* s = Add<TAdvCustomItemSelector>(10 + k * 170, 10);
        s->SetBounds(10 + k * 170, 10, 160, 170);
        s->ItemAppearance()->Font()->SetName(String("DejaVu Sans"));
        s->ItemAppearance()->Font()->SetSize(8);
        s->SetItemLayout(layouts[k]);
        s->SetColumns(k < 2 ? 1 : 2);
        if (k % 2 == 0) {
            s->SetSelectorType(stColor);
        } else {
            s->SetImages(&images);
        }
        if (k == 3) s->ItemAppearance()->SetColorStyle(scWindows7);
        for (int i = 0; i < 6; ++i) {
            TSelectorItem* item = s->Items()->Add();
            item->SetCaption(String(names[i]));
            item->SetColor(colours[i]);
            item->SetImageIndex(0);
        }
        s->Items()->Items(4)->SetEnabled(false);
        s->UpdateSelectorPanel();
        s->SetItemIndex(1);
        form->Show();
        ui::test::Pump();
        const TRect hot = s->SelectorPanel()->GetItemRect(3);
        ui::test::MouseMove(s->SelectorPanel(), hot.Left + 3, hot.Top + 3);
    }
    ui::test::Pump();
    const std::string path = Temp("rwb_advdropdown_selector.png");
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
