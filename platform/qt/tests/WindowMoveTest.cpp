// A window moved or resized from outside the program (the user, the window manager) reaches
// its form as WM_WINDOWPOSCHANGED, through the call-window hooks.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/qt/QtWindow.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Hooks.h"

namespace {

TEST(WindowMoveTest, MovesAndResizesOfTheWindowReachTheHook) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    form->SetBounds(10, 10, 200, 150);
    form->Show();
    ui::test::Pump();
    std::vector<WINDOWPOS> seen;
    HHOOK hook = nullptr;
    hook = SetWindowsHookEx(
        WH_CALLWNDPROC,
        [&](int code, WPARAM w, LPARAM l) {
            const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(l);
            if (cwp->message == WM_WINDOWPOSCHANGED && cwp->hwnd == form->Handle())
                seen.push_back(*reinterpret_cast<const WINDOWPOS*>(cwp->lParam));
            return CallNextHookEx(hook, code, w, l);
        },
        0, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    auto* peer = dynamic_cast<qtb::WidgetPeer*>(form->Peer());
    ASSERT_NE(peer, nullptr);
    QWidget* widget = peer->Widget();

    // The user drags the frame; the form's place is that of its client area, as the layer keeps it.
    widget->move(70, 80);
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Left() != 10; }, 2000));
    EXPECT_EQ(form->Left(), widget->geometry().x());
    EXPECT_EQ(form->Top(), widget->geometry().y());
    EXPECT_GE(form->Left(), 70);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().x, form->Left());
    EXPECT_EQ(seen.back().y, form->Top());
    EXPECT_TRUE(seen.back().flags & SWP_NOSIZE);

    seen.clear();
    widget->resize(260, 190);
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Width() == 260; }, 2000));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().cx, 260);
    EXPECT_EQ(seen.back().cy, 190);

    UnhookWindowsHookEx(hook);
    form->Free();
}

}  // namespace
