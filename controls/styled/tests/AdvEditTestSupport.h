#pragma once
// Shared by the styled edit's tests: a shown form with an edit on it, typing through the edit's
// window messages, and the process's separators set for one test.
#include "controls/styled/AdvEdit.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace advedit_test {

// The separators for the life of the object; the fixed defaults come back after it.
struct Separators {
    Separators(char16_t decimal, char16_t thousand) {
        FormatSettings.DecimalSeparator = decimal;
        FormatSettings.ThousandSeparator = thousand;
    }
    ~Separators() {
        FormatSettings.DecimalSeparator = TFormatSettings::Default().DecimalSeparator;
        FormatSettings.ThousandSeparator = TFormatSettings::Default().ThousandSeparator;
    }
    Separators(const Separators&) = delete;
    Separators& operator=(const Separators&) = delete;
};

class EditTest : public ui::test::FormTest {
protected:
    TAdvEdit* edit = nullptr;
    TEdit* other = nullptr;  // takes the focus away
    int changes = 0;

    void SetUp() override {
        FormTest::SetUp();
        other = Add<TEdit>(10, 150);
        edit = Add<TAdvEdit>(10, 10);
        edit->SetName(u"Edit1");
        edit->Font()->SetName(u"Arial");
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        edit->SetFocus();
        ui::test::Pump();
    }
    void TearDown() override {
        win::ClearKeyState();
        FormTest::TearDown();
    }

    // WM_CHAR as the keyboard sends it; keyData carries the scan code bits.
    LRESULT Char(char16_t ch, LPARAM keyData = 1) { return SendMessage(edit->Handle(), WM_CHAR, ch, keyData); }
    void Type(const String& text) {
        for (char16_t c : text) Char(c);
    }
    LRESULT KeyDown(WORD key) { return SendMessage(edit->Handle(), WM_KEYDOWN, key, 1); }
    // The whole control text and the caret placed in it, with no selection.
    void Set(TAdvEditType type, const String& value, int caret = -1) {
        edit->SetEditType(type);
        edit->SetText(value);
        Caret(caret < 0 ? edit->TCustomEdit::Text().Length() : caret);
    }
    void Caret(int pos) { SendMessage(edit->Handle(), EM_SETSEL, static_cast<WPARAM>(pos), pos); }
    String Whole() const { return edit->TCustomEdit::Text(); }
};

}  // namespace advedit_test
