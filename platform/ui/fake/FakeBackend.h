#pragma once
// A backend without a desktop, for tests of what the UI library decides by itself (focus,
// alignment, messages, menus, the loop): windows are records of what the library asked of them,
// paint requests are served by the loop, menus keep their lines, and input goes straight into the
// library's window sink. Nobody sits in front of it (it is headless), and what only a desktop has
// (message boxes, common dialogs, the clipboard, printers, the URL opener, themed parts, drag and
// drop with other programs, picture decoders, pictures of windows) it lacks and says so. It shows
// no native views unless a test asks for list views (ShowListViews): the factories' defaults
// answer nullptr, and the controls keep their state and rules without one.
//
// A test program runs on it by linking platform_ui_fake (link_backend(target fake)).
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "platform/ui/backend/Backend.h"

namespace ui::fake {

class FakeMenuBar;

// A control's window: what the library last asked of it.
class FakeWindow final : public WidgetPeer {
public:
    FakeWindow(TWinControl* control, const TCreateParams& params);
    ~FakeWindow() override;

    void SetParent(WidgetPeer* parent) override;
    void SetBounds(const TRect& r) override { Bounds = r; }
    // Shown, it and the windows in it are painted, as a window system exposes them.
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    void SetCaption(const String& caption) override { Caption = caption; }
    void SetStyles(DWORD style, DWORD exStyle) override;
    WindowKind Kind() const override;
    void PlaceMenuBar(const TRect& band) override { MenuBand = band; }
    void SetIcon(TIcon*) override {}
    void SetWindowState(TWindowState state) override { WindowState = state; }
    void SetCursorShape(const CursorInfo& cursor) override { Cursor = cursor; }
    void SetMouseCapture(bool) override {}
    void SetFocus() override;
    void Raise() override;
    void Lower() override;
    void Activate() override {}
    void Update(const TRect& r) override;
    void SetDropShadow(bool shadow) override { Shadow = shadow; }
    void SetRedraw(bool redraw) override;
    void SetShape(const std::vector<TRect>* shape) override {
        Shaped = shape != nullptr;
        Shape = shape ? *shape : std::vector<TRect>();
    }
    void SetInputTransparent(bool transparent) override { InputTransparent = transparent; }
    // A desktop without translucency is never asked for it: a call is a fault the tests count.
    void SetOpacity(BYTE) override { ++TranslucencyCalls; }
    void SetLayeredImage(const TBitmap*) override { ++TranslucencyCalls; }

    // Visible, and so is every window it sits in.
    bool Showing() const;
    // The deepest shown window at a point of this window (window coordinates), and the point in
    // that window's coordinates.
    FakeWindow* WindowAt(TPoint& p);

    TWinControl* const Control;
    FakeWindow* Parent = nullptr;
    std::vector<FakeWindow*> Children;  // bottom first
    TRect Bounds;
    bool Visible = false;
    bool Enabled = true;
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    bool TopLevel = false;
    TWindowState WindowState = wsNormal;
    CursorInfo Cursor;
    TRect MenuBand;
    FakeMenuBar* MenuBar = nullptr;
    bool Painting = false;
    bool Shadow = false;
    bool Redraw = true;
    bool Shaped = false;
    std::vector<TRect> Shape;
    bool InputTransparent = false;
    int TranslucencyCalls = 0;

private:
    // It and the windows in it are to be painted.
    void Expose();
};

// The view of a list or combo box, when a test asks for them: the items, selection and marks as
// the control showed them, and a count of what it was sent.
class FakeListView final : public ListView {
public:
    explicit FakeListView(TWinControl* control);
    ~FakeListView() override;
    void SetFont(const TFont&) override {}
    void SetColors(int32_t, int32_t) override {}
    void SetFrameInsets(const TRect&) override {}
    void SetOwnerPainted(bool) override {}
    void Render(TBitmap&) override {}
    bool PictureChanged() override { return true; }
    void SetOverlay(const TBitmap&, const TBitmap&, const TRect&) override {}
    void SetComposition(const String&, int) override {}
    void SetItems(const std::vector<String>& items) override;
    void InsertItem(int index, const String& text) override;
    void DeleteItem(int index) override;
    void SetItemText(int index, const String& text) override;
    void SetItemIndex(int index) override { ItemIndex = index; }
    void SetOwnerDrawItems(bool, bool) override {}
    void SetItemSelected(int index, bool selected) override;
    void SetTopIndex(int) override {}
    int ItemAtPos(int, int) override { return -1; }
    int ItemHeight() override { return 0; }
    void SetItemHeight(int) override {}
    void SetItemChecked(int index, TCheckBoxState state) override;
    void SetEditable(bool) override {}
    void SetText(const String&) override {}
    void SetSelection(int, int) override {}
    int CharFromPos(int, int) override { return -1; }
    void SetDroppedDown(bool) override {}
    void SetDropDownCount(int) override {}
    void SetDroppedWidth(int) override {}

    TWinControl* const Control;
    std::vector<String> Items;
    std::vector<bool> Selected;
    std::vector<TCheckBoxState> Checks;
    int ItemIndex = -1;
    // Item texts handed over by every call, and the calls that sent all the items.
    size_t TextsSent = 0;
    int WholeLists = 0;
};

// The menu bar of a form's window: its lines, and the user's part for tests to play.
class FakeMenuBar final : public MenuBarPeer {
public:
    FakeMenuBar(FakeWindow& window, MenuSink& sink);
    ~FakeMenuBar() override;
    int SetLines(const std::vector<MenuLine>& lines) override;
    // The user opens the sub-menu of item / chooses item.
    void Open(TMenuItem* item) { FSink.SubMenuOpening(item); }
    void Choose(TMenuItem* item) { FSink.ItemChosen(item); }
    const std::vector<MenuLine>& Lines() const { return FLines; }
    // The window went first.
    void Detach() { FWindow = nullptr; }
    static constexpr int kHeight = 20;

private:
    FakeWindow* FWindow;
    MenuSink& FSink;
    std::vector<MenuLine> FLines;
};

class FakeBackend final : public Backend {
public:
    const char* Name() const override { return "fake"; }
    bool Supports(Capability) const override { return false; }
    bool Headless() override { return true; }

    std::unique_ptr<WidgetPeer> CreateWidget(TWinControl* control, const TCreateParams& params) override;
    std::unique_ptr<MenuBarPeer> CreateMenuBar(WidgetPeer& window, MenuSink& sink) override;
    std::unique_ptr<PopupMenuPeer> CreatePopupMenu(MenuSink&) override { Unsupported("CreatePopupMenu"); }
    // List and combo boxes get a FakeListView while ShowListViews is set.
    std::unique_ptr<ListView> CreateListView(ListKind kind, WidgetPeer& host, TWinControl* control, ListSink& sink) override;
    bool ShowListViews = false;

    // Serves the paint requests of shown windows.
    bool ProcessEvents() override;
    void WaitForEvents(uint64_t deadlineMs) override;
    void Wake() override;

    void SetApplicationIcon(TIcon*) override {}
    void SetOverrideCursor(const CursorInfo* cursor) override { OverrideCursor = cursor ? *cursor : CursorInfo(); }
    TRect ScreenRect() override { return TRect(0, 0, 1024, 768); }
    TRect WorkArea() override { return TRect(0, 0, 1024, 768); }

    int ShowMessageBox(const String&, const String&, UINT) override { Unsupported("ShowMessageBox"); }
    DialogService& Dialogs() override { Unsupported("Dialogs"); }
    ClipboardService& Clipboard() override { Unsupported("Clipboard"); }
    PrinterService& Printing() override { Unsupported("Printing"); }
    // The desktop says nothing about the wheel.
    int WheelScrollLines() override { return 0; }
    bool OpenUrl(const String&) override { Unsupported("OpenUrl"); }
    bool DrawThemePart(TBitmap&, const ThemePart&) override { Unsupported("DrawThemePart"); }
    DesktopDragDrop& DragDrop() override { Unsupported("DragDrop"); }
    // Graphics (FakeGraphics.h): pixels in memory, fixed-pitch fonts, a canvas that paints nothing.
    std::unique_ptr<PixelStore> CreatePixelStore(TPixelFormat format) override;
    std::unique_ptr<CanvasImpl> CreateRasterCanvas(TCanvas& front) override;
    std::unique_ptr<FontFace> CreateFontFace(const TFont& font, bool antialias) override;
    ImageDecoders& Decoders() override { Unsupported("Decoders"); }

    CursorInfo OverrideCursor;

private:
    friend class FakeWindow;
    std::set<FakeWindow*> FPaints;  // UI thread only
    std::mutex FMutex;
    std::condition_variable FWoken;
    bool FWake = false;
};

// The fake backend of the test program, and the parts of it a test plays with.
FakeBackend& Instance();
FakeWindow* WindowOf(TWinControl* control);
// Whether a window is still alive (not freed since).
bool Exists(const FakeWindow* window);
FakeMenuBar* MenuBarOf(TCustomForm* form);
// The list view of a control, while it has one.
FakeListView* ListViewOf(TWinControl* control);

}  // namespace ui::fake
