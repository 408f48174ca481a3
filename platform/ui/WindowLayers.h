#pragma once
// Shaped and layered windows and the input style bits: what the library keeps for a window
// beside its control (its region, its layered picture and opacity, whether it took the
// activation), the one hit test that the mouse road and WindowFromPoint share, and the rule of
// disabled windows. Private to the UI library and its test support.
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Region.h"

namespace ui::detail {

struct WindowLayer {
    // SetWindowRgn's region, in window coordinates (the frame's top-left is 0, 0).
    bool Shaped = false;
    Region Shape;
    // SetLayeredWindowAttributes' constant opacity, once it was called.
    bool AttributesSet = false;
    BYTE Alpha = 255;
    // UpdateLayeredWindow's picture: premultiplied 32 bits, the window's size, shown instead of
    // the window's own painting with PictureAlpha as constant opacity.
    std::unique_ptr<TBitmap> Picture;
    BYTE PictureAlpha = 255;
    // The window became the active window, by the program or by the desktop's report.
    bool Activated = false;
};

// The record of a window (nullptr: nothing kept); LayerOf makes it.
const WindowLayer* FindLayer(const TWinControl* window);
WindowLayer& LayerOf(const TWinControl* window);

// The window was made (its peer exists) or goes away (the record goes with it, the region
// among it).
void LayersWindowCreated(TWinControl* window);
void LayersWindowDestroyed(TWinControl* window);
// GetWindowLong's styles changed by SetWindowLong: the input bits and WS_EX_LAYERED take
// effect at once.
void LayersStylesChanged(TWinControl* window, DWORD oldStyle, DWORD oldExStyle);

// Disabled: Enabled false or WS_DISABLED in the window's style.
bool WindowDisabled(const TWinControl* window);
// The window or one it sits in (up to its top-level window) is disabled: it takes no input,
// no focus and no activation.
bool InputRefused(const TWinControl* window);
// Whether the window gives up a screen point that lies in its rectangle: it, or a window it
// sits in, has WS_EX_TRANSPARENT or a region without the point.
bool PassesMouse(const TWinControl* window, TPoint screen);
// The deepest shown window of the program that takes the mouse at a screen point (nullptr:
// none): top-level windows in the layer's stacking order (see TopWindowsInZOrder), then child
// windows inside client areas; windows that give the point up are passed by. skipDisabled:
// disabled top-level windows are passed by too (WindowFromPoint's rule).
TWinControl* MouseWindowAt(TPoint screen, bool skipDisabled);
// The program's shown top-level windows, topmost first: WS_EX_TOPMOST ones above the others,
// the active window's above the rest, newer above older. The desktop does not tell its order.
std::vector<TWinControl*> TopWindowsInZOrder();

// The window became the active window.
void NoteActivated(TWinControl* window);

// The constant opacity the window shows: 255 unless it is a layered window on a desktop that
// shows translucency.
BYTE ShownAlpha(const TWinControl* window);

}  // namespace ui::detail
