#include "controls/styled/AdvCombo.h"

#include "controls/styled/ACXPVS.h"
#include "controls/styled/LabelPlacement.h"
#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace {

// A disabled combo under a visual style without DisabledBorder.
constexpr TColor kDisabledFrame = 0xB99D7F;

void Frame(TCanvas* c, const TRect& r, TColor color) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->FrameRect(r);
}

}  // namespace

TAdvCustomCombo::TAdvCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2), FLabelFont(std::make_unique<TFont>()) {
    FIsWinXP = IsWinXPOrLater();
    FIsThemed = IsComCtl6OrLater();
    FLabelFont->OnChange = [this](TPersistent*) {
        UpdateLabel();
        if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) SetParentFont(false);
    };
    // The frame and the button are ours: the native picture is painted under them.
    SetOwnerPainted(true);
}

TAdvCustomCombo::~TAdvCustomCombo() = default;

String TAdvCustomCombo::Version() const {
    int v = GetVersionNr();
    return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

int TAdvCustomCombo::GetVersionNr() const {
    return (1 << 24) | (4 << 16);
}

bool TAdvCustomCombo::ThemeActive() const {
    auto isActive = ACXPVS::ThemeApi.IsThemeActive;
    return FIsThemed && isActive && isActive();
}

bool TAdvCustomCombo::MouseButtonHeld() const {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
}

TColor TAdvCustomCombo::ParentBrushColor() const {
    return Parent() ? Parent()->Color() : Color();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TAdvCustomCombo::SetColor(TColor value) {
    if (ComponentState().Contains(csLoading)) FLoadedColor = value;
    TCustomComboBox::SetColor(value);
}

void TAdvCustomCombo::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TAdvCustomCombo::SetButtonWidth(int value) {
    if (value < 14 || value > 32 || value == FButtonWidth) return;
    FButtonWidth = value;
    Invalidate();
}

void TAdvCustomCombo::SetDisabledBorder(bool value) {
    if (FDisabledBorder == value) return;
    FDisabledBorder = value;
    Invalidate();
}

void TAdvCustomCombo::SetDropWidth(int value) {
    FDropWidth = value;
    if (value > 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(value), 0);
}

void TAdvCustomCombo::SetEtched(bool value) {
    if (FEtched == value) return;
    FEtched = value;
    Invalidate();
}

void TAdvCustomCombo::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    SetCtl3D(!value);
    if (FFlatParentColor && FFlat && Parent())
        TCustomComboBox::SetColor(ParentBrushColor());
    else
        TCustomComboBox::SetColor(FLoadedColor);
    Invalidate();
}

void TAdvCustomCombo::SetFlatLineColor(TColor value) {
    if (FFlatLineColor == value) return;
    FFlatLineColor = value;
    Invalidate();
}

void TAdvCustomCombo::SetFlatParentColor(bool value) {
    if (FFlatParentColor == value) return;
    FFlatParentColor = value;
    Invalidate();
}

void TAdvCustomCombo::SetFocusBorder(bool value) {
    if (FFocusBorder == value) return;
    FFocusBorder = value;
    Invalidate();
}

void TAdvCustomCombo::SetFocusBorderColor(TColor value) {
    if (FFocusBorderColor == value) return;
    FFocusBorderColor = value;
    Invalidate();
}

#define COMBO_COLOUR_SETTER(Name)                   \
    void TAdvCustomCombo::Set##Name(TColor value) { \
        if (F##Name == value) return;               \
        F##Name = value;                            \
        Invalidate();                               \
    }
COMBO_COLOUR_SETTER(ButtonColor)
COMBO_COLOUR_SETTER(ButtonColorHot)
COMBO_COLOUR_SETTER(ButtonColorDown)
COMBO_COLOUR_SETTER(ButtonBorderColor)
COMBO_COLOUR_SETTER(ButtonTextColor)
COMBO_COLOUR_SETTER(ButtonTextColorHot)
COMBO_COLOUR_SETTER(ButtonTextColorDown)
#undef COMBO_COLOUR_SETTER

void TAdvCustomCombo::SelectItem(const String& AString) {
    int index = Items()->IndexOf(AString);
    if (index >= 0) SetItemIndex(index);
}

void TAdvCustomCombo::Init() {
    FNormalColor = Color();
}

void TAdvCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FSavedColor = FLoadedColor;
    if (!(FFlat && FFlatParentColor)) TCustomComboBox::SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
        if (ParentFont()) FLabel->Font()->Assign(Font());
    }
    UpdateLabel();
    Init();
}

// ---------------------------------------------------------------------------------------------
// The label

void TAdvCustomCombo::SetLabelCaption(const String& value) {
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
    }
    FLabelCaption = value;
    FLabel->SetCaption(value);
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelPosition(AdvCombo::TLabelPosition value) {
    FLabelPosition = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelMargin(int value) {
    FLabelMargin = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel) FLabel->SetEnabled(value || Enabled());
}

void TAdvCustomCombo::SetLabelFont(TFont* value) {
    // Taken only while the label has a font of its own.
    if (!ParentFont() && value) FLabelFont->Assign(value);
}

void TAdvCustomCombo::UpdateLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont()) FLabel->Font()->Assign(FLabelFont.get());
    styled::PlaceAttachedLabel(FLabel, FLabelPosition, BoundsRect(), FLabelMargin);
    FLabel->SetVisible(Visible());
}

void TAdvCustomCombo::SetLabelBold(bool bold) {
    if (!FLabel) return;
    TFontStyles style = FLabel->Font()->Style();
    FLabel->Font()->SetStyle(bold ? style << fsBold : style >> fsBold);
}

void TAdvCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ComponentState().Contains(csDestroying)) UpdateLabel();
}

void TAdvCustomCombo::SetParent(TWinControl* AParent) {
    TCustomComboBox::SetParent(AParent);
    // The label sits beside the combo, on the same parent.
    if (FLabel && !ComponentState().Contains(csDestroying)) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TAdvCustomCombo::SetEnabled(bool value) {
    bool changed = value != Enabled();
    TCustomComboBox::SetEnabled(value);
    if (!changed || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(value);
    UpdateLabel();
}

void TAdvCustomCombo::CMVisibleChanged(TMessage& Message) {
    TCustomComboBox::CMVisibleChanged(Message);
    if (FLabel) FLabel->SetVisible(Visible());
}

void TAdvCustomCombo::CMEnabledChanged(TMessage& Message) {
    // The flat look shows the parent's colour while disabled, and its own again afterwards.
    if (FFlat && !ComponentState().Contains(csLoading)) {
        if (!Enabled()) {
            FSavedColor = Color();
            FSavedParentColor = ParentColor();
            FColorSaved = true;
            SetParentColor(true);
        } else if (FColorSaved) {
            TCustomComboBox::SetColor(FSavedColor);
            SetParentColor(FSavedParentColor);
            FColorSaved = false;
        }
    }
    TCustomComboBox::CMEnabledChanged(Message);
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// ---------------------------------------------------------------------------------------------
// Hover and focus

void TAdvCustomCombo::CMMouseEnter(TMessage& Message) {
    TCustomComboBox::CMMouseEnter(Message);
    if (!Enabled() || FMouseInControl) return;
    FMouseInControl = true;
    InvalidateFrame();
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if ((!form || form->Active()) && CanFocus()) SetFocus();
    }
    if (FIsWinXP) Invalidate();
}

void TAdvCustomCombo::CMMouseLeave(TMessage& Message) {
    TCustomComboBox::CMMouseLeave(Message);
    if (Enabled()) FMouseInControl = false;
    InvalidateFrame();
    FButtonHover = false;
    if (FIsWinXP) Invalidate();
}

void TAdvCustomCombo::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomComboBox::MouseMove(Shift, X, Y);
    bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover == FButtonHover) return;
    FButtonHover = hover;
    Invalidate();
}

void TAdvCustomCombo::FocusLook(bool focused) {
    if (focused) {
        if (FFocusColor != clNone) TCustomComboBox::SetColor(FFocusColor);
        if (FFocusLabel) SetLabelBold(true);
    } else {
        if (FFocusColor != clNone && FNormalColor != clNone) TCustomComboBox::SetColor(FNormalColor);
        SetLabelBold(false);
    }
}

void TAdvCustomCombo::CMEnter(TMessage& Message) {
    if (!ComponentState().Contains(csDesigning)) {
        FHasFocus = true;
        InvalidateFrame();
        FocusLook(true);
    }
    TCustomComboBox::CMEnter(Message);
}

void TAdvCustomCombo::CMExit(TMessage& Message) {
    if (!ComponentState().Contains(csDesigning)) {
        FHasFocus = false;
        InvalidateFrame();
        FocusLook(false);
    }
    TCustomComboBox::CMExit(Message);
}

void TAdvCustomCombo::WMSetFocus(TMessage& Message) {
    TCustomComboBox::WMSetFocus(Message);
    if (ComponentState().Contains(csDesigning)) return;
    FocusLook(true);
    if (FFocusBorderColor != clNone) Invalidate();
}

void TAdvCustomCombo::WMKillFocus(TMessage& Message) {
    TCustomComboBox::WMKillFocus(Message);
    if (ComponentState().Contains(csDesigning)) return;
    FocusLook(false);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// The list

void TAdvCustomCombo::InvalidateButton() {
    if (!HandleAllocated()) return;
    TRect r = ClientRect();
    r.Left = r.Right - FButtonWidth;
    ::InvalidateRect(Handle(), &r, FALSE_);
}

void TAdvCustomCombo::DropDown() {
    TCustomComboBox::DropDown();
    InvalidateButton();
}

void TAdvCustomCombo::CloseUp() {
    TCustomComboBox::CloseUp();
    InvalidateButton();
    if (OnDropUp) OnDropUp(this);
}

void TAdvCustomCombo::Dispatch(TMessage& Message) {
    TCustomComboBox::Dispatch(Message);
    // A font change reaches the label while it is designed or loaded, a parent font always.
    if (Message.Msg == CM_FONTCHANGED && FLabel && ParentFont() &&
        (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)))
        FLabel->Font()->Assign(Font());
    if (Message.Msg == CM_PARENTFONTCHANGED && FLabel && ParentFont()) {
        FLabel->Font()->Assign(Font());
        UpdateLabel();
    }
}

// ---------------------------------------------------------------------------------------------
// Painting

TAdvCustomCombo::FrameChoice TAdvCustomCombo::ChooseFrame() const {
    FrameChoice f;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return f;
    f.Draw = true;
    f.Color = kDisabledFrame;
    if (Enabled() || !ThemeActive() || FDisabledBorder) {
        f.Color = FBorderColor;
        if (f.Color == clNone || (FHasFocus && FFocusBorderColor != clNone)) {
            f.Color = FFocusBorderColor;
            if (f.Color == clNone) {
                f.Plain = true;
            } else if (!FHasFocus) {
                f.Draw = false;
                f.Color = clNone;
            }
        }
    }
    return f;
}

void TAdvCustomCombo::DrawControlBorder(TCanvas* c) {
    FrameChoice f = ChooseFrame();
    if (!f.Draw) return;
    TRect r = Rect(0, 0, Width(), Height());
    if (!f.Plain) {
        Frame(c, r, f.Color);
        return;
    }
    bool designing = ComponentState().Contains(csDesigning);
    bool focusActive = FFocusBorder && !designing && (FMouseInControl || Screen->ActiveControl() == this);
    TColor outer = focusActive ? clBtnFace : ParentBrushColor();
    TColor inner = Color();
    if (focusActive) {
        DrawEdge(c->Handle(), &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        Frame(c, r, outer);
        InflateRect(r, -1, -1);
        Frame(c, r, inner);
    } else {
        Frame(c, r, outer);
        InflateRect(r, -1, -1);
        Frame(c, Rect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), outer);
        InflateRect(r, -1, -1);
        Frame(c, r, inner);
    }
    if (FFlat && FFlatLineColor != clNone) {
        c->Pen()->SetColor(FFlatLineColor);
        c->Pen()->SetWidth(1);
        c->MoveTo(r.Left - 2, Height() - 1);
        c->LineTo(r.Right - FButtonWidth - 1, Height() - 1);
    }
}

void TAdvCustomCombo::DrawButtonEdge(TCanvas* c) {
    HDC dc = c->Handle();
    int cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(dc, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
    TRect b = Rect(cw - FButtonWidth - 2, 0, Width(), Height());
    InflateRect(b, -2, -2);
    bool active = ComponentState().Contains(csDesigning) ? Enabled() : (FMouseInControl || FHasFocus);
    if (active) {
        DrawEdge(dc, &b, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
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

void TAdvCustomCombo::DrawBorders() {
    if (!HandleAllocated()) return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    HDC dc = GetWindowDC(Handle());
    TCanvas* c = TCanvas::FromHandle(dc);
    if (c) {
        DrawControlBorder(c);
        if (Style() != csSimple && (!FIsWinXP || !ThemeActive())) DrawButtonEdge(c);
    }
    ReleaseDC(Handle(), dc);
}

int TAdvCustomCombo::ThemedButtonState(bool Enabled, bool Held, bool Hot, bool Dropped) {
    if (!Enabled) return CBXS_DISABLED;
    if (Held && Dropped) return CBXS_PRESSED;
    if (Held || !Hot || Dropped) return CBXS_NORMAL;
    return CBXS_HOT;
}

void TAdvCustomCombo::DrawDropButton(TCanvas* c) {
    HDC dc = c->Handle();
    int cw = ClientWidth(), ch = ClientHeight();
    TRect b = Rect(cw - FButtonWidth + 2, 0, Width(), Height());
    InflateRect(b, -1, -1);
    bool held = MouseButtonHeld();
    if (FButtonColor == clNone && ThemeActive()) {
        const TThemeApiLoader& api = ACXPVS::ThemeApi;
        if (HTHEME theme = api.OpenThemeData(Handle(), u"combobox")) {
            int state = ThemedButtonState(Enabled(), held, FButtonHover, DroppedDown());
            api.DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, state, &b, nullptr);
            api.CloseThemeData(theme);
        }
    } else if (FButtonColor == clNone) {
        DrawFrameControl(dc, &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    } else {
        TColor face = FButtonColor;
        if (FButtonHover) face = held ? FButtonColorDown : FButtonColorHot;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(face);
        c->Pen()->SetColor(face);
        c->Pen()->SetWidth(1);
        b.Left -= 1;
        b.Top += 1;
        b.Bottom -= 1;
        b.Right -= 1;
        c->Rectangle(b);
        c->Pen()->SetColor(FButtonBorderColor);
        c->MoveTo(b.Left, b.Top);
        c->LineTo(b.Left, b.Bottom);
        TColor arrow = held ? FButtonTextColorDown : FButtonTextColor;
        c->Pen()->SetColor(arrow);
        c->Brush()->SetColor(arrow);
        const TPoint tri[] = {Point(b.Left + 4, b.Top + 7), Point(b.Left + 10, b.Top + 7), Point(b.Left + 7, b.Top + 10)};
        c->Polygon(tri, 3);
    }
    ExcludeClipRect(dc, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

bool TAdvCustomCombo::OwnRoute() const {
    return FFlat || FButtonColor != clNone || FBorderColor != clNone || (FHasFocus && FFocusBorderColor != clNone) ||
           (!Enabled() && ThemeActive() && !FDisabledBorder);
}

void TAdvCustomCombo::Paint() {
    if (!OwnRoute()) {
        TCustomComboBox::Paint();
        return;
    }
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    if (Style() != csSimple) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
        DrawDropButton(c);
    }
    PaintNative(c);
    RestoreDC(dc, saved);
}

void TAdvCustomCombo::WMPaint(TMessage& Message) {
    TCustomComboBox::WMPaint(Message);
    if (OwnRoute()) DrawBorders();
}

void TAdvCustomCombo::WMNCPaint(TMessage& Message) {
    TCustomComboBox::WMNCPaint(Message);
    bool disabledStyled = !Enabled() && ThemeActive() && !FDisabledBorder;
    if (FFlat || disabledStyled || FBorderColor != clNone || (FHasFocus && FFocusBorderColor != clNone))
        DrawBorders();
}
