#include "controls/instrument/MvBar.h"

TMvBar::TMvBar(TComponent* AOwner)
    : TMvAnalogGControl(AOwner), FBarSettings(std::make_unique<TBarSettings>()), FBevelOuter(std::make_unique<TMvSBevel>()) {
    BeginUpdate();
    SetBounds(Left(), Top(), 164, 28);
    FBevelOuter->SetSpacing(5);
    FBevelOuter->SetWidth(2);
    FBarSettings->SetMinWidth(25);
    FBarSettings->SetMinHeight(12);
    FBarSettings->SetOptions({TBarSettings::opValue, TBarSettings::opUnit});
    FBarSettings->SetBkBrightness(40);
    RequireAfterConstruction();
}

void TMvBar::AfterConstruction() {
    TMvAnalogGControl::AfterConstruction();
    // On a designer's form no loader follows: the control ends its own loading, through the
    // most-derived Loaded.
    if (Designing()) Loaded();
}

TMvBar::~TMvBar() = default;

void TMvBar::Loaded() {
    TMvAnalogGControl::Loaded();
    FBevelOuter->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FBarSettings->OnChange = [this](TObject*) { ValueChanged(); };
    EndUpdate();
}

void TMvBar::Paint() {
    if (FUpdateCount > 0) return;
    FBarSettings->ValueUnit = SignalSettings()->ValueUnit();
    const int outer = 2 * FBevelOuter->TotalWidth;
    const int minHeight = 2 * FBarSettings->Bevel()->TotalWidth + outer + FBarSettings->minHeight();
    const int minWidth = outer + FBarSettings->minWidth();
    if (Width() < minWidth || Height() < minHeight)
        SetBounds(Left(), Top(), std::max(Width(), minWidth), std::max(Height(), minHeight));
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    FBevelOuter->PaintFilledBevel(c, r);
    FBarSettings->Bevel()->PaintFilledBevel(c, r);
    FBarSettings->BarRect = r;
    ValueChanged();
}

void TMvBar::ValueChanged() {
    TMvAnalogGControl::ValueChanged();
    if (!Visible()) return;
    TBarSettings& b = *FBarSettings;
    b.Value = ValueStr;
    const bool inSector = InSector1 || InSector2 || InSector3;
    b.SectorCol = b.Options().Contains(TBarSettings::opUseSectorCol) && inSector ? ActSectorCol : b.Color();
    b.SectorSettings()->Assign(SectorSettings());
    b.PaintBar(Canvas(), PPT);
}

void TMvBar::ParamChange(TObject* Sender) {
    TMvAnalogGControl::ParamChange(Sender);
    FBarSettings->ppt0 = SignalSettings()->GetPPT(0);
    Invalidate();
}
