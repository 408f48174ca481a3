#pragma once
// Private side of the graphics classes: the QImage behind a TBitmap, the device state behind a
// TCanvas, and the conversions between the layer's values and Qt's. Only platform/qt includes it.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

struct TBitmapImage {
    mutable QImage image;
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
    // The font and brush are realised into the colours above when they have changed since.
    bool fontDirty = true;
    bool brushDirty = true;
    // The Qt font of the canvas's TFont and its metrics, made again after the font changes.
    bool qfontValid = false;
    bool qfontAntialias = false;
    QFont qfont;
    std::unique_ptr<QFontMetrics> metrics;
};

namespace qtbackend {

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

}  // namespace qtbackend
