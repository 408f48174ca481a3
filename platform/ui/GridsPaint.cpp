// Painting: one DrawCell per cell shown in the part being painted, then the grid lines, the
// background past the last cell and the mark of a running gesture.
#include <algorithm>

#include "platform/ui/Grids.h"

namespace {

// The lines between fixed cells are black, the others silver, as on the platform.
constexpr TColor kFixedLineColor = clBlack;
constexpr TColor kLineColor = clSilver;

bool Intersects(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

}  // namespace

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    const Layout& l = CurrentLayout();
    const Axis& h = l.Horz;
    const Axis& v = l.Vert;
    TRect clip = canvas->ClipRect();
    TRect client = ClientRect();
    bool focused = IsActiveControl();
    TGridRect sel = GridRect(FCurrent, FAnchor);
    bool editorShown = FEditorMode && FInplaceEdit && FInplaceEdit->Visible();

    // The cells shown along an axis: the fixed ones, then the scrolling ones from the first.
    auto shown = [](const Axis& a, int i) { return i < a.FixedShown ? i : a.FirstCell + (i - a.FixedShown); };
    int colsShown = h.FixedShown + std::max(0, h.LastVisibleCell - h.FirstCell + 1);
    int rowsShown = v.FixedShown + std::max(0, v.LastVisibleCell - v.FirstCell + 1);

    for (int ri = 0; ri < rowsShown; ++ri) {
        int row = shown(v, ri);
        int y = v.StartOf(row);
        int rowSize = std::max(0, CellSize(false, row));
        int rowLine = Extent(false, row) - rowSize;
        if (y >= clip.Bottom || y + rowSize + rowLine <= clip.Top || Extent(false, row) == 0) continue;
        for (int ci = 0; ci < colsShown; ++ci) {
            int col = shown(h, ci);
            int x = h.StartOf(col);
            int colSize = std::max(0, CellSize(true, col));
            int colLine = Extent(true, col) - colSize;
            if (Extent(true, col) == 0) continue;
            TRect where(x, y, x + colSize, y + rowSize);
            TRect withLines(x, y, where.Right + colLine, where.Bottom + rowLine);
            if (!Intersects(withLines, clip)) continue;
            bool fixed = col < FFixedCols || row < FFixedRows;
            if (Intersects(where, clip)) {
                TGridDrawState state;
                if (fixed) {
                    state << gdFixed;
                    if (FDefaultDrawing) {
                        canvas->SetFont(Font());
                        canvas->Brush()->SetStyle(bsSolid);
                        canvas->Brush()->SetColor(FFixedColor);
                        canvas->FillRect(where);
                    }
                    DrawCell(col, row, where, state);
                    if (FDefaultDrawing) {
                        TRect edge = where;
                        DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
                    }
                } else {
                    if (focused && col == FCurrent.X && row == FCurrent.Y) state << gdFocused;
                    if (PointInGridRect(col, row, sel)) state << gdSelected;
                    // The cell under the open editor is the editor's.
                    bool edited = state.Contains(gdFocused) && FOptions.Contains(goEditing) && editorShown;
                    if (!edited) {
                        if (FDefaultDrawing) {
                            canvas->SetFont(Font());
                            canvas->Brush()->SetStyle(bsSolid);
                            bool highlight = state.Contains(gdSelected) &&
                                             (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                                              FOptions.Contains(goRowSelect));
                            if (highlight) {
                                canvas->Brush()->SetColor(clHighlight);
                                canvas->Font()->SetColor(clHighlightText);
                            } else {
                                canvas->Brush()->SetColor(Color());
                            }
                            canvas->FillRect(where);
                        }
                        DrawCell(col, row, where, state);
                        if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) &&
                            !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)))
                            canvas->DrawFocusRect(where);
                    }
                }
            }
            // The lines after the cell: the one on the right reaches down through the corner, so
            // the lines cross without gaps. A line switched off takes the cell's colour.
            TColor background = fixed ? FFixedColor : Color();
            bool vertOn = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
            bool horzOn = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
            TColor lineColor = fixed ? kFixedLineColor : kLineColor;
            TRect right(where.Right, y, where.Right + colLine, where.Bottom + rowLine);
            TRect bottom(x, where.Bottom, where.Right, where.Bottom + rowLine);
            if (!vertOn) canvas->FillSolid(right, background);
            if (!horzOn) canvas->FillSolid(bottom, background);
            if (vertOn) canvas->FillSolid(right, lineColor);
            if (horzOn) canvas->FillSolid(bottom, lineColor);
        }
    }
    // Past the last cell: the grid's colour.
    canvas->FillSolid(TRect(h.GridBoundary, 0, client.Right, client.Bottom), Color());
    canvas->FillSolid(TRect(0, v.GridBoundary, std::min(h.GridBoundary, client.Right), client.Bottom), Color());
    TRect guide = GuideRect();
    if (!guide.IsEmpty()) canvas->FillSolid(guide, clBlack);
}

TRect TCustomGrid::GuideRect() const {
    TRect client = ClientRect();
    const Layout& l = CurrentLayout();
    switch (FGridState) {
        case gsColSizing: return TRect(FSizingPos, 0, FSizingPos + std::max(1, l.Horz.LineWidth), client.Bottom);
        case gsRowSizing: return TRect(0, FSizingPos, client.Right, FSizingPos + std::max(1, l.Vert.LineWidth));
        case gsColMoving:
        case gsRowMoving: {
            // A bar on the side of the drop cell the moved one will take.
            bool horz = FGridState == gsColMoving;
            const Axis& a = horz ? l.Horz : l.Vert;
            if (FMovePos == FMoveIndex) return TRect();
            int start = a.StartOf(FMovePos);
            if (start < 0) return TRect();
            int at = FMovePos > FMoveIndex ? start + std::max(0, CellSize(horz, FMovePos)) : start;
            return horz ? TRect(at - 1, 0, at + 2, client.Bottom) : TRect(0, at - 1, client.Right, at + 2);
        }
        default: return TRect();
    }
}

void TCustomGrid::InvalidateGuide() {
    if (!HandleAllocated()) return;
    TRect r = GuideRect();
    if (!r.IsEmpty()) ::InvalidateRect(Handle(), &r, FALSE_);
}
