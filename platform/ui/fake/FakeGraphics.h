#pragma once
// The fake backend's graphics (see FakeGraphics.cpp).
#include <cstdint>
#include <vector>

#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Fonts.h"
#include "platform/ui/backend/Pixels.h"

namespace ui::fake {

// Pixels in memory, rows in the format's own layout (4 bytes aligned; a 4-bit row two pixels a
// byte). Indexed formats start with a grey ramp as their palette.
class MemoryPixelStore final : public PixelStore {
public:
    explicit MemoryPixelStore(TPixelFormat format);
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetSize(int width, int height) override;
    void SetFormat(TPixelFormat format) override;
    void Clear() override;
    void CopyFrom(const PixelStore& other) override;
    void* ScanLine(int row) override;
    TColor Pixel(int x, int y) const override;
    std::vector<TColor> Palette() const override { return FPalette; }
    bool SetPalette(const std::vector<TColor>& colors) override;
    // Writes one pixel (an RGB colour), the nearest palette entry in an indexed format.
    void Put(int x, int y, TColor color);

private:
    uint8_t* Row(int y);
    const uint8_t* Row(int y) const;
    int Nearest(TColor color) const;
    void Remake(int width, int height, TPixelFormat format);

    TPixelFormat FFormat;
    int FWidth = 0;
    int FHeight = 0;
    std::vector<uint8_t> FBytes;
    std::vector<TColor> FPalette;
};

// Every character as wide as half the font's height; ascent four fifths of it.
class FixedPitchFace final : public FontFace {
public:
    explicit FixedPitchFace(const TFont& font);
    int TextWidth(const String& text) const override;
    const FontMetrics& Metrics() const override { return FMetrics; }

private:
    FontMetrics FMetrics;
};

// A raster canvas that paints nothing: each drawing answers that no pixel changed. Single pixels
// are the exception, read from and written to the surface's memory.
class InertCanvas final : public CanvasImpl {
public:
    explicit InertCanvas(TCanvas& front) : FFront(front) {}
    void Lock() override {}
    void Unlock() override {}
    void SurfaceChanged(TBitmap*) override {}
    void SurfaceGone() override {}
    void ClipChanged() override {}
    void MoveTo(TPoint) override {}
    bool LineTo(TPoint, TPoint) override { return false; }
    bool Polyline(const TPoint*, int) override { return false; }
    bool Polygon(const TPoint*, int) override { return false; }
    bool Shape(ShapeKind, const TRect&, TPoint, TPoint) override { return false; }
    bool FillRect(const TRect&) override { return false; }
    bool FrameRect(const TRect&) override { return false; }
    bool FillSolid(const TRect&, TColor) override { return false; }
    bool FocusRect(const TRect&) override { return false; }
    bool Text(TPoint, const String&, int, const TRect*, const TRect*) override { return false; }
    bool DrawBitmap(const TRect&, TBitmap&, const TRect&, bool, TColor, bool) override { return false; }
    Transfer StretchBlt(int, int, int, int, TCanvas*, int, int, int, int, DWORD) override { return Transfer::Made; }
    bool BrushCopy(const TRect&, TBitmap&, const TRect&, TColor) override { return false; }
    TColor Pixel(TPoint device) override;
    bool SetPixel(TPoint device, TColor color) override;
    bool FloodFill(TPoint, TColor, TFillStyle) override { return false; }

private:
    TCanvas& FFront;
};

}  // namespace ui::fake
