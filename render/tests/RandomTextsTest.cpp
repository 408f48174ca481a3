// Random texts, built from the characters the routines give meaning to, through every text routine
// and the filter: nothing may crash, read out of bounds or loop, and the codecs keep their
// round trips.
#include <gtest/gtest.h>

#include <random>

#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "render/VarAvir.h"

namespace {

TEST(RandomTexts, ThroughEveryRoutine) {
    FormatSettings.ShortDateFormat = u"d/m/yyyy";
    std::mt19937 random(20240607);
    using namespace std::literals;
    const std::u16string_view chars =
        u"ab Mc Ii Rr CEe0123456789\uFF11-+.,/:\"'()&|;^!<>=*?~\\{}%@_\r\n\t\b\v\x01\x00ｱ日\xD800\xFFFF"sv;
    const String alphabet(chars.data(), chars.size());
    auto text = [&] {
        String s;
        for (int n = static_cast<int>(random() % 41); n > 0; --n) s.push_back(alphabet[random() % alphabet.size()]);
        return s;
    };
    TStringList list;
    size_t total = 0;
    for (int i = 0; i < 4000; ++i) {
        const String s = text(), value = text();
        SCOPED_TRACE(s.ToUtf8() + " | " + value.ToUtf8());

        const int kind = CellTextKind(s, i % 2 == 0);
        EXPECT_TRUE(kind == 0 || kind == 1 || kind == 2 || kind == 3 || kind == 5);
        ContainsUrl(s);
        LooksLikeDate(s);
        TPoint p;
        ParseRowColRef(s, p);
        int pos = 0;
        FindSubstring(value, s, pos);
        PosInUpperText(value, s);
        String rest = s;
        ExtractToken(rest, value.substr(0, 1));
        rest = s;
        ExtractFirstLine(rest, true);
        CountTextLines(s, true);
        list.Add(s);
        total += s.size();

        EXPECT_EQ(DecodeUnicodeText(EncodeUnicodeText(s)), s);
        EXPECT_EQ(UndoubleChar(u'"', DoubleQuoteChars(s)), s);
        const bool codecDomain = s.find_first_of(u"\x01\b\t") == String::npos &&
                                 (s.find(u'\r') == String::npos || s.find(u'\n') != String::npos);
        if (codecDomain) {
            EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks(s), true), s);
        }
        DecodeLineBreaks(s, false);
        UnescapeLineBreaks(EscapeLineBreaks(s));
        String t = s;
        QuoteMultiLineText(t);
        LineTabsToCrLf(t);
        CrLfToLf(t);
        LineBreaksToTilde(t);
        TildeToLineBreaks(t);
        RemoveCR(s);
        CrToLf(s);
        CrToHtmlBreaks(s);
        const int quote = FindClosingQuote(u'"', s, pos);
        EXPECT_TRUE(quote == 0 || s[static_cast<size_t>(quote) - 1] == u'"');
        CountClosingQuotes(u'"', s);
        t = s;
        StringToOem(t);
        OemToString(t);

        NormalizeNumberText(s);
        const int number = ClassifyNumberText(s);
        EXPECT_TRUE(number == 0 || number == 1 || number == 2 || number == 5);
        for (auto parse : {ParseDateMDY, ParseDateDMY}) {
            try {
                parse(s);
            } catch (const EConvertError&) {
                // numbers that form no date
            }
        }
        EXPECT_EQ(CapitalizeWords(s).size(), s.size());
        t = s;
        StripUrlPrefix(t);
        String html;
        InsertUrlAnchor(s, u"HTTP://", html);
        html = s;
        BuildHtmlClipboardText(html);
        EXPECT_EQ(html.substr(274, s.size()), s);

        MatchFilterExpression(s, value, i % 3 == 0);
        MatchCondition(s, value, i % 3 == 1);
        FindFirstOfSet({u'(', u';', u'^', u'&', u'|'}, s, pos);
        FindMatchingParen(s);
        TDateTime when;
        ParseDateTimeLocale(s, when);
        NumberTextWithDot(s);
        RemoveBlanksOutsideQuotes(s);
    }
    EXPECT_EQ(ConcatStrings(&list).size(), total);
    FormatSettings = TFormatSettings::Default();
}

}  // namespace
