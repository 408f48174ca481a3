// Hidden rows of the string grid at 1,000,000 rows: every tenth row hidden as a list and every
// displayed row mapped to its real row and back (with the hidden test); a list of 500,000
// alternate rows hidden and brought back; every second row hidden one by one with HideRows
// (on 20,000 rows: each call moves the rows below it, as the grid's rows are its store) and
// brought back with UnHideRowsAll; 999,999 rows selected, counted and cleared in disjunct mode.
// Beside it a QSortFilterProxyModel over a QStandardItemModel hiding the same rows, with every
// proxy row mapped to its source row.
#include <QCoreApplication>
#include <QSortFilterProxyModel>
#include <QStandardItem>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "grid/ZedUdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kSmallRows = 20000;

struct Grid {
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TForm* form = new TForm(nullptr);
    TVerAdevovEdav* grid = NewComponent<TVerAdevovEdav>(form);

    explicit Grid(int rows) {
        form->SetBounds(0, 0, 800, 600);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 800, 600);
        grid->SetColCount(3);
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) grid->SetCellEx(1, r, String(u"r") + IntToStr(r));
        form->Show();
        ui::test::Pump();
    }
};

Grid& Big() {
    static Grid* g = new Grid(kRows);
    return *g;
}

TIntList* Every(int step, int first, int rows) {
    auto* list = new TIntList(0, 0);
    for (int r = first; r < rows; r += step) list->Add(r);
    return list;
}

void BM_GridHideListEveryTenth(benchmark::State& state) {
    TVerAdevovEdav* g = Big().grid;
    std::unique_ptr<TIntList> list(Every(10, 5, kRows));
    for (auto _ : state) {
        g->HideRowList(list.get());
        state.PauseTiming();
        g->UnHideRowList();
        g->SetFilterLevel(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridHideListEveryTenth)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridMapEveryRow(benchmark::State& state) {
    TVerAdevovEdav* g = Big().grid;
    std::unique_ptr<TIntList> list(Every(10, 5, kRows));
    g->HideRowList(list.get());
    int64_t sum = 0;
    for (auto _ : state) {
        for (int d = 0; d < g->RowCount(); ++d) sum += g->DisplayToRealRow(d);
        for (int r = 0; r < kRows; ++r) sum += g->RealToDisplayRow(r) + g->IsHiddenRow(r);
        benchmark::DoNotOptimize(sum);
    }
    g->UnHideRowList();
    g->SetFilterLevel(0);
}
BENCHMARK(BM_GridMapEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridHideAndShowHalfAsList(benchmark::State& state) {
    TVerAdevovEdav* g = Big().grid;
    std::unique_ptr<TIntList> list(Every(2, 1, kRows));
    for (auto _ : state) {
        g->HideRowList(list.get());
        g->UnHideRowList();
        g->SetFilterLevel(0);
    }
}
BENCHMARK(BM_GridHideAndShowHalfAsList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridHideRowsOneByOneSmall(benchmark::State& state) {
    static Grid* small = new Grid(kSmallRows);
    TVerAdevovEdav* g = small->grid;
    for (auto _ : state) {
        for (int r = kSmallRows - 1; r >= 1; r -= 2) g->HideRows(r, r);
        state.PauseTiming();
        g->UnHideRowsAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridHideRowsOneByOneSmall)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GridUnHideRowsAllSmall(benchmark::State& state) {
    static Grid* small = new Grid(kSmallRows);
    TVerAdevovEdav* g = small->grid;
    for (auto _ : state) {
        state.PauseTiming();
        for (int r = kSmallRows - 1; r >= 1; r -= 2) g->HideRows(r, r);
        state.ResumeTiming();
        g->UnHideRowsAll();
    }
}
BENCHMARK(BM_GridUnHideRowsAllSmall)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GridDisjunctSelectCountClear(benchmark::State& state) {
    TVerAdevovEdav* g = Big().grid;
    g->MouseActions()->SetDisjunctRowSelect(true);
    int64_t sum = 0;
    for (auto _ : state) {
        g->SelectRows(1, kRows - 1);
        sum += g->RowSelectCount();
        g->ClearRowSelect();
        benchmark::DoNotOptimize(sum);
    }
    g->MouseActions()->SetDisjunctRowSelect(false);
}
BENCHMARK(BM_GridDisjunctSelectCountClear)->Unit(benchmark::kMillisecond)->Iterations(3);

// Qt: a proxy hiding every tenth (every second) row, mapped back row by row.
class EveryNth : public QSortFilterProxyModel {
public:
    int step = 10;
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        return step == 0 || row % step != (step == 10 ? 5 : 1);
    }
    void SetStep(int s) {
        step = s;
        invalidateRowsFilter();
    }
};

QStandardItemModel& Model() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    static QStandardItemModel* m = [] {
        auto* model = new QStandardItemModel(kRows, 3);
        for (int r = 0; r < kRows; ++r) model->setItem(r, 1, new QStandardItem(QStringLiteral("r") + QString::number(r)));
        return model;
    }();
    return *m;
}

void BM_QtProxyHideEveryTenth(benchmark::State& state) {
    QStandardItemModel& m = Model();
    for (auto _ : state) {
        EveryNth proxy;
        proxy.setSourceModel(&m);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
}
BENCHMARK(BM_QtProxyHideEveryTenth)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_QtProxyMapEveryRow(benchmark::State& state) {
    QStandardItemModel& m = Model();
    EveryNth proxy;
    proxy.setSourceModel(&m);
    int64_t sum = 0;
    for (auto _ : state) {
        for (int d = 0; d < proxy.rowCount(); ++d) sum += proxy.mapToSource(proxy.index(d, 0)).row();
        for (int r = 0; r < kRows; ++r) sum += proxy.mapFromSource(m.index(r, 0)).row();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_QtProxyMapEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_QtProxyHideAndShowHalf(benchmark::State& state) {
    // A proxy made over the model with every second row filtered out, then dropped. Changing the
    // filter of a live proxy between the two (invalidateRowsFilter) did not finish within seven
    // minutes at this size: it signals every removed and inserted row range separately.
    QStandardItemModel& m = Model();
    for (auto _ : state) {
        EveryNth proxy;
        proxy.step = 2;
        proxy.setSourceModel(&m);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
}
BENCHMARK(BM_QtProxyHideAndShowHalf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
