// TVerAdevovEdav: construction, cell graphics, cell access, selection and the grid's settings.
#include "grid/ZedUdid.h"

#include <algorithm>

#include "platform/win/Messages.h"

// ---------------------------------------------------------------------------------------------
// TCellGraphic

void TCellGraphic::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TCellGraphic*>(Source);
    if (!s) return;
    CellType = s->CellType;
    CellIndex = s->CellIndex;
    CellTransparent = s->CellTransparent;
    CellValue = s->CellValue;
    CellAngle = s->CellAngle;
    CellBoolean = s->CellBoolean;
    CellErrFrom = s->CellErrFrom;
    CellErrLen = s->CellErrLen;
    CellText = s->CellText;
    CellCreated = s->CellCreated;
    CellCheckBoxState = s->CellCheckBoxState;
}

void TGridChangeNotifier::CellsChanged(const TRect&) {}

// ---------------------------------------------------------------------------------------------
// Construction

TVerAdevovEdav::TVerAdevovEdav(TComponent* AOwner)
    : TBaseGrid(AOwner),
      FMouseActions(std::make_unique<TMouseActions>()),
      FNavigation(std::make_unique<TNavigation>()),
      FBands(std::make_unique<TBands>()),
      FSyncGrid(std::make_unique<TSyncGrid>(this)),
      FControlLook(std::make_unique<TControlLook>(this)),
      FGrouping(std::make_unique<TGrouping>()),
      FDragScrollOptions(std::make_unique<TDragScrollOptions>()),
      FBackGround(std::make_unique<TBackGround>(this)),
      FProgressAppearance(std::make_unique<TGridProgressAppearance>()),
      FSizeWhileTyping(std::make_unique<TSizeWhileTyping>()),
      FBalloon(std::make_unique<TBalloonSettings>()),
      FShowModified(std::make_unique<TShowModified>()),
      FOfficeHint(std::make_unique<TAdvHintInfo>()),
      FActiveCellFont(std::make_unique<TFont>()),
      FControlList(std::make_unique<TControlList>()),
      FCellGraphic(std::make_unique<TCellGraphic>()) {
    // The hooks behind the settings' events; they run on the finished object.
    FNavigation->OnChange = [this](TObject* s) { NavigationChanged(s); };
    FMouseActions->OnChange = [this](TObject* s) { MouseActionsChanged(s); };
    FMouseActions->OnIsDesigning = [this](TObject* s, bool& d) { IsDesigning(s, d); };
    FMouseActions->OnInvalidate = [this](TObject* s) { MouseActionsInvalidate(s); };
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FShowModified->OnChange = [this](TObject*) { RepaintCol(0); };
    FBalloon->OnEnableChange = [this](TObject*) {
        if (ComponentState().Contains(csLoading)) return;
        if (FBalloon->Enable())
            BalloonInit();
        else
            BalloonDone();
    };
    FActiveCellFont->SetStyle(TFontStyles() << fsBold);
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    RequireAfterConstruction();
}

void TVerAdevovEdav::AfterConstruction() {
    TBaseGrid::AfterConstruction();
    // The hint window is a component of its own, owned by the grid.
    FScrollHintWnd = NewComponent<THTMLHintWindow>(this);
}

TVerAdevovEdav::~TVerAdevovEdav() {
    Destroying();
    FActiveCellFont->OnChange = nullptr;
}

void TVerAdevovEdav::Notification(TComponent* AComponent, TOperation Operation) {
    TBaseGrid::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FCellChecker) FCellChecker = nullptr;
    if (AComponent == FGridImages) FGridImages = nullptr;
    if (AComponent == FScrollHintWnd) FScrollHintWnd = nullptr;
    if (FSyncGrid->Grid() == AComponent) FSyncGrid->SetGrid(nullptr);
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

int TVerAdevovEdav::TotalColCount() const { return ColCount() + FNumHiddenColumns; }

// ---------------------------------------------------------------------------------------------
// Settings with an effect

void TVerAdevovEdav::SetDefaultAlignment(TAlignment Value) {
    if (Value == FDefaultAlignment) return;
    FDefaultAlignment = Value;
    Invalidate();
}

void TVerAdevovEdav::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
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

void TVerAdevovEdav::SetXYOffset(TPoint Value) {
    FXYOffset = Value;
    Invalidate();
}

void TVerAdevovEdav::SetZoomFactor(int Value) {
    FZoomFactor = std::clamp(Value, -10, 10);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Cell graphics

TCellGraphic* TVerAdevovEdav::GetCellGraphic(int ACol, int ARow) {
    if (ACol == 0 && ARow >= 0 && FMouseActions->HotmailRowSelect()) {
        // The row check boxes of column 0 share one scratch graphic, filled for each call. The
        // disjunct row selection they show comes with the grid's selection.
        TCellGraphic* g = FCellGraphic.get();
        g->CellType = ctRowCheckBox;
        g->CellAngle = 0;
        g->CellBoolean = false;
        g->CellTransparent = FControlLook->ControlStyle() == TControlLook::csFlat;
        return g;
    }
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

TCellType TVerAdevovEdav::GetCellType(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType : ctEmpty;
}

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
// Selection

bool TVerAdevovEdav::IsSelected(int ACol, int ARow) const {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    TGridRect s = Selection();
    return PointInGridRect(ACol, ARow, GridRect(s.TopLeft(), s.BottomRight()));
}

bool TVerAdevovEdav::SelectCell(int ACol, int ARow) {
    if (!Parent()) return true;
    if (ACol < 0 || ARow < 0) return false;
    int oldRow = Row();
    bool allow = true;
    DoCellChanging(ACol, ARow, allow);
    bool result;
    if (IsFixed(ACol, ARow) || !allow)
        result = Options().Contains(goRowSelect);
    else
        result = TBaseGrid::SelectCell(ACol, ARow);
    // Afterwards, whatever the answer.
    if (FActiveCellShow) {
        // The header cells of the old and the new current cell.
        for (int r = 0; r < FixedRows(); ++r) {
            RepaintCell(Col(), r);
            RepaintCell(ACol, r);
        }
        for (int c = 0; c < FixedCols(); ++c) {
            RepaintCell(c, oldRow);
            RepaintCell(c, ARow);
        }
    }
    if (!ComponentState().Contains(csLoading) && ARow != FOldRowSel) {
        int old = FOldRowSel;
        FOldRowSel = ARow;
        if (OnRowChanged) OnRowChanged(this, old, ARow);
    }
    if (ARow < RowCount() && ACol < TotalColCount()) FCellCache = GetCellEx(DisplayToRealCol(ACol), ARow);
    return result;
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
