#include "controls/instrument/MvOpHour.h"

#include <algorithm>

#include "controls/instrument/MvFlashT.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

constexpr int64_t OneSecondMode = 32;

int64_t Seconds(int32_t h, int32_t m, int32_t s) { return int64_t{h} * 3600 + int64_t{m} * 60 + s; }

bool AtZero(int32_t h, int32_t m, int32_t s) { return (h <= 0 && m <= 0 && s <= 0) || h < 0 || m < 0 || s < 0; }

// A separator is text, never a format directive.
String Literal(const String& s) {
    String r;
    for (char16_t c : s) {
        r.push_back(c);
        if (c == u'%') r.push_back(u'%');
    }
    return r;
}

}  // namespace

void NormaliseTime(int32_t& Hour, int32_t& Min, int32_t& Sec) {
    if (Sec >= 60) {
        Min += Sec / 60;
        Sec %= 60;
    }
    if (Min >= 60) {
        Hour += Min / 60;
        Min %= 60;
    }
}

// --- TTimeSetting ----------------------------------------------------------------------------

void TTimeSetting::SetHour(int32_t V) {
    if (V == FHour) return;
    FHour = V;
    NormaliseTime(FHour, FMin, FSec);
}

void TTimeSetting::SetMin(int32_t V) {
    if (V == FMin) return;
    FMin = V;
    NormaliseTime(FHour, FMin, FSec);
}

void TTimeSetting::SetSec(int32_t V) {
    if (V == FSec) return;
    FSec = V;
    NormaliseTime(FHour, FMin, FSec);
}

void TTimeSetting::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TTimeSetting*>(Dest);
    if (!d) return TPersistent::AssignTo(Dest);
    d->FHour = FHour;
    d->FMin = FMin;
    d->FSec = FSec;
}

// --- TMvOpHourCounter ------------------------------------------------------------------------

TMvOpHourCounter::TMvOpHourCounter(TComponent* AOwner)
    : TMvGraphicControl(AOwner),
      FBevelOuter(std::make_unique<TMvSBevel>()),
      FBevelInner(std::make_unique<TMvSBevel>()),
      FLimit(std::make_unique<TTimeSetting>()),
      FPresetValue(std::make_unique<TTimeSetting>()),
      FIniSettings(std::make_unique<TIniSettings>()) {
    BeginUpdate();
    SetBounds(Left(), Top(), 113, 24);
    FBevelOuter->SetSpacing(2);
    FBevelOuter->SetWidth(1);
    FBevelInner->SetSpacing(0);
    FBevelInner->SetWidth(1);
    FBevelInner->SetStyle(bsLowered);
    FBevelInner->SetColor(0x000000);
    FIniSettings->SetFileName(u"MrvnApp.ini");
    Font()->SetColor(0x00FF00);
    Font()->SetName(u"System");
    Font()->SetSize(10);
    RequireAfterConstruction();
}

void TMvOpHourCounter::AfterConstruction() {
    TMvGraphicControl::AfterConstruction();
    // On a designer's form no loader follows: the control ends its own loading, through the
    // most-derived Loaded.
    if (Designing()) Loaded();
}

TMvOpHourCounter::~TMvOpHourCounter() {
    UnregisterFlashClient(this);
    if (Designing()) return;
    try {
        FIniSettings->AutoHandle(false);
    } catch (...) {
        // A destructor cannot raise: the failed save goes to the application, which reports it.
        if (Application) Application->HandleException(this);
    }
}

void TMvOpHourCounter::Loaded() {
    TMvGraphicControl::Loaded();
    FIniSettings->OnHandleIniEvent = [this](TIniFile* Ini, bool Read) { HandleIni(Ini, Read); };
    FBevelOuter->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FBevelInner->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    EndUpdate();
}

void TMvOpHourCounter::HandleIni(TIniFile* Ini, bool Read) {
    const String& section = FIniSettings->Section();
    if (Read) {
        hr = Ini->ReadInteger(section, u"h", 0);
        mi = Ini->ReadInteger(section, u"m", 0);
        se = Ini->ReadInteger(section, u"s", 0);
    } else {
        Ini->WriteInteger(section, u"h", hr);
        Ini->WriteInteger(section, u"m", mi);
        Ini->WriteInteger(section, u"s", se);
    }
}

void TMvOpHourCounter::SetCount(bool V) {
    if (V == FCount) return;
    FCount = V;
    if (Designing()) return;
    if (V) RegisterFlashClient(this, OneSecondMode);
    else UnregisterFlashClient(this);
}

void TMvOpHourCounter::SetCountDown(bool V) {
    if (V == FCountDown) return;
    FCountDown = V;
    // Counting up again: a stop at zero or at the limit may have taken the counter off the timer.
    if (FCount && !V && !Designing()) RegisterFlashClient(this, OneSecondMode);
}

void TMvOpHourCounter::SetIndicate(TOpHrIndicate V) {
    if (V == FIndicate) return;
    FIndicate = V;
    Invalidate();
}

void TMvOpHourCounter::ParamChange(TObject*) { Repaint(); }

String TMvOpHourCounter::TimeText() const {
    String f = u"%." + IntToStr(FHourDigits) + u"d" + Literal(FSeparatorHour);
    if (FIndicate != oiHour) f += Literal(FSeparatorChar) + u"%.2d" + Literal(FSeparatorMin);
    if (FIndicate == oiHourMinSec) f += Literal(FSeparatorChar) + u"%.2d" + Literal(FSeparatorSec);
    return Format(f, {hr, mi, se});
}

void TMvOpHourCounter::SetTime(int32_t Hour, int32_t Min, int32_t Sec) {
    NormaliseTime(Hour, Min, Sec);
    hr = Hour;
    mi = Min;
    se = Sec;
    Check();
    DrawTime();
}

void TMvOpHourCounter::Check() {
    isZero = false;
    if (AtZero(hr, mi, se)) {
        isZero = true;
        const TTimeSetting& p = *FPresetValue;
        // A preset that is itself at zero would load the zero again without end: it stops too.
        if (FOptions.Contains(opPresetOnZero) && !AtZero(p.Hour(), p.Min(), p.Sec())) {
            SetTime(p.Hour(), p.Min(), p.Sec());
        } else {
            UnregisterFlashClient(this);
            hr = mi = se = 0;
        }
        if (OnZero) OnZero(this);
    }
    // Reached when the time as a whole is at or past the limit.
    if (Seconds(hr, mi, se) < Seconds(FLimit->Hour(), FLimit->Min(), FLimit->Sec())) {
        isLimit = false;
        return;
    }
    if (isLimit) return;
    if (OnLimit) OnLimit(this);
    if (FOptions.Contains(opResetOnLimit)) {
        hr = mi = se = 0;
        isZero = true;
    }
    if (FOptions.Contains(opStopOnLimit)) UnregisterFlashClient(this);
    isLimit = true;
}

void TMvOpHourCounter::Tick() {
    if (FCountDown) {
        if (!isZero) {
            if (se <= 0) {
                se = 59;
                if (mi <= 0) {
                    mi = 59;
                    --hr;
                } else {
                    --mi;
                }
            } else {
                --se;
            }
        }
    } else if (se > 58) {
        se = 0;
        if (mi >= 59) {
            mi = 0;
            ++hr;
        } else {
            ++mi;
        }
    } else {
        ++se;
    }
    Check();
    if (Visible()) DrawTime();
}

void TMvOpHourCounter::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_FLASHTICK) {
        Tick();
        return;
    }
    TMvGraphicControl::Dispatch(Message);
}

void TMvOpHourCounter::DrawTime() {
    const int w = sTime.cx, h = sTime.cy;
    if (w <= 0 || h <= 0 || (!Visible() && !Designing())) return;
    TBitmap bmp(w, h);
    TCanvas* b = bmp.Canvas();
    b->SetFont(Font());
    b->Brush()->SetStyle(bsSolid);
    b->Brush()->SetColor(FBevelInner->Color());
    b->FillRect(TRect(0, 0, w, h));
    b->TextOut(0, 0, TimeText());
    Canvas()->Draw(rClock.Left + (rClock.Width() - w) / 2, rClock.Top + (rClock.Height() - h) / 2, &bmp);
}

void TMvOpHourCounter::Paint() {
    if (ComponentInit) {
        if (FIniSettings->Section().IsEmpty()) FIniSettings->SetSection(Name());
        ComponentInit = false;
        if (!Designing()) FIniSettings->AutoHandle(true);
    }
    if (!Visible() && !Designing()) return;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    sTime = c->TextExtent(TimeText());
    const int outer = 2 * FBevelOuter->TotalWidth, inner = 2 * FBevelInner->TotalWidth;
    min_h = static_cast<int16_t>(outer + sTime.cy + inner);
    min_w = static_cast<int16_t>(outer + sTime.cx + inner + sTime.cy / 3);
    if (Align() == alNone && (Width() < min_w || Height() < min_h))
        SetBounds(Left(), Top(), std::max<int>(Width(), min_w), std::max<int>(Height(), min_h));
    rClock = ClientRect();
    FBevelOuter->PaintFilledBevel(c, rClock);
    FBevelInner->PaintFilledBevel(c, rClock);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FBevelInner->Color());
    DrawTime();
}
