#pragma once
// The grids: TCustomGrid (counts and sizes of columns and rows, the current cell and the
// selection, scrolling with the window's scroll bars, painting as one DrawCell call per visible
// cell, keys, mouse and the in-place editor), TCustomDrawGrid and TDrawGrid (the same with
// events), TStringGrid (a text and an object reference per cell, rows and columns as string
// lists) and TInplaceEdit, the editor a grid shows over its current cell.
//
// The grid family of the components descends from these classes and relies on the virtual
// hooks below being called when and with what this header says.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

class TCustomGrid;
class TStringGrid;

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A rectangle of cells, right and bottom included. The grid's Selection keeps its current cell
// in Left/Top and its anchor in Right/Bottom, so Left > Right when it was selected leftwards.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The smallest rectangle holding both cells.
TGridRect GridRect(TGridCoord a, TGridCoord b);
bool PointInGridRect(int Col, int Row, const TGridRect& Rect);

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = rtl::SmallSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = rtl::SmallSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// Misuse of a grid: a fixed count at or above its count, an index outside the grid.
RTL_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// The editor the grid shows over its current cell: a borderless masked edit in multi-line style
// (so its formatting rectangle applies), placed over the cell's rectangle and moved with
// scrolling. Keys that leave the cell go to the grid.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TInplaceEdit"; }
    TCustomGrid* Grid() const { return FGrid; }
    // Over Loc and shown; the focus comes along when the grid has it. An empty Loc hides it.
    void Move(const TRect& Loc);
    // Over Loc without taking the focus (scrolling).
    void UpdateLoc(const TRect& Loc);
    bool PosEqual(const TRect& Rect) const;
    // Hidden; the focus goes back to the grid when the editor had it.
    void Hide();
    // The caret after the text, nothing selected.
    void Deselect();
    // The text the editor was loaded with; Esc puts it back.
    const String& StartText() const { return FStartText; }

protected:
    using TWinControl::BoundsChanged;
    // Placed or resized: the formatting rectangle follows.
    virtual void BoundsChanged();
    // Loads the cell: the mask, the text and the length limit, from the grid's hooks.
    virtual void UpdateContents();
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
    void WMGetDlgCode(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;

private:
    friend class TCustomGrid;
    void InternalMove(const TRect& Loc, bool takeFocus);
    TCustomGrid* FGrid = nullptr;
    String FStartText;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;
    const char* ClassName() const override { return "TCustomGrid"; }
    void BeforeDestruction() override;

    // Counts: at least 1. Lowering a count to or below its fixed count lowers the fixed count to
    // count - 1; a fixed count at or above its count is refused. Setting a fixed count makes the
    // first scrolling cell current and scrolls back to it.
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    // Sizes. Setting a default size resets every column (row) to it. An index at or beyond the
    // count raises EInvalidGridOperation.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    // The room columns 0..ACol-1 (rows 0..ARow-1) take: the sum of their sizes, grid lines not
    // counted and hidden ones taking none; ACol may be ColCount (ARow RowCount). Kept in an index
    // that a size change updates in logarithmic time, so asking costs no walk over the cells.
    int64_t WidthBefore(int ACol) const;
    int64_t HeightAbove(int ARow) const;
    // Fixed cells are painted in FixedColor, the others in Color (clWindow).
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    // The window's scroll bars, shown only while the grid can scroll that way.
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // The current cell. Moving it asks SelectCell and scrolls it into view.
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    // Left/Top the current cell, Right/Bottom the anchor, as they stand (not normalised).
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);
    // The first scrolling column and row shown.
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    // Scrolling columns and rows shown whole.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // Moves the current cell (asking SelectCell); with MoveAnchor the selection shrinks to it,
    // with Show it is scrolled into view. Outside the grid: EInvalidGridOperation.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    // MoveColRow with Show, the editor following, then OnClick.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);

    // Client rectangle of a cell without its grid line; empty when the cell is not on screen.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point; -1 outside the cells.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    // Move cells with their objects and sizes; RowMoved/ColumnMoved run once.
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    void InvalidateCell(int ACol, int ARow);
    void InvalidateRow(int ARow);
    void InvalidateCol(int ACol);
    void InvalidateGrid();

    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    // The editor, nullptr until it was first shown.
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    TGridState GridState() const { return FGridState; }

    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);

protected:
    friend class TInplaceEdit;

    // ---- hooks ----
    // Paints one cell; rect excludes its grid line.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // May the current cell move here? The move is refused when it answers false.
    virtual bool SelectCell(int ACol, int ARow);
    // After every change of ColCount or RowCount, with the counts before it.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // After every change of a width (height), default size included.
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    // The control's scaling, then the default sizes and every column width and row height (a
    // hidden one stays hidden).
    void ChangeScale(int M, int D) override;
    // After MoveColumn/MoveRow (and so DeleteColumn/DeleteRow) moved the sizes.
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // After LeftCol or TopRow changed; the editor follows.
    virtual void TopLeftChanged();
    // Whether a press at (X, Y) starts sizing a column or row; the base: on the line after a
    // scrolling column inside the fixed rows (goColSizing), or after a scrolling row inside the
    // fixed columns (goRowSizing), 3 pixels either side.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);

    // The editor mechanism.
    virtual bool CanEditShow();
    virtual bool CanEditModify();
    virtual TInplaceEdit* CreateEditor();
    virtual String GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const String& Value);
    virtual String GetEditMask(int ACol, int ARow);
    // Maximum length of the edited text; 0: none.
    virtual int GetEditLimit();
    // Shows the editor holding Ch, as if typed into it.
    void ShowEditorChar(char16_t Ch);
    // Writes the editor's text into its cell (SetEditText).
    void UpdateText();
    // Loads the editor again for the current cell.
    void InvalidateEditor();
    // A cell's content changed: the editor showing it is loaded again, unless the change comes
    // from the editor itself.
    void EditedCellChanged(int ACol, int ARow);
    bool IsActiveControl() const;

    // The wheel: one step per notch; the base moves the current row by one.
    virtual bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos);
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;

    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMHScroll(TMessage& Message) override;
    void WMVScroll(TMessage& Message) override;
    virtual void WMTimer(TMessage& Message);
    void WMGetDlgCode(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;

    // The rectangle of a block of cells on screen (lines included with IncludeLine), clipped to
    // what is shown; empty when none of it is.
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    void InvalidateGridRect(const TGridRect& ARect);
    // Scrolls so that the cell is shown whole.
    void ClampInView(TGridCoord Coord);
    void MoveTopLeft(int ALeft, int ATop);
    // Brings the scroll bars in line with the counts, sizes and client size.
    void UpdateScrollRange();
    // Whether the bar is to be shown: ScrollBars allows it and the grid can scroll that way. A
    // descendant that keeps a bar shown when nothing scrolls answers true for it too.
    virtual bool ScrollBarWanted(bool horz) const;
    // Keeps the bottom Value pixels of the client area for a panel laid over the grid: the rows
    // scroll until the last one ends above it, and a row brought into view is shown above it.
    void SetReservedBottom(int Value);
    int ReservedBottom() const { return FReservedBottom; }

    // Descendants may read and set the state of a mouse gesture.
    TGridState FGridState = gsNormal;

private:
    // One direction of the layout on screen.
    struct Axis {
        bool Horz = true;
        int LineWidth = 0;       // the line after each cell
        int FixedCount = 0;
        int FixedShown = 0;      // fixed cells that start inside the client area
        int FirstCell = 0;       // LeftCol or TopRow
        int CellCount = 0;
        int FixedBoundary = 0;   // where the scrolling cells begin
        int GridBoundary = 0;    // end of the last cell shown, its line included
        int GridExtent = 0;      // client width or height
        int LastFullVisibleCell = 0;
        int LastVisibleCell = 0; // last cell starting inside the client area
        std::vector<int> Starts; // fixed cells shown, then FirstCell..LastVisibleCell
        int StartOf(int cell) const;
    };
    struct Layout {
        Axis Horz, Vert;
    };
    struct LayoutKey {
        int ClientW = -1, ClientH = -1, LeftCol = 0, TopRow = 0, Cols = 0, Rows = 0, FixedCols = 0, FixedRows = 0;
        int LineW = 0, LineH = 0;
        uint64_t Sizes = 0;
        bool operator==(const LayoutKey&) const = default;
    };
    const Layout& CurrentLayout() const;
    void BuildAxis(Axis& a, bool horz, int extent, int first) const;
    int Extent(bool horz, int index) const;          // size plus line; 0 for a hidden cell
    int CellSize(bool horz, int index) const;
    int MaxFirst(bool horz) const;                    // the last LeftCol/TopRow that still fills the view
    int FirstShowingLast(bool horz, int index) const; // the first cell that shows `index` as its last whole cell
    bool AxisSpan(const Axis& a, int lo, int hi, bool line, int& from, int& to) const;
    int CellAt(const Axis& a, int pos) const;
    void SizesChanged();
    // Prefix sums of the sizes of one axis (a Fenwick tree over max(size, 0)), built when first
    // asked for and kept up to date by SetSize; any other change of the sizes drops it.
    struct SizeIndex {
        std::vector<int64_t> Tree;
        bool Valid = false;
    };
    int64_t SizeSum(bool horz, int count) const;

    void ChangeSize(int NewColCount, int NewRowCount);
    void SetFixed(bool horz, int Value);
    int SizeOf(bool horz, int Index) const;
    void SetSize(bool horz, int Index, int Value);
    void MoveItem(bool horz, int FromIndex, int ToIndex);
    void GeometryChanged();
    void Initialize();
    bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveAnchor(TGridCoord NewAnchor);
    void SelectionMoved(const TGridRect& OldSel);
    void TopLeftMoved(TGridCoord OldTopLeft);
    void ScrollImage(TGridCoord OldTopLeft);
    void UpdateScrollPos();
    void ModifyScrollBar(bool horz, int code, int pos);
    bool ScrollBarShown(bool horz);
    void InvalidateSelection();
    static void MoveExtent(std::vector<int>& sizes, int from, int to);
    static void MoveAdjust(int& pos, int from, int to);

    void UpdateEdit();
    void HideEdit();

    // The sizing line or the drop mark of a gesture, in client coordinates; empty when none.
    TRect GuideRect() const;
    void InvalidateGuide();
    void StartGestureTimer();
    void StopGestureTimer();
    void GestureStep();
    void UpdateSizingCursor(int X, int Y);

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths;   // empty: all DefaultColWidth
    std::vector<int> FRowHeights;  // empty: all DefaultRowHeight
    uint64_t FSizesVersion = 0;
    mutable SizeIndex FSizeIndex[2];  // columns, rows
    int FGridLineWidth = 1;
    TColor FFixedColor = clBtnFace;
    TGridOptions FOptions;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    bool FDefaultDrawing = true;

    TGridCoord FCurrent;
    TGridCoord FAnchor;
    TGridCoord FTopLeft;

    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    int FEditUpdate = 0;          // SetEditText is writing: the editor is not reloaded
    bool FFocusFromEditor = false;  // focus moves between the grid and its editor
    bool FFocusToEditor = false;
    bool FScrollRangeBusy = false;
    int FReservedBottom = 0;

    // A mouse gesture: sizing, moving or selecting with the button down.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    bool FTimerOn = false;
    TPoint FLastMouse;
    bool FSizingCursor = false;   // the cursor shows a sizing line under the mouse
    TCursor FSavedCursor = crDefault;
    int FWheelAccumulator = 0;

    mutable Layout FLayout;
    mutable LayoutKey FLayoutKey;
    mutable bool FLayoutValid = false;
};

class TCustomDrawGrid : public TCustomGrid {
public:
    explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    const char* ClassName() const override { return "TCustomDrawGrid"; }

    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void TopLeftChanged() override;
    String GetEditMask(int ACol, int ARow) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
};

class TDrawGrid : public TCustomDrawGrid {
public:
    using TCustomDrawGrid::TCustomDrawGrid;
    const char* ClassName() const override { return "TDrawGrid"; }
};

// A row or column of a string grid as a string list of exactly ColCount (RowCount) items, each
// a cell's text and object. Items can be replaced, not inserted or deleted; Add fills the first
// empty cell after the last one Add filled since the list was cleared.
class TStringGridStrings : public TStrings {
public:
    const char* ClassName() const override { return "TStringGridStrings"; }
    int Count() const override;
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    void* GetObject(int Index) const override;
    void PutObject(int Index, void* AObject) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const String& S) override;
    int AddObject(const String& S, void* AObject) override;
    // From another list: the first Count items, texts and objects; cells past the source's
    // items are emptied.
    void Assign(const TPersistent* Source) override;

protected:
    TStringGridStrings(TStringGrid* Grid, bool IsRow, int Index) : FGrid(Grid), FIsRow(IsRow), FIndex(Index) {}
    int ColOf(int Index) const { return FIsRow ? Index : FIndex; }
    int RowOf(int Index) const { return FIsRow ? FIndex : Index; }
    void CheckIndex(int Index) const;

    TStringGrid* FGrid;
    bool FIsRow;
    int FIndex;  // the row (column) the list stands for
    int FAddPos = 0;

private:
    friend class TStringGrid;
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;
    const char* ClassName() const override { return "TStringGrid"; }

    // Any cell at or right of and below (0, 0) is addressable, inside the counts or not: what
    // is written outside them is kept, and a shrink keeps the cells it hides. A negative index
    // raises EInvalidGridOperation. Objects are references the grid never frees.
    String Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // A row (column) as a list; the list lives as long as the grid and follows its row when
    // rows move.
    TStrings* Rows(int Index);
    TStrings* Cols(int Index);
    void SetRows(int Index, const TStrings* Value) { Rows(Index)->Assign(Value); }
    void SetCols(int Index, const TStrings* Value) { Cols(Index)->Assign(Value); }

    // A deleted row (column) is gone: its cells are emptied, so growing the grid again never
    // brings them back.
    void DeleteColumn(int ACol) override;
    void DeleteRow(int ARow) override;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    // Two rows exchange all their cells at once, each row list going with its cells (as when
    // rows move); the rows are repainted. Bulk row moves take this instead of copying cells.
    void ExchangeRowCells(int ARow, int BRow);
    // Empties a row's cells at once; its objects are not freed (the grid never frees them).
    void ClearRowCells(int ARow);

private:
    friend class TStringGridStrings;
    class Store;
    // Writes a cell's text and/or object (nullptr: that part stays) and repaints the cell.
    void PutCell(int ACol, int ARow, const String* Text, TObject* const* Object);
    static void CheckCell(int ACol, int ARow);
    bool RowOnScreen(int ARow) const;

    std::unique_ptr<Store> FStore;
    std::map<int, std::unique_ptr<TStringGridStrings>> FCols;
};
