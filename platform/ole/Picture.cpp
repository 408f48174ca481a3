// The picture loader and the pictures it gives.
#include "platform/ole/Picture.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

namespace {

constexpr int kHimetricPerInch = 2540;
constexpr int kPixelsPerInch = 96;

bool StartsWith(const std::vector<uint8_t>& b, std::initializer_list<uint8_t> head) {
    if (b.size() < head.size()) return false;
    size_t i = 0;
    for (uint8_t h : head)
        if (b[i++] != h) return false;
    return true;
}

class TOlePicture final : public TInterfacedObject<IPicture> {
public:
    TOlePicture(std::unique_ptr<TGraphic> graphic, SHORT type, LONG width, LONG height)
        : FGraphic(std::move(graphic)), FType(type), FWidth(width), FHeight(height) {}

    HRESULT get_Type(SHORT* type) override {
        if (!type) return E_POINTER;
        *type = FType;
        return S_OK;
    }
    HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) override {
        if (!width) return E_POINTER;
        *width = FWidth;
        return S_OK;
    }
    HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) override {
        if (!height) return E_POINTER;
        *height = FHeight;
        return S_OK;
    }

    HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                   OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, const TRect*) override {
        TCanvas* canvas = TCanvas::FromHandle(dc);
        if (!canvas || cxSrc == 0 || cySrc == 0) return E_INVALIDARG;
        if (cx == 0 || cy == 0) return S_OK;
        // The source in the picture's own units (pixels; a metafile's at 96 per inch), rows from
        // the top: the source's vertical axis runs upward from the bottom edge.
        double pw = FGraphic->Width(), ph = FGraphic->Height();
        double left = double(xSrc) * pw / FWidth, right = double(xSrc + double(cxSrc)) * pw / FWidth;
        double top = (FHeight - double(ySrc)) * ph / FHeight;
        double bottom = (FHeight - double(ySrc) - double(cySrc)) * ph / FHeight;
        double sx = double(cx) / (right - left), sy = double(cy) / (bottom - top);
        if (!std::isfinite(sx) || !std::isfinite(sy)) return E_INVALIDARG;
        TRect dest(std::min(x, x + cx), std::min(y, y + cy), std::max(x, x + cx), std::max(y, y + cy));
        if (sx > 0 && sy > 0) {
            // Upright: the whole picture is drawn where the source part lands on dest, clipped
            // to dest, so icons keep their transparency and metafiles stay vectors.
            TRect whole(Coord(x - left * sx), Coord(y - top * sy), Coord(x + (pw - left) * sx), Coord(y + (ph - top) * sy));
            bool clip = whole != dest;
            int saved = clip ? SaveDC(dc) : 0;
            if (clip) IntersectClipRect(dc, dest.Left, dest.Top, dest.Right, dest.Bottom);
            canvas->StretchDraw(whole, FGraphic.get());
            if (clip) RestoreDC(dc, saved);
            return S_OK;
        }
        // Mirrored: a pixel transfer with the source's signs.
        TBitmap* pixels = dynamic_cast<TBitmap*>(FGraphic.get());
        std::unique_ptr<TBitmap> drawn;
        if (!pixels) {
            drawn = std::make_unique<TBitmap>(FGraphic->Width(), FGraphic->Height());
            drawn->Canvas()->StretchDraw(Rect(0, 0, FGraphic->Width(), FGraphic->Height()), FGraphic.get());
            pixels = drawn.get();
        }
        // A negative extent counts back from its start pixel, which is the one before the edge.
        int l = Coord(left), t = Coord(top), sw = Coord(right) - l, sh = Coord(bottom) - t;
        StretchBlt(dc, x, y, cx, cy, pixels->Canvas()->Handle(), sw < 0 ? l - 1 : l, sh < 0 ? t - 1 : t, sw, sh, SRCCOPY);
        return S_OK;
    }

private:
    static int Coord(double v) { return static_cast<int>(std::lround(std::clamp(v, -double(kCanvasCoordLimit), double(kCanvasCoordLimit)))); }

    std::unique_ptr<TGraphic> FGraphic;
    SHORT FType;
    LONG FWidth, FHeight;
};

LONG Himetric(int pixels) { return MulDiv(pixels, kHimetricPerInch, kPixelsPerInch); }

// The rectangle of a GIF file's first image on its logical screen, from the first image
// descriptor after the header, the colour table and the extensions; empty when the file ends first.
TRect GifFirstImageRect(const std::vector<uint8_t>& b) {
    auto word = [&](size_t at) { return at + 1 < b.size() ? b[at] | b[at + 1] << 8 : 0; };
    size_t at = 13;
    if (b.size() > 10 && (b[10] & 0x80)) at += 3u << ((b[10] & 7) + 1);
    while (at < b.size()) {
        if (b[at] == 0x2C) {
            if (at + 9 > b.size()) break;
            int left = word(at + 1), top = word(at + 3);
            return TRect(left, top, left + word(at + 5), top + word(at + 7));
        }
        if (b[at] != 0x21 || at + 1 >= b.size()) break;
        at += 2;  // an extension: its label, then sub-blocks up to an empty one
        while (at < b.size() && b[at] != 0) at += b[at] + 1u;
        ++at;
    }
    return TRect();
}

// The first image in its own rectangle: the backend's decoder gives it placed on the whole
// logical screen, and the picture is the image itself (an animation's later images are
// patches the caller places at their offsets).
void CropToFirstImage(const std::vector<uint8_t>& bytes, TBitmap& image) {
    TRect r = GifFirstImageRect(bytes);
    const TRect whole(0, 0, image.Width(), image.Height());
    if (r.IsEmpty() || r == whole || r.Left < 0 || r.Top < 0 || r.Right > whole.Right || r.Bottom > whole.Bottom) return;
    TBitmap cropped(r.Width(), r.Height(), pf32bit);
    for (int y = 0; y < r.Height(); ++y)
        std::memcpy(cropped.ScanLine(y), static_cast<const uint8_t*>(image.ScanLine(r.Top + y)) + 4 * r.Left,
                    4 * static_cast<size_t>(r.Width()));
    cropped.PixelsChanged();
    image.Assign(&cropped);
}

// The picture in the bytes, or nullptr when they are none the loader reads.
ComPtr<IPicture> Decode(const std::vector<uint8_t>& bytes) {
    std::unique_ptr<TGraphic> graphic;
    SHORT type = PICTYPE_BITMAP;
    if (StartsWith(bytes, {'B', 'M'})) {
        graphic = std::make_unique<TBitmap>();
        graphic->LoadFromBytes(bytes);
    } else if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(bytes);
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->Assign(jpeg.Bitmap());
        graphic = std::move(bitmap);
    } else if (StartsWith(bytes, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(bytes, {'G', 'I', 'F', '8', '9', 'a'})) {
        // Held as an icon's image, which draws with its alpha: the transparent pixels stay so.
        TBitmap first;
        // A backend without decoders reads no GIF.
        ui::Backend& backend = ui::GetBackend();
        if (!backend.Supports(ui::Capability::ImageDecoders)) return nullptr;
        if (!backend.Decoders().DecodeGif(bytes.data(), bytes.size(), first)) return nullptr;
        CropToFirstImage(bytes, first);
        auto image = std::make_unique<TIcon>();
        image->Bitmap()->Assign(&first);
        graphic = std::move(image);
    } else if (StartsWith(bytes, {0, 0, 1, 0})) {
        graphic = std::make_unique<TIcon>();
        graphic->LoadFromBytes(bytes);
        type = PICTYPE_ICON;
    } else if (IsEnhancedMetafile(bytes.data(), bytes.size()) || StartsWith(bytes, {0xD7, 0xCD, 0xC6, 0x9A})) {
        // The older metafile only with its placeable header: without one it has no size.
        type = IsEnhancedMetafile(bytes.data(), bytes.size()) ? PICTYPE_ENHMETAFILE : PICTYPE_METAFILE;
        auto metafile = std::make_unique<TMetafile>();
        metafile->LoadFromBytes(bytes);
        LONG w = metafile->MMWidth(), h = metafile->MMHeight();
        if (w <= 0 || h <= 0) return nullptr;
        return ComPtr<IPicture>(new TOlePicture(std::move(metafile), type, w, h));
    } else {
        return nullptr;
    }
    if (graphic->Width() <= 0 || graphic->Height() <= 0) return nullptr;
    LONG w = Himetric(graphic->Width()), h = Himetric(graphic->Height());
    return ComPtr<IPicture>(new TOlePicture(std::move(graphic), type, w, h));
}

// size bytes from the stream's position, or all that is left for 0.
HRESULT ReadAll(IStream* stream, LONG size, std::vector<uint8_t>& bytes) {
    uint64_t want = size > 0 ? static_cast<uint64_t>(size) : kGlobalMaxBlock;
    // One allocation for what the stream holds: growing by chunks copied a large picture over
    // and over (a GIF animation decodes its file at every step).
    STATSTG stat;
    ULARGE_INTEGER at = 0;
    if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(stream->Seek(0, STREAM_SEEK_CUR, &at)) &&
        stat.cbSize > at)
        bytes.reserve(static_cast<size_t>(std::min<uint64_t>(want, stat.cbSize - at)));
    uint8_t buffer[64 * 1024];
    while (bytes.size() < want) {
        ULONG chunk = static_cast<ULONG>(std::min<uint64_t>(sizeof buffer, want - bytes.size()));
        ULONG got = 0;
        HRESULT hr = stream->Read(buffer, chunk, &got);
        if (FAILED(hr)) return hr;
        if (got == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return S_OK;
}

}  // namespace

HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL, REFIID iid, void** picture) {
    if (!picture) return E_POINTER;
    *picture = nullptr;
    if (!stream) return E_POINTER;
    if (iid != IID_IPicture && iid != IID_IUnknown) return E_NOINTERFACE;
    std::vector<uint8_t> bytes;
    ComPtr<IPicture> result;
    try {
        HRESULT hr = ReadAll(stream, size, bytes);
        if (FAILED(hr)) return hr;
        result = Decode(bytes);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const Exception&) {
        // The decoders raise on data that is not what its first bytes promise.
        result.Reset();
    }
    if (!result) return CTL_E_INVALIDPICTURE;
    return result->QueryInterface(iid, picture);
}
