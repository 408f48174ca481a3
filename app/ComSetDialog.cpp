#include "app/ComSetDialog.h"

#include "app/Main.h"
#include "platform/ui/Dialogs.h"

TComSetDlg* ComSetDlg = nullptr;

TComSetDlg::TComSetDlg(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("ComSetDlg"));
    SetCaption(String("COM port setup dialog"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(520);
    SetClientHeight(290);

    struct Row {
        TComComboBox** combo;
        const char* name;
        const char* label;
        TComProperty property;
    };
    const Row rows[] = {
        {&ComComboBox1, "ComComboBox1", "Port", cpPort},
        {&ComComboBox2, "ComComboBox2", "Baudrate", cpBaudRate},
        {&ComComboBox3, "ComComboBox3", "Data bits", cpDataBits},
        {&ComComboBox4, "ComComboBox4", "Stop bits", cpStopBits},
        {&ComComboBox5, "ComComboBox5", "Parity", cpParity},
        {&ComComboBox6, "ComComboBox6", "Flow control", cpFlowControl},
    };
    int top = 14;
    for (const Row& r : rows) {
        auto* label = new TLabel(this);
        label->SetParent(this);
        label->SetBounds(14, top + 3, 90, 18);
        label->SetCaption(String(r.label));
        auto* combo = new TComComboBox(this);
        combo->SetName(String(r.name));
        combo->SetParent(this);
        combo->SetBounds(110, top, 150, 22);
        combo->SetComProperty(r.property);
        // Only the port and the rate are open to change until "Edit enable" is ticked.
        combo->SetEnabled(r.property == cpPort || r.property == cpBaudRate);
        *r.combo = combo;
        top += 32;
    }

    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName(String("CheckBox1"));
    CheckBox1->SetParent(this);
    CheckBox1->SetBounds(110, top + 2, 150, 20);
    CheckBox1->SetCaption(String("Edit enable"));
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };

    Memo1 = new TMemo(this);
    Memo1->SetName(String("Memo1"));
    Memo1->SetParent(this);
    Memo1->SetBounds(276, 14, 230, 218);
    Memo1->SetScrollBars(ssBoth);

    auto button = [this](const char* name, const char* caption, int left, int width) {
        auto* b = new TButton(this);
        b->SetName(String(name));
        b->SetParent(this);
        b->SetBounds(left, 248, width, 28);
        b->SetCaption(String(caption));
        return b;
    };
    OKBtn = button("OKBtn", "OK", 14, 80);
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn = button("CancelBtn", "Cancel", 102, 80);
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    Button1 = button("Button1", "Save parameter", 190, 120);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TComSetDlg::~TComSetDlg() {
    if (ComSetDlg == this) ComSetDlg = nullptr;
}

void TComSetDlg::FormCreate(TObject* Sender) {
    // Bound to the main window's port, which the program makes first.
    if (!MainForm) return;
    for (TComComboBox* c : Combos()) c->SetComPort(MainForm->ComPort1);
}

void TComSetDlg::Apply() {
    TComPort* port = MainForm->ComPort1;
    port->BeginUpdate();
    for (TComComboBox* c : Combos()) c->ApplySettings();
    port->EndUpdate();
}

void TComSetDlg::Reload() {
    TComPort* port = MainForm->ComPort1;
    port->BeginUpdate();
    for (TComComboBox* c : Combos()) c->UpdateSettings();
    port->EndUpdate();
}

void TComSetDlg::OKBtnClick(TObject* Sender) { Apply(); }

void TComSetDlg::CancelBtnClick(TObject* Sender) { Reload(); }

void TComSetDlg::Button1Click(TObject* Sender) {
    Apply();
    MainForm->ComPort1->StoreSettings(stIniFile, MainForm->IniPath);
    ShowMessage(String("Saved to initial setting file."));
}

void TComSetDlg::CheckBox1Click(TObject* Sender) {
    for (TComComboBox* c : {ComComboBox3, ComComboBox4, ComComboBox5, ComComboBox6}) c->SetEnabled(CheckBox1->Checked());
}
