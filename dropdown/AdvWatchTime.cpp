// Unit AdvWatch: how the clock's time changes: by program, by clicks and keys, step by step
// while animated, and by itself while it runs.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "dropdown/AdvWatch.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Math.h"
#include "platform/ui/Gdi.h"

namespace {

// Sets a flag for the length of a scope, an exception included.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~FlagScope() { FFlag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& FFlag;
};

struct TimeParts {
    WORD h = 0, m = 0, s = 0, ms = 0;
};

TimeParts Split(TDateTime t) {
    TimeParts p;
    DecodeTime(t, p.h, p.m, p.s, p.ms);
    return p;
}

// One animation step of value toward target, by step (at least one); false when it is there.
// Up also when wrapUp (the minute that runs forward through 59 to 0).
bool StepToward(int& value, int target, int step, bool wrapUp) {
    if (value > target - 1 && value < target + 1) {
        value = target;
        return false;
    }
    step = std::max(step, 1);
    value += (value < target || wrapUp) ? step : -step;
    return true;
}

}  // namespace

TDateTime TAdvWatch::GetCurrentTime() const {
    if (FSettings->Auto()) return ::Now() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void TAdvWatch::SetTime(TDateTime Value) {
    if (Value == FTime) return;
    StoreTime(Value);
    RepaintHands();
}

void TAdvWatch::StoreTime(TDateTime t) {
    if (t == FTime) return;
    FTime = t;
    FlagScope internal(FInternalSet);
    SetAM(Split(t).h < 12);
}

void TAdvWatch::SetAM(bool Value) {
    if (FAM == Value) return;
    FAM = Value;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet) ScrollAMPM(Value);
    PaintAll();
}

void TAdvWatch::FollowRunningHour() {
    if (!FSettings->Auto()) return;
    FlagScope internal(FInternalSet);
    SetAM(Split(GetCurrentTime()).h < 12);
}

void TAdvWatch::FireChange() {
    if (OnChange) OnChange(this);
}

bool TAdvWatch::Animating() const {
    return FAnimation && !FInternalCall && !ComponentState().Contains(csDesigning) &&
           !ComponentState().Contains(csLoading);
}

void TAdvWatch::SetHour(uint8_t Value) {
    TimeParts now = Split(GetCurrentTime());
    if (Value == now.h) return;
    if (Animating()) {
        // A target the steps could never store is refused before anything starts.
        EncodeTime(Value, 0, 0, 0);
        FCurrentHourTo = Value;
        FHourAnimating = true;
        FAnimationTimer->SetEnabled(true);
        return;
    }
    StoreTime(EncodeTime(Value, now.m, now.s, now.ms));
    RepaintHands();
    if (Value == FCurrentHourTo) FireChange();
}

void TAdvWatch::SetMinute(uint8_t Value) {
    TimeParts now = Split(GetCurrentTime());
    if (Value >= 60) throw Exception(String("Invalid time"));
    if (Value == now.m) return;
    if (Animating()) {
        FCurrentMinuteTo = Value;
        FHourAnimating = false;
        FMinuteFrom = static_cast<uint8_t>(now.m);
        FAnimationTimer->SetEnabled(true);
        return;
    }
    if (!FAnimation) FMinuteFrom = static_cast<uint8_t>(now.m);
    int hour = now.h;
    if (Value == 0 && FMinuteFrom > 30) {
        // The full hour after the minutes past half.
        hour = (hour + 1) % 24;
        FMinuteFrom = 0;
    }
    StoreTime(EncodeTime(hour, Value, now.s, now.ms));
    RepaintHands();
    if (Value == FCurrentMinuteTo) FireChange();
}

void TAdvWatch::UserSetHour(uint8_t Value, bool immediate) {
    if (Value == Split(GetCurrentTime()).h) return;
    // The target is the value itself, so that the change is heard when it is done also without
    // an animation.
    FCurrentHourTo = Value;
    if (immediate) {
        FlagScope internal(FInternalCall);
        SetHour(Value);
    } else {
        SetHour(Value);
    }
}

void TAdvWatch::UserSetMinute(uint8_t Value) {
    if (Value == Split(GetCurrentTime()).m) return;
    FCurrentMinuteTo = Value;
    SetMinute(Value);
}

void TAdvWatch::AnimationTimerTick(TObject*) {
    if (!FAnimation || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    TimeParts now = Split(GetCurrentTime());
    const double factor = std::max(FAnimationFactor, 1);
    if (FHourAnimating) {
        int h = now.h;
        int step = static_cast<int>(Round(std::abs(FCurrentHourTo - h) / factor));
        bool moved = StepToward(h, FCurrentHourTo, step, false);
        FlagScope internal(FInternalCall);
        if (moved) {
            SetHour(static_cast<uint8_t>(h));
        } else {
            FAnimationTimer->SetEnabled(false);
            SetHour(FCurrentHourTo);
        }
        return;
    }
    int m = now.m;
    const bool forward = FCurrentMinuteTo == 0 && m > 30;
    int step = static_cast<int>(Round(std::abs((forward ? 60 : FCurrentMinuteTo) - m) / factor));
    bool moved = StepToward(m, FCurrentMinuteTo, step, forward);
    if (m >= 60) m = 0;
    FlagScope internal(FInternalCall);
    if (moved) {
        SetMinute(static_cast<uint8_t>(m));
    } else {
        FAnimationTimer->SetEnabled(false);
        SetMinute(FCurrentMinuteTo);
    }
}

void TAdvWatch::ScrollAMPM(bool toAM) {
    if (!HandleAllocated() || !FCacheValid) return;
    TWatchAppearance* a = FAppearance.get();
    const TRect box = GetAMPMRect();
    const TRect inner(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
    const int w = inner.Width(), hh = inner.Height();
    if (w <= 0 || hh <= 0) return;
    // "AM" above "PM"; the box shows a window of it that slides one pixel a step.
    TBitmap strip;
    strip.SetSize(w, 2 * hh);
    strip.Canvas()->Brush()->SetColor(a->AMPMColor());
    strip.Canvas()->FillRect(TRect(0, 0, w, 2 * hh));
    advwatch::DrawWatchText(strip.Canvas(), nullptr, advwatch::taCenterText, TRect(0, 0, w, hh), String("AM"),
                            a->AMPMFont(), true, true, advwatch::trAntiAlias);
    advwatch::DrawWatchText(strip.Canvas(), nullptr, advwatch::taCenterText, TRect(0, hh, w, 2 * hh), String("PM"),
                            a->AMPMFont(), true, true, advwatch::trAntiAlias);
    const TRect client = ClientRect();
    for (int i = 1; i <= hh; ++i) {
        const int y = toAM ? hh - i : i;
        TBitmap frame;
        frame.SetSize(client.Width(), client.Height());
        TCanvas* fc = frame.Canvas();
        fc->Draw(0, 0, FBKGCache.get());
        fc->CopyRect(inner, strip.Canvas(), TRect(0, y, w, y + hh));
        fc->Brush()->SetStyle(bsClear);
        fc->Pen()->SetStyle(a->AMPMBorderColor() == clNone ? psClear : psSolid);
        fc->Pen()->SetColor(a->AMPMBorderColor());
        fc->Pen()->SetWidth(1);
        if (a->AMPMFrame() == apRect)
            fc->Rectangle(box);
        else
            fc->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
        {
            TGPGraphics g(fc->Handle());
            g.SetSmoothingMode(gdiplus::SmoothingModeAntiAlias);
            DrawHands(&g);
        }
        Canvas()->Draw(0, 0, &frame);
        ::Sleep(10);
    }
}

void TAdvWatch::SettingsChanged(TObject*) {
    FWatchTimer->SetEnabled(FSettings->Auto());
    if (FSettings->Auto()) {
        SetTime(::Now());
        FlagScope internal(FInternalSet);
        SetAM(Split(FTime).h < 12);
    }
    Invalidate();
}

void TAdvWatch::WatchTimerTick(TObject*) { RepaintHands(); }

// ---- Clicks and keys --------------------------------------------------------------------------

int TAdvWatch::MinuteAtPoint(int X, int Y) {
    TPoint c = GetCenter();
    int dy = std::abs(c.Y - Y), dx = std::abs(c.X - X);
    if (dy == 0) dy = 1;
    if (dx == 0) dx = 1;
    const int g = static_cast<int>(Round(std::atan(static_cast<double>(dy) / dx) * 180 / std::numbers::pi / 6));
    int minute;
    if (X >= c.X && Y >= c.Y)
        minute = g + 15;
    else if (X <= c.X && Y >= c.Y)
        minute = 45 - g;
    else if (X <= c.X && Y <= c.Y)
        minute = g + 45;
    else
        minute = 15 - g;
    return minute < 0 || minute > 59 ? 0 : minute;
}

int TAdvWatch::HourAtPoint(int X, int Y) {
    // Both sides of 12 o'clock give the same hour: 0 in the morning, 12 in the afternoon.
    int c = static_cast<int>(Round(MinuteAtPoint(X, Y) / 5.0)) % 12;
    if (c <= 0) return FAM ? 0 : 12;
    return FAM ? c : c + 12;
}

void TAdvWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    HandleMouseUp(X, Y);
}

void TAdvWatch::HandleMouseUp(int X, int Y) {
    if (FSettings->Auto()) return;
    const TPoint p(X, Y);
    if (!advwatch::IsPointInEllipse(p, GetFaceRect())) {
        UserSetMinute(static_cast<uint8_t>(MinuteAtPoint(X, Y)));
    } else if (GetAMPMRect().Contains(p)) {
        if (FAnimation) SetAM(!FAM);
        const int h = Split(FTime).h;
        UserSetHour(static_cast<uint8_t>(h < 12 ? h + 12 : h - 12), true);
    } else {
        UserSetHour(static_cast<uint8_t>(HourAtPoint(X, Y)), false);
    }
}

void TAdvWatch::HandleNavigationKey(WORD Key) {
    if (FSettings->Auto()) return;
    const TimeParts now = Split(GetCurrentTime());
    const int h = now.h, m = now.m;
    switch (Key) {
        case 'A':
            if (h > 11) UserSetHour(static_cast<uint8_t>(h - 12), false);
            break;
        case 'P':
            if (h < 12) UserSetHour(static_cast<uint8_t>(h + 12), false);
            break;
        case VK_PRIOR:
            if (h <= 22)
                UserSetHour(static_cast<uint8_t>(h + 1), false);
            else
                UserSetHour(0, true);
            break;
        case VK_NEXT:
            if (h > 0)
                UserSetHour(static_cast<uint8_t>(h - 1), false);
            else
                UserSetHour(23, true);
            break;
        case VK_HOME: UserSetHour(12, true); break;
        case VK_END: UserSetMinute(0); break;
        case VK_LEFT:
            if (m > 0) {
                UserSetMinute(static_cast<uint8_t>(m - 1));
            } else {
                TDateTime before = FTime;
                SetTime(EncodeTime(h == 0 ? 23 : h - 1, 59, now.s, now.ms));
                if (FTime != before) FireChange();
            }
            break;
        case VK_RIGHT:
            if (m < 59)
                UserSetMinute(static_cast<uint8_t>(m + 1));
            else
                UserSetMinute(0);
            break;
        default: break;
    }
}
