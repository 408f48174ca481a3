#pragma once
// The layered-window functions of "user32", bound as the program starts; the flag tells whether
// SetLayeredWindowAttributes is there.
#include "platform/ui/LayeredWindows.h"

namespace LayeredWindowApi {
extern TUpdateLayeredWindow UpdateLayeredWindow;
extern TSetLayeredWindowAttributes SetLayeredWindowAttributes;
extern bool LayeredWindowsAvailable;
void Initialize();
}  // namespace LayeredWindowApi
