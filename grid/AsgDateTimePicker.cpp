#include "grid/AsgDateTimePicker.h"

#include "controls/styled/AdvCombo.h"
#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/Format.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/win/Window.h"

namespace {

constexpr TColor kDisabledFrame = 0xB99D7F;

void Frame(TCanvas* c, const TRect& r, TColor color) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->FrameRect(r);
}

}  // namespace

TAsgDateTimePicker::TAsgDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {
    FIsThemed = IsComCtl6OrLater();
    FIsWinXP = IsWinXPOrLater();
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(true);
    RequireAfterConstruction();
}

void TAsgDateTimePicker::AfterConstruction() {
    TDateTimePicker::AfterConstruction();
    ApplyBorderStyle(bsSingle);
    FBorderStyle = bsNone;
}

void TAsgDateTimePicker::ApplyBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    Invalidate();
}

String TAsgDateTimePicker::Version() const {
    int v = GetVersionNr();
    return ::Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

void TAsgDateTimePicker::UpdateOwnerPainting() {
    // The platform paints alone unless something is drawn over it.
    SetOwnerPainted(FMetroStyle || !Ctl3D());
}

void TAsgDateTimePicker::SetMetroStyle(bool value) {
    if (FMetroStyle == value) return;
    FMetroStyle = value;
    UpdateOwnerPainting();
    Invalidate();
}

void TAsgDateTimePicker::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TAsgDateTimePicker::ThemedActive() const { return FIsThemed && IsThemeActive(); }

bool TAsgDateTimePicker::Hot() const {
    if (ComponentState().Contains(csDesigning)) return Enabled();
    return FMouseInControl || Screen->ActiveControl() == this;
}

void TAsgDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
    TDateTimePicker::MouseMove(Shift, X, Y);
    bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover == FButtonHover) return;
    FButtonHover = hover;
    Invalidate();
}

void TAsgDateTimePicker::Dispatch(TMessage& Message) {
    const bool designing = ComponentState().Contains(csDesigning);
    switch (Message.Msg) {
        case WM_PAINT:
            TDateTimePicker::Dispatch(Message);
            AfterPaint();
            return;
        case WM_NCPAINT:
            TDateTimePicker::Dispatch(Message);
            AfterNCPaint();
            Message.Result = 0;
            return;
        case CM_CTL3DCHANGED:
            TDateTimePicker::Dispatch(Message);
            UpdateOwnerPainting();
            Invalidate();
            return;
        case CM_ENTER:
        case CM_EXIT:
            TDateTimePicker::Dispatch(Message);
            if (!designing) {
                FHasFocus = Message.Msg == CM_ENTER;
                DrawBorders();
            }
            return;
        case CM_MOUSEENTER:
            TDateTimePicker::Dispatch(Message);
            if (!designing && Enabled() && !FMouseInControl) {
                FMouseInControl = true;
                DrawBorders();
                if (FIsWinXP) Invalidate();
            }
            return;
        case CM_MOUSELEAVE:
            TDateTimePicker::Dispatch(Message);
            if (!designing) {
                if (Enabled() && FMouseInControl) {
                    FMouseInControl = false;
                    DrawBorders();
                }
                FButtonHover = false;
                if (FIsWinXP) Invalidate();
            }
            return;
        default: TDateTimePicker::Dispatch(Message);
    }
}

void TAsgDateTimePicker::AfterPaint() {
    if (!HandleAllocated() || !(!Ctl3D() || MetroActive()) || !IsWindowsVistaOrLater()) return;
    HDC dc = GetWindowDC(Handle());
    if (TCanvas* c = TCanvas::FromHandle(dc)) {
        if (MetroActive() && Kind() != dtkTime) {
            if (IsComCtl6OrLater()) {
                TRect cr = ClientRect();
                TRect area = IsThemeActive() ? TRect(cr.Right - FButtonWidth - 15, 1, cr.Right, Height())
                                             : TRect(cr.Right - FButtonWidth - 2, 4, cr.Right - 2, Height() - 4);
                c->Brush()->SetStyle(bsSolid);
                c->Brush()->SetColor(Color());
                c->FillRect(area);
            }
            DrawButton(c);
        }
    }
    ReleaseDC(Handle(), dc);
    DrawBorders();
}

void TAsgDateTimePicker::DrawButton(TCanvas* c) {
    HDC dc = c->Handle();
    int cw = ClientWidth(), ch = ClientHeight();
    TRect r(cw - FButtonWidth + 2, 0, Width(), Height());
    InflateRect(r, -1, -1);
    const bool held = GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
    if (FButtonColor != clNone) {
        TColor face = FButtonHover ? (held ? FButtonColorDown : FButtonColorHot) : FButtonColor;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(face);
        c->FillRect(TRect(r.Left + 2, r.Top, r.Right, r.Bottom));
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(FButtonBorderColor);
        c->MoveTo(r.Left, r.Top);
        c->LineTo(r.Left, r.Bottom);
        TColor arrow = held ? FButtonTextColorDown : FButtonTextColor;
        c->Pen()->SetColor(arrow);
        c->Brush()->SetColor(arrow);
        const TPoint tri[] = {Point(r.Left + 5, r.Top + 7), Point(r.Left + 11, r.Top + 7), Point(r.Left + 8, r.Top + 10)};
        c->Polygon(tri, 3);
    } else if (ThemedActive()) {
        if (HTHEME theme = OpenThemeData(Handle(), u"combobox")) {
            // The styled combo's rule for the same button.
            int state = TAdvCustomCombo::ThemedButtonState(Enabled(), held, FButtonHover, DroppedDown());
            DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, state, &r, nullptr);
            CloseThemeData(theme);
        }
    } else {
        DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    ExcludeClipRect(dc, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

void TAsgDateTimePicker::DrawBorders() {
    if (!HandleAllocated() || !MetroActive()) return;
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    HDC dc = GetWindowDC(Handle());
    TCanvas* c = TCanvas::FromHandle(dc);
    if (c) {
        TRect r(0, 0, Width(), Height());
        if (!Enabled() && FIsThemed && !FDisabledBorder) {
            Frame(c, r, kDisabledFrame);
        } else if (FBorderColor != clNone && (!FHasFocus || FFocusBorderColor == clNone)) {
            Frame(c, r, FBorderColor);
        } else if (FFocusBorderColor != clNone) {
            if (FHasFocus) Frame(c, r, FFocusBorderColor);
        } else {
            bool border3D = !ComponentState().Contains(csDesigning) && Hot() && FFocusBorder;
            TColor outer = border3D ? clBtnFace : (Parent() ? Parent()->Color() : Color());
            if (border3D) {
                DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
                Frame(c, r, outer);
                InflateRect(r, -1, -1);
                Frame(c, r, Color());
            } else {
                Frame(c, r, outer);
                InflateRect(r, -1, -1);
                Frame(c, TRect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), outer);
                InflateRect(r, -1, -1);
                Frame(c, r, Color());
            }
        }
        if (!(FIsWinXP && ThemedActive())) {
            int cw = ClientWidth(), ch = ClientHeight();
            ExcludeClipRect(dc, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
            TRect b(cw - FButtonWidth - 2, 0, Width(), Height());
            InflateRect(b, -2, -2);
            if (Hot()) {
                DrawEdge(dc, &b, EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
            } else {
                b.Top += 1;
                b.Bottom -= 1;
                b.Right -= 1;
                c->Brush()->SetStyle(bsSolid);
                c->Brush()->SetColor(clBtnFace);
                c->FillRect(b);
            }
            ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
        }
    }
    ReleaseDC(Handle(), dc);
}

void TAsgDateTimePicker::AfterNCPaint() {
    if (!HandleAllocated()) return;
    if (!Ctl3D() && FBorderColor != clNone) {
        HDC dc = GetWindowDC(Handle());
        if (TCanvas* c = TCanvas::FromHandle(dc)) {
            TColor pen = FBorderStyle == bsNone && Parent() ? Parent()->Color() : FIsThemed ? kDisabledFrame : FBorderColor;
            int w = Width(), h = Height();
            c->Pen()->SetWidth(1);
            c->Pen()->SetColor(pen);
            c->MoveTo(0, h);
            c->LineTo(0, 0);
            c->LineTo(w - 1, 0);
            c->LineTo(w - 1, h - 1);
            c->LineTo(0, h - 1);
            if (FBorderStyle == bsSingle && Parent()) {
                c->Pen()->SetColor(Parent()->Color());
                c->MoveTo(1, h - 2);
                c->LineTo(1, 1);
                c->LineTo(w - 1, 1);
            }
        }
        ReleaseDC(Handle(), dc);
    }
    if (!Enabled() && ThemedActive() && !FDisabledBorder) DrawBorders();
    if ((FFocusBorderColor != clNone && GetFocus() == Handle()) || FBorderColor != clNone) DrawBorders();
}
