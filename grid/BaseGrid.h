#pragma once
// Unit BaseGrid: TBaseGrid, the base of the string grid TVerAdevovEdav, on the platform string
// grid (through TObjStringGrid), and TCellProperties, the object a cell gets the first time it
// is given a property of its own.
//
// The cell store is the platform grid's: per cell a text and one object slot. The slot holds the
// cell's TCellProperties, owned by the grid, or nothing. A cell that never had a property has no
// object; every query treats it as an unmerged cell with the grid's defaults, and only writers
// (GetCellProperties among them) create properties. Column indexes here are storage columns
// (hidden columns keep their cells beyond ColCount), rows are the platform grid's rows.
//
// Merged cells: a block of cells is drawn, selected and edited as one; every cell of it has
// properties that lead to the block's top-left (base) cell, and text access is redirected there.
//
// Geometry: the platform grid draws no lines of its own (its line width is 0), so a cell's place
// is the plain sum of the widths and heights before it. VirtualCellRect gives it also for cells
// scrolled out of view; the sums come from the platform grid's prefix index, so no query walks
// the rows.
//
// Repaint requests: every repaint the grid asks for (a cell or its block, a rectangle of cells, a
// row, a column, the whole grid) goes through the one virtual RepaintArea, which invalidates. A
// descendant that overrides it sees each request as it is made (the tests' repaint log). While
// an update bracket is open (UpdateCount above 0) no request is made; the end of the bracket
// repaints the whole grid once.
//
// Undo and redo: TZedUdidUndoRedo records changes of cell texts and plays them back; a grid is
// linked to one through UndoRedo and reports its changes to it.
//
// Sources: BaseGrid.cpp (cell properties and the cell store), BaseGridMerge.cpp (merged cells),
// BaseGridGeometry.cpp (cell rectangles and repaint requests), BaseGridInput.cpp (keys, wheel,
// scrolling, cell selection), BaseGridPaint.cpp (the paint frame), BaseGridUndo.cpp (undo and redo).
#include <cstdint>
#include <functional>
#include <memory>

#include "controls/styled/GradientLabel.h"  // TVAlignment, shared with the styled controls
#include "platform/rtl/Collections.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"

class TBaseGrid;
class TZedUdidUndoRedo;

// The direction of a cell's background gradient.
enum TCellGradientDirection : uint8_t { GradientVertical, GradientHorizontal };

// How selected cells are painted: plainly, or as a button face of one of three looks.
enum TGridSelectionStyle : uint8_t { ssDefault, ssVista, ssWin7, ssOffice2007 };

// The colours of a selection face, by their role in DrawButtonFace.
struct TSelectionFaceColors {
    TColor BodyFrom, BodyTo, CornerShade, OuterBorder, LowerInner, UpperInner, MirrorTo, MirrorFrom;
};
// The face of a style with the focus (or goDrawFocusSelected), and the one of every style without.
const TSelectionFaceColors& SelectionFaceColors(TGridSelectionStyle Style);
const TSelectionFaceColors& UnfocusedSelectionFaceColors();

// The calculation a footer cell carries.
enum TColumnCalcType : uint8_t { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

// The 42 editor kinds of a cell; the ordinals are stored, the order is fixed.
enum TEditorType : uint8_t {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown, edTimeEdit,
    edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase, edPassword,
    edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn,
    edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars, edTrackbarDropDown,
    edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown, edGridDropDown,
    edColorPickerDropDown, edImagePickerDropDown, edZedUdidDropDown, edPositiveFloat, edNumericUnitEditBtn,
    edFloatUnitEditBtn
};

// The properties of one cell. The grid owns it (in the cell's object slot) and, through it, the
// cell's graphic; the user object, the calculation object and the control are only referenced.
//
// Merge representation (w, h the block's size in cells, (bc, br) its base cell):
//   base cell: IsBaseCell true, CellSpanX w - 1, CellSpanY h - 1 (a one-cell block: 0, 0);
//   covered cell (c, r): IsBaseCell false, CellSpanX c - bc, CellSpanY r - br;
//   unmerged cell: IsBaseCell true, both spans -1.
class TCellProperties : public TPersistent {
public:
    // The defaults: no user object or graphic, IsBaseCell, spans -1, BrushColor, BrushColorTo and
    // FontColor clNone, WordWrap the grid's default for new cells, NodeLevel 0, everything else
    // zero or empty. Sets the grid's FHasCellProps.
    TCellProperties(TBaseGrid* AOwnerGrid, int AOwnerRow, int AOwnerCol);
    // Frees the cell's graphic, whatever its class.
    ~TCellProperties() override;
    const char* ClassName() const override { return "TCellProperties"; }

    // From other properties, without repainting: IsBaseCell, the spans, OwnerRow, OwnerCol,
    // CellObject, Alignment, BorderColor, BorderWidth, BrushColor, BrushStyle, FontColor,
    // FontStyle, FontName, FontSize, ReadOnly, Editor, VAlignment, WordWrap, NodeLevel, Control.
    // The graphic, BrushColorTo, GradientDirection, CalcType, CalcObject and the paint pass stay.
    // Any other source is ignored.
    void Assign(const TPersistent* Source) override;

    // The base cell of the block of the cell at (ACol, ARow) that holds these properties: for a
    // covered cell (ACol - CellSpanX, ARow - CellSpanY), else the cell itself.
    TPoint GetBaseCell(int ACol, int ARow) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int Value) { FOwnerCol = Value; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int Value) { FOwnerRow = Value; }
    // The user's object of the cell (not owned).
    TObject* CellObject() const { return FObject; }
    void SetCellObject(TObject* Value) { FObject = Value; }
    // The cell graphic (a TCellGraphic), owned: freed with the properties. Replacing it hands the
    // previous one back to the caller (GraphicObject is the field; the grid's SetGraphicObjectEx
    // is the writer).
    TObject* GraphicObject() const { return FGraphicObject; }
    TBrushStyle BrushStyle() const { return static_cast<TBrushStyle>(FBrushStyle); }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = static_cast<uint8_t>(Value); }
    // clNone: not set. The writer repaints the cell.
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    // clNone: no gradient. The writer repaints the cell.
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    // clNone: not set.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    // Stored without repainting.
    TAlignment Alignment() const { return static_cast<TAlignment>(FAlignment); }
    void SetAlignment(TAlignment Value) { FAlignment = static_cast<uint8_t>(Value); }
    // The writer repaints the cell.
    TVAlignment VAlignment() const { return static_cast<TVAlignment>(FVAlignment); }
    void SetVAlignment(TVAlignment Value);
    // The paint pass in which the block was last painted.
    int PaintID() const { return FPaintID; }
    void SetPaintID(int Value) { FPaintID = Value; }
    // The writer repaints the cell.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    // Used by a custom calculation (not owned).
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* Value) { FCalcObject = Value; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    const String& FontName() const { return *FFontName; }
    void SetFontName(const String& Value) { FFontName = PooledName(Value); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    // A control placed over the cell (not owned here).
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }

private:
    friend class TBaseGrid;
    friend class TVerAdevovEdav;  // row-wide colours set the brush fields without a repaint per cell
    void Repaint();
    // Font names are few and shared by many cells: each cell points at one pooled copy.
    static const String* PooledName(const String& Name);

    // Packed (pointers, then 32-bit values, then bytes), so that a cell's properties take 120
    // bytes; a property's type is the one its accessors give.
    TBaseGrid* FOwnerGrid;
    TObject* FObject = nullptr;
    TObject* FGraphicObject = nullptr;
    TObject* FCalcObject = nullptr;
    TControl* FControl = nullptr;
    const String* FFontName;
    int32_t FOwnerCol;
    int32_t FOwnerRow;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int32_t FFontSize = 0;
    TColor FFontColor = clNone;
    int32_t FCellSpanY = -1;
    int32_t FCellSpanX = -1;
    int32_t FBorderWidth = 0;
    TColor FBorderColor = 0;
    int32_t FPaintID = 0;
    int32_t FNodeLevel = 0;
    TFontStyles FFontStyle;
    uint8_t FBrushStyle = bsSolid;
    uint8_t FAlignment = taLeftJustify;
    uint8_t FVAlignment = vaTop;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TEditorType FEditor = edNormal;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
};

// The platform string grid under a class of the grid library's own; it adds nothing.
class TObjStringGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    const char* ClassName() const override { return "TObjStringGrid"; }
};

// What one repaint request of the grid covers, as it was asked for.
enum class TRepaintScope : uint8_t { Cell, Rect, Row, Col, Grid };
struct TGridRepaint {
    TRepaintScope Scope = TRepaintScope::Grid;
    // The cells asked for: the cell, the rectangle, the row (Top = Bottom) or the column
    // (Left = Right); empty for the whole grid.
    TGridRect Cells;
    // The client rectangle to invalidate (a merged cell's whole block); empty for the grid.
    TRect Area;
    // Whether the background is erased.
    bool Erase = false;
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;

class TBaseGrid : public TObjStringGrid {
public:
    explicit TBaseGrid(TComponent* AOwner);
    // Frees every cell property (and graphic) the store still holds, wherever it is.
    ~TBaseGrid() override;
    const char* ClassName() const override { return "TBaseGrid"; }

    // ---- Raw access: no merge redirection, no hooks ----
    String GetGridCell(int c, int r) const { return Cells(c, r); }
    void SetGridCell(int c, int r, const String& Value) { SetCells(c, r, Value); }
    TObject* GetGridObject(int c, int r) const { return Objects(c, r); }
    void SetGridObject(int c, int r, TObject* Value) { SetObjects(c, r, Value); }

    // ---- Cell properties ----
    // True when the cell lies inside the grid (columns below TotalColCount, rows below
    // RowCount) and its slot holds properties. Never creates them.
    bool HasCellProperties(int c, int r) const;
    // The cell's properties, created on first use with the defaults GetDefaultCellProps gives.
    // Callers pass cells inside the grid.
    TCellProperties* GetCellProperties(int c, int r);
    // Frees the properties the cell holds (with their graphic) and stores Value (may be nil).
    void SetCellProperties(int c, int r, TCellProperties* Value);
    // The user object; nil for a cell without properties, which the reader never creates.
    TObject* GetObjectEx(int c, int r) const;
    void SetObjectEx(int c, int r, TObject* Value);
    // The cell graphic; nil for a cell without properties. The writer hands the previous graphic
    // back to the caller, who owns it from then on; nothing happens while the grid is destroyed.
    TObject* GetGraphicObjectEx(int c, int r) const;
    TObject* SetGraphicObjectEx(int c, int r, TObject* Value);
    static TObject* CellGraphicOf(const TCellProperties* Props) { return Props ? Props->FGraphicObject : nullptr; }

    // ---- Text with merge redirection and the display hooks ----
    // The text of the cell, read at the base cell of its block; below FNormalRowCount it passes
    // through GetDisplText and, with OnGetDisplWideText, GetDisplWideText (pair-encoded).
    String GetCellEx(int c, int r);
    // Stores the text at the base cell of the block (then CellTextChanged and a repaint of the
    // addressed cell), or in the cell itself; with FHideLastRow a write to the last row calls
    // LastRowChanged.
    void SetCellEx(int c, int r, const String& Value);

    // ---- Clean-up ----
    // Frees the properties (and graphics) of every cell of the rectangle and clears the slots;
    // nothing when the grid never created properties or toCol < fromCol.
    void FreeCellProperties(int fromCol, int fromRow, int toCol, int toRow);
    void FreeCellPropertiesAt(int c, int r);
    // Every properties object the store holds, hidden columns and cells beyond the counts included.
    void FreeAllCellProperties();
    // Clear the slots without freeing (the objects were handed to other cells), then write an
    // empty text through SetCellEx.
    void ResetColCells(int column);
    void ResetRowCells(int row);
    // An empty text through SetCellEx first (a covered cell empties its base cell), then the slot
    // cleared without freeing.
    void ResetCell(int c, int r);

    // ---- Merged cells (none of the queries creates properties) ----
    TPoint BaseCell(int ACol, int ARow) const;
    // True (the cell itself) for a cell without properties or a base cell; false with the base.
    bool FindBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    // A span above 0: the base of a block larger than one cell, or a covered cell.
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    // The base cell's spans; (0, 0) for a cell without properties or with a span of -1.
    TPoint CellSpan(int ACol, int ARow) const;
    // From the cell to the end of its block.
    TPoint CellExt(int ACol, int ARow) const;
    // The block in cells, right and bottom included.
    TRect FullCell(int ACol, int ARow) const;
    // The smallest vertical span above 0 and below RowCount in the row; RowCount when none.
    int MinRowSpan(int ARow) const;
    // The largest vertical span in the row; 0 when none.
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;
    // One more for every MergeCells, one less for every SplitCells.
    int MergeCount() const { return FMergeCount; }

    // Merges the block of spanx columns and spany rows based at (c, r), overwriting whatever
    // merge its cells had; a span below 1 merges nothing (the count still grows).
    virtual void MergeCells(int c, int r, int spanx, int spany);
    // Splits the block that holds (c, r); on an unmerged cell it only creates properties.
    virtual void SplitCells(int c, int r);

    // ---- Geometry ----
    // Where the cell is or would be on the client area, also when scrolled out of view.
    TRect VirtualCellRect(int ACol, int ARow) const;
    // The cell's client rectangle, the whole block's for a merged cell (a zero-width column of
    // it taking one pixel); empty for an unmerged cell that is not on screen.
    TRect CellRect(int c, int r) const;
    // Width and height of the cell or of its whole block.
    TPoint CellSize(int c, int r) const;

    // ---- Repaint requests (see the header comment) ----
    void RepaintCell(int c, int r);
    // A rectangle of cells: its screen area, the whole grid when a corner is not on screen;
    // nothing for a negative coordinate.
    void RepaintRect(const TGridRect& R);
    // A row over the visible columns, a column over the visible rows.
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    // The whole grid, through the repaint request.
    void Invalidate() override;
    int UpdateCount() const { return FUpdateCount; }

    // ---- The paint frame (BaseGridPaint.cpp) ----
    // The grid's own lines; the platform grid draws none (its width stays 0).
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    // Stored only: the platform's own default drawing stays off.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);
    // The current row (not the current cell) in its own colours.
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);
    // The row under the mouse (HoverRowIndex, kept by the mouse handling) in its own colours.
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
    int HoverRowIndex() const { return FHoverRowIndex; }
    void SetHoverRowIndex(int Value) { FHoverRowIndex = Value; }
    // A cell on a canvas as on the screen: its block's rectangle, the fixed state, the clip
    // under the fixed cells, RenderCell for the content.
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    // A cell's background and lines in the rectangle given: no fixed adjustment, a selected cell
    // in the active-row colours, no content (the caller draws it).
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

    // ---- Hooks (in slot order) ----
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetRowIndent(int ARow);
    virtual bool HasNodes();
    // Draws the display text on one line, centred both ways.
    virtual void RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void LastRowChanged();
    // Fires OnGetDisplText.
    virtual void GetDisplText(int ACol, int ARow, String& Value);
    // Fires OnGetDisplWideText.
    virtual void GetDisplWideText(int ACol, int ARow, String& Value);
    // The defaults of new properties: a font and a brush to fill, then the gradient end, the two
    // mirror colours, the alignments, word wrap and gradient direction. The base: the grid's font
    // and Color, clNone, left and top, the grid's word wrap default, vertical.
    virtual void GetDefaultCellProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD);
    virtual void CellTextChanged(int ACol, int ARow);
    virtual bool HasCellBorders();
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                                     TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                     TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                                     TCellGradientDirection& GD);
    virtual int DisplColIndex(int ACol);
    // (MergeCells and SplitCells above.)
    virtual int TotalColCount() const;

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplTextEvent OnGetDisplWideText;

    // ---- Undo and redo ----
    // The linked recorder (nil: none); writing it links the recorder to this grid. Either side
    // going away clears the other's reference.
    TZedUdidUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TZedUdidUndoRedo* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The one road of repaint requests: invalidates Request.Area (the platform's whole-grid
    // invalidation for TRepaintScope::Grid). Called only while no update bracket is open.
    virtual void RepaintArea(const TGridRepaint& Request);
    // Makes the request unless an update bracket is open or the grid has no window.
    void RequestRepaint(const TGridRepaint& Request);
    // Stores a changed value and invalidates the grid (the writers of display settings).
    template <typename T>
    void StoreAndInvalidate(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Invalidate();
    }

    // What fills a cell's background: a selection face (DrawButtonFace with the edge style and
    // the grid's Color at the corners), a 64-step gradient (DrawStepGradient) or a mirror
    // gradient (DrawMirrorGradient). The one road of the frame's fills, which a test can record.
    struct TCellBackground {
        enum TKind : uint8_t { Face, Step, Mirror } Kind = Step;
        TRect Rect;
        TColor Color = clNone, ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
        bool Horizontal = false;
        // A face's colours, edge style (0 alone, 1 left end, 2 right end, 3 middle) and corners.
        TSelectionFaceColors FaceColors{};
        int EdgeStyle = 0;
        TColor Back = clNone;
    };
    virtual void DrawCellBackground(TCanvas* ACanvas, const TCellBackground& B);
    // Keys over merged blocks, Page Down above a hidden last row; then the platform's keys and
    // the current cell back on a base cell.
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) override;
    // The platform's handling, then the merged fixed cells of the visible rows and columns are
    // repainted, so that blocks reaching into the scrolled area are drawn whole.
    void TopLeftChanged() override;
    // The old and the new current cell are repainted (the whole grid with right-to-left reading).
    bool SelectCell(int ACol, int ARow) override;
    // The platform paints every cell, then the paint pass grows by one.
    void Paint() override;
    // A covered cell paints its block's base cell once per paint pass; other cells are painted
    // over their whole block through RenderCell.
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    // A deleted row (column) takes its cells' properties with it.
    void DeleteColumn(int ACol) override;
    void DeleteRow(int ARow) override;
    // When the current cell has properties, Col and Row become its base cell.
    void SnapToBaseCell();

    int32_t FPaintID = 1;
    // The grid itself is moving the current cell (onto a block's edge or back to its base):
    // SelectCell lets such a move through unasked.
    bool FSelectForced = false;
    // The frame's settings.
    int32_t FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    bool FDefaultDrawing = false;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    bool FHoverRow = false;
    int32_t FHoverRowIndex = -1;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FCustomSelect = true;
    // Whether selected cells are painted as selected (the grid's ShowSelection).
    bool FSelectionShown = true;
    // The last row is covered by the floating footer.
    bool FHideLastRow = false;
    // The row count last set through the grid's RowCount writer; 0 until then. Rows at or beyond
    // it (sorting's scratch rows) read raw.
    int32_t FNormalRowCount = 0;
    // The word-wrap default of new cell properties.
    bool FWordWrap = true;
    // Set as soon as any properties object is made; cleared only when the whole grid is cleared.
    bool FHasCellProps = false;
    int32_t FMergeCount = 0;
    // Open update brackets (the grid's BeginUpdate and EndUpdate); no repaint request while above 0.
    int32_t FUpdateCount = 0;

private:
    friend class TCellProperties;
    // Properties of the slot; nullptr for an empty slot (or one holding anything else).
    TCellProperties* PropsAt(int c, int r) const;
    // New properties for an empty slot, with their defaults, stored in the slot; SetCalc: CalcType
    // is reset (GetCellProperties) or left (SetGraphicObjectEx).
    TCellProperties* CreateCellProperties(int c, int r, bool SetCalc);
    // The cells where properties may stand: counts ever reached and cells ever given properties.
    void NoteExtent(int c, int r);
    // The frame of PaintCell (Screen) and PaintCellExt.
    void PaintCellFrame(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Screen);
    // Empty width kept at one pixel: the base of a block to the right, its end to the left.
    TRect BlockRect(int c, int r, const TCellProperties* Props, bool Widen) const;

    int32_t FExtentCols = 0;
    int32_t FExtentRows = 0;
    TZedUdidUndoRedo* FUndoRedo = nullptr;
    // Scratch font and brush for the defaults of new properties (one pair per nesting level).
    std::unique_ptr<TFont> FScratchFont;
    std::unique_ptr<TBrush> FScratchBrush;
    std::unique_ptr<TFont> FFreshFont;
    int FDefaultsDepth = 0;
};

// ---------------------------------------------------------------------------------------------
// Undo and redo

// One recorded change of a cell's text, or a marker (cell -1, -1) that opens or closes a
// sequence of changes played back as one.
class TUndoRedoItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const char* ClassName() const override { return "TUndoRedoItem"; }
    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    // Storage column.
    int Col() const { return FCol; }
    void SetCol(int Value) { FCol = Value; }
    // The text after the change and before it.
    const String& Value() const { return FValue; }
    void SetValue(const String& Value) { FValue = Value; }
    const String& OrigValue() const { return FOrigValue; }
    void SetOrigValue(const String& Value) { FOrigValue = Value; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool Value) { FSequenceStart = Value; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool Value) { FSequenceStop = Value; }

private:
    int32_t FRow = 0;
    int32_t FCol = 0;
    String FValue;
    String FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

// The items in the order they were recorded.
class TUndoRedoCollection : public TCollection {
public:
    TUndoRedoCollection() : TCollection(&CollectionItemOf<TUndoRedoItem>) {}
    const char* ClassName() const override { return "TUndoRedoCollection"; }
    TUndoRedoItem* Items(int Index) const { return static_cast<TUndoRedoItem*>(TCollection::Items(Index)); }
    TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
};

using TZedUdidUndoRedoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const String& OrigValue, const String& NewValue)>;

// Records changes of cell texts and plays them backwards (Undo) and forwards (Redo). The items
// below Level are done, those from Level on undone: CanUndo is Level > 0, CanRedo Level < the
// item count. A registration counts every item as done again (CanRedo turns false), so later
// undos walk back over changes undone before.
class TZedUdidUndoRedo : public TComponent {
public:
    explicit TZedUdidUndoRedo(TComponent* AOwner);
    ~TZedUdidUndoRedo() override;
    const char* ClassName() const override { return "TZedUdidUndoRedo"; }

    // Appends a change; with MaxLevel above 0 and that many items the oldest goes first.
    virtual void RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue);
    // Append a marker (never dropped for MaxLevel); callers pair them.
    virtual void StartSequence();
    virtual void StopSequence();

    // One change or one whole sequence; nothing without a grid or with nothing to play.
    void Undo();
    void Redo();
    // Frees every item; Level stays.
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }

    TUndoRedoCollection* Items() const { return FItems.get(); }
    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* Value);
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    // 0: unlimited.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int Value) { FMaxLevel = Value; }

    TZedUdidUndoRedoEvent OnUndo;
    TZedUdidUndoRedoEvent OnRedo;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Fires the event, writes Text into the item's cell and makes the cell current.
    void Play(const TUndoRedoItem* Item, const String& Text, const TZedUdidUndoRedoEvent& Event);
    void AddMarker(bool Start);

    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr;
    int32_t FLevel = 0;
    int32_t FMaxLevel = 0;
};
