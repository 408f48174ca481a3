// The analog value model: signal settings, the display base (value, PPT, sectors, limits,
// overflow, min/max, hint) and the input base (keys, wheel, mouse, end of interaction).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/instrument/_GClass.h"
#include "controls/instrument/tests/AnalogTestSupport.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

using analog_test::LoadOn;

// The smallest display: it paints nothing and counts what the model tells it.
class Display : public TMvAnalogGControl {
public:
    using TMvAnalogGControl::TMvAnalogGControl;
    int overflowCalls = 0, limitCalls = 0;
    void OverflowChanged(int32_t) override { ++overflowCalls; }
    void LimitChanged() override { ++limitCalls; }
};

// The smallest input: the whole control is its slide area and Y sets the digit (10 per pixel).
class Input : public TMvAnalogCControl {
public:
    explicit Input(TComponent* owner) : TMvAnalogCControl(owner) { SetBounds(0, 0, 40, 101); }
    int updates = 0;
    void MouseSlide(TShiftState Shift, int X, int Y, TPoint Previous) override {
        TMvAnalogCControl::MouseSlide(Shift, X, Y, Previous);
        SetDigit(Y * 10);
    }
    void UpdateDisplay() override {
        ++updates;
        TMvAnalogCControl::UpdateDisplay();
    }
    bool ValueChangePending() const { return VChange; }
};

class AnalogModel : public ui_test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    Display* Show() { return LoadOn<Display>(form); }
};

// --- TSignalSettings -------------------------------------------------------------------------

TEST(SignalSettings, ValueRangeRules) {
    TSignalSettings s;
    EXPECT_FLOAT_EQ(s.DigitPerValue, 10);
    EXPECT_FLOAT_EQ(s.PPTPerValue, 10);
    EXPECT_FLOAT_EQ(s.ValuePerDigit, 0.1f);
    s.SetValueFrom(5);
    s.SetValueFrom(0);
    EXPECT_EQ(s.ValueFrom(), 0.000001f);
    int changes = 0;
    s.OnChange = [&](TObject*) { ++changes; };
    s.SetValueFrom(100);  // the other bound: ignored
    EXPECT_EQ(s.ValueFrom(), 0.000001f);
    EXPECT_EQ(changes, 0);

    s.SetValueTo(10);
    s.SetValueFrom(20);
    EXPECT_FLOAT_EQ(s.TotalValue, -10);
    EXPECT_FLOAT_EQ(s.DigitPerValue, 1000 / 10.0f);  // kept from 0..10
    EXPECT_FLOAT_EQ(s.PPTPerValue, 100);
    s.SetValueFrom(10);
    s.SetValueTo(-5);
    EXPECT_FLOAT_EQ(s.TotalValue, 0);

    // The workbench's range, written in either order.
    TSignalSettings w;
    w.SetValueTo(-10);
    w.SetValueFrom(-140);
    EXPECT_FLOAT_EQ(w.TotalValue, 130);
    EXPECT_EQ(w.GetPPT(-75), 500);
    EXPECT_FLOAT_EQ(w.GetValue(500), -75);
}

TEST(SignalSettings, ValueFormatAndSizeText) {
    const struct {
        const char* format;
        const char* size;
    } rows[] = {{"##0.0", "##0.0"}, {"0.0;-0.00", "-0.00"}, {"0.00;-0", "0.00"}, {"0.0;-0.0", "-0.0"}, {"0;", "0"}};
    for (const auto& r : rows) {
        EXPECT_EQ(TSignalSettings::MvGetValueFormat(r.format), String(r.size)) << r.format;
        TSignalSettings s;
        s.SetValueFormat(r.format);
        EXPECT_EQ(s.ValueSizeStr, String(r.size)) << r.format;
    }
}

TEST(SignalSettings, CopyGoesThroughTheSettersInOrder) {
    TSignalSettings src, dst;
    src.SetDigitalTo(500);
    src.SetValueTo(200);
    src.SetValueFrom(100);
    src.SetValueUnit(u"dBm");
    src.SetName1(u"RSSI");
    src.SetValueFormat(u"###0");
    int changes = 0;
    dst.OnChange = [&](TObject*) { ++changes; };
    dst.Assign(&src);
    EXPECT_EQ(dst.DigitalTo(), 500);
    EXPECT_EQ(dst.ValueFormat(), String(u"###0"));
    // ValueFrom 100 equals the destination's ValueTo when it comes, so it is not copied.
    EXPECT_EQ(dst.ValueFrom(), 0);
    EXPECT_EQ(dst.ValueTo(), 200);
    EXPECT_EQ(dst.ValueUnit(), String(u"dBm"));
    EXPECT_EQ(dst.Name1(), String(u"RSSI"));
    EXPECT_EQ(dst.Name2(), String(u"SignalName2"));
    EXPECT_EQ(changes, 5);  // DigitalTo, ValueFormat, ValueTo, ValueUnit, Name1
    TSectorSettings other;
    EXPECT_ANY_THROW(other.Assign(&src));
}

// --- TMvAnalogGControl -----------------------------------------------------------------------

TEST_F(AnalogModel, DisplayDefaultsAndAValue) {
    auto* d = Show();
    EXPECT_EQ(d->Value(), 50);
    EXPECT_EQ(d->Digit(), 500);
    EXPECT_EQ(d->Font()->Name(), String(u"Arial"));
    EXPECT_EQ(d->Font()->Size(), 8);
    EXPECT_FALSE(d->ParentFont());
    EXPECT_FALSE(d->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(d->LimitUpper(), 90);
    EXPECT_EQ(d->LimitLower(), 10);
    d->SetValue(25);
    EXPECT_EQ(d->Digit(), 250);
    EXPECT_EQ(d->PPT, 250);
    EXPECT_EQ(d->ValueStr, String(u"25.0"));
    EXPECT_EQ(d->DigitStr, String(u"250"));
    EXPECT_TRUE(d->InSector1);
    EXPECT_FALSE(d->InSector2);
    EXPECT_FALSE(d->InSector3);
    EXPECT_EQ(d->ActSectorCol, 0x00FFFF);
    d->SetDigit(700);
    EXPECT_FLOAT_EQ(d->Value(), 70);
    EXPECT_EQ(d->PPT, 700);
}

TEST_F(AnalogModel, OverflowFiresOnEnteringAndLeavingTheRangeOnly) {
    auto* d = Show();
    std::vector<int32_t> events;
    d->OnOverflow = [&](TObject*, int32_t ppt) { events.push_back(ppt); };
    const struct {
        float value;
        int32_t digit, ppt;
        bool upper, lower;
        std::vector<int32_t> events;
    } steps[] = {
        {150, 1500, 1000, true, false, {1500}},
        {160, 1600, 1000, true, false, {1500}},
        {50, 500, 500, false, false, {1500, 500}},
        {-20, -200, 0, false, true, {1500, 500, -200}},
        {120, 1200, 1000, true, false, {1500, 500, -200, 1200}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.value);
        d->SetValue(s.value);
        EXPECT_EQ(d->Digit(), s.digit);
        EXPECT_EQ(d->PPT, s.ppt);
        EXPECT_EQ(d->UOverflow, s.upper);
        EXPECT_EQ(d->LOverflow, s.lower);
        EXPECT_EQ(events, s.events);
    }
    EXPECT_EQ(d->overflowCalls, 4);
}

TEST_F(AnalogModel, SectorsAreInclusiveAndReportedInOrder) {
    auto* d = Show();
    d->SetDigit(333);
    EXPECT_TRUE(d->InSector1);
    EXPECT_FALSE(d->InSector2);
    d->SetDigit(334);
    EXPECT_FALSE(d->InSector1);
    EXPECT_TRUE(d->InSector2);

    // Overlapping sectors: one value enters 1 and 2 and leaves 3; the highest match gives the colour.
    TSectorSettings* s = d->SectorSettings();
    s->SetSector1From(0);
    s->SetSector1To(500);
    s->SetSector2From(0);
    s->SetSector2To(500);
    s->SetSector3From(600);
    s->SetSector3To(1000);
    d->SetDigit(900);
    struct Event {
        bool s1, s2, s3, enter;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> events;
    d->OnSectorChange = [&](TObject*, bool s1, bool s2, bool s3, bool enter) { events.push_back({s1, s2, s3, enter}); };
    d->SetDigit(100);
    const std::vector<Event> want = {{true, false, false, true}, {false, true, false, true}, {false, false, true, false}};
    EXPECT_EQ(events, want);
    EXPECT_EQ(d->ActSectorCol, s->Sector2Color());
}

TEST_F(AnalogModel, LimitsAreStrict) {
    auto* d = Show();
    d->SetValue(51);  // the first check clears the flags that start set
    EXPECT_FALSE(d->ULimit);
    EXPECT_FALSE(d->LLimit);
    std::vector<std::pair<bool, bool>> events;
    d->OnLimit = [&](TObject*, bool lower, bool upper) { events.push_back({lower, upper}); };
    d->SetValue(90);
    EXPECT_FALSE(d->ULimit);
    EXPECT_TRUE(events.empty());
    d->SetValue(90.5f);
    EXPECT_TRUE(d->ULimit);
    EXPECT_EQ(events, (std::vector<std::pair<bool, bool>>{{false, true}}));
    d->SetValue(5);
    EXPECT_EQ(events.back(), std::make_pair(true, false));
    d->SetLimitLower(0);
    EXPECT_EQ(d->LimitLower(), 0.0001f);
    EXPECT_EQ(d->LLimitPPT, 0);
    d->SetLimitUpper(80);
    EXPECT_EQ(d->ULimitPPT, 800);
    EXPECT_EQ(d->limitCalls, 4);  // 51 (the first check), 90.5, 5, and LimitLower 0
}

TEST_F(AnalogModel, MinimumAndMaximumWithTimeStamps) {
    auto* d = Show();
    int minMax = 0, valueChanges = 0;
    d->OnMinMaxChange = [&](TObject*) { ++minMax; };
    d->OnValueChange = [&](TObject*) { ++valueChanges; };
    d->SetValue(40);
    EXPECT_EQ(d->MinMax()->Min(), 40);
    EXPECT_EQ(d->MinMax()->Max(), 40);
    EXPECT_EQ(minMax, 0);
    EXPECT_EQ(valueChanges, 1);
    clock->Advance(60'000);
    d->SetValue(45);
    EXPECT_EQ(minMax, 1);
    EXPECT_EQ(valueChanges, 3);  // the new extreme runs the value handling once more
    EXPECT_EQ(d->MinMax()->Max(), 45);
    EXPECT_EQ(d->MaxPPT, 450);
    EXPECT_DOUBLE_EQ(d->MinMax()->MaxDateTime(), Now());
    d->SetValue(42);
    EXPECT_EQ(minMax, 1);

    d->SetMin(30, 45000.5);
    EXPECT_EQ(d->MinMax()->Min(), 30);
    EXPECT_EQ(d->MinPPT, 300);
    EXPECT_DOUBLE_EQ(d->MinMax()->MinDateTime(), 45000.5);
    EXPECT_EQ(minMax, 2);
    d->SetMin(30, 45001);  // the same minimum: nothing
    EXPECT_EQ(minMax, 2);
    d->SetMax(60, 45002);
    EXPECT_EQ(d->MaxPPT, 600);
    EXPECT_EQ(minMax, 3);

    clock->Advance(1000);
    d->ResetMinMax();
    EXPECT_EQ(d->MinMax()->Min(), 42);
    EXPECT_EQ(d->MinMax()->Max(), 42);
    EXPECT_EQ(d->MinPPT, 420);
    EXPECT_EQ(d->MaxPPT, 420);
    EXPECT_DOUBLE_EQ(d->MinMax()->MinDateTime(), Now());
    EXPECT_EQ(minMax, 4);

    // Loading again starts from the initial extremes.
    d->BeginLoading();
    d->Loaded();
    d->SetValue(99);
    EXPECT_EQ(d->MinMax()->Min(), 99);
    EXPECT_EQ(minMax, 4);
}

TEST_F(AnalogModel, AutomaticHint) {
    auto* d = Show();
    d->SetHintOptions({hoAutoHint, hoValue, hoName1});
    d->SetValue(25);
    EXPECT_EQ(d->Hint(), String(u"Value= 25.0 %\rSignalName1"));
    d->SetHintOptions({hoAutoHint, hoMin, hoMinMaxDate, hoMinMaxTime, hoName2});
    d->SetValue(20);
    const String when = DateToStr(Now()) + u" " + TimeToStr(Now());
    EXPECT_EQ(when, String(u"2025/12/09 0:00:00"));
    EXPECT_EQ(d->Hint(), String(u"MIN= 20.0 % 2025/12/09 0:00:00\rSignalName2"));
    d->SetHintOptions({hoAutoHint, hoMax});
    d->SetValue(21);
    EXPECT_EQ(d->Hint(), String(u"MAX= 25.0 %"));
    d->SetHintOptions({hoValue});  // no automatic hint: the text stays
    d->SetValue(22);
    EXPECT_EQ(d->Hint(), String(u"MAX= 25.0 %"));
}

TEST_F(AnalogModel, LogarithmicMapping) {
    auto* d = LoadOn<Display>(form, 10, 10, [](Display* d) {
        d->SignalSettings()->SetValueFrom(1);
        d->SignalSettings()->SetValueTo(1000);
        d->SetLogScale(true);
    });
    const struct {
        float value;
        int32_t digit;
    } rows[] = {{10, 333}, {100, 667}, {1000, 1000}, {1, 0}, {31.6227766f, 500}};
    for (const auto& r : rows) {
        d->SetValue(r.value);
        EXPECT_EQ(d->Digit(), r.digit) << r.value;
    }
    d->SetValue(0);  // no logarithm: ignored
    EXPECT_FLOAT_EQ(d->Value(), 31.6227766f);
    d->SetDigit(667);
    EXPECT_NEAR(d->Value(), 100, 0.5);

    // With LogScale, a bound is stored as its decade.
    d->SignalSettings()->SetValueFrom(0.5f);
    EXPECT_EQ(d->SignalSettings()->ValueFrom(), 1);
    d->SignalSettings()->SetValueTo(2000);
    EXPECT_EQ(d->SignalSettings()->ValueTo(), 1000);
    d->SignalSettings()->SetValueTo(20000);
    EXPECT_EQ(d->SignalSettings()->ValueTo(), 10000);
    EXPECT_NEAR(d->LogFactor1, 250, 1e-9);
    EXPECT_EQ(d->Digit(), 500);  // 100 in 1 .. 10000
}

TEST_F(AnalogModel, AnEmptyDigitSpanNeverDividesByZero) {
    auto* d = Show();
    d->SignalSettings()->SetDigitalTo(0);
    d->SetValue(30);
    EXPECT_EQ(d->PPT, 0);
    // A value that is not a number is refused.
    d->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(d->Value(), 30);
    d->SetDigit(7);
    EXPECT_EQ(d->PPT, 0);

    auto* l = LoadOn<Display>(form, 10, 40, [](Display* d) {
        d->SignalSettings()->SetValueFrom(1);
        d->SignalSettings()->SetValueTo(1000);
        d->SignalSettings()->SetDigitalTo(0);
        d->SetLogScale(true);
    });
    l->SetValue(10);
    EXPECT_EQ(l->LogFactor1, 0);
    l->SetDigit(300);  // no digits per decade: the value stays
    EXPECT_EQ(l->Value(), 10);
}

// --- TMvAnalogCControl -----------------------------------------------------------------------

class AnalogInput : public ui_test::FormTest {
protected:
    Input* in = nullptr;
    std::vector<std::string> log;
    void SetUp() override {
        FormTest::SetUp();
        in = LoadOn<Input>(form);
        in->SlideRect = in->ClientRect();
        in->OnValueChange = [this](TObject*) { log.push_back("change " + std::to_string(in->Digit())); };
        in->OnValueChanged = [this](TObject*) { log.push_back("changed"); };
        form->Show();
        in->SetFocus();
    }
    void Down(WORD vk) { in->Perform(WM_KEYDOWN, vk, 0); }
    void Up(WORD vk) { in->Perform(WM_KEYUP, vk, 0xC0000000); }
};

TEST_F(AnalogInput, Defaults) {
    EXPECT_TRUE(in->TabStop());
    EXPECT_TRUE(in->ControlStyle().Contains(csAcceptsControls));
    EXPECT_EQ(in->Font()->Name(), String(u"MS Sans Serif"));
    EXPECT_EQ(in->ChangeLarge(), 10);
    EXPECT_EQ(in->ChangeSmall(), 1);
    EXPECT_EQ(in->CursorSlide(), 5);
    EXPECT_EQ(in->ColorFocus(), 0x00FF00);
    EXPECT_EQ(in->ColorNonFocus(), 0x008000);
    EXPECT_FALSE(in->EnableMouseJump());
    EXPECT_EQ(in->UpdateCount(), 0);
    EXPECT_EQ(in->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(AnalogInput, ValueSnapsToTheDigitGrid) {
    in->SetValue(33.33f);
    EXPECT_EQ(in->Digit(), 333);
    EXPECT_FLOAT_EQ(in->Value(), 33.3f);
    EXPECT_EQ(in->ValueStr, String(u"33.3"));
    in->SetValue(250);
    EXPECT_EQ(in->Digit(), 1000);
    EXPECT_EQ(in->Value(), 100);
    in->SetValue(-3);
    EXPECT_EQ(in->Digit(), 0);
    in->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(in->Value(), 0);
    in->SetDigit(1200);
    EXPECT_EQ(in->Digit(), 1000);
}

TEST_F(AnalogInput, KeysStepTheDigit) {
    const struct {
        int32_t from;
        WORD vk;
        int32_t to;
    } rows[] = {{995, VK_PRIOR, 1000}, {500, VK_PRIOR, 510}, {5, VK_NEXT, 0}, {500, VK_NEXT, 490},
                {500, VK_END, 1000},   {500, VK_HOME, 0},    {500, VK_UP, 501}, {500, VK_RIGHT, 501},
                {500, VK_DOWN, 499},   {500, VK_LEFT, 499},  {0, VK_LEFT, 0},   {500, VK_F1, 500}};
    for (const auto& r : rows) {
        in->SetDigit(r.from);
        ui::test::Key(in, r.vk);
        EXPECT_EQ(in->Digit(), r.to) << "key " << r.vk << " from " << r.from;
    }
    in->SetChangeSmall(5);
    in->SetDigit(500);
    in->SetEnabledKeys(TEnabledKeys{_VK_UP});
    ui::test::Key(in, VK_UP);
    ui::test::Key(in, VK_DOWN);
    ui::test::Key(in, VK_END);
    EXPECT_EQ(in->Digit(), 505);
    in->SetEnableKeyboard(false);
    ui::test::Key(in, VK_UP);
    EXPECT_EQ(in->Digit(), 505);
}

TEST_F(AnalogInput, WheelStepsOnlyOnTheLowByteOfOneNotch) {
    const struct {
        int delta;
        int32_t to;
    } rows[] = {{120, 501}, {-120, 499}, {240, 500}, {-240, 500}, {60, 500}, {376, 501}};
    for (const auto& r : rows) {
        in->SetDigit(500);
        in->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(r.delta))), 0);
        EXPECT_EQ(in->Digit(), r.to) << r.delta;
    }
}

TEST_F(AnalogInput, ValueChangedComesOnceAtTheEndOfAnInteraction) {
    in->SetDigit(500);
    log.clear();
    in->Perform(WM_KEYUP, VK_UP, 0xC0000000);  // the change by the program ends here
    log.clear();
    // A held key: three key-downs, one key-up.
    for (int i = 0; i < 3; ++i) Down(VK_UP);
    Up(VK_UP);
    EXPECT_EQ(log, (std::vector<std::string>{"change 501", "change 502", "change 503", "changed"}));
    log.clear();
    Up(VK_UP);  // nothing changed since
    EXPECT_TRUE(log.empty());

    // A drag: down, moves, up.
    ui::test::MouseDown(in, 5, 20);
    ui::test::MouseMove(in, 5, 30, MK_LBUTTON);
    ui::test::MouseMove(in, 5, 40, MK_LBUTTON);
    ui::test::MouseUp(in, 5, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"change 200", "change 300", "change 400", "changed"}));
    EXPECT_FALSE(in->MDown);
    EXPECT_EQ(in->pMouseOld, TPoint(5, 40));

    // A press outside the slide area moves nothing.
    log.clear();
    in->SlideRect = TRect(0, 0, 40, 10);
    ui::test::MouseDown(in, 5, 60);
    ui::test::MouseUp(in, 5, 60);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(in->Digit(), 400);
}

TEST_F(AnalogInput, CursorFollowsTheSlideArea) {
    in->SlideRect = TRect(0, 0, 40, 50);
    ui::test::MouseMove(in, 5, 20);
    EXPECT_TRUE(in->inSlideArea);
    EXPECT_EQ(in->Cursor(), 5);
    ui::test::MouseMove(in, 5, 70);
    EXPECT_FALSE(in->inSlideArea);
    EXPECT_EQ(in->Cursor(), crDefault);
    in->isCircle = true;
    in->SlideRect = TRect(0, 0, 40, 40);
    ui::test::MouseMove(in, 2, 2);  // in the square's corner, outside its circle
    EXPECT_FALSE(in->inSlideArea);
    ui::test::MouseMove(in, 20, 20);
    EXPECT_TRUE(in->inSlideArea);
}

TEST_F(AnalogInput, LoadingSetsTheValueWithoutEvents) {
    int changes = 0;
    auto* loaded = LoadOn<Input>(form, 60, 10, [&](Input* c) {
        c->OnValueChange = [&](TObject*) { ++changes; };
        c->SignalSettings()->SetValueFrom(-140);
        c->SignalSettings()->SetValueTo(-10);
        c->SetValue(-75);
    });
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(loaded->Digit(), 500);
    EXPECT_EQ(loaded->UpdateCount(), 0);
    loaded->SetValue(-140);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(loaded->Digit(), 0);
    // A change of the settings maps the value again.
    loaded->SignalSettings()->SetValueFrom(-240);
    EXPECT_EQ(loaded->Digit(), 435);
}

TEST_F(AnalogInput, ValueIndicatorMirrorsTheValue) {
    auto* d = LoadOn<Display>(form, 100, 10);
    in->SignalSettings()->SetValueTo(50);
    in->SignalSettings()->SetValueUnit(u"V");
    in->SetValueIndicator(d);
    EXPECT_EQ(d->SignalSettings()->ValueTo(), 50);
    EXPECT_EQ(d->SignalSettings()->ValueUnit(), String(u"V"));
    in->SetDigit(300);
    EXPECT_FLOAT_EQ(d->Value(), 15);
    EXPECT_EQ(d->PPT, 300);
    in->SignalSettings()->SetValueUnit(u"A");  // settings follow through ParamChange
    EXPECT_EQ(d->SignalSettings()->ValueUnit(), String(u"A"));
    d->Free();
    EXPECT_EQ(in->ValueIndicator(), nullptr);
    in->SetDigit(400);  // no display to mirror any more
    EXPECT_FLOAT_EQ(in->Value(), 20);
}

}  // namespace
