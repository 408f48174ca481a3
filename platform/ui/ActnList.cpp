#include "platform/ui/ActnList.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"

// ---------------------------------------------------------------------------------------------
// TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    // The links let go first: the clients hear of the action's end (Notification) only once
    // this part of it is gone, and must not reach back into it.
    for (TBasicActionLink* link : FClients) link->FAction = nullptr;
    FClients.clear();
    *FAlive = false;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetActionComponent(TComponent* value) {
    if (FActionComponent == value) return;
    if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
    FActionComponent = value;
    if (FActionComponent) FActionComponent->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
    if (Value && std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) { std::erase(FClients, Value); }

void TBasicAction::Change() {
    if (OnChange) OnChange(this);
}

std::vector<TActionLink*> TBasicAction::ActionLinks() const {
    std::vector<TActionLink*> links;
    for (TBasicActionLink* l : FClients)
        if (auto* link = dynamic_cast<TActionLink*>(l)) links.push_back(link);
    return links;
}

// ---------------------------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::~TBasicActionLink() {
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (Value == FAction) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    TBasicAction* action = FAction;
    if (!action) return false;
    // The handler may free the action, or the client and this link with it.
    std::weak_ptr<bool> alive = action->FAlive;
    action->SetActionComponent(AComponent);
    struct Reset {
        TBasicAction* action;
        std::weak_ptr<bool> alive;
        ~Reset() {
            if (!alive.expired()) action->SetActionComponent(nullptr);
        }
    } reset{action, alive};
    return action->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

// ---------------------------------------------------------------------------------------------
// TContainedAction

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* value) {
    if (FActionList == value) return;
    if (FActionList) {
        std::erase(FActionList->FActions, this);
        FActionList->Changed();
    }
    FActionList = value;
    if (FActionList) {
        FActionList->FActions.push_back(this);
        FActionList->Changed();
    }
}

int TContainedAction::Index() const {
    if (!FActionList) return -1;
    auto& list = FActionList->FActions;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TContainedAction::SetIndex(int value) {
    if (!FActionList) return;
    auto& list = FActionList->FActions;
    int count = static_cast<int>(list.size());
    value = std::clamp(value, 0, count - 1);
    if (value == Index()) return;
    std::erase(list, this);
    list.insert(list.begin() + value, this);
    FActionList->Changed();
}

void TContainedAction::SetCategory(const String& value) {
    if (FCategory == value) return;
    FCategory = value;
    Change();
}

bool TContainedAction::Execute() {
    if (FActionList && FActionList->ExecuteAction(this)) return true;
    return TBasicAction::Execute();
}

bool TContainedAction::Update() {
    if (FActionList && FActionList->UpdateAction(this)) return true;
    return TBasicAction::Update();
}

// ---------------------------------------------------------------------------------------------
// TCustomAction

// Hands a new value to every link, then stores it; false when it is the value held.
template <class V, class Call>
bool TCustomAction::Relay(V& field, const V& value, Call call) {
    if (field == value) return false;
    for (TActionLink* link : ActionLinks()) call(link);
    field = value;
    return true;
}

void TCustomAction::SetCaption(const String& value) {
    if (Relay(FCaption, value, [&](TActionLink* l) { l->SetCaption(value); })) Change();
}

void TCustomAction::SetChecked(bool value) {
    if (FChecking) return;
    FChecking = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FChecking};
    if (!Relay(FChecked, value, [&](TActionLink* l) { l->SetChecked(value); })) return;
    if (value) UncheckGroup();
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (Relay(FEnabled, value, [&](TActionLink* l) { l->SetEnabled(value); })) Change();
}

void TCustomAction::SetGroupIndex(int value) {
    if (!Relay(FGroupIndex, value, [&](TActionLink* l) { l->SetGroupIndex(value); })) return;
    if (FChecked) UncheckGroup();
    Change();
}

void TCustomAction::SetHint(const String& value) {
    if (Relay(FHint, value, [&](TActionLink* l) { l->SetHint(value); })) Change();
}

void TCustomAction::SetImageIndex(int value) {
    if (Relay(FImageIndex, value, [&](TActionLink* l) { l->SetImageIndex(value); })) Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
    if (Relay(FShortCut, value, [&](TActionLink* l) { l->SetShortCut(value); })) Change();
}

void TCustomAction::SetVisible(bool value) {
    if (Relay(FVisible, value, [&](TActionLink* l) { l->SetVisible(value); })) Change();
}

void TCustomAction::UncheckGroup() {
    if (FGroupIndex <= 0 || !ActionList()) return;
    std::vector<TContainedAction*> others;
    for (int i = 0; i < ActionList()->ActionCount(); ++i) others.push_back(ActionList()->Actions(i));
    for (TContainedAction* other : others) {
        auto* a = dynamic_cast<TCustomAction*>(other);
        if (a && a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
    }
}

bool TCustomAction::Execute() {
    Update();
    if (!FEnabled) return false;
    return TContainedAction::Execute();
}

// ---------------------------------------------------------------------------------------------
// TActionLink

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

// ---------------------------------------------------------------------------------------------
// TCustomActionList

TCustomActionList::~TCustomActionList() {
    Destroying();
    OnChange = nullptr;
    // The list's actions go with it, whoever owns them.
    while (!FActions.empty()) FActions.back()->Free();
}

TContainedAction* TCustomActionList::Actions(int Index) const {
    if (Index < 0 || Index >= ActionCount())
        throw EListError(String("List index out of bounds (") + String(std::to_string(Index)) + ")");
    return FActions[static_cast<size_t>(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    Changed();
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (OnExecute) OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(Action, handled);
    return handled;
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
}

void TCustomActionList::Changed() {
    if (OnChange) OnChange(this);
}
