// The operating-hour counter: normalising and showing the time, counting on the flash timer's
// one-second tick, zero and limit, registration, what a tick repaints, and the ini file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/MvOpHour.h"
#include "controls/instrument/tests/AnalogTestSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/tests/DrawnTestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

using analog_test::LoadOn;

constexpr int32_t Olive = 0x00C0C0;

class CounterTest : public ui_test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    std::vector<std::string> events;
    void SetUp() override {
        FormTest::SetUp();
        form->SetColor(Olive);
    }
    void TearDown() override {
        FormTest::TearDown();
        StopFlashTimer();
    }
    template <class Props>
    TMvOpHourCounter* Counter(Props props) {
        return LoadOn<TMvOpHourCounter>(form, 10, 10, [&](TMvOpHourCounter* c) {
            c->Font()->SetName(u"Arial");
            c->Font()->SetSize(10);
            c->OnZero = [this, c](TObject*) { events.push_back("zero " + Time(c)); };
            c->OnLimit = [this, c](TObject*) { events.push_back("limit " + Time(c)); };
            props(c);
        });
    }
    TMvOpHourCounter* Counter() {
        return Counter([](TMvOpHourCounter*) {});
    }
    static std::string Time(TMvOpHourCounter* c) {
        return std::to_string(c->hr) + ":" + std::to_string(c->mi) + ":" + std::to_string(c->se);
    }
    static bool Registered(TMvOpHourCounter* c) {
        return std::any_of(FlashClients.begin(), FlashClients.end(),
                           [c](TFlashClient* f) { return f->Control == c && f->Mode == 32; });
    }
    // One second on the flash timer, its thread held still.
    void Second(int n = 1) {
        if (FlashTimer) FlashTimer->SetEnabled(false);
        for (int i = 0; i < n; ++i) {
            clock->Advance(1000);
            if (FlashTimer) FlashTimer->FlashTick(FlashTimer);
        }
    }
    int32_t Now(int x, int y) { return ColorToRGB(form->BackingImage()->Canvas()->Pixels(x, y)); }
    void Shot() { drawn_test::Snapshot(form, "counter"); }
};

TEST(TimeSetting, WritingAPartNormalisesTheWhole) {
    TTimeSetting t;
    t.SetSec(75);
    EXPECT_EQ(t.Min(), 1);
    EXPECT_EQ(t.Sec(), 15);
    t.SetMin(130);
    EXPECT_EQ(t.Hour(), 2);
    EXPECT_EQ(t.Min(), 10);
    t.SetHour(-3);  // negative parts stay
    EXPECT_EQ(t.Hour(), -3);
    int32_t h = 0, m = 59, s = 3600 + 61;
    NormaliseTime(h, m, s);
    EXPECT_EQ(h, 2);  // 61 minutes carried into 120
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 1);
}

TEST_F(CounterTest, DefaultsSetTimeAndText) {
    auto* c = Counter();
    EXPECT_EQ(c->Width(), 113);
    EXPECT_EQ(c->Height(), 24);
    EXPECT_EQ(c->BevelOuter()->Spacing(), 2);
    EXPECT_EQ(c->BevelOuter()->Width(), 1);
    EXPECT_EQ(c->BevelInner()->Style(), bsLowered);
    EXPECT_EQ(c->BevelInner()->Color(), 0x000000);
    EXPECT_EQ(c->IniSettings()->FileName(), String(u"MrvnApp.ini"));
    EXPECT_FALSE(c->IniSettings()->AutoLoadSave());
    EXPECT_EQ(c->HourDigits(), 4);
    EXPECT_EQ(c->Indicate(), oiHourMinSec);
    EXPECT_FALSE(c->Count());
    EXPECT_FALSE(c->CountDown());
    EXPECT_EQ(c->UpdateCount(), 0);
    auto* plain = LoadOn<TMvOpHourCounter>(form, 10, 50);
    EXPECT_EQ(plain->Font()->Name(), String(u"System"));
    EXPECT_EQ(plain->Font()->Size(), 10);
    EXPECT_EQ(plain->Font()->Color(), 0x00FF00);

    const struct {
        int32_t h, m, s;
        const char* time;
        int digits;
        TOpHrIndicate indicate;
        const char* text;
    } rows[] = {
        {0, 0, 125, "0:2:5", 4, oiHourMinSec, "0000h:02m:05s"},
        {1, 75, 0, "2:15:0", 4, oiHourMinSec, "0002h:15m:00s"},
        {5, 3, 1, "5:3:1", 2, oiHourMinSec, "05h:03m:01s"},
        {123, 0, 0, "123:0:0", 2, oiHourMinSec, "123h:00m:00s"},
        {5, 3, 1, "5:3:1", 4, oiHour, "0005h"},
        {5, 3, 1, "5:3:1", 4, oiHourMin, "0005h:03m"},
    };
    for (const auto& r : rows) {
        c->SetHourDigits(r.digits);
        c->SetIndicate(r.indicate);
        c->SetTime(r.h, r.m, r.s);
        EXPECT_EQ(Time(c), r.time);
        EXPECT_EQ(c->TimeText(), String(r.text));
    }
    // Separators are text, even a per cent sign.
    c->SetSeparatorHour(u"%");
    c->SetSeparatorChar(u" ");
    EXPECT_EQ(c->TimeText(), String(u"0005% 03m"));
}

TEST_F(CounterTest, CountingUpAndDownOnTheSecondTick) {
    auto* c = Counter([](TMvOpHourCounter* c) { c->Limit()->SetHour(100); });
    c->SetCount(true);
    EXPECT_TRUE(Registered(c));
    c->SetTime(0, 59, 59);
    Second();
    EXPECT_EQ(Time(c), "1:0:0");
    c->SetCountDown(true);
    Second();
    EXPECT_EQ(Time(c), "0:59:59");
    c->SetTime(0, 0, 2);
    Second();
    EXPECT_EQ(Time(c), "0:0:1");
    EXPECT_TRUE(events.empty());
    Second();
    EXPECT_EQ(Time(c), "0:0:0");
    EXPECT_TRUE(c->isZero);
    EXPECT_EQ(events, (std::vector<std::string>{"zero 0:0:0"}));
    EXPECT_FALSE(Registered(c));
    EXPECT_TRUE(c->Count());  // an automatic stop leaves Count on
    Second(3);
    EXPECT_EQ(events.size(), 1u);
    c->SetCount(true);  // unchanged: still stopped
    EXPECT_FALSE(Registered(c));
    c->SetCountDown(false);  // counting up again registers it
    EXPECT_TRUE(Registered(c));
    Second(2);
    EXPECT_EQ(Time(c), "0:0:2");
    c->SetCount(false);
    EXPECT_FALSE(Registered(c));
    Second();
    EXPECT_EQ(Time(c), "0:0:2");
    // SetTime(0, 0, 0) stops as well.
    c->SetCount(true);
    c->SetTime(0, 0, 0);
    EXPECT_FALSE(Registered(c));
    EXPECT_EQ(events.back(), "zero 0:0:0");
}

TEST_F(CounterTest, Limit) {
    // The limit 0:0:0 is reached at the first check, and reported once.
    auto* c = Counter();
    c->SetCount(true);
    Second(3);
    EXPECT_EQ(events, (std::vector<std::string>{"limit 0:0:1"}));
    c->Free();

    const struct {
        TOpHrOptions options;
        std::vector<std::string> events;
        const char* after;  // two seconds after the limit
        bool registered;
    } rows[] = {
        {{}, {"limit 0:0:10"}, "0:0:12", true},
        {{opResetOnLimit}, {"limit 0:0:10"}, "0:0:2", true},
        {{opStopOnLimit}, {"limit 0:0:10"}, "0:0:10", false},
    };
    for (const auto& r : rows) {
        events.clear();
        c = Counter([&](TMvOpHourCounter* c) {
            c->Limit()->SetSec(10);
            c->SetOptions(r.options);
            c->SetCount(true);
        });
        c->SetTime(0, 0, 8);
        Second(2);
        EXPECT_EQ(events, r.events);
        EXPECT_TRUE(c->isLimit);
        if (r.options.Contains(opResetOnLimit)) {
            EXPECT_EQ(Time(c), "0:0:0");
            EXPECT_TRUE(c->isZero);
        }
        Second(2);
        EXPECT_EQ(Time(c), r.after);
        EXPECT_EQ(Registered(c), r.registered);
        EXPECT_EQ(events, r.events);
        c->Free();
    }

    // Past the limit as a whole counts as reached, whatever the minute or second field says.
    events.clear();
    c = Counter([](TMvOpHourCounter* c) {
        c->Limit()->SetHour(1);
        c->Limit()->SetMin(30);
    });
    c->SetTime(2, 10, 0);
    c->SetTime(2, 40, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"limit 2:10:0"}));
    c->SetTime(1, 0, 0);  // below the limit again: armed
    EXPECT_FALSE(c->isLimit);
    c->SetTime(1, 30, 0);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(CounterTest, PresetOnZero) {
    auto* c = Counter([](TMvOpHourCounter* c) {
        c->Limit()->SetHour(100);
        c->SetOptions({opPresetOnZero});
        c->PresetValue()->SetSec(3);
        c->SetCountDown(true);
        c->SetCount(true);
    });
    c->SetTime(0, 0, 1);
    Second();
    EXPECT_EQ(Time(c), "0:0:3");  // reloaded
    EXPECT_EQ(events, (std::vector<std::string>{"zero 0:0:3"}));
    EXPECT_TRUE(Registered(c));
    Second(3);
    EXPECT_EQ(Time(c), "0:0:3");
    EXPECT_EQ(events.size(), 2u);

    // A preset at zero would reload zero without end: the counter stops instead.
    events.clear();
    c->PresetValue()->SetSec(0);
    Second(3);
    EXPECT_EQ(Time(c), "0:0:0");
    EXPECT_EQ(events, (std::vector<std::string>{"zero 0:0:0"}));
    EXPECT_FALSE(Registered(c));
    c->PresetValue()->SetSec(-4);
    c->SetTime(0, 0, 0);
    EXPECT_EQ(Time(c), "0:0:0");
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(CounterTest, LoadedWithCountOnItCountsFromTheStart) {
    auto* c = Counter([](TMvOpHourCounter* c) { c->SetCount(true); });
    EXPECT_TRUE(Registered(c));
    Second(2);
    EXPECT_EQ(Time(c), "0:0:2");
    // The workbench's restart.
    c->SetCount(false);
    c->SetTime(0, 0, 0);
    c->SetCount(true);
    Second();
    EXPECT_EQ(Time(c), "0:0:1");
    c->Free();
    EXPECT_TRUE(FlashClients.empty());
}

TEST_F(CounterTest, ATickRedrawsOnlyTheText) {
    auto* c = Counter([](TMvOpHourCounter* c) { c->Limit()->SetHour(100); });
    form->Show();
    Shot();
    const TSize t = c->sTime;
    EXPECT_EQ(c->rClock, TRect(4, 4, c->Width() - 4, c->Height() - 4));
    const int tx = 10 + 4 + (c->rClock.Width() - t.cx) / 2, ty = 10 + 4 + (c->rClock.Height() - t.cy) / 2;
    ASSERT_GT(tx, 10 + 4);  // room left of the text inside the inner bevel
    // Marks on the outer ring, its spacing, the inner ring, and the black left of the text.
    const TPoint marks[] = {{10 + 0, 10 + 12}, {10 + 2, 10 + 12}, {10 + 3, 10 + 12}, {tx - 1, ty + 2}};
    for (TPoint p : marks) form->BackingImage()->Canvas()->SetPixels(p.X, p.Y, clFuchsia);
    auto ink = [&] {
        std::vector<int32_t> px;
        for (int y = ty; y < ty + t.cy; ++y)
            for (int x = tx; x < tx + t.cx; ++x) px.push_back(Now(x, y));
        return px;
    };
    const auto before = ink();
    EXPECT_NE(std::count(before.begin(), before.end(), 0x00FF00), 0);
    c->SetCount(true);
    Second();
    form->Update();
    EXPECT_NE(ink(), before);
    for (TPoint p : marks) EXPECT_EQ(Now(p.X, p.Y), ColorToRGB(clFuchsia)) << p.X << "," << p.Y;
}

TEST_F(CounterTest, NarrowCounterGrowsUnlessAligned) {
    auto* c = Counter([](TMvOpHourCounter* c) { c->SetBounds(10, 10, 40, 12); });
    form->Show();
    Shot();
    TBitmap b(1, 1);
    b.Canvas()->SetFont(c->Font());
    const TSize t = b.Canvas()->TextExtent(u"0000h:00m:00s");
    EXPECT_EQ(c->sTime, t);
    // Outer bevel 2 + 1, inner bevel 1.
    EXPECT_EQ(c->min_w, 2 * 3 + t.cx + 2 * 1 + t.cy / 3);
    EXPECT_EQ(c->min_h, 2 * 3 + t.cy + 2 * 1);
    EXPECT_EQ(c->Width(), c->min_w);
    EXPECT_EQ(c->Height(), c->min_h);
    c->SetAlign(alLeft);
    c->SetWidth(40);
    Shot();
    EXPECT_EQ(c->Width(), 40);
}

TEST_F(CounterTest, IniFileOnlyWithAutoLoadSave) {
    const String path = ExeFolder() + u"MrvnApp.ini";
    const std::string file = path.ToUtf8();
    const String section = u"HourCounter" + IntToStr(static_cast<int>(::getpid()));
    {
        TIniFile ini(path);
        ini.WriteInteger(section, u"h", 12);
        ini.WriteInteger(section, u"m", 75);  // read as it stands, not normalised
        ini.WriteInteger(section, u"s", 7);
    }
    auto* off = Counter([&](TMvOpHourCounter* c) { c->SetName(section); });
    auto* on = LoadOn<TMvOpHourCounter>(form, 10, 50, [&](TMvOpHourCounter* c) {
        c->SetName(section + u"On");
        c->IniSettings()->SetSection(section);
        c->IniSettings()->SetAutoLoadSave(true);
    });
    form->Show();
    Shot();
    EXPECT_EQ(off->IniSettings()->Section(), section);  // the name, at the first paint
    EXPECT_EQ(Time(off), "0:0:0");
    EXPECT_EQ(Time(on), "12:75:7");
    off->SetTime(1, 2, 3);
    off->Free();
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger(section, u"h", -1), 12);
    }
    on->SetTime(3, 4, 5);
    on->Free();
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger(section, u"h", -1), 3);
        EXPECT_EQ(ini.ReadInteger(section, u"m", -1), 4);
        EXPECT_EQ(ini.ReadInteger(section, u"s", -1), 5);
        ini.EraseSection(section);
        TStringList sections;
        ini.ReadSections(&sections);
        if (sections.Count() == 0) std::filesystem::remove(file);
    }
}

TEST_F(CounterTest, RenderLook) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    auto* a = LoadOn<TMvOpHourCounter>(form, 10, 10);
    a->SetTime(12, 5, 9);
    auto* b = LoadOn<TMvOpHourCounter>(form, 10, 50, [](TMvOpHourCounter* c) {
        c->SetHourDigits(2);
        c->SetIndicate(oiHourMin);
        c->BevelOuter()->SetBevelLine(blOuter);
    });
    b->SetTime(5, 3, 1);
    LoadOn<TMvOpHourCounter>(form, 10, 90, [](TMvOpHourCounter* c) { c->SetBounds(10, 90, 30, 10); });
    form->Show();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_counters.png").string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
}

}  // namespace
