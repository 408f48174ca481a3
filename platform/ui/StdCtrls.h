#pragma once
// The StdCtrls unit. The label, the static text and the group box are drawn by the library
// (StdCtrlsDrawn.h); the edit, memo, combo box, list box, push button, check box, radio button
// and scroll bar are native controls: each keeps its state itself and shows it through a native
// view (NativeCtrls.h); input arrives as window messages, and the default handling of those
// messages does what the platform's control does, so components can override any step of it.
#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/EditModel.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"
#include "platform/ui/backend/Enums.h"

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// ---------------------------------------------------------------------------------------------
// Edit and memo

class TCustomEdit : public TNativeControlOf<ui::TextView> {
public:
    explicit TCustomEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomEdit"; }

    // 0: no limit. Limits what the user types and pastes, not what the program writes.
    int MaxLength() const { return FModel.MaxLength(); }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FModel.ReadOnly(); }
    void SetReadOnly(bool value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    char16_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char16_t value);
    // bsSingle: a frame outside the client area, sunken or flat by Ctl3D; bsNone: none (the
    // other values are the form's). A change makes the frame again.
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    // Typed and written text in one case; setting it converts the text.
    TEditCharCase CharCase() const { return FModel.CharCase(); }
    void SetCharCase(TEditCharCase value);

    int SelStart() const { return FModel.SelStart(); }
    void SetSelStart(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(value), value); }
    int SelLength() const { return FModel.SelLength(); }
    void SetSelLength(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(SelStart()), SelStart() + value); }
    String SelText() const { return FModel.SelText(); }
    // Replaces the selection as the user would (the limit applies) and puts the caret after it.
    void SetSelText(const String& value);
    void SelectAll() { Perform(EM_SETSEL, 0, -1); }
    void ClearSelection() { Perform(WM_CLEAR, 0, 0); }
    void Clear() { SetText(String()); }

    bool Modified() const { return FModel.Modified(); }
    void SetModified(bool value) { FModel.SetModified(value); }
    bool CanUndo() const { return FModel.CanUndo(); }
    void Undo() { Perform(WM_UNDO, 0, 0); }
    void ClearUndo() { Perform(EM_EMPTYUNDOBUFFER, 0, 0); }
    void CopyToClipboard() { Perform(WM_COPY, 0, 0); }
    void CutToClipboard() { Perform(WM_CUT, 0, 0); }
    void PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }

    // The text's rectangle inside the control (EM_SETRECT); empty: the whole client area.
    TRect FormatRect() const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // The edit's styles (ES_*) and its border; a component adds its own after the inherited.
    void CreateParams(TCreateParams& Params) override;
    std::unique_ptr<ui::TextView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    bool MultiLine() const { return FModel.MultiLine(); }
    // A multi-line edit: Enter and line breaks are text, Up and Down move between lines, and
    // its view is the multi-line kind (a window made already is made again).
    void SetMultiLine(bool value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }

    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonDblClk(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    void WMMouseMove(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    // The formatting rectangle stays where it was set as the edit is resized.
    void WMSize(TMessage& Message) override;
    // Before the native edit paints it asks its component for its colours (CN_CTLCOLOREDIT, or
    // CN_CTLCOLORSTATIC when read-only or disabled, with the DC): the brush answered, the text
    // colour and a transparent background mode set on the DC are what it paints with.
    void PaintWindow(HDC DC) override;

    // The text, selection and undo state as the edit keeps them (the text is also Text()).
    const ui::EditModel& Model() const { return FModel; }
    // Replaces [start, end) of the text; the caret goes after the new text. A user change is
    // undoable and sets Modified. Answers false when the text limit refused it.
    bool ReplaceRange(int start, int end, const String& text, bool user);
    void SetSelection(int anchor, int caret);
    // Positions of the view: a memo's CR LF is one character there.
    int ToView(int pos) const { return FModel.ToView(pos); }
    int FromView(int pos) const { return FModel.FromView(pos); }
    const std::vector<int>& Breaks() const { return FModel.Breaks(); }
    int LineCount() const { return FModel.LineCount(); }
    // The lines as the memo's string list counts them, kept as the text changes.
    int ListLineCount() {
        CatchUp();
        return FModel.ListLineCount();
    }
    int LineIndex(int line) const { return FModel.LineIndex(line); }
    int LineFromChar(int pos) const { return FModel.LineFromChar(pos); }

private:
    // Shows a change of the model: on the view first, then as the control's text, whose
    // OnChange comes last, so a handler sees the edit complete and may change it again.
    bool Apply(const ui::EditModel::Change& change);
    // Text() takes the model's text, without counting as the program's write: by the change
    // alone when there is one.
    void TakeModelText(const ui::EditModel::Change* change = nullptr);
    // A text written past CM_TEXTCHANGED (a component that swallowed it) is taken as the
    // program's before the next edit, so the model never writes an older text back.
    void CatchUp();
    void ShowSelection();
    void KeyAction(WORD key);
    void Paste();
    void DoUndo();
    void ShowFormatRect();
    // The character the text is masked with: PasswordChar, or '*' for a window made with
    // ES_PASSWORD; 0: shown as typed.
    char16_t MaskChar() const;

    ui::EditModel FModel;
    TBrush FBrush;  // answers the colour queries
    bool FAutoSelect = true;
    char16_t FPasswordChar = 0;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FWantReturns = true;
    bool FWantTabs = false;
    bool FInternalText = false;
    uint64_t FSyncedText = 0;  // TextVersion() when the model last matched Text()
    bool FMouseSelecting = false;
    TRect FFormatRect;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    const char* ClassName() const override { return "TEdit"; }
};

class TCustomMemo;

// The memo's text as a list of lines: changing one changes the other.
class TMemoStrings final : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
    int Count() const override;
    String Get(int Index) const override;
    void* GetObject(int) const override { return nullptr; }
    void PutObject(int, void*) override {}
    void Put(int Index, const String& S) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(const String& Value) override;

private:
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    const char* ClassName() const override { return "TCustomMemo"; }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* value) { FLines->Assign(value); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    using TCustomEdit::SetWantReturns;
    using TCustomEdit::SetWantTabs;
    using TCustomEdit::WantReturns;
    using TCustomEdit::WantTabs;
    // Puts the caret at the end and scrolls it into view.
    void CaretToEnd();

protected:
    void InitView() override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
    const char* ClassName() const override { return "TMemo"; }
};

// ---------------------------------------------------------------------------------------------
// Combo box

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Follows the items of a list control across a change of its string list: taken before the
// change (only while something is selected), it tells where an item stands afterwards, so a
// selection moves with its item when others are inserted, deleted or reordered.
class TItemTracker {
public:
    void Before(const TStrings& items, bool needed);
    // Where the item at oldIndex before the change stands now; -1 when it is gone.
    int Map(const TStrings& items, int oldIndex) const;
    bool Active() const { return FActive; }
    void Done() { FActive = false; FBefore.clear(); }

private:
    std::vector<std::pair<String, void*>> FBefore;
    bool FActive = false;
};

// The items of a list or combo box: a string list that tells its control what one change was
// (while OnChanging and OnChange run), so the control shows its native view only that change.
// Inside an update bracket, and for a change of many items (Clear, Assign, sorting, a text),
// the change is Other and the control shows all its items again.
class TControlItems : public TStringList {
public:
    struct Change {
        enum Kind { Other, Insert, Delete, Put, Object, Exchange, Move };
        Kind kind = Other;
        int index = -1;
        int other = -1;  // Exchange: the second item; Move: where the item goes
    };
    const Change& Pending() const { return FChange; }

    int AddObject(const String& S, void* AObject) override;
    void InsertObject(int Index, const String& S, void* AObject) override;
    void Delete(int Index) override;
    void Put(int Index, const String& S) override;
    void PutObject(int Index, void* AObject) override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

private:
    // Names the change for the call f makes, unless an update bracket is open.
    template <class F>
    auto As(Change change, F f);
    Change FChange;
};

// Where an item of a list stands after one change: -1 when it is gone. A Put replaces the item
// (its text is another), an Object keeps it.
int MapItem(const TControlItems::Change& change, int index);

class TCustomComboBox : public TNativeControlOf<ui::ListView>, protected ui::ListSink {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    const char* ClassName() const override { return "TCustomComboBox"; }

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    // -1: no item; the text stays as it is.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = std::max(0, value); }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value) { FItemHeight = value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    // Width of the open list; 0: the combo's width.
    int DroppedWidth() const { return FDroppedWidth > 0 ? FDroppedWidth : Width(); }
    int SelStart() const { return std::min(FAnchor, FCaret); }
    int SelLength() const { return std::abs(FCaret - FAnchor); }
    void SetSelStart(int value) { Perform(CB_SETEDITSEL, 0, MAKELPARAM(value, value)); }
    void SetSelLength(int value) { Perform(CB_SETEDITSEL, 0, MAKELPARAM(SelStart(), SelStart() + value)); }
    void SelectAll() { Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF)); }
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    // csOwnerDrawFixed / csOwnerDrawVariable: the items of the list are drawn by these.
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    bool Editable() const { return FStyle == csDropDown || FStyle == csSimple; }
    bool OwnerDrawsItems() const override { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;
    std::unique_ptr<ui::ListView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    // What the open drop-down list reports.
    void ListItemPicked(int index) override;
    void ListClosedUp() override;
    bool DrawListItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target) override;
    int MeasureListItem(int index) override;
    // The combo box's frame is the window's, sunken or flat by Ctl3D.
    void CreateParams(TCreateParams& Params) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    // The second press of a double-click opens or closes the list as the first does.
    void WMLButtonDblClk(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    // The user picked item i (list, arrow keys, first letter): the selection, then CBN_SELCHANGE.
    // False when a handler freed the box.
    bool UserSelect(int index);

private:
    void ItemsChanged();
    // A press of the left button in the box: the focus, then the list or the caret.
    void PressedInBox(TMessage& Message);
    void EditText(int start, int end, const String& s);
    void SetEditSel(int anchor, int caret);
    void MatchItem();
    int Find(const String& s, int after, bool exact) const;

    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<TControlItems> FItems;
    TItemTracker FTracker;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    bool FDroppedDown = false;
    bool FSorted = false;
    int FMaxLength = 0;
    int FItemHeight = 16;
    int FDroppedWidth = 0;
    TEditCharCase FCharCase = ecNormal;
    int FAnchor = 0, FCaret = 0;
    bool FInternalText = false;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    const char* ClassName() const override { return "TComboBox"; }
};

// ---------------------------------------------------------------------------------------------
// Buttons

class TButtonControl : public TNativeControlOf<ui::ButtonView> {
public:
    TButtonControl(TComponent* AOwner, ui::ButtonKind kind);
    const char* ClassName() const override { return "TButtonControl"; }

protected:
    std::unique_ptr<ui::ButtonView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void CMTextChanged(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_BUTTON; }
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    // BM_CLICK: the button's action (click, toggle, check); WM_KEYUP of Space sends it.
    void DefaultHandler(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;

private:
    ui::ButtonKind FKind;
    bool FPressed = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    const char* ClassName() const override { return "TButton"; }
    // Enter on the form clicks the default button (unless another button has the focus).
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // Escape on the form clicks the cancel button.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Sets the form's ModalResult (closing a modal form), then OnClick.
    void Click() override;

protected:
    void InitView() override;
    void CMDialogKey(TMessage& Message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomCheckBox"; }
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // A change of state fires OnClick, whoever made it.
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // The user's click: unchecked, (grayed,) checked, unchecked...
    virtual void Toggle();

protected:
    void InitView() override;
    void DefaultHandler(TMessage& Message) override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
    const char* ClassName() const override { return "TCheckBox"; }
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    const char* ClassName() const override { return "TRadioButton"; }
    bool Checked() const { return FChecked; }
    // Checking one turns its sibling radio buttons off and fires OnClick.
    void SetChecked(bool value);

protected:
    void InitView() override;
    void DefaultHandler(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;

private:
    bool FChecked = false;
};

// ---------------------------------------------------------------------------------------------
// List box

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox : public TNativeControlOf<ui::ListView>, protected ui::ListSink {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    const char* ClassName() const override { return "TCustomListBox"; }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    // The focused item; in a single-selection list also the selected one. -1: none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value) { FExtendedSelect = value; }
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    int ItemHeight() const;
    void SetItemHeight(int value);
    // The item at a point of the client area, or -1.
    int ItemAtPos(const TPoint& p, bool existing) const;
    void Clear() { FItems->Clear(); }
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    std::unique_ptr<ui::ListView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    // A list box has no drop-down list: nothing is picked from it or closed.
    void ListItemPicked(int) override {}
    void ListClosedUp() override {}
    bool DrawListItem(int index, const TRect& rect, TOwnerDrawState state, TBitmap& target) override;
    int MeasureListItem(int index) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonDblClk(TMessage& Message) override;
    // Dragging with the button down moves the selection (extends it from the anchor in an
    // extended multi-select list).
    void WMMouseMove(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    // The user moved the selection: OnClick, as the platform's list reports it.
    virtual void UserSelected();
    // The items changed: one change the items name is shown on the view alone (ShowChange);
    // any other shows all the items again.
    virtual void ItemsChanged();
    void ShowChange(const TControlItems::Change& change);
    // Shows the marks of one item the view was given again (its selection; a check list's check).
    virtual void ShowItemState(int index);
    const TControlItems& ControlItems() const { return *FItems; }
    // Unticks or ticks items of a check list; here nothing.
    virtual void ClickItem(int index, int x) { (void)index; (void)x; }
    void ShowSelection();
    bool OwnerDrawsItems() const override { return FStyle != lbStandard; }
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;

private:
    void SelectOnly(int index);
    // Selects the items from the anchor to index, and nothing else.
    void SelectRange(int anchor, int index);
    // Fits the selection marks, the item index and the anchor to the items as they are now, which
    // inside an update of the items the list has not been told of yet.
    void FitSelection();

    std::unique_ptr<TControlItems> FItems;
    TItemTracker FTracker;
    std::vector<bool> FSelected;
    int FItemIndex = -1;
    int FAnchor = -1;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FDragSelecting = false;
    bool FSorted = false;
    int FTopIndex = 0;
    int FItemHeight = 0;  // 0: the view's
    TListBoxStyle FStyle = lbStandard;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    const char* ClassName() const override { return "TListBox"; }
};

// ---------------------------------------------------------------------------------------------
// Scroll bar

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TNativeControlOf<ui::RangeView>, protected ui::RangeSink {
public:
    explicit TScrollBar(TComponent* AOwner);
    const char* ClassName() const override { return "TScrollBar"; }
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    // A new position fires OnChange, whoever set it.
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);
    // Size of the thumb in positions; 0: a plain thumb.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);

    TNotifyEvent OnChange;
    // Before a user's scroll lands: ScrollPos may be changed.
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    // A scroll action: the new position by the code, OnScroll, then the position.
    void DoScroll(TScrollCode code, int trackPos);
    std::unique_ptr<ui::RangeView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    // What the user did on the view (an arrow, the track, a drag of the thumb), then where the
    // thumb went, and the mouse let go.
    void RangeAction(TScrollCode code) override;
    void RangeMoved(int position) override;
    void RangeReleased() override;
    // Keys, and CN_HSCROLL/CN_VSCROLL: the parent's WM_HSCROLL/WM_VSCROLL coming back.
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS; }

private:
    // A user's action goes to the parent as WM_HSCROLL/WM_VSCROLL with the bar's handle in
    // LParam; unless the parent keeps it, it comes back as CN_HSCROLL/CN_VSCROLL and moves the
    // bar (DoScroll). The view then shows the position the bar has.
    void UserScroll(TScrollCode code, int trackPos);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0;
    int FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
    // Since the mouse went down: an action of an arrow or the track, a drag of the thumb.
    bool FActed = false, FDragged = false;
    int FTrackPos = 0;  // the thumb's position in the last message, all 32 bits of it
};
