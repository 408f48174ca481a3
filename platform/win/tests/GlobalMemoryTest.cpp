// Global memory: blocks, locks, growth, and handles that are not (or no longer) live blocks.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/rtl/Handles.h"
#include "platform/win/GlobalMemory.h"

namespace {

TEST(GlobalMemoryTest, MovableBlockIsZeroedLocksPairUpAndFreeingRefusesTheHandleAfterwards) {
    size_t live = win::LiveGlobalBlocks();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 10u);
    EXPECT_EQ(win::LiveGlobalBlocks(), live + 1);

    auto* p = static_cast<uint8_t*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), h);  // a movable block's handle is no address
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p[i], 0) << i;
    EXPECT_EQ(GlobalLock(h), p);
    EXPECT_EQ(GlobalUnlock(h), TRUE_);  // one lock left
    SetLastError(ERROR_GEN_FAILURE);
    EXPECT_EQ(GlobalUnlock(h), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(GlobalUnlock(h), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);

    EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(win::LiveGlobalBlocks(), live);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalUnlock(h), FALSE_);
    EXPECT_EQ(GlobalFree(h), h);  // freeing twice is refused, not a double free
}

TEST(GlobalMemoryTest, FixedBlockIsItsOwnAddress) {
    HGLOBAL h = GlobalAlloc(GPTR, 4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalLock(h), h);
    std::memcpy(h, "abcd", 4);
    EXPECT_EQ(GlobalUnlock(h), FALSE_);  // fixed blocks are never locked
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemoryTest, ForgedHandlesAndBadRequestsAreRefused) {
    int local = 0;
    for (HGLOBAL forged : {reinterpret_cast<HGLOBAL>(0x1234), static_cast<HGLOBAL>(&local), HGLOBAL(nullptr)}) {
        EXPECT_EQ(GlobalSize(forged), 0u);
        EXPECT_EQ(GlobalLock(forged), nullptr);
        EXPECT_EQ(GlobalReAlloc(forged, 8, GMEM_MOVEABLE), nullptr);
        EXPECT_EQ(GlobalFree(forged), forged);
    }
    EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, kGlobalMaxBlock + 1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST(GlobalMemoryTest, ReallocationKeepsTheBytesZeroesTheNewOnesAndNeverMovesALockedBlock) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(h), "xyz", 3);
    // Locked, it cannot grow, and stays as it was.
    EXPECT_EQ(GlobalReAlloc(h, 100, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalSize(h), 3u);
    GlobalUnlock(h);

    ASSERT_EQ(GlobalReAlloc(h, 6, GMEM_MOVEABLE), h);
    auto* p = static_cast<const char*>(GlobalLock(h));
    EXPECT_EQ(std::string(p, 6), std::string("xyz\0\0\0", 6));
    GlobalUnlock(h);
    // Shrinking and growing again gives zeros, not the old bytes.
    ASSERT_EQ(GlobalReAlloc(h, 1, 0), h);
    ASSERT_EQ(GlobalReAlloc(h, 3, GMEM_MOVEABLE), h);
    p = static_cast<const char*>(GlobalLock(h));
    EXPECT_EQ(std::string(p, 3), std::string("x\0\0", 3));
    GlobalUnlock(h);
    GlobalFree(h);

    // A fixed block moves only when allowed, and its handle moves with it.
    HGLOBAL f = GlobalAlloc(GMEM_FIXED, 2);
    EXPECT_EQ(GlobalReAlloc(f, 64, 0), nullptr);
    HGLOBAL moved = GlobalReAlloc(f, 64, GMEM_MOVEABLE);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(GlobalSize(moved), 64u);
    if (moved != f) {
        EXPECT_EQ(GlobalSize(f), 0u);
    }
    GlobalFree(moved);
}

}  // namespace
