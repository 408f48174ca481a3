// Transfers of the raster canvas: bitmaps drawn and stretched, every raster operation of
// BitBlt, StretchBlt and PatBlt applied per pixel, brush copies, single pixels and flood fills.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/qt/QtRaster.h"

namespace qtb {

namespace {

uint32_t Rop3(uint32_t P, uint32_t S, uint32_t D, uint8_t rop) {
    switch (rop) {
        case 0xCC: return S;
        case 0x66: return S ^ D;
        case 0x88: return S & D;
        case 0xEE: return S | D;
        case 0x33: return ~S;
        case 0x55: return ~D;
        case 0xF0: return P;
        case 0xC0: return P & S;
        case 0x5A: return P ^ D;
        case 0x00: return 0;
        case 0xFF: return 0xFFFFFFFF;
        default: break;
    }
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(rop & (1 << i))) continue;
        r |= ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
    }
    return r;
}

bool RopUsesSource(uint8_t rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }

// A rectangle of a transfer in 64 bits: left, top, width and height as large as two ints make.
struct Span {
    int64_t left = 0, top = 0, width = 0, height = 0;
};

// The rectangle from (x, y) w by h in the platform's way, a negative size reaching left or up from
// the edge after x or y; offset by off.
Span SpanOf(int x, int y, int w, int h, QPoint off) {
    Span s{int64_t{x} + off.x(), int64_t{y} + off.y(), std::abs(int64_t{w}), std::abs(int64_t{h})};
    if (w < 0) s.left += int64_t{w} + 1;
    if (h < 0) s.top += int64_t{h} + 1;
    return s;
}

// The device rectangle of destination dst (device coordinates) that the canvas can show; empty
// when none of it can be drawn.
QRect ShownPart(const QRegion& visible, const Span& dst) {
    QRect vis = visible.boundingRect();
    if (vis.isEmpty() || dst.width <= 0 || dst.height <= 0) return QRect();
    int64_t l = std::max<int64_t>(vis.left(), dst.left), t = std::max<int64_t>(vis.top(), dst.top);
    int64_t r = std::min<int64_t>(vis.right() + int64_t{1}, dst.left + dst.width);
    int64_t b = std::min<int64_t>(vis.bottom() + int64_t{1}, dst.top + dst.height);
    if (r <= l || b <= t) return QRect();
    return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t));
}

// The nearest samples of rectangle src of image im scaled to dst (mirrored as asked), made only for
// the shown part of dst: a transfer never holds more pixels than the target can show, whatever
// the sizes asked for. Samples outside im are 0; a 1-bit image gives 8-bit indexes.
QImage SampledPart(const QImage& im, const Span& src, const Span& dst, bool mirrorH, bool mirrorV, const QRect& shown) {
    bool mono = im.depth() == 1;
    QImage out(shown.size(), mono ? QImage::Format_Indexed8 : im.format());
    if (out.isNull() || src.width <= 0 || src.height <= 0) return QImage();
    if (im.colorCount() > 0) out.setColorTable(im.colorTable());
    int bytes = mono ? 1 : im.depth() / 8;
    // Pixel i of n (counted from the far end when mirrored) samples the source at its centre.
    auto map = [](int64_t i, int64_t n, int64_t start, int64_t len, bool mirror) {
        if (mirror) i = n - 1 - i;
        return start + static_cast<int64_t>((2 * static_cast<__int128>(i) + 1) * len / (2 * static_cast<__int128>(n)));
    };
    std::vector<int64_t> xs(static_cast<size_t>(shown.width()));
    for (int i = 0; i < shown.width(); ++i)
        xs[static_cast<size_t>(i)] = map(shown.left() + i - dst.left, dst.width, src.left, src.width, mirrorH);
    bool lsb = im.format() == QImage::Format_MonoLSB;
    for (int j = 0; j < shown.height(); ++j) {
        int64_t sy = map(shown.top() + j - dst.top, dst.height, src.top, src.height, mirrorV);
        uchar* d = out.scanLine(j);
        if (sy < 0 || sy >= im.height()) {
            std::memset(d, 0, static_cast<size_t>(out.bytesPerLine()));
            continue;
        }
        const uchar* line = im.constScanLine(static_cast<int>(sy));
        for (int i = 0; i < shown.width(); ++i) {
            int64_t sx = xs[static_cast<size_t>(i)];
            uchar* o = d + static_cast<size_t>(i) * bytes;
            if (sx < 0 || sx >= im.width()) std::memset(o, 0, static_cast<size_t>(bytes));
            else if (mono) *o = (line[sx >> 3] >> (lsb ? (sx & 7) : 7 - (sx & 7))) & 1;
            else std::memcpy(o, line + sx * bytes, static_cast<size_t>(bytes));
        }
    }
    return out;
}

// The source pixels of a transfer from canvas src (both canvases synced by the front), device-mapped, mirrored and scaled to the
// destination dst, for its shown part.
QImage SourceImage(TCanvas* src, int sx, int sy, int sw, int sh, int w, int h, const Span& to, const QRect& shown,
                   TCanvas* dst) {
    TBitmap* sb = src->Bitmap();
    bool mirrorH = (sw < 0) != (w < 0), mirrorV = (sh < 0) != (h < 0);
    TPoint srcOffset = src->DeviceOffset();
    QImage img = SampledPart(ImageOf(*sb), SpanOf(sx, sy, sw, sh, QPoint(srcOffset.X, srcOffset.Y)), to, mirrorH, mirrorV, shown);
    if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
    // Monochrome into colour takes the destination's text (0) and background (1) colours; colour
    // into monochrome makes the source's background colour white and everything else black.
    bool srcMono = sb->Monochrome();
    bool dstMono = dst->Bitmap() && dst->Bitmap()->Monochrome();
    if (srcMono && !dstMono) {
        QRgb fg = QRgbOf(dst->Dc().state.textColor), bg = QRgbOf(dst->Dc().state.bkColor);
        for (int y = 0; y < img.height(); ++y) {
            auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) l[x] = (l[x] & 0xFFFFFF) ? bg : fg;
        }
    } else if (!srcMono && dstMono) {
        QRgb bg = QRgbOf(src->Dc().state.bkColor) & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) l[x] = (l[x] & 0xFFFFFF) == bg ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    return img;
}

}  // namespace

bool RasterCanvas::RopBlit(const QRect& dev, const QImage* src, uint8_t rop) {
    TBitmap* b = FFront.Bitmap();
    if (!b || b->Empty()) return false;
    QRegion vis = Visible() & dev;
    if (vis.isEmpty()) return false;
    TBrush* brush = FFront.Brush();
    QImage pattern;
    if (brush->Bitmap() && !brush->Bitmap()->Empty()) pattern = ToRgb32(*brush->Bitmap());
    uint32_t P = QRgbOf(static_cast<COLORREF>(ColorToRGB(brush->Color() == clNone ? clWhite : brush->Color())));
    // Inside a lock the open surface is already in the device format; otherwise a surface of
    // raw 32-bit pixels for this call.
    std::optional<Surface> own;
    QImage* target = nullptr;
    TPaintSurface* open = PaintSurfaceOf(*b);
    QImage* openImage = open ? &open->Image(StoreOf(*b).image) : nullptr;
    if (openImage && (openImage->format() == QImage::Format_RGB32 || openImage->format() == QImage::Format_ARGB32)) {
        target = openImage;
    } else {
        own.emplace(*b, true);
        target = &own->Image();
    }
    QImage& im = *target;
    bool keepAlpha = im.format() == QImage::Format_ARGB32;
    for (const QRect& r : vis) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* d = reinterpret_cast<uint32_t*>(im.scanLine(y));
            const uint32_t* s = src ? reinterpret_cast<const uint32_t*>(src->constScanLine(y - dev.top())) : nullptr;
            const uint32_t* pl = pattern.isNull() ? nullptr
                : reinterpret_cast<const uint32_t*>(pattern.constScanLine(y % pattern.height()));
            for (int x = r.left(); x <= r.right(); ++x) {
                uint32_t S = s ? s[x - dev.left()] : 0;
                uint32_t p = pl ? pl[x % pattern.width()] : P;
                uint32_t res = Rop3(p, S, d[x], rop) & 0x00FFFFFF;
                d[x] = res | (keepAlpha && rop == 0xCC && s ? (S & 0xFF000000) : 0xFF000000);
            }
        }
    }
    return true;
}

bool RasterCanvas::DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool transparent,
                              TColor transparentColor, bool useAlpha) {
    if (!FFront.Bitmap()) return false;
    int64_t w = int64_t{dest.Right} - dest.Left, h = int64_t{dest.Bottom} - dest.Top;
    if (w == 0 || h == 0) return false;
    // Only the part of the destination the canvas shows is scaled: a destination that cannot be
    // drawn takes no pixels at all.
    QPoint off = Offset();
    Span to{int64_t{std::min(dest.Left, dest.Right)} + off.x(), int64_t{std::min(dest.Top, dest.Bottom)} + off.y(),
            std::abs(w), std::abs(h)};
    QRect shown = ShownPart(Visible(), to);
    if (shown.isEmpty()) return false;
    Span from{source.Left, source.Top, int64_t{source.Right} - source.Left, int64_t{source.Bottom} - source.Top};
    QImage img = SampledPart(ImageOf(bitmap), from, to, w < 0, h < 0, shown);
    if (img.isNull()) return false;
    // Alpha is not part of what the window system shows unless it is asked for.
    img = img.convertToFormat(useAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (transparent) {
        img = img.convertToFormat(QImage::Format_ARGB32);
        QRgb key = QRgbOf(static_cast<COLORREF>(ColorToRGB(transparentColor))) & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((l[x] & 0xFFFFFF) == key) l[x] = 0;
        }
        useAlpha = true;
    }
    if (useAlpha) return WithPainter([&](QPainter& p) { p.drawImage(shown.topLeft() - off, img); });
    return RopBlit(shown, &img, static_cast<uint8_t>(FFront.CopyMode() >> 16));
}

ui::Transfer RasterCanvas::StretchBlt(int x, int y, int w, int h, TCanvas* s, int sx, int sy, int sw, int sh, DWORD rop) {
    uint8_t r3 = static_cast<uint8_t>(rop >> 16);
    Span to = SpanOf(x, y, w, h, Offset());
    QRect shown = ShownPart(Visible(), to);
    bool drew = false;
    if (!RopUsesSource(r3)) {
        if (!shown.isEmpty()) drew = RopBlit(shown, nullptr, r3);
    } else {
        if (!s || !s->Bitmap() || s->Bitmap()->Empty() || sw == 0 || sh == 0) return ui::Transfer::Refused;
        if (!shown.isEmpty()) {
            QImage img = SourceImage(s, sx, sy, sw, sh, w, h, to, shown, &FFront);
            if (!img.isNull()) drew = RopBlit(shown, &img, r3);
        }
    }
    return drew ? ui::Transfer::Drawn : ui::Transfer::Made;
}

bool RasterCanvas::BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) {
    QPoint off = Offset();
    Span to{int64_t{dest.Left} + off.x(), int64_t{dest.Top} + off.y(), int64_t{dest.Right} - dest.Left,
            int64_t{dest.Bottom} - dest.Top};
    QRect shown = ShownPart(Visible(), to);
    Span from{source.Left, source.Top, int64_t{source.Right} - source.Left, int64_t{source.Bottom} - source.Top};
    QImage img = shown.isEmpty() ? QImage() : SampledPart(ImageOf(bitmap), from, to, false, false, shown);
    if (img.isNull()) return false;
    img = img.convertToFormat(QImage::Format_RGB32);
    QRgb key = QRgbOf(static_cast<COLORREF>(ColorToRGB(color))) & 0xFFFFFF;
    QRgb with = QRgbOf(static_cast<COLORREF>(ColorToRGB(FFront.Brush()->Color())));
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((l[x] & 0xFFFFFF) == key) l[x] = with;
    }
    return RopBlit(shown, &img, 0xCC);
}

TColor RasterCanvas::Pixel(TPoint d) {
    return static_cast<TColor>(ColorRefOf(ImageOf(*FFront.Bitmap()).pixel(d.X, d.Y)));
}

bool RasterCanvas::SetPixel(TPoint d, TColor color) {
    QImage& im = ImageOf(*FFront.Bitmap());
    QRgb rgb = QRgbOf(static_cast<COLORREF>(ColorToRGB(color)));
    if (im.colorCount() > 0) {
        // Nearest entry of the colour table.
        int best = 0, bestDist = INT32_MAX;
        for (int i = 0; i < im.colorCount(); ++i) {
            QRgb c = im.color(i);
            int dr = qRed(c) - qRed(rgb), dg = qGreen(c) - qGreen(rgb), db = qBlue(c) - qBlue(rgb);
            int dist = dr * dr + dg * dg + db * db;
            if (dist < bestDist) { bestDist = dist; best = i; }
        }
        im.setPixel(d.X, d.Y, static_cast<uint>(best));
    } else {
        im.setPixel(d.X, d.Y, rgb);
    }
    return true;
}

bool RasterCanvas::FloodFill(TPoint from, TColor color, TFillStyle style) {
    TBitmap& target = *FFront.Bitmap();
    QPoint start(from.X, from.Y);
    const QRegion& vis = Visible();
    Surface surface(target, true);
    QImage& im = surface.Image();
    QRgb key = QRgbOf(static_cast<COLORREF>(ColorToRGB(color))) & 0xFFFFFF;
    QRgb fill = QRgbOf(static_cast<COLORREF>(ColorToRGB(FFront.Brush()->Color())));
    QRect box = vis.boundingRect();
    bool simple = vis.rectCount() == 1;
    auto inside = [&](int x, int y) {
        if (!box.contains(x, y) || (!simple && !vis.contains(QPoint(x, y)))) return false;
        QRgb c = im.pixel(x, y) & 0xFFFFFF;
        return style == fsSurface ? c == key : c != key;
    };
    std::vector<uint8_t> done(static_cast<size_t>(im.width()) * im.height(), 0);
    std::vector<QPoint> stack{start};
    while (!stack.empty()) {
        QPoint p = stack.back();
        stack.pop_back();
        size_t idx = static_cast<size_t>(p.y()) * im.width() + p.x();
        if (!box.contains(p) || done[idx] || !inside(p.x(), p.y())) continue;
        done[idx] = 1;
        im.setPixel(p, fill);
        stack.push_back(QPoint(p.x() + 1, p.y()));
        stack.push_back(QPoint(p.x() - 1, p.y()));
        stack.push_back(QPoint(p.x(), p.y() + 1));
        stack.push_back(QPoint(p.x(), p.y() - 1));
    }
    return true;
}

}  // namespace qtb
