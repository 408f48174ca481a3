// Images: bitmaps and metafiles, loaded through the layer's decoders from files and streams,
// their pixels and formats, thumbnails, rotation, GDI bitmaps made from them, and saving.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/ui/GdiHandles.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/ImageDecoders.h"

namespace gdiplus {

namespace detail {

// A multi-frame save in progress: the pages so far and where they go.
struct MultiFrameSave {
    std::vector<std::unique_ptr<Image>> pages;
    String file;
    ComPtr<IStream> stream;
    ULARGE_INTEGER start = 0;
};

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;

bool StartsWith(const std::vector<uint8_t>& b, std::initializer_list<uint8_t> head) {
    return b.size() >= head.size() && std::equal(head.begin(), head.end(), b.begin());
}

int Expand5(int v) { return ((v >> 3) << 3) | (v >> 5); }
int Expand6(int v) { return ((v >> 2) << 2) | (v >> 6); }

// The pixels of a bitmap of the layer, as 32-bit ARGB.
std::shared_ptr<Raster> PixelsOf(TBitmap& bitmap, bool keepAlpha) {
    bitmap.SetPixelFormat(pf32bit);
    auto r = std::make_shared<Raster>();
    r->width = bitmap.Width();
    r->height = bitmap.Height();
    r->pixels.resize(static_cast<size_t>(r->width) * r->height);
    for (int y = 0; y < r->height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < r->width; ++x) {
            const uint8_t* p = row + 4 * x;
            uint32_t a = keepAlpha ? p[3] : 0xFF;
            r->At(x, y) = (a << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        }
    }
    return r;
}

// The distinct colours of the pixels, at most n, padded with black to n.
std::vector<ARGB> PaletteOf(const Raster& r, size_t n) {
    std::vector<ARGB> out;
    for (uint32_t p : r.pixels) {
        if (out.size() >= n) break;
        if (std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
    }
    out.resize(n, 0xFF000000);
    return out;
}

PixelFormat IndexedFormat(int bits) {
    return bits <= 1 ? PixelFormat1bppIndexed : bits <= 4 ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
}

// The pixel format a PNG file declares (its header's bit depth and colour type).
PixelFormat PngFormat(const std::vector<uint8_t>& b) {
    if (b.size() < 26) return PixelFormat32bppARGB;
    int depth = b[24], type = b[25];
    bool transparency = false;
    for (size_t i = 8; i + 8 <= b.size();) {
        uint32_t len = (uint32_t(b[i]) << 24) | (uint32_t(b[i + 1]) << 16) | (uint32_t(b[i + 2]) << 8) | b[i + 3];
        if (std::equal(b.begin() + i + 4, b.begin() + i + 8, "tRNS")) transparency = true;
        if (std::equal(b.begin() + i + 4, b.begin() + i + 8, "IDAT") || len > b.size()) break;
        i += 12 + len;
    }
    switch (type) {
        case 3: return IndexedFormat(depth);
        case 4:
        case 6: return depth == 16 ? PixelFormat64bppARGB : PixelFormat32bppARGB;
        case 2: return transparency ? PixelFormat32bppARGB : depth == 16 ? PixelFormat48bppRGB : PixelFormat24bppRGB;
        default: return transparency ? PixelFormat32bppARGB : depth == 16 ? PixelFormat16bppGrayScale : PixelFormat8bppIndexed;
    }
}

std::unique_ptr<Image> FromRaster(std::shared_ptr<Raster> r, const GUID& raw, PixelFormat format) {
    auto img = std::make_unique<Image>();
    img->rawFormat = raw;
    img->format = format;
    img->pixels = std::move(r);
    if (IsIndexedPixelFormat(format)) img->palette = PaletteOf(*img->pixels, size_t{1} << GetPixelFormatSize(format));
    return img;
}

PixelFormat FormatOfBitmap(TPixelFormat pf) {
    switch (pf) {
        case pf1bit: return PixelFormat1bppIndexed;
        case pf4bit: return PixelFormat4bppIndexed;
        case pf8bit: return PixelFormat8bppIndexed;
        case pf15bit: return PixelFormat16bppRGB555;
        case pf16bit: return PixelFormat16bppRGB565;
        case pf24bit: return PixelFormat24bppRGB;
        default: return PixelFormat32bppRGB;
    }
}

// The bytes, as the decoder their first bytes name reads them; nullptr for anything else.
std::unique_ptr<Image> Decode(const std::vector<uint8_t>& bytes) {
    if (StartsWith(bytes, {'B', 'M'})) {
        TBitmap b;
        b.LoadFromBytes(bytes);
        PixelFormat f = FormatOfBitmap(b.PixelFormat());
        std::vector<TColor> colours = b.Palette();
        std::unique_ptr<Image> img = FromRaster(PixelsOf(b, false), ImageFormatBMP, f);
        if (IsIndexedPixelFormat(f) && !colours.empty()) {
            img->palette.clear();
            for (TColor c : colours) {
                uint32_t rgb = static_cast<uint32_t>(ColorToRGB(c));
                img->palette.push_back(0xFF000000 | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
            }
        }
        return img;
    }
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(bytes);
        return FromRaster(PixelsOf(*jpeg.Bitmap(), false), ImageFormatJPEG, PixelFormat24bppRGB);
    }
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
        TPngImage png;
        png.LoadFromBytes(bytes);
        return FromRaster(PixelsOf(png, true), ImageFormatPNG, PngFormat(bytes));
    }
    if (StartsWith(bytes, {'G', 'I', 'F', '8'})) {
        ui::Backend& backend = ui::GetBackend();
        if (!backend.Supports(ui::Capability::ImageDecoders)) throw ENotImplemented(String("No GIF decoder"));
        TBitmap first;
        if (!backend.Decoders().DecodeGif(bytes.data(), bytes.size(), first)) return nullptr;
        return FromRaster(PixelsOf(first, true), ImageFormatGIF, PixelFormat8bppIndexed);
    }
    if (StartsWith(bytes, {'I', 'I', 42, 0}) || StartsWith(bytes, {'M', 'M', 0, 42})) {
        auto r = std::make_shared<Raster>();
        bool alpha = false;
        if (!Engine().Decode(bytes.data(), bytes.size(), *r, alpha) || r->width <= 0 || r->height <= 0) return nullptr;
        return FromRaster(r, ImageFormatTIFF, alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB);
    }
    if (StartsWith(bytes, {0, 0, 1, 0})) {
        TIcon icon;
        icon.LoadFromBytes(bytes);
        return FromRaster(PixelsOf(*icon.Bitmap(), true), ImageFormatIcon, PixelFormat32bppARGB);
    }
    if (IsMetafile(bytes.data(), bytes.size())) {
        auto meta = std::make_shared<TMetafile>();
        meta->LoadFromBytes(bytes);
        if (meta->Width() <= 0 || meta->Height() <= 0) return nullptr;
        auto img = std::make_unique<Image>();
        img->rawFormat = IsEnhancedMetafile(bytes.data(), bytes.size()) ? ImageFormatEMF : ImageFormatWMF;
        img->format = PixelFormat32bppRGB;
        img->metafile = std::move(meta);
        return img;
    }
    return nullptr;
}

// Everything from the stream's position to its end.
Status ReadStream(IStream* stream, std::vector<uint8_t>& bytes) {
    uint8_t chunk[64 * 1024];
    for (;;) {
        ULONG got = 0;
        if (FAILED(stream->Read(chunk, sizeof chunk, &got))) return Win32Error;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) return Ok;
        if (bytes.size() > kGlobalMaxBlock) return OutOfMemory;
    }
}

Status ReadFile(const WCHAR* filename, std::vector<uint8_t>& bytes) {
    std::ifstream in(String(filename).ToUtf8(), std::ios::binary);
    if (!in) return FileNotFound;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? Win32Error : Ok;
}

Status WriteFile(const String& filename, const std::vector<uint8_t>& bytes) {
    std::ofstream out(filename.ToUtf8(), std::ios::binary | std::ios::trunc);
    if (!out) return Win32Error;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? Ok : Win32Error;
}

Status WriteStream(IStream* stream, ULARGE_INTEGER at, const std::vector<uint8_t>& bytes) {
    if (FAILED(stream->Seek(static_cast<LARGE_INTEGER>(at), STREAM_SEEK_SET, nullptr))) return Win32Error;
    size_t done = 0;
    while (done < bytes.size()) {
        ULONG n = static_cast<ULONG>(std::min<size_t>(bytes.size() - done, 1u << 30)), wrote = 0;
        if (FAILED(stream->Write(bytes.data() + done, n, &wrote)) || wrote == 0) return Win32Error;
        done += wrote;
    }
    return Ok;
}

template <class H>
Status LoadInto(const std::vector<uint8_t>& bytes, H** out, bool bitmapOnly) {
    std::unique_ptr<Image> img;
    Status s = LoadImage(bytes, img);
    if (s != Ok) return s;
    if (bitmapOnly && !img->IsBitmap()) return InvalidParameter;
    return Hand(std::move(img), out);
}

Status LoadStream(IStream* stream, GpImage** image, bool bitmapOnly) {
    return Call([&] {
        if (!stream || !image) return InvalidParameter;
        *image = nullptr;
        std::vector<uint8_t> bytes;
        Status s = ReadStream(stream, bytes);
        if (s != Ok) return s;
        return LoadInto(bytes, image, bitmapOnly);
    });
}

Status LoadFile(const WCHAR* filename, GpImage** image) {
    return Call([&] {
        if (!filename || !image) return InvalidParameter;
        *image = nullptr;
        std::vector<uint8_t> bytes;
        Status s = ReadFile(filename, bytes);
        if (s != Ok) return s;
        return LoadInto(bytes, image, false);
    });
}

template <class F>
Status WithImage(GpImage* handle, F f) {
    return Call([&] {
        Image* img = Find<Image>(handle);
        if (!img) return InvalidParameter;
        return f(*img);
    });
}

template <class F>
Status WithBitmap(GpBitmap* handle, F f) {
    return WithImage(handle, [&](Image& img) { return img.IsBitmap() ? f(img) : InvalidParameter; });
}

// What the parameters ask of a save: a multi-frame flag, a flush, a JPEG quality.
struct SaveFlags {
    bool multiFrame = false;
    bool flush = false;
    bool page = false;
    int quality = 75;
};

Status Parse(const EncoderParameters* params, SaveFlags& flags) {
    if (!params) return Ok;
    const EncoderParameter* p = params->Parameter;
    for (UINT i = 0; i < params->Count; ++i, ++p) {
        if (p->Guid != EncoderQuality && p->Guid != EncoderSaveFlag) continue;
        if (p->NumberOfValues < 1 || !p->Value || p->Type != EncoderParameterValueTypeLong) return InvalidParameter;
        ULONG v = *static_cast<const ULONG*>(p->Value);
        if (p->Guid == EncoderQuality) {
            if (v > 100) return InvalidParameter;
            flags.quality = static_cast<int>(v);
        } else if (v == EncoderValueMultiFrame) {
            flags.multiFrame = true;
        } else if (v == EncoderValueFlush || v == EncoderValueLastFrame) {
            flags.flush = true;
        } else if (v == EncoderValueFrameDimensionPage) {
            flags.page = true;
        } else {
            return InvalidParameter;
        }
    }
    return Ok;
}

// Writes the pages of a multi-frame save again, whole.
Status WritePages(MultiFrameSave& m) {
    std::vector<const Image*> pages;
    for (auto& p : m.pages) pages.push_back(p.get());
    std::vector<uint8_t> bytes = EncodeTiff(pages);
    return m.stream ? WriteStream(m.stream.Get(), m.start, bytes) : WriteFile(m.file, bytes);
}

// Saves to the file or the stream; a multi-frame TIFF save stays open on the image.
Status Save(Image& img, const String* file, IStream* stream, const CLSID* encoder, const EncoderParameters* params) {
    if (!encoder) return InvalidParameter;
    SaveFlags flags;
    Status s = Parse(params, flags);
    if (s != Ok) return s;
    if (flags.multiFrame && *encoder != EncoderClsidTIFF) return InvalidParameter;
    if (flags.multiFrame) {
        auto m = std::make_unique<MultiFrameSave>();
        m->pages.push_back(img.Clone());
        if (stream) {
            m->stream = ComPtr<IStream>(stream);
            if (FAILED(stream->Seek(0, STREAM_SEEK_CUR, &m->start))) return Win32Error;
        } else {
            m->file = *file;
        }
        s = WritePages(*m);
        if (s == Ok) img.saving = std::move(m);
        return s;
    }
    std::vector<uint8_t> bytes;
    s = Encode(img, *encoder, params, bytes);
    if (s != Ok) return s;
    if (stream) {
        ULARGE_INTEGER at = 0;
        if (FAILED(stream->Seek(0, STREAM_SEEK_CUR, &at))) return Win32Error;
        return WriteStream(stream, at, bytes);
    }
    return WriteFile(*file, bytes);
}

}  // namespace

Image::Image() = default;
Image::~Image() = default;

int Image::Width() const { return pixels ? pixels->width : metafile ? metafile->Width() : 0; }
int Image::Height() const { return pixels ? pixels->height : metafile ? metafile->Height() : 0; }

uint32_t Image::Canonical(uint32_t c) const {
    uint32_t a = c >> 24, r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    auto pack = [](uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; };
    switch (format) {
        case PixelFormat32bppARGB:
        case PixelFormat64bppARGB: return c;
        case PixelFormat32bppPARGB:
        case PixelFormat64bppPARGB:
            if (a == 0) return 0;
            // Kept premultiplied: what a channel loses in that form is lost.
            r = std::min<uint32_t>(255, (r * a / 255) * 255 / a), g = std::min<uint32_t>(255, (g * a / 255) * 255 / a);
            b = std::min<uint32_t>(255, (b * a / 255) * 255 / a);
            return pack(a, r, g, b);
        case PixelFormat16bppRGB555: return pack(0xFF, Expand5(r), Expand5(g), Expand5(b));
        case PixelFormat16bppRGB565: return pack(0xFF, Expand5(r), Expand6(g), Expand5(b));
        case PixelFormat16bppARGB1555: return pack(a >= 128 ? 0xFF : 0, Expand5(r), Expand5(g), Expand5(b));
        case PixelFormat16bppGrayScale: {
            uint32_t y = (299 * r + 587 * g + 114 * b + 500) / 1000;
            return pack(0xFF, y, y, y);
        }
        default:
            if (IsIndexedPixelFormat(format)) return NearestInPalette(palette, c);
            return c | 0xFF000000;
    }
}

std::shared_ptr<Raster> Image::Render(int w, int h) const {
    if (pixels) {
        if (format == PixelFormat32bppARGB) return pixels;
        auto copy = std::make_shared<Raster>(*pixels);
        for (uint32_t& p : copy->pixels) p = Canonical(p);
        return copy;
    }
    // A metafile drawn on white and on black: where the two differ, it drew nothing.
    auto r = std::make_shared<Raster>();
    r->width = std::max(1, w);
    r->height = std::max(1, h);
    r->pixels.assign(static_cast<size_t>(r->width) * r->height, 0);
    if (!metafile) return r;
    std::shared_ptr<Raster> layers[2];
    for (int i = 0; i < 2; ++i) {
        TBitmap b(r->width, r->height, pf32bit);
        b.Canvas()->Brush()->SetColor(i ? clBlack : clWhite);
        b.Canvas()->FillRect(TRect(0, 0, r->width, r->height));
        b.Canvas()->StretchDraw(TRect(0, 0, r->width, r->height), metafile.get());
        layers[i] = PixelsOf(b, false);
    }
    for (size_t i = 0; i < r->pixels.size(); ++i)
        r->pixels[i] = layers[0]->pixels[i] == layers[1]->pixels[i] ? layers[0]->pixels[i] : 0;
    return r;
}

std::unique_ptr<Image> Image::Clone() const {
    auto c = std::make_unique<Image>();
    c->rawFormat = rawFormat;
    c->format = format;
    if (pixels) c->pixels = std::make_shared<Raster>(*pixels);
    c->palette = palette;
    c->metafile = metafile;  // never changed once loaded
    return c;
}

bool ValidPixelFormat(PixelFormat f) {
    switch (f) {
        case PixelFormat1bppIndexed: case PixelFormat4bppIndexed: case PixelFormat8bppIndexed:
        case PixelFormat16bppGrayScale: case PixelFormat16bppRGB555: case PixelFormat16bppRGB565:
        case PixelFormat16bppARGB1555: case PixelFormat24bppRGB: case PixelFormat32bppRGB:
        case PixelFormat32bppARGB: case PixelFormat32bppPARGB: case PixelFormat48bppRGB:
        case PixelFormat64bppARGB: case PixelFormat64bppPARGB: return true;
        default: return false;
    }
}

std::vector<ARGB> DefaultPalette(PixelFormat format) {
    if (format == PixelFormat1bppIndexed) return {0xFF000000, 0xFFFFFFFF};
    std::vector<ARGB> out;
    // The 16 colours of the classic system palette, then (8 bits) a 6 x 6 x 6 colour cube and a
    // grey ramp.
    static const ARGB vga[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                 0xFF008080, 0xFF808080, 0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    out.assign(vga, vga + 16);
    if (format == PixelFormat4bppIndexed) return out;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) out.push_back(0xFF000000 | (ARGB(r * 51) << 16) | (ARGB(g * 51) << 8) | ARGB(b * 51));
    for (int i = 0; out.size() < 256; ++i) out.push_back(0xFF000000 | (ARGB(i * 10) * 0x010101));
    return out;
}

ARGB NearestInPalette(const std::vector<ARGB>& palette, ARGB c) {
    ARGB best = palette.empty() ? c : palette[0];
    int bestD = INT32_MAX;
    for (ARGB p : palette) {
        int d = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            int v = int((p >> shift) & 0xFF) - int((c >> shift) & 0xFF);
            d += v * v;
        }
        if (d < bestD) bestD = d, best = p;
    }
    return best;
}

std::unique_ptr<Image> NewBitmap(int width, int height, PixelFormat format) {
    auto r = std::make_shared<Raster>();
    r->width = width;
    r->height = height;
    r->pixels.assign(static_cast<size_t>(width) * height, 0);
    auto img = std::make_unique<Image>();
    img->format = format;
    img->pixels = std::move(r);
    if (IsIndexedPixelFormat(format)) img->palette = DefaultPalette(format);
    return img;
}

Status LoadImage(const std::vector<uint8_t>& bytes, std::unique_ptr<Image>& image) {
    try {
        image = Decode(bytes);
    } catch (const EOutOfMemory&) {
        throw;
    } catch (const ENotImplemented&) {
        throw;
    } catch (const Exception&) {
        // The decoders raise on data that is not what its first bytes promise.
        image.reset();
    }
    return image ? Ok : UnknownImageFormat;
}

}  // namespace detail

using namespace detail;

Status GdipLoadImageFromFile(const WCHAR* filename, GpImage** image) { return LoadFile(filename, image); }
// Colour management has no meaning here: the pictures are taken as their bytes say.
Status GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image) { return LoadFile(filename, image); }
Status GdipLoadImageFromStream(IStream* stream, GpImage** image) { return LoadStream(stream, image, false); }
Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image) { return LoadStream(stream, image, false); }

Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) {
    GpImage* image = nullptr;
    Status s = LoadStream(stream, bitmap ? &image : nullptr, true);
    if (bitmap) *bitmap = static_cast<GpBitmap*>(image);
    return s;
}

Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap) { return GdipCreateBitmapFromStream(stream, bitmap); }

Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0, GpBitmap** bitmap) {
    return Call([&] {
        if (!bitmap || width <= 0 || height <= 0 || !ValidPixelFormat(format)) return InvalidParameter;
        // Pixels in the caller's memory would have to stay in step with drawing: not supported.
        if (scan0 || stride != 0) return NotImplemented;
        if (int64_t{width} * height > kMaxPixels) return OutOfMemory;
        return Hand(NewBitmap(width, height, format), bitmap);
    });
}

Status GdipCloneImage(GpImage* image, GpImage** clone) {
    return WithImage(image, [&](Image& img) { return clone ? Hand(img.Clone(), clone) : InvalidParameter; });
}

Status GdipDisposeImage(GpImage* image) {
    return Call([&] { return Unregister(image, Kind::Image) ? Ok : InvalidParameter; });
}

Status GdipGetImageRawFormat(GpImage* image, GUID* format) {
    return WithImage(image, [&](Image& img) {
        if (!format) return InvalidParameter;
        *format = img.rawFormat;
        return Ok;
    });
}

Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
    return WithImage(image, [&](Image& img) {
        if (!format) return InvalidParameter;
        *format = img.format;
        return Ok;
    });
}

Status GdipGetImageWidth(GpImage* image, UINT* width) {
    return WithImage(image, [&](Image& img) {
        if (!width) return InvalidParameter;
        *width = static_cast<UINT>(img.Width());
        return Ok;
    });
}

Status GdipGetImageHeight(GpImage* image, UINT* height) {
    return WithImage(image, [&](Image& img) {
        if (!height) return InvalidParameter;
        *height = static_cast<UINT>(img.Height());
        return Ok;
    });
}

Status GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                             GetThumbnailImageAbort callback, void* callbackData) {
    return WithImage(image, [&](Image& img) {
        if (!thumbImage) return InvalidParameter;
        if (thumbWidth == 0 && thumbHeight == 0) thumbWidth = thumbHeight = 120;
        if (thumbWidth == 0 || thumbHeight == 0 || int64_t{thumbWidth} * thumbHeight > kMaxPixels) return InvalidParameter;
        if (callback && callback(callbackData)) return Aborted;
        int w = static_cast<int>(thumbWidth), h = static_cast<int>(thumbHeight);
        std::unique_ptr<Image> thumb = NewBitmap(w, h, PixelFormat32bppARGB);
        std::shared_ptr<Raster> source = img.Render(w, h);
        engine::DrawState state;
        state.antialias = true;
        const PointD corners[3] = {{0, 0}, {double(w), 0}, {0, double(h)}};
        GpRectF all{0, 0, static_cast<REAL>(source->width), static_cast<REAL>(source->height)};
        Status s = Engine().DrawImage({nullptr, thumb->pixels.get()}, state, *source, all, corners);
        if (s != Ok) return s;
        return Hand(std::move(thumb), thumbImage);
    });
}

Status GdipImageRotateFlip(GpImage* image, RotateFlipType type) {
    return WithImage(image, [&](Image& img) {
        if (type < RotateNoneFlipNone || type > Rotate270FlipX) return InvalidParameter;
        // A metafile is a list of drawings, not pixels to turn.
        if (!img.IsBitmap()) return NotImplemented;
        Raster& r = *img.pixels;
        int quarter = type & 3;
        bool flip = type & 4;
        Raster out;
        bool swap = quarter & 1;
        out.width = swap ? r.height : r.width;
        out.height = swap ? r.width : r.height;
        out.pixels.resize(r.pixels.size());
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                int nx = x, ny = y;
                // Turned clockwise, then mirrored left to right.
                switch (quarter) {
                    case 1: nx = r.height - 1 - y, ny = x; break;
                    case 2: nx = r.width - 1 - x, ny = r.height - 1 - y; break;
                    case 3: nx = y, ny = r.width - 1 - x; break;
                    default: break;
                }
                if (flip) nx = out.width - 1 - nx;
                out.At(nx, ny) = r.At(x, y);
            }
        r = std::move(out);  // in place: a graphics on the image draws on the turned pixels
        img.rawFormat = ImageFormatMemoryBMP;
        return Ok;
    });
}

Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color) {
    return WithBitmap(bitmap, [&](Image& img) {
        if (!color || x < 0 || y < 0 || x >= img.Width() || y >= img.Height()) return InvalidParameter;
        *color = img.Canonical(img.pixels->At(x, y));
        return Ok;
    });
}

Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color) {
    return WithBitmap(bitmap, [&](Image& img) {
        if (x < 0 || y < 0 || x >= img.Width() || y >= img.Height()) return InvalidParameter;
        img.pixels->At(x, y) = img.Canonical(color);
        return Ok;
    });
}

Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background) {
    return WithBitmap(bitmap, [&](Image& img) {
        if (!hbmReturn) return InvalidParameter;
        int w = img.Width(), h = img.Height();
        auto b = std::make_shared<TBitmap>(w, h, pf32bit);
        uint32_t ba = background >> 24;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = static_cast<uint8_t*>(b->ScanLine(y));
            for (int x = 0; x < w; ++x) {
                uint32_t c = img.Canonical(img.pixels->At(x, y)), a = c >> 24;
                // The pixel over the background colour.
                uint32_t outA = a + ba * (255 - a) / 255;
                for (int k = 0; k < 3; ++k) {
                    int shift = 8 * k;
                    uint32_t cv = (c >> shift) & 0xFF, bv = (background >> shift) & 0xFF;
                    uint32_t v = outA ? (cv * a + bv * ba * (255 - a) / 255) / outA : 0;
                    row[4 * x + k] = static_cast<uint8_t>(std::min<uint32_t>(255, v));
                }
                row[4 * x + 3] = static_cast<uint8_t>(outA);
            }
        }
        b->PixelsChanged();
        HBITMAP handle = b->Handle();
        ui::gdi::Adopt(reinterpret_cast<uintptr_t>(handle), std::move(b));
        *hbmReturn = handle;
        return Ok;
    });
}

Status GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder, const EncoderParameters* encoderParams) {
    return WithImage(image, [&](Image& img) {
        if (!filename) return InvalidParameter;
        String file(filename);
        return Save(img, &file, nullptr, clsidEncoder, encoderParams);
    });
}

Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder, const EncoderParameters* encoderParams) {
    return WithImage(image, [&](Image& img) {
        if (!stream) return InvalidParameter;
        return Save(img, nullptr, stream, clsidEncoder, encoderParams);
    });
}

Status GdipSaveAdd(GpImage* image, const EncoderParameters* encoderParams) {
    return WithImage(image, [&](Image& img) {
        SaveFlags flags;
        Status s = Parse(encoderParams, flags);
        if (s != Ok) return s;
        if (!img.saving) return WrongState;
        if (!flags.flush) return InvalidParameter;
        img.saving.reset();
        return Ok;
    });
}

Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* encoderParams) {
    return WithImage(image, [&](Image& img) {
        Image* page = Find<Image>(newImage);
        if (!page) return InvalidParameter;
        SaveFlags flags;
        Status s = Parse(encoderParams, flags);
        if (s != Ok) return s;
        if (!img.saving) return WrongState;
        img.saving->pages.push_back(page->Clone());
        return WritePages(*img.saving);
    });
}

}  // namespace gdiplus
