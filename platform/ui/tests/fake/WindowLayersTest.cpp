// Window regions and the input style bits as the library decides them, and the layered-window
// calls on a desktop without translucency (the fake backend has none).
#include <gtest/gtest.h>

#include "platform/rtl/Handles.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/Modules.h"
#include "platform/ui/backend/Sinks.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/ShownWindows.h"
#include "platform/ui/tests/LayeredTestWindows.h"

namespace {

using layered_test::Log;
using layered_test::Logging;
using layered_test::NoActiveForm;
using layered_test::Popup;

class WindowLayersTest : public ui::test::AppTest {
protected:
    void SetUp() override {
        Log().clear();
        form = new Logging<TForm>("form", nullptr);
        form->SetBounds(100, 100, 320, 240);
        form->Show();
    }
    void TearDown() override {
        if (other) other->Free();
        form->Free();
    }
    // A pop-up over the form at screen (150, 150).
    Popup* MakePopup(DWORD style, DWORD exStyle, const char* name = "popup") {
        auto* p = new Popup(name, form, style, exStyle);
        p->SetBounds(150, 150, 40, 30);
        p->SetParent(form);
        p->Show();
        return p;
    }
    // A press at a screen point delivered to the window the desktop would give it to.
    static void PressAt(TWinControl* w, TPoint screen) {
        TPoint client = w->ScreenToClient(screen);
        ui::test::Click(w, client.X, client.Y);
    }
    Logging<TForm>* form = nullptr;
    TCustomForm* other = nullptr;
};

TEST_F(WindowLayersTest, TheStyleBitsDecideInputFocusAndActivation) {
    auto* edit = new Logging<ui::test::CharTaker>("edit", form);
    edit->SetParent(form);
    edit->SetFocus();
    struct Row {
        const char* what;
        std::function<TWinControl*()> make;     // the window pressed at its (5, 5)
        LONG style, exStyle;                    // read back, -1: not checked
        std::vector<std::string> log;           // what took the press
        bool activates = false;                 // the press activated the window
    };
    auto* noActive = new NoActiveForm("drag image", nullptr);
    other = noActive;
    const Row rows[] = {
        {"a disabled pop-up reaches no control",
         [&] { return MakePopup(WS_POPUP | WS_DISABLED, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "focus window"); },
         static_cast<LONG>(0x88000000u), 0x88, {}},
        {"a form that never activates, shown without activation",
         [&] {
             noActive->SetBounds(150, 150, 60, 40);
             EXPECT_EQ(ShowWindow(noActive->Handle(), SW_SHOWNOACTIVATE), FALSE_);
             return noActive;
         },
         static_cast<LONG>(0x88800000u), -1, {}},
        {"WS_EX_TRANSPARENT added lets the press through at once",
         [&] {
             Popup* p = MakePopup(WS_POPUP, 0, "glass");
             SetWindowLong(p->Handle(), GWL_EXSTYLE, WS_EX_TRANSPARENT);
             return p;
         },
         static_cast<LONG>(WS_POPUP), WS_EX_TRANSPARENT, {"form down 55,55"}},
        {"and taken away takes the presses back",
         [&] {
             Popup* p = MakePopup(WS_POPUP, WS_EX_TRANSPARENT, "window");
             SetWindowLong(p->Handle(), GWL_EXSTYLE, 0);
             return p;
         },
         static_cast<LONG>(WS_POPUP), 0, {"window down 5,5"}, true},
        {"WS_DISABLED set by SetWindowLong refuses at once",
         [&] {
             Popup* p = MakePopup(WS_POPUP, 0, "off");
             SetWindowLong(p->Handle(), GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_DISABLED));
             return p;
         },
         static_cast<LONG>(WS_POPUP | WS_DISABLED), -1, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Log().clear();
        SetActiveWindow(form->Handle());
        edit->SetFocus();
        TWinControl* w = r.make();
        TPoint at = w->ClientToScreen(Point(5, 5));
        ASSERT_EQ(form->Handle(), GetActiveWindow());
        PressAt(w, at);
        EXPECT_EQ(Log(), r.log);
        if (r.style != -1) {
            EXPECT_EQ(GetWindowLong(w->Handle(), GWL_STYLE), r.style);
        }
        if (r.exStyle != -1) {
            EXPECT_EQ(GetWindowLong(w->Handle(), GWL_EXSTYLE), r.exStyle);
        }
        // Unless the press activated the window, the active form and the focused control stay.
        EXPECT_EQ(ui::test::TookActivation(w->Handle()), r.activates);
        EXPECT_EQ(GetActiveWindow(), r.activates ? w->Handle() : form->Handle());
        if (!r.activates) {
            EXPECT_EQ(Screen->ActiveForm(), form);
            EXPECT_EQ(GetFocus(), edit->Handle());
        }
        bool disabled = (GetWindowLong(w->Handle(), GWL_STYLE) & WS_DISABLED) != 0;
        // SetWindowLong leaves Enabled; a disabled window takes no focus either.
        EXPECT_TRUE(w->Enabled());
        if (disabled) {
            EXPECT_EQ(SetFocus(w->Handle()), nullptr);
            EXPECT_EQ(GetFocus(), edit->Handle());
        }
        // Out of the way of the next rows' presses.
        if (w == noActive) w->Hide();
        else w->Free();
    }
    EXPECT_TRUE(ui::test::TookActivation(form->Handle()));
}

TEST_F(WindowLayersTest, MovesAndTheWheelPassAWindowTransparentToInputBy) {
    // The wheel goes to the focus of the form it lands in: the pop-up belongs to another form,
    // so where it lands shows.
    auto* owner = new Logging<TForm>("owner", nullptr);
    other = owner;
    owner->SetBounds(600, 100, 100, 80);
    owner->Show();
    auto* glass = new Popup("glass", owner, WS_POPUP, WS_EX_TRANSPARENT);
    glass->SetBounds(150, 150, 40, 30);
    glass->SetParent(owner);
    glass->Show();
    std::vector<std::string> moves;
    auto record = [&](TObject* sender, TShiftState, int x, int y) {
        moves.push_back((sender == form ? "form " : "glass ") + std::to_string(x) + "," + std::to_string(y));
    };
    form->OnMouseMove = record;
    glass->OnMouseMove = record;
    TPoint beneath = form->ScreenToClient(glass->ClientToScreen(Point(7, 6)));
    std::string onForm = "form " + std::to_string(beneath.X) + "," + std::to_string(beneath.Y);
    // What the desktop delivers to the pop-up, as a backend that cannot pass input by does.
    ui::WindowSink& desktop = ui::GetBackend().Windows();
    desktop.Mouse(glass, WM_MOUSEMOVE, 7, 6, 0);
    desktop.MouseWheel(glass, -120, 7, 6, 0);
    EXPECT_EQ(moves, std::vector<std::string>{onForm});
    EXPECT_EQ(Log(), std::vector<std::string>{"form wheel"});

    SetWindowLong(glass->Handle(), GWL_EXSTYLE, 0);
    moves.clear();
    Log().clear();
    desktop.Mouse(glass, WM_MOUSEMOVE, 7, 6, 0);
    desktop.MouseWheel(glass, -120, 7, 6, 0);
    EXPECT_EQ(moves, std::vector<std::string>{"glass 7,6"});
    EXPECT_EQ(Log(), std::vector<std::string>{"owner wheel"});
    glass->Free();
}

TEST_F(WindowLayersTest, EnabledAndTheStyleBitBothDisable) {
    Popup* p = MakePopup(WS_POPUP, 0);
    p->SetEnabled(false);
    EXPECT_EQ(GetWindowLong(p->Handle(), GWL_STYLE) & WS_DISABLED, static_cast<LONG>(WS_DISABLED));
    PressAt(p, p->ClientToScreen(Point(3, 3)));
    EXPECT_TRUE(Log().empty());
    p->SetEnabled(true);
    EXPECT_EQ(GetWindowLong(p->Handle(), GWL_STYLE) & WS_DISABLED, 0);
    PressAt(p, p->ClientToScreen(Point(3, 3)));
    EXPECT_EQ(Log(), std::vector<std::string>{"popup down 3,3"});
    // A window made disabled (CreateParams gives WS_DISABLED) and enabled later takes input again.
    auto* late = new Logging<TCustomControl>("late", form);
    late->SetEnabled(false);
    late->SetBounds(200, 100, 20, 20);
    late->SetParent(form);
    EXPECT_NE(GetWindowLong(late->Handle(), GWL_STYLE) & WS_DISABLED, 0);
    late->SetEnabled(true);
    Log().clear();
    PressAt(late, late->ClientToScreen(Point(2, 2)));
    EXPECT_EQ(Log(), std::vector<std::string>{"late down 2,2"});
    late->Free();
    p->Free();
}

TEST_F(WindowLayersTest, ARegionShapesWhereTheWindowTakesTheMouse) {
    Popup* p = MakePopup(WS_POPUP, 0);
    ui::fake::FakeWindow* peer = ui::fake::WindowOf(p);
    HRGN ring = CreateRectRgn(0, 0, 40, 30);
    HRGN hole = CreateRectRgn(4, 4, 36, 26);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    ASSERT_EQ(SetWindowRgn(p->Handle(), ring, TRUE_), 1);
    // The window owns the region: the handle names nothing of the caller's any more.
    EXPECT_EQ(DeleteObject(ring), FALSE_);
    EXPECT_TRUE(peer->Shaped);
    EXPECT_EQ(peer->Shape.size(), 4u);  // the desktop is given the shape
    PressAt(p, p->ClientToScreen(Point(20, 15)));
    PressAt(p, p->ClientToScreen(Point(1, 1)));
    EXPECT_EQ(Log(), (std::vector<std::string>{"form down 70,65", "popup down 1,1"}));
    EXPECT_EQ(FindControl(WindowFromPoint(p->ClientToScreen(Point(20, 15)))), form);
    EXPECT_EQ(FindControl(WindowFromPoint(p->ClientToScreen(Point(1, 1)))), p);
    EXPECT_EQ(p->Perform(WM_NCHITTEST, 0, PointToLParam(170, 165)), HTNOWHERE);
    EXPECT_EQ(p->Perform(WM_NCHITTEST, 0, PointToLParam(151, 151)), HTCLIENT);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(p->Handle(), copy), COMPLEXREGION);
    HRGN expected = CreateRectRgn(0, 0, 40, 30);
    CombineRgn(expected, expected, hole, RGN_DIFF);
    EXPECT_EQ(EqualRgn(copy, expected), TRUE_);

    // Bad input changes nothing, and a region not taken stays the caller's.
    HRGN mine = CreateRectRgn(0, 0, 5, 5);
    SetLastError(0);
    EXPECT_EQ(SetWindowRgn(reinterpret_cast<HWND>(uintptr_t{0x4321}), mine, TRUE_), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SetWindowRgn(p->Handle(), reinterpret_cast<HRGN>(GetStockObject(WHITE_BRUSH)), TRUE_), 0);
    EXPECT_EQ(SetWindowRgn(p->Handle(), ring, TRUE_), 0);  // deleted: no region any more
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(p->Handle(), now), COMPLEXREGION);
    EXPECT_EQ(EqualRgn(now, copy), TRUE_);
    EXPECT_EQ(GetWindowRgn(p->Handle(), reinterpret_cast<HRGN>(uintptr_t{0x4321})), ERROR);
    EXPECT_EQ(DeleteObject(mine), TRUE_);

    // nil gives the rectangle back.
    EXPECT_EQ(SetWindowRgn(p->Handle(), nullptr, TRUE_), 1);
    EXPECT_FALSE(peer->Shaped);
    EXPECT_EQ(GetWindowRgn(p->Handle(), now), ERROR);
    Log().clear();
    PressAt(p, p->ClientToScreen(Point(20, 15)));
    EXPECT_EQ(Log(), std::vector<std::string>{"popup down 20,15"});

    // A region belongs to the window: a window made again has none, and one freed frees it once.
    HRGN again = CreateRectRgn(0, 0, 10, 10);
    ASSERT_EQ(SetWindowRgn(p->Handle(), again, FALSE_), 1);
    p->RecreateWnd();
    EXPECT_EQ(GetWindowRgn(p->Handle(), now), ERROR);
    HRGN last = CreateRectRgn(0, 0, 10, 10);
    ASSERT_EQ(SetWindowRgn(p->Handle(), last, FALSE_), 1);
    HWND gone = p->Handle();
    p->Free();
    EXPECT_EQ(GetWindowRgn(gone, now), ERROR);
    EXPECT_EQ(DeleteObject(last), FALSE_);
    for (HRGN r : {hole, copy, now, expected}) EXPECT_EQ(DeleteObject(r), TRUE_);
}

TEST_F(WindowLayersTest, WithoutTranslucencyTheLayeredCallsSaySoAndChangeNothing) {
    ASSERT_FALSE(ui::GetBackend().Supports(ui::Capability::TranslucentWindows));
    Popup* p = MakePopup(WS_POPUP, WS_EX_LAYERED);
    ui::fake::FakeWindow* peer = ui::fake::WindowOf(p);
    TBitmap source(40, 30, pf32bit);
    TPoint at(60, 70), origin;
    TSize size(40, 30);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    struct Call {
        const char* what;
        std::function<BOOL()> call;
        DWORD error;
    };
    HWND child = nullptr;
    {
        auto* c = new Popup("child", form, WS_CHILD, WS_EX_LAYERED);
        c->SetParent(form);
        child = c->Handle();
    }
    const Call calls[] = {
        {"constant opacity", [&] { return SetLayeredWindowAttributes(p->Handle(), 0, 200, LWA_ALPHA); }, ERROR_NOT_SUPPORTED},
        {"a picture", [&] { return UpdateLayeredWindow(p->Handle(), nullptr, &at, &size, source.Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA); },
         ERROR_NOT_SUPPORTED},
        {"a colour key", [&] { return SetLayeredWindowAttributes(p->Handle(), clRed, 0, LWA_COLORKEY); }, ERROR_NOT_SUPPORTED},
        {"a child window", [&] { return SetLayeredWindowAttributes(child, 0, 200, LWA_ALPHA); }, ERROR_INVALID_PARAMETER},
        {"a window not layered", [&] { return SetLayeredWindowAttributes(form->Handle(), 0, 200, LWA_ALPHA); }, ERROR_INVALID_PARAMETER},
        {"no window", [&] { return UpdateLayeredWindow(reinterpret_cast<HWND>(uintptr_t{0x4321}), nullptr, &at, &size, nullptr, nullptr, 0, &blend, ULW_ALPHA); },
         ERROR_INVALID_WINDOW_HANDLE},
    };
    for (const Call& c : calls) {
        SetLastError(0);
        EXPECT_EQ(c.call(), FALSE_) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    EXPECT_EQ(p->BoundsRect(), Bounds(150, 150, 40, 30));
    BYTE alpha = 0;
    EXPECT_EQ(GetLayeredWindowAttributes(p->Handle(), nullptr, &alpha, nullptr), FALSE_);
    EXPECT_EQ(peer->TranslucencyCalls, 0);

    // "user32" does not export them, and a form's alpha blending is kept but shows opaque.
    HMODULE user32 = GetModuleHandle(u"user32");
    for (const char* name : {"UpdateLayeredWindow", "SetLayeredWindowAttributes", "GetLayeredWindowAttributes"})
        EXPECT_EQ(GetProcAddress(user32, name), nullptr) << name;
    form->SetAlphaBlendValue(192);
    form->SetAlphaBlend(true);
    EXPECT_EQ(form->AlphaBlendValue(), 192);
    EXPECT_NE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(ui::test::ShownOpacity(form->Handle()), 255);
    EXPECT_EQ(ui::fake::WindowOf(form)->TranslucencyCalls, 0);
    try {
        form->SetAlphaBlendValue(256);
        ADD_FAILURE() << "256 was taken";
    } catch (const EInvalidOperation& e) {
        EXPECT_NE(e.Message().find(u"256"), String::npos);
    }
    EXPECT_EQ(form->AlphaBlendValue(), 192);
    EXPECT_THROW(form->SetAlphaBlendValue(-1), EInvalidOperation);
    form->SetAlphaBlend(false);
    EXPECT_EQ(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    p->Free();
}

}  // namespace
