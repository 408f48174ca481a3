// Cell text kinds, searching, the one-line codecs, quoting, code pages, numbers, dates, case, URLs,
// the clipboard's HTML header and pair-encoded Unicode.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Grids.h"
#include "platform/ui/backend/DesktopFormats.h"
#include "render/VarAvir.h"

namespace {

// Sets locale values for one test and puts the defaults back.
struct LocaleScope {
    LocaleScope() = default;
    ~LocaleScope() { FormatSettings = TFormatSettings::Default(); }
};

TEST(CellTexts, KindsFollowTheirMarks) {
    const struct {
        String text;
        bool allowHtml;
        int kind;
    } cases[] = {
        {u"", true, 0},
        {u"x", true, 0},
        {u"=A1", true, 3},
        {u"{\\rtf1 x}", true, 2},
        {u"<B>x", true, 1},
        {u"<B>x", false, 0},
        {u"a</i>", true, 1},
        {u"<b>x", true, 0},  // the marks are matched as written
        {EncodeUnicodeText(u"=A1"), true, 3},
        {EncodeUnicodeText(u"="), true, 5},
        {EncodeUnicodeText(u"日本"), true, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(CellTextKind(c.text, c.allowHtml), c.kind) << c.text;
}

TEST(CellTexts, Tests) {
    EXPECT_TRUE(ContainsUrl(u"see http://a.b"));
    EXPECT_TRUE(ContainsUrl(u"mailto:x@y"));
    EXPECT_FALSE(ContainsUrl(u"http:/a"));

    LocaleScope locale;
    FormatSettings.DateSeparator = u'/';
    for (const char16_t* date : {u"1/2/3", u"12/31/1999", u"x/yz/"}) EXPECT_TRUE(LooksLikeDate(date)) << String(date);
    for (const char16_t* other : {u"/1/2", u"1//2", u"1/2", u"12", u""}) EXPECT_FALSE(LooksLikeDate(other)) << String(other);

    EXPECT_TRUE(IsNumberChar(u'7'));
    EXPECT_TRUE(IsNumberChar(u'\uFF17'));  // full-width 7
    EXPECT_TRUE(IsNumberChar(u'\u00BD'));  // one half
    EXPECT_FALSE(IsNumberChar(u'a'));

    const TGridRect cells{1, 2, 3, 4};
    EXPECT_TRUE(CellInGridRect(cells, 1, 4));
    EXPECT_FALSE(CellInGridRect(cells, 4, 3));

    const struct {
        int value, min, max, result;
    } clamps[] = {{5, 3, 3, 5}, {1, 3, 9, 3}, {12, 3, 9, 9}, {-4, 0, 9, -4}, {99, 3, 0, 99}, {5, 3, 9, 5}};
    for (const auto& c : clamps) EXPECT_EQ(ClampToLimits(c.value, c.min, c.max), c.result) << c.value;

    TPoint p(-1, -1);
    EXPECT_TRUE(ParseRowColRef(u"R3C5", p));
    EXPECT_EQ(p, TPoint(5, 3));
    EXPECT_TRUE(ParseRowColRef(u"r12c7", p));
    EXPECT_EQ(p, TPoint(7, 12));
    for (const char16_t* bad : {u"R3C", u"RC5", u"C3R5", u"R3X5", u"R1"}) {
        p = TPoint(-1, -1);
        EXPECT_FALSE(ParseRowColRef(bad, p)) << String(bad);
        EXPECT_EQ(p, TPoint(-1, -1));
    }
}

TEST(CellTexts, SearchingAndSplitting) {
    int pos = 99;
    EXPECT_EQ(FindSubstring(u"lo", u"hello", pos), 4);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(FindSubstring(u"x", u"hello", pos), 0);
    EXPECT_EQ(pos, 0);
    pos = 99;
    EXPECT_EQ(FindChar(u'x', u"hello", pos), 0);
    EXPECT_EQ(pos, 99);  // untouched when absent
    EXPECT_EQ(FindChar(u'l', u"hello", pos), 3);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(CharPos(u'o', u"hello"), 5);
    EXPECT_EQ(PosInUpperText(u"LL", u"hello"), 3);
    EXPECT_EQ(WidePos(u"本", u"日本"), 2);

    String text = u"a,b,,c";
    EXPECT_EQ(ExtractToken(text, u","), String(u"a"));
    EXPECT_EQ(ExtractToken(text, u","), String(u"b"));
    EXPECT_EQ(ExtractToken(text, u","), String(u""));
    EXPECT_EQ(text, String(u"c"));
    EXPECT_EQ(ExtractToken(text, u","), String(u""));
    EXPECT_EQ(text, String(u"c"));  // no separator: nothing taken

    text = u"one\r\ntwo\rthree";
    EXPECT_EQ(ExtractFirstLine(text, true), String(u"one"));
    EXPECT_EQ(text, String(u"two\rthree"));
    EXPECT_EQ(ExtractFirstLine(text, false), String(u"two"));
    EXPECT_EQ(text, String(u""));
    text = u"single";
    EXPECT_EQ(ExtractFirstLine(text, true), String(u"single"));
    EXPECT_EQ(text, String(u""));

    EXPECT_EQ(CountTextLines(u"a\r\nb\r\nc", true), 3);
    EXPECT_EQ(CountTextLines(u"a\r\nb\r\nc", false), 1);
    EXPECT_EQ(CountChar(u'a', u"banana"), 3);
    text = u"secret";
    FillWithChar(text, u'*');
    EXPECT_EQ(text, String(u"******"));

    TStringList list;
    list.Add(u"ab");
    list.Add(u"");
    list.Add(u"c");
    EXPECT_EQ(ConcatStrings(&list), String(u"abc"));
}

TEST(CellTexts, LineBreakCodecs) {
    using Codec = std::function<String(String)>;
    const struct {
        const char* name;
        Codec codec;
        String in, out;
    } cases[] = {
        {"escape, unescape", [](String s) { return UnescapeLineBreaks(EscapeLineBreaks(s)); }, u"a\r\nb\r\n", u"a\rb\r"},
        {"escape", [](String s) { return EscapeLineBreaks(s); }, u"a\r\nb", u"a\\nb"},
        {"encode, decode", [](String s) { return DecodeLineBreaks(EncodeLineBreaks(s), true); }, String(u"a\r\nb\0c\r\n", 8),
         String(u"a\r\nb\0c\r\n", 8)},
        {"encoded", [](String s) { return EncodeLineBreaks(s); }, String(u"a\r\n\0", 4), u"a\t\b\x01"},
        {"no break, not encoded", [](String s) { return EncodeLineBreaks(s); }, u"a\tb\n", u"a\tb\n"},
        {"decode first line", [](String s) { return DecodeLineBreaks(EncodeLineBreaks(s), false); }, u"one\r\ntwo", u"one"},
        {"quote", [](String s) { QuoteMultiLineText(s); return s; }, u"", u"\"\""},
        {"quote lines", [](String s) { QuoteMultiLineText(s); return s; }, u"a\r\nb", u"\"a\vb\""},
        {"line tabs", [](String s) { LineTabsToCrLf(s); return s; }, u"a\vb\v", u"a\r\nb\r\n"},
        {"CR LF to LF", [](String s) { CrLfToLf(s); return s; }, u"a\r\nb\rc\n", u"a\nb\rc\n"},
        {"to tilde", [](String s) { LineBreaksToTilde(s); return s; }, u"a\r\nb\nc", u"a~bc"},
        {"from tilde", [](String s) { TildeToLineBreaks(s); return s; }, u"a~b", u"a\r\nb"},
        {"caret alone", [](String s) { TildeToLineBreaks(s); return s; }, u"^", u""},
        {"caret in text", [](String s) { TildeToLineBreaks(s); return s; }, u"a^", u"a^"},
        {"remove CR", [](String s) { return RemoveCR(s); }, u"a\r\nb\r", u"a\nb"},
        {"CR to LF", [](String s) { return CrToLf(s); }, u"a\r\nb", u"a\n\nb"},
        {"HTML breaks keep LF", [](String s) { return CrToHtmlBreaks(s); }, u"a\r\nb", u"a<br>\nb"},
        {"undouble", [](String s) { return UndoubleChar(u'"', DoubleQuoteChars(s)); }, u"a\"b\"\"c\"", u"a\"b\"\"c\""},
        {"doubled", [](String s) { return DoubleQuoteChars(s); }, u"\"a\"", u"\"\"a\"\""},
        {"undouble runs", [](String s) { return UndoubleChar(u'x', s); }, u"axxxbxxxx", u"axxbxx"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.codec(c.in), c.out) << c.name;
}

TEST(CellTexts, ClosingQuotes) {
    const struct {
        String text;
        int pos;
    } cases[] = {
        {u"\"\"x", 0},      // an escaped quote
        {u"\"x", 1},        // a closing one
        {u"ab\"", 3},       // the last character
        {u"a\"\"", 3},      // an even run at the end still ends the text
        {u"\"\"\"x", 3},    // an odd run closes at its last quote
        {u"\"\"a\"b", 4},   // escapes skipped, then the closing quote
        {u"none", 0},
        {u"", 0},
    };
    for (const auto& c : cases) {
        int pos = -7;
        EXPECT_EQ(FindClosingQuote(u'"', c.text, pos), c.pos) << c.text;
        EXPECT_EQ(pos, c.pos) << c.text;
    }
    EXPECT_EQ(CountClosingQuotes(u'"', u"\"a\"b\""), 3);
    EXPECT_EQ(CountClosingQuotes(u'"', u"\"\"x"), 0);
}

TEST(CellTexts, OemCodePageHoldsOneByteACharacter) {
    for (const char16_t* text : {u"ｱﾝﾃﾅ ﾃｽﾄ", u"日本語 abc", u""}) {
        String s = text;
        StringToOem(s);
        for (char16_t c : s) EXPECT_LE(c, 0xFF);
        OemToString(s);
        EXPECT_EQ(s, String(text));
    }
    String kana = u"ｱ";
    StringToOem(kana);
    EXPECT_EQ(kana, String(u"\u00B1"));  // half-width katakana take one byte
}

TEST(Numbers, Classified) {
    LocaleScope locale;
    FormatSettings.DecimalSeparator = u'.';
    FormatSettings.ThousandSeparator = u',';
    const struct {
        String text;
        int kind;
    } cases[] = {
        {u"", 2},     {u"12", 0},      {u"-12", 0},      {u"-", 0},         {u"1-2", 2},     {u"1,234.5", 1},
        {u"1,23,4", 2}, {u"1,234,567", 1}, {u"-1.5", 1},    {u"1.2.3", 2},     {u"-1.5e-3", 5}, {u"1E5", 5},
        {u"1e", 2},   {u"1e+", 2},     {u"e5", 2},       {u"1e5e", 2},      {u"--1", 2},     {u"1,5e3", 2},
        {u"12a", 2},  {u"\uFF11\uFF12", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(c.text), c.kind) << c.text;
}

TEST(Numbers, Normalised) {
    LocaleScope locale;
    const struct {
        String text, plain;
    } cases[] = {
        {u"(1,234.50) ", u"-1234.50"}, {u"$12", u"12"}, {u"EUR 12", u"E"}, {u"", u""},
        {u"-5", u"-5"},                {u"12 kg", u"12"}, {u"+3e2x", u"3e2"}, {u"x", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeNumberText(c.text), c.plain) << c.text;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(NormalizeNumberText(u"1.234,5"), String(u"1234.5"));
}

TEST(Dates, ParsedInEitherOrder) {
    const struct {
        String text;
        bool monthFirst;
        TDateTime date;
    } cases[] = {
        {u"12/31/99", true, EncodeDate(1999, 12, 31)},
        {u"1-2-25", true, EncodeDate(2025, 1, 2)},
        {u"1.2.26", true, EncodeDate(1926, 1, 2)},
        {u"12/31/2024", true, EncodeDate(2024, 12, 31)},  // a long year is taken as written
        {u"31/12/99", false, EncodeDate(1999, 12, 31)},
        {u"2.1.05", false, EncodeDate(2005, 1, 2)},
        {u"1.2", true, 0},
        {u"12/31", true, 0},
        {u"a/1/99", true, 0},
        {u"1/1/9x", true, 0},
        {u"", false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.monthFirst ? ParseDateMDY(c.text) : ParseDateDMY(c.text), c.date) << c.text;
    EXPECT_THROW(ParseDateMDY(u"2/30/20"), EConvertError);
    EXPECT_THROW(ParseDateDMY(u"13/13/99"), EConvertError);
    EXPECT_THROW(ParseDateMDY(u"0/1/99"), EConvertError);
}

TEST(Dates, PartsIncremented) {
    const TDateTime jan15 = EncodeDate(2021, 1, 15) + 0.5, jan31 = EncodeDate(2021, 1, 31);
    EXPECT_EQ(IncDateParts(0, -1, 0, jan15, 0), EncodeDate(2020, 12, 15));
    EXPECT_EQ(IncDateParts(0, 13, 0, jan15, 0), EncodeDate(2022, 2, 15));
    EXPECT_EQ(IncDateParts(0, 1, 0, jan15, 0), EncodeDate(2021, 2, 15));
    EXPECT_EQ(IncDateParts(2, 0, 0, jan15, 0), EncodeDate(2023, 1, 15));
    EXPECT_EQ(IncDateParts(0, 0, 3, jan15, 0), jan15 + 3);
    EXPECT_EQ(IncDateParts(1, 1, 0, jan15, 7), jan15 + 7);
    EXPECT_EQ(IncDateParts(0, 0, 0, jan15, 2), jan15 + 2);
    EXPECT_THROW(IncDateParts(0, 1, 0, jan31, 0), EConvertError);
    EXPECT_THROW(IncDateParts(0, -2, 0, jan15, 0), EConvertError);
    EXPECT_THROW(IncDateParts(0, 30, 0, jan15, 0), EConvertError);
    EXPECT_THROW(IncDateParts(1, 0, 0, EncodeDate(2020, 2, 29), 0), EConvertError);
    EXPECT_THROW(IncDateParts(2000000000, 0, 0, jan15, 0), EConvertError);
}

TEST(CellTexts, CapitalizedWords) {
    const struct {
        String text, result;
    } cases[] = {
        {u"mcdonald", u"McDonald"},
        {u"henry ii", u"Henry II"},
        {u"henry iii", u"Henry III"},
        {u"JOHN o'neil-smith", u"John O'Neil-Smith"},
        {u"ann mcdonald", u"Ann McDonald"},
        {u"ivy iris", u"Ivy Iris"},
        {u"", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(CapitalizeWords(c.text), c.result) << c.text;
}

TEST(CellTexts, Urls) {
    String html = u"untouched";
    EXPECT_TRUE(InsertUrlAnchor(u"see http://a.b/c now", u"HTTP://", html));
    EXPECT_EQ(html, String(u"see <a href=\"http://a.b/c\">http://a.b/c</a> now"));
    EXPECT_TRUE(InsertUrlAnchor(u"<x> MAILTO:a@b.c;", u"MAILTO:", html));
    EXPECT_EQ(html, String(u"&lt;x&gt; <a href=\"MAILTO:a@b.c\">MAILTO:a@b.c</a>;"));
    html = u"untouched";
    EXPECT_FALSE(InsertUrlAnchor(u"see a.b/c", u"HTTP://", html));
    EXPECT_EQ(html, String(u"untouched"));

    for (const auto& [in, out] : {std::pair<String, String>{u"http://x.y/z", u"x.y/z"}, {u"mailto:a@b", u"a@b"}, {u"plain", u"plain"}}) {
        String s = in;
        StripUrlPrefix(s);
        EXPECT_EQ(s, out);
    }
}

TEST(CellTexts, ClipboardHtmlHeaderPointsIntoTheText) {
    String html = u"0123456789";
    BuildHtmlClipboardText(html);
    auto number = [&](const char* label) {
        const size_t at = html.find(String(label));
        EXPECT_NE(at, String::npos) << label;
        const String digits = html.substr(at + String(label).size(), 8);
        EXPECT_EQ(html.substr(at + String(label).size() + 8, 2), String(u"\r\n")) << label;
        return StrToInt(digits);
    };
    EXPECT_TRUE(html.starts_with(u"Version:1.0\r\nStartHTML:00000097\r\n"));
    const int startHtml = number("StartHTML:"), endHtml = number("EndHTML:");
    const int startFragment = number("StartFragment:"), endFragment = number("EndFragment:");
    EXPECT_EQ(startHtml, 97);
    EXPECT_EQ(startFragment, 274);
    EXPECT_EQ(endFragment, 284);
    EXPECT_EQ(endHtml, 316);
    EXPECT_EQ(html.Length(), endHtml);
    EXPECT_EQ(html.substr(static_cast<size_t>(startHtml), 9), String(u"<!DOCTYPE"));
    EXPECT_EQ(html.substr(static_cast<size_t>(startFragment), 10), String(u"0123456789"));
    EXPECT_TRUE(html.substr(static_cast<size_t>(endFragment)).starts_with(u"<!--EndFragment-->"));

    // Other programs get the document the header points at, from its doctype, without the header.
    const std::string bytes = html.ToUtf8();
    ui::DesktopContent out =
        ui::DesktopContentOf({{RegisterClipboardFormat(u"HTML Format"), std::vector<uint8_t>(bytes.begin(), bytes.end())}});
    auto part = std::find_if(out.begin(), out.end(), [](const ui::DesktopPart& p) { return p.Type == "text/html"; });
    ASSERT_NE(part, out.end());
    EXPECT_EQ(std::string(part->Bytes.begin(), part->Bytes.end()), bytes.substr(static_cast<size_t>(startHtml)));
}

TEST(CellTexts, PairEncodedUnicode) {
    const String encoded = EncodeUnicodeText(u"日本");
    EXPECT_EQ(encoded, String(u"|\\\u0065\u00E5\u0067\u002C"));
    EXPECT_EQ(DecodeUnicodeText(encoded), String(u"日本"));
    EXPECT_EQ(DecodeUnicodeText(encoded + u"\u0030"), String(u"日本"));  // an odd last character
    EXPECT_EQ(DecodeUnicodeText(u"plain"), String(u"plain"));
    EXPECT_EQ(DecodeUnicodeText(u"|\\"), String(u""));
}

}  // namespace
