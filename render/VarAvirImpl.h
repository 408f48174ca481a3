#pragma once
// What the sources of the unit share; not for callers.
#include <cstdint>
#include <string_view>

#include "platform/ui/Graphics.h"

namespace varavir {

struct Rgb {
    int R, G, B;
};
// The channels of a colour, system colours resolved.
Rgb Channels(TColor color);
// Each channel cut to its low 8 bits.
TColor FromChannels(int64_t r, int64_t g, int64_t b);
// A solid pen of the width and a solid brush, both in the colour: what the routines fill with.
void SolidPenAndBrush(TCanvas* canvas, TColor color);
void SolidPen(TCanvas* canvas, TColor color, int width = 1);
// A line from (x1, y1) up to, not including, (x2, y2).
void Line(TCanvas* canvas, int x1, int y1, int x2, int y2);

// A number written with 1 to 9 digits and nothing else.
bool ReadDigits(std::u16string_view text, int& value);

}  // namespace varavir
