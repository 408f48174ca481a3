#pragma once
// The image-type chooser of the picture export: EMF, WMF, BMP or JPG. Closing it in any way
// (its button or the window's close box) counts as OK; the choice stays for the next export.
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

class TImageSelectForm1 : public TForm {
public:
    explicit TImageSelectForm1(TComponent* AOwner);
    ~TImageSelectForm1() override;
    const char* ClassName() const override { return "TImageSelectForm1"; }

    TRadioGroup* RadioGroup1;
    TSpeedButton* SpeedButton1;

    void SpeedButton1Click(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TImageSelectForm1* ImageSelectForm1;
