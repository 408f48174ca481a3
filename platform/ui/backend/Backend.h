#pragma once
// The seam between the UI library and its backend: one object that makes every peer (windows,
// menus, native views) and owns every service of the desktop (the event loop's waits, screens,
// message boxes, common dialogs, clipboard, printers, drag and drop with other programs, picture
// decoders, the desktop's settings and look). The library declares it
// here, with the sinks through which the backend reports back; a backend library implements it.
//
// A program picks its backend by linking it: the backend library defines MakeBackend (the Qt
// backend in platform_qt_backend, the fake one of the tests in platform_ui_fake). A program that
// links none does not link.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/ui/backend/ClipboardService.h"
#include "platform/ui/backend/DialogService.h"
#include "platform/ui/backend/DragDrop.h"
#include "platform/ui/backend/Enums.h"
#include "platform/ui/backend/ImageDecoders.h"
#include "platform/ui/backend/MenuPeers.h"
#include "platform/ui/backend/NativeViews.h"
#include "platform/ui/backend/Printing.h"
#include "platform/ui/backend/Screens.h"
#include "platform/ui/backend/Sinks.h"
#include "platform/ui/backend/WindowPeer.h"

// A call the backend cannot serve; the message names the call.
RTL_DECLARE_EXCEPTION(EBackendUnsupported, Exception);

namespace gdiplus::engine {
class Engine;
}

namespace ui {

class CanvasImpl;
class FontFace;
class ImageCodec;
class PixelStore;
struct RegionShape;

// A part of the desktop's visual style, as the theme calls name it.
struct ThemePart {
    enum Kind {
        PushButton, RadioButton, CheckBox, ComboButton, SpinUp, SpinDown,
        // A progress bar's groove and its filled contents.
        ProgressBar, ProgressChunk,
        // A header's section, and the area right of its last section.
        HeaderItem, HeaderEnd
    };
    Kind kind = PushButton;
    bool hot = false;
    bool pressed = false;
    bool disabled = false;
    bool defaulted = false;
    bool checked = false;
    bool mixed = false;
};

// What a backend may lack. A caller that can do without asks first; a call made anyway raises
// EBackendUnsupported naming it, never a silent no-op.
enum class Capability {
    MessageBoxes, CommonDialogs, Clipboard, Printing, OpenUrl, ThemeParts, DragDrop, ImageDecoders,
    // The desktop shows a top-level window with a constant or per-pixel opacity.
    TranslucentWindows
};

class Backend {
public:
    virtual ~Backend() = default;
    // "qt", "fake": for messages.
    virtual const char* Name() const = 0;
    virtual bool Supports(Capability capability) const = 0;
    // Nobody sits in front of the screen (the offscreen platform, the fake): nothing may wait
    // for a user's answer.
    virtual bool Headless() = 0;

    // The library's sinks, connected once, as the backend is made (GetBackend).
    void Connect(WindowSink& windows) { FWindows = &windows; }
    WindowSink& Windows() const;

    // Peers.
    virtual std::unique_ptr<WidgetPeer> CreateWidget(TWinControl* control, const TCreateParams& params) = 0;
    // The menu bar of a form's window (the window outlives it, or takes the bar with it).
    virtual std::unique_ptr<MenuBarPeer> CreateMenuBar(WidgetPeer& window, MenuSink& sink) = 0;
    virtual std::unique_ptr<PopupMenuPeer> CreatePopupMenu(MenuSink& sink) = 0;
    // Native views (NativeViews.h): the view of a native control of one family, made inside the
    // control's widget (host) and filling it; input on it takes the control's own road. nullptr:
    // this backend shows no views of the family, and the control keeps its state and rules
    // without one.
    virtual std::unique_ptr<TextView> CreateTextView(TextKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<ListView> CreateListView(ListKind kind, WidgetPeer& host, TWinControl* control, ListSink& sink) { return nullptr; }
    virtual std::unique_ptr<ButtonView> CreateButtonView(ButtonKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<RangeView> CreateRangeView(RangeKind kind, WidgetPeer& host, TWinControl* control, RangeSink& sink) { return nullptr; }
    virtual std::unique_ptr<StaticView> CreateStaticView(StaticKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<DateTimeView> CreateDateTimeView(DateTimeKind kind, WidgetPeer& host, TWinControl* control) { return nullptr; }
    virtual std::unique_ptr<RichTextView> CreateRichTextView(WidgetPeer& host, TWinControl* control) { return nullptr; }

    // The event loop.
    // Handles the backend's pending events without waiting; true when any was handled.
    virtual bool ProcessEvents() = 0;
    // Waits for a backend event, a wake-up or the process clock reaching deadlineMs
    // (rtl::NoDeadline: no time limit).
    virtual void WaitForEvents(uint64_t deadlineMs) = 0;
    // Any thread: ends a wait of the UI thread.
    virtual void Wake() = 0;
    // A loop of the backend's own (a message box, a common dialog) is about to run until the
    // matching End: each time it is about to wait, the backend calls serve and wakes again by the
    // time it answers (a monotonic time in ms; rtl::NoDeadline: only for events). Nested pairs
    // nest. A backend without loops of its own ignores them.
    virtual void BeginForeignLoop(std::function<uint64_t()> serve) { (void)serve; }
    virtual void EndForeignLoop() {}

    // The application and the screen.
    // The icon of every window that has none of its own.
    virtual void SetApplicationIcon(TIcon* icon) = 0;
    // One look of the pointer for the whole application; nullptr: none (each window's own).
    virtual void SetOverrideCursor(const CursorInfo* cursor) = 0;
    virtual TRect ScreenRect() = 0;
    virtual TRect WorkArea() = 0;

    // Services.
    // A real message box; the answer is one of the IDxxx values, or 0 when the box was closed
    // without a button.
    virtual int ShowMessageBox(const String& text, const String& caption, UINT flags) = 0;
    virtual DialogService& Dialogs() = 0;
    virtual ClipboardService& Clipboard() = 0;
    virtual PrinterService& Printing() = 0;
    // Lines scrolled per wheel notch as the desktop sets it (-1: a page); 0 when it says nothing.
    virtual int WheelScrollLines() = 0;
    // How far the pointer moves, in pixels, before a press becomes a drag as the desktop sets it;
    // 0 when it says nothing.
    virtual int DragDistance() { return 0; }
    // Opens a URL, or an absolute file path, with the desktop's handler; false when refused.
    virtual bool OpenUrl(const String& target) = 0;
    // Paints the part with the desktop's widget style over the bitmap's pixels, filling the bitmap.
    virtual bool DrawThemePart(TBitmap& target, const ThemePart& part) = 0;
    // Drag and drop with other programs, and the picture decoders the layer lacks.
    virtual DesktopDragDrop& DragDrop() = 0;
    virtual ImageDecoders& Decoders() = 0;

    // Graphics (Canvas.h, Pixels.h, Fonts.h): the pixels of bitmaps, the raster canvas, fonts,
    // the PNG codec and the pixels of curved regions. A backend without them answers
    // EBackendUnsupported naming the call.
    virtual std::unique_ptr<PixelStore> CreatePixelStore(TPixelFormat format);
    virtual std::unique_ptr<CanvasImpl> CreateRasterCanvas(TCanvas& front);
    virtual std::unique_ptr<FontFace> CreateFontFace(const TFont& font, bool antialias);
    virtual ImageCodec& PngCodec();
    virtual std::vector<TRect> RegionRects(const RegionShape& shape);

    // GDI+ (platform/gdiplus/Engine.h): anti-aliased paths, paints, images, fonts and the
    // decoders GDI+ adds. A backend without it answers EBackendUnsupported.
    virtual gdiplus::engine::Engine& GdiPlus() { Unsupported("GdiPlus"); }

    // The desktop's icon theme: the icon of a folder (folder true) or of the type of a file
    // named name (told by its extension), size x size pixels, into target as a pf32bit bitmap
    // with alpha. false when the theme has none for it; a backend without a desktop has none.
    virtual bool FileTypeIcon(bool folder, const String& name, int size, TBitmap& target) { return false; }

    // The library's sink for changes of the desktop's settings, connected with the window sink.
    void Connect(DesktopSink& desktop) { FDesktop = &desktop; }
    DesktopSink& Desktop() const;

    // Pop-up windows and screens (platform/ui/Monitors.h): every screen of the desktop, each
    // with its work area. The default is the one screen of ScreenRect and WorkArea.
    virtual std::vector<ScreenArea> Screens() { return {ScreenArea{ScreenRect(), WorkArea(), true}}; }

protected:
    // For a backend's answer to a call it cannot serve.
    [[noreturn]] void Unsupported(const char* call) const;

private:
    WindowSink* FWindows = nullptr;
    DesktopSink* FDesktop = nullptr;
};

// The backend, made on first use (on the UI thread) by the backend library the program links,
// and connected to the library's sinks.
Backend& GetBackend();
std::unique_ptr<Backend> MakeBackend();

}  // namespace ui
