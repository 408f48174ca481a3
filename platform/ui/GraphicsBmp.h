#pragma once
// Device-independent bitmaps (the pixel layout of .bmp files, icons and metafile records).
#include <cstdint>
#include <vector>

#include "platform/ui/Graphics.h"

namespace gfx {

// Decodes a BITMAPINFOHEADER (or the older core header) with its colour table and pixels into
// out. bitsOffset is where the pixels start, counted from data; 0 means right after the colour
// table. With icon, the header's height counts the image and its AND mask, which is returned in
// andMask (1 bit a pixel, rows top-down, 4-byte aligned). Raises EInvalidGraphic on bad data.
void DecodeDib(const uint8_t* data, size_t size, size_t bitsOffset, TBitmap& out, bool icon = false,
               std::vector<uint8_t>* andMask = nullptr);

// Where the pixels of a DIB start when they follow its colour table, counted from data. Raises
// EInvalidGraphic when the header is not valid.
size_t DibBitsOffset(const uint8_t* data, size_t size);

// The header, colour table and bottom-up pixels of the bitmap: 1 and 8 bits with a colour table,
// 24 bits (device, 15, 16 and 24-bit bitmaps) and 32 bits. headerSize receives the size of header
// and colour table.
std::vector<uint8_t> EncodeDib(TBitmap& bitmap, size_t* headerSize = nullptr);

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) { return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16); }

}  // namespace gfx
