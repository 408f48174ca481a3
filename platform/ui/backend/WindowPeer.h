#pragma once
// The window of one windowed control, as the backend makes it. The control decides everything;
// the peer shows it and reports what happens to the window through the WindowSink.
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/backend/Enums.h"

namespace ui {

class WidgetPeer {
public:
    virtual ~WidgetPeer() = default;
    virtual void SetParent(WidgetPeer* parent) = 0;
    // In the parent window's coordinates (its frame included); for a top-level or pop-up
    // window, the screen's.
    virtual void SetBounds(const TRect& r) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetCaption(const String& caption) = 0;
    // The window's styles changed: a top-level or pop-up window takes the kind, frame and
    // buttons they ask for (see TCreateParams).
    virtual void SetStyles(DWORD style, DWORD exStyle) = 0;
    // What kind of window the backend made, read back.
    struct WindowKind {
        bool TopLevel = false;
        bool Frameless = false;
        bool Tool = false;          // a tool window: no task-bar entry
        bool StaysOnTop = false;
        bool NoActivate = false;
        bool FixedSize = false;
        const WidgetPeer* Owner = nullptr;  // the window it stays over
        bool Shadow = false;                // the desktop is asked for a drop shadow
    };
    virtual WindowKind Kind() const = 0;
    // Places the form's menu bar in its part of the frame (window coordinates; empty: none).
    virtual void PlaceMenuBar(const TRect& band) = 0;
    // The window's icon; nullptr or an empty icon: the application's.
    virtual void SetIcon(TIcon* icon) = 0;
    virtual void SetWindowState(TWindowState state) = 0;
    // The pointer's look over the window: a built-in shape or an image (see ui::ResolveCursor).
    virtual void SetCursorShape(const CursorInfo& cursor) = 0;
    virtual void SetMouseCapture(bool capture) = 0;
    virtual void SetFocus() = 0;
    virtual void Raise() = 0;
    virtual void Lower() = 0;
    virtual void Activate() = 0;
    // Schedules showing this part of the control's backing image (window coordinates) again
    // (ignored while the widget is painting).
    virtual void Update(const TRect& r) = 0;

    // Pop-up windows: whether a frameless top-level window asks the desktop for a drop shadow
    // (the class style's CS_DROPSHADOW); without it none shows. The layer paints no shadow.
    virtual void SetDropShadow(bool shadow) { (void)shadow; }

    // WM_SETREDRAW: while false the window and the windows and widgets in it show no changes
    // (the library paints nothing meanwhile); true shows them again.
    virtual void SetRedraw(bool redraw) { (void)redraw; }
    // Shaped and layered windows (the library decides, platform/ui/WindowLayers.h). The window's
    // shape in window coordinates: it shows, and takes the mouse, only there; nullptr: the whole
    // window.
    virtual void SetShape(const std::vector<TRect>* shape) { (void)shape; }
    // Mouse input passes the window by to what lies beneath, another program's window included.
    virtual void SetInputTransparent(bool transparent) { (void)transparent; }
    // Only where the backend Supports(TranslucentWindows), for top-level windows: the window's
    // constant opacity (255: opaque), and the picture it shows instead of its own image
    // (premultiplied 32 bits, the window's size; nullptr: its own image again).
    virtual void SetOpacity(BYTE alpha) { (void)alpha; }
    virtual void SetLayeredImage(const TBitmap* image) { (void)image; }
};

}  // namespace ui
