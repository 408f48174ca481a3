#pragma once
// The confirmation dialog: two lines of text over an OK and a Cancel button; the caller fills
// the lines and shows it modally.
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TOKBottomDlg1 : public TForm {
public:
    explicit TOKBottomDlg1(TComponent* AOwner);
    ~TOKBottomDlg1() override;
    const char* ClassName() const override { return "TOKBottomDlg1"; }

    TLabel* Label1;
    TLabel* Label2;
    TButton* OKBtn;
    TButton* CancelBtn;
};

extern TOKBottomDlg1* OKBottomDlg1;
