#pragma once
// Desktop services of the backend: wheel lines, the URL opener and the widget style's parts.
#include "platform/ui/backend/Backend.h"

namespace qtb {

int DesktopWheelScrollLines();
bool DesktopOpenUrl(const String& target);
bool PaintThemePart(TBitmap& target, const ui::ThemePart& part);

}  // namespace qtb
