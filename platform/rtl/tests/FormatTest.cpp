#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

// Settings of a decimal-comma locale, to show the routines read the settings they are given.
TFormatSettings CommaSettings() {
    TFormatSettings fs;
    fs.DecimalSeparator = u',';
    fs.ThousandSeparator = u'.';
    return fs;
}

}  // namespace

TEST(FormatTest, FloatToStrUsesFifteenDigitsInGeneralFormat) {
    struct Case { double value; const char* text; };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},  // 0.30000000000000004 to 15 digits
        {-2.5, "-2.5"},
        {100.0, "100"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},  // 16 integer digits: more than the precision
        {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-5, "1.5E-5"},
        {-1.5e-300, "-1.5E-300"},
        {std::nan(""), "NAN"},
        {inf, "INF"},
        {-inf, "-INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), String(c.text)) << c.value;
    EXPECT_EQ(FloatToStr(-1234.5, CommaSettings()), String("-1234,5"));
}

TEST(FormatTest, FloatToStrFFormats) {
    struct Case { double value; TFloatFormat format; int precision; int digits; const char* text; };
    const Case cases[] = {
        {1234.5678, ffFixed, 15, 2, "1234.57"},
        {1234.5678, ffNumber, 15, 2, "1,234.57"},
        {-1234567.891, ffNumber, 15, 1, "-1,234,567.9"},
        {999.5, ffNumber, 15, 0, "1,000"},
        {0.5, ffFixed, 15, 0, "1"},    // half away from zero, unlike Round
        {2.5, ffFixed, 15, 0, "3"},
        {-0.5, ffFixed, 15, 0, "-1"},
        {-0.004, ffFixed, 15, 2, "0.00"},  // rounded to zero: no "-0.00"
        {2.345, ffFixed, 15, 2, "2.35"},
        {2.345, ffFixed, 2, 2, "2.30"},    // precision limits the significant digits
        {1e20, ffFixed, 15, 2, "1E20"},     // more integer digits than precision
        {1234.5, ffExponent, 4, 2, "1.235E+03"},
        {0.000123, ffExponent, 3, 0, "1.23E-4"},
        {1.0, ffExponent, 1, 2, "1E+00"},
        {0.0, ffExponent, 3, 2, "0.00E+00"},
        {-12345.678, ffExponent, 15, 3, "-1.23456780000000E+004"},
        {123.456, ffGeneral, 4, 0, "123.5"},
        {1234567.0, ffGeneral, 4, 2, "1.235E06"},
        {1234.5, ffCurrency, 15, 2, "$1,234.50"},
        {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
        {1234.5, ffCurrency, 15, 0, "$1,235"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), String(c.text))
            << c.value << " format " << c.format << " " << c.precision << " " << c.digits;
}

TEST(FormatTest, CurrencyFormatsFollowTheSettings) {
    TFormatSettings fs;
    fs.CurrencyString = u"EUR";
    struct Case { int format; int negFormat; double value; const char* text; };
    const Case cases[] = {
        {0, 0, 5, "EUR5.00"},   {1, 0, 5, "5.00EUR"},    {2, 0, 5, "EUR 5.00"},  {3, 0, 5, "5.00 EUR"},
        {0, 1, -5, "-EUR5.00"}, {0, 5, -5, "-5.00EUR"},  {0, 8, -5, "-5.00 EUR"}, {0, 15, -5, "(5.00 EUR)"},
    };
    for (const auto& c : cases) {
        fs.CurrencyFormat = static_cast<uint8_t>(c.format);
        fs.NegCurrFormat = static_cast<uint8_t>(c.negFormat);
        EXPECT_EQ(FloatToStrF(c.value, ffCurrency, 15, 2, fs), String(c.text)) << c.format << "/" << c.negFormat;
    }
}

TEST(FormatTest, FormatFloatPictures) {
    struct Case { const char* format; double value; const char* text; };
    const Case cases[] = {
        {"##0.0", -85, "-85.0"},
        {"##0.0", 0.04, "0.0"},
        {"0.00", 2.345, "2.35"},  // the double lies just below 2.345; 15 digits say 2.345
        {"0.00", 2.344, "2.34"},
        {"0.00", -2.345, "-2.35"},
        {"0", 0.5, "1"},
        {"0", 1.5, "2"},
        {"0", 2.5, "3"},
        {"0.0", -0.01, "0.0"},  // rounds to zero: no sign
        {"0.000", 1e-10, "0.000"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", 999.5, "1,000"},
        {"#,##0", -1234567, "-1,234,567"},
        {"#,##0", 12, "12"},
        {"#", 1234, "1234"},  // digits beyond the places go in front
        {"#", 0, ""},
        {"#.##", 0, ""},
        {"0.##", 1.5, "1.5"},
        {"0.##", 2, "2"},
        {"0.0#", 2, "2.0"},
        {"0.0#", 2.125, "2.13"},
        {"000", 7, "007"},
        {".00", 5.3, "5.30"},
        {"00.00E+00", 12345, "12.35E+03"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.00E-00", 1234, "1.23E03"},
        {"0.0e+0", -12.5, "-1.3e+1"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00;(0.00);'zero'", 3.5, "3.50"},
        {"0.00;(0.00);'zero'", -3.5, "(3.50)"},
        {"0.00;(0.00);'zero'", 0.001, "zero"},  // zero after rounding picks the third section
        {"0.00;(0.00)", 0, "0.00"},
        {"0.00;", -1.5, "-1.50"},                // an empty section falls back to the first
        {"'Total: '0.0' kg'", 12.34, "Total: 12.3 kg"},
        {"\"$\"#,##0.00", 1234.5, "$1,234.50"},
        {"0.0 'dBm'", -85.25, "-85.3 dBm"},
        {"", 0.1, "0.1"},
        {"0.00", 1e20, "1E20"},  // too large for a fixed picture
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.value), String(c.text)) << c.format << " " << c.value;
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, CommaSettings()), String("1.234,50"));
}

TEST(FormatTest, FormatSpecifiersWidthAndPrecision) {
    struct Case { const char* format; std::initializer_list<TVarRec> args; const char* text; };
    const Case cases[] = {
        {"%d", {42}, "42"},
        {"[%5d]", {42}, "[   42]"},
        {"[%-5d]", {42}, "[42   ]"},
        {"[%2d]", {12345}, "[12345]"},
        {"%.4d", {-42}, "-0042"},
        {"%d", {int64_t(-9223372036854775807LL - 1)}, "-9223372036854775808"},
        {"%u", {-1}, "4294967295"},  // an int is 32 bits wide
        {"%x", {255}, "ff"},
        {"%X", {255}, "FF"},
        {"%.4X", {255}, "00FF"},
        {"%x", {-1}, "ffffffff"},
        {"%X", {int64_t(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%.4x%.4x", {0x411, 0x4B0}, "041104b0"},
        {"%s and %s", {"a", String(u"b")}, "a and b"},
        {"[%6s][%-6s]", {"ab", u"cd"}, "[    ab][cd    ]"},
        {"%.3s", {"abcdef"}, "abc"},
        {"%s", {u'Z'}, "Z"},
        {"%c%c", {u'O', 'K'}, "OK"},
        {"%f", {2.5}, "2.50"},
        {"[%8.3f]", {3.14159}, "[   3.142]"},
        {"%.0f", {2.5}, "3"},
        {"%.1f", {-0.04}, "0.0"},
        {"%e", {12345.678}, "1.23456780000000E+004"},
        {"%.3e", {12345.678}, "1.23E+004"},
        {"%g", {0.5}, "0.5"},
        {"%g", {100.0}, "100"},
        {"%g", {1e20}, "1E20"},
        {"%g", {1e-5}, "1E-5"},
        {"%g", {0.0001}, "0.0001"},
        {"%g", {123456789.0}, "123456789"},
        {"%.3g", {123456.0}, "1.23E5"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%m", {-5.0}, "($5.00)"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},  // after an index, counting goes on from it
        {"[%*d]", {4, 7}, "[   7]"},
        {"[%-*d]", {4, 7}, "[7   ]"},
        {"%.*f", {1, 2.25}, "2.3"},
        {"100%%", {}, "100%"},
        {"ｱﾝﾃﾅ %d dBm", {-85}, "ｱﾝﾃﾅ -85 dBm"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), String(c.text)) << c.format;
    EXPECT_EQ(Format("%.2f", {1234.5}, CommaSettings()), String("1234,50"));
    EXPECT_EQ(Format("%n", {1234.5}, CommaSettings()), String("1.234,50"));
}

TEST(FormatTest, FormatRejectsBadSpecifiersAndArguments) {
    struct Case { const char* format; std::initializer_list<TVarRec> args; };
    const Case cases[] = {
        {"%d", {1.5}},      {"%f", {1}},   {"%s", {1}},   {"%x", {"a"}},
        {"%d %d", {1}},     {"%", {1}},    {"%5", {1}},   {"%q", {1}},
        {"%2:d", {1, 2}},   {"%*d", {"a", 1}},
        {"%*d", {2147483647, 1}},   {"%.*d", {2147483647, 1}},   {"%.*s", {100001, "a"}},
    };
    for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), EConvertError) << c.format;
    try {
        Format("%d", {1.5});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("Format '%d' invalid or incompatible with argument"));
    }
}

TEST(FormatTest, FloatToDecimalRoundsHalfAwayFromZero) {
    TFloatRec r = FloatToDecimal(-0.0995, 15, 2);
    EXPECT_TRUE(r.Negative);
    EXPECT_EQ(r.Digits, "1");
    EXPECT_EQ(r.Exponent, 0);  // -0.10
    r = FloatToDecimal(99.96, 15, 1);
    EXPECT_EQ(r.Digits, "1");
    EXPECT_EQ(r.Exponent, 3);  // 100.0: the carry moves the exponent
    r = FloatToDecimal(0.004, 15, 2);
    EXPECT_TRUE(r.Digits.empty());
    EXPECT_FALSE(r.Negative);
}
