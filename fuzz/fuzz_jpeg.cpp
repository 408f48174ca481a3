// Any bytes as a JPEG file, loaded and drawn, at full size and at a quarter in grey.
#include "fuzz/GraphicsFuzz.h"
#include "platform/ui/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TJPEGImage jpeg;
    fuzzing::LoadAndDraw(jpeg, data, size);
    if (jpeg.Empty()) return 0;
    try {
        jpeg.SetScale(jsQuarter);
        jpeg.SetGrayscale(true);
        fuzzing::DrawAll(jpeg);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
