#pragma once
// Helpers for tests of controls and forms: pump the loop, move the manual clock through timer
// due times, send input as the backend's real input arrives, render to PNG (the input and the
// pictures through the driver of the backend the test program links).
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/backend/Sinks.h"

namespace ui::test {

// Runs up to `passes` passes of the loop; stops early at a pass that would wait. Returns the
// number of passes that ran.
int Pump(int passes = 1000);
// Runs passes (waiting as the loop does, up to timeoutMs of real time) until cond holds.
bool PumpUntil(const std::function<bool()>& cond, int timeoutMs = 5000);
// Moves the manual clock forward by ms, stopping at every timer due time on the way and
// pumping there, as time passing for real would.
void AdvanceClock(rtl::ManualClock& clock, uint64_t ms);

// While it lives the loop's waits have a deadline: a timer that ends them after ms of real time,
// should the wake-up a test waits for never come. Fired: its time has come, so whatever the test
// waited for may have been found by the backstop rather than by its own wake-up.
class WaitBackstop {
public:
    explicit WaitBackstop(int ms = 5000);
    ~WaitBackstop();
    WaitBackstop(const WaitBackstop&) = delete;
    WaitBackstop& operator=(const WaitBackstop&) = delete;
    bool Fired() const;

private:
    HWND FWindow;
    std::chrono::steady_clock::time_point FDue;
};

// Input arrives as real input does: keys at the focus widget of the control's window (a native
// control's inner widget when it has the focus), the mouse at the widget under the point.
// Mouse input at (x, y) in the control's client coordinates.
void MouseMove(TControl* control, int x, int y, WPARAM keys = 0);
void MouseDown(TControl* control, int x, int y, TMouseButton button = mbLeft);
void MouseUp(TControl* control, int x, int y, TMouseButton button = mbLeft);
void Click(TControl* control, int x, int y);
// The pointer leaves the window of the control.
void MouseLeave(TControl* control);
// Where GetCursorPos and Mouse->CursorPos() say the pointer is, until input moves it.
void SetCursorPos(const TPoint& screen);
// A key press (down, the characters of `text`, up) to the form of the control. Enter, Escape,
// Backspace, Tab and Space type their character unless text is given.
void Key(TControl* control, WORD vk, const String& text = String(), TShiftState shift = {});
void TypeText(TControl* control, const String& text);
// An input method composes `composing` (cursor in it) and types `commit` in the control's window.
void Compose(TControl* control, const String& composing, int cursor, const String& commit = String());

// While one lives, input goes straight to the control's own widget instead, bypassing any
// native widget inside it: the road of a control drawn by the library.
struct ViaHostWidget {
    ViaHostWidget();
    ~ViaHostWidget();
    ViaHostWidget(const ViaHostWidget&) = delete;
    ViaHostWidget& operator=(const ViaHostWidget&) = delete;
};
// Input events the native widgets' filter has turned into messages so far.
uint64_t NativeFilterEvents();

// The captions of the menu bar the form's window shows now (empty: none).
std::vector<String> MenuBarCaptions(TCustomForm* form);

// The desktop's colours, fonts or style change, as far as the program can tell: the backend
// notices the change as it notices a real one. Pump to let a backend that reports later do so.
void ChangeDesktop(DesktopChange what);

// Paints what is pending and writes the control's window (with its child windows) to a PNG.
bool SaveToPng(TWinControl* control, const std::string& path);

// A PNG read back: pixels 0x00BBGGRR, row by row.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<int32_t> Pixels;
    int32_t At(int x, int y) const { return Pixels.at(static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)); }
};
bool LoadPng(const std::string& path, Picture& picture);

// While one lives, the layer answers this screen layout (Screen, the monitor calls, the system
// metrics of the screen) instead of the desktop's.
struct ScreenLayoutScope {
    explicit ScreenLayoutScope(std::vector<ScreenArea> layout);
    ~ScreenLayoutScope();
    ScreenLayoutScope(const ScreenLayoutScope&) = delete;
    ScreenLayoutScope& operator=(const ScreenLayoutScope&) = delete;
};

// Forgets what a test left in the application (handlers, main form, terminate flag).
struct AppScope {
    AppScope();
    ~AppScope();
    AppScope(const AppScope&) = delete;
    AppScope& operator=(const AppScope&) = delete;
    // Forgets it now, in the middle of a test.
    static void Reset();
};

}  // namespace ui::test
