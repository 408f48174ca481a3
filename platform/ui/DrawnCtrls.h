#pragma once
// What the controls that draw themselves share: text measuring, disabled text, bevels, and the
// small enumerations of text placement.

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Enums.h"  // TAlignment

enum TTextLayout { tlTop, tlCenter, tlBottom };
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for controls

namespace ui {

// A canvas with the given font on a scratch bitmap, for measuring text outside a paint pass.
class MeasureCanvas {
public:
    explicit MeasureCanvas(TFont* font);
    TCanvas* operator->() { return FBitmap.Canvas(); }
    TCanvas* Canvas() { return FBitmap.Canvas(); }

private:
    TBitmap FBitmap;
};

// Draws text on a canvas as a disabled control does: embossed in highlight and shadow.
int DrawControlText(TCanvas* canvas, const String& text, TRect& r, UINT flags, bool enabled);

// The raised or sunken classic edge of width `width`, shrinking r.
void DrawBevel(TCanvas* canvas, TRect& r, bool raised, int width);

}  // namespace ui
