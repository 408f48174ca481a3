#pragma once
// The window calls the components make on the window of a windowed control: styles and the
// non-client frame, invalidation and painting, device contexts, window scroll bars and scrolling.
// A HWND here is the Handle() of a TWinControl; anything else is refused (FALSE_, 0 or nullptr).
#include "platform/ui/SystemInfo.h"
#include "platform/rtl/String.h"
#include "platform/ui/Gdi.h"
#include "platform/win/Messages.h"

// Window styles (TCreateParams::Style) and extended styles (ExStyle).
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
                WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000, WS_CAPTION = 0x00C00000,
                WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020,
                WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100, WS_EX_CLIENTEDGE = 0x00000200,
                WS_EX_CONTROLPARENT = 0x00010000, WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000,
                WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000;
// Window class styles (TCreateParams::WindowClass.style).
constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800;

struct WNDCLASS {
    UINT style = 0;
};

// Sizes of the standard frame parts: GetSystemMetrics, in SystemInfo.h.

constexpr int GWL_STYLE = -16, GWL_EXSTYLE = -20;
// GWL_STYLE holds WS_DISABLED while the window is disabled by its style or its Enabled.
LONG GetWindowLong(HWND hwnd, int index);
// Takes effect on the frame at the next SetWindowPos with SWP_FRAMECHANGED, as on the platform.
// WS_DISABLED, WS_EX_TRANSPARENT and WS_EX_LAYERED take effect at once; WS_DISABLED leaves the
// control's Enabled as it is.
LONG SetWindowLong(HWND hwnd, int index, LONG value);

// The window's region, in window coordinates (the frame's top-left is 0, 0): the window shows,
// its children included, and takes the mouse only inside it; a top-level window's shape on the
// desktop is the region. The window owns the region from then on (the handle is no longer the
// caller's: DeleteObject on it answers FALSE) and frees it when it is replaced or the window
// goes; nil removes it. Answers 0 for a handle that is no window or no region, which change
// nothing. GetWindowRgn copies the region into rgn and answers its type (NULLREGION,
// SIMPLEREGION, COMPLEXREGION), ERROR when the window has none.
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN rgn);
// The window's class name (the control's WinClassName); the number of characters copied.
int GetClassName(HWND hwnd, char16_t* buffer, int size);
String GetClassName(HWND hwnd);

// Geometry: the window in screen coordinates; the client area in its own coordinates.
BOOL GetWindowRect(HWND hwnd, TRect* rect);
BOOL GetClientRect(HWND hwnd, TRect* rect);
BOOL ClientToScreen(HWND hwnd, TPoint* point);
BOOL ScreenToClient(HWND hwnd, TPoint* point);
// The deepest shown window under a screen point (nullptr: none of the program's); where the
// pointer was last seen over the program's windows.
HWND WindowFromPoint(TPoint screen);
BOOL GetCursorPos(TPoint* point);
// The active window: a form's or a pop-up's; nullptr while no window of the program is active.
HWND GetActiveWindow();
// The mouse capture: while a window has it, the mouse messages go to that window wherever the
// pointer is. A graphic control's capture answers its parent's window. SetCapture answers the
// window that had the capture (nullptr: none) and refuses a handle that is no window.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Where SetWindowPos puts the window in the z-order: on top of its siblings (HWND_TOP), at the
// bottom, into the topmost layer of top-level windows or out of it (the WS_EX_TOPMOST style).
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(uintptr_t{1});
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(~uintptr_t{0});
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(~uintptr_t{1});
// Moves, sizes, orders, shows or hides, and activates a shown top-level window unless
// SWP_NOACTIVATE says; all in one call without flags.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Shows or hides the window as SetWindowPos with SWP_SHOWWINDOW or SWP_HIDEWINDOW does (the
// control's Visible follows). SW_SHOW and SW_SHOWNORMAL activate a top-level window;
// SW_SHOWNOACTIVATE and SW_SHOWNA never activate. Answers whether the window was visible
// before; another command, or a handle that is no window, answers FALSE with
// ERROR_INVALID_PARAMETER or ERROR_INVALID_WINDOW_HANDLE and changes nothing.
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_SHOWNA = 8;
BOOL ShowWindow(HWND hwnd, int cmdShow);

// The non-client size calculation (WM_NCCALCSIZE): rgrc[0] comes in as the window rectangle in
// the parent's client coordinates and goes out as the client rectangle.
struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];
};

// Invalidation and painting. Rectangles are in client coordinates; nullptr: the whole client area.
// A window's invalid part is a few rectangles (ui::InvalidArea): parts far apart stay apart.
BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const TRect* rect);
BOOL UpdateWindow(HWND hwnd);
// The bounding rectangle of the invalid part.
BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase);
// The invalid part into region (client coordinates); answers its type (NULLREGION when the window
// is valid), ERROR for a bad window or region.
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008,
               RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020, RDW_NOCHILDREN = 0x0040,
               RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100, RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400,
               RDW_NOFRAME = 0x0800;
BOOL RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags);

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE_;  // the background still needs erasing (WM_ERASEBKGND answered 0)
    TRect rcPaint;        // the part to paint, client coordinates: the invalid part's bounds
};
// Clips a new DC to the invalid part (its rectangles, not just their bounds), erases it through
// WM_ERASEBKGND when an erase is pending and validates it; EndPaint frees the DC.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A DC on the client area, or on the whole window including its frame (origin at the window's
// top-left); ReleaseDC frees it. Drawing shows at the window's next repaint.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// Window scroll bars, drawn in the frame.
constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x0001, SIF_PAGE = 0x0002, SIF_POS = 0x0004, SIF_DISABLENOSCROLL = 0x0008,
               SIF_TRACKPOS = 0x0010, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr UINT ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_LEFT = 1, ESB_DISABLE_UP = 1,
               ESB_DISABLE_RTDN = 2, ESB_DISABLE_RIGHT = 2, ESB_DISABLE_DOWN = 2, ESB_DISABLE_BOTH = 3;
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
// Returns the new position. A bar whose range needs no scrolling is hidden, unless
// SIF_DISABLENOSCROLL keeps it shown and disabled.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Returns the previous position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows);
// The state of a window scroll bar (idObject OBJID_HSCROLL or OBJID_VSCROLL): rgstate[0] the
// bar (STATE_SYSTEM_INVISIBLE when hidden, STATE_SYSTEM_UNAVAILABLE when both arrows are
// disabled), rgstate[1] the up or left arrow, rgstate[5] the down or right arrow (each
// STATE_SYSTEM_UNAVAILABLE when disabled). The rectangles and thumb places are not filled in.
// FALSE for another object, a cbSize that is not the record's size or an unknown window.
constexpr LONG OBJID_VSCROLL = -5, OBJID_HSCROLL = -6;
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001, STATE_SYSTEM_INVISIBLE = 0x00008000;
struct SCROLLBARINFO {
    DWORD cbSize = sizeof(SCROLLBARINFO);
    TRect rcScrollBar;
    int dxyLineButton = 0;
    int xyThumbTop = 0;
    int xyThumbBottom = 0;
    int reserved = 0;
    DWORD rgstate[6] = {};
};
BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info);

// Scrolling the client area: the image moves by (dx, dy) and the strip it uncovers is invalidated.
constexpr UINT SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004;
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip);
// Returns the region type (NULLREGION, SIMPLEREGION) or ERROR; update gets the uncovered part.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, HRGN updateRegion,
                   TRect* update, UINT flags);

// Top-level windows: activation, focus, owners, window classes (TopWindows.h).
#include "platform/ui/TopWindows.h"
