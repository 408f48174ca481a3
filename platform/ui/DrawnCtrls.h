#pragma once
// What the controls that draw themselves share: a TCanvas onto the control's part of its
// window's backing image, the font every such control carries, and the small enumerations of
// text placement.
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for controls

namespace ui {

// A TCanvas for one drawing of a control. The control's visible part of the backing image is
// copied into a bitmap in the control's own coordinates, so the canvas starts with what is under
// the control (its parent's pixels for a graphic control); the destructor writes the drawn part
// back. Drawing outside the surface canvas's clip is discarded.
class DrawnCanvas {
public:
    DrawnCanvas(SurfaceCanvas& target, int width, int height);
    ~DrawnCanvas();
    DrawnCanvas(const DrawnCanvas&) = delete;
    DrawnCanvas& operator=(const DrawnCanvas&) = delete;
    TCanvas* Canvas() { return FBitmap.Canvas(); }
    TCanvas* operator->() { return Canvas(); }
    // The part that is written back, in control coordinates.
    const TRect& Area() const { return FArea; }

private:
    SurfaceCanvas& FTarget;
    TBitmap FBitmap;
    TRect FArea;
};

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

// A font owned by a control: changes repaint (and may resize) the control.
class TControlFont {
public:
    explicit TControlFont(TControl* owner);
    TFont* Get() const { return FFont.get(); }

private:
    std::unique_ptr<TFont> FFont;
};
