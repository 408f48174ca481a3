// TVerAdevovEdav: the check before every move of the current cell, the selection listener and
// the queries on the selection.
#include <algorithm>

#include "grid/ZedUdid.h"
#include "render/VarAvir.h"

namespace {

// A disjunct row or column flag (a non-nil entry of the list).
bool Flagged(const TList* Flags, int Index) {
    return Flags && Index >= 0 && Index < Flags->Count() && Flags->Items(Index) != nullptr;
}

// Normalised, so that a selection made backwards answers as one made forwards.
bool Inside(const TGridRect& s, int ACol, int ARow) {
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) && ARow >= std::min(s.Top, s.Bottom) &&
           ARow <= std::max(s.Top, s.Bottom);
}

int FlagCount(const TList* Flags) {
    int n = 0;
    for (int i = 0; Flags && i < Flags->Count(); ++i) n += Flags->Items(i) != nullptr;
    return n;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The check before a move

void TVerAdevovEdav::RepaintCellHeaders(int OldCol, int OldRow, int NewRow, int NewCol) {
    const int lastFixedRow = FixedRows() - 1, lastFixedCol = FixedCols() - 1;
    if (lastFixedRow >= 0) {
        RepaintCell(OldCol, lastFixedRow);
        RepaintCell(NewCol, lastFixedRow);
    }
    if (lastFixedCol >= 0) {
        RepaintCell(lastFixedCol, OldRow);
        RepaintCell(lastFixedCol, NewRow);
    }
}

bool TVerAdevovEdav::SelectCell(int ACol, int ARow) {
    if (FSelectForced) {
        if (FRowIndicator && !FRowIndicator->Empty() && FixedCols() > 0) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (!Parent()) return true;
    // A disabled row is passed over.
    if (FUseEnabledRows && FNavigation->SkipDisabledRows() && !GetRowEnabled(ARow)) return false;
    const int oldCol = Col(), oldRow = Row();
    const TGridRect oldSel = Selection();
    const TGridOptions options = Options();

    // Keep the target above the footers.
    if (FFloatingFooter->Visible && ARow >= 0) {
        const int searchHeight = FSearchFooter->Visible() && FSearchPanel ? FSearchPanel->Height() + 2 : 0;
        const int footerTop = ClientHeight() - FFloatingFooter->Height - searchHeight + 2;
        const TFooterStyle style = FFloatingFooter->FooterStyle;
        if (style == fsFixedLastRow || style == fsCustomPaint) {
            if (ARow == RowCount() - 1) return false;  // the footer row itself
            if (ARow >= TopRow() + VisibleRowCount()) SetTopRow(std::max(FixedRows(), ARow - VisibleRowCount() + 1));
            if (VirtualCellRect(ACol, ARow).Bottom >= footerTop) SetTopRow(TopRow() + 1);
        } else {
            if (FFooterPanel) FFooterPanel->Invalidate();
            if (VirtualCellRect(ACol, ARow).Bottom >= footerTop) SetTopRow(TopRow() + 1);
        }
    } else if (FSearchFooter->Visible() && FSearchPanel && ARow >= 0 && ARow < RowCount()) {
        const int limit = ClientHeight() - FSearchPanel->Height() + 2;
        while (VirtualCellRect(ACol, ARow).Bottom > limit && TopRow() < RowCount() - 1) {
            const int top = TopRow();
            SetTopRow(top + 1);
            if (TopRow() == top) break;  // held by the platform: nothing more to scroll
        }
    }

    if (ACol < 0 || ARow < 0) return false;
    if (IsMergedNonBaseCell(DisplayToRealCol(ACol), ARow) && !options.Contains(goRangeSelect)) {
        const TPoint base = BaseCell(DisplayToRealCol(ACol), ARow);
        const int baseCol = RealToDisplayCol(base.X);
        MoveColRow(baseCol, base.Y, true, true);
        RepaintCell(baseCol, base.Y);
        if (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && HasComboBox(base.X, base.Y)))
            ShowInplaceEdit();
        return false;
    }
    if (ACol == 0 && HasNodes() && !options.Contains(goRowSelect)) return false;

    // Editing switched on or off for the target.
    const int realCol = DisplayToRealCol(ACol);
    bool canEdit = options.Contains(goEditing) || FEditDisable;
    CanEditCell(realCol, ARow, canEdit);
    if (FMouseActions->DirectEdit() && HasNoEditor(realCol, ARow)) canEdit = false;
    if (FMouseActions->EditOnDblClickOnly()) canEdit = false;
    if (canEdit) {
        FEditDisable = false;
        if (!Options().Contains(goEditing)) {
            TGridOptions o = Options();
            if (o.Contains(goRowSelect) && FMouseActions->RangeSelectAndEdit()) o >> goRowSelect;
            SetOptions(o << goEditing);
            StoreOldCellValue(realCol, ARow);
            HideInplaceEdit();
        }
    } else {
        HideInplaceEdit();
        if (Options().Contains(goEditing)) {
            FEditDisable = true;
            SetOptions(Options() >> goEditing);
        }
    }

    // Leaving the current cell.
    bool result = false;
    const bool editing = EditorMode() && InplaceEditor() && InplaceEditor()->Visible();
    if (!editing || InplaceEditor()->Focused()) {
        bool allow = true;
        DoCellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            result = options.Contains(goRowSelect);
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const bool valid = ValidateCell(CurrentCell());
        bool allow = true;
        DoCellChanging(ACol, ARow, allow);
        if (valid && allow) result = TBaseGrid::SelectCell(ACol, ARow);
    }

    // Afterwards, whatever the answer.
    if (FRowIndicator && !FRowIndicator->Empty() && FixedCols() > 0) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (FISelect) FISelect->SelectionChanged(Col(), ARow);
    const int selLeft = std::min(oldSel.Left, oldSel.Right), selTop = std::min(oldSel.Top, oldSel.Bottom);
    if (FActiveCellShow) {
        RepaintCellHeaders(oldCol, oldRow, ARow, ACol);
        if (selLeft != oldCol && selTop != oldRow) RepaintCellHeaders(selLeft, selTop, ARow, ACol);
    }
    if (FActiveRowShow) {
        RepaintRow(ARow);
        RepaintRow(selTop);
    }
    if (FSelectionRectangle) RepaintRect(oldSel);
    if (!ComponentState().Contains(csLoading) && ARow != FOldRowSel) {
        const int old = FOldRowSel;
        FOldRowSel = ARow;
        if (OnRowChanged) OnRowChanged(this, old, ARow);
    }
    if (HasCellBorders()) {
        const int left = FixedRows();  // as the grid always did: the fixed rows' count
        RepaintRect({left, selTop, left + VisibleColCount(), std::max(oldSel.Top, oldSel.Bottom)});
    }
    // A refused move stays in its cell, whose entry text the cache keeps.
    if (result && ARow < RowCount() && realCol < TotalColCount()) FCellCache = GetCellEx(realCol, ARow);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Queries

bool TVerAdevovEdav::IsSelected(int ACol, int ARow) const {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (FMouseActions->DisjunctCellSelect())
        return std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{ACol, ARow}) != FSelectedCells.end();
    if (FMouseActions->DisjunctRowSelect())
        return Flagged(FRowSelect.get(), FMouseActions->RowSelectPersistent() ? DisplayToRealRow(ARow) : ARow);
    if (FMouseActions->DisjunctColSelect()) return Flagged(FColSelect.get(), ACol);
    return Inside(Selection(), ACol, ARow);
}

void TVerAdevovEdav::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

bool TVerAdevovEdav::GetSelectedCells(int ACol, int ARow) const {
    if (FMouseActions->DisjunctCellSelect())
        return std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{ACol, ARow}) != FSelectedCells.end();
    return Inside(Selection(), ACol, ARow);
}

void TVerAdevovEdav::SetSelectedCells(int ACol, int ARow, bool Value) {
    auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{ACol, ARow});
    if (Value == (it != FSelectedCells.end())) return;
    if (Value)
        FSelectedCells.push_back({ACol, ARow});
    else
        FSelectedCells.erase(it);
    RepaintCell(ACol, ARow);
}

int TVerAdevovEdav::SelectedCellsCount() {
    if (FMouseActions->DisjunctCellSelect()) return static_cast<int>(FSelectedCells.size());
    FSelectedCells.clear();
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    if (left == right && top == bottom) {
        FSelectedCells.push_back({Col(), Row()});
    } else {
        FSelectedCells.reserve(static_cast<size_t>(right - left + 1) * static_cast<size_t>(bottom - top + 1));
        for (int c = left; c <= right; ++c)
            for (int r = top; r <= bottom; ++r) FSelectedCells.push_back({c, r});
    }
    return static_cast<int>(FSelectedCells.size());
}

TGridCoord TVerAdevovEdav::SelectedCell(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FSelectedCells.size()))
        throw EZedUdidError(u"Invalid selected cell index");
    return FSelectedCells[static_cast<size_t>(Index)];
}

int TVerAdevovEdav::SelectedColCount() const {
    if (FMouseActions->DisjunctColSelect()) return FlagCount(FColSelect.get());
    const TGridRect s = Selection();
    if (IsMergedCell(s.Left, s.Top)) {
        const int span = CellSpan(s.Left, s.Top).X;
        if (s.Left + span > s.Right) return span + 1;
    } else if (IsMergedCell(s.Right, s.Top)) {
        return std::abs(s.Left - s.Right) + 1 + CellSpan(s.Right, s.Top).X;
    }
    return std::abs(s.Left - s.Right) + 1;
}

int TVerAdevovEdav::SelectedRowCount() const {
    if (FMouseActions->DisjunctRowSelect()) return FSelectedRows->Count();
    const TGridRect s = Selection();
    if (IsMergedCell(s.Left, s.Top)) {
        const int span = CellSpan(s.Left, s.Top).Y;
        if (s.Top + span > s.Bottom) return span + 1;
    } else if (IsMergedCell(s.Left, s.Bottom)) {
        return std::abs(s.Top - s.Bottom) + 1 + CellSpan(s.Left, s.Bottom).Y;
    }
    return std::abs(s.Top - s.Bottom) + 1;
}

int TVerAdevovEdav::SelectedRow(int Index) const {
    if (FMouseActions->DisjunctRowSelect())
        return Index >= 0 && Index < FSelectedRows->Count() ? FSelectedRows->GetInteger(Index) : -1;
    const TGridRect s = Selection();
    const int row = std::min(s.Top, s.Bottom) + Index;
    return Index >= 0 && row <= std::max(s.Top, s.Bottom) ? row : -1;
}

String TVerAdevovEdav::SelectedText() {
    TGridRect s = Selection();
    int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows) {
        left = 0;
        right = ColCount() - 1;
    }
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    const bool persistent = FMouseActions->RowSelectPersistent();
    String out;
    bool firstRow = true;
    const int from = disjunct ? FixedRows() : top, to = disjunct ? RowCount() - 1 : bottom;
    for (int r = from; r <= to; ++r) {
        if (disjunct && !Flagged(FRowSelect.get(), persistent ? DisplayToRealRow(r) : r)) continue;
        if (!firstRow) out += u"\r\n";
        firstRow = false;
        for (int c = left; c <= right; ++c) {
            String text = GetCellEx(DisplayToRealCol(c), r);
            if (text.find(u"{\\") != String::npos) text = RichTextToPlainText(text);
            if (FExcelClipboardFormat && CountTextLines(text, FMultilineCells) > 1) QuoteMultiLineText(text);
            if (c > left) out += u'\t';
            out += text;
        }
    }
    return out;
}

void TVerAdevovEdav::ClearModifiedRows() {
    FModifiedRows->Clear();
    Invalidate();
}

void TVerAdevovEdav::ClearSelectedCells() {
    SetSelection({FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    FSelectedCells.clear();
    Invalidate();
}
