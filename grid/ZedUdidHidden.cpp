// TVerAdevovEdav: hidden columns and their index maps, hidden rows (their items, maps and the
// filter levels of hidden lists) and the row workers that move whole rows.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "grid/ZedUdid.h"

namespace {
constexpr int kMappedCols = 512;  // real columns 0..511 can be hidden
}

// ---------------------------------------------------------------------------------------------
// The hidden-columns scope

TVerAdevovEdav::THiddenColumnsScope::THiddenColumnsScope(TVerAdevovEdav& AGrid) : FGrid(AGrid) {
    if (FGrid.FColsRaised > 0 || FGrid.FNumHiddenColumns <= 0) return;
    const int shown = FGrid.ColCount();
    FLastWidth = FGrid.ColWidths(shown - 1);
    FRaised = FGrid.FNumHiddenColumns;
    // The platform's own count writer: the grid's would count the raise as a new extent.
    FGrid.TCustomGrid::SetColCount(shown + FRaised);
    FGrid.FColsRaised = FRaised;
}

TVerAdevovEdav::THiddenColumnsScope::~THiddenColumnsScope() {
    if (FRaised == 0) return;
    FGrid.FColsRaised = 0;
    const int shown = FGrid.ColCount() - FRaised;
    FGrid.TCustomGrid::SetColCount(shown);
    if (FGrid.ColWidths(shown - 1) != FLastWidth) FGrid.SetColWidths(shown - 1, FLastWidth);
}

int TVerAdevovEdav::TotalColCount() const { return ColCount() - FColsRaised + FNumHiddenColumns; }

// ---------------------------------------------------------------------------------------------
// Hidden columns

int TVerAdevovEdav::RealToDisplayCol(int ACol) const {
    if (ACol >= kMappedCols || FNumHiddenColumns == 0 || ACol <= 0) return ACol;
    int hidden = 0;
    for (int i = 0; i < ACol; ++i) hidden += !FVisibleCol[i];
    return ACol - hidden;
}

int TVerAdevovEdav::DisplayToRealCol(int ACol) const {
    if (ACol >= kMappedCols || FNumHiddenColumns == 0) return ACol;
    int shown = 0;
    for (int j = 0; j < kMappedCols; ++j) {
        if (!FVisibleCol[j]) continue;
        if (shown == ACol) return j;
        ++shown;
    }
    return 0;
}

void TVerAdevovEdav::HideColumns(int FromCol, int ToCol) {
    HideInplaceEdit();
    for (int k = std::max(FromCol, 0); k <= ToCol && k < kMappedCols; ++k) {
        if (!FVisibleCol[k] || k >= TotalColCount() || ColCount() < 2) continue;
        const int d = RealToDisplayCol(k);
        FAllColWidths[k] = static_cast<int16_t>(ColWidths(d));
        for (int i = d; i <= ColCount() - 2; ++i) SetColWidths(i, ColWidths(i + 1));
        ++FNumHiddenColumns;
        FVisibleCol[k] = false;
        if (Col() == ColCount() - 1 && Col() - 1 >= FixedCols()) SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TVerAdevovEdav::UnHideColumns(int FromCol, int ToCol) {
    HideInplaceEdit();
    for (int k = std::max(FromCol, 0); k <= ToCol && k < kMappedCols; ++k) {
        if (FVisibleCol[k]) continue;
        --FNumHiddenColumns;
        FVisibleCol[k] = true;
        SetColCount(ColCount() + 1);
        const int b = std::max(RealToDisplayCol(k + 1), 1);
        for (int i = ColCount() - 1; i >= b; --i) SetColWidths(i, ColWidths(i - 1));
        SetColWidths(RealToDisplayCol(k), FAllColWidths[k]);
    }
    Invalidate();
}

void TVerAdevovEdav::UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHiddenColumns); }

// ---------------------------------------------------------------------------------------------
// Hidden rows: the items and the index maps

TGridItem::~TGridItem() {
    // Properties still held belong to a row that never came back.
    for (int c = 0; c < FItems->Count(); ++c)
        delete dynamic_cast<TCellProperties*>(static_cast<TObject*>(FItems->Objects(c)));
}

void TGridItem::SetIdx(int Value) {
    FIdx = Value;
    if (Collection())
        if (auto* grid = dynamic_cast<TVerAdevovEdav*>(Collection()->GetOwner())) grid->HiddenRowsChanged();
}

int TVerAdevovEdav::NumHiddenRows() const { return FGridItems ? FGridItems->Count() : 0; }

void TVerAdevovEdav::UpdateHiddenIndex() const {
    const int n = NumHiddenRows();
    if (FHiddenIndexValid && static_cast<int>(FHiddenIdx.size()) == n) return;
    FHiddenIdx.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) FHiddenIdx[static_cast<size_t>(i)] = static_cast<TGridItem*>(FGridItems->Items(i))->Idx();
    std::sort(FHiddenIdx.begin(), FHiddenIdx.end());
    FHiddenDistinct.assign(FHiddenIdx.begin(), FHiddenIdx.end());
    FHiddenDistinct.erase(std::unique(FHiddenDistinct.begin(), FHiddenDistinct.end()), FHiddenDistinct.end());
    FHiddenIndexValid = true;
}

int TVerAdevovEdav::RealToDisplayRow(int ARow) const {
    if (NumHiddenRows() == 0) return ARow;
    UpdateHiddenIndex();
    return ARow - static_cast<int>(std::lower_bound(FHiddenIdx.begin(), FHiddenIdx.end(), ARow) - FHiddenIdx.begin());
}

int TVerAdevovEdav::DisplayToRealRow(int ARow) const {
    if (NumHiddenRows() == 0) return ARow;
    UpdateHiddenIndex();
    // H[i] - i (the shown rows before the i-th hidden one) never falls: the real row is the
    // displayed one plus the hidden rows with no more shown rows before them than it.
    const auto& h = FHiddenDistinct;
    size_t lo = 0, hi = h.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (h[mid] - static_cast<int>(mid) <= ARow)
            lo = mid + 1;
        else
            hi = mid;
    }
    return ARow + static_cast<int>(lo);
}

bool TVerAdevovEdav::IsHiddenRow(int RowIndex) const {
    if (NumHiddenRows() == 0) return false;
    UpdateHiddenIndex();
    return std::binary_search(FHiddenIdx.begin(), FHiddenIdx.end(), RowIndex);
}

bool TVerAdevovEdav::IsHiddenRow(int RowIndex, TIntList*& ListHidden) const {
    if (!ListHidden) {
        ListHidden = new TIntList(0, 0);
        for (int i = 0; i < NumHiddenRows(); ++i) ListHidden->Add(static_cast<TGridItem*>(FGridItems->Items(i))->Idx());
    }
    return ListHidden->HasValue(RowIndex);
}

TStrings* TVerAdevovEdav::HiddenRowItems(int RowIndex) const {
    for (int i = 0; i < NumHiddenRows(); ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        if (item->Idx() == RowIndex) return item->Items();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Row workers

void TVerAdevovEdav::CompactRows(const std::vector<int>& List, std::vector<TGridItem*>* Out, bool) {
    if (List.empty()) return;
    // The footer row is no data row: the count writer moves it down to the new end.
    const int n = RowsBeforeFooter();
    const int footer = RowCount() - n;
    {
        THiddenColumnsScope scope(*this);
        size_t p = 0;
        int d = List.front();
        for (int s = d; s < n; ++s) {
            if (p < List.size() && List[p] == s) {
                if (Out) {
                    TGridItem* item = (*Out)[p];
                    item->Items()->Assign(Rows(s));
                    item->SetHeight(RowHeights(s));
                }
                ++p;
                continue;
            }
            // The row's cells go over whole; the row left behind is one that leaves.
            ExchangeRowCells(d, s);
            SetRowHeights(d, RowHeights(s));
            ++d;
        }
        // The rows past the new end handed their objects on.
        for (int r = d; r < n; ++r) ClearRowCells(r);
        if (FHasCellProps)
            for (int r = List.front(); r < d; ++r)
                for (int c = 0; c < ColCount(); ++c)
                    if (auto* props = dynamic_cast<TCellProperties*>(GetGridObject(c, r))) props->SetOwnerRow(r);
        const int footerHeight = footer ? RowHeights(n) : 0;
        SetRowCount(d + footer);
        if (footer) SetRowHeights(d, footerHeight);
    }
    HiddenRowsChanged();
}

void TVerAdevovEdav::ExpandRows(const std::vector<int>& Places, const std::vector<TGridItem*>& Sources) {
    if (Places.empty()) return;
    // The count writer moves a footer row to the new end; the rows before it merge.
    const int footer = RowCount() - RowsBeforeFooter();
    const int old = RowCount() - footer;
    const int total = old + static_cast<int>(Places.size());
    {
        THiddenColumnsScope scope(*this);
        const int footerHeight = footer ? RowHeights(old) : 0;
        SetRowCount(total + footer);
        if (footer) SetRowHeights(total, footerHeight);
        int s = old - 1;
        int p = static_cast<int>(Places.size()) - 1;
        for (int t = total - 1; t >= 0 && p >= 0; --t) {
            if (Places[static_cast<size_t>(p)] == t) {
                if (TGridItem* item = Sources[static_cast<size_t>(p)]) {
                    Rows(t)->Assign(item->Items());
                    // The objects are the row's again.
                    for (int c = 0; c < item->Items()->Count(); ++c) item->Items()->SetObjects(c, nullptr);
                    // A row hidden without its height comes back at the default one.
                    SetRowHeights(t, item->Height() > 0 ? item->Height() : DefaultRowHeight());
                } else {
                    ClearRowCells(t);
                    SetRowHeights(t, DefaultRowHeight());
                }
                --p;
            } else {
                // Row t is a new one or one already moved down: it takes row s's place.
                ExchangeRowCells(t, s);
                SetRowHeights(t, RowHeights(s));
                --s;
            }
            if (FHasCellProps)
                for (int c = 0; c < ColCount(); ++c)
                    if (auto* props = dynamic_cast<TCellProperties*>(GetGridObject(c, t))) props->SetOwnerRow(t);
        }
    }
    HiddenRowsChanged();
}

void TVerAdevovEdav::InsertRowsInternal(int ARow, int Count, bool UpdateCellControls) {
    if (Count <= 0 || ARow < 0 || ARow > RowCount()) return;
    if (FSelHidden) UnHideSelection();
    std::vector<int> places(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) places[static_cast<size_t>(i)] = ARow + i;
    ExpandRows(places, std::vector<TGridItem*>(places.size(), nullptr));
    if (FShowModified->Enabled() && ARow < FModifiedRows->Count())
        for (int i = 0; i < Count; ++i) FModifiedRows->Insert(ARow, 0);
    if (FUseEnabledRows && ARow < FEnabledRows->Count())
        for (int i = 0; i < Count; ++i) FEnabledRows->Insert(ARow, 0);
    if (UpdateCellControls && FNumCellControls > 0) {
        const int realRow = DisplayToRealRow(ARow);
        for (int i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->GetControl(i);
            if (item->Y() >= realRow) item->SetY(item->Y() + Count);
        }
        CellControlsUpdate(false);
    }
    if (!ComponentState().Contains(csDestroying)) CellsChanged({0, ARow, ColCount() - 1, ARow + Count});
}

void TVerAdevovEdav::DeleteRowsInternal(int ARow, int Count, bool RealDelete) {
    if (ARow < 0 || ARow >= RowCount() || Count <= 0) return;
    Count = std::min(Count, RowCount() - ARow);
    const int topRow = TopRow();
    if (RealDelete && NumHiddenRows() > 0) {
        const int from = DisplayToRealRow(ARow);
        for (int i = 0; i < NumHiddenRows(); ++i) {
            auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
            if (item->Idx() > from) item->SetIdx(item->Idx() - Count);
        }
    }
    if (FMouseActions->DisjunctRowSelect() && !FMouseActions->RowSelectPersistent())
        for (int i = 0; i < Count && ARow < FRowSelect->Count(); ++i) FRowSelect->Delete(ARow);
    std::vector<int> rows(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) rows[static_cast<size_t>(i)] = ARow + i;
    BeginUpdate();
    try {
        CompactRows(rows, nullptr, true);
        if (topRow < RowCount() && topRow >= FixedRows()) TCustomGrid::SetTopRow(topRow);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (!ComponentState().Contains(csDestroying)) CellsChanged({0, ARow, ColCount() - 1, ARow + Count});
    if (FNumCellControls > 0) CellControlsUpdate(false);
}

void TVerAdevovEdav::RemoveRowsEx(int RowIndex, int RCount) {
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    // The removed rows' cell objects stay with whoever holds them; hidden rows after the block
    // count it no longer.
    DeleteRowsInternal(RowIndex, RCount, false);
    for (int i = 0; i < NumHiddenRows(); ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        if (item->Idx() > RowIndex + RCount - 1) item->SetIdx(item->Idx() - RCount);
    }
}

// ---------------------------------------------------------------------------------------------
// Hiding rows

void TVerAdevovEdav::HideRows(int FromRow, int ToRow) {
    if (ToRow < FromRow || FromRow < 0) return;
    int n = 0;
    for (int i = 0; i < NumHiddenRows(); ++i) {
        const int idx = static_cast<TGridItem*>(FGridItems->Items(i))->Idx();
        n += idx >= FromRow && idx <= ToRow;
    }
    if (ToRow - FromRow + 1 == n) return;
    const int from2 = RealToDisplayRow(FromRow);
    UpdateHiddenIndex();
    int p = static_cast<int>(std::lower_bound(FHiddenIdx.begin(), FHiddenIdx.end(), FromRow) - FHiddenIdx.begin());
    std::vector<int> rows;
    std::vector<TGridItem*> items;
    for (int r = FromRow; r <= ToRow; ++r) {
        if (IsHiddenRow(r)) continue;
        const int d = from2 + static_cast<int>(rows.size());
        if (d >= RowsBeforeFooter()) break;
        auto* item = static_cast<TGridItem*>(FGridItems->Insert(p++));
        item->SetIdx(r);
        item->Sequence = ++FHideSequence;
        rows.push_back(d);
        items.push_back(item);
    }
    if (rows.empty()) return;
    if (TControl* control = GetCellControls(1, from2)) control->SetVisible(false);
    const int topRow = TopRow();
    BeginUpdate();
    try {
        CompactRows(rows, &items, true);
        if (topRow < RowCount() && topRow >= FixedRows()) TCustomGrid::SetTopRow(topRow);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (FNumCellControls > 0) CellControlsUpdate(false);
}

void TVerAdevovEdav::HideRowList(TIntList* RowList) {
    if (!RowList) return;
    std::vector<int> rows;
    for (int i = 0; i < RowList->Count(); ++i) {
        const int r = RowList->GetInteger(i);
        // Ascending rows inside the grid, each once; anything else is no row of the list.
        if (r < 0 || r >= RowsBeforeFooter() || (!rows.empty() && r <= rows.back())) continue;
        rows.push_back(r);
    }
    std::vector<TGridItem*> items;
    items.reserve(rows.size());
    FGridItems->BeginUpdate();
    for (int r : rows) {
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        item->SetIdx(r);
        item->SetLevel(FFilterLevel);
        item->FromList = true;
        item->Sequence = FHideSequence + 1;  // one list, one step
        items.push_back(item);
    }
    FGridItems->EndUpdate();
    ++FHideSequence;
    ++FFilterLevel;
    BeginUpdate();
    try {
        CompactRows(rows, &items, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (FNumCellControls > 0) CellControlsUpdate(false);
}

void TVerAdevovEdav::HideRowsEx(int FromRow, int ToRow) {
    if (ToRow < FromRow || FromRow < 0) return;
    for (int i = 0; i < NumHiddenRows(); ++i)
        if (static_cast<TGridItem*>(FGridItems->Items(i))->Idx() == FromRow) return;
    const int from2 = RealToDisplayRow(FromRow);
    const int count = std::min(ToRow - FromRow + 1, RowsBeforeFooter() - from2);
    if (count <= 0) return;
    // The cells are taken first; the items join after the removal, so hiding renumbers no
    // hidden row (a hidden row keeps its real index).
    std::vector<std::unique_ptr<TStringList>> cells;
    {
        THiddenColumnsScope scope(*this);
        for (int i = 0; i < count; ++i) {
            cells.push_back(std::make_unique<TStringList>());
            cells.back()->Assign(Rows(from2 + i));
        }
    }
    DeleteRowsInternal(from2, count, false);
    for (int i = 0; i < count; ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        item->SetIdx(FromRow + i);
        item->SetItems(std::move(cells[static_cast<size_t>(i)]));
        item->Sequence = ++FHideSequence;
    }
}

// ---------------------------------------------------------------------------------------------
// Showing rows

void TVerAdevovEdav::RestoreItems(std::vector<TGridItem*> Items) {
    if (Items.empty()) return;
    // Rows come back in the reverse order of their hiding, so each comes back into the grid as
    // it stood when it left: a row of a list at its displayed place, a row hidden by its real
    // index where that index now falls. The places are worked out first and the rows moved once.
    std::sort(Items.begin(), Items.end(), [](TGridItem* a, TGridItem* b) {
        if (a->Sequence != b->Sequence) return a->Sequence > b->Sequence;
        return a->Idx() < b->Idx();
    });
    std::vector<TGridItem*> restoring(Items);
    std::vector<int> places;  // of the rows brought in so far, in the grid as it then stands
    std::vector<TGridItem*> sources;
    int rows = RowsBeforeFooter();
    std::unordered_set<const TGridItem*> back;
    size_t b = 0;
    while (b < Items.size()) {
        size_t e = b + 1;
        while (e < Items.size() && Items[e]->FromList == Items[b]->FromList && Items[e]->Level() == Items[b]->Level() &&
               (!Items[b]->FromList || Items[e]->Sequence == Items[b]->Sequence))
            ++e;
        std::vector<TGridItem*> batch(Items.begin() + static_cast<long>(b), Items.begin() + static_cast<long>(e));
        std::sort(batch.begin(), batch.end(), [](TGridItem* x, TGridItem* y) { return x->Idx() < y->Idx(); });
        std::vector<int> q(batch.size());
        for (size_t i = b; i < e; ++i) back.insert(Items[i]);
        if (batch.front()->FromList) {
            for (size_t i = 0; i < batch.size(); ++i) q[i] = batch[i]->Idx();
        } else {
            // Hidden rows still out after this step: every other item but those already back.
            std::vector<int> still;
            for (int i = 0; i < NumHiddenRows(); ++i) {
                auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
                if (!back.count(item)) still.push_back(item->Idx());
            }
            std::sort(still.begin(), still.end());
            for (size_t i = 0; i < batch.size(); ++i) {
                const int idx = batch[i]->Idx();
                q[i] = idx - static_cast<int>(std::lower_bound(still.begin(), still.end(), idx) - still.begin());
            }
        }
        // Distinct, ascending places inside the grid as it grows.
        for (size_t i = 0; i < q.size(); ++i) {
            q[i] = std::clamp(q[i], i > 0 ? q[i - 1] + 1 : 0, rows + static_cast<int>(i));
        }
        // The rows already brought in move down past the new ones.
        std::vector<int> keys(q.size());
        for (size_t i = 0; i < q.size(); ++i) keys[i] = q[i] - static_cast<int>(i);
        for (int& x : places) x += static_cast<int>(std::upper_bound(keys.begin(), keys.end(), x) - keys.begin());
        places.insert(places.end(), q.begin(), q.end());
        sources.insert(sources.end(), batch.begin(), batch.end());
        rows += static_cast<int>(batch.size());
        b = e;
    }
    std::vector<size_t> order(places.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t x, size_t y) { return places[x] < places[y]; });
    std::vector<int> sortedPlaces(order.size());
    std::vector<TGridItem*> sortedSources(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sortedPlaces[i] = places[order[i]];
        sortedSources[i] = sources[order[i]];
    }
    BeginUpdate();
    try {
        ExpandRows(sortedPlaces, sortedSources);
    } catch (...) {
        EndUpdate();
        throw;
    }
    // The items are done with: their objects are the rows' again.
    // Freed from the last place to the first, which the collection removes cheaply.
    const std::unordered_set<const TGridItem*> done(restoring.begin(), restoring.end());
    std::vector<TGridItem*> freeing;
    freeing.reserve(restoring.size());
    for (int i = NumHiddenRows() - 1; i >= 0; --i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        if (done.count(item)) freeing.push_back(item);
    }
    FGridItems->BeginUpdate();
    for (TGridItem* item : freeing) delete item;
    FGridItems->EndUpdate();
    HiddenRowsChanged();
    EndUpdate();
    if (FNumCellControls > 0) CellControlsUpdate(false);
}

void TVerAdevovEdav::UnHideRows(int FromRow, int ToRow) {
    if (!IsHiddenRow(FromRow)) return;
    std::vector<TGridItem*> items;
    for (int i = 0; i < NumHiddenRows(); ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        if (item->Idx() >= FromRow && item->Idx() <= ToRow) items.push_back(item);
    }
    RestoreItems(std::move(items));
}

void TVerAdevovEdav::UnHideRow(int RowIndex) {
    for (int i = 0; i < NumHiddenRows(); ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        if (item->Idx() != RowIndex) continue;
        RestoreItems({item});
        for (int j = 0; j < FControlList->Count(); ++j) {
            TControlItem* control = FControlList->GetControl(j);
            if (control->Y() == RowIndex && control->Control()) control->Control()->SetVisible(true);
        }
        if (FNumCellControls > 0) CellControlsUpdate(false);
        return;
    }
}

void TVerAdevovEdav::UnHideRowList() {
    if (Row() >= RowCount()) FocusCell(FixedCols(), FixedRows(), true);
    const int level = FFilterLevel - 1;
    std::vector<TGridItem*> items;
    for (int i = 0; i < NumHiddenRows(); ++i) {
        auto* item = static_cast<TGridItem*>(FGridItems->Items(i));
        // Undoing the first list undoes every hiding (rows hidden otherwise share its level).
        if (FFilterLevel < 2 || item->Level() == level) items.push_back(item);
    }
    RestoreItems(std::move(items));
}

void TVerAdevovEdav::UnHideRowsAll() {
    std::vector<TGridItem*> items;
    for (int i = 0; i < NumHiddenRows(); ++i) items.push_back(static_cast<TGridItem*>(FGridItems->Items(i)));
    RestoreItems(std::move(items));
}

// ---------------------------------------------------------------------------------------------
// The current and the top row

void TVerAdevovEdav::SetRow(int Value) {
    if (Col() < 0 || Col() >= ColCount()) MoveColRow(FixedCols(), Value, true, true);
    TBaseGrid::SetRow(Value);
    if (Row() != FOldRowSel && OnRowChanged) {
        const int old = FOldRowSel;
        FOldRowSel = Row();
        OnRowChanged(this, old, Row());
    }
    if (FMouseActions->DisjunctRowSelect()) SelectionToRowSelect(false);
    TStringGrid* other = FSyncGrid->Grid();
    if (other && FSyncGrid->SelectionRow() && other->Row() != Row()) {
        if (auto* grid = dynamic_cast<TVerAdevovEdav*>(other))
            grid->SetRow(Row());
        else
            other->SetRow(Row());
    }
    if (Value == RowCount() - 1 && FSearchFooter->Visible()) AdjustTopRowForSearchPanel();
}

void TVerAdevovEdav::SetTopRow(int Value) {
    if (Value < FixedRows() || Value > RowCount() - 1) return;
    TBaseGrid::SetTopRow(Value);
}
