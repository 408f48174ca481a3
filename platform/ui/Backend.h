#pragma once
// The seam between the UI library and its backend. The library declares these interfaces; the
// backend (platform/qt) implements them. Input and paint requests come back from the backend
// through UiInput.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/backend/DragDrop.h"
#include "platform/ui/backend/ImageDecoders.h"
#include "platform/ui/backend/Enums.h"
#include "platform/ui/backend/NativeViews.h"

class TCustomForm;

namespace ui {

// The widget of one windowed control.
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
    };
    virtual WindowKind Kind() const = 0;
    // Places the form's menu bar in its part of the frame (window coordinates; empty: none).
    virtual void PlaceMenuBar(const TRect& band) = 0;
    // The window's icon; nullptr or an empty icon: the application's.
    virtual void SetIcon(TIcon* icon) = 0;
    virtual void SetWindowState(TWindowState state) = 0;
    virtual void SetCursorShape(TCursor cursor) = 0;
    // The hint shown while the pointer rests on the widget; empty: none. hideAfterMs: how long
    // it stays (0: the platform's default).
    virtual void SetToolTip(const String& text, int hideAfterMs) = 0;
    virtual void SetMouseCapture(bool capture) = 0;
    virtual void SetFocus() = 0;
    virtual void Raise() = 0;
    virtual void Lower() = 0;
    virtual void Activate() = 0;
    // Schedules showing this part of the control's backing image (window coordinates) again
    // (ignored while the widget is painting).
    virtual void Update(const TRect& r) = 0;
    // Renders the widget with its child widgets to a PNG file.
    virtual bool SaveToPng(const std::string& path) = 0;
};

// A part of the desktop's visual style, as the theme calls name it.
struct ThemePart {
    enum Kind { PushButton, RadioButton, CheckBox, ComboButton, SpinUp, SpinDown };
    Kind kind = PushButton;
    bool hot = false;
    bool pressed = false;
    bool disabled = false;
    bool defaulted = false;
    bool checked = false;
    bool mixed = false;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<WidgetPeer> CreateWidget(TWinControl* control, const TCreateParams& params) = 0;
    // Handles the backend's pending events without waiting; true when any was handled.
    virtual bool ProcessEvents() = 0;
    // Waits for a backend event, a wake-up or the process clock reaching deadlineMs
    // (rtl::NoDeadline: no time limit).
    virtual void WaitForEvents(uint64_t deadlineMs) = 0;
    // Any thread: ends a wait of the UI thread.
    virtual void Wake() = 0;
    // The icon of every window that has none of its own.
    virtual void SetApplicationIcon(TIcon* icon) = 0;
    // Screen.Cursor: one shape for the whole application while not crDefault.
    virtual void SetOverrideCursor(TCursor cursor) = 0;
    virtual TRect ScreenRect() = 0;
    virtual TRect WorkArea() = 0;
    virtual bool Headless() = 0;
    // A real message box; the answer is one of the IDxxx values.
    virtual int ShowMessageBox(const String& text, const String& caption, UINT flags) = 0;
    // Synthetic input, as real input arrives: keys go to the focus widget of the peer's window,
    // the mouse to the widget under the point (x, y in the peer's client coordinates), or to the
    // one a button went down on until the buttons are up. viaHost: straight to the peer's own
    // widget instead, the road of a control that has no native widget inside.
    virtual void SendMouse(WidgetPeer& peer, UINT msg, int x, int y, WPARAM keys, bool viaHost = false) = 0;
    virtual void SendMouseLeave(WidgetPeer& peer) = 0;
    virtual void SendKey(WidgetPeer& peer, bool down, WORD vk, const String& text, TShiftState shift, bool viaHost = false) = 0;
    // Input events the native widgets' filter has turned into messages so far.
    virtual uint64_t NativeFilterEventCount() = 0;
    // Reads a PNG file into 0x00BBGGRR pixels, row by row.
    virtual bool ReadPng(const std::string& path, int& width, int& height, std::vector<int32_t>& pixels) = 0;

    // Desktop services behind the system answers, the shell and the visual styles.
    // Lines scrolled per wheel notch as the desktop sets it (-1: a page); 0 when it says nothing.
    virtual int WheelScrollLines() = 0;
    // Opens a URL, or an absolute file path, with the desktop's handler; false when refused.
    virtual bool OpenUrl(const String& target) = 0;
    // Paints the part with the desktop's widget style over the bitmap's pixels, filling the bitmap.
    virtual bool DrawThemePart(TBitmap& target, const ThemePart& part) = 0;

    // Drag and drop with other programs, and the picture decoders the layer lacks
    // (platform/ui/backend/).
    virtual DesktopDragDrop& DragDrop() = 0;
    virtual ImageDecoders& Decoders() = 0;
    // ---- Native views (backend/NativeViews.h) ----
    // The view of a native control of one family, made inside the control's widget (host) and
    // filling it; input on it takes the control's own road. nullptr: this backend shows no views
    // of the family, and the control keeps its state and rules without one.
    virtual std::unique_ptr<TextView> CreateTextView(TextKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<ListView> CreateListView(ListKind kind, WidgetPeer& host, TWinControl* control, ListSink& sink) { return nullptr; }
    virtual std::unique_ptr<ButtonView> CreateButtonView(ButtonKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<RangeView> CreateRangeView(RangeKind kind, WidgetPeer& host, TWinControl* control, RangeSink& sink) { return nullptr; }
    virtual std::unique_ptr<StaticView> CreateStaticView(StaticKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
};

// The backend, made on first use (on the UI thread).
Backend& GetBackend();

}  // namespace ui

// Entry points for the backend: events of a control's widget, in window coordinates (the frame
// included); the library finds the part of the window hit and the client coordinates.
struct UiInput {
    static void Mouse(TWinControl* target, UINT msg, int x, int y, WPARAM keys);
    static void MouseWheel(TWinControl* target, int delta, int x, int y, WPARAM keys);
    static void MouseLeave(TWinControl* target);
    // True when the key went to the dialog or a shortcut: its characters must not follow.
    // keyData is the platform's LParam of key messages (repeat count, scan code, flags); a
    // character carries the data of the key that typed it.
    static bool Key(TWinControl* window, bool down, WORD vk, bool alt, LPARAM keyData = 0);
    static void Char(TWinControl* window, char16_t ch, bool alt, LPARAM keyData = 0);
    static void Paint(TWinControl* target);
    static void Resized(TWinControl* target, int width, int height);
    // A top-level window was moved (by the user or the window manager) to (left, top).
    static void Moved(TWinControl* target, int left, int top);
    static void CloseRequest(TWinControl* target);
    static void Activated(TWinControl* target, bool active);
    // The form's window now shows a menu bar this high above its client area (0: none).
    static void MenuBarChanged(TCustomForm* form, int height);
};
