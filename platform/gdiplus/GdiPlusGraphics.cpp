// Graphics: the surface of a canvas or an image with its world transform, clip and quality
// settings, and the drawing calls, each turned into a path, a paint or text runs for the engine.
#include <algorithm>
#include <cmath>

#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Metafile.h"

namespace gdiplus {

namespace detail {

engine::DrawState Graphics::State() const {
    engine::DrawState s;
    s.world = world;
    s.clip = clip;
    s.antialias = smoothing == SmoothingModeAntiAlias || smoothing == SmoothingModeHighQuality || smoothing == SmoothingModeAntiAlias8x8;
    s.textAntialias = textHint != TextRenderingHintSingleBitPerPixel && textHint != TextRenderingHintSingleBitPerPixelGridFit;
    return s;
}

}  // namespace detail

using namespace detail;

namespace {

using engine::StrokeSpec;

// Runs f on the graphics behind the handle; ObjectBusy while its device context is lent out.
template <class F>
Status WithGraphics(GpGraphics* handle, F f, bool drawing = true) {
    return Call([&] {
        Graphics* g = Find<Graphics>(handle);
        if (!g) return InvalidParameter;
        if (drawing && g->lent) return ObjectBusy;
        return f(*g);
    });
}

struct Cap {
    PointD end;
    PointD dir;  // unit vector, pointing out of the line
};

// The open figures' ends with the direction the line arrives in.
std::vector<Cap> FigureEnds(const PathData& path) {
    std::vector<Cap> out;
    size_t n = path.points.size(), start = 0;
    for (size_t i = 0; i < n; ++i) {
        bool last = i + 1 == n || (path.types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart;
        if (!last) continue;
        if (!(path.types[i] & PathPointTypeCloseSubpath)) {
            PointD p{path.points[i].X, path.points[i].Y};
            for (size_t k = i; k-- > start;) {
                PointD q{path.points[k].X, path.points[k].Y};
                double len = std::hypot(p.X - q.X, p.Y - q.Y);
                if (len > 0) {
                    out.push_back({p, {(p.X - q.X) / len, (p.Y - q.Y) / len}});
                    break;
                }
            }
        }
        start = i + 1;
    }
    return out;
}

// The shapes of a cap at each open end, filled with the stroke.
PathData CapShapes(const PathData& path, LineCap cap, double width) {
    Path shapes;
    shapes.data.fillMode = FillModeWinding;
    double h = width / 2, a = width;  // anchors stand out of the line: twice its width across
    for (const Cap& c : FigureEnds(path)) {
        PointD p = c.end, d = c.dir, n{-d.Y, d.X};
        auto at = [&](double along, double across) { return PointD{p.X + d.X * along + n.X * across, p.Y + d.Y * along + n.Y * across}; };
        switch (cap) {
            case LineCapSquare: AddClosedFigure(shapes, {at(0, h), at(h, h), at(h, -h), at(0, -h)}, false); break;
            case LineCapRound: AddClosedFigure(shapes, ArcBeziers(p.X - h, p.Y - h, width, width, 0, 360), true); break;
            case LineCapTriangle: AddClosedFigure(shapes, {at(0, h), at(h, 0), at(0, -h)}, false); break;
            case LineCapSquareAnchor: AddClosedFigure(shapes, {at(-a, a), at(a, a), at(a, -a), at(-a, -a)}, false); break;
            case LineCapRoundAnchor: AddClosedFigure(shapes, ArcBeziers(p.X - a, p.Y - a, 2 * a, 2 * a, 0, 360), true); break;
            case LineCapDiamondAnchor: AddClosedFigure(shapes, {at(a, 0), at(0, a), at(-a, 0), at(0, -a)}, false); break;
            case LineCapArrowAnchor: AddClosedFigure(shapes, {at(0, 0), at(-2 * a, a), at(-2 * a, -a)}, false); break;
            default: break;
        }
    }
    return shapes.data;
}

Status StrokePath(Graphics& g, const Pen& pen, const PathData& path) {
    if (path.points.empty()) return Ok;
    engine::DrawState state = g.State();
    StrokeSpec s;
    s.paint = PaintOf(pen.brush, state, &path);
    PathData drawn = path;
    double scale = std::sqrt(std::abs(state.world.Determinant()));
    if (pen.unit == UnitWorld && pen.width * scale >= 1) {
        s.width = pen.width;
    } else {
        // Widths in device units, and lines thinner than a pixel, are drawn a device pixel wide
        // at least whatever the transform.
        s.deviceSpace = true;
        s.width = std::max(1.0, pen.unit == UnitWorld ? pen.width * scale : pen.width * UnitToPixels(pen.unit));
        drawn = Transformed(path, state.world);
        if (!s.paint.deviceSpace) s.paint.transform = s.paint.transform.Then(state.world);
        s.paint.deviceSpace = true;
    }
    switch (pen.dash) {
        case DashStyleDash: s.dashes = {3, 1}; break;
        case DashStyleDot: s.dashes = {1, 1}; break;
        case DashStyleDashDot: s.dashes = {3, 1, 1, 1}; break;
        case DashStyleDashDotDot: s.dashes = {3, 1, 1, 1, 1, 1}; break;
        default: break;
    }
    s.caps = CapShapes(drawn, pen.endCap, s.width);
    return Engine().Stroke(g.Target(), state, drawn, s);
}

Status FillPath(Graphics& g, const Brush& brush, const PathData& path) {
    if (path.points.empty()) return Ok;
    engine::DrawState state = g.State();
    return Engine().Fill(g.Target(), state, path, PaintOf(brush, state, &path));
}

Status Draw(GpGraphics* graphics, GpPen* pen, const PathData& path) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Pen* p = Find<Pen>(pen);
        if (!p) return InvalidParameter;
        return StrokePath(g, *p, path);
    });
}

Status Fill(GpGraphics* graphics, GpBrush* brush, const PathData& path) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Brush* b = Find<Brush>(brush);
        if (!b) return InvalidParameter;
        return FillPath(g, *b, path);
    });
}

PathData ArcPath(double x, double y, double w, double h, double start, double sweep) {
    Path p;
    AddBeziers(p, ArcBeziers(x, y, w, h, start, sweep));
    return p.data;
}

template <class P>
Status Polygon(const P* points, INT count, FillMode mode, PathData& out) {
    if (!points || count < 3 || (mode != FillModeAlternate && mode != FillModeWinding)) return InvalidParameter;
    Path p;
    std::vector<PointD> pts;
    for (INT i = 0; i < count; ++i) pts.push_back({double(points[i].X), double(points[i].Y)});
    AddClosedFigure(p, pts, false);
    p.data.fillMode = mode;
    out = p.data;
    return Ok;
}

Status SetClip(GpGraphics* graphics, const RegionTree& world, CombineMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
        // The clip is kept in device coordinates: a later transform does not move it.
        g.clip = Combine(g.clip ? g.clip : InfiniteNode(), TransformedTree(world, g.world), mode);
        return Ok;
    }, false);
}

// Draws the part (sx, sy, sw, sh) of the image, in pixels, onto the parallelogram.
Status DrawPart(Graphics& g, Image& img, double sx, double sy, double sw, double sh, const PointD dest[3],
                const ImageAttributes* attributes, DrawImageAbort callback, void* data) {
    if (!Finite({sx, sy, sw, sh, dest[0].X, dest[0].Y, dest[1].X, dest[1].Y, dest[2].X, dest[2].Y})) return InvalidParameter;
    if (sw <= 0 || sh <= 0) return InvalidParameter;
    if (callback && callback(data)) return Aborted;
    engine::DrawState state = g.State();
    std::shared_ptr<Raster> source;
    double fx = 1, fy = 1;
    if (img.IsBitmap()) {
        source = img.Render(img.Width(), img.Height());
    } else {
        // A metafile is played at the size it lands on the device.
        PointD u = state.world.MapVector(dest[1].X - dest[0].X, dest[1].Y - dest[0].Y);
        PointD v = state.world.MapVector(dest[2].X - dest[0].X, dest[2].Y - dest[0].Y);
        double w = std::hypot(u.X, u.Y) * img.Width() / sw, h = std::hypot(v.X, v.Y) * img.Height() / sh;
        int rw = static_cast<int>(std::clamp(std::ceil(w), 1.0, 8192.0)), rh = static_cast<int>(std::clamp(std::ceil(h), 1.0, 8192.0));
        source = img.Render(rw, rh);
        fx = double(rw) / img.Width();
        fy = double(rh) / img.Height();
    }
    if (attributes) {
        const Adjustments& a = attributes->For(ColorAdjustTypeBitmap);
        if (a.any && !a.noOp) {
            source = std::make_shared<Raster>(*source);
            AdjustRaster(a, *source);
        }
    }
    GpRectF part{static_cast<REAL>(sx * fx), static_cast<REAL>(sy * fy), static_cast<REAL>(sw * fx), static_cast<REAL>(sh * fy)};
    return Engine().DrawImage(g.Target(), state, *source, part, dest);
}

Status DrawRect(GpGraphics* graphics, GpImage* image, double x, double y, double w, double h) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Image* img = Find<Image>(image);
        if (!img) return InvalidParameter;
        const PointD dest[3] = {{x, y}, {x + w, y}, {x, y + h}};
        return DrawPart(g, *img, 0, 0, img->Width(), img->Height(), dest, nullptr, nullptr, nullptr);
    });
}

Status DrawRectRect(GpGraphics* graphics, GpImage* image, double dx, double dy, double dw, double dh, double sx, double sy,
                    double sw, double sh, Unit unit, const GpImageAttributes* attributes, DrawImageAbort callback, void* data) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Image* img = Find<Image>(image);
        ImageAttributes* ia = attributes ? Find<ImageAttributes>(attributes) : nullptr;
        if (!img || (attributes && !ia) || !ValidUnit(unit)) return InvalidParameter;
        double k = UnitToPixels(unit);
        const PointD dest[3] = {{dx, dy}, {dx + dw, dy}, {dx, dy + dh}};
        return DrawPart(g, *img, sx * k, sy * k, sw * k, sh * k, dest, ia, callback, data);
    });
}

std::u16string TextOf(const WCHAR* string, INT length) {
    if (length < 0) return std::u16string(string);
    return std::u16string(string, static_cast<size_t>(length));
}

// What the text calls share: the font, the format (a default one when nil) and the layout.
Status LayOutText(const WCHAR* string, INT length, const GpFont* font, const GpRectF* rect, const GpStringFormat* format,
                  TextLayout& layout, engine::FontKey& key, StringFormat& fmt) {
    Font* f = Find<Font>(font);
    StringFormat* s = format ? Find<StringFormat>(format) : nullptr;
    if (!string || !f || !rect || (format && !s) || length < -1) return InvalidParameter;
    if (!Finite({rect->X, rect->Y, rect->Width, rect->Height})) return InvalidParameter;
    if (s) fmt = *s;
    // Vertical text is not laid out here.
    if (fmt.flags & StringFormatFlagsDirectionVertical) return NotImplemented;
    key = KeyOf(*f);
    layout = LayOut(TextOf(string, length), key, *rect, fmt);
    return Ok;
}

}  // namespace

Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
    return Call([&] {
        if (!graphics) return InvalidParameter;
        TCanvas* canvas = TCanvas::FromHandle(hdc);
        if (!canvas) return InvalidParameter;
        // A recording canvas keeps GDI calls; what GDI+ draws cannot be recorded in it.
        if (dynamic_cast<TMetafileCanvas*>(canvas)) return NotImplemented;
        auto g = std::make_unique<Graphics>();
        g->dc = hdc;
        return Hand(std::move(g), graphics);
    });
}

Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
    return Call([&] {
        Image* img = Find<Image>(image);
        if (!img || !graphics) return InvalidParameter;
        // Neither a palette's indexes nor a loaded metafile can be drawn on.
        if (!img->IsBitmap() || IsIndexedPixelFormat(img->format)) return InvalidParameter;
        auto g = std::make_unique<Graphics>();
        g->raster = img->pixels;
        return Hand(std::move(g), graphics);
    });
}

Status GdipDeleteGraphics(GpGraphics* graphics) {
    return Call([&] { return Unregister(graphics, Kind::Graphics) ? Ok : InvalidParameter; });
}

// Every drawing has reached the surface when its call returns.
Status GdipFlush(GpGraphics* graphics, FlushIntention) {
    return WithGraphics(graphics, [](Graphics&) { return Ok; });
}

Status GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
    return WithGraphics(graphics, [&](Graphics& g) { return Engine().Clear(g.Target(), g.State(), color); });
}

Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        g.world = m->m;
        return Ok;
    }, false);
}

Status GdipResetWorldTransform(GpGraphics* graphics) {
    return WithGraphics(graphics, [&](Graphics& g) {
        g.world = Affine();
        return Ok;
    }, false);
}

Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Matrix* m = Find<Matrix>(matrix);
        if (!m) return InvalidParameter;
        m->m = g.world;
        return Ok;
    }, false);
}

Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Matrix* m = Find<Matrix>(matrix);
        if (!m || !ValidOrder(order)) return InvalidParameter;
        Apply(g.world, m->m, order);
        return Ok;
    }, false);
}

Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(g.world, Affine::Translation(dx, dy), order);
        return Ok;
    }, false);
}

Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(g.world, Affine{sx, 0, 0, sy, 0, 0}, order);
        return Ok;
    }, false);
}

Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!ValidOrder(order)) return InvalidParameter;
        Apply(g.world, RotationOf(angle), order);
        return Ok;
    }, false);
}

Status GdipGetDC(GpGraphics* graphics, HDC* hdc) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!hdc) return InvalidParameter;
        if (g.dc) {
            g.lent = g.dc;
        } else {
            // A bitmap of the layer with the image's pixels, taken back at the release.
            const Raster& r = *g.raster;
            auto b = std::make_unique<TBitmap>(r.width, r.height, pf32bit);
            for (int y = 0; y < r.height; ++y) std::copy_n(&r.pixels[size_t(y) * r.width], r.width, static_cast<uint32_t*>(b->ScanLine(y)));
            b->PixelsChanged();
            g.lent = b->Canvas()->Handle();
            g.lentBitmap = std::move(b);
        }
        *hdc = g.lent;
        return Ok;
    });
}

Status GdipReleaseDC(GpGraphics* graphics, HDC hdc) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!g.lent || hdc != g.lent) return InvalidParameter;
        if (g.lentBitmap) {
            Raster& r = *g.raster;
            TBitmap& b = *g.lentBitmap;
            for (int y = 0; y < std::min(r.height, b.Height()); ++y)
                std::copy_n(static_cast<const uint32_t*>(b.ScanLine(y)), std::min(r.width, b.Width()), &r.pixels[size_t(y) * r.width]);
            g.lentBitmap.reset();
        }
        g.lent = nullptr;
        return Ok;
    }, false);
}

Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (quality < CompositingQualityDefault || quality > CompositingQualityAssumeLinear) return InvalidParameter;
        g.quality = quality;
        return Ok;
    }, false);
}

Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!quality) return InvalidParameter;
        *quality = g.quality;
        return Ok;
    }, false);
}

Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint mode) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (mode < TextRenderingHintSystemDefault || mode > TextRenderingHintClearTypeGridFit) return InvalidParameter;
        g.textHint = mode;
        return Ok;
    }, false);
}

Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* mode) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!mode) return InvalidParameter;
        *mode = g.textHint;
        return Ok;
    }, false);
}

Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return InvalidParameter;
        g.smoothing = mode;
        return Ok;
    }, false);
}

Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode) {
    return WithGraphics(graphics, [&](Graphics& g) {
        if (!mode) return InvalidParameter;
        *mode = g.smoothing;
        return Ok;
    }, false);
}

Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode) {
    return Call([&] {
        if (!Finite({x, y, width, height})) return InvalidParameter;
        return SetClip(graphics, RectNode({x, y, width, height}), mode);
    });
}

Status GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode mode) {
    return GdipSetClipRect(graphics, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width), static_cast<REAL>(height), mode);
}

Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode) {
    return Call([&] {
        Region* r = Find<Region>(region);
        return r ? SetClip(graphics, r->tree, mode) : InvalidParameter;
    });
}

Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode) {
    return Call([&] {
        Path* p = Find<Path>(path);
        return p ? SetClip(graphics, PathNode(p->data), mode) : InvalidParameter;
    });
}

Status GdipResetClip(GpGraphics* graphics) {
    return WithGraphics(graphics, [&](Graphics& g) {
        g.clip = nullptr;
        return Ok;
    }, false);
}

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
    Path p;
    AddLines(p, {{x1, y1}, {x2, y2}});
    return Draw(graphics, pen, p.data);
}

Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2) {
    return GdipDrawLine(graphics, pen, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2), static_cast<REAL>(y2));
}

Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return Draw(graphics, pen, RectanglePath(x, y, width, height));
}

Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
    return Draw(graphics, pen, RectanglePath(x, y, width, height));
}

Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return Fill(graphics, brush, RectanglePath(x, y, width, height));
}

Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
    return Fill(graphics, brush, RectanglePath(x, y, width, height));
}

Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    if (!Finite({x, y, width, height, startAngle, sweepAngle}) || width <= 0 || height <= 0) return Call([] { return InvalidParameter; });
    return Draw(graphics, pen, ArcPath(x, y, width, height, startAngle, sweepAngle));
}

Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return GdipDrawArc(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width), static_cast<REAL>(height),
                       startAngle, sweepAngle);
}

Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return Draw(graphics, pen, EllipsePath(x, y, width, height));
}

Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
    return Draw(graphics, pen, EllipsePath(x, y, width, height));
}

Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return Fill(graphics, brush, EllipsePath(x, y, width, height));
}

Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
    return Fill(graphics, brush, EllipsePath(x, y, width, height));
}

Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    PathData d;
    Status s = Polygon(points, count, FillModeAlternate, d);
    return s == Ok ? Draw(graphics, pen, d) : Call([s] { return s; });
}

Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
    PathData d;
    Status s = Polygon(points, count, FillModeAlternate, d);
    return s == Ok ? Draw(graphics, pen, d) : Call([s] { return s; });
}

Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, FillMode fillMode) {
    PathData d;
    Status s = Polygon(points, count, fillMode, d);
    return s == Ok ? Fill(graphics, brush, d) : Call([s] { return s; });
}

Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, FillMode fillMode) {
    PathData d;
    Status s = Polygon(points, count, fillMode, d);
    return s == Ok ? Fill(graphics, brush, d) : Call([s] { return s; });
}

Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
    return Call([&] {
        Path* p = Find<Path>(path);
        return p ? Draw(graphics, pen, p->data) : InvalidParameter;
    });
}

Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
    return Call([&] {
        Path* p = Find<Path>(path);
        return p ? Fill(graphics, brush, p->data) : InvalidParameter;
    });
}

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
    return Call([&] {
        Image* img = Find<Image>(image);
        if (!img) return InvalidParameter;
        return DrawRect(graphics, image, x, y, img->Width(), img->Height());
    });
}

Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y) {
    return GdipDrawImage(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y));
}

Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
    return DrawRect(graphics, image, x, y, width, height);
}

Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height) {
    return DrawRect(graphics, image, x, y, width, height);
}

Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth, REAL dstheight,
                             REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, Unit srcUnit,
                             const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
    return DrawRectRect(graphics, image, dstx, dsty, dstwidth, dstheight, srcx, srcy, srcwidth, srcheight, srcUnit, imageAttributes,
                        callback, callbackData);
}

Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth, INT dstheight,
                              INT srcx, INT srcy, INT srcwidth, INT srcheight, Unit srcUnit,
                              const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
    return DrawRectRect(graphics, image, dstx, dsty, dstwidth, dstheight, srcx, srcy, srcwidth, srcheight, srcUnit, imageAttributes,
                        callback, callbackData);
}

Status GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font, const GpRectF* layoutRect,
                      const GpStringFormat* format, const GpBrush* brush) {
    return WithGraphics(graphics, [&](Graphics& g) {
        Brush* b = Find<Brush>(brush);
        if (!b) return InvalidParameter;
        TextLayout layout;
        engine::FontKey key;
        StringFormat fmt;
        Status s = LayOutText(string, length, font, layoutRect, format, layout, key, fmt);
        if (s != Ok || layout.runs.empty()) return s;
        engine::DrawState state = g.State();
        // Text stays inside a bounded layout rectangle.
        const GpRectF& r = *layoutRect;
        if (r.Width > 0 && r.Height > 0 && !(fmt.flags & StringFormatFlagsNoClip))
            state.clip = Combine(state.clip ? state.clip : InfiniteNode(), TransformedTree(RectNode(r), state.world), CombineModeIntersect);
        engine::Paint paint = PaintOf(*b, state, nullptr);
        s = Engine().DrawText(g.Target(), state, key, layout.runs, paint);
        if (s != Ok) return s;
        const engine::FontMetricsD& m = layout.metrics;
        double thick = std::max(m.lineThickness, 1.0 / std::max(1e-9, std::sqrt(std::abs(state.world.Determinant()))));
        for (const TextLayout::Mark& mark : layout.marks) {
            s = Engine().Fill(g.Target(), state, RectanglePath(mark.x0, mark.baseline + m.underlinePosition, mark.x1 - mark.x0, thick), paint);
            if (s != Ok) return s;
        }
        return Ok;
    });
}

Status GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font, const GpRectF* layoutRect,
                         const GpStringFormat* format, GpRectF* boundingBox, INT* codepointsFitted, INT* linesFilled) {
    return WithGraphics(graphics, [&](Graphics&) {
        if (!boundingBox) return InvalidParameter;
        TextLayout layout;
        engine::FontKey key;
        StringFormat fmt;
        Status s = LayOutText(string, length, font, layoutRect, format, layout, key, fmt);
        if (s != Ok) return s;
        *boundingBox = layout.box;
        if (codepointsFitted) *codepointsFitted = layout.codepointsFitted;
        if (linesFilled) *linesFilled = layout.linesFilled;
        return Ok;
    }, false);
}

Status GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style, REAL emSize,
                         const GpRectF* layoutRect, const GpStringFormat* format) {
    return Call([&] {
        Path* p = Find<Path>(path);
        FontFamily* f = Find<FontFamily>(family);
        StringFormat* s = format ? Find<StringFormat>(format) : nullptr;
        if (!p || !f || !string || !layoutRect || (format && !s) || length < -1 || !(emSize > 0) || !std::isfinite(emSize))
            return InvalidParameter;
        StringFormat fmt = s ? *s : StringFormat();
        if (fmt.flags & StringFormatFlagsDirectionVertical) return NotImplemented;
        Font font;
        font.family = *f;
        font.size = emSize;
        font.style = style;
        font.unit = UnitWorld;
        engine::FontKey key = KeyOf(font);
        TextLayout layout = LayOut(TextOf(string, length), key, *layoutRect, fmt);
        PathData outline = Engine().Outline(key, layout.runs);
        for (const TextLayout::Mark& m : layout.marks) {
            PathData bar = RectanglePath(m.x0, m.baseline + layout.metrics.underlinePosition, m.x1 - m.x0, layout.metrics.lineThickness);
            outline.points.insert(outline.points.end(), bar.points.begin(), bar.points.end());
            outline.types.insert(outline.types.end(), bar.types.begin(), bar.types.end());
        }
        // The outlines are figures of their own.
        p->open = false;
        p->data.points.insert(p->data.points.end(), outline.points.begin(), outline.points.end());
        p->data.types.insert(p->data.types.end(), outline.types.begin(), outline.types.end());
        return Ok;
    });
}

Status GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style, REAL emSize,
                          const GpRect* layoutRect, const GpStringFormat* format) {
    if (!layoutRect) return Call([] { return InvalidParameter; });
    GpRectF r{static_cast<REAL>(layoutRect->X), static_cast<REAL>(layoutRect->Y), static_cast<REAL>(layoutRect->Width),
              static_cast<REAL>(layoutRect->Height)};
    return GdipAddPathString(path, string, length, family, style, emSize, &r, format);
}

}  // namespace gdiplus
