// The drop-down edit's value: Text between Prefix and Suffix, its formatting by the edit type,
// the number reads and writes, the money grouping, the edit type and precision writers, the
// modified flag and the selection helpers. The rules of typing are the styled edits' engine's.
#include "dropdown/AdvDropDown.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsNumberType(TDropDownEditType t) { return t == etNumeric || t == etFloat || t == etMoney || t == etHex; }

}  // namespace

String TAdvCustomDropDown::Text() const {
    String s = TCustomMaskEdit::Text();
    if (!FPrefix.empty() && s.starts_with(FPrefix)) s.erase(0, FPrefix.size());
    // Only a suffix that stands there: a text written as it is (SetPlainText) reads back whole.
    if (!FSuffix.empty() && s.ends_with(FSuffix)) s.erase(s.size() - FSuffix.size());
    return s;
}

void TAdvCustomDropDown::SetText(const String& value) {
    String v = value;
    if (v.empty() && IsNumberType(FEditType)) v = u"0";
    if (FPrecision > 0 && !v.empty() && v != u"Error") {
        if (FEditType == etMoney) v = advedit::FormatPrecision("n", FPrecision, TextToFloat(v));
        else if (FEditType == etFloat) v = advedit::FormatPrecision("f", FPrecision, TextToFloat(v));
    }
    if (FEditType == etHex) v = AnsiUpperCase(v);
    TCustomMaskEdit::SetText(FPrefix + v + FSuffix);
    FOldText = v;
    SetModifiedFlag(false);
}

void TAdvCustomDropDown::SetPlainText(const String& value) { TCustomMaskEdit::SetText(value); }

void TAdvCustomDropDown::SetModifiedFlag(bool value) {
    if (ComponentState().Contains(csLoading) || !FEditorEnabled || ReadOnly()) return;
    SetModified(value);
    FIsModified = value;
}

double TAdvCustomDropDown::GetFloatValue() const { return advedit::TypedFloatValue(FEditType, Text()); }

void TAdvCustomDropDown::SetFloatValue(double value) {
    String text;
    if (advedit::FloatValueText(FEditType, FInput.PrecisionOff() ? 0 : FPrecision, value, text)) {
        SetText(text);
        if (FEditType == etMoney) ApplyThousandSeparators();
    }
    SetModifiedFlag(true);
}

void TAdvCustomDropDown::SetIntValue(int32_t value) {
    String text;
    if (advedit::IntValueText(FEditType, value, text)) {
        SetText(text);
        if (FEditType == etMoney) ApplyThousandSeparators();
    }
    SetModifiedFlag(true);
}

void TAdvCustomDropDown::ApplyThousandSeparators() { FInput.RegroupMoney(); }

void TAdvCustomDropDown::SetEditType(TDropDownEditType value) {
    if (FEditType == value) return;
    FEditType = value;
    if (value == etPassword) {
        SetPasswordChar(u'*');
        FCanUndo = false;
        if (HandleAllocated()) RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    const int cls = ClassifyEditText(Text());
    switch (value) {
        case etNumeric:
            if (cls != advedit::tcInteger) SetIntValue(0);
            break;
        case etFloat:
        case etMoney:
            if (cls > advedit::tcFloat) SetFloatValue(0);
            break;
        case etHex:
            if (cls != advedit::tcInteger && cls != advedit::tcHex) SetIntValue(0);
            break;
        default: break;
    }
    if (ComponentState().Contains(csDesigning) && value == etFloat && FPrecision == 0) SetPrecision(2);
}

void TAdvCustomDropDown::SetPrecision(int16_t value) {
    if (FPrecision == value || (FEditType != etString && FEditType != etFloat && FEditType != etMoney)) return;
    FPrecision = value;
    SetFloatValue(ClassifyEditText(Text()) > advedit::tcFloat ? 0 : GetFloatValue());
}

void TAdvCustomDropDown::SelectAll() {
    Perform(EM_SETSEL, static_cast<WPARAM>(FPrefix.Length()), FPrefix.Length() + Text().Length());
}

void TAdvCustomDropDown::SelectBeforeDecimal() { FInput.CaretBeforeDecimal(); }

void TAdvCustomDropDown::SelectAfterDecimal() { FInput.CaretAfterDecimal(); }
