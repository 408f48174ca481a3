// The input grab, the pointer's last place and the window under a point.
#include "platform/ui/InputGrab.h"

#include <utility>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/WinUser.h"

namespace {
ui::InputGrab* gGrab = nullptr;
TPoint gCursor;
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
    // The layer does not know the desktop's stacking order: see ui::detail::TopWindowsInZOrder.
    // Disabled top-level windows (a drag image) are passed by, as are parts outside a region and
    // windows transparent to input.
    TWinControl* w = ui::detail::MouseWindowAt(screen, true);
    return w ? w->Handle() : nullptr;
}
