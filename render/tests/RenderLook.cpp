// Draws every routine of the unit onto a sheet and writes it as a PNG in the temporary folder, for a
// person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/tests/UiTestFixture.h"
#include "render/VarAvir.h"

namespace {

using RenderLook = ui_test::FormTest;

TColorTones SampleTones() {
    TColorTones t;
    t.Background = {0xF5E6D8, 0x8C6B4F, 0x3A2A1E};
    t.Hover = {0xB8E4FF, 0x3C8CC8, 0x000000};
    t.Selected = {0x5AB4F0, 0x2060A0, 0xFFFFFF};
    t.Disabled = {0xE0E0E0, 0xA0A0A0, 0x909090};
    return t;
}

TEST_F(RenderLook, Sheet) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    TBitmap sheet(760, 560);
    TCanvas* c = sheet.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 760, 560));
    c->Font()->SetName("Arial");
    c->Font()->SetSize(8);

    // Gradients.
    DrawStepGradient(c, 0xFF8000, 0x0000FF, 16, TRect(10, 10, 130, 40), true);
    DrawStepGradient(c, 0xFFFFFF, 0x008000, 8, TRect(140, 10, 180, 60), false);
    DrawMirrorGradient(c, TRect(190, 10, 290, 50), 0xFCE8D8, 0xF0C8A0, 0xE8B080, 0xF8E0C0, true, 0x905020, false, true);
    DrawMirrorGradient(c, TRect(300, 10, 400, 50), 0xD0FFD0, 0x40A040, 0x208020, 0xA0E0A0, false, 0x004000, true, true);
    DrawMirrorGradient(c, TRect(410, 10, 450, 50), clSkyBlue, clNone, clNone, clNone, true, clNavy, false, true);

    // Button faces, styles 0 to 3, as a segmented bar.
    for (int style = 0; style < 4; ++style)
        DrawButtonFace(c, 0xFCF0E4, 0xF0D8C0, 0xE8C8A8, 0xF8E8D8, clWhite, 0xE0C8B0, 0x906040, 0xC8B098, clWhite,
                       TRect(10 + style * 62, 70, 70 + style * 62, 92), style);
    DrawButtonFace(c, clSilver, clGray, clNone, clNone, clWhite, clGray, clBlack, clDkGray, clWhite,
                   TRect(270, 70, 330, 92), 0);

    // Shapes.
    for (int s = 0; s <= csHalfStar; ++s)
        DrawShape(c, 10 + s * 38, 110, 30, 26, static_cast<TCellShape>(s), 0x40C0FF, 0x004080);
    DrawDownTriangle(c, 740, 115, clRed);

    // Pies, signed bars, progress bars.
    int x = 10;
    for (int p : {2, 25, 60, 100}) {
        c->Brush()->SetColor(clWhite);
        DrawPieChart(c, TRect(x, 150, x + 40, 190), 0x30A030, p, false);
        x += 50;
    }
    c->Brush()->SetColor(clWhite);
    DrawPieChart(c, TRect(x, 150, x + 20, 170), clRed, 2, true);
    c->Brush()->SetColor(clWhite);
    DrawPieChart(c, TRect(x + 20, 170, x + 40, 190), clRed, 12, true);
    for (int i = 0; i < 3; ++i) {
        const int v = i == 0 ? -60 : i == 1 ? 0 : 75;
        c->Brush()->SetColor(clWhite);
        DrawPosNegBar(c, TRect(260, 150 + i * 16, 400, 166 + i * 16), v, 100, true, clRed, clGreen);
    }
    x = 420;
    for (double pos : {30.0, 50.0, 150.0}) {
        c->Brush()->SetColor(clWhite);
        DrawProgressBar(c, TRect(x, 150, x + 100, 170), 0x30B030, clWhite, 0xE8E8E8, clBlack, pos, 2, 2, 0, 100, "",
                        clGray, false);
        x += 110;
    }
    c->Brush()->SetColor(clWhite);
    DrawProgressBar(c, TRect(420, 175, 520, 195), clNavy, clYellow, clSilver, clNavy, 42.6, 1, 1, 0, 100, "%d items",
                    clBlack, false);
    DrawProgressBar(c, TRect(530, 175, 630, 195), clNavy, clYellow, clSilver, clNavy, 5, 1, 1, 5, 5, "%.1f", clNone, false);

    TFont font;
    font.SetName("Arial");
    font.SetSize(8);
    font.SetStyle(TFontStyles() << fsBold);
    TProgressLook look;
    look.Level0Color = 0x40C040;
    look.Level0ColorTo = 0xA0F0A0;
    look.Level1Color = 0x00C0FF;
    look.Level1ColorTo = 0x80E0FF;
    look.Level2Color = 0x0080FF;
    look.Level2ColorTo = 0x80C0FF;
    look.Level3Color = 0x0000E0;
    look.Level3ColorTo = 0x8080FF;
    look.Level1Perc = 40;
    look.Level2Perc = 70;
    look.BorderColor = clGray;
    look.ShowBorder = true;
    look.ShowPercentage = true;
    look.Font = &font;
    look.CompleteFontColor = clBlack;
    look.UnCompleteColor = clWhite;
    look.Steps = 12;
    const struct {
        bool stacked, smooth, gradient, vertical;
        int percent;
    } bars[] = {{false, false, false, false, 50}, {false, true, false, false, 55}, {true, true, false, false, 85},
                {true, true, true, false, 100}, {false, false, true, false, 95}};
    for (int i = 0; i < 5; ++i) {
        look.Stacked = bars[i].stacked;
        look.CompletionSmooth = bars[i].smooth;
        look.ShowGradient = bars[i].gradient;
        look.Vertical = false;
        DrawLevelProgress(c, TRect(10, 210 + i * 24, 112, 228 + i * 24), bars[i].percent, look);
    }
    look.Vertical = true;
    look.Stacked = true;
    look.ShowGradient = true;
    DrawLevelProgress(c, TRect(130, 210, 152, 330), 80, look);
    look.Stacked = false;
    look.CompletionSmooth = false;
    look.ShowGradient = false;
    DrawLevelProgress(c, TRect(160, 210, 182, 330), 60, look);

    // Button glyphs: rows combo, push and spin; columns look 0 to 3 by state 0 to 3, then look 0
    // with visual styles off.
    const TColorTones tones = SampleTones();
    for (int themes = 0; themes < 2; ++themes) {
        ui::sys::Answers().ThemeActive = themes == 0;
        for (int look = 0; look < 4; ++look) {
            if (themes == 1 && look > 0) break;
            for (int state = 0; state < 4; ++state) {
                const int col = themes == 1 ? 4 : look;
                const int bx = 220 + col * 105, by = 210 + state * 80;
                c->Brush()->SetColor(clWhite);
                c->Pen()->SetColor(clSilver);
                c->Pen()->SetWidth(1);
                c->Rectangle(TRect(bx, by, bx + 90, by + 22));
                DrawComboButton(c, nullptr, TRect(bx, by, bx + 90, by + 22), tones, state, look);
                DrawPushButton(c, nullptr, TRect(bx, by + 26, bx + 70, by + 48), tones, state, look);
                c->Brush()->SetColor(clWhite);
                c->Pen()->SetColor(clSilver);
                c->Pen()->SetWidth(1);
                c->Rectangle(TRect(bx, by + 52, bx + 60, by + 74));
                DrawSpinButtons(c, nullptr, TRect(bx, by + 52, bx + 60, by + 74), tones, state, look);
            }
        }
    }
    ui::sys::ResetAnswers();

    // An error underline under "speling" as an edit of the form lays the text out.
    auto* edit = Add<TEdit>(0, 0);
    edit->SetBounds(10, 360, 180, 24);
    edit->SetText(u"a speling mistake");
    edit->HandleNeeded();
    const LRESULT origin = edit->Perform(EM_POSFROMCHAR, 0, 0);
    c->Font()->Assign(edit->Font());
    c->Brush()->SetStyle(bsClear);
    c->TextOut(10 + static_cast<int16_t>(LOWORD(origin)), 360 + static_cast<int16_t>(HIWORD(origin)), u"a speling mistake");
    DrawErrorUnderline(form, c, u"a speling mistake", TRect(10, 360, 190, 384), 12, 2, 7);
    DrawErrorUnderline(form, c, u"a speling mistake", TRect(10, 360, 190, 384), 12, 10, 30);

    const std::string path = (std::filesystem::temp_directory_path() / "rwb_varavir.png").string();
    TPngImage png;
    png.Assign(&sheet);
    png.SaveToFile(String(path));
    // RWB_RENDER_ZOOM="x,y,w,h" also writes that part four times as large.
    if (const char* zoom = std::getenv("RWB_RENDER_ZOOM")) {
        int zx = 0, zy = 0, zw = 0, zh = 0;
        if (std::sscanf(zoom, "%d,%d,%d,%d", &zx, &zy, &zw, &zh) == 4 && zw > 0 && zh > 0) {
            TBitmap large(zw * 4, zh * 4);
            large.Canvas()->CopyRect(TRect(0, 0, zw * 4, zh * 4), c, TRect(zx, zy, zx + zw, zy + zh));
            TPngImage zoomed;
            zoomed.Assign(&large);
            zoomed.SaveToFile(String((std::filesystem::temp_directory_path() / "rwb_varavir_zoom.png").string()));
        }
    }
    ui::test::Picture back;
    ASSERT_TRUE(ui::test::LoadPng(path, back));
    EXPECT_EQ(back.Width, sheet.Width());
}

}  // namespace
