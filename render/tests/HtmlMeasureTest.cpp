// What HtmlRenderText measures is what it draws, over a table of texts; and random texts never
// crash it in any mode.
#include <gtest/gtest.h>

#include <random>

#include "platform/ui/SystemInfo.h"
#include "render/tests/HtmlRenderSupport.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

void LoadRed(THTMLPicture* p, int w, int h) {
    TBitmap b(w, h, pf24bit);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect(0, 0, w, h));
    std::vector<uint8_t> bytes = b.SaveToBytes();
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    p->LoadFromStream(&s);
}

TEST(HtmlMeasure, TheMeasuredSizeHoldsTheInkAndTheInkFillsIt) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"PIC");
    LoadRed(item->Picture(), 40, 20);
    const struct {
        const char16_t* text;
        int width;
    } cases[] = {
        {u"plain words in a line g", 360},
        {u"a <B>bold run</B> and an <I>italic run</I> in a line g", 360},
        {u"<FONT SIZE=\"5\">larger</FONT> then normal g", 360},
        {u"first line<BR>second line g", 360},
        {u"A paragraph of several words that wraps in a narrow rectangle, line after line g", 120},
        {u"x<SUB>sub g</SUB> y<SUP>sup</SUP> g", 360},
        {u"a picture <IMG SRC=\"PIC\"> g", 360},
        {u"a box <CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\"> g", 360},
    };
    for (bool themes : {false, true}) {
        ui::sys::Answers().ThemeActive = themes;
        for (const auto& c : cases) {
            SCOPED_TRACE(String(c.text).ToUtf8() + (themes ? " (themes)" : ""));
            RecordingSheet s(420, 300);
            const TRect rect(20, 10, 20 + c.width, 290);
            HtmlCall measure;
            measure.canvas = &s.canvas;
            measure.text = c.text;
            measure.rect = rect;
            measure.container = &container;
            measure.measureOnly = true;
            measure.Go();
            HtmlCall paint = measure;
            paint.measureOnly = false;
            paint.Go();
            EXPECT_EQ(paint.xSize, measure.xSize);
            EXPECT_EQ(paint.ySize, measure.ySize);

            const int right = rect.Left + 1 + measure.xSize + 2, bottom = rect.Top + measure.ySize;
            int maxX = INT32_MIN, maxY = INT32_MIN, outside = 0;
            for (const TPoint& p : s.Ink()) {
                if (p.X < rect.Left || p.Y < rect.Top || p.X >= right || p.Y >= bottom) ++outside;
                maxX = std::max(maxX, p.X);
                maxY = std::max(maxY, p.Y);
            }
            EXPECT_EQ(outside, 0);
            EXPECT_GE(maxX, right - 1 - 3);
            EXPECT_GE(maxY, bottom - 1 - 3);
        }
    }
    ui::sys::ResetAnswers();
}

TEST(HtmlMeasure, RandomTextNeverCrashesTheRenderer) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"PIC");
    LoadRed(item->Picture(), 8, 6);
    THTMLPictureCache cache;
    TImageList images(nullptr);
    TBitmap b(16, 16, pf24bit);
    images.Add(&b);
    const char16_t* const pieces[] = {
        u"<", u">", u"&", u" ", u"word ", u"&amp;", u"&nbsp;", u"<B>", u"</B>", u"<I>", u"</FONT>",
        u"<FONT SIZE=\"", u"COLOR=\"#", u"\">", u"<A HREF=\"x\">", u"</A>", u"<BR>", u"<HR>", u"<UL>", u"</UL>",
        u"<LI>", u"<P ALIGN=\"CENTER\">", u"</P>", u"<SUB>", u"<SUP>", u"</SUB>", u"<Z>", u"</Z>", u"<E>",
        u"<SHAD>", u"<R a=\"45\">", u"</R>", u"<IND x=\"30\">", u"<IMG SRC=\"PIC\">", u"<IMG SRC=\"IDX:0\">",
        u"<IMG SRC=\"http://q\">", u"<IMG WIDTH=\"9\" SRC=\"PIC\">", u"<CONTROL TYPE=\"CHECK\" ID=\"c\">",
        u"<CONTROL TYPE=\"EDIT\" WIDTH=\"", u"<CONTROL TYPE=\"BUTTON\" HEIGHT=\"99\" WIDTH=\"20\">",
        u"<BODY BGCOLOR=\"clred\">", u"<P BGCOLOR=\"#00FF00\">", u"<HI>", u"</HI>", u"<BLINK>", u"\r\n", u"\t",
        u"<#tag>", u"<IMG SRC=\"PIC\" ALIGN=\"TOP\">", u"<FONT SIZE=\"0\">",
    };
    std::mt19937 random(424242);
    RecordingSheet s(200, 120);
    for (int round = 0; round < 300; ++round) {
        String text;
        for (int i = static_cast<int>(random() % 40); i > 0; --i) text += pieces[random() % std::size(pieces)];
        for (int mode = 0; mode < 3; ++mode) {
            HtmlCall call;
            call.canvas = &s.canvas;
            call.text = text;
            call.rect = TRect(static_cast<int>(random() % 20), 0, 40 + static_cast<int>(random() % 160), 120);
            call.images = &images;
            call.cache = &cache;
            call.container = &container;
            call.measureOnly = mode == 1;
            call.hitTestOnly = mode == 2;
            call.wordWrap = random() % 2;
            call.x = static_cast<int>(random() % 200);
            call.y = static_cast<int>(random() % 120);
            call.focusLink = static_cast<int>(random() % 3) - 1;
            call.hoverOnly = random() % 2;
            call.hoverLink = static_cast<int>(random() % 3);
            call.Go();
            EXPECT_GE(call.ySize, 0);
            EXPECT_GE(call.xSize, 0);
        }
    }
}

}  // namespace
