#include "app/Notice.h"

TNoticeForm::TNoticeForm(TComponent* AOwner, int clientWidth, int clientHeight) : TForm(AOwner) {
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(clientWidth);
    SetClientHeight(clientHeight);
    Panel1 = new TPanel(this);
    Panel1->SetName(String("Panel1"));
    Panel1->SetParent(this);
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvRaised);
    Panel1->SetBevelInner(bvLowered);
    Panel1->SetBorderWidth(2);
}

TLabel* TNoticeForm::Line(const char* text, int left, int top, int width) {
    auto* l = new TLabel(this);
    l->SetParent(Panel1);
    l->SetBounds(left, top, width, 18);
    l->SetCaption(String(text));
    return l;
}
