// Renders spin buttons, numeric edits and numeric spins to PNG files in the temporary folder, for
// a person to look at: each picture also comes four times larger.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/instrument/MvNumEdit.h"
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

TEST_F(RenderLookSpin, NumericEditsAndSpins) {
    form->SetBounds(0, 0, 260, 130);
    auto place = [&](auto* c, int x, int y) {
        c->Font()->SetName("Arial");
        c->SetLeft(x);
        c->SetTop(y);
        return c;
    };
    auto* normal = place(Add<TMvNumEdit>(), 10, 10);
    normal->SetValue(1500);
    auto* editing = place(Add<TMvNumEdit>(), 90, 10);
    auto* error = place(Add<TMvNumEdit>(), 170, 10);

    auto* spin = place(Add<TMvNumSpin>(), 10, 45);
    spin->SetValue(42);
    auto* hex = place(Add<TMvNumSpin>(), 90, 45);
    hex->SetEditBase(ebHex);
    hex->SetDigitsHex(4);
    hex->SetValue(0xBEEF);
    auto* flat = place(Add<TMvNumSpin>(), 170, 45);
    flat->SetCtl3D(false);
    flat->SetValue(7);

    auto* limited = place(Add<TMvNumSpin>(), 10, 85);
    limited->SetMaxValue(254);
    limited->SetOptions(TNumEditOptions{eoLimitMax});
    limited->SetValue(300);
    auto* off = place(Add<TMvNumSpin>(), 90, 85);
    off->SetValue(3.5);
    off->SetEnabled(false);
    auto* wide = place(Add<TMvNumSpin>(), 170, 80);
    wide->SetBounds(170, 80, 80, 30);
    wide->SetValue(123456789);
    form->Show();
    // Typed after the first commit: the one is being edited, the other holds a wrong letter.
    editing->SetText(String("1.5k"));
    error->SetText(String("1.2.3"));
    Save("rwb_numeric_edits");
}

}  // namespace
