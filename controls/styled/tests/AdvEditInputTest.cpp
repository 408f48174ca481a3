// The styled edit's typed input, through the edit's window messages: characters by input kind,
// the sign and the decimal rules, keys around Prefix and Suffix, pastes, copy and cut, Escape's
// undo, the length limit, focus out and the selection helpers.
#include <gtest/gtest.h>

#include "controls/styled/tests/AdvEditTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {

using advedit_test::EditTest;
using advedit_test::Separators;

class AdvEditInputTest : public EditTest {
protected:
    std::vector<MSG> Posted(HWND to) {
        std::vector<MSG> out;
        MSG m;
        while (PeekMessage(&m, to, WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) out.push_back(m);
        return out;
    }
};

TEST_F(AdvEditInputTest, FloatDecimalRules) {
    edit->SetEditType(etFloat);
    edit->SetPrecision(2);
    Set(etFloat, u"12.34");
    Char(u'5');
    EXPECT_EQ(edit->Text(), String(u"12.34"));  // the fraction is full
    Caret(4);
    Char(u'9');
    EXPECT_EQ(edit->Text(), String(u"12.39"));
    Caret(1);
    Char(u'.');
    EXPECT_EQ(edit->Text(), String(u"12.39"));  // only moves the caret behind the separator
    EXPECT_EQ(edit->SelStart(), 3);
    Char(u'x');
    EXPECT_EQ(edit->Text(), String(u"12.39"));

    edit->SetAllowNumericNullValue(true);
    Set(etFloat, u"", 0);
    Char(u'.');
    EXPECT_EQ(edit->Text(), String(u"0."));
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_TRUE(edit->Modified());

    edit->SetPrecision(0);
    edit->SetEditType(etString);
    edit->SetEditType(etFloat);  // precision 0 stays for a switch at run time
    Set(etFloat, u"", 0);
    Char(u'.');
    EXPECT_EQ(edit->Text(), String());
}

// A thousand separator typed into a number goes in only exactly three places from the nearest
// one already there.
TEST_F(AdvEditInputTest, ThousandSeparatorTypedOnlyThreePlacesFromTheLastOne) {
    edit->SetAutoThousandSeparator(false);
    edit->SetPrecision(0);  // a float with a fraction is written afresh, without the separator
    const struct {
        int caret;
        const char16_t* result;
    } rows[] = {{1, u"1,234567"}, {4, u"1,234567"}, {5, u"1,234,567"}, {6, u"1,234567"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caret);
        Set(etFloat, u"1,234567", row.caret);
        ASSERT_EQ(Whole(), String(u"1,234567"));
        Char(u',');
        EXPECT_EQ(Whole(), String(row.result));
    }
}

TEST_F(AdvEditInputTest, SignToggle) {
    edit->SetSigned(true);
    Set(etNumeric, u"12", 0);
    Char(u'-');
    EXPECT_EQ(edit->Text(), String(u"-12"));
    Char(u'-');
    EXPECT_EQ(edit->Text(), String(u"12"));
    edit->SetSigned(false);
    for (TAdvEditType t : {etNumeric, etFloat, etMoney}) {
        Set(t, u"12", 0);
        Char(u'-');
        EXPECT_EQ(edit->Text(), String(u"12")) << int(t);
    }
    edit->SetSigned(true);
    edit->SetPrecision(2);
    Set(etMoney, u"1234.5", 2);  // shown "1,234.50"
    Char(u'-');
    EXPECT_EQ(edit->Text(), String(u"-1,234.50"));  // the sign never rounds the value
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(AdvEditInputTest, MoneyGroupsWhileTyping) {
    Set(etMoney, u"", 0);
    edit->SelectAll();
    Type(u"1234");
    EXPECT_EQ(edit->Text(), String(u"1,234"));
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_TRUE(edit->Modified());
    Char(u'\b');
    EXPECT_EQ(edit->Text(), String(u"123"));

    edit->SetAutoThousandSeparator(false);
    edit->SetAllowNumericNullValue(true);
    Set(etMoney, u"", 0);
    Type(u"1234");
    EXPECT_EQ(edit->Text(), String(u"1234"));

    edit->SetAutoThousandSeparator(true);
    edit->SetPrecision(2);
    Set(etMoney, u"12.50");
    edit->SelectAll();
    Char(u'.');
    EXPECT_EQ(edit->Text(), String(u"0.00"));
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(AdvEditInputTest, CharactersByType) {
    struct Row {
        TAdvEditType type;
        const char* typed;
        const char* shown;
        bool modified;
    };
    const Row rows[] = {{etUppercase, "a", "A", true},    {etLowerCase, "A", "a", true},     {etMixedCase, "o'n", "O'N", true},
                        {etHex, "g", "", false},          {etHex, "f", "f", true},           {etAlphaNumeric, "-", "", false},
                        {etAlphaNumeric, "a1", "a1", true}, {etValidChars, "x", "", false},  {etValidChars, "cab", "cab", true},
                        {etRange, "1-,", "1-", true},     {etRange, "1-5;7", "1-5;7", true}, {etString, "a-Z", "a-Z", true},
                        {etPassword, "p w", "p w", true}, {etNumeric, "1a2", "12", true}};
    edit->SetValidChars(u"abc");
    edit->SetAllowNumericNullValue(true);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.type) + " " + r.typed);
        Set(r.type, u"", 0);
        EXPECT_FALSE(edit->Modified());
        Type(String(r.typed));
        EXPECT_EQ(edit->Text(), String(r.shown));
        EXPECT_EQ(edit->Modified(), r.modified);
    }
}

TEST_F(AdvEditInputTest, ARefusedCharacterOverTheWholeValueKeepsTheNextChange) {
    Set(etNumeric, u"12");
    edit->SelectAll();
    changes = 0;
    Char(u'a');  // refused: the swallow of its change ends with it
    EXPECT_EQ(edit->Text(), String(u"12"));
    Caret(2);
    Char(u'3');
    EXPECT_EQ(edit->Text(), String(u"123"));
    EXPECT_EQ(changes, 1);

    edit->SelectAll();
    changes = 0;
    Char(u'7');  // typed over the whole value: that change is swallowed
    EXPECT_EQ(edit->Text(), String(u"7"));
    EXPECT_EQ(changes, 0);
    Char(u'\b');  // emptied: reported once
    EXPECT_EQ(edit->Text(), String());
    EXPECT_EQ(changes, 1);
}

TEST_F(AdvEditInputTest, PasteByType) {
    struct Row {
        TAdvEditType type;
        const char* before;
        const char* clip;
        const char* after;
    };
    const Row rows[] = {{etNumeric, "5", "12\r\n34", "512"}, {etNumeric, "5", "x", "5"},    {etRange, "1", "2", "1"},
                        {etFloat, "", "1.5", "1.50"},      {etHex, "A", "f", "AF"},       {etHex, "A", "g", "A"},
                        {etUppercase, "a", "bc", "ABC"},     {etAlphaNumeric, "a", "-", "a"}, {etString, "a", "b\rc", "ab"}};
    edit->SetAllowNumericNullValue(true);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.type) + " " + r.clip);
        edit->SetEditType(r.type);
        edit->SetPrecision(2);
        Set(r.type, String(r.before));
        Clipboard()->SetAsText(String(r.clip));
        SendMessage(edit->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(edit->Text(), String(r.after));
    }
    // What the native edit would paste never arrives: only the first line went in above.
    Set(etString, u"a");
    Clipboard()->SetAsText(u"zz");
    edit->OnClipboardPaste = [](TObject*, const String& v, bool& allow) {
        EXPECT_EQ(v, String(u"azz"));
        allow = false;
    };
    SendMessage(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), String(u"a"));
    edit->OnClipboardPaste = nullptr;
    edit->SetReadOnly(true);
    SendMessage(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), String(u"a"));
    edit->SetReadOnly(false);
    Caret(1);
    SendMessage(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), String(u"azz"));
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(AdvEditInputTest, CopyAndCutOfferTheSelectedValue) {
    edit->SetPrefix(u"$");
    Set(etString, u"abcd");
    SendMessage(edit->Handle(), EM_SETSEL, 2, 4);  // "bc"
    String offered;
    bool allow = false;
    edit->OnClipboardCopy = [&](TObject*, const String& v, bool& a) {
        offered = v;
        a = allow;
    };
    edit->OnClipboardCut = edit->OnClipboardCopy;
    Clipboard()->SetAsText(u"before");
    SendMessage(edit->Handle(), WM_COPY, 0, 0);
    EXPECT_EQ(offered, String(u"bc"));
    EXPECT_EQ(Clipboard()->AsText(), String(u"before"));
    SendMessage(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(Clipboard()->AsText(), String(u"before"));
    EXPECT_EQ(edit->Text(), String(u"abcd"));
    allow = true;
    SendMessage(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(Clipboard()->AsText(), String(u"bc"));
    EXPECT_EQ(edit->Text(), String(u"ad"));
}

TEST_F(AdvEditInputTest, SpecialKeys) {
    Set(etString, u"ab");
    EXPECT_EQ(SendMessage(edit->Handle(), WM_CHAR, u'\r', 1), 0);
    win::SetKeyState(VK_CONTROL, true);
    EXPECT_EQ(Char(u'\r'), 1);
    win::SetKeyState(VK_CONTROL, false);

    Separators de(u',', u'.');
    edit->SetExcelStyleDecimalSeparator(true);
    edit->SetAllowNumericNullValue(true);
    edit->SetPrecision(2);
    Set(etFloat, u"", 0);
    Char(u'.', 1 | (LPARAM(0x53) << 16));  // the keypad's decimal key
    EXPECT_EQ(Whole(), String(u"0,"));
    Set(etFloat, u"", 0);
    Char(u'.', 1 | (LPARAM(0x34) << 16));  // the main ".": this locale's thousand separator
    EXPECT_EQ(Whole(), String(u"."));

    // Enter with DefaultHandling off: OnKeyPress sees a copy, the parent gets the key.
    edit->SetDefaultHandling(false);
    int presses = 0;
    edit->OnKeyPress = [&](TObject*, char16_t& k) {
        ++presses;
        k = u'x';
    };
    Posted(form->Handle());
    Char(u'\r');
    EXPECT_EQ(presses, 1);
    std::vector<MSG> keys = Posted(form->Handle());
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, VK_RETURN);
    EXPECT_EQ(keys[1].message, WM_KEYUP);
}

TEST_F(AdvEditInputTest, EscapeUndoesToTheTextOfFocusIn) {
    Set(etString, u"start");
    other->SetFocus();
    edit->SetFocus();
    Caret(5);
    Type(u"ed");
    EXPECT_TRUE(edit->Modified());
    Posted(form->Handle());
    EXPECT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(edit->Text(), String(u"start"));
    EXPECT_FALSE(edit->Modified());
    std::vector<MSG> keys = Posted(form->Handle());
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].wParam, VK_ESCAPE);

    // A real key press: the press undoes, then its character comes; with ShowModified the
    // colour of an unmodified text stays.
    edit->SetShowModified(true);
    for (TAdvEditType kind : {etString, etUppercase, etLowerCase, etMixedCase}) {
        Set(kind, u"start");
        const String before = edit->Text();
        other->SetFocus();
        edit->SetFocus();
        Caret(5);
        Type(u"ed");
        ASSERT_TRUE(edit->Modified());
        ASSERT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
        Char(u'\x1b');
        EXPECT_EQ(edit->Text(), before) << int(kind);
        EXPECT_FALSE(edit->Modified()) << int(kind);
        EXPECT_NE(edit->Font()->Color(), edit->ModifiedColor()) << int(kind);
    }
    Posted(form->Handle());

    // With no form above it the question stays unanswered.
    auto* loose = new TAdvEdit(nullptr);
    EXPECT_EQ(loose->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    loose->Free();
}

TEST_F(AdvEditInputTest, PrefixAndSuffixKeepTheCaretOnTheValue) {
    edit->SetPrefix(u"$");
    Set(etString, u"12", 3);
    KeyDown(VK_HOME);
    EXPECT_EQ(edit->SelStart(), 1);
    Char(u'\b');
    EXPECT_EQ(edit->Text(), String(u"12"));
    KeyDown(VK_LEFT);
    EXPECT_EQ(edit->SelStart(), 1);
    Caret(0);
    ui::test::MouseUp(edit, 1, 5);
    EXPECT_EQ(edit->SelStart(), 1);

    edit->SetPrefix(String());
    edit->SetSuffix(u" kg");
    Set(etString, u"12", 0);
    KeyDown(VK_END);
    EXPECT_EQ(edit->SelStart(), 2);
    KeyDown(VK_RIGHT);
    EXPECT_EQ(edit->SelStart(), 2);
    KeyDown(VK_DELETE);
    EXPECT_EQ(Whole(), String(u"12 kg"));
}

TEST_F(AdvEditInputTest, LengthLimitAndTabOnFullLength) {
    edit->SetLengthLimit(3);
    Set(etNumeric, u"123");
    Char(u'4');
    EXPECT_EQ(edit->Text(), String(u"123"));
    edit->SetTabOnFullLength(true);
    edit->SetAllowNumericNullValue(true);
    Set(etNumeric, u"", 0);
    Type(u"12");
    EXPECT_TRUE(edit->Focused());
    Char(u'3');
    EXPECT_EQ(edit->Text(), String(u"123"));
    EXPECT_FALSE(edit->Focused());
}

TEST_F(AdvEditInputTest, FocusOutCompletesNumbers) {
    Set(etNumeric, u"5");
    edit->TCustomEdit::SetText(String());
    other->SetFocus();
    EXPECT_EQ(edit->Text(), String(u"0"));

    edit->SetFocus();
    edit->SetEditType(etFloat);
    edit->SetPrecision(2);
    edit->TCustomEdit::SetText(u"1.5");
    edit->SetModified(true);
    other->SetFocus();
    EXPECT_EQ(edit->Text(), String(u"1.50"));
    EXPECT_TRUE(edit->Modified());

    edit->SetAllowNumericNullValue(true);
    edit->SetFocus();
    edit->SetText(String());
    other->SetFocus();
    EXPECT_EQ(edit->Text(), String());
}

TEST_F(AdvEditInputTest, SelectionHelpers) {
    edit->SetShowURL(true);
    Set(etString, u"http://x");
    edit->SelectAll();
    EXPECT_EQ(edit->SelText(), String(u"x"));
    edit->SetText(u"mailto:a@b");
    edit->SelectAll();
    EXPECT_EQ(edit->SelText(), String(u"a@b"));
    edit->SetShowURL(false);
    edit->SetPrefix(u"$");
    edit->SetPrecision(2);
    Set(etFloat, u"12.5");
    edit->SelectBeforeDecimal();
    EXPECT_EQ(edit->SelStart(), 3);
    edit->SelectAfterDecimal();
    EXPECT_EQ(edit->SelStart(), 4);
}

TEST_F(AdvEditInputTest, TheKeyboardsRoad) {
    Set(etMoney, u"");
    other->SetFocus();
    edit->SetFocus();  // the focus-in text is "0"
    ui::test::TypeText(edit, u"1234");
    EXPECT_EQ(edit->Text(), String(u"1,234"));
    ui::test::Key(edit, VK_ESCAPE);
    EXPECT_EQ(edit->Text(), String(u"0"));
    EXPECT_FALSE(edit->Modified());
    Set(etString, u"ab", 1);
    ui::test::Key(edit, VK_DOWN);
    EXPECT_EQ(edit->SelStart(), 1);
}

TEST_F(AdvEditInputTest, ModifiedFollowsTheUserAndShowsItsColour) {
    edit->SetShowModified(true);
    Set(etString, u"a");
    Char(u'b');
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->Font()->Color(), clHighlight);
    edit->SetText(u"c");
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->Font()->Color(), clWindowText);
    edit->SetReadOnly(true);
    edit->SetModified(true);
    EXPECT_FALSE(edit->Modified());
    edit->SetReadOnly(false);
    edit->BeginLoading();
    edit->SetModified(true);
    EXPECT_FALSE(edit->Modified());
}

}  // namespace
