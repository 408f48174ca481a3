#include "platform/ui/RichText.h"

#include <algorithm>

namespace ui {

namespace {

// Paragraph breaks are CR LF: a lone CR or LF becomes one.
String PairedBreaks(const String& s) {
    if (s.find_first_of(u"\r\n") == String::npos) return s;
    String out;
    out.reserve(s.size() + 8);
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c == u'\r' || c == u'\n') {
            out += u"\r\n";
            if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

int CountBreaks(const String& s, size_t from, size_t to) {
    return static_cast<int>(std::count(s.begin() + static_cast<ptrdiff_t>(from), s.begin() + static_cast<ptrdiff_t>(to), u'\r'));
}

}  // namespace

void MergeCharFormat(RichCharFormat& into, const RichCharFormat& from, uint32_t mask) {
    auto style = [&](uint32_t bit, TFontStyle s) {
        if (!(mask & bit)) return;
        if (from.Style.Contains(s)) into.Style << s;
        else into.Style >> s;
    };
    style(rfBold, fsBold);
    style(rfItalic, fsItalic);
    style(rfUnderline, fsUnderline);
    style(rfStrikeOut, fsStrikeOut);
    if (mask & rfFace) into.Name = from.Name;
    if (mask & rfSize) into.Height = from.Height;
    if (mask & rfColor) into.Color = from.Color;
    if (mask & rfBackColor) into.BackColor = from.BackColor;
    if (mask & rfCharset) into.Charset = from.Charset;
    if (mask & rfOffset) into.Offset = from.Offset;
}

RichDocument::RichDocument() {
    FEdit.SetMultiLine(true);
    FFormats.push_back(FDefault);
    FParas.emplace_back();
}

uint16_t RichDocument::Intern(const RichCharFormat& format) {
    for (size_t i = 0; i < FFormats.size(); ++i)
        if (FFormats[i] == format) return static_cast<uint16_t>(i);
    if (FFormats.size() >= 0xFFFF) {
        // Keep only the formats in use (and the undo's), then add.
        std::vector<RichCharFormat> used;
        std::vector<int> map(FFormats.size(), -1);
        auto keep = [&](uint16_t& idx) {
            if (map[idx] < 0) {
                map[idx] = static_cast<int>(used.size());
                used.push_back(FFormats[idx]);
            }
            idx = static_cast<uint16_t>(map[idx]);
        };
        for (auto& c : FChars) keep(c);
        for (auto& c : FUndoChars) keep(c);
        if (FPending >= 0) {
            auto p = static_cast<uint16_t>(FPending);
            keep(p);
            FPending = p;
        }
        FFormats = std::move(used);
    }
    FFormats.push_back(format);
    return static_cast<uint16_t>(FFormats.size() - 1);
}

void RichDocument::SetText(const String& text) {
    FEdit.SetText(PairedBreaks(text));
    FChars.assign(Text().size(), Intern(FDefault));
    FParas.assign(static_cast<size_t>(CountBreaks(Text(), 0, Text().size())) + 1, RichParaFormat());
    FPending = -1;
    FUndoText.clear();
}

void RichDocument::SetContent(const RichContent& content) {
    SetText(content.Text);
    if (Text() != content.Text) return;  // breaks were mended: the runs do not fit
    for (const RichRun& r : content.Runs) {
        int s = std::clamp(r.Start, 0, Text().Length()), e = std::clamp(r.Start + r.Length, s, Text().Length());
        uint16_t f = Intern(r.Format);
        std::fill(FChars.begin() + s, FChars.begin() + e, f);
    }
    for (size_t i = 0; i < FParas.size() && i < content.Paras.size(); ++i) FParas[i] = content.Paras[i];
}

RichContent RichDocument::Content(int start, int end) const {
    RichContent c;
    start = std::clamp(start, 0, Text().Length());
    end = std::clamp(end, start, Text().Length());
    c.Text = String(Text().substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    c.Runs = Runs(start, end);
    for (auto& r : c.Runs) r.Start -= start;
    int last = end > start ? ParagraphOf(end) : ParagraphOf(start);
    for (int p = ParagraphOf(start); p <= last; ++p) c.Paras.push_back(ParaFormat(p));
    return c;
}

void RichDocument::Follow(const String& before, uint16_t fill) {
    const String& after = Text();
    size_t oldLen = before.size(), newLen = after.size();
    size_t p = 0, lim = std::min(oldLen, newLen);
    while (p < lim && before[p] == after[p]) ++p;
    size_t s = 0;
    while (s < lim - p && before[oldLen - 1 - s] == after[newLen - 1 - s]) ++s;
    // Never split a CR LF between the head and the changed part.
    if (p > 0 && p < oldLen && before[p - 1] == u'\r') --p;
    size_t oldEnd = oldLen - s, newEnd = newLen - s;
    if (oldEnd < p) oldEnd = p;
    if (newEnd < p) newEnd = p;
    FChars.erase(FChars.begin() + static_cast<ptrdiff_t>(p), FChars.begin() + static_cast<ptrdiff_t>(oldEnd));
    FChars.insert(FChars.begin() + static_cast<ptrdiff_t>(p), newEnd - p, fill);
    size_t para = static_cast<size_t>(CountBreaks(before, 0, p));
    int removed = CountBreaks(before, p, oldEnd), added = CountBreaks(after, p, newEnd);
    RichParaFormat keep = FParas[std::min(para, FParas.size() - 1)];
    auto at = FParas.begin() + static_cast<ptrdiff_t>(std::min(para + 1, FParas.size()));
    at = FParas.erase(at, at + std::min<ptrdiff_t>(removed, FParas.end() - at));
    FParas.insert(at, static_cast<size_t>(added), keep);
}

EditModel::Change RichDocument::Track(uint16_t fill, const EditModel::Change& change, const String& before) {
    if (change.Changed) {
        Follow(before, fill);
        FPending = -1;
    }
    return change;
}

EditModel::Change RichDocument::Replace(int start, int end, const String& text, bool user) {
    String before = Text();
    auto chars = FChars;
    auto paras = FParas;
    uint16_t fill = Intern(InsertFormat());
    EditModel::Change change = Track(fill, FEdit.Replace(start, end, PairedBreaks(text), user), before);
    if (change.Changed && user) {
        FUndoText = std::move(before);
        FUndoChars = std::move(chars);
        FUndoParas = std::move(paras);
    }
    return change;
}

EditModel::Change RichDocument::Type(char16_t ch) {
    String before = Text();
    uint16_t fill = Intern(InsertFormat());
    return Track(fill, FEdit.Type(ch == u'\n' ? u'\r' : ch), before);
}

EditModel::Change RichDocument::DeleteBack() {
    String before = Text();
    return Track(0, FEdit.DeleteBack(), before);
}

EditModel::Change RichDocument::DeleteForward() {
    String before = Text();
    return Track(0, FEdit.DeleteForward(), before);
}

bool RichDocument::Undo() {
    String before = Text();
    auto chars = FChars;
    auto paras = FParas;
    uint16_t fill = Intern(InsertFormat());
    if (!FEdit.Undo()) return false;
    if (Text() == FUndoText && FUndoChars.size() == Text().size()) {
        // Back to the formats the text had; undoing again brings the change's back.
        FChars.swap(FUndoChars);
        FParas.swap(FUndoParas);
        FUndoChars = std::move(chars);
        FUndoParas = std::move(paras);
        FUndoText = std::move(before);
    } else {
        Follow(before, fill);
    }
    FPending = -1;
    return true;
}

void RichDocument::SetSelection(int anchor, int caret) {
    FEdit.SetSelection(anchor, caret);
    FPending = -1;
}

RichCharFormat RichDocument::InsertFormat() const {
    if (FPending >= 0) return FFormats[static_cast<size_t>(FPending)];
    int c = FEdit.SelStart();
    const String& t = Text();
    if (c > 0 && t[static_cast<size_t>(c) - 1] != u'\n') return CharFormat(c - 1);
    if (c < t.Length()) return CharFormat(c);
    if (c > 0) return CharFormat(c - 1);
    return FDefault;
}

void RichDocument::SetDefaultFormat(const RichCharFormat& format, uint32_t mask) {
    MergeCharFormat(FDefault, format, mask);
    if (Text().empty()) FPending = Intern(FDefault);
}

RichCharFormat RichDocument::RangeFormat(int start, int end, uint32_t* alike) const {
    start = std::clamp(start, 0, Text().Length());
    end = std::clamp(end, start, Text().Length());
    if (alike) *alike = rfAll;
    if (start == end) return InsertFormat();
    RichCharFormat first = CharFormat(start);
    if (!alike) return first;
    uint32_t same = rfAll;
    std::vector<bool> seen(FFormats.size());
    for (int i = start; i < end; ++i) {
        uint16_t f = FChars[static_cast<size_t>(i)];
        if (seen[f]) continue;
        seen[f] = true;
        const RichCharFormat& o = FFormats[f];
        auto st = [&](uint32_t bit, TFontStyle s) {
            if (o.Style.Contains(s) != first.Style.Contains(s)) same &= ~bit;
        };
        st(rfBold, fsBold);
        st(rfItalic, fsItalic);
        st(rfUnderline, fsUnderline);
        st(rfStrikeOut, fsStrikeOut);
        if (o.Name != first.Name) same &= ~rfFace;
        if (o.Height != first.Height) same &= ~rfSize;
        if (o.Color != first.Color) same &= ~rfColor;
        if (o.BackColor != first.BackColor) same &= ~rfBackColor;
        if (o.Charset != first.Charset) same &= ~rfCharset;
        if (o.Offset != first.Offset) same &= ~rfOffset;
    }
    *alike = same;
    return first;
}

void RichDocument::ApplyCharFormat(int start, int end, const RichCharFormat& format, uint32_t mask) {
    start = std::clamp(start, 0, Text().Length());
    end = std::clamp(end, start, Text().Length());
    if (start == end) {
        RichCharFormat f = InsertFormat();
        MergeCharFormat(f, format, mask);
        FPending = Intern(f);
        return;
    }
    // One merge per distinct format in the range.
    std::vector<int> map(FFormats.size(), -1);
    for (int i = start; i < end; ++i) {
        uint16_t& c = FChars[static_cast<size_t>(i)];
        if (c < map.size() && map[c] >= 0) {
            c = static_cast<uint16_t>(map[c]);
            continue;
        }
        RichCharFormat f = FFormats[c];
        MergeCharFormat(f, format, mask);
        uint16_t old = c;
        c = Intern(f);
        if (old < map.size()) map[old] = c;
    }
}

int RichDocument::ParagraphOf(int pos) const {
    pos = std::clamp(pos, 0, Text().Length());
    return CountBreaks(Text(), 0, static_cast<size_t>(pos) - (pos > 0 && Text()[static_cast<size_t>(pos) - 1] == u'\r' ? 1 : 0));
}

int RichDocument::ParagraphStart(int para) const {
    if (para <= 0) return 0;
    const String& t = Text();
    int seen = 0;
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i] == u'\r' && ++seen == para) return static_cast<int>(i) + 2;
    return t.Length();
}

int RichDocument::ParagraphEnd(int para) const {
    size_t br = Text().find(u'\r', static_cast<size_t>(ParagraphStart(para)));
    return br == String::npos ? Text().Length() : static_cast<int>(br);
}

void RichDocument::ApplyParaFormat(int start, int end, const RichParaFormat& format) {
    int first = ParagraphOf(start), last = ParagraphOf(std::max(start, end));
    for (int p = first; p <= last && p < ParagraphCount(); ++p) FParas[static_cast<size_t>(p)] = format;
}

std::vector<RichRun> RichDocument::Runs(int start, int end) const {
    std::vector<RichRun> runs;
    start = std::clamp(start, 0, Text().Length());
    end = std::clamp(end, start, Text().Length());
    int i = start;
    while (i < end) {
        uint16_t f = FChars[static_cast<size_t>(i)];
        int j = i + 1;
        while (j < end && FChars[static_cast<size_t>(j)] == f) ++j;
        // Equal formats under two indexes make one run.
        if (!runs.empty() && runs.back().Format == FFormats[f]) runs.back().Length += j - i;
        else runs.push_back(RichRun{i, j - i, FFormats[f]});
        i = j;
    }
    return runs;
}

}  // namespace ui
