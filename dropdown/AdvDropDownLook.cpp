// The drop-down edit's looks: its window, the least height and the place of the drop button,
// the formatting rectangle, the custom borders and the focus box of an untypeable edit.
#include <algorithm>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"

void TAdvCustomDropDown::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

// The layer sends no WM_SIZE when a window is made: the button is placed as if it did.
void TAdvCustomDropDown::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    UpdateEditRect();
    LayoutEditControl();
}

int TAdvCustomDropDown::MinimumHeight() {
    TBitmap screen(1, 1);
    HDC dc = screen.Canvas()->Handle();
    TEXTMETRIC own{}, system{};
    SelectObject(dc, Font()->Handle());
    GetTextMetrics(dc, &own);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetrics(dc, &system);
    return own.tmHeight + std::min(own.tmHeight, system.tmHeight) / 4;
}

void TAdvCustomDropDown::UpdateEditRect() {
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - FButtonWidth - 3;
    const bool single = BorderStyle() == bsSingle;
    r.Left = single ? 1 : 2;
    r.Top = single ? 1 : 3;
    FEditRect = r;
    if (!Ctl3D()) r.Left += 1;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAdvCustomDropDown::LayoutEditControl() {
    const int least = MinimumHeight();
    if (Height() < least) {
        SetHeight(least);  // the size change lays out again
        Invalidate();
        return;
    }
    if (!FButton) return;
    if (NewStyleControls && Ctl3D() && BorderStyle() == bsSingle) {
        const int m = FFlat ? 3 : 4;
        FButton->SetBounds(Width() - FButtonWidth - m, FFlat ? 2 : 0, FButtonWidth, Height() - m);
    } else {
        FButton->SetBounds(Width() - FButtonWidth - (Ctl3D() ? 0 : 2), 1, FButtonWidth, Height() - 2);
    }
    UpdateEditRect();
    Invalidate();
}

void TAdvCustomDropDown::WMSize(TMessage& Message) {
    TCustomMaskEdit::WMSize(Message);
    LayoutEditControl();
}

// A frame of other widths (Ctl3D, the border style) changes the client area, as a size message
// would tell.
void TAdvCustomDropDown::FrameWidthsChanged() {
    TCustomMaskEdit::FrameWidthsChanged();
    LayoutEditControl();
}

void TAdvCustomDropDown::CMFontChanged(TMessage& Message) {
    TCustomMaskEdit::CMFontChanged(Message);
    if (HandleAllocated()) UpdateEditRect();
}

// ---------------------------------------------------------------------------------------------
// Painting

bool TAdvCustomDropDown::Hot() const { return FMouseInControl || Screen->ActiveControl() == this; }

void TAdvCustomDropDown::Paint() {
    TCustomMaskEdit::Paint();
    PaintReadOnlyFocus();
    if (FBorderColor != clNone || (!Enabled() && FDisabledBorder)) DrawBorders();
}

void TAdvCustomDropDown::WMNCPaint(TMessage& Message) {
    TCustomMaskEdit::WMNCPaint(Message);
    DrawBorders();
}

namespace {

void FrameIn(HDC dc, TRect r, TColor color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

void TAdvCustomDropDown::DrawBorders() {
    const bool designing = ComponentState().Contains(csDesigning);
    if (designing || !HandleAllocated()) return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    TRect r(0, 0, Width(), Height());
    const bool hot = Hot();
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        FrameIn(dc, r, static_cast<TColor>(0xC0C0C0));
    } else if (FBorderColor != clNone && (!Focused() || FFocusBorderColor == clNone)) {
        FrameIn(dc, r, FBorderColor);
    } else if (FFocusBorderColor != clNone) {
        if (Focused()) FrameIn(dc, r, FFocusBorderColor);
    } else if (hot) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameIn(dc, r, clBtnFace);
    } else {
        const TColor around = Parent() ? Parent()->Color() : clBtnFace;
        FrameIn(dc, r, around);
        InflateRect(r, -1, -1);
        FrameIn(dc, r, around);
    }
    ReleaseDC(Handle(), dc);
    if (FButton) FButton->Button()->SetFocused(designing ? Enabled() : hot);
}

void TAdvCustomDropDown::PaintReadOnlyFocus() {
    if (FEditorEnabled || !HandleAllocated() || !Focused() || ComponentState().Contains(csDesigning) || !FFocusDraw)
        return;
    HDC dc = GetWindowDC(Handle());
    TCanvas* canvas = TCanvas::FromHandle(dc);
    if (!canvas) return;
    TRect r(2, 2, Width() - FButtonWidth - 1, Height() - 2);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clHighlight);
    canvas->Pen()->SetColor(clBlack);
    canvas->FillRect(r);
    r.Left += 2;
    r.Right -= 3;
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(clHighlightText);
    canvas->Brush()->SetStyle(bsClear);
    DrawText(dc, Text(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ReleaseDC(Handle(), dc);
}

// ---------------------------------------------------------------------------------------------
// What repaints the border and the button

void TAdvCustomDropDown::CMMouseEnter(TMessage& Message) {
    TCustomMaskEdit::CMMouseEnter(Message);
    if (!Enabled()) return;
    FMouseInControl = true;
    InvalidateFrame();
}

void TAdvCustomDropDown::CMMouseLeave(TMessage& Message) {
    TCustomMaskEdit::CMMouseLeave(Message);
    if (!Enabled()) return;
    FMouseInControl = false;
    InvalidateFrame();
}

void TAdvCustomDropDown::CMEnabledChanged(TMessage& Message) {
    TCustomMaskEdit::CMEnabledChanged(Message);
    if (FButton) FButton->SetEnabled(Enabled());
    InvalidateFrame();
}
