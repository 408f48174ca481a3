#pragma once
// Kept for code that includes the native controls by this name: the control base and the
// standard controls' messages are in NativeCtrls.h, the views in backend/NativeViews.h.
#include "platform/ui/NativeCtrls.h"
