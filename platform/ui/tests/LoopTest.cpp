#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 10;

class ProbeControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::thread::id HandledOn;
    int Probes = 0;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_PROBE) {
            ++Probes;
            HandledOn = std::this_thread::get_id();
            Message.Result = static_cast<LRESULT>(Message.WParam * 2);
            return;
        }
        TCustomControl::Dispatch(Message);
    }
};

using LoopTest = ui::test::AppTest;

}  // namespace

TEST_F(LoopTest, IdleRunsWhileDoneIsFalseAndStopsAtTheFirstTrue) {
    Application->ProcessMessages();  // start from an empty queue
    int passes = 0;
    Application->OnIdle = [&](TObject* sender, bool& Done) {
        EXPECT_EQ(sender, static_cast<TApplication*>(Application));
        ++passes;
        Done = passes >= 3;
    };
    int ran = ui::test::Pump(100);
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(ran, 3);  // the third pass would have waited
    // The next message brings the next idle pass.
    PostMessage(Application->Handle(), WM_NULL, 0, 0);
    ui::test::Pump(100);
    EXPECT_EQ(passes, 4);
}

TEST_F(LoopTest, ProcessMessagesInsideAHandlerNeverRunsTheIdleEvent) {
    Application->ProcessMessages();
    int idle = 0;
    Application->OnIdle = [&](TObject*, bool& Done) {
        ++idle;
        Done = true;
    };
    std::vector<int> order;
    int idleSeenInside = -1;
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg != WM_USER) return;
        order.push_back(static_cast<int>(m.WParam));
        if (m.WParam == 1) {
            int before = idle;
            Application->ProcessMessages();  // handles message 2 here
            idleSeenInside = idle - before;
        }
    });
    PostMessage(h, WM_USER, 1, 0);
    PostMessage(h, WM_USER, 2, 0);
    ui::test::Pump(100);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(idleSeenInside, 0);
    EXPECT_EQ(idle, 1);  // once the queue was empty
    DeallocateHWnd(h);
}

TEST_F(LoopTest, PerformReachesTheHandlerAtOnce) {
    ProbeControl c(nullptr);
    EXPECT_EQ(c.Perform(WM_PROBE, 21, 0), 42);
    EXPECT_EQ(c.Probes, 1);
    // Through the control's window, on the same thread, it is just as direct.
    EXPECT_EQ(SendMessage(c.Handle(), WM_PROBE, 5, 0), 10);
    EXPECT_EQ(c.Probes, 2);
}

TEST_F(LoopTest, SendMessageFromAWorkerIsHandledOnTheUiThread) {
    ProbeControl c(nullptr);
    HWND h = c.Handle();
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessage(h, WM_PROBE, 50, 0);
        done = true;
    });
    EXPECT_TRUE(ui::test::PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result.load(), 100);
    EXPECT_EQ(c.HandledOn, std::this_thread::get_id());
}

TEST_F(LoopTest, PostedMessageFromAWorkerWakesAWaitingLoop) {
    std::atomic<bool> handled{false};
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER + 3) handled = true;
    });
    Application->OnIdle = [](TObject*, bool& Done) { Done = true; };
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessage(h, WM_USER + 3, 0, 0);
    });
    // HandleMessage waits after the idle pass; the post must end that wait.
    ui::test::WaitBackstop backstop;
    for (int i = 0; i < 10 && !handled; ++i) Application->HandleMessage();
    worker.join();
    EXPECT_TRUE(handled);
    EXPECT_FALSE(backstop.Fired());  // the post woke the loop, not the backstop
    DeallocateHWnd(h);
}

TEST_F(LoopTest, TimerFiresOncePerIntervalOnTheManualClock) {
    rtl::ScopedManualClock clock;
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    timer.SetInterval(100);
    ui::test::AdvanceClock(*clock, 300);
    EXPECT_EQ(ticks, 3);
    ui::test::AdvanceClock(*clock, 99);
    EXPECT_EQ(ticks, 3);
    // A loop that was away for several intervals gets one tick, as on the platform.
    clock->Advance(500);
    ui::test::Pump();
    EXPECT_EQ(ticks, 4);
    timer.SetEnabled(false);
    ui::test::AdvanceClock(*clock, 1000);
    EXPECT_EQ(ticks, 4);
    timer.SetEnabled(true);  // starts a new period
    ui::test::AdvanceClock(*clock, 100);
    EXPECT_EQ(ticks, 5);
}

TEST_F(LoopTest, ExceptionsFromHandlersReachOnExceptionAndTheLoopGoesOn) {
    rtl::ScopedManualClock clock;
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw EConvertError(String("bad value"));
    };
    std::vector<String> seen;
    Application->OnException = [&](TObject* sender, Exception& e) {
        EXPECT_EQ(sender, &timer);
        seen.push_back(e.Message());
    };
    ui::test::AdvanceClock(*clock, 200);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(seen, (std::vector<String>{String("bad value"), String("bad value")}));
}

TEST_F(LoopTest, WithoutOnExceptionTheErrorIsShownInAMessageBox) {
    std::vector<ui::MessageBoxCall> calls;
    ui::SetMessageBoxHook([&](const ui::MessageBoxCall& c) {
        calls.push_back(c);
        return IDOK;
    });
    HWND h = AllocateHWnd([](TMessage& m) {
        if (m.Msg == WM_USER) throw EAbort(String("quiet"));
        if (m.Msg == WM_USER + 1) throw EConvertError(String("'x' is not a valid integer value"));
    });
    PostMessage(h, WM_USER, 0, 0);      // EAbort is silent
    PostMessage(h, WM_USER + 1, 0, 0);
    ui::test::Pump(10);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, String("'x' is not a valid integer value."));
    EXPECT_EQ(calls[0].Flags & 0xF0, MB_ICONSTOP);
    DeallocateHWnd(h);
}

TEST_F(LoopTest, MessageBoxAnswersFromTheHookAndIsRecorded) {
    ui::SetMessageBoxHook([](const ui::MessageBoxCall& c) { return (c.Flags & 0x0F) == MB_YESNO ? IDNO : IDOK; });
    EXPECT_EQ(Application->MessageBox(String("Save?"), String("Q"), MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(Application->MessageBox(String("Done"), String("I"), MB_OK), IDOK);
    ASSERT_EQ(ui::MessageBoxLog().size(), 2u);
    EXPECT_EQ(ui::MessageBoxLog()[0].Text, String("Save?"));
    // Headless without a hook: never blocks, answers with the first button.
    ui::SetMessageBoxHook(nullptr);
    EXPECT_EQ(Application->MessageBox(String("Go on?"), String("Q"), MB_YESNOCANCEL), IDYES);
}

TEST_F(LoopTest, RunShowsTheMainFormAndFreesTheFormsWhenTerminated) {
    TForm* main = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    std::vector<std::string> destroyed;
    bool appDestroyingSeen = false;
    main->OnDestroy = [&](TObject*) {
        destroyed.push_back("main");
        appDestroyingSeen = Application->ComponentState().Contains(csDestroying);
    };
    second->OnDestroy = [&](TObject*) { destroyed.push_back("second"); };
    bool shownWhenIdle = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        shownWhenIdle = main->Visible();
        main->Close();  // closing the main form ends the program
    };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(shownWhenIdle);
    EXPECT_EQ(destroyed, (std::vector<std::string>{"second", "main"}));
    EXPECT_TRUE(appDestroyingSeen);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}
