#include "platform/ui/DrawnCtrls.h"

#include <algorithm>

namespace ui {

DrawnCanvas::DrawnCanvas(SurfaceCanvas& target, int width, int height)
    : FTarget(target), FBitmap(std::max(width, 1), std::max(height, 1), pf32bit) {
    if (!FTarget.Target) return;
    TRect surface = Rect(0, 0, FTarget.Target->Width(), FTarget.Target->Height());
    TRect clip = IntersectRects(FTarget.Clip, surface);
    FArea = IntersectRects(OffsetRectBy(clip, -FTarget.Origin.X, -FTarget.Origin.Y), Rect(0, 0, width, height));
    if (FArea.IsEmpty()) return;
    for (int y = FArea.Top; y < FArea.Bottom; ++y) {
        auto* row = static_cast<uint8_t*>(FBitmap.ScanLine(y));
        for (int x = FArea.Left; x < FArea.Right; ++x) {
            int32_t c = FTarget.Target->Pixel(x + FTarget.Origin.X, y + FTarget.Origin.Y);
            uint8_t* p = row + x * 4;
            p[0] = static_cast<uint8_t>((c >> 16) & 0xFF);
            p[1] = static_cast<uint8_t>((c >> 8) & 0xFF);
            p[2] = static_cast<uint8_t>(c & 0xFF);
            p[3] = 0xFF;
        }
    }
    FBitmap.PixelsChanged();
    FBitmap.Canvas()->SetDeviceClipRect(&FArea);
}

DrawnCanvas::~DrawnCanvas() {
    if (!FTarget.Target || FArea.IsEmpty()) return;
    for (int y = FArea.Top; y < FArea.Bottom; ++y) {
        auto* row = static_cast<const uint8_t*>(FBitmap.ScanLine(y));
        for (int x = FArea.Left; x < FArea.Right; ++x) {
            const uint8_t* p = row + x * 4;
            int32_t c = p[2] | (p[1] << 8) | (p[0] << 16);
            FTarget.Target->SetPixel(x + FTarget.Origin.X, y + FTarget.Origin.Y, c);
        }
    }
    FTarget.Target->Changed(OffsetRectBy(FArea, FTarget.Origin.X, FTarget.Origin.Y));
}

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

TControlFont::TControlFont(TControl* owner) : FFont(std::make_unique<TFont>()) {
    FFont->OnChange = [owner](TPersistent*) { owner->Perform(CM_FONTCHANGED, 0, 0); };
}
