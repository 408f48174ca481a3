#pragma once
// A grab of the mouse and the keyboard: while one is installed, input goes to it instead of the
// controls, wherever the pointer is. The modal loops that follow the pointer across windows (the
// drag loop of platform/ole) install one.
#include "platform/rtl/Geometry.h"
#include "platform/win/WinTypes.h"

namespace ui {

class InputGrab {
public:
    virtual ~InputGrab() = default;
    // A mouse message (WM_MOUSEMOVE, WM_xBUTTONDOWN, WM_xBUTTONUP, ...) at a screen point, with the
    // MK_ flags of the buttons and keys after it.
    virtual void Mouse(UINT msg, TPoint screen, DWORD keys) = 0;
    // A key going down or up (its characters are not delivered).
    virtual void Key(bool down, WORD vk) = 0;
};

// Installs a grab (nullptr: none); answers the one it replaces.
InputGrab* SetInputGrab(InputGrab* grab);
InputGrab* CurrentInputGrab();

namespace detail {
// The backend saw the pointer here (screen coordinates): what GetCursorPos answers.
void NoteCursorPos(TPoint screen);
}  // namespace detail

}  // namespace ui
