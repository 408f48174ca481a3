// Merged cells of TBaseGrid: the queries, which never create properties, and the two
// primitives that merge and split a block.
#include <algorithm>

#include "grid/BaseGrid.h"

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return {ACol, ARow};
    return PropsAt(ACol, ARow)->GetBaseCell(ACol, ARow);
}

bool TBaseGrid::FindBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
    BaseCol = ACol;
    BaseRow = ARow;
    if (!HasCellProperties(ACol, ARow)) return true;
    const TCellProperties* p = PropsAt(ACol, ARow);
    if (p->IsBaseCell()) return true;
    TPoint b = p->GetBaseCell(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return false;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
    return !HasCellProperties(ACol, ARow) || PropsAt(ACol, ARow)->IsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return false;
    const TCellProperties* p = PropsAt(ACol, ARow);
    return p->CellSpanX() > 0 || p->CellSpanY() > 0;
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const { return CellSpan(ACol, ARow).X > 0; }
bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const { return CellSpan(ACol, ARow).Y > 0; }

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return {0, 0};
    const TCellProperties* p = PropsAt(ACol, ARow);
    if (p->CellSpanX() == -1 || p->CellSpanY() == -1) return {0, 0};
    TPoint b = p->GetBaseCell(ACol, ARow);
    if (!HasCellProperties(b.X, b.Y)) return {0, 0};
    const TCellProperties* bp = PropsAt(b.X, b.Y);
    return {std::max(0, bp->CellSpanX()), std::max(0, bp->CellSpanY())};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const {
    TPoint span = CellSpan(ACol, ARow);
    if (span.X == 0 && span.Y == 0) return {0, 0};
    TPoint b = BaseCell(ACol, ARow);
    return {b.X + span.X - ACol, b.Y + span.Y - ARow};
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const {
    TPoint b = BaseCell(ACol, ARow);
    TPoint span = CellSpan(ACol, ARow);
    return {b.X, b.Y, b.X + span.X, b.Y + span.Y};
}

int TBaseGrid::MinRowSpan(int ARow) const {
    int least = RowCount();
    if (!FHasCellProps) return least;
    for (int c = 0; c < ColCount(); ++c) {
        int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < least) least = s;
    }
    return least;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
    int most = 0;
    if (!FHasCellProps) return most;
    for (int c = 0; c < ColCount(); ++c) most = std::max(most, CellSpan(c, ARow).Y);
    return most;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const {
    bool found = false;
    if (!FHasCellProps) return found;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            found = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
        }
    }
    return found;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const {
    bool found = false;
    if (!FHasCellProps) return found;
    for (int r = 0; r < RowCount(); ++r) {
        int x1 = CellSpan(ACol1, r).X, x2 = CellSpan(ACol2, r).X;
        if (x1 > 0 && x2 > 0) {
            found = true;
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
        } else if (x1 != x2) {
            return false;
        }
    }
    return found;
}

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany) {
    ++FMergeCount;
    if (spanx < 1 || spany < 1) return;
    for (int i = c; i < c + spanx; ++i) {
        for (int j = r; j < r + spany; ++j) {
            TCellProperties* p = GetCellProperties(i, j);
            bool base = i == c && j == r;
            p->FIsBaseCell = base;
            p->FCellSpanX = base ? spanx - 1 : i - c;
            p->FCellSpanY = base ? spany - 1 : j - r;
        }
    }
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j) RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r) {
    TCellProperties* p = GetCellProperties(c, r);
    TPoint b = p->GetBaseCell(c, r);
    const TCellProperties* bp = PropsAt(b.X, b.Y);
    int sx = bp ? bp->CellSpanX() : -1, sy = bp ? bp->CellSpanY() : -1;
    for (int i = b.X; i <= b.X + sx; ++i) {
        for (int j = b.Y; j <= b.Y + sy; ++j) {
            TCellProperties* q = GetCellProperties(i, j);
            q->FIsBaseCell = true;
            q->FCellSpanX = -1;
            q->FCellSpanY = -1;
        }
    }
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j) RepaintCell(i, j);
    --FMergeCount;
}
