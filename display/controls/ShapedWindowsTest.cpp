// Shaped windows and windows transparent to input as the X server shows them and hands them the
// pointer: an arrow-shaped pop-up lets the form beneath show and take clicks outside its region,
// a pop-up with WS_EX_TRANSPARENT lets every click through; on a desktop without a compositing
// manager a layered window is refused its opacity and shows opaque, under one it shows its
// constant opacity and its picture with per-pixel alpha. Alone, under a window manager and under
// a compositing manager (the suite runs these cases once more under each).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/display/RealDisplay.h"
#include "platform/rtl/Handles.h"
#include "platform/ui/Forms.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"

using display::OnUi;
using display::User;

namespace {

std::vector<std::string> gLog;

template <class Base>
class Logging : public Base {
public:
    template <class... A>
    explicit Logging(std::string name, A&&... args) : Base(std::forward<A>(args)...), Name(std::move(name)) {}
    std::string Name;

protected:
    void WndProc(TMessage& m) override {
        // Two quick presses make a double click on Qt even in two windows: both are presses.
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK)
            gLog.push_back(Name + " " + std::to_string(GET_X_LPARAM(m.LParam)) + "," + std::to_string(GET_Y_LPARAM(m.LParam)));
        Base::WndProc(m);
    }
};

class Popup : public Logging<TCustomControl> {
public:
    Popup(std::string name, TComponent* owner, DWORD exStyle) : Logging<TCustomControl>(std::move(name), owner), FExStyle(exStyle) {}

protected:
    void CreateParams(TCreateParams& Params) override {
        Logging<TCustomControl>::CreateParams(Params);
        Params.Style = WS_POPUP;
        Params.ExStyle = FExStyle;
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }

private:
    DWORD FExStyle;
};

bool Near(int32_t c, TColor want) {
    int32_t w = ColorToRGB(want);
    for (int shift : {0, 8, 16})
        if (std::abs(((c >> shift) & 0xFF) - ((w >> shift) & 0xFF)) > 2) return false;
    return true;
}

// Colour c with opacity alpha over white, as the desktop composes it.
TColor OverWhite(TColor c, int alpha) {
    int out = 0;
    for (int shift : {0, 8, 16}) out |= (255 - (255 - ((c >> shift) & 0xFF)) * alpha / 255) << shift;
    return static_cast<TColor>(out);
}

class ShapedWindows : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    Logging<TForm>* form = nullptr;
    void SetUp() override {
        if (std::getenv("RWB_DISPLAY_WM")) {
            ASSERT_TRUE(display::WaitForWindowManager()) << "no window manager came up";
        }
        if (std::getenv("RWB_DISPLAY_COMPOSITOR")) {
            // The compositing manager announces itself by owning its selection.
            ASSERT_TRUE(ui::test::PumpUntil([] { return ui::GetBackend().Supports(ui::Capability::TranslucentWindows); }, 10000))
                << "no compositing manager came up";
        }
        gLog.clear();
        form = new Logging<TForm>("form", nullptr);
        form->SetBounds(60, 60, 400, 260);
        form->SetColor(clWhite);
        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override { form->Free(); }
    Popup* Put(const char* name, TPoint client, int w, int h, TColor color, DWORD exStyle = 0) {
        auto* p = new Popup(name, form, exStyle);
        TPoint at = form->ClientToScreen(client);
        p->SetBounds(at.X, at.Y, w, h);
        p->SetColor(color);
        p->SetParent(form);
        p->Show();
        return p;
    }
};

TEST_F(ShapedWindows, TheDesktopShowsAndHandsThePointerToTheRegionAndPassesTransparentWindowsBy) {
    Popup* arrow = Put("arrow", Point(100, 80), 11, 10, static_cast<TColor>(0x00FF00));
    const std::vector<TPoint> up{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    ASSERT_EQ(SetWindowRgn(arrow->Handle(), CreatePolygonRgn(up.data(), 7, WINDING), TRUE_), 1);
    Popup* glass = Put("glass", Point(200, 80), 60, 40, static_cast<TColor>(0xFF0000), WS_EX_TRANSPARENT);
    Popup* layered = Put("layered", Point(100, 160), 60, 40, static_cast<TColor>(0x0000FF), WS_EX_LAYERED);
    bool translucent = ui::GetBackend().Supports(ui::Capability::TranslucentWindows);
    SetLastError(0);
    BOOL set = SetLayeredWindowAttributes(layered->Handle(), 0, 64, LWA_ALPHA);
    DWORD error = GetLastError();
    display::RunAsUser([&](User& user) {
        display::Settle();
        TRect shown = display::ScreenRect(arrow);
        ui::test::Picture picture = user.Grab(shown);
        display::SaveShot(picture, "shaped_arrow");
        display::SaveShot(user.Grab(display::ScreenRect(form)), "shaped_form");
        ASSERT_EQ(picture.Width, 11);
        EXPECT_TRUE(Near(picture.At(5, 3), static_cast<TColor>(0x00FF00)));
        EXPECT_TRUE(Near(picture.At(5, 8), static_cast<TColor>(0x00FF00)));
        for (TPoint out : {Point(0, 0), Point(10, 9), Point(1, 8)})
            EXPECT_TRUE(Near(picture.At(out.X, out.Y), clWhite)) << out.X << "," << out.Y;

        user.Click(display::ScreenPoint(arrow, 0, 0));
        user.Click(display::ScreenPoint(arrow, 5, 3));
        user.Click(display::ScreenPoint(glass, 30, 20));
        EXPECT_TRUE(display::WaitFor([&] { return gLog.size() >= 3; }));
        EXPECT_EQ(gLog, (std::vector<std::string>{"form 100,80", "arrow 5,3", "form 230,100"}));
        EXPECT_TRUE(Near(user.Grab(display::ScreenRect(glass)).At(30, 20), static_cast<TColor>(0xFF0000)));

        // Without a compositing manager the desktop shows no translucency: the call says so and
        // the window shows opaque.
        int32_t tint = user.Grab(display::ScreenRect(layered)).At(30, 20);
        if (!translucent) {
            EXPECT_EQ(set, FALSE_);
            EXPECT_EQ(error, ERROR_NOT_SUPPORTED);
            EXPECT_TRUE(Near(tint, static_cast<TColor>(0x0000FF)));
        } else {
            EXPECT_EQ(set, TRUE_);
            EXPECT_TRUE(Near(tint, OverWhite(static_cast<TColor>(0x0000FF), 64))) << std::hex << tint;
        }

        // The rectangle again: the whole pop-up takes the pointer.
        OnUi([&] { SetWindowRgn(arrow->Handle(), nullptr, TRUE_); });
        display::Settle();
        gLog.clear();
        user.Click(display::ScreenPoint(arrow, 0, 0));
        EXPECT_TRUE(display::WaitFor([&] { return !gLog.empty(); }));
        EXPECT_EQ(gLog, std::vector<std::string>{"arrow 0,0"});
    });
}

TEST_F(ShapedWindows, APictureWithPerPixelAlphaShowsUnderACompositingManager) {
    if (!std::getenv("RWB_DISPLAY_COMPOSITOR")) GTEST_SKIP() << "runs under a compositing manager (display_controls_compositor)";
    // Shown before it gets its picture: its window is made again with an alpha channel.
    Popup* frame = Put("frame", Point(20, 20), 10, 10, clBlack, WS_EX_LAYERED);
    display::Settle();
    TBitmap picture(40, 30, pf32bit);
    for (int y = 0; y < 30; ++y) {
        auto* row = static_cast<uint8_t*>(picture.ScanLine(y));
        for (int x = 0; x < 40; ++x) {
            bool ring = x < 4 || y < 4 || x >= 36 || y >= 26;
            const uint8_t colour[4] = {0x40, 0x80, 0xC0, 0xFF};  // B, G, R, A
            for (int c = 0; c < 4; ++c) row[x * 4 + c] = ring ? colour[c] : 0;
        }
    }
    picture.PixelsChanged();
    TPoint at = form->ClientToScreen(Point(150, 100)), origin;
    TSize size(40, 30);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    ASSERT_EQ(UpdateLayeredWindow(frame->Handle(), nullptr, &at, &size, picture.Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA),
              TRUE_);
    display::RunAsUser([&](User& user) {
        display::Settle();
        TRect shown = display::ScreenRect(frame);
        ASSERT_EQ(shown, Bounds(at.X, at.Y, 40, 30));
        ui::test::Picture p = user.Grab(shown);
        display::SaveShot(p, "layered_ring");
        EXPECT_TRUE(Near(p.At(20, 15), clWhite)) << std::hex << p.At(20, 15);
        EXPECT_TRUE(Near(p.At(1, 1), OverWhite(static_cast<TColor>(0x4080C0), 128))) << std::hex << p.At(1, 1);
    });
}

}  // namespace
