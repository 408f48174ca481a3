#pragma once
// The X server calls of the real-display suite, kept apart: Xlib's names (None, Status, Bool,
// Region...) would collide with the layer's and Qt's.
#include <cstdint>
#include <string>
#include <vector>

namespace display::x {

// A connection of its own to $DISPLAY (nullptr: none), with XTest checked (extension false).
void* Open(bool& extension);
void Close(void* display);
void Move(void* display, int x, int y);
void Button(void* display, int button, bool down);
// False when the name is no key of the server's keymap.
bool Key(void* display, const std::string& name, bool down);
// Waits until the server has taken every request so far.
void Sync(void* display);
// Pixels 0x00BBGGRR of the root window's rectangle, row by row (empty: outside the screen).
std::vector<int32_t> Grab(void* display, int x, int y, int width, int height);
void ScreenSize(void* display, int& width, int& height);
// Where the window shows on the screen (its own area, a window manager's frame left out).
bool WindowRect(void* display, unsigned long window, int& x, int& y, int& width, int& height);
// Whether a window manager announces itself on the root window (_NET_SUPPORTING_WM_CHECK).
bool WindowManager(void* display);

// Whether a window manager takes a new window in hand (frames it) within ms: it announces itself
// before it has begun to manage windows, and a window mapped in between stays unmapped.
bool WindowManagerFrames(void* display, int ms);

}  // namespace display::x
