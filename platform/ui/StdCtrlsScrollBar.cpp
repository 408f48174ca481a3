#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/ui/backend/Backend.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 121, 17);
    SetTabStop(true);
    FControlStyle >> csClickEvents;
}

std::unique_ptr<ui::RangeView> TScrollBar::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateRangeView(ui::RangeKind::ScrollBar, host, this, *this);
}

void TScrollBar::InitView() {
    View()->SetVertical(FKind == sbVertical);
    View()->SetRange(FMin, FMax, FPageSize);
    View()->SetSteps(FSmallChange, FLargeChange);
    View()->SetPosition(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value) return;
    FKind = value;
    SetBounds(Left(), Top(), Height(), Width());
    if (auto v = ChangeView()) v->SetVertical(value == sbVertical);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(String("Scroll bar property out of range"));
    // The thumb's page takes room at the end: the last position shows the last page.
    int top = FPageSize > 0 ? std::max(AMin, AMax - FPageSize + 1) : AMax;
    APosition = std::clamp(APosition, AMin, top);
    bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    if (auto v = ChangeView()) {
        v->SetRange(FMin, FMax, FPageSize);
        v->SetPosition(FPosition);
    }
    if (moved) Change();
}

void TScrollBar::SetSmallChange(int value) {
    FSmallChange = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FSmallChange, FLargeChange);
}

void TScrollBar::SetLargeChange(int value) {
    FLargeChange = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FSmallChange, FLargeChange);
}

void TScrollBar::SetPageSize(int value) {
    if (value < 0 || value > FMax - FMin + 1) throw EInvalidOperation(String("Scroll bar property out of range"));
    FPageSize = value;
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TScrollCode code, int trackPos) {
    int pos = FPosition;
    switch (code) {
        case scLineUp: pos -= FSmallChange; break;
        case scLineDown: pos += FSmallChange; break;
        case scPageUp: pos -= FLargeChange; break;
        case scPageDown: pos += FLargeChange; break;
        case scPosition: case scTrack: pos = trackPos; break;
        case scTop: pos = FMin; break;
        case scBottom: pos = FMax; break;
        case scEndScroll: break;
    }
    pos = std::clamp(pos, FMin, FMax);
    Scroll(code, pos);
    SetPosition(pos);
    // The view may have moved further than the handler allowed.
    if (auto v = ChangeView()) v->SetPosition(FPosition);
}

// The scroll codes are the platform's SB_ codes in order: one travels as the other.
static_assert(scLineUp == SB_LINEUP && scPageDown == SB_PAGEDOWN && scPosition == SB_THUMBPOSITION && scTrack == SB_THUMBTRACK &&
              scTop == SB_TOP && scBottom == SB_BOTTOM && scEndScroll == SB_ENDSCROLL);

void TScrollBar::UserScroll(TScrollCode code, int trackPos) {
    FTrackPos = trackPos;
    bool thumb = code == scTrack || code == scPosition;
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(code), thumb ? static_cast<WORD>(trackPos) : 0);
    if (TWinControl* parent = Parent())
        parent->Perform(FKind == sbVertical ? WM_VSCROLL : WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(Handle()));
    else
        DoScroll(code, trackPos);
    // A parent that kept the message leaves the bar where it was: the thumb goes back.
    if (auto v = ChangeView()) v->SetPosition(FPosition);
}

void TScrollBar::RangeAction(TScrollCode code) {
    if (code == scTrack) return;  // the position comes with RangeMoved
    // The view has stepped already; the bar takes the step from its own position.
    FActed = true;
    FDragged = false;
    UserScroll(code, FPosition);
}

void TScrollBar::RangeMoved(int position) {
    FActed = FDragged = true;
    UserScroll(scTrack, position);
}

void TScrollBar::RangeReleased() {
    bool acted = FActed, dragged = FDragged;
    FActed = FDragged = false;
    if (dragged) UserScroll(scPosition, FTrackPos);
    if (acted) UserScroll(scEndScroll, FPosition);
}

void TScrollBar::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case CN_HSCROLL: case CN_VSCROLL: {
            int code = Message.WParamLo();
            if (code > SB_ENDSCROLL) return;
            // Positions travel as signed 16 bits; the bar knows all of its own thumb's.
            int pos = static_cast<int16_t>(Message.WParamHi());
            if (static_cast<int16_t>(FTrackPos) == pos) pos = FTrackPos;
            DoScroll(static_cast<TScrollCode>(code), pos);
            return;
        }
        case WM_KEYDOWN: {
            TScrollCode code;
            switch (Message.WParam) {
                case VK_LEFT: case VK_UP: code = scLineUp; break;
                case VK_RIGHT: case VK_DOWN: code = scLineDown; break;
                case VK_PRIOR: code = scPageUp; break;
                case VK_NEXT: code = scPageDown; break;
                case VK_HOME: code = scTop; break;
                case VK_END: code = scBottom; break;
                default: TNativeControl::DefaultHandler(Message); return;
            }
            UserScroll(code, FPosition);
            UserScroll(scEndScroll, FPosition);
            return;
        }
        default: TNativeControl::DefaultHandler(Message); return;
    }
}
