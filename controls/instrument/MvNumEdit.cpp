#include "controls/instrument/MvNumEdit.h"

#include <algorithm>
#include <cmath>

#include "controls/instrument/_MvProc.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

TBaseProperties BaseProperties[4];

namespace {

// "$" hexadecimal, "%" integer, "&" binary, "!" float: the base of this one entry.
constexpr std::u16string_view kPrefixes = u"$%&!";
constexpr std::u16string_view kExpLetters = u"Ee";
// Unit suffixes and their factors, as exact as a double holds them: in single precision "2T"
// would come out as 1999999995904.
constexpr std::u16string_view kSuffixes = u"EPTGMkmunpfa";
constexpr double kFactors[] = {1e18, 1e15, 1e12, 1e9, 1e6, 1e3, 1e-3, 1e-6, 1e-9, 1e-12, 1e-15, 1e-18};

bool In(std::u16string_view set, char16_t c) { return set.find(c) != std::u16string_view::npos; }

void FillBaseProperties() {
    const String dec(1, FormatSettings.DecimalSeparator);
    const String thousands(1, FormatSettings.ThousandSeparator);
    constexpr long double intRange = 2147483647.0L;
    BaseProperties[ebBin] = {String("01"), false, false, String(), -intRange, intRange};
    BaseProperties[ebHex] = {String("0123456789abcdefABCDEF"), false, false, String(), -intRange, intRange};
    BaseProperties[ebFloat] = {String("0123456789") + dec + thousands, true, true, String("+-"), -1.7e308L, 1.7e308L};
    BaseProperties[ebInt] = {String("0123456789") + thousands, false, true, String("+-"), -intRange, intRange};
}

[[maybe_unused]] const bool gRegistered = (ui::AddUnitStart(FillBaseProperties), true);

// A value that is no number has no place in any base: refused before anything changes.
void RequireNumber(double X) {
    if (std::isnan(X)) throw EInvalidOp(String("Invalid floating point operation"));
}

double Convert(TEditBase Base, const String& Body) {
    if (Body.IsEmpty()) return 0;
    switch (Base) {
        case ebBin: return BinStrToInt(Body);
        case ebHex: return StrToInt(String("$") + Body);
        case ebFloat: return StrToFloat(Body);
        case ebInt: return StrToInt(Body);
    }
    return 0;
}

}  // namespace

// TMvNumEdit ----------------------------------------------------------------------------------

TMvNumEdit::TMvNumEdit(TComponent* AOwner) : TCustomEdit(AOwner), FFormatStr(String("#0.#")) {
    SetWidth(65);
    SetText(String("0"));  // IgnoreChange keeps this first text unchecked
    FOldText = Text();
}

String TMvNumEdit::BaseText() const {
    switch (FEditBase) {
        case ebBin: return FValueAsBool;
        case ebHex: return FValueAsHex;
        case ebFloat: return FormatFloat(FFormatStr, FValue);
        case ebInt: return IntToStr(FValueAsInt);
    }
    return String();
}

bool TMvNumEdit::CheckText(bool Commit) {
    const String T = Text();
    if (T.IsEmpty()) {
        SetEditState(esEditing);
        return true;
    }
    // 1-based positions into T, as the rules count them.
    auto at = [&T](int pos) { return T[static_cast<size_t>(pos) - 1]; };
    int First = 1, Last = T.Length();
    double F = 1;
    TEditBase B = FEditBase;
    if (In(kPrefixes, at(1))) {
        First = 2;
        switch (at(1)) {
            case u'!': B = ebFloat; break;
            case u'$': B = ebHex; break;
            case u'%': B = ebInt; break;
            default: B = ebBin; break;
        }
    }
    const TBaseProperties& P = BaseProperties[B];
    if (P.MultiEnable) {
        const size_t k = kSuffixes.find(at(Last));
        if (k != std::u16string_view::npos) {
            F = kFactors[k];
            // A factor below 1 means nothing to an integer: the letter stays and is found invalid.
            if (B == ebFloat || F > 1) --Last;
            else F = 1;
        }
    }
    String Body = First <= Last ? String(T.substr(static_cast<size_t>(First) - 1, static_cast<size_t>(Last - First + 1))) : String();

    int FirstBad = 0, LastBad = 0;
    auto mark = [&](int pos) {
        if (!FirstBad) FirstBad = pos;
        LastBad = std::max(LastBad, pos);
    };
    if (!Body.IsEmpty()) {
        const int S = In(P.Sign, at(First)) ? 1 : 0;
        int expAt = 0;
        for (int i = First + S; i <= Last; ++i) {
            if (P.ExpEnable && In(kExpLetters, at(i))) {
                expAt = i;
                break;
            }
            if (!In(P.ValidChars, at(i))) mark(i);
        }
        if (expAt) {
            int E = expAt + 1;
            if (E <= Last && In(P.Sign, at(E))) ++E;
            for (int i = E; i <= Last; ++i)
                if (!In(P.ValidChars, at(i))) mark(i);
        }
        bool seen = false;
        for (int i = First; i <= Last; ++i) {
            if (at(i) != FormatSettings.DecimalSeparator) continue;
            if (seen) mark(i);
            seen = true;
        }
    }
    const bool designing = ComponentState().Contains(csDesigning);
    if (FirstBad > 0) {
        SetEditState(esError);
        if (Enabled() && Visible() && !designing && !Focused() && CanFocus()) SetFocus();
        FPendingSelection = true;
        FSelFrom = FirstBad - 1;
        FSelTo = LastBad;
        if (FMessageDepth == 0) ApplyPendingSelection();
        return false;
    }
    if (!Commit) {
        // Only a commit needs the number: a text on its way to one ("1e") is no error yet.
        SetEditState(T != FOldText ? esEditing : esNormal);
        return true;
    }
    if (!Body.IsEmpty() && P.Sign.find(Body) != String::npos) Body += u'0';
    if (P.ExpEnable && !Body.IsEmpty() && In(kExpLetters, Body[0])) Body.insert(Body.begin(), u'1');
    if (P.MultiEnable && F != 1 && Body.IsEmpty()) Body = String("1");  // a bare k is 1000
    Body = StripChar(Body, FormatSettings.ThousandSeparator);
    // The conversion may raise; value and state stay as they were.
    double X = Convert(B, Body);
    if (F != 1) X *= F;
    SetEditState(esNormal);
    CommitValue(LimitValue(X));
    return true;
}

double TMvNumEdit::LimitValue(double X) {
    if (FOptions.Contains(eoLimitMin)) {
        const bool lo = X <= FMinValue;
        if (lo) X = FMinValue;
        SetLimitLo(lo);
    }
    if (FOptions.Contains(eoLimitMax)) {
        const bool up = X >= FMaxValue;
        if (up) X = FMaxValue;
        SetLimitUp(up);
    }
    return X;
}

void TMvNumEdit::CommitValue(double X) {
    RequireNumber(X);
    const TBaseProperties& P = BaseProperties[FEditBase];
    X = static_cast<double>(std::clamp(static_cast<long double>(X), P.MinValue, P.MaxValue));
    X += 0.0;  // a negative zero shows as 0
    constexpr double singleMax = 3.4e38, intMax = 2147483647.0;
    const float single = X >= singleMax ? 3.4e38f : X <= -singleMax ? -3.4e38f : static_cast<float>(X);
    const int32_t whole = X >= intMax ? 2147483647 : X <= -intMax ? -2147483647 : static_cast<int32_t>(Round(X));
    FValue = X;
    FValueAsSingle = single;
    FValueAsInt = whole;
    FValueAsHex = IntToHex(static_cast<unsigned>(whole), FDigitsHex);
    FValueAsBool = IntToBinStr(whole, FDigitsBool);
    SetText(BaseText());
    SetEditState(esNormal);
    if (!FirstDraw && OnValueChanged && Text() != FOldText) OnValueChanged(this);
    FOldText = Text();
}

void TMvNumEdit::SetEditState(TNumEditState State) {
    if (State == FState) return;
    FState = State;
    ApplyStateColor();
    if (State == esError) {
        Application->ProcessMessages();  // the colour shows before the beep
        MessageBeep(0);
    }
}

void TMvNumEdit::ApplyStateColor() {
    switch (FState) {
        case esNormal: ApplyColor(FColorDefault); break;
        case esEditing: ApplyColor(FColorEditing); break;
        case esError: ApplyColor(FColorError); break;
    }
}

void TMvNumEdit::ApplyColor(TColor Color) {
    // Setting the colour ends ParentColor; the state colours must not.
    const bool follow = ParentColor();
    FApplyingColor = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FApplyingColor};
    SetColor(Color);
    if (follow) SetParentColor(true);
}

void TMvNumEdit::CMParentColorChanged(TMessage& Message) {
    if (FApplyingColor || !ParentColor() || !Parent()) return;
    FColorDefault = Message.WParam ? static_cast<TColor>(Message.LParam) : Parent()->Color();
    if (FState == esNormal) ApplyColor(FColorDefault);
}

void TMvNumEdit::SetColorDefault(TColor V) {
    FColorDefault = V;
    SetParentColor(false);
    // Shown now when the state shows it; an editing or error colour stays until the state ends.
    if (FState == esNormal) ApplyColor(V);
}

void TMvNumEdit::SetColorError(TColor V) {
    FColorError = V;
    if (FState == esError) ApplyColor(V);
}

void TMvNumEdit::SetColorEditing(TColor V) {
    FColorEditing = V;
    if (FState == esEditing) ApplyColor(V);
}

void TMvNumEdit::CMCtl3DChanged(TMessage& Message) {
    TCustomEdit::CMCtl3DChanged(Message);
    Ctl3DChanged();
}

void TMvNumEdit::DoLimit() {
    if (OnLimit) OnLimit(this);
}

void TMvNumEdit::SetLimitUp(bool V) {
    if (FLimitUp == V) return;
    FLimitUp = V;
    DoLimit();
}

void TMvNumEdit::SetLimitLo(bool V) {
    if (FLimitLo == V) return;
    FLimitLo = V;
    DoLimit();
}

void TMvNumEdit::Step(bool Up) {
    if (ReadOnly() || (Up ? FLimitUp : FLimitLo)) {
        MessageBeep(0);
        return;
    }
    const bool multiply = FOptions.Contains(eoMultiply) && FEditBase == ebFloat && FIncrement != 0 && FValue != 0;
    double v;
    if (multiply) v = Up ? FValue * FIncrement : FValue / FIncrement;
    else v = Up ? FValue + FIncrement : FValue - FIncrement;
    // The commit's own text change needs no check; the flag goes whether or not the text changed.
    IgnoreChange = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{IgnoreChange};
    SetValue(LimitValue(v));
    if (OnChange) OnChange(this);
}

void TMvNumEdit::UpClick(TObject*) { Step(true); }
void TMvNumEdit::DownClick(TObject*) { Step(false); }

void TMvNumEdit::SetValue(double V) {
    RequireNumber(V);
    if (V != FValue) CommitValue(LimitValue(V));
}

void TMvNumEdit::SetValueAsInt(int32_t V) {
    if (IntToStr(V) != Text()) CommitValue(V);
}

void TMvNumEdit::SetValueAsSingle(float V) {
    RequireNumber(V);
    if (FormatFloat(FFormatStr, V) != Text()) CommitValue(V);
}

void TMvNumEdit::SetValueAsHex(const String& V) {
    if (V == Text()) return;
    SetText(FEditBase == ebHex ? V : String("$") + V);
    CheckText(true);
}

void TMvNumEdit::SetValueAsBool(const String& V) {
    if (V == Text()) return;
    SetText(FEditBase == ebBin ? V : String("&") + V);
    CheckText(true);
}

void TMvNumEdit::SetEditBase(TEditBase V) {
    if (FEditBase == V) return;
    FEditBase = V;
    const String t = BaseText();
    SetText(t);
    FOldText = t;
    SetEditState(esNormal);
}

void TMvNumEdit::SetFormatStr(const String& V) {
    if (FFormatStr == V) return;
    FFormatStr = V;
    if (FEditBase == ebFloat) SetText(FormatFloat(V, FValue));
    CheckText(true);
}

void TMvNumEdit::SetMinValue(double V) {
    if (FMinValue == V) return;
    FMinValue = V;
    CheckText(true);
}

void TMvNumEdit::SetMaxValue(double V) {
    if (FMaxValue == V) return;
    FMaxValue = V;
    CheckText(true);
}

void TMvNumEdit::SetOptions(TNumEditOptions V) {
    if (FOptions == V) return;
    FOptions = V;
    CheckText(true);
}

// The digit counts show the committed value anew.
void TMvNumEdit::SetDigitsBool(int32_t V) {
    if (FDigitsBool == V) return;
    FDigitsBool = V;
    CommitValue(FValue);
}

void TMvNumEdit::SetDigitsHex(int32_t V) {
    if (FDigitsHex == V) return;
    FDigitsHex = V;
    CommitValue(FValue);
}

void TMvNumEdit::Change() {
    if (IgnoreChange) {
        IgnoreChange = false;
        return;
    }
    // Until a value is committed (or while designing) a new text is committed; after that typing
    // only checks and colours.
    CheckText(ComponentState().Contains(csDesigning) || FValueAsBool.IsEmpty());
    TCustomEdit::Change();
}

void TMvNumEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP && !FLimitUp) {
        UpClick(this);
    } else if (Key == VK_DOWN && !FLimitLo) {
        DownClick(this);
    } else {
        if (Key == VK_ESCAPE && FState != esNormal) SetText(BaseText());
        if (OnChange) OnChange(this);
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TMvNumEdit::KeyPress(char16_t& Key) {
    if (!FEditorEnabled) {
        Key = 0;
        MessageBeep(0);
        return;
    }
    if (Key == u'\r') {
        Key = 0;
        if (Text().IsEmpty()) SetText(String("0"));
        CheckText(true);
        return;
    }
    TCustomEdit::KeyPress(Key);
}

void TMvNumEdit::CMExit(TMessage& Message) {
    TCustomEdit::CMExit(Message);
    if (Text().IsEmpty()) SetText(String("0"));
    CheckText(true);
}

void TMvNumEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    // Multi-line so that the formatting rectangle applies (the edit stays one line).
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TMvNumEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    CheckText(true);
}

void TMvNumEdit::Loaded() {
    TCustomEdit::Loaded();
    FOldText = Text();
    FirstDraw = false;
}

void TMvNumEdit::WndProc(TMessage& Message) {
    struct Depth {
        int& n;
        Depth(int& d) : n(d) { ++n; }
        ~Depth() { --n; }
    };
    {
        Depth depth(FMessageDepth);
        TCustomEdit::WndProc(Message);
    }
    if (FMessageDepth == 0) ApplyPendingSelection();
}

void TMvNumEdit::ApplyPendingSelection() {
    if (!FPendingSelection) return;
    FPendingSelection = false;
    Perform(EM_SETSEL, static_cast<WPARAM>(FSelFrom), FSelTo);
}

// TMvNumSpin ----------------------------------------------------------------------------------

TMvNumSpin::TMvNumSpin(TComponent* AOwner) : TMvNumEdit(AOwner) {
    FButton = new TMvSpinButton(this);
    FButton->SetBounds(Width() - 11, 0, 16, Height() - 4);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
}

TMvNumSpin::~TMvNumSpin() {
    TMvSpinButton* button = FButton;
    FButton = nullptr;
    if (button) button->Free();
}

int TMvNumSpin::MinHeight() {
    TBitmap scratch(1, 1);
    HDC dc = scratch.Canvas()->Handle();
    TEXTMETRIC system{}, own{};
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetrics(dc, &system);
    SelectObject(dc, Font()->Handle());
    GetTextMetrics(dc, &own);
    const int smaller = std::min(system.tmHeight, own.tmHeight);
    return own.tmHeight + smaller / 4 + GetSystemMetrics(SM_CYBORDER) * 4 + 2;
}

void TMvNumSpin::Relayout() {
    const int minHeight = MinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);  // the resize lays out
        return;
    }
    if (!FButton) return;
    const int w = FButton->Width();
    if (NewStyleControls && Ctl3D()) FButton->SetBounds(Width() - w - 4, 0, w - 1, Height() - 4);
    else FButton->SetBounds(Width() - w + 1, 1, w - 1, Height() - 3);
    SetEditRect();
}

void TMvNumSpin::SetEditRect() {
    TRect r(0, 0, ClientWidth() - FButton->Width() - 2, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TMvNumSpin::WMSize(TMessage& Message) {
    TMvNumEdit::WMSize(Message);
    Relayout();
}

// The layer sends no WM_SIZE when a window is made: lay out as if it did.
void TMvNumSpin::CreateWnd() {
    TMvNumEdit::CreateWnd();
    Relayout();
}

void TMvNumSpin::Ctl3DChanged() {
    if (!FButton) return;
    FButton->SetCtl3D(Ctl3D());
    Relayout();
}

void TMvNumSpin::UpdateButtons() {
    if (!FButton) return;
    const bool normal = State() == esNormal && FButton->Enabled();
    FButton->FUpButton->SetEnabled(normal && !LimitUp());
    FButton->FDownButton->SetEnabled(normal && !LimitLo());
}

void TMvNumSpin::SetEditState(TNumEditState State) {
    if (!FButton || State == this->State()) return;
    TMvNumEdit::SetEditState(State);
    UpdateButtons();
}

void TMvNumSpin::DoLimit() {
    UpdateButtons();
    TMvNumEdit::DoLimit();
}

void TMvNumSpin::SetEnabled(bool V) {
    TMvNumEdit::SetEnabled(V);
    if (!FButton) return;
    FButton->SetEnabled(V);
    UpdateButtons();
}

void TMvNumSpin::CMExit(TMessage& Message) {
    TMvNumEdit::CMExit(Message);
    SendMessage(Handle(), WM_LBUTTONUP, 0, 0);
    if (FButton) FButton->Invalidate();
}

void TMvNumSpin::Dispatch(TMessage& Message) {
    TMvNumEdit::Dispatch(Message);
    if (Message.Msg != WM_LBUTTONUP || !FButton) return;
    // An arrow still held (its window keeps the mouse) takes the release too, which ends its
    // repeat: in its own coordinates the point lies off it, so it does not click.
    TControl* held = GetCaptureControl();
    if (!held || held->Parent() != FButton) return;
    const int x = GET_X_LPARAM(Message.LParam) - FButton->Left() - held->Left();
    const int y = GET_Y_LPARAM(Message.LParam) - FButton->Top() - held->Top();
    held->Perform(WM_LBUTTONUP, Message.WParam, PointToLParam(x, y));
}
