#include "platform/ui/DateTimeFields.h"

#include <algorithm>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace ui::datetime {

Stamp Stamp::Of(TDateTime value) {
    WORD y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    if (y == 0) return Stamp();
    return Stamp{y, mo, d, h, mi, s, ms};
}

TDateTime Stamp::Value() const {
    TDateTime v = 0;
    Stamp held = Hold(*this);
    TryEncodeDateTime(held.Year, held.Month, held.Day, held.Hour, held.Minute, held.Second, held.MSec, v);
    return v;
}

Stamp Hold(Stamp s) {
    s.Year = std::clamp(s.Year, 1, 9999);
    s.Month = std::clamp(s.Month, 1, 12);
    s.Day = std::clamp(s.Day, 1, DaysInAMonth(s.Year, s.Month));
    s.Hour = std::clamp(s.Hour, 0, 23);
    s.Minute = std::clamp(s.Minute, 0, 59);
    s.Second = std::clamp(s.Second, 0, 59);
    s.MSec = std::clamp(s.MSec, 0, 999);
    return s;
}

SYSTEMTIME SystemTimeOf(TDateTime value) {
    Stamp s = Stamp::Of(value);
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(s.Year);
    st.wMonth = static_cast<WORD>(s.Month);
    st.wDay = static_cast<WORD>(s.Day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    st.wHour = static_cast<WORD>(s.Hour);
    st.wMinute = static_cast<WORD>(s.Minute);
    st.wSecond = static_cast<WORD>(s.Second);
    st.wMilliseconds = static_cast<WORD>(s.MSec);
    return st;
}

namespace {

bool IsCode(char16_t c) {
    switch (c) {
        case u'd': case u'M': case u'y': case u'h': case u'H': case u'm': case u's': case u't': return true;
        default: return false;
    }
}

Element Code(char16_t c, int run) {
    switch (c) {
        case u'd': return run >= 3 ? Element{Field::DayName, std::min(run, 4), {}} : Element{Field::Day, run, {}};
        case u'M': return Element{Field::Month, std::min(run, 4), {}};
        case u'y': return Element{Field::Year, run >= 3 ? 4 : run, {}};
        case u'h': return Element{Field::Hour12, std::min(run, 2), {}};
        case u'H': return Element{Field::Hour24, std::min(run, 2), {}};
        case u'm': return Element{Field::Minute, std::min(run, 2), {}};
        case u's': return Element{Field::Second, std::min(run, 2), {}};
        default: return Element{Field::AmPm, std::min(run, 2), {}};
    }
}

void AddLiteral(std::vector<Element>& out, const String& text) {
    if (text.empty()) return;
    if (!out.empty() && out.back().Kind == Field::Literal) out.back().Literal += text;
    else out.push_back(Element{Field::Literal, 0, text});
}

String Padded(int value, int width) {
    String s = IntToStr(value);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
    return s;
}

int Wrap(int value, int low, int high) {
    int span = high - low + 1;
    return low + ((value - low) % span + span) % span;
}

}  // namespace

std::vector<Element> ParseFormat(const String& format) {
    std::vector<Element> out;
    const size_t n = format.size();
    for (size_t i = 0; i < n;) {
        char16_t c = format[i];
        if (c == u'\'') {
            // Quoted text; '' stands for a quote, inside or outside.
            String text;
            size_t j = i + 1;
            if (j < n && format[j] == u'\'') {
                AddLiteral(out, String(u"'"));
                i = j + 1;
                continue;
            }
            while (j < n) {
                if (format[j] == u'\'') {
                    if (j + 1 < n && format[j + 1] == u'\'') {
                        text.push_back(u'\'');
                        j += 2;
                        continue;
                    }
                    break;
                }
                text.push_back(format[j++]);
            }
            AddLiteral(out, text);
            i = j < n ? j + 1 : n;
            continue;
        }
        if (!IsCode(c)) {
            AddLiteral(out, String(1, c));
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && format[j] == c) ++j;
        out.push_back(Code(c, static_cast<int>(j - i)));
        i = j;
    }
    return out;
}

String PickerFormatOf(const String& f, const TFormatSettings& settings) {
    // A 12-hour clock when the format has an AM/PM code.
    String lower = AnsiLowerCase(f);
    bool twelve = lower.find(u"am/pm") != String::npos || lower.find(u"a/p") != String::npos || lower.find(u"ampm") != String::npos;
    String out;
    bool afterHour = false;
    auto quoted = [&out](const String& text) {
        out.push_back(u'\'');
        for (char16_t ch : text) {
            if (ch == u'\'') out.push_back(u'\'');
            out.push_back(ch);
        }
        out.push_back(u'\'');
    };
    for (size_t i = 0; i < f.size();) {
        char16_t c = f[i];
        char16_t l = static_cast<char16_t>(c >= u'A' && c <= u'Z' ? c + 32 : c);
        size_t j = i;
        while (j < f.size() && (f[j] == c || f[j] == static_cast<char16_t>(l - 32) || f[j] == l)) ++j;
        int run = static_cast<int>(j - i);
        if (c == u'"' || c == u'\'') {
            size_t end = f.find(c, i + 1);
            if (end == String::npos) end = f.size();
            quoted(String(f.substr(i + 1, end - i - 1)));
            i = end + 1;
            continue;
        }
        if (lower.compare(i, 5, u"am/pm") == 0 || lower.compare(i, 4, u"ampm") == 0 || lower.compare(i, 3, u"a/p") == 0) {
            size_t len = lower.compare(i, 5, u"am/pm") == 0 ? 5 : lower.compare(i, 4, u"ampm") == 0 ? 4 : 3;
            out += len == 3 ? String(u"t") : String(u"tt");
            i += len;
            continue;
        }
        switch (l) {
            case u'd': out += run >= 3 ? String(std::min(run, 4), u'd') : String(run, u'd'); break;
            case u'm':
                if (afterHour) out += String(std::min(run, 2), u'm');
                else out += String(std::min(run, 4), u'M');
                break;
            case u'n': out += String(std::min(run, 2), u'm'); break;
            case u'y': out += run >= 3 ? String(u"yyyy") : String(run, u'y'); break;
            case u'h': out += String(std::min(run, 2), twelve ? u'h' : u'H'); break;
            case u's': out += String(std::min(run, 2), u's'); break;
            case u'/': quoted(String(static_cast<size_t>(run), settings.DateSeparator)); break;
            case u':': quoted(String(static_cast<size_t>(run), settings.TimeSeparator)); break;
            default:
                if ((l >= u'a' && l <= u'z')) quoted(String(f.substr(i, j - i)));
                else out += String(f.substr(i, j - i));
                break;
        }
        if (l == u'h') afterHour = true;
        else if (l != u':' && l != u' ') afterHour = false;
        i = j;
    }
    return out;
}

String Show(const Element& e, const Stamp& s, const TFormatSettings& settings) {
    switch (e.Kind) {
        case Field::Literal: return e.Literal;
        case Field::Day: return Padded(s.Day, e.Width);
        case Field::DayName: {
            int dow = DayOfWeek(EncodeDate(s.Year, s.Month, s.Day)) - 1;
            return e.Width >= 4 ? settings.LongDayNames[static_cast<size_t>(dow)] : settings.ShortDayNames[static_cast<size_t>(dow)];
        }
        case Field::Month:
            if (e.Width == 3) return settings.ShortMonthNames[static_cast<size_t>(s.Month - 1)];
            if (e.Width >= 4) return settings.LongMonthNames[static_cast<size_t>(s.Month - 1)];
            return Padded(s.Month, e.Width);
        case Field::Year: return e.Width >= 4 ? Padded(s.Year, 4) : e.Width == 2 ? Padded(s.Year % 100, 2) : IntToStr(s.Year % 100);
        case Field::Hour12: return Padded(s.Hour % 12 == 0 ? 12 : s.Hour % 12, e.Width);
        case Field::Hour24: return Padded(s.Hour, e.Width);
        case Field::Minute: return Padded(s.Minute, e.Width);
        case Field::Second: return Padded(s.Second, e.Width);
        case Field::AmPm: {
            const String& mark = s.Hour < 12 ? settings.TimeAMString : settings.TimePMString;
            return e.Width >= 2 ? mark : String(mark.substr(0, 1));
        }
    }
    return String();
}

Stamp Step(const Element& e, Stamp s, int delta) {
    switch (e.Kind) {
        case Field::Day: s.Day = Wrap(s.Day + delta, 1, DaysInAMonth(s.Year, s.Month)); break;
        case Field::Month: s.Month = Wrap(s.Month + delta, 1, 12); break;
        case Field::Year: s.Year = Wrap(s.Year + delta, 1, 9999); break;
        case Field::Hour12: s.Hour = (s.Hour >= 12 ? 12 : 0) + Wrap(s.Hour % 12 + delta, 0, 11); break;
        case Field::Hour24: s.Hour = Wrap(s.Hour + delta, 0, 23); break;
        case Field::Minute: s.Minute = Wrap(s.Minute + delta, 0, 59); break;
        case Field::Second: s.Second = Wrap(s.Second + delta, 0, 59); break;
        case Field::AmPm: s.Hour = (s.Hour + 12) % 24; break;
        case Field::Literal: case Field::DayName: break;
    }
    return Hold(s);
}

Stamp Edge(const Element& e, Stamp s, bool last) {
    switch (e.Kind) {
        case Field::Day: s.Day = last ? DaysInAMonth(s.Year, s.Month) : 1; break;
        case Field::Month: s.Month = last ? 12 : 1; break;
        case Field::Year: s.Year = last ? 9999 : 1; break;
        case Field::Hour12: s.Hour = (s.Hour >= 12 ? 12 : 0) + (last ? 11 : 0); break;
        case Field::Hour24: s.Hour = last ? 23 : 0; break;
        case Field::Minute: s.Minute = last ? 59 : 0; break;
        case Field::Second: s.Second = last ? 59 : 0; break;
        case Field::AmPm: s.Hour = s.Hour % 12 + (last ? 12 : 0); break;
        case Field::Literal: case Field::DayName: break;
    }
    return Hold(s);
}

int DigitsOf(const Element& e) { return e.Kind == Field::Year && e.Width >= 4 ? 4 : 2; }

int MostOf(const Element& e) {
    switch (e.Kind) {
        case Field::Day: return 31;
        case Field::Month: return 12;
        case Field::Year: return e.Width >= 4 ? 9999 : 99;
        case Field::Hour12: return 12;
        case Field::Hour24: return 23;
        case Field::Minute: case Field::Second: return 59;
        default: return 0;
    }
}

Stamp Put(const Element& e, Stamp s, int typed, int digits, const TFormatSettings& settings) {
    switch (e.Kind) {
        case Field::Day: s.Day = std::max(1, typed); break;  // held within the month below
        case Field::Month: s.Month = std::max(1, typed); break;
        case Field::Year:
            if (digits <= 2) {
                // Put in the century window, as the settings' date parsing does.
                int current = YearOf(Date());
                int window = settings.TwoDigitYearCenturyWindow;
                if (window == 0) {
                    typed += current / 100 * 100;
                } else {
                    int start = current - window;
                    typed += start / 100 * 100;
                    if (typed < start) typed += 100;
                }
            }
            s.Year = std::max(1, typed);
            break;
        case Field::Hour12: s.Hour = (s.Hour >= 12 ? 12 : 0) + std::min(typed, 12) % 12; break;
        case Field::Hour24: s.Hour = typed; break;
        case Field::Minute: s.Minute = typed; break;
        case Field::Second: s.Second = typed; break;
        case Field::Literal: case Field::DayName: case Field::AmPm: break;
    }
    return Hold(s);
}

}  // namespace ui::datetime
