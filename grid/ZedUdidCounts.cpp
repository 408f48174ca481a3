// TVerAdevovEdav: the writers of the counts and the fixed areas, the kept column widths and the
// save range.
#include <algorithm>

#include "grid/ZedUdid.h"

// ---------------------------------------------------------------------------------------------
// Counts

void TVerAdevovEdav::SetRowCount(int Value) {
    int old = RowCount();
    if (old == TBaseGrid::FixedRows() && FFixedRowAlways && FSelHidden) UnHideSelection();
    TBaseGrid::SetRowCount(Value);
    if (FFixedRowAlways && FFixedRowsMin < RowCount()) SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    if (FFloatingFooter->Visible && FFooterPanel) FFooterPanel->Invalidate();
    UpdateAlwaysScrollBars(false);
    if (FFloatingFooter->Visible && old != RowCount()) MoveFooterRow(old);
}

void TVerAdevovEdav::MoveFooterRow(int OldCount) {
    int from = OldCount - 1, to = RowCount() - 1;
    if (from < 0 || from == to) return;
    // Texts and objects move together; the objects now belong to the new last row, so the old
    // slots are emptied without freeing.
    for (int c = 0; c < TotalColCount(); ++c) {
        SetGridCell(c, to, GetGridCell(c, from));
        TObject* o = GetGridObject(c, to);
        if (o && o != GetGridObject(c, from)) FreeCellPropertiesAt(c, to);
        SetGridObject(c, to, GetGridObject(c, from));
        if (auto* p = dynamic_cast<TCellProperties*>(GetGridObject(c, to))) p->SetOwnerRow(to);
        SetGridObject(c, from, nullptr);
        SetGridCell(c, from, String());
    }
    CalcFooter(-1);
}

void TVerAdevovEdav::SetColCount(int Value) {
    TBaseGrid::SetColCount(Value);
    if (FFixedColAlways && FFixedColsMin < ColCount()) SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    if (FFloatingFooter->Visible && FFooterPanel) FFooterPanel->Invalidate();
    // IntegralHeight depends on whether the columns fit.
    SetBounds(Left(), Top(), Width(), Height());
    UpdateAlwaysScrollBars(false);
}

int TVerAdevovEdav::FixedRows() const {
    int n = TBaseGrid::FixedRows();
    return n == 0 && FFixedRowAlways ? 1 : n;
}

void TVerAdevovEdav::SetFixedRows(int Value) {
    if (FFixedRowAlways && Value >= RowCount())
        TBaseGrid::SetFixedRows(RowCount() - 1);
    else
        TBaseGrid::SetFixedRows(Value);
    if (!ComponentState().Contains(csLoading)) FFixedRowsMin = Value;
}

int TVerAdevovEdav::FixedCols() const {
    int n = TBaseGrid::FixedCols();
    return n == 0 && FFixedColAlways ? 1 : n;
}

void TVerAdevovEdav::SetFixedCols(int Value) {
    if (FFixedColAlways && Value >= ColCount())
        TBaseGrid::SetFixedCols(ColCount() - 1);
    else
        TBaseGrid::SetFixedCols(Value);
    if (!ComponentState().Contains(csLoading)) FFixedColsMin = Value;
}

void TVerAdevovEdav::UnHideSelection() {
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    int top = FFixedRowAlways && FixedRows() == RowCount() ? 0 : TBaseGrid::FixedRows();
    int left = FFixedColAlways && FixedCols() == ColCount() ? 0 : TBaseGrid::FixedCols();
    SetSelection(TGridRect{left, top, left, top});
}

// ---------------------------------------------------------------------------------------------
// Fixed areas and sizes

void TVerAdevovEdav::SetFixedFooters(int Value) {
    FFixedFooters = Value;
    Invalidate();
}

void TVerAdevovEdav::SetFixedRightCols(int Value) {
    FFixedRightCols = Value;
    Invalidate();
}

void TVerAdevovEdav::SetFixedRowHeight(int Value) {
    FFixedRowHeight = Value;
    if (ComponentState().Contains(csLoading)) return;
    if (Value == DefaultRowHeight()) {
        SetDefaultRowHeight(Value);
        return;
    }
    for (int r = 0; r < TBaseGrid::FixedRows(); ++r) SetRowHeights(r, Value);
}

void TVerAdevovEdav::SetFixedColWidth(int Value) {
    if (ComponentState().Contains(csLoading) || Value == DefaultColWidth()) return;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c) SetColWidths(c, Value);
}

void TVerAdevovEdav::SetDefaultRowHeight(int Value) {
    TBaseGrid::SetDefaultRowHeight(Value);
    if (ComponentState().Contains(csDesigning)) FFixedRowHeight = Value;
    FFloatingFooter->Height = Value;
    if (FFloatingFooter->Visible && FFooterPanel) FFooterPanel->SetHeight(Value);
}

void TVerAdevovEdav::SetWordWrap(bool Value) {
    FWordWrap = Value;
    FWordWrapEx = Value;
    if (FUpdateCount == 0) Invalidate();
}

void TVerAdevovEdav::SetCol(int Value) {
    TBaseGrid::SetCol(Value);
    TStringGrid* other = FSyncGrid->Grid();
    if (!other || !FSyncGrid->SelectionColumn() || other->Col() == Col()) return;
    if (auto* grid = dynamic_cast<TVerAdevovEdav*>(other))
        grid->SetCol(Col());
    else
        other->SetCol(Col());
}

// ---------------------------------------------------------------------------------------------
// Hidden columns' widths


bool TVerAdevovEdav::IsHiddenColumn(int ACol) const { return ACol >= 0 && ACol <= 512 && !FVisibleCol[ACol]; }

int TVerAdevovEdav::GetAllColWidths(int ACol) const {
    if (IsHiddenColumn(ACol)) return FAllColWidths[ACol];
    return ColWidths(RealToDisplayCol(ACol));
}

void TVerAdevovEdav::SetAllColWidths(int ACol, int AWidth) {
    if (ACol >= 0 && ACol <= 512) FAllColWidths[ACol] = static_cast<int16_t>(AWidth);
    if (!IsHiddenColumn(ACol)) SetColWidths(RealToDisplayCol(ACol), AWidth);
}

// ---------------------------------------------------------------------------------------------
// The save range

int TVerAdevovEdav::SaveStartCol() const { return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols(); }
int TVerAdevovEdav::SaveStartRow() const { return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows(); }

int TVerAdevovEdav::SaveEndCol() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TVerAdevovEdav::SaveEndRow() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TVerAdevovEdav::SaveColCount() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TVerAdevovEdav::SaveRowCount() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}
