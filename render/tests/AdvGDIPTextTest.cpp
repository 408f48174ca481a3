// The text helpers of the GDI+ graphics: fonts from platform fonts, measuring and drawing a line
// of text, and GDI+ drawing on a canvas among the canvas's own calls.
#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Math.h"
#include "render/tests/GdipTestSupport.h"

namespace {

using namespace gdip_test;
using namespace gdiplus;
using I = TGPInspect;

String FamilyOf(const TGPFont& font) {
    GpFontFamily* family = nullptr;
    EXPECT_EQ(GdipGetFamily(static_cast<GpFont*>(const_cast<void*>(I::Handle(font))), &family), Ok);
    char16_t name[32] = {};
    GdipGetFamilyName(family, name, 0);
    GdipDeleteFontFamily(family);
    return String(name);
}

String FamilyName(const TGPFontFamily& family) {
    char16_t name[32] = {};
    GdipGetFamilyName(static_cast<const GpFontFamily*>(I::Handle(family)), name, 0);
    return String(name);
}

// A 32-bit bitmap cleared to white and a graphics on it.
struct Surface {
    TGPBitmap bitmap;
    TGPGraphics graphics;
    Surface(int w, int h) : bitmap(w, h), graphics(&bitmap) { graphics.Clear(0xFFFFFFFF); }
    ARGB At(int x, int y) {
        ARGB c = 0;
        bitmap.GetPixel(x, y, c);
        return c;
    }
    int Differences(Surface& other) {
        int n = 0;
        for (int y = 0; y < static_cast<int>(bitmap.GetHeight()); ++y)
            for (int x = 0; x < static_cast<int>(bitmap.GetWidth()); ++x) n += At(x, y) != other.At(x, y);
        return n;
    }
    int Count(ARGB colour) {
        return CountIf([&](ARGB c) { return c == colour; });
    }
    // Ink of an anti-aliased blue text on white or yellow: more blue than red or green.
    int Bluish() {
        return CountIf([](ARGB c) { return ArgbBlue(c) > ArgbRed(c) + 60 && ArgbBlue(c) > ArgbGreen(c) + 60; });
    }
    template <class Pred>
    int CountIf(Pred pred) {
        int n = 0;
        for (int y = 0; y < static_cast<int>(bitmap.GetHeight()); ++y)
            for (int x = 0; x < static_cast<int>(bitmap.GetWidth()); ++x) n += pred(At(x, y));
        return n;
    }
};

std::unique_ptr<TFont> PlatformFont(const char* name, int size, TFontStyles style = {}, TColor color = clBlack) {
    auto f = std::make_unique<TFont>();
    f->SetName(name);
    f->SetSize(size);
    f->SetStyle(style);
    f->SetColor(color);
    return f;
}

TEST(AdvGDIPFonts, MakeFontOfAnUnknownNameIsArialWithTheSizeAndTheStylesButStrikeOut) {
    Surface s(4, 4);
    auto platform = PlatformFont("No Such Family Anywhere", 11, {fsBold, fsItalic, fsUnderline, fsStrikeOut});
    std::unique_ptr<TGPFont> font = s.graphics.MakeFont(platform.get());
    ASSERT_EQ(I::Last(*font), Ok);
    EXPECT_EQ(FamilyOf(*font), String("Arial"));
    auto* handle = static_cast<GpFont*>(const_cast<void*>(I::Handle(*font)));
    REAL size = 0;
    Unit unit = UnitWorld;
    INT style = -1;
    GdipGetFontSize(handle, &size);
    GdipGetFontUnit(handle, &unit);
    GdipGetFontStyle(handle, &style);
    EXPECT_EQ(size, 11.0f);
    EXPECT_EQ(unit, UnitPoint);
    EXPECT_EQ(style, FontStyleBold | FontStyleItalic | FontStyleUnderline);

    auto known = PlatformFont("Courier New", 9);
    EXPECT_EQ(FamilyOf(*s.graphics.MakeFont(known.get())), String("Courier New"));
    EXPECT_EQ(s.graphics.MakeFont(nullptr), nullptr);
    EXPECT_EQ(s.graphics.GetLastStatus(), InvalidParameter);
}

TEST(AdvGDIPFonts, AFontByAnUnknownNameFallsBackToTheGenericSansSerif) {
    TGPFont font(String("No Such Family Anywhere"), 12, TFontStyles{fsItalic});
    ASSERT_EQ(I::Last(font), Ok);
    EXPECT_EQ(FamilyOf(font), FamilyName(*TGPFontFamily::GenericSansSerif()));
    TGPFont arial(String("Arial"), 12);
    EXPECT_EQ(FamilyOf(arial), String("Arial"));
}

// The box GDI+ measures for the text in a 10-point Arial, made without the wrappers.
GpRectF FlatBox(const std::u16string& text, GpRectF layout) {
    GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    GpGraphics* g = nullptr;
    GdipGetImageGraphicsContext(bitmap, &g);
    GpFontFamily* family = nullptr;
    GdipCreateFontFamilyFromName(u"Arial", nullptr, &family);
    GpFont* font = nullptr;
    GdipCreateFont(family, 10, FontStyleRegular, UnitPoint, &font);
    GpRectF box;
    EXPECT_EQ(GdipMeasureString(g, text.c_str(), static_cast<INT>(text.size()), font, &layout, nullptr, &box, nullptr, nullptr), Ok);
    GdipDeleteFont(font);
    GdipDeleteFontFamily(family);
    GdipDeleteGraphics(g);
    GdipDisposeImage(bitmap);
    return box;
}

TEST(AdvGDIPText, MeasureOnlyFitsTheRectangleToTheTextLessTheMarginAndDrawsNothing) {
    Surface s(120, 60);
    auto font = PlatformFont("Arial", 10);
    TRect rect(10, 5, 60, 45);
    int height = s.graphics.DrawText(String("Signal"), 6, rect, font.get(), 0x400, clNone);
    GpRectF box = FlatBox(u"Signal", GpRectF{10, 5, 1050, 40});
    const int margin = 3;  // round((10 - 8) / 1.5) + 2
    EXPECT_EQ(rect.Left, 10);
    EXPECT_EQ(rect.Top, 5);
    EXPECT_EQ(rect.Right, 10 + Round(box.Width - margin));
    EXPECT_EQ(rect.Bottom, 5 + Round(box.Height));
    EXPECT_EQ(height, rect.Bottom - rect.Top);
    EXPECT_GT(box.Width, 10);
    EXPECT_EQ(s.Count(0xFFFFFFFF), 120 * 60);

    // A trailing blank is measured as an "i".
    auto measured = [&](const char* text) {
        TRect r(10, 5, 60, 45);
        s.graphics.DrawText(String(text), 3, r, font.get(), 0x400 | 0x1, clNone);
        return r;
    };
    EXPECT_EQ(measured("ab ").Right, measured("abi").Right);
    EXPECT_GT(measured("abi").Right, measured("ab").Right);
    EXPECT_EQ(s.Count(0xFFFFFFFF), 120 * 60);

    // At 8 points and below the margin is 2.
    auto small = PlatformFont("Arial", 8);
    TRect r(0, 0, 50, 30);
    s.graphics.DrawText(String("Signal"), 6, r, small.get(), 0x400, clNone);
    TGPFont flat(String("Arial"), 8);
    TGPRectF smallBox;
    s.graphics.MeasureString(String("Signal"), 6, &flat, MakeGPRectF(0, 0, 1050, 30), smallBox);
    EXPECT_EQ(r.Right, Round(smallBox.Width - 2));
}

TEST(AdvGDIPText, ABackgroundColourFillsTheMeasuredBoxOnePixelIn) {
    Surface s(120, 60), reference(120, 60);
    auto font = PlatformFont("Arial", 10);
    TRect rect(10, 5, 60, 45);
    s.graphics.DrawText(String("Level"), 5, rect, font.get(), 0x400, clRed);
    GpRectF box = FlatBox(u"Level", GpRectF{10, 5, 1050, 40});
    TGPSolidBrush red(0xFFFF0000);
    reference.graphics.FillRectangle(&red, 11, 5, box.Width - 3 + 1, box.Height);
    EXPECT_EQ(s.Differences(reference), 0);
    EXPECT_GT(s.Count(0xFFFF0000), 100);
    EXPECT_EQ(s.At(10, 10), 0xFFFFFFFFu);  // the first column stays clear
}

TEST(AdvGDIPText, WithoutTheFlagTheTextIsDrawnAtTheTopLeftInTheFontsColour) {
    Surface s(160, 60), reference(160, 60);
    auto font = PlatformFont("Arial", 10, {}, clBlue);
    TRect rect(12, 7, 150, 50);
    int height = s.graphics.DrawText(String("Channel 12"), 10, rect, font.get(), 0, clNone);
    EXPECT_EQ(height, 43);  // the rectangle as given
    EXPECT_EQ(rect.Right, 150);
    TGPFont arial(String("Arial"), 10);
    TGPSolidBrush blue(0xFF0000FF);
    reference.graphics.DrawString(String("Channel 12"), -1, &arial, TGPPointF{12, 7}, &blue);
    EXPECT_EQ(s.Differences(reference), 0);
    EXPECT_GT(s.Bluish(), 40);

    // With a background the box is laid first, then the text on it.
    Surface both(160, 60);
    TRect r(12, 7, 150, 50);
    both.graphics.DrawText(String("Channel 12"), 10, r, font.get(), 0, clYellow);
    EXPECT_GT(both.Count(0xFFFFFF00), 100);
    EXPECT_GT(both.Bluish(), 40);
}

TEST(AdvGDIPText, TextWidthAndHeightAreTheRoundedBoxInTenThousandSquare) {
    Surface s(4, 4);
    auto font = PlatformFont("Arial", 10);
    for (const char* text : {"W", "modem 429 MHz", "a\r\nb"}) {
        GpRectF box = FlatBox(String(text), GpRectF{0, 0, 10000, 10000});
        EXPECT_EQ(s.graphics.TextWidth(String(text), font.get()), Round(box.Width)) << text;
        EXPECT_EQ(s.graphics.TextHeight(String(text), font.get()), Round(box.Height)) << text;
    }
    EXPECT_GT(s.graphics.TextHeight(String("a\r\nb"), font.get()), s.graphics.TextHeight(String("a"), font.get()));
    EXPECT_EQ(s.graphics.TextWidth(String("x"), nullptr), 0);
}

// A length past the text measures the text and reads nothing beyond it.
TEST(AdvGDIPText, MeasureStringTakesNoMoreThanTheText) {
    Surface s(4, 4);
    TGPFont font(String("Arial"), 10);
    TGPRectF whole, past, part;
    ASSERT_EQ(s.graphics.MeasureString(String("level"), 5, &font, MakeGPRectF(0, 0, 500, 100), whole), Ok);
    ASSERT_EQ(s.graphics.MeasureString(String("level"), 500, &font, MakeGPRectF(0, 0, 500, 100), past), Ok);
    ASSERT_EQ(s.graphics.MeasureString(String("level"), 2, &font, MakeGPRectF(0, 0, 500, 100), part), Ok);
    EXPECT_EQ(past.Width, whole.Width);
    EXPECT_LT(part.Width, whole.Width);
    TGPGraphicsPath path;
    EXPECT_EQ(path.AddString(String("ab"), 99, TGPFontFamily::GenericSansSerif(), 0, 12, MakeGPRectF(0, 0, 100, 40), nullptr), Ok);
}

// GDI+ on a canvas handle draws into the canvas's own pixels, in call order with the canvas.
TEST(AdvGDIPCanvas, GraphicsOnACanvasHandleDrawsInCallOrderWithTheCanvas) {
    TBitmap bmp(80, 40, pf32bit);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 80, 40));
    TGPGraphics g(c->Handle());
    ASSERT_EQ(I::Last(g), Ok);
    ASSERT_EQ(g.SetSmoothingMode(SmoothingModeAntiAlias), Ok);
    TGPSolidBrush red(0xFFFF0000);
    ASSERT_EQ(g.FillEllipse(&red, 4.0f, 4.0f, 32.0f, 32.0f), Ok);
    int redPixels = 0, blended = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            TColor p = c->Pixels(x, y);
            if (p == clRed) ++redPixels;
            else if (p != clWhite) ++blended;
        }
    EXPECT_GT(redPixels, 600);
    EXPECT_GT(blended, 20);  // the rim is anti-aliased

    // The canvas covers half the ellipse, then GDI+ writes over the canvas's rectangle.
    c->Brush()->SetColor(clLime);
    c->FillRect(TRect(20, 0, 80, 40));
    EXPECT_EQ(c->Pixels(25, 20), clLime);
    EXPECT_EQ(c->Pixels(10, 20), clRed);
    TGPFont font(String("Arial"), 14, TFontStyles{fsBold});
    TGPSolidBrush black(0xFF000000);
    ASSERT_EQ(g.DrawString(String("Wx"), 2, &font, TGPPointF{30, 8}, &black), Ok);
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 30; x < 80; ++x) ink += c->Pixels(x, y) == clBlack;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(c->Pixels(22, 38), clLime);
}

}  // namespace
