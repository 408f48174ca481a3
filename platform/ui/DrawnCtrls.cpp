#include "platform/ui/DrawnCtrls.h"

namespace ui {

MeasureCanvas::MeasureCanvas(TFont* font) : FBitmap(1, 1) {
    if (font) FBitmap.Canvas()->SetFont(font);
}

int DrawControlText(TCanvas* canvas, const String& text, TRect& r, UINT flags, bool enabled) {
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(canvas->Font()->Color())));
        return DrawText(dc, text, -1, &r, flags);
    }
    // Disabled: the highlight one pixel down and right, the shadow on top.
    TRect shifted = OffsetRectBy(r, 1, 1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    DrawText(dc, text, -1, &shifted, flags);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    return DrawText(dc, text, -1, &r, flags);
}

void DrawBevel(TCanvas* canvas, TRect& r, bool raised, int width) {
    Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, width);
}

}  // namespace ui
