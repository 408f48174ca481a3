// The overridable hooks of TVerAdevovEdav, in slot order, with their default behaviour. Hooks
// whose work belongs to parts of the grid still to come (footers, sorting, filtering, grouping,
// the view) do what the grid can do so far and say so.
#include <algorithm>
#include <functional>

#include "grid/ZedUdid.h"
#include "platform/ui/Forms.h"
#include "render/VarAvir.h"
#include "render/ZivAVEZE.h"

// No floating footer yet: there are no footer cells to calculate.
void TVerAdevovEdav::CalcFooterRow(int) {}
void TVerAdevovEdav::F2KeyPressed() {}
void TVerAdevovEdav::StoreEditorValue(int ACol, int ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }
void TVerAdevovEdav::KeySelectAll(TGridRect&) {}
void TVerAdevovEdav::PasteCellText(int ACol, int ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }

String TVerAdevovEdav::GetCurrentCellText() { return GetCellEx(DisplayToRealCol(Col()), Row()); }
void TVerAdevovEdav::SetCurrentCellText(const String& Value) { SetEditText(Col(), Row(), Value); }
void TVerAdevovEdav::RestoreCurrentCell() { SetCellEx(DisplayToRealCol(Col()), Row(), FCellCache); }

// Check-box and radio cells come with their own operations; until then no cell holds one.
bool TVerAdevovEdav::ToggleCheckBoxCell(int, int, bool) { return false; }
bool TVerAdevovEdav::SelectRadioButton(int, int, bool) { return false; }

String TVerAdevovEdav::GetFormattedCell(int ACol, int ARow) { return GetCellEx(ACol, ARow); }

// GetCellType, GetCellGraphic and the graphic sizes are in ZedUdidGraphic.cpp.

void TVerAdevovEdav::DoGetPrintPageNum(int PageNr, String& PageText) {
    if (OnPrintGetPageNum) OnPrintGetPageNum(this, PageNr, PageText);
}

void TVerAdevovEdav::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink) {
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt) OnGetEditorPropInt(this, ARow, ACol);
}

void TVerAdevovEdav::DoCheckBoxClick(int ACol, int ARow, bool State) {
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

void TVerAdevovEdav::DoFixedEdit(int ACol, int ARow, TEditorType AEditor, TStrings* Values) {
    // The handler works on a copy of the kind: what counts is what it puts into Values.
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TVerAdevovEdav::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007) RepaintRect(Selection());
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TVerAdevovEdav::EditCaretChanged(const String&, int, int) {}

void TVerAdevovEdav::InsertRowAtKey(int ARow) {
    // With nodes a row is inserted by its parent node; nodes come with the tree.
    InsertRows(ARow, 1, true);
}

void TVerAdevovEdav::DeleteRowAtKey(int ARow) {
    // The only normal row is cleared rather than removed unless FixedRowAlways keeps the grid.
    if (RowCount() - FixedRows() - FFixedFooters == 1 && !FFixedRowAlways)
        ClearRect(0, ARow, TotalColCount() - 1, ARow);
    else
        DeleteRowRange(ARow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TVerAdevovEdav::DoFilterDone() {
    if (OnFilterDone) OnFilterDone(this);
}

void TVerAdevovEdav::UpdateColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TVerAdevovEdav::UpdateAutoColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TVerAdevovEdav::ColumnHeadersChanged() {}

void TVerAdevovEdav::DoEllipsClick(int ACol, int ARow, String& S) {
    if (OnEllipsClick) OnEllipsClick(this, ACol, ARow, S);
}

// Without filters every row matches.
bool TVerAdevovEdav::MatchFilterRow(int) { return true; }
void TVerAdevovEdav::BeginPaste() {}
void TVerAdevovEdav::EndPaste() {}
// Pasted rows are marked by the clipboard code, which comes with the grid's files.
void TVerAdevovEdav::MarkPastedRows(int, int) {}

String TVerAdevovEdav::GetCellText(int ACol, int ARow) { return GetCellEx(ACol, ARow); }

void TVerAdevovEdav::SaveCellText(int ACol, int ARow, String& Value) {
    Value = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (Value.IsEmpty()) {
        // A check box without text saves its state as the check texts.
        if (TCellGraphic* g = GetCellGraphic(ACol, DisplayToRealRow(ARow))) {
            if (g->CellType == ctCheckBox) {
                if (g->CellBoolean)
                    GetCheckTrue(ACol, ARow, Value);
                else
                    GetCheckFalse(ACol, ARow, Value);
            } else if (g->CellType == ctTriStateCheckBox) {
                if (g->CellCheckBoxState == cbChecked)
                    GetCheckTrue(ACol, ARow, Value);
                else
                    GetCheckFalse(ACol, ARow, Value);
            }
        }
    }
    switch (CellTextKind(Value, true)) {
        case 1:
            if (!FSaveWithHTML) Value = HtmlToPlainText(Value);
            break;
        case 2:
            if (FSaveWithRTF) {
                Value.erase(std::remove_if(Value.begin(), Value.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }),
                            Value.end());
            } else {
                TGridRichEdit* rich = GetRichEdit();
                CellToRich(ACol, ARow, rich);
                Value = rich->Text();
            }
            break;
        default: break;
    }
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}

void TVerAdevovEdav::LoadCellText(int ACol, int ARow, String Value) {
    if (OnLoadCell) OnLoadCell(this, ACol, ARow, Value);
    SetGridCell(ACol, ARow, Value);
}

void TVerAdevovEdav::ColumnChanged(int ACol) { CalcFooter(ACol); }

void TVerAdevovEdav::StoreOldCellValue(int ACol, int ARow) { FOldCellText = GetCellEx(ACol, ARow); }

void TVerAdevovEdav::DoCanEditCell(int ACol, int ARow, bool& CanEdit) {
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TVerAdevovEdav::DoSearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction) {
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TVerAdevovEdav::DoButtonClick(int ACol, int ARow) {
    if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TVerAdevovEdav::DoExpandClick(int ACol, int ARow, bool Expanded) {
    if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
    // An expand cell keeps the row's height for either state.
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (g && g->CellType == ctExpand && ARow >= 0 && ARow < RowCount())
        SetRowHeights(ARow, Expanded ? g->CellAngle : g->CellIndex);
}

void TVerAdevovEdav::DoComboCloseUp(int ACol, int ARow) {
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TVerAdevovEdav::DoComboDropDown(int ACol, int ARow) {
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TVerAdevovEdav::DoGetCellCursor(int ACol, int ARow, int, int) {
    TCursor cursor = Cursor();
    if (OnGetCellCursor) OnGetCellCursor(this, ACol, ARow, cursor);
    Screen->SetCursor(cursor);
}

// (CellsChanged and AllCellsChanged are in ZedUdidEdit.cpp.)

void TVerAdevovEdav::DoGridHint(int ACol, int ARow, String& WideHint, String& Hint) {
    if (OnGridHint) {
        OnGridHint(this, ARow, ACol, Hint);
        FOfficeHint->Notes()->SetText(Hint);
    }
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.IsEmpty()) Hint = EncodeUnicodeText(WideHint);
    }
    if (OnOfficeHint) OnOfficeHint(this, ACol, ARow, FOfficeHint.get());
}

void TVerAdevovEdav::DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (FActiveCellShow) {
        int displ = DisplColIndex(ACol);
        bool rowHeader = displ + 1 == FixedCols() && FixedCols() > 0 && ARow == Row();
        bool colHeader = displ == Col() && ARow + 1 == FixedRows() && FixedRows() > 0;
        if (rowHeader || colHeader) {
            AFont->Assign(FActiveCellFont.get());
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        switch (GetCellType(ACol, ARow)) {
            case ctIcon:
            case ctNone:
            case ctImageList:
            case ctEmpty:
            case ctImages:
            case ctComment:
                if (p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
                break;
            default: break;
        }
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().IsEmpty()) AFont->SetName(p->FontName());
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVerAdevovEdav::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVerAdevovEdav::DoGetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (ACol > 0) {
        if (FGrouping->HeaderUnderline && IsNode(ARow)) {
            Borders = TCellBorders() << cbBottom;
            APen->SetColor(FGrouping->HeaderLineColor);
            APen->SetWidth(FGrouping->HeaderLineWidth);
        }
        if (FGrouping->SummaryLine && IsSummary(ARow)) {
            Borders = TCellBorders() << cbTop;
            APen->SetColor(FGrouping->SummaryLineColor);
            APen->SetWidth(FGrouping->SummaryLineWidth);
        }
    }
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TVerAdevovEdav::DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TVerAdevovEdav::DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TVerAdevovEdav::DoGetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix) {
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TVerAdevovEdav::DoGetCellEditorType(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TVerAdevovEdav::DoGetEditorType(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TVerAdevovEdav::HasNoEditor(int ACol, int ARow) {
    if (!OnGetEditorType) return false;
    TEditorType editor = edNormal;
    OnGetEditorType(this, ACol, ARow, editor);
    return editor == edNone;
}

void TVerAdevovEdav::DoIsFixedCell(int ACol, int ARow, bool& IsFixed) {
    IsFixed = IsFixed || (FFixedRowAlways && ARow <= FFixedRowsMin && RowCount() == FFixedRowsMin) ||
              (FFixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin) || ACol < FixedCols() ||
              ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TVerAdevovEdav::CanEditCell(int ACol, int ARow, bool& CanEdit) {
    TPoint b = BaseCell(ACol, ARow);
    if (HasCellProperties(b.X, b.Y) && CanEdit) {
        CanEdit = !GetReadOnly(b.X, b.Y);
        if (!Options().Contains(goEditing) && !FEditDisable && !FMouseActions->RangeSelectAndEdit()) CanEdit = false;
    }
    if (b.X < ColCount() + FNumHiddenColumns)
        DoCanEditCell(b.X, b.Y, CanEdit);
    else
        CanEdit = true;
}

void TVerAdevovEdav::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (OnIsPasswordCell) OnIsPasswordCell(this, ACol, ARow, IsPassword);
}

void TVerAdevovEdav::DoGetWordWrap(int ACol, int ARow, bool& WordWrap) {
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TVerAdevovEdav::HasComboBox(int ACol, int ARow) {
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->DropDownAlwaysVisible()) return false;
    TEditorType editor = FDefaultEditor;
    DoGetEditorType(ACol, ARow, editor);
    return editor == edComboEdit || editor == edComboList;
}

bool TVerAdevovEdav::HasSpinEdit(int ACol, int ARow) {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->SpinButtonsAlwaysVisible()) return false;
    TEditorType editor = FDefaultEditor;
    DoGetCellEditorType(ACol, ARow, editor);
    return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit || editor == edDateSpinEdit;
}

void TVerAdevovEdav::GetCheckTrue(int ACol, int ARow, String& Value) {
    Value = FCheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TVerAdevovEdav::GetCheckFalse(int ACol, int ARow, String& Value) {
    Value = FCheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

// The filter value list comes with filtering.
bool TVerAdevovEdav::FillFilterList(int) { return false; }

TGridRect TVerAdevovEdav::UsedCells() {
    TGridRect used{-1, -1, -1, -1};
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColCount(); ++c) {
            if (GetCellEx(c, r).IsEmpty()) continue;
            if (used.Left < 0) {
                used = {c, r, c, r};
            } else {
                used.Left = std::min(used.Left, c);
                used.Right = std::max(used.Right, c);
                used.Bottom = r;
            }
        }
    }
    if (used.Left < 0) return {0, 0, 0, 0};
    return used;
}

void TVerAdevovEdav::DeleteRowRange(int ARow, int Count) { RemoveRows(ARow, Count); }

void TVerAdevovEdav::DoCanAddRow(bool& CanAdd) {
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TVerAdevovEdav::DoCanInsertRow(int ARow, bool& CanInsert) {
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void TVerAdevovEdav::WheelScrolled() {}
void TVerAdevovEdav::AppendEmptyRow() { SetRowCount(RowCount() + 1); }
void TVerAdevovEdav::CellSelectorClick() {}
void TVerAdevovEdav::SetFormulaEdit(bool) {}
void TVerAdevovEdav::MouseSelectAll() {}
void TVerAdevovEdav::MouseActionsChanged(TObject*) {}
void TVerAdevovEdav::IsDesigning(TObject*, bool& Designing) { Designing = ComponentState().Contains(csDesigning); }
void TVerAdevovEdav::MouseActionsInvalidate(TObject*) { Invalidate(); }
void TVerAdevovEdav::DisableEditing() { SetOptions(Options() >> goEditing); }
void TVerAdevovEdav::EditorKeyDown(WORD&, TShiftState) {}
void TVerAdevovEdav::EditorWMKeyDown(WORD&, TShiftState) {}
void TVerAdevovEdav::NavigationChanged(TObject*) {}

void TVerAdevovEdav::GotoFirstRow() {
    if (RowCount() > FixedRows()) SetRow(FixedRows());
}

bool TVerAdevovEdav::UseFmtClipboard() { return FNavigation->AllowFmtClipboard(); }
// The filter drop-down lists come with filtering.
void TVerAdevovEdav::FilterListSelect(TObject*) {}
void TVerAdevovEdav::FilterCheckListSelect(TObject*) {}
// The design helper comes with the grid's view.
void TVerAdevovEdav::PaintDesignHelper() {}
void TVerAdevovEdav::DesignHelperClick(int, int) {}

void TVerAdevovEdav::DoCheckBoxChange(int ACol, int ARow, bool State) {
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TVerAdevovEdav::DoRatingChange(int ACol, int ARow, int Value) {
    bool allow = true;
    if (OnRatingChange) OnRatingChange(this, ACol, ARow, Value, allow);
    return allow;
}

void TVerAdevovEdav::DoColorSelect(int ACol, int ARow, TColor AColor) {
    if (OnColorSelect) OnColorSelect(this, ACol, ARow, AColor);
}

void TVerAdevovEdav::DoImageSelect(int ACol, int ARow, int ImageIndex) {
    if (OnImageSelect) OnImageSelect(this, ACol, ARow, ImageIndex);
}

void TVerAdevovEdav::DoCellChanging(int NewCol, int NewRow, bool& Allow) {
    if (NewRow != Row() && OnRowChanging) OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging) OnColChanging(this, Col(), NewCol, Allow);
    if ((NewRow != Row() || NewCol != Col()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

void TVerAdevovEdav::DoScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax) {
    if (OnScrollCell) OnScrollCell(this, ACol, ARow, ScrollPosition, ScrollMin, ScrollMax);
}

bool TVerAdevovEdav::DoCanShowFixedDropDown(int ACol) {
    bool allow = true;
    if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, allow);
    return allow;
}

void TVerAdevovEdav::DoStartBlockFocus() {
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void TVerAdevovEdav::DoEndBlockFocus() {
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

TCustomImageList* TVerAdevovEdav::CellImageList(int, int) { return FGridImages; }
void TVerAdevovEdav::ExportNotification(TGridExportState, int) {}
void TVerAdevovEdav::ImportNotification(TGridExportState, int) {}

// AssignCells copies through the stream form (ZedUdidLife.cpp).

uint32_t TVerAdevovEdav::GetVersionNr() { return 0x06000401; }

String TVerAdevovEdav::GetVersionString() { return Version() + u" Jan, 2012"; }

bool TVerAdevovEdav::ValidateCell(const String&) { return true; }
bool TVerAdevovEdav::ValidateCellWide(const String&) { return true; }

// RemoveRowsEx is with the row workers (ZedUdidHidden.cpp).

void TVerAdevovEdav::ShiftCells(const std::function<void()>& Step) {
    BeginUpdate();
    FShifting = true;
    try {
        Step();
    } catch (...) {
        FShifting = false;
        EndUpdate();
        throw;
    }
    FShifting = false;
    EndUpdate();
}

void TVerAdevovEdav::RemoveRows(int RowIndex, int RCount) {
    if (RowIndex < 0 || RCount <= 0 || RowIndex >= RowCount()) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    // Each removed row goes to the end, takes its properties with it and is cut off.
    ShiftCells([&] {
        for (int i = 0; i < RCount; ++i) DeleteRow(RowIndex);
    });
    CellsChanged({0, RowIndex, TotalColCount() - 1, RowCount() - 1});
}

void TVerAdevovEdav::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
    if (RowIndex < 0 || RCount <= 0 || RowIndex > RowCount()) return;
    int old = RowCount();
    // The new rows come from the end, empty, and the rows after them move down.
    ShiftCells([&] {
        SetRowCount(old + RCount);
        for (int i = 0; i < RCount; ++i) {
            ResetRowCells(old + i);
            MoveRow(old + i, RowIndex + i);
        }
    });
    if (UpdateCellControls && FNumCellControls > 0) {
        for (int i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->GetControl(i);
            if (item->Y() >= DisplayToRealRow(RowIndex)) item->SetY(item->Y() + RCount);
        }
        CellControlsUpdate(false);
    }
}

void TVerAdevovEdav::RemoveCols(int ColIndex, int CCount) {
    if (ColIndex < 0 || CCount <= 0 || ColIndex >= ColCount()) return;
    CCount = std::min(CCount, ColCount() - ColIndex);
    ShiftCells([&] {
        for (int i = 0; i < CCount; ++i) DeleteColumn(ColIndex);
    });
}

void TVerAdevovEdav::InsertCols(int ColIndex, int CCount) {
    if (ColIndex < 0 || CCount <= 0 || ColIndex > ColCount()) return;
    int old = ColCount();
    ShiftCells([&] {
        SetColCount(old + CCount);
        for (int i = 0; i < CCount; ++i) {
            ResetColCells(old + i);
            MoveColumn(old + i, ColIndex + i);
        }
    });
}

// Grouping comes with its own operations.
void TVerAdevovEdav::SubGroup(int) {}
void TVerAdevovEdav::SubUnGroup(int) {}
void TVerAdevovEdav::Group(int) {}
void TVerAdevovEdav::UnGroup() {}

void TVerAdevovEdav::SortSwapRows(int ARow1, int ARow2) {
    if (ARow1 == ARow2) return;
    // Texts and property objects change places over every storage column.
    for (int c = 0; c < TotalColCount(); ++c) {
        String t1 = GetGridCell(c, ARow1), t2 = GetGridCell(c, ARow2);
        TObject* o1 = GetGridObject(c, ARow1);
        TObject* o2 = GetGridObject(c, ARow2);
        SetGridCell(c, ARow1, t2);
        SetGridCell(c, ARow2, t1);
        SetGridObject(c, ARow1, o2);
        SetGridObject(c, ARow2, o1);
        for (auto [o, r] : {std::pair{o2, ARow1}, std::pair{o1, ARow2}})
            if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(r);
    }
}

void TVerAdevovEdav::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    bool destroying = ComponentState().Contains(csDestroying);
    for (int r = ARow1; r <= ARow2; ++r) {
        for (int c = ACol1; c <= ACol2; ++c) {
            // The cell's properties go with their graphic.
            FreeCellPropertiesAt(c, r);
            if (!destroying && !GetCellEx(c, r).IsEmpty()) SetCellEx(c, r, String());
        }
    }
    if (ACol1 <= 0 && ARow1 <= 0 && ACol2 >= TotalColCount() - 1 && ARow2 >= RowCount() - 1) FHasCellProps = false;
    if (!destroying) CellsChanged({ACol1, ARow1, ACol2, ARow2});
}

void TVerAdevovEdav::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    auto blank = [](char16_t ch) { return ch <= u' '; };
    for (int r = ARow1; r <= ARow2; ++r) {
        for (int c = ACol1; c <= ACol2; ++c) {
            String s = GetCellEx(c, r);
            auto b = std::find_if_not(s.begin(), s.end(), blank);
            auto e = std::find_if_not(s.rbegin(), s.rend(), blank).base();
            SetCellEx(c, r, b < e ? String(std::u16string(b, e)) : String());
        }
    }
}

// Column positions are stored with the grid's files.
void TVerAdevovEdav::SaveColPositions() {}
void TVerAdevovEdav::LoadColPositions() {}
// The style presets come with the grid's looks.
void TVerAdevovEdav::SetStyle(TZedUdidStyle) {}
// Sorting comes with its own operations.
void TVerAdevovEdav::QSort() {}
void TVerAdevovEdav::QSortIndexed() {}
void TVerAdevovEdav::QSortGroup() {}
void TVerAdevovEdav::QSortGroupIndexed() {}
void TVerAdevovEdav::QUnSort() {}
void TVerAdevovEdav::CalcFooter(int ACol) { CalcFooterRow(ACol); }
