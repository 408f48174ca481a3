#include "app/Caution2.h"

TCaution2Form* Caution2Form = nullptr;

TCaution2Form::TCaution2Form(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("Caution2Form"));
    SetCaption(String());
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(320);
    SetClientHeight(90);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvRaised);
    Panel1->SetBevelInner(bvLowered);
    Panel1->SetBorderWidth(2);
    auto line = [this](const char* name, int top) {
        auto* l = new TLabel(this);
        l->SetName(String(name));
        l->SetParent(Panel1);
        l->SetBounds(10, top, 296, 20);
        l->SetAlignment(taCenter);
        l->SetCaption(String());
        return l;
    };
    Label1 = line("Label1", 20);
    Label2 = line("Label2", 48);
}

TCaution2Form::~TCaution2Form() {
    if (Caution2Form == this) Caution2Form = nullptr;
}
