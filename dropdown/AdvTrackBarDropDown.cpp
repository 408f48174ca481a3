// The track-bar drop-down: the track bar in the pop-up, its range and value, the keys and the
// mouse drag over the edit.
#include "dropdown/AdvTrackBarDropDown.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

TAdvTrackBarDropDown::TAdvTrackBarDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {}

void TAdvTrackBarDropDown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetForceShadow(true);
}

void TAdvTrackBarDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!FTrackBar) {
        FTrackBar = NewComponent<TTrackBar>(this);
        FTrackBar->SetParent(DropDownForm());
        FTrackBar->SetBounds(0, 0, FTrackBar->Width(), kBarHeight);
    }
    FTrackBar->OnChange = [this](TObject* Sender) { TrackChanged(Sender); };
}

void TAdvTrackBarDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    DropDownForm()->SetCancelOnDeActivate(false);
    if (FTrackBar) {
        FTrackBar->SetMin(FMin);
        FTrackBar->SetMax(FMax);
        FTrackBar->SetPosition(FPosition);
        FTrackBar->SetPageSize(FPageSize);
        FTrackBar->SetFrequency(FFrequency);
    }
    SetPopupControl(FTrackBar);
    // The edit's width and 40 pixels, for the pop-up to be sized round: docking (the first
    // time, and at every opening) fits it to the pop-up's client area.
    if (FTrackBar) {
        FTrackBar->SetAlign(alNone);
        FTrackBar->SetBounds(0, 0, Width(), kBarHeight);
    }
}

// The pop-ups' least height (50) would stretch the bar; this one keeps the height it was sized
// to (or the user's).
void TAdvTrackBarDropDown::OpenPopup() {
    TAdvCustomDropDown::OpenPopup();
    TDropDownForm* form = DropDownForm();
    if (!DroppedDown() || !form) return;
    TSizeConstraints least = form->Constraints();
    least.MinHeight = 0;
    form->SetConstraints(least);
    int height = DropDownHeight() > 0 ? DropDownHeight() : 2 * DropDownBorderWidth() + kBarHeight;
    if (UserDropDownHeight() != -1) height = UserDropDownHeight();
    form->SetHeight(height);
}

void TAdvTrackBarDropDown::TrackChanged(TObject*) {
    FPosition = FTrackBar->Position();
    SetPlainText(IntToStr(FPosition));
    if (OnTrackChange) OnTrackChange(this);
}

void TAdvTrackBarDropDown::SetMin(int value) {
    FMin = value;
    if (!FTrackBar) return;
    FTrackBar->SetMin(value);
    FMin = FTrackBar->Min();
}

void TAdvTrackBarDropDown::SetMax(int value) {
    FMax = value;
    if (!FTrackBar) return;
    FTrackBar->SetMax(value);
    FMax = FTrackBar->Max();
}

void TAdvTrackBarDropDown::SetFrequency(int value) {
    FFrequency = value;
    if (FTrackBar) FTrackBar->SetFrequency(value);
}

void TAdvTrackBarDropDown::SetPageSize(int value) {
    FPageSize = value;
    if (FTrackBar) FTrackBar->SetPageSize(value);
}

void TAdvTrackBarDropDown::SetPosition(int value) {
    FPosition = value;
    if (!FTrackBar) return;
    FTrackBar->SetPosition(value);
    FPosition = FTrackBar->Position();
}

void TAdvTrackBarDropDown::HandleChange() {
    TAdvCustomDropDown::HandleChange();
    SetPosition(StrToInt(Text()));
}

void TAdvTrackBarDropDown::KeyDownMessage(TMessage& Message) {
    TAdvCustomDropDown::KeyDownMessage(Message);
    if (EditorEnabled() || GetKeyState(VK_MENU) < 0) return;
    if (Message.WParam == VK_UP && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
    else if (Message.WParam == VK_DOWN && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TAdvTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (!Draggable()) return;
    FMouseX = X;
    FMouseDraging = true;
}

void TAdvTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvCustomDropDown::MouseMove(Shift, X, Y);
    if (!Draggable() || !FMouseDraging) return;
    // The pixels short of a step are lost: the next move counts from here.
    if (FPageSize != 0) SetPosition(FPosition + (X - FMouseX) / FPageSize);
    FMouseX = X;
}

void TAdvTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomDropDown::MouseUp(Button, Shift, X, Y);
    if (Draggable()) FMouseDraging = false;
}

void TAdvTrackBarDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTrackBar) FTrackBar = nullptr;
}
