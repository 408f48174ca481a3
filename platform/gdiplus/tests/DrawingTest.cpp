// Drawing on bitmaps and canvases: smoothing, gradients, shared pixels with the canvas, image
// attributes.
#include "platform/gdiplus/tests/GdiPlusTest.h"

#include "platform/ui/Graphics.h"

namespace gdiplus_test {
namespace {

using Drawing = GdiPlusTest;

// The colours a filled ellipse leaves on white: only the two without smoothing, blends on its
// rim with anti-aliasing.
TEST_F(Drawing, SmoothingBlendsTheEdgesOfAnEllipseOnlyWhenAntiAliased) {
    for (SmoothingMode mode : {SmoothingModeDefault, SmoothingModeAntiAlias}) {
        GpBitmap* b = Bitmap(40, 40);
        GpGraphics* g = On(b);
        ASSERT_EQ(GdipSetSmoothingMode(g, mode), Ok);
        GpSolidFill* red = nullptr;
        GdipCreateSolidFill(0xFFFF0000, &red);
        ASSERT_EQ(GdipFillEllipse(g, red, 5, 5, 30, 30), Ok);
        int red_ = 0, white = 0, blended = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                ARGB c = Pixel(b, x, y);
                (c == 0xFFFF0000 ? red_ : c == 0xFFFFFFFF ? white : blended)++;
            }
        EXPECT_GT(red_, 500) << mode;
        EXPECT_GT(white, 500) << mode;
        if (mode == SmoothingModeAntiAlias) EXPECT_GT(blended, 20);
        else EXPECT_EQ(blended, 0);
        GdipDeleteBrush(red);
        GdipDeleteGraphics(g);
        GdipDisposeImage(b);
    }
}

TEST_F(Drawing, AVerticalGradientFromARectangleRunsFromColour1AtTheTopToColour2AtTheBottom) {
    GpBitmap* b = Bitmap(20, 100);
    GpGraphics* g = On(b);
    GpRectF r{0, 0, 20, 100};
    GpLineGradient* brush = nullptr;
    ASSERT_EQ(GdipCreateLineBrushFromRect(&r, 0xFFFF0000, 0xFF0000FF, LinearGradientModeVertical, WrapModeTile, &brush), Ok);
    ASSERT_EQ(GdipFillRectangle(g, brush, 0, 0, 20, 100), Ok);
    for (int x : {0, 10, 19}) {
        EXPECT_LE(Distance(Pixel(b, x, 0), 0xFFFF0000), 4);
        EXPECT_LE(Distance(Pixel(b, x, 99), 0xFF0000FF), 6);
        EXPECT_LE(Distance(Pixel(b, x, 50), 0xFF800080), 6);
    }
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(g);
    GdipDisposeImage(b);
}

TEST_F(Drawing, APathGradientGoesFromTheCentreColourToTheSurroundColour) {
    GpBitmap* b = Bitmap(100, 100);
    GpGraphics* g = On(b);
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    GdipAddPathEllipse(path, 0, 0, 100, 100);
    GpPathGradient* brush = nullptr;
    ASSERT_EQ(GdipCreatePathGradientFromPath(path, &brush), Ok);
    ASSERT_EQ(GdipSetPathGradientCenterColor(brush, 0xFFFF0000), Ok);
    GpPoint centre{50, 50};
    ASSERT_EQ(GdipSetPathGradientCenterPointI(brush, &centre), Ok);
    ARGB blue = 0xFF0000FF;
    INT count = 1;
    ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(brush, &blue, &count), Ok);
    ASSERT_EQ(GdipFillPath(g, brush, path), Ok);
    EXPECT_LE(Distance(Pixel(b, 50, 50), 0xFFFF0000), 12);
    for (auto [x, y] : {std::pair{50, 2}, {2, 50}, {97, 50}, {50, 97}}) EXPECT_LE(Distance(Pixel(b, x, y), blue), 24) << x << "," << y;
    EXPECT_EQ(Pixel(b, 1, 1), 0xFFFFFFFFu);  // outside the ellipse
    // More surround colours than the path has points are refused.
    INT points = 0;
    GdipGetPathGradientPointCount(brush, &points);
    std::vector<ARGB> many(points + 1, blue);
    count = points + 1;
    EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(brush, many.data(), &count), InvalidParameter);
    GdipDeleteBrush(brush);
    GdipDeletePath(path);
    GdipDeleteGraphics(g);
    GdipDisposeImage(b);
}

// A graphics on a canvas's handle and the canvas draw on the same pixels, one after the other in
// the order of the calls, inside a lock bracket (one painter) and outside it, at the canvas's
// origin.
TEST_F(Drawing, AGraphicsOnACanvasHandleDrawsInTheCanvasPixelsInCallOrder) {
    for (bool locked : {false, true}) {
        TBitmap bitmap(60, 60);
        TCanvas* canvas = bitmap.Canvas();
        canvas->SetOrigin(5, 5);
        if (locked) canvas->Lock();
        canvas->Brush()->SetColor(clBlue);
        canvas->FillRect(TRect(-5, -5, 55, 55));
        GpGraphics* g = nullptr;
        ASSERT_EQ(GdipCreateFromHDC(canvas->Handle(), &g), Ok);
        GpSolidFill* red = nullptr;
        GdipCreateSolidFill(0xFFFF0000, &red);
        ASSERT_EQ(GdipFillRectangleI(g, red, 10, 10, 20, 20), Ok);
        canvas->Brush()->SetColor(clLime);
        canvas->FillRect(TRect(15, 15, 25, 25));
        ASSERT_EQ(GdipFillRectangleI(g, red, 20, 20, 2, 2), Ok);
        if (locked) canvas->Unlock();
        EXPECT_EQ(canvas->Pixels(10, 10), clRed) << locked;
        EXPECT_EQ(canvas->Pixels(29, 29), clRed) << locked;
        EXPECT_EQ(canvas->Pixels(30, 30), clBlue) << locked;
        EXPECT_EQ(canvas->Pixels(16, 16), clLime) << locked;
        EXPECT_EQ(canvas->Pixels(21, 21), clRed) << locked;
        EXPECT_EQ(canvas->Pixels(9, 9), clBlue) << locked;
        GdipDeleteBrush(red);
        GdipDeleteGraphics(g);
    }
}

TEST_F(Drawing, AGraphicsOnAFreedCanvasAnswersWrongStateAndAStaleHandleInvalidParameter) {
    GpGraphics* g = nullptr;
    {
        TBitmap bitmap(10, 10);
        ASSERT_EQ(GdipCreateFromHDC(bitmap.Canvas()->Handle(), &g), Ok);
    }
    EXPECT_EQ(GdipGraphicsClear(g, 0xFF000000), WrongState);
    EXPECT_EQ(GdipDeleteGraphics(g), Ok);
    EXPECT_EQ(GdipGraphicsClear(g, 0xFF000000), InvalidParameter);
    EXPECT_EQ(GdipCreateFromHDC(nullptr, &g), InvalidParameter);
}

TEST_F(Drawing, AColourKeyMakesThePixelsInItsRangeTransparent) {
    GpBitmap* picture = nullptr;
    GdipCreateBitmapFromScan0(4, 1, 0, PixelFormat32bppARGB, nullptr, &picture);
    const ARGB row[4] = {0xFF00FF00, 0xFFFF0000, 0xFF00FF00, 0xFF00FE00};
    for (int x = 0; x < 4; ++x) GdipBitmapSetPixel(picture, x, 0, row[x]);
    GpImageAttributes* ia = nullptr;
    ASSERT_EQ(GdipCreateImageAttributes(&ia), Ok);
    ASSERT_EQ(GdipSetImageAttributesColorKeys(ia, ColorAdjustTypeDefault, 1, 0xFF00FF00, 0xFF00FF00), Ok);
    GpBitmap* b = Bitmap(4, 1);
    GpGraphics* g = On(b);
    ASSERT_EQ(GdipDrawImageRectRectI(g, picture, 0, 0, 4, 1, 0, 0, 4, 1, UnitPixel, ia, nullptr, nullptr), Ok);
    EXPECT_EQ(Pixel(b, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(b, 1, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(b, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(b, 3, 0), 0xFF00FE00u);  // just outside the key
    // Without the attributes the green is drawn.
    ASSERT_EQ(GdipDrawImageI(g, picture, 0, 0), Ok);
    EXPECT_EQ(Pixel(b, 0, 0), 0xFF00FF00u);
    GdipDisposeImageAttributes(ia);
    GdipDeleteGraphics(g);
    GdipDisposeImage(b);
    GdipDisposeImage(picture);
}

}  // namespace
}  // namespace gdiplus_test
