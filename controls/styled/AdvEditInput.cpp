// The styled edit's typed input: which characters, keys and pastes each input kind takes and
// how it turns them into its value; copy and cut; Escape's undo and the form's special keys.
#include <algorithm>
#include <climits>

#include "controls/styled/AdvEdit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

using advedit::ClassifyTypedText;
using advedit::MixedCaseText;
using advedit::tcFloat;
using advedit::tcHex;
using advedit::tcInteger;

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsAlphaNumeric(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsRangeSeparator(char16_t c) { return c == u',' || c == u'-' || c == u';'; }
bool Holds(const String& s, char16_t c) { return s.find(c) != String::npos; }

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

int TAdvEdit::IntegerPartEnd() const { return IntegerEnd(Text(), IsSignedType() && FSigned); }

void TAdvEdit::ReplaceValue(const String& value) {
    ReplaceRange(PrefixLength(), PrefixLength() + Text().Length(), value, false);
}

void TAdvEdit::PassOn(TMessage& Message) { TCustomEdit::WMChar(Message); }

// ---------------------------------------------------------------------------------------------
// Typed characters

void TAdvEdit::FilterTypedChar(TMessage& Message) {
    char16_t ch = static_cast<char16_t>(Message.WParam);
    const String v = Text();
    const int pre = PrefixLength();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const char16_t dec = FormatSettings.DecimalSeparator;

    if (!v.empty() && SelLength() == v.Length() && FEditType != etPassword) FBlockChange = true;
    if (ch == u'\r' && ctrl) {
        Message.Result = 1;
        return;
    }
    if (ch == u'\r') {
        if (OnKeyPress) {
            char16_t copy = ch;  // what the handler does to it is not used
            OnKeyPress(this, copy);
        }
        if (!FDefaultHandling && Parent()) {
            PostKey(WM_KEYDOWN, VK_RETURN);
            TCustomForm* form = GetParentForm(this);
            if (form && form->KeyPreview()) {
                Message.WParam = 0;
                DefaultHandler(Message);
            } else {
                PostKey(WM_KEYUP, VK_RETURN);
            }
        }
        return;
    }
    if (ch == 0x1B && !FDefaultHandling && Parent()) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->KeyPreview()) {
            PassOn(Message);
            return;
        }
        PostKey(WM_KEYDOWN, VK_ESCAPE);
        PostKey(WM_KEYUP, VK_ESCAPE);
    }
    if (ch == 0x1B && !FCanUndo) {
        PassOn(Message);
        return;
    }
    if (ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        PassOn(Message);
        return;
    }
    if (FExcelStyleDecimalSeparator && (ch == u'.' || ch == u',') && (Message.LParam & kKeypadScanBit)) {
        ch = dec;
        Message.WParam = ch;
    }
    if (ch == u'\b' && !FPrefix.empty() && Caret() <= pre && SelLength() == 0) return;
    if (FLengthLimit > 0 && SelLength() == 0 && IntegerPartEnd() > FLengthLimit) {
        size_t sep = v.find(dec);
        bool leftOfSeparator = sep == String::npos || Caret() - pre <= static_cast<int>(sep);
        bool sign = IsSignedType() && FSigned && ch == u'-';
        if (leftOfSeparator && ch != u'\b' && ch != dec && !sign) return;
    }
    if (ch == u'\b') {
        Backspace(Message);
        return;
    }
    if (ch == u'\n') return;
    if (ch == u'-' && IsSignedType() && !FSigned) return;
    if (PerType(Message)) PostProcess();
}

bool TAdvEdit::PostProcess() {
    if (FTabOnFullLength && FLengthLimit > 0 && IntegerPartEnd() > FLengthLimit && SelLength() == 0 && Caret() == FLengthLimit)
        NextControl();
    if (NativeModified()) SetModified(true);
    UpdateLookupList();
    return true;
}

void TAdvEdit::Backspace(TMessage& Message) {
    const bool changes = !(SelLength() == 0 && Caret() == PrefixLength());
    const bool was = FModified;
    if (changes) SetModified(true);
    const int changesBefore = FChangeCount;
    PassOn(Message);
    if (FEditType == etMoney) ReformatMoney();
    // An emptied value is reported once, also when its change notice was swallowed.
    if (Text().empty() && (changes || was) && FChangeCount == changesBefore) {
        FBlockChange = false;
        Change();
    }
    SetModified(FModified);
    UpdateLookupList();
}

bool TAdvEdit::PerType(TMessage& Message) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    switch (FEditType) {
        case etString:
        case etPassword:
            SetModified(true);
            PassOn(Message);
            return true;
        case etNumeric: {
            if (ch == u'-') {
                bool post = true;
                SignToggle(post);
                return post;
            }
            bool eitherCtrl = GetKeyState(VK_LCONTROL) < 0 || GetKeyState(VK_RCONTROL) < 0;
            if (ch == u'\t' || ch == u'\r' || IsDigit(ch) || eitherCtrl) PassOn(Message);
            return true;
        }
        case etFloat: return FloatRules(Message);
        case etMoney: return MoneyRules(Message);
        case etUppercase:
            Message.WParam = AnsiUpperChar(ch);
            PassOn(Message);
            return true;
        case etLowerCase:
            Message.WParam = AnsiLowerChar(ch);
            PassOn(Message);
            return true;
        case etMixedCase: {
            const int c = Caret();
            PassOn(Message);
            String mixed = MixedCaseText(Text());
            if (mixed != Text()) ReplaceValue(mixed);
            SetCaret(std::min(c + 1, ValueEnd()));
            return true;
        }
        case etRange:
            SetModified(true);
            if (IsRangeSeparator(ch)) {
                const String t = TCustomEdit::Text();
                const int c = Caret();
                if (c <= PrefixLength() || (c > 0 && IsRangeSeparator(t[static_cast<size_t>(c) - 1])) ||
                    (c < t.Length() && IsRangeSeparator(t[static_cast<size_t>(c)])))
                    return false;
                PassOn(Message);
            } else if (ch == u'\t' || ch == u'\r' || IsDigit(ch)) {
                PassOn(Message);
            }
            return true;
        case etHex:
            if (ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u'-' || IsHexDigit(ch)) {
                SetModified(true);
                PassOn(Message);
            }
            return true;
        case etAlphaNumeric:
            if (ch == u'\b' || ch == u'\t' || ch == u'\r' || IsAlphaNumeric(ch)) {
                SetModified(true);
                PassOn(Message);
            }
            return true;
        case etValidChars:
            if (ch == u'\b' || Holds(FValidChars, ch)) {
                SetModified(true);
                PassOn(Message);
            }
            return true;
    }
    return true;
}

bool TAdvEdit::SeparatorTooClose(const String& value, int caretInValue) const {
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

int TAdvEdit::FullFraction(char16_t ch) {
    const int precision = FPrecisionOff ? 0 : FPrecision;
    if (precision <= 0) return 0;
    const String v = Text();
    size_t sep = v.find(FormatSettings.DecimalSeparator);
    if (sep == String::npos) return 0;
    const int sep1 = static_cast<int>(sep) + 1;
    const int cv = Caret() - PrefixLength();
    const int fraction = v.Length() - sep1, after = v.Length() - cv;
    const bool typed = (IsDigit(ch) || ch == FormatSettings.DecimalSeparator) && SelLength() == 0;
    if (cv < sep1 || fraction < precision || after > precision || !typed) return 0;
    if (IsDigit(ch) && after >= 1) {
        SetSelection(Caret(), Caret() + 1);  // the digit overwrites the next one
        return 1;
    }
    return -1;
}

void TAdvEdit::SignToggle(bool& postProcess) {
    const String v = Text();
    const int pre = PrefixLength();
    postProcess = FEditType == etNumeric;
    if (FEditType == etNumeric && SelLength() == v.Length()) {
        ReplaceValue(u"-");
        SetCaret(pre + 1);
        postProcess = false;
        return;
    }
    // Written as it stands: the sign never rounds the value to another precision.
    FPrecisionOff = FEditType != etNumeric;
    const int c = Caret();
    try {
        if (!Holds(v, u'-')) {
            ReplaceValue(u"-" + v);
            SetCaret(c + 1);
            SetModified(true);
        } else {
            ReplaceValue(String(v.substr(1)));
            SetCaret(c >= 1 && c > pre ? c - 1 : pre);
            if (FEditType != etNumeric) SetModified(true);
        }
    } catch (...) {
        FPrecisionOff = false;
        throw;
    }
    FPrecisionOff = false;
}

bool TAdvEdit::StartOrSign(char16_t ch) {
    const char16_t dec = FormatSettings.DecimalSeparator;
    if (Text().empty() && Caret() - PrefixLength() == 0 && ch == dec) {
        ReplaceValue(String(u"0") + dec);
        SetCaret(PrefixLength() + 2);
        SetModified(true);
        return true;
    }
    if (ch == u'-' && SelLength() == 0) {
        bool post = false;
        SignToggle(post);
        return true;
    }
    return false;
}

bool TAdvEdit::FloatRules(TMessage& Message) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    const char16_t dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    const String v = Text();
    const String sel = SelText();
    if (ch == u',' && dec != u',' && thou != u',') return false;
    if (ch == u'.' && dec != u'.' && thou != u'.') return false;
    const bool allowed = ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u',' || ch == u'-' || ch == u'.' || IsDigit(ch);
    if (!allowed) return true;
    if (ch == dec && !Holds(sel, dec) && (Holds(v, dec) || FPrecision == 0)) {
        if (FPrecision > 0) SelectAfterDecimal();
        return false;
    }
    if (ch == u',' && Holds(v, u',') && !Holds(sel, u',') && thou != u',') return false;
    if ((ch == thou || ch == dec) && Holds(v, thou) && SeparatorTooClose(v, Caret() - PrefixLength())) return false;
    if (FullFraction(ch) < 0 || StartOrSign(ch)) return false;
    PassOn(Message);
    return true;
}

bool TAdvEdit::MoneyRules(TMessage& Message) {
    const char16_t ch = static_cast<char16_t>(Message.WParam);
    const char16_t dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
    const String v = Text();
    if (ch == dec && (Holds(v, dec) || FPrecision == 0)) {
        if (FPrecision > 0) {
            // Both separators in it, so the money format reads zero whichever way they stand.
            if (SelLength() == v.Length()) SetText(u"0,0");
            SelectAfterDecimal();
        }
        return false;
    }
    const bool allowed = ch == u'\b' || ch == u'\t' || ch == u'\r' || ch == u'-' || IsDigit(ch) || ch == dec;
    if (!allowed) return true;
    if (ch == dec && Holds(v, thou) && SeparatorTooClose(v, Caret() - PrefixLength())) return false;
    if (FullFraction(ch) < 0 || StartOrSign(ch)) return false;
    PassOn(Message);
    const String now = Text();
    if (!now.empty() && now != u"-" && ch != dec) {
        if (NativeModified()) SetModified(true);
        ReformatMoney();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Key-downs

void TAdvEdit::FilterKeyDown(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const int pre = PrefixLength(), end = ValueEnd();
    const int selEnd = SelStart() + SelLength();

    if ((key == VK_UP || key == VK_DOWN) && !LookupShown()) {
        if (OnKeyDown) OnKeyDown(this, key, KeyboardShiftState());
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN && LookupShown()) {
        SelectLookupItem();
        return;
    }
    if ((key == VK_TAB || key == VK_RETURN) && ctrl) {
        TCustomEdit::WMKeyDown(Message);
        return;
    }
    if (LookupShown() && (key == VK_HOME || key == VK_END || key == VK_NEXT || key == VK_PRIOR)) {
        LookupKey(key);
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        Message.WParam = key;
        if (HandleAllocated() && Visible()) NextControl();
    }
    if (key == VK_RIGHT && !FSuffix.empty() && selEnd >= end) return;
    if (key == VK_DELETE && !FSuffix.empty()) {
        if (selEnd >= end && SelLength() == 0) return;
        SetModified(true);
    }
    if (key == VK_LEFT && !FPrefix.empty() && selEnd <= pre) return;
    if (key == VK_END && !FSuffix.empty()) {
        if (shift) SetSelection(Caret(), end);
        else SetCaret(end);
        return;
    }
    if (key == VK_HOME && !FPrefix.empty()) {
        if (shift) SetSelection(end, pre);
        else SetCaret(pre);
        return;
    }
    if (key == VK_BACK && !FPrefix.empty()) {
        if (Caret() <= pre + 1) {
            if (OnKeyDown) {
                WORD k = key;
                OnKeyDown(this, k, TShiftState());
            }
            return;
        }
        SetModified(true);
    }
    if (key == VK_DELETE && Caret() >= pre) {
        String after = Text();
        const int cv = Caret() - pre;
        after.erase(static_cast<size_t>(cv), static_cast<size_t>(SelLength() > 0 ? SelLength() : 1));
        if (FLengthLimit > 0 && IntegerEnd(after, IsSignedType() && FSigned) - 1 > FLengthLimit) return;
        SetModified(true);
    }
    if ((key == VK_UP || key == VK_DOWN) && LookupShown()) {
        LookupKey(key);
        key = 0;
        Message.WParam = 0;
    }
    TCustomEdit::WMKeyDown(Message);
    if (key == VK_DELETE && FEditType == etMoney) ReformatMoney();
    if (!FPrefix.empty() && SelStart() < pre) SetCaret(pre);
}

// ---------------------------------------------------------------------------------------------
// Paste, copy and cut

void TAdvEdit::FilterPaste() {
    if (ReadOnly()) return;
    if (Clipboard()->HasFormat(CF_TEXT)) {
        const String all = Clipboard()->AsText();
        const String t(all.substr(0, all.find(u'\r')));
        const String v = Text();
        const int pre = PrefixLength();
        const int cv = std::clamp(SelStart() - pre, 0, v.Length());
        const int sl = std::clamp(SelLength(), 0, v.Length() - cv);
        String candidate = String(v.substr(0, static_cast<size_t>(cv))) + t + String(v.substr(static_cast<size_t>(cv + sl)));
        const int selFrom = pre + cv + (sl > 0 ? 0 : t.Length()), selTo = pre + cv + t.Length();
        bool allow = true;
        if (OnClipboardPaste) OnClipboardPaste(this, candidate, allow);
        if (!allow) return;
        if (MaxLength() > 0 && MaxLength() < all.Length() + v.Length() - sl) return;
        const bool sign = Holds(candidate, u'-');
        const auto cls = ClassifyTypedText(candidate);
        auto every = [&](auto pred) { return std::all_of(candidate.begin(), candidate.end(), pred); };
        switch (FEditType) {
            case etString:
            case etPassword: SetText(candidate); break;
            case etNumeric:
                if (cls == tcInteger && (FSigned || !sign)) {
                    SetText(candidate);
                    SetModified(true);
                }
                break;
            case etFloat:
            case etMoney:
                if ((cls == tcInteger || cls == tcFloat) && (FPrecision != 0 || !Holds(all, FormatSettings.DecimalSeparator)) &&
                    (FSigned || !sign)) {
                    SetText(candidate);
                    SetFloatValue(FloatValue());
                    SetModified(true);
                }
                break;
            case etUppercase: SetText(AnsiUpperCase(candidate)); break;
            case etMixedCase: SetText(MixedCaseText(candidate)); break;
            case etLowerCase: SetText(AnsiLowerCase(candidate)); break;
            case etRange: break;
            case etHex:
                if (cls == tcInteger || cls == tcHex) SetText(candidate);
                break;
            case etAlphaNumeric:
                if (every(IsAlphaNumeric)) {
                    SetText(candidate);
                    SetModified(true);
                }
                break;
            case etValidChars:
                if (every([this](char16_t c) { return Holds(FValidChars, c); })) {
                    SetText(candidate);
                    SetModified(true);
                }
                break;
        }
        const int length = TCustomEdit::Text().Length();
        if (FEditType == etMoney && Text().Length() > 3) SelectAll();
        else SetSelection(std::min(selFrom, length), std::min(selTo, length));
        switch (FEditType) {
            case etString:
            case etUppercase:
            case etMixedCase:
            case etLowerCase:
            case etPassword: SetModified(true); break;
            default: break;
        }
    }
    UpdateLookupList();
    if (FTabOnFullLength && FLengthLimit > 0 && Text().Length() == FLengthLimit) {
        // The previous tab stop, where the platform's edit sent the focus.
        if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_NEXTDLGCTL, 1, 0);
    }
}

namespace {

String SelectedValue(const TAdvEdit* e, const String& value, int prefix) {
    return Copy(value, e->SelStart() - prefix + 1, e->SelLength());
}

}  // namespace

void TAdvEdit::FilterCopy(TMessage& Message) {
    bool allow = true;
    if (OnClipboardCopy && !FIsCutting) OnClipboardCopy(this, SelectedValue(this, Text(), PrefixLength()), allow);
    FIsCutting = false;
    if (allow) TCustomEdit::Dispatch(Message);
}

void TAdvEdit::FilterCut(TMessage& Message) {
    FIsCutting = true;
    bool allow = true;
    try {
        if (OnClipboardCut) OnClipboardCut(this, SelectedValue(this, Text(), PrefixLength()), allow);
        if (allow) TCustomEdit::Dispatch(Message);
    } catch (...) {
        FIsCutting = false;
        throw;
    }
    FIsCutting = false;
}

// ---------------------------------------------------------------------------------------------
// The form's question whether the edit wants Escape or Enter

void TAdvEdit::WantSpecialKey(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    if (!form) return;  // left unanswered
    const WORD key = static_cast<WORD>(Message.WParam);
    if (key == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
        SetText(FUndoText);
        if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
        SelectAll();
        SetModified(false);
        Message.Result = 1;
        if (Parent() && FDefaultHandling) {
            PostKey(WM_KEYDOWN, VK_ESCAPE);
            PostKey(WM_KEYUP, VK_ESCAPE);
        }
        return;
    }
    if (key == VK_RETURN && FDefaultHandling && !form->KeyPreview() && Parent() && Screen->ActiveControl() == Parent()) {
        PostKey(WM_KEYDOWN, VK_RETURN);
        PostKey(WM_KEYUP, VK_RETURN);
    }
    TCustomEdit::Dispatch(Message);
}
