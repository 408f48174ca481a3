#pragma once
// Decoders of picture formats the layer does not read itself, a service of the backend.
#include <cstddef>
#include <cstdint>

class TBitmap;

namespace ui {

class ImageDecoders {
public:
    virtual ~ImageDecoders() = default;
    // The first image of a GIF file, as a pf32bit bitmap whose transparent pixels have alpha 0;
    // false when the bytes are no GIF the decoder can read.
    virtual bool DecodeGif(const uint8_t* data, size_t size, TBitmap& firstImage) = 0;
};

}  // namespace ui
