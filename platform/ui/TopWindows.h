#pragma once
// Top-level windows: forms and pop-ups. One of them is the active window of the program and one
// window has the focus; owned windows stay above their owner, hide with it and go with it; the
// class style (the drop shadow among it) belongs to the window class, shared by all its windows;
// a press on a sizing border runs the user's sizing loop. WinUser.h includes this header.
#include <vector>

#include "platform/rtl/String.h"
#include "platform/win/Messages.h"

class TControl;
class TWinControl;

// WM_ACTIVATE: LOWORD(WParam) says how; LParam is the other window (0: none of the program's).
constexpr WPARAM WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// WM_MOUSEACTIVATE answers: whether a press on an inactive window activates it.
constexpr LRESULT MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4;
// WM_SIZING: WParam is the edge or corner being dragged, LParam a TRect* in screen coordinates
// that the handler may change.
constexpr WPARAM WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5, WMSZ_BOTTOM = 6,
                 WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8;

// The drop shadow of a pop-up, a bit of the window class's style.
constexpr UINT CS_DROPSHADOW = 0x00020000;
constexpr int GCL_STYLE = -26;
// The class style of the window's class (its first window registered it from CreateParams's
// WindowClass.style). Setting it changes the class: every window of it follows. 0 for a handle
// that is no window or another index.
DWORD GetClassLong(HWND hwnd, int index);
DWORD SetClassLong(HWND hwnd, int index, LONG value);

// The window with the focus (nullptr: none); SetFocus moves it there, activating its top-level
// window first, and answers the window that had it. A window that cannot take the focus
// (hidden, disabled, no window) is refused with nullptr.
HWND GetFocus();
HWND SetFocus(HWND hwnd);
// The active window is a top-level window of the program: a form or a pop-up. SetActiveWindow
// and SetForegroundWindow activate the top-level window of the handle (a child's handle stands
// for its window); the foreground window is the active one while the program has the
// activation.
HWND SetActiveWindow(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();

// A child window's parent, or a top-level window's owner (nullptr: none).
HWND GetParent(HWND hwnd);
constexpr UINT GW_OWNER = 4;
HWND GetWindow(HWND hwnd, UINT cmd);
// GA_PARENT: a child's parent (a top-level window's parent is the desktop, which the layer has
// no handle for: nullptr); GA_ROOT: the top-level window; GA_ROOTOWNER: the root, then its
// owners to the end of the chain.
constexpr UINT GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3;
HWND GetAncestor(HWND hwnd, UINT flags);
BOOL IsWindowVisible(HWND hwnd);

namespace ui {

// The top-level window a control sits in (a form, a pop-up, or a window without parent).
TWinControl* TopLevelWindow(const TControl* control);
// The owner of a top-level window (nullptr: none).
TWinControl* WindowOwner(const TWinControl* window);
TWinControl* ActiveWindow();
TWinControl* FocusedWindow();
// Activates the top-level window (nullptr: none of the program's), how being WA_ACTIVE or
// WA_CLICKACTIVE: the window losing the activation gets WM_NCACTIVATE(0) and WM_ACTIVATE
// (WA_INACTIVE, the new one), then the new one WM_NCACTIVATE(1) and WM_ACTIVATE(how, the old
// one). fromSystem: the desktop has activated the window already.
void ActivateWindow(TWinControl* window, WPARAM how = WA_ACTIVE, bool fromSystem = false);

namespace detail {
// The window hooks of the controls and forms.
void WindowCreated(TWinControl* window, HWND owner, UINT classStyle);
void WindowDestroying(TWinControl* window);
// Destroys the control's window and those of its children (WinUser.cpp).
void DestroyWindowOf(TWinControl* window);
void ControlGone(TControl* control);
// Whether the window is a top-level window of the program that has not gone.
bool IsLiveWindow(const TWinControl* window);
// The top-level windows that have a window, oldest first.
std::vector<TWinControl*> TopLevelWindows();
// A top-level window was shown or hidden: its owned windows follow, and a hidden active window
// hands the activation on (to its owner, else the topmost shown form).
void TopWindowShown(TWinControl* window, bool shown);
// The focus goes to the window (nullptr: none), with WM_KILLFOCUS to the one losing it and
// WM_SETFOCUS to the one taking it, each naming the other.
void MoveFocus(TWinControl* window);
// The focus was inside a control that is hidden or leaves its parent: it stays on the form.
void FocusLeft(TWinControl* control, TWinControl* form);
// Whether a control's window (a form's, or a pop-up's in the form's tree) holds the focus area.
bool HoldsFocus(const TWinControl* form);
// A press on a window (window coordinates): WM_MOUSEACTIVATE to its top-level window, which
// the press activates unless the answer says not to. True when the press is to be eaten.
bool PressActivates(TWinControl* target, UINT msg);
// Starts the user's sizing loop at an edge or corner (HTLEFT .. HTBOTTOMRIGHT) from the
// pointer's place: the loop follows the mouse until the left button comes up.
bool StartSizing(TWinControl* window, int hit);
}  // namespace detail

}  // namespace ui
