// The drop-down edit's caption label: made with its first caption, placed at one of fifteen
// positions round the edit by the shared rule, following the edit's bounds, parent, visibility
// and font.
#include "controls/styled/LabelPlacement.h"
#include "dropdown/AdvDropDown.h"

static_assert(static_cast<int>(advdropdown::lpRighBottom) == styled::lpRighBottom &&
              static_cast<int>(advdropdown::lpBottomRight) == styled::lpBottomRight);

String TAdvCustomDropDown::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TAdvCustomDropDown::SetLabelCaption(const String& value) {
    if (!FLabel) {
        FLabel = NewComponent<TLabel>(this);
        FLabel->FreeNotification(this);  // the parent may free it first, as a child
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->OnClick = [this](TObject*) { LabelClick(); };
        FLabel->OnDblClick = [this](TObject*) { LabelDblClick(); };
        FLabel->SetParentFont(ParentFont());
    }
    FLabel->SetCaption(value);
    PlaceLabel();
}

void TAdvCustomDropDown::LabelClick() {
    if (OnLabelClick) OnLabelClick(this);
}

void TAdvCustomDropDown::LabelDblClick() {
    if (OnLabelDblClick) OnLabelDblClick(this);
}

void TAdvCustomDropDown::SetLabelPosition(advdropdown::TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TAdvCustomDropDown::SetLabelMargin(int value) {
    FLabelMargin = value;
    PlaceLabel();
}

void TAdvCustomDropDown::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    PlaceLabel();
}

void TAdvCustomDropDown::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel && value) FLabel->SetEnabled(true);
    PlaceLabel();
}

void TAdvCustomDropDown::SetLabelFont(const TFont* value) {
    if (!ParentFont()) FLabelFont->Assign(value);
    PlaceLabel();
}

// A new label font shows at once; one set at design time ends the edit's parent font.
void TAdvCustomDropDown::LabelFontChanged(TObject*) {
    const TComponentState state = ComponentState();
    if (state.Contains(csDesigning) && !state.Contains(csLoading)) SetParentFont(false);
    PlaceLabel();
}

void TAdvCustomDropDown::PlaceLabel(const TFont* LabelFont) {
    if (!FLabel || !FLabelFont) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(LabelFont ? LabelFont : FParentFnt ? Font() : FLabelFont.get());
    styled::PlaceAttachedLabel(FLabel, FLabelPosition, BoundsRect(), FLabelMargin);
    FLabel->SetVisible(Visible());
}

void TAdvCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) PlaceLabel();
}

void TAdvCustomDropDown::SetParent(TWinControl* AParent) {
    TCustomMaskEdit::SetParent(AParent);
    if (!FLabel) return;
    FLabel->SetParent(AParent);
    PlaceLabel();
}

void TAdvCustomDropDown::CMVisibleChanged(TMessage& Message) {
    TCustomMaskEdit::CMVisibleChanged(Message);
    if (FLabel && !FLabel->Caption().empty()) FLabel->SetVisible(Visible());
}

void TAdvCustomDropDown::CMParentFontChanged(TMessage& Message) {
    TCustomMaskEdit::CMParentFontChanged(Message);
    if (ParentFont()) PlaceLabel(Font());
}
