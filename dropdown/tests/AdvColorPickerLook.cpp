// Writes the colour picker's edit and its open list, colour box and cube pop-ups as PNGs in the
// temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"

namespace {

using dropdown_test::DropDownTest;

class AdvColorPickerLook : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    static std::string Temp(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }
};

TEST_F(AdvColorPickerLook, EditListAndBoxes) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    form->SetBounds(0, 0, 260, 120);
    form->SetColor(clBtnFace);
    auto* p = Make<TAdvColorPickerDropDown>(10, 10);
    p->SetWidth(160);
    p->AddDefaultColors();
    p->SetItemIndex(9);
    ui::test::Pump();
    EXPECT_TRUE(ui::test::SaveToPng(form, Temp("rwb_colorpicker_edit.png")));

    clock->Advance(1000);
    p->ShowDropDown();
    ui::test::Pump();
    ASSERT_TRUE(p->DroppedDown());
    p->ItemSelector()->HotNext();
    ui::test::Pump();
    EXPECT_TRUE(ui::test::SaveToPng(p->DropDownForm(), Temp("rwb_colorpicker_list.png")));
    p->HideDropDown(true);

    p->SetColorSelectionStyle(csDiscrete);
    clock->Advance(1000);
    ui::test::Pump();
    p->ShowDropDown();
    ui::test::Pump();
    ASSERT_TRUE(p->DroppedDown());
    p->ColorSelector()->SetItemHot(13);
    p->SetColorValueText(cvtHTML);
    ui::test::Pump();
    EXPECT_TRUE(ui::test::SaveToPng(p->DropDownForm(), Temp("rwb_colorpicker_boxes.png")));
    p->ColorSelector()->SetItemIndex(24);
    ui::test::Pump();
    EXPECT_TRUE(ui::test::SaveToPng(form, Temp("rwb_colorpicker_edit_html.png")));

    p->SetColorSelectionStyle(csColorCube);
    p->SetSelectedColor(static_cast<TColor>(0xFFFFFF));
    clock->Advance(1000);
    ui::test::Pump();
    p->ShowDropDown();
    ui::test::Pump();
    ASSERT_TRUE(p->DroppedDown());
    ui::test::MouseMove(p->ColorCubePanel(), 55, 20);
    ui::test::Pump();
    EXPECT_TRUE(ui::test::SaveToPng(p->DropDownForm(), Temp("rwb_colorpicker_cube.png")));
}

}  // namespace
