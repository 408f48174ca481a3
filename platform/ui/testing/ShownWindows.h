#pragma once
// What a window shows on the desktop, as the layer composes it: its painting and that of the
// windows in it (or the picture UpdateLayeredWindow gave it), cut to its region and theirs,
// times its constant opacity where the desktop shows translucency; and whether it took the
// activation.
#include <cstdint>
#include <vector>

#include "platform/ui/Controls.h"

namespace ui::test {

// Premultiplied pixels 0xAARRGGBB, row by row; outside the region alpha 0.
struct ShownPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const {
        return Pixels.at(static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x));
    }
    BYTE Alpha(int x, int y) const { return static_cast<BYTE>(At(x, y) >> 24); }
    // The pixel composed over a background colour, as the desktop shows it there.
    TColor Over(int x, int y, TColor background) const;
};

// Paints what is pending first. An empty picture for a handle that is no window.
ShownPicture ShownImage(HWND window);
// The constant opacity the window shows: 255 unless it is layered on a desktop that shows
// translucency.
BYTE ShownOpacity(HWND window);
// Whether the window has been the program's active window since it was made.
bool TookActivation(HWND window);

}  // namespace ui::test
