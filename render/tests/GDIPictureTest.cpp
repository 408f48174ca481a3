// The GDI+ picture: loading from files, streams, resources and references, the form-stream data,
// assignment, and drawing on canvases and through GDI+.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/win/GlobalMemory.h"
#include "platform/win/Resources.h"
#include "render/GDIPicture.h"
#include "render/tests/DrawTestSupport.h"
#include "render/tests/GdipTestSupport.h"

namespace {

using namespace gdip_test;
using render_test::kMarker;
using render_test::Sheet;

// A file in the temporary folder, removed with the object.
struct TempFile {
    std::string path;
    TempFile(const char* name, const Bytes& bytes)
        : path((std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + name)).string()) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { std::filesystem::remove(path); }
    String Name() const { return String(path); }
};

// The events a picture raises, in order: "clear" and "change".
struct Events {
    std::vector<std::string> seen;
    explicit Events(TGDIPPicture& p) {
        p.OnClear = [this](TObject*) { seen.push_back("clear"); };
        p.OnChange = [this](TPersistent*) { seen.push_back("change"); };
    }
};

Bytes BytesOf(TGDIPPicture& p) {
    TMemoryStream out;
    p.SaveToStream(&out);
    const auto* at = static_cast<const uint8_t*>(out.Memory());
    return Bytes(at, at + out.Size());
}

void Write(TStream& stream, const Bytes& bytes) { stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }

// The picture drawn every way it draws: on the sheet's canvas, and through a graphics on a
// bitmap at its own size and scaled.
void DrawEveryWay(TGDIPPicture& p, Sheet& s, TGPGraphics& g) {
    s.Canvas()->StretchDraw(TRect(0, 0, s.bitmap.Width(), s.bitmap.Height()), &p);
    p.DrawImage(&g, 0, 0);
    p.DrawImageRect(&g, 0, 0, 10, 10);
}

// Every pixel of the sheet still the marker.
bool Untouched(Sheet& s) { return s.Where([](TColor c) { return c != kMarker; }).empty(); }

TEST(GDIPicture, ANewPictureIsEmptyAndDrawsNothing) {
    TGDIPPicture p;
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.Height(), 0);
    EXPECT_FALSE(p.GetImageSizes());
    Sheet s(20, 20);
    TGPBitmap b(20, 20);
    TGPGraphics g(&b);
    DrawEveryWay(p, s, g);
    EXPECT_TRUE(Untouched(s));
    EXPECT_EQ(TGPInspect::Last(g), gdiplus::Ok);  // no call reached GDI+

    p.LoadFromStream(nullptr);
    p.SaveToStream(static_cast<TStream*>(nullptr));
    p.ReadData(nullptr);
    p.WriteData(nullptr);
    EXPECT_TRUE(p.Empty());
    p.LoadFromBytes(PngFile(16, 8));
    p.SetWidth(100);
    p.SetHeight(100);
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(p.Height(), 8);
}

TEST(GDIPicture, LoadFromFileKeepsTheBytesOfAnyFileItCanRead) {
    TempFile png("pic16x8.png", PngFile(16, 8));
    TempFile junk("junk.png", Bytes(64, 'j'));
    struct Row {
        const char* what;
        String file;
        bool empty;
        int width, height;
        std::vector<std::string> events;
        String fileName;
    } rows[] = {
        {"a missing file", String("/no/such/dir/picture.png"), true, 0, 0, {}, String()},
        {"undecodable bytes", junk.Name(), false, 0, 0, {"clear", "change"}, junk.Name()},
        {"a 16 x 8 PNG", png.Name(), false, 16, 8, {"clear", "change"}, png.Name()},
    };
    for (const Row& r : rows) {
        TGDIPPicture p;
        Events e(p);
        EXPECT_NO_THROW(p.LoadFromFile(r.file)) << r.what;
        EXPECT_EQ(p.Empty(), r.empty) << r.what;
        EXPECT_EQ(p.Width(), r.width) << r.what;
        EXPECT_EQ(p.Height(), r.height) << r.what;
        EXPECT_EQ(e.seen, r.events) << r.what;
        EXPECT_EQ(p.GetFileName(), r.fileName) << r.what;
        Sheet s(24, 24);
        s.Canvas()->StretchDraw(TRect(0, 0, 24, 24), &p);
        EXPECT_EQ(Untouched(s), r.width == 0) << r.what;
    }
    // A handler that raises is swallowed and leaves the picture empty.
    TGDIPPicture p;
    p.OnClear = [](TObject*) { throw Exception(String("handler failed")); };
    EXPECT_NO_THROW(p.LoadFromFile(png.Name()));
    EXPECT_TRUE(p.Empty());
}

TEST(GDIPicture, LoadFromURLTakesAResourceOrAFileByItsPrefix) {
    Bytes logo = PngFile(16, 8);
    win::RegisterResource(RT_RCDATA, String("LOGO"), 0, logo.data(), logo.size());
    TempFile file("url.png", PngFile(10, 6));
    struct Row {
        String url;
        int width;  // 0: nothing loaded
    } rows[] = {
        {String("res://LOGO"), 16},
        {String("RES://logo"), 16},
        {String("file://") + file.Name(), 10},
        {String("FiLe://") + file.Name(), 10},
        {String("res://NOLOGO"), 0},
        {String("res://"), 0},
        {String("file://"), 0},
        {String("http://LOGO"), 0},
        {String("LOGO"), 0},
        {String(), 0},
    };
    for (const Row& r : rows) {
        TGDIPPicture p;
        Events e(p);
        EXPECT_NO_THROW(p.LoadFromURL(r.url)) << r.url.ToUtf8();
        EXPECT_EQ(p.Width(), r.width) << r.url.ToUtf8();
        EXPECT_EQ(p.Empty(), r.width == 0) << r.url.ToUtf8();
        EXPECT_EQ(e.seen.empty(), r.width == 0) << r.url.ToUtf8();
    }
}

TEST(GDIPicture, StreamsAndFormDataCarryTheBytesUnchanged) {
    Bytes png = PngFile(16, 8);
    TMemoryStream in;
    Write(in, png);  // the position now stands at the end
    TGDIPPicture p;
    Events e(p);
    p.LoadFromStream(&in);
    EXPECT_EQ(BytesOf(p), png);
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(e.seen, std::vector<std::string>{"change"});

    TMemoryStream out;
    Write(out, Bytes{1, 2, 3});
    p.SaveToStream(&out);  // at the position
    EXPECT_EQ(out.Size(), static_cast<int64_t>(png.size() + 3));

    TMemoryStream form;
    p.WriteData(&form);
    TGDIPPicture q;
    Events eq(q);
    q.ReadData(&form);
    EXPECT_EQ(BytesOf(q), png);
    EXPECT_FALSE(q.Empty());
    EXPECT_EQ(q.Width(), 0);  // no size update
    EXPECT_TRUE(eq.seen.empty());
    // An empty form value is an empty picture.
    TMemoryStream nothing;
    q.ReadData(&nothing);
    EXPECT_TRUE(q.Empty());

    win::RegisterResource(RT_RCDATA, String(), 4711, png.data(), png.size());
    TGDIPPicture r;
    r.LoadFromResourceID(HInstance, 4711);
    EXPECT_EQ(r.Height(), 8);
    EXPECT_THROW(r.LoadFromResourceID(HInstance, 4712), EResNotFound);
    r.LoadFromResourceName(HInstance, String("NO_SUCH_RESOURCE"));
    EXPECT_EQ(r.Height(), 8);
}

TEST(GDIPicture, AssignTakesTheBytesOfPicturesAndBitmaps) {
    Bytes png = PngFile(16, 8);
    TGDIPPicture source;
    source.LoadFromBytes(png);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    Paint(bitmap, 6, 4);
    TPicture platform;
    platform.SetGraphic(&bitmap);
    TPicture nothing;
    TGDIPPicture emptySource;
    TFont other;
    struct Row {
        const char* what;
        const TPersistent* source;
        Bytes bytes;
        bool empty;
        int width;
        std::vector<std::string> events;
    } rows[] = {
        {"nil", nullptr, Bytes(), true, 16, {"change", "clear"}},
        {"a GDI+ picture", &source, png, false, 16, {"change"}},
        {"an empty GDI+ picture", &emptySource, Bytes(), true, 16, {"change"}},
        {"a bitmap", &bitmap, bitmap.SaveToBytes(), false, 6, {"change"}},
        {"a platform picture", &platform, bitmap.SaveToBytes(), false, 6, {"change"}},
        {"a platform picture without a graphic", &nothing, Bytes(), true, 16, {"change"}},
        // Anything else: the bytes and the size stay, the picture is marked empty.
        {"a font", &other, png, true, 16, {}},
    };
    for (const Row& r : rows) {
        TGDIPPicture p;
        p.LoadFromBytes(png);
        Events e(p);
        p.Assign(r.source);
        EXPECT_EQ(BytesOf(p), r.bytes) << r.what;
        EXPECT_EQ(p.Empty(), r.empty) << r.what;
        EXPECT_EQ(e.seen, r.events) << r.what;
        EXPECT_EQ(p.Width(), r.width) << r.what;
    }
}

// A BMP is drawn by the platform's bitmap, stretched, its bottom-left pixel's colour (red)
// transparent.
TEST(GDIPicture, ABitmapFileDrawsTransparentAtItsBottomLeftColour) {
    TGDIPPicture p;
    p.LoadFromBytes(BmpFile(8, 4));
    Sheet s(40, 20);
    s.Canvas()->StretchDraw(TRect(4, 2, 36, 18), &p);
    EXPECT_EQ(s.At(10, 12), kMarker);    // red: transparent
    EXPECT_EQ(s.At(30, 12), clBlue);     // the right half
    EXPECT_EQ(s.At(10, 3), clLime);      // the top row, stretched to four
    EXPECT_EQ(s.At(10, 5), clLime);
    EXPECT_EQ(s.At(10, 6), kMarker);
    EXPECT_EQ(s.At(35, 17), clBlue);
    EXPECT_EQ(s.At(36, 17), kMarker);    // nothing past the rectangle
    EXPECT_EQ(s.At(30, 18), kMarker);
}

TEST(GDIPicture, AJpegIsScaledIntoTheRectangleAndGivesTheSize) {
    TGDIPPicture p;
    TMemoryStream form;
    Write(form, JpegFile(16, 8));
    p.ReadData(&form);
    ASSERT_EQ(p.Width(), 0);
    Sheet s(60, 40);
    s.Canvas()->StretchDraw(TRect(10, 10, 42, 26), &p);
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(p.Height(), 8);
    auto near = [](TColor c, TColor want) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((c >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 40) return false;
        return true;
    };
    EXPECT_TRUE(near(s.At(16, 20), clRed)) << std::hex << s.At(16, 20);
    EXPECT_TRUE(near(s.At(36, 20), clBlue)) << std::hex << s.At(36, 20);
    EXPECT_EQ(s.At(9, 20), kMarker);
    EXPECT_EQ(s.At(42, 20), kMarker);
    EXPECT_EQ(s.At(20, 26), kMarker);
    EXPECT_EQ(s.At(20, 9), kMarker);
}

// The picture's pixels drawn through GDI+: at their own size, and scaled.
TEST(GDIPicture, DrawImageAndDrawImageRectGoThroughAGraphics) {
    TGDIPPicture p;
    p.LoadFromBytes(PngFile(16, 8));
    auto ink = [](TGPBitmap& b) {
        std::vector<int> box{99, 99, -1, -1};
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                ARGB c = 0;
                b.GetPixel(x, y, c);
                if (c == 0xFFFFFFFF) continue;
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
            }
        return box;
    };
    TGPBitmap natural(60, 40), scaled(60, 40);
    TGPGraphics gn(&natural), gs(&scaled);
    gn.Clear(0xFFFFFFFF);
    gs.Clear(0xFFFFFFFF);
    p.DrawImage(&gn, 3, 2);
    p.DrawImageRect(&gs, 5, 4, 32, 16);
    EXPECT_EQ(ink(natural), (std::vector<int>{3, 2, 19, 10}));
    EXPECT_EQ(ink(scaled), (std::vector<int>{5, 4, 37, 20}));
    ARGB c = 0;
    natural.GetPixel(4, 6, c);
    EXPECT_EQ(c, 0xFFFF0000u);
    scaled.GetPixel(33, 12, c);
    EXPECT_EQ(c, 0xFF0000FFu);
}

// Every decode copies the bytes into one block of global memory, which its stream frees.
TEST(GDIPicture, EachDecodeReleasesItsGlobalBlock) {
    for (const Bytes& file : {PngFile(16, 8), BmpFile(8, 4), JpegFile(16, 8)}) {
        TGDIPPicture p;
        p.LoadFromBytes(file);
        size_t live = win::LiveGlobalBlocks();
        size_t handles = gdiplus::GdipLiveObjects();
        Sheet s(30, 30);
        TGPBitmap b(30, 30);
        TGPGraphics g(&b);
        DrawEveryWay(p, s, g);
        EXPECT_TRUE(p.GetImageSizes());
        EXPECT_EQ(win::LiveGlobalBlocks(), live);
        EXPECT_EQ(gdiplus::GdipLiveObjects(), handles + 2);  // the bitmap and its graphics
    }
}

}  // namespace
