#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

// Pumps the calling thread's queue until `done` holds (the worker side of a cross-thread test).
void PumpUntil(const std::function<bool()>& done) {
    rtl::test::Await(done, "the worker", 10000, [] {
        MSG m;
        if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
}

}  // namespace

TEST(WindowMessages, SendOnSameThreadCallsProcedureDirectly) {
    std::vector<UINT> seen;
    HWND h = AllocateHWnd([&](TMessage& m) {
        seen.push_back(m.Msg);
        m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
    });
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 40, 2), 42);
    EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 1});
    DeallocateHWnd(h);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 40, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(WindowMessages, SendFromWorkerReturnsOwnersResultAndBlocksUntilHandled) {
    std::atomic<bool> handledOnOwner{false};
    auto owner = std::this_thread::get_id();
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER + 5) {
            handledOnOwner = std::this_thread::get_id() == owner;
            EXPECT_TRUE(InSendMessage());
            m.Result = 0x1234;
        }
    });
    std::atomic<LRESULT> result{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        EXPECT_FALSE(InSendMessage());
        result = SendMessage(h, WM_USER + 5, 0, 0);
        finished = true;
    });
    PumpUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_TRUE(handledOnOwner);
    EXPECT_EQ(result.load(), 0x1234);
    EXPECT_FALSE(InSendMessage());
    DeallocateHWnd(h);
}

TEST(WindowMessages, ReplyMessageReleasesTheSenderEarly) {
    std::atomic<bool> senderReleased{false};
    std::atomic<bool> handlerSawRelease{false};
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg != WM_USER + 1) return;
        ReplyMessage(7);
        // The sender goes on while this handler still runs.
        for (int i = 0; i < 5000 && !senderReleased; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        handlerSawRelease = senderReleased.load();
        m.Result = 99;  // too late: the reply was given
    });
    std::atomic<LRESULT> result{0};
    std::thread worker([&] {
        result = SendMessage(h, WM_USER + 1, 0, 0);
        senderReleased = true;
    });
    PumpUntil([&] { return senderReleased.load(); });
    worker.join();
    EXPECT_TRUE(handlerSawRelease);
    EXPECT_EQ(result.load(), 7);
    DeallocateHWnd(h);
}

TEST(WindowMessages, PostedMessagesArriveInOrderThroughTheQueue) {
    std::vector<WPARAM> order;
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER) order.push_back(m.WParam);
    });
    std::thread worker([&] {
        for (WPARAM i = 1; i <= 3; ++i) PostMessage(h, WM_USER, i, 0);
    });
    worker.join();
    EXPECT_TRUE(order.empty());  // nothing runs before the owner takes its messages
    MSG m;
    EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 1u);
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    EXPECT_EQ(order, (std::vector<WPARAM>{1, 2, 3}));
    // A destroyed window's queued messages are dropped with it.
    PostMessage(h, WM_USER, 9, 0);
    DeallocateHWnd(h);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST(WindowMessages, QuitMessageEndsGetMessage) {
    PostQuitMessage(3);
    MSG m;
    EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), 0);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
}

TEST(WindowMessages, RegisteredMessagesShareNumbersByName) {
    UINT a = RegisterWindowMessage(String("WorkbenchPing"));
    UINT b = RegisterWindowMessage(String("workbenchping"));
    UINT c = RegisterWindowMessage(String("WorkbenchPong"));
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(RegisterWindowMessage(String()), 0u);
}

TEST(WindowTimers, FireOnTheManualClockAndCollapseMissedPeriods) {
    rtl::ScopedManualClock clock;
    int ticks = 0;
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == 7) ++ticks;
    });
    ASSERT_NE(SetTimer(h, 7, 100, nullptr), 0u);
    auto pump = [] {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    };
    for (int i = 0; i < 30; ++i) {
        clock->Advance(10);
        pump();
    }
    EXPECT_EQ(ticks, 3);
    // A stall of several periods gives one message, and the grid stays: next at 500.
    clock->Advance(150);  // now 450
    pump();
    EXPECT_EQ(ticks, 4);
    clock->Advance(40);
    pump();
    EXPECT_EQ(ticks, 4);
    clock->Advance(10);
    pump();
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(win::NextTimerDue(), 600u);
    EXPECT_TRUE(KillTimer(h, 7));
    clock->Advance(1000);
    pump();
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(KillTimer(h, 7));
    DeallocateHWnd(h);
}

TEST(WindowTimers, GetMessageWaitsForATimerOnTheManualClock) {
    rtl::ScopedManualClock clock;
    HWND h = AllocateHWnd([](TMessage&) {});
    SetTimer(h, 1, 50, nullptr);
    std::atomic<bool> stop{false};
    std::thread advancer([&] {
        while (!stop) {
            clock->Advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    MSG m;
    EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
    stop = true;
    advancer.join();
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 1u);
    DeallocateHWnd(h);
}

TEST(KeyState, ReflectsWhatTheBackendReports) {
    win::ClearKeyState();
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    win::SetKeyState(VK_SHIFT, true);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);  // high bit set: down
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    win::SetKeyState(VK_SHIFT, false);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1);  // toggled by the press
    win::ClearKeyState();
}

TEST(KeyState, TheSidesOfShiftAndCtrlFollowTheGenericKeyWhereTheSideIsUnknown) {
    struct Step {
        int vk;
        bool down;
        bool generic, left, right;  // down afterwards
    };
    for (auto [generic, left, right] : {std::tuple{VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, std::tuple{VK_SHIFT, VK_LSHIFT, VK_RSHIFT}}) {
        SCOPED_TRACE(generic);
        win::ClearKeyState();
        const Step steps[] = {
            {right, true, true, false, true},     // the right key alone
            {generic, true, true, false, true},   // the modifiers of later input change nothing
            {left, true, true, true, true},
            {right, false, true, true, false},    // the left one still holds it
            {left, false, false, false, false},
            {generic, true, true, true, true},    // a keyboard that does not tell the side
            {generic, false, false, false, false},
            {left, true, true, true, false},
            {generic, false, false, false, false},  // released, whichever side it was
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(&s - steps);
            win::SetKeyState(s.vk, s.down);
            EXPECT_EQ(GetKeyState(generic) < 0, s.generic);
            EXPECT_EQ(GetKeyState(left) < 0, s.left);
            EXPECT_EQ(GetKeyState(right) < 0, s.right);
        }
    }
    win::ClearKeyState();
}

TEST(MessageBeepTest, IsRecorded) {
    win::ResetMessageBeeps();
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(MB_OK);
    EXPECT_EQ(win::MessageBeepCount(), 2);
    EXPECT_EQ(win::LastMessageBeepType(), MB_OK);
}

TEST(WindowTimers, ExhaustedTimersAreRefused) {
    rtl::ScopedManualClock clock;
    HWND h = AllocateHWnd([](TMessage&) {});
    win::SetTimersExhausted(true);
    SetLastError(0);
    EXPECT_EQ(SetTimer(h, 1, 100, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_NO_SYSTEM_RESOURCES);
    EXPECT_EQ(win::NextTimerDue(), rtl::NoDeadline);
    win::SetTimersExhausted(false);
    EXPECT_EQ(SetTimer(h, 1, 100, nullptr), 1u);
    EXPECT_EQ(win::NextTimerDue(), 100u);
    DeallocateHWnd(h);
    // The error the components raise for it is an out-of-memory kind.
    try {
        throw EOutOfResources(String("No timer resources left."));
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.ClassName(), "EOutOfResources");
    }
}

TEST(MulDivTest, RoundsHalfAwayFromZeroAndAnswersMinusOneForNoResult) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {64, 127, 993, 8},      // 8.19
        {127, 993, 127, 993},   // exact
        {1, 1, 2, 1},           // half rounds up
        {-1, 1, 2, -1},         // and away from zero below it
        {3, -1, 2, -2},
        {INT32_MAX, 2, 2, INT32_MAX},  // the product is taken in 64 bits
        {5, 7, 0, -1},
        {INT32_MAX, INT32_MAX, 1, -1},
    };
    for (const Case& t : cases) EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << " " << t.b << " " << t.c;
}
