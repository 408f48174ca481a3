#include "controls/instrument/MvCBitBt.h"

#include <algorithm>

TMvColBitBtn::TMvColBitBtn(TComponent* AOwner)
    : TMvBinGControl(AOwner),
      FButtonBevel(std::make_unique<TMvBtnBevel>()),
      FGlyph(std::make_unique<TBitmap>()),
      FGradBtnFace(std::make_unique<TMvGradSettings>()),
      BmpBackground(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 65, 33);
    Font()->SetStyle(TFontStyles() << fsBold);
    FGradBtnFace->SetColorFrom(0xF0F0F0);
    FGradBtnFace->SetColorTo(0x696969);
    FGradBtnFace->SetStyle(gsHorizontal1);
    FGradBtnFace->SetVisible(true);
    FButtonBevel->SetWidth(4);
    SetMode(mButton);
    // Hooked at once as well as in Loaded: controls made in code are never loaded, and editing a
    // sub-property must still repaint them.
    HookSettings();
}

TMvColBitBtn::~TMvColBitBtn() = default;

void TMvColBitBtn::HookSettings() {
    FGradBtnFace->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
    FButtonBevel->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
}

void TMvColBitBtn::Loaded() {
    TMvBinGControl::Loaded();
    HookSettings();
}

void TMvColBitBtn::SetEnabled(bool value) {
    if (value == Enabled()) return;
    TMvBinGControl::SetEnabled(value);
    StatusChanged();
}

void TMvColBitBtn::SetGlyph(TBitmap* value) {
    FGlyph->Assign(value);
    if (FGlyph->Height() <= 0) FNumGlyph = 1;
    else FGlyph->SetTransparentColor(FGlyph->Canvas()->Pixels(0, FGlyph->Height() - 1));
    StatusChanged();
}

void TMvColBitBtn::SetNumGlyph(int value) {
    if (value == FNumGlyph || value <= 0) return;
    FNumGlyph = value;
    StatusChanged();
}

void TMvColBitBtn::SetCheckedOptions(TCheckedOptions value) {
    FCheckedOptions = value;
    StatusChanged();
}

void TMvColBitBtn::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    Invalidate();  // the background must be rebuilt
}

void TMvColBitBtn::ParamChange(TObject*) { Invalidate(); }

void TMvColBitBtn::Paint() {
    if (Painting) return;
    Painting = true;
    TRect face(0, 0, Width(), Height());
    ShrinkRect(face, FButtonBevel->Width());
    if (Visible() || Designing()) {
        const TRect client = ClientRect();
        BmpBackground->SetSize(Width(), Height());
        BmpBackground->Canvas()->CopyRect(client, Canvas(), client);
        if (!FTransparent && FGradBtnFace->Visible()) FGradBtnFace->Fill(BmpBackground->Canvas(), face);
        Painting = false;
        StatusChanged();
    }
    Painting = false;
}

void TMvColBitBtn::StatusChanged() {
    if (Painting) return;
    Painting = true;
    const bool flashing = Checked() && Flashing();
    auto look = [&](TFlashOption fo, TCheckedOption co) {
        if (FFlashOptions.Contains(fo) && flashing) return FlashStatus;
        return FCheckedOptions.Contains(co) && Checked();
    };
    const bool glyph = look(foGlyph, coGlyph);
    const bool text = look(foText, coText);
    const bool textCol = look(foTextCol, coTextCol);
    const bool btn = look(foBtnCol, coBtnCol);
    try {
        if (Visible() || Designing()) Draw(glyph, text, textCol, btn);
    } catch (...) {
        Painting = false;
        throw;
    }
    Painting = false;
}

void TMvColBitBtn::Flash(bool status) {
    FlashStatus = status;
    if (!Painting) StatusChanged();
}

void TMvColBitBtn::Draw(bool stGlyph, bool stText, bool stTextCol, bool stBtn) {
    const int iw = FGlyph->Width() / FNumGlyph, ih = FGlyph->Height();
    TBitmap work(Width(), Height());
    TCanvas* c = work.Canvas();
    c->Draw(0, 0, BmpBackground.get());
    TRect r = ClientRect();

    int dx = FOffsetX, dy = FOffsetY;
    if (MouseIsDown || (Checked() && FCheckedOptions.Contains(coBevel))) {
        dx += FOffsetDown;
        dy += FOffsetDown;
    }
    const String caption = stText ? FTextOn : (!FTextOff.IsEmpty() ? FTextOff : FTextOn);
    const TColor fc = !Enabled() ? FColorDisabled : stBtn ? FColorOn : FColorOff;

    const bool showBevel = (FBeveled && (!FFlat || Designing())) || (!FBeveled && FFlat && Designing()) ||
                           (FMouseInControl && FFlat);
    const bool plainFace = !FTransparent && !FGradBtnFace->Visible();
    if (showBevel) {
        const bool up = FCheckedOptions.Contains(coBevel) ? !(Checked() || MouseIsDown) : !MouseIsDown;
        FButtonBevel->PaintBevel(c, r, up, plainFace, fc);
    } else if (plainFace) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(fc);
        c->Pen()->SetColor(fc);
        c->Rectangle(r);
    }

    // Measured over both captions, so switching between them does not move the layout.
    c->SetFont(Font());
    int w = 0, lineH = 0;
    MeasureTextLines(c, w, lineH, CaptionSeparator, FTextOn + CaptionSeparator + FTextOff);
    const int th = lineH * (CharCount(caption, CaptionSeparator) + 1);
    const int s = (iw < 1 || w < 1) ? 0 : FSpacing;
    const int gw = iw, gh = ih;
    int bw, bh;
    if (fPosGlyph == pLeft || fPosGlyph == pRight) {
        bh = std::max(gh, th);
        bw = gw + s + w;
    } else {
        bh = gh + s + th;
        bw = std::max(gw, w);
    }
    const int cx = fPosHorizontal == phLeft    ? r.Left + bw / 2
                   : fPosHorizontal == phRight ? r.Right - bw / 2
                                               : r.Left + (r.Right - r.Left) / 2;
    const int cy = fPosVertical == pvTop      ? r.Top + bh / 2
                   : fPosVertical == pvBottom ? r.Bottom - bh / 2
                                              : r.Top + (r.Bottom - r.Top) / 2;
    int gx = 0, gy = 0, tx = 0, ty = 0, align = 0;
    switch (fPosGlyph) {
        case pLeft:
            gx = cx - bw / 2;
            gy = cy - gh / 2;
            tx = gx + gw + s;
            ty = cy;
            align = 3;
            break;
        case pRight:
            gx = cx + bw / 2 - gw;
            gy = cy - gh / 2;
            tx = gx - s;
            ty = cy;
            align = 5;
            break;
        case pTop:
            gx = cx - gw / 2;
            gy = cy - bh / 2;
            tx = cx;
            ty = gy + gh + s;
            align = 1;
            break;
        case pBottom:
            gx = cx - gw / 2;
            gy = cy + bh / 2 - gh;
            tx = cx;
            ty = gy - s;
            align = 7;
            break;
    }
    gx += dx;
    tx += dx;
    gy += dy;
    ty += dy;

    c->Brush()->SetStyle(bsClear);
    TColor textColor = stTextCol ? FTextColOn : FTextColOff;
    if (!Enabled()) textColor = FTextColDisabled;
    if (!caption.IsEmpty())
        DrawTextLines3D(c, tx, ty, FText3D, align, caption, FButtonBevel->HighlightColTo(), FButtonBevel->ShadowColTo(),
                        textColor, 0);

    if (iw > 0) {
        int index = 0;
        if (FNumGlyph >= 2) {
            if (!Enabled()) index = 1;
            else if (stGlyph && FNumGlyph >= 3) index = 2;
        }
        TBitmap image(iw, ih);
        image.Canvas()->CopyRect(TRect(0, 0, iw, ih), FGlyph->Canvas(), TRect(index * iw, 0, index * iw + iw, ih));
        image.SetTransparentColor(FGlyph->TransparentColor());
        image.SetTransparent(true);
        c->Draw(gx, gy, &image);
    }
    Canvas()->Draw(0, 0, &work);
}

void TMvColBitBtn::CMMouseEnter(TMessage& Message) {
    TMvBinGControl::CMMouseEnter(Message);
    if (FFlat && Enabled() && !FMouseInControl && GetCaptureControl() == nullptr) {
        FMouseInControl = true;
        StatusChanged();
    }
}

void TMvColBitBtn::CMMouseLeave(TMessage& Message) {
    TMvBinGControl::CMMouseLeave(Message);
    if (FFlat && Enabled() && FMouseInControl) {
        FMouseInControl = false;
        StatusChanged();
    }
}
