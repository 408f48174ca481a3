// TCanvas over QPainter, with the pixel rules of the original window system, and the GDI calls
// on its handle: raster operations, regions, colours, origins and saved states.
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/GdiHandles.h"

using namespace qtbackend;

namespace {

// Held to the canvas's range, as coordinates are, so that adding it cannot overflow.
int HeldCoord(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kCanvasCoordLimit, kCanvasCoordLimit)); }

QPoint Offset(TCanvas* c) {
    const TCanvasDcState& s = c->Dc().state;
    return QPoint(HeldCoord(int64_t{s.viewportOrg.X} - s.windowOrg.X), HeldCoord(int64_t{s.viewportOrg.Y} - s.windowOrg.Y));
}

// Where the canvas may draw, in device coordinates.
QRegion Visible(TCanvas* c) {
    TBitmap* b = c->Bitmap();
    if (!b || b->Empty()) return QRegion();
    QRegion r(0, 0, b->Width(), b->Height());
    TCanvasDc& dc = c->Dc();
    if (dc.hasDeviceClip) r &= dc.deviceClip;
    if (dc.state.hasClip) r &= dc.state.clip;
    return r;
}

QRect QRectOf(const TRect& r) {
    int l = HeldCoord(r.Left), t = HeldCoord(r.Top);
    return QRect(l, t, HeldCoord(r.Right) - l, HeldCoord(r.Bottom) - t);
}

// A device point of logical (x, y), held to the canvas's range.
QPoint DevicePoint(TCanvas* c, int x, int y) {
    QPoint off = Offset(c);
    return QPoint(HeldCoord(int64_t{x} + off.x()), HeldCoord(int64_t{y} + off.y()));
}

int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

QPainter::CompositionMode ModeOf(TPenMode m) {
    switch (m) {
        case pmNot: return QPainter::RasterOp_NotDestination;
        case pmNotCopy: return QPainter::RasterOp_NotSource;
        case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
        case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
        case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
        case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
        case pmMerge: return QPainter::RasterOp_SourceOrDestination;
        case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
        case pmMask: return QPainter::RasterOp_SourceAndDestination;
        case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
        case pmXor: return QPainter::RasterOp_SourceXorDestination;
        case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
        default: return QPainter::CompositionMode_SourceOver;
    }
}

bool PenVisible(const TPen& pen) {
    return pen.Style() != psClear && pen.Mode() != pmNop && pen.Color() != clNone;
}
bool BrushVisible(const TBrush& brush) {
    return brush.Bitmap() || (brush.Style() != bsClear && brush.Color() != clNone);
}

QColor PenColor(const TPen& pen) {
    if (pen.Mode() == pmBlack) return Qt::black;
    if (pen.Mode() == pmWhite) return Qt::white;
    return QColorOf(pen.Color());
}

QPen QPenOf(const TPen& pen, Qt::PenCapStyle cap = Qt::FlatCap) {
    if (!PenVisible(pen)) return QPen(Qt::NoPen);
    QPen q(PenColor(pen));
    int w = pen.Width();
    if (w <= 1) {
        q.setWidth(0);
        q.setCapStyle(Qt::FlatCap);
    } else {
        q.setWidth(w);
        q.setCapStyle(cap == Qt::FlatCap ? Qt::RoundCap : cap);
        q.setJoinStyle(Qt::RoundJoin);
    }
    switch (pen.Style()) {
        // Styled lines are one pixel wide on the original platform whatever the width.
        case psDash: q.setStyle(Qt::DashLine); q.setWidth(0); break;
        case psDot: q.setStyle(Qt::DotLine); q.setWidth(0); break;
        case psDashDot: q.setStyle(Qt::DashDotLine); q.setWidth(0); break;
        case psDashDotDot: q.setStyle(Qt::DashDotDotLine); q.setWidth(0); break;
        default: q.setStyle(Qt::SolidLine); break;
    }
    return q;
}

QBrush QBrushOf(TBrush& brush) {
    if (!BrushVisible(brush)) return QBrush(Qt::NoBrush);
    if (brush.Bitmap() && !brush.Bitmap()->Empty()) return QBrush(ToRgb32(*brush.Bitmap()));
    QColor c = QColorOf(brush.Color());
    switch (brush.Style()) {
        case bsHorizontal: return QBrush(c, Qt::HorPattern);
        case bsVertical: return QBrush(c, Qt::VerPattern);
        case bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
        case bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
        case bsCross: return QBrush(c, Qt::CrossPattern);
        case bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
        default: return QBrush(c);
    }
}

// The canvas's pen and brush as Qt objects, made again only after they change (a brush with a
// pattern bitmap every time: the bitmap may have been drawn on since).
const QPen& CanvasPen(TCanvas* c) {
    TCanvasDc& dc = c->Dc();
    if (!dc.qpenValid) {
        dc.qpen = QPenOf(*c->Pen());
        dc.qpenValid = true;
    }
    return dc.qpen;
}

const QBrush& CanvasBrush(TCanvas* c) {
    TCanvasDc& dc = c->Dc();
    if (!dc.qbrushValid || c->Brush()->Bitmap()) {
        dc.qbrush = QBrushOf(*c->Brush());
        dc.qbrushValid = true;
    }
    return dc.qbrush;
}

// The clip the canvas draws through changed: an open painter takes it again.
void ClipMoved(TCanvas* c) { ++c->Dc().clipStamp; }

void Sync(TCanvas* c) {
    TCanvasDc& dc = c->Dc();
    if (dc.fontDirty) {
        dc.state.textColor = static_cast<COLORREF>(ColorToRGB(c->Font()->Color())) & 0xFFFFFF;
        dc.fontDirty = false;
    }
    if (dc.brushDirty) {
        TBrush* b = c->Brush();
        dc.state.bkColor = static_cast<COLORREF>(ColorToRGB(b->Color() == clNone ? clWhite : b->Color())) & 0xFFFFFF;
        dc.state.bkMode = BrushVisible(*b) ? OPAQUE : TRANSPARENT;
        dc.brushDirty = false;
    }
}

// Runs f with a painter on the canvas's surface: clipped, translated to logical coordinates, with
// the canvas's background for hatches and styled lines. Inside a lock the bitmap's open painter
// is used, set to this canvas's clip and origin; f may leave pen, brush, composition and
// background changed, and changes anything else only when scoped (the painter's state is saved
// around it).
template <class F>
void WithPainter(TCanvas* c, F f, bool scoped = false) {
    TBitmap* b = c->Bitmap();
    if (!b || b->Empty()) return;
    Sync(c);
    const TCanvasDcState& s = c->Dc().state;
    if (TPaintSurface* open = PaintSurfaceOf(*b)) {
        QPainter& p = open->painter;
        TCanvasDc& dc = c->Dc();
        QPoint off = Offset(c);
        if (open->user != c || open->clipStamp != dc.clipStamp) {
            QRegion vis = Visible(c);
            p.resetTransform();  // the clip is in device coordinates
            p.setClipRegion(vis);
            open->clipEmpty = vis.isEmpty();
            open->user = c;
            open->clipStamp = dc.clipStamp;
            open->offset = off + QPoint(1, 0);  // the transform is set again below
        }
        if (open->clipEmpty) return;
        if (off != open->offset) {
            p.setTransform(QTransform::fromTranslate(off.x(), off.y()));
            p.setBrushOrigin(-off);
            open->offset = off;
        }
        if (open->antialias != c->AntiAlias()) {
            p.setRenderHint(QPainter::Antialiasing, c->AntiAlias());
            p.setRenderHint(QPainter::TextAntialiasing, c->AntiAlias());
            open->antialias = c->AntiAlias();
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setBackgroundMode(s.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(QColor(QRgbOf(s.bkColor)));
        if (scoped) {
            p.save();
            f(p);
            p.restore();
        } else {
            f(p);
        }
        b->PixelsChanged();
        return;
    }
    QRegion vis = Visible(c);
    if (vis.isEmpty()) return;
    Surface surface(*b);
    QPainter p(&surface.Image());
    p.setClipRegion(vis);
    QPoint off = Offset(c);
    p.translate(off);
    p.setBrushOrigin(-off);
    p.setRenderHint(QPainter::Antialiasing, c->AntiAlias());
    p.setRenderHint(QPainter::TextAntialiasing, c->AntiAlias());
    p.setBackgroundMode(s.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(QColor(QRgbOf(s.bkColor)));
    f(p);
}

// Pen, brush and raster mode of a shape.
void SetupShape(TCanvas* c, QPainter& p, bool fill) {
    const QPen& pen = CanvasPen(c);
    static const QBrush none(Qt::NoBrush);
    const QBrush& brush = fill ? CanvasBrush(c) : none;
    p.setPen(pen);
    p.setBrush(brush);
    p.setCompositionMode(ModeOf(c->Pen()->Mode()));
    // The background only shows through hatches and styled lines. Qt strokes curves in opaque
    // mode by another path, which ends even-sized ellipses one pixel short and lopsided.
    bool solidPen = pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen;
    bool solidBrush = brush.style() == Qt::SolidPattern || brush.style() == Qt::NoBrush ||
                      brush.style() == Qt::TexturePattern;
    if (solidPen && solidBrush) p.setBackgroundMode(Qt::TransparentMode);
}

// The drawing rectangle of a shape bounded by (x1, y1, x2, y2) with exclusive right and bottom.
QRect ShapeRect(TCanvas* c, int x1, int y1, int x2, int y2) {
    int l = HeldCoord(std::min(x1, x2)), t = HeldCoord(std::min(y1, y2));
    int r = HeldCoord(std::max(x1, x2)), b = HeldCoord(std::max(y1, y2));
    int w = PenVisible(*c->Pen()) ? c->Pen()->Width() : 1;
    if (c->Pen()->Style() == psInsideFrame && w > 1) {
        // The wide pen stays inside the bounds.
        int in = w / 2;
        return QRect(l + in, t + in, std::max(0, r - l - 1 - 2 * in), std::max(0, b - t - 1 - 2 * in));
    }
    return QRect(l, t, r - l - 1, b - t - 1);
}

// The parametric angle (degrees, counter-clockwise from 3 o'clock) of the ellipse point on the
// radial towards (x, y): the platform measures arcs by radials, Qt by parameter.
double ArcAngle(const QRect& r, int x, int y) {
    double a = std::max(0.5, r.width() / 2.0), b = std::max(0.5, r.height() / 2.0);
    double cx = r.x() + r.width() / 2.0, cy = r.y() + r.height() / 2.0;
    double dx = x - cx, dyUp = cy - y;
    if (dx == 0 && dyUp == 0) return 0;
    double t = std::atan2(a * dyUp, b * dx) * 180.0 / M_PI;
    return t < 0 ? t + 360 : t;
}

void ArcAngles(const QRect& r, int x3, int y3, int x4, int y4, int& start16, int& span16) {
    double a1 = ArcAngle(r, x3, y3), a2 = ArcAngle(r, x4, y4);
    double span = a2 - a1;
    while (span <= 0) span += 360;
    start16 = static_cast<int>(std::lround(a1 * 16));
    span16 = static_cast<int>(std::lround(span * 16));
}

// Paints a filled shape bounded by (x1, y1, x2, y2): draw gets the painter and the drawing
// rectangle; a shape with no room left inside its pen paints nothing.
template <class Draw>
void PaintBoxShape(TCanvas* c, int x1, int y1, int x2, int y2, Draw draw) {
    WithPainter(c, [&](QPainter& p) {
        SetupShape(c, p, true);
        QRect r = ShapeRect(c, x1, y1, x2, y2);
        if (r.width() < 0 || r.height() < 0) return;
        draw(p, r);
    });
}

// Paints the part of the ellipse bounded by (x1, y1, x2, y2) from the radial towards (x3, y3)
// counter-clockwise to the one towards (x4, y4): draw gets the painter, the drawing rectangle and
// Qt's start and span angles.
template <class Draw>
void PaintArcShape(TCanvas* c, bool fill, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                   Draw draw) {
    WithPainter(c, [&](QPainter& p) {
        SetupShape(c, p, fill);
        QRect r = ShapeRect(c, x1, y1, x2, y2);
        int a, s;
        ArcAngles(r, x3, y3, x4, y4, a, s);
        draw(p, r, a, s);
    });
}

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

// Combines src (RGB32, the size of dev) into the canvas at the device rectangle dev.
void RopBlit(TCanvas* c, const QRect& dev, const QImage* src, uint8_t rop) {
    if (!c->Bitmap() || c->Bitmap()->Empty()) return;
    Sync(c);
    QRegion vis = Visible(c) & dev;
    if (vis.isEmpty()) return;
    TBrush* brush = c->Brush();
    QImage pattern;
    if (brush->Bitmap() && !brush->Bitmap()->Empty()) pattern = ToRgb32(*brush->Bitmap());
    uint32_t P = QRgbOf(static_cast<COLORREF>(ColorToRGB(brush->Color() == clNone ? clWhite : brush->Color())));
    // Inside a lock the open surface is already in the device format; otherwise a surface of
    // raw 32-bit pixels for this call.
    std::optional<Surface> own;
    QImage* target = nullptr;
    TPaintSurface* open = PaintSurfaceOf(*c->Bitmap());
    QImage* openImage = open ? &open->Image(c->Bitmap()->Image().image) : nullptr;
    if (openImage && (openImage->format() == QImage::Format_RGB32 || openImage->format() == QImage::Format_ARGB32)) {
        target = openImage;
    } else {
        own.emplace(*c->Bitmap(), true);
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
}

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
QRect ShownPart(TCanvas* c, const Span& dst) {
    QRect vis = Visible(c).boundingRect();
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

// The source pixels of a transfer from canvas src, device-mapped, mirrored and scaled to the
// destination dst, for its shown part.
QImage SourceImage(TCanvas* src, int sx, int sy, int sw, int sh, int w, int h, const Span& to, const QRect& shown,
                   TCanvas* dst) {
    TBitmap* sb = src->Bitmap();
    bool mirrorH = (sw < 0) != (w < 0), mirrorV = (sh < 0) != (h < 0);
    QImage img = SampledPart(ImageOf(*sb), SpanOf(sx, sy, sw, sh, Offset(src)), to, mirrorH, mirrorV, shown);
    if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
    // Monochrome into colour takes the destination's text (0) and background (1) colours; colour
    // into monochrome makes the source's background colour white and everything else black.
    bool srcMono = sb->Monochrome();
    bool dstMono = dst->Bitmap() && dst->Bitmap()->Monochrome();
    Sync(src);
    Sync(dst);
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

// GDI objects: regions, pens, brushes and fonts, kept in a table so that handles are checked.
// Pens, brushes and fonts are held as the layer's own objects, which selecting assigns.
struct GdiObject {
    enum Kind { Region, Brush, Pen, Font } kind = Region;
    QRegion region;
    std::shared_ptr<TBrush> brush;
    std::shared_ptr<TPen> pen;
    std::shared_ptr<TFont> font;
    bool stock = false;     // never freed
    bool snapshot = false;  // made by SelectObject to bring back what was selected; freed when it is
};
ui::gdi::Kind HandleKindOf(GdiObject::Kind kind) {
    switch (kind) {
        case GdiObject::Region: return ui::gdi::Kind::Region;
        case GdiObject::Brush: return ui::gdi::Kind::Brush;
        case GdiObject::Pen: return ui::gdi::Kind::Pen;
        case GdiObject::Font: return ui::gdi::Kind::Font;
    }
    return ui::gdi::Kind::Region;
}

constexpr std::initializer_list<ui::gdi::Kind> kObjectKinds = {
    ui::gdi::Kind::Bitmap, ui::gdi::Kind::Region, ui::gdi::Kind::Brush, ui::gdi::Kind::Pen, ui::gdi::Kind::Font};

void* NewGdi(GdiObject o) {
    auto owned = std::make_shared<GdiObject>(std::move(o));
    return reinterpret_cast<void*>(ui::gdi::Add(HandleKindOf(owned->kind), owned.get(), owned, owned->stock));
}
// The object behind a handle of that kind; valid while the access lives.
GdiObject* FindGdi(const ui::gdi::Access& access, const void* h, GdiObject::Kind kind) {
    return access.Find<GdiObject>(h, HandleKindOf(kind));
}
// A region, brush, pen or font.
GdiObject* AnyGdi(const ui::gdi::Access& access, const void* h) {
    for (GdiObject::Kind k : {GdiObject::Region, GdiObject::Brush, GdiObject::Pen, GdiObject::Font})
        if (GdiObject* o = FindGdi(access, h, k)) return o;
    return nullptr;
}
void* NewBrush(TColor color, TBrushStyle style, bool stock = false) {
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush = std::make_shared<TBrush>();
    o.brush->SetColor(color);
    o.brush->SetStyle(style);
    o.stock = stock;
    return NewGdi(std::move(o));
}
// No clip region: the whole plane (the surface limits it when drawing).
QRegion Everything() { return QRegion(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29); }

int RegionType(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// A locked canvas holds its bitmap's surface open; the last hold to go closes it.
void TakeHold(TCanvas* c) {
    if (!c->Bitmap() || c->Dc().held) return;
    c->Dc().held = c->Bitmap();
    c->Bitmap()->Image().holds++;
}

void ReleaseHold(TCanvas* c) {
    TBitmap* b = c->Dc().held;
    if (!b) return;
    c->Dc().held = nullptr;
    if (--b->Image().holds <= 0) {
        b->Image().holds = 0;
        EndPainting(*b);
    }
}

}  // namespace

// TCanvas ---------------------------------------------------------------------------------------

TCanvas::TCanvas() { Init(); }

TCanvas::TCanvas(TBitmap* target) {
    Init();
    SetBitmap(target);
}

void TCanvas::Init() {
    EnsureApplication();
    FFont = std::make_unique<TFont>();
    FPen = std::make_unique<TPen>();
    FBrush = std::make_unique<TBrush>();
    FDc = std::make_unique<TCanvasDc>();
    FFont->OnChange = [this](TPersistent*) {
        FDc->fontDirty = true;
        FDc->qfontValid = false;
    };
    FBrush->OnChange = [this](TPersistent*) {
        FDc->brushDirty = true;
        FDc->qbrushValid = false;
    };
    FPen->OnChange = [this](TPersistent*) { FDc->qpenValid = false; };
    FHandle = ui::gdi::Add(ui::gdi::Kind::Canvas, this);
}

TCanvas::~TCanvas() {
    ReleaseHold(this);
    if (FTarget) FTarget->DetachCanvas(this);
    ui::gdi::Remove(FHandle);
}

TCanvas* TCanvas::FromHandle(HDC dc) { return ui::gdi::Find<TCanvas>(dc, ui::gdi::Kind::Canvas); }

void TCanvas::SetBitmap(TBitmap* target) {
    if (target == FTarget) return;
    bool locked = FDc->held != nullptr;
    if (locked) ReleaseHold(this);
    if (FTarget) FTarget->DetachCanvas(this);
    FTarget = target;
    if (FTarget) FTarget->AttachCanvas(this);
    if (locked || FLockCount > 0) TakeHold(this);
    ClipMoved(this);
}

void TCanvas::Lock() {
    if (FLockCount++ == 0) TakeHold(this);
}

void TCanvas::Unlock() {
    if (FLockCount == 0) return;
    if (--FLockCount == 0) ReleaseHold(this);
}

void TCanvas::SetOrigin(int x, int y) { FDc->state.viewportOrg = TPoint(x, y); }
TPoint TCanvas::Origin() const { return FDc->state.viewportOrg; }

void TCanvas::SetDeviceClipRect(const TRect* rect) {
    FDc->hasDeviceClip = rect != nullptr;
    if (rect) FDc->deviceClip = QRectOf(*rect);
    ClipMoved(this);
}

HDC TCanvas::Handle() {
    Sync(this);
    return reinterpret_cast<HDC>(FHandle);
}

TPoint TCanvas::PenPos() const { return FDc->state.penPos; }
void TCanvas::SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

TRect TCanvas::ClipRect() {
    TRect r;
    GetClipBox(reinterpret_cast<HDC>(FHandle), &r);
    return r;
}

void TCanvas::Refresh() {
    FDc->fontDirty = true;
    FDc->brushDirty = true;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int X, int Y) { FDc->state.penPos = TPoint(X, Y); }

void TCanvas::LineTo(int X, int Y) {
    TPoint from = FDc->state.penPos;
    FDc->state.penPos = TPoint(X, Y);
    if (from == TPoint(X, Y) || !PenVisible(*FPen)) return;
    Changing();
    WithPainter(this, [&](QPainter& p) {
        SetupShape(this, p, false);
        p.drawLine(from.X, from.Y, X, Y);  // a flat-capped line leaves out its end point
    });
    Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
    if (!points || count < 2 || !PenVisible(*FPen)) return;
    Changing();
    WithPainter(this, [&](QPainter& p) {
        SetupShape(this, p, false);
        QPolygon poly;
        for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
        p.drawPolyline(poly);
    });
    Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
    if (!points || count < 2) return;
    Changing();
    WithPainter(this, [&](QPainter& p) {
        SetupShape(this, p, true);
        QPolygon poly;
        for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
        p.drawPolygon(poly);
    });
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Changing();
    PaintBoxShape(this, X1, Y1, X2, Y2, [](QPainter& p, const QRect& r) { p.drawRect(r); });
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    Changing();
    PaintBoxShape(this, X1, Y1, X2, Y2,
                  [&](QPainter& p, const QRect& r) { p.drawRoundedRect(r, X3 / 2.0, Y3 / 2.0); });
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Changing();
    PaintBoxShape(this, X1, Y1, X2, Y2, [](QPainter& p, const QRect& r) { p.drawEllipse(r); });
    Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (!PenVisible(*FPen)) return;
    Changing();
    PaintArcShape(this, false, X1, Y1, X2, Y2, X3, Y3, X4, Y4,
                  [](QPainter& p, const QRect& r, int a, int s) { p.drawArc(r, a, s); });
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    PaintArcShape(this, true, X1, Y1, X2, Y2, X3, Y3, X4, Y4,
                  [](QPainter& p, const QRect& r, int a, int s) { p.drawChord(r, a, s); });
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    PaintArcShape(this, true, X1, Y1, X2, Y2, X3, Y3, X4, Y4,
                  [](QPainter& p, const QRect& r, int a, int s) { p.drawPie(r, a, s); });
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    if (!BrushVisible(*FBrush) || rect.IsEmpty()) return;
    Changing();
    WithPainter(this, [&](QPainter& p) { p.fillRect(QRectOf(rect), CanvasBrush(this)); });
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    if (!BrushVisible(*FBrush) || rect.IsEmpty()) return;
    Changing();
    WithPainter(this, [&](QPainter& p) {
        const QBrush& b = CanvasBrush(this);
        QRect r = QRectOf(rect);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), b);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), b);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), b);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), b);
    });
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    if (rect.IsEmpty()) return;
    Changing();
    WithPainter(this, [&](QPainter& p) {
        // A dotted frame that inverts, so drawing it twice removes it.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QBrush b(Qt::white, Qt::Dense4Pattern);
        p.setBackgroundMode(Qt::TransparentMode);
        QRect r = QRectOf(rect);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), b);
        if (r.height() > 1) p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), b);
        if (r.height() > 2) {
            p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), b);
            if (r.width() > 1) p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), b);
        }
    });
    Changed();
}

void TCanvas::FillSolid(const TRect& rect, TColor color) {
    if (rect.IsEmpty() || color == clNone) return;
    Changing();
    WithPainter(this, [&](QPainter& p) { p.fillRect(QRectOf(rect), QColorOf(color)); });
    Changed();
}

void TCanvas::ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque) {
    Changing();
    const QFontMetrics& metrics = CanvasMetrics(this);
    int width = metrics.horizontalAdvance(QString::fromStdU16String(text));
    UINT align = FDc->state.textAlign;
    if (align & TA_UPDATECP) {
        X = FDc->state.penPos.X;
        Y = FDc->state.penPos.Y;
    }
    WithPainter(this, [&](QPainter& p) {
        const TCanvasDcState& s = FDc->state;
        const QFont& f = CanvasFont(this);
        const QFontMetrics& m = CanvasMetrics(this);
        QString q = QString::fromStdU16String(text);
        if (clip) p.setClipRect(QRectOf(*clip), Qt::IntersectClip);
        if (opaque) p.fillRect(QRectOf(*opaque), QColor(QRgbOf(s.bkColor)));
        p.translate(X, Y);
        if (FFont->Orientation() != 0) p.rotate(-FFont->Orientation() / 10.0);
        // The reference point is the text box's left, right or centre and its top, bottom or base line.
        int dx = (align & TA_CENTER) == TA_CENTER ? -width / 2 : (align & TA_RIGHT) ? -width : 0;
        int dy = (align & TA_BASELINE) == TA_BASELINE ? -m.ascent() : (align & TA_BOTTOM) ? -(m.ascent() + m.descent()) : 0;
        if (!opaque && s.bkMode == OPAQUE && !q.isEmpty())
            p.fillRect(QRect(dx, dy, width, m.ascent() + m.descent()), QColor(QRgbOf(s.bkColor)));
        p.setFont(f);
        p.setPen(QColor(QRgbOf(s.textColor)));
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(dx, dy + m.ascent(), q);
    }, true);
    if (align & TA_UPDATECP)
        FDc->state.penPos.X = Saturated(int64_t{X} + ((align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -width : width));
    Changed();
}

void TCanvas::TextOut(int X, int Y, const String& text) {
    ExtTextOutImpl(X, Y, text, nullptr, nullptr);
    FDc->state.penPos = TPoint(Saturated(int64_t{X} + TextWidth(text)), Y);
}

void TCanvas::TextRect(const TRect& rect, int X, int Y, const String& text) {
    Sync(this);
    ExtTextOutImpl(X, Y, text, &rect, BrushVisible(*FBrush) ? &rect : nullptr);
}

void TCanvas::Draw(int X, int Y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, Rect(X, Y, Saturated(int64_t{X} + graphic->Width()), Saturated(int64_t{Y} + graphic->Height())));
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::DrawBitmapImpl(const TRect& dest, TBitmap* bitmap, const TRect& source, bool transparent,
                             TColor transparentColor, bool useAlpha) {
    if (!bitmap || bitmap->Empty() || !FTarget) return;
    int64_t w = int64_t{dest.Right} - dest.Left, h = int64_t{dest.Bottom} - dest.Top;
    if (w == 0 || h == 0) return;
    // Only the part of the destination the canvas shows is scaled: a destination that cannot be
    // drawn takes no pixels at all.
    QPoint off = Offset(this);
    Span to{int64_t{std::min(dest.Left, dest.Right)} + off.x(), int64_t{std::min(dest.Top, dest.Bottom)} + off.y(),
            std::abs(w), std::abs(h)};
    QRect shown = ShownPart(this, to);
    if (shown.isEmpty()) return;
    Span from{source.Left, source.Top, int64_t{source.Right} - source.Left, int64_t{source.Bottom} - source.Top};
    QImage img = SampledPart(ImageOf(*bitmap), from, to, w < 0, h < 0, shown);
    if (img.isNull()) return;
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
    if (useAlpha) {
        WithPainter(this, [&](QPainter& p) { p.drawImage(shown.topLeft() - off, img); });
        return;
    }
    RopBlit(this, shown, &img, static_cast<uint8_t>(FCopyMode >> 16));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas) return;
    Changing();
    QRect d = QRectOf(dest), s = QRectOf(source);  // held, so that the sizes fit an int
    StretchBlt(Handle(), d.x(), d.y(), d.width(), d.height(), canvas->Handle(), s.x(), s.y(), s.width(), s.height(),
               FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
    if (!bitmap || bitmap->Empty() || !FTarget) return;
    Changing();
    QPoint off = Offset(this);
    Span to{int64_t{dest.Left} + off.x(), int64_t{dest.Top} + off.y(), int64_t{dest.Right} - dest.Left,
            int64_t{dest.Bottom} - dest.Top};
    QRect shown = ShownPart(this, to);
    Span from{source.Left, source.Top, int64_t{source.Right} - source.Left, int64_t{source.Bottom} - source.Top};
    QImage img = shown.isEmpty() ? QImage() : SampledPart(ImageOf(*bitmap), from, to, false, false, shown);
    if (!img.isNull()) {
        img = img.convertToFormat(QImage::Format_RGB32);
        QRgb key = QRgbOf(static_cast<COLORREF>(ColorToRGB(color))) & 0xFFFFFF;
        QRgb with = QRgbOf(static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
        for (int y = 0; y < img.height(); ++y) {
            auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((l[x] & 0xFFFFFF) == key) l[x] = with;
        }
        RopBlit(this, shown, &img, 0xCC);
    }
    Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
    if (!FTarget) return static_cast<TColor>(CLR_INVALID);
    QPoint d = DevicePoint(this, X, Y);
    if (!Visible(this).contains(d)) return static_cast<TColor>(CLR_INVALID);
    return static_cast<TColor>(ColorRefOf(ImageOf(*FTarget).pixel(d)));
}

void TCanvas::SetPixels(int X, int Y, TColor color) {
    if (!FTarget || color == clNone) return;
    QPoint d = DevicePoint(this, X, Y);
    if (!Visible(this).contains(d)) return;
    Changing();
    QImage& im = ImageOf(*FTarget);
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
        im.setPixel(d, static_cast<uint>(best));
    } else {
        im.setPixel(d, rgb);
    }
    FTarget->PixelsChanged();
    Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor color, TFillStyle style) {
    if (!FTarget || FTarget->Empty() || !BrushVisible(*FBrush)) return;
    QPoint start = DevicePoint(this, X, Y);
    QRegion vis = Visible(this);
    if (!vis.contains(start)) return;
    Changing();
    {
        Surface surface(*FTarget, true);
        QImage& im = surface.Image();
        QRgb key = QRgbOf(static_cast<COLORREF>(ColorToRGB(color))) & 0xFFFFFF;
        QRgb fill = QRgbOf(static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
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
    }
    Changed();
}

// GDI calls ------------------------------------------------------------------------------------

int SetBkMode(HDC dc, int mode) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    Sync(c);
    int old = c->Dc().state.bkMode;
    c->Dc().state.bkMode = mode;
    return old;
}
int GetBkMode(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return 0;
    Sync(c);
    return c->Dc().state.bkMode;
}
COLORREF SetTextColor(HDC dc, COLORREF color) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    Sync(c);
    COLORREF old = c->Dc().state.textColor;
    c->Dc().state.textColor = static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(color))) & 0xFFFFFF;
    return old;
}
COLORREF GetTextColor(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    Sync(c);
    return c->Dc().state.textColor;
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    Sync(c);
    COLORREF old = c->Dc().state.bkColor;
    c->Dc().state.bkColor = static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(color))) & 0xFFFFFF;
    return old;
}
COLORREF GetBkColor(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    Sync(c);
    return c->Dc().state.bkColor;
}

UINT SetTextAlign(HDC dc, UINT align) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return GDI_ERROR;
    UINT old = c->Dc().state.textAlign;
    c->Dc().state.textAlign = align;
    return old;
}

UINT GetTextAlign(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    return c ? c->Dc().state.textAlign : GDI_ERROR;
}

BOOL TextOut(HDC dc, int x, int y, const String& text, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || count < 0) return FALSE_;
    Sync(c);
    c->ExtTextOutImpl(x, y, text.substr(0, static_cast<size_t>(count)), nullptr, nullptr);
    return TRUE_;
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const String& text, int count,
                const int* dx) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || count < 0) return FALSE_;
    Sync(c);
    const TRect* clip = (options & ETO_CLIPPED) && rect ? rect : nullptr;
    const TRect* opaque = (options & ETO_OPAQUE) && rect ? rect : nullptr;
    String s = text.substr(0, static_cast<size_t>(count));
    if (!dx) {
        c->ExtTextOutImpl(x, y, s, clip, opaque);
        return TRUE_;
    }
    // Explicit advances: each character at its own place.
    if (opaque) c->FillSolid(*opaque, static_cast<TColor>(c->Dc().state.bkColor));
    int64_t px = x;
    for (size_t i = 0; i < s.size(); ++i) {
        c->ExtTextOutImpl(HeldCoord(px), y, String(s.substr(i, 1)), clip, nullptr);
        px += dx[i];
    }
    return TRUE_;
}

BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->PenPos();
    c->MoveTo(x, y);
    return TRUE_;
}
BOOL LineTo(HDC dc, int x, int y) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->LineTo(x, y);
    return TRUE_;
}
BOOL Rectangle(HDC dc, int l, int t, int r, int b) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Rectangle(l, t, r, b);
    return TRUE_;
}
BOOL Ellipse(HDC dc, int l, int t, int r, int b) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Ellipse(l, t, r, b);
    return TRUE_;
}
BOOL Polyline(HDC dc, const TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Polyline(points, count);
    return TRUE_;
}
BOOL Polygon(HDC dc, const TPoint* points, int count) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    c->Polygon(points, count);
    return TRUE_;
}
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    c->SetPixels(x, y, static_cast<TColor>(color));
    return static_cast<COLORREF>(c->Pixels(x, y));
}
COLORREF GetPixel(HDC dc, int x, int y) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return CLR_INVALID;
    return static_cast<COLORREF>(c->Pixels(x, y));
}

bool TCanvas::StretchBltImpl(int x, int y, int w, int h, TCanvas* s, int sx, int sy, int sw, int sh, DWORD rop) {
    uint8_t r3 = static_cast<uint8_t>(rop >> 16);
    if (w == 0 || h == 0) return true;
    Changing();
    Span to = SpanOf(x, y, w, h, Offset(this));
    QRect shown = ShownPart(this, to);
    if (!RopUsesSource(r3)) {
        if (!shown.isEmpty()) RopBlit(this, shown, nullptr, r3);
    } else {
        if (!s || !s->Bitmap() || s->Bitmap()->Empty() || sw == 0 || sh == 0) return false;
        if (!shown.isEmpty()) {
            QImage img = SourceImage(s, sx, sy, sw, sh, w, h, to, shown, this);
            if (!img.isNull()) RopBlit(this, shown, &img, r3);
        }
    }
    Changed();
    return true;
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    TCanvas* d = TCanvas::FromHandle(dst);
    if (!d) return FALSE_;
    uint8_t r3 = static_cast<uint8_t>(rop >> 16);
    TCanvas* s = RopUsesSource(r3) ? TCanvas::FromHandle(src) : nullptr;
    if (RopUsesSource(r3) && !s) return FALSE_;
    return d->StretchBltImpl(x, y, w, h, s, sx, sy, sw, sh, rop) ? TRUE_ : FALSE_;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    TCanvas* c = TCanvas::FromHandle(dc);
    uint8_t r3 = static_cast<uint8_t>(rop >> 16);
    if (!c || RopUsesSource(r3)) return FALSE_;
    return c->StretchBltImpl(x, y, w, h, nullptr, 0, 0, 0, 0, rop) ? TRUE_ : FALSE_;
}

BOOL InvertRect(HDC dc, const TRect* rect) {
    if (!rect) return FALSE_;
    QRect r = QRectOf(*rect);  // held, so that the size fits an int
    return PatBlt(dc, r.x(), r.y(), r.width(), r.height(), DSTINVERT);
}

BOOL DrawFocusRect(HDC dc, const TRect* rect) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return FALSE_;
    c->DrawFocusRect(*rect);
    return TRUE_;
}

// Regions --------------------------------------------------------------------------------------

HRGN CreateRectRgn(int l, int t, int r, int b) {
    l = HeldCoord(l), t = HeldCoord(t), r = HeldCoord(r), b = HeldCoord(b);
    GdiObject o;
    o.region = QRegion(QRect(QPoint(std::min(l, r), std::min(t, b)), QPoint(std::max(l, r) - 1, std::max(t, b) - 1)));
    return static_cast<HRGN>(NewGdi(std::move(o)));
}
HRGN CreateRectRgnIndirect(const TRect* r) {
    return r ? CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreateEllipticRgn(int l, int t, int r, int b) {
    l = HeldCoord(l), t = HeldCoord(t), r = HeldCoord(r), b = HeldCoord(b);
    GdiObject o;
    o.region = QRegion(QRect(std::min(l, r), std::min(t, b), std::abs(r - l), std::abs(b - t)), QRegion::Ellipse);
    return static_cast<HRGN>(NewGdi(std::move(o)));
}
HRGN CreateEllipticRgnIndirect(const TRect* r) {
    return r ? CreateEllipticRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int ew, int eh) {
    l = HeldCoord(l), t = HeldCoord(t), r = HeldCoord(r), b = HeldCoord(b);
    QPainterPath path;
    path.addRoundedRect(QRectF(std::min(l, r), std::min(t, b), std::abs(r - l), std::abs(b - t)), ew / 2.0, eh / 2.0);
    GdiObject o;
    o.region = QRegion(path.toFillPolygon().toPolygon());
    return static_cast<HRGN>(NewGdi(std::move(o)));
}
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode) {
    if (!points || count < 3) return nullptr;
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
    GdiObject o;
    o.region = QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return static_cast<HRGN>(NewGdi(std::move(o)));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    ui::gdi::Access access;
    GdiObject* d = FindGdi(access, dst, GdiObject::Region);
    GdiObject* a = FindGdi(access, src1, GdiObject::Region);
    GdiObject* b = mode == RGN_COPY ? nullptr : FindGdi(access, src2, GdiObject::Region);
    if (!d || !a || (mode != RGN_COPY && !b)) return ERROR;
    switch (mode) {
        case RGN_AND: d->region = a->region & b->region; break;
        case RGN_OR: d->region = a->region | b->region; break;
        case RGN_XOR: d->region = a->region ^ b->region; break;
        case RGN_DIFF: d->region = a->region - b->region; break;
        case RGN_COPY: d->region = a->region; break;
        default: return ERROR;
    }
    return RegionType(d->region);
}

BOOL OffsetRgn(HRGN rgn, int dx, int dy) {
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
    if (!o) return ERROR;
    o->region.translate(dx, dy);
    return RegionType(o->region);
}
BOOL PtInRegion(HRGN rgn, int x, int y) {
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
    return o && o->region.contains(QPoint(x, y)) ? TRUE_ : FALSE_;
}
BOOL RectInRegion(HRGN rgn, const TRect* rect) {
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
    return o && rect && o->region.intersects(QRectOf(*rect)) ? TRUE_ : FALSE_;
}
int GetRgnBox(HRGN rgn, TRect* rect) {
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
    if (!o || !rect) return ERROR;
    QRect b = o->region.boundingRect();
    *rect = o->region.isEmpty() ? TRect() : TRect(b.left(), b.top(), b.right() + 1, b.bottom() + 1);
    return RegionType(o->region);
}
BOOL EqualRgn(HRGN a, HRGN b) {
    ui::gdi::Access access;
    GdiObject* x = FindGdi(access, a, GdiObject::Region);
    GdiObject* y = FindGdi(access, b, GdiObject::Region);
    return x && y && x->region == y->region ? TRUE_ : FALSE_;
}

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return ERROR;
    TCanvasDcState& s = c->Dc().state;
    QRegion r;
    {
        ui::gdi::Access access;
        GdiObject* o = rgn ? FindGdi(access, rgn, GdiObject::Region) : nullptr;
        if (rgn && !o) return ERROR;
        if (!o) {
            if (mode != RGN_COPY) return ERROR;
            s.hasClip = false;
            ClipMoved(c);
            c->ClipChanged();
            return RegionType(Visible(c));
        }
        r = o->region;
    }
    QRegion current = s.hasClip ? s.clip : Everything();
    switch (mode) {
        case RGN_AND: r = current & r; break;
        case RGN_OR: r = current | r; break;
        case RGN_XOR: r = current ^ r; break;
        case RGN_DIFF: r = current - r; break;
        case RGN_COPY: break;
        default: return ERROR;
    }
    s.clip = r;
    s.hasClip = true;
    ClipMoved(c);
    c->ClipChanged();
    return RegionType(Visible(c));
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int GetClipRgn(HDC dc, HRGN rgn) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return -1;
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
    if (!o) return -1;
    if (!c->Dc().state.hasClip) return 0;
    o->region = c->Dc().state.clip;
    return 1;
}

std::vector<TRect> GetClipRegionRects(HDC dc, bool* clipped) {
    std::vector<TRect> out;
    TCanvas* c = TCanvas::FromHandle(dc);
    bool has = c && c->Dc().state.hasClip;
    if (clipped) *clipped = has;
    if (has)
        for (const QRect& q : c->Dc().state.clip) out.emplace_back(q.left(), q.top(), q.right() + 1, q.bottom() + 1);
    return out;
}

int GetClipBox(HDC dc, TRect* rect) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return ERROR;
    QRegion vis = Visible(c);
    if (vis.isEmpty()) {
        *rect = TRect();
        return NULLREGION;
    }
    QRect b = vis.boundingRect().translated(-Offset(c));
    *rect = TRect(b.left(), b.top(), b.right() + 1, b.bottom() + 1);
    return RegionType(vis);
}

static int ClipWithRect(HDC dc, int l, int t, int r, int b, bool exclude) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return ERROR;
    TCanvasDcState& s = c->Dc().state;
    QRect dev = QRectOf(TRect(l, t, r, b)).translated(Offset(c));
    QRegion current = s.hasClip ? s.clip : Everything();
    s.clip = exclude ? current - dev : current & dev;
    s.hasClip = true;
    ClipMoved(c);
    c->ClipChanged();
    return RegionType(Visible(c));
}
int IntersectClipRect(HDC dc, int l, int t, int r, int b) { return ClipWithRect(dc, l, t, r, b, false); }
int ExcludeClipRect(HDC dc, int l, int t, int r, int b) { return ClipWithRect(dc, l, t, r, b, true); }

// Brushes --------------------------------------------------------------------------------------

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(NewBrush(static_cast<TColor>(color & 0xFFFFFF), bsSolid));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    return static_cast<HBRUSH>(NewBrush(static_cast<TColor>(color & 0xFFFFFF), static_cast<TBrushStyle>(bsHorizontal + hatch)));
}

HBRUSH GetSysColorBrush(int index) {
    static std::mutex m;
    static std::unordered_map<int, HBRUSH> cache;
    std::lock_guard lock(m);
    auto it = cache.find(index);
    if (it != cache.end()) return it->second;
    HBRUSH h = static_cast<HBRUSH>(NewBrush(TColorSys(index), bsSolid, true));
    cache[index] = h;
    return h;
}

static bool BrushColor(HBRUSH brush, TColor& color) {
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, brush, GdiObject::Brush);
    if (!o) {
        // The platform also takes a system colour index + 1 in place of a brush.
        uintptr_t v = reinterpret_cast<uintptr_t>(brush);
        if (v >= 1 && v <= 31) {
            color = TColorSys(static_cast<int>(v - 1));
            return true;
        }
        return false;
    }
    if (o->brush->Style() == bsClear || o->brush->Color() == clNone) return false;
    color = o->brush->Color();
    return true;
}

int FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !rect || !BrushColor(brush, color)) return 0;
    c->FillSolid(*rect, color);
    return 1;
}

int FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !rect || !BrushColor(brush, color)) return 0;
    if (rect->IsEmpty()) return 1;
    const TRect& r = *rect;
    c->FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), color);
    c->FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), color);
    c->FillSolid(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), color);
    c->FillSolid(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), color);
    return 1;
}

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !BrushColor(brush, color)) return FALSE_;
    QRegion r;
    {
        ui::gdi::Access access;
        GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
        if (!o) return FALSE_;
        r = o->region;
    }
    for (const QRect& q : r) c->FillSolid(TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1), color);
    return TRUE_;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TColor color;
    if (!c || !BrushColor(brush, color)) return FALSE_;
    QRegion r;
    {
        ui::gdi::Access access;
        GdiObject* o = FindGdi(access, rgn, GdiObject::Region);
        if (!o) return FALSE_;
        r = o->region;
    }
    // The frame is the region minus the region shrunk by the frame's width and height; beyond half
    // the region's size nothing is left inside.
    if (width < 0 || height < 0) return TRUE_;
    QRect bound = r.boundingRect();
    width = std::clamp(width, 0, bound.width() / 2 + 1);
    height = std::clamp(height, 0, bound.height() / 2 + 1);
    QRegion inner = r;
    for (int dx = -width; dx <= width; ++dx)
        for (int dy = -height; dy <= height; dy += (std::abs(dx) == width ? 1 : 2 * std::max(1, height)))
            inner &= r.translated(dx, dy);
    for (const QRect& q : r - inner) c->FillSolid(TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1), color);
    return TRUE_;
}

BOOL DeleteObject(HGDIOBJ object) {
    return ui::gdi::Delete(reinterpret_cast<uintptr_t>(object), kObjectKinds) != ui::gdi::Deleted::Unknown ? TRUE_ : FALSE_;
}

HGDIOBJ GetStockObject(int index) {
    static std::mutex m;
    static std::unordered_map<int, HGDIOBJ> cache;
    std::lock_guard lock(m);
    auto it = cache.find(index);
    if (it != cache.end()) return it->second;
    HGDIOBJ h = nullptr;
    GdiObject o;
    o.stock = true;
    switch (index) {
        case WHITE_BRUSH: h = NewBrush(clWhite, bsSolid, true); break;
        case LTGRAY_BRUSH: h = NewBrush(clSilver, bsSolid, true); break;
        case GRAY_BRUSH: h = NewBrush(clGray, bsSolid, true); break;
        case DKGRAY_BRUSH: h = NewBrush(static_cast<TColor>(0x404040), bsSolid, true); break;
        case BLACK_BRUSH: h = NewBrush(clBlack, bsSolid, true); break;
        case NULL_BRUSH: h = NewBrush(clWhite, bsClear, true); break;
        case WHITE_PEN:
        case BLACK_PEN:
        case NULL_PEN:
            o.kind = GdiObject::Pen;
            o.pen = std::make_shared<TPen>();
            o.pen->SetColor(index == WHITE_PEN ? clWhite : clBlack);
            if (index == NULL_PEN) o.pen->SetStyle(psClear);
            h = NewGdi(std::move(o));
            break;
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT:
            o.kind = GdiObject::Font;
            o.font = std::make_shared<TFont>();
            if (index == SYSTEM_FONT) o.font->SetName("System");
            h = NewGdi(std::move(o));
            break;
        default: return nullptr;
    }
    cache[index] = h;
    return h;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen = std::make_shared<TPen>();
    o.pen->SetStyle(static_cast<TPenStyle>(style));
    o.pen->SetWidth(std::max(1, width));
    o.pen->SetColor(static_cast<TColor>(color & 0xFFFFFF));
    return static_cast<HPEN>(NewGdi(std::move(o)));
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    GdiObject o;
    o.kind = GdiObject::Font;
    o.font = std::make_shared<TFont>();
    TFont& f = *o.font;
    String face;
    for (size_t i = 0; i < 32 && lf->lfFaceName[i]; ++i) face.push_back(lf->lfFaceName[i]);
    if (!face.empty()) f.SetName(face);
    f.SetHeight(lf->lfHeight ? lf->lfHeight : -16);
    TFontStyles st;
    if (lf->lfWeight >= 600) st << fsBold;
    if (lf->lfItalic) st << fsItalic;
    if (lf->lfUnderline) st << fsUnderline;
    if (lf->lfStrikeOut) st << fsStrikeOut;
    f.SetStyle(st);
    f.SetOrientation(lf->lfEscapement);
    f.SetCharset(lf->lfCharSet);
    f.SetPitch((lf->lfPitchAndFamily & 3) == 1 ? fpFixed : (lf->lfPitchAndFamily & 3) == 2 ? fpVariable : fpDefault);
    return static_cast<HFONT>(NewGdi(std::move(o)));
}

// The 1 x 1 monochrome bitmap a new memory DC holds, as on the platform.
static TBitmap* DefaultBitmap() {
    static TBitmap* b = [] {
        auto* bmp = new TBitmap(1, 1, pf1bit);  // shared by every memory DC for the process's life
        return bmp;
    }();
    return b;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !object) return nullptr;
    if (TBitmap* b = TBitmap::FromHandle(static_cast<HBITMAP>(object))) {
        TBitmap* old = c->Bitmap();
        c->SetBitmap(b);
        return old ? old->Handle() : DefaultBitmap()->Handle();
    }
    GdiObject sel;
    {
        ui::gdi::Access access;
        GdiObject* found = AnyGdi(access, object);
        if (!found) return nullptr;
        sel = *found;
    }
    if (sel.snapshot) ui::gdi::Delete(reinterpret_cast<uintptr_t>(object), kObjectKinds);
    if (sel.kind == GdiObject::Region) {
        int type = SelectClipRgn(dc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    GdiObject prev;
    prev.kind = sel.kind;
    prev.snapshot = true;
    if (sel.kind == GdiObject::Pen) {
        prev.pen = std::make_shared<TPen>();
        prev.pen->Assign(c->Pen());
        c->Pen()->Assign(sel.pen.get());
    } else if (sel.kind == GdiObject::Brush) {
        prev.brush = std::make_shared<TBrush>();
        prev.brush->Assign(c->Brush());
        c->Brush()->Assign(sel.brush.get());
    } else {
        prev.font = std::make_shared<TFont>();
        prev.font->Assign(c->Font());
        // Selecting a font keeps the canvas's text colour: fonts have none in GDI.
        TColor color = c->Font()->Color();
        c->Font()->Assign(sel.font.get());
        c->Font()->SetColor(color);
    }
    return NewGdi(std::move(prev));
}

int GetObject(HGDIOBJ object, int size, void* out) {
    if (TBitmap* b = TBitmap::FromHandle(static_cast<HBITMAP>(object))) {
        if (!out || size < static_cast<int>(sizeof(BITMAP))) return 0;
        BITMAP bm;
        bm.bmWidth = b->Width();
        bm.bmHeight = b->Height();
        static const WORD bits[] = {32, 1, 4, 8, 16, 16, 24, 32, 32};
        bm.bmBitsPixel = bits[b->PixelFormat()];
        bm.bmWidthBytes = ((b->Width() * bm.bmBitsPixel + 15) / 16) * 2;
        *static_cast<BITMAP*>(out) = bm;
        return sizeof(BITMAP);
    }
    ui::gdi::Access access;
    GdiObject* o = FindGdi(access, object, GdiObject::Font);
    if (!o || !out || size < static_cast<int>(sizeof(LOGFONT))) return 0;
    LOGFONT lf;
    const TFont& f = *o->font;
    lf.lfHeight = f.Height();
    lf.lfEscapement = lf.lfOrientation = f.Orientation();
    lf.lfWeight = f.Style().Contains(fsBold) ? 700 : 400;
    lf.lfItalic = f.Style().Contains(fsItalic);
    lf.lfUnderline = f.Style().Contains(fsUnderline);
    lf.lfStrikeOut = f.Style().Contains(fsStrikeOut);
    lf.lfCharSet = f.Charset();
    String name = f.Name();
    for (size_t i = 0; i < 31 && i < name.size(); ++i) lf.lfFaceName[i] = name[i];
    *static_cast<LOGFONT*>(out) = lf;
    return sizeof(LOGFONT);
}

HDC CreateCompatibleDC(HDC) {
    auto c = std::make_shared<TCanvas>(DefaultBitmap());
    HDC h = c->Handle();
    ui::gdi::Adopt(reinterpret_cast<uintptr_t>(h), std::move(c));
    return h;
}

BOOL DeleteDC(HDC dc) {
    return ui::gdi::Delete(reinterpret_cast<uintptr_t>(dc), {ui::gdi::Kind::Canvas}) == ui::gdi::Deleted::Freed ? TRUE_ : FALSE_;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto b = std::make_shared<TBitmap>(width, height);
    HBITMAP h = b->Handle();
    ui::gdi::Adopt(reinterpret_cast<uintptr_t>(h), std::move(b));
    return h;
}

int GetDeviceCaps(HDC dc, int index) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return 0;
    TBitmap* b = c->Bitmap();
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case HORZRES: return b ? b->Width() : 0;
        case VERTRES: return b ? b->Height() : 0;
        case BITSPIXEL: return b && b->Monochrome() ? 1 : 32;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        default: return 0;
    }
}

// Origins and saved states ------------------------------------------------------------------------

BOOL SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->Dc().state.windowOrg;
    c->Dc().state.windowOrg = TPoint(x, y);
    return TRUE_;
}
BOOL GetWindowOrgEx(HDC dc, TPoint* origin) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !origin) return FALSE_;
    *origin = c->Dc().state.windowOrg;
    return TRUE_;
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    if (previous) *previous = c->Dc().state.viewportOrg;
    c->Dc().state.viewportOrg = TPoint(x, y);
    return TRUE_;
}
BOOL GetViewportOrgEx(HDC dc, TPoint* origin) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !origin) return FALSE_;
    *origin = c->Dc().state.viewportOrg;
    return TRUE_;
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    TPoint& o = c->Dc().state.viewportOrg;
    if (previous) *previous = o;
    o = TPoint(Saturated(int64_t{o.X} + dx), Saturated(int64_t{o.Y} + dy));
    return TRUE_;
}

int SaveDC(HDC dc) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return 0;
    Sync(c);
    c->Dc().saved.push_back(c->Dc().state);
    return static_cast<int>(c->Dc().saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return FALSE_;
    auto& stack = c->Dc().saved;
    int n = static_cast<int>(stack.size());
    int index = saved < 0 ? n + saved : saved - 1;  // -1 is the last one saved
    if (index < 0 || index >= n) return FALSE_;
    bool clipDiffers = c->Dc().state.hasClip != stack[static_cast<size_t>(index)].hasClip ||
                       c->Dc().state.clip != stack[static_cast<size_t>(index)].clip;
    c->Dc().state = stack[static_cast<size_t>(index)];
    stack.resize(static_cast<size_t>(index));
    ClipMoved(c);
    if (clipDiffers) c->ClipChanged();
    return TRUE_;
}
