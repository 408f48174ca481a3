// The string grid's cell store at 1,000,000 rows by 10 columns on an 800 x 600 form: filling
// every cell through SetCellEx, giving every cell of two columns properties, and the rectangle
// of a 2 x 2 block near the end scrolled to the top and to the bottom; beside it a
// QStandardItemModel filled with the same texts, for reference. Memory is counted as the heap in
// use before and after.
#include <QStandardItem>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <memory>

#include "grid/ZedUdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kCols = 10;

size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// "r<row>c<col>", as a table of numbers has.
String CellText(int r, int c) { return String(u"r") + IntToStr(r) + String(u"c") + IntToStr(c); }
QString CellQText(int r, int c) { return QStringLiteral("r") + QString::number(r) + QStringLiteral("c") + QString::number(c); }

struct BigGrid {
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TForm* form = new TForm(nullptr);
    TVerAdevovEdav* grid = NewComponent<TVerAdevovEdav>(form);

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

    void Fill() {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) grid->SetCellEx(c, r, CellText(r, c));
    }
    void GiveProperties() {
        for (int r = 0; r < kRows; ++r) {
            grid->GetCellProperties(2, r);
            grid->GetCellProperties(5, r);
        }
    }
};

void BM_GridFill(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto setup = std::make_unique<BigGrid>();
        size_t before = HeapInUse();
        state.ResumeTiming();
        setup->Fill();
        state.PauseTiming();
        state.counters["bytes_per_cell"] = static_cast<double>(HeapInUse() - before) / (double(kRows) * kCols);
        setup.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kCols);
}
BENCHMARK(BM_GridFill)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_QtModelFill(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<QStandardItemModel>(kRows, kCols);
        size_t before = HeapInUse();
        state.ResumeTiming();
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) model->setItem(r, c, new QStandardItem(CellQText(r, c)));
        state.PauseTiming();
        state.counters["bytes_per_cell"] = static_cast<double>(HeapInUse() - before) / (double(kRows) * kCols);
        model.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kCols);
}
BENCHMARK(BM_QtModelFill)->Unit(benchmark::kMillisecond)->Iterations(2);

// Every cell of two columns gets properties: the bytes each properties object adds.
void BM_GridProperties(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto setup = std::make_unique<BigGrid>();
        setup->Fill();
        size_t before = HeapInUse();
        state.ResumeTiming();
        setup->GiveProperties();
        state.PauseTiming();
        state.counters["bytes_per_cell_with_properties"] = static_cast<double>(HeapInUse() - before) / (2.0 * kRows);
        setup.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 2 * int64_t(kRows));
}
BENCHMARK(BM_GridProperties)->Unit(benchmark::kMillisecond)->Iterations(2);

BigGrid& Merged() {
    static BigGrid* grid = [] {
        auto* g = new BigGrid;
        // Heights that differ, so the rows above are summed from the index, not multiplied.
        for (int r = 0; r < kRows; r += 1000) g->grid->SetRowHeights(r, 30);
        g->grid->MergeCells(3, 999990, 2, 2);
        return g;
    }();
    return *grid;
}

// The block's rectangle with the view at the top (the block far below it) and at the bottom.
void BM_GridBlockRect(benchmark::State& state) {
    TVerAdevovEdav* g = Merged().grid;
    g->SetTopRow(state.range(0) ? kRows - 20 : 1);
    int64_t sum = 0;
    for (auto _ : state) {
        TRect r = g->CellRect(4, 999991);
        sum += r.Top;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridBlockRect)->Arg(0)->Arg(1)->ArgName("bottom")->Unit(benchmark::kNanosecond);

// The same after a row height changed each time: the index follows in logarithmic time.
void BM_GridBlockRectAfterHeightChange(benchmark::State& state) {
    TVerAdevovEdav* g = Merged().grid;
    g->SetTopRow(1);
    int64_t sum = 0;
    int h = 20;
    for (auto _ : state) {
        h = h == 20 ? 21 : 20;
        g->SetRowHeights(500000, h);
        TRect r = g->CellRect(4, 999991);
        sum += r.Top;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridBlockRectAfterHeightChange)->Unit(benchmark::kMicrosecond);

}  // namespace
