// The model choice and what it sets up: both level charts and their controls for the model's
// channel range, the link type and the window caption; and the colours of the settings file.
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

void TMainForm::ComboBox5Change(TObject* Sender) {
    // Text typed into the box with no model selected chooses nothing.
    if (ComboBox5->ItemIndex() < 0) return;
    SetupFreqGraph();
    SetupTimeGraph();
    MvColBitBtn15->SetChecked(false);
    MvColBitBtn1->SetChecked(false);
    VrDemoButton3->SetEnabled(true);
    VrDemoButton2->SetEnabled(true);
    const String name = ComboBox5->Items()->Strings(ComboBox5->ItemIndex());
    if (name.find(u"LAN") != String::npos) {
        LinkType = String("TCP/IP");
        SetCaption(FormCaptionPrefix + " for " + name + " ( Uses TCP/IP )");
    } else {
        LinkType = String("Normal");
        SetCaption(FormCaptionPrefix + " for " + name);
    }
}

void TMainForm::SetupFreqGraph() {
    Chart1->Title()->Clear();
    Chart1->Title()->Add(String("< Air monitor >   Model name:     File name:     Date: "));
    Chart1->Title()->Add(String("User Memo: "));
    Chart1->Title()->Add(String("Channel:   ch  /  Freq.:      MHz  /  Level:   dBm"));
    MvBar1->SetValue(0);
    // The maximum first, so the new minimum is never above the old maximum.
    Chart1->BottomAxis()->SetMaximum(1000);
    SelectModel(ComboBox5->ItemIndex());
    Chart1->BottomAxis()->SetMinimum(CurMinCh);
    Chart1->BottomAxis()->SetMaximum(CurMaxCh);
    ScanStartCh = CurMinCh;
    ScanEndCh = CurMaxCh;
    for (int ch = 0; ch <= CurMaxCh; ++ch) {
        Series1->SetYValue(ch, -140.0);
        Series3->SetYValue(ch, -140.0);
    }
    for (TComboBox* box : {ComboBox2, ComboBox3}) {
        box->Items()->BeginUpdate();
        box->Items()->Clear();
        for (int ch = CurMinCh; ch <= CurMaxCh; ++ch) box->Items()->Add(IntToStr(ch));
        box->Items()->EndUpdate();
    }
    ComboBox2->SetText(IntToStr(CurMinCh));
    ComboBox3->SetText(IntToStr(CurMaxCh));
    Series1->SetBarWidthPercent(CurGWidth);
    Series3->SetBarWidthPercent(CurGWidth);
}

void TMainForm::SetupTimeGraph() {
    Chart2->Title()->Clear();
    Chart2->Title()->Add(String("< Air monitor >   Model name:     File name:     Date: "));
    Chart2->Title()->Add(String("User Memo: "));
    Chart2->Title()->Add(String("Channel:   ch  /  Freq.:      MHz  /  Level:   dBm"));
    SelectModel(ComboBox5->ItemIndex());
    for (int i = 0; i <= 5000; ++i) AreaSeries1->SetYValue(i, -140.0);
    ComboBox4->Items()->BeginUpdate();
    ComboBox4->Items()->Clear();
    for (int ch = CurMinCh; ch <= CurMaxCh; ++ch) ComboBox4->Items()->Add(IntToStr(ch));
    ComboBox4->Items()->EndUpdate();
    ComboBox4->SetText(IntToStr(CurMinCh));
    MvNumSpin3->SetValue(100);
    MvBar2->SetValue(0);
    CurrentChannel = CurMinCh;
}

void TMainForm::ChannelFreqText(int channel, String& text) const {
    ChannelFreq(ComboBox5->ItemIndex(), channel, text);
}

void TMainForm::setColor() {
    Memo1->SetColor(ContBack);
    Memo1->Font()->SetColor(ContFont);
    Series3->SetSeriesColor(c1Peak);
    ShowLevelBars();
    Chart1->Gradient()->SetEndColor(c1End);
    Chart1->Gradient()->SetStartColor(c1Start);
    ShowSamples();
    Chart2->Gradient()->SetEndColor(c2End);
    Chart2->Gradient()->SetStartColor(c2Start);
    AreaSeries1->Pointer()->SetColor(c2Point);
    AreaSeries1->AreaLinesPen()->SetColor(c2AreaLine);
}
