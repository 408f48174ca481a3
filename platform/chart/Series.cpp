// The series: their points, colours and hit tests. Their drawing is in ChartDraw.cpp.
#include "platform/chart/Series.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Format.h"

namespace {

// A 3 x 3 marker is hard to hit: a point takes clicks this many pixels around its centre.
constexpr int kPointSlack = 2;

}  // namespace

TChartSeries::TChartSeries(TComponent* AOwner) : TComponent(AOwner) {}

TChartSeries::~TChartSeries() {
    if (FChart) FChart->RemoveSeries(this);
}

void TChartSeries::SetParentChart(TChart* value) {
    if (value == FChart) return;
    if (value) value->AddSeries(this);
    else FChart->RemoveSeries(this);
}

void TChartSeries::Repaint() {
    if (FChart) FChart->Invalidate();
}

const TChartSeries::Point& TChartSeries::At(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FPoints[static_cast<size_t>(Index)];
}

void TChartSeries::Clear() {
    FPoints.clear();
    FStep = 0;
    Repaint();
}

int TChartSeries::AddXY(double X, double Y, TColor Color) {
    if (!FPoints.empty()) {
        double gap = std::fabs(X - FPoints.back().X);
        if (gap > 0 && (FStep == 0 || gap < FStep)) FStep = gap;
    }
    FPoints.push_back(Point{X, Y, Color});
    Repaint();
    return Count() - 1;
}

double TChartSeries::XValue(int Index) const { return At(Index).X; }
double TChartSeries::YValue(int Index) const { return At(Index).Y; }

void TChartSeries::SetYValue(int Index, double Value) {
    At(Index);
    FPoints[static_cast<size_t>(Index)].Y = Value;
    Repaint();
}

TColor TChartSeries::ValueColor(int Index) const {
    TColor c = At(Index).Color;
    return c == clNone ? FColor : c;
}

void TChartSeries::SetValueColor(int Index, TColor Color) {
    At(Index);
    FPoints[static_cast<size_t>(Index)].Color = Color;
    Repaint();
}

void TChartSeries::SetSeriesColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Repaint();
}

// ---------------------------------------------------------------------------------------------

void TBarSeries::SetBarWidthPercent(int value) {
    value = std::clamp(value, 1, 100);
    if (value == FBarWidthPercent) return;
    FBarWidthPercent = value;
    Repaint();
}

TRect TBarSeries::BarRect(int Index, const TChartLayout& layout) const {
    const Point& pt = At(Index);
    if (!FChart) return TRect();
    TChartAxis* bottom = FChart->BottomAxis();
    TChartAxis* left = FChart->LeftAxis();
    const TRect& p = layout.Plot;
    // The bar's edges are values too, so that bars of 100 % meet exactly at the slot borders.
    double half = XStep() * FBarWidthPercent / 200.0;
    int l = std::max(bottom->PosIn(layout, pt.X - half), p.Left);
    int r = std::min(bottom->PosIn(layout, pt.X + half), p.Right + 1);
    int floor = p.Bottom;
    int top = std::clamp(left->PosIn(layout, pt.Y), p.Top, floor);
    if (l >= r || top >= floor) return TRect();
    return TRect(l, top, r, floor);
}

int TBarSeries::Clicked(int X, int Y, const TChartLayout& layout) const {
    TChartAxis* bottom = FChart->BottomAxis();
    for (int i = 0; i < Count(); ++i) {
        const Point& pt = FPoints[static_cast<size_t>(i)];
        if (pt.X < bottom->Minimum() || pt.X > bottom->Maximum()) continue;
        if (BarRect(i, layout).Contains(TPoint(X, Y))) return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------

TAreaSeries::TAreaSeries(TComponent* AOwner)
    : TChartSeries(AOwner),
      FAreaLines(std::make_unique<TChartPen>(false, clBlack)),
      FLinePen(std::make_unique<TChartPen>(true, clBlack)),
      FPointer(std::make_unique<TChartPen>(false, clWhite)) {
    for (TChartPen* pen : {FAreaLines.get(), FLinePen.get(), FPointer.get()})
        pen->OnChange = [this](TPersistent*) { Repaint(); };
}

TAreaSeries::~TAreaSeries() = default;

int TAreaSeries::Clicked(int X, int Y, const TChartLayout& layout) const {
    TChartAxis* bottom = FChart->BottomAxis();
    TChartAxis* left = FChart->LeftAxis();
    const TRect& p = layout.Plot;
    int best = -1, bestDistance = 0;
    for (int i = 0; i < Count(); ++i) {
        const Point& pt = FPoints[static_cast<size_t>(i)];
        if (pt.X < bottom->Minimum() || pt.X > bottom->Maximum()) continue;
        int dx = X - bottom->PosIn(layout, pt.X);
        int dy = Y - std::clamp(left->PosIn(layout, pt.Y), p.Top, p.Bottom);
        if (std::abs(dx) > kPointSlack || std::abs(dy) > kPointSlack) continue;
        int distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
