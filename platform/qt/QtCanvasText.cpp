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
        int x = at.X, y = at.Y;
        if (orientation != 0) {
            p.translate(at.X, at.Y);
            p.rotate(-orientation / 10.0);
            x = y = 0;
        }
        // The reference point is the text box's left, right or centre and its top, bottom or base line.
        x += (align & TA_CENTER) == TA_CENTER ? -width / 2 : (align & TA_RIGHT) ? -width : 0;
        y += (align & TA_BASELINE) == TA_BASELINE ? -ascent : (align & TA_BOTTOM) ? -height : 0;
        if (!opaque && s.bkMode == OPAQUE && !q.isEmpty()) p.fillRect(QRect(x, y, width, height), QColor(QRgbOf(s.bkColor)));
        if (!FSurface || FSurface->font != face.Key()) {
            p.setFont(face.Font());
            // Restored with the painter when scoped: the open painter keeps its font then.
            if (FSurface && !scoped) FSurface->font = face.Key();
        }
        p.setPen(QColor(QRgbOf(s.textColor)));
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(x, y + ascent, q);
    }, scoped);
}

}  // namespace qtb
