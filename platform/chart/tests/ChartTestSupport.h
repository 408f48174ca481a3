#pragma once
// A form with a 900 x 400 chart set up as the workbench sets up its level charts, and readers of
// the pixels it shows.
#include <gtest/gtest.h>

#include <memory>

#include "platform/chart/Series.h"
#include "platform/ui/testing/Fixtures.h"

namespace chart_test {

constexpr TColor kFloorLevelColor = 0x00A000;
constexpr TColor kOverColor = 0x0000E0;
constexpr TColor kPeakColor = 0x00E0E0;

class ChartTest : public ui::test::FormTest {
protected:
    TChart* chart = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(0, 0, 920, 420);
        chart = Add<TChart>(0, 0);
        chart->SetBounds(0, 0, 900, 400);
        chart->LeftAxis()->SetMinMax(-140, -10);
        chart->LeftAxis()->SetIncrement(10);
        chart->LeftAxis()->SetMinorTickCount(4);
        chart->BottomAxis()->SetIncrement(1);
        chart->Gradient()->SetStartColor(0xF0E0D0);
        chart->Gradient()->SetEndColor(clWhite);
        chart->Title()->Put(0, String("< Air monitor >   Model name:     File name:     Date: "));
    }

    // Two bar series of 128 points at the floor: the peaks first, the levels over them.
    void FrequencySeries(TBarSeries*& peaks, TBarSeries*& levels, int widthPercent = 100) {
        chart->BottomAxis()->SetMinMax(7, 46);
        chart->BottomAxis()->SetGridCentered(true);
        peaks = new TBarSeries(form);
        levels = new TBarSeries(form);
        peaks->SetParentChart(chart);
        levels->SetParentChart(chart);
        peaks->SetSeriesColor(kPeakColor);
        for (TBarSeries* s : {peaks, levels}) {
            s->SetBarWidthPercent(widthPercent);
            for (int ch = 0; ch < 128; ++ch) s->AddXY(ch, -140.0);
        }
    }

    // The area series of the time chart: 5001 points at the floor on a 1..30 axis.
    TAreaSeries* TimeSeries() {
        chart->BottomAxis()->SetMinMax(1, 30);
        auto* area = new TAreaSeries(form);
        area->SetParentChart(chart);
        area->SetSeriesColor(kFloorLevelColor);
        area->Pointer()->SetVisible(true);
        area->Pointer()->SetColor(clBlack);
        area->LinePen()->SetVisible(false);
        for (int i = 0; i <= 5000; ++i) area->AddXY(i, -140.0);
        return area;
    }

    // Shows the form and paints what is pending.
    void Paint() {
        form->Show();
        chart->Repaint();
    }

    TColor At(int x, int y) { return chart->BackingImage()->Canvas()->Pixels(x, y); }

    std::unique_ptr<TBitmap> Screen() {
        Paint();
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(chart->BackingImage());
        return copy;
    }
};

// The number of pixels that differ between two pictures of one size (-1 for other sizes).
inline int DifferentPixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    TBitmap x, y;
    x.Assign(&a);
    y.Assign(&b);
    x.SetPixelFormat(pf24bit);
    y.SetPixelFormat(pf24bit);
    int diff = 0;
    for (int row = 0; row < x.Height(); ++row) {
        auto* p = static_cast<const uint8_t*>(x.ScanLine(row));
        auto* q = static_cast<const uint8_t*>(y.ScanLine(row));
        for (int col = 0; col < x.Width() * 3; col += 3)
            if (p[col] != q[col] || p[col + 1] != q[col + 1] || p[col + 2] != q[col + 2]) ++diff;
    }
    return diff;
}

}  // namespace chart_test
