// The colour box selector of the colour picker's pop-up.
#include "dropdown/AdvColorPickerDropDown.h"

#include <algorithm>

#include "platform/ui/WinUser.h"
#include "platform/win/Messages.h"

namespace {

// RRGGBB as written in web colours, to a colour (blue in the high byte).
constexpr TColor Rgb(uint32_t rrggbb) {
    return static_cast<TColor>(((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF));
}

// Ten per row: a row of separate boxes, then five rows that stack into column strips.
constexpr uint32_t kDiscrete[60] = {
    0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646,
    0xF2F2F2, 0x7F7F7F, 0xDDD9C3, 0xC2CEDA, 0xDBE5F1, 0xF2DCDB, 0xEBF1DD, 0xE5E0EC, 0xDBEEF3, 0xFDEADA,
    0xD8D8D8, 0x595959, 0xC4BD97, 0x8DB3E2, 0xB8CCE4, 0xE5B9B7, 0xD7E3BC, 0xCCC1D9, 0xB7DDE8, 0xFBD5B5,
    0xBFBFBF, 0x3F3F3F, 0x938953, 0x548DD4, 0x95B3D7, 0xD99694, 0xC3D69B, 0xB2A2C7, 0x92CDDC, 0xFAC08F,
    0xA5A5A5, 0x262626, 0x494429, 0x17365D, 0x366092, 0x953734, 0x76923C, 0x5F497A, 0x31859B, 0xE36C09,
    0x7F7F7F, 0x0C0C0C, 0x1D1B10, 0x0F243E, 0x244061, 0x632423, 0x4F6128, 0x3F3151, 0x205867, 0x974806,
};
constexpr TItemPos kDiscreteRows[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Appearance and boxes

void TColorBoxAppearance::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TColorBoxAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    BorderColor = s->BorderColor;
    OuterBorderColorHot = s->OuterBorderColorHot;
    InnerBorderColorHot = s->InnerBorderColorHot;
    OuterBorderColorSelected = s->OuterBorderColorSelected;
    InnerBorderColorSelected = s->InnerBorderColorSelected;
}

void TColorBoxItem::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed(false);
}

void TColorBoxItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TColorBoxItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
}

// ---------------------------------------------------------------------------------------------
// The selector

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TAdvCustomColorSelectorPanel(AOwner),
      FColorBoxAppearance(std::make_unique<TColorBoxAppearance>()),
      FItems(std::make_unique<TColorBoxItems>(this)) {
    SetItemColorStyle(scOffice2007);
    SetParentColor(true);
}

TCustomColorSelector::~TCustomColorSelector() = default;

bool TCustomColorSelector::Disabled(int Index) const {
    return Index >= 0 && Index < FItems->Count() && !FItems->Items(Index)->Enabled();
}

void TCustomColorSelector::DrawAtOnce(int Index) {
    if (HandleAllocated()) DrawSelectorItem(Index, Canvas());
}

void TCustomColorSelector::SetItemIndex(int Index) {
    if (Index < 0) Index = -1;
    if (Disabled(Index) || Index >= FItems->Count()) return;
    if (FItemIndex >= 0 && Index != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateSelectorItem(old);
    }
    FItemIndex = Index;
    if (Index < 0) return;
    FSelectedColor = FItems->Items(Index)->Color();
    DrawAtOnce(Index);
    if (OnItemSelect) OnItemSelect(this);
}

void TCustomColorSelector::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    int found = -1;
    if (Value != clNone)
        for (int i = 0; i < FItems->Count() && found < 0; ++i)
            if (FItems->Items(i)->Color() == Value) found = i;
    SetItemIndex(found);
}

void TCustomColorSelector::SetItemHot(int Index) {
    if (Index < 0) Index = -1;
    if (Index == FItemHot || Disabled(Index)) return;
    const int old = FItemHot;
    FItemHot = -1;
    InvalidateSelectorItem(old);
    FItemHot = Index;
    if (Index >= 0) DrawAtOnce(Index);
}

void TCustomColorSelector::SetColumns(int value) {
    if (value == FColumns) return;
    FColumns = value;
    ArrangeItems();
}

void TCustomColorSelector::SetColumnGap(int value) {
    if (value == FColumnGap) return;
    FColumnGap = value;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxWidth(int value) {
    if (value == FColorBoxWidth) return;
    FColorBoxWidth = value;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxHeight(int value) {
    if (value == FColorBoxHeight) return;
    FColorBoxHeight = value;
    ArrangeItems();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle value) {
    if (value == FItemColorStyle) return;
    FItemColorStyle = value;
    if (value == scCustom) return;
    TColorBoxAppearance* a = FColorBoxAppearance.get();
    a->OuterBorderColorSelected = static_cast<TColor>(0x0000FF);
    a->InnerBorderColorSelected = static_cast<TColor>(0x94E2FF);
    a->OuterBorderColorHot = static_cast<TColor>(0x3694F2);
    a->InnerBorderColorHot = static_cast<TColor>(0x94E2FF);
    a->BorderColor = static_cast<TColor>(0xC5C5C5);
}

void TCustomColorSelector::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TCustomColorSelector::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext() {
    if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious() {
    if (FItemIndex >= 0) SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext() {
    if (FItemHot + 1 < FItems->Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious() {
    if (FItemHot >= 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleSelectorKey(WORD Key, bool EditorEnabled, bool DroppedDown) {
    if (!Enabled() || Key < VK_PRIOR || Key > VK_DOWN) return;
    const bool free = !DroppedDown && EditorEnabled;
    // One row up or down while open; from no selection the first box.
    const auto step = [this](int delta) {
        const int target = FItemIndex < 0 ? 0 : FItemIndex + delta;
        if (target >= 0 && target < FItems->Count()) SetItemIndex(target);
    };
    switch (Key) {
        case VK_NEXT:
        case VK_END: SelectLast(); break;
        case VK_PRIOR:
        case VK_HOME: SelectFirst(); break;
        case VK_LEFT:
            if (!free) SelectPrevious();
            break;
        case VK_RIGHT:
            if (!free) SelectNext();
            break;
        case VK_UP:
            if (!DroppedDown) SelectPrevious();
            else step(-FColumns);
            break;
        case VK_DOWN:
            if (!DroppedDown) SelectNext();
            else step(FColumns);
            break;
        default: break;
    }
}

void TCustomColorSelector::AddDiscreteColors() {
    FItems->Clear();
    for (int i = 0; i < 60; ++i) {
        TColorBoxItem* item = FItems->Add();
        item->SetColor(Rgb(kDiscrete[i]));
        item->SetColorBoxPos(kDiscreteRows[i / 10]);
    }
}

TRect TCustomColorSelector::GetItemRect(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) return TRect(-1, -1, -1, -1);
    return FItems->Items(Index)->ItemRect();
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const {
    for (int i = 0; i < FItems->Count(); ++i)
        if (PtInRect(FItems->Items(i)->ItemRect(), Point(X, Y))) return i;
    return -1;
}

void TCustomColorSelector::GetItemsArea(TRect& Rect) {
    Rect = ClientRect();
    InflateRect(Rect, -FOffSetX, -FOffSetY);
}

void TCustomColorSelector::ComputeItemSize(TSize& Size) { Size = TSize(FColorBoxWidth, FColorBoxHeight); }

void TCustomColorSelector::ArrangeItems() {
    if (FItems->Count() == 0) {
        SetHeight(50);
        SetWidth(100);
        return;
    }
    FItemHot = -1;
    TSize size;
    ComputeItemSize(size);
    TRect area;
    GetItemsArea(area);
    int x = area.Left, y = area.Top, maxX = 0, column = 0;
    bool gap = false;
    const int last = FItems->Count() - 1;
    for (int i = 0; i <= last; ++i) {
        TColorBoxItem* item = FItems->Items(i);
        item->SetItemRect(TRect(x, y, x + size.cx, y + size.cy));
        ++column;
        if (i == last) break;
        if (item->ColorBoxPos() == ipStandAlone) gap = true;
        if (column < FColumns) {
            x += size.cx + FColumnGap;
        } else {
            if (gap) y += FColumnGap;
            gap = false;
            y += size.cy;
            maxX = std::max(maxX, x);
            x = area.Left;
            column = 0;
        }
    }
    SetHeight(y + size.cy + area.Top);
    SetWidth(std::max(x, maxX) + size.cx + area.Left + 1);
}

void TCustomColorSelector::DrawSelectorItem(int Index, TCanvas* Canvas) {
    if (Index < 0 || Index >= FItems->Count() || !Canvas) return;
    const TColorBoxItem* item = FItems->Items(Index);
    TRect r = item->ItemRect();
    if (r.Left < 0) return;
    const TColorBoxAppearance* a = FColorBoxAppearance.get();
    TColor outer = a->BorderColor, inner = clNone;
    const bool hot = Index == FItemHot, selected = Index == FItemIndex;
    if (hot) {
        outer = a->OuterBorderColorHot;
        inner = a->InnerBorderColorHot;
    }
    if (selected) {
        outer = a->OuterBorderColorSelected;
        inner = a->InnerBorderColorSelected;
    }
    if (item->Color() != clNone) {
        Canvas->Pen()->SetColor(item->Color());
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(item->Color());
        Canvas->Rectangle(r);
    }
    if (hot || selected) {
        Canvas->Brush()->SetStyle(bsClear);
        if (outer != clNone) {
            Canvas->Pen()->SetColor(outer);
            Canvas->Rectangle(r);
            InflateRect(r, -1, -1);
        }
        if (inner != clNone) {
            Canvas->Pen()->SetColor(inner);
            Canvas->Rectangle(r);
        }
        return;
    }
    Canvas->Pen()->SetColor(a->BorderColor);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    switch (item->ColorBoxPos()) {
        case ipStandAlone:
            Canvas->MoveTo(L, B);
            Canvas->LineTo(L, T);
            Canvas->LineTo(R, T);
            Canvas->LineTo(R, B);
            Canvas->LineTo(L, B);
            break;
        case ipTop:
            Canvas->MoveTo(L, B);
            Canvas->LineTo(L, T);
            Canvas->LineTo(R, T);
            Canvas->LineTo(R, B);
            break;
        case ipMiddle:
            Canvas->MoveTo(L, T);
            Canvas->LineTo(L, B);
            Canvas->MoveTo(R, T);
            Canvas->LineTo(R, B);
            break;
        case ipBottom:
            Canvas->MoveTo(L, T);
            Canvas->LineTo(L, B);
            Canvas->LineTo(R, B);
            Canvas->MoveTo(R, T);
            Canvas->LineTo(R, B + 1);
            break;
    }
}

void TCustomColorSelector::InvalidateSelectorItem(int Index) {
    if (Index < 0 || Index >= FItems->Count() || !HandleAllocated()) return;
    TRect r = FItems->Items(Index)->ItemRect();
    ::InvalidateRect(Handle(), &r, TRUE_);
}

void TCustomColorSelector::PaintItems() {
    for (int i = 0; i < FItems->Count(); ++i) DrawSelectorItem(i, Canvas());
}

void TCustomColorSelector::Paint() {
    TAdvCustomColorSelectorPanel::Paint();
    PaintItems();
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && !Disabled(i)) SetItemIndex(i);
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    SetItemHot(i >= 0 && Disabled(i) ? -1 : i);
}

void TCustomColorSelector::CMMouseLeave(TMessage& Message) {
    TAdvCustomColorSelectorPanel::CMMouseLeave(Message);
    SetItemHot(-1);
}
