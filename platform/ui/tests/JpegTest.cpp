// JPEG save and load through libjpeg.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

extern "C" {
#include <jpeglib.h>
}

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Jpeg.h"

namespace {

// A picture with flat areas, edges and a gradient.
void Paint(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(64, 48);
    TCanvas* c = b.Canvas();
    for (int y = 0; y < 48; ++y) {
        auto* row = static_cast<uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < 64; ++x) {
            row[3 * x] = static_cast<uint8_t>(x * 4);
            row[3 * x + 1] = static_cast<uint8_t>(y * 5);
            row[3 * x + 2] = 128;
        }
    }
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(8, 8, 24, 24));
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(40, 20, 56, 40));
}

// Decodes with libjpeg directly, independent of TJPEGImage.
std::vector<uint8_t> DecodeRgb(const std::vector<uint8_t>& data, int& w, int& h, int& comps) {
    jpeg_decompress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    w = static_cast<int>(info.output_width);
    h = static_cast<int>(info.output_height);
    comps = info.output_components;
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * comps);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.data() + static_cast<size_t>(info.output_scanline) * w * comps;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

TEST(Jpeg, QualityHundredDecodesNearIdentical) {
    qtb::EnsureApplication();
    TBitmap src;
    Paint(src);
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(100);
    jpeg.Assign(&src);
    auto bytes = jpeg.SaveToBytes();
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    int w, h, comps;
    auto rgb = DecodeRgb(bytes, w, h, comps);
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    ASSERT_EQ(comps, 3);
    int maxDiff = 0;
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const uint8_t*>(src.ScanLine(y));
        for (int x = 0; x < w; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                int expect = row[3 * x + 2 - ch];  // BGR in the bitmap, RGB from libjpeg
                maxDiff = std::max(maxDiff, std::abs(expect - rgb[(static_cast<size_t>(y) * w + x) * 3 + ch]));
            }
    }
    EXPECT_LE(maxDiff, 6);
}

TEST(Jpeg, LowerQualityIsSmallerAndLoadsBack) {
    TBitmap src;
    Paint(src);
    TJPEGImage hi, lo;
    hi.SetCompressionQuality(100);
    lo.SetCompressionQuality(20);
    hi.Assign(&src);
    lo.Assign(&src);
    auto big = hi.SaveToBytes(), small = lo.SaveToBytes();
    EXPECT_LT(small.size(), big.size());
    TJPEGImage back;
    back.LoadFromBytes(small);
    EXPECT_EQ(back.Width(), 64);
    EXPECT_EQ(back.Height(), 48);
    TBitmap out;
    out.Assign(&back);
    TColor red = out.Canvas()->Pixels(16, 16);
    EXPECT_GT(GetRValue(static_cast<COLORREF>(red)), 180);
    EXPECT_LT(GetGValue(static_cast<COLORREF>(red)), 80);
}

TEST(Jpeg, GrayscaleAndScale) {
    TBitmap src;
    Paint(src);
    TJPEGImage jpeg;
    jpeg.SetGrayscale(true);
    jpeg.Assign(&src);
    auto bytes = jpeg.SaveToBytes();
    int w, h, comps;
    DecodeRgb(bytes, w, h, comps);
    EXPECT_EQ(comps, 1);
    TJPEGImage back;
    back.LoadFromBytes(bytes);
    back.SetScale(jsHalf);
    EXPECT_EQ(back.Width(), 32);
    back.DIBNeeded();
    TColor c = back.Bitmap()->Canvas()->Pixels(8, 8);
    EXPECT_EQ(GetRValue(static_cast<COLORREF>(c)), GetGValue(static_cast<COLORREF>(c)));
}

TEST(Jpeg, DrawsOntoACanvas) {
    TBitmap src;
    Paint(src);
    TJPEGImage jpeg;
    jpeg.Assign(&src);
    TBitmap target(100, 100);
    target.Canvas()->StretchDraw(Rect(0, 0, 32, 24), &jpeg);
    TColor c = target.Canvas()->Pixels(8, 8);  // the red square at half size
    EXPECT_GT(GetRValue(static_cast<COLORREF>(c)), 180);
    EXPECT_EQ(target.Canvas()->Pixels(50, 50), clWhite);
}

TEST(Jpeg, DamagedDataIsRefusedWithAnException) {
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromBytes({1, 2, 3, 4}), EJPEG);
    TBitmap src;
    Paint(src);
    TJPEGImage ok;
    ok.Assign(&src);
    auto bytes = ok.SaveToBytes();
    bytes.resize(bytes.size() - 50);  // header intact, data cut
    TJPEGImage cut;
    cut.LoadFromBytes(bytes);
    EXPECT_EQ(cut.Width(), 64);
    // libjpeg pads a truncated stream with a warning; the picture still decodes to its size.
    cut.DIBNeeded();
    EXPECT_EQ(cut.Bitmap()->Height(), 48);
    std::vector<uint8_t> junk = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x12, 0x34};
    EXPECT_THROW(jpeg.LoadFromBytes(junk), EJPEG);
    TJPEGImage empty;
    EXPECT_THROW(empty.SaveToBytes(), EInvalidGraphicOperation);
}

// A header may claim any size up to 65500 by 65500 in a few bytes: beyond what one decode may hold,
// the image is refused at load instead of taking gigabytes at the first paint. Two megabytes of
// zeros after the coded data give the bytes a first scan of these sizes needs at the least, so
// the budget is what decides here.
TEST(Jpeg, ForgedHugeSizeIsRefusedBeforeDecoding) {
    TBitmap src;
    Paint(src);
    TJPEGImage ok;
    ok.Assign(&src);
    const std::vector<uint8_t> bytes = ok.SaveToBytes();
    size_t sof = 0;
    for (size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) { sof = i; break; }
    ASSERT_NE(sof, 0u);
    auto withSize = [&](int w, int h) {
        std::vector<uint8_t> v = bytes;
        v[sof + 5] = static_cast<uint8_t>(h >> 8);
        v[sof + 6] = static_cast<uint8_t>(h);
        v[sof + 7] = static_cast<uint8_t>(w >> 8);
        v[sof + 8] = static_cast<uint8_t>(w);
        v.insert(v.end() - 2, size_t{2} << 20, 0);
        return v;
    };
    TJPEGImage forged;
    EXPECT_THROW(forged.LoadFromBytes(withSize(60000, 60000)), EJPEG);
    EXPECT_THROW(forged.LoadFromBytes(withSize(16384, 16384)), EJPEG);
    // 512 MiB of 24-bit rows 16384 pixels wide: 10922 of them fit, 10923 do not (only the header
    // is read here).
    try {
        forged.LoadFromBytes(withSize(16384, 10923));
        ADD_FAILURE() << "loaded";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), String("JPEG error: Image is too large"));
    }
    TJPEGImage largest;
    largest.LoadFromBytes(withSize(16384, 10922));
    EXPECT_EQ(largest.Width(), 16384);
    EXPECT_EQ(largest.Height(), 10922);
}

}  // namespace
