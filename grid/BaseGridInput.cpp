// Keys, wheel, scrolling and cell selection of TBaseGrid, which keep the current cell on base
// cells and merged blocks drawn whole.
#include <algorithm>

#include "grid/BaseGrid.h"
#include "platform/ui/Gdi.h"
#include "platform/win/Messages.h"

namespace {
// Marks the moves the grid makes itself while it lives.
struct ForcedSelect {
    explicit ForcedSelect(bool& f) : Flag(f), Was(f) { Flag = true; }
    ~ForcedSelect() { Flag = Was; }
    bool& Flag;
    bool Was;
};
}  // namespace

void TBaseGrid::SnapToBaseCell() {
    if (!HasCellProperties(Col(), Row())) return;
    ForcedSelect forced(FSelectForced);
    TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) SetCol(b.X);
    if (b.Y != Row()) SetRow(b.Y);
}

void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift) {
    if (HasCellProperties(Col(), Row())) {
        ForcedSelect forced(FSelectForced);
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
