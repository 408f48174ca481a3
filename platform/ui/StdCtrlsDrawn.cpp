#include "platform/ui/StdCtrlsDrawn.h"

namespace {

UINT AlignmentFlags(TAlignment a) {
    switch (a) {
        case taRightJustify: return DT_RIGHT;
        case taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

// The text to measure: an empty caption still takes one line.
String MeasuredText(const String& caption, bool showAccelChar) {
    if (caption.empty() || (showAccelChar && caption == String("&"))) return String(" ");
    return caption;
}

// Alt + the caption's accelerator focuses the control the text names.
bool FocusByAccel(TMessage& Message, const TControl* self, TWinControl* target, bool showAccelChar) {
    if (!target || !self->Enabled() || !showAccelChar) return false;
    if (!IsAccel(static_cast<WORD>(Message.WParam), self->Caption())) return false;
    if (!target->CanFocus()) return false;
    target->SetFocus();
    Message.Result = 1;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

UINT TCustomLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS | AlignmentFlags(FAlignment);
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize) return;
    ui::MeasureCanvas mc(Font());
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0x7FFF, 0);
    DrawText(mc->Handle(), MeasuredText(Caption(), FShowAccelChar), -1, &r, TextFlags() | DT_CALCRECT);
    int x = Left();
    if (FAlignment == taRightJustify) x = Left() + Width() - r.Width();
    SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    c->SetFont(Font());
    UINT flags = TextFlags();
    TRect calc = r;
    DrawText(c->Handle(), MeasuredText(Caption(), FShowAccelChar), -1, &calc, flags | DT_CALCRECT);
    if (FLayout == tlCenter) r.Top += (r.Height() - calc.Height()) / 2;
    else if (FLayout == tlBottom) r.Top = r.Bottom - calc.Height();
    FTextRect = r;
    ui::DrawControlText(c, Caption(), r, flags, Enabled());
}

void TCustomLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGCHAR:
            if (FocusByAccel(Message, this, FFocusControl, FShowAccelChar)) return;
            break;
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            AdjustBounds();
            break;
        default:
            break;
    }
    TGraphicControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// TStaticText

TStaticText::TStaticText(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

void TStaticText::AdjustBounds() {
    if (!FAutoSize) return;
    ui::MeasureCanvas mc(Font());
    TRect r = Rect(0, 0, 0x7FFF, 0);
    UINT flags = DT_EXPANDTABS | (FShowAccelChar ? 0 : DT_NOPREFIX);
    DrawText(mc->Handle(), MeasuredText(Caption(), FShowAccelChar), -1, &r, flags | DT_CALCRECT);
    int border = FBorderStyle == sbsNone ? 0 : 2;
    SetBounds(Left(), Top(), r.Width() + 2 * border, r.Height() + 2 * border);
}

void TStaticText::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TStaticText::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustBounds();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    AdjustBounds();
    Invalidate();
}

void TStaticText::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TStaticText::SetFocusControl(TWinControl* value) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TStaticText::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TStaticText::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (FBorderStyle == sbsSunken) {
        DrawEdge(c->Handle(), &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (FBorderStyle == sbsSingle) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    c->SetFont(Font());
    UINT flags = DT_EXPANDTABS | AlignmentFlags(FAlignment) | (FShowAccelChar ? 0 : DT_NOPREFIX);
    ui::DrawControlText(c, Caption(), r, flags, Enabled());
}

void TStaticText::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGCHAR:
            if (FocusByAccel(Message, this, FFocusControl, FShowAccelChar)) return;
            break;
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            AdjustBounds();
            break;
        default:
            break;
    }
    TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csAcceptsControls << csCaptureMouse << csClickEvents << csSetCaption
                                    << csDoubleClicks << csReplicatable;
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Paint() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int h = c->TextHeight(String("0"));
    TRect frame = Rect(0, h / 2 - 1, Width(), Height());
    DrawEdge(c->Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    TRect text = Rect(8, 0, 0, h);
    DrawText(c->Handle(), Caption(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(text.Left - 1, text.Top, text.Right + 1, text.Bottom));
    ui::DrawControlText(c, Caption(), text, DT_SINGLELINE | DT_LEFT, Enabled());
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
    ui::MeasureCanvas mc(Font());
    Rect = ::Rect(Rect.Left + 2, Rect.Top + mc->TextHeight(String("0")) + 2, Rect.Right - 2, Rect.Bottom - 2);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    // The caption's height decides where aligned children start.
    if (Message.Msg == CM_FONTCHANGED) AlignControls();
}
