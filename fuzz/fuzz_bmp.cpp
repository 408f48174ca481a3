// Any bytes as a .bmp file, loaded and drawn; a bitmap that loads is saved and loaded again to
// the same size, format and pixels.
#include "fuzz/GraphicsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TBitmap bmp;
    if (!fuzzing::LoadAndDraw(bmp, data, size) || bmp.Empty()) return 0;
    fuzzing::CheckBitmapRoundTrip(bmp);
    return 0;
}
