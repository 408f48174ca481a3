// The styled edit's value: conversions, text classes, re-casing, range texts, and the reads and
// writes of Text, FloatValue and IntValue with the setters that reformat the value.
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/styled/AdvEdit.h"
#include "platform/rtl/Diagnostics.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"

namespace advedit {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexLetter(char16_t c) { return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

String Without(const String& s, char16_t c) {
    String r;
    for (char16_t x : s)
        if (x != c) r.push_back(x);
    return r;
}

}  // namespace

TTextClass ClassifyTypedText(const String& text) {
    if (text.empty()) return tcOther;
    const char16_t dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    int signs = 0, decimals = 0;
    bool integer = true, number = true, hex = true;
    int lastThousand = -1;
    bool thousandsApart = true;
    for (int i = 0; i < text.Length(); ++i) {
        char16_t c = text[static_cast<size_t>(i)];
        if (c == u'-') ++signs;
        if (c == dec) ++decimals;
        if (!IsDigit(c) && c != u'-') integer = false;
        if (!IsDigit(c) && c != u',' && c != u'-' && c != u'.') number = false;
        if (!IsDigit(c) && c != u'-' && !IsHexLetter(c)) hex = false;
        if (c == thou) {
            // The first may stand anywhere from the second character on, the next ones at least
            // three characters after the one before.
            if (lastThousand < 0 ? i < 1 : i - lastThousand < 3) thousandsApart = false;
            lastThousand = i;
        }
    }
    if (signs > 1 || decimals > 1) return tcOther;
    if (integer) return tcInteger;
    if (number && thousandsApart) return tcFloat;
    if (hex) return tcHex;
    return tcOther;
}

double EditTextToFloat(const String& text) {
    double v = 0;
    if (!TryStrToFloat(Without(text, FormatSettings.ThousandSeparator), v, FormatSettings)) return 0;
    return v;
}

int32_t HexToInt(const String& text) {
    uint32_t sum = 0, weight = 1;
    for (int i = text.Length() - 1; i >= 0; --i) {
        char16_t c = text[static_cast<size_t>(i)];
        uint32_t d = 0;
        if (IsDigit(c)) d = c - u'0';
        else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
        sum += d * weight;
        weight *= 16;
    }
    return static_cast<int32_t>(sum);
}

bool ScanInt(const String& text, int32_t& value) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == u' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    uint32_t base = 10;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    uint32_t v = 0;
    size_t start = i;
    for (; i < n; ++i) {
        char16_t c = text[i];
        uint32_t d;
        if (IsDigit(c)) d = c - u'0';
        else if (base == 16 && IsHexLetter(c)) d = (c | 0x20) - u'a' + 10;
        else break;
        v = v * base + d;  // wraps around in 32 bits, never undefined
    }
    value = static_cast<int32_t>(negative ? 0u - v : v);
    return i == n && i > start;
}

double TypedFloatValue(TAdvEditType type, const String& value) {
    switch (type) {
        case etString: {
            // The locale-independent scan; a text that is not a number reads 0.
            TFormatSettings plain = TFormatSettings::Default();
            plain.ThousandSeparator = 0;
            double d = 0;
            return TryStrToFloat(Trim(value), d, plain) ? d : 0;
        }
        case etNumeric:
        case etFloat:
            if (value.empty() || value == u"-") return 0;
            return EditTextToFloat(value);
        case etMoney: {
            String s = Without(value, FormatSettings.ThousandSeparator);
            if (!s.empty() && s.back() == FormatSettings.DecimalSeparator) s.pop_back();
            if (s.empty() || s == u"-") return 0;
            return EditTextToFloat(s);
        }
        case etHex: return value.empty() ? 0 : HexToInt(value);
        default: return 0;
    }
}

namespace {

// "%g": 15 significant digits, the exponent as short as it can be ("1E20"); the layer's Format
// writes at least three exponent digits there.
String FormatG(double x) { return FloatToStrF(x, ffGeneral, 15, 0); }

// Hexadecimal digits of the integer part, as few as needed; a value outside 64 bits is held
// at the nearest end rather than converted out of range.
String HexOf(double x) {
    double t = std::trunc(x);
    if (!(t >= -9.2233720368547758e18)) t = -9.2233720368547758e18;
    if (t >= 9.2233720368547758e18) t = 9.2233720368547748e18;
    return IntToHex(static_cast<long long>(t), 1);
}

}  // namespace

String FormatPrecision(const char* kind, int precision, double value) {
    return Format(String(u"%.") + IntToStr(precision) + String(kind), {value});
}

bool FloatValueText(TAdvEditType type, int precision, double value, String& text) {
    switch (type) {
        case etString:
        case etFloat:
        case etMoney: text = precision < 0 ? FormatG(value) : FormatPrecision("f", precision, value); return true;
        case etNumeric: text = precision < 0 ? FormatG(value) : FormatPrecision("n", precision, value); return true;
        case etHex: text = HexOf(value); return true;
        default: return false;
    }
}

bool IntValueText(TAdvEditType type, int32_t value, String& text) {
    switch (type) {
        case etNumeric:
        case etFloat:
        case etMoney: text = IntToStr(value); return true;
        case etHex: text = IntToHex(value, 1); return true;
        default: return false;
    }
}

String MixedCaseText(const String& text) {
    static const String breaks(u" ,.-'\\/:*$)\"");
    String r = text;
    const int n = r.Length();
    bool wordStart = true;
    for (int i = 1; i <= n; ++i) {
        char16_t& c = r[static_cast<size_t>(i) - 1];
        if (breaks.find(c) != String::npos) {
            wordStart = true;
        } else if (wordStart) {
            c = AnsiUpperChar(c);
            wordStart = false;
        } else {
            c = AnsiLowerChar(c);
        }
        String head = Copy(r, 1, i);
        if (head == u"Mc" || head == u"Mac") wordStart = true;
        if (i > 2 && Pos(u" Mc", r) == i - 2) wordStart = true;
        if (i >= n - 2 && ((i >= 2 && Copy(r, i - 1, 2) == u" I") || (i >= 3 && Copy(r, i - 2, 3) == u" II")))
            wordStart = true;
    }
    return r;
}

}  // namespace advedit

using namespace advedit;

// ---------------------------------------------------------------------------------------------
// TRangeList

namespace {

void* AsItem(int v) { return reinterpret_cast<void*>(static_cast<intptr_t>(v)); }
int AsInt(void* p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)); }

}  // namespace

void TRangeList::Add(int Value) {
    if (!InList(Value)) TList::Add(AsItem(Value));
}

void TRangeList::AddMultiple(int Value, int Count) {
    for (int i = 0; i < Count; ++i) Add(Value + i);
}

bool TRangeList::InList(int Value) const { return IndexOf(AsItem(Value)) >= 0; }

int TRangeList::GetInteger(int Index) const { return AsInt(TList::Items(Index)); }

void TRangeList::SetInteger(int Index, int Value) { SetItems(Index, AsItem(Value)); }

bool TRangeList::StrToList(const String& s) {
    Clear();
    bool result = true;
    auto number = [&](const String& item) {
        int32_t v = 0;
        if (ScanInt(item, v)) Add(v);
        else result = false;
    };
    auto range = [&](const String& item) {
        int dash = Pos(u"-", item);
        int32_t a = 0, b = 0;
        bool ga = ScanInt(Copy(item, 1, dash - 1), a), gb = ScanInt(Copy(item, dash + 1, item.Length()), b);
        if (!ga || !gb) {
            result = false;
            return;
        }
        // Wide steps count in 64 bits, so a range ending at the largest integer ends.
        for (int64_t v = a; v <= b; ++v) Add(static_cast<int>(v));
    };
    String rest = s;
    while (!rest.empty()) {
        int comma = Pos(u",", rest), semi = Pos(u";", rest);
        int k = comma == 0 ? semi : semi == 0 ? comma : std::min(comma, semi);
        if (k == 0) {
            if (Pos(u"-", rest) > 0) range(rest);
            else number(rest);
            rest.clear();
        } else {
            String item = Copy(rest, 1, k - 1);
            if (Pos(u"-", item) > 0) range(item);
            else number(item);
            ::Delete(rest, 1, k);
        }
    }
    return result;
}

void TRangeList::Show() const {
    for (int i = 0; i < Count(); ++i) OutputDebugString(IntToStr(GetInteger(i)));
}

// ---------------------------------------------------------------------------------------------
// TAdvEdit: the value

String TAdvEdit::Text() const {
    String s = TCustomEdit::Text();
    if (!FPrefix.empty() && s.starts_with(FPrefix)) s.erase(0, FPrefix.size());
    if (!FSuffix.empty() && s.size() >= FSuffix.size()) s.erase(s.size() - FSuffix.size());
    return s;
}

void TAdvEdit::SetText(const String& value) {
    String v = value;
    const bool numeric = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex;
    if (v.empty() && !FAllowNumericNullValue && numeric) v = u"0";
    if (FPrecisionDisplay == pdShortest && (FEditType == etFloat || FEditType == etMoney)) {
        if (!v.empty()) v = FormatG(EditTextToFloat(v));
    } else if ((FPrecision > 0 || FEditType == etMoney) && !v.empty()) {
        if (FEditType == etMoney) v = FormatPrecision("n", FPrecision, EditTextToFloat(v));
        else if (FEditType == etFloat) v = FormatPrecision("f", FPrecision, EditTextToFloat(v));
    }
    if (FEditType == etHex) v = AnsiUpperCase(v);
    SetControlText(FPrefix + v + FSuffix);
    SetModified(false);
}

void TAdvEdit::SetControlText(const String& whole) { TCustomEdit::SetText(whole); }

double TAdvEdit::FloatValue() const { return TypedFloatValue(FEditType, Text()); }

void TAdvEdit::SetFloatValue(double value) {
    String text;
    if (FloatValueText(FEditType, FInput.PrecisionOff() ? 0 : FPrecision, value, text)) {
        SetText(text);
        if (FEditType == etMoney) ReformatMoney();
    }
    SetModified(true);
}

int32_t TAdvEdit::IntValue() const {
    String v = Text();
    int32_t n = 0;
    switch (FEditType) {
        case etNumeric:
        case etFloat: ScanInt(v, n); return n;
        case etMoney: {
            String s;
            for (char16_t c : v)
                if (c != FormatSettings.ThousandSeparator) s.push_back(c);
            ScanInt(s, n);
            return n;
        }
        case etHex: return v.empty() ? 0 : HexToInt(v);
        default: return 0;
    }
}

void TAdvEdit::SetIntValue(int32_t value) {
    String text;
    if (IntValueText(FEditType, value, text)) {
        SetText(text);
        if (FEditType == etMoney) ReformatMoney();
    }
    SetModified(true);
}

void TAdvEdit::SetEditType(TAdvEditType value) {
    if (FEditType == value) return;
    FEditType = value;
    if (value == etPassword) {
        SetPasswordChar(u'*');
        FCanUndo = false;
        if (HandleAllocated()) RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    String v = Text();
    if (!v.empty() || !FAllowNumericNullValue) {
        TTextClass c = ClassifyTypedText(v);
        switch (value) {
            case etNumeric:
                if (c != tcInteger) SetIntValue(0);
                break;
            case etFloat:
            case etMoney:
                if (c == tcOther) SetFloatValue(0);
                break;
            case etHex:
                if (c != tcInteger && c != tcHex) SetIntValue(0);
                break;
            default: break;
        }
    }
}

void TAdvEdit::SetPrecision(int16_t value) {
    if (FPrecision == value) return;
    if (FEditType == etString || FEditType == etFloat || FEditType == etMoney) FPrecision = value;
    String v = Text();
    if (v.empty() && FAllowNumericNullValue) return;
    if (ClassifyTypedText(v) == tcOther) SetFloatValue(0);
    else SetFloatValue(FloatValue());
}

void TAdvEdit::SetPrecisionDisplay(TPrecisionDisplay value) {
    if (FPrecisionDisplay == value) return;
    FPrecisionDisplay = value;
    SetFloatValue(FloatValue());
}

void TAdvEdit::SetAutoThousandSeparator(bool value) {
    FAutoThousandSeparator = value;
    if (FEditType == etFloat || FEditType == etMoney) ReformatMoney();
}

void TAdvEdit::SetPrefix(const String& value) {
    String v = Text();
    FPrefix = value;
    SetText(v);
}

void TAdvEdit::SetSuffix(const String& value) {
    String v = Text();
    FSuffix = value;
    SetText(v);
}

void TAdvEdit::ReformatMoney() { FInput.RegroupMoney(); }

bool TAdvEdit::RangeStrToList(TRangeList* rangelist) const { return rangelist->StrToList(Text()); }

void TAdvEdit::ListToRangeStr(TRangeList* rangelist) {
    std::vector<int> v;
    v.reserve(static_cast<size_t>(rangelist->Count()));
    for (int i = 0; i < rangelist->Count(); ++i) v.push_back(rangelist->GetInteger(i));
    std::sort(v.begin(), v.end());
    for (int i = 0; i < static_cast<int>(v.size()); ++i) rangelist->SetInteger(i, v[static_cast<size_t>(i)]);
    // The first entry is read whatever the list holds: an empty one raises, the value stays.
    int start = rangelist->GetInteger(0), end = start;
    String s;
    auto run = [&] {
        if (!s.empty()) s += u",";
        s += IntToStr(start);
        if (end != start) s += u"-" + IntToStr(end);
    };
    for (size_t i = 1; i < v.size(); ++i) {
        if (static_cast<int64_t>(v[i]) == static_cast<int64_t>(end) + 1) {
            end = v[i];
            continue;
        }
        run();
        start = end = v[i];
    }
    run();
    SetControlText(FPrefix + s + FSuffix);
}
