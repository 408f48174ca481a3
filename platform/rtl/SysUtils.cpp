#include "platform/rtl/SysUtils.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

String Ascii(const std::string& s) { return String(std::u16string(s.begin(), s.end())); }

template <class T>
String Decimal(T value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return Ascii(std::string(buf, res.ptr));
}

String Hex(uint64_t bits, int digits) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, bits, 16);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    if (digits > 32) digits = 32;
    if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
    return Ascii(s);
}

// The original's integer scanner: leading blanks, a sign, then decimal digits or hex digits after
// "$", "x" or "0x". Hex may use every bit of the width (wrapping to a negative value); decimal must
// fit the signed range. Nothing may follow the digits.
bool ParseInteger(const String& s, int bits, int64_t& out) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == u' ') ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    bool hex = false;
    if (i < n && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    const uint64_t mask = bits == 64 ? UINT64_MAX : 0xFFFFFFFFull;
    uint64_t value = 0;
    for (; i < n; ++i) {
        char16_t c = s[i];
        unsigned digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return false;
        if (hex) {
            if (value > (mask >> 4)) return false;
            value = (value << 4) | digit;
        } else {
            // Magnitude limit: 2^(bits-1) for a negative value, one less for a positive one.
            uint64_t limit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
            if (value > (limit - digit) / 10) return false;
            value = value * 10 + digit;
        }
    }
    if (negative) value = (0 - value) & mask;
    if (bits == 32) out = static_cast<int32_t>(static_cast<uint32_t>(value));
    else out = static_cast<int64_t>(value);
    return true;
}

[[noreturn]] void NotInteger(const String& s) {
    throw EConvertError(u"'" + s + u"' is not a valid integer value");
}

char16_t MapCase(char16_t c, bool upper) {
    if (c < 0x80) {
        if (upper && c >= u'a' && c <= u'z') return c - 32;
        if (!upper && c >= u'A' && c <= u'Z') return c + 32;
        return c;
    }
    // Latin-1: U+00C0..U+00DE <-> U+00E0..U+00FE except the multiplication and division signs.
    if (c >= 0xC0 && c <= 0xFE && c != 0xD7 && c != 0xF7) {
        if (upper && c >= 0xE0) return c - 32;
        if (!upper && c <= 0xDE) return c + 32;
        return c;
    }
    if (c == 0xFF) return upper ? char16_t(0x178) : c;
    if (c == 0x178) return upper ? c : char16_t(0xFF);
    // Latin Extended-A: pairs of capital and small letters.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        bool isUpper = (c & 1) == 0;
        if (upper && !isUpper) return c - 1;
        if (!upper && isUpper) return c + 1;
        return c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        bool isUpper = (c & 1) == 1;
        if (upper && !isUpper) return c - 1;
        if (!upper && isUpper) return c + 1;
        return c;
    }
    // Greek.
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return upper ? c : char16_t(c + 32);
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return upper ? char16_t(c - 32) : c;
    // Cyrillic.
    if (c >= 0x410 && c <= 0x42F) return upper ? c : char16_t(c + 32);
    if (c >= 0x430 && c <= 0x44F) return upper ? char16_t(c - 32) : c;
    if (c >= 0x400 && c <= 0x40F) return upper ? c : char16_t(c + 80);
    if (c >= 0x450 && c <= 0x45F) return upper ? char16_t(c - 80) : c;
    // Full-width Latin letters.
    if (c >= 0xFF21 && c <= 0xFF3A) return upper ? c : char16_t(c + 32);
    if (c >= 0xFF41 && c <= 0xFF5A) return upper ? char16_t(c - 32) : c;
    return c;
}

int CompareUnits(const String& a, const String& b, char16_t (*fold)(char16_t)) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = fold(a[i]), cb = fold(b[i]);
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

char16_t Same(char16_t c) { return c; }
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

int Position(const String& sub, const String& s, size_t from) {
    if (sub.empty()) return 0;
    size_t p = s.find(sub, from);
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

}  // namespace

// ---- Integers ----

String IntToStr(int value) { return Decimal(value); }
String IntToStr(unsigned value) { return Decimal(value); }
String IntToStr(long value) { return Decimal(value); }
String IntToStr(unsigned long value) { return Decimal(value); }
String IntToStr(long long value) { return Decimal(value); }
String IntToStr(unsigned long long value) { return Decimal(value); }
String UIntToStr(uint64_t value) { return Decimal(value); }

String IntToHex(int value, int digits) { return Hex(static_cast<uint32_t>(value), digits); }
String IntToHex(unsigned value, int digits) { return Hex(value, digits); }
String IntToHex(long value, int digits) { return Hex(static_cast<uint64_t>(value), digits); }
String IntToHex(unsigned long value, int digits) { return Hex(value, digits); }
String IntToHex(long long value, int digits) { return Hex(static_cast<uint64_t>(value), digits); }
String IntToHex(unsigned long long value, int digits) { return Hex(value, digits); }

bool TryStrToInt(const String& s, int32_t& value) {
    int64_t v;
    if (!ParseInteger(s, 32, v)) return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t StrToInt(const String& s) {
    int32_t v;
    if (!TryStrToInt(s, v)) NotInteger(s);
    return v;
}

int32_t StrToIntDef(const String& s, int32_t defaultValue) {
    int32_t v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

bool TryStrToInt64(const String& s, int64_t& value) { return ParseInteger(s, 64, value); }

int64_t StrToInt64(const String& s) {
    int64_t v;
    if (!ParseInteger(s, 64, v)) NotInteger(s);
    return v;
}

int64_t StrToInt64Def(const String& s, int64_t defaultValue) {
    int64_t v;
    return ParseInteger(s, 64, v) ? v : defaultValue;
}

// ---- Floating point ----

namespace {
constexpr int64_t kExponentCap = int64_t{1} << 50;
}  // namespace

bool TryStrToFloat(const String& s, double& value, const TFormatSettings& fs) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] <= u' ') ++i;
    while (n > i && s[n - 1] <= u' ') --n;
    // Rebuilt as plain ASCII with a '.' for the locale-independent from_chars.
    std::string text;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-') text.push_back('-');
        ++i;
    }
    // The power of ten of the first significant digit, before the exponent: what tells an
    // overflow from an underflow below. Zeros before it add no magnitude, and zeros right after
    // the point take it away.
    int64_t magnitude = 0;
    int mantissaDigits = 0;
    bool point = false, significant = false;
    for (; i < n; ++i) {
        char16_t c = s[i];
        if (c >= u'0' && c <= u'9') {
            text.push_back(static_cast<char>(c));
            ++mantissaDigits;
            significant = significant || c != u'0';
            if (!point && significant) ++magnitude;
            else if (point && !significant) --magnitude;
        } else if (c == fs.DecimalSeparator && !point) {
            text.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    int64_t exponent = 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        text.push_back('e');
        ++i;
        bool negExp = false;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) {
            negExp = s[i] == u'-';
            text.push_back(static_cast<char>(s[i]));
            ++i;
        }
        int expDigits = 0;
        for (; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i, ++expDigits) {
            text.push_back(static_cast<char>(s[i]));
            // Held far beyond any count of digits the text can have, so the sum below keeps its sign.
            if (exponent < kExponentCap) exponent = exponent * 10 + (s[i] - u'0');
        }
        if (expDigits == 0) return false;
        if (negExp) exponent = -exponent;
    }
    if (i != n) return false;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large is not a value.
        if (magnitude + exponent > 0) return false;
        v = text[0] == '-' ? -0.0 : 0.0;
    } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return false;
    }
    value = v;
    return true;
}

bool TryStrToFloat(const String& s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

double StrToFloat(const String& s, const TFormatSettings& fs) {
    double v;
    if (!TryStrToFloat(s, v, fs)) throw EConvertError(u"'" + s + u"' is not a valid floating point value");
    return v;
}

double StrToFloat(const String& s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(const String& s, double defaultValue, const TFormatSettings& fs) {
    double v;
    return TryStrToFloat(s, v, fs) ? v : defaultValue;
}

double StrToFloatDef(const String& s, double defaultValue) { return StrToFloatDef(s, defaultValue, FormatSettings); }

// ---- Booleans ----

String BoolToStr(bool value, bool useBoolStrs) {
    if (useBoolStrs) return value ? u"True" : u"False";
    return value ? u"-1" : u"0";
}

bool TryStrToBool(const String& s, bool& value) {
    if (SameText(s, u"True")) {
        value = true;
        return true;
    }
    if (SameText(s, u"False")) {
        value = false;
        return true;
    }
    double d;
    if (TryStrToFloat(s, d)) {
        value = d != 0;
        return true;
    }
    return false;
}

bool StrToBool(const String& s) {
    bool v;
    if (!TryStrToBool(s, v)) throw EConvertError(u"'" + s + u"' is not a valid boolean value");
    return v;
}

bool StrToBoolDef(const String& s, bool defaultValue) {
    bool v;
    return TryStrToBool(s, v) ? v : defaultValue;
}

// ---- Strings ----

String Trim(const String& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ') ++b;
    while (e > b && s[e - 1] <= u' ') --e;
    return String(s.substr(b, e - b));
}

String TrimLeft(const String& s) {
    size_t b = 0;
    while (b < s.size() && s[b] <= u' ') ++b;
    return String(s.substr(b));
}

String TrimRight(const String& s) {
    size_t e = s.size();
    while (e > 0 && s[e - 1] <= u' ') --e;
    return String(s.substr(0, e));
}

String UpperCase(const String& s) {
    String r(s);
    for (char16_t& c : r) c = AsciiUpper(c);
    return r;
}

String LowerCase(const String& s) {
    String r(s);
    for (char16_t& c : r)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return r;
}

char16_t AnsiUpperChar(char16_t c) { return MapCase(c, true); }
char16_t AnsiLowerChar(char16_t c) { return MapCase(c, false); }

String AnsiUpperCase(const String& s) {
    String r(s);
    for (char16_t& c : r) c = MapCase(c, true);
    return r;
}

String AnsiLowerCase(const String& s) {
    String r(s);
    for (char16_t& c : r) c = MapCase(c, false);
    return r;
}

int CompareStr(const String& a, const String& b) { return CompareUnits(a, b, Same); }
int CompareText(const String& a, const String& b) { return CompareUnits(a, b, AsciiUpper); }
bool SameStr(const String& a, const String& b) { return a == b; }
bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int AnsiCompareText(const String& a, const String& b) { return CompareUnits(a, b, AnsiLowerChar); }

int AnsiCompareStr(const String& a, const String& b) {
    int folded = AnsiCompareText(a, b);
    if (folded != 0) return folded;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        bool aLower = AnsiLowerChar(a[i]) == a[i];
        return aLower ? -1 : 1;
    }
    return 0;
}

bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(const String& a, const String& b) { return a == b; }

int Pos(const String& sub, const String& s) { return Position(sub, s, 0); }
int AnsiPos(const String& sub, const String& s) { return Position(sub, s, 0); }

int PosEx(const String& sub, const String& s, int offset) {
    if (offset < 1 || offset > s.Length()) return 0;
    return Position(sub, s, static_cast<size_t>(offset - 1));
}

String Copy(const String& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > s.Length()) return String();
    size_t start = static_cast<size_t>(index - 1);
    return String(s.substr(start, static_cast<size_t>(count)));
}

void Delete(String& s, int index, int count) {
    if (index < 1 || index > s.Length() || count <= 0) return;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Insert(const String& sub, String& s, int index) {
    if (index < 1) index = 1;
    if (index > s.Length()) index = s.Length() + 1;
    s.insert(static_cast<size_t>(index - 1), sub);
}

String StringOfChar(char16_t c, int count) { return count > 0 ? String(static_cast<size_t>(count), c) : String(); }

String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags) {
    if (oldPattern.empty()) return s;
    bool ignoreCase = flags.Contains(rfIgnoreCase);
    const String source = ignoreCase ? AnsiUpperCase(s) : s;
    const String pattern = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
    String out;
    size_t from = 0;
    for (;;) {
        size_t p = source.find(pattern, from);
        if (p == String::npos) break;
        out.append(s, from, p - from);
        out += newPattern;
        from = p + pattern.size();
        if (!flags.Contains(rfReplaceAll)) break;
    }
    out.append(s, from, String::npos);
    return out;
}

String QuotedStr(const String& s) { return AnsiQuotedStr(s, u'\''); }

String AnsiQuotedStr(const String& s, char16_t quote) {
    String out(1, quote);
    for (char16_t c : s) {
        out.push_back(c);
        if (c == quote) out.push_back(c);
    }
    out.push_back(quote);
    return out;
}

String AnsiExtractQuotedStr(const String& s, size_t& pos, char16_t quote) {
    if (pos >= s.size() || s[pos] != quote) return String();
    String out;
    ++pos;
    while (pos < s.size()) {
        if (s[pos] == quote) {
            if (pos + 1 < s.size() && s[pos + 1] == quote) {
                out.push_back(quote);
                pos += 2;
                continue;
            }
            ++pos;  // closing quote
            break;
        }
        out.push_back(s[pos++]);
    }
    return out;
}

String AnsiDequotedStr(const String& s, char16_t quote) {
    size_t pos = 0;
    String r = AnsiExtractQuotedStr(s, pos, quote);
    // Not quoted, or an opening quote without its closing one: the text stays as it is.
    if ((r.empty() || pos >= s.size()) && !s.empty() && (s.front() != quote || s.back() != quote))
        return s;
    return r;
}

int LastDelimiter(const String& delimiters, const String& s) {
    for (size_t i = s.size(); i > 0; --i)
        if (delimiters.find(s[i - 1]) != String::npos) return static_cast<int>(i);
    return 0;
}

bool IsDelimiter(const String& delimiters, const String& s, int index) {
    if (index < 1 || index > s.Length()) return false;
    return delimiters.find(s[static_cast<size_t>(index - 1)]) != String::npos;
}
