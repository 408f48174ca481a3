#include "platform/rtl/Component.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsValidIdent(const String& s) {
    if (s.empty()) return false;
    auto alpha = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
    if (!alpha(s[0])) return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char16_t c) { return alpha(c) || (c >= u'0' && c <= u'9'); });
}

bool SameIdent(const String& a, const String& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

thread_local bool tMadeByFactory = false;

}  // namespace

void rtl::detail::ComponentFactory::MarkNext(bool value) { tMadeByFactory = value; }

bool rtl::detail::ComponentFactory::TakeMark() { return std::exchange(tMadeByFactory, false); }

void rtl::detail::ComponentFactory::Complete(TComponent* component) {
    try {
        component->AfterConstruction();
    } catch (...) {
        // The first failure is the one the caller hears of; one of the cleanup would hide it.
        try {
            component->Free();
        } catch (...) {
        }
        throw;
    }
}

// Taken first thing: the constructors of parts made below (derived constructors run after this
// one) must not take the mark meant for this component.
TComponent::TComponent(TComponent* AOwner) : FMadeByFactory(rtl::detail::ComponentFactory::TakeMark()) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone who holds a reference to us; each answer may change the list.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) throw EListError(String("List index out of bounds (") + String(std::to_string(index)) + ")");
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameIdent(c->FName, name)) return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& curName, const String& newName) const {
    if (newName.empty() || SameIdent(curName, newName)) return;
    TComponent* found = FindComponent(newName);
    if (found && found != AComponent)
        throw EComponentError(String("A component named ") + newName + " already exists");
}

void TComponent::SetName(const String& value) {
    if (value == FName) return;
    if (!value.empty() && !IsValidIdent(value))
        throw EComponentError(String("\"") + value + "\" is not a valid component name");
    if (FOwner) FOwner->ValidateRename(this, FName, value);
    FName = value;
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
    AComponent->FOwner = nullptr;
    std::erase(FComponents, AComponent);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    ValidateRename(AComponent, String(), AComponent->FName);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        // Siblings hear of it only when the component asked to be watched; otherwise the
        // owner just lets it go, as freeing everything at once would otherwise be quadratic.
        if (instance->FComponentState.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        instance->Free();
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    // Both ends keep the other, so whichever is freed first tells the other.
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
    FComponentState << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotification(AComponent);
    if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) { std::erase(FFreeNotifies, AComponent); }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Copy: a component may free or reparent others while it is told.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end()) c->Notification(AComponent, Operation);
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction() {
    if (FBeforeDestructionDone) return;
    FBeforeDestructionDone = true;
    Destroying();
}

void TComponent::AfterConstruction() {}

#ifndef NDEBUG
void TComponent::CheckAfterConstruction(const char* where) const {
    if (!FRequiresAfterConstruction || FMadeByFactory) return;
    std::fprintf(stderr, "%s reached %s without its second phase: make it with NewComponent, not new\n", ClassName(), where);
    std::fflush(stderr);
    std::abort();
}
#endif

void TComponent::Destroying() { FComponentState << csDestroying; }

void TComponent::Loaded() {
    CheckAfterConstruction("Loaded");
    FComponentState >> csLoading;
}

void TComponent::SetDesigning(bool value) {
    if (value)
        FComponentState << csDesigning;
    else
        FComponentState >> csDesigning;
    for (TComponent* c : FComponents) c->SetDesigning(value);
}
