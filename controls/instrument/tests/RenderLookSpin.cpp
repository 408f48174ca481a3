// Renders spin buttons, numeric edits and numeric spins to PNG files in the temporary folder, for
// a person to look at: each picture also comes four times larger.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/instrument/_GClassSpin.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

class RenderLookSpin : public ui_test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    }
    void Save(const char* name) {
        const auto dir = std::filesystem::temp_directory_path();
        const std::string path = (dir / (std::string(name) + ".png")).string();
        ASSERT_TRUE(ui::test::SaveToPng(form, path));
        TPngImage shot, big;
        shot.LoadFromFile(String(path));
        big.SetSize(shot.Width() * 4, shot.Height() * 4);
        big.Canvas()->StretchDraw(Rect(0, 0, big.Width(), big.Height()), &shot);
        big.SaveToFile(String((dir / (std::string(name) + "_x4.png")).string()));
    }
};

TEST_F(RenderLookSpin, SpinButtons) {
    form->SetBounds(0, 0, 120, 60);
    const int heights[] = {24, 40, 17};
    for (int i = 0; i < 3; ++i) Add<TMvSpinButton>(10 + 25 * i, 10)->SetHeight(heights[i]);
    Add<TMvSpinButton>(85, 10)->SetEnabled(false);
    form->Show();
    Save("rwb_spin_buttons");
}

}  // namespace
