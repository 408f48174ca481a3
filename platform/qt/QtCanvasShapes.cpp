// Lines, shapes and fills of the raster canvas, with the platform's pixel rules: rectangles and
// ellipses fill to Right-1/Bottom-1, lines leave out their end point, arcs are measured by radials.
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtRaster.h"

namespace qtb {

namespace {

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

void ArcAngles(const QRect& r, TPoint p1, TPoint p2, int& start16, int& span16) {
    double a1 = ArcAngle(r, p1.X, p1.Y), a2 = ArcAngle(r, p2.X, p2.Y);
    double span = a2 - a1;
    while (span <= 0) span += 360;
    start16 = static_cast<int>(std::lround(a1 * 16));
    span16 = static_cast<int>(std::lround(span * 16));
}

QPolygon PolygonOf(const TPoint* points, int count) {
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
    return poly;
}

}  // namespace

QRect RasterCanvas::ShapeRect(const TRect& box) {
    int l = ui::HeldCoord(std::min(box.Left, box.Right)), t = ui::HeldCoord(std::min(box.Top, box.Bottom));
    int r = ui::HeldCoord(std::max(box.Left, box.Right)), b = ui::HeldCoord(std::max(box.Top, box.Bottom));
    const TPen& pen = *FFront.Pen();
    int w = ui::PenShows(pen) ? FFront.DevicePenWidth() : 1;
    if (pen.Style() == psInsideFrame && w > 1) {
        // The wide pen stays inside the bounds.
        int in = w / 2;
        return QRect(l + in, t + in, std::max(0, r - l - 1 - 2 * in), std::max(0, b - t - 1 - 2 * in));
    }
    return QRect(l, t, r - l - 1, b - t - 1);
}

// Paints a filled shape bounded by box: draw gets the painter and the drawing rectangle; a shape
// with no room left inside its pen paints nothing.
template <class Draw>
bool RasterCanvas::PaintBoxShape(const TRect& box, Draw draw) {
    return WithPainter([&](QPainter& p) {
        SetupShape(p, true);
        QRect r = ShapeRect(box);
        if (r.width() < 0 || r.height() < 0) return;
        draw(p, r);
    });
}

// Paints the part of the ellipse bounded by box from the radial towards p1 counter-clockwise to
// the one towards p2: draw gets the painter, the drawing rectangle and Qt's start and span angles.
template <class Draw>
bool RasterCanvas::PaintArcShape(bool fill, const TRect& box, TPoint p1, TPoint p2, Draw draw) {
    return WithPainter([&](QPainter& p) {
        SetupShape(p, fill);
        QRect r = ShapeRect(box);
        int a, s;
        ArcAngles(r, p1, p2, a, s);
        draw(p, r, a, s);
    });
}

bool RasterCanvas::LineTo(TPoint from, TPoint to) {
    if (from == to || !ui::PenShows(*FFront.Pen())) return false;
    // Qt's one-pixel line puts a pixel on each step of its longer axis (a diagonal counts as
    // level) from the lower coordinate up to, not including, the higher one, whichever way it
    // runs: running towards lower coordinates it draws its end and leaves out its start. Such a
    // line keeps Qt's pixels between, loses the end's step to a clip and gets its start pixel.
    // A wide pen's round caps cover both ends whichever way it runs.
    int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
    bool level = std::abs(dx) >= std::abs(dy);
    bool back = (level ? dx < 0 : dy < 0) && Pen().isCosmetic();
    return WithPainter([&](QPainter& p) {
        SetupShape(p, false);
        if (!back) {
            p.drawLine(from.X, from.Y, to.X, to.Y);
            return;
        }
        // The end's step and all beyond it are clipped away.
        const int far = kCanvasCoordLimit;
        QPoint corner = level ? QPoint(ui::HeldCoord(int64_t{to.X} + 1), -far) : QPoint(-far, ui::HeldCoord(int64_t{to.Y} + 1));
        p.setClipRect(QRect(corner, QPoint(far, far)), Qt::IntersectClip);
        p.drawLine(from.X, from.Y, to.X, to.Y);
        p.drawPoint(from.X, from.Y);
    }, back);
}

bool RasterCanvas::Polyline(const TPoint* points, int count) {
    if (!ui::PenShows(*FFront.Pen())) return false;
    return WithPainter([&](QPainter& p) {
        SetupShape(p, false);
        p.drawPolyline(PolygonOf(points, count));
    });
}

bool RasterCanvas::Polygon(const TPoint* points, int count) {
    return WithPainter([&](QPainter& p) {
        SetupShape(p, true);
        p.drawPolygon(PolygonOf(points, count));
    });
}

bool RasterCanvas::Shape(ui::ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) {
    switch (kind) {
        case ui::ShapeKind::Rectangle:
            return PaintBoxShape(box, [](QPainter& p, const QRect& r) { p.drawRect(r); });
        case ui::ShapeKind::RoundRect:
            return PaintBoxShape(box, [&](QPainter& p, const QRect& r) { p.drawRoundedRect(r, p1.X / 2.0, p1.Y / 2.0); });
        case ui::ShapeKind::Ellipse:
            return PaintBoxShape(box, [](QPainter& p, const QRect& r) { p.drawEllipse(r); });
        case ui::ShapeKind::Arc:
            if (!ui::PenShows(*FFront.Pen())) return false;
            return PaintArcShape(false, box, p1, p2, [](QPainter& p, const QRect& r, int a, int s) { p.drawArc(r, a, s); });
        case ui::ShapeKind::Chord:
            return PaintArcShape(true, box, p1, p2, [](QPainter& p, const QRect& r, int a, int s) { p.drawChord(r, a, s); });
        case ui::ShapeKind::Pie:
            return PaintArcShape(true, box, p1, p2, [](QPainter& p, const QRect& r, int a, int s) { p.drawPie(r, a, s); });
    }
    return false;
}

bool RasterCanvas::FillRect(const TRect& rect) {
    return WithPainter([&](QPainter& p) { p.fillRect(QRectOf(rect), Brush()); });
}

bool RasterCanvas::FrameRect(const TRect& rect) {
    return WithPainter([&](QPainter& p) {
        const QBrush& b = Brush();
        QRect r = QRectOf(rect);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), b);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), b);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), b);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), b);
    });
}

bool RasterCanvas::FocusRect(const TRect& rect) {
    return WithPainter([&](QPainter& p) {
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
}

bool RasterCanvas::FillSolid(const TRect& rect, TColor color) {
    return WithPainter([&](QPainter& p) { p.fillRect(QRectOf(rect), QColorOf(color)); });
}

}  // namespace qtb
