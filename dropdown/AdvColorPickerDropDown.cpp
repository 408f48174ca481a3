// The colour box selector of the colour picker's pop-up.
#include "dropdown/AdvColorPickerDropDown.h"

#include <algorithm>

#include "platform/ui/WinUser.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
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

// ---------------------------------------------------------------------------------------------
// The colour picker's items

void TColorItem::SetCaption(const String& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void TColorItem::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed(false);
}

void TColorItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TColorItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

// ---------------------------------------------------------------------------------------------
// The colour picker

TAdvColorPickerDropDown::TAdvColorPickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
    FColors->OnChange = [](TObject*) {};
    FKeyTimer = NewComponent<TTimer>(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(kKeyTimeoutMs);
    FKeyTimer->OnTimer = [this](TObject*) {
        FKeyTimer->SetEnabled(false);
        FCurSearch.clear();
    };
    // Placed in the designer: neither read from a form file nor loaded.
    const TComponentState owner = AOwner ? AOwner->ComponentState() : TComponentState();
    FDesignTime = ComponentState().Contains(csDesigning) && !owner.Contains(csReading) && !owner.Contains(csLoading);
}

TAdvColorPickerDropDown::~TAdvColorPickerDropDown() {
    if (FKeyTimer) FKeyTimer->SetEnabled(false);
}

void TAdvColorPickerDropDown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetDropDownHeight(200);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetCursor(crArrow);
}

void TAdvColorPickerDropDown::CreateWnd() {
    TAdvCustomDropDown::CreateWnd();
    if (FDesignTime && FColors->Count() == 0) {
        FDesignTime = false;
        AddDefaultColors();
    }
}

void TAdvColorPickerDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FItemSelector) FItemSelector = nullptr;
    if (AComponent == FColorSelector) FColorSelector = nullptr;
    if (AComponent == FColorCubePanel) FColorCubePanel = nullptr;
    if (AComponent == FKeyTimer) FKeyTimer = nullptr;
}

void TAdvColorPickerDropDown::AddDefaultColors() {
    static constexpr struct {
        const char16_t* caption;
        uint32_t color;
    } kDefault[16] = {
        {u"Black", 0x000000},  {u"Maroon", 0x000080}, {u"Green", 0x008000},   {u"Olive", 0x008080},
        {u"Navy", 0x800000},   {u"Purple", 0x800080}, {u"Teal", 0x808000},    {u"Gray", 0x808080},
        {u"Silver", 0xC0C0C0}, {u"Red", 0x0000FF},    {u"Lime", 0x00FF00},    {u"Yellow", 0x00FFFF},
        {u"Blue", 0xFF0000},   {u"Fuchsia", 0xFF00FF}, {u"Aqua", 0xFFFF00},   {u"White", 0xFFFFFF},
    };
    for (const auto& c : kDefault) {
        TColorItem* item = FColors->Add();
        item->SetCaption(c.caption);
        item->SetColor(static_cast<TColor>(c.color));
    }
}

void TAdvColorPickerDropDown::SetItemIndex(int Value) {
    if (Value >= FColors->Count()) return;
    FItemIndex = Value < 0 ? -1 : Value;
    if (FItemIndex >= 0) FSelectedColor = FColors->Items(FItemIndex)->Color();
    Invalidate();
    if (OnSelect) OnSelect(this);
}

void TAdvColorPickerDropDown::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    int found = -1;
    for (int i = 0; i < FColors->Count() && found < 0; ++i)
        if (FColors->Items(i)->Color() == Value) found = i;
    // A colour on no item selects none: the text must not name an item of another colour.
    SetItemIndex(found);
    Invalidate();
}

void TAdvColorPickerDropDown::SetShowText(bool value) {
    if (value == FShowText) return;
    FShowText = value;
    Invalidate();
}

String TAdvColorPickerDropDown::GetSelectedColorText() {
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->Items(FItemIndex)->Caption();
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(FSelectedColor));
    const unsigned r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    switch (FColorValueText) {
        case cvtNone: return String();
        case cvtHex: return IntToHex(static_cast<unsigned>(FSelectedColor), 6);
        case cvtWebName: return ColorToWebColorName(FSelectedColor);
        case cvtRGB:
            return String(u"Red:") + IntToStr(static_cast<int>(r)) + u",Green:" + IntToStr(static_cast<int>(g)) +
                   u",Blue:" + IntToStr(static_cast<int>(b));
        case cvtHTML: return String(u"#") + IntToHex(r, 2) + IntToHex(g, 2) + IntToHex(b, 2);
    }
    return String();
}

void TAdvColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value) {
    if (Value == FColorSelectionStyle) return;
    FColorSelectionStyle = Value;
    // The size the last pop-up closed with belongs to the old style's control.
    ForgetUserDropDownSize();
    if (ComponentState().Contains(csDesigning) || !DropDownForm()) return;
    BuildPopup();
    PreparePopup();
    if (TControl* c = StyleControl()) c->SetAlign(alNone);
    SizePopup();
    if (TControl* c = StyleControl()) c->SetAlign(alClient);
    FOldSelectedColor = FSelectedColor;
    DropDownForm()->Invalidate();
}

TControl* TAdvColorPickerDropDown::StyleControl() const {
    switch (FColorSelectionStyle) {
        case csList: return FItemSelector;
        case csDiscrete: return FColorSelector;
        case csColorCube: return FColorCubePanel;
        default: return nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void TAdvColorPickerDropDown::BuildItemSelector() {
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = NewComponent<TAdvCustomItemSelector>(this);
        FItemSelector->SetParent(DropDownForm());
        FItemSelector->SetSelectorType(stColor);
        FItemSelector->SetHeight(150);
        FItemSelector->UpdateSelectorPanel();
    }
    FItemSelector->SetLeft(0);
    FItemSelector->SetTop(0);
    FItemSelector->SetColor(DropDownColor());
    SetPopupControl(FItemSelector);
}

void TAdvColorPickerDropDown::BuildColorSelector() {
    if (!DropDownForm()) return;
    if (!FColorSelector) {
        FColorSelector = NewComponent<TCustomColorSelector>(this);
        FColorSelector->SetParent(DropDownForm());
        FColorSelector->AddDiscreteColors();
    }
    FColorSelector->ArrangeItems();
    FColorSelector->SetLeft(0);
    FColorSelector->SetTop(0);
    FColorSelector->SetColor(DropDownColor());
    SetPopupControl(FColorSelector);
}

void TAdvColorPickerDropDown::BuildCubePanel() {
    if (!DropDownForm()) return;
    if (!FColorCubePanel) {
        FColorCubePanel = NewComponent<TAdvColorCubePanel>(this);
        FColorCubePanel->SetParent(DropDownForm());
    }
    FColorCubePanel->SetLeft(0);
    FColorCubePanel->SetTop(0);
    FColorCubePanel->SetColor(DropDownColor());
    SetPopupControl(FColorCubePanel);
}

void TAdvColorPickerDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (FColorSelectionStyle == csDiscrete) BuildColorSelector();
    else if (FColorSelectionStyle == csColorCube) BuildCubePanel();
    else BuildItemSelector();
}

void TAdvColorPickerDropDown::LoadItemSelector() {
    if (!FItemSelector) return;
    TAdvCustomItemSelector& list = *FItemSelector;
    list.OnItemSelect = nullptr;
    list.SetColumns(FColumns);
    list.SetImages(Images());
    list.SetItemLayout(FLayout);
    list.SetColor(DropDownColor());
    TSelectorItems& items = *list.Items();
    items.BeginUpdate();
    try {
        items.Clear();
        for (int i = 0; i < FColors->Count(); ++i) {
            const TColorItem* c = FColors->Items(i);
            TSelectorItem* s = items.Add();
            s->SetCaption(c->Caption());
            s->SetColor(c->Color());
            s->SetHint(c->Hint());
        }
    } catch (...) {
        items.EndUpdate();
        throw;
    }
    items.EndUpdate();
    list.SetColorBoxHeight(FColorBoxHeight);
    list.SetColorBoxWidth(FColorBoxWidth);
    list.ItemAppearance()->Assign(FItemAppearance.get());
    list.UpdateSelectorPanel();
    list.SetItemIndex(FItemIndex);
    list.OnItemSelect = [this](TObject* Sender) { ListItemSelected(Sender); };
    list.SetShowHint(ShowHint());
}

void TAdvColorPickerDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    if (FColorSelectionStyle == csList) {
        BuildItemSelector();
        if (FItemSelector) {
            if (FColorSelector) FColorSelector->SetVisible(false);
            if (FColorCubePanel) FColorCubePanel->SetVisible(false);
            FItemSelector->SetVisible(true);
            LoadItemSelector();
            if (OnDrawColor)
                FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
                    OnDrawColor(this, Canvas, R, Index);
                };
            else
                FItemSelector->OnDrawItem = nullptr;
            FOldItemIndex = FItemIndex;
        }
    } else if (FColorSelectionStyle == csDiscrete) {
        BuildColorSelector();
        if (FColorSelector) {
            if (FItemSelector) FItemSelector->SetVisible(false);
            if (FColorCubePanel) FColorCubePanel->SetVisible(false);
            FColorSelector->OnItemSelect = nullptr;
            FColorSelector->SetSelectedColor(FSelectedColor);
            FColorSelector->ArrangeItems();
            FColorSelector->OnItemSelect = [this](TObject* Sender) { ColorBoxSelected(Sender); };
            FColorSelector->SetItemColorStyle(SelectionColorStyle());
            FColorSelector->SetVisible(true);
        }
    } else if (FColorSelectionStyle == csColorCube) {
        BuildCubePanel();
        if (FColorCubePanel) {
            if (FItemSelector) FItemSelector->SetVisible(false);
            if (FColorSelector) FColorSelector->SetVisible(false);
            FColorCubePanel->SetSelectedColor(FSelectedColor);
            FColorCubePanel->InitCubeCells();
            FColorCubePanel->ResetCubePanel();
            FColorCubePanel->OnSelect = [this](TObject* Sender) { CubeSelected(Sender); };
            FColorCubePanel->SetVisible(true);
        }
    }
    FOldSelectedColor = FSelectedColor;
}

void TAdvColorPickerDropDown::DockPopupControl() {
    TAdvCustomDropDown::DockPopupControl();
    if (FColorSelectionStyle != csList && DropDownForm()) DropDownForm()->SetSizeable(false);
}

void TAdvColorPickerDropDown::SizePopup() {
    TDropDownForm* form = DropDownForm();
    if (FColorSelectionStyle == csList) {
        if (!FItemSelector) {
            TAdvCustomDropDown::SizePopup();
            return;
        }
        FItemSelector->SetAlign(alNone);
        const TSize size = FItemSelector->GetSelectorSize();
        if (DropDownWidth() < 1) FItemSelector->SetWidth(size.cx);
        if (DropDownHeight() < 1) FItemSelector->SetHeight(size.cy);
        TAdvCustomDropDown::SizePopup();
        if (form && FItemSelector->VertScrollBar()->IsScrollBarVisible())
            form->SetWidth(form->Width() + GetSystemMetrics(SM_CXVSCROLL));
        return;
    }
    if (!form) return;
    TControl* c = StyleControl();
    const bool shown = c && c->Visible();
    // The panels have a fixed size of their own, which a client alignment would have taken.
    if (c) c->SetAlign(alNone);
    if (FColorSelector && c == FColorSelector) FColorSelector->ArrangeItems();
    if (FColorCubePanel && c == FColorCubePanel) FColorCubePanel->ResetCubePanel();
    const int border = 2 * DropDownBorderWidth();
    int h = border;
    if (DropDownHeader()->Visible()) h += DropDownHeader()->Height();
    if (DropDownFooter()->Visible()) h += DropDownFooter()->Height();
    if (shown) h += c->Height();
    form->SetWidth(shown ? c->Width() + border : Width());
    form->SetHeight(h);
    if (c) c->SetAlign(alClient);
}

void TAdvColorPickerDropDown::ClosePopup(bool Cancelled) {
    TAdvCustomDropDown::ClosePopup(Cancelled);
    if (!Cancelled) return;
    if (FColorSelectionStyle == csList && FItemSelector) SetItemIndex(FOldItemIndex);
    else if (FColorSelectionStyle == csDiscrete && FColorSelector) FColorSelector->SetSelectedColor(FOldSelectedColor);
}

void TAdvColorPickerDropDown::PopupDestroyed(TObject* Sender) {
    TAdvCustomDropDown::PopupDestroyed(Sender);
    if (ComponentState().Contains(csDestroying)) return;
    FItemSelector = nullptr;
    FColorSelector = nullptr;
    FColorCubePanel = nullptr;
}

void TAdvColorPickerDropDown::CubeSelected(TObject*) {
    if (!FColorCubePanel) return;
    SetSelectedColor(FColorCubePanel->SelectedColor());
    SetItemIndex(-1);
    ClosePopup(false);
}

void TAdvColorPickerDropDown::ListItemSelected(TObject*) {
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall) ClosePopup(false);
}

void TAdvColorPickerDropDown::ColorBoxSelected(TObject*) {
    if (!FColorSelector) return;
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall) ClosePopup(false);
}

void TAdvColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Style) {
    TAdvCustomDropDown::SetSelectionColorStyle(Style);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Style);
}

void TAdvColorPickerDropDown::SetComponentStyle(TQRBStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---------------------------------------------------------------------------------------------
// The edit

void TAdvColorPickerDropDown::Paint() {
    TAdvCustomDropDown::Paint();
    PaintSelectedColor();
}

void TAdvColorPickerDropDown::PaintSelectedColor() {
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    TCanvas* canvas = TCanvas::FromHandle(dc);
    if (!canvas) return;
    TRect R(1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, canvas, R);
        ReleaseDC(Handle(), dc);
        return;
    }
    const int top = R.Top + (Height() - FColorBoxHeight) / 2;
    const TRect box(R.Left + 4, top, R.Left + 4 + FColorBoxWidth, top + FColorBoxHeight);
    if (FSelectedColor != clNone) {
        canvas->Pen()->SetColor(clBlack);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(FSelectedColor);
        canvas->Rectangle(box);
    }
    if (FShowText) {
        canvas->Font()->Assign(Font());
        const bool focused = Focused();
        if (!EditorEnabled() && focused) canvas->Font()->SetColor(clHighlightText);
        TRect T(box.Right + 4, R.Top, R.Right, R.Bottom);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(focused ? clHighlight : Color());
        const String text = GetSelectedColorText();
        DrawText(dc, text, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    ReleaseDC(Handle(), dc);
}

// ---------------------------------------------------------------------------------------------
// The colour cube

namespace {

// RRGGBB, row by row from the top, left to right.
constexpr uint32_t kCubeColors[TAdvColorCubePanel::kCells] = {
    0x003366, 0x336699, 0x3366CC, 0x003399, 0x000099, 0x0000CC, 0x000066,
    0x006666, 0x006699, 0x0099CC, 0x0066CC, 0x0033CC, 0x0000FF, 0x3333FF, 0x333399,
    0x008080, 0x009999, 0x33CCCC, 0x00CCFF, 0x0099FF, 0x0066FF, 0x3366FF, 0x3333CC, 0x666699,
    0x339966, 0x00CC99, 0x00FFCC, 0x00FFFF, 0x33CCFF, 0x3399FF, 0x6699FF, 0x6666FF, 0x6600FF, 0x6600CC,
    0x339933, 0x00CC66, 0x00FF99, 0x66FFCC, 0x66FFFF, 0x66CCFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9900FF,
    0x006600, 0x00CC00, 0x00FF00, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCECFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC00FF,
    0x9900CC,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    0x336600, 0x009900, 0x66FF33, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF33CC, 0xCC0099,
    0x800080,
    0x333300, 0x669900, 0x99FF33, 0xCCFF66, 0xFFFF99, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xCC3399, 0x990099,
    0x666633, 0x99CC00, 0xCCFF33, 0xFFFF66, 0xFFCC66, 0xFF9966, 0xFF7C80, 0xFF0066, 0xD60093, 0x993366,
    0x808000, 0xCCCC00, 0xFFFF00, 0xFFCC00, 0xFF9933, 0xFF6600, 0xFF5050, 0xCC0066, 0x660033,
    0x996633, 0xCC9900, 0xFF9900, 0xCC6600, 0xFF3300, 0xFF0000, 0xCC0000, 0x990033,
    0x663300, 0x996600, 0xCC3300, 0x993300, 0x990000, 0x800000, 0xA50021,
};

void DrawHexagon(TCanvas* Canvas, int cx, int cy, int W, int H) {
    const TPoint points[6] = {Point(cx - W, cy - H), Point(cx, cy - 2 * H), Point(cx + W, cy - H),
                              Point(cx + W, cy + H), Point(cx, cy + 2 * H), Point(cx - W, cy + H)};
    Canvas->Polygon(points, 6);
}

}  // namespace

TAdvColorCubePanel::TAdvColorCubePanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner) {
    InitCubeCells();
    SetShowRGBHint(true);
}

void TAdvColorCubePanel::SetShowRGBHint(bool value) {
    FShowRGBHint = value;
    SetShowHint(value);
}

void TAdvColorCubePanel::InitCubeCells() {
    FCubeSize = Point(6, 3);
    int n = 0;
    for (int r = 1; r <= 13; ++r) {
        const int count = r <= 7 ? 6 + r : 20 - r;
        const int x0 = r <= 7 ? 61 - 6 * r : 6 * r - 23;
        for (int c = 0; c < count; ++c, ++n) {
            FCubeCells[n].X = x0 + c * 2 * FCubeSize.X;
            FCubeCells[n].Y = 10 + 10 * r;
            FCubeCells[n].Color = Rgb(kCubeColors[n]);
        }
    }
}

void TAdvColorCubePanel::ResetCubePanel() {
    FHotIndex = -1;
    SetHeight(160);
    SetWidth(182);
}

void TAdvColorCubePanel::SelectCubeColor(TColor AColor, int Index) {
    FSelectedColor = AColor;
    if (Index >= 1 && Index <= kCells) {
        FSelectedIndex = Index;
        return;
    }
    FSelectedIndex = -1;
    for (int i = 1; i <= kCells; ++i)
        if (Cell(i).Color == AColor) {
            FSelectedIndex = i;
            return;
        }
}

int TAdvColorCubePanel::CellAtPos(int X, int Y) const {
    const int reach = FCubeSize.X * FCubeSize.X;
    for (int i = 1; i <= kCells; ++i) {
        const int dx = Cell(i).X - X, dy = Cell(i).Y - Y;
        if (dx * dx + dy * dy <= reach) return i;
    }
    return -1;
}

void TAdvColorCubePanel::DrawOutline(int i, TColor outer) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(outer);
    DrawHexagon(canvas, Cell(i).X, Cell(i).Y, FCubeSize.X - 1, FCubeSize.Y);
    canvas->Pen()->SetColor(clWhite);
    DrawHexagon(canvas, Cell(i).X, Cell(i).Y, FCubeSize.X - 2, FCubeSize.Y - 1);
}

void TAdvColorCubePanel::DrawCubeCell(int i) {
    if (i < 1 || i > kCells || !HandleAllocated()) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(Cell(i).Color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Cell(i).Color);
    DrawHexagon(canvas, Cell(i).X, Cell(i).Y, FCubeSize.X, FCubeSize.Y);
    if (i == FHotIndex) DrawOutline(i, static_cast<TColor>(0x0000FF));
    if (i == FSelectedIndex) DrawOutline(i, clBlack);
}

void TAdvColorCubePanel::Paint() {
    TAdvCustomColorSelectorPanel::Paint();
    for (int i = 1; i <= kCells; ++i) DrawCubeCell(i);
}

void TAdvColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i < 1) return;
    if (FSelectedIndex >= 1) {
        const int old = FSelectedIndex;
        FSelectedIndex = -1;
        DrawCubeCell(old);
    }
    SelectCubeColor(Cell(i).Color, i);
    DrawCubeCell(i);
    if (OnSelect) OnSelect(this);
}

void TAdvColorCubePanel::MouseMove(TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i >= 1) {
        if (i == FHotIndex) return;
        const int old = FHotIndex;
        FHotIndex = -1;
        DrawCubeCell(old);
        FHotIndex = i;
        DrawCubeCell(i);
        if (FShowRGBHint) {
            const uint32_t c = static_cast<uint32_t>(Cell(i).Color);
            SetHint(String(u"Red: ") + IntToStr(static_cast<int>(c & 0xFF)) + u",  Green: " +
                    IntToStr(static_cast<int>((c >> 8) & 0xFF)) + u",  Blue: " +
                    IntToStr(static_cast<int>((c >> 16) & 0xFF)));
            Application->CancelHint();
        }
    } else if (FShowRGBHint) {
        SetHint(String());
        Application->CancelHint();
    }
}

void TAdvColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide) OnShouldHide(this);
}
