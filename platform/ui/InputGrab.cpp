// The input grab, the pointer's last place and the window under a point.
#include "platform/ui/InputGrab.h"

#include <utility>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/WinUser.h"

namespace {
ui::InputGrab* gGrab = nullptr;
TPoint gCursor;

bool Covers(TWinControl* w, TPoint screen) {
    TRect r;
    return GetWindowRect(w->Handle(), &r) && r.Contains(screen);
}

// The deepest shown child window of w under the point, or w itself. Child windows show only
// inside their parent's client area.
TWinControl* Deepest(TWinControl* w, TPoint screen) {
    TPoint client = w->ClientOrigin();
    if (!Bounds(client.X, client.Y, w->ClientWidth(), w->ClientHeight()).Contains(screen)) return w;
    for (int i = w->ControlCount() - 1; i >= 0; --i) {
        auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
        // A pop-up child is a window of its own, placed on the screen; it is not inside w.
        if (child && child->HandleAllocated() && child->Showing() && !child->IsPopup() && Covers(child, screen))
            return Deepest(child, screen);
    }
    return w;
}
}  // namespace

namespace ui {

InputGrab* SetInputGrab(InputGrab* grab) { return std::exchange(gGrab, grab); }
InputGrab* CurrentInputGrab() { return gGrab; }

namespace detail {
void NoteCursorPos(TPoint screen) { gCursor = screen; }
}  // namespace detail

}  // namespace ui

BOOL GetCursorPos(TPoint* point) {
    if (!point) return FALSE_;
    *point = gCursor;
    return TRUE_;
}

HWND WindowFromPoint(TPoint screen) {
    // The layer does not know the desktop's stacking order: the active form is taken to be on top,
    // then the forms newest first.
    std::vector<TCustomForm*> forms;
    if (TCustomForm* active = Screen->ActiveForm()) forms.push_back(active);
    for (int i = Screen->FormCount() - 1; i >= 0; --i)
        if (Screen->Forms(i) != Screen->ActiveForm()) forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms)
        if (form->HandleAllocated() && form->Showing() && Covers(form, screen)) return Deepest(form, screen)->Handle();
    return nullptr;
}
