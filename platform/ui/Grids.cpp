// The grid's model of the screen: counts and sizes, the layout of the cells shown, the current
// cell and the selection, scrolling and the scroll bars, and the events of TCustomDrawGrid.
#include "platform/ui/Grids.h"

#include <algorithm>
#include <climits>

#include "platform/win/Window.h"

namespace {

constexpr int kScrollMax = 127;

[[noreturn]] void InvalidOp(const char* message) { throw EInvalidGridOperation(String(message)); }
[[noreturn]] void IndexOutOfRange() { InvalidOp("Grid index out of range"); }

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

TGridRect GridRect(TGridCoord a, TGridCoord b) {
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

bool PointInGridRect(int Col, int Row, const TGridRect& Rect) {
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

// ---------------------------------------------------------------------------------------------
// Construction

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csCaptureMouse << csOpaque << csDoubleClicks;
    FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
    Initialize();
}

TCustomGrid::~TCustomGrid() {
    // The editor is freed by the owner later; it must not call back into a grid that is gone.
    if (FInplaceEdit) FInplaceEdit->FGrid = nullptr;
}

void TCustomGrid::BeforeDestruction() {
    StopGestureTimer();
    if (FInplaceEdit) FInplaceEdit->FGrid = nullptr;
    TCustomControl::BeforeDestruction();
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_TABSTOP;
    if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

// The first scrolling cell becomes current and the view goes back to it.
void TCustomGrid::Initialize() {
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

// ---------------------------------------------------------------------------------------------
// Counts and sizes

void TCustomGrid::SetColCount(int Value) {
    Value = std::max(1, Value);
    if (Value == FColCount) return;
    if (Value <= FFixedCols) SetFixedCols(Value - 1);
    ChangeSize(Value, FRowCount);
    if (FOptions.Contains(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        InvalidateGrid();
    }
}

void TCustomGrid::SetRowCount(int Value) {
    Value = std::max(1, Value);
    if (Value == FRowCount) return;
    if (Value <= FFixedRows) SetFixedRows(Value - 1);
    ChangeSize(FColCount, Value);
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
    int oldCols = FColCount, oldRows = FRowCount;
    std::vector<int> oldWidths = FColWidths, oldHeights = FRowHeights;
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (!FColWidths.empty()) FColWidths.resize(static_cast<size_t>(FColCount), FDefaultColWidth);
    if (!FRowHeights.empty()) FRowHeights.resize(static_cast<size_t>(FRowCount), FDefaultRowHeight);
    SizesChanged();
    try {
        SizeChanged(oldCols, oldRows);
    } catch (...) {
        FColCount = oldCols;
        FRowCount = oldRows;
        FColWidths = std::move(oldWidths);
        FRowHeights = std::move(oldHeights);
        SizesChanged();
        throw;
    }
    // What stood beyond the new counts comes back inside them; nobody is asked, as no cell was
    // chosen.
    FCurrent = {std::min(FCurrent.X, FColCount - 1), std::min(FCurrent.Y, FRowCount - 1)};
    FAnchor = {std::min(FAnchor.X, FColCount - 1), std::min(FAnchor.Y, FRowCount - 1)};
    TGridCoord top = {std::min(FTopLeft.X, FColCount - 1), std::min(FTopLeft.Y, FRowCount - 1)};
    if (top != FTopLeft) {
        TGridCoord old = FTopLeft;
        FTopLeft = top;
        TopLeftMoved(old);
    }
    UpdateScrollRange();
    InvalidateGrid();
    if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::SetFixedCols(int Value) { SetFixed(true, Value); }
void TCustomGrid::SetFixedRows(int Value) { SetFixed(false, Value); }

void TCustomGrid::SetFixed(bool horz, int Value) {
    int& fixed = horz ? FFixedCols : FFixedRows;
    if (Value == fixed) return;
    if (Value < 0) IndexOutOfRange();
    if (Value >= (horz ? FColCount : FRowCount))
        InvalidOp(horz ? "Fixed column count must be less than column count" : "Fixed row count must be less than row count");
    fixed = Value;
    TGridCoord old = FTopLeft;
    Initialize();
    if (old != FTopLeft) TopLeftMoved(old);
    UpdateScrollRange();
    InvalidateGrid();
    if (FEditorMode) UpdateEdit();
}

// Always resets every column, also to the width it already had: a descendant writes the same
// default again to drop the widths it set.
void TCustomGrid::SetDefaultColWidth(int Value) {
    FColWidths.clear();
    FDefaultColWidth = Value;
    SizesChanged();
    ColWidthsChanged();
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    FRowHeights.clear();
    FDefaultRowHeight = Value;
    SizesChanged();
    RowHeightsChanged();
    InvalidateGrid();
}

int TCustomGrid::ColWidths(int Index) const { return SizeOf(true, Index); }
int TCustomGrid::RowHeights(int Index) const { return SizeOf(false, Index); }
void TCustomGrid::SetColWidths(int Index, int Value) { SetSize(true, Index, Value); }
void TCustomGrid::SetRowHeights(int Index, int Value) { SetSize(false, Index, Value); }

int TCustomGrid::SizeOf(bool horz, int Index) const {
    if (Index < 0 || Index >= (horz ? FColCount : FRowCount)) IndexOutOfRange();
    return CellSize(horz, Index);
}

// A negative size hides the column (row): it takes no room and has no line.
void TCustomGrid::SetSize(bool horz, int Index, int Value) {
    int count = horz ? FColCount : FRowCount;
    if (Index < 0 || Index >= count) IndexOutOfRange();
    Value = std::max(-1, Value);
    std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
    if (sizes.empty()) sizes.assign(static_cast<size_t>(count), horz ? FDefaultColWidth : FDefaultRowHeight);
    int old = sizes[static_cast<size_t>(Index)];
    if (old == Value) return;
    sizes[static_cast<size_t>(Index)] = Value;
    SizeIndex& index = FSizeIndex[horz ? 0 : 1];
    bool kept = index.Valid;
    SizesChanged();
    if (kept) {
        // One size changed: the sums above it move by the difference.
        int64_t delta = std::max(0, Value) - std::max(0, old);
        for (size_t i = static_cast<size_t>(Index) + 1; i < index.Tree.size(); i += i & (~i + 1)) index.Tree[i] += delta;
        index.Valid = true;
    }
    if (horz)
        ColWidthsChanged();
    else
        RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGrid::SizesChanged() {
    ++FSizesVersion;
    FSizeIndex[0].Valid = false;
    FSizeIndex[1].Valid = false;
}

int64_t TCustomGrid::WidthBefore(int ACol) const { return SizeSum(true, ACol); }
int64_t TCustomGrid::HeightAbove(int ARow) const { return SizeSum(false, ARow); }

int64_t TCustomGrid::SizeSum(bool horz, int count) const {
    int total = horz ? FColCount : FRowCount;
    if (count < 0 || count > total) IndexOutOfRange();
    const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
    if (sizes.empty()) return static_cast<int64_t>(std::max(0, horz ? FDefaultColWidth : FDefaultRowHeight)) * count;
    SizeIndex& index = FSizeIndex[horz ? 0 : 1];
    if (!index.Valid) {
        // Built in one pass: each node takes its own size and hands its sum to its parent.
        index.Tree.assign(sizes.size() + 1, 0);
        for (size_t i = 1; i < index.Tree.size(); ++i) {
            index.Tree[i] += std::max(0, sizes[i - 1]);
            size_t parent = i + (i & (~i + 1));
            if (parent < index.Tree.size()) index.Tree[parent] += index.Tree[i];
        }
        index.Valid = true;
    }
    int64_t sum = 0;
    for (size_t i = static_cast<size_t>(count); i > 0; i -= i & (~i + 1)) sum += index.Tree[i];
    return sum;
}

void TCustomGrid::ChangeScale(int M, int D) {
    TCustomControl::ChangeScale(M, D);
    if (M == D) return;
    FDefaultColWidth = MulDiv(FDefaultColWidth, M, D);
    FDefaultRowHeight = MulDiv(FDefaultRowHeight, M, D);
    for (std::vector<int>* sizes : {&FColWidths, &FRowHeights})
        for (int& size : *sizes)
            if (size > 0) size = MulDiv(size, M, D);
    SizesChanged();
    ColWidthsChanged();
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGrid::ColWidthsChanged() { GeometryChanged(); }
void TCustomGrid::RowHeightsChanged() { GeometryChanged(); }

// The cells moved on screen: the scroll bars and the editor follow.
void TCustomGrid::GeometryChanged() {
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::max(0, Value);
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    SizesChanged();
    GeometryChanged();
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    if (Value == FDefaultDrawing) return;
    FDefaultDrawing = Value;
    InvalidateGrid();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (Value.Contains(goRowSelect)) Value >> goAlwaysShowEditor;
    if (Value == FOptions) return;
    FOptions = Value;
    if (!FEditorMode) {
        if (Value.Contains(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    } else if (!Value.Contains(goEditing) || Value.Contains(goRowSelect)) {
        // Editing was switched off under the open editor: its text goes back into the cell.
        HideEditor();
    }
    if (Value.Contains(goRowSelect)) MoveCurrent(FCurrent.X, FCurrent.Y, true, false);
    SizesChanged();  // the lines may have come or gone
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    if (HandleAllocated()) RecreateWnd();
}

// ---------------------------------------------------------------------------------------------
// Layout

int TCustomGrid::CellSize(bool horz, int index) const {
    const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
    if (sizes.empty() || index >= static_cast<int>(sizes.size())) return horz ? FDefaultColWidth : FDefaultRowHeight;
    return sizes[static_cast<size_t>(index)];
}

int TCustomGrid::Extent(bool horz, int index) const {
    int size = CellSize(horz, index);
    if (size < 0) return 0;
    bool lines = horz ? (FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine))
                      : (FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine));
    return size + (lines ? FGridLineWidth : 0);
}

int TCustomGrid::Axis::StartOf(int cell) const {
    if (cell < FixedCount) return cell < FixedShown ? Starts[static_cast<size_t>(cell)] : -1;
    if (cell < FirstCell || cell > LastVisibleCell) return -1;
    return Starts[static_cast<size_t>(FixedShown + cell - FirstCell)];
}

void TCustomGrid::BuildAxis(Axis& a, bool horz, int extent, int first) const {
    bool lines = horz ? (FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine))
                      : (FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine));
    a.Horz = horz;
    a.LineWidth = lines ? FGridLineWidth : 0;
    a.FixedCount = horz ? FFixedCols : FFixedRows;
    a.CellCount = horz ? FColCount : FRowCount;
    a.FirstCell = first;
    a.GridExtent = extent;
    a.Starts.clear();
    // Positions are summed in 64 bits and the walk stops at the edge, so no size overflows.
    int64_t pos = 0;
    int i = 0;
    for (; i < a.FixedCount && pos < extent; ++i) {
        a.Starts.push_back(static_cast<int>(pos));
        pos += Extent(horz, i);
    }
    a.FixedShown = i;
    if (i < a.FixedCount) pos = std::max<int64_t>(pos, static_cast<int64_t>(extent) + 1);
    a.FixedBoundary = static_cast<int>(std::min<int64_t>(pos, INT_MAX / 2));
    a.LastFullVisibleCell = first - 1;
    a.LastVisibleCell = first - 1;
    for (int c = first; c < a.CellCount && pos < extent; ++c) {
        a.Starts.push_back(static_cast<int>(pos));
        pos += Extent(horz, c);
        a.LastVisibleCell = c;
        if (pos <= extent) a.LastFullVisibleCell = c;
    }
    a.GridBoundary = static_cast<int>(std::min<int64_t>(pos, INT_MAX / 2));
}

const TCustomGrid::Layout& TCustomGrid::CurrentLayout() const {
    TRect client = ClientRect();
    LayoutKey key;
    key.ClientW = client.Width();
    key.ClientH = client.Height();
    key.LeftCol = FTopLeft.X;
    key.TopRow = FTopLeft.Y;
    key.Cols = FColCount;
    key.Rows = FRowCount;
    key.FixedCols = FFixedCols;
    key.FixedRows = FFixedRows;
    key.Sizes = FSizesVersion;
    if (FLayoutValid && key == FLayoutKey) return FLayout;
    BuildAxis(FLayout.Horz, true, key.ClientW, FTopLeft.X);
    BuildAxis(FLayout.Vert, false, key.ClientH, FTopLeft.Y);
    FLayoutKey = key;
    FLayoutValid = true;
    return FLayout;
}

int TCustomGrid::FirstShowingLast(bool horz, int index) const {
    const Layout& l = CurrentLayout();
    const Axis& a = horz ? l.Horz : l.Vert;
    if (index < a.FixedCount) return a.FixedCount;
    int64_t avail = static_cast<int64_t>(a.GridExtent) - a.FixedBoundary - (horz ? 0 : FReservedBottom);
    int first = index;
    int64_t used = Extent(horz, index);
    while (first - 1 >= a.FixedCount) {
        int64_t e = Extent(horz, first - 1);
        if (used + e > avail) break;
        used += e;
        --first;
    }
    return first;
}

int TCustomGrid::MaxFirst(bool horz) const { return FirstShowingLast(horz, (horz ? FColCount : FRowCount) - 1); }

int TCustomGrid::VisibleColCount() const {
    const Axis& a = CurrentLayout().Horz;
    return std::max(0, a.LastFullVisibleCell - a.FirstCell + 1);
}

int TCustomGrid::VisibleRowCount() const {
    const Axis& a = CurrentLayout().Vert;
    return std::max(0, a.LastFullVisibleCell - a.FirstCell + 1);
}

// The part of cells lo..hi shown along one axis; false when none of it is.
bool TCustomGrid::AxisSpan(const Axis& a, int lo, int hi, bool line, int& from, int& to) const {
    if (lo > hi || lo < 0) return false;
    int s = lo;
    if (s >= a.FixedCount && s < a.FirstCell) {
        if (hi < a.FirstCell) return false;
        s = a.FirstCell;
    }
    if (a.StartOf(s) < 0) return false;
    // The last cell of the span that is shown: fixed cells first, then the scrolling ones.
    int e = hi;
    if (e >= a.FixedCount) {
        if (e > a.LastVisibleCell) e = a.LastVisibleCell;
        if (e < a.FirstCell) e = std::min(hi, a.FixedShown - 1);
    } else if (e >= a.FixedShown) {
        e = a.FixedShown - 1;
    }
    if (e < s) return false;
    from = a.StartOf(s);
    int64_t end = static_cast<int64_t>(a.StartOf(e)) + Extent(a.Horz, e);
    if (!line) end -= Extent(a.Horz, e) - std::max(0, CellSize(a.Horz, e));
    to = static_cast<int>(std::min<int64_t>(end, a.GridExtent));
    return to > from;
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const {
    const Layout& l = CurrentLayout();
    TRect r;
    if (!AxisSpan(l.Horz, ALeft, ARight, false, r.Left, r.Right) || !AxisSpan(l.Vert, ATop, ABottom, false, r.Top, r.Bottom))
        return TRect();
    return r;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const { return BoxRect(ACol, ARow, ACol, ARow); }

int TCustomGrid::CellAt(const Axis& a, int pos) const {
    if (pos < 0 || pos >= a.GridExtent) return -1;
    if (pos < a.FixedBoundary) {
        for (int i = 0; i < a.FixedShown; ++i)
            if (pos < a.Starts[static_cast<size_t>(i)] + Extent(a.Horz, i)) return Extent(a.Horz, i) > 0 ? i : -1;
        return -1;
    }
    if (pos >= a.GridBoundary) return -1;
    // The scrolling starts are ascending: the last one at or before pos.
    auto begin = a.Starts.begin() + a.FixedShown;
    auto it = std::upper_bound(begin, a.Starts.end(), pos);
    if (it == begin) return -1;
    int cell = a.FirstCell + static_cast<int>(it - begin) - 1;
    // Hidden cells share their start with the next one; the shown cell is the last of them.
    return cell;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    const Layout& l = CurrentLayout();
    TGridCoord c{CellAt(l.Horz, X), CellAt(l.Vert, Y)};
    if (c.X < 0 || c.Y < 0) return {-1, -1};
    return c;
}

// ---------------------------------------------------------------------------------------------
// Invalidation

void TCustomGrid::InvalidateGridRect(const TGridRect& ARect) {
    if (!HandleAllocated()) return;
    TGridRect g = GridRect(ARect.TopLeft(), ARect.BottomRight());
    const Layout& l = CurrentLayout();
    TRect r;
    if (!AxisSpan(l.Horz, g.Left, g.Right, true, r.Left, r.Right) || !AxisSpan(l.Vert, g.Top, g.Bottom, true, r.Top, r.Bottom))
        return;
    ::InvalidateRect(Handle(), &r, FALSE_);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }
void TCustomGrid::InvalidateRow(int ARow) { InvalidateGridRect({0, ARow, FColCount - 1, ARow}); }
void TCustomGrid::InvalidateCol(int ACol) { InvalidateGridRect({ACol, 0, ACol, FRowCount - 1}); }
void TCustomGrid::InvalidateGrid() { Invalidate(); }

void TCustomGrid::InvalidateSelection() {
    InvalidateGridRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

// ---------------------------------------------------------------------------------------------
// The current cell and the selection

TGridRect TCustomGrid::Selection() const { return {FCurrent.X, FCurrent.Y, FAnchor.X, FAnchor.Y}; }

void TCustomGrid::SetSelection(const TGridRect& Value) {
    auto inside = [this](int c, int r) { return c >= 0 && r >= 0 && c < FColCount && r < FRowCount; };
    if (!inside(Value.Left, Value.Top) || !inside(Value.Right, Value.Bottom)) IndexOutOfRange();
    TGridRect old = Selection();
    FCurrent = Value.TopLeft();
    FAnchor = Value.BottomRight();
    if (FOptions.Contains(goRowSelect)) {
        FCurrent.X = FFixedCols;
        FAnchor.X = FColCount - 1;
    }
    SelectionMoved(old);
    if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetCol(int Value) {
    if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value) {
    if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) { MoveCurrent(ACol, ARow, MoveAnchor, Show); }

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    bool moved = MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    // The platform's grid clicks whenever a cell is focused, by program or key; a refused move
    // is no click.
    if (moved) Click();
}

bool TCustomGrid::SelectCell(int, int) { return true; }

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) IndexOutOfRange();
    if (!SelectCell(ACol, ARow)) return false;
    TGridRect oldSel = Selection();
    TGridCoord oldCurrent = FCurrent;
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
    if (Show) ClampInView(FCurrent);
    SelectionMoved(oldSel);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(FCurrent.X, FCurrent.Y);
    if (FEditorMode) UpdateEdit();
    return true;
}

// The moving end of a range selection; without range selection the current cell moves.
void TCustomGrid::MoveAnchor(TGridCoord NewAnchor) {
    if (FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing)) {
        TGridRect old = Selection();
        FAnchor = NewAnchor;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
        ClampInView(NewAnchor);
        SelectionMoved(old);
    } else {
        MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
    }
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
    InvalidateGridRect(OldSel);
    InvalidateGridRect(Selection());
}

// ---------------------------------------------------------------------------------------------
// Scrolling

void TCustomGrid::SetLeftCol(int Value) {
    Value = Clamp(Value, FFixedCols, std::max(FFixedCols, MaxFirst(true)));
    MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value) {
    Value = Clamp(Value, FFixedRows, std::max(FFixedRows, MaxFirst(false)));
    MoveTopLeft(FTopLeft.X, Value);
}

void TCustomGrid::ClampInView(TGridCoord Coord) {
    const Layout& l = CurrentLayout();
    TGridCoord top = FTopLeft;
    if (Coord.X >= FFixedCols && Coord.X < FColCount) {
        if (Coord.X < FTopLeft.X)
            top.X = Coord.X;
        else if (Coord.X > l.Horz.LastFullVisibleCell)
            top.X = FirstShowingLast(true, Coord.X);
    }
    if (Coord.Y >= FFixedRows && Coord.Y < FRowCount) {
        if (Coord.Y < FTopLeft.Y)
            top.Y = Coord.Y;
        else if (Coord.Y > l.Vert.LastFullVisibleCell || (FReservedBottom > 0 && FirstShowingLast(false, Coord.Y) > FTopLeft.Y))
            top.Y = FirstShowingLast(false, Coord.Y);
    }
    MoveTopLeft(top.X, top.Y);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    // What is pending is painted at the old place, so the image moves whole.
    Update();
    TGridCoord old = FTopLeft;
    FTopLeft = {ALeft, ATop};
    TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(TGridCoord OldTopLeft) {
    UpdateScrollPos();
    ScrollImage(OldTopLeft);
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}

// Moves the picture of the scrolling cells by what they moved, so only the cells that came into
// view are painted; a jump of a page or more repaints the scrolling part.
void TCustomGrid::ScrollImage(TGridCoord OldTopLeft) {
    if (!HandleAllocated()) return;
    const Layout& l = CurrentLayout();
    TRect client = ClientRect();
    auto shift = [this](bool horz, int from, int to, int limit) -> int64_t {
        int64_t sum = 0;
        int lo = std::min(from, to), hi = std::max(from, to);
        for (int i = lo; i < hi; ++i) {
            sum += Extent(horz, i);
            if (sum >= limit) return limit;
        }
        return to > from ? -sum : sum;
    };
    if (OldTopLeft.X != FTopLeft.X) {
        TRect area(l.Horz.FixedBoundary, 0, client.Right, client.Bottom);
        if (!area.IsEmpty()) {
            int64_t dx = shift(true, OldTopLeft.X, FTopLeft.X, area.Width());
            if (dx == area.Width() || -dx >= area.Width())
                ::InvalidateRect(Handle(), &area, FALSE_);
            else
                ScrollWindowEx(Handle(), static_cast<int>(dx), 0, &area, &area, nullptr, nullptr, SW_INVALIDATE);
        }
    }
    if (OldTopLeft.Y != FTopLeft.Y) {
        TRect area(0, l.Vert.FixedBoundary, client.Right, client.Bottom);
        if (!area.IsEmpty()) {
            int64_t dy = shift(false, OldTopLeft.Y, FTopLeft.Y, area.Height());
            if (dy == area.Height() || -dy >= area.Height())
                ::InvalidateRect(Handle(), &area, FALSE_);
            else
                ScrollWindowEx(Handle(), 0, static_cast<int>(dy), &area, &area, nullptr, nullptr, SW_INVALIDATE);
        }
    }
}

bool TCustomGrid::ScrollBarWanted(bool horz) const {
    bool allowed = FScrollBars == ssBoth || FScrollBars == (horz ? ssHorizontal : ssVertical);
    return allowed && MaxFirst(horz) > (horz ? FFixedCols : FFixedRows);
}

bool TCustomGrid::ScrollBarShown(bool horz) {
    return (static_cast<DWORD>(GetWindowLong(Handle(), GWL_STYLE)) & (horz ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void TCustomGrid::UpdateScrollRange() {
    if (!HandleAllocated() || FScrollRangeBusy) return;
    bool framed = false;
    {
        FScrollRangeBusy = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{FScrollRangeBusy};
        // A bar that comes or goes changes the client area and so what the other bar is needed for.
        for (int pass = 0; pass < 3; ++pass) {
            bool changed = false;
            for (bool horz : {true, false}) {
                int bar = horz ? SB_HORZ : SB_VERT;
                bool want = ScrollBarWanted(horz);
                bool shown = ScrollBarShown(horz);
                if (want)
                    SetScrollRange(Handle(), bar, 0, kScrollMax, TRUE_);
                else if (shown)
                    SetScrollRange(Handle(), bar, 0, 0, TRUE_);
                changed = changed || want != shown;
            }
            framed = framed || changed;
            if (!changed) break;
        }
        // No empty space after the last cell once the view can show more of the grid.
        TGridCoord top = {std::min(FTopLeft.X, std::max(FFixedCols, MaxFirst(true))),
                          std::min(FTopLeft.Y, std::max(FFixedRows, MaxFirst(false)))};
        if (top != FTopLeft) MoveTopLeft(top.X, top.Y);
        UpdateScrollPos();
    }
    // The client area changed with the bars: the window hears of it as of any resize.
    if (framed) {
        TRect client = ClientRect();
        Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
    }
}

void TCustomGrid::SetReservedBottom(int Value) {
    Value = std::max(0, Value);
    if (Value == FReservedBottom) return;
    FReservedBottom = Value;
    UpdateScrollRange();
}

void TCustomGrid::UpdateScrollPos() {
    if (!HandleAllocated()) return;
    for (bool horz : {true, false}) {
        if (!ScrollBarShown(horz)) continue;
        int fixed = horz ? FFixedCols : FFixedRows;
        int range = MaxFirst(horz) - fixed;
        int first = (horz ? FTopLeft.X : FTopLeft.Y) - fixed;
        int pos = range > 0 ? Clamp(MulDiv(first, kScrollMax, range), 0, kScrollMax) : 0;
        SetScrollPos(Handle(), horz ? SB_HORZ : SB_VERT, pos, TRUE_);
    }
}

void TCustomGrid::ModifyScrollBar(bool horz, int code, int pos) {
    int fixed = horz ? FFixedCols : FFixedRows;
    int count = horz ? FColCount : FRowCount;
    int visible = horz ? VisibleColCount() : VisibleRowCount();
    int first = horz ? FTopLeft.X : FTopLeft.Y;
    int target = first;
    switch (code) {
        case SB_LINEUP: target = first - 1; break;
        case SB_LINEDOWN: target = first + 1; break;
        case SB_PAGEUP: target = first - std::max(1, visible); break;
        case SB_PAGEDOWN: target = first + std::max(1, visible); break;
        case SB_THUMBTRACK:
            if (!FOptions.Contains(goThumbTracking)) return;
            [[fallthrough]];
        case SB_THUMBPOSITION: target = MulDiv(pos, count - visible - fixed, kScrollMax) + fixed; break;
        case SB_TOP: target = fixed; break;
        case SB_BOTTOM: target = MaxFirst(horz); break;
        default: return;
    }
    target = Clamp(target, fixed, std::max(fixed, MaxFirst(horz)));
    if (horz)
        MoveTopLeft(target, FTopLeft.Y);
    else
        MoveTopLeft(FTopLeft.X, target);
    UpdateScrollPos();  // a thumb let go where nothing moves goes back to where the view is
}

// Only the window's own bars scroll the grid; a scroll bar control's messages (its handle in
// LParam) go back to that control.
void TCustomGrid::WMHScroll(TMessage& Message) {
    if (Message.LParam) TCustomControl::WMHScroll(Message);
    else ModifyScrollBar(true, static_cast<int>(Message.WParamLo()), static_cast<int>(Message.WParamHi()));
}

void TCustomGrid::WMVScroll(TMessage& Message) {
    if (Message.LParam) TCustomControl::WMVScroll(Message);
    else ModifyScrollBar(false, static_cast<int>(Message.WParamLo()), static_cast<int>(Message.WParamHi()));
}

void TCustomGrid::WMSize(TMessage& Message) {
    TCustomControl::WMSize(Message);
    GeometryChanged();
}

// ---------------------------------------------------------------------------------------------
// Moving and deleting columns and rows

// Keeps a position on the item it stood on when the item at From moves to To.
void TCustomGrid::MoveAdjust(int& pos, int from, int to) {
    if (pos == from)
        pos = to;
    else if (from < to && pos > from && pos <= to)
        --pos;
    else if (from > to && pos >= to && pos < from)
        ++pos;
}

void TCustomGrid::MoveExtent(std::vector<int>& sizes, int from, int to) {
    if (sizes.empty()) return;
    auto f = sizes.begin() + from, t = sizes.begin() + to;
    if (from < to)
        std::rotate(f, f + 1, t + 1);
    else
        std::rotate(t, f, f + 1);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) { MoveItem(true, FromIndex, ToIndex); }
void TCustomGrid::MoveRow(int FromIndex, int ToIndex) { MoveItem(false, FromIndex, ToIndex); }

void TCustomGrid::MoveItem(bool horz, int FromIndex, int ToIndex) {
    int count = horz ? FColCount : FRowCount;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count) IndexOutOfRange();
    if (FromIndex == ToIndex) return;
    std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
    bool sized = !sizes.empty();
    MoveExtent(sizes, FromIndex, ToIndex);
    SizesChanged();
    MoveAdjust(horz ? FCurrent.X : FCurrent.Y, FromIndex, ToIndex);
    MoveAdjust(horz ? FAnchor.X : FAnchor.Y, FromIndex, ToIndex);
    int& inplace = horz ? FInplaceCol : FInplaceRow;
    if (inplace >= 0) MoveAdjust(inplace, FromIndex, ToIndex);
    InvalidateGrid();
    if (horz) {
        ColumnMoved(FromIndex, ToIndex);
        if (sized) ColWidthsChanged();
    } else {
        RowMoved(FromIndex, ToIndex);
        if (sized) RowHeightsChanged();
    }
    if (FEditorMode) UpdateEdit();
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::DeleteColumn(int ACol) {
    if (ACol < 0 || ACol >= FColCount) IndexOutOfRange();
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int ARow) {
    if (ARow < 0 || ARow >= FRowCount) IndexOutOfRange();
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

void TCustomGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_HSCROLL: WMHScroll(Message); break;
        case WM_VSCROLL: WMVScroll(Message); break;
        case WM_TIMER: WMTimer(Message); break;
        default: TCustomControl::Dispatch(Message); break;
    }
}

// ---------------------------------------------------------------------------------------------
// TCustomDrawGrid

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex) {
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::TopLeftChanged() {
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

String TCustomDrawGrid::GetEditMask(int ACol, int ARow) {
    String mask;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

String TCustomDrawGrid::GetEditText(int ACol, int ARow) {
    String text;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const String& Value) {
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}
