#include "app/ImageSel1.h"

TImageSelectForm1* ImageSelectForm1 = nullptr;

TImageSelectForm1::TImageSelectForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("ImageSelectForm1"));
    SetCaption(String("  Image type"));
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(190);
    SetClientHeight(176);

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->SetName(String("RadioGroup1"));
    RadioGroup1->SetParent(this);
    RadioGroup1->SetBounds(12, 8, 166, 118);
    RadioGroup1->SetCaption(String(" ｲﾒｰｼﾞﾀｲﾌﾟ "));
    for (const char* type : {"EMF", "WMF", "BMP", "JPG"}) RadioGroup1->Items()->Add(String(type));
    RadioGroup1->SetItemIndex(0);

    SpeedButton1 = new TSpeedButton(this);
    SpeedButton1->SetName(String("SpeedButton1"));
    SpeedButton1->SetParent(this);
    SpeedButton1->SetBounds(50, 136, 90, 30);
    SpeedButton1->SetCaption(String("Ok"));
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TImageSelectForm1::~TImageSelectForm1() {
    if (ImageSelectForm1 == this) ImageSelectForm1 = nullptr;
}

void TImageSelectForm1::SpeedButton1Click(TObject* Sender) { Close(); }

void TImageSelectForm1::FormClose(TObject* Sender, TCloseAction& Action) { SetModalResult(mrOk); }
