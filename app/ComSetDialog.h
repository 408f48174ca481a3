#pragma once
// The serial parameter dialog: the port and its line settings, applied to the main window's port
// as one change and saved as the start-up values in the settings file. It shows the listing of
// the present serial devices beside them.
#include <array>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"
#include "serial/ctl/CPortCtl.h"

class TComSetDlg : public TForm {
public:
    explicit TComSetDlg(TComponent* AOwner);
    ~TComSetDlg() override;
    const char* ClassName() const override { return "TComSetDlg"; }

    TComComboBox* ComComboBox1;  // port
    TComComboBox* ComComboBox2;  // baud rate
    TComComboBox* ComComboBox3;  // data bits
    TComComboBox* ComComboBox4;  // stop bits
    TComComboBox* ComComboBox5;  // parity
    TComComboBox* ComComboBox6;  // flow control
    TCheckBox* CheckBox1;        // "Edit enable"
    TMemo* Memo1;                // the device listing
    TButton* OKBtn;
    TButton* CancelBtn;
    TButton* Button1;  // "Save parameter"

    // The six combo boxes in the order they are applied.
    std::array<TComComboBox*, 6> Combos() const {
        return {ComComboBox1, ComComboBox2, ComComboBox3, ComComboBox4, ComComboBox5, ComComboBox6};
    }

    void FormCreate(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

private:
    // The combo boxes' values into the port, or the port's into them, as one change of the port.
    void Apply();
    void Reload();
};

extern TComSetDlg* ComSetDlg;
