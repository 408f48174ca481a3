#pragma once
// A number-converter form the program creates at start-up and never shows.
#include "platform/ui/Forms.h"

class TConversionForm1 : public TForm {
public:
    explicit TConversionForm1(TComponent* AOwner);
    ~TConversionForm1() override;
    const char* ClassName() const override { return "TConversionForm1"; }
};

extern TConversionForm1* ConversionForm1;
