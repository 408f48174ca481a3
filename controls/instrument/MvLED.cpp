#include "controls/instrument/MvLED.h"

#include <algorithm>

#include "controls/instrument/MvFlashT.h"

TMvLED::TMvLED(TComponent* AOwner) : TMvBinGControl(AOwner), FLED(std::make_unique<TLED>()) {
    FLED->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    SetBounds(Left(), Top(), 73, 33);
    SetCaption(Name());
}

TMvLED::~TMvLED() { UnregisterFlashClient(this); }

void TMvLED::SetName(const String& value) {
    const bool follow = Caption() == Name();
    TMvBinGControl::SetName(value);
    if (follow) SetCaption(Name());
}

void TMvLED::SetLED_Position(TLEDPos v) {
    if (v == FLED_Position) return;
    FLED_Position = v;
    ParamChange(this);
}

void TMvLED::SetSpacing(int v) {
    if (v == FSpacing) return;
    FSpacing = v;
    ParamChange(this);
}

void TMvLED::ParamChange(TObject*) { Invalidate(); }

void TMvLED::DrawLamp(bool lit) {
    TCanvas* c = Canvas();
    FLED->Draw(c, lit);
}

void TMvLED::StatusChanged() {
    if (Visible() || ComponentState().Contains(csDesigning)) DrawLamp(Checked());
}

void TMvLED::Flash(bool status) {
    if (Painting) return;
    if (Visible() || ComponentState().Contains(csDesigning)) DrawLamp(status);
}

void TMvLED::Paint() {
    if (Painting) return;
    Painting = true;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int w = FLED->Width(), h = FLED->Height();
    if (FLED->Shape() == sRound) w = h = std::max(w, h);
    const int h2 = Height() / 2, w2 = Width() / 2;
    int left = 0, top = 0, tx = 0, ty = 0, align = 0;
    switch (FLED_Position) {
        case lpLeft:
            left = 0;
            top = h2 - h / 2;
            tx = left + w + FSpacing;
            ty = h2;
            align = 3;
            break;
        case lpRight:
            left = Width() - w;
            top = h2 - h / 2;
            tx = left - FSpacing;
            ty = h2;
            align = 5;
            break;
        case lpTop:
            left = w2 - w / 2;
            top = 0;
            tx = w2;
            ty = top + h + FSpacing;
            align = 1;
            break;
        case lpBottom:
            left = w2 - w / 2;
            top = Height() - h;
            tx = w2;
            ty = top - FSpacing;
            align = 7;
            break;
    }
    FLED->Rect = TRect(left, top, left + w, top + h);
    c->Brush()->SetStyle(bsClear);
    if (!Caption().IsEmpty()) DrawTextLines(c, tx, ty, align, Caption(), 0);
    c->Brush()->SetStyle(bsSolid);
    FLED->Draw(c, Checked());
    Painting = false;
}
