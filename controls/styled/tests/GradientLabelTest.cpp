// The gradient label: its bands, fills, lines, text and the workbench's section captions.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "controls/styled/GradientLabel.h"
#include "platform/rtl/Math.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class GradientLabelTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->SetColor(0x00E000);  // green: no gradient here has it
    }
    TGradientLabel* Label(int left, int top, int width, int height) {
        auto* l = Add<TGradientLabel>(left, top);
        l->SetBounds(left, top, width, height);
        l->Font()->SetName(u"Arial");
        l->Font()->SetSize(10);
        return l;
    }
    // The label's pixel (x, y) as the form shows it.
    TColor At(TControl* c, int x, int y) {
        form->Update();
        TRect client = form->ClientArea();
        return form->BackingImage()->Canvas()->Pixels(client.Left + c->Left() + x, client.Top + c->Top() + y);
    }
    void Show() {
        form->Show();
        ui::test::Pump();
    }
};

TEST(LabelGradient, BandsFollowTheRule) {
    // 100 pixels in 32 bands: d = 3.125; band i from Round(i * d) to min(Right, that + 4).
    TBitmap bmp(100, 4);
    DrawLabelGradient(bmp.Canvas(), 0x000000, 0xF8F8F8, true, Rect(0, 0, 100, 4), 32);
    const double d = 100.0 / 32;
    for (int x = 0; x < 100; ++x) {
        int band = -1;
        for (int i = 0; i < 32; ++i) {
            int start = static_cast<int>(Round(i * d));
            if (x >= start && x < std::min(100, start + static_cast<int>(Trunc(d)) + 1)) band = i;
        }
        ASSERT_GE(band, 0);
        int v = static_cast<int>(Round(band * 0xF8 / 32.0));
        EXPECT_EQ(bmp.Canvas()->Pixels(x, 2), RGB(v, v, v)) << x;
    }
}

TEST_F(GradientLabelTest, StepsAndDefaults) {
    auto* narrow = Label(0, 0, 100, 20);
    auto* wide = Label(0, 30, 200, 20);
    EXPECT_EQ(narrow->Steps(), 32);
    EXPECT_EQ(wide->Steps(), 50);
    wide->SetGradientType(gtFullVertical);
    EXPECT_EQ(wide->Steps(), 32);  // by its height
    EXPECT_FALSE(narrow->AutoSize());
    EXPECT_FALSE(narrow->Transparent());
    EXPECT_EQ(narrow->ColorTo(), TColor(0xFFFFFF));
    EXPECT_EQ(narrow->LineWidth(), 2);
    narrow->SetVersion(u"3");
    EXPECT_EQ(narrow->Version(), String(u"1.2.0.0"));
}

TEST_F(GradientLabelTest, Fills) {
    auto* plain = Label(10, 10, 100, 20);
    plain->SetColor(0x0000FF);
    plain->SetColorTo(clNone);
    auto* clear = Label(10, 40, 100, 20);
    clear->SetColor(0x0000FF);
    clear->SetColorTo(0xFF0000);
    clear->SetTransparent(true);
    auto* line = Label(10, 70, 100, 20);
    line->SetColor(0x0000FF);
    line->SetColorTo(0x0000FF);
    line->SetGradientType(gtBottomLine);
    line->SetTransparent(true);
    auto* reversed = Label(10, 100, 100, 20);
    reversed->SetColor(clWhite);
    reversed->SetColorTo(clBlack);
    reversed->SetGradientDirection(gdRightToLeft);
    Show();

    EXPECT_EQ(At(plain, 5, 5), TColor(0x0000FF));
    EXPECT_EQ(At(plain, 95, 15), TColor(0x0000FF));
    EXPECT_EQ(At(clear, 50, 10), TColor(0x00E000));
    for (int y = 0; y < 20; ++y) EXPECT_EQ(At(line, 50, y), y >= 18 ? TColor(0x0000FF) : TColor(0x00E000)) << y;
    EXPECT_EQ(At(reversed, 0, 10), clBlack);
    EXPECT_GT(GetRValue(At(reversed, 99, 10)), 0xF0);
}

TEST_F(GradientLabelTest, TransparentTextLeavesAGapInTheLine) {
    auto* l = Label(10, 10, 150, 20);
    l->SetCaption(u"Level");
    l->SetColor(0x0000FF);
    l->SetColorTo(0x0000FF);
    l->SetGradientType(gtCenterLine);
    l->SetTransparentText(true);
    l->SetIndent(4);
    Show();
    TCanvas* c = l->Canvas();
    c->SetFont(l->Font());
    TRect calc = l->ClientRect();
    DrawTextEx(c->Handle(), l->Caption(), -1, &calc, DT_CALCRECT | DT_EXPANDTABS, nullptr);
    const int tw = calc.Width();
    const TRect line = l->LineRect();
    const int y = line.Top;  // a row of the line the text does not reach
    EXPECT_EQ(At(l, 0, y), TColor(0x0000FF));
    EXPECT_EQ(At(l, 3, y), TColor(0x0000FF));
    EXPECT_EQ(At(l, 4 + tw, y), TColor(0x0000FF));
    EXPECT_EQ(At(l, 149, y), TColor(0x0000FF));
    for (int x = 4; x < 4 + tw; ++x) EXPECT_NE(At(l, x, y), TColor(0x0000FF)) << x;
}

TEST_F(GradientLabelTest, DisabledAndVerticalText) {
    auto* l = Label(10, 10, 120, 40);
    l->SetCaption(u"ﾚﾍﾞﾙ");
    l->SetColor(clWhite);
    l->SetColorTo(clWhite);
    l->SetEnabled(false);
    Show();
    int highlight = 0, shadow = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            TColor p = At(l, x, y);
            highlight += p == ColorToRGB(clBtnHighlight);
            shadow += p == ColorToRGB(clBtnShadow);
        }
    EXPECT_GT(shadow, 5);

    // Vertical text runs up the label: its ink is taller than wide.
    auto* v = Label(150, 10, 40, 120);
    v->SetCaption(u"Level");
    v->SetColor(clWhite);
    v->SetColorTo(clWhite);
    v->Font()->SetColor(clBlack);
    v->SetOrientation(goVertical);
    v->Invalidate();
    TRect ink(1000, 1000, -1, -1);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 40; ++x)
            if (At(v, x, y) == clBlack) ink = Rect(std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                                                   std::max(ink.Bottom, y + 1));
    ASSERT_GT(ink.Right, 0);
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    EXPECT_LE(ink.Bottom, 120);  // written upward from the bottom
}

TEST_F(GradientLabelTest, TheWorkbenchsSectionCaptions) {
    form->SetBounds(0, 0, 420, 160);
    const char16_t* captions[] = {u"ｺﾏﾝﾄﾞ 発行", u"各種機能", u"接点情報", u"ﾓﾆﾀ"};
    TGradientLabel* labels[4];
    for (int i = 0; i < 4; ++i) {
        labels[i] = Label(10, 10 + 32 * i, 300, 24);
        labels[i]->SetCaption(captions[i]);
        labels[i]->SetColor(clWhite);
        labels[i]->SetAlignment(taCenter);
        labels[i]->SetLayout(tlCenter);
        labels[i]->Font()->SetStyle(TFontStyles() << fsBold);
    }
    Show();
    if (std::getenv("RWB_RENDER_LOOK"))
        ui::test::SaveToPng(form, (std::filesystem::temp_directory_path() / "rwb_gradient_labels.png").string());
    for (TGradientLabel* l : labels) {
        // White to the default white end would be flat; the workbench's captions run from
        // Color to ColorTo: here both ends are white, so check the centred text instead.
        int left = 300, right = -1;
        for (int x = 0; x < 300; ++x)
            if (At(l, x, 12) != clWhite) left = std::min(left, x), right = std::max(right, x);
        ASSERT_GE(right, 0);
        EXPECT_NEAR((left + right) / 2, 150, 8);
    }
}

}  // namespace
