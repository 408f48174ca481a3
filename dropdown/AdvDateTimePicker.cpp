// The styled date-time picker of unit AdvDateTimePicker: AutoTab and the look's settings.
#include "dropdown/AdvDateTimePicker.h"

#include <cmath>
#include <string>

#include "controls/styled/LabelPlacement.h"
#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Themes.h"
#include "platform/ui/CommNotify.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Modules.h"
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
    if (TCanvas* c = TCanvas::FromHandle(dc)) {
        if (IsMetroLook() && TDateTimePicker::Kind() == dtkDate) {
            const int cw = ClientWidth();
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(Color());
            if (FIsThemed)
                c->FillRect(IsThemeActive() ? TRect(cw - FButtonWidth - 4, 1, cw, Height())
                                            : TRect(cw - FButtonWidth - 2, 4, cw - 2, Height() - 4));
            DrawDropButton(c);
        }
        if (!Ctl3D()) DrawOutline(c, OutlineColor());
    }
    ReleaseDC(Handle(), dc);
}

bool TCustomDateTimePicker::MouseButtonDown() {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
}

void TCustomDateTimePicker::DrawDropButton(TCanvas* c) {
    HDC dc = c->Handle();
    const int cw = ClientWidth();
    TRect b(cw - FButtonWidth + 2, 0, Width(), Height());
    b = TRect(b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1);
    const bool held = MouseButtonDown();
    if (FButtonColor != clNone) {
        TColor face = FButtonColor;
        if (FButtonHover) face = held ? FButtonColorDown : FButtonColorHot;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(face);
        c->FillRect(TRect(b.Left + 2, b.Top, b.Right, b.Bottom));
        c->Pen()->SetColor(FButtonBorderColor);
        c->MoveTo(b.Left, b.Top);
        c->LineTo(b.Left, b.Bottom);
        const TColor arrow = held ? FButtonTextColorDown : FButtonTextColor;
        c->Pen()->SetColor(arrow);
        c->Brush()->SetColor(arrow);
        const TPoint tri[] = {TPoint(b.Left + 5, b.Top + 7), TPoint(b.Left + 11, b.Top + 7),
                              TPoint(b.Left + 8, b.Top + 10)};
        c->Polygon(tri, 3);
    } else if (FIsThemed && IsThemeActive()) {
        if (HTHEME theme = OpenThemeData(Handle(), u"combobox")) {
            int state = 2;
            if (!Enabled())
                state = 4;
            else if (held && DroppedDown())
                state = 3;
            else if (held || !FButtonHover || DroppedDown())
                state = 1;
            DrawThemeBackground(theme, dc, 1, state, &b, nullptr);
            CloseThemeData(theme);
        }
    } else {
        DrawFrameControl(dc, &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    ExcludeClipRect(dc, cw - FButtonWidth - 4, 0, cw + 2, Height());
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

// ---------------------------------------------------------------------------------------------
// The picker with a time part

namespace {

TDateTime WholeSeconds(TDateTime value) {
    WORD h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(value, h, m, s, ms);
    return std::floor(value) + EncodeTime(h, m, s, 0);
}

bool ThemeQueryAvailable() {
    HMODULE theme = LoadLibrary(u"uxtheme.dll");
    if (!theme) return false;
    const bool found = GetProcAddress(theme, "IsThemeActive") != nullptr;
    FreeLibrary(theme);
    return found;
}

}  // namespace

TAdvDateTimePicker::TAdvDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {}

TAdvDateTimePicker::~TAdvDateTimePicker() = default;

void TAdvDateTimePicker::AfterConstruction() {
    TCustomDateTimePicker::AfterConstruction();
    SetBorderStyle(bsSingle);
    SetCtl3D(true);
    SetMetroStyle(false);
    FKind = dkDate;
    SetKind(dkDateTime);
}

void TAdvDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomDateTimePicker::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTimePicker) FTimePicker = nullptr;
    if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}

void TAdvDateTimePicker::CreateTimePicker() {
    if (FTimePicker || FKind != dkDateTime) return;
    FTimePicker = NewComponent<TCustomDateTimePicker>(this);
    FTimePicker->SetParent(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetVisible(false);
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->SetKind(dtkTime);
    FTimePicker->OnChange = [this](TObject*) {
        if (OnChange) OnChange(this);
        if (OnTimeChange) OnTimeChange(this);
    };
    FTimePicker->OnClick = [this](TObject*) {
        if (OnClick) OnClick(this);
    };
    FTimePicker->OnKeyPress = [](TObject*, char16_t&) {};
    FTimePicker->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown) OnKeyDown(this, Key, Shift);
    };
    FTimePicker->SetAutoTab(AutoTab());
}

void TAdvDateTimePicker::SetKind(TAdvDateTimeKind value) {
    if (value == FKind) return;
    FKind = value;
    TCustomDateTimePicker::SetKind(value == dkTime ? dtkTime : dtkDate);
    if (value == dkDateTime) CreateTimePicker();
    LayoutTimePicker();
}

TDateTime TAdvDateTimePicker::Time() const {
    return FKind == dkDateTime && FTimePicker ? FTimePicker->Time() : TCustomDateTimePicker::Time();
}

void TAdvDateTimePicker::SetTime(TDateTime value) {
    TCustomDateTimePicker::SetTime(value);
    if (FTimePicker) FTimePicker->SetTime(value);
    LayoutTimePicker();
}

TDateTime TAdvDateTimePicker::DateTime() const {
    TDateTime value = TCustomDateTimePicker::DateTime();
    if (FTimePicker) value = std::floor(value) + (FTimePicker->Time() - std::floor(FTimePicker->Time()));
    return value;
}

void TAdvDateTimePicker::SetDateTime(TDateTime value) {
    const TDateTime whole = WholeSeconds(value);
    // The change notice of this write (sent while writing) leaves the time part alone.
    FIgnoreTimePickerCheck = true;
    TCustomDateTimePicker::SetDateTime(whole);
    FIgnoreTimePickerCheck = false;
    CreateTimePicker();
    if (FTimePicker) FTimePicker->SetDateTime(whole);
    if (ShowCheckbox() && !ComponentState().Contains(csDesigning)) CoupleTimePart();
}

void TAdvDateTimePicker::CoupleTimePart() {
    if (FTimePicker) FTimePicker->SetEnabled(Enabled() && Checked());
}

void TAdvDateTimePicker::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT && FFirstRun) {
        FFirstRun = false;
        LayoutTimePicker();
    }
    TCustomDateTimePicker::Dispatch(Message);
    if (Message.Msg == WM_SIZE || Message.Msg == CM_COLORCHANGED)
        LayoutTimePicker();
    else if (Message.Msg == DTM_SETSYSTEMTIME && Message.WParam == GDT_NONE && ShowCheckbox() &&
        !ComponentState().Contains(csDesigning))
        CoupleTimePart();
    else if (Message.Msg == CM_ENABLEDCHANGED) {
        if (FTimePicker) FTimePicker->SetEnabled(Enabled());
        if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    } else if (Message.Msg == CM_VISIBLECHANGED || Message.Msg == CM_SHOWINGCHANGED) {
        if (FLabel) FLabel->SetVisible(Visible());
    } else if (Message.Msg == CM_PARENTFONTCHANGED && ParentFont() && FLabel) {
        FLabel->Font()->Assign(Font());
    }
}

void TAdvDateTimePicker::BoldLabel(bool bold) {
    if (!FFocusLabel || !FLabel || ComponentState().Contains(csLoading)) return;
    TFontStyles style = FLabel->Font()->Style();
    if (bold)
        style << fsBold;
    else
        style >> fsBold;
    FLabel->Font()->SetStyle(style);
}

void TAdvDateTimePicker::WMSetFocus(TMessage& Message) {
    TCustomDateTimePicker::WMSetFocus(Message);
    BoldLabel(true);
}

void TAdvDateTimePicker::WMKillFocus(TMessage& Message) {
    TCustomDateTimePicker::WMKillFocus(Message);
    BoldLabel(false);
}

// ---------------------------------------------------------------------------------------------
// The caption label

static_assert(static_cast<int>(advdatetimepicker::lpRighBottom) == styled::lpRighBottom &&
              static_cast<int>(advdatetimepicker::lpBottomRight) == styled::lpBottomRight);

void TAdvDateTimePicker::SetLabelCaption(const String& value) {
    if (!FLabel) {
        FLabel = NewComponent<TLabel>(this);
        FLabel->FreeNotification(this);  // the parent may free it first, as a child
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->OnClick = [this](TObject*) {
            if (OnLabelClick) OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](TObject*) {
            if (OnLabelDblClick) OnLabelDblClick(this);
        };
        FLabel->SetParentFont(FParentFnt);
    }
    FLabel->SetCaption(value);
    PlaceLabel();
}

void TAdvDateTimePicker::PlaceLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    styled::PlaceAttachedLabel(FLabel, FLabelPosition, BoundsRect(), FLabelMargin);
    FLabel->SetVisible(Visible());
}

void TAdvDateTimePicker::SetLabelPosition(advdatetimepicker::TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelMargin(int value) {
    FLabelMargin = value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel && value) FLabel->SetEnabled(true);
    Invalidate();
}

void TAdvDateTimePicker::SetLabelFont(const TFont* value) {
    if (!ParentFont()) FLabelFont->Assign(value);
    PlaceLabel();
}

void TAdvDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) PlaceLabel();
}

void TAdvDateTimePicker::SetParent(TWinControl* AParent) {
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        PlaceLabel();
    }
}

void TAdvDateTimePicker::CNNotify(TMessage& Message) {
    TCustomDateTimePicker::CNNotify(Message);
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (!header || header->code != DTN_DATETIMECHANGE || !ShowCheckbox() ||
        ComponentState().Contains(csDesigning))
        return;
    if (!FIgnoreTimePickerCheck) {
        CoupleTimePart();
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
        if (FTimePicker && change->dwFlags == GDT_NONE) FTimePicker->SetEnabled(false);
    }
}

void TAdvDateTimePicker::SetDate(TDateTime value) {
    const TDateTime now = DateTime();
    SetDateTime(std::floor(value) + (WholeSeconds(now) - std::floor(now)));
}

void TAdvDateTimePicker::SetTimeFormat(const String& value) {
    if (FTimePicker) FTimePicker->SetFormat(value);
    if (FKind == dkTime) SetFormat(value);
    FTimeFormat = value;
    LayoutTimePicker();
}

void TAdvDateTimePicker::SetAutoTab(bool value) {
    TCustomDateTimePicker::SetAutoTab(value);
    if (FTimePicker) FTimePicker->SetAutoTab(value);
}

void TAdvDateTimePicker::SetBorderStyle(TBorderStyle value) {
    TCustomDateTimePicker::SetBorderStyle(value);
    LayoutTimePicker();
}

String TAdvDateTimePicker::Version() const {
    const uint32_t v = static_cast<uint32_t>(kVersionNr);
    String s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!s.empty()) s += u".";
        s += String(std::to_string((v >> shift) & 0xFF).c_str());
    }
    return s;
}

void TAdvDateTimePicker::LayoutTimePicker() {
    if (!FTimePicker) return;
    TCustomDateTimePicker* t = FTimePicker;
    t->SetParent(this);
    t->SetColor(Color());
    t->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
    t->SetVisible(FKind == dkDateTime);
    t->SetDateTime(TCustomDateTimePicker::DateTime());
    t->SetFormat(FTimeFormat);
    t->Font()->Assign(Font());
    if (!t->Visible() && !ComponentState().Contains(csLoading)) {
        FTimePicker = nullptr;
        delete t;
        return;
    }
    Canvas()->Font()->Assign(Font());
    const int a = Canvas()->TextWidth(t->Text()) + 31;
    const int W = Width(), H = Height();
    if (!IsWindowsVistaOrLater()) {
        t->SetBounds(W - a - 21, -2, a, H);
        return;
    }
    const bool bevel = (BevelInner() != bvNone || BevelOuter() != bvNone) && BevelKind() != bkNone;
    const int b = bevel ? 4 : 0;
    if (!IsComCtl6OrLater() || !ThemeQueryAvailable())
        t->SetBounds(W - a - b - 23, -2, a, H - b);
    else if (!IsThemeActive())
        t->SetBounds(W - a - b - 21, 2, a, H - b - 4);
    else if (IsMetroLook())
        t->SetBounds(W - a - b - 21, 1, a, H - b - 2);
    else
        t->SetBounds(W - a - b - 34, 1, a, H - b - 2);
}

void TAdvDateTimePicker::KeyPress(char16_t& Key) {
    if (Key >= u'0' && Key <= u'9' && AutoTab()) DecodeDate(DateTime(), Fy, Fmo, Fd);
    TCustomDateTimePicker::KeyPress(Key);
}

void TAdvDateTimePicker::ShiftFocus() {
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    WORD y = 0, m = 0, d = 0;
    DecodeDate(DateTime(), y, m, d);
    const bool dayChanged = d != Fd, monthChanged = m != Fmo, yearChanged = y != Fy;
    auto toTimePart = [this] {
        if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
    };
    const String& format = Format();
    if (!format.empty()) {
        const char16_t c = format.back();
        if ((dayChanged && (c == u'd' || c == u'D')) || (monthChanged && (c == u'm' || c == u'M')) ||
            (yearChanged && (c == u'y' || c == u'Y')))
            toTimePart();
        else if (dayChanged || monthChanged || yearChanged)
            PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
        return;
    }
    if (dayChanged || monthChanged)
        PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    else if (yearChanged)
        toTimePart();
}
