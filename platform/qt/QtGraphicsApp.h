#pragma once
// Backend services that need no Qt type in their signature, so that tests and the UI core can
// call them without including Qt.
#include "platform/rtl/String.h"

class TBitmap;

namespace qtb {

// Creates the process's Qt application object (a QApplication, so that widgets work too) when
// there is none yet; fonts and painting need it. Without a display it selects the offscreen
// platform. Call from the UI thread; later calls do nothing.
void EnsureApplication();

// Writes the bitmap as a PNG file (for tests and diagnostics); false when it cannot be written.
bool SaveBitmapAsPng(TBitmap& bitmap, const String& fileName);

}  // namespace qtb

// The name the backend's graphics had before it joined the one backend namespace.
namespace qtbackend = qtb;
