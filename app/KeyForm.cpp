#include "app/KeyForm.h"

TKeyForm1* KeyForm1 = nullptr;

TKeyForm1::TKeyForm1(TComponent* AOwner) : TForm(AOwner) { SetName(String("KeyForm1")); }

TKeyForm1::~TKeyForm1() {
    if (KeyForm1 == this) KeyForm1 = nullptr;
}
