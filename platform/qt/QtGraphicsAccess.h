#pragma once
// Private side of the graphics classes: the QImage behind a TBitmap, the device state behind a
// TCanvas, and the conversions between the layer's values and Qt's. Only platform/qt includes it.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QBrush>
#include <QImage>
#include <QPen>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

// What canvases locked on a bitmap draw on: one painter, opened at the first drawing and kept
// until the last lock ends or anything else touches the pixels. Formats other than the device's
// are drawn on a device-format copy made when it opens and converted back once when it closes.
struct TPaintSurface {
    QImage copy;
    bool converted = false;
    QPainter painter;
    // The canvas whose clip the painter has, and what was applied for it.
    const TCanvas* user = nullptr;
    uint64_t clipStamp = 0;
    bool clipEmpty = false;
    QPoint offset;
    bool antialias = false;
    QImage& Image(QImage& own) { return converted ? copy : own; }
};

struct TBitmapImage {
    mutable QImage image;
    // Locks held on the bitmap by its canvases, and the surface open while there are any. Declared
    // after the image, so the painter ends before the image goes.
    int holds = 0;
    mutable std::unique_ptr<TPaintSurface> surface;
    TPixelFormat format = pfDevice;
    // Rows of a 4-bit bitmap, two pixels a byte, handed out by ScanLine; they are written back into
    // image (which holds one index a byte) at the next access to the pixels.
    mutable std::vector<uint8_t> packed;
    mutable bool packedPending = false;
    void Flush() const;
};

struct TCanvasDcState {
    TPoint windowOrg;
    TPoint viewportOrg;
    bool hasClip = false;
    QRegion clip;  // device coordinates
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT;
    TPoint penPos;
};

struct TCanvasDc {
    TCanvasDcState state;
    std::vector<TCanvasDcState> saved;
    bool hasDeviceClip = false;
    QRect deviceClip;
    // Counts changes of the device clip, the clip region and the surface, so an open painter
    // knows when to take the clip again.
    uint64_t clipStamp = 1;
    // The bitmap this canvas holds a lock on (while its LockCount is above 0).
    TBitmap* held = nullptr;
    // Qt pen and brush of the canvas's TPen and TBrush, made again after they change.
    bool qpenValid = false;
    QPen qpen;
    bool qbrushValid = false;
    QBrush qbrush;
    // The font and brush are realised into the colours above when they have changed since.
    bool fontDirty = true;
    bool brushDirty = true;
    // The Qt font of the canvas's TFont and its metrics, made again after the font changes.
    bool qfontValid = false;
    bool qfontAntialias = false;
    QFont qfont;
    std::unique_ptr<QFontMetrics> metrics;
};

namespace qtb {

QImage::Format QtFormatOf(TPixelFormat format);
QImage& ImageOf(TBitmap& bitmap);
const QImage& ImageOf(const TBitmap& bitmap);
// The bitmap's pixels as RGB32 (a copy for other formats).
QImage ToRgb32(const TBitmap& bitmap);
// Replaces the bitmap's pixels, converting to its pixel format.
void SetImage(TBitmap& bitmap, const QImage& image);

inline QColor QColorOf(TColor color) {
    int32_t rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
inline QRgb QRgbOf(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF ColorRefOf(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

QFont QFontOf(const TFont& font, bool antialias = false);
// The canvas's font and metrics, cached until its TFont changes.
const QFont& CanvasFont(TCanvas* canvas);
const QFontMetrics& CanvasMetrics(TCanvas* canvas);

// The surface of a bitmap with locked canvases, opened if needed; nullptr when no canvas on it is
// locked (each drawing then opens its own painter).
TPaintSurface* PaintSurfaceOf(TBitmap& bitmap);
// Closes the bitmap's open surface, converting a copy back: every direct access to the pixels
// (ImageOf, ScanLine) does this first.
void EndPainting(const TBitmap& bitmap);

// A TBitmap opened for drawing: paintable formats are used in place, the others through an RGB32
// copy that is converted back when the surface closes.
class Surface {
public:
    explicit Surface(TBitmap& bitmap, bool rawRgb32 = false);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    QImage& Image() { return FConverted ? FCopy : ImageOf(FBitmap); }

private:
    TBitmap& FBitmap;
    bool FConverted = false;
    QImage FCopy;
};

}  // namespace qtb
