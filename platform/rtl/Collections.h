#pragma once
// TCollection and TCollectionItem: an owned, ordered list of items of one item class. The
// collection frees its items; an item freed on its own leaves its collection.
#include <vector>

#include "platform/rtl/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins Collection (when given) at the end. A descendant's Notify and Update see only the
    // base part of an item that joins from this constructor: TCollection::Add makes the item
    // first and adds it whole.
    explicit TCollectionItem(TCollection* Collection = nullptr);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;
    const char* ClassName() const override { return "TCollectionItem"; }

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of Value (nullptr takes it out of any collection).
    void SetCollection(TCollection* Value);
    // Position in the collection, -1 outside one. Writing it moves the item.
    int Index() const;
    virtual void SetIndex(int Value);
    // Unique within the collection that numbered the item, never reused there.
    int ID() const { return FID; }

    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (AllItems false) or every item changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Makes an empty item of the collection's item class, outside any collection.
using TCollectionItemClass = TCollectionItem* (*)();

template <class T>
TCollectionItem* CollectionItemOf() {
    return new T(nullptr);
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass, TPersistent* Owner = nullptr);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    const char* ClassName() const override { return "TCollection"; }

    TCollectionItemClass ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index outside the collection.
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItem(int Index, TCollectionItem* Value);

    // A new item of the item class at the end, or at Index.
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    // Frees the item at Index (telling Notify cnDeleting first).
    void Delete(int Index);
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    // Copies a collection item by item: a new item of this collection's class per source item,
    // then that item's own Assign.
    void Assign(const TPersistent* Source) override;

    // Changes between BeginUpdate and the outermost EndUpdate call Update once, at the end.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    TPersistent* GetOwner() const override { return FOwner; }

protected:
    // Item is the changed item, or nullptr when the collection as a whole changed.
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    TCollectionItemClass FItemClass;
    TPersistent* FOwner;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};
