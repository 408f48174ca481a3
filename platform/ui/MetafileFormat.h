#pragma once
// Private to the metafile code: the record numbers and constants of the two file formats, and the
// small readers and writers their parts share.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Metafile.h"

namespace metafile {

using gfx::Get16;
using gfx::Get32;
using gfx::Put16;
using gfx::Put32;

// Record types of the enhanced format.
enum : uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETBKMODE = 18,
    EMR_SETROP2 = 20, EMR_SETTEXTCOLOR = 24, EMR_SETTEXTALIGN = 22, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_LINETO = 54,
    EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87, EMR_EXTSELECTCLIPRGN = 75, EMR_EXTFLOODFILL = 53, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETMAPMODE = 17,
};
constexpr uint32_t MM_ISOTROPIC_ = 7, MM_ANISOTROPIC_ = 8;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

// Functions of the older format.
enum : uint16_t {
    META_EOF = 0x0000, META_SETBKCOLOR = 0x0201, META_SETBKMODE = 0x0102, META_SETROP2 = 0x0104,
    META_SETTEXTCOLOR = 0x0209, META_SETTEXTALIGN = 0x012E, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_LINETO = 0x0213,
    META_MOVETO = 0x0214, META_SELECTOBJECT = 0x012D, META_DELETEOBJECT = 0x01F0, META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_ROUNDRECT = 0x061C, META_ARC = 0x0817,
    META_PIE = 0x081A, META_CHORD = 0x0830, META_POLYGON = 0x0324, META_POLYLINE = 0x0325,
    META_EXTTEXTOUT = 0x0A32, META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC, META_STRETCHDIB = 0x0F43, META_SAVEDC = 0x001E, META_RESTOREDC = 0x0127,
    META_INTERSECTCLIPRECT = 0x0416, META_EXTFLOODFILL = 0x0548,
};

// Reference device of the recordings: 96 pixels per inch exactly.
constexpr int kDevW = 1440, kDevH = 960, kDevMmW = 381, kDevMmH = 254;

inline int PxToHmm(int px) { return static_cast<int>(std::lround(px * 2540.0 / 96.0)); }
inline int HmmToPx(int hmm) { return static_cast<int>(std::lround(hmm * 96.0 / 2540.0)); }

inline constexpr uint8_t kR2OfMode[16] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
inline TPenMode ModeOfR2(uint32_t r2) {
    for (int i = 0; i < 16; ++i)
        if (kR2OfMode[i] == r2) return static_cast<TPenMode>(i);
    return pmCopy;
}

struct Writer {
    std::vector<uint8_t> v;
    void U8(uint8_t x) { v.push_back(x); }
    void U16(uint32_t x) { Put16(v, x); }
    void U32(uint32_t x) { Put32(v, x); }
    void I32(int32_t x) { Put32(v, static_cast<uint32_t>(x)); }
    void I16(int32_t x) { Put16(v, static_cast<uint16_t>(static_cast<int16_t>(x))); }
    void Pad4() { while (v.size() % 4) v.push_back(0); }
    void Pad2() { if (v.size() % 2) v.push_back(0); }
};

inline int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }
inline int16_t I16At(const uint8_t* p) { return static_cast<int16_t>(Get16(p)); }
// Values of the enhanced format, held to a range in which the inclusive-to-exclusive step, sizes
// and the mapping at playback cannot overflow; a real picture stays far inside it.
constexpr int32_t kMaxCoord = 1 << 27;
inline int32_t CoordAt(const uint8_t* p) { return std::clamp(I32At(p), -kMaxCoord, kMaxCoord); }

inline bool FitsInt16(const TPoint& p) { return p.X >= -32768 && p.X <= 32767 && p.Y >= -32768 && p.Y <= 32767; }

// A damaged bitmap in a record is refused with the file rather than at playback, where the
// exception would leave the target's pen, brush, font and saved state changed.
inline void CheckDib(const std::vector<uint8_t>& dib, size_t bitsOffset) {
    TBitmap probe;
    gfx::DecodeDib(dib.data(), dib.size(), bitsOffset, probe);
}

}  // namespace metafile
