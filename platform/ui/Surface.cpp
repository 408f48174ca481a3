#include "platform/ui/Surface.h"

#include <cstddef>

#include "platform/ui/Gdi.h"

namespace ui {

int32_t ResolveColor(int32_t color) {
    if ((static_cast<uint32_t>(color) & 0xFF000000u) != 0xFF000000u) return color & 0x00FFFFFF;
    // One system colour scheme for backgrounds and for what the canvas draws on them.
    return static_cast<int32_t>(GetSysColor(color & 0xFF));
}

void Surface::ReadBgra(const TRect& r, uint8_t* dst, int stride) const {
    for (int y = r.Top; y < r.Bottom; ++y) {
        uint8_t* p = dst + static_cast<ptrdiff_t>(y - r.Top) * stride;
        for (int x = r.Left; x < r.Right; ++x, p += 4) {
            int32_t c = Pixel(x, y);
            p[0] = static_cast<uint8_t>((c >> 16) & 0xFF);
            p[1] = static_cast<uint8_t>((c >> 8) & 0xFF);
            p[2] = static_cast<uint8_t>(c & 0xFF);
            p[3] = 0xFF;
        }
    }
}

void Surface::WriteBgra(const TRect& r, const uint8_t* src, int stride) {
    for (int y = r.Top; y < r.Bottom; ++y) {
        const uint8_t* p = src + static_cast<ptrdiff_t>(y - r.Top) * stride;
        for (int x = r.Left; x < r.Right; ++x, p += 4) SetPixel(x, y, p[2] | (p[1] << 8) | (p[0] << 16));
    }
}

void SurfaceCanvas::FillRect(const TRect& r, int32_t color) {
    if (!Target) return;
    TRect s = IntersectRects(OffsetRectBy(r, Origin.X, Origin.Y), Clip);
    if (s.IsEmpty()) return;
    Target->FillRect(s, color);
    Target->Changed(s);
}

int32_t SurfaceCanvas::Pixel(int x, int y) const {
    if (!Target) return -1;
    TPoint p(x + Origin.X, y + Origin.Y);
    if (!Clip.Contains(p)) return -1;  // CLR_INVALID, as the platform answers outside the clip
    return Target->Pixel(p.X, p.Y);
}

void SurfaceCanvas::SetPixel(int x, int y, int32_t color) {
    if (!Target) return;
    TPoint p(x + Origin.X, y + Origin.Y);
    if (!Clip.Contains(p)) return;
    Target->SetPixel(p.X, p.Y, color);
    Target->Changed(Rect(p.X, p.Y, p.X + 1, p.Y + 1));
}

}  // namespace ui
