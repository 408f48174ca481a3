#pragma once
// The base the port component stands on. Until the run-time library's component model is in the
// tree, a minimal stand-in with the same names (owner, name, tag, component state, Loaded) keeps
// the port's code written against the real interface; swapping it is the one using line below.
#include <cstdint>
#include <initializer_list>

#include "platform/rtl/Persistent.h"
#include "platform/rtl/String.h"

namespace rtl {

// A set of up to 32 enumerators.
template <class E>
class SmallSet {
public:
    constexpr SmallSet() = default;
    constexpr SmallSet(std::initializer_list<E> items) {
        for (E e : items) FBits |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr SmallSet& operator<<(E e) { FBits |= Bit(e); return *this; }
    constexpr SmallSet& operator>>(E e) { FBits &= ~Bit(e); return *this; }
    constexpr SmallSet operator+(SmallSet o) const { SmallSet r; r.FBits = FBits | o.FBits; return r; }
    constexpr SmallSet operator-(SmallSet o) const { SmallSet r; r.FBits = FBits & ~o.FBits; return r; }
    constexpr SmallSet operator*(SmallSet o) const { SmallSet r; r.FBits = FBits & o.FBits; return r; }
    constexpr bool operator==(const SmallSet&) const = default;
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint32_t Bits() const { return FBits; }

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t FBits = 0;
};

}  // namespace rtl

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using TComponentState = rtl::SmallSet<TComponentStateItem>;

class TComPortComponent : public TPersistent {
public:
    explicit TComPortComponent(TComPortComponent* AOwner) : FOwner(AOwner) {}
    ~TComPortComponent() override = default;
    TComPortComponent(const TComPortComponent&) = delete;
    TComPortComponent& operator=(const TComPortComponent&) = delete;

    TComPortComponent* Owner() const { return FOwner; }
    const String& Name() const { return FName; }
    virtual void SetName(const String& value) { FName = value; }
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t value) { FTag = value; }
    TComponentState ComponentState() const { return FComponentState; }
    void BeginLoading() { FComponentState << csLoading; }
    virtual void Loaded() { FComponentState >> csLoading; }
    void SetDesigning(bool value) {
        if (value) FComponentState << csDesigning; else FComponentState >> csDesigning;
    }

protected:
    TComponentState FComponentState;

private:
    TComPortComponent* FOwner;
    String FName;
    intptr_t FTag = 0;
};

using TComPortBase = TComPortComponent;
