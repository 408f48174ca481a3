// The drawing log: each call as the caller made it, in the mode in force, with its font, pen and
// brush; the parts a call draws itself with are not logged again.
#include <gtest/gtest.h>

#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/testing/DrawingLog.h"

namespace {

TEST(DrawingLogTest, CallsComeInOrderInLogicalUnitsWithTheirFontAndBrush) {
    qtb::EnsureApplication();
    TBitmap bmp(300, 300);
    TCanvas* c = bmp.Canvas();
    HDC dc = c->Handle();
    ui::test::DrawingLog log(*c);
    SetMapMode(dc, MM_LOMETRIC);

    LOGFONT lf;
    lf.lfHeight = -35;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TRect r(100, -100, 600, -400);
    UINT flags = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;
    DrawText(dc, String("Sensor 4 & 5: calibrated"), -1, &r, flags);
    SelectObject(dc, old);
    DeleteObject(font);
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
    TRect fill(10, -20, 30, -40);
    FillRect(dc, &fill, brush);
    DeleteObject(brush);
    c->Pen()->SetWidth(5);
    c->Rectangle(0, 0, 254, -254);

    const auto& calls = log.calls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0].call, "SelectObject");
    EXPECT_EQ(calls[0].fontHeight, -35);
    EXPECT_EQ(calls[0].fontEscapement, 900);
    EXPECT_EQ(calls[0].fontOrientation, 900);

    EXPECT_EQ(calls[1].call, "DrawText");  // its lines and underlines are not logged again
    EXPECT_EQ(calls[1].rect, TRect(100, -100, 600, -400));
    EXPECT_EQ(calls[1].flags, flags);
    EXPECT_EQ(calls[1].text, String("Sensor 4 & 5: calibrated"));
    EXPECT_EQ(calls[1].mapMode, MM_LOMETRIC);
    EXPECT_EQ(calls[1].fontHeight, -35);
    EXPECT_EQ(calls[1].fontEscapement, 900);

    // Selecting the old font back.
    EXPECT_EQ(calls[2].call, "SelectObject");
    EXPECT_EQ(calls[2].fontEscapement, 0);

    EXPECT_EQ(calls[3].call, "FillRect");
    EXPECT_EQ(calls[3].rect, TRect(10, -20, 30, -40));
    EXPECT_EQ(calls[3].brushColor, static_cast<TColor>(RGB(0, 128, 255)));

    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[4].call, "Rectangle");
    EXPECT_EQ(calls[4].rect, TRect(0, 0, 254, -254));
    EXPECT_EQ(calls[4].penWidth, 5);
}

TEST(DrawingLogTest, AMetafileCanvasIsLoggedTooAndADetachedLogHearsNothing) {
    qtb::EnsureApplication();
    TMetafile mf;
    size_t seen = 0;
    {
        TMetafileCanvas mc(&mf, nullptr);
        ui::test::DrawingLog log(mc);
        mc.TextOut(5, 6, String("gh"));
        mc.MoveTo(0, 0);
        mc.LineTo(20, 10);
        ASSERT_EQ(log.calls.size(), 2u);
        EXPECT_EQ(log.calls[0].call, "ExtTextOut");
        EXPECT_EQ(log.calls[0].points[0], TPoint(5, 6));
        EXPECT_EQ(log.calls[0].text, String("gh"));
        EXPECT_EQ(log.calls[1].call, "LineTo");
        EXPECT_EQ(log.calls[1].points[1], TPoint(20, 10));
        seen = log.calls.size();
        EXPECT_EQ(mc.Log(), &log);
    }
    EXPECT_EQ(seen, 2u);
    TBitmap bmp(10, 10);
    EXPECT_EQ(bmp.Canvas()->Log(), nullptr);
}

}  // namespace
