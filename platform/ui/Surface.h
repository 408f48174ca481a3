#pragma once
// The backing image of a windowed control, as the UI library sees it, and a small canvas onto a
// part of it. Every drawing of a control and of its graphic children lands in this image, inside
// or outside a paint pass; the backend shows the image in the control's widget.
#include <cstdint>

#include "platform/win/WinTypes.h"

namespace ui {

class Surface {
public:
    virtual ~Surface() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Resize(int width, int height) = 0;
    // Colours are 0x00BBGGRR; system colours are resolved first (ResolveColor).
    virtual void FillRect(const TRect& r, int32_t color) = 0;
    virtual int32_t Pixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, int32_t color) = 0;
    // Tells the widget that shows the image that this part changed.
    virtual void Changed(const TRect& r) = 0;
    // Bulk access for controls that draw through a bitmap of their own: the pixels of r (inside
    // the image) as rows of bytes B, G, R, A (A is 0xFF), `stride` bytes apart, the layout of a
    // pf32bit bitmap's scan lines. These defaults go pixel by pixel.
    virtual void ReadBgra(const TRect& r, uint8_t* dst, int stride) const;
    virtual void WriteBgra(const TRect& r, const uint8_t* src, int stride);
};

// System colours (high byte 0xFF) to RGB; other values pass unchanged.
int32_t ResolveColor(int32_t color);

// A view on part of a surface: control coordinates, translated by Origin and clipped to Clip
// (both in surface coordinates). Drawing marks the touched part as changed.
class SurfaceCanvas {
public:
    Surface* Target = nullptr;
    TPoint Origin;
    TRect Clip;

    void FillRect(const TRect& r, int32_t color);
    int32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, int32_t color);
};

}  // namespace ui
