// Axis ranges and conversions, zoom and undo, and the mouse: drags, panning and clicks.
#include <cmath>

#include "platform/chart/tests/ChartTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

using chart_test::ChartTest;
using chart_test::kOverColor;

TEST_F(ChartTest, AnAxisRefusesAMinimumAboveItsMaximumAndKeepsItsRange) {
    TChartAxis* axis = chart->BottomAxis();
    axis->SetMinMax(0, 127);
    EXPECT_NO_THROW(axis->SetMaximum(1000));
    EXPECT_NO_THROW(axis->SetMinimum(7));
    EXPECT_NO_THROW(axis->SetMaximum(46));
    EXPECT_THROW(axis->SetMinimum(50), EChartException);
    EXPECT_THROW(axis->SetMaximum(6), EChartException);
    EXPECT_THROW(axis->SetMinMax(50, 46), EChartException);
    EXPECT_THROW(axis->SetMinimum(NAN), EChartException);
    EXPECT_EQ(axis->Minimum(), 7);
    EXPECT_EQ(axis->Maximum(), 46);
    // Equal ends are a range, if an empty one.
    EXPECT_NO_THROW(axis->SetMinimum(46));
}

TEST_F(ChartTest, PixelConversionAndItsInverseAgreeOnEveryLabelledValue) {
    chart->BottomAxis()->SetMinMax(7, 46);
    Paint();
    TRect plot = chart->ChartRect();
    EXPECT_EQ(chart->ChartXCenter(), (plot.Left + plot.Right) / 2);
    struct Case {
        TChartAxis* axis;
        double from, to, step;
        int minPixel, maxPixel;
    };
    for (Case c : {Case{chart->LeftAxis(), -140, -10, 10, plot.Bottom, plot.Top},
                   Case{chart->BottomAxis(), 7, 46, 1, plot.Left, plot.Right}}) {
        EXPECT_EQ(c.axis->IStartPos(), c.minPixel);
        EXPECT_EQ(c.axis->IEndPos(), c.maxPixel);
        double halfPixel = (c.to - c.from) / std::abs(c.maxPixel - c.minPixel) / 2;
        for (double v = c.from; v <= c.to; v += c.step) {
            int p = c.axis->CalcPosValue(v);
            double back = c.axis->CalcPosPoint(p);
            EXPECT_EQ(c.axis->CalcPosValue(back), p) << v;
            EXPECT_LE(std::abs(back - v), halfPixel + 1e-9) << v;
        }
    }
    // The offset from the first pixel is rounded to the nearest pixel, halves to even.
    TChartAxis* bottom = chart->BottomAxis();
    double pixel = 39.0 / (plot.Right - plot.Left);
    EXPECT_EQ(bottom->CalcPosValue(7 + 0.5 * pixel), plot.Left);
    EXPECT_EQ(bottom->CalcPosValue(7 + 1.5 * pixel), plot.Left + 2);
    EXPECT_EQ(bottom->CalcPosValue(7 + 0.6 * pixel), plot.Left + 1);
}

TEST_F(ChartTest, ZoomByPercentThenUndoBringsBothAxesBack) {
    chart->BottomAxis()->SetMinMax(7, 46);
    int zooms = 0, undos = 0;
    chart->OnZoom = [&](TObject* sender) {
        EXPECT_EQ(sender, chart);
        ++zooms;
    };
    chart->OnUndoZoom = [&](TObject*) { ++undos; };
    chart->ZoomPercent(125);
    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(chart->Zoomed());
    // 80 % of each range about its centre.
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum(), 26.5 - 15.6);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum(), 26.5 + 15.6);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->Minimum(), -127);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->Maximum(), -23);
    chart->ZoomPercent(75);
    EXPECT_EQ(zooms, 2);
    EXPECT_NEAR(chart->BottomAxis()->Maximum() - chart->BottomAxis()->Minimum(), 31.2 / 0.75, 1e-9);
    chart->UndoZoom();
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 46);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), -10);
    EXPECT_EQ(zooms, 2);
}

TEST_F(ChartTest, ARangeSetByTheZoomHandlersStands) {
    chart->BottomAxis()->SetMinMax(7, 46);
    // As the workbench does: zooming only ever changes the horizontal range.
    auto level = [&](TObject*) { chart->LeftAxis()->SetMinMax(-140, -10); };
    chart->OnZoom = level;
    chart->ZoomPercent(125);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), -10);
    EXPECT_LT(chart->BottomAxis()->Maximum() - chart->BottomAxis()->Minimum(), 39);
    chart->OnUndoZoom = [&](TObject*) { chart->LeftAxis()->SetMinMax(-120, -20); };
    chart->UndoZoom();
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -120);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), -20);
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 46);
}

TEST_F(ChartTest, ARangeTheProgramSetsWhileZoomedIsNotUndone) {
    chart->BottomAxis()->SetMinMax(7, 46);
    chart->ZoomPercent(125);
    // A new model's channel range while zoomed: undoing must not bring back the old one.
    chart->BottomAxis()->SetMaximum(1000);
    chart->BottomAxis()->SetMinMax(0, 127);
    chart->UndoZoom();
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 0);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 127);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), -10);
}

class ChartMouseTest : public ChartTest {
protected:
    rtl::ScopedManualClock clock;
    TBarSeries *peaks = nullptr, *levels = nullptr;
    int zooms = 0, undos = 0;
    TRect plot;
    int y = 0;

    void SetUp() override {
        ChartTest::SetUp();
        FrequencySeries(peaks, levels, 50);
        chart->SetAllowZoom(true);
        chart->SetPanButton(mbMiddle);
        chart->OnZoom = [&](TObject*) { ++zooms; };
        chart->OnUndoZoom = [&](TObject*) { ++undos; };
        Paint();
        plot = chart->ChartRect();
        y = (plot.Top + plot.Bottom) / 2;
    }

    void Drag(int from, int to, TMouseButton button = mbLeft) {
        ui::test::MouseMove(chart, from, y);
        ui::test::MouseDown(chart, from, y, button);
        WPARAM keys = button == mbLeft ? MK_LBUTTON : button == mbMiddle ? MK_MBUTTON : MK_RBUTTON;
        if (to != from) ui::test::MouseMove(chart, (from + to) / 2, y, keys);
        ui::test::MouseMove(chart, to, y, keys);
        ui::test::MouseUp(chart, to, y, button);
    }
};

TEST_F(ChartMouseTest, ALeftDragToTheRightZoomsTheBottomAxisToTheDraggedRange) {
    int x0 = plot.Left + 100;
    double from = chart->BottomAxis()->CalcPosPoint(x0), to = chart->BottomAxis()->CalcPosPoint(x0 + 100);
    Drag(x0, x0 + 100);
    // On its way in steps: not there yet, and no event until it is.
    EXPECT_GT(chart->BottomAxis()->Minimum(), 7);
    EXPECT_LT(chart->BottomAxis()->Minimum(), from);
    EXPECT_EQ(zooms, 0);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum(), from);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum(), to);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), -10);
    EXPECT_EQ(zooms, 1);

    // A drag to the left undoes it.
    Drag(x0 + 100, x0);
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 46);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_EQ(zooms, 1);
}

// The tooltip of a clicked bar neither shows over the band of a drag zoom nor stays after it.
TEST_F(ChartMouseTest, NoTooltipDuringOrAfterADragZoom) {
    chart->SetHint(String("12ch  -85dBm"));
    chart->SetShowHint(true);
    const int x0 = plot.Left + 100;
    ui::test::MouseMove(chart, x0, y);
    ui::test::AdvanceClock(*clock, Application->HintPause());
    ASSERT_EQ(ui::ShownTipWindows().size(), 1u);
    ui::test::MouseDown(chart, x0, y);
    for (int x = x0 + 10; x <= x0 + 100; x += 10) {
        ui::test::MouseMove(chart, x, y, MK_LBUTTON);
        ui::test::AdvanceClock(*clock, Application->HintPause());
        EXPECT_TRUE(ui::ShownTipWindows().empty()) << x;
    }
    ui::test::MouseUp(chart, x0 + 100, y);
    ui::test::AdvanceClock(*clock, 2 * Application->HintPause());
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    Application->CancelHint();
}

TEST_F(ChartMouseTest, AOnePixelDragDoesNothing) {
    Drag(plot.Left + 100, plot.Left + 101);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 46);
    EXPECT_EQ(zooms + undos, 0);
    EXPECT_FALSE(chart->Zoomed());
}

TEST_F(ChartMouseTest, AMiddleDragPansTheBottomAxis) {
    double perPixel = 39.0 / (plot.Right - plot.Left);
    Drag(plot.Left + 100, plot.Left + 160, mbMiddle);
    EXPECT_NEAR(chart->BottomAxis()->Minimum(), 7 - 60 * perPixel, 1e-9);
    EXPECT_NEAR(chart->BottomAxis()->Maximum(), 46 - 60 * perPixel, 1e-9);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(zooms, 0);
    // The pan is undone like a zoom.
    chart->UndoZoom();
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 7);
}

TEST_F(ChartMouseTest, WithoutMouseZoomALeftDragPans) {
    chart->SetAllowZoom(false);
    chart->SetPanButton(mbLeft);
    double perPixel = 39.0 / (plot.Right - plot.Left);
    Drag(plot.Left + 200, plot.Left + 150);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_NEAR(chart->BottomAxis()->Minimum(), 7 + 50 * perPixel, 1e-9);
    EXPECT_EQ(zooms + undos, 0);
}

TEST_F(ChartMouseTest, AClickOnABarReportsItsPoint) {
    levels->SetYValue(20, -60);
    levels->SetValueColor(20, kOverColor);
    peaks->SetYValue(20, -30);
    Paint();
    struct Hit {
        TChartSeries* series = nullptr;
        int index = -1;
        TMouseButton button = mbRight;
        TShiftState shift;
        int x = 0, y = 0;
    } hit;
    int chartClicks = 0;
    chart->OnClick = [&](TObject*) { ++chartClicks; };
    for (TChartSeries* s : {static_cast<TChartSeries*>(peaks), static_cast<TChartSeries*>(levels)})
        s->OnClick = [&](TChartSeries* sender, int index, TMouseButton button, TShiftState shift, int x, int y) {
            hit = Hit{sender, index, button, shift, x, y};
        };
    int x = chart->BottomAxis()->CalcPosValue(20);
    int yLevel = chart->LeftAxis()->CalcPosValue(-100);
    ASSERT_EQ(At(x, yLevel), kOverColor);
    ui::test::Click(chart, x, yLevel);
    EXPECT_EQ(hit.series, levels);
    EXPECT_EQ(hit.index, 20);
    EXPECT_EQ(hit.button, mbLeft);
    EXPECT_TRUE(hit.shift.Contains(ssLeft));
    EXPECT_FALSE(hit.shift.Contains(ssShift));
    EXPECT_EQ(hit.x, x);
    EXPECT_EQ(hit.y, yLevel);
    EXPECT_EQ(chartClicks, 1);

    // Above the level, the peak bar behind it is the one clicked; with the middle button too.
    hit = Hit();
    int yPeak = chart->LeftAxis()->CalcPosValue(-40);
    ui::test::MouseDown(chart, x, yPeak, mbMiddle);
    ui::test::MouseUp(chart, x, yPeak, mbMiddle);
    EXPECT_EQ(hit.series, peaks);
    EXPECT_EQ(hit.index, 20);
    EXPECT_EQ(hit.button, mbMiddle);

    // Between two bars: no point, but the chart's own click.
    hit = Hit();
    int between = (x + chart->BottomAxis()->CalcPosValue(21)) / 2;
    ui::test::Click(chart, between, yLevel);
    EXPECT_EQ(hit.series, nullptr);
    EXPECT_EQ(chartClicks, 2);

    // A drag is no click.
    ui::test::AdvanceClock(*clock, 500);
    Drag(x, x + 40);
    EXPECT_EQ(hit.series, nullptr);
}

TEST_F(ChartTest, AClickOnAnAreaPointsMarkerReportsItsIndex) {
    TAreaSeries* area = TimeSeries();
    for (int i = 0; i <= 40; ++i) area->SetYValue(i, -80 - i);
    chart->SetAllowZoom(false);
    chart->SetPanButton(mbLeft);
    Paint();
    int index = -1;
    area->OnClick = [&](TChartSeries*, int i, TMouseButton, TShiftState, int, int) { index = i; };
    int x = chart->BottomAxis()->CalcPosValue(12), y = chart->LeftAxis()->CalcPosValue(-92);
    ui::test::Click(chart, x + 1, y - 1);
    EXPECT_EQ(index, 12);
    index = -1;
    // Under the marker, inside the area, is not the point.
    ui::test::Click(chart, x, chart->LeftAxis()->CalcPosValue(-130));
    EXPECT_EQ(index, -1);
}

TEST_F(ChartMouseTest, ARangeTheProgramSetsDuringAMouseZoomWins) {
    Drag(plot.Left + 100, plot.Left + 200);
    chart->BottomAxis()->SetMinMax(0, 127);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_EQ(chart->BottomAxis()->Minimum(), 0);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 127);
    EXPECT_EQ(zooms, 0);
    chart->UndoZoom();
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 127);
}

TEST_F(ChartMouseTest, ADragWhoseReleaseWentElsewhereEndsWithoutZooming) {
    int x0 = plot.Left + 100;
    ui::test::MouseDown(chart, x0, y);
    ui::test::MouseMove(chart, x0 + 50, y, MK_LBUTTON);
    // The button came up outside: the next move has no button held.
    ui::test::MouseMove(chart, x0 + 120, y, 0);
    ui::test::MouseUp(chart, x0 + 150, y);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(zooms + undos, 0);
    // The next drag works as ever.
    Drag(x0, x0 + 100);
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_EQ(zooms, 1);
}
