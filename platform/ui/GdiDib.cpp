// Device-independent bitmaps: StretchDIBits reads the rows of a BI_RGB bitmap into a bitmap of the
// layer and hands it to the canvas's stretched transfer, so the mapping mode, the clip and every
// raster operation apply as to StretchBlt.
#include <algorithm>
#include <cstdint>

#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"

namespace {

// The bytes of one row: bits per pixel times width, padded to four bytes.
int64_t RowBytes(int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

struct DibLayout {
    int width = 0;
    int height = 0;  // rows, positive
    bool topDown = false;
    int bits = 0;
    int64_t stride = 0;
    size_t colours = 0;  // entries of the colour table the depth indexes
};

// The layout of a header that can be read, or false.
bool Layout(const BITMAPINFO& info, size_t available, DibLayout& out) {
    const BITMAPINFOHEADER& h = info.bmiHeader;
    if (h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
    if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32)
        return false;
    out.width = h.biWidth;
    out.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    out.topDown = h.biHeight < 0;
    out.bits = h.biBitCount;
    out.stride = RowBytes(out.width, out.bits);
    if (out.bits <= 8) {
        size_t full = size_t{1} << out.bits;
        out.colours = h.biClrUsed == 0 ? full : std::min<size_t>(h.biClrUsed, full);
        if (info.bmiColors.size() < out.colours) return false;
    }
    // The header's size of the pixels, when given, must be there too, and at least hold the rows.
    uint64_t need = static_cast<uint64_t>(out.stride) * static_cast<uint64_t>(out.height);
    if (h.biSizeImage != 0 && h.biSizeImage < need) return false;
    return available >= std::max<uint64_t>(need, h.biSizeImage);
}

// The colour of pixel x of a row, as a 24-bit B, G, R triple.
void PixelOf(const DibLayout& l, const BITMAPINFO& info, const uint8_t* row, int x, uint8_t* bgr) {
    if (l.bits >= 24) {
        const uint8_t* p = row + static_cast<size_t>(x) * (l.bits / 8);
        bgr[0] = p[0];
        bgr[1] = p[1];
        bgr[2] = p[2];
        return;
    }
    size_t bit = static_cast<size_t>(x) * l.bits;
    unsigned index = (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
    // An index past a shortened colour table takes its first entry.
    const RGBQUAD& q = info.bmiColors[index < l.colours ? index : 0];
    bgr[0] = q.rgbBlue;
    bgr[1] = q.rgbGreen;
    bgr[2] = q.rgbRed;
}

}  // namespace

int StretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                  std::span<const uint8_t> bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return static_cast<int>(GDI_ERROR);
    DibLayout l;
    if (!info || bits.data() == nullptr || usage != DIB_RGB_COLORS || !Layout(*info, bits.size(), l)) return 0;
    if (width == 0 || height == 0 || sw == 0 || sh == 0) return 0;

    // A mirrored source is a mirrored destination over the plain source.
    int64_t dx = x, dy = y, dw = width, dh = height, x0 = sx, y0 = sy, w = sw, h = sh;
    if (w < 0) { x0 += w; w = -w; dx += dw; dw = -dw; }
    if (h < 0) { y0 += h; h = -h; dy += dh; dh = -dh; }
    // Source rows counted from the top of the picture: a bottom-up bitmap counts from its bottom.
    if (!l.topDown) y0 = l.height - (y0 + h);
    // Clipped to the bitmap, the destination shrinking in proportion.
    int64_t cx0 = std::max<int64_t>(x0, 0), cy0 = std::max<int64_t>(y0, 0);
    int64_t cx1 = std::min<int64_t>(x0 + w, l.width), cy1 = std::min<int64_t>(y0 + h, l.height);
    if (cx1 <= cx0 || cy1 <= cy0) return 0;
    auto part = [](int64_t from, int64_t size, int64_t at, int64_t whole) { return from + size * at / whole; };
    int64_t nx = part(dx, dw, cx0 - x0, w), nx1 = part(dx, dw, cx1 - x0, w);
    int64_t ny = part(dy, dh, cy0 - y0, h), ny1 = part(dy, dh, cy1 - y0, h);

    int cw = static_cast<int>(cx1 - cx0), ch = static_cast<int>(cy1 - cy0);
    TBitmap picture(cw, ch, pf24bit);
    for (int r = 0; r < ch; ++r) {
        int64_t top = cy0 + r;  // from the top of the picture
        int64_t stored = l.topDown ? top : l.height - 1 - top;
        const uint8_t* row = bits.data() + stored * l.stride;
        auto* out = static_cast<uint8_t*>(picture.ScanLine(r));
        for (int k = 0; k < cw; ++k) PixelOf(l, *info, row, static_cast<int>(cx0) + k, out + 3 * k);
    }
    c->StretchBltImpl(ui::HeldCoord(nx), ui::HeldCoord(ny), ui::HeldCoord(nx1 - nx), ui::HeldCoord(ny1 - ny),
                      picture.Canvas(), 0, 0, cw, ch, rop);
    return ch;
}
