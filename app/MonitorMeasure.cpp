// The air monitor's measurements: the channel sweep (frequency domain), clocked by the modem's
// level replies, the sampling of one channel over time on Timer1, the level replies' handlers
// that serve both and the terminal, the page changes of the monitor, and the elapsed-time counter.
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

namespace {

constexpr int kFloor = -140;

}  // namespace

// ---- frequency domain ---------------------------------------------------------------------------

void TMainForm::MvColBitBtn15StatusChanged(TObject* Sender) {
    if (!MvColBitBtn15->Checked()) {
        TxReady = 1;
        MvBar1->SetValue(0);
        EnableControls(2, true);
        RequestKind = 0;
        return;
    }
    // The range first: a text that is no number raises (the exception event reports it) and a
    // channel the tables do not hold is refused, both before anything changes or is queued.
    const int start = StrToInt(ComboBox2->Text());
    const int end = StrToInt(ComboBox3->Text());
    if (start < 0 || start > 127 || end < 0 || end > 127) {
        MessageBeep(MB_ICONEXCLAMATION);
        MvColBitBtn15->SetChecked(false);
        return;
    }
    AnalysisMark = 0;
    if (Chart1->CanFocus()) Chart1->SetFocus();
    Chart1->SetHint(String());
    for (int c = std::max(ScanStartCh, 0); c <= std::min(ScanEndCh, 127); ++c) {
        LevelTable[static_cast<size_t>(c)] = kFloor;
        Series1->SetYValue(c, kFloor);
    }
    ScanStartCh = start;
    ScanEndCh = end;
    ScanCh = static_cast<uint8_t>(start);
    EnableControls(2, false);
    MvBar1->SignalSettings()->SetValueFrom(static_cast<float>(start));
    MvBar1->SignalSettings()->SetValueTo(static_cast<float>(end));
    RespReady = 1;
    CommandOut(2, String("@RA"), String("@CH") + IntToHex(ScanCh, 2));
}

void TMainForm::MvColBitBtn15Click(TObject* Sender) {
    if (LinkMode == 0) return;
    MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(String("ｺﾏﾝﾄﾞﾓｰﾄﾞに切り替えて下さい"));
}

void TMainForm::SweepStep(int level) {
    const size_t ch = ScanCh;
    LevelTable[ch] = level;
    if (level >= PeakTable[ch]) PeakTable[ch] = level;
    MvBar1->SetValue(ScanCh);
    LogChannel = ScanCh;
    ++ScanCh;
    if (ScanCh < ScanEndCh + 1) return;
    // The sweep is complete: its bars change at once.
    ShowLevelBars();
    if (CheckBox3->Checked())
        for (int c = ScanStartCh; c <= ScanEndCh; ++c) Series3->SetYValue(c, PeakTable[static_cast<size_t>(c)]);
    ScanCh = static_cast<uint8_t>(ScanStartCh);
}

void TMainForm::ShowLevelBars() {
    for (int c = std::max(ScanStartCh, 0); c <= std::min(ScanEndCh, 127); ++c) {
        const int level = LevelTable[static_cast<size_t>(c)];
        Series1->SetYValue(c, level);
        Series1->SetValueColor(c, level >= MvVSlider1->Value() ? c1Over : c1Main);
    }
}

bool TMainForm::LevelElsewhere(int level) {
    switch (MeasureMode) {
    case 0:
        TerminalLine(String(">Noise level: ") + IntToStr(level) + "dBm");
        return true;
    case 4:
        return false;
    case 5:
        if (MvColBitBtn1->Checked()) SampleStep(level);
        return true;
    default:
        return true;
    }
}

void TMainForm::RssiNoiseLevel(int value) {
    const int level = -value;
    if (LevelElsewhere(level)) return;
    if (MvColBitBtn15->Checked()) {
        SweepStep(level);
        // RespReady is set by the parser as it closes this frame.
        CommandOut(2, String("@RA"), String("@CH") + IntToHex(ScanCh, 2));
    } else {
        // The reply to a command queued before the stop: the log line shows no digits.
        ++LogChannel;
        ReplyPayload.clear();
    }
}

void TMainForm::AirMonitorLevel(int value) {
    const int level = value - 256;
    if (LevelElsewhere(level) || !MvColBitBtn15->Checked()) return;
    SweepStep(level);
    RespReady = 1;
    CommandOut(1, String("@AM") + IntToHex(ScanCh, 2) + "08");
}

void TMainForm::LastRssiLevel(int value) {
    if (MeasureMode == 0) TerminalLine(String(">Last signal level received: ") + IntToStr(-value) + "dBm");
}

void TMainForm::ComboBox2Change(TObject* Sender) {
    MvColBitBtn15->SetChecked(false);
    if (StrToInt(ComboBox3->Text()) >= StrToInt(ComboBox2->Text())) return;
    MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(String("ｽﾀｰﾄﾁｬﾝﾈﾙはｴﾝﾄﾞﾁｬﾝﾈﾙよりも小さい番号を入れて下さい｡"));
}

void TMainForm::ComboBox3Change(TObject* Sender) {
    MvColBitBtn15->SetChecked(false);
    if (StrToInt(ComboBox3->Text()) >= StrToInt(ComboBox2->Text())) return;
    MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(String("ｴﾝﾄﾞﾁｬﾝﾈﾙはｽﾀｰﾄﾁｬﾝﾈﾙよりも大きい番号を入れて下さい｡"));
}

void TMainForm::CheckBox3Click(TObject* Sender) {
    const bool shown = CheckBox3->Checked();
    for (int c = CurMinCh; c <= CurMaxCh; ++c) Series3->SetYValue(c, shown ? PeakTable[static_cast<size_t>(c)] : kFloor);
}

void TMainForm::SpeedButton17Click(TObject* Sender) {
    for (int c = CurMinCh; c <= CurMaxCh; ++c) {
        PeakTable[static_cast<size_t>(c)] = kFloor;
        Series3->SetYValue(c, kFloor);
    }
}

void TMainForm::PageControl2Changing(TObject* Sender, bool& AllowChange) {
    MvColBitBtn15->SetChecked(false);
    MvColBitBtn1->SetChecked(false);
    AllowChange = true;
}

void TMainForm::PageControl2Change(TObject* Sender) {
    if (PageControl2->ActivePage() == TabSheet5) {
        MeasureMode = 4;
        StatusBar1->Panels()->Items(3)->SetText(String());
        MvVSlider1->SetValue(-100.0f);
        return;
    }
    MeasureMode = 5;
    MvVSlider3->SetValue(-100.0f);
    ScanCh = static_cast<uint8_t>(StrToInt(ComboBox4->Text()));
    RespReady = 1;
    CommandOut(1, String("@CH") + IntToHex(ScanCh, 2));
    MvNumEdit10->SetValueAsHex(IntToHex(ScanCh, 2));
    MvNumEdit11->SetValueAsHex(IntToHex(ScanCh, 2));
}

// ---- time domain ----------------------------------------------------------------------------------

void TMainForm::MvColBitBtn1StatusChanged(TObject* Sender) {
    if (!MvColBitBtn1->Checked()) {
        TxReady = 1;
        MvBar2->SetValue(0);
        EnableControls(2, true);
        RequestKind = 0;
        Timer1->SetEnabled(false);
        return;
    }
    AnalysisMark = 0;
    if (Chart2->CanFocus()) Chart2->SetFocus();
    Chart2->SetHint(String());
    Timer1->SetInterval(static_cast<UINT>(MvNumSpin2->Value()));
    Timer1->SetEnabled(true);
    const int n = static_cast<int>(MvNumSpin3->Value());
    for (int i = 0; i <= n; ++i) {
        SampleTable[static_cast<size_t>(i)] = kFloor;
        AreaSeries1->SetYValue(i, kFloor);
    }
    SampleIndex = 1;
    ScanCh = static_cast<uint8_t>(StrToInt(ComboBox4->Text()));
    LogChannel = ScanCh;
    MvBar2->SignalSettings()->SetValueFrom(0);
    MvBar2->SignalSettings()->SetValueTo(static_cast<float>(n));
    EnableControls(2, false);
    // The channel went out when the page or the channel was chosen.
    CommandOut(1, String("@RA"));
}

void TMainForm::MvColBitBtn1Click(TObject* Sender) { MvColBitBtn15Click(Sender); }

void TMainForm::Timer1Timer(TObject* Sender) {
    // Replaces the queue without releasing it: at most one "@RA" waits for the last reply.
    const int mode = RadioGroup4->ItemIndex();
    if (mode == 0 || mode == 1) CommandOut(1, String("@RA"));
}

void TMainForm::SampleStep(int level) {
    const int n = static_cast<int>(MvNumSpin3->Value());
    const int i = std::clamp(SampleIndex, 0, 5000);
    AreaSeries1->SetYValue(i, level);
    SampleTable[static_cast<size_t>(i)] = level;
    MvBar2->SetValue(static_cast<float>(i - 1));
    StatusBar1->Panels()->Items(3)->SetText(IntToStr(i));
    AreaSeries1->SetValueColor(i, level >= MvVSlider3->Value() ? c2Over : c2Main);
    SampleIndex = i + 1;
    if (i < n) return;
    // Without a mode chosen the index wraps as in repeat mode, so it never leaves the table.
    SampleIndex = 1;
    if (RadioGroup4->ItemIndex() == 1) {
        MvColBitBtn1->SetChecked(false);
        Chart2->Repaint();
    }
}

void TMainForm::ShowSamples() {
    const int n = std::min(static_cast<int>(MvNumSpin3->Value()), 5000);
    for (int i = 0; i <= n; ++i) {
        const int level = SampleTable[static_cast<size_t>(i)];
        AreaSeries1->SetYValue(i, level);
        AreaSeries1->SetValueColor(i, level >= MvVSlider3->Value() ? c2Over : c2Main);
    }
}

void TMainForm::ComboBox4Change(TObject* Sender) {
    MvColBitBtn1->SetChecked(false);
    const String text = ComboBox4->Text();
    const int channel = StrToInt(text);
    String freq;
    ChannelFreqText(channel, freq);
    Chart2->Title()->SetStrings(2, String("Channel: ") + text + "ch  /  " + "Freq.: " + freq + "MHz  /  Level:  " +
                                       LevelText(AreaSeries1->YValue(MarkTimeIndex)) + "dBm");
    ScanCh = static_cast<uint8_t>(channel);
    LogChannel = ScanCh;
    RespReady = 1;
    CommandOut(1, String("@CH") + IntToHex(ScanCh, 2));
    MvNumEdit10->SetValueAsHex(IntToHex(ScanCh, 2));
    MvNumEdit11->SetValueAsHex(IntToHex(ScanCh, 2));
}

void TMainForm::MvNumSpin3ValueChanged(TObject* Sender) {
    Chart2->UndoZoom();
    for (int i = 0; i <= 5000; ++i) AreaSeries1->SetYValue(i, kFloor);
    MvColBitBtn1->SetChecked(false);
    Chart2->Repaint();
    const int n = static_cast<int>(MvNumSpin3->Value());
    Chart2->BottomAxis()->SetMinMax(1, n);
}

void TMainForm::MvNumSpin2ValueChanged(TObject* Sender) { Timer1->SetInterval(static_cast<UINT>(MvNumSpin2->Value())); }

void TMainForm::RadioGroup4Click(TObject* Sender) {
    MvColBitBtn1->SetEnabled(true);
    MvColBitBtn1->SetChecked(false);
    SampleIndex = 1;
    MvBar2->SetValue(0);
    for (int i = 0; i <= 5000; ++i) AreaSeries1->SetYValue(i, kFloor);
}

// ---- elapsed-time counter ---------------------------------------------------------------------

void TMainForm::MvColBitBtn14Click(TObject* Sender) {
    if (MvColBitBtn14->Checked()) {
        MvOpHourCounter1->SetCount(false);
        MvOpHourCounter1->Font()->SetColor(0x00FF00);
        MvOpHourCounter1->SetTime(0, 0, 0);
        MvOpHourCounter1->SetCount(true);
    } else {
        MvOpHourCounter1->Font()->SetColor(0x0000FF);
        MvOpHourCounter1->SetCount(false);
    }
}

void TMainForm::MvOpHourCounter1Click(TObject* Sender) {
    MvOpHourCounter1->Font()->SetColor(0x0000FF);
    MvOpHourCounter1->SetCount(false);
    MvColBitBtn14->SetChecked(false);
}
