#pragma once
// The colour of band i of Steps between two colours, as the styled controls' gradients step:
// each channel From + Round(i * (To - From) / Steps), halves to even.
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

}  // namespace styled
