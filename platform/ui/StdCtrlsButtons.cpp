#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/ui/Backend.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* AOwner, ui::ButtonKind kind) : TNativeControlOf(AOwner), FKind(kind) {
    // The click comes from the button's own press and release (BM_CLICK), as on the platform.
    FControlStyle >> csClickEvents;
}

std::unique_ptr<ui::ButtonView> TButtonControl::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateButtonView(FKind, host, this);
}

void TButtonControl::InitView() { View()->SetCaption(Text()); }

void TButtonControl::CMTextChanged(TMessage& Message) {
    if (auto v = ChangeView()) v->SetCaption(Text());
    TNativeControlOf::CMTextChanged(Message);
}

void TButtonControl::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    FocusOnClick();
    FPressed = true;
    if (auto v = ChangeView()) v->SetDown(true);
}

void TButtonControl::WMLButtonUp(TMessage& Message) {
    bool pressed = FPressed;
    FPressed = false;
    if (auto v = ChangeView()) v->SetDown(false);
    TNativeControl::WMLButtonUp(Message);
    if (pressed && !ComponentState().Contains(csDestroying) &&
        ClientRect().Contains(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam))))
        Perform(BM_CLICK, 0, 0);
}

void TButtonControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYUP:
            if (Message.WParam == VK_SPACE) Perform(BM_CLICK, 0, 0);
            return;
        case BM_CLICK: Click(); return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}

void TButtonControl::CMDialogChar(TMessage& Message) {
    if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && Enabled() && Showing()) {
        if (CanFocus()) SetFocus();
        Click();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogChar(Message);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner, ui::ButtonKind::PushButton) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::InitView() {
    TButtonControl::InitView();
    View()->SetDefault(FDefault);
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (auto v = ChangeView()) v->SetDefault(value);
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    // Enter clicks the focused button, or the default one while no button has the focus.
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    bool isActive = active == this || (FDefault && !dynamic_cast<TButton*>(active));
    bool enter = key == VK_RETURN && isActive, escape = key == VK_ESCAPE && FCancel;
    if ((enter || escape) && Enabled() && Showing()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(Message);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner, ui::ButtonKind::CheckBox) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::InitView() {
    TButtonControl::InitView();
    View()->SetCheckState(FState);
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    if (auto v = ChangeView()) v->SetCheckState(value);
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case BM_CLICK: Toggle(); return;
        case BM_GETCHECK: Message.Result = static_cast<LRESULT>(FState); return;
        case BM_SETCHECK: {
            // The platform's message changes the look and fires nothing.
            auto s = static_cast<TCheckBoxState>(std::min<WPARAM>(Message.WParam, 2));
            FState = s;
            if (auto v = ChangeView()) v->SetCheckState(s);
            return;
        }
        default: TButtonControl::DefaultHandler(Message); return;
    }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, ui::ButtonKind::RadioButton) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::InitView() {
    TButtonControl::InitView();
    View()->SetCheckState(FChecked ? cbChecked : cbUnchecked);
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    SetTabStop(value);
    if (auto v = ChangeView()) v->SetCheckState(value ? cbChecked : cbUnchecked);
    if (!value) return;
    if (TWinControl* p = Parent()) {
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this) r->SetChecked(false);
    }
    if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::CMEnter(TMessage& Message) {
    // Arrow keys move through a group and check the button they reach, as the platform's
    // automatic radio buttons do.
    if (GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0 || GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0) SetChecked(true);
    TButtonControl::CMEnter(Message);
}

void TRadioButton::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case BM_CLICK: SetChecked(true); return;
        case BM_GETCHECK: Message.Result = FChecked ? 1 : 0; return;
        case BM_SETCHECK:
            FChecked = Message.WParam == BST_CHECKED;
            if (auto v = ChangeView()) v->SetCheckState(FChecked ? cbChecked : cbUnchecked);
            return;
        default: TButtonControl::DefaultHandler(Message); return;
    }
}

// ---------------------------------------------------------------------------------------------
// TCustomRadioGroup

namespace {

// A radio button of a group: its click is the group's.
class TGroupButton final : public TRadioButton {
public:
    TGroupButton(TComponent* owner, std::function<void(TRadioButton*)> onClick) : TRadioButton(owner), FOnClick(std::move(onClick)) {}
    void Click() override {
        TRadioButton::Click();
        if (FOnClick && Checked()) FOnClick(this);
    }

private:
    std::function<void(TRadioButton*)> FOnClick;
};

}  // namespace

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TNativeControlOf(AOwner), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 105);
    FControlStyle << csAcceptsControls;
    FItems->OnChange = [this](TStrings*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { FItems->OnChange = nullptr; }

std::unique_ptr<ui::StaticView> TCustomRadioGroup::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateStaticView(ui::StaticKind::GroupBox, host, this);
}

void TCustomRadioGroup::InitView() { View()->SetCaption(Text()); }

void TCustomRadioGroup::CMTextChanged(TMessage& Message) {
    if (auto v = ChangeView()) v->SetCaption(Text());
    TNativeControlOf::CMTextChanged(Message);
}

void TCustomRadioGroup::UpdateButtons() {
    FUpdating = true;
    while (static_cast<int>(FButtons.size()) > FItems->Count()) {
        TRadioButton* b = FButtons.back();
        FButtons.pop_back();
        b->Free();
    }
    while (static_cast<int>(FButtons.size()) < FItems->Count()) {
        auto* b = new TGroupButton(this, [this](TRadioButton* rb) { ButtonClick(rb); });
        b->SetParent(this);
        FButtons.push_back(b);
    }
    for (size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->SetCaption(FItems->Get(static_cast<int>(i)));
        FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
    }
    if (FItemIndex >= static_cast<int>(FButtons.size())) FItemIndex = -1;
    FUpdating = false;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    int cols = std::max(1, FColumns);
    int rows = (static_cast<int>(FButtons.size()) + cols - 1) / cols;
    const int top = 16, margin = 8;
    int w = std::max(1, (Width() - margin) / cols);
    int h = std::max(1, (Height() - top - 4) / std::max(1, rows));
    for (size_t i = 0; i < FButtons.size(); ++i) {
        int c = static_cast<int>(i) / rows, r = static_cast<int>(i) % rows;
        FButtons[i]->SetBounds(margin + c * w, top + r * h + (h - 17) / 2, w - 4, 17);
    }
}

void TCustomRadioGroup::WMSize(TMessage& Message) {
    TNativeControl::WMSize(Message);
    ArrangeButtons();
}

void TCustomRadioGroup::SetColumns(int value) {
    FColumns = std::clamp(value, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int value) {
    if (value < -1) value = -1;
    if (value >= static_cast<int>(FButtons.size())) value = static_cast<int>(FButtons.size()) - 1;
    if (value == FItemIndex) return;
    FUpdating = true;
    if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    if (value >= 0) FButtons[static_cast<size_t>(value)]->SetChecked(true);
    FUpdating = false;
    // As on the platform, a new index fires OnClick, whoever set it.
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomRadioGroup::ButtonClick(TRadioButton* button) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    FItemIndex = static_cast<int>(it - FButtons.begin());
    Click();
}
