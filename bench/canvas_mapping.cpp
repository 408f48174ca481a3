// Laying out and drawing a printed page on a 600-dpi A4 canvas: 1,000 lines of text (each
// measured, then drawn) and 1,000 framed rectangles, in MM_LOMETRIC against the same page in
// MM_TEXT with the coordinates worked out by the caller. The difference is what mapping costs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"

namespace {

constexpr int kDpi = 600, kPageW = 4961, kPageH = 7016;  // A4 at 600 dpi
constexpr int kLines = 1000, kColumns = 10, kPerColumn = kLines / kColumns;

std::vector<String> Texts() {
    std::vector<String> t;
    for (int i = 0; i < kLines; ++i) t.emplace_back("Reading " + std::to_string(i) + ": -" + std::to_string(40 + i % 60) + ".5 dBm");
    return t;
}

struct Page {
    TBitmap bmp{kPageW, kPageH};
    TCanvas* c = bmp.Canvas();
    std::vector<String> texts = Texts();
    Page() {
        qtb::EnsureApplication();
        c->SetPixelsPerInch(kDpi, kDpi);
        c->Font()->SetName("Arial");
        c->Brush()->SetStyle(bsClear);
        SetBkMode(c->Handle(), TRANSPARENT);
        c->Lock();
    }
    ~Page() { c->Unlock(); }
};

// One page in units of the given size per 0.1 mm: 0.1 mm itself in MM_LOMETRIC (y negative
// downwards), pixels in MM_TEXT.
template <class Unit>
int64_t DrawPage(Page& p, Unit unit, int lineHeight) {
    int64_t widths = 0;
    for (int i = 0; i < kLines; ++i) {
        int col = i / kPerColumn, row = i % kPerColumn;
        int x = unit(100 + col * 195, true), y = unit(-(100 + row * 27), false);
        widths += p.c->TextWidth(p.texts[static_cast<size_t>(i)]);
        p.c->TextOut(x, y, p.texts[static_cast<size_t>(i)]);
        p.c->Rectangle(x, y, x + unit(180, true), y + lineHeight);
    }
    return widths;
}

void BM_PageLometric(benchmark::State& state) {
    Page p;
    SetMapMode(p.c->Handle(), MM_LOMETRIC);
    p.c->Font()->SetHeight(-25);  // 2.5 mm
    for (auto _ : state) benchmark::DoNotOptimize(DrawPage(p, [](int v, bool) { return v; }, -25));
    state.SetItemsProcessed(state.iterations() * kLines * 2);
}
BENCHMARK(BM_PageLometric)->Unit(benchmark::kMillisecond);

void BM_PageText(benchmark::State& state) {
    Page p;
    p.c->Font()->SetHeight(-59);  // 2.5 mm at 600 dpi
    // The caller's own conversion of 0.1 mm to pixels, y downwards.
    auto px = [](int v, bool x) { return (x ? v : -v) * kDpi / 254; };
    for (auto _ : state) benchmark::DoNotOptimize(DrawPage(p, px, 59));
    state.SetItemsProcessed(state.iterations() * kLines * 2);
}
BENCHMARK(BM_PageText)->Unit(benchmark::kMillisecond);

}  // namespace
