// Any bytes as a Windows metafile (with or without the placeable header): loaded and played; then
// written again, and written as EMF, and each read back to the same records, size and pixels.
#include "fuzz/GraphicsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TMetafile mf;
    if (!fuzzing::LoadAndDraw(mf, data, size) || mf.Ops().empty()) return 0;
    fuzzing::CheckSameFormat(mf);
    fuzzing::CheckOtherFormat(mf);
    return 0;
}
