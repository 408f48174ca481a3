#pragma once
// The series of the chart: points (x, y, colour) drawn as bars or as a filled area. A series is
// filled once and then updated in place; every change repaints its chart at the next paint pass.
#include <functional>
#include <vector>

#include "platform/chart/Chart.h"

// A click on a point of the series: its index, the mouse button and shift state, and the
// position pressed, in the chart's client coordinates.
using TSeriesClickEvent = std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button,
                                             TShiftState Shift, int X, int Y)>;

class TChartSeries : public TComponent {
public:
    explicit TChartSeries(TComponent* AOwner);
    ~TChartSeries() override;
    const char* ClassName() const override { return "TChartSeries"; }

    TChart* ParentChart() const { return FChart; }
    // Adds the series to the chart (last, so drawn over the others) or takes it off (nullptr).
    void SetParentChart(TChart* value);

    void Clear();
    // A point; a colour of clNone draws it in the series colour. Returns its index.
    int AddXY(double X, double Y, TColor Color = clNone);
    int Count() const { return static_cast<int>(FPoints.size()); }
    // Index outside 0..Count-1 raises EListError.
    double XValue(int Index) const;
    double YValue(int Index) const;
    void SetYValue(int Index, double Value);
    // The point's own colour, or the series colour when it has none.
    TColor ValueColor(int Index) const;
    void SetValueColor(int Index, TColor Color);
    TColor SeriesColor() const { return FColor; }
    void SetSeriesColor(TColor value);

    TSeriesClickEvent OnClick;

protected:
    struct Point {
        double X, Y;
        TColor Color;
    };
    // Draws the points inside the bottom axis's range; the chart's axes answer for the drawing.
    virtual void DrawValues(TCanvas* canvas, const TChartLayout& layout) = 0;
    // The index of the point under (X, Y) on the screen, or -1.
    virtual int Clicked(int X, int Y, const TChartLayout& layout) const = 0;
    // The value distance of neighbouring points: the width of a bar's slot.
    double XStep() const { return FStep > 0 ? FStep : 1; }
    const Point& At(int Index) const;
    void Repaint();

    std::vector<Point> FPoints;
    TChart* FChart = nullptr;

private:
    friend class TChart;
    TColor FColor = clRed;
    double FStep = 0;
};

// Bars from the floor (the left axis's Minimum) up to each value, centred on the point's x and
// BarWidthPercent of the slot wide. Bars of several series at one x stand at the same place.
class TBarSeries : public TChartSeries {
public:
    explicit TBarSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
    const char* ClassName() const override { return "TBarSeries"; }
    int BarWidthPercent() const { return FBarWidthPercent; }
    // 1..100; other values are clamped.
    void SetBarWidthPercent(int value);
    // The pixels of a point's bar (empty when the bar shows nothing) for a layout.
    TRect BarRect(int Index, const TChartLayout& layout) const;

protected:
    void DrawValues(TCanvas* canvas, const TChartLayout& layout) override;
    int Clicked(int X, int Y, const TChartLayout& layout) const override;

private:
    int FBarWidthPercent = 70;
};

// The area between the line of the points and the floor, each segment in the colour of the
// point it ends at, with optional vertical lines from each point to the floor, the line itself,
// and round 3 x 3 point markers.
class TAreaSeries : public TChartSeries {
public:
    explicit TAreaSeries(TComponent* AOwner);
    ~TAreaSeries() override;
    const char* ClassName() const override { return "TAreaSeries"; }
    TChartPen* AreaLinesPen() const { return FAreaLines.get(); }
    TChartPen* LinePen() const { return FLinePen.get(); }
    // Markers: visible and fill colour.
    TChartPen* Pointer() const { return FPointer.get(); }

protected:
    void DrawValues(TCanvas* canvas, const TChartLayout& layout) override;
    int Clicked(int X, int Y, const TChartLayout& layout) const override;

private:
    std::unique_ptr<TChartPen> FAreaLines;
    std::unique_ptr<TChartPen> FLinePen;
    std::unique_ptr<TChartPen> FPointer;
};
