// The flash timer: the tick counter, the client modes, the one instance and the tick thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "controls/instrument/MvFlashT.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

struct Tick {
    WPARAM Counter;
    LPARAM Param;
};

// A control that records the ticks it gets and may run an action inside its handler.
class TickClient : public TControl {
public:
    explicit TickClient(TComponent* owner = nullptr) : TControl(owner) {}
    std::vector<Tick> Ticks;
    std::function<void()> OnTick;
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_FLASHTICK) {
            Ticks.push_back({m.WParam, m.LParam});
            if (OnTick) OnTick();
            return;
        }
        TControl::Dispatch(m);
    }
};

class FlashTimerTest : public ::testing::Test {
protected:
    rtl::ScopedManualClock clock{100000};
    ui::test::AppScope scope;
    std::vector<std::unique_ptr<TickClient>> clients;

    void SetUp() override {
        FlashCounter = 0;
        ui::ClearMessageBoxLog();
    }
    void TearDown() override {
        for (auto& c : clients) UnregisterFlashClient(c.get());
        StopFlashTimer();
        ui::test::AppScope::Reset();
    }
    TickClient* Client(int64_t mode) {
        clients.push_back(std::make_unique<TickClient>());
        RegisterFlashClient(clients.back().get(), mode);
        return clients.back().get();
    }
    // Ticks run by hand: the thread is held so that only these ticks happen.
    void Ticks(int n, uint64_t stepMs = 0) {
        ASSERT_NE(FlashTimer, nullptr);
        FlashTimer->SetEnabled(false);
        for (int i = 0; i < n; ++i) {
            if (stepMs) clock->Advance(stepMs);
            FlashTimer->FlashTick(FlashTimer);
        }
    }
};

TEST_F(FlashTimerTest, MessageNumberAndCounterAfterIncrement) {
    EXPECT_EQ(WM_FLASHTICK, 1124u);
    TickClient* c = Client(2);
    Ticks(4);
    ASSERT_EQ(c->Ticks.size(), 1u);
    EXPECT_EQ(c->Ticks[0].Counter, 4u);
    EXPECT_EQ(c->Ticks[0].Param, 1);
}

TEST_F(FlashTimerTest, ModeTable) {
    struct Row {
        int mode;
        uint32_t every;
    };
    const Row rows[] = {{2, 4}, {3, 8}, {4, 16}, {5, 32}, {6, 64}};
    std::vector<TickClient*> flash;
    for (const Row& r : rows) flash.push_back(Client(r.mode));
    TickClient* second = Client(32);
    Ticks(256, 16);
    for (size_t k = 0; k < std::size(rows); ++k) {
        SCOPED_TRACE(rows[k].mode);
        const auto& t = flash[k]->Ticks;
        ASSERT_EQ(t.size(), 256u / rows[k].every);
        for (size_t j = 0; j < t.size(); ++j) {
            EXPECT_EQ(t[j].Counter, rows[k].every * (j + 1));
            // The first delivery is the bit going on; then it alternates.
            EXPECT_EQ(t[j].Param, j % 2 == 0 ? 1 : 0);
        }
    }
    // 256 ticks of 16 ms are 4096 ms: four one-second ticks, each with LParam 0.
    ASSERT_EQ(second->Ticks.size(), 4u);
    for (const Tick& t : second->Ticks) EXPECT_EQ(t.Param, 0);
    EXPECT_EQ(second->Ticks[0].Counter, 63u);  // 63 x 16 = 1008 ms, the first at or past 1000

    FlashCounter = 4294967295u;
    Ticks(1);
    EXPECT_EQ(FlashCounter, 0u);
}

TEST_F(FlashTimerTest, IntervalClientKeepsItsGridOrStartsANewOne) {
    const int64_t t0 = static_cast<int64_t>(GetTickCount64());
    TickClient* c = Client(100);
    EXPECT_EQ(FlashClients[0]->Due, t0 + 100);
    clock->Advance(120);
    Ticks(1);
    ASSERT_EQ(c->Ticks.size(), 1u);
    EXPECT_EQ(c->Ticks[0].Param, 20);
    EXPECT_EQ(FlashClients[0]->Due, t0 + 200);
    clock->Advance(50);  // t0 + 170: not due
    Ticks(1);
    EXPECT_EQ(c->Ticks.size(), 1u);
    clock->Advance(1530);  // t0 + 1700: 1500 ms late
    Ticks(1);
    ASSERT_EQ(c->Ticks.size(), 2u);
    EXPECT_EQ(c->Ticks[1].Param, 0);
    EXPECT_EQ(FlashClients[0]->Due, t0 + 1800);
}

TEST_F(FlashTimerTest, IntervalClientKeepsItsPeriodAcrossTheWrapOfTheTickCount) {
    clients.clear();
    StopFlashTimer();
    rtl::ScopedManualClock nearWrap{(uint64_t(1) << 32) - 50};
    const int64_t t0 = static_cast<int64_t>(GetTickCount64());
    TickClient* c = Client(100);
    FlashTimer->SetEnabled(false);
    std::vector<int64_t> dues;
    for (int i = 0; i < 50; ++i) {  // 800 ms across the wrap
        nearWrap->Advance(16);
        size_t before = c->Ticks.size();
        FlashTimer->FlashTick(FlashTimer);
        if (c->Ticks.size() != before) dues.push_back(FlashClients[0]->Due);
    }
    ASSERT_GE(dues.size(), 7u);
    for (size_t i = 0; i < dues.size(); ++i) EXPECT_EQ(dues[i], t0 + 100 * static_cast<int64_t>(i + 2));
    for (const Tick& t : c->Ticks) EXPECT_LT(t.Param, 16);
    UnregisterFlashClient(c);
    StopFlashTimer();  // before the clock goes
}

TEST_F(FlashTimerTest, OneSecondClientCatchesUpAfterAStall) {
    TickClient* c = Client(32);
    clock->Advance(3000);
    Ticks(3);
    EXPECT_EQ(c->Ticks.size(), 3u);
    Ticks(1);
    EXPECT_EQ(c->Ticks.size(), 3u);
}

TEST_F(FlashTimerTest, RegisteringTwiceKeepsOneEntryUnregisterRemovesIt) {
    TickClient* a = Client(5);
    TickClient* b = Client(3);
    clock->Advance(40);
    RegisterFlashClient(a, 250);
    ASSERT_EQ(FlashClients.size(), 2u);
    EXPECT_EQ(FlashClients[0]->Control, a);
    EXPECT_EQ(FlashClients[0]->Mode, 250);
    EXPECT_EQ(FlashClients[0]->Due, static_cast<int64_t>(GetTickCount64()) + 250);
    UnregisterFlashClient(a);
    ASSERT_EQ(FlashClients.size(), 1u);
    EXPECT_EQ(FlashClients[0]->Control, b);
    UnregisterFlashClient(a);  // not there: nothing changes
    EXPECT_EQ(FlashClients.size(), 1u);
    RegisterFlashClient(nullptr, 2);
    EXPECT_EQ(FlashClients.size(), 1u);
}

TEST_F(FlashTimerTest, HandlersMayUnregisterAndThrow) {
    TickClient* a = Client(2);
    TickClient* b = Client(2);
    TickClient* c = Client(2);
    TickClient* d = Client(2);
    a->OnTick = [&] { UnregisterFlashClient(a); };
    c->OnTick = [&] { UnregisterFlashClient(d); };
    Ticks(4);
    // a removed itself, so b moved into its place and was passed over this tick; c and d were
    // served in order, d removed by c.
    EXPECT_EQ(a->Ticks.size(), 1u);
    EXPECT_EQ(b->Ticks.size(), 0u);
    EXPECT_EQ(c->Ticks.size(), 1u);
    ASSERT_EQ(FlashClients.size(), 2u);
    Ticks(1);  // b's first phase comes now
    EXPECT_EQ(b->Ticks.size(), 1u);

    UnregisterFlashClient(b);
    UnregisterFlashClient(c);
    FlashCounter = 0;
    TickClient* e = Client(2);
    TickClient* f = Client(2);
    e->OnTick = [] { throw std::runtime_error("client failed"); };
    Ticks(4);
    // e throws; f after it is still served in the same tick.
    EXPECT_EQ(e->Ticks.size(), 1u);
    ASSERT_EQ(f->Ticks.size(), 1u);
    EXPECT_EQ(f->Ticks[0].Counter, 4u);
}

TEST_F(FlashTimerTest, FirstRegistrationStartsTheOneTimer) {
    EXPECT_EQ(FlashTimer, nullptr);
    EXPECT_EQ(FlashTimerInstances(), 0);
    Client(5);
    ASSERT_NE(FlashTimer, nullptr);
    EXPECT_FALSE(FlashTimer->TimerThread()->Suspended());
    TMvFlashTimer* timer = FlashTimer;
    Client(6);
    EXPECT_EQ(FlashTimer, timer);
    EXPECT_EQ(FlashTimerInstances(), 1);

    auto* second = new TMvFlashTimer(nullptr);
    EXPECT_EQ(FlashTimerInstances(), 2);
    ASSERT_EQ(ui::MessageBoxLog().size(), 1u);
    EXPECT_EQ(ui::MessageBoxLog()[0].Text, String("Only one TMvFlashTimer per Application!\rRemove it..."));
    EXPECT_EQ(ui::MessageBoxLog()[0].Caption, String("Error Message"));
    EXPECT_EQ(ui::MessageBoxLog()[0].Flags, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(second->OnTimer());
    EXPECT_TRUE(second->TimerThread()->Suspended());
    second->Free();
    EXPECT_EQ(FlashTimerInstances(), 1);
}

TEST_F(FlashTimerTest, NoTicksWhileTheApplicationIsDestroyed) {
    TickClient* a = Client(2);
    TickClient* b = Client(32);
    Application->Destroying();
    clock->Advance(2000);
    Ticks(8);
    EXPECT_TRUE(a->Ticks.empty());
    EXPECT_TRUE(b->Ticks.empty());
    UnregisterFlashClient(a);
    EXPECT_NE(FlashTimer, nullptr);
    UnregisterFlashClient(b);
    EXPECT_EQ(FlashTimer, nullptr);
    EXPECT_EQ(FlashTimerInstances(), 0);
}

// A timer component driven by its thread on the manual clock.
class FlashThreadTest : public ::testing::Test {
protected:
    rtl::ScopedManualClock clock;
    ui::test::AppScope scope;
    int ticks = 0;

    // The thread may not be waiting yet when the clock moves, so time moves until a tick comes.
    bool TickOnce() {
        int before = ticks;
        for (int i = 0; i < 200 && ticks == before; ++i) {
            clock->Advance(16);
            ui::test::PumpUntil([&] { return ticks > before; }, 20);
        }
        return ticks == before + 1;
    }
    // Time passes and the loop runs, and no tick comes.
    bool StaysQuiet() {
        int before = ticks;
        for (int i = 0; i < 5; ++i) {
            clock->Advance(16);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ui::test::Pump();
        }
        return ticks == before;
    }
};

TEST_F(FlashThreadTest, EnabledStopsAndResumesTheTicks) {
    auto* t = new TMvFlash(nullptr);
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 16u);
    EXPECT_EQ(t->ThreadPriority(), tpNormal);
    EXPECT_TRUE(t->TimerThread()->Suspended());  // no handler, no thread
    EXPECT_TRUE(StaysQuiet());
    t->SetOnTimer([&](TObject* s) {
        EXPECT_EQ(s, t);
        ++ticks;
    });
    EXPECT_FALSE(t->TimerThread()->Suspended());
    ASSERT_TRUE(TickOnce());
    ASSERT_TRUE(TickOnce());
    t->SetEnabled(false);
    EXPECT_TRUE(t->TimerThread()->Suspended());
    EXPECT_TRUE(StaysQuiet());
    t->SetEnabled(true);
    EXPECT_TRUE(TickOnce());
    t->SetOnTimer(nullptr);
    EXPECT_TRUE(t->TimerThread()->Suspended());
    t->Free();
}

TEST_F(FlashThreadTest, TheThreadEndsWithTheApplication) {
    auto* t = new TMvFlash(nullptr);
    t->SetOnTimer([&](TObject*) { ++ticks; });
    ASSERT_TRUE(TickOnce());
    Application->Terminate();
    for (int i = 0; i < 200 && !t->TimerThread()->Finished(); ++i) {
        clock->Advance(16);
        ui::test::PumpUntil([&] { return t->TimerThread()->Finished(); }, 20);
    }
    ASSERT_TRUE(t->TimerThread()->Finished());
    const int before = ticks;
    t->SetEnabled(false);  // an ended thread is neither paused nor started again
    t->SetEnabled(true);
    EXPECT_TRUE(StaysQuiet());
    EXPECT_EQ(ticks, before);
    t->Free();
    ui::test::AppScope::Reset();
}

TEST_F(FlashThreadTest, AThreadThatNeverRanEndsWithItsComponent) {
    auto* t = new TMvFlash(nullptr);
    EXPECT_FALSE(t->TimerThread()->Finished());
    t->Free();
    SUCCEED();  // the point is that freeing returns and leaks nothing (sanitizer build)
}

TEST_F(FlashThreadTest, FreeingWhileATickWaitsForTheMainThread) {
    auto* t = new TMvFlash(nullptr);
    t->SetOnTimer([&](TObject*) { ++ticks; });
    clock->Advance(16);
    // Give the thread time to see the advance and hand its tick over; nothing runs it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    t->Free();
    EXPECT_EQ(ticks, 0);
}

TEST_F(FlashThreadTest, EveryTickIsFollowedByOneIdlePass) {
    FlashCounter = 0;
    TickClient client;
    RegisterFlashClient(&client, 2);
    std::vector<char> log;
    // Time moves by one interval once the pass after the last tick has run, so a slow loop never
    // meets two ticks at once, however loaded the machine: the order is the point, not the pace.
    std::atomic<bool> idleAfterTick{true};
    std::atomic<int> ticksSeen{0};
    Application->OnIdle = [&](TObject*, bool& Done) {
        if (!log.empty() && log.back() == 'T') idleAfterTick = true;
        log.push_back('i');
        Done = true;
    };
    std::atomic<bool> stop{false};
    std::thread advancer([&] {
        while (!stop) {
            if (!idleAfterTick.exchange(false)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const int seen = ticksSeen;
            // The timer's thread may not be waiting yet: time moves again until the tick comes.
            // One interval at a time brings at most one tick: the next wait starts after it.
            while (!stop && ticksSeen == seen) {
                clock->Advance(16);
                for (int i = 0; i < 20 && !stop && ticksSeen == seen; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    uint32_t start = FlashCounter;
    while (FlashCounter - start < 20) {
        uint32_t before = FlashCounter;
        Application->HandleMessage();
        if (FlashCounter != before) {
            log.push_back('T');
            ++ticksSeen;
        }
    }
    Application->HandleMessage();  // the pass after the last tick
    stop = true;
    advancer.join();
    UnregisterFlashClient(&client);
    StopFlashTimer();
    int tickPasses = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] != 'T') continue;
        ++tickPasses;
        ASSERT_LT(i + 1, log.size());
        EXPECT_EQ(log[i + 1], 'i') << "tick pass " << tickPasses;
    }
    EXPECT_EQ(tickPasses, 20);
    EXPECT_EQ(client.Ticks.size(), 5u);  // a flash client of mode 2 every 4 ticks
}

}  // namespace
