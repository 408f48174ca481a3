#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Component.h"

namespace {

std::vector<std::string>* gLog = nullptr;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, const char* tag) : TComponent(owner), FTag(tag) {}
    ~Probe() override {
        if (gLog) gLog->push_back("free " + FTag);
    }
    TComponent* Watched = nullptr;
    std::vector<std::pair<TComponent*, TOperation>> Heard;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        Heard.emplace_back(c, op);
        if (op == opRemove && c == Watched) Watched = nullptr;
    }

private:
    std::string FTag;
};

}  // namespace

TEST(Component, OwnerListsComponentsInCreationOrderAndFreesThemNewestFirst) {
    std::vector<std::string> log;
    gLog = &log;
    auto* owner = new Probe(nullptr, "owner");
    auto* a = new Probe(owner, "a");
    auto* b = new Probe(owner, "b");
    auto* c = new Probe(owner, "c");
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(owner->Components(2), c);
    EXPECT_EQ(b->Owner(), owner);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(owner->Components(3), EListError);
    delete b;  // a component freed on its own leaves its owner's list
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), c);
    // The owner heard of both insertions and of the removal.
    EXPECT_EQ(owner->Heard.size(), 4u);
    EXPECT_EQ(owner->Heard.back(), std::make_pair(static_cast<TComponent*>(b), opRemove));
    log.clear();
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free c", "free a"}));
    gLog = nullptr;
}

TEST(Component, FreeNotificationTellsWatchersAcrossOwners) {
    auto* formA = new Probe(nullptr, "A");
    auto* formB = new Probe(nullptr, "B");
    auto* watcher = new Probe(formA, "watcher");
    auto* quiet = new Probe(formA, "quiet");
    auto* target = new Probe(formB, "target");
    watcher->Watched = target;
    target->FreeNotification(watcher);
    delete formB;  // frees target, which tells the watcher only
    EXPECT_EQ(watcher->Watched, nullptr);
    ASSERT_FALSE(watcher->Heard.empty());
    EXPECT_EQ(watcher->Heard.back(), std::make_pair(static_cast<TComponent*>(target), opRemove));
    EXPECT_TRUE(quiet->Heard.empty());
    delete formA;
}

TEST(Component, RemovedFreeNotificationIsNotSent) {
    auto* watcher = new Probe(nullptr, "w");
    auto* target = new Probe(nullptr, "t");
    target->FreeNotification(watcher);
    target->RemoveFreeNotification(watcher);
    delete target;
    EXPECT_TRUE(watcher->Heard.empty());
    // Freed the other way round: the watcher going first must not leave a dangling entry.
    auto* t2 = new Probe(nullptr, "t2");
    t2->FreeNotification(watcher);
    delete watcher;
    delete t2;  // would touch freed memory if the entry stayed
}

TEST(Component, NamesAreUniqueWithinAnOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName(String("Button1"));
    EXPECT_THROW(b->SetName(String("button1")), EComponentError);
    EXPECT_THROW(b->SetName(String("1abc")), EComponentError);
    b->SetName(String("Button2"));
    EXPECT_EQ(owner.FindComponent(String("BUTTON2")), b);
    EXPECT_EQ(owner.FindComponent(String("Nope")), nullptr);
    b->SetName(String());
    EXPECT_EQ(owner.FindComponent(String("Button2")), nullptr);
}

TEST(Component, StateFlagsFollowLoadingAndDestruction) {
    bool sawDestroying = false;
    struct Watch : TComponent {
        bool* flag;
        Watch(TComponent* o, bool* f) : TComponent(o), flag(f) {}
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == opRemove) *flag = c->ComponentState().Contains(csDestroying);
        }
    };
    auto* owner = new TComponent(nullptr);
    auto* w = new Watch(nullptr, &sawDestroying);
    auto* c = new TComponent(owner);
    c->BeginLoading();
    EXPECT_TRUE(c->ComponentState().Contains(csLoading));
    c->Loaded();
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
    c->FreeNotification(w);
    delete owner;
    EXPECT_TRUE(sawDestroying);
    delete w;
}
