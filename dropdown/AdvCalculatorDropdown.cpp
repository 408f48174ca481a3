// The calculator drop-down of unit AdvCalculatorDropdown: construction and style, the keypad in
// the pop-up, the accumulator with its pending operation and memory, and the keys of the pop-up
// and of the closed edit.
#include "dropdown/AdvCalculatorDropdown.h"

#include <cmath>

#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

char16_t GetThousandSeparator() { return FormatSettings.ThousandSeparator; }

char16_t GetDecimalSeparator() { return FormatSettings.DecimalSeparator; }

String StripThousandSeparators(const String& text) {
    String out;
    const char16_t sep = GetThousandSeparator();
    for (char16_t c : text)
        if (c != sep) out.push_back(c);
    return out;
}

namespace {

enum : int { opNone = -1, opAdd = 0, opMultiply = 1, opSubtract = 2, opDivide = 3 };

const String kError = u"Error";

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life and style

// The appearance first: the base's AfterConstruction applies a style, which writes into it.
TAdvCalculatorDropdown::TAdvCalculatorDropdown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<TButtonAppearance>()) {}

TAdvCalculatorDropdown::~TAdvCalculatorDropdown() = default;

void TAdvCalculatorDropdown::AfterConstruction() {
    TAdvCustomDropDown::AfterConstruction();
    SetDropDownColor(static_cast<TColor>(0xFFFFFF));
    SetDropDownWidth(230);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditType(etFloat);
    FPendingOp = opNone;
    SetPrecision(2);
    FDecimalStep = 0;
    FCalcClosed = true;
    FMemory = 0;
}

void TAdvCalculatorDropdown::SetComponentStyle(TQRBStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    const TAdvButtonAppearance* b = ButtonAppearance();
    TButtonAppearance* c = FCalcButtonAppearance.get();
    c->SetBorderColor(b->BorderColor());
    c->SetBorderColorHot(b->BorderColorHot());
    c->SetBorderColorDown(b->BorderColorDown());
    c->SetColor(b->Color());
    c->SetColorTo(b->ColorTo());
    c->SetColorDown(b->ColorDown());
    c->SetColorDownTo(b->ColorDownTo());
    c->SetColorHot(b->ColorHot());
    c->SetColorHotTo(b->ColorHotTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        c->SetGlowColorHot(b->ColorHot());
        c->SetGlowColorDown(b->ColorHot());
    } else {
        c->SetGlowColorDown(static_cast<TColor>(0xD5C244));
        c->SetGlowColorHot(b->ColorDownTo());
    }
}

void TAdvCalculatorDropdown::SetShowThousandSeparator(bool value) {
    if (FShowThousandSeparator == value) return;
    FShowThousandSeparator = value;
    SetEditType(value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

void TAdvCalculatorDropdown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FButtonPanel) FButtonPanel = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void TAdvCalculatorDropdown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!DropDownForm()) return;
    if (!FButtonPanel) {
        FButtonPanel = NewComponent<TCustomButtonPanel>(this);
        FButtonPanel->SetParent(DropDownForm());
        FButtonPanel->SetAdvDropDown(this);
        FButtonPanel->SetHeight(kKeypadHeight);
        FButtonPanel->CreateDefaultButtons();
    }
    SetPopupControl(FButtonPanel);
    FButtonPanel->OnButtonClick = [this](TObject*, int Index) { KeypadClick(Index); };
}

void TAdvCalculatorDropdown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    DropDownForm()->SetCancelOnDeActivate(false);
    if (FButtonPanel) {
        FButtonPanel->SetButtonAppearance(FCalcButtonAppearance.get());
        FButtonPanel->SetColor(DropDownColor());
        // 150 high for the pop-up to be sized round (docking fitted it to the pop-up).
        FButtonPanel->SetAlign(alNone);
        FButtonPanel->SetHeight(kKeypadHeight);
        FButtonPanel->ArrangeButtons();
    }
    FNewValue = true;
    FDecimalStep = 0;
    FCalcClosed = false;
}

// ---------------------------------------------------------------------------------------------
// The calculator

void TAdvCalculatorDropdown::ShowText(const String& value) {
    SetPlainText(Prefix() + value + Suffix());
    FOldText = value;
}

void TAdvCalculatorDropdown::ZeroForEmpty(bool orError) {
    const String t = Text();
    if (t.empty() || (orError && t == kError)) ShowText(u"0");
}

double TAdvCalculatorDropdown::Displayed() const { return StrToFloat(StripThousandSeparators(Text())); }

bool TAdvCalculatorDropdown::AtMaxLength() const {
    return MaxLength() > 0 && static_cast<int>(Text().Length()) == MaxLength();
}

void TAdvCalculatorDropdown::ClearCalculator() {
    ShowText(u"0");
    FAccumulator = 0;
    FPendingOp = opNone;
}

double TAdvCalculatorDropdown::Value() {
    if (Text().empty()) ShowText(u"0");
    double v = 0;
    return TryStrToFloat(StripThousandSeparators(Text()), v) ? v : 0;
}

void TAdvCalculatorDropdown::SetValue(double value) { ShowText(Format(u"%g", {value})); }

void TAdvCalculatorDropdown::Calculate() {
    ZeroForEmpty(true);
    const double x = Displayed();
    double acc = FAccumulator;
    switch (FPendingOp) {
        case opAdd: acc += x; break;
        case opMultiply: acc *= x; break;
        case opSubtract: acc -= x; break;
        case opDivide:
            if (x == 0) {
                FAccumulator = 0;
                ShowText(kError);
                return;
            }
            acc /= x;
            break;
        default: acc = x; break;
    }
    // What overflows is the arithmetic failure of the operation: 0.
    FAccumulator = std::isfinite(acc) ? acc : 0;
    SetFloatValue(FAccumulator);
    FNewValue = true;
}

void TAdvCalculatorDropdown::DoAdd() {
    Calculate();
    FPendingOp = opAdd;
}

void TAdvCalculatorDropdown::DoSubtract() {
    Calculate();
    FPendingOp = opSubtract;
}

void TAdvCalculatorDropdown::DoMultiply() {
    Calculate();
    FPendingOp = opMultiply;
}

void TAdvCalculatorDropdown::DoDivide() {
    Calculate();
    FPendingOp = opDivide;
}

void TAdvCalculatorDropdown::DoEquals() {
    Calculate();
    ZeroForEmpty(false);
    FPendingOp = opNone;
    if (Text() != kError) FAccumulator = Displayed();
}

void TAdvCalculatorDropdown::DoPercent() {
    ZeroForEmpty(true);
    ShowText(Format(u"%g", {FAccumulator * Displayed() / 100}));
}

void TAdvCalculatorDropdown::KeypadClick(int Index) {
    if (!FButtonPanel || Index < 0 || Index >= FButtonPanel->Buttons()->Count()) return;
    BeforeCalcInput();
    const int tag = FButtonPanel->Buttons()->Items(Index)->Tag();
    if ((tag >= 10 && tag <= 14) || (tag >= 16 && tag <= 18) || tag == 30 || tag == 32) FDecimalStep = 0;
    if ((tag <= 9 || tag == 14 || tag == 15) && tag >= 0 && AtMaxLength()) return;
    switch (tag) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: {
            const double v = GetFloatValue();
            if ((v == 0 && FDecimalStep == 0) || FNewValue) {
                ShowText(String(1, static_cast<char16_t>(u'0' + tag)));
                FNewValue = false;
            } else if (FDecimalStep > 0) {
                SetFloatValue(v + static_cast<double>(tag) / FDecimalStep);
                FDecimalStep *= 10;
            } else {
                SetFloatValue(v * 10 + tag);
            }
            break;
        }
        case 10: DoAdd(); break;
        case 11: DoSubtract(); break;
        case 12: DoMultiply(); break;
        case 13: DoDivide(); break;
        case 14: {
            // The leading sign only: an exponent's sign stays.
            const String t = Text();
            ShowText(t.starts_with(u"-") ? t.substr(1) : u"-" + t);
            break;
        }
        case 15: {
            const String sep(1, GetDecimalSeparator());
            if (Text().find(sep) == String::npos) ShowText(Text() + sep);
            FDecimalStep = 10;
            if (FNewValue) ShowText(u"0");
            FNewValue = false;
            break;
        }
        case 16: case 30: case 32: ClearCalculator(); break;
        case 17: DoEquals(); break;
        case 18: DoPercent(); break;
        case 31:
            if (FPendingOp == opNone) {
                String t = FloatToStr(GetFloatValue());
                t.pop_back();
                // A lone sign is no number: the next operator could not read it.
                ShowText(t == u"-" ? String(u"0") : t);
            }
            break;
        case 33: FMemory = 0; break;
        case 34: SetFloatValue(FMemory); break;
        case 35: FMemory = Displayed(); break;
        case 36: FMemory += Displayed(); break;
        case 37: {
            const double v = GetFloatValue();
            if (v < 0) ShowText(kError);
            else SetFloatValue(std::sqrt(v));
            break;
        }
        case 38: {
            const double v = GetFloatValue();
            if (v == 0) ShowText(kError);
            else SetFloatValue(1 / v);
            break;
        }
        default: break;
    }
    SetModifiedFlag(true);
}

// ---------------------------------------------------------------------------------------------
// Keys

void TAdvCalculatorDropdown::PopupCharacter(char16_t Key) {
    BeforeCalcInput();
    const char16_t sep = GetDecimalSeparator();
    if (Key == sep && Text().find(sep) == String::npos) ShowText(Text() + sep);
    if (IsDigit(Key) && AtMaxLength()) return;
    switch (Key) {
        case u'+': DoAdd(); break;
        case u'-': DoSubtract(); break;
        case u'*': DoMultiply(); break;
        case u'/': DoDivide(); break;
        case u'=': DoEquals(); break;
        case u'%': DoPercent(); break;
        case 13:
            DoEquals();
            ClosePopup(false);
            break;
        case 27: ClosePopup(true); break;
        case u'&':
            if (GetKeyState(VK_MENU) < 0) ClosePopup(true);
            break;
        case u'C':
        case u'c':
            ClearCalculator();
            FNewValue = true;
            break;
        default:
            if (IsDigit(Key)) FNewValue = false;
            break;
    }
}

void TAdvCalculatorDropdown::PopupKeyPress(TObject* Sender, char16_t& Key) {
    // Backspace was done by its key-down.
    if (Key == 8) {
        Key = 0;
        return;
    }
    TAdvCustomDropDown::PopupKeyPress(Sender, Key);
    PopupCharacter(Key);
}

void TAdvCalculatorDropdown::PopupKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    // Enter computes before it closes: its character does both, the edit's key-down would only
    // close.
    if (Key == VK_RETURN) return;
    TAdvCustomDropDown::PopupKeyDown(Sender, Key, Shift);
    if (Key == VK_TAB || Key == VK_F4) {
        ClosePopup(false);
    } else if (Key == VK_BACK) {
        String t = Text();
        if (!t.empty()) t.pop_back();
        ShowText(t.empty() || t == kError ? String(u"0") : t);
    }
}

void TAdvCalculatorDropdown::CharMessage(TMessage& Message) {
    char16_t key = static_cast<char16_t>(Message.WParam);
    CalcKeyPress(key);
    if (!key) return;
    Message.WParam = key;
    TAdvCustomDropDown::CharMessage(Message);
}

void TAdvCalculatorDropdown::CalcKeyPress(char16_t& Key) {
    TDropDownForm* form = DropDownForm();
    if (FCalcClosed || (form && !form->Visible())) {
        switch (Key) {
            case u'+': DoAdd(); break;
            case u'-': DoSubtract(); break;
            case u'*': DoMultiply(); break;
            case u'/': DoDivide(); break;
            case 13:
            case u'=': DoEquals(); break;
            case u'%': DoPercent(); break;
            case u'C':
            case u'c':
                ShowText(u"0");
                FNewValue = true;
                FPendingOp = opNone;
                break;
            default: break;
        }
    }
    const char16_t sep = GetDecimalSeparator();
    if (!IsDigit(Key) && Key != sep && Key != 8 && Key != u'-') {
        Key = 0;
        return;
    }
    auto caretAfterFirst = [this] {
        const int at = static_cast<int>(Prefix().Length()) + 1;
        SetSelection(at, at);
    };
    const String t = Text();
    if (IsDigit(Key) && (t == u"0" || FNewValue)) {
        ShowText(String(1, Key));
        caretAfterFirst();
        FNewValue = false;
        Key = 0;
        return;
    }
    if (Key == 8 && t.Length() == 1) {
        ShowText(u"0");
        caretAfterFirst();
        Key = 0;
        return;
    }
    if (Key == GetThousandSeparator() || (Key == sep && t.find(sep) != String::npos)) {
        Key = 0;
    }
}

void TAdvCalculatorDropdown::KeyDownMessage(TMessage& Message) {
    TAdvCustomDropDown::KeyDownMessage(Message);
    if (Message.WParam == VK_DELETE) ZeroForEmpty(true);
}
