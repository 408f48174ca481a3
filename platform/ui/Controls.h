#pragma once
// Controls: TControl (geometry, visibility, mouse, messages), TWinControl (a control with a window
// of its own: children, focus, keyboard), TGraphicControl (no window: paints on its parent's
// surface) and TCustomControl (a windowed control that paints itself).
//
// Messages: every control has a virtual WndProc, which passes the message to Dispatch, which
// calls the handler for the message number or DefaultHandler. A component handles a message by
// overriding Dispatch (a switch over the numbers it handles, falling back to the inherited
// Dispatch), by overriding one of the handler methods below, or by overriding WndProc to see
// every message first; each override calls the inherited one for what it leaves alone. Messages
// reach WndProc through the replaceable WindowProc, so another component may hook a control.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Region.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Messages.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = rtl::SmallSet<TShiftStateItem>;

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csParentBackground
};
using TControlStyle = rtl::SmallSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = rtl::SmallSet<TControlStateItem>;

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;


using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Reading order of a control's text, and whether a press starts dragging it.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragMode { dmManual, dmAutomatic };

// A control drag as the control under the pointer sees it: the pointer came in, left or moved.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target nullptr: the drag ended without a drop.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

class TControlActionLink;
class TControlDrag;
// A control's action link class: makes the link of a control (C++ has no class references).
using TControlActionLinkClass = TControlActionLink* (*)(TControl* Client);

// A window procedure of a control (TControl::WindowProc).
using TWndMethod = std::function<void(TMessage&)>;

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0: no limit
};

// Shift state of a mouse message's WParam, and of the keyboard as the backend last reported it.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardShiftState();
// Hints may hold a short and a long text: "short|long".
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
// True when Caption holds Key as its accelerator ("&x", case-insensitive).
bool IsAccel(WORD Key, const String& Caption);

namespace ui {
// Debug builds: stops the program, naming `what`, when called off the UI thread. Controls, their
// windows and canvases belong to the UI thread (other threads go through Synchronize, Queue or
// posted messages); a slip, such as a serial port's event-thread handler touching a control,
// would race with painting and input, so it fails at once instead of now and then.
#ifdef NDEBUG
inline void CheckUiThread(const char*) {}
#else
void CheckUiThread(const char* what);
#endif
class WidgetPeer;
// Opens a pop-up menu at a screen position; installed by the menu unit. True when it opened.
using PopupMenuHandler = std::function<bool(TPopupMenu* menu, TControl* control, const TPoint& screenPos)>;
void SetPopupMenuHandler(PopupMenuHandler handler);
}

// The canvas of a control: on the backing image of the control's window, with its origin at the
// control and clipped to it. Outside a paint pass drawing shows at the window's next repaint;
// inside one (see TPaintScope) the canvas draws through the paint DC, with that DC's origin and
// clip and its own pen, brush and font.
//
// Drawing outside a pass keeps the canvas locked until the event loop next runs (or the canvas
// goes), so a run of such calls shares one open painter as a pass does; the window is asked to
// show what they drew once, when the hold ends.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    ~TControlCanvas() override;
    const char* ClassName() const override { return "TControlCanvas"; }
    TControl* Control() const { return FControl; }
    // Points the canvas at the current image, position and clip; paintClip is in the window's
    // client coordinates. Window: the whole window, frame included, with its origin at the
    // window's top-left (what GetWindowDC gives).
    void UpdateTarget(const TRect* paintClip = nullptr, bool window = false);
    // Draws through another DC: its surface, origins and clip.
    void AttachTo(HDC dc);
    bool Painting() const { return FPaintDepth > 0; }

    // Ends the hold of drawing outside a pass: unlocks and shows what was drawn.
    void EndHold();

protected:
    void Changing() override;
    void Changed() override;

private:
    friend class TPaintScope;
    TControl* FControl;
    TRect FDeviceClip;
    int FPaintDepth = 0;
    bool FAttached = false;
    bool FHeld = false;   // locked by drawing outside a pass
    TRect FPendingShow;   // what that drawing touched, in the window's coordinates
};

namespace ui {
// Ends every hold of drawing outside a pass (TControlCanvas): the loop calls it as each pass
// begins.
void EndOffPassDrawing();
// The canvas a control keeps for itself: made on first use and, outside a paint pass, pointed at
// the control's image as it is now (its window made first, for a windowed control).
TControlCanvas* OwnCanvas(TControl* control, std::unique_ptr<TControlCanvas>& canvas);
}

// The paint guard every control shares: for its lifetime the canvas draws through the paint DC;
// afterwards (an exception included) it draws on the window again.
class TPaintScope {
public:
    TPaintScope(TControlCanvas& canvas, HDC dc);
    ~TPaintScope();
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

private:
    TControlCanvas& FCanvas;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }
    void BeforeDestruction() override;

    // Geometry, in the parent's client coordinates.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    TPoint ClientOrigin() const;  // screen position of the client area's top-left
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;
    TSizeConstraints& Constraints() { return FConstraints; }
    void SetConstraints(const TSizeConstraints& c);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show();
    void Hide();
    // Visible and every parent visible, up to a shown top-level window.
    virtual bool Showing() const;

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    // The control's font; with ParentFont it follows the parent's font.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    const String& Caption() const { return FText; }
    void SetCaption(const String& value) { SetText(value); }
    const String& Text() const { return FText; }
    void SetText(const String& value);
    int GetTextLen() const { return FText.Length(); }

    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);

    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value) { FPopupMenu = value; }

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // Repaints the control's area at the next paint pass; Update runs pending paint passes now.
    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // The control's window procedure: every message the layer delivers, Perform and SendMessage
    // included, goes through it; by default it is WndProc. A component keeps the one it found,
    // installs its own, chains to the kept one and puts it back later; nullptr restores WndProc.
    // A hook may replace itself while it runs. The control drops any hook as it is destroyed.
    TWndMethod WindowProc();
    void SetWindowProc(TWndMethod Value);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    // Right-click or the menu key: MousePos in client coordinates, (-1, -1) from the keyboard.
    // Unhandled, the control's PopupMenu opens; without one the parent is asked.
    TContextPopupEvent OnContextPopup;

    // The action the control follows, through a link made by GetActionLinkClass: the action's
    // changes reach the control through the link, and a click runs the action while the link
    // says OnExecute is linked (by default: the control has no OnClick of its own). Freeing
    // the action unlinks the control.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return FActionLink.get(); }

    // Reading order. With ParentBiDiMode the control takes its parent's mode. The right-to-left
    // answers are true only while the system's locale reads right to left (SysLocale.MiddleEast)
    // and the mode asks for it: reading for every mode but bdLeftToRight, alignment for
    // bdRightToLeft.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    bool UseRightToLeftReading() const;
    bool UseRightToLeftAlignment() const;
    // DrawText flags for the reading order: the horizontal alignment swapped under right-to-left
    // alignment (DT_RIGHT dropped, else DT_RIGHT added unless centred), DT_RTLREADING added under
    // right-to-left reading.
    UINT DrawTextBiDiModeFlags(UINT Flags) const;
    UINT DrawTextBiDiModeFlagsReadingOnly() const;

    // Scales the control by M / D (ChangeScale); D 0 raises EInvalidOperation and changes
    // nothing. The layer's forms are 96 dots per inch, so the layer never scales on loading.
    void ScaleBy(int M, int D);

    // Dragging a control onto others (OLE's drag and drop is another matter). With dmAutomatic a
    // left press starts a drag as BeginDrag(false) does. A drag is a grab of the input, not a
    // loop: BeginDrag returns at once. Immediate starts it at once; otherwise it starts once the
    // pointer is Threshold pixels away from where it was, either way (-1: the desktop's drag
    // distance, 5 without one), and a release before that is the control's own. Each move then
    // asks the control under the pointer (DragOver, client coordinates): dsDragEnter, dsDragMove,
    // and dsDragLeave for the one it left; the pointer shows crDrag where the answer accepts and
    // crNoDrop elsewhere. A release over an accepting control drops there (its DragDrop, then
    // this control's OnEndDrag with it as target); Escape, EndDrag(false) or a release elsewhere
    // ends with dsDragLeave and OnEndDrag without a target. One drag at a time, and none while
    // another grab of the input runs.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Whether this control's drag has begun (its threshold may not be passed yet).
    bool Dragging() const;
    // Drop (on the control under the pointer, if it accepted) or cancel this control's drag.
    void EndDrag(bool Drop);
    // The drag of Source is over this control: Accept says whether a drop here is taken. By
    // default Accept is whether OnDragOver is assigned, which is then asked.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    // Source was dropped here: OnDragDrop.
    virtual void DragDrop(TObject* Source, int X, int Y);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    // The class of the control's action link; a control with more to follow returns its own.
    virtual TControlActionLinkClass GetActionLinkClass() const;
    // Takes the action's properties as it is linked: all of them, or with CheckDefaults (an
    // action still loading) only those the control has left at their defaults.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void CMBiDiModeChanged(TMessage& Message);
    virtual void CMParentBiDiModeChanged(TMessage& Message);

    // This control's drag ended, on Target (nullptr: nothing took it): OnEndDrag.
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    // Left, Top, Width and Height become MulDiv(value, M, D), and the font's Height too when the
    // control does not take its parent's font; a windowed control scales its children first.
    virtual void ChangeScale(int M, int D);
    virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
    virtual void WMContextMenu(TMessage& Message);
    // Counts the writes of Text(): a control that keeps the text twice can tell whether it was
    // written since it last looked without comparing the two.
    uint64_t TextVersion() const { return FTextVersion; }
    // Replaces count characters of Text() at start, then CM_TEXTCHANGED: an edit's change of a
    // long text costs what it changes, not the whole text compared and copied.
    void ReplaceText(size_t start, size_t count, const String& inserted);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // The part of the control that changed, in its own coordinates, to repaint.
    virtual void InvalidateRect(const TRect& r);
    // Bounds changed: the parent realigns and repaints.
    virtual void BoundsChanged(const TRect& oldBounds);
    void ApplyConstraints(int& w, int& h) const;

    // Message handlers; each is reached through Dispatch.
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);
    virtual void WMLButtonDblClk(TMessage& Message);
    virtual void WMRButtonDown(TMessage& Message);
    virtual void WMRButtonUp(TMessage& Message);
    virtual void WMMButtonDown(TMessage& Message);
    virtual void WMMButtonUp(TMessage& Message);
    virtual void WMMouseMove(TMessage& Message);
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    // The font changed: ParentFont ends, CM_FONTCHANGED goes out.
    virtual void FontChanged();
    virtual void CMHitTest(TMessage& Message);

    TControlStyle FControlStyle;
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend struct UiInput;
    friend class TControlDrag;
    // CM_DESIGNHITTEST for a mouse message: true when the control takes it as at run time.
    bool DesignHitTest(const TMessage& Message);
    // Through the window procedure: the installed one, else WndProc.
    void Deliver(TMessage& Message);
    void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState extra = {});
    void DoMouseUp(TMessage& Message, TMouseButton Button);

    // Shared, so that a hook replaced while it runs stays alive until it returns.
    std::shared_ptr<const TWndMethod> FWindowProc;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TSizeConstraints FConstraints;
    TAlign FAlign = alNone;
    TWinControl* FParent = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    String FText;
    uint64_t FTextVersion = 0;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TCursor FCursor = crDefault;
    std::unique_ptr<TControlActionLink> FActionLink;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TDragMode FDragMode = dmManual;
};

// The link of a control to its action: the control follows the action's caption, enabled
// state, hint and visibility while it still shows what the action gave it (a property the
// program changed on the control stays the control's own), and a click runs the action while
// the control has no OnClick of its own. A control with more to follow (checked, group) has a
// link class of its own.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TObject* AClient) : TActionLink(AClient) { TControlActionLink::AssignClient(AClient); }
    const char* ClassName() const override { return "TControlActionLink"; }

protected:
    friend class TControl;
    void AssignClient(TObject* AClient) override;
    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const String& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const String& Value) override;
    void SetVisible(bool Value) override;
    TControl* FClient = nullptr;
};

// The action link class of T, for GetActionLinkClass.
template <class T>
TControlActionLinkClass ActionLinkClassOf() {
    return [](TControl* client) -> TControlActionLink* { return TBasicActionLink::Create<T>(client); };
}

// What a window is made from. Style and ExStyle decide the frame (borders, edges, scroll bars,
// a child's caption) and, for a top-level or pop-up window, the kind of window the backend makes.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    TRect Bounds;
    WNDCLASS WindowClass;
    String WinClassName;  // answered by GetClassName
    // The owner of a top-level window: the window it stays above and that hides and destroys
    // it with itself. A pop-up with a parent is owned by its parent's form unless this says.
    HWND WndParent = nullptr;
    bool TopLevel = false;
    bool Visible = false;
    bool Enabled = true;
};

// The way a scroll bar runs, for the scroll bar control and the scrolling controls' bars.
enum TScrollBarKind { sbHorizontal, sbVertical };

namespace ui {
// The thickness of a window scroll bar in the frame, and of its arrow buttons; GetSystemMetrics
// answers it for the scroll-bar widths and heights.
constexpr int kWindowScrollBarSize = 17;
}

// The bevel of a windowed control's frame: each cut is a line style, the kind how it is drawn
// (bkNone: no bevel), the edges which sides have it.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = rtl::SmallSet<TBevelEdge>;
using TBevelWidth = int;

// One of the window's own scroll bars (SB_HORZ, SB_VERT), drawn in its frame.
struct TWindowScrollBar {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    UINT Disabled = ESB_ENABLE_BOTH;  // ESB_ flags
    bool KeepWhenUnneeded = false;    // SIF_DISABLENOSCROLL
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    // The window: made on first use (or when the control is first shown on a parent that has
    // one), with the control's WndProc as window procedure.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    ui::WidgetPeer* Peer() const { return FPeer.get(); }
    // The backing image of the whole window (frame included) that all drawing of this control
    // and its graphic children goes to; nullptr until the window exists.
    TBitmap* BackingImage() const { return FImage.get(); }
    // The client area inside the window, in window coordinates: the window less its frame
    // (WM_NCCALCSIZE). The frame is known once the window exists.
    TRect ClientArea() const;
    TRect ClientRect() const override;
    DWORD WindowStyle() const { return FStyle; }
    DWORD WindowExStyle() const { return FExStyle; }
    // A window made with WS_POPUP (and no WS_CHILD) is top-level even with a parent: its bounds
    // are screen coordinates.
    bool IsPopup() const { return FParent && (FStyle & WS_POPUP) != 0 && (FStyle & WS_CHILD) == 0; }
    // Makes the window again from CreateParams; the control keeps its state.
    void RecreateWnd();
    // The frame changed (style, scroll bars, a reserved border): measure it again and repaint it.
    void FrameChanged();
    // Repaints the frame at the next paint pass.
    void InvalidateFrame();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    bool ContainsControl(const TControl* c) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    // The topmost visible child under P (client coordinates).
    TControl* ControlAtPos(const TPoint& P, bool AllowDisabled, bool AllowWinControls = false) const;
    // Sends the message to every child control.
    void Broadcast(TMessage& Message);
    void AlignControls();

    // The 3D look (on by default): the frame of a bordered control (an edit, memo or combo box)
    // is sunken with it (WS_EX_CLIENTEDGE) and flat without (WS_BORDER). With ParentCtl3D (on by
    // default) the control follows its parent's; setting Ctl3D ends that. A change makes the
    // frame again (RecreateFrame) and passes on to the children that follow.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value);
    // Lays the aligned children out again (AlignControls).
    void Realign() { AlignControls(); }

    // A bevel in the frame: with BevelKind other than bkNone, each edge in BevelEdges takes
    // BevelWidth from the client area for each of BevelOuter and BevelInner that is not bvNone,
    // inside the border and edges and around the scroll bars, and is drawn there with DrawEdge
    // in the system colours (bkFlat: one shadow line an edge). A change measures and repaints
    // the frame. BevelWidth below 1 raises EInvalidOperation and keeps the old width.
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges value);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth value);

    // Windowed controls always draw into their backing image; kept for the components that set it.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    // Windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Invalidate() override;
    void Update() override;
    bool Showing() const override;
    void SetEnabled(bool value) override;

    // The paint pass: the frame (WM_NCPAINT) when it is invalid, then WM_PAINT when part of the
    // client area is. The backend calls it before showing the image; Update calls it too.
    void PaintPending();
    // Draws the control as it shows on the screen onto DC with its top-left at (X, Y): its
    // frame, its painting with its graphic children, its windowed children in z-order and
    // native views through their pictures, cut to its region; all through the messages of a
    // paint pass (its BeginPaint, GetDC and GetWindowDC give the target), so a component's own
    // WM_PAINT shows. It works for a control that is not shown and leaves the window as valid
    // or invalid as it was. A DC that is no DC draws nothing.
    void PaintTo(HDC DC, int X, int Y);
    void PaintTo(TCanvas* Canvas, int X, int Y);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelEvent OnMouseWheel;

protected:
    virtual void CreateParams(TCreateParams& Params);
    void ChangeScale(int M, int D) override;
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Made visible, hidden, reparented, resized: the widget follows.
    void UpdatePeer();
    // Sends CM_SHOWINGCHANGED to this control and its windowed descendants whose Showing
    // changed since they were last told.
    void UpdateShowing();

    // The frame's styles (borders and edges) as CreateParams gives them now take effect: the
    // window keeps its widgets and state, and its frame is measured and painted again.
    void RecreateFrame();
    // The frame was measured with other widths: the client area moved inside the window.
    virtual void FrameWidthsChanged() {}
    // A bevel property changed: by default the frame is measured and painted again.
    virtual void BevelsChanged();

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char16_t& Key);
    // KeyPreview of the form, then KeyDown/KeyUp/KeyPress; true when the key was swallowed.
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
    virtual void DoEnter();
    virtual void DoExit();
    // The paint handler: with a DC in WParam it paints into that DC; otherwise BeginPaint (which
    // erases through WM_ERASEBKGND), PaintWindow, PaintControls, EndPaint.
    void PaintHandler(TMessage& Message);
    // The control's own painting (TCustomControl) into the DC, in client coordinates.
    virtual void PaintWindow(HDC DC) { (void)DC; }
    // The part of the client area that aligned children share (a frame drawn by the control
    // stays free).
    virtual void AdjustClientRect(TRect& Rect) {}
    // Height of a menu bar that is part of the frame (a form's main menu); 0: none.
    virtual int FrameMenuHeight() const { return 0; }
    // The graphic children, from First on (nullptr: all), each with the DC's origin moved to it.
    void PaintControls(HDC DC, TControl* First);
    // A paint pass of this window has ended (its WM_PAINT handlers and what they drew after
    // the inherited painting are done).
    virtual void PaintPassEnded() {}
    void InvalidateRect(const TRect& r) override;
    void BoundsChanged(const TRect& oldBounds) override;

    void Dispatch(TMessage& Message) override;
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMKeyUp(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMSysKeyDown(TMessage& Message);
    virtual void WMSysChar(TMessage& Message);
    virtual void CNKeyDown(TMessage& Message);
    virtual void CNChar(TMessage& Message);
    virtual void WMGetDlgCode(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    // CM_MOUSEWHEEL first (the control's own handling); unhandled, the parent gets WM_MOUSEWHEEL.
    virtual void WMMouseWheel(TMessage& Message);
    // DoMouseWheel (OnMouseWheel and its kin): 1 when handled, else 0; never passed on.
    virtual void CMMouseWheel(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMPaint(TMessage& Message);
    // Default: fills the DC's visible part with Color (nothing for csOpaque controls); Result 1.
    virtual void WMEraseBkgnd(TMessage& Message);
    // Default: the standard frame of the style (borders, edges, scroll bars, a child's caption).
    virtual void WMNCCalcSize(TMessage& Message);
    // Default: draws the standard frame through GetWindowDC.
    virtual void WMNCPaint(TMessage& Message);
    virtual void WMNCHitTest(TMessage& Message);
    // A press on a scroll bar of the frame starts tracking it.
    virtual void WMNCLButtonDown(TMessage& Message);
    // Scroll messages: a window's own bars send LParam 0, a scroll bar control its handle. By
    // default a bar control's message goes back to that control as CN_HSCROLL/CN_VSCROLL.
    virtual void WMHScroll(TMessage& Message);
    virtual void WMVScroll(TMessage& Message);
    // A child control's WM_NOTIFY (hwndFrom one of this window's children) goes back to that
    // control as CN_NOTIFY; others are left to the default handling.
    virtual void WMNotify(TMessage& Message);
    // A control's notification (WM_COMMAND with the code in the high word of WParam and the
    // control's window in LParam) goes back to that control as CN_COMMAND, its answer the
    // answer; a WM_COMMAND naming no control of the program is left alone (answer 0).
    virtual void WMCommand(TMessage& Message);
    // WParam FALSE: paint passes leave this window and its children unpainted and the widgets
    // stop showing changes, while invalidations accumulate; TRUE: painting resumes. Nested FALSE
    // calls are not counted, and the message invalidates nothing.
    virtual void WMSetRedraw(TMessage& Message);
    // The pointer over a window (WParam) at a hit (low word of LParam): the parent is asked first
    // (TRUE ends it); a child's message goes no further. Over the client area the Cursor of the
    // control under the pointer (a graphic child's included) shows, over a sizing border the size
    // cursor, elsewhere the arrow; Screen->Cursor other than crDefault wins. TRUE when shown.
    virtual void WMSetCursor(TMessage& Message);
    // A child control moved, changed size, was shown or hidden, came or went.
    virtual void ChildLayoutChanged(TControl* Child) { (void)Child; }
    virtual void CMEnter(TMessage& Message);
    virtual void CMExit(TMessage& Message);
    virtual void CMDialogKey(TMessage& Message);
    virtual void CMDialogChar(TMessage& Message);
    virtual void CMFocusChanged(TMessage& Message) {}
    void CMEnabledChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    // Ctl3D changed: the frame is made again and the children that follow are told.
    virtual void CMCtl3DChanged(TMessage& Message);
    virtual void CMParentCtl3DChanged(TMessage& Message);

private:
    friend class TControl;
    friend class TCustomForm;
    friend struct UiInput;
    friend struct WindowApi;
    void CreateHandleTree();
    void DestroyHandleTree();
    // The window's bounds in its parent widget: the parent's client area starts past its frame.
    TRect PeerBounds() const;
    void PlaceChildPeers();
    // WM_SETREDRAW FALSE holds for this window or one it sits in.
    bool RedrawSuspended() const;
    void InvalidateClient(const TRect& r, bool erase);
    // Sends WM_NCCALCSIZE; true when the frame widths changed.
    bool MeasureFrame();
    // Screen position of the window's top-left.
    TPoint WindowOrigin() const;
    // What the bevel takes from each side of the window (zero without a bevel), and its painting
    // in the band between the two rectangles (window coordinates).
    TRect BevelInsets() const;
    void PaintBevel(HDC dc, const TRect& outside, const TRect& inside);
    // Frame parts, in window coordinates.
    TRect ScrollBarRect(int bar) const;
    TWindowScrollBar& ScrollBar(int bar) { return bar == SB_HORZ ? FHScroll : FVScroll; }
    // A scroll bar was pressed, dragged or released (window coordinates).
    void TrackScrollBar(UINT msg, const TPoint& p);
    // A held arrow or page area acts again, after the key repeat's delay and then at its rate.
    void RepeatScroll();
    static void ScrollRepeatTick(HWND hwnd, UINT msg, uintptr_t id, DWORD time);

    std::vector<TControl*> FControls;     // z-order, bottom first
    std::vector<TWinControl*> FTabList;   // tab order
    HWND FHandle = nullptr;
    std::unique_ptr<TBitmap> FImage;
    std::unique_ptr<ui::WidgetPeer> FPeer;
    ui::InvalidArea FDirty;      // client coordinates
    bool FErase = false;         // the invalid part needs WM_ERASEBKGND
    bool FFrameDirty = false;    // the frame needs WM_NCPAINT
    bool FPainting = false;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    String FWinClassName;
    // Frame widths: the client area is the window less these.
    TRect FInsets;
    TWindowScrollBar FHScroll, FVScroll;
    struct Tracking {
        int Bar = -1;       // SB_HORZ, SB_VERT; -1: none
        int Part = 0;       // the scroll code of the pressed part; SB_THUMBTRACK for the thumb
        int GrabOffset = 0; // pointer to thumb start, along the bar
        TPoint Pointer;     // where the pointer is (window coordinates)
        bool Repeating = false;  // past the first delay
    } FTrack;
    bool FTabStop = false;
    bool FAligning = false;
    bool FDoubleBuffered = false;
    bool FShowingNotified = false;  // Showing as CM_SHOWINGCHANGED last told it
    bool FRedrawOff = false;        // WM_SETREDRAW FALSE

    bool FCtl3D = true;
    bool FParentCtl3D = true;

    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelKind FBevelKind = bkNone;
    TBevelEdges FBevelEdges = TBevelEdges() << beLeft << beTop << beRight << beBottom;
    TBevelWidth FBevelWidth = 1;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    const char* ClassName() const override { return "TGraphicControl"; }
    // Drawing on the parent's image, clipped to this control; inside a paint pass also to the
    // part being painted. Reading gives the parent's pixels under the control.
    TCanvas* Canvas();

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& Message) override;
    // With the parent's DC in WParam (its origin at this control): Paint through that DC.
    virtual void WMPaint(TMessage& Message);

private:
    friend class TWinControl;
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    const char* ClassName() const override { return "TCustomControl"; }
    TCanvas* Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The windowed control whose Handle this is, or nullptr.
TWinControl* FindControl(HWND Handle);
// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(const TControl* Control);
// The control under the mouse, capture control.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// ---------------------------------------------------------------------------------------------
// The mouse: its capture and where the pointer is (the same answers as GetCapture and
// GetCursorPos), and the control under a point of the screen.
class TMouse {
public:
    // The window that has the mouse captured; a graphic control's capture is its parent's window.
    HWND Capture() const;
    // Captures the mouse for the window; nullptr releases it.
    void SetCapture(HWND Value);
    // Where the layer last saw the pointer, in screen coordinates.
    TPoint CursorPos() const;
};
extern TMouse* const Mouse;

// The control under a screen point: the deepest shown window of the program there, or the
// graphic control of that window under the point. Disabled controls only with AllowDisabled
// (otherwise the nearest enabled parent answers); nullptr over no window of the program.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
