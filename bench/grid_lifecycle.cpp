// The string grid's life cycle at scale: a grid of 10 columns grown from 10 rows to N rows,
// every cell of two columns given a text and properties (a brush colour), the grid assigned to a
// second grid (settings, counts, sizes and the cells through the stream form), and both grids
// destroyed; beside it a QStandardItemModel taken through the same steps (setRowCount, the
// same cells filled with a text and a background, copied item by item into a second model,
// both deleted). Each phase is timed on its own (seconds, as counters); the peak is the largest
// heap in use seen between the phases, less the heap before. Two sizes, so that a phase whose
// time grows faster than the rows shows.
#include <QBrush>
#include <QStandardItem>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "grid/ZedUdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kCols = 10;
constexpr int kPropCols[] = {2, 5};

size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

String CellText(int r, int c) { return String(u"r") + IntToStr(r) + String(u"c") + IntToStr(c); }
QString CellQText(int r, int c) { return QStringLiteral("r") + QString::number(r) + QStringLiteral("c") + QString::number(c); }

class Phases {
public:
    explicit Phases(benchmark::State& state) : FState(state), FBase(HeapInUse()), FStart(Clock::now()) {}
    // Ends the phase that began at the last mark.
    void Mark(const char* name) {
        auto now = Clock::now();
        FState.counters[name] = std::chrono::duration<double>(now - FStart).count();
        FPeak = std::max(FPeak, HeapInUse());
        FStart = Clock::now();
    }
    void Finish() { FState.counters["peak_MB"] = static_cast<double>(FPeak - std::min(FPeak, FBase)) / (1 << 20); }

private:
    using Clock = std::chrono::steady_clock;
    benchmark::State& FState;
    size_t FBase;
    size_t FPeak = 0;
    Clock::time_point FStart;
};

void BM_GridLifeCycle(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TForm* form = new TForm(nullptr);
        form->SetBounds(0, 0, 800, 600);
        form->Show();
        ui::test::Pump();
        Phases phases(state);
        auto* grid = NewComponent<TVerAdevovEdav>(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 800, 600);
        grid->SetColCount(kCols);
        phases.Mark("create_s");
        grid->SetRowCount(rows);
        phases.Mark("grow_s");
        for (int r = 0; r < rows; ++r)
            for (int c : kPropCols) {
                grid->SetCellEx(c, r, CellText(r, c));
                grid->GetCellProperties(c, r)->SetBrushColor(clYellow);
            }
        phases.Mark("fill_s");
        auto* copy = NewComponent<TVerAdevovEdav>(form);
        copy->SetParent(form);
        copy->Assign(grid);
        phases.Mark("assign_s");
        if (copy->Cells(5, rows - 1) != CellText(rows - 1, 5)) state.SkipWithError("the copy lost a cell");
        grid->Free();
        copy->Free();
        phases.Mark("destroy_s");
        phases.Finish();
        form->Free();
    }
}
BENCHMARK(BM_GridLifeCycle)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_QtModelLifeCycle(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Phases phases(state);
        auto* model = new QStandardItemModel(10, kCols);
        phases.Mark("create_s");
        model->setRowCount(rows);
        phases.Mark("grow_s");
        for (int r = 0; r < rows; ++r)
            for (int c : kPropCols) {
                auto* item = new QStandardItem(CellQText(r, c));
                item->setBackground(QBrush(Qt::yellow));
                model->setItem(r, c, item);
            }
        phases.Mark("fill_s");
        auto* copy = new QStandardItemModel(model->rowCount(), model->columnCount());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c)
                if (QStandardItem* item = model->item(r, c)) copy->setItem(r, c, item->clone());
        phases.Mark("assign_s");
        if (copy->item(rows - 1, 5)->text() != CellQText(rows - 1, 5)) state.SkipWithError("the copy lost a cell");
        delete model;
        delete copy;
        phases.Mark("destroy_s");
        phases.Finish();
    }
}
BENCHMARK(BM_QtModelLifeCycle)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
