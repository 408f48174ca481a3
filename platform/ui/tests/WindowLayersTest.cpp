// Shaped and layered windows on the Qt backend offscreen, whose desktop shows translucency: what
// a window shows (the layer's composition), where it takes the mouse, a form's alpha blending,
// and PaintTo against the window's own picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/rtl/Handles.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/ShownWindows.h"
#include "platform/ui/tests/LayeredTestWindows.h"

namespace {

using layered_test::Log;
using layered_test::Logging;
using layered_test::Popup;

constexpr TColor kGreen = 0x00FF00;

class WindowLayersTest : public ui::test::AppTest {
protected:
    void SetUp() override {
        Log().clear();
        form = new Logging<TForm>("form", nullptr);
        form->SetBounds(50, 50, 300, 200);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    Popup* MakePopup(const TRect& screen, DWORD exStyle = 0) {
        auto* p = new Popup("popup", form, WS_POPUP, exStyle);
        p->SetBoundsRect(screen);
        p->SetParent(form);
        p->Show();
        return p;
    }
    Logging<TForm>* form = nullptr;
};

TEST_F(WindowLayersTest, AnArrowShapedPopupShowsAndTakesTheMouseInsideItsRegion) {
    Popup* arrow = MakePopup(Bounds(150, 120, 11, 10));
    arrow->SetColor(kGreen);
    const auto& points = layered_test::UpArrow();
    HRGN given = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
    ASSERT_EQ(SetWindowRgn(arrow->Handle(), given, TRUE_), 1);

    ui::test::ShownPicture shown = ui::test::ShownImage(arrow->Handle());
    ASSERT_EQ(shown.Width, 11);
    ASSERT_EQ(shown.Height, 10);
    for (TPoint in : {Point(5, 3), Point(5, 8)}) EXPECT_EQ(shown.At(in.X, in.Y), 0xFF00FF00u) << in.X << "," << in.Y;
    for (TPoint out : {Point(0, 0), Point(10, 9), Point(1, 8)}) EXPECT_EQ(shown.Alpha(out.X, out.Y), 0) << out.X << "," << out.Y;

    ui::test::Click(arrow, 0, 0);
    ui::test::Click(arrow, 5, 3);
    EXPECT_EQ(Log(), (std::vector<std::string>{"form down 100,70", "popup down 5,3"}));

    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    HRGN fresh = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
    EXPECT_EQ(GetWindowRgn(arrow->Handle(), copy), COMPLEXREGION);
    EXPECT_EQ(EqualRgn(copy, fresh), TRUE_);
    EXPECT_EQ(DeleteObject(given), FALSE_);

    ASSERT_EQ(SetWindowRgn(arrow->Handle(), nullptr, TRUE_), 1);
    Log().clear();
    ui::test::Click(arrow, 0, 0);
    EXPECT_EQ(Log(), std::vector<std::string>{"popup down 0,0"});
    EXPECT_EQ(ui::test::ShownImage(arrow->Handle()).At(0, 0), 0xFF00FF00u);
    DeleteObject(copy);
    DeleteObject(fresh);
    arrow->Free();
}

TEST_F(WindowLayersTest, AConstantOpacityComposesOverWhatLiesBeneath) {
    ASSERT_TRUE(ui::GetBackend().Supports(ui::Capability::TranslucentWindows));
    form->SetColor(static_cast<TColor>(0x20A0E0));
    HWND h = form->Handle();
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    ASSERT_EQ(SetLayeredWindowAttributes(h, 0, 200, LWA_ALPHA), TRUE_);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_EQ(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags), TRUE_);
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, LWA_ALPHA);
    EXPECT_EQ(ui::test::ShownOpacity(h), 200);
    ui::test::ShownPicture shown = ui::test::ShownImage(h);
    TColor over = shown.Over(20, 20, clWhite);
    for (int shift : {0, 8, 16}) {
        int c = (0x20A0E0 >> shift) & 0xFF;
        int expected = 255 - (255 - c) * 200 / 255;
        EXPECT_NEAR((over >> shift) & 0xFF, expected, 1) << shift;
    }
    // Colour keys are not built.
    SetLastError(0);
    EXPECT_EQ(SetLayeredWindowAttributes(h, clRed, 0, LWA_COLORKEY | LWA_ALPHA), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    // No longer layered: opaque again.
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    EXPECT_EQ(ui::test::ShownOpacity(h), 255);
    EXPECT_EQ(ui::test::ShownImage(h).Alpha(20, 20), 255);
}

// A 40 x 30 premultiplied picture, transparent but for a 4-pixel ring of colour.
constexpr uint8_t kRing[4] = {0x40, 0x80, 0xC0, 0xFF};  // B, G, R, A
void FillRing(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y) {
        auto* row = static_cast<uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < b.Width(); ++x) {
            bool ring = x < 4 || y < 4 || x >= b.Width() - 4 || y >= b.Height() - 4;
            for (int c = 0; c < 4; ++c) row[x * 4 + c] = ring ? kRing[c] : 0;
        }
    }
    b.PixelsChanged();
}

TEST_F(WindowLayersTest, APictureWithPerPixelAlphaTimesTheConstantOne) {
    Popup* frame = MakePopup(Bounds(0, 0, 10, 10), WS_EX_LAYERED);
    TBitmap picture(40, 30, pf32bit);
    FillRing(picture);
    TPoint at(100, 80), origin;
    TSize size(40, 30);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    ASSERT_EQ(UpdateLayeredWindow(frame->Handle(), nullptr, &at, &size, picture.Canvas()->Handle(), &origin, 0, &blend,
                                  ULW_ALPHA),
              TRUE_);
    EXPECT_EQ(frame->BoundsRect(), Bounds(100, 80, 40, 30));
    EXPECT_EQ(ui::test::ShownOpacity(frame->Handle()), 128);
    ui::test::ShownPicture shown = ui::test::ShownImage(frame->Handle());
    ASSERT_EQ(shown.Width, 40);
    EXPECT_EQ(shown.Over(20, 15, clWhite), clWhite);  // inside the ring: the background
    TColor half = shown.Over(1, 1, clBlack);
    EXPECT_NEAR(half & 0xFF, 0xC0 / 2, 1);
    EXPECT_NEAR((half >> 8) & 0xFF, 0x80 / 2, 1);
    EXPECT_NEAR((half >> 16) & 0xFF, 0x40 / 2, 1);
    EXPECT_NEAR(shown.Alpha(1, 1), 128, 1);
    // Only what SetLayeredWindowAttributes set is read back.
    EXPECT_EQ(GetLayeredWindowAttributes(frame->Handle(), nullptr, nullptr, nullptr), FALSE_);

    // The region cuts the hole out: a press there reaches the form below.
    HRGN ring = CreateRectRgn(0, 0, 40, 30);
    HRGN hole = CreateRectRgn(4, 4, 36, 26);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    ASSERT_EQ(SetWindowRgn(frame->Handle(), ring, TRUE_), 1);
    ui::test::Click(frame, 20, 15);
    ui::test::Click(frame, 2, 2);
    EXPECT_EQ(Log(), (std::vector<std::string>{"form down 70,45", "popup down 2,2"}));
    DeleteObject(hole);

    // Bad pictures change nothing.
    TBitmap wrong(40, 30, pf24bit);
    TSize larger(41, 30);
    TPoint elsewhere(10, 10);
    struct Bad {
        const char* what;
        HDC source;
        TSize* size;
    } bad[] = {{"a 24-bit source", wrong.Canvas()->Handle(), &size}, {"a size beyond the source", picture.Canvas()->Handle(), &larger}};
    for (const Bad& b : bad) {
        SetLastError(0);
        EXPECT_EQ(UpdateLayeredWindow(frame->Handle(), nullptr, &elsewhere, b.size, b.source, &origin, 0, &blend, ULW_ALPHA), FALSE_)
            << b.what;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << b.what;
        EXPECT_EQ(frame->BoundsRect(), Bounds(100, 80, 40, 30)) << b.what;
        EXPECT_EQ(ui::test::ShownImage(frame->Handle()).Pixels, shown.Pixels) << b.what;
    }
    // Not layered any more: the calls are refused.
    SetWindowLong(frame->Handle(), GWL_EXSTYLE, 0);
    SetLastError(0);
    EXPECT_EQ(UpdateLayeredWindow(frame->Handle(), nullptr, &at, &size, picture.Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ui::test::ShownOpacity(frame->Handle()), 255);
    frame->Free();
}

TEST_F(WindowLayersTest, WhereTheDesktopShowsTranslucencyChildrenAndWindowsNotLayeredAreRefused) {
    ASSERT_TRUE(ui::GetBackend().Supports(ui::Capability::TranslucentWindows));
    auto* child = new Popup("child", form, WS_CHILD, WS_EX_LAYERED);
    child->SetBounds(10, 10, 40, 30);
    child->SetParent(form);
    TBitmap picture(40, 30, pf32bit);
    FillRing(picture);
    TPoint at(100, 80), origin;
    TSize size(40, 30);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    for (TWinControl* w : {static_cast<TWinControl*>(child), static_cast<TWinControl*>(form)}) {
        SCOPED_TRACE(w == child ? "a layered child" : "a form not layered");
        TRect bounds = w->BoundsRect();
        SetLastError(0);
        EXPECT_EQ(SetLayeredWindowAttributes(w->Handle(), 0, 100, LWA_ALPHA), FALSE_);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        SetLastError(0);
        EXPECT_EQ(UpdateLayeredWindow(w->Handle(), nullptr, &at, &size, picture.Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA),
                  FALSE_);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(w->BoundsRect(), bounds);
        EXPECT_EQ(ui::test::ShownOpacity(w->Handle()), 255);
    }
    child->Free();
}

TEST_F(WindowLayersTest, AFormsAlphaBlendingOutlivesItsWindow) {
    form->SetAlphaBlendValue(192);
    form->SetAlphaBlend(true);
    EXPECT_EQ(ui::test::ShownOpacity(form->Handle()), 192);
    form->RecreateWnd();
    EXPECT_EQ(ui::test::ShownOpacity(form->Handle()), 192);
    EXPECT_NE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    form->SetAlphaBlendValue(100);
    EXPECT_EQ(ui::test::ShownOpacity(form->Handle()), 100);
    form->SetAlphaBlend(false);
    EXPECT_EQ(ui::test::ShownOpacity(form->Handle()), 255);
    // Set before the window exists, applied as it is made.
    auto* later = new TForm(nullptr);
    later->SetAlphaBlend(true);
    later->SetAlphaBlendValue(64);
    EXPECT_EQ(ui::test::ShownOpacity(later->Handle()), 64);
    later->Free();
}

TEST_F(WindowLayersTest, AFormThatNeverActivatesStaysInactiveWhereTheDesktopActivatesWhatItShows) {
    auto* image = new layered_test::NoActiveForm("image", form);
    image->SetBounds(120, 90, 60, 40);
    ShowWindow(image->Handle(), SW_SHOWNOACTIVATE);
    ui::test::Pump();
    EXPECT_TRUE(image->Peer()->Kind().NoActivate);
    ui::test::Click(image, 5, 5);
    ui::test::Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_FALSE(ui::test::TookActivation(image->Handle()));
    EXPECT_TRUE(Log().empty());
    // WindowFromPoint passes the disabled window by: a drop target under a drag image is found.
    EXPECT_EQ(FindControl(WindowFromPoint(image->ClientToScreen(Point(5, 5)))), form);
    image->Free();
}

// ---------------------------------------------------------------------------------------------
// PaintTo

// Fills what it is asked to paint red through its own WM_PAINT, never the inherited one.
class RedPainter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Paints = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg != WM_PAINT) return TCustomControl::Dispatch(m);
        ++Paints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        HBRUSH red = CreateSolidBrush(clRed);
        FillRect(dc, &ps.rcPaint, red);
        DeleteObject(red);
        EndPaint(Handle(), &ps);
    }
};

std::string TempPng(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("rwb_layers_") + name + "_" + std::to_string(getpid()) + ".png")).string();
}

TEST_F(WindowLayersTest, PaintToDrawsTheControlAsItShows) {
    auto* panel = new TPanel(form);
    panel->SetBounds(10, 10, 160, 90);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetCaption(String("Send"));
    button->SetBounds(8, 8, 70, 26);
    button->SetParent(panel);
    auto* label = new TLabel(form);
    label->SetCaption(String("Channel 12"));
    label->SetBounds(8, 50, 100, 16);
    label->SetParent(panel);
    std::string path = TempPng("panel");
    ui::test::Picture own;
    ASSERT_TRUE(ui::test::SaveToPng(panel, path));
    ASSERT_TRUE(ui::test::LoadPng(path, own));
    std::remove(path.c_str());
    ASSERT_EQ(own.Width, 160);

    TRect pending(2, 2, 30, 20);
    InvalidateRect(panel->Handle(), &pending, TRUE_);
    TRect before;
    GetUpdateRect(panel->Handle(), &before, FALSE_);

    constexpr TColor kMarker = 0x123456;
    for (TPoint at : {Point(0, 0), Point(10, 5)}) {
        TBitmap target(180, 100);
        target.Canvas()->Brush()->SetColor(kMarker);
        target.Canvas()->FillRect(Rect(0, 0, 180, 100));
        panel->PaintTo(target.Canvas(), at.X, at.Y);
        int differ = 0, outside = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 180; ++x) {
                TColor got = target.Canvas()->Pixels(x, y);
                bool in = x >= at.X && y >= at.Y && x < at.X + 160 && y < at.Y + 90;
                if (in && got != static_cast<TColor>(own.At(x - at.X, y - at.Y))) ++differ;
                if (!in && got != kMarker) ++outside;
            }
        EXPECT_EQ(differ, 0) << at.X << "," << at.Y;
        EXPECT_EQ(outside, 0) << at.X << "," << at.Y;
    }
    TRect after;
    GetUpdateRect(panel->Handle(), &after, FALSE_);
    EXPECT_EQ(after, before);
    EXPECT_EQ(after, pending);

    // A control's own WM_PAINT shows, also for a control that is not shown; a DC that is no DC
    // draws nothing and sends nothing.
    auto* red = new RedPainter(form);
    red->SetBounds(200, 10, 30, 20);
    red->SetVisible(false);
    red->SetParent(form);
    TBitmap target(30, 20);
    red->PaintTo(target.Canvas()->Handle(), 0, 0);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(29, 19), clRed);
    int paints = red->Paints;
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    red->PaintTo(stale, 0, 0);
    EXPECT_EQ(red->Paints, paints);
}

}  // namespace
