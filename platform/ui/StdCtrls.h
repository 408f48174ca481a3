#pragma once
// The standard native controls: edit, memo, combo box, push button, check box, radio button and
// radio group. Each keeps its state itself and shows it through a native view (NativePeers.h);
// input arrives as window messages, and the default handling of those messages does what the
// platform's control does, so components can override any step of it.
#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/NativePeers.h"

// A windowed control shown by a native widget of one kind.
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
                           odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit };
using TOwnerDrawState = rtl::SmallSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TNativeControl : public TWinControl, protected ui::NativeSink {
public:
    TNativeControl(TComponent* AOwner, ui::NativeKind kind);
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
    // The view, to ask it something (positions, sizes); nullptr until the window exists.
    ui::NativeView* View() const { return FView.get(); }
    // A change to show on the view: `if (auto v = ChangeView()) v->SetText(...)`. An owner-painted
    // control repaints once the change is made, when the guard goes.
    class ViewChange {
    public:
        explicit ViewChange(TNativeControl* control) : FControl(control) {}
        ~ViewChange() { FControl->ViewChanged(); }
        ViewChange(const ViewChange&) = delete;
        ViewChange& operator=(const ViewChange&) = delete;
        explicit operator bool() const { return FControl->FView != nullptr; }
        ui::NativeView* operator->() const { return FControl->FView.get(); }

    private:
        TNativeControl* FControl;
    };
    ViewChange ChangeView() { return ViewChange(this); }
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
    // Draws the native widget's current picture at (0, 0) of the canvas.
    void PaintNative(TCanvas* canvas);
    // The native widget's picture goes into the DC first (an owner-painted control paints it
    // through Paint); what a component draws after it shows over the widget.
    void PaintWindow(HDC DC) override;
    void PaintPassEnded() override;
    // Owner-drawn items: DrawItem paints item Index in Rect on Canvas().
    bool NativeDrawItem(int index, const TRect& rect, unsigned state, TBitmap& target) override;
    int NativeMeasureItem(int index) override;
    virtual bool OwnerDrawsItems() const { return false; }
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) { (void)Index; (void)Rect; (void)State; }
    virtual void MeasureItem(int Index, int& Height) { (void)Index; (void)Height; }
    void NativeNotification(ui::NativeNotify, int) override {}
    void CMColorChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void ApplyLooks();
    // Focus follows a click, as on the platform's controls.
    void FocusOnClick();
    // The kind of native widget the control's window gets when it is made.
    void SetNativeKind(ui::NativeKind kind) { FKind = kind; }

private:
    ui::NativeKind FKind;
    std::unique_ptr<ui::NativeView> FView;
    std::unique_ptr<TControlCanvas> FCanvas;
    TCanvas* FItemCanvas = nullptr;
    // The widget's picture as the last passes left it in the image, to tell the component's
    // own drawing from it.
    std::unique_ptr<TBitmap> FNativePicture;
    bool FOwnerPainted = false;
};

// ---------------------------------------------------------------------------------------------
// Edit and memo

class TCustomEdit : public TNativeControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomEdit"; }

    // 0: no limit. Limits what the user types and pastes, not what the program writes.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    char16_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char16_t value);
    // bsSingle: the sunken frame; bsNone: none (the other values are the form's).
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    // Typed and written text in one case; setting it converts the text.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);

    int SelStart() const { return std::min(FAnchor, FCaret); }
    void SetSelStart(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(value), value); }
    int SelLength() const { return std::abs(FCaret - FAnchor); }
    void SetSelLength(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(SelStart()), SelStart() + value); }
    String SelText() const;
    // Replaces the selection as the user would (the limit applies) and puts the caret after it.
    void SetSelText(const String& value);
    void SelectAll() { Perform(EM_SETSEL, 0, -1); }
    void ClearSelection() { Perform(WM_CLEAR, 0, 0); }
    void Clear() { SetText(String()); }

    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    bool CanUndo() const { return FCanUndo; }
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
    void InitView() override;
    bool MultiLine() const { return FMultiLine; }
    // A multi-line edit: Enter and line breaks are text, Up and Down move between lines.
    void SetMultiLine(bool value) {
        FMultiLine = value;
        SetNativeKind(value ? ui::NativeKind::Memo : ui::NativeKind::Edit);
    }
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

    // Replaces [start, end) of the text; the caret goes after the new text. A user change is
    // undoable and sets Modified. Answers false when the text limit refused it.
    bool ReplaceRange(int start, int end, String text, bool user);
    void SetSelection(int anchor, int caret);
    // Positions of the view: a memo's CR LF is one character there.
    int ToView(int pos) const;
    int FromView(int pos) const;
    const std::vector<int>& Breaks() const;
    int LineCount() const;
    int LineIndex(int line) const;
    int LineFromChar(int pos) const;

    bool FTypingRun = false;  // consecutive typing undoes in one step

private:
    void TypeChar(char16_t ch);
    void KeyAction(WORD key);
    void Paste();
    void DoUndo();
    int WordStart(int pos) const;
    int WordEnd(int pos) const;

    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    char16_t FPasswordChar = 0;
    TEditCharCase FCharCase = ecNormal;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FModified = false;
    bool FMultiLine = false;
    bool FWantReturns = true;
    bool FWantTabs = false;
    int FAnchor = 0, FCaret = 0;
    bool FCanUndo = false;
    String FUndoText;
    int FUndoCaret = 0;
        bool FInternalText = false;
    bool FMouseSelecting = false;
    TRect FFormatRect;
    mutable std::vector<int> FBreaks;
    mutable bool FBreaksValid = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    const char* ClassName() const override { return "TEdit"; }
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

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

class TCustomComboBox : public TNativeControl {
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
    void InitView() override;
    void NativeNotification(ui::NativeNotify what, int value) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    // The user picked item i (list, arrow keys, first letter).
    void UserSelect(int index);

private:
    void ItemsChanged();
    void EditText(int start, int end, const String& s);
    void SetEditSel(int anchor, int caret);
    void MatchItem();
    int Find(const String& s, int after, bool exact) const;

    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<TStringList> FItems;
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

class TButtonControl : public TNativeControl {
public:
    TButtonControl(TComponent* AOwner, ui::NativeKind kind);
    const char* ClassName() const override { return "TButtonControl"; }

protected:
    void InitView() override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_BUTTON; }
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    // BM_CLICK: the button's action (click, toggle, check); WM_KEYUP of Space sends it.
    void DefaultHandler(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;

private:
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

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

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

// A framed group of radio buttons made from Items, in Columns.
class TCustomRadioGroup : public TNativeControl {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    const char* ClassName() const override { return "TCustomRadioGroup"; }
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    // -1: no button checked.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TRadioButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }

protected:
    void InitView() override;
    void WMSize(TMessage& Message) override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClick(TRadioButton* button);

    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
    const char* ClassName() const override { return "TRadioGroup"; }
};

// ---------------------------------------------------------------------------------------------
// List box

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox : public TNativeControl {
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
    void InitView() override;
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
    virtual void ItemsChanged();
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

    std::unique_ptr<TStringList> FItems;
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
// Edit with a label

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

// A caption shown by a native label beside another control.
class TBoundLabel : public TNativeControl {
public:
    explicit TBoundLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TBoundLabel"; }
    bool CanFocus() const override { return false; }
    TControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value) { FFocusControl = value; }

protected:
    void InitView() override { AdjustSize(); }
    void CMDialogChar(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

private:
    // The label is as large as its caption.
    void AdjustSize();
    TWinControl* FFocusControl = nullptr;
};

class TCustomLabeledEdit : public TCustomEdit {
public:
    explicit TCustomLabeledEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomLabeledEdit"; }
    TBoundLabel* EditLabel() const { return FEditLabel; }
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelSpacing() const { return FLabelSpacing; }
    void SetLabelSpacing(int value);
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CMVisibleChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TBoundLabel;
    void PlaceLabel();
    TBoundLabel* FEditLabel;
    TLabelPosition FLabelPosition = lpAbove;
    int FLabelSpacing = 3;
};

class TLabeledEdit : public TCustomLabeledEdit {
public:
    using TCustomLabeledEdit::TCustomLabeledEdit;
    const char* ClassName() const override { return "TLabeledEdit"; }
};

// ---------------------------------------------------------------------------------------------
// Scroll bar

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TNativeControl {
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
    // A user's scroll action: the new position by the code, OnScroll, then the position.
    void DoScroll(TScrollCode code, int trackPos);
    void InitView() override;
    void NativeNotification(ui::NativeNotify what, int value) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS; }

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0;
    int FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
    int FPendingCode = -1;
};
