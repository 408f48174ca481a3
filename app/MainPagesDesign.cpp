// The control-and-test page's design: the terminal with its four input lines and the number
// converter on the left, and the command, functions and contact-test pages on the right.
#include "app/Design.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

namespace {

TAdvToolButton* ToolButton(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left,
                              int top, int width) {
    auto* b = Place<TAdvToolButton>(owner, parent, name, left, top, width, 22);
    // A light blue gradient with a frame: the component's plain face would vanish into the page.
    b->SetLook(12);
    b->SetCaption(String(caption));
    return b;
}

TVrDemoButton* DemoButton(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left,
                          int top, int width, int height = 26) {
    auto* b = Place<TVrDemoButton>(owner, parent, name, left, top, width, height);
    b->SetCaption(String(caption));
    return b;
}

TMvColBitBtn* ColourButton(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left,
                           int top, int width, int height = 26) {
    auto* b = Place<TMvColBitBtn>(owner, parent, name, left, top, width, height);
    b->SetMode(mButton);
    b->SetTextOff(String(caption));
    b->SetTextOn(String(caption));
    b->SetTextColOn(clBlack);
    return b;
}

TMvNumSpin* Spin(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
                 TEditBase base, double minValue, double maxValue) {
    auto* s = Place<TMvNumSpin>(owner, parent, name, left, top, width, 22);
    s->SetEditBase(base);
    s->SetMinValue(minValue);
    s->SetMaxValue(maxValue);
    s->SetOptions({eoLimitMin, eoLimitMax});
    return s;
}

DAzuVidazEra* Group(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left, int top,
                       int width, int height) {
    auto* g = Place<DAzuVidazEra>(owner, parent, name, left, top, width, height);
    g->SetCaption(String(caption));
    g->SetCaptionPosition(AdvGroupBox::cpTopCenter);
    return g;
}

TGradientLabel* Section(TComponent* owner, TWinControl* parent, const char* caption, int left, int top, int width) {
    // A full horizontal gradient from white to the label's default end colour.
    auto* l = Place<TGradientLabel>(owner, parent, nullptr, left, top, width, 18);
    l->SetColor(clWhite);
    l->SetAlignment(taCenter);
    l->SetLayout(tlCenter);
    l->SetCaption(String(caption));
    l->Font()->SetStyle(TFontStyles() << fsBold);
    return l;
}

}  // namespace

void TMainForm::BuildTerminalPage() {
    Memo1 = Place<TMemo>(this, TabSheet4, "Memo1", 4, 4, 560, 262);
    Memo1->SetScrollBars(ssVertical);
    Memo1->SetHint(String("ﾓﾆﾀ画面"));
    Memo3 = Place<TMemo>(this, TabSheet4, "Memo3", 4, 270, 560, 56);
    Memo3->SetScrollBars(ssVertical);
    Memo3->SetHint(String("ｺｰﾄﾞ画面"));

    RadioGroup3 = Place<TRadioGroup>(this, TabSheet4, "RadioGroup3", 4, 330, 110, 60);
    RadioGroup3->SetCaption(String(" ﾓﾆﾀﾓｰﾄﾞ  "));
    RadioGroup3->Items()->Add(String("Text"));
    RadioGroup3->Items()->Add(String("Hex"));
    RadioGroup3->SetItemIndex(0);
    auto count = [this](const char* name, const char* caption, int left, int top, int width) {
        auto* e = Place<TLabeledEdit>(this, TabSheet4, name, left, top, width, 22);
        e->EditLabel()->SetCaption(String(caption));
        e->SetReadOnly(true);
        return e;
    };
    LabeledEdit1 = count("LabeledEdit1", "ﾗｲﾝ数", 122, 358, 60);
    LabeledEdit2 = count("LabeledEdit2", "ﾃﾞｰﾀ数", 188, 358, 70);
    AdvToolButton5 = ToolButton(this, TabSheet4, "AdvToolButton5", "消去(F7)", 266, 358, 76);
    VrDemoButton48 = DemoButton(this, TabSheet4, "VrDemoButton48", "ｺｰﾄﾞ表示", 348, 356, 90);
    MvColBitBtn9 = ColourButton(this, TabSheet4, "MvColBitBtn9", "ﾊﾞｲﾅﾘﾃﾞｰﾀ送信", 444, 356, 120);

    // The four input lines, each with its send and clear buttons; lines 1 and 2 show their length.
    struct Line {
        VIzeVadarEdu** box;
        const char* boxName;
        const char* text;
        TAdvToolButton** send;
        const char* sendName;
        const char* sendCaption;
        TSpeedButton** clear;
        const char* clearName;
    };
    const Line lines[] = {
        {&AdvComboBox1, "AdvComboBox1", "@DT05PPPPP", &AdvToolButton1, "AdvToolButton1", "送信1", &SpeedButton7, "SpeedButton7"},
        {&AdvComboBox2, "AdvComboBox2", "@CH", &AdvToolButton2, "AdvToolButton2", "送信2", &SpeedButton11, "SpeedButton11"},
        {&AdvComboBox5, "AdvComboBox5", "@EI", &AdvToolButton3, "AdvToolButton3", "送信3", &SpeedButton19, "SpeedButton19"},
        {&AdvComboBox6, "AdvComboBox6", "@DI", &AdvToolButton4, "AdvToolButton4", "送信4", &SpeedButton21, "SpeedButton21"},
    };
    int top = 398;
    for (const Line& l : lines) {
        *l.box = Place<VIzeVadarEdu>(this, TabSheet4, l.boxName, 4, top, 380, 22);
        (*l.box)->SetStyle(csSimple);
        (*l.box)->SetBorderColor(clSilver);
        (*l.box)->SetDisabledBorder(false);
        (*l.box)->SetButtonWidth(18);
        (*l.box)->SetText(String(l.text));
        *l.send = ToolButton(this, TabSheet4, l.sendName, l.sendCaption, 388, top, 56);
        *l.clear = Place<TSpeedButton>(this, TabSheet4, l.clearName, 448, top, 22, 22);
        (*l.clear)->SetCaption(String("×"));
        top += 26;
    }
    LabeledEdit3 = count("LabeledEdit3", "ﾃﾞｰﾀ数", 524, 398, 40);
    LabeledEdit6 = count("LabeledEdit6", "ﾃﾞｰﾀ数", 524, 424, 40);
    for (TLabeledEdit* e : {LabeledEdit3, LabeledEdit6}) e->SetLabelPosition(TLabelPosition::lpLeft);
    for (TControl* c : std::initializer_list<TControl*>{AdvToolButton1, AdvToolButton2}) c->SetEnabled(false);

    MvColBitBtn8 = ColourButton(this, TabSheet4, "MvColBitBtn8", "送信ﾃﾞｰﾀ作成", 4, 504, 110, 28);
    MvNumSpin1 = Spin(this, TabSheet4, "MvNumSpin1", 122, 507, 90, ebHex, 0, 268435455);
    MvNumSpin1->SetHint(String("Limit: 0..FFFFFFF(Hex)"));
    MvNumSpin13 = Spin(this, TabSheet4, "MvNumSpin13", 216, 507, 96, ebInt, 0, 268435455);
    MvNumSpin13->SetHint(String("Limit: 0..268435455(Dec.)"));
    AdvEdit1 = Place<TAdvEdit>(this, TabSheet4, "AdvEdit1", 316, 507, 248, 22);
    AdvEdit1->SetReadOnly(true);
    AdvEdit1->SetEditAlign(eaCenter);
    AdvEdit1->SetBorderStyle(bsNone);
    AdvEdit1->SetText(String(" 0000 0000 0000 0000 0000 0000 0000 0000 "));

    Timer13 = new TTimer(this);
    Timer13->SetName(String("Timer13"));
    Timer13->SetEnabled(false);

    PageControl5 = Place<TPageControl>(this, TabSheet4, "PageControl5", 570, 4, 567, 530);
    TabSheet3 = Sheet(this, PageControl5, "TabSheet3", "ｺﾏﾝﾄﾞ 発行");
    TabSheet15 = Sheet(this, PageControl5, "TabSheet15", "各種機能");
    TabSheet9 = Sheet(this, PageControl5, "TabSheet9", "接点情報通信ﾃｽﾄ");
    PageControl5->SetActivePage(TabSheet3);
    BuildCommandPage();
    BuildFunctionsPage();
    BuildContactPage();
    BuildTerminalMenu();
}

void TMainForm::BuildTerminalMenu() {
    auto item = [this](const char* name, const char* caption, TShortCut key) {
        TMenuItem* m = NewItem(this, String(caption), key);
        m->SetName(String(name));
        return m;
    };
    SelectAll1 = item("SelectAll1", "ｽｸﾘｰﾝの文字を全て選択", ShortCut(VK_F3, {}));
    Copy1 = item("Copy1", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", ShortCut(VK_F4, {}));
    CodeClear1 = item("CodeClear1", "ｺｰﾄﾞｽｸﾘｰﾝ消去", ShortCut(VK_F6, {}));
    MainClear1 = item("MainClear1", "ﾒｲﾝｽｸﾘｰﾝ消去", ShortCut(VK_F7, {}));
    Line1Send1 = item("Line1Send1", "ｲﾝﾌﾟﾄﾗｲﾝ1送信", ShortCut(VK_F8, {}));
    Line1Clear1 = item("Line1Clear1", "ｲﾝﾌﾟｯﾄﾗｲﾝ1消去", ShortCut(VK_F8, {ssShift}));
    Line2Send1 = item("Line2Send1", "ｲﾝﾌﾟﾄﾗｲﾝ2送信", ShortCut(VK_F9, {}));
    Line2Clear1 = item("Line2Clear1", "ｲﾝﾌﾟｯﾄﾗｲﾝ2消去", ShortCut(VK_F9, {ssShift}));
    ScreenColor1 = item("ScreenColor1", "ｽｸﾘｰﾝｶﾗｰ", scNone);
    CaretToEnd1 = item("CaretToEnd1", "キャレットを最後に移動", ShortCut(VK_F7, {ssShift}));
    // The font item is the menu's already: the terminal's commands go around it.
    int at = 0;
    for (TMenuItem* m : {SelectAll1, Copy1, CodeClear1, MainClear1, Line1Send1, Line1Clear1, Line2Send1, Line2Clear1})
        PopupMenu2->Items()->Insert(at++, m);
    PopupMenu2->Items()->Add(ScreenColor1);
    PopupMenu2->Items()->Add(CaretToEnd1);
}

void TMainForm::BuildCommandPage() {
    Section(this, TabSheet3, "問い合わせ", 4, 4, 551);
    struct Command {
        const char* caption;
        int tag;
    };
    static const Command kQueries[] = {
        {"ﾕｰｻﾞID @UI", 1},     {"ｸﾞﾙｰﾌﾟID @GI", 2}, {"機器ID @EI", 3},      {"目的局ID @DI", 4},
        {"ﾁｬﾝﾈﾙ @CH", 6},      {"自局RSSI @RA", 7}, {"最新RSSI @RS", 8},    {"固有ID確認", 9},
        {"通信ﾓｰﾄﾞ確認 @MO", 36}, {"拡散率 @SF", 37},  {"ｼﾘｱﾙﾅﾝﾊﾞｰ @SN", 38}, {"ﾊﾞｰｼﾞｮﾝ @VR", 39},
    };
    for (size_t i = 0; i < std::size(kQueries); ++i) {
        const int col = static_cast<int>(i % 3), row = static_cast<int>(i / 3);
        TVrDemoButton* b = DemoButton(this, TabSheet3, nullptr, kQueries[i].caption, 4 + col * 184, 26 + row * 30, 180);
        b->SetName(String("CommandButton") + IntToStr(kQueries[i].tag));
        b->SetTag(kQueries[i].tag);
        CommandButtons.push_back(b);
    }

    GroupBox1 = Group(this, TabSheet3, "GroupBox1", "設定", 4, 150, 551, 88);
    GroupBox1->SetBorderStyle(AdvGroupBox::bsDouble);
    Legend(this, GroupBox1, "ﾁｬﾝﾈﾙ", 10, 26);
    ComboBox1 = ChoiceList(this, GroupBox1, "ComboBox1", 70, 22, 90);
    VrDemoButton1 = DemoButton(this, GroupBox1, "VrDemoButton1", "ﾁｬﾝﾈﾙ設定", 166, 20, 120);
    Legend(this, GroupBox1, "ID", 10, 56);
    ComboBox6 = ChoiceList(this, GroupBox1, "ComboBox6", 70, 52, 90);
    VrDemoButton10 = DemoButton(this, GroupBox1, "VrDemoButton10", "ｸﾞﾙｰﾌﾟID設定", 166, 50, 120);
    VrDemoButton29 = DemoButton(this, GroupBox1, "VrDemoButton29", "機器ID設定", 292, 50, 120);
    VrDemoButton30 = DemoButton(this, GroupBox1, "VrDemoButton30", "目的局ID設定", 418, 50, 120);

    Section(this, TabSheet3, "ﾘﾝｸ設定・ﾓｰﾄﾞ", 4, 246, 551);
    VrDemoButton9 = DemoButton(this, TabSheet3, "VrDemoButton9", "ﾘﾝｸﾊﾟﾗﾒｰﾀ初期化", 4, 268, 180);
    VrDemoButton52 = DemoButton(this, TabSheet3, "VrDemoButton52", "ﾘﾝｸID確認", 188, 268, 180);
    VrDemoButton36 = DemoButton(this, TabSheet3, "VrDemoButton36", "ﾕｰｻﾞｰID初期化", 372, 268, 180);
    VrDemoButton14 = DemoButton(this, TabSheet3, "VrDemoButton14", "FSK モード @MO01", 4, 300, 180);
    VrDemoButton4 = DemoButton(this, TabSheet3, "VrDemoButton4", "LoRa モード @MO03", 188, 300, 180);

    // The mirror of the port-direction lamps.
    Section(this, TabSheet3, "自局ﾎﾟｰﾄ方向", 4, 444, 551);
    for (int n = 1; n <= 8; ++n) {
        auto* l = Place<TMvLED>(this, TabSheet3, nullptr, 10 + 62 * (n - 1), 470, 58, 20);
        l->SetName(String("MvLED") + IntToStr(32 + n));
        l->SetCaption(String("DIO") + IntToStr(n));
        l->SetMode(mIndicator);
        MvLED[static_cast<size_t>(32 + n)] = l;
    }
}

void TMainForm::BuildFunctionsPage() {
    Section(this, TabSheet15, "伝送時間計算", 4, 4, 551);
    RadioGroup1 = Place<TRadioGroup>(this, TabSheet15, "RadioGroup1", 10, 28, 120, 64);
    RadioGroup1->SetCaption(String("ﾓｰﾄﾞ"));
    RadioGroup1->Items()->Add(String("LoRa"));
    RadioGroup1->Items()->Add(String("FSK"));
    RadioGroup1->SetItemIndex(0);
    Label31 = Legend(this, TabSheet15, "拡散率", 142, 34);
    MvNumSpin12 = Spin(this, TabSheet15, "MvNumSpin12", 142, 54, 70, ebInt, 7, 12);
    MvNumSpin12->SetValue(7);
    Legend(this, TabSheet15, "ﾃﾞｰﾀ長(byte)", 224, 34);
    MvNumEdit12 = NumberDisplay(this, TabSheet15, "MvNumEdit12", 224, 54, 70, ebInt);
    // A length: the test data of an unconfirmed generator ("@DT" alone) gives no negative one.
    MvNumEdit12->SetMinValue(0);
    MvNumEdit12->SetMaxValue(255);
    MvNumEdit12->SetOptions({eoLimitMin, eoLimitMax});
    MvNumEdit12->SetValue(5);
    Legend(this, TabSheet15, "伝送時間(ms)", 306, 34);
    MvNumEdit4 = NumberDisplay(this, TabSheet15, "MvNumEdit4", 306, 54, 80, ebInt);
    Legend(this, TabSheet15, "送信間隔(ms)", 398, 34);
    MvNumEdit5 = NumberDisplay(this, TabSheet15, "MvNumEdit5", 398, 54, 80, ebInt);
    Label32 = Legend(this, TabSheet15, "+1200ms", 484, 58);
    VrDemoButton16 = DemoButton(this, TabSheet15, "VrDemoButton16", "伝送時間計算", 398, 84, 120);
    VrDemoButton16->SetVisible(false);

    Section(this, TabSheet15, "送信ﾃﾞｰﾀ・ﾓｰﾄﾞ", 4, 110, 551);
    MvColBitBtn10 = ColourButton(this, TabSheet15, "MvColBitBtn10", "送信ﾃﾞｰﾀ作成", 10, 134, 130, 28);
    MvColBitBtn11 = ColourButton(this, TabSheet15, "MvColBitBtn11", "ﾓｰﾄﾞ確認", 150, 134, 130, 28);
    MvColBitBtn12 = ColourButton(this, TabSheet15, "MvColBitBtn12", "ﾒﾓﾘに保存", 290, 134, 130, 28);

    GroupBox2 = Group(this, TabSheet15, "GroupBox2", " ｺﾏﾝﾄﾞ指定回数送信 ", 4, 178, 551, 96);
    GroupBox2->SetRoundEdges(true);
    MvColBitBtn13 = Place<TMvColBitBtn>(this, GroupBox2, "MvColBitBtn13", 10, 30, 100, 40);
    MvColBitBtn13->SetMode(mSwitch);
    MvColBitBtn13->SetTextOff(String("開始"));
    MvColBitBtn13->SetTextOn(String("停止"));
    Legend(this, GroupBox2, "送信間隔(ms)", 124, 24);
    MvNumSpin10 = Spin(this, GroupBox2, "MvNumSpin10", 124, 44, 100, ebInt, 10, 2147483647);
    Legend(this, GroupBox2, "送信回数", 236, 24);
    MvNumSpin7 = Spin(this, GroupBox2, "MvNumSpin7", 236, 44, 90, ebInt, 1, 2147483647);
    MvNumSpin7->SetValue(1);
    Legend(this, GroupBox2, "送信済み", 340, 24);
    Label46 = Place<TLabel>(this, GroupBox2, "Label46", 340, 48, 80, 18);
    Label46->SetCaption(String("0"));
}

void TMainForm::BuildContactPage() {
    auto lamp = [this](int number, TWinControl* parent, const String& caption, int left, int top, TMode mode) {
        auto* l = Place<TMvLED>(this, parent, nullptr, left, top, 50, 20);
        l->SetName(String("MvLED") + IntToStr(number));
        l->SetCaption(caption);
        l->SetMode(mode);
        MvLED[static_cast<size_t>(number)] = l;
    };
    auto group = [this](const char* name, const char* caption, int top, int height) {
        DAzuVidazEra* g = Group(this, TabSheet9, name, caption, 4, top, 551, height);
        ContactGroups.push_back(g);
        return g;
    };
    auto lampX = [](int n) { return 8 + 52 * (n - 1); };

    // Port directions: lit is an output.
    DAzuVidazEra* g = group("GroupBox3", "ﾎﾟｰﾄ方向", 2, 80);
    for (int n = 1; n <= 8; ++n) lamp(16 + n, g, String("DIO") + IntToStr(n), lampX(n), 20, mIndicator);
    VrDemoButton5 = DemoButton(this, g, "VrDemoButton5", "I/O", lampX(1), 46, 50, 24);
    VrDemoButton6 = DemoButton(this, g, "VrDemoButton6", "I/O", lampX(2), 46, 50, 24);
    VrDemoButton11 = DemoButton(this, g, "VrDemoButton11", "I/O", lampX(3), 46, 102, 24);
    VrDemoButton12 = DemoButton(this, g, "VrDemoButton12", "I/O", lampX(5), 46, 206, 24);
    MvNumEdit1 = NumberDisplay(this, g, "MvNumEdit1", 428, 18, 34, ebHex);
    MvNumEdit1->SetDigitsHex(2);
    MvNumEdit1->SetValue(255);
    VrDemoButton35 = DemoButton(this, g, "VrDemoButton35", "ポート設定", 428, 46, 116, 24);
    CheckBox5 = Place<TCheckBox>(this, g, "CheckBox5", 468, 20, 78, 20);
    CheckBox5->SetCaption(String("ﾒﾓﾘ保存"));

    // Output levels to send, and the own and remote output levels.
    g = group("GroupBox4", "出力ﾚﾍﾞﾙ設定", 84, 50);
    for (int n = 1; n <= 8; ++n) lamp(n, g, String("IN") + IntToStr(n), lampX(n), 20, mSwitch);
    MvNumEdit2 = NumberDisplay(this, g, "MvNumEdit2", 428, 18, 34, ebHex);
    MvNumEdit2->SetDigitsHex(2);
    MvNumEdit2->SetValue(255);
    MvColBitBtn2 = ColourButton(this, g, "MvColBitBtn2", "送信", 488, 16, 56, 26);

    g = group("GroupBox5", "自局出力ﾚﾍﾞﾙ", 136, 78);
    for (int n = 1; n <= 8; ++n) lamp(24 + n, g, String("OUT") + IntToStr(n), lampX(n), 20, mIndicator);
    MvNumEdit3 = NumberDisplay(this, g, "MvNumEdit3", 428, 18, 34, ebHex);
    MvNumEdit3->OnValueChanged = [this](TObject* s) { MvNumEdit3ValueChanged(s); };
    MvColBitBtn7 = ColourButton(this, g, "MvColBitBtn7", "取得", 488, 16, 56, 26);
    Legend(this, g, "ﾎﾟｰﾄ", lampX(1), 50);
    ComboBox7 = ChoiceList(this, g, "ComboBox7", lampX(2), 46, 70);
    MvColBitBtn16 = ColourButton(this, g, "MvColBitBtn16", "設定", lampX(4), 44, 56, 26);

    g = group("GroupBox6", "相手局出力ﾚﾍﾞﾙ", 216, 50);
    for (int n = 1; n <= 8; ++n) lamp(8 + n, g, String("OUT") + IntToStr(n), lampX(n), 20, mIndicator);
    MvNumEdit8 = NumberDisplay(this, g, "MvNumEdit8", 428, 18, 34, ebHex);
    MvNumEdit9 = NumberDisplay(this, g, "MvNumEdit9", 466, 18, 20, ebHex);
    MvNumEdit8->OnValueChanged = [this](TObject* s) { MvNumEdit8ValueChanged(s); };
    MvNumEdit9->OnValueChanged = [this](TObject* s) { MvNumEdit8ValueChanged(s); };
    MvColBitBtn3 = ColourButton(this, g, "MvColBitBtn3", "取得", 490, 16, 54, 26);

    // Unique ID and the port commands.
    g = group("GroupBox7", "固有ID", 268, 112);
    MvNumEdit6 = NumberDisplay(this, g, "MvNumEdit6", 8, 20, 90, ebHex);
    MvNumEdit7 = NumberDisplay(this, g, "MvNumEdit7", 104, 20, 90, ebInt);
    struct Command {
        const char* caption;
        int tag;
        int left, top, width;
    };
    static const Command kIdCommands[] = {
        {"固有ＩＤ設定（自局シリアルNo.使用）@PIS", 45, 200, 18, 344}, {"固有ＩＤ受信待機@PIR", 46, 8, 48, 266},
        {"固有ＩＤ送信@PIT", 47, 278, 48, 266},                        {"固有ＩＤｸﾘｱ@PIC", 48, 8, 78, 266},
        {"固有ＩＤ表示@PI", 49, 278, 78, 266},
    };
    static const Command kPortCommands[] = {
        {"＠PS", 40, 8, 20, 80}, {"＠PO", 41, 92, 20, 80}, {"@PM", 43, 176, 20, 80}, {"@PF", 44, 260, 20, 80},
        {"自局ﾎﾟｰﾄﾚﾍﾞﾙ送信＆相手局ﾎﾟｰﾄﾚﾍﾞﾙ取得@PT", 42, 8, 50, 332},
    };
    auto commandButtons = [this](TWinControl* parent, const auto& commands) {
        for (const Command& c : commands) {
            TVrDemoButton* b = DemoButton(this, parent, nullptr, c.caption, c.left, c.top, c.width);
            b->SetName(String("CommandButton") + IntToStr(c.tag));
            b->SetTag(c.tag);
            CommandButtons.push_back(b);
        }
    };
    commandButtons(g, kIdCommands);

    g = group("GroupBox8", "ﾎﾟｰﾄｺﾏﾝﾄﾞ・ﾃｽﾄﾓｰﾄﾞ", 382, 114);
    g->SetRoundEdges(true);
    commandButtons(g, kPortCommands);
    VrDemoButton47 = DemoButton(this, g, "VrDemoButton47", "ﾎﾟｰﾄ確認", 344, 20, 200);
    VrDemoButton40 = DemoButton(this, g, "VrDemoButton40", "@PM10", 344, 50, 98);
    VrDemoButton42 = DemoButton(this, g, "VrDemoButton42", "@PM20", 446, 50, 98);
    VrDemoButton41 = DemoButton(this, g, "VrDemoButton41", "ストップ @PM00", 344, 80, 200);
}
