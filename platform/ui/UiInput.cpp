// Input and paint requests from the backend, turned into the messages of the controls.
#include "platform/ui/Backend.h"
#include "platform/ui/Forms.h"
#include "platform/ui/InputGrab.h"

namespace ui::detail {
bool InputAllowed(TCustomForm* form);
}

namespace {

TCustomForm* FormOf(TWinControl* w) {
    TCustomForm* form = GetParentForm(w);
    return form ? form : dynamic_cast<TCustomForm*>(w);
}

// A disabled form, or one behind a modal form, takes no input.
bool Accepts(TWinControl* w) {
    TCustomForm* form = FormOf(w);
    if (!form) return w->Enabled();
    return form->Enabled() && ui::detail::InputAllowed(form);
}

TWinControl* KeyTarget(TWinControl* w) {
    TCustomForm* form = FormOf(w);
    if (!form) return w;
    return form->ActiveControl() ? form->ActiveControl() : form;
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
    if (!Accepts(target)) return;
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
        // A captured control keeps the messages but not the pointer: once it moves off the
        // control, the control is left (and entered again when it comes back).
        Application->SetMouseControl(dest->ClientRect().Contains(Point(x, y)) ? dest : nullptr);
        dest->Perform(msg, keys, PointToLParam(x, y));
    } catch (...) {
        Application->HandleException(dest);
    }
}

void UiInput::MouseWheel(TWinControl* target, int delta, int x, int y, WPARAM keys) {
    if (!Accepts(target)) return;
    TWinControl* dest = KeyTarget(target);  // the wheel goes to the focused control first
    TPoint origin = target->WindowOrigin();
    TPoint screen(x + origin.X, y + origin.Y);
    try {
        dest->Perform(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<int16_t>(delta))),
                      PointToLParam(screen.X, screen.Y));
    } catch (...) {
        Application->HandleException(dest);
    }
}

void UiInput::MouseLeave(TWinControl* target) {
    TControl* mc = Application->MouseControl();
    if (mc && (mc == target || target->ContainsControl(mc))) Application->SetMouseControl(nullptr);
}

bool UiInput::Key(TWinControl* window, bool down, WORD vk, bool alt, LPARAM keyData) {
    if (ui::InputGrab* grab = ui::CurrentInputGrab()) {
        grab->Key(down, vk);
        return true;
    }
    if (!Accepts(window)) return true;
    TWinControl* target = KeyTarget(window);
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
    TCustomForm* form = FormOf(target);
    if (!active || !form || !form->Visible() || !ui::detail::InputAllowed(form)) return;
    Screen->SetActiveForm(form, true);
}
