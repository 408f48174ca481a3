#pragma once
// What tests need of a backend beyond the product's seam: input made as the backend's real input
// arrives, pictures of windows, and what a menu bar shows. Each backend's test support defines
// MakeDriver (the Qt one in platform_qt_testing, the fake one in platform_ui_fake); a test
// program links the one of the backend it runs on.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/backend/Sinks.h"

class TCustomForm;

namespace ui {
class WidgetPeer;
}

namespace ui::test {

class Driver {
public:
    virtual ~Driver() = default;
    // Keys go to the focus widget of the peer's window, the mouse to the widget under the point
    // (x, y in the peer's client coordinates), or to the one a button went down on until the
    // buttons are up. viaHost: straight to the peer's own widget instead, the road of a control
    // that has no native widget inside.
    virtual void SendMouse(WidgetPeer& peer, UINT msg, int x, int y, WPARAM keys, bool viaHost) = 0;
    virtual void SendMouseLeave(WidgetPeer& peer) = 0;
    virtual void SendKey(WidgetPeer& peer, bool down, WORD vk, const String& text, TShiftState shift, bool viaHost) = 0;
    // An input method's composition as the desktop's input method delivers it to the focus widget
    // of the peer's window (the road keys take): the text being composed (empty: none any more)
    // with its cursor, and what it types.
    virtual void SendComposition(WidgetPeer& peer, const String& composing, int cursor, const String& commit) = 0;
    // Input events the native widgets' filter has turned into messages so far.
    virtual uint64_t NativeFilterEventCount() = 0;
    // Writes the window with its child windows to a PNG file.
    virtual bool SaveToPng(WidgetPeer& peer, const std::string& path) = 0;
    // Reads a PNG file into 0x00BBGGRR pixels, row by row.
    virtual bool ReadPng(const std::string& path, int& width, int& height, std::vector<int32_t>& pixels) = 0;
    // The captions of the menu bar the window shows now (empty: none).
    virtual std::vector<String> MenuBarCaptions(WidgetPeer& window) = 0;
    // A change of the desktop's settings, arriving as the backend notices a real one (the
    // settings themselves stay as they are).
    virtual void ChangeDesktop(DesktopChange what) = 0;
};

// The driver of the backend the test program links, made on first use.
Driver& GetDriver();
std::unique_ptr<Driver> MakeDriver();

}  // namespace ui::test
