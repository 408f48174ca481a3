#pragma once
// The pixels of a TBitmap, kept by the backend, and the picture codecs that read and write them.
#include <cstdint>
#include <vector>

#include "platform/ui/Graphics.h"

namespace ui {

class PixelStore {
public:
    virtual ~PixelStore() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // New pixels are white; existing ones are kept where they fit. A zero side leaves none.
    virtual void SetSize(int width, int height) = 0;
    // The layout of the pixels (see TBitmap::ScanLine); existing pixels are converted, and a
    // colour table of up to 16 entries survives the step to 4 bits.
    virtual void SetFormat(TPixelFormat format) = 0;
    // No pixels at all.
    virtual void Clear() = 0;
    // The pixels and format of another store of the same backend.
    virtual void CopyFrom(const PixelStore& other) = 0;
    // A row in the format's layout, 0 <= row < Height().
    virtual void* ScanLine(int row) = 0;
    // The colour of a pixel inside the picture.
    virtual TColor Pixel(int x, int y) const = 0;
    // The colour table of an indexed format (empty for the others).
    virtual std::vector<TColor> Palette() const = 0;
    // False when there is no colour table to set.
    virtual bool SetPalette(const std::vector<TColor>& colors) = 0;
};

// A picture file format.
class ImageCodec {
public:
    virtual ~ImageCodec() = default;
    // Replaces the pixels with the decoded picture, in the store's format; false when the data
    // is not a picture of this format.
    virtual bool Decode(const std::vector<uint8_t>& data, PixelStore& into) = 0;
    // The file's bytes; empty when it cannot be written.
    virtual std::vector<uint8_t> Encode(const PixelStore& from) = 0;
};

}  // namespace ui
