// The styled edit's value: the text classes and conversions, re-casing, range texts, and the
// value's reads and writes with the setters that reformat it.
#include <gtest/gtest.h>

#include "controls/styled/tests/AdvEditTestSupport.h"
#include "platform/rtl/Diagnostics.h"

namespace {

using advedit_test::EditTest;
using advedit_test::Separators;

TEST(AdvEditTextTest, ClassifiesTypedTexts) {
    const struct {
        const char* text;
        advedit::TTextClass cls;
    } rows[] = {{"12", advedit::tcInteger}, {"-1.5", advedit::tcFloat}, {"1,234.5", advedit::tcFloat},
                {"1,2,3", advedit::tcOther},  {"ABC", advedit::tcHex},    {"--1", advedit::tcOther},
                {"", advedit::tcOther},       {"1.2.3", advedit::tcOther}, {"ff-", advedit::tcHex},
                {",12", advedit::tcOther}};
    for (const auto& r : rows) EXPECT_EQ(advedit::ClassifyTypedText(String(r.text)), r.cls) << r.text;
}

TEST(AdvEditTextTest, RecasesWordByWord) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {{"mcdonald", "McDonald"},         {"macdonald", "MacDonald"}, {"old mcdonald", "Old McDonald"},
                {"old macdonald", "Old Macdonald"}, {"henry iii", "Henry III"}, {"o'neil", "O'Neil"},
                {"JOHN SMITH-JONES", "John Smith-Jones"}, {"", ""}};
    for (const auto& r : rows) EXPECT_EQ(advedit::MixedCaseText(String(r.in)), String(r.out)) << r.in;
}

TEST(AdvEditTextTest, ConvertsNumbersWithoutRaising) {
    EXPECT_EQ(advedit::HexToInt(u"1G"), 16);
    EXPECT_EQ(advedit::HexToInt(u"ff"), 255);
    EXPECT_EQ(advedit::HexToInt(u"FFFFFFFF"), -1);      // wraps around in 32 bits
    EXPECT_EQ(advedit::HexToInt(u"123456789A"), 0x3456789A);
    const struct {
        const char* text;
        bool ok;
        int32_t value;
    } scans[] = {{"$1F", true, 31}, {"0x1F", true, 31}, {" -12", true, -12}, {"12a", false, 12},
                 {"+7", true, 7},   {"", false, 0},     {"-", false, 0},     {"xFFFFFFFF", true, -1}};
    for (const auto& s : scans) {
        int32_t v = 99;
        EXPECT_EQ(advedit::ScanInt(String(s.text), v), s.ok) << s.text;
        EXPECT_EQ(v, s.value) << s.text;
    }
    EXPECT_EQ(advedit::EditTextToFloat(u"1,234.5"), 1234.5);
    EXPECT_EQ(advedit::EditTextToFloat(u"abc"), 0);
    Separators de(u',', u'.');
    EXPECT_EQ(advedit::EditTextToFloat(u"1.234,5"), 1234.5);
}

TEST(AdvEditTextTest, RangeTextsReadAndWrite) {
    TRangeList list;
    EXPECT_TRUE(list.StrToList(u"1-5,7;9"));
    ASSERT_EQ(list.Count(), 7);
    const int want[] = {1, 2, 3, 4, 5, 7, 9};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(list.GetInteger(i), want[i]);
    EXPECT_FALSE(list.StrToList(u"1-x"));
    EXPECT_TRUE(list.StrToList(u"5-3"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.StrToList(u"-5"));
    EXPECT_FALSE(list.StrToList(u"2,x,4"));  // the good items are kept
    EXPECT_EQ(list.Count(), 2);
    list.Add(4);  // once only
    list.AddMultiple(3, 3);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.InList(5));

    rtl::ClearDebugLog();
    list.Show();
    EXPECT_EQ(rtl::DebugLog(), (std::vector<String>{u"2", u"4", u"3", u"5"}));
}

class AdvEditValueTest : public EditTest {};

TEST_F(AdvEditValueTest, ListToRangeStrWritesRunsAndRefusesAnEmptyList) {
    edit->SetEditType(etRange);
    edit->SetPrefix(u"#");
    TRangeList list;
    for (int v : {7, 1, 2, 3, 5}) list.Add(v);
    edit->ListToRangeStr(&list);
    EXPECT_EQ(edit->Text(), String(u"1-3,5,7"));
    EXPECT_EQ(Whole(), String(u"#1-3,5,7"));
    TRangeList back;
    EXPECT_TRUE(edit->RangeStrToList(&back));
    EXPECT_EQ(back.Count(), 5);

    TRangeList empty;
    EXPECT_THROW(edit->ListToRangeStr(&empty), EListError);
    EXPECT_EQ(edit->Text(), String(u"1-3,5,7"));
}

TEST_F(AdvEditValueTest, EmptyTextIsZeroForNumbersAndWritesClearModified) {
    for (TAdvEditType t : {etNumeric, etFloat, etMoney, etHex}) {
        edit->SetEditType(t);
        edit->SetAllowNumericNullValue(false);
        edit->SetModified(true);
        edit->SetText(String());
        EXPECT_EQ(edit->Text(), String(u"0")) << int(t);
        EXPECT_FALSE(edit->Modified());
        edit->SetAllowNumericNullValue(true);
        edit->SetText(String());
        EXPECT_EQ(edit->Text(), String()) << int(t);
    }
    edit->SetEditType(etHex);
    edit->SetText(u"ab");
    EXPECT_EQ(edit->Text(), String(u"AB"));
    edit->SetEditType(etString);
    edit->SetText(String());
    EXPECT_EQ(edit->Text(), String());
}

TEST_F(AdvEditValueTest, FloatValueWritesByTypeAndSeparators) {
    struct Row {
        TAdvEditType type;
        int16_t precision;
        TPrecisionDisplay display;
        const char* us;  // decimal ".", thousand ","
        const char* de;  // decimal ",", thousand "."
    };
    const Row rows[] = {{etNumeric, 0, pdNormal, "1,234", "1.234"},
                        {etFloat, 2, pdNormal, "1234.25", "1234,25"},
                        {etHex, 0, pdNormal, "4D2", "4D2"},
                        {etMoney, 2, pdNormal, "1,234.25", "1.234,25"},
                        {etFloat, 2, pdShortest, "1234.25", "1234,25"}};
    for (bool german : {false, true}) {
        Separators seps(german ? u',' : u'.', german ? u'.' : u',');
        for (const Row& r : rows) {
            SCOPED_TRACE(std::to_string(r.type) + (german ? " de" : " us"));
            TAdvEdit* e = Add<TAdvEdit>(10, 60);
            e->SetEditType(r.type);
            e->SetPrecision(r.precision);
            e->SetPrecisionDisplay(r.display);
            e->SetFloatValue(1234.25);
            EXPECT_EQ(e->Text(), String(german ? r.de : r.us));
            EXPECT_TRUE(e->Modified());
            e->Free();
        }
    }
    edit->SetEditType(etFloat);
    edit->SetPrecision(-1);
    edit->SetFloatValue(1e20);
    EXPECT_EQ(edit->Text(), String(u"1E20"));
}

TEST_F(AdvEditValueTest, ReadsStripPrefixAndSuffix) {
    edit->SetSuffix(u" kg");
    edit->TCustomEdit::SetText(u"5 kg");
    EXPECT_EQ(edit->Text(), String(u"5"));
    edit->SetSuffix(String());
    edit->SetPrefix(u"$");
    edit->TCustomEdit::SetText(u"5");
    EXPECT_EQ(edit->Text(), String(u"5"));
    edit->SetPrefix(String());
    edit->SetText(u"5");
    edit->SetPrefix(u"$");
    EXPECT_EQ(Whole(), String(u"$5"));
    EXPECT_EQ(edit->Text(), String(u"5"));
}

TEST_F(AdvEditValueTest, NumberReadsByType) {
    edit->SetEditType(etMoney);
    edit->SetPrecision(2);
    edit->SetText(u"1,234.50");
    EXPECT_EQ(edit->FloatValue(), 1234.5);
    EXPECT_EQ(edit->IntValue(), 1234);
    edit->TCustomEdit::SetText(u"12.");
    EXPECT_EQ(edit->FloatValue(), 12);
    edit->TCustomEdit::SetText(u"-");
    EXPECT_EQ(edit->FloatValue(), 0);
    Set(etHex, u"ff");
    EXPECT_EQ(edit->IntValue(), 255);
    EXPECT_EQ(edit->FloatValue(), 255);
    Set(etString, u"2.5");
    EXPECT_EQ(edit->FloatValue(), 2.5);
    edit->SetText(u"abc");
    EXPECT_EQ(edit->FloatValue(), 0);
    EXPECT_EQ(edit->IntValue(), 0);
}

TEST_F(AdvEditValueTest, TypeAndPrecisionSettersReformat) {
    edit->SetText(u"abc");
    edit->SetEditType(etNumeric);
    EXPECT_EQ(edit->Text(), String(u"0"));
    EXPECT_EQ(edit->IntValue(), 0);

    edit->SetEditType(etHex);
    edit->SetIntValue(255);
    EXPECT_EQ(edit->Text(), String(u"FF"));
    edit->SetPrecision(3);  // not stored for etHex
    EXPECT_EQ(edit->Precision(), 0);
    edit->SetEditType(etNumeric);
    edit->SetPrecision(3);
    EXPECT_EQ(edit->Precision(), 0);
    edit->SetEditType(etString);
    edit->SetPrecision(1);
    EXPECT_EQ(edit->Precision(), 1);
    edit->SetEditType(etFloat);
    edit->SetText(u"2.5");
    edit->SetPrecision(3);
    EXPECT_EQ(edit->Text(), String(u"2.500"));

    edit->SetEditType(etPassword);
    EXPECT_EQ(edit->PasswordChar(), u'*');
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_NE(GetWindowLong(edit->Handle(), GWL_STYLE) & static_cast<LONG>(ES_PASSWORD), 0);
    edit->SetEditType(etString);
    EXPECT_EQ(edit->PasswordChar(), 0);
}

TEST_F(AdvEditValueTest, ReformatMoneyRegroupsKeepingTheCaretFromTheEnd) {
    Set(etMoney, u"", 0);
    edit->TCustomEdit::SetText(u"1234.5");
    Caret(3);
    changes = 0;
    edit->ReformatMoney();
    EXPECT_EQ(Whole(), String(u"1,234.5"));
    EXPECT_EQ(edit->SelStart(), 4);  // 3 + (7 - 6)
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(changes, 0);
    edit->SetAutoThousandSeparator(false);
    EXPECT_EQ(Whole(), String(u"1234.5"));
    edit->TCustomEdit::SetText(u"-98765");
    edit->SetAutoThousandSeparator(true);
    EXPECT_EQ(Whole(), String(u"-98,765"));
}

}  // namespace
