// What HtmlRenderText measures is what it draws, over a table of texts; and random texts never
// crash it in any mode.
#include <gtest/gtest.h>

#include <random>

#include "platform/ui/SystemInfo.h"
#include "render/tests/HtmlRenderSupport.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

TEST(HtmlMeasure, TheMeasuredSizeHoldsTheInkAndTheInkFillsIt) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"PIC");
    render_test::LoadPlain(item->Picture(), 40, 20, clRed);
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
    render_test::LoadPlain(item->Picture(), 8, 6, clRed);
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

TEST(HtmlMeasure, SizesFromTheMarkupAtTheEndsOfTheIntegerRangeAreHeld) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"PIC");
    render_test::LoadPlain(item->Picture(), 8, 6, clRed);
    // Each text takes the value for every %; several items on a line and several lines add up.
    const char16_t* const texts[] = {
        u"a<IND x=\"%\">b<IND x=\"%\">c<BR><IND x=\"%\">d",
        u"<P INDENT=\"%\">x</P><P ALIGN=\"RIGHT\" INDENT=\"%\">y</P><P ALIGN=\"CENTER\">z",
        u"<IMG SRC=\"PIC\" WIDTH=\"%\"><IMG SRC=\"PIC\" HEIGHT=\"%\"><IMG SRC=\"PIC\" WIDTH=\"%\" HEIGHT=\"%\">",
        u"<A HREF=\"h\"><IMG SRC=\"PIC\" WIDTH=\"%\" HEIGHT=\"%\" ALIGN=\"MIDDLE\"></A> x<BR><IMG SRC=\"PIC\" HEIGHT=\"%\">",
        u"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"%\" HEIGHT=\"%\"><CONTROL TYPE=\"PASSWORD\" ID=\"p\" WIDTH=\"%\">",
        u"<CONTROL TYPE=\"COMBO\" ID=\"c\" WIDTH=\"%\" HEIGHT=\"%\"><CONTROL TYPE=\"CHECK\" ID=\"k\" HEIGHT=\"%\">",
        u"<CONTROL TYPE=\"RADIO\" ID=\"r\" WIDTH=\"%\" HEIGHT=\"%\"><BR><CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" "
        u"WIDTH=\"%\" HEIGHT=\"%\"><CONTROL TYPE=\"BUTTON\" ID=\"n\" HEIGHT=\"%\">",
        u"<FONT SIZE=\"%\">big</FONT> <R a=\"%\">turned</R> <UL><LI>%</UL>",
    };
    const char16_t* const values[] = {u"0", u"-1", u"2147483647", u"-2147483648"};
    RecordingSheet s(200, 60);
    for (bool themes : {false, true}) {
        ui::sys::Answers().ThemeActive = themes;
        DetectWinXP();
        for (const char16_t* value : values) {
            for (const char16_t* pattern : texts) {
                String text = pattern;
                for (size_t at; (at = text.find(u'%')) != String::npos;) text.replace(at, 1, value);
                for (int mode = 0; mode < 3; ++mode) {
                    for (bool wrap : {true, false}) {
                        SCOPED_TRACE(text.ToUtf8() + " mode " + std::to_string(mode));
                        HtmlCall call;
                        call.canvas = &s.canvas;
                        call.text = text;
                        call.rect = TRect(10, 5, 190, 55);
                        call.container = &container;
                        call.measureOnly = mode == 0;
                        call.hitTestOnly = mode == 2;
                        call.wordWrap = wrap;
                        call.x = 40;
                        call.y = 20;
                        call.Go();
                        EXPECT_GE(call.xSize, 0);
                        EXPECT_LE(call.xSize, kCanvasCoordLimit);
                        EXPECT_GT(call.ySize, 0);
                        EXPECT_LE(call.ySize, kCanvasCoordLimit);
                    }
                }
            }
        }
    }
    ui::sys::ResetAnswers();
    DetectWinXP();
}

TEST(HtmlMeasure, AButtonTallerThanTheCellPaintsOnlyInsideTheClip) {
    for (bool themes : {false, true}) {
        ui::sys::Answers().ThemeActive = themes;
        DetectWinXP();
        SCOPED_TRACE(themes ? "themes" : "classic");
        RecordingSheet s(240, 60);
        const TRect cell(10, 10, 210, 30);
        IntersectClipRect(s.canvas.Handle(), cell.Left, cell.Top, cell.Right, cell.Bottom);
        HtmlCall call;
        call.canvas = &s.canvas;
        call.text = u"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"60\" HEIGHT=\"5000000\"> after";
        call.rect = cell;
        call.Go();
        int inside = 0;
        for (const TPoint& p : s.Ink()) {
            EXPECT_TRUE(PtInRect(cell, p)) << p.X << "," << p.Y;
            inside += p.X < cell.Left + 60;
        }
        EXPECT_GT(inside, 0);  // the button's top shows in the cell
        for (const TSize& t : s.record->transfers) {
            EXPECT_LE(t.cx, cell.Width() + 8);
            EXPECT_LE(t.cy, cell.Height() + 8);
        }
        EXPECT_EQ(s.record->transfers.empty(), !themes);
    }
    ui::sys::ResetAnswers();
    DetectWinXP();
}

}  // namespace
