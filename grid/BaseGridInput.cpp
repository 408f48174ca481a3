// Keys, wheel, scrolling and cell selection of TBaseGrid, which keep the current cell on base
// cells and merged blocks drawn whole, and the frame that paints each cell once per block.
#include <algorithm>

#include "grid/BaseGrid.h"
#include "platform/ui/Gdi.h"
#include "platform/win/Messages.h"

void TBaseGrid::SnapToBaseCell() {
    if (!HasCellProperties(Col(), Row())) return;
    TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) SetCol(b.X);
    if (b.Y != Row()) SetRow(b.Y);
}

void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift) {
    if (HasCellProperties(Col(), Row())) {
        TPoint b = BaseCell(Col(), Row());
        const TCellProperties* bp = HasCellProperties(b.X, b.Y) ? PropsAt(b.X, b.Y) : PropsAt(Col(), Row());
        int sx = bp->CellSpanX(), sy = bp->CellSpanY();
        switch (Key) {
            case VK_LEFT:
                // Never before the first scrolling column: bc - sx may reach a fixed or negative one.
                if (b.X < Col() && FixedCols() < Col() && b.X > 0) SetCol(std::max(b.X - sx, FixedCols()));
                break;
            case VK_UP:
                if (b.Y < Row() && FixedRows() < Row() && b.Y > 0) SetRow(std::max(b.Y - 1, FixedRows()));
                break;
            case VK_RIGHT: {
                // To the block's last column: the platform then steps past the block.
                int e = b.X + sx;
                if (e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount()) SetCol(e);
                break;
            }
            case VK_DOWN: {
                int e = b.Y + sy;
                if (e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1 && e < RowCount()) SetRow(e);
                break;
            }
            default: break;
        }
    }
    // Page Down on the last page stops above the row the floating footer covers.
    if (Key == VK_NEXT && FHideLastRow && RowCount() > 1 &&
        RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1) {
        SetRow(RowCount() - 2);
        Key = 0;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) {
    bool handled = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && VisibleRowCount() < Row() - TopRow() && Row() != RowCount() - 1) SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return handled;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) {
    bool handled = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return handled;
}

void TBaseGrid::TopLeftChanged() {
    TObjStringGrid::TopLeftChanged();
    if (!FHasCellProps) return;
    int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r <= lastRow; ++r)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
    int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c <= lastCol; ++c)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

bool TBaseGrid::SelectCell(int ACol, int ARow) {
    if (UseRightToLeftReading()) {
        bool ok = TObjStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return ok;
    }
    RepaintCell(Col(), Row());
    bool ok = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Painting

void TBaseGrid::Paint() {
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TCanvas* canvas = Canvas();
    if (ARow == RowCount() - 1 && FHideLastRow) {
        canvas->Brush()->SetColor(Color());
        canvas->Pen()->SetColor(Color());
        canvas->FillRect(ARect);
        return;
    }
    int bc, br;
    if (!FindBaseCell(ACol, ARow, bc, br)) {
        // A covered cell paints its whole block once per paint pass, whichever cell comes first.
        TCellProperties* bp = HasCellProperties(bc, br) ? PropsAt(bc, br) : nullptr;
        if (bp && bp->FPaintID != FPaintID) DrawCell(bc, br, ARect, AState);
        return;
    }
    if (TCellProperties* p = HasCellProperties(ACol, ARow) ? PropsAt(ACol, ARow) : nullptr) p->FPaintID = FPaintID;
    if (IsFixed(ACol, ARow)) {
        AState >> gdSelected;
        AState << gdFixed;
    }
    TRect r = CellRect(ACol, ARow);
    if (r.IsEmpty()) r = ARect;
    // A block partly scrolled under the fixed cells does not paint over them.
    int fx = ACol >= FixedCols() ? static_cast<int>(WidthBefore(FixedCols())) : 0;
    int fy = ARow >= FixedRows() ? static_cast<int>(HeightAbove(FixedRows())) : 0;
    bool clip = (ACol >= FixedCols() && FixedCols() > 0 && r.Left < fx) || (ARow >= FixedRows() && FixedRows() > 0 && r.Top < fy);
    HDC dc = canvas->Handle();
    int saved = clip ? SaveDC(dc) : 0;
    if (clip) IntersectClipRect(dc, fx, fy, Width(), Height());
    canvas->Pen()->SetWidth(1);
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, canvas->Brush(), colorTo, mirror, mirrorTo, canvas->Font(),
                        ha, va, ww, gd);
    canvas->Pen()->SetColor(canvas->Brush()->Color());
    canvas->FillRect(r);
    RenderCell(canvas, ACol, ARow, r, AState);
    if (clip) RestoreDC(dc, saved);
    canvas->Brush()->SetStyle(bsSolid);
}

void TBaseGrid::RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
    String text = GetCellEx(ACol, ARow);
    ACanvas->Brush()->SetStyle(bsClear);
    DrawText(ACanvas->Handle(), text, text.Length(), &ARect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    ACanvas->Brush()->SetStyle(bsSolid);
}
