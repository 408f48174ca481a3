#pragma once
// Native controls: a windowed control whose window shows a toolkit widget of one family (a line
// edit, a list, a push button, a slider...; see backend/NativeViews.h). The control keeps the
// state (text, selection, items, check state) and the rules; its view only shows that state.
// Keyboard and mouse input on the view reaches the control as window messages first, and the
// control's default handling of those messages does what the platform's control does, so a
// component that overrides WndProc or a message handler sees, changes or swallows the input as
// it expects.
//
// Components include the unit headers (StdCtrls.h, ExtCtrls.h, ComCtrls.h...), not this one.
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/backend/Enums.h"
#include "platform/ui/backend/NativeViews.h"

// Messages of the platform's standard controls, with the platform's numbers, which components
// send and compare against.
constexpr UINT WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304;
constexpr UINT EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3,
               EM_SETRECTNP = 0x00B4, EM_SCROLLCARET = 0x00B7, EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9,
               EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB, EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2,
               EM_LIMITTEXT = 0x00C5, EM_SETLIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7,
               EM_LINEFROMCHAR = 0x00C9, EM_SETPASSWORDCHAR = 0x00CC, EM_EMPTYUNDOBUFFER = 0x00CD,
               EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF, EM_GETPASSWORDCHAR = 0x00D2,
               EM_SETMARGINS = 0x00D3, EM_GETMARGINS = 0x00D4, EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6,
               EM_CHARFROMPOS = 0x00D7;
constexpr WPARAM EC_LEFTMARGIN = 1, EC_RIGHTMARGIN = 2, EC_USEFONTINFO = 0xFFFF;
constexpr UINT CB_GETEDITSEL = 0x0140, CB_LIMITTEXT = 0x0141, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
               CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148,
               CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B, CB_FINDSTRING = 0x014C,
               CB_SELECTSTRING = 0x014D, CB_SETCURSEL = 0x014E, CB_SHOWDROPDOWN = 0x014F, CB_GETITEMDATA = 0x0150,
               CB_SETITEMDATA = 0x0151, CB_SETITEMHEIGHT = 0x0153, CB_GETITEMHEIGHT = 0x0154,
               CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158, CB_GETDROPPEDWIDTH = 0x015F,
               CB_SETDROPPEDWIDTH = 0x0160;
constexpr LRESULT CB_ERR = -1;
constexpr UINT LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184,
               LB_SETSEL = 0x0185, LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187, LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189,
               LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B, LB_SELECTSTRING = 0x018C, LB_GETTOPINDEX = 0x018E,
               LB_FINDSTRING = 0x018F, LB_GETSELCOUNT = 0x0190, LB_SETTOPINDEX = 0x0197, LB_GETITEMRECT = 0x0198,
               LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A, LB_SETITEMHEIGHT = 0x01A0, LB_GETITEMHEIGHT = 0x01A1,
               LB_FINDSTRINGEXACT = 0x01A2, LB_ITEMFROMPOINT = 0x01A9;
constexpr LRESULT LB_ERR = -1;
constexpr UINT BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_CLICK = 0x00F5;
constexpr WPARAM BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2;
// Notifications of the edit and the combo box. They go to the parent window as WM_COMMAND with
// the code in the high word of WParam and the control's window in LParam; the parent's default
// handling reflects them to the control as CN_COMMAND, whose default handling runs the event.
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD CBN_SELCHANGE = 1, CBN_EDITCHANGE = 5, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8;
// Creation styles of the edit (TCreateParams::Style). A one-line edit aligns its text by
// ES_RIGHT or ES_CENTER and masks it with ES_PASSWORD; ES_MULTILINE on it only says that its
// formatting rectangle applies, which it always does here.
constexpr DWORD ES_LEFT = 0x0000, ES_CENTER = 0x0001, ES_RIGHT = 0x0002, ES_MULTILINE = 0x0004,
                ES_AUTOVSCROLL = 0x0040, ES_PASSWORD = 0x0020, ES_AUTOHSCROLL = 0x0080, ES_WANTRETURN = 0x1000;

namespace ui {

class Backend;
class WidgetPeer;

// The process clipboard's text, for the edit controls' copy, cut and paste.
String NativeClipboardText();
void SetNativeClipboardText(const String& text);

}  // namespace ui

// A windowed control shown by a native view. Its family's base (TNativeControlOf) makes the
// view and gives it typed.
class TNativeControl : public TWinControl {
public:
    explicit TNativeControl(TComponent* AOwner);
    ~TNativeControl() override;
    const char* ClassName() const override { return "TNativeControl"; }

    // The canvas of the control's window, for painting over an owner-painted control; while an
    // owner-drawn item is drawn, the canvas of that item's picture.
    TCanvas* Canvas();

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    // The view was made: the control shows its whole state on it.
    virtual void InitView() {}
    // The view, to ask it something (positions, sizes); nullptr until the window exists, and
    // on a backend that shows no native views.
    ui::NativeView* View() const { return FView.get(); }
    // A change to show on the view: `if (auto v = ChangeView()) v->SetText(...)`. An owner-painted
    // control repaints once the change is made, when the guard goes.
    template <class V>
    class ViewChange {
    public:
        explicit ViewChange(TNativeControl* control) : FControl(control) {}
        ~ViewChange() { FControl->ViewChanged(); }
        ViewChange(const ViewChange&) = delete;
        ViewChange& operator=(const ViewChange&) = delete;
        explicit operator bool() const { return FControl->FView != nullptr; }
        V* operator->() const { return static_cast<V*>(FControl->FView.get()); }

    private:
        TNativeControl* FControl;
    };
    // The view changed outside a ViewChange (InitView): repaint if owner-painted.
    void ViewChanged();
    // Shows the whole state on the view again (InitView), if there is one.
    void RefreshView();
    // Owner-painted: the native widget is drawn into the control's own image by Paint, so a
    // component can paint frames and buttons over it (as the styled controls do in WM_PAINT).
    bool OwnerPainted() const { return FOwnerPainted; }
    void SetOwnerPainted(bool value);
    // Default painting of an owner-painted control: the native widget's picture.
    virtual void Paint();
    // Draws the native widget's current picture at (0, 0) of the canvas (the client area's
    // top-left), over what the window holds there: where the widget paints nothing (a
    // transparent background) the erased background stays.
    void PaintNative(TCanvas* canvas);
    // The native widget's picture goes into the DC first (an owner-painted control paints it
    // through Paint); what a component draws after it shows over the widget.
    void PaintWindow(HDC DC) override;
    void PaintPassEnded() override;
    // An input method's composition shows in the view, at its caret; what it types arrives as
    // characters.
    void DefaultHandler(TMessage& Message) override;
    // The view fills the client area: it moves with the frame.
    void FrameWidthsChanged() override;
    // Owner-drawn items of lists: DrawItem paints item Index in Rect on Canvas(), which for the
    // time draws on `target`. False when the control does not draw its items.
    bool DrawOwnerItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target);
    // An owner-drawn item's height by MeasureItem; -1 when the control does not draw its items.
    int MeasureOwnerItem(int index);
    virtual bool OwnerDrawsItems() const { return false; }
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) { (void)Index; (void)Rect; (void)State; }
    virtual void MeasureItem(int Index, int& Height) { (void)Index; (void)Height; }
    void CMColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void ApplyLooks();
    // The colours the view shows: a disabled control's text in clGrayText, on clBtnFace where its
    // colour is the window's (a colour of its own stays), as the platform draws disabled controls.
    TColor ShownColor() const;
    TColor ShownTextColor() const;
    // The frame of a bordered control: 2 pixels sunken (WS_EX_CLIENTEDGE) with Ctl3D, 1 pixel
    // flat (WS_BORDER) without.
    void AddBorderStyle(TCreateParams& Params) const;
    // Focus follows a click, as on the platform's controls.
    void FocusOnClick();
    // Sends a notification (EN_CHANGE, CBN_DROPDOWN...) to the parent window as WM_COMMAND,
    // whose default handling reflects it back as CN_COMMAND; a control without a parent window
    // performs CN_COMMAND on itself. CN_COMMAND's default handling runs the event, so a parent
    // or a component that keeps the message stops it. False when a handler freed the control:
    // the caller must not touch it any more.
    bool Notify(WORD code);
    // Shared with whoever must know whether the control still exists after running a handler.
    std::shared_ptr<const bool> AliveToken() const { return FAlive; }

private:
    // The family's view of this control, made on the backend (see TNativeControlOf).
    virtual std::unique_ptr<ui::NativeView> MakeView(ui::Backend& backend, ui::WidgetPeer& host) = 0;
    // The widget's picture over what the window's image holds under the client area; false
    // without a view.
    bool RenderNative(TBitmap& picture);
    // The widget's picture, made again only when the widget may look otherwise; nullptr
    // without a view.
    TBitmap* NativePicture();
    // The widths of the frame round the client area.
    TRect FrameInsets() const;

    std::unique_ptr<ui::NativeView> FView;
    std::unique_ptr<TControlCanvas> FCanvas;
    TCanvas* FItemCanvas = nullptr;
    // The widget's picture as Render made it last, drawn again while the widget has not changed
    // (neither by itself nor by the control), and what the component's own drawing is told
    // apart from.
    std::unique_ptr<TBitmap> FNativePicture;
    bool FNativeStale = true;
    // What the pass repaints, in client coordinates: the overlay is made again there; covered:
    // the widget's picture was drawn over all of it.
    ui::Region FPassPart;
    bool FPassCovered = false;
    std::unique_ptr<TBitmap> FPainted;
    bool FOwnerPainted = false;
    // False once the control is gone: a notification's handlers may free it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

public:
    // How many times the widget's picture was made (tests).
    int NativeRenders() const { return FNativeRenders; }

private:
    int FNativeRenders = 0;
};

// The base of one family of native controls: V is the family's view (ui::TextView,
// ui::ListView, ui::ButtonView, ui::RangeView, ui::StaticView), so the control only makes the
// calls its family has.
template <class V>
class TNativeControlOf : public TNativeControl {
public:
    using TNativeControl::TNativeControl;

protected:
    // Makes the view: the family's factory call on the backend, inside the control's widget
    // (host). nullptr: the backend shows no views of the family.
    virtual std::unique_ptr<V> CreateView(ui::Backend& backend, ui::WidgetPeer& host) = 0;
    V* View() const { return static_cast<V*>(TNativeControl::View()); }
    ViewChange<V> ChangeView() { return ViewChange<V>(this); }

private:
    std::unique_ptr<ui::NativeView> MakeView(ui::Backend& backend, ui::WidgetPeer& host) final { return CreateView(backend, host); }
};
