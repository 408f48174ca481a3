// The cell store of TBaseGrid: cell properties created on demand, text access with merge
// redirection and the display hooks, and freeing and resetting properties.
#include "grid/BaseGrid.h"

#include <algorithm>
#include <unordered_set>

#include "render/VarAvir.h"

// ---------------------------------------------------------------------------------------------
// TCellProperties

const String* TCellProperties::PooledName(const String& Name) {
    struct Hash {
        size_t operator()(const String& s) const { return std::hash<std::u16string>{}(s); }
    };
    // Names are never taken out: a handful of faces serve every cell of every grid.
    static std::unordered_set<String, Hash> pool;
    // New cells mostly take the name the last one took.
    static const String* last = nullptr;
    if (last && *last == Name) return last;
    last = &*pool.insert(Name).first;
    return last;
}

TCellProperties::TCellProperties(TBaseGrid* AOwnerGrid, int AOwnerRow, int AOwnerCol)
    : FOwnerGrid(AOwnerGrid), FFontName(PooledName(String())), FOwnerCol(AOwnerCol), FOwnerRow(AOwnerRow) {
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->FWordWrap;
        FOwnerGrid->FHasCellProps = true;
    }
}

TCellProperties::~TCellProperties() { delete FGraphicObject; }

void TCellProperties::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TCellProperties*>(Source);
    if (!s) return;
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->FCellSpanY;
    FOwnerRow = s->FOwnerRow;
    FOwnerCol = s->FOwnerCol;
    FObject = s->FObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontSize = s->FFontSize;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const {
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1) return {ACol - FCellSpanX, ARow - FCellSpanY};
    return {ACol, ARow};
}

void TCellProperties::Repaint() {
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
    FBrushColor = Value;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor Value) {
    FBrushColorTo = Value;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
    FVAlignment = static_cast<uint8_t>(Value);
    Repaint();
}

void TCellProperties::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Repaint();
}

// ---------------------------------------------------------------------------------------------
// Construction

TBaseGrid::TBaseGrid(TComponent* AOwner) : TObjStringGrid(AOwner) {
    // The grid draws its own lines and cells: the platform grid draws neither, so a cell's place
    // is the plain sum of the sizes before it.
    TObjStringGrid::SetGridLineWidth(0);
    TObjStringGrid::SetDefaultDrawing(false);
    FExtentCols = ColCount();
    FExtentRows = RowCount();
}

TBaseGrid::~TBaseGrid() {
    Destroying();
    FreeAllCellProperties();
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TObjStringGrid::SizeChanged(OldColCount, OldRowCount);
    NoteExtent(ColCount() - 1, RowCount() - 1);
}

void TBaseGrid::NoteExtent(int c, int r) {
    FExtentCols = std::max(FExtentCols, c + 1);
    FExtentRows = std::max(FExtentRows, r + 1);
}

// ---------------------------------------------------------------------------------------------
// Cell properties

TCellProperties* TBaseGrid::PropsAt(int c, int r) const {
    TObject* o = Objects(c, r);
    return o ? dynamic_cast<TCellProperties*>(o) : nullptr;
}

bool TBaseGrid::HasCellProperties(int c, int r) const {
    if (c < 0 || r < 0 || c >= TotalColCount() || r >= RowCount()) return false;
    return PropsAt(c, r) != nullptr;
}

TCellProperties* TBaseGrid::GetCellProperties(int c, int r) {
    if (TCellProperties* p = PropsAt(c, r)) return p;
    return CreateCellProperties(c, r, true);
}

TCellProperties* TBaseGrid::CreateCellProperties(int c, int r, bool SetCalc) {
    auto props = std::make_unique<TCellProperties>(this, r, c);
    // One scratch pair per nesting level: a descendant's defaults may create properties too.
    std::unique_ptr<TFont> ownFont;
    std::unique_ptr<TBrush> ownBrush;
    TFont* font;
    TBrush* brush;
    if (FDefaultsDepth == 0) {
        if (!FScratchFont) {
            FScratchFont = std::make_unique<TFont>();
            FScratchBrush = std::make_unique<TBrush>();
            FFreshFont = std::make_unique<TFont>();
        }
        // As made anew for every cell: a descendant's defaults may leave parts unset.
        FScratchFont->Assign(FFreshFont.get());
        FScratchBrush->SetColor(clWhite);
        FScratchBrush->SetStyle(bsSolid);
        font = FScratchFont.get();
        brush = FScratchBrush.get();
    } else {
        ownFont = std::make_unique<TFont>();
        ownBrush = std::make_unique<TBrush>();
        font = ownFont.get();
        brush = ownBrush.get();
    }
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    ++FDefaultsDepth;
    try {
        GetDefaultCellProps(c, r, font, brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    } catch (...) {
        --FDefaultsDepth;
        throw;
    }
    --FDefaultsDepth;
    // A handler that gave the cell properties meanwhile keeps them.
    if (TCellProperties* made = PropsAt(c, r)) return made;
    TCellProperties* p = props.release();
    SetObjects(c, r, p);
    NoteExtent(c, r);
    if (SetCalc) p->FCalcType = acNONE;
    p->FAlignment = static_cast<uint8_t>(ha);
    p->SetVAlignment(va);
    p->SetWordWrap(ww);
    p->FFontName = TCellProperties::PooledName(font->Name());
    p->FFontSize = font->Size();
    p->FFontStyle = font->Style();
    p->FFontColor = font->Color();
    p->SetBrushColor(brush->Color());
    p->FBrushColorTo = colorTo;
    p->FGradientDirection = gd;
    return p;
}

void TBaseGrid::SetCellProperties(int c, int r, TCellProperties* Value) {
    TCellProperties* old = PropsAt(c, r);
    if (old == Value) return;
    SetObjects(c, r, Value);
    delete old;
    if (Value) NoteExtent(c, r);
}

TObject* TBaseGrid::GetObjectEx(int c, int r) const {
    TCellProperties* p = HasCellProperties(c, r) ? PropsAt(c, r) : nullptr;
    return p ? p->FObject : nullptr;
}

TObject* TBaseGrid::GetGraphicObjectEx(int c, int r) const {
    TCellProperties* p = HasCellProperties(c, r) ? PropsAt(c, r) : nullptr;
    return p ? p->FGraphicObject : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, TObject* Value) {
    // An empty cell holds a blank while its properties are made and is emptied again after.
    bool empty = GetCellEx(c, r).IsEmpty();
    if (empty) SetCellEx(c, r, u" ");
    GetCellProperties(c, r)->FObject = Value;
    if (empty) SetCellEx(c, r, String());
}

TObject* TBaseGrid::SetGraphicObjectEx(int c, int r, TObject* Value) {
    if (ComponentState().Contains(csDestroying)) return nullptr;
    bool empty = GetCellEx(c, r).IsEmpty();
    if (empty) SetCellEx(c, r, u" ");
    TCellProperties* p = PropsAt(c, r);
    if (!p) p = CreateCellProperties(c, r, false);
    TObject* previous = p->FGraphicObject;
    p->FGraphicObject = Value;
    if (empty) SetCellEx(c, r, String());
    return previous == Value ? nullptr : previous;
}

// ---------------------------------------------------------------------------------------------
// Text

String TBaseGrid::GetCellEx(int c, int r) {
    if (HasCellProperties(c, r)) {
        TPoint base = PropsAt(c, r)->GetBaseCell(c, r);
        c = base.X;
        r = base.Y;
    }
    String text = Cells(c, r);
    if (r < FNormalRowCount) {
        GetDisplText(c, r, text);
        if (OnGetDisplWideText) {
            String wide = DecodeUnicodeText(text);
            GetDisplWideText(c, r, wide);
            text = EncodeUnicodeText(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellEx(int c, int r, const String& Value) {
    if (HasCellProperties(c, r)) {
        TPoint base = PropsAt(c, r)->GetBaseCell(c, r);
        SetCells(base.X, base.Y, Value);
        CellTextChanged(base.X, base.Y);
        if (Parent()) RepaintCell(c, r);
    } else {
        SetCells(c, r, Value);
    }
    if (FHideLastRow && RowCount() == r + 1) LastRowChanged();
}

// ---------------------------------------------------------------------------------------------
// Clean-up

void TBaseGrid::FreeCellProperties(int fromCol, int fromRow, int toCol, int toRow) {
    if (!FHasCellProps || toCol < fromCol) return;
    // Row by row: the store keeps a row's cells together.
    for (int r = fromRow; r <= toRow; ++r)
        for (int c = fromCol; c <= toCol; ++c)
            if (PropsAt(c, r)) FreeCellPropertiesAt(c, r);
}

void TBaseGrid::FreeCellPropertiesAt(int c, int r) {
    TCellProperties* p = PropsAt(c, r);
    if (!p) return;
    SetObjects(c, r, nullptr);
    delete p;
}

void TBaseGrid::FreeAllCellProperties() {
    // Beyond the counts too: a shrink keeps the cells it hides, hidden columns live there, and
    // moves stay within the counts ever reached.
    FreeCellProperties(0, 0, FExtentCols - 1, FExtentRows - 1);
}

void TBaseGrid::ResetColCells(int column) {
    for (int r = 0; r < RowCount(); ++r) {
        SetObjects(column, r, nullptr);
        SetCellEx(column, r, String());
    }
}

void TBaseGrid::ResetRowCells(int row) {
    for (int c = 0; c < ColCount(); ++c) {
        SetObjects(c, row, nullptr);
        SetCellEx(c, row, String());
    }
}

void TBaseGrid::ResetCell(int c, int r) {
    SetCellEx(c, r, String());
    SetObjects(c, r, nullptr);
}

void TBaseGrid::DeleteColumn(int ACol) {
    if (ACol >= 0 && ACol < ColCount()) FreeCellProperties(ACol, 0, ACol, RowCount() - 1);
    TObjStringGrid::DeleteColumn(ACol);
}

void TBaseGrid::DeleteRow(int ARow) {
    if (ARow >= 0 && ARow < RowCount()) FreeCellProperties(0, ARow, TotalColCount() - 1, ARow);
    TObjStringGrid::DeleteRow(ARow);
}

// ---------------------------------------------------------------------------------------------
// Hooks of the base

bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::GetRowIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }
void TBaseGrid::LastRowChanged() {}
void TBaseGrid::CellTextChanged(int, int) {}
bool TBaseGrid::HasCellBorders() { return false; }
int TBaseGrid::DisplColIndex(int ACol) { return ACol; }
int TBaseGrid::TotalColCount() const { return ColCount(); }

void TBaseGrid::GetDisplText(int ACol, int ARow, String& Value) {
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, String& Value) {
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDefaultCellProps(int, int, TFont* AFont, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                    TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                                    TCellGradientDirection& GD) {
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&, TColor&,
                                    TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&) {}
