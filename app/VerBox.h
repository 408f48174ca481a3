#pragma once
// The version box: a picture, the texts and link of the settings file's "HelpResource" section,
// and the program's version.
#include <array>

#include "controls/instrument/MvCBitBt.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrlsDrawn.h"

class TVerBoxForm : public TForm {
public:
    explicit TVerBoxForm(TComponent* AOwner);
    ~TVerBoxForm() override;
    const char* ClassName() const override { return "TVerBoxForm"; }

    TImage* HelpImage1;
    // HelpLabel[1] .. HelpLabel[8] are the labels "HelpLabel1" .. "HelpLabel8"; 7 is the version.
    std::array<TLabel*, 9> HelpLabel{};
    TLabel* HelpURL;
    TMvColBitBtn* MvColBitBtn1;  // close
    // Where the link leads.
    String URL;

    void FormCreate(TObject* Sender);
    void MvColBitBtn1Click(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void HelpURLMouseEnter(TObject* Sender);
    void HelpURLMouseLeave(TObject* Sender);
    void HelpURLClick(TObject* Sender);
};

extern TVerBoxForm* VerBoxForm;
