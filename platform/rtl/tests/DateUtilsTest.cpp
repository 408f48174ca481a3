#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"

namespace {

struct Ymd { int y, m, d; };

void ExpectDecodes(TDateTime value, int y, int mo, int d, int h, int mi, int s, int ms) {
    WORD yy, mm, dd, hh, nn, ss, zz;
    DecodeDateTime(value, yy, mm, dd, hh, nn, ss, zz);
    EXPECT_EQ(yy, y) << value;
    EXPECT_EQ(mm, mo) << value;
    EXPECT_EQ(dd, d) << value;
    EXPECT_EQ(hh, h) << value;
    EXPECT_EQ(nn, mi) << value;
    EXPECT_EQ(ss, s) << value;
    EXPECT_EQ(zz, ms) << value;
}

}  // namespace

TEST(DateUtilsTest, EncodeDateCountsDaysFrom18991230) {
    struct Case { Ymd date; double days; };
    const Case cases[] = {
        {{1899, 12, 30}, 0},      {{1899, 12, 31}, 1},        {{1900, 1, 1}, 2},
        {{1899, 12, 29}, -1},     {{1970, 1, 1}, 25569},      {{2000, 1, 1}, 36526},
        {{2024, 2, 29}, 45351},   {{1, 1, 1}, -693593},       {{9999, 12, 31}, 2958465},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.date.y, c.date.m, c.date.d), c.days) << c.date.y << "-" << c.date.m << "-" << c.date.d;
        WORD y, m, d;
        DecodeDate(c.days, y, m, d);
        EXPECT_EQ(y, c.date.y) << c.days;
        EXPECT_EQ(m, c.date.m) << c.days;
        EXPECT_EQ(d, c.date.d) << c.days;
    }
    // Every 97th day over the whole range decodes to what encodes to it.
    for (int day = -693593; day <= 2958465; day += 97) {
        WORD y, m, d;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day) << day;
    }
}

TEST(DateUtilsTest, InvalidDatesAndTimesRaise) {
    const Ymd badDates[] = {{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31}, {2024, 1, 0}};
    for (const auto& d : badDates) {
        EXPECT_THROW(EncodeDate(d.y, d.m, d.d), EConvertError) << d.y << "-" << d.m << "-" << d.d;
        TDateTime v = 123;
        EXPECT_FALSE(TryEncodeDate(d.y, d.m, d.d, v));
        EXPECT_EQ(v, 123);
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateUtilsTest, DecodeRoundsToTheMillisecond) {
    ExpectDecodes(EncodeDateTime(2026, 3, 7, 14, 5, 9, 45), 2026, 3, 7, 14, 5, 9, 45);
    ExpectDecodes(EncodeDateTime(2026, 3, 7, 23, 59, 59, 999), 2026, 3, 7, 23, 59, 59, 999);
    // Just short of midnight by less than half a millisecond is midnight of the next day.
    ExpectDecodes(46088.0 + 0.9999999999, 2026, 3, 8, 0, 0, 0, 0);
    ExpectDecodes(1.0 / 3.0, 1899, 12, 30, 8, 0, 0, 0);
}

TEST(DateUtilsTest, NegativeValuesKeepTheTimeAsAForwardFraction) {
    // -1.25 is 1899-12-29 06:00: the day counts back, the time of day still forward.
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 28, 18, 0, 0, 0), -2.75);
    EXPECT_DOUBLE_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
    ExpectDecodes(-1.25, 1899, 12, 29, 6, 0, 0, 0);
    ExpectDecodes(-2.75, 1899, 12, 28, 18, 0, 0, 0);
    ExpectDecodes(-0.5, 1899, 12, 30, 12, 0, 0, 0);  // day "-0" is day 0
    ExpectDecodes(EncodeDateTime(1850, 7, 1, 23, 59, 59, 999), 1850, 7, 1, 23, 59, 59, 999);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), String("1899-12-29 06:00"));
    EXPECT_DOUBLE_EQ(DateOf(-1.25), -1);
    EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.25);

    // Arithmetic crosses day 0 correctly: plain addition of days would not.
    EXPECT_DOUBLE_EQ(IncDay(-1.25, 2), 1.25);   // 12-29 06:00 + 2 days = 12-31 06:00
    EXPECT_DOUBLE_EQ(IncDay(1.25, -2), -1.25);
    EXPECT_DOUBLE_EQ(IncHour(-0.75, 12), 1.25);  // 12-30 18:00 + 12 h
    EXPECT_DOUBLE_EQ(IncMinute(-1.25, -6 * 60 - 1), EncodeDateTime(1899, 12, 28, 23, 59, 0, 0));
    EXPECT_EQ(MilliSecondsBetween(-1.25, 1.25), 2LL * MSecsPerDay);
    EXPECT_EQ(HoursBetween(1.25, -1.25), 48);
}

TEST(DateUtilsTest, CalendarHelpers) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(EncodeDate(2023, 12, 5)), 31);
    struct Case { Ymd date; int dayOfWeek; };
    const Case days[] = {
        {{1899, 12, 30}, 7}, {{1899, 12, 29}, 6}, {{1899, 12, 31}, 1}, {{2026, 12, 10}, 5}, {{1, 1, 1}, 2},
    };
    for (const auto& c : days) {
        TDateTime v = EncodeDate(c.date.y, c.date.m, c.date.d) + (c.date.y >= 1900 ? 0.75 : 0);
        EXPECT_EQ(DayOfWeek(v), c.dayOfWeek) << c.date.y << "-" << c.date.m << "-" << c.date.d;
        EXPECT_EQ(DayOfTheWeek(v), c.dayOfWeek == 1 ? 7 : c.dayOfWeek - 1);
    }
    TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 9, 45);
    EXPECT_EQ(YearOf(t), 2026);
    EXPECT_EQ(MonthOf(t), 3);
    EXPECT_EQ(DayOf(t), 7);
    EXPECT_EQ(HourOf(t), 14);
    EXPECT_EQ(MinuteOf(t), 5);
    EXPECT_EQ(SecondOf(t), 9);
    EXPECT_EQ(MilliSecondOf(t), 45);
}

TEST(DateUtilsTest, IncrementsAndSpans) {
    struct Case { Ymd from; int months; Ymd to; };
    const Case cases[] = {
        {{2024, 1, 31}, 1, {2024, 2, 29}}, {{2023, 1, 31}, 1, {2023, 2, 28}}, {{2024, 3, 31}, -1, {2024, 2, 29}},
        {{2024, 12, 15}, 1, {2025, 1, 15}}, {{2024, 1, 15}, -13, {2022, 12, 15}}, {{2024, 2, 29}, 12, {2025, 2, 28}},
    };
    const TDateTime time = EncodeTime(10, 30, 0, 0);
    for (const auto& c : cases) {
        TDateTime from = EncodeDate(c.from.y, c.from.m, c.from.d) + time;
        EXPECT_DOUBLE_EQ(IncMonth(from, c.months), EncodeDate(c.to.y, c.to.m, c.to.d) + time)
            << c.from.y << "-" << c.from.m << "-" << c.from.d << " " << c.months;
    }
    EXPECT_DOUBLE_EQ(IncYear(EncodeDate(2024, 2, 29)), EncodeDate(2025, 2, 28));
    EXPECT_DOUBLE_EQ(IncWeek(EncodeDate(2024, 12, 30)), EncodeDate(2025, 1, 6));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);

    TDateTime a = EncodeDateTime(2026, 3, 7, 14, 5, 9, 0);
    EXPECT_EQ(SecondsBetween(a, IncSecond(a, 1)), 1);  // no 0.99999 second from floating point
    EXPECT_EQ(MilliSecondsBetween(IncMilliSecond(a, 1), a), 1);
    EXPECT_EQ(SecondsBetween(a, IncMilliSecond(a, 1999)), 1);
    EXPECT_EQ(MinutesBetween(a, IncSecond(a, -150)), 2);
    EXPECT_EQ(DaysBetween(a, IncHour(a, 47)), 1);
    EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 2)), 86400);
    EXPECT_DOUBLE_EQ(UnixToDateTime(-86400), EncodeDate(1969, 12, 31));
    EXPECT_THROW(rtl::DateTimeToMs(std::nan("")), EConvertError);
}

TEST(DateUtilsTest, NowDateAndTimeReadTheProcessClock) {
    rtl::ScopedManualClock clock;
    EXPECT_DOUBLE_EQ(Now(), 46000.0);  // the manual clock's start: 2025-12-09 00:00
    clock->Advance(90 * 60 * 1000);
    EXPECT_DOUBLE_EQ(Date(), 46000.0);
    EXPECT_EQ(MilliSecondsBetween(Time(), EncodeTime(1, 30, 0, 0)), 0);
}

TEST(DateUtilsTest, FormatDateTimeSpecifiers) {
    const TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 9, 45);  // a Saturday
    struct Case { const char* format; const char* text; };
    const Case cases[] = {
        {"yyyy/mm/dd", "2026/03/07"},
        {"yy/m/d", "26/3/7"},
        {"YYYY-MM-DD", "2026-03-07"},
        {"mmm mmmm", "Mar March"},
        {"ddd dddd", "Sat Saturday"},
        {"hh:nn:ss.zzz", "14:05:09.045"},
        {"h:n:s.z", "14:5:9.45"},
        {"hh:mm", "14:05"},  // m right after h is minutes
        {"hh mm", "14 05"},
        {"mm", "03"},
        {"h:mm am/pm", "2:05 pm"},
        {"h:mm AM/PM", "2:05 PM"},
        {"h a/p", "2 p"},
        {"hh:nn ampm", "02:05 PM"},
        {"c", "2026/03/07 14:05:09"},
        {"ddddd", "2026/03/07"},
        {"dddddd", "Saturday, March 7, 2026"},
        {"t", "14:05"},
        {"tt", "14:05:09"},
        {"\"yyyy\" yyyy", "yyyy 2026"},
        {"'Date:' dd.mm.yyyy", "Date: 07.03.2026"},
        {"yyyy年m月d日", "2026年3月7日"},
        {"", "2026/03/07 14:05:09"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, t), String(c.text)) << c.format;

    EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 3, 7)), String("2026/03/07"));  // midnight: no time
    EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0)), String("12 am"));
    EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(12, 30, 0, 0)), String("12 pm"));

    TFormatSettings fs;
    fs.DateSeparator = u'-';
    fs.TimeSeparator = u'.';
    fs.TimeAMString = u"午前";
    fs.TimePMString = u"午後";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", t, fs), String("2026-03-07 14.05"));
    EXPECT_EQ(FormatDateTime("ampm h:nn", t, fs), String("午後 2.05"));
    EXPECT_EQ(DateToStr(t), String("2026/03/07"));
    EXPECT_EQ(TimeToStr(t), String("14:05:09"));
    EXPECT_EQ(DateTimeToStr(t), String("2026/03/07 14:05:09"));
}

TEST(DateUtilsTest, StrToDateFollowsTheShortDateFormat) {
    rtl::ScopedManualClock clock;  // "now" is 2025-12-09, for dates without a year
    struct Case { const char* text; Ymd date; };
    const Case cases[] = {
        {"2026/03/07", {2026, 3, 7}}, {"2026/3/7", {2026, 3, 7}}, {" 2026 / 03 / 07 ", {2026, 3, 7}},
        {"26/3/7", {2026, 3, 7}},     {"80/1/2", {1980, 1, 2}},   {"3/7", {2025, 3, 7}},
        {"0001/01/01", {1, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(StrToDate(c.text), EncodeDate(c.date.y, c.date.m, c.date.d)) << c.text;
    const char* bad[] = {"2026/02/30", "2026-03-07", "abc", "", "2026/03/07x", "12345/1/1", "2026/03/", "2026/03/07 10:00"};
    for (const char* text : bad) EXPECT_THROW(StrToDate(text), EConvertError) << text;
    try {
        StrToDate("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("'abc' is not a valid date"));
    }

    // Round trip through the default settings over a spread of dates.
    for (int day = -693593; day <= 2958465; day += 1009) EXPECT_DOUBLE_EQ(StrToDate(DateToStr(day)), day) << day;

    TFormatSettings dmy;
    dmy.ShortDateFormat = u"dd.mm.yyyy";
    dmy.DateSeparator = u'.';
    EXPECT_DOUBLE_EQ(StrToDate("07.03.2026", dmy), EncodeDate(2026, 3, 7));
    EXPECT_DOUBLE_EQ(StrToDate("7.3", dmy), EncodeDate(2025, 3, 7));
    TFormatSettings mdy;
    mdy.ShortDateFormat = u"m/d/yyyy";
    EXPECT_DOUBLE_EQ(StrToDate("3/7/2026", mdy), EncodeDate(2026, 3, 7));
    EXPECT_DOUBLE_EQ(StrToDate(DateToStr(46088, mdy), mdy), 46088);

    // A blank separator: what DateToStr writes reads back.
    TFormatSettings blank;
    blank.DateSeparator = u' ';
    EXPECT_EQ(DateToStr(EncodeDate(2026, 3, 7), blank), String("2026 03 07"));
    for (int day = 1; day <= 2958465; day += 7919) EXPECT_DOUBLE_EQ(StrToDate(DateToStr(day, blank), blank), day) << day;
    EXPECT_THROW(StrToDate("2026 03 07x", blank), EConvertError);
}

// The longest AM/PM text that matches is taken: a one-letter "a" must not take the "A" of "AM" and
// leave the "M" behind. The fixture is the fuzz input that found it: two bytes that chose these
// settings, then the text.
TEST(DateUtilsTest, StrToTimeTakesTheLongestAmPmText) {
    std::ifstream in(std::string(RWB_TEST_DATA_DIR) + "/time-short-am-text.bin", std::ios::binary);
    const std::string found((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(found.size(), 2u);
    TFormatSettings fs;
    fs.TimeAMString = u"a";
    fs.TimePMString = u"p";
    struct Case { std::string text; int h, m; };
    const Case cases[] = {
        {found.substr(2), 1, 0}, {"1 a", 1, 0},   {"11:30PM", 23, 30}, {"12 am", 0, 0},
        {"pm 12:05", 12, 5},     {"1p", 13, 0},   {"AM 9", 9, 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(StrToTime(String(c.text), fs), EncodeTime(c.h, c.m, 0, 0)) << c.text;
        EXPECT_DOUBLE_EQ(StrToDateTime(String(c.text), fs), EncodeTime(c.h, c.m, 0, 0)) << c.text;
    }
    EXPECT_THROW(StrToTime("1AMM", fs), EConvertError);
    // A custom text longer than "AM" is not cut short by it either.
    fs.TimeAMString = u"AMx";
    EXPECT_DOUBLE_EQ(StrToTime("3 amx", fs), EncodeTime(3, 0, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("3 am", fs), EncodeTime(3, 0, 0, 0));
}

TEST(DateUtilsTest, StrToTimeAndStrToDateTime) {
    struct Case { const char* text; int h, m, s, ms; };
    const Case cases[] = {
        {"14:05", 14, 5, 0, 0},        {"14:05:09", 14, 5, 9, 0}, {"14:05:09.045", 14, 5, 9, 45},
        {"2:05 PM", 14, 5, 0, 0},      {"12:00 AM", 0, 0, 0, 0},  {"12:30 pm", 12, 30, 0, 0},
        {"  9:00  ", 9, 0, 0, 0},      {"0:00:00", 0, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(StrToTime(c.text), EncodeTime(c.h, c.m, c.s, c.ms)) << c.text;
    const char* bad[] = {"24:00", "13:00 PM", "0:30 AM", "14:60", "x", "14:", "14:05 x", ""};
    for (const char* text : bad) EXPECT_THROW(StrToTime(text), EConvertError) << text;

    const TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 9, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime("2026/03/07 14:05:09"), t);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t)), t);
    EXPECT_DOUBLE_EQ(StrToDateTime("2026/03/07"), EncodeDate(2026, 3, 7));
    EXPECT_DOUBLE_EQ(StrToDateTime("14:05"), EncodeTime(14, 5, 0, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("1899/12/29 06:00"), -1.25);
    EXPECT_THROW(StrToDateTime("2026/03/07 25:00"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToDateTimeDef("nonsense", 7.5), 7.5);
    try {
        StrToTime("x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), String("'x' is not a valid time"));
    }
}
