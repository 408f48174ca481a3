#pragma once
// TTimer: OnTimer every Interval milliseconds on the UI thread, on the process clock.
#include "platform/ui/Controls.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    UINT Interval() const { return FInterval; }
    void SetInterval(UINT value);
    // Ticks come while Enabled and Interval > 0; a tick without handler does nothing.
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    bool FEnabled = true;
    UINT FInterval = 1000;
    HWND FWindowHandle = nullptr;
};
