#pragma once
// TComponent: the owned, named objects every form and control is made of. An owner keeps the
// components it owns in creation order and frees them, newest first, when it is freed itself.
// Components are heap objects; one without owner is deleted by whoever created it.
//
// Construction has two phases, as destruction has: the constructor initialises fields only, and
// AfterConstruction, run by NewComponent on the whole object, does what must reach a descendant's
// overrides (C++ calls none from a base constructor).
#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/Persistent.h"
#include "platform/rtl/SmallSet.h"
#include "platform/rtl/String.h"

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using TComponentState = rtl::SmallSet<TComponentStateItem>;

class TComponent;
namespace rtl::detail {
class ComponentFactory;
}
using TComponentClass = TComponent* (*)(TComponent* owner);

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const char* ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Owned components in the order they were created (or inserted).
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const String& name) const;

    const String& Name() const { return FName; }
    // Names are unique among the components of one owner (case-insensitive); an invalid or
    // duplicate name raises EComponentError. An empty name is always allowed.
    virtual void SetName(const String& value);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t value) { FTag = value; }

    TComponentState ComponentState() const { return FComponentState; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, newest first.
    void DestroyComponents();

    // AComponent will get Notification(this, opRemove) when this component is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Frees the component: BeforeDestruction while the whole object still stands, then delete.
    // Owners free their components this way; code freeing a component itself calls Free.
    void Free();
    // Runs before any destructor: the place for work that needs the derived object intact
    // (a form's OnDestroy). Sets csDestroying. Runs once.
    virtual void BeforeDestruction();

    // Debug builds: stops the program, naming the class, when the component requires its second
    // phase and was not made by NewComponent. Called at the first message a control takes and at
    // Loaded; `where` says which.
#ifdef NDEBUG
    void CheckAfterConstruction(const char*) const {}
#else
    void CheckAfterConstruction(const char* where) const;
#endif

    // Marks the component as being freed. The destructor calls it; derived destructors that do
    // work depending on the flag call it first themselves.
    virtual void Destroying();

    // Streaming protocol: a loader sets csLoading, assigns the properties, then calls Loaded.
    void BeginLoading() { FComponentState << csLoading; }
    virtual void Loaded();
    void SetDesigning(bool value);

protected:
    friend class rtl::detail::ComponentFactory;
    // The second phase of construction, run once by NewComponent when the most-derived
    // constructor is done: the place for work that must reach an override (owned parts whose
    // class a descendant chooses, defaults a descendant overrides, loading). An override calls
    // the inherited one first. Empty here.
    virtual void AfterConstruction();
    // Said by a constructor whose class does work in AfterConstruction: then a component made
    // without the factory (plain new) is a fault that CheckAfterConstruction reports.
    void RequireAfterConstruction() { FRequiresAfterConstruction = true; }

    friend class TReader;  // sets csReading around a read
    friend class TWriter;  // and csWriting around a write
    // Told when a component is inserted into or removed from this owner, and when a component
    // this one asked to be notified about is freed. Passes the news on to owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    TPersistent* GetOwner() const override { return FOwner; }
    void ValidateRename(TComponent* AComponent, const String& curName, const String& newName) const;
    TComponentState FComponentState;

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    bool FBeforeDestructionDone = false;
    bool FMadeByFactory = false;
    bool FRequiresAfterConstruction = false;
    TComponent* FOwner = nullptr;
    String FName;
    intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

RTL_DECLARE_EXCEPTION(EComponentError, Exception);

namespace rtl::detail {

// The two steps of NewComponent, apart for makers that act between them (CreateForm sets its
// reference and the main form before OnCreate runs).
class ComponentFactory {
public:
    // Constructs; the component knows it was made by the factory from its first constructor on.
    template <class T, class... Args>
    static T* Construct(TComponent* owner, Args&&... args) {
        static_assert(std::is_base_of_v<TComponent, T>);
        MarkNext(true);
        try {
            T* made = new T(owner, std::forward<Args>(args)...);
            MarkNext(false);
            return made;
        } catch (...) {
            MarkNext(false);
            throw;
        }
    }
    // Runs AfterConstruction once. When it raises, the half-made component is freed
    // (BeforeDestruction, then its destructors) and the exception goes on to the caller.
    static void Complete(TComponent* component);

private:
    friend class ::TComponent;
    // Set on this thread until the next component's base constructor takes it.
    static void MarkNext(bool value);
    static bool TakeMark();
};

}  // namespace rtl::detail

// Makes every component: constructs T(owner, args...), then runs its AfterConstruction once on
// the whole object before returning it.
template <class T, class... Args>
T* NewComponent(TComponent* owner, Args&&... args) {
    T* made = rtl::detail::ComponentFactory::Construct<T>(owner, std::forward<Args>(args)...);
    rtl::detail::ComponentFactory::Complete(made);
    return made;
}
