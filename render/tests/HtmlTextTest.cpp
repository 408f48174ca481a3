// The text utilities of HTML-formatted text: entity codecs, plain text, marking matches and the
// values of embedded controls.
#include <gtest/gtest.h>

#include <random>

#include "render/ZivAVEZE.h"

namespace {

TEST(HtmlText, EntitiesEncodeAndDecodeBackToTheText) {
    EXPECT_EQ(HtmlEncodeEntities(u"\u00E9&"), u"&eacute;&amp;");
    EXPECT_EQ(HtmlDecodeEntities(u"&eacute;&amp;"), u"\u00E9&");
    EXPECT_EQ(HtmlDecodeEntities(u"&Eacute;&eacute;"), u"\u00C9\u00E9");
    EXPECT_EQ(HtmlEncodeEntities(u"<a href=\"x\">"), u"&lt;a href=&quot;x&quot;&gt;");
    EXPECT_EQ(HtmlEncodeEntities(u"*amp;"), u"*amp;");  // written as it stands, not taken for "&amp;"
    EXPECT_EQ(HtmlEncodeSpaces(u"a b  c"), u"a&nbsp;b&nbsp;&nbsp;c");
    for (const char16_t* text : {u"&eacute;", u"&amp;", u"*amp;", u"a<b>&lt;c", u"\u00E9\u20AC\u00AB\u00D5", u"\"q\"",
                                 u"&&amp;&", u"", u"plain"}) {
        EXPECT_EQ(HtmlDecodeEntities(HtmlEncodeEntities(text)), String(text)) << String(text).ToUtf8();
    }
}

TEST(HtmlText, PlainTextStrippingAndVisiblePositions) {
    EXPECT_EQ(HtmlToPlainText(u"a<BR>b"), u"a\r\nb");
    EXPECT_EQ(HtmlToPlainText(u"a<br>b<hr>c<B>d</B>"), u"a\r\nb\r\ncd");
    EXPECT_EQ(HtmlToPlainText(u"a<B>b<c"), u"ab<c");  // a "<" without ">" stays with what follows
    EXPECT_EQ(HtmlStripTags(u"<B>a</B>b<I>c"), u"abc");
    EXPECT_EQ(HtmlStripTags(u"a>b<c>d"), u"a>b<c>d");  // the first ">" comes before the first "<"
    EXPECT_EQ(HtmlStripTags(u"a<b"), u"a<b");

    const struct {
        const char16_t* html;
        int n, pos;
    } cases[] = {
        {u"abc", 1, 1},   {u"abc", 2, 2},       {u"ab<B>c", 3, 3}, {u"<B>abc", 1, 1}, {u"<B>abc", 2, 5},
        {u"abc", 4, 4},   {u"abc", 5, 0},       {u"", 1, 1},       {u"", 2, 0},
        // Past the last visible character is the end of the text, after the tags there.
        {u"ab<B>", 3, 6}, {u"<B>ab</B>", 3, 10}, {u"<B>ab</B>", 2, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(HtmlVisiblePos(c.html, c.n), c.pos) << String(c.html).ToUtf8() << " " << c.n;
}

TEST(HtmlText, MarkingEnclosesEveryMatchAndUnmarkingTakesItOut) {
    const struct {
        const char16_t* html;
        const char16_t* find;
        bool caseSensitive;
        const char16_t* marked;
    } cases[] = {
        {u"abab", u"ab", true, u"<M>ab</M><M>ab</M>"},
        {u"xabab", u"AB", false, u"x<M>ab</M><M>ab</M>"},
        {u"xabab", u"AB", true, u"xabab"},
        {u"<B>one</B> two one", u"one", true, u"<B><M>one</M></B> two <M>one</M>"},
        {u"a<B>bc</B>", u"ab", true, u"<M>a<B>b</M>c</B>"},
        {u"<B>ab</B>", u"b", true, u"<B>a<M>b</B></M>"},  // a match that ends the text closes at its end
        {u"1 < 2 and 1", u"1", true, u"<M>1</M> &lt; 2 and <M>1</M>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(String(c.html).ToUtf8());
        String marked = HtmlMarkText(c.html, c.find, u"M", c.caseSensitive);
        EXPECT_EQ(marked, String(c.marked));
        // Back to the text where it held no stray "<" or ">" (the last case).
        if (&c != &cases[std::size(cases) - 1]) {
            EXPECT_EQ(HtmlUnmarkText(marked, u"m"), String(c.html));
        }
    }
    EXPECT_EQ(HtmlUnmarkText(u"<m>a</M> &lt;b&gt;", u"M"), u"a <b>");
}

TEST(HtmlText, ControlValuesAreReadAndRewritten) {
    String html = u"x<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"15\" HEIGHT=\"30\">y";
    EXPECT_TRUE(HtmlHasControls(html));
    EXPECT_TRUE(HtmlHasControls(u"<control>"));
    EXPECT_FALSE(HtmlHasControls(u"CONTROL <CONTRO"));
    EXPECT_TRUE(HtmlSetControlValue(html, u"c1", u"TRUE"));
    EXPECT_EQ(html, u"x<CONTROL ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"15\" TYPE=\"CHECK\" HEIGHT=\"30\">y");
    String before = html;
    EXPECT_FALSE(HtmlSetControlValue(html, u"C1", u"FALSE"));  // IDs compare with case
    EXPECT_EQ(html, before);

    String value = u"untouched";
    EXPECT_FALSE(HtmlGetControlValue(html, u"nope", value));
    EXPECT_EQ(value, u"untouched");
    // A value with entities survives being written and read back.
    EXPECT_TRUE(HtmlSetControlValue(html, u"c1", u"&eacute; <&> \"q\" caf\u00E9"));
    EXPECT_TRUE(HtmlGetControlValue(html, u"c1", value));
    EXPECT_EQ(value, u"&eacute; <&> \"q\" caf\u00E9");

    String type, id, val, width, height, prop, maxlen;
    ParseControlTag(u"<CONTROL TYPE=\"edit\" VALUE=\"width=&quot;9&quot; type=x\" ID=\"e\" WIDTH=\"80\" "
                    u"PROP=\"p&amp;q\" MAXLEN=\"12abc\">",
                    type, id, val, width, height, prop, maxlen);
    EXPECT_EQ(type, u"EDIT");
    EXPECT_EQ(id, u"e");
    EXPECT_EQ(val, u"width=\"9\" type=x");
    EXPECT_EQ(width, u"80");
    EXPECT_EQ(height, u"");
    EXPECT_EQ(prop, u"p&q");
    EXPECT_EQ(maxlen, u"12abc");
    ParseControlTag(u"<CONTROL ID=unquoted TYPE=\"CHECK\">", type, id, val, width, height, prop, maxlen);
    EXPECT_EQ(id, u"");
    EXPECT_EQ(val, u"");

    const String form = u"<CONTROL TYPE=\"BUTTON\" ID=\"b\"><CONTROL TYPE=\"EDIT\" ID=\"e1\" MAXLEN=\"12abc\" PROP=\"p\">"
                        u"<CONTROL TYPE=\"CHECK\" ID=\"k\"><CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\">"
                        u"<CONTROL TYPE=\"COMBO\" ID=\"e2\"><CONTROL TYPE=\"RADIO\" VALUE=\"TRUE\">"
                        u"<CONTROL TYPE=\"RADIO\" VALUE=\"TRUE\">";
    EXPECT_EQ(HtmlNextEditControlID(form, u""), u"e1");
    EXPECT_EQ(HtmlNextEditControlID(form, u"e1"), u"e2");
    EXPECT_EQ(HtmlNextEditControlID(form, u"e2"), u"");
    EXPECT_EQ(HtmlGetControlMaxLen(form, u"e1"), 12);
    EXPECT_EQ(HtmlGetControlMaxLen(form, u"b"), 0);
    EXPECT_EQ(HtmlGetControlProp(form, u"e1"), u"p");
    String cleared = HtmlClearRadioControls(form);
    EXPECT_EQ(cleared.find(u"VALUE=\"TRUE\""), String::npos);
    int radios = 0;
    for (size_t at = 0; (at = cleared.find(u"TYPE=\"RADIO\"", at)) != String::npos; ++at) ++radios;
    EXPECT_EQ(radios, 3);
    EXPECT_TRUE(HtmlGetControlValue(cleared, u"r1", value));
    EXPECT_EQ(value, u"FALSE");

    EXPECT_EQ(PasswordMask(u"abc"), u"***");
    EXPECT_EQ(PasswordMask(u""), u"");
}

TEST(HtmlText, RandomTextNeverCrashesTheUtilities) {
    std::mt19937 random(99);
    const char16_t pieces[][16] = {u"<", u">", u"&", u"\"", u"a", u" ", u"<CONTROL ", u"TYPE=", u"ID=", u"VALUE=",
                                   u"&amp;", u"&lt;", u"\u00E9", u"<BR>", u"RADIO", u"EDIT"};
    for (int round = 0; round < 400; ++round) {
        String text;
        for (int i = static_cast<int>(random() % 24); i > 0; --i) text += pieces[random() % std::size(pieces)];
        String find = String(pieces[random() % std::size(pieces)]);
        HtmlDecodeEntities(text);
        HtmlEncodeEntities(text);
        HtmlToPlainText(text);
        HtmlStripTags(text);
        HtmlVisiblePos(text, static_cast<int>(random() % 10));
        HtmlUnmarkText(HtmlMarkText(text, find, u"M", round % 2 == 0), u"M");
        String value;
        HtmlGetControlValue(text, u"", value);
        HtmlNextEditControlID(text, u"");
        HtmlClearRadioControls(text);
        String copy = text;
        HtmlSetControlValue(copy, u"", u"v");
        HtmlGetControlMaxLen(text, u"");
    }
}

}  // namespace
