// The grid's editing services as the data model uses them: the in-place editor, the hidden rich
// edit, change notifiers, the controls placed in cells, and moved columns and rows.
#include <algorithm>

#include "grid/ZedUdid.h"

// ---------------------------------------------------------------------------------------------
// In-place editing

void TVerAdevovEdav::ShowInplaceEdit() {
    switch (GetCellType(DisplayToRealCol(Col()), Row())) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox:
        case ctRadio:
        case ctRadioButton:
        case ctButton:
        case ctBitButton: return;
        default: break;
    }
    ShowEditor();
}

void TVerAdevovEdav::HideInplaceEdit() {
    if (!EditorMode()) return;
    HideEditor();
    SetSelection({Col(), Row(), Col(), Row()});
}

// ---------------------------------------------------------------------------------------------
// Rich text

namespace {

// Destinations whose text is not part of the document.
bool SkippedDestination(const std::u16string& word) {
    static const char16_t* const kWords[] = {u"fonttbl", u"colortbl", u"stylesheet", u"info", u"pict", u"object",
                                             u"header", u"footer", u"headerl", u"headerr", u"footerl", u"footerr",
                                             u"footnote", u"generator", u"themedata", u"colorschememapping",
                                             u"latentstyles", u"datastore", u"xmlnstbl", u"listtable",
                                             u"listoverridetable", u"rsidtbl", u"filetbl", u"revtbl"};
    for (const char16_t* w : kWords)
        if (word == w) return true;
    return false;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

String RichTextToPlainText(const String& Rtf) {
    if (Rtf.rfind(u"{\\", 0) != 0) return Rtf;
    struct Group {
        bool skip;
        int uc;  // characters that stand in for a \u character
    };
    std::vector<Group> groups{{false, 1}};
    String out;
    bool groupStart = false;  // the next control word is the first of its group
    int pendingSkip = 0;      // stand-in characters still to drop after \u
    auto emit = [&](char16_t ch) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!groups.back().skip) out.push_back(ch);
    };
    size_t i = 0, n = Rtf.size();
    while (i < n) {
        char16_t ch = Rtf[i];
        if (ch == u'{') {
            groups.push_back(groups.back());
            groupStart = true;
            ++i;
            continue;
        }
        if (ch == u'}') {
            if (groups.size() > 1) groups.pop_back();
            groupStart = false;
            ++i;
            continue;
        }
        if (ch == u'\r' || ch == u'\n') {
            ++i;
            continue;
        }
        if (ch != u'\\') {
            emit(ch);
            groupStart = false;
            ++i;
            continue;
        }
        // A control symbol or word.
        if (++i >= n) break;
        char16_t s = Rtf[i];
        if (s == u'\\' || s == u'{' || s == u'}') {
            emit(s);
            ++i;
        } else if (s == u'\'') {
            int hi = i + 1 < n ? HexDigit(Rtf[i + 1]) : -1, lo = i + 2 < n ? HexDigit(Rtf[i + 2]) : -1;
            if (hi >= 0 && lo >= 0) emit(static_cast<char16_t>(hi * 16 + lo));
            i += 3;
        } else if (s == u'*') {
            groups.back().skip = true;
            ++i;
        } else if (s == u'~') {
            emit(u' ');
            ++i;
        } else if (s == u'_') {
            emit(u'-');
            ++i;
        } else if ((s >= u'a' && s <= u'z') || (s >= u'A' && s <= u'Z')) {
            std::u16string word;
            while (i < n && ((Rtf[i] >= u'a' && Rtf[i] <= u'z') || (Rtf[i] >= u'A' && Rtf[i] <= u'Z'))) word.push_back(Rtf[i++]);
            bool hasNumber = false, negative = false;
            long number = 0;
            if (i < n && Rtf[i] == u'-') {
                negative = true;
                ++i;
            }
            while (i < n && Rtf[i] >= u'0' && Rtf[i] <= u'9') {
                hasNumber = true;
                number = number * 10 + (Rtf[i++] - u'0');
            }
            if (negative) number = -number;
            if (i < n && Rtf[i] == u' ') ++i;
            if (groupStart && SkippedDestination(word)) groups.back().skip = true;
            if (word == u"par" || word == u"line") {
                emit(u'\r');
                emit(u'\n');
            } else if (word == u"tab") {
                emit(u'\t');
            } else if (word == u"uc" && hasNumber) {
                groups.back().uc = static_cast<int>(number);
            } else if (word == u"u" && hasNumber) {
                emit(static_cast<char16_t>(number < 0 ? number + 65536 : number));
                pendingSkip = groups.back().uc;
                groupStart = false;
                continue;
            }
        } else {
            ++i;
        }
        groupStart = false;
    }
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, u"\r\n") == 0) out.resize(out.size() - 2);
    return out;
}

void TGridRichEdit::SetRichText(const String& Value) { FText = RichTextToPlainText(Value); }

TGridRichEdit* TVerAdevovEdav::GetRichEdit() {
    if (!FRichEdit) FRichEdit = std::make_unique<TGridRichEdit>();
    return FRichEdit.get();
}

void TVerAdevovEdav::CellToRich(int Col, int Row, TGridRichEdit* RichEdit) {
    // The rich text as stored (in the base cell of a block), not its display form.
    TPoint b = BaseCell(Col, Row);
    if (RichEdit) RichEdit->SetRichText(GetGridCell(b.X, b.Y));
}

// ---------------------------------------------------------------------------------------------
// Change notifiers

void TVerAdevovEdav::CellsChanged(const TRect& R) {
    if (OnCellsChanged) OnCellsChanged(this, R);
    // A notifier may unregister itself while it is told.
    std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers)
        if (std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end()) n->CellsChanged(R);
    CalcFooter(-1);
}

void TVerAdevovEdav::AllCellsChanged() { CellsChanged({0, 0, TotalColCount() - 1, RowCount() - 1}); }

// ---------------------------------------------------------------------------------------------
// Controls placed in cells

void TVerAdevovEdav::CellControlsUpdate(bool Rebuild) {
    if (Rebuild) {
        FControlList->Clear();
        FNumCellControls = 0;
        if (FHasCellProps) {
            for (int r = 0; r < RowCount(); ++r) {
                for (int c = 0; c < TotalColCount(); ++c) {
                    if (!HasCellProperties(c, r)) continue;
                    if (TControl* control = GetCellProperties(c, r)->Control()) {
                        FControlList->AddControl(c, DisplayToRealRow(r), control);
                        ++FNumCellControls;
                    }
                }
            }
        }
    }
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        // The list holds real cells: a hidden row's or column's control is out of view.
        int col = RealToDisplayCol(item->X()), row = RealToDisplayRow(item->Y());
        bool inView = !IsHiddenRow(item->Y()) && !IsHiddenColumn(item->X()) && col < ColCount() && row < RowCount() &&
                      !TObjStringGrid::CellRect(col, row).IsEmpty();
        if (inView) {
            TRect r = CellRect(col, row);
            item->Control()->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
        }
        item->Control()->SetVisible(inView);
    }
}

// ---------------------------------------------------------------------------------------------
// Moved columns and rows

namespace {

// Runs step with the event detached, and puts the event back whatever happens.
template <class Step>
void WithoutEvent(TMovedEvent& event, Step step) {
    TMovedEvent kept = std::move(event);
    event = nullptr;
    try {
        step();
    } catch (...) {
        event = std::move(kept);
        throw;
    }
    event = std::move(kept);
}

}  // namespace

void TVerAdevovEdav::SyncedMove(bool Enabled, bool Columns, int FromIndex, int ToIndex) {
    auto* other = dynamic_cast<TVerAdevovEdav*>(FSyncGrid->Grid());
    if (!other || !Enabled || FSyncedMove) return;
    // The other grid's own move does not come back here.
    other->FSyncedMove = true;
    try {
        if (Columns)
            other->MoveColumn(FromIndex, ToIndex);
        else
            other->MoveRow(FromIndex, ToIndex);
    } catch (...) {
        other->FSyncedMove = false;
        throw;
    }
    other->FSyncedMove = false;
}

void TVerAdevovEdav::ColumnMoved(int FromIndex, int ToIndex) {
    // The platform has moved the widths and the current column with the column; it moves the
    // cells and fires OnColumnMoved now. Columns shifted by an insertion or removal are no move.
    if (FShifting) {
        WithoutEvent(OnColumnMoved, [&] { TBaseGrid::ColumnMoved(FromIndex, ToIndex); });
        return;
    }
    if (FNumHiddenColumns > 0) {
        // The displayed columns stand for real ones: the cells, the visibility and the kept
        // width of the real column move, hidden columns between taking one step.
        const int realFrom = DisplayToRealCol(FromIndex), realTo = DisplayToRealCol(ToIndex);
        const bool visible = FVisibleCol[realFrom];
        const int16_t width = FAllColWidths[realFrom];
        const int step = realFrom < realTo ? 1 : -1;
        for (int i = realFrom; i != realTo; i += step) {
            FVisibleCol[i] = FVisibleCol[i + step];
            FAllColWidths[i] = FAllColWidths[i + step];
        }
        FVisibleCol[realTo] = visible;
        FAllColWidths[realTo] = width;
        TBaseGrid::ColumnMoved(realFrom, realTo);
    } else {
        TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    }
    SyncedMove(FSyncGrid->MoveColumn(), true, FromIndex, ToIndex);
}

void TVerAdevovEdav::RowMoved(int FromIndex, int ToIndex) {
    // The platform's row move fires no OnRowMoved of its own: the grid fires it once, after.
    WithoutEvent(OnRowMoved, [&] { TBaseGrid::RowMoved(FromIndex, ToIndex); });
    if (FShifting) return;
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
    SyncedMove(FSyncGrid->MoveRow(), false, FromIndex, ToIndex);
}
