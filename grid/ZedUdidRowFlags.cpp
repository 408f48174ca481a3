// TVerAdevovEdav: the disjunct row and column flags, modified and disabled rows, and the small
// view helpers (repaints, moves of the current cell, swapping cells, the search panel's room).
#include <algorithm>

#include "grid/ZedUdid.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Flag lists grow on demand with cleared entries.
void GrowTo(TList* Flags, int Index) {
    while (Flags->Count() <= Index) Flags->Add(nullptr);
}
void GrowTo(TIntList* Flags, int Index) {
    while (Flags->Count() <= Index) Flags->Add(0);
}
bool FlagAt(const TList* Flags, int Index) { return Index < Flags->Count() && Flags->Items(Index) != nullptr; }
void* FlagValue(bool Value) { return reinterpret_cast<void*>(static_cast<intptr_t>(Value ? 1 : 0)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Row and column flags

bool TVerAdevovEdav::GetRowSelect(int ARow) {
    if (ARow < 0 || ARow >= RowCount() + NumHiddenRows())
        throw EZedUdidError(u"Invalid row " + IntToStr(ARow) + u" accessed");
    if (FMouseActions->DisjunctRowSelect()) {
        GrowTo(FRowSelect.get(), ARow);
        return FRowSelect->Items(ARow) != nullptr;
    }
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TVerAdevovEdav::SetRowSelect(int ARow, bool Value) {
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && FixedRows() < RowCount()))
        throw EZedUdidError(u"Invalid row accessed");
    bool allow = true;
    const bool known = ARow < FRowSelect->Count();
    if ((!known || FlagAt(FRowSelect.get(), ARow) != Value) && OnRowDisjunctSelect)
        OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow) return;
    GrowTo(FRowSelect.get(), ARow);
    const bool was = FRowSelect->Items(ARow) != nullptr;
    FRowSelect->SetItems(ARow, FlagValue(Value));
    // The list is kept in step with the flags: a row is in it exactly while its flag is set.
    if (Value && !was)
        FSelectedRows->Add(ARow);
    else if (!Value && was)
        FSelectedRows->DeleteValue(ARow);
    if (was != Value) RepaintRow(ARow);
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

bool TVerAdevovEdav::GetColSelect(int ACol) {
    if (ACol < 0 || ACol >= ColCount()) throw EZedUdidError(u"Invalid column accessed");
    GrowTo(FColSelect.get(), ACol);
    return FColSelect->Items(ACol) != nullptr;
}

void TVerAdevovEdav::SetColSelect(int ACol, bool Value) {
    if (ACol < 0 || ACol >= ColCount()) throw EZedUdidError(u"Invalid column accessed");
    GrowTo(FColSelect.get(), ACol);
    const bool was = FColSelect->Items(ACol) != nullptr;
    FColSelect->SetItems(ACol, FlagValue(Value));
    if (was != Value) RepaintCol(ACol);
}

void TVerAdevovEdav::SelectRows(int RowIndex, int RCount) {
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (FMouseActions->DisjunctRowSelect()) {
        const bool persistent = FMouseActions->RowSelectPersistent();
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            if (r >= 0 && r < RowCount()) SetRowSelect(persistent ? DisplayToRealRow(r) : r, true);
    } else if (RCount > 0) {
        SetSelection({FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
    }
    if (!FRowIndicator->Empty()) RepaintCol(0);
}

void TVerAdevovEdav::UnSelectRows(int RowIndex, int RCount) {
    if (!FMouseActions->DisjunctRowSelect()) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const bool persistent = FMouseActions->RowSelectPersistent();
    for (int r = RowIndex; r < RowIndex + RCount; ++r)
        if (r >= 0 && r < RowCount()) SetRowSelect(persistent ? DisplayToRealRow(r) : r, false);
}

void TVerAdevovEdav::SelectCols(int ColIndex, int CCount) {
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColIndex; c < ColIndex + CCount; ++c)
            if (c >= 0 && c < ColCount()) SetColSelect(c, true);
    } else if (CCount > 0) {
        SetSelection({ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
    }
}

void TVerAdevovEdav::UnSelectCols(int ColIndex, int CCount) {
    if (!FMouseActions->DisjunctColSelect()) return;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount()) SetColSelect(c, false);
}

void TVerAdevovEdav::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

void TVerAdevovEdav::ClearRowSelect() {
    for (int r = 0; r < FRowSelect->Count(); ++r) {
        if (!FRowSelect->Items(r)) continue;
        FRowSelect->SetItems(r, nullptr);
        RepaintRow(r);
    }
    FSelectedRows->Clear();
}

void TVerAdevovEdav::ClearColSelect() {
    for (int c = 0; c < FColSelect->Count(); ++c) {
        if (!FColSelect->Items(c)) continue;
        FColSelect->SetItems(c, nullptr);
        RepaintCol(c);
    }
}

void TVerAdevovEdav::SelectionToRowSelect(bool All) {
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    const bool persistent = FMouseActions->RowSelectPersistent();
    const int from = All ? FixedRows() : std::max(top, FixedRows());
    const int to = All ? RowCount() - 1 : std::min(bottom, RowCount() - 1);
    for (int r = from; r <= to; ++r) {
        const int flag = persistent ? DisplayToRealRow(r) : r;
        const bool inside = r >= top && r <= bottom;
        if (flag < FRowSelect->Count() && FlagAt(FRowSelect.get(), flag) == inside) continue;
        SetRowSelect(flag, inside);
    }
    if (NumHiddenRows() > 0) Invalidate();
}

void TVerAdevovEdav::SelectionToColSelect(bool All) {
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int from = All ? FixedCols() : std::max(left, FixedCols());
    const int to = All ? ColCount() - 1 : std::min(right, ColCount() - 1);
    for (int c = from; c <= to; ++c) SetColSelect(c, c >= left && c <= right);
}

int TVerAdevovEdav::RowSelectCount() {
    if (FMouseActions->DisjunctRowSelect()) {
        const int n = std::min(RowCount() + NumHiddenRows(), FRowSelect->Count());
        int count = 0;
        for (int r = 0; r < n; ++r) count += FRowSelect->Items(r) != nullptr;
        return count;
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TVerAdevovEdav::ColSelectCount() {
    if (FMouseActions->DisjunctColSelect()) {
        int count = 0;
        for (int c = 0; c < FColSelect->Count(); ++c) count += FColSelect->Items(c) != nullptr;
        return count;
    }
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

// ---------------------------------------------------------------------------------------------
// Modified and disabled rows

bool TVerAdevovEdav::GetRowModified(int ARow) const {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

void TVerAdevovEdav::SetRowModified(int ARow, bool Value) {
    if (ARow < 0) return;
    GrowTo(FModifiedRows.get(), ARow);
    FModifiedRows->SetInteger(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

int TVerAdevovEdav::ModifiedRowCount() const {
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i) n += FModifiedRows->GetInteger(i) == 1;
    return n;
}

bool TVerAdevovEdav::GetRowEnabled(int ARow) const {
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->GetInteger(ARow) == 0;
}

void TVerAdevovEdav::SetRowEnabled(int ARow, bool Value) {
    if (ARow < 0) return;
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r == ARow || !GetRowEnabled(r)) continue;
            MoveColRow(Col(), r, true, true);
            break;
        }
    }
    FUseEnabledRows = true;
    GrowTo(FEnabledRows.get(), ARow);
    FEnabledRows->SetInteger(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------------------------
// View helpers

void TVerAdevovEdav::SwapCells(TGridCoord FromCell, TGridCoord ToCell) {
    const String t1 = GetGridCell(FromCell.X, FromCell.Y), t2 = GetGridCell(ToCell.X, ToCell.Y);
    TObject* o1 = GetGridObject(FromCell.X, FromCell.Y);
    TObject* o2 = GetGridObject(ToCell.X, ToCell.Y);
    // The raw store, so no repaint is asked for.
    TStringGrid::SetCells(FromCell.X, FromCell.Y, t2);
    TStringGrid::SetCells(ToCell.X, ToCell.Y, t1);
    SetGridObject(FromCell.X, FromCell.Y, o2);
    SetGridObject(ToCell.X, ToCell.Y, o1);
    if (auto* p = dynamic_cast<TCellProperties*>(o2)) {
        p->SetOwnerCol(FromCell.X);
        p->SetOwnerRow(FromCell.Y);
    }
    if (auto* p = dynamic_cast<TCellProperties*>(o1)) {
        p->SetOwnerCol(ToCell.X);
        p->SetOwnerRow(ToCell.Y);
    }
}

void TVerAdevovEdav::GotoCell(int ACol, int ARow) {
    SetRow(ARow);
    SetCol(ACol);
}

void TVerAdevovEdav::EditCell(int ACol, int ARow) {
    if (CanFocus()) SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TVerAdevovEdav::FocusCell(int ACol, int ARow) { SetSelection({ACol, ARow, ACol, ARow}); }

void TVerAdevovEdav::MoveCurrentCell(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

bool TVerAdevovEdav::LastRowAboveSearchPanel() {
    if (!FSearchFooter->Visible() || !FSearchPanel) return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
    return CellRect(0, RowCount() - 1).Bottom < ClientHeight() - FSearchPanel->Height() + 2;
}

void TVerAdevovEdav::AdjustTopRowForSearchPanel() {
    if (!FSearchFooter->Visible() || !FSearchPanel) return;
    const int panel = FSearchPanel->Height();
    if (DefaultRowHeight() + panel >= ClientHeight()) return;
    // The panel covers the bottom of the grid: the platform lets the top row pass the last one
    // that fills the view by as much as the panel needs.
    SetReservedBottom(panel);
    while (VirtualCellRect(0, RowCount() - 1).Bottom >= ClientHeight() - panel + 2 && Row() <= RowCount() - 1 &&
           TopRow() + 1 < RowCount()) {
        const int top = TopRow();
        TCustomGrid::SetTopRow(top + 1);
        if (TopRow() == top) break;
    }
}

void TVerAdevovEdav::FixedCellEditChange(TObject* Sender) {
    if (!OnEditChange) return;
    String text;
    if (auto* edit = dynamic_cast<TCustomEdit*>(Sender)) text = edit->Text();
    else if (auto* control = dynamic_cast<TControl*>(Sender)) text = control->Text();
    OnEditChange(this, FFixedEditCol, FFixedEditRow, text);
}
