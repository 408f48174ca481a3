// The test driver of the fake backend: input goes straight into the library's window sink, to
// the window under the point, as a window system would deliver it; the key state follows, as a
// keyboard's and a mouse's would. It has no pictures of windows.
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Driver.h"
#include "platform/win/Window.h"

namespace ui::fake {

namespace {

// Where a window's top-left lies in its top-level window.
TPoint Origin(const FakeWindow* w) {
    TPoint o;
    for (; w && !w->TopLevel; w = w->Parent) {
        o.X += w->Bounds.Left;
        o.Y += w->Bounds.Top;
    }
    return o;
}

class FakeDriver final : public test::Driver {
public:
    void SendMouse(WidgetPeer& peer, UINT msg, int x, int y, WPARAM keys, bool viaHost) override {
        auto& w = static_cast<FakeWindow&>(peer);
        // x, y are client coordinates: the client area starts past the window's frame.
        TRect area = w.Control->ClientArea();
        TPoint p(x + area.Left, y + area.Top);
        WPARAM button = 0;
        bool press = false;
        switch (msg) {
            case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: button = MK_LBUTTON; press = true; break;
            case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: button = MK_RBUTTON; press = true; break;
            case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: button = MK_MBUTTON; press = true; break;
            case WM_LBUTTONUP: button = MK_LBUTTON; break;
            case WM_RBUTTONUP: button = MK_RBUTTON; break;
            case WM_MBUTTONUP: button = MK_MBUTTON; break;
            default: break;
        }
        WPARAM buttons = keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
        if (press) buttons |= button;
        else buttons &= ~button;
        // The window a button went down on keeps the mouse until every button is up.
        FakeWindow* target = &w;
        TWinControl* holder = FindControl(FGrab);
        FakeWindow* grab = holder ? WindowOf(holder) : nullptr;
        if (FGrab && !viaHost && grab) {
            TPoint from = Origin(&w), to = Origin(grab);
            p = TPoint(p.X + from.X - to.X, p.Y + from.Y - to.Y);
            target = grab;
        } else if (!viaHost) {
            target = w.WindowAt(p);
        }
        if (press && !grab) FGrab = target->Control->Handle();
        win::SetKeyState(VK_SHIFT, (keys & MK_SHIFT) != 0);
        win::SetKeyState(VK_CONTROL, (keys & MK_CONTROL) != 0);
        win::SetKeyState(VK_MENU, false);
        win::SetKeyState(VK_LBUTTON, (buttons & MK_LBUTTON) != 0);
        win::SetKeyState(VK_RBUTTON, (buttons & MK_RBUTTON) != 0);
        win::SetKeyState(VK_MBUTTON, (buttons & MK_MBUTTON) != 0);
        Instance().Windows().Mouse(target->Control, msg, p.X, p.Y, buttons | (keys & (MK_SHIFT | MK_CONTROL)));
        if (!buttons) FGrab = nullptr;
    }

    void SendMouseLeave(WidgetPeer& peer) override { Instance().Windows().MouseLeave(static_cast<FakeWindow&>(peer).Control); }

    void SendComposition(WidgetPeer& peer, const String& composing, int cursor, const String& commit) override {
        Instance().Windows().Composition(static_cast<FakeWindow&>(peer).Control, composing, cursor, commit);
    }

    void SendKey(WidgetPeer& peer, bool down, WORD vk, const String& text, TShiftState shift, bool) override {
        TWinControl* control = static_cast<FakeWindow&>(peer).Control;
        bool ctrl = shift.Contains(ssCtrl), alt = shift.Contains(ssAlt);
        win::SetKeyState(VK_SHIFT, shift.Contains(ssShift));
        win::SetKeyState(VK_CONTROL, ctrl);
        win::SetKeyState(VK_MENU, alt);
        bool keypad = vk >= VK_NUMPAD0 && vk <= VK_DIVIDE;
        LPARAM data = KeyData(vk, keypad, 1, alt, down, false);
        bool consumed = false;
        if (vk) {
            win::SetKeyState(vk, down);
            consumed = Instance().Windows().Key(control, down, vk, alt, data);
        }
        if (!down || consumed) return;
        // Each character carries the key data of the key that typed it.
        for (char16_t ch : TypedChars(vk, text, ctrl, alt)) Instance().Windows().Char(control, ch, alt, data);
    }

    // No native widgets, so no filter of theirs.
    uint64_t NativeFilterEventCount() override { return 0; }

    bool SaveToPng(WidgetPeer&, const std::string&) override {
        throw EBackendUnsupported(String("The fake backend has no SaveToPng"));
    }
    bool ReadPng(const std::string&, int&, int&, std::vector<int32_t>&) override {
        throw EBackendUnsupported(String("The fake backend has no ReadPng"));
    }

    std::vector<String> MenuBarCaptions(WidgetPeer& window) override {
        std::vector<String> captions;
        if (FakeMenuBar* bar = static_cast<FakeWindow&>(window).MenuBar)
            for (const MenuLine& line : bar->Lines())
                if (line.Depth == 0) captions.push_back(line.Caption);
        return captions;
    }

    // The fake reports at once what a desktop would.
    void ChangeDesktop(DesktopChange what) override { Instance().Desktop().DesktopChanged(what); }

private:
    // By handle: a window freed with a button still down (a test that ends there) is no grab,
    // whatever window is later made where it lay.
    HWND FGrab = nullptr;
};

}  // namespace

}  // namespace ui::fake

// A test program on the fake backend links this driver with the backend.
std::unique_ptr<ui::test::Driver> ui::test::MakeDriver() { return std::make_unique<ui::fake::FakeDriver>(); }
