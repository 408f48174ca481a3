// The pixels of curved and polygonal regions, as Qt's regions make them.
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>

#include "platform/qt/QtGraphics.h"
#include "platform/ui/backend/Canvas.h"

namespace qtb {

std::vector<TRect> RegionRects(const ui::RegionShape& shape) {
    QRect box(shape.box.Left, shape.box.Top, shape.box.Width(), shape.box.Height());
    QRegion region;
    switch (shape.kind) {
        case ui::RegionShape::Ellipse: region = QRegion(box, QRegion::Ellipse); break;
        case ui::RegionShape::RoundRect: {
            QPainterPath path;
            path.addRoundedRect(QRectF(box), shape.corner.cx / 2.0, shape.corner.cy / 2.0);
            region = QRegion(path.toFillPolygon().toPolygon());
            break;
        }
        case ui::RegionShape::Polygon: {
            QPolygon poly;
            for (const TPoint& p : shape.points) poly << QPoint(p.X, p.Y);
            region = QRegion(poly, shape.winding ? Qt::WindingFill : Qt::OddEvenFill);
            break;
        }
    }
    std::vector<TRect> rects;
    for (const QRect& r : region) rects.emplace_back(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    return rects;
}

}  // namespace qtb
