#pragma once
// Desktop services of the backend: wheel lines, the URL opener, the widget style's parts and
// the icon theme, and the watch on the desktop's settings.
#include "platform/ui/backend/Backend.h"

namespace qtb {

int DesktopWheelScrollLines();
int DesktopDragDistance();
bool DesktopOpenUrl(const String& target);
bool PaintThemePart(TBitmap& target, const ui::ThemePart& part);
// The icon theme's icon of a folder or a file type (QtShellIcons.cpp).
bool ThemeFileIcon(bool folder, const String& name, int size, TBitmap& target);
// Reports the desktop's palette, font and style changes to the backend's desktop sink
// (QtDesktopWatch.cpp).
void WatchDesktopChanges(ui::Backend& backend);

}  // namespace qtb
