// The metafile canvas: the EMF and WMF files it writes and their playback.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Metafile.h"

using gfx::Get16;
using gfx::Get32;

namespace {

// Draws a scene of lines, shapes, text and a bitmap through any canvas.
void Scene(TCanvas* c) {
    c->Pen()->SetColor(clBlack);
    c->MoveTo(5, 5);
    c->LineTo(90, 5);
    c->LineTo(90, 60);
    c->Pen()->SetColor(clRed);
    TPoint pts[3] = {{10, 70}, {40, 90}, {70, 70}};
    c->Polyline(pts, 3);
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(10, 10, 40, 30);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(50, 10, 80, 40);
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-13);
    c->Font()->SetColor(clGreen);
    c->TextOut(12, 40, "EMF 123");
    TBitmap glyph(4, 4, pf24bit);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    c->Draw(100, 80, &glyph);
    // A transfer through the handle, as chart and button code make.
    glyph.Canvas()->SetPixels(0, 0, clNavy);
    BitBlt(c->Handle(), 108, 80, 2, 2, glyph.Canvas()->Handle(), 0, 0, SRCCOPY);
    // A clipped line: only its left part shows, in the file as on the bitmap.
    HDC h = c->Handle();
    int saved = SaveDC(h);
    IntersectClipRect(h, 0, 95, 60, 100);
    c->Pen()->SetColor(clPurple);
    c->MoveTo(0, 97);
    c->LineTo(120, 97);
    SetTextAlign(h, TA_RIGHT | TA_BOTTOM);
    c->TextOut(118, 94, "R");
    RestoreDC(h, saved);
    c->MoveTo(0, 99);
    c->LineTo(120, 99);
}

void ExpectSamePixels(TBitmap& a, TBitmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    int diff = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) {
                if (++diff < 5) ADD_FAILURE() << "pixel " << x << "," << y;
            }
    EXPECT_EQ(diff, 0);
}

class MetafileTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        direct.SetSize(120, 100);
        Scene(direct.Canvas());
        mf.SetWidth(120);
        mf.SetHeight(100);
        {
            TMetafileCanvas mc(&mf, nullptr, "Workbench", "scene");
            Scene(&mc);
        }
    }
    TBitmap direct;
    TMetafile mf;
};

TEST_F(MetafileTest, EmfHeaderAndRecordsAreConsistent) {
    std::vector<uint8_t> b = mf.EmfBytes();
    ASSERT_GE(b.size(), 108u);
    EXPECT_EQ(Get32(b.data()), 1u);               // EMR_HEADER
    EXPECT_EQ(Get32(b.data() + 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(Get32(b.data() + 48), b.size());     // nBytes
    // Walk the records: the count and the types.
    std::map<uint32_t, int> types;
    size_t pos = 0;
    uint32_t records = 0, last = 0, maxHandle = 0;
    while (pos < b.size()) {
        uint32_t type = Get32(b.data() + pos), size = Get32(b.data() + pos + 4);
        ASSERT_GE(size, 8u);
        ASSERT_EQ(size % 4, 0u);
        if (type == 38 || type == 39 || type == 82) maxHandle = std::max(maxHandle, Get32(b.data() + pos + 8));
        ++types[type];
        ++records;
        last = type;
        pos += size;
    }
    EXPECT_EQ(pos, b.size());
    EXPECT_EQ(last, 14u);  // EMR_EOF
    EXPECT_EQ(Get32(b.data() + 52), records);
    EXPECT_EQ(Get16(b.data() + 56), maxHandle + 1);  // nHandles counts the reserved index 0
    for (uint32_t t : {27u, 54u, 87u, 43u, 42u, 38u, 39u, 37u, 40u, 24u, 82u, 84u, 81u, 75u})
        EXPECT_GT(types[t], 0) << "record type " << t;
    // Bounds: inclusive, around everything drawn (5..90 across, the bitmap reaches 103, 83).
    int32_t l = static_cast<int32_t>(Get32(b.data() + 8)), t = static_cast<int32_t>(Get32(b.data() + 12));
    int32_t r = static_cast<int32_t>(Get32(b.data() + 16)), bo = static_cast<int32_t>(Get32(b.data() + 20));
    EXPECT_LE(l, 5);
    EXPECT_LE(t, 5);
    EXPECT_EQ(r, 120);  // the clipped line's unclipped end
    EXPECT_GE(bo, 90);
    // Frame: the picture's 120 x 100 pixels in 0.01 mm.
    EXPECT_NEAR(static_cast<int32_t>(Get32(b.data() + 32)) + 1, 120 * 2540 / 96, 2);
    EXPECT_NEAR(static_cast<int32_t>(Get32(b.data() + 36)) + 1, 100 * 2540 / 96, 2);
    // The description: creator and title.
    uint32_t nDesc = Get32(b.data() + 60), offDesc = Get32(b.data() + 64);
    ASSERT_GT(nDesc, 0u);
    EXPECT_EQ(Get16(b.data() + offDesc), u'W');
    TMetafile back;
    back.LoadFromBytes(b);
    EXPECT_EQ(back.Description(), String(u"Workbench\0scene", 15));
}

TEST_F(MetafileTest, PlaybackMatchesDirectDrawing) {
    TBitmap played(120, 100);
    played.Canvas()->Draw(0, 0, &mf);
    ExpectSamePixels(direct, played);
    EXPECT_EQ(played.Canvas()->Pixels(59, 97), clPurple);
    EXPECT_EQ(played.Canvas()->Pixels(60, 97), clWhite);
    EXPECT_EQ(played.Canvas()->Pixels(100, 99), clPurple);
}

TEST_F(MetafileTest, PlaybackKeepsTheTargetsOwnClip) {
    TBitmap played(120, 100);
    TCanvas* c = played.Canvas();
    HRGN left = CreateRectRgn(0, 0, 30, 100);
    SelectClipRgn(c->Handle(), left);
    c->Draw(0, 0, &mf);
    EXPECT_EQ(c->Pixels(10, 99), clPurple);
    TCanvas reader(&played);
    EXPECT_EQ(reader.Pixels(100, 99), clWhite);  // outside the target's clip
    EXPECT_EQ(reader.Pixels(50, 97), clWhite);
    TRect box;
    GetClipBox(c->Handle(), &box);
    EXPECT_EQ(box, Rect(0, 0, 30, 100));  // restored after playback
    DeleteObject(left);
}

TEST_F(MetafileTest, EmfFileLoadsBackAndPlaysTheSame) {
    String name = String(::testing::TempDir() + std::to_string(getpid())) + "scene.emf";
    mf.SaveToFile(name);
    TMetafile back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.Enhanced());
    EXPECT_EQ(back.Width(), 120);
    EXPECT_EQ(back.Height(), 100);
    TBitmap played(120, 100);
    played.Canvas()->Draw(0, 0, &back);
    ExpectSamePixels(direct, played);
    // Stretched to half size the lines are still where they should be.
    TBitmap half(60, 50);
    half.Canvas()->StretchDraw(Rect(0, 0, 60, 50), &back);
    int top = -1;
    for (int y = 0; y < 10 && top < 0; ++y)
        if (half.Canvas()->Pixels(20, y) == clBlack) top = y;
    EXPECT_GE(top, 2);  // the top line at y 5 / 2
    EXPECT_LE(top, 3);
    std::remove(name.ToUtf8().c_str());
}

TEST_F(MetafileTest, WmfHasThePlaceableHeaderAndPlaysTheSame) {
    String name = String(::testing::TempDir() + std::to_string(getpid())) + "scene.wmf";
    mf.SaveToFile(name);  // the extension selects the older format
    std::ifstream in(name.ToUtf8(), std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(b.size(), 40u);
    EXPECT_EQ(Get32(b.data()), 0x9AC6CDD7u);
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= Get16(b.data() + 2 * i);
    EXPECT_EQ(Get16(b.data() + 20), sum);
    EXPECT_EQ(Get16(b.data() + 10), 120);  // bounding box right
    EXPECT_EQ(Get16(b.data() + 14), 96);   // units per inch
    EXPECT_EQ(Get16(b.data() + 22), 1);    // memory metafile
    EXPECT_EQ(Get16(b.data() + 24), 9);    // header words
    EXPECT_EQ(Get32(b.data() + 28) * 2, b.size() - 22);
    EXPECT_EQ(Get16(b.data() + b.size() - 2), 0);  // META_EOF
    TMetafile back;
    back.LoadFromFile(name);
    EXPECT_FALSE(back.Enhanced());
    TBitmap played(120, 100);
    played.Canvas()->Draw(0, 0, &back);
    ExpectSamePixels(direct, played);
    std::remove(name.ToUtf8().c_str());
}

TEST_F(MetafileTest, DrawTextOnTheMetafileCanvasRecordsItsLayout) {
    TMetafile m;
    m.SetWidth(100);
    m.SetHeight(60);
    TBitmap ref(100, 60);
    auto draw = [](TCanvas* c) {
        c->Font()->SetName("Arial");
        c->Font()->SetHeight(-12);
        c->Brush()->SetStyle(bsClear);
        TRect r(0, 0, 100, 60);
        DrawText(c->Handle(), "&Open the file", -1, &r, DT_CENTER | DT_WORDBREAK);
    };
    draw(ref.Canvas());
    {
        TMetafileCanvas mc(&m);
        draw(&mc);
    }
    TBitmap played(100, 60);
    played.Canvas()->Draw(0, 0, &m);
    ExpectSamePixels(ref, played);
}

// What needs a surface's pixels on a bitmap is kept as calls in a recording: dotted and dashed
// lines, single pixels, a flood fill, a brush copy. Played back from either file format the
// picture is the one drawn directly; the dotted lines stay dotted.
TEST(Metafile, PixelCallsAndStyledPensPlayBackAsDrawn) {
    qtb::EnsureApplication();
    auto scene = [](TCanvas* c) {
        c->Pen()->SetColor(clBlack);
        c->Rectangle(10, 10, 40, 40);
        c->Brush()->SetColor(clLime);
        c->FloodFill(20, 20, clBlack, fsBorder);
        c->Pen()->SetColor(TColor(0xC8C8C8));
        c->Pen()->SetStyle(psDot);
        for (int y = 50; y < 90; y += 10) {
            c->MoveTo(0, y);
            c->LineTo(120, y);
        }
        c->Pen()->SetStyle(psDash);
        c->MoveTo(60, 0);
        c->LineTo(60, 45);
        for (int x = 70; x < 80; x += 2) c->SetPixels(x, 5, clRed);
        TBitmap glyph(6, 6, pf24bit);
        glyph.Canvas()->Brush()->SetColor(clWhite);
        glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
        glyph.Canvas()->Brush()->SetColor(clBlack);
        glyph.Canvas()->FillRect(Rect(1, 1, 5, 5));
        c->Brush()->SetColor(clBlue);
        c->BrushCopy(Rect(90, 10, 96, 16), &glyph, Rect(0, 0, 6, 6), clBlack);
    };
    TBitmap direct(120, 100, pf24bit);
    scene(direct.Canvas());
    TMetafile m;
    m.SetWidth(120);
    m.SetHeight(100);
    {
        TMetafileCanvas mc(&m);
        scene(&mc);
    }
    for (bool enhanced : {true, false}) {
        SCOPED_TRACE(enhanced ? "EMF" : "WMF");
        TMetafile back;
        back.LoadFromBytes(enhanced ? m.EmfBytes() : m.WmfBytes());
        TBitmap played(120, 100, pf24bit);
        played.Canvas()->Draw(0, 0, &back);
        ExpectSamePixels(direct, played);
        TCanvas* p = played.Canvas();
        EXPECT_EQ(p->Pixels(20, 20), clLime);
        EXPECT_EQ(p->Pixels(70, 5), clRed);
        EXPECT_EQ(p->Pixels(71, 5), clWhite);
        EXPECT_EQ(p->Pixels(92, 12), clBlue);
        EXPECT_EQ(p->Pixels(90, 10), clWhite);
        // A dotted line: gaps between its dots.
        int on = 0, off = 0;
        for (int x = 0; x < 100; ++x) (p->Pixels(x, 60) == TColor(0xC8C8C8) ? on : off)++;
        EXPECT_GT(on, 20);
        EXPECT_GT(off, 20);
    }
}

// The focus frame inverts what is under it in a recording too: drawn twice it is gone.
TEST(Metafile, TheFocusFrameInvertsOnPlayback) {
    qtb::EnsureApplication();
    TMetafile m;
    m.SetWidth(40);
    m.SetHeight(40);
    {
        TMetafileCanvas mc(&m);
        mc.DrawFocusRect(Rect(5, 5, 35, 35));
    }
    TBitmap played(40, 40, pf24bit);
    played.Canvas()->Draw(0, 0, &m);
    int inverted = 0;
    for (int x = 5; x < 35; ++x) inverted += played.Canvas()->Pixels(x, 5) == clBlack;
    EXPECT_GT(inverted, 5);
    EXPECT_LT(inverted, 30);  // dotted, not solid
    EXPECT_EQ(played.Canvas()->Pixels(20, 20), clWhite);
    played.Canvas()->Draw(0, 0, &m);
    for (int x = 5; x < 35; ++x) EXPECT_EQ(played.Canvas()->Pixels(x, 5), clWhite) << x;
}

// A bitmap record whose image header is damaged: refused when the file is read, in both formats,
// instead of raising in the middle of playback.
TEST_F(MetafileTest, DamagedBitmapRecordsAreRefusedAtLoad) {
    std::vector<uint8_t> emf = mf.EmfBytes();
    size_t found = 0;
    for (size_t pos = 0; pos + 8 <= emf.size(); pos += Get32(emf.data() + pos + 4))
        if (Get32(emf.data() + pos) == 81) {  // EMR_STRETCHDIBITS: the header at offBmi
            found = pos + Get32(emf.data() + pos + 8 + 40);
            break;
        }
    ASSERT_NE(found, 0u);
    emf[found] = 7;  // no header is 7 bytes long
    TMetafile e;
    EXPECT_THROW(e.LoadFromBytes(emf), EInvalidGraphic);

    std::vector<uint8_t> wmf = mf.WmfBytes();
    found = 0;
    for (size_t pos = 22 + 18; pos + 6 <= wmf.size(); pos += 2 * Get32(wmf.data() + pos))
        if (Get16(wmf.data() + pos + 4) == 0x0F43) {  // META_STRETCHDIB: the header after 22 bytes
            found = pos + 6 + 22;
            break;
        }
    ASSERT_NE(found, 0u);
    wmf[found] = 7;
    TMetafile w;
    EXPECT_THROW(w.LoadFromBytes(wmf), EInvalidGraphic);
}

TEST(Metafile, DamagedFilesAreRefused) {
    TMetafile m;
    EXPECT_THROW(m.LoadFromBytes({1, 2, 3}), EInvalidGraphic);
    TMetafile good;
    good.SetWidth(10);
    good.SetHeight(10);
    {
        TMetafileCanvas mc(&good);
        mc.Rectangle(0, 0, 5, 5);
    }
    auto b = good.EmfBytes();
    b[good.EmfBytes().size() - 16] = 0xFF;  // the end record's size runs past the file
    b[good.EmfBytes().size() - 15] = 0xFF;
    EXPECT_THROW(m.LoadFromBytes(b), EInvalidGraphic);
}

// Coordinates at the ends of the 32-bit range: the inclusive edges of the file become exclusive
// ones and are mapped at playback, which must neither overflow nor turn the picture inside out.
TEST(Metafile, ExtremeCoordinatesLoadAndPlay) {
    qtb::EnsureApplication();
    TMetafile good;
    good.SetWidth(10);
    good.SetHeight(10);
    {
        TMetafileCanvas mc(&good);
        mc.Rectangle(0, 0, 5, 5);
    }
    const std::vector<uint8_t> bytes = good.EmfBytes();
    auto put = [](std::vector<uint8_t>& v, size_t at, int32_t x) {
        for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i));
    };
    size_t rect = 0;
    for (size_t pos = 0; pos + 8 <= bytes.size(); pos += Get32(bytes.data() + pos + 4))
        if (Get32(bytes.data() + pos) == 43) rect = pos;  // EMR_RECTANGLE
    ASSERT_NE(rect, 0u);

    // The rectangle reaches the far right and bottom: its top and left edges cross the picture.
    std::vector<uint8_t> wide = bytes;
    put(wide, rect + 16, INT32_MAX);
    put(wide, rect + 20, INT32_MAX);
    TMetafile m;
    m.LoadFromBytes(wide);
    TBitmap target(10, 10, pf24bit);
    target.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &m);
    EXPECT_EQ(target.Canvas()->Pixels(9, 0), clBlack);
    EXPECT_EQ(target.Canvas()->Pixels(0, 9), clBlack);

    // A frame from the least to the greatest value keeps a positive size.
    std::vector<uint8_t> frame = bytes;
    put(frame, 24, INT32_MIN);
    put(frame, 28, INT32_MIN);
    put(frame, 32, INT32_MAX);
    put(frame, 36, INT32_MAX);
    TMetafile f;
    f.LoadFromBytes(frame);
    EXPECT_GT(f.Width(), 0);
    EXPECT_GT(f.Height(), 0);
    TBitmap other(10, 10, pf24bit);
    other.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &f);
}

}  // namespace
