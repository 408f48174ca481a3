// The GDI+ engine's painting: paths filled and stroked with solid, texture and gradient paints,
// images through any transform, and clearing, on a canvas's bitmap (sharing the painter a lock
// bracket keeps open, so GDI+ and the canvas land in call order) or an image's pixels.
#include "platform/qt/QtGdiPlus.h"

#include <QBuffer>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <cstring>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Region.h"

namespace qtb {

namespace gdip {

using gdiplus::Status;

namespace {

QImage ImageOf(const Raster& r) {
    return QImage(reinterpret_cast<const uchar*>(r.pixels.data()), r.width, r.height, r.width * 4, QImage::Format_ARGB32);
}

// A tile that repeats the image mirrored as the wrap mode asks.
QImage Tile(const QImage& image, gdiplus::WrapMode wrap) {
    bool fx = wrap == gdiplus::WrapModeTileFlipX || wrap == gdiplus::WrapModeTileFlipXY;
    bool fy = wrap == gdiplus::WrapModeTileFlipY || wrap == gdiplus::WrapModeTileFlipXY;
    if (!fx && !fy) return image;
    int w = image.width(), h = image.height();
    QImage tile(w * (fx ? 2 : 1), h * (fy ? 2 : 1), QImage::Format_ARGB32);
    QPainter p(&tile);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image);
    if (fx) p.drawImage(w, 0, image.mirrored(true, false));
    if (fy) p.drawImage(0, h, image.mirrored(false, true));
    if (fx && fy) p.drawImage(w, h, image.mirrored(true, true));
    return tile;
}

QPainterPath ClipPathOf(const RegionNode& n) {
    QPainterPath out;
    switch (n.kind) {
        case RegionNode::Empty: break;
        case RegionNode::Infinite: out.addRect(-1e7, -1e7, 2e7, 2e7); break;
        case RegionNode::Rect: out.addRect(n.rect.X, n.rect.Y, n.rect.Width, n.rect.Height); break;
        case RegionNode::Path: out = QPathOf(n.path); break;
        case RegionNode::Combine: {
            QPainterPath a = ClipPathOf(*n.left), b = ClipPathOf(*n.right);
            switch (n.op) {
                case gdiplus::CombineModeIntersect: out = a.intersected(b); break;
                case gdiplus::CombineModeUnion: out = a.united(b); break;
                case gdiplus::CombineModeXor: out = a.united(b).subtracted(a.intersected(b)); break;
                case gdiplus::CombineModeExclude: out = a.subtracted(b); break;
                case gdiplus::CombineModeComplement: out = b.subtracted(a); break;
                default: out = b; break;
            }
            break;
        }
    }
    return out;
}

// The clip of the last call, kept while the same tree comes again (trees never change).
const QPainterPath& ClipPath(const RegionTree& tree) {
    thread_local RegionTree last;
    thread_local QPainterPath path;
    if (tree != last) {
        path = ClipPathOf(*tree);
        last = tree;
    }
    return path;
}

void Prepare(QPainter& p, const DrawState& state, const QTransform& device) {
    p.setRenderHint(QPainter::Antialiasing, state.antialias);
    p.setRenderHint(QPainter::TextAntialiasing, state.textAntialias);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBackgroundMode(Qt::TransparentMode);
    if (state.clip) {
        p.setTransform(device);
        p.setClipPath(ClipPath(state.clip), Qt::IntersectClip);
    }
}

QRegion RegionOf(const std::vector<TRect>& rects) {
    std::vector<QRect> q;
    q.reserve(rects.size());
    for (const TRect& r : rects) q.emplace_back(r.Left, r.Top, r.Width(), r.Height());
    QRegion region;
    if (!q.empty()) region.setRects(q.data(), static_cast<int>(q.size()));
    return region;
}

}  // namespace

QPainterPath QPathOf(const PathData& path) {
    QPainterPath q;
    q.setFillRule(path.fillMode == gdiplus::FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
    size_t n = path.points.size();
    for (size_t i = 0; i < n; ++i) {
        const gdiplus::GpPointF& p = path.points[i];
        uint8_t type = path.types[i] & gdiplus::PathPointTypePathTypeMask;
        if (type == gdiplus::PathPointTypeStart) {
            q.moveTo(p.X, p.Y);
        } else if (type == gdiplus::PathPointTypeBezier && i + 2 < n) {
            const gdiplus::GpPointF &b = path.points[i + 1], &c = path.points[i + 2];
            q.cubicTo(p.X, p.Y, b.X, b.Y, c.X, c.Y);
            i += 2;
        } else {
            q.lineTo(p.X, p.Y);
        }
        if (path.types[i] & gdiplus::PathPointTypeCloseSubpath) q.closeSubpath();
    }
    return q;
}

PathData PathDataOf(const QPainterPath& path) {
    PathData out;
    out.fillMode = path.fillRule() == Qt::WindingFill ? gdiplus::FillModeWinding : gdiplus::FillModeAlternate;
    auto push = [&](const QPainterPath::Element& e, uint8_t type) {
        out.points.push_back({static_cast<float>(e.x), static_cast<float>(e.y)});
        out.types.push_back(type);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (!out.types.empty()) out.types.back() |= gdiplus::PathPointTypeCloseSubpath;
            push(e, gdiplus::PathPointTypeStart);
        } else if (e.isLineTo()) {
            push(e, gdiplus::PathPointTypeLine);
        } else {
            push(e, gdiplus::PathPointTypeBezier);
        }
    }
    if (!out.types.empty()) out.types.back() |= gdiplus::PathPointTypeCloseSubpath;
    return out;
}

Status Paint(const Target& target, const DrawState& state, const std::function<void(QPainter&, const QTransform&)>& paint) {
    EnsureApplication();
    if (target.raster) {
        Raster& r = *target.raster;
        if (r.width <= 0 || r.height <= 0) return gdiplus::Ok;
        QImage image(reinterpret_cast<uchar*>(r.pixels.data()), r.width, r.height, r.width * 4, QImage::Format_ARGB32);
        QPainter p(&image);
        Prepare(p, state, QTransform());
        paint(p, QTransform());
        return gdiplus::Ok;
    }
    TCanvas* canvas = TCanvas::FromHandle(target.dc);
    if (!canvas) return gdiplus::WrongState;
    TBitmap* bitmap = canvas->Bitmap();
    if (!bitmap || bitmap->Empty()) return gdiplus::Ok;
    QRegion visible = RegionOf(canvas->Visible().Rects());
    if (visible.isEmpty()) return gdiplus::Ok;
    TPoint offset = canvas->DeviceOffset();
    QTransform device = QTransform::fromTranslate(offset.X, offset.Y);
    auto draw = [&](QPainter& p) {
        p.resetTransform();
        p.setClipRegion(visible);
        Prepare(p, state, device);
        paint(p, device);
    };
    QtPixelStore& store = StoreOf(*bitmap);
    if (TPaintSurface* open = store.OpenSurface()) {
        // The bitmap's open painter, as every canvas on it draws now; its state is the canvas's
        // again afterwards.
        open->painter.save();
        draw(open->painter);
        open->painter.restore();
        open->user = 0;
    } else {
        Surface surface(*bitmap);
        QPainter p(&surface.Image());
        draw(p);
    }
    bitmap->PixelsChanged();
    return gdiplus::Ok;
}

QBrush BrushOf(const gdiplus::engine::Paint& paint, const QTransform& painter, const QTransform& device) {
    QBrush brush;
    switch (paint.kind) {
        case gdiplus::engine::Paint::Solid: return QBrush(QColor::fromRgba(paint.color));
        case gdiplus::engine::Paint::Texture: brush = QBrush(Tile(ImageOf(*paint.image), paint.wrap)); break;
        case gdiplus::engine::Paint::Linear: {
            QLinearGradient g(paint.start.X, paint.start.Y, paint.end.X, paint.end.Y);
            QGradientStops stops;
            for (const GradientStop& s : paint.stops) stops.append({std::clamp(s.position, 0.0, 1.0), QColor::fromRgba(s.color)});
            g.setStops(stops);
            g.setSpread(paint.wrap == gdiplus::WrapModeTile    ? QGradient::RepeatSpread
                        : paint.wrap == gdiplus::WrapModeClamp ? QGradient::PadSpread
                                                               : QGradient::ReflectSpread);
            brush = QBrush(g);
            break;
        }
    }
    QTransform t = QTransformOf(paint.transform);
    // A brush's transform is taken in the painter's coordinates.
    if (paint.deviceSpace) t = t * device * painter.inverted();
    brush.setTransform(t);
    return brush;
}

namespace {

// The area a clamped texture covers, as a clip.
void ClampTexture(QPainter& p, const gdiplus::engine::Paint& paint, const QTransform& world, const QTransform& device) {
    if (paint.kind != gdiplus::engine::Paint::Texture || paint.wrap != gdiplus::WrapModeClamp) return;
    QPainterPath area;
    area.addRect(0, 0, paint.image->width, paint.image->height);
    QTransform saved = p.transform();
    p.setTransform(QTransformOf(paint.transform) * (paint.deviceSpace ? device : world));
    p.setClipPath(area, Qt::IntersectClip);
    p.setTransform(saved);
}

}  // namespace

Status QtGdiPlusEngine::Fill(const Target& target, const DrawState& state, const PathData& path, const gdiplus::engine::Paint& paint) {
    return gdip::Paint(target, state, [&](QPainter& p, const QTransform& device) {
        QTransform world = QTransformOf(state.world) * device;
        ClampTexture(p, paint, world, device);
        p.setTransform(world);
        p.fillPath(QPathOf(path), BrushOf(paint, world, device));
    });
}

Status QtGdiPlusEngine::Stroke(const Target& target, const DrawState& state, const PathData& path, const StrokeSpec& stroke) {
    return gdip::Paint(target, state, [&](QPainter& p, const QTransform& device) {
        QTransform world = QTransformOf(state.world) * device;
        QTransform t = stroke.deviceSpace ? device : world;
        ClampTexture(p, stroke.paint, world, device);
        p.setTransform(t);
        QBrush brush = BrushOf(stroke.paint, t, device);
        QPen pen(brush, stroke.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(stroke.miterLimit);
        if (!stroke.dashes.empty()) pen.setDashPattern(QList<qreal>(stroke.dashes.begin(), stroke.dashes.end()));
        QPainterPath q = QPathOf(path);
        if (stroke.caps.points.empty()) {
            p.strokePath(q, pen);
            return;
        }
        // The line and its caps as one area, so a translucent pen covers their overlap once.
        QPainterPathStroker stroker(pen);
        QPainterPath area = stroker.createStroke(q).united(QPathOf(stroke.caps));
        p.fillPath(area, brush);
    });
}

Status QtGdiPlusEngine::DrawImage(const Target& target, const DrawState& state, const Raster& image, const gdiplus::GpRectF& s,
                              const PointD d[3]) {
    QImage source = ImageOf(image);
    return gdip::Paint(target, state, [&](QPainter& p, const QTransform& device) {
        // The source rectangle onto the parallelogram, then the world and the device.
        double m11 = (d[1].X - d[0].X) / s.Width, m12 = (d[1].Y - d[0].Y) / s.Width;
        double m21 = (d[2].X - d[0].X) / s.Height, m22 = (d[2].Y - d[0].Y) / s.Height;
        QTransform place(m11, m12, m21, m22, d[0].X - m11 * s.X - m21 * s.Y, d[0].Y - m12 * s.X - m22 * s.Y);
        QTransform t = place * QTransformOf(state.world) * device;
        bool exact = t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx()) && t.dy() == std::round(t.dy());
        p.setRenderHint(QPainter::SmoothPixmapTransform, !exact);
        p.setTransform(t);
        QRectF part(s.X, s.Y, s.Width, s.Height);
        p.drawImage(part, source, part);
    });
}

Status QtGdiPlusEngine::Clear(const Target& target, const DrawState& state, gdiplus::ARGB color) {
    return gdip::Paint(target, state, [&](QPainter& p, const QTransform&) {
        p.resetTransform();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        QPaintDevice* d = p.device();
        p.fillRect(QRect(0, 0, d->width(), d->height()), QColor::fromRgba(color));
    });
}

bool QtGdiPlusEngine::Decode(const uint8_t* data, size_t size, Raster& picture, bool& hasAlpha) {
    EnsureApplication();
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The layer refuses a picture larger than 2^28 pixels, as it does any other.
    QSize dims = reader.size();
    if (dims.isValid() && int64_t{dims.width()} * dims.height() > (int64_t{1} << 28)) return false;
    QImage image = reader.read();
    if (image.isNull()) return false;
    hasAlpha = image.hasAlphaChannel();
    image = image.convertToFormat(QImage::Format_ARGB32);
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(&picture.pixels[static_cast<size_t>(y) * picture.width], image.constScanLine(y), size_t(picture.width) * 4);
    return true;
}


}  // namespace gdip

gdiplus::engine::Engine& GdiPlusEngine() {
    static gdip::QtGdiPlusEngine engine;
    return engine;
}

}  // namespace qtb
