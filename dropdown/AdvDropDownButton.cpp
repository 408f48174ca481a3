// The drop button of unit AdvDropDown: the container window and the painted button inside it.
#include "controls/styled/AdvXPVS.h"
#include "dropdown/AdvDropDown.h"
#include "platform/ui/Gdi.h"

// ---------------------------------------------------------------------------------------------
// The painted button

TAdvDropDownSpeedButton::TAdvDropDownSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
    FIsWinXP = IsComCtl6OrLater();
}

void TAdvDropDownSpeedButton::SetEtched(bool value) {
    if (FEtched == value) return;
    FEtched = value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetFocused(bool value) {
    if (FFocused == value) return;
    FFocused = value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetButtonStyle(advdropdown::TButtonStyle value) {
    FButtonStyle = value;
    Invalidate();
}

void TAdvDropDownSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHot = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

TDropDownEditButton* TAdvDropDownSpeedButton::Container() const { return dynamic_cast<TDropDownEditButton*>(Parent()); }

TAdvCustomDropDown* TAdvDropDownSpeedButton::DropDown() const {
    TDropDownEditButton* container = Container();
    return container ? dynamic_cast<TAdvCustomDropDown*>(container->Parent()) : nullptr;
}

bool TAdvDropDownSpeedButton::Down() const { return (State() == bsDown || State() == bsExclusive) && !FUp; }

int TAdvDropDownSpeedButton::ThemeState() const {
    if (!Enabled()) return 4;
    if (Down()) return 3;
    return FHot ? 2 : 1;
}

bool TAdvDropDownSpeedButton::ThemesActive() const {
    const TThemeApiLoader& api = AdvXPVS::ThemeApi;
    return FIsWinXP && api.IsThemeActive && api.IsThemeActive();
}

void TAdvDropDownSpeedButton::Paint() {
    if (FButtonStyle == advdropdown::bsDropDown) PaintDropDown();
    else PaintPushButton();
}

void TAdvDropDownSpeedButton::DrawArrow(TCanvas* canvas, TColor color) {
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    const TPoint arrow[] = {Point(5, 7), Point(11, 7), Point(8, 10)};
    canvas->Polygon(arrow, 3);
}

void TAdvDropDownSpeedButton::PaintDropDown() {
    TCanvas* canvas = Canvas();
    TDropDownEditButton* container = Container();
    TAdvCustomDropDown* dropDown = DropDown();
    const TRect r = ClientRect();
    const bool down = Down();

    // Custom colours: the face, a line of the edit's border colour at the left, the arrow.
    if (container && container->ButtonColor() != clNone) {
        TColor face = container->ButtonColor(), text = container->ButtonTextColor();
        if (FHot) {
            face = container->ButtonColorHot();
            text = container->ButtonTextColorHot();
        }
        if (down) {
            face = container->ButtonColorDown();
            text = container->ButtonTextColorDown();
        }
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(face);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(face);
        canvas->Rectangle(r);
        if (dropDown && dropDown->BorderColor() != clNone) {
            canvas->Pen()->SetColor(dropDown->BorderColor());
            canvas->MoveTo(0, r.Top);
            canvas->LineTo(0, r.Bottom);
        }
        DrawArrow(canvas, text);
        return;
    }

    if (!Glyph()->Empty()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(static_cast<TColor>(0x808080));
        canvas->Rectangle(r);
        Glyph()->SetTransparentMode(tmAuto);
        Glyph()->SetTransparent(true);
        canvas->Draw(0, 0, Glyph());
        return;
    }

    if (dropDown) SetEnabled(dropDown->Enabled() && !dropDown->ReadOnly());

    const bool designing = ComponentState().Contains(csDesigning);
    if (!designing && ThemesActive()) {
        const TThemeApiLoader& api = AdvXPVS::ThemeApi;
        HWND window = container && container->Parent() ? container->Parent()->Handle() : nullptr;
        if (HTHEME theme = api.OpenThemeData(window, u"combobox")) {
            TRect t = r;
            if (IsWindowsVistaOrLater()) {
                t.Left += 1;
            } else {
                InflateRect(t, 1, 1);
                t.Left += 2;
            }
            api.DrawThemeBackground(theme, canvas->Handle(), CP_DROPDOWNBUTTON, ThemeState(), &t, nullptr);
            api.CloseThemeData(theme);
            return;
        }
    }

    // Classic: the speed button's face, its light edges at the top and left, the black arrow.
    TSpeedButton::Paint();
    const int w = r.Width(), h = r.Height();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBtnFace);
    const TPoint outer[] = {Point(w - 2, 0), Point(0, 0), Point(0, h - 1)};
    canvas->Polyline(outer, 3);
    canvas->Pen()->SetColor(clWhite);
    const TPoint inner[] = {Point(w - 3, 1), Point(1, 1), Point(1, h - 2)};
    canvas->Polyline(inner, 3);
    DrawArrow(canvas, clBlack);
}

void TAdvDropDownSpeedButton::PaintPushButton() {
    TCanvas* canvas = Canvas();
    if (TAdvCustomDropDown* dropDown = DropDown()) canvas->Font()->Assign(dropDown->Font());
    const TRect r = ClientRect();
    const bool down = Down();
    const int shift = down ? 1 : 0;
    TBitmap* glyph = Glyph();
    const String caption = Caption();

    if (ThemesActive()) {
        canvas->FillRect(BoundsRect());
        const TThemeApiLoader& api = AdvXPVS::ThemeApi;
        TDropDownEditButton* container = Container();
        HWND window = container && container->Parent() ? container->Parent()->Handle() : nullptr;
        if (HTHEME theme = api.OpenThemeData(window, u"button")) {
            const TRect t(0, 0, Width() + 1, Height() + 1);
            api.DrawThemeBackground(theme, canvas->Handle(), BP_PUSHBUTTON, ThemeState(), &t, nullptr);
            api.CloseThemeData(theme);
        }
        TRect room = r;
        InflateRect(room, -2, -2);
        if (!glyph->Empty()) {
            int x = room.Left, y = room.Top;
            if (caption.empty() && glyph->Width() < room.Width()) x = room.Left + (room.Width() - glyph->Width()) / 2;
            if (glyph->Height() < room.Height()) y = room.Top + (room.Height() - glyph->Height()) / 2;
            glyph->SetTransparentMode(tmAuto);
            glyph->SetTransparent(true);
            canvas->Draw(x + shift, y + shift, glyph);
        }
        if (!caption.empty()) {
            canvas->Brush()->SetStyle(bsClear);
            if (glyph->Empty()) {
                TRect t = r;
                InflateRect(t, -3, -1);
                OffsetRect(t, shift, shift);
                DrawText(canvas->Handle(), caption, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            } else {
                TRect t(r.Left + glyph->Width() + 2, r.Top - 1, r.Right, r.Bottom);
                DrawText(canvas->Handle(), caption, -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
        }
        return;
    }

    if (Flat()) {
        canvas->FillRect(BoundsRect());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(BoundsRect());
        TRect e = r;
        e.Right += 1;
        e.Bottom += 1;
        DrawEdge(canvas->Handle(), &e, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
        if (!glyph->Empty()) {
            TRect g = r;
            InflateRect(g, -3, -3);
            OffsetRect(g, shift, shift);
            DrawTransparentBitmap(canvas, glyph, clBtnFace, g);
        }
        if (!caption.empty()) {
            TRect t = r;
            InflateRect(t, -3, -1);
            OffsetRect(t, shift, shift);
            canvas->Brush()->SetStyle(bsClear);
            DrawText(canvas->Handle(), caption, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        return;
    }

    TSpeedButton::Paint();
}

// ---------------------------------------------------------------------------------------------
// The container

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle((ControlStyle() >> csAcceptsControls >> csSetCaption) << csOpaque);
    FButton = NewComponent<TAdvDropDownSpeedButton>(this);
    FButton->SetParent(this);
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button == mbLeft && OnClick) OnClick(this);
    };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetCaption(String());
    FButton->SetButtonStyle(advdropdown::bsDropDown);
    SetBounds(0, 0, 16, 25);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    (void)AWidth;
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) && !state.Contains(csDesigning)) return;
    TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
    if (FButton) FButton->SetBounds(0, 0, FBWidth, AHeight);
}

void TDropDownEditButton::Adjust() {
    if (Width() != FBWidth || (FButton && FButton->BoundsRect() != Rect(0, 0, FBWidth, Height())))
        SetBounds(Left(), Top(), FBWidth, Height());
}

void TDropDownEditButton::WMSize(TMessage& Message) {
    TWinControl::WMSize(Message);
    Adjust();
}

void TDropDownEditButton::Loaded() {
    TWinControl::Loaded();
    Adjust();
}

void TDropDownEditButton::SetButtonWidth(int value) {
    FBWidth = value;
    SetBounds(Left(), Top(), value, Height());
}

TBitmap* TDropDownEditButton::Glyph() const { return FButton->Glyph(); }
void TDropDownEditButton::SetGlyph(TBitmap* value) { FButton->SetGlyph(value); }
String TDropDownEditButton::ButtonCaption() const { return FButton->Caption(); }
void TDropDownEditButton::SetButtonCaption(const String& value) { FButton->SetCaption(value); }
TNumGlyphs TDropDownEditButton::NumGlyphs() const { return FButton->NumGlyphs(); }
void TDropDownEditButton::SetNumGlyphs(TNumGlyphs value) { FButton->SetNumGlyphs(value); }

void TDropDownEditButton::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TDropDownEditButton::Repaint(TColor& field, TColor value) {
    field = value;
    FButton->Invalidate();
}

void TDropDownEditButton::SetButtonColor(TColor value) { Repaint(FButtonColor, value); }
void TDropDownEditButton::SetButtonColorHot(TColor value) { Repaint(FButtonColorHot, value); }
void TDropDownEditButton::SetButtonColorDown(TColor value) { Repaint(FButtonColorDown, value); }
void TDropDownEditButton::SetButtonTextColor(TColor value) { Repaint(FButtonTextColor, value); }
void TDropDownEditButton::SetButtonTextColorHot(TColor value) { Repaint(FButtonTextColorHot, value); }
void TDropDownEditButton::SetButtonTextColorDown(TColor value) { Repaint(FButtonTextColorDown, value); }

void TDropDownEditButton::CMEnabledChanged(TMessage& Message) {
    TWinControl::CMEnabledChanged(Message);
    if (!ComponentState().Contains(csDesigning) && FButton) FButton->SetEnabled(Enabled());
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
    if (AComponent == FButton) FButton = nullptr;
}
