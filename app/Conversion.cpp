#include "app/Conversion.h"

TConversionForm1* ConversionForm1 = nullptr;

TConversionForm1::TConversionForm1(TComponent* AOwner) : TForm(AOwner) { SetName(String("ConversionForm1")); }

TConversionForm1::~TConversionForm1() {
    if (ConversionForm1 == this) ConversionForm1 = nullptr;
}
