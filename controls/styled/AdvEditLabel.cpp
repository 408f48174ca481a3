// The styled edit's attached label: made with its first caption, placed in one of 15 positions
// round the edit, following the edit's parent, visibility, enabled state and font.
#include "controls/styled/AdvEdit.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/GraphicsBmp.h"

namespace advedit {

TPoint LabelPlacement(TLabelPosition position, const TRect& control, int labelWidth, int labelHeight, int captionWidth,
                      int margin) {
    const int L = control.Left, T = control.Top, W = control.Width(), H = control.Height();
    const int lw = labelWidth, lh = labelHeight, w = captionWidth, M = margin;
    // Centred: integer division truncates toward zero, as the layout always did.
    const int midTop = lh < H ? T + (H - lh) / 2 : T - (lh - H) / 2;
    const int midLeft = W > lw ? L + (W - lw) / 2 : L - (lw - W) / 2;
    switch (position) {
        case lpLeftTop: return TPoint(L - w - M, T);
        case lpLeftCenter: return TPoint(L - w - M, midTop);
        case lpLeftBottom: return TPoint(L - w - M, T + H - lh);
        case lpTopLeft: return TPoint(L, T - lh - M);
        case lpBottomLeft: return TPoint(L, T + H + M);
        case lpLeftTopLeft: return TPoint(L - M, T);
        case lpLeftCenterLeft: return TPoint(L - M, midTop);
        case lpLeftBottomLeft: return TPoint(L - M, T + H - lh);
        case lpTopCenter: return TPoint(midLeft, T - lh - M);
        case lpBottomCenter: return TPoint(midLeft, T + H + M);
        case lpRightTop: return TPoint(L + W + M, T);
        case lpRightCenter: return TPoint(L + W + M, midTop);
        case lpRighBottom: return TPoint(L + W + M, T + H - lh);
        case lpTopRight: return TPoint(L + W - lw, T - lh - M);
        case lpBottomRight: return TPoint(L + W - lw, T + H + M);
    }
    return TPoint(L, T);
}

}  // namespace advedit

String TAdvEdit::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TAdvEdit::SetLabelCaption(const String& value) {
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->FreeNotification(this);  // the parent may free it first, as a child
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
        FLabel->OnClick = [this](TObject*) {
            if (OnLabelClick) OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](TObject*) {
            if (OnLabelDblClick) OnLabelDblClick(this);
        };
        FLabel->SetEnabled(FLabelAlwaysEnabled || Enabled());
    }
    FLabel->SetCaption(value);
    PlaceLabel();
}

void TAdvEdit::SetLabelPosition(advedit::TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TAdvEdit::SetLabelMargin(int value) {
    FLabelMargin = value;
    PlaceLabel();
}

void TAdvEdit::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    PlaceLabel();
}

void TAdvEdit::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel && value) FLabel->SetEnabled(true);
}

void TAdvEdit::SetLabelFont(const TFont* value) {
    FLabelFont->Assign(value);
    if (ComponentState().Contains(csDesigning)) SetParentFont(false);
}

void TAdvEdit::PlaceLabel() {
    if (!FLabel || !FLabelFont) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FLabelFollowsFont && ParentFont() ? Font() : FLabelFont.get());
    TBitmap measure;
    measure.Canvas()->Font()->Assign(FLabel->Font());
    TRect r(0, 0, 1000, 255);
    DrawText(measure.Canvas()->Handle(), FLabel->Caption(), -1, &r, DT_CALCRECT | DT_HIDEPREFIX | DT_LEFT);
    const TPoint at = advedit::LabelPlacement(FLabelPosition, BoundsRect(), FLabel->Width(), FLabel->Height(), r.Width(),
                                              FLabelMargin);
    FLabel->SetLeft(at.X);
    FLabel->SetTop(at.Y);
    FLabel->SetVisible(Visible());
}

void TAdvEdit::SetParent(TWinControl* AParent) {
    TCustomEdit::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        FLabel->SetVisible(Visible());
    }
}

void TAdvEdit::CMVisibleChanged(TMessage& Message) {
    TCustomEdit::CMVisibleChanged(Message);
    if (FLabel) FLabel->SetVisible(Visible());
}

void TAdvEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}
