#pragma once
// The shared vocabulary of the styled controls: visual styles, colour tones and theme detection.
// Only the colour-tone records are here so far; the drawing routines paint their custom-colour
// buttons from them.
#include "platform/ui/Graphics.h"

// One tone of a control: its fill, its frame and its text. Zero (black) until set, as a record
// that its owner holds starts out.
struct TColorTone {
    TColor BrushColor = 0;
    TColor BorderColor = 0;
    TColor TextColor = 0;
};

// The five tones a control takes from its host, in the order hosts hand them over.
struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};
