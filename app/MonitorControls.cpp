// The air monitor's part of the main window's design: the time page's controls, the peak and log
// buttons, the memo panel's buttons, the elapsed-time counter, the chart menu items, the file,
// picture, print and colour dialogs, and the events that tie them to their handlers.
#include <initializer_list>

#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, const TRect& r) {
    auto* c = NewComponent<T>(owner);
    c->SetName(String(name));
    if (parent) c->SetParent(parent);
    c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    return c;
}

TRect At(int left, int top, int width, int height) { return TRect(left, top, left + width, top + height); }

void Legend(TComponent* owner, TWinControl* parent, const char* text, int left, int top) {
    auto* l = new TLabel(owner);
    l->SetParent(parent);
    l->SetBounds(left, top, 76, 16);
    l->SetCaption(String(text));
}

}  // namespace

void TMainForm::BuildMonitorControls() {
    Timer1 = new TTimer(this);
    Timer1->SetName(String("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(270);

    // Frequency page: the peak display and its clearing beside the progress bar.
    MvBar1->SetBounds(560, 466, 224, 28);
    CheckBox3 = Make<TCheckBox>(this, TabSheet5, "CheckBox3", At(440, 470, 112, 20));
    CheckBox3->SetCaption(String("ﾋﾟｰｸ値表示"));
    CheckBox3->SetChecked(true);
    SpeedButton17 = Make<TSpeedButton>(this, TabSheet5, "SpeedButton17", At(790, 466, 60, 28));
    SpeedButton17->SetCaption(String("ｸﾘｱ"));
    SpeedButton17->SetHint(String("ﾋﾟｰｸｸﾞﾗﾌを消去します。"));

    // Time page: a row of settings between the chart and the start button.
    Chart2->SetBounds(4, 4, 780, 420);
    RadioGroup4 = Make<TRadioGroup>(this, TabSheet6, "RadioGroup4", At(6, 422, 186, 42));
    RadioGroup4->SetCaption(String(" 測定ﾓｰﾄﾞ "));
    RadioGroup4->SetColumns(2);
    RadioGroup4->Items()->Add(String("ﾘﾋﾟｰﾄ"));
    RadioGroup4->Items()->Add(String("ﾜﾝｼｮｯﾄ"));
    RadioGroup4->SetItemIndex(0);
    Legend(this, TabSheet6, "ｻﾝﾌﾟﾘﾝｸﾞ時間", 200, 436);
    MvNumSpin2 = Make<TMvNumSpin>(this, TabSheet6, "MvNumSpin2", At(280, 432, 90, 22));
    MvNumSpin2->SetEditBase(ebInt);
    MvNumSpin2->SetMinValue(30);
    MvNumSpin2->SetOptions({eoLimitMin});
    MvNumSpin2->SetIncrement(10);
    MvNumSpin2->SetValue(30);
    Legend(this, TabSheet6, " ms ", 374, 436);
    CheckBox1 = Make<TCheckBox>(this, TabSheet6, "CheckBox1", At(470, 434, 80, 20));
    CheckBox1->SetCaption(String("ﾎﾟｲﾝﾄ"));
    CheckBox1->SetChecked(true);
    CheckBox2 = Make<TCheckBox>(this, TabSheet6, "CheckBox2", At(560, 434, 80, 20));
    CheckBox2->SetCaption(String("ﾗｲﾝ"));

    // The level log and its emptying.
    Memo2->SetBounds(870, 4, 267, 500);
    SpeedButton5 = Make<TSpeedButton>(this, TabSheet1, "SpeedButton5", At(870, 508, 267, 24));
    SpeedButton5->SetCaption(String("ﾛｸﾞ消去"));

    // Memo panel: an emptying button after the memo and the file name, the clock button after
    // the date; then the elapsed-time counter, which shows on every page.
    Edit3->SetBounds(8, 4, 354, 22);
    SpeedButton8 = Make<TSpeedButton>(this, Panel2, "SpeedButton8", At(364, 4, 24, 22));
    Edit5->SetBounds(396, 4, 234, 22);
    SpeedButton12 = Make<TSpeedButton>(this, Panel2, "SpeedButton12", At(632, 4, 24, 22));
    for (TSpeedButton* b : {SpeedButton8, SpeedButton12}) b->SetCaption(String("×"));
    SpeedButton18 = Make<TSpeedButton>(this, Panel2, "SpeedButton18", At(926, 4, 44, 22));
    SpeedButton18->SetCaption(String("取得"));
    for (TControl* c : std::initializer_list<TControl*>{SpeedButton8, SpeedButton12, SpeedButton18}) c->SetVisible(false);
    MvColBitBtn14 = Make<TMvColBitBtn>(this, Panel2, "MvColBitBtn14", At(978, 3, 70, 24));
    MvColBitBtn14->SetMode(mSwitch);
    MvColBitBtn14->SetTextOff(String("計時"));
    MvColBitBtn14->SetTextOn(String("計時"));
    MvColBitBtn14->SetHint(String("時間測定を開始/停止します"));
    MvOpHourCounter1 = Make<TMvOpHourCounter>(this, Panel2, "MvOpHourCounter1", At(1052, 3, 90, 24));
    MvOpHourCounter1->SetHint(String("ｶｳﾝﾀｰ：　ｸﾘｯｸすると停止します"));
    // Shown as the preset reads: 0:00:00.
    MvOpHourCounter1->SetIndicate(oiHourMinSec);
    MvOpHourCounter1->SetHourDigits(1);
    for (auto set : {&TMvOpHourCounter::SetSeparatorHour, &TMvOpHourCounter::SetSeparatorMin,
                     &TMvOpHourCounter::SetSeparatorSec})
        (MvOpHourCounter1->*set)(String());

    Image1 = Make<TImage>(this, this, "Image1", At(0, 0, 16, 16));
    Image1->SetVisible(false);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName(String("SaveDialog1"));
    SaveDialog1->SetOptions({ofHideReadOnly, ofOverwritePrompt, ofEnableSizing});
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName(String("OpenDialog1"));
    OpenPictureDialog1 = new TOpenPictureDialog(this);
    OpenPictureDialog1->SetName(String("OpenPictureDialog1"));
    PrintDialog1 = new TPrintDialog(this);
    PrintDialog1->SetName(String("PrintDialog1"));
    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->SetName(String("ColorDialog1"));
    ColorDialog1->SetOptions({cdFullOpen, cdSolidColor});
    // Sixteen custom colours: the charts' defaults first, then greys.
    const TColor custom[16] = {0xF0CAA6, 0xFF0000, 0xC0C0C0, 0xC4CCD2, 0xFFFFFF, 0x0000FF, 0x808000, 0x808080,
                               0xFFFF00, 0x000000, 0x800000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0x404040, 0xE0E0E0};
    for (int i = 0; i < 16; ++i) ColorDialog1->SetCustomColor(i, custom[i]);

    // The chart items of the air monitor's menu, after its file and picture items.
    auto item = [this](const char* name, const char* caption, TShortCut key) {
        TMenuItem* m = NewItem(this, String(caption), key);
        m->SetName(String(name));
        return m;
    };
    Copytoclipboard1 = item("Copytoclipboard1", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", ShortCut('C', {ssCtrl}));
    Imageviewer1 = item("Imageviewer1", "ｲﾒｰｼﾞﾋﾞｭｰｱ", ShortCut('I', {ssCtrl}));
    Zoomout1 = item("Zoomout1", "ｽﾞｰﾑｱｳﾄ：　ﾏｳｽ左ﾎﾞﾀﾝ左ﾄﾞﾗｯｸﾞ", ShortCut(VK_F10, {}));
    Zoom2 = item("Zoom2", "ｽﾞｰﾑｲﾝ：　ﾏｳｽ左ﾎﾞﾀﾝ右ﾄﾞﾗｯｸﾞ", ShortCut(VK_F11, {}));
    Zoom1 = item("Zoom1", "ｽﾞｰﾑ取消", ShortCut(VK_F12, {}));
    N3 = item("N3", "ｸﾞﾗﾌ移動：　ﾏｳｽ中央ﾎﾞﾀﾝﾄﾞﾗｯｸﾞ", scNone);
    Appearance1 = item("Appearance1", "ｸﾞﾗﾌ外観", scNone);
    N3D1 = item("N3D1", "3D", ShortCut(VK_F3, {}));
    Normal1 = item("Normal1", "ﾉｰﾏﾙ", ShortCut(VK_F4, {}));
    Normal1->SetChecked(true);
    Appearance1->Add(N3D1);
    Appearance1->Add(Normal1);
    BarStyle1 = item("BarStyle1", "ﾊﾞｰｽﾀｲﾙ", scNone);
    LED1 = item("LED1", "LED", ShortCut(VK_F5, {}));
    LED1->SetChecked(true);
    Point1 = item("Point1", "ﾎﾟｲﾝﾄ", ShortCut(VK_F6, {}));
    BarStyle1->Add(LED1);
    BarStyle1->Add(Point1);
    Centerline1 = item("Centerline1", "ｾﾝﾀｰﾗｲﾝ表示", ShortCut(VK_F7, {}));
    Centerline1->SetChecked(true);
    Analizeline1 = item("Analizeline1", "ｱﾅﾗｲｽﾞﾗｲﾝ表示", ShortCut(VK_F8, {}));
    Analizeline1->SetChecked(true);
    TMenuItem* items = PopupMenu1->Items();
    const int options = items->IndexOf(Option2);
    int at = options;
    for (TMenuItem* m : {Copytoclipboard1, Imageviewer1, NewLine(this), Zoomout1, Zoom2, Zoom1, N3, NewLine(this),
                         Appearance1, BarStyle1, Centerline1, Analizeline1, NewLine(this)})
        items->Insert(at++, m);
    // The air monitor's menu is also the right-click menu of the time chart and the page control.
    Chart2->SetPopupMenu(PopupMenu1);
    PageControl2->SetPopupMenu(PopupMenu1);

    WireMonitorEvents();
}

void TMainForm::WireMonitorEvents() {
    MvColBitBtn15->OnStatusChanged = [this](TObject* s) { MvColBitBtn15StatusChanged(s); };
    MvColBitBtn15->OnClick = [this](TObject* s) { MvColBitBtn15Click(s); };
    ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
    ComboBox3->OnChange = [this](TObject* s) { ComboBox3Change(s); };
    CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
    SpeedButton17->OnClick = [this](TObject* s) { SpeedButton17Click(s); };
    PageControl2->OnChanging = [this](TObject* s, bool& allow) { PageControl2Changing(s, allow); };
    PageControl2->OnChange = [this](TObject* s) { PageControl2Change(s); };

    MvColBitBtn1->OnStatusChanged = [this](TObject* s) { MvColBitBtn1StatusChanged(s); };
    MvColBitBtn1->OnClick = [this](TObject* s) { MvColBitBtn1Click(s); };
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    ComboBox4->OnChange = [this](TObject* s) { ComboBox4Change(s); };
    MvNumSpin3->OnValueChanged = [this](TObject* s) { MvNumSpin3ValueChanged(s); };
    MvNumSpin2->OnValueChanged = [this](TObject* s) { MvNumSpin2ValueChanged(s); };
    RadioGroup4->OnClick = [this](TObject* s) { RadioGroup4Click(s); };
    MvColBitBtn14->OnClick = [this](TObject* s) { MvColBitBtn14Click(s); };
    MvOpHourCounter1->OnClick = [this](TObject* s) { MvOpHourCounter1Click(s); };

    Chart1->OnAfterDraw = [this](TObject* s) { Chart1AfterDraw(s); };
    Chart2->OnAfterDraw = [this](TObject* s) { Chart2AfterDraw(s); };
    Series1->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
        Series1Click(s, i, b, sh, x, y);
    };
    Series3->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
        Series3Click(s, i, b, sh, x, y);
    };
    AreaSeries1->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
        AreaSeries1Click(s, i, b, sh, x, y);
    };
    for (TChart* c : {Chart1, Chart2}) {
        c->OnClick = [c](TObject*) { c->SetFocus(); };
        c->OnZoom = [this](TObject* s) { SetLevelAxis(s); };
        c->OnUndoZoom = [this](TObject* s) { SetLevelAxis(s); };
    }
    MvVSlider1->OnValueChange = [this](TObject* s) { MvVSlider1ValueChange(s); };
    MvVSlider3->OnValueChange = [this](TObject* s) { MvVSlider3ValueChange(s); };
    for (TMenuItem* m : {Zoomout1, Zoom2, Zoom1}) m->OnClick = [this](TObject* s) { ZoomMenuClick(s); };
    N3D1->OnClick = [this](TObject* s) { N3D1Click(s); };
    Normal1->OnClick = [this](TObject* s) { Normal1Click(s); };
    LED1->OnClick = [this](TObject* s) { LED1Click(s); };
    Point1->OnClick = [this](TObject* s) { Point1Click(s); };
    Centerline1->OnClick = [this](TObject* s) { Centerline1Click(s); };
    Analizeline1->OnClick = [this](TObject* s) { Analizeline1Click(s); };
    SpeedButton6->OnClick = [this](TObject* s) { SpeedButton6Click(s); };
    SpeedButton18->OnClick = [this](TObject* s) { SpeedButton18Click(s); };
    Edit4->OnClick = [this](TObject* s) { SpeedButton18Click(s); };
    SpeedButton8->OnClick = [this](TObject* s) { SpeedButton8Click(s); };
    SpeedButton12->OnClick = [this](TObject* s) { SpeedButton12Click(s); };
    for (TEdit* e : {Edit3, Edit4, Edit5}) e->OnDblClick = [e](TObject*) { e->SetText(String()); };
    SpeedButton5->OnClick = [this](TObject* s) { SpeedButton5Click(s); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };

    Savegraphdata2->OnClick = [this](TObject* s) { Savegraphdata2Click(s); };
    Loadgraphdata2->OnClick = [this](TObject* s) { Loadgraphdata2Click(s); };
    Saveimagefile2->OnClick = [this](TObject* s) { Saveimagefile2Click(s); };
    Printgraph2->OnClick = [this](TObject* s) { Printgraph2Click(s); };
    Copytoclipboard1->OnClick = [this](TObject* s) { Copytoclipboard1Click(s); };
    for (TMenuItem* m : {Imageviewer1, Imageviewer2}) m->OnClick = [this](TObject* s) { N4Click(s); };
    for (TMenuItem* m : {Option1, Option2}) m->OnClick = [this](TObject* s) { Option1Click(s); };
}
