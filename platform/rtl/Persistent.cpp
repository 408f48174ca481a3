#include "platform/rtl/Persistent.h"

void TPersistent::Assign(const TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignTo(this);  // assigning nil: only classes that accept it override Assign
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    String sourceName = this == Dest ? String("nil") : String(ClassName());
    throw EConvertError(String("Cannot assign a ") + sourceName + " to a " + Dest->ClassName());
}

void TPersistent::PublishedProperties(TFiler*) {}

void TPersistent::DefineProperties(TFiler*) {}
