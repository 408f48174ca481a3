#pragma once
// Native views: the toolkit widget that shows a native control (a line edit, a list, a push
// button, a slider...), placed inside the control's own widget and filling it. The control keeps
// the state and the rules; its view only shows that state. Keyboard and mouse input on the view
// reaches the control as window messages, by the control's own input road.
//
// One interface per family, each made by its own call on the backend (Backend::CreateTextView,
// CreateListView, ...), so a control can only make the calls its family has: asking a button for
// its text selection does not compile. Within a family the kinds differ a little (a single-line
// edit has no word wrap, a combo box no multiple selection); a call the kind does not have raises
// ENativeViewUnsupported naming the call and the kind, never does nothing.
//
// What the toolkit must run itself (an open drop-down list, dragging a thumb) comes back through
// the family's sink.
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/ui/backend/Enums.h"

class TBitmap;
class TFont;

namespace ui {

struct RichContent;

// A call the view of this kind does not have.
class ENativeViewUnsupported : public Exception {
public:
    ENativeViewUnsupported(const char* call, const char* kind)
        : Exception(String(call) + String(" is not supported by a native view of kind ") + String(kind)) {}
    const char* ClassName() const override { return "ENativeViewUnsupported"; }
};

// What every native view does, whatever its family.
class NativeView {
public:
    virtual ~NativeView() = default;
    virtual void SetFont(const TFont& font) = 0;
    // Colours as the control holds them (system colours included). A background of clNone
    // paints none: what lies under the widget (the control's window) shows through it.
    virtual void SetColors(int32_t background, int32_t text) = 0;
    // The widths of the window's frame round the widget (left, top, right, bottom): the widget
    // fills the client area inside them, and the frame is the control's to paint.
    virtual void SetFrameInsets(const TRect& insets) = 0;
    // Owner-painted: the widget is not shown; the control draws it (Render) and paints over it.
    virtual void SetOwnerPainted(bool value) = 0;
    // Draws the widget as it looks now over what a bitmap of the client area's size holds (what
    // lies under the widget): where the widget paints nothing, the bitmap keeps its pixels.
    virtual void Render(TBitmap& target) = 0;
    // Whether the widget may look other than at the last Render: it changed by itself (input,
    // focus, a blinking caret, hover, its own timers), or its background shows what lies under
    // it. The changes the control makes it knows of itself.
    virtual bool PictureChanged() = 0;
    // What the control drew over the widget's picture, made again inside `part` (client
    // coordinates; elsewhere it stays as it was): the pixels where `painted` differs from
    // `native` (both the client area's size) show above the widget. One bitmap as both: nothing
    // shows inside part.
    virtual void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) = 0;
    // An input method's composition (text not typed yet), shown at the caret of the view's text
    // as the desktop shows one, with its cursor; empty: none. A view without text shows none.
    virtual void SetComposition(const String& text, int cursor) = 0;
};

// ---- text: edit and memo ----

enum class TextKind { SingleLine, MultiLine };

// Positions are character indexes of the text as the view shows it: in a multi-line view a line
// break is one character (the control maps its CR LF pairs).
class TextView : public NativeView {
public:
    virtual void SetText(const String& text) = 0;
    virtual void Replace(int start, int count, const String& text) = 0;
    virtual void SetSelection(int anchor, int caret) = 0;
    virtual void SetReadOnly(bool value) = 0;
    virtual void SetAlignment(TAlignment value) = 0;
    // Margins of the text inside the widget: left, top, right, bottom; all 0: the view's own.
    virtual void SetTextMargins(const TRect& margins) = 0;
    // The character nearest to a point in client coordinates; -1 when the view cannot tell.
    virtual int CharFromPos(int x, int y) = 0;
    // Top-left of a character (index = length: just after the last one); (-1, -1) when unknown.
    virtual TPoint PosFromChar(int index) = 0;
    virtual void EnsureCaretVisible() = 0;
    // Single-line only: every character shown as one mark (0: as typed).
    virtual void SetPasswordChar(char16_t ch) = 0;
    // Multi-line only.
    virtual void SetWordWrap(bool value) = 0;
    virtual void SetScrollBars(TScrollStyle bars) = 0;
};

// ---- list: list box, check list, combo box ----

enum class ListKind { ListBox, CheckListBox, ComboBox };

// What a list's view reports back to its control.
class ListSink {
public:
    virtual ~ListSink() = default;
    // The user chose an item in the open drop-down list.
    virtual void ListItemPicked(int index) = 0;
    // The drop-down list closed.
    virtual void ListClosedUp() = 0;
    // Owner-drawn items: draws item `index` into `target` (the size of the control's client
    // area) inside `rect`. False: the view draws it.
    virtual bool DrawListItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target) = 0;
    // Height of an owner-drawn item; -1: the view's.
    virtual int MeasureListItem(int index) = 0;
};

class ListView : public NativeView {
public:
    // Every kind. SetItems shows all the items anew; the others change one item and leave the
    // rest (and their selection and marks) as they are: an item inserted at index (the count:
    // appended; a check list's unchecked), deleted, or given another text.
    virtual void SetItems(const std::vector<String>& items) = 0;
    virtual void InsertItem(int index, const String& text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void SetItemText(int index, const String& text) = 0;
    // The focused item (a combo box's chosen one); -1: none.
    virtual void SetItemIndex(int index) = 0;
    // Items drawn by the control (ListSink::DrawListItem); variable: heights asked per item.
    virtual void SetOwnerDrawItems(bool ownerDraw, bool variable) = 0;
    // List boxes (and check lists).
    virtual void SetItemSelected(int index, bool selected) = 0;
    virtual void SetTopIndex(int index) = 0;
    virtual int ItemAtPos(int x, int y) = 0;
    // Height of one item row; 0 when the view cannot tell.
    virtual int ItemHeight() = 0;
    virtual void SetItemHeight(int height) = 0;
    // Check lists only.
    virtual void SetItemChecked(int index, TCheckBoxState state) = 0;
    // Combo boxes only: the edit field (shown while editable) and the drop-down list.
    virtual void SetEditable(bool value) = 0;
    virtual void SetText(const String& text) = 0;
    virtual void SetSelection(int anchor, int caret) = 0;
    virtual int CharFromPos(int x, int y) = 0;
    virtual void SetDroppedDown(bool value) = 0;
    virtual void SetDropDownCount(int value) = 0;
    virtual void SetDroppedWidth(int value) = 0;
};

// ---- button: push button, check box, radio button ----

enum class ButtonKind { PushButton, CheckBox, RadioButton };

class ButtonView : public NativeView {
public:
    virtual void SetCaption(const String& caption) = 0;
    // Shown pressed while the mouse holds it.
    virtual void SetDown(bool value) = 0;
    // Check boxes and radio buttons (a radio button has no grayed state: it shows unchecked).
    virtual void SetCheckState(TCheckBoxState state) = 0;
    // Push buttons only.
    virtual void SetDefault(bool value) = 0;
    // Push buttons only: frame `index` of `count` side-by-side pictures, the colour of the
    // bottom-left pixel transparent; nullptr: none.
    virtual void SetGlyph(const TBitmap* glyph, int index, int count, TButtonLayout layout, int spacing, int margin) = 0;
};

// ---- range: scroll bar, track bar, up-down ----

enum class RangeKind { ScrollBar, TrackBar, UpDown };

class RangeSink {
public:
    virtual ~RangeSink() = default;
    // What the user's action was, just before the position it reached (RangeMoved).
    virtual void RangeAction(TScrollCode code) = 0;
    // The user moved the view to a new position.
    virtual void RangeMoved(int position) = 0;
    // The user let go of the view (the mouse button came up after an action or a drag).
    virtual void RangeReleased() {}
};

class RangeView : public NativeView {
public:
    // The thumb's page takes room at the end: the last position shows the last page.
    virtual void SetRange(int min, int max, int page) = 0;
    virtual void SetPosition(int value) = 0;
    virtual void SetSteps(int small, int large) = 0;
    virtual void SetVertical(bool value) = 0;
};

// ---- static: label, group box ----

enum class StaticKind { Label, GroupBox };

class StaticView : public NativeView {
public:
    virtual void SetCaption(const String& caption) = 0;
    // The size the widget would like for its caption; (0, 0) when it cannot tell.
    virtual TSize PreferredSize() = 0;
};

// ---- date-time entry: date-time picker ----

// Fields and a drop button, or fields and an up-down.
enum class DateTimeKind { DropDown, UpDown };
// The part shown pressed.
enum class DateTimePart { None, Button, UpArrow, DownArrow };

// Shows the picker's fields as one text with the current field selected, the check box before
// them and the drop button or the up-down at the right. The control lays the parts out and
// decides everything else: every key and click reaches it as window messages.
class DateTimeView : public NativeView {
public:
    virtual void SetText(const String& text) = 0;
    // The current field's characters; count 0: none shown selected.
    virtual void SetSelection(int start, int count) = 0;
    // Client coordinates: the check box (empty: none), the text's left edge, the drop button or
    // the up-down (empty: none).
    virtual void SetLayout(const TRect& checkBox, int textLeft, const TRect& button) = 0;
    virtual void SetChecked(bool value) = 0;
    // Disabled, or unchecked (no value): the text shows grey.
    virtual void SetGreyed(bool value) = 0;
    virtual void SetPressed(DateTimePart part) = 0;
};

// ---- rich text: the rich edit ----

// Shows a document of formatted runs and paragraphs (platform/ui/RichText.h). Positions count a
// paragraph break as one character, as the text family's multi-line kind does. Every key and
// click reaches the control, which changes its document and shows it again.
class RichTextView : public NativeView {
public:
    virtual void SetContent(const RichContent& content) = 0;
    virtual void SetSelection(int anchor, int caret) = 0;
    virtual void SetReadOnly(bool value) = 0;
    virtual void SetWordWrap(bool value) = 0;
    virtual void SetScrollBars(TScrollStyle bars) = 0;
    // Margins of the text inside the widget: left, top, right, bottom.
    virtual void SetTextMargins(const TRect& margins) = 0;
    // The selection shows while the widget has no focus.
    virtual void SetHideSelection(bool value) = 0;
};

}  // namespace ui
