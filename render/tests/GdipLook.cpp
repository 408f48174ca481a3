// Draws with the GDI+ wrappers and the GDI+ picture onto a sheet and writes it as a PNG in the
// temporary folder, for a person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "render/GDIPicture.h"
#include "render/tests/GdipTestSupport.h"

namespace {

using namespace gdip_test;
using namespace gdiplus;

TEST(GdipLook, Sheet) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the picture";
    TBitmap sheet(420, 220, pf32bit);
    TCanvas* c = sheet.Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect(0, 0, 420, 220));
    TGPGraphics g(c->Handle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetTextRenderingHint(TextRenderingHintAntiAlias);

    // A clock face: a path-gradient dial, ticks turned about the centre, two hands.
    TGPGraphicsPath dial;
    dial.AddEllipse(10.0f, 10.0f, 140.0f, 140.0f);
    TGPPathGradientBrush shade(&dial);
    shade.SetCenterColor(0xFFFFFFFF);
    shade.SetCenterPoint(TGPPoint{60, 60});
    ARGB rim = 0xFF7090C0;
    int one = 1;
    shade.SetSurroundColors(&rim, one);
    g.FillPath(&shade, &dial);
    TGPPen border(0xFF203050, 2);
    g.DrawPath(&border, &dial);
    TGPPen tick(0xFF203050, 2);
    for (int h = 0; h < 12; ++h) {
        TGPMatrix turn;
        turn.RotateAt(h * 30.0f, TGPPointF{80, 80});
        g.SetTransform(&turn);
        g.DrawLine(&tick, 80, 16, 80, h % 3 ? 24 : 30);
    }
    g.ResetTransform();
    TGPPen hour(0xFF000000, 5), minute(0xFF000000, 3);
    hour.SetEndCap(LineCapRound);
    minute.SetEndCap(LineCapArrowAnchor);
    g.DrawLine(&hour, 80, 80, 80 + 35 * std::cos(-0.9f), 80 + 35 * std::sin(-0.9f));
    g.DrawLine(&minute, 80, 80, 80 + 55 * std::cos(0.6f), 80 + 55 * std::sin(0.6f));
    TGPSolidBrush hub(0xFFC03030);
    g.FillEllipse(&hub, 75, 75, 10, 10);

    // Calculator keys: gradient bodies with a label drawn through DrawText.
    TFont font;
    font.SetName("Arial");
    font.SetSize(10);
    font.SetStyle({fsBold});
    const char* keys[] = {"7", "8", "9", "/", "4", "5", "6", "*"};
    for (int i = 0; i < 8; ++i) {
        float x = 170.0f + (i % 4) * 42, y = 14.0f + (i / 4) * 34;
        TGPLinearGradientBrush body(MakeGPRectF(x, y, 38, 30), 0xFFFFFFFF, 0xFFB8C8E0, LinearGradientModeVertical);
        g.FillRectangle(&body, x, y, 38, 30);
        g.DrawRectangle(&border, x, y, 38, 30);
        TRect r(static_cast<int>(x) + 14, static_cast<int>(y) + 7, static_cast<int>(x) + 38, static_cast<int>(y) + 30);
        g.DrawText(String(keys[i]), 1, r, &font, 0, clNone);
    }
    TRect label(170, 90, 330, 110);
    font.SetStyle({});
    g.DrawText(String("Level -87 dBm "), 14, label, &font, 0, 0xA0E0FF);
    TGPHatchBrush hatch(HatchStyleDiagonalCross, 0xFF406080, 0x00000000);
    g.FillRectangle(&hatch, 340.0f, 14.0f, 66.0f, 64.0f);

    // Pictures: PNG scaled, BMP with its bottom-left colour transparent, JPEG scaled.
    TGDIPPicture png, bmp, jpeg;
    png.LoadFromBytes(PngFile(16, 8));
    bmp.LoadFromBytes(BmpFile(8, 4));
    jpeg.LoadFromBytes(JpegFile(32, 16));
    c->StretchDraw(TRect(170, 130, 234, 162), &png);
    c->StretchDraw(TRect(250, 130, 314, 162), &bmp);
    c->StretchDraw(TRect(330, 130, 394, 162), &jpeg);
    png.DrawImage(&g, 170, 175);
    png.DrawImageRect(&g, 200, 175, 48, 24);

    const std::string path = (std::filesystem::temp_directory_path() / "rwb_gdip.png").string();
    TPngImage out;
    out.Assign(&sheet);
    out.SaveToFile(String(path));
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace
