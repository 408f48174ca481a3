#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"
#include "platform/ui/Mask.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class StdCtrlsMaskTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        edit = new TMaskEdit(form);
        edit->SetParent(form);
    }
    void TearDown() override { form->Free(); }
};

}  // namespace

TEST_F(StdCtrlsMaskTest, MaskFillsPlacesAndSkipsLiterals) {
    edit->SetEditMask(String(u"!99:99;1;_"));
    EXPECT_EQ(edit->Text(), String(u"__:__"));
    form->Show();
    edit->SetFocus();
    edit->SetSelStart(0);
    ui::test::TypeText(edit, String(u"1x23"));  // x does not fit a digit place and is refused
    EXPECT_EQ(edit->Text(), String(u"12:3_"));
    EXPECT_EQ(edit->SelStart(), 4);
    EXPECT_EQ(edit->MaskText(), String(u"12:3 "));
    ui::test::Key(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), String(u"12:__"));
    ui::test::Key(edit, VK_BACK);  // over the literal to the place before it
    EXPECT_EQ(edit->Text(), String(u"1_:__"));
}

TEST_F(StdCtrlsMaskTest, SectionsCaseAndValidation) {
    struct Case {
        const char16_t* mask;
        const char16_t* given;
        const char16_t* edit;
        const char16_t* value;
    } cases[] = {
        {u">LL-000;0;*", u"ab123", u"AB-123", u"AB123"},
        {u"000\\-00;1;_", u"12345", u"123-45", u"123-45"},
        {u"<ll", u"XY", u"xy", u"xy"},
        {u"(999)", u"(12)", u"(12_)", u"(12 )"},
    };
    for (const auto& c : cases) {
        edit->SetEditMask(String(c.mask));
        edit->SetEditText(String(c.given));
        EXPECT_EQ(edit->Text(), String(c.edit)) << String(c.mask).ToUtf8();
        EXPECT_EQ(edit->MaskText(), String(c.value)) << String(c.mask).ToUtf8();
    }
    edit->SetEditMask(String(u"000;1;_"));
    edit->SetEditText(String(u"12"));
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    edit->SetEditText(String(u"123"));
    EXPECT_NO_THROW(edit->ValidateEdit());
    edit->SetEditMask(String());
    EXPECT_FALSE(edit->IsMasked());
    edit->SetText(String(u"free text"));
    EXPECT_EQ(edit->MaskText(), String(u"free text"));
}

// A text the program writes goes through the mask, however it is written, so the editing keys
// only ever work on the mask's places.
TEST_F(StdCtrlsMaskTest, ProgramTextIsFittedToTheMaskAndKeysStayWithinIt) {
    edit->SetEditMask(String(u"000;1;_"));
    const String longer(u"1234567890abcdef");
    edit->SetText(longer);
    EXPECT_EQ(edit->Text(), String(u"123"));
    edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"9x8"));
    EXPECT_EQ(edit->Text(), String(u"98_"));
    edit->SetEditMask(String(u"000-0000;1;_"));
    struct Given { const char16_t* text; const char16_t* shown; } given[] = {
        {u"5551234", u"555-1234"}, {u"555-1234", u"555-1234"}, {u"12", u"12_-____"}, {u"abc", u"___-____"},
    };
    for (const auto& g : given) {
        edit->SetText(String(g.text));
        EXPECT_EQ(edit->Text(), String(g.shown)) << String(g.text).ToUtf8();
    }
    edit->SetEditMask(String(u"000;1;_"));
    struct Case {
        const char* what;
        UINT msg;
        WPARAM wparam;
        bool selectAll;
        const char16_t* text;
    } cases[] = {
        {"clear all", WM_CLEAR, 0, true, u"___"},
        {"cut all", WM_CUT, 0, true, u"___"},
        {"backspace over all", WM_CHAR, u'\b', true, u"___"},
        {"typing over all", WM_CHAR, u'7', true, u"7__"},
        {"backspace at the end", WM_CHAR, u'\b', false, u"12_"},
    };
    for (const Case& c : cases) {
        edit->SetText(longer);
        if (c.selectAll) edit->SelectAll();
        else edit->SetSelStart(edit->Text().Length());
        edit->Perform(c.msg, c.wparam, 0);
        EXPECT_EQ(edit->Text(), String(c.text)) << c.what;
    }
}

// ":" and "/" are the settings' separators as the mask is set; "!" fills a short text from the
// right; a trailing "\" is a literal of its own; an empty mask takes any text.
TEST_F(StdCtrlsMaskTest, SeparatorsRightFillAndTheLastBackslash) {
    const TFormatSettings saved = FormatSettings;
    struct Case {
        char16_t timeSeparator;
        const char16_t* mask;
        const char16_t* given;
        const char16_t* shown;
    } cases[] = {
        {u':', u"!90:00:00;1; ", u"12:34:56", u"12:34:56"},
        {u'.', u"!90:00:00;1; ", u"12:34:56", u"12.34.56"},
        {u'.', u"00\\:00;1;_", u"1234", u"12:34"},
        {u':', u"!999;0; ", u"42", u" 42"},
        {u':', u"999;0; ", u"42", u"42 "},
        {u':', u"!99:99;1;_", u"123", u"_1:23"},
        {u':', u"99\\", u"12", u"12\\"},
        {u':', u"", u"abc", u"abc"},
    };
    for (const Case& c : cases) {
        FormatSettings.TimeSeparator = c.timeSeparator;
        edit->SetEditMask(String(c.mask));
        edit->SetText(String(c.given));
        EXPECT_EQ(edit->Text(), String(c.shown)) << String(c.mask).ToUtf8();
    }
    FormatSettings.DateSeparator = u'-';
    edit->SetEditMask(String(u"00/00;1;_"));
    edit->SetText(String(u"1231"));
    EXPECT_EQ(edit->Text(), String(u"12-31"));
    FormatSettings = saved;
}

TEST_F(StdCtrlsMaskTest, TypingIntoARightFilledTimeMask) {
    edit->SetEditMask(String(u"!90:00:00;1; "));
    edit->SetText(String(u"12:34:56"));
    form->Show();
    edit->SetFocus();
    struct Step {
        int caret;
        const char16_t* typed;
        const char16_t* text;
        int caretAfter;
    } steps[] = {
        {0, u"0", u"02:34:56", 1},
        {1, u"9", u"09:34:56", 3},   // past the separator
        {3, u"x", u"09:34:56", 3},   // a letter is refused
        {3, u"1", u"09:14:56", 4},
    };
    for (const Step& s : steps) {
        edit->SetSelStart(s.caret);
        ui::test::TypeText(edit, String(s.typed));
        EXPECT_EQ(edit->Text(), String(s.text)) << String(s.typed).ToUtf8();
        EXPECT_EQ(edit->SelStart(), s.caretAfter) << String(s.typed).ToUtf8();
    }
}
