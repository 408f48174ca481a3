// Where the cells of TBaseGrid stand on the client area, also out of view, and the repaint
// requests, which all go through RepaintArea.
#include <algorithm>

#include "grid/BaseGrid.h"
#include "platform/ui/WinUser.h"

TRect TBaseGrid::VirtualCellRect(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return TRect();
    // The sums of the sizes before the cell, less what is scrolled away before the first
    // scrolling cell shown; the fixed cells stand before that one. Summed in 64 bits.
    int64_t x = WidthBefore(ACol), y = HeightAbove(ARow);
    if (ACol >= FixedCols()) x += WidthBefore(FixedCols()) - WidthBefore(LeftCol());
    if (ARow >= FixedRows()) y += HeightAbove(FixedRows()) - HeightAbove(TopRow());
    int w = std::max(0, ColWidths(ACol)), h = std::max(0, RowHeights(ARow));
    auto left = static_cast<int32_t>(x), top = static_cast<int32_t>(y);
    return {left, top, left + w, top + h};
}

// The union of the block's first and last cell; with Widen a cell of no width takes one pixel
// (the first towards the right, the last towards the left), so the union keeps it.
TRect TBaseGrid::BlockRect(int c, int r, const TCellProperties* Props, bool Widen) const {
    TPoint b = Props->GetBaseCell(c, r);
    const TCellProperties* bp = HasCellProperties(b.X, b.Y) ? PropsAt(b.X, b.Y) : Props;
    TRect first = VirtualCellRect(b.X, b.Y);
    TRect last = VirtualCellRect(b.X + std::max(0, bp->CellSpanX()), b.Y + std::max(0, bp->CellSpanY()));
    if (Widen) {
        if (first.IsEmpty()) ++first.Right;
        if (last.IsEmpty()) --last.Left;
    }
    TRect u;
    UnionRect(u, first, last);
    return u;
}

TRect TBaseGrid::CellRect(int c, int r) const {
    if (HasCellProperties(c, r)) {
        const TCellProperties* p = PropsAt(c, r);
        if (p->CellSpanX() != -1 && p->CellSpanY() != -1) return BlockRect(c, r, p, true);
        if (p->Control()) return VirtualCellRect(c, r);
    }
    // A cell not on screen has no rectangle on it.
    TRect shown = TObjStringGrid::CellRect(c, r);
    if (shown.IsEmpty()) return TRect();
    return Bounds(shown.Left, shown.Top, std::max(0, ColWidths(c)), std::max(0, RowHeights(r)));
}

TPoint TBaseGrid::CellSize(int c, int r) const {
    TRect rect;
    const TCellProperties* p = HasCellProperties(c, r) ? PropsAt(c, r) : nullptr;
    if (p && p->CellSpanX() != -1 && p->CellSpanY() != -1)
        rect = BlockRect(c, r, p, false);
    else
        rect = VirtualCellRect(c, r);
    return {rect.Width(), rect.Height()};
}

// ---------------------------------------------------------------------------------------------
// Repaint requests

void TBaseGrid::RequestRepaint(const TGridRepaint& Request) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    RepaintArea(Request);
}

void TBaseGrid::RepaintArea(const TGridRepaint& Request) {
    if (Request.Scope == TRepaintScope::Grid) {
        TObjStringGrid::Invalidate();
        return;
    }
    if (!Request.Area.IsEmpty()) ::InvalidateRect(Handle(), &Request.Area, Request.Erase ? TRUE_ : FALSE_);
}

void TBaseGrid::Invalidate() { RequestRepaint(TGridRepaint{}); }

void TBaseGrid::RepaintCell(int c, int r) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    RequestRepaint({TRepaintScope::Cell, {c, r, c, r}, CellRect(c, r), true});
}

void TBaseGrid::RepaintRect(const TGridRect& R) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0) return;
    TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    TRect area;
    if (a.IsEmpty() || b.IsEmpty())
        area = ClientRect();
    else
        UnionRect(area, a, b);
    RequestRepaint({TRepaintScope::Rect, R, area, false});
}

void TBaseGrid::RepaintRow(int ARow) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    TRect row = VirtualCellRect(0, ARow);
    RequestRepaint({TRepaintScope::Row, {0, ARow, ColCount() - 1, ARow}, {0, row.Top, ClientWidth(), row.Bottom}, false});
}

void TBaseGrid::RepaintCol(int ACol) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    TRect col = VirtualCellRect(ACol, 0);
    RequestRepaint({TRepaintScope::Col, {ACol, 0, ACol, RowCount() - 1}, {col.Left, 0, col.Right, ClientHeight()}, false});
}
