#include "app/AssignForm.h"

#include "app/Design.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"

TAssignForm1* AssignForm1 = nullptr;

TAssignForm1::TAssignForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("AssignForm1"));
    SetCaption(String(" 送信ｺﾏﾝﾄﾞ自動作成"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(470);
    SetClientHeight(236);

    auto track = [this](const char* name, int top, int position) {
        auto* t = Place<TTrackBar>(this, this, name, 110, top, 240, 32);
        t->SetMin(0);
        t->SetMax(255);
        t->SetFrequency(10);
        t->SetPosition(position);
        return t;
    };
    auto figure = [this](const char* name, int left, int top) {
        auto* s = Place<TStaticText>(this, this, name, left, top, 40, 20);
        s->SetAutoSize(false);
        s->SetAlignment(taCenter);
        s->SetBorderStyle(sbsSunken);
        return s;
    };
    Legend(this, this, "ﾃﾞｰﾀｻｲｽﾞ", 12, 20);
    TrackBar1 = track("TrackBar1", 12, 10);
    StaticText1 = figure("StaticText1", 360, 18);
    StaticText2 = figure("StaticText2", 408, 18);
    Legend(this, this, "ｷｬﾗｸﾀｺｰﾄﾞ", 12, 64);
    TrackBar2 = track("TrackBar2", 56, 80);
    StaticText17 = figure("StaticText17", 360, 62);
    AdvEdit1 = Place<TAdvEdit>(this, this, "AdvEdit1", 408, 62, 40, 22);
    AdvEdit1->SetReadOnly(true);
    AdvEdit1->SetEditAlign(eaCenter);
    AdvEdit1->SetBorderStyle(bsNone);
    AdvEdit1->SetLabelPosition(advedit::lpBottomCenter);
    AdvEdit1->SetLabelCaption(String("ASCII"));
    Edit1 = Place<TEdit>(this, this, "Edit1", 12, 112, 446, 22);
    VrDemoButton1 = Place<TVrDemoButton>(this, this, "VrDemoButton1", 12, 150, 180, 30);
    VrDemoButton1->SetCaption(String("文字設定（同一文字）"));
    VrDemoButton10 = Place<TVrDemoButton>(this, this, "VrDemoButton10", 200, 150, 180, 30);
    VrDemoButton10->SetCaption(String("文字設定（ﾗﾝﾀﾞﾑ文字）"));
    VrDemoButton2 = Place<TVrDemoButton>(this, this, "VrDemoButton2", 190, 194, 90, 30);
    VrDemoButton2->SetCaption(String("OK"));

    TrackBar1->OnChange = [this](TObject* s) { TrackBar1Change(s); };
    TrackBar2->OnChange = [this](TObject* s) { TrackBar2Change(s); };
    VrDemoButton1->OnClick = [this](TObject* s) { VrDemoButton1Click(s); };
    VrDemoButton10->OnClick = [this](TObject* s) { VrDemoButton10Click(s); };
    VrDemoButton2->OnClick = [this](TObject* s) { VrDemoButton2Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TAssignForm1::~TAssignForm1() {
    if (AssignForm1 == this) AssignForm1 = nullptr;
}

void TAssignForm1::FormCreate(TObject* Sender) {
    Packet = String("00");
    StaticText1->SetCaption(IntToHex(TrackBar1->Position(), 2));
    StaticText2->SetCaption(IntToStr(TrackBar1->Position()));
    StaticText17->SetCaption(IntToHex(TrackBar2->Position(), 2));
    AdvEdit1->SetText(String(static_cast<char16_t>(TrackBar2->Position())));
    Edit1->SetText(String("PPPPPPPPPP"));
}

void TAssignForm1::TrackBar1Change(TObject* Sender) {
    Edit1->Clear();
    StaticText1->SetCaption(IntToHex(TrackBar1->Position(), 2));
    StaticText2->SetCaption(IntToStr(TrackBar1->Position()));
}

void TAssignForm1::TrackBar2Change(TObject* Sender) {
    Edit1->Clear();
    StaticText17->SetCaption(IntToHex(TrackBar2->Position(), 2));
    AdvEdit1->SetText(String(static_cast<char16_t>(TrackBar2->Position())));
}

void TAssignForm1::Generated(const String& text) {
    Edit1->SetText(text);
    Packet = IntToHex(TrackBar1->Position(), 2) + text;
}

void TAssignForm1::VrDemoButton1Click(TObject* Sender) {
    Result.clear();
    Generated(String(static_cast<size_t>(TrackBar1->Position()), static_cast<char16_t>(TrackBar2->Position())));
}

void TAssignForm1::VrDemoButton10Click(TObject* Sender) {
    Result.clear();
    String text;
    // "!" to "}": no blank, no control character and no "~".
    for (int i = 0; i < TrackBar1->Position(); ++i) text += static_cast<char16_t>(33 + Random(93));
    Generated(text);
}

void TAssignForm1::VrDemoButton2Click(TObject* Sender) {
    Result = Packet;
    SetModalResult(mrOk);
}
