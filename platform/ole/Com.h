#pragma once
// Reference-counted interfaces in the platform's shape: interface identifiers, IUnknown, the
// smart pointer that holds one reference, and TInterfacedObject, the base of the objects that
// implement interfaces. Interfaces are abstract classes; every one names its identifier (Iid)
// and the interface it extends (Base), which is how QueryInterface finds it.
#include <atomic>
#include <cstdint>
#include <utility>

#include "platform/rtl/Types.h"
#include "platform/win/WinError.h"

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};
    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i]) return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
constexpr bool IsEqualGUID(const GUID& a, const GUID& b) { return a == b; }
constexpr bool IsEqualIID(const IID& a, const IID& b) { return a == b; }

struct IUnknown {
    static constexpr IID Iid{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    // The interface asked for, with a reference added, in *object; E_NOINTERFACE (and nullptr) when
    // the object does not implement it.
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    // Frees the object when the last reference goes.
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
inline constexpr const IID& IID_IUnknown = IUnknown::Iid;

// Holds one reference to an interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Adds a reference of its own.
    ComPtr(T* p) : FPtr(p) {
        if (FPtr) FPtr->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.FPtr) {}
    ComPtr(ComPtr&& o) noexcept : FPtr(std::exchange(o.FPtr, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(FPtr, o.FPtr);
        return *this;
    }
    // Takes over a reference the caller already holds (an out parameter's).
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.FPtr = p;
        return r;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(FPtr, nullptr); }
    void Reset() {
        if (T* p = std::exchange(FPtr, nullptr)) p->Release();
    }
    // For an out parameter: drops the held reference and gives the slot to fill.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &FPtr;
    }
    // The same, as the void** that QueryInterface takes.
    void** ReleaseAndGetAddressOfVoid() { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }
    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    T& operator*() const { return *FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.FPtr == b.FPtr; }

private:
    T* FPtr = nullptr;
};

namespace ole::detail {
// The interface I, or one it extends, as the one asked for; nullptr when none of them is.
template <class I>
void* Find(I* self, REFIID riid) {
    if (riid == I::Iid) return self;
    if constexpr (requires { typename I::Base; }) return Find<typename I::Base>(self, riid);
    return nullptr;
}
}  // namespace ole::detail

// The base of objects implementing Interfaces: the count starts at 0, the first ComPtr makes it
// 1, and the last Release frees the object.
template <class First, class... Rest>
class TInterfacedObject : public First, public Rest... {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        void* found = riid == IID_IUnknown ? static_cast<IUnknown*>(static_cast<First*>(this)) : nullptr;
        if (!found) found = ole::detail::Find<First>(this, riid);
        ((found = found ? found : ole::detail::Find<Rest>(this, riid)), ...);
        *object = found;
        if (!found) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++FRefCount; }
    ULONG Release() override {
        ULONG n = --FRefCount;
        if (n == 0) delete this;
        return n;
    }
    ULONG RefCount() const { return FRefCount.load(); }

protected:
    TInterfacedObject() = default;
    ~TInterfacedObject() override = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

private:
    std::atomic<ULONG> FRefCount{0};
};

// Asks an object for another of its interfaces.
template <class T, class U>
ComPtr<T> QueryInterfaceAs(U* object) {
    ComPtr<T> r;
    if (object) object->QueryInterface(T::Iid, r.ReleaseAndGetAddressOfVoid());
    return r;
}
