#include "platform/ui/testing/TestSupport.h"

#include <chrono>
#include <thread>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace ui::test {

int Pump(int passes) {
    Application->Initialize();
    int n = 0;
    while (n < passes) {
        ++n;
        if (!Application->HandleMessageNoWait()) break;
    }
    return n;
}

bool PumpUntil(const std::function<bool()>& cond, int timeoutMs) {
    Application->Initialize();
    return rtl::test::Eventually(cond, timeoutMs, [] {
        if (!Application->HandleMessageNoWait()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
}

void AdvanceClock(rtl::ManualClock& clock, uint64_t ms) {
    Application->Initialize();
    uint64_t target = clock.MonotonicMs() + ms;
    Pump();
    for (;;) {
        uint64_t now = clock.MonotonicMs();
        uint64_t due = win::NextTimerDue();
        uint64_t next = std::min(due, target);
        if (next > now) clock.Advance(next - now);
        Pump();
        if (next >= target) break;
    }
}

WaitBackstop::WaitBackstop(int ms) : FDue(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {
    FWindow = AllocateHWnd([](TMessage&) {});
    SetTimer(FWindow, 1, static_cast<UINT>(ms), nullptr);
}

bool WaitBackstop::Fired() const { return std::chrono::steady_clock::now() >= FDue; }

WaitBackstop::~WaitBackstop() {
    KillTimer(FWindow, 1);
    DeallocateHWnd(FWindow);
}

ScreenLayoutScope::ScreenLayoutScope(std::vector<ScreenArea> layout) { SetScreenLayout(std::move(layout)); }
ScreenLayoutScope::~ScreenLayoutScope() { SetScreenLayout({}); }

AppScope::AppScope() {
    Application->Initialize();
    Reset();
}

AppScope::~AppScope() {
    Reset();
    SetMessageBoxHook(nullptr);
    ClearMessageBoxLog();
    win::ClearKeyState();
}

void AppScope::Reset() {
    TApplication& app = *Application;
    app.FComponentState >> csDestroying;
    app.OnIdle = nullptr;
    app.OnException = nullptr;
    app.OnActivate = nullptr;
    app.OnDeactivate = nullptr;
    app.FTerminated = false;
    app.FMainForm = nullptr;
    app.FMouseControl = nullptr;
    rtl::SetIsLibrary(false);
    MSG m;
    while (PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace ui::test
