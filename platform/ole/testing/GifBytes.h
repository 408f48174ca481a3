#pragma once
// GIF files made byte by byte: a logical screen with a four-colour table and frames, each with a
// graphic control extension (delay, transparency, disposal) and an image descriptor. The pixel
// data is coded with a clear code before every pixel, so every code keeps its 3 bits.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace ole::test {

struct GifFrame {
    uint16_t left = 0, top = 0, width = 1, height = 1;
    uint16_t delay = 10;  // hundredths of a second
    uint8_t colour = 1;   // index into black, red, green, blue
    bool transparent = false;
    uint8_t disposal = 0;
};

inline void PutWord(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline std::vector<uint8_t> GifFile(uint16_t screenWidth, uint16_t screenHeight, const std::vector<GifFrame>& frames) {
    std::vector<uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(b, screenWidth);
    PutWord(b, screenHeight);
    b.insert(b.end(), {0x81, 0, 0});  // global table of 4 colours, background 0
    b.insert(b.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    for (const GifFrame& f : frames) {
        b.insert(b.end(), {0x21, 0xF9, 0x04});
        b.push_back(static_cast<uint8_t>((f.disposal & 7) << 2 | (f.transparent ? 1 : 0)));
        PutWord(b, f.delay);
        b.push_back(0);  // transparent index
        b.push_back(0);
        b.push_back(0x2C);
        PutWord(b, f.left);
        PutWord(b, f.top);
        PutWord(b, f.width);
        PutWord(b, f.height);
        b.push_back(0);  // no local table
        b.push_back(2);  // minimum code size
        // CLEAR (4), pixel, CLEAR, pixel ... END (5), 3 bits each, least significant first.
        std::vector<uint8_t> data;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](uint32_t c) {
            acc |= c << bits;
            bits += 3;
            while (bits >= 8) {
                data.push_back(static_cast<uint8_t>(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (int i = 0; i < f.width * f.height; ++i) {
            code(4);
            code(f.colour & 3);
        }
        code(5);
        if (bits > 0) data.push_back(static_cast<uint8_t>(acc & 0xFF));
        for (size_t at = 0; at < data.size(); at += 255) {
            size_t n = std::min<size_t>(255, data.size() - at);
            b.push_back(static_cast<uint8_t>(n));
            b.insert(b.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
        }
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

}  // namespace ole::test
