// The combo box's simple style: an edit field alone, without a drop-down button.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/TestSupport.h"

TEST(SimpleCombo, ShowsNoDropDownButton) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 240, 90);
    auto* combo = new TComboBox(form);
    combo->SetBounds(10, 10, 200, 22);
    combo->SetParent(form);
    form->Show();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("rwb_ui_simple_combo_" + std::to_string(getpid()) + ".png")).string();
    auto buttonColumnIsPlain = [&] {
        EXPECT_TRUE(ui::test::SaveToPng(form, path));
        ui::test::Picture pic;
        EXPECT_TRUE(ui::test::LoadPng(path, pic));
        std::remove(path.c_str());
        TRect client = form->ClientArea();
        // The right end of the field against its middle, along the row through the centre.
        int y = client.Top + 10 + 11, differ = 0;
        for (int x = client.Left + 10 + 180; x < client.Left + 10 + 196; ++x)
            differ += pic.At(x, y) != pic.At(client.Left + 10 + 150, y);
        return differ == 0;
    };
    EXPECT_FALSE(buttonColumnIsPlain());  // the drop-down style has its button
    combo->SetStyle(csSimple);
    ui::test::Pump();
    EXPECT_TRUE(buttonColumnIsPlain());
    combo->SetStyle(csDropDown);
    ui::test::Pump();
    EXPECT_FALSE(buttonColumnIsPlain());
    form->Free();
}
