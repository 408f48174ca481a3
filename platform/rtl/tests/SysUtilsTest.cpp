#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/rtl/tests/TempDir.h"

TEST(SysUtilsTest, IntToStrAndIntToHex) {
    EXPECT_EQ(IntToStr(-2147483647 - 1), String("-2147483648"));
    EXPECT_EQ(IntToStr(int64_t{-9223372036854775807LL - 1}), String("-9223372036854775808"));
    EXPECT_EQ(IntToStr(4294967295u), String("4294967295"));
    struct Case { int64_t value; bool wide; int digits; const char* text; };
    const Case cases[] = {
        {27, false, 2, "1B"},
        {-1, false, 2, "FFFFFFFF"},  // an int prints as 32 bits
        {255, false, 0, "FF"},
        {0, false, 4, "0000"},
        {0xABCDEF, false, 8, "00ABCDEF"},
        {-1, true, 2, "FFFFFFFFFFFFFFFF"},
        {0x123456789, true, 12, "000123456789"},
    };
    for (const auto& c : cases) {
        String text = c.wide ? IntToHex(c.value, c.digits) : IntToHex(static_cast<int>(c.value), c.digits);
        EXPECT_EQ(text, String(c.text)) << c.value;
    }
    EXPECT_EQ(IntToHex(static_cast<uint8_t>(0xA5), 2), String("A5"));
    EXPECT_EQ(IntToHex(u'ｱ', 4), String("FF71"));
}

TEST(SysUtilsTest, StrToIntAcceptsDecimalAndHex) {
    struct Case { const char* text; int32_t value; };
    const Case good[] = {
        {"0", 0}, {"123", 123}, {"-123", -123}, {"+5", 5}, {"  42", 42}, {"007", 7},
        {"$FF", 255}, {"$ff", 255}, {"0x1A", 26}, {"0X1a", 26}, {"x10", 16}, {"-$10", -16},
        {"$FFFFFFFF", -1}, {"$80000000", -2147483647 - 1}, {"$000000001", 1},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : good) {
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        int32_t v = 0;
        EXPECT_TRUE(TryStrToInt(c.text, v)) << c.text;
    }
    const char* bad[] = {"", " ", "ZZ", "12 ", "1.5", "2147483648", "-2147483649", "$1FFFFFFFF",
                         "$", "0x", "1e3", "12a", "- 1", "$-1", "１２", "\t1"};
    for (const char* text : bad) {
        EXPECT_THROW(StrToInt(text), EConvertError) << text;
        EXPECT_EQ(StrToIntDef(text, -7), -7) << text;
    }
    try {
        StrToInt("ZZ");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("'ZZ' is not a valid integer value"));
    }
}

TEST(SysUtilsTest, StrToInt64UsesTheWholeWidth) {
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64("$10000000000000000"), EConvertError);
    EXPECT_EQ(StrToInt64Def("x", 3), 3);
}

TEST(SysUtilsTest, StrToFloatUsesTheSettingsDecimalSeparator) {
    struct Case { const char* text; double value; };
    const Case good[] = {
        {"1.5", 1.5}, {" -2.5e3 ", -2500}, {"1E-2", 0.01}, {".5", 0.5}, {"5.", 5}, {"+1", 1},
        {"1e-999", 0}, {"0.1", 0.1}, {"123456789012345678", 123456789012345678.0},
    };
    for (const auto& c : good) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << c.text;
    // Leading zeros add no magnitude: this is as small as "1e-330", not too large.
    EXPECT_DOUBLE_EQ(StrToFloat(String(std::string(330, '0') + "1e-330")), 0);
    EXPECT_DOUBLE_EQ(StrToFloat(String(std::string(400, '0') + "25")), 25);
    const char* bad[] = {"", "1,5", "abc", "1e", "1.2.3", "1e999", "--1", ".", "e5", "1 000", "INF"};
    for (const char* text : bad) {
        EXPECT_THROW(StrToFloat(text), EConvertError) << text;
        EXPECT_DOUBLE_EQ(StrToFloatDef(text, -1.0), -1.0) << text;
    }
    TFormatSettings comma;
    comma.DecimalSeparator = u',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5", comma), 1.5);
    EXPECT_THROW(StrToFloat("1.5", comma), EConvertError);
    try {
        StrToFloat("1,5");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("'1,5' is not a valid floating point value"));
    }
}

// Zeros right after the point take magnitude away: what underflows reads as zero, as strtod reads
// it, and only what overflows is refused, however many zeros come first.
TEST(SysUtilsTest, StrToFloatTellsUnderflowFromOverflowAfterZeros) {
    const std::string found = rtl_test::ReadAll(std::string(RWB_TEST_DATA_DIR) + "/float-zeros-after-point.txt");
    ASSERT_FALSE(found.empty());
    const std::string zeros(400, '0');
    const std::string tiny[] = {found, "0." + zeros + "1e1", "-0." + zeros + "9e76", "." + zeros + "5e+76",
                                "0." + zeros + "1e-5", zeros + ".000" + zeros + "7e3"};
    for (const std::string& text : tiny) {
        double v = -1;
        EXPECT_TRUE(TryStrToFloat(String(text), v)) << text.size() << " characters";
        EXPECT_EQ(v, 0.0) << text.size() << " characters";
        EXPECT_EQ(std::signbit(v), text[0] == '-');
        EXPECT_EQ(v, std::strtod(text.c_str(), nullptr));
    }
    // Within range after the zeros: the value itself.
    EXPECT_DOUBLE_EQ(StrToFloat(String("0." + zeros + "25e402")), 25);
    EXPECT_DOUBLE_EQ(StrToFloat(String("0." + zeros + "1e110")), 1e-291);
    const std::string huge[] = {"0." + zeros + "1e710", "1" + zeros + ".0", "0.0001e1000000000000000000000"};
    for (const std::string& text : huge) EXPECT_THROW(StrToFloat(String(text)), EConvertError) << text.size();
}

TEST(SysUtilsTest, Booleans) {
    EXPECT_EQ(BoolToStr(true), String("-1"));
    EXPECT_EQ(BoolToStr(false), String("0"));
    EXPECT_EQ(BoolToStr(true, true), String("True"));
    EXPECT_TRUE(StrToBool("true"));
    EXPECT_TRUE(StrToBool("-1"));
    EXPECT_TRUE(StrToBool("2"));
    EXPECT_FALSE(StrToBool("FALSE"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_THROW(StrToBool("yes"), EConvertError);
    EXPECT_TRUE(StrToBoolDef("yes", true));
}

TEST(SysUtilsTest, TrimAndCase) {
    EXPECT_EQ(Trim(u" \t a b \r\n"), String("a b"));
    EXPECT_EQ(TrimLeft(u" \ta "), String("a "));
    EXPECT_EQ(TrimRight(u" a \x01"), String(" a"));
    EXPECT_EQ(Trim(u"　a"), String(u"　a"));  // the ideographic space is above ' '
    EXPECT_EQ(UpperCase("abcäz"), String("ABCäZ"));  // ASCII only
    EXPECT_EQ(LowerCase("ABCÄZ"), String("abcÄz"));
    struct Case { const char* lower; const char* upper; };
    const Case cases[] = {
        {"abcäöüéÿ", "ABCÄÖÜÉŸ"}, {"ａｂｚ", "ＡＢＺ"}, {"ąłž", "ĄŁŽ"},
        {"αβω", "ΑΒΩ"}, {"жёя", "ЖЁЯ"}, {"ßｱ1", "ßｱ1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiUpperCase(c.lower), String(c.upper)) << c.lower;
        EXPECT_EQ(AnsiLowerCase(c.upper), String(c.lower)) << c.upper;
    }
    EXPECT_EQ(AnsiUpperCase(u"×÷"), String(u"×÷"));
}

TEST(SysUtilsTest, Comparisons) {
    EXPECT_LT(CompareStr("a", "b"), 0);
    EXPECT_GT(CompareStr("abc", "ab"), 0);
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareText("a", "_"), 0);  // compared as upper case
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("ä", "Ä"));
    EXPECT_TRUE(AnsiSameText("ä", "Ä"));
    EXPECT_TRUE(AnsiSameText("ＡＢ", "ａｂ"));
    EXPECT_LT(AnsiCompareText("apple", "BANANA"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);
    EXPECT_GT(AnsiCompareStr("b", "A"), 0);
    EXPECT_EQ(AnsiCompareStr("Ab", "Ab"), 0);
}

TEST(SysUtilsTest, OneBasedPositions) {
    struct PosCase { const char* sub; const char* s; int pos; };
    const PosCase positions[] = {
        {"b", "abc", 2}, {"", "abc", 0}, {"x", "abc", 0}, {"abc", "abc", 1},
        {"c", "abcc", 3}, {"abcd", "abc", 0}, {"ﾅ", "ｱﾝﾃﾅ", 4},
    };
    for (const auto& c : positions) EXPECT_EQ(Pos(c.sub, c.s), c.pos) << c.sub << " in " << c.s;
    EXPECT_EQ(PosEx("a", "aXa", 2), 3);
    EXPECT_EQ(PosEx("a", "aXa", 3), 3);
    EXPECT_EQ(PosEx("a", "aXa", 4), 0);
    EXPECT_EQ(PosEx("a", "aXa", 0), 0);

    struct CopyCase { int index, count; const char* result; };
    const CopyCase copies[] = {
        {2, 3, "bcd"}, {0, 2, "ab"}, {-5, 2, "ab"}, {5, 10, "ef"}, {7, 1, ""},
        {6, 1, "f"}, {2, 0, ""}, {2, -1, ""}, {1, 2147483647, "abcdef"},
    };
    for (const auto& c : copies)
        EXPECT_EQ(Copy("abcdef", c.index, c.count), String(c.result)) << c.index << "," << c.count;
    EXPECT_EQ(Copy("", 1, 1), String());

    struct DeleteCase { int index, count; const char* result; };
    const DeleteCase deletes[] = {
        {2, 2, "adef"}, {0, 2, "abcdef"}, {7, 1, "abcdef"}, {5, 100, "abcd"}, {1, -1, "abcdef"}, {6, 1, "abcde"},
    };
    for (const auto& c : deletes) {
        String s("abcdef");
        Delete(s, c.index, c.count);
        EXPECT_EQ(s, String(c.result)) << c.index << "," << c.count;
    }

    struct InsertCase { int index; const char* result; };
    const InsertCase inserts[] = {
        {1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {10, "abcXY"}, {0, "XYabc"}, {-3, "XYabc"},
    };
    for (const auto& c : inserts) {
        String s("abc");
        Insert("XY", s, c.index);
        EXPECT_EQ(s, String(c.result)) << c.index;
    }
}

TEST(SysUtilsTest, ReplaceQuoteAndDelimiters) {
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", TReplaceFlags()), String("a+b-c"));
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), String("a+b+c"));
    EXPECT_EQ(StringReplace("Hello HELLO", "hello", "x", rfReplaceAll | rfIgnoreCase), String("x x"));
    EXPECT_EQ(StringReplace("Hello HELLO", "hello", "x", TReplaceFlags() << rfIgnoreCase), String("x HELLO"));
    EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), String("aaaaaa"));  // no re-scan of the new text
    EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), String("abc"));
    EXPECT_EQ(StringOfChar(u'x', 3), String("xxx"));
    EXPECT_EQ(StringOfChar(u'x', -1), String());

    EXPECT_EQ(QuotedStr("it's"), String("'it''s'"));
    EXPECT_EQ(AnsiQuotedStr("a\"b", u'"'), String("\"a\"\"b\""));
    struct Case { const char* quoted; const char* text; };
    const Case cases[] = {
        {"'it''s'", "it's"}, {"abc", "abc"}, {"'abc", "'abc"}, {"''", ""}, {"'ab'c", "ab"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AnsiDequotedStr(c.quoted, u'\''), String(c.text)) << c.quoted;

    EXPECT_EQ(LastDelimiter("./", "/a.b/c.txt"), 7);
    EXPECT_EQ(LastDelimiter("x", "abc"), 0);
    EXPECT_TRUE(IsDelimiter(",;", "a;b", 2));
    EXPECT_FALSE(IsDelimiter(",;", "a;b", 3));
    EXPECT_FALSE(IsDelimiter(",;", "a;b", 0));
}

TEST(SysUtilsTest, FileNameParts) {
    struct Case { const char* name; const char* path; const char* dir; const char* file; const char* ext; };
    const Case cases[] = {
        {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},
        {"c.txt", "", "", "c.txt", ".txt"},
        {"/c", "/", "/", "c", ""},
        {"/a/b.d/c", "/a/b.d/", "/a/b.d", "c", ""},  // a dot in a folder is no extension
        {"/a/.hidden", "/a/", "/a", ".hidden", ".hidden"},
        {"/a/b/", "/a/b/", "/a/b", "", ""},
        {"x.tar.gz", "", "", "x.tar.gz", ".gz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), String(c.path)) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), String(c.dir)) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), String(c.file)) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), String(c.ext)) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("/a/b.d/c", ".ini"), String("/a/b.d/c.ini"));
    EXPECT_EQ(ChangeFileExt("/opt/rwb/workbench", ".ini"), String("/opt/rwb/workbench.ini"));
    EXPECT_EQ(ChangeFileExt("x.txt", ".ini"), String("x.ini"));
    EXPECT_EQ(ChangeFileExt("x.tar.gz", ""), String("x.tar"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), String("/a/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), String("/a/"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), String("/a"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), String("/"));  // still the root
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), String("a"));
    EXPECT_EQ(ExpandFileName("/a/./b/../c"), String("/a/c"));
    EXPECT_EQ(ExpandFileName("/a//b/"), String("/a/b/"));
    EXPECT_EQ(ExpandFileName("/.."), String("/"));
    EXPECT_EQ(ExpandFileName("x"), IncludeTrailingPathDelimiter(GetCurrentDir()) + "x");
}

class SysUtilsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temp.Path.empty()); }
    void Touch(const String& name) { std::ofstream(name.ToUtf8()) << "x"; }
    rtl_test::TempDir temp{"rtl-sysutils"};
    const String FDir = String(temp.Path.string()) + "/";
};

TEST_F(SysUtilsFileTest, CreateRenameAndDelete) {
    String deep = FDir + "ｱﾝﾃﾅ/y/z";
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + "/"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));  // a directory is not a file
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_THROW(ForceDirectories(""), EInOutError);

    String a = FDir + "a.txt", b = FDir + "b.txt";
    EXPECT_FALSE(FileExists(a));
    Touch(a);
    Touch(b);
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(DirectoryExists(a));
    EXPECT_FALSE(RenameFile(a, b));  // an existing file is not replaced
    EXPECT_TRUE(FileExists(a));
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(FileExists(b));

    EXPECT_FALSE(CreateDir(deep));  // exists already
    EXPECT_TRUE(CreateDir(FDir + "new"));
    EXPECT_TRUE(RemoveDir(FDir + "new"));
    EXPECT_FALSE(DirectoryExists(FDir + "new"));
}

TEST_F(SysUtilsFileTest, CurrentDirectory) {
    String before = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(FDir));
    EXPECT_EQ(IncludeTrailingPathDelimiter(GetCurrentDir()), ExpandFileName(FDir));
    EXPECT_EQ(ExpandFileName("k/../f.ini"), FDir + "f.ini");
    EXPECT_TRUE(SetCurrentDir(before));
    EXPECT_FALSE(SetCurrentDir(FDir + "missing"));
}

TEST_F(SysUtilsFileTest, FindFirstListsMatchingEntries) {
    for (const char* name : {"a.txt", "B.TXT", "c.log", ".hidden"}) Touch(FDir + name);
    ASSERT_TRUE(CreateDir(FDir + "sub"));
    auto list = [&](const char* pattern, int attr) {
        std::vector<String> names;
        TSearchRec rec;
        if (FindFirst(FDir + pattern, attr, rec) == 0) {
            do names.push_back(rec.Name + ((rec.Attr & faDirectory) ? "/" : ""));
            while (FindNext(rec) == 0);
        }
        FindClose(rec);
        return names;
    };
    using V = std::vector<String>;
    EXPECT_EQ(list("*.txt", faAnyFile), (V{"B.TXT", "a.txt"}));  // no case on the original platform
    EXPECT_EQ(list("*", 0), (V{"B.TXT", "a.txt", "c.log"}));     // folders and hidden files must be asked for
    EXPECT_EQ(list("*", faDirectory), (V{"./", "../", "B.TXT", "a.txt", "c.log", "sub/"}));
    EXPECT_EQ(list("*.*", faAnyFile), (V{"./", "../", ".hidden", "B.TXT", "a.txt", "c.log", "sub/"}));
    EXPECT_EQ(list("?.log", faAnyFile), (V{"c.log"}));

    TSearchRec rec;
    ASSERT_EQ(FindFirst(FDir + "a.txt", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Size, 1);
    EXPECT_EQ(rec.Attr & (faDirectory | faHidden), 0);
    EXPECT_EQ(rec.Time, FileAge(FDir + "a.txt"));
    EXPECT_LT(std::fabs(rec.TimeStamp - Now()), 1.0);
    EXPECT_EQ(FindNext(rec), 18);
    FindClose(rec);
    EXPECT_EQ(FindFirst(FDir + "*.bmp", faAnyFile, rec), 2);
    EXPECT_EQ(FindFirst(FDir + "missing/*", faAnyFile, rec), 3);
    EXPECT_EQ(FileAge(FDir + "missing"), -1);
}

TEST(SysUtilsTest, WildcardsAndFileDates) {
    struct Case { const char* name; const char* pattern; bool matches; };
    const Case cases[] = {
        {"abc", "a*c", true},       {"abc", "a?c", true},   {"ac", "a?c", false},   {"ABC.txt", "*.TXT", true},
        {"noext", "*.*", true},     {"a.b.c", "*.c", true}, {"abc", "*b", false},   {"", "*", true},
        {"x", "", false},           {"aXbXc", "a*b*c", true}, {"ｱﾝﾃﾅ.csv", "ｱ*", true},
    };
    for (const auto& c : cases) EXPECT_EQ(rtl::MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;

    TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 8, 0);
    EXPECT_DOUBLE_EQ(FileDateToDateTime(DateTimeToFileDate(t)), t);
    EXPECT_DOUBLE_EQ(FileDateToDateTime(DateTimeToFileDate(IncSecond(t))), t);  // two-second steps
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
}

TEST(SysUtilsTest, ProgramParametersAndEnvironment) {
    String exe = ParamStr(0);
    EXPECT_EQ(exe, rtl::ExecutableFileName());
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(ExtractFileName(exe), String("platform_rtl_tests"));
    EXPECT_EQ(ParamStr(ParamCount() + 1), String());
    EXPECT_EQ(ParamStr(-1), String());
    for (int i = 1; i <= ParamCount(); ++i) EXPECT_FALSE(ParamStr(i).IsEmpty()) << i;

    setenv("RTL_SYSUTILS_TEST", "äb", 1);
    EXPECT_EQ(GetEnvironmentVariable("RTL_SYSUTILS_TEST"), String("äb"));
    unsetenv("RTL_SYSUTILS_TEST");
    EXPECT_EQ(GetEnvironmentVariable("RTL_SYSUTILS_TEST"), String());
}

TEST(SysUtilsTest, ATestProgramIsNoLibraryUnlessSwitched) {
    EXPECT_FALSE(IsLibrary());
    {
        rtl::test::LibraryModuleScope library;
        EXPECT_TRUE(IsLibrary());
    }
    EXPECT_FALSE(IsLibrary());
}
