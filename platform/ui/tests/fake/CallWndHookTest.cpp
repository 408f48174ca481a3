// Call-window hooks see the messages delivered to windows of the thread, a form's moves among them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Threads.h"
#include "platform/win/Hooks.h"
#include "platform/win/Window.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

struct Seen {
    UINT message;
    HWND hwnd;
    WINDOWPOS pos;
};

class CallWndHookTest : public ui::test::FormTest {
protected:
    std::vector<HHOOK> hooks;
    void TearDown() override {
        for (HHOOK h : hooks) UnhookWindowsHookEx(h);
        FormTest::TearDown();
    }
    // A hook that records the window-position messages and passes every message on.
    HHOOK Record(std::vector<Seen>& seen, HHOOK* self) {
        HHOOK h = SetWindowsHookEx(
            WH_CALLWNDPROC,
            [&seen, self](int code, WPARAM w, LPARAM l) {
                const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(l);
                if (cwp->message == WM_WINDOWPOSCHANGING || cwp->message == WM_WINDOWPOSCHANGED)
                    seen.push_back({cwp->message, cwp->hwnd, *reinterpret_cast<const WINDOWPOS*>(cwp->lParam)});
                return CallNextHookEx(*self, code, w, l);
            },
            0, GetCurrentThreadId());
        hooks.push_back(h);
        *self = h;
        return h;
    }
};

TEST_F(CallWndHookTest, HookSeesAFormMovedBySetBounds) {
    form->Show();
    ui::test::Pump();
    std::vector<Seen> seen;
    HHOOK self = nullptr;
    ASSERT_NE(Record(seen, &self), nullptr);
    form->SetBounds(30, 40, 300, 200);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_WINDOWPOSCHANGING);
    EXPECT_EQ(seen[1].message, WM_WINDOWPOSCHANGED);
    EXPECT_EQ(seen[1].hwnd, form->Handle());
    EXPECT_EQ(seen[1].pos.x, 30);
    EXPECT_EQ(seen[1].pos.y, 40);
    EXPECT_EQ(seen[1].pos.cx, 300);
    EXPECT_EQ(seen[1].pos.cy, 200);
    EXPECT_FALSE(seen[1].pos.flags & SWP_NOMOVE);
    EXPECT_FALSE(seen[1].pos.flags & SWP_NOSIZE);

    seen.clear();
    form->SetLeft(50);  // a move alone
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].pos.flags & SWP_NOSIZE);
    EXPECT_FALSE(seen[1].pos.flags & SWP_NOMOVE);

    seen.clear();
    form->SetBounds(50, 40, 300, 200);  // no change, no message
    EXPECT_TRUE(seen.empty());
}

class PositionKeeper : public TForm {
public:
    using TForm::TForm;
    std::vector<TRect> changed;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
            pos->cx = std::max(pos->cx, 150);  // a handler may change the place before it is taken
        } else if (m.Msg == WM_WINDOWPOSCHANGED) {
            auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            changed.push_back(TRect(pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy));
        }
        TForm::WndProc(m);
    }
};

TEST_F(CallWndHookTest, FormTakesThePlaceItsHandlerChose) {
    auto* f = new PositionKeeper(nullptr);
    f->SetBounds(0, 0, 200, 100);
    f->Show();
    ui::test::Pump();
    f->changed.clear();
    f->SetBounds(10, 10, 80, 100);
    EXPECT_EQ(f->Width(), 150);
    ASSERT_EQ(f->changed.size(), 1u);
    EXPECT_EQ(f->changed[0], TRect(10, 10, 160, 110));
    f->Free();
}

TEST_F(CallWndHookTest, NextHookIsReachedAndUnhookedProceduresHearNothing) {
    form->Show();
    ui::test::Pump();
    std::vector<Seen> first, second;
    HHOOK a = nullptr, b = nullptr;
    Record(first, &a);
    Record(second, &b);  // newest: called first, passes on to the first
    form->SetBounds(5, 5, 250, 180);
    EXPECT_EQ(first.size(), 2u);
    EXPECT_EQ(second.size(), 2u);

    ASSERT_EQ(UnhookWindowsHookEx(b), TRUE_);
    EXPECT_EQ(UnhookWindowsHookEx(b), FALSE_);
    form->SetBounds(6, 6, 250, 180);
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(second.size(), 2u);

    ASSERT_EQ(UnhookWindowsHookEx(a), TRUE_);
    hooks.clear();
    form->SetBounds(7, 7, 250, 180);
    SendMessage(form->Handle(), WM_NULL, 0, 0);
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(second.size(), 2u);
}

TEST_F(CallWndHookTest, HookSeesSentMessagesBeforeTheWindowProcedure) {
    std::vector<std::string> order;
    HWND wnd = win::CreateWindowHandle([&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == WM_USER + 1) order.push_back("window");
        return 0;
    });
    HHOOK h = SetWindowsHookEx(
        WH_CALLWNDPROC,
        [&](int, WPARAM w, LPARAM l) -> LRESULT {
            const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(l);
            if (cwp->message == WM_USER + 1) order.push_back(w ? "hook, sent here" : "hook");
            return 0;
        },
        0, GetCurrentThreadId());
    hooks.push_back(h);
    SendMessage(wnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(order, (std::vector<std::string>{"hook, sent here", "window"}));
    DestroyWindow(wnd);

    // Only the calling thread's own call-window hooks are taken.
    EXPECT_EQ(SetWindowsHookEx(WH_CALLWNDPROC, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_HOOK_NEEDS_HMOD);
    EXPECT_EQ(SetWindowsHookEx(2, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, 0, GetCurrentThreadId()), nullptr);
    EXPECT_EQ(SetWindowsHookEx(WH_CALLWNDPROC, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, 0,
                               GetCurrentThreadId() + 1),
              nullptr);
}

}  // namespace
