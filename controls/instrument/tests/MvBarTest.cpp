// The bar graph: defaults and minimum size, what a value change repaints, hidden bars, sector
// colours and the zero of a bidirectional bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "controls/instrument/MvBar.h"
#include "controls/instrument/tests/AnalogTestSupport.h"
#include "platform/ui/tests/DrawnTestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

using analog_test::LoadOn;

constexpr int32_t Olive = 0x00C0C0;

class BarTest : public ui_test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    void SetUp() override {
        FormTest::SetUp();
        form->SetColor(Olive);
    }
    template <class Props>
    TMvBar* Bar(Props props) {
        return LoadOn<TMvBar>(form, 10, 10, [&](TMvBar* b) {
            b->BarSettings()->Font()->SetName(u"Arial");
            b->BarSettings()->Font()->SetSize(8);
            props(b);
        });
    }
    TMvBar* Bar() {
        return Bar([](TMvBar*) {});
    }
    // The form's image as it stands, in form coordinates, without a paint pass.
    int32_t Now(int x, int y) { return ColorToRGB(form->BackingImage()->Canvas()->Pixels(x, y)); }
    void Mark(int x, int y, TColor c) { form->BackingImage()->Canvas()->SetPixels(x, y, c); }
    ui::test::Picture Shot(const char* name) { return drawn_test::Snapshot(form, name); }
};

TEST_F(BarTest, DefaultsAndMinimumSize) {
    auto* b = Bar();
    EXPECT_EQ(b->Width(), 164);
    EXPECT_EQ(b->Height(), 28);
    EXPECT_EQ(b->BevelOuter()->Spacing(), 5);
    EXPECT_EQ(b->BevelOuter()->Width(), 2);
    EXPECT_EQ(b->BarSettings()->minWidth(), 25);
    EXPECT_EQ(b->BarSettings()->minHeight(), 12);
    EXPECT_EQ(b->BarSettings()->Options(), (TBarSettings::TBarOptions{TBarSettings::opValue, TBarSettings::opUnit}));
    EXPECT_EQ(b->BarSettings()->BkBrightness(), 40);
    EXPECT_FALSE(b->LogScale());
    EXPECT_EQ(b->Align(), alNone);
    EXPECT_EQ(b->UpdateCount(), 0);

    form->Show();
    Shot("first");
    EXPECT_EQ(b->BarSettings()->BarRect, TRect(8, 8, 156, 20));
    b->SetBounds(10, 10, 20, 10);
    Shot("small");
    EXPECT_EQ(b->Width(), 2 * 7 + 25);
    EXPECT_EQ(b->Height(), 2 * 1 + 2 * 7 + 12);
    EXPECT_EQ(b->BarSettings()->BarRect, TRect(8, 8, 31, 20));

    // Nothing paints while an update is open.
    b->SetBounds(10, 10, 164, 28);
    b->BeginUpdate();
    Shot("updating");
    EXPECT_EQ(Now(10 + 100, 10 + 14), Olive);
    b->EndUpdate();
    Shot("updated");
    EXPECT_EQ(Now(10 + 150, 10 + 14), 0x000000);  // the bar's background
}

TEST_F(BarTest, AValueChangeRepaintsOnlyTheBar) {
    auto* b = Bar([](TMvBar* b) {
        b->BarSettings()->SetOptions({});
        b->SetValue(10);
    });
    form->Show();
    Shot("painted");
    EXPECT_EQ(Now(10 + 8, 10 + 14), 0x00FF00);   // 0 .. 10 %: 15 pixels of 148
    EXPECT_EQ(Now(10 + 30, 10 + 14), 0x000000);
    EXPECT_EQ(b->BarSettings()->ppt0, 0);
    // Marks on the outer bevel, in its spacing and on the bar's bevel.
    const TPoint marks[] = {{10 + 0, 10 + 14}, {10 + 4, 10 + 14}, {10 + 7, 10 + 14}, {10 + 80, 10 + 7}};
    for (TPoint p : marks) Mark(p.X, p.Y, clFuchsia);
    int changes = 0;
    b->OnValueChange = [&](TObject*) { ++changes; };
    b->SetValue(60);
    EXPECT_EQ(changes, 2);  // a new maximum runs the value handling once more
    EXPECT_EQ(Now(10 + 80, 10 + 14), 0x00FF00);  // drawn at once
    ui::test::Pump();
    form->Update();
    for (TPoint p : marks) EXPECT_EQ(Now(p.X, p.Y), ColorToRGB(clFuchsia)) << p.X << "," << p.Y;
    // A bar setting repaints the bar only, too.
    b->BarSettings()->SetColor(0x0000FF);
    form->Update();
    EXPECT_EQ(Now(10 + 80, 10 + 14), 0x0000FF);
    for (TPoint p : marks) EXPECT_EQ(Now(p.X, p.Y), ColorToRGB(clFuchsia));
}

TEST_F(BarTest, HiddenBarRunsTheModelButDrawsNothing) {
    auto* b = Bar();
    b->SetVisible(false);
    form->Show();
    Shot("hidden");
    int changes = 0;
    std::vector<int32_t> overflow;
    b->OnValueChange = [&](TObject*) { ++changes; };
    b->OnOverflow = [&](TObject*, int32_t ppt) { overflow.push_back(ppt); };
    b->SetValue(20);
    b->SetValue(120);
    EXPECT_EQ(changes, 3);  // 20 is the first value, 120 a new maximum
    EXPECT_EQ(overflow, (std::vector<int32_t>{1200}));
    EXPECT_EQ(b->MinMax()->Max(), 120);
    for (int x = 10; x < 10 + 164; x += 7) ASSERT_EQ(Now(x, 10 + 14), Olive) << x;
}

TEST_F(BarTest, SectorColourAndBidirectionalZero) {
    auto* b = Bar([](TMvBar* b) {
        b->BarSettings()->SetOptions({TBarSettings::opUseSectorCol});
        b->SignalSettings()->SetValueFrom(-50);
        b->SignalSettings()->SetValueTo(50);
    });
    EXPECT_EQ(b->BarSettings()->ppt0, 500);
    form->Show();
    Shot("sectors");
    const struct {
        float value;
        int32_t color;
    } rows[] = {{-40, 0x00FFFF}, {0, 0x008000}, {40, 0x0000FF}};
    for (const auto& r : rows) {
        b->SetValue(r.value);
        EXPECT_EQ(Now(10 + 9, 10 + 14), r.color) << r.value;
    }
    // Outside every sector the bar keeps its own colour.
    b->SectorSettings()->SetSector3From(950);
    b->SetValue(44);
    EXPECT_EQ(Now(10 + 9, 10 + 14), 0x00FF00);
    b->BarSettings()->SetOptions({});
    b->SetValue(-40);
    EXPECT_EQ(Now(10 + 9, 10 + 14), 0x00FF00);

    // Bidirectional: from the value 0 to the value.
    b->BarSettings()->SetOptions({TBarSettings::opBidir});
    b->SetValue(-25);  // PPT 250: pixels 37 .. 73 of the bar
    EXPECT_EQ(Now(10 + 8 + 36, 10 + 14), 0x000000);
    EXPECT_EQ(Now(10 + 8 + 37, 10 + 14), 0x00FF00);
    EXPECT_EQ(Now(10 + 8 + 73, 10 + 14), 0x00FF00);
    EXPECT_EQ(Now(10 + 8 + 74, 10 + 14), 0x000000);
}

TEST_F(BarTest, RenderLook) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 420, 260);
    const TBarStyle styles[] = {bsBar, bsLED_Bar, bsPoint, bsMultiColor};
    for (int i = 0; i < 4; ++i) {
        auto* h = LoadOn<TMvBar>(form, 10, 10 + 36 * i, [&](TMvBar* b) {
            b->BarSettings()->SetStyle(styles[i]);
            b->BarSettings()->SetBkAuto(i == 0);
            b->SignalSettings()->SetValueFrom(-140);
            b->SignalSettings()->SetValueTo(-10);
            b->SignalSettings()->SetValueFormat(u"###0");
            b->SignalSettings()->SetValueUnit(u"dBm");
        });
        h->SetValue(-60);
        auto* v = LoadOn<TMvBar>(form, 200 + 50 * i, 10, [&](TMvBar* b) {
            b->SetBounds(b->Left(), b->Top(), 44, 200);
            b->BarSettings()->SetStyle(styles[i]);
            b->BarSettings()->SetBkAuto(i != 2);
            b->BarSettings()->SetOptions({TBarSettings::opValue, TBarSettings::opUnit, TBarSettings::opUseSectorCol});
        });
        v->SetValue(70);
    }
    form->Show();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_bars.png").string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
}

}  // namespace
