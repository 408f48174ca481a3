// Filter expressions: comparisons, patterns, negation, operators and groups, and the helpers.
#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "platform/rtl/SysUtils.h"
#include "render/VarAvir.h"

namespace {

struct FilterTest : ::testing::Test {
    void TearDown() override { FormatSettings = TFormatSettings::Default(); }
};

TEST_F(FilterTest, Expressions) {
    const struct {
        const char16_t* expression;
        const char16_t* value;
        bool caseSensitive;
        bool passes;
    } cases[] = {
        {u">10", u"9.5", false, false},
        {u">10", u"10", false, false},
        {u">10", u"10.5", false, true},
        {u">=10", u"10", false, true},
        {u"<= 8", u"8", false, true},
        {u">=5&<=8", u"6", false, true},
        {u">=5&<=8", u"9", false, false},
        {u"3|7", u"7", false, true},
        {u"3|7", u"5", false, false},
        {u"3;7", u"3", false, true},
        {u"3^7", u"7", false, true},
        {u"(3|7)&>5", u"7", false, true},
        {u"(3|7)&>5", u"3", false, false},
        {u">5&(3|7)", u"7", false, true},
        {u"((3|7))", u"7", false, true},
        {u"a*", u"abc", false, true},
        {u"a*", u"xabc", false, false},
        {u"a*", u"ABC", false, true},
        {u"a*", u"ABC", true, false},
        {u"!a*", u"abc", false, false},
        {u"!a*", u"xbc", false, true},
        {u"?b", u"ab", false, true},
        {u"?b", u"b", false, false},
        {u"*b*", u"abc", false, true},
        {u"a*&*c", u"abc", false, true},
        {u"a*&*c", u"abd", false, false},
        {u"\"a&b\"", u"a&b", false, true},  // quotes protect the operator
        {u">\"b c\"", u"b d", false, true},  // compared with the three-character text
        {u">\"b c\"", u"b a", false, false},
        {u"> b c", u"b d", false, false},  // unquoted, the blank goes: compared with "bc"
        {u"=5", u"5", false, true},
        {u" 5 ", u"5", false, true},
        {u">1,000", u"1,500", false, true},  // thousand separators read as numbers
        {u">9", u"10", false, true},         // numbers compare as numbers...
        {u">b", u"ab", false, false},        // ...and texts as texts
        {u"", u"", false, true},
        {u"", u"x", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilterExpression(c.expression, c.value, c.caseSensitive), c.passes)
            << String(c.expression) << " with " << String(c.value);
}

TEST_F(FilterTest, NegatedComparisonsAreTheInverse) {
    for (int v = 0; v <= 10; ++v) {
        const String value = IntToStr(v);
        EXPECT_EQ(MatchFilterExpression(u"!>5", value, false), !(v > 5)) << v;
        EXPECT_EQ(MatchFilterExpression(u"!<5", value, false), !(v < 5)) << v;
        EXPECT_EQ(MatchFilterExpression(u"!>=5", value, false), !(v >= 5)) << v;
        EXPECT_EQ(MatchCondition(u"!>2&<8", value, false), !(v > 2 && v < 8)) << v;
    }
}

TEST_F(FilterTest, UnclosedAndDeepGroupsEnd) {
    EXPECT_FALSE(MatchFilterExpression(u"(3|7", u"3", false));
    EXPECT_FALSE(MatchFilterExpression(u"3|(7", u"3", false));
    EXPECT_FALSE(MatchFilterExpression(u"(((", u"", false));
    const String deep = String(100, u'(') + u"7" + String(100, u')');
    EXPECT_TRUE(MatchFilterExpression(deep, u"7", false));
    const String tooDeep = String(5000, u'(') + u"7" + String(5000, u')');
    EXPECT_FALSE(MatchFilterExpression(tooDeep, u"7", false));
}

TEST_F(FilterTest, DatesInTheLocaleOrderCompareAsDates) {
    FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
    FormatSettings.DateSeparator = u'/';
    EXPECT_TRUE(MatchFilterExpression(u">01/02/2020", u"15/03/2020", false));
    EXPECT_FALSE(MatchFilterExpression(u">01/02/2020", u"5/1/2020", false));
    EXPECT_TRUE(MatchFilterExpression(u">=01/02/2020&<01/03/2020", u"29/02/2020", false));
    EXPECT_TRUE(MatchFilterExpression(u"<\"01/02/2020 12:00\"", u"1/2/2020 11:59", false));
}

TEST_F(FilterTest, DateTimesInTheLocale) {
    FormatSettings.ShortDateFormat = u"d/m/yyyy";
    FormatSettings.DateSeparator = u'/';
    FormatSettings.TimeSeparator = u':';
    const struct {
        const char16_t* text;
        bool valid;
        TDateTime value;
    } cases[] = {
        {u"31/12/2020 23:59:59", true, EncodeDate(2020, 12, 31) + EncodeTime(23, 59, 59, 0)},
        {u"1/2/2020 12:30", true, EncodeDate(2020, 2, 1) + EncodeTime(12, 30, 0, 0)},
        {u" 1/2/2020 ", true, EncodeDate(2020, 2, 1)},
        {u"1/2/20", true, EncodeDate(20, 2, 1)},  // years as written
        {u"30/02/2020", false, 0},
        {u"1/2/2020 12", false, 0},
        {u"32/1/2020", false, 0},
        {u"1/13/2020", false, 0},
        {u"1/2/2020 24:00", false, 0},
        {u"1/2/2020 12:60", false, 0},
        {u"1/2/2020 1:2:3:4", false, 0},
        {u"1/2", false, 0},
        {u"1/2/2020/5", false, 0},
        {u"a/2/2020", false, 0},
    };
    for (const auto& c : cases) {
        TDateTime value = -1;
        EXPECT_EQ(ParseDateTimeLocale(c.text, value), c.valid) << String(c.text);
        if (c.valid) {
            EXPECT_DOUBLE_EQ(value, c.value) << String(c.text);
        }
    }
    FormatSettings.ShortDateFormat = u"yyyy/mm/dd";
    TDateTime value = 0;
    EXPECT_TRUE(ParseDateTimeLocale(u"2020/12/31", value));
    EXPECT_EQ(value, EncodeDate(2020, 12, 31));
}

TEST_F(FilterTest, Helpers) {
    const TCharSet operators = {u'(', u';', u'^', u'&', u'|'};
    int pos = 0;
    EXPECT_EQ(FindFirstOfSet(operators, u"\"a&b\"&c", pos), u'&');
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(FindFirstOfSet(operators, u"\"a(b|\"", pos), 0);
    EXPECT_EQ(pos, -1);

    EXPECT_EQ(FindMatchingParen(u"(a(b))c"), 6);
    EXPECT_EQ(FindMatchingParen(u"(a(b)c"), 0);
    EXPECT_EQ(FindMatchingParen(u"a)"), 0);

    EXPECT_EQ(RemoveBlanksOutsideQuotes(u"a b \"c d\" e"), String(u"ab\"c d\"e"));
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(NumberTextWithDot(u"1.234,5"), String(u"1234.5"));
}

// The patterns as they are defined: "*" matches when the rest of the condition, as a condition of
// its own, matches some ending of the value. Tried directly, the number of tries grows with each
// star; the matcher must give the same answers.
bool DirectMatch(std::u16string_view cond, std::u16string_view value) {
    const bool negated = cond.find(u'!') != std::u16string_view::npos;
    size_t i = 0, t = 0;
    bool match = false;
    for (;;) {
        if (i == cond.size()) {
            match = t == value.size();
            break;
        }
        const char16_t c = cond[i];
        if (c == u'!' || c == u'"') {
            ++i;
            continue;
        }
        if (c == u'*') {
            while (i < cond.size() && cond[i] == u'*') ++i;
            for (size_t l = value.size() + 1; l-- > t && !match;) match = DirectMatch(cond.substr(i), value.substr(l));
            break;
        }
        if (t >= value.size() || (c != u'?' && value[t] != c)) break;
        ++i;
        ++t;
    }
    return negated ? !match : match;
}

TEST_F(FilterTest, PatternsMatchAsDefined) {
    std::mt19937 random(35);
    const std::u16string_view patternChars = u"ab*?!\"", valueChars = u"ab";
    auto text = [&](std::u16string_view chars, int most) {
        String s;
        for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) s.push_back(chars[random() % chars.size()]);
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const String cond = text(patternChars, 8), value = text(valueChars, 8);
        ASSERT_EQ(MatchCondition(cond, value, true), DirectMatch(cond, value)) << cond << " with " << value;
    }
}

TEST_F(FilterTest, ManyStarsAgainstALongValue) {
    const String as(1000, u'a');
    EXPECT_FALSE(MatchFilterExpression(u"*a*a*a*a*a*b", as, false));
    EXPECT_TRUE(MatchFilterExpression(u"*a*a*a*a*a*b", as + u"b", false));
    EXPECT_TRUE(MatchFilterExpression(u"*a*a*a*a*a*a", as, false));
}

}  // namespace
