// The drawing toolbox: conversions, geometry, colour arithmetic, text placement, the knob, the lamp
// shapes and the gradient styles.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/instrument/_MvProc.h"
#include "platform/rtl/Math.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

int32_t Px(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

TEST(MvProcPure, Conversions) {
    struct Bin {
        int32_t value;
        int digits;
        const char* text;
    };
    const Bin bins[] = {{5, 0, "101"}, {0, 0, "0"}, {5, 3, "0101"}, {-1, 0, "11111111111111111111111111111111"},
                        {5, 40, "00000000000000000000000000000101"}, {6, -2, "110"}, {1, 1, "01"}};
    for (const Bin& b : bins) EXPECT_EQ(IntToBinStr(b.value, b.digits), String(b.text)) << b.value << "," << b.digits;
    EXPECT_EQ(BinStrToInt(u"1x1"), 5);
    EXPECT_EQ(BinStrToInt(u"101"), 5);
    EXPECT_EQ(BinStrToInt(String(u"1") + String(32, u'0')), 0);  // the 33rd digit adds nothing
    EXPECT_EQ(BinStrToInt(u"1" + String(31, u'0')), INT32_MIN);
    EXPECT_EQ(StripChar(u"a.b.c", u'.'), String(u"abc"));
    EXPECT_EQ(CharCount(u"a|b|c", u'|'), 2);
    EXPECT_EQ(CharCount(u"", u'|'), 0);

    struct Span {
        int from, to, span;
    };
    for (const Span& s : {Span{-140, -10, 130}, Span{0, 1000, 1000}, Span{5, -3, 0}, Span{-5, 5, 10}})
        EXPECT_EQ(SpanOf(s.from, s.to), s.span) << s.from << ".." << s.to;

    EXPECT_EQ(LargerInt(3, -4), 3);
    int e = 0;
    EXPECT_DOUBLE_EQ(Decade(900, e), 1000.0);
    EXPECT_EQ(e, 3);
    EXPECT_DOUBLE_EQ(Decade(-5, e), 1.0);
    EXPECT_NEAR(static_cast<double>(Log10Of(1000)), 3.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(PowerOf(3, 2)), 8.0, 1e-12);
}

TEST(MvProcPure, Geometry) {
    const TRect r(10, 20, 30, 40);
    EXPECT_TRUE(PointInRect(10, 20, r));
    EXPECT_TRUE(PointInRect(29, 40, r));   // bottom edge included
    EXPECT_FALSE(PointInRect(30, 30, r));  // right edge excluded
    EXPECT_FALSE(PointInRect(9, 30, r));
    EXPECT_FALSE(PointInRect(15, 41, r));
    EXPECT_EQ(RotatePoint({10, 0}, {0, 0}, true, 90), TPoint(0, 10));
    EXPECT_EQ(RotatePoint({10, 0}, {0, 0}, false, 90), TPoint(0, -10));
    EXPECT_EQ(RotatePoint({15, 5}, {5, 5}, true, 180), TPoint(-5, 5));
    TRect s = r;
    ShrinkRect(s, 2);
    EXPECT_EQ(s, TRect(12, 22, 28, 38));
    ShrinkRect4(s, 1, 2, 3, 4);
    EXPECT_EQ(s, TRect(13, 24, 25, 34));
    EXPECT_EQ(RectCenter(TRect(0, 0, 9, 5)), TPoint(4, 2));
    EXPECT_TRUE(PointInCircle(10, 5, TRect(0, 0, 20, 20)));
    EXPECT_FALSE(PointInCircle(1, 1, TRect(0, 0, 20, 20)));
}

TEST(MvProcPure, TextLists) {
    String text = u"a|b|c", part;
    SplitFirst(text, u'|', part);
    EXPECT_EQ(part, String(u"a"));
    EXPECT_EQ(text, String(u"b|c"));
    text = u"abc";
    SplitFirst(text, u'|', part);
    EXPECT_EQ(part, String(u"abc"));
    EXPECT_TRUE(text.IsEmpty());

    String list;
    LinearLabelList(5, u"##0", list, 100, 0);
    EXPECT_EQ(list, String(u"100;80;60;40;20;0;"));
    LinearLabelList(2, u"0.0", list, -1, 1);
    EXPECT_EQ(list, String(u"-1.0;0.0;1.0;"));
    EXPECT_EQ(LogLabelList(0, 3, 3, false, u"0"), String(u"1;10;100;"));
    EXPECT_EQ(LogLabelList(0, 3, 3, true, u"0"), String(u"1000;100;10;"));
}

TEST(MvProcPure, Colours) {
    EXPECT_EQ(ColorStep(0x000000, 0xFFFFFF, 4, 1), 0x404040);
    EXPECT_EQ(ColorStep(0x000000, 0xFFFFFF, 4, 2), 0x808080);
    EXPECT_EQ(ColorStep(0x000000, 0xFFFFFF, 4, 3), 0xBFBFBF);
    EXPECT_EQ(ColorStep(0x000000, 0xFFFFFF, 4, 4), 0xFFFFFF);
    EXPECT_EQ(ColorStep(0x0000FF, 0x000000, 0, 1), 0x000000);  // Steps 0 counts as 1
    // Both resolve to the same RGB value: Color1 as it was, not resolved.
    EXPECT_EQ(ColorStep(clBtnFace, ColorToRGB(clBtnFace), 4, 2), clBtnFace);
    // System colours are resolved before stepping.
    EXPECT_EQ(ColorStep(clBtnFace, 0x000000, 1, 1), 0x000000);
    EXPECT_EQ(ColorBrightness(0x00FFFF, 40), 0x006666);
    EXPECT_EQ(ColorBrightness(0x804020, 50), 0x402010);
    EXPECT_EQ(ColorBrightness(0x808080, 300), 0xFFFFFF);  // bytes stay bytes
}

TEST(MvProcPure, ExeFolderEndsWithTheDelimiter) {
    ASSERT_FALSE(ExeFolder().IsEmpty());
    EXPECT_EQ(ExeFolder().back(), u'/');
}

// Text placement, read from the calls a recording canvas keeps.
class MvProcText : public ::testing::Test {
protected:
    TMetafile mf;
    std::unique_ptr<TMetafileCanvas> c = std::make_unique<TMetafileCanvas>(&mf);
    void SetUp() override {
        c->Font()->SetName("Arial");
        c->Font()->SetSize(10);
    }
    std::vector<TMetafileOp> Done() {
        c.reset();
        return mf.Ops();
    }
    static std::vector<TMetafileOp> Texts(const std::vector<TMetafileOp>& ops) {
        std::vector<TMetafileOp> t;
        for (const auto& op : ops)
            if (op.kind == TMetafileOp::Text) t.push_back(op);
        return t;
    }
};

TEST_F(MvProcText, TextOutAlignedPlacesTheBoxByTheNineCodes) {
    const String s = u"Wg";
    const int w = c->TextWidth(s), h = c->TextHeight(s);
    for (int a = 0; a <= 8; ++a) TextOutAligned(c.get(), 100, 50, a, s);
    auto t = Texts(Done());
    ASSERT_EQ(t.size(), 9u);
    const int dx[] = {0, w / 2, w}, dy[] = {0, h / 2, h};
    for (int a = 0; a <= 8; ++a) {
        EXPECT_EQ(t[a].p1, TPoint(100 - dx[a % 3], 50 - dy[a / 3])) << "code " << a;
        EXPECT_EQ(t[a].text, s);
    }
}

TEST_F(MvProcText, LinesAreCentredAsABlock) {
    const int l = c->TextHeight(u"X");
    const int w1 = c->TextWidth(u"ab"), w2 = c->TextWidth(u"abcdef");
    int w = 0, h = 0;
    MeasureTextLines(c.get(), w, h, u'|', u"ab|abcdef");
    EXPECT_EQ(w, w2);
    MaxItemWidth(c.get(), w, h, u"abcdef;ab");
    EXPECT_EQ(w, w2);
    DrawTextLines(c.get(), 100, 50, 4, u"ab|abcdef", 0);
    DrawTextLines(c.get(), 10, 50, 7, u"one|two|six", 2);
    DrawTextLines(c.get(), 10, 50, 1, u"one|two", 0);
    auto t = Texts(Done());
    ASSERT_EQ(t.size(), 7u);
    const int hh = l;  // every line is one text height here
    EXPECT_EQ(t[0].p1, TPoint(100 - w1 / 2, 50 - l / 2 - hh / 2));
    EXPECT_EQ(t[1].p1, TPoint(100 - w2 / 2, 50 - l / 2 + l - hh / 2));
    // Bottom codes: the last line ends on the point.
    EXPECT_EQ(t[4].p1.Y, 50 - 2 * (l + 2) + 2 * (l + 2) - hh);
    EXPECT_EQ(t[2].p1.Y, 50 - 2 * (l + 2) - hh);
    // Top codes: the first line starts at it.
    EXPECT_EQ(t[5].p1.Y, 50);
    EXPECT_EQ(t[6].p1.Y, 50 + l);
}

TEST_F(MvProcText, EngravedTextIsLightThenDarkThenTheColour) {
    DrawTextLines3D(c.get(), 40, 30, true, 0, u"ab", 0x0000FF, 0x00FF00, 0xFF0000, 0);
    DrawTextLines3D(c.get(), 40, 60, false, 0, u"ab", 0x0000FF, 0x00FF00, 0xFF0000, 0);
    auto ops = Done();
    std::vector<std::pair<TPoint, uint32_t>> seen;
    uint32_t color = 0;
    for (const auto& op : ops) {
        if (op.kind == TMetafileOp::SetTextColor) color = op.color;
        if (op.kind == TMetafileOp::Text) seen.push_back({op.p1, color});
    }
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], std::make_pair(TPoint(41, 31), 0x0000FFu));
    EXPECT_EQ(seen[1], std::make_pair(TPoint(39, 29), 0x00FF00u));
    EXPECT_EQ(seen[2], std::make_pair(TPoint(40, 30), 0xFF0000u));
    EXPECT_EQ(seen[3], std::make_pair(TPoint(40, 60), 0xFF0000u));
}

TEST(MvProcDraw, KnobCoversItsRectangle) {
    TBitmap b(100, 100);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 100, 100));
    DrawKnob(b.Canvas(), {50, 50}, 30, 0x0000FF, true);
    // Covers (35, 44, 66, 57) and nothing outside.
    EXPECT_EQ(Px(b, 34, 50), 0xFFFFFF);
    EXPECT_EQ(Px(b, 66, 50), 0xFFFFFF);
    EXPECT_EQ(Px(b, 50, 43), 0xFFFFFF);
    EXPECT_EQ(Px(b, 50, 57), 0xFFFFFF);
    EXPECT_EQ(Px(b, 35, 44), ColorToRGB(clBtnShadow));  // the outer frame's top-left
    EXPECT_EQ(Px(b, 65, 56), 0x000000);                  // bottom-right black for a coloured knob
    // The face: shrunk by Size div 25 = 1, outlined black, filled with the colour.
    EXPECT_EQ(Px(b, 36, 50), 0x000000);
    EXPECT_EQ(Px(b, 50, 50), 0x0000FF);
    EXPECT_EQ(Px(b, 37, 46), 0x0000FF);

    TBitmap v(100, 100);
    DrawKnob(v.Canvas(), {50, 50}, 30, clBtnShadow, false);
    EXPECT_EQ(Px(v, 44, 35), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(v, 56, 65), ColorToRGB(clBtnShadow));  // shadow-coloured knob: shadow edge
    EXPECT_EQ(ColorToRGB(v.Canvas()->Pixels(43, 50)), 0xFFFFFF);
}

TEST(MvProcDraw, LedShapesDrawTheirVertexLists) {
    const TRect r(10, 20, 30, 36);  // 20 x 16: hw 10, hh 8
    struct Row {
        TLEDShape shape;
        std::vector<TPoint> pts;
    };
    const Row rows[] = {
        {sArrowLeft, {{10, 28}, {29, 20}, {29, 35}}},
        {sArrowRight, {{10, 20}, {29, 28}, {10, 35}}},
        {sArrowUp, {{20, 20}, {29, 35}, {10, 35}}},
        {sArrowDown, {{10, 20}, {29, 20}, {20, 35}}},
        {sDiamondLeft, {{10, 20}, {20, 20}, {30, 36}, {20, 36}}},
        {sDiamondRight, {{20, 20}, {30, 20}, {20, 36}, {10, 36}}},
    };
    for (const Row& row : rows) {
        TMetafile mf;
        {
            TMetafileCanvas c(&mf);
            DrawLEDShape(&c, r, row.shape, 0x00FF00, 0x808080);
        }
        const TMetafileOp* poly = nullptr;
        for (const auto& op : mf.Ops())
            if (op.kind == TMetafileOp::Polygon) poly = &op;
        ASSERT_NE(poly, nullptr) << row.shape;
        EXPECT_EQ(poly->points, row.pts) << row.shape;
    }
    TMetafile mf;
    {
        TMetafileCanvas c(&mf);
        DrawLEDShape(&c, r, sRectangle, 0x00FF00, 0x808080);
    }
    bool rounded = false;
    for (const auto& op : mf.Ops())
        if (op.kind == TMetafileOp::RoundRect) {
            rounded = true;
            EXPECT_EQ(op.rect, r);
            EXPECT_EQ(op.p1, TPoint(1, 1));
        }
    EXPECT_TRUE(rounded);
}

TEST(MvProcDraw, RoundLampHasItsHighlightArcInside) {
    TMetafile mf;
    {
        TMetafileCanvas c(&mf);
        DrawLEDShape(&c, TRect(0, 0, 16, 16), sRound, 0x00FF00, 0x808080);
    }
    int penWidth = -1;
    uint32_t penColor = 0;
    bool ellipse = false, arc = false;
    for (const auto& op : mf.Ops()) {
        if (op.kind == TMetafileOp::CreatePen) {
            penWidth = op.width;
            penColor = op.color;
        }
        if (op.kind == TMetafileOp::Ellipse) {
            ellipse = true;
            EXPECT_EQ(op.rect, TRect(0, 0, 16, 16));
        }
        if (op.kind == TMetafileOp::Arc) {
            arc = true;
            EXPECT_EQ(op.rect, TRect(3, 3, 13, 13));
            EXPECT_EQ(op.p1, TPoint(8, 0));
            EXPECT_EQ(op.p2, TPoint(0, 8));
            EXPECT_EQ(penWidth, 2);
            EXPECT_EQ(penColor, static_cast<uint32_t>(ColorToRGB(clBtnHighlight)));
        }
    }
    EXPECT_TRUE(ellipse);
    EXPECT_TRUE(arc);
}

// Gradients: pixels computed from the formulas.
class MvProcGradient : public ::testing::Test {
protected:
    TBitmap b{40, 40};
    void SetUp() override {
        b.Canvas()->Brush()->SetColor(0x123456);
        b.Canvas()->FillRect(TRect(0, 0, 40, 40));
    }
    int32_t At(int x, int y) { return Px(b, x, y); }
    static int32_t Grey(int v) { return v | (v << 8) | (v << 16); }
};

TEST_F(MvProcGradient, EqualColoursFillFlat) {
    GradientFill(b.Canvas(), TRect(5, 5, 15, 15), 0x00AA00, gsElliptic1, 0x00AA00);
    EXPECT_EQ(At(5, 5), 0x00AA00);
    EXPECT_EQ(At(14, 14), 0x00AA00);
    EXPECT_EQ(At(15, 15), 0x123456);
}

TEST_F(MvProcGradient, Horizontal1IsBandsOfTruncatedSteps) {
    GradientFill(b.Canvas(), TRect(0, 0, 20, 10), 0x000000, gsHorizontal1, 0xFFFFFF);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(At(0, y), Grey(y * 255 / 10)) << y;
        EXPECT_EQ(At(19, y), Grey(y * 255 / 10)) << y;
    }
    EXPECT_EQ(At(0, 9), 0xE5E5E5);
    EXPECT_EQ(At(0, 10), 0x123456);
}

TEST_F(MvProcGradient, Vertical1RunsLeftToRight) {
    GradientFill(b.Canvas(), TRect(0, 0, 10, 5), 0x000000, gsVertical1, 0x0000FF);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(At(x, 2), x * 255 / 10) << x;
}

TEST_F(MvProcGradient, EmptyRectanglesDrawNothing) {
    GradientFill(b.Canvas(), TRect(0, 5, 20, 5), 0x000000, gsHorizontal1, 0xFFFFFF);
    GradientFill(b.Canvas(), TRect(5, 0, 5, 20), 0x000000, gsVertical1, 0xFFFFFF);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(At(i, 5), 0x123456);
        EXPECT_EQ(At(5, i), 0x123456);
    }
}

TEST_F(MvProcGradient, MirroredAndThirdStyles) {
    // gsHorizontal2 over 20 rows: N = 10, centre row 10 in ColorFrom, rows 10 +- i in colour(i).
    GradientFill(b.Canvas(), TRect(0, 0, 20, 20), 0x000000, gsHorizontal2, 0x0000FF);
    auto step = [](int i, int n) { return static_cast<int32_t>(Round(i * 255.0 / n)); };
    EXPECT_EQ(At(3, 10), 0);
    EXPECT_EQ(At(3, 13), step(3, 10));
    EXPECT_EQ(At(3, 7), step(3, 10));
    EXPECT_EQ(At(3, 0), 255);
    GradientFill(b.Canvas(), TRect(0, 0, 20, 20), 0x000000, gsVertical2, 0x0000FF);
    EXPECT_EQ(At(14, 3), step(4, 10));
    // gsHorizontal3 over 30 rows: N = round(20.1) = 20, light row 10.
    TBitmap t(10, 30);
    GradientFill(t.Canvas(), TRect(0, 0, 10, 30), 0x000000, gsHorizontal3, 0x0000FF);
    EXPECT_EQ(Px(t, 5, 10), 0);
    EXPECT_EQ(Px(t, 5, 15), step(5, 20));
    EXPECT_EQ(Px(t, 5, 0), step(10, 20));
    EXPECT_EQ(Px(t, 5, 29), step(19, 20));
    TBitmap v(30, 10);
    GradientFill(v.Canvas(), TRect(0, 0, 30, 10), 0x000000, gsVertical3, 0x0000FF);
    EXPECT_EQ(Px(v, 12, 5), step(2, 20));
}

TEST_F(MvProcGradient, CentredStyles) {
    // From red 255 to 0: N = 255. gsRectangle: the centre pixel is ColorFrom.
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsRectangle, 0x000000);
    EXPECT_EQ(At(20, 20), 0x0000FF);
    // px = 40 / 255 / 2: the corner keeps the last rectangle of half-size 20, i = 249 (19.53).
    EXPECT_EQ(At(0, 0), 255 - 249);
    // Elliptic: the corners keep ColorTo, the centre comes close to ColorFrom.
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsElliptic1, 0x000000);
    EXPECT_EQ(At(39, 39), 0x000000);
    // The smallest ellipse that has a radius: round(i x 0.078) = 1 first at i = 7.
    EXPECT_EQ(At(20, 20), 255 - 7);
    // gsElliptic3 is centred towards the top-left: (20 + 1 - 10, 20 + 1 - 10).
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsElliptic3, 0x000000);
    EXPECT_GT(At(11, 11), At(20, 20));
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsElliptic1, 0x000000);
    // Radius r = round(i x 40/255/2): the pixel 10 right of the centre lies in the ellipse of i
    // with round(i x 0.0784) = 11 at the smallest, i = 134.
    EXPECT_NEAR(At(30, 20), static_cast<int>(Round(255 - 134.0)), 8);
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsDiamond1, 0x000000);
    EXPECT_EQ(At(20, 20), 0x0000FF);
    EXPECT_EQ(At(0, 0), 0x000000);
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x0000FF, gsDiamond2, 0x000000);
    EXPECT_EQ(At(20, 20), 0x0000FF);
}

TEST_F(MvProcGradient, CornerStyles) {
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x000000, gsTopLeft, 0x0000FF);
    // N = 40: the first line runs through the top-left corner in colour(0), the last lines of the
    // other half end at the bottom-right in colour(N).
    // The first steps are colour(0.5), colour(1), ... of 40: a few units from the ends.
    EXPECT_NEAR(At(0, 0), 0, 7);
    EXPECT_NEAR(At(39, 39), 255, 7);
    EXPECT_NEAR(At(19, 19), 128, 10);  // the two halves meet on the middle diagonal
    EXPECT_LT(At(5, 5), At(34, 34));
    GradientFill(b.Canvas(), TRect(0, 0, 40, 40), 0x000000, gsTopRight, 0x0000FF);
    EXPECT_NEAR(At(39, 0), 0, 7);
    EXPECT_NEAR(At(0, 39), 255, 7);
    EXPECT_GT(At(5, 5), At(34, 5));
}

}  // namespace
