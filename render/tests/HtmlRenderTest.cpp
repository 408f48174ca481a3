// Layout, drawing and hit-testing of HTML-formatted text: sizes, lines, anchors, alignment, word
// wrap and the marks the tags draw. Positions come from the test font's own widths and "gh"
// height, never from numbers of glyph widths.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "render/tests/HtmlRenderSupport.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

constexpr TColor kWhite = 0xFFFFFF;

struct Metrics {
    int gh;
    TCanvas* c;
    int W(const String& s) const { return c->TextWidth(s); }
};

Metrics Measure(RecordingSheet& s) { return {s.canvas.TextHeight(u"gh"), &s.canvas}; }

HtmlCall On(RecordingSheet& s, const String& text, TRect rect = TRect(0, 0, 300, 200)) {
    HtmlCall call;
    call.canvas = &s.canvas;
    call.text = text;
    call.rect = rect;
    return call;
}

TEST(HtmlRender, AnEmptyTextHasTheHeightOfALineAndTheCanvasComesBackAsItWas) {
    RecordingSheet s(300, 200);
    const Metrics m = Measure(s);
    HtmlCall call = On(s, u"");
    call.anchor = u"kept";
    call.hoverRect = TRect(1, 2, 3, 4);
    call.strip = call.title = call.focusAnchor = call.controlValue = call.controlType = call.controlID = u"old";
    call.controlRect = TRect(5, 6, 7, 8);
    EXPECT_FALSE(call.Go());
    EXPECT_EQ(call.ySize, m.gh);
    EXPECT_EQ(call.xSize, 0);
    EXPECT_EQ(call.links, 0);
    EXPECT_EQ(call.mouseLink, -1);
    EXPECT_EQ(call.anchor, u"kept");
    EXPECT_EQ(call.hoverRect, TRect(1, 2, 3, 4));
    for (const String* cleared : {&call.strip, &call.title, &call.focusAnchor, &call.controlValue, &call.controlType,
                                  &call.controlID})
        EXPECT_TRUE(cleared->empty());
    EXPECT_EQ(call.controlRect, TRect(0, 0, 0, 0));

    // Every tag that touches pen, brush and font, in each mode.
    s.canvas.Pen()->SetColor(0x112233);
    s.canvas.Pen()->SetWidth(3);
    s.canvas.Brush()->SetColor(0x445566);
    s.canvas.Font()->SetStyle(TFontStyles() << fsItalic);
    const String busy = u"<B><U>a</B><FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"clred\" BGCOLOR=\"clyellow\">b"
                        u"<HR><E>c</E><P BGCOLOR=\"clLime\">d<BODY BGCOLOR=\"clAqua\"><HI>e<R a=\"90\">f<A HREF=\"x\">g";
    for (int mode = 0; mode < 3; ++mode) {
        HtmlCall again = On(s, busy);
        again.measureOnly = mode == 1;
        again.hitTestOnly = mode == 2;
        again.Go();
        EXPECT_EQ(s.canvas.Pen()->Color(), 0x112233) << mode;
        EXPECT_EQ(s.canvas.Pen()->Width(), 3) << mode;
        EXPECT_EQ(s.canvas.Brush()->Color(), 0x445566) << mode;
        EXPECT_EQ(s.canvas.Brush()->Style(), bsSolid) << mode;
        EXPECT_EQ(s.canvas.Font()->Name(), u"Arial") << mode;
        EXPECT_EQ(s.canvas.Font()->Size(), 10) << mode;
        EXPECT_EQ(s.canvas.Font()->Style(), TFontStyles() << fsItalic) << mode;
        EXPECT_EQ(s.canvas.Font()->Color(), clBlack) << mode;
        EXPECT_EQ(s.canvas.Font()->Orientation(), 0) << mode;
    }
}

TEST(HtmlRender, MeasuringTakesEveryLineAndDrawingStopsAtTheBottom) {
    RecordingSheet s(300, 200);
    const Metrics m = Measure(s);
    const String fiveLines = u"a<BR>b<BR>c<BR>d<BR>e";
    HtmlCall measured = On(s, fiveLines, TRect(0, 0, 300, m.gh * 2 + 2));
    measured.measureOnly = true;
    measured.Go();
    EXPECT_EQ(measured.ySize, 5 * m.gh);
    EXPECT_TRUE(s.record->texts.empty());
    EXPECT_EQ(measured.strip, u"a\rb\rc\rd\re");

    // Two lines fit; the third would pass the bottom and is neither drawn nor counted.
    HtmlCall drawn = On(s, fiveLines, TRect(0, 0, 300, m.gh * 2 + 2));
    drawn.Go();
    EXPECT_EQ(drawn.ySize, 2 * m.gh);
    ASSERT_EQ(s.record->texts.size(), 2u);
    EXPECT_EQ(s.record->texts[1].text, u"b");
    // The first line is always laid out.
    s.record->texts.clear();
    HtmlCall tiny = On(s, fiveLines, TRect(0, 0, 300, 3));
    tiny.Go();
    EXPECT_EQ(tiny.ySize, m.gh);
    ASSERT_EQ(s.record->texts.size(), 1u);
}

TEST(HtmlRender, AnAnchorIsHitOnItsWordAndGivesItsValuesAndRectangle) {
    RecordingSheet s(300, 200);
    const Metrics m = Measure(s);
    const String link = u"<A HREF=\"x\" TITLE=\"t\">link</A>";
    const int left = 1, right = 1 + m.W(u"link");
    HtmlCall hit = On(s, link);
    hit.hitTestOnly = true;
    hit.x = left + 3;
    hit.y = m.gh / 2;
    EXPECT_TRUE(hit.Go());
    EXPECT_EQ(hit.anchor, u"x");
    EXPECT_EQ(hit.title, u"t");
    EXPECT_EQ(hit.mouseLink, 1);
    EXPECT_EQ(hit.links, 1);
    EXPECT_EQ(hit.hoverRect, TRect(left, 0, right, m.gh));
    EXPECT_TRUE(s.record->texts.empty());  // hit-testing draws nothing

    HtmlCall painting = hit;
    painting.hitTestOnly = false;
    EXPECT_FALSE(painting.Go());

    HtmlCall beside = hit;
    beside.anchor = u"";
    beside.x = right + 20;
    EXPECT_FALSE(beside.Go());
    EXPECT_EQ(beside.mouseLink, -1);
    EXPECT_EQ(beside.anchor, u"");

    // A point on a line below the anchor's does not hit it.
    HtmlCall below = On(s, link + u"<BR>plain");
    below.hitTestOnly = true;
    below.x = left + 3;
    below.y = m.gh + m.gh / 2;
    EXPECT_FALSE(below.Go());
    EXPECT_EQ(below.mouseLink, -1);

    // AnchorVal, TitleVal, HoverRect and MouseLink are written only on a hit: a right-aligned
    // anchor is missed where its text would lie unaligned, whatever mode the call is in.
    for (int mode = 0; mode < 3; ++mode) {
        HtmlCall aside = On(s, u"<P ALIGN=\"RIGHT\"><A HREF=\"r\" TITLE=\"rt\">link</A>");
        aside.measureOnly = mode == 0;
        aside.hitTestOnly = mode == 1;
        aside.x = left + 3;
        aside.y = m.gh / 2;
        aside.anchor = u"kept";
        aside.hoverRect = TRect(1, 2, 3, 4);
        EXPECT_FALSE(aside.Go()) << mode;
        EXPECT_EQ(aside.anchor, u"kept") << mode;
        EXPECT_EQ(aside.title, u"") << mode;
        EXPECT_EQ(aside.hoverRect, TRect(1, 2, 3, 4)) << mode;
        EXPECT_EQ(aside.mouseLink, -1) << mode;
    }

    // Over two lines: the rectangle starts at the second line's left edge and top.
    HtmlCall twoLines = On(s, u"ab <A HREF=\"y\">one<BR>two</A>");
    twoLines.hitTestOnly = true;
    twoLines.x = left + 2;
    twoLines.y = m.gh + m.gh / 2;
    EXPECT_TRUE(twoLines.Go());
    EXPECT_EQ(twoLines.anchor, u"y");
    EXPECT_EQ(twoLines.hoverRect, TRect(left, m.gh, left + m.W(u"two"), 2 * m.gh));
}

TEST(HtmlRender, TheFocusedAnchorGetsAFocusRectanglePerLine) {
    RecordingSheet s(300, 200);
    const Metrics m = Measure(s);
    HtmlCall call = On(s, u"x <A HREF=\"first\">one<BR>two</A> <A HREF=\"second\">three</A>");
    call.focusLink = 0;
    call.Go();
    EXPECT_EQ(call.focusAnchor, u"first");
    const int left = 1 + m.W(u"x ");
    ASSERT_EQ(s.record->focusRects.size(), 2u);
    EXPECT_EQ(s.record->focusRects[0], TRect(left - 1, 0, left + m.W(u"one") + 1, m.gh));
    EXPECT_EQ(s.record->focusRects[1], TRect(0, m.gh, 1 + m.W(u"two") + 1, 2 * m.gh));

    s.record->focusRects.clear();
    call.focusLink = 1;
    call.Go();
    EXPECT_EQ(call.focusAnchor, u"second");
    EXPECT_EQ(s.record->focusRects.size(), 1u);
}

TEST(HtmlRender, HoverOnlyMarksOnlyTheHoveredAnchorAndKeepFontColorKeepsColours) {
    RecordingSheet s(300, 60);
    const Metrics m = Measure(s);
    HtmlCall call = On(s, u"<A HREF=\"1\">aaaa</A> <A HREF=\"2\">bbbb</A>");
    call.hoverOnly = true;
    call.hoverLink = 2;
    call.hoverColor = clYellow;
    call.Go();
    const int second = 1 + m.W(u"aaaa ");
    auto yellowIn = [&](int from, int to) {
        int n = 0;
        for (int y = 0; y < m.gh; ++y)
            for (int x = from; x < to; ++x) n += s.At(x, y) == clYellow;
        return n;
    };
    EXPECT_EQ(yellowIn(1, 1 + m.W(u"aaaa")), 0);
    EXPECT_GT(yellowIn(second, second + m.W(u"bbbb")), 0);

    auto inkColours = [&](int from, int to) {
        std::vector<TColor> colours;
        for (int y = 0; y < m.gh; ++y)
            for (int x = from; x < to; ++x)
                if (TColor c = s.At(x, y); c != kWhite && c != clYellow && std::find(colours.begin(), colours.end(), c) == colours.end())
                    colours.push_back(c);
        return colours;
    };
    EXPECT_EQ(inkColours(1, 1 + m.W(u"aaaa")), std::vector<TColor>{clBlue});

    RecordingSheet kept(300, 60);
    HtmlCall keep = On(kept, u"<A HREF=\"1\">aaaa</A><FONT COLOR=\"clred\">bbbb</FONT>");
    keep.keepFontColor = true;
    keep.Go();
    for (const TPoint& p : kept.Ink()) EXPECT_EQ(kept.At(p.X, p.Y), clBlack) << p.X << "," << p.Y;
}

TEST(HtmlRender, HiddenRunsReachOnlyThePlainTextAndSubscriptsEndWithTheirLine) {
    RecordingSheet s(300, 200);
    const Metrics m = Measure(s);
    HtmlCall hidden = On(s, u"a<Z>b</Z>");
    hidden.Go();
    EXPECT_EQ(hidden.strip, u"ab");
    EXPECT_EQ(hidden.xSize, m.W(u"a"));
    ASSERT_EQ(s.record->texts.size(), 1u);
    EXPECT_EQ(s.record->texts[0].text, u"a");

    const int h = s.canvas.TextHeight(u"y");
    HtmlCall sub = On(s, u"x<SUB>y<BR>z");
    sub.measureOnly = true;
    sub.Go();
    EXPECT_EQ(sub.ySize, m.gh + h / 4 + m.gh);
    HtmlCall sup = On(s, u"x<SUP>y</SUP>");
    sup.measureOnly = true;
    sup.Go();
    EXPECT_EQ(sup.ySize, m.gh + h / 4);
}

TEST(HtmlRender, AlignmentIndentsAndTheIndentTag) {
    RecordingSheet s(300, 200);
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"P50");
    {
        TBitmap b(50, 10, pf24bit);
        b.Canvas()->Brush()->SetColor(clRed);
        b.Canvas()->FillRect(TRect(0, 0, 50, 10));
        std::vector<uint8_t> bytes = b.SaveToBytes();
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        item->Picture()->LoadFromStream(&stream);
    }
    auto firstRed = [&](const String& text, int row) {
        RecordingSheet sheet(300, 200);
        HtmlCall call = On(sheet, text, TRect(0, 0, 200, 200));
        call.container = &container;
        call.Go();
        for (int x = 0; x < 300; ++x)
            if (sheet.At(x, row) == clRed) return x;
        return -1;
    };
    EXPECT_EQ(firstRed(u"<IMG SRC=\"P50\">", 5), 1);
    EXPECT_EQ(firstRed(u"<P ALIGN=\"RIGHT\"><IMG SRC=\"P50\">", 5), 150);
    EXPECT_EQ(firstRed(u"<P ALIGN=\"RIGHT\" INDENT=\"7\"><IMG SRC=\"P50\">", 5), 157);
    EXPECT_EQ(firstRed(u"<P ALIGN=\"CENTER\"><IMG SRC=\"P50\">", 5), 1 + (199 - 50) / 2);
    // Centring holds for later lines until another ALIGN.
    const Metrics m = Measure(s);
    const int lineTwo = std::max(10, m.gh) + 5;
    EXPECT_EQ(firstRed(u"<P ALIGN=\"CENTER\"><IMG SRC=\"P50\"></P><IMG SRC=\"P50\">", lineTwo), 1 + (199 - 50) / 2);
    EXPECT_EQ(firstRed(u"<P ALIGN=\"CENTER\">x</P><P ALIGN=\"LEFT\"><IMG SRC=\"P50\">", m.gh + 5), 1);
    // IND on a narrower line continues 20 pixels right of the line's left edge; on a wider one it
    // does nothing.
    EXPECT_EQ(firstRed(u"a<IND x=\"20\"><IMG SRC=\"P50\">", 5), 21);
    EXPECT_EQ(firstRed(u"<IMG SRC=\"P50\"><IND x=\"20\"><IMG SRC=\"P50\">", 5), 1);
    EXPECT_EQ(firstRed(u"<IMG WIDTH=\"30\" SRC=\"P50\"><IND x=\"40\"><IMG SRC=\"P50\">", 5), 1);
}

TEST(HtmlRender, WordWrapBreaksBetweenWordsAndWithoutItALineIsCut) {
    RecordingSheet s(400, 200);
    const Metrics m = Measure(s);
    const int narrow = m.W(u"aaa bbb") - 2;
    HtmlCall wrapped = On(s, u"aaa bbb ccc", TRect(0, 0, narrow, 200));
    wrapped.measureOnly = true;
    wrapped.Go();
    EXPECT_EQ(wrapped.ySize, 3 * m.gh);
    EXPECT_EQ(wrapped.xSize, m.W(u"aaa"));  // without the trailing blank
    EXPECT_EQ(wrapped.strip, u"aaa bbb ccc");

    // A run that fits alone is never broken, even past the line's end.
    HtmlCall word = On(s, u"abcdefghijklmnop", TRect(0, 0, 30, 200));
    word.measureOnly = true;
    word.Go();
    EXPECT_EQ(word.ySize, m.gh);
    EXPECT_EQ(word.xSize, m.W(u"abcdefghijklmnop"));
    // A run with no blank before it stays with the one before: "aaa<B>bbb</B>" has no break point.
    HtmlCall joined = On(s, u"x aaa<B>bbb</B>", TRect(0, 0, m.W(u"x aaa") + 3, 200));
    joined.measureOnly = true;
    joined.Go();
    EXPECT_EQ(joined.ySize, m.gh);

    const String longText = u"one two three four five six seven eight nine ten";
    HtmlCall cut = On(s, longText, TRect(0, 0, 120, 200));
    cut.wordWrap = false;
    cut.Go();
    EXPECT_EQ(cut.ySize, m.gh);
    ASSERT_EQ(s.record->texts.size(), 1u);
    EXPECT_NE(s.record->texts[0].text.find(u"..."), String::npos);
    for (const TPoint& p : s.Ink()) EXPECT_LT(p.X, 120);

    // A run that overflows after a break point is the last the text shows; one that has no break
    // point before it stays with the run before and the lines after it remain.
    const int room = m.W(u"one ") + m.W(u"two three four") - 2;
    HtmlCall cutAfter = On(s, u"one <B>two three four</B><BR>next", TRect(0, 0, room, 200));
    cutAfter.wordWrap = false;
    cutAfter.measureOnly = true;
    cutAfter.Go();
    EXPECT_EQ(cutAfter.ySize, m.gh);
    EXPECT_EQ(cutAfter.strip, u"one two three four");
    cutAfter.text = u"one<B>two three four</B><BR>next";
    cutAfter.Go();
    EXPECT_EQ(cutAfter.ySize, 2 * m.gh);
}

TEST(HtmlRender, ShadowErrorMarksBlinkAndRules) {
    RecordingSheet s(300, 100);
    const Metrics m = Measure(s);
    HtmlCall shadow = On(s, u"<SHAD>x</SHAD>");
    shadow.shadowOffset = 2;
    shadow.shadowColor = clLime;
    shadow.Go();
    ASSERT_EQ(s.record->texts.size(), 2u);
    EXPECT_EQ(s.record->texts[1].at.X - s.record->texts[0].at.X, -2);  // the shadow first
    EXPECT_EQ(s.record->texts[1].at.Y - s.record->texts[0].at.Y, -2);
    int lime = 0;
    for (const TPoint& p : s.Ink()) lime += s.At(p.X, p.Y) == clLime;
    EXPECT_GT(lime, 0);

    for (int start : {4, 6}) {
        RecordingSheet e(300, 100);
        HtmlCall err = On(e, u"<IND x=\"" + IntToStr(start - 1) + u"\"><E>abc</E>");
        err.Go();
        const auto& lines = e.record->lines;
        ASSERT_FALSE(lines.empty());
        const int bottom = m.gh;
        EXPECT_EQ(lines.front().first.X, start);
        // Below the line at multiples of 4, above it between them, in 2-pixel steps.
        for (const auto& [from, to] : lines) {
            EXPECT_EQ(to.X - from.X, 2);
            EXPECT_EQ(from.Y, from.X % 4 == 0 ? bottom + 1 : bottom - 1);
            EXPECT_EQ(to.Y, to.X % 4 == 0 ? bottom + 1 : bottom - 1);
        }
        EXPECT_GE(lines.back().second.X, start + e.canvas.TextWidth(u"abc"));
        EXPECT_EQ(e.At(start, bottom + (start % 4 == 0 ? 1 : -1)), clRed);
    }

    RecordingSheet blink(300, 100);
    HtmlCall off = On(blink, u"<BLINK>gone</BLINK>");
    off.blinkOn = false;
    off.Go();
    EXPECT_TRUE(blink.Ink().empty());
    off.blinkOn = true;
    off.Go();
    EXPECT_FALSE(blink.Ink().empty());

    RecordingSheet rule(300, 100);
    HtmlCall hr = On(rule, u"a<HR>b", TRect(10, 0, 200, 100));
    hr.Go();
    EXPECT_EQ(rule.canvas.TextHeight(u"gh"), m.gh);
    for (int x = 11; x < 200; ++x) EXPECT_EQ(rule.At(x, m.gh + 1), clBlack) << x;
    EXPECT_NE(rule.At(10, m.gh + 1), clBlack);
    EXPECT_NE(rule.At(200, m.gh + 1), clBlack);
}

TEST(HtmlRender, ReadingOrderFlagsOnlyOnARightToLeftLocale) {
    using B = THtmlBiDiMode;
    EXPECT_EQ(DrawTextBiDiFlags(DT_RIGHT, B::bdRightToLeft), DT_RIGHT);
    EXPECT_EQ(DrawTextBiDiFlags(DT_LEFT, B::bdRightToLeftReadingOnly), DT_LEFT);
    SysLocale.MiddleEast = true;
    const struct {
        UINT format;
        B mode;
        UINT result;
    } cases[] = {
        {DT_RIGHT, B::bdRightToLeft, DT_RTLREADING},
        {DT_LEFT, B::bdRightToLeft, DT_RIGHT | DT_RTLREADING},
        {DT_CENTER, B::bdRightToLeft, DT_CENTER | DT_RTLREADING},
        {DT_LEFT, B::bdRightToLeftNoAlign, DT_RTLREADING},
        {DT_RIGHT, B::bdRightToLeftReadingOnly, DT_RIGHT | DT_RTLREADING},
        {DT_LEFT | DT_BOTTOM, B::bdLeftToRight, DT_LEFT | DT_BOTTOM},
    };
    for (const auto& c : cases) EXPECT_EQ(DrawTextBiDiFlags(c.format, c.mode), c.result) << c.format << " " << c.mode;

    // Right to left, runs fill the line from its right edge.
    RecordingSheet s(300, 100);
    HtmlCall rtl = On(s, u"ab<B>cd</B>", TRect(0, 0, 200, 100));
    rtl.bidi = B::bdRightToLeft;
    rtl.Go();
    SysLocale.MiddleEast = false;
    ASSERT_EQ(s.record->texts.size(), 2u);
    EXPECT_EQ(s.record->texts[0].at.X + s.canvas.TextWidth(u"ab"), 200);
    EXPECT_LT(s.record->texts[1].at.X, s.record->texts[0].at.X);
}

}  // namespace
