// Any bytes as a picture in a stream: the format is told by the first bytes, then drawn.
#include "fuzz/GraphicsFuzz.h"
#include "platform/rtl/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TMemoryStream stream;
    if (size) stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TPicture picture;
    try {
        picture.LoadFromStream(&stream);
    } catch (const Exception&) {
        return 0;
    }
    try {
        if (picture.Graphic()) fuzzing::DrawAll(*picture.Graphic());
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
