// The level charts: the overlays drawn after each drawing, the readouts of a clicked bar or
// sample, the thresholds, the chart items of the menu and the memo panel.
#include "app/tests/MonitorTestSupport.h"

using namespace wbtest;

namespace {

class Charts : public MonitorTest {
protected:
    TRect plot;
    int centre = 0;
    // The chart as a picture of its own size, with the plot rectangle and centre of that drawing.
    std::unique_ptr<TBitmap> Picture(TChart* chart) {
        TNotifyEvent draw = chart->OnAfterDraw;
        chart->OnAfterDraw = [&](TObject* s) {
            draw(s);
            plot = chart->ChartRect();
            centre = chart->ChartXCenter();
        };
        auto bmp = chart->CreateBitmap();
        chart->OnAfterDraw = draw;
        return bmp;
    }
};

TEST_F(Charts, TheThresholdLineSitsAtTheWholeLevelTowardZero) {
    EnterAirMonitor(0);
    MainForm->MvVSlider1->SetValue(-100.6f);
    ASSERT_LT(MainForm->MvVSlider1->Value(), -100.5f);
    for (auto [ch, level] : {std::pair{10, -100}, std::pair{11, -101}}) {
        MainForm->LevelTable[static_cast<size_t>(ch)] = level;
    }
    MainForm->MvVSlider1ValueChange(MainForm->MvVSlider1);
    EXPECT_EQ(MainForm->Series1->ValueColor(10), MainForm->c1Over);
    EXPECT_EQ(MainForm->Series1->ValueColor(11), MainForm->c1Main);
    auto bmp = Picture(MainForm->Chart1);
    const int y = MainForm->Chart1->LeftAxis()->CalcPosValue(-100);
    ASSERT_NE(y, MainForm->Chart1->LeftAxis()->CalcPosValue(-101));
    // Left of the centre line, away from the bars' columns near the left edge.
    const int x = plot.Left + 2;
    EXPECT_EQ(bmp->Canvas()->Pixels(x, y), MainForm->c1ThreLine);
    EXPECT_NE(bmp->Canvas()->Pixels(x, y + 1), MainForm->c1ThreLine);
    EXPECT_NE(bmp->Canvas()->Pixels(x, y - 1), MainForm->c1ThreLine);
}

TEST_F(Charts, TheCentreMarkerIsALineOrFourNotches) {
    EnterAirMonitor(0);
    TChart* chart = MainForm->Chart1;
    MainForm->c1CenterLine = 0x00FF00;  // a colour nothing else on the chart has
    auto bmp = Picture(chart);
    const int x = centre;
    const int middle = (plot.Top + plot.Bottom) / 2 + 7;
    EXPECT_EQ(bmp->Canvas()->Pixels(x, middle), 0x00FF00);
    MainForm->Centerline1->Click();
    ASSERT_FALSE(MainForm->Centerline1->Checked());
    bmp = Picture(chart);
    EXPECT_NE(bmp->Canvas()->Pixels(x, middle), 0x00FF00);
    // Strokes from three pixels beside the centre at each edge toward it, 8 pixels deep (the
    // rows each stroke covers), and nothing between them.
    int topRows = 0, bottomRows = 0, widest = 0;
    for (int yy = plot.Top; yy <= plot.Bottom; ++yy) {
        bool left = false, right = false;
        for (int xx = x - 4; xx <= x + 4; ++xx)
            if (bmp->Canvas()->Pixels(xx, yy) == 0x00FF00) {
                EXPECT_TRUE(yy < plot.Top + 8 || yy >= plot.Bottom - 8) << xx << "," << yy;
                left |= xx <= x;
                right |= xx >= x;
                widest = std::max(widest, std::abs(xx - x));
            }
        if (left && right) (yy < plot.Top + 8 ? topRows : bottomRows)++;
    }
    EXPECT_EQ(topRows, 8);
    EXPECT_EQ(bottomRows, 8);
    EXPECT_EQ(widest, 3);
    for (TPoint p : {TPoint(x + 3, plot.Top), TPoint(x - 3, plot.Top), TPoint(x, plot.Top + 7)})
        EXPECT_EQ(bmp->Canvas()->Pixels(p.X, p.Y), 0x00FF00) << p.X << "," << p.Y;
}

TEST_F(Charts, AClickedBarStopsTheSweepAndReadsOut) {
    EnterAirMonitor(0);
    ASSERT_EQ(Utf8(MainForm->ComboBox5->Text()), "TQW-560R    429MHz");
    MainForm->MvColBitBtn15->SetChecked(true);
    MainForm->LevelTable[12] = -85;
    MainForm->Series1->SetYValue(12, -85);
    MainForm->Series1Click(MainForm->Series1, 12, mbLeft, {}, 0, 0);
    EXPECT_FALSE(MainForm->MvColBitBtn15->Checked());
    EXPECT_EQ(MainForm->AnalysisMark, 1);
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(2)), "Channel: 12ch  / Freq.: 429.3125MHz   /   Level: -85dBm");
    EXPECT_EQ(Utf8(MainForm->Chart1->Hint()), "12ch  429.3125MHz  -85dBm");
    // The cross through the bar's top.
    MainForm->c1AnaLine1 = 0x00FF00;
    auto bmp = Picture(MainForm->Chart1);
    const int px = MainForm->Chart1->BottomAxis()->CalcPosValue(12);
    const int py = MainForm->Chart1->LeftAxis()->CalcPosValue(-85);
    EXPECT_EQ(bmp->Canvas()->Pixels(px, plot.Top + 3), 0x00FF00);
    EXPECT_EQ(bmp->Canvas()->Pixels(plot.Left + 3, py), 0x00FF00);

    // A bar outside the model's channels: a beep, no readout.
    win::ResetMessageBeeps();
    MainForm->Series3Click(MainForm->Series3, 60, mbLeft, {}, 0, 0);
    EXPECT_EQ(win::MessageBeepCount(), 1);
    EXPECT_EQ(MainForm->AnalysisMark, 1);
    EXPECT_EQ(Utf8(MainForm->Chart1->Hint()), "12ch  429.3125MHz  -85dBm");
    // A peak bar marks 3.
    MainForm->Series3Click(MainForm->Series3, 8, mbLeft, {}, 0, 0);
    EXPECT_EQ(MainForm->AnalysisMark, 3);
    EXPECT_EQ(Utf8(MainForm->Chart1->Hint()), "8ch  429.2625MHz  -140dBm");
}

TEST_F(Charts, AClickedSampleStopsTheSamplingAndReadsOut) {
    EnterAirMonitor(1);
    MainForm->ComboBox4->SetText(String("12"));
    MainForm->MvColBitBtn1->SetChecked(true);
    MainForm->AreaSeries1->SetYValue(5, -93);
    MainForm->AreaSeries1Click(MainForm->AreaSeries1, 5, mbLeft, {}, 0, 0);
    EXPECT_FALSE(MainForm->MvColBitBtn1->Checked());
    EXPECT_EQ(MainForm->MarkTimeIndex, 5);
    EXPECT_EQ(Utf8(MainForm->Chart2->Hint()), "-93");
    EXPECT_EQ(Utf8(MainForm->Chart2->Title()->Strings(2)), "Channel: 12ch  /  Freq.: 429.3125MHz  /  Level: -93dBm");
}

// The readouts are the charts' hints: the application's hint handling shows them as a tooltip
// where the user clicked and the pointer rests.
TEST_F(Charts, TheReadoutShowsAsTheChartsTooltip) {
    auto tipText = [] {
        std::vector<std::string> texts;
        for (const TTipWindowInfo& t : ui::ShownTipWindows()) texts.push_back(Utf8(t.Text));
        return texts;
    };
    struct Case {
        int page;
        TChart* chart;
        TChartSeries* series;
        int index;
        int clickLevel;  // inside the bar; on the area's point
        std::string tip;
    };
    MainForm->Show();
    MainForm->SetEnabled(true);
    MainForm->PageControl1->SetVisible(true);
    const Case cases[] = {
        {0, MainForm->Chart1, MainForm->Series1, 12, -100, "12ch  429.3125MHz  -85dBm"},
        {1, MainForm->Chart2, MainForm->AreaSeries1, 5, -85, "-85"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tip);
        EnterAirMonitor(c.page);
        MainForm->LevelTable[12] = -85;
        c.series->SetYValue(c.index, -85);
        Application->CancelHint();
        ASSERT_TRUE(c.chart->Showing());
        // A click inside the point, as the user makes it, then the pointer rests there.
        const int px = c.chart->BottomAxis()->CalcPosValue(c.index);
        const int py = c.chart->LeftAxis()->CalcPosValue(c.clickLevel);
        ui::test::Click(c.chart, px, py);
        ASSERT_EQ(Utf8(c.chart->Hint()), c.tip);
        ui::test::MouseMove(c.chart, px + 1, py);
        ui::test::AdvanceClock(**clock, Application->HintPause());
        EXPECT_EQ(tipText(), std::vector<std::string>{c.tip});
        Application->CancelHint();
        EXPECT_TRUE(tipText().empty());
    }
}

TEST_F(Charts, LevelTextsHaveAtMostFourDecimals) {
    const std::pair<double, const char*> cases[] = {
        {-85, "-85"}, {-100.6, "-100.6"}, {-100.123456, "-100.1235"}, {-140, "-140"}, {0, "0"}, {-99.5, "-99.5"}};
    for (auto [v, text] : cases) EXPECT_EQ(Utf8(TMainForm::LevelText(v)), text) << v;
}

TEST_F(Charts, ZoomKeepsTheLevelAxisAndTheMenuSwitchesTheLook) {
    // On the control page the zoom items do nothing.
    for (TMenuItem* m : {MainForm->Zoom2, MainForm->Zoom1}) m->Click();
    EXPECT_FALSE(MainForm->Chart1->Zoomed());
    EnterAirMonitor(0);
    MainForm->Zoom2->Click();
    EXPECT_TRUE(MainForm->Chart1->Zoomed());
    EXPECT_GT(MainForm->Chart1->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(MainForm->Chart1->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(MainForm->Chart1->LeftAxis()->Maximum(), -10);
    MainForm->Zoom1->Click();
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Maximum(), 46);
    EXPECT_EQ(MainForm->Chart1->LeftAxis()->Minimum(), -140);
    EXPECT_EQ(MainForm->Chart1->LeftAxis()->Maximum(), -10);

    MainForm->Point1->Click();
    EXPECT_EQ(MainForm->MvBar1->BarSettings()->Style(), bsPoint);
    EXPECT_TRUE(MainForm->Point1->Checked());
    EXPECT_FALSE(MainForm->LED1->Checked());
    MainForm->LED1->Click();
    EXPECT_EQ(MainForm->MvBar1->BarSettings()->Style(), bsLED_Bar);
    EXPECT_FALSE(MainForm->Point1->Checked());
    MainForm->N3D1->Click();
    EXPECT_TRUE(MainForm->Chart1->View3D() && MainForm->Chart2->View3D());
    MainForm->Normal1->Click();
    EXPECT_FALSE(MainForm->Chart1->View3D() || MainForm->Chart2->View3D());
}

TEST_F(Charts, TheMemoPanelWritesTheTitles) {
    EnterAirMonitor(0);
    MainForm->Edit5->SetText(String("run1"));
    MainForm->Edit4->SetText(String("2026/12/11 6:00:00"));
    MainForm->Edit3->SetText(String("roof"));
    MainForm->SpeedButton6Click(MainForm->SpeedButton6);
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(0)),
              "< Air monitor >   Model name: TQW-560R    429MHz    File name: run1    Date: 2026/12/11 6:00:00");
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(1)), "User Memo: roof");
    EXPECT_EQ(Utf8(MainForm->Chart2->Title()->Strings(1)), "User Memo: ");
    MainForm->SpeedButton8Click(MainForm->SpeedButton8);
    MainForm->SpeedButton12Click(MainForm->SpeedButton12);
    EXPECT_TRUE(MainForm->Edit3->Text().empty() && MainForm->Edit5->Text().empty());
    MainForm->SpeedButton18Click(MainForm->SpeedButton18);
    EXPECT_NE(Utf8(MainForm->Edit4->Text()), "2026/12/11 6:00:00");
}

}  // namespace
