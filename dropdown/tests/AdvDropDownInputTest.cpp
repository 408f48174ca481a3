// The drop-down edit's typed input: the Text setter's formatting, the number reads and writes,
// the edit type and precision writers, focus in and out, the keys, pastes, copy and cut, the
// mouse release and the swallowed change notice. Locale-bound cases run with "." / "," and with
// "," / "." as the decimal and thousand separators.
#include <gtest/gtest.h>

#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;

// The protected typed-input options in reach.
class Edit : public PickerProbe {
public:
    using PickerProbe::PickerProbe;
    using TAdvCustomDropDown::AllowNumericNullValue;
    using TAdvCustomDropDown::CanUndo;
    using TAdvCustomDropDown::OnClipboardCopy;
    using TAdvCustomDropDown::OnClipboardCut;
    using TAdvCustomDropDown::OnClipboardPaste;
    using TAdvCustomDropDown::SetAllowNumericNullValue;
    using TAdvCustomDropDown::SetCanUndo;
    using TAdvCustomDropDown::SetDefaultHandling;
    using TAdvCustomDropDown::SetExcelStyleDecimalSeparator;
};

// The separators of one locale, and the test's texts written for "." / "," turned into it.
struct Locale {
    char16_t decimal, thousand;
    String operator()(const char16_t* text) const {
        String s(text);
        for (char16_t& c : s) {
            if (c == u'.') c = decimal;
            else if (c == u',') c = thousand;
        }
        return s;
    }
};
constexpr Locale kLocales[] = {{u'.', u','}, {u',', u'.'}};

class InputTest : public DropDownTest {
protected:
    Edit* d = nullptr;
    TEdit* other = nullptr;  // takes the focus away
    int changes = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        other = Add<TEdit>(10, 150);
        d = Make<Edit>(20, 20);
        d->OnChange = [this](TObject*) { ++changes; };
        Focus();
    }
    void TearDown() override {
        Use(kLocales[0]);
        FormatSettings.DecimalSeparator = TFormatSettings::Default().DecimalSeparator;
        FormatSettings.ThousandSeparator = TFormatSettings::Default().ThousandSeparator;
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    static void Use(const Locale& l) {
        FormatSettings.DecimalSeparator = l.decimal;
        FormatSettings.ThousandSeparator = l.thousand;
    }
    void Focus() {
        d->SetFocus();
        ui::test::Pump();
    }
    LRESULT Char(char16_t ch, LPARAM keyData = 1) { return SendMessage(d->Handle(), WM_CHAR, ch, keyData); }
    void Type(const String& text) {
        for (char16_t c : text) Char(c);
    }
    LRESULT KeyDown(WORD key) { return SendMessage(d->Handle(), WM_KEYDOWN, key, 1); }
    void Caret(int pos) { SendMessage(d->Handle(), EM_SETSEL, static_cast<WPARAM>(pos), pos); }
    // The value of the type, the caret at the whole text's end.
    void Set(TDropDownEditType type, const String& value) {
        d->SetEditType(type);
        d->SetText(value);
        Caret(Whole().Length());
    }
    String Whole() const { return d->TCustomMaskEdit::Text(); }
    static std::vector<MSG> Posted(HWND to) {
        std::vector<MSG> out;
        MSG m;
        while (PeekMessage(&m, to, WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) out.push_back(m);
        return out;
    }
    void Paste(const String& clip) {
        Clipboard()->SetAsText(clip);
        SendMessage(d->Handle(), WM_PASTE, 0, 0);
    }
};

TEST_F(InputTest, TheTextSetterFormatsByType) {
    for (const Locale& L : kLocales) {
        Use(L);
        SCOPED_TRACE(std::string(1, static_cast<char>(L.decimal)));
        d->SetPrecision(0);
        Set(etNumeric, String());
        EXPECT_EQ(d->Text(), String(u"0"));
        EXPECT_EQ(d->OldText(), String(u"0"));

        d->SetEditType(etMoney);
        d->SetPrecision(2);
        d->SetText(L(u"1234.5"));
        EXPECT_EQ(Whole(), L(u"1,234.50"));

        d->SetEditType(etFloat);
        d->SetText(u"3");
        EXPECT_EQ(Whole(), L(u"3.00"));
        d->SetText(u"Error");
        EXPECT_EQ(Whole(), String(u"Error"));
        d->SetPrecision(0);
    }
    Set(etHex, u"ff");
    EXPECT_EQ(Whole(), String(u"FF"));

    d->SetEditType(etString);
    d->SetPrefix(u"$");
    d->SetSuffix(u" kg");
    SendMessage(d->Handle(), WM_CHAR, u'x', 1);  // modified by typing
    d->SetText(u"12");
    EXPECT_EQ(Whole(), String(u"$12 kg"));
    EXPECT_EQ(d->Text(), String(u"12"));
    EXPECT_FALSE(d->Modified());
    // A text written as it is reads back whole: the suffix is taken off only where it stands.
    d->SetPlainText(u"$raw");
    EXPECT_EQ(d->Text(), String(u"raw"));
}

TEST_F(InputTest, FloatReadsAndTextClasses) {
    for (const Locale& L : kLocales) {
        Use(L);
        SCOPED_TRACE(std::string(1, static_cast<char>(L.decimal)));
        const struct {
            TDropDownEditType type;
            const char16_t* text;
            double value;
        } reads[] = {
            {etHex, u"FF", 255},
            {etHex, u"1234567890", 0x34567890},
            {etMoney, u"1,234.", 1234},
            {etNumeric, u"-", 0},
            {etNumeric, u"Error", 0},
            {etFloat, u"-1,234.5", -1234.5},
            {etString, u"", 0},
        };
        for (const auto& r : reads) {
            d->SetEditType(r.type);
            d->SetPlainText(L(r.text));
            EXPECT_EQ(d->GetFloatValue(), r.value) << int(r.type);
        }
        // etString reads by the locale-independent conversion in either locale.
        d->SetEditType(etString);
        d->SetPlainText(u"1.5");
        EXPECT_EQ(d->GetFloatValue(), 1.5);

        const struct {
            const char16_t* text;
            int cls;
        } classes[] = {{u"12", 0}, {u"1,234.5", 1}, {u"1A", 5}, {u"", 2}, {u"1.2.3", 2}, {u"--1", 2}};
        for (const auto& c : classes) EXPECT_EQ(TAdvCustomDropDown::ClassifyEditText(L(c.text)), c.cls) << String(c.text);
    }
}

TEST_F(InputTest, NumberWritesAndTheMoneyGrouping) {
    for (const Locale& L : kLocales) {
        Use(L);
        SCOPED_TRACE(std::string(1, static_cast<char>(L.decimal)));
        d->SetEditType(etMoney);
        d->SetPrecision(2);
        d->SetFloatValue(1234.5);
        EXPECT_EQ(Whole(), L(u"1,234.50"));
        EXPECT_TRUE(d->Modified());
        d->SetIntValue(-1234567);
        EXPECT_EQ(Whole(), L(u"-1,234,567.00"));

        d->SetPrecision(0);
        d->SetText(u"1234");
        Caret(4);
        d->ApplyThousandSeparators();
        EXPECT_EQ(Whole(), L(u"1,234"));
        EXPECT_EQ(d->SelStart(), 5);
        EXPECT_EQ(d->SelLength(), 0);
    }
    Set(etHex, u"0");
    d->SetFloatValue(255.7);
    EXPECT_EQ(Whole(), String(u"FF"));
    EXPECT_TRUE(d->Modified());
    d->SetIntValue(-1);
    EXPECT_EQ(Whole(), String(u"FFFFFFFF"));
}

TEST_F(InputTest, TheTypeAndPrecisionWriters) {
    Set(etString, u"abc");
    d->SetEditType(etPassword);
    EXPECT_EQ(d->PasswordChar(), u'*');
    EXPECT_FALSE(d->CanUndo());
    EXPECT_EQ(Whole(), String(u"abc"));
    d->SetEditType(etString);
    EXPECT_EQ(d->PasswordChar(), 0);
    d->SetEditType(etNumeric);
    EXPECT_EQ(Whole(), String(u"0"));
    d->SetPrecision(3);  // ignored for etNumeric
    EXPECT_EQ(d->Precision(), 0);
    EXPECT_EQ(Whole(), String(u"0"));

    Set(etFloat, u"1.5");
    d->SetPrecision(3);
    EXPECT_EQ(Whole(), String(u"1.500"));
    d->SetEditType(etHex);  // "1.500" is no hex value
    EXPECT_EQ(Whole(), String(u"0"));

    form->SetDesigning(true);
    auto* designed = NewComponent<Edit>(form);
    designed->SetEditType(etFloat);
    EXPECT_EQ(designed->Precision(), 2);
    EXPECT_EQ(designed->TCustomMaskEdit::Text(), String(u"0.00"));
    designed->Free();
    form->SetDesigning(false);
}

TEST_F(InputTest, FocusInSelectsAndFocusOutCompletesNumbers) {
    d->SetPrefix(u"$");
    Set(etString, u"abc");
    other->SetFocus();
    Focus();
    EXPECT_EQ(d->SelStart(), 1);
    EXPECT_EQ(d->SelLength(), 3);

    d->SetAutoSelect(false);
    d->SetPrefix(String());
    d->SetPrecision(2);
    Set(etFloat, u"12.5");
    other->SetFocus();
    Focus();
    EXPECT_EQ(d->SelStart(), 2);
    EXPECT_EQ(d->SelLength(), 0);

    d->SetPlainText(String());
    other->SetFocus();
    EXPECT_EQ(Whole(), String(u"0.00"));
    d->SetAllowNumericNullValue(true);
    Focus();
    d->SetPlainText(String());
    other->SetFocus();
    EXPECT_EQ(Whole(), String());

    Set(etNumeric, u"1");
    Focus();
    d->SetPlainText(String());
    other->SetFocus();
    EXPECT_EQ(Whole(), String(u"0"));
}

TEST_F(InputTest, KeysRoundPrefixAndSuffix) {
    d->SetPrefix(u"$");
    d->SetSuffix(u" kg");
    Set(etString, u"12");
    Caret(3);
    KeyDown(VK_RIGHT);
    EXPECT_EQ(d->SelStart(), 3);
    KeyDown(VK_DELETE);
    EXPECT_EQ(Whole(), String(u"$12 kg"));
    Caret(1);
    KeyDown(VK_LEFT);
    EXPECT_EQ(d->SelStart(), 1);
    Caret(2);
    KeyDown(VK_HOME);
    EXPECT_EQ(d->SelStart(), 1);
    EXPECT_EQ(d->SelLength(), 0);
    win::SetKeyState(VK_SHIFT, true);
    KeyDown(VK_END);
    EXPECT_EQ(d->SelStart(), 1);
    EXPECT_EQ(d->SelLength(), 2);
    Caret(3);
    KeyDown(VK_HOME);
    EXPECT_EQ(d->SelStart(), 1);  // back to the prefix's end
    EXPECT_EQ(d->SelLength(), 2);
    win::SetKeyState(VK_SHIFT, false);

    d->SetPrefix(String());
    d->SetSuffix(String());
    d->SetLengthLimit(3);
    Set(etNumeric, u"123");
    Char(u'4');
    EXPECT_EQ(Whole(), String(u"123"));
    Char(u'\b');
    EXPECT_EQ(Whole(), String(u"12"));
    d->SetLengthLimit(0);

    d->SetReturnIsTab(true);
    Posted(d->Handle());
    KeyDown(VK_RETURN);
    std::vector<MSG> tab = Posted(d->Handle());
    ASSERT_EQ(tab.size(), 1u);
    EXPECT_EQ(tab[0].wParam, static_cast<WPARAM>(VK_TAB));
    d->SetReturnIsTab(false);
}

TEST_F(InputTest, TheSignTheKeypadAndMixedCase) {
    Set(etNumeric, u"12");
    Char(u'-');
    EXPECT_EQ(Whole(), String(u"12"));
    d->SetSigned(true);
    Char(u'-');
    EXPECT_EQ(Whole(), String(u"-12"));
    Char(u'-');
    EXPECT_EQ(Whole(), String(u"12"));

    for (const Locale& L : kLocales) {
        Use(L);
        d->SetExcelStyleDecimalSeparator(true);
        d->SetEditType(etFloat);
        d->SetPrecision(2);
        d->SetPlainText(u"1");
        Caret(1);
        Char(u'.', 1 | (LPARAM(0x53) << 16) | (LPARAM(1) << 22));  // the keypad's decimal key
        EXPECT_EQ(Whole(), L(u"1.")) << char(L.decimal);
        d->SetPrecision(0);
    }

    Set(etMixedCase, String());
    Type(u"mcdonald");
    EXPECT_EQ(Whole(), String(u"McDonald"));
    EXPECT_EQ(d->SelStart(), 8);
    Caret(2);
    Char(u'x');  // after "Mc" a word starts
    EXPECT_EQ(Whole(), String(u"McXdonald"));
    EXPECT_EQ(d->SelStart(), 3);
}

TEST_F(InputTest, AnUntypeableEditTakesNoCharactersButClosesItsPopup) {
    d->SetEditorEnabled(false);
    d->SetText(u"ab");
    Char(u'x');
    EXPECT_EQ(Whole(), String(u"ab"));
    bool cancelled = false;
    d->OnDropUp = [&](TObject*, bool c) { cancelled = c; };
    d->ShowDropDown();
    ASSERT_TRUE(d->DroppedDown());
    KeyDown(VK_RETURN);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
    d->ShowDropDown();
    KeyDown(VK_ESCAPE);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(cancelled);
}

TEST_F(InputTest, EscapeSelectsTheValueAndReportsToTheParent) {
    d->SetPrefix(u"#");
    Set(etString, u"ab");
    Type(u"cd");
    EXPECT_TRUE(d->Modified());
    Posted(form->Handle());
    EXPECT_EQ(d->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(Whole(), String(u"#abcd"));  // no text comes back
    EXPECT_EQ(d->SelStart(), 1);
    EXPECT_EQ(d->SelLength(), 4);
    EXPECT_FALSE(d->Modified());
    std::vector<MSG> keys = Posted(form->Handle());
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(keys[1].message, WM_KEYUP);

    // Without CanUndo Esc is the form's, unless the pop-up is open.
    d->SetCanUndo(false);
    EXPECT_EQ(d->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    d->ShowDropDown();
    EXPECT_EQ(d->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    d->HideDropDown(false);
}

TEST_F(InputTest, TheChangeOverTheWholeValueIsSwallowedOnce) {
    Set(etString, u"abc");
    d->SelectAll();
    changes = 0;
    Char(u'x');
    EXPECT_EQ(Whole(), String(u"x"));
    EXPECT_EQ(changes, 0);
    Char(u'y');
    EXPECT_EQ(changes, 1);

    // A refused character leaves the next change reported.
    Set(etNumeric, u"12");
    d->SelectAll();
    changes = 0;
    Char(u'a');
    Caret(2);
    Char(u'3');
    EXPECT_EQ(Whole(), String(u"123"));
    EXPECT_EQ(changes, 1);

    // Backspace over the whole value: one change, the password included.
    for (TDropDownEditType type : {etString, etPassword}) {
        Set(type, u"abc");
        d->SelectAll();
        changes = 0;
        Char(u'\b');
        EXPECT_EQ(Whole(), String());
        EXPECT_EQ(changes, 1) << int(type);
    }
}

TEST_F(InputTest, PastesByType) {
    for (const Locale& L : kLocales) {
        Use(L);
        SCOPED_TRACE(std::string(1, static_cast<char>(L.decimal)));
        const struct {
            TDropDownEditType type;
            bool isSigned;
            int precision;
            const char16_t* clip;
            const char16_t* result;  // pasted into an empty value; "" refused
        } rows[] = {
            {etNumeric, false, 0, u"12", u"12"},
            {etNumeric, false, 0, u"-5", u""},
            {etNumeric, true, 0, u"-5", u"-5"},
            {etNumeric, false, 0, u"1.5", u""},
            {etFloat, false, 2, u"1,234.5", u"1234.50"},
            {etFloat, false, 0, u"1.5", u""},
            {etMoney, false, 2, u"1234.5", u"1,234.50"},
            {etHex, false, 0, u"FF", u""},
            {etRange, false, 0, u"1-3", u""},
            {etAlphaNumeric, false, 0, u"ab1", u"ab1"},
            {etAlphaNumeric, false, 0, u"a-b", u""},
            {etValidChars, false, 0, u"aab", u"aab"},
            {etValidChars, false, 0, u"abc", u""},
            {etUppercase, false, 0, u"ab", u"AB"},
        };
        d->SetValidChars(u"ab");
        for (const auto& r : rows) {
            d->SetPrecision(0);
            d->SetEditType(r.type);
            d->SetSigned(r.isSigned);
            d->SetPrecision(static_cast<int16_t>(r.precision));
            d->SetPlainText(String());
            Paste(L(r.clip));
            EXPECT_EQ(Whole(), L(r.result)) << int(r.type) << " " << String(r.clip);
        }
        d->SetSigned(false);
    }

    // The limit counts the value less the selection.
    Set(etString, u"123");
    d->SetMaxLength(5);
    Paste(u"456");
    EXPECT_EQ(Whole(), String(u"123"));
    Paste(u"45");
    EXPECT_EQ(Whole(), String(u"12345"));
    d->SetMaxLength(0);
}

TEST_F(InputTest, TheClipboardEventsAllowOrStop) {
    d->SetPrefix(u"$");
    Set(etString, u"abcd");
    SendMessage(d->Handle(), EM_SETSEL, 2, 4);  // "bc"
    std::vector<std::string> events;
    bool allow = false;
    auto note = [&](const char* name) {
        return [&, name](TObject*, const String& v, bool& a) {
            events.push_back(std::string(name) + ":" + v.ToUtf8());
            a = allow;
        };
    };
    d->OnClipboardCopy = note("copy");
    d->OnClipboardCut = note("cut");
    d->OnClipboardPaste = note("paste");
    Clipboard()->SetAsText(u"before");
    SendMessage(d->Handle(), WM_COPY, 0, 0);
    SendMessage(d->Handle(), WM_CUT, 0, 0);
    Paste(u"X");
    EXPECT_EQ(Clipboard()->AsText(), String(u"X"));
    EXPECT_EQ(Whole(), String(u"$abcd"));
    allow = true;
    SendMessage(d->Handle(), WM_CUT, 0, 0);  // no copy event
    EXPECT_EQ(Clipboard()->AsText(), String(u"bc"));
    EXPECT_EQ(Whole(), String(u"$ad"));
    EXPECT_EQ(events, (std::vector<std::string>{"copy:bc", "cut:bc", "paste:aXd", "cut:bc"}));
}

TEST_F(InputTest, AReleaseInThePrefixSelectsTheValue) {
    d->SetPrefix(u"$$$$$$");
    Set(etString, u"ab");
    Caret(7);
    SendMessage(d->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, d->ClientHeight() / 2));
    SendMessage(d->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, d->ClientHeight() / 2));
    EXPECT_EQ(d->SelStart(), 6);
    EXPECT_EQ(d->SelLength(), 2);
}

}  // namespace
