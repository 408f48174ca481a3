#pragma once
// The address dialog of the TCP side channel: the device server's address and its (fixed) port,
// from the settings file. "OK" hands them to the main window and shows the connection notice;
// "設定値保存" also saves them.
#include "controls/instrument/MvNumEdit.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrlsDrawn.h"

class TIPSettingForm1 : public TForm {
public:
    explicit TIPSettingForm1(TComponent* AOwner);
    ~TIPSettingForm1() override;
    const char* ClassName() const override { return "TIPSettingForm1"; }

    TLabeledEdit* LabeledEdit4;  // remote address
    TLabel* Label1;              // an example address
    TLabel* Label2;              // the port's legend
    TMvNumEdit* MvNumEdit1;      // port, read-only
    TSpeedButton* SpeedButton1;  // "OK"
    TSpeedButton* SpeedButton2;  // "ｷｬﾝｾﾙ"
    TSpeedButton* SpeedButton3;  // "設定値保存"

    void FormCreate(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);

private:
    // The address and port texts into the main window's side channel.
    void TakeAddress();
};

extern TIPSettingForm1* IPSettingForm1;
