// Damaged and forged picture files (kept under tests/data): each loads or is refused quickly and
// within a bounded amount of memory, and what loads draws what it holds.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

#if defined(__SANITIZE_ADDRESS__)
#define RWB_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RWB_ASAN 1
#endif
#endif
#ifdef RWB_ASAN
// The sanitizer runtime's count of the heap in use (its malloc replaces glibc's).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using gfx::Get32;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
    std::string path = std::string(RWB_TEST_DATA_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The most memory the process has held at once since the last ResetPeakMiB, in MiB.
long PeakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// Sets the process's high-water mark back to what it holds now and returns that: a measure starts
// here, not at the peak of an earlier test of the same program, which would hide a smaller one.
long ResetPeakMiB() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    if (!clear) ADD_FAILURE() << "cannot reset the memory high-water mark";
    return PeakMiB();
}

// Bytes of the heap in use now.
size_t HeapInUse() {
#ifdef RWB_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

int CountPixels(TBitmap& b, TColor color) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixels(x, y) == color) ++n;
    return n;
}

class HostilePictures : public ::testing::Test {
protected:
    void SetUp() override { qtb::EnsureApplication(); }
};

// A 1 x 1 bitmap stretched over tens of thousands of pixels of a 64 x 48 picture (an EMF, and a
// placeable WMF whose units are scaled up four times): only the part the target shows is made.
TEST_F(HostilePictures, StretchedBitmapMakesOnlyWhatTheTargetShows) {
    for (const char* name : {"emf-stretch-huge.emf", "wmf-stretch-huge.wmf"}) {
        SCOPED_TRACE(name);
        TMetafile mf;
        mf.LoadFromBytes(Fixture(name));
        EXPECT_EQ(mf.Width(), 64);
        TBitmap target(64, 48, pf24bit);
        long before = ResetPeakMiB();
        target.Canvas()->Draw(0, 0, &mf);
        EXPECT_LT(PeakMiB() - before, 64);
        EXPECT_EQ(CountPixels(target, clRed), 64 * 48);
        // The bitmap reaches far to the right of and below the picture: drawn below and right of
        // the target, it has nothing to make and draws nothing.
        TBitmap other(64, 48, pf24bit);
        other.Canvas()->StretchDraw(Rect(64, 48, 128, 96), &mf);
        EXPECT_EQ(CountPixels(other, clWhite), 64 * 48);
    }
}

// A font thirty thousand pixels high is held to the target's size: its text shows, quickly.
TEST_F(HostilePictures, HugeFontHeightIsHeldToTheTarget) {
    TMetafile mf;
    mf.LoadFromBytes(Fixture("emf-font-huge.emf"));
    TBitmap target(64, 48, pf24bit);
    long before = ResetPeakMiB();
    target.Canvas()->Draw(0, 0, &mf);
    EXPECT_LT(PeakMiB() - before, 64);
    EXPECT_GT(CountPixels(target, clRed), 64);
}

// A rectangle reaching 2^27 in a picture one pixel wide, drawn 64 times larger: the mapped edges
// leave the int range; held to the canvas's, the rectangle covers the target.
TEST_F(HostilePictures, ScaledUpRectangleIsHeldToTheCanvasRange) {
    TMetafile mf;
    mf.LoadFromBytes(Fixture("emf-rect-scaled.emf"));
    TBitmap target(64, 48, pf24bit);
    target.Canvas()->StretchDraw(Rect(0, 0, 64, 48), &mf);
    EXPECT_EQ(CountPixels(target, clRed), 64 * 48);
}

// Bitmap bits that start inside the colour table the header describes (and after a gap past it):
// the WMF written from the EMF places them where its reader looks, and shows the same picture.
TEST_F(HostilePictures, BitsOffsetSurvivesTheStepToTheOlderFormat) {
    for (const char* name : {"emf-bits-in-colours.emf", "emf-bits-after-gap.emf"}) {
        SCOPED_TRACE(name);
        TMetafile emf;
        emf.LoadFromBytes(Fixture(name));
        TBitmap expected(64, 48, pf24bit);
        expected.Canvas()->Draw(0, 0, &emf);
        for (TColor c : {clRed, clLime, clBlue, clBlack}) EXPECT_GT(CountPixels(expected, c), 100);

        TMetafile wmf;
        ASSERT_NO_THROW(wmf.LoadFromBytes(emf.WmfBytes()));
        TBitmap shown(64, 48, pf24bit);
        shown.Canvas()->Draw(0, 0, &wmf);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(shown.Canvas()->Pixels(x, y), expected.Canvas()->Pixels(x, y)) << x << "," << y;

        // Written back as EMF, the record's header and colours are the DIB's own (40 + 16 x 4).
        std::vector<uint8_t> again = wmf.EmfBytes();
        size_t found = 0;
        for (size_t pos = 0; pos + 8 <= again.size(); pos += Get32(again.data() + pos + 4))
            if (Get32(again.data() + pos) == 81) found = pos;  // the stretch-bitmap record
        ASSERT_NE(found, 0u);
        EXPECT_EQ(Get32(again.data() + found + 8 + 44), 40u + 16 * 4);
    }
}

// A stream holding a WMF without the placeable header is told from its own header.
TEST_F(HostilePictures, PictureStreamReadsAWmfWithoutThePlaceableHeader) {
    std::vector<uint8_t> bytes = Fixture("plain.wmf");
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    TPicture picture;
    ASSERT_NO_THROW(picture.LoadFromStream(&stream));
    ASSERT_NE(dynamic_cast<TMetafile*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 48);
    TBitmap target(64, 48, pf24bit);
    target.Canvas()->Draw(0, 0, picture.Graphic());
    EXPECT_EQ(target.Canvas()->Pixels(30, 20), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);
}

// A tall red picture whose data ends half way: cut there, ended there by the end marker, or, for a
// progressive file, cut half way through its first scan. The decode stops where the data ends,
// keeps the rows it made and leaves the rest blank instead of inventing grey rows.
TEST_F(HostilePictures, JpegDecodeStopsWhereTheDataEnds) {
    for (const char* name : {"jpeg-tall-cut.jpg", "jpeg-tall-short-scan.jpg", "jpeg-progressive-cut.jpg"}) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(Fixture(name));
        ASSERT_EQ(jpeg.Height(), 2048);
        TBitmap* b = jpeg.Bitmap();
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->Height(), 2048);
        TColor top = b->Canvas()->Pixels(5, 5);
        EXPECT_GT(GetRValue(static_cast<COLORREF>(top)), 200);
        EXPECT_LT(GetGValue(static_cast<COLORREF>(top)), 60);
        int red = 0, white = 0;
        for (int y = 0; y < 2048; ++y) {
            TColor c = b->Canvas()->Pixels(16, y);
            if (c == clWhite) ++white;
            else if (GetRValue(static_cast<COLORREF>(c)) > 200 && GetGValue(static_cast<COLORREF>(c)) < 60) ++red;
        }
        EXPECT_GT(red, 256);
        EXPECT_GT(white, 256);
        EXPECT_GE(red + white, 2048 - 16) << "more than the row of blocks where the data ends is neither";
        EXPECT_EQ(b->Canvas()->Pixels(16, 2047), clWhite);
    }
}

// The decode budget counts the bitmap and the library's working memory: 16384 x 16384 (an
// 876-byte file) and a progressive 12000 x 12000, whose coefficients alone take 400 MB, are
// refused when their headers are read.
TEST_F(HostilePictures, JpegBeyondTheDecodeBudgetIsRefusedAtLoad) {
    for (const char* name : {"jpeg-huge-cut.jpg", "jpeg-progressive-huge.jpg"}) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        long before = ResetPeakMiB();
        EXPECT_THROW(jpeg.LoadFromBytes(Fixture(name)), EJPEG);
        EXPECT_LT(PeakMiB() - before, 16);
        // Nothing refused is kept, so a smaller scale cannot decode it after all.
        EXPECT_TRUE(jpeg.Empty());
        jpeg.SetScale(jsEighth);
        TBitmap target(64, 48, pf24bit);
        EXPECT_NO_THROW(target.Canvas()->Draw(0, 0, &jpeg));
    }
}

// Headers that claim 8192 x 8192 (201 MB of bitmap, inside the budget) in under 900 bytes, whose
// first scan needs at least 393 KB of coded data: one cut short, one without quantisation tables
// (which failed only once decoding, at every paint). Both are refused when the header is read,
// before the bitmap is made.
TEST_F(HostilePictures, JpegWhoseDataCannotHoldItsSizeIsRefusedAtLoad) {
    for (const char* name : {"jpeg-unbacked-8192.jpg", "jpeg-no-dqt.jpg"}) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        long before = ResetPeakMiB();
        try {
            jpeg.LoadFromBytes(Fixture(name));
            ADD_FAILURE() << "loaded as " << jpeg.Width() << " x " << jpeg.Height();
            TBitmap target(64, 48, pf24bit);
            target.Canvas()->Draw(0, 0, &jpeg);
        } catch (const EJPEG& e) {
            EXPECT_NE(e.Message().ToUtf8().find("data"), std::string::npos) << e.Message();
        }
        EXPECT_LT(PeakMiB() - before, 16);
        EXPECT_TRUE(jpeg.Empty());
    }
}

// No quantisation tables and a claimed 2048 x 1536 (small enough to be taken on the header's
// word): every paint fails, and none leaves its pixel buffer behind.
TEST_F(HostilePictures, FailedJpegDecodeFreesWhatItTook) {
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(Fixture("jpeg-no-dqt-small.jpg"));
    EXPECT_EQ(jpeg.Width(), 2048);
    TBitmap target(64, 48, pf24bit);
    EXPECT_THROW(target.Canvas()->Draw(0, 0, &jpeg), EJPEG);
    size_t before = HeapInUse();
    for (int i = 0; i < 2; ++i) EXPECT_THROW(target.Canvas()->Draw(0, 0, &jpeg), EJPEG);
    EXPECT_LT(HeapInUse(), before + (4u << 20));
}

}  // namespace
