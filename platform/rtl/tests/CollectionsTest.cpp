#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Collections.h"

namespace {

int gLiveItems = 0;

class TNamedItem : public TCollectionItem {
public:
    explicit TNamedItem(TCollection* c) : TCollectionItem(c) { ++gLiveItems; }
    ~TNamedItem() override { --gLiveItems; }
    const char* ClassName() const override { return "TNamedItem"; }
    void Assign(const TPersistent* Source) override {
        if (auto* s = dynamic_cast<const TNamedItem*>(Source)) {
            Name = s->Name;
            Changed(false);
            return;
        }
        TCollectionItem::Assign(Source);
    }
    std::string Name;
};

// Records what the collection tells its descendants.
class TLoggedCollection : public TCollection {
public:
    explicit TLoggedCollection(TPersistent* owner = nullptr) : TCollection(CollectionItemOf<TNamedItem>, owner) {}
    ~TLoggedCollection() override { Clear(); }
    TNamedItem* Add() { return static_cast<TNamedItem*>(TCollection::Add()); }
    TNamedItem* Items(int i) const { return static_cast<TNamedItem*>(TCollection::Items(i)); }
    std::vector<std::string> Log;

protected:
    void Update(TCollectionItem* item) override {
        Log.push_back(item ? "update " + static_cast<TNamedItem*>(item)->Name : "update all");
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override {
        static const char* const names[] = {"added", "extracting", "deleting"};
        Log.push_back(std::string(names[action]) + " " + std::to_string(item->ID()));
    }
};

std::vector<std::string> Names(const TLoggedCollection& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i) out.push_back(c.Items(i)->Name);
    return out;
}

TLoggedCollection* ThreeItems() {
    auto* c = new TLoggedCollection;
    for (const char* n : {"a", "b", "c"}) c->Add()->Name = n;
    c->Log.clear();
    return c;
}

}  // namespace

TEST(TCollection, WritingIndexMovesTheItem) {
    std::unique_ptr<TLoggedCollection> c(ThreeItems());
    TNamedItem* last = c->Items(2);
    last->SetIndex(0);
    EXPECT_EQ(Names(*c), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(last->Index(), 0);
    EXPECT_EQ(c->Log, (std::vector<std::string>{"update all"}));
    EXPECT_THROW(last->SetIndex(3), EListError);
    EXPECT_EQ(Names(*c), (std::vector<std::string>{"c", "a", "b"}));
    // Insert puts a new item at the index.
    static_cast<TNamedItem*>(c->Insert(1))->Name = "x";
    EXPECT_EQ(Names(*c), (std::vector<std::string>{"c", "x", "a", "b"}));
}

TEST(TCollection, AssignCopiesItemByItem) {
    std::unique_ptr<TLoggedCollection> source(ThreeItems());
    TLoggedCollection target;
    target.Add()->Name = "old";
    target.Log.clear();
    target.Assign(source.get());
    EXPECT_EQ(Names(target), (std::vector<std::string>{"a", "b", "c"}));
    for (int i = 0; i < 3; ++i) EXPECT_NE(target.Items(i), source->Items(i));
    // The whole copy is one update.
    EXPECT_EQ(target.Log.back(), "update all");
    EXPECT_EQ(std::count(target.Log.begin(), target.Log.end(), "update all"), 1);
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

TEST(TCollection, BeginUpdateAroundAddsGivesOneUpdate) {
    TLoggedCollection c;
    c.BeginUpdate();
    c.BeginUpdate();
    for (int i = 0; i < 3; ++i) c.Add();
    c.EndUpdate();
    EXPECT_EQ(std::count(c.Log.begin(), c.Log.end(), "update all"), 0);
    c.EndUpdate();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"added 0", "added 1", "added 2", "update all"}));
    // Outside an update every change is its own.
    c.Log.clear();
    c.Items(1)->Name = "b";
    c.Items(1)->Assign(c.Items(1));
    EXPECT_EQ(c.Log, (std::vector<std::string>{"update b"}));
}

TEST(TCollection, IdsAreNeverReusedAndDeleteNotifiesBeforeTheItemGoes) {
    TLoggedCollection c;
    c.Add();
    c.Add();
    c.Log.clear();
    c.Delete(1);
    EXPECT_EQ(c.Log, (std::vector<std::string>{"deleting 1", "extracting 1", "update all"}));
    EXPECT_EQ(c.Add()->ID(), 2);
    EXPECT_EQ(c.FindItemID(2), c.Items(1));
    EXPECT_EQ(c.FindItemID(1), nullptr);
    EXPECT_THROW(c.Delete(5), EListError);
}

TEST(TCollection, FreeingFreesTheItemsAndAnItemFreedAloneLeaves) {
    gLiveItems = 0;
    {
        std::unique_ptr<TLoggedCollection> c(ThreeItems());
        EXPECT_EQ(gLiveItems, 3);
        delete c->Items(1);
        EXPECT_EQ(gLiveItems, 2);
        EXPECT_EQ(Names(*c), (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(c->Log, (std::vector<std::string>{"extracting 1", "update all"}));
    }
    EXPECT_EQ(gLiveItems, 0);
    // The base class frees its items too, without a descendant's help.
    {
        TCollection plain(CollectionItemOf<TNamedItem>);
        plain.Add();
        plain.Add();
        EXPECT_EQ(gLiveItems, 2);
    }
    EXPECT_EQ(gLiveItems, 0);
}

TEST(TCollection, WritingCollectionMovesTheItemToAnother) {
    std::unique_ptr<TLoggedCollection> a(ThreeItems());
    TLoggedCollection owner;
    TLoggedCollection b(&owner);
    TNamedItem* item = a->Items(0);
    item->SetCollection(&b);
    EXPECT_EQ(Names(*a), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(Names(b), (std::vector<std::string>{"a"}));
    EXPECT_EQ(item->Collection(), &b);
    EXPECT_EQ(item->GetOwner(), &b);
    EXPECT_EQ(b.GetOwner(), &owner);
    EXPECT_EQ(a->GetOwner(), nullptr);
    item->SetCollection(nullptr);
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(item->Index(), -1);
    delete item;
}
