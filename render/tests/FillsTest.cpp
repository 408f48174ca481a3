// Colour arithmetic, stepped and mirrored gradients, button faces and transparent bitmaps, checked
// on the pixels of bitmaps.
#include <gtest/gtest.h>

#include <set>

#include "render/VarAvir.h"
#include "render/tests/DrawTestSupport.h"

namespace {

using render_test::kMarker;
using render_test::Sheet;

TEST(Colours, Arithmetic) {
    const struct {
        const char* name;
        TColor result, expected;
    } cases[] = {
        {"adjust raises and wraps", AdjustColorPercent(0x8080C8, 50), 0xC0C02C},
        {"adjust lowers", AdjustColorPercent(0x804020, -50), 0x402010},
        {"halve", HalveColor(0xFFFFFF), 0x7F7F7F},
        {"halve a system colour", HalveColor(clBtnFace), 0x64686A},
        {"interpolate to nothing", InterpolateColor(0x123456, clNone, 0, 10, 5), 0x123456},
        {"interpolate half to even, up", InterpolateColor(0x000000, 0x0000FF, 0, 2, 1), 0x000080},
        {"interpolate half to even, down", InterpolateColor(0x000000, 0x0000FD, 0, 2, 1), 0x00007E},
        {"interpolate downwards", InterpolateColor(0x00FF00, 0x000000, 0, 4, 1), 0x00BF00},
        {"interpolate system colours", InterpolateColor(clBtnFace, clBlack, 0, 1, 0), 0xC8D0D4},
        {"interpolate an empty range", InterpolateColor(0x102030, 0xFFFFFF, 3, 3, 3), 0x102030},
        {"interpolate beyond the range", InterpolateColor(0x000080, 0x0000FF, 0, 1, 3), 0x0000FF},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_EQ(ColorToHtmlHex(0x00123456), String(u"563412"));
    EXPECT_EQ(ColorToHtmlHex(clBtnFace), String(u"D4D0C8"));
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
}

TEST(Gradients, StepsAreBandsOfOneColour) {
    Sheet sheet(104, 12);
    DrawStepGradient(sheet.Canvas(), 0x000000, 0x0000FF, 4, TRect(0, 0, 101, 10), true);
    // Five bands of 26 pixels starting at 0, 25, 50, 75 and 100, each covering the end of the one
    // before; the last is cut to the one pixel left.
    const TColor bands[] = {0x00, 0x40, 0x80, 0xBF, 0xFF};
    for (int x = 0; x < 101; ++x) {
        const TColor expected = bands[x / 25];
        EXPECT_EQ(sheet.At(x, 0), expected) << x;
        EXPECT_EQ(sheet.At(x, 9), expected) << x;
    }
    EXPECT_EQ(sheet.At(101, 5), kMarker);
    EXPECT_EQ(sheet.At(50, 10), kMarker);

    Sheet down(12, 104);
    DrawStepGradient(down.Canvas(), 0x000000, 0x0000FF, 4, TRect(0, 0, 10, 101), false);
    for (int y = 0; y < 101; ++y) EXPECT_EQ(down.At(5, y), bands[y / 25]) << y;
    EXPECT_EQ(down.At(5, 101), kMarker);
}

TEST(Gradients, DegenerateRectanglesAndMissingColours) {
    Sheet normal(30, 30), swapped(30, 30);
    DrawStepGradient(normal.Canvas(), clRed, clBlue, 8, TRect(2, 3, 20, 25), false);
    DrawStepGradient(swapped.Canvas(), clRed, clBlue, 8, TRect(2, 25, 20, 3), false);
    EXPECT_TRUE(render_test::SamePixels(normal, swapped));

    Sheet flat(30, 30);
    DrawStepGradient(flat.Canvas(), clRed, clBlue, 8, TRect(2, 5, 20, 5), true);
    EXPECT_TRUE(flat.Where([](TColor c) { return c != kMarker; }).empty());

    Sheet solid(30, 30);
    DrawStepGradient(solid.Canvas(), clRed, clNone, 8, TRect(2, 3, 20, 25), true);
    EXPECT_EQ(solid.Where([](TColor c) { return c == clRed; }).size(), 18u * 22u);
    solid.Clear();
    DrawStepGradient(solid.Canvas(), clNone, clBlue, 8, TRect(2, 3, 20, 25), true);
    EXPECT_EQ(solid.Where([](TColor c) { return c == clBlue; }).size(), 18u * 22u);
    // More steps than pixels: one band a pixel, ending on the end colour.
    solid.Clear();
    DrawStepGradient(solid.Canvas(), clBlack, clRed, 1000, TRect(0, 0, 5, 5), true);
    EXPECT_EQ(solid.At(4, 2), clRed);
    EXPECT_EQ(solid.At(0, 2), clBlack);
}

TEST(Gradients, MirroredHalvesSolidFillAndBorders) {
    const TColor a = 0x000010, b = 0x000020, c = 0x000030, d = 0x000040, border = 0x0000F0;
    Sheet vertical(24, 44);
    DrawMirrorGradient(vertical.Canvas(), TRect(0, 0, 20, 41), a, b, c, d, true, clNone, false, true);
    EXPECT_EQ(vertical.At(10, 0), a);
    EXPECT_EQ(vertical.At(10, 19), b);  // the first half ends at top + 41 / 2
    EXPECT_EQ(vertical.At(10, 20), c);
    EXPECT_EQ(vertical.At(10, 40), d);
    EXPECT_EQ(vertical.At(10, 41), kMarker);
    EXPECT_EQ(vertical.At(20, 10), kMarker);

    Sheet across(44, 10);
    DrawMirrorGradient(across.Canvas(), TRect(0, 0, 41, 8), a, b, c, d, false, border, false, true);
    EXPECT_EQ(across.At(19, 4), b);  // the first half ends at left + 41 / 2
    EXPECT_EQ(across.At(20, 4), c);
    EXPECT_EQ(across.At(0, 4), border);  // the frame comes after the fill
    EXPECT_EQ(across.At(40, 4), border);
    EXPECT_EQ(across.At(20, 0), border);
    EXPECT_EQ(across.At(20, 7), border);

    // 128 steps a half: a half 257 pixels wide shows 129 colours.
    Sheet wide(520, 4);
    DrawMirrorGradient(wide.Canvas(), TRect(0, 0, 514, 2), 0x000000, 0x0000FF, 0x00FF00, 0x000000, false, clNone, false, true);
    std::set<TColor> first, second;
    for (int x = 0; x < 257; ++x) first.insert(wide.At(x, 1));
    for (int x = 257; x < 514; ++x) second.insert(wide.At(x, 1));
    EXPECT_EQ(first.size(), 129u);
    EXPECT_EQ(second.size(), 129u);

    // Solid: one pixel taller than the rectangle.
    Sheet solid(12, 14);
    DrawMirrorGradient(solid.Canvas(), TRect(0, 0, 10, 10), a, clNone, clNone, clNone, true, clNone, false, true);
    EXPECT_EQ(solid.At(5, 10), a);
    EXPECT_EQ(solid.At(5, 11), kMarker);

    Sheet sides(12, 12);
    DrawMirrorGradient(sides.Canvas(), TRect(0, 0, 10, 10), a, b, c, d, true, border, true, false);
    EXPECT_EQ(sides.Where([&](TColor p) { return p == border; }).size(), 20u);
    EXPECT_EQ(sides.At(0, 0), border);
    EXPECT_EQ(sides.At(9, 9), border);
    EXPECT_EQ(sides.At(5, 0), kMarker);
    EXPECT_EQ(sides.At(5, 5), kMarker);  // no fill
}

TEST(ButtonFaces, RoundedOnBothSides) {
    const TColor body = 0x000001, upper = 0x000002, lower = 0x000003, border = 0x000004, corner = 0x000005,
                 back = 0x000006;
    Sheet sheet(44, 24);
    DrawButtonFace(sheet.Canvas(), body, clNone, clNone, clNone, upper, lower, border, corner, back,
                   TRect(0, 0, 40, 20), 0);
    // The face stands in (0, 0) to (39, 18): its bottom is 2 above the rectangle's, its right 1
    // left of it; the middle row is 9.
    const struct {
        int x, y;
        TColor color;
    } pixels[] = {
        {0, 0, back},    {0, 18, back},   {38, 0, back},   {38, 18, back},  {1, 0, corner},  {1, 1, corner},
        {0, 1, corner},  {1, 18, corner}, {1, 17, corner}, {0, 17, corner}, {37, 0, corner}, {37, 1, corner},
        {38, 1, corner}, {37, 18, corner}, {37, 17, corner}, {38, 17, corner}, {2, 0, border}, {36, 0, border},
        {2, 18, border}, {36, 18, border}, {0, 2, border},  {0, 16, border}, {38, 2, border}, {38, 16, border},
        {2, 1, upper},   {36, 1, upper},  {1, 2, upper},   {1, 8, upper},   {37, 2, upper},  {37, 8, upper},
        {2, 17, lower},  {36, 17, lower}, {1, 9, lower},   {1, 16, lower},  {37, 9, lower},  {37, 16, lower},
        {2, 2, body},    {36, 2, body},   {2, 16, body},   {36, 16, body},  {39, 5, kMarker}, {20, 19, kMarker},
    };
    for (const auto& p : pixels) EXPECT_EQ(sheet.At(p.x, p.y), p.color) << p.x << ", " << p.y;
}

TEST(ButtonFaces, SidesByStyleAndTheBody) {
    const TColor border = 0x000004, corner = 0x000005;
    auto face = [&](Sheet& sheet, int style, TColor colorTo, TColor mirror) {
        sheet.Clear();
        DrawButtonFace(sheet.Canvas(), 0x000010, colorTo, mirror, 0x000040, 0x000002, 0x000003, border, corner,
                       0x000006, TRect(0, 0, 40, 20), style);
    };
    Sheet sheet(44, 24);
    face(sheet, 3, clNone, clNone);
    EXPECT_TRUE(sheet.Where([&](TColor c) { return c == corner; }).empty());
    EXPECT_EQ(sheet.At(0, 0), border);  // square sides: the border runs to the ends
    EXPECT_EQ(sheet.At(0, 5), 0x000010);
    face(sheet, 1, clNone, clNone);
    EXPECT_EQ(sheet.At(0, 0), 0x000006);
    EXPECT_EQ(sheet.At(38, 0), border);
    face(sheet, 2, clNone, clNone);
    EXPECT_EQ(sheet.At(0, 0), border);
    EXPECT_EQ(sheet.At(38, 0), 0x000006);

    // The body (rows 2 to 16) from top to bottom; sixteen steps show on a taller face.
    face(sheet, 0, 0x000030, clNone);
    EXPECT_EQ(sheet.At(10, 2), 0x000010);
    EXPECT_EQ(sheet.At(10, 16), 0x000030);
    Sheet tall(44, 44);
    DrawButtonFace(tall.Canvas(), 0x000000, 0x0000FF, clNone, clNone, clNone, clNone, clNone, clNone, clNone,
                   TRect(0, 0, 40, 40), 0);
    std::set<TColor> steps;
    for (int y = 2; y < 37; ++y) steps.insert(tall.At(20, y));
    EXPECT_EQ(steps.size(), 17u);
    // Mirrored: the halves meet at the body's middle (row 9).
    face(sheet, 0, 0x000030, 0x000020);
    EXPECT_EQ(sheet.At(10, 2), 0x000010);
    EXPECT_EQ(sheet.At(10, 8), 0x000030);
    EXPECT_EQ(sheet.At(10, 9), 0x000020);
    EXPECT_EQ(sheet.At(10, 16), 0x000040);
}

TEST(Bitmaps, TheFirstPixelsColourShowsTheBackground) {
    TBitmap glyph(4, 3, pf24bit);
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(TRect(0, 0, 4, 3));
    glyph.Canvas()->SetPixels(0, 0, clRed);
    glyph.Canvas()->SetPixels(2, 1, clRed);
    auto check = [](Sheet& sheet) {
        EXPECT_EQ(sheet.At(5, 5), clYellow);
        EXPECT_EQ(sheet.At(7, 6), clYellow);
        EXPECT_EQ(sheet.At(6, 6), clBlue);
        EXPECT_EQ(sheet.At(8, 7), clBlue);
        EXPECT_EQ(sheet.At(4, 5), kMarker);
        EXPECT_EQ(sheet.At(9, 5), kMarker);
        EXPECT_EQ(sheet.At(5, 8), kMarker);
    };
    Sheet direct(12, 10);
    DrawBitmapTransparent(direct.Canvas(), &glyph, clYellow, TRect(5, 5, 40, 40));
    check(direct);

    const std::vector<uint8_t> bytes = glyph.SaveToBytes();
    RegisterResource(u"RenderTestGlyph", bytes.data(), bytes.size());
    Sheet resource(12, 10);
    DrawResBitmapTransparent(resource.Canvas(), clYellow, TRect(5, 5, 40, 40), u"RenderTestGlyph");
    check(resource);
    EXPECT_THROW(DrawResBitmapTransparent(resource.Canvas(), clYellow, TRect(5, 5, 40, 40), u"NoSuchGlyph"), EResNotFound);
}

}  // namespace
