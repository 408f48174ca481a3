// The styled date-time picker of unit AdvDateTimePicker: AutoTab and the look's settings.
#include "dropdown/AdvDateTimePicker.h"

#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Themes.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

UINT TCustomDateTimePicker::ShiftFocusMessage() {
    static const UINT message = RegisterWindowMessage(u"DTPShiftFocus");
    return message;
}

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner)
    : TDateTimePicker(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2) {
    FIsThemed = IsComCtl6OrLater();
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(false);
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    Invalidate();
}

void TCustomDateTimePicker::SetBorderColor(TColor value) {
    if (value == FBorderColor) return;
    FBorderColor = value;
    Invalidate();
}

void TCustomDateTimePicker::SetMetroStyle(bool value) {
    if (value == FMetroStyle) return;
    FMetroStyle = value;
    Invalidate();
}

void TCustomDateTimePicker::KeyPress(char16_t& Key) {
    if (Key >= u'0' && Key <= u'9' && FAutoTab) {
        if (Kind() == dtkTime) DecodeTime(DateTime(), Fh, Fm, Fs, Fms);
        TDateTimePicker::KeyPress(Key);
        PostMessage(Handle(), ShiftFocusMessage(), 0, 0);
        return;
    }
    TDateTimePicker::KeyPress(Key);
}

void TCustomDateTimePicker::ShiftFocus() {
    if (Kind() != dtkTime) return;
    WORD h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(DateTime(), h, m, s, ms);
    if (h != Fh || m != Fm || s != Fs) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::Dispatch(TMessage& Message) {
    if (Message.Msg == ShiftFocusMessage()) ShiftFocus();
    switch (Message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TDateTimePicker::Dispatch(Message);
            if (Enabled()) {
                FMouseInControl = Message.Msg == CM_MOUSEENTER;
                if (!FMouseInControl) FButtonHover = false;
            }
            Invalidate();
            return;
        case CM_ENTER:
        case CM_EXIT:
            TDateTimePicker::Dispatch(Message);
            if (!ComponentState().Contains(csDesigning)) FHasFocus = Message.Msg == CM_ENTER;
            return;
        case WM_PAINT:
            TDateTimePicker::Dispatch(Message);
            PaintFlat();
            return;
        case WM_NCPAINT:
            TDateTimePicker::Dispatch(Message);
            PaintNonClient();
            Message.Result = 0;
            return;
        case CM_CTL3DCHANGED:
            TDateTimePicker::Dispatch(Message);
            Invalidate();
            return;
        default: TDateTimePicker::Dispatch(Message); return;
    }
}

void TCustomDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------------------------
// The flat look

TColor TCustomDateTimePicker::OutlineColor() {
    if (FBorderStyle == bsNone && Parent()) return Parent()->Color();
    return FIsThemed ? static_cast<TColor>(0xB99D7F) : FBorderColor;
}

void TCustomDateTimePicker::DrawOutline(TCanvas* c, TColor color) {
    const int w = Width(), h = Height();
    c->Pen()->SetColor(color);
    auto frame = [c](int l, int t, int r, int b) {
        c->MoveTo(l, t);
        c->LineTo(r, t);
        c->LineTo(r, b);
        c->LineTo(l, b);
        c->LineTo(l, t);
    };
    frame(0, 0, w - 1, h - 1);
    if (!IsThemeActive()) frame(1, 1, w - 2, h - 2);
}

void TCustomDateTimePicker::PaintFlat() {
    if (!HandleAllocated() || !IsWindowsVistaOrLater()) return;
    if (Ctl3D() && !IsMetroLook()) return;
    HDC dc = GetWindowDC(Handle());
    if (TCanvas* c = TCanvas::FromHandle(dc); c && !Ctl3D()) DrawOutline(c, OutlineColor());
    ReleaseDC(Handle(), dc);
}

void TCustomDateTimePicker::PaintNonClient() {
    if (!HandleAllocated() || Ctl3D()) return;
    HDC dc = GetWindowDC(Handle());
    if (TCanvas* c = TCanvas::FromHandle(dc)) {
        DrawOutline(c, OutlineColor());
        if (Parent()) {
            const int w = Width(), h = Height();
            c->Pen()->SetColor(Parent()->Color());
            c->MoveTo(1, h - 2);
            c->LineTo(1, 1);
            c->LineTo(w - 1, 1);
        }
    }
    ReleaseDC(Handle(), dc);
}
