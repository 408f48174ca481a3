// A loop of Qt's own (a dialog's exec) runs the library's work while it waits: posted messages,
// timers and other threads' Synchronize calls, as the loop of a message box does on the platform.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/rtl/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

class Poster : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Got = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_APP) ++Got;
        else TCustomControl::Dispatch(m);
    }
};

TEST(ForeignLoopTest, AQtLoopRunsTheLibrarysMessagesTimersAndSynchronizeCalls) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    auto* poster = new Poster(form);
    poster->SetParent(form);
    form->Show();
    ui::test::Pump();
    int ticks = 0;
    auto* timer = new TTimer(form);
    timer->SetInterval(30);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    std::atomic<bool> synchronized{false};
    std::thread worker;
    QEventLoop loop;
    QTimer backstop;
    backstop.setSingleShot(true);
    QObject::connect(&backstop, &QTimer::timeout, &loop, &QEventLoop::quit);
    {
        ui::ForeignLoop foreign;
        // Posted while the loop runs, from this thread and from another one.
        QTimer::singleShot(10, [&] {
            PostMessage(poster->Handle(), WM_APP, 0, 0);
            timer->SetEnabled(true);
            worker = std::thread([&] { TThread::Synchronize(nullptr, [&] { synchronized = true; }); });
        });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (poster->Got == 1 && ticks >= 2 && synchronized) loop.quit();
        });
        watch.start(5);
        backstop.start(5000);
        loop.exec();
    }
    if (worker.joinable()) {
        // Had the loop not served it, the worker still waits: the library's own loop ends it.
        ui::test::PumpUntil([&] { return synchronized.load(); }, 2000);
        worker.join();
    }
    EXPECT_EQ(poster->Got, 1);
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(synchronized.load());
    EXPECT_TRUE(backstop.isActive()) << "the loop ran to its backstop";
    timer->SetEnabled(false);
    form->Free();
}

}  // namespace
