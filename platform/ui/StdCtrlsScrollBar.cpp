#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/ui/Backend.h"
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

void TScrollBar::RangeAction(TScrollCode code) { FPendingCode = code; }

void TScrollBar::RangeMoved(int position) {
    // The view has moved already: the action's code, with the position it reached for the thumb.
    TScrollCode code = FPendingCode;
    FPendingCode = scTrack;
    DoScroll(code, position);
}

void TScrollBar::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
            case VK_LEFT: case VK_UP: DoScroll(scLineUp, FPosition); break;
            case VK_RIGHT: case VK_DOWN: DoScroll(scLineDown, FPosition); break;
            case VK_PRIOR: DoScroll(scPageUp, FPosition); break;
            case VK_NEXT: DoScroll(scPageDown, FPosition); break;
            case VK_HOME: DoScroll(scTop, FPosition); break;
            case VK_END: DoScroll(scBottom, FPosition); break;
            default: TNativeControl::DefaultHandler(Message); return;
        }
        DoScroll(scEndScroll, FPosition);
        return;
    }
    TNativeControl::DefaultHandler(Message);
}
