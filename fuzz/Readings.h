// Second readings of numbers, dates and times, written from the rules the parsers state (SysUtils.h,
// DateUtils.h) rather than from their code: the checking targets compare the library's answer with
// these. Numbers go through strtod in the C locale; dates and times are split into tokens first
// and then matched against the grammar, where the library scans characters.
#pragma once

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/String.h"
#include "platform/rtl/SysUtils.h"

namespace fuzz {

// ---- numbers ----

// [blanks] [sign] digits [separator digits] [e|E [sign] digits] [blanks], with a digit on at least one
// side of the separator; blanks are the characters up to U+0020. The text as strtod takes it, or
// nothing when the text is outside the grammar.
inline std::optional<std::string> FloatGrammar(const String& s, char16_t separator) {
    size_t i = 0, end = s.size();
    while (i < end && s[i] <= u' ') ++i;
    while (end > i && s[end - 1] <= u' ') --end;
    auto digit = [&](size_t k) { return k < end && s[k] >= u'0' && s[k] <= u'9'; };
    std::string out;
    if (i < end && (s[i] == u'+' || s[i] == u'-')) out += static_cast<char>(s[i++]);
    size_t mantissa = 0;
    for (; digit(i); ++i, ++mantissa) out += static_cast<char>(s[i]);
    if (i < end && s[i] == separator) {
        out += '.';
        for (++i; digit(i); ++i, ++mantissa) out += static_cast<char>(s[i]);
    }
    if (mantissa == 0) return std::nullopt;
    if (i < end && (s[i] == u'e' || s[i] == u'E')) {
        out += 'e';
        ++i;
        if (i < end && (s[i] == u'+' || s[i] == u'-')) out += static_cast<char>(s[i++]);
        size_t exponent = 0;
        for (; digit(i); ++i, ++exponent) out += static_cast<char>(s[i]);
        if (exponent == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;
    return out;
}

// strtod's reading in the C locale: refused only when it overflows (an underflow is its nearest
// value, zero or subnormal).
inline std::optional<double> StrtodReading(const std::string& text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    errno = 0;
    char* stop = nullptr;
    double v = strtod_l(text.c_str(), &stop, c);
    if (stop != text.c_str() + text.size()) std::abort();  // the grammar let through what strtod stops at
    if (errno == ERANGE && std::isinf(v)) return std::nullopt;
    return v;
}

// The same value, zeros by their sign as well.
inline bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// ---- dates and times ----

struct DateToken {
    enum Kind { Number, Blanks, Symbol, AmPm } kind;
    int value = 0;      // Number: its value (held once past four digits); AmPm: 1 AM, 2 PM
    int digits = 0;     // Number
    char16_t symbol = 0;
};

// Case is ignored in ASCII letters only, as in the library's words.
inline bool SameLetters(const String& s, size_t at, const String& word) {
    if (word.empty() || at + word.size() > s.size()) return false;
    auto up = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
    for (size_t k = 0; k < word.size(); ++k)
        if (up(s[at + k]) != up(word[k])) return false;
    return true;
}

inline std::vector<DateToken> DateTokens(const String& s, const TFormatSettings& fs) {
    std::vector<DateToken> out;
    // The settings' words and the English ones; the longest that matches is the token.
    const std::pair<const String*, int> words[] = {{&fs.TimeAMString, 1}, {&fs.TimePMString, 2}};
    static const String am = u"AM", pm = u"PM";
    for (size_t i = 0; i < s.size();) {
        if (s[i] == u' ') {
            while (i < s.size() && s[i] == u' ') ++i;
            out.push_back({DateToken::Blanks});
            continue;
        }
        if (s[i] >= u'0' && s[i] <= u'9') {
            DateToken t{DateToken::Number};
            for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i, ++t.digits)
                if (t.digits < 5) t.value = t.value * 10 + (s[i] - u'0');
            out.push_back(t);
            continue;
        }
        size_t best = 0;
        int kind = 0;
        for (auto [word, k] : words)
            if (SameLetters(s, i, *word) && word->size() > best) best = word->size(), kind = k;
        for (auto [word, k] : {std::pair{&am, 1}, std::pair{&pm, 2}})
            if (SameLetters(s, i, *word) && word->size() > best) best = word->size(), kind = k;
        if (best) {
            DateToken t{DateToken::AmPm};
            t.value = kind;
            out.push_back(t);
            i += best;
            continue;
        }
        DateToken t{DateToken::Symbol};
        t.symbol = s[i++];
        out.push_back(t);
    }
    return out;
}

// Which of year, month and day ShortDateFormat names first (quoted text aside); month when none.
inline char DateOrderOf(const String& format) {
    char16_t quote = 0;
    for (char16_t c : format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'y' || c == u'Y' || c == u'm' || c == u'M' || c == u'd' || c == u'D') {
            return static_cast<char>(c | 0x20);
        }
    }
    return 'm';
}

class DateReading {
public:
    DateReading(const String& s, const TFormatSettings& fs) : FFs(fs), FT(DateTokens(s, fs)) {}

    std::optional<TDateTime> Date() {
        FAt = 0;
        auto d = ReadDate();
        return d && AtEnd() ? d : std::nullopt;
    }
    std::optional<TDateTime> Time() {
        FAt = 0;
        auto t = ReadTime();
        return t && AtEnd() ? t : std::nullopt;
    }
    // A date and then a time, a date, or a time. A date that reads is kept: what follows it must
    // be a time.
    std::optional<TDateTime> DateTime() {
        FAt = 0;
        if (auto d = ReadDate()) {
            if (AtEnd()) return d;
            auto t = ReadTime();
            if (!t || !AtEnd()) return std::nullopt;
            return ComposeDateTime(*d, *t);
        }
        FAt = 0;
        auto t = ReadTime();
        return t && AtEnd() ? t : std::nullopt;
    }

private:
    bool Is(DateToken::Kind k) const { return FAt < FT.size() && FT[FAt].kind == k; }
    void SkipBlanks() {
        while (Is(DateToken::Blanks)) ++FAt;
    }
    bool AtEnd() {
        SkipBlanks();
        return FAt == FT.size();
    }
    // One to four digits.
    bool Number(int& value, int& digits) {
        SkipBlanks();
        if (!Is(DateToken::Number) || FT[FAt].digits > 4) return false;
        value = FT[FAt].value;
        digits = FT[FAt].digits;
        ++FAt;
        return true;
    }
    // A blank separator is one or more blanks.
    bool Separator(char16_t c) {
        if (c == u' ') {
            if (!Is(DateToken::Blanks)) return false;
            ++FAt;
            return true;
        }
        SkipBlanks();
        if (!Is(DateToken::Symbol) || FT[FAt].symbol != c) return false;
        ++FAt;
        return true;
    }
    int AmPm() {
        SkipBlanks();
        if (!Is(DateToken::AmPm)) return 0;
        return FT[FAt++].value;
    }

    std::optional<TDateTime> ReadDate() {
        int n[3] = {0, 0, 0}, len[3] = {0, 0, 0};
        if (!Number(n[0], len[0]) || !Separator(FFs.DateSeparator) || !Number(n[1], len[1])) return std::nullopt;
        size_t afterTwo = FAt;
        bool three = Separator(FFs.DateSeparator);
        if (three && !Number(n[2], len[2])) return std::nullopt;
        if (!three) FAt = afterTwo;
        const int now = YearOf(Now());
        int y, m, d, yearDigits = 4;
        const char order = DateOrderOf(FFs.ShortDateFormat);
        if (!three) {
            y = now;
            m = order == 'd' ? n[1] : n[0];
            d = order == 'd' ? n[0] : n[1];
        } else if (order == 'y') {
            y = n[0], yearDigits = len[0], m = n[1], d = n[2];
        } else if (order == 'm') {
            m = n[0], d = n[1], y = n[2], yearDigits = len[2];
        } else {
            d = n[0], m = n[1], y = n[2], yearDigits = len[2];
        }
        if (yearDigits <= 2) {
            // The year of those last digits within the window: the TwoDigitYearCenturyWindow
            // years before this one and the rest of the hundred after; the current century at 0.
            const int window = FFs.TwoDigitYearCenturyWindow;
            const int first = window > 0 ? now - window : now / 100 * 100;
            y = first + ((y - first) % 100 + 100) % 100;
        }
        TDateTime v;
        if (!TryEncodeDate(y, m, d, v)) return std::nullopt;
        return v;
    }

    std::optional<TDateTime> ReadTime() {
        int ampm = AmPm();
        int h, mi = 0, se = 0, ms = 0, len;
        if (!Number(h, len)) return std::nullopt;
        if (Separator(FFs.TimeSeparator)) {
            if (!Number(mi, len)) return std::nullopt;
            if (Separator(FFs.TimeSeparator)) {
                if (!Number(se, len)) return std::nullopt;
                if (Separator(FFs.DecimalSeparator) && !Number(ms, len)) return std::nullopt;
            }
        }
        if (ampm == 0) ampm = AmPm();
        if (ampm) {
            if (h < 1 || h > 12) return std::nullopt;
            h = h % 12 + (ampm == 2 ? 12 : 0);
        }
        TDateTime v;
        if (!TryEncodeTime(h, mi, se, ms, v)) return std::nullopt;
        return v;
    }

    const TFormatSettings& FFs;
    std::vector<DateToken> FT;
    size_t FAt = 0;
};

// The library's date, time and date-time readings of text against the second reading; aborts on
// any difference.
inline void CheckDateReadings(const String& text, const TFormatSettings& fs) {
    DateReading second(text, fs);
    TDateTime v = 0;
    bool ok = TryStrToDate(text, v, fs);
    auto r = second.Date();
    if (ok != r.has_value() || (ok && v != *r)) std::abort();
    ok = TryStrToTime(text, v, fs);
    r = second.Time();
    if (ok != r.has_value() || (ok && v != *r)) std::abort();
    ok = TryStrToDateTime(text, v, fs);
    r = second.DateTime();
    if (ok != r.has_value() || (ok && v != *r)) std::abort();
}

// The library's number reading against strtod's on the grammar; aborts on any difference.
inline void CheckFloatReading(const String& text, const TFormatSettings& fs) {
    double v = 0;
    const bool ok = TryStrToFloat(text, v, fs);
    std::optional<double> expected;
    if (auto ascii = FloatGrammar(text, fs.DecimalSeparator)) expected = StrtodReading(*ascii);
    if (ok != expected.has_value() || (ok && !SameDouble(v, *expected))) std::abort();
    // StrToFloat raises exactly where TryStrToFloat refuses.
    bool raised = false;
    try {
        double w = StrToFloat(text, fs);
        if (!SameDouble(w, v)) std::abort();
    } catch (const EConvertError&) {
        raised = true;
    }
    if (raised == ok) std::abort();
}

}  // namespace fuzz
