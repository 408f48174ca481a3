// The mouse capture on window handles, the Mouse object and the control under a screen point.
#include "platform/ui/Controls.h"
#include "platform/ui/WinUser.h"

namespace {

// The window a control's mouse messages arrive at: its own, or its parent's for a graphic control.
TWinControl* WindowOf(TControl* c) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w;
    return c ? c->Parent() : nullptr;
}

TMouse gMouse;

}  // namespace

TMouse* const Mouse = &gMouse;

HWND GetCapture() {
    TWinControl* w = WindowOf(GetCaptureControl());
    return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

HWND SetCapture(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    if (!w || !w->HandleAllocated()) return nullptr;
    HWND previous = GetCapture();
    SetCaptureControl(w);
    return previous;
}

BOOL ReleaseCapture() {
    SetCaptureControl(nullptr);
    return TRUE_;
}

HWND TMouse::Capture() const { return GetCapture(); }

void TMouse::SetCapture(HWND Value) {
    if (Value) ::SetCapture(Value);
    else ReleaseCapture();
}

TPoint TMouse::CursorPos() const {
    TPoint p;
    GetCursorPos(&p);
    return p;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
    TWinControl* w = FindControl(WindowFromPoint(Pos));
    if (!w) return nullptr;
    if (!AllowDisabled && !w->Enabled()) {
        // The disabled window covers the graphic controls of its parents under it.
        while (w && !w->Enabled()) w = w->Parent();
        return w;
    }
    if (TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled)) return c;
    return w;
}
