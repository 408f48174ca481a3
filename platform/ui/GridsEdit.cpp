// The grid's editor mechanism and its in-place editor. The editor is loaded from the grid's
// hooks (GetEditMask, GetEditText, GetEditLimit) when it is shown over a cell, and every change
// of its text goes back at once through SetEditText, as the platform's grid does.
#include "platform/ui/Grids.h"

#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FGrid = dynamic_cast<TCustomGrid*>(AOwner);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    // Multi-line: the formatting rectangle applies, and Enter and Esc reach the editor instead
    // of the form's default and cancel buttons.
    SetMultiLine(true);
    SetVisible(false);
}

void TInplaceEdit::BoundsChanged() {
    TRect r(2, 2, Width() - 2, Height());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TInplaceEdit::UpdateContents() {
    if (!FGrid) return;
    int col = FGrid->Col(), row = FGrid->Row();
    SetText(String());
    SetEditMask(FGrid->GetEditMask(col, row));
    SetText(FGrid->GetEditText(col, row));
    SetMaxLength(FGrid->GetEditLimit());
    FStartText = Text();
}

void TInplaceEdit::Move(const TRect& Loc) { InternalMove(Loc, true); }
void TInplaceEdit::UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }

bool TInplaceEdit::PosEqual(const TRect& Rect) const { return BoundsRect() == Rect; }

void TInplaceEdit::InternalMove(const TRect& Loc, bool takeFocus) {
    // A cell scrolled out of view takes its editor with it.
    if (Loc.IsEmpty()) {
        Hide();
        return;
    }
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    if (!Visible()) SetVisible(true);
    BoundsChanged();
    if (!takeFocus || !FGrid || !FGrid->IsActiveControl() || Focused() || !CanFocus()) return;
    FGrid->FFocusToEditor = true;
    try {
        SetFocus();
    } catch (...) {
        FGrid->FFocusToEditor = false;
        throw;
    }
    FGrid->FFocusToEditor = false;
}

void TInplaceEdit::Hide() {
    if (!Visible()) return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() == this && FGrid && FGrid->CanFocus()) FGrid->SetFocus();
    SetVisible(false);
}

void TInplaceEdit::Deselect() {
    int len = Text().Length();
    Perform(EM_SETSEL, static_cast<WPARAM>(len), len);
}

void TInplaceEdit::Change() {
    TCustomMaskEdit::Change();
    if (FGrid) FGrid->UpdateText();
}

// The keys that leave the cell go to the grid: Up, Down, Page Up, Page Down, Tab, Esc, F2, and
// Left and Right at the ends of the text. The grid's OnKeyDown sees the others first.
void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
    int len = Text().Length();
    int selStart = SelStart(), selEnd = SelStart() + SelLength();
    bool atLeft = selStart == 0 && selEnd == 0;
    bool atRight = selEnd == len && (selStart == selEnd || selStart == 0);
    bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    bool toGrid = false;
    switch (Key) {
        case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_ESCAPE: case VK_F2: toGrid = true; break;
        case VK_TAB: toGrid = !Shift.Contains(ssAlt); break;
        case VK_LEFT: toGrid = plain && atLeft; break;
        case VK_RIGHT: toGrid = plain && atRight; break;
        case VK_DELETE:
            if (FGrid && !FGrid->CanEditModify()) Key = 0;
            break;
        default: break;
    }
    if (toGrid) {
        if (FGrid) FGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (Key == 0) return;
    if (FGrid && FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char16_t& Key) {
    // The grid's own key press first: Enter hides the editor there.
    if (FGrid) FGrid->KeyPress(Key);
    if (Key >= 0x20 && FGrid && !FGrid->CanEditModify()) {
        Key = 0;
        MessageBeep(0);
    }
    switch (Key) {
        case 0: return;
        case u'\t':
        case 0x1B: Key = 0; return;
        case u'\r':
            // With the editor always shown, Enter selects the text or lets it go.
            if (SelStart() == 0 && SelLength() == Text().Length())
                Deselect();
            else
                SelectAll();
            Key = 0;
            return;
        case u'\b':
        case 0x16:
        case 0x18:
            if (FGrid && !FGrid->CanEditModify()) Key = 0;
            break;
        default: break;
    }
    if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
    if (FGrid) FGrid->KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick() {
    if (FGrid)
        FGrid->DblClick();
    else
        TCustomMaskEdit::DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (FGrid) return FGrid->DoMouseWheel(Shift, WheelDelta, MousePos);
    return TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
    TCustomMaskEdit::WMGetDlgCode(Message);
    if (FGrid && FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

// A grid that refuses changes refuses them from the clipboard too.
void TInplaceEdit::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
            if (FGrid && !FGrid->CanEditModify()) return;
            break;
        default: break;
    }
    TCustomMaskEdit::DefaultHandler(Message);
}

void TInplaceEdit::WMKillFocus(TMessage& Message) {
    // Where the focus goes is known only afterwards; the grid forgets the mark then.
    if (FGrid) FGrid->FFocusFromEditor = true;
    TCustomMaskEdit::WMKillFocus(Message);
}

// ---------------------------------------------------------------------------------------------
// The grid's editor mechanism

bool TCustomGrid::IsActiveControl() const {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    TWinControl* active = form->ActiveControl();
    return active == this || (FInplaceEdit && active == FInplaceEdit);
}

bool TCustomGrid::CanEditShow() {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           !ComponentState().Contains(csDesigning) && HandleAllocated() &&
           (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

bool TCustomGrid::CanEditModify() { return true; }

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

String TCustomGrid::GetEditText(int, int) { return String(); }
void TCustomGrid::SetEditText(int, int, const String&) {}
String TCustomGrid::GetEditMask(int, int) { return String(); }
int TCustomGrid::GetEditLimit() { return 0; }

void TCustomGrid::SetEditorMode(bool Value) {
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor() {
    FEditorMode = true;
    if (CanEditShow()) ClampInView(FCurrent);
    UpdateEdit();
}

void TCustomGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::ShowEditorChar(char16_t Ch) {
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->Visible()) FInplaceEdit->Perform(WM_CHAR, Ch, 0);
}

void TCustomGrid::UpdateText() {
    if (!FInplaceEdit || FInplaceCol < 0 || FInplaceRow < 0) return;
    ++FEditUpdate;
    try {
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
    } catch (...) {
        --FEditUpdate;
        throw;
    }
    --FEditUpdate;
}

void TCustomGrid::InvalidateEditor() {
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

void TCustomGrid::EditedCellChanged(int ACol, int ARow) {
    if (FEditUpdate == 0 && FInplaceEdit && ACol == FInplaceCol && ARow == FInplaceRow) InvalidateEditor();
}

// Shows the editor over the current cell when it may show, loading it when it is new or was
// over another cell (whose text goes back first).
void TCustomGrid::UpdateEdit() {
    if (!CanEditShow()) {
        // The current cell may not be edited (with the editor always shown, it moved on to one
        // that refuses): the editor of the cell left behind goes.
        if (FInplaceEdit && FInplaceEdit->Visible()) HideEdit();
        return;
    }
    auto load = [this] {
        // Loading is no edit: nothing is written back while the editor fills.
        FInplaceCol = -1;
        FInplaceRow = -1;
        FInplaceEdit->UpdateContents();
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->SelectAll();
    };
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->FGrid = this;
        FInplaceEdit->SetParent(this);
        load();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        if (FInplaceCol >= 0) HideEdit();
        load();
    }
    if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

// The editor's text goes back into its cell and the editor hides; the editor mode stays.
void TCustomGrid::HideEdit() {
    if (!FInplaceEdit) return;
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = -1;
        FInplaceRow = -1;
        FInplaceEdit->Hide();
        throw;
    }
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

// ---------------------------------------------------------------------------------------------
// Focus

void TCustomGrid::WMSetFocus(TMessage& Message) {
    TCustomControl::WMSetFocus(Message);
    InvalidateSelection();
    // Back from the editor (it hid): the editor is not shown again.
    if (!FFocusFromEditor) UpdateEdit();
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
    TCustomControl::WMKillFocus(Message);
    InvalidateSelection();
}

// The focus left the grid and its editor: the edit ends, its text in the cell, and the editor
// comes back when the grid has the focus again.
void TCustomGrid::CMFocusChanged(TMessage& Message) {
    auto* now = reinterpret_cast<TWinControl*>(Message.LParam);
    FFocusFromEditor = false;
    FFocusToEditor = false;
    if (FInplaceEdit && now != this && now != FInplaceEdit && FInplaceEdit->Visible()) HideEdit();
    TCustomControl::CMFocusChanged(Message);
}

// The grid and its editor are one control to the rest of the form: focus moving between them
// is neither an exit nor an enter.
void TCustomGrid::CMEnter(TMessage& Message) {
    if (FFocusFromEditor) return;
    TCustomControl::CMEnter(Message);
}

void TCustomGrid::CMExit(TMessage& Message) {
    if (FFocusToEditor) return;
    TCustomControl::CMExit(Message);
}
