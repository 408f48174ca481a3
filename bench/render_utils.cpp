// The cell utilities on a grid's scale: filter expressions, number classification and date
// parsing over 1,000,000 texts, a pattern with many stars against a long value, and the two
// gradients over a full-HD bitmap.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "render/VarAvir.h"

namespace {

constexpr int kTexts = 1000000;

// A column of 1,000,000 cell values, the i-th made by text(i).
template <class Make>
std::vector<String> Column(Make text) {
    std::vector<String> t;
    t.reserve(kTexts);
    for (int i = 0; i < kTexts; ++i) t.push_back(text(i));
    return t;
}

// Numbers 0 to 14 with one or two decimals.
const std::vector<String>& Numbers() {
    static const auto texts = Column([](int i) { return IntToStr(i % 15) + u"." + IntToStr(i % 97); });
    return texts;
}

// Eight-letter words of a, b and c.
const std::vector<String>& Words() {
    static const auto texts = Column([](int i) {
        String s;
        for (int n = i; s.size() < 8; n = n / 3 + 7) s.push_back(static_cast<char16_t>(u'a' + n % 3));
        return s;
    });
    return texts;
}

// Month-first dates with two-digit years.
const std::vector<String>& Dates() {
    static const auto texts =
        Column([](int i) { return IntToStr(1 + i % 12) + u"/" + IntToStr(1 + i % 28) + u"/" + IntToStr(i % 100); });
    return texts;
}

// fn over every text of a column, once an iteration.
template <class Fn>
void EachText(benchmark::State& state, const std::vector<String>& texts, Fn fn) {
    for (auto _ : state) {
        double sum = 0;
        for (const String& v : texts) sum += fn(v);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}

void BM_FilterRange(benchmark::State& state) {
    EachText(state, Numbers(), [](const String& v) { return MatchFilterExpression(u">=5&<=8", v, false); });
}

void BM_FilterPattern(benchmark::State& state) {
    EachText(state, Words(), [](const String& v) { return MatchFilterExpression(u"a*b*c", v, false); });
}

void BM_FilterManyStars(benchmark::State& state) {
    const String as(1000, u'a');
    for (auto _ : state) benchmark::DoNotOptimize(MatchFilterExpression(u"*a*a*a*a*a*b", as, false));
}

void BM_ClassifyNumberText(benchmark::State& state) { EachText(state, Numbers(), ClassifyNumberText); }
void BM_ParseDateMDY(benchmark::State& state) { EachText(state, Dates(), ParseDateMDY); }

struct FullHd {
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TBitmap bitmap{1920, 1080};
};

void BM_DrawStepGradient(benchmark::State& state) {
    FullHd hd;
    for (auto _ : state) DrawStepGradient(hd.bitmap.Canvas(), 0xF0D0B0, 0x603010, 128, TRect(0, 0, 1920, 1080), state.range(0) != 0);
}

void BM_DrawMirrorGradient(benchmark::State& state) {
    FullHd hd;
    for (auto _ : state)
        DrawMirrorGradient(hd.bitmap.Canvas(), TRect(0, 0, 1920, 1080), 0xFCE8D8, 0xF0C8A0, 0xE8B080, 0xF8E0C0, true,
                           0x905020, false, true);
}

}  // namespace

BENCHMARK(BM_FilterRange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterPattern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterManyStars)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClassifyNumberText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDateMDY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawStepGradient)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMirrorGradient)->Unit(benchmark::kMillisecond);
