// Bars and areas as they show on the screen.
#include <cstdlib>

#include "platform/chart/tests/ChartTestSupport.h"

using chart_test::ChartTest;
using chart_test::kFloorLevelColor;
using chart_test::kOverColor;
using chart_test::kPeakColor;

TEST_F(ChartTest, BarsAtTheFloorDrawNothing) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels);
    auto withBars = Screen();
    peaks->SetParentChart(nullptr);
    levels->SetParentChart(nullptr);
    auto withoutBars = Screen();
    EXPECT_EQ(chart_test::DifferentPixels(*withBars, *withoutBars), 0);
}

TEST_F(ChartTest, ABarFillsFromTheFloorUpToTheRowOfItsValue) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels);
    levels->SetYValue(20, -85);
    levels->SetValueColor(20, kOverColor);
    // A bar with no colour of its own takes the series colour.
    peaks->SetYValue(30, -60);
    EXPECT_EQ(peaks->ValueColor(30), kPeakColor);
    Paint();

    int x = chart->BottomAxis()->CalcPosValue(20);
    int top = chart->LeftAxis()->CalcPosValue(-85);
    int floor = chart->LeftAxis()->CalcPosValue(-140);
    EXPECT_EQ(floor, chart->ChartRect().Bottom);
    for (int y = top; y < floor; ++y) ASSERT_EQ(At(x, y), kOverColor) << "row " << y;
    EXPECT_NE(At(x, top - 1), kOverColor);
    EXPECT_NE(At(x, floor), kOverColor) << "the floor row belongs to the axis";
    EXPECT_EQ(At(chart->BottomAxis()->CalcPosValue(30), chart->LeftAxis()->CalcPosValue(-60)), kPeakColor);
    EXPECT_NE(At(chart->BottomAxis()->CalcPosValue(30), chart->LeftAxis()->CalcPosValue(-60) - 1), kPeakColor);

    // Updated in place: the next paint pass shows the new value.
    levels->SetYValue(20, -120);
    Paint();
    EXPECT_NE(At(x, top), kOverColor);
    EXPECT_EQ(At(x, chart->LeftAxis()->CalcPosValue(-120)), kOverColor);
}

TEST_F(ChartTest, BarWidthPercentIsTheShareOfTheSlotTheBarFills) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels);
    levels->SetYValue(20, -60);
    levels->SetValueColor(20, kOverColor);
    levels->SetYValue(21, -60);
    levels->SetValueColor(21, kFloorLevelColor);
    struct Case {
        int percent;
        int emptyPercent;
    };
    for (Case c : {Case{100, 0}, Case{50, 50}}) {
        SCOPED_TRACE(c.percent);
        levels->SetBarWidthPercent(c.percent);
        Paint();
        int x20 = chart->BottomAxis()->CalcPosValue(20), x21 = chart->BottomAxis()->CalcPosValue(21);
        int y = chart->LeftAxis()->CalcPosValue(-100);
        int empty = 0;
        bool seenSecond = false;
        for (int x = x20; x <= x21; ++x) {
            TColor p = At(x, y);
            if (p == kFloorLevelColor) seenSecond = true;
            else if (p == kOverColor) EXPECT_FALSE(seenSecond) << "the bars keep their order";
            else ++empty;
        }
        int slot = x21 - x20;
        EXPECT_NEAR(empty, slot * c.emptyPercent / 100, 1) << "slot " << slot;
    }
}

TEST_F(ChartTest, ALaterSeriesIsDrawnOverAnEarlierOneAtTheSamePlace) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels, 60);
    peaks->SetYValue(15, -50);
    levels->SetYValue(15, -85);
    levels->SetValueColor(15, kOverColor);
    Paint();
    TChartAxis* left = chart->LeftAxis();
    int x = chart->BottomAxis()->CalcPosValue(15);
    EXPECT_EQ(At(x, left->CalcPosValue(-60)), kPeakColor);
    EXPECT_EQ(At(x, left->CalcPosValue(-100)), kOverColor);
    // No side offset: both bars have the same left and right edges.
    auto edges = [&](int y, TColor color) {
        int l = x, r = x;
        while (At(l - 1, y) == color) --l;
        while (At(r + 1, y) == color) ++r;
        return std::make_pair(l, r);
    };
    EXPECT_EQ(edges(left->CalcPosValue(-60), kPeakColor), edges(left->CalcPosValue(-100), kOverColor));
}

TEST_F(ChartTest, SeriesIndexesOutsideThePointsRaise) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels);
    EXPECT_THROW(levels->SetYValue(128, -50), EListError);
    EXPECT_THROW(levels->SetValueColor(-1, clRed), EListError);
    EXPECT_THROW(levels->YValue(128), EListError);
    levels->Clear();
    EXPECT_EQ(levels->Count(), 0);
    EXPECT_THROW(levels->XValue(0), EListError);
}

TEST_F(ChartTest, AnAreaOf5001PointsOnA1To30AxisDrawsPoints1To30) {
    TAreaSeries* area = TimeSeries();
    for (int i = 0; i <= 5000; ++i) area->SetYValue(i, -80);
    Paint();
    TRect plot = chart->ChartRect();
    int y = chart->LeftAxis()->CalcPosValue(-80);
    int below = chart->LeftAxis()->CalcPosValue(-100);
    for (int i = 1; i <= 30; ++i) ASSERT_EQ(At(chart->BottomAxis()->CalcPosValue(i), y), clBlack) << "point " << i;
    // Point 0 lies left of the plot, point 31 right of it: neither shows, nor does the area there.
    int x0 = chart->BottomAxis()->CalcPosValue(0);
    EXPECT_LT(x0, plot.Left);
    EXPECT_NE(At(x0, y), clBlack);
    EXPECT_NE(At(x0, below), kFloorLevelColor);
    EXPECT_GT(chart->BottomAxis()->CalcPosValue(31), plot.Right);
    EXPECT_EQ(At(plot.Right, below), kFloorLevelColor);
    EXPECT_NE(At(plot.Right + 1, below), kFloorLevelColor);
    EXPECT_EQ(At(plot.Left + 1, below), kFloorLevelColor);
    EXPECT_NE(At(plot.Left - 1, below), kFloorLevelColor);
}

TEST_F(ChartTest, AMarkerIsA3x3DiscInTheMarkerColourCentredOnItsPoint) {
    TAreaSeries* area = TimeSeries();
    area->SetYValue(10, -80);
    area->Pointer()->SetColor(clBlue);
    Paint();
    int x = chart->BottomAxis()->CalcPosValue(10), y = chart->LeftAxis()->CalcPosValue(-80);
    for (auto [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}})
        EXPECT_EQ(At(x + dx, y + dy), clBlue) << dx << "," << dy;
    for (auto [dx, dy] : {std::pair{-2, 0}, {2, 0}, {0, -2}, {0, 2}})
        EXPECT_NE(At(x + dx, y + dy), clBlue) << dx << "," << dy;
    area->Pointer()->SetVisible(false);
    Paint();
    EXPECT_NE(At(x, y - 1), clBlue);
}

TEST_F(ChartTest, AreaLinesShowOnlyWhenVisible) {
    TAreaSeries* area = TimeSeries();
    for (int i = 0; i <= 40; ++i) area->SetYValue(i, -60);
    area->AreaLinesPen()->SetColor(clBlue);
    int x = 0, y = 0;
    for (bool visible : {true, false}) {
        area->AreaLinesPen()->SetVisible(visible);
        Paint();
        x = chart->BottomAxis()->CalcPosValue(10);
        y = chart->LeftAxis()->CalcPosValue(-100);
        EXPECT_EQ(At(x, y), visible ? clBlue : kFloorLevelColor) << "visible " << visible;
        EXPECT_EQ(At(x + 3, y), kFloorLevelColor);
    }
}

TEST_F(ChartTest, AnAreaSegmentTakesTheColourOfThePointItEndsAt) {
    TAreaSeries* area = TimeSeries();
    for (int i = 0; i <= 40; ++i) area->SetYValue(i, -80);
    area->SetValueColor(10, kFloorLevelColor);
    area->SetValueColor(11, kOverColor);
    area->SetValueColor(12, kPeakColor);
    Paint();
    TChartAxis* bottom = chart->BottomAxis();
    int y = chart->LeftAxis()->CalcPosValue(-100);
    auto middle = [&](int a, int b) { return (bottom->CalcPosValue(a) + bottom->CalcPosValue(b)) / 2; };
    EXPECT_EQ(At(middle(10, 11), y), kOverColor);
    EXPECT_EQ(At(middle(11, 12), y), kPeakColor);
    EXPECT_EQ(At(middle(9, 10), y), kFloorLevelColor);
}

TEST_F(ChartTest, TitleLinesAndTheGradientLieAboveAndBehindThePlot) {
    chart->Gradient()->SetStartColor(0x402010);
    chart->Gradient()->SetEndColor(0x10E0F0);
    chart->Title()->Put(0, String());
    auto untitled = Screen();
    EXPECT_EQ(At(chart->Width() - 1, 0), 0x402010);
    EXPECT_EQ(At(chart->Width() - 1, chart->Height() - 1), 0x10E0F0);
    // Halfway down, halfway between the two colours.
    TColor mid = At(chart->Width() - 1, chart->Height() / 2);
    EXPECT_NEAR(mid & 0xFF, (0x10 + 0xF0) / 2, 2);
    EXPECT_NEAR((mid >> 16) & 0xFF, (0x40 + 0x10) / 2, 2);

    chart->Title()->Put(2, String("Channel: 20ch  / Freq.: 429.4125MHz   /   Level: -85dBm"));
    EXPECT_EQ(chart->Title()->Strings(2), String("Channel: 20ch  / Freq.: 429.4125MHz   /   Level: -85dBm"));
    auto titled = Screen();
    TRect plot = chart->ChartRect();
    int changedAbove = 0, changedElsewhere = 0, left = chart->Width(), right = 0;
    for (int y = 0; y < chart->Height(); ++y)
        for (int x = 0; x < chart->Width(); ++x) {
            if (titled->Canvas()->Pixels(x, y) == untitled->Canvas()->Pixels(x, y)) continue;
            if (y < plot.Top) {
                ++changedAbove;
                left = std::min(left, x);
                right = std::max(right, x);
            } else {
                ++changedElsewhere;
            }
        }
    EXPECT_GT(changedAbove, 100);
    EXPECT_EQ(changedElsewhere, 0);
    // Centred over the plot.
    EXPECT_NEAR((left + right) / 2, chart->ChartXCenter(), 3);
}

TEST_F(ChartTest, TheDepthViewKeepsTheBarsOnTheRowsOfTheirValues) {
    TBarSeries *peaks, *levels;
    FrequencySeries(peaks, levels, 60);
    levels->SetYValue(20, -85);
    levels->SetValueColor(20, kOverColor);
    auto flat = Screen();
    chart->SetView3D(true);
    auto deep = Screen();
    EXPECT_GT(chart_test::DifferentPixels(*flat, *deep), 1000);
    int x = chart->BottomAxis()->CalcPosValue(20);
    int top = chart->LeftAxis()->CalcPosValue(-85);
    EXPECT_EQ(At(x, top), kOverColor);
    EXPECT_EQ(At(x, chart->ChartRect().Bottom - 1), kOverColor);
    EXPECT_NE(At(x, top - 1), kOverColor) << "the top face is shaded";
}
