#include "grid/ZedUdidSettings.h"

void TBands::SetActive(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (OnChange) OnChange(this);
}
