// The vertical slider: defaults, layout from the measured fonts, the mouse over the trench, the
// knob's place and colour, and the value box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "controls/instrument/MvVSlide.h"
#include "controls/instrument/tests/AnalogTestSupport.h"
#include "controls/instrument/tests/InstrumentTestSupport.h"
#include "platform/rtl/Math.h"
#include "platform/ui/tests/DrawnTestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

using analog_test::LoadOn;
using instrument_test::Find;

class SliderTest : public ui_test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(0, 0, 320, 320);
    }
    // A slider with named fonts, loaded as a form loads it.
    template <class Props>
    TMvVSlider* Slider(Props props, int left = 10) {
        return LoadOn<TMvVSlider>(form, left, 10, [&](TMvVSlider* s) {
            s->Font()->SetName(u"Arial");
            s->Font()->SetSize(9);
            s->FontValue()->SetName(u"Arial");
            s->ScaleSettings()->Font()->SetName(u"Arial");
            props(s);
        });
    }
    TMvVSlider* Slider() {
        return Slider([](TMvVSlider*) {});
    }
    // The text size in a font, as a canvas measures it.
    static TSize Measure(TFont* font, const String& text) {
        TBitmap b(1, 1);
        b.Canvas()->SetFont(font);
        return b.Canvas()->TextExtent(text);
    }
    static int32_t Px(TMvVSlider* s, int x, int y) { return ColorToRGB(s->BackingImage()->Canvas()->Pixels(x, y)); }
    // The knob's centre in client coordinates.
    static TPoint Knob(TMvVSlider* s) { return TPoint(s->rMove.Left + s->pCenter.X, s->rMove.Top + s->pCenter.Y); }
    void Paint() { drawn_test::Snapshot(form, "slider"); }
};

TEST_F(SliderTest, Defaults) {
    auto* s = LoadOn<TMvVSlider>(form);
    EXPECT_EQ(s->Width(), 105);
    EXPECT_EQ(s->Height(), 289);
    using O = TMvVSlider;
    EXPECT_EQ(s->Options(), (TVSliderOptions{O::opBevelOuter, O::opUnit, O::opValue, O::opName1, O::opName2, O::opScaleText}));
    EXPECT_EQ(s->ButtonSize(), 30);
    EXPECT_EQ(s->ColorTrench(), 0x008000);
    EXPECT_EQ(s->Value(), 10);
    EXPECT_EQ(s->Digit(), 100);
    EXPECT_TRUE(s->EnableMouseJump());
    EXPECT_EQ(s->FontValue()->Name(), String(u"System"));
    EXPECT_EQ(s->FontValue()->Size(), 10);
    EXPECT_EQ(s->FontValue()->Color(), 0x00FF00);
    EXPECT_EQ(s->BevelOuter()->Spacing(), 5);
    EXPECT_EQ(s->BevelOuter()->BevelLine(), blOuter);
    EXPECT_EQ(s->BevelOuter()->TotalWidth, 8);
    EXPECT_EQ(s->BevelValue()->Style(), bsLowered);
    EXPECT_EQ(s->BevelValue()->Color(), 0x000000);
    EXPECT_EQ(s->BevelValue()->TotalWidth, 2);
    EXPECT_FALSE(s->ScaleSettings()->DrawLine());
    EXPECT_EQ(s->ScaleSettings()->SubSteps(), 5);
    EXPECT_EQ(s->ScaleSettings()->Font()->Size(), 8);
    EXPECT_TRUE(s->Init);
    EXPECT_EQ(s->UpdateCount(), 0);
    form->Show();
    Paint();
    EXPECT_EQ(s->BtnHeight, 12);
    EXPECT_EQ(s->BtnWidth, 30);
    s->SetButtonSize(10);
    EXPECT_EQ(s->ButtonSize(), 18);
    s->SetButtonSize(200);
    EXPECT_EQ(s->ButtonSize(), 105);
}

TEST_F(SliderTest, LayoutFollowsTheFonts) {
    for (bool value : {true, false}) {
        SCOPED_TRACE(value);
        auto* s = Slider([&](TMvVSlider* s) {
            if (!value) s->SetOptions(s->Options() - TVSliderOptions{TMvVSlider::opValue});
        }, value ? 10 : 150);
        form->Show();
        Paint();
        TScaleSettings& scale = *s->ScaleSettings();
        TRect R(8, 8, 97, 281);  // inside the outer bevel: 5 + 2 + 1
        if (value) {
            const TSize v = Measure(s->FontValue(), u"##0.0"), u = Measure(s->FontValue(), u"%");
            const int h = 2 * 2 + v.cy, m = v.cy / 3;
            const int left = 8 + (89 - v.cx - u.cx - m) / 2 - m;
            EXPECT_EQ(s->sValue, v);
            EXPECT_EQ(s->rValue, TRect(left + 2 + m, 10, left + v.cx + 4 + 2 * m - 2 - m, 8 + h - 2));
            R.Top += h + 5;
        } else {
            EXPECT_EQ(s->rValue, TRect());
        }
        R.Bottom -= 2 * Measure(s->Font(), u"X").cy + 5;
        // The vertical scale's measures.
        TFont sf;
        sf.Assign(scale.Font());
        const TSize label = Measure(&sf, u"100");
        const int th = Measure(&sf, u"100;80;60;40;20;0;").cy;
        const int sl1 = static_cast<int>(Round(th / 1.4));
        const int tw = label.cx + sl1 + th / 3;
        EXPECT_EQ(scale.TotalWidth, tw);
        EXPECT_EQ(scale.PenW1, 2);
        const int p = std::max(th / 3, 6);
        R.Top += p;
        R.Bottom -= p;
        const int moveLeft = R.Left + R.Width() / 2 - 15;
        EXPECT_EQ(s->rMove, TRect(moveLeft, R.Top - 6, moveLeft + 31, R.Bottom + 6));
        const int trench = R.Left + (R.Width() - 2 * tw - 4) / 2 + tw;
        EXPECT_EQ(s->rSlide, TRect(trench + 1, R.Top + 1, trench + 4, R.Bottom - 1));
        EXPECT_EQ(s->rScale, TRect(trench + 9, R.Top + 1, R.Right, R.Bottom - 1));
        // The trench, and the scales' top ticks on either side of it (left: ending at trench - 5).
        EXPECT_EQ(Px(s, trench + 2, R.Top + 20), 0x008000);
        EXPECT_EQ(Px(s, trench, R.Top + 20), ColorToRGB(clBtnShadow));
        auto inkAt = [&](int x, int y) { return Px(s, x, y) == 0 || Px(s, x, y + 1) == 0 || Px(s, x, y - 1) == 0; };
        EXPECT_TRUE(inkAt(trench - 5 - 2, R.Top + 1));
        EXPECT_FALSE(inkAt(trench - 5 + 2, R.Top + 1));
        EXPECT_TRUE(inkAt(trench + 9 + 2, R.Top + 1));
        s->Free();
    }
}

TEST_F(SliderTest, MouseOverTheTrench) {
    auto* s = Slider();
    form->Show();
    Paint();
    const TRect t = s->rSlide;
    const int x = s->rMove.Left + 15, span = t.Height();
    const struct {
        int y;
        int32_t digit;
    } rows[] = {{t.Top, 1000}, {t.Bottom, 0}, {(t.Top + t.Bottom) / 2, static_cast<int32_t>(Round(1000.0 / span * (t.Bottom - (t.Top + t.Bottom) / 2)))},
                {t.Bottom - 1, static_cast<int32_t>(Round(1000.0 / span))}};
    for (const auto& r : rows) {
        ui::test::MouseDown(s, x, r.y);
        ui::test::MouseUp(s, x, r.y);
        EXPECT_EQ(s->Digit(), r.digit) << "press at " << r.y;
        // The knob's centre follows the digit.
        EXPECT_EQ(Knob(s).Y, static_cast<int>(Round(t.Bottom - static_cast<double>(span) / 1000 * r.digit))) << r.y;
    }
    // A drag beyond the ends holds the ends.
    ui::test::MouseDown(s, x, (t.Top + t.Bottom) / 2);
    ui::test::MouseMove(s, x, t.Top - 50, MK_LBUTTON);
    EXPECT_EQ(s->Digit(), 1000);
    ui::test::MouseMove(s, x, t.Bottom + 50, MK_LBUTTON);
    EXPECT_EQ(s->Digit(), 0);
    ui::test::MouseUp(s, x, t.Bottom + 50);

    // Without the jump only the knob can be grabbed; with it the knob jumps to the press.
    s->SetValue(50);
    EXPECT_EQ(Knob(s).Y, static_cast<int>(Round(t.Bottom - span / 2.0)));
    s->SetEnableMouseJump(false);
    s->UpdateDisplay();
    ui::test::MouseDown(s, x, t.Top + 5);
    ui::test::MouseUp(s, x, t.Top + 5);
    EXPECT_EQ(s->Digit(), 500);
    ui::test::MouseDown(s, x, Knob(s).Y + 2);  // on the knob, then dragged
    ui::test::MouseMove(s, x, t.Top + 5, MK_LBUTTON);
    ui::test::MouseUp(s, x, t.Top + 5);
    EXPECT_EQ(s->Digit(), static_cast<int32_t>(Round(1000.0 / span * (span - 5))));
    s->SetEnableMouseJump(true);
    s->UpdateDisplay();
    ui::test::MouseDown(s, x, t.Bottom - 10);
    ui::test::MouseUp(s, x, t.Bottom - 10);
    EXPECT_EQ(s->Digit(), static_cast<int32_t>(Round(1000.0 / span * 10)));
}

TEST_F(SliderTest, TooSmallShowsOnlyBackgroundAndBevel) {
    auto* s = Slider();
    s->SetBounds(10, 10, 105, 60);
    form->Show();
    Paint();
    EXPECT_TRUE(s->isToSmall);
    EXPECT_EQ(Px(s, 11, 30), ColorToRGB(clBtnFace));
    const auto before = drawn_test::Snapshot(form, "small_before");
    // No trench, no scale, no knob.
    EXPECT_EQ(Find(before, 0x008000, s->BoundsRect()), TRect());
    EXPECT_EQ(Find(before, ColorToRGB(clBtnHighlight), TRect(10 + 20, 10 + 40, 10 + 85, 10 + 50)), TRect());
    s->SetValue(70);
    EXPECT_EQ(s->Digit(), 700);
    const auto after = drawn_test::Snapshot(form, "small_after");
    EXPECT_EQ(before.Pixels, after.Pixels);
    ui::test::MouseDown(s, 52, 30);
    EXPECT_EQ(s->Digit(), 700);
}

TEST_F(SliderTest, EmptyDigitSpanKeepsTheKnobAtTheBottom) {
    auto* s = Slider([](TMvVSlider* s) { s->SignalSettings()->SetDigitalTo(0); });
    form->Show();
    Paint();
    EXPECT_EQ(Knob(s).Y, s->rSlide.Bottom);
    const float before = s->Value();
    ui::test::MouseDown(s, s->rMove.Left + 15, s->rSlide.Top);
    ui::test::MouseUp(s, s->rMove.Left + 15, s->rSlide.Top);
    EXPECT_EQ(s->Value(), before);
}

TEST_F(SliderTest, ValueBoxShowsTheValueAtRunTimeAndTheWidestTextAtDesignTime) {
    // The workbench's threshold slider.
    auto* s = Slider([](TMvVSlider* s) {
        s->SignalSettings()->SetValueFrom(-140);
        s->SignalSettings()->SetValueTo(-10);
        s->SignalSettings()->SetValueFormat(u"###0");
        s->SetOptions({TMvVSlider::opValue, TMvVSlider::opName1, TMvVSlider::opScaleText});
    });
    form->Show();
    Paint();
    s->SetValue(-100);
    EXPECT_EQ(s->ValueStr, String(u"-100"));
    // What the box should hold: the text right-aligned at its top, in the value font.
    auto expect = [&](const String& text) {
        TBitmap want(s->rValue.Width(), s->rValue.Height());
        want.Canvas()->Brush()->SetColor(clBlack);
        want.Canvas()->FillRect(TRect(0, 0, want.Width(), want.Height()));
        want.Canvas()->SetFont(s->FontValue());
        want.Canvas()->Brush()->SetStyle(bsClear);
        TextOutAligned(want.Canvas(), want.Width(), 0, 2, text);
        int ink = 0;
        for (int y = 0; y < want.Height(); ++y)
            for (int x = 0; x < want.Width(); ++x) {
                const int32_t w = ColorToRGB(want.Canvas()->Pixels(x, y));
                EXPECT_EQ(Px(s, s->rValue.Left + x, s->rValue.Top + y), w) << x << "," << y;
                ink += w != 0;
            }
        EXPECT_GT(ink, 10);
    };
    expect(u"-100");
    s->SetDesigning(true);
    s->UpdateDisplay();
    expect(u"###0");
}

TEST_F(SliderTest, KnobColourFollowsFocusAndEnabled) {
    auto* s = Slider();
    auto* other = Add<drawn_test::Focusable>(200, 10);
    form->Show();
    other->SetFocus();
    Paint();
    auto knob = [&] { return Px(s, Knob(s).X, Knob(s).Y); };
    EXPECT_EQ(knob(), 0x008000);
    s->SetFocus();
    EXPECT_EQ(knob(), 0x00FF00);
    s->SetColorFocus(0xFF0000);
    Paint();
    EXPECT_EQ(knob(), 0xFF0000);
    other->SetFocus();
    EXPECT_EQ(knob(), 0x008000);
    s->SetEnabled(false);
    EXPECT_EQ(knob(), ColorToRGB(clBtnShadow));
}

TEST_F(SliderTest, RenderLook) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    auto* a = LoadOn<TMvVSlider>(form, 10, 10);
    a->SetValue(35);
    LoadOn<TMvVSlider>(form, 125, 10, [](TMvVSlider* s) {
        s->SignalSettings()->SetValueFrom(-140);
        s->SignalSettings()->SetValueTo(-10);
        s->SignalSettings()->SetValueFormat(u"###0");
        s->SignalSettings()->SetValueUnit(u"dBm");
        s->SetOptions({TMvVSlider::opValue, TMvVSlider::opName1, TMvVSlider::opScaleText});
        s->SetValue(-100);
    });
    auto* c = LoadOn<TMvVSlider>(form, 240, 10, [](TMvVSlider* s) {
        s->SetBounds(s->Left(), s->Top(), 70, 289);
        s->SignalSettings()->SetValueFrom(1);
        s->SignalSettings()->SetValueTo(1000);
        s->ScaleSettings()->LogScale = true;
        s->SetOptions(s->Options() - TVSliderOptions{TMvVSlider::opScaleText});
    });
    c->SetEnabled(false);
    form->Show();
    a->SetFocus();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_sliders.png").string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
}

}  // namespace
