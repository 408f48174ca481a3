// The timer component on the manual clock: system timers on its window and worker-thread timers.
#include "controls/instrument/VrThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// Counts every Timer call, muted ones included, and shows what the timer holds.
class ProbeTimer : public TVrTimer {
public:
    using TVrTimer::TVrTimer;
    using TVrTimer::Allocated;
    using TVrTimer::TimerThread;
    using TVrTimer::WindowHandle;
    std::atomic<int> Ticks{0};

protected:
    void Timer() override {
        ++Ticks;
        TVrTimer::Timer();
    }
};

class VrTimerTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    rtl::ScopedManualClock clock;
    ProbeTimer* timer = nullptr;
    std::mutex lock;
    std::vector<uint64_t> fired;  // clock time of each OnTimer
    std::vector<bool> onMain;

    void TearDown() override {
        if (timer) timer->Free();
        win::SetTimersExhausted(false);
    }

    // A timer of the given kind, 100 ms, loaded as a form loads it.
    void Make(TVrTimerType type, bool enabled, bool withHandler = true) {
        timer = new ProbeTimer(nullptr);
        timer->BeginLoading();
        timer->SetTimerType(type);
        timer->SetEnabled(enabled);
        timer->SetInterval(100);
        if (withHandler) timer->OnTimer = Recorder();
        timer->Loaded();
    }
    TNotifyEvent Recorder() {
        return [this](TObject* sender) {
            EXPECT_EQ(sender, timer);
            std::lock_guard<std::mutex> g(lock);
            fired.push_back(rtl::MonotonicMs());
            onMain.push_back(IsMainThread());
        };
    }
    size_t Fired() {
        std::lock_guard<std::mutex> g(lock);
        return fired.size();
    }
    std::vector<uint64_t> Times() {
        std::lock_guard<std::mutex> g(lock);
        return fired;
    }
    // Moves the clock on and lets the timer's due work run: system timers through the loop, a
    // worker until it has delivered `ticks` Timer calls in all.
    void Advance(uint64_t ms, int ticks = -1) {
        if (timer->TimerType() == ttSystem) {
            ui::test::AdvanceClock(*clock, ms);
            return;
        }
        clock->Advance(ms);
        if (ticks >= 0) { EXPECT_TRUE(ui::test::PumpUntil([&] { return timer->Ticks.load() >= ticks; }, 5000)); }
        // A little real time for a tick that should not come.
        ui::test::PumpUntil([] { return false; }, 30);
        if (ticks >= 0) { EXPECT_EQ(timer->Ticks.load(), ticks); }
    }
};

TEST_F(VrTimerTest, DefaultsAndNothingAllocatedBeforeLoaded) {
    timer = new ProbeTimer(nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_TRUE(timer->SyncEvent());
    EXPECT_EQ(timer->TimerType(), ttThread);
    EXPECT_EQ(timer->Priority(), tpNormal);
    EXPECT_EQ(timer->Version(), String("1.4.5"));
    timer->OnTimer = Recorder();  // assigning the handler starts nothing
    EXPECT_FALSE(timer->Allocated());
    EXPECT_EQ(timer->TimerThread(), nullptr);
    EXPECT_EQ(timer->WindowHandle(), nullptr);
    timer->Loaded();
    EXPECT_TRUE(timer->Allocated());
    ASSERT_NE(timer->TimerThread(), nullptr);
    EXPECT_EQ(timer->TimerThread()->Interval(), 1000u);
}

TEST_F(VrTimerTest, SystemTimerEnableMuteRestartAndStop) {
    Make(ttSystem, false);
    EXPECT_TRUE(timer->Allocated());
    EXPECT_TRUE(IsWindow(timer->WindowHandle()));
    Advance(300);
    EXPECT_EQ(Fired(), 0u);
    EXPECT_EQ(timer->Ticks.load(), 0);  // no system timer was set

    timer->SetEnabled(true);  // at 300
    Advance(350);             // 650
    EXPECT_EQ(Times(), (std::vector<uint64_t>{400, 500, 600}));

    timer->SetEnabled(false);  // muted: the system timer goes on
    Advance(200);              // 850: ticks at 700 and 800
    EXPECT_EQ(Fired(), 3u);
    EXPECT_EQ(timer->Ticks.load(), 5);

    timer->SetEnabled(true);  // at 850 the period starts again: 950, not 900
    Advance(60);
    EXPECT_EQ(Fired(), 3u);
    Advance(40);
    EXPECT_EQ(Times(), (std::vector<uint64_t>{400, 500, 600, 950}));
    EXPECT_TRUE(onMain.back());

    timer->SetInterval(0);  // killed and not set again
    EXPECT_EQ(win::NextTimerDue(), rtl::NoDeadline);
    Advance(500);
    EXPECT_EQ(Fired(), 4u);
    EXPECT_TRUE(IsWindow(timer->WindowHandle()));
}

TEST_F(VrTimerTest, RefusedSystemTimerRaisesOutOfResources) {
    Make(ttSystem, true);
    Advance(100);
    EXPECT_EQ(Fired(), 1u);
    win::SetTimersExhausted(true);
    try {
        timer->SetInterval(200);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), String("No timer resources left."));
    }
    EXPECT_TRUE(timer->Allocated());
    EXPECT_TRUE(IsWindow(timer->WindowHandle()));
    EXPECT_EQ(win::NextTimerDue(), rtl::NoDeadline);
    win::SetTimersExhausted(false);
    Advance(500);
    EXPECT_EQ(Fired(), 1u);

    // The same from Loaded.
    timer->Free();
    timer = nullptr;
    win::SetTimersExhausted(true);
    auto* loading = new ProbeTimer(nullptr);
    loading->BeginLoading();
    loading->SetTimerType(ttSystem);
    loading->OnTimer = Recorder();
    EXPECT_THROW(loading->Loaded(), EOutOfResources);
    EXPECT_TRUE(IsWindow(loading->WindowHandle()));
    loading->Free();
}

TEST_F(VrTimerTest, ThreadTimerEnableMuteRestartAndPause) {
    Make(ttThread, false);
    ASSERT_NE(timer->TimerThread(), nullptr);
    Advance(300, 0);
    EXPECT_EQ(Fired(), 0u);

    timer->SetEnabled(true);  // at 300
    Advance(100, 1);
    Advance(100, 2);
    Advance(50, 2);            // 550
    timer->SetEnabled(false);  // muted, the worker goes on
    Advance(50, 3);            // 600
    Advance(100, 4);           // 700
    EXPECT_EQ(Fired(), 2u);
    Advance(50, 4);           // 750
    timer->SetEnabled(true);  // the period starts again: 850, not 800
    Advance(50, 4);
    Advance(50, 5);
    EXPECT_EQ(Times(), (std::vector<uint64_t>{400, 500, 850}));
    EXPECT_EQ(onMain, (std::vector<bool>{true, true, true}));

    timer->SetInterval(0);  // the worker stays paused
    EXPECT_TRUE(timer->TimerThread()->Suspended());
    Advance(500, 5);
    timer->SetInterval(100);  // and goes again
    Advance(100, 6);
    EXPECT_EQ(Fired(), 4u);
}

TEST_F(VrTimerTest, ThreadTimerWithoutSyncRunsOnTheWorker) {
    Make(ttThread, true);
    timer->SetSyncEvent(false);
    timer->SetEnabled(false);
    timer->SetEnabled(true);
    clock->Advance(100);
    // Nobody pumps the loop: the worker delivers by itself.
    for (int i = 0; i < 2500 && Fired() < 1; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(Fired(), 1u);
    EXPECT_FALSE(onMain[0]);
}

TEST_F(VrTimerTest, HandlerAssignedAtRunTimeStartsWithTheNextUpdate) {
    for (TVrTimerType type : {ttSystem, ttThread}) {
        SCOPED_TRACE(type == ttSystem ? "system" : "thread");
        Make(type, true, false);
        timer->OnTimer = Recorder();
        Advance(300, 0);
        EXPECT_EQ(Fired(), 0u);
        timer->SetEnabled(false);
        timer->SetEnabled(true);
        Advance(100, 1);
        EXPECT_EQ(Fired(), 1u);
        timer->Free();
        timer = nullptr;
        fired.clear();
        onMain.clear();
    }
}

TEST_F(VrTimerTest, SwitchingTheKindWhileEnabled) {
    Make(ttSystem, true);
    Advance(200);
    EXPECT_EQ(Fired(), 2u);
    HWND window = timer->WindowHandle();

    timer->SetTimerType(ttThread);  // at 200
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(timer->WindowHandle(), nullptr);
    EXPECT_EQ(win::NextTimerDue(), rtl::NoDeadline);
    ASSERT_NE(timer->TimerThread(), nullptr);
    int base = timer->Ticks.load();
    Advance(100, base + 1);
    Advance(100, base + 2);
    EXPECT_EQ(Times(), (std::vector<uint64_t>{100, 200, 300, 400}));

    timer->SetTimerType(ttSystem);  // at 400
    EXPECT_EQ(timer->TimerThread(), nullptr);
    EXPECT_TRUE(IsWindow(timer->WindowHandle()));
    Advance(200);
    // A word from the worker would have come in this real-time pause.
    ui::test::PumpUntil([] { return false; }, 30);
    EXPECT_EQ(Times(), (std::vector<uint64_t>{100, 200, 300, 400, 500, 600}));
}

TEST_F(VrTimerTest, ExceptionsInTheHandlerReachTheApplication) {
    struct Kind { TVrTimerType type; bool sync; };
    for (Kind k : {Kind{ttSystem, true}, Kind{ttThread, true}, Kind{ttThread, false}}) {
        SCOPED_TRACE(testing::Message() << "type " << k.type << " sync " << k.sync);
        std::vector<bool> handledOnMain;
        Application->OnException = [&](TObject* sender, Exception& e) {
            EXPECT_EQ(sender, timer);
            EXPECT_EQ(e.Message(), String("boom"));
            handledOnMain.push_back(IsMainThread());
        };
        Make(k.type, true, false);
        timer->SetSyncEvent(k.sync);
        std::atomic<int> calls{0};
        timer->OnTimer = [&](TObject*) {
            ++calls;
            throw Exception(String("boom"));
        };
        timer->SetEnabled(false);
        timer->SetEnabled(true);
        Advance(100, timer->Ticks.load() + 1);
        ASSERT_TRUE(ui::test::PumpUntil([&] { return handledOnMain.size() >= 1; }, 5000));
        Advance(100, timer->Ticks.load() + 1);  // still running
        ASSERT_TRUE(ui::test::PumpUntil([&] { return handledOnMain.size() >= 2; }, 5000));
        EXPECT_EQ(calls.load(), 2);
        EXPECT_EQ(handledOnMain, (std::vector<bool>{true, true}));
        timer->Free();
        timer = nullptr;
        Application->OnException = nullptr;
    }
}

}  // namespace
