// The pixels of a TBitmap as a QImage in the bitmap's own format, and PNG files.
#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/qt/QtGraphics.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

QImage::Format QtFormatOf(TPixelFormat format) {
    switch (format) {
        case pf1bit: return QImage::Format_Mono;
        case pf4bit:
        case pf8bit: return QImage::Format_Indexed8;
        case pf15bit: return QImage::Format_RGB555;
        case pf16bit: return QImage::Format_RGB16;
        case pf24bit: return QImage::Format_BGR888;
        case pf32bit: return QImage::Format_ARGB32;
        default: return QImage::Format_RGB32;
    }
}

namespace {

QList<QRgb> MonoTable() { return {qRgb(0, 0, 0), qRgb(255, 255, 255)}; }

QList<QRgb> VgaTable() {
    static const QRgb t[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                               0xFF008080, 0xFF808080, 0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                               0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    return QList<QRgb>(std::begin(t), std::end(t));
}

// New 8-bit bitmaps: the sixteen standard colours, a 6 x 6 x 6 colour cube and a grey ramp, so
// that the usual drawing colours are exact.
QList<QRgb> DefaultTable256() {
    QList<QRgb> t = VgaTable();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) t.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; i <= 24; ++i) t.push_back(qRgb(i * 10, i * 10, i * 10));
    return t;
}

QImage ConvertTo(const QImage& src, TPixelFormat format, const QList<QRgb>& keepTable = {}) {
    QImage::Format f = QtFormatOf(format);
    auto flags = Qt::ThresholdDither | Qt::AvoidDither;
    if (f == QImage::Format_Mono) return src.convertToFormat(f, MonoTable(), flags);
    if (format == pf4bit) {
        QList<QRgb> table = keepTable.isEmpty() ? VgaTable() : keepTable;
        while (table.size() < 16) table.push_back(qRgb(0, 0, 0));  // every 4-bit index has a colour
        return src.convertToFormat(f, table, flags);
    }
    if (f == QImage::Format_Indexed8) {
        return src.convertToFormat(f, keepTable.isEmpty() ? DefaultTable256() : keepTable, flags);
    }
    return src.convertToFormat(f);
}

bool Paintable(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_BGR888 ||
           f == QImage::Format_RGB16 || f == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

// QtPixelStore -----------------------------------------------------------------------------------

QtPixelStore::~QtPixelStore() { surface.reset(); }  // the pixels go: nothing to convert back

void QtPixelStore::Flush() const {
    if (!packedPending) return;
    packedPending = false;
    int w = image.width(), stride = (w + 1) / 2;
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        const uint8_t* src = packed.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) row[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
    }
}

QImage& QtPixelStore::Pixels() const {
    EndPainting();
    Flush();
    return image;
}

void QtPixelStore::SetPixels(const QImage& picture) {
    packedPending = false;
    EndPainting();
    image = picture.isNull() ? QImage() : ConvertTo(picture, format);
    emptyWidth = emptyHeight = 0;
}

TPaintSurface* QtPixelStore::OpenSurface() {
    if (holds <= 0) return nullptr;
    if (surface) return surface.get();
    Flush();
    if (image.isNull()) return nullptr;
    auto s = std::make_unique<TPaintSurface>();
    QImage::Format f = image.format();
    // 24-bit pixels are drawn on one device-format copy per pass (Qt paints them slowly, and the
    // round trip loses nothing). Palette and 15-bit pixels are not: each drawing is reduced to
    // the palette as it lands, which raster operations on them depend on, so those keep a copy
    // per call.
    if (f == QImage::Format_BGR888) {
        s->converted = true;
        s->copy = image.convertToFormat(QImage::Format_RGB32);
    } else if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_RGB16) {
        return nullptr;
    }
    if (!s->painter.begin(&s->Image(image))) return nullptr;
    s->painter.setRenderHint(QPainter::Antialiasing, false);
    s->painter.setRenderHint(QPainter::TextAntialiasing, false);
    surface = std::move(s);
    return surface.get();
}

void QtPixelStore::EndPainting() const {
    if (!surface) return;
    std::unique_ptr<TPaintSurface> s = std::move(surface);
    s->painter.end();
    if (s->converted) image = ConvertTo(s->copy, format, image.colorTable());
}

void QtPixelStore::SetSize(int width, int height) {
    QImage& old = Pixels();
    if (width == 0 || height == 0) {
        image = QImage();
        emptyWidth = width;
        emptyHeight = height;
        return;
    }
    emptyWidth = emptyHeight = 0;
    EnsureApplication();
    QImage::Format direct = QtFormatOf(format);
    if (old.isNull() && direct != QImage::Format_Mono && direct != QImage::Format_Indexed8) {
        // Made in its own format: a large picture is not held twice while it is made.
        QImage made(width, height, direct);
        bool bytewise = direct == QImage::Format_BGR888 || direct == QImage::Format_RGB32 || direct == QImage::Format_ARGB32;
        if (bytewise && !made.isNull()) std::memset(made.bits(), 0xFF, static_cast<size_t>(made.sizeInBytes()));  // white
        else made.fill(Qt::white);
        image = made;
        return;
    }
    QImage fresh(width, height, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    if (!old.isNull()) {
        QImage src = old.convertToFormat(QImage::Format_RGB32);
        QPainter p(&fresh);
        p.drawImage(0, 0, src);
    }
    image = ConvertTo(fresh, format, old.colorTable());
}

void QtPixelStore::SetFormat(TPixelFormat value) {
    if (value == format) return;
    QImage& im = Pixels();
    format = value;
    if (im.isNull()) return;
    // A 16-colour table survives the step to 4 bits (how 4-bit files are read).
    QList<QRgb> keep;
    if (value == pf4bit && im.colorCount() > 0 && im.colorCount() <= 16) keep = im.colorTable();
    image = ConvertTo(im, value, keep);
}

void QtPixelStore::Clear() {
    packedPending = false;
    EndPainting();
    image = QImage();
    emptyWidth = emptyHeight = 0;
}

void QtPixelStore::CopyFrom(const ui::PixelStore& other) {
    const auto& from = static_cast<const QtPixelStore&>(other);
    if (&from == this) return;
    EndPainting();
    packedPending = false;
    image = from.Pixels().copy();
    emptyWidth = from.emptyWidth;
    emptyHeight = from.emptyHeight;
    format = from.format;
}

void* QtPixelStore::ScanLine(int row) {
    EndPainting();
    if (format == pf4bit) {
        int w = image.width(), stride = (w + 1) / 2;
        if (!packedPending) {
            packed.assign(static_cast<size_t>(stride) * image.height(), 0);
            for (int y = 0; y < image.height(); ++y) {
                const uchar* src = image.constScanLine(y);
                uint8_t* dst = packed.data() + static_cast<size_t>(y) * stride;
                for (int x = 0; x < w; ++x) dst[x / 2] |= static_cast<uint8_t>((x & 1) ? (src[x] & 0x0F) : (src[x] & 0x0F) << 4);
            }
            packedPending = true;
        }
        return packed.data() + static_cast<size_t>(row) * stride;
    }
    return Pixels().scanLine(row);
}

TColor QtPixelStore::Pixel(int x, int y) const { return static_cast<TColor>(ColorRefOf(Pixels().pixel(x, y))); }

std::vector<TColor> QtPixelStore::Palette() const {
    std::vector<TColor> out;
    for (QRgb c : Pixels().colorTable()) out.push_back(static_cast<TColor>(ColorRefOf(c)));
    return out;
}

bool QtPixelStore::SetPalette(const std::vector<TColor>& colors) {
    QImage& im = Pixels();
    if (im.isNull() || im.colorCount() == 0) return false;
    QList<QRgb> table;
    for (TColor c : colors) table.push_back(QRgbOf(static_cast<COLORREF>(ColorToRGB(c))));
    // Indexes beyond the given table would point nowhere: keep the table at least as long.
    while (table.size() < im.colorCount()) table.push_back(im.color(static_cast<int>(table.size())));
    im.setColorTable(table);
    return true;
}

std::unique_ptr<ui::PixelStore> CreatePixelStore(TPixelFormat format) { return std::make_unique<QtPixelStore>(format); }

// Access for the rest of the backend -------------------------------------------------------------

QtPixelStore& StoreOf(const TBitmap& bitmap) { return static_cast<QtPixelStore&>(bitmap.Store()); }

QImage& ImageOf(TBitmap& bitmap) { return StoreOf(bitmap).Pixels(); }
const QImage& ImageOf(const TBitmap& bitmap) { return StoreOf(bitmap).Pixels(); }

TPaintSurface* PaintSurfaceOf(TBitmap& bitmap) { return StoreOf(bitmap).OpenSurface(); }
void EndPainting(const TBitmap& bitmap) { StoreOf(bitmap).EndPainting(); }

QImage ToRgb32(const TBitmap& bitmap) {
    const QImage& im = ImageOf(bitmap);
    if (im.isNull()) return QImage();
    if (im.format() == QImage::Format_RGB32) return im;
    // Alpha is not part of what the window system shows; drop it.
    return im.convertToFormat(QImage::Format_RGB32);
}

void SetImage(TBitmap& bitmap, const QImage& image) {
    StoreOf(bitmap).SetPixels(image);
    bitmap.PixelsChanged();
}

Surface::Surface(TBitmap& bitmap, bool rawRgb32) : FBitmap(bitmap) {
    QImage& im = ImageOf(bitmap);
    bool ok = rawRgb32 ? (im.format() == QImage::Format_RGB32 || im.format() == QImage::Format_ARGB32)
                       : Paintable(im.format());
    if (!ok && !im.isNull()) {
        FConverted = true;
        FCopy = im.convertToFormat(QImage::Format_RGB32);
    }
}

Surface::~Surface() {
    if (!FConverted) return;
    QtPixelStore& s = StoreOf(FBitmap);
    s.image = ConvertTo(FCopy, s.format, s.image.colorTable());
}

// PNG --------------------------------------------------------------------------------------------

namespace {
class QtPngCodec final : public ui::ImageCodec {
public:
    bool Decode(const std::vector<uint8_t>& data, ui::PixelStore& into) override {
        EnsureApplication();
        QImage im;
        if (!im.loadFromData(data.data(), static_cast<int>(data.size()), "PNG")) return false;
        static_cast<QtPixelStore&>(into).SetPixels(im);
        return true;
    }
    std::vector<uint8_t> Encode(const ui::PixelStore& from) override {
        EnsureApplication();
        QByteArray data;
        QBuffer buf(&data);
        buf.open(QIODevice::WriteOnly);
        if (!static_cast<const QtPixelStore&>(from).Pixels().save(&buf, "PNG")) return {};
        return std::vector<uint8_t>(data.begin(), data.end());
    }
};
}  // namespace

ui::ImageCodec& PngCodec() {
    static QtPngCodec codec;
    return codec;
}

}  // namespace qtb
