#include "grid/ZedUdidSettings.h"

#include "platform/ui/Grids.h"

void TNavigation::SetAdvanceAuto(bool Value) {
    if (Value == FAdvanceAuto) return;
    FAdvanceAuto = Value;
    if (Value) FAdvanceOnEnter = true;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
    if (Value == FAdvanceDirection) return;
    FAdvanceDirection = Value;
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceInsert(bool Value) {
    if (Value == FAdvanceInsert) return;
    FAdvanceInsert = Value;
    if (OnChange) OnChange(this);
}

void TNavigation::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TNavigation*>(Source);
    if (!s || s == this) return;
    const bool keepScroll = FKeepScrollOnSort;
    ZU_NAVIGATION_PLAIN(ZU_COPY_FIELD)
    ZU_NAVIGATION_WRITTEN(ZU_COPY_FIELD)
    FKeepScrollOnSort = keepScroll;
}

TMouseActions::TMouseActions() : FFixedComboValues(std::make_unique<TStringList>()) {}

void TMouseActions::SetHotmailRowSelect(bool Value) {
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate) OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit) OnDisableEdit(this);
}

bool TMouseActions::Designing() {
    bool designing = false;
    if (OnIsDesigning) OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::DisjunctExclusive(bool Value, bool& Keep) {
    Keep = Value;
    if (!Value || !Designing()) return;
    for (bool* f : {&FDisjunctRowSelect, &FDisjunctColSelect, &FDisjunctCellSelect})
        if (f != &Keep) *f = false;
}

void TMouseActions::SetDisjunctRowSelect(bool Value) { DisjunctExclusive(Value, FDisjunctRowSelect); }
void TMouseActions::SetDisjunctColSelect(bool Value) { DisjunctExclusive(Value, FDisjunctColSelect); }
void TMouseActions::SetDisjunctCellSelect(bool Value) { DisjunctExclusive(Value, FDisjunctCellSelect); }

void TMouseActions::SetWheelAction(TWheelAction Value) {
    if (Value == FWheelAction) return;
    FWheelAction = Value;
    if (OnChange) OnChange(this);
}

void TMouseActions::SetFixedComboValues(const TStrings* Value) {
    if (Value != FFixedComboValues.get()) FFixedComboValues->Assign(Value);
}

void TMouseActions::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TMouseActions*>(Source);
    if (!s || s == this) return;
    ZU_MOUSE_PLAIN(ZU_COPY_FIELD)
    ZU_MOUSE_WRITTEN(ZU_COPY_FIELD)
}

void TBands::Changed() {
    if (FActive && OnChange) OnChange(this);
}

void TBands::SetActive(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (OnChange) OnChange(this);
}

void TBands::SetPrimaryColor(TColor Value) {
    if (Value == FPrimaryColor) return;
    FPrimaryColor = Value;
    Changed();
}

void TBands::SetSecondaryColor(TColor Value) {
    if (Value == FSecondaryColor) return;
    FSecondaryColor = Value;
    Changed();
}

void TBands::SetPrimaryLength(int Value) {
    if (Value == FPrimaryLength) return;
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    Changed();
}

void TBands::SetSecondaryLength(int Value) {
    if (Value == FSecondaryLength) return;
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    Changed();
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

void TSyncGrid::SetGrid(TStringGrid* Value) {
    if (Value == FOwner) return;
    FGrid = Value;
    if (Value && FOwner) Value->FreeNotification(FOwner);
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
