// The GDI+ picture and the text helpers of the GDI+ graphics: drawing a 1024 x 1024 PNG and JPEG
// into a 256 x 256 rectangle (every draw decodes anew), and DrawText and TextWidth of 1,000
// characters.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "render/AdvGDIP.h"
#include "render/GDIPicture.h"

namespace {

constexpr int kSide = 1024;

// A photo-like 1024 x 1024 picture: smooth gradients with fine detail, so that neither codec
// finds it trivial.
void Fill(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        auto* row = static_cast<uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < kSide; ++x) {
            row[3 * x] = static_cast<uint8_t>(x / 4 + ((x * y) >> 9 & 15));
            row[3 * x + 1] = static_cast<uint8_t>(y / 4 + ((x ^ y) & 7));
            row[3 * x + 2] = static_cast<uint8_t>((x + y) / 8 + ((x * 7 + y * 13) & 31));
        }
    }
    b.PixelsChanged();
}

std::vector<uint8_t> PngFile() {
    TPngImage png;
    Fill(png);
    return png.SaveToBytes();
}

std::vector<uint8_t> JpegFile() {
    TBitmap bmp;
    Fill(bmp);
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    return jpeg.SaveToBytes();
}

void DrawPicture(benchmark::State& state, const std::vector<uint8_t>& file) {
    TGDIPPicture picture;
    picture.LoadFromBytes(file);
    if (picture.Width() != kSide) state.SkipWithError("the picture did not decode");
    TBitmap target(256, 256, pf32bit);
    for (auto _ : state) target.Canvas()->StretchDraw(TRect(0, 0, 256, 256), &picture);
    state.counters["file KiB"] = static_cast<double>(file.size()) / 1024;
}

void DrawPng1024(benchmark::State& state) { DrawPicture(state, PngFile()); }
BENCHMARK(DrawPng1024)->Unit(benchmark::kMillisecond);

void DrawJpeg1024(benchmark::State& state) { DrawPicture(state, JpegFile()); }
BENCHMARK(DrawJpeg1024)->Unit(benchmark::kMillisecond);

String Characters(int n) {
    const char16_t* words[] = {u"signal ", u"level ", u"channel ", u"429 ", u"MHz ", u"modem "};
    String text;
    for (int i = 0; text.Length() < n; ++i) text += words[i % 6];
    text.resize(static_cast<size_t>(n));
    return text;
}

struct TextSession {
    TBitmap surface{1920, 1080, pf32bit};
    TGPGraphics graphics{surface.Canvas()->Handle()};
    TFont font;
    String text = Characters(1000);
    TextSession() {
        font.SetName("Arial");
        font.SetSize(10);
        graphics.SetTextRenderingHint(gdiplus::TextRenderingHintAntiAlias);
    }
};

void DrawText1000Chars(benchmark::State& state) {
    TextSession s;
    for (auto _ : state) {
        TRect r(0, 10, 1920, 40);
        benchmark::DoNotOptimize(s.graphics.DrawText(s.text, s.text.Length(), r, &s.font, 0, clNone));
    }
}
BENCHMARK(DrawText1000Chars)->Unit(benchmark::kMillisecond);

void TextWidth1000Chars(benchmark::State& state) {
    TextSession s;
    for (auto _ : state) benchmark::DoNotOptimize(s.graphics.TextWidth(s.text, &s.font));
}
BENCHMARK(TextWidth1000Chars)->Unit(benchmark::kMillisecond);

}  // namespace
