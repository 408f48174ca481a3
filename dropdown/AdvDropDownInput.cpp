// The drop-down edit's mouse and keys: clicks and the wheel on the edit, the keys that open and
// close the pop-up, and the hooks of the typed input. The typed input's own rules (edit types,
// prefix and suffix keys, the clipboard, Esc's undo) build on these hooks.
#include "dropdown/AdvDropDown.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// The mouse

void TAdvCustomDropDown::GuardedOpen() {
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->Visible()) return;
    // The click that took the activation from the pop-up closed it; it does not open it again.
    if (FDropDownForm->Deactivated() && GetTickCount() - FDropDownForm->DeActivateTime() <= ReopenGuardMs) return;
    OpenPopup();
}

void TAdvCustomDropDown::WMLButtonDown(TMessage& Message) {
    TCustomMaskEdit::WMLButtonDown(Message);
    if (!FEditorEnabled) GuardedOpen();
}

void TAdvCustomDropDown::WMLButtonUp(TMessage& Message) {
    TCustomMaskEdit::WMLButtonUp(Message);
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

void TAdvCustomDropDown::HandleChange() {
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Change();
}

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
    if (GetKeyState(VK_CONTROL) < 0 && (key == VK_TAB || key == VK_RETURN)) {
        TCustomMaskEdit::WMKeyDown(Message);
        return;
    }
    TCustomMaskEdit::WMKeyDown(Message);
    popupKeys(static_cast<WORD>(Message.WParam));
}

void TAdvCustomDropDown::CharMessage(TMessage& Message) {
    if (!FEditorEnabled) return;
    TCustomMaskEdit::WMChar(Message);
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
    TCustomMaskEdit::Dispatch(Message);
    if (Message.WParam == VK_ESCAPE && FDroppedDown) Message.Result = 1;
}

// The native multi-line edit's answer: it wants characters, arrows and every key, Enter and
// Esc included, which the pop-up's keys need.
void TAdvCustomDropDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS; return;
        case CM_WANTSPECIALKEY: WantSpecialKeyMessage(Message); return;
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
