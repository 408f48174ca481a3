// GDI+ on a 1920 x 1080 bitmap: filling an anti-aliased path of 10,000 points, and measuring and
// drawing 1,000 characters.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlus.h"

using namespace gdiplus;

namespace {

constexpr int kW = 1920, kH = 1080;

struct Session {
    ULONG_PTR token = 0;
    GpBitmap* bitmap = nullptr;
    GpGraphics* graphics = nullptr;
    Session() {
        GdiplusStartupInput input;
        input.SuppressBackgroundThread = 1;
        GdiplusStartupOutput output;
        GdiplusStartup(&token, &input, &output);
        GdipCreateBitmapFromScan0(kW, kH, 0, PixelFormat32bppARGB, nullptr, &bitmap);
        GdipGetImageGraphicsContext(bitmap, &graphics);
        GdipGraphicsClear(graphics, 0xFFFFFFFF);
        GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
    }
    ~Session() { GdiplusShutdown(token); }
};

// A closed wavy ring of 10,000 points over the whole bitmap.
void FillPath10k(benchmark::State& state) {
    Session s;
    std::vector<GpPointF> points;
    for (int i = 0; i < 10000; ++i) {
        double a = 2 * M_PI * i / 10000, r = 400 + 100 * std::sin(a * 60);
        points.push_back({static_cast<REAL>(kW / 2 + r * std::cos(a) * 2), static_cast<REAL>(kH / 2 + r * std::sin(a))});
    }
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    GdipAddPathPolygon(path, points.data(), static_cast<INT>(points.size()));
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(0xC02060A0, &brush);
    for (auto _ : state) {
        if (GdipFillPath(s.graphics, brush, path) != Ok) state.SkipWithError("FillPath failed");
    }
}
BENCHMARK(FillPath10k)->Unit(benchmark::kMillisecond);

std::u16string Characters(int n) {
    std::u16string text;
    const std::u16string words[] = {u"signal ", u"level ", u"channel ", u"429 ", u"MHz ", u"modem "};
    for (int i = 0; text.size() < static_cast<size_t>(n); ++i) text += words[i % 6];
    text.resize(n);
    return text;
}

struct TextSession : Session {
    GpFontFamily* family = nullptr;
    GpFont* font = nullptr;
    GpSolidFill* brush = nullptr;
    std::u16string text = Characters(1000);
    GpRectF layout{10, 10, kW - 20, kH - 20};
    TextSession() {
        GdipCreateFontFamilyFromName(u"Arial", nullptr, &family);
        GdipCreateFont(family, 10, FontStyleRegular, UnitPoint, &font);
        GdipCreateSolidFill(0xFF000000, &brush);
    }
};

void Measure1000Chars(benchmark::State& state) {
    TextSession s;
    for (auto _ : state) {
        GpRectF box;
        INT fitted = 0, lines = 0;
        if (GdipMeasureString(s.graphics, s.text.c_str(), -1, s.font, &s.layout, nullptr, &box, &fitted, &lines) != Ok)
            state.SkipWithError("MeasureString failed");
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(Measure1000Chars)->Unit(benchmark::kMillisecond);

void Draw1000Chars(benchmark::State& state) {
    TextSession s;
    GdipSetTextRenderingHint(s.graphics, TextRenderingHintAntiAlias);
    for (auto _ : state) {
        if (GdipDrawString(s.graphics, s.text.c_str(), -1, s.font, &s.layout, nullptr, s.brush) != Ok)
            state.SkipWithError("DrawString failed");
    }
}
BENCHMARK(Draw1000Chars)->Unit(benchmark::kMillisecond);

}  // namespace
