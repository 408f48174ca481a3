// The string grid and its cell store.
//
// Rows are kept in pages of row slots addressed by the row index, so any row is reached at
// once and a grid of a million rows costs nothing for the rows nobody wrote. A row holds only
// its cells that have a text or an object, sorted by column; an empty cell has no entry. A row
// is also the row's string list (Rows), so handing it out costs nothing more.
#include <algorithm>
#include <array>

#include "platform/ui/Grids.h"

namespace {

constexpr int kPageBits = 12;
constexpr int64_t kPageSize = int64_t(1) << kPageBits;
// Rows reserve room for this many cells at their first write, not for every column of a very
// wide grid.
constexpr int kReserveCells = 32;

struct CellEntry {
    int Col;
    String Text;
    TObject* Object;
};

class StringGridRow final : public TStringGridStrings {
public:
    StringGridRow(TStringGrid* grid, int index) : TStringGridStrings(grid, true, index) {}
    void SetIndex(int index) { FIndex = index; }
    int Index() const { return FIndex; }

    std::vector<CellEntry>::iterator Seek(int col) {
        return std::lower_bound(Cells.begin(), Cells.end(), col, [](const CellEntry& e, int c) { return e.Col < c; });
    }
    const CellEntry* Find(int col) const {
        auto it = std::lower_bound(Cells.begin(), Cells.end(), col, [](const CellEntry& e, int c) { return e.Col < c; });
        return it != Cells.end() && it->Col == col ? &*it : nullptr;
    }
    // The cell at `from` goes to `to`; the ones between close up.
    void MoveCell(int from, int to) {
        int lo = std::min(from, to), hi = std::max(from, to);
        auto b = Seek(lo);
        auto e = std::upper_bound(b, Cells.end(), hi, [](int c, const CellEntry& x) { return c < x.Col; });
        if (b == e) return;
        bool moving = (from < to ? b->Col : (e - 1)->Col) == from;
        for (auto it = b; it != e; ++it) {
            if (it->Col == from)
                it->Col = to;
            else
                it->Col += from < to ? -1 : 1;
        }
        if (!moving) return;
        if (from < to)
            std::rotate(b, b + 1, e);
        else
            std::rotate(b, e - 1, e);
    }

    std::vector<CellEntry> Cells;  // by column
    bool HandedOut = false;        // someone holds the list: the row stays even when empty
};

class ColumnList final : public TStringGridStrings {
public:
    ColumnList(TStringGrid* grid, int index) : TStringGridStrings(grid, false, index) {}
};

}  // namespace

class TStringGrid::Store {
public:
    StringGridRow* Row(int r) const {
        auto* slot = const_cast<Store*>(this)->Slot(r, false);
        return slot ? slot->get() : nullptr;
    }

    StringGridRow* MakeRow(TStringGrid* grid, int r) {
        auto* slot = Slot(r, true);
        if (!*slot) *slot = std::make_unique<StringGridRow>(grid, r);
        return slot->get();
    }

    // A row that holds nothing and that no one holds goes.
    void DropIfEmpty(int r) {
        auto* slot = Slot(r, false);
        if (slot && *slot && (*slot)->Cells.empty() && !(*slot)->HandedOut) slot->reset();
    }

    void ClearRow(int r) {
        auto* slot = Slot(r, false);
        if (!slot || !*slot) return;
        (*slot)->Cells.clear();
        DropIfEmpty(r);
    }

    void ClearCol(int c) {
        ForEachRow([c](StringGridRow& row) {
            auto it = row.Seek(c);
            if (it != row.Cells.end() && it->Col == c) row.Cells.erase(it);
        });
    }

    // The row at `from` goes to `to`; the rows between close up. Only pages that exist are
    // walked, so rows far apart in a sparse grid cost nothing for the gap.
    void MoveRow(int from, int to) {
        if (from == to) return;
        std::unique_ptr<StringGridRow> carry = Take(from);
        if (from < to) {
            int64_t i = int64_t(from) + 1;
            while (i <= to) {
                int64_t page = i >> kPageBits;
                int64_t pageEnd = std::min<int64_t>(to, (page + 1) * kPageSize - 1);
                if (!PageExists(page)) {
                    Put(static_cast<int>(i) - 1, nullptr);
                } else {
                    for (int64_t j = i; j <= pageEnd; ++j) Put(static_cast<int>(j) - 1, Take(static_cast<int>(j)));
                }
                i = pageEnd + 1;
            }
        } else {
            int64_t i = int64_t(from) - 1;
            while (i >= to) {
                int64_t page = i >> kPageBits;
                int64_t pageStart = std::max<int64_t>(to, page * kPageSize);
                if (!PageExists(page)) {
                    Put(static_cast<int>(i) + 1, nullptr);
                } else {
                    for (int64_t j = i; j >= pageStart; --j) Put(static_cast<int>(j) + 1, Take(static_cast<int>(j)));
                }
                i = pageStart - 1;
            }
        }
        Put(to, std::move(carry));
    }

    void SwapRows(int a, int b) {
        if (a == b) return;
        std::unique_ptr<StringGridRow> ra = Take(a), rb = Take(b);
        Put(a, std::move(rb));
        Put(b, std::move(ra));
    }

    void MoveCol(int from, int to) {
        ForEachRow([from, to](StringGridRow& row) { row.MoveCell(from, to); });
    }

private:
    using Page = std::array<std::unique_ptr<StringGridRow>, kPageSize>;

    std::unique_ptr<StringGridRow>* Slot(int r, bool create) {
        size_t page = static_cast<size_t>(r) >> kPageBits;
        if (page >= FPages.size()) {
            if (!create) return nullptr;
            FPages.resize(page + 1);
        }
        if (!FPages[page]) {
            if (!create) return nullptr;
            FPages[page] = std::make_unique<Page>();
        }
        return &(*FPages[page])[static_cast<size_t>(r) & (kPageSize - 1)];
    }
    bool PageExists(int64_t page) const { return page < static_cast<int64_t>(FPages.size()) && FPages[static_cast<size_t>(page)]; }
    std::unique_ptr<StringGridRow> Take(int r) {
        auto* slot = Slot(r, false);
        return slot ? std::move(*slot) : nullptr;
    }
    void Put(int r, std::unique_ptr<StringGridRow> row) {
        if (!row) {
            if (auto* slot = Slot(r, false)) slot->reset();
            return;
        }
        row->SetIndex(r);
        *Slot(r, true) = std::move(row);
    }
    template <class F>
    void ForEachRow(F f) {
        for (auto& page : FPages)
            if (page)
                for (auto& row : *page)
                    if (row) f(*row);
    }

    std::vector<std::unique_ptr<Page>> FPages;
};

// ---------------------------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner), FStore(std::make_unique<Store>()) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckCell(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(String("Grid index out of range"));
}

String TStringGrid::Cells(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    const StringGridRow* row = FStore->Row(ARow);
    const CellEntry* e = row ? row->Find(ACol) : nullptr;
    return e ? e->Text : String();
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    const StringGridRow* row = FStore->Row(ARow);
    const CellEntry* e = row ? row->Find(ACol) : nullptr;
    return e ? e->Object : nullptr;
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) { PutCell(ACol, ARow, &Value, nullptr); }

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) { PutCell(ACol, ARow, nullptr, &Value); }

void TStringGrid::PutCell(int ACol, int ARow, const String* Text, TObject* const* Object) {
    CheckCell(ACol, ARow);
    bool filled = (Text && !Text->empty()) || (Object && *Object);
    StringGridRow* row = FStore->Row(ARow);
    if (!row) {
        if (!filled) return;
        row = FStore->MakeRow(this, ARow);
    }
    auto it = row->Seek(ACol);
    bool exists = it != row->Cells.end() && it->Col == ACol;
    const String& text = Text ? *Text : exists ? it->Text : String();
    TObject* object = Object ? *Object : exists ? it->Object : nullptr;
    if (exists && it->Text == text && it->Object == object) return;
    if (text.empty() && !object) {
        if (!exists) return;
        row->Cells.erase(it);
        FStore->DropIfEmpty(ARow);
    } else if (exists) {
        it->Text = text;
        it->Object = object;
    } else {
        if (row->Cells.empty() && ACol < ColCount()) row->Cells.reserve(static_cast<size_t>(std::min(ColCount(), kReserveCells)));
        row->Cells.insert(row->Seek(ACol), CellEntry{ACol, text, object});
    }
    InvalidateCell(ACol, ARow);
    EditedCellChanged(ACol, ARow);
}

TStrings* TStringGrid::Rows(int Index) {
    CheckCell(0, Index);
    StringGridRow* row = FStore->MakeRow(this, Index);
    row->HandedOut = true;
    return row;
}

TStrings* TStringGrid::Cols(int Index) {
    CheckCell(Index, 0);
    auto& list = FCols[Index];
    if (!list) list = std::make_unique<ColumnList>(this, Index);
    return list.get();
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    FStore->MoveCol(FromIndex, ToIndex);
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
    FStore->MoveRow(FromIndex, ToIndex);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::ExchangeRowCells(int ARow, int BRow) {
    CheckCell(0, ARow);
    CheckCell(0, BRow);
    if (ARow == BRow) return;
    FStore->SwapRows(ARow, BRow);
    for (int r : {ARow, BRow}) {
        if (RowOnScreen(r)) InvalidateRow(r);
        if (Row() == r) EditedCellChanged(Col(), r);
    }
}

// Bulk moves touch rows by the million: only those shown are worth a repaint request.
bool TStringGrid::RowOnScreen(int ARow) const {
    if (ARow < 0 || ARow >= RowCount()) return false;
    return ARow < FixedRows() || (ARow >= TopRow() && ARow <= TopRow() + VisibleRowCount() + 1);
}

void TStringGrid::ClearRowCells(int ARow) {
    CheckCell(0, ARow);
    const StringGridRow* row = FStore->Row(ARow);
    if (!row || row->Cells.empty()) return;
    FStore->ClearRow(ARow);
    if (RowOnScreen(ARow)) InvalidateRow(ARow);
    if (Row() == ARow) EditedCellChanged(Col(), ARow);
}

void TStringGrid::DeleteColumn(int ACol) {
    int last = ColCount() - 1;
    TDrawGrid::DeleteColumn(ACol);
    // The deleted column stands at the old last place now.
    FStore->ClearCol(last);
    InvalidateCol(last);
}

void TStringGrid::DeleteRow(int ARow) {
    int last = RowCount() - 1;
    TDrawGrid::DeleteRow(ARow);
    FStore->ClearRow(last);
    InvalidateRow(last);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TStringGrid::GetEditText(int ACol, int ARow) {
    String text = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

// ---------------------------------------------------------------------------------------------
// TStringGridStrings

int TStringGridStrings::Count() const { return FIsRow ? FGrid->ColCount() : FGrid->RowCount(); }

void TStringGridStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
}

String TStringGridStrings::Get(int Index) const {
    CheckIndex(Index);
    return FGrid->Cells(ColOf(Index), RowOf(Index));
}

void TStringGridStrings::Put(int Index, const String& S) {
    CheckIndex(Index);
    FGrid->PutCell(ColOf(Index), RowOf(Index), &S, nullptr);
}

void* TStringGridStrings::GetObject(int Index) const {
    CheckIndex(Index);
    return FGrid->Objects(ColOf(Index), RowOf(Index));
}

void TStringGridStrings::PutObject(int Index, void* AObject) {
    CheckIndex(Index);
    TObject* object = static_cast<TObject*>(AObject);
    FGrid->PutCell(ColOf(Index), RowOf(Index), nullptr, &object);
}

void TStringGridStrings::Insert(int, const String&) {
    throw EInvalidGridOperation(String("Cannot insert or delete items of a grid row or column"));
}

void TStringGridStrings::Delete(int) {
    throw EInvalidGridOperation(String("Cannot insert or delete items of a grid row or column"));
}

void TStringGridStrings::Clear() {
    String empty;
    TObject* none = nullptr;
    for (int i = 0, n = Count(); i < n; ++i) FGrid->PutCell(ColOf(i), RowOf(i), &empty, &none);
    FAddPos = 0;
}

int TStringGridStrings::Add(const String& S) { return AddObject(S, nullptr); }

// A list of fixed length: Add fills the next empty cell, so the items of a text or a comma list
// land in the cells one after another, empty ones included.
int TStringGridStrings::AddObject(const String& S, void* AObject) {
    for (int i = FAddPos, n = Count(); i < n; ++i) {
        if (!Get(i).empty() || GetObject(i)) continue;
        TObject* object = static_cast<TObject*>(AObject);
        FGrid->PutCell(ColOf(i), RowOf(i), &S, &object);
        FAddPos = i + 1;
        return i;
    }
    throw EInvalidGridOperation(String("Grid index out of range"));
}

void TStringGridStrings::Assign(const TPersistent* Source) {
    const auto* src = dynamic_cast<const TStrings*>(Source);
    if (!src) {
        TStrings::Assign(Source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    try {
        String empty;
        TObject* none = nullptr;
        for (int i = 0, n = Count(); i < n; ++i) {
            if (i < src->Count()) {
                String text = src->Get(i);
                TObject* object = static_cast<TObject*>(src->GetObject(i));
                FGrid->PutCell(ColOf(i), RowOf(i), &text, &object);
            } else {
                FGrid->PutCell(ColOf(i), RowOf(i), &empty, &none);
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}
