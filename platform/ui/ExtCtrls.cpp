#include "platform/ui/ExtCtrls.h"

#include "platform/ui/Backend.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Window.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    UpdateTimer();
}

TTimer::~TTimer() {
    FEnabled = false;
    KillTimer(FWindowHandle, kTimerId);
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT value) {
    if (FInterval == value) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(FWindowHandle, kTimerId);
    // Setting the timer again restarts its period, as the platform does.
    if (FEnabled && FInterval != 0) SetTimer(FWindowHandle, kTimerId, FInterval, nullptr);
}

void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
}

void TTimer::Timer() {
    if (FEnabled && OnTimer && !ComponentState().Contains(csDestroying)) OnTimer(this);
}

// ---------------------------------------------------------------------------------------------
// TBoundLabel, TCustomLabeledEdit

TBoundLabel::TBoundLabel(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 60, 13);
    SetColor(clBtnFace);
}

std::unique_ptr<ui::StaticView> TBoundLabel::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateStaticView(ui::StaticKind::Label, host, this);
}

void TBoundLabel::InitView() {
    View()->SetCaption(Text());
    AdjustSize();
}

void TBoundLabel::CMDialogChar(TMessage& Message) {
    // The accelerator of the caption focuses the control it labels.
    if (FFocusControl && IsAccel(static_cast<WORD>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogChar(Message);
}

void TBoundLabel::CMTextChanged(TMessage& Message) {
    if (auto v = ChangeView()) v->SetCaption(Text());
    TNativeControlOf::CMTextChanged(Message);
    AdjustSize();
}

void TBoundLabel::AdjustSize() {
    TSize size = View() ? View()->PreferredSize() : TSize();
    if (size.cx <= 0) size = TSize{std::max(1, Caption().Length() * 7), 15};  // until the widget can measure
    if (size.cx == Width() && size.cy == Height()) return;
    SetBounds(Left(), Top(), size.cx, size.cy);
    if (auto* edit = dynamic_cast<TCustomLabeledEdit*>(FFocusControl)) edit->PlaceLabel();
}

TCustomLabeledEdit::TCustomLabeledEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    // The label is a sub-component: the edit's owner does not free it twice.
    FEditLabel = new TBoundLabel(this);
    FEditLabel->SetFocusControl(this);
    FEditLabel->FreeNotification(this);
}

void TCustomLabeledEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FEditLabel) FEditLabel = nullptr;
}

void TCustomLabeledEdit::SetParent(TWinControl* AParent) {
    TCustomEdit::SetParent(AParent);
    if (!FEditLabel) return;
    FEditLabel->SetParent(AParent);
    FEditLabel->SetVisible(Visible());
    PlaceLabel();
}

void TCustomLabeledEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceLabel();
}

void TCustomLabeledEdit::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TCustomLabeledEdit::SetLabelSpacing(int value) {
    FLabelSpacing = value;
    PlaceLabel();
}

void TCustomLabeledEdit::PlaceLabel() {
    if (!FEditLabel) return;
    int w = FEditLabel->Width(), h = FEditLabel->Height();
    switch (FLabelPosition) {
        case lpAbove: FEditLabel->SetBounds(Left(), Top() - h - FLabelSpacing, w, h); break;
        case lpBelow: FEditLabel->SetBounds(Left(), Top() + Height() + FLabelSpacing, w, h); break;
        case lpLeft: FEditLabel->SetBounds(Left() - w - FLabelSpacing, Top() + (Height() - h) / 2, w, h); break;
        case lpRight: FEditLabel->SetBounds(Left() + Width() + FLabelSpacing, Top() + (Height() - h) / 2, w, h); break;
    }
}

void TCustomLabeledEdit::CMVisibleChanged(TMessage& Message) {
    TCustomEdit::CMVisibleChanged(Message);
    if (FEditLabel) FEditLabel->SetVisible(Visible());
}

void TCustomLabeledEdit::CMEnabledChanged(TMessage& Message) {
    TCustomEdit::CMEnabledChanged(Message);
    if (FEditLabel) FEditLabel->SetEnabled(Enabled());
}
