#pragma once
// The option box: the colours of the terminal and of the two level charts, each shown by a lamp
// that a click edits, the charts' defaults, and the clipboard's image type. "設定の保存" writes
// them to the settings file; "OK" and Esc keep them for this run only.
#include <array>

#include "controls/instrument/MvLED.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

class TOptionBoxForm : public TForm {
public:
    explicit TOptionBoxForm(TComponent* AOwner);
    ~TOptionBoxForm() override;
    const char* ClassName() const override { return "TOptionBoxForm"; }

    TPageControl* PageControl1;
    TTabSheet* TabSheet1;  // terminal
    TTabSheet* TabSheet2;  // air monitor
    // Lamps by their number: MvLED[3] is the component "MvLED3" (1..20).
    std::array<TMvLED*, 21> MvLED{};
    TSpeedButton* SpeedButton3;  // defaults of the frequency chart
    TSpeedButton* SpeedButton4;  // defaults of the time chart
    TRadioGroup* RadioGroup2;    // clipboard image type: EMF, WMF, BMP
    TSpeedButton* SpeedButton1;  // save the settings and close
    TSpeedButton* SpeedButton2;  // OK

    void FormCreate(TObject* Sender);
    // One handler per lamp group, as the design has it; each edits the lamp clicked.
    void MvLED11Click(TObject* Sender);
    void MvLED1Click(TObject* Sender);
    void MvLED6Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void ShowColors();
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

private:
    void EditColor(TObject* lamp);
    void ChartDefaults(char16_t chart);
};

extern TOptionBoxForm* OptionBoxForm;
