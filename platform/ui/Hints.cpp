// The application's hints: which control's hint shows, when, where and in what window, on the
// process clock (timers of a window of their own).
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

namespace {

// Below the pointer: the height of the arrow the pointer shows.
constexpr int kCursorHeight = 20;
constexpr UINT_PTR kShowTimer = 1, kHideTimer = 2, kReshowTimer = 3;

struct HintState {
    HWND timers = nullptr;
    TControl* control = nullptr;   // the control the pointer rests on, whose hint is wanted
    THintWindow* window = nullptr;
    THintWindowClass windowClass = nullptr;
    THintWindowClass appClass = nullptr;  // nullptr: THintWindow
    bool showing = false;
    TRect cursorRect;              // screen coordinates
};
HintState gHint;

void KillTimers() {
    if (!gHint.timers) return;
    for (UINT_PTR id : {kShowTimer, kHideTimer, kReshowTimer}) KillTimer(gHint.timers, id);
}

void SetHintTimer(UINT_PTR id, int ms);

// The control whose hint the pointer asks for: the control under it, or the nearest parent
// whose ShowHint is on.
TControl* HintControlOf(TControl* c) {
    while (c && !c->ShowHint()) c = c->Parent();
    return c;
}

void HideWindow() {
    if (gHint.window && gHint.window->Visible()) gHint.window->SetVisible(false);
    gHint.showing = false;
}

}  // namespace

namespace ui::detail {
void HintControlGone(TControl* control) {
    if (gHint.control == control) {
        KillTimers();
        HideWindow();
        gHint.control = nullptr;
    }
    if (gHint.window == control) {
        gHint.window = nullptr;
        gHint.windowClass = nullptr;
        gHint.showing = false;
    }
}
}  // namespace ui::detail

namespace {

void OnHintTimer(UINT_PTR id) {
    KillTimer(gHint.timers, id);
    switch (id) {
        case kShowTimer:
        case kReshowTimer: {
            TPoint p;
            GetCursorPos(&p);
            Application->ActivateHint(p);
            break;
        }
        case kHideTimer: Application->HideHint(); break;
        default: break;
    }
}

void SetHintTimer(UINT_PTR id, int ms) {
    if (!gHint.timers) {
        gHint.timers = AllocateHWnd([](TMessage& m) {
            if (m.Msg == WM_TIMER) {
                try {
                    OnHintTimer(static_cast<UINT_PTR>(m.WParam));
                } catch (...) {
                    Application->HandleException(Application);
                }
            }
        });
    }
    SetTimer(gHint.timers, id, static_cast<UINT>(std::max(ms, 1)), nullptr);
}

}  // namespace

THintWindowClass TApplication::HintWindowClass() const {
    return gHint.appClass ? gHint.appClass : HintWindowClassOf<THintWindow>();
}

void TApplication::SetHintWindowClass(THintWindowClass value) { gHint.appClass = value; }

void TApplication::HintMouseMessage(TControl* Control, UINT Msg, const TPoint& ScreenPos) {
    switch (Msg) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            CancelHint();
            return;
        case WM_MOUSEMOVE: break;
        default: return;
    }
    // A hint window is no place of its own: the pointer passing over one changes nothing.
    if (Control && dynamic_cast<THintWindow*>(ui::TopLevelWindow(Control))) return;
    TControl* c = FShowHint ? HintControlOf(Control) : nullptr;
    if (c != gHint.control) {
        // Between neighbouring controls a hint that showed comes again after the short pause.
        bool wasShowing = gHint.showing;
        KillTimers();
        HideWindow();
        gHint.control = c;
        if (c) SetHintTimer(kShowTimer, wasShowing ? FHintShortPause : FHintPause);
    } else if (gHint.showing && !gHint.cursorRect.Contains(ScreenPos)) {
        KillTimers();
        HideWindow();
        SetHintTimer(kShowTimer, FHintShortPause);
    }
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
    TControl* control = gHint.control;
    if (!control) return;
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass();
    info.HintPos = TPoint(CursorPos.X, CursorPos.Y + kCursorHeight);
    info.HintMaxWidth = Screen->Width();
    info.HintColor = FHintColor;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(CursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(control->Hint());
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (gHint.control != control) return;  // the handler freed or left the control
    if (OnShowHint) OnShowHint(info.HintStr, canShow, info);
    KillTimers();
    if (!canShow || info.HintStr.empty() || !info.HintWindowClass) {
        HideWindow();
        return;
    }
    if (!gHint.window || gHint.windowClass != info.HintWindowClass) {
        if (gHint.window) gHint.window->Free();
        gHint.window = info.HintWindowClass(this);
        gHint.windowClass = info.HintWindowClass;
    }
    THintWindow* w = gHint.window;
    w->SetColor(info.HintColor);
    TRect r = w->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r = OffsetRectBy(r, info.HintPos.X - r.Left, info.HintPos.Y - r.Top);
    w->ActivateHintData(r, info.HintStr, info.HintData);
    gHint.showing = true;
    // The cursor rectangle is the hint control's, which the handler may have named.
    TControl* hintControl = info.HintControl ? info.HintControl : control;
    TPoint origin = hintControl->ClientToScreen(TPoint(0, 0));
    gHint.cursorRect = OffsetRectBy(info.CursorRect, origin.X, origin.Y);
    if (info.HideTimeout > 0) SetHintTimer(kHideTimer, info.HideTimeout);
    if (info.ReshowTimeout > 0) SetHintTimer(kReshowTimer, info.ReshowTimeout);
}

void TApplication::HideHint() {
    KillTimers();
    HideWindow();
}

void TApplication::CancelHint() {
    HideHint();
    gHint.control = nullptr;
}
