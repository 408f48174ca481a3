#include "platform/ui/DrawnCtrls.h"

#include <algorithm>

namespace ui {

DrawnCanvas::DrawnCanvas(SurfaceCanvas& target, int width, int height)
    : FTarget(target), FBitmap(std::max(width, 1), std::max(height, 1), pfDevice) {
    if (!FTarget.Target) return;
    TRect surface = Rect(0, 0, FTarget.Target->Width(), FTarget.Target->Height());
    TRect clip = IntersectRects(FTarget.Clip, surface);
    FArea = IntersectRects(OffsetRectBy(clip, -FTarget.Origin.X, -FTarget.Origin.Y), Rect(0, 0, width, height));
    if (FArea.IsEmpty()) return;
    for (int y = FArea.Top; y < FArea.Bottom; ++y) {
        auto* row = static_cast<uint8_t*>(FBitmap.ScanLine(y)) + FArea.Left * 4;
        TRect line = Rect(FArea.Left, y, FArea.Right, y + 1);
        FTarget.Target->ReadBgra(OffsetRectBy(line, FTarget.Origin.X, FTarget.Origin.Y), row, FArea.Width() * 4);
    }
    FBitmap.PixelsChanged();
    FBitmap.Canvas()->SetDeviceClipRect(&FArea);
}

DrawnCanvas::~DrawnCanvas() {
    if (!FTarget.Target || FArea.IsEmpty()) return;
    for (int y = FArea.Top; y < FArea.Bottom; ++y) {
        auto* row = static_cast<const uint8_t*>(FBitmap.ScanLine(y)) + FArea.Left * 4;
        TRect line = Rect(FArea.Left, y, FArea.Right, y + 1);
        FTarget.Target->WriteBgra(OffsetRectBy(line, FTarget.Origin.X, FTarget.Origin.Y), row, FArea.Width() * 4);
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
