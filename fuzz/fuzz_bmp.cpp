// Any bytes as a .bmp file, loaded and drawn.
#include "fuzz/GraphicsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TBitmap bmp;
    fuzzing::LoadAndDraw(bmp, data, size);
    return 0;
}
