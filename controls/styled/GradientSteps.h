#pragma once
// The band gradients of the styled controls: Steps bands from one colour to another, each
// channel of band i From + Round(i * (To - From) / Steps), halves to even. The controls differ
// only in how far a band reaches.
#include <algorithm>

#include "platform/rtl/Math.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"

namespace styled {

inline TColor GradientStep(TColor From, TColor To, int i, int Steps) {
    int32_t a = ColorToRGB(From), b = ColorToRGB(To);
    auto channel = [&](int x, int y) { return static_cast<BYTE>(x + Round(i * (y - x) / static_cast<double>(Steps))); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

// How far band i reaches from its start at Round(i * d): Round(d) + 1 pixels (the tool
// button's), or Trunc(d) + 1 cut at the rectangle's edge (the gradient label's).
enum class TBandReach { Rounded, TruncatedInside };

// Fills Rect with the bands (columns when Horizontal, else rows), pen and brush in each band's
// colour; Steps 0 counts as 1.
inline void DrawGradientBands(TCanvas* Canvas, TColor From, TColor To, bool Horizontal, const TRect& Rect, int Steps,
                              TBandReach Reach) {
    if (Steps == 0) Steps = 1;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetWidth(1);
    const double d = (Horizontal ? Rect.Width() : Rect.Height()) / static_cast<double>(Steps);
    const int edge = Horizontal ? Rect.Right : Rect.Bottom;
    for (int i = 0; i < Steps; ++i) {
        TColor c = GradientStep(From, To, i, Steps);
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        int start = static_cast<int>((Horizontal ? Rect.Left : Rect.Top) + Round(i * d));
        int end = Reach == TBandReach::Rounded ? start + static_cast<int>(Round(d)) + 1
                                               : std::min(edge, start + static_cast<int>(Trunc(d)) + 1);
        if (Horizontal)
            Canvas->Rectangle(start, Rect.Top, end, Rect.Bottom);
        else
            Canvas->Rectangle(Rect.Left, start, Rect.Right, end);
    }
}

}  // namespace styled
