// Bitmaps over the backend's pixel store, .bmp and PNG files, embedded bitmap resources and icons.
#include "platform/ui/GraphicsBmp.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/GdiHandles.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Pixels.h"

namespace gfx {

namespace {
int MaskShift(uint32_t m) {
    int s = 0;
    while (m && !(m & 1)) { m >>= 1; ++s; }
    return s;
}
int MaskBits(uint32_t m) {
    m >>= MaskShift(m);
    int n = 0;
    while (m & 1) { m >>= 1; ++n; }
    return n;
}
uint8_t Channel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int bits = MaskBits(mask);
    uint32_t x = (v & mask) >> MaskShift(mask);
    if (bits >= 8) return static_cast<uint8_t>(x >> (bits - 8));
    return static_cast<uint8_t>((x * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1));
}
[[noreturn]] void Bad(const char* why) { throw EInvalidGraphic(String("Bitmap image is not valid: ") + why); }

// The fields of a DIB header that say where its colour table and pixels are.
struct DibLayout {
    uint32_t headerSize = 0;
    int32_t width = 0, height = 0;
    int bpp = 0;
    uint32_t compression = 0;
    size_t entrySize = 4;    // bytes of a colour table entry
    size_t colorsAt = 0;     // where the colour table starts (after the bit-field masks)
    size_t colors = 0;       // entries in the colour table
};

DibLayout ReadLayout(const uint8_t* data, size_t size) {
    if (size < 12) Bad("header too short");
    DibLayout l;
    l.headerSize = Get32(data);
    uint32_t clrUsed = 0;
    if (l.headerSize == 12) {
        l.width = Get16(data + 4);
        l.height = static_cast<int16_t>(Get16(data + 6));
        l.bpp = Get16(data + 10);
        l.entrySize = 3;
    } else if (l.headerSize >= 40 && l.headerSize <= size) {
        l.width = static_cast<int32_t>(Get32(data + 4));
        l.height = static_cast<int32_t>(Get32(data + 8));
        l.bpp = Get16(data + 14);
        l.compression = Get32(data + 16);
        clrUsed = Get32(data + 32);
    } else {
        Bad("unknown header");
    }
    l.colorsAt = l.headerSize;
    if (l.compression == 3 && l.headerSize == 40) l.colorsAt += 12;  // the masks follow the short header
    if (l.bpp >= 1 && l.bpp <= 8) l.colors = clrUsed && clrUsed <= (1u << l.bpp) ? clrUsed : (1u << l.bpp);
    return l;
}
}  // namespace

size_t DibBitsOffset(const uint8_t* data, size_t size) {
    DibLayout l = ReadLayout(data, size);
    return l.colorsAt + l.colors * l.entrySize;
}

void DecodeDib(const uint8_t* data, size_t size, size_t bitsOffset, TBitmap& out, bool icon,
               std::vector<uint8_t>* andMask) {
    DibLayout l = ReadLayout(data, size);
    uint32_t hs = l.headerSize;
    int32_t w = l.width, h = l.height;
    int bpp = l.bpp;
    uint32_t compression = l.compression;
    size_t entrySize = l.entrySize;
    bool topDown = h < 0;
    if (h == INT32_MIN) Bad("bad size");  // has no positive counterpart
    if (topDown) h = -h;
    if (icon) h /= 2;
    if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > (1 << 28)) Bad("bad size");
    if (compression != 0 && compression != 3) Bad("compressed bitmaps are not supported");
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bpp == 32) { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
    size_t pos = l.colorsAt;
    if (compression == 3) {
        if (hs == 40) {
            if (size < 52) Bad("missing masks");
        } else if (hs < 52) {
            Bad("missing masks");  // the header is too short to hold them
        }
        for (int i = 0; i < 3; ++i) masks[i] = Get32(data + 40 + 4 * i);
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Bad("unsupported bit count");
    size_t colors = l.colors;
    if (pos + colors * entrySize > size) Bad("colour table truncated");
    std::vector<TColor> palette;
    for (size_t i = 0; i < colors; ++i) {
        const uint8_t* e = data + pos + i * entrySize;
        palette.push_back(static_cast<TColor>(RGB(e[2], e[1], e[0])));
    }
    pos += colors * entrySize;
    if (bitsOffset) pos = bitsOffset;
    size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    if (pos > size || stride * h > size - pos) Bad("pixel data truncated");
    const uint8_t* bits = data + pos;

    TPixelFormat fmt = bpp == 1 ? pf1bit : bpp <= 8 ? pf8bit : bpp == 32 ? pf32bit : pf24bit;
    out.Assign(nullptr);
    out.SetPixelFormat(fmt);
    out.SetSize(w, h);
    if (bpp <= 8) {
        while (palette.size() < (1u << bpp)) palette.push_back(clBlack);
        out.SetPalette(palette);
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = bits + stride * static_cast<size_t>(topDown ? y : h - 1 - y);
        auto* dst = static_cast<uint8_t*>(out.ScanLine(y));
        switch (bpp) {
            case 1: std::memcpy(dst, src, (static_cast<size_t>(w) + 7) / 8); break;
            case 4:
                for (int x = 0; x < w; ++x) dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
                break;
            case 8: std::memcpy(dst, src, static_cast<size_t>(w)); break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    uint32_t v = Get16(src + 2 * x);
                    dst[3 * x] = Channel(v, masks[2]);
                    dst[3 * x + 1] = Channel(v, masks[1]);
                    dst[3 * x + 2] = Channel(v, masks[0]);
                }
                break;
            case 24: std::memcpy(dst, src, static_cast<size_t>(w) * 3); break;
            case 32:
                if (compression == 0) {
                    std::memcpy(dst, src, static_cast<size_t>(w) * 4);
                } else {
                    for (int x = 0; x < w; ++x) {
                        uint32_t v = Get32(src + 4 * x);
                        dst[4 * x] = Channel(v, masks[2]);
                        dst[4 * x + 1] = Channel(v, masks[1]);
                        dst[4 * x + 2] = Channel(v, masks[0]);
                        dst[4 * x + 3] = 0xFF;
                    }
                }
                break;
        }
    }
    if (bpp == 4) out.SetPixelFormat(pf4bit);
    if (icon && andMask) {
        size_t mstride = ((static_cast<size_t>(w) + 31) / 32) * 4;
        const uint8_t* mbits = bits + stride * h;
        andMask->clear();
        if (static_cast<size_t>(mbits - data) + mstride * h <= size) {
            for (int y = 0; y < h; ++y) {
                const uint8_t* row = mbits + mstride * static_cast<size_t>(topDown ? y : h - 1 - y);
                andMask->insert(andMask->end(), row, row + mstride);
            }
        }
    }
    out.PixelsChanged();
}

std::vector<uint8_t> EncodeDib(TBitmap& source, size_t* headerSize) {
    TBitmap* bmp = &source;
    TBitmap copy;
    TPixelFormat pf = source.PixelFormat();
    if (pf == pf4bit || pf == pf15bit || pf == pf16bit || pf == pfCustom) {
        copy.Assign(&source);
        copy.SetPixelFormat(pf == pf4bit ? pf8bit : pf24bit);
        bmp = &copy;
        pf = copy.PixelFormat();
    }
    int w = bmp->Width(), h = bmp->Height();
    int bpp = pf == pf1bit ? 1 : pf == pf8bit ? 8 : pf == pf32bit ? 32 : 24;
    std::vector<TColor> palette;
    if (bpp <= 8) palette = bmp->Palette();
    size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    std::vector<uint8_t> v;
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(w));
    Put32(v, static_cast<uint32_t>(h));
    Put16(v, 1);
    Put16(v, static_cast<uint32_t>(bpp));
    Put32(v, 0);
    Put32(v, static_cast<uint32_t>(stride * h));
    Put32(v, 3780);  // 96 pixels per inch
    Put32(v, 3780);
    Put32(v, static_cast<uint32_t>(palette.size()));
    Put32(v, 0);
    for (TColor c : palette) {
        int32_t rgb = ColorToRGB(c);
        v.push_back(GetBValue(static_cast<COLORREF>(rgb)));
        v.push_back(GetGValue(static_cast<COLORREF>(rgb)));
        v.push_back(GetRValue(static_cast<COLORREF>(rgb)));
        v.push_back(0);
    }
    if (headerSize) *headerSize = v.size();
    for (int y = h - 1; y >= 0; --y) {
        const auto* src = static_cast<const uint8_t*>(bmp->ScanLine(y));
        size_t start = v.size();
        if (pf == pfDevice) {
            for (int x = 0; x < w; ++x) v.insert(v.end(), src + 4 * x, src + 4 * x + 3);
        } else {
            v.insert(v.end(), src, src + bmp->BytesPerScanLine());
        }
        v.resize(start + stride, 0);
    }
    return v;
}

}  // namespace gfx

using namespace gfx;

// TBitmap ---------------------------------------------------------------------------------------

TBitmap::TBitmap() { FHandle = ui::gdi::Add(ui::gdi::Kind::Bitmap, this); }

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
    FPixelFormat = format;
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    ui::gdi::Remove(FHandle);
    FCanvas.reset();
    for (TCanvas* c : FAttached) {
        c->FTarget = nullptr;
        if (c->FImpl) c->FImpl->SurfaceGone();
    }
}

TBitmap* TBitmap::FromHandle(HBITMAP handle) { return ui::gdi::Find<TBitmap>(handle, ui::gdi::Kind::Bitmap); }

ui::PixelStore& TBitmap::Store() const {
    if (!FStore) FStore = ui::GetBackend().CreatePixelStore(FPixelFormat);
    return *FStore;
}

void TBitmap::AttachCanvas(TCanvas* canvas) { FAttached.push_back(canvas); }
void TBitmap::DetachCanvas(TCanvas* canvas) {
    FAttached.erase(std::remove(FAttached.begin(), FAttached.end(), canvas), FAttached.end());
}

int TBitmap::Width() const { return FStore ? FStore->Width() : 0; }
int TBitmap::Height() const { return FStore ? FStore->Height() : 0; }
void TBitmap::SetWidth(int value) { SetSize(value, Height()); }
void TBitmap::SetHeight(int value) { SetSize(Width(), value); }

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height()) return;
    Store().SetSize(width, height);
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
    return FCanvas.get();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == FPixelFormat) return;
    FPixelFormat = value;
    if (FStore) FStore->SetFormat(value);
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value) SetPixelFormat(pf1bit);
    else if (Monochrome()) SetPixelFormat(pfDevice);
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clDefault;
    return Store().Pixel(0, Height() - 1);
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
    return Store().ScanLine(row);
}

int TBitmap::BytesPerScanLine() const {
    int w = Width();
    switch (FPixelFormat) {
        case pf1bit: return (w + 7) / 8;
        case pf4bit: return (w + 1) / 2;
        case pf8bit: return w;
        case pf15bit:
        case pf16bit: return w * 2;
        case pf24bit: return w * 3;
        default: return w * 4;
    }
}

std::vector<TColor> TBitmap::Palette() const { return FStore ? FStore->Palette() : std::vector<TColor>(); }

void TBitmap::SetPalette(const std::vector<TColor>& colors) {
    if (FStore && FStore->SetPalette(colors)) Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        if (FStore) FStore->Clear();
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
        if (b == this) return;
        FPixelFormat = b->FPixelFormat;
        Store().CopyFrom(b->Store());
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        FHandleType = b->FHandleType;
        TGraphic::SetTransparent(b->Transparent());
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        auto* graphic = const_cast<TGraphic*>(g);
        if (FStore) FStore->Clear();
        if (FPixelFormat == pf1bit) {
            FPixelFormat = pfDevice;
            if (FStore) FStore->SetFormat(pfDevice);
        }
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

// .bmp files ------------------------------------------------------------------------------------

void TBitmap::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M') throw EInvalidGraphic(String("Bitmap image is not valid"));
    uint32_t offset = Get32(b.data() + 10);
    if (offset < 14 || offset > b.size()) throw EInvalidGraphic(String("Bitmap image is not valid"));
    DecodeDib(b.data() + 14, b.size() - 14, offset - 14, *this);
}

void TBitmap::SaveToStream(std::ostream& stream) {
    size_t header = 0;
    std::vector<uint8_t> dib = Empty() ? std::vector<uint8_t>() : EncodeDib(*this, &header);
    if (dib.empty()) throw EInvalidGraphicOperation(String("Cannot save an empty bitmap"));
    std::vector<uint8_t> fh;
    fh.push_back('B');
    fh.push_back('M');
    Put32(fh, static_cast<uint32_t>(14 + dib.size()));
    Put32(fh, 0);
    Put32(fh, static_cast<uint32_t>(14 + header));
    stream.write(reinterpret_cast<const char*>(fh.data()), static_cast<std::streamsize>(fh.size()));
    stream.write(reinterpret_cast<const char*>(dib.data()), static_cast<std::streamsize>(dib.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}

void TBitmap::LoadFromResourceName(uintptr_t, const String& name) {
    const std::vector<uint8_t>* res = FindResource(name);
    if (!res) throw EResNotFound(String("Resource ") + name + " not found");
    if (res->size() >= 2 && (*res)[0] == 'B' && (*res)[1] == 'M') LoadFromBytes(*res);
    else DecodeDib(res->data(), res->size(), 0, *this);
}

// PNG files ----------------------------------------------------------------------------------------

void TPngImage::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    SetPixelFormat(pf32bit);
    if (!ui::GetBackend().PngCodec().Decode(bytes, Store())) throw EInvalidGraphic(String("Not a PNG image"));
    PixelsChanged();
}

void TPngImage::SaveToStream(std::ostream& stream) {
    std::vector<uint8_t> data = ui::GetBackend().PngCodec().Encode(Store());
    if (data.empty()) throw EInvalidGraphicOperation(String("Cannot write PNG image"));
    stream.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}

// Icons -----------------------------------------------------------------------------------------

TIcon::TIcon() : FBitmap(std::make_unique<TBitmap>()) { FBitmap->SetPixelFormat(pf32bit); }
TIcon::~TIcon() = default;

int TIcon::Width() const { return FBitmap->Width(); }
int TIcon::Height() const { return FBitmap->Height(); }
void TIcon::SetWidth(int value) { FBitmap->SetWidth(value); Changed(); }
void TIcon::SetHeight(int value) { FBitmap->SetHeight(value); Changed(); }

void TIcon::Assign(const TPersistent* Source) {
    if (!Source) {
        FBitmap->Assign(nullptr);
        Changed();
        return;
    }
    if (auto* i = dynamic_cast<const TIcon*>(Source)) {
        if (i != this) {
            FBitmap->Assign(i->FBitmap.get());
            Changed();
        }
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    canvas->DrawBitmapImpl(rect, FBitmap.get(), Rect(0, 0, Width(), Height()), false, clNone, true);
}

void TIcon::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    auto bad = [] { throw EInvalidGraphic(String("Icon image is not valid")); };
    if (b.size() < 6 || Get16(b.data()) != 0 || (Get16(b.data() + 2) != 1 && Get16(b.data() + 2) != 2)) bad();
    int count = Get16(b.data() + 4);
    if (count < 1 || 6 + 16 * static_cast<size_t>(count) > b.size()) bad();
    // The largest image, the deepest colour among equals.
    int best = -1;
    long bestScore = -1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = b.data() + 6 + 16 * i;
        long w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        long score = w * h * 64 + Get16(e + 6);
        if (score > bestScore) { bestScore = score; best = i; }
    }
    const uint8_t* e = b.data() + 6 + 16 * best;
    uint32_t len = Get32(e + 8), off = Get32(e + 12);
    if (off > b.size() || len > b.size() - off || len < 8) bad();
    const uint8_t* data = b.data() + off;
    if (data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') {
        TPngImage png;
        png.LoadFromBytes(std::vector<uint8_t>(data, data + len));
        FBitmap->Assign(&png);
        FBitmap->SetPixelFormat(pf32bit);
        Changed();
        return;
    }
    TBitmap xorImage;
    std::vector<uint8_t> mask;
    DecodeDib(data, len, 0, xorImage, true, &mask);
    bool hadAlpha = false;
    if (xorImage.PixelFormat() == pf32bit) {
        for (int y = 0; y < xorImage.Height() && !hadAlpha; ++y) {
            const auto* row = static_cast<const uint8_t*>(xorImage.ScanLine(y));
            for (int x = 0; x < xorImage.Width(); ++x)
                if (row[4 * x + 3]) { hadAlpha = true; break; }
        }
    }
    FBitmap->Assign(&xorImage);
    FBitmap->SetPixelFormat(pf32bit);
    if (!hadAlpha) {
        int w = FBitmap->Width();
        size_t mstride = ((static_cast<size_t>(w) + 31) / 32) * 4;
        for (int y = 0; y < FBitmap->Height(); ++y) {
            auto* row = static_cast<uint8_t*>(FBitmap->ScanLine(y));
            for (int x = 0; x < w; ++x) {
                bool transparent = mask.size() >= mstride * (y + 1) &&
                                   (mask[mstride * y + x / 8] & (0x80 >> (x % 8)));
                row[4 * x + 3] = transparent ? 0 : 0xFF;
            }
        }
    }
    FBitmap->PixelsChanged();
    Changed();
}

void TIcon::SaveToStream(std::ostream& stream) {
    if (Empty()) throw EInvalidGraphicOperation(String("Cannot save an empty icon"));
    int w = Width(), h = Height();
    TBitmap img;
    img.Assign(FBitmap.get());
    img.SetPixelFormat(pf32bit);
    size_t mstride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    std::vector<uint8_t> dib;
    Put32(dib, 40);
    Put32(dib, static_cast<uint32_t>(w));
    Put32(dib, static_cast<uint32_t>(h * 2));
    Put16(dib, 1);
    Put16(dib, 32);
    Put32(dib, 0);
    Put32(dib, static_cast<uint32_t>(w * h * 4 + mstride * h));
    for (int i = 0; i < 4; ++i) Put32(dib, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = static_cast<const uint8_t*>(img.ScanLine(y));
        dib.insert(dib.end(), row, row + 4 * w);
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = static_cast<const uint8_t*>(img.ScanLine(y));
        std::vector<uint8_t> m(mstride, 0);
        for (int x = 0; x < w; ++x)
            if (row[4 * x + 3] == 0) m[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        dib.insert(dib.end(), m.begin(), m.end());
    }
    std::vector<uint8_t> v;
    Put16(v, 0);
    Put16(v, 1);
    Put16(v, 1);
    v.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
    v.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
    v.push_back(0);
    v.push_back(0);
    Put16(v, 1);
    Put16(v, 32);
    Put32(v, static_cast<uint32_t>(dib.size()));
    Put32(v, 22);
    v.insert(v.end(), dib.begin(), dib.end());
    stream.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}
