// The drawing routines of the drop-down unit, checked on the pixels of bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "dropdown/AdvDropDownDraw.h"
#include "platform/ui/Gdi.h"
#include "render/tests/DrawTestSupport.h"

namespace {

using render_test::kMarker;
using render_test::Sheet;

// Channel n of a band: from + round(n x (to - from) / count), halves to even (the current
// rounding mode of lrint).
int BandChannel(int from, int to, int n, int count) {
    return from + static_cast<int>(std::lrint(n * (to - from) / static_cast<double>(count)));
}

TColor BandColor(TColor from, TColor to, int n, int count) {
    return static_cast<TColor>(RGB(BandChannel(GetRValue(from), GetRValue(to), n, count),
                                   BandChannel(GetGValue(from), GetGValue(to), n, count),
                                   BandChannel(GetBValue(from), GetBValue(to), n, count)));
}

TEST(StepGradient, NoCountPaintsOneBandOfTheStartColour) {
    Sheet sheet(24, 12);
    StepGradient(sheet.Canvas(), 0x0000FF, 0xFF0000, 0, TRect(2, 1, 20, 10), true);
    EXPECT_EQ(sheet.Where([](TColor c) { return c == 0x0000FF; }).size(), 18u * 9u);
    EXPECT_EQ(sheet.At(20, 5), kMarker);
}

TEST(StepGradient, EightyBandsSideBySideAndStacked) {
    // x 0 to 160: the bands share 159 pixels, 1.9875 each; band n starts at round(n x 1.9875)
    // and reaches 3 pixels, its last one painted over by the next band.
    const TColor from = 0x102030, to = 0xF0C060;
    Sheet wide(170, 6);
    StepGradient(wide.Canvas(), from, to, 80, TRect(0, 0, 160, 6), true);
    for (int n = 0; n < 80; ++n) {
        const int start = static_cast<int>(std::lrint(n * 159 / 80.0));
        EXPECT_EQ(wide.At(start, 0), BandColor(from, to, n, 80)) << "band " << n;
        EXPECT_EQ(wide.At(start, 5), BandColor(from, to, n, 80)) << "band " << n;
    }
    // The last band starts at 157 and is 3 pixels wide; the rectangle's edge is not passed.
    for (int x = 157; x < 160; ++x) EXPECT_EQ(wide.At(x, 3), BandColor(from, to, 79, 80)) << x;
    EXPECT_EQ(wide.At(160, 3), kMarker);

    // Stacked the same way down y 0 to 41 in 4 bands of 10 rows plus the one they overlap.
    Sheet tall(8, 50);
    StepGradient(tall.Canvas(), from, to, 4, TRect(1, 0, 7, 41), false);
    for (int y = 0; y < 41; ++y) {
        const int n = y == 0 ? 0 : std::min(3, y / 10);
        EXPECT_EQ(tall.At(3, y), BandColor(from, to, n, 4)) << "row " << y;
    }
    EXPECT_EQ(tall.At(3, 41), kMarker);
    EXPECT_EQ(tall.At(7, 20), kMarker);
}

TEST(StepGradient, BandColoursRoundHalvesToEven) {
    // Red 0 to 4 in 8 bands: steps of 0.5, so bands 1, 3, 5 and 7 fall on halves.
    Sheet sheet(40, 2);
    StepGradient(sheet.Canvas(), 0x000000, 0x000004, 8, TRect(0, 0, 33, 2), true);
    const int expected[] = {0, 0, 1, 2, 2, 2, 3, 4};
    for (int n = 0; n < 8; ++n) EXPECT_EQ(GetRValue(ColorToRGB(sheet.At(n * 4, 0))), expected[n]) << "band " << n;
}

TEST(ColourMaths, BlendAndShift) {
    const struct {
        const char* name;
        TColor result, expected;
    } cases[] = {
        {"blue and red half and half, 127.5 to 128", BlendColor(0x0000FF, 0xFF0000, 50), 0x800080},
        {"a quarter", BlendColor(0x000000, 0xFFFFFF, 25), 0xBFBFBF},
        {"100 % is the first colour untouched", BlendColor(clNone, 0x123456, 100), clNone},
        {"above 100 too", BlendColor(0x654321, 0x123456, 150), 0x654321},
        {"0 % is the second colour untouched", BlendColor(0x123456, clBtnFace, 0), clBtnFace},
        {"below 0 too", BlendColor(0x123456, 0x654321, -20), 0x654321},
        {"system colours resolved first", BlendColor(clBtnFace, 0x000000, 50), 0x64686A},
        {"shift: a zero channel takes the delta, a negative delta darkens", ShiftColor(0x008000, 10, -50, 20),
         0x14400A},
        {"shift: a positive delta leaves a channel as it is", ShiftColor(0x808080, 30, 0, -100), 0x008080},
        {"shift: a zero channel keeps the delta's low 8 bits", ShiftColor(0x000000, 300, -5, 0), 0x00002C},
        {"shift: system colours resolved first", ShiftColor(clBtnFace, 0, 0, -50), 0x64D0D4},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(FillAndFrame, GradientSolidOrNothingThenTheFrame) {
    auto distinct = [](Sheet& s, bool alongRow) {
        std::set<TColor> seen;
        for (int i = 0; i < 160; ++i) seen.insert(alongRow ? s.At(i, 40) : s.At(40, i));
        return seen.size();
    };
    // Bands of red 0 to 240 in steps of 3: 80 of them, each showing.
    Sheet across(160, 160), down(160, 160);
    FillAndFrame(across.Canvas(), TRect(0, 0, 160, 160), 0x000000, 0x0000F0, clNone, 1, false);
    FillAndFrame(down.Canvas(), TRect(0, 0, 160, 160), 0x000000, 0x0000F0, clNone, 1, true);
    EXPECT_EQ(distinct(across, true), 80u);
    EXPECT_EQ(distinct(across, false), 1u);
    EXPECT_EQ(distinct(down, false), 80u);
    EXPECT_EQ(distinct(down, true), 1u);

    const struct {
        const char* name;
        TColor color, border;
        int width;
        TColor inside, edge;
    } cases[] = {
        {"solid, framed", 0x00FF00, 0x0000FF, 1, 0x00FF00, 0x0000FF},
        {"solid, frame without colour", 0x00FF00, clNone, 1, 0x00FF00, 0x00FF00},
        {"solid, frame of width 0", 0x00FF00, 0x0000FF, 0, 0x00FF00, 0x00FF00},
        {"no colours: nothing at all", clNone, clNone, 1, kMarker, kMarker},
        {"no fill, but the frame", clNone, 0xFF0000, 1, kMarker, 0xFF0000},
    };
    for (const auto& c : cases) {
        Sheet sheet(30, 20);
        FillAndFrame(sheet.Canvas(), TRect(5, 5, 25, 15), c.color, clNone, c.border, c.width, false);
        EXPECT_EQ(sheet.At(15, 10), c.inside) << c.name;
        EXPECT_EQ(sheet.At(5, 10), c.edge) << c.name;
        EXPECT_EQ(sheet.At(24, 14), c.edge) << c.name;
        EXPECT_EQ(sheet.At(4, 10), kMarker) << c.name;
    }
}

TEST(DrawImageText, ImageLeftCentredTextAfterIt) {
    TImageList images(nullptr);
    TBitmap square(16, 16, pf24bit);
    square.Canvas()->Brush()->SetColor(0x0000FF);
    square.Canvas()->FillRect(TRect(0, 0, 16, 16));
    square.Canvas()->SetPixels(0, 15, 0x00FF00);  // the bottom-left pixel is the transparent colour
    images.Add(&square, nullptr);

    auto inkBounds = [](Sheet& s, TColor background) {
        TRect r(10000, 10000, -1, -1);
        for (const TPoint& p : s.Where([&](TColor c) { return c != background && c != 0x0000FF; })) {
            r.Left = std::min(r.Left, p.X);
            r.Top = std::min(r.Top, p.Y);
            r.Right = std::max(r.Right, p.X + 1);
            r.Bottom = std::max(r.Bottom, p.Y + 1);
        }
        return r;
    };

    // Height 31: the picture 7 pixels down (15 / 2), at Left + 4; the text from Left + 24.
    Sheet sheet(160, 50);
    sheet.Canvas()->Font()->SetName(String("DejaVu Sans"));
    sheet.Canvas()->Font()->SetColor(0x000000);
    DrawImageText(sheet.Canvas(), TRect(10, 10, 150, 41), String("Channel"), &images, 0);
    EXPECT_EQ(sheet.At(14, 17), 0x0000FF);
    EXPECT_EQ(sheet.At(29, 17 + 14), 0x0000FF);
    EXPECT_EQ(sheet.At(13, 20), kMarker);
    EXPECT_EQ(sheet.At(20, 16), kMarker);
    const TRect ink = inkBounds(sheet, kMarker);
    EXPECT_GE(ink.Left, 10 + 16 + 8);
    EXPECT_LE(ink.Left, 10 + 16 + 8 + 2);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 25.5, 3.0);

    // A picture taller than the rectangle: -7 / 2 rounds down to -4.
    Sheet low(60, 40);
    DrawImageText(low.Canvas(), TRect(10, 20, 50, 29), String(), &images, 0);
    EXPECT_EQ(low.At(20, 16), 0x0000FF);
    EXPECT_EQ(low.At(20, 15), kMarker);

    // Without a picture the text is centred.
    Sheet plain(160, 50);
    plain.Canvas()->Font()->SetName(String("DejaVu Sans"));
    plain.Canvas()->Font()->SetColor(0x000000);
    DrawImageText(plain.Canvas(), TRect(10, 10, 150, 41), String("Channel"), &images, -1);
    const TRect centred = inkBounds(plain, kMarker);
    EXPECT_NEAR((centred.Left + centred.Right) / 2.0, 80.0, 2.0);
}

TEST(DrawTransparentBitmap, TheTopLeftColourShowsTheBackground) {
    TBitmap source(6, 4, pf24bit);
    source.Canvas()->Brush()->SetColor(0x00FF00);
    source.Canvas()->FillRect(TRect(0, 0, 6, 4));
    source.Canvas()->Brush()->SetColor(0x0000FF);
    source.Canvas()->FillRect(TRect(2, 1, 4, 3));
    Sheet sheet(20, 20);
    DrawTransparentBitmap(sheet.Canvas(), &source, 0xFF0000, TRect(5, 5, 11, 9));
    EXPECT_EQ(sheet.At(5, 5), 0xFF0000);
    EXPECT_EQ(sheet.At(10, 8), 0xFF0000);
    EXPECT_EQ(sheet.At(7, 6), 0x0000FF);
    EXPECT_EQ(sheet.At(11, 8), kMarker);
    EXPECT_EQ(sheet.At(4, 5), kMarker);
}

class TextRoutines : public ::testing::Test {
protected:
    Sheet sheet{200, 40};
    void SetUp() override {
        sheet.Canvas()->Font()->SetName(String("DejaVu Sans"));
        sheet.Canvas()->Font()->SetSize(10);
    }
    int Width(const String& s) { return MeasureText(sheet.Canvas(), s).cx; }
};

TEST_F(TextRoutines, MeasureAndFit) {
    EXPECT_EQ(MeasureText(sheet.Canvas(), String()), TSize(0, 0));
    TRect r(0, 0, 1000, 500);
    DrawText(sheet.Canvas()->Handle(), String("Level"), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(MeasureText(sheet.Canvas(), String("Level")), TSize(r.Right, r.Bottom));

    const String text("Abcdefghij");
    const int full = Width(text);
    EXPECT_EQ(FitText(sheet.Canvas(), text, full, true), text);
    // The first candidate strictly narrower than the limit, with or without the ellipsis.
    EXPECT_EQ(FitText(sheet.Canvas(), text, Width(String("Abcde...")) + 1, true), String("Abcde..."));
    EXPECT_EQ(FitText(sheet.Canvas(), text, Width(String("Abcde...")), true), String("Abcd..."));
    EXPECT_EQ(FitText(sheet.Canvas(), text, Width(String("Abc")) + 1, false), String("Abc"));
    // Even one character and the ellipsis are too wide: the whole text stays.
    EXPECT_EQ(FitText(sheet.Canvas(), text, Width(String("A...")), true), text);
}

TEST_F(TextRoutines, HtmlTextMeasuresOrPaints) {
    EXPECT_EQ(DrawHtmlText(sheet.Canvas(), String(), TRect(0, 0, 200, 40), nullptr, true, nullptr), TSize(0, 0));
    EXPECT_TRUE(sheet.Where([](TColor c) { return c != kMarker; }).empty());

    sheet.Canvas()->Brush()->SetStyle(bsClear);
    const TSize measured =
        DrawHtmlText(sheet.Canvas(), String("<b>Gain</b> 3"), TRect(0, 0, 200, 40), nullptr, false, nullptr);
    EXPECT_GT(measured.cx, 20);
    EXPECT_GT(measured.cy, 8);
    EXPECT_TRUE(sheet.Where([](TColor c) { return c != kMarker; }).empty());
    EXPECT_EQ(DrawHtmlText(sheet.Canvas(), String("<b>Gain</b> 3"), TRect(0, 0, 200, 40), nullptr, true, nullptr),
              measured);
    EXPECT_FALSE(sheet.Where([](TColor c) { return c != kMarker; }).empty());
}

}  // namespace
