#include "app/Caution2.h"

TCaution2Form* Caution2Form = nullptr;

TCaution2Form::TCaution2Form(TComponent* AOwner) : TNoticeForm(AOwner, 320, 90) {
    SetName(String("Caution2Form"));
    SetCaption(String());
    for (auto [label, name, top] : {std::tuple{&Label1, "Label1", 20}, std::tuple{&Label2, "Label2", 48}}) {
        *label = Line("", 10, top, 296);
        (*label)->SetName(String(name));
        (*label)->SetAlignment(taCenter);
    }
}

TCaution2Form::~TCaution2Form() {
    if (Caution2Form == this) Caution2Form = nullptr;
}
