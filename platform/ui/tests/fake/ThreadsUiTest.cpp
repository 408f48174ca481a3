#include <gtest/gtest.h>

#include <atomic>

#include "platform/rtl/Threads.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

constexpr UINT WM_ASK = WM_USER + 20;

class Answering : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::atomic<bool> OnMain{false};

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_ASK) {
            OnMain = IsMainThread();
            m.Result = 77;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

class Worker : public TThread {
public:
    explicit Worker(std::function<void(Worker&)> body) : TThread(true), FBody(std::move(body)) {}
    ~Worker() override { TerminateAndWaitFor(); }

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(Worker&)> FBody;
};

using ThreadsUiTest = ui::test::AppTest;

}  // namespace

TEST_F(ThreadsUiTest, MainThreadWaitingForAThreadStillAnswersItsSendMessage) {
    Answering control(nullptr);
    HWND h = control.Handle();
    std::atomic<LRESULT> answer{0};
    Worker worker([&](Worker&) { answer = SendMessage(h, WM_ASK, 0, 0); });
    worker.Start();
    worker.WaitFor();  // no message loop here: WaitFor's synchronisation delivers the message
    EXPECT_EQ(answer.load(), 77);
    EXPECT_TRUE(control.OnMain);
}

TEST_F(ThreadsUiTest, SynchronizeAndQueueRunInTheLoop) {
    std::vector<std::string> order;
    std::atomic<bool> synced{false};
    Worker worker([&](Worker& self) {
        self.Queue([&] { order.push_back("queued"); });
        self.Synchronize([&] {
            EXPECT_TRUE(IsMainThread());
            order.push_back("synchronized");
        });
        synced = true;
    });
    Application->OnIdle = [](TObject*, bool& Done) { Done = true; };
    worker.Start();
    // HandleMessage waits after each idle pass; the worker's calls must wake it.
    ui::test::WaitBackstop backstop;
    for (int i = 0; i < 50 && order.size() < 2; ++i) Application->HandleMessage();
    EXPECT_EQ(order, (std::vector<std::string>{"queued", "synchronized"}));
    EXPECT_FALSE(backstop.Fired());
    worker.WaitFor();
    EXPECT_TRUE(synced);
}

TEST_F(ThreadsUiTest, PostThreadMessageReachesTheThreadQueue) {
    std::atomic<DWORD> workerId{0};
    std::atomic<bool> ready{false};
    std::atomic<UINT> got{0};
    Worker worker([&](Worker&) {
        MSG m;
        PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue, as on the platform
        workerId = GetCurrentThreadId();
        ready = true;
        if (GetMessage(&m, nullptr, 0, 0) > 0) got = m.message;
    });
    worker.Start();
    while (!ready) std::this_thread::yield();
    EXPECT_TRUE(PostThreadMessage(workerId, WM_USER + 7, 0, 0));
    worker.WaitFor();
    EXPECT_EQ(got.load(), WM_USER + 7);
    EXPECT_FALSE(PostThreadMessage(0xFFFFFF, WM_USER, 0, 0));
}
