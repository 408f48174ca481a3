// The encoders: BMP, JPEG and PNG through the layer's graphics, GIF and TIFF written here (the
// backend's toolkit writes no GIF and no multi-page TIFF).
#include <algorithm>
#include <map>

#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"

namespace gdiplus::detail {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// The image's pixels as a bitmap of the layer: 32 bits with alpha, 24 bits without.
void Fill(TBitmap& b, const Raster& r, bool alpha) {
    b.SetPixelFormat(alpha ? pf32bit : pf24bit);
    b.SetSize(r.width, r.height);
    for (int y = 0; y < r.height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < r.width; ++x) {
            uint32_t c = r.At(x, y);
            uint8_t* p = row + x * (alpha ? 4 : 3);
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            if (alpha) p[3] = c >> 24;
        }
    }
    b.PixelsChanged();
}

// Whether any pixel is not opaque.
bool Translucent(const Raster& r) {
    return std::any_of(r.pixels.begin(), r.pixels.end(), [](uint32_t c) { return (c >> 24) != 0xFF; });
}

// Variable-length codes of a GIF image's LZW data, packed into sub-blocks.
class LzwWriter {
public:
    explicit LzwWriter(int minCodeSize) : FMin(minCodeSize) {}
    std::vector<uint8_t> Encode(const std::vector<uint8_t>& indexes) {
        int clear = 1 << FMin, end = clear + 1;
        Reset();
        Emit(clear);
        std::map<std::pair<int, uint8_t>, int> table;
        int prefix = -1;
        for (uint8_t k : indexes) {
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            auto it = table.find({prefix, k});
            if (it != table.end()) {
                prefix = it->second;
                continue;
            }
            Emit(prefix);
            if (FNext < 4096) {
                table[{prefix, k}] = FNext++;
                if (FNext > (1 << FSize) && FSize < 12) ++FSize;
            } else {
                Emit(clear);
                table.clear();
                Reset();
            }
            prefix = k;
        }
        if (prefix >= 0) Emit(prefix);
        Emit(end);
        if (FBits > 0) FBytes.push_back(static_cast<uint8_t>(FAcc));
        std::vector<uint8_t> out;
        for (size_t i = 0; i < FBytes.size(); i += 255) {
            size_t n = std::min<size_t>(255, FBytes.size() - i);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), FBytes.begin() + i, FBytes.begin() + i + n);
        }
        out.push_back(0);
        return out;
    }

private:
    void Reset() {
        FSize = FMin + 1;
        FNext = (1 << FMin) + 2;
    }
    void Emit(int code) {
        FAcc |= static_cast<uint32_t>(code) << FBits;
        FBits += FSize;
        while (FBits >= 8) {
            FBytes.push_back(static_cast<uint8_t>(FAcc & 0xFF));
            FAcc >>= 8;
            FBits -= 8;
        }
    }
    int FMin;
    int FSize = 0;
    int FNext = 0;
    uint32_t FAcc = 0;
    int FBits = 0;
    std::vector<uint8_t> FBytes;
};

}  // namespace

std::vector<uint8_t> EncodeGif(const Image& image) {
    std::shared_ptr<Raster> r = image.Render(image.Width(), image.Height());
    // The image's own colours when they fit in 256 (one kept for transparency), else a
    // 6 x 7 x 6 colour cube.
    std::vector<ARGB> palette;
    std::map<ARGB, int> index;
    bool transparent = false;
    bool exact = true;
    for (uint32_t c : r->pixels) {
        if ((c >> 24) < 128) {
            transparent = true;
            continue;
        }
        ARGB key = c | 0xFF000000;
        if (index.count(key)) continue;
        if (index.size() >= 255) {
            exact = false;
            break;
        }
        index[key] = 0;
    }
    if (exact) {
        for (auto& [c, i] : index) {
            i = static_cast<int>(palette.size());
            palette.push_back(c);
        }
    } else {
        for (int rr = 0; rr < 6; ++rr)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.push_back(0xFF000000 | (ARGB(rr * 51) << 16) | (ARGB(g * 255 / 6) << 8) | ARGB(b * 51));
    }
    int transparentIndex = static_cast<int>(palette.size());
    palette.push_back(0);
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
    palette.resize(size_t{1} << bits, 0);
    std::vector<uint8_t> indexes;
    indexes.reserve(r->pixels.size());
    for (uint32_t c : r->pixels) {
        if ((c >> 24) < 128) {
            indexes.push_back(static_cast<uint8_t>(transparentIndex));
        } else if (exact) {
            indexes.push_back(static_cast<uint8_t>(index[c | 0xFF000000]));
        } else {
            int ri = (((c >> 16) & 0xFF) + 25) / 51, gi = (((c >> 8) & 0xFF) * 6 + 127) / 255, bi = ((c & 0xFF) + 25) / 51;
            indexes.push_back(static_cast<uint8_t>((ri * 7 + gi) * 6 + bi));
        }
    }
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, r->width);
    Put16(out, r->height);
    out.push_back(static_cast<uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));  // global table
    out.push_back(0);
    out.push_back(0);
    for (ARGB c : palette) {
        out.push_back((c >> 16) & 0xFF);
        out.push_back((c >> 8) & 0xFF);
        out.push_back(c & 0xFF);
    }
    if (transparent) {
        const uint8_t gce[] = {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparentIndex), 0};
        out.insert(out.end(), gce, gce + sizeof gce);
    }
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, r->width);
    Put16(out, r->height);
    out.push_back(0);
    int minCode = std::max(2, bits);
    out.push_back(static_cast<uint8_t>(minCode));
    std::vector<uint8_t> data = LzwWriter(minCode).Encode(indexes);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(0x3B);
    return out;
}

std::vector<uint8_t> EncodeTiff(const std::vector<const Image*>& pages) {
    std::vector<uint8_t> out = {'I', 'I', 42, 0};
    size_t nextIfdAt = out.size();
    Put32(out, 0);
    for (const Image* page : pages) {
        std::shared_ptr<Raster> r = page->Render(page->Width(), page->Height());
        bool alpha = Translucent(*r);
        uint32_t samples = alpha ? 4 : 3;
        // The strip, then the values that do not fit in a tag, then the directory.
        uint32_t strip = static_cast<uint32_t>(out.size());
        for (uint32_t c : r->pixels) {
            out.push_back((c >> 16) & 0xFF);
            out.push_back((c >> 8) & 0xFF);
            out.push_back(c & 0xFF);
            if (alpha) out.push_back(c >> 24);
        }
        uint32_t stripBytes = static_cast<uint32_t>(out.size()) - strip;
        if (out.size() & 1) out.push_back(0);
        uint32_t bitsAt = static_cast<uint32_t>(out.size());
        for (uint32_t i = 0; i < samples; ++i) Put16(out, 8);
        uint32_t resAt = static_cast<uint32_t>(out.size());
        Put32(out, 96);
        Put32(out, 1);
        struct Tag {
            uint16_t id, type;
            uint32_t count, value;
        };
        std::vector<Tag> tags = {
            {256, 4, 1, static_cast<uint32_t>(r->width)},
            {257, 4, 1, static_cast<uint32_t>(r->height)},
            {258, 3, samples, bitsAt},
            {259, 3, 1, 1},  // no compression
            {262, 3, 1, 2},  // RGB
            {273, 4, 1, strip},
            {277, 3, 1, samples},
            {278, 4, 1, static_cast<uint32_t>(r->height)},
            {279, 4, 1, stripBytes},
            {282, 5, 1, resAt},
            {283, 5, 1, resAt},
            {284, 3, 1, 1},
            {296, 3, 1, 2},  // inches
        };
        if (alpha) tags.push_back({338, 3, 1, 2});  // unassociated alpha
        uint32_t ifd = static_cast<uint32_t>(out.size());
        for (int k = 0; k < 4; ++k) out[nextIfdAt + k] = (ifd >> (8 * k)) & 0xFF;
        Put16(out, static_cast<uint32_t>(tags.size()));
        for (const Tag& t : tags) {
            Put16(out, t.id);
            Put16(out, t.type);
            Put32(out, t.count);
            if (t.type == 3 && t.count == 1) {
                Put16(out, t.value);
                Put16(out, 0);
            } else {
                Put32(out, t.value);
            }
        }
        nextIfdAt = out.size();
        Put32(out, 0);
    }
    return out;
}

Status Encode(const Image& image, const CLSID& encoder, const EncoderParameters* params, std::vector<uint8_t>& out) {
    int quality = 75;
    if (params) {
        const EncoderParameter* p = params->Parameter;
        for (UINT i = 0; i < params->Count; ++i, ++p)
            if (p->Guid == EncoderQuality && p->Value) quality = static_cast<int>(*static_cast<const ULONG*>(p->Value));
    }
    if (encoder == EncoderClsidGIF) {
        out = EncodeGif(image);
        return Ok;
    }
    if (encoder == EncoderClsidTIFF) {
        out = EncodeTiff({&image});
        return Ok;
    }
    std::shared_ptr<Raster> r = image.Render(image.Width(), image.Height());
    if (encoder == EncoderClsidBMP) {
        TBitmap b;
        Fill(b, *r, IsAlphaPixelFormat(image.format));
        out = b.SaveToBytes();
        return Ok;
    }
    if (encoder == EncoderClsidPNG) {
        TPngImage png;
        Fill(png, *r, true);
        out = png.SaveToBytes();
        return Ok;
    }
    if (encoder == EncoderClsidJPEG) {
        TBitmap b;
        Fill(b, *r, false);
        TJPEGImage jpeg;
        jpeg.Assign(&b);
        jpeg.SetCompressionQuality(std::max(1, quality));
        jpeg.Compress();
        out = jpeg.SaveToBytes();
        return Ok;
    }
    return InvalidParameter;
}

}  // namespace gdiplus::detail
