// StretchDIBits: every depth and row order, upright in mapping modes with y upwards, the raster
// operations an icon is drawn with, and the bitmaps it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Printers.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// A 4 x 3 picture, as seen: red top-left, green top-right, blue bottom-left, white elsewhere.
TColor Seen(int x, int y) {
    if (x == 0 && y == 0) return clRed;
    if (x == 3 && y == 0) return clLime;
    if (x == 0 && y == 2) return clBlue;
    return clWhite;
}

const RGBQUAD kTable[] = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
int IndexOf(TColor c) { return c == clRed ? 1 : c == clLime ? 2 : c == clBlue ? 3 : 0; }

// The picture as a DIB of the given depth, bottom-up or top-down.
struct Dib {
    BITMAPINFO info;
    std::vector<uint8_t> bits;
};
Dib Make(int depth, bool topDown, int width = 4, int height = 3, TColor (*seen)(int, int) = Seen) {
    Dib d;
    d.info.bmiHeader.biWidth = width;
    d.info.bmiHeader.biHeight = topDown ? -height : height;
    d.info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    if (depth <= 8) {
        // Four colours are all the picture uses: the header says so, or the depth would need them all.
        d.info.bmiColors.assign(kTable, kTable + 4);
        d.info.bmiHeader.biClrUsed = 4;
    }
    size_t stride = (static_cast<size_t>(width) * depth + 31) / 32 * 4;
    d.bits.assign(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = d.bits.data() + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            TColor c = seen(x, y);
            if (depth >= 24) {
                uint8_t* p = row + x * (depth / 8);
                p[0] = static_cast<uint8_t>(c >> 16);
                p[1] = static_cast<uint8_t>(c >> 8);
                p[2] = static_cast<uint8_t>(c);
            } else {
                int bit = x * depth;
                int index = depth == 1 ? (c == clWhite ? 0 : 1) : IndexOf(c);
                row[bit / 8] |= static_cast<uint8_t>(index << (8 - depth - bit % 8));
            }
        }
    }
    return d;
}

class StretchDibTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtb::EnsureApplication();
        bmp.SetSize(60, 60);
        c = bmp.Canvas();
        dc = c->Handle();
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, 60, 60));
    }
    int Draw(const Dib& d, int x, int y, int w, int h, DWORD rop = SRCCOPY) {
        return StretchDIBits(dc, x, y, w, h, 0, 0, 4, 3, d.bits, &d.info, DIB_RGB_COLORS, rop);
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
    HDC dc = nullptr;
};

TEST_F(StretchDibTest, EveryDepthAndRowOrderDrawsThePictureAsSeen) {
    for (int depth : {4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            Dib d = Make(depth, topDown);
            EXPECT_EQ(Draw(d, 10, 10, 4, 3), 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 4; ++x)
                    EXPECT_EQ(c->Pixels(10 + x, 10 + y), Seen(x, y))
                        << depth << " bits, top-down " << topDown << " at " << x << "," << y;
        }
    // One bit a pixel: the table's first two entries.
    Dib mono = Make(1, false);
    EXPECT_EQ(Draw(mono, 20, 20, 4, 3), 3);
    EXPECT_EQ(c->Pixels(20, 20), clRed);
    EXPECT_EQ(c->Pixels(22, 21), clWhite);
    EXPECT_EQ(c->Pixels(20, 22), clRed);
}

TEST_F(StretchDibTest, AnUpwardsModeKeepsThePictureUpright) {
    SetMapMode(dc, MM_LOMETRIC);
    for (int depth : {24, 32})
        for (bool topDown : {false, true}) {
            Dib d = Make(depth, topDown);
            EXPECT_EQ(Draw(d, 0, 0, 100, -75), 3);
            SetMapMode(dc, MM_TEXT);
            // 1 cm by 7.5 mm: 38 by 28 pixels, each picture pixel about 9.5 by 9.5.
            EXPECT_EQ(c->Pixels(3, 3), clRed) << depth << " " << topDown;
            EXPECT_EQ(c->Pixels(34, 3), clLime) << depth << " " << topDown;
            EXPECT_EQ(c->Pixels(3, 25), clBlue) << depth << " " << topDown;
            EXPECT_EQ(c->Pixels(34, 25), clWhite) << depth << " " << topDown;
            EXPECT_EQ(c->Pixels(3, 30), clWhite) << depth << " " << topDown;
            SetMapMode(dc, MM_LOMETRIC);
        }
    // A rectangle that comes out mirrored on the device mirrors the picture: a negative width runs
    // leftwards from x itself, as StretchBlt's does.
    SetMapMode(dc, MM_TEXT);
    c->FillRect(Rect(0, 0, 60, 60));
    Dib d = Make(24, false);
    EXPECT_EQ(Draw(d, 40, 0, -4, 3), 3);
    EXPECT_EQ(c->Pixels(40, 0), clRed);
    EXPECT_EQ(c->Pixels(37, 0), clLime);
    EXPECT_EQ(c->Pixels(40, 2), clBlue);
    EXPECT_EQ(c->Pixels(36, 0), clWhite);
    EXPECT_EQ(c->Pixels(41, 0), clWhite);
    // In MM_LOMETRIC a rectangle whose right lies left of its left mirrors too; y stays upright.
    c->FillRect(Rect(0, 0, 60, 60));
    SetMapMode(dc, MM_LOMETRIC);
    EXPECT_EQ(Draw(d, 100, 0, -100, -75), 3);
    SetMapMode(dc, MM_TEXT);
    EXPECT_EQ(c->Pixels(34, 3), clRed);
    EXPECT_EQ(c->Pixels(3, 3), clLime);
    EXPECT_EQ(c->Pixels(34, 25), clBlue);
}

TEST_F(StretchDibTest, ASourceOutsideThePictureIsClipped) {
    Dib d = Make(24, true);
    // Columns 2 to 5 of a picture 4 wide: only 2 and 3 exist, into the left half.
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 8, 3, 2, 0, 4, 3, d.bits, &d.info, DIB_RGB_COLORS, SRCCOPY), 3);
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    EXPECT_EQ(c->Pixels(3, 0), clLime);
    EXPECT_EQ(c->Pixels(4, 0), clWhite);  // nothing stretched over the missing columns
    c->Brush()->SetColor(clYellow);
    c->FillRect(Rect(0, 0, 60, 60));
    EXPECT_EQ(c->Pixels(5, 0), clYellow);
    // Bottom-up, the source's y counts from the bottom row: row 0 to 1 is the bottom row alone.
    Dib up = Make(24, false);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 1, 0, 0, 4, 1, up.bits, &up.info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(c->Pixels(0, 0), clBlue);
    EXPECT_EQ(c->Pixels(0, 1), clYellow);
    // Wholly outside: nothing.
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 3, 10, 10, 4, 3, d.bits, &d.info, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST_F(StretchDibTest, BitmapsThatCannotBeReadDrawNothing) {
    c->Brush()->SetColor(clYellow);
    c->FillRect(Rect(0, 0, 60, 60));
    Dib good = Make(8, false);
    auto refused = [&](const char* why, const Dib& d) {
        EXPECT_EQ(Draw(d, 0, 0, 4, 3), 0) << why;
        EXPECT_EQ(c->Pixels(0, 0), clYellow) << why;
    };
    Dib rle = good;
    rle.info.bmiHeader.biCompression = BI_RLE8;
    refused("compressed", rle);
    Dib shortTable = good;
    shortTable.info.bmiColors.resize(3);
    shortTable.info.bmiHeader.biClrUsed = 0;  // all 256 needed
    refused("short colour table", shortTable);
    Dib shortBits = good;
    shortBits.bits.resize(shortBits.bits.size() - 1);
    refused("short bits", shortBits);
    Dib claimed = good;
    claimed.info.bmiHeader.biSizeImage = static_cast<DWORD>(good.bits.size() + 16);
    refused("bits shorter than the header says", claimed);
    Dib odd = good;
    odd.info.bmiHeader.biBitCount = 16;
    refused("16 bits", odd);
    Dib none = good;
    none.bits.clear();
    refused("no bits", none);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 3, 0, 0, 4, 3, good.bits, nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 3, 0, 0, 4, 3, good.bits, &good.info, DIB_PAL_COLORS, SRCCOPY), 0);
    EXPECT_EQ(c->Pixels(0, 0), clYellow);
    // A colour table shortened on purpose by biClrUsed is enough.
    Dib used = good;
    used.info.bmiHeader.biClrUsed = 4;
    EXPECT_EQ(Draw(used, 0, 0, 4, 3), 3);
    EXPECT_EQ(c->Pixels(0, 0), clRed);

    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_EQ(StretchDIBits(stale, 0, 0, 4, 3, 0, 0, 4, 3, good.bits, &good.info, DIB_RGB_COLORS, SRCCOPY),
              static_cast<int>(GDI_ERROR));
}

// An icon 4 x 3: a mask (white where the page shows through) and its colours (black there).
TColor IconMask(int x, int y) { return Seen(x, y) == clWhite ? clWhite : clBlack; }
TColor IconColours(int x, int y) { return Seen(x, y) == clWhite ? clBlack : Seen(x, y); }

void DrawIcon(HDC target) {
    Dib mask = Make(24, false, 4, 3, IconMask), colours = Make(24, false, 4, 3, IconColours);
    StretchDIBits(target, 8, 8, 8, 6, 0, 0, 4, 3, mask.bits, &mask.info, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(target, 8, 8, 8, 6, 0, 0, 4, 3, colours.bits, &colours.info, DIB_RGB_COLORS, SRCINVERT);
}

TEST_F(StretchDibTest, AnIconByMaskAndColoursIsTheSameOnThePdfPageAsOnABitmap) {
    DrawIcon(dc);
    ui::test::AppScope scope;
    auto dir = std::filesystem::temp_directory_path() / ("dib-icon-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TPrinter printer;
    printer.SetPrinterIndex(printer.PdfPrinterIndex());
    printer.SetFileName(String((dir / "icon.pdf").string()));
    printer.BeginDoc();
    TCanvas* page = printer.Canvas();
    DrawIcon(printer.Handle());
    for (int y = 6; y < 16; ++y)
        for (int x = 6; x < 18; ++x) {
            EXPECT_EQ(page->Pixels(x, y), c->Pixels(x, y)) << x << "," << y;
            bool inside = x >= 8 && x < 16 && y >= 8 && y < 14;
            EXPECT_EQ(c->Pixels(x, y), inside ? Seen((x - 8) / 2, (y - 8) / 2) : clWhite) << x << "," << y;
        }
    printer.Abort();
    std::filesystem::remove_all(dir);
}

}  // namespace
