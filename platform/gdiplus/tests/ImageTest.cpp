// Images: loading through streams, formats, pixels, saving with every encoder, rotation,
// thumbnails and GDI bitmaps.
#include "platform/gdiplus/tests/GdiPlusTest.h"

#include <random>

#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"

namespace gdiplus_test {
namespace {

// A stream over a copy of the bytes.
ComPtr<IStream> StreamOf(const std::vector<uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    IStream* s = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(block, 1, &s), S_OK);
    return ComPtr<IStream>::Attach(s);
}

std::vector<uint8_t> BytesOf(IStream* stream) {
    HGLOBAL block = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
    ULARGE_INTEGER size = 0;
    stream->Seek(0, STREAM_SEEK_END, &size);
    const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(block));
    std::vector<uint8_t> out(p, p + size);
    GlobalUnlock(block);
    return out;
}

class Images : public GdiPlusTest {
protected:
    // A 7 x 5 picture: a red left half, a translucent blue right half when alpha.
    GpBitmap* Picture(bool alpha) {
        GpBitmap* b = nullptr;
        EXPECT_EQ(GdipCreateBitmapFromScan0(7, 5, 0, PixelFormat32bppARGB, nullptr, &b), Ok);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) GdipBitmapSetPixel(b, x, y, x < 3 ? 0xFFFF0000 : alpha ? 0x800000FF : 0xFF0000FF);
        return b;
    }
    std::vector<uint8_t> Saved(GpImage* image, const CLSID& encoder) {
        ComPtr<IStream> s = StreamOf({});
        EXPECT_EQ(GdipSaveImageToStream(image, s.Get(), &encoder, nullptr), Ok);
        return BytesOf(s.Get());
    }
    GpImage* Loaded(const std::vector<uint8_t>& bytes, Status expected = Ok) {
        GpImage* image = reinterpret_cast<GpImage*>(1);
        ComPtr<IStream> s = StreamOf(bytes);
        EXPECT_EQ(GdipLoadImageFromStream(s.Get(), &image), expected);
        return image;
    }
};

// Each format's data, made by the layer's own encoders or ours, loads with its identifier and
// size.
TEST_F(Images, StreamsOfEachFormatLoadWithTheirFormatAndSize) {
    GpBitmap* picture = Picture(false);
    TBitmap bmp(7, 5, pf24bit);
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        GUID format;
    };
    const Case cases[] = {
        {"png", Saved(picture, EncoderClsidPNG), ImageFormatPNG},
        {"bmp", bmp.SaveToBytes(), ImageFormatBMP},
        {"jpeg", jpeg.SaveToBytes(), ImageFormatJPEG},
        {"gif", Saved(picture, EncoderClsidGIF), ImageFormatGIF},
        {"tiff", Saved(picture, EncoderClsidTIFF), ImageFormatTIFF},
    };
    for (const Case& c : cases) {
        GpImage* image = Loaded(c.bytes);
        ASSERT_NE(image, nullptr) << c.name;
        GUID format;
        ASSERT_EQ(GdipGetImageRawFormat(image, &format), Ok);
        EXPECT_TRUE(format == c.format) << c.name;
        EXPECT_EQ(Width(image), 7u) << c.name;
        EXPECT_EQ(Height(image), 5u) << c.name;
        GdipDisposeImage(image);
    }
}

TEST_F(Images, RandomBytesGiveAFailureAndNoImage) {
    std::mt19937 random(7);
    std::vector<uint8_t> noise(500);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    EXPECT_EQ(Loaded(noise, UnknownImageFormat), nullptr);
    // The start of a PNG and nothing after it.
    EXPECT_EQ(Loaded({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}, UnknownImageFormat), nullptr);
    GpImage* image = nullptr;
    EXPECT_EQ(GdipLoadImageFromStream(nullptr, &image), InvalidParameter);
    EXPECT_EQ(GdipLoadImageFromFile(u"/no/such/file.png", &image), FileNotFound);
}

TEST_F(Images, PixelFormatsReportTheirDepthPaletteAndAlpha) {
    struct Case {
        PixelFormat format;
        UINT depth;
        bool palette, alpha;
    };
    for (Case c : {Case{PixelFormat32bppARGB, 32, false, true}, Case{PixelFormat24bppRGB, 24, false, false},
                   Case{PixelFormat8bppIndexed, 8, true, false}, Case{PixelFormat16bppARGB1555, 16, false, true}}) {
        GpBitmap* b = nullptr;
        ASSERT_EQ(GdipCreateBitmapFromScan0(3, 3, 0, c.format, nullptr, &b), Ok);
        PixelFormat f = 0;
        ASSERT_EQ(GdipGetImagePixelFormat(b, &f), Ok);
        EXPECT_EQ((f >> 8) & 0xFF, c.depth);
        EXPECT_EQ((f & 0x10000) != 0, c.palette);
        EXPECT_EQ((f & 0x40000) != 0, c.alpha);
        GdipDisposeImage(b);
    }
    GpBitmap* b = nullptr;
    EXPECT_EQ(GdipCreateBitmapFromScan0(0, 3, 0, PixelFormat32bppARGB, nullptr, &b), InvalidParameter);
    EXPECT_EQ(GdipCreateBitmapFromScan0(3, 3, 0, 12345, nullptr, &b), InvalidParameter);
}

TEST_F(Images, PixelsRoundTripAndKeepToTheirFormat) {
    GpBitmap* b = Picture(true);
    EXPECT_EQ(GdipBitmapSetPixel(b, 6, 4, 0x12345678), Ok);
    EXPECT_EQ(Pixel(b, 6, 4), 0x12345678u);
    ARGB c = 0;
    EXPECT_EQ(GdipBitmapGetPixel(b, 7, 0, &c), InvalidParameter);
    GpBitmap* rgb = nullptr;
    GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat24bppRGB, nullptr, &rgb);
    GdipBitmapSetPixel(rgb, 1, 1, 0x12345678);
    EXPECT_EQ(Pixel(rgb, 1, 1), 0xFF345678u);  // no alpha to keep
    EXPECT_EQ(Pixel(rgb, 0, 0), 0xFF000000u);
}

TEST_F(Images, AnImageSavedAsPngLoadsBackWithEqualPixels) {
    GpBitmap* b = Picture(true);
    GpImage* back = Loaded(Saved(b, EncoderClsidPNG));
    ASSERT_NE(back, nullptr);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(Pixel(static_cast<GpBitmap*>(back), x, y), Pixel(b, x, y)) << x << "," << y;
    // GIF and TIFF are our own writers: they come back as they were too.
    for (const CLSID& encoder : {EncoderClsidGIF, EncoderClsidTIFF, EncoderClsidBMP}) {
        GpBitmap* opaque = Picture(false);
        GpImage* again = Loaded(Saved(opaque, encoder));
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(Pixel(static_cast<GpBitmap*>(again), 0, 0), 0xFFFF0000u);
        EXPECT_EQ(Pixel(static_cast<GpBitmap*>(again), 6, 4), 0xFF0000FFu);
    }
    CLSID unknown{1, 2, 3, {}};
    ComPtr<IStream> s = StreamOf({});
    EXPECT_EQ(GdipSaveImageToStream(b, s.Get(), &unknown, nullptr), InvalidParameter);
}

TEST_F(Images, AMultiFrameTiffSaveAddsAPagePerImage) {
    GpBitmap* first = Picture(false);
    ComPtr<IStream> s = StreamOf({});
    ULONG multi = EncoderValueMultiFrame, flush = EncoderValueFlush;
    EncoderParameters start;
    start.Count = 1;
    start.Parameter[0] = {EncoderSaveFlag, 1, EncoderParameterValueTypeLong, &multi};
    ASSERT_EQ(GdipSaveImageToStream(first, s.Get(), &EncoderClsidTIFF, &start), Ok);
    GpBitmap* second = Bitmap(3, 3, 0xFF00FF00);
    ASSERT_EQ(GdipSaveAddImage(first, second, nullptr), Ok);
    EncoderParameters end = start;
    end.Parameter[0].Value = &flush;
    ASSERT_EQ(GdipSaveAdd(first, &end), Ok);
    EXPECT_EQ(GdipSaveAddImage(first, second, nullptr), WrongState);
    // The file holds two directories: the first page loads.
    std::vector<uint8_t> bytes = BytesOf(s.Get());
    GpImage* page = Loaded(bytes);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Width(page), 7u);
    uint32_t ifd = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24;
    uint32_t entries = bytes[ifd] | bytes[ifd + 1] << 8;
    size_t next = ifd + 2 + 12 * entries;
    EXPECT_NE(bytes[next] | bytes[next + 1] << 8 | bytes[next + 2] << 16, 0);
}

TEST_F(Images, RotationThumbnailsAndGdiBitmaps) {
    GpBitmap* b = Picture(false);
    ASSERT_EQ(GdipImageRotateFlip(b, Rotate90FlipNone), Ok);
    EXPECT_EQ(Width(b), 5u);
    EXPECT_EQ(Height(b), 7u);
    EXPECT_EQ(Pixel(b, 4, 0), 0xFFFF0000u);  // the top-left corner went to the top right
    EXPECT_EQ(Pixel(b, 0, 6), 0xFF0000FFu);
    GpImage* thumb = nullptr;
    ASSERT_EQ(GdipGetImageThumbnail(b, 10, 14, &thumb, nullptr, nullptr), Ok);
    EXPECT_EQ(Width(thumb), 10u);
    EXPECT_EQ(Height(thumb), 14u);
    HBITMAP handle = nullptr;
    ASSERT_EQ(GdipCreateHBITMAPFromBitmap(b, &handle, 0xFFFFFFFF), Ok);
    TBitmap* gdi = TBitmap::FromHandle(handle);
    ASSERT_NE(gdi, nullptr);
    EXPECT_EQ(gdi->Width(), 5);
    EXPECT_EQ(gdi->Canvas()->Pixels(4, 0), clRed);
    EXPECT_TRUE(DeleteObject(handle));
}

}  // namespace
}  // namespace gdiplus_test
