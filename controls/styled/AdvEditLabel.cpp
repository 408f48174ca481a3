// The styled edit's attached label: made with its first caption, placed in one of 15 positions
// round the edit, following the edit's parent, visibility, enabled state and font.
#include "controls/styled/AdvEdit.h"
#include "controls/styled/LabelPlacement.h"

static_assert(static_cast<int>(advedit::lpRighBottom) == styled::lpRighBottom &&
              static_cast<int>(advedit::lpBottomRight) == styled::lpBottomRight);

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
    styled::PlaceAttachedLabel(FLabel, FLabelPosition, BoundsRect(), FLabelMargin);
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
