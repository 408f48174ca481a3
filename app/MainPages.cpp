// The command, functions and contact-test pages: the command buttons and their table, the
// setting buttons, the fixed command sequences, the air-time calculation, the repeated sending of
// input line 1, and the port directions and levels; and the events that bind the page's controls.
#include <utility>

#include "app/AirTime.h"
#include "app/Caution3.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

namespace {

// The command of the shared button handler, by the button's Tag; empty for any other tag.
const char* CommandOfTag(intptr_t tag) {
    static const std::pair<int, const char*> kTable[] = {
        {1, "@UI"},  {2, "@GI"},  {3, "@EI"},  {4, "@DI"},  {5, "@RT"},  {6, "@CH"},  {7, "@RA"},
        {8, "@RS"},  {9, "@PI"},  {11, "@MD"}, {12, "@RM"}, {13, "@RI"}, {14, "@BR"}, {15, "@PB"},
        {16, "@SB"}, {17, "@TB"}, {18, "@TC"}, {19, "@CT"}, {20, "@SI"}, {21, "@FV"}, {22, "@SR"},
        {23, "@IZ"}, {24, "@SI"}, {25, "@RR"}, {26, "@EC"}, {27, "@PW"}, {36, "@MO"}, {37, "@SF"},
        {38, "@SN"}, {39, "@VR"}, {40, "@PS"}, {41, "@PO"}, {42, "@PT"}, {43, "@PM"}, {44, "@PF"},
        {45, "@PIS"}, {46, "@PIR"}, {47, "@PIT"}, {48, "@PIC"}, {49, "@PI"}, {50, "@SI"},
    };
    for (const auto& [t, command] : kTable)
        if (t == tag) return command;
    return "";
}

// Bit n-1 of the value is clear where lamp n is lit.
int LampsToByte(const std::array<TMvLED*, 41>& lamps, int first) {
    int b = 0xFF;
    for (int n = 1; n <= 8; ++n)
        if (lamps[static_cast<size_t>(first + n - 1)]->Checked()) b &= ~(1 << (n - 1));
    return b;
}

// While it lives the program writes spins: their change events, which are the user's, stay quiet.
class ProgramWrite {
public:
    explicit ProgramWrite(bool& flag) : FFlag(flag), FBefore(flag) { flag = true; }
    ~ProgramWrite() { FFlag = FBefore; }
    ProgramWrite(const ProgramWrite&) = delete;
    ProgramWrite& operator=(const ProgramWrite&) = delete;

private:
    bool& FFlag;
    bool FBefore;
};

}  // namespace

void TMainForm::BindControlPages() {
    // The first air time is the form's own, before any event is bound.
    VrDemoButton16Click(VrDemoButton16);

    const std::pair<TAdvToolButton*, void (TMainForm::*)(TObject*)> sends[] = {
        {AdvToolButton1, &TMainForm::AdvToolButton1Click}, {AdvToolButton2, &TMainForm::AdvToolButton2Click},
        {AdvToolButton3, &TMainForm::AdvToolButton3Click}, {AdvToolButton4, &TMainForm::AdvToolButton4Click},
    };
    for (const auto& [button, handler] : sends) button->OnClick = [this, h = handler](TObject* s) { (this->*h)(s); };
    const std::pair<TSpeedButton*, VIzeVadarEdu*> clears[] = {
        {SpeedButton7, AdvComboBox1}, {SpeedButton11, AdvComboBox2}, {SpeedButton19, AdvComboBox5}, {SpeedButton21, AdvComboBox6}};
    for (const auto& [button, line] : clears) {
        VIzeVadarEdu* l = line;
        // The text goes; the history stays.
        button->OnClick = [this, l](TObject*) { SetLineText(l, String()); };
        l->OnDblClick = [this, l](TObject*) { SetLineText(l, String()); };
        l->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { AdvComboBoxKeyDown(s, k, sh); };
        l->OnKeyPress = [this](TObject* s, char16_t& k) { AdvComboBoxKeyPress(s, k); };
        l->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { AdvComboBoxKeyUp(s, k, sh); };
    }
    AdvComboBox1->OnChange = [this](TObject* s) { AdvComboBox1Change(s); };
    AdvComboBox1->OnEnter = [this](TObject* s) { AdvComboBox1Change(s); };
    AdvComboBox2->OnChange = [this](TObject* s) { AdvComboBox2Change(s); };
    Memo1->OnChange = [this](TObject* s) { Memo1Change(s); };
    Memo2->OnChange = [this](TObject* s) { Memo1Change(s); };
    Memo3->OnChange = [this](TObject* s) { Memo3Change(s); };
    Memo1->OnDblClick = [this](TObject* s) { Memo1DblClick(s); };
    Memo2->OnDblClick = [this](TObject* s) { Memo1DblClick(s); };
    Memo3->OnDblClick = [this](TObject* s) { Memo3DblClick(s); };
    AdvToolButton5->OnClick = [this](TObject* s) { AdvToolButton5Click(s); };
    VrDemoButton48->OnClick = [this](TObject* s) { VrDemoButton48Click(s); };
    MvColBitBtn8->OnClick = [this](TObject* s) { MvColBitBtn8Click(s); };
    MvColBitBtn9->OnClick = [this](TObject* s) { MvColBitBtn9Click(s); };
    MvNumSpin1->OnValueChanged = [this](TObject* s) { MvNumSpin1ValueChanged(s); };
    MvNumSpin13->OnValueChanged = [this](TObject* s) { MvNumSpin13ValueChanged(s); };

    SelectAll1->OnClick = [this](TObject*) { Memo1->SelectAll(); };
    Copy1->OnClick = [this](TObject*) { Memo1->CopyToClipboard(); };
    CodeClear1->OnClick = [this](TObject*) { Memo3->Clear(); };
    MainClear1->OnClick = [this](TObject* s) { AdvToolButton5Click(s); };
    Line1Send1->OnClick = [this](TObject* s) { AdvToolButton1Click(s); };
    Line1Clear1->OnClick = [this](TObject*) { SetLineText(AdvComboBox1, String()); };
    Line2Send1->OnClick = [this](TObject* s) { AdvToolButton2Click(s); };
    Line2Clear1->OnClick = [this](TObject*) { SetLineText(AdvComboBox2, String()); };
    ScreenColor1->OnClick = [this](TObject* s) { ScreenColor1Click(s); };
    CaretToEnd1->OnClick = [this](TObject* s) { Memo1DblClick(s); };

    for (TVrDemoButton* b : CommandButtons) b->OnClick = [this](TObject* s) { VrDemoButton26Click(s); };
    for (TControl* b : std::initializer_list<TControl*>{VrDemoButton1, VrDemoButton10, VrDemoButton29, VrDemoButton30, MvColBitBtn16})
        b->OnClick = [this](TObject* s) { SettingButtonClick(s); };
    const std::pair<TControl*, std::vector<String>> queues[] = {
        {VrDemoButton9, {"@GI00/w", "@EI01/w", "@DI01/w", "@CH1B/w"}},
        {VrDemoButton52, {"@CH", "@UI", "@GI", "@EI", "@DI", "@MO"}},
        {VrDemoButton47, {"@PS", "@PO", "@PT", "@PM", "@PF"}},
        {VrDemoButton36, {"@UI0000,8945"}},
        {VrDemoButton14, {"@MO01"}},
        {VrDemoButton4, {"@MO03"}},
        {MvColBitBtn11, {"@MO"}},
        {MvColBitBtn7, {"@PO"}},
        {MvColBitBtn3, {"@PT"}},
        {VrDemoButton40, {"@PM10"}},
        {VrDemoButton41, {"@PM00"}},
        {VrDemoButton42, {"@PM20"}},
    };
    for (const auto& [button, commands] : queues) button->OnClick = [this, c = commands](TObject*) { QueueNow(c); };
    MvColBitBtn12->OnClick = [this](TObject*) { QueueNow({String(RadioGroup1->ItemIndex() == 1 ? "@MO01" : "@MO03")}); };
    MvColBitBtn2->OnClick = [this](TObject*) {
        RespReady = 1;
        CommandOut(1, String("@PT") + MvNumEdit2->ValueAsHex());
    };
    PageControl5->OnChange = [this](TObject* s) { PageControl5Change(s); };

    VrDemoButton16->OnClick = [this](TObject* s) { VrDemoButton16Click(s); };
    MvNumEdit12->OnValueChanged = [this](TObject* s) { VrDemoButton16Click(s); };
    MvNumSpin12->OnValueChanged = [this](TObject* s) { VrDemoButton16Click(s); };
    MvNumSpin12->OnChange = [this](TObject* s) { MvNumSpin12Change(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    MvColBitBtn10->OnClick = [this](TObject* s) { MvColBitBtn10Click(s); };
    MvColBitBtn13->OnStatusChanged = [this](TObject* s) { MvColBitBtn13StatusChanged(s); };
    Timer13->OnTimer = [this](TObject* s) { Timer13Timer(s); };
    MvNumSpin10->OnChange = [this](TObject* s) { RepeatSpinChange(s); };
    MvNumSpin7->OnChange = [this](TObject* s) { RepeatSpinChange(s); };

    for (TControl* b : std::initializer_list<TControl*>{VrDemoButton5, VrDemoButton6, VrDemoButton11, VrDemoButton12})
        b->OnClick = [this](TObject* s) { DirectionButtonClick(s); };
    VrDemoButton35->OnClick = [this](TObject*) { PortSettingCommand(); };
    for (int n = 1; n <= 8; ++n) {
        MvLED[static_cast<size_t>(16 + n)]->OnStatusChanged = [this](TObject* s) { MvLED17StatusChanged(s); };
        MvLED[static_cast<size_t>(n)]->OnStatusChanged = [this](TObject* s) { MvLED1StatusChanged(s); };
    }
}

// ---- command page -----------------------------------------------------------------------------

void TMainForm::QueueNow(const std::vector<String>& commands) {
    // CommandOut sends its last slot first.
    std::array<String, 8> slots;
    size_t slot = commands.size();
    for (const String& c : commands) slots[--slot] = c;
    RespReady = 1;
    CommandOut(static_cast<int>(commands.size()), slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6],
               slots[7]);
}

void TMainForm::SendFromLine2(const String& command) {
    SetLineText(AdvComboBox2, command);
    AdvToolButton2Click(AdvToolButton2);
    if (AdvComboBox2->CanFocus()) AdvComboBox2->SetFocus();
    AdvComboBox2->SelectAll();
    AdvComboBox2->SetSelStart(AdvComboBox2->Text().Length());
}

void TMainForm::VrDemoButton26Click(TObject* Sender) {
    auto* component = dynamic_cast<TComponent*>(Sender);
    const intptr_t tag = component ? component->Tag() : 0;
    if (tag == 23) {
        MessageBeep(MB_ICONEXCLAMATION);
        OKBottomDlg1->Label1->SetCaption(String("RZ-4を初期化します"));
        OKBottomDlg1->Label2->SetCaption(String("本当に宜しいですか？"));
        if (OKBottomDlg1->ShowModal() != mrOk) return;
    }
    SendFromLine2(String(CommandOfTag(tag)));
}

void TMainForm::SettingButtonClick(TObject* Sender) {
    struct Setting {
        TObject* button;
        TComboBox* list;
        const char* command;
        int offset;
    };
    const Setting settings[] = {
        {VrDemoButton1, ComboBox1, "@CH", 7},  {VrDemoButton10, ComboBox6, "@GI", 0}, {VrDemoButton29, ComboBox6, "@EI", 0},
        {VrDemoButton30, ComboBox6, "@DI", 0}, {MvColBitBtn16, ComboBox7, "@PO", 0},
    };
    for (const Setting& s : settings) {
        if (s.button != Sender) continue;
        // Nothing chosen is no value: the index -1 would name a channel outside the plan or an
        // argument of eight digits.
        if (s.list->ItemIndex() < 0) {
            MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
        SendFromLine2(String(s.command) + IntToHex(s.list->ItemIndex() + s.offset, 2));
        return;
    }
}

void TMainForm::PageControl5Change(TObject* Sender) {
    RequestKind = 0;
    TTabSheet* page = PageControl5->ActivePage();
    if (page == TabSheet3) {
        ControlPage = 3;
    } else if (page == TabSheet15) {
        ControlPage = 2;
        QueueNow({"@MO", "@SF"});
    } else if (page == TabSheet9) {
        ControlPage = 1;
        QueueNow({"@PS", "@PO", "@PI"});
    }
}

// ---- functions page ---------------------------------------------------------------------------

void TMainForm::VrDemoButton16Click(TObject* Sender) {
    const double L = MvNumEdit12->Value();
    const TAirTime t = RadioGroup1->ItemIndex() == 1 ? FskAirTime(L) : LoRaAirTime(L, MvNumSpin12->ValueAsInt());
    MvNumEdit4->SetValue(static_cast<double>(t.Time));
    MvNumEdit5->SetValue(static_cast<double>(t.Total));
    ProgramWrite write(FProgramWritesSpin);
    MvNumSpin10->SetValue(MvNumEdit5->ValueAsInt());
}

void TMainForm::RadioGroup1Click(TObject* Sender) {
    const bool lora = RadioGroup1->ItemIndex() != 1;
    MvNumSpin12->SetVisible(lora);
    Label31->SetVisible(lora);
    Label32->SetCaption(String(lora ? "+1200ms" : "+200ms"));
    VrDemoButton16Click(Sender);
}

bool TMainForm::UserChangesSpin(TMvNumSpin* spin) const {
    // The spins' change event also comes with the program's writes of the value; the user's
    // clicks and keys reach a spin that has the focus.
    return !FProgramWritesSpin && spin->Focused();
}

void TMainForm::MvNumSpin12Change(TObject* Sender) {
    if (!UserChangesSpin(MvNumSpin12)) return;
    RespReady = 1;
    CommandOut(1, String("@SF") + IntToHex(MvNumSpin12->ValueAsInt() - 7, 2));
}

void TMainForm::MvColBitBtn10Click(TObject* Sender) {
    TestDataToLine1();
    MvNumEdit12->SetValue(AdvComboBox1->Text().Length() - 5);
}

void TMainForm::MvColBitBtn13StatusChanged(TObject* Sender) {
    if (!MvColBitBtn13->Checked()) {
        Timer13->SetEnabled(false);
        RepeatCount = 0;
        return;
    }
    RespReady = 1;
    Label46->SetCaption(String("1"));
    RepeatCount = 1;
    CommandOut(1, AdvComboBox1->Text());
    if (MvNumSpin7->ValueAsInt() < 2) {
        MvColBitBtn13->SetChecked(false);
        return;
    }
    Timer13->SetInterval(static_cast<UINT>(MvNumSpin10->ValueAsInt()));
    Timer13->SetEnabled(true);
}

void TMainForm::Timer13Timer(TObject* Sender) {
    // In a data mode the tick waits for command mode, and the timer runs on.
    if (LinkMode != 0) return;
    RespReady = 1;
    ++RepeatCount;
    Label46->SetCaption(IntToStr(RepeatCount));
    CommandOut(1, AdvComboBox1->Text());
    if (RepeatCount >= MvNumSpin7->ValueAsInt()) {
        Timer13->SetEnabled(false);
        MvColBitBtn13->SetChecked(false);
    }
}

void TMainForm::RepeatSpinChange(TObject* Sender) {
    if (auto* spin = dynamic_cast<TMvNumSpin*>(Sender); !spin || !UserChangesSpin(spin)) return;
    Label46->SetCaption(String("0"));
}

// ---- contact-test page ------------------------------------------------------------------------

void TMainForm::DirectionButtonClick(TObject* Sender) {
    int first = 0, last = -1;
    if (Sender == VrDemoButton5) first = last = 1;
    else if (Sender == VrDemoButton6) first = last = 2;
    else if (Sender == VrDemoButton11) first = 3, last = 4;
    else if (Sender == VrDemoButton12) first = 5, last = 8;
    for (int n = first; n <= last; ++n) {
        for (int lamp : {16 + n, 32 + n}) {
            TMvLED* l = MvLED[static_cast<size_t>(lamp)];
            l->SetChecked(!l->Checked());
        }
    }
    PortSettingCommand();
}

void TMainForm::PortSettingCommand() {
    String command = String("@PS") + MvNumEdit1->ValueAsHex();
    if (CheckBox5->Checked()) command += "/w";
    CheckBox5->SetChecked(false);
    RespReady = 1;
    CommandOut(1, command);
}

void TMainForm::MvLED17StatusChanged(TObject* Sender) { MvNumEdit1->SetValueAsHex(IntToHex(LampsToByte(MvLED, 17), 2)); }

void TMainForm::MvLED1StatusChanged(TObject* Sender) { MvNumEdit2->SetValueAsHex(IntToHex(LampsToByte(MvLED, 1), 2)); }
