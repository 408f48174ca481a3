// TVerAdevovEdav: cell access, selection and the grid's settings.
#include "grid/ZedUdid.h"

#include <algorithm>

#include "platform/win/Messages.h"

void TGridChangeNotifier::CellsChanged(const TRect&) {}

void TVerAdevovEdav::Notification(TComponent* AComponent, TOperation Operation) {
    TBaseGrid::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FCellChecker) FCellChecker = nullptr;
    if (AComponent == FGridImages) FGridImages = nullptr;
    if (AComponent == FScrollHintWnd) FScrollHintWnd = nullptr;
    // Owned components the grid did not free itself (an application may).
    if (AComponent == FFooterPanel) FFooterPanel = nullptr;
    if (AComponent == FSearchPanel) FSearchPanel = nullptr;
    if (AComponent == FDropList) FDropList = nullptr;
    if (AComponent == FDropCheckList) FDropCheckList = nullptr;
    if (FSyncGrid && FSyncGrid->Grid() == AComponent) FSyncGrid->SetGrid(nullptr);
    auto it = std::find(FNotifierList.begin(), FNotifierList.end(), AComponent);
    if (it != FNotifierList.end()) FNotifierList.erase(it);
}

void TVerAdevovEdav::SetCellChecker(TVerAdevovEdavCheck* Value) {
    FCellChecker = Value;
    if (Value) Value->FreeNotification(this);
}

void TVerAdevovEdav::SetGridImages(TCustomImageList* Value) {
    FGridImages = Value;
    if (Value) Value->FreeNotification(this);
}


// ---------------------------------------------------------------------------------------------
// Settings with an effect

void TVerAdevovEdav::SetDefaultAlignment(TAlignment Value) {
    if (Value == FDefaultAlignment) return;
    FDefaultAlignment = Value;
    Invalidate();
}

void TVerAdevovEdav::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    FVAlign = Value == vaCenter ? DT_VCENTER : Value == vaBottom ? DT_BOTTOM : 0;
    if (FUpdateCount == 0) Invalidate();
}

void TVerAdevovEdav::SetActiveCellShow(bool Value) {
    if (Value == FActiveCellShow) return;
    FActiveCellShow = Value;
    Invalidate();
}

void TVerAdevovEdav::SetActiveCellColor(TColor Value) {
    if (Value == FActiveCellColor) return;
    FActiveCellColor = Value;
    Invalidate();
}

void TVerAdevovEdav::SetSelectionColor(TColor Value) {
    if (Value == FSelectionColor) return;
    FSelectionColor = Value;
    Invalidate();
}

void TVerAdevovEdav::SetSelectionTextColor(TColor Value) {
    if (Value == FSelectionTextColor) return;
    FSelectionTextColor = Value;
    Invalidate();
}

void TVerAdevovEdav::SetSelectionColorTo(TColor Value) { StoreAndInvalidate(FSelectionColorTo, Value); }
void TVerAdevovEdav::SetSelectionMirrorColor(TColor Value) { StoreAndInvalidate(FSelectionMirrorColor, Value); }
void TVerAdevovEdav::SetSelectionMirrorColorTo(TColor Value) { StoreAndInvalidate(FSelectionMirrorColorTo, Value); }
void TVerAdevovEdav::SetSelectionColorMixer(bool Value) { StoreAndInvalidate(FSelectionColorMixer, Value); }
void TVerAdevovEdav::SetSelectionColorMixerFactor(int Value) {
    StoreAndInvalidate(FSelectionColorMixerFactor, std::clamp(Value, 0, 100));
}
void TVerAdevovEdav::SetSelectionRectangle(bool Value) { StoreAndInvalidate(FSelectionRectangle, Value); }
void TVerAdevovEdav::SetSelectionResizer(bool Value) { StoreAndInvalidate(FSelectionResizer, Value); }

void TVerAdevovEdav::SetShowSelection(bool Value) {
    if (Value == FShowSelection) return;
    FShowSelection = Value;
    FSelectionShown = Value;
    Invalidate();
}

void TVerAdevovEdav::SetSpreadSheet(bool Value) {
    FSpreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->SetAllowSmartClipboard(true);
    SetOptions(Options() << goRangeSelect << goEditing);
    FMouseActions->SetRangeSelectAndEdit(true);
}

void TVerAdevovEdav::SetMaxEditLength(int Value) {
    FMaxEditLength = Value;
    if (InplaceEditor()) InplaceEditor()->SetMaxLength(Value);
}

void TVerAdevovEdav::SetFlat(bool Value) {
    FFlat = Value;
    if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TVerAdevovEdav::SetCursor(TCursor Value) {
    TBaseGrid::SetCursor(Value);
    FNormalCursor = Value;
}

void TVerAdevovEdav::SetHeaderColor(int Role, TColor Value) {
    FHeaderColors[Role] = static_cast<TColor>(ColorToRGB(Value));
    Invalidate();
}

void TVerAdevovEdav::SetXYOffset(TPoint Value) {
    FXYOffset = Value;
    Invalidate();
}

void TVerAdevovEdav::SetZoomFactor(int Value) {
    FZoomFactor = std::clamp(Value, -10, 10);
    Invalidate();
}

// Cell graphics are in ZedUdidGraphic.cpp.

bool TVerAdevovEdav::IsNode(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }
bool TVerAdevovEdav::IsSummary(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }

// ---------------------------------------------------------------------------------------------
// Cell access

String TVerAdevovEdav::GetCurrentCell() const {
    TPoint b = BaseCell(DisplayToRealCol(Col()), Row());
    return GetGridCell(b.X, b.Y);
}

void TVerAdevovEdav::SetCurrentCell(const String& Value) { SetCellEx(DisplayToRealCol(Col()), Row(), Value); }

bool TVerAdevovEdav::GetReadOnly(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->ReadOnly(); }

void TVerAdevovEdav::SetReadOnly(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->SetReadOnly(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TControl* TVerAdevovEdav::GetCellControls(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return nullptr;
    return const_cast<TVerAdevovEdav*>(this)->GetCellProperties(ACol, ARow)->Control();
}

void TVerAdevovEdav::SetCellControls(int ACol, int ARow, TControl* Value) {
    int realRow = DisplayToRealRow(ARow);
    TCellProperties* p = GetCellProperties(ACol, ARow);
    int index = FControlList->ControlIndex(ACol, realRow);
    if (!Value) {
        if (p->Control()) {
            if (index >= 0) FControlList->RemoveControl(index);
            FNumCellControls = std::max(0, FNumCellControls - 1);
        }
        p->SetControl(nullptr);
        return;
    }
    if (index >= 0) FControlList->RemoveControl(index);
    if (!p->Control()) ++FNumCellControls;
    FControlList->AddControl(ACol, realRow, Value);
    p->SetControl(Value);
    Value->SetParent(this);
    TRect r = CellRect(RealToDisplayCol(ACol), ARow);
    Value->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
}

// ---------------------------------------------------------------------------------------------
// Change notifiers

void TVerAdevovEdav::RegisterNotifier(TGridChangeNotifier* ANotifier) {
    if (!ANotifier || std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) != FNotifierList.end()) return;
    FNotifierList.push_back(ANotifier);
    ANotifier->FreeNotification(this);
}

void TVerAdevovEdav::UnRegisterNotifier(TGridChangeNotifier* ANotifier) {
    auto it = std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier);
    if (it != FNotifierList.end()) FNotifierList.erase(it);
}

// ---------------------------------------------------------------------------------------------
// Painting and the grid timer

void TVerAdevovEdav::Paint() {
    if (FUpdateCount > 0) return;
    TBaseGrid::Paint();
}

void TVerAdevovEdav::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_TIMER && Message.WParam == 111) {
        ++FViewCalls.GridTimer;
        return;
    }
    TBaseGrid::Dispatch(Message);
}
