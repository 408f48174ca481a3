// The styled edit as the typed input engine's host: the engine's entry points and what the
// rules read and write of the edit, with the auto-complete's keys, Escape's undo to the text of
// focus-in and the moves to the next control.
#include "controls/styled/AdvEdit.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// The engine's entry points

void TAdvEdit::FilterTypedChar(TMessage& Message) { FInput.TypedChar(Message); }

void TAdvEdit::FilterKeyDown(TMessage& Message) { FInput.KeyDown(Message); }

void TAdvEdit::FilterPaste() { FInput.Paste(); }

void TAdvEdit::FilterCopy(TMessage& Message) { FInput.Copy(Message); }

void TAdvEdit::FilterCut(TMessage& Message) { FInput.Cut(Message); }

void TAdvEdit::WantSpecialKey(TMessage& Message) { FInput.SpecialKey(Message); }

// ---------------------------------------------------------------------------------------------
// The host

void TAdvEdit::TInputHost::SetWholeText(const String& text) { FEdit.SetControlText(text); }

bool TAdvEdit::TInputHost::NativeModified() { return FEdit.Perform(EM_GETMODIFY, 0, 0) != 0; }

double TAdvEdit::TInputHost::FloatValue() { return FEdit.FloatValue(); }

void TAdvEdit::TInputHost::SetFloatValue(double value) { FEdit.SetFloatValue(value); }

bool TAdvEdit::TInputHost::Modified() const { return FEdit.FModified; }

void TAdvEdit::TInputHost::SetModified(bool value) { FEdit.SetModified(value); }

String TAdvEdit::TInputHost::MixedCase(const String& value) { return advedit::MixedCaseText(value); }

styled::TTypedSettings TAdvEdit::TInputHost::Settings() const {
    styled::TTypedSettings s = TEditInputHost::Settings();
    s.TabOnFullLength = FEdit.FTabOnFullLength;
    return s;
}

// Up and Down never reach the native edit: they move in the shown list, or go to OnKeyDown
// alone. Enter takes the list's choice; Home, End and the page keys move in it.
bool TAdvEdit::TInputHost::LookupKeyDown(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    const bool shown = FEdit.LookupShown();
    if ((key == VK_UP || key == VK_DOWN) && !shown) {
        if (FEdit.OnKeyDown) FEdit.OnKeyDown(&FEdit, key, KeyboardShiftState());
        Message.Result = 1;
        return true;
    }
    if (!shown) return false;
    switch (key) {
        case VK_RETURN: FEdit.SelectLookupItem(); return true;
        case VK_HOME:
        case VK_END:
        case VK_NEXT:
        case VK_PRIOR:
            FEdit.LookupKey(key);
            Message.Result = 1;
            return true;
        case VK_UP:
        case VK_DOWN:
            FEdit.LookupKey(key);
            Message.WParam = 0;
            return false;
        default: return false;
    }
}

void TAdvEdit::TInputHost::RefreshLookup() { FEdit.UpdateLookupList(); }

void TAdvEdit::TInputHost::BackspaceAtPrefix() {
    if (FEdit.OnKeyDown) {
        WORD k = VK_BACK;
        FEdit.OnKeyDown(&FEdit, k, TShiftState());
    }
}

void TAdvEdit::TInputHost::EscapeUndo() {
    FEdit.SetText(FEdit.FUndoText);
    if (FEdit.FFocusFontColor != clNone) FEdit.Font()->SetColor(FEdit.FFocusFontColor);
}
