// The pop-up's header and footer bars of unit AdvDropDown, and their appearances.
#include "dropdown/AdvDropDown.h"

namespace advdropdown {

void TBarAppearance::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    if (OnChange) OnChange(this);
}

void TBarAppearance::AssignBar(const TBarAppearance& Source) {
    FHeight = Source.FHeight;
    SetVisible(Source.FVisible);
}

}  // namespace advdropdown

void THeaderAppearance::Assign(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const THeaderAppearance*>(Source)) AssignBar(*s);
}

void TFooterAppearance::Assign(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const TFooterAppearance*>(Source)) AssignBar(*s);
}

void TAdvButtonAppearance::Assign(const TPersistent* Source) {
    if (dynamic_cast<const TAdvButtonAppearance*>(Source)) return;
    TPersistent::Assign(Source);
}

namespace advdropdown {

template <class TAppearance>
TPopupBar<TAppearance>::TPopupBar(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(std::make_unique<TAppearance>(AOwner)) {
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    FAppearance->OnButtonsChanged = [](TObject*) {};
    SetControlStyle(ControlStyle() << csAcceptsControls << csClickEvents << csDoubleClicks);
    SetDoubleBuffered(true);
}

template <class TAppearance>
TPopupBar<TAppearance>::~TPopupBar() = default;

template <class TAppearance>
void TPopupBar<TAppearance>::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

template <class TAppearance>
void TPopupBar<TAppearance>::SetAdvDropDown(TAdvCustomDropDown* value) {
    FAdvDropDown = value;
    if (!value) {
        SetImages(nullptr);
        return;
    }
    SetImages(value->Images());
    FAppearance->Assign(LinkedAppearance());
}

template <class TAppearance>
void TPopupBar<TAppearance>::AppearanceChanged(TObject*) {
    SetVisible(FAppearance->Visible());
    SetHeight(FAppearance->Height());
}

template <class TAppearance>
void TPopupBar<TAppearance>::Paint() {
    if (OnDrawBackGround) OnDrawBackGround(this, Canvas(), ClientRect());
}

template <class TAppearance>
void TPopupBar<TAppearance>::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

template class TPopupBar<THeaderAppearance>;
template class TPopupBar<TFooterAppearance>;

}  // namespace advdropdown

const THeaderAppearance* TAdvHeader::LinkedAppearance() const {
    return AdvDropDown() ? AdvDropDown()->DropDownHeader() : nullptr;
}

const TFooterAppearance* TAdvFooter::LinkedAppearance() const {
    return AdvDropDown() ? AdvDropDown()->DropDownFooter() : nullptr;
}
