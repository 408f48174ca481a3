// The typed input engine: which characters, keys and pastes each input kind takes and how it
// turns them into its value; copy and cut; Escape's undo and the form's special keys; the money
// regrouping and the numbers completed on leaving.
#include "controls/styled/TypedInput.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

using advedit::ClassifyTypedText;
using advedit::tcFloat;
using advedit::tcHex;
using advedit::tcInteger;

namespace styled {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsAlphaNumeric(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsRangeSeparator(char16_t c) { return c == u',' || c == u'-' || c == u';'; }
bool Holds(const String& s, char16_t c) { return s.find(c) != String::npos; }
bool IsSignedType(TAdvEditType t) { return t == etNumeric || t == etFloat || t == etMoney; }

// The keypad's decimal key: bit 6 of the scan code in the key data.
constexpr LPARAM kKeypadScanBit = LPARAM(1) << 22;

// n of the length limit for a value.
int IntegerEnd(const String& value, bool signedSign) {
    String v;
    for (char16_t c : value)
        if (c != FormatSettings.ThousandSeparator) v.push_back(c);
    int n = Pos(String(FormatSettings.DecimalSeparator), v);
    if (n == 0) n = v.Length() + 1;
    if (signedSign && Holds(v, u'-')) --n;
    return n;
}

}  // namespace

int TTypedInput::IntegerPartEnd(const TTypedSettings& s) const {
    return IntegerEnd(FHost.Value(), IsSignedType(s.EditType) && s.Signed);
}

void TTypedInput::ReplaceValue(const String& value, const TTypedSettings& s) {
    const int pre = s.Prefix.Length();
    FHost.ReplaceRange(pre, pre + FHost.Value().Length(), value);
}

bool TTypedInput::ChangeNotice() {
    if (FBlockChange) {
        FBlockChange = false;
        return false;
    }
    ++FChangeCount;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Typed characters

void TTypedInput::TypedChar(TMessage& Message) {
    try {
        FilterChar(Message, FHost.Settings());
    } catch (...) {
        FBlockChange = false;
        throw;
    }
    FBlockChange = false;
}

void TTypedInput::FilterChar(TMessage& Message, const TTypedSettings& s) {
    char16_t ch = static_cast<char16_t>(Message.WParam);
    const String v = FHost.Value();
    const int pre = s.Prefix.Length();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const char16_t dec = FormatSettings.DecimalSeparator;

    if (!v.empty() && FHost.SelLength() == v.Length() && (s.EditType != etPassword || FHost.Dialect().SwallowOverPassword))
        FBlockChange = true;
    if (ch == u'\r' && ctrl) {
        Message.Result = 1;
        return;
    }
    if (ch == u'\r') {
        FHost.KeyPressEvent(ch);
        if (!s.DefaultHandling && FHost.HasParent()) {
            FHost.PostToParent(WM_KEYDOWN, VK_RETURN);
            if (FHost.FormKeyPreview() > 0) {
                Message.WParam = 0;
                FHost.DefaultChar(Message);
            } else {
                FHost.PostToParent(WM_KEYUP, VK_RETURN);
            }
        }
        return;
    }
    if (ch == 0x1B && !s.DefaultHandling && FHost.HasParent()) {
        if (FHost.FormKeyPreview() > 0) {
            FHost.PassChar(Message);
            return;
        }
        FHost.PostToParent(WM_KEYDOWN, VK_ESCAPE);
        FHost.PostToParent(WM_KEYUP, VK_ESCAPE);
    }
    if (ch == 0x1B) {
        // With CanUndo the key's press undid the edit; its character is no typing and must not
        // mark the text modified again.
        if (!s.CanUndo) FHost.PassChar(Message);
        return;
    }
    if (ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        FHost.PassChar(Message);
        return;
    }
    if (s.ExcelStyleDecimalSeparator && (ch == u'.' || ch == u',') && (Message.LParam & kKeypadScanBit)) {
        ch = dec;
        Message.WParam = ch;
    }
    if (ch == u'\b' && !s.Prefix.empty() && Caret() <= pre && FHost.SelLength() == 0) return;
    if (s.LengthLimit > 0 && FHost.SelLength() == 0 && IntegerPartEnd(s) > s.LengthLimit) {
        size_t sep = v.find(dec);
        bool leftOfSeparator = sep == String::npos || Caret() - pre <= static_cast<int>(sep);
        bool sign = IsSignedType(s.EditType) && s.Signed && ch == u'-';
        if (leftOfSeparator && ch != u'\b' && ch != dec && !sign) return;
    }
    if (ch == u'\b') {
        Backspace(Message, s);
        return;
    }
    if (ch == u'\n') return;
    if (ch == u'-' && IsSignedType(s.EditType) && !s.Signed) return;
    if (PerType(Message, s)) PostProcess(s);
}

void TTypedInput::PostProcess(const TTypedSettings& s) {
    if (s.TabOnFullLength && s.LengthLimit > 0 && IntegerPartEnd(s) > s.LengthLimit && FHost.SelLength() == 0 &&
        Caret() == s.LengthLimit)
        FHost.NextControl(false);
    if (FHost.NativeModified()) FHost.SetModified(true);
    FHost.RefreshLookup();
}

void TTypedInput::Backspace(TMessage& Message, const TTypedSettings& s) {
    const bool plain = FHost.Dialect().PlainBackspace;
    const bool changes = !(FHost.SelLength() == 0 && Caret() == s.Prefix.Length());
    const bool was = FHost.Modified();
    if (changes && !plain) FHost.SetModified(true);
    const int changesBefore = FChangeCount;
    FHost.PassChar(Message);
    if (s.EditType == etMoney && !plain) RegroupMoney();
    // An emptied value is reported once, also when its change notice was swallowed.
    if (FHost.Value().empty() && (changes || (was && !plain)) && FChangeCount == changesBefore) {
        FBlockChange = false;
        FHost.RaiseChange();
    }
    if (plain) {
        if (FHost.NativeModified()) FHost.SetModified(true);
    } else {
        FHost.SetModified(FHost.Modified());
    }
    FHost.RefreshLookup();
}

bool TTypedInput::PerType(TMessage& Message, const TTypedSettings& s) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    switch (s.EditType) {
        case etString:
        case etPassword:
            FHost.SetModified(true);
            FHost.PassChar(Message);
            return true;
        case etNumeric: {
            if (ch == u'-') {
                bool post = true;
                SignToggle(post, s);
                return post;
            }
            bool eitherCtrl = GetKeyState(VK_LCONTROL) < 0 || GetKeyState(VK_RCONTROL) < 0;
            if (ch == u'\t' || ch == u'\r' || IsDigit(ch) || eitherCtrl) FHost.PassChar(Message);
            return true;
        }
        case etFloat: return FloatRules(Message, s);
        case etMoney: return MoneyRules(Message, s);
        case etUppercase:
            Message.WParam = AnsiUpperChar(ch);
            FHost.PassChar(Message);
            return true;
        case etLowerCase:
            Message.WParam = AnsiLowerChar(ch);
            FHost.PassChar(Message);
            return true;
        case etMixedCase: {
            const int c = Caret();
            FHost.PassChar(Message);
            String mixed = FHost.MixedCase(FHost.Value());
            if (mixed != FHost.Value()) ReplaceValue(mixed, s);
            SetCaret(std::min(c + 1, ValueEnd(s)));
            return true;
        }
        case etRange:
            FHost.SetModified(true);
            if (IsRangeSeparator(ch)) {
                const String t = FHost.WholeText();
                const int c = Caret();
                if (c <= s.Prefix.Length() || (c > 0 && IsRangeSeparator(t[static_cast<size_t>(c) - 1])) ||
                    (c < t.Length() && IsRangeSeparator(t[static_cast<size_t>(c)])))
                    return false;
                FHost.PassChar(Message);
            } else if (ch == u'\t' || ch == u'\r' || IsDigit(ch)) {
                FHost.PassChar(Message);
            }
            return true;
        case etHex:
            if (ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u'-' || IsHexDigit(ch)) {
                FHost.SetModified(true);
                FHost.PassChar(Message);
            }
            return true;
        case etAlphaNumeric:
            if (ch == u'\b' || ch == u'\t' || ch == u'\r' || IsAlphaNumeric(ch)) {
                FHost.SetModified(true);
                FHost.PassChar(Message);
            }
            return true;
        case etValidChars:
            if (ch == u'\b' || Holds(s.ValidChars, ch)) {
                FHost.SetModified(true);
                FHost.PassChar(Message);
            }
            return true;
    }
    return true;
}

bool TTypedInput::SeparatorTooClose(const String& value, int caretInValue) const {
    const char16_t thou = FormatSettings.ThousandSeparator;
    String rest = value;
    int p = caretInValue;
    int smallest = INT_MAX;
    for (size_t at; (at = rest.find(thou)) != String::npos;) {
        int q = static_cast<int>(at) + 1;
        int d = std::abs(q - p);
        if (d < 3) return true;
        if (q < p) p -= q;
        smallest = std::min(smallest, d);
        rest.erase(0, at + 1);
    }
    // The nearest thousand separator stands exactly three places away.
    return smallest != INT_MAX && smallest > 3;
}

int TTypedInput::FullFraction(char16_t ch, const TTypedSettings& s) {
    const int precision = FPrecisionOff ? 0 : s.Precision;
    if (precision <= 0) return 0;
    const String v = FHost.Value();
    size_t sep = v.find(FormatSettings.DecimalSeparator);
    if (sep == String::npos) return 0;
    const int sep1 = static_cast<int>(sep) + 1;
    const int cv = Caret() - s.Prefix.Length();
    const int fraction = v.Length() - sep1, after = v.Length() - cv;
    const bool typed = (IsDigit(ch) || ch == FormatSettings.DecimalSeparator) && FHost.SelLength() == 0;
    if (cv < sep1 || fraction < precision || after > precision || !typed) return 0;
    if (IsDigit(ch) && after >= 1) {
        FHost.Select(Caret(), Caret() + 1);  // the digit overwrites the next one
        return 1;
    }
    return -1;
}

void TTypedInput::SignToggle(bool& postProcess, const TTypedSettings& s) {
    const String v = FHost.Value();
    const int pre = s.Prefix.Length();
    postProcess = s.EditType == etNumeric;
    if (s.EditType == etNumeric && FHost.SelLength() == v.Length()) {
        ReplaceValue(u"-", s);
        SetCaret(pre + 1);
        postProcess = false;
        return;
    }
    // Written as it stands: the sign never rounds the value to another precision.
    FPrecisionOff = s.EditType != etNumeric;
    const int c = Caret();
    try {
        if (!Holds(v, u'-')) {
            ReplaceValue(u"-" + v, s);
            SetCaret(c + 1);
            FHost.SetModified(true);
        } else {
            ReplaceValue(String(v.substr(1)), s);
            SetCaret(c >= 1 && c > pre ? c - 1 : pre);
            if (s.EditType != etNumeric) FHost.SetModified(true);
        }
    } catch (...) {
        FPrecisionOff = false;
        throw;
    }
    FPrecisionOff = false;
}

bool TTypedInput::StartOrSign(char16_t ch, const TTypedSettings& s) {
    const char16_t dec = FormatSettings.DecimalSeparator;
    if (FHost.Value().empty() && Caret() - s.Prefix.Length() == 0 && ch == dec) {
        ReplaceValue(String(u"0") + dec, s);
        SetCaret(s.Prefix.Length() + 2);
        FHost.SetModified(true);
        return true;
    }
    if (ch == u'-' && FHost.SelLength() == 0) {
        bool post = false;
        SignToggle(post, s);
        return true;
    }
    return false;
}

bool TTypedInput::FloatRules(TMessage& Message, const TTypedSettings& s) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    const char16_t dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    const String v = FHost.Value();
    const String whole = FHost.WholeText();
    const String sel(whole.substr(static_cast<size_t>(std::clamp(FHost.SelStart(), 0, whole.Length())),
                                  static_cast<size_t>(std::max(0, FHost.SelLength()))));
    if (ch == u',' && dec != u',' && thou != u',') return false;
    if (ch == u'.' && dec != u'.' && thou != u'.') return false;
    const bool allowed = ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u',' || ch == u'-' || ch == u'.' || IsDigit(ch);
    if (!allowed) return true;
    if (ch == dec && !Holds(sel, dec) && (Holds(v, dec) || s.Precision == 0)) {
        if (s.Precision > 0) CaretAfterDecimal();
        return false;
    }
    if (ch == u',' && Holds(v, u',') && !Holds(sel, u',') && thou != u',') return false;
    if ((ch == thou || ch == dec) && Holds(v, thou) && SeparatorTooClose(v, Caret() - s.Prefix.Length())) return false;
    if (FullFraction(ch, s) < 0 || StartOrSign(ch, s)) return false;
    FHost.PassChar(Message);
    return true;
}

bool TTypedInput::MoneyRules(TMessage& Message, const TTypedSettings& s) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    const char16_t dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    const String v = FHost.Value();
    if (ch == dec && (Holds(v, dec) || s.Precision == 0)) {
        if (s.Precision > 0) {
            // Both separators in it, so the money format reads zero whichever way they stand.
            if (FHost.SelLength() == v.Length()) FHost.SetValue(u"0,0");
            CaretAfterDecimal();
        }
        return false;
    }
    const bool allowed = ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u'-' || IsDigit(ch) || ch == dec;
    if (!allowed) return true;
    if (ch == dec && Holds(v, thou) && SeparatorTooClose(v, Caret() - s.Prefix.Length())) return false;
    if (FullFraction(ch, s) < 0 || StartOrSign(ch, s)) return false;
    FHost.PassChar(Message);
    const String now = FHost.Value();
    if (!now.empty() && now != u"-" && ch != dec) {
        if (FHost.NativeModified()) FHost.SetModified(true);
        RegroupMoney();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Key-downs

bool TTypedInput::KeyDown(TMessage& Message) {
    if (FHost.LookupKeyDown(Message)) return false;
    const TTypedSettings s = FHost.Settings();
    WORD key = static_cast<WORD>(Message.WParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const int pre = s.Prefix.Length(), end = ValueEnd(s);
    const int selEnd = FHost.SelStart() + FHost.SelLength();

    if ((key == VK_TAB || key == VK_RETURN) && ctrl) {
        FHost.PassKeyDown(Message);
        return false;
    }
    if (key == VK_RETURN && s.ReturnIsTab) {
        key = VK_TAB;
        Message.WParam = key;
        FHost.ReturnAsTab();
    }
    if (key == VK_RIGHT && !s.Suffix.empty() && selEnd >= end) return false;
    if (key == VK_DELETE && !s.Suffix.empty()) {
        if (selEnd >= end && FHost.SelLength() == 0) return false;
        FHost.SetModified(true);
    }
    if (key == VK_LEFT && !s.Prefix.empty() && selEnd <= pre) return false;
    if (key == VK_END && !s.Suffix.empty()) {
        if (shift) FHost.Select(Caret(), end);
        else SetCaret(end);
        return false;
    }
    if (key == VK_HOME && !s.Prefix.empty()) {
        if (shift) FHost.Select(end, pre);
        else SetCaret(pre);
        return false;
    }
    if (key == VK_BACK && !s.Prefix.empty()) {
        if (Caret() <= pre + 1) {
            FHost.BackspaceAtPrefix();
            return false;
        }
        FHost.SetModified(true);
    }
    if (key == VK_DELETE && Caret() >= pre) {
        String after = FHost.Value();
        const int cv = Caret() - pre;
        if (cv <= after.Length())
            after.erase(static_cast<size_t>(cv), static_cast<size_t>(FHost.SelLength() > 0 ? FHost.SelLength() : 1));
        if (s.LengthLimit > 0 && IntegerEnd(after, IsSignedType(s.EditType) && s.Signed) - 1 > s.LengthLimit) return false;
        FHost.SetModified(true);
    }
    FHost.PassKeyDown(Message);
    if (key == VK_DELETE && s.EditType == etMoney) RegroupMoney();
    if (!s.Prefix.empty() && FHost.SelStart() < pre) SetCaret(pre);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Paste, copy and cut

void TTypedInput::Paste() {
    const TTypedSettings s = FHost.Settings();
    if (s.ReadOnly) return;
    if (Clipboard()->HasFormat(CF_TEXT)) {
        const String all = Clipboard()->AsText();
        const String t(all.substr(0, all.find(u'\r')));
        const String v = FHost.Value();
        const int pre = s.Prefix.Length();
        const int cv = std::clamp(FHost.SelStart() - pre, 0, v.Length());
        const int sl = std::clamp(FHost.SelLength(), 0, v.Length() - cv);
        String candidate = String(v.substr(0, static_cast<size_t>(cv))) + t + String(v.substr(static_cast<size_t>(cv + sl)));
        const int selFrom = pre + cv + (sl > 0 ? 0 : t.Length()), selTo = pre + cv + t.Length();
        if (!FHost.ClipboardEvent(TClipboardAction::Paste, candidate)) return;
        if (s.MaxLength > 0 && s.MaxLength < all.Length() + v.Length() - sl) return;
        const bool sign = Holds(candidate, u'-');
        const auto cls = ClassifyTypedText(candidate);
        auto every = [&](auto pred) { return std::all_of(candidate.begin(), candidate.end(), pred); };
        switch (s.EditType) {
            case etString:
            case etPassword: FHost.SetValue(candidate); break;
            case etNumeric:
                if (cls == tcInteger && (s.Signed || !sign)) {
                    FHost.SetValue(candidate);
                    FHost.SetModified(true);
                }
                break;
            case etFloat:
            case etMoney:
                if ((cls == tcInteger || cls == tcFloat) && (s.Precision != 0 || !Holds(all, FormatSettings.DecimalSeparator)) &&
                    (s.Signed || !sign)) {
                    FHost.SetValue(candidate);
                    FHost.SetFloatValue(FHost.FloatValue());
                    FHost.SetModified(true);
                }
                break;
            case etUppercase: FHost.SetValue(AnsiUpperCase(candidate)); break;
            case etMixedCase: FHost.SetValue(FHost.MixedCase(candidate)); break;
            case etLowerCase: FHost.SetValue(AnsiLowerCase(candidate)); break;
            case etRange: break;
            case etHex:
                if (FHost.Dialect().PastesHex && (cls == tcInteger || cls == tcHex)) FHost.SetValue(candidate);
                break;
            case etAlphaNumeric:
                if (every(IsAlphaNumeric)) {
                    FHost.SetValue(candidate);
                    FHost.SetModified(true);
                }
                break;
            case etValidChars:
                if (every([&s](char16_t c) { return Holds(s.ValidChars, c); })) {
                    FHost.SetValue(candidate);
                    FHost.SetModified(true);
                }
                break;
        }
        const int length = FHost.WholeText().Length();
        if (s.EditType == etMoney && FHost.Value().Length() > 3) FHost.SelectValue();
        else FHost.Select(std::min(selFrom, length), std::min(selTo, length));
        switch (s.EditType) {
            case etString:
            case etUppercase:
            case etMixedCase:
            case etLowerCase:
            case etPassword: FHost.SetModified(true); break;
            default: break;
        }
    }
    FHost.RefreshLookup();
    // The previous tab stop, where the platform's edit sent the focus.
    if (s.TabOnFullLength && s.LengthLimit > 0 && FHost.Value().Length() == s.LengthLimit) FHost.NextControl(true);
}

namespace {

String SelectedValue(const TTypedInputHost& host, int prefix) {
    return Copy(host.Value(), host.SelStart() - prefix + 1, host.SelLength());
}

}  // namespace

void TTypedInput::Copy(TMessage& Message) {
    bool allow = true;
    if (!FCutting) allow = FHost.ClipboardEvent(TClipboardAction::Copy, SelectedValue(FHost, FHost.Settings().Prefix.Length()));
    FCutting = false;
    if (allow) FHost.PassClipboard(Message);
}

void TTypedInput::Cut(TMessage& Message) {
    FCutting = true;
    try {
        if (FHost.ClipboardEvent(TClipboardAction::Cut, SelectedValue(FHost, FHost.Settings().Prefix.Length())))
            FHost.PassClipboard(Message);
    } catch (...) {
        FCutting = false;
        throw;
    }
    FCutting = false;
}

// ---------------------------------------------------------------------------------------------
// The form's question whether the edit wants Escape or Enter

void TTypedInput::SpecialKey(TMessage& Message) {
    const int preview = FHost.FormKeyPreview();
    if (preview < 0) return;  // left unanswered
    const TTypedSettings s = FHost.Settings();
    const WORD key = static_cast<WORD>(Message.WParam);
    if (key == VK_ESCAPE && s.CanUndo && preview == 0) {
        FHost.EscapeUndo();
        FHost.SelectValue();
        FHost.SetModified(false);
        Message.Result = 1;
        if (FHost.HasParent() && s.DefaultHandling) {
            FHost.PostToParent(WM_KEYDOWN, VK_ESCAPE);
            FHost.PostToParent(WM_KEYUP, VK_ESCAPE);
        }
        return;
    }
    if (key == VK_RETURN && s.DefaultHandling && preview == 0 && FHost.HasParent() && FHost.ParentFocused()) {
        FHost.PostToParent(WM_KEYDOWN, VK_RETURN);
        FHost.PostToParent(WM_KEYUP, VK_RETURN);
    }
    FHost.PassSpecialKey(Message);
}

// ---------------------------------------------------------------------------------------------
// The mouse, leaving, the money regrouping and the caret at the decimal separator

void TTypedInput::Released() {
    const TTypedSettings s = FHost.Settings();
    const int pre = s.Prefix.Length(), end = ValueEnd(s);
    const int start = FHost.SelStart(), stop = start + FHost.SelLength();
    if (!s.Prefix.empty() && Caret() < pre) {
        if (FHost.Dialect().ReleaseSelectsValue) FHost.Select(pre, end);
        else FHost.Select(pre, std::max(pre, stop));
        return;
    }
    if (!s.Suffix.empty()) {
        if (FHost.SelLength() == 0 && start > end) SetCaret(end);
        else if (stop > end) FHost.Select(std::min(start, end), end);
    }
}

void TTypedInput::CompleteNumber() {
    const TTypedSettings s = FHost.Settings();
    const bool number = s.EditType == etFloat || s.EditType == etMoney;
    if (s.Precision > 0 && number && (!FHost.Value().empty() || !s.AllowNumericNullValue)) {
        const bool modified = FHost.Modified();
        FHost.SetFloatValue(FHost.FloatValue());
        FHost.SetModified(modified);
    }
    if (s.EditType == etNumeric && FHost.Value().empty() && (!s.AllowNumericNullValue || FHost.Dialect().ZeroForEmptyNumeric))
        FHost.SetValue(u"0");
    if (number && FHost.Value().empty() && !s.AllowNumericNullValue) FHost.SetFloatValue(0);
}

void TTypedInput::RegroupMoney() {
    const TTypedSettings s = FHost.Settings();
    String v = FHost.Value();
    const bool window = FHost.HasWindow();
    const int c = window ? Caret() : 0;
    const int oldLength = v.Length();
    if (v.empty()) return;
    String sign;
    if (v.starts_with(u"-")) {
        sign = u"-";
        v.erase(0, 1);
    }
    String frac;
    if (size_t d = v.find(FormatSettings.DecimalSeparator); d != String::npos) frac = String(v.substr(d, 255));
    String whole = Format(s.AutoThousandSeparator ? u"%n" : u"%f", {std::fabs(std::trunc(FHost.FloatValue()))});
    if (size_t d = whole.find(FormatSettings.DecimalSeparator); d != String::npos) whole.erase(d);
    const String nv = sign + whole + frac;
    FBlockChange = true;
    try {
        FHost.SetWholeText(s.Prefix + nv + s.Suffix);
    } catch (...) {
        FBlockChange = false;
        throw;
    }
    FBlockChange = false;
    if (window) SetCaret(std::clamp(c + (nv.Length() - oldLength), 0, FHost.WholeText().Length()));
}

void TTypedInput::CaretBeforeDecimal() {
    const int pre = FHost.Settings().Prefix.Length();
    const int p = Pos(String(FormatSettings.DecimalSeparator), FHost.Value());
    SetCaret(p > 0 ? p - 1 + pre : pre);
}

void TTypedInput::CaretAfterDecimal() {
    const int pre = FHost.Settings().Prefix.Length();
    const int p = Pos(String(FormatSettings.DecimalSeparator), FHost.Value());
    SetCaret(p > 0 ? p + pre : pre);
}

// ---------------------------------------------------------------------------------------------
// A windowed edit's parent, form and clipboard events

bool TControlInputHost::HasParent() const { return FControl.Parent() != nullptr; }

void TControlInputHost::PostToParent(UINT msg, WORD key) {
    if (FControl.Parent() && FControl.Parent()->HandleAllocated()) PostMessage(FControl.Parent()->Handle(), msg, key, 0);
}

int TControlInputHost::FormKeyPreview() const {
    TCustomForm* form = GetParentForm(&FControl);
    return form ? form->KeyPreview() : -1;
}

bool TControlInputHost::ParentFocused() const { return Screen->ActiveControl() == FControl.Parent(); }

void TControlInputHost::NextControl(bool previous) {
    if (TCustomForm* form = GetParentForm(&FControl)) form->Perform(WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

bool TControlInputHost::FireClipboardEvent(const TClipboardEvent& copy, const TClipboardEvent& cut,
                                           const TClipboardEvent& paste, TClipboardAction action, const String& value) {
    bool allow = true;
    const TClipboardEvent& event = action == TClipboardAction::Copy ? copy : action == TClipboardAction::Cut ? cut : paste;
    if (event) event(&FControl, value, allow);
    return allow;
}

}  // namespace styled
