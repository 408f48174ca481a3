// The multi-column drop-down: its columns and items, the lookup list, the pop-up with its grid,
// the edit's auto-complete and keys, the grid's type-ahead and the style table.
#include "dropdown/AdvMultiColumnDropDown.h"

#include <algorithm>
#include <cmath>

#include "dropdown/AdvDropDownComplete.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace advmulticolumndropdown {

// ---------------------------------------------------------------------------------------------
// Columns and items

TDropDownColumn::TDropDownColumn(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()) {}

TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TDropDownColumn*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    Wordwrap = s->Wordwrap;
    Width = s->Width;
    Header = s->Header;
    Alignment = s->Alignment;
    Color = s->Color;
    ColumnType = s->ColumnType;
    FFont->Assign(s->FFont.get());
    Ellipsis = s->Ellipsis;
    AutoSize = s->AutoSize;
}

TDropDownItem::TDropDownItem(TCollection* Collection)
    : TCollectionItem(Collection), FText(std::make_unique<TStringList>()) {}

TDropDownItem::~TDropDownItem() = default;

void TDropDownItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TDropDownItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = s->FImageIndex;
}

std::optional<String> TDropDownItem::TextAt(int Column) const {
    if (Column < 0 || Column >= FText->Count()) return std::nullopt;
    return FText->Strings(Column);
}

int TDropDownItems::IndexInColumn(int Column, const String& Value) const {
    for (int i = 0; i < Count(); ++i)
        if (const std::optional<String> t = Items(i)->TextAt(Column); t && *t == Value) return i;
    return -1;
}

}  // namespace advmulticolumndropdown

using namespace advmulticolumndropdown;

// ---------------------------------------------------------------------------------------------
// Construction

TAdvMultiColumnDropDown::TAdvMultiColumnDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FItems(std::make_unique<TDropDownItems>(this)),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()),
      FLookupItems(std::make_unique<TStringList>()) {}

TAdvMultiColumnDropDown::~TAdvMultiColumnDropDown() = default;

// The base's steps (the grid, the selection and component styles) ran; these values follow them.
void TAdvMultiColumnDropDown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    FColumnSizing = false;
    FLookupColumn = 0;
    FHeaderColorTo = 0x808080;
    FHeaderColor = clWhite;
    FHeaderHeight = 25;
    FLineColor = 0xC0C0C0;
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    FItemIndex = FOldItemIndex = -1;
    FWorkMode = true;
    FMatchCase = false;
    FMatchStart = true;
    SetAutoSelect(true);
    FItemChange = false;
    FDropDownAutoWidth = true;
    SetSelectionColorStyle(scOffice2007);
    FSelectionTextColor = 0;
    FColumnSizeWithDropDown = true;
    FDropDownRowHeight = 22;
}

void TAdvMultiColumnDropDown::Assign(const TPersistent* Source) {
    TAdvCustomDropDown::Assign(Source);
    const auto* s = dynamic_cast<const TAdvMultiColumnDropDown*>(Source);
    if (!s) return;
    FCaseSensitive = s->FCaseSensitive;
    FDropDownAutoWidth = s->FDropDownAutoWidth;
    FDropDownRowHeight = s->FDropDownRowHeight;
    FLineColor = s->FLineColor;
    FFixedLineColor = s->FFixedLineColor;
    FColumnSizing = s->FColumnSizing;
    FColumnSizeWithDropDown = s->FColumnSizeWithDropDown;
    FColumns->Assign(s->FColumns.get());
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderHeight = s->FHeaderHeight;
    FHeaderFont->Assign(s->FHeaderFont.get());
    FLookupColumn = s->FLookupColumn;
    FSelectionTextColor = s->FSelectionTextColor;
    FItems->Assign(s->FItems.get());
    FItemIndex = s->FItemIndex;
}

void TAdvMultiColumnDropDown::Loaded() {
    TAdvCustomDropDown::Loaded();
    RebuildLookupItems();
}

void TAdvMultiColumnDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAdvColGrid) FAdvColGrid = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Items, the lookup list and the selection

std::optional<String> TAdvMultiColumnDropDown::LookupText(int index) const {
    if (index < 0 || index >= FItems->Count()) return std::nullopt;
    return FItems->Items(index)->TextAt(FLookupColumn);
}

void TAdvMultiColumnDropDown::RebuildLookupItems() {
    if (FLookupColumn < 0 || FItems->Count() == 0) return;
    FLookupItems->BeginUpdate();
    FLookupItems->Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::optional<String> t = LookupText(i);
        FLookupItems->Add(t ? *t : String());
    }
    FLookupItems->EndUpdate();
}

int TAdvMultiColumnDropDown::GetItemIndex(const String& value) const {
    return FLookupColumn < 0 ? -1 : FItems->IndexInColumn(FLookupColumn, value);
}

void TAdvMultiColumnDropDown::WriteText(const String& value) {
    advdropdown::TFlagGuard writing(FWriting);
    SetText(value);
}

void TAdvMultiColumnDropDown::SetItemIndex(int value) {
    if (value >= FItems->Count()) return;
    FItemIndex = value;
    const std::optional<String> t = LookupText(value);
    WriteText(t ? *t : String());
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void TAdvMultiColumnDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!DropDownForm()) return;
    if (!FAdvColGrid) {
        FAdvColGrid = NewComponent<TAdvColGrid>(this);
        FAdvColGrid->SetParent(DropDownForm());
    }
    FAdvColGrid->SetDropDown(this);
    FAdvColGrid->SetLeft(0);
    FAdvColGrid->SetTop(0);
    FAdvColGrid->SetHeight(180);
    FAdvColGrid->SetColor(DropDownColor());
    FAdvColGrid->SetDoubleBuffered(true);
}

void TAdvMultiColumnDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    FShowing = true;
    if (!FAdvColGrid) return;
    TAdvColGrid& g = *FAdvColGrid;
    g.LoadFromDropDown(this);
    TGridOptions options = g.Options();
    options << goThumbTracking;
    g.SetOptions(options);
    g.SetColor(DropDownColor());
    g.OnSelectCell = [this](TObject* Sender, int ACol, int ARow, bool& CanSelect) {
        GridSelectCell(Sender, ACol, ARow, CanSelect);
    };
    g.OnSelect = [this](TObject* Sender) { GridSelect(Sender); };
    // An index left past the items (items removed after a choice) shows the first row.
    const int row = FItemIndex + 1;
    g.SetRow(row < g.FixedRows() || row >= g.RowCount() ? std::min(1, g.RowCount() - 1) : row);
    FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::DockPopupControl() {
    SetPopupControl(FAdvColGrid);
    TAdvCustomDropDown::DockPopupControl();
}

void TAdvMultiColumnDropDown::SizePopup() {
    TAdvCustomDropDown::SizePopup();
    if (!FDropDownAutoWidth || !DropDownForm() || !FAdvColGrid) return;
    FAdvColGrid->SetAlign(alNone);
    FAdvColGrid->SetWidth(FAdvColGrid->GetTotalWidth());
    DropDownForm()->SetWidth(FAdvColGrid->Width() + 2 * DropDownBorderWidth());
    FAdvColGrid->SetAlign(alClient);
}

void TAdvMultiColumnDropDown::OpenPopup() {
    TAdvCustomDropDown::OpenPopup();
    FitColumnWidths();
    if (FAdvColGrid && FAdvColGrid->RowCount() > 1) {
        TAdvColGrid& g = *FAdvColGrid;
        const int row = FItemIndex + 1 > 0 && FItemIndex + 1 < g.RowCount() ? FItemIndex + 1 : 1;
        g.SetRow(row);
        const TRect r = g.CellRect(g.FixedCols(), g.Row());
        if (r.Left <= 0 && r.Top <= 0) g.SetTopRow(std::max(g.FixedRows(), g.Row() - g.VisibleRowCount() + 1));
    }
    FShowing = false;
}

void TAdvMultiColumnDropDown::FitColumnWidths() {
    if (!FColumnSizeWithDropDown || !FAdvColGrid || !DropDownForm()) return;
    TAdvColGrid& g = *FAdvColGrid;
    g.SetScrollBars(ssVertical);
    if (FColumns->Count() == 0) return;
    int64_t total = 1;
    for (int i = 0; i < FColumns->Count(); ++i) total += FColumns->Items(i)->Width;
    int avail = DropDownForm()->Width();
    if (g.VisibleRowCount() < g.RowCount() - g.FixedRows()) avail -= GetSystemMetrics(SM_CXVSCROLL);
    const double f = static_cast<double>(avail) / static_cast<double>(total);
    double err = 0;
    for (int i = 0; i < g.ColCount() && i < FColumns->Count(); ++i) {
        const double w = f * FColumns->Items(i)->Width;
        const double rounded = std::nearbyint(w);
        err += w - rounded;
        if (err > 1.0) {
            g.SetColWidths(i, static_cast<int>(rounded) + 1);
            err -= 1.0;
        } else {
            g.SetColWidths(i, static_cast<int>(rounded));
        }
    }
}

void TAdvMultiColumnDropDown::PopupSizing(TObject* Sender) {
    TAdvCustomDropDown::PopupSizing(Sender);
    FitColumnWidths();
}

void TAdvMultiColumnDropDown::ClosePopup(bool Cancelled) {
    if (!DropDownForm() || !DropDownForm()->Visible()) {
        TAdvCustomDropDown::ClosePopup(Cancelled);
        return;
    }
    TAdvCustomDropDown::ClosePopup(Cancelled);
    if (Cancelled) {
        SetItemIndex(FOldItemIndex);
        return;
    }
    if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) SetItemIndex(FAdvColGrid->Row() - 1);
    FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::GridSelectCell(TObject*, int, int ARow, bool&) {
    if (!FAdvColGrid || FAdvColGrid->MouseWheelSelection() || FShowing) return;
    SetItemIndex(ARow - 1);
}

void TAdvMultiColumnDropDown::GridSelect(TObject*) {
    if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) SetItemIndex(FAdvColGrid->Row() - 1);
    ClosePopup(false);
    if (OnSelect) OnSelect(this);
}

// ---------------------------------------------------------------------------------------------
// The grid's keys and its type-ahead

namespace {

bool GridKey(WORD key) { return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN; }

}  // namespace

void TAdvMultiColumnDropDown::ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
    TAdvCustomDropDown::ControlKeyDown(Sender, Key, Shift);
}

void TAdvMultiColumnDropDown::ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
    TAdvCustomDropDown::ControlKeyUp(Sender, Key, Shift);
}

void TAdvMultiColumnDropDown::ControlKeyPress(TObject*, char16_t& Key) {
    const char16_t ch = Key;
    const bool navigation = ch == 13 || ch == 27 || (ch >= 33 && ch <= 36) || ch == 38 || ch == 40;
    if ((navigation && GetKeyState(VK_MENU) >= 0) ||
        (FAdvColGrid && FAdvColGrid->Options().Contains(goEditing))) {
        FLookupEntry.clear();
        return;
    }
    const int r = LookupTypedChar(ch);
    // Backspace shortens the entry and searches nothing: the shortened entry is kept.
    if (ch == 8) return;
    if (r < 0) {
        FLookupEntry.clear();
        return;
    }
    if (!FAdvColGrid) return;
    TAdvColGrid& g = *FAdvColGrid;
    const int row = g.FixedRows() + r;
    if (row < g.TopRow() || row > g.TopRow() + g.VisibleRowCount()) g.SetTopRow(row);
    g.SetRow(row);
    g.SetCol(0);
}

int TAdvMultiColumnDropDown::LookupTypedChar(char16_t ch) {
    if (ch == 8) {
        if (SelLength() == 0) {
            if (!FLookupEntry.empty()) FLookupEntry.pop_back();
            WriteText(FLookupEntry);
            SetSelStart(static_cast<int>(FLookupEntry.size()));
        } else {
            String rest = TCustomMaskEdit::Text();
            rest.erase(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
            WriteText(rest);
            SetSelStart(static_cast<int>(rest.size()));
        }
        return -1;
    }
    if (ch != 9) FLookupEntry += ch;
    String text;
    if (const int r = FindLookupMatch(FLookupEntry, text); r >= 0) {
        FItemIndex = r;
        WriteText(text);
        SetSelStart(static_cast<int>(FLookupEntry.size()));
        SetSelLength(static_cast<int>(text.size() - std::min(text.size(), FLookupEntry.size())));
        return r;
    }
    if (const int r = FindLookupMatch(String(1, ch), text); r >= 0) {
        FItemIndex = r;
        WriteText(text);
        FLookupEntry = String(1, ch);
        return r;
    }
    FLookupEntry.clear();
    return -1;
}

int TAdvMultiColumnDropDown::FindLookupMatch(const String& s, String& text) const {
    if (!FAdvColGrid || s.empty()) return -1;
    const String p = FCaseSensitive ? s : AnsiUpperCase(s);
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::optional<String> t = LookupText(i);
        if (!t || t->size() < p.size()) continue;
        const String head(t->substr(0, p.size()));
        if ((FCaseSensitive ? head : AnsiUpperCase(head)) != p) continue;
        text = *t;
        return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The edit: auto-complete and keys

void TAdvMultiColumnDropDown::HandleChange() {
    FItemChange = false;
    TAdvCustomDropDown::HandleChange();
    if (ComponentState().Contains(csDesigning) || !FWorkMode) return;
    const String text = TCustomMaskEdit::Text();
    SetModifiedFlag(text != FOldValue);
    if (FWriting || FLookupItems->Count() == 0) return;
    const advdropdown::TCompletion c = advdropdown::CompleteEdit(
        *this, FMatchCase, FLookupItems->Count(), [this](int i) { return std::optional<String>(FLookupItems->Strings(i)); },
        [this](const String& t) {
            advdropdown::TFlagGuard writing(FWriting);
            SetPlainText(t);
        });
    if (c.Index < 0) return;
    FItemIndex = FItemIdx = c.Index;
    FItemSel = c.Prefix;
    FItemChange = true;
}

void TAdvMultiColumnDropDown::HandleKeyDown(WORD& Key, TShiftState Shift) {
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TAdvCustomDropDown::HandleKeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN:
            if (const int i = FLookupItems->IndexOf(TCustomMaskEdit::Text()); i >= 0) {
                WriteText(FLookupItems->Strings(i));
                SetItemIndex(i);
                HandleChange();
            }
            if (FReturnIsTab) {
                if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
                Key = 0;
            }
            break;
        default: FWorkMode = true; break;
    }
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (Key == VK_ESCAPE) SetItemIndex(FLookupItems->IndexOf(TCustomMaskEdit::Text()));
}

void TAdvMultiColumnDropDown::HandleKeyPress(char16_t& Key) {
    if (Key == u'\r' && FReturnIsTab) {
        Key = 0;
        return;
    }
    TAdvCustomDropDown::HandleKeyPress(Key);
}

void TAdvMultiColumnDropDown::HandleKeyUp(WORD& Key, TShiftState Shift) {
    if (!(Key == VK_RETURN && FReturnIsTab)) TCustomMaskEdit::KeyUp(Key, Shift);
    if (!FItemChange) return;
    SetItemIndex(FItemIdx);
    Perform(EM_SETSEL, static_cast<WPARAM>(FItemSel), static_cast<LPARAM>(TCustomMaskEdit::Text().size()));
    FItemChange = false;
}

void TAdvMultiColumnDropDown::StepDown() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvMultiColumnDropDown::StepUp() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TAdvMultiColumnDropDown::KeyDownMessage(TMessage& Message) {
    const WORD key = static_cast<WORD>(Message.WParam);
    TAdvCustomDropDown::KeyDownMessage(Message);
    if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
    const int count = FItems->Count();
    switch (key) {
        case VK_PRIOR:
            if (count > 0) SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - kPageStep, 0));
            break;
        case VK_NEXT:
            if (count > 0) SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + kPageStep, count - 1));
            break;
        case VK_END:
            if (!EditorEnabled() && count > 0) SetItemIndex(count - 1);
            break;
        case VK_HOME:
            if (!EditorEnabled() && count > 0) SetItemIndex(0);
            break;
        case VK_UP: StepUp(); break;
        case VK_DOWN: StepDown(); break;
        default: break;
    }
}

void TAdvMultiColumnDropDown::WheelSelectNext() {
    TAdvCustomDropDown::WheelSelectNext();
    StepDown();
}

void TAdvMultiColumnDropDown::WheelSelectPrevious() {
    TAdvCustomDropDown::WheelSelectPrevious();
    StepUp();
}

// ---------------------------------------------------------------------------------------------
// Styles

void TAdvMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Style) {
    if (Style == scOffice2007) {
        FLineColor = 0xF1EDEB;
        FFixedLineColor = 0xD1BBA4;
    } else if (Style == scWindowsVista || Style == scWindows7) {
        FLineColor = 0xECECF0;
        FFixedLineColor = 0xD4D2D1;
    }
    TAdvCustomDropDown::SetSelectionColorStyle(Style);
}

namespace {

constexpr TColor kKeep = static_cast<TColor>(0x7FFFFFFF);

// A row of the style table: header colours, selection style, header font colour (kKeep: left
// alone), line colour; Highlight: the selection colours and text are the system's highlight;
// Selection: the selection colours (kKeep: the selection style's preset).
struct TGridLook {
    TColor Header, HeaderTo;
    int SelectionStyle;
    TColor Font, Lines;
    bool Highlight;
    TColor Selection;
};

constexpr TGridLook kGridLooks[] = {
    /* tsOffice2003Blue */ {0xD68759, 0x933803, 1, 0xFFFFFF, 0x962D00, false, kKeep},
    /* tsOffice2003Silver */ {0xBDA4A5, 0x957475, 1, kKeep, 0x947C7C, false, kKeep},
    /* tsOffice2003Olive */ {0x82C0AF, 0x447A63, 1, kKeep, 0x588060, false, kKeep},
    /* tsOffice2003Classic */ {0x808080, 0x808080, 1, kKeep, 0x808080, false, kKeep},
    /* tsOffice2007Luna */ {0xFFEFE3, 0xFFD2AF, 1, 0x723708, 0xFFD2AF, false, kKeep},
    /* tsOffice2007Obsidian */ {0xF2F1F0, 0xC9C2BD, 1, 0x433C37, 0x5C534C, false, kKeep},
    /* tsWindowsXP */ {clBtnFace, clBtnFace, 0, 0, 0xC0C0C0, true, kKeep},
    /* tsWhidbey */ {0xEBEEEF, 0x7E9898, 1, 0xFFFFFF, 0x962D00, false, kKeep},
    /* tsCustom */ {},
    /* tsOffice2007Silver */ {0xF8F7F6, 0xE8E0DB, 1, 0x8B4215, 0x74706F, false, kKeep},
    /* tsWindowsVista */ {0xFFFDF9, 0xFFFAF0, 2, 0, 0xFCF2DA, false, kKeep},
    /* tsWindows7 */ {0xFDFBFA, 0xFDF3EB, 3, 0, 0xFBD6B8, false, kKeep},
    /* tsTerminal */ {clBtnFace, clBtnFace, 0, 0, 0x808080, true, kKeep},
    /* tsOffice2010Blue */ {0xEDDBCD, clNone, 0, 0x5B391E, 0xEEDDCF, false, 0x6CD0FF},
    /* tsOffice2010Silver */ {0xEDE9E5, clNone, 0, 0x5B391E, 0xEEDDCF, false, 0x6CD0FF},
    /* tsOffice2010Black */ {0x828282, clNone, 0, 0xD7D7D6, 0xEEDDCF, false, 0x6CD0FF},
};

}  // namespace

void TAdvMultiColumnDropDown::SetComponentStyle(TQRBStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    if (AStyle == tsCustom || AStyle >= std::size(kGridLooks)) return;
    const TGridLook& l = kGridLooks[AStyle];
    FHeaderColor = l.Header;
    FHeaderColorTo = l.HeaderTo;
    auto lines = [&] {
        FLineColor = l.Lines;
        // The XP row's header lines are black; every other row uses one colour for both.
        FFixedLineColor = AStyle == tsWindowsXP ? TColor(0) : l.Lines;
    };
    if (l.SelectionStyle > 0) {
        SetSelectionColorStyle(static_cast<TSelectionColorStyle>(l.SelectionStyle));
        lines();
    } else {
        lines();
        SetSelectionColorStyle(scCustom);
        if (l.Highlight) {
            SetSelectionColor(clHighlight);
            SetSelectionColorTo(clHighlight);
        } else if (l.Selection != kKeep) {
            SetSelectionColor(l.Selection);
            SetSelectionColorTo(l.Selection);
        }
    }
    if (l.Font != kKeep) FHeaderFont->SetColor(l.Font);
    FSelectionTextColor = l.Highlight ? clHighlightText : TColor(0);
}
