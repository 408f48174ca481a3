// The detail drop-down: its items, the item selector in the pop-up and the drawing of the items,
// the auto-complete of the edit and the keys that move through the list.
#include "dropdown/AdvDetailDropDown.h"

#include <algorithm>

#include "dropdown/AdvDropDownComplete.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"
#include "render/ZivAVEZE.h"

// ---------------------------------------------------------------------------------------------
// The items

TDetailItem::TDetailItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TDetailItem::~TDetailItem() = default;

void TDetailItem::SetCaption(const String& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void TDetailItem::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Changed(false);
}

bool TDetailItem::HasImage() const { return FImage->Graphic() && !FImage->Graphic()->Empty(); }

void TDetailItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TDetailItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
}

int TDetailItems::IndexOf(const String& value) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == value) return i;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Construction

TAdvDetailDropDown::TAdvDetailDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)),
      FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>()) {
    FItems->OnChange = [](TObject*) {};
    FKeyTimer = NewComponent<TTimer>(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(kKeyTimeoutMs);
    FKeyTimer->OnTimer = [this](TObject*) {
        FKeyTimer->SetEnabled(false);
        FCurSearch.clear();
    };
    FCaptionFont->Assign(Font());
    FNotesFont->Assign(Font());
}

TAdvDetailDropDown::~TAdvDetailDropDown() {
    if (FKeyTimer) FKeyTimer->SetEnabled(false);
}

void TAdvDetailDropDown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    SetEditorEnabled(true);
    SetDropDownEnabled(true);
}

void TAdvDetailDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FItemSelector) FItemSelector = nullptr;
    if (AComponent == FKeyTimer) FKeyTimer = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The selection

void TAdvDetailDropDown::WriteText(const String& value) {
    advdropdown::TFlagGuard writing(FCompleting);
    SetText(value);
}

void TAdvDetailDropDown::SetItemIndex(int value) {
    if (value == FItemIndex) return;
    if (value >= 0 && value < FItems->Count()) {
        FItemIndex = value;
        WriteText(FItems->Items(value)->Caption());
        SetSelStart(0);
        SetSelLength(static_cast<int>(TCustomMaskEdit::Text().size()));
        Invalidate();
        if (FItemSelector) FItemSelector->Invalidate();
        if (OnSelect) OnSelect(this);
    } else if (value == -1) {
        WriteText(String());
        FItemIndex = -1;
    }
}

void TAdvDetailDropDown::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvDetailDropDown::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvDetailDropDown::SelectNext() {
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvDetailDropDown::SelectPrevious() {
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

template <class F>
void TAdvDetailDropDown::Internal(F&& f) {
    advdropdown::TFlagGuard internal(FInternalCall);
    f();
}

void TAdvDetailDropDown::SelectInList(int index) {
    if (!FItemSelector || index >= FItemSelector->Items()->Count()) return;
    Internal([&] { FItemSelector->SetItemIndex(index); });
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void TAdvDetailDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = NewComponent<TAdvCustomItemSelector>(this);
        FItemSelector->SetParent(DropDownForm());
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetLeft(0);
        FItemSelector->SetTop(0);
        FItemSelector->SetHeight(150);
        FItemSelector->SetDoubleBuffered(true);
        FItemSelector->OnDrawItem = [this](TObject* Sender, TCanvas* Canvas, TRect R, int Index) {
            DrawListItem(Sender, Canvas, R, Index);
        };
        FItemSelector->OnItemSize = [this](TObject* Sender, TSize& ASize) { MeasureListItem(Sender, ASize); };
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->OnResize = [this](TObject*) {
            if (FItemSelector) FItemSelector->UpdateSelectorPanel();
        };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetPopupControl(FItemSelector);
}

void TAdvDetailDropDown::LoadItemSelector() {
    if (!FItemSelector) return;
    TAdvCustomItemSelector& list = *FItemSelector;
    list.OnItemSelect = nullptr;
    list.SetColumns(1);
    list.SetImages(Images());
    list.SetItemLayout(FLayout);
    list.SetColor(DropDownColor());
    list.ItemAppearance()->Assign(FItemAppearance.get());
    // Held while filling: every caption would lay the panel out again.
    TSelectorItems& items = *list.Items();
    items.BeginUpdate();
    try {
        items.Clear();
        for (int i = 0; i < FItems->Count(); ++i) {
            const TDetailItem* d = FItems->Items(i);
            TSelectorItem* s = items.Add();
            s->SetCaption(d->Caption());
            s->SetImage(d->Image());
            s->SetImageIndex(d->ImageIndex());
        }
    } catch (...) {
        items.EndUpdate();
        throw;
    }
    items.EndUpdate();
    list.UpdateSelectorPanel();
    list.SetItemIndex(FItemIndex);
    list.OnItemSelect = [this](TObject* Sender) { ListItemSelected(Sender); };
}

void TAdvDetailDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    LoadItemSelector();
    FOldItemIndex = FItemIndex;
}

void TAdvDetailDropDown::OpenPopup() {
    TAdvCustomDropDown::OpenPopup();
    if (DroppedDown() && FItemSelector && FItemSelector->CanFocus()) FItemSelector->SetFocus();
}

void TAdvDetailDropDown::SizePopup() {
    if (FItemSelector) {
        FItemSelector->SetAlign(alNone);
        if (DropDownWidth() <= 0) FItemSelector->SetWidth(Width());
        if (DropDownHeight() <= 0) FItemSelector->SetHeight(kListHeight);
    }
    TAdvCustomDropDown::SizePopup();
}

void TAdvDetailDropDown::ClosePopup(bool Cancelled) {
    TAdvCustomDropDown::ClosePopup(Cancelled);
    if (Cancelled && FItemSelector && FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
}

void TAdvDetailDropDown::PopupSizing(TObject* Sender) {
    TAdvCustomDropDown::PopupSizing(Sender);
    if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TAdvDetailDropDown::ListItemSelected(TObject*) {
    if (!FItemSelector) return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (FItemIndex >= 0 && FItemIndex < FItems->Count()) WriteText(FItems->Items(FItemIndex)->Caption());
    SelectAll();
    if (!FInternalCall) ClosePopup(false);
}

// ---------------------------------------------------------------------------------------------
// The list's items

void TAdvDetailDropDown::MeasureListItem(TObject*, TSize& ASize) {
    int w = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->Width() : Width());
    if (FItemSelector && FItemSelector->VertScrollBar()->IsScrollBarVisible()) w -= GetSystemMetrics(SM_CXVSCROLL);
    ASize.cx = w - 2 * GetSystemMetrics(SM_CXBORDER) - 4;
    ASize.cy = FItemHeight;
}

void TAdvDetailDropDown::DrawListItem(TObject*, TCanvas* Canvas, TRect R, int Index) {
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (Index < 0 || Index >= FItems->Count()) return;
    const TDetailItem* item = FItems->Items(Index);
    const String& caption = item->Caption();
    // Beside a caption at the left; alone, centred.
    auto left = [&](int width) { return caption.empty() ? R.Left + (R.Right - R.Left - width) / 2 : R.Left + 2; };
    if (!item->HasImage()) {
        if (TCustomImageList* images = Images(); images && item->ImageIndex() >= 0) {
            images->Draw(Canvas, left(images->Width()), R.Top + (R.Bottom - R.Top - images->Height()) / 2,
                         item->ImageIndex(), true);
            R.Left += images->Width() + 4;
        }
    } else {
        TPicture* picture = item->Image();
        if (auto* bitmap = dynamic_cast<TBitmap*>(picture->Graphic())) {
            bitmap->SetTransparentMode(tmAuto);
            bitmap->SetTransparent(true);
        }
        Canvas->Draw(left(picture->Width()), R.Top + (R.Bottom - R.Top - picture->Height()) / 2, picture->Graphic());
        R.Left += picture->Width() + 4;
    }

    const bool hot = FItemSelector && FItemSelector->ItemHot() == Index;
    const bool selected = Index == FItemIndex;
    auto stateColour = [&](TFont* font) {
        if (selected) font->SetColor(FItemAppearance->ColorSelectedText);
        else if (hot) font->SetColor(FItemAppearance->ColorHotText);
    };
    Canvas->Font()->Assign(FCaptionFont.get());
    stateColour(Canvas->Font());
    Canvas->Brush()->SetStyle(bsClear);
    R.Left += 4;
    R.Top += 2;
    R.Right -= 4;
    DrawText(Canvas->Handle(), caption, -1, &R, DT_END_ELLIPSIS);
    if (item->Notes().empty()) return;

    R.Top += Canvas->TextHeight(u"gh");
    Canvas->Font()->Assign(FNotesFont.get());
    stateColour(Canvas->Font());
    String anchor, strip, focusAnchor, title, controlID, controlValue, controlType;
    int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
    TRect hoverRect, controlRect;
    HtmlRenderText(Canvas, item->Notes(), R, Images(), -1, -1, -1, -1, 2, false, false, false, false, false, false,
                   true, false, 1.0, clBlue, clNone, clNone, 0x808080, anchor, strip, focusAnchor, title, xSize, ySize,
                   links, mouseLink, hoverRect, controlRect, controlID, controlValue, controlType, nullptr, nullptr,
                   nullptr, bdLeftToRight);
}

// ---------------------------------------------------------------------------------------------
// Typing: auto-complete, type-ahead and the keys

void TAdvDetailDropDown::HandleChange() {
    FItemChange = false;
    TAdvCustomDropDown::HandleChange();
    if (ComponentState().Contains(csDesigning) || !FWorkMode) return;
    const String text = TCustomMaskEdit::Text();
    SetModifiedFlag(text != FOldValue);
    // The drop-down's own writes note Modified again and stop there.
    if (FCompleting || FItems->Count() == 0) return;
    const advdropdown::TCompletion c = advdropdown::CompleteEdit(
        *this, FMatchCase, FItems->Count(), [this](int i) { return std::optional<String>(FItems->Items(i)->Caption()); },
        [this](const String& t) {
            advdropdown::TFlagGuard writing(FCompleting);
            SetPlainText(t);
        },
        kMaxCompletion);
    if (c.Index < 0) return;
    FItemIndex = FItemIdx = c.Index;
    FItemSel = c.Prefix;
    FItemChange = true;
}

void TAdvDetailDropDown::HandleKeyDown(WORD& Key, TShiftState Shift) {
    if (FItems->Count() == 0) {
        TAdvCustomDropDown::HandleKeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN:
            if (const int i = FItems->IndexOf(TCustomMaskEdit::Text()); i >= 0) {
                WriteText(FItems->Items(i)->Caption());
                SetItemIndex(i);
                HandleChange();
            }
            break;
        default: FWorkMode = true; break;
    }
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (Key == VK_ESCAPE)
        if (const int i = FItems->IndexOf(TCustomMaskEdit::Text()); i >= 0) SetItemIndex(i);
}

void TAdvDetailDropDown::HandleKeyUp(WORD& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyUp(Key, Shift);
    if (!FItemChange) return;
    SetItemIndex(FItemIdx);
    const int length = static_cast<int>(TCustomMaskEdit::Text().size());
    Perform(EM_SETSEL, static_cast<WPARAM>(FItemSel), length);
    FItemChange = false;
}

void TAdvDetailDropDown::KeyDownMessage(TMessage& Message) {
    const WORD key = static_cast<WORD>(Message.WParam);
    if (!Enabled() || GetKeyState(VK_MENU) < 0) {
        TAdvCustomDropDown::KeyDownMessage(Message);
        return;
    }
    const bool open = DroppedDown() && FItemSelector;
    TAdvCustomItemSelector* list = FItemSelector;
    auto page = [&](int direction) {
        if (!list) return;
        if (list->Items()->Count() != FItems->Count()) LoadItemSelector();
        const int n = list->GetVisibleItemCount();
        if (n < 1) return;
        int index = list->ItemIndex() + direction * n;
        if (direction < 0) index = std::max(index, 0);
        else index = std::min(index, FItems->Count() - 1);
        if (index >= 0) SelectInList(index);
    };
    switch (key) {
        case VK_PRIOR: page(-1); break;
        case VK_NEXT: page(1); break;
        case VK_END:
            if (open) Internal([&] { list->SelectLast(); });
            else if (!EditorEnabled()) SelectLast();
            break;
        case VK_HOME:
            if (open) Internal([&] { list->SelectFirst(); });
            else if (!EditorEnabled()) SelectFirst();
            break;
        case VK_LEFT:
            if (open && !EditorEnabled()) Internal([&] { list->SelectPrevious(); });
            break;
        case VK_RIGHT:
            if (open && !EditorEnabled()) Internal([&] { list->SelectNext(); });
            break;
        case VK_UP:
            if (open) {
                const int index = list->ItemIndex() < 0 ? 0 : list->ItemIndex() - 1;
                if (index >= 0) SelectInList(index);
                Invalidate();
            } else {
                SelectPrevious();
            }
            break;
        case VK_DOWN:
            if (open) {
                SelectInList(list->ItemIndex() < 0 ? 0 : list->ItemIndex() + 1);
                Invalidate();
            } else {
                SelectNext();
            }
            break;
        default:
            if (list && GetKeyState(VK_CONTROL) >= 0) {
                FCurSearch += static_cast<char16_t>(key);
                Internal([&] { list->LookupItem(FCurSearch); });
                if (FKeyTimer) {
                    FKeyTimer->SetEnabled(false);
                    FKeyTimer->SetEnabled(true);
                }
            }
            break;
    }
    if (DroppedDown()) {
        switch (key) {
            case VK_PRIOR:
            case VK_NEXT:
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                Message.WParam = 0;
                Message.Result = 1;
                return;
            default: break;
        }
    }
    TAdvCustomDropDown::KeyDownMessage(Message);
}

void TAdvDetailDropDown::WheelSelectNext() {
    TAdvCustomDropDown::WheelSelectNext();
    if (!DroppedDown() || !FItemSelector) {
        SelectNext();
    } else {
        const int index = FItemSelector->ItemIndex() < 0 ? 0 : FItemSelector->ItemIndex() + 1;
        if (index < FItemSelector->Items()->Count()) SelectInList(index);
    }
    Invalidate();
}

void TAdvDetailDropDown::WheelSelectPrevious() {
    TAdvCustomDropDown::WheelSelectPrevious();
    if (!DroppedDown() || !FItemSelector) {
        SelectPrevious();
    } else {
        const int index = FItemSelector->ItemIndex() < 0 ? 0 : FItemSelector->ItemIndex() - 1;
        if (index >= 0) SelectInList(index);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Styles

void TAdvDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Style) {
    TAdvCustomDropDown::SetSelectionColorStyle(Style);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Style);
}

void TAdvDetailDropDown::SetComponentStyle(TQRBStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}
