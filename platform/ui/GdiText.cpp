// DrawText: line breaking, prefixes, ellipses and alignment, measured with the canvas's font and
// drawn through its text output, so a recording canvas records the result.
#include <algorithm>
#include <cstdint>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/CanvasLog.h"

namespace {

// Positions are worked out in 64 bits and held to the int range: a rectangle or margin at the
// ends of the range must not overflow.
int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The largest k in [lo, hi] for which fits(k) holds, where fits grows false with k and fits(lo)
// is taken as true. The step doubles from lo until a k does not fit and is then halved, so the
// text measured is about twice what fits, not the whole text once for every character.
template <class Fits>
size_t LongestFit(size_t lo, size_t hi, Fits fits) {
    size_t good = lo, bad = hi + 1;
    for (size_t step = 1; bad > hi && good < hi; step *= 2) {
        const size_t k = std::min(hi, good + step);
        (fits(k) ? good : bad) = k;
    }
    while (bad - good > 1) {
        const size_t mid = good + (bad - good) / 2;
        (fits(mid) ? good : bad) = mid;
    }
    return good;
}

TRect Normalised(const TRect& r) {
    return TRect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom));
}

bool IsWideBreakChar(char16_t c) {
    // Full-width characters may break anywhere; half-width katakana behave like letters.
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

struct Line {
    std::u16string text;
    std::vector<bool> underline;
};

class Layout {
public:
    Layout(TCanvas* c, UINT format, int tabLength) : FCanvas(c), FFormat(format) {
        TEXTMETRIC tm;
        GetTextMetrics(c->Handle(), &tm);
        FAscent = tm.tmAscent;
        FLineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
        FTabWidth = Saturated(int64_t{std::max(1, tabLength)} * std::max(1, static_cast<int>(tm.tmAveCharWidth)));
    }

    int Width(std::u16string_view s) const { return Saturated(Advance(0, s)); }

    // Where s ends when it starts x from the line's start (tab stops count from there).
    int64_t Advance(int64_t x, std::u16string_view s) const {
        if (!(FFormat & DT_EXPANDTABS) || s.find(u'\t') == std::u16string_view::npos)
            return x + FCanvas->TextWidth(String(s));
        size_t start = 0;
        for (;;) {
            size_t tab = s.find(u'\t', start);
            x += FCanvas->TextWidth(String(s.substr(start, tab == std::u16string_view::npos ? s.npos : tab - start)));
            if (tab == std::u16string_view::npos) return x;
            x = (x / FTabWidth + 1) * FTabWidth;
            start = tab + 1;
        }
    }

    // Draws s at (x, y), honouring tabs; clip may be null.
    void DrawRun(int x, int y, const std::u16string& s, const TRect* clip) const {
        if (!(FFormat & DT_EXPANDTABS) || s.find(u'\t') == std::u16string::npos) {
            FCanvas->ExtTextOutImpl(x, y, String(s), clip, nullptr);
            return;
        }
        size_t start = 0;
        int64_t px = 0;
        for (;;) {
            size_t tab = s.find(u'\t', start);
            std::u16string part = s.substr(start, tab == std::u16string::npos ? s.npos : tab - start);
            if (!part.empty()) FCanvas->ExtTextOutImpl(Saturated(x + px), y, String(part), clip, nullptr);
            px += FCanvas->TextWidth(String(part));
            if (tab == std::u16string::npos) return;
            px = (px / FTabWidth + 1) * FTabWidth;
            start = tab + 1;
        }
    }

    std::vector<Line> Wrap(const Line& para, int maxWidth) const {
        std::vector<Line> out;
        const std::u16string& t = para.text;
        size_t n = t.size(), pos = 0;
        bool wideBreaks = !(FFormat & DT_NOFULLWIDTHCHARBREAK);
        auto breakAt = [&](size_t b) {
            return b > 0 && b < n &&
                   (t[b] == u' ' || t[b - 1] == u' ' || t[b] == u'\t' ||
                    (wideBreaks && (IsWideBreakChar(t[b]) || IsWideBreakChar(t[b - 1]))));
        };
        if (n == 0) out.push_back(para);
        while (pos < n) {
            // Most lines of a short text fit whole: one measurement instead of a search.
            const auto fits = [&](size_t k) { return Width(std::u16string_view(t).substr(pos, k - pos)) <= maxWidth; };
            const size_t fit = fits(n) ? n : LongestFit(pos, n, fits);
            size_t end;
            if (fit == n) {
                end = n;
            } else {
                end = 0;
                for (size_t b = fit; b > pos; --b)
                    if (breakAt(b)) { end = b; break; }
                if (end == 0) {
                    if (FFormat & DT_EDITCONTROL) {
                        end = std::max(fit, pos + 1);  // an edit control breaks a long word
                    } else {
                        end = fit + 1;  // a word longer than the line overflows it
                        while (end < n && !breakAt(end)) ++end;
                    }
                }
            }
            size_t trimmed = end;
            while (trimmed > pos && t[trimmed - 1] == u' ') --trimmed;
            Line l;
            l.text = t.substr(pos, trimmed - pos);
            l.underline.assign(para.underline.begin() + static_cast<long>(pos),
                               para.underline.begin() + static_cast<long>(trimmed));
            out.push_back(std::move(l));
            pos = end;
            while (pos < n && t[pos] == u' ') ++pos;
        }
        return out;
    }

    // The end, path or word ellipsis where the line is wider than maxWidth. Cut points are found
    // by LongestFit over prefixes: the text measured is about what fits, whatever its length.
    void Ellipsize(Line& l, int maxWidth) const {
        const std::u16string_view text(l.text);
        const size_t n = text.size();
        // How much fits without an ellipsis; all of it needs none.
        const size_t shown = LongestFit(0, n, [&](size_t k) { return Width(text.substr(0, k)) <= maxWidth; });
        if (shown == n) return;
        static const std::u16string dots = u"...";
        auto cut = [&](size_t k, const std::u16string& tail) {
            l.text = l.text.substr(0, k) + dots + tail;
            l.underline.resize(k);
            l.underline.resize(l.text.size(), false);
        };
        auto fitsWith = [&](const std::u16string& tail) {
            return [&, tail](size_t k) { return Width(l.text.substr(0, k) + dots + tail) <= maxWidth; };
        };
        if (FFormat & DT_PATH_ELLIPSIS) {
            size_t sep = l.text.find_last_of(u"\\/");
            if (sep != std::u16string::npos && sep > 0) {
                const std::u16string tail = l.text.substr(sep);
                const auto fits = fitsWith(tail);
                if (fits(0)) {
                    cut(LongestFit(0, sep, fits), tail);
                    return;
                }
            }
        }
        // What fits with the dots is no more than what fits without them.
        size_t k = LongestFit(0, shown, fitsWith(u""));
        if (FFormat & DT_WORD_ELLIPSIS) {
            size_t w = k;
            while (w > 0 && l.text[w] != u' ' && l.text[w - 1] != u' ') --w;
            if (w > 0) k = w;
            while (k > 0 && l.text[k - 1] == u' ') --k;
        }
        cut(k, u"");
    }

    // For each underlined character of text[start, end): its left and right edge from start. The
    // text before it is measured from the previous one on, so many of them cost one pass.
    template <class F>
    void EachUnderlined(std::u16string_view text, const std::vector<bool>& underline, size_t start, size_t end,
                        F f) const {
        size_t measured = start;
        int64_t x = 0;
        for (size_t i = start; i < end; ++i) {
            if (!underline[i]) continue;
            x = Advance(x, text.substr(measured, i - measured));
            const int64_t right = Advance(x, text.substr(i, 1));
            f(x, right);
            x = right;
            measured = i + 1;
        }
    }

    int LineHeight() const { return FLineHeight; }
    int Ascent() const { return FAscent; }

private:
    TCanvas* FCanvas;
    UINT FFormat;
    int FAscent = 0;
    int FLineHeight = 0;
    int FTabWidth = 8;
};

// "&x" underlines x, "&&" is one "&".
Line StripPrefixes(std::u16string_view s, bool process) {
    Line l;
    for (size_t i = 0; i < s.size(); ++i) {
        bool under = false;
        if (process && s[i] == u'&') {
            if (i + 1 >= s.size()) break;  // a lone "&" at the end shows nothing
            ++i;
            under = s[i] != u'&';
        }
        l.text.push_back(s[i]);
        l.underline.push_back(under);
    }
    return l;
}

// Right-to-left reading order: the line's runs of one direction, in visual order from the left.
// Letters of the Hebrew and Arabic blocks are right-to-left, other letters and digits
// left-to-right; neutral characters take the direction of the strong characters around them
// when both sides agree, else the paragraph's (right-to-left).
struct DirRun {
    size_t start;
    size_t end;
    bool rtl;
};

int StrongDirection(char16_t c) {  // 1 right-to-left, -1 left-to-right, 0 neutral
    if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)) return 1;
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return -1;
    if (c >= 0x00C0 && !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) && c != 0x00D7 && c != 0x00F7 &&
        !(c >= 0xFF00 && c <= 0xFF0F))
        return -1;
    return 0;
}

std::vector<DirRun> RtlVisualRuns(const std::u16string& s) {
    std::vector<int> dir(s.size());
    for (size_t i = 0; i < s.size(); ++i) dir[i] = StrongDirection(s[i]);
    // The nearest strong direction after each character, so a long stretch of neutrals is walked
    // once, not once for each of them.
    std::vector<int> after(s.size() + 1, 0);
    for (size_t i = s.size(); i-- > 0;) after[i] = dir[i] != 0 ? dir[i] : after[i + 1];
    std::vector<bool> rtl(s.size());
    int before = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (dir[i] != 0) {
            rtl[i] = dir[i] > 0;
            before = dir[i];
            continue;
        }
        rtl[i] = !(before < 0 && after[i + 1] < 0);
    }
    std::vector<DirRun> runs;
    for (size_t i = 0; i < s.size(); ++i) {
        if (runs.empty() || runs.back().rtl != rtl[i]) runs.push_back({i, i, rtl[i]});
        runs.back().end = i + 1;
    }
    std::reverse(runs.begin(), runs.end());
    return runs;
}

}  // namespace

int DrawTextEx(HDC dc, const String& text, int count, TRect* rect, UINT format, DRAWTEXTPARAMS* params) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return 0;
    ui::LoggedCall log(*c, "DrawText", *rect);
    if (ui::DrawCall* e = log.Entry()) {
        e->text = count < 0 ? text : String(text.substr(0, std::min(text.size(), static_cast<size_t>(count))));
        e->flags = format;
    }
    std::u16string_view src(text);
    if (count < 0) src = src.substr(0, std::min(src.size(), src.find(u'\0')));
    else src = src.substr(0, std::min(src.size(), static_cast<size_t>(count)));

    int64_t leftMargin = params ? params->iLeftMargin : 0;
    int64_t rightMargin = params ? params->iRightMargin : 0;
    Layout layout(c, format, params ? params->iTabLength : 8);
    int64_t boxLeft = rect->Left + leftMargin, boxRight = rect->Right - rightMargin;
    int64_t boxTop = rect->Top, boxBottom = rect->Bottom;
    int boxWidth = Saturated(std::max<int64_t>(0, boxRight - boxLeft));
    bool single = format & DT_SINGLELINE;

    // Paragraphs, then lines.
    Line all = StripPrefixes(src, !(format & DT_NOPREFIX));
    std::vector<Line> paras;
    if (single) {
        paras.push_back(all);
    } else {
        Line cur;
        for (size_t i = 0; i < all.text.size(); ++i) {
            char16_t ch = all.text[i];
            if (ch == u'\r' || ch == u'\n') {
                paras.push_back(std::move(cur));
                cur = Line();
                if (ch == u'\r' && i + 1 < all.text.size() && all.text[i + 1] == u'\n') ++i;
                continue;
            }
            cur.text.push_back(ch);
            cur.underline.push_back(all.underline[i]);
        }
        paras.push_back(std::move(cur));
    }
    std::vector<Line> lines;
    for (Line& p : paras) {
        if ((format & DT_WORDBREAK) && !single) {
            for (Line& l : layout.Wrap(p, boxWidth)) lines.push_back(std::move(l));
        } else {
            lines.push_back(std::move(p));
        }
    }
    if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
        for (Line& l : lines) layout.Ellipsize(l, boxWidth);

    // Lines run down the device: towards smaller y in a mapping mode with y upwards, where the
    // heights answered and set come out negative.
    const int64_t down = c->Mapped() ? -1 : 1;
    int64_t lh = down * layout.LineHeight();
    int64_t total = lh * static_cast<int64_t>(lines.size());
    int64_t maxWidth = 0;
    for (const Line& l : lines) maxWidth = std::max<int64_t>(maxWidth, layout.Width(l.text));
    if (params) params->uiLengthDrawn = static_cast<UINT>(src.size());

    int64_t y = boxTop;
    if (single && (format & DT_VCENTER)) y = boxTop + (boxBottom - boxTop - lh) / 2;
    else if (single && (format & DT_BOTTOM)) y = boxBottom - lh;
    int result = Saturated((single && (format & (DT_VCENTER | DT_BOTTOM))) ? y - rect->Top + total : total);

    if (format & DT_CALCRECT) {
        rect->Right = Saturated(rect->Left + leftMargin + maxWidth + rightMargin);
        rect->Bottom = Saturated(rect->Top + total);
        return result;
    }

    const TRect* clip = (format & DT_NOCLIP) ? nullptr : rect;
    const TRect clipBox = Normalised(*rect);
    // A prefix underline is a pixel thick, whatever a logical unit is.
    const int64_t thick = down * std::max(1, c->LogicalSize(TSize(0, 1)).cy);
    COLORREF textColor = GetTextColor(dc);
    bool drawText = !(format & DT_PREFIXONLY);
    bool drawUnderline = !(format & DT_HIDEPREFIX);
    for (const Line& l : lines) {
        int64_t w = layout.Width(l.text);
        int64_t x = boxLeft;
        if (format & DT_CENTER) x = boxLeft + (boxRight - boxLeft - w) / 2;
        else if (format & DT_RIGHT) x = boxRight - w;
        auto underline = [&](int64_t x0, int64_t x1) {
            int64_t top = y + down * (layout.Ascent() + 1);
            TRect u = Normalised(TRect(Saturated(x0), Saturated(top), Saturated(x1), Saturated(top + thick)));
            if (clip) IntersectRect(&u, &u, &clipBox);
            c->FillSolid(u, static_cast<TColor>(textColor));
        };
        if (format & DT_RTLREADING) {
            std::u16string_view text(l.text);
            for (const DirRun& run : RtlVisualRuns(l.text)) {
                std::u16string part(text.substr(run.start, run.end - run.start));
                // A right-to-left run of neutrals alone has no strong letter to turn it round.
                bool neutralOnly = std::all_of(part.begin(), part.end(), [](char16_t ch) { return StrongDirection(ch) == 0; });
                if (run.rtl && neutralOnly) std::reverse(part.begin(), part.end());
                int64_t pw = layout.Width(part);
                if (drawText) layout.DrawRun(Saturated(x), Saturated(y), part, clip);
                if (drawUnderline)
                    layout.EachUnderlined(text, l.underline, run.start, run.end, [&](int64_t a, int64_t b) {
                        if (run.rtl) underline(x + pw - b, x + pw - a);
                        else underline(x + a, x + b);
                    });
                x += pw;
            }
            y += lh;
            continue;
        }
        if (drawText) layout.DrawRun(Saturated(x), Saturated(y), l.text, clip);
        if (drawUnderline)
            layout.EachUnderlined(l.text, l.underline, 0, l.text.size(),
                                  [&](int64_t a, int64_t b) { underline(x + a, x + b); });
        y += lh;
    }
    return result;
}

int DrawText(HDC dc, const String& text, int count, TRect* rect, UINT format) {
    return DrawTextEx(dc, text, count, rect, format, nullptr);
}

int DrawText(HDC dc, const char16_t* text, int count, TRect* rect, UINT format) {
    return DrawTextEx(dc, String(text), count, rect, format, nullptr);
}
