// Cell shapes, the pie, the signed bar and the two progress bars, checked on the pixels of bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "render/VarAvir.h"
#include "render/tests/DrawTestSupport.h"

namespace {

using render_test::kMarker;
using render_test::SamePixels;
using render_test::Sheet;

constexpr TColor kFill = 0x40C0FF, kPen = 0x004080;

TEST(Shapes, DrawnAtTheirVertices) {
    // Every shape at (2, 3) in 30 x 26 (w2 = 15, h2 = 13), against the primitive with the
    // vertices it is made of.
    using Draw = std::function<void(TCanvas*)>;
    auto polygon = [](std::vector<TPoint> points) -> Draw { return [points](TCanvas* c) { c->Polygon(points); }; };
    const struct {
        TCellShape shape;
        Draw expected;
    } cases[] = {
        {csRectangle, [](TCanvas* c) { c->Rectangle(3, 4, 31, 28); }},
        {csSquare, [](TCanvas* c) { c->Rectangle(3, 4, 27, 28); }},
        {csCircle, [](TCanvas* c) { c->Ellipse(2, 3, 28, 29); }},
        {csEllips, [](TCanvas* c) { c->Ellipse(2, 3, 32, 29); }},
        {csTriangleLeft, polygon({{32, 3}, {32, 29}, {2, 16}})},
        {csTriangleRight, polygon({{2, 3}, {2, 29}, {32, 16}})},
        {csTriangleUp, polygon({{2, 29}, {32, 29}, {17, 3}})},
        {csTriangleDown, polygon({{2, 3}, {32, 3}, {17, 29}})},
        {csDiamond, polygon({{2, 16}, {17, 3}, {32, 16}, {17, 29}})},
        {csLineVert, [](TCanvas* c) { c->Rectangle(17, 3, 18, 29); }},
        {csLineHorz, [](TCanvas* c) { c->Rectangle(2, 16, 32, 17); }},
        {csRoundRect, [](TCanvas* c) { c->RoundRect(2, 3, 32, 29, 10, 10); }},
        {csRoundSquare, [](TCanvas* c) { c->RoundRect(2, 3, 28, 29, 10, 10); }},
        // Inner points on a third of the radii: 5 across and 13 / 3 down.
        {csStar, polygon({{17, 3}, {20, 12}, {31, 12}, {22, 17}, {26, 27}, {17, 20}, {8, 27}, {12, 17}, {3, 12}, {14, 12}})},
        {csHalfStar, polygon({{17, 3}, {14, 12}, {3, 12}, {12, 17}, {8, 27}, {17, 20}})},
        {csArrowUp, polygon({{2, 16}, {17, 3}, {32, 16}, {23, 16}, {23, 29}, {9, 29}, {9, 16}})},
        {csArrowDown, polygon({{2, 16}, {17, 29}, {32, 16}, {23, 16}, {23, 3}, {9, 3}, {9, 16}})},
        {csArrowLeft, polygon({{2, 16}, {17, 3}, {17, 9}, {32, 9}, {32, 21}, {17, 21}, {17, 29}})},
        {csArrowRight, polygon({{32, 16}, {17, 3}, {17, 9}, {2, 9}, {2, 21}, {17, 21}, {17, 29}})},
    };
    for (const auto& c : cases) {
        Sheet drawn(36, 32), expected(36, 32);
        DrawShape(drawn.Canvas(), 2, 3, 30, 26, c.shape, kFill, kPen);
        expected.Canvas()->Pen()->SetColor(kPen);
        expected.Canvas()->Brush()->SetColor(kFill);
        c.expected(expected.Canvas());
        EXPECT_TRUE(SamePixels(drawn, expected)) << "shape " << c.shape;
    }
    Sheet none(36, 32);
    DrawShape(none.Canvas(), 2, 3, 30, 26, static_cast<TCellShape>(19), kFill, kPen);
    EXPECT_TRUE(none.Where([](TColor c) { return c != kMarker; }).empty());

    Sheet triangle(20, 20), expected(20, 20);
    DrawDownTriangle(triangle.Canvas(), 10, 5, clRed);
    expected.Canvas()->Pen()->SetColor(clRed);
    expected.Canvas()->Brush()->SetColor(clRed);
    expected.Canvas()->Polygon(std::vector<TPoint>{{7, 5}, {13, 5}, {10, 8}});
    EXPECT_TRUE(SamePixels(triangle, expected));
}

// A 20 x 20 pie on white with the slice in red.
void Pie(Sheet& sheet, int percent, bool flag) {
    sheet.Clear();
    sheet.Canvas()->Brush()->SetColor(clWhite);
    DrawPieChart(sheet.Canvas(), TRect(2, 2, 22, 22), clRed, percent, flag);
}

TEST(Pies, TheFillStaysInTheSlice) {
    Sheet thin(24, 24), quarter(24, 24), whole(24, 24), over(24, 24), empty(24, 24);
    for (bool flag : {false, true}) {
        // A 2 % slice lies right of the upward radius and above the centre (12, 12).
        Pie(thin, 2, flag);
        for (TPoint p : thin.Where([](TColor c) { return c == clRed; }))
            EXPECT_TRUE(p.X >= 12 && p.X <= 14 && p.Y < 12) << p.X << ", " << p.Y << (flag ? " with the flag" : "");
        EXPECT_EQ(thin.At(0, 0), kMarker);
        EXPECT_EQ(thin.At(6, 6), clWhite);

        Pie(quarter, 25, flag);
        EXPECT_EQ(quarter.At(16, 7), clRed);
        EXPECT_EQ(quarter.At(7, 7), clWhite);
        EXPECT_EQ(quarter.At(16, 16), clWhite);
        for (TPoint p : quarter.Where([](TColor c) { return c == clRed; }))
            EXPECT_TRUE(p.X > 12 && p.Y < 12) << p.X << ", " << p.Y;
        EXPECT_EQ(quarter.At(12, 6), 0x808080);  // the radii
        EXPECT_EQ(quarter.At(16, 12), 0x808080);
        EXPECT_EQ(quarter.At(0, 0), kMarker);
    }
    Pie(whole, 100, false);
    for (TPoint p : {TPoint(7, 7), TPoint(16, 16), TPoint(7, 16), TPoint(16, 7)}) EXPECT_EQ(whole.At(p.X, p.Y), clRed);
    EXPECT_EQ(whole.At(0, 0), kMarker);
    EXPECT_EQ(whole.At(2, 12), 0x808080);  // the outline
    Pie(over, 150, false);
    EXPECT_TRUE(SamePixels(over, whole));
    Pie(empty, 0, false);
    EXPECT_TRUE(empty.Where([](TColor c) { return c == clRed; }).empty());
}

TEST(SignedBars, RunFromTheCentre) {
    // (0, 0, 100, 20) shrinks to (2, 2, 98, 18): half 48, centre 50.
    Sheet sheet(100, 20);
    auto bar = [&](int value, int max) -> Sheet& {
        sheet.Clear();
        DrawPosNegBar(sheet.Canvas(), TRect(0, 0, 100, 20), value, max, false, clRed, clGreen);
        return sheet;
    };
    using Runs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(bar(50, 100).Runs(10, clGreen), (Runs{{50, 24}}));
    EXPECT_EQ(bar(-50, 100).Runs(10, clRed), (Runs{{26, 24}}));
    EXPECT_EQ(bar(500, 100).Runs(10, clGreen), (Runs{{50, 48}}));
    EXPECT_EQ(bar(-500, 100).Runs(10, clRed), (Runs{{2, 48}}));
    bar(50, 100);
    EXPECT_EQ(sheet.At(60, 2), clGreen);
    EXPECT_EQ(sheet.At(60, 17), clGreen);
    EXPECT_EQ(sheet.At(60, 18), kMarker);
    bar(50, 0);
    EXPECT_TRUE(sheet.Where([](TColor c) { return c != kMarker; }).empty());

    Sheet shown(100, 20);
    DrawPosNegBar(shown.Canvas(), TRect(0, 0, 100, 20), -500, 100, true, clRed, clGreen);
    EXPECT_FALSE(shown.Where([](TColor c) { return c == clBlack; }).empty());  // the value's text
}

struct ProgressBars : ::testing::Test {
    static constexpr TColor kDone = 0x008000, kDoneText = 0x00FFFF, kRest = 0xE0E0E0, kRestText = 0x800000;
    Sheet sheet{104, 24};
    void Draw(Sheet& target, double position, int min, int max, const String& format) {
        target.Clear();
        target.Canvas()->Font()->SetName("Arial");
        target.Canvas()->Font()->SetSize(9);
        target.Canvas()->Brush()->SetColor(clWhite);
        DrawProgressBar(target.Canvas(), TRect(0, 0, 100, 20), kDone, kDoneText, kRest, kRestText, position, 0, 0, min,
                        max, format, clNone, false);
    }
    std::vector<TPoint> Of(TColor color) { return sheet.Where([&](TColor c) { return c == color; }); }
};

TEST_F(ProgressBars, AFullBarShowsThePositionItself) {
    Draw(sheet, 150, 0, 100, "");
    EXPECT_TRUE(Of(kRest).empty());
    EXPECT_TRUE(Of(kRestText).empty());
    EXPECT_FALSE(Of(kDoneText).empty());
    // The text is "150%": the same pixels as a full bar that shows that text by its format, and
    // others than a bar with another text or another part done.
    Sheet other(104, 24);
    Draw(other, 150, 50, 150, "%.0f%%");
    EXPECT_TRUE(SamePixels(other, sheet));
    Draw(other, 250, 150, 250, "%.0f%%");
    EXPECT_FALSE(SamePixels(other, sheet));
    Draw(other, 150, 150, 250, "%.0f%%");
    EXPECT_FALSE(SamePixels(other, sheet));
}

TEST_F(ProgressBars, IntegerFormatsShowTheRoundedPosition) {
    Draw(sheet, 42.6, 0, 100, "%d%%");
    Sheet plain(104, 24);
    Draw(plain, 43, 0, 100, "");
    EXPECT_TRUE(SamePixels(sheet, plain));
}

TEST_F(ProgressBars, TheTextChangesColourWhereTheBarEnds) {
    Draw(sheet, 50, 0, 100, "");
    const auto done = Of(kDoneText), rest = Of(kRestText);
    ASSERT_FALSE(done.empty());
    ASSERT_FALSE(rest.empty());
    EXPECT_TRUE(std::all_of(done.begin(), done.end(), [](TPoint p) { return p.X < 50; }));
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](TPoint p) { return p.X >= 50; }));
    EXPECT_EQ(sheet.At(49, 1), kDone);
    EXPECT_EQ(sheet.At(50, 1), kRest);
}

TEST_F(ProgressBars, AnEmptyRangeShowsNothingDone) {
    Draw(sheet, 5, 5, 5, "%.1f");
    EXPECT_TRUE(Of(kDone).empty());
    EXPECT_FALSE(Of(kRestText).empty());
}

TEST_F(ProgressBars, FramesAroundTheMargins) {
    sheet.Canvas()->Brush()->SetColor(clYellow);
    DrawProgressBar(sheet.Canvas(), TRect(0, 0, 100, 20), kDone, kDoneText, kRest, kRestText, 30, 2, 2, 0, 100, "",
                    clBlue, false);
    EXPECT_EQ(sheet.At(1, 10), clBlue);
    EXPECT_EQ(sheet.At(50, 1), clBlue);
    EXPECT_EQ(sheet.At(98, 10), clBlue);
    EXPECT_EQ(sheet.At(0, 10), clYellow);  // the entry brush colour, outside the border
    EXPECT_EQ(sheet.At(50, 19), clYellow);
    EXPECT_EQ(sheet.At(2, 10), kDone);
    EXPECT_EQ(sheet.At(100, 10), kMarker);
    sheet.Clear();
    sheet.Canvas()->Brush()->SetColor(clYellow);
    DrawProgressBar(sheet.Canvas(), TRect(0, 0, 100, 20), kDone, kDoneText, kRest, kRestText, 30, 2, 2, 0, 100, "",
                    clNone, false);
    EXPECT_EQ(sheet.At(1, 10), kMarker);
    EXPECT_EQ(sheet.At(0, 10), clYellow);
}

struct LevelBars : ::testing::Test {
    TProgressLook look;
    void SetUp() override {
        look.Level0Color = 0x000010;
        look.Level0ColorTo = 0x000011;
        look.Level1Color = 0x000020;
        look.Level1ColorTo = 0x000021;
        look.Level2Color = 0x000030;
        look.Level2ColorTo = 0x000031;
        look.Level3Color = 0x000040;
        look.Level3ColorTo = 0x000041;
        look.Level1Perc = 30;
        look.Level2Perc = 60;
        look.BorderColor = clBlack;
        look.ShowBorder = true;
        look.UnCompleteColor = clWhite;
        look.Steps = 4;
    }
};

TEST_F(LevelBars, BlocksAtAPitchOfNine) {
    look.CompletionSmooth = false;
    Sheet sheet(104, 14);
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 25, look);
    using Runs = std::vector<std::pair<int, int>>;
    // Inner 100, 25 %: n = 25, two blocks of 7 and one of 25 mod 9 - 1.
    EXPECT_EQ(sheet.Runs(6, look.Level0Color), (Runs{{2, 7}, {11, 7}, {20, 6}}));
    sheet.Clear();
    look.Level1Perc = 70;
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 50, look);
    EXPECT_EQ(sheet.Runs(6, look.Level0Color), (Runs{{2, 7}, {11, 7}, {20, 7}, {29, 7}, {38, 7}, {47, 4}}));
    EXPECT_EQ(sheet.At(2, 1), clWhite);  // inside a 2-pixel edge
    EXPECT_EQ(sheet.At(2, 2), look.Level0Color);
    EXPECT_EQ(sheet.At(2, 9), look.Level0Color);
    EXPECT_EQ(sheet.At(2, 10), clWhite);
    EXPECT_EQ(sheet.At(0, 6), clBlack);
    sheet.Clear();
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 5, look);
    EXPECT_EQ(sheet.Runs(6, look.Level0Color), (Runs{{2, 4}}));
}

TEST_F(LevelBars, StackedAndSmoothFillsInTheLevelColours) {
    using Runs = std::vector<std::pair<int, int>>;
    Sheet sheet(104, 14);
    look.Stacked = true;
    look.CompletionSmooth = true;
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 80, look);
    EXPECT_EQ(sheet.Runs(6, look.Level0Color), (Runs{{1, 30}}));
    EXPECT_EQ(sheet.Runs(6, look.Level1Color), (Runs{{31, 30}}));
    EXPECT_EQ(sheet.Runs(6, look.Level3Color), (Runs{{61, 20}}));
    EXPECT_EQ(sheet.Runs(6, clWhite), (Runs{{81, 20}}));
    EXPECT_EQ(sheet.At(10, 1), look.Level0Color);  // inside a 1-pixel edge
    EXPECT_EQ(sheet.At(10, 0), clBlack);
    sheet.Clear();
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 100, look);
    EXPECT_EQ(sheet.Runs(6, look.Level3Color), (Runs{{61, 40}}));
    sheet.Clear();
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 20, look);
    EXPECT_EQ(sheet.Runs(6, look.Level0Color), (Runs{{1, 20}}));

    look.Stacked = false;
    const struct {
        int percent;
        TColor color;
    } smooth[] = {{20, look.Level0Color}, {45, look.Level1Color}, {80, look.Level2Color}, {100, look.Level3Color}};
    for (const auto& s : smooth) {
        sheet.Clear();
        DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), s.percent, look);
        EXPECT_EQ(sheet.Runs(6, s.color), (Runs{{1, s.percent}})) << s.percent;
    }
    // The fill never leaves the bar.
    sheet.Clear();
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 250, look);
    EXPECT_EQ(sheet.Runs(6, look.Level3Color), (Runs{{1, 100}}));
    EXPECT_EQ(sheet.At(101, 6), clBlack);
}

TEST_F(LevelBars, GradientsRunAcrossTheBar) {
    look.Stacked = false;
    look.CompletionSmooth = true;
    look.ShowGradient = true;
    Sheet sheet(104, 14);
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 102, 12), 20, look);
    // Thickness rows 1 to 10: ColorTo to Color in the upper half, Color to ColorTo in the lower.
    EXPECT_EQ(sheet.At(10, 1), look.Level0ColorTo);
    EXPECT_EQ(sheet.At(10, 5), look.Level0Color);
    EXPECT_EQ(sheet.At(10, 6), look.Level0Color);
    EXPECT_EQ(sheet.At(10, 10), look.Level0ColorTo);
    EXPECT_EQ(sheet.At(30, 5), clWhite);
}

TEST_F(LevelBars, AVerticalBarGrowsUpAndTurnsItsText) {
    look.Vertical = true;
    look.CompletionSmooth = true;
    Sheet sheet(14, 104);
    DrawLevelProgress(sheet.Canvas(), TRect(0, 0, 12, 102), 20, look);
    EXPECT_EQ(sheet.At(6, 100), look.Level0Color);
    EXPECT_EQ(sheet.At(6, 81), look.Level0Color);
    EXPECT_EQ(sheet.At(6, 80), clWhite);
    EXPECT_EQ(sheet.At(1, 90), look.Level0Color);
    EXPECT_EQ(sheet.At(0, 90), clBlack);

    TFont font;
    font.SetName("Arial");
    font.SetSize(9);
    look.Font = &font;
    look.ShowPercentage = true;
    look.CompleteFontColor = clRed;
    auto textBox = [](Sheet& s) {
        TRect box(1000, 1000, -1, -1);
        for (TPoint p : s.Where([](TColor c) { return c == clRed; })) {
            box.Left = std::min(box.Left, p.X);
            box.Top = std::min(box.Top, p.Y);
            box.Right = std::max(box.Right, p.X + 1);
            box.Bottom = std::max(box.Bottom, p.Y + 1);
        }
        return box;
    };
    Sheet tall(24, 104);
    DrawLevelProgress(tall.Canvas(), TRect(0, 0, 22, 102), 20, look);
    const TRect up = textBox(tall);
    EXPECT_GT(up.Height(), up.Width());
    EXPECT_NEAR((up.Top + up.Bottom) / 2, 51, 3);
    look.Vertical = false;
    Sheet wide(104, 24);
    DrawLevelProgress(wide.Canvas(), TRect(0, 0, 102, 22), 20, look);
    const TRect across = textBox(wide);
    EXPECT_GT(across.Width(), across.Height());
    EXPECT_NEAR((across.Left + across.Right) / 2, 51, 3);
}

}  // namespace
