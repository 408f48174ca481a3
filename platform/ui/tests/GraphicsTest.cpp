// Colours, graphics objects, bitmaps and their files, icons and the picture container.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

namespace {

// Tests run in parallel processes: the pid keeps their files apart.
String TempFile(const char* name) {
    return String(::testing::TempDir() + std::to_string(getpid()) + "_") + name;
}

std::vector<uint8_t> ReadFile(const String& name) {
    std::ifstream in(name.ToUtf8(), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(Colors, SystemColoursResolveToTheClassicScheme) {
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<int32_t>(RGB(212, 208, 200)));
    EXPECT_EQ(ColorToRGB(clBtnShadow), static_cast<int32_t>(RGB(128, 128, 128)));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clNone), clNone);  // only system colours are resolved
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x02123456)), 0x02123456);
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF00000F));
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
    EXPECT_EQ(GetSysColor(99), 0u);
}

TEST(Colors, NamesRoundTrip) {
    EXPECT_EQ(ColorToString(clRed), String("clRed"));
    EXPECT_EQ(ColorToString(clBtnFace), String("clBtnFace"));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0x00123456)), String("$00123456"));
    EXPECT_EQ(StringToColor("clRed"), clRed);
    EXPECT_EQ(StringToColor("CLSKYBLUE"), clSkyBlue);
    EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    EXPECT_THROW(StringToColor("$"), EConvertError);
}

TEST(Colors, WebNamesOrHtmlHex) {
    const struct {
        TColor color;
        const char* name;
    } cases[] = {
        {0x0000FF, "clWebRed"},       {0xFAFAFF, "clWebSnow"},  {0x006400, "clWebDarkgreen"},
        {0xD3D3D3, "clWebLightgrey"}, {0x000000, "clWebBlack"}, {0xFFFFFF, "clWebWhite"},
        {clBtnFace, "#D4D0C8"},       {0x123456, "#563412"},
        // Outside 0..$FFFFFF no web colour matches, though the low bytes would.
        {clNone, "#FFFFFF"},          {clDefault, "#000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(ColorToWebColorName(c.color), String(c.name)) << std::hex << c.color;
}

TEST(GraphicsObjects, FontSizeAndHeightAndChangeEvents) {
    TFont f;
    EXPECT_EQ(f.Name(), String("MS Sans Serif"));
    EXPECT_EQ(f.Size(), 8);
    int changes = 0;
    f.OnChange = [&](TPersistent* s) { EXPECT_EQ(s, &f); ++changes; };
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetSize(10);  // unchanged: no event
    f.SetStyle(TFontStyles() << fsBold << fsItalic);
    EXPECT_TRUE(f.Style().Contains(fsBold));
    EXPECT_FALSE(f.Style().Contains(fsUnderline));
    EXPECT_EQ(changes, 2);
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Height(), -13);
    EXPECT_TRUE(g.Style().Contains(fsItalic));
    TPen pen;
    EXPECT_THROW(g.Assign(&pen), EConvertError);
}

TEST(GraphicsObjects, FontNamesMapToInstalledFamilies) {
    struct Case { const char* name; const char* family; };
    const Case cases[] = {
        {"Arial", "Liberation Sans"}, {"MS Sans Serif", "Liberation Sans"}, {"System", "Liberation Sans"},
        {"Courier New", "Liberation Mono"}, {"Terminal", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"}, {"Tahoma", "DejaVu Sans"}, {"Segoe UI", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"}, {"ＭＳ ゴシック", "Noto Sans Mono CJK JP"}, {"MS Gothic", "Noto Sans Mono CJK JP"},
        {"ＭＳ Ｐゴシック", "Noto Sans CJK JP"}, {"MS UI Gothic", "Noto Sans CJK JP"}, {"@MS UI Gothic", "Noto Sans CJK JP"},
        {"Comic Sans MS", "Liberation Sans"}, {"Century Gothic", "Liberation Sans"}, {"Century", "Liberation Serif"},
    };
    for (const Case& k : cases) {
        auto f = TFont::SubstituteFamilies(k.name);
        ASSERT_FALSE(f.empty());
        EXPECT_EQ(f.front(), String(k.family)) << k.name;
        EXPECT_EQ(f[f.size() - 2], String("Noto Sans CJK JP")) << k.name;  // Japanese fallback always there
    }
    EXPECT_EQ(TFont::SubstituteFamilies("DejaVu Serif").front(), String("DejaVu Serif"));
}

TEST(GraphicsObjects, MappedFontsKeepTheirNameAndDrawWithTheirFamily) {
    // Each mapped name measures as its stand-in family does, and reads back as it was given.
    const struct {
        const char* name;
        const char* family;
    } cases[] = {{"Comic Sans MS", "Liberation Sans"}, {"Century Gothic", "Liberation Sans"}, {"Century", "Liberation Serif"}};
    TBitmap b(10, 10);
    const String text("Analogue clock 12:45");
    for (const auto& c : cases) {
        b.Canvas()->Font()->SetName(c.name);
        b.Canvas()->Font()->SetSize(14);
        EXPECT_EQ(b.Canvas()->Font()->Name(), String(c.name));
        int mapped = b.Canvas()->TextWidth(text);
        b.Canvas()->Font()->SetName(c.family);
        EXPECT_EQ(mapped, b.Canvas()->TextWidth(text)) << c.name;
    }
    b.Canvas()->Font()->SetName("Liberation Sans");
    int sans = b.Canvas()->TextWidth(text);
    b.Canvas()->Font()->SetName("Liberation Serif");
    EXPECT_NE(sans, b.Canvas()->TextWidth(text));  // the two families do tell apart
}

TEST(GraphicsObjects, BrushColourMakesAClearBrushSolid) {
    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
    TPen p;
    p.SetWidth(-3);
    EXPECT_EQ(p.Width(), 0);
}

struct FormatCase {
    TPixelFormat format;
    int fileBits;
    TPixelFormat loaded;
};

class BmpFiles : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BmpFiles, SaveToFileLoadsBackIdentical) {
    qtb::EnsureApplication();
    const FormatCase& k = GetParam();
    TBitmap b(13, 7, k.format);  // odd width: rows need padding
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clBlack);
    c->MoveTo(0, 0);
    c->LineTo(13, 7);
    c->SetPixels(12, 0, k.format == pf1bit ? clBlack : clRed);
    c->SetPixels(0, 6, k.format == pf1bit ? clWhite : clBlue);
    // The drawing itself must survive the bitmap's format before the file is tested.
    EXPECT_EQ(c->Pixels(0, 0), clBlack);
    EXPECT_EQ(c->Pixels(12, 0), k.format == pf1bit ? clBlack : clRed);
    EXPECT_EQ(c->Pixels(0, 6), k.format == pf1bit ? clWhite : clBlue);
    EXPECT_EQ(c->Pixels(5, 0), clWhite);
    String name = TempFile("roundtrip.bmp");
    b.SaveToFile(name);
    std::vector<uint8_t> file = ReadFile(name);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(gfx::Get32(file.data() + 2), file.size());
    EXPECT_EQ(gfx::Get32(file.data() + 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(gfx::Get32(file.data() + 22)), 7);  // positive: bottom-up
    EXPECT_EQ(gfx::Get16(file.data() + 28), k.fileBits);
    size_t stride = ((13 * k.fileBits + 31) / 32) * 4;
    EXPECT_EQ(file.size(), gfx::Get32(file.data() + 10) + stride * 7);

    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.Width(), 13);
    EXPECT_EQ(back.Height(), 7);
    EXPECT_EQ(back.PixelFormat(), k.loaded);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(back.Canvas()->Pixels(x, y), c->Pixels(x, y)) << x << "," << y;
    std::remove(name.ToUtf8().c_str());
}

// Each format is saved once: a case reads as the format it saves.
void PrintTo(const FormatCase& c, std::ostream* os) {
    static const char* const names[] = {"pfDevice", "pf1bit",  "pf4bit",  "pf8bit",  "pf15bit",
                                        "pf16bit",  "pf24bit", "pf32bit", "pfCustom"};
    *os << names[c.format];
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpFiles,
                         ::testing::Values(FormatCase{pf1bit, 1, pf1bit}, FormatCase{pf8bit, 8, pf8bit},
                                           FormatCase{pf24bit, 24, pf24bit}, FormatCase{pf32bit, 32, pf32bit},
                                           FormatCase{pfDevice, 24, pf24bit}),
                         rtl_test::PrintedName());

TEST(Bitmaps, ScanLineIsInTheBitmapsFormat) {
    TBitmap b(3, 2, pf24bit);
    auto* row = static_cast<uint8_t*>(b.ScanLine(1));
    row[0] = 0x11;  // blue
    row[1] = 0x22;  // green
    row[2] = 0x33;  // red
    EXPECT_EQ(b.Canvas()->Pixels(0, 1), static_cast<TColor>(0x112233));
    EXPECT_EQ(b.BytesPerScanLine(), 9);
    b.Canvas()->SetPixels(2, 0, static_cast<TColor>(0x445566));
    auto* top = static_cast<uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(top[6], 0x44);
    EXPECT_EQ(top[8], 0x66);
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);

    // Four bits: two pixels a byte, taken back into the picture when it is drawn on or read.
    TBitmap f(3, 2, pf4bit);
    EXPECT_EQ(f.BytesPerScanLine(), 2);
    auto* nib = static_cast<uint8_t*>(f.ScanLine(0));
    nib[0] = 0x9C;  // pixel 0: colour 9 (red), pixel 1: colour 12 (blue)
    nib[1] = 0xA0;  // pixel 2: colour 10 (lime)
    EXPECT_EQ(f.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(f.Canvas()->Pixels(1, 0), clBlue);
    EXPECT_EQ(f.Canvas()->Pixels(2, 0), clLime);
    f.Canvas()->SetPixels(0, 1, clYellow);
    EXPECT_EQ(static_cast<uint8_t*>(f.ScanLine(1))[0] >> 4, 11);
    EXPECT_EQ(static_cast<uint8_t*>(f.ScanLine(0))[0], 0x9C);
    TBitmap f2;
    f2.LoadFromBytes(f.SaveToBytes());
    EXPECT_EQ(f2.Canvas()->Pixels(1, 0), clBlue);
    EXPECT_EQ(f2.Canvas()->Pixels(0, 1), clYellow);

    TBitmap m(10, 1);
    m.SetMonochrome(true);
    EXPECT_EQ(m.PixelFormat(), pf1bit);
    m.Canvas()->SetPixels(0, 0, clBlack);
    auto* bits = static_cast<uint8_t*>(m.ScanLine(0));
    EXPECT_EQ(bits[0] & 0x80, 0);  // first pixel in the high bit, 0 is black
    EXPECT_EQ(bits[0] & 0x40, 0x40);
}

TEST(Bitmaps, MonochromeKeepsBlackAndWhiteThroughDrawingAndFiles) {
    TBitmap m(16, 4);
    m.SetMonochrome(true);
    TCanvas* c = m.Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 8, 4));
    c->Brush()->SetColor(clSilver);  // light: becomes white
    c->FillRect(Rect(8, 0, 16, 2));
    EXPECT_EQ(c->Pixels(3, 3), clBlack);
    EXPECT_EQ(c->Pixels(9, 1), clWhite);
    EXPECT_TRUE(m.Monochrome());
    auto bytes = m.SaveToBytes();
    TBitmap back;
    back.LoadFromBytes(bytes);
    EXPECT_TRUE(back.Monochrome());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(back.Canvas()->Pixels(x, y), c->Pixels(x, y));
}

TEST(Bitmaps, SetSizeKeepsContentAndNewPixelsAreWhite) {
    TBitmap b(2, 2);
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetSize(4, 3);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(3, 2), clWhite);
    b.SetWidth(0);
    EXPECT_TRUE(b.Empty());
    // A side of 0 holds no pixels but keeps the other side: width, then height, makes the size.
    EXPECT_EQ(b.Height(), 3);
    TBitmap made;
    made.SetWidth(16);
    EXPECT_EQ(made.Width(), 16);
    EXPECT_TRUE(made.Empty());
    made.SetHeight(12);
    EXPECT_EQ(made.Width(), 16);
    EXPECT_EQ(made.Height(), 12);
    EXPECT_EQ(made.Canvas()->Pixels(15, 11), clWhite);
}

TEST(Bitmaps, TransparentColourModes) {
    TBitmap b(3, 3);
    b.Canvas()->SetPixels(0, 2, clLime);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), clLime);
    b.SetTransparentColor(clRed);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    EXPECT_EQ(b.TransparentColor(), clRed);
    b.SetTransparentMode(tmAuto);
    EXPECT_EQ(b.TransparentColor(), clLime);
}

TEST(Bitmaps, BadFilesAreRefused) {
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(TempFile("does-not-exist.bmp")), EFOpenError);
    EXPECT_THROW(b.LoadFromBytes({'B', 'M', 1, 2, 3}), EInvalidGraphic);
    // A header that promises more pixels than the file holds.
    TBitmap ok(4, 4, pf24bit);
    auto bytes = ok.SaveToBytes();
    bytes.resize(bytes.size() - 10);
    EXPECT_THROW(b.LoadFromBytes(bytes), EInvalidGraphic);
    auto huge = ok.SaveToBytes();
    huge[18] = 0xFF;
    huge[19] = 0xFF;
    huge[20] = 0xFF;
    huge[21] = 0x7F;
    EXPECT_THROW(b.LoadFromBytes(huge), EInvalidGraphic);
}

// Files of a header alone, whose fields are forged: each must be refused without reading past the
// data or overflowing.
TEST(Bitmaps, ForgedHeaderFieldsAreRefused) {
    struct Case {
        const char* what;
        uint32_t headerSize;
        int32_t height;
        uint16_t bits;
        uint32_t compression;
    };
    const Case cases[] = {
        {"bit-field masks beyond a 44-byte header", 44, 1, 16, 3},
        {"height with no positive counterpart", 40, INT32_MIN, 24, 0},
        {"unsupported bit count", 40, 1, 2, 0},
    };
    for (const Case& k : cases) {
        std::vector<uint8_t> v = {'B', 'M'};
        gfx::Put32(v, 14 + k.headerSize);
        gfx::Put32(v, 0);
        gfx::Put32(v, 14 + k.headerSize);
        gfx::Put32(v, k.headerSize);
        gfx::Put32(v, 1);
        gfx::Put32(v, static_cast<uint32_t>(k.height));
        gfx::Put16(v, 1);
        gfx::Put16(v, k.bits);
        gfx::Put32(v, k.compression);
        v.resize(14 + k.headerSize, 0);
        // The pixels of the small cases fit inside the forged size, so an accepting decoder reads them.
        if (k.bits == 2) v.insert(v.end(), {0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        TBitmap b;
        EXPECT_THROW(b.LoadFromBytes(v), EInvalidGraphic) << k.what;
    }
}

TEST(Bitmaps, ResourcesByNameWithOrWithoutFileHeader) {
    TBitmap src(2, 2, pf24bit);
    src.Canvas()->SetPixels(1, 0, clBlue);
    auto file = src.SaveToBytes();
    RegisterResource("GLYPH_FILE", file.data(), file.size());
    std::vector<uint8_t> dib(file.begin() + 14, file.end());
    RegisterResource("GLYPH_DIB", dib.data(), dib.size());
    for (const char* name : {"glyph_file", "GLYPH_DIB"}) {
        TBitmap b;
        b.LoadFromResourceName(0, name);
        EXPECT_EQ(b.Width(), 2) << name;
        EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue) << name;
    }
    TBitmap b;
    EXPECT_THROW(b.LoadFromResourceName(0, "NOPE"), EResNotFound);
}

TEST(Icons, SaveAndLoadKeepPixelsAndTransparency) {
    TIcon icon;
    TBitmap* b = icon.Bitmap();
    b->SetSize(16, 16);
    for (int y = 0; y < 16; ++y) {
        auto* row = static_cast<uint8_t*>(b->ScanLine(y));
        for (int x = 0; x < 16; ++x) {
            bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            row[4 * x] = 0;
            row[4 * x + 1] = 0;
            row[4 * x + 2] = 0xFF;
            row[4 * x + 3] = inside ? 0xFF : 0;
        }
    }
    String name = TempFile("test.ico");
    icon.SaveToFile(name);
    TPicture pic;
    pic.LoadFromFile(name);
    ASSERT_NE(dynamic_cast<TIcon*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 16);
    TBitmap target(20, 20);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 20, 20));
    target.Canvas()->Draw(0, 0, pic.Graphic());
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clBlue);  // transparent part
    std::remove(name.ToUtf8().c_str());
}

TEST(Pictures, LoadChoosesTheClassByExtension) {
    TBitmap src(8, 6, pf24bit);
    src.Canvas()->Brush()->SetColor(clTeal);
    src.Canvas()->FillRect(Rect(0, 0, 8, 6));
    String bmpName = TempFile("pic.bmp");
    src.SaveToFile(bmpName);
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TPersistent*) { ++changes; };
    pic.LoadFromFile(bmpName);
    EXPECT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 8);
    EXPECT_GE(changes, 1);

    TJPEGImage jpeg;
    jpeg.Assign(&src);
    String jpgName = TempFile("pic.JPG");
    jpeg.SaveToFile(jpgName);
    pic.LoadFromFile(jpgName);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Height(), 6);
    // Bitmap() of a picture that holds a JPEG replaces it with an empty bitmap.
    TBitmap* b = pic.Bitmap();
    EXPECT_TRUE(b->Empty());

    String pngName = TempFile("pic.png");
    ASSERT_TRUE(qtb::SaveBitmapAsPng(src, pngName));
    pic.LoadFromFile(pngName);
    ASSERT_NE(pic.Graphic(), nullptr);
    TBitmap check;
    check.Assign(pic.Graphic());
    EXPECT_EQ(check.Canvas()->Pixels(3, 3), clTeal);

    EXPECT_THROW(pic.LoadFromFile(TempFile("pic.xyz")), EInvalidGraphic);
    for (const String& n : {bmpName, jpgName, pngName}) std::remove(n.ToUtf8().c_str());
}

TEST(Pictures, AssignCopiesTheGraphic) {
    TBitmap src(3, 3);
    src.Canvas()->SetPixels(1, 1, clRed);
    TPicture a, b;
    a.SetGraphic(&src);
    src.Canvas()->SetPixels(1, 1, clBlue);  // the picture holds its own copy
    b.Assign(&a);
    TBitmap out;
    out.Assign(&b);
    EXPECT_EQ(out.Canvas()->Pixels(1, 1), clRed);
    b.Assign(nullptr);
    EXPECT_EQ(b.Graphic(), nullptr);
}

}  // namespace
