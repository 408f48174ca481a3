#pragma once
// What the tests of the GDI+ wrappers and the GDI+ picture share: a look at a wrapper's handle and
// status, small image files made with the layer's own graphics classes, and streams over bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ole/Stream.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "render/AdvGDIP.h"

// The handle and the status field of a wrapper, which the classes keep protected.
struct TGPInspect {
    static const void* Handle(const TGPRegion& w) { return w.nativeRegion; }
    static const void* Handle(const TGPImageAttributes& w) { return w.nativeImageAttr; }
    static const void* Handle(const TGPFontFamily& w) { return w.nativeFamily; }
    static const void* Handle(const TGPFont& w) { return w.nativeFont; }
    static const void* Handle(const TGPBrush& w) { return w.nativeBrush; }
    static const void* Handle(const TGPPen& w) { return w.nativePen; }
    static const void* Handle(const TGPStringFormat& w) { return w.nativeFormat; }
    static const void* Handle(const TGPGraphicsPath& w) { return w.nativePath; }
    static const void* Handle(const TGPImage& w) { return w.nativeImage; }
    static const void* Handle(const TGPMatrix& w) { return w.nativeMatrix; }
    static const void* Handle(const TGPGraphics& w) { return w.nativeGraphics; }
    static gdiplus::Status Last(const TGPRegion& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPImageAttributes& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPFontFamily& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPFont& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPBrush& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPPen& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPStringFormat& w) { return w.lastError; }
    static gdiplus::Status Last(const TGPGraphicsPath& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPImage& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPMatrix& w) { return w.lastResult; }
    static gdiplus::Status Last(const TGPGraphics& w) { return w.lastResult; }
};

namespace gdip_test {

using Bytes = std::vector<uint8_t>;

// A picture of w x h: a red left half and a blue right half on a green top row, so that both
// the size and the orientation show.
inline void Paint(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(TRect(0, 0, w / 2, h));
    c->Brush()->SetColor(clBlue);
    c->FillRect(TRect(w / 2, 0, w, h));
    c->Brush()->SetColor(clLime);
    c->FillRect(TRect(0, 0, w, 1));
}

inline Bytes PngFile(int w, int h) {
    TPngImage png;
    png.SetPixelFormat(pf32bit);
    Paint(png, w, h);
    return png.SaveToBytes();
}

inline Bytes BmpFile(int w, int h) {
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    Paint(bmp, w, h);
    return bmp.SaveToBytes();
}

inline Bytes JpegFile(int w, int h) {
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    Paint(bmp, w, h);
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    return jpeg.SaveToBytes();
}

// A stream over a copy of the bytes, at position 0; the caller releases it.
inline IStream* StreamOn(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) {
        void* at = GlobalLock(block);
        std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(at));
        GlobalUnlock(block);
    }
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(block, 1, &stream), S_OK);
    return stream;
}

// An image decoded from the bytes.
inline std::unique_ptr<TGPImage> ImageOf(const Bytes& bytes) {
    IStream* stream = StreamOn(bytes);
    auto image = std::make_unique<TGPImage>(stream);
    stream->Release();
    return image;
}

}  // namespace gdip_test
