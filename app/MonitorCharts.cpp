// The level charts' look and reactions: the overlays drawn after each drawing (threshold line,
// centre marker, analysis cross), the readouts of a clicked bar or sample, the threshold
// sliders, the chart items of the air monitor's menu and the memo panel that writes the titles.
#include <cmath>

#include "app/Main.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

String TMainForm::LevelText(double level) { return FormatFloat(String("0.####"), level); }

TChart* TMainForm::ShownChart() const { return PageControl2->ActivePage() == TabSheet6 ? Chart2 : Chart1; }

TChart* TMainForm::MeasuredChart() const {
    if (MeasureMode == 4) return Chart1;
    if (MeasureMode == 5) return Chart2;
    return nullptr;
}

// ---- overlays ------------------------------------------------------------------------------------

void TMainForm::DrawOverlay(TChart* chart, double threshold, TColor threLine, TColor centerLine) {
    TCanvas* c = chart->Canvas();
    const TRect r = chart->ChartRect();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    // The line sits at the whole dBm toward zero: -100.6 draws at -100.
    const int y = chart->LeftAxis()->CalcPosValue(std::trunc(threshold));
    c->Pen()->SetColor(threLine);
    c->MoveTo(r.Left, y);
    c->LineTo(r.Right, y);
    const int x = chart->ChartXCenter();
    c->Pen()->SetColor(centerLine);
    if (Centerline1->Checked()) {
        c->MoveTo(x, r.Top);
        c->LineTo(x, r.Bottom);
        return;
    }
    // A notch pointing inward at the top and at the bottom edge.
    for (int dx : {3, -3}) {
        c->MoveTo(x + dx, r.Top);
        c->LineTo(x, r.Top + 8);
        c->MoveTo(x + dx, r.Bottom);
        c->LineTo(x, r.Bottom - 8);
    }
}

void TMainForm::DrawAnalysisLines(TChart* chart, TChartSeries* series, int index, TColor color) {
    if (index < 0 || index >= series->Count()) return;
    TCanvas* c = chart->Canvas();
    const TRect r = chart->ChartRect();
    const int px = chart->BottomAxis()->CalcPosValue(series->XValue(index));
    const int py = chart->LeftAxis()->CalcPosValue(series->YValue(index));
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(color);
    c->MoveTo(px, r.Top);
    c->LineTo(px, r.Bottom);
    c->MoveTo(r.Left, py);
    c->LineTo(r.Right, py);
}

void TMainForm::Chart1AfterDraw(TObject* Sender) {
    DrawOverlay(Chart1, MvVSlider1->Value(), c1ThreLine, c1CenterLine);
    if (!Analizeline1->Checked()) return;
    if (AnalysisMark == 1) DrawAnalysisLines(Chart1, Series1, MarkFreqIndex, c1AnaLine1);
    if (AnalysisMark == 3) DrawAnalysisLines(Chart1, Series3, MarkFreqIndex, c1AnaLine2);
}

void TMainForm::Chart2AfterDraw(TObject* Sender) {
    DrawOverlay(Chart2, MvVSlider3->Value(), c2ThreLine, c2CenterLine);
    if (Analizeline1->Checked() && AnalysisMark == 1) DrawAnalysisLines(Chart2, AreaSeries1, MarkTimeIndex, c2AnaLine);
}

// ---- readouts ------------------------------------------------------------------------------------

namespace {

void BarReadout(TMainForm* f, TChart* chart, TChartSeries* series, int i) {
    String freq;
    f->ChannelFreqText(i, freq);
    const String level = TMainForm::LevelText(series->YValue(i));
    chart->SetHint(IntToStr(i) + "ch  " + freq + "MHz" + "  " + level + "dBm");
    chart->Title()->SetStrings(2, String("Channel: ") + IntToStr(i) + "ch  / Freq.: " + freq + "MHz   /   Level: " +
                                      level + "dBm");
}

}  // namespace

void TMainForm::Series1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X,
                             int Y) {
    // A bar outside the model's channels has no frequency to read.
    if (ValueIndex < CurMinCh || ValueIndex > CurMaxCh) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    const bool peak = Sender == Series3;
    AnalysisMark = peak ? 3 : 1;
    MarkFreqIndex = ValueIndex;
    MvColBitBtn15->SetChecked(false);
    if (Analizeline1->Checked()) Chart1->Repaint();
    ScanStartCh = StrToInt(ComboBox2->Text());
    BarReadout(this, Chart1, peak ? Series3 : Series1, ValueIndex);
}

void TMainForm::Series3Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X,
                             int Y) {
    Series1Click(Series3, ValueIndex, Button, Shift, X, Y);
}

void TMainForm::AreaSeries1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X,
                                 int Y) {
    AnalysisMark = 1;
    MarkTimeIndex = ValueIndex;
    MvColBitBtn1->SetChecked(false);
    if (Analizeline1->Checked()) Chart2->Repaint();
    const String level = LevelText(AreaSeries1->YValue(ValueIndex));
    Chart2->SetHint(level);
    String freq;
    ChannelFreqText(StrToInt(ComboBox4->Text()), freq);
    Chart2->Title()->SetStrings(2, String("Channel: ") + ComboBox4->Text() + "ch  /  Freq.: " + freq +
                                       "MHz  /  Level: " + level + "dBm");
}

// ---- thresholds ------------------------------------------------------------------------------------

void TMainForm::MvVSlider1ValueChange(TObject* Sender) {
    if (MvVSlider1->CanFocus()) MvVSlider1->SetFocus();
    Chart1->Repaint();
    ShowLevelBars();
}

void TMainForm::MvVSlider3ValueChange(TObject* Sender) {
    if (MvVSlider3->CanFocus()) MvVSlider3->SetFocus();
    Chart2->Repaint();
    ShowSamples();
}

// ---- menu items ------------------------------------------------------------------------------------

void TMainForm::ZoomMenuClick(TObject* Sender) {
    TChart* chart = MeasuredChart();
    if (!chart) return;
    if (Sender == Zoomout1) chart->ZoomPercent(75);
    else if (Sender == Zoom2) chart->ZoomPercent(125);
    else chart->UndoZoom();
}

void TMainForm::SetLevelAxis(TObject* Sender) {
    // Zooming only ever changes the horizontal range.
    if (auto* chart = dynamic_cast<TChart*>(Sender)) chart->LeftAxis()->SetMinMax(-140, -10);
}

void TMainForm::N3D1Click(TObject* Sender) {
    Chart1->SetView3D(true);
    Chart2->SetView3D(true);
}

void TMainForm::Normal1Click(TObject* Sender) {
    Chart1->SetView3D(false);
    Chart2->SetView3D(false);
}

void TMainForm::LED1Click(TObject* Sender) {
    MvBar1->BarSettings()->SetStyle(bsLED_Bar);
    LED1->SetChecked(true);
    Point1->SetChecked(false);
}

void TMainForm::Point1Click(TObject* Sender) {
    MvBar1->BarSettings()->SetStyle(bsPoint);
    Point1->SetChecked(true);
    LED1->SetChecked(false);
}

void TMainForm::Centerline1Click(TObject* Sender) {
    Centerline1->SetChecked(!Centerline1->Checked());
    Chart1->Repaint();
    Chart2->Repaint();
}

void TMainForm::Analizeline1Click(TObject* Sender) {
    Analizeline1->SetChecked(!Analizeline1->Checked());
    Chart1->Repaint();
    Chart2->Repaint();
}

// ---- memo panel and page buttons -------------------------------------------------------------------

void TMainForm::SpeedButton6Click(TObject* Sender) {
    TChart* chart = MeasuredChart();
    if (!chart) return;
    chart->Title()->SetStrings(0, String("< Air monitor >   Model name: ") + ComboBox5->Text() + "    File name: " +
                                      Edit5->Text() + "    Date: " + Edit4->Text());
    chart->Title()->SetStrings(1, String("User Memo: ") + Edit3->Text());
    if (chart->CanFocus()) chart->SetFocus();
}

void TMainForm::SpeedButton18Click(TObject* Sender) {
    const TDateTime now = Now();
    Edit4->SetText(FormatDateTime(String("ddddd"), now) + " " + FormatDateTime(String("tt"), now));
}

void TMainForm::SpeedButton8Click(TObject* Sender) {
    Edit3->SetText(String());
    if (Edit3->CanFocus()) Edit3->SetFocus();
}

void TMainForm::SpeedButton12Click(TObject* Sender) {
    Edit5->SetText(String());
    if (Edit5->CanFocus()) Edit5->SetFocus();
}

void TMainForm::SpeedButton5Click(TObject* Sender) { Memo2->Clear(); }

void TMainForm::CheckBox1Click(TObject* Sender) { AreaSeries1->Pointer()->SetVisible(CheckBox1->Checked()); }

void TMainForm::CheckBox2Click(TObject* Sender) { AreaSeries1->AreaLinesPen()->SetVisible(CheckBox2->Checked()); }
