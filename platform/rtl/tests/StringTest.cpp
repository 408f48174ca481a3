#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

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

// A character CP932 lacks becomes one "?" per UTF-16 unit, and the text after it is read from the
// right bytes. The fixture is the fuzz input that found it: a mode byte, then a file whose lone
// lead byte decodes as U+FFFD.
TEST(StringTest, Cp932ReplacesWhatItLacksAndKeepsTheRest) {
    std::ifstream in(std::string(RWB_TEST_DATA_DIR) + "/cp932-unknown-then-line-break.bin", std::ios::binary);
    const std::string found((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(found.size(), 2u);
    const String unknown = DecodeText(found.substr(1));
    EXPECT_EQ(unknown, String(u"\uFFFD"));
    EXPECT_EQ(EncodeText(unknown + u"\r\n", TextEncoding::Cp932), "?\r\n");
    struct Case { std::u16string text; std::string bytes; };
    const Case cases[] = {
        {u"A\uFFFDB", "A?B"},
        {u"\uFFFD\u3042x", "?\x82\xA0x"},
        {u"a\U0001F4E1b", "a??b"},       // a pair: two units
        {u"\xE9\xE9", "??"},
        {u"x\xD800y", "x?y"},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeText(c.text, TextEncoding::Cp932), c.bytes);
}

TEST(StringTest, LeadingZeroWidthNoBreakSpaceSurvivesEveryEncoding) {
    // A text that itself starts with U+FEFF must not lose it to the reader's mark stripping.
    const std::u16string text = u"\uFEFFabc";
    for (auto enc : {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE})
        EXPECT_EQ(DecodeText(EncodeText(text, enc)), String(text)) << static_cast<int>(enc);
}
