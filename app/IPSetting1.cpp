#include "app/IPSetting1.h"

#include "app/Caution2.h"
#include "app/Main.h"
#include "platform/rtl/IniFiles.h"

TIPSettingForm1* IPSettingForm1 = nullptr;

TIPSettingForm1::TIPSettingForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("IPSettingForm1"));
    SetCaption(String(" TCP/IP ｱﾄﾞﾚｽ設定 "));
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(330);
    SetClientHeight(170);

    LabeledEdit4 = new TLabeledEdit(this);
    LabeledEdit4->SetName(String("LabeledEdit4"));
    LabeledEdit4->SetParent(this);
    LabeledEdit4->SetBounds(16, 30, 180, 22);
    LabeledEdit4->EditLabel()->SetCaption(String("ﾘﾓｰﾄIPｱﾄﾞﾚｽ"));
    Label1 = new TLabel(this);
    Label1->SetName(String("Label1"));
    Label1->SetParent(this);
    Label1->SetBounds(16, 56, 180, 16);
    Label1->SetCaption(String("(例)  192.168.0.100"));

    Label2 = new TLabel(this);
    Label2->SetName(String("Label2"));
    Label2->SetParent(this);
    Label2->SetBounds(210, 12, 110, 16);
    Label2->SetCaption(String("ﾎﾟｰﾄﾅﾝﾊﾞｰ （固定）"));
    MvNumEdit1 = new TMvNumEdit(this);
    MvNumEdit1->SetName(String("MvNumEdit1"));
    MvNumEdit1->SetParent(this);
    MvNumEdit1->SetBounds(210, 30, 100, 22);
    MvNumEdit1->SetEditBase(ebInt);
    MvNumEdit1->SetMinValue(0);
    MvNumEdit1->SetMaxValue(65535);
    MvNumEdit1->SetReadOnly(true);

    auto button = [this](const char* name, const char* caption, int left, int width) {
        auto* b = new TSpeedButton(this);
        b->SetName(String(name));
        b->SetParent(this);
        b->SetBounds(left, 124, width, 30);
        b->SetCaption(String(caption));
        return b;
    };
    SpeedButton1 = button("SpeedButton1", "OK", 16, 90);
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2 = button("SpeedButton2", "ｷｬﾝｾﾙ", 116, 90);
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    SpeedButton3 = button("SpeedButton3", "設定値保存", 216, 98);
    SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TIPSettingForm1::~TIPSettingForm1() {
    if (IPSettingForm1 == this) IPSettingForm1 = nullptr;
}

void TIPSettingForm1::FormCreate(TObject* Sender) {
    TMemIniFile ini(MainForm->IniPath);
    LabeledEdit4->SetText(ini.ReadString(u"Information", u"RemoteAddress", u""));
    MvNumEdit1->SetText(ini.ReadString(u"Information", u"PortNumber", u"30704"));
    ini.UpdateFile();
}

void TIPSettingForm1::TakeAddress() {
    MainForm->RemoteAddress = LabeledEdit4->Text();
    MainForm->PortNumber = MvNumEdit1->Text();
}

void TIPSettingForm1::SpeedButton1Click(TObject* Sender) {
    TakeAddress();
    Caution2Form->Label1->SetCaption(String(" Just moment "));
    Caution2Form->Label2->SetCaption(String(" Try connect now "));
    Caution2Form->Show();
    WaitTime(250);
    SetModalResult(mrOk);
}

void TIPSettingForm1::SpeedButton2Click(TObject* Sender) { SetModalResult(mrCancel); }

void TIPSettingForm1::SpeedButton3Click(TObject* Sender) {
    TakeAddress();
    TMemIniFile ini(MainForm->IniPath);
    ini.WriteString(u"Information", u"RemoteAddress", MainForm->RemoteAddress);
    ini.WriteString(u"Information", u"PortNumber", MainForm->PortNumber);
    ini.UpdateFile();
    SetModalResult(mrOk);
}
