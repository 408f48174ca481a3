#include "grid/asgspin.h"

#include "grid/AsgEditLayout.h"

#include <algorithm>
#include <sstream>

#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/win/Window.h"

namespace {

// The built-in arrows: 9 x 6, a black triangle on olive, which the speed button takes as
// transparent (its bottom-left colour). Drawn here and registered on first use, as a library
// has no embedded resources.
void RegisterArrowBitmaps() {
    static const bool registered = [] {
        for (bool down : {false, true}) {
            TBitmap bmp(9, 6, pf24bit);
            TCanvas* c = bmp.Canvas();
            c->Brush()->SetColor(RGB(128, 128, 0));
            c->FillRect(Rect(0, 0, 9, 6));
            for (int row = 0; row < 4; ++row) {
                int y = down ? 4 - row : 1 + row;
                for (int x = 4 - row; x <= 4 + row; ++x) c->SetPixels(x, y, clBlack);
            }
            std::ostringstream out;
            bmp.SaveToStream(out);
            std::string bytes = out.str();
            RegisterResource(String(down ? "ASGSPINDOWN" : "ASGSPINUP"), reinterpret_cast<const uint8_t*>(bytes.data()),
                             bytes.size());
        }
        return true;
    }();
    (void)registered;
}

bool HighContrastOn() {
    HIGHCONTRAST hc;
    return SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void Triangle(TCanvas* c, TColor color, TPoint a, TPoint b, TPoint d) {
    c->Pen()->SetColor(color);
    c->Brush()->SetColor(color);
    const TPoint pts[] = {a, b, d};
    c->Polygon(pts, 3);
}

}  // namespace

// TAdvTimerSpeedButton --------------------------------------------------------------------------

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAsgSpinButton* TAdvTimerSpeedButton::OwnerPair() const { return dynamic_cast<TAsgSpinButton*>(Owner()); }

void TAdvTimerSpeedButton::SetTimeBtnState(TTimeBtnState value) {
    if (value == FTimeBtnState) return;
    FTimeBtnState = value;
    Invalidate();
}

void TAdvTimerSpeedButton::SetButtonDirection(TButtonDirection value) {
    FButtonDirection = value;
    Invalidate();
}

void TAdvTimerSpeedButton::SetIsWinXP(bool value) {
    FIsWinXP = value;
    Invalidate();
}

void TAdvTimerSpeedButton::InvalidateParent() {
    if (Parent() && Parent()->HandleAllocated()) ::InvalidateRect(Parent()->Handle(), nullptr, TRUE_);
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
        }
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    InvalidateParent();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    InvalidateParent();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(100);
    if (State() != bsDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TAdvTimerSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHasMouse = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TAdvTimerSpeedButton::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const bool pressed = State() == bsDown;
    const int L = r.Left, T = r.Top, R = r.Right;
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    if (HighContrastOn()) {
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetColor(clBlack);
        c->Rectangle(r);
        switch (FButtonDirection) {
            case bdLeft: Triangle(c, clWhite, Point(R - 3, T + 5), Point(R - 6, T + 7), Point(R - 3, T + 9)); break;
            case bdRight: Triangle(c, clWhite, Point(R - 6, T + 5), Point(R - 3, T + 7), Point(R - 6, T + 9)); break;
            case bdUp: Triangle(c, clWhite, Point(R - 10, T + 6), Point(R - 4, T + 6), Point(R - 7, T + 3)); break;
            case bdDown: Triangle(c, clWhite, Point(R - 10, T + 3), Point(R - 4, T + 3), Point(R - 7, T + 6)); break;
        }
        return;
    }
    TAsgSpinButton* pair = OwnerPair();
    if (pair && pair->ButtonColor() != clNone) {
        TColor face = pressed ? pair->ButtonColorDown() : FHasMouse ? pair->ButtonColorHot() : pair->ButtonColor();
        c->Pen()->SetColor(face);
        c->Brush()->SetColor(face);
        c->Rectangle(r);
        switch (FButtonDirection) {
            case bdLeft: Triangle(c, clBlack, Point(L + 5, T + 5), Point(L + 3, T + 7), Point(L + 5, T + 9)); break;
            case bdRight: Triangle(c, clBlack, Point(L + 3, T + 5), Point(L + 5, T + 7), Point(L + 3, T + 9)); break;
            case bdUp: Triangle(c, clBlack, Point(L + 4, T + 4), Point(L + 8, T + 4), Point(L + 6, T + 2)); break;
            case bdDown: Triangle(c, clBlack, Point(L + 4, T + 2), Point(L + 8, T + 2), Point(L + 6, T + 4)); break;
        }
        return;
    }
    const bool horizontal = FButtonDirection == bdLeft || FButtonDirection == bdRight;
    if (FIsWinXP && pair && pair->HandleAllocated()) {
        if (HTHEME theme = OpenThemeData(pair->Handle(), u"spin")) {
            int part = FButtonDirection == bdUp ? 1 : FButtonDirection == bdDown ? 2 : FButtonDirection == bdRight ? 3 : 4;
            int state = pressed ? 3 : FHasMouse ? 2 : 1;
            DrawThemeBackground(theme, c->Handle(), part, state, &r, nullptr);
            CloseThemeData(theme);
            return;
        }
    }
    if (horizontal) {
        UINT state = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (pressed) state |= DFCS_PUSHED;
        if (Flat()) state |= DFCS_FLAT;
        DrawFrameControl(c->Handle(), &r, DFC_SCROLL, state);
        return;
    }
    TSpeedButton::Paint();
}

// TAsgSpinButton --------------------------------------------------------------------------------

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle = FControlStyle - TControlStyle{csAcceptsControls, csSetCaption} + TControlStyle{csOpaque};
    SetTabStop(false);
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    FUpButton->SetButtonDirection(bdUp);
    FDownButton->SetButtonDirection(bdDown);
    SetBounds(Left(), Top(), 15, 25);
    FFocusedButton = FUpButton;
}

TAdvTimerSpeedButton* TAsgSpinButton::CreateButton() {
    auto* b = new TAdvTimerSpeedButton(this);
    b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState, int, int) { BtnMouseDown(Sender, Button); };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
    b->SetParent(this);
    return b;
}

void TAsgSpinButton::SetColour(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (FUpButton) FUpButton->Invalidate();
    if (FDownButton) FDownButton->Invalidate();
}

void TAsgSpinButton::BtnClick(TObject* Sender) {
    if (Sender == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (Sender == FDownButton) {
        if (OnDownClick) OnDownClick(this);
    }
}

void TAsgSpinButton::FocusBtn(TAdvTimerSpeedButton* Button) {
    if (!TabStop() || !CanFocus() || Button == FFocusedButton) return;
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() >> tbFocusRect);
    FFocusedButton = Button;
    if (Focused()) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() << tbFocusRect);
}

void TAsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button) {
    if (Button != mbLeft) return;
    FocusBtn(static_cast<TAdvTimerSpeedButton*>(Sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

void TAsgSpinButton::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

namespace {

void SetArrowGlyph(TAdvTimerSpeedButton* Button, TBitmap* Glyph, const char* BuiltIn) {
    if (Glyph) {
        Button->SetGlyph(Glyph);
        return;
    }
    RegisterArrowBitmaps();
    Button->Glyph()->LoadFromResourceName(HInstance, String(BuiltIn));
    Button->SetNumGlyphs(1);
    Button->Invalidate();
}

}  // namespace

void TAsgSpinButton::SetUpGlyph(TBitmap* value) { SetArrowGlyph(FUpButton, value, "ASGSPINUP"); }
void TAsgSpinButton::SetDownGlyph(TBitmap* value) { SetArrowGlyph(FDownButton, value, "ASGSPINDOWN"); }

void TAsgSpinButton::SetDirection(TSpinDirection value) {
    FDirection = value;
    if (value == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    }
    if (HandleAllocated()) RecreateWnd();
}

void TAsgSpinButton::SetIsWinXP(bool value) {
    FIsWinXP = value;
    FDownButton->SetIsWinXP(value);
    FFocusedButton->SetIsWinXP(value);
}

void TAsgSpinButton::AdjustSize(int& W, int& H) {
    if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading)) return;
    if (FDirection == spVertical) {
        if (W < 15) W = 15;
        FUpButton->SetBounds(0, 0, W, H / 2);
        FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
    } else {
        if (W < 20) W = 20;
        FDownButton->SetBounds(0, 0, W / 2, H);
        FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
    }
}

void TAsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AdjustSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAsgSpinButton::WMSize(TMessage& Message) {
    TWinControl::WMSize(Message);
    int W = Width(), H = Height();
    AdjustSize(W, H);
    if (W != Width() || H != Height()) TWinControl::SetBounds(Left(), Top(), W, H);
    Message.Result = 0;
}

void TAsgSpinButton::Loaded() {
    TWinControl::Loaded();
    int W = Width(), H = Height();
    AdjustSize(W, H);
    if (W != Width() || H != Height()) TWinControl::SetBounds(Left(), Top(), W, H);
}

void TAsgSpinButton::KeyDown(WORD& Key, TShiftState) {
    if (Key == VK_SPACE) {
        FFocusedButton->Click();
    } else if (Key == VK_UP) {
        FocusBtn(FUpButton);
        FUpButton->Click();
    } else if (Key == VK_DOWN) {
        FocusBtn(FDownButton);
        FDownButton->Click();
    }
}

void TAsgSpinButton::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TAsgSpinButton::CMEnter(TMessage& Message) {
    TWinControl::CMEnter(Message);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() << tbFocusRect);
}

void TAsgSpinButton::CMExit(TMessage& Message) {
    TWinControl::CMExit(Message);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() >> tbFocusRect);
}

// TAsgSpinEdit ----------------------------------------------------------------------------------

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FButton = new TAsgSpinButton(this);
    FButton->SetWidth(15);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { UpButtonClick(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { DownButtonClick(Sender); };
    SetText(u"0");
    FControlStyle = FControlStyle - TControlStyle{csSetCaption};
}

TAsgSpinEdit::~TAsgSpinEdit() { FButton = nullptr; }

void TAsgSpinEdit::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    // Multi-line so that the formatting rectangle applies (the edit stays one line).
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FEditAlign == asgspin::eaRight) Params.Style |= ES_RIGHT;
    else if (FEditAlign == asgspin::eaCenter) Params.Style |= ES_CENTER;
}

void TAsgSpinEdit::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TAsgSpinEdit::SetEditRect() {
    if (!FButton || !HandleAllocated()) return;
    int inset = BorderStyle() == bsNone ? 3 : 0;
    TRect r(inset, inset, ClientWidth() - FButton->Width() - 2 - inset, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TAsgSpinEdit::MinHeight() {
    int h = asgedit::FontHeightWithGap(Font()) + 2;
    if (BorderStyle() == bsSingle) h += GetSystemMetrics(SM_CYBORDER) * 4;
    return h;
}

void TAsgSpinEdit::Relayout() {
    if (!FButton) return;
    int minHeight = MinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);  // the resize lays out
        return;
    }
    asgedit::PlaceRightButton(this, FButton, BorderStyle());
    SetEditRect();
}

void TAsgSpinEdit::WMSize(TMessage& Message) {
    TCustomMaskEdit::WMSize(Message);
    Relayout();
}

void TAsgSpinEdit::SetDirection(TSpinDirection value) {
    FDirection = value;
    FButton->SetDirection(value);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetSpinFlat(bool value) {
    FSpinFlat = value;
    FButton->UpButton()->SetFlat(value);
    FButton->DownButton()->SetFlat(value);
}

void TAsgSpinEdit::SetSpinTransparent(bool value) {
    FSpinTransparent = value;
    FButton->UpButton()->SetTransparent(value);
    FButton->DownButton()->SetTransparent(value);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetEditAlign(asgspin::TEditAlign value) {
    if (FEditAlign == value) return;
    FEditAlign = value;
    if (HandleAllocated()) RecreateWnd();
}

void TAsgSpinEdit::SetIsWinXP(bool value) {
    FIsWinXP = value;
    FButton->SetIsWinXP(value);
}

// Values --------------------------------------------------------------------------------------

namespace {

template <class T>
T Limit(T value, T lo, T hi) {
    if (lo == hi) return value;
    return value < lo ? lo : value > hi ? hi : value;
}

}  // namespace

int TAsgSpinEdit::Value() const {
    String s = Trim(Text());
    if (s.empty()) return 0;
    int32_t v;
    return TryStrToInt(s, v) ? v : FMinValue;
}

void TAsgSpinEdit::SetValue(int value) {
    SetText(IntToStr(Limit(value, FMinValue, FMaxValue)));
    if (!FEditorEnabled) SelectAll();
}

double TAsgSpinEdit::FloatValue() const {
    double v;
    return TryStrToFloat(Text(), v, FormatSettings) ? v : FMinValue;
}

void TAsgSpinEdit::SetFloatValue(double value) {
    value = Limit(value, FMinFloatValue, FMaxFloatValue);
    SetText(FPrecision != 0 ? FloatToStrF(value, ffFixed, 15, FPrecision) : FloatToStr(value));
}

TDateTime TAsgSpinEdit::DateValue() const {
    if (Text() == u"0" || Text().empty()) return Now();
    TDateTime v;
    return TryStrToDate(Text(), v, FormatSettings) ? v : FMinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime value) {
    FDateValue = value;
    if (ComponentState().Contains(csLoading)) return;
    int caret = SelStart();
    SetText(DateToStr(Limit(value, FMinDateValue, FMaxDateValue)));
    SetSelStart(caret);
}

TDateTime TAsgSpinEdit::TimeValue() const {
    TDateTime v;
    return TryStrToTime(Text(), v, FormatSettings) ? v : 0;
}

String TAsgSpinEdit::TimeText(TDateTime value) const {
    return FShowSeconds ? TimeToStr(value) : FormatDateTime(u"h:nn", value);
}

void TAsgSpinEdit::SetTimeValue(TDateTime value) {
    FTimeValue = value;
    if (ComponentState().Contains(csLoading)) return;
    int caret = SelStart();
    SetText(TimeText(Limit(value, FMinDateValue, FMaxDateValue)));
    SetSelStart(caret);
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType value) {
    FSpinType = value;
    switch (value) {
        case sptNormal: SetValue(Value()); break;
        case sptFloat: SetFloatValue(FloatValue()); break;
        case sptDate: SetDateValue(DateValue()); break;
        case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TAsgSpinEdit::SetPrecision(int value) {
    FPrecision = value;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TAsgSpinEdit::Loaded() {
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate) SetText(DateToStr(FDateValue));
    if (FSpinType == sptTime) SetText(TimeText(FTimeValue));
    SetSpinType(FSpinType);
    Relayout();
}

// Steps ---------------------------------------------------------------------------------------

namespace {

// 1-based position of ch in s from index `from` (0-based); 0 when absent.
int PosFrom(const String& s, char16_t ch, int from = 0) {
    size_t p = s.find(ch, static_cast<size_t>(from));
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

}  // namespace

TDateTime TAsgSpinEdit::StepDate(TDateTime value, int Dir) const {
    String fmt = UpperCase(FormatSettings.ShortDateFormat);
    bool monthFirst = PosFrom(fmt, u'M') < PosFrom(fmt, u'D');
    const String& s = Text();
    int p1 = PosFrom(s, FormatSettings.DateSeparator);
    int p2 = p1 > 0 ? PosFrom(s, FormatSettings.DateSeparator, p1) : 0;
    int caret = SelStart();
    int part = caret < p1 ? 1 : caret < p2 ? 2 : 3;
    if (part == 3) {
        WORD y, m, d;
        DecodeDate(value, y, m, d);
        return EncodeDate(y + Dir, m, d);
    }
    bool month = (part == 1) == monthFirst;
    return month ? IncMonth(value, Dir) : value + Dir;
}

TDateTime TAsgSpinEdit::StepTime(TDateTime value, int Dir) const {
    const String& s = Text();
    int t1 = PosFrom(s, FormatSettings.TimeSeparator);
    int t2 = t1 > 0 ? PosFrom(s, FormatSettings.TimeSeparator, t1) : 0;
    int caret = SelStart();
    TDateTime step;
    if (caret < t1) step = EncodeTime(FIncrementHours, 0, 0, 0);
    else if (FShowSeconds && caret >= t2) step = EncodeTime(0, 0, FIncrementSeconds, 0);
    else step = EncodeTime(0, FIncrementMinutes, 0, 0);
    if (Dir > 0) return value + step;
    TDateTime r = value + 1 - step;
    if (r > 1) r -= 1;
    return r;
}

void TAsgSpinEdit::Step(int Dir, bool Page) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
        case sptNormal: SetValue(Value() + Dir * FIncrement); break;
        case sptFloat: SetFloatValue(FloatValue() + Dir * (Page ? FIncrementFloatPage : FIncrementFloat)); break;
        case sptDate: SetDateValue(StepDate(DateValue(), Dir)); break;
        case sptTime: SetTimeValue(StepTime(TimeValue(), Dir)); break;
    }
}

void TAsgSpinEdit::SpinUp(bool Page) { Step(1, Page); }
void TAsgSpinEdit::SpinDown(bool Page) { Step(-1, Page); }
void TAsgSpinEdit::UpButtonClick(TObject*) { SpinUp(false); }
void TAsgSpinEdit::DownButtonClick(TObject*) { SpinDown(false); }

// Input ---------------------------------------------------------------------------------------

bool TAsgSpinEdit::AcceptChar(char16_t& Key) {
    const char16_t DS = FormatSettings.DecimalSeparator, TS = FormatSettings.ThousandSeparator;
    const char16_t T = FormatSettings.TimeSeparator, D = FormatSettings.DateSeparator;
    // Backspace first, so it works in every kind while the editor is enabled.
    if (Key == 8) return FEditorEnabled;
    const bool digit = Key >= u'0' && Key <= u'9';
    const bool numberKind = FSpinType == sptNormal || FSpinType == sptFloat;
    auto sepStandsIn = [&](char16_t sep) { return (sep == DS || sep == TS || sep == u'-' || sep == u'+') && numberKind; };
    bool ok = Key == DS || Key == TS || Key == T || Key == D || digit || Key == u'-' || (Key < 32 && Key != 13);
    if (ok && Key == T && FSpinType != sptTime && !sepStandsIn(T)) ok = false;
    if (ok && Key == D && FSpinType != sptDate && !sepStandsIn(D)) ok = false;
    const String& s = Text();
    if (ok && Key == u'-') {
        if (s.find(u'-') == String::npos) ok = SelStart() == 0;
        else ok = SelText().find(u'-') != String::npos && SelStart() == 0;
    }
    if (FSpinType == sptNormal) ok = ok && (digit || Key == u'-');
    if (FSpinType == sptFloat && Key != 27 && Key != 13 && Key != 8) {
        if (Key == TS) ok = false;
        int p = PosFrom(s, DS);
        if (Key == DS && p > 0 && SelText().find(DS) == String::npos) ok = false;
        if (ok && FPrecision > 0 && p > 0 && SelStart() >= p && SelLength() == 0 && s.Length() >= p + FPrecision)
            ok = false;
    }
    if (FSpinType == sptTime && Key == T && std::count(s.begin(), s.end(), T) >= 2) ok = false;
    if (!FEditorEnabled && Key >= 32) ok = false;
    return ok;
}

void TAsgSpinEdit::KeyPress(char16_t& Key) {
    if (!AcceptChar(Key)) {
        Key = 0;
        MessageBeep(0);
        return;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::WMKeyDown(TMessage& Message) {
    switch (Message.WParam) {
        case VK_PRIOR: SpinUp(true); return;
        case VK_NEXT: SpinDown(true); return;
        case VK_UP: SpinUp(false); return;
        case VK_DOWN: SpinDown(false); return;
        default: TCustomMaskEdit::WMKeyDown(Message);
    }
}

void TAsgSpinEdit::WMChar(TMessage& Message) {
    // The keypad's decimal key (bit 22 of the key data) types the locale's separator.
    if (FExcelStyleDecimalSeparator && Message.WParam == u'.' && (Message.LParam & (1 << 22)))
        Message.WParam = FormatSettings.DecimalSeparator;
    TCustomMaskEdit::WMChar(Message);
}

void TAsgSpinEdit::Dispatch(TMessage& Message) {
    if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!FEditorEnabled || ReadOnly())) return;
    TCustomMaskEdit::Dispatch(Message);
}

void TAsgSpinEdit::CMEnter(TMessage& Message) {
    // The inherited selects unless a left press brought the focus; a press selects too while
    // the text cannot be edited.
    if (AutoSelect() && !FEditorEnabled && GetKeyState(VK_LBUTTON) < 0) SelectAll();
    TCustomMaskEdit::CMEnter(Message);
}

void TAsgSpinEdit::CMExit(TMessage& Message) {
    TCustomMaskEdit::CMExit(Message);
    switch (FSpinType) {
        case sptNormal: {
            int v = Value();
            if (Limit(v, FMinValue, FMaxValue) != v) SetValue(v);
            break;
        }
        case sptFloat: {
            double v = FloatValue();
            if (Limit(v, FMinFloatValue, FMaxFloatValue) != v) SetFloatValue(v);
            break;
        }
        case sptDate: {
            TDateTime v = DateValue();
            if (Limit(v, FMinDateValue, FMaxDateValue) != v) SetDateValue(v);
            break;
        }
        case sptTime: {
            TDateTime v = TimeValue();
            if (Limit(v, FMinDateValue, FMaxDateValue) != v) SetTimeValue(v);
            break;
        }
    }
}
