// Renders buttons and lamps to PNG files in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/instrument/MvCBitBt.h"
#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/MvLED.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

using RenderLook = ui::test::FormTest;

TEST_F(RenderLook, Buttons) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    form->SetBounds(0, 0, 320, 160);
    const char* texts[] = {"ON", "Send|Now", "ｱﾝﾃﾅ", "OFF"};
    for (int i = 0; i < 4; ++i) {
        auto* b = Add<TMvColBitBtn>(10 + 75 * i, 10);
        b->Font()->SetName("Arial");
        b->SetTextOn(texts[i]);
        if (i == 1) b->SetChecked(true);
        if (i == 2) b->GradBtnFace()->SetVisible(false);
        if (i == 3) b->SetEnabled(false);
    }
    const TLEDShape shapes[] = {sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle, sDiamondLeft, sDiamondRight};
    for (int i = 0; i < 8; ++i) {
        auto* l = Add<TMvLED>(10 + 75 * (i % 4), 60 + 45 * (i / 4));
        l->Font()->SetName("Arial");
        l->LED()->SetShape(shapes[i]);
        l->SetCaption(i == 1 ? "two|lines" : "Link");
        l->SetLED_Position(static_cast<TLEDPos>(i % 4));
        l->SetChecked(i % 2 == 0);
    }
    form->Show();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_buttons.png").string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
    StopFlashTimer();
}

}  // namespace
