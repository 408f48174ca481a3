// The item selector of unit AdvDropDown: items, their look, the panel and the scrolling wrapper.
#include <algorithm>

#include "dropdown/AdvDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/WinUser.h"
#include "render/VarAvir.h"
#include "render/ZivAVEZE.h"

// ---------------------------------------------------------------------------------------------
// Items

TSelectorItem::TSelectorItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TSelectorItem::~TSelectorItem() = default;

void TSelectorItem::SetCaption(const String& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void TSelectorItem::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed(false);
}

void TSelectorItem::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Changed(false);
}

bool TSelectorItem::HasImage() const { return FImage->Graphic() && !FImage->Graphic()->Empty(); }

void TSelectorItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TSelectorItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

// ---------------------------------------------------------------------------------------------
// The look

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->SetName(String("Tahoma"));
    SetColorStyle(scOffice2007);
    ColorSelectedText = clBlack;
    ColorHotText = clBlack;
    BorderColorHot = clNone;
    BorderColorSelected = clNone;
}

TItemAppearance::~TItemAppearance() = default;

void TItemAppearance::SetColorStyle(TSelectionColorStyle Style) {
    if (Style == FColorStyle) return;
    FColorStyle = Style;
    struct Preset {
        TColor hot, hotTo, mirrorHot, mirrorHotTo, top, bottom, border, edge, selected, selectedTo, mirrorSelected,
            mirrorSelectedTo;
    };
    static constexpr Preset presets[] = {
        {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
         0x68E3F9},
        {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
        {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
    };
    if (Style == scCustom) return;
    const Preset& p = presets[Style - 1];
    ColorHot = p.hot;
    ColorHotTo = p.hotTo;
    ColorMirrorHot = p.mirrorHot;
    ColorMirrorHotTo = p.mirrorHotTo;
    BorderColorTop = p.top;
    BorderColorBottom = p.bottom;
    BorderColor = p.border;
    EdgeColor = p.edge;
    ColorSelected = p.selected;
    ColorSelectedTo = p.selectedTo;
    ColorMirrorSelected = p.mirrorSelected;
    ColorMirrorSelectedTo = p.mirrorSelectedTo;
}

void TItemAppearance::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TItemAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    ColorMirrorHotTo = s->ColorMirrorHotTo;
    BorderColor = s->BorderColor;
    ColorMirrorHot = s->ColorMirrorHot;
    ColorSelectedTo = s->ColorSelectedTo;
    ColorSelected = s->ColorSelected;
    EdgeColor = s->EdgeColor;
    ColorHotTo = s->ColorHotTo;
    BorderColorBottom = s->BorderColorBottom;
    ColorHot = s->ColorHot;
    BorderColorTop = s->BorderColorTop;
    ColorMirrorSelectedTo = s->ColorMirrorSelectedTo;
    ColorMirrorSelected = s->ColorMirrorSelected;
    FFont->Assign(s->FFont.get());
    SetColorStyle(s->FColorStyle);
    ColorSelectedText = s->ColorSelectedText;
    ColorHotText = s->ColorHotText;
    BorderColorHot = s->BorderColorHot;
    BorderColorSelected = s->BorderColorSelected;
}

// ---------------------------------------------------------------------------------------------
// The panel

namespace {

TAdvCustomItemSelector* WrapperOf(TComponent* AOwner) {
    auto* w = dynamic_cast<TAdvCustomItemSelector*>(AOwner);
    if (!w) throw Exception(String("Invalid parent"));
    return w;
}

}  // namespace

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(AOwner), FSelector(WrapperOf(AOwner)) {
    SetParentColor(true);
    SetParent(FSelector);
}

int TCustomItemSelector::Columns() const { return FSelector->Columns(); }
TSelectorItems* TCustomItemSelector::Items() const { return FSelector->Items(); }
TSelectorType TCustomItemSelector::SelectorType() const { return FSelector->SelectorType(); }
TItemLayout TCustomItemSelector::ItemLayout() const { return FSelector->ItemLayout(); }
TCustomImageList* TCustomItemSelector::Images() const { return FSelector->Images(); }
int TCustomItemSelector::ColorBoxHeight() const { return FSelector->ColorBoxHeight(); }
int TCustomItemSelector::ColorBoxWidth() const { return FSelector->ColorBoxWidth(); }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const { return FSelector->ItemAppearance()->ColorStyle(); }
TColor TCustomItemSelector::ItemColorHot() const { return FSelector->ItemAppearance()->ColorHot; }
TColor TCustomItemSelector::ItemColorHotTo() const { return FSelector->ItemAppearance()->ColorHotTo; }
TColor TCustomItemSelector::ItemColorSelected() const { return FSelector->ItemAppearance()->ColorSelected; }
TColor TCustomItemSelector::ItemColorSelectedTo() const { return FSelector->ItemAppearance()->ColorSelectedTo; }

bool TCustomItemSelector::Disabled(int Index) const {
    return Index >= 0 && Index < Items()->Count() && !Items()->Items(Index)->Enabled();
}

void TCustomItemSelector::SetItemIndex(int value) {
    if (value < 0) value = -1;
    // An index past the items would be read back by the pickers as an item that is not there.
    if (Disabled(value) || value >= Items()->Count()) return;
    if (FItemIndex >= 0 && value != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateSelectorItem(old);
    }
    FItemIndex = value;
    if (value < 0) return;
    InvalidateSelectorItem(value);
    if (OnItemSelect) OnItemSelect(this);
}

void TCustomItemSelector::SetItemHot(int value) {
    if (value < 0) value = -1;
    if (value == FItemHot || Disabled(value)) return;
    const int old = FItemHot;
    FItemHot = value;
    if (old >= 0) InvalidateSelectorItem(old);
    if (value >= 0) InvalidateSelectorItem(value);
}

void TCustomItemSelector::SelectFirst() {
    if (Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
    if (Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext() {
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < Items()->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious() {
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext() {
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot + 1 < Items()->Count())
        SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious() {
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot > 0)
        SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const String& s) {
    if (s.empty()) return false;
    for (int i = 0; i < Items()->Count(); ++i) {
        const String text = AnsiUpperCase(Trim(HtmlToPlainText(Items()->Items(i)->Caption())));
        if (text.compare(0, s.size(), s) == 0) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

TRect TCustomItemSelector::GetItemRect(int Index) const {
    if (Index < 0 || Index >= Items()->Count()) return TRect(-1, -1, -1, -1);
    return Items()->Items(Index)->ItemRect();
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Items(i)->ItemRect().Contains(Point(X, Y))) return i;
    return -1;
}

void TCustomItemSelector::GetItemsArea(TRect& Rect) {
    Rect = TRect(0, 0, FContent.cx, FContent.cy);
    InflateRect(Rect, -FMarginX, -FMarginY);
}

TPoint TCustomItemSelector::ScrollOffset() const {
    return Point(FSelector->HorzScrollBar()->Position(), FSelector->VertScrollBar()->Position());
}

void TCustomItemSelector::SetBounds(int, int, int, int) {
    const int w = std::min(static_cast<int>(FContent.cx), std::max(0, FSelector->ClientWidth()));
    const int h = std::min(static_cast<int>(FContent.cy), std::max(0, FSelector->ClientHeight()));
    TCustomControl::SetBounds(0, 0, w, h);
    // Moved by a scroll, or the shown part changed: the content shows from the new offset.
    Invalidate();
}

void TCustomItemSelector::InvalidateSelectorItem(int Index) {
    if (Index < 0 || Index >= Items()->Count() || !HandleAllocated()) return;
    TRect r = Items()->Items(Index)->ItemRect();
    const TPoint off = ScrollOffset();
    OffsetRect(r, -off.X, -off.Y);
    ::InvalidateRect(Handle(), &r, FALSE_);
}

void TCustomItemSelector::ComputeItemSize(TSize& Size) {
    if (FSelector->OnItemSize) {
        FSelector->OnItemSize(this, Size);
        return;
    }
    int A = 0, B = 0;
    if (SelectorType() == stColor) {
        A = ColorBoxWidth();
        B = ColorBoxHeight();
    }
    // Measured on a scratch canvas: the panel may have no window yet.
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(FSelector->ItemAppearance()->Font());
    int TW = 0, TH = 0;
    const TRect box(0, 0, 1000, 500);
    const HWND wnd = HandleOrNone();
    for (int i = 0; i < Items()->Count(); ++i) {
        const TSelectorItem* item = Items()->Items(i);
        if (SelectorType() == stImage) {
            if (item->HasImage()) {
                A = std::max(A, item->Image()->Width());
                B = std::max(B, item->Image()->Height());
            } else if (Images() && item->ImageIndex() >= 0) {
                A = std::max(A, Images()->Width());
                B = std::max(B, Images()->Height());
            }
        }
        const TSize t = DrawHtmlText(canvas, item->Caption(), box, Images(), false, wnd);
        TW = std::max(TW, static_cast<int>(t.cx));
        TH = std::max(TH, static_cast<int>(t.cy));
    }
    if (TW > 0) TW += 4;
    if (ItemLayout() == ilCaptionLeft || ItemLayout() == ilCaptionRight) {
        Size.cx = 2 * FItemMarginX + (A > 0 ? A : 0) + (A > 0 && TW > 0 ? FCaptionGap : 0) + TW;
        Size.cy = std::max(TH, B) + 2 * FItemMarginY;
    } else {
        Size.cx = std::max(TW, A) + 2 * FItemMarginX;
        Size.cy = 2 * FItemMarginY + (B > 0 ? B : 0) + (B > 0 && TH >= 1 ? FCaptionGap : 0) + TH;
    }
}

void TCustomItemSelector::ArrangeItems() {
    const int count = Items()->Count();
    if (count == 0) {
        FContent = TSize(100, 50);
        FSelector->ContentResized();
        return;
    }
    FItemHot = -1;
    TSize size(0, 0);
    ComputeItemSize(size);
    TRect area;
    GetItemsArea(area);
    const int W = size.cx, H = size.cy;
    int x = area.Left, y = area.Top, n = 0, widest = 0;
    for (int i = 0; i < count; ++i) {
        Items()->Items(i)->SetItemRect(TRect(x, y, x + W, y + H));
        ++n;
        if (i == count - 1) break;
        if (n < Columns()) {
            x += W;
        } else {
            widest = std::max(widest, x);
            y += H;
            x = area.Left;
            n = 0;
        }
    }
    FContent = TSize(std::max(widest, x) + W + area.Left, y + H + area.Top);
    FSelector->ContentResized();
    Invalidate();
}

void TCustomItemSelector::Paint() {
    TCustomControl::Paint();
    PaintItems();
}

void TCustomItemSelector::PaintItems() {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    // Drawn in content coordinates: the origin moves by the scroll offset, and only the items
    // the shown part meets are drawn.
    const TPoint off = ScrollOffset();
    const int saved = SaveDC(dc);
    TPoint org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.X + off.X, org.Y + off.Y, nullptr);
    TRect shown = ClientRect();
    OffsetRect(shown, off.X, off.Y);
    for (int i = 0; i < Items()->Count(); ++i)
        if (!IntersectRects(shown, Items()->Items(i)->ItemRect()).IsEmpty()) DrawSelectorItem(i, canvas);
    RestoreDC(dc, saved);
}

void TCustomItemSelector::DrawSelectorItem(int Index, TCanvas* Canvas) {
    if (!Canvas || Index < 0 || Index >= Items()->Count()) return;
    const TSelectorItem* item = Items()->Items(Index);
    TRect R = item->ItemRect();
    if (R == TRect(-1, -1, -1, -1)) return;
    const TItemAppearance& a = *FSelector->ItemAppearance();
    TColor border = a.BorderColor, top = a.BorderColorTop, bottom = a.BorderColorBottom, edge = a.EdgeColor;
    TColor fill = clNone, fillTo = clNone, mirror = clNone, mirrorTo = clNone;
    const bool hot = Index == FItemHot, selected = Index == FItemIndex;
    auto state = [&](TColor c, TColor cTo, TColor m, TColor mTo, TColor stateBorder) {
        fill = c, fillTo = cTo, mirror = m, mirrorTo = mTo;
        if (stateBorder != clNone) {
            border = stateBorder;
            top = bottom = edge = clNone;
        }
    };
    if (selected)
        state(a.ColorSelected, a.ColorSelectedTo, a.ColorMirrorSelected, a.ColorMirrorSelectedTo, a.BorderColorSelected);
    else if (hot)
        state(a.ColorHot, a.ColorHotTo, a.ColorMirrorHot, a.ColorMirrorHotTo, a.BorderColorHot);
    if (!hot && !selected) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(R);
    } else if (top == clNone) {
        FillAndFrame(Canvas, R, fill, fillTo, border, 1, true);
    } else {
        DrawButtonFace(Canvas, fill, fillTo, mirror, mirrorTo, top, bottom, border, edge, Color(), R, 0);
    }
    if (FSelector->OnDrawItem) {
        FSelector->OnDrawItem(this, Canvas, R, Index);
        return;
    }

    int w = 0, h = 0;
    enum { None, Box, Picture, ListImage } kind = None;
    if (SelectorType() == stColor) {
        w = ColorBoxWidth(), h = ColorBoxHeight(), kind = Box;
    } else if (item->HasImage()) {
        w = item->Image()->Width(), h = item->Image()->Height(), kind = Picture;
    } else if (Images() && item->ImageIndex() >= 0) {
        w = Images()->Width(), h = Images()->Height(), kind = ListImage;
    }
    TRect T = R;
    InflateRect(T, -FItemMarginX, -FItemMarginY);
    TRect P = T;
    Canvas->Font()->Assign(a.Font());
    if (hot) Canvas->Font()->SetColor(a.ColorHotText);
    if (selected) Canvas->Font()->SetColor(a.ColorSelectedText);
    Canvas->Brush()->SetStyle(bsClear);

    const HWND wnd = HandleOrNone();
    const String& caption = item->Caption();
    auto drawImage = [&](int x, int y) {
        switch (kind) {
            case Box:
                Canvas->Pen()->SetWidth(1);
                Canvas->Pen()->SetColor(clBlack);
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Brush()->SetColor(item->Color());
                Canvas->Rectangle(x, y, x + w, y + h);
                Canvas->Brush()->SetStyle(bsClear);
                break;
            case Picture: Canvas->Draw(x, y, item->Image()->Graphic()); break;
            case ListImage: Images()->Draw(Canvas, x, y, item->ImageIndex(), item->Enabled()); break;
            case None: break;
        }
    };
    // Centred in the height when lower than T; the text's size.
    auto centred = [&](TRect& t) {
        const TSize size = DrawHtmlText(Canvas, caption, t, Images(), false, wnd);
        if (size.cy < t.Height()) t.Top += (t.Height() - size.cy) / 2;
        DrawHtmlText(Canvas, caption, t, Images(), true, wnd);
        return size;
    };
    switch (ItemLayout()) {
        case ilCaptionLeft:
            if (!caption.empty()) {
                T.Right -= w;
                const TSize size = centred(T);
                P.Left = T.Left + size.cx + 4;
            }
            drawImage(P.Left, kind == Box ? P.Top : P.Top + (P.Height() - h) / 2);
            break;
        case ilCaptionRight:
            drawImage(P.Left, kind == Box ? P.Top : P.Top + (P.Height() - h) / 2);
            if (kind != None) T.Left = P.Left + w + 4;
            if (!caption.empty()) centred(T);
            break;
        case ilCaptionTop:
            if (!caption.empty()) {
                T.Bottom -= h;
                const TSize size = DrawHtmlText(Canvas, caption, T, Images(), true, wnd);
                P.Top = T.Top + size.cy + 4;
            } else {
                P.Top += (P.Height() - h) / 2;
            }
            P.Left += (P.Width() - w) / 2;
            drawImage(P.Left, P.Top);
            break;
        case ilCaptionBottom:
            if (caption.empty()) P.Top += (P.Height() - h) / 2;
            P.Left += (P.Width() - w) / 2;
            drawImage(P.Left, P.Top);
            T.Top = P.Top + h + 4;
            if (!caption.empty()) DrawHtmlText(Canvas, caption, T, Images(), true, wnd);
            break;
    }
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const TPoint off = ScrollOffset();
    const int i = ItemAtPos(X + off.X, Y + off.Y);
    if (i >= 0 && !Disabled(i)) FSelector->SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const TPoint off = ScrollOffset();
    const int i = ItemAtPos(X + off.X, Y + off.Y);
    if (i < 0) {
        SetItemHot(-1);
        return;
    }
    if (i == FItemHot) return;
    SetItemHot(Disabled(i) ? -1 : i);
    SetHint(Items()->Items(i)->Hint());
    Application->CancelHint();
}

void TCustomItemSelector::CMMouseLeave(TMessage& Message) {
    TCustomControl::CMMouseLeave(Message);
    SetItemHot(-1);
}

// ---------------------------------------------------------------------------------------------
// The wrapper

TAdvCustomItemSelector::TAdvCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
    SetColor(clWindow);
    FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
    FItemAppearance->OnChange = [](TObject*) {};
    SetAutoScroll(true);
    CreateSelectorPanel();
    UpdateSelectorPanel();
}

TAdvCustomItemSelector::~TAdvCustomItemSelector() = default;

void TAdvCustomItemSelector::CreateSelectorPanel() {
    FPanel = NewComponent<TCustomItemSelector>(this);
    FPanel->OnItemSelect = [this](TObject* Sender) { ItemSelected(Sender); };
}

void TAdvCustomItemSelector::ItemSelected(TObject*) {
    if (OnItemSelect) OnItemSelect(this);
}

void TAdvCustomItemSelector::SetColumns(int value) {
    if (value <= 0 || value == FColumns) return;
    FColumns = value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetSelectorType(TSelectorType value) {
    if (value == FSelectorType) return;
    FSelectorType = value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxHeight(int value) {
    if (value == FColorBoxHeight) return;
    FColorBoxHeight = value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxWidth(int value) {
    if (value == FColorBoxWidth) return;
    FColorBoxWidth = value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FPanel) FPanel = nullptr;
    if (AComponent == FImages && !ComponentState().Contains(csDestroying)) SetImages(nullptr);
}

int TAdvCustomItemSelector::ItemIndex() const { return FPanel ? FPanel->ItemIndex() : -1; }

void TAdvCustomItemSelector::SetItemIndex(int value) {
    if (!FPanel) return;
    FPanel->SetItemIndex(value);
    ScrollItemInView(FPanel->ItemIndex());
}

int TAdvCustomItemSelector::ItemHot() const { return FPanel ? FPanel->ItemHot() : -1; }

void TAdvCustomItemSelector::SelectFirst() {
    if (!FPanel) return;
    FPanel->SelectFirst();
    ScrollItemInView(FPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectLast() {
    if (!FPanel) return;
    FPanel->SelectLast();
    ScrollItemInView(FPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectNext() {
    if (!FPanel) return;
    FPanel->SelectNext();
    ScrollItemInView(FPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectPrevious() {
    if (!FPanel) return;
    FPanel->SelectPrevious();
    ScrollItemInView(FPanel->ItemIndex());
}

void TAdvCustomItemSelector::HotNext() {
    if (!FPanel) return;
    FPanel->HotNext();
    ScrollItemInView(FPanel->ItemHot());
}

void TAdvCustomItemSelector::HotPrevious() {
    if (!FPanel) return;
    FPanel->HotPrevious();
    ScrollItemInView(FPanel->ItemHot());
}

bool TAdvCustomItemSelector::LookupItem(const String& s) { return FPanel && FPanel->LookupItem(s); }

void TAdvCustomItemSelector::UpdateSelectorPanel() {
    if (FPanel) FPanel->ArrangeItems();
}

TSize TAdvCustomItemSelector::GetSelectorSize() const { return FPanel ? FPanel->ContentSize() : TSize(100, 50); }

void TAdvCustomItemSelector::ContentResized() {
    if (!FPanel) return;
    HorzScrollBar()->SetRange(FPanel->ContentSize().cx);
    VertScrollBar()->SetRange(FPanel->ContentSize().cy);
    FPanel->SetBounds(0, 0, 0, 0);
}

void TAdvCustomItemSelector::WMSize(TMessage& Message) {
    TScrollingWinControl::WMSize(Message);
    if (FPanel) FPanel->SetBounds(0, 0, 0, 0);
}

int TAdvCustomItemSelector::GetVisibleItemCount() const {
    if (!FPanel || FItems->Count() == 0) return 0;
    const int itemHeight = FPanel->GetItemRect(0).Height();
    if (itemHeight <= 0) return 0;
    const int h = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
    return h / itemHeight * FColumns;
}

void TAdvCustomItemSelector::ScrollItemInView(int Index) {
    if (!FPanel || Index < 0 || Index >= FItems->Count() || !VertScrollBar()->IsScrollBarVisible()) return;
    TRect r = FPanel->GetItemRect(Index);
    const int margin = VertScrollBar()->Margin();
    r.Top -= margin;
    r.Bottom += margin;
    const TPoint off = FPanel->ScrollOffset();
    OffsetRect(r, -off.X, -off.Y);
    const int client = ClientHeight();
    if (r.Top < 0) {
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + r.Top);
    } else if (r.Bottom > client) {
        if (r.Height() > client) r.Bottom = r.Top + client;
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + r.Bottom - client);
    }
}

void TAdvCustomItemSelector::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return;
    }
    TScrollingWinControl::Dispatch(Message);
}

void TAdvCustomItemSelector::WMVScroll(TMessage& Message) {
    TScrollingWinControl::WMVScroll(Message);
    if (LOWORD(Message.WParam) != SB_THUMBTRACK || Message.LParam != 0) return;
    // The content follows the thumb while it is dragged. The message carries 16 bits of the
    // place; the bar's track position, when it agrees with them, all of it.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    const int low = HIWORD(Message.WParam);
    const bool known = HandleAllocated() && GetScrollInfo(Handle(), SB_VERT, &info) && (info.nTrackPos & 0xFFFF) == low;
    VertScrollBar()->SetPosition(known ? info.nTrackPos : low);
}
