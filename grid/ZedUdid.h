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
// Construction: the grid is made through the component factory (NewComponent). The constructor
// makes the owned objects that are not components, in the order of their table, and sets the
// plain defaults; AfterConstruction makes the owned components (the footer and search panels,
// the hint window, the filter lists, at run time the editors and windows) and runs the writers
// whose work reaches a descendant's overrides (the counts, the sizes). The destructor frees
// everything in a fixed order (ZedUdidLife.cpp).
//
// Counts: the grid's writers of RowCount, ColCount, FixedRows and FixedCols replace the platform
// grid's (they hide them): they keep a minimum of fixed rows and columns, follow the largest
// extent ever used and keep the floating footer row last. Code holding the grid as a platform
// grid reaches the platform's writers.
//
// Sources: ZedUdid.cpp (cell graphics, typed cell access, selection and index mapping),
// ZedUdidLife.cpp (construction, window creation, loading, copying, destruction, the unit's
// start-up and routines), ZedUdidCounts.cpp (counts, fixed areas, the save range),
// ZedUdidFiles.cpp (the stream form of the cells, saved column widths, text margins),
// ZedUdidHooks.cpp (the overridable hooks), ZedUdidView.cpp (the update bracket, cell colours,
// alignment, measuring and rendering, window services), ZedUdidEdit.cpp (in-place editing,
// change notifiers, cell controls, moved columns and rows), ZedUdidEditors.cpp (the editor
// controls), ZedUdidLooks.cpp, ZedUdidSettings.cpp and ZedUdidOwned.cpp (the owned objects).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "controls/styled/VizIrovaRE.h"  // TQRBStyle, TOfficeTheme
#include "grid/AdvHintInfo.h"
#include "grid/BaseGrid.h"
#include "grid/DevAzo.h"
#include "grid/ZedUdidEditors.h"
#include "grid/ZedUdidLooks.h"
#include "grid/ZedUdidOwned.h"
#include "grid/ZedUdidSettings.h"
#include "grid/asgcheck.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/ImgList.h"
#include "render/PictureContainer.h"

class TCustomForm;

class TEditLink;
class TVerAdevovEdav;

// The one outside listener of the grid's current cell: told the column and row after every
// check of a move. A component interface: asked with dynamic_cast, never counted; the grid only
// keeps a reference.
class ITVerAdevovEdavSelect {
public:
    static constexpr const char* IID = "{ED636930-EF86-46AD-80F7-FD29C28525EB}";
    virtual void SelectionChanged(int ACol, int ARow) = 0;

protected:
    ~ITVerAdevovEdavSelect() = default;
};

// Misuse of the grid and cells that hold no number where one is asked for.
RTL_DECLARE_EXCEPTION(EZedUdidError, Exception);

// The kind of a cell's graphic; the ordinals are stored, the order is fixed.
enum TCellType : uint8_t {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};

// Placement of a cell graphic: over the cell, beside or above/below the text, or stretched
// over the cell's width (height). The vertical one is scoped: its first three names are the
// text alignment's.
enum TCellHAlign : uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum class TCellVAlign : uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
// How a picture cell fits its picture into the cell.
enum class TStretchMode : uint8_t { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TBalloonIcon : uint8_t { biNone, biInfo, biWarning, biError };

class TVerAdevovEdav;

// The object of an interfaced cell draws and measures the cell itself. A component interface:
// asked with dynamic_cast, never counted; the cell only references its object.
class IGridCellGraphic {
public:
    static constexpr const char* IID = "{0712BE3F-5C9A-4771-BF71-4C987CDC39B3}";
    virtual void Draw(TCanvas* Canvas, const TRect& R, int ACol, int ARow, bool Selected, TVerAdevovEdav* Grid) = 0;
    // The preferred size; 0 stands for the cell's own width (height).
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual bool DrawsOverCell() = 0;

protected:
    ~IGridCellGraphic() = default;
};

// The variant field of a cell graphic: unassigned, an integer or a Boolean.
struct TCellVar {
    enum TKind : uint8_t { Unassigned, Integer, Boolean } Kind = Unassigned;
    int Int = 0;
    bool Bool = false;
    static TCellVar OfInt(int v) { return {Integer, v, false}; }
    static TCellVar OfBool(bool v) { return {Boolean, 0, v}; }
    bool operator==(const TCellVar&) const = default;
};

// One of the two general slots of a cell graphic: an object (a bitmap, picture, list, ...) or a
// plain colour value, never both. A value is never an object and is never freed.
class TCellSlot {
public:
    TObject* Object() const { return FObject; }
    void SetObject(TObject* Value) {
        FObject = Value;
        FValue = 0;
        FIsValue = false;
    }
    bool IsValue() const { return FIsValue; }
    TColor Color() const { return FIsValue ? FValue : clNone; }
    void SetColor(TColor Value) {
        FObject = nullptr;
        FValue = Value;
        FIsValue = true;
    }
    // Takes the object out (the caller frees it).
    TObject* Release() {
        TObject* o = FObject;
        FObject = nullptr;
        return o;
    }

private:
    TObject* FObject = nullptr;
    TColor FValue = 0;
    bool FIsValue = false;
};

// The one graphic or in-cell control a cell may carry, owned by its TCellProperties. Its kind
// says what the general fields mean; CellCreated says the graphic made (and owns) the object in
// CellBitmap or CellIcon. At destruction it frees, by kind: CellBitmap of a bitmap, radio group,
// picture, file picture or bit button and CellIcon of an icon when CellCreated; CellBitmap of a
// multi-image or balloon always; the balloon list of a check box or radio button (CellAngle 1).
class TCellGraphic : public TPersistent {
public:
    TCellGraphic() = default;
    ~TCellGraphic() override;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;
    const char* ClassName() const override { return "TCellGraphic"; }
    // The kind, alignments, index, transparency, value, angle, Boolean, error range, text and
    // CellCreated; not the two slots, CellVar or CellCheckBoxState.
    void Assign(const TPersistent* Source) override;

    TCellType CellType = ctNone;
    TCellVAlign CellVAlign = TCellVAlign::vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    int CellErrFrom = 0;
    int CellErrLen = 0;
    String CellText;
    TCellVar CellVar;
    TCheckBoxState CellCheckBoxState = cbUnchecked;

    TObject* CellBitmap() const { return FCellBitmap.Object(); }
    void SetCellBitmap(TObject* Value) { FCellBitmap.SetObject(Value); }
    TCellSlot& BitmapSlot() { return FCellBitmap; }
    const TCellSlot& BitmapSlot() const { return FCellBitmap; }
    TObject* CellIcon() const { return FCellIcon.Object(); }
    void SetCellIcon(TObject* Value) { FCellIcon.SetObject(Value); }
    TCellSlot& IconSlot() { return FCellIcon; }
    const TCellSlot& IconSlot() const { return FCellIcon; }

    // The kind setters: the kind and the fields named, nothing else.
    void SetInterfacedCell(TPersistent* AObject);
    void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val);
    // A new index list of its own for (Col, Row), told changes through Notifier.
    void SetMultiImage(int Col, int Row, int Dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    void SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val);
    // Rotated text; the angle brought into 0..360 (360 stays).
    void SetAngle(int16_t AAngle);
    // A picture's size in a cw x rh cell by the stretch mode, the padding taken once per side;
    // other kinds answer (0, 0).
    TPoint GetPictureSize(int cw, int rh, bool HasText) const;

private:
    TCellSlot FCellBitmap;
    TCellSlot FCellIcon;
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
using TRowDisjunctSelectEvent = std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TEditChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)>;
using TUnitChangedEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& NewUnit)>;

enum TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways : uint8_t { saNone, saVert, saHorz, saBoth };
enum TInvalidEntryIcon : uint8_t { ieNone, ieInfo, ieWarning, ieError };

// The unit's start-up: OLE, the focus-frame hook, the class registrations, the clipboard format
// and window messages, the common-controls flag. Runs once per program; later calls do nothing.
// Every grid's construction runs it.
void InitZedUdidUnit();
// The unit-wide state the start-up leaves (for the curious and the tests).
struct TZedUdidUnitState {
    int InitCount = 0;
    bool ComCtrlOk = false;            // common controls 4.70 or later
    uint16_t CellsClipboardFormat = 0;  // "TVerAdevovEdav Cells"
    uint16_t GridEditDoneMessage = 0;   // "GridEditDone"
    uint16_t DTPShiftFocusMessage = 0;  // "DTPShiftFocus"
    TCursor HandCursor = 0;
};
const TZedUdidUnitState& ZedUdidUnitState();
// The grid whose focus frame is shown: the hook moves its frame along when its form moves.
TVerAdevovEdav* FocusFrameGrid();
void SetFocusFrameGrid(TVerAdevovEdav* Grid);

// Locale characters and formats; the grid reads the locale only through these.
char16_t GetTimeSeparator();
char16_t GetDateSeparator();
char16_t GetThousandSeparator();
char16_t GetDecimalSeparator();
String GetShortDateFormat();
String GetShortTimeFormat();
String GetLongTimeFormat();
// Adds WS_EX_TRANSPARENT to the window's extended style.
void MakeWindowTransparent(HWND Window);
// The file version's major (high 16 bits) and minor (low 16 bits); -1 when the file has no
// version data or its signature is wrong.
int GetDllFileVersion(const String& FileName);

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

    // ---- Counts and fixed areas (ZedUdidCounts.cpp) ----
    // The platform's row count and then: the fixed-row minimum back once there are rows
    // enough, the largest count and FNormalRowCount following, the scroll bars updated, the
    // floating footer's row kept last.
    void SetRowCount(int Value);
    void SetColCount(int Value);
    // With FixedRowAlways a request at or above RowCount leaves one scrolling row; the request
    // is kept as the minimum (outside loading). The reader answers 1 for 0 with FixedRowAlways.
    int FixedRows() const;
    void SetFixedRows(int Value);
    int FixedCols() const;
    void SetFixedCols(int Value);
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value) { FFixedRowAlways = Value; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value) { FFixedColAlways = Value; }
    // Rows at the bottom and columns at the right that count as fixed.
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    // The height of the fixed rows: equal to DefaultRowHeight it writes DefaultRowHeight again.
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    // The width of column 0; writing sets every fixed column, unless the value is the platform's
    // default column width.
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    // The platform's default row height; the floating footer follows.
    void SetDefaultRowHeight(int Value);
    // The word-wrap default of new cell properties.
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool Value);
    // The current column; a synchronised grid with SelectionColumn follows.
    void SetCol(int Value);
    int AllColCount() const { return TotalColCount(); }
    int AllRowCount() const { return TotalRowCount(); }
    int NumHiddenRows() const;
    // Storage columns 0..512 keep a width of their own while hidden.
    bool IsHiddenColumn(int ACol) const;
    int GetAllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int AWidth);
    // The largest counts ever set (never lower on a shrink).
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    // The cells the exports write: fixed ones with SaveFixedCells (SaveFixedCols, SaveFixedRows).
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    // The selection parked outside the cells comes back (or the first scrolling cell).
    void UnHideSelection();

    // ---- Life cycle (ZedUdidLife.cpp) ----
    // From another TVerAdevovEdav: settings, then the settings objects by their own Assign,
    // counts, sizes, options, widths and heights, and the cells last (AssignCells). Anything
    // else is ignored.
    void Assign(const TPersistent* Source) override;
    void Loaded() override;
    // Skipped once while the editor-change flag is set (the flag clears); the floating footer's
    // panel is invalidated along when it shows.
    void Invalidate() override;
    // With IntegralHeight the height is trimmed to whole rows of DefaultRowHeight.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // With ScrollBarAlways the bars show (disabled) also when everything fits; with Force and
    // saNone the bars of what fits are hidden.
    void UpdateAlwaysScrollBars(bool Force);
    // The first form in the Parent chain of AControl; nil when none.
    static TCustomForm* FindParentForm(TControl* AControl);
    // The width of every column and the grid's width, as the reference of proportional sizing.
    void InitOrigColSizes();
    TIntList* OrigColSizes() const { return FOrigColSizes.get(); }
    int OrigWidth() const { return FOrigWidth; }
    // Editor changes skip the next Invalidate.
    void SetEditChange(bool Value) { FEditChange = Value; }
    bool EditChange() const { return FEditChange; }
    bool IsLoaded() const { return FLoaded; }

    // ---- Files (ZedUdidFiles.cpp) ----
    // The stream form: UTF-16 lines ending in CR LF: "cols,rows", one "cw i,width" per column,
    // then "col,row,text" per non-empty cell of the save range, positions relative to it.
    // Loading stops at the first line that is not a cell line and leaves the stream there.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    // Column widths under "Col<i>" in ColumnSize.Section of ColumnSize.Key (an ini file, or a
    // registry path for clRegistry).
    void SaveColSizes();
    void LoadColSizes();
    // The text margins of a cell: XYOffset on one side (XYOffsetTopLeftOnly) or on both.
    int GetTotalXOffset() const;
    int GetTotalYOffset() const;
    // 1 without MultilineCells; else the most lines among the row's cells.
    int GetLinesInRow(int ARow);

    // ---- Owned objects of later work ----
    TFooterPanel* FooterPanel() const { return FFooterPanel; }
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    TCellNode* CellNode() const { return FCellNode.get(); }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(const TFont* Value);
    TStringList* LookupItems() const { return FLookupItems.get(); }
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    TCollection* GridItems() const { return FGridItems.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    TStringList* FilterList() const { return FFilterList.get(); }
    TDropList* DropList() const { return FDropList; }
    TDropCheckList* DropCheckList() const { return FDropCheckList; }
    // Run time only (nil on a design surface).
    TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
    TArrowWindow* ArrowWindow(TArrowDirection Dir) const { return FArrows[Dir]; }
    TGridCombo* EditCombo() const { return FEditCombo; }
    TGridTransEdit* EditTrans() const { return FEditTrans; }
    TGridTransCombo* ComboTrans() const { return FComboTrans; }
    TGridCheckBox* EditCheck() const { return FEditCheck; }
    TGridEditBtn* EditBtn() const { return FEditBtn; }
    TGridUnitEditBtn* UnitEditBtn() const { return FUnitEditBtn; }
    TGridButton* GridButton() const { return FGridButton; }
    THeaderDragButton* HeaderDragButton() const { return FHeaderDragButton; }
    TControlEdit* EditControl() const { return FEditControl; }
    TControlCombo* ComboControl() const { return FComboControl; }
    TScrollBar* CellScrollBar() const { return FCellScrollBar; }
    TScrollBar* CellScrollBarTwin() const { return FCellScrollBarTwin; }

    // ---- Window, scrolling and frame ----
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value) { FIntegralHeight = Value; }
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value) { FScrollType = Value; }
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value) { FScrollColor = Value; }
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; }
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value) { FScrollProportional = Value; }
    bool ScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    bool ScrollHints() const { return FScrollHints; }
    void SetScrollHints(bool Value) { FScrollHints = Value; }
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value) { FScrollBarAlways = Value; }
    bool Flat() const { return FFlat; }
    // The frame's colour; a change redraws the frame.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool Value) { FSizeWithForm = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
    // The wheel: the message that carries it and the lines a notch scrolls.
    UINT WheelMessage() const { return FWheelMsg; }
    int WheelScrollLines() const { return FWheelScrollLines; }
    // Where the grid's timer 111 was started (0: not yet).
    uintptr_t GridTimerID() const { return FGridTimerID; }
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsVista() const { return FIsVista; }
    bool IsComCtl6() const { return FIsComCtl6; }

    // ---- Defaults of the constructor ----
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    // Clamped to 0..100 (percent).
    void SetSelectionColorMixerFactor(int Value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value) { FURLColor = Value; }
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value) { FActiveCellColorTo = Value; }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    bool UseDisabledFont() const { return FUseDisabledFont; }
    TColor HighlightColor() const { return FHighlightColor; }
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    TColor HintColor() const { return FHintColor; }
    TColor SelectionRectangleColor() const { return FSelectionRectangleColor; }
    // The header gradient: from, to, mirror from, mirror to.
    TColor HeaderColor(int Role) const { return FHeaderColors[Role]; }
    const String& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const String& Value) { FFloatFormat = Value; }
    char16_t PasswordChar() const { return FPasswordChar; }
    char16_t Delimiter() const { return FDelimiter; }
    void SetDelimiter(char16_t Value) { FDelimiter = Value; }
    bool ShowNullDates() const { return FShowNullDates; }
    TInvalidEntryIcon InvalidEntryIcon() const { return FInvalidEntryIcon; }
    void SetInvalidEntryIcon(TInvalidEntryIcon Value) { FInvalidEntryIcon = Value; }
    const String& InvalidEntryTitle() const { return FInvalidEntryTitle; }
    void SetInvalidEntryTitle(const String& Value) { FInvalidEntryTitle = Value; }
    const String& InvalidEntryText() const { return FInvalidEntryText; }
    void SetInvalidEntryText(const String& Value) { FInvalidEntryText = Value; }
    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool Value) { FSaveFixedCells = Value; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool Value) { FSaveFixedRows = Value; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool Value) { FSaveFixedCols = Value; }
    bool SaveHiddenCells() const { return FSaveHiddenCells; }
    void SetSaveHiddenCells(bool Value) { FSaveHiddenCells = Value; }
    bool LoadFirstRow() const { return FLoadFirstRow; }
    bool QuoteEmptyCells() const { return FQuoteEmptyCells; }
    bool AlwaysQuotes() const { return FAlwaysQuotes; }
    bool JavaCSV() const { return FJavaCSV; }
    bool ExcelClipboardFormat() const { return FExcelClipboardFormat; }
    void SetExcelClipboardFormat(bool Value) { FExcelClipboardFormat = Value; }
    const String& XMLEncoding() const { return FXMLEncoding; }
    const String& FilterDropDownClear() const { return FFilterDropDownClear; }
    bool FilterNormalCellsOnly() const { return FFilterNormalCellsOnly; }
    bool AutoFilterUpdate() const { return FAutoFilterUpdate; }
    void SetAutoFilterUpdate(bool Value) { FAutoFilterUpdate = Value; }
    bool FilterIncremental() const { return FFilterIncremental; }
    bool EnableWheel() const { return FEnableWheel; }
    bool IntelliZoom() const { return FIntelliZoom; }
    bool ShowDesignHelper() const { return FShowDesignHelper; }
    bool UseInternalHintClass() const { return FUseInternalHintClass; }
    bool FitCellsInGrid() const { return FFitCellsInGrid; }
    int MinRowHeight() const { return FMinRowHeight; }
    int MaxRowHeight() const { return FMaxRowHeight; }
    int MinColWidth() const { return FMinColWidth; }
    int MaxColWidth() const { return FMaxColWidth; }
    bool SizeGrowOnly() const { return FSizeGrowOnly; }
    int GroupColumn() const { return FGroupColumn; }
    bool NoDefaultDraw() const { return FNoDefaultDraw; }
    bool ClearTextOnly() const { return FClearTextOnly; }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool Value) { FAnchorHint = Value; }
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool Value) { FAutoNumAlign = Value; }
    TQRBStyle GridStyle() const { return FStyle; }
    TOfficeTheme LastOfficeTheme() const { return FLastOfficeTheme; }

    TUnitChangedEvent OnUnitChanged;
    TNotifyEvent OnGridResize;
    TNotifyEvent OnRichEditSelectionChange;

    // ---- Hidden columns (ZedUdidHidden.cpp) ----
    // Real columns 0..511 can be hidden; their cells stay at their real (storage) index and
    // their width is kept. The last displayed column is never hidden.
    int NumHiddenColumns() const { return FNumHiddenColumns; }
    void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(int FromCol, int ToCol);
    // Shows every hidden column (repaints also when none is hidden).
    void UnHideColumnsAll();
    // Displayed column of a real one (a hidden one: the next shown column's place) and back
    // (0 when no shown real column below 512 has that place); indexes from 512 map to themselves.
    int DisplayToRealCol(int ACol) const;
    int RealToDisplayCol(int ACol) const;
    int RealColIndex(int ACol) const { return DisplayToRealCol(ACol); }
    int DisplColIndex(int ACol) override { return RealToDisplayCol(ACol); }
    // The real column of the current cell.
    int RealCol() const { return DisplayToRealCol(Col()); }
    // The visibility map itself, unchecked (index 0..512).
    void SetColumnVisible(int Index, bool Value) { FVisibleCol[Index] = Value; }
    bool IsColumnVisible(int Index) const { return FVisibleCol[Index]; }

    // While whole platform rows are copied the platform column count is raised by the hidden
    // columns, so their cells travel with the row; the scope lowers it again on every path
    // (an exception included). Scopes nest; only the outermost raises.
    class THiddenColumnsScope {
    public:
        explicit THiddenColumnsScope(TVerAdevovEdav& AGrid);
        ~THiddenColumnsScope();
        THiddenColumnsScope(const THiddenColumnsScope&) = delete;
        THiddenColumnsScope& operator=(const THiddenColumnsScope&) = delete;

    private:
        TVerAdevovEdav& FGrid;
        int FRaised = 0;
        int FLastWidth = 0;
    };

    // ---- Hidden rows (ZedUdidHidden.cpp) ----
    // A hidden row leaves the platform grid: its cells (every real column), cell objects and
    // height go into a TGridItem of GridItems. Row arguments are real rows.
    void HideRow(int RowIndex) { HideRows(RowIndex, RowIndex); }
    void HideRows(int FromRow, int ToRow);
    // Hides the listed displayed rows (ascending, each once) as one new filter level.
    void HideRowList(TIntList* RowList);
    // Hides the range without keeping heights (through RemoveRowsEx).
    void HideRowsEx(int FromRow, int ToRow);
    void UnHideRow(int RowIndex);
    void UnHideRows(int FromRow, int ToRow);
    // Shows the rows of the newest filter level (every hidden row at level 0 or 1).
    void UnHideRowList();
    void UnHideRowsAll();
    bool IsHiddenRow(int RowIndex) const;
    // The same through a caller's cache: a nil list is made and filled with every hidden index;
    // the caller frees it.
    bool IsHiddenRow(int RowIndex, TIntList*& ListHidden) const;
    // The stored cells of a hidden row; nil for a shown one.
    TStrings* HiddenRowItems(int RowIndex) const;
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value; }
    int DisplayToRealRow(int ARow) const;
    int RealToDisplayRow(int ARow) const;
    int RealRowIndex(int ARow) const { return DisplayToRealRow(ARow); }
    int DisplRowIndex(int ARow) const { return RealToDisplayRow(ARow); }
    int RealRow() const { return DisplayToRealRow(Row()); }
    // The current row: OnRowChanged (old, new) when it differs from the one last reported, the
    // selection into the row flags in disjunct mode, a synchronised grid's row following.
    void SetRow(int Value);
    // Only FixedRows .. RowCount - 1 are taken.
    void SetTopRow(int Value);
    // Told by the hidden rows when an index or the collection changed.
    void HiddenRowsChanged() { FHiddenIndexValid = false; }

    // ---- Row workers (ZedUdidHidden.cpp) ----
    // Empty rows of DefaultRowHeight at ARow; the rows below move down with cells and heights.
    void InsertRowsInternal(int ARow, int Count, bool UpdateCellControls);
    // Removes displayed rows; the rows below move up with cells and heights. RealDelete frees
    // nothing either way (callers free or keep the cell objects) but renumbers the hidden rows
    // after the block and drops the removed rows' cell controls; hiding passes false.
    void DeleteRowsInternal(int ARow, int Count, bool RealDelete);

    // The current position of a column of the original order.
    int ColumnPosition(int ACol) const { return ACol; }

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
    void SetSelectionColorTo(TColor Value);
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value);
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool ShowSelection() const { return FShowSelection; }
    // Also the base grid's selection-shown flag of the paint frame.
    void SetShowSelection(bool Value);

    // ---- Display and behaviour writers (each invalidates on a change unless said otherwise) ----
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value);
    // Whatever the value: SelectionRectangle, SelectionResizer, Navigation.AllowSmartClipboard,
    // goRangeSelect, goEditing and MouseActions.RangeSelectAndEdit switched on.
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool Value);
    // The text-drawing flag of VAlignment: 0 (top), DT_VCENTER or DT_BOTTOM.
    UINT VAlignFlag() const { return FVAlign; }
    // Also the in-place editor's length limit when the editor exists (0: no limit).
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value);
    // Invalidates unless loading.
    void SetFlat(bool Value);
    // Hides the platform's writer: the cursor is also the grid's normal one, put back after
    // temporary cursors.
    void SetCursor(TCursor Value);
    TCursor NormalCursor() const { return FNormalCursor; }
    // The fixed cells of the glQRB look: stored as RGB values (a system colour is resolved when
    // written).
    TColor QRBGradientFrom() const { return FHeaderColors[0]; }
    void SetQRBGradientFrom(TColor Value) { SetHeaderColor(0, Value); }
    TColor QRBGradientTo() const { return FHeaderColors[1]; }
    void SetQRBGradientTo(TColor Value) { SetHeaderColor(1, Value); }
    TColor QRBGradientMirrorFrom() const { return FHeaderColors[2]; }
    void SetQRBGradientMirrorFrom(TColor Value) { SetHeaderColor(2, Value); }
    TColor QRBGradientMirrorTo() const { return FHeaderColors[3]; }
    void SetQRBGradientMirrorTo(TColor Value) { SetHeaderColor(3, Value); }
    // Hover and pressed fixed cells of the glQRB look, stored as given.
    TColor QRBGradientHoverFrom = clNone;
    TColor QRBGradientHoverTo = clNone;
    TColor QRBGradientHoverMirrorFrom = clNone;
    TColor QRBGradientHoverMirrorTo = clNone;
    TColor QRBGradientHoverBorder = clNone;
    TColor QRBGradientDownFrom = clNone;
    TColor QRBGradientDownTo = clNone;
    TColor QRBGradientDownMirrorFrom = clNone;
    TColor QRBGradientDownMirrorTo = clNone;
    TColor QRBGradientDownBorder = clNone;
    // The settings objects are copied into the owned ones.
    void SetDragScrollOptions(const TDragScrollOptions* Value) { FDragScrollOptions->Assign(Value); }
    void SetSortSettings(const TSortSettings* Value) { FSortSettings->Assign(Value); }
    void SetFocusHelper(const TFocusHelper* Value) { FFocusHelper->Assign(Value); }
    void SetSyncGrid(const TSyncGrid* Value) { FSyncGrid->Assign(Value); }
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
    // ---- Selection (ZedUdidSelect.cpp) ----
    // Whether a cell is selected (never a fixed one): in the disjunct cell, row or column
    // selection when one is on, else inside the selection, made forwards or backwards.
    bool IsSelected(int ACol, int ARow) const;
    // The one selection listener; registering replaces the previous one, unregistering forgets
    // the registered one whichever is given.
    void RegisterSelListener(ITVerAdevovEdavSelect* AListener) { FISelect = AListener; }
    void UnRegisterSelListener(ITVerAdevovEdavSelect*) { FISelect = nullptr; }
    ITVerAdevovEdavSelect* SelListener() const { return FISelect; }
    // The rectangle becomes the Selection.
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The selected rows (the flagged ones with DisjunctRowSelect), each cell's display text
    // (rich text as plain text, multi-line text quoted with ExcelClipboardFormat), cells
    // separated by TAB, rows by CR LF, none after the last.
    String SelectedText();
    // With DisjunctCellSelect the cells chosen one by one; otherwise the list is rebuilt from
    // the selection (columns outer; the current cell for a single-cell selection).
    int SelectedCellsCount();
    TGridCoord SelectedCell(int Index) const;
    bool GetSelectedCells(int ACol, int ARow) const;
    void SetSelectedCells(int ACol, int ARow, bool Value);
    // The selection's width (height) in cells, a merged block at its edge counted whole.
    int SelectedColCount() const;
    int SelectedRowCount() const;
    // The Index-th selected row from the upper edge (of the disjunct rows in their order); -1
    // past the end.
    int SelectedRow(int Index) const;
    void ClearModifiedRows();
    // The selection becomes the single cell (FixedCols, FixedRows); the cell list empties.
    void ClearSelectedCells();
    bool IsNode(int ARow);
    // The display text of the current cell when it was entered.
    const String& CellCache() const { return FCellCache; }
    bool IsSummary(int ARow);

    // ---- Cell graphics (ZedUdidGraphic.cpp) ----
    // Frees the cell's own graphic (never the row check boxes' scratch graphic) and gives it a
    // new empty one; an empty cell keeps its empty text.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    // Takes the graphic out of the cell and frees it (not a virtual or row check box's); false
    // when the cell had none.
    bool FreeCellGraphic(int ACol, int ARow);
    // FreeCellGraphic when the cell's kind is Kind.
    bool RemoveCellGraphic(int ACol, int ARow, TCellType Kind);
    // Whether the base cell of the cell's block has a graphic of one of the kinds.
    bool HasCellGraphicType(int ACol, int ARow, std::initializer_list<TCellType> Kinds);
    bool HasBalloon(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctBalloon}); }
    bool IsRadio(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctRadio}); }
    bool HasExpand(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctExpand}); }
    bool HasProgress(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctProgress}); }
    bool HasRating(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctRating}); }
    bool HasScrollBar(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctScrollbar}); }
    bool HasButton(int ACol, int ARow) { return HasCellGraphicType(ACol, ARow, {ctButton, ctBitButton}); }
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    // By GetCellType of the base cell.
    bool HasDataGraphic(int ACol, int ARow);
    bool HasClickControl(int ACol, int ARow);
    // The index list of a multi-image cell; nil otherwise.
    TIntList* GetCellImages(int ACol, int ARow);
    // The image-list index, one value per shared bitmap or icon, -1 for other kinds.
    intptr_t GetCellGraphicSortKey(int ACol, int ARow);

    // ---- Row and column flags, view helpers (ZedUdidRowFlags.cpp) ----
    // Disjunct mode: the row's flag (the list grown with 0 up to ARow; real rows with
    // RowSelectPersistent); otherwise whether the row lies inside the selection. Outside
    // 0 .. RowCount + hidden rows - 1 raises EZedUdidError "Invalid row <n> accessed".
    bool GetRowSelect(int ARow);
    // Asks OnRowDisjunctSelect when the flag is new or changes (a veto changes nothing), keeps
    // the selected-rows list in selection order, then OnRowDisjunctSelected. A row outside the
    // grid raises EZedUdidError "Invalid row accessed".
    void SetRowSelect(int ARow, bool Value);
    // Outside 0 .. ColCount - 1 raises EZedUdidError "Invalid column accessed".
    bool GetColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void ClearRowSelect();
    void ClearColSelect();
    // The selection into the flags of the rows (columns) inside it, or of every normal one.
    void SelectionToRowSelect(bool All = false);
    void SelectionToColSelect(bool All = false);
    int RowSelectCount();
    int ColSelectCount();
    // Modified rows: 1 is modified; reading beyond the list answers false.
    bool GetRowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    // A disabled row; changing the current row's state moves the current row to the first other
    // enabled row.
    bool GetRowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);
    // Exchanges the stored texts and cell objects (no repaint).
    void SwapCells(TGridCoord FromCell, TGridCoord ToCell);
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    using TBaseGrid::FocusCell;
    // The selection becomes the single cell.
    void FocusCell(int ACol, int ARow);
    void MoveCurrentCell(int ACol, int ARow);
    bool LastRowAboveSearchPanel();
    // With the search footer shown, the top row moves down until the last row ends above it.
    void AdjustTopRowForSearchPanel();
    // The fixed-cell editors' change: OnEditChange with the edited fixed cell and the text.
    void FixedCellEditChange(TObject* Sender);
    // The fixed cell the fixed-cell editor edits (set when it opens).
    void SetFixedEditCell(int ACol, int ARow) { FFixedEditCol = ACol; FFixedEditRow = ARow; }
    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TAutoInsertRowEvent OnRowDisjunctSelected;
    TEditChangeEvent OnEditChange;

    // ---- Typed and extended cell access (ZedUdidAccess.cpp) ----
    // Rows are displayed rows, or real rows (counted with the hidden ones) for the ...All... and
    // ...Ex pairs; columns are storage columns. Until rows can be hidden a real row is the
    // displayed row.
    //
    // The display text trimmed ("" and "-" read 0); text that is no integer raises
    // EZedUdidError "Cell does not contain integer value" and leaves the cell.
    int GetInts(int ACol, int ARow);
    void SetInts(int ACol, int ARow, int Value);
    int GetAllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    // The display text made plain by NormalizeNumberText ("" and "-" read 0); text that is no
    // number raises EZedUdidError "Cell does not contain a float value". Written with FloatFormat.
    double GetFloats(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double GetAllFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    // GetCellEx / SetCellEx by real row; "" for a negative column or row.
    String GetCellsEx(int ACol, int ARow);
    void SetCellsEx(int ACol, int ARow, const String& Value);
    // The raw text by real row (no merge redirection, no hooks).
    String GetGridCellsEx(int ACol, int ARow) const;
    void SetGridCellsEx(int ACol, int ARow, const String& Value);
    WideString GetWideCellsEx(int ACol, int ARow) { return GetCellsEx(ACol, ARow); }
    void SetWideCellsEx(int ACol, int ARow, const WideString& Value) { SetCellsEx(ACol, ARow, Value); }
    WideString GetWideCells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    void SetWideCells(int ACol, int ARow, const WideString& Value) { SetCellEx(ACol, ARow, Value); }
    // The display text without HTML.
    String GetStrippedCell(int ACol, int ARow);
    // The column taken as an index in the original column order.
    String GetOriginalCells(int ACol, int ARow);
    void SetOriginalCells(int ACol, int ARow, const String& Value);
    // The row as it was before sorting (through the sort cross-reference).
    String GetUnSortedCell(int ACol, int ARow);
    void SetUnSortedCell(int ACol, int ARow, const String& Value);
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    // The value of the HTML control with that ID in the display text ("" when absent); writing
    // rewrites the control and stores the text only when the control exists.
    String GetCtrlVal(int ACol, int ARow, const String& ID);
    void SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value);
    // 1 + the CR characters of the display text.
    int GetLinesInCell(int ACol, int ARow);
    // The user object by real row.
    TObject* GetObjectsEx(int ACol, int ARow) const;
    void SetObjectsEx(int ACol, int ARow, TObject* Value);
    // The raw object slot by real row (the properties object itself).
    TObject* GetGridObjectEx(int ACol, int ARow) const;

    // Single cell properties: reading never creates properties (the default for a cell without
    // them); writing creates them and repaints the cell.
    TColor GetColors(int ACol, int ARow) const;
    void SetColors(int ACol, int ARow, TColor Value);
    TColor GetColorsTo(int ACol, int ARow) const;
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection GetGradientDir(int ACol, int ARow) const;
    void SetGradientDir(int ACol, int ARow, TCellGradientDirection Value);
    TColor GetFontColors(int ACol, int ARow) const;
    void SetFontColors(int ACol, int ARow, TColor Value);
    TFontStyles GetFontStyles(int ACol, int ARow) const;
    void SetFontStyles(int ACol, int ARow, TFontStyles Value);
    int GetFontSizes(int ACol, int ARow) const;
    void SetFontSizes(int ACol, int ARow, int Value);
    String GetFontNames(int ACol, int ARow) const;
    void SetFontNames(int ACol, int ARow, const String& Value);
    TAlignment GetAlignments(int ACol, int ARow) const;
    void SetAlignments(int ACol, int ARow, TAlignment Value);
    // Reading creates properties.
    bool GetWordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    // The grid's Font for a cell without properties; else a scratch font of the grid loaded with
    // the cell's name, size, style and colour, which the next call overwrites.
    TFont* GetCellFont(int ACol, int ARow);
    // Copies name, size, style and colour; repaints only outside an update bracket.
    void SetCellFont(int ACol, int ARow, const TFont* Value);

    // Row-wide colours of the columns FixedCols .. AllColCount - 1, then the row repainted. A
    // colour is written into every cell; clNone frees the properties of the cells that hold
    // nothing else (no cell graphic, no merge; for the font colour also no brush colour) and
    // resets the colour in the others.
    void SetRowColor(int ARow, TColor AColor);
    void SetRowColorTo(int ARow, TColor AColor);
    void SetRowFontColor(int ARow, TColor AColor);

    // The four bytes of GetVersionNr joined by "."; writing is ignored.
    String Version();
    void SetVersion(const String&) {}

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
    virtual TPoint GetCellGraphicSizeEx(int ACol, int ARow, int CellWidth, int CellHeight, double Scale = 1.0);
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
    // Timer 111, the panels parented, the wheel lines, the XP flag (ZedUdidLife.cpp).
    void CreateWnd() override;
    // OnGridResize, the always-visible bars, the cell controls.
    void Resize() override;
    // ScrollBarAlways keeps its bars shown (disabled while everything fits).
    bool ScrollBarWanted(bool horz) const override;
    // The check before every move of the current cell (ZedUdidSelect.cpp): the target kept
    // above the footers; negative cells, covered cells of a block (without range selection:
    // the base cell becomes current instead) and column 0 of a grid with nodes (without
    // goRowSelect) refused; editing switched on or off for the target; DoCellChanging and,
    // while the cell is edited with the focus elsewhere, the validation; then the listener,
    // the header and row repaints, OnRowChanged and the cell cache.
    bool SelectCell(int ACol, int ARow) override;
    // The last fixed row's and column's cells of the old and the new current cell.
    void RepaintCellHeaders(int OldCol, int OldRow, int NewRow, int NewCol);
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
    // Columns the hidden-columns scope has added to the platform count (0 outside it).
    int32_t FColsRaised = 0;
    // The flag lists of disjunct selection and the modified and disabled rows.
    TList* RowSelectList() const { return FRowSelect.get(); }
    TIntList* SelectedRowsList() const { return FSelectedRows.get(); }
    TIntList* ModifiedRowsList() const { return FModifiedRows.get(); }
    TIntList* EnabledRowsList() const { return FEnabledRows.get(); }
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
    // SetRowColor and SetRowColorTo: the brush field of every normal cell of the row.
    void SetRowBrush(int ARow, TColor AColor, TColor TCellProperties::*Field);
    // A header gradient colour, as its RGB value; invalidates.
    void SetHeaderColor(int Role, TColor Value);
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

    friend class TVerAdevovEdavFormLink;
    // Construction in the order of the owned-objects table; destruction in the destructor's.
    void CreateOwnedObjects();
    void CreateOwnedComponents();
    void CreateRunTimeEditors();
    void SetDefaults();
    void DestroyOwnedObjects();
    // The owner form's OnResize chained in, and its handler put back.
    void ChainFormResize();
    void UnchainFormResize();
    void FormResize(TObject* Sender);
    void SearchFooterChanged();
    void ColumnHeadersChange();
    void RowHeadersChange();
    // The last row (texts and objects) moves to the new last row of a grown or shrunk grid.
    void MoveFooterRow(int OldCount);

    TFooterPanel* FFooterPanel = nullptr;
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TFont> FFont;  // scratch
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TIntList> FOrigColSizes;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> FSortlist;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TList> FRowSelect;
    std::unique_ptr<TList> FColSelect;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortRowXRef;
    std::unique_ptr<TIntList> FUnSortRowXRef;
    std::unique_ptr<TIntList> FMergedColumns;
    // The disjunct cell selection; rows and columns kept whole, so any index fits.
    std::vector<TGridCoord> FSelectedCells;
    ITVerAdevovEdavSelect* FISelect = nullptr;
    std::unique_ptr<TIntList> FSelectedRows;
    std::unique_ptr<TIntList> FModifiedRows;
    std::unique_ptr<TIntList> FEnabledRows;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TCollection> FGridItems;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TIntList> FIgnoreColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    TDropList* FDropList = nullptr;
    TDropCheckList* FDropCheckList = nullptr;
    std::unique_ptr<TStringList> FFilterList;
    // Run-time editors and windows (components owned by the grid).
    TGridFocusWindow* FFocusWindow = nullptr;
    TArrowWindow* FArrows[4] = {};
    TGridCombo* FEditCombo = nullptr;
    TGridTransEdit* FEditTrans = nullptr;
    TGridTransCombo* FComboTrans = nullptr;
    TGridCheckBox* FEditCheck = nullptr;
    TGridEditBtn* FEditBtn = nullptr;
    TGridUnitEditBtn* FUnitEditBtn = nullptr;
    TGridButton* FGridButton = nullptr;
    THeaderDragButton* FHeaderDragButton = nullptr;
    TControlEdit* FEditControl = nullptr;
    TControlCombo* FComboControl = nullptr;
    TScrollBar* FCellScrollBar = nullptr;
    TScrollBar* FCellScrollBarTwin = nullptr;
    // The thin scroll controls of the metro scroll type (made with that type).
    TScrollControl* FVScrollControl = nullptr;
    TScrollControl* FHScrollControl = nullptr;

    // Counts and fixed areas.
    int32_t FFixedRowHeight = 22;
    int32_t FMaxRowCount = 0;
    int32_t FMaxColCount = 0;
    bool FWordWrapEx = true;
    int16_t FAllColWidths[513] = {};
    bool FVisibleCol[513];
    bool FSelHidden = false;
    TGridRect FOldSelection;

    // Life cycle.
    bool FFreshOnDesign = false;
    bool FLoaded = false;
    bool FEditChange = false;
    bool FIntegralHeight = false;
    TCustomForm* FOwnerForm = nullptr;
    TNotifyEvent FOldFormResize;
    bool FHasOldFormResize = false;
    int FFormWidth = 0;
    int FFormHeight = 0;
    int FOrigWidth = 0;
    uintptr_t FGridTimerID = 0;
    UINT FWheelMsg = 0;
    int FWheelScrollLines = 0;
    bool FWheelPan = false;
    TCursor FLoadCursor = 0;
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsVista = false;
    bool FIsComCtl6 = false;
    TQRBStyle FStyle = tsOffice2003Blue;
    TOfficeTheme FLastOfficeTheme = otUnknown;

    // Window, scrolling and frame.
    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 17;
    bool FScrollProportional = false;
    bool FScrollSynch = false;
    bool FScrollHints = false;
    TScrollBarAlways FScrollBarAlways = saNone;
    bool FFlat = false;
    TColor FBorderColor = 0x808080;
    bool FSizeWithForm = false;
    bool FAutoSize = false;
    bool FAutoThemeAdapt = false;

    // Defaults of the constructor.
    int FSelectionColorMixerFactor = 50;
    TColor FSelectionRectangleColor = 0;
    TColor FHintColor = clInfoBk;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    TColor FURLColor = 0xFF0000;
    TColor FActiveCellColorTo = clNone;
    TColor FDisabledFontColor = 0xC0C0C0;
    bool FUseDisabledFont = true;
    TColor FHeaderColors[4] = {0xFFFFFF, 0, clNone, clNone};
    TColor FTonesBrush = clNone;
    TColor FTonesBorder = clNone;
    String FFloatFormat = u"%.2f";
    char16_t FPasswordChar = u'*';
    char16_t FDelimiter = 0;
    bool FShowNullDates = true;
    TInvalidEntryIcon FInvalidEntryIcon = ieWarning;
    String FInvalidEntryTitle;
    String FInvalidEntryText;
    bool FSaveFixedCells = true;
    bool FSaveFixedRows = false;
    bool FSaveFixedCols = false;
    bool FSaveHiddenCells = false;
    bool FLoadFirstRow = true;
    bool FQuoteEmptyCells = true;
    bool FAlwaysQuotes = false;
    bool FJavaCSV = false;
    bool FExcelClipboardFormat = false;
    String FXMLEncoding = u"ISO-8859-1";
    int FPrintPageFrom = 1;
    int FPrintPageTo = 1;
    int FPrintPageNum = 0;
    String FFilterDropDownClear = u"(All)";
    bool FFilterNormalCellsOnly = true;
    bool FAutoFilterUpdate = true;
    bool FFilterIncremental = false;
    int FFilterCol = -1;
    int FFilterLevel = 0;
    bool FUseEnabledRows = false;
    int FFixedEditCol = -1, FFixedEditRow = -1;
    // Sorted indexes of the hidden rows (with repeats), and the distinct ones with the number of
    // shown rows before each, rebuilt when the items changed.
    mutable bool FHiddenIndexValid = false;
    mutable std::vector<int> FHiddenIdx;
    mutable std::vector<int> FHiddenDistinct;
    void UpdateHiddenIndex() const;
    // The rows before a visible floating footer's row, which stays last while rows move.
    int RowsBeforeFooter() const { return RowCount() - (FFloatingFooter && FFloatingFooter->Visible ? 1 : 0); }
    // The row workers' moves: the listed displayed rows (ascending) leave the grid into Out
    // (cells and objects of every real column, height); the rest close up.
    void CompactRows(const std::vector<int>& Rows, std::vector<TGridItem*>* Out, bool KeepHeights);
    // Rows come in at the final displayed places given (ascending, distinct), taking the cells
    // of the items (nil: an empty row of DefaultRowHeight); the others keep their order.
    void ExpandRows(const std::vector<int>& Places, const std::vector<TGridItem*>& Sources);
    // The current cell and the top row put back (or onto the last row) after rows moved.
    void RestoreCurrentRow(int OldRow, int OldTop);
    // Brings back the given items (removed from the collection and freed).
    void RestoreItems(std::vector<TGridItem*> Items);
    int64_t FHideSequence = 0;
    bool FEnableWheel = true;
    bool FIntelliZoom = true;
    bool FShowDesignHelper = true;
    bool FUseInternalHintClass = true;
    bool FFitCellsInGrid = true;
    bool FDesignHelperColumns = true;
    bool FLastValidation = true;
    int FMinRowHeight = 0;
    int FMaxRowHeight = 0;
    int FMinColWidth = 0;
    int FMaxColWidth = 0;
    bool FSizeGrowOnly = false;
    int FGroupColumn = -1;
    bool FNoDefaultDraw = false;
    bool FClearTextOnly = false;
    bool FAnchorHint = false;
    bool FAutoNumAlign = false;
    // State markers.
    bool FColChanging = true;
    int FLastTabCol = -1, FLastTabRow = -1, FHoverLink = -1, FOleDragCol = -1, FLastDesignChoice = -1;
    int FHoverFixedCol = -1, FHoverFixedRow = -1, FPushedCellButton = -1, FOldSize = -1, FMouseSelectStart = -1;
    int FOldSelectedRow = -1, FComboIndex = -1, FClickedCol = -1, FClickedRow = -1, FClipOrigin = -1, FLastHintPos = -1;
    int FRememberedLeftCol = 0;
    int FRememberedTopRow = 0;

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
    std::unique_ptr<TFont> FCellFont;  // scratch of GetCellFont
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
    bool FSelectionColorMixer = false;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FSpreadSheet = false;
    UINT FVAlign = 0;
    int FMaxEditLength = 0;
    TCursor FNormalCursor = 0;
    TPoint FXYOffset{2, 2};
    bool FXYOffsetTopLeftOnly = false;
    int FZoomFactor = 0;
    TGridLook FLook = glXP;
};
