#include <gtest/gtest.h>

#include "platform/rtl/String.h"

TEST(StringTest, Utf8RoundTripsThroughUtf16) {
    const char* text = "ｱﾝﾃﾅ 受信レベル -85dBm \xF0\x9F\x93\xA1";
    String s(text);
    EXPECT_EQ(s.ToUtf8(), text);
    EXPECT_EQ(s[0], u'ｱ');
    EXPECT_EQ(String("abc") + u"def" + "ghi", String(u"abcdefghi"));
}

TEST(StringTest, InvalidUtf8BecomesReplacementCharacter) {
    String s(std::string_view("a\xFF" "b", 3));
    EXPECT_EQ(s, String(u"a\uFFFDb"));
}

TEST(StringTest, DecodeTextHonoursMarksAndFallsBackToCp932) {
    struct Case { std::string bytes; TextEncoding enc; std::u16string text; };
    const Case cases[] = {
        {"\xEF\xBB\xBF\xE3\x81\x82", TextEncoding::Utf8Bom, u"あ"},
        {"\xE3\x81\x82x", TextEncoding::Utf8, u"あx"},
        {std::string("\xFF\xFE\x42\x30", 4), TextEncoding::Utf16LE, u"あ"},
        {std::string("\xFE\xFF\x30\x42", 4), TextEncoding::Utf16BE, u"あ"},
        // CP932: hiragana A, then half-width katakana "ｱ" as its single byte.
        {"\x82\xA0\xB1", TextEncoding::Cp932, u"あｱ"},
    };
    for (const auto& c : cases) {
        TextEncoding found;
        EXPECT_EQ(DecodeText(c.bytes, &found), String(c.text)) << c.bytes;
        EXPECT_EQ(found, c.enc) << c.bytes;
    }
    EXPECT_EQ(EncodeText(u"あｱ", TextEncoding::Cp932), "\x82\xA0\xB1");
}

TEST(StringTest, LeadingZeroWidthNoBreakSpaceSurvivesEveryEncoding) {
    // A text that itself starts with U+FEFF must not lose it to the reader's mark stripping.
    const std::u16string text = u"\uFEFFabc";
    for (auto enc : {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE})
        EXPECT_EQ(DecodeText(EncodeText(text, enc)), String(text)) << static_cast<int>(enc);
}
