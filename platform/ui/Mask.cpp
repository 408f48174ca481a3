#include "platform/ui/Mask.h"

#include <algorithm>
#include <cwctype>

#include "platform/rtl/FormatSettings.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return std::iswalpha(static_cast<wint_t>(c)) != 0; }
bool Optional(char16_t kind) { return kind == u'9' || kind == u'#' || kind == u'l' || kind == u'a' || kind == u'c'; }

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& value) {
    FEditMask = value;
    FSlots.clear();
    FSaveLiterals = true;
    FBlank = u'_';
    FFromRight = false;
    // Sections: the mask, then the save flag and the blank character after the last two ';'.
    String mask = value;
    size_t semi = mask.rfind(u';');
    if (semi != String::npos && semi + 1 < mask.size() && (semi == 0 || mask[semi - 1] != u'\\')) {
        size_t semi2 = semi > 0 ? mask.rfind(u';', semi - 1) : String::npos;
        if (semi2 != String::npos && (semi2 == 0 || mask[semi2 - 1] != u'\\')) {
            FSaveLiterals = mask[semi2 + 1] != u'0';
            FBlank = mask[semi + 1];
            mask = String(mask.substr(0, semi2));
        } else {
            FSaveLiterals = mask[semi + 1] != u'0';
            mask = String(mask.substr(0, semi));
        }
    }
    int caseMode = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        char16_t c = mask[i];
        switch (c) {
            case u'!':
                FFromRight = true;
                continue;
            case u'>':
                caseMode = 1;
                continue;
            case u'<':
                if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                    ++i;
                    caseMode = 0;
                } else {
                    caseMode = -1;
                }
                continue;
            case u'\\':
                // A last backslash escapes nothing: it stands for itself.
                FSlots.push_back(Slot{0, i + 1 < mask.size() ? mask[++i] : c, 0});
                continue;
            // The separators are the settings' as the mask is set; "\\:" and "\\/" stay as written.
            case u':': FSlots.push_back(Slot{0, FormatSettings.TimeSeparator, 0}); continue;
            case u'/': FSlots.push_back(Slot{0, FormatSettings.DateSeparator, 0}); continue;
            case u'0': case u'9': case u'#': case u'L': case u'l': case u'A': case u'a': case u'C': case u'c':
                FSlots.push_back(Slot{c, 0, caseMode});
                continue;
            case u'_': FSlots.push_back(Slot{0, u' ', 0}); continue;
            default: FSlots.push_back(Slot{0, c, 0}); continue;
        }
    }
    SetEditText(Text());
}

String TCustomMaskEdit::EmptyText() const {
    String s;
    for (const Slot& slot : FSlots) s.push_back(slot.Kind ? FBlank : slot.Literal);
    return s;
}

bool TCustomMaskEdit::Fits(const Slot& s, char16_t& ch) const {
    if (s.Case > 0) ch = static_cast<char16_t>(std::towupper(ch));
    if (s.Case < 0) ch = static_cast<char16_t>(std::towlower(ch));
    switch (s.Kind) {
        case u'0': case u'9': return IsDigit(ch);
        case u'#': return IsDigit(ch) || ch == u'+' || ch == u'-';
        case u'L': case u'l': return IsLetter(ch);
        case u'A': case u'a': return IsLetter(ch) || IsDigit(ch);
        case u'C': case u'c': return ch >= 0x20;
        default: return false;
    }
}

void TCustomMaskEdit::SetEditText(const String& value) { SetText(IsMasked() ? FitToMask(value) : value); }

String TCustomMaskEdit::FitToMask(const String& value) const {
    // Fills the places in order from the given characters; a literal of the mask may be
    // given or left out. With "!" the order is from the end, so a short text fills the last
    // places and leaves the leading ones blank. A fitted text fits again unchanged.
    String s = EmptyText();
    const int places = static_cast<int>(FSlots.size()), given = static_cast<int>(value.size());
    const int step = FFromRight ? -1 : 1;
    int i = FFromRight ? places - 1 : 0, k = FFromRight ? given - 1 : 0;
    for (; i >= 0 && i < places && k >= 0 && k < given; i += step) {
        const Slot& slot = FSlots[static_cast<size_t>(i)];
        if (!slot.Kind) {
            if (value[static_cast<size_t>(k)] == slot.Literal) k += step;
            continue;
        }
        char16_t ch = value[static_cast<size_t>(k)];
        k += step;
        if (ch == FBlank || (ch == u' ' && !Fits(slot, ch))) continue;
        if (Fits(slot, ch)) s[static_cast<size_t>(i)] = ch;
        else i -= step;  // try the next given character at this place
    }
    return s;
}

void TCustomMaskEdit::CMTextChanged(TMessage& Message) {
    // A text the program writes is shown through the mask, whichever way it was written.
    if (IsMasked()) {
        String fitted = FitToMask(Text());
        if (fitted != Text()) {
            SetText(fitted);  // comes back here with the fitted text
            return;
        }
    }
    TCustomEdit::CMTextChanged(Message);
}

String TCustomMaskEdit::MaskText() const {
    if (!IsMasked()) return Text();
    String out;
    const String& t = Text();
    for (size_t i = 0; i < FSlots.size() && i < t.size(); ++i) {
        if (!FSlots[i].Kind) {
            if (FSaveLiterals) out.push_back(t[i]);
        } else {
            out.push_back(t[i] == FBlank ? u' ' : t[i]);
        }
    }
    return out;
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked()) return;
    const String& t = Text();
    for (size_t i = 0; i < FSlots.size(); ++i) {
        const Slot& s = FSlots[i];
        if (s.Kind && !Optional(s.Kind) && (i >= t.size() || t[i] == FBlank)) {
            SetSelStart(static_cast<int>(i));
            throw EDBEditError(String("Invalid input value.  Use escape key to abandon changes"));
        }
    }
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
    ValidateEdit();
    TCustomEdit::CMExit(Message);
}

int TCustomMaskEdit::NextEditable(int pos) const {
    while (pos < static_cast<int>(FSlots.size()) && !FSlots[static_cast<size_t>(pos)].Kind) ++pos;
    return pos;
}

int TCustomMaskEdit::PrevEditable(int pos) const {
    pos = std::min(pos, static_cast<int>(FSlots.size())) - 1;
    while (pos >= 0 && !FSlots[static_cast<size_t>(pos)].Kind) --pos;
    return pos;
}

void TCustomMaskEdit::PutAt(int pos, char16_t ch) { ReplaceRange(pos, pos + 1, String(1, ch), true); }

void TCustomMaskEdit::DefaultHandler(TMessage& Message) {
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::DefaultHandler(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (ch < 0x20 && ch != u'\b') {
                TCustomEdit::DefaultHandler(Message);  // Ctrl+C, Ctrl+V... as a plain edit
                return;
            }
            int start = SelStart(), end = SelStart() + SelLength();
            if (ch == u'\b') {
                if (end > start) {
                    for (int i = start; i < end && i < static_cast<int>(FSlots.size()); ++i)
                        if (FSlots[static_cast<size_t>(i)].Kind) PutAt(i, FBlank);
                    SetSelection(start, start);
                    return;
                }
                int p = PrevEditable(start);
                if (p < 0) return;
                PutAt(p, FBlank);
                SetSelection(p, p);
                return;
            }
            int p = NextEditable(start);
            if (p >= static_cast<int>(FSlots.size())) return;
            if (!Fits(FSlots[static_cast<size_t>(p)], ch)) return;  // refused: text and caret stay
            for (int i = start; i < end && i < static_cast<int>(FSlots.size()); ++i)
                if (FSlots[static_cast<size_t>(i)].Kind && i != p) PutAt(i, FBlank);
            PutAt(p, ch);
            int next = NextEditable(p + 1);
            SetSelection(next, next);
            return;
        }
        case WM_KEYDOWN:
            if (Message.WParam == VK_DELETE) {
                int start = SelStart(), end = std::max(SelStart() + SelLength(), start + 1);
                for (int i = start; i < end && i < static_cast<int>(FSlots.size()); ++i)
                    if (FSlots[static_cast<size_t>(i)].Kind) PutAt(i, FBlank);
                SetSelection(start, start);
                return;
            }
            TCustomEdit::DefaultHandler(Message);
            return;
        case WM_PASTE: {
            String clip = ui::NativeClipboardText();
            for (char16_t ch : clip) {
                TMessage m{WM_CHAR, ch, 0, 0};
                DefaultHandler(m);
            }
            return;
        }
        case WM_CUT:
        case WM_CLEAR: {
            if (Message.Msg == WM_CUT && SelLength() > 0) ui::SetNativeClipboardText(SelText());
            int start = SelStart(), end = SelStart() + SelLength();
            for (int i = start; i < end && i < static_cast<int>(FSlots.size()); ++i)
                if (FSlots[static_cast<size_t>(i)].Kind) PutAt(i, FBlank);
            SetSelection(start, start);
            return;
        }
        default: TCustomEdit::DefaultHandler(Message); return;
    }
}
