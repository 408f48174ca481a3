#include "app/Caution3.h"

#include "app/Design.h"

TOKBottomDlg1* OKBottomDlg1 = nullptr;

TOKBottomDlg1::TOKBottomDlg1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("OKBottomDlg1"));
    SetCaption(String("確認"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(300);
    SetClientHeight(130);
    Label1 = Place<TLabel>(this, this, "Label1", 10, 18, 280, 18);
    Label2 = Place<TLabel>(this, this, "Label2", 10, 44, 280, 18);
    for (TLabel* l : {Label1, Label2}) l->SetAlignment(taCenter);
    OKBtn = Place<TButton>(this, this, "OKBtn", 62, 88, 80, 26);
    OKBtn->SetCaption(String("OK"));
    OKBtn->SetModalResult(mrOk);
    OKBtn->SetDefault(true);
    CancelBtn = Place<TButton>(this, this, "CancelBtn", 158, 88, 80, 26);
    CancelBtn->SetCaption(String("キャンセル"));
    CancelBtn->SetModalResult(mrCancel);
    CancelBtn->SetCancel(true);
}

TOKBottomDlg1::~TOKBottomDlg1() {
    if (OKBottomDlg1 == this) OKBottomDlg1 = nullptr;
}
