#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Character.h"
#include "platform/rtl/Diagnostics.h"

TEST(Diagnostics, AssertRaisesWithTheMessageAndTheCallersFile) {
    EXPECT_NO_THROW(Assert(true, "never"));
    try {
        Assert(false, "x");
        FAIL() << "Assert(false) did not raise";
    } catch (const EAssertionFailed& e) {
        std::string text = e.what();
        EXPECT_NE(text.find("x"), std::string::npos) << text;
        EXPECT_NE(text.find("DiagnosticsTest.cpp"), std::string::npos) << text;
        EXPECT_NE(text.find(", line "), std::string::npos) << text;
    }
    EXPECT_THROW(Assert(false), EAssertionFailed);
}

TEST(Diagnostics, OutputDebugStringWritesToTheDebugLog) {
    rtl::ClearDebugLog();
    OutputDebugString("1");
    OutputDebugString("2");
    EXPECT_EQ(rtl::DebugLog(), (std::vector<String>{"1", "2"}));
    rtl::ClearDebugLog();
    EXPECT_TRUE(rtl::DebugLog().empty());
    // The log keeps the newest entries only.
    for (int i = 0; i < 10005; ++i) OutputDebugString(String(std::to_string(i)));
    auto log = rtl::DebugLog();
    ASSERT_EQ(log.size(), 10000u);
    EXPECT_EQ(log.front(), "5");
    EXPECT_EQ(log.back(), "10004");
    rtl::ClearDebugLog();
}

TEST(Character, IsNumberAnswersForUnicodeNumbers) {
    struct Case {
        char16_t c;
        bool number;
    };
    const Case cases[] = {
        {u'7', true},     {u'0', true},     {u'\uFF17', true},  // full-width 7
        {u'\u2163', true},                                      // Roman numeral four (Nl)
        {u'\u00BD', true},                                      // one half (No)
        {u'\u00B2', true},                                      // superscript two (No)
        {u'\u0663', true},                                      // Arabic-Indic three (Nd)
        {u'\u3007', true},                                      // ideographic zero (Nl)
        {u'a', false},    {u'-', false},    {u'/', false},  {u':', false}, {u'\u4E00', false},  // 一 is a letter
        {u'\uFF21', false},                                     // full-width A
        {static_cast<char16_t>(0xD835), false},                  // a surrogate alone
    };
    for (const Case& c : cases) EXPECT_EQ(IsNumber(c.c), c.number) << std::hex << static_cast<int>(c.c);
}
