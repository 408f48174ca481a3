// Undo and redo of cell texts (TZedUdidUndoRedo) and the grid's link to its recorder.
#include "grid/BaseGrid.h"

// ---------------------------------------------------------------------------------------------
// The grid's side of the link

void TBaseGrid::SetUndoRedo(TZedUdidUndoRedo* Value) {
    if (FUndoRedo == Value) return;
    if (FUndoRedo) FUndoRedo->RemoveFreeNotification(this);
    FUndoRedo = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetGrid(this);
    }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TObjStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TZedUdidUndoRedo

TZedUdidUndoRedo::TZedUdidUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TZedUdidUndoRedo::~TZedUdidUndoRedo() {
    Destroying();
    // A grid still linked forgets this recorder through its free notification.
}

void TZedUdidUndoRedo::SetGrid(TBaseGrid* Value) {
    if (FGrid == Value) return;
    if (FGrid) FGrid->RemoveFreeNotification(this);
    FGrid = Value;
    if (Value) Value->FreeNotification(this);
}

void TZedUdidUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
}

void TZedUdidUndoRedo::RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue) {
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel) FItems->Delete(0);
    TUndoRedoItem* item = FItems->Add();
    item->SetCol(ACol);
    item->SetRow(ARow);
    item->SetValue(NewValue);
    item->SetOrigValue(OldValue);
    FLevel = FItems->Count();
}

void TZedUdidUndoRedo::AddMarker(bool Start) {
    TUndoRedoItem* item = FItems->Add();
    item->SetCol(-1);
    item->SetRow(-1);
    item->SetSequenceStart(Start);
    item->SetSequenceStop(!Start);
    FLevel = FItems->Count();
}

void TZedUdidUndoRedo::StartSequence() { AddMarker(true); }
void TZedUdidUndoRedo::StopSequence() { AddMarker(false); }

void TZedUdidUndoRedo::Reset() { FItems->Clear(); }

void TZedUdidUndoRedo::Play(const TUndoRedoItem* Item, const String& Text, const TZedUdidUndoRedoEvent& Event) {
    int c = Item->Col(), r = Item->Row();
    if (Event) Event(this, FGrid, c, r, c >= 0 && r >= 0 ? FGrid->GetCellEx(c, r) : String(), Text);
    // A marker left unclosed carries no cell: there is nothing to write.
    if (c < 0 || r < 0) return;
    FGrid->SetCellEx(c, r, Text);
    FGrid->SetCol(FGrid->DisplColIndex(c));
    FGrid->SetRow(r);
}

void TZedUdidUndoRedo::Undo() {
    if (!FGrid || FLevel <= 0 || FLevel > FItems->Count()) return;
    const TUndoRedoItem* last = FItems->Items(FLevel - 1);
    if (last->SequenceStop()) {
        --FLevel;
        while (FLevel > 0 && !FItems->Items(FLevel - 1)->SequenceStart()) {
            const TUndoRedoItem* item = FItems->Items(FLevel - 1);
            Play(item, item->OrigValue(), OnUndo);
            --FLevel;
        }
        // Over the opening marker, when the history still holds it.
        if (FLevel > 0) --FLevel;
        FGrid->Invalidate();
        return;
    }
    Play(last, last->OrigValue(), OnUndo);
    if (last->Row() >= 0) FGrid->RepaintCell(FGrid->Col(), last->Row());
    --FLevel;
}

void TZedUdidUndoRedo::Redo() {
    // Also after Reset with Level above 0: there is no item at Level then.
    if (!FGrid || FLevel < 0 || FLevel >= FItems->Count()) return;
    const TUndoRedoItem* first = FItems->Items(FLevel);
    ++FLevel;
    if (first->SequenceStart()) {
        ++FLevel;
        while (FLevel < FItems->Count() && !FItems->Items(FLevel - 1)->SequenceStop()) {
            const TUndoRedoItem* item = FItems->Items(FLevel - 1);
            Play(item, item->Value(), OnRedo);
            ++FLevel;
        }
        FGrid->Invalidate();
        return;
    }
    Play(first, first->Value(), OnRedo);
}
