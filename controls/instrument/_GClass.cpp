#include "controls/instrument/_GClass.h"

#include "controls/instrument/MvFlashT.h"
#include "platform/rtl/SysUtils.h"

void TMvPersistent::Change() {
    if (OnChange) OnChange(this);
}

void TMvPersistent::ChangeObject(TObject* Sender) {
    if (OnChange) OnChange(Sender);
}

// --- TMvOffset -------------------------------------------------------------------------------

void TMvOffset::Write(int32_t oTop, int32_t oLeft, int32_t oRight, int32_t oBottom) {
    FTop = oTop;
    FLeft = oLeft;
    FRight = oRight;
    FBottom = oBottom;
}

TRect TMvOffset::SetOffset(const TRect& r) const {
    return TRect(r.Left + FLeft, r.Top + FTop, r.Right - FRight, r.Bottom - FBottom);
}

void TMvOffset::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TMvOffset*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->Write(FTop, FLeft, FRight, FBottom);
    d->Change();
}

// --- TLED ------------------------------------------------------------------------------------

void TLED::SetWidth(int32_t v) {
    if (v > 3 && v <= 80) Set(FWidth, v);
}

void TLED::SetHeight(int32_t v) {
    if (v > 3 && v <= 80) Set(FHeight, v);
}

void TLED::Draw(TCanvas* can, bool Checked) {
    DrawLEDShape(can, Rect, FShape, Checked ? FColorOn : FColorOff, clBtnShadow);
}

// --- Ring bevels -----------------------------------------------------------------------------

void PaintRingBevel(TCanvas* can, TRect& r, int Width, TColor HighlightFrom, TColor HighlightTo,
                    TColor ShadowFrom, TColor ShadowTo, bool up, bool filled, TColor Col) {
    if (filled) {
        can->Pen()->SetWidth(1);
        can->Pen()->SetColor(Col);
        can->Brush()->SetStyle(bsSolid);
        can->Brush()->SetColor(Col);
        can->Rectangle(r);
    }
    for (int k = 1; k <= Width; ++k) {
        TColor top, bottom;
        if (up) {
            top = ColorStep(HighlightFrom, HighlightTo, Width, k);
            bottom = ColorStep(ShadowFrom, ShadowTo, Width, k);
        } else {
            top = ColorStep(ShadowTo, ShadowFrom, Width, k);
            bottom = ColorStep(HighlightTo, HighlightFrom, Width, k);
        }
        Frame3D(can, r, top, bottom, 1);
    }
}

void TMvBtnBevel::SetWidth(int32_t v) {
    if (v >= 0) Set(FWidth, v);
}

void TMvBtnBevel::PaintBevel(TCanvas* can, TRect& r, bool up, bool filled, TColor Col) const {
    PaintRingBevel(can, r, FWidth, FHighlightColFrom, FHighlightColTo, FShadowColFrom, FShadowColTo, up, filled, Col);
}

void TMvBtnBevel::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TMvBtnBevel*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->FShadowColFrom = FShadowColFrom;
    d->FShadowColTo = FShadowColTo;
    d->FHighlightColFrom = FHighlightColFrom;
    d->FHighlightColTo = FHighlightColTo;
    d->FWidth = FWidth;
    d->Change();
}

void TMvGradSettings::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TMvGradSettings*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->SetColorFrom(FColorFrom);
    d->SetColorTo(FColorTo);
    d->SetVisible(FVisible);
    d->SetStyle(FStyle);
    d->Change();
}

// --- TMvSBevel -------------------------------------------------------------------------------

TMvSBevel::TMvSBevel() : FOffset(std::make_unique<TMvOffset>()), FSurfaceGrad(std::make_unique<TMvGradSettings>()) {
    FOffset->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FSurfaceGrad->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    TotalWidth = FSpacing + FWidth + LineWidth();
}

TMvSBevel::~TMvSBevel() = default;

void TMvSBevel::SetWidth(int32_t v) {
    if (v >= 0) Set(FWidth, v);
}

int TMvSBevel::LineWidth() const {
    return FBevelLine == blBoth ? 2 : (FBevelLine == blOuter || FBevelLine == blInner) ? 1 : 0;
}

void TMvSBevel::Rings(TCanvas* can, TRect& r, bool filled) const {
    PaintRingBevel(can, r, FWidth, FColorHighLightFrom, FColorHighLightTo, FColorShadowFrom, FColorShadowTo,
                   FStyle == bsRaised, filled, FColor);
}

void TMvSBevel::Lines(TCanvas* can, TRect& r, const TRect& outer) const {
    can->Pen()->SetColor(FPenColor);
    can->Brush()->SetStyle(bsClear);
    if (FBevelLine == blInner || FBevelLine == blBoth) {
        can->Rectangle(r);
        ShrinkRect(r, 1);
    }
    if (FBevelLine == blOuter || FBevelLine == blBoth) can->Rectangle(outer);
    ShrinkRect(r, FSpacing);
    r = FOffset->SetOffset(r);
}

void TMvSBevel::PaintFilledBevel(TCanvas* can, TRect& r) {
    const TRect outer = r;
    const int l = (FBevelLine == blOuter || FBevelLine == blBoth) ? 1 : 0;
    can->Brush()->SetStyle(bsSolid);
    can->Pen()->SetWidth(1);
    can->Brush()->SetColor(FColor);
    can->Pen()->SetColor(FColor);
    can->Rectangle(r);
    TRect g = r;
    ShrinkRect(g, TotalWidth - FSpacing);
    ShrinkRect(r, l);
    Rings(can, r, true);
    if (FSurfaceGrad->Visible()) FSurfaceGrad->Fill(can, g);
    Lines(can, r, outer);
}

void TMvSBevel::PaintBevel(TCanvas* can, TRect& r) {
    const TRect outer = r;
    const int l = (FBevelLine == blOuter || FBevelLine == blBoth) ? 1 : 0;
    can->Brush()->SetStyle(bsClear);
    ShrinkRect(r, l);
    Rings(can, r, false);
    Lines(can, r, outer);
}

namespace {

// Keeps the canvas's clip region and selects it again when the scope ends.
class SavedClip {
public:
    explicit SavedClip(TCanvas* can) : FDc(can->Handle()), FRgn(CreateRectRgn(0, 0, 0, 0)) {
        FHad = GetClipRgn(FDc, FRgn) == 1;
    }
    ~SavedClip() {
        SelectClipRgn(FDc, FHad ? FRgn : nullptr);
        DeleteObject(FRgn);
    }
    // Clips to the ellipse in r (logical), at (Left, Top) on the device.
    void Ellipse(const TRect& r, int Left, int Top) {
        HRGN e = CreateEllipticRgn(Left + r.Left, Top + r.Top, Left + r.Right, Top + r.Bottom);
        if (FHad) CombineRgn(e, e, FRgn, RGN_AND);
        SelectClipRgn(FDc, e);
        DeleteObject(e);
    }

private:
    HDC FDc;
    HRGN FRgn;
    bool FHad = false;
};

}  // namespace

void TMvSBevel::PaintRoundBevel(TCanvas* can, TRect& r, int Left, int Top) {
    if (r.Width() <= 4 || !isRound || !FRoundBmp) return;
    const int d = r.Width();
    TBitmap work(d, d);
    TCanvas* w = work.Canvas();
    // Lowered: the picture turned by 180 degrees, the light from the other side.
    if (FStyle == bsLowered) w->StretchDraw(TRect(d, d, 0, 0), FRoundBmp.get());
    else w->StretchDraw(TRect(0, 0, d, d), FRoundBmp.get());
    TRect face(0, 0, d, d);
    ShrinkRect(face, FWidth);
    TotalWidth = FWidth + FSpacing;
    w->Pen()->SetWidth(1);
    if (FBevelLine == blOuter || FBevelLine == blBoth) {
        w->Pen()->SetColor(FPenColor);
        w->Brush()->SetStyle(bsClear);
        w->Ellipse(0, 0, d, d);
        ShrinkRect(face, 1);
        ++TotalWidth;
    }
    const bool inner = FBevelLine == blInner || FBevelLine == blBoth;
    if (!FSurfaceGrad->Visible()) {
        w->Brush()->SetStyle(bsSolid);
        w->Brush()->SetColor(FColor);
        if (inner) {
            w->Pen()->SetColor(FPenColor);
            ++TotalWidth;
        } else {
            w->Pen()->SetColor(FColor);
        }
        w->Ellipse(face);
    }
    {
        SavedClip clip(can);
        clip.Ellipse(r, Left, Top);
        can->Draw(r.Left, r.Top, &work);
    }
    if (FSurfaceGrad->Visible()) {
        TRect g = r;
        ShrinkRect(g, FWidth);
        SavedClip clip(can);
        clip.Ellipse(g, Left, Top);
        FSurfaceGrad->Fill(can, g);
        if (inner) {
            can->Pen()->SetColor(FPenColor);
            can->Brush()->SetStyle(bsClear);
            can->Ellipse(g);
        }
    }
    ShrinkRect(r, TotalWidth);
    r = FOffset->SetOffset(r);
}

void TMvSBevel::Change() {
    TotalWidth = FSpacing + FWidth + LineWidth();
    if (isRound) {
        if (!FRoundBmp) FRoundBmp = std::make_unique<TBitmap>(30, 30);
        GradientFill(FRoundBmp->Canvas(), TRect(0, 0, 30, 30), FColorShadowFrom, gsTopLeft, FColorShadowTo);
    }
    TMvPersistent::Change();
}

void TMvSBevel::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TMvSBevel*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->FStyle = FStyle;
    d->FSpacing = FSpacing;
    d->FBevelLine = FBevelLine;
    d->FWidth = FWidth;
    d->FColor = FColor;
    d->FOffset->Assign(FOffset.get());
    d->FColorShadowFrom = FColorShadowFrom;
    d->FColorShadowTo = FColorShadowTo;
    d->FColorHighLightFrom = FColorHighLightFrom;
    d->FColorHighLightTo = FColorHighLightTo;
    d->FPenColor = FPenColor;
    d->FSurfaceGrad->Assign(FSurfaceGrad.get());
    d->Change();
}

// --- TSectorSettings -------------------------------------------------------------------------

bool TSectorSettings::CheckSectorColor(int PPT, TColor& Col) const {
    const struct {
        TColor color;
        int32_t from, to;
    } sectors[] = {{FSector1Color, FSector1From, FSector1To},
                   {FSector2Color, FSector2From, FSector2To},
                   {FSector3Color, FSector3From, FSector3To}};
    for (const auto& s : sectors) {
        if (s.from <= PPT && PPT <= s.to) {
            Col = s.color;
            return true;
        }
    }
    return false;
}

void TSectorSettings::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TSectorSettings*>(Dest);
    if (!d) return TMvPersistent::AssignTo(Dest);
    d->SetSector1Color(FSector1Color);
    d->SetSector2Color(FSector2Color);
    d->SetSector3Color(FSector3Color);
    d->SetSector1From(FSector1From);
    d->SetSector2From(FSector2From);
    d->SetSector3From(FSector3From);
    d->SetSector1To(FSector1To);
    d->SetSector2To(FSector2To);
    d->SetSector3To(FSector3To);
}

// --- TMinMax ---------------------------------------------------------------------------------

TMinMax::TMinMax() : FMaxDateTime(Now()), FMinDateTime(FMaxDateTime) {}

void TMinMax::SetMax(float v) {
    FMax = v;
    FMaxDateTime = Now();
}

void TMinMax::SetMin(float v) {
    FMin = v;
    FMinDateTime = Now();
}

// --- Control bases ---------------------------------------------------------------------------

void TMvGraphicControl::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) DoParamChange();
}

void TMvGraphicControl::DoParamChange() {
    if (FUpdateCount == 0) ParamChange(this);
}

void TMvCustomControl::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) Invalidate();
}

void TMvCustomControl::DoParamChange() {
    if (FUpdateCount == 0) ParamChange(this);
}

// --- TMvBinGControl --------------------------------------------------------------------------

bool GroupUpdating = false;

TMvBinGControl::TMvBinGControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

TMvBinGControl::~TMvBinGControl() { UnregisterFlashClient(this); }

void TMvBinGControl::RegisterFlash() { RegisterFlashClient(this, 2 + static_cast<int>(FFrequency)); }

void TMvBinGControl::SetChecked(bool V) {
    if (V == FChecked) return;
    FChecked = V;
    if (V && FFlashing) RegisterFlash();
    else UnregisterFlashClient(this);
    const int32_t bit = static_cast<int32_t>(1u << FStatusBit);
    if (V) SetStatusInt(FMode == mRadioButton ? bit : (FStatusInt | bit));
    else if (FMode != mRadioButton) SetStatusInt(FStatusInt & ~bit);
    StatusChanged();
    if (OnStatusChanged) OnStatusChanged(this);
}

void TMvBinGControl::SetStatusInt(int32_t V) {
    if (V == FStatusInt) return;
    FStatusInt = V;
    SetChecked(((static_cast<uint32_t>(V) >> FStatusBit) & 1u) != 0);
    FirstCheckedBit = 32;
    for (int b = 0; b < 32; ++b) {
        if ((static_cast<uint32_t>(V) >> b) & 1u) {
            FirstCheckedBit = b;
            break;
        }
    }
    StatusIntChanged();
    if (OnStatusIntChanged) OnStatusIntChanged(this);
    if (FGroupIndex != 0 && !GroupUpdating && Owner()) {
        GroupUpdating = true;
        try {
            TComponent* owner = Owner();
            for (int i = 0; i < owner->ComponentCount(); ++i) {
                auto* m = dynamic_cast<TMvBinGControl*>(owner->Components(i));
                if (m && m->FGroupIndex == FGroupIndex) m->SetStatusInt(FStatusInt);
            }
        } catch (...) {
            GroupUpdating = false;
            throw;
        }
        GroupUpdating = false;
    }
}

void TMvBinGControl::SetStatusBit(int32_t V) {
    if (V == FStatusBit || V < 0 || V >= 32) return;
    FStatusBit = V;
    SetChecked(((static_cast<uint32_t>(FStatusInt) >> V) & 1u) != 0);
}

void TMvBinGControl::SetGroupIndex(int32_t V) {
    if (V == FGroupIndex || V < 0) return;
    FGroupIndex = V;
    if (V != 0 && Owner()) {
        TComponent* owner = Owner();
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* m = dynamic_cast<TMvBinGControl*>(owner->Components(i));
            if (m && m->FGroupIndex == V) {
                SetStatusInt(m->FStatusInt);
                break;
            }
        }
    }
    GroupIndexChanged();
}

void TMvBinGControl::SetMode(TMode V) {
    FMode = V;
    if (V == mButton) SetStatusInt(0);
    else if (V == mRadioButton) SetStatusInt(1);
}

void TMvBinGControl::SetFlashing(bool V) {
    if (V == FFlashing) return;
    FFlashing = V;
    if (FChecked && V) RegisterFlash();
    else UnregisterFlashClient(this);
    StatusChanged();
    if (OnStatusChanged) OnStatusChanged(this);
}

void TMvBinGControl::SetFrequency(TFlashFreq V) {
    FFrequency = V;
    if (FChecked && FFlashing) RegisterFlash();
}

void TMvBinGControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_FLASHTICK) {
        Flash(Message.LParam != 0);
        return;
    }
    TGraphicControl::Dispatch(Message);
}

void TMvBinGControl::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    ParamChange(this);
}

void TMvBinGControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        // An indicator is never drawn pressed: its release would not clear the flag.
        MouseIsDown = FMode != mIndicator;
        switch (FMode) {
            case mButton: SetChecked(true); break;
            case mSwitch: SetChecked(!FChecked); break;
            case mRadioButton: SetStatusInt(static_cast<int32_t>(1u << FStatusBit)); break;
            case mIndicator: break;
        }
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TMvBinGControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (FMode == mIndicator || Button != mbLeft) return;
    MouseIsDown = false;
    if (FMode == mButton) SetChecked(false);
    StatusChanged();
}
