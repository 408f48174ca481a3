// How the clock's time changes: by program, animated and at once, by clicks and keys, and by
// itself while it runs; on the manual clock, with the current time injected.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "dropdown/tests/WatchTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

namespace {

using watch_test::Argb;
using watch_test::Drawn;
using watch_test::RecordingEngine;

// 2025-12-09 (day 45999 + 1), 14:25:30 as the current time.
constexpr TDateTime kToday = 46000.0;

class WatchTimeTest : public watch_test::WatchTest {
protected:
    std::shared_ptr<rtl::ManualClock> clock = Install(kToday + EncodeTime(14, 25, 30, 0));
    int changes = 0;
    std::vector<TDateTime> changedAt;

    ~WatchTimeTest() override { rtl::SetClock(nullptr); }
    static std::shared_ptr<rtl::ManualClock> Install(TDateTime now) {
        auto c = std::make_shared<rtl::ManualClock>(0, now);
        rtl::SetClock(c);
        return c;
    }
    void SetUp() override {
        WatchTest::SetUp();
        watch->OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, watch);
            ++changes;
            changedAt.push_back(watch->Time());
        };
    }
    // Lets the animation timer run until the time stays put; the times it went through.
    std::vector<TDateTime> Animate() {
        std::vector<TDateTime> seen;
        TDateTime last = watch->Time();
        for (int quiet = 0, ticks = 0; quiet < 20 && ticks < 2000; ++ticks) {
            ui::test::AdvanceClock(*clock, 1);
            if (watch->Time() != last) {
                last = watch->Time();
                seen.push_back(last);
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return seen;
    }
    void Start(int h, int m) {
        watch->SetTime(EncodeTime(h, m, 0, 0));
        changes = 0;
        changedAt.clear();
    }
};

TEST_F(WatchTimeTest, AnimatedHourWalksToItsTargetAndReportsOnce) {
    Start(1, 20);
    watch->SetHour(5);
    EXPECT_EQ(HourOf(watch->Time()), 1);  // the steps move it
    std::vector<TDateTime> walk = Animate();
    std::vector<int> hours;
    for (TDateTime t : walk) {
        hours.push_back(HourOf(t));
        EXPECT_EQ(MinuteOf(t), 20);
    }
    EXPECT_EQ(hours, (std::vector<int>{2, 3, 4, 5}));
    ASSERT_EQ(changes, 1);
    EXPECT_EQ(HourOf(changedAt[0]), 5);
}

TEST_F(WatchTimeTest, AnimatedHoursDoNotWrap) {
    Start(23, 0);
    watch->SetHour(1);
    std::vector<TDateTime> walk = Animate();
    ASSERT_FALSE(walk.empty());
    int previous = 23;
    for (TDateTime t : walk) {
        EXPECT_LT(HourOf(t), previous);
        EXPECT_GE(HourOf(t), 1);
        previous = HourOf(t);
    }
    EXPECT_EQ(previous, 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(WatchTimeTest, AnimatedMinuteRunsForwardThroughTheFullHour) {
    Start(10, 45);
    watch->SetMinute(0);
    std::vector<TDateTime> walk = Animate();
    ASSERT_GE(walk.size(), 2u);
    for (size_t i = 0; i + 1 < walk.size(); ++i) {
        EXPECT_EQ(HourOf(walk[i]), 10);
        EXPECT_GT(MinuteOf(walk[i]), 45);
    }
    EXPECT_EQ(MinuteOf(walk[walk.size() - 2]), 59);
    EXPECT_EQ(walk.back(), EncodeTime(11, 0, 0, 0));
    EXPECT_EQ(changes, 1);
}

TEST_F(WatchTimeTest, AnimationFactorBelowOneCountsAsOne) {
    watch->SetAnimationFactor(0);
    Start(1, 0);
    watch->SetHour(5);
    std::vector<TDateTime> walk = Animate();
    ASSERT_EQ(walk.size(), 1u);  // the whole distance in one step
    EXPECT_EQ(HourOf(walk[0]), 5);
}

TEST_F(WatchTimeTest, ImmediateSetters) {
    watch->SetAnimation(false);
    struct Case {
        int h, m;
        bool hour;
        int value, wantH, wantM;
    };
    const Case cases[] = {
        {23, 45, false, 0, 0, 0},   // the next full hour
        {12, 15, false, 0, 12, 0},  // stays in the hour
        {10, 10, false, 59, 10, 59},
        {3, 30, true, 17, 17, 30},
    };
    for (const Case& c : cases) {
        Start(c.h, c.m);
        if (c.hour)
            watch->SetHour(static_cast<uint8_t>(c.value));
        else
            watch->SetMinute(static_cast<uint8_t>(c.value));
        EXPECT_EQ(watch->Time(), EncodeTime(c.wantH, c.wantM, 0, 0)) << c.h << ":" << c.m;
    }
    // The date part goes with any set.
    watch->SetTime(45123.0 + EncodeTime(9, 30, 0, 0));
    watch->SetHour(3);
    EXPECT_EQ(watch->Time(), EncodeTime(3, 30, 0, 0));
}

TEST_F(WatchTimeTest, OutOfRangeValuesChangeNothing) {
    for (bool animated : {false, true}) {
        watch->SetAnimation(animated);
        Start(9, 10);
        try {
            watch->SetMinute(60);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), String("Invalid time"));
        }
        EXPECT_THROW(watch->SetHour(24), EConvertError) << animated;
        EXPECT_TRUE(Animate().empty()) << animated;
        EXPECT_EQ(watch->Time(), EncodeTime(9, 10, 0, 0));
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(WatchTimeTest, ProgramWritesReportAsTheyAlwaysDid) {
    watch->SetAnimation(false);
    Start(3, 0);
    watch->SetHour(4);  // not the last target (none yet: 0)
    EXPECT_EQ(changes, 0);
    watch->SetHour(0);  // the last target
    EXPECT_EQ(changes, 1);
    // The Time setter never reports, and follows AM and PM without scrolling.
    watch->SetTime(EncodeTime(15, 0, 0, 0));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(watch->AM());
}

TEST_F(WatchTimeTest, PointsOfTheFace) {
    struct Case {
        int x, y, minute;
    };
    for (Case c : {Case{150, 90, 15}, Case{90, 150, 30}, Case{30, 90, 45}, Case{89, 30, 0}, Case{91, 30, 0},
                   Case{132, 48, 7}})
        EXPECT_EQ(watch->MinuteAtPoint(c.x, c.y), c.minute) << c.x << "," << c.y;
    watch->SetTime(EncodeTime(9, 0, 0, 0));
    ASSERT_TRUE(watch->AM());
    EXPECT_EQ(watch->HourAtPoint(150, 90), 3);
    // Both sides of 12 o'clock give the same hour.
    EXPECT_EQ(watch->HourAtPoint(86, 20), 0);
    EXPECT_EQ(watch->HourAtPoint(94, 20), 0);
    watch->SetTime(EncodeTime(21, 0, 0, 0));
    EXPECT_EQ(watch->HourAtPoint(150, 90), 15);
    EXPECT_EQ(watch->HourAtPoint(86, 20), 12);
    EXPECT_EQ(watch->HourAtPoint(94, 20), 12);
}

TEST_F(WatchTimeTest, ClicksSetTheTimeAndReportOnce) {
    watch->SetAnimation(false);
    Start(9, 10);
    ui::test::Click(watch, 5, 90);  // outside the face's ellipse: the minute
    EXPECT_EQ(watch->Time(), EncodeTime(9, 45, 0, 0));
    EXPECT_EQ(changes, 1);
    ui::test::Click(watch, 150, 90);  // on the face: the hour
    EXPECT_EQ(watch->Time(), EncodeTime(3, 45, 0, 0));
    EXPECT_EQ(changes, 2);
    Start(9, 10);
    const TRect box = watch->GetAMPMRect();
    ui::test::Click(watch, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    EXPECT_EQ(watch->Time(), EncodeTime(21, 10, 0, 0));
    EXPECT_FALSE(watch->AM());
    EXPECT_EQ(changes, 1);
    // Clicking the same hour changes and reports nothing.
    Start(3, 10);
    ui::test::Click(watch, 150, 90);
    EXPECT_EQ(changes, 0);
}

TEST_F(WatchTimeTest, AMPMBoxScrollsOnePixelAStep) {
    Start(9, 10);
    Paint();
    const TRect box = watch->GetAMPMRect();
    const int w = box.Width() - 2, hh = box.Height() - 2;
    ASSERT_GT(hh, 4);
    // Each step shows its frame, then sleeps: the frames are what the box shows at each sleep.
    std::vector<std::vector<TColor>> frames;
    int listener = clock->AddListener([&] {
        std::vector<TColor> frame;
        for (int y = 0; y < hh; ++y)
            for (int x = 0; x < w; ++x) frame.push_back(At(box.Left + 1 + x, box.Top + 1 + y));
        frames.push_back(frame);
    });
    const uint64_t before = GetTickCount64();
    ui::test::Click(watch, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    clock->RemoveListener(listener);
    EXPECT_EQ(GetTickCount64() - before, uint64_t(10 * hh));
    ASSERT_EQ(frames.size(), size_t(hh));
    bool moved = false;
    for (size_t f = 0; f + 1 < frames.size(); ++f) {
        // The next frame is this one moved up by a row.
        for (int y = 0; y + 1 < hh; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(frames[f + 1][y * w + x], frames[f][(y + 1) * w + x]) << "frame " << f << " " << x << "," << y;
        moved = moved || frames[f + 1] != frames[f];
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(watch->Time(), EncodeTime(21, 10, 0, 0));
    EXPECT_EQ(changes, 1);
}

TEST_F(WatchTimeTest, NoScrollWithoutAnimationOrWithATransparentBox) {
    const TRect box = watch->GetAMPMRect();
    for (bool transparent : {false, true}) {
        watch->SetAnimation(!transparent);
        watch->Appearance()->SetAMPMColor(transparent ? clNone : clWhite);
        Start(9, 10);
        Paint();
        watch->SetAnimation(transparent);
        const uint64_t before = GetTickCount64();
        ui::test::Click(watch, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
        EXPECT_EQ(GetTickCount64(), before) << transparent;
        EXPECT_EQ(watch->Time(), EncodeTime(21, 10, 0, 0)) << transparent;
    }
}

TEST_F(WatchTimeTest, Keys) {
    watch->SetAnimation(false);
    struct Case {
        int h, m;
        WORD key;
        int wantH, wantM;
    };
    const Case cases[] = {
        {15, 0, 'A', 3, 0},          {3, 0, 'P', 15, 0},          {3, 0, 'A', 3, 0},
        {15, 0, 'P', 15, 0},         {23, 0, VK_PRIOR, 0, 0},     {5, 0, VK_PRIOR, 6, 0},
        {0, 0, VK_NEXT, 23, 0},      {5, 0, VK_NEXT, 4, 0},       {7, 20, VK_HOME, 12, 20},
        {10, 45, VK_END, 11, 0},     {10, 15, VK_END, 10, 0},     {0, 0, VK_LEFT, 23, 59},
        {10, 30, VK_LEFT, 10, 29},   {10, 59, VK_RIGHT, 11, 0},   {10, 30, VK_RIGHT, 10, 31},
        {10, 30, VK_UP, 10, 30},     {10, 30, VK_DOWN, 10, 30},
    };
    for (const Case& c : cases) {
        Start(c.h, c.m);
        watch->HandleNavigationKey(c.key);
        EXPECT_EQ(watch->Time(), EncodeTime(c.wantH, c.wantM, 0, 0)) << c.h << ":" << c.m << " key " << c.key;
        // Every change the user makes is reported once.
        EXPECT_EQ(changes, c.wantH != c.h || c.wantM != c.m ? 1 : 0) << c.h << ":" << c.m << " key " << c.key;
    }
}

TEST_F(WatchTimeTest, AnimatedKeysReportOnceAtTheEnd) {
    Start(15, 0);
    watch->HandleNavigationKey('A');
    EXPECT_EQ(changes, 0);
    Animate();
    EXPECT_EQ(watch->Time(), EncodeTime(3, 0, 0, 0));
    EXPECT_EQ(changes, 1);
}

TEST_F(WatchTimeTest, RunningClock) {
    // Half a second before noon.
    clock = Install(kToday + EncodeTime(11, 59, 59, 500));
    const TColor second = 0x0080FF;
    watch->Appearance()->SetSecondPointer(second);
    watch->Settings()->SetAuto(true);
    Paint();
    EXPECT_EQ(watch->GetCurrentTime(), ::Now());
    EXPECT_TRUE(watch->AM());
    watch->Settings()->SetTimeOffset(90);
    EXPECT_EQ(HourOf(watch->GetCurrentTime()), 13);
    EXPECT_EQ(MinuteOf(watch->GetCurrentTime()), 29);
    watch->Settings()->SetTimeOffset(0);
    Paint();
    {
        RecordingEngine engine;
        ui::test::AdvanceClock(*clock, 100);
        EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(second)).size(), 1u);  // the tick drew the hands
        ui::test::AdvanceClock(*clock, 500);
        EXPECT_FALSE(watch->AM());  // past noon
        // A tick each 100 ms, and once more the full paint that noon brought for the AM/PM box.
        EXPECT_EQ(engine.Of(Drawn::Stroke, Argb(second)).size(), 7u);
        EXPECT_EQ(engine.Count(Drawn::Text), 1);
    }
    // Clicks and keys do nothing while it runs.
    const TDateTime stored = watch->Time();
    watch->HandleNavigationKey(VK_PRIOR);
    ui::test::Click(watch, 150, 90);
    EXPECT_EQ(watch->Time(), stored);
    EXPECT_EQ(changes, 0);
    // Stopped, it ticks no more.
    watch->Settings()->SetAuto(false);
    Paint();
    RecordingEngine engine;
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_TRUE(engine.calls.empty());
}

}  // namespace
