#include "grid/ZedUdidSettings.h"

#include "platform/ui/Grids.h"

void TBands::SetActive(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (OnChange) OnChange(this);
}

void TSyncGrid::SetGrid(TStringGrid* Value) {
    if (Value == FOwner) return;
    FGrid = Value;
    if (Value && FOwner) Value->FreeNotification(FOwner);
}
