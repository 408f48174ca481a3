// Font families, fonts, and measuring and drawing strings.
#include "platform/gdiplus/tests/GdiPlusTest.h"

namespace gdiplus_test {
namespace {

class Text : public GdiPlusTest {
protected:
    void SetUp() override {
        GdiPlusTest::SetUp();
        ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, &FFamily), Ok);
        ASSERT_EQ(GdipCreateFont(FFamily, 10, FontStyleRegular, UnitPoint, &FFont), Ok);
        GdipCreateSolidFill(0xFF000000, &FBlack);
        FBitmap = Bitmap(300, 80);
        FGraphics = On(FBitmap);
    }
    GpRectF Measure(const char16_t* text, GpRectF layout, GpStringFormat* format = nullptr) {
        GpRectF box;
        EXPECT_EQ(GdipMeasureString(FGraphics, text, -1, FFont, &layout, format, &box, nullptr, nullptr), Ok);
        return box;
    }
    GpFontFamily* FFamily = nullptr;
    GpFont* FFont = nullptr;
    GpSolidFill* FBlack = nullptr;
    GpBitmap* FBitmap = nullptr;
    GpGraphics* FGraphics = nullptr;
};

TEST_F(Text, FamiliesAreFoundByInstalledAndMappedNamesOnly) {
    GpFontFamily* f = nullptr;
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"NoSuchFamily", nullptr, &f), FontFamilyNotFound);
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"Liberation Serif", nullptr, &f), Ok);
    WCHAR name[32];
    ASSERT_EQ(GdipGetFamilyName(FFamily, name, 0), Ok);
    EXPECT_EQ(std::u16string(name), u"Arial");
    GpFontFamily *a = nullptr, *b = nullptr;
    ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&a), Ok);
    ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&b), Ok);
    EXPECT_EQ(a, b);
    // Deleting it leaves it to the next caller.
    EXPECT_EQ(GdipDeleteFontFamily(a), Ok);
    EXPECT_EQ(GdipGetFamilyName(a, name, 0), Ok);
}

TEST_F(Text, TheMeasuredBoxHoldsTheInkAndGrowsWithTheText) {
    GpRectF origin{20, 20, 0, 0};
    GpRectF box = Measure(u"Hello", origin);
    ASSERT_EQ(GdipDrawString(FGraphics, u"Hello", -1, FFont, &origin, nullptr, FBlack), Ok);
    std::vector<int> ink = Ink(FBitmap, 0xFFFFFFFF);
    ASSERT_GE(ink[0], 0);
    EXPECT_GE(ink[0], box.X - 2);
    EXPECT_GE(ink[1], box.Y - 2);
    EXPECT_LE(ink[2], box.X + box.Width + 2);
    EXPECT_LE(ink[3], box.Y + box.Height + 2);
    EXPECT_GT(box.Width, 20);
    EXPECT_GT(Measure(u"Hello, world", origin).Width, box.Width + 20);
}

TEST_F(Text, CentreAlignmentCentresTheTextInTheLayoutRectangle) {
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(0, 0, &format);
    ASSERT_EQ(GdipSetStringFormatAlign(format, StringAlignmentCenter), Ok);
    ASSERT_EQ(GdipSetStringFormatLineAlign(format, StringAlignmentCenter), Ok);
    GpRectF layout{0, 0, 300, 80};
    GpRectF box = Measure(u"Hello", layout, format);
    EXPECT_NEAR(box.X + box.Width / 2, 150, 1);
    EXPECT_NEAR(box.Y + box.Height / 2, 40, 1);
    ASSERT_EQ(GdipDrawString(FGraphics, u"Hello", -1, FFont, &layout, format, FBlack), Ok);
    std::vector<int> ink = Ink(FBitmap, 0xFFFFFFFF);
    EXPECT_NEAR((ink[0] + ink[2]) / 2.0, 150, 3);
    EXPECT_NEAR((ink[1] + ink[3]) / 2.0, 40, 4);
    GdipDeleteStringFormat(format);
}

// Lines break at blanks to the width, and the counts say how much of the text fitted.
TEST_F(Text, WrappingFillsLinesAndCountsWhatFits) {
    GpRectF layout{0, 0, 60, 1000};
    GpRectF box;
    INT fitted = 0, lines = 0;
    const char16_t* text = u"one two three four five six";
    ASSERT_EQ(GdipMeasureString(FGraphics, text, -1, FFont, &layout, nullptr, &box, &fitted, &lines), Ok);
    EXPECT_GT(lines, 2);
    EXPECT_EQ(fitted, 27);
    EXPECT_LE(box.Width, 60);
    // A rectangle one line high keeps the first line only.
    GpRectF one{0, 0, 60, box.Height / lines};
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(StringFormatFlagsLineLimit, 0, &format);
    ASSERT_EQ(GdipMeasureString(FGraphics, text, -1, FFont, &one, format, &box, &fitted, &lines), Ok);
    EXPECT_EQ(lines, 1);
    EXPECT_GT(fitted, 0);
    EXPECT_LT(fitted, 27);
    GdipDeleteStringFormat(format);
}

TEST_F(Text, BadArgumentsAreRefused) {
    GpRectF layout{0, 0, 0, 0};
    GpRectF box;
    EXPECT_EQ(GdipMeasureString(FGraphics, nullptr, -1, FFont, &layout, nullptr, &box, nullptr, nullptr), InvalidParameter);
    EXPECT_EQ(GdipMeasureString(FGraphics, u"x", -1, nullptr, &layout, nullptr, &box, nullptr, nullptr), InvalidParameter);
    GpFont* f = nullptr;
    EXPECT_EQ(GdipCreateFont(FFamily, 0, 0, UnitPoint, &f), InvalidParameter);
    EXPECT_EQ(GdipCreateFont(FFamily, 10, 0, UnitDisplay, &f), InvalidParameter);
}

}  // namespace
}  // namespace gdiplus_test
