// Start-up, shutdown and GDI+'s heap.
#include <gtest/gtest.h>

#include "platform/gdiplus/GdiPlus.h"

using namespace gdiplus;

TEST(GdiPlusStartup, AllocAnswersNilBeforeStartAndABlockAfter) {
    EXPECT_EQ(GdipAlloc(16), nullptr);
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    input.SuppressBackgroundThread = 1;
    GdiplusStartupOutput output;
    ASSERT_EQ(GdiplusStartup(&token, &input, &output), Ok);
    ASSERT_NE(output.NotificationHook, nullptr);
    ULONG_PTR hook = 0;
    EXPECT_EQ(output.NotificationHook(&hook), Ok);
    void* block = GdipAlloc(16);
    EXPECT_NE(block, nullptr);
    GdipFree(block);
    output.NotificationUnhook(hook);
    GdiplusShutdown(token);
    EXPECT_EQ(GdipAlloc(16), nullptr);
}

TEST(GdiPlusStartup, LiveObjectsCountsHandlesUntilDeletedOrShutDownAndLeavesTheGenericFamiliesOut) {
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
    size_t before = GdipLiveObjects();
    GpMatrix* matrix = nullptr;
    GpPath* path = nullptr;
    GpFontFamily* generic = nullptr;
    ASSERT_EQ(GdipCreateMatrix(&matrix), Ok);
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GdipGetGenericFontFamilySansSerif(&generic);
    EXPECT_EQ(GdipLiveObjects(), before + 2);
    EXPECT_EQ(GdipDeleteMatrix(matrix), Ok);
    EXPECT_EQ(GdipLiveObjects(), before + 1);
    GdiplusShutdown(token);
    EXPECT_EQ(GdipLiveObjects(), 0u);
}
