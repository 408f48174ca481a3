// Pictures through the class library's streams: read from Position to the end, written at Position.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Jpeg.h"

namespace {

class GraphicStreams : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        src.SetPixelFormat(pf24bit);
        src.SetSize(16, 12);
        TCanvas* c = src.Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, 16, 12));
        c->Brush()->SetColor(clRed);
        c->FillRect(Rect(0, 0, 8, 6));
        c->Brush()->SetColor(clBlue);
        c->FillRect(Rect(8, 6, 16, 12));
    }
    // A stream with a prefix before the picture and a suffix after it, positioned at the picture.
    static int64_t WritePrefix(TMemoryStream& s) {
        s.WriteBuffer("HEAD", 4);
        return s.Position();
    }
    TBitmap src;
};

TEST_F(GraphicStreams, BitmapRoundTripsFromThePositionAndWritesAtIt) {
    TMemoryStream s;
    int64_t start = WritePrefix(s);
    TGraphic* g = &src;  // through the base class as well as the derived one
    g->SaveToStream(&s);
    int64_t end = s.Position();
    EXPECT_GT(end, start);
    EXPECT_EQ(s.Size(), end);
    EXPECT_EQ(std::memcmp(s.Memory(), "HEAD", 4), 0);  // the prefix is untouched
    EXPECT_EQ(static_cast<const char*>(s.Memory())[start], 'B');

    s.SetPosition(start);
    TBitmap back;
    back.LoadFromStream(&s);
    EXPECT_EQ(s.Position(), end);
    ASSERT_EQ(back.Width(), 16);
    ASSERT_EQ(back.Height(), 12);
    for (auto [x, y] : {std::pair{1, 1}, {7, 5}, {8, 6}, {15, 11}, {12, 2}})
        EXPECT_EQ(back.Canvas()->Pixels(x, y), src.Canvas()->Pixels(x, y)) << x << "," << y;

    // A picture tells the format by the bytes and writes the graphic's own format.
    s.SetPosition(start);
    TPicture pic;
    pic.LoadFromStream(&s);
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 16);
    TMemoryStream again;
    pic.SaveToStream(&again);
    EXPECT_EQ(again.Size(), end - start);
    EXPECT_EQ(std::memcmp(again.Memory(), static_cast<const char*>(s.Memory()) + start, static_cast<size_t>(end - start)), 0);
}

TEST_F(GraphicStreams, JpegRoundTripsThroughAMemoryStreamAndAPicture) {
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(100);
    jpeg.Assign(&src);
    TMemoryStream s;
    int64_t start = WritePrefix(s);
    jpeg.SaveToStream(&s);
    ASSERT_GT(s.Size(), start + 2);
    EXPECT_EQ(static_cast<const uint8_t*>(s.Memory())[start], 0xFF);
    EXPECT_EQ(static_cast<const uint8_t*>(s.Memory())[start + 1], 0xD8);

    s.SetPosition(start);
    TJPEGImage back;
    back.LoadFromStream(&s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(back.Width(), 16);
    EXPECT_EQ(back.Height(), 12);
    TBitmap decoded;
    decoded.Assign(&back);
    // Lossy, but flat areas keep their colour closely.
    TColor c = decoded.Canvas()->Pixels(2, 2);
    EXPECT_GT(GetRValue(c), 230);
    EXPECT_LT(GetGValue(c), 25);
    EXPECT_LT(GetBValue(c), 25);

    s.SetPosition(start);
    TPicture pic;
    pic.LoadFromStream(&s);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Height(), 12);
}

TEST_F(GraphicStreams, UnknownOrDamagedDataIsRefused) {
    TMemoryStream s;
    s.WriteBuffer("not a picture", 13);
    s.SetPosition(0);
    TPicture pic;
    EXPECT_THROW(pic.LoadFromStream(&s), EInvalidGraphic);
    EXPECT_EQ(pic.Graphic(), nullptr);
    TMemoryStream truncated;
    truncated.WriteBuffer("BM\x10\0", 4);
    truncated.SetPosition(0);
    TBitmap b;
    EXPECT_ANY_THROW(b.LoadFromStream(&truncated));
    // An empty picture writes nothing.
    TMemoryStream out;
    pic.SaveToStream(&out);
    EXPECT_EQ(out.Size(), 0);
}

}  // namespace
