#include "platform/ui/ComCtrlsNative.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Backend.h"

// ---------------------------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
    FControlStyle >> csClickEvents;
}

std::unique_ptr<ui::RangeView> TTrackBar::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateRangeView(ui::RangeKind::TrackBar, host, this, *this);
}

void TTrackBar::InitView() {
    View()->SetVertical(FOrientation == trVertical);
    View()->SetRange(FMin, FMax, 0);
    View()->SetSteps(FLineSize, FPageSize);
    View()->SetPosition(FPosition);
}

void TTrackBar::SetMin(int value) {
    FMin = value;
    if (FMax < FMin) FMax = FMin;
    if (auto v = ChangeView()) v->SetRange(FMin, FMax, 0);
    SetPosition(FPosition);
}

void TTrackBar::SetMax(int value) {
    FMax = value;
    if (FMin > FMax) FMin = FMax;
    if (auto v = ChangeView()) v->SetRange(FMin, FMax, 0);
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, FMin, FMax);
    if (auto v = ChangeView()) v->SetPosition(value);
    if (value == FPosition) return;
    FPosition = value;
    Changed();
}

void TTrackBar::SetLineSize(int value) {
    FLineSize = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FLineSize, FPageSize);
}

void TTrackBar::SetPageSize(int value) {
    FPageSize = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FLineSize, FPageSize);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    SetBounds(Left(), Top(), Height(), Width());
    if (auto v = ChangeView()) v->SetVertical(value == trVertical);
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::RangeMoved(int position) { SetPosition(position); }

void TTrackBar::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
            case VK_LEFT: case VK_UP: SetPosition(FPosition - FLineSize); return;
            case VK_RIGHT: case VK_DOWN: SetPosition(FPosition + FLineSize); return;
            case VK_PRIOR: SetPosition(FPosition - FPageSize); return;
            case VK_NEXT: SetPosition(FPosition + FPageSize); return;
            case VK_HOME: SetPosition(FMin); return;
            case VK_END: SetPosition(FMax); return;
            default: break;
        }
    }
    TNativeControl::DefaultHandler(Message);
}

// ---------------------------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 17, 25);
    FControlStyle >> csClickEvents;
}

TUpDown::~TUpDown() { SetAssociate(nullptr); }

std::unique_ptr<ui::RangeView> TUpDown::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateRangeView(ui::RangeKind::UpDown, host, this, *this);
}

void TUpDown::InitView() {
    // The view is a pair of arrows: it rests in the middle so both stay pressable.
    View()->SetVertical(FOrientation == udVertical);
    View()->SetRange(0, 2, 0);
    View()->SetSteps(1, 1);
    View()->SetPosition(1);
}

void TUpDown::SetPosition(int value) {
    if (FMin <= FMax) value = std::clamp(value, FMin, FMax);
    FPosition = value;
    ShowInAssociate();
}

void TUpDown::SetThousands(bool value) {
    FThousands = value;
    ShowInAssociate();
}

void TUpDown::SetOrientation(TUDOrientation value) {
    FOrientation = value;
    if (auto v = ChangeView()) v->SetVertical(value == udVertical);
}

void TUpDown::ShowInAssociate() {
    if (!FAssociate) return;
    String s = FThousands ? FormatFloat(String("#,##0"), FPosition) : IntToStr(FPosition);
    FAssociate->SetText(s);
}

void TUpDown::SetAssociate(TWinControl* value) {
    if (FAssociate == value) return;
    if (FAssociate) FAssociate->RemoveFreeNotification(this);
    FAssociate = value;
    if (!value) return;
    value->FreeNotification(this);
    // Beside the associated control, at its right edge, as tall as it.
    if (value->Parent()) SetParent(value->Parent());
    SetBounds(value->Left() + value->Width(), value->Top(), Width(), value->Height());
    ShowInAssociate();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
    TNativeControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

bool TUpDown::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TUpDown::DoClick(TUDBtnType button) {
    if (OnClick) OnClick(this, button);
}

void TUpDown::Press(TUDBtnType button) {
    if (!CanChange()) return;
    int pos = FPosition + (button == btNext ? FIncrement : -FIncrement);
    if (pos > FMax) pos = FWrap ? FMin : FMax;
    if (pos < FMin) pos = FWrap ? FMax : FMin;
    SetPosition(pos);
    DoClick(button);
}

void TUpDown::RangeMoved(int position) {
    if (auto v = ChangeView(); v && position != 1) v->SetPosition(1);
}

void TUpDown::RangeAction(TScrollCode code) {
    // A vertical view's upper arrow lowers its value: for the up-down it is the next value.
    bool vertical = FOrientation == udVertical;
    if (code == scLineUp) Press(vertical ? btNext : btPrev);
    else if (code == scLineDown) Press(vertical ? btPrev : btNext);
}

void TUpDown::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
            case VK_UP: case VK_RIGHT: Press(btNext); return;
            case VK_DOWN: case VK_LEFT: Press(btPrev); return;
            default: break;
        }
    }
    TNativeControl::DefaultHandler(Message);
}
