// The fake backend's graphics: bitmaps keep real pixels in memory in their own format, fonts
// measure with fixed-pitch metrics, and the raster canvas paints nothing (every drawing answers
// that no pixel changed; single pixels are read and written). Tests of what the library decides
// run here; tests of what it draws run on Qt.
#include "platform/ui/fake/FakeGraphics.h"

#include "platform/ui/fake/FakeBackend.h"

#include <algorithm>
#include <cstring>

namespace ui::fake {

namespace {

int BitsOf(TPixelFormat format) {
    switch (format) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf15bit:
        case pf16bit: return 16;
        case pf24bit: return 24;
        default: return 32;
    }
}

int StrideOf(TPixelFormat format, int width) {
    int bits = BitsOf(format);
    if (bits == 4) return (width + 1) / 2;  // two pixels a byte, as a 4-bit row is handed out
    int bytes = (width * bits + 7) / 8;
    return (bytes + 3) & ~3;
}

// The palette a fresh indexed bitmap gets: a grey ramp from black to white.
std::vector<TColor> DefaultPalette(int bits) {
    int n = 1 << bits;
    std::vector<TColor> p(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        int v = n == 1 ? 0 : i * 255 / (n - 1);
        p[static_cast<size_t>(i)] = static_cast<TColor>(v | v << 8 | v << 16);
    }
    return p;
}

int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }

}  // namespace

// ---------------------------------------------------------------------------------------------
MemoryPixelStore::MemoryPixelStore(TPixelFormat format) : FFormat(format) {
    if (BitsOf(format) <= 8) FPalette = DefaultPalette(BitsOf(format));
}

uint8_t* MemoryPixelStore::Row(int y) { return FBytes.data() + static_cast<size_t>(y) * StrideOf(FFormat, FWidth); }
const uint8_t* MemoryPixelStore::Row(int y) const {
    return FBytes.data() + static_cast<size_t>(y) * StrideOf(FFormat, FWidth);
}

TColor MemoryPixelStore::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return clNone;
    const uint8_t* row = Row(y);
    switch (BitsOf(FFormat)) {
        case 1: return FPalette[(row[x / 8] >> (7 - x % 8)) & 1];
        case 4: return FPalette[(x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4)];
        case 8: return FPalette[row[x]];
        case 16: {
            unsigned v = row[2 * x] | row[2 * x + 1] << 8;
            int r, g, b;
            if (FFormat == pf15bit) {
                r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                return static_cast<TColor>((r * 255 / 31) | (g * 255 / 31) << 8 | (b * 255 / 31) << 16);
            }
            r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
            return static_cast<TColor>((r * 255 / 31) | (g * 255 / 63) << 8 | (b * 255 / 31) << 16);
        }
        case 24: return static_cast<TColor>(row[3 * x + 2] | row[3 * x + 1] << 8 | row[3 * x] << 16);
        default: return static_cast<TColor>(row[4 * x + 2] | row[4 * x + 1] << 8 | row[4 * x] << 16);
    }
}

int MemoryPixelStore::Nearest(TColor c) const {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < FPalette.size(); ++i) {
        TColor p = FPalette[i];
        long d = (R(p) - R(c)) * (R(p) - R(c)) + (G(p) - G(c)) * (G(p) - G(c)) + (B(p) - B(c)) * (B(p) - B(c));
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = static_cast<int>(i);
    }
    return best;
}

void MemoryPixelStore::Put(int x, int y, TColor c) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    uint8_t* row = Row(y);
    switch (BitsOf(FFormat)) {
        case 1: {
            uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
            row[x / 8] = Nearest(c) ? (row[x / 8] | bit) : (row[x / 8] & ~bit);
            break;
        }
        case 4: {
            auto i = static_cast<uint8_t>(Nearest(c));
            row[x / 2] = (x & 1) ? ((row[x / 2] & 0xF0) | i) : static_cast<uint8_t>((row[x / 2] & 0x0F) | i << 4);
            break;
        }
        case 8: row[x] = static_cast<uint8_t>(Nearest(c)); break;
        case 16: {
            unsigned v = FFormat == pf15bit ? ((R(c) >> 3) << 10 | (G(c) >> 3) << 5 | B(c) >> 3)
                                            : ((R(c) >> 3) << 11 | (G(c) >> 2) << 5 | B(c) >> 3);
            row[2 * x] = static_cast<uint8_t>(v);
            row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
            break;
        }
        case 24:
            row[3 * x] = static_cast<uint8_t>(B(c)), row[3 * x + 1] = static_cast<uint8_t>(G(c));
            row[3 * x + 2] = static_cast<uint8_t>(R(c));
            break;
        default:
            row[4 * x] = static_cast<uint8_t>(B(c)), row[4 * x + 1] = static_cast<uint8_t>(G(c));
            row[4 * x + 2] = static_cast<uint8_t>(R(c)), row[4 * x + 3] = 0xFF;
    }
}

// Rebuilds the pixels at a new size or format: what both keep is carried over, the rest is white.
void MemoryPixelStore::Remake(int width, int height, TPixelFormat format) {
    MemoryPixelStore old(*this);
    FFormat = format;
    if (BitsOf(format) != BitsOf(old.FFormat) || BitsOf(format) > 8) FPalette = BitsOf(format) <= 8 ? DefaultPalette(BitsOf(format)) : std::vector<TColor>();
    FWidth = width;
    FHeight = height;
    FBytes.assign(static_cast<size_t>(StrideOf(format, width)) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Put(x, y, x < old.FWidth && y < old.FHeight ? old.Pixel(x, y) : clWhite);
}

void MemoryPixelStore::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        // No pixels, but the other side is kept, as the platform's bitmap keeps it.
        Clear();
        FWidth = std::max(0, width);
        FHeight = std::max(0, height);
        return;
    }
    if (width != FWidth || height != FHeight) Remake(width, height, FFormat);
}

void MemoryPixelStore::SetFormat(TPixelFormat format) {
    if (format == FFormat) return;
    Remake(FWidth, FHeight, format);
}

void MemoryPixelStore::Clear() {
    FWidth = FHeight = 0;
    FBytes.clear();
}

void MemoryPixelStore::CopyFrom(const PixelStore& other) {
    if (&other == this) return;
    *this = static_cast<const MemoryPixelStore&>(other);
}

void* MemoryPixelStore::ScanLine(int row) {
    if (row < 0 || row >= FHeight) return nullptr;
    return Row(row);
}

bool MemoryPixelStore::SetPalette(const std::vector<TColor>& colors) {
    if (FPalette.empty() || FWidth == 0) return false;
    // Indexes beyond the given table would point nowhere: the table keeps its length.
    for (size_t i = 0; i < colors.size() && i < FPalette.size(); ++i) FPalette[i] = ColorToRGB(colors[i]);
    return true;
}

// ---------------------------------------------------------------------------------------------
FixedPitchFace::FixedPitchFace(const TFont& font) {
    int px = font.Height() < 0 ? -font.Height() : font.Height();
    if (px == 0) px = font.Size() * 96 / 72;
    px = std::max(px, 1);
    FMetrics.pixelSize = px;
    FMetrics.ascent = (px * 4 + 4) / 5;
    FMetrics.descent = std::max(1, px - FMetrics.ascent + 1);
    FMetrics.averageWidth = std::max(1, px / 2);
    FMetrics.maxWidth = px;
    FMetrics.bold = font.Style().Contains(fsBold);
    FMetrics.italic = font.Style().Contains(fsItalic);
    FMetrics.underline = font.Style().Contains(fsUnderline);
    FMetrics.strikeOut = font.Style().Contains(fsStrikeOut);
}

int FixedPitchFace::TextWidth(const String& text) const {
    return static_cast<int>(text.size()) * FMetrics.averageWidth;
}

// ---------------------------------------------------------------------------------------------
bool InertCanvas::SetPixel(TPoint device, TColor color) {
    TBitmap* surface = FFront.Bitmap();
    if (!surface || surface->Empty()) return false;
    static_cast<MemoryPixelStore&>(surface->Store()).Put(device.X, device.Y, ColorToRGB(color));
    return true;
}

TColor InertCanvas::Pixel(TPoint device) {
    TBitmap* surface = FFront.Bitmap();
    if (!surface || surface->Empty()) return clNone;
    return static_cast<MemoryPixelStore&>(surface->Store()).Pixel(device.X, device.Y);
}

// ---------------------------------------------------------------------------------------------
std::unique_ptr<PixelStore> FakeBackend::CreatePixelStore(TPixelFormat format) {
    return std::make_unique<MemoryPixelStore>(format);
}
std::unique_ptr<CanvasImpl> FakeBackend::CreateRasterCanvas(TCanvas& front) { return std::make_unique<InertCanvas>(front); }
std::unique_ptr<FontFace> FakeBackend::CreateFontFace(const TFont& font, bool) { return std::make_unique<FixedPitchFace>(font); }

}  // namespace ui::fake
