#pragma once
// The drawing routines of the drop-down unit (part of unit AdvDropDown, which includes this
// header): stepped gradients, colour blending and shifting, framed boxes, an image with its
// caption, transparent bitmaps, measuring and shortening text and HTML captions. The pop-up,
// the drop button, the header and footer, the buttons, the item selector, the keypad and the
// grid's search panel paint with them.
//
// Colours are converted to red-green-blue first (system colours resolved). Rectangles are
// (Left, Top, Right, Bottom) with exclusive right and bottom edges. Routines given no canvas draw
// nothing; they leave the canvas's pen, brush and font as they last set them.
#include "controls/styled/WinCtrl.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

// Count bands (1 when 0) from FromColor to ToColor, each channel from + Round(n x (to - from) /
// Count), halves to even: side by side when Horizontal, else stacked. With Right (Horizontal) or
// Bottom one less, band n starts at Round(n x size / Count) and reaches Round(size / Count) + 1
// pixels on, so neighbours overlap by a pixel; each is a rectangle outlined in its own colour.
void StepGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Count, TRect Rect, bool Horizontal);

// Color1 at Percent 100 or more, Color2 at 0 or less; between, each channel
// Round(p x c1 + (1 - p) x c2) with p = Percent / 100.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);

// Per channel c with its delta d (percent): a non-zero c becomes Round(min(100, 100 + d) / 100 x c)
// (a positive delta keeps it, a negative one darkens it); a zero c becomes max(0, d). Each result
// keeps its low 8 bits.
TColor ShiftColor(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue);

// An 80-band gradient from Color to ColorTo (side by side unless Vertical) when ColorTo is set,
// else a solid Color (nothing for clNone); then, with a BorderColor and a BorderWidth above 0, the
// rectangle's outline in a pen that wide.
void FillAndFrame(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                  int BorderWidth, bool Vertical);

// The image ImageIndex of Images (when there is one) at Left + 4, centred in the height, the text
// left-aligned from Left + the image's width + 8; without image the text is centred. The text is
// one line, centred in the height, cut with an ellipsis, on the background as it is.
void DrawImageText(TCanvas* Canvas, const TRect& Rect, const String& Text, TCustomImageList* Images,
                   int ImageIndex);

// The part of Bitmap that Rect's size covers, drawn at Rect with the colour of the bitmap's
// top-left pixel shown as BackgroundColor.
void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackgroundColor, const TRect& Rect);

// The single-line text's width and height in the canvas's font; (0, 0) for an empty text.
TSize MeasureText(TCanvas* Canvas, const String& Text);

// Text when it is no wider than MaxWidth; else the first of the text less 1, 2, ... characters
// from its end (each followed by "..." with Ellipsis) that is narrower than MaxWidth, down to one
// character; when none is, the full text.
String FitText(TCanvas* Canvas, const String& Text, int MaxWidth, bool Ellipsis);

// Draws (Paint) or only measures the HTML-formatted text in Rect on one line, cut with an
// ellipsis (or wrapped within Rect with WordWrap), links in blue, shadows in grey, the canvas's
// font colour kept; the formatted text's width and height. An empty text draws nothing and
// measures (0, 0).
TSize DrawHtmlText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, bool Paint,
                   HWND WindowHandle, bool WordWrap = false);

// Text, or its upper-case form (by the locale) unless CaseSensitive.
String CaseText(const String& Text, bool CaseSensitive);
