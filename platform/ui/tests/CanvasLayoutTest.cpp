// Right-to-left canvases: the layout of a DC mirrors what is drawn about its area, keeps the
// letters of text, and turns bitmaps unless their orientation is preserved.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <utility>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class CanvasLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        bmp.SetSize(100, 20);
        c = bmp.Canvas();
        dc = c->Handle();
        Clear();
    }
    void Clear() {
        c->Brush()->SetColor(clWhite);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    // The first and last columns of a row with a pixel of colour (-1, -1 for none).
    std::pair<int, int> Columns(int y, TColor color) {
        int lo = -1, hi = -1;
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas()->Pixels(x, y) == color) {
                if (lo < 0) lo = x;
                hi = x;
            }
        return {lo, hi};
    }
    // Reads pixels whatever the layout (Pixels follows it).
    TColor Device(int x, int y) {
        DWORD layout = GetLayout(dc);
        SetLayout(dc, 0);
        TColor p = c->Pixels(x, y);
        SetLayout(dc, layout);
        return p;
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
    HDC dc = nullptr;
};

TEST_F(CanvasLayoutTest, ARectangleLandsMirroredAboutTheBitmapAndLeftToRightDrawsAsBefore) {
    EXPECT_EQ(GetLayout(dc), 0u);
    EXPECT_EQ(c->CanvasOrientation(), coLeftToRight);
    EXPECT_EQ(SetLayout(dc, LAYOUT_RTL), 0u);
    EXPECT_EQ(c->CanvasOrientation(), coRightToLeft);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    SetLayout(dc, 0);
    EXPECT_EQ(Columns(5, clRed), std::make_pair(90, 99));
    EXPECT_EQ(Columns(15, clRed), std::make_pair(-1, -1));

    // Lines, shapes and pixels follow; reading a pixel under the layout reads where it landed.
    Clear();
    SetLayout(dc, LAYOUT_RTL);
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 12);
    c->LineTo(5, 12);
    c->Rectangle(20, 14, 30, 18);
    c->SetPixels(1, 19, clGreen);
    EXPECT_EQ(c->Pixels(1, 19), clGreen);
    SetLayout(dc, 0);
    EXPECT_EQ(Columns(12, clBlue), std::make_pair(95, 99));
    EXPECT_EQ(Columns(14, clBlue), std::make_pair(70, 79));
    EXPECT_EQ(Columns(19, clGreen), std::make_pair(98, 98));

    // Back to left-to-right: drawn where it is asked for.
    Clear();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Columns(5, clRed), std::make_pair(0, 9));
}

TEST_F(CanvasLayoutTest, TextEndsAtTheRightEdgeWithItsLettersInReadingOrder) {
    c->Font()->SetName("Arial");  // Liberation Sans
    c->Font()->SetHeight(-14);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    int wa = c->TextWidth("A"), wab = c->TextWidth("AB");
    // Each letter on its own, left to right, gives the ink of "A" and of "B".
    c->TextOut(0, 2, "A");
    std::pair<int, int> inkA{100, -1};
    for (int y = 0; y < 20; ++y) {
        auto cols = Columns(y, clBlack);
        if (cols.first >= 0) inkA = {std::min(inkA.first, cols.first), std::max(inkA.second, cols.second)};
    }
    ASSERT_LT(inkA.second, wa + 1);
    Clear();

    SetLayout(dc, LAYOUT_RTL);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(0, 2, "AB");
    SetLayout(dc, 0);
    std::pair<int, int> ink{100, -1};
    for (int y = 0; y < 20; ++y) {
        auto cols = Columns(y, clBlack);
        if (cols.first >= 0) ink = {std::min(ink.first, cols.first), std::max(ink.second, cols.second)};
    }
    // The box [100 - wab, 100): "A" starts it, where it starts its own box, and "B" ends it.
    EXPECT_EQ(ink.first, 100 - wab + inkA.first);
    EXPECT_GE(ink.second, 100 - wab + wa);
    EXPECT_LE(ink.second, 99);
    // "A" is left of "B": the column just right of A's own ink lies inside B's box, not A's.
    bool inkRightOfA = false;
    for (int x = 100 - wab + wa; x < 100; ++x)
        for (int y = 0; y < 20; ++y) inkRightOfA = inkRightOfA || Device(x, y) == clBlack;
    EXPECT_TRUE(inkRightOfA);
}

TEST_F(CanvasLayoutTest, BitmapsTurnUnlessTheirOrientationIsPreserved) {
    // 10 x 10: the left column red, the rest white.
    TBitmap mark(10, 10);
    mark.Canvas()->Brush()->SetColor(clWhite);
    mark.Canvas()->FillRect(Rect(0, 0, 10, 10));
    mark.Canvas()->Brush()->SetColor(clRed);
    mark.Canvas()->FillRect(Rect(0, 0, 1, 10));

    struct Case {
        const char* name;
        DWORD layout;
        int redColumn;  // device column of the mark's red one, drawn at logical x 0..9
    } cases[] = {{"left to right", 0, 0},
                 {"mirrored", LAYOUT_RTL, 99},
                 {"preserved", LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED, 90}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        // Drawn, then blitted: both follow the layout.
        Clear();
        SetLayout(dc, k.layout);
        c->Draw(0, 0, &mark);
        SetLayout(dc, 0);
        EXPECT_EQ(Columns(5, clRed), std::make_pair(k.redColumn, k.redColumn));
        Clear();
        SetLayout(dc, k.layout);
        ASSERT_TRUE(BitBlt(dc, 0, 0, 10, 10, mark.Canvas()->Handle(), 0, 0, SRCCOPY));
        SetLayout(dc, 0);
        EXPECT_EQ(Columns(5, clRed), std::make_pair(k.redColumn, k.redColumn));
    }
}

TEST_F(CanvasLayoutTest, TheLayoutIsSavedWithTheDcAndBadBitsAreRefused) {
    SetLayout(dc, LAYOUT_RTL);
    int saved = SaveDC(dc);
    EXPECT_EQ(SetLayout(dc, 0), LAYOUT_RTL);
    ASSERT_TRUE(RestoreDC(dc, saved));
    EXPECT_EQ(GetLayout(dc), LAYOUT_RTL);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(SetLayout(dc, 0), LAYOUT_RTL);
    EXPECT_EQ(Columns(5, clRed), std::make_pair(90, 99));

    EXPECT_EQ(SetLayout(dc, 2), GDI_ERROR);
    EXPECT_EQ(SetLayout(dc, LAYOUT_RTL | 0x100), GDI_ERROR);
    EXPECT_EQ(GetLayout(dc), 0u);

    HDC stale;
    {
        TBitmap gone(4, 4);
        stale = gone.Canvas()->Handle();
    }
    EXPECT_EQ(SetLayout(stale, LAYOUT_RTL), GDI_ERROR);
    EXPECT_EQ(GetLayout(stale), GDI_ERROR);
}

TEST_F(CanvasLayoutTest, ClipRectanglesFollowTheLayout) {
    SetLayout(dc, LAYOUT_RTL);
    IntersectClipRect(dc, 0, 0, 10, 20);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(0, 0, 10, 20));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 100, 20));
    SelectClipRgn(dc, nullptr);
    SetLayout(dc, 0);
    EXPECT_EQ(Columns(5, clRed), std::make_pair(90, 99));
}

}  // namespace
