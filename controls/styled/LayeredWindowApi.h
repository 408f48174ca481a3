#pragma once
// The layered-window functions of "user32", bound as the application starts (a unit start); the
// flag tells whether SetLayeredWindowAttributes is there, which it is where the desktop shows
// translucent windows.
#include "platform/ui/LayeredWindows.h"

namespace LayeredWindowApi {
extern TUpdateLayeredWindow UpdateLayeredWindow;
extern TSetLayeredWindowAttributes SetLayeredWindowAttributes;
extern bool LayeredWindowsAvailable;
void Initialize();
}  // namespace LayeredWindowApi
