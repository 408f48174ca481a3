#pragma once
// Menus open without animation while the program runs: the setting found at start is kept and
// put back at a normal exit. The layer keeps the setting itself; the desktop's own is never
// touched.
#include "platform/rtl/Types.h"

namespace MenuAnimationSwitch {
// The setting found at start.
extern BOOL SavedMenuAnimation;
// The unit's initialisation (done as the program starts) and finalisation (at its exit).
void Initialize();
void Finalize();
}  // namespace MenuAnimationSwitch
