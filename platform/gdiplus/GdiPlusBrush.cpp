// Brushes and pens, and the paints the engine fills with: solid colours, hatches, textures,
// linear gradients, and path gradients, which are painted here pixel by pixel.
#include <algorithm>
#include <cmath>

#include "platform/gdiplus/GdiPlusObjects.h"

namespace gdiplus {

namespace detail {

namespace {

using engine::GradientStop;
using engine::Paint;

// 8 x 8 patterns, one byte a row, the leftmost pixel in the high bit.
const uint8_t kHatches[][8] = {
    {0xFF, 0, 0, 0, 0, 0, 0, 0},                               // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},          // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},          // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},          // backward diagonal
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},          // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},          // diagonal cross
};
// The percentage styles, HatchStyle05Percent to HatchStyle90Percent.
const int kPercents[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
const uint8_t kNamed[][8] = {
    {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11},  // light downward diagonal
    {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88},  // light upward diagonal
    {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99},  // dark downward diagonal
    {0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99},  // dark upward diagonal
    {0xE0, 0x70, 0x38, 0x1C, 0x0E, 0x07, 0x83, 0xC1},  // wide downward diagonal
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83},  // wide upward diagonal
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},  // light vertical
    {0xFF, 0, 0, 0, 0xFF, 0, 0, 0},                    // light horizontal
    {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA},  // narrow vertical
    {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0},              // narrow horizontal
    {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC},  // dark vertical
    {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0},              // dark horizontal
    {0, 0, 0x88, 0x44, 0x22, 0x11, 0, 0},              // dashed downward diagonal
    {0, 0, 0x11, 0x22, 0x44, 0x88, 0, 0},              // dashed upward diagonal
    {0xF0, 0, 0, 0, 0x0F, 0, 0, 0},                    // dashed horizontal
    {0x80, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08, 0x08},  // dashed vertical
    {0x80, 0x08, 0x40, 0x02, 0x10, 0x01, 0x20, 0x04},  // small confetti
    {0xB1, 0x30, 0x03, 0x1B, 0xD8, 0xC0, 0x0C, 0x8D},  // large confetti
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // zigzag
    {0x00, 0x18, 0xA4, 0x03, 0x00, 0x18, 0xA4, 0x03},  // wave
    {0x01, 0x02, 0x04, 0x08, 0x18, 0x24, 0x42, 0x81},  // diagonal brick
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08},  // horizontal brick
    {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51},  // weave
    {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0xF0, 0xF0, 0xF0},  // plaid
    {0x00, 0x10, 0x08, 0x10, 0x00, 0x01, 0x80, 0x01},  // divot
    {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00},  // dotted grid
    {0x80, 0x00, 0x22, 0x00, 0x08, 0x00, 0x22, 0x00},  // dotted diamond
    {0x03, 0x84, 0x48, 0x30, 0x0C, 0x02, 0x01, 0x01},  // shingle
    {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99},  // trellis
    {0x77, 0x89, 0x8F, 0x8F, 0x77, 0x98, 0xF8, 0xF8},  // sphere
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // small grid
    {0x99, 0x66, 0x66, 0x99, 0x99, 0x66, 0x66, 0x99},  // small checker board
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // large checker board
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41, 0x80},  // outlined diamond
    {0x08, 0x1C, 0x3E, 0x7F, 0x3E, 0x1C, 0x08, 0x00},  // solid diamond
};

bool HatchBit(HatchStyle style, int x, int y) {
    if (style <= HatchStyleDiagonalCross) return (kHatches[style][y] << x) & 0x80;
    if (style <= HatchStyle90Percent) {
        // An ordered dither: the percentage of the cells lit, spread evenly.
        static const int bayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                        {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
                                        {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
                                        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
        return bayer[y][x] < kPercents[style - HatchStyle05Percent] * 64 / 100;
    }
    return (kNamed[style - HatchStyleLightDownwardDiagonal][y] << x) & 0x80;
}

int Channel(ARGB c, int shift) { return (c >> shift) & 0xFF; }

double ToLinear(int v) { return std::pow(v / 255.0, 2.2); }
int FromLinear(double v) { return static_cast<int>(std::lround(std::pow(std::clamp(v, 0.0, 1.0), 1 / 2.2) * 255)); }

ARGB Lerp(ARGB a, ARGB b, double t, bool gamma) {
    ARGB out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int ca = Channel(a, shift), cb = Channel(b, shift), v;
        if (gamma && shift < 24) {
            v = FromLinear(ToLinear(ca) + (ToLinear(cb) - ToLinear(ca)) * t);
        } else {
            v = static_cast<int>(std::lround(ca + (cb - ca) * t));
        }
        out |= static_cast<ARGB>(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}

// Stops from 0 to 1 with enough points in between for gamma-corrected blending, which the
// engine interpolates linearly.
std::vector<GradientStop> Stops(const std::vector<GradientStop>& base, bool gamma) {
    if (!gamma) return base;
    std::vector<GradientStop> out;
    for (size_t i = 0; i + 1 < base.size(); ++i) {
        constexpr int kSteps = 16;
        for (int k = 0; k < kSteps; ++k) {
            double t = double(k) / kSteps;
            out.push_back({base[i].position + (base[i + 1].position - base[i].position) * t,
                           Lerp(base[i].color, base[i + 1].color, t, true)});
        }
    }
    out.push_back(base.back());
    return out;
}

// The colour of a blend (stops from 0 to 1) at t.
ARGB Blend(const std::vector<GradientStop>& stops, double t, bool gamma) {
    if (t <= stops.front().position) return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].position) {
            double span = stops[i].position - stops[i - 1].position;
            return Lerp(stops[i - 1].color, stops[i].color, span > 0 ? (t - stops[i - 1].position) / span : 1, gamma);
        }
    }
    return stops.back().color;
}

// A path gradient painted over the device box of its path: within the triangle of the centre
// and each edge of the boundary the colour goes from the edge's colour (itself blended between
// the surround colours of the edge's ends) to the centre colour.
Paint PathGradientPaint(const Brush& b, const engine::DrawState& state) {
    Paint paint;
    paint.kind = Paint::Texture;
    paint.deviceSpace = true;
    paint.wrap = b.wrap;
    PathData device = Transformed(b.path, state.world);
    std::vector<Polyline> figures = Flatten(device, 0.25);
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const Polyline& f : figures)
        for (PointD p : f.points) x0 = std::min(x0, p.X), y0 = std::min(y0, p.Y), x1 = std::max(x1, p.X), y1 = std::max(y1, p.Y);
    auto raster = std::make_shared<Raster>();
    if (!(x1 > x0 && y1 > y0)) {
        raster->width = raster->height = 1;
        raster->pixels.assign(1, 0);
        paint.image = raster;
        return paint;
    }
    // At most 4096 pixels a side; a larger path is painted coarser and stretched.
    x0 = std::floor(x0), y0 = std::floor(y0), x1 = std::ceil(x1), y1 = std::ceil(y1);
    int w = static_cast<int>(std::min(4096.0, x1 - x0)), h = static_cast<int>(std::min(4096.0, y1 - y0));
    double sx = (x1 - x0) / w, sy = (y1 - y0) / h;
    raster->width = w;
    raster->height = h;
    raster->pixels.assign(static_cast<size_t>(w) * h, 0);
    paint.transform = {sx, 0, 0, sy, x0, y0};
    PointD c = state.world.Map(b.center.X, b.center.Y);
    c = {(c.X - x0) / sx, (c.Y - y0) / sy};
    auto surround = [&](double src) {
        size_t n = b.surround.size();
        auto at = [&](size_t i) { return b.surround[std::min(i, n - 1)]; };
        size_t i = static_cast<size_t>(std::floor(src));
        double f = src - double(i);
        size_t count = b.path.points.size();
        return f <= 0 ? at(i) : Lerp(at(i), at((i + 1) % count), f, b.gamma);
    };
    for (const Polyline& f : figures) {
        size_t n = f.points.size();
        if (n < 2) continue;
        std::vector<PointD> pts(n);
        std::vector<ARGB> cols(n);
        for (size_t k = 0; k < n; ++k) {
            pts[k] = {(f.points[k].X - x0) / sx, (f.points[k].Y - y0) / sy};
            cols[k] = surround(f.src[k]);
        }
        for (size_t k = 0; k < n; ++k) {
            PointD a = pts[k], bb = pts[(k + 1) % n];
            ARGB ca = cols[k], cb = cols[(k + 1) % n];
            double det = (a.X - c.X) * (bb.Y - c.Y) - (bb.X - c.X) * (a.Y - c.Y);
            if (det == 0) continue;
            int ty0 = std::max(0, static_cast<int>(std::floor(std::min({a.Y, bb.Y, c.Y}))));
            int ty1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({a.Y, bb.Y, c.Y}))));
            int tx0 = std::max(0, static_cast<int>(std::floor(std::min({a.X, bb.X, c.X}))));
            int tx1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({a.X, bb.X, c.X}))));
            for (int y = ty0; y <= ty1; ++y) {
                double py = y + 0.5;
                for (int x = tx0; x <= tx1; ++x) {
                    double px = x + 0.5;
                    // Barycentric weights of a, b and the centre.
                    double wa = ((bb.X - px) * (c.Y - py) - (c.X - px) * (bb.Y - py)) / det;
                    double wb = ((c.X - px) * (a.Y - py) - (a.X - px) * (c.Y - py)) / det;
                    double wc = 1 - wa - wb;
                    if (wa < -1e-9 || wb < -1e-9 || wc < -1e-9) continue;
                    double edge = wa + wb;
                    // A preset blend gives the colours from the boundary (0) to the centre (1).
                    raster->At(x, y) = b.preset.empty()
                                           ? Lerp(edge > 0 ? Lerp(ca, cb, wb / edge, b.gamma) : ca, b.centerColor, wc, b.gamma)
                                           : Blend(b.preset, wc, b.gamma);
                }
            }
        }
    }
    // The fill's anti-aliased rim covers pixels whose centres lie just outside: give them the
    // colour of a painted neighbour.
    for (int pass = 0; pass < 2; ++pass) {
        Raster copy = *raster;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (copy.At(x, y)) continue;
                for (int d = 0; d < 4; ++d) {
                    int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || !copy.At(nx, ny)) continue;
                    raster->At(x, y) = copy.At(nx, ny);
                    break;
                }
            }
    }
    paint.image = raster;
    return paint;
}

}  // namespace

PenType PenTypeOf(BrushType type) { return static_cast<PenType>(type); }

engine::Paint PaintOf(const Brush& b, const engine::DrawState& state, const PathData*) {
    Paint p;
    switch (b.type) {
        case BrushTypeSolidColor: p.color = b.color; break;
        case BrushTypeHatchFill: {
            auto r = std::make_shared<Raster>();
            r->width = r->height = 8;
            r->pixels.resize(64);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) r->At(x, y) = HatchBit(b.hatch, x, y) ? b.fore : b.back;
            p.kind = Paint::Texture;
            p.image = r;
            p.deviceSpace = true;  // hatches keep to the device's pixel grid
            break;
        }
        case BrushTypeTextureFill:
            p.kind = Paint::Texture;
            p.image = b.image;
            p.wrap = b.wrap;
            p.transform = b.transform;
            break;
        case BrushTypeLinearGradient: {
            p.kind = Paint::Linear;
            p.start = b.start;
            p.end = b.end;
            p.wrap = b.wrap;
            p.transform = b.transform;
            std::vector<GradientStop> base = b.preset;
            if (base.empty()) base = {{0, b.colors[0]}, {1, b.colors[1]}};
            p.stops = Stops(base, b.gamma);
            break;
        }
        case BrushTypePathGradient: p = PathGradientPaint(b, state); break;
    }
    return p;
}

}  // namespace detail

using namespace detail;

namespace {

template <class F>
Status WithBrush(const GpBrush* handle, BrushType type, F f) {
    return Call([&] {
        Brush* b = Find<Brush>(handle);
        if (!b || b->type != type) return InvalidParameter;
        return f(*b);
    });
}

template <class H>
Status NewBrush(std::unique_ptr<Brush> b, H** out) {
    if (!out) return InvalidParameter;
    return Hand(std::move(b), out);
}

std::unique_ptr<Brush> Made(BrushType type) {
    auto b = std::make_unique<Brush>();
    b->type = type;
    return b;
}

// A texture of the part (x, y, w, h) of the image, adjusted by the attributes for brushes.
Status NewTexture(GpImage* image, WrapMode wrap, double x, double y, double w, double h, bool whole,
                  const ImageAttributes* attributes, GpTexture** texture) {
    Image* img = Find<Image>(image);
    if (!img || !texture || !ValidWrap(wrap) || !Finite({x, y, w, h})) return InvalidParameter;
    int iw = img->Width(), ih = img->Height();
    if (whole) x = 0, y = 0, w = iw, h = ih;
    int l = static_cast<int>(std::lround(x)), t = static_cast<int>(std::lround(y));
    int rw = static_cast<int>(std::lround(w)), rh = static_cast<int>(std::lround(h));
    if (rw <= 0 || rh <= 0 || l < 0 || t < 0 || l + rw > iw || t + rh > ih) return OutOfMemory;
    std::shared_ptr<Raster> all = img->Render(iw, ih);
    auto part = std::make_shared<Raster>();
    part->width = rw;
    part->height = rh;
    part->pixels.resize(static_cast<size_t>(rw) * rh);
    for (int row = 0; row < rh; ++row)
        for (int col = 0; col < rw; ++col) part->At(col, row) = img->Canonical(all->At(l + col, t + row));
    if (attributes) AdjustRaster(attributes->For(ColorAdjustTypeBrush), *part);
    auto b = Made(BrushTypeTextureFill);
    b->image = part;
    b->imageFormat = img->IsBitmap() ? img->format : PixelFormat32bppARGB;
    b->wrap = wrap;
    return NewBrush(std::move(b), texture);
}

Status NewLine(PointD p1, PointD p2, ARGB c1, ARGB c2, WrapMode wrap, GpLineGradient** brush) {
    if (!brush || wrap == WrapModeClamp || !ValidWrap(wrap)) return InvalidParameter;
    if ((p1.X == p2.X && p1.Y == p2.Y) || !Finite({p1.X, p1.Y, p2.X, p2.Y})) return OutOfMemory;
    auto b = Made(BrushTypeLinearGradient);
    b->start = p1;
    b->end = p2;
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    b->rect = {static_cast<REAL>(std::min(p1.X, p2.X)), static_cast<REAL>(std::min(p1.Y, p2.Y)),
               static_cast<REAL>(std::abs(p2.X - p1.X)), static_cast<REAL>(std::abs(p2.Y - p1.Y))};
    return NewBrush(std::move(b), brush);
}

// A gradient over the rectangle along the angle (degrees, clockwise from +x): colour 1 on the
// line through the first corner the direction meets, colour 2 through the last. A scalable
// angle is an angle of the unit square stretched with the rectangle.
Status NewLineAngle(const GpRectF& r, ARGB c1, ARGB c2, double angle, bool scalable, WrapMode wrap, GpLineGradient** brush) {
    if (!brush || wrap == WrapModeClamp || !ValidWrap(wrap) || !Finite({r.X, r.Y, r.Width, r.Height, angle})) return InvalidParameter;
    if (r.Width <= 0 || r.Height <= 0) return OutOfMemory;
    double rad = angle * M_PI / 180;
    double dx = std::cos(rad), dy = std::sin(rad);
    Affine space;  // the gradient's space to world
    double w = r.Width, h = r.Height;
    if (scalable) space = {w, 0, 0, h, r.X, r.Y};
    double cx0 = scalable ? 0 : r.X, cy0 = scalable ? 0 : r.Y, cw = scalable ? 1 : w, ch = scalable ? 1 : h;
    // The projections of the corners on the direction give where the colours sit.
    double lo = 1e300, hi = -1e300;
    for (int k = 0; k < 4; ++k) {
        double px = cx0 + (k & 1 ? cw : 0), py = cy0 + (k & 2 ? ch : 0);
        double d = px * dx + py * dy;
        lo = std::min(lo, d), hi = std::max(hi, d);
    }
    double ox = cx0 + cw / 2, oy = cy0 + ch / 2, mid = ox * dx + oy * dy;
    auto b = Made(BrushTypeLinearGradient);
    b->start = {ox + dx * (lo - mid), oy + dy * (lo - mid)};
    b->end = {ox + dx * (hi - mid), oy + dy * (hi - mid)};
    b->transform = space;
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    b->rect = r;
    return NewBrush(std::move(b), brush);
}

Status NewLineMode(const GpRectF& r, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap, GpLineGradient** brush) {
    if (mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) return InvalidParameter;
    static const double angles[] = {0, 90, 45, 135};
    return NewLineAngle(r, c1, c2, angles[mode], true, wrap, brush);
}

GpRectF RectOf(const GpRect& r) {
    return {static_cast<REAL>(r.X), static_cast<REAL>(r.Y), static_cast<REAL>(r.Width), static_cast<REAL>(r.Height)};
}

// Colours at positions from 0 to 1.
Status Preset(std::vector<engine::GradientStop>& out, const ARGB* colors, const REAL* positions, INT count) {
    if (!colors || !positions || count < 2) return InvalidParameter;
    if (positions[0] != 0 || positions[count - 1] != 1) return InvalidParameter;
    std::vector<engine::GradientStop> stops;
    for (INT i = 0; i < count; ++i) {
        if (!std::isfinite(positions[i]) || (i > 0 && positions[i] < positions[i - 1])) return InvalidParameter;
        stops.push_back({positions[i], colors[i]});
    }
    out = std::move(stops);
    return Ok;
}

template <class F>
Status WithTexture(GpTexture* handle, F f) {
    return WithBrush(handle, BrushTypeTextureFill, f);
}

template <class F>
Status WithGradient(GpPathGradient* handle, F f) {
    return WithBrush(handle, BrushTypePathGradient, f);
}

template <class F>
Status WithPen(GpPen* handle, F f) {
    return Call([&] {
        Pen* p = Find<Pen>(handle);
        if (!p) return InvalidParameter;
        return f(*p);
    });
}

Status NewPen(const Brush& brush, REAL width, Unit unit, GpPen** pen) {
    if (!pen || !ValidUnit(unit) || !(width >= 0) || !std::isfinite(width)) return InvalidParameter;
    auto p = std::make_unique<Pen>();
    p->brush = brush;
    p->width = width;
    p->unit = unit;
    return Hand(std::move(p), pen);
}

}  // namespace

Status GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
    return Call([&] {
        Brush* b = Find<Brush>(brush);
        if (!b || !clone) return InvalidParameter;
        return Hand(std::make_unique<Brush>(*b), clone);
    });
}

Status GdipDeleteBrush(GpBrush* brush) {
    return Call([&] { return Unregister(brush, Kind::Brush) ? Ok : InvalidParameter; });
}

Status GdipGetBrushType(GpBrush* brush, BrushType* type) {
    return Call([&] {
        Brush* b = Find<Brush>(brush);
        if (!b || !type) return InvalidParameter;
        *type = b->type;
        return Ok;
    });
}

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
    return Call([&] {
        auto b = Made(BrushTypeSolidColor);
        b->color = color;
        return NewBrush(std::move(b), brush);
    });
}

Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
    return WithBrush(brush, BrushTypeSolidColor, [&](Brush& b) {
        b.color = color;
        return Ok;
    });
}

Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
    return WithBrush(brush, BrushTypeSolidColor, [&](Brush& b) {
        if (!color) return InvalidParameter;
        *color = b.color;
        return Ok;
    });
}

Status GdipCreateHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor, GpHatch** brush) {
    return Call([&] {
        if (style < HatchStyleMin || style > HatchStyleMax) return InvalidParameter;
        auto b = Made(BrushTypeHatchFill);
        b->hatch = style;
        b->fore = foreColor;
        b->back = backColor;
        return NewBrush(std::move(b), brush);
    });
}

Status GdipGetHatchStyle(GpHatch* brush, HatchStyle* style) {
    return WithBrush(brush, BrushTypeHatchFill, [&](Brush& b) {
        if (!style) return InvalidParameter;
        *style = b.hatch;
        return Ok;
    });
}

Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* color) {
    return WithBrush(brush, BrushTypeHatchFill, [&](Brush& b) {
        if (!color) return InvalidParameter;
        *color = b.fore;
        return Ok;
    });
}

Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* color) {
    return WithBrush(brush, BrushTypeHatchFill, [&](Brush& b) {
        if (!color) return InvalidParameter;
        *color = b.back;
        return Ok;
    });
}

Status GdipCreateTexture(GpImage* image, WrapMode wrapMode, GpTexture** texture) {
    return Call([&] { return NewTexture(image, wrapMode, 0, 0, 0, 0, true, nullptr, texture); });
}

Status GdipCreateTexture2(GpImage* image, WrapMode wrapMode, REAL x, REAL y, REAL width, REAL height, GpTexture** texture) {
    return Call([&] { return NewTexture(image, wrapMode, x, y, width, height, false, nullptr, texture); });
}

Status GdipCreateTexture2I(GpImage* image, WrapMode wrapMode, INT x, INT y, INT width, INT height, GpTexture** texture) {
    return Call([&] { return NewTexture(image, wrapMode, x, y, width, height, false, nullptr, texture); });
}

Status GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width, REAL height,
                           GpTexture** texture) {
    return Call([&] {
        ImageAttributes* ia = imageAttributes ? Find<ImageAttributes>(imageAttributes) : nullptr;
        if (imageAttributes && !ia) return InvalidParameter;
        WrapMode wrap = ia ? ia->wrap : WrapModeTile;
        return NewTexture(image, wrap, x, y, width, height, false, ia, texture);
    });
}

Status GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width, INT height,
                            GpTexture** texture) {
    return GdipCreateTextureIA(image, imageAttributes, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                               static_cast<REAL>(height), texture);
}

Status GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix) {
    return WithTexture(brush, [&](Brush& b) {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        b.transform = m->m;
        return Ok;
    });
}

Status GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix) {
    return WithTexture(brush, [&](Brush& b) {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        m->m = b.transform;
        return Ok;
    });
}

Status GdipResetTextureTransform(GpTexture* brush) {
    return WithTexture(brush, [&](Brush& b) {
        b.transform = Affine();
        return Ok;
    });
}

Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, MatrixOrder order) {
    return WithTexture(brush, [&](Brush& b) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(b.transform, Affine::Translation(dx, dy), order);
        return Ok;
    });
}

Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, MatrixOrder order) {
    return WithTexture(brush, [&](Brush& b) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(b.transform, Affine{sx, 0, 0, sy, 0, 0}, order);
        return Ok;
    });
}

Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, MatrixOrder order) {
    return WithTexture(brush, [&](Brush& b) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(b.transform, RotationOf(angle), order);
        return Ok;
    });
}

Status GdipSetTextureWrapMode(GpTexture* brush, WrapMode wrapMode) {
    return WithTexture(brush, [&](Brush& b) {
        if (!ValidWrap(wrapMode)) return InvalidParameter;
        b.wrap = wrapMode;
        return Ok;
    });
}

Status GdipGetTextureWrapMode(GpTexture* brush, WrapMode* wrapMode) {
    return WithTexture(brush, [&](Brush& b) {
        if (!wrapMode) return InvalidParameter;
        *wrapMode = b.wrap;
        return Ok;
    });
}

Status GdipGetTextureImage(GpTexture* brush, GpImage** image) {
    return WithTexture(brush, [&](Brush& b) {
        if (!image) return InvalidParameter;
        std::unique_ptr<Image> img = NewBitmap(b.image->width, b.image->height, b.imageFormat);
        *img->pixels = *b.image;
        return Hand(std::move(img), image);
    });
}

Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2, WrapMode wrapMode,
                           GpLineGradient** brush) {
    return Call([&] {
        if (!point1 || !point2) return InvalidParameter;
        return NewLine({point1->X, point1->Y}, {point2->X, point2->Y}, color1, color2, wrapMode, brush);
    });
}

Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2, WrapMode wrapMode,
                            GpLineGradient** brush) {
    return Call([&] {
        if (!point1 || !point2) return InvalidParameter;
        return NewLine({double(point1->X), double(point1->Y)}, {double(point2->X), double(point2->Y)}, color1, color2, wrapMode, brush);
    });
}

Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode, WrapMode wrapMode,
                                   GpLineGradient** brush) {
    return Call([&] { return rect ? NewLineMode(*rect, color1, color2, mode, wrapMode, brush) : InvalidParameter; });
}

Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode, WrapMode wrapMode,
                                    GpLineGradient** brush) {
    return Call([&] { return rect ? NewLineMode(RectOf(*rect), color1, color2, mode, wrapMode, brush) : InvalidParameter; });
}

Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle, BOOL isAngleScalable,
                                            WrapMode wrapMode, GpLineGradient** brush) {
    return Call([&] {
        return rect ? NewLineAngle(*rect, color1, color2, angle, isAngleScalable, wrapMode, brush) : InvalidParameter;
    });
}

Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle, BOOL isAngleScalable,
                                             WrapMode wrapMode, GpLineGradient** brush) {
    return Call([&] {
        return rect ? NewLineAngle(RectOf(*rect), color1, color2, angle, isAngleScalable, wrapMode, brush) : InvalidParameter;
    });
}

Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors) {
    return WithBrush(brush, BrushTypeLinearGradient, [&](Brush& b) {
        if (!colors) return InvalidParameter;
        colors[0] = b.colors[0];
        colors[1] = b.colors[1];
        return Ok;
    });
}

Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection) {
    return WithBrush(brush, BrushTypeLinearGradient, [&](Brush& b) {
        b.gamma = useGammaCorrection;
        return Ok;
    });
}

Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection) {
    return WithBrush(brush, BrushTypeLinearGradient, [&](Brush& b) {
        if (!useGammaCorrection) return InvalidParameter;
        *useGammaCorrection = b.gamma;
        return Ok;
    });
}

Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, INT count) {
    return WithBrush(brush, BrushTypeLinearGradient, [&](Brush& b) { return Preset(b.preset, colors, positions, count); });
}

Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush) {
    return Call([&] {
        Path* p = Find<Path>(path);
        if (!p || !brush) return InvalidParameter;
        if (p->data.points.size() < 2) return OutOfMemory;
        auto b = Made(BrushTypePathGradient);
        b->path = p->data;
        b->wrap = WrapModeClamp;
        b->surround = {0xFFFFFFFF};
        // The centre starts at the centroid of the boundary's area (of its points when it has
        // none).
        double area = 0, cx = 0, cy = 0, sx = 0, sy = 0;
        for (const Polyline& f : Flatten(p->data, 0.25)) {
            size_t n = f.points.size();
            for (size_t i = 0; i < n; ++i) {
                PointD a = f.points[i], c = f.points[(i + 1) % n];
                double cross = a.X * c.Y - c.X * a.Y;
                area += cross;
                cx += (a.X + c.X) * cross;
                cy += (a.Y + c.Y) * cross;
                sx += a.X;
                sy += a.Y;
            }
        }
        size_t count = p->data.points.size();
        if (std::abs(area) > 1e-9) {
            b->center = {cx / (3 * area), cy / (3 * area)};
        } else {
            double mx = 0, my = 0;
            for (const GpPointF& q : p->data.points) mx += q.X, my += q.Y;
            b->center = {mx / count, my / count};
        }
        return NewBrush(std::move(b), brush);
    });
}

Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color) {
    return WithGradient(brush, [&](Brush& b) {
        if (!color) return InvalidParameter;
        *color = b.centerColor;
        return Ok;
    });
}

Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color) {
    return WithGradient(brush, [&](Brush& b) {
        b.centerColor = color;
        return Ok;
    });
}

Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count) {
    return WithGradient(brush, [&](Brush& b) {
        if (!count) return InvalidParameter;
        *count = static_cast<INT>(b.path.points.size());
        return Ok;
    });
}

Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count) {
    return GdipGetPathGradientPointCount(brush, count);
}

Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count) {
    return WithGradient(brush, [&](Brush& b) {
        if (!colors || !count) return InvalidParameter;
        INT n = static_cast<INT>(b.path.points.size());
        if (*count < n) return InsufficientBuffer;
        for (INT i = 0; i < n; ++i) colors[i] = b.surround[std::min<size_t>(i, b.surround.size() - 1)];
        *count = n;
        return Ok;
    });
}

Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count) {
    return WithGradient(brush, [&](Brush& b) {
        if (!colors || !count || *count <= 0 || *count > static_cast<INT>(b.path.points.size())) return InvalidParameter;
        b.surround.assign(colors, colors + *count);
        return Ok;
    });
}

Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point) {
    return WithGradient(brush, [&](Brush& b) {
        if (!point) return InvalidParameter;
        *point = {static_cast<REAL>(b.center.X), static_cast<REAL>(b.center.Y)};
        return Ok;
    });
}

Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point) {
    return WithGradient(brush, [&](Brush& b) {
        if (!point) return InvalidParameter;
        *point = {static_cast<INT>(std::lround(b.center.X)), static_cast<INT>(std::lround(b.center.Y))};
        return Ok;
    });
}

Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point) {
    return WithGradient(brush, [&](Brush& b) {
        if (!point || !Finite({point->X, point->Y})) return InvalidParameter;
        b.center = {point->X, point->Y};
        return Ok;
    });
}

Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point) {
    return WithGradient(brush, [&](Brush& b) {
        if (!point) return InvalidParameter;
        b.center = {double(point->X), double(point->Y)};
        return Ok;
    });
}

Status GdipSetPathGradientWrapMode(GpPathGradient* brush, WrapMode wrapMode) {
    return WithGradient(brush, [&](Brush& b) {
        if (!ValidWrap(wrapMode)) return InvalidParameter;
        b.wrap = wrapMode;
        return Ok;
    });
}

Status GdipGetPathGradientWrapMode(GpPathGradient* brush, WrapMode* wrapMode) {
    return WithGradient(brush, [&](Brush& b) {
        if (!wrapMode) return InvalidParameter;
        *wrapMode = b.wrap;
        return Ok;
    });
}

Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection) {
    return WithGradient(brush, [&](Brush& b) {
        b.gamma = useGammaCorrection;
        return Ok;
    });
}

Status GdipGetPathGradientGammaCorrection(GpPathGradient* brush, BOOL* useGammaCorrection) {
    return WithGradient(brush, [&](Brush& b) {
        if (!useGammaCorrection) return InvalidParameter;
        *useGammaCorrection = b.gamma;
        return Ok;
    });
}

Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* colors, const REAL* positions, INT count) {
    return WithGradient(brush, [&](Brush& b) { return Preset(b.preset, colors, positions, count); });
}

// Pens.

Status GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen) {
    return Call([&] {
        Brush b;
        b.color = color;
        return NewPen(b, width, unit, pen);
    });
}

Status GdipCreatePen2(GpBrush* brush, REAL width, Unit unit, GpPen** pen) {
    return Call([&] {
        Brush* b = Find<Brush>(brush);
        return b ? NewPen(*b, width, unit, pen) : InvalidParameter;
    });
}

Status GdipDeletePen(GpPen* pen) {
    return Call([&] { return Unregister(pen, Kind::Pen) ? Ok : InvalidParameter; });
}

Status GdipSetPenWidth(GpPen* pen, REAL width) {
    return WithPen(pen, [&](Pen& p) {
        if (!(width >= 0) || !std::isfinite(width)) return InvalidParameter;
        p.width = width;
        return Ok;
    });
}

Status GdipGetPenWidth(GpPen* pen, REAL* width) {
    return WithPen(pen, [&](Pen& p) {
        if (!width) return InvalidParameter;
        *width = static_cast<REAL>(p.width);
        return Ok;
    });
}

Status GdipSetPenUnit(GpPen* pen, Unit unit) {
    return WithPen(pen, [&](Pen& p) {
        if (!ValidUnit(unit)) return InvalidParameter;
        p.unit = unit;
        return Ok;
    });
}

Status GdipGetPenUnit(GpPen* pen, Unit* unit) {
    return WithPen(pen, [&](Pen& p) {
        if (!unit) return InvalidParameter;
        *unit = p.unit;
        return Ok;
    });
}

Status GdipSetPenColor(GpPen* pen, ARGB color) {
    return WithPen(pen, [&](Pen& p) {
        p.brush = Brush();
        p.brush.color = color;
        return Ok;
    });
}

Status GdipGetPenColor(GpPen* pen, ARGB* color) {
    return WithPen(pen, [&](Pen& p) {
        if (!color) return InvalidParameter;
        if (p.brush.type != BrushTypeSolidColor) return InvalidParameter;
        *color = p.brush.color;
        return Ok;
    });
}

Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
    return WithPen(pen, [&](Pen& p) {
        Brush* b = Find<Brush>(brush);
        if (!b) return InvalidParameter;
        p.brush = *b;
        return Ok;
    });
}

Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush) {
    return WithPen(pen, [&](Pen& p) { return brush ? Hand(std::make_unique<Brush>(p.brush), brush) : InvalidParameter; });
}

Status GdipGetPenFillType(GpPen* pen, PenType* type) {
    return WithPen(pen, [&](Pen& p) {
        if (!type) return InvalidParameter;
        *type = PenTypeOf(p.brush.type);
        return Ok;
    });
}

Status GdipSetPenDashStyle(GpPen* pen, DashStyle style) {
    return WithPen(pen, [&](Pen& p) {
        // A custom pattern needs a dash array, which this API does not take.
        if (style == DashStyleCustom) return NotImplemented;
        if (style < DashStyleSolid || style > DashStyleCustom) return InvalidParameter;
        p.dash = style;
        return Ok;
    });
}

Status GdipGetPenDashStyle(GpPen* pen, DashStyle* style) {
    return WithPen(pen, [&](Pen& p) {
        if (!style) return InvalidParameter;
        *style = p.dash;
        return Ok;
    });
}

Status GdipSetPenEndCap(GpPen* pen, LineCap cap) {
    return WithPen(pen, [&](Pen& p) {
        bool basic = cap >= LineCapFlat && cap <= LineCapTriangle;
        bool anchor = cap >= LineCapNoAnchor && cap <= LineCapArrowAnchor;
        // A custom cap is an object of its own, which this API does not make.
        if (!basic && !anchor) return InvalidParameter;
        p.endCap = cap;
        return Ok;
    });
}

Status GdipGetPenEndCap(GpPen* pen, LineCap* cap) {
    return WithPen(pen, [&](Pen& p) {
        if (!cap) return InvalidParameter;
        *cap = p.endCap;
        return Ok;
    });
}

}  // namespace gdiplus
