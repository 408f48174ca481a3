#pragma once
// A keypad form the program creates at start-up and never shows.
#include "platform/ui/Forms.h"

class TKeyForm1 : public TForm {
public:
    explicit TKeyForm1(TComponent* AOwner);
    ~TKeyForm1() override;
    const char* ClassName() const override { return "TKeyForm1"; }
};

extern TKeyForm1* KeyForm1;
