#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/ui/BitBtn.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class StdCtrlsBitBtnTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
};

}  // namespace

TEST_F(StdCtrlsBitBtnTest, KindsBringCaptionResultAndRole) {
    auto* form = new TForm(nullptr);
    auto* b = new TBitBtn(form);
    b->SetParent(form);
    struct Case {
        TBitBtnKind kind;
        const char16_t* caption;
        TModalResult result;
        bool isDefault, isCancel;
    } cases[] = {
        {bkOK, u"OK", mrOk, true, false},       {bkCancel, u"Cancel", mrCancel, false, true},
        {bkYes, u"&Yes", mrYes, true, false},   {bkNo, u"&No", mrNo, false, true},
        {bkRetry, u"&Retry", mrRetry, false, false}, {bkAll, u"&All", mrAll, false, false},
    };
    for (const auto& c : cases) {
        b->SetDefault(false);
        b->SetCancel(false);
        b->SetKind(c.kind);
        EXPECT_EQ(b->Caption(), String(c.caption)) << c.kind;
        EXPECT_EQ(b->ModalResult(), c.result) << c.kind;
        EXPECT_EQ(b->Default(), c.isDefault) << c.kind;
        EXPECT_EQ(b->Cancel(), c.isCancel) << c.kind;
    }
    form->Free();
}

TEST_F(StdCtrlsBitBtnTest, CloseKindClosesTheForm) {
    auto* form = new TForm(nullptr);
    auto* b = new TBitBtn(form);
    b->SetParent(form);
    b->SetKind(bkClose);
    form->Show();
    ui::test::Click(b, 5, 5);
    EXPECT_FALSE(form->Visible());
    form->Free();
}

TEST_F(StdCtrlsBitBtnTest, GlyphShowsWithItsBackgroundTransparent) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    auto* b = new TBitBtn(form);
    b->SetBounds(10, 10, 120, 40);
    b->SetParent(form);
    b->SetCaption(String(u"Go"));
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(static_cast<TColor>(0x00FF00FF));  // background: magenta
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(static_cast<TColor>(0x000000FF));  // red square inside
    glyph.Canvas()->FillRect(Rect(4, 4, 12, 12));
    b->SetGlyph(&glyph);
    form->Show();
    std::string path = (std::filesystem::temp_directory_path() / ("rwb_ui_bitbtn_" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    int red = 0, magenta = 0;
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 130; ++x) {
            int32_t c = pic.At(x, y);
            if (c == 0x0000FF) ++red;
            if (c == 0xFF00FF) ++magenta;
        }
    EXPECT_GE(red, 8 * 8 / 2);
    EXPECT_EQ(magenta, 0);
    form->Free();
}
