#include "platform/rtl/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace {

constexpr int kMaxDigits = 15;  // significant decimal digits a double carries reliably
constexpr int kExpInf = 32767;
constexpr int kExpNan = -32768;

String Ascii(const std::string& s) { return String(std::u16string(s.begin(), s.end())); }

String SpecialText(const TFloatRec& rec) {
    if (rec.Exponent == kExpNan) return u"NAN";
    return rec.Negative ? u"-INF" : u"INF";
}

bool IsSpecial(const TFloatRec& rec) { return rec.Exponent == kExpInf || rec.Exponent == kExpNan; }

// Digit at a decimal place of rec: index 0 is the first digit after "0." in 0.D1D2... x 10^E.
char16_t DigitAt(const TFloatRec& rec, int index) {
    if (index < 0 || index >= static_cast<int>(rec.Digits.size())) return u'0';
    return static_cast<char16_t>(rec.Digits[static_cast<size_t>(index)]);
}

// Integer part of rec, with separators every three digits when sep is not 0.
String IntegerText(const TFloatRec& rec, char16_t sep) {
    if (rec.Exponent <= 0) return u"0";
    String out;
    for (int place = rec.Exponent; place >= 1; --place) {
        out.push_back(DigitAt(rec, rec.Exponent - place));
        if (sep && place > 1 && (place - 1) % 3 == 0) out.push_back(sep);
    }
    return out;
}

// The first count digits after the decimal point.
String FractionText(const TFloatRec& rec, int count) {
    String out;
    for (int j = 0; j < count; ++j) out.push_back(DigitAt(rec, rec.Exponent + j));
    return out;
}

String ExponentText(int exponent, bool alwaysSign, int minDigits) {
    String out;
    if (exponent < 0) out.push_back(u'-');
    else if (alwaysSign) out.push_back(u'+');
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    return out + Ascii(digits);
}

String ScientificText(const TFloatRec& rec, int digitCount, bool alwaysSign, int minExpDigits,
                      const TFormatSettings& fs) {
    String out;
    if (rec.Negative) out.push_back(u'-');
    out.push_back(rec.Digits.empty() ? u'0' : DigitAt(rec, 0));
    if (digitCount > 1) {
        out.push_back(fs.DecimalSeparator);
        for (int j = 1; j < digitCount; ++j) out.push_back(DigitAt(rec, j));
    }
    out.push_back(u'E');
    int exponent = rec.Digits.empty() ? 0 : rec.Exponent - 1;
    return out + ExponentText(exponent, alwaysSign, minExpDigits);
}

String GeneralText(double value, int precision, int minExpDigits, const TFormatSettings& fs) {
    TFloatRec rec = FloatToDecimal(value, precision, 9999);
    if (IsSpecial(rec)) return SpecialText(rec);
    if (rec.Digits.empty()) return u"0";
    int count = static_cast<int>(rec.Digits.size());
    if (rec.Exponent > precision || rec.Exponent < -3)
        return ScientificText(rec, count, false, minExpDigits, fs);
    String out = rec.Negative ? String(u"-") : String();
    out += IntegerText(rec, 0);
    int fraction = count - rec.Exponent;
    if (fraction > 0) {
        out.push_back(fs.DecimalSeparator);
        out += FractionText(rec, fraction);
    }
    return out;
}

String CurrencyText(const String& number, bool negative, const TFormatSettings& fs) {
    const String& c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
            case 1: return number + c;
            case 2: return c + u" " + number;
            case 3: return number + u" " + c;
            default: return c + number;
        }
    }
    switch (fs.NegCurrFormat) {
        case 1: return u"-" + c + number;
        case 2: return c + u"-" + number;
        case 3: return c + number + u"-";
        case 4: return u"(" + number + c + u")";
        case 5: return u"-" + number + c;
        case 6: return number + u"-" + c;
        case 7: return number + c + u"-";
        case 8: return u"-" + number + u" " + c;
        case 9: return u"-" + c + u" " + number;
        case 10: return number + u" " + c + u"-";
        case 11: return c + u" " + number + u"-";
        case 12: return c + u" -" + number;
        case 13: return number + u"- " + c;
        case 14: return u"(" + c + u" " + number + u")";
        case 15: return u"(" + number + u" " + c + u")";
        default: return u"(" + c + number + u")";
    }
}

// ---- FormatFloat pictures ----

struct Picture {
    String text;
    int before = 0;           // digit places before the decimal point
    int after = 0;            // digit places after it
    int firstZeroBefore = -1; // index among the places before the point of the first "0"
    int lastZeroAfter = 0;    // 1-based index of the last "0" after the point
    bool thousands = false;
    bool scientific = false;
};

Picture Analyse(const String& section) {
    Picture p;
    p.text = section;
    bool point = false;
    char16_t quote = 0;
    for (size_t i = 0; i < section.size(); ++i) {
        char16_t c = section[i];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        switch (c) {
            case u'"':
            case u'\'': quote = c; break;
            case u'0':
            case u'#':
                if (!point) {
                    if (c == u'0' && p.firstZeroBefore < 0) p.firstZeroBefore = p.before;
                    ++p.before;
                } else {
                    ++p.after;
                    if (c == u'0') p.lastZeroAfter = p.after;
                }
                break;
            case u'.': point = true; break;
            case u',': p.thousands = true; break;
            case u'E':
            case u'e':
                if (i + 1 < section.size() && (section[i + 1] == u'+' || section[i + 1] == u'-')) {
                    p.scientific = true;
                    i += 1;
                    while (i + 1 < section.size() && section[i + 1] == u'0') ++i;  // exponent digits
                }
                break;
            default: break;
        }
    }
    return p;
}

std::vector<String> SplitSections(const String& format) {
    std::vector<String> sections(1);
    char16_t quote = 0;
    for (char16_t c : format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            if (sections.size() == 3) break;
            sections.emplace_back();
            continue;
        }
        sections.back().push_back(c);
    }
    return sections;
}

// rec holds the digits to lay out; for a scientific picture it is already shifted so that the
// places before the point take the leading digits, and exponent is the exponent to print.
String Render(const Picture& p, const TFloatRec& rec, int exponent, bool minus, const TFormatSettings& fs) {
    String out;
    if (minus) out.push_back(u'-');
    const String& s = p.text;
    int intDigits = rec.Exponent > 0 ? rec.Exponent : 0;
    int fracAvail = static_cast<int>(rec.Digits.size()) - rec.Exponent;
    if (fracAvail < 0) fracAvail = 0;
    if (fracAvail > p.after) fracAvail = p.after;
    int fracShown = fracAvail > p.lastZeroAfter ? fracAvail : p.lastZeroAfter;
    int beforeIndex = 0, afterIndex = 0;
    bool point = false;
    char16_t sep = p.thousands ? fs.ThousandSeparator : 0;
    auto emitPlace = [&](int place) {
        out.push_back(place <= intDigits ? DigitAt(rec, rec.Exponent - place) : u'0');
        if (sep && place > 1 && (place - 1) % 3 == 0) out.push_back(sep);
    };
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        switch (c) {
            case u'"':
            case u'\'': {
                size_t end = s.find(c, i + 1);
                if (end == String::npos) end = s.size();
                out.append(s, i + 1, end - i - 1);
                i = end;
                break;
            }
            case u'0':
            case u'#':
                if (!point) {
                    int place = p.before - beforeIndex;
                    if (beforeIndex == 0)
                        for (int extra = intDigits; extra > p.before; --extra) emitPlace(extra);
                    bool forced = p.firstZeroBefore >= 0 && beforeIndex >= p.firstZeroBefore;
                    if (place <= intDigits || forced) emitPlace(place);
                    ++beforeIndex;
                } else {
                    ++afterIndex;
                    if (afterIndex <= fracShown) out.push_back(DigitAt(rec, rec.Exponent + afterIndex - 1));
                }
                break;
            case u'.':
                if (point) break;
                point = true;
                if (p.before == 0)
                    for (int extra = intDigits; extra >= 1; --extra) emitPlace(extra);
                if (fracShown > 0) out.push_back(fs.DecimalSeparator);
                break;
            case u',': break;
            case u'E':
            case u'e':
                if (i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
                    bool alwaysSign = s[i + 1] == u'+';
                    i += 1;
                    int digits = 0;
                    while (i + 1 < s.size() && s[i + 1] == u'0') { ++i; ++digits; }
                    out.push_back(c);
                    out += ExponentText(exponent, alwaysSign, digits);
                } else {
                    out.push_back(c);
                }
                break;
            default: out.push_back(c); break;
        }
    }
    return out;
}

TFloatRec PictureDigits(const Picture& p, double value, int* exponent) {
    *exponent = 0;
    if (!p.scientific) return FloatToDecimal(value, kMaxDigits, p.after);
    int significant = p.before + p.after;
    if (significant < 1) significant = 1;
    TFloatRec rec = FloatToDecimal(value, significant, 9999);
    if (!rec.Digits.empty()) *exponent = rec.Exponent - p.before;
    rec.Exponent = p.before;
    return rec;
}

// ---- Format ----

[[noreturn]] void InvalidFormat(const String& directive) {
    throw EConvertError(u"Format '" + directive + u"' invalid or incompatible with argument");
}

std::string UnsignedDigits(uint64_t v, int base, bool upper) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v, base);
    std::string s(buf, res.ptr);
    if (upper)
        for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

String PadDigits(std::string digits, int precision) {
    if (static_cast<int>(digits.size()) < precision) digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return Ascii(digits);
}

}  // namespace

TFloatRec FloatToDecimal(double value, int precision, int decimals) {
    TFloatRec rec;
    if (std::isnan(value)) {
        rec.Exponent = kExpNan;
        return rec;
    }
    rec.Negative = std::signbit(value);
    if (std::isinf(value)) {
        rec.Exponent = kExpInf;
        return rec;
    }
    double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        rec.Negative = false;
        return rec;
    }
    // to_chars is locale-independent: the UI toolkit may set a locale with a decimal comma.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, kMaxDigits - 1);
    std::string text(buf, res.ptr);  // d.dddddddddddddde+XX
    size_t e = text.find('e');
    std::string digits;
    digits.push_back(text[0]);
    digits.append(text, 2, e - 2);
    rec.Exponent = std::stoi(text.substr(e + 1)) + 1;

    if (precision > kMaxDigits) precision = kMaxDigits;
    if (precision < 1) precision = 1;
    long keep = precision;
    long byDecimals = static_cast<long>(rec.Exponent) + decimals;
    if (byDecimals < keep) keep = byDecimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < static_cast<long>(digits.size())) {
        bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (up) {
            long i = keep - 1;
            while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');  // 99.96 -> 100.0: the rest are zeros
                ++rec.Exponent;
            }
        }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) {
        rec.Exponent = 0;
        rec.Negative = false;
    }
    rec.Digits = std::move(digits);
    return rec;
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
    if (precision > 18) precision = 18;
    if (precision < 1) precision = 1;
    switch (format) {
        case ffGeneral:
            return GeneralText(value, precision, digits < 0 ? 0 : (digits > 4 ? 4 : digits), fs);
        case ffExponent: {
            TFloatRec rec = FloatToDecimal(value, precision, 9999);
            if (IsSpecial(rec)) return SpecialText(rec);
            return ScientificText(rec, precision, true, digits < 0 ? 0 : (digits > 4 ? 4 : digits), fs);
        }
        case ffFixed:
        case ffNumber:
        case ffCurrency: {
            if (digits < 0) digits = 0;
            if (digits > 18) digits = 18;
            TFloatRec rec = FloatToDecimal(value, precision, digits);
            if (IsSpecial(rec)) return SpecialText(rec);
            // Too many integer digits for the precision: the general format says it honestly.
            if (rec.Exponent > precision) return GeneralText(value, precision, 0, fs);
            String number = IntegerText(rec, format == ffFixed ? 0 : fs.ThousandSeparator);
            if (digits > 0) {
                number.push_back(fs.DecimalSeparator);
                number += FractionText(rec, digits);
            }
            if (format == ffCurrency) return CurrencyText(number, rec.Negative, fs);
            return rec.Negative ? u"-" + number : number;
        }
    }
    return GeneralText(value, precision, 0, fs);
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(double value, const TFormatSettings& fs) { return FloatToStrF(value, ffGeneral, 15, 0, fs); }
String FloatToStr(double value) { return FloatToStr(value, FormatSettings); }

String FormatFloat(const String& format, double value, const TFormatSettings& fs) {
    if (format.empty() || std::isnan(value) || std::isinf(value)) return FloatToStr(value, fs);
    std::vector<String> sections = SplitSections(format);
    bool negative = value < 0;
    size_t chosen = (negative && sections.size() >= 2 && !sections[1].empty()) ? 1 : 0;
    Picture p = Analyse(sections[chosen]);
    int exponent = 0;
    TFloatRec rec = PictureDigits(p, value, &exponent);
    if (rec.Digits.empty() && sections.size() >= 3 && !sections[2].empty()) {
        chosen = 2;
        p = Analyse(sections[2]);
        rec = PictureDigits(p, value, &exponent);
    }
    if (!p.scientific && rec.Exponent > 18) return FloatToStrF(value, ffGeneral, 15, 0, fs);
    // Another section carries its own sign; a value rounded to zero gets none.
    bool minus = chosen == 0 && rec.Negative && !rec.Digits.empty();
    if (chosen != 0) rec.Negative = false;
    return Render(p, rec, exponent, minus, fs);
}

String FormatFloat(const String& format, double value) { return FormatFloat(format, value, FormatSettings); }

String Format(const String& format, const TVarRec* args, size_t count, const TFormatSettings& fs) {
    String out;
    size_t next = 0;
    size_t n = format.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = format[i];
        if (c != u'%') {
            out.push_back(c);
            continue;
        }
        size_t start = i;
        if (i + 1 < n && format[i + 1] == u'%') {
            out.push_back(u'%');
            ++i;
            continue;
        }
        ++i;
        auto directive = [&] { return String(format.substr(start, (i < n ? i + 1 : n) - start)); };
        auto takeArg = [&]() -> const TVarRec& {
            if (next >= count) throw EConvertError(u"No argument for format '" + directive() + u"'");
            return args[next++];
        };
        // A number or "*"; -1 when there is none.
        auto number = [&]() -> long {
            if (i < n && format[i] == u'*') {
                ++i;
                const TVarRec& a = takeArg();
                if (a.VType != TVarRec::vtInteger && a.VType != TVarRec::vtInt64) InvalidFormat(directive());
                // The same bound as a written number: a width from data must not ask for gigabytes.
                if (a.VInt64 > 100000) InvalidFormat(directive());
                return static_cast<long>(a.VInt64);
            }
            if (i >= n || format[i] < u'0' || format[i] > u'9') return -1;
            long v = 0;
            while (i < n && format[i] >= u'0' && format[i] <= u'9') {
                v = v * 10 + (format[i] - u'0');
                if (v > 100000) InvalidFormat(directive());
                ++i;
            }
            return v;
        };
        long width = number();
        if (i < n && format[i] == u':') {
            if (width < 0) InvalidFormat(directive());
            next = static_cast<size_t>(width);
            ++i;
            width = -1;
        }
        bool left = false;
        if (width < 0 && i < n && format[i] == u'-') {
            left = true;
            ++i;
        }
        if (width < 0) width = number();
        long precision = -1;
        if (i < n && format[i] == u'.') {
            ++i;
            precision = number();
            if (precision < 0) precision = 0;
        }
        if (i >= n) InvalidFormat(directive());
        char16_t type = format[i];
        const TVarRec& a = takeArg();
        bool isInt = a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64;
        String text;
        switch (type) {
            case u'd':
            case u'D': {
                if (!isInt) InvalidFormat(directive());
                uint64_t magnitude = a.VInt64 < 0 ? 0 - static_cast<uint64_t>(a.VInt64) : static_cast<uint64_t>(a.VInt64);
                text = PadDigits(UnsignedDigits(magnitude, 10, false), static_cast<int>(precision));
                if (a.VInt64 < 0) text.insert(text.begin(), u'-');
                break;
            }
            case u'u':
            case u'U':
            case u'x':
            case u'X': {
                if (!isInt) InvalidFormat(directive());
                // An int is 32 bits wide, as on the original platform: -1 is FFFFFFFF.
                uint64_t bits = a.VType == TVarRec::vtInteger ? static_cast<uint32_t>(a.VInt64) : static_cast<uint64_t>(a.VInt64);
                bool hex = type == u'x' || type == u'X';
                text = PadDigits(UnsignedDigits(bits, hex ? 16 : 10, type == u'X'), static_cast<int>(precision));
                break;
            }
            case u'e': case u'E': case u'f': case u'F': case u'g': case u'G':
            case u'n': case u'N': case u'm': case u'M': {
                if (a.VType != TVarRec::vtExtended) InvalidFormat(directive());
                char16_t t = static_cast<char16_t>(type | 0x20);
                int prec = static_cast<int>(precision);
                if (t == u'e') text = FloatToStrF(a.VExtended, ffExponent, prec < 0 ? 15 : prec, 3, fs);
                // The general form writes its exponent without leading zeros: "1E20".
                else if (t == u'g') text = FloatToStrF(a.VExtended, ffGeneral, prec < 0 ? 15 : prec, 0, fs);
                else if (t == u'f') text = FloatToStrF(a.VExtended, ffFixed, 18, prec < 0 ? 2 : prec, fs);
                else if (t == u'n') text = FloatToStrF(a.VExtended, ffNumber, 18, prec < 0 ? 2 : prec, fs);
                else text = FloatToStrF(a.VExtended, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : prec, fs);
                break;
            }
            case u's':
            case u'S':
                if (a.VType == TVarRec::vtUnicodeString) text = a.VString;
                else if (a.VType == TVarRec::vtChar) text = String(a.VChar);
                else InvalidFormat(directive());
                if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(static_cast<size_t>(precision));
                break;
            case u'c':
            case u'C':
                if (a.VType == TVarRec::vtChar) text = String(a.VChar);
                else if (isInt) text = String(static_cast<char16_t>(a.VInt64));
                else InvalidFormat(directive());
                break;
            case u'p':
            case u'P':
                if (a.VType != TVarRec::vtPointer) InvalidFormat(directive());
                text = PadDigits(UnsignedDigits(reinterpret_cast<uintptr_t>(a.VPointer), 16, true),
                                 static_cast<int>(sizeof(void*) * 2));
                break;
            default: InvalidFormat(directive());
        }
        if (width > static_cast<long>(text.size())) {
            String pad(static_cast<size_t>(width) - text.size(), u' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

String Format(const String& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs) {
    return Format(format, args.begin(), args.size(), fs);
}

String Format(const String& format, std::initializer_list<TVarRec> args) {
    return Format(format, args.begin(), args.size(), FormatSettings);
}
