// The grid's view services as the data model uses them: the update bracket, fixed cells, the
// colours, font and alignment of a cell, measuring and rendering its text, and the window
// services whose bodies come with the grid's view (they record their calls until then).
#include <algorithm>

#include "grid/ZedUdid.h"
#include "platform/ui/Gdi.h"
#include "render/VarAvir.h"

// ---------------------------------------------------------------------------------------------
// The update bracket

void TVerAdevovEdav::BeginUpdate() { ++FUpdateCount; }

void TVerAdevovEdav::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Fixed cells

bool TVerAdevovEdav::IsFixed(int ACol, int ARow) {
    // A covered cell is fixed as the base cell of its block is.
    TPoint b = BaseCell(DisplayToRealCol(ACol), ARow);
    int baseCol = RealToDisplayCol(b.X);
    if (b.Y >= RowCount() - FFixedFooters) return true;
    if (baseCol >= ColCount() - FFixedRightCols && baseCol < ColCount()) return true;
    bool fixed = false;
    DoIsFixedCell(baseCol, b.Y, fixed);
    return fixed;
}

// ---------------------------------------------------------------------------------------------
// Text, colours and alignment

void TVerAdevovEdav::GetDisplText(int ACol, int ARow, String& Value) { TBaseGrid::GetDisplText(ACol, ARow, Value); }

bool TVerAdevovEdav::HasCellBorders() { return static_cast<bool>(OnGetCellBorder); }

void TVerAdevovEdav::ApplySelectionColors(TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                          TFont* AFont) const {
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
}

void TVerAdevovEdav::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool, bool Remap,
                                         TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
    int realCol = Remap ? DisplayToRealCol(ACol) : ACol;
    int displCol = Remap ? ACol : RealToDisplayCol(ACol);
    bool fixed = IsFixed(displCol, ARow) || displCol < FixedCols() || ARow < FixedRows();
    AFont->Assign(Font());
    TColor brush = clNone;
    AColorTo = AMirrorColor = AMirrorColorTo = clNone;
    WW = FWordWrap;
    GD = GradientVertical;
    bool own = false;
    if (HasCellProperties(realCol, ARow)) {
        TCellProperties* p = GetCellProperties(realCol, ARow);
        if (p->BrushColor() != clNone) {
            brush = p->BrushColor();
            own = true;
        }
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().IsEmpty()) AFont->SetName(p->FontName());
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    if (AState.Contains(gdSelected)) GD = GradientVertical;
    if (brush == clNone) {
        brush = Color();
        // Bands over the normal cells.
        bool normal = realCol >= FixedCols() && realCol < TotalColCount() - FFixedRightCols && ARow >= FixedRows() &&
                      ARow < RowCount() - FFixedFooters;
        if (FBands->Active() && (!Print || FBands->Print()) && normal && FBands->TotalLength() > 0)
            brush = (ARow - FixedRows()) % FBands->TotalLength() < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                                             : FBands->SecondaryColor();
    }
    if (fixed && !own && !Print) {
        brush = FixedColor();
        AState << gdFixed;
    }
    ABrush->SetColor(brush);
    if (Print)
        DoGetCellPrintColor(realCol, ARow, AState, ABrush, AFont);
    else
        DoGetCellColor(realCol, ARow, AState, ABrush, AFont);
    if (!Print && FShowSelection && !fixed && IsSelected(displCol, ARow)) {
        ABrush->SetColor(FSelectionColor);
        ApplySelectionColors(AColorTo, AMirrorColor, AMirrorColorTo, AFont);
        AState << gdSelected;
        GD = GradientVertical;
    }
    DoGetWordWrap(realCol, ARow, WW);
    GetCellAlignment(realCol, ARow, HA, VA);
}

void TVerAdevovEdav::GetDefaultCellProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont,
                        HA, VA, WW, GD);
    // New properties carry no background of their own where the grid paints one.
    bool gradient = FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert;
    if (IsFixed(RealToDisplayCol(ACol), ARow) || FBands->Active() || gradient || state.Contains(gdSelected)) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

void TVerAdevovEdav::GetCellAlignment(int ACol, int ARow, TAlignment& HA, TVAlignment& VA) {
    HA = FDefaultAlignment;
    VA = FVAlignment;
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        HA = p->Alignment();
        VA = p->VAlignment();
    }
    DoGetAlignment(ACol, ARow, HA, VA);
}

// ---------------------------------------------------------------------------------------------
// Measuring and rendering

namespace {

// The text inside a cell: within the margins, on one line or wrapped.
TRect TextArea(TRect r, TPoint offset, bool topLeftOnly) {
    if (topLeftOnly) {
        r.Left += offset.X;
        r.Top += offset.Y;
    } else {
        InflateRect(r, -offset.X, -offset.Y);
    }
    return r;
}

std::vector<String> SplitLines(const String& text) {
    std::vector<String> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t ch = text[i];
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(ch);
        }
    }
    return lines;
}

}  // namespace

TSize TVerAdevovEdav::GetCellTextSize(int ACol, int ARow, bool VS, bool SB) {
    return MeasureCellText(ACol, RealToDisplayCol(ACol), ARow, VS, SB);
}

TSize TVerAdevovEdav::MeasureCellText(int RealCol, int DisplayCol, int ARow, bool VS, bool SB) {
    String text = GetFormattedCell(RealCol, ARow);
    // Measured on a scratch bitmap, so a grid without a window measures alike.
    TBitmap scratch;
    scratch.SetWidth(1);
    scratch.SetHeight(1);
    TCanvas* canvas = scratch.Canvas();
    TGridDrawState state;
    TColor colorTo, mirror, mirrorTo;
    TAlignment ha;
    TVAlignment va;
    bool ww;
    TCellGradientDirection gd;
    TBrush brush;
    GetVisualProperties(DisplayCol, ARow, state, false, false, true, &brush, colorTo, mirror, mirrorTo, canvas->Font(), ha,
                        va, ww, gd);
    if (FZoomFactor != 0) canvas->Font()->SetSize(canvas->Font()->Size() + FZoomFactor);
    TPoint size = CellSize(DisplayCol, ARow);
    TRect r = TextArea(TRect(0, 0, size.X, size.Y), FXYOffset, FXYOffsetTopLeftOnly);
    if (SB) r.Right -= 17;
    if (VS) {
        InflateRect(r, -2, -2);
        TRect calc = r;
        DrawText(canvas->Handle(), text, text.Length(), &calc,
                 DT_CALCRECT | DT_NOPREFIX | DT_EDITCONTROL | DT_EXPANDTABS | DT_WORDBREAK);
        return {calc.Right - r.Left, calc.Bottom - calc.Top};
    }
    std::vector<String> lines = SplitLines(text);
    if (!FMultilineCells) lines.resize(1);
    int width = 0;
    for (const String& line : lines) width = std::max(width, canvas->TextWidth(line));
    return {width, canvas->TextHeight(u"gh") * static_cast<int>(lines.size())};
}

void TVerAdevovEdav::RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    TColor colorTo, mirror, mirrorTo;
    TAlignment ha;
    TVAlignment va;
    bool ww;
    TCellGradientDirection gd;
    GetVisualProperties(ACol, ARow, AState, false, false, true, ACanvas->Brush(), colorTo, mirror, mirrorTo,
                        ACanvas->Font(), ha, va, ww, gd);
    if (FZoomFactor != 0) ACanvas->Font()->SetSize(ACanvas->Font()->Size() + FZoomFactor);
    // The background is the paint frame's (plain, gradient, hover or active row, selection face).
    String text = GetCellEx(DisplayToRealCol(ACol), ARow);
    if (text.IsEmpty()) return;
    TRect r = TextArea(ARect, FXYOffset, FXYOffsetTopLeftOnly);
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    flags |= ha == taRightJustify ? DT_RIGHT : ha == taCenter ? DT_CENTER : DT_LEFT;
    if (ww) {
        // Wrapped text is placed vertically by its measured height (top-aligned text needs none,
        // which saves a second layout of every cell).
        flags |= DT_WORDBREAK;
        if (va != vaTop) {
            TRect calc = r;
            DrawText(ACanvas->Handle(), text, text.Length(), &calc, flags | DT_CALCRECT);
            const int h = calc.Height();
            if (va == vaCenter)
                r.Top += std::max(0, (r.Height() - h) / 2);
            else
                r.Top = std::max(r.Top, r.Bottom - h);
        }
    } else {
        flags |= DT_SINGLELINE | (va == vaCenter ? DT_VCENTER : va == vaBottom ? DT_BOTTOM : DT_TOP);
    }
    ACanvas->Brush()->SetStyle(bsClear);
    DrawText(ACanvas->Handle(), text, text.Length(), &r, flags);
    ACanvas->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------------------------
// Window services: their bodies come with the grid's view; until then they record the calls.

void TVerAdevovEdav::PositionFocusWindow() { ++FViewCalls.PositionFocusWindow; }
void TVerAdevovEdav::DrawWindowBorder() { ++FViewCalls.DrawWindowBorder; }
void TVerAdevovEdav::AdaptToOfficeTheme() { ++FViewCalls.AdaptToOfficeTheme; }
void TVerAdevovEdav::BalloonInit() { ++FViewCalls.BalloonInit; }
void TVerAdevovEdav::BalloonDone() { ++FViewCalls.BalloonDone; }
