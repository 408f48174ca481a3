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

String TAdvEdit::TInputHost::WholeText() const { return E.TCustomEdit::Text(); }

int TAdvEdit::TInputHost::SelStart() const { return E.SelStart(); }

int TAdvEdit::TInputHost::SelLength() const { return E.SelLength(); }

void TAdvEdit::TInputHost::Select(int anchor, int caret) { E.SetSelection(anchor, caret); }

void TAdvEdit::TInputHost::ReplaceRange(int start, int end, const String& text) { E.ReplaceRange(start, end, text, false); }

void TAdvEdit::TInputHost::SetWholeText(const String& text) { E.SetControlText(text); }

bool TAdvEdit::TInputHost::NativeModified() { return E.Perform(EM_GETMODIFY, 0, 0) != 0; }

bool TAdvEdit::TInputHost::HasWindow() const { return E.HandleAllocated(); }

String TAdvEdit::TInputHost::Value() const { return E.Text(); }

void TAdvEdit::TInputHost::SetValue(const String& value) { E.SetText(value); }

double TAdvEdit::TInputHost::FloatValue() { return E.FloatValue(); }

void TAdvEdit::TInputHost::SetFloatValue(double value) { E.SetFloatValue(value); }

void TAdvEdit::TInputHost::SelectValue() { E.SelectAll(); }

bool TAdvEdit::TInputHost::Modified() const { return E.FModified; }

void TAdvEdit::TInputHost::SetModified(bool value) { E.SetModified(value); }

String TAdvEdit::TInputHost::MixedCase(const String& value) { return advedit::MixedCaseText(value); }

styled::TTypedSettings TAdvEdit::TInputHost::Settings() const {
    styled::TTypedSettings s;
    s.EditType = E.FEditType;
    s.Precision = E.FPrecision;
    s.Prefix = E.FPrefix;
    s.Suffix = E.FSuffix;
    s.LengthLimit = E.FLengthLimit;
    s.Signed = E.FSigned;
    s.ExcelStyleDecimalSeparator = E.FExcelStyleDecimalSeparator;
    s.AllowNumericNullValue = E.FAllowNumericNullValue;
    s.AutoThousandSeparator = E.FAutoThousandSeparator;
    s.ValidChars = E.FValidChars;
    s.CanUndo = E.FCanUndo;
    s.ReturnIsTab = E.FReturnIsTab;
    s.DefaultHandling = E.FDefaultHandling;
    s.TabOnFullLength = E.FTabOnFullLength;
    s.MaxLength = E.MaxLength();
    s.ReadOnly = E.ReadOnly();
    return s;
}

void TAdvEdit::TInputHost::PassChar(TMessage& Message) { E.TCustomEdit::WMChar(Message); }

void TAdvEdit::TInputHost::DefaultChar(TMessage& Message) { E.DefaultHandler(Message); }

void TAdvEdit::TInputHost::PassKeyDown(TMessage& Message) { E.TCustomEdit::WMKeyDown(Message); }

void TAdvEdit::TInputHost::PassClipboard(TMessage& Message) { E.TCustomEdit::Dispatch(Message); }

void TAdvEdit::TInputHost::PassSpecialKey(TMessage& Message) { E.TCustomEdit::Dispatch(Message); }

bool TAdvEdit::TInputHost::HasParent() const { return E.Parent() != nullptr; }

void TAdvEdit::TInputHost::PostToParent(UINT msg, WORD key) { E.PostKey(msg, key); }

int TAdvEdit::TInputHost::FormKeyPreview() const {
    TCustomForm* form = GetParentForm(&E);
    return form ? form->KeyPreview() : -1;
}

bool TAdvEdit::TInputHost::ParentFocused() const { return Screen->ActiveControl() == E.Parent(); }

void TAdvEdit::TInputHost::NextControl(bool previous) {
    if (TCustomForm* form = GetParentForm(&E)) form->Perform(WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

void TAdvEdit::TInputHost::RaiseChange() { E.Change(); }

void TAdvEdit::TInputHost::KeyPressEvent(char16_t Key) {
    if (E.OnKeyPress) E.OnKeyPress(&E, Key);
}

bool TAdvEdit::TInputHost::ClipboardEvent(styled::TClipboardAction action, const String& value) {
    bool allow = true;
    const TClipboardEvent& event = action == styled::TClipboardAction::Copy  ? E.OnClipboardCopy
                                   : action == styled::TClipboardAction::Cut ? E.OnClipboardCut
                                                                             : E.OnClipboardPaste;
    if (event) event(&E, value, allow);
    return allow;
}

// Up and Down never reach the native edit: they move in the shown list, or go to OnKeyDown
// alone. Enter takes the list's choice; Home, End and the page keys move in it.
bool TAdvEdit::TInputHost::LookupKeyDown(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    const bool shown = E.LookupShown();
    if ((key == VK_UP || key == VK_DOWN) && !shown) {
        if (E.OnKeyDown) E.OnKeyDown(&E, key, KeyboardShiftState());
        Message.Result = 1;
        return true;
    }
    if (!shown) return false;
    switch (key) {
        case VK_RETURN: E.SelectLookupItem(); return true;
        case VK_HOME:
        case VK_END:
        case VK_NEXT:
        case VK_PRIOR:
            E.LookupKey(key);
            Message.Result = 1;
            return true;
        case VK_UP:
        case VK_DOWN:
            E.LookupKey(key);
            Message.WParam = 0;
            return false;
        default: return false;
    }
}

void TAdvEdit::TInputHost::RefreshLookup() { E.UpdateLookupList(); }

void TAdvEdit::TInputHost::BackspaceAtPrefix() {
    if (E.OnKeyDown) {
        WORD k = VK_BACK;
        E.OnKeyDown(&E, k, TShiftState());
    }
}

void TAdvEdit::TInputHost::EscapeUndo() {
    E.SetText(E.FUndoText);
    if (E.FFocusFontColor != clNone) E.Font()->SetColor(E.FFocusFontColor);
}
