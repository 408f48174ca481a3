#pragma once
// One screen of the desktop, as the backend reports it: its place on the virtual desktop, the
// part of it windows may use (without panels and docks), and whether it is the primary one.
#include "platform/rtl/Geometry.h"

namespace ui {

struct ScreenArea {
    TRect Bounds;
    TRect Work;
    bool Primary = false;
};

}  // namespace ui
