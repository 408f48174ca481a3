// The layout of rich text with a canvas's font measures: words fill a line while they fit,
// a word longer than a line is broken between characters, and a line is as tall as its tallest
// run's ascent and descent, raised and lowered runs included.
#include <algorithm>

#include "platform/ui/Gdi.h"
#include "platform/ui/RichText.h"

namespace ui {

namespace {

int TwipsToPixels(int twips, int dpi) {
    int64_t v = int64_t{twips} * dpi;
    return static_cast<int>(v >= 0 ? (v + 720) / 1440 : -((-v + 720) / 1440));
}

bool IsBlank(char16_t c) { return c == u' '; }
bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n' || c == 0x000B; }

// Font measures of each format, made once per layout.
class Measures {
public:
    Measures(const RichDocument& doc, TCanvas& canvas, int dpiY) : FDoc(doc), FCanvas(canvas), FDpiY(dpiY), FSeen(doc.Formats().size()) {}

    void Select(uint16_t f) {
        if (FCurrent == f) return;
        SelectRichFont(FCanvas, FDoc.Formats()[f], FDpiY);
        FCurrent = f;
        if (!FSeen[f].Valid) {
            TEXTMETRIC tm;
            GetTextMetrics(FCanvas.Handle(), &tm);
            FSeen[f] = {true, tm.tmAscent, tm.tmDescent};
        }
    }
    int Width(uint16_t f, const String& text, int start, int end) {
        if (end <= start) return 0;
        Select(f);
        return FCanvas.TextWidth(String(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start))));
    }
    int Ascent(uint16_t f) {
        Select(f);
        return FSeen[f].Ascent;
    }
    int Descent(uint16_t f) {
        Select(f);
        return FSeen[f].Descent;
    }
    int Offset(uint16_t f) const { return TwipsToPixels(FDoc.Formats()[f].Offset, FDpiY); }

private:
    struct Seen {
        bool Valid = false;
        int Ascent = 0, Descent = 0;
    };
    const RichDocument& FDoc;
    TCanvas& FCanvas;
    int FDpiY;
    std::vector<Seen> FSeen;
    int FCurrent = -1;
};

// Splits a line's pieces at its blanks and widens the blanks between words by `room` pixels
// in all, each space by its share; false when the line has no such blank.
bool Justify(RichLine& line, const String& t, Measures& m, int room) {
    std::vector<RichPiece> split;
    for (const RichPiece& pc : line.Pieces) {
        for (int s = pc.Start; s < pc.End;) {
            bool blank = IsBlank(t[static_cast<size_t>(s)]);
            int e = s + 1;
            while (e < pc.End && IsBlank(t[static_cast<size_t>(e)]) == blank) ++e;
            int x = pc.X + (s == pc.Start ? 0 : m.Width(pc.Format, t, pc.Start, s));
            int w = s == pc.Start && e == pc.End ? pc.Width : m.Width(pc.Format, t, s, e);
            split.push_back(RichPiece{s, e, x, w, pc.Format});
            s = e;
        }
    }
    // Blanks count when a word follows them on the line.
    size_t lastWord = split.size();
    for (size_t k = split.size(); k-- > 0;)
        if (!IsBlank(t[static_cast<size_t>(split[k].Start)])) {
            lastWord = k;
            break;
        }
    int spaces = 0;
    for (size_t k = 0; k < lastWord && lastWord < split.size(); ++k)
        if (IsBlank(t[static_cast<size_t>(split[k].Start)])) spaces += split[k].End - split[k].Start;
    if (spaces == 0) return false;
    int shift = 0, seen = 0;
    for (size_t k = 0; k < split.size(); ++k) {
        RichPiece& pc = split[k];
        pc.X += shift;
        if (k < lastWord && IsBlank(t[static_cast<size_t>(pc.Start)])) {
            int n = pc.End - pc.Start;
            int extra = static_cast<int>(int64_t{room} * (seen + n) / spaces - int64_t{room} * seen / spaces);
            seen += n;
            pc.Width += extra;
            shift += extra;
        }
    }
    line.Pieces = std::move(split);
    return true;
}

}  // namespace

void SelectRichFont(TCanvas& canvas, const RichCharFormat& format, int dpiY) {
    TFont& font = *canvas.Font();
    font.SetName(format.Name);
    font.SetHeight(-std::max(1, TwipsToPixels(format.Height, dpiY)));
    font.SetStyle(format.Style);
    font.SetColor(format.Color);
    font.SetCharset(format.Charset);
}

void RichLayout::Build(const RichDocument& doc, TCanvas& canvas, const Options& o) {
    FLines.clear();
    FDpiX = o.DpiX > 0 ? o.DpiX : 96;
    FDpiY = o.DpiY > 0 ? o.DpiY : 96;
    const String& t = doc.Text();
    const auto& chars = doc.CharIndexes();
    int len = t.Length();
    int from = std::clamp(o.From, 0, len);
    int end = o.To < 0 ? len : std::clamp(o.To, from, len);
    FEnd = end;
    Measures m(doc, canvas, FDpiY);
    TFont saved;
    saved.Assign(canvas.Font());
    const int tab = std::max(1, TwipsToPixels(720, FDpiX));
    int top = 0;
    bool stopped = false;
    // The format an empty line takes its height from.
    auto emptyFormat = [&](int pos) -> uint16_t {
        if (pos < len) return chars[static_cast<size_t>(pos)];
        if (pos > 0) return chars[static_cast<size_t>(pos) - 1];
        return 0;
    };
    // Paragraphs are walked from break to break, not looked up one by one.
    int nextStart = doc.ParagraphStart(doc.ParagraphOf(from));
    for (int p = doc.ParagraphOf(from); p < doc.ParagraphCount() && !stopped; ++p) {
        int paraStart = nextStart;
        if (paraStart > end || (paraStart == end && end < len)) break;
        size_t br = t.find(u'\r', static_cast<size_t>(paraStart));
        int paraEnd = std::min(br == String::npos ? len : static_cast<int>(br), end);
        nextStart = paraEnd + 2;
        int breakEnd = paraEnd < len && t[static_cast<size_t>(paraEnd)] == u'\r' && paraEnd + 2 <= end ? paraEnd + 2 : paraEnd;
        const RichParaFormat& pf = doc.ParaFormat(p);
        int indentLeft = TwipsToPixels(pf.LeftIndent, FDpiX), indentRight = TwipsToPixels(pf.RightIndent, FDpiX);
        int first = TwipsToPixels(pf.FirstIndent, FDpiX);
        int i = std::max(from, paraStart);
        bool firstLine = i == paraStart;
        do {
            RichLine line;
            line.Start = i;
            int left = std::max(0, indentLeft + (firstLine ? first : 0));
            int right = o.Wrap ? std::max(left + 1, o.Width - indentRight) : INT32_MAX / 2;
            int x = left;
            // Where the line may break: after the last blank seen.
            struct Mark {
                int Pos = -1;
                size_t Pieces = 0;
                int X = 0;
                int LastPieceEnd = 0;
                int LastPieceWidth = 0;
            } mark;
            auto add = [&](uint16_t f, int s, int e, int w) {
                if (!line.Pieces.empty() && line.Pieces.back().Format == f && line.Pieces.back().End == s) {
                    line.Pieces.back().End = e;
                    line.Pieces.back().Width += w;
                } else {
                    line.Pieces.push_back(RichPiece{s, e, x, w, f});
                }
                x += w;
            };
            bool lineBreak = false;
            while (i < paraEnd) {
                char16_t c = t[static_cast<size_t>(i)];
                if (c == 0x000B) {
                    ++i;
                    lineBreak = true;
                    break;
                }
                if (c == u'\t') {
                    x = (x / tab + 1) * tab;
                    ++i;
                    mark = {i, line.Pieces.size(), x, 0, 0};
                    continue;
                }
                uint16_t f = chars[static_cast<size_t>(i)];
                bool blank = IsBlank(c);
                int j = i + 1;
                while (j < paraEnd && chars[static_cast<size_t>(j)] == f && IsBlank(t[static_cast<size_t>(j)]) == blank &&
                       t[static_cast<size_t>(j)] != u'\t' && !IsBreak(t[static_cast<size_t>(j)]))
                    ++j;
                int w = m.Width(f, t, i, j);
                if (!blank && o.Wrap && x + w > right) {
                    bool empty = line.Pieces.empty() && mark.Pos < 0;
                    if (mark.Pos > line.Start && !empty) {
                        // Back to the last blank: the word starts the next line.
                        line.Pieces.resize(mark.Pieces);
                        i = mark.Pos;
                        break;
                    }
                    if (i > line.Start) break;  // the line holds something already
                    // A word longer than the line: as many characters as fit, one at least.
                    int lo = i + 1, hi = j;
                    while (lo < hi) {
                        int mid = (lo + hi + 1) / 2;
                        if (x + m.Width(f, t, i, mid) <= right) lo = mid;
                        else hi = mid - 1;
                    }
                    add(f, i, lo, m.Width(f, t, i, lo));
                    i = lo;
                    break;
                }
                add(f, i, j, w);
                i = j;
                if (blank) mark = {i, line.Pieces.size(), x, 0, 0};
            }
            // The blanks at the end of a wrapped line go with it.
            while (o.Wrap && i < paraEnd && IsBlank(t[static_cast<size_t>(i)]) && !lineBreak) {
                uint16_t f = chars[static_cast<size_t>(i)];
                add(f, i, i + 1, m.Width(f, t, i, i + 1));
                ++i;
            }
            bool last = i >= paraEnd;
            line.End = last ? breakEnd : i;
            // Height and baseline.
            int ascent = 0, descent = 0;
            if (line.Pieces.empty()) {
                uint16_t f = emptyFormat(line.Start);
                ascent = m.Ascent(f) + m.Offset(f);
                descent = m.Descent(f) - m.Offset(f);
            }
            for (const RichPiece& pc : line.Pieces) {
                ascent = std::max(ascent, m.Ascent(pc.Format) + m.Offset(pc.Format));
                descent = std::max(descent, m.Descent(pc.Format) - m.Offset(pc.Format));
            }
            line.Top = top;
            line.Height = std::max(1, ascent + descent);
            line.Baseline = top + ascent;
            // The shown width: trailing blanks aside.
            int shownEnd = left;
            for (const RichPiece& pc : line.Pieces) {
                int e = pc.End;
                while (e > pc.Start && IsBlank(t[static_cast<size_t>(e) - 1])) --e;
                if (e > pc.Start) shownEnd = pc.X + (e == pc.End ? pc.Width : m.Width(pc.Format, t, pc.Start, e));
            }
            line.Left = left;
            line.Width = shownEnd - left;
            int room = (o.Wrap ? right : std::max(o.Width - indentRight, shownEnd)) - shownEnd;
            int shift = pf.Align == RichAlign::Center ? room / 2 : pf.Align == RichAlign::Right ? room : 0;
            if (shift > 0) {
                line.Left += shift;
                for (RichPiece& pc : line.Pieces) pc.X += shift;
            }
            // Justified: every line but the paragraph's last (or one a line break ends) fills
            // its width, the room spread over the blanks between its words.
            if (pf.Align == RichAlign::Justify && o.Wrap && !last && !lineBreak && room > 0 && Justify(line, t, m, room))
                line.Width += room;
            if (o.MaxHeight >= 0 && top + line.Height > o.MaxHeight) {
                FEnd = line.Start;
                stopped = true;
                break;
            }
            top += line.Height;
            FLines.push_back(std::move(line));
            firstLine = false;
            if (last) break;
        } while (true);
        // A paragraph without its break ends the range (or the text).
        if (breakEnd == paraEnd) break;
    }
    canvas.Font()->Assign(&saved);
}

int RichLayout::WidestLine() const {
    int w = 0;
    for (const RichLine& l : FLines) w = std::max(w, l.Left + l.Width);
    return w;
}

void RichLayout::Draw(const RichDocument& doc, TCanvas& canvas, int x, int y, int lineCount) const {
    const String& t = doc.Text();
    HDC dc = canvas.Handle();
    UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    int mode = SetBkMode(dc, TRANSPARENT);
    TFont saved;
    saved.Assign(canvas.Font());
    TBrushStyle brushStyle = canvas.Brush()->Style();
    TColor brushColor = canvas.Brush()->Color();
    int n = lineCount < 0 ? static_cast<int>(FLines.size()) : std::min(lineCount, static_cast<int>(FLines.size()));
    for (int li = 0; li < n; ++li) {
        const RichLine& line = FLines[static_cast<size_t>(li)];
        for (const RichPiece& pc : line.Pieces) {
            const RichCharFormat& f = doc.Formats()[pc.Format];
            if (f.BackColor != clNone) {
                canvas.Brush()->SetStyle(bsSolid);
                canvas.Brush()->SetColor(f.BackColor);
                canvas.FillRect(TRect(x + pc.X, y + line.Top, x + pc.X + pc.Width, y + line.Top + line.Height));
            }
            SelectRichFont(canvas, f, FDpiY);
            canvas.Brush()->SetStyle(bsClear);
            canvas.TextOut(x + pc.X, y + line.Baseline - TwipsToPixels(f.Offset, FDpiY),
                           String(t.substr(static_cast<size_t>(pc.Start), static_cast<size_t>(pc.End - pc.Start))));
        }
    }
    canvas.Brush()->SetColor(brushColor);
    canvas.Brush()->SetStyle(brushStyle);
    canvas.Font()->Assign(&saved);
    SetBkMode(dc, mode);
    SetTextAlign(dc, align);
}

int RichLayout::LineOf(int pos) const {
    if (FLines.empty()) return -1;
    auto it = std::upper_bound(FLines.begin(), FLines.end(), pos, [](int v, const RichLine& l) { return v < l.Start; });
    if (it == FLines.begin()) return 0;
    return static_cast<int>(it - FLines.begin()) - 1;
}

TPoint RichLayout::PosOf(const RichDocument& doc, TCanvas& canvas, int pos) const {
    int li = LineOf(pos);
    if (li < 0) return TPoint(0, 0);
    const RichLine& line = FLines[static_cast<size_t>(li)];
    Measures m(doc, canvas, FDpiY);
    TFont saved;
    saved.Assign(canvas.Font());
    int x = line.Left;
    for (const RichPiece& pc : line.Pieces) {
        if (pos < pc.Start) break;
        x = pc.X + (pos >= pc.End ? pc.Width : m.Width(pc.Format, doc.Text(), pc.Start, pos));
        if (pos < pc.End) break;
    }
    canvas.Font()->Assign(&saved);
    return TPoint(x, line.Top);
}

int RichLayout::CharAt(const RichDocument& doc, TCanvas& canvas, int x, int y) const {
    if (FLines.empty()) return 0;
    size_t li = 0;
    while (li + 1 < FLines.size() && y >= FLines[li].Top + FLines[li].Height) ++li;
    const RichLine& line = FLines[li];
    const String& t = doc.Text();
    // The end of the line: before its break.
    int end = line.End;
    while (end > line.Start && IsBreak(t[static_cast<size_t>(end) - 1])) --end;
    Measures m(doc, canvas, FDpiY);
    TFont saved;
    saved.Assign(canvas.Font());
    int found = end;
    for (const RichPiece& pc : line.Pieces) {
        if (x >= pc.X + pc.Width) continue;
        int prev = pc.X;
        found = pc.End;
        for (int i = pc.Start; i < pc.End; ++i) {
            int next = pc.X + m.Width(pc.Format, t, pc.Start, i + 1);
            if (x < (prev + next) / 2) {
                found = i;
                break;
            }
            prev = next;
        }
        break;
    }
    if (!line.Pieces.empty() && x < line.Pieces.front().X) found = line.Start;
    canvas.Font()->Assign(&saved);
    return std::min(found, end);
}

}  // namespace ui
