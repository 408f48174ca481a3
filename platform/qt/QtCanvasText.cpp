// Text of the raster canvas: placed by the text alignment, with the device's colours and
// background mode, in the face the front measured it with.
#include "platform/qt/QtFont.h"
#include "platform/qt/QtRaster.h"

namespace qtb {

bool RasterCanvas::Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) {
    // Faces and raster canvases come from the same backend.
    const auto& face = static_cast<const QtFontFace&>(FFront.Face());
    const TCanvasDcState& s = FFront.Dc().state;
    UINT align = s.textAlign;
    int orientation = FFront.Font()->Orientation();
    return WithPainter([&](QPainter& p) {
        const QFontMetrics& m = face.QtMetrics();
        QString q = QString::fromStdU16String(text);
        if (clip) p.setClipRect(QRectOf(*clip), Qt::IntersectClip);
        if (opaque) p.fillRect(QRectOf(*opaque), QColor(QRgbOf(s.bkColor)));
        p.translate(at.X, at.Y);
        if (orientation != 0) p.rotate(-orientation / 10.0);
        // The reference point is the text box's left, right or centre and its top, bottom or base line.
        int dx = (align & TA_CENTER) == TA_CENTER ? -width / 2 : (align & TA_RIGHT) ? -width : 0;
        int dy = (align & TA_BASELINE) == TA_BASELINE ? -m.ascent() : (align & TA_BOTTOM) ? -(m.ascent() + m.descent()) : 0;
        if (!opaque && s.bkMode == OPAQUE && !q.isEmpty())
            p.fillRect(QRect(dx, dy, width, m.ascent() + m.descent()), QColor(QRgbOf(s.bkColor)));
        p.setFont(face.Font());
        p.setPen(QColor(QRgbOf(s.textColor)));
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(dx, dy + m.ascent(), q);
    }, true);
}

}  // namespace qtb
