#include "platform/ui/ExtCtrlsDrawn.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csAcceptsControls << csCaptureMouse << csClickEvents << csSetCaption
                                    << csOpaque << csDoubleClicks << csReplicatable;
    SetBevelInner(bvNone);
    SetBevelOuter(bvRaised);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    FrameChanged();
}

void TCustomPanel::FrameChanged() {
    AlignControls();
    Invalidate();
}

void TCustomPanel::BevelsChanged() {
    TCustomControl::BevelsChanged();
    FrameChanged();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    int size = FBorderWidth + (FBorderStyle != bsNone ? 1 : 0);
    if (BevelOuter() != bvNone) size += BevelWidth();
    if (BevelInner() != bvNone) size += BevelWidth();
    Rect = ::Rect(Rect.Left + size, Rect.Top + size, Rect.Right - size, Rect.Bottom - size);
}

void TCustomPanel::SetParentBackground(bool value) {
    if (FParentBackground == value) return;
    FParentBackground = value;
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TColor face = (FParentBackground && Parent()) ? Parent()->Color() : Color();
    TRect r = ClientRect();
    if (FBorderStyle != bsNone) Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone) return;
        if (b == bvSpace) Frame3D(c, r, face, face, BevelWidth());
        else ui::DrawBevel(c, r, b == bvRaised, BevelWidth());
    };
    bevel(BevelOuter());
    if (FBorderWidth > 0) Frame3D(c, r, face, face, FBorderWidth);
    bevel(BevelInner());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(face);
    c->FillRect(r);
    if (Caption().empty()) return;
    c->SetFont(Font());
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
    flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    ui::DrawControlText(c, Caption(), r, flags, Enabled());
}

// ---------------------------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
    if (FShape == value) return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    // Top and left in the first colour, right and bottom in the second, corners included.
    auto box = [&](TRect r, TColor top, TColor bottom) {
        c->FillSolid(Rect(r.Left, r.Top, r.Right, r.Top + 1), top);
        c->FillSolid(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), top);
        c->FillSolid(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottom);
        c->FillSolid(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottom);
    };
    switch (FShape) {
        case bsBox: box(Rect(0, 0, w, h), c1, c2); break;
        case bsFrame:
            box(Rect(1, 1, w, h), c2, c2);
            box(Rect(0, 0, w - 1, h - 1), c1, c1);
            break;
        case bsTopLine:
            c->FillSolid(Rect(0, 0, w, 1), c1);
            c->FillSolid(Rect(0, 1, w, 2), c2);
            break;
        case bsBottomLine:
            c->FillSolid(Rect(0, h - 2, w, h - 1), c1);
            c->FillSolid(Rect(0, h - 1, w, h), c2);
            break;
        case bsLeftLine:
            c->FillSolid(Rect(0, 0, 1, h), c1);
            c->FillSolid(Rect(1, 0, 2, h), c2);
            break;
        case bsRightLine:
            c->FillSolid(Rect(w - 2, 0, w - 1, h), c1);
            c->FillSolid(Rect(w - 1, 0, w, h), c2);
            break;
        case bsSpacer: break;
    }
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    FControlStyle << csReplicatable;
    FPicture->OnChange = [this](TPersistent*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

void TImage::PictureChanged() {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    if (TGraphic* g = FPicture->Graphic(); g && g->Transparent() != FTransparent) {
        // Only bitmaps take the control's setting; icons and metafiles are transparent already.
        if (dynamic_cast<TBitmap*>(g) && !dynamic_cast<TPngImage*>(g)) g->SetTransparent(FTransparent);
    }
    Invalidate();
}

TCanvas* TImage::Canvas() {
    if (!FPicture->Graphic()) {
        TBitmap b(std::max(Width(), 1), std::max(Height(), 1));
        FPicture->SetGraphic(&b);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
    if (!bitmap) throw EInvalidOperation(String("Can only modify an image if it contains a bitmap"));
    if (!bitmap->Canvas()->OnChange)
        bitmap->Canvas()->OnChange = [this](TPersistent*) { Invalidate(); };
    return bitmap->Canvas();
}

void TImage::SetAutoSize(bool value) {
    FAutoSize = value;
    if (value) PictureChanged();
}

void TImage::SetCenter(bool value) {
    if (FCenter == value) return;
    FCenter = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (FStretch == value) return;
    FStretch = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    if (FProportional == value) return;
    FProportional = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    PictureChanged();
}

TRect TImage::DestRect() const {
    int w = FPicture->Width(), h = FPicture->Height();
    int cw = ClientWidth(), ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (FCenter) r = OffsetRectBy(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint() {
    TCanvas* c = TGraphicControl::Canvas();
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty()) return;
    TRect r = DestRect();
    if (r.Width() == g->Width() && r.Height() == g->Height()) c->Draw(r.Left, r.Top, g);
    else c->StretchDraw(r, g);
}

// ---------------------------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    FControlStyle << csReplicatable;
    FPen->OnChange = [this](TPersistent*) { Invalidate(); };
    FBrush->OnChange = [this](TPersistent*) { Invalidate(); };
    SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType value) {
    if (FShape == value) return;
    FShape = value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas* c = Canvas();
    c->SetPen(FPen.get());
    c->SetBrush(FBrush.get());
    int pw = FPen->Width();
    int x = pw / 2, y = pw / 2;
    int w = Width() - pw + 1, h = Height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    switch (FShape) {
        case stRectangle:
        case stSquare: c->Rectangle(x, y, x + w, y + h); break;
        case stRoundRect:
        case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
        case stEllipse:
        case stCircle: c->Ellipse(x, y, x + w, y + h); break;
    }
}
