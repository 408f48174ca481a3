#pragma once
// The one set template of the class library: the small flag sets of components, controls,
// fonts and ports, written as the components write them (TFontStyles() << fsBold).
#include <cstdint>
#include <initializer_list>

namespace rtl {

// A set of up to 32 enumerators, held as one bit per ordinal.
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
