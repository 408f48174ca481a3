// The main window's design: its components, their names, captions, limits and first values.
#include "app/Design.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

void TMainForm::BuildControls() {
    SetName(String("MainForm"));
    SetCaption(String("特定小電力超長距離無線モデム ： TQW560R　評価プログラム"));
    SetBorderStyle(bsSingle);
    SetShowHint(true);
    SetEnabled(false);  // the start-up notice enables it
    SetClientWidth(1147);
    SetClientHeight(687);
    // The height is the design's; the width may be changed within these limits.
    TSizeConstraints limits;
    limits.MinWidth = 1024;
    limits.MaxWidth = 1500;
    SetConstraints(limits);

    ComPort1 = new TComPort(this);
    ComPort1->SetName(String("ComPort1"));
    ComPort1->SetBaudRate(br19200);
    ComPort1->SetPort(String("ttyS0"));
    ComPort1->SetDataBits(dbEight);
    ComPort1->SetStopBits(sbOneStopBit);
    ComPort1->Parity()->SetBits(prNone);
    ComPort1->SetEvents({evRxChar, evTxEmpty, evCTS, evDSR, evError});
    ComPort1->Buffer()->SetInputSize(512);
    ComPort1->Buffer()->SetOutputSize(512);
    ComPort1->FlowControl()->SetOutCTSFlow(true);
    ComPort1->FlowControl()->SetControlDTR(dtrEnable);
    ComPort1->FlowControl()->SetControlRTS(rtsHandshake);
    ComPort1->Timeouts()->SetReadTotalConstant(3000);
    ComPort1->Timeouts()->SetWriteTotalMultiplier(0);
    ComPort1->Timeouts()->SetWriteTotalConstant(3000);
    ComPort1->SetSyncMethod(smNone);

    ApplicationEvents1 = new TApplicationEvents(this);
    ApplicationEvents1->SetName(String("ApplicationEvents1"));

    const DWORD timerIntervals[] = {100, 700, 2000};
    TVrTimer** timers[] = {&VrTimer1, &VrTimer2, &VrTimer3};
    for (int i = 0; i < 3; ++i) {
        TVrTimer* t = new TVrTimer(this);
        t->SetName(String("VrTimer") + IntToStr(i + 1));
        t->SetTimerType(ttSystem);
        t->SetEnabled(false);
        t->SetInterval(timerIntervals[i]);
        *timers[i] = t;
    }

    FontDialog1 = new TFontDialog(this);
    FontDialog1->SetName(String("FontDialog1"));
    FontDialog1->SetOptions(TFontDialogOptions{fdEffects, fdApplyButton});

    BuildMenus();
    BuildTopPanel();

    StatusBar1 = Place<TStatusBar>(this, this, "StatusBar1", 0, 667, 1147, 20);
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetSizeGrip(false);
    const int panelWidths[] = {220, 110, 180, 100, 50};
    for (int w : panelWidths) StatusBar1->Panels()->Add()->SetWidth(w);
    StatusBar1->Panels()->Items(4)->SetAlignment(taRightJustify);
    StatusBar1->Panels()->Items(4)->SetText(String("Link"));

    // The memo panel of the air monitor, shown while that page is.
    Panel2 = Place<TPanel>(this, this, "Panel2", 0, 637, 1147, 30);
    Panel2->SetAlign(alBottom);
    Panel2->SetBevelOuter(bvNone);
    Edit3 = Place<TEdit>(this, Panel2, "Edit3", 8, 4, 380, 22);
    Edit3->SetHint(String("ﾕｰｻﾞｰﾒﾓ"));
    Edit5 = Place<TEdit>(this, Panel2, "Edit5", 396, 4, 260, 22);
    Edit5->SetHint(String("ﾌｧｲﾙ名"));
    Edit4 = Place<TEdit>(this, Panel2, "Edit4", 664, 4, 180, 22);
    Edit4->SetHint(String("日付・時間"));
    SpeedButton6 = Place<TSpeedButton>(this, Panel2, "SpeedButton6", 852, 4, 70, 22);
    SpeedButton6->SetCaption(String("書込み"));
    for (TControl* c : std::initializer_list<TControl*>{SpeedButton6, Edit3, Edit4, Edit5}) c->SetVisible(false);

    PageControl1 = Place<TPageControl>(this, this, "PageControl1", 0, 64, 1147, 573);
    PageControl1->SetAlign(alClient);
    PageControl1->SetMultiLine(true);
    PageControl1->SetTabHeight(20);
    PageControl1->SetVisible(false);  // until the port is open
    TabSheet4 = Sheet(this, PageControl1, "TabSheet4", " ｺﾝﾄﾛｰﾙ&&ﾃｽﾄ   ");
    TabSheet1 = Sheet(this, PageControl1, "TabSheet1", " ｴｱｰﾓﾆﾀ  ");
    BuildTerminalPage();
    BuildAirMonitorPage();
    BuildMonitorControls();

    MemoryStream1 = std::make_unique<TMemoryStream>();
    MemoryStream2 = std::make_unique<TMemoryStream>();
    MemoryStream3 = std::make_unique<TMemoryStream>();
    ByteStream1 = std::make_unique<TMemoryStream>();
    ByteStream2 = std::make_unique<TMemoryStream>();
    StringStream1 = std::make_unique<TStringStream>();

    BuildPortSettings();

    // The form's components are complete: they are loaded, as from the form's resource.
    for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
}

void TMainForm::BuildMenus() {
    auto item = [this](const char* name, const char* caption, TShortCut key) {
        TMenuItem* m = NewItem(this, String(caption), key);
        m->SetName(String(name));
        return m;
    };
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName(String("MainMenu1"));
    File1 = item("File1", "ﾌｧｲﾙ", scNone);
    Imageviewer2 = item("Imageviewer2", "ｲﾒｰｼﾞﾋﾞｭｰｱ", ShortCut('I', {ssCtrl}));
    Closet1 = item("Closet1", "閉じる", ShortCut('Q', {ssCtrl}));
    Closet1->OnClick = [this](TObject* s) { Closet1Click(s); };
    File1->Add(Imageviewer2);
    File1->Add(Closet1);
    Setting1 = item("Setting1", "ｾｯﾃｨﾝｸﾞ", scNone);
    SetCom = item("SetCom", "COMﾎﾟｰﾄ", ShortCut(VK_F2, {}));
    Option1 = item("Option1", "ｵﾌﾟｼｮﾝ", ShortCut('O', {ssCtrl}));
    Setting1->Add(SetCom);
    Setting1->Add(Option1);
    Help1 = item("Help1", "ﾍﾙﾌﾟ", scNone);
    Version1 = item("Version1", "ﾊﾞｰｼﾞｮﾝ", scNone);
    Help1->Add(Version1);
    MainMenu1->Items()->Add(File1);
    MainMenu1->Items()->Add(Setting1);
    MainMenu1->Items()->Add(Help1);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName(String("PopupMenu1"));
    Savegraphdata2 = item("Savegraphdata2", "ｸﾞﾗﾌﾃﾞｰﾀ保存", ShortCut('S', {ssCtrl}));
    Loadgraphdata2 = item("Loadgraphdata2", "ｸﾞﾗﾌﾃﾞｰﾀ読込", ShortCut('L', {ssCtrl}));
    Saveimagefile2 = item("Saveimagefile2", "ｸﾞﾗﾌを画像ﾌｧｲﾙとして保存", ShortCut('G', {ssCtrl}));
    Printgraph2 = item("Printgraph2", "ｸﾞﾗﾌ印刷", ShortCut('P', {ssCtrl}));
    Option2 = item("Option2", "ｵﾌﾟｼｮﾝ", scNone);
    for (TMenuItem* m : {Savegraphdata2, Loadgraphdata2, Saveimagefile2, Printgraph2}) {
        m->SetEnabled(false);  // only while the air monitor shows
        PopupMenu1->Items()->Add(m);
    }
    PopupMenu1->Items()->Add(Option2);

    PopupMenu2 = new TPopupMenu(this);
    PopupMenu2->SetName(String("PopupMenu2"));
    Font1 = item("Font1", "ﾌｫﾝﾄ設定", scNone);
    Font1->OnClick = [this](TObject* s) { Font1Click(s); };
    PopupMenu2->Items()->Add(Font1);
    SetPopupMenu(PopupMenu2);
}

void TMainForm::BuildTopPanel() {
    Panel1 = Place<TPanel>(this, this, "Panel1", 0, 0, 1147, 64);
    Panel1->SetAlign(alTop);

    VrDemoButton3 = Place<TVrDemoButton>(this, Panel1, "VrDemoButton3", 8, 8, 110, 48);
    VrDemoButton3->SetCaption(String("COMﾎﾟｰﾄ"));
    VrDemoButton3->SetEnabled(false);  // until a model is chosen
    VrDemoButton3->OnClick = [this](TObject* s) { VrDemoButton3Click(s); };
    VrDemoButton2 = Place<TVrDemoButton>(this, Panel1, "VrDemoButton2", 124, 8, 110, 22);
    VrDemoButton2->SetCaption(String("COMｾｯﾃｨﾝｸﾞ"));
    VrDemoButton2->SetEnabled(false);
    VrDemoButton33 = Place<TVrDemoButton>(this, Panel1, "VrDemoButton33", 124, 34, 110, 22);
    VrDemoButton33->SetCaption(String("ﾘｽﾀｰﾄ"));

    ComboBox5 = Place<TComboBox>(this, Panel1, "ComboBox5", 246, 21, 250, 22);
    ComboBox5->SetStyle(csDropDown);
    ComboBox5->SetEnabled(false);  // the start-up notice enables it
    ComboBox5->OnChange = [this](TObject* s) { ComboBox5Change(s); };

    MvLED88 = Place<TMvLED>(this, Panel1, "MvLED88", 508, 8, 64, 48);
    MvLED88->SetCaption(String("COM"));
    MvLED88->SetLED_Position(TLEDPos::lpTop);
    MvLED88->SetMode(mIndicator);
    MvLED88->OnStatusChanged = [this](TObject* s) { MvLED88StatusChanged(s); };

    auto lamp = [this](const char* name, const char* caption, int left, int top) {
        auto* b = Place<TVrPowerButton>(this, Panel1, name, left, top, 66, 22);
        b->SetCaption(String(caption));
        return b;
    };
    VrPowerButton5 = lamp("VrPowerButton5", "DSR", 582, 8);
    VrPowerButton6 = lamp("VrPowerButton6", "CTS", 582, 34);
    VrPowerButton7 = lamp("VrPowerButton7", "DTR", 654, 8);

    MvColBitBtn4 = Place<TMvColBitBtn>(this, Panel1, "MvColBitBtn4", 730, 8, 150, 48);
    MvColBitBtn4->SetMode(mIndicator);
    MvColBitBtn4->SetChecked(true);  // shows its on-colour and on-text, which the mode replies set
    MvColBitBtn4->GradBtnFace()->SetVisible(false);
    MvColBitBtn4->SetTextColOn(clBlack);

    Legend(this, Panel1, "ﾁｬﾝﾈﾙ", 892, 4);
    MvNumEdit10 = NumberDisplay(this, Panel1, "MvNumEdit10", 892, 24, 60, ebHex);
    MvNumEdit11 = NumberDisplay(this, Panel1, "MvNumEdit11", 958, 24, 60, ebInt);
}

void TMainForm::BuildAirMonitorPage() {
    PageControl2 = Place<TPageControl>(this, TabSheet1, "PageControl2", 4, 4, 860, 530);
    TabSheet5 = Sheet(this, PageControl2, "TabSheet5", "    周波数領域測定    ");
    TabSheet6 = Sheet(this, PageControl2, "TabSheet6", "    時間領域測定    ");
    Memo2 = Place<TMemo>(this, TabSheet1, "Memo2", 870, 4, 267, 530);
    Memo2->SetScrollBars(ssVertical);

    auto levelAxis = [](TChartAxis* a) {
        a->SetMinMax(-140, -10);
        a->SetIncrement(10);
        a->SetMinorTickCount(4);
        a->SetTitle(String("受信ﾚﾍﾞﾙ[dBm]"));
    };
    auto slider = [this](TWinControl* parent, const char* name) {
        auto* s = Place<TMvVSlider>(this, parent, name, 790, 4, 60, 454);
        s->SignalSettings()->SetValueFrom(-140);
        s->SignalSettings()->SetValueTo(-10);
        s->SignalSettings()->SetValueUnit(String("dBm"));
        s->SignalSettings()->SetValueFormat(String("###0"));  // room for "-140"
        s->SetOptions({TMvVSlider::opBevelOuter, TMvVSlider::opValue});
        s->SetValue(-100);
        s->SetEnabled(false);
        return s;
    };
    auto bar = [this](TWinControl* parent, const char* name) {
        auto* b = Place<TMvBar>(this, parent, name, 470, 466, 370, 28);
        b->BarSettings()->SetStyle(bsLED_Bar);
        b->BarSettings()->SetOptions({});  // progress only, no figure
        return b;
    };
    auto startButton = [this](TWinControl* parent, const char* name) {
        auto* b = Place<TMvColBitBtn>(this, parent, name, 6, 464, 100, 32);
        b->SetMode(mSwitch);
        b->SetTextOff(String("開始"));
        b->SetTextOn(String("停止"));
        b->SetEnabled(false);
        return b;
    };

    // Frequency domain.
    Chart1 = Place<TChart>(this, TabSheet5, "Chart1", 4, 4, 780, 454);
    Chart1->BottomAxis()->SetMinMax(7, 46);
    Chart1->BottomAxis()->SetIncrement(1);
    Chart1->BottomAxis()->SetGridCentered(true);
    Chart1->BottomAxis()->SetTitle(String("ﾁｬﾝﾈﾙ"));
    levelAxis(Chart1->LeftAxis());
    Chart1->SetAllowZoom(true);
    Chart1->SetAllowPanning(true);
    Chart1->SetPanButton(mbMiddle);
    Series3 = new TBarSeries(this);
    Series3->SetName(String("Series3"));
    Series3->SetParentChart(Chart1);
    Series1 = new TBarSeries(this);
    Series1->SetName(String("Series1"));
    Series1->SetParentChart(Chart1);
    Series1->SetSeriesColor(c1Main);
    MvVSlider1 = slider(TabSheet5, "MvVSlider1");
    MvColBitBtn15 = startButton(TabSheet5, "MvColBitBtn15");
    Legend(this, TabSheet5, "開始ﾁｬﾝﾈﾙ", 120, 470);
    ComboBox2 = ChoiceList(this, TabSheet5, "ComboBox2", 196, 466, 70);
    Legend(this, TabSheet5, "終了ﾁｬﾝﾈﾙ", 280, 470);
    ComboBox3 = ChoiceList(this, TabSheet5, "ComboBox3", 356, 466, 70);
    MvBar1 = bar(TabSheet5, "MvBar1");

    // Time domain.
    Chart2 = Place<TChart>(this, TabSheet6, "Chart2", 4, 4, 780, 454);
    Chart2->BottomAxis()->SetMinMax(1, 30);
    Chart2->BottomAxis()->SetIncrement(1);
    Chart2->BottomAxis()->SetTitle(String("ｻﾝﾌﾟﾘﾝｸﾞﾎﾟｲﾝﾄ"));
    levelAxis(Chart2->LeftAxis());
    Chart2->SetAllowZoom(false);
    Chart2->SetAllowPanning(true);
    Chart2->SetPanButton(mbLeft);
    AreaSeries1 = new TAreaSeries(this);
    AreaSeries1->SetName(String("AreaSeries1"));
    AreaSeries1->SetParentChart(Chart2);
    AreaSeries1->Pointer()->SetVisible(true);
    AreaSeries1->AreaLinesPen()->SetVisible(false);
    AreaSeries1->LinePen()->SetVisible(false);
    MvVSlider3 = slider(TabSheet6, "MvVSlider3");
    MvColBitBtn1 = startButton(TabSheet6, "MvColBitBtn1");
    Legend(this, TabSheet6, "測定ﾁｬﾝﾈﾙ", 120, 470);
    ComboBox4 = ChoiceList(this, TabSheet6, "ComboBox4", 196, 466, 70);
    Legend(this, TabSheet6, "ｻﾝﾌﾟﾘﾝｸﾞ数", 280, 470);
    MvNumSpin3 = Place<TMvNumSpin>(this, TabSheet6, "MvNumSpin3", 356, 466, 90, 22);
    MvNumSpin3->SetEditBase(ebInt);
    MvNumSpin3->SetMinValue(10);
    MvNumSpin3->SetMaxValue(5000);
    MvNumSpin3->SetOptions({eoLimitMin, eoLimitMax});
    MvNumSpin3->SetIncrement(10);
    MvNumSpin3->SetValue(5000);
    MvBar2 = bar(TabSheet6, "MvBar2");
    PageControl2->SetActivePage(TabSheet5);
}
