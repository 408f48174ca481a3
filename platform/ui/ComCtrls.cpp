#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle << csAcceptsControls;
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

void TTabSheet::SetParent(TWinControl* AParent) {
    auto* pc = dynamic_cast<TPageControl*>(AParent);
    if (FPageControl && FPageControl != pc) FPageControl->RemovePage(this);
    TCustomControl::SetParent(AParent);
    if (pc && FPageControl != pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (!FPageControl) return;
    auto& pages = FPageControl->FPages;
    value = std::clamp(value, 0, static_cast<int>(pages.size()) - 1);
    pages.erase(pages.begin() + PageIndex());
    pages.insert(pages.begin() + value, this);
    FPageControl->FLayoutValid = false;
    FPageControl->Invalidate();
}

int TTabSheet::TabIndex() const {
    if (!FTabVisible || !FPageControl) return -1;
    int n = 0;
    for (TTabSheet* p : FPageControl->FPages) {
        if (p == this) return n;
        if (p->FTabVisible) ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (FTabVisible == value) return;
    FTabVisible = value;
    if (FPageControl) {
        FPageControl->FLayoutValid = false;
        FPageControl->PlaceSheets();
        FPageControl->Invalidate();
    }
}

void TTabSheet::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED && FPageControl) {
        FPageControl->FLayoutValid = false;
        FPageControl->PlaceSheets();
        FPageControl->Invalidate();
    }
    TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csDoubleClicks << csOpaque;
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : FPages) p->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    FLayoutValid = false;
    if (!FActivePage) SetActivePage(Page);
    else PlaceSheets();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    TTabSheet* next = Page == FActivePage ? FindNextPage(Page, true, false) : FActivePage;
    FPages.erase(it);
    Page->FPageControl = nullptr;
    FLayoutValid = false;
    if (Page == FActivePage) {
        FActivePage = nullptr;
        SetActivePage(next == Page ? nullptr : next);
    }
    Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
    if (Page && Page->FPageControl != this) return;
    if (Page == FActivePage) return;
    // The focus must not stay on a control of the page that is hidden.
    if (FActivePage) {
        if (TCustomForm* form = GetParentForm(this)) {
            TWinControl* active = form->ActiveControl();
            if (active && FActivePage->ContainsControl(active) && CanFocus()) SetFocus();
        }
    }
    TTabSheet* old = FActivePage;
    FActivePage = Page;
    PlaceSheets();
    if (Page) Page->SetVisible(true);
    if (old && old != Page) old->SetVisible(false);
    Invalidate();
}

void TPageControl::SetActivePageIndex(int Index) {
    if (Index < 0 || Index >= PageCount()) SetActivePage(nullptr);
    else SetActivePage(FPages[static_cast<size_t>(Index)]);
}

bool TPageControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (OnChange) OnChange(this);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
    if (!Page || Page == FActivePage) return;
    if (!CanChange()) return;
    SetActivePage(Page);
    Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
    if (FPages.empty()) return nullptr;
    int n = static_cast<int>(FPages.size());
    auto it = std::find(FPages.begin(), FPages.end(), CurPage);
    int start = it == FPages.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* p = FPages[static_cast<size_t>(i)];
        if (!CheckTabVisible || p->TabVisible()) return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    TTabSheet* p = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (p && p != FActivePage) ChangeActivePage(p);
}

void TPageControl::SetMultiLine(bool value) {
    if (FMultiLine == value) return;
    FMultiLine = value;
    FLayoutValid = false;
    PlaceSheets();
    Invalidate();
}

void TPageControl::SetTabHeight(int value) {
    if (FTabHeight == value || value < 0) return;
    FTabHeight = value;
    FLayoutValid = false;
    PlaceSheets();
    Invalidate();
}

void TPageControl::SetTabWidth(int value) {
    if (FTabWidth == value || value < 0) return;
    FTabWidth = value;
    FLayoutValid = false;
    PlaceSheets();
    Invalidate();
}

// Tabs in rows from the top; with MultiLine a row ends where the next tab would not fit, and
// the row of the active tab is drawn next to the pages.
void TPageControl::Layout() {
    if (FLayoutValid) return;
    FLayoutValid = true;
    FTabRects.assign(FPages.size(), TRect());
    ui::MeasureCanvas mc(Font());
    int h = FTabHeight > 0 ? FTabHeight : mc->TextHeight(String("0")) + 6;
    int avail = std::max(Width() - 4, 1);
    std::vector<std::vector<size_t>> rows(1);
    std::vector<int> widths(FPages.size(), 0);
    int x = 0;
    for (size_t i = 0; i < FPages.size(); ++i) {
        if (!FPages[i]->TabVisible()) continue;
        int w = FTabWidth > 0 ? FTabWidth : mc->TextWidth(FPages[i]->Caption()) + 12;
        if (FMultiLine && x > 0 && x + w > avail) {
            rows.emplace_back();
            x = 0;
        }
        widths[i] = w;
        rows.back().push_back(i);
        x += w;
    }
    FRows = static_cast<int>(rows.size());
    // The row holding the active tab goes to the bottom, next to the pages.
    size_t activeRow = rows.size() - 1;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t i : rows[r])
            if (FPages[i] == FActivePage) activeRow = r;
    if (activeRow != rows.size() - 1) std::rotate(rows.begin(), rows.begin() + static_cast<long>(activeRow) + 1, rows.end());
    for (size_t r = 0; r < rows.size(); ++r) {
        int left = 2;
        int top = 2 + static_cast<int>(r) * h;
        for (size_t i : rows[r]) {
            FTabRects[i] = Rect(left, top, left + widths[i], top + h);
            left += widths[i];
        }
    }
}

int TPageControl::RowCount() {
    Layout();
    return FRows;
}

TRect TPageControl::TabRect(int PageIndex) {
    Layout();
    if (PageIndex < 0 || PageIndex >= PageCount()) return TRect();
    return FTabRects[static_cast<size_t>(PageIndex)];
}

TTabSheet* TPageControl::PageAt(const TPoint& P) {
    Layout();
    for (size_t i = 0; i < FPages.size(); ++i)
        if (FTabRects[i].Contains(P)) return FPages[i];
    return nullptr;
}

TRect TPageControl::DisplayRect() {
    Layout();
    int tabsBottom = 0;
    for (const TRect& r : FTabRects) tabsBottom = std::max(tabsBottom, r.Bottom);
    return Rect(4, tabsBottom + 4, std::max(4, Width() - 4), std::max(tabsBottom + 4, Height() - 4));
}

void TPageControl::PlaceSheets() {
    FLayoutValid = false;
    TRect r = DisplayRect();
    for (TTabSheet* p : FPages) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::Paint() {
    TCanvas* c = Canvas();
    Layout();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TRect display = DisplayRect();
    TRect frame = Rect(0, display.Top - 4, Width(), Height());
    DrawEdge(c->Handle(), &frame, EDGE_RAISED, BF_RECT);
    c->SetFont(Font());
    // The active tab last: it overlaps its neighbours.
    std::vector<size_t> order;
    for (size_t i = 0; i < FPages.size(); ++i)
        if (FPages[i] != FActivePage) order.push_back(i);
    for (size_t i = 0; i < FPages.size(); ++i)
        if (FPages[i] == FActivePage) order.push_back(i);
    for (size_t i : order) {
        TRect t = FTabRects[i];
        if (t.IsEmpty()) continue;
        bool active = FPages[i] == FActivePage;
        // The active tab stands out two pixels and joins the page below it.
        if (active) t = Rect(t.Left - 2, t.Top - 2, t.Right + 2, t.Bottom + 2);
        c->Brush()->SetColor(Color());
        c->FillRect(t);
        TRect e = t;
        DrawEdge(c->Handle(), &e, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        TRect text = t;
        if (FImages && FPages[i]->ImageIndex() >= 0) {
            FImages->Draw(c, text.Left + 4, text.Top + (text.Height() - FImages->Height()) / 2, FPages[i]->ImageIndex(),
                          Enabled());
            text.Left += FImages->Width() + 4;
        }
        ui::DrawControlText(c, FPages[i]->Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER,
                            Enabled() && FPages[i]->Enabled());
        if (active && Focused()) {
            TRect f = Rect(t.Left + 3, t.Top + 3, t.Right - 3, t.Bottom - 2);
            c->DrawFocusRect(f);
        }
    }
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (TTabSheet* p = PageAt(Point(X, Y))) {
            if (CanFocus() && !Focused()) SetFocus();
            ChangeActivePage(p);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TPageControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGKEY: {
            // Ctrl+Tab and Ctrl+Shift+Tab move through the pages while the focus is in here.
            TCustomForm* form = GetParentForm(this);
            TWinControl* active = form ? form->ActiveControl() : nullptr;
            bool inside = Focused() || (active && ContainsControl(active));
            if (inside && Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
                SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
                Message.Result = 1;
                return;
            }
            break;
        }
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS;
            return;
        case WM_KEYDOWN:
            if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT) {
                TCustomControl::Dispatch(Message);
                if (Message.WParam != 0) SelectNextPage(Message.WParam == VK_RIGHT);
                return;
            }
            break;
        case WM_SIZE:
        case CM_FONTCHANGED:
            FLayoutValid = false;
            PlaceSheets();
            Invalidate();
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// TStatusPanel, TStatusPanels

int TStatusPanel::Index() const { return FOwner->Panels()->IndexOf(this); }

void TStatusPanel::Changed() { FOwner->Panels()->Changed(); }

void TStatusPanel::SetWidth(int value) {
    if (FWidth == value) return;
    FWidth = value;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Changed();
}

void TStatusPanel::SetText(const String& value) {
    if (FText == value) return;
    FText = value;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (FBevel == value) return;
    FBevel = value;
    Changed();
}

TStatusPanel* TStatusPanels::Add() {
    FItems.push_back(std::make_unique<TStatusPanel>(FOwner));
    Changed();
    return FItems.back().get();
}

void TStatusPanels::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStatusPanels::Clear() {
    FItems.clear();
    Changed();
}

int TStatusPanels::IndexOf(const TStatusPanel* panel) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == panel) return static_cast<int>(i);
    return -1;
}

void TStatusPanels::EndUpdate() {
    if (FUpdating > 0 && --FUpdating == 0) Changed();
}

void TStatusPanels::Changed() {
    if (FUpdating == 0) FOwner->Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csCaptureMouse << csClickEvents << csDoubleClicks << csOpaque;
    SetBounds(0, 0, 19 * 10, 19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool value) {
    if (FSimplePanel == value) return;
    FSimplePanel = value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const String& value) {
    if (FSimpleText == value) return;
    FSimpleText = value;
    if (FSimplePanel) Invalidate();
}

void TStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value) return;
    FSizeGrip = value;
    Invalidate();
}

TRect TStatusBar::PanelRect(int Index) const {
    if (Index < 0 || Index >= FPanels.Count()) return TRect();
    int x = 0;
    for (int i = 0; i < Index; ++i) x += FPanels[i]->Width();
    int right = Index == FPanels.Count() - 1 ? std::max(x, Width()) : x + FPanels[Index]->Width();
    return Rect(x, 2, right, Height());
}

TRect TStatusBar::PanelTextRect(int Index) {
    TRect r = PanelRect(Index);
    if (r.IsEmpty()) return r;
    ui::MeasureCanvas mc(Font());
    TRect inner = Rect(r.Left + 3, r.Top + 1, r.Right - 5, r.Bottom - 1);
    int tw = mc->TextWidth(FPanels[Index]->Text());
    int left = inner.Left;
    switch (FPanels[Index]->Alignment()) {
        case taRightJustify: left = inner.Right - tw; break;
        case taCenter: left = inner.Left + (inner.Width() - tw) / 2; break;
        default: break;
    }
    return Rect(std::max(left, inner.Left), inner.Top, std::min(left + tw, inner.Right), inner.Bottom);
}

void TStatusBar::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    UINT base = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS;
    if (FSimplePanel || FPanels.Count() == 0) {
        TRect r = Rect(0, 2, Width(), Height());
        if (FSimplePanel) {
            TRect e = r;
            DrawEdge(c->Handle(), &e, BDR_SUNKENOUTER, BF_RECT);
            TRect t = Rect(r.Left + 3, r.Top + 1, r.Right - 3, r.Bottom - 1);
            ui::DrawControlText(c, FSimpleText, t, base, Enabled());
        }
        return;
    }
    for (int i = 0; i < FPanels.Count(); ++i) {
        TStatusPanel* p = FPanels[i];
        TRect r = PanelRect(i);
        if (r.IsEmpty()) continue;
        // Panels stand two pixels apart.
        TRect e = Rect(r.Left, r.Top, r.Right - 2, r.Bottom);
        if (p->Bevel() != pbNone)
            DrawEdge(c->Handle(), &e, p->Bevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        TRect t = Rect(r.Left + 3, r.Top + 1, r.Right - 5, r.Bottom - 1);
        UINT align = p->Alignment() == taRightJustify ? DT_RIGHT : p->Alignment() == taCenter ? DT_CENTER : DT_LEFT;
        ui::DrawControlText(c, p->Text(), t, base | align, Enabled());
    }
}

void TStatusBar::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_SIZE) Invalidate();
    TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// TToolButton

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle = TControlStyle() << csCaptureMouse << csSetCaption;
    SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* AParent) {
    TToolBar* old = ToolBar();
    TGraphicControl::SetParent(AParent);
    if (old && old != AParent) old->ArrangeButtons();
    if (TToolBar* tb = ToolBar()) tb->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    if (TToolBar* tb = ToolBar()) tb->ArrangeButtons();
    Invalidate();
}

void TToolButton::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    // A grouped check button that goes down raises the others of its run of grouped buttons.
    if (value && FGrouped && FStyle == tbsCheck) {
        if (TToolBar* tb = ToolBar()) {
            int n = tb->ButtonCount(), me = -1;
            for (int i = 0; i < n; ++i)
                if (tb->Buttons(i) == this) me = i;
            auto inGroup = [&](int i) {
                TToolButton* b = tb->Buttons(i);
                return b->Grouped() && b->Style() == tbsCheck;
            };
            for (int i = me - 1; i >= 0 && inGroup(i); --i) tb->Buttons(i)->SetDown(false);
            for (int i = me + 1; i < n && inGroup(i); ++i) tb->Buttons(i)->SetDown(false);
        }
    }
    Invalidate();
}

void TToolButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Invalidate();
}

void TToolButton::Click() {
    if (FStyle == tbsCheck) SetDown(!FDown || FGrouped);
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || FStyle == tbsSeparator || FStyle == tbsDivider) return;
    FDragging = true;
    FPressed = true;
    Invalidate();
}

void TToolButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    bool inside = ClientRect().Contains(Point(X, Y));
    if (inside != FPressed) {
        FPressed = inside;
        Invalidate();
    }
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft) return;
    FDragging = false;
    FPressed = false;
    Invalidate();
    if (ClientRect().Contains(Point(X, Y))) Click();
}

void TToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            FHot = Message.Msg == CM_MOUSEENTER;
            Invalidate();
            break;
        case CM_TEXTCHANGED:
            if (TToolBar* tb = ToolBar()) tb->ArrangeButtons();
            break;
        default:
            break;
    }
    TGraphicControl::Dispatch(Message);
}

void TToolButton::Paint() {
    TCanvas* c = Canvas();
    TToolBar* tb = ToolBar();
    TRect r = ClientRect();
    if (FStyle == tbsSeparator) return;
    if (FStyle == tbsDivider) {
        TRect e = Rect(r.Width() / 2 - 1, r.Top, r.Width() / 2 + 1, r.Bottom);
        DrawEdge(c->Handle(), &e, EDGE_ETCHED, BF_LEFT);
        return;
    }
    bool flat = tb && tb->Flat();
    bool sunken = FPressed || FDown;
    if (FDown && !FPressed) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(cl3DLight);
        c->FillRect(r);
    }
    if (sunken) {
        TRect e = r;
        DrawEdge(c->Handle(), &e, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!flat || (FHot && Enabled())) {
        TRect e = r;
        DrawEdge(c->Handle(), &e, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
    int off = sunken ? 1 : 0;
    TCustomImageList* images = tb ? tb->Images() : nullptr;
    bool captions = tb && tb->ShowCaptions();
    int imageBottom = r.Top + 3;
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        int x = (r.Width() - images->Width()) / 2 + off;
        int y = (captions ? 3 : (r.Height() - images->Height()) / 2) + off;
        images->Draw(c, x, y, FImageIndex, Enabled());
        imageBottom = y + images->Height();
    }
    if (captions || !images) {
        if (tb) c->SetFont(tb->Font());
        TRect t = images ? Rect(r.Left + off, imageBottom + 1, r.Right + off, r.Bottom - 2 + off)
                         : OffsetRectBy(r, off, off);
        ui::DrawControlText(c, Caption(), t, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled());
    }
}

// ---------------------------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csAcceptsControls << csCaptureMouse << csClickEvents << csDoubleClicks;
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

int TToolBar::ButtonCount() const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
    return n;
}

TToolButton* TToolBar::Buttons(int Index) const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) {
            if (n == Index) return b;
            ++n;
        }
    return nullptr;
}

void TToolBar::SetButtonWidth(int value) {
    if (value <= 0 || value == FButtonWidth) return;
    FButtonWidth = value;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int value) {
    if (value <= 0 || value == FButtonHeight) return;
    FButtonHeight = value;
    ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    Invalidate();
    for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TToolBar::SetShowCaptions(bool value) {
    if (FShowCaptions == value) return;
    FShowCaptions = value;
    ArrangeButtons();
}

void TToolBar::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    Invalidate();
    for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->Invalidate();
}

void TToolBar::ArrangeButtons() {
    int x = 0;
    ui::MeasureCanvas mc(Font());
    for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* b = Buttons(i);
        if (!b->Visible()) continue;
        int w = FButtonWidth;
        if (b->Style() == tbsSeparator || b->Style() == tbsDivider) w = 8;
        else if (FShowCaptions) w = std::max(w, mc->TextWidth(b->Caption()) + 8);
        b->SetBounds(x, 2, w, FButtonHeight);
        x += w;
    }
    Invalidate();
}

void TToolBar::Paint() {}

void TToolBar::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == CM_FONTCHANGED) ArrangeButtons();
}
