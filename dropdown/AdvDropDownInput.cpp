// The drop-down edit's mouse and keys: clicks and the wheel on the edit, the keys that open and
// close the pop-up, focus in and out, the clipboard, and the edit as the host of the styled
// edits' typed input engine, which holds the rules of the edit types, the prefix and suffix keys,
// the clipboard and Esc.
#include "dropdown/AdvDropDown.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/NativeCtrls.h"
#include "render/VarAvir.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// The mouse

void TAdvCustomDropDown::GuardedOpen() {
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->Visible()) return;
    // The click that took the activation from the pop-up closed it; it does not open it again.
    if (FDropDownForm->Deactivated() && GetTickCount() - FDropDownForm->DeActivateTime() <= ReopenGuardMs) return;
    OpenPopup();
}

int TAdvCustomDropDown::CharFromPoint(LPARAM point) {
    const LRESULT r = Perform(EM_CHARFROMPOS, 0, point);
    return r < 0 ? -1 : LOWORD(static_cast<DWORD>(r));
}

void TAdvCustomDropDown::WMLButtonDown(TMessage& Message) {
    // A press inside the selection keeps it; the release puts the caret at the pointer.
    if (FEditorEnabled && Focused() && SelLength() > 0) {
        const int at = CharFromPoint(Message.LParam);
        if (at >= SelStart() && at < SelStart() + SelLength()) {
            FButtonDown = true;
            return;
        }
    }
    TCustomMaskEdit::WMLButtonDown(Message);
    if (!FEditorEnabled) GuardedOpen();
}

void TAdvCustomDropDown::WMLButtonUp(TMessage& Message) {
    if (FButtonDown) {
        FButtonDown = false;
        const int at = CharFromPoint(Message.LParam);
        if (at >= 0) SetSelection(at, at);
    }
    TCustomMaskEdit::WMLButtonUp(Message);
    if (FEditorEnabled) FInput.Released();
    if (!FEditorEnabled || ReadOnly()) PaintReadOnlyFocus();
}

bool TAdvCustomDropDown::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (WheelDelta < 0) WheelSelectNext();
    else if (WheelDelta > 0) WheelSelectPrevious();
    return false;
}

// ---------------------------------------------------------------------------------------------
// Keys

void TAdvCustomDropDown::TogglePopup() {
    if (FDroppedDown) ClosePopup(false);
    else OpenPopup();
}

namespace {

bool AltUpOrDown(WORD key, bool alt) { return alt && (key == VK_UP || key == VK_DOWN); }

}  // namespace

void TAdvCustomDropDown::HandleKeyDown(WORD& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (AltUpOrDown(Key, Shift.Contains(ssAlt))) TogglePopup();
}

void TAdvCustomDropDown::HandleKeyPress(char16_t& Key) {
    TCustomMaskEdit::KeyPress(Key);
    if (Key == u'\r') Key = 0;
}

void TAdvCustomDropDown::HandleKeyUp(WORD& Key, TShiftState Shift) { TCustomMaskEdit::KeyUp(Key, Shift); }

void TAdvCustomDropDown::Change() {
    if (FInput.ChangeNotice()) HandleChange();
}

void TAdvCustomDropDown::HandleChange() { TCustomMaskEdit::Change(); }

void TAdvCustomDropDown::KeyDownMessage(TMessage& Message) {
    if (ComponentState().Contains(csDesigning)) return;
    const WORD key = static_cast<WORD>(Message.WParam);
    // Alt+Up and Alt+Down toggle once: the key-down hook must not toggle the pop-up back.
    if (AltUpOrDown(key, GetKeyState(VK_MENU) < 0)) {
        TogglePopup();
        return;
    }
    auto popupKeys = [this](WORD k) {
        switch (k) {
            case VK_RETURN: ClosePopup(false); break;
            case VK_ESCAPE: ClosePopup(true); break;
            case VK_F4: TogglePopup(); break;
            default: break;
        }
    };
    if (!FEditorEnabled && Enabled()) {
        if (!ReadOnly()) popupKeys(key);
        if (key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::WMKeyDown(Message);
        return;
    }
    // The typed input's keys (Ctrl+Tab and Ctrl+Enter end there), then the pop-up's.
    if (FInput.KeyDown(Message)) popupKeys(static_cast<WORD>(Message.WParam));
}

void TAdvCustomDropDown::CharMessage(TMessage& Message) {
    if (!FEditorEnabled) return;
    FInput.TypedChar(Message);
}

void TAdvCustomDropDown::SetFocusMessage(TMessage& Message) {
    if (ComponentState().Contains(csLoading)) return;
    TCustomMaskEdit::WMSetFocus(Message);
    if (!FEditorEnabled) {
        Invalidate();
        return;
    }
    FOldString = Text();
    if (AutoSelect()) SelectAll();
    else if (FEditType == etFloat || FEditType == etMoney) SelectBeforeDecimal();
}

void TAdvCustomDropDown::WantSpecialKeyMessage(TMessage& Message) {
    if (!GetParentForm(this)) return;
    FInput.SpecialKey(Message);
    if (Message.WParam == VK_ESCAPE && FDroppedDown) Message.Result = 1;
}

// Entering by the keyboard selects the value (a press of the mouse places the caret itself).
void TAdvCustomDropDown::CMEnter(TMessage& Message) {
    TCustomMaskEdit::CMEnter(Message);
    if (HandleAllocated()) UpdateEditRect();
    InvalidateFrame();
    if (!ComponentState().Contains(csLoading) && FEditorEnabled && AutoSelect() && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
}

void TAdvCustomDropDown::CMExit(TMessage& Message) {
    if (!ComponentState().Contains(csLoading)) FInput.CompleteNumber();
    TCustomMaskEdit::CMExit(Message);
    InvalidateFrame();
}

// The untypeable edit's focus box goes with the focus, also to a window of another form (its
// own pop-up), where the form's active control does not change.
void TAdvCustomDropDown::WMKillFocus(TMessage& Message) {
    TCustomMaskEdit::WMKillFocus(Message);
    if (!FEditorEnabled) Invalidate();
}

// ---------------------------------------------------------------------------------------------
// The clipboard

void TAdvCustomDropDown::WMPaste(TMessage&) {
    if (FEditorEnabled) FInput.Paste();
}

void TAdvCustomDropDown::WMCopy(TMessage& Message) { FInput.Copy(Message); }

void TAdvCustomDropDown::WMCut(TMessage& Message) {
    if (FEditorEnabled && !ReadOnly()) FInput.Cut(Message);
}

// The native multi-line edit's answer: it wants characters, arrows and every key, Enter and
// Esc included, which the pop-up's keys need.
void TAdvCustomDropDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS; return;
        case CM_WANTSPECIALKEY: WantSpecialKeyMessage(Message); return;
        case WM_PASTE: WMPaste(Message); return;  // the native edit never sees it
        case WM_COPY: WMCopy(Message); return;
        case WM_CUT: WMCut(Message); return;
        case EM_SETREADONLY:
            TCustomMaskEdit::Dispatch(Message);
            if (FButton) FButton->Button()->Invalidate();
            return;
        default: TCustomMaskEdit::Dispatch(Message); return;
    }
}

// ---------------------------------------------------------------------------------------------
// The pop-up's and its control's keys go to the edit

void TAdvCustomDropDown::PopupKeyPress(TObject*, char16_t& Key) { SendMessage(Handle(), WM_CHAR, Key, 0); }

void TAdvCustomDropDown::PopupKeyDown(TObject*, WORD& Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }

void TAdvCustomDropDown::PopupKeyUp(TObject*, WORD& Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }

void TAdvCustomDropDown::ControlKeyDown(TObject*, WORD& Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }

void TAdvCustomDropDown::ControlKeyUp(TObject*, WORD& Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }

void TAdvCustomDropDown::ControlKeyPress(TObject*, char16_t& Key) { SendMessage(Handle(), WM_CHAR, Key, 0); }

void TAdvCustomDropDown::PopupWheelDown(TObject*, TShiftState, TPoint, bool&) { WheelSelectNext(); }

void TAdvCustomDropDown::PopupWheelUp(TObject*, TShiftState, TPoint, bool&) { WheelSelectPrevious(); }

// ---------------------------------------------------------------------------------------------
// The typed input engine's host: the rules read and write the edit through it. Where the
// drop-down reads them otherwise than the styled edit: every type swallows the change of a
// character typed over the whole value, Backspace is plain, hex pastes nothing, an empty number
// becomes "0" on leaving, a release in the prefix selects the value, mixed case is
// CapitalizeWords, Enter as Tab posts Tab to the edit, and Esc's undo restores no text.

void TAdvCustomDropDown::TInputHost::SetWholeText(const String& text) { FEdit.SetPlainText(text); }

bool TAdvCustomDropDown::TInputHost::NativeModified() { return FEdit.Modified(); }

double TAdvCustomDropDown::TInputHost::FloatValue() { return FEdit.GetFloatValue(); }

void TAdvCustomDropDown::TInputHost::SetFloatValue(double value) { FEdit.SetFloatValue(value); }

bool TAdvCustomDropDown::TInputHost::Modified() const { return FEdit.Modified(); }

void TAdvCustomDropDown::TInputHost::SetModified(bool value) { FEdit.SetModifiedFlag(value); }

String TAdvCustomDropDown::TInputHost::MixedCase(const String& value) { return CapitalizeWords(value); }

styled::TTypedDialect TAdvCustomDropDown::TInputHost::Dialect() const {
    styled::TTypedDialect d;
    d.SwallowOverPassword = true;
    d.PlainBackspace = true;
    d.PastesHex = false;
    d.ZeroForEmptyNumeric = true;
    d.ReleaseSelectsValue = true;
    return d;
}

// The Tab goes to the edit as a posted key, where the form's Tab handling takes it.
void TAdvCustomDropDown::TInputHost::ReturnAsTab() {
    if (FEdit.HandleAllocated() && FEdit.Visible()) PostMessage(FEdit.Handle(), WM_KEYDOWN, VK_TAB, 0);
}
