#include "controls/instrument/MvVSlide.h"

#include <algorithm>

#include "platform/rtl/Math.h"

namespace {

// Keeps a settings object's change report quiet for the scope: the slider sets the scale's side
// while it paints, and a report would only ask for the paint again.
class Quiet {
public:
    explicit Quiet(TMvPersistent& p) : FObject(p), FSaved(std::move(p.OnChange)) { p.OnChange = nullptr; }
    ~Quiet() { FObject.OnChange = std::move(FSaved); }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    TMvPersistent& FObject;
    TNotifyEvent FSaved;
};

}  // namespace

TMvVSlider::TMvVSlider(TComponent* AOwner)
    : TMvAnalogCControl(AOwner),
      FBevelOuter(std::make_unique<TMvSBevel>()),
      FBevelValue(std::make_unique<TMvSBevel>()),
      FFontValue(std::make_unique<TFont>()),
      FScaleSettings(std::make_unique<TScaleSettings>()),
      BmpSliderArea(std::make_unique<TBitmap>()) {
    BeginUpdate();
    SetBounds(Left(), Top(), 105, 289);
    FBevelOuter->SetSpacing(5);
    FBevelOuter->SetBevelLine(blOuter);
    FBevelOuter->SetWidth(2);
    FBevelValue->SetStyle(bsLowered);
    FBevelValue->SetWidth(2);
    FBevelValue->SetColor(0x000000);
    FBevelValue->SetSpacing(0);
    FScaleSettings->SetDrawLine(false);
    FScaleSettings->SetSubSteps(5);
    FScaleSettings->Font()->SetSize(8);
    FFontValue->SetColor(0x00FF00);
    FFontValue->SetName(u"System");
    FFontValue->SetSize(10);
    SetValue(10.0f);
    SetEnableMouseJump(true);
    Init = true;
}

TMvVSlider::~TMvVSlider() = default;

void TMvVSlider::HookSettings() {
    FFontValue->OnChange = [this](TPersistent* Sender) { ParamChange(Sender); };
    FScaleSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FBevelOuter->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FBevelValue->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
}

void TMvVSlider::Loaded() {
    TMvAnalogCControl::Loaded();
    FScaleSettings->Change();
    HookSettings();
    EndUpdate();
}

void TMvVSlider::SetButtonSize(int32_t V) {
    if (V == FButtonSize) return;
    FButtonSize = std::max(std::min(V, Width()), 18);
    DoParamChange();
}

void TMvVSlider::SetColorTrench(TColor V) {
    FColorTrench = V;
    DoParamChange();
}

void TMvVSlider::SetOptions(TVSliderOptions V) {
    FOptions = V;
    DoParamChange();
}

void TMvVSlider::ParamChange(TObject* Sender) {
    TMvAnalogCControl::ParamChange(Sender);
    Invalidate();
}

void TMvVSlider::Paint() {
    const int W = Width(), H = Height();
    TBitmap bmp(W, H);
    TCanvas* b = bmp.Canvas();
    const TSignalSettings& sig = *SignalSettings();
    TScaleSettings& scale = *FScaleSettings;

    TRect R = ClientRect();
    if (FOptions.Contains(opBevelOuter)) {
        FBevelOuter->PaintFilledBevel(b, R);
    } else {
        b->Brush()->SetStyle(bsSolid);
        b->Brush()->SetColor(FBevelOuter->Color());
        b->FillRect(TRect(0, 0, W, H));
    }

    scale.CalcHSize(b, sig.ValueFrom(), sig.ValueTo());
    b->SetFont(FFontValue.get());
    sValue = b->TextExtent(sig.ValueSizeStr);
    sUnit = b->TextExtent(sig.ValueUnit());

    if (FOptions.Contains(opValue)) {
        const int tw = FBevelValue->TotalWidth;
        const int h = 2 * tw + sValue.cy, m = sValue.cy / 3;
        const int u = FOptions.Contains(opUnit) ? sUnit.cx : 0;
        const int left = R.Left + (R.Width() - sValue.cx - u - m) / 2 - m;
        rValue = TRect(left, R.Top, left + sValue.cx + 2 * tw + 2 * m, R.Top + h);
        FBevelValue->PaintFilledBevel(b, rValue);
        if (FOptions.Contains(opUnit)) {
            b->Font()->SetColor(Font()->Color());
            b->Brush()->SetStyle(bsClear);
            b->TextOut(rValue.Right + m, rValue.Top, sig.ValueUnit());
        }
        ShrinkRect4(rValue, m, 0, m, 0);
        R.Top += h + FBevelOuter->Spacing();
    } else {
        rValue = TRect();
    }

    b->SetFont(Font());
    b->Brush()->SetStyle(bsClear);
    bool named = false;
    for (TVSliderOption o : {opName2, opName1}) {
        if (!FOptions.Contains(o)) continue;
        TextOutAligned(b, W / 2, R.Bottom, 7, o == opName2 ? sig.Name2() : sig.Name1());
        R.Bottom -= b->TextHeight(u"X");
        named = true;
    }
    if (named) R.Bottom -= FBevelOuter->Spacing();

    isToSmall = R.Width() < 2 || R.Height() < 2;
    if (isToSmall) {
        Canvas()->Draw(0, 0, &bmp);
        return;
    }

    {
        Quiet quiet(scale);
        if (FOptions.Contains(opScaleText)) {
            scale.CalcSize(b, sig.ValueFrom(), sig.ValueTo());
            scale.PenW1 = 2;
        } else {
            // Ticks without labels; the total width stays the horizontal one.
            scale.PenW1 = 2;
            scale.Spacing = scale.TextW = scale.TextH = 0;
            scale.Text.clear();
        }

        FButtonSize = std::max(std::min(FButtonSize, W), 18);
        BtnHeight = static_cast<int32_t>(Round(0.4 * FButtonSize));
        BtnWidth = FButtonSize;
        const int p = std::max(scale.TextH / 3, BtnHeight / 2);
        R.Top += p;
        R.Bottom -= p;

        const int moveLeft = R.Left + R.Width() / 2 - FButtonSize / 2;
        rMove = TRect(moveLeft, R.Top - BtnHeight / 2, moveLeft + FButtonSize + 1, R.Bottom + BtnHeight / 2);
        SlideRect = rMove;

        const int tw = scale.TotalWidth;
        const int q = (R.Width() - 2 * tw - 4) / 2;
        const int trench = R.Left + q + tw;
        rScale = TRect(R.Left, R.Top + 1, trench - 5, R.Bottom - 1);
        scale.SetPosLeftTop(true);
        scale.VertiScala(b, rScale);
        rSlide = TRect(trench, R.Top, trench + 5, R.Bottom);
        rScale = TRect(trench + 9, R.Top + 1, R.Right, R.Bottom - 1);
        scale.SetPosLeftTop(false);
        scale.VertiScala(b, rScale);
    }

    Frame3D(b, rSlide, clBtnShadow, clBtnHighlight, 1);
    b->Brush()->SetStyle(bsSolid);
    b->Brush()->SetColor(FColorTrench);
    b->FillRect(rSlide);

    BmpSliderArea->SetSize(rMove.Width(), rMove.Height());
    BmpSliderArea->Canvas()->CopyRect(TRect(0, 0, rMove.Width(), rMove.Height()), b, rMove);
    BmpValid = true;
    Canvas()->Draw(0, 0, &bmp);
    UpdateDisplay();
}

void TMvVSlider::UpdateDisplay() {
    TMvAnalogCControl::UpdateDisplay();
    if (isToSmall || (!Visible() && !Designing()) || !BmpValid) return;
    TBitmap area(BmpSliderArea->Width(), BmpSliderArea->Height());
    area.Canvas()->Draw(0, 0, BmpSliderArea.get());
    const int h2 = area.Height() - (BtnHeight / 2 + 1);
    const int s = rSlide.Bottom - rSlide.Top;
    const TSignalSettings& sig = *SignalSettings();
    // An empty digit span or a trench with no height has no positions: the knob stays at the bottom.
    const bool travel = sig.TotalDigit != 0 && s > 0;
    const double y = travel ? h2 - static_cast<double>(s) / sig.TotalDigit * (static_cast<double>(Digit()) - sig.DigitalFrom()) : h2;
    pCenter = TPoint(area.Width() / 2, static_cast<int>(Round(y)));
    if (EnableMouseJump()) {
        SlideRect = rMove;
    } else {
        const int band = static_cast<int>(Round(0.2 * FButtonSize));
        SlideRect = TRect(rMove.Left, rMove.Top + pCenter.Y - band, rMove.Right, rMove.Top + pCenter.Y + band);
    }
    const TColor knob = !Enabled() ? clBtnShadow : HasFocus() ? ColorFocus() : ColorNonFocus();
    DrawKnob(area.Canvas(), pCenter, FButtonSize, knob, BtnDir);
    TCanvas* c = Canvas();
    c->Draw(rMove.Left, rMove.Top, &area);

    if (FOptions.Contains(opValue)) {
        TBitmap box(rValue.Width(), rValue.Height());
        TCanvas* v = box.Canvas();
        v->Brush()->SetStyle(bsSolid);
        v->Brush()->SetColor(FBevelValue->Color());
        v->FillRect(TRect(0, 0, box.Width(), box.Height()));
        v->SetFont(FFontValue.get());
        v->Brush()->SetStyle(bsClear);
        TextOutAligned(v, box.Width(), 0, 2, Designing() ? sig.ValueSizeStr : ValueStr);
        c->Draw(rValue.Left, rValue.Top, &box);
    }
}

void TMvVSlider::MouseSlide(TShiftState Shift, int X, int Y, TPoint Previous) {
    TMvAnalogCControl::MouseSlide(Shift, X, Y, Previous);
    Y = std::max(std::min(Y, rSlide.Bottom), rSlide.Top);
    Update();
    const int s = rSlide.Bottom - rSlide.Top;
    const TSignalSettings& sig = *SignalSettings();
    // No trench or no digits to travel: the value stays as it is.
    if (s <= 0 || sig.TotalDigit == 0) return;
    SetDigit(static_cast<int32_t>(Round(static_cast<double>(sig.TotalDigit) / s * (rSlide.Bottom - Y))) + sig.DigitalFrom());
}
