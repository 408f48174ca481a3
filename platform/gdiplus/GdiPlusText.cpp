// Font families, fonts, string formats and the layout of text in a rectangle: line breaks,
// alignment, trimming and hotkey prefixes. The backend measures; the rules are here.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"

namespace gdiplus {

namespace detail {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

// Characters between which a line may break without a space: ideographs and kana.
bool IsCjk(char16_t c) { return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF); }

// The text after hotkey processing, with the source index of each character and the places of
// the characters to underline.
struct Prefixed {
    std::u16string text;
    std::vector<int> source;
    std::vector<size_t> underline;
};

Prefixed ApplyHotkeys(const std::u16string& in, HotkeyPrefix mode) {
    Prefixed out;
    for (size_t i = 0; i < in.size(); ++i) {
        char16_t c = in[i];
        if (mode != HotkeyPrefixNone && c == u'&' && i + 1 < in.size()) {
            ++i;  // "&&" is one "&"; "&x" marks x
            if (in[i] != u'&' && mode == HotkeyPrefixShow) out.underline.push_back(out.text.size());
            c = in[i];
        }
        out.text.push_back(c);
        out.source.push_back(static_cast<int>(i));
    }
    return out;
}

struct Line {
    size_t from = 0, to = 0;  // characters of the prefixed text, to exclusive
    size_t next = 0;          // where the next line starts (past the break)
    std::u16string shown;     // trimmed or with an ellipsis
    double width = 0;
    std::vector<double> carets;  // of shown
};

const std::u16string kEllipsis = u"\u2026";

}  // namespace

engine::FontKey KeyOf(const Font& font) {
    engine::FontKey key;
    key.families = font.family.families;
    key.style = font.style;
    key.em = font.size * UnitToPixels(font.unit);
    return key;
}

TextLayout LayOut(const std::u16string& source, const engine::FontKey& font, const GpRectF& rect, const StringFormat& format) {
    engine::Engine& eng = Engine();
    TextLayout out;
    out.metrics = eng.Metrics(font);
    const engine::FontMetricsD& m = out.metrics;
    if (source.empty()) {
        out.box = {rect.X, rect.Y, 0, 0};
        return out;
    }
    double lineHeight = m.lineSpacing > 0 ? m.lineSpacing : m.ascent + m.descent;
    double pad = font.em / 6;  // the space left before and after each line
    bool rtl = format.flags & StringFormatFlagsDirectionRightToLeft;
    bool wrap = rect.Width > 0 && !(format.flags & StringFormatFlagsNoWrap);
    bool trailing = format.flags & StringFormatFlagsMeasureTrailingSpaces;
    double avail = rect.Width > 0 ? std::max(0.0, rect.Width - 2 * pad) : 0;
    Prefixed pre = ApplyHotkeys(source, format.hotkey);
    const std::u16string& text = pre.text;

    // Lines: paragraphs split at CR LF, LF or CR, each broken to the width.
    std::vector<Line> lines;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        size_t after = end;
        if (after < text.size()) after += (text[after] == u'\r' && after + 1 < text.size() && text[after + 1] == u'\n') ? 2 : 1;
        std::u16string para = text.substr(at, end - at);
        std::vector<double> x = eng.CaretPositions(font, para);
        size_t start = 0;
        do {
            Line l;
            size_t stop = para.size();
            if (wrap) {
                // The furthest break at or before the width; a word longer than a line breaks
                // between characters.
                size_t fit = start;
                while (fit < para.size() && (IsSpace(para[fit]) || x[fit + 1] - x[start] <= avail + 1e-6)) ++fit;
                if (fit < para.size()) {
                    size_t brk = fit;
                    while (brk > start && !IsSpace(para[brk - 1]) && !IsSpace(para[brk]) && !IsCjk(para[brk]) && !IsCjk(para[brk - 1]))
                        --brk;
                    stop = brk > start ? brk : std::max(fit, start + 1);
                }
            }
            size_t shownEnd = stop;
            if (!trailing)
                while (shownEnd > start && IsSpace(para[shownEnd - 1])) --shownEnd;
            l.from = at + start;
            l.to = at + shownEnd;
            size_t next = stop;
            while (next < para.size() && IsSpace(para[next]) && wrap) ++next;
            l.next = at + next;
            l.width = x[shownEnd] - x[start];
            lines.push_back(l);
            start = next;
        } while (start < para.size());
        if (lines.back().next == at + para.size()) lines.back().next = after;
        if (end >= text.size()) break;
        at = after;
    }

    // How many lines the rectangle holds: whole ones with LineLimit, else also the one cut by
    // the bottom edge.
    size_t shown = lines.size();
    if (rect.Height > 0) {
        double fits = rect.Height / lineHeight;
        size_t n = (format.flags & StringFormatFlagsLineLimit) ? static_cast<size_t>(std::floor(fits + 1e-6))
                                                               : static_cast<size_t>(std::ceil(fits - 1e-6));
        shown = std::min(shown, n);
    }
    bool cut = shown < lines.size();

    // Each line's text, trimmed where it does not fit.
    for (size_t i = 0; i < shown; ++i) {
        Line& l = lines[i];
        l.shown = text.substr(l.from, l.to - l.from);
        bool tooWide = rect.Width > 0 && l.width > avail + 1e-6;
        bool last = i + 1 == shown && cut;
        StringTrimming trim = format.trimming;
        if ((tooWide || last) && trim != StringTrimmingNone) {
            bool ellipsis = trim >= StringTrimmingEllipsisCharacter;
            std::u16string body = l.shown;
            if (last && !tooWide && ellipsis) body = text.substr(l.from, lines[i + 1].to - l.from);
            std::vector<double> x = eng.CaretPositions(font, body);
            double room = avail - (ellipsis ? eng.CaretPositions(font, kEllipsis).back() : 0);
            size_t keep = 0;
            while (keep < body.size() && x[keep + 1] <= room + 1e-6) ++keep;
            if (trim == StringTrimmingWord || trim == StringTrimmingEllipsisWord) {
                size_t w = keep;
                while (w > 0 && !IsSpace(body[w - 1]) && keep < body.size()) --w;
                if (w > 0) keep = w;
            }
            if (trim == StringTrimmingEllipsisPath && keep < body.size()) {
                // Keeps the end (the last part of a path) and cuts in the middle.
                size_t tail = body.size();
                double tailWidth = 0;
                while (tail > 0 && tailWidth + (x[tail] - x[tail - 1]) <= room / 2) tailWidth += x[tail] - x[tail - 1], --tail;
                size_t head = 0;
                while (head < tail && x[head + 1] <= room - tailWidth + 1e-6) ++head;
                l.shown = body.substr(0, head) + kEllipsis + body.substr(tail);
            } else if (keep < body.size() || (last && !tooWide && ellipsis)) {
                while (keep > 0 && IsSpace(body[keep - 1])) --keep;
                l.shown = body.substr(0, keep) + (ellipsis ? kEllipsis : u"");
                l.to = l.from + std::min(keep, l.to - l.from);
            }
            l.width = eng.CaretPositions(font, l.shown).back();
        }
        l.carets = eng.CaretPositions(font, l.shown);
    }

    // Placement.
    double total = shown * lineHeight;
    double top = rect.Y;
    if (format.lineAlign == StringAlignmentCenter) top = rect.Height > 0 ? rect.Y + (rect.Height - total) / 2 : rect.Y - total / 2;
    if (format.lineAlign == StringAlignmentFar) top = rect.Height > 0 ? rect.Y + rect.Height - total : rect.Y - total;
    StringAlignment align = format.align;
    if (rtl && align != StringAlignmentCenter) align = align == StringAlignmentNear ? StringAlignmentFar : StringAlignmentNear;
    double left = 0, right = 0;
    bool any = false;
    for (size_t i = 0; i < shown; ++i) {
        const Line& l = lines[i];
        double w = l.width + 2 * pad, x;
        if (align == StringAlignmentNear) {
            x = rect.X;
        } else if (align == StringAlignmentCenter) {
            x = rect.Width > 0 ? rect.X + (rect.Width - w) / 2 : rect.X - w / 2;
        } else {
            x = rect.Width > 0 ? rect.X + rect.Width - w : rect.X - w;
        }
        double baseline = top + i * lineHeight + m.ascent;
        engine::TextRun run;
        run.text = String(l.shown);
        run.rightToLeft = rtl;
        run.origin = {x + pad, baseline};
        out.runs.push_back(run);
        for (size_t u : pre.underline) {
            if (u < l.from || u >= l.to) continue;
            size_t k = u - l.from;
            if (k + 1 >= l.carets.size()) continue;
            double a = l.carets[k], b = l.carets[k + 1];
            if (rtl) a = l.width - a, b = l.width - b;
            out.marks.push_back({x + pad + std::min(a, b), x + pad + std::max(a, b), baseline});
        }
        if (!any || x < left) left = x;
        if (!any || x + w > right) right = x + w;
        any = true;
    }
    out.linesFilled = static_cast<int>(shown);
    size_t used = shown == 0 ? 0 : (cut ? lines[shown - 1].next : text.size());
    if (shown > 0 && cut && format.trimming != StringTrimmingNone) used = lines[shown - 1].to;
    out.codepointsFitted = used == 0 ? 0 : (used >= pre.source.size() ? static_cast<int>(source.size()) : pre.source[used]);
    GpRectF box{static_cast<REAL>(any ? left : rect.X), static_cast<REAL>(top), static_cast<REAL>(any ? right - left : 0),
                static_cast<REAL>(total)};
    // The box stays inside a bounded rectangle, as the drawing is clipped to it.
    if (!(format.flags & StringFormatFlagsNoClip)) {
        if (rect.Width > 0) {
            REAL l = std::max(box.X, rect.X), r = std::min(box.X + box.Width, rect.X + rect.Width);
            box.X = l;
            box.Width = std::max<REAL>(0, r - l);
        }
        if (rect.Height > 0) {
            REAL t = std::max(box.Y, rect.Y), b = std::min(box.Y + box.Height, rect.Y + rect.Height);
            box.Y = t;
            box.Height = std::max<REAL>(0, b - t);
        }
    }
    out.box = box;
    return out;
}

}  // namespace detail

using namespace detail;

namespace {

std::unique_ptr<FontFamily> FamilyNamed(const String& name) {
    engine::Engine& eng = Engine();
    std::vector<String> candidates = TFont::SubstituteFamilies(name);
    if (candidates.empty() || !eng.HasFamily(candidates.front())) return nullptr;
    auto f = std::make_unique<FontFamily>();
    f->name = name;
    f->families = std::move(candidates);
    return f;
}

// The generic families: made once, never freed.
Status Generic(const char* platformName, GpFontFamily*& slot, GpFontFamily** family) {
    if (!family) return InvalidParameter;
    if (!slot) {
        std::unique_ptr<FontFamily> f = FamilyNamed(String(platformName));
        if (!f) return FontFamilyNotFound;
        f->name = f->families.front();
        Hand(std::move(f), &slot, true);
    }
    *family = slot;
    return Ok;
}

template <class F>
Status WithFormat(const GpStringFormat* handle, F f) {
    return Call([&] {
        StringFormat* s = Find<StringFormat>(handle);
        if (!s) return InvalidParameter;
        return f(*s);
    });
}

bool ValidAlign(StringAlignment a) { return a >= StringAlignmentNear && a <= StringAlignmentFar; }

}  // namespace

Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection*, GpFontFamily** family) {
    return Call([&] {
        if (!name || !family) return InvalidParameter;
        std::unique_ptr<FontFamily> f = FamilyNamed(String(name));
        if (!f) return FontFamilyNotFound;
        return Hand(std::move(f), family);
    });
}

Status GdipDeleteFontFamily(GpFontFamily* family) {
    return Call([&] { return Unregister(family, Kind::FontFamily) ? Ok : InvalidParameter; });
}

Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone) {
    return Call([&] {
        FontFamily* f = Find<FontFamily>(family);
        if (!f || !clone) return InvalidParameter;
        return Hand(std::make_unique<FontFamily>(*f), clone);
    });
}

Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family) {
    static GpFontFamily* slot = nullptr;
    return Call([&] { return Generic("MS Sans Serif", slot, family); });
}

Status GdipGetGenericFontFamilySerif(GpFontFamily** family) {
    static GpFontFamily* slot = nullptr;
    return Call([&] { return Generic("Times New Roman", slot, family); });
}

Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family) {
    static GpFontFamily* slot = nullptr;
    return Call([&] { return Generic("Courier New", slot, family); });
}

Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, WORD) {
    return Call([&] {
        FontFamily* f = Find<FontFamily>(family);
        if (!f || !name) return InvalidParameter;
        size_t n = std::min<size_t>(f->name.size(), 31);
        std::copy_n(f->name.data(), n, name);
        name[n] = 0;
        return Ok;
    });
}

Status GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, Unit unit, GpFont** font) {
    return Call([&] {
        FontFamily* f = Find<FontFamily>(family);
        if (!f || !font || !(emSize > 0) || !std::isfinite(emSize) || !ValidUnit(unit) || unit == UnitDisplay) return InvalidParameter;
        auto made = std::make_unique<Font>();
        made->family = *f;
        made->size = emSize;
        made->style = style & (FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeout);
        made->unit = unit;
        return Hand(std::move(made), font);
    });
}

Status GdipDeleteFont(GpFont* font) {
    return Call([&] { return Unregister(font, Kind::Font) ? Ok : InvalidParameter; });
}

Status GdipGetFamily(GpFont* font, GpFontFamily** family) {
    return Call([&] {
        Font* f = Find<Font>(font);
        if (!f || !family) return InvalidParameter;
        return Hand(std::make_unique<FontFamily>(f->family), family);
    });
}

Status GdipGetFontSize(GpFont* font, REAL* size) {
    return Call([&] {
        Font* f = Find<Font>(font);
        if (!f || !size) return InvalidParameter;
        *size = static_cast<REAL>(f->size);
        return Ok;
    });
}

Status GdipGetFontStyle(GpFont* font, INT* style) {
    return Call([&] {
        Font* f = Find<Font>(font);
        if (!f || !style) return InvalidParameter;
        *style = f->style;
        return Ok;
    });
}

Status GdipGetFontUnit(GpFont* font, Unit* unit) {
    return Call([&] {
        Font* f = Find<Font>(font);
        if (!f || !unit) return InvalidParameter;
        *unit = f->unit;
        return Ok;
    });
}

Status GdipCreateStringFormat(INT formatAttributes, WORD language, GpStringFormat** format) {
    return Call([&] {
        if (!format) return InvalidParameter;
        auto s = std::make_unique<StringFormat>();
        s->flags = formatAttributes;
        s->language = language;
        return Hand(std::move(s), format);
    });
}

Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone) {
    return WithFormat(format, [&](StringFormat& s) { return clone ? Hand(std::make_unique<StringFormat>(s), clone) : InvalidParameter; });
}

Status GdipDeleteStringFormat(GpStringFormat* format) {
    return Call([&] { return Unregister(format, Kind::StringFormat) ? Ok : InvalidParameter; });
}

Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags) {
    return WithFormat(format, [&](StringFormat& s) {
        s.flags = flags;
        return Ok;
    });
}

Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!flags) return InvalidParameter;
        *flags = s.flags;
        return Ok;
    });
}

Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!ValidAlign(align)) return InvalidParameter;
        s.align = align;
        return Ok;
    });
}

Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!align) return InvalidParameter;
        *align = s.align;
        return Ok;
    });
}

Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!ValidAlign(align)) return InvalidParameter;
        s.lineAlign = align;
        return Ok;
    });
}

Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!align) return InvalidParameter;
        *align = s.lineAlign;
        return Ok;
    });
}

Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
    return WithFormat(format, [&](StringFormat& s) {
        if (trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
        s.trimming = trimming;
        return Ok;
    });
}

Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!trimming) return InvalidParameter;
        *trimming = s.trimming;
        return Ok;
    });
}

Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix) {
    return WithFormat(format, [&](StringFormat& s) {
        if (hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide) return InvalidParameter;
        s.hotkey = static_cast<HotkeyPrefix>(hotkeyPrefix);
        return Ok;
    });
}

Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix) {
    return WithFormat(format, [&](StringFormat& s) {
        if (!hotkeyPrefix) return InvalidParameter;
        *hotkeyPrefix = s.hotkey;
        return Ok;
    });
}

}  // namespace gdiplus
