// Mapping modes on the canvas front: the transforms, what every drawing and measuring call makes of
// logical units, and the pixels that come out.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"

namespace {

class MappingModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        bmp.SetSize(200, 200);
        c = bmp.Canvas();
        dc = c->Handle();
    }
    void Clear() {
        SetMapMode(dc, MM_TEXT);
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    TPoint LP(int x, int y) {
        TPoint p(x, y);
        EXPECT_TRUE(LPtoDP(dc, &p, 1));
        return p;
    }
    TPoint DP(int x, int y) {
        TPoint p(x, y);
        EXPECT_TRUE(DPtoLP(dc, &p, 1));
        return p;
    }
    // The bounds of the pixels that are not white, in device pixels (Right and Bottom inclusive).
    TRect Ink() {
        SetMapMode(dc, MM_TEXT);
        TRect r(INT_MAX, INT_MAX, -1, -1);
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (c->Pixels(x, y) != clWhite) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x);
                    r.Bottom = std::max(r.Bottom, y);
                }
        return r;
    }
    int InkInRow(int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x <= x1; ++x) n += c->Pixels(x, y) != clWhite;
        return n;
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
    HDC dc = nullptr;
};

TEST_F(MappingModeTest, LogicalAndDevicePointsAt600Dpi) {
    c->SetPixelsPerInch(600, 600);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(LP(100, -100), TPoint(100, -100));  // MM_TEXT is the identity

    EXPECT_EQ(SetMapMode(dc, MM_LOMETRIC), MM_TEXT);
    EXPECT_EQ(LP(100, -100), TPoint(236, 236));
    EXPECT_EQ(DP(236, 236), TPoint(100, -100));
    SetWindowOrgEx(dc, 10, 0, nullptr);
    EXPECT_EQ(LP(110, -100), TPoint(236, 236));
    EXPECT_EQ(DP(236, 236), TPoint(110, -100));
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 5, 7, nullptr);
    EXPECT_EQ(LP(100, -100), TPoint(241, 243));
    SetViewportOrgEx(dc, 0, 0, nullptr);

    struct Case {
        int mode;
        TPoint logical, device;
    } cases[] = {
        {MM_TWIPS, {1440, -1440}, {600, 600}},  {MM_HIMETRIC, {2540, -2540}, {600, 600}},
        {MM_LOENGLISH, {100, -50}, {600, 300}}, {MM_HIENGLISH, {-1000, 1000}, {-600, -600}},
        {MM_LOMETRIC, {254, 0}, {600, 0}},
    };
    for (const Case& k : cases) {
        SetMapMode(dc, k.mode);
        EXPECT_EQ(GetMapMode(dc), k.mode);
        EXPECT_EQ(LP(k.logical.X, k.logical.Y), k.device) << k.mode;
        EXPECT_EQ(DP(k.device.X, k.device.Y), k.logical) << k.mode;
    }

    // The mode is part of the saved state.
    SetMapMode(dc, MM_TEXT);
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_LOMETRIC);
    RestoreDC(dc, saved);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(LP(100, -100), TPoint(100, -100));
}

TEST_F(MappingModeTest, ModesWithoutExtentsAndBadPointArraysAreRefused) {
    SetMapMode(dc, MM_LOMETRIC);
    for (int mode : {MM_ISOTROPIC, MM_ANISOTROPIC, 0, -1, 9, 1000}) {
        EXPECT_EQ(SetMapMode(dc, mode), 0) << mode;
        EXPECT_EQ(GetMapMode(dc), MM_LOMETRIC) << mode;
    }
    EXPECT_EQ(SetMapMode(nullptr, MM_TEXT), 0);
    EXPECT_EQ(GetMapMode(nullptr), 0);

    TPoint p(7, 8);
    EXPECT_FALSE(LPtoDP(dc, nullptr, 1));
    EXPECT_FALSE(DPtoLP(dc, nullptr, 1));
    EXPECT_FALSE(LPtoDP(dc, &p, -1));
    EXPECT_FALSE(DPtoLP(dc, &p, -1));
    EXPECT_FALSE(LPtoDP(nullptr, &p, 1));
    EXPECT_EQ(p, TPoint(7, 8));  // nothing written

    // Far coordinates are held to the canvas's limit after the transform, never wrapped.
    c->SetPixelsPerInch(600, 600);
    TPoint far[] = {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}};
    ASSERT_TRUE(LPtoDP(dc, far, 2));
    EXPECT_EQ(far[0], TPoint(kCanvasCoordLimit, kCanvasCoordLimit));
    EXPECT_EQ(far[1], TPoint(-kCanvasCoordLimit, -kCanvasCoordLimit));
}

TEST_F(MappingModeTest, FillsPensAndTextLandInDevicePixelsAt96Dpi) {
    SetMapMode(dc, MM_LOMETRIC);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(0, 0, 529, -529));  // 200 pixels, with y upwards

    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 254, -254));
    EXPECT_EQ(Ink(), TRect(0, 0, 95, 95));
    EXPECT_EQ(c->Pixels(95, 95), clRed);

    Clear();
    SetMapMode(dc, MM_LOMETRIC);
    c->Pen()->SetWidth(10);
    c->MoveTo(0, -250);
    c->LineTo(500, -250);
    TRect line = Ink();
    EXPECT_EQ(line.Bottom - line.Top + 1, 4);  // 1 mm at 96 dpi

    // "T" starts at its mapped reference point, upright: the bar is on top. In MM_TEXT the same
    // letter at the device point with the device height lays down the same pixels.
    auto drawT = [&](int mode, int x, int y, int height) {
        Clear();
        SetMapMode(dc, mode);
        c->Font()->SetName("Arial");
        c->Font()->SetHeight(height);
        SetBkMode(dc, TRANSPARENT);
        c->TextOut(x, y, String("T"));
        return Ink();
    };
    TRect t = drawT(MM_LOMETRIC, 100, -100, -200);  // 2 cm: 76 pixels
    EXPECT_EQ(t, drawT(MM_TEXT, 38, 38, -76));
    EXPECT_GE(t.Left, 38);
    EXPECT_LT(t.Left, 44);
    EXPECT_GE(t.Top, 38);
    EXPECT_LT(t.Top, 38 + 76 / 3);  // below the cell's top by the leading above the capitals only
    EXPECT_GT(t.Bottom - t.Top, 40);  // 2 cm tall, not 200 pixels nor 20
    EXPECT_LT(t.Bottom - t.Top, 76);
    drawT(MM_LOMETRIC, 100, -100, -200);
    int bar = InkInRow(t.Top + 1, t.Left, t.Right), stem = InkInRow(t.Bottom - 1, t.Left, t.Right);
    EXPECT_GT(bar, 3 * stem);
}

TEST_F(MappingModeTest, DrawTextMeasuresDownwardsAsNegativeHeights) {
    c->Font()->SetName("Arial");
    String text("The quick brown fox jumps over the lazy dog and keeps on running far away");
    SetMapMode(dc, MM_LOMETRIC);
    c->Font()->SetHeight(-35);
    TRect wide(0, 0, 1000, 0), narrow(0, 0, 400, 0);
    int hw = DrawText(dc, text, -1, &wide, DT_CALCRECT | DT_WORDBREAK);
    int hn = DrawText(dc, text, -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_LT(hw, 0);
    EXPECT_EQ(wide.Bottom, wide.Top + hw);
    EXPECT_EQ(narrow.Bottom, narrow.Top + hn);
    EXPECT_LT(hn, hw);  // more lines: further down

    // Drawn into the measured rectangle, the text stays inside it on the device.
    Clear();
    SetMapMode(dc, MM_LOMETRIC);
    SetBkMode(dc, TRANSPARENT);
    TRect at(0, -20, 400, -20 + hn);
    DrawText(dc, text, -1, &at, DT_WORDBREAK);
    TRect ink = Ink();
    EXPECT_GE(ink.Top, 7);
    EXPECT_LE(ink.Bottom, (20 - hn) * 96 / 254 + 1);
    EXPECT_GT(ink.Bottom - ink.Top, 30);

    SetMapMode(dc, MM_TEXT);
    c->Font()->SetHeight(-13);
    TRect plain(0, 0, 150, 0);
    int h = DrawText(dc, text, -1, &plain, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(h, 0);
    EXPECT_EQ(plain.Bottom, h);
}

TEST_F(MappingModeTest, FontHeightsAreLogicalUnitsAtAnyResolution) {
    TBitmap fine;
    fine.SetSize(10, 10);
    TCanvas* f = fine.Canvas();
    f->SetPixelsPerInch(600, 600);
    for (TCanvas* k : {c, f}) {
        SetMapMode(k->Handle(), MM_LOMETRIC);
        k->Font()->SetName("Arial");
        k->Font()->SetHeight(-35);
    }
    int coarse = c->TextHeight(String("gh")), sharp = f->TextHeight(String("gh"));
    EXPECT_GT(sharp, 35);
    EXPECT_LT(sharp, 50);
    EXPECT_NEAR(coarse, sharp, 1);
    EXPECT_NEAR(c->TextWidth(String("ghghgh")), f->TextWidth(String("ghghgh")), 6);

    // A GDI font keeps its logical height wherever it is selected.
    LOGFONT lf;
    lf.lfHeight = -35;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(f->Handle(), font);
    EXPECT_EQ(f->Font()->Height(), -35);
    EXPECT_EQ(f->Font()->Orientation(), 900);
    SelectObject(f->Handle(), old);
    DeleteObject(font);
}

TEST_F(MappingModeTest, EscapementTurnsTextUpwards) {
    LOGFONT lf;
    lf.lfHeight = -40;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    std::char_traits<char16_t>::copy(lf.lfFaceName, u"Arial", 6);
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 100, 150, String("gh"), 2);
    SelectObject(dc, old);
    DeleteObject(font);
    TRect ink = Ink();
    // Turned a quarter counter-clockwise about the start point: the cell's top edge runs up the
    // bitmap from (100, 150), the letters to its right.
    EXPECT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left);
    EXPECT_LE(ink.Bottom, 150);
    EXPECT_GT(ink.Bottom, 140);
    EXPECT_GE(ink.Left, 100);
    EXPECT_LT(ink.Left, 115);
    EXPECT_LE(ink.Right, 100 + 46);
    // "g" first, at the bottom, its descender furthest right; "h" above it, its ascender furthest left.
    int mid = (ink.Top + ink.Bottom) / 2;
    auto extent = [&](int y0, int y1, bool right) {
        int best = right ? -1 : INT_MAX;
        for (int y = y0; y <= y1; ++y)
            for (int x = ink.Left; x <= ink.Right; ++x)
                if (c->Pixels(x, y) != clWhite) best = right ? std::max(best, x) : std::min(best, x);
        return best;
    };
    EXPECT_GT(extent(mid, ink.Bottom, true), extent(ink.Top, mid, true) + 3);
    EXPECT_LT(extent(ink.Top, mid, false), extent(mid, ink.Bottom, false) - 3);
}

// The mode maps first; a right-to-left layout then mirrors the device pixels it gives about the
// bitmap's 200 columns. Clip boxes and clip rectangles go both ways, and a saved DC keeps both.
TEST_F(MappingModeTest, UnderARightToLeftLayoutAMappedRectangleLandsMirrored) {
    Clear();
    SetMapMode(dc, MM_LOMETRIC);
    ASSERT_EQ(SetLayout(dc, LAYOUT_RTL), 0u);
    EXPECT_EQ(LP(254, -127), TPoint(199 - 96, 48));
    EXPECT_EQ(DP(199 - 96, 48), TPoint(254, -127));
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(0, 0, 529, -529));

    // Read as the device has it (no layout, mode or clip), then back to the DC as it was.
    auto device = [&](auto read) {
        int saved = SaveDC(dc);
        SetLayout(dc, 0);
        SetMapMode(dc, MM_TEXT);
        SelectClipRgn(dc, nullptr);
        auto got = read();
        RestoreDC(dc, saved);
        return got;
    };
    for (bool shape : {false, true}) {
        Clear();
        SetMapMode(dc, MM_LOMETRIC);
        c->Brush()->SetColor(clBlack);
        c->Pen()->SetColor(clBlack);
        if (shape) c->Rectangle(0, 0, 254, -127);
        else c->FillRect(Rect(0, 0, 254, -127));  // 2.54 cm by 1.27 cm: 96 by 48 pixels
        EXPECT_EQ(device([&] { return Ink(); }), TRect(200 - 96, 0, 199, 47)) << shape;
        EXPECT_EQ(GetMapMode(dc), MM_LOMETRIC);
        EXPECT_EQ(GetLayout(dc), LAYOUT_RTL);
    }

    // A clip rectangle of 1.27 cm square at the logical origin holds a fill to the device's
    // top right corner.
    IntersectClipRect(dc, 0, 0, 127, -127);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(0, 0, 127, -127));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 529, -529));
    EXPECT_EQ(device([&] { return c->Pixels(151, 10); }), clBlack);
    EXPECT_EQ(device([&] { return c->Pixels(152, 0); }), clRed);
    EXPECT_EQ(device([&] { return c->Pixels(199, 47); }), clRed);
    EXPECT_EQ(device([&] { return c->Pixels(199, 48); }), clWhite);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(0, 0, 127, -127));
}

}  // namespace
