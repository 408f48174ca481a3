#pragma once
// Private side of the graphics classes: the QImage behind a TBitmap (the backend's pixel store),
// the painter a locked bitmap keeps open, and the conversions between the layer's values and
// Qt's. Only platform/qt includes it.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Pixels.h"

// What canvases locked on a bitmap draw on: one painter, opened at the first drawing and kept
// until the last lock ends or anything else touches the pixels. Formats other than the device's
// are drawn on a device-format copy made when it opens and converted back once when it closes.
struct TPaintSurface {
    QImage copy;
    bool converted = false;
    QPainter painter;
    // The raster canvas whose clip the painter has, and what was applied for it.
    uint64_t user = 0;
    uint64_t clipStamp = 0;
    bool clipEmpty = false;
    QPoint offset;
    bool antialias = false;
    // The face whose font the painter holds (QtFontFace::Key); 0: not known.
    uint64_t font = 0;
    QImage& Image(QImage& own) { return converted ? copy : own; }
};

namespace qtb {

class QtPixelStore final : public ui::PixelStore {
public:
    explicit QtPixelStore(TPixelFormat format) : format(format) {}
    ~QtPixelStore() override;

    // A size with a side of 0 holds no pixels but keeps the other side, so that setting the
    // width and then the height makes the size asked for.
    int Width() const override { return image.isNull() ? emptyWidth : image.width(); }
    int Height() const override { return image.isNull() ? emptyHeight : image.height(); }
    void SetSize(int width, int height) override;
    void SetFormat(TPixelFormat value) override;
    void Clear() override;
    void CopyFrom(const ui::PixelStore& other) override;
    void* ScanLine(int row) override;
    TColor Pixel(int x, int y) const override;
    std::vector<TColor> Palette() const override;
    bool SetPalette(const std::vector<TColor>& colors) override;

    // The pixels, with every drawing and every ScanLine write taken in.
    QImage& Pixels() const;
    // Replaces the pixels, converting to the store's format.
    void SetPixels(const QImage& picture);
    // The open painter of a locked bitmap, opened if needed; nullptr when no canvas on it is
    // locked (each drawing then opens its own painter).
    TPaintSurface* OpenSurface();
    // Closes the open painter, converting a copy back.
    void EndPainting() const;

    mutable QImage image;
    int emptyWidth = 0, emptyHeight = 0;  // the size while image is null
    // Locks held on the bitmap by its canvases, and the surface open while there are any. Declared
    // after the image, so the painter ends before the image goes.
    int holds = 0;
    mutable std::unique_ptr<TPaintSurface> surface;
    TPixelFormat format;
    // Rows of a 4-bit bitmap, two pixels a byte, handed out by ScanLine; they are written back into
    // image (which holds one index a byte) at the next access to the pixels.
    mutable std::vector<uint8_t> packed;
    mutable bool packedPending = false;

private:
    void Flush() const;
};

QtPixelStore& StoreOf(const TBitmap& bitmap);
QImage::Format QtFormatOf(TPixelFormat format);
QImage& ImageOf(TBitmap& bitmap);
const QImage& ImageOf(const TBitmap& bitmap);
// The bitmap's pixels as RGB32 (a copy for other formats).
QImage ToRgb32(const TBitmap& bitmap);
// Replaces the bitmap's pixels, converting to its pixel format, and tells its listeners.
void SetImage(TBitmap& bitmap, const QImage& image);

inline QColor QColorOf(TColor color) {
    int32_t rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
inline QRgb QRgbOf(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF ColorRefOf(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

QFont QFontOf(const TFont& font, bool antialias = false);

// The surface of a bitmap with locked canvases (see QtPixelStore::OpenSurface), and closing it:
// every direct access to the pixels (ImageOf, ScanLine) closes it first.
TPaintSurface* PaintSurfaceOf(TBitmap& bitmap);
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
