#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/tests/StringsTestSupport.h"
#include "platform/rtl/tests/TempDir.h"

namespace fs = std::filesystem;

namespace {

using rtl_test::Items;
using rtl_test::ReadAll;
using rtl_test::V;

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EStringListError& e) {
        return e.what();
    }
    return "no EStringListError";
}

}  // namespace

TEST(StringListTest, AddInsertDeleteMoveExchangeKeepObjects) {
    TStringList l;
    int a = 1, b = 2, c = 3;
    EXPECT_EQ(l.Add("a"), 0);
    EXPECT_EQ(l.AddObject("c", &c), 1);
    l.InsertObject(1, "b", &b);
    l.SetObjects(0, &a);
    EXPECT_EQ(Items(l), V({"a", "b", "c"}));
    EXPECT_EQ(l.Objects(1), &b);

    l.Move(0, 2);
    EXPECT_EQ(Items(l), V({"b", "c", "a"}));
    EXPECT_EQ(l.Objects(2), &a);
    l.Exchange(0, 1);
    EXPECT_EQ(Items(l), V({"c", "b", "a"}));
    EXPECT_EQ(l.Objects(0), &c);
    l.SetStrings(0, "C");
    EXPECT_EQ(l.Objects(0), &c);  // Put keeps the object
    EXPECT_EQ(l.IndexOfObject(&b), 1);

    l.Delete(1);
    EXPECT_EQ(Items(l), V({"C", "a"}));
    EXPECT_EQ(l.IndexOf("c"), 0);  // case-insensitive by default
    EXPECT_EQ(l.IndexOf("x"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("c"), -1);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringListTest, IndexErrorsRaiseWithTheIndex) {
    TStringList l;
    l.Add("only");
    EXPECT_EQ(ErrorOf([&] { l.Get(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ErrorOf([&] { l.Get(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { l.Put(2, "x"); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { l.Delete(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ErrorOf([&] { l.Insert(2, "x"); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { l.Objects(5); }), "List index out of bounds (5)");
    EXPECT_EQ(ErrorOf([&] { l.Move(0, 1); }), "List index out of bounds (1)");
    l.Insert(1, "end");  // Count itself is a valid place to insert
    EXPECT_EQ(Items(l), V({"only", "end"}));
}

TEST(StringListTest, SortedListKeepsOrderAndHandlesDuplicates) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple", "APPLE", "banana"}) l.Add(s);
    // dupIgnore (the default) keeps one copy; "apple" matches "Apple" without regard to case.
    EXPECT_EQ(Items(l), V({"Apple", "banana", "fig", "pear"}));
    EXPECT_EQ(l.Add("FIG"), 2);  // answers the existing item's index
    EXPECT_EQ(l.Count(), 4);

    int index = -1;
    EXPECT_TRUE(l.Find("PEAR", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(l.Find("cherry", index));
    EXPECT_EQ(index, 2);  // where it would go
    EXPECT_FALSE(l.Find("zz", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(l.IndexOf("BANANA"), 1);
    EXPECT_EQ(l.IndexOf("cherry"), -1);

    l.SetDuplicates(dupError);
    EXPECT_EQ(ErrorOf([&] { l.Add("fig"); }), "Duplicates not allowed");
    EXPECT_EQ(l.Count(), 4);

    l.SetDuplicates(dupAccept);
    l.Add("fig");
    l.Add("Fig");
    EXPECT_EQ(l.Count(), 6);
    EXPECT_TRUE(l.Find("fig", index));
    EXPECT_EQ(index, 2);  // the first of the equal items

    // A sorted list refuses operations that would break its order, and loses nothing doing so.
    EXPECT_EQ(ErrorOf([&] { l.Insert(0, "zzz"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(ErrorOf([&] { l.Put(0, "zzz"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(ErrorOf([&] { l.Move(0, 5); }), "Operation not allowed on sorted list");
    EXPECT_EQ(l.Count(), 6);
    EXPECT_EQ(l[0], "Apple");
}

TEST(StringListTest, SortingAndCaseSensitivity) {
    TStringList l;
    int tag = 7;
    for (const char* s : {"b", "C", "a", "B", "_x"}) l.Add(s);
    l.SetObjects(1, &tag);
    l.Sort();
    // Case folds to lower case, as AnsiCompareText does, so "_" sorts before the letters;
    // equal items keep their order.
    EXPECT_EQ(Items(l), V({"_x", "a", "b", "B", "C"}));
    EXPECT_EQ(l.Objects(4), &tag);  // objects travel with their strings

    l.Add("A");
    l.SetSorted(true);
    // Case-sensitive is AnsiCompareStr: case decides only between otherwise equal texts, lower
    // case first. Changing it re-sorts, so Find keeps working.
    l.SetCaseSensitive(true);
    EXPECT_EQ(Items(l), V({"_x", "a", "A", "b", "B", "C"}));
    int index;
    EXPECT_TRUE(l.Find("A", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(l.Find("c", index));
    EXPECT_EQ(index, 5);

    TStringList n;
    for (const char* s : {"10", "9", "100"}) n.Add(s);
    n.CustomSort([](TStringList* list, int i1, int i2) {
        return std::stoi(list->Get(i1).ToUtf8()) - std::stoi(list->Get(i2).ToUtf8());
    });
    EXPECT_EQ(Items(n), V({"9", "10", "100"}));
}

// Sort takes a faster path than comparing item by item; it must give the same order as
// CompareStrings, stably, in both case modes. Random texts over a small alphabet make long common
// heads, case variants, embedded NULs and equal items common.
TEST(StringListTest, SortAgreesWithCompareStrings) {
    const char16_t alphabet[] = {u'a', u'A', u'b', u'B', u'_', u'0', u'\0', u'\u00E9', u'\u00C9', u'\uFF71', u'\uFF41', u'\uFF21'};
    std::mt19937 rng(7);
    for (bool caseSensitive : {false, true}) {
        TStringList list;
        list.SetCaseSensitive(caseSensitive);
        std::vector<std::pair<String, int>> expected;
        for (int i = 0; i < 3000; ++i) {
            String s;
            size_t length = rng() % 20;
            for (size_t j = 0; j < length; ++j) s.push_back(alphabet[rng() % (j < 10 ? 3 : std::size(alphabet))]);
            int* tag = reinterpret_cast<int*>(static_cast<intptr_t>(i + 1));
            list.AddObject(s, tag);
            expected.emplace_back(s, i + 1);
        }
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            return list.CompareStrings(a.first, b.first) < 0;
        });
        list.Sort();
        for (int i = 0; i < list.Count(); ++i) {
            ASSERT_EQ(list[i], expected[static_cast<size_t>(i)].first) << "at " << i << " case " << caseSensitive;
            ASSERT_EQ(reinterpret_cast<intptr_t>(list.Objects(i)), expected[static_cast<size_t>(i)].second) << i;
        }
    }
}

// A derived list's own comparison decides sorting, searching and duplicates.
TEST(StringListTest, DerivedCompareStringsIsHonoured) {
    class NumericList : public TStringList {
    public:
        int CompareStrings(const String& a, const String& b) const override {
            int x = std::stoi(a.ToUtf8()), y = std::stoi(b.ToUtf8());
            return x < y ? -1 : x > y ? 1 : 0;
        }
    };
    NumericList l;
    for (const char* s : {"10", "9", "0100", "1"}) l.Add(s);
    EXPECT_EQ(l.IndexOf("100"), 2);
    l.Sort();
    EXPECT_EQ(Items(l), V({"1", "9", "10", "0100"}));
    l.SetSorted(true);
    l.Add("009");  // equal to "9": ignored
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.IndexOf("01"), 0);
}

TEST(StringListTest, NamesAndValues) {
    TStringList l;
    l.SetText("Port=ttyUSB0\r\nBaud=9600\r\nnote\r\nEmpty=\r\n");
    EXPECT_EQ(l.Values("port"), "ttyUSB0");
    EXPECT_EQ(l.Values("missing"), "");
    EXPECT_EQ(l.Names(1), "Baud");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.ValueFromIndex(1), "9600");
    EXPECT_EQ(l.IndexOfName("EMPTY"), 3);

    l.SetValues("Baud", "115200");
    EXPECT_EQ(l[1], "Baud=115200");
    l.SetValues("Parity", "None");
    EXPECT_EQ(l[4], "Parity=None");
    l.SetValues("port", "");  // an empty value removes the line
    EXPECT_EQ(l.IndexOfName("Port"), -1);
    EXPECT_EQ(l.Count(), 4);

    l.SetNameValueSeparator(u':');
    l.Add("Host:localhost");
    EXPECT_EQ(l.Values("host"), "localhost");
}

TEST(StringListTest, TextJoinsWithCrLfAndSplitsEveryLineBreak) {
    TStringList l;
    l.Add("one");
    l.Add("");
    l.Add("three");
    EXPECT_EQ(l.Text(), "one\r\n\r\nthree\r\n");

    struct Case {
        const char* text;
        std::vector<String> items;
    };
    const Case cases[] = {
        {"", {}},
        {"a", V({"a"})},
        {"a\r\nb\r\n", V({"a", "b"})},
        {"a\nb\rc\r\nd", V({"a", "b", "c", "d"})},
        {"a\r\n\r\n", V({"a", ""})},
        {"\n\n", V({"", ""})},
        {"a\r\rb", V({"a", "", "b"})},
    };
    for (const auto& c : cases) {
        l.SetText(c.text);
        EXPECT_EQ(Items(l), c.items) << c.text;
    }
}

TEST(StringListTest, CommaTextRoundTripsAwkwardItems) {
    const std::vector<std::vector<String>> lists = {
        V({"plain", "two words", "with,comma", "say \"hi\"", "", " lead", "trail ", "tab\there", "ｱﾝﾃﾅ"}),
        V({""}),
        V({"", ""}),
        V({"a", ""}),
        {},
    };
    for (const auto& items : lists) {
        TStringList src;
        for (const auto& s : items) src.Add(s);
        TStringList dst;
        dst.SetCommaText(src.CommaText());
        EXPECT_EQ(Items(dst), items) << src.CommaText();
    }
    TStringList l;
    l.Add("a b");
    l.Add("c");
    l.Add("say \"hi\"");
    EXPECT_EQ(l.CommaText(), "\"a b\",c,\"say \"\"hi\"\"\"");
}

TEST(StringListTest, CommaAndDelimitedTextParsing) {
    struct Case {
        const char* text;
        char16_t delim;
        bool strict;
        std::vector<String> items;
    };
    const Case cases[] = {
        // Blanks separate items unless quoted; empty fields between delimiters are kept.
        {"a b,\"c d\",,\"e\"\"f\"", u',', false, V({"a", "b", "c d", "", "e\"f"})},
        {"  x ,  y  ", u',', false, V({"x", "y"})},
        {"a,", u',', false, V({"a", ""})},
        {"\"unterminated", u',', false, V({"unterminated"})},
        {"a b;c d", u';', true, V({"a b", "c d"})},
        {" a ;;b", u';', true, V({" a ", "", "b"})},
        {"a b;c", u';', false, V({"a", "b", "c"})},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.SetDelimiter(c.delim);
        l.SetStrictDelimiter(c.strict);
        l.SetDelimitedText(c.text);
        EXPECT_EQ(Items(l), c.items) << c.text;
    }
    TStringList l;
    l.SetDelimiter(u';');
    l.SetQuoteChar(u'\'');
    l.SetStrictDelimiter(true);
    l.Add("a b");
    l.Add("c;d");
    l.Add("it's");
    EXPECT_EQ(l.DelimitedText(), "a b;'c;d';'it''s'");
}

TEST(StringListTest, ChangeEventsFireOncePerOutermostUpdate) {
    TStringList l;
    int changing = 0, changed = 0;
    l.OnChanging = [&](TStrings* sender) {
        EXPECT_EQ(sender, &l);
        ++changing;
    };
    l.OnChange = [&](TStrings*) { ++changed; };

    l.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.EndUpdate();
    EXPECT_EQ(changed, 1);  // still inside the outer update
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);

    // An update that changed nothing fires nothing.
    l.BeginUpdate();
    EXPECT_EQ(l.IndexOf("b"), 0);
    l.EndUpdate();
    EXPECT_EQ(changed, 2);

    // Whole-list operations count as one change.
    l.SetText("x\ny\nz");
    l.SetCommaText("p,q");
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(changing, 4);
}

TEST(StringListTest, AssignAndAddStrings) {
    TStringList src;
    int tag = 1;
    src.AddObject("one", &tag);
    src.Add("two");
    src.SetDelimiter(u';');

    TStringList dst;
    dst.Add("old");
    dst.Assign(&src);
    EXPECT_EQ(Items(dst), V({"one", "two"}));
    EXPECT_EQ(dst.Objects(0), &tag);
    EXPECT_EQ(dst.Delimiter(), u';');
    EXPECT_TRUE(dst.Equals(&src));

    dst.AddStrings(&src);
    EXPECT_EQ(dst.Count(), 4);

    class Other : public TPersistent {};
    Other other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}

class StringListFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Dir.empty()); }
    std::string Write(const char* name, const std::string& bytes) {
        std::string path = (Dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    rtl_test::TempDir temp{"rtl-strings"};
    const fs::path Dir = temp.Path;
};

TEST_F(StringListFileTest, LoadsUtf8WithAndWithoutMarkAndCp932) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"utf8.txt", "受信=ｱﾝﾃﾅ\r\nline2\n"},
        {"utf8bom.txt", "\xEF\xBB\xBF受信=ｱﾝﾃﾅ\r\nline2\r\n"},
        // CP932: 受信 is 8E F3 90 4D, half-width ｱﾝﾃﾅ is B1 DD C3 C5.
        {"cp932.txt", "\x8E\xF3\x90\x4D=\xB1\xDD\xC3\xC5\r\nline2\r\n"},
        {"utf16.txt", EncodeText(u"受信=ｱﾝﾃﾅ\r\nline2", TextEncoding::Utf16LE)},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.LoadFromFile(String(Write(c.name, c.bytes)));
        EXPECT_EQ(Items(l), V({"受信=ｱﾝﾃﾅ", "line2"})) << c.name;
        EXPECT_EQ(l.Values("受信"), "ｱﾝﾃﾅ") << c.name;
    }
}

TEST_F(StringListFileTest, SavesUtf8WithoutMarkUnlessAsked) {
    TStringList l;
    l.Add("ｱﾝﾃﾅ");
    l.Add("b");
    std::string path = (Dir / "out.txt").string();
    l.SaveToFile(String(path));
    EXPECT_EQ(ReadAll(path), "ｱﾝﾃﾅ\r\nb\r\n");
    l.SaveToFile(String(path), TextEncoding::Cp932);
    EXPECT_EQ(ReadAll(path), "\xB1\xDD\xC3\xC5\r\nb\r\n");

    // Through a stream, loading starts at the stream's position.
    TStringStream s(AnsiString("skip|x\r\ny"));
    s.SetPosition(5);
    l.LoadFromStream(&s);
    EXPECT_EQ(Items(l), V({"x", "y"}));
    TMemoryStream m;
    l.SaveToStream(&m);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size())), "x\r\ny\r\n");

    EXPECT_THROW(l.LoadFromFile(String((Dir / "none.txt").string())), EFOpenError);
}
