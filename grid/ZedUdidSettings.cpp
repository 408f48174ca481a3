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

void TNavigation::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TNavigation*>(Source);
    if (!s) return;
    FAllowFmtClipboard = s->FAllowFmtClipboard;
    FSkipFixedCells = s->FSkipFixedCells;
    FSkipDisabledRows = s->FSkipDisabledRows;
    FAlwaysEdit = s->FAlwaysEdit;
}

void TMouseActions::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TMouseActions*>(Source);
    if (!s) return;
    FDirectEdit = s->FDirectEdit;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
    FRangeSelectAndEdit = s->FRangeSelectAndEdit;
}

void TBands::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TBands*>(Source);
    if (!s) return;
    FActive = s->FActive;
    FPrimaryColor = s->FPrimaryColor;
    FPrimaryLength = s->FPrimaryLength;
    FSecondaryColor = s->FSecondaryColor;
    FSecondaryLength = s->FSecondaryLength;
    FPrint = s->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TSyncGrid::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TSyncGrid*>(Source);
    if (!s) return;
    SetGrid(s->FGrid);
    FScrollVertical = s->FScrollVertical;
    FScrollHorizontal = s->FScrollHorizontal;
    FSelectionColumn = s->FSelectionColumn;
    FSelectionRow = s->FSelectionRow;
    FMoveColumn = s->FMoveColumn;
    FMoveRow = s->FMoveRow;
}
