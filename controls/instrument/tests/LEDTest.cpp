// The lamp with a caption: defaults, lamp size and placement, caption layout and blinking.
#include <gtest/gtest.h>

#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/MvLED.h"
#include "platform/ui/tests/DrawnTestSupport.h"
#include "controls/instrument/tests/InstrumentTestSupport.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

constexpr int32_t Olive = 0x00C0C0;

using instrument_test::Find;

class LedTest : public ui::test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    void SetUp() override {
        ui::test::FormTest::SetUp();
        form->SetColor(Olive);
    }
    void TearDown() override {
        ui::test::FormTest::TearDown();
        StopFlashTimer();
    }
    TMvLED* Led(int left = 10, int top = 10) {
        auto* l = Add<TMvLED>(left, top);
        l->Font()->SetName("Arial");
        l->Font()->SetSize(9);
        l->Font()->SetColor(clBlack);
        return l;
    }
    ui::test::Picture Shot(const char* name) { return drawn_test::Snapshot(form, name); }
    int32_t Now(int x, int y) { return ColorToRGB(form->BackingImage()->Canvas()->Pixels(x, y)); }
    // The caption's ink inside the control.
    TRect Ink(TMvLED* l, const char* name) { return Find(Shot(name), 0x000000, l->BoundsRect()); }
};

TEST_F(LedTest, Defaults) {
    auto* l = Add<TMvLED>();
    EXPECT_EQ(l->Width(), 73);
    EXPECT_EQ(l->Height(), 33);
    EXPECT_EQ(l->LED_Position(), lpLeft);
    EXPECT_EQ(l->Spacing(), 5);
    EXPECT_EQ(l->Mode(), mIndicator);
    EXPECT_EQ(l->LED()->Shape(), sRound);
    l->SetName(u"LedLink");
    EXPECT_EQ(l->Caption(), String(u"LedLink"));
    l->SetCaption(u"Link");
    l->SetName(u"LedOther");
    EXPECT_EQ(l->Caption(), String(u"Link"));
    l->LED()->SetWidth(3);
    l->LED()->SetWidth(81);
    EXPECT_EQ(l->LED()->Width(), 13);
}

TEST_F(LedTest, LampSizeAndPlacement) {
    struct Row {
        TLEDPos pos;
        TLEDShape shape;
        TRect lamp;
    };
    // Control 73 x 33: H2 = 16, W2 = 36; lamp 10 x 16 (round: 16 x 16).
    const Row rows[] = {
        {lpLeft, sRound, TRect(0, 8, 16, 24)},       {lpLeft, sRectangle, TRect(0, 8, 10, 24)},
        {lpRight, sRectangle, TRect(63, 8, 73, 24)}, {lpTop, sRectangle, TRect(31, 0, 41, 16)},
        {lpBottom, sRectangle, TRect(31, 17, 41, 33)},
    };
    form->Show();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.pos << "/" << row.shape);
        auto* l = Led();
        l->LED()->SetWidth(10);
        l->LED()->SetHeight(16);
        l->LED()->SetShape(row.shape);
        l->SetLED_Position(row.pos);
        l->SetCaption(u"Ab");
        const TRect ink = Ink(l, "placement");
        EXPECT_EQ(l->LED()->Rect, row.lamp);
        const TRect lamp(10 + row.lamp.Left, 10 + row.lamp.Top, 10 + row.lamp.Right, 10 + row.lamp.Bottom);
        ASSERT_NE(ink, TRect());
        switch (row.pos) {
            case lpLeft: EXPECT_GE(ink.Left, lamp.Right + 5); break;
            case lpRight: EXPECT_LE(ink.Right, lamp.Left - 5 + 1); break;
            case lpTop: EXPECT_GE(ink.Top, lamp.Bottom + 5); break;
            case lpBottom: EXPECT_LE(ink.Bottom, lamp.Top - 5 + 1); break;
        }
        l->Free();
    }
}

TEST_F(LedTest, TwoLinesAreCentredOnTheMiddle) {
    auto* l = Led();
    l->SetBounds(10, 10, 100, 60);
    l->SetCaption(u"two|lines");
    form->Show();
    const TRect ink = Ink(l, "two_lines");
    ASSERT_NE(ink, TRect());
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 10 + 30, 4);
    EXPECT_GT(ink.Height(), 16);
}

TEST_F(LedTest, EmptyCaptionDrawsOnlyTheLamp) {
    auto* l = Led();
    l->SetCaption(u"");
    form->Show();
    auto pic = Shot("empty");
    const TRect lamp(10 + l->LED()->Rect.Left, 10 + l->LED()->Rect.Top, 10 + l->LED()->Rect.Right,
                     10 + l->LED()->Rect.Bottom);
    for (int y = 10; y < 43; ++y)
        for (int x = 10; x < 83; ++x)
            if (!lamp.Contains({x, y})) {
                ASSERT_EQ(pic.At(x, y), Olive) << x << "," << y;
            }
    EXPECT_EQ(pic.At(lamp.Left + 6, lamp.Top + 9), ColorToRGB(clBtnFace));  // off
}

TEST_F(LedTest, StatusChangesDrawTheLampAtOnce) {
    form->Show();
    Shot("before");
    auto* l = Led();
    l->SetCaption(u"Rx");
    // Before its first paint the lamp has no place: a status change draws nothing.
    l->SetChecked(true);
    EXPECT_EQ(Now(10 + 6, 10 + 16), Olive);
    Shot("painted");
    EXPECT_EQ(Now(10 + 6, 10 + 16), 0x00FF00);
    l->SetChecked(false);
    EXPECT_EQ(Now(10 + 6, 10 + 16), ColorToRGB(clBtnFace));  // before any paint pass
    l->LED()->SetColorOff(0x0000FF);                          // repaints at the next pass
    Shot("recoloured");
    EXPECT_EQ(Now(10 + 6, 10 + 16), 0x0000FF);
}

TEST_F(LedTest, CheckedFlashingLedBlinksItsLampOnly) {
    auto* l = Led();
    l->SetCaption(u"Blink");
    l->SetFlashing(true);
    form->Show();
    const TRect ink = Ink(l, "blink");
    ASSERT_NE(ink, TRect());
    EXPECT_TRUE(FlashClients.empty());  // unchecked: not registered, nothing blinks
    FlashCounter = 0;
    l->SetChecked(true);
    ASSERT_NE(FlashTimer, nullptr);
    FlashTimer->SetEnabled(false);
    auto lamp = [&] { return Now(10 + 6, 10 + 16); };
    auto caption = [&] {
        std::vector<int32_t> px;
        for (int x = ink.Left; x < ink.Right; ++x) px.push_back(Now(x, (ink.Top + ink.Bottom) / 2));
        return px;
    };
    const auto text = caption();
    std::vector<std::pair<uint32_t, int32_t>> changes;
    int32_t last = lamp();
    for (int i = 0; i < 128; ++i) {
        FlashTimer->FlashTick(FlashTimer);
        if (lamp() != last) {
            last = lamp();
            changes.push_back({FlashCounter, last});
        }
        ASSERT_EQ(caption(), text);
    }
    const int32_t on = 0x00FF00, off = ColorToRGB(clBtnFace);
    // Lit since Checked; the flash phase then turns it off at 64, on at 96 (1 Hz: every 32 ticks).
    const std::vector<std::pair<uint32_t, int32_t>> want = {{64, off}, {96, on}, {128, off}};
    EXPECT_EQ(changes, want);
    l->SetChecked(false);
    EXPECT_TRUE(FlashClients.empty());
    EXPECT_EQ(lamp(), off);
}

}  // namespace
