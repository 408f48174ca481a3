// The paint frame of TBaseGrid: every cell filled (plain, gradient, hover row, active row or a
// selection face), its own grid lines, a merged block once per paint pass, and the content
// handed to RenderCell.
#include <algorithm>

#include "grid/BaseGrid.h"
#include "platform/ui/Gdi.h"
#include "render/VarAvir.h"

const TSelectionFaceColors& SelectionFaceColors(TGridSelectionStyle Style) {
    static const TSelectionFaceColors vista{0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone};
    static const TSelectionFaceColors win7{0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone};
    static const TSelectionFaceColors office{0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0xB3F1FC, 0x58D4FC};
    switch (Style) {
        case ssWin7: return win7;
        case ssOffice2007: return office;
        default: return vista;
    }
}

const TSelectionFaceColors& UnfocusedSelectionFaceColors() {
    static const TSelectionFaceColors unfocused{0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9, 0xF0F0F0, 0xFBFAFA, clNone, clNone};
    return unfocused;
}

// ---------------------------------------------------------------------------------------------
// Settings

void TBaseGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = Value;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value) {
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value) {
    FGridFixedLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) { StoreAndInvalidate(FSelectionStyle, Value); }
void TBaseGrid::SetActiveRowShow(bool Value) { StoreAndInvalidate(FActiveRowShow, Value); }
void TBaseGrid::SetActiveRowColor(TColor Value) { StoreAndInvalidate(FActiveRowColor, Value); }
void TBaseGrid::SetActiveRowColorTo(TColor Value) { StoreAndInvalidate(FActiveRowColorTo, Value); }
void TBaseGrid::SetActiveRowMirrorColor(TColor Value) { StoreAndInvalidate(FActiveRowMirrorColor, Value); }
void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value) { StoreAndInvalidate(FActiveRowMirrorColorTo, Value); }

// ---------------------------------------------------------------------------------------------
// The frame

void TBaseGrid::Paint() {
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    PaintCell(Canvas(), ACol, ARow, ARect, AState);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DrawCellBackground(TCanvas* ACanvas, const TCellBackground& B) {
    switch (B.Kind) {
        case TCellBackground::Face: {
            const TSelectionFaceColors& f = B.FaceColors;
            DrawButtonFace(ACanvas, f.BodyFrom, f.BodyTo, f.MirrorFrom, f.MirrorTo, f.UpperInner, f.LowerInner, f.OuterBorder,
                           f.CornerShade, B.Back, B.Rect, B.EdgeStyle);
            break;
        }
        case TCellBackground::Step:
            DrawStepGradient(ACanvas, B.Color, B.ColorTo, 64, B.Rect, B.Horizontal);
            break;
        case TCellBackground::Mirror:
            DrawMirrorGradient(ACanvas, B.Rect, B.Color, B.ColorTo, B.MirrorColor, B.MirrorColorTo, !B.Horizontal, clNone,
                               false, true);
            break;
    }
}

void TBaseGrid::PaintCellFrame(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Screen) {
    // The last row hidden behind the floating footer is only filled.
    if (ARow == RowCount() - 1 && FHideLastRow) {
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetColor(Color());
        ACanvas->FillRect(ARect);
        return;
    }
    int bc, br;
    if (!FindBaseCell(ACol, ARow, bc, br)) {
        // A covered cell paints its whole block once per paint pass, whichever cell comes first.
        TCellProperties* bp = HasCellProperties(bc, br) ? PropsAt(bc, br) : nullptr;
        if (bp && bp->FPaintID != FPaintID) {
            bp->FPaintID = FPaintID;
            PaintCell(ACanvas, bc, br, ARect, AState);
        }
        return;
    }
    if (TCellProperties* p = HasCellProperties(ACol, ARow) ? PropsAt(ACol, ARow) : nullptr) p->FPaintID = FPaintID;
    TRect r = ARect;
    if (Screen) {
        if (IsFixed(ACol, ARow)) {
            AState >> gdSelected;
            AState << gdFixed;
        }
        r = CellRect(ACol, ARow);
        if (r.IsEmpty()) r = ARect;
    }

    // A block partly scrolled under the fixed cells does not paint over them.
    const int fx = ACol >= FixedCols() ? static_cast<int>(WidthBefore(FixedCols())) : 0;
    const int fy = ARow >= FixedRows() ? static_cast<int>(HeightAbove(FixedRows())) : 0;
    const bool clip =
        (ACol >= FixedCols() && FixedCols() > 0 && r.Left < fx) || (ARow >= FixedRows() && FixedRows() > 0 && r.Top < fy);
    HDC dc = ACanvas->Handle();
    const int saved = clip ? SaveDC(dc) : 0;
    if (clip) IntersectClipRect(dc, fx, fy, Width(), Height());

    ACanvas->Pen()->SetWidth(1);
    ACanvas->SetFont(Font());
    ACanvas->Brush()->SetStyle(bsSolid);
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas->Brush(), colorTo, mirror, mirrorTo, ACanvas->Font(),
                        ha, va, ww, gd);
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
    const bool selected = AState.Contains(gdSelected);

    if (ARow == FHoverRowIndex && FHoverRow && !selected) {
        ACanvas->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirror = mirrorTo = clNone;
        gd = GradientVertical;
    }
    const bool currentCell = ACol == Col() && ARow == Row();
    if ((FActiveRowShow && ARow == Row() && ACol >= FixedCols() && (!currentCell || !FSelectionShown)) ||
        (selected && !Screen)) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
        ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
    }

    TCellBackground b;
    b.Color = ACanvas->Brush()->Color();
    b.ColorTo = colorTo;
    b.MirrorColor = mirror;
    b.MirrorColorTo = mirrorTo;
    b.Horizontal = gd == GradientHorizontal;
    b.Rect = r;
    if (selected && FSelectionStyle != ssDefault && FSelectionShown) {
        const TGridRect s = Selection();
        const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
        b.Kind = TCellBackground::Face;
        b.EdgeStyle = left < ACol && ACol < right ? 3 : left == ACol && ACol < right ? 1 : right == ACol && ACol > left ? 2 : 0;
        if (!Options().Contains(goHorzLine)) ++b.Rect.Bottom;
        if (!Options().Contains(goVertLine)) ++b.Rect.Right;
        if (UseRightToLeftReading()) {
            ++b.Rect.Right;
            ++b.Rect.Bottom;
        }
        b.FaceColors = Focused() || Options().Contains(goDrawFocusSelected) ? SelectionFaceColors(FSelectionStyle)
                                                                            : UnfocusedSelectionFaceColors();
        b.Back = Color();
    } else {
        b.Kind = mirrorTo == clNone ? TCellBackground::Step : TCellBackground::Mirror;
    }
    DrawCellBackground(ACanvas, b);

    // The grid's own lines.
    const bool fixed = AState.Contains(gdFixed);
    int h = 0;
    bool lines = true;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
        h = 1;
    } else if (FGridLineWidth > 0) {
        ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        h = (FGridLineWidth + 1) / 2;
    } else {
        lines = false;
    }
    const TGridOptions o = Options();
    if (lines && (bc != 0 || !HasNodes()) && (fixed ? o.Contains(goFixedHorzLine) : o.Contains(goHorzLine))) {
        ACanvas->MoveTo(r.Left - h + 1, r.Bottom - h);
        ACanvas->LineTo(r.Right - h + 1, r.Bottom - h);
    }
    if (lines && (fixed ? o.Contains(goFixedVertLine) : o.Contains(goVertLine))) {
        const int x = r.Right - h + (UseRightToLeftAlignment() ? 1 : 0);
        ACanvas->MoveTo(x, r.Bottom - h);
        ACanvas->LineTo(x, r.Top - h);
    }

    if (Screen) {
        TRect content = fixed ? TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 2)
                              : TRect(r.Left + FGridLineWidth, r.Top + FGridLineWidth, r.Right - FGridLineWidth,
                                      r.Bottom - FGridLineWidth);
        RenderCell(ACanvas, ACol, ARow, content, AState);
    }
    if (clip) RestoreDC(dc, saved);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Pen()->SetStyle(psSolid);
}

void TBaseGrid::RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
    String text = GetCellEx(ACol, ARow);
    ACanvas->Brush()->SetStyle(bsClear);
    DrawText(ACanvas->Handle(), text, text.Length(), &ARect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    ACanvas->Brush()->SetStyle(bsSolid);
}
