#include "app/Caution1.h"

#include "app/Main.h"
#include "platform/win/Window.h"

TCaution1Form* Caution1Form = nullptr;

TCaution1Form::TCaution1Form(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("Caution1Form"));
    SetCaption(String(" Place of destination "));
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(540);
    SetClientHeight(230);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvRaised);
    Panel1->SetBevelInner(bvLowered);
    Panel1->SetBorderWidth(2);

    auto line = [this](const char* text, int top) {
        auto* l = new TLabel(this);
        l->SetParent(Panel1);
        l->SetBounds(24, top, 490, 18);
        l->SetCaption(String(text));
        return l;
    };
    TLabel* title = line("注意　！！", 14);
    title->Font()->SetSize(12);
    title->Font()->SetStyle(TFontStyles() << fsBold);
    line("開始する時は必ずｹｰﾌﾞﾙを接続し、機器の電源を入れて下さい。", 48);
    line("※TQW-560Rのビットレートは19200bps固定です", 70);
    line("また、最初にﾓﾃﾞﾙ名を選んでからCOMﾎﾟｰﾄを開いて下さい｡", 92);
    line("終了する時は、必ずCOMﾎﾟｰﾄを閉じてから電源を切って下さい。", 114);
    Label1 = line("", 150);
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
