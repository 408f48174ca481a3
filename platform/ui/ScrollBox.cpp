#include "platform/ui/ScrollBox.h"

#include <algorithm>

#include "platform/ui/WinUser.h"

// ---------------------------------------------------------------------------------------------
// TControlScrollBar

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : FControl(control), FKind(kind) {}

void TControlScrollBar::SetIncrement(int value) { FIncrement = std::max(1, value); }

void TControlScrollBar::SetMargin(int value) { FMargin = std::max(0, value); }

int TControlScrollBar::ClientSize() const { return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight(); }

int TControlScrollBar::MaxPosition() const { return IsScrollBarVisible() ? std::max(0, FRange - ClientSize()) : 0; }

void TControlScrollBar::SetPosition(int value) {
    value = std::clamp(value, 0, MaxPosition());
    if (value == FPosition) return;
    int delta = FPosition - value;
    FPosition = value;
    if (FControl->HandleAllocated()) SetScrollPos(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, value, TRUE_);
    if (FKind == sbHorizontal) FControl->ScrollContent(delta, 0);
    else FControl->ScrollContent(0, delta);
}

void TControlScrollBar::SetRange(int value) {
    FControl->FAutoScroll = false;
    FRange = std::max(0, value);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::ScrollMessage(const TMessage& Message) {
    int code = Message.WParamLo();
    switch (code) {
        case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
        case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
        case SB_PAGEUP: SetPosition(FPosition - ClientSize()); break;
        case SB_PAGEDOWN: SetPosition(FPosition + ClientSize()); break;
        case SB_THUMBTRACK: {
            // Only the thumb moves. The message carries 16 bits of its position; the bar
            // answers all of them while it is dragged.
            SCROLLINFO info;
            info.fMask = SIF_TRACKPOS;
            bool known = FControl->HandleAllocated() && GetScrollInfo(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, &info);
            FTrackPos = known ? info.nTrackPos : Message.WParamHi();
            break;
        }
        case SB_THUMBPOSITION: SetPosition((FTrackPos & 0xFFFF) == Message.WParamHi() ? FTrackPos : Message.WParamHi()); break;
        default: break;  // SB_ENDSCROLL
    }
}

// ---------------------------------------------------------------------------------------------
// TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (FAutoScroll == value) return;
    FAutoScroll = value;
    UpdateScrollBars();
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
    TWinControl::AdjustClientRect(Rect);
    int width = std::max(Rect.Width(), FHorzScrollBar->FRange), height = std::max(Rect.Height(), FVertScrollBar->FRange);
    Rect = Bounds(Rect.Left - FHorzScrollBar->FPosition, Rect.Top - FVertScrollBar->FPosition, width, height);
}

void TScrollingWinControl::ChildLayoutChanged(TControl* Child) {
    TWinControl::ChildLayoutChanged(Child);
    if (FAutoScroll && !FScrolling) UpdateScrollBars();
}

void TScrollingWinControl::CalcAutoRange() {
    // Extents in the content's coordinates: where a child would stand were nothing scrolled.
    int hPos = FHorzScrollBar->FPosition, vPos = FVertScrollBar->FPosition;
    int right = 0, bottom = 0, rightAligned = 0, bottomAligned = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        TAlign align = c->Align();
        if (align == alNone || align == alLeft) right = std::max(right, c->Left() + c->Width() + hPos);
        if (align == alNone || align == alTop) bottom = std::max(bottom, c->Top() + c->Height() + vPos);
        // Controls kept at the far edge need their room beyond the others.
        if (align == alRight) rightAligned += c->Width();
        if (align == alBottom) bottomAligned += c->Height();
    }
    FHorzScrollBar->FRange = right + rightAligned;
    FVertScrollBar->FRange = bottom + bottomAligned;
}

void TScrollingWinControl::UpdateScrollBars() {
    if (FUpdatingBars || ComponentState().Contains(csDestroying)) return;
    FUpdatingBars = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FUpdatingBars};
    if (FAutoScroll) CalcAutoRange();
    // The client size without bars; a bar shown takes its thickness from the other direction.
    constexpr int bar = ui::kWindowScrollBarSize;
    DWORD style = HandleAllocated() ? static_cast<DWORD>(GetWindowLong(Handle(), GWL_STYLE)) : 0;
    int width = ClientWidth() + ((style & WS_VSCROLL) ? bar : 0);
    int height = ClientHeight() + ((style & WS_HSCROLL) ? bar : 0);
    TControlScrollBar& h = *FHorzScrollBar;
    TControlScrollBar& v = *FVertScrollBar;
    bool showV = v.FVisible && v.FRange > height;
    bool showH = h.FVisible && h.FRange > width;
    if (showV && !showH) showH = h.FVisible && h.FRange > width - bar;
    if (showH && !showV) showV = v.FVisible && v.FRange > height - bar;
    ApplyBar(v, showV, height - (showH ? bar : 0));
    ApplyBar(h, showH, width - (showV ? bar : 0));
}

void TScrollingWinControl::ApplyBar(TControlScrollBar& bar, bool show, int page) {
    bar.FShown = show;
    int pos = show ? std::clamp(bar.FPosition, 0, std::max(0, bar.FRange - page)) : 0;
    if (HandleAllocated()) {
        int which = bar.FKind == sbHorizontal ? SB_HORZ : SB_VERT;
        if (show) {
            SCROLLINFO now;
            now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            GetScrollInfo(Handle(), which, &now);
            bool shown = (GetWindowLong(Handle(), GWL_STYLE) & static_cast<LONG>(which == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
            if (!shown || now.nMin != 0 || now.nMax != bar.FRange - 1 || now.nPage != static_cast<UINT>(page) || now.nPos != pos) {
                SCROLLINFO info;
                info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
                info.nMax = bar.FRange - 1;
                info.nPage = static_cast<UINT>(std::max(0, page));
                info.nPos = pos;
                SetScrollInfo(Handle(), which, &info, TRUE_);
            }
        } else {
            ShowScrollBar(Handle(), which, FALSE_);
        }
    }
    if (pos != bar.FPosition) {
        int delta = bar.FPosition - pos;
        bar.FPosition = pos;
        if (bar.FKind == sbHorizontal) ScrollContent(delta, 0);
        else ScrollContent(0, delta);
    }
}

void TScrollingWinControl::ScrollContent(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    bool wasScrolling = FScrolling;
    FScrolling = true;
    struct Done {
        bool& flag;
        bool was;
        ~Done() { flag = was; }
    } done{FScrolling, wasScrolling};
    if (HandleAllocated()) ScrollWindow(Handle(), dx, dy, nullptr, nullptr);  // the image and the child windows
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!HandleAllocated() || !dynamic_cast<TWinControl*>(c)) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    AlignControls();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
    if (!AControl || !ContainsControl(AControl)) return;
    // The control's place in this control's client coordinates.
    TPoint at = ScreenToClient(AControl->Parent()->ClientToScreen(AControl->BoundsRect().TopLeft()));
    auto bring = [](TControlScrollBar& bar, int lo, int hi, int size) {
        lo -= bar.Margin();
        hi += bar.Margin();
        if (lo < 0) {
            bar.SetPosition(bar.Position() + lo);
        } else if (hi > size) {
            if (hi - lo > size) hi = lo + size;
            bar.SetPosition(bar.Position() + hi - size);
        }
    };
    bring(*FHorzScrollBar, at.X, at.X + AControl->Width(), ClientWidth());
    bring(*FVertScrollBar, at.Y, at.Y + AControl->Height(), ClientHeight());
}

void TScrollingWinControl::WMHScroll(TMessage& Message) {
    if (Message.LParam) TWinControl::WMHScroll(Message);
    else FHorzScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMVScroll(TMessage& Message) {
    if (Message.LParam) TWinControl::WMVScroll(Message);
    else FVertScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMSize(TMessage& Message) {
    UpdateScrollBars();
    TWinControl::WMSize(Message);
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    TControlScrollBar* bar = FVertScrollBar->IsScrollBarVisible()   ? FVertScrollBar.get()
                             : FHorzScrollBar->IsScrollBarVisible() ? FHorzScrollBar.get()
                                                                    : nullptr;
    if (!bar) return false;  // nothing to scroll: the parent may
    FWheelDelta += WheelDelta;
    int notches = FWheelDelta / WHEEL_DELTA;
    FWheelDelta -= notches * WHEEL_DELTA;
    bar->SetPosition(bar->Position() - notches * bar->Increment());
    return true;
}

// ---------------------------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    FControlStyle << csAcceptsControls;
    SetBounds(0, 0, 185, 41);
}
