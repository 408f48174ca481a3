#include "platform/ui/ExtCtrls.h"

#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    UpdateTimer();
}

TTimer::~TTimer() {
    FEnabled = false;
    KillTimer(FWindowHandle, kTimerId);
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT value) {
    if (FInterval == value) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(FWindowHandle, kTimerId);
    // Setting the timer again restarts its period, as the platform does.
    if (FEnabled && FInterval != 0) SetTimer(FWindowHandle, kTimerId, FInterval, nullptr);
}

void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
}

void TTimer::Timer() {
    if (FEnabled && OnTimer && !ComponentState().Contains(csDestroying)) OnTimer(this);
}
