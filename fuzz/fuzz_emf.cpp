// Any bytes as an enhanced metafile: loaded and played; then written again and read back to the
// same records, size and pixels, and written as WMF, which must load and, where that format holds
// the picture, read back to the same records and pixels as well.
#include "fuzz/GraphicsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TMetafile mf;
    if (!fuzzing::LoadAndDraw(mf, data, size) || mf.Ops().empty()) return 0;
    fuzzing::CheckSameFormat(mf);
    fuzzing::CheckOtherFormat(mf);
    return 0;
}
