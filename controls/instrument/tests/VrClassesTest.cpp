// Settings objects, the component base and the drawing routines of the image-control set.
#include "controls/instrument/VrClasses.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/instrument/VrControls.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

TEST(VrPaletteTest, GetColorsSplitsAtZero) {
    TVrPalette p;
    p.SetLow(clRed);
    p.SetHigh(clBlue);
    struct Case { int index; TColor expected; };
    for (Case c : {Case{-5, clRed}, Case{0, clRed}, Case{1, clBlue}, Case{2, clBlue}})
        EXPECT_EQ(p.GetColors(c.index), c.expected) << "index " << c.index;
}

TEST(VrPaletteTest, DefaultsAndChangeNotification) {
    TVrPalette p;
    EXPECT_EQ(p.Low(), 0x008000);
    EXPECT_EQ(p.High(), 0x00FF00);
    int changes = 0;
    p.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &p);
        ++changes;
    };
    p.SetLow(0x008000);  // unchanged: nothing
    EXPECT_EQ(changes, 0);
    p.SetLow(clNavy);
    EXPECT_EQ(changes, 1);

    // Both colours copied inside one update: one notification.
    TVrPalette source;
    source.SetLow(clMaroon);
    source.SetHigh(clYellow);
    p.Assign(&source);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(p.Low(), clMaroon);
    EXPECT_EQ(p.High(), clYellow);

    // Inside an update nothing is reported until its end; an end at count 0 still reports.
    p.BeginUpdate();
    p.SetHigh(clWhite);
    EXPECT_EQ(changes, 2);
    p.EndUpdate();
    EXPECT_EQ(changes, 3);
    p.EndUpdate();
    EXPECT_EQ(changes, 4);
}

TEST(VrPaletteTest, AssigningAnotherKindOfObjectIsRefused) {
    TVrPalette p;
    TVrFont3D f;
    EXPECT_THROW(p.Assign(&f), EConvertError);
}

TEST(VrPaletteTest, ToBmpRecoloursExactlyTheTwoColours) {
    const TColor dark = 0x101010, light = 0xE0E0E0;
    const std::vector<TColor> row = {dark, light, 0x101011, clWhite, clBlack, dark, 0xE0E0E1, light};
    TBitmap bmp(static_cast<int>(row.size()), 2, pf24bit);
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
        bmp.Canvas()->SetPixels(x, 0, row[static_cast<size_t>(x)]);
        bmp.Canvas()->SetPixels(x, 1, row[row.size() - 1 - static_cast<size_t>(x)]);
    }
    TVrPalette p;
    p.SetLow(clRed);
    p.SetHigh(clLime);
    p.ToBMP(&bmp, dark, light);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            TColor was = row[y == 0 ? static_cast<size_t>(x) : row.size() - 1 - static_cast<size_t>(x)];
            TColor expected = was == dark ? clRed : was == light ? clLime : was;
            EXPECT_EQ(bmp.Canvas()->Pixels(x, y), expected) << x << "," << y;
        }
}

// A canvas that logs every text output: position and colour, in order.
class TextLogCanvas : public TCanvas {
public:
    explicit TextLogCanvas(TBitmap* b) : TCanvas(b) {}
    struct Out { int X, Y; TColor Color; };
    std::vector<Out> Log;
    void ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque) override {
        Log.push_back({X, Y, Font()->Color()});
        TCanvas::ExtTextOutImpl(X, Y, text, clip, opaque);
    }
};

TEST(VrFont3DTest, EachStyleDrawsItsLayersInOrder) {
    const TColor main = 0x123456, hi = clWhite, sh = clGray;
    struct Case {
        TVrFont3DStyle style;
        std::vector<std::pair<TColor, int>> layers;  // colour and offset from the main text
    };
    const std::vector<Case> cases = {
        {f3dNone, {{main, 0}}},
        {f3dRaised, {{sh, 2}, {hi, -3}, {main, 0}}},
        {f3dSunken, {{hi, 3}, {sh, -2}, {main, 0}}},
        {f3dShadow, {{sh, 2}, {main, 0}}},
    };
    for (const Case& c : cases) {
        TBitmap bmp(80, 40);
        TextLogCanvas canvas(&bmp);
        canvas.Font()->SetName(String("DejaVu Sans"));
        canvas.Font()->SetColor(main);
        TVrFont3D f;
        f.SetStyle(c.style);
        f.SetHighlightColor(hi);
        f.SetShadowColor(sh);
        f.SetHighlightDepth(3);
        f.SetShadowDepth(2);
        f.Paint(&canvas, Rect(10, 10, 70, 30), String("Ab"), DT_LEFT | DT_TOP | DT_SINGLELINE);
        ASSERT_EQ(canvas.Log.size(), c.layers.size()) << "style " << c.style;
        const auto& last = canvas.Log.back();
        EXPECT_EQ(last.X, 10);
        EXPECT_EQ(last.Y, 10);
        for (size_t i = 0; i < c.layers.size(); ++i) {
            EXPECT_EQ(canvas.Log[i].Color, c.layers[i].first) << "style " << c.style << " layer " << i;
            EXPECT_EQ(canvas.Log[i].X - last.X, c.layers[i].second) << "style " << c.style << " layer " << i;
            EXPECT_EQ(canvas.Log[i].Y - last.Y, c.layers[i].second) << "style " << c.style << " layer " << i;
        }
        EXPECT_EQ(canvas.Font()->Color(), main);
        EXPECT_EQ(canvas.Brush()->Style(), bsClear);
    }
}

TEST(VrFont3DTest, ShadowPixelsStandTwoRightAndDownOfTheText) {
    TBitmap bmp(60, 40, pf24bit);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 60, 40));
    c->Font()->SetName(String("DejaVu Sans"));
    c->Font()->SetSize(14);
    c->Font()->SetColor(clBlack);
    TVrFont3D f;
    f.SetStyle(f3dShadow);
    f.SetShadowDepth(2);
    f.SetShadowColor(clRed);
    f.Paint(c, Rect(5, 5, 55, 35), String("I"), DT_LEFT | DT_TOP | DT_SINGLELINE);
    // Bounding boxes of the main text and of the shadow's visible part.
    TRect text(100, 100, -1, -1), shadow(100, 100, -1, -1);
    auto grow = [](TRect& r, int x, int y) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x);
        r.Bottom = std::max(r.Bottom, y);
    };
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            TColor p = c->Pixels(x, y);
            if (p == clBlack) grow(text, x, y);
            if (p == clRed) grow(shadow, x, y);
        }
    ASSERT_LE(text.Left, text.Right);
    ASSERT_LE(shadow.Left, shadow.Right);
    EXPECT_EQ(shadow.Right, text.Right + 2);
    EXPECT_EQ(shadow.Bottom, text.Bottom + 2);
    EXPECT_EQ(c->Font()->Color(), clBlack);
}

TEST(VrComponentTest, VersionIsSetByTheConstructors) {
    TVrComponent component(nullptr);
    EXPECT_EQ(component.Version(), String("1.4.5"));
    auto* control = new TVrCustomControl(nullptr);
    EXPECT_EQ(control->Version(), String("1.4.5"));
    control->SetVersion(String("9"));  // stored and loaded like any property
    EXPECT_EQ(control->Version(), String("9"));
    control->Free();
}

TEST(VrControlsStartTest, HandPointerIsScreenCursor99) {
    ui::test::AppScope scope;  // runs the unit starts
    ui::CursorInfo info;
    ASSERT_TRUE(ui::GetCursorInfo(Screen->Cursors(crVrHandPoint), info));
    ASSERT_NE(info.Image, nullptr);
    EXPECT_EQ(info.Image->Width(), 32);
    EXPECT_EQ(info.Image->Height(), 32);
    EXPECT_EQ(info.HotSpot, Point(5, 0));
    ASSERT_NE(FindResource(String("VRCURSORHANDPOINT")), nullptr);
    // Opaque at the fingertip, transparent beside it.
    auto alpha = [&](int x, int y) {
        auto* row = static_cast<const uint8_t*>(const_cast<TBitmap*>(info.Image)->ScanLine(y));
        return row[4 * x + 3];
    };
    EXPECT_EQ(alpha(5, 0), 0xFF);
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(31, 31), 0);
}

// Drawing routines ------------------------------------------------------------------------------

TEST(VrRoutinesTest, DrawFrame3DReturnsTheRectangleShrunkByWidth) {
    TBitmap bmp(20, 16, pf24bit);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 16));
    TRect inner = DrawFrame3D(c, Rect(2, 1, 18, 15), clRed, clBlue, 2);
    EXPECT_EQ(inner, Rect(4, 3, 16, 13));
    EXPECT_EQ(c->Pixels(2, 1), clRed);     // top-left
    EXPECT_EQ(c->Pixels(10, 2), clRed);    // second round of the top
    EXPECT_EQ(c->Pixels(17, 14), clBlue);  // bottom-right
    EXPECT_EQ(c->Pixels(17, 1), clBlue);   // the top-right corner belongs to the bottom colour
    EXPECT_EQ(c->Pixels(2, 14), clBlue);   // so does the bottom-left
    EXPECT_EQ(c->Pixels(16, 13), clBlue);  // second round
    EXPECT_EQ(c->Pixels(4, 3), clWhite);   // inside stays
    EXPECT_EQ(c->Pixels(18, 15), clWhite); // outside stays
    EXPECT_EQ(c->Pixels(1, 1), clWhite);
}

TEST(VrRoutinesTest, TileBitmapCoversTheRectangleAndClipsTheLastTiles) {
    TBitmap tile(10, 8, pf24bit);
    tile.Canvas()->Brush()->SetColor(clRed);
    tile.Canvas()->FillRect(Rect(0, 0, 10, 8));
    tile.Canvas()->SetPixels(0, 0, clBlue);  // marks each tile's corner
    TBitmap target(27, 20, pf24bit);
    TCanvas* c = target.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 27, 20));
    TileBitmap(c, Rect(3, 2, 27, 20), &tile);
    for (int x : {3, 13, 23})
        for (int y : {2, 10, 18}) EXPECT_EQ(c->Pixels(x, y), clBlue) << x << "," << y;
    EXPECT_EQ(c->Pixels(26, 19), clRed);  // the last, clipped tile
    EXPECT_EQ(c->Pixels(2, 5), clWhite);  // left of the rectangle
    EXPECT_EQ(c->Pixels(5, 1), clWhite);  // above it
}

TEST(VrRoutinesTest, DrawButtonTextEngravesDisabledText) {
    TBitmap bmp(60, 30);
    TextLogCanvas canvas(&bmp);
    canvas.Font()->SetName(String("DejaVu Sans"));
    canvas.Font()->SetColor(clBlack);
    DrawButtonText(&canvas, String("Ok"), Rect(10, 5, 50, 25), false);
    ASSERT_EQ(canvas.Log.size(), 2u);
    EXPECT_EQ(canvas.Log[0].Color, clBtnHighlight);
    EXPECT_EQ(canvas.Log[0].X, 11);
    EXPECT_EQ(canvas.Log[0].Y, 6);
    EXPECT_EQ(canvas.Log[1].Color, clBtnShadow);
    EXPECT_EQ(canvas.Log[1].X, 10);
    EXPECT_EQ(canvas.Log[1].Y, 5);

    canvas.Log.clear();
    canvas.Font()->SetColor(clBlack);
    DrawButtonText(&canvas, String("Ok"), Rect(10, 5, 50, 25), true);
    ASSERT_EQ(canvas.Log.size(), 1u);
    TSize size = canvas.TextExtent(String("Ok"));
    EXPECT_EQ(canvas.Log[0].X, 10 + (40 - size.cx) / 2);
    EXPECT_EQ(canvas.Log[0].Color, clBlack);
    EXPECT_EQ(canvas.Brush()->Style(), bsClear);
}

TEST(VrRoutinesTest, CalcButtonLayoutPlacesGlyphAndCaption) {
    TBitmap bmp(10, 10);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetName(String("DejaVu Sans"));
    c->Font()->SetSize(9);
    const String caption("Lamp");
    TSize ts = c->TextExtent(caption);
    const int tw = ts.cx, th = ts.cy;
    const TRect client = Bounds(5, 7, 120, 60);  // 120 x 60 at (5, 7)
    const int W = 120, H = 60, gw = 12, gh = 10;
    struct Case {
        int layout, spacing, margin;
        TPoint glyph;  // expected, in client coordinates before the move to (5, 7)
        TPoint text;
    };
    auto centreY = [&](int h) { return (H - h + 1) / 2; };
    auto centreX = [&](int w) { return (W - w + 1) / 2; };
    const int both = (W - gw - tw) / 3, bothV = (H - gh - th) / 3;
    const int marginOnly = (W - gw - 4 - tw + 1) / 2, marginOnlyV = (H - gh - 4 - th + 1) / 2;
    const int spacingOnly = (W - 6 - gw - tw) / 2, spacingOnlyV = (H - 6 - gh - th) / 2;
    const std::vector<Case> cases = {
        // Glyph left.
        {1, -1, -1, {both, centreY(gh)}, {both + gw + both, centreY(th)}},
        {1, 4, -1, {marginOnly, centreY(gh)}, {marginOnly + gw + 4, centreY(th)}},
        {1, -1, 6, {6, centreY(gh)}, {6 + gw + spacingOnly, centreY(th)}},
        // Glyph right.
        {2, -1, -1, {W - both - gw, centreY(gh)}, {W - both - gw - both - tw, centreY(th)}},
        {2, 4, -1, {W - marginOnly - gw, centreY(gh)}, {W - marginOnly - gw - 4 - tw, centreY(th)}},
        {2, -1, 6, {W - 6 - gw, centreY(gh)}, {W - 6 - gw - spacingOnly - tw, centreY(th)}},
        // Glyph on top.
        {3, -1, -1, {centreX(gw), bothV}, {centreX(tw), bothV + gh + bothV}},
        {3, 4, -1, {centreX(gw), marginOnlyV}, {centreX(tw), marginOnlyV + gh + 4}},
        {3, -1, 6, {centreX(gw), 6}, {centreX(tw), 6 + gh + spacingOnlyV}},
        // Glyph at the bottom.
        {4, -1, -1, {centreX(gw), H - bothV - gh}, {centreX(tw), H - bothV - gh - bothV - th}},
        {4, 4, -1, {centreX(gw), H - marginOnlyV - gh}, {centreX(tw), H - marginOnlyV - gh - 4 - th}},
        {4, -1, 6, {centreX(gw), H - 6 - gh}, {centreX(tw), H - 6 - gh - spacingOnlyV - th}},
    };
    for (const Case& k : cases) {
        TRect textBounds;
        TPoint glyph;
        CalcButtonLayout(c, client, textBounds, glyph, Point(gw, gh), k.spacing, k.margin, k.layout, caption);
        SCOPED_TRACE(testing::Message() << "layout " << k.layout << " spacing " << k.spacing << " margin " << k.margin);
        EXPECT_EQ(glyph, Point(k.glyph.X + 5, k.glyph.Y + 7));
        EXPECT_EQ(textBounds, Bounds(k.text.X + 5, k.text.Y + 7, tw, th));
    }
    // No caption: the glyph alone is centred, whatever the layout.
    for (int layout = 1; layout <= 4; ++layout) {
        TRect textBounds;
        TPoint glyph;
        CalcButtonLayout(c, client, textBounds, glyph, Point(gw, gh), -1, -1, layout, String());
        EXPECT_EQ(glyph, Point(5 + (W - gw + 1) / 2, 7 + (H - gh + 1) / 2)) << "layout " << layout;
        EXPECT_EQ(textBounds.Width(), 0);
        EXPECT_EQ(textBounds.Height(), 0);
    }
}

TEST(VrRoutinesTest, AlignmentFlags) {
    struct Case { TVrTextAlignment a; UINT flags; };
    const Case cases[] = {
        {vtaLeft, DT_LEFT | DT_VCENTER}, {vtaCenter, DT_CENTER | DT_VCENTER}, {vtaRight, DT_RIGHT | DT_VCENTER},
        {vtaTopLeft, DT_TOP | DT_LEFT}, {vtaTop, DT_TOP | DT_CENTER}, {vtaTopRight, DT_TOP | DT_RIGHT},
        {vtaBottomLeft, DT_BOTTOM | DT_LEFT}, {vtaBottom, DT_BOTTOM | DT_CENTER}, {vtaBottomRight, DT_BOTTOM | DT_RIGHT},
    };
    for (const Case& c : cases) EXPECT_EQ(VrTextAlignmentFlags(c.a), c.flags | DT_SINGLELINE) << c.a;
}

}  // namespace
