// Input and paint requests from the backend, turned into the messages of the controls.
#include "platform/ui/UiInput.h"

#include <algorithm>
#include <utility>

#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Imm.h"
#include "platform/ui/InputGrab.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/backend/Backend.h"

namespace ui::detail {
bool InputAllowed(TCustomForm* form);
}

namespace {

TCustomForm* FormOf(TWinControl* w) {
    TCustomForm* form = GetParentForm(w);
    return form ? form : dynamic_cast<TCustomForm*>(w);
}

// A disabled window (or one inside a disabled window), a disabled form, or one behind a modal
// form, takes no input.
bool Accepts(TWinControl* w) {
    if (ui::detail::InputRefused(w)) return false;
    TCustomForm* form = FormOf(w);
    if (!form) return w->Enabled();
    return form->Enabled() && ui::detail::InputAllowed(form);
}

// Scan codes of the platform's keyboard (set 1) by virtual key; extended: the key sits outside
// the original keyboard's block (arrow and editing keys beside the keypad, keypad Enter and /).
struct ScanCode {
    WORD vk;
    uint8_t code;
    bool extended;
};
constexpr ScanCode kScanCodes[] = {
    {VK_ESCAPE, 0x01, false}, {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false},
    {VK_BACK, 0x0E, false},   {VK_TAB, 0x0F, false},       {VK_OEM_4, 0x1A, false},
    {VK_OEM_6, 0x1B, false},  {VK_RETURN, 0x1C, false},    {VK_CONTROL, 0x1D, false},
    {VK_OEM_1, 0x27, false},  {VK_OEM_7, 0x28, false},     {VK_OEM_3, 0x29, false},
    {VK_SHIFT, 0x2A, false},  {VK_OEM_5, 0x2B, false},     {VK_OEM_COMMA, 0x33, false},
    {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false}, {VK_MULTIPLY, 0x37, false},
    {VK_MENU, 0x38, false},   {VK_SPACE, 0x39, false},     {VK_CAPITAL, 0x3A, false},
    {VK_PAUSE, 0x45, false},  {VK_SUBTRACT, 0x4A, false},  {VK_ADD, 0x4E, false},
    {VK_DECIMAL, 0x53, false}, {VK_DIVIDE, 0x35, true},
    {VK_HOME, 0x47, true},    {VK_UP, 0x48, true},         {VK_PRIOR, 0x49, true},
    {VK_LEFT, 0x4B, true},    {VK_RIGHT, 0x4D, true},      {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true},    {VK_NEXT, 0x51, true},       {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true},
};
constexpr uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                     0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr uint8_t kKeypadDigitScan[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

void ScanCodeOf(WORD vk, bool keypad, uint8_t& code, bool& extended) {
    code = 0;
    extended = false;
    if (vk >= 'A' && vk <= 'Z') code = kLetterScan[vk - 'A'];
    else if (vk >= '1' && vk <= '9') code = static_cast<uint8_t>(0x02 + (vk - '1'));
    else if (vk == '0') code = 0x0B;
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) code = kKeypadDigitScan[vk - VK_NUMPAD0];
    else if (vk >= VK_F1 && vk < VK_F1 + 10) code = static_cast<uint8_t>(0x3B + (vk - VK_F1));
    else if (vk == VK_F1 + 10) code = 0x57;
    else if (vk == VK_F1 + 11) code = 0x58;
    else
        for (const auto& s : kScanCodes)
            if (s.vk == vk) {
                code = s.code;
                extended = s.extended;
                break;
            }
    // The editing keys of the keypad (Num Lock off) are the same keys without the extension;
    // the keypad's Enter is Enter with it.
    if (keypad && vk >= VK_PRIOR && vk <= VK_DELETE) extended = false;
    if (keypad && vk == VK_RETURN) extended = true;
}

TWinControl* KeyTarget(TWinControl* w) {
    // Keys that arrive at a pop-up go to the focus: a window inside it, or wherever the focus
    // stayed when the desktop gave the pop-up its keys without the program activating it.
    TWinControl* top = ui::TopLevelWindow(w);
    TWinControl* focus = ui::FocusedWindow();
    if (top && !dynamic_cast<TCustomForm*>(top) && focus) return focus;
    TCustomForm* form = FormOf(w);
    if (!form) return w;
    return form->ActiveControl() ? form->ActiveControl() : form;
}

// The pointer's look is asked of the window under it on each move and press.
bool AsksCursor(UINT msg) {
    switch (msg) {
        case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return true;
        default: return false;
    }
}

void SendSetCursor(TWinControl* w, LRESULT hit, UINT msg) {
    HWND window = w->Handle();
    ui::detail::SetCursorWindow(window);
    w->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
               MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(hit)), static_cast<WORD>(msg)));
}

// A point of the window (its frame included) on the screen.
TPoint ScreenPointOf(TWinControl* w, int x, int y) {
    TRect area = w->ClientArea();
    return w->ClientToScreen(Point(x - area.Left, y - area.Top));
}

}  // namespace

void UiInput::Mouse(TWinControl* target, UINT msg, int x, int y, WPARAM keys) {
    TPoint pointer = ScreenPointOf(target, x, y);
    ui::detail::NoteCursorPos(pointer);
    if (ui::InputGrab* grab = ui::CurrentInputGrab()) {
        grab->Mouse(msg, pointer, static_cast<DWORD>(keys));
        return;
    }
    // While a window has the mouse captured, the mouse is its own wherever the pointer is, also
    // over another of the program's windows.
    if (TWinControl* holder = FindControl(GetCapture()); holder && holder != target) {
        TPoint origin = holder->WindowOrigin();
        target = holder;
        x = pointer.X - origin.X;
        y = pointer.Y - origin.Y;
    } else if (ui::detail::PassesMouse(target, pointer)) {
        // Outside its region, or transparent to input: the window beneath takes the mouse.
        TWinControl* beneath = ui::detail::MouseWindowAt(pointer, false);
        if (!beneath || beneath == target) return;
        TPoint origin = beneath->WindowOrigin();
        target = beneath;
        x = pointer.X - origin.X;
        y = pointer.Y - origin.Y;
    }
    if (!Accepts(target)) return;
    // A press on an inactive window of the program activates it first, unless it answers not to.
    try {
        if (ui::detail::PressActivates(target, msg)) return;
    } catch (...) {
        Application->HandleException(target);
        return;
    }
    if (target->FTrack.Bar >= 0) {
        // A scroll bar of the frame follows the mouse until the button comes up.
        try {
            target->TrackScrollBar(msg, Point(x, y));
        } catch (...) {
            Application->HandleException(target);
        }
        return;
    }
    TControl* cap = GetCaptureControl();
    TRect area = target->ClientArea();
    bool captured = cap && (cap == target || cap->Parent() == target);
    if (!captured && Rect(0, 0, target->Width(), target->Height()).Contains(Point(x, y))) {
        // The window says which part of it the point is in; outside the client area the frame
        // takes the non-client message.
        TPoint origin = target->WindowOrigin();
        LPARAM screen = PointToLParam(x + origin.X, y + origin.Y);
        try {
            LRESULT hit = target->Perform(WM_NCHITTEST, 0, screen);
            if (hit != HTCLIENT) {
                UINT nc = 0;
                switch (msg) {
                    case WM_MOUSEMOVE: nc = WM_NCMOUSEMOVE; break;
                    case WM_LBUTTONDOWN: nc = WM_NCLBUTTONDOWN; break;
                    case WM_LBUTTONUP: nc = WM_NCLBUTTONUP; break;
                    case WM_LBUTTONDBLCLK: nc = WM_NCLBUTTONDBLCLK; break;
                    case WM_RBUTTONDOWN: nc = WM_NCRBUTTONDOWN; break;
                    case WM_RBUTTONUP: nc = WM_NCRBUTTONUP; break;
                    default: break;
                }
                if (!cap && AsksCursor(msg)) SendSetCursor(target, hit, msg);
                if (nc) target->Perform(nc, static_cast<WPARAM>(hit), screen);
                return;
            }
        } catch (...) {
            Application->HandleException(target);
            return;
        }
    }
    x -= area.Left;
    y -= area.Top;
    TPoint client(x, y);
    TControl* dest = target;
    if (cap && cap != target && cap->Parent() == target && !dynamic_cast<TWinControl*>(cap)) {
        dest = cap;
    } else if (!cap || cap == target) {
        if (TControl* c = target->ControlAtPos(Point(x, y), false)) dest = c;
    }
    try {
        if (dest != target) {
            x -= dest->Left();
            y -= dest->Top();
        }
        // The window under an uncaptured pointer chooses the pointer for the place, before the
        // mouse message itself, as on the platform.
        if (!cap && AsksCursor(msg)) SendSetCursor(target, HTCLIENT, msg);
        // A captured control keeps the messages but not the pointer: once it moves off the
        // control, the control is left (and entered again when it comes back).
        Application->SetMouseControl(dest->ClientRect().Contains(Point(x, y)) ? dest : nullptr);
        Application->HintMouseMessage(dest, msg, pointer);
        ui::detail::RelayToolMouse(target, msg, client);
        dest->Perform(msg, keys, PointToLParam(x, y));
    } catch (...) {
        Application->HandleException(dest);
    }
}

void UiInput::MouseWheel(TWinControl* target, int delta, int x, int y, WPARAM keys) {
    TPoint origin = target->WindowOrigin();
    TPoint screen(x + origin.X, y + origin.Y);
    if (ui::detail::PassesMouse(target, screen)) {
        TWinControl* beneath = ui::detail::MouseWindowAt(screen, false);
        if (!beneath || beneath == target) return;
        target = beneath;
    }
    if (!Accepts(target)) return;
    TWinControl* dest = KeyTarget(target);  // the wheel goes to the focused control first
    try {
        dest->Perform(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<int16_t>(delta))),
                      PointToLParam(screen.X, screen.Y));
    } catch (...) {
        Application->HandleException(dest);
    }
}

void UiInput::MouseLeave(TWinControl* target) {
    TControl* mc = Application->MouseControl();
    if (mc && (mc == target || target->ContainsControl(mc))) {
        Application->SetMouseControl(nullptr);
        Application->HintMouseMessage(nullptr, WM_MOUSEMOVE, TPoint());
    }
    ui::detail::RelayToolMouse(target, WM_MOUSEMOVE, TPoint(), true);
}

bool UiInput::Key(TWinControl* window, bool down, WORD vk, bool alt, LPARAM keyData) {
    if (ui::InputGrab* grab = ui::CurrentInputGrab()) {
        grab->Key(down, vk);
        return true;
    }
    if (!Accepts(window)) return true;
    TWinControl* target = KeyTarget(window);
    if (down) {
        Application->CancelHint();
        ui::detail::HideEditBalloon();
    }
    try {
        if (down) {
            // Shortcuts and dialog keys first; a key they take is not translated into characters.
            if (target->Perform(alt ? CN_SYSKEYDOWN : CN_KEYDOWN, vk, keyData) != 0) return true;
            target->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyData);
        } else {
            target->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, vk, keyData);
        }
    } catch (...) {
        Application->HandleException(target);
    }
    return false;
}

void UiInput::Char(TWinControl* window, char16_t ch, bool alt, LPARAM keyData) {
    if (!Accepts(window) || ui::CurrentInputGrab()) return;
    TWinControl* target = KeyTarget(window);
    try {
        if (alt) {
            target->Perform(WM_SYSCHAR, ch, keyData);
            return;
        }
        if (target->Perform(CN_CHAR, ch, keyData) != 0) return;
        target->Perform(WM_CHAR, ch, keyData);
    } catch (...) {
        Application->HandleException(target);
    }
}

void UiInput::Composition(TWinControl* window, const String& composing, int cursor, const String& commit) {
    if (!Accepts(window) || ui::CurrentInputGrab()) return;
    TWinControl* target = KeyTarget(window);
    HWND hwnd = target->Handle();
    // A handler may free the window (a typed character that closes its form): nothing more
    // goes to it then.
    auto gone = [&] { return FindControl(hwnd) != target; };
    ui::detail::Composition& c = ui::detail::CurrentComposition();
    try {
        // The focus moved while composing: the old window's composition ends first.
        if (c.active && c.window != hwnd) {
            TWinControl* old = FindControl(c.window);
            c = ui::detail::Composition();
            if (old) old->Perform(WM_IME_ENDCOMPOSITION, 0, 0);
            if (gone()) return;
        }
        if (!c.active && (!composing.empty() || !commit.empty())) {
            c = ui::detail::Composition();
            c.window = hwnd;
            c.active = true;
            target->Perform(WM_IME_STARTCOMPOSITION, 0, 0);
            if (gone()) return;
        }
        if (!c.active) return;
        if (!commit.empty()) {
            // The text typed, then (below) what is still being composed.
            c.composing.clear();
            c.cursor = 0;
            c.result = commit;
            struct Clear {
                ui::detail::Composition& c;
                ~Clear() { c.result.clear(); }
            } clear{c};
            target->Perform(WM_IME_COMPOSITION, commit.back(), GCS_RESULTSTR);
            if (gone()) return;
        }
        if (!composing.empty() || commit.empty()) {
            c.composing = composing;
            c.cursor = std::clamp(cursor, 0, static_cast<int>(composing.size()));
            target->Perform(WM_IME_COMPOSITION, composing.empty() ? 0 : composing.back(), GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
            if (gone()) return;
        }
        if (composing.empty()) {
            c = ui::detail::Composition();
            target->Perform(WM_IME_ENDCOMPOSITION, 0, 0);
        }
    } catch (...) {
        Application->HandleException(gone() ? nullptr : target);
    }
}

void UiInput::Paint(TWinControl* target) {
    try {
        target->PaintPending();
    } catch (...) {
        Application->HandleException(target);
    }
}

void UiInput::Resized(TWinControl* target, int width, int height) {
    if (width == target->Width() && height == target->Height()) return;
    try {
        target->SetBounds(target->Left(), target->Top(), width, height);
    } catch (...) {
        Application->HandleException(target);
    }
}

void UiInput::CloseRequest(TWinControl* target) {
    try {
        target->Perform(WM_CLOSE, 0, 0);
    } catch (...) {
        Application->HandleException(target);
    }
}

void UiInput::MenuBarChanged(TCustomForm* form, int height) {
    try {
        form->SetMenuBarHeight(height);
    } catch (...) {
        Application->HandleException(form);
    }
}

void UiInput::Activated(TWinControl* target, bool active) {
    // Pop-ups take the activation through the program's calls and presses only: a desktop that
    // activates a window as it shows it (a hint) is not followed.
    auto* form = dynamic_cast<TCustomForm*>(ui::TopLevelWindow(target));
    // A disabled window cannot be activated: the desktop's report is not followed.
    if (!active || !form || !form->Visible() || !ui::detail::InputAllowed(form) || ui::detail::WindowDisabled(form)) return;
    Screen->SetActiveForm(form, true);
}

namespace {
TWinControl* gActiveBeforeLeaving = nullptr;  // the active window when another program took over
}

void UiInput::ApplicationActivated(bool active) {
    try {
        if (active) {
            // Back from another program: the window that was active takes the activation again.
            // Back from another program: the window that was active takes the activation again,
            // or, gone meanwhile, its owner or the newest shown form.
            TWinControl* back = std::exchange(gActiveBeforeLeaving, nullptr);
            if (ui::ActiveWindow() || !back || !ui::detail::IsLiveWindow(back)) return;
            while (back && !back->Showing()) back = ui::WindowOwner(back);
            for (int i = Screen->FormCount() - 1; i >= 0 && !back; --i)
                if (Screen->Forms(i)->Showing()) back = Screen->Forms(i);
            if (back) ui::ActivateWindow(back, WA_ACTIVE, true);
            return;
        }
        ui::SendCancelMode();
        // Another program has the activation: the program's active window loses it to no
        // window of the program (WM_ACTIVATE with LParam 0).
        if (TWinControl* w = ui::ActiveWindow()) {
            gActiveBeforeLeaving = w;
            ui::ActivateWindow(nullptr, WA_ACTIVE, true);
        }
    } catch (...) {
        Application->HandleException(Screen->ActiveControl());
    }
}

String ui::TypedChars(WORD vk, const String& text, bool ctrl, bool alt) {
    if (!ctrl || alt) return text;
    if (vk >= 'A' && vk <= 'Z') return String(static_cast<char16_t>(vk - 'A' + 1));
    String out;
    for (char16_t c : text)
        if (c < 0x20) out.push_back(c);
    return out;
}

LPARAM ui::KeyData(WORD vk, bool keypad, int repeat, bool alt, bool down, bool autoRepeat, uint8_t scanCode) {
    uint8_t code;
    bool extended;
    ScanCodeOf(vk, keypad, code, extended);
    if (scanCode && !extended) code = scanCode;
    uint32_t data = static_cast<uint32_t>(repeat) & 0xFFFF;
    data |= static_cast<uint32_t>(code) << 16;
    if (extended) data |= 1u << 24;
    if (alt) data |= 1u << 29;
    if (!down || autoRepeat) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    return static_cast<LPARAM>(data);
}
