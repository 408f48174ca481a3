// Any bytes as a Windows metafile (with or without the placeable header): loaded and played, then
// written again, which must load.
#include <cstdlib>

#include "fuzz/GraphicsFuzz.h"
#include "platform/ui/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TMetafile mf;
    fuzzing::LoadAndDraw(mf, data, size);
    if (mf.Ops().empty()) return 0;
    TMetafile again;
    try {
        again.LoadFromBytes(mf.WmfBytes());
    } catch (const Exception&) {
        std::abort();
    }
    return 0;
}
