// The calculator drop-down: its construction and pop-up, key sequences on the keypad, Value and
// the length limit, the keys of the open pop-up and of the closed edit, the thousand separator
// and the component styles' keypad colours.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "dropdown/AdvCalculatorDropdown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Format.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class Calc : public TAdvCalculatorDropdown {
public:
    using TAdvCalculatorDropdown::TAdvCalculatorDropdown;
    using TAdvCalculatorDropdown::Accumulator;
    using TAdvCalculatorDropdown::Memory;
    using TAdvCalculatorDropdown::PendingOperation;
    using TAdvCalculatorDropdown::PopupKeyDown;
    using TAdvCalculatorDropdown::PopupKeyPress;
    using TAdvCustomDropDown::EditType;
    using TAdvCustomDropDown::OldText;
    using TAdvCustomDropDown::SetPlainText;

    // A click on the keypad's key with this caption.
    void Press(const String& caption) {
        TButtonItems* keys = ButtonPanel()->Buttons();
        for (int i = 0; i < keys->Count(); ++i)
            if (keys->Items(i)->Caption() == caption) {
                KeypadClick(i);
                return;
            }
        FAIL() << "no key " << caption.ToUtf8();
    }
};

class CalculatorTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    Calc* d = nullptr;
    std::vector<bool> dropUps;

    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<Calc>(20, 20);
        d->OnDropUp = [this](TObject*, bool cancelled) { dropUps.push_back(cancelled); };
        d->SetFocus();
        clock->Advance(1000);
        ui::test::Pump();
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void Char(char16_t c) {
        char16_t k = c;
        d->PopupKeyPress(d->DropDownForm(), k);
    }
    void KeyDown(WORD key) { d->PopupKeyDown(d->DropDownForm(), key, {}); }
    // A character typed into the closed edit.
    void Typed(char16_t c) { SendMessage(d->Handle(), WM_CHAR, c, 0); }
};

TEST_F(CalculatorTest, ConstructionAndThePopup) {
    EXPECT_EQ(d->DropDownWidth(), 230);
    EXPECT_EQ(d->DropDownColor(), static_cast<TColor>(0xFFFFFF));
    EXPECT_FALSE(d->DropDownHeader()->Visible());
    EXPECT_FALSE(d->DropDownFooter()->Visible());
    EXPECT_EQ(d->EditType(), etFloat);
    EXPECT_EQ(d->Precision(), 2);
    EXPECT_EQ(d->PendingOperation(), -1);
    EXPECT_EQ(d->Memory(), 0);
    ASSERT_NE(d->ButtonPanel(), nullptr);
    EXPECT_EQ(d->ButtonPanel()->Buttons()->Count(), 28);

    d->CalcButtonAppearance()->SetColor(0x123456);
    d->SetDropDownColor(0xF0F0F0);
    d->ShowDropDown();
    ASSERT_TRUE(d->DroppedDown());
    TDropDownForm* f = d->DropDownForm();
    TCustomButtonPanel* pad = d->ButtonPanel();
    EXPECT_FALSE(f->CancelOnDeActivate());
    EXPECT_EQ(f->Width(), 230);
    EXPECT_EQ(f->Height(), 152);
    EXPECT_EQ(pad->Parent(), f);
    EXPECT_EQ(pad->Width(), 228);
    EXPECT_EQ(pad->Height(), 150);
    EXPECT_EQ(pad->AdvDropDown(), d);
    EXPECT_EQ(pad->ButtonAppearance()->Color(), 0x123456);
    EXPECT_EQ(pad->Color(), 0xF0F0F0);
    EXPECT_EQ(pad->Buttons()->Items(27)->BoundsRect(), TRect(183, 38, 217, 64));
    // A click on the pad is a keypad click.
    ui::test::Click(pad, 55, 50);  // "7"
    EXPECT_EQ(d->Text(), String(u"7"));
    d->HideDropDown(false);
}

TEST_F(CalculatorTest, KeySequences) {
    struct Case {
        std::vector<String> keys;
        std::vector<String> shown;
    };
    const Case cases[] = {
        {{u"2", u"+", u"3", u"=", u"%"}, {u"2", u"2.00", u"3", u"5.00", u"0.25"}},
        {{u"9", u"/", u"0", u"=", u"4"}, {u"9", u"9.00", u"0", u"Error", u"4"}},
        {{u"5", u"+/-", u"+/-"}, {u"5", u"-5", u"5"}},
        {{u"1", u"2", u"3", u"Back"}, {u"1", u"12.00", u"123.00", u"12"}},
        {{u"1", u"+", u"2", u"Back"}, {u"1", u"1.00", u"2", u"2"}},
        {{u"7", u"MS", u"C", u"MR"}, {u"7", u"7", u"0", u"7.00"}},
        {{u"1", u"2", u".", u"5", u"6"}, {u"1", u"12.00", u"12.00", u"12.50", u"12.56"}},
        {{u"6", u"*", u"7", u"-", u"2", u"="}, {u"6", u"6.00", u"7", u"42.00", u"2", u"40.00"}},
        {{u"9", u"sqrt", u"4", u"+", u"4", u"1/x"}, {u"9", u"3.00", u"34.00", u"34.00", u"4", u"0.25"}},
        {{u"3", u"MS", u"M+", u"CE", u"MR", u"MC", u"MR"}, {u"3", u"3", u"3", u"0", u"6.00", u"6.00", u"0.00"}},
        // A Back that would leave a lone sign shows 0, which the next operator reads.
        {{u"5", u"+/-", u"Back", u"+"}, {u"5", u"-5", u"0", u"0.00"}},
    };
    for (const Case& c : cases) {
        auto* calc = NewComponent<Calc>(form);
        calc->SetParent(form);
        calc->SetValue(0);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            calc->Press(c.keys[i]);
            EXPECT_EQ(calc->Text(), c.shown[i]) << "after " << c.keys[i].ToUtf8() << " of case " << c.keys[0].ToUtf8()
                                                 << " .. " << c.keys.back().ToUtf8();
        }
        calc->Free();
    }

    // "sqrt" of a negative and "1/x" of 0: "Error", the accumulator and the memory kept.
    d->SetValue(0);
    d->Press(u"7");
    d->Press(u"MS");
    d->Press(u"+");
    d->Press(u"4");
    d->Press(u"+/-");
    d->Press(u"sqrt");
    EXPECT_EQ(d->Text(), String(u"Error"));
    d->Press(u"0");
    d->Press(u"1/x");
    EXPECT_EQ(d->Text(), String(u"Error"));
    EXPECT_EQ(d->Accumulator(), 7);
    EXPECT_EQ(d->Memory(), 7);

    // "+/-" turns the leading sign only, an exponent's stays.
    d->SetValue(1e-5);
    const String e = d->Text();
    d->Press(u"+/-");
    EXPECT_EQ(d->Text(), u"-" + e);
    d->Press(u"+/-");
    EXPECT_EQ(d->Text(), e);
    // What the calculator shows is what a cancelled close restores.
    EXPECT_EQ(d->OldText(), e);
}

TEST_F(CalculatorTest, ValueAndTheLengthLimit) {
    d->SetValue(0.1);
    EXPECT_EQ(d->Text(), String(u"0.1"));
    EXPECT_DOUBLE_EQ(d->Value(), 0.1);
    d->SetPlainText(u"");
    EXPECT_EQ(d->Value(), 0);
    EXPECT_EQ(d->Text(), String(u"0"));
    d->SetPlainText(u"-");
    EXPECT_EQ(d->Value(), 0);
    // An operator on a text that is no number: the conversion error, nothing changed.
    d->SetValue(8);
    d->Press(u"MS");
    d->Press(u"+");
    d->SetPlainText(u"-");
    EXPECT_THROW(d->Press(u"*"), EConvertError);
    EXPECT_EQ(d->Accumulator(), 8);
    EXPECT_EQ(d->PendingOperation(), 0);
    EXPECT_THROW(d->Press(u"M+"), EConvertError);
    EXPECT_EQ(d->Memory(), 8);

    d->SetMaxLength(3);
    d->SetValue(123);
    d->SetModified(false);
    for (const char16_t* key : {u"4", u"+/-", u"."}) {
        d->Press(key);
        EXPECT_EQ(d->Text(), String(u"123")) << String(key).ToUtf8();
        EXPECT_FALSE(d->Modified());
    }
    d->Press(u"+");
    EXPECT_TRUE(d->Modified());
}

TEST_F(CalculatorTest, TheKeysOfTheOpenPopup) {
    d->SetValue(0);
    d->ShowDropDown();
    for (char16_t c : {u'2', u'+', u'3'}) Char(c);
    EXPECT_EQ(d->Text(), String(u"3"));
    KeyDown(VK_RETURN);
    EXPECT_TRUE(d->DroppedDown());
    Char(13);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), String(u"5.00"));
    EXPECT_EQ(dropUps, std::vector<bool>{false});

    // Characters typed into the edit are undone by Esc; the calculator's own text is kept.
    d->ShowDropDown();
    Char(u'1');
    Char(u'2');
    EXPECT_EQ(d->Text(), String(u"12"));
    KeyDown(VK_BACK);
    Char(8);
    EXPECT_EQ(d->Text(), String(u"1"));
    KeyDown(VK_BACK);
    Char(8);
    EXPECT_EQ(d->Text(), String(u"0"));
    Char(u'4');
    Char(u'5');
    EXPECT_EQ(d->Text(), String(u"45"));
    KeyDown(VK_ESCAPE);
    Char(27);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), String(u"4.00"));
    EXPECT_EQ(dropUps.back(), true);

    d->ShowDropDown();
    Char(u'&');  // without Alt: nothing
    EXPECT_TRUE(d->DroppedDown());
    win::SetKeyState(VK_MENU, true);
    Char(u'&');
    win::SetKeyState(VK_MENU, false);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(dropUps.back(), true);

    for (WORD key : {WORD(VK_TAB), WORD(VK_F4)}) {
        clock->Advance(1000);
        d->ShowDropDown();
        ASSERT_TRUE(d->DroppedDown());
        Char(u'9');
        KeyDown(key);
        EXPECT_FALSE(d->DroppedDown());
        EXPECT_EQ(dropUps.back(), false);
        EXPECT_EQ(d->Text(), String(u"9"));
    }

    d->ShowDropDown();
    Char(u'+');
    Char(u'c');
    EXPECT_EQ(d->Text(), String(u"0"));
    EXPECT_EQ(d->Accumulator(), 0);
    EXPECT_EQ(d->PendingOperation(), -1);
    d->HideDropDown(false);
}

TEST_F(CalculatorTest, TheKeysOfTheClosedEdit) {
    d->SetValue(0);
    Typed(u'5');
    EXPECT_EQ(d->Text(), String(u"5"));
    EXPECT_EQ(d->SelStart(), 1);
    EXPECT_EQ(d->SelLength(), 0);
    Typed(u',');
    Typed(u'a');
    EXPECT_EQ(d->Text(), String(u"5"));
    Typed(u'+');
    EXPECT_EQ(d->Text(), String(u"5.00"));
    Typed(u'3');
    EXPECT_EQ(d->Text(), String(u"3"));
    Typed(13);
    EXPECT_EQ(d->Text(), String(u"8.00"));
    Typed(u'*');
    Typed(u'2');
    Typed(u'=');
    EXPECT_EQ(d->Text(), String(u"16.00"));
    // Delete on an emptied text shows 0.
    d->SetPlainText(u"");
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(d->Text(), String(u"0"));
}

// The keys as the desktop gives them: key-down, character, key-up.
TEST_F(CalculatorTest, RealKeysComputeAndClose) {
    d->SetValue(0);
    ui::test::TypeText(d, u"7*6");
    ui::test::Key(d, VK_RETURN);
    EXPECT_EQ(d->Text(), String(u"42.00"));

    d->ShowDropDown();
    ASSERT_TRUE(d->DroppedDown());
    TCustomButtonPanel* pad = d->ButtonPanel();
    ui::test::TypeText(pad, u"9/0");
    ui::test::Key(pad, VK_RETURN);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), String(u"Error"));
    EXPECT_EQ(dropUps, std::vector<bool>{false});
}

TEST_F(CalculatorTest, ThousandSeparatorAndStyles) {
    d->SetValue(1234.5);
    d->SetShowThousandSeparator(true);
    EXPECT_EQ(d->EditType(), etMoney);
    EXPECT_EQ(d->Text(), String(u"1,234.50"));
    d->Press(u"MS");
    EXPECT_DOUBLE_EQ(d->Memory(), 1234.5);
    d->Press(u"M+");
    EXPECT_DOUBLE_EQ(d->Memory(), 2469);
    d->Press(u"+");
    EXPECT_DOUBLE_EQ(d->Accumulator(), 1234.5);
    d->SetShowThousandSeparator(false);
    EXPECT_EQ(d->EditType(), etFloat);
    EXPECT_EQ(d->Text(), String(u"1234.50"));

    for (TQRBStyle style : {tsOffice2010Blue, tsOffice2007Luna, tsWindowsXP}) {
        d->SetComponentStyle(style);
        const TAdvButtonAppearance* b = d->ButtonAppearance();
        const TButtonAppearance* c = d->CalcButtonAppearance();
        EXPECT_EQ(c->BorderColor(), b->BorderColor());
        EXPECT_EQ(c->BorderColorHot(), b->BorderColorHot());
        EXPECT_EQ(c->BorderColorDown(), b->BorderColorDown());
        EXPECT_EQ(c->Color(), b->Color());
        EXPECT_EQ(c->ColorTo(), b->ColorTo());
        EXPECT_EQ(c->ColorDown(), b->ColorDown());
        EXPECT_EQ(c->ColorDownTo(), b->ColorDownTo());
        EXPECT_EQ(c->ColorHot(), b->ColorHot());
        EXPECT_EQ(c->ColorHotTo(), b->ColorHotTo());
    }
    d->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(d->CalcButtonAppearance()->GlowColorHot(), static_cast<TColor>(0x8AE3FD));
    EXPECT_EQ(d->CalcButtonAppearance()->GlowColorDown(), static_cast<TColor>(0x8AE3FD));
    d->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(d->CalcButtonAppearance()->GlowColorDown(), static_cast<TColor>(0xD5C244));
    EXPECT_EQ(d->CalcButtonAppearance()->GlowColorHot(), static_cast<TColor>(0x6EBBFF));
}

}  // namespace
