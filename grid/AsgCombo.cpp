#include "grid/AsgCombo.h"

#include "platform/ui/Gdi.h"

TAsgCustomCombo::TAsgCustomCombo(TComponent* AOwner) : TAdvCustomCombo(AOwner) {
    SetFlatLineColor(clNone);
}

void TAsgCustomCombo::SetLabelPosition(AsgCombo::TLabelPosition value) {
    FLabelPosition = value;
    if (value <= AsgCombo::lpRighBottom) TAdvCustomCombo::SetLabelPosition(static_cast<AdvCombo::TLabelPosition>(value));
}

void TAsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TLabel* label = ComboLabel();
    bool hold = label && FLabelPosition > AsgCombo::lpRighBottom;
    TPoint kept = hold ? Point(label->Left(), label->Top()) : TPoint();
    TAdvCustomCombo::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (hold) label->SetBounds(kept.X, kept.Y, label->Width(), label->Height());
}

void TAsgCustomCombo::SetEtched(bool value) {
    FEtchedLook = value;
    Invalidate();
}

void TAsgCustomCombo::SetIsVista(bool value) {
    if (FIsVista == value) return;
    FIsVista = value;
    Invalidate();
}

void TAsgCustomCombo::Paint() {
    if (PlatformPaints()) TCustomComboBox::Paint();
    else TAdvCustomCombo::Paint();
}

void TAsgCustomCombo::WMPaint(TMessage& Message) {
    if (!PlatformPaints()) {
        TAdvCustomCombo::WMPaint(Message);
        return;
    }
    TCustomComboBox::WMPaint(Message);
    if (BorderColor() != clNone) DrawBorders();
}

void TAsgCustomCombo::WMNCPaint(TMessage& Message) {
    if (!PlatformPaints()) {
        TAdvCustomCombo::WMNCPaint(Message);
        return;
    }
    TCustomComboBox::WMNCPaint(Message);
    if (BorderColor() != clNone) DrawBorders();
}

void TAsgCustomCombo::DrawButtonEdge(TCanvas* Canvas) {
    bool hot = ComponentState().Contains(csDesigning) ? Enabled() : (MouseInControl() || HasFocus());
    if (!hot) {
        TAdvCustomCombo::DrawButtonEdge(Canvas);
        return;
    }
    HDC dc = Canvas->Handle();
    int cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(dc, cw - ButtonWidth() + 4, 4, cw - 4, ch - 4);
    TRect b = Rect(cw - ButtonWidth() - 2, 0, Width(), Height());
    InflateRect(b, -2, -2);
    ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
}
