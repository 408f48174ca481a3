// Draws the clock in each of its twelve looks, in the four pointer styles and in a few component
// styles onto one form and writes it as a PNG in the temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dropdown/AdvWatch.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class AdvWatchLook : public ui::test::FormTest {};

TEST_F(AdvWatchLook, Sheet) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    form->SetBounds(0, 0, 6 * 180, 4 * 180);
    form->SetColor(clBtnFace);
    auto place = [&](int i) {
        auto* w = Add<TAdvWatch>((i % 6) * 180, (i / 6) * 180);
        w->SetTime(EncodeTime(10, 8, 0, 0));
        return w;
    };
    int i = 0;
    for (int s = wsClassic; s <= wsSmooth; ++s) place(i++)->SetStyle(static_cast<TWatchStyle>(s));
    for (int p = psLine; p <= psLineArrow; ++p) {
        TAdvWatch* w = place(i++);
        w->Appearance()->SetPointerStyle(static_cast<TPointerStyle>(p));
        w->SetTime(EncodeTime(15, 40, 0, 0));
    }
    TAdvWatch* shapes = place(i++);
    shapes->Appearance()->SetShape(wsRoundRect);
    shapes->Appearance()->SetBackgroundGradient(wgRadial);
    shapes->Appearance()->SetBackgroundColorTo(0xC08040);
    shapes->Appearance()->SetHourMarkStyle(hmsQuartDblLine);
    shapes->Appearance()->SetAMPMFrame(apRoundRect);
    TAdvWatch* running = place(i++);
    running->Settings()->SetAuto(true);
    for (TQRBStyle s : {tsOffice2007Luna, tsOffice2007Obsidian, tsWindows7, tsOffice2010Black, tsCustom, tsTerminal})
        place(i++)->SetComponentStyle(s);
    form->Show();
    ui::test::Pump();
    const std::string path = (std::filesystem::temp_directory_path() / "rwb_advwatch.png").string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
    std::printf("wrote %s\n", path.c_str());
    // RWB_RENDER_ZOOM="x,y,w,h" also writes that part of the form three times as large.
    if (const char* zoom = std::getenv("RWB_RENDER_ZOOM")) {
        int zx = 0, zy = 0, zw = 0, zh = 0;
        if (std::sscanf(zoom, "%d,%d,%d,%d", &zx, &zy, &zw, &zh) == 4 && zw > 0 && zh > 0) {
            ui::test::Picture shot;
            ASSERT_TRUE(ui::test::LoadPng(path, shot));
            TBitmap part(zw, zh);
            for (int y = 0; y < zh; ++y)
                for (int x = 0; x < zw; ++x) part.Canvas()->SetPixels(x, y, shot.At(zx + x, zy + y));
            TBitmap large(zw * 3, zh * 3);
            large.Canvas()->StretchDraw(TRect(0, 0, zw * 3, zh * 3), &part);
            TPngImage zoomed;
            zoomed.Assign(&large);
            zoomed.SaveToFile(String((std::filesystem::temp_directory_path() / "rwb_advwatch_zoom.png").string()));
        }
    }
}

}  // namespace
