#include "app/Caution2.h"

TCaution2Form* Caution2Form = nullptr;

TCaution2Form::TCaution2Form(TComponent* AOwner) : TNoticeForm(AOwner, 320, 90) {
    SetName(String("Caution2Form"));
    SetCaption(String());
    for (auto [label, name, top] : {std::tuple{&Label1, "Label1", 20}, std::tuple{&Label2, "Label2", 48}}) {
        *label = Line("", 10, top, 296);
        (*label)->SetName(String(name));
        // The lines are centred across the notice: a label that sized itself to its text would
        // keep only its left edge.
        (*label)->SetAutoSize(false);
        (*label)->SetAlignment(taCenter);
    }
}

TCaution2Form::~TCaution2Form() {
    if (Caution2Form == this) Caution2Form = nullptr;
}
