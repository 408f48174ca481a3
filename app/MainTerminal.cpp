// The terminal of the control-and-test page: the monitor and code screens, the four input lines
// with their history and their keys, the terminal's pop-up commands and the number converter.
#include "app/AssignForm.h"
#include "app/HexKeyForm.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

namespace {

// The monitor's limit (its text limit, set at start-up).
constexpr int kMonitorLimit = 300000;
// Past this many characters the code screen starts afresh.
constexpr int kCodeScreenLimit = 5000;
// The code display shows the first this many characters of the monitor.
constexpr int kCodeDisplayCount = 200;

// " 0000 0000 ... 1010 ": the 32 bits in groups of four, most significant first.
String BitGroups(uint32_t value) {
    String r(u" ");
    for (int group = 7; group >= 0; --group) {
        for (int bit = 3; bit >= 0; --bit) r += ((value >> (group * 4 + bit)) & 1u) ? u'1' : u'0';
        r += u' ';
    }
    return r;
}

}  // namespace

VIzeVadarEdu* TMainForm::InputLine(int n) const {
    switch (n) {
    case 1: return AdvComboBox1;
    case 2: return AdvComboBox2;
    case 3: return AdvComboBox5;
    case 4: return AdvComboBox6;
    default: return nullptr;
    }
}

TAdvToolButton* TMainForm::SendButton(int n) const {
    switch (n) {
    case 1: return AdvToolButton1;
    case 2: return AdvToolButton2;
    case 3: return AdvToolButton3;
    case 4: return AdvToolButton4;
    default: return nullptr;
    }
}

void TMainForm::SendInputLine(VIzeVadarEdu* line) {
    // Sent as typed: an empty line sends CR LF alone.
    const String text = line->Text();
    if (LinkMode == 1 || LinkMode == 2) {
        CommandOut(1, text);
        return;
    }
    UserCommandFlag = 1;
    RespReady = 1;
    if (text != LastSentLine) {
        line->Items()->Add(text);
        LastSentLine = text;
    }
    CommandOut(1, text);
}

void TMainForm::AdvToolButton1Click(TObject* Sender) { SendInputLine(AdvComboBox1); }
void TMainForm::AdvToolButton2Click(TObject* Sender) { SendInputLine(AdvComboBox2); }
void TMainForm::AdvToolButton3Click(TObject* Sender) { SendInputLine(AdvComboBox5); }
void TMainForm::AdvToolButton4Click(TObject* Sender) { SendInputLine(AdvComboBox6); }

void TMainForm::AdvComboBoxKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (Key != VK_RETURN) return;
    for (int n = 1; n <= 4; ++n)
        if (Sender == InputLine(n)) SendButton(n)->OnClick(SendButton(n));
}

void TMainForm::AdvComboBoxKeyPress(TObject* Sender, char16_t& Key) {
    if (LinkMode != 2) return;
    // The binary mode: each key goes to the port at once, and stays in the line.
    ComPort1->WriteStr(String(Key));
    MemoInsert(Memo1, RadioGroup3->ItemIndex() == 1 ? IntToHex(static_cast<int>(Key & 0xFF), 2) : String(Key));
}

void TMainForm::AdvComboBoxKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (LinkMode != 2) return;
    if (auto* line = dynamic_cast<VIzeVadarEdu*>(Sender)) line->Clear();
}

void TMainForm::AdvComboBox1Change(TObject* Sender) { LabeledEdit3->SetText(IntToStr(AdvComboBox1->Text().Length())); }

void TMainForm::AdvComboBox2Change(TObject* Sender) { LabeledEdit6->SetText(IntToStr(AdvComboBox2->Text().Length())); }

void TMainForm::SetLineText(VIzeVadarEdu* line, const String& text) {
    line->SetText(text);
    if (line == AdvComboBox1) AdvComboBox1Change(line);
    else if (line == AdvComboBox2) AdvComboBox2Change(line);
}

void TMainForm::Memo1Change(TObject* Sender) {
    LabeledEdit1->SetText(IntToStr(Memo1->Lines()->Count()));
    LabeledEdit2->SetText(IntToStr(Memo1->Text().Length()));
    if (Memo1->Text().Length() > kMonitorLimit) Memo1->Clear();
}

void TMainForm::Memo3Change(TObject* Sender) {
    if (Memo3->Text().Length() > kCodeScreenLimit) Memo3->Clear();
}

void TMainForm::Memo1DblClick(TObject* Sender) {
    Memo1->SelectAll();
    Memo1->CaretToEnd();
}

void TMainForm::Memo3DblClick(TObject* Sender) {
    Memo3->SelectAll();
    Memo3->CaretToEnd();
}

void TMainForm::AdvToolButton5Click(TObject* Sender) {
    Memo1->Clear();
    Memo1Change(Memo1);
}

void TMainForm::VrDemoButton48Click(TObject* Sender) {
    Memo1->SetSelStart(0);
    Memo1->SelectAll();
    const String text = Memo1->SelText();
    Memo3->Clear();
    String codes;
    const int n = std::min(text.Length(), kCodeDisplayCount);
    for (int i = 0; i < n; ++i) codes += IntToHex(static_cast<int>(text[static_cast<size_t>(i)] & 0xFF), 2) + " ";
    Memo1DblClick(Memo1);
    MemoInsert(Memo3, codes);
}

void TMainForm::TestDataToLine1() {
    if (!AssignForm1) return;
    AssignForm1->Result.clear();
    AssignForm1->ShowModal();
    SetLineText(AdvComboBox1, String("@DT") + AssignForm1->Result);
    if (AdvComboBox1->CanFocus()) AdvComboBox1->SetFocus();
    AdvComboBox1->SelectAll();
    AdvComboBox1->SetSelStart(AdvComboBox1->Text().Length());
}

void TMainForm::MvColBitBtn8Click(TObject* Sender) { TestDataToLine1(); }

void TMainForm::MvColBitBtn9Click(TObject* Sender) {
    if (HexKeyForm1) HexKeyForm1->Show();
}

void TMainForm::MvNumSpin1ValueChanged(TObject* Sender) {
    MvNumSpin13->SetValue(MvNumSpin1->Value());
    AdvEdit1->SetText(BitGroups(static_cast<uint32_t>(MvNumSpin1->ValueAsInt())));
}

void TMainForm::MvNumSpin13ValueChanged(TObject* Sender) {
    MvNumSpin1->SetValueAsHex(IntToHex(MvNumSpin13->ValueAsInt(), 1));
    AdvEdit1->SetText(BitGroups(static_cast<uint32_t>(MvNumSpin13->ValueAsInt())));
}

void TMainForm::ScreenColor1Click(TObject* Sender) {
    if (ColorDialog1->Execute()) Memo1->SetColor(ColorDialog1->Color());
}
