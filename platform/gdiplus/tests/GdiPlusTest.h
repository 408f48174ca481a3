#pragma once
// GDI+ started for each test, and small helpers over bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdiplus/GdiPlus.h"

namespace gdiplus_test {

using namespace gdiplus;

class GdiPlusTest : public ::testing::Test {
protected:
    void SetUp() override {
        GdiplusStartupInput input;
        input.SuppressBackgroundThread = 1;
        GdiplusStartupOutput output;
        ASSERT_EQ(GdiplusStartup(&FToken, &input, &output), Ok);
    }
    void TearDown() override { GdiplusShutdown(FToken); }

    // A 32-bit ARGB bitmap filled with colour, and a graphics on it.
    GpBitmap* Bitmap(int w, int h, ARGB colour = 0xFFFFFFFF) {
        GpBitmap* b = nullptr;
        EXPECT_EQ(GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &b), Ok);
        GpGraphics* g = On(b);
        EXPECT_EQ(GdipGraphicsClear(g, colour), Ok);
        GdipDeleteGraphics(g);
        return b;
    }
    GpGraphics* On(GpBitmap* b) {
        GpGraphics* g = nullptr;
        EXPECT_EQ(GdipGetImageGraphicsContext(b, &g), Ok);
        return g;
    }
    static ARGB Pixel(GpBitmap* b, int x, int y) {
        ARGB c = 0;
        EXPECT_EQ(GdipBitmapGetPixel(b, x, y, &c), Ok);
        return c;
    }
    static UINT Width(GpImage* image) {
        UINT w = 0;
        GdipGetImageWidth(image, &w);
        return w;
    }
    static UINT Height(GpImage* image) {
        UINT h = 0;
        GdipGetImageHeight(image, &h);
        return h;
    }
    // The pixels that differ from background: their bounding box (left, top, right, bottom
    // exclusive), or all -1 when none does.
    static std::vector<int> Ink(GpBitmap* b, ARGB background) {
        int w = static_cast<int>(Width(b)), h = static_cast<int>(Height(b));
        std::vector<int> box{-1, -1, -1, -1};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (Pixel(b, x, y) == background) continue;
                if (box[0] < 0) box = {x, y, x + 1, y + 1};
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
            }
        return box;
    }
    // How far a colour is from another, channel by channel at most.
    static int Distance(ARGB a, ARGB b) {
        int d = 0;
        for (int shift = 0; shift < 32; shift += 8) d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        return d;
    }

private:
    ULONG_PTR FToken = 0;
};

}  // namespace gdiplus_test
