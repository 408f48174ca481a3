// The analog value model: signal settings, the display base and the input base.
#include <climits>
#include <cmath>

#include "controls/instrument/_GClass.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

// Rounds a digit or PPT: halves to even, held to the 32-bit range; a value that is not a number
// gives 0 instead of an exception in the middle of a paint.
int32_t RoundDigit(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    if (v <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<int32_t>(Round(v));
}

// 10 to the power of the bound's rounded decimal logarithm; 0 or less counts as 1.
float DecadeOf(float bound) {
    int e = 0;
    return static_cast<float>(Decade(bound, e));
}

// Digits per decade of a logarithmic mapping, and log10(1 / ValueFrom).
void LogFactors(const TSignalSettings& s, double& f1, double& f2) {
    const double from = s.ValueFrom(), to = s.ValueTo();
    const double ratio = to / from;
    // A range that is not a positive span of its own has no decades to divide by.
    f1 = (from > 0 && ratio > 0 && ratio != 1) ? s.TotalDigit / std::log10(ratio) : s.TotalDigit;
    f2 = from > 0 ? std::log10(1.0 / from) : 0;
}

}  // namespace

// --- TSignalSettings -------------------------------------------------------------------------

void TSignalSettings::SetValueFrom(float V) {
    if (V == FValueFrom || V == FValueTo) return;
    FValueFrom = V == 0 ? 0.000001f : V;
    if (LogScale) SetValueFrom(DecadeOf(FValueFrom));
    Change();
}

void TSignalSettings::SetValueTo(float V) {
    if (V == FValueFrom || V == FValueTo) return;
    FValueTo = V;
    if (LogScale) SetValueTo(DecadeOf(FValueTo));
    Change();
}

void TSignalSettings::CalcSpans() {
    TotalValue = (FValueFrom >= 0 && FValueTo <= 0) ? 0 : FValueTo - FValueFrom;
    TotalDigit = SpanOf(FDigitalFrom, FDigitalTo);
    if (TotalDigit > 0) ValuePerDigit = TotalValue / static_cast<float>(TotalDigit);
    if (TotalValue > 0) {
        DigitPerValue = static_cast<float>(TotalDigit) / TotalValue;
        PPTPerValue = 1000 / TotalValue;
        ValueSizeStr = MvGetValueFormat(FValueFormat);
    }
}

void TSignalSettings::Change() {
    CalcSpans();
    TMvPersistent::Change();
}

int32_t TSignalSettings::GetPPT(float Value) const {
    return RoundDigit((static_cast<double>(Value) - FValueFrom) * PPTPerValue);
}

float TSignalSettings::GetValue(int32_t PPT) const {
    return static_cast<float>(static_cast<double>(TotalValue) / 1000 * PPT + FValueFrom);
}

String TSignalSettings::MvGetValueFormat(const String& FormatStr) {
    const size_t p = FormatStr.find(u';');
    if (p == String::npos) return FormatStr;
    String before(FormatStr.substr(0, p)), after(FormatStr.substr(p + 1));
    return before.Length() > after.Length() ? before : after;
}

void TSignalSettings::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TSignalSettings*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->SetDigitalFrom(FDigitalFrom);
    d->SetDigitalTo(FDigitalTo);
    d->SetValueFormat(FValueFormat);
    d->SetValueFrom(FValueFrom);
    d->SetValueTo(FValueTo);
    d->SetValueUnit(FValueUnit);
    d->SetName1(FName1);
    d->SetName2(FName2);
}

// --- TMvAnalogGControl -----------------------------------------------------------------------

TMvAnalogGControl::TMvAnalogGControl(TComponent* AOwner)
    : TMvGraphicControl(AOwner),
      FSectorSettings(std::make_unique<TSectorSettings>()),
      FSignalSettings(std::make_unique<TSignalSettings>()),
      FMinMax(std::make_unique<TMinMax>()) {
    SetControlStyle(ControlStyle() >> csOpaque);
    pPosLeftTop = TPoint(Left(), Top());
    Font()->SetName(u"Arial");
    Font()->SetSize(8);
    SetParentFont(false);
}

TMvAnalogGControl::~TMvAnalogGControl() = default;

void TMvAnalogGControl::Loaded() {
    TMvGraphicControl::Loaded();
    FFontHooked = true;
    FSignalSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FSectorSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FMinMax->Restart();
    FMinMax->OnChange = [this](TObject* Sender) { MinMaxChanged(Sender); };
}

void TMvAnalogGControl::FontChanged() {
    TMvGraphicControl::FontChanged();
    if (FFontHooked) ParamChange(Font());
}

int32_t TMvAnalogGControl::DigitOfValue() const {
    const TSignalSettings& s = *FSignalSettings;
    if (FLogScale)
        return RoundDigit(std::log10(static_cast<double>(FValue) / s.ValueFrom()) * LogFactor1) + s.DigitalFrom();
    return RoundDigit((static_cast<double>(FValue) - s.ValueFrom()) * s.DigitPerValue + s.DigitalFrom());
}

void TMvAnalogGControl::DigitSet() {
    if (Designing()) ParamChange(this);
    else ValueChanged();
}

void TMvAnalogGControl::SetValue(float V) {
    // A value that is no number has no place on the scale: it is refused like a logarithmic 0.
    if (V == FValue || !std::isfinite(V)) return;
    if (FLogScale && V <= 0) return;
    FValue = V;
    FDigit = DigitOfValue();
    DigitSet();
}

void TMvAnalogGControl::SetDigit(int32_t D) {
    if (D == FDigit) return;
    FDigit = D;
    const TSignalSettings& s = *FSignalSettings;
    if (FLogScale) {
        // An empty digit span leaves LogFactor1 at 0: the value stays as it is.
        if (LogFactor1 - LogFactor2 != 0 && LogFactor1 != 0)
            FValue = static_cast<float>(std::pow(10.0, (static_cast<double>(D) - s.DigitalFrom()) / LogFactor1 - LogFactor2));
    } else {
        FValue = static_cast<float>((static_cast<double>(D) - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom());
    }
    DigitSet();
}

void TMvAnalogGControl::ValueChanged() {
    if (Left() != pPosLeftTop.X || Top() != pPosLeftTop.Y) {
        pPosLeftTop = TPoint(Left(), Top());
        if (OnPosChanged) OnPosChanged(this);
    }
    const TSignalSettings& s = *FSignalSettings;
    DigitStr = IntToStr(FDigit);
    ValueStr = FormatFloat(s.ValueFormat(), FValue);
    // An empty digit span has no positions: everything lies at 0.
    PPT = s.TotalDigit == 0 ? 0 : RoundDigit(1000.0 / s.TotalDigit * (static_cast<double>(FDigit) - s.DigitalFrom()));

    const TSectorSettings& sec = *FSectorSettings;
    const struct {
        bool& in;
        int32_t from, to;
        TColor color;
    } sectors[] = {{InSector1, sec.Sector1From(), sec.Sector1To(), sec.Sector1Color()},
                   {InSector2, sec.Sector2From(), sec.Sector2To(), sec.Sector2Color()},
                   {InSector3, sec.Sector3From(), sec.Sector3To(), sec.Sector3Color()}};
    for (int k = 0; k < 3; ++k) {
        const bool in = sectors[k].from <= PPT && PPT <= sectors[k].to;
        if (in) ActSectorCol = sectors[k].color;
        if (in != sectors[k].in) {
            sectors[k].in = in;
            if (OnSectorChange) OnSectorChange(this, k == 0, k == 1, k == 2, in);
        }
    }

    const bool upper = FValue > FLimitUpper, lower = FValue < FLimitLower;
    if (upper != ULimit || lower != LLimit) {
        ULimit = upper;
        LLimit = lower;
        LimitChanged();
        if (OnLimit) OnLimit(this, LLimit, ULimit);
    }

    if (PPT < 0) {
        if (!LOverflow) {
            LOverflow = true;
            UOverflow = false;
            OverflowChanged(PPT);
            if (OnOverflow) OnOverflow(this, PPT);
        }
        PPT = 0;
    } else if (PPT > 1000) {
        if (!UOverflow) {
            UOverflow = true;
            LOverflow = false;
            OverflowChanged(PPT);
            if (OnOverflow) OnOverflow(this, PPT);
        }
        PPT = 1000;
    } else if (UOverflow || LOverflow) {
        UOverflow = LOverflow = false;
        OverflowChanged(PPT);
        if (OnOverflow) OnOverflow(this, PPT);
    }

    if (Designing()) {
        MinPPT = MaxPPT = PPT;
    } else {
        if (FMinMax->Min() > FValue) {
            const float old = FMinMax->Min();
            FMinMax->SetMin(FValue);
            MinPPT = PPT;
            if (old != 9999999.0f) MinMaxChanged(this);
        }
        if (FMinMax->Max() < FValue) {
            const float old = FMinMax->Max();
            FMinMax->SetMax(FValue);
            MaxPPT = PPT;
            if (old != -9999999.0f) MinMaxChanged(this);
        }
    }
    BuildHint();
    if (OnValueChange) OnValueChange(this);
}

void TMvAnalogGControl::MinMaxChanged(TObject*) {
    if (OnMinMaxChange) OnMinMaxChange(this);
    ValueChanged();
}

void TMvAnalogGControl::BuildHint() {
    if (!FHintOptions.Contains(hoAutoHint) || Designing()) return;
    const TSignalSettings& s = *FSignalSettings;
    String hint;
    auto add = [&](const String& part) {
        if (!hint.IsEmpty()) hint += u'\r';
        hint += part;
    };
    auto extreme = [&](const char* label, float v, TDateTime when) {
        String line = String(label) + FormatFloat(s.ValueFormat(), v) + u" " + s.ValueUnit();
        if (FHintOptions.Contains(hoMinMaxDate)) line += u" " + DateToStr(when);
        if (FHintOptions.Contains(hoMinMaxTime)) line += u" " + TimeToStr(when);
        add(line);
    };
    if (FHintOptions.Contains(hoValue)) add(u"Value= " + ValueStr + u" " + s.ValueUnit());
    if (FHintOptions.Contains(hoMin)) extreme("MIN= ", FMinMax->Min(), FMinMax->MinDateTime());
    if (FHintOptions.Contains(hoMax)) extreme("MAX= ", FMinMax->Max(), FMinMax->MaxDateTime());
    if (FHintOptions.Contains(hoName1)) add(s.Name1());
    if (FHintOptions.Contains(hoName2)) add(s.Name2());
    SetHint(hint);
}

void TMvAnalogGControl::ResetMinMax() {
    FMinMax->SetMin(FValue);
    FMinMax->SetMax(FValue);
    MinPPT = MaxPPT = PPT;
    MinMaxChanged(this);
    BuildHint();
    ValueChanged();
}

void TMvAnalogGControl::SetMin(float V, TDateTime DT) {
    if (V == FMinMax->Min()) return;
    FMinMax->SetMin(V);
    MinPPT = FSignalSettings->GetPPT(V);
    FMinMax->SetMinDateTime(DT);
    MinMaxChanged(this);
    BuildHint();
}

void TMvAnalogGControl::SetMax(float V, TDateTime DT) {
    if (V == FMinMax->Max()) return;
    FMinMax->SetMax(V);
    MaxPPT = FSignalSettings->GetPPT(V);
    FMinMax->SetMaxDateTime(DT);
    MinMaxChanged(this);
    BuildHint();
}

void TMvAnalogGControl::SetLimitUpper(float V) {
    if (V == FLimitUpper) return;
    FLimitUpper = V;
    ULimitPPT = FSignalSettings->GetPPT(V);
    ValueChanged();
}

void TMvAnalogGControl::SetLimitLower(float V) {
    if (V == FLimitLower) return;
    FLimitLower = V == 0 ? 0.0001f : V;
    LLimitPPT = FSignalSettings->GetPPT(FLimitLower);
    ValueChanged();
}

void TMvAnalogGControl::SetHintOptions(THintOptions V) {
    const bool switchedOn = V.Contains(hoAutoHint) && !FHintOptions.Contains(hoAutoHint);
    FHintOptions = V;
    if (switchedOn) ValueChanged();
}

void TMvAnalogGControl::SetLogScale(bool V) {
    FLogScale = V;
    TSignalSettings& s = *FSignalSettings;
    s.LogScale = V;
    FSectorSettings->SetLogScale(V);
    if (V) {
        if (FValue <= 0) FValue = 0.001f;
        s.SetValueFrom(s.ValueFrom() > 0 ? DecadeOf(s.ValueFrom()) : 0.001f);
        s.SetValueTo(DecadeOf(s.ValueTo()));
        LogFactors(s, LogFactor1, LogFactor2);
    }
    FDigit = DigitOfValue();
    ScaleChanged();
}

void TMvAnalogGControl::ParamChange(TObject* Sender) {
    TMvGraphicControl::ParamChange(Sender);
    TSignalSettings& s = *FSignalSettings;
    s.CalcSpans();
    if (FLogScale) {
        LogFactors(s, LogFactor1, LogFactor2);
        if (FValue <= 0) FValue = 1;
    }
    FDigit = DigitOfValue();
    if (OnSettingsChange) OnSettingsChange(this);
}

// --- TMvAnalogCControl -----------------------------------------------------------------------

TMvAnalogCControl::TMvAnalogCControl(TComponent* AOwner)
    : TMvCustomControl(AOwner), FSignalSettings(std::make_unique<TSignalSettings>()) {
    SetTabStop(true);
    SetControlStyle(ControlStyle() << csAcceptsControls);
    Font()->SetName(u"MS Sans Serif");
    Font()->SetSize(10);
    SetParentFont(false);
    BeginUpdate();
}

TMvAnalogCControl::~TMvAnalogCControl() {
    if (FValueIndicator) FValueIndicator->RemoveFreeNotification(this);
}

void TMvAnalogCControl::Loaded() {
    TMvCustomControl::Loaded();
    FSignalSettings->Change();
    FSignalSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FDigit = DigitOfValue();
    EndUpdate();
}

int32_t TMvAnalogCControl::DigitOfValue() const {
    const TSignalSettings& s = *FSignalSettings;
    return RoundDigit((static_cast<double>(FValue) - s.ValueFrom()) * s.DigitPerValue + s.DigitalFrom());
}

void TMvAnalogCControl::SetValue(float V) {
    if (V == FValue && FUpdateCount <= 0) return;
    TSignalSettings& s = *FSignalSettings;
    if (s.DigitPerValue == 0) s.Change();
    FValue = V;
    if (FValue > s.ValueTo()) FValue = s.ValueTo();
    if (FValue < s.ValueFrom() || std::isnan(FValue)) FValue = s.ValueFrom();
    SetDigit(DigitOfValue());
}

void TMvAnalogCControl::SetDigit(int32_t D) {
    if (D == FDigit && FUpdateCount <= 0) return;
    const TSignalSettings& s = *FSignalSettings;
    if (D > s.DigitalTo()) D = s.DigitalTo();
    if (D < s.DigitalFrom()) D = s.DigitalFrom();
    FDigit = D;
    FValue = static_cast<float>((static_cast<double>(FDigit) - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom());
    UpdateDisplay();
    if (!ComponentState().Contains(csLoading) && OnValueChange) OnValueChange(this);
    VChange = true;
}

void TMvAnalogCControl::DoChange(int32_t up, int32_t down) {
    const TSignalSettings& s = *FSignalSettings;
    int64_t d = up > 0 ? static_cast<int64_t>(FDigit) + up : static_cast<int64_t>(FDigit) - down;
    if (d > s.DigitalTo()) d = s.DigitalTo();
    if (d < s.DigitalFrom()) d = s.DigitalFrom();
    SetDigit(static_cast<int32_t>(d));
}

void TMvAnalogCControl::UpdateDisplay() {
    ValueStr = FormatFloat(FSignalSettings->ValueFormat(), FValue);
    DigitStr = IntToStr(FDigit);
    if (FValueIndicator) FValueIndicator->SetValue(FValue);
}

void TMvAnalogCControl::SetEnabled(bool value) {
    TMvCustomControl::SetEnabled(value);
    UpdateDisplay();
}

void TMvAnalogCControl::SetColorFocus(TColor v) {
    if (v == FColorFocus) return;
    FColorFocus = v;
    ParamChange(this);
}

void TMvAnalogCControl::SetColorNonFocus(TColor v) {
    if (v == FColorNonFocus) return;
    FColorNonFocus = v;
    ParamChange(this);
}

void TMvAnalogCControl::SetValueIndicator(TMvAnalogGControl* v) {
    if (FValueIndicator && FValueIndicator != v) FValueIndicator->RemoveFreeNotification(this);
    FValueIndicator = v;
    if (!v) return;
    v->FreeNotification(this);
    v->SignalSettings()->Assign(FSignalSettings.get());
    UpdateDisplay();
}

void TMvAnalogCControl::Notification(TComponent* AComponent, TOperation Operation) {
    TMvCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FValueIndicator) FValueIndicator = nullptr;
}

void TMvAnalogCControl::ParamChange(TObject* Sender) {
    TMvCustomControl::ParamChange(Sender);
    OldCursor = Cursor();
    if (FValueIndicator) FValueIndicator->SignalSettings()->Assign(FSignalSettings.get());
    FDigit = DigitOfValue();
}

void TMvAnalogCControl::KeyDown(WORD& Key, TShiftState Shift) {
    TMvCustomControl::KeyDown(Key, Shift);
    if (!FEnableKeyboard) return;
    const TSignalSettings& s = *FSignalSettings;
    auto enabled = [&](TEnabledKey k) { return FEnabledKeys.Contains(k); };
    switch (Key) {
        case VK_PRIOR: if (enabled(_VK_PRIOR)) DoChange(FChangeLarge, 0); break;
        case VK_NEXT: if (enabled(_VK_NEXT)) DoChange(0, FChangeLarge); break;
        case VK_END: if (enabled(_VK_END)) SetDigit(s.DigitalTo()); break;
        case VK_HOME: if (enabled(_VK_HOME)) SetDigit(s.DigitalFrom()); break;
        case VK_LEFT: if (enabled(_VK_LEFT)) DoChange(0, FChangeSmall); break;
        case VK_DOWN: if (enabled(_VK_DOWN)) DoChange(0, FChangeSmall); break;
        case VK_UP: if (enabled(_VK_UP)) DoChange(FChangeSmall, 0); break;
        case VK_RIGHT: if (enabled(_VK_RIGHT)) DoChange(FChangeSmall, 0); break;
        default: break;
    }
}

void TMvAnalogCControl::EndOfInteraction() {
    if (!VChange) return;
    VChange = false;
    if (OnValueChanged) OnValueChanged(this);
}

void TMvAnalogCControl::KeyUp(WORD& Key, TShiftState Shift) {
    TMvCustomControl::KeyUp(Key, Shift);
    EndOfInteraction();
}

bool TMvAnalogCControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (TMvCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (Designing()) return false;
    // The low byte decides: $78 is a step of +120, $88 one of -120; other deltas do nothing.
    switch (WheelDelta & 0xFF) {
        case 0x78: DoChange(FChangeSmall, 0); return true;
        case 0x88: DoChange(0, FChangeSmall); return true;
        default: return false;
    }
}

bool TMvAnalogCControl::InSlideArea(int X, int Y) const {
    return isCircle ? PointInCircle(X, Y, SlideRect) : PointInRect(X, Y, SlideRect);
}

void TMvAnalogCControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TMvCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus()) SetFocus();
    if (Button != mbLeft) return;
    inSlideArea = InSlideArea(X, Y);
    if (!inSlideArea) return;
    MDown = true;
    MouseSlide(Shift, X, Y, pMouseOld);
    pMouseOld = TPoint(X, Y);
}

void TMvAnalogCControl::MouseMove(TShiftState Shift, int X, int Y) {
    TMvCustomControl::MouseMove(Shift, X, Y);
    inSlideArea = InSlideArea(X, Y);
    const TCursor want = inSlideArea ? FCursorSlide : OldCursor;
    if (Cursor() != want) SetCursor(want);
    if (MDown) MouseSlide(Shift, X, Y, pMouseOld);
}

void TMvAnalogCControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TMvCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    MDown = false;
    EndOfInteraction();
}

void TMvAnalogCControl::MouseSlide(TShiftState, int X, int Y, TPoint) { pMouseOld = TPoint(X, Y); }

void TMvAnalogCControl::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TMvAnalogCControl::WMSetFocus(TMessage& Message) {
    TMvCustomControl::WMSetFocus(Message);
    UpdateDisplay();
}

void TMvAnalogCControl::WMKillFocus(TMessage& Message) {
    TMvCustomControl::WMKillFocus(Message);
    FLosingFocus = true;
    try {
        UpdateDisplay();
    } catch (...) {
        FLosingFocus = false;
        throw;
    }
    FLosingFocus = false;
}
