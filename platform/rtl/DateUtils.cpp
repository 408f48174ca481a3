#include "platform/rtl/DateUtils.h"

#include <cmath>
#include <utility>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr int64_t kMsPerDay = MSecsPerDay;
// Beyond +-10^8 days (far outside years 1..9999) the millisecond line is not needed and would
// soon overflow.
constexpr double kMaxDays = 1e8;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

struct Parts {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    int64_t days = 0;  // days since 1899-12-30
    int64_t timeMs = 0;
};

void CivilFromDays(int64_t days, int& y, int& m, int& d) {
    // Days since 1970-01-01 to a proleptic Gregorian date (era-based, exact for negatives).
    int64_t z = days - UnixDateDelta + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

Parts Split(TDateTime value) {
    Parts p;
    int64_t ms = rtl::DateTimeToMs(value);
    p.days = FloorDiv(ms, kMsPerDay);
    p.timeMs = ms - p.days * kMsPerDay;
    CivilFromDays(p.days, p.year, p.month, p.day);
    if (p.year < 1 || p.year > 9999) p.year = p.month = p.day = 0;
    int64_t t = p.timeMs;
    p.hour = static_cast<int>(t / 3600000);
    p.min = static_cast<int>(t / 60000 % 60);
    p.sec = static_cast<int>(t / 1000 % 60);
    p.msec = static_cast<int>(t % 1000);
    return p;
}

int64_t Days(int year, int month, int day) {
    static const int before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int64_t i = year - 1;
    int64_t n = i * 365 + i / 4 - i / 100 + i / 400 + before[month - 1] + day;
    if (month > 2 && IsLeapYear(year)) ++n;
    return n - DateDelta;
}

TDateTime AddMs(TDateTime value, int64_t ms) { return rtl::MsToDateTime(rtl::DateTimeToMs(value) + ms); }

String Pad(int value, int width) {
    String s;
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()); i < width; ++i) s.push_back(u'0');
    for (char c : digits) s.push_back(static_cast<char16_t>(c));
    return s;
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool StartsWithNoCase(const String& s, size_t pos, const String& what) {
    if (what.empty() || pos + what.size() > s.size()) return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (Upper(s[pos + i]) != Upper(what[i])) return false;
    return true;
}

// A format with an am/pm specifier shows hours on the 12-hour clock.
bool Uses12Hour(const String& f) {
    char16_t quote = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        char16_t c = f[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if ((c == u'a' || c == u'A') &&
                   (StartsWithNoCase(f, i, u"am/pm") || StartsWithNoCase(f, i, u"a/p") || StartsWithNoCase(f, i, u"ampm"))) {
            return true;
        }
    }
    return false;
}

void AppendFormatted(String& out, const String& f, const Parts& p, const TFormatSettings& fs, int depth) {
    if (depth > 3) return;  // a date format that names itself
    bool twelve = Uses12Hour(f);
    char16_t last = 0;
    size_t n = f.size();
    size_t i = 0;
    auto run = [&](char16_t letter) {
        size_t count = 0;
        while (i < n && Upper(f[i]) == letter) { ++i; ++count; }
        return count;
    };
    while (i < n) {
        char16_t c = f[i];
        char16_t token = Upper(c);
        char16_t letter = token;  // the letter the run consists of
        if (token >= u'A' && token <= u'Z') {
            if (token == u'M' && (last == u'H')) token = u'N';
            last = token;
        }
        switch (token) {
            case u'Y': {
                size_t count = run(letter);
                out += count <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
                break;
            }
            case u'M': {
                size_t count = run(letter);
                if (p.month == 0) break;
                if (count == 1) out += Pad(p.month, 1);
                else if (count == 2) out += Pad(p.month, 2);
                else if (count == 3) out += fs.ShortMonthNames[static_cast<size_t>(p.month - 1)];
                else out += fs.LongMonthNames[static_cast<size_t>(p.month - 1)];
                break;
            }
            case u'D': {
                size_t count = run(letter);
                int dow = static_cast<int>(((p.days % 7) + 7 + 6) % 7);  // 0 = Sunday
                if (count == 1) out += Pad(p.day, 1);
                else if (count == 2) out += Pad(p.day, 2);
                else if (count == 3) out += fs.ShortDayNames[static_cast<size_t>(dow)];
                else if (count == 4) out += fs.LongDayNames[static_cast<size_t>(dow)];
                else if (count == 5) AppendFormatted(out, fs.ShortDateFormat, p, fs, depth + 1);
                else AppendFormatted(out, fs.LongDateFormat, p, fs, depth + 1);
                break;
            }
            case u'H': {
                size_t count = run(letter);
                int h = p.hour;
                if (twelve) {
                    h %= 12;
                    if (h == 0) h = 12;
                }
                out += Pad(h, count >= 2 ? 2 : 1);
                break;
            }
            case u'N':
                out += Pad(p.min, run(letter) >= 2 ? 2 : 1);
                break;
            case u'S':
                out += Pad(p.sec, run(letter) >= 2 ? 2 : 1);
                break;
            case u'Z':
                out += Pad(p.msec, run(letter) >= 2 ? 3 : 1);
                break;
            case u'T':
                AppendFormatted(out, run(letter) >= 2 ? fs.LongTimeFormat : fs.ShortTimeFormat, p, fs, depth + 1);
                break;
            case u'C':
                ++i;
                AppendFormatted(out, fs.ShortDateFormat, p, fs, depth + 1);
                if (p.timeMs != 0) {
                    out.push_back(u' ');
                    AppendFormatted(out, fs.LongTimeFormat, p, fs, depth + 1);
                }
                break;
            case u'A': {
                bool pm = p.hour >= 12;
                if (StartsWithNoCase(f, i, u"ampm")) {
                    out += pm ? fs.TimePMString : fs.TimeAMString;
                    i += 4;
                } else if (StartsWithNoCase(f, i, u"am/pm")) {
                    out.append(f, pm ? i + 3 : i, 2);  // "am"/"pm" in the case the format wrote it
                    i += 5;
                } else if (StartsWithNoCase(f, i, u"a/p")) {
                    out.push_back(f[pm ? i + 2 : i]);
                    i += 3;
                } else {
                    out.push_back(c);
                    ++i;
                }
                break;
            }
            case u'/':
                out.push_back(fs.DateSeparator);
                ++i;
                break;
            case u':':
                out.push_back(fs.TimeSeparator);
                ++i;
                break;
            case u'\'':
            case u'"': {
                size_t end = f.find(c, i + 1);
                if (end == String::npos) end = n;
                out.append(f, i + 1, end - i - 1);
                i = end < n ? end + 1 : n;
                break;
            }
            default:
                out.push_back(c);
                ++i;
                break;
        }
    }
}

// ---- Parsing ----

struct Scanner {
    const String& s;
    size_t pos = 0;

    void Blanks() {
        while (pos < s.size() && s[pos] == u' ') ++pos;
    }
    bool Char(char16_t c) {
        size_t before = pos;
        Blanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        // A blank separator is the blanks just skipped, so a date written with one reads back.
        return c == u' ' && pos > before;
    }
    // Up to four digits; length gives how many were read.
    bool Number(int& value, int& length) {
        Blanks();
        value = 0;
        length = 0;
        while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9') {
            if (++length > 4) return false;
            value = value * 10 + (s[pos] - u'0');
            ++pos;
        }
        return length > 0;
    }
    bool Word(const String& w) {
        Blanks();
        if (!StartsWithNoCase(s, pos, w)) return false;
        pos += w.size();
        return true;
    }
    bool AtEnd() {
        Blanks();
        return pos >= s.size();
    }
};

enum class DateOrder { YMD, MDY, DMY };

DateOrder OrderOf(const String& shortDateFormat) {
    char16_t quote = 0;
    for (char16_t c : shortDateFormat) {
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        switch (Upper(c)) {
            case u'Y': return DateOrder::YMD;
            case u'M': return DateOrder::MDY;
            case u'D': return DateOrder::DMY;
            default: break;
        }
    }
    return DateOrder::MDY;
}

bool ScanDate(Scanner& sc, const TFormatSettings& fs, TDateTime& value) {
    int n1, n2, n3 = 0, l1, l2, l3 = 0;
    size_t start = sc.pos;
    if (!sc.Number(n1, l1) || !sc.Char(fs.DateSeparator) || !sc.Number(n2, l2)) {
        sc.pos = start;
        return false;
    }
    bool three = false;
    size_t afterTwo = sc.pos;
    if (sc.Char(fs.DateSeparator)) {
        if (!sc.Number(n3, l3)) {
            sc.pos = start;
            return false;
        }
        three = true;
    } else {
        sc.pos = afterTwo;
    }
    int currentYear = YearOf(Now());
    int y, m, d, yearLength;
    DateOrder order = OrderOf(fs.ShortDateFormat);
    if (!three) {
        y = currentYear;
        yearLength = 4;
        if (order == DateOrder::DMY) { d = n1; m = n2; }
        else { m = n1; d = n2; }
    } else if (order == DateOrder::YMD) {
        y = n1; yearLength = l1; m = n2; d = n3;
    } else if (order == DateOrder::MDY) {
        m = n1; d = n2; y = n3; yearLength = l3;
    } else {
        d = n1; m = n2; y = n3; yearLength = l3;
    }
    if (yearLength <= 2) {
        int window = fs.TwoDigitYearCenturyWindow;
        if (window > 0) {
            int base = currentYear - window;
            y += base / 100 * 100;
            if (y < base) y += 100;
        } else {
            y += currentYear / 100 * 100;
        }
    }
    if (!TryEncodeDate(y, m, d, value)) {
        sc.pos = start;
        return false;
    }
    return true;
}

bool ScanAmPm(Scanner& sc, const TFormatSettings& fs, int& ampm) {
    // The longest text that matches: a short custom text ("a") must not take the "A" of "AM" and
    // leave the "M" behind, nor "AM" hide a longer custom text.
    static const String am = u"AM", pm = u"PM";
    const std::pair<const String*, int> words[] = {{&fs.TimeAMString, 1}, {&am, 1}, {&fs.TimePMString, 2}, {&pm, 2}};
    const std::pair<const String*, int>* best = nullptr;
    sc.Blanks();
    for (const auto& w : words)
        if (StartsWithNoCase(sc.s, sc.pos, *w.first) && (!best || w.first->size() > best->first->size())) best = &w;
    if (!best) return false;
    sc.pos += best->first->size();
    ampm = best->second;
    return true;
}

bool ScanTime(Scanner& sc, const TFormatSettings& fs, TDateTime& value) {
    size_t start = sc.pos;
    int ampm = 0;
    ScanAmPm(sc, fs, ampm);
    int h, mi = 0, se = 0, ms = 0, len;
    auto fail = [&] { sc.pos = start; return false; };
    if (!sc.Number(h, len)) return fail();
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(mi, len)) return fail();
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(se, len)) return fail();
            if (sc.Char(fs.DecimalSeparator) && !sc.Number(ms, len)) return fail();
        }
    }
    if (ampm == 0) ScanAmPm(sc, fs, ampm);
    if (ampm != 0) {
        if (h == 0 || h > 12) return fail();
        if (ampm == 1 && h == 12) h = 0;
        else if (ampm == 2 && h < 12) h += 12;
    }
    if (!TryEncodeTime(h, mi, se, ms, value)) return fail();
    return true;
}

}  // namespace

namespace rtl {

int64_t DateTimeToMs(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > kMaxDays)
        throw EConvertError(u"Invalid date and time value");
    if (value >= 0) return std::llround(value * kMsPerDay);
    double day = std::trunc(value);
    double fraction = std::fabs(value - day);
    return static_cast<int64_t>(day) * kMsPerDay + std::llround(fraction * kMsPerDay);
}

TDateTime MsToDateTime(int64_t ms) {
    int64_t day = FloorDiv(ms, kMsPerDay);
    double time = static_cast<double>(ms - day * kMsPerDay) / kMsPerDay;
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

}  // namespace rtl

TDateTime Now() { return rtl::CurrentClock().Now(); }
TDateTime Date() { return DateOf(Now()); }
TDateTime Time() { return TimeOf(Now()); }

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

int DaysInMonth(TDateTime value) {
    Parts p = Split(value);
    return DaysInAMonth(p.year, p.month);
}

int DaysInAYear(int year) { return IsLeapYear(year) ? 366 : 365; }

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) return false;
    value = static_cast<double>(Days(year, month, day));
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime v;
    if (!TryEncodeDate(year, month, day, v)) throw EConvertError(u"Invalid argument to date encode");
    return v;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
    value = static_cast<double>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime v;
    if (!TryEncodeTime(hour, min, sec, msec, v)) throw EConvertError(u"Invalid argument to time encode");
    return v;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? std::trunc(date) - std::fabs(time) : std::trunc(date) + std::fabs(time);
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value) {
    TDateTime d, t;
    if (!TryEncodeDate(year, month, day, d) || !TryEncodeTime(hour, min, sec, msec, t)) return false;
    value = ComposeDateTime(d, t);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
    TDateTime v;
    if (!TryEncodeDateTime(year, month, day, hour, min, sec, msec, v))
        throw EConvertError(u"Invalid argument to date encode");
    return v;
}

void DecodeDate(TDateTime value, WORD& year, WORD& month, WORD& day) {
    Parts p = Split(value);
    year = static_cast<WORD>(p.year);
    month = static_cast<WORD>(p.month);
    day = static_cast<WORD>(p.day);
}

void DecodeTime(TDateTime value, WORD& hour, WORD& min, WORD& sec, WORD& msec) {
    Parts p = Split(value);
    hour = static_cast<WORD>(p.hour);
    min = static_cast<WORD>(p.min);
    sec = static_cast<WORD>(p.sec);
    msec = static_cast<WORD>(p.msec);
}

void DecodeDateTime(TDateTime value, WORD& year, WORD& month, WORD& day, WORD& hour, WORD& min, WORD& sec,
                    WORD& msec) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, min, sec, msec);
}

int DayOfWeek(TDateTime value) {
    int64_t days = Split(value).days;
    return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;  // day 0 was a Saturday
}

int DayOfTheWeek(TDateTime value) {
    int d = DayOfWeek(value) - 1;
    return d == 0 ? 7 : d;
}

int YearOf(TDateTime value) { return Split(value).year; }
int MonthOf(TDateTime value) { return Split(value).month; }
int DayOf(TDateTime value) { return Split(value).day; }
int HourOf(TDateTime value) { return Split(value).hour; }
int MinuteOf(TDateTime value) { return Split(value).min; }
int SecondOf(TDateTime value) { return Split(value).sec; }
int MilliSecondOf(TDateTime value) { return Split(value).msec; }
TDateTime DateOf(TDateTime value) { return static_cast<double>(Split(value).days); }
TDateTime TimeOf(TDateTime value) { return static_cast<double>(Split(value).timeMs) / kMsPerDay; }

TDateTime IncMonth(TDateTime value, int months) {
    Parts p = Split(value);
    if (p.year == 0) throw EConvertError(u"Invalid argument to date encode");
    int64_t total = static_cast<int64_t>(p.year) * 12 + (p.month - 1) + months;
    int year = static_cast<int>(FloorDiv(total, 12));
    int month = static_cast<int>(total - static_cast<int64_t>(year) * 12) + 1;
    int day = p.day;
    if (year >= 1 && year <= 9999 && day > DaysInAMonth(year, month)) day = DaysInAMonth(year, month);
    TDateTime date = EncodeDate(year, month, day);
    return rtl::MsToDateTime(static_cast<int64_t>(date) * kMsPerDay + p.timeMs);
}

TDateTime IncYear(TDateTime value, int years) { return IncMonth(value, years * 12); }
TDateTime IncWeek(TDateTime value, int weeks) { return AddMs(value, int64_t{weeks} * 7 * kMsPerDay); }
TDateTime IncDay(TDateTime value, int days) { return AddMs(value, int64_t{days} * kMsPerDay); }
TDateTime IncHour(TDateTime value, int64_t hours) { return AddMs(value, hours * 3600000); }
TDateTime IncMinute(TDateTime value, int64_t minutes) { return AddMs(value, minutes * 60000); }
TDateTime IncSecond(TDateTime value, int64_t seconds) { return AddMs(value, seconds * 1000); }
TDateTime IncMilliSecond(TDateTime value, int64_t msecs) { return AddMs(value, msecs); }

int64_t MilliSecondsBetween(TDateTime a, TDateTime b) {
    int64_t d = rtl::DateTimeToMs(a) - rtl::DateTimeToMs(b);
    return d < 0 ? -d : d;
}
int64_t SecondsBetween(TDateTime a, TDateTime b) { return MilliSecondsBetween(a, b) / 1000; }
int64_t MinutesBetween(TDateTime a, TDateTime b) { return MilliSecondsBetween(a, b) / 60000; }
int64_t HoursBetween(TDateTime a, TDateTime b) { return MilliSecondsBetween(a, b) / 3600000; }
int64_t DaysBetween(TDateTime a, TDateTime b) { return MilliSecondsBetween(a, b) / kMsPerDay; }

int64_t DateTimeToUnix(TDateTime value) {
    return FloorDiv(rtl::DateTimeToMs(value) - int64_t{UnixDateDelta} * kMsPerDay, 1000);
}

TDateTime UnixToDateTime(int64_t seconds) {
    return rtl::MsToDateTime((seconds + int64_t{UnixDateDelta} * SecsPerDay) * 1000);
}

String FormatDateTime(const String& format, TDateTime value, const TFormatSettings& fs) {
    String out;
    AppendFormatted(out, format.empty() ? String(u"c") : format, Split(value), fs, 0);
    return out;
}

String FormatDateTime(const String& format, TDateTime value) { return FormatDateTime(format, value, FormatSettings); }
String DateToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(fs.ShortDateFormat, value, fs); }
String DateToStr(TDateTime value) { return DateToStr(value, FormatSettings); }
String TimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(fs.LongTimeFormat, value, fs); }
String TimeToStr(TDateTime value) { return TimeToStr(value, FormatSettings); }
String DateTimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(u"c", value, fs); }
String DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings); }

bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc{s};
    TDateTime v;
    if (!ScanDate(sc, fs, v) || !sc.AtEnd()) return false;
    value = v;
    return true;
}

bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc{s};
    TDateTime v;
    if (!ScanTime(sc, fs, v) || !sc.AtEnd()) return false;
    value = v;
    return true;
}

bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc{s};
    TDateTime date = 0, time = 0;
    if (ScanDate(sc, fs, date)) {
        if (!sc.AtEnd() && !ScanTime(sc, fs, time)) return false;
    } else if (!ScanTime(sc, fs, time)) {
        return false;
    }
    if (!sc.AtEnd()) return false;
    value = ComposeDateTime(date, time);
    return true;
}

bool TryStrToDate(const String& s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }
bool TryStrToTime(const String& s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }
bool TryStrToDateTime(const String& s, TDateTime& value) { return TryStrToDateTime(s, value, FormatSettings); }

TDateTime StrToDate(const String& s, const TFormatSettings& fs) {
    TDateTime v;
    if (!TryStrToDate(s, v, fs)) throw EConvertError(u"'" + s + u"' is not a valid date");
    return v;
}

TDateTime StrToTime(const String& s, const TFormatSettings& fs) {
    TDateTime v;
    if (!TryStrToTime(s, v, fs)) throw EConvertError(u"'" + s + u"' is not a valid time");
    return v;
}

TDateTime StrToDateTime(const String& s, const TFormatSettings& fs) {
    TDateTime v;
    if (!TryStrToDateTime(s, v, fs)) throw EConvertError(u"'" + s + u"' is not a valid date and time");
    return v;
}

TDateTime StrToDate(const String& s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(const String& s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(const String& s) { return StrToDateTime(s, FormatSettings); }

TDateTime StrToDateDef(const String& s, TDateTime defaultValue) {
    TDateTime v;
    return TryStrToDate(s, v) ? v : defaultValue;
}

TDateTime StrToTimeDef(const String& s, TDateTime defaultValue) {
    TDateTime v;
    return TryStrToTime(s, v) ? v : defaultValue;
}

TDateTime StrToDateTimeDef(const String& s, TDateTime defaultValue) {
    TDateTime v;
    return TryStrToDateTime(s, v) ? v : defaultValue;
}
