// Image lists through their handles: ImageList_Draw and ImageList_GetIconSize, checked pixel by
// pixel on bitmaps.
#include <gtest/gtest.h>

#include "platform/ui/ImgList.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr TColor kBack = static_cast<TColor>(0x00336699);

class ImgListTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;

    static void Fill(TBitmap& bmp, TColor color, const TRect& r) {
        bmp.Canvas()->Brush()->SetColor(color);
        bmp.Canvas()->FillRect(r);
    }
    // Two 16 x 16 images on fuchsia (the bottom-left pixel): image 0 a red square, image 1 a
    // blue bar with a green corner.
    static int AddStrip(TCustomImageList& list) {
        TBitmap strip(32, 16);
        Fill(strip, clFuchsia, Rect(0, 0, 32, 16));
        Fill(strip, clRed, Rect(4, 4, 12, 12));
        Fill(strip, clBlue, Rect(18, 2, 30, 6));
        Fill(strip, clLime, Rect(16, 0, 18, 2));
        return list.Add(&strip);
    }
};

TEST_F(ImgListTest, DrawThroughTheHandleLeavesTheTransparentColourOut) {
    TImageList list(nullptr);
    ASSERT_EQ(AddStrip(list), 0);
    ASSERT_EQ(list.Count(), 2);
    TBitmap image;
    ASSERT_TRUE(list.GetBitmap(1, &image));

    for (UINT style : {ILD_TRANSPARENT, ILD_NORMAL}) {
        TBitmap target(40, 40);
        Fill(target, kBack, Rect(0, 0, 40, 40));
        ASSERT_TRUE(ImageList_Draw(list.Handle(), 1, target.Canvas()->Handle(), 10, 10, style));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                bool inside = x >= 10 && x < 26 && y >= 10 && y < 26;
                TColor source = inside ? image.Canvas()->Pixels(x - 10, y - 10) : clFuchsia;
                TColor expected = source == clFuchsia ? kBack : source;
                ASSERT_EQ(target.Canvas()->Pixels(x, y), expected) << "style " << style << " at " << x << "," << y;
            }
    }

    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list.Handle(), &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(ImgListTest, RefusesWhatNamesNoImage) {
    auto* list = new TImageList(nullptr);
    AddStrip(*list);
    TBitmap target(20, 20);
    HDC dc = target.Canvas()->Handle();
    HIMAGELIST handle = list->Handle();
    EXPECT_FALSE(ImageList_Draw(handle, 2, dc, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(handle, -1, dc, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(handle, 0, nullptr, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(handle, 0, dc, 0, 0, 0x0010));  // a style the lists do not draw
    // A handle is never an address: one of another kind, or of a list gone, names nothing.
    EXPECT_FALSE(ImageList_Draw(reinterpret_cast<HIMAGELIST>(dc), 0, dc, 0, 0, ILD_NORMAL));
    list->Free();
    int cx = -1, cy = -1;
    EXPECT_FALSE(ImageList_GetIconSize(handle, &cx, &cy));
    EXPECT_FALSE(ImageList_Draw(handle, 0, dc, 0, 0, ILD_NORMAL));
    EXPECT_EQ(cx, -1);
}

TEST_F(ImgListTest, IconsKeepTheirAlpha) {
    TImageList list(nullptr);
    TIcon icon;
    icon.Bitmap()->SetSize(16, 16);
    for (int y = 0; y < 16; ++y) {
        auto* row = static_cast<uint8_t*>(icon.Bitmap()->ScanLine(y));
        for (int x = 0; x < 16; ++x) {
            // Opaque red on the left half, clear on the right.
            uint8_t* p = row + x * 4;
            p[0] = 0, p[1] = 0, p[2] = 255, p[3] = x < 8 ? 255 : 0;
        }
    }
    EXPECT_EQ(list.AddIcon(&icon), 0);
    TIcon wrongSize;
    wrongSize.Bitmap()->SetSize(32, 32);
    EXPECT_EQ(list.AddIcon(&wrongSize), -1);

    TBitmap target(16, 16);
    Fill(target, kBack, Rect(0, 0, 16, 16));
    ASSERT_TRUE(ImageList_Draw(list.Handle(), 0, target.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(target.Canvas()->Pixels(3, 8), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(12, 8), kBack);

    // Disabled, the opaque part is the shadow's shape.
    Fill(target, kBack, Rect(0, 0, 16, 16));
    list.Draw(target.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(target.Canvas()->Pixels(3, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(target.Canvas()->Pixels(12, 8), kBack);
}

}  // namespace
