// Numbers, dates and times under format settings other than the defaults: a decimal comma, the
// day or the month first, other separators (a blank among them), two-digit years and their window,
// other or empty AM/PM texts. The first two bytes pick the settings, the rest is the text. Every
// reading is compared with a second one written from the rules (strtod in the C locale for
// numbers, a token reading for dates and times), and values from the bytes are formatted under
// the settings and must read back.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzInput.h"
#include "fuzz/Readings.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct DateStyle {
    const char16_t* format;
    char16_t separator;
    bool fullYear;
};

TFormatSettings Settings(uint8_t a, uint8_t b) {
    static const DateStyle dates[] = {
        {u"yyyy/mm/dd", u'/', true}, {u"dd.mm.yyyy", u'.', true}, {u"m/d/yyyy", u'/', true},
        {u"d-m-yy", u'-', false},    {u"yy/mm/dd", u'/', false},  {u"dd mm yyyy", u' ', true},
        {u"mm.dd.yy", u'.', false},  {u"'day' d/m/yyyy", u'/', true},
    };
    static const char16_t* const amPm[][2] = {{u"AM", u"PM"}, {u"am", u"pm"}, {u"午前", u"午後"}, {u"", u""}, {u"a", u"p"}};
    static const char16_t* const longTimes[] = {u"h:nn:ss", u"hh:nn:ss", u"h:nn:ss ampm", u"ampm h:nn:ss"};
    static const uint16_t windows[] = {50, 0, 1, 99};
    TFormatSettings fs;
    const DateStyle& d = dates[a & 7];
    fs.ShortDateFormat = d.format;
    fs.DateSeparator = d.separator;
    fs.DecimalSeparator = a & 8 ? u',' : u'.';
    fs.ThousandSeparator = a & 8 ? u'.' : u',';
    fs.TimeSeparator = a & 16 ? u'.' : u':';
    fs.TwoDigitYearCenturyWindow = windows[(a >> 5) & 3];
    const auto& words = amPm[b % 5];
    fs.TimeAMString = words[0];
    fs.TimePMString = words[1];
    fs.LongTimeFormat = longTimes[(b / 5) % 4];
    return fs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const TFormatSettings fs = Settings(data[0], data[1]);
    data += 2;
    size -= 2;
    const String text(fuzz::Bytes(data, size));
    fuzz::CheckFloatReading(text, fs);
    fuzz::CheckDateReadings(text, fs);

    if (size < sizeof(double)) return 0;
    double d;
    std::memcpy(&d, data, sizeof d);
    if (!std::isfinite(d)) return 0;
    // What FloatToStr writes under the settings reads back within its 15 digits.
    if (std::fabs(d) < 1e308) {
        double back;
        if (!TryStrToFloat(FloatToStr(d, fs), back, fs)) std::abort();
        if (back != d && std::fabs(back - d) > std::fabs(d) * 1e-14) std::abort();
    }
    // A day of years 1 to 9999 and a time of day to the second.
    const int64_t whole = static_cast<int64_t>(std::fmod(std::fabs(d), 1e15));
    const int day = static_cast<int>(whole % 3652059) - 693593;
    const int second = static_cast<int>((whole / 3652059) % 86400);
    // A format with literal text writes what no date reading takes; a two-digit year reads back
    // within the window; a 12-hour time with empty AM and PM texts has lost its half of the day.
    if (fs.ShortDateFormat.find(u'\'') != String::npos) return 0;
    TDateTime parsed;
    if (!TryStrToDate(DateToStr(day, fs), parsed, fs)) std::abort();
    const int year = YearOf(day), now = YearOf(Now());
    const int first = fs.TwoDigitYearCenturyWindow ? now - fs.TwoDigitYearCenturyWindow : now / 100 * 100;
    const bool fullYear = fs.ShortDateFormat.find(u"yyyy") != String::npos;
    if ((fullYear || (year >= first && year < first + 100)) && parsed != day) std::abort();
    if (fs.TimeAMString.empty() && fs.LongTimeFormat.find(u"ampm") != String::npos) return 0;
    const TDateTime time = EncodeTime(second / 3600, second / 60 % 60, second % 60, 0);
    if (!TryStrToTime(TimeToStr(time, fs), parsed, fs) || parsed != time) std::abort();
    const TDateTime both = ComposeDateTime(day, time);
    if (fullYear && (!TryStrToDateTime(DateTimeToStr(both, fs), parsed, fs) || parsed != both)) std::abort();
    return 0;
}
