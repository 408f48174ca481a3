// TBitmap over a QImage, and PNG files.
#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/GdiHandles.h"

namespace qtbackend {

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

static QList<QRgb> MonoTable() { return {qRgb(0, 0, 0), qRgb(255, 255, 255)}; }

static QList<QRgb> VgaTable() {
    static const QRgb t[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                               0xFF008080, 0xFF808080, 0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                               0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    return QList<QRgb>(std::begin(t), std::end(t));
}

// New 8-bit bitmaps: the sixteen standard colours, a 6 x 6 x 6 colour cube and a grey ramp, so
// that the usual drawing colours are exact.
static QList<QRgb> DefaultTable256() {
    QList<QRgb> t = VgaTable();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) t.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; i <= 24; ++i) t.push_back(qRgb(i * 10, i * 10, i * 10));
    return t;
}

static QImage ConvertTo(const QImage& src, TPixelFormat format, const QList<QRgb>& keepTable = {}) {
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

QImage& ImageOf(TBitmap& bitmap) {
    EndPainting(bitmap);
    bitmap.Image().Flush();
    return bitmap.Image().image;
}
const QImage& ImageOf(const TBitmap& bitmap) {
    EndPainting(bitmap);
    bitmap.Image().Flush();
    return bitmap.Image().image;
}

TPaintSurface* PaintSurfaceOf(TBitmap& bitmap) {
    TBitmapImage& bi = bitmap.Image();
    if (bi.holds <= 0) return nullptr;
    if (bi.surface) return bi.surface.get();
    bi.Flush();
    if (bi.image.isNull()) return nullptr;
    auto s = std::make_unique<TPaintSurface>();
    QImage::Format f = bi.image.format();
    // 24-bit pixels are drawn on one device-format copy per pass (Qt paints them slowly, and the
    // round trip loses nothing). Palette and 15-bit pixels are not: each drawing is reduced to
    // the palette as it lands, which raster operations on them depend on, so those keep a copy
    // per call.
    if (f == QImage::Format_BGR888) {
        s->converted = true;
        s->copy = bi.image.convertToFormat(QImage::Format_RGB32);
    } else if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_RGB16) {
        return nullptr;
    }
    if (!s->painter.begin(&s->Image(bi.image))) return nullptr;
    s->painter.setRenderHint(QPainter::Antialiasing, false);
    s->painter.setRenderHint(QPainter::TextAntialiasing, false);
    bi.surface = std::move(s);
    return bi.surface.get();
}

void EndPainting(const TBitmap& bitmap) {
    TBitmapImage& bi = bitmap.Image();
    if (!bi.surface) return;
    std::unique_ptr<TPaintSurface> s = std::move(bi.surface);
    s->painter.end();
    if (s->converted) bi.image = ConvertTo(s->copy, bi.format, bi.image.colorTable());
}

QImage ToRgb32(const TBitmap& bitmap) {
    const QImage& im = ImageOf(bitmap);
    if (im.isNull()) return QImage();
    if (im.format() == QImage::Format_RGB32) return im;
    // Alpha is not part of what the window system shows; drop it.
    return im.convertToFormat(QImage::Format_RGB32);
}

void SetImage(TBitmap& bitmap, const QImage& image) {
    TBitmapImage& bi = bitmap.Image();
    bi.packedPending = false;
    bi.image = image.isNull() ? QImage() : ConvertTo(image, bi.format);
    bitmap.PixelsChanged();
}

static bool Paintable(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_BGR888 ||
           f == QImage::Format_RGB16 || f == QImage::Format_ARGB32_Premultiplied;
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
    if (FConverted) {
        TBitmapImage& bi = FBitmap.Image();
        bi.image = ConvertTo(FCopy, bi.format, bi.image.colorTable());
    }
    FBitmap.PixelsChanged();
}

}  // namespace qtbackend

void TBitmapImage::Flush() const {
    if (!packedPending) return;
    packedPending = false;
    int w = image.width(), stride = (w + 1) / 2;
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        const uint8_t* src = packed.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) row[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
    }
}

using namespace qtbackend;

TBitmap* TBitmap::FromHandle(HBITMAP handle) { return ui::gdi::Find<TBitmap>(handle, ui::gdi::Kind::Bitmap); }

TBitmap::TBitmap() : FImage(std::make_unique<TBitmapImage>()) {
    FHandle = ui::gdi::Add(ui::gdi::Kind::Bitmap, this);
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
    FImage->format = format;
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    ui::gdi::Remove(FHandle);
    FCanvas.reset();
    for (TCanvas* c : FAttached) {
        c->FTarget = nullptr;
        c->FDc->held = nullptr;
    }
    FImage->surface.reset();  // the pixels go: nothing to convert back
}

void TBitmap::AttachCanvas(TCanvas* canvas) { FAttached.push_back(canvas); }
void TBitmap::DetachCanvas(TCanvas* canvas) {
    FAttached.erase(std::remove(FAttached.begin(), FAttached.end(), canvas), FAttached.end());
}

// The size needs no flush: an open painter keeps drawing.
int TBitmap::Width() const { return FImage->image.width(); }
int TBitmap::Height() const { return FImage->image.height(); }
void TBitmap::SetWidth(int value) { SetSize(value, Height()); }
void TBitmap::SetHeight(int value) { SetSize(Width(), value); }

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    QImage& old = ImageOf(*this);
    if (width == old.width() && height == old.height()) return;
    if (width == 0 || height == 0) {
        ImageOf(*this) = QImage();
        Changed();
        return;
    }
    EnsureApplication();
    QImage::Format direct = QtFormatOf(FImage->format);
    if (old.isNull() && direct != QImage::Format_Mono && direct != QImage::Format_Indexed8) {
        // Made in its own format: a large picture is not held twice while it is made.
        QImage made(width, height, direct);
        bool bytewise = direct == QImage::Format_BGR888 || direct == QImage::Format_RGB32 || direct == QImage::Format_ARGB32;
        if (bytewise && !made.isNull()) std::memset(made.bits(), 0xFF, static_cast<size_t>(made.sizeInBytes()));  // white
        else made.fill(Qt::white);
        ImageOf(*this) = made;
        Changed();
        return;
    }
    QImage fresh(width, height, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    if (!old.isNull()) {
        QImage src = old.convertToFormat(QImage::Format_RGB32);
        QPainter p(&fresh);
        p.drawImage(0, 0, src);
    }
    ImageOf(*this) = ConvertTo(fresh, FImage->format, old.colorTable());
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
    return FCanvas.get();
}

TPixelFormat TBitmap::PixelFormat() const { return FImage->format; }

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == FImage->format) return;
    EndPainting(*this);
    FImage->format = value;
    if (!ImageOf(*this).isNull()) {
        // A 16-colour table survives the step to 4 bits (how 4-bit files are read).
        QList<QRgb> keep;
        if (value == pf4bit && ImageOf(*this).colorCount() > 0 && ImageOf(*this).colorCount() <= 16)
            keep = ImageOf(*this).colorTable();
        ImageOf(*this) = ConvertTo(ImageOf(*this), value, keep);
    }
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value) SetPixelFormat(pf1bit);
    else if (Monochrome()) SetPixelFormat(pfDevice);
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (ImageOf(*this).isNull()) return clDefault;
    QRgb c = ImageOf(*this).pixel(0, Height() - 1);
    return static_cast<TColor>(ColorRefOf(c));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == FTransparentColor && FTransparentMode == tmFixed) return;
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode) return;
    if (value == tmAuto) FTransparentColor = clDefault;
    else FTransparentColor = TransparentColor();
    FTransparentMode = value;
    Changed();
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height())
        throw EInvalidGraphicOperation(String("Scan line index out of range"));
    EndPainting(*this);
    if (FImage->format == pf4bit) {
        TBitmapImage& bi = *FImage;
        int w = bi.image.width(), stride = (w + 1) / 2;
        if (!bi.packedPending) {
            bi.packed.assign(static_cast<size_t>(stride) * bi.image.height(), 0);
            for (int y = 0; y < bi.image.height(); ++y) {
                const uchar* src = bi.image.constScanLine(y);
                uint8_t* dst = bi.packed.data() + static_cast<size_t>(y) * stride;
                for (int x = 0; x < w; ++x) dst[x / 2] |= static_cast<uint8_t>((x & 1) ? (src[x] & 0x0F) : (src[x] & 0x0F) << 4);
            }
            bi.packedPending = true;
        }
        return bi.packed.data() + static_cast<size_t>(row) * stride;
    }
    return ImageOf(*this).scanLine(row);
}

int TBitmap::BytesPerScanLine() const {
    int w = Width();
    switch (FImage->format) {
        case pf1bit: return (w + 7) / 8;
        case pf4bit: return (w + 1) / 2;
        case pf8bit: return w;
        case pf15bit:
        case pf16bit: return w * 2;
        case pf24bit: return w * 3;
        default: return w * 4;
    }
}

std::vector<TColor> TBitmap::Palette() const {
    std::vector<TColor> out;
    for (QRgb c : ImageOf(*this).colorTable()) out.push_back(static_cast<TColor>(ColorRefOf(c)));
    return out;
}

void TBitmap::SetPalette(const std::vector<TColor>& colors) {
    QImage& im = ImageOf(*this);
    if (im.isNull() || im.colorCount() == 0) return;
    QList<QRgb> table;
    for (TColor c : colors) table.push_back(QRgbOf(static_cast<COLORREF>(ColorToRGB(c))));
    // Indexes beyond the given table would point nowhere: keep the table at least as long.
    while (table.size() < im.colorCount()) table.push_back(im.color(static_cast<int>(table.size())));
    im.setColorTable(table);
    Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        ImageOf(*this) = QImage();
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
        if (b == this) return;
        ImageOf(*this) = ImageOf(*b).copy();
        FImage->format = b->FImage->format;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        FHandleType = b->FHandleType;
        TGraphic::SetTransparent(b->Transparent());
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        auto* graphic = const_cast<TGraphic*>(g);
        ImageOf(*this) = QImage();
        if (FImage->format == pf1bit) FImage->format = pfDevice;
        SetSize(graphic->Width(), graphic->Height());
        if (!Empty()) {
            TCanvas* c = Canvas();
            c->Brush()->SetColor(clWhite);
            c->Brush()->SetStyle(bsSolid);
            c->FillRect(Rect(0, 0, Width(), Height()));
            c->Draw(0, 0, graphic);
        }
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    canvas->DrawBitmapImpl(rect, this, Rect(0, 0, Width(), Height()), Transparent(), TransparentColor(), false);
}

// PNG ------------------------------------------------------------------------------------------

void TPngImage::LoadFromStream(std::istream& stream) {
    EnsureApplication();
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    QImage im;
    if (!im.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG"))
        throw EInvalidGraphic(String("Not a PNG image"));
    SetPixelFormat(pf32bit);
    SetImage(*this, im);
}

void TPngImage::SaveToStream(std::ostream& stream) {
    EnsureApplication();
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    if (!ImageOf(*this).save(&buf, "PNG")) throw EInvalidGraphicOperation(String("Cannot write PNG image"));
    stream.write(data.constData(), data.size());
    if (!stream) throw EWriteError(String("Stream write error"));
}
