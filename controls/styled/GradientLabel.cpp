#include "controls/styled/GradientLabel.h"

#include <algorithm>

#include "controls/styled/GradientSteps.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Gdi.h"

void DrawLabelGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect,
                       int Steps) {
    styled::DrawGradientBands(Canvas, FromColor, ToColor, Horizontal, Rect, Steps, styled::TBandReach::TruncatedInside);
}

TGradientLabel::TGradientLabel(TComponent* AOwner) : TLabel(AOwner) {
    SetAutoSize(false);
    SetTransparent(false);
}

String TGradientLabel::Version() const {
    int v = GetVersionNr();
    return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

int TGradientLabel::GetVersionNr() const {
    return (1 << 24) | (2 << 16);
}

void TGradientLabel::SetColorTo(TColor value) {
    FColorTo = value;
    Invalidate();
}

void TGradientLabel::SetEllipsType(TEllipsType value) {
    if (FEllipsType == value) return;
    FEllipsType = value;
    Invalidate();
}

void TGradientLabel::SetGradientType(TGradientType value) {
    FGradientType = value;
    Invalidate();
}

void TGradientLabel::SetGradientDirection(TGradientDirection value) {
    FGradientDirection = value;
    Invalidate();
}

void TGradientLabel::SetIndent(int value) {
    FIndent = value;
    Invalidate();
}

void TGradientLabel::SetLineWidth(int value) {
    FLineWidth = value;
    Invalidate();
}

void TGradientLabel::SetOrientation(TGradientOrientation value) {
    FOrientation = value;
    Invalidate();
}

void TGradientLabel::SetTransparentText(bool value) {
    FTransparentText = value;
    Invalidate();
}

void TGradientLabel::SetVAlignment(TVAlignment value) {
    FVAlignment = value;
    Invalidate();
}

TColor TGradientLabel::StartColor() const {
    return FGradientDirection == gdRightToLeft ? FColorTo : Color();
}

TColor TGradientLabel::EndColor() const {
    return FGradientDirection == gdRightToLeft ? Color() : FColorTo;
}

int TGradientLabel::Steps() const {
    int extent = FGradientType == gtFullVertical ? ClientHeight() : ClientWidth();
    return std::max(32, extent / 4);
}

TRect TGradientLabel::LineRect() const {
    TRect l = ClientRect();
    if (FOrientation == goHorizontal) {
        switch (FGradientType) {
            case gtBottomLine: l.Top = l.Bottom - FLineWidth; break;
            case gtCenterLine:
                l.Top += (l.Height() - FLineWidth) / 2;
                l.Bottom = l.Top + FLineWidth;
                break;
            case gtTopLine: l.Bottom = l.Top + FLineWidth; break;
            default: break;
        }
    } else {
        switch (FGradientType) {
            case gtBottomLine: l.Left = l.Right - FLineWidth; break;
            case gtCenterLine:
                l.Left += (l.Width() - FLineWidth) / 2;
                l.Right = l.Left + FLineWidth;
                break;
            case gtTopLine: l.Right = l.Left + FLineWidth; break;
            default: break;
        }
    }
    return l;
}

UINT TGradientLabel::TextFormat() const {
    UINT f = 0;
    switch (Alignment()) {
        case taLeftJustify: f = DT_LEFT; break;
        case taRightJustify: f = DT_RIGHT; break;
        case taCenter: f = DT_CENTER; break;
    }
    f |= WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
    f |= DT_NOCLIP;
    if (Layout() == tlCenter) f |= DT_VCENTER;
    if (Layout() == tlBottom) f |= DT_BOTTOM;
    if (FEllipsType == etEndEllips) f |= DT_END_ELLIPSIS;
    if (FEllipsType == etPathEllips) f |= DT_PATH_ELLIPSIS;
    if (!ShowAccelChar()) f |= DT_NOPREFIX;
    if (FVAlignment == vaCenter) f |= DT_VCENTER;
    if (FVAlignment == vaBottom) f |= DT_BOTTOM;
    return DrawTextBiDiModeFlags(f) | DT_EXPANDTABS;
}

void TGradientLabel::Paint() {
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    TRect r = ClientRect();
    c->SetFont(Font());
    TRect calc = r;
    DrawTextEx(dc, Caption(), -1, &calc, DT_CALCRECT | DT_EXPANDTABS, nullptr);
    const int tw = calc.Width();
    const int steps = Steps();
    bool full = FGradientType == gtFullHorizontal || FGradientType == gtFullVertical;

    if (!Transparent() && full) {
        if (FColorTo == clNone) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(Color());
            c->Pen()->SetColor(Color());
            c->Rectangle(r);
        } else {
            DrawLabelGradient(c, StartColor(), EndColor(), FGradientType == gtFullHorizontal, r, steps);
        }
    }

    if (!full) {
        TRect l = LineRect();
        int saved = SaveDC(dc);
        if (FTransparentText) {
            // The gap behind the text runs along x; the clip is in device coordinates.
            int a1 = l.Left, a2 = l.Left, b1 = l.Right, b2 = l.Right;
            switch (Alignment()) {
                case taLeftJustify:
                    a2 = l.Left + FIndent;
                    b1 = l.Left + FIndent + tw;
                    break;
                case taRightJustify:
                    a2 = l.Right - tw - FIndent;
                    b1 = l.Right - FIndent;
                    break;
                case taCenter: {
                    int w = l.Width();
                    a2 = l.Left + (w - tw) / 2 - 2;
                    b1 = l.Left + tw + (w - tw) / 2;
                    break;
                }
            }
            TPoint off = c->DeviceOffset();
            HRGN first = CreateRectRgn(a1 + off.X, l.Top + off.Y, a2 + off.X, l.Bottom + off.Y);
            HRGN second = CreateRectRgn(b1 + off.X, l.Top + off.Y, b2 + off.X, l.Bottom + off.Y);
            CombineRgn(first, first, second, RGN_OR);
            ExtSelectClipRgn(dc, first, RGN_AND);
            DeleteObject(first);
            DeleteObject(second);
        }
        if (FOrientation == goHorizontal)
            DrawLabelGradient(c, StartColor(), EndColor(), true, l, steps);
        else
            DrawLabelGradient(c, EndColor(), StartColor(), false, l, steps);
        RestoreDC(dc, saved);
    }

    r = ClientRect();
    c->Brush()->SetStyle(bsClear);
    UINT format = TextFormat();
    if (FOrientation == goHorizontal) {
        if (Alignment() == taLeftJustify) r.Left += FIndent;
        if (Alignment() == taRightJustify) r.Right -= FIndent;
    } else {
        if (Alignment() == taLeftJustify) r.Bottom -= FIndent;
        if (Alignment() == taRightJustify) r.Top += FIndent;
    }
    if (!Enabled()) {
        TRect shifted = r;
        OffsetRect(shifted, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        DrawTextEx(dc, Caption(), -1, &shifted, format, nullptr);
        c->Font()->SetColor(clBtnShadow);
        DrawTextEx(dc, Caption(), -1, &r, format, nullptr);
        return;
    }
    if (FOrientation == goVertical) {
        // Reading upward: the font turned by 90 degrees.
        TFont turned;
        turned.Assign(Font());
        turned.SetOrientation(900);
        c->SetFont(&turned);
        int th = c->TextHeight(Caption()), twc = c->TextWidth(Caption());
        int x = r.Left;
        if (Layout() == tlCenter) x = (r.Right - r.Left) / 2 - th / 2;
        if (Layout() == tlBottom) x = r.Right - th;
        int y = r.Bottom;
        if (Alignment() == taRightJustify) y = r.Top + twc;
        if (Alignment() == taCenter) y = twc / 2 + (r.Bottom - r.Top) / 2;
        c->TextOut(x, y, Caption());
        return;
    }
    DrawTextEx(dc, Caption(), -1, &r, format, nullptr);
}
