// A string grid of 1,000,000 rows by 10 columns on an 800 x 600 form: filling every cell,
// painting the visible part, scrolling through it line by line and by thumb, and the memory a
// filled cell takes (counted as the heap in use before and after the fill).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Grids.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kCols = 10;

struct BigGrid {
    // No window shows on a desktop either.
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TForm* form = new TForm(nullptr);
    TStringGrid* grid = new TStringGrid(form);

    BigGrid() {
        form->SetBounds(0, 0, 800, 600);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 800, 600);
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows);
        form->Show();
        ui::test::Pump();
    }
    ~BigGrid() { form->Free(); }

    // "r<row>c<col>": texts of 4 to 10 characters, as a table of numbers has. Short texts are
    // "<col>", which a String holds without a block of its own.
    void Fill(bool shortTexts = false) {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->SetCells(c, r, shortTexts ? IntToStr(c) : String(u"r") + IntToStr(r) + String(u"c") + IntToStr(c));
    }
};

size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

void BM_Fill(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto setup = std::make_unique<BigGrid>();
        size_t before = HeapInUse();
        state.ResumeTiming();
        setup->Fill(state.range(0) != 0);
        state.PauseTiming();
        state.counters["bytes_per_cell"] = static_cast<double>(HeapInUse() - before) / (double(kRows) * kCols);
        setup.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kCols);
}
BENCHMARK(BM_Fill)->Arg(0)->Arg(1)->ArgName("short")->Unit(benchmark::kMillisecond)->Iterations(3);

// For reference: making the texts of the fill, without the grid.
void BM_FillTextsAlone(benchmark::State& state) {
    for (auto _ : state) {
        size_t chars = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) chars += (String(u"r") + IntToStr(r) + String(u"c") + IntToStr(c)).size();
        benchmark::DoNotOptimize(chars);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kCols);
}
BENCHMARK(BM_FillTextsAlone)->Unit(benchmark::kMillisecond)->Iterations(3);

BigGrid& Filled() {
    static BigGrid* grid = [] {
        auto* g = new BigGrid;
        g->Fill();
        return g;
    }();
    return *grid;
}

// Everything shown painted again: about 24 rows of 10 cells with their text.
void BM_PaintVisible(benchmark::State& state) {
    TStringGrid* g = Filled().grid;
    g->SetTopRow(kRows / 2);
    for (auto _ : state) {
        g->Invalidate();
        g->Update();
    }
    state.counters["cells"] = double(g->VisibleRowCount() + 2) * kCols;
}
BENCHMARK(BM_PaintVisible)->Unit(benchmark::kMicrosecond);

// One line down and the row that came into view painted, as a held scroll-bar arrow does.
void BM_ScrollLine(benchmark::State& state) {
    TStringGrid* g = Filled().grid;
    g->SetTopRow(1);
    g->Update();
    for (auto _ : state) {
        if (g->TopRow() >= kRows - 100) g->SetTopRow(1);
        g->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
        g->Update();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScrollLine)->Unit(benchmark::kMicrosecond);

// Thumb jumps across the whole grid, each repainting the view.
void BM_ScrollThumb(benchmark::State& state) {
    TStringGrid* g = Filled().grid;
    int pos = 0;
    for (auto _ : state) {
        pos = (pos + 37) % 128;
        g->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), 0);
        g->Update();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScrollThumb)->Unit(benchmark::kMicrosecond);

// Reading every cell of the filled grid once.
void BM_ReadAll(benchmark::State& state) {
    TStringGrid* g = Filled().grid;
    for (auto _ : state) {
        size_t chars = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) chars += g->Cells(c, r).size();
        benchmark::DoNotOptimize(chars);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kCols);
}
BENCHMARK(BM_ReadAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
