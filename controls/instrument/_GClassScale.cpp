// Bar and scale settings: painting a bar for a PPT, measuring and drawing tick scales.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/instrument/_GClass.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Gdi.h"

namespace {

int RoundI(double v) { return static_cast<int>(Round(v)); }

// The rectangle of the span [a, b) along the long side of a w x h area: from the left when
// horizontal, from the bottom upwards otherwise, across the whole short side.
TRect Along(bool horizontal, int w, int h, int a, int b) {
    if (a > b) std::swap(a, b);
    return horizontal ? TRect(a, 0, b, h) : TRect(0, h - b, w, h - a);
}

void FillSpan(TCanvas* can, const TRect& r, TColor color) {
    can->Brush()->SetStyle(bsSolid);
    can->Brush()->SetColor(color);
    can->Pen()->SetColor(color);
    can->FillRect(r);
}

}  // namespace

// --- TBarSettings ----------------------------------------------------------------------------

TBarSettings::TBarSettings()
    : FFont(std::make_unique<TFont>()), FBevel(std::make_unique<TMvSBevel>()), FSectorSettings(std::make_unique<TSectorSettings>()) {
    FFont->SetColor(clBtnHighlight);
    FBevel->SetStyle(bsLowered);
    FBevel->SetSpacing(0);
    FBevel->SetBevelLine(blNone);
    FBevel->SetWidth(1);
    FBevel->SetColor(clBtnFace);
    FFont->OnChange = [this](TPersistent* Sender) { ChangeObject(Sender); };
    FBevel->OnChange = [this](TObject* Sender) { ChangeObject(Sender); };
}

TBarSettings::~TBarSettings() = default;

void TBarSettings::SetFont(TFont* F) {
    if (F == FFont.get()) return;
    FFont->Assign(F);
    ChangeObject(this);
}

void TBarSettings::SetBevel(TMvSBevel* B) {
    if (B == FBevel.get()) return;
    FBevel->Assign(B);
    Change();
}

void TBarSettings::SetMinWidth(int32_t v) {
    if (v <= 0) return;
    FminWidth = v;
    Change();
}

void TBarSettings::SetMinHeight(int32_t v) {
    if (v <= 0) return;
    FminHeight = v;
    Change();
}

void TBarSettings::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TBarSettings*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->SetColor(FColor);
    d->SetBkColor(FBkColor);
    d->SetFont(FFont.get());
    d->SetOptions(FOptions);
    d->SetStyle(FStyle);
    d->SetBevel(FBevel.get());
    d->SetMinWidth(FminWidth);
    d->SetMinHeight(FminHeight);
    d->Change();
}

void TBarSettings::PaintSectors(TCanvas* can, const TRect& R, const TSectorSettings& s, bool dimmed) const {
    auto tone = [&](TColor c) { return dimmed ? ColorBrightness(c, FBkBrightness) : c; };
    const TColor c1 = tone(s.Sector1Color()), c2 = tone(s.Sector2Color()), c3 = tone(s.Sector3Color());
    const TColor bk = tone(FBkColor);
    const int rw = R.Width(), rh = R.Height();
    const bool horizontal = rh < rw;
    const double f = (horizontal ? rw : rh) / 1000.0;
    auto span = [&](int a, int b, TColor color) {
        TRect r = Along(horizontal, rw, rh, RoundI(a * f), RoundI(b * f));
        FillSpan(can, OffsetRectBy(r, R.Left, R.Top), color);
    };
    if (s.Sector1From() > 0) span(0, s.Sector1From(), bk);
    span(s.Sector1From(), s.Sector1To(), c1);
    span(s.Sector1To(), s.Sector2From(), bk);
    span(s.Sector2From(), s.Sector2To(), c2);
    span(s.Sector2To(), s.Sector3From(), bk);
    span(s.Sector3From(), s.Sector3To(), c3);
    if (s.Sector3To() < 1000) span(s.Sector3To(), 1000, bk);
}

void TBarSettings::Paint(TCanvas* can, int32_t, TSectorSettings* sectors) {
    w = BarRect.Width();
    h = BarRect.Height();
    PaintSectors(can, BarRect, sectors ? *sectors : *FSectorSettings, true);
}

void TBarSettings::PaintValueText(TBitmap& bar, bool horizontal) {
    const int W = bar.Width(), H = bar.Height();
    FTextBmp.SetSize(W, H);
    TCanvas* t = FTextBmp.Canvas();
    FillSpan(t, TRect(0, 0, W, H), clBlack);
    t->SetFont(FFont.get());
    t->Font()->SetColor(clBtnHighlight);
    t->Brush()->SetStyle(bsClear);
    const bool unit = FOptions.Contains(opUnit);
    if (horizontal) {
        TextOutAligned(t, W / 2, H / 2, 4, unit ? Value + u" " + ValueUnit : Value);
    } else if (unit) {
        TextOutAligned(t, W / 2, H / 2, 7, Value);
        TextOutAligned(t, W / 2, H / 2, 1, ValueUnit);
    } else {
        TextOutAligned(t, W / 2, H / 2, 4, Value);
    }
    BitBlt(bar.Canvas()->Handle(), 0, 0, W, H, t->Handle(), 0, 0, SRCINVERT);
}

void TBarSettings::PaintBar(TCanvas* can, int32_t PPT) {
    w = BarRect.Width();
    h = BarRect.Height();
    // Nothing to paint on an empty bar, in either direction.
    if (w <= 0 || h <= 0) return;
    const bool horizontal = h < w;
    const int L = horizontal ? w : h;
    TBitmap& bar = FBarBmp;
    bar.SetSize(w, h);
    TCanvas* b = bar.Canvas();
    FillSpan(b, TRect(0, 0, w, h), FBkColor);
    if (FBkAuto && FStyle != bsLED_Bar) PaintSectors(b, TRect(0, 0, w, h), *FSectorSettings, true);
    const TColor col = FOptions.Contains(opUseSectorCol) ? SectorCol : FColor;
    auto fill = [&](int a, int e, TColor c) { FillSpan(b, Along(horizontal, w, h, a, e), c); };
    switch (FStyle) {
        case bsBar: {
            const double f = L / 1000.0;
            const int p0 = FOptions.Contains(opBidir) ? RoundI(f * ppt0) : 0;
            fill(p0, RoundI(PPT * f), col);
            break;
        }
        case bsMultiColor: {
            TBitmap& full = FSectorBmp;
            full.SetSize(w, h);
            FillSpan(full.Canvas(), TRect(0, 0, w, h), FBkColor);  // where no span reaches
            PaintSectors(full.Canvas(), TRect(0, 0, w, h), *FSectorSettings, false);
            const TRect part = Along(horizontal, w, h, 0, RoundI(PPT * static_cast<double>(L) / 1000));
            b->CopyRect(part, full.Canvas(), part);
            break;
        }
        case bsPoint: {
            const int p = RoundI(PPT * ((L - 3) / 1000.0));
            fill(p, p + 3, col);
            break;
        }
        case bsLED_Bar: {
            // An LED needs 4 pixels: a shorter bar shows its background only.
            const int n = L / 4;
            if (n == 0) break;
            for (int i = 0; i <= n; ++i) {
                const int p = RoundI(static_cast<double>(i) / n * 1000);
                TColor led = FBkColor;
                FSectorSettings->CheckSectorColor(p, led);
                if (PPT <= p) led = FBkAuto ? ColorBrightness(led, FBkBrightness) : FBkColor;
                fill(4 * i + 1, 4 * i + 4, led);
            }
            break;
        }
    }
    if (FOptions.Contains(opValue)) PaintValueText(bar, horizontal);
    can->Draw(BarRect.Left, BarRect.Top, &bar);
}

// --- TScaleSettings --------------------------------------------------------------------------

TScaleSettings::TScaleSettings() : FFont(std::make_unique<TFont>()) {
    FFont->SetName(u"Arial");
    FFont->SetSize(14);
    FFont->OnChange = [this](TPersistent*) { Change(); };
}

TScaleSettings::~TScaleSettings() = default;

void TScaleSettings::SetFont(TFont* F) {
    if (F != FFont.get()) FFont->Assign(F);
    Change();
}

void TScaleSettings::SetSteps(int32_t v) {
    if (v < 1 || v > 20) return;
    FSteps = v;
    Change();
}

void TScaleSettings::SetSubSteps(int32_t v) {
    if (v < 1 || v > 10) return;
    FSubSteps = v;
    Change();
}

void TScaleSettings::SetDrawLine(bool v) {
    FDrawLine = v;
    Change();
}

void TScaleSettings::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TScaleSettings*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->SetColor(FColor);
    d->SetDrawLine(FDrawLine);
    d->SetFont(FFont.get());
    d->SetPointerColor(FPointerColor);
    d->SetPosLeftTop(FPosLeftTop);
    d->SetSteps(FSteps);
    d->SetSubSteps(FSubSteps);
    d->SetValueFormat(FValueFormat);
    d->SetValueFormatLog(FValueFormatLog);
}

void TScaleSettings::Labels(TCanvas* can, float ValueFrom, float ValueTo, bool descending) {
    if (!LogScale) {
        // The first label is ValueTo on a vertical scale, ValueFrom on the others.
        if (descending) LinearLabelList(FSteps, FValueFormat, Text, ValueTo, ValueFrom);
        else LinearLabelList(FSteps, FValueFormat, Text, ValueFrom, ValueTo);
    } else {
        // A bound of 0 or less counts as 1, as for any decade.
        int e1 = 0, e2 = 0;
        Decade(ValueFrom, e1);
        Decade(ValueTo, e2);
        exp1 = e1;
        exp2 = e2;
        const int diff = std::abs(exp2 - exp1);
        LogSteps = 1;
        for (int k = std::min(FSteps, diff); k > 1; --k) {
            if (diff % k == 0) {
                LogSteps = k;
                break;
            }
        }
        const int d = (exp2 - exp1) / LogSteps;
        Text.clear();
        for (int j = 0; j <= LogSteps; ++j) {
            const int e = descending ? exp2 - j * d : exp1 + j * d;
            Text += FormatFloat(FValueFormatLog, StrToFloat(u"1e" + IntToStr(e))) + u";";
        }
    }
    can->SetFont(FFont.get());
    can->Pen()->SetColor(FColor);
    int tw = 0, th = 0;
    MaxItemWidth(can, tw, th, Text);
    TextW = tw;
    TextH = th;
    PenW1 = RoundI(TextH / 14.0);
    BarSpace = PenW1 / 2 + 3;
}

void TScaleSettings::TickSizes() {
    sl1 = RoundI(TextH / 1.4);
    sl2 = PenW1 == 1 ? sl1 / 2 : RoundI(sl1 / 1.4);
}

void TScaleSettings::CalcSize(TCanvas* can, float ValueFrom, float ValueTo) {
    Labels(can, ValueFrom, ValueTo, true);
    TickSizes();
    Spacing = TextH / 3;
    TotalWidth = TextW + sl1 + Spacing;
    minHeight = RoundI(TextH * Divisions() * 1.4);
}

void TScaleSettings::CalcHSize(TCanvas* can, float ValueFrom, float ValueTo) {
    Labels(can, ValueFrom, ValueTo, false);
    TickSizes();
    Spacing = TextH / 5;
    TotalWidth = RoundI(TextW * Divisions() * 1.4);
    minHeight = TextH / 2 + sl1 + Spacing;
}

void TScaleSettings::CalcRSize(TCanvas* can, float ValueFrom, float ValueTo) {
    Labels(can, ValueFrom, ValueTo, false);
    Spacing = std::max(TextW, TextH) / 2 + 1;
}

namespace {

void Tick(TCanvas* can, int width, int x1, int y1, int x2, int y2) {
    can->Pen()->SetWidth(width);
    can->MoveTo(x1, y1);
    can->LineTo(x2, y2);
}

}  // namespace

void TScaleSettings::VertiScala(TCanvas* can, const TRect& r) {
    can->SetFont(FFont.get());
    can->Pen()->SetColor(FColor);
    can->Brush()->SetStyle(bsClear);
    const int N = Divisions();
    const float d = static_cast<float>(r.Bottom - r.Top) / static_cast<float>(N * FSubSteps);
    const float D = static_cast<float>(FSubSteps) * d;
    pos0 = r.Bottom;
    pos100 = RoundI(r.Bottom - N * D);
    const int yEnd = RoundI(N * D + r.Top);
    // Labels to the left of a scale at r.Right, or to the right of one at r.Left.
    const int x = FPosLeftTop ? r.Right : r.Left;
    const int dir = FPosLeftTop ? -1 : 1;
    const int labelX = FPosLeftTop ? x - sl1 - Spacing + 1 : x + sl1 + Spacing;
    const int align = FPosLeftTop ? 5 : 3;
    String labels = Text, label;
    if (FDrawLine) Tick(can, PenW1, x, r.Top, x, yEnd);
    const float q = FSubSteps < 1 ? 1.0f : 10.0f / static_cast<float>(FSubSteps);
    for (int i = 0; i < N; ++i) {
        const int y = RoundI(r.Top + D * i);
        Tick(can, PenW1, x, y, x + dir * sl1, y);
        SplitFirst(labels, u';', label);
        TextOutAligned(can, labelX, y, align, label);
        if (!LogScale) {
            for (int t = 0; t < FSubSteps; ++t) {
                const int ym = RoundI(D * i + (r.Top + d * t));
                Tick(can, PenW2, x, ym, x + dir * sl2, ym);
            }
        } else {
            for (int u = 1; u < FSubSteps; ++u) {
                const int ym = RoundI(r.Top + D * (i + 1)) - RoundI(D * std::log10(q * (FSubSteps - u)));
                Tick(can, PenW2, x, ym, x + dir * sl2, ym);
            }
        }
    }
    SplitFirst(labels, u';', label);
    TextOutAligned(can, labelX, yEnd, align, label);
    Tick(can, PenW1, x, yEnd, x + dir * sl1, yEnd);
}

void TScaleSettings::HorizScala(TCanvas* can, const TRect& r) {
    can->SetFont(FFont.get());
    can->Pen()->SetColor(FColor);
    can->Brush()->SetStyle(bsClear);
    const int N = Divisions();
    const float d = static_cast<float>(r.Right - r.Left) / static_cast<float>(N * FSubSteps);
    const float D = static_cast<float>(FSubSteps) * d;
    pos0 = r.Left;
    pos100 = RoundI(N * D + r.Left);
    const int xEnd = pos100;
    // Ticks upwards from a base line below the labels, or downwards from r.Top above them.
    const int y0 = FPosLeftTop ? r.Top + TextH / 2 + Spacing + sl1 : r.Top;
    const int dir = FPosLeftTop ? -1 : 1;
    const int labelY = FPosLeftTop ? r.Top : r.Top + sl1 + Spacing;
    const int align = FPosLeftTop ? 4 : 1;
    String labels = Text, label;
    if (FDrawLine) Tick(can, PenW1, r.Left, y0, xEnd, y0);
    for (int i = 0; i < N; ++i) {
        const int x = RoundI(r.Left + D * i);
        Tick(can, PenW1, x, y0, x, y0 + dir * sl1);
        SplitFirst(labels, u';', label);
        TextOutAligned(can, x, labelY, align, label);
        if (!LogScale) {
            for (int t = 0; t < FSubSteps; ++t) {
                const int xm = RoundI(D * i + (r.Left + d * t));
                Tick(can, PenW2, xm, y0, xm, y0 + dir * sl2);
            }
        } else {
            for (int u = 1; u <= FSubSteps; ++u) {
                const int xm = x + RoundI(D * std::log10(u * 10.0 / FSubSteps));
                Tick(can, PenW2, xm, y0, xm, y0 + dir * sl2);
            }
        }
    }
    SplitFirst(labels, u';', label);
    TextOutAligned(can, xEnd, labelY, align, label);
    Tick(can, PenW1, xEnd, y0, xEnd, y0 + dir * sl1);
}

void TScaleSettings::Circle(TCanvas* can, TRect& r, int AlphaFrom, int Alpha, bool dial) {
    can->SetFont(FFont.get());
    can->Pen()->SetColor(FColor);
    can->Brush()->SetStyle(bsClear);
    const int N = dial ? FSteps : Divisions();
    const int R = (r.Width() - 2 * Spacing) / 2 - TextW / 2 + Spacing;
    cp = TPoint(r.Left + r.Width() / 2, r.Top + R + TextH / 2);
    sl1 = dial ? R / 7 : R / 8;
    sl2 = PenW1 == 1 ? sl1 / 2 : RoundI(sl1 / 1.4);
    if (dial) {
        sl1 = std::max(sl1, 3);
        sl2 = std::max(sl2, 1);
    }
    const int in = TextW / 2, half = PenW1 / 2;
    r = TRect(cp.X - R + in + half, cp.Y - R + in + half, cp.X + R - in + half - 1, cp.Y + R - in + half - 1);
    const float a = static_cast<float>(Alpha) / static_cast<float>(N * FSubSteps);
    const float A = static_cast<float>(FSubSteps) * a;
    auto above = [&](int distance) {
        return RotatePoint(TPoint(cp.X, cp.Y - distance), cp, true, static_cast<float>(AlphaFrom));
    };
    const TPoint outer = above(R - Spacing), inner = above(R - Spacing - sl1);
    const TPoint minorOuter = above(R - Spacing - sl1 + sl2), labelAt = above(R);
    auto turn = [&](TPoint p, float deg) { return RotatePoint(p, cp, true, deg); };
    auto major = [&](float deg) {
        can->Pen()->SetWidth(PenW1);
        const TPoint o = turn(outer, deg), i = turn(inner, deg);
        can->MoveTo(o.X, o.Y);
        can->LineTo(i.X, i.Y);
    };
    String labels = Text, label;
    for (int i = 0; i < N; ++i) {
        const float deg = static_cast<float>(i) * A;
        major(deg);
        SplitFirst(labels, u';', label);
        const TPoint l = turn(labelAt, deg);
        TextOutAligned(can, l.X, l.Y, 4, label);
        can->Pen()->SetWidth(1);
        for (int u = 1; u < FSubSteps; ++u) {
            const double m = LogScale ? deg + A * std::log10(u * 10.0 / FSubSteps) : deg + u * a;
            const float md = static_cast<float>(RoundI(m));
            const TPoint p1 = turn(inner, md), p2 = turn(minorOuter, md);
            can->MoveTo(p1.X, p1.Y);
            can->LineTo(p2.X, p2.Y);
        }
    }
    major(static_cast<float>(Alpha));
    SplitFirst(labels, u';', label);
    if (dial || Alpha != 360) {
        const TPoint l = turn(labelAt, static_cast<float>(Alpha));
        TextOutAligned(can, l.X, l.Y, 4, label);
    }
    LinePos[0] = TPoint(r.Left + sl1, r.Top + sl1);
    LinePos[1] = TPoint(r.Right - sl1, r.Bottom - sl1 + 1);
    LinePos[2] = turn(inner, static_cast<float>(Alpha));
    LinePos[3] = outer;
    if (PenW1 == 1) {
        ++r.Left;
        ++r.Top;
    }
}

void TScaleSettings::RoundScala(TCanvas* can, TRect& r, int AlphaFrom, int Alpha) { Circle(can, r, AlphaFrom, Alpha, false); }

void TScaleSettings::DialScala(TCanvas* can, TRect& r, int AlphaFrom, int Alpha) { Circle(can, r, AlphaFrom, Alpha, true); }
