#pragma once
// Unit ZedUdid: TVerAdevovEdav, the string grid component, on TBaseGrid; its cell graphic
// (TCellGraphic), its settings objects (ZedUdidSettings.h) and the settings of its view
// (ZedUdidLooks.h).
//
// Addressing: every column has a storage (real) index and, while shown, a displayed index;
// column arguments are storage columns and row arguments displayed rows unless an operation
// says otherwise. Until columns can be hidden the two are the same.
//
// The grid's customisation points are its virtual operations (below, in slot order): each either
// answers something the rest of the grid asks (is this cell fixed, may it be edited) or raises
// one of the grid's events. A hook that fires an event does so only when a handler is assigned,
// with the grid as Sender; var arguments arrive holding the default and leave holding the answer.
//
// Construction: the grid is made through the component factory (NewComponent); what must reach a
// descendant's overrides runs in AfterConstruction.
//
// Sources: ZedUdid.cpp (construction, cell graphics, typed cell access, selection and index
// mapping), ZedUdidHooks.cpp (the overridable hooks), ZedUdidView.cpp (the update bracket, cell
// colours, alignment, measuring and rendering, window services), ZedUdidEdit.cpp (in-place
// editing, change notifiers, cell controls, moved columns and rows), ZedUdidLooks.cpp and
// ZedUdidSettings.cpp (the settings objects).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "grid/AdvHintInfo.h"
#include "grid/BaseGrid.h"
#include "grid/DevAzo.h"
#include "grid/ZedUdidLooks.h"
#include "grid/ZedUdidSettings.h"
#include "grid/asgcheck.h"
#include "platform/ui/ImgList.h"

class TEditLink;
class TVerAdevovEdav;

// The kind of a cell's graphic; the ordinals are stored, the order is fixed.
enum TCellType : uint8_t {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};

// The one graphic or in-cell control a cell may carry, owned by its TCellProperties. Its kind
// says what the general fields mean.
// First form: the kind and the plain value fields; the object fields (bitmap, icon, variant),
// the placement and the size calculations come with the cell graphics.
class TCellGraphic : public TPersistent {
public:
    const char* ClassName() const override { return "TCellGraphic"; }
    void Assign(const TPersistent* Source) override;
    TCellType CellType = ctNone;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    int CellErrFrom = 0;
    int CellErrLen = 0;
    String CellText;
    TCheckBoxState CellCheckBoxState = cbUnchecked;
};

enum TCellBorder : uint8_t { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = rtl::SmallSet<TCellBorder>;

// The compare style of a column for sorting.
enum TSortStyle : uint8_t {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS, ssCustom,
    ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime, ssTime,
    ssAlphaNumeric, ssAlphaNumericNoCase
};

// The states the export, find and calculation code pass to ExportNotification.
enum TGridExportState : uint8_t { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };

enum TGridLook : uint8_t { glStandard, glSoft, glClassic, glQRB, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };

enum TSearchAction : uint8_t { saFindNext, saFindPrevious };

// A named colour scheme of the grid; its values come with the grid's looks.
enum TZedUdidStyle : uint8_t;

// Told the rectangle of cells changed by the grid's bulk operations and validation.
class TGridChangeNotifier : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TGridChangeNotifier"; }
    virtual void CellsChanged(const TRect& R);
};

// The grid's hidden rich edit, first form: it takes rich text and gives its plain text. The
// platform's rich edit will stand here.
class TGridRichEdit : public TPersistent {
public:
    const char* ClassName() const override { return "TGridRichEdit"; }
    // Loads rich text (text that is not rich text is taken as plain text).
    void SetRichText(const String& Value);
    // The plain text of what was loaded: paragraphs end in CR LF, the last without one.
    const String& Text() const { return FText; }
    void Clear() { FText.clear(); }

private:
    String FText;
};

// The plain text of rich text: groups of destinations (font and colour tables, pictures,
// "\*" groups) dropped, \par and \line a line break, \tab a tab, \'hh a character of the ANSI
// code page, \uN the UTF-16 unit N (its stand-in skipped), the escaped \\ \{ \} kept.
String RichTextToPlainText(const String& Rtf);

// Events (Sender first).
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TGridColorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridBorderEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TGridAlignEvent = std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGridFormatEvent =
    std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TCellBoolEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Value)>;
using TRowColBoolEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Value)>;
using TCellTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, String& HintStr)>;
using TOfficeHintEvent = std::function<void(TObject* Sender, int ACol, int ARow, TAdvHintInfo* OfficeHint)>;
using TChangingEvent = std::function<void(TObject* Sender, int OldIndex, int NewIndex, bool& Allow)>;
using TCellChangingEvent =
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TGetCellCursorEvent = std::function<void(TObject* Sender, int ACol, int ARow, TCursor& ACursor)>;
using TSelectionChangedEvent = std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TFixedEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor, TStrings* Values)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, int ACol, int& AWidth)>;
using TSearchFooterActionEvent =
    std::function<void(TObject* Sender, const String& Value, int ACol, int ARow, TSearchAction SearchAction)>;
using TExpandClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool Expanded)>;
using TGridPrintPageEvent = std::function<void(TObject* Sender, int PageNr, String& PageText)>;
using TGetEditorPropEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)>;
using TScrollCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>;
using TCanShowFixedDropDownEvent = std::function<void(TObject* Sender, int ACol, bool& Allow)>;
using TRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TRatingChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, int Value, bool& Allow)>;
using TColorSelectEvent = std::function<void(TObject* Sender, int ACol, int ARow, TColor AColor)>;
using TImageSelectEvent = std::function<void(TObject* Sender, int ACol, int ARow, int ImageIndex)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& S)>;

class TVerAdevovEdav : public TBaseGrid {
public:
    explicit TVerAdevovEdav(TComponent* AOwner);
    ~TVerAdevovEdav() override;
    const char* ClassName() const override { return "TVerAdevovEdav"; }

    // ---- Owned settings objects ----
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    TBands* Bands() const { return FBands.get(); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    // The list of controls placed in cells.
    TControlList* ControlList() const { return FControlList.get(); }
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd; }

    // ---- Counts and fixed areas (their writers come with the grid's life cycle) ----
    bool FixedRowAlways() const { return FFixedRowAlways; }
    bool FixedColAlways() const { return FFixedColAlways; }
    // Rows at the bottom and columns at the right that count as fixed.
    int FixedFooters() const { return FFixedFooters; }
    int FixedRightCols() const { return FFixedRightCols; }

    // ---- Column and row mapping (identity until columns and rows can be hidden) ----
    int NumHiddenColumns() const { return FNumHiddenColumns; }
    int DisplayToRealCol(int ACol) const { return ACol; }
    int RealToDisplayCol(int ACol) const { return ACol; }
    int RealColIndex(int ACol) const { return ACol; }
    int DisplayToRealRow(int ARow) const { return ARow; }
    int RealRowIndex(int ARow) const { return ARow; }

    // ---- Cell settings ----
    TEditorType DefaultEditor() const { return FDefaultEditor; }
    void SetDefaultEditor(TEditorType Value) { FDefaultEditor = Value; }
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    const String& CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const String& Value) { FCheckTrue = Value; }
    const String& CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const String& Value) { FCheckFalse = Value; }
    // Export: the formatted text (else the raw one), HTML kept, rich text kept (CR and LF dropped).
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool Value) { FSaveVirtCells = Value; }
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool Value) { FSaveWithHTML = Value; }
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool Value) { FSaveWithRTF = Value; }
    bool EnableHTML() const { return FEnableHTML; }
    void SetEnableHTML(bool Value) { FEnableHTML = Value; }
    bool MultilineCells() const { return FMultilineCells; }
    void SetMultilineCells(bool Value) { FMultilineCells = Value; }
    // Widths and heights travel with moved columns and rows.
    bool EnhRowColMove() const { return FEnhRowColMove; }
    void SetEnhRowColMove(bool Value) { FEnhRowColMove = Value; }
    // The header cells of the current cell in ActiveCellColor and ActiveCellFont.
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value);
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool ShowSelection() const { return FShowSelection; }
    // Text margins inside a cell: on every side, or only left and top.
    TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(TPoint Value);
    bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffsetTopLeftOnly(bool Value) { FXYOffsetTopLeftOnly = Value; }
    // Points added to every cell font; -10 to 10.
    int ZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(int Value);
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook Value) { FLook = Value; }
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    TVerAdevovEdavCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TVerAdevovEdavCheck* Value);

    // ---- Cell access ----
    // The raw text of the current cell's base cell; written through SetCellEx.
    String CurrentCell() const { return GetCurrentCell(); }
    // Whether the cell refuses editing; reading creates properties.
    bool GetReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool Value);
    // The control placed over a cell (nil without properties); placing one parents it to the
    // grid over the cell and keeps the control list in step.
    TControl* GetCellControls(int ACol, int ARow) const;
    void SetCellControls(int ACol, int ARow, TControl* Value);
    int NumCellControls() const { return FNumCellControls; }
    // Whether a cell is selected (never a fixed one).
    bool IsSelected(int ACol, int ARow) const;
    bool IsNode(int ARow);
    bool IsSummary(int ARow);

    // ---- Change notifiers ----
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);

    // ---- View services ----
    // A counted bracket: no repaint request while open (painting skipped), one repaint of the
    // whole grid at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    // The cell's horizontal and vertical alignment as the painter uses them.
    void GetCellAlignment(int ACol, int ARow, TAlignment& HA, TVAlignment& VA);
    // The size of the cell's text as the painter draws it: VS measures the height for the cell's
    // own width (word wrap), SB keeps 17 pixels free at the right.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    TSize MeasureCellText(int RealCol, int DisplayCol, int ARow, bool VS, bool SB);
    // Recorded calls of the window services whose bodies come with the grid's view.
    struct TViewServiceCalls {
        int PositionFocusWindow = 0;
        int DrawWindowBorder = 0;
        int AdaptToOfficeTheme = 0;
        int BalloonInit = 0;
        int BalloonDone = 0;
        int GridTimer = 0;
    };
    const TViewServiceCalls& ViewServiceCalls() const { return FViewCalls; }
    void PositionFocusWindow();
    void DrawWindowBorder();
    void AdaptToOfficeTheme();
    void BalloonInit();
    void BalloonDone();

    // ---- Editing services ----
    // Opens the in-place editor on the current cell (not on check-box, radio or button cells).
    void ShowInplaceEdit();
    // In edit mode: the editor's text goes back into the cell, the editor hides and edit mode
    // ends; otherwise nothing.
    void HideInplaceEdit();
    // The in-place text editor; nil until it was first shown.
    TInplaceEdit* NormalEdit() const { return InplaceEditor(); }
    bool EditMode() const { return EditorMode(); }
    // The grid's hidden rich edit, made on first use, and a cell's rich text loaded into it.
    TGridRichEdit* GetRichEdit();
    void CellToRich(int Col, int Row, TGridRichEdit* RichEdit);
    // With Rebuild the control list is made again from the cells' Control; then every control is
    // shown over its cell when the cell is in view and hidden otherwise.
    void CellControlsUpdate(bool Rebuild);

    // ---- Hooks introduced by the grid, in slot order ----
    virtual void CalcFooterRow(int ACol);
    virtual void F2KeyPressed();
    virtual void StoreEditorValue(int ACol, int ARow, const String& Value);
    virtual void KeySelectAll(TGridRect& Range);
    virtual void PasteCellText(int ACol, int ARow, const String& Value);
    virtual String GetCurrentCell() const;
    virtual void SetCurrentCell(const String& Value);
    virtual String GetCurrentCellText();
    virtual void SetCurrentCellText(const String& Value);
    virtual void RestoreCurrentCell();
    virtual bool ToggleCheckBoxCell(int ACol, int ARow, bool CheckEditable);
    virtual bool SelectRadioButton(int ACol, int ARow, bool CheckEditable);
    virtual String GetFormattedCell(int ACol, int ARow);
    virtual TCellType GetCellType(int ACol, int ARow);
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual TPoint GetCellGraphicSizeEx(int ACol, int ARow, int CellWidth, int CellHeight);
    virtual void DoGetPrintPageNum(int PageNr, String& PageText);
    virtual void DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink);
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    virtual void DoFixedEdit(int ACol, int ARow, TEditorType AEditor, TStrings* Values);
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void EditCaretChanged(const String& Text, int CaretPos, int SelStart);
    virtual void InsertRowAtKey(int ARow);
    virtual void DeleteRowAtKey(int ARow);
    virtual void DoFilterDone();
    virtual void UpdateColumnSize(int ACol, int& AWidth);
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth);
    virtual void ColumnHeadersChanged();
    virtual void DoEllipsClick(int ACol, int ARow, String& S);
    virtual bool MatchFilterRow(int ARow);
    virtual void BeginPaste();
    virtual void EndPaste();
    virtual void MarkPastedRows(int ARow, int ACount);
    virtual String GetCellText(int ACol, int ARow);
    virtual void SaveCellText(int ACol, int ARow, String& Value);
    virtual void LoadCellText(int ACol, int ARow, String Value);
    virtual void ColumnChanged(int ACol);
    virtual void StoreOldCellValue(int ACol, int ARow);
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoSearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoComboCloseUp(int ACol, int ARow);
    virtual void DoComboDropDown(int ACol, int ARow);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void CellsChanged(const TRect& R);
    virtual void AllCellsChanged();
    virtual void DoGridHint(int ACol, int ARow, String& WideHint, String& Hint);
    virtual void DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void DoGetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void DoGetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix);
    virtual void DoGetCellEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void DoGetEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual bool HasNoEditor(int ACol, int ARow);
    virtual void DoIsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, String& Value);
    virtual void GetCheckFalse(int ACol, int ARow, String& Value);
    virtual bool FillFilterList(int ACol);
    virtual TGridRect UsedCells();
    virtual void DeleteRowRange(int ARow, int Count);
    virtual void DoCanAddRow(bool& CanAdd);
    virtual void DoCanInsertRow(int ARow, bool& CanInsert);
    virtual void WheelScrolled();
    virtual void AppendEmptyRow();
    virtual void CellSelectorClick();
    virtual void SetFormulaEdit(bool Value);
    virtual void MouseSelectAll();
    virtual void MouseActionsChanged(TObject* Sender);
    virtual void IsDesigning(TObject* Sender, bool& Designing);
    virtual void MouseActionsInvalidate(TObject* Sender);
    virtual void DisableEditing();
    virtual void EditorKeyDown(WORD& Key, TShiftState Shift);
    virtual void EditorWMKeyDown(WORD& Key, TShiftState Shift);
    virtual void NavigationChanged(TObject* Sender);
    virtual void GotoFirstRow();
    virtual bool UseFmtClipboard();
    virtual void FilterListSelect(TObject* Sender);
    virtual void FilterCheckListSelect(TObject* Sender);
    virtual void PaintDesignHelper();
    virtual void DesignHelperClick(int X, int Y);
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual bool DoRatingChange(int ACol, int ARow, int Value);
    virtual void DoColorSelect(int ACol, int ARow, TColor AColor);
    virtual void DoImageSelect(int ACol, int ARow, int ImageIndex);
    virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow);
    virtual void DoScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax);
    virtual bool DoCanShowFixedDropDown(int ACol);
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    virtual TCustomImageList* CellImageList(int ACol, int ARow);
    virtual void ExportNotification(TGridExportState AState, int ARow);
    virtual void ImportNotification(TGridExportState AState, int ARow);
    virtual void AssignCells(const TPersistent* Source);
    virtual uint32_t GetVersionNr();
    virtual String GetVersionString();
    virtual bool ValidateCell(const String& NewValue);
    virtual bool ValidateCellWide(const String& NewValue);
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    virtual void RemoveRows(int RowIndex, int RCount);
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls);
    virtual void RemoveCols(int ColIndex, int CCount);
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void SubGroup(int ColIndex);
    virtual void SubUnGroup(int GroupLevel);
    virtual void Group(int ColIndex);
    virtual void UnGroup();
    virtual void SortSwapRows(int ARow1, int ARow2);
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    virtual void SetStyle(TZedUdidStyle AStyle);
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    virtual void CalcFooter(int ACol);

    // ---- TBaseGrid hooks ----
    // Fixed: rows from RowCount - FixedFooters on, the last FixedRightCols columns, and what
    // DoIsFixedCell answers; a covered cell is fixed as its base cell is. ACol is displayed.
    bool IsFixed(int ACol, int ARow) override;
    // Display text (automatic links and group counts come with the view), then OnGetDisplText.
    void GetDisplText(int ACol, int ARow, String& Value) override;
    // GetVisualProperties of the cell; no background of their own for fixed cells, for every
    // cell while Bands are active or the background is a gradient, and for selected cells.
    void GetDefaultCellProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                             TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // With OnGetCellBorder assigned.
    bool HasCellBorders() override;
    // The colours, font, alignments, word wrap and gradient direction of a cell: the grid's and
    // the cell's, the bands, the fixed colour (gdFixed), the selection (gdSelected), then
    // DoGetCellColor, DoGetWordWrap and GetCellAlignment.
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                             TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                             TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // The cell's background and its display text, aligned within the XYOffset margins.
    void RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    // ColCount plus the hidden columns.
    int TotalColCount() const override;

    // ---- Events ----
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TRowColBoolEvent OnIsFixedCell;
    TRowColBoolEvent OnCanEditCell;
    TCellBoolEvent OnIsPasswordCell;
    TCellBoolEvent OnGetWordWrap;
    TCellBoolEvent OnHasComboBox;
    TCellBoolEvent OnHasSpinEdit;
    TCellTextEvent OnGetCheckTrue;
    TCellTextEvent OnGetCheckFalse;
    TGridHintEvent OnGridHint;
    TGridHintEvent OnGridWideHint;
    TOfficeHintEvent OnOfficeHint;
    TChangingEvent OnRowChanging;
    TChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TRowChangedEvent OnRowChanged;
    TCellTextEvent OnSaveCell;
    TCellTextEvent OnLoadCell;
    TGetCellCursorEvent OnGetCellCursor;
    TSelectionChangedEvent OnSelectionChanged;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxChange;
    TFixedEditEvent OnFixedEdit;
    TNotifyEvent OnFilterDone;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TEllipsClickEvent OnEllipsClick;
    TSearchFooterActionEvent OnSearchFooterAction;
    TCellEvent OnButtonClick;
    TExpandClickEvent OnExpandClick;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TGridPrintPageEvent OnPrintGetPageNum;
    TGetEditorPropEvent OnGetEditorProp;
    TClickCellEvent OnGetEditorPropInt;
    TScrollCellEvent OnScrollCell;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;
    TRowEvent OnAutoDeleteRow;
    TRatingChangeEvent OnRatingChange;
    TColorSelectEvent OnColorSelect;
    TImageSelectEvent OnImageSelect;
    TCanAddRowEvent OnCanAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TCellsChangedEvent OnCellsChanged;

protected:
    void AfterConstruction() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // First form of the grid's cell selection: a negative cell is refused; a fixed target is
    // taken only with goRowSelect; DoCellChanging may refuse; then the base grid's selection.
    bool SelectCell(int ACol, int ARow) override;
    // Nothing is painted while an update bracket is open.
    void Paint() override;
    // Grid timer 111 ticks.
    void Dispatch(TMessage& Message) override;
    // Cells, widths, the current column and the synchronised grid follow a moved column; with a
    // moved row also the heights, and OnRowMoved fires once.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

    // Fields of the fixed areas (written by the grid's count writers).
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int32_t FFixedRowsMin = 0;
    int32_t FFixedColsMin = 0;
    int32_t FFixedFooters = 0;
    int32_t FFixedRightCols = 0;
    int32_t FNumHiddenColumns = 0;
    // Editing was switched off by the grid for the current cell.
    bool FEditDisable = false;
    // The change events (OnCellChanging) are not fired.
    bool FDisableChange = false;
    // The display text of the current cell when it was entered.
    String FCellCache;
    // The text of the cell about to be edited.
    String FOldCellText;
    // The row OnRowChanged last reported.
    int32_t FOldRowSel = -1;

private:
    // Repeats a column (row) move on the synchronised grid when Enabled.
    void SyncedMove(bool Enabled, bool Columns, int FromIndex, int ToIndex);
    // The grid's selection colours into the gradient and mirror colours and the font.
    void ApplySelectionColors(TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont) const;
    // Runs Step with the rows (columns) it moves shifted by an insertion or removal: no
    // OnRowMoved or OnColumnMoved, no synchronised move, one repaint at the end.
    void ShiftCells(const std::function<void()>& Step);
    bool FShifting = false;
    // A synchronised move is running (guards against the other grid moving back).
    bool FSyncedMove = false;

    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TAdvHintInfo> FOfficeHint;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TCellGraphic> FCellGraphic;  // scratch, never attached to a cell
    std::unique_ptr<TGridRichEdit> FRichEdit;
    THTMLHintWindow* FScrollHintWnd = nullptr;  // owned as a component
    std::vector<TGridChangeNotifier*> FNotifierList;
    TVerAdevovEdavCheck* FCellChecker = nullptr;
    TCustomImageList* FGridImages = nullptr;
    int FNumCellControls = 0;
    TViewServiceCalls FViewCalls;

    TEditorType FDefaultEditor = edNormal;
    TAlignment FDefaultAlignment = taLeftJustify;
    TVAlignment FVAlignment = vaTop;
    String FCheckTrue = u"Y";
    String FCheckFalse = u"N";
    bool FSaveVirtCells = true;
    bool FSaveWithHTML = true;
    bool FSaveWithRTF = false;
    bool FEnableHTML = true;
    bool FMultilineCells = false;
    bool FEnhRowColMove = true;
    bool FActiveCellShow = false;
    TColor FActiveCellColor = 0x808080;
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = clNone;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = 0;
    bool FShowSelection = true;
    TPoint FXYOffset{2, 2};
    bool FXYOffsetTopLeftOnly = false;
    int FZoomFactor = 0;
    TGridLook FLook = glXP;
};
