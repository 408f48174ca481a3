// The pop-up of unit AdvDropDown: the form, and the drop-down's operations that build, size,
// place, open and close it.
#include <algorithm>
#include <type_traits>

#include "dropdown/AdvDropDown.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// The form

TDropDownForm::TDropDownForm(TComponent* AOwner, int Dummy) : TForm(AOwner, Dummy) {}

void TDropDownForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TDropDownForm::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
    if (FAdvDropDown) {
        if (TCustomForm* form = GetParentForm(FAdvDropDown)) Params.WndParent = form->Handle();
    }
}

void TDropDownForm::AdjustClientRect(TRect& Rect) {
    TForm::AdjustClientRect(Rect);
    if (!FAdvDropDown) return;
    const int b = FAdvDropDown->DropDownBorderWidth();
    InflateRect(Rect, -b, -b);
}

void TDropDownForm::InitializeAndUpdate() {
    if (!FAdvDropDown) return;
    TAdvCustomDropDown* dd = FAdvDropDown;
    // Each bar is made the first time its appearance shows it, and kept.
    auto update = [this, dd](auto*& bar, auto* appearance, TAlign align, const TDrawBackGroundEvent& draw,
                             const TGetTextEvent& text) {
        using TBar = std::remove_reference_t<decltype(*bar)>;
        if (bar) {
            bar->SetAdvDropDown(dd);
            bar->RebuildButtons();
            bar->SetVisible(appearance->Visible());
        } else if (appearance->Visible()) {
            bar = NewComponent<TBar>(this);
            bar->SetParent(this);
            bar->SetHeight(appearance->Height());
            bar->SetAdvDropDown(dd);
            bar->RebuildButtons();
            bar->SetAlign(align);
        }
        if (bar) {
            bar->OnDrawBackGround = draw;
            bar->OnGetText = text;
        }
    };
    update(FHeader, dd->DropDownHeader(), alTop, dd->OnDrawHeader, dd->OnGetHeaderText);
    update(FFooter, dd->DropDownFooter(), alBottom, dd->OnDrawFooter, dd->OnGetFooterText);
}

bool TDropDownForm::OwnsWindow(HWND Window) {
    if (!HandleAllocated()) return false;
    for (HWND w = Window; w; w = GetParent(w))
        if (w == Handle()) return true;
    return false;
}

void TDropDownForm::WMActivate(TMessage& Message) {
    TForm::WMActivate(Message);
    if (FBlockActivate) return;
    if (LOWORD(Message.WParam) != WA_INACTIVE) {
        // The owning form keeps an active caption while its pop-up has the activation.
        if (TComponent* owner = Owner(); auto* window = dynamic_cast<TWinControl*>(owner)) {
            HWND root = window->Handle();
            while (HWND up = GetParent(root)) root = up;
            SendMessage(root, WM_NCACTIVATE, 1, 0);
        }
        return;
    }
    if (!Visible()) return;
    FDeActivate = GetTickCount();
    FDeactivated = true;
    if (OwnsWindow(reinterpret_cast<HWND>(Message.LParam))) return;
    if (FAdvDropDown) FAdvDropDown->ClosePopup(FCancelOnDeActivate);
    else Hide();
}

void TDropDownForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCHITTEST: {
            const TPoint p = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
            Message.Result = FSizeable && p.X > ClientWidth() - 10 && p.Y > ClientHeight() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
            return;
        }
        case WM_SIZING:
            TForm::Dispatch(Message);
            if (OnSizing) OnSizing(this);
            return;
        case WM_SIZE:
            TForm::Dispatch(Message);
            Invalidate();  // the background and the frame again
            return;
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; return;
        default: TForm::Dispatch(Message); return;
    }
}

void TDropDownForm::PaintWindow(HDC DC) {
    TForm::PaintWindow(DC);
    if (TCanvas* canvas = TCanvas::FromHandle(DC)) PaintBackground(canvas);
}

void TDropDownForm::PaintBackground(TCanvas* Canvas) {
    if (!FAdvDropDown) return;
    const TAdvCustomDropDown& dd = *FAdvDropDown;
    const int b = dd.DropDownBorderWidth();
    TRect r = ClientRect();
    InflateRect(r, -b, -b);
    if (dd.DropDownColor() != clNone && dd.DropDownColorTo() != clNone) {
        StepGradient(Canvas, dd.DropDownColor(), dd.DropDownColorTo(), 80, r,
                     dd.DropDownGradient() == advdropdown::gdHorizontal);
    } else if (dd.DropDownColor() != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(dd.DropDownColor());
        Canvas->FillRect(r);
    }
    if (b <= 0) return;
    // A frame of no colour is no frame.
    if (dd.DropDownBorderColor() == clNone) return;
    TRect frame = ClientRect();
    frame.Left += b / 2;
    frame.Top += b / 2;
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(b);
    Canvas->Pen()->SetColor(dd.DropDownBorderColor());
    Canvas->Rectangle(frame);
}

// ---------------------------------------------------------------------------------------------
// The drop-down's pop-up operations

void TAdvCustomDropDown::BuildPopup() {
    if (FDropDownForm) return;
    FDropDownForm = NewComponent<TDropDownForm>(this, 0);
    FDropDownForm->SetAdvDropDown(this);
    FDropDownForm->SetBorderStyle(bsNone);
    FDropDownForm->SetVisible(false);
    FDropDownForm->SetWidth(FDropDownWidth);
    FDropDownForm->SetHeight(FDropDownHeight);
    FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
    FDropDownForm->OnHide = [this](TObject* Sender) { PopupClosed(Sender); };
    FDropDownForm->OnKeyPress = [this](TObject* Sender, char16_t& Key) { PopupKeyPress(Sender, Key); };
    FDropDownForm->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { PopupKeyDown(Sender, Key, Shift); };
    FDropDownForm->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) { PopupKeyUp(Sender, Key, Shift); };
    FDropDownForm->OnMouseWheel = [this](TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                                         bool& Handled) {
        if (WheelDelta < 0) PopupWheelDown(Sender, Shift, MousePos, Handled);
        else if (WheelDelta > 0) PopupWheelUp(Sender, Shift, MousePos, Handled);
    };
    FDropDownForm->OnDestroy = [this](TObject* Sender) { PopupDestroyed(Sender); };
    FDropDownForm->OnSizing = [this](TObject* Sender) { PopupSizing(Sender); };
    FDropDownForm->SetDoubleBuffered(true);
}

void TAdvCustomDropDown::BuildDropButton() {
    if (FButton) return;
    FButton = NewComponent<TDropDownEditButton>(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject*) { GuardedOpen(); };
    LayoutDropButton();
}

void TAdvCustomDropDown::LayoutDropButton() {
    if (!FButton) return;
    FButton->SetButtonWidth(FButtonWidth);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
    LayoutEditControl();
}

void TAdvCustomDropDown::PreparePopup() {
    if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TAdvCustomDropDown::SizePopup() {
    if (!FDropDownForm) return;
    const bool control = FControl && FControl->Visible();
    int w = Width();
    if (FDropDownWidth > 0) w = FDropDownWidth;
    else if (control) w = FControl->Width();
    int h = FDropDownHeight;
    if (h <= 0) {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
        if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
        if (control) h += FControl->Height();
    }
    FDropDownForm->SetWidth(w);
    FDropDownForm->SetHeight(h);
}

void TAdvCustomDropDown::DockPopupControl() {
    if (!FDropDownForm || !FControl || !FDropDownHeader) return;
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : FDropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TAdvCustomDropDown::FocusPopupControl() {
    TWinControl* c = FFocusControl;
    if (c && c->TabStop() && c->CanFocus() && !c->Focused()) c->SetFocus();
}

void TAdvCustomDropDown::ShowDropDown() { OpenPopup(); }

void TAdvCustomDropDown::HideDropDown(bool CancelChanges) { ClosePopup(CancelChanges); }

void TAdvCustomDropDown::OpenPopup() {
    TDropDownForm* form = FDropDownForm;
    if (ComponentState().Contains(csDesigning) || !form || form->Visible() || !Enabled() || ReadOnly()) return;
    PreparePopup();
    form->SetShadow(FDropDownShadow);
    form->InitializeAndUpdate();
    // The shadow is a style of the pop-ups' window class: set or taken away at every opening.
    const DWORD style = GetClassLong(form->Handle(), GCL_STYLE);
    SetClassLong(form->Handle(), GCL_STYLE,
                 static_cast<LONG>(form->Shadow() ? style | CS_DROPSHADOW : style & ~CS_DROPSHADOW));
    form->SetLeft(Left());
    form->SetTop(Top());
    SizePopup();
    DockPopupControl();
    TSizeConstraints least = form->Constraints();
    least.MinWidth = 80;
    least.MinHeight = 50;
    form->SetConstraints(least);
    if (auto* control = dynamic_cast<TWinControl*>(FControl)) {
        control->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { ControlKeyDown(Sender, Key, Shift); };
        control->OnKeyPress = [this](TObject* Sender, char16_t& Key) { ControlKeyPress(Sender, Key); };
        control->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) { ControlKeyUp(Sender, Key, Shift); };
    }

    // Below the edit, or above it where the screen ends below.
    const TPoint p = Parent() ? Parent()->ClientToScreen(Point(Left(), Top())) : ClientOrigin();
    const bool below = FDropPosition == dpDown ||
                       (FDropPosition == dpAuto && form->Height() + p.Y < GetSystemMetrics(SM_CYSCREEN));
    form->SetLeft(p.X);
    form->SetTop(below ? p.Y + Height() - 1 : p.Y - form->Height());

    bool accept = true;
    if (OnDropDown) OnDropDown(this, accept);
    if (!accept) return;

    // Kept inside the work area on the right, on a monitor that starts at 0 or later.
    TRect work;
    MONITORINFO info;
    if (HMONITOR monitor = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST); monitor && GetMonitorInfo(monitor, &info))
        work = info.rcWork;
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    if (work.Left >= 0 && form->Left() + form->Width() > work.Right && form->Left() < work.Right)
        form->SetLeft(form->Left() - (form->Left() + form->Width() - work.Right));

    const int left = form->Left(), top = form->Top();
    if (FUserDropDownWidth != -1) form->SetWidth(FUserDropDownWidth);
    if (FUserDropDownHeight != -1) form->SetHeight(FUserDropDownHeight);
    const int width = form->Width(), height = form->Height();
    form->SetWidth(0);
    form->SetHeight(0);
    form->Show();
    if (FDropDownShadow && FForceShadow) {
        // Shown again, so that the desktop draws the shadow.
        form->Hide();
        form->SetWidth(1);
        form->SetHeight(1);
        form->Show();
    }
    FDroppedDown = true;
    SetWindowPos(form->Handle(), HWND_TOPMOST, left, top, width, height, 0);
    FocusPopupControl();
}

void TAdvCustomDropDown::ClosePopup(bool Cancelled) {
    TDropDownForm* form = FDropDownForm;
    if (ComponentState().Contains(csDesigning) || !form || !form->Visible()) return;
    if (OnBeforeDropUp) OnBeforeDropUp(this);
    FUserDropDownWidth = form->Width();
    FUserDropDownHeight = form->Height();
    form->Hide();
    Application->CancelHint();
    if (Cancelled) SetText(FOldText);
    if (OnDropUp) OnDropUp(this, Cancelled);
}

void TAdvCustomDropDown::PopupClosed(TObject*) {
    FDroppedDown = false;
    if (TabStop() && CanFocus() && !Focused() && !ComponentState().Contains(csDestroying)) SetFocus();
}
