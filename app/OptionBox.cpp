#include "app/OptionBox.h"

#include "app/Main.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

TOptionBoxForm* OptionBoxForm = nullptr;

namespace {

// The colour each lamp shows and edits; group 0 the terminal, 1 the frequency chart, 2 the time chart.
struct Lamp {
    int group;
    int number;
    const char* caption;
    TColor TMainForm::*color;
};
constexpr Lamp kLamps[] = {
    {0, 11, "ﾌｫﾝﾄの色", &TMainForm::ContFont},
    {0, 12, "背景の色", &TMainForm::ContBack},
    {1, 1, "ｸﾞﾗﾃﾞｰｼｮﾝ終了", &TMainForm::c1End},
    {1, 2, "ｸﾞﾗﾃﾞｰｼｮﾝ開始", &TMainForm::c1Start},
    {1, 3, "ﾒｲﾝﾊﾞｰ　ﾉｰﾏﾙ", &TMainForm::c1Main},
    {1, 4, "ﾒｲﾝﾊﾞｰ　ｵｰﾊﾞｰ", &TMainForm::c1Over},
    {1, 5, "ﾋﾟｰｸﾊﾞｰ　ﾉｰﾏﾙ", &TMainForm::c1Peak},
    {1, 10, "閾値線", &TMainForm::c1ThreLine},
    {1, 19, "ｾﾝﾀｰ線", &TMainForm::c1CenterLine},
    {1, 13, "ﾒｲﾝﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TMainForm::c1AnaLine1},
    {1, 14, "ﾋﾟｰｸﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TMainForm::c1AnaLine2},
    {2, 6, "ｸﾞﾗﾃﾞｰｼｮﾝ終了", &TMainForm::c2End},
    {2, 7, "ｸﾞﾗﾃﾞｰｼｮﾝ開始", &TMainForm::c2Start},
    {2, 8, "ﾒｲﾝﾊﾞｰ　ﾉｰﾏﾙ", &TMainForm::c2Main},
    {2, 9, "ﾒｲﾝﾊﾞｰ　ｵｰﾊﾞｰ", &TMainForm::c2Over},
    {2, 15, "閾値線", &TMainForm::c2ThreLine},
    {2, 17, "ｾﾝﾀｰ線", &TMainForm::c2CenterLine},
    {2, 16, "ﾒｲﾝﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TMainForm::c2AnaLine},
    {2, 18, "ﾎﾟｲﾝﾄ", &TMainForm::c2Point},
    {2, 20, "境界線", &TMainForm::c2AreaLine},
};

const Lamp* LampOf(const TOptionBoxForm* box, TObject* sender) {
    for (const Lamp& l : kLamps)
        if (box->MvLED[static_cast<size_t>(l.number)] == sender) return &l;
    return nullptr;
}

}  // namespace

const std::array<TMainForm::TColorKey, 18>& TMainForm::GraphColorKeys() {
    static const std::array<TColorKey, 18> keys{{
        {u"c1Main", &TMainForm::c1Main, 0xF0CAA6},        {u"c1Over", &TMainForm::c1Over, 0xFF0000},
        {u"c1Peak", &TMainForm::c1Peak, 0x808080},        {u"c1Start", &TMainForm::c1Start, 0xC4CCD2},
        {u"c1End", &TMainForm::c1End, 0xFFFFFF},          {u"c1ThreLine", &TMainForm::c1ThreLine, 0xFF0000},
        {u"c1AnaLine1", &TMainForm::c1AnaLine1, 0x0000FF}, {u"c1AnaLine2", &TMainForm::c1AnaLine2, 0x808000},
        {u"c1CenterLine", &TMainForm::c1CenterLine, 0x808080}, {u"c2Main", &TMainForm::c2Main, 0xF0CAA6},
        {u"c2Over", &TMainForm::c2Over, 0xFF0000},        {u"c2Start", &TMainForm::c2Start, 0xC4CCD2},
        {u"c2End", &TMainForm::c2End, 0xFFFFFF},          {u"c2ThreLine", &TMainForm::c2ThreLine, 0xFF0000},
        {u"c2AnaLine", &TMainForm::c2AnaLine, 0x0000FF},  {u"c2CenterLine", &TMainForm::c2CenterLine, 0x808080},
        {u"c2Point", &TMainForm::c2Point, 0xFF0000},      {u"c2AreaLine", &TMainForm::c2AreaLine, 0x000000},
    }};
    return keys;
}

TOptionBoxForm::TOptionBoxForm(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("OptionBoxForm"));
    SetCaption(String("Option"));
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetPosition(poMainFormCenter);
    SetKeyPreview(true);
    SetClientWidth(452);
    SetClientHeight(384);

    PageControl1 = new TPageControl(this);
    PageControl1->SetName(String("PageControl1"));
    PageControl1->SetParent(this);
    // Tall enough for the clipboard group below the colour groups, under the tabs and the frame.
    PageControl1->SetBounds(6, 6, 440, 332);
    auto sheet = [this](const char* name, const char* caption) {
        auto* s = new TTabSheet(this);
        s->SetName(String(name));
        s->SetPageControl(PageControl1);
        s->SetCaption(String(caption));
        return s;
    };
    TabSheet1 = sheet("TabSheet1", "ｺﾝﾄﾛｰﾙｳｨﾝﾄﾞｳ");
    TabSheet2 = sheet("TabSheet2", "ｴｱｰﾓﾆﾀ");
    PageControl1->SetActivePage(TabSheet1);

    auto group = [this](TWinControl* parent, const char* caption, int left, int top, int width, int height) {
        auto* g = new TGroupBox(this);
        g->SetParent(parent);
        g->SetBounds(left, top, width, height);
        g->SetCaption(String(caption));
        return g;
    };
    TGroupBox* screen = group(TabSheet1, "ｽｸﾘｰﾝの色 ", 10, 10, 200, 90);
    TGroupBox* freq = group(TabSheet2, " ｸﾞﾗﾌの色 <周波数領域測定> ", 6, 6, 210, 252);
    TGroupBox* time = group(TabSheet2, " ｸﾞﾗﾌの色 <時間領域測定> ", 220, 6, 206, 252);
    // Lamps in the design's order within each group, one per row.
    int row[3] = {0, 0, 0};
    for (const Lamp& l : kLamps) {
        const int g = l.group;
        TWinControl* parent = g == 0 ? static_cast<TWinControl*>(screen) : g == 1 ? freq : time;
        auto* led = new TMvLED(this);
        led->SetName(String("MvLED") + IntToStr(l.number));
        led->SetParent(parent);
        led->SetBounds(10, 20 + 22 * row[g]++, 180, 20);
        led->SetCaption(String(l.caption));
        led->SetMode(mIndicator);
        MvLED[static_cast<size_t>(l.number)] = led;
        TNotifyEvent click;
        if (g == 0) click = [this](TObject* s) { MvLED11Click(s); };
        else if (g == 1) click = [this](TObject* s) { MvLED1Click(s); };
        else click = [this](TObject* s) { MvLED6Click(s); };
        led->OnClick = click;
    }
    auto button = [this](TWinControl* parent, const char* name, const char* caption, int left, int top, int width) {
        auto* b = new TSpeedButton(this);
        b->SetName(String(name));
        b->SetParent(parent);
        b->SetBounds(left, top, width, 24);
        b->SetCaption(String(caption));
        return b;
    };
    SpeedButton3 = button(freq, "SpeedButton3", "初期値", 120, 220, 80);
    SpeedButton4 = button(time, "SpeedButton4", "初期値", 116, 220, 80);
    RadioGroup2 = new TRadioGroup(this);
    RadioGroup2->SetName(String("RadioGroup2"));
    RadioGroup2->SetParent(TabSheet2);
    RadioGroup2->SetBounds(6, 260, 420, 36);
    RadioGroup2->SetCaption(String(" ｸﾘｯﾌﾟﾎﾞｰﾄﾞのｲﾒｰｼﾞﾀｲﾌﾟ "));
    RadioGroup2->SetColumns(3);
    for (const char* type : {"EMF", "WMF", "BMP"}) RadioGroup2->Items()->Add(String(type));
    RadioGroup2->SetItemIndex(0);
    SpeedButton1 = button(this, "SpeedButton1", "設定の保存", 226, 348, 110);
    SpeedButton2 = button(this, "SpeedButton2", "OK", 342, 348, 104);

    SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
    SpeedButton4->OnClick = [this](TObject* s) { SpeedButton4Click(s); };
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TOptionBoxForm::~TOptionBoxForm() {
    if (OptionBoxForm == this) OptionBoxForm = nullptr;
}

void TOptionBoxForm::FormCreate(TObject* Sender) {
    if (!MainForm) return;
    {
        TMemIniFile ini(MainForm->IniPath);
        RadioGroup2->SetItemIndex(ini.ReadInteger(u"Graph setting", u"ClipBoardImageType", 0));
        ini.UpdateFile();
    }
    ShowColors();
}

void TOptionBoxForm::ShowColors() {
    for (const Lamp& l : kLamps) MvLED[static_cast<size_t>(l.number)]->LED()->SetColorOff(MainForm->*l.color);
}

void TOptionBoxForm::EditColor(TObject* lamp) {
    const Lamp* l = LampOf(this, lamp);
    if (!l) return;
    TColorDialog* dialog = MainForm->ColorDialog1;
    dialog->SetColor(MainForm->*l->color);
    if (dialog->Execute()) {
        MainForm->*l->color = dialog->Color();
        MvLED[static_cast<size_t>(l->number)]->LED()->SetColorOff(dialog->Color());
    }
    // Cancelled or not, the colours are applied again.
    MainForm->setColor();
}

void TOptionBoxForm::MvLED11Click(TObject* Sender) { EditColor(Sender); }
void TOptionBoxForm::MvLED1Click(TObject* Sender) { EditColor(Sender); }
void TOptionBoxForm::MvLED6Click(TObject* Sender) { EditColor(Sender); }

void TOptionBoxForm::ChartDefaults(char16_t chart) {
    // The settings defaults, except the peak bars and the sample points, whose defaults here
    // differ from the file's.
    for (const TMainForm::TColorKey& k : TMainForm::GraphColorKeys())
        if (k.Key[1] == chart) MainForm->*k.Value = k.Default;
    if (chart == u'1') MainForm->c1Peak = 0xC0C0C0;
    else MainForm->c2Point = 0xFFFF00;
    ShowColors();
    MainForm->setColor();
}

void TOptionBoxForm::SpeedButton3Click(TObject* Sender) { ChartDefaults(u'1'); }
void TOptionBoxForm::SpeedButton4Click(TObject* Sender) { ChartDefaults(u'2'); }

void TOptionBoxForm::SpeedButton1Click(TObject* Sender) {
    {
        TMemIniFile ini(MainForm->IniPath);
        ini.WriteInteger(u"ContWin color", u"Back", static_cast<int32_t>(MainForm->ContBack));
        ini.WriteInteger(u"ContWin color", u"Font", static_cast<int32_t>(MainForm->ContFont));
        for (const TMainForm::TColorKey& k : TMainForm::GraphColorKeys())
            ini.WriteInteger(u"Graph color", k.Key, static_cast<int32_t>(MainForm->*k.Value));
        ini.WriteInteger(u"Graph setting", u"ClipBoardImageType", RadioGroup2->ItemIndex());
        ini.UpdateFile();
    }
    Close();
}

void TOptionBoxForm::SpeedButton2Click(TObject* Sender) { Close(); }

void TOptionBoxForm::FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (Key == 27) Close();
}
