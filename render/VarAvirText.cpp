// Cell texts: kinds, searching and splitting, the one-line codecs, CSV quoting, the OEM code page,
// numbers, dates, case, URLs, the clipboard's HTML header and pair-encoded Unicode.
#include <algorithm>
#include <string>

#include "platform/rtl/Character.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Grids.h"
#include "render/VarAvir.h"
#include "render/VarAvirImpl.h"

namespace varavir {

bool ReadDigits(std::u16string_view text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    int v = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
    }
    value = v;
    return true;
}

}  // namespace varavir

using namespace varavir;

namespace {

constexpr char16_t CR = u'\r', LF = u'\n';

bool Holds(const String& text, char16_t ch) { return text.find(ch) != String::npos; }
bool Holds(const String& text, const char16_t* sub) { return text.find(sub) != String::npos; }

// Every ch replaced by the text with.
String ReplaceChar(const String& text, char16_t ch, const char16_t* with) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == ch)
            out += with;
        else
            out.push_back(c);
    }
    return out;
}

String ReplaceText(const String& text, const char16_t* sub, const char16_t* with) {
    return StringReplace(text, sub, with, TReplaceFlags() << rfReplaceAll);
}

}  // namespace

// ---- Kinds and tests ----------------------------------------------------------------------------

int CellTextKind(const String& text, bool allowHtml) {
    const String s = text + u" ";
    if (s.Length() < 2) return 0;
    if (s[0] == u'=') return 3;
    if (s.starts_with(u"|\\")) return s.Length() >= 5 && s[3] == u'=' && s[4] == 0 ? 3 : 5;
    if (s.starts_with(u"{\\")) return 2;
    if (allowHtml) return Holds(s, u"</") || Holds(s, u"<B") || Holds(s, u"<I") || Holds(s, u"<C") ? 1 : 0;
    return 0;
}

bool ContainsUrl(const String& text) { return Holds(text, u"://") || Holds(text, u"mailto:"); }

bool LooksLikeDate(const String& text) {
    const char16_t separator = FormatSettings.DateSeparator;
    const size_t first = text.find(separator);
    if (first == String::npos || first < 1) return false;
    const size_t next = text.find(separator, first + 1);
    return next != String::npos && next >= first + 2;
}

bool IsNumberChar(char16_t ch) { return IsNumber(ch); }

bool CellInGridRect(const TGridRect& rect, int col, int row) { return PointInGridRect(col, row, rect); }

int ClampToLimits(int value, int min, int max) {
    if (min == max) return value;
    if (min > 0 && value < min) value = min;
    if (max > 0 && value > max) value = max;
    return value;
}

bool ParseRowColRef(const String& text, TPoint& point) {
    const String s = AnsiUpperCase(text);
    if (s.Length() < 4 || s[0] != u'R') return false;
    const size_t c = s.find(u'C', 1);
    if (c == String::npos) return false;
    int row = 0, col = 0;
    if (!TryStrToInt(s.substr(1, c - 1), row) || !TryStrToInt(s.substr(c + 1), col)) return false;
    point = TPoint(col, row);
    return true;
}

// ---- Searching and splitting --------------------------------------------------------------------

int FindSubstring(const String& sub, const String& text, int& pos) { return pos = Pos(sub, text); }
int PosInUpperText(const String& sub, const String& text) { return Pos(sub, AnsiUpperCase(text)); }

int FindChar(char16_t ch, const String& text, int& pos) {
    const int found = CharPos(ch, text);
    if (found > 0) pos = found;
    return found;
}

int CharPos(char16_t ch, const String& text) {
    const size_t p = text.find(ch);
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

int WidePos(const String& sub, const String& text) { return Pos(sub, text); }

String ExtractToken(String& text, const String& separator) {
    const size_t p = separator.empty() ? String::npos : text.find(separator);
    if (p == String::npos) return String();
    String token = text.substr(0, p);
    text.erase(0, p + separator.size());
    return token;
}

String ExtractFirstLine(String& text, bool keepRest) {
    const size_t p = text.find(CR);
    if (p == String::npos) {
        String all = std::move(text);
        text.clear();
        return all;
    }
    String line = text.substr(0, p);
    if (keepRest) {
        size_t rest = p + 1;
        if (rest < text.size() && text[rest] == LF) ++rest;
        text.erase(0, rest);
    } else {
        text.clear();
    }
    return line;
}

int CountTextLines(const String& text, bool multiLine) {
    return multiLine ? 1 + CountChar(CR, text) : 1;
}

String ConcatStrings(TStrings* strings) {
    String out;
    if (!strings) return out;
    for (int i = 0; i < strings->Count(); ++i) out += strings->Strings(i);
    return out;
}

int CountChar(char16_t ch, const String& text) { return static_cast<int>(std::count(text.begin(), text.end(), ch)); }

void FillWithChar(String& text, char16_t ch) { std::fill(text.begin(), text.end(), ch); }

// ---- Line-break codecs --------------------------------------------------------------------------

String EncodeLineBreaks(const String& text) {
    if (!Holds(text, CR)) return text;
    String out(text);
    for (char16_t& c : out) {
        if (c == CR)
            c = 9;
        else if (c == LF)
            c = 8;
        else if (c == 0)
            c = 1;
    }
    return out;
}

String DecodeLineBreaks(const String& text, bool wholeText) {
    if (!Holds(text, u'\b')) return text;
    String out(text);
    for (char16_t& c : out) {
        if (c == 9)
            c = CR;
        else if (c == 8)
            c = LF;
        else if (c == 1)
            c = 0;
    }
    return wholeText ? out : ExtractFirstLine(out, false);
}

String UnescapeLineBreaks(const String& text) { return ReplaceText(text, u"\\n", u"\r"); }

String EscapeLineBreaks(const String& text) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == CR)
            out += u"\\n";
        else if (c != LF)
            out.push_back(c);
    }
    return out;
}

void QuoteMultiLineText(String& text) { text = u"\"" + ReplaceText(text, u"\r\n", u"\v") + u"\""; }

void LineTabsToCrLf(String& text) {
    if (Holds(text, u'\v')) text = ReplaceChar(text, u'\v', u"\r\n");
}

void CrLfToLf(String& text) { text = ReplaceText(text, u"\r\n", u"\n"); }

void LineBreaksToTilde(String& text) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == CR)
            out.push_back(u'~');
        else if (c != LF)
            out.push_back(c);
    }
    text = std::move(out);
}

void TildeToLineBreaks(String& text) {
    if (text == u"^")
        text.clear();
    else
        text = ReplaceChar(text, u'~', u"\r\n");
}

String RemoveCR(const String& text) { return ReplaceChar(text, CR, u""); }
String CrToLf(const String& text) { return ReplaceChar(text, CR, u"\n"); }

String CrToHtmlBreaks(const String& text) { return Holds(text, CR) ? ReplaceChar(text, CR, u"<br>") : text; }

// ---- CSV and code pages -------------------------------------------------------------------------

String DoubleQuoteChars(const String& text) { return ReplaceChar(text, u'"', u"\"\""); }

String UndoubleChar(char16_t ch, const String& text) {
    if (!Holds(text, ch)) return text;
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == ch && i + 1 < text.size() && text[i + 1] == ch) ++i;
    }
    return out;
}

int FindClosingQuote(char16_t quote, const String& text, int& pos) {
    pos = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != quote) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] == quote) ++end;
        if (end == text.size()) return pos = text.Length();
        // A run of odd length closes at its last quote; an even run is escaped quotes.
        if ((end - i) % 2 == 1) return pos = static_cast<int>(end);
        i = end;
    }
    return pos;
}

int CountClosingQuotes(char16_t quote, const String& text) {
    int count = 0;
    String rest = text;
    int pos = 0;
    while (FindClosingQuote(quote, rest, pos) > 0) {
        ++count;
        rest.erase(0, static_cast<size_t>(pos));
    }
    return count;
}

void StringToOem(String& text) {
    const std::string bytes = Utf16ToCp932(text);
    String out;
    out.reserve(bytes.size());
    for (char b : bytes) out.push_back(static_cast<unsigned char>(b));
    text = std::move(out);
}

void OemToString(String& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) bytes.push_back(static_cast<char>(c & 0xFF));
    text = Cp932ToUtf16(bytes);
}

// ---- Numbers ------------------------------------------------------------------------------------

String NormalizeNumberText(const String& text) {
    if (text.empty()) return String();
    const char16_t decimal = FormatSettings.DecimalSeparator, thousand = FormatSettings.ThousandSeparator;
    const String s = Trim(text);
    bool negative = s.size() >= 2 && s.front() == u'(' && s.back() == u')';
    size_t i = 0;
    auto starts = [&](char16_t c) { return IsNumberChar(c) || c == thousand || c == decimal || c == u'e' || c == u'E'; };
    while (s.size() - i >= 2 && !starts(s[i])) {
        if (s[i] == u'-') negative = true;
        ++i;
    }
    String out;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == thousand) continue;
        if (c == decimal)
            out.push_back(u'.');
        else if (IsNumberChar(c) || c == u',' || c == u'-' || c == u'.' || c == u'e' || c == u'E' || c == u'+')
            out.push_back(c);
        else
            break;
    }
    return negative ? u"-" + out : out;
}

int ClassifyNumberText(const String& text) {
    if (text.empty()) return 2;
    const char16_t decimal = FormatSettings.DecimalSeparator, thousand = FormatSettings.ThousandSeparator;
    bool integer = true;
    for (size_t i = 0; i < text.size() && integer; ++i)
        integer = text[i] == u'-' ? i == 0 : IsNumberChar(text[i]);
    if (integer) return 0;

    const int minus = CountChar(u'-', text), decimals = CountChar(decimal, text);
    const int exponents = CountChar(u'e', text) + CountChar(u'E', text);
    bool isDecimal = exponents == 0;
    size_t lastThousand = String::npos;
    for (size_t i = 0; i < text.size() && isDecimal; ++i) {
        const char16_t c = text[i];
        if (IsNumberChar(c) || (c == u'-' && i == 0) || c == decimal) continue;
        if (c != thousand) {
            isDecimal = false;
        } else {
            if (lastThousand != String::npos && i - lastThousand <= 3) isDecimal = false;
            lastThousand = i;
        }
    }
    int kind = isDecimal ? 1 : 2;
    if (!isDecimal && exponents == 1 && text[0] != u'e' && text[0] != u'E' && !Holds(text, thousand)) {
        const bool allowed = std::all_of(text.begin(), text.end(), [&](char16_t c) {
            return IsNumberChar(c) || c == decimal || c == u'e' || c == u'E' || c == u'+' || c == u'-';
        });
        const char16_t last = text.back();
        if (allowed && last != u'+' && last != u'-' && last != u'e' && last != u'E') kind = 5;
    }
    if (minus > (kind == 5 ? 2 : 1) || decimals > 1) return 2;
    return kind;
}

// ---- Dates --------------------------------------------------------------------------------------

namespace {

// month / day / year or day / month / year with "/", "." or "-" between them.
TDateTime ParseDateOrdered(const String& text, bool monthFirst) {
    const char16_t separator = Holds(text, u'/') ? u'/' : Holds(text, u'.') ? u'.' : u'-';
    const size_t first = text.find(separator);
    if (first == String::npos) return 0;
    const size_t second = text.find(separator, first + 1);
    if (second == String::npos) return 0;
    const std::u16string_view s(text);
    int a = 0, b = 0, year = 0;
    const std::u16string_view yearText = s.substr(second + 1);
    if (!ReadDigits(s.substr(0, first), a) || !ReadDigits(s.substr(first + 1, second - first - 1), b) ||
        !ReadDigits(yearText, year))
        return 0;
    // Two digits name a year of this or the last century; a longer year is taken as written.
    if (yearText.size() <= 2) year += year < 26 ? 2000 : 1900;
    return monthFirst ? EncodeDate(year, a, b) : EncodeDate(year, b, a);
}

}  // namespace

TDateTime ParseDateMDY(const String& text) { return ParseDateOrdered(text, true); }
TDateTime ParseDateDMY(const String& text) { return ParseDateOrdered(text, false); }

TDateTime IncDateParts(int years, int months, int days, TDateTime date, TDateTime delta) {
    if (days != 0 && years == 0 && months == 0) return date + days;
    const bool onlyYears = years != 0 && months == 0 && days == 0;
    const bool onlyMonths = months != 0 && years == 0 && days == 0;
    if (!onlyYears && !onlyMonths) return date + delta;
    WORD y = 0, m = 0, d = 0;
    DecodeDate(date, y, m, d);
    int64_t year = y, month = m;
    if (onlyYears) {
        year += years;
    } else {
        month += months;
        if (month == 0) {
            month = 12;
            --year;
        } else if (month >= 13 && month <= 24) {
            month -= 12;
            ++year;
        }
    }
    // Out-of-range parts are held just outside the valid range, where EncodeDate refuses them.
    return EncodeDate(static_cast<int>(std::clamp<int64_t>(year, 0, 10000)),
                      static_cast<int>(std::clamp<int64_t>(month, 0, 13)), d);
}

// ---- Case, URLs, clipboard, pair encoding -------------------------------------------------------

String CapitalizeWords(const String& text) {
    String out(text);
    const size_t n = out.size();
    bool wordStart = true;
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = out[i];
        out[i] = wordStart ? AnsiUpperChar(c) : AnsiLowerChar(c);
        wordStart = c == u' ' || c == u'\'' || c == u',' || c == u'-' || c == u'.';
        const std::u16string_view done(out.data(), i + 1);
        if (done == u"Mc") wordStart = true;
        // The "c" of the first " Mc" (but not one at the very start).
        const size_t mc = done.find(u" Mc");
        if (mc != std::u16string_view::npos && mc > 0 && i == mc + 2) wordStart = true;
        // Roman numerals II and III closing the text.
        if (i + 3 >= n && (done.ends_with(u" I") || done.ends_with(u" II"))) wordStart = true;
    }
    return out;
}

void StripUrlPrefix(String& text) {
    size_t p = text.find(u"://");
    if (p != String::npos) {
        text.erase(0, p + 3);
        return;
    }
    p = text.find(u"mailto:");
    if (p != String::npos) text.erase(0, p + 7);
}

bool InsertUrlAnchor(const String& text, const String& prefix, String& html) {
    if (prefix.empty() || !Holds(AnsiUpperCase(text), prefix.c_str())) return false;
    const String s = ReplaceChar(ReplaceChar(text, u'<', u"&lt;"), u'>', u"&gt;");
    const size_t start = AnsiUpperCase(s).find(prefix);
    if (start == String::npos) return false;
    auto inUrl = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               std::u16string_view(u"%()-./:@\\_{}").find(c) != std::u16string_view::npos;
    };
    size_t end = start;
    while (end < s.size() && inUrl(s[end])) ++end;
    const String url(s.substr(start, end - start));
    html = String(s.substr(0, start)) + u"<a href=\"" + url + u"\">" + url + u"</a>" + String(s.substr(end));
    return true;
}

void BuildHtmlClipboardText(String& html) {
    static const String kDocType = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    static const String kOpen =
        u"<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
        u"<body><!--StartFragment-->";
    static const String kClose = u"<!--EndFragment--></body></html>";
    const int64_t n = html.Length();
    auto line = [](const char* label, int64_t value) {
        return Format(u"%s%.8d", {String(label), static_cast<long long>(value)}) + u"\r\n";
    };
    // The offsets count the header itself; it is 97 characters while every offset fits 8 digits.
    int64_t headerLength = 97;
    String header;
    for (;;) {
        const int64_t startFragment = headerLength + kDocType.Length() + kOpen.Length();
        header = u"Version:1.0\r\n" + line("StartHTML:", headerLength) +
                 line("EndHTML:", startFragment + n + kClose.Length()) + line("StartFragment:", startFragment) +
                 line("EndFragment:", startFragment + n);
        if (header.Length() == headerLength) break;
        headerLength = header.Length();
    }
    html = header + kDocType + kOpen + html + kClose;
}

String EncodeUnicodeText(const String& text) {
    String out(u"|\\");
    out.reserve(2 + 2 * text.size());
    for (char16_t c : text) {
        out.push_back(static_cast<char16_t>(c >> 8));
        out.push_back(static_cast<char16_t>(c & 0xFF));
    }
    return out;
}

String DecodeUnicodeText(const String& text) {
    if (!text.starts_with(u"|\\")) return text;
    String out;
    out.reserve((text.size() - 2) / 2);
    for (size_t i = 2; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<char16_t>(((text[i] & 0xFF) << 8) | (text[i + 1] & 0xFF)));
    return out;
}
