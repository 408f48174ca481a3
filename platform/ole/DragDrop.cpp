// Registration of drop targets, the modal drag loop inside the program, and the drops other
// programs make on its windows.
#include "platform/ole/DragDrop.h"

#include <deque>
#include <vector>

#include "platform/ole/DragLoopFeed.h"
#include "platform/ole/OleData.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/DesktopFormats.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/InputGrab.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

namespace {

int gInitCount = 0;
bool gDragging = false;
ole::detail::DragLoopFeed* gFeed = nullptr;

struct Registration {
    HWND Window;
    ComPtr<IDropTarget> Target;
};
std::vector<Registration> gTargets;

// A window's registration ends with the window.
void ForgetDeadWindows() {
    std::vector<Registration> gone;
    for (auto it = gTargets.begin(); it != gTargets.end();) {
        if (IsWindow(it->Window)) {
            ++it;
            continue;
        }
        gone.push_back(std::move(*it));
        it = gTargets.erase(it);
    }
    // Released after the table is consistent: a target's destructor may register again.
}

// The desktop's drag and drop; nullptr with a backend that has none: drags stay inside the
// program and other programs' drops never come.
ui::DesktopDragDrop* Desktop() {
    ui::Backend& backend = ui::GetBackend();
    return backend.Supports(ui::Capability::DragDrop) ? &backend.DragDrop() : nullptr;
}

Registration* Find(HWND window) {
    for (Registration& r : gTargets)
        if (r.Window == window) return &r;
    return nullptr;
}

// The window under the point that has a target, or the nearest window above it that has one.
HWND RegisteredAt(HWND window) {
    for (TWinControl* c = window ? FindControl(window) : nullptr; c; c = c->Parent())
        if (c->HandleAllocated() && Find(c->Handle())) return c->Handle();
    return nullptr;
}

ComPtr<IDropTarget> TargetOf(HWND window) {
    Registration* r = window ? Find(window) : nullptr;
    return r ? r->Target : nullptr;
}

DWORD KeysNow() {
    DWORD k = 0;
    if (GetKeyState(VK_LBUTTON) < 0) k |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) k |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) k |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) k |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) k |= MK_CONTROL;
    if (GetKeyState(VK_MENU) < 0) k |= MK_ALT;
    return k;
}

// The drops of other programs, from the backend.
class DesktopDrops final : public ui::DesktopDropSink {
public:
    DWORD DragEnter(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) override {
        Leave();
        FData = ole::detail::NewDesktopDataObject(data);
        return Enter(window, screen, keys, allowed);
    }
    DWORD DragOver(HWND window, TPoint screen, DWORD keys, DWORD allowed) override {
        if (!FData) return DROPEFFECT_NONE;
        if (RegisteredAt(window) != FWindow) {
            Leave(false);
            return Enter(window, screen, keys, allowed);
        }
        if (!FTarget) return DROPEFFECT_NONE;
        ole::detail::SetDropPoint(FData.Get(), ClientPoint(screen));
        DWORD effect = allowed;
        if (FAILED(FTarget->DragOver(keys, screen, &effect))) effect = DROPEFFECT_NONE;
        return effect & allowed;
    }
    void DragLeave(HWND) override { Leave(); }
    DWORD Drop(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) override {
        if (!FData) DragEnter(window, data, screen, keys, allowed);
        else DragOver(window, screen, keys, allowed);
        ComPtr<IDropTarget> target = std::move(FTarget);
        ComPtr<IDataObject> dropped = std::move(FData);
        FWindow = nullptr;
        if (!target) return DROPEFFECT_NONE;
        DWORD effect = allowed;
        if (FAILED(target->Drop(dropped.Get(), keys, screen, &effect))) return DROPEFFECT_NONE;
        return effect & allowed;
    }

private:
    DWORD Enter(HWND window, TPoint screen, DWORD keys, DWORD allowed) {
        ForgetDeadWindows();
        FWindow = RegisteredAt(window);
        FTarget = TargetOf(FWindow);
        if (!FTarget) return DROPEFFECT_NONE;
        ole::detail::SetDropPoint(FData.Get(), ClientPoint(screen));
        DWORD effect = allowed;
        if (FAILED(FTarget->DragEnter(FData.Get(), keys, screen, &effect))) {
            FTarget.Reset();
            return DROPEFFECT_NONE;
        }
        return effect & allowed;
    }
    void Leave(bool dropData = true) {
        if (ComPtr<IDropTarget> t = std::move(FTarget)) t->DragLeave();
        FWindow = nullptr;
        if (dropData) FData.Reset();
    }
    TPoint ClientPoint(TPoint screen) const {
        if (FWindow) ScreenToClient(FWindow, &screen);
        return screen;
    }

    HWND FWindow = nullptr;
    ComPtr<IDropTarget> FTarget;
    ComPtr<IDataObject> FData;
};

DesktopDrops gDesktopDrops;
bool gSinkSet = false;

// The modal loop of one drag inside the program.
class DragLoop final : public ui::InputGrab {
public:
    DragLoop(IDataObject* data, IDropSource* source, DWORD okEffects)
        : FData(data), FSource(source), FOk(okEffects) {}

    void Mouse(UINT, TPoint screen, DWORD keys) override {
        DWORD held = keys & static_cast<DWORD>(MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_CONTROL | MK_MBUTTON);
        if (GetKeyState(VK_MENU) < 0) held |= MK_ALT;
        FInput.push_back({screen, held, false});
    }
    void Key(bool down, WORD vk) override {
        // A key changes the state the input before it left.
        Input in = FInput.empty() ? Input{FPoint, FKeys, false} : FInput.back();
        in.Escape = down && vk == VK_ESCAPE;
        DWORD bit = vk == VK_CONTROL ? static_cast<DWORD>(MK_CONTROL) : vk == VK_SHIFT ? static_cast<DWORD>(MK_SHIFT) : vk == VK_MENU ? MK_ALT : 0;
        if (bit) in.Keys = down ? in.Keys | bit : in.Keys & ~bit;
        FInput.push_back(in);
    }

    HRESULT Run(DWORD* effect) {
        struct Restore {
            DragLoop& loop;
            ui::InputGrab* previous;
            ~Restore() {
                ui::SetInputGrab(previous);
                gDragging = false;
                if (loop.FCursorSet) ui::OverrideCursor(Screen->Cursor());
            }
        } restore{*this, ui::SetInputGrab(this)};
        gDragging = true;
        ole::detail::DragLoopFeed* feed = gFeed;
        if (!feed) {
            // A real drag starts where the pointer is, with the buttons and keys held now.
            GetCursorPos(&FPoint);
            FKeys = KeysNow();
            Step();
        }
        while (!FDone) {
            if (FInput.empty()) {
                if (feed ? !feed->Feed() : Application->Terminated()) {
                    Cancel(DRAGDROP_S_CANCEL);
                    break;
                }
                if (!feed) Application->HandleMessage();
                continue;
            }
            Input in = FInput.front();
            FInput.pop_front();
            FPoint = in.Point;
            FKeys = in.Keys;
            FEscape = FEscape || in.Escape;
            Step();
        }
        *effect = FEffectOut;
        return FResult;
    }

private:
    struct Input {
        TPoint Point;
        DWORD Keys;
        bool Escape;
    };

    void Step() {
        HRESULT go = FSource->QueryContinueDrag(FEscape ? TRUE_ : FALSE_, FKeys);
        FEscape = false;
        if (go == S_OK) {
            if (!Track(true)) return;
            HRESULT feedback = FSource->GiveFeedback(FEffect);
            if (feedback == DRAGDROP_S_USEDEFAULTCURSORS) {
                ui::OverrideCursor(FEffect == DROPEFFECT_NONE ? crNoDrop : crDrag);
                FCursorSet = true;
            }
        } else if (go == DRAGDROP_S_DROP) {
            if (!FTracked || FPoint != FTrackedPoint) Track(false);
            Drop();
        } else {
            Cancel(FAILED(go) ? go : DRAGDROP_S_CANCEL);
        }
    }

    // Follows the pointer: leaves the old target, enters the new one or moves over it. Outside
    // the program's windows the desktop takes the drag over (when mayLeave); false when that
    // ended the drag.
    bool Track(bool mayLeave) {
        ForgetDeadWindows();
        FTracked = true;
        FTrackedPoint = FPoint;
        HWND under = WindowFromPoint(FPoint);
        if (!under && mayLeave && HandToDesktop()) return false;
        HWND window = RegisteredAt(under);
        if (window != FWindow) {
            LeaveTarget();
            FWindow = window;
            FTarget = TargetOf(window);
            FEffect = DROPEFFECT_NONE;
            if (!FTarget) return true;
            DWORD effect = FOk;
            if (FAILED(FTarget->DragEnter(FData, FKeys, FPoint, &effect))) {
                // A target that refuses to enter takes nothing until the pointer comes back.
                FTarget.Reset();
                return true;
            }
            FEffect = effect & FOk;
        } else if (FTarget) {
            DWORD effect = FOk;
            FEffect = FAILED(FTarget->DragOver(FKeys, FPoint, &effect)) ? DROPEFFECT_NONE : effect & FOk;
        }
        return true;
    }

    // The pointer left the program: the data goes on to other programs. Data with nothing
    // another program understands cannot cross, nor can anything without the desktop's drag and
    // drop: the drag goes on inside.
    bool HandToDesktop() {
        ui::DesktopDragDrop* desktop = Desktop();
        if (!desktop) return false;
        ui::DesktopDragData data;
        data.Content = ole::detail::ContentOf(FData);
        if (!ui::CrossesToDesktop(data.Content)) return false;
        LeaveTarget();
        FWindow = nullptr;
        DWORD effect;
        if (gFeed) {
            effect = gFeed->DesktopDrag(data, FOk);
        } else {
            // The desktop's drag runs a loop of its own until the drop: the program goes on being
            // served meanwhile (its timers, posted work, other threads' Synchronize calls), and the
            // press that began the drag stays what it is.
            ui::ForeignLoop loop(false);
            effect = desktop->StartDrag(data, FOk);
        }
        effect &= FOk;
        Finish(effect ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL, effect);
        return true;
    }

    void Drop() {
        if (!FTarget || FEffect == DROPEFFECT_NONE) {
            LeaveTarget();
            Finish(DRAGDROP_S_DROP, DROPEFFECT_NONE);
            return;
        }
        ComPtr<IDropTarget> target = std::move(FTarget);
        DWORD effect = FOk;
        HRESULT hr = target->Drop(FData, FKeys, FPoint, &effect);
        if (FAILED(hr)) Finish(hr, DROPEFFECT_NONE);
        else Finish(DRAGDROP_S_DROP, effect & FOk);
    }

    void Cancel(HRESULT result) {
        LeaveTarget();
        Finish(result, DROPEFFECT_NONE);
    }

    void LeaveTarget() {
        if (ComPtr<IDropTarget> t = std::move(FTarget)) t->DragLeave();
    }

    void Finish(HRESULT result, DWORD effect) {
        FDone = true;
        FResult = result;
        FEffectOut = effect;
    }

    IDataObject* FData;
    IDropSource* FSource;
    DWORD FOk;
    std::deque<Input> FInput;
    TPoint FPoint;
    DWORD FKeys = 0;
    bool FEscape = false;
    bool FTracked = false;
    TPoint FTrackedPoint;
    HWND FWindow = nullptr;
    ComPtr<IDropTarget> FTarget;
    DWORD FEffect = DROPEFFECT_NONE;
    bool FCursorSet = false;
    bool FDone = false;
    HRESULT FResult = DRAGDROP_S_CANCEL;
    DWORD FEffectOut = DROPEFFECT_NONE;
};

}  // namespace

namespace ole::detail {
DragLoopFeed* SetDragLoopFeed(DragLoopFeed* feed) { return std::exchange(gFeed, feed); }
ui::DesktopDropSink& DesktopDropSink() { return gDesktopDrops; }
}  // namespace ole::detail

HRESULT OleInitialize(void*) { return gInitCount++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
    if (gInitCount == 0 || --gInitCount > 0) return;
    if (gSinkSet) Desktop()->SetSink(nullptr);
    gSinkSet = false;
}

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    if (gInitCount == 0) return CO_E_NOTINITIALIZED;
    ForgetDeadWindows();
    TWinControl* control = window ? FindControl(window) : nullptr;
    if (!control) return DRAGDROP_E_INVALIDHWND;
    if (!target) return E_INVALIDARG;
    if (Find(window)) return DRAGDROP_E_ALREADYREGISTERED;
    gTargets.push_back({window, ComPtr<IDropTarget>(target)});
    ui::DesktopDragDrop* desktop = Desktop();
    if (desktop && !gSinkSet) {
        desktop->SetSink(&gDesktopDrops);
        gSinkSet = true;
    }
    if (desktop && control->Peer()) desktop->AcceptDrops(*control->Peer(), true);
    return S_OK;
}

HRESULT RevokeDragDrop(HWND window) {
    ForgetDeadWindows();
    Registration* r = window ? Find(window) : nullptr;
    if (!r) return DRAGDROP_E_NOTREGISTERED;
    ComPtr<IDropTarget> target = std::move(r->Target);
    gTargets.erase(gTargets.begin() + (r - gTargets.data()));
    TWinControl* control = FindControl(window);
    ui::DesktopDragDrop* desktop = control && control->Peer() ? Desktop() : nullptr;
    if (desktop) desktop->AcceptDrops(*control->Peer(), false);
    return S_OK;
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) {
    if (!data || !source || !effect) return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    if (gInitCount == 0) return CO_E_NOTINITIALIZED;
    if (gDragging) return E_UNEXPECTED;
    // The loop holds its own references, as the caller may let go of its objects in a callback.
    ComPtr<IDataObject> keepData(data);
    ComPtr<IDropSource> keepSource(source);
    DragLoop loop(data, source, okEffects);
    return loop.Run(effect);
}
