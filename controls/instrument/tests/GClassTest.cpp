// Settings objects, the ring, filled and round bevels, and the nested updates of the control bases.
#include <gtest/gtest.h>

#include "controls/instrument/_GClass.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

int32_t Px(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

TEST(GClassSettings, Defaults) {
    TLED led;
    EXPECT_EQ(led.Width(), 13);
    EXPECT_EQ(led.Height(), 13);
    EXPECT_EQ(led.Shape(), sRound);
    EXPECT_EQ(led.ColorOn(), 0x00FF00);
    EXPECT_EQ(led.ColorOff(), clBtnFace);
    TMvBtnBevel bb;
    EXPECT_EQ(bb.ShadowColFrom(), 0x000000);
    EXPECT_EQ(bb.ShadowColTo(), clBtnShadow);
    EXPECT_EQ(bb.HighlightColFrom(), 0xD2D2D2);
    EXPECT_EQ(bb.HighlightColTo(), clBtnHighlight);
    EXPECT_EQ(bb.Width(), 2);
    TMvGradSettings g;
    EXPECT_EQ(g.ColorFrom(), 0xE2E2E2);
    EXPECT_EQ(g.ColorTo(), 0x8F8F8F);
    EXPECT_EQ(g.Style(), gsHorizontal1);
    EXPECT_FALSE(g.Visible());
    TMvSBevel sb;
    EXPECT_EQ(sb.Style(), bsRaised);
    EXPECT_EQ(sb.Spacing(), 5);
    EXPECT_EQ(sb.BevelLine(), blNone);
    EXPECT_EQ(sb.Width(), 2);
    EXPECT_EQ(sb.Color(), clBtnFace);
    EXPECT_EQ(sb.PenColor(), 0x000000);
    EXPECT_EQ(sb.ColorShadowFrom(), clBtnShadow);
    EXPECT_EQ(sb.ColorHighLightTo(), clBtnHighlight);
    EXPECT_EQ(sb.TotalWidth, 7);
    EXPECT_FALSE(sb.isRound);
    TSectorSettings s;
    EXPECT_EQ(s.Sector1Color(), 0x00FFFF);
    EXPECT_EQ(s.Sector1From(), 0);
    EXPECT_EQ(s.Sector1To(), 333);
    EXPECT_EQ(s.Sector2Color(), 0x008000);
    EXPECT_EQ(s.Sector2From(), 334);
    EXPECT_EQ(s.Sector2To(), 666);
    EXPECT_EQ(s.Sector3Color(), 0x0000FF);
    EXPECT_EQ(s.Sector3From(), 667);
    EXPECT_EQ(s.Sector3To(), 1000);
    TMinMax mm;
    EXPECT_EQ(mm.Max(), -9999999.0f);
    EXPECT_EQ(mm.Min(), 9999999.0f);
    EXPECT_EQ(mm.MaxColor(), 0xFFFF00);
    EXPECT_TRUE(mm.UseSectorCol());
}

TEST(GClassSettings, ChangesAreReportedOnceAndOnlyOnChange) {
    int changes = 0;
    TLED led;
    led.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &led);
        ++changes;
    };
    led.SetColorOn(0x00FF00);
    EXPECT_EQ(changes, 0);
    led.SetColorOn(0x0000FF);
    EXPECT_EQ(changes, 1);
    struct Width {
        int32_t value;
        bool taken;
    };
    for (Width w : {Width{3, false}, Width{81, false}, Width{4, true}, Width{80, true}}) {
        const int before = changes;
        led.SetWidth(w.value);
        led.SetHeight(w.value);
        EXPECT_EQ(led.Width() == w.value, w.taken) << w.value;
        EXPECT_EQ(led.Height() == w.value, w.taken) << w.value;
        EXPECT_EQ(changes - before, w.taken ? 2 : 0) << w.value;
    }
    TMvBtnBevel bb;
    bb.SetWidth(-1);
    EXPECT_EQ(bb.Width(), 2);
    bb.SetWidth(0);
    EXPECT_EQ(bb.Width(), 0);

    // A change of a bevel's offset or surface gradient reaches the bevel's owner.
    TMvSBevel sb;
    std::vector<TObject*> senders;
    sb.OnChange = [&](TObject* s) { senders.push_back(s); };
    sb.Offset()->SetTop(3);
    sb.SurfaceGrad()->SetVisible(true);
    sb.SurfaceGrad()->SetVisible(true);
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[0], &sb);
    sb.SetWidth(-1);
    EXPECT_EQ(senders.size(), 2u);

    TMinMax mm;
    int mmChanges = 0;
    mm.OnChange = [&](TObject*) { ++mmChanges; };
    mm.SetMax(5);
    EXPECT_EQ(mm.Max(), 5.0f);
    EXPECT_EQ(mmChanges, 0);
    mm.SetMinVisible(false);
    EXPECT_EQ(mmChanges, 1);
}

TEST(GClassSettings, CopyRules) {
    TMvOffset o1, o2;
    o1.Write(1, 2, 3, 4);
    int c2 = 0;
    o2.OnChange = [&](TObject*) { ++c2; };
    o2.Assign(&o1);
    EXPECT_EQ(o2.SetOffset(TRect(0, 0, 10, 10)), TRect(2, 1, 7, 6));
    EXPECT_EQ(c2, 1);

    TMvBtnBevel b1, b2;
    b1.SetWidth(7);
    b1.SetShadowColFrom(0x111111);
    b1.SetHighlightColTo(0x222222);
    int cb = 0;
    b2.OnChange = [&](TObject*) { ++cb; };
    b2.Assign(&b1);
    EXPECT_EQ(b2.Width(), 7);
    EXPECT_EQ(b2.ShadowColFrom(), 0x111111);
    EXPECT_EQ(b2.HighlightColTo(), 0x222222);
    EXPECT_EQ(cb, 1);

    TMvGradSettings g1, g2;
    g1.SetColorFrom(0x010101);
    g1.SetVisible(true);
    g1.SetStyle(gsDiamond2);
    int cg = 0;
    g2.OnChange = [&](TObject*) { ++cg; };
    g2.Assign(&g1);
    EXPECT_EQ(g2.ColorFrom(), 0x010101);
    EXPECT_TRUE(g2.Visible());
    EXPECT_EQ(g2.Style(), gsDiamond2);
    EXPECT_EQ(cg, 4);  // three setters that changed something, then the final Change

    TMvSBevel s1, s2;
    s1.SetStyle(bsLowered);
    s1.SetSpacing(1);
    s1.SetBevelLine(blBoth);
    s1.SetPenColor(0x0000FF);
    s1.Offset()->SetLeft(9);
    s1.SurfaceGrad()->SetColorTo(0x123456);
    int cs = 0;
    s2.OnChange = [&](TObject*) { ++cs; };
    s2.Assign(&s1);
    EXPECT_EQ(s2.Style(), bsLowered);
    EXPECT_EQ(s2.Spacing(), 1);
    EXPECT_EQ(s2.BevelLine(), blBoth);
    EXPECT_EQ(s2.PenColor(), 0x0000FF);
    EXPECT_EQ(s2.Offset()->Left(), 9);
    EXPECT_EQ(s2.SurfaceGrad()->ColorTo(), 0x123456);
    EXPECT_EQ(s2.TotalWidth, 1 + 2 + 2);
    EXPECT_GE(cs, 1);

    TSectorSettings t1, t2;
    t1.SetSector2From(100);
    t1.SetSector3Color(0xABCDEF);
    t1.SetOffset(12);
    t2.Assign(&t1);
    EXPECT_EQ(t2.Sector2From(), 100);
    EXPECT_EQ(t2.Sector3Color(), 0xABCDEF);
    EXPECT_EQ(t2.Offset(), 0);  // not copied

    try {
        g1.Assign(&o1);
        FAIL() << "no assign error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("Cannot assign a TMvOffset to a TMvGradSettings"));
    }
}

TEST(GClassSettings, SectorColours) {
    TSectorSettings s;
    struct Row {
        int ppt;
        bool found;
        TColor color;
    };
    for (Row r : {Row{0, true, 0x00FFFF}, Row{333, true, 0x00FFFF}, Row{334, true, 0x008000},
                  Row{1000, true, 0x0000FF}, Row{1001, false, 0x123456}, Row{-1, false, 0x123456}}) {
        TColor col = 0x123456;
        EXPECT_EQ(s.CheckSectorColor(r.ppt, col), r.found) << r.ppt;
        EXPECT_EQ(col, r.color) << r.ppt;
    }
}

TEST(GClassBevel, FilledAndPlainBevelsLeaveTheContentRectangle) {
    TMvSBevel sb;
    sb.SetSpacing(1);
    sb.SetWidth(2);
    sb.SetBevelLine(blBoth);
    EXPECT_EQ(sb.TotalWidth, 5);
    TBitmap b(100, 20);
    TRect r(0, 0, 100, 20);
    sb.PaintFilledBevel(b.Canvas(), r);
    EXPECT_EQ(r, TRect(5, 5, 95, 15));
    EXPECT_EQ(Px(b, 0, 0), 0x000000);                        // outer line in PenColor
    EXPECT_EQ(Px(b, 50, 10), ColorToRGB(clBtnFace));         // filled with Color
    EXPECT_EQ(Px(b, 50, 1), ColorToRGB(clBtnHighlight));     // raised: highlight on top
    EXPECT_EQ(Px(b, 50, 18), ColorToRGB(clBtnShadow));       // shadow at the bottom
    EXPECT_EQ(Px(b, 50, 3), 0x000000);                       // inner line
    sb.Offset()->SetTop(1);
    sb.Offset()->SetLeft(2);
    sb.Offset()->SetRight(3);
    sb.Offset()->SetBottom(4);
    r = TRect(0, 0, 100, 20);
    sb.PaintFilledBevel(b.Canvas(), r);
    EXPECT_EQ(r, TRect(7, 6, 92, 11));

    TBitmap p(100, 20);
    p.Canvas()->Brush()->SetColor(0x00FF00);
    p.Canvas()->FillRect(TRect(0, 0, 100, 20));
    r = TRect(0, 0, 100, 20);
    sb.PaintBevel(p.Canvas(), r);
    EXPECT_EQ(r, TRect(7, 6, 92, 11));
    EXPECT_EQ(Px(p, 50, 10), 0x00FF00);  // not filled

    // The surface gradient fills the area inside the rings.
    TMvSBevel gb;
    gb.SetBevelLine(blNone);
    gb.SurfaceGrad()->SetVisible(true);
    gb.SurfaceGrad()->SetColorFrom(0x0000FF);
    gb.SurfaceGrad()->SetColorTo(0x0000FF);
    TBitmap q(40, 40);
    r = TRect(0, 0, 40, 40);
    gb.PaintFilledBevel(q.Canvas(), r);
    EXPECT_EQ(Px(q, 2, 20), 0x0000FF);
    EXPECT_EQ(Px(q, 1, 20), ColorToRGB(clBtnHighlight));
}

TEST(GClassBevel, RingsBlendFromTheOutsideIn) {
    TMvBtnBevel bb;
    bb.SetWidth(4);
    bb.SetHighlightColFrom(0x000000);
    bb.SetHighlightColTo(0xFFFFFF);
    TBitmap b(20, 20);
    TRect r(0, 0, 20, 20);
    bb.PaintBevel(b.Canvas(), r, true, true, 0x0000FF);
    EXPECT_EQ(r, TRect(4, 4, 16, 16));
    const int32_t want[] = {0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Px(b, k, 10), want[k]) << k;  // left edge
        EXPECT_EQ(Px(b, 10, k), want[k]) << k;  // top edge
    }
    EXPECT_EQ(Px(b, 10, 10), 0x0000FF);
    // Down: the shadow colours on top, from ShadowColTo towards ShadowColFrom.
    TMvBtnBevel dn;
    dn.SetWidth(2);
    dn.SetShadowColFrom(0x000000);
    dn.SetShadowColTo(0x0000FF);
    TBitmap d(20, 20);
    r = TRect(0, 0, 20, 20);
    dn.PaintBevel(d.Canvas(), r, false, false, 0);
    EXPECT_EQ(Px(d, 10, 0), 0x00007F);  // 255 + round(-127.5), halves to even
    EXPECT_EQ(Px(d, 10, 1), 0x000000);
}

TEST(GClassBevel, RoundBevelTurnsItsPictureWhenLowered) {
    auto paint = [](TBevelStyle style, TBitmap& b, TRect& r) {
        TMvSBevel sb;
        sb.isRound = true;
        sb.SetColorShadowFrom(0x000000);
        sb.SetColorShadowTo(0xFFFFFF);
        sb.SetStyle(style);
        EXPECT_TRUE(sb.RoundBmpCreated());
        b.Canvas()->Brush()->SetColor(0x00FF00);
        b.Canvas()->FillRect(TRect(0, 0, 60, 60));
        HRGN clip = CreateRectRgn(0, 0, 55, 55);
        SelectClipRgn(b.Canvas()->Handle(), clip);
        DeleteObject(clip);
        const TRect before = b.Canvas()->ClipRect();
        r = TRect(10, 10, 50, 50);
        sb.PaintRoundBevel(b.Canvas(), r, 0, 0);
        EXPECT_EQ(b.Canvas()->ClipRect(), before);
        EXPECT_EQ(ColorToRGB(b.Canvas()->Pixels(10, 10)), 0x00FF00);  // outside the circle
    };
    TBitmap up(60, 60), down(60, 60);
    TRect r;
    paint(bsRaised, up, r);
    EXPECT_EQ(r, TRect(17, 17, 43, 43));  // Width 2 + Spacing 5
    paint(bsLowered, down, r);
    // (16, 16) lies on the ring, upper left: dark when raised, light when lowered, and the lowered
    // one matches the raised picture's opposite point.
    const int32_t upTL = Px(up, 16, 16), downTL = Px(down, 16, 16), upBR = Px(up, 43, 43);
    EXPECT_LT(upTL & 0xFF, 0x60);
    EXPECT_GT(downTL & 0xFF, 0xA0);
    EXPECT_NEAR(downTL & 0xFF, upBR & 0xFF, 24);
    EXPECT_EQ(Px(up, 30, 30), ColorToRGB(clBtnFace));  // the face
}

TEST(GClassBevel, RoundBevelNeedsItsPicture) {
    TMvSBevel sb;
    TBitmap b(40, 40);
    TRect r(0, 0, 40, 40);
    sb.PaintRoundBevel(b.Canvas(), r, 0, 0);  // not round
    EXPECT_EQ(r, TRect(0, 0, 40, 40));
    sb.isRound = true;
    sb.PaintRoundBevel(b.Canvas(), r, 0, 0);  // picture not made yet
    EXPECT_EQ(r, TRect(0, 0, 40, 40));
    sb.Change();
    r = TRect(0, 0, 4, 4);
    sb.PaintRoundBevel(b.Canvas(), r, 0, 0);  // too small
    EXPECT_EQ(r, TRect(0, 0, 4, 4));
}

class CountingGraphic : public TMvGraphicControl {
public:
    using TMvGraphicControl::TMvGraphicControl;
    int changes = 0;
    void ParamChange(TObject* Sender) override {
        EXPECT_EQ(Sender, this);
        ++changes;
    }
};

class CountingCustom : public TMvCustomControl {
public:
    using TMvCustomControl::TMvCustomControl;
    int invalidates = 0;
    int changes = 0;
    void Invalidate() override {
        ++invalidates;
        TMvCustomControl::Invalidate();
    }
    void ParamChange(TObject*) override { ++changes; }
};

using GClassBases = ui::test::FormTest;

TEST_F(GClassBases, NestedUpdates) {
    auto* g = Add<CountingGraphic>();
    g->EndUpdate();
    EXPECT_EQ(g->UpdateCount(), 0);
    EXPECT_EQ(g->changes, 1);
    g->BeginUpdate();
    g->BeginUpdate();
    g->DoParamChange();
    EXPECT_EQ(g->changes, 1);
    g->EndUpdate();
    EXPECT_EQ(g->changes, 1);
    g->EndUpdate();
    EXPECT_EQ(g->changes, 2);

    auto* c = Add<CountingCustom>();
    c->invalidates = 0;
    c->EndUpdate();
    EXPECT_EQ(c->UpdateCount(), 0);
    EXPECT_EQ(c->invalidates, 1);
    c->BeginUpdate();
    c->DoParamChange();
    EXPECT_EQ(c->changes, 0);
    c->EndUpdate();
    EXPECT_EQ(c->invalidates, 2);
    c->DoParamChange();
    EXPECT_EQ(c->changes, 1);
}

}  // namespace
