#include "platform/ui/EditModel.h"

#include <algorithm>
#include <string_view>

#include "platform/rtl/SysUtils.h"

namespace ui {

namespace {

const String kCrLf(u"\r\n");

bool IsWordChar(char16_t c) { return c > u' ' && c != u'\r' && c != u'\n'; }

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

String EditModel::InCase(const String& s, TEditCharCase c) {
    if (c == ecUpperCase) return AnsiUpperCase(s);
    if (c == ecLowerCase) return AnsiLowerCase(s);
    return s;
}

void EditModel::SetText(const String& text) {
    FText = text;
    TextChanged();
    FAnchor = FCaret = 0;
    FCanUndo = false;
    FTypingRun = false;
    FModified = false;
}

void EditModel::SetMultiLine(bool value) {
    FMultiLine = value;
    TextChanged();
}

String EditModel::SelText() const { return String(FText.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))); }

int EditModel::Held(int pos) const {
    int len = FText.Length();
    pos = std::clamp(pos, 0, len);
    // Never between the CR and LF of a line break.
    if (FMultiLine && pos > 0 && pos < len && FText[static_cast<size_t>(pos) - 1] == u'\r' && FText[static_cast<size_t>(pos)] == u'\n') --pos;
    return pos;
}

void EditModel::SetSelection(int anchor, int caret) {
    FAnchor = Held(anchor);
    FCaret = Held(caret);
    FTypingRun = false;
}

EditModel::Change EditModel::Replace(int start, int end, const String& in, bool user) {
    Change change;
    String text = InCase(in, FCharCase);
    int len = FText.Length();
    start = std::clamp(start, 0, len);
    end = std::clamp(end, start, len);
    if (!FMultiLine) {
        // One line: the text stops at the first line break.
        size_t br = text.find_first_of(u"\r\n");
        if (br != String::npos) text = String(text.substr(0, br));
    }
    if (FMaxLength > 0) {
        int room = FMaxLength - (len - (end - start));
        if (room < text.Length()) {
            if (room <= 0 && !text.empty()) {
                change.Refused = true;
                return change;
            }
            text = String(text.substr(0, static_cast<size_t>(std::max(room, 0))));
            if (!text.empty() && text.back() == u'\r') text.pop_back();  // no half line break
        }
    }
    FTypingRun = false;
    if (start == end && text.empty()) return change;
    if (user) {
        FUndoText = FText;
        FUndoCaret = FCaret;
        FCanUndo = true;
        FModified = true;
    } else {
        // An undo step from before would take this change back with it.
        FCanUndo = false;
        FUndoText.clear();
    }
    change.Changed = true;
    change.ViewStart = ToView(start);
    change.ViewRemoved = ToView(end) - change.ViewStart;
    change.Start = start;
    change.Removed = end - start;
    if (FFeeds >= 0) {
        FFeeds -= static_cast<int>(std::count(FText.begin() + start, FText.begin() + end, u'\n'));
        FReturns -= static_cast<int>(std::count(FText.begin() + start, FText.begin() + end, u'\r'));
    }
    FText.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
    Replaced(start, end - start, text.Length());
    FAnchor = FCaret = start + text.Length();
    change.Inserted = std::move(text);
    return change;
}

EditModel::Change EditModel::Type(char16_t ch) {
    if (FReadOnly) return Change();
    bool run = FTypingRun && SelLength() == 0;
    String undo = FUndoText;
    int undoCaret = FUndoCaret;
    bool couldUndo = FCanUndo;
    Change change = Replace(SelStart(), SelStart() + SelLength(), ch == u'\r' ? kCrLf : String(1, ch), true);
    if (change.Refused) return change;
    if (run && couldUndo) {
        // One undo step takes back the whole run of typing.
        FUndoText = std::move(undo);
        FUndoCaret = undoCaret;
    }
    FTypingRun = true;
    return change;
}

EditModel::Change EditModel::DeleteBack() {
    if (FReadOnly) return Change();
    if (SelLength() > 0) return Replace(SelStart(), SelStart() + SelLength(), String(), true);
    if (FCaret == 0) {
        FTypingRun = false;
        return Change();
    }
    return Replace(Step(FCaret, -1), FCaret, String(), true);
}

EditModel::Change EditModel::DeleteForward() {
    if (FReadOnly) return Change();
    if (SelLength() > 0) return Replace(SelStart(), SelStart() + SelLength(), String(), true);
    if (FCaret >= FText.Length()) {
        FTypingRun = false;
        return Change();
    }
    return Replace(FCaret, Step(FCaret, 1), String(), true);
}

bool EditModel::Undo() {
    if (!FCanUndo || FReadOnly) return false;
    std::swap(FText, FUndoText);
    TextChanged();
    int caret = FUndoCaret;
    FUndoCaret = FCaret;
    FModified = true;
    SetSelection(caret, caret);
    return true;
}

void EditModel::ClearUndo() {
    FCanUndo = false;
    FUndoText.clear();
}

const std::vector<int>& EditModel::Breaks() const {
    // Made again after each change of the text, so a large memo pays one pass per change
    // rather than one per position.
    if (FBreaksValid) return FBreaks;
    FBreaks.clear();
    std::u16string_view t(FText);
    for (size_t i = t.find(u'\r'); i != std::u16string_view::npos; i = t.find(u'\r', i + 1))
        if (i + 1 < t.size() && t[i + 1] == u'\n') FBreaks.push_back(static_cast<int>(i));
    FBreaksValid = true;
    return FBreaks;
}

void EditModel::Replaced(int start, int removed, int inserted) {
    if (FFeeds >= 0) {
        FFeeds += static_cast<int>(std::count(FText.begin() + start, FText.begin() + start + inserted, u'\n'));
        FReturns += static_cast<int>(std::count(FText.begin() + start, FText.begin() + start + inserted, u'\r'));
    }
    if (!FBreaksValid) return;
    // A pair whose CR or LF was among the removed characters, or that met at start, goes; those
    // after move by the difference; pairs in the new characters and at their edges come in.
    auto first = std::lower_bound(FBreaks.begin(), FBreaks.end(), start - 1);
    auto last = std::lower_bound(first, FBreaks.end(), start + removed);
    const int delta = inserted - removed;
    for (auto it = last; it != FBreaks.end(); ++it) *it += delta;
    std::vector<int> found;
    const int len = FText.Length();
    for (int i = std::max(0, start - 1); i <= start + inserted && i + 1 < len; ++i)
        if (FText[static_cast<size_t>(i)] == u'\r' && FText[static_cast<size_t>(i) + 1] == u'\n') found.push_back(i);
    // A pair just past the new characters that moved with the rest is found again: once only.
    auto after = last;
    while (!found.empty() && after != FBreaks.end() && *after <= found.back()) found.pop_back();
    auto at = FBreaks.erase(first, last);
    FBreaks.insert(at, found.begin(), found.end());
}

int EditModel::ToView(int pos) const {
    if (!FMultiLine) return pos;
    const std::vector<int>& b = Breaks();
    // Every pair that ends before pos counts one character less.
    auto n = std::lower_bound(b.begin(), b.end(), pos - 1) - b.begin();
    return pos - static_cast<int>(n);
}

int EditModel::FromView(int pos) const {
    if (!FMultiLine || pos < 0) return pos;
    const std::vector<int>& b = Breaks();
    // The k-th pair sits at view position b[k] - k; each one before pos adds a character.
    size_t lo = 0, hi = b.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (b[mid] - static_cast<int>(mid) < pos) lo = mid + 1;
        else hi = mid;
    }
    return std::min(pos + static_cast<int>(lo), FText.Length());
}

void EditModel::CountBreakCharacters() const {
    if (FFeeds >= 0) return;
    FFeeds = static_cast<int>(std::count(FText.begin(), FText.end(), u'\n'));
    FReturns = static_cast<int>(std::count(FText.begin(), FText.end(), u'\r'));
}

int EditModel::LineCount() const {
    if (!FMultiLine) return 1;
    CountBreakCharacters();
    return 1 + FFeeds;
}

int EditModel::ListLineCount() const {
    CountBreakCharacters();
    // A CR LF pair is one break; a lone CR or LF is one each.
    const int breaks = FFeeds + FReturns - static_cast<int>(Breaks().size());
    const bool openLast = !FText.empty() && FText.back() != u'\r' && FText.back() != u'\n';
    return breaks + (openLast ? 1 : 0);
}

int EditModel::LineIndex(int line) const {
    if (line <= 0) return 0;
    int n = 0;
    for (int i = 0; i < FText.Length(); ++i)
        if (FText[static_cast<size_t>(i)] == u'\n' && ++n == line) return i + 1;
    return -1;
}

int EditModel::LineFromChar(int pos) const {
    auto end = FText.begin() + std::clamp(pos, 0, FText.Length());
    return static_cast<int>(std::count(FText.begin(), end, u'\n'));
}

int EditModel::LineLength(int pos) const {
    int start = LineIndex(LineFromChar(pos));
    return LineEnd(start) - start;
}

int EditModel::Step(int pos, int dir) const {
    const String& t = FText;
    if (dir < 0) return (pos >= 2 && t[static_cast<size_t>(pos) - 1] == u'\n' && t[static_cast<size_t>(pos) - 2] == u'\r') ? pos - 2 : std::max(0, pos - 1);
    return (pos + 1 < t.Length() && t[static_cast<size_t>(pos)] == u'\r' && t[static_cast<size_t>(pos) + 1] == u'\n') ? pos + 2 : std::min(t.Length(), pos + 1);
}

int EditModel::LineStart(int pos) const {
    while (pos > 0 && FText[static_cast<size_t>(pos) - 1] != u'\n') --pos;
    return pos;
}

int EditModel::LineEnd(int pos) const {
    while (pos < FText.Length() && !IsBreak(FText[static_cast<size_t>(pos)])) ++pos;
    return pos;
}

int EditModel::LineAbove(int pos) const {
    int start = LineStart(pos);
    if (start == 0) return -1;
    int prev = LineStart(start - 1);
    return std::min(prev + (pos - start), LineEnd(prev));
}

int EditModel::LineBelow(int pos) const {
    int end = LineEnd(pos);
    if (end >= FText.Length()) return -1;
    int next = Step(end, 1);
    return std::min(next + (pos - LineStart(pos)), LineEnd(next));
}

int EditModel::WordStart(int pos) const {
    while (pos > 0 && !IsWordChar(FText[static_cast<size_t>(pos) - 1])) --pos;
    while (pos > 0 && IsWordChar(FText[static_cast<size_t>(pos) - 1])) --pos;
    return pos;
}

int EditModel::WordEnd(int pos) const {
    while (pos < FText.Length() && IsWordChar(FText[static_cast<size_t>(pos)])) ++pos;
    while (pos < FText.Length() && !IsWordChar(FText[static_cast<size_t>(pos)]) && FText[static_cast<size_t>(pos)] != u'\r') ++pos;
    return pos;
}

}  // namespace ui
