// The dialect of HTML-formatted text without a canvas: preparation, tag recognition and the
// drawing state of each run, colours and the named-character table.
#include <gtest/gtest.h>

#include <random>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "render/ZivAVEZE.h"

namespace {

THtmlFont Base() {
    THtmlFont f;
    f.Name = u"Arial";
    f.SetSize(8);
    f.Color = clBlack;
    return f;
}

struct TextRun {
    String text;
    THtmlDrawState state;
};

// The runs a text shows, each with the state it is drawn in, as the renderer walks it.
std::vector<TextRun> Runs(const String& html, THtmlPass pass = THtmlPass::Paint, const THtmlTagOptions& options = {}) {
    std::vector<TextRun> runs;
    THtmlScanner scanner(HtmlPrepareText(html));
    THtmlDrawState state(Base());
    while (!scanner.AtEnd()) {
        if (size_t n = scanner.RunLength(false)) {
            String run = HtmlRunEntities(scanner.Take(n));
            if (!state.Hidden) runs.push_back({run, state});
            continue;
        }
        THtmlTag tag = scanner.PeekTag();
        scanner.Take(tag.Length);
        HtmlApplyTag(state, tag, pass, options);
    }
    return runs;
}

String Texts(const std::vector<TextRun>& runs) {
    String all;
    for (const TextRun& r : runs) all += (all.empty() ? u"" : u"|") + r.text;
    return all;
}

TEST(HtmlMarkup, PreparationAndRunEntities) {
    const struct {
        const char16_t* text;
        const char16_t* shown;
    } cases[] = {
        {u"a&amp;b", u"a&&b"},
        {u"a&AMP;b", u"a&&b"},
        {u"&amp;amp;", u"&&&"},
        {u"&euro;", u"\u20AC"},
        {u"&quot;&sect;&permil;&reg;&copy;&para;&trade;", u"\"\u00A7\u2030\u00AE\u00A9\u00B6\u2122"},
        {u"<#12>", u"#12"},
        {u"a<#b>c>d", u"a#bc>d"},
        {u"one\r\ntwo", u"one|two"},
        {u"one\ntwo", u"onetwo"},
        {u"&nbsp;&nbsp;x", u"  x"},
        {u"&lt;B&gt;", u"<B>"},
        {u"&LT;B", u"&LT;B"},
    };
    for (const auto& c : cases) EXPECT_EQ(Texts(Runs(c.text)), String(c.shown)) << String(c.text).ToUtf8();
    EXPECT_EQ(HtmlPrepareText(u"a\r\nb\rc\nd"), u"a<BR>b<BR>cd");
    // Control tags keep their encoded values for ParseControlTag.
    EXPECT_EQ(HtmlPrepareText(u"&amp;<control VALUE=\"&quot;&amp;\">&quot;"), u"&&<control VALUE=\"&quot;&amp;\">\"");
}

TEST(HtmlMarkup, EachTagChangesTheStateOfTheRunsAfterIt) {
    auto bold = [](const TextRun& r) { return r.state.Font.Style.Contains(fsBold); };
    {
        auto runs = Runs(u"a<B>b</B>c");
        ASSERT_EQ(Texts(runs), u"a|b|c");
        EXPECT_FALSE(bold(runs[0]));
        EXPECT_TRUE(bold(runs[1]));
        EXPECT_FALSE(bold(runs[2]));
    }
    {
        auto runs = Runs(u"a<B>b<B>c</B>d");  // closers do not nest
        ASSERT_EQ(Texts(runs), u"a|b|c|d");
        EXPECT_TRUE(bold(runs[1]) && bold(runs[2]));
        EXPECT_FALSE(bold(runs[3]));
    }
    {
        auto runs = Runs(u"<FONT SIZE=\"3\">a</FONT><FONT SIZE=\"24\">b<FONT FACE=\"Courier New\" SIZE=\"5\">c</FONT>d");
        ASSERT_EQ(Texts(runs), u"a|b|c|d");
        EXPECT_EQ(runs[0].state.Font.Size(), 12);
        EXPECT_EQ(runs[1].state.Font.Size(), 24);
        EXPECT_EQ(runs[2].state.Font.Size(), 16);
        EXPECT_EQ(runs[2].state.Font.Name, u"COURIER NEW");  // faces arrive upper-cased
        EXPECT_EQ(runs[3].state.Font.Size(), 8);
        EXPECT_EQ(runs[3].state.Font.Name, u"Arial");
    }
    {
        // Sizes no font can have are held to what the renderer draws.
        auto runs = Runs(u"<FONT SIZE=\"0\">a<FONT SIZE=\"99999999\">b<FONT SIZE=\"-40\">c");
        EXPECT_EQ(runs[0].state.Font.Size(), 1);
        EXPECT_EQ(runs[1].state.Font.Size(), 1638);
        EXPECT_EQ(runs[2].state.Font.Size(), 1);
    }
    {
        auto runs = Runs(u"<FONT COLOR=\"#ff0000\">a<FONT COLOR=\"clRed\">b<FONT COLOR=\"plum\">c"
                         u"<FONT BGCOLOR=\"clLime\">d</FONT>e");
        EXPECT_EQ(runs[0].state.Font.Color, clRed);
        EXPECT_EQ(runs[1].state.Font.Color, clRed);
        EXPECT_EQ(runs[2].state.Font.Color, clBlack);  // BGCOLOR is not COLOR
        EXPECT_EQ(runs[3].state.Background, clLime);
        EXPECT_EQ(runs[4].state.Background, clNone);
    }
    // A "<" with no ">" hides the rest; so does a remainder of one or two characters.
    EXPECT_EQ(Texts(Runs(u"a<B b")), u"a");
    EXPECT_EQ(Texts(Runs(u"a<>")), u"a");
    EXPECT_EQ(Texts(Runs(u"a<")), u"a");
    EXPECT_EQ(Texts(Runs(u"a<Q>b<SPAN>c")), u"a|b|c");
    {
        auto runs = Runs(u"<SUB >a<SUB>b</SUP>c<SUP>d</SUB>e");
        ASSERT_EQ(Texts(runs), u"a|b|c|d|e");
        EXPECT_FALSE(runs[0].state.Sub);
        EXPECT_TRUE(runs[1].state.Sub);
        EXPECT_FALSE(runs[2].state.Sub || runs[2].state.Sup);
        EXPECT_TRUE(runs[3].state.Sup);
        EXPECT_FALSE(runs[4].state.Sup);
    }
    {
        THtmlTagOptions blinkOff;
        blinkOff.BlinkOn = false;
        blinkOff.InitialBackground = 0x123456;
        auto runs = Runs(u"<BLINK>a</BLINK>b<FONT COLOR=\"clred\">c</BODY>d<FONT COLOR=\"clred\">e</B>f",
                         THtmlPass::Paint, blinkOff);
        ASSERT_EQ(Texts(runs), u"a|b|c|d|e|f");
        EXPECT_EQ(runs[0].state.Font.Color, 0x123456);
        EXPECT_EQ(runs[1].state.Font.Color, clBlack);
        EXPECT_EQ(runs[3].state.Font.Color, clBlack);
        EXPECT_EQ(runs[5].state.Font.Color, clRed);  // </B> only ends bold
    }
    {
        auto runs = Runs(u"<P ALIGN=\"right\" INDENT=\"7\">a</P>b<P ALIGN=\"CENTER\">c<P>d<P ALIGN=\"LEFT\">e");
        EXPECT_EQ(runs[0].state.Align, THtmlAlign::Right);
        EXPECT_EQ(runs[0].state.Indent, 7);
        EXPECT_EQ(runs[1].state.Align, THtmlAlign::Right);  // the closer keeps it
        EXPECT_EQ(runs[2].state.Align, THtmlAlign::Center);
        EXPECT_EQ(runs[3].state.Align, THtmlAlign::Center);
        EXPECT_EQ(runs[4].state.Align, THtmlAlign::Left);
    }
    {
        auto runs = Runs(u"<I>a</I><S>b</S><U>c</U><SHAD>d</SHAD><Z>hidden</Z>e<E>f</E>");
        ASSERT_EQ(Texts(runs), u"a|b|c|d|e|f");
        EXPECT_TRUE(runs[0].state.Font.Style.Contains(fsItalic));
        EXPECT_TRUE(runs[1].state.Font.Style.Contains(fsStrikeOut));
        EXPECT_TRUE(runs[2].state.Font.Style.Contains(fsUnderline));
        EXPECT_TRUE(runs[3].state.Shadow);
        EXPECT_TRUE(runs[5].state.Error);
        EXPECT_TRUE(runs[4].state.Font.Style.Empty());
        EXPECT_EQ(Runs(u"<E>f", THtmlPass::Measure)[0].state.Error, false);  // painting only
    }
    {
        auto runs = Runs(u"<UL>a<UL>b</UL>c</UL>d<U>e</UL>f");
        EXPECT_EQ(runs[0].state.ListLevel, 1);
        EXPECT_EQ(runs[1].state.ListLevel, 2);
        EXPECT_EQ(runs[2].state.ListLevel, 1);
        EXPECT_EQ(runs[3].state.ListLevel, 0);
        EXPECT_TRUE(runs[4].state.Font.Style.Contains(fsUnderline));
        EXPECT_FALSE(runs[5].state.Font.Style.Contains(fsUnderline));  // at level 0 the closer ends underline
    }
}

TEST(HtmlMarkup, AnchorsRotationHighlightAndTheNumbersTagsRead) {
    THtmlTagOptions o;
    o.URLColor = clBlue;
    auto runs = Runs(u"<A HREF=\"Go\" TITLE=\"Tip\">a</A>b<A HREF=\"x\">c</A>", THtmlPass::Paint, o);
    ASSERT_EQ(Texts(runs), u"a|b|c");
    EXPECT_TRUE(runs[0].state.InAnchor);
    EXPECT_EQ(runs[0].state.Href, u"Go");  // HREF and TITLE keep their case
    EXPECT_EQ(runs[0].state.Title, u"Tip");
    EXPECT_EQ(runs[0].state.Font.Color, clBlue);
    EXPECT_TRUE(runs[0].state.Font.Style.Contains(fsUnderline));
    EXPECT_FALSE(runs[1].state.InAnchor);
    EXPECT_EQ(runs[1].state.Font.Color, clBlack);
    EXPECT_EQ(runs[2].state.AnchorCount, 2);
    EXPECT_EQ(runs[2].state.Title, u"Tip");  // no TITLE keeps the previous one
    EXPECT_FALSE(Runs(u"<A HREF=\"x\">a", THtmlPass::Measure)[0].state.Font.Style.Contains(fsUnderline));

    o.KeepFontColor = true;
    auto kept = Runs(u"<A HREF=\"x\">a</A><FONT COLOR=\"clred\">b", THtmlPass::Paint, o);
    EXPECT_EQ(kept[0].state.Font.Color, clBlack);
    EXPECT_EQ(kept[1].state.Font.Color, clBlack);

    THtmlTagOptions hover;
    hover.HoverOnly = true;
    hover.HoverLink = 2;
    hover.HoverColor = clYellow;
    auto hovered = Runs(u"<A HREF=\"1\">a</A><A HREF=\"2\">b</A>c", THtmlPass::Paint, hover);
    EXPECT_FALSE(hovered[0].state.Font.Style.Contains(fsUnderline));
    EXPECT_EQ(hovered[0].state.Background, clNone);
    EXPECT_TRUE(hovered[1].state.Font.Style.Contains(fsUnderline));
    EXPECT_EQ(hovered[1].state.Background, clYellow);
    EXPECT_EQ(hovered[2].state.Background, clNone);

    auto rotated = Runs(u"<B>a<R a=\"90\">b</B>c</R>d");
    EXPECT_EQ(rotated[1].state.Font.Orientation, 900);
    EXPECT_FALSE(rotated[2].state.Font.Style.Contains(fsBold));
    EXPECT_EQ(rotated[3].state.Font.Orientation, 0);
    EXPECT_TRUE(rotated[3].state.Font.Style.Contains(fsBold));  // the held font comes back whole
    // More than a whole turn is the same turn.
    EXPECT_EQ(Runs(u"a<R a=\"450\">b")[1].state.Font.Orientation, 900);
    EXPECT_EQ(Runs(u"a<R a=\"-2147483648\">b")[1].state.Font.Orientation, -21474836480LL % 3600);

    HtmlSetHighlightColors(0x0A0B0C, 0x0D0E0F);
    auto hi = Runs(u"<FONT BGCOLOR=\"clred\">a<HI>b</HI>c");
    EXPECT_EQ(hi[1].state.Background, 0x0A0B0C);
    EXPECT_EQ(hi[1].state.Font.Color, 0x0D0E0F);
    EXPECT_EQ(hi[2].state.Background, clRed);
    EXPECT_EQ(hi[2].state.Font.Color, clBlack);
    HtmlSetHighlightColors(clHighlight, clHighlightText);

    auto tagOf = [](const char16_t* text) { return THtmlScanner(text).PeekTag(); };
    int v = 0;
    EXPECT_TRUE(tagOf(u"<IND x=\"20\">").LetterValue(u'x', v));
    EXPECT_EQ(v, 20);
    EXPECT_FALSE(tagOf(u"<IND x=\"far\">").LetterValue(u'x', v));
    EXPECT_EQ(tagOf(u"<IND x=\"20\">").Kind, THtmlTagKind::Ind);
    EXPECT_EQ(tagOf(u"<FONT SIZE=+3 COLOR=\"clred\">").SizeAttr(), 3);
    EXPECT_EQ(tagOf(u"<FONT size=\" 24\">").SizeAttr(), 24);
    EXPECT_EQ(tagOf(u"<IMG src=\"a.bmp\" alt=b>").Attr(u"SRC"), u"A.BMP");
    EXPECT_EQ(tagOf(u"<IMG src=\"a.bmp\" alt=b>").Attr(u"ALT"), u"");
}

TEST(HtmlMarkup, ColourNamesAndHexadecimalColours) {
    const struct {
        const char16_t* name;
        uint32_t colour;
    } names[] = {
        {u"clred", 0x0000FF},       {u"clnavy", 0x800000},     {u"clbtnface", 0xFF00000F},
        {u"cl3ddkshadow", 0xFF000015}, {u"clinfobk", 0xFF000018}, {u"clblack", 0},
        {u"clRed", 0},              {u"plum", 0},
    };
    for (const auto& c : names) EXPECT_EQ(static_cast<uint32_t>(HtmlColorByName(c.name)), c.colour) << String(c.name).ToUtf8();

    const struct {
        const char16_t* text;
        TColor colour;
    } hex[] = {{u"#FF0000", 0x0000FF}, {u"#00FF00", 0x00FF00}, {u"#0000FF", 0xFF0000}, {u"#123456", 0x563412},
               {u"#FF", 0x0000FF},     {u"#12345", 0x003412},  {u"#", 0}};
    for (const auto& c : hex) EXPECT_EQ(HtmlColorByHex(c.text), c.colour) << String(c.text).ToUtf8();
    // Any text reads without overflow (the sanitizer build checks the arithmetic).
    std::mt19937 random(5);
    for (int i = 0; i < 200; ++i) {
        String s = u"#";
        for (int k = 0; k < 6; ++k) s.push_back(static_cast<char16_t>(random() % 0xFFFF));
        HtmlColorByHex(s);
    }
}

TEST(HtmlMarkup, TheNamedCharacterTableHasItsFiftyFivePairsInOrder) {
    const auto& table = HtmlNamedChars();
    ASSERT_EQ(table.size(), 55u);
    const char16_t* lower[] = {u"eacute", u"egrave", u"euml", u"ecirc", u"oacute", u"ograve", u"ouml",
                               u"ocirc",  u"iacute", u"igrave", u"iuml", u"icirc", u"uacute", u"ugrave",
                               u"uuml",   u"ucirc",  u"aacute", u"agrave", u"auml", u"acirc"};
    for (int i = 0; i < 20; ++i) {
        String name = String(u"&") + lower[i] + u";";
        String upper = name;
        upper[1] = static_cast<char16_t>(upper[1] - 32);
        EXPECT_EQ(String(table[i].Entity), name);
        EXPECT_EQ(String(table[20 + i].Entity), upper);
        EXPECT_EQ(table[20 + i].Char, AnsiUpperChar(table[i].Char));
    }
    const struct {
        char16_t c;
        const char16_t* entity;
    } rest[] = {{u'\u00E7', u"&ccedil;"}, {u'\u00C7', u"&Ccedil;"}, {u'\u00F8', u"&oslash;"}, {u'\u00D8', u"&Oslash;"},
                {u'\u00E5', u"&aring;"},  {u'\u00C5', u"&Aring;"},  {u'\u00A9', u"&copy;"},   {u'\u00AE', u"&reg;"},
                {u'\u20AC', u"&euro;"},   {u'\u00AB', u"&laquo;"},  {u'\u00BB', u"&raquo;"},  {u'\u00E3', u"&atilde;"},
                {u'\u00C3', u"&Atilde;"}, {u'\u00F5', u"&otilde;"}, {u'\u00D5', u"&Otilde;"}};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(table[40 + i].Char, rest[i].c);
        EXPECT_EQ(String(table[40 + i].Entity), rest[i].entity);
    }
    EXPECT_EQ(table[0].Char, u'\u00E9');
    EXPECT_EQ(table[19].Char, u'\u00E2');
}

TEST(HtmlMarkup, DetectsTheSystemVersionThatHasVisualStyles) {
    const struct {
        DWORD major, minor;
        bool xp;
    } cases[] = {{6, 1, true}, {5, 1, true}, {5, 0, false}, {4, 9, false}, {10, 0, true}};
    for (const auto& c : cases) {
        ui::sys::Answers().MajorVersion = c.major;
        ui::sys::Answers().MinorVersion = c.minor;
        EXPECT_EQ(DetectWinXP(), c.xp) << c.major << "." << c.minor;
        EXPECT_EQ(HtmlIsWinXP(), c.xp);
    }
    ui::sys::ResetAnswers();
    EXPECT_TRUE(DetectWinXP());
}

TEST(HtmlMarkup, RandomTextNeverCrashesPreparationOrTags) {
    std::mt19937 random(1234);
    const char16_t pieces[][12] = {u"<",  u">",   u"&",      u"<B>",     u"</",     u"<FONT ", u"SIZE=",  u"\"",
                                   u"=",  u"a",   u" ",      u"<#",      u"&amp;",  u"\r",     u"\n",     u"<R a=\"",
                                   u"9",  u"<IND x=\"", u"<SUB>", u"<P ALIGN=", u"COLOR=\"#", u"<A HREF=\"", u"</A>", u"<Z>"};
    for (int round = 0; round < 500; ++round) {
        String text;
        for (int i = static_cast<int>(random() % 30); i > 0; --i) text += pieces[random() % std::size(pieces)];
        for (THtmlPass pass : {THtmlPass::Measure, THtmlPass::HitTest, THtmlPass::Paint}) Runs(text, pass);
    }
}

}  // namespace
