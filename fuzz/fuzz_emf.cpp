// Any bytes as an enhanced metafile: loaded and played, then written in both formats, which must
// load again.
#include <cstdlib>

#include "fuzz/GraphicsFuzz.h"
#include "platform/ui/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TMetafile mf;
    fuzzing::LoadAndDraw(mf, data, size);
    if (mf.Ops().empty()) return 0;
    TMetafile emf, wmf;
    // What the program wrote it reads back.
    try {
        emf.LoadFromBytes(mf.EmfBytes());
        wmf.LoadFromBytes(mf.WmfBytes());
    } catch (const Exception&) {
        std::abort();
    }
    fuzzing::DrawAll(wmf);
    return 0;
}
