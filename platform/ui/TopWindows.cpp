// The program's top-level windows: activation, the focus across windows, owners, window classes
// and the user's sizing loop.
#include "platform/ui/TopWindows.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/InputGrab.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/backend/Backend.h"

namespace {

TWinControl* gActive = nullptr;
TWinControl* gFocus = nullptr;
std::map<const TWinControl*, TWinControl*> gOwners;  // owned window -> owner
std::map<String, UINT> gClassStyles;                 // window class -> class style
std::vector<TWinControl*> gTops;                     // top-level windows with a window
std::set<const TWinControl*> gHiddenWithOwner;       // owned windows their owner's hiding took

HWND HandleOf(TWinControl* w) { return w && w->HandleAllocated() ? w->Handle() : nullptr; }
bool IsTop(const TWinControl* w) { return !w->Parent() || w->IsPopup(); }

TWinControl* Live(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    return w && w->HandleAllocated() ? w : nullptr;
}

// A control that a handler of the last message may have freed: the watch forgets it then.
struct Watch;
std::vector<Watch*> gWatches;
struct Watch {
    const TControl* control;
    explicit Watch(const TControl* c) : control(c) { gWatches.push_back(this); }
    ~Watch() { std::erase(gWatches, this); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    bool Alive() const { return control != nullptr; }
};

// The class style reaches every window of the class: the drop shadow is the peer's business.
void ApplyClassStyle(TWinControl* w, UINT style) {
    if (w->Peer()) w->Peer()->SetDropShadow((style & CS_DROPSHADOW) != 0);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Windows, owners and classes

TWinControl* ui::TopLevelWindow(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent())
        if (auto* w = dynamic_cast<const TWinControl*>(c); w && IsTop(w)) return const_cast<TWinControl*>(w);
    return nullptr;
}

TWinControl* ui::WindowOwner(const TWinControl* window) {
    auto it = gOwners.find(window);
    return it == gOwners.end() ? nullptr : it->second;
}

TWinControl* ui::ActiveWindow() { return gActive; }
TWinControl* ui::FocusedWindow() { return gFocus; }

void ui::detail::WindowCreated(TWinControl* window, HWND owner, UINT classStyle) {
    String name = GetClassName(window->Handle());
    auto cls = gClassStyles.try_emplace(name, classStyle).first;
    if (!IsTop(window)) return;
    if (std::find(gTops.begin(), gTops.end(), window) == gTops.end()) gTops.push_back(window);
    TWinControl* o = Live(owner);
    if (o && o != window) gOwners[window] = ui::TopLevelWindow(o);
    else gOwners.erase(window);
    ApplyClassStyle(window, cls->second);
}

void ui::detail::WindowDestroying(TWinControl* window) {
    // Owned windows go with their owner's window, as on the platform; they are made again when
    // next needed.
    std::vector<TWinControl*> owned;
    for (auto& [w, o] : gOwners)
        if (o == window) owned.push_back(const_cast<TWinControl*>(w));
    for (TWinControl* w : owned)
        if (w->HandleAllocated()) ui::detail::DestroyWindowOf(w);
    std::erase(gTops, window);
}

void ui::detail::ControlGone(TControl* control) {
    for (Watch* w : gWatches)
        if (w->control == control) w->control = nullptr;
    if (gActive == control) gActive = nullptr;
    if (gFocus == control) gFocus = nullptr;
    std::erase_if(gTops, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
    std::erase_if(gOwners, [control](const auto& item) { return static_cast<const TControl*>(item.first) == control; });
    std::erase_if(gHiddenWithOwner, [control](const TWinControl* w) { return static_cast<const TControl*>(w) == control; });
    for (auto& item : gOwners)
        if (static_cast<TControl*>(item.second) == control) item.second = nullptr;
}

bool ui::detail::IsLiveWindow(const TWinControl* window) {
    return std::find(gTops.begin(), gTops.end(), window) != gTops.end();
}

std::vector<TWinControl*> ui::detail::TopLevelWindows() { return gTops; }

DWORD GetClassLong(HWND hwnd, int index) {
    TWinControl* w = Live(hwnd);
    if (!w || index != GCL_STYLE) return 0;
    auto it = gClassStyles.find(GetClassName(hwnd));
    return it == gClassStyles.end() ? 0 : it->second;
}

DWORD SetClassLong(HWND hwnd, int index, LONG value) {
    TWinControl* w = Live(hwnd);
    if (!w || index != GCL_STYLE) return 0;
    String name = GetClassName(hwnd);
    UINT& style = gClassStyles[name];
    DWORD old = style;
    style = static_cast<UINT>(value);
    for (TWinControl* top : gTops)
        if (top->HandleAllocated() && GetClassName(top->Handle()) == name) ApplyClassStyle(top, style);
    return old;
}

HWND GetParent(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (!w) return nullptr;
    if (!IsTop(w)) return HandleOf(w->Parent());
    return HandleOf(ui::WindowOwner(w));
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    TWinControl* w = Live(hwnd);
    if (!w || cmd != GW_OWNER || !IsTop(w)) return nullptr;
    return HandleOf(ui::WindowOwner(w));
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    TWinControl* w = Live(hwnd);
    if (!w) return nullptr;
    switch (flags) {
        case GA_PARENT: return IsTop(w) ? nullptr : HandleOf(w->Parent());
        case GA_ROOT: return HandleOf(ui::TopLevelWindow(w));
        case GA_ROOTOWNER: {
            TWinControl* root = ui::TopLevelWindow(w);
            std::set<TWinControl*> seen;
            while (TWinControl* owner = ui::WindowOwner(root)) {
                if (!seen.insert(owner).second) break;
                root = owner;
            }
            return HandleOf(root);
        }
        default: return nullptr;
    }
}

BOOL IsWindowVisible(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (!w || !w->Showing()) return FALSE_;
    // An owned window hidden with its owner keeps its Visible but shows nothing.
    for (TWinControl* c = w; c; c = c->Parent())
        if (gHiddenWithOwner.count(c)) return FALSE_;
    return TRUE_;
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

void ui::detail::TopWindowShown(TWinControl* window, bool shown) {
    // Owned windows hide with their owner and come back with it.
    for (auto& [w, o] : gOwners) {
        auto* owned = const_cast<TWinControl*>(w);
        if (o != window || !owned->Peer()) continue;
        owned->Peer()->SetVisible(shown && owned->Visible());
        if (shown) gHiddenWithOwner.erase(owned);
        else if (owned->Visible()) gHiddenWithOwner.insert(owned);
    }
    if (shown || !gActive) return;
    TWinControl* top = gActive;
    bool affected = top == window;
    for (TWinControl* o = ui::WindowOwner(top); o && !affected; o = ui::WindowOwner(o)) affected = o == window;
    if (!affected) return;
    // The activation goes to the owner still shown, else to the topmost shown form.
    TWinControl* next = nullptr;
    for (TWinControl* o = ui::WindowOwner(window); o && !next; o = ui::WindowOwner(o))
        if (o->Showing()) next = o;
    for (int i = 0; i < Screen->FormCount() && !next; ++i) {
        TCustomForm* f = Screen->Forms(Screen->FormCount() - 1 - i);
        if (f != window && f->Visible() && f->Showing()) next = f;
    }
    ui::ActivateWindow(next);
}

// ---------------------------------------------------------------------------------------------
// Activation and focus

void ui::detail::MoveFocus(TWinControl* window) {
    if (gFocus == window) return;
    ui::detail::HideEditBalloon();  // a balloon tip belongs to the focus it was shown at
    TWinControl* from = gFocus;
    gFocus = window;
    Watch keepFrom(from), keep(window);
    if (from) from->Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(HandleOf(window)), 0);
    if (window && keep.Alive() && gFocus == window)
        window->Perform(WM_SETFOCUS, reinterpret_cast<WPARAM>(keepFrom.Alive() ? HandleOf(from) : nullptr), 0);
}

void ui::detail::FocusLeft(TWinControl* control, TWinControl* form) {
    if (gFocus && (gFocus == control || control->ContainsControl(gFocus))) gFocus = form;
}

bool ui::detail::HoldsFocus(const TWinControl* form) {
    if (!gActive) return false;
    return gActive == form || GetParentForm(gActive) == form;
}

void ui::ActivateWindow(TWinControl* window, WPARAM how, bool fromSystem) {
    if (window) window = TopLevelWindow(window);
    if (gActive == window) return;
    TWinControl* old = gActive;
    gActive = window;
    Watch oldWatch(old), newWatch(window);
    if (old) {
        old->Perform(WM_NCACTIVATE, FALSE_, 0);
        if (oldWatch.Alive()) old->Perform(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(HandleOf(window)));
    }
    if (gActive != window) return;  // a handler moved the activation on
    if (!window) {
        Screen->FActiveForm = nullptr;
        detail::MoveFocus(nullptr);
        return;
    }
    if (!newWatch.Alive()) return;
    detail::NoteActivated(window);
    if (auto* form = dynamic_cast<TCustomForm*>(window)) Screen->FActiveForm = form;
    else if (TCustomForm* form = GetParentForm(window)) Screen->FActiveForm = form;
    if (!fromSystem && window->Peer()) window->Peer()->Activate();
    window->Perform(WM_NCACTIVATE, TRUE_, 0);
    if (!newWatch.Alive() || gActive != window) return;
    HWND other = oldWatch.Alive() ? HandleOf(old) : nullptr;
    window->Perform(WM_ACTIVATE, how, reinterpret_cast<LPARAM>(other));
    if (!newWatch.Alive() || gActive != window) return;
    // A pop-up that gave the focus to none of its windows takes it itself; a form has set its own.
    if (!dynamic_cast<TCustomForm*>(window) && !(gFocus && TopLevelWindow(gFocus) == window)) detail::MoveFocus(window);
}

HWND GetFocus() { return HandleOf(gFocus); }

HWND SetFocus(HWND hwnd) {
    HWND old = HandleOf(gFocus);
    TWinControl* w = Live(hwnd);
    if (!w) return nullptr;
    if (!w->Showing() || ui::detail::InputRefused(w)) return nullptr;
    TWinControl* top = ui::TopLevelWindow(w);
    if (TCustomForm* form = GetParentForm(w); form && form != w && w->CanFocus()) {
        if (gActive != top) ui::ActivateWindow(top);
        form->SetFocusedControl(w);
    } else {
        if (gActive != top) ui::ActivateWindow(top);
        ui::detail::MoveFocus(w);
    }
    return old;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old = HandleOf(gActive);
    TWinControl* w = Live(hwnd);
    if (!w) return nullptr;
    ui::ActivateWindow(ui::TopLevelWindow(w));
    return old;
}

BOOL SetForegroundWindow(HWND hwnd) {
    TWinControl* w = Live(hwnd);
    if (!w) return FALSE_;
    ui::ActivateWindow(ui::TopLevelWindow(w));
    return TRUE_;
}

HWND GetForegroundWindow() { return HandleOf(gActive); }

bool ui::detail::PressActivates(TWinControl* target, UINT msg) {
    if (msg != WM_LBUTTONDOWN && msg != WM_RBUTTONDOWN && msg != WM_MBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return false;
    TWinControl* top = TopLevelWindow(target);
    if (!top || top == gActive) return false;
    LRESULT answer = top->Perform(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(HandleOf(top)),
                                  MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(msg)));
    // Unanswered, a window activates unless its style says it never does.
    if (answer == 0) answer = (GetWindowLong(HandleOf(top), GWL_EXSTYLE) & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) ActivateWindow(top, WA_CLICKACTIVE);
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

// ---------------------------------------------------------------------------------------------
// The user's sizing loop: a grab of the mouse from the press on a border to the release. Each
// move proposes the start rectangle with the dragged edges moved by the pointer's travel; the
// window's WM_SIZING handler may change it, its constraints have the last word, and the window
// takes it (WM_SIZE follows from the resize). Escape puts the start rectangle back.

namespace {

class SizingLoop final : public ui::InputGrab {
public:
    SizingLoop(TWinControl* window, int hit, TPoint start, TRect rect)
        : FWatch(window), FWindow(window), FHit(hit), FStart(start), FRect(rect) {
        FPrevious = ui::SetInputGrab(this);
    }
    ~SizingLoop() override {
        if (ui::CurrentInputGrab() == this) ui::SetInputGrab(FPrevious);
    }

    void Mouse(UINT msg, TPoint screen, DWORD keys) override {
        if (!FWatch.Alive()) return End();
        if (msg == WM_MOUSEMOVE && (keys & MK_LBUTTON)) {
            Step(screen);
        } else if (msg == WM_LBUTTONUP || msg == WM_MOUSEMOVE) {
            if (msg == WM_LBUTTONUP) Step(screen);
            End();
        }
    }

    void Key(bool down, WORD vk) override {
        if (!down || vk != VK_ESCAPE) return;
        if (FWatch.Alive()) Apply(FRect);
        End();
    }

private:
    bool Moves(int edge) const {
        switch (edge) {
            case 0: return FHit == HTLEFT || FHit == HTTOPLEFT || FHit == HTBOTTOMLEFT;
            case 1: return FHit == HTTOP || FHit == HTTOPLEFT || FHit == HTTOPRIGHT;
            case 2: return FHit == HTRIGHT || FHit == HTTOPRIGHT || FHit == HTBOTTOMRIGHT;
            default: return FHit == HTBOTTOM || FHit == HTBOTTOMLEFT || FHit == HTBOTTOMRIGHT;
        }
    }

    WPARAM Edge() const {
        switch (FHit) {
            case HTLEFT: return WMSZ_LEFT;
            case HTRIGHT: return WMSZ_RIGHT;
            case HTTOP: return WMSZ_TOP;
            case HTTOPLEFT: return WMSZ_TOPLEFT;
            case HTTOPRIGHT: return WMSZ_TOPRIGHT;
            case HTBOTTOM: return WMSZ_BOTTOM;
            case HTBOTTOMLEFT: return WMSZ_BOTTOMLEFT;
            default: return WMSZ_BOTTOMRIGHT;
        }
    }

    void Step(TPoint screen) {
        int dx = screen.X - FStart.X, dy = screen.Y - FStart.Y;
        TRect r = FRect;
        if (Moves(0)) r.Left += dx;
        if (Moves(1)) r.Top += dy;
        if (Moves(2)) r.Right += dx;
        if (Moves(3)) r.Bottom += dy;
        FWindow->Perform(WM_SIZING, Edge(), reinterpret_cast<LPARAM>(&r));
        if (!FWatch.Alive()) return;
        Apply(r);
    }

    // The window's constraints hold; the edge the user drags gives way, the other stays.
    void Apply(TRect r) {
        int w = std::max(0, r.Width()), h = std::max(0, r.Height());
        const TSizeConstraints& c = FWindow->Constraints();
        if (c.MinWidth > 0) w = std::max(w, c.MinWidth);
        if (c.MaxWidth > 0) w = std::min(w, c.MaxWidth);
        if (c.MinHeight > 0) h = std::max(h, c.MinHeight);
        if (c.MaxHeight > 0) h = std::min(h, c.MaxHeight);
        int left = Moves(0) && !Moves(2) ? r.Right - w : r.Left;
        int top = Moves(1) && !Moves(3) ? r.Bottom - h : r.Top;
        TPoint at(left, top);
        if (FWindow->Parent() && !FWindow->IsPopup()) at = FWindow->Parent()->ScreenToClient(at);
        FWindow->SetBounds(at.X, at.Y, w, h);
    }

    void End() {
        if (ui::CurrentInputGrab() == this) ui::SetInputGrab(FPrevious);
        FPrevious = nullptr;
        delete this;
    }

    Watch FWatch;
    TWinControl* FWindow;
    int FHit;
    TPoint FStart;
    TRect FRect;
    ui::InputGrab* FPrevious = nullptr;
};

}  // namespace

bool ui::detail::StartSizing(TWinControl* window, int hit) {
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT || !window || !window->HandleAllocated()) return false;
    if (TopLevelWindow(window) != window) return false;  // the user sizes windows, not their children
    if (dynamic_cast<SizingLoop*>(CurrentInputGrab())) return true;  // one loop at a time
    TRect r;
    GetWindowRect(window->Handle(), &r);
    TPoint start;
    GetCursorPos(&start);
    ReleaseCapture();
    new SizingLoop(window, hit, start, r);
    return true;
}
