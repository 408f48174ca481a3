#include "platform/rtl/Collections.h"

#include <algorithm>

#include "platform/rtl/Lists.h"

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    int current = Index();
    if (current < 0 || Value == current) return;
    auto& items = FCollection->FItems;
    if (Value < 0 || Value >= static_cast<int>(items.size())) TList::Error(Value);
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass ItemClass, TPersistent* Owner) : FItemClass(ItemClass), FOwner(Owner) {}

TCollection::~TCollection() {
    // No Update while the collection goes; each item leaves it as it is freed.
    FUpdateCount = 1;
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) TList::Error(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = FItemClass();
    InsertItem(item);
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    if (Index < 0 || Index > Count()) TList::Error(Index);
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    try {
        while (!FItems.empty()) delete FItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == ID) return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* Source) {
    auto* source = dynamic_cast<const TCollection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : source->FItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    Notify(Item, cnExtracting);
    // An item is in the list once; searched from the end, so emptying from the back (Clear, a
    // batch of items freed last to first) stays linear.
    auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
    if (it != FItems.rend()) FItems.erase(std::next(it).base());
    Item->FCollection = nullptr;
    Changed();
}
