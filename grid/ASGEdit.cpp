#include "grid/ASGEdit.h"

#include "grid/AsgEditLayout.h"
#include "platform/ui/Forms.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Menus.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/ui/Themes.h"
#include "platform/win/Window.h"

// TAdvSpeedButton -------------------------------------------------------------------------------

void TAdvSpeedButton::SetIsWinXP(bool value) {
    FIsWinXP = value;
    Invalidate();
}

void TAdvSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TAdvSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHot = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TAdvSpeedButton::Paint() {
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    HDC dc = c->Handle();
    TRect r(0, 0, Width(), Height());
    const bool pressed = State() == bsDown;
    auto* host = dynamic_cast<TAsgEditButton*>(Owner());
    bool drawn = false;
    if (host && host->ButtonColor() != clNone) {
        FFlat = true;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(pressed ? host->ButtonColorDown() : FHot ? host->ButtonColorHot() : host->ButtonColor());
        c->FillRect(r);
        drawn = true;
    } else if (FIsWinXP && IsThemeActive() && Parent() && Parent()->HandleAllocated()) {
        if (HTHEME theme = OpenThemeData(Parent()->Handle(), u"button")) {
            DrawThemeBackground(theme, dc, BP_PUSHBUTTON, pressed ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL, &r, nullptr);
            CloseThemeData(theme);
            drawn = true;
        }
    }
    if (!drawn && FFlat) {
        DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        InflateRect(r, -1, -1);
    } else if (!drawn) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    }
    const int shift = pressed ? 1 : 0;
    TBitmap* glyph = Glyph();
    if (glyph && !glyph->Empty()) {
        glyph->SetTransparent(true);
        int x = glyph->Width() < Width() ? (Width() - glyph->Width()) / 2 : 0;
        int y = glyph->Height() < Height() ? (Height() - glyph->Height()) / 2 : 0;
        c->Draw(x + shift, y + shift, glyph);
    }
    if (!Caption().empty()) {
        TRect t = r;
        OffsetRect(t, shift, shift);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, clBlack);
        c->Brush()->SetStyle(bsClear);
        DrawText(dc, Caption(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// TAsgEditButton --------------------------------------------------------------------------------

TAsgEditButton::TAsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle = FControlStyle - TControlStyle{csAcceptsControls, csSetCaption} + TControlStyle{csOpaque};
    SetTabStop(false);
    FButton = new TAdvSpeedButton(this);
    // The click comes from the release (see Released), so a press dragged off still clicks.
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) { Released(Button); };
    FButton->SetVisible(true);
    FButton->SetEnabled(true);
    FButton->SetParent(this);
    FButton->SetCaption(String());
    FButton->Glyph()->Assign(nullptr);
    SetBounds(Left(), Top(), 20, 25);
}

void TAsgEditButton::SetColour(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    FButton->Invalidate();
}

void TAsgEditButton::Released(TMouseButton Button) {
    if (Button != mbLeft) return;
    if (OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

void TAsgEditButton::SetFlat(bool value) {
    FFlat = value;
    FButton->SetFlat(value);
}

void TAsgEditButton::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAsgEditButton::CoverButton() {
    if (FButton && !ComponentState().Contains(csLoading)) FButton->SetBounds(0, 0, Width(), Height());
}

void TAsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    CoverButton();
}

void TAsgEditButton::WMSize(TMessage& Message) {
    TWinControl::WMSize(Message);
    CoverButton();
}

void TAsgEditButton::Loaded() {
    TWinControl::Loaded();
    CoverButton();
}

// TAsgEditBtn -----------------------------------------------------------------------------------

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner) {
    FButton = new TAsgEditButton(this);
    FButton->SetWidth(18);
    FButton->SetHeight(18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
    SetText(u"0");
    FControlStyle = FControlStyle - TControlStyle{csSetCaption};
}

TAsgEditBtn::~TAsgEditBtn() { FButton = nullptr; }

void TAsgEditBtn::ButtonClick(TObject* Sender) {
    if (OnClickBtn) OnClickBtn(Sender);
}

void TAsgEditBtn::SetButtonWidth(int value) {
    FButtonWidth = value;
    FButton->SetWidth(value);
}

void TAsgEditBtn::SetIsWinXP(bool value) {
    FIsWinXP = value;
    FButton->Button()->SetIsWinXP(value);
}

void TAsgEditBtn::SetRightAlign(bool value) {
    if (FRightAlign == value) return;
    FRightAlign = value;
    if (HandleAllocated()) RecreateWnd();
}

void TAsgEditBtn::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    // Multi-line so that the formatting rectangle applies (the edit stays one line).
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FRightAlign) Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd() {
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TAsgEditBtn::SetEditRect() {
    if (!FButton || !HandleAllocated()) return;
    int inset = BorderStyle() == bsNone ? 3 : 1;
    int right = ClientWidth() - FButton->Width() - 5 - FUnitSize - (FUnitSize > 0 ? 3 : 0);
    TRect r(inset, inset, right, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TAsgEditBtn::MinHeight() { return asgedit::FontHeightWithGap(Font()); }

void TAsgEditBtn::WMSize(TMessage& Message) {
    TCustomEdit::WMSize(Message);
    if (!FButton) return;
    int minHeight = MinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    asgedit::PlaceRightButton(this, FButton, BorderStyle());
    SetEditRect();
}

void TAsgEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) ButtonClick(this);
}

void TAsgEditBtn::WMChar(TMessage& Message) {
    if (!FEditorEnabled) return;
    TCustomEdit::WMChar(Message);
}

void TAsgEditBtn::Dispatch(TMessage& Message) {
    if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!FEditorEnabled || ReadOnly())) return;
    TCustomEdit::Dispatch(Message);
}

// TAsgUnitEditBtn -------------------------------------------------------------------------------

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()) {
    FUnitSize = 20;
    SetRightAlign(true);
}

void TAsgUnitEditBtn::SetUnits(TStrings* value) {
    if (value) FUnits->Assign(value);
}

void TAsgUnitEditBtn::SetUnitID(const String& value) {
    FUnitID = value;
    Invalidate();
}

void TAsgUnitEditBtn::SetUnitSpace(int value) {
    FUnitSize = value;
    SetEditRect();
    Invalidate();
}

void TAsgUnitEditBtn::SetTextAndUnit(const String& value) {
    for (int i = 0; i < FUnits->Count(); ++i) {
        const String& unit = FUnits->Strings(i);
        if (unit.empty()) continue;
        size_t p = value.find(unit);
        if (p == String::npos || p + unit.size() != value.size()) continue;
        SetText(String(value.substr(0, p)));
        SetUnitID(String(value.substr(p)));
        return;
    }
}

void TAsgUnitEditBtn::ButtonClick(TObject*) {
    if (OnClickBtn) OnClickBtn(this);
    if (!HandleAllocated()) return;
    // One item per unit; choosing one sends its number as a menu command, as a tracked menu does.
    TPopupMenu menu(nullptr);
    for (int i = 0; i < FUnits->Count(); ++i) {
        HWND wnd = Handle();
        menu.Items()->Add(NewItem(&menu, FUnits->Strings(i), scNone,
                                  [wnd, i](TObject*) { SendMessage(wnd, WM_COMMAND, static_cast<WPARAM>(i + 1), 0); }));
    }
    TPoint at = ClientToScreen(Point(ClientWidth() - 15, ClientHeight()));
    menu.Popup(at.X, at.Y);
}

void TAsgUnitEditBtn::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) != EN_CHANGE) {
        int n = LOWORD(Message.WParam);
        if (n >= 1 && n <= FUnits->Count()) {
            String old = FUnitID;
            SetUnitID(FUnits->Strings(n - 1));
            if (FUnitID != old && OnUnitChanged) OnUnitChanged(this, FUnitID);
        }
        return;
    }
    TAsgEditBtn::Dispatch(Message);
}

void TAsgUnitEditBtn::PaintWindow(HDC DC) {
    TAsgEditBtn::PaintWindow(DC);
    if (FUnitID.empty()) return;
    int bw = Button()->Width();
    TRect r(ClientWidth() - bw - 3 - FUnitSize, 2, ClientWidth() - bw - 3, ClientHeight());
    HGDIOBJ old = SelectObject(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    DrawText(DC, FUnitID, -1, &r, DT_LEFT | DT_TOP | DT_EDITCONTROL);
    SelectObject(DC, old);
}
