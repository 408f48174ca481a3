// Draws HTML-formatted texts of every kind onto a sheet and writes it as a PNG in the temporary
// folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ole/testing/GifBytes.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"
#include "render/tests/HtmlRenderSupport.h"

namespace {

using HtmlRenderLook = ui::test::FormTest;

void LoadBytes(THTMLPicture* p, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    p->LoadFromStream(&s);
}

TEST_F(HtmlRenderLook, Sheet) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    TBitmap sheet(640, 700, pf24bit);
    TCanvas* c = sheet.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 640, 700));
    c->Font()->SetName(u"Arial");
    c->Font()->SetSize(9);
    c->Font()->SetColor(clBlack);

    TPictureContainer container(nullptr);
    TPictureItem* logo = container.Items()->Add();
    logo->SetName(u"LOGO");
    {
        TBitmap b(40, 20, pf24bit);
        b.Canvas()->Brush()->SetColor(0x30A030);
        b.Canvas()->FillRect(TRect(0, 0, 40, 20));
        b.Canvas()->Brush()->SetColor(0xF0C040);
        b.Canvas()->FillRect(TRect(5, 5, 35, 15));
        LoadBytes(logo->Picture(), b.SaveToBytes());
    }
    TPictureItem* anim = container.Items()->Add();
    anim->SetName(u"ANIM");
    LoadBytes(anim->Picture(), ole::test::GifFile(30, 20, {{0, 0, 30, 20, 10, 1}, {10, 5, 10, 10, 10, 3}}));
    anim->Picture()->SetFrame(2);

    TImageList images(nullptr);
    for (TColor col : {TColor(clRed), TColor(clNavy)}) {
        TBitmap b(16, 16, pf24bit);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(col);
        b.Canvas()->Ellipse(2, 2, 14, 14);
        images.Add(&b);
    }

    const String texts[] = {
        u"Plain <B>bold</B> <I>italic</I> <U>underline</U> <S>strike</S> and <FONT COLOR=\"clred\">red</FONT>, "
        u"<FONT FACE=\"Courier New\" SIZE=\"4\">Courier 14</FONT>, x<SUP>2</SUP> H<SUB>2</SUB>O, &amp; &euro; &lt;tag&gt;",
        u"A <A HREF=\"http://a\">link</A> and a <A HREF=\"b\">second link</A> (focused) <SHAD>shadow</SHAD> "
        u"<E>misspeled</E> <HI>highlight</HI> <FONT BGCOLOR=\"#FFE0A0\">background</FONT>",
        u"<P ALIGN=\"CENTER\">Centred paragraph</P><P ALIGN=\"RIGHT\">Right aligned</P><P ALIGN=\"LEFT\">"
        u"<HR>Pictures: <IMG SRC=\"LOGO\"> <IMG SRC=\"LOGO\" WIDTH=\"20\"> <IMG SRC=\"ANIM\"> "
        u"<IMG SRC=\"IDX:0\"><IMG SRC=\"IDX:1\"> <IMG SRC=\"LOGO\" ALIGN=\"MIDDLE\"> middle",
        u"<UL><LI>first item<LI>second item<UL><LI>nested</UL><LI>third</UL>after the list",
        u"<P BGCOLOR=\"#E0F0FF\">A paragraph with a background that wraps over more than one line of this "
        u"narrow rectangle.</P>Rotated: <R a=\"20\">tilted</R> done",
        u"Check <CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\"> radio <CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\"> "
        u"edit <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"text\" WIDTH=\"70\"> pwd "
        u"<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"secret\" WIDTH=\"60\"><BR>combo "
        u"<CONTROL TYPE=\"COMBO\" ID=\"cb\" VALUE=\"choice\" WIDTH=\"90\"> button "
        u"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Press\" WIDTH=\"70\">",
    };
    int top = 10;
    for (int themes = 0; themes < 2; ++themes) {
        ui::sys::Answers().ThemeActive = themes == 1;
        for (const String& text : texts) {
            render_test::HtmlCall call;
            call.canvas = c;
            call.text = text;
            call.rect = TRect(10, top, themes ? 630 : 300, top + 200);
            call.container = &container;
            call.images = &images;
            call.focusLink = 1;
            call.shadowColor = clSilver;
            call.shadowOffset = 2;
            c->Pen()->SetColor(0xE0E0E0);
            c->Brush()->SetStyle(bsClear);
            call.Go();
            c->Rectangle(call.rect.Left, top, call.rect.Left + call.xSize + 2, top + call.ySize);
            c->Brush()->SetColor(clWhite);
            top += call.ySize + 8;
            if (top > 680) break;
        }
        if (top > 680) break;
    }
    ui::sys::ResetAnswers();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_html.png").string();
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
