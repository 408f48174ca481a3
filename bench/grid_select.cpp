// The string grid's selection at 1,000,000 rows by 10 columns on an 800 x 600 form: selecting
// every normal cell and asking the selected-cell count and the last selected cell, the text of
// a 100,000-row selection, and painting the last screen with a column of 2-row merged blocks;
// beside it a QItemSelectionModel over a QStandardItemModel with the same texts (selecting the
// same cells, selectedIndexes) and a QTableView with the same spans rendering the same viewport.
// Peak memory is the process's resident peak after each phase.
#include <QApplication>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <memory>

#include "grid/ZedUdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kCols = 10;
constexpr int kTextRows = 100000;

double PeakMB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

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
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) grid->SetCellEx(c, r, CellText(r, c));
        // A column of 2-row blocks over the last screen.
        for (int r = kRows - 40; r + 1 < kRows; r += 2) grid->MergeCells(3, r, 1, 2);
        form->Show();
        ui::test::Pump();
    }
};

BigGrid& Grid() {
    static BigGrid* g = new BigGrid;
    return *g;
}

struct BigModel {
    QStandardItemModel model{kRows, kCols};
    QItemSelectionModel selection{&model};
    QTableView view;

    BigModel() {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) model.setItem(r, c, new QStandardItem(CellQText(r, c)));
        view.setModel(&model);
        view.resize(800, 600);
        for (int r = kRows - 40; r + 1 < kRows; r += 2) view.setSpan(r, 3, 2, 1);
    }
};

BigModel& Model() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    (void)offscreen;
    if (!QApplication::instance()) new QApplication(argc, argv);
    static BigModel* m = new BigModel;
    return *m;
}

void BM_GridSelectAllAndCount(benchmark::State& state) {
    TVerAdevovEdav* g = Grid().grid;
    int64_t sum = 0;
    for (auto _ : state) {
        g->SelectCells(1, 1, kCols - 1, kRows - 1);
        int n = g->SelectedCellsCount();
        TGridCoord last = g->SelectedCell(n - 1);
        sum += n + last.X + last.Y;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_GridSelectAllAndCount)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_QtSelectAllAndIndexes(benchmark::State& state) {
    BigModel& m = Model();
    int64_t sum = 0;
    for (auto _ : state) {
        m.selection.select(QItemSelection(m.model.index(1, 1), m.model.index(kRows - 1, kCols - 1)),
                           QItemSelectionModel::ClearAndSelect);
        QModelIndexList list = m.selection.selectedIndexes();
        sum += list.size() + list.last().row();
        benchmark::DoNotOptimize(sum);
    }
    state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_QtSelectAllAndIndexes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridSelectedText(benchmark::State& state) {
    TVerAdevovEdav* g = Grid().grid;
    size_t sum = 0;
    for (auto _ : state) {
        g->SelectCells(1, 1, kCols - 1, kTextRows);
        sum += g->SelectedText().size();
        benchmark::DoNotOptimize(sum);
    }
    state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_GridSelectedText)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GridPaintLastScreenMerged(benchmark::State& state) {
    TVerAdevovEdav* g = Grid().grid;
    g->SetTopRow(kRows - 1);  // held at the last first row that fills the view
    g->Update();
    for (auto _ : state) {
        g->Invalidate();
        g->Update();
    }
    state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_GridPaintLastScreenMerged)->Unit(benchmark::kMicrosecond);

void BM_QtRenderLastScreenMerged(benchmark::State& state) {
    BigModel& m = Model();
    m.view.scrollToBottom();
    QPixmap pixmap(800, 600);
    for (auto _ : state) m.view.render(&pixmap);
    state.counters["peak_MB"] = PeakMB();
}
BENCHMARK(BM_QtRenderLastScreenMerged)->Unit(benchmark::kMicrosecond);

}  // namespace
