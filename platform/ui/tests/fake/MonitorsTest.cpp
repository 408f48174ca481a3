// The screen layout: the monitor calls, Screen and the system's screen answers agree on it.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// A 1920 x 1080 primary screen with a 40-pixel panel at the bottom, and a 1280 x 1024 monitor
// to its left (listed first, as a desktop may list them).
std::vector<ui::ScreenArea> TwoMonitors() {
    return {ui::ScreenArea{Bounds(-1280, 0, 1280, 1024), Bounds(-1280, 0, 1280, 1000), false},
            ui::ScreenArea{Bounds(0, 0, 1920, 1080), TRect(0, 0, 1920, 1040), true}};
}

TRect WorkOf(HMONITOR m) {
    MONITORINFO info;
    EXPECT_TRUE(GetMonitorInfo(m, &info));
    return info.rcWork;
}

class MonitorsTest : public ui::test::AppTest {
protected:
    ui::test::ScreenLayoutScope layout{TwoMonitors()};
};

TEST_F(MonitorsTest, SystemAnswersComeFromThePrimaryScreen) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, TRect(0, 0, 1920, 1040));
    EXPECT_EQ(Screen->WorkAreaRect(), TRect(0, 0, 1920, 1040));
    EXPECT_EQ(Screen->Height(), 1080);
    ASSERT_EQ(Screen->MonitorCount(), 2);
    EXPECT_TRUE(Screen->Monitors(0)->Primary());
    EXPECT_EQ(Screen->Monitors(1)->Left(), -1280);
    EXPECT_EQ(Screen->Monitors(1)->WorkareaRect(), Bounds(-1280, 0, 1280, 1000));
    EXPECT_THROW(Screen->Monitors(2), EListError);
}

TEST_F(MonitorsTest, PointsFindTheirMonitorOrTheFallbackTheFlagsAsk) {
    HMONITOR left = MonitorFromPoint(TPoint(-100, 500), MONITOR_DEFAULTTONEAREST);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(WorkOf(left).Left, -1280);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(left, &info));
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.rcMonitor, Bounds(-1280, 0, 1280, 1024));

    EXPECT_EQ(MonitorFromPoint(TPoint(5000, 5000), MONITOR_DEFAULTTONULL), nullptr);
    // Beyond the right edge of the primary screen: nearest is the primary, whatever the order.
    HMONITOR nearest = MonitorFromPoint(TPoint(5000, 5000), MONITOR_DEFAULTTONEAREST);
    ASSERT_TRUE(GetMonitorInfo(nearest, &info));
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    // Below the left monitor, nearer to it than to the primary one.
    EXPECT_EQ(MonitorFromPoint(TPoint(-1000, 1500), MONITOR_DEFAULTTONEAREST), left);
    EXPECT_EQ(MonitorFromPoint(TPoint(-5000, 0), MONITOR_DEFAULTTOPRIMARY), nearest);
}

TEST_F(MonitorsTest, WindowsBelongToTheMonitorTheyOverlapMost) {
    auto* form = new TForm(nullptr);
    form->SetBounds(-300, 100, 400, 300);  // 300 pixels on the left monitor, 100 on the primary
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONULL), &info));
    EXPECT_EQ(info.rcMonitor.Left, -1280);
    form->SetBounds(3000, 3000, 100, 100);
    EXPECT_EQ(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_NE(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST), nullptr);
    form->Free();
    EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST), nullptr);
}

TEST_F(MonitorsTest, StaleHandlesAndWrongRecordsAreRefused) {
    MONITORINFO info;
    EXPECT_FALSE(GetMonitorInfo(nullptr, &info));
    EXPECT_FALSE(GetMonitorInfo(reinterpret_cast<HMONITOR>(uintptr_t{3}), &info));
    info.cbSize = 8;
    EXPECT_FALSE(GetMonitorInfo(MonitorFromPoint(TPoint(0, 0), MONITOR_DEFAULTTONULL), &info));
    EXPECT_FALSE(GetMonitorInfo(MonitorFromPoint(TPoint(0, 0), MONITOR_DEFAULTTONULL), nullptr));
}

TEST(MonitorsDesktop, WithoutALayoutTheDesktopsScreensAnswer) {
    ui::test::AppScope scope;
    ASSERT_GE(Screen->MonitorCount(), 1);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint(TPoint(0, 0), MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(info.rcMonitor.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.rcWork, Screen->WorkAreaRect());
}

}  // namespace
