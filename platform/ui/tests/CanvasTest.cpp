// Pixel rules of the canvas: what the components' drawing code relies on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Graphics.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        bmp.SetSize(40, 40);
        c = bmp.Canvas();
        Clear(clWhite);
    }
    void Clear(TColor color) {
        c->Brush()->SetColor(color);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    bool Black(int x, int y) { return c->Pixels(x, y) == clBlack; }
    int CountOf(TColor color, TRect r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += c->Pixels(x, y) == color;
        return n;
    }
    // Leftmost and rightmost columns with a pixel that is not white.
    std::pair<int, int> InkColumns(TRect r) {
        int lo = INT32_MAX, hi = -1;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (c->Pixels(x, y) != clWhite) { lo = std::min(lo, x); hi = std::max(hi, x); }
        return {lo, hi};
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
};

TEST_F(CanvasTest, RectangleCoversLeftToRightMinusOne) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Rectangle(0, 0, 10, 10);
    EXPECT_TRUE(Black(0, 0));
    EXPECT_TRUE(Black(9, 9));
    EXPECT_TRUE(Black(9, 0));
    EXPECT_EQ(c->Pixels(10, 10), clWhite);
    EXPECT_EQ(c->Pixels(10, 5), clWhite);
    EXPECT_EQ(c->Pixels(5, 5), clRed);
    EXPECT_EQ(CountOf(clBlack, Rect(0, 0, 40, 40)), 36);  // the 10 x 10 outline
}

TEST_F(CanvasTest, RectangleWithoutPenFillsOneLess) {
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(2, 2, 12, 12);
    EXPECT_EQ(CountOf(clBlue, Rect(0, 0, 40, 40)), 9 * 9);
    EXPECT_EQ(c->Pixels(10, 10), clBlue);
    EXPECT_EQ(c->Pixels(11, 11), clWhite);
}

TEST_F(CanvasTest, FillRectIsRightBottomExclusiveAndClNoneDrawsNothing) {
    c->Brush()->SetColor(clGreen);
    c->FillRect(Rect(5, 5, 8, 7));
    EXPECT_EQ(CountOf(clGreen, Rect(0, 0, 40, 40)), 3 * 2);
    c->Brush()->SetColor(clNone);
    c->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(CountOf(clGreen, Rect(0, 0, 40, 40)), 6);
    EXPECT_EQ(CountOf(clWhite, Rect(0, 0, 40, 40)), 40 * 40 - 6);
    c->Brush()->SetStyle(bsClear);
    c->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(CountOf(clWhite, Rect(0, 0, 40, 40)), 40 * 40 - 6);
}

TEST_F(CanvasTest, LineToLeavesOutTheEndPointAndMovesThePen) {
    c->Pen()->SetColor(clBlack);
    c->MoveTo(2, 3);
    c->LineTo(12, 3);
    EXPECT_TRUE(Black(2, 3));
    EXPECT_TRUE(Black(11, 3));
    EXPECT_FALSE(Black(12, 3));
    EXPECT_EQ(c->PenPos(), TPoint(12, 3));
    c->LineTo(12, 3);  // a zero-length line draws nothing
    EXPECT_FALSE(Black(12, 3));
    c->MoveTo(5, 10);
    c->LineTo(5, 20);
    EXPECT_TRUE(Black(5, 19));
    EXPECT_FALSE(Black(5, 20));
    // Running left or up, the start is drawn and the end left out all the same.
    c->MoveTo(30, 5);
    c->LineTo(20, 5);
    EXPECT_TRUE(Black(30, 5));
    EXPECT_TRUE(Black(21, 5));
    EXPECT_FALSE(Black(20, 5));
    c->MoveTo(35, 20);
    c->LineTo(35, 10);
    EXPECT_TRUE(Black(35, 20));
    EXPECT_TRUE(Black(35, 11));
    EXPECT_FALSE(Black(35, 10));
}

// Every line, whatever its direction and slope, draws its start pixel, leaves out its end pixel
// and puts one pixel on each step of its longer axis.
TEST_F(CanvasTest, LinesKeepTheirStartAndLeaveOutTheirEndInEveryDirection) {
    struct Case {
        const char* name;
        int dx, dy;
    };
    const Case cases[] = {
        {"right", 10, 0},         {"left", -10, 0},         {"down", 0, 10},          {"up", 0, -10},
        {"down-right", 10, 10},   {"up-right", 10, -10},    {"down-left", -10, 10},   {"up-left", -10, -10},
        {"shallow ENE", 10, -3},  {"shallow ESE", 10, 3},   {"shallow WNW", -10, -3}, {"shallow WSW", -10, 3},
        {"steep NNE", 3, -10},    {"steep SSE", 3, 10},     {"steep NNW", -3, -10},   {"steep SSW", -3, 10},
        {"steep odd", 7, -13},    {"shallow odd", -13, 7},
    };
    c->Pen()->SetColor(clBlack);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Clear(clWhite);
        c->MoveTo(20, 20);
        c->LineTo(20 + k.dx, 20 + k.dy);
        EXPECT_TRUE(Black(20, 20));
        EXPECT_FALSE(Black(20 + k.dx, 20 + k.dy));
        // One pixel on each step of the longer axis from the start's up to the one before the
        // end's, all inside the line's box: none on the end's own step.
        int n = std::max(std::abs(k.dx), std::abs(k.dy));
        bool shallow = std::abs(k.dx) >= std::abs(k.dy);
        TRect box = Rect(20 + std::min(0, k.dx), 20 + std::min(0, k.dy), 21 + std::max(0, k.dx), 21 + std::max(0, k.dy));
        EXPECT_EQ(CountOf(clBlack, Rect(0, 0, 40, 40)), n);
        for (int i = 0; i <= n; ++i) {
            int m = 20 + i * ((shallow ? k.dx : k.dy) < 0 ? -1 : 1);
            TRect step = shallow ? Rect(m, box.Top, m + 1, box.Bottom) : Rect(box.Left, m, box.Right, m + 1);
            EXPECT_EQ(CountOf(clBlack, step), i < n ? 1 : 0) << "step " << i;
        }
    }
}

TEST_F(CanvasTest, EllipseFitsTheExclusiveRectangle) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(0, 0, 21, 11);
    auto [lo, hi] = InkColumns(Rect(0, 0, 40, 40));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 20);
    EXPECT_TRUE(Black(10, 0));
    EXPECT_TRUE(Black(10, 10));
    EXPECT_FALSE(Black(10, 11));
    EXPECT_EQ(c->Pixels(10, 5), clWhite);  // clear brush: hollow
}

TEST_F(CanvasTest, EllipseOutlineTouchesAllFourSidesOfTheExclusiveRectangle) {
    // A 1-pixel outline reaches Right-1 and Bottom-1 for even and odd sizes alike, filled or
    // hollow, and nothing lies outside the rectangle.
    struct Case { TRect r; TBrushStyle brush; };
    const Case cases[] = {
        {Rect(0, 0, 80, 80), bsClear}, {Rect(0, 0, 80, 80), bsSolid}, {Rect(0, 0, 21, 11), bsClear},
        {Rect(3, 5, 43, 25), bsClear}, {Rect(2, 1, 12, 11), bsSolid},  {Rect(7, 9, 58, 90), bsClear},
    };
    bmp.SetSize(100, 100);
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.r.Left << "," << k.r.Top << "," << k.r.Right << "," << k.r.Bottom);
        Clear(clWhite);
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clRed);
        c->Brush()->SetStyle(k.brush);
        c->Ellipse(k.r.Left, k.r.Top, k.r.Right, k.r.Bottom);
        int minX = INT32_MAX, maxX = -1, minY = INT32_MAX, maxY = -1;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (c->Pixels(x, y) != clWhite) {
                    minX = std::min(minX, x); maxX = std::max(maxX, x);
                    minY = std::min(minY, y); maxY = std::max(maxY, y);
                }
        EXPECT_EQ(minX, k.r.Left);
        EXPECT_EQ(minY, k.r.Top);
        EXPECT_EQ(maxX, k.r.Right - 1);
        EXPECT_EQ(maxY, k.r.Bottom - 1);
        // The outline is drawn by the pen on the extreme rows and columns.
        int cx = (k.r.Left + k.r.Right) / 2, cy = (k.r.Top + k.r.Bottom) / 2;
        EXPECT_GT(CountOf(clBlack, Rect(k.r.Right - 1, k.r.Top, k.r.Right, k.r.Bottom)), 0);
        EXPECT_GT(CountOf(clBlack, Rect(k.r.Left, k.r.Bottom - 1, k.r.Right, k.r.Bottom)), 0);
        if (k.brush == bsSolid) EXPECT_EQ(c->Pixels(cx, cy), clRed);
        else EXPECT_EQ(c->Pixels(cx, cy), clWhite);
    }
}

TEST_F(CanvasTest, ArcRunsCounterClockwiseBetweenRadials) {
    // The lamp highlight: from the top centre to the left middle is the upper-left quarter.
    c->Pen()->SetColor(clBlack);
    c->Arc(0, 0, 21, 21, 10, 0, 0, 10);
    EXPECT_TRUE(Black(10, 0) || Black(9, 0) || Black(11, 0));   // start point
    EXPECT_TRUE(Black(0, 10) || Black(0, 9) || Black(0, 11));   // end point
    EXPECT_EQ(CountOf(clBlack, Rect(11, 11, 21, 21)), 0);       // nothing lower right
    EXPECT_EQ(CountOf(clBlack, Rect(12, 0, 21, 21)), 0);        // nothing right of the start
    EXPECT_GT(CountOf(clBlack, Rect(0, 0, 10, 10)), 5);         // the quarter itself
    // Equal radials draw the whole ellipse.
    Clear(clWhite);
    c->Arc(0, 0, 21, 21, 20, 10, 20, 10);
    EXPECT_GT(CountOf(clBlack, Rect(11, 11, 21, 21)), 5);
}

TEST_F(CanvasTest, XorPenTwiceRestores) {
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 20, 20));
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(c->Pixels(3, 5), static_cast<TColor>(0x00FFFF));  // white xor blue
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(c->Pixels(3, 5), clBlue);
}

TEST_F(CanvasTest, SrcInvertOfWhiteTextOnBlackInvertsIt) {
    TBitmap text(60, 20);
    TCanvas* t = text.Canvas();
    t->Brush()->SetColor(clBlack);
    t->FillRect(Rect(0, 0, 60, 20));
    t->Font()->SetName("Arial");
    t->Font()->SetHeight(-14);
    t->Font()->SetColor(clWhite);
    t->Brush()->SetStyle(bsClear);
    t->TextOut(2, 2, "Hg");
    // Destination: a grey band; after the transfer grey xor white is the inverse, black stays.
    TBitmap dst(60, 20);
    TCanvas* d = dst.Canvas();
    d->Brush()->SetColor(static_cast<TColor>(0x303030));
    d->FillRect(Rect(0, 0, 60, 20));
    ASSERT_TRUE(BitBlt(d->Handle(), 0, 0, 60, 20, t->Handle(), 0, 0, SRCINVERT));
    int inverted = 0, kept = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            TColor src = t->Pixels(x, y), out = d->Pixels(x, y);
            EXPECT_EQ(out, static_cast<TColor>((src ^ 0x303030) & 0xFFFFFF)) << x << "," << y;
            if (src == clWhite) ++inverted;
            if (src == clBlack) ++kept;
        }
    EXPECT_GT(inverted, 10);
    EXPECT_GT(kept, 100);
}

TEST_F(CanvasTest, RasterOperations) {
    TBitmap src(4, 1);
    src.Canvas()->SetPixels(0, 0, static_cast<TColor>(0x00F0F0F0));
    src.Canvas()->SetPixels(1, 0, static_cast<TColor>(0x000F0F0F));
    struct Case { DWORD rop; TColor expect0; const char* name; };
    const Case cases[] = {
        {SRCCOPY, static_cast<TColor>(0xF0F0F0), "SRCCOPY"},
        {SRCAND, static_cast<TColor>(0xF0F0F0 & 0x3C3C3C), "SRCAND"},
        {SRCPAINT, static_cast<TColor>(0xF0F0F0 | 0x3C3C3C), "SRCPAINT"},
        {SRCINVERT, static_cast<TColor>(0xF0F0F0 ^ 0x3C3C3C), "SRCINVERT"},
        {NOTSRCCOPY, static_cast<TColor>(0x0F0F0F), "NOTSRCCOPY"},
        {DSTINVERT, static_cast<TColor>(0xC3C3C3), "DSTINVERT"},
        {PATCOPY, clRed, "PATCOPY"},
        {MERGECOPY, static_cast<TColor>(0xF0F0F0 & 0x0000FF), "MERGECOPY"},
        {BLACKNESS, clBlack, "BLACKNESS"},
        {0x00B8074A, static_cast<TColor>(0x30303F), "PSDPxax: brush where the source is black"},
        {WHITENESS, clWhite, "WHITENESS"},
    };
    for (const Case& k : cases) {
        Clear(static_cast<TColor>(0x3C3C3C));
        c->Brush()->SetColor(clRed);
        ASSERT_TRUE(BitBlt(c->Handle(), 0, 0, 2, 1, src.Canvas()->Handle(), 0, 0, k.rop)) << k.name;
        EXPECT_EQ(c->Pixels(0, 0), k.expect0) << k.name;
        EXPECT_EQ(c->Pixels(2, 0), static_cast<TColor>(0x3C3C3C)) << k.name << " outside the block";
    }
}

TEST_F(CanvasTest, StretchBltScalesAndMirrors) {
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlue);
    ASSERT_TRUE(StretchBlt(c->Handle(), 0, 0, 8, 2, src.Canvas()->Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(c->Pixels(0, 0), clRed);
    EXPECT_EQ(c->Pixels(3, 1), clRed);
    EXPECT_EQ(c->Pixels(4, 1), clBlue);
    EXPECT_EQ(c->Pixels(8, 0), clWhite);
    ASSERT_TRUE(StretchBlt(c->Handle(), 9, 0, -2, 1, src.Canvas()->Handle(), 0, 0, 2, 1, SRCCOPY));
    // A negative width runs leftwards from x itself: the left source pixel lands on the right.
    EXPECT_EQ(c->Pixels(9, 0), clRed);
    EXPECT_EQ(c->Pixels(8, 0), clBlue);
    EXPECT_EQ(c->Pixels(10, 0), clWhite);
}

TEST_F(CanvasTest, MonochromeTransfersUseTextAndBackgroundColours) {
    TBitmap mono(2, 1);
    mono.SetMonochrome(true);
    mono.Canvas()->SetPixels(0, 0, clBlack);
    mono.Canvas()->SetPixels(1, 0, clWhite);
    SetTextColor(c->Handle(), RGB(255, 0, 0));
    SetBkColor(c->Handle(), RGB(0, 0, 255));
    BitBlt(c->Handle(), 0, 0, 2, 1, mono.Canvas()->Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(c->Pixels(0, 0), clRed);
    EXPECT_EQ(c->Pixels(1, 0), clBlue);
    // Colour into monochrome: the source's background colour becomes white, the rest black.
    c->SetPixels(0, 0, clLime);
    c->SetPixels(1, 0, clFuchsia);
    SetBkColor(c->Handle(), RGB(0, 255, 0));
    BitBlt(mono.Canvas()->Handle(), 0, 0, 2, 1, c->Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(mono.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixels(1, 0), clBlack);
}

TEST_F(CanvasTest, EllipticClipThenRestoringThePreviousClip) {
    HDC dc = c->Handle();
    HRGN outer = CreateRectRgn(0, 0, 30, 30);
    ASSERT_EQ(SelectClipRgn(dc, outer), SIMPLEREGION);
    int saved = SaveDC(dc);
    HRGN ell = CreateEllipticRgn(0, 0, 20, 20);
    EXPECT_EQ(SelectClipRgn(dc, ell), COMPLEXREGION);
    TRect box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_LE(box.Left, 1);
    EXPECT_LE(box.Top, 1);
    EXPECT_EQ(box.Right, 20);
    EXPECT_EQ(box.Bottom, 20);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 40, 40));
    // Reading through the clipped canvas gives CLR_INVALID outside the clip, as GetPixel does.
    EXPECT_EQ(c->Pixels(0, 0), static_cast<TColor>(CLR_INVALID));
    TCanvas reader(&bmp);
    EXPECT_EQ(reader.Pixels(10, 10), clRed);
    EXPECT_EQ(reader.Pixels(0, 0), clWhite);   // corner outside the ellipse
    EXPECT_EQ(reader.Pixels(25, 5), clWhite);
    ASSERT_TRUE(RestoreDC(dc, saved));
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 30, 30));
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(reader.Pixels(0, 0), clBlue);
    EXPECT_EQ(reader.Pixels(29, 29), clBlue);
    EXPECT_EQ(reader.Pixels(30, 30), clWhite);
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 40, 40));
    EXPECT_TRUE(DeleteObject(outer));
    EXPECT_TRUE(DeleteObject(ell));
    EXPECT_FALSE(DeleteObject(ell));  // a stale handle is refused
}

TEST_F(CanvasTest, RegionsCombine) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 0, 15, 10), d = CreateRectRgn(0, 0, 0, 0);
    struct Case { int mode; bool in3, in7, in12; };
    const Case cases[] = {{RGN_AND, false, true, false}, {RGN_OR, true, true, true},
                          {RGN_XOR, true, false, true}, {RGN_DIFF, true, false, false}};
    for (const Case& k : cases) {
        CombineRgn(d, a, b, k.mode);
        EXPECT_EQ(bool(PtInRegion(d, 3, 5)), k.in3) << k.mode;
        EXPECT_EQ(bool(PtInRegion(d, 7, 5)), k.in7) << k.mode;
        EXPECT_EQ(bool(PtInRegion(d, 12, 5)), k.in12) << k.mode;
    }
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
    TRect box;
    GetRgnBox(d, &box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    EXPECT_EQ(CombineRgn(d, a, reinterpret_cast<HRGN>(0x1234), RGN_AND), ERROR);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
}

TEST_F(CanvasTest, OriginShiftsDrawingAndDeviceClipLimitsIt) {
    // The canvas of a graphic child control at (10, 10), 10 x 10, inside its parent's image.
    TCanvas child(&bmp);
    child.SetOrigin(10, 10);
    TRect area(10, 10, 20, 20);
    child.SetDeviceClipRect(&area);
    child.Brush()->SetColor(clRed);
    child.FillRect(Rect(0, 0, 100, 100));
    EXPECT_EQ(c->Pixels(10, 10), clRed);
    EXPECT_EQ(c->Pixels(19, 19), clRed);
    EXPECT_EQ(c->Pixels(20, 20), clWhite);
    EXPECT_EQ(c->Pixels(9, 9), clWhite);
    EXPECT_EQ(child.Pixels(0, 0), clRed);
    EXPECT_EQ(child.ClipRect(), Rect(0, 0, 10, 10));
    TPoint org;
    GetViewportOrgEx(child.Handle(), &org);
    EXPECT_EQ(org, TPoint(10, 10));
    SetWindowOrgEx(child.Handle(), 5, 5, nullptr);  // logical (5, 5) is now the child's corner
    child.SetPixels(5, 5, clBlue);
    EXPECT_EQ(c->Pixels(10, 10), clBlue);
}

TEST_F(CanvasTest, FreedBitmapDetachesItsCanvases) {
    auto b = std::make_unique<TBitmap>(5, 5);
    TCanvas other(b.get());
    HDC dc = other.Handle();
    b.reset();
    EXPECT_EQ(other.Bitmap(), nullptr);
    other.FillRect(Rect(0, 0, 5, 5));  // draws nothing, does not crash
    EXPECT_EQ(other.Pixels(0, 0), static_cast<TColor>(CLR_INVALID));
    EXPECT_EQ(TCanvas::FromHandle(dc), &other);
    EXPECT_EQ(TCanvas::FromHandle(reinterpret_cast<HDC>(0x1000)), nullptr);
    EXPECT_EQ(SetBkMode(reinterpret_cast<HDC>(0x1000), TRANSPARENT), 0);
}

TEST_F(CanvasTest, AHandleOfAFreedObjectIsNeverHandedOutAgain) {
    // New objects often land where freed ones were; their handles must still differ, so a stale
    // handle never reaches the newcomer.
    std::vector<HDC> dcs;
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 64; ++i) {
        auto canvas = std::make_unique<TCanvas>();
        auto bitmap = std::make_unique<TBitmap>();
        dcs.push_back(canvas->Handle());
        bitmaps.push_back(bitmap->Handle());
    }
    auto live = std::make_unique<TCanvas>();
    auto liveBitmap = std::make_unique<TBitmap>();
    for (HDC dc : dcs) {
        EXPECT_NE(dc, live->Handle());
        EXPECT_EQ(TCanvas::FromHandle(dc), nullptr);
    }
    for (HBITMAP b : bitmaps) {
        EXPECT_NE(b, liveBitmap->Handle());
        EXPECT_EQ(TBitmap::FromHandle(b), nullptr);
    }
    // Nor does a handle name an object of another kind.
    EXPECT_EQ(TBitmap::FromHandle(reinterpret_cast<HBITMAP>(live->Handle())), nullptr);
    EXPECT_EQ(TCanvas::FromHandle(reinterpret_cast<HDC>(liveBitmap->Handle())), nullptr);
    EXPECT_FALSE(DeleteObject(liveBitmap->Handle()));  // owned by its program, not by the GDI
}

TEST_F(CanvasTest, MemoryDcDoubleBufferingWithGdiObjects) {
    HDC mem = CreateCompatibleDC(c->Handle());
    ASSERT_NE(mem, nullptr);
    HBITMAP off = CreateCompatibleBitmap(c->Handle(), 10, 10);
    BITMAP bm;
    ASSERT_EQ(GetObject(off, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 10);
    HGDIOBJ oldBitmap = SelectObject(mem, off);
    ASSERT_NE(oldBitmap, nullptr);
    HGDIOBJ oldBrush = SelectObject(mem, GetStockObject(BLACK_BRUSH));
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(mem, red);
    Rectangle(mem, 0, 0, 10, 10);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 5, 5), RGB(0, 0, 0));
    // Selecting the old objects back restores the canvas's pen and brush.
    SelectObject(mem, oldPen);
    SelectObject(mem, oldBrush);
    TCanvas* mc = TCanvas::FromHandle(mem);
    EXPECT_EQ(mc->Pen()->Color(), clBlack);
    EXPECT_EQ(mc->Brush()->Color(), clWhite);
    ASSERT_TRUE(BitBlt(c->Handle(), 20, 20, 10, 10, mem, 0, 0, SRCCOPY));
    EXPECT_EQ(c->Pixels(20, 20), clRed);
    EXPECT_EQ(c->Pixels(25, 25), clBlack);
    EXPECT_EQ(GetDeviceCaps(mem, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(mem, HORZRES), 10);
    SelectObject(mem, oldBitmap);
    EXPECT_EQ(GetDeviceCaps(mem, HORZRES), 1);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(off));
    EXPECT_FALSE(DeleteObject(off));
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_FALSE(DeleteDC(mem));
    EXPECT_FALSE(DeleteDC(c->Handle()));  // not a memory DC
    // A font selected into a canvas keeps the canvas's text colour.
    c->Font()->SetColor(clBlue);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfWeight = 700;
    std::u16string face = u"Arial";
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    HFONT f = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(c->Handle(), f);
    EXPECT_EQ(c->Font()->Height(), -20);
    EXPECT_TRUE(c->Font()->Style().Contains(fsBold));
    EXPECT_EQ(c->Font()->Color(), clBlue);
    SelectObject(c->Handle(), oldFont);
    EXPECT_EQ(c->Font()->Height(), -11);
    LOGFONT back;
    ASSERT_EQ(GetObject(c->Font()->Handle(), sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, -11);
    DeleteObject(f);
}

TEST_F(CanvasTest, FloodFillSurfaceAndBorder) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 10, 10);
    c->Brush()->SetColor(clRed);
    c->FloodFill(5, 5, clWhite, fsSurface);
    EXPECT_EQ(CountOf(clRed, Rect(0, 0, 40, 40)), 8 * 8);
    c->Brush()->SetColor(clBlue);
    c->FloodFill(20, 20, clBlack, fsBorder);  // everything up to the black frame
    EXPECT_EQ(c->Pixels(39, 39), clBlue);
    EXPECT_EQ(c->Pixels(5, 5), clRed);
}

TEST_F(CanvasTest, Frame3DAndDrawFocusRect) {
    TRect r(0, 0, 10, 10);
    Frame3D(c, r, clWhite, clBlack, 1);
    EXPECT_EQ(r, Rect(1, 1, 9, 9));
    EXPECT_EQ(c->Pixels(9, 9), clBlack);
    EXPECT_EQ(c->Pixels(9, 0), clBlack);  // the top-right corner belongs to the bottom colour
    EXPECT_EQ(c->Pixels(0, 9), clBlack);
    EXPECT_EQ(c->Pixels(1, 1), clWhite);
    Clear(clWhite);
    c->DrawFocusRect(Rect(0, 0, 10, 10));
    int dots = CountOf(clBlack, Rect(0, 0, 10, 10));
    EXPECT_GT(dots, 10);
    EXPECT_LT(dots, 36);
    c->DrawFocusRect(Rect(0, 0, 10, 10));  // drawn twice it is gone
    EXPECT_EQ(CountOf(clWhite, Rect(0, 0, 40, 40)), 1600);
}

TEST_F(CanvasTest, DrawTransparentBitmapSkipsItsBottomLeftColour) {
    TBitmap glyph(3, 3);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 3, 3));
    glyph.Canvas()->SetPixels(1, 1, clNavy);
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    c->Draw(5, 5, &glyph);
    EXPECT_EQ(c->Pixels(6, 6), clNavy);
    EXPECT_EQ(c->Pixels(5, 5), clWhite);
    glyph.SetTransparent(false);
    c->StretchDraw(Rect(10, 10, 16, 16), &glyph);
    EXPECT_EQ(c->Pixels(10, 10), clFuchsia);
    EXPECT_EQ(c->Pixels(12, 12), clNavy);
    EXPECT_EQ(c->Pixels(13, 13), clNavy);
}

TEST_F(CanvasTest, BrushCopyReplacesAColour) {
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlue);
    c->Brush()->SetColor(clLime);
    c->BrushCopy(Rect(0, 0, 2, 1), &src, Rect(0, 0, 2, 1), clRed);
    EXPECT_EQ(c->Pixels(0, 0), clLime);
    EXPECT_EQ(c->Pixels(1, 0), clBlue);
}

TEST_F(CanvasTest, WidePensAndHatchedBrushes) {
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(3);
    c->Pen()->SetStyle(psInsideFrame);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(5, 5, 25, 25);
    EXPECT_EQ(InkColumns(Rect(0, 0, 40, 40)), std::make_pair(5, 24));  // inside the bounds
    EXPECT_EQ(c->Pixels(6, 15), clBlack);
    EXPECT_EQ(c->Pixels(15, 15), clWhite);
    Clear(clWhite);
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetStyle(bsCross);
    c->Brush()->SetColor(clRed);
    SetBkColor(c->Handle(), RGB(0, 0, 255));
    SetBkMode(c->Handle(), OPAQUE);
    c->FillRect(Rect(0, 0, 16, 16));
    int red = CountOf(clRed, Rect(0, 0, 16, 16)), blue = CountOf(clBlue, Rect(0, 0, 16, 16));
    EXPECT_GT(red, 16);
    EXPECT_GT(blue, 100);  // the gaps take the background colour
    EXPECT_EQ(red + blue, 256);
}

// Text ------------------------------------------------------------------------------------------

class TextTest : public CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        bmp.SetSize(200, 120);
        Clear(clWhite);
        c->Font()->SetName("Arial");  // Liberation Sans
        c->Font()->SetHeight(-12);
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
    }
};

TEST_F(TextTest, TextOutDrawsAtTopLeftAndMovesThePen) {
    c->TextOut(10, 20, "Hello");
    TSize ext = c->TextExtent("Hello");
    EXPECT_GT(ext.cx, 20);
    EXPECT_GE(ext.cy, 12);
    EXPECT_EQ(c->PenPos(), TPoint(10 + ext.cx, 20));
    int ink = CountOf(clBlack, Rect(10, 20, 10 + ext.cx, 20 + ext.cy));
    EXPECT_GT(ink, 20);
    EXPECT_EQ(ink, CountOf(clBlack, Rect(0, 0, 200, 120)));  // nothing outside the text cell
    // An opaque brush fills the cell.
    c->Brush()->SetColor(clYellow);
    c->TextOut(10, 60, "Hello");
    EXPECT_EQ(c->Pixels(10, 60), clYellow);
    EXPECT_EQ(c->Pixels(10 + ext.cx - 1, 60 + ext.cy - 1), clYellow);
    EXPECT_EQ(c->Pixels(10 + ext.cx, 60), clWhite);
}

TEST_F(TextTest, OrientationRotatesTheText) {
    c->Font()->SetOrientation(900);  // up the page
    c->TextOut(50, 100, "Vertical");
    int lo = INT32_MAX, hi = -1, left = INT32_MAX, right = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            if (c->Pixels(x, y) == clBlack) {
                lo = std::min(lo, y); hi = std::max(hi, y);
                left = std::min(left, x); right = std::max(right, x);
            }
    ASSERT_GE(hi, 0);
    EXPECT_GT(hi - lo, 2 * (right - left));  // taller than wide
    EXPECT_LE(hi, 100);                      // it runs upwards from the point
    EXPECT_GE(left, 50);
}

TEST_F(TextTest, TextAlignMovesTheReferencePoint) {
    HDC dc = c->Handle();
    EXPECT_EQ(SetTextAlign(dc, TA_RIGHT | TA_BASELINE), TA_TOP | TA_LEFT);
    c->TextOut(100, 50, "Hg");
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    auto [lo, hi] = InkColumns(Rect(0, 0, 200, 120));
    EXPECT_LE(hi, 100);
    EXPECT_GE(lo, 100 - c->TextWidth("Hg"));
    EXPECT_GT(CountOf(clBlack, Rect(0, 50 - tm.tmAscent, 200, 50)), 10);  // the H stands on the line
    EXPECT_EQ(CountOf(clBlack, Rect(0, 50 + tm.tmDescent, 200, 120)), 0);
    Clear(clWhite);
    c->Brush()->SetStyle(bsClear);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    c->TextOut(100, 10, "Centre");
    auto [l2, h2] = InkColumns(Rect(0, 0, 200, 120));
    EXPECT_NEAR((l2 + h2) / 2.0, 100, 3);
    EXPECT_EQ(GetTextAlign(dc), TA_CENTER | TA_TOP);
}

TEST_F(TextTest, TextMetricsOfTheNamedFont) {
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(c->Handle(), &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight, c->TextHeight("X"));
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_GT(tm.tmAveCharWidth, 3);
    c->Font()->SetSize(8);
    EXPECT_EQ(c->Font()->Height(), -11);
    c->Font()->SetHeight(-16);
    EXPECT_EQ(c->Font()->Size(), 12);
}

TEST_F(TextTest, CalcRectWordBreakGrowsTallerWhenNarrower) {
    String text("The quick brown fox jumps over the lazy dog");
    TRect wide(0, 0, 400, 0), narrow(0, 0, 80, 0);
    int hw = DrawText(c->Handle(), text, -1, &wide, DT_CALCRECT | DT_WORDBREAK);
    int hn = DrawText(c->Handle(), text, -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(hw, c->TextHeight(text));
    EXPECT_EQ(wide.Bottom, hw);
    EXPECT_GT(hn, hw * 3);
    EXPECT_EQ(narrow.Bottom, hn);
    EXPECT_LE(narrow.Right, 80);
    EXPECT_EQ(CountOf(clWhite, Rect(0, 0, 200, 120)), 200 * 120);  // measuring draws nothing
    // Single line: the rectangle takes the text's width.
    TRect one(5, 5, 6, 6);
    DrawText(c->Handle(), "abc", -1, &one, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(one.Right - one.Left, c->TextWidth("abc"));
    EXPECT_EQ(one.Bottom - one.Top, c->TextHeight("abc"));
}

TEST_F(TextTest, TabsAndLongWords) {
    TEXTMETRIC tm;
    GetTextMetrics(c->Handle(), &tm);
    TRect r(0, 0, 0, 0);
    DrawText(c->Handle(), "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + c->TextWidth("b"));
    // A word longer than the line overflows it, unless the text is laid out like an edit control.
    String word("Supercalifragilistic");
    TRect plain(0, 0, 40, 0), edit(0, 0, 40, 0);
    int h1 = DrawText(c->Handle(), word, -1, &plain, DT_CALCRECT | DT_WORDBREAK);
    int h2 = DrawText(c->Handle(), word, -1, &edit, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_EQ(h1, tm.tmHeight);
    EXPECT_GT(plain.Right, 40);
    EXPECT_GT(h2, 2 * tm.tmHeight);
    EXPECT_LE(edit.Right, 40);
    // Explicit line breaks without DT_SINGLELINE.
    TRect lines(0, 0, 200, 0);
    EXPECT_EQ(DrawText(c->Handle(), "one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
}

TEST_F(TextTest, JapaneseWrapsBetweenFullWidthCharacters) {
    String text("日本語の文章は空白なしで折り返す");
    TRect r(0, 0, 60, 0);
    int h = DrawText(c->Handle(), text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(h, c->TextHeight(text) * 2);
    EXPECT_LE(r.Right, 60);
}

TEST_F(TextTest, EndEllipsisShortensTextToFit) {
    String text("A rather long caption that cannot fit");
    TRect r(0, 0, 80, 20);
    DrawText(c->Handle(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    auto [lo, hi] = InkColumns(Rect(0, 0, 200, 20));
    EXPECT_EQ(lo >= 0 && lo < 3, true);
    EXPECT_LT(hi, 80);
    EXPECT_GT(hi, 50);
    // The same text without ellipsis but no clip runs past the rectangle.
    Clear(clWhite);
    c->Brush()->SetStyle(bsClear);
    DrawText(c->Handle(), text, -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkColumns(Rect(0, 0, 200, 20)).second, 100);
    // Clipped: nothing beyond the right edge.
    Clear(clWhite);
    c->Brush()->SetStyle(bsClear);
    DrawText(c->Handle(), text, -1, &r, DT_SINGLELINE);
    EXPECT_LT(InkColumns(Rect(0, 0, 200, 20)).second, 80);
}

TEST_F(TextTest, PathEllipsisKeepsTheFileName) {
    // The kept tail "\\file.txt" measured on its own fits; the whole path does not.
    String path("C:\\some\\deep\\folder\\name\\file.txt");
    TRect r(0, 0, 110, 20);
    TRect full(0, 0, 0, 0);
    DrawText(c->Handle(), path, -1, &full, DT_CALCRECT | DT_SINGLELINE);
    ASSERT_GT(full.Right, 110);
    DrawText(c->Handle(), path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS);
    auto [lo, hi] = InkColumns(Rect(0, 0, 200, 20));
    EXPECT_LT(hi, 110);
    EXPECT_GT(hi, 110 - 15);  // the text still reaches the right part: the file name is there
}

TEST_F(TextTest, PrefixUnderlinesAndNoPrefixShowsTheAmpersand) {
    TRect r(0, 0, 200, 30);
    DrawText(c->Handle(), "&File", -1, &r, DT_SINGLELINE);
    int fileWidth = c->TextWidth("File");
    int fWidth = c->TextWidth("F");
    auto [lo, hi] = InkColumns(Rect(0, 0, 200, 30));
    EXPECT_LT(hi, fileWidth + 1);  // "File", not "&File"
    TEXTMETRIC tm;
    GetTextMetrics(c->Handle(), &tm);
    int uy = tm.tmAscent + 1;
    int under = 0;
    for (int x = 0; x < fWidth; ++x) under += c->Pixels(x, uy) == clBlack;
    EXPECT_GE(under, fWidth - 1);
    int rest = 0;
    for (int x = fWidth + 1; x < fileWidth; ++x) rest += c->Pixels(x, uy) == clBlack;
    EXPECT_LT(rest, 2);  // only the F is underlined
    // DT_NOPREFIX draws the ampersand as it is.
    Clear(clWhite);
    c->Brush()->SetStyle(bsClear);
    DrawText(c->Handle(), "&File", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(InkColumns(Rect(0, 0, 200, 30)).second, fileWidth + 2);
    TRect calc(0, 0, 0, 0);
    DrawText(c->Handle(), "a&&b", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, c->TextWidth("a&b"));
}

TEST_F(TextTest, AlignmentFlags) {
    TRect r(0, 0, 200, 100);
    struct Case { UINT flags; int left, right, top, bottom; };
    int w = c->TextWidth("Ab"), h = c->TextHeight("Ab");
    const Case cases[] = {
        {DT_SINGLELINE, 0, w, 0, h},
        {DT_SINGLELINE | DT_RIGHT, 200 - w, 200, 0, h},
        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, (200 - w) / 2, (200 - w) / 2 + w, (100 - h) / 2, (100 - h) / 2 + h},
        {DT_SINGLELINE | DT_BOTTOM, 0, w, 100 - h, 100},
    };
    for (const Case& k : cases) {
        Clear(clWhite);
        c->Brush()->SetStyle(bsClear);
        DrawText(c->Handle(), "Ab", -1, &r, k.flags);
        int inside = CountOf(clBlack, Rect(k.left, k.top, k.right, k.bottom));
        EXPECT_GT(inside, 10) << k.flags;
        EXPECT_EQ(inside, CountOf(clBlack, Rect(0, 0, 200, 120))) << k.flags;
    }
}

TEST_F(TextTest, HalfWidthKatakanaRendersWithTheMappedFont) {
    c->Font()->SetName("ＭＳ Ｐゴシック");
    EXPECT_EQ(TFont::SubstituteFamilies(c->Font()->Name()).front(), String("Noto Sans CJK JP"));
    c->TextOut(0, 0, "ｱﾝﾃﾅ");
    TSize ext = c->TextExtent("ｱﾝﾃﾅ");
    EXPECT_GT(ext.cx, 12);
    EXPECT_GT(CountOf(clBlack, Rect(0, 0, ext.cx, ext.cy)), 20);
    const std::string png = ::testing::TempDir() + std::to_string(getpid()) + "katakana.png";
    EXPECT_TRUE(qtb::SaveBitmapAsPng(bmp, String(png)));
    std::filesystem::remove(png);
}

TEST_F(TextTest, TextRectClipsAndDrawText3DOffsets) {
    c->TextRect(Rect(0, 0, 10, 20), 0, 0, "WWWWWW");
    EXPECT_EQ(InkColumns(Rect(0, 0, 200, 20)).second < 10, true);
    // SetTextColor on the handle wins until the font changes again.
    Clear(clWhite);
    c->Brush()->SetStyle(bsClear);
    HDC dc = c->Handle();
    SetTextColor(dc, RGB(255, 0, 0));
    TRect r(0, 0, 100, 20);
    DrawText(dc, "Red", -1, &r, DT_SINGLELINE);
    EXPECT_GT(CountOf(clRed, Rect(0, 0, 100, 20)), 5);
    EXPECT_EQ(CountOf(clBlack, Rect(0, 0, 100, 20)), 0);
    c->Font()->SetColor(clBlue);
    DrawText(c->Handle(), "Blue", -1, &r, DT_SINGLELINE);
    EXPECT_GT(CountOf(clBlue, Rect(0, 0, 100, 20)), 5);
}

}  // namespace
