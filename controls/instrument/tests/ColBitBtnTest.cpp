// The colour bit button: defaults, look table, layout, glyph strip, bevel and drawing at once.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/instrument/MvCBitBt.h"
#include "controls/instrument/MvFlashT.h"
#include "platform/ui/tests/DrawnTestSupport.h"
#include "controls/instrument/tests/InstrumentTestSupport.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// Records the four look flags of every composition.
class LookBtn : public TMvColBitBtn {
public:
    using TMvColBitBtn::TMvColBitBtn;
    struct Look {
        bool glyph, text, textCol, btn;
        bool operator==(const Look&) const = default;
    };
    std::vector<Look> looks;
    void Draw(bool g, bool t, bool tc, bool b) override {
        looks.push_back({g, t, tc, b});
        TMvColBitBtn::Draw(g, t, tc, b);
    }
};

constexpr int32_t Olive = 0x00C0C0;

// A strip of n images of 8 x 8 in the given colours; each image's bottom-left pixel is white.
std::unique_ptr<TBitmap> Strip(std::vector<TColor> colors) {
    auto b = std::make_unique<TBitmap>(8 * static_cast<int>(colors.size()), 8);
    for (size_t i = 0; i < colors.size(); ++i) {
        b->Canvas()->Brush()->SetColor(colors[i]);
        b->Canvas()->FillRect(TRect(8 * static_cast<int>(i), 0, 8 * static_cast<int>(i) + 8, 8));
    }
    b->Canvas()->SetPixels(0, 7, clWhite);
    return b;
}

using instrument_test::Find;

class BtnTest : public ui::test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    void SetUp() override {
        ui::test::FormTest::SetUp();
        form->SetColor(0x00C0C0);  // olive-ish, to tell the parent from the face
    }
    void TearDown() override {
        ui::test::FormTest::TearDown();
        StopFlashTimer();
    }
    template <class T = TMvColBitBtn>
    T* Button(int left = 10, int top = 10) {
        auto* b = Add<T>(left, top);
        b->Font()->SetName("Arial");
        b->Font()->SetSize(9);
        return b;
    }
    ui::test::Picture Shot(const char* name) { return drawn_test::Snapshot(form, name); }
    // The form's image as it stands, without a paint pass.
    int32_t Now(int x, int y) { return ColorToRGB(form->BackingImage()->Canvas()->Pixels(x, y)); }
};

TEST_F(BtnTest, Defaults) {
    auto* b = Add<TMvColBitBtn>();
    EXPECT_EQ(b->Width(), 65);
    EXPECT_EQ(b->Height(), 33);
    EXPECT_TRUE(b->Font()->Style().Contains(fsBold));
    EXPECT_EQ(b->Mode(), mButton);
    EXPECT_EQ(b->OffsetDown(), 1);
    EXPECT_EQ(b->OffsetX(), 0);
    EXPECT_EQ(b->ButtonBevel()->Width(), 4);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_TRUE(b->Text3D());
    EXPECT_TRUE(b->Beveled());
    EXPECT_FALSE(b->Flat());
    EXPECT_FALSE(b->Transparent());
    EXPECT_EQ(b->ColorOn(), clBtnFace);
    EXPECT_EQ(b->ColorOff(), clBtnFace);
    EXPECT_EQ(b->ColorDisabled(), 0xA0A0A0);
    EXPECT_EQ(b->TextColOn(), 0x00FF00);
    EXPECT_EQ(b->TextColOff(), 0x000000);
    EXPECT_EQ(b->TextColDisabled(), clBtnShadow);
    EXPECT_EQ(b->GradBtnFace()->ColorFrom(), 0xF0F0F0);
    EXPECT_EQ(b->GradBtnFace()->ColorTo(), 0x696969);
    EXPECT_EQ(b->GradBtnFace()->Style(), gsHorizontal1);
    EXPECT_TRUE(b->GradBtnFace()->Visible());
    EXPECT_EQ(b->FlashOptions(), (TFlashOptions{foGlyph, foText, foTextCol, foBtnCol}));
    EXPECT_EQ(b->CheckedOptions(), (TCheckedOptions{coGlyph, coText, coTextCol, coBtnCol, coBevel}));
    EXPECT_EQ(b->PosHorizontal(), phCenter);
    EXPECT_EQ(b->PosVertical(), pvCenter);
    EXPECT_EQ(b->PosGlyph(), pLeft);
    EXPECT_EQ(b->NumGlyph(), 1);
    EXPECT_TRUE(b->TextOn().IsEmpty());
    EXPECT_TRUE(b->Enabled());
}

TEST_F(BtnTest, LookFlagsFollowCheckedOrTheFlashPhase) {
    auto* b = Button<LookBtn>();
    form->Show();
    ui::test::Pump();
    using L = LookBtn::Look;
    auto last = [&] { return b->looks.back(); };
    EXPECT_EQ(last(), (L{false, false, false, false}));
    b->SetChecked(true);
    EXPECT_EQ(last(), (L{true, true, true, true}));
    b->SetFlashing(true);
    b->Flash(false);
    EXPECT_EQ(last(), (L{false, false, false, false}));
    b->Flash(true);
    EXPECT_EQ(last(), (L{true, true, true, true}));
    // Parts left out of the flash options follow Checked; parts left out of the checked options
    // stay off.
    const size_t n = b->looks.size();
    b->SetFlashOptions(TFlashOptions{foGlyph, foText});
    EXPECT_EQ(b->looks.size(), n);  // setting the flash options alone does not redraw
    b->Flash(false);
    EXPECT_EQ(last(), (L{false, false, true, true}));
    b->SetCheckedOptions(TCheckedOptions{coGlyph, coBtnCol});
    EXPECT_EQ(last(), (L{false, false, false, true}));
    b->SetFlashing(false);
    EXPECT_EQ(last(), (L{true, false, false, true}));
}

TEST_F(BtnTest, CheckedFlashingButtonAlternatesItsLooks) {
    auto* b = Button<LookBtn>();
    form->Show();
    ui::test::Pump();
    b->SetFrequency(ff1Hz);
    b->SetFlashing(true);
    FlashCounter = 0;
    b->SetChecked(true);
    ASSERT_NE(FlashTimer, nullptr);
    FlashTimer->SetEnabled(false);
    std::vector<std::pair<uint32_t, bool>> seen;
    for (int i = 0; i < 128; ++i) {
        const size_t n = b->looks.size();
        FlashTimer->FlashTick(FlashTimer);
        if (b->looks.size() != n) seen.push_back({FlashCounter, b->looks.back().btn});
    }
    const std::vector<std::pair<uint32_t, bool>> want = {{32, true}, {64, false}, {96, true}, {128, false}};
    EXPECT_EQ(seen, want);
}

TEST_F(BtnTest, FaceAndTextColours) {
    auto* b = Button();
    b->GradBtnFace()->SetVisible(false);
    b->SetText3D(false);
    b->SetColorOff(0x0000FF);
    b->SetColorOn(0xFF0000);
    b->SetTextOn(u"MM");
    form->Show();
    auto off = Shot("colours_off");
    EXPECT_EQ(off.At(10 + 8, 10 + 6), 0x0000FF);
    EXPECT_NE(Find(off, 0x000000, TRect(14, 14, 71, 39)), TRect());  // TextColOff, and TextOn shown
    b->SetChecked(true);
    auto on = Shot("colours_on");
    EXPECT_EQ(on.At(10 + 8, 10 + 6), 0xFF0000);
    EXPECT_NE(Find(on, 0x00FF00, TRect(14, 14, 71, 39)), TRect());
    EXPECT_EQ(Find(on, 0x000000, TRect(14, 14, 71, 39)), TRect());
    b->SetChecked(false);
    b->SetEnabled(false);
    auto dis = Shot("colours_disabled");
    EXPECT_EQ(dis.At(10 + 8, 10 + 6), 0xA0A0A0);
    EXPECT_NE(Find(dis, ColorToRGB(clBtnShadow), TRect(14, 14, 71, 39)), TRect());
    // An empty caption draws no text.
    b->SetEnabled(true);
    b->SetTextOn(u"");
    auto none = Shot("colours_none");
    EXPECT_EQ(Find(none, 0x000000, TRect(14, 14, 71, 39)), TRect());
}

TEST_F(BtnTest, CaptionIsTextOnOrTextOff) {
    // The caption's lines are told apart by their count: one line or two.
    auto* b = Button();
    b->GradBtnFace()->SetVisible(false);
    b->SetText3D(false);
    b->SetCheckedOptions(TCheckedOptions{coText});  // text colour and bevel stay as when off
    b->SetTextOn(u"AA|AA");
    b->SetTextOff(u"AA");
    form->Show();
    const TRect inner(14, 12, 71, 41);
    const TRect one = Find(Shot("caption_off"), 0x000000, inner);
    b->SetChecked(true);
    const TRect two = Find(Shot("caption_on"), 0x000000, inner);
    EXPECT_GT(two.Height(), one.Height() + 5);
    b->SetTextOff(u"");
    b->SetChecked(false);
    const TRect empty = Find(Shot("caption_empty_off"), 0x000000, inner);
    EXPECT_EQ(empty, two);  // an empty TextOff shows TextOn
}

struct LayoutCase {
    TPos pos;
    TPosH h;
    TPosV v;
};

TEST_F(BtnTest, GlyphAndTextLayout) {
    const LayoutCase cases[] = {
        {pLeft, phCenter, pvCenter}, {pRight, phCenter, pvCenter}, {pTop, phCenter, pvCenter},
        {pBottom, phCenter, pvCenter}, {pLeft, phLeft, pvTop}, {pRight, phRight, pvBottom},
        {pTop, phLeft, pvBottom}, {pBottom, phRight, pvTop},
    };
    TBitmap measure(10, 10);
    auto glyph = Strip({0x0000FF});
    for (const LayoutCase& lc : cases) {
        SCOPED_TRACE(testing::Message() << lc.pos << "/" << lc.h << "/" << lc.v);
        auto* b = Button(10, 10);
        b->SetBounds(10, 10, 120, 60);
        b->GradBtnFace()->SetVisible(false);
        b->SetText3D(false);
        b->SetGlyph(glyph.get());
        b->SetTextOn(u"Go");
        b->SetPosGlyph(lc.pos);
        b->SetPosHorizontal(lc.h);
        b->SetPosVertical(lc.v);
        form->Show();
        auto pic = Shot("layout");
        measure.Canvas()->SetFont(b->Font());
        // The text block: the widest line of "Go|" (TextOn, the separator, an empty TextOff) and
        // the height of that string.
        const int W = measure.Canvas()->TextWidth(u"Go");
        const int th = measure.Canvas()->TextHeight(u"Go|");
        const int gw = 8, gh = 8, s = 4;
        int bw, bh;
        if (lc.pos == pLeft || lc.pos == pRight) {
            bh = std::max(gh, th);
            bw = gw + s + W;
        } else {
            bh = gh + s + th;
            bw = std::max(gw, W);
        }
        const TRect r(4, 4, 116, 56);
        const int cx = lc.h == phLeft ? r.Left + bw / 2 : lc.h == phRight ? r.Right - bw / 2 : r.Left + r.Width() / 2;
        const int cy = lc.v == pvTop ? r.Top + bh / 2 : lc.v == pvBottom ? r.Bottom - bh / 2 : r.Top + r.Height() / 2;
        int gx = 0, gy = 0;
        switch (lc.pos) {
            case pLeft: gx = cx - bw / 2; gy = cy - gh / 2; break;
            case pRight: gx = cx + bw / 2 - gw; gy = cy - gh / 2; break;
            case pTop: gx = cx - gw / 2; gy = cy - bh / 2; break;
            case pBottom: gx = cx - gw / 2; gy = cy + bh / 2 - gh; break;
        }
        const TRect g = Find(pic, 0x0000FF, TRect(10, 10, 130, 70));
        EXPECT_EQ(g, TRect(10 + gx, 10 + gy, 10 + gx + 8, 10 + gy + 8));
        const TRect t = Find(pic, 0x000000, TRect(14, 14, 126, 66));
        ASSERT_NE(t, TRect());
        switch (lc.pos) {
            case pLeft: EXPECT_GE(t.Left, g.Right + s - 1); break;
            case pRight: EXPECT_LE(t.Right, g.Left - s + 1); break;
            case pTop: EXPECT_GE(t.Top, g.Bottom + s - 1); break;
            case pBottom: EXPECT_LE(t.Bottom, g.Top - s + 1); break;
        }
        b->Free();
    }
}

TEST_F(BtnTest, LayoutWithoutGlyphAndWithTwoCaptions) {
    auto* b = Button();
    b->SetBounds(10, 10, 120, 60);
    b->GradBtnFace()->SetVisible(false);
    b->SetText3D(false);
    b->SetTextOn(u"ab");
    form->Show();
    // No glyph: no spacing, the text alone centred on the anchor (10 + 60, 10 + 30).
    const TRect t = Find(Shot("noglyph"), 0x000000, TRect(14, 14, 126, 66));
    EXPECT_NEAR((t.Left + t.Right) / 2.0, 70, 2.5);
    EXPECT_NEAR((t.Top + t.Bottom) / 2.0, 40, 3.5);

    // The block is measured over both captions: the glyph stays put when the caption switches.
    auto glyph = Strip({0x0000FF});
    b->SetGlyph(glyph.get());
    b->SetTextOn(u"A");
    b->SetTextOff(u"Much longer");
    b->SetCheckedOptions(TCheckedOptions{coText});
    const TRect g1 = Find(Shot("block_off"), 0x0000FF, TRect(10, 10, 130, 70));
    b->SetChecked(true);
    const TRect g2 = Find(Shot("block_on"), 0x0000FF, TRect(10, 10, 130, 70));
    EXPECT_EQ(g1, g2);
}

TEST_F(BtnTest, GlyphStrip) {
    auto* b = Button();
    b->SetNumGlyph(0);
    EXPECT_EQ(b->NumGlyph(), 1);
    b->SetNumGlyph(-2);
    EXPECT_EQ(b->NumGlyph(), 1);
    b->SetNumGlyph(3);
    TBitmap empty;
    b->SetGlyph(&empty);
    EXPECT_EQ(b->NumGlyph(), 1);

    auto strip = Strip({0x0000FF, 0x00FF00, 0xFF0000});
    b->SetGlyph(strip.get());
    EXPECT_EQ(ColorToRGB(b->Glyph()->TransparentColor()), 0xFFFFFF);
    b->SetNumGlyph(3);
    b->SetCheckedOptions(TCheckedOptions{coGlyph});
    form->Show();
    const TRect area(10, 10, 75, 43);
    auto has = [&](const char* name, int32_t color) { return Find(Shot(name), color, area) != TRect(); };
    EXPECT_TRUE(has("strip_off", 0x0000FF));
    b->SetChecked(true);
    EXPECT_TRUE(has("strip_on", 0xFF0000));
    b->SetChecked(false);
    b->SetEnabled(false);
    EXPECT_TRUE(has("strip_disabled", 0x00FF00));
    // The transparent colour leaves the face showing where the strip is white.
    EXPECT_EQ(Find(Shot("strip_transparent"), 0xFFFFFF, TRect(14, 14, 71, 39)), TRect());

    auto two = Strip({0x0000FF, 0x00FF00});
    b->SetGlyph(two.get());
    b->SetNumGlyph(2);
    EXPECT_TRUE(has("two_disabled", 0x00FF00));
    b->SetEnabled(true);
    b->SetChecked(true);
    EXPECT_TRUE(has("two_on", 0x0000FF));
}

TEST_F(BtnTest, BevelVisibility) {
    auto* flat = Button(10, 10);
    flat->SetFlat(true);
    auto* none = Button(100, 10);
    none->SetBeveled(false);
    auto* transparent = Button(10, 60);
    transparent->SetTransparent(true);
    form->Show();
    // A point on the outer ring, left edge, and one inside the face.
    auto ring = [](TControl* c) { return TPoint(c->Left(), c->Top() + 16); };
    const int32_t ringColor = ColorToRGB(ColorStep(0xD2D2D2, clBtnHighlight, 4, 1));
    auto pic = Shot("bevel");
    EXPECT_EQ(pic.At(ring(flat).X, ring(flat).Y), Olive);
    EXPECT_EQ(pic.At(ring(none).X, ring(none).Y), Olive);
    EXPECT_EQ(pic.At(ring(transparent).X, ring(transparent).Y), ringColor);
    EXPECT_EQ(pic.At(transparent->Left() + 30, transparent->Top() + 16), Olive);  // no face fill, no gradient

    flat->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(flat->MouseInControl());
    pic = Shot("bevel_hover");
    EXPECT_EQ(pic.At(ring(flat).X, ring(flat).Y), ringColor);
    flat->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Shot("bevel_left").At(ring(flat).X, ring(flat).Y), Olive);
    flat->SetEnabled(false);
    flat->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(flat->MouseInControl());
    none->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(Shot("bevel_none").At(ring(none).X, ring(none).Y), Olive);
}

TEST_F(BtnTest, CheckedWithBevelOptionStaysSunkenAndShifted) {
    auto* b = Button();
    b->GradBtnFace()->SetVisible(false);
    b->SetText3D(false);
    b->SetTextOn(u"X");
    auto glyph = Strip({0x0000FF});
    b->SetGlyph(glyph.get());
    form->Show();
    auto up = Shot("sunken_up");
    const TRect g1 = Find(up, 0x0000FF, TRect(10, 10, 75, 43));
    EXPECT_EQ(up.At(10 + 10, 10), ColorToRGB(ColorStep(0xD2D2D2, clBtnHighlight, 4, 1)));
    b->SetChecked(true);
    auto down = Shot("sunken_down");
    const TRect g2 = Find(down, 0x0000FF, TRect(10, 10, 75, 43));
    EXPECT_EQ(g2.Left, g1.Left + 1);
    EXPECT_EQ(g2.Top, g1.Top + 1);
    EXPECT_EQ(down.At(10 + 10, 10), ColorToRGB(ColorStep(clBtnShadow, 0x000000, 4, 1)));
}

TEST_F(BtnTest, DrawsAtOnceAndDisabledTakesNoClick) {
    auto* b = Button();
    b->GradBtnFace()->SetVisible(false);
    b->SetColorOn(0x0000FF);
    form->Show();
    Shot("first");  // the first paint pass
    EXPECT_EQ(Now(10 + 8, 10 + 6), ColorToRGB(clBtnFace));
    b->SetChecked(true);
    EXPECT_EQ(Now(10 + 8, 10 + 6), 0x0000FF);  // before any paint pass

    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetChecked(false);
    ui::test::Click(b, 20, 15);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    ui::test::Click(b, 20, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Checked());
}

}  // namespace
