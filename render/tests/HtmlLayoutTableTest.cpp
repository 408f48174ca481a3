// The layout over the whole dialect against the figures the layout gave when it measured and
// drew every word through DrawText: sizes, the plain text, the box the ink fills and what a hit
// test at a point answers. Runs are now measured and drawn whole, so a width may round once
// where it rounded per word: sizes and ink edges may move by one pixel, nothing else.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/tests/HtmlRenderSupport.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

// The figures the word-by-word layout gave.
struct Figures {
    int xSize, ySize;
    TRect ink;  // the bounding box of what painting drew
    bool hit;
    const char16_t* anchor;
    const char16_t* title;
    int mouseLink;
    TRect hoverRect;
};

struct Case {
    const char16_t* text;
    int width;
    bool wordWrap;
    TPoint at;  // where the hit test looks
    const char16_t* strip;
    Figures before;
};

// The sheet is 420 x 300; the text lies in (20, 10) to (20 + width, 290), in Arial 10.
const Case kCases[] = {
    {u"plain words in a line g", 360, true, {40, 17}, u"plain words in a line g",
     {125, 15, {22, 13, 145, 25}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"a <B>bold</B> and <I>italic</I> and <U>under</U> and <S>strike</S> g", 360, true, {40, 17}, u"a bold and italic and under and strike g",
     {228, 15, {22, 13, 248, 25}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"clred\" BGCOLOR=\"clyellow\">font</FONT> after g", 360, true, {40, 17}, u"font after g",
     {92, 23, {21, 10, 112, 33}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<BODY BGCOLOR=\"clAqua\">body <P BGCOLOR=\"#00FF00\">para</P> next", 200, true, {40, 17}, u"body para next",
     {57, 30, {20, 10, 220, 290}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"a <HI>highlit</HI> b", 360, true, {40, 17}, u"a highlit b",
     {56, 15, {22, 10, 76, 25}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"x<SUB>sub</SUB> y<SUP>sup</SUP> z", 360, true, {40, 17}, u"xsub ysup z",
     {71, 21, {22, 15, 91, 28}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"go <A HREF=\"ref\" TITLE=\"tip\">the link</A> now", 360, true, {70, 17}, u"go the link now",
     {87, 15, {22, 13, 108, 25}, true, u"ref", u"tip", 1, {39, 10, 81, 25}}},
    {u"go <A HREF=\"ref\" TITLE=\"tip\">the link</A> now<BR>below", 360, true, {70, 34}, u"go the link now\rbelow",
     {87, 30, {22, 13, 108, 37}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"a <IMG SRC=\"PIC\"> b", 360, true, {45, 20}, u"a  b",
     {62, 20, {22, 10, 82, 30}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"a <IMG SRC=\"PIC\" ALT=\"ALT\"> b", 360, true, {45, 20}, u"a  b",
     {62, 20, {22, 10, 82, 30}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<A HREF=\"pic\" TITLE=\"p\">a <IMG SRC=\"PIC\" ALT=\"ALT\"></A> b", 360, true, {45, 20}, u"a  b",
     {62, 20, {21, 10, 82, 30}, true, u"pic", u"p", -1, {-1, -1, -1, -1}}},
    // Where the word-by-word layout answered false (yet wrote the anchor): an image in an anchor
    // without ALT stays drawn under the pointer and is hit.
    {u"<A HREF=\"pic\" TITLE=\"p\">a <IMG SRC=\"PIC\"></A> b", 360, true, {45, 20}, u"a  b",
     {62, 20, {21, 10, 82, 30}, true, u"pic", u"p", -1, {-1, -1, -1, -1}}},
    {u"one<BR>two<BR>three", 360, true, {40, 17}, u"one\rtwo\rthree",
     {29, 45, {21, 15, 49, 52}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<UL><LI>first<LI>second</UL>after", 360, true, {40, 17}, u"firstsecondafter",
     {79, 45, {22, 28, 100, 52}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"a<IND x=\"40\">b", 360, true, {40, 17}, u"ab",
     {47, 15, {22, 13, 67, 22}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<P ALIGN=\"RIGHT\">right</P><P ALIGN=\"CENTER\">centre</P>", 300, true, {40, 17}, u"rightcentre",
     {36, 30, {153, 13, 320, 37}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<SHAD>shadow</SHAD> plain", 360, true, {40, 17}, u"shadow plain",
     {75, 15, {22, 13, 95, 25}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"above<HR>below", 300, true, {40, 17}, u"abovebelow",
     {33, 30, {21, 13, 320, 37}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"&amp; &lt;tag&gt; &nbsp;&nbsp;x &copy; &euro; &quot;q&quot; &Amp;amp;", 360, true, {40, 17}, u"&& <tag>   x © € \"q\" &&&",
     {125, 15, {22, 13, 145, 25}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"A paragraph of several words that wraps in a narrow rectangle, line after line g", 120, true, {40, 17}, u"A paragraph of several words that wraps in a narrow rectangle, line after line g",
     {110, 75, {21, 13, 131, 85}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"one two three four five six seven eight nine ten", 120, false, {40, 17}, u"one two three four five six seven eight nine ten",
     {265, 15, {22, 13, 139, 22}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
    {u"<B>bold words</B> then <FONT COLOR=\"clred\">red words that wrap</FONT> over <A HREF=\"w\">lines of it</A>", 100, true, {30, 60}, u"bold words then red words that wrap over lines of it",
     {85, 60, {21, 13, 105, 69}, true, u"w", u"", 1, {21, 55, 73, 70}}},
    {u"x <A HREF=\"a\">aaa</A> <IMG SRC=\"PIC\" ALIGN=\"MIDDLE\"> <A HREF=\"b\">bbb</A>", 360, true, {30, 30}, u"x aaa  bbb",
     {101, 20, {22, 10, 122, 30}, false, u"-", u"", -1, {-1, -1, -1, -1}}},
};

// What the layout gives now for a case: its figures and the plain text.
struct Taken {
    int xSize = 0, ySize = 0;
    TRect ink;
    bool hit = false;
    String anchor, title, strip;
    int mouseLink = 0;
    TRect hoverRect;
};

Taken Take(const Case& c, TPictureContainer& container) {
    Taken f;
    RecordingSheet s(420, 300);
    HtmlCall call;
    call.canvas = &s.canvas;
    call.text = c.text;
    call.rect = TRect(20, 10, 20 + c.width, 290);
    call.container = &container;
    call.wordWrap = c.wordWrap;
    call.measureOnly = true;
    call.Go();
    f.xSize = call.xSize;
    f.ySize = call.ySize;
    f.strip = call.strip;

    HtmlCall paint = call;
    paint.measureOnly = false;
    paint.Go();
    int l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (const TPoint& p : s.Ink()) {
        l = std::min(l, p.X);
        t = std::min(t, p.Y);
        r = std::max(r, p.X + 1);
        b = std::max(b, p.Y + 1);
    }
    f.ink = l <= r ? TRect(l, t, r, b) : TRect(0, 0, 0, 0);

    HtmlCall hit = paint;
    hit.hitTestOnly = true;
    hit.x = c.at.X;
    hit.y = c.at.Y;
    hit.anchor = u"-";  // written only on a hit
    hit.hoverRect = TRect(-1, -1, -1, -1);
    f.hit = hit.Go();
    f.anchor = hit.anchor;
    f.title = hit.title;
    f.mouseLink = hit.mouseLink;
    f.hoverRect = hit.hoverRect;
    return f;
}

void ExpectNear(const TRect& a, const TRect& b) {
    EXPECT_NEAR(a.Left, b.Left, 1);
    EXPECT_NEAR(a.Top, b.Top, 1);
    EXPECT_NEAR(a.Right, b.Right, 1);
    EXPECT_NEAR(a.Bottom, b.Bottom, 1);
}

TEST(HtmlLayoutTable, TheDialectLaysOutAsItDidWordByWord) {
    TPictureContainer container(nullptr);
    TPictureItem* pic = container.Items()->Add();
    pic->SetName(u"PIC");
    render_test::LoadPlain(pic->Picture(), 40, 20, clRed);
    TPictureItem* alt = container.Items()->Add();
    alt->SetName(u"ALT");
    render_test::LoadPlain(alt->Picture(), 30, 12, clBlue);
    for (const Case& c : kCases) {
        SCOPED_TRACE(String(c.text).ToUtf8());
        const Taken now = Take(c, container);
        const Figures& was = c.before;
        EXPECT_EQ(now.strip, String(c.strip));
        EXPECT_NEAR(now.xSize, was.xSize, 1);
        EXPECT_NEAR(now.ySize, was.ySize, 1);
        ExpectNear(now.ink, was.ink);
        EXPECT_EQ(now.hit, was.hit);
        EXPECT_EQ(now.anchor, String(was.anchor));
        EXPECT_EQ(now.title, String(was.title));
        EXPECT_EQ(now.mouseLink, was.mouseLink);
        ExpectNear(now.hoverRect, was.hoverRect);
    }
}

}  // namespace
