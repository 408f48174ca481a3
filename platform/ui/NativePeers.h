#pragma once
// Native controls: a windowed control whose window shows a specific toolkit widget (a line edit,
// a text editor, a combo box, a push button...). The control keeps the state (text, selection,
// items, check state) and the rules; the native view shows that state. Keyboard and mouse input
// on the native widget reaches the control as window messages first, and the control's default
// handling of those messages does what the platform's control does, so a component that
// overrides WndProc or a message handler sees, changes or swallows the input as it expects.
//
// Input the toolkit must handle itself (an open drop-down list, dragging a slider's thumb) comes
// back through NativeSink.
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"


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

class TFont;
class TBitmap;

namespace ui {

class WidgetPeer;

enum class NativeKind { Label, Edit, Memo, ComboBox, ListBox, Button, CheckBox, RadioButton, GroupBox, ScrollBar, TrackBar, UpDown };

// What the toolkit reports back to the control.
enum class NativeNotify {
    ItemPicked,   // value: the item chosen in an open drop-down list
    CloseUp,      // the drop-down list closed
    ValueChanged, // value: new position of a slider or scroll bar moved by the user
    ScrollCode,   // value: a scroll code (SB_LINEUP...) of a user action, before ValueChanged
};

class NativeSink {
public:
    virtual ~NativeSink() = default;
    virtual void NativeNotification(NativeNotify what, int value) = 0;
    // Owner-drawn items of a list: draws item `index` into `target` (the size of the control's
    // client area) inside `rect`; state bits as TOwnerDrawState. False: the view draws it.
    virtual bool NativeDrawItem(int index, const TRect& rect, unsigned state, TBitmap& target) {
        (void)index; (void)rect; (void)state; (void)target;
        return false;
    }
    // Height of an owner-drawn item; -1: the view's.
    virtual int NativeMeasureItem(int index) { (void)index; return -1; }
};

// Positions are character indexes of the text as the view shows it: in a multi-line view a line
// break is one character (the control maps its CR LF pairs).
class NativeView {
public:
    virtual ~NativeView() = default;
    // Text views.
    virtual void SetText(const String& text) { (void)text; }
    virtual void Replace(int start, int count, const String& text) { (void)start; (void)count; (void)text; }
    virtual void SetSelection(int anchor, int caret) { (void)anchor; (void)caret; }
    virtual void SetReadOnly(bool value) { (void)value; }
    virtual void SetPasswordChar(char16_t ch) { (void)ch; }
    virtual void SetWordWrap(bool value) { (void)value; }
    // 0 none, 1 horizontal, 2 vertical, 3 both.
    virtual void SetScrollBars(int bars) { (void)bars; }
    // Margins of the text inside the widget: left, top, right, bottom.
    virtual void SetTextMargins(const TRect& margins) { (void)margins; }
    // The character nearest to a point in client coordinates; -1 when the view cannot tell.
    virtual int CharFromPos(int x, int y) { (void)x; (void)y; return -1; }
    // Top-left of a character (index = length: just after the last one); (-1, -1) when unknown.
    virtual TPoint PosFromChar(int index) { (void)index; return TPoint(-1, -1); }
    virtual void EnsureCaretVisible() {}
    // Owner-painted: the widget is not shown; the control draws it (Render) and paints over it.
    virtual void SetOwnerPainted(bool value) { (void)value; }
    // Draws the widget as it looks now into a bitmap of the control's size.
    virtual void Render(TBitmap& target) { (void)target; }
    // What the control drew over the widget's picture: the pixels where `painted` differs from
    // `native` (both the control's size) show above the widget; none: nothing does.
    virtual void SetOverlay(const TBitmap& painted, const TBitmap& native) { (void)painted; (void)native; }
    // Looks.
    virtual void SetFont(const TFont& font) { (void)font; }
    virtual void SetColors(int32_t background, int32_t text) { (void)background; (void)text; }
    // The sunken frame of edits and lists.
    virtual void SetFramed(bool value) { (void)value; }
    virtual void SetCaption(const String& caption) { (void)caption; }
    // The size the widget would like for its content; (0, 0) when it cannot tell.
    virtual TSize PreferredSize() { return TSize(); }
    // Lists and combo boxes.
    virtual void SetItems(const std::vector<String>& items) { (void)items; }
    virtual void SetItemIndex(int index) { (void)index; }
    virtual void SetItemSelected(int index, bool selected) { (void)index; (void)selected; }
    virtual void SetItemChecked(int index, int state) { (void)index; (void)state; }
    virtual void SetTopIndex(int index) { (void)index; }
    virtual int ItemAtPos(int x, int y) { (void)x; (void)y; return -1; }
    // Height of one item row; 0 when the view cannot tell.
    virtual int ItemHeight() { return 0; }
    virtual void SetItemHeight(int height) { (void)height; }
    // Items drawn by the control (NativeSink::NativeDrawItem); variable: heights asked per item.
    virtual void SetOwnerDrawItems(bool ownerDraw, bool variable) { (void)ownerDraw; (void)variable; }
    virtual void SetEditable(bool value) { (void)value; }
    virtual void SetDroppedDown(bool value) { (void)value; }
    virtual void SetDropDownCount(int value) { (void)value; }
    virtual void SetDroppedWidth(int value) { (void)value; }
    // Buttons: state 0 unchecked, 1 checked, 2 grayed.
    virtual void SetCheckState(int state) { (void)state; }
    virtual void SetDefault(bool value) { (void)value; }
    virtual void SetDown(bool value) { (void)value; }
    // A button's picture: frame `index` of `count` side-by-side pictures, the colour of the
    // bottom-left pixel transparent; nullptr: none. layout as TButtonLayout.
    virtual void SetGlyph(TBitmap* glyph, int index, int count, int layout, int spacing, int margin) {
        (void)glyph; (void)index; (void)count; (void)layout; (void)spacing; (void)margin;
    }
    // Ranges.
    virtual void SetRange(int min, int max, int page) { (void)min; (void)max; (void)page; }
    virtual void SetPosition(int value) { (void)value; }
    virtual void SetSteps(int small, int large) { (void)small; (void)large; }
    virtual void SetVertical(bool value) { (void)value; }
};

// Makes the native widget of a control inside the control's own widget (host), filling it.
// Returns nullptr when the backend has no widget of that kind.
std::unique_ptr<NativeView> CreateNativeView(NativeKind kind, WidgetPeer& host, TWinControl* control, NativeSink* sink);

// The process clipboard's text, for the edit controls' copy, cut and paste.
String NativeClipboardText();
void SetNativeClipboardText(const String& text);

}  // namespace ui
