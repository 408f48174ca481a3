// Text of the raster canvas: placed by the text alignment, with the device's colours and
// background mode, in the face the front measured it with.
#include <cstdint>
#include <limits>

#include "platform/qt/QtFont.h"
#include "platform/qt/QtRaster.h"

namespace qtb {

namespace {
bool FitsInt(int64_t v) { return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max(); }
}  // namespace

bool RasterCanvas::Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) {
    // Faces and raster canvases come from the same backend.
    const auto& face = static_cast<const QtFontFace&>(FFront.Face());
    const TCanvasDcState& s = FFront.Dc().state;
    UINT align = s.textAlign;
    int orientation = FFront.Font()->Orientation();
    // The painter reads the text where it lies.
    QString q = QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
    // A clip or a rotation is undone afterwards by restoring the painter; plain text changes
    // nothing that the next drawing does not set again.
    bool scoped = clip || orientation != 0;
    return WithPainter([&](QPainter& p) {
        const QFontMetrics& m = face.QtMetrics();
        int ascent = m.ascent(), height = ascent + m.descent();
        if (clip) p.setClipRect(QRectOf(*clip), Qt::IntersectClip);
        if (opaque) p.fillRect(QRectOf(*opaque), QColor(QRgbOf(s.bkColor)));
        // In 64 bits: a point near the ends of the int range moved by the width must not wrap.
        int64_t x = at.X, y = at.Y;
        if (orientation != 0) {
            p.translate(at.X, at.Y);
            p.rotate(-orientation / 10.0);
            x = y = 0;
        }
        // The reference point is the text box's left, right or centre and its top, bottom or base line.
        x -= (align & TA_CENTER) == TA_CENTER ? width / 2 : (align & TA_RIGHT) ? width : 0;
        y -= (align & TA_BASELINE) == TA_BASELINE ? ascent : (align & TA_BOTTOM) ? height : 0;
        if (!opaque && s.bkMode == OPAQUE && !q.isEmpty()) {
            QColor back(QRgbOf(s.bkColor));
            if (FitsInt(x) && FitsInt(y) && FitsInt(x + width) && FitsInt(y + height))
                p.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), width, height), back);
            else
                p.fillRect(QRectF(static_cast<qreal>(x), static_cast<qreal>(y), width, height), back);
        }
        if (!FSurface || FSurface->font != face.Key()) {
            p.setFont(face.Font());
            // Restored with the painter when scoped: the open painter keeps its font then.
            if (FSurface && !scoped) FSurface->font = face.Key();
        }
        p.setPen(QColor(QRgbOf(s.textColor)));
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(QPointF(static_cast<qreal>(x), static_cast<qreal>(y + ascent)), q);
    }, scoped);
}

}  // namespace qtb
