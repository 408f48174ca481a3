#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

using namespace controls_test;

std::string TempPng(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("rwb_ui_") + name + "_" + std::to_string(getpid()) + ".png")).string();
}

using ControlsTest = ui::test::AppTest;

}  // namespace

TEST_F(ControlsTest, GraphicControlPaintsInsideItsBoundsOnItsParent) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 120);
    auto* panel = new Panel(form);
    panel->SetBounds(10, 10, 150, 90);
    panel->SetParent(form);
    auto* box = new Box(form);
    box->SetBounds(40, 30, 20, 10);
    box->SetParent(panel);
    form->Show();
    std::string path = TempPng("graphic");
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    ASSERT_EQ(pic.Width, 200);
    EXPECT_GE(box->Paints, 1);
    // Inside the box (panel at 10,10; box at 40,30 on it)...
    EXPECT_EQ(pic.At(50, 40), kBoxColor);
    EXPECT_EQ(pic.At(50 + 19, 40 + 9), kBoxColor);
    // ...and only there: one pixel outside each edge is the panel.
    EXPECT_EQ(pic.At(49, 45), kPanelColor);
    EXPECT_EQ(pic.At(70, 45), kPanelColor);
    EXPECT_EQ(pic.At(55, 39), kPanelColor);
    EXPECT_EQ(pic.At(55, 50), kPanelColor);
    // Drawing outside a paint pass lands at once, clipped the same way, and reads back.
    box->Canvas()->Brush()->SetColor(clLime);
    box->Canvas()->FillRect(Rect(-5, 0, 5, 5));
    EXPECT_EQ(box->Canvas()->Pixels(2, 2), clLime);
    EXPECT_EQ(panel->BackingImage()->Canvas()->Pixels(42, 32), clLime);
    EXPECT_EQ(panel->BackingImage()->Canvas()->Pixels(39, 32), kPanelColor);  // clipped at the box's edge
    EXPECT_EQ(box->Canvas()->Pixels(-1, 2), static_cast<TColor>(CLR_INVALID));  // outside the control
    // The parent's pixels under the control read back through the control's canvas.
    EXPECT_EQ(box->Canvas()->Pixels(10, 5), kBoxColor);
    form->Free();
}

