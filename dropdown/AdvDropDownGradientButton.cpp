// The gradient push button of unit AdvDropDown, its shared look and the bars' button list.
#include <algorithm>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/Gdi.h"

using namespace advdropdown;

// ---------------------------------------------------------------------------------------------
// The look

TAdvButtonAppearance::TAdvButtonAppearance() : FFont(std::make_unique<TFont>()) {
    FFont->SetName(String("Tahoma"));
}

TAdvButtonAppearance::~TAdvButtonAppearance() = default;

void TAdvButtonAppearance::Changed() {
    if (OnChange) OnChange(this);
}

void TAdvButtonAppearance::Change(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TAdvButtonAppearance::SetGradient(TGradientDirection value) {
    if (FGradient == value) return;
    FGradient = value;
    Changed();
}

void TAdvButtonAppearance::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TAdvButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    SetColorDisabled(s->FColorDisabled);
    SetColorDisabledTo(s->FColorDisabledTo);
    SetColorChecked(s->FColorChecked);
    SetColorCheckedTo(s->FColorCheckedTo);
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    SetBorderColorDisabled(s->FBorderColorDisabled);
    SetBorderColorChecked(s->FBorderColorChecked);
    SetGradient(s->FGradient);
}

// ---------------------------------------------------------------------------------------------
// The button

TAdvButton::TAdvButton(TComponent* AOwner) : TCustomControl(AOwner), FUnhotTimer(std::make_unique<TTimer>(nullptr)) {
    SetBounds(0, 0, 23, 22);
    SetControlStyle(TControlStyle() << csCaptureMouse << csClickEvents << csDoubleClicks);
    SetShowHint(false);
    SetDoubleBuffered(true);
    FUnhotTimer->SetInterval(1);
    FUnhotTimer->SetEnabled(false);
    FUnhotTimer->OnTimer = [this](TObject*) { CheckUnhot(); };
}

TAdvButton::~TAdvButton() { FUnhotTimer.reset(); }

void TAdvButton::SetAppearance(TAdvButtonAppearance* value) {
    FAppearance = value;
    Invalidate();
}

void TAdvButton::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

void TAdvButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Invalidate();
}

void TAdvButton::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) FImages = nullptr;
}

void TAdvButton::SetDown(bool Value) {
    if (ComponentState().Contains(csLoading)) FDownLoaded = Value;
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        Repaint();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp)) return;
    FDown = Value;
    if (Value) {
        if (FState == absUp) Invalidate();
        FState = absExclusive;
        NotifyGroup();
    } else {
        FState = absUp;
        Repaint();
    }
}

void TAdvButton::Loaded() {
    TCustomControl::Loaded();
    if (FDownLoaded != FDown) SetDown(FDownLoaded);
}

void TAdvButton::NotifyGroup() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(static_cast<TControl*>(this)),
               0};
    Parent()->Broadcast(m);
}

void TAdvButton::ButtonPressed(TMessage& Message) {
    if (static_cast<int>(Message.WParam) != FGroupIndex) return;
    auto* sender = dynamic_cast<TAdvButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = absUp;
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

// The results that close the pop-up: ok, yes, all and yes-to-all accept; cancel, abort, ignore,
// no and no-to-all cancel. All, no-to-all and yes-to-all are 12 to 14 here, whatever numbers
// the platform's own constants give them; retry and 8 to 11 leave the pop-up open.
void TAdvButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    if (FAdvDropDown) {
        switch (FModalResult) {
            case mrOk: case mrYes: case 12: case 14: FAdvDropDown->ClosePopup(false); break;
            case mrCancel: case mrAbort: case mrIgnore: case mrNo: case 13: FAdvDropDown->ClosePopup(true); break;
            default: break;
        }
    }
    if (!FInternalClick) TCustomControl::Click();
}

void TAdvButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_BUTTONPRESSED: ButtonPressed(Message); return;
        case CM_DIALOGCHAR:
            if (Enabled() && IsAccel(static_cast<WORD>(Message.WParam), Caption())) {
                Click();
                Message.Result = 1;
                return;
            }
            break;
        default: break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvButton::WMKeyDown(TMessage& Message) {
    if (Message.WParam == VK_RETURN || Message.WParam == VK_SPACE) {
        if (!FDown) {
            FState = absDown;
            Invalidate();
        }
        if (FStyle == tasCheck) {
            FState = absDown;
            Repaint();
        }
        // A key's click gives the form its result and may close the pop-up, but fires no OnClick.
        FInternalClick = true;
        try {
            Click();
        } catch (...) {
            FInternalClick = false;
            throw;
        }
        FInternalClick = false;
    }
    TCustomControl::WMKeyDown(Message);
}

// ---------------------------------------------------------------------------------------------
// The mouse

bool TAdvButton::Inside(int X, int Y) const { return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight(); }

void TAdvButton::CMMouseEnter(TMessage& Message) {
    if (!ComponentState().Contains(csDesigning)) {
        FMouseInControl = true;
        if (Enabled()) Invalidate();
        FUnhotTimer->SetEnabled(true);
    }
    TCustomControl::CMMouseEnter(Message);
}

void TAdvButton::CMMouseLeave(TMessage& Message) {
    if (!ComponentState().Contains(csDesigning)) {
        FUnhotTimer->SetEnabled(false);
        FMouseInControl = false;
        if (Enabled()) Invalidate();
    }
    TCustomControl::CMMouseLeave(Message);
}

void TAdvButton::CheckUnhot() {
    TPoint p;
    GetCursorPos(&p);
    if (ClientRect().Contains(ScreenToClient(p))) return;
    FUnhotTimer->SetEnabled(false);
    FMouseInControl = false;
    if (Enabled()) Invalidate();
}

void TAdvButton::TrackMouse() {
    if (!Enabled()) return;
    TPoint p;
    GetCursorPos(&p);
    Perform(FindDragTarget(p, false) == this ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void TAdvButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (ComponentState().Contains(csDesigning) || Button != mbLeft || !Enabled()) return;
    FMousePressed = true;
    // The pressed face wins over the down one, so a down button repaints too.
    if (!FDown) FState = absDown;
    Invalidate();
    if (FStyle == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TAdvButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (ComponentState().Contains(csDesigning)) return;
    if (FDragging) {
        TAdvButtonState state = FDown ? absExclusive : absUp;
        if (Inside(X, Y)) state = FDown ? absExclusive : absDown;
        if (FStyle == tasCheck && FDown) state = absDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        TrackMouse();
    }
}

void TAdvButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (ComponentState().Contains(csDesigning)) return;
    FMousePressed = false;
    Invalidate();
    if (FDragging) {
        FDragging = false;
        const bool inside = Inside(X, Y);
        if (FGroupIndex != 0) {
            if (inside) {
                SetDown(!FDown);
                if (FDown) Repaint();
            } else if (FDown) {
                FState = absExclusive;
                Repaint();
            }
        } else {
            FState = absUp;
            FMouseInControl = false;
            if (FStyle == tasCheck) {
                SetDown(!FDown);
                FState = absUp;
            }
            if (inside && FState != absDown && FState != absExclusive) Invalidate();
        }
    }
    TrackMouse();
}

void TAdvButton::CMEnabledChanged(TMessage& Message) {
    TCustomControl::CMEnabledChanged(Message);
    Invalidate();
}

void TAdvButton::CMFocusChanged(TMessage& Message) {
    TCustomControl::CMFocusChanged(Message);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Size and painting

void TAdvButton::SizeToContent() {
    if (!FAppearance) return;
    // Measured on a scratch canvas: a button not placed yet needs no window for it.
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font()->Assign(FAppearance->Font());
    TSize size = MeasureText(scratch.Canvas(), Caption());
    if (FImages && FImageIndex >= 0) {
        size.cx = std::max(size.cx, FImages->Width());
        size.cy = std::max(size.cy, FImages->Height());
    }
    SetHeight(size.cy + 4);
    SetWidth(size.cx + 8);
}

void TAdvButton::Paint() {
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown) FState = absDown;
    PaintParentBackground();
    DrawButton();
}

void TAdvButton::PaintParentBackground() {
    TWinControl* parent = Parent();
    if (!parent) return;
    HDC dc = Canvas()->Handle();
    const TRect r = ClientRect();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    TPoint org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.X + Left(), org.Y + Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

void TAdvButton::DrawButton() {
    if (!FAppearance) return;
    const TAdvButtonAppearance& a = *FAppearance;
    TColor from, to, border;
    if (!Enabled()) {
        from = a.ColorDisabled();
        to = a.ColorDisabledTo();
        border = a.BorderColorDisabled();
    } else if (FMousePressed && FMouseInControl) {
        from = to = a.ColorDown();
        border = a.BorderColorDown();
    } else if (FDown) {
        from = a.ColorChecked();
        to = clNone;
        border = a.BorderColorChecked();
    } else if (FMouseInControl || Focused()) {
        from = a.ColorHot();
        to = clNone;
        border = a.BorderColorHot();
    } else {
        from = a.Color();
        to = a.ColorTo();
        border = a.BorderColor();
    }
    TCanvas* canvas = Canvas();
    FillAndFrame(canvas, ClientRect(), from, to, border, 1, a.Gradient() == gdVertical);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(a.Font());
    DrawImageText(canvas, ClientRect(), Caption(), FImages, FImageIndex);
}

// ---------------------------------------------------------------------------------------------
// The bars' button list

void TDbgList::AssignList(const TList& ListA) {
    Clear();
    for (int i = 0; i < ListA.Count(); ++i) Add(ListA.Items(i));
}

void* TDbgList::GetItemsEx(int Index) const {
    if (Index >= Count()) throw EListError(String("Index out of bounds in list read access"));
    return Items(Index);
}

void TDbgList::SetItemsEx(int Index, void* Value) {
    if (Index >= Count()) throw EListError(String("Index out of bounds in list write access"));
    SetItems(Index, Value);
}
