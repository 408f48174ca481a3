// What a scrolled scroll box shows: its image moves with the content and the graphic children
// paint at their new places.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

using controls_test::Box;
using controls_test::kBoxColor;

class Stripe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override { Canvas()->FillSolid(ClientRect(), clLime); }
};

class ScrollBoxPaintTest : public ui::test::FormTest {
protected:
    ui::test::Picture Shot(TWinControl* w) {
        std::string path = (std::filesystem::temp_directory_path() / "rwb_ui_scrollbox.png").string();
        ui::test::Picture pic;
        EXPECT_TRUE(ui::test::SaveToPng(w, path));
        EXPECT_TRUE(ui::test::LoadPng(path, pic));
        std::remove(path.c_str());
        return pic;
    }
};

}  // namespace

TEST_F(ScrollBoxPaintTest, TheScrolledContentShowsWhereItMoved) {
    auto* box = Add<TScrollBox>();
    box->SetBounds(10, 10, 100, 100);
    box->SetColor(clWhite);
    auto* top = new Stripe(form);
    top->SetBounds(0, 0, 60, 20);
    top->SetParent(box);
    auto* low = new Box(form);
    low->SetBounds(0, 150, 60, 20);
    low->SetParent(box);
    form->Show();
    ui::test::Picture pic = Shot(box);
    EXPECT_EQ(pic.At(30, 10), static_cast<int32_t>(clLime));

    box->VertScrollBar()->SetPosition(1000);  // as far as the content goes: the lower one ends at the bottom
    ASSERT_EQ(low->Top(), 80);
    pic = Shot(box);
    EXPECT_EQ(pic.At(30, 90), kBoxColor);
    EXPECT_EQ(pic.At(30, 5), static_cast<int32_t>(clWhite));
    EXPECT_EQ(pic.At(30, 75), static_cast<int32_t>(clWhite));
    EXPECT_EQ(pic.At(70, 90), static_cast<int32_t>(clWhite));

    box->VertScrollBar()->SetPosition(0);
    pic = Shot(box);
    EXPECT_EQ(pic.At(30, 10), static_cast<int32_t>(clLime));
    for (int y = 0; y < box->ClientHeight(); y += 5) EXPECT_NE(pic.At(30, y), kBoxColor) << y;
}

TEST_F(ScrollBoxPaintTest, AChildWindowLeavesTheFrameToItsParent) {
    auto* box = Add<TScrollBox>();
    box->SetBounds(10, 10, 100, 100);
    auto* wide = new controls_test::Panel(form);
    wide->SetBounds(0, 0, 90, 300);  // reaches under the vertical bar
    wide->SetParent(box);
    form->Show();
    ui::test::Picture pic = Shot(box);
    EXPECT_EQ(pic.At(50, 40), controls_test::kPanelColor);
    for (int y = 0; y < 80; y += 8) EXPECT_NE(pic.At(box->ClientWidth() + 4, y), controls_test::kPanelColor) << y;
}
