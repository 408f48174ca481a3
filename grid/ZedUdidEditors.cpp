// First forms of the grid's own editor and window controls.
#include "grid/ZedUdidEditors.h"

void TGridUnitEditBtn::SelectUnit(int Index) {
    if (Index < 1 || Index > FUnits.Count()) return;
    String previous = FUnitID;
    FUnitID = FUnits[Index - 1];
    Invalidate();
    if (FUnitID != previous && OnUnitChanged) OnUnitChanged(this, FUnitID);
}
