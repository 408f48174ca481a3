// The picture loader: what it reads, the sizes it reports, what it refuses, and how pictures draw.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/ole/Picture.h"
#include "platform/ole/testing/GifBytes.h"
#include "platform/ole/tests/PictureLoad.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"
#include "platform/win/Resources.h"

namespace {

using oletest::Load;
using oletest::Resource;

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00A000, kYellow = 0x00FFFF;

// A 30 x 16 picture in the fixtures' quadrant colours.
TBitmap* Quadrants(TBitmap& b) {
    b.SetSize(30, 16);
    TCanvas* c = b.Canvas();
    const TColor colours[4] = {kRed, kBlue, kGreen, kYellow};
    for (int q = 0; q < 4; ++q) {
        c->Brush()->SetColor(colours[q]);
        c->FillRect(Rect((q % 2) * 15, (q / 2) * 8, (q % 2) * 15 + 15, (q / 2) * 8 + 8));
    }
    return &b;
}

std::vector<uint8_t> JpegBytes() {
    TBitmap b;
    TJPEGImage jpeg;
    jpeg.Assign(Quadrants(b));
    return jpeg.SaveToBytes();
}

std::vector<uint8_t> MetafileBytes(bool enhanced) {
    TMetafile m;
    m.SetWidth(50);
    m.SetHeight(25);
    {
        TMetafileCanvas c(&m);
        c.Brush()->SetColor(kRed);
        c.FillRect(Rect(0, 0, 25, 25));
        c.Brush()->SetColor(kBlue);
        c.FillRect(Rect(25, 0, 50, 25));
    }
    return enhanced ? m.EmfBytes() : m.WmfBytes();
}

TBitmap* White(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    return &b;
}

bool Near(TColor a, TColor b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 24) return false;
    return true;
}

TEST(PictureTest, ReadsEachFormatWithItsTypeAndSizeInHundredthsOfAMillimetre) {
    std::vector<uint8_t> emf = MetafileBytes(true), wmf = MetafileBytes(false);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        SHORT type;
        LONG width, height;
    } cases[] = {
        {"BMP 40 x 20", Resource("LOGO"), PICTYPE_BITMAP, 1058, 529},
        {"JPEG 30 x 16", JpegBytes(), PICTYPE_BITMAP, 794, 423},
        {"GIF 30 x 10, first of two images", Resource("FRAMES"), PICTYPE_BITMAP, 794, 265},
        {"icon 16 x 16", Resource("QUADICON"), PICTYPE_ICON, 423, 423},
        {"EMF 50 x 25", emf, PICTYPE_ENHMETAFILE, 1323, 661},
        {"placeable WMF 50 x 25", wmf, PICTYPE_METAFILE, 1323, 661},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HRESULT hr = E_FAIL;
        ComPtr<IPicture> p = Load(c.bytes, &hr);
        ASSERT_EQ(hr, S_OK);
        ASSERT_TRUE(p);
        SHORT type = 0;
        LONG w = 0, h = 0;
        EXPECT_EQ(p->get_Type(&type), S_OK);
        EXPECT_EQ(p->get_Width(&w), S_OK);
        EXPECT_EQ(p->get_Height(&h), S_OK);
        EXPECT_EQ(type, c.type);
        EXPECT_NEAR(w, c.width, c.type >= PICTYPE_METAFILE && c.type != PICTYPE_ICON ? 27 : 0);
        EXPECT_NEAR(h, c.height, c.type >= PICTYPE_METAFILE && c.type != PICTYPE_ICON ? 27 : 0);
    }
}

TEST(PictureTest, AGifIsItsFirstImageInThatImagesOwnRectangle) {
    // A 12 x 6 red patch at (5, 4) of a 40 x 20 screen, then a blue image of the whole screen.
    ComPtr<IPicture> p = Load(ole::test::GifFile(40, 20, {{5, 4, 12, 6, 10, 1}, {0, 0, 40, 20, 10, 3}}));
    ASSERT_TRUE(p);
    LONG w = 0, h = 0;
    p->get_Width(&w);
    p->get_Height(&h);
    EXPECT_EQ(w, MulDiv(12, 2540, 96));
    EXPECT_EQ(h, MulDiv(6, 2540, 96));
    TBitmap target;
    ASSERT_EQ(p->Render(White(target, 12, 6)->Canvas()->Handle(), 0, 0, 12, 6, 0, h, w, -h, nullptr), S_OK);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), kRed);
    EXPECT_EQ(target.Canvas()->Pixels(11, 5), kRed);
}

TEST(PictureTest, RefusesWhatItDoesNotReadAndGivesNoPicture) {
    std::mt19937 random(7);
    std::vector<uint8_t> noise(300);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    std::vector<uint8_t> png;
    if (HRSRC r = FindResource(HInstance, "QUADPNG", "PNG")) {
        const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(HInstance, r)));
        png.assign(p, p + SizeofResource(HInstance, r));
    }
    ASSERT_FALSE(png.empty());
    std::vector<uint8_t> cutBmp = Resource("LOGO");
    cutBmp.resize(30);
    std::vector<uint8_t> cutGif = Resource("FRAMES");
    cutGif.resize(20);
    std::vector<uint8_t> jpegHeadOnly = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10};
    for (const auto& bytes : {png, noise, cutBmp, cutGif, jpegHeadOnly, std::vector<uint8_t>{}}) {
        HRESULT hr = S_OK;
        ComPtr<IPicture> p = Load(bytes, &hr);
        EXPECT_EQ(hr, CTL_E_INVALIDPICTURE);
        EXPECT_FALSE(p);
    }
}

TEST(PictureTest, ReadsOnlyTheBytesAskedForAndAnswersOnlyForItsInterfaces) {
    std::vector<uint8_t> logo = Resource("LOGO");
    std::vector<uint8_t> two = logo;
    two.insert(two.end(), {'t', 'a', 'i', 'l'});
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE_, &s), S_OK);
    s->Write(two.data(), static_cast<ULONG>(two.size()), nullptr);
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    void* out = nullptr;
    ASSERT_EQ(OleLoadPicture(s, static_cast<LONG>(logo.size()), FALSE_, IID_IUnknown, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    ULARGE_INTEGER pos = 0;
    s->Seek(0, STREAM_SEEK_CUR, &pos);
    EXPECT_EQ(pos, logo.size());
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(OleLoadPicture(s, 0, FALSE_, IID_IStream, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(OleLoadPicture(nullptr, 0, FALSE_, IID_IPicture, &out), E_POINTER);
    s->Release();
}

TEST(PictureTest, RenderScalesTheSourceRectangleIntoTheTarget) {
    ComPtr<IPicture> logo = Load(Resource("LOGO"));
    ASSERT_TRUE(logo);
    LONG w = 0, h = 0;
    logo->get_Width(&w);
    logo->get_Height(&h);
    TBitmap target;
    HDC dc = White(target, 100, 60)->Canvas()->Handle();

    // The whole picture upright, twice its size, at (10, 10).
    ASSERT_EQ(logo->Render(dc, 10, 10, 80, 40, 0, h, w, -h, nullptr), S_OK);
    struct Probe {
        int x, y;
        TColor colour;
    } whole[] = {{10, 10, kRed}, {49, 29, kRed}, {50, 10, kBlue}, {89, 29, kBlue}, {10, 30, kGreen},
                 {49, 49, kGreen}, {50, 30, kYellow}, {89, 49, kYellow}, {9, 10, clWhite}, {90, 49, clWhite},
                 {89, 50, clWhite}, {10, 9, clWhite}};
    for (const Probe& p : whole) EXPECT_EQ(target.Canvas()->Pixels(p.x, p.y), p.colour) << p.x << "," << p.y;

    // The right half of the picture fills the target; nothing of the left half shows.
    White(target, 100, 60);
    ASSERT_EQ(logo->Render(dc, 0, 0, 40, 40, w / 2 + 1, h, w / 2, -h, nullptr), S_OK);
    for (const Probe& p : {Probe{0, 0, kBlue}, Probe{39, 19, kBlue}, Probe{0, 20, kYellow}, Probe{39, 39, kYellow},
                           Probe{40, 0, clWhite}, Probe{0, 40, clWhite}})
        EXPECT_EQ(target.Canvas()->Pixels(p.x, p.y), p.colour) << p.x << "," << p.y;

    // The vertical axis the other way round turns the picture upside down.
    White(target, 100, 60);
    ASSERT_EQ(logo->Render(dc, 0, 0, 40, 20, 0, 0, w, h, nullptr), S_OK);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), kGreen);
    EXPECT_EQ(target.Canvas()->Pixels(0, 19), kRed);
    EXPECT_EQ(target.Canvas()->Pixels(39, 19), kBlue);

    EXPECT_EQ(logo->Render(nullptr, 0, 0, 40, 20, 0, h, w, -h, nullptr), E_INVALIDARG);
    EXPECT_EQ(logo->Render(dc, 0, 0, 40, 20, 0, h, 0, -h, nullptr), E_INVALIDARG);
}

TEST(PictureTest, RenderDrawsEveryKindInItsColours) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        TColor topLeft, topRight;
    } cases[] = {
        {"GIF: the first image, not the blue second one", Resource("FRAMES"), kRed, kBlue},
        {"JPEG", JpegBytes(), kRed, kBlue},
        {"icon", Resource("QUADICON"), kRed, kBlue},
        {"EMF", MetafileBytes(true), kRed, kBlue},
        {"WMF", MetafileBytes(false), kRed, kBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IPicture> p = Load(c.bytes);
        ASSERT_TRUE(p);
        LONG w = 0, h = 0;
        p->get_Width(&w);
        p->get_Height(&h);
        TBitmap target;
        ASSERT_EQ(p->Render(White(target, 64, 32)->Canvas()->Handle(), 0, 0, 64, 32, 0, h, w, -h, nullptr), S_OK);
        EXPECT_TRUE(Near(target.Canvas()->Pixels(4, 4), c.topLeft)) << std::hex << target.Canvas()->Pixels(4, 4);
        EXPECT_TRUE(Near(target.Canvas()->Pixels(60, 4), c.topRight)) << std::hex << target.Canvas()->Pixels(60, 4);
    }
}

}  // namespace
