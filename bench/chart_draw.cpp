// Redrawing a 900 x 400 level chart onto a device-format bitmap: the 5001-point area of the time
// chart (markers; then per-point colours and area lines as well) and the two 128-bar series of the
// frequency chart; and the enhanced metafile export of the 5001-point area (time and size).
// The Anchor* cases draw the same data with a widely used Qt plotting library into an image of the
// same size, with its defaults and with its antialiasing off, as the mark to beat.
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QImage>
#include <cmath>

#include "platform/chart/Series.h"
#include "platform/qt/QtGraphicsApp.h"

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 400;

struct LevelChart {
    TChart& chart = *new TChart(nullptr);
    LevelChart() {
        qtb::EnsureApplication();
        chart.SetBounds(0, 0, kWidth, kHeight);
        chart.LeftAxis()->SetMinMax(-140, -10);
        chart.LeftAxis()->SetIncrement(10);
        chart.LeftAxis()->SetMinorTickCount(4);
        chart.LeftAxis()->SetTitle(String("受信ﾚﾍﾞﾙ[dBm]"));
        chart.BottomAxis()->SetIncrement(1);
        chart.Gradient()->SetStartColor(0xF0E0D0);
        chart.Gradient()->SetEndColor(clWhite);
        chart.Title()->Put(0, String("< Air monitor >   Model name:     File name:     Date: "));
        chart.Title()->Put(1, String("User Memo:"));
        chart.Title()->Put(2, String("Channel:       ch  / Freq.:        MHz   /   Level:       dBm"));
    }
    ~LevelChart() {
        while (chart.SeriesCount() > 0) chart.Series(0)->Free();
        chart.Free();
    }
};

double Level(int i) { return -100 + 35 * std::sin(i / 40.0); }

// The time chart with all 5001 samples in view.
void AreaChart(LevelChart& c, bool coloursAndLines) {
    c.chart.BottomAxis()->SetMinMax(0, 5000);
    auto* area = new TAreaSeries(nullptr);
    area->SetParentChart(&c.chart);
    area->SetSeriesColor(clGreen);
    area->Pointer()->SetVisible(true);
    area->Pointer()->SetColor(clBlack);
    area->LinePen()->SetVisible(false);
    area->AreaLinesPen()->SetVisible(coloursAndLines);
    area->AreaLinesPen()->SetColor(clGray);
    for (int i = 0; i <= 5000; ++i) {
        double v = Level(i);
        area->AddXY(i, v, coloursAndLines ? (v >= -100 ? clRed : clGreen) : clNone);
    }
}

void Redraw(benchmark::State& state, LevelChart& c) {
    TBitmap target(kWidth, kHeight, pfDevice);
    for (auto _ : state) c.chart.Draw(target.Canvas(), TRect(0, 0, kWidth, kHeight));
}

void BM_RedrawArea5001WithMarkers(benchmark::State& state) {
    LevelChart c;
    AreaChart(c, false);
    Redraw(state, c);
}
BENCHMARK(BM_RedrawArea5001WithMarkers)->Unit(benchmark::kMillisecond);

void BM_RedrawArea5001WithColoursAndAreaLines(benchmark::State& state) {
    LevelChart c;
    AreaChart(c, true);
    Redraw(state, c);
}
BENCHMARK(BM_RedrawArea5001WithColoursAndAreaLines)->Unit(benchmark::kMillisecond);

void BM_RedrawTwo128BarSeries(benchmark::State& state) {
    LevelChart c;
    c.chart.BottomAxis()->SetMinMax(0, 127);
    for (int s = 0; s < 2; ++s) {
        auto* bars = new TBarSeries(nullptr);
        bars->SetParentChart(&c.chart);
        bars->SetBarWidthPercent(90);
        bars->SetSeriesColor(clYellow);
        for (int ch = 0; ch < 128; ++ch) {
            double v = Level(ch * 40) + (s == 0 ? 10 : 0);
            bars->AddXY(ch, v, s == 1 ? (v >= -100 ? clRed : clGreen) : clNone);
        }
    }
    Redraw(state, c);
}
BENCHMARK(BM_RedrawTwo128BarSeries)->Unit(benchmark::kMillisecond);

void BM_EmfExportArea5001(benchmark::State& state) {
    LevelChart c;
    AreaChart(c, true);
    size_t bytes = 0;
    for (auto _ : state) {
        auto mf = c.chart.CreateMetafile(true, TRect(0, 0, kWidth, kHeight));
        bytes = mf->EmfBytes().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["emf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EmfExportArea5001)->Unit(benchmark::kMillisecond);

// The anchor: one plot widget of the chart's size, with the same axes, title and data.
struct AnchorPlot {
    QCustomPlot plot;
    explicit AnchorPlot(bool antialiased) {
        qtb::EnsureApplication();
        plot.resize(kWidth, kHeight);
        if (!antialiased) plot.setNotAntialiasedElements(QCP::aeAll);
        plot.yAxis->setRange(-140, -10);
        plot.yAxis->setLabel(QString::fromUtf8("受信ﾚﾍﾞﾙ[dBm]"));
        plot.plotLayout()->insertRow(0);
        plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, QStringLiteral(
            "< Air monitor >   Model name:     File name:     Date: \nUser Memo:\n"
            "Channel:       ch  / Freq.:        MHz   /   Level:       dBm")));
    }
    void Redraw(benchmark::State& state) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        for (auto _ : state) {
            QCPPainter painter(&image);
            plot.toPainter(&painter, kWidth, kHeight);
        }
    }
};

void AnchorArea(benchmark::State& state, bool antialiased) {
    AnchorPlot a(antialiased);
    a.plot.xAxis->setRange(0, 5000);
    QCPGraph* g = a.plot.addGraph();
    g->setBrush(QColor(Qt::darkGreen));
    g->setPen(Qt::NoPen);
    g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, Qt::black, Qt::black, 3));
    QVector<double> x, y;
    for (int i = 0; i <= 5000; ++i) {
        x.push_back(i);
        y.push_back(Level(i));
    }
    g->setData(x, y, true);
    g->setChannelFillGraph(nullptr);
    a.Redraw(state);
}

void BM_AnchorRedrawArea5001WithMarkers(benchmark::State& state) { AnchorArea(state, true); }
BENCHMARK(BM_AnchorRedrawArea5001WithMarkers)->Unit(benchmark::kMillisecond);

void BM_AnchorRedrawArea5001WithMarkersNoAntialiasing(benchmark::State& state) { AnchorArea(state, false); }
BENCHMARK(BM_AnchorRedrawArea5001WithMarkersNoAntialiasing)->Unit(benchmark::kMillisecond);

void BM_AnchorRedrawTwo128BarSeries(benchmark::State& state) {
    AnchorPlot a(true);
    a.plot.xAxis->setRange(-0.5, 127.5);
    for (int s = 0; s < 2; ++s) {
        auto* bars = new QCPBars(a.plot.xAxis, a.plot.yAxis);
        bars->setWidth(0.9);
        bars->setBrush(QColor(s == 0 ? Qt::yellow : Qt::red));
        bars->setBaseValue(-140);
        QVector<double> x, y;
        for (int ch = 0; ch < 128; ++ch) {
            x.push_back(ch);
            y.push_back(Level(ch * 40) + (s == 0 ? 10 : 0));
        }
        bars->setData(x, y, true);
    }
    a.Redraw(state);
}
BENCHMARK(BM_AnchorRedrawTwo128BarSeries)->Unit(benchmark::kMillisecond);

}  // namespace
