// Reference counting, interface lookup and the release of storage media.
#include <gtest/gtest.h>

#include "platform/ole/DataObject.h"
#include "platform/ole/Stream.h"

namespace {

struct IFirst : IUnknown {
    static constexpr IID Iid{0x11111111, 0x1, 0x1, {1, 1, 1, 1, 1, 1, 1, 1}};
    using Base = IUnknown;
    virtual int First() = 0;
};
struct ISecondBase : IUnknown {
    static constexpr IID Iid{0x22222222, 0x2, 0x2, {2, 2, 2, 2, 2, 2, 2, 2}};
    using Base = IUnknown;
    virtual int SecondBase() = 0;
};
struct ISecond : ISecondBase {
    static constexpr IID Iid{0x33333333, 0x3, 0x3, {3, 3, 3, 3, 3, 3, 3, 3}};
    using Base = ISecondBase;
    virtual int Second() = 0;
};

class TwoFaced final : public TInterfacedObject<IFirst, ISecond> {
public:
    explicit TwoFaced(bool* gone) : FGone(gone) {}
    ~TwoFaced() override { *FGone = true; }
    int First() override { return 1; }
    int SecondBase() override { return 20; }
    int Second() override { return 2; }

private:
    bool* FGone;
};

TEST(ComTest, QueryInterfaceFindsEveryInterfaceAndItsBasesAndCountsReferences) {
    bool gone = false;
    {
        ComPtr<IFirst> first(new TwoFaced(&gone));
        EXPECT_EQ(static_cast<TwoFaced*>(first.Get())->RefCount(), 1u);

        ComPtr<ISecond> second = QueryInterfaceAs<ISecond>(first.Get());
        ASSERT_TRUE(second);
        EXPECT_EQ(second->Second(), 2);
        ComPtr<ISecondBase> base = QueryInterfaceAs<ISecondBase>(first.Get());
        ASSERT_TRUE(base);
        EXPECT_EQ(base->SecondBase(), 20);
        ComPtr<IUnknown> unknown = QueryInterfaceAs<IUnknown>(second.Get());
        ASSERT_TRUE(unknown);
        // Identity: IUnknown of any interface is the same pointer.
        EXPECT_EQ(unknown.Get(), QueryInterfaceAs<IUnknown>(first.Get()).Get());
        EXPECT_EQ(static_cast<TwoFaced*>(first.Get())->RefCount(), 4u);

        void* none = &gone;
        EXPECT_EQ(first->QueryInterface(IID_IStream, &none), E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(first->QueryInterface(IFirst::Iid, nullptr), E_POINTER);
        EXPECT_FALSE(gone);
    }
    EXPECT_TRUE(gone);
}

TEST(ComTest, ReleaseStgMediumFreesTheBlockOrReleasesItsOwnerInstead) {
    size_t live = win::LiveGlobalBlocks();
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 8);
    ReleaseStgMedium(&m);
    EXPECT_EQ(win::LiveGlobalBlocks(), live);
    EXPECT_EQ(m.tymed, TYMED_NULL);
    EXPECT_EQ(m.hGlobal, nullptr);

    // A medium that names an owner: the owner is released and the block is its business.
    bool gone = false;
    HGLOBAL kept = GlobalAlloc(GMEM_MOVEABLE, 8);
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = kept;
    m.pUnkForRelease = ComPtr<IFirst>(new TwoFaced(&gone)).Detach();
    ReleaseStgMedium(&m);
    EXPECT_TRUE(gone);
    EXPECT_EQ(GlobalSize(kept), 8u);
    GlobalFree(kept);

    // A stream medium gives up its reference.
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE_, &stream), S_OK);
    m.tymed = TYMED_ISTREAM;
    m.pstm = stream;
    ReleaseStgMedium(&m);
    EXPECT_EQ(win::LiveGlobalBlocks(), live);
}

}  // namespace
