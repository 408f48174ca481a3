// The auto-repeat arrows and the spin button: repeat timing on the flash timer, layout, keys,
// focus, and the built-in arrow pictures.
#include "controls/instrument/_GClassSpin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/tests/InstrumentTestSupport.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

using instrument_test::IsFlashClient;

class SpinTest : public ui_test::FormTest {
protected:
    TMvSpinButton* spin = nullptr;
    std::vector<TObject*> ups, downs;
    void SetUp() override {
        FormTest::SetUp();
        spin = Add<TMvSpinButton>(10, 10);
        spin->OnUpClick = [this](TObject* s) { ups.push_back(s); };
        spin->OnDownClick = [this](TObject* s) { downs.push_back(s); };
        form->Show();
        ui::test::Pump();
    }
    void TearDown() override {
        StopFlashTimer();
        FormTest::TearDown();
    }
};

// Holds the up arrow on the manual clock for holdMs, the flash timer ticking every 16 ms, and
// gives the times after the press at which the arrow clicked (the release included).
class RepeatTest : public SpinTest {
protected:
    std::vector<uint64_t> HoldUp(rtl::ManualClock& clock, uint64_t holdMs) {
        std::vector<uint64_t> at;
        const uint64_t t0 = GetTickCount64();
        spin->OnUpClick = [&](TObject*) { at.push_back(GetTickCount64() - t0); };
        ui::test::MouseDown(spin->FUpButton, 5, 5);
        EXPECT_TRUE(IsFlashClient(spin->FUpButton));
        if (FlashTimer) FlashTimer->SetEnabled(false);  // only the ticks below
        for (uint64_t t = 16; t < holdMs; t += 16) {
            clock.Advance(16);
            FlashTimer->FlashTick(FlashTimer);
        }
        clock.Advance(holdMs - GetTickCount64() + t0);
        ui::test::MouseUp(spin->FUpButton, 5, 5);
        EXPECT_FALSE(IsFlashClient(spin->FUpButton));
        return at;
    }
};

TEST(TimerSpeedBtn, IntervalFromFiftyOnStartDelayAsGiven) {
    TMvTimerSpeedBtn b(nullptr);
    EXPECT_EQ(b.Interval(), 100);
    EXPECT_EQ(b.StartDelay(), 500u);
    EXPECT_TRUE(b.TimerEnabled());
    b.SetInterval(49);
    EXPECT_EQ(b.Interval(), 100);
    b.SetInterval(50);
    EXPECT_EQ(b.Interval(), 50);
    for (uint32_t d : {0u, 7u, 4000000000u}) {
        b.SetStartDelay(d);
        EXPECT_EQ(b.StartDelay(), d);
    }
}

TEST_F(RepeatTest, HoldingRepeatsFromTheStartDelayOnTheTimersGridThenTheReleaseClicks) {
    rtl::ScopedManualClock clock{100000};
    EXPECT_FALSE(IsFlashClient(spin->FUpButton));
    // Due at 500, 600, ... and delivered at the first 16 ms tick at or after each.
    EXPECT_EQ(HoldUp(*clock, 1000), (std::vector<uint64_t>{512, 608, 704, 800, 912, 1000}));
    StopFlashTimer();
}

TEST_F(RepeatTest, APressJustBeforeTheTickCountWrapsStillWaitsItsStartDelay) {
    rtl::ScopedManualClock clock{(uint64_t(1) << 32) - 100};
    // Ticks every 50 ms, so the first ones come before the 32-bit count wraps.
    spin->SetInterval(50);
    EXPECT_EQ(HoldUp(*clock, 750), (std::vector<uint64_t>{512, 560, 608, 656, 704, 750}));
    StopFlashTimer();
}

TEST_F(RepeatTest, WithoutTheTimerAPressGivesOnlyTheReleaseClick) {
    rtl::ScopedManualClock clock{100000};
    spin->FUpButton->SetTimerEnabled(false);
    ui::test::MouseDown(spin->FUpButton, 5, 5);
    EXPECT_FALSE(IsFlashClient(spin->FUpButton));
    clock->Advance(2000);
    if (FlashTimer) FlashTimer->FlashTick(FlashTimer);
    ui::test::MouseUp(spin->FUpButton, 5, 5);
    EXPECT_EQ(ups.size(), 1u);
    StopFlashTimer();
}

TEST_F(SpinTest, LayoutWidensToFifteenAndSplitsTheHeight) {
    EXPECT_EQ(spin->Width(), 15);
    EXPECT_EQ(spin->Height(), 24);
    spin->SetBounds(10, 10, 10, 30);
    EXPECT_EQ(spin->BoundsRect(), Bounds(10, 10, 15, 30));
    EXPECT_EQ(spin->FUpButton->BoundsRect(), Bounds(0, 0, 15, 15));
    EXPECT_EQ(spin->FDownButton->BoundsRect(), Bounds(0, 15, 15, 15));
    spin->SetHeight(25);  // the odd pixel goes to the down arrow
    EXPECT_EQ(spin->FUpButton->BoundsRect(), Bounds(0, 0, 15, 12));
    EXPECT_EQ(spin->FDownButton->BoundsRect(), Bounds(0, 12, 15, 13));

    // A resize that passes the override still lays out, through WM_SIZE.
    spin->TWinControl::SetBounds(10, 10, 8, 40);
    EXPECT_EQ(spin->BoundsRect(), Bounds(10, 10, 15, 40));
    EXPECT_EQ(spin->FDownButton->BoundsRect(), Bounds(0, 20, 15, 20));
    EXPECT_EQ(spin->Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(15, 40)), 0);

    // While loading nothing is laid out; Loaded does it.
    spin->BeginLoading();
    spin->SetBounds(10, 10, 9, 20);
    EXPECT_EQ(spin->Width(), 9);
    EXPECT_EQ(spin->FUpButton->Height(), 20);
    spin->Loaded();
    EXPECT_EQ(spin->BoundsRect(), Bounds(10, 10, 15, 20));
    EXPECT_EQ(spin->FUpButton->BoundsRect(), Bounds(0, 0, 15, 10));
    EXPECT_EQ(spin->FDownButton->BoundsRect(), Bounds(0, 10, 15, 10));
}

TEST_F(SpinTest, ClicksAndArrowKeysReportTheSpinButtonAsSender) {
    ui::test::Click(spin->FUpButton, 5, 5);
    ui::test::Click(spin->FDownButton, 5, 5);
    EXPECT_EQ(ups, std::vector<TObject*>{spin});
    EXPECT_EQ(downs, std::vector<TObject*>{spin});
    StopFlashTimer();

    EXPECT_EQ(spin->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    spin->SetTabStop(true);
    spin->SetFocus();
    int keyDowns = 0;
    spin->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keyDowns; };
    ui::test::Key(spin, VK_UP);
    ui::test::Key(spin, VK_UP);
    ui::test::Key(spin, VK_DOWN);
    ui::test::Key(spin, VK_LEFT);
    ui::test::Key(spin, 'A', String("a"));
    EXPECT_EQ(ups.size(), 3u);
    EXPECT_EQ(downs.size(), 2u);
    EXPECT_EQ(keyDowns, 0);  // the spin button's key handling replaces the platform's
}

TEST_F(SpinTest, APressGivesTheFocusToTheFocusControlOrTheSpinButton) {
    auto* edit = Add<TEdit>(100, 10);
    auto* other = Add<TEdit>(100, 50);
    other->SetFocus();
    spin->SetFocusControl(edit);
    ui::test::MouseDown(spin->FUpButton, 5, 5, mbRight);
    ui::test::MouseUp(spin->FUpButton, 5, 5, mbRight);
    EXPECT_TRUE(other->Focused());
    ui::test::Click(spin->FUpButton, 5, 5);
    EXPECT_TRUE(edit->Focused());

    // A focus control without TabStop is passed over: the spin button takes it only with its own.
    other->SetFocus();
    edit->SetTabStop(false);
    ui::test::Click(spin->FDownButton, 5, 5);
    EXPECT_TRUE(other->Focused());
    spin->SetTabStop(true);
    ui::test::Click(spin->FDownButton, 5, 5);
    EXPECT_TRUE(spin->Focused());

    edit->Free();
    EXPECT_EQ(spin->FocusControl(), nullptr);
    ui::test::Click(spin->FUpButton, 5, 5);
    EXPECT_EQ(ups.size(), 2u);
}

TEST_F(SpinTest, EnabledIntervalAndStartDelayReachBothArrows) {
    spin->SetEnabled(false);
    EXPECT_FALSE(spin->FUpButton->Enabled());
    EXPECT_FALSE(spin->FDownButton->Enabled());
    spin->SetEnabled(true);
    EXPECT_TRUE(spin->FUpButton->Enabled());
    EXPECT_TRUE(spin->FDownButton->Enabled());

    spin->SetInterval(49);
    EXPECT_EQ(spin->Interval(), 100);
    spin->SetInterval(250);
    spin->SetStartDelay(900);
    for (TMvTimerSpeedBtn* b : {spin->FUpButton, spin->FDownButton}) {
        EXPECT_EQ(b->Interval(), 250);
        EXPECT_EQ(b->StartDelay(), 900u);
    }
    spin->FDownButton->SetInterval(60);
    EXPECT_EQ(spin->Interval(), 250);  // read from the up arrow
}

// The arrow pictures: the glyph strips themselves, and the arrows as drawn.
TEST_F(SpinTest, BuiltInArrowsAreABlackTriangleAndItsGreyOutlineOnTransparentOlive) {
    const TColor olive = 0x008080, grey = 0x808080;
    struct Strip {
        TBitmap* glyph;
        bool up;
    };
    for (Strip s : {Strip{spin->UpGlyph(), true}, Strip{spin->DownGlyph(), false}}) {
        SCOPED_TRACE(s.up ? "up" : "down");
        ASSERT_EQ(s.glyph->Width(), 18);
        ASSERT_EQ(s.glyph->Height(), 6);
        TCanvas* c = s.glyph->Canvas();
        EXPECT_EQ(c->Pixels(0, 5), olive);
        for (int image = 0; image < 2; ++image) {
            for (int y = 0; y < 6; ++y) {
                // Rows 1..4 hold the triangle; its row of width w is centred on x = 4.
                int row = s.up ? y - 1 : 4 - y;
                int half = row >= 0 && row < 4 ? row : -1;
                for (int x = 0; x < 9; ++x) {
                    bool inside = half >= 0 && std::abs(x - 4) <= half;
                    bool edge = inside && (std::abs(x - 4) == half || row == 3);
                    TColor want = !inside ? olive : image == 0 ? TColor(0) : edge ? grey : olive;
                    EXPECT_EQ(c->Pixels(image * 9 + x, y), want) << image << ": " << x << "," << y;
                }
            }
        }
    }
    EXPECT_EQ(spin->UpNumGlyphs(), 2);
    EXPECT_EQ(spin->DownNumGlyphs(), 2);

    // Drawn: the normal arrow is 7 x 4 black pixels and no olive shows anywhere.
    spin->SetBounds(10, 10, 15, 24);
    auto box = [&](TColor color) {
        spin->Update();
        TCanvas* img = spin->BackingImage()->Canvas();
        TRect r(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
        int n = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 15; ++x)
                if (img->Pixels(x, y) == color) {
                    ++n;
                    r = Rect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
                }
        return std::make_pair(n, n ? r : TRect());
    };
    auto [black, blackBox] = box(0);
    EXPECT_EQ(black, 16);
    EXPECT_EQ(blackBox.Width(), 7);
    EXPECT_EQ(blackBox.Height(), 4);
    EXPECT_EQ(box(olive).first, 0);
    spin->SetEnabled(false);
    EXPECT_EQ(box(0).first, 0);
    auto [outline, outlineBox] = box(grey);
    EXPECT_GE(outline, 12);  // the grey of the outline, beside the frame's own shadow
    EXPECT_EQ(box(olive).first, 0);

    // A picture of one's own replaces the arrow; none brings the built-in one back.
    TBitmap mine(16, 8);
    spin->SetEnabled(true);
    spin->SetUpGlyph(&mine);
    EXPECT_EQ(spin->UpGlyph()->Width(), 16);
    EXPECT_EQ(spin->UpNumGlyphs(), 2);
    spin->SetUpNumGlyphs(1);
    spin->SetUpGlyph(nullptr);
    EXPECT_EQ(spin->UpGlyph()->Width(), 18);
    EXPECT_EQ(spin->UpNumGlyphs(), 2);
}

}  // namespace
