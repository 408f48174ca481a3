#include "app/Caution1.h"

#include "app/Main.h"
#include "platform/win/Window.h"

TCaution1Form* Caution1Form = nullptr;

TCaution1Form::TCaution1Form(TComponent* AOwner) : TNoticeForm(AOwner, 540, 230) {
    SetName(String("Caution1Form"));
    SetCaption(String(" Place of destination "));
    TLabel* title = Line("注意　！！", 24, 14, 490);
    title->Font()->SetSize(12);
    title->Font()->SetStyle(TFontStyles() << fsBold);
    Line("開始する時は必ずｹｰﾌﾞﾙを接続し、機器の電源を入れて下さい。", 24, 48, 490);
    Line("※TQW-560Rのビットレートは19200bps固定です", 24, 70, 490);
    Line("また、最初にﾓﾃﾞﾙ名を選んでからCOMﾎﾟｰﾄを開いて下さい｡", 24, 92, 490);
    Line("終了する時は、必ずCOMﾎﾟｰﾄを閉じてから電源を切って下さい。", 24, 114, 490);
    Label1 = Line("", 24, 150, 490);
    Label1->SetName(String("Label1"));

    BitBtn1 = new TBitBtn(this);
    BitBtn1->SetName(String("BitBtn1"));
    BitBtn1->SetParent(Panel1);
    BitBtn1->SetBounds(220, 182, 100, 32);
    BitBtn1->SetCaption(String("O K"));
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

void TCaution1Form::FormCreate(TObject* Sender) {
    MessageBeep(MB_ICONEXCLAMATION);
    Label1->SetCaption(String(" Place of destination : ") + (MainForm ? MainForm->Destination : String()));
}

void TCaution1Form::FormShow(TObject* Sender) {
    if (MainForm) MainForm->SetEnabled(false);
}

void TCaution1Form::BitBtn1Click(TObject* Sender) {
    if (MainForm) {
        MainForm->Show();
        MainForm->SetEnabled(true);
        MainForm->ComboBox5->SetEnabled(true);
    }
    Close();
}

TCaution1Form::~TCaution1Form() {
    if (Caution1Form == this) Caution1Form = nullptr;
}
