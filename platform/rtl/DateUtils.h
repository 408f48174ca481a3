#pragma once
// Date-time routines over TDateTime: days since 1899-12-30 with the time of day as the fraction.
// Before that day the value is negative but the fraction still counts forward from midnight:
// -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00. Every routine here decodes it that way, and
// the arithmetic (IncDay, MilliSecondsBetween, ...) goes through whole milliseconds so that it is
// right on both sides of day 0 and free of floating-point drift.
#include <cstdint>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

constexpr int HoursPerDay = 24;
constexpr int MinsPerHour = 60;
constexpr int SecsPerMin = 60;
constexpr int MSecsPerSec = 1000;
constexpr int MinsPerDay = 1440;
constexpr int SecsPerDay = 86400;
constexpr int MSecsPerDay = 86400000;
// Days from 0001-01-01 to 1899-12-30, and from 1899-12-30 to 1970-01-01.
constexpr int DateDelta = 693594;
constexpr int UnixDateDelta = 25569;

// Local wall time from the process clock (rtl::CurrentClock), so tests can set it.
TDateTime Now();
TDateTime Date();
TDateTime Time();

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
int DaysInMonth(TDateTime value);
int DaysInAYear(int year);

// Year 1..9999, month 1..12, day within the month; otherwise EConvertError.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
// Hour 0..23, minute and second 0..59, millisecond 0..999; otherwise EConvertError.
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value);
// A date plus a time of day, also for dates before 1899-12-30.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Decoding rounds to the nearest millisecond. A date outside years 1..9999 decodes as 0/0/0.
void DecodeDate(TDateTime value, WORD& year, WORD& month, WORD& day);
void DecodeTime(TDateTime value, WORD& hour, WORD& min, WORD& sec, WORD& msec);
void DecodeDateTime(TDateTime value, WORD& year, WORD& month, WORD& day, WORD& hour, WORD& min, WORD& sec,
                    WORD& msec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);
// 1 = Monday .. 7 = Sunday.
int DayOfTheWeek(TDateTime value);
int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
int HourOf(TDateTime value);
int MinuteOf(TDateTime value);
int SecondOf(TDateTime value);
int MilliSecondOf(TDateTime value);
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// The day is kept, or cut to the last day of the new month (Jan 31 + 1 month = Feb 28/29).
TDateTime IncMonth(TDateTime value, int months = 1);
TDateTime IncYear(TDateTime value, int years = 1);
TDateTime IncWeek(TDateTime value, int weeks = 1);
TDateTime IncDay(TDateTime value, int days = 1);
TDateTime IncHour(TDateTime value, int64_t hours = 1);
TDateTime IncMinute(TDateTime value, int64_t minutes = 1);
TDateTime IncSecond(TDateTime value, int64_t seconds = 1);
TDateTime IncMilliSecond(TDateTime value, int64_t msecs = 1);

// Whole units between two moments, always >= 0.
int64_t MilliSecondsBetween(TDateTime a, TDateTime b);
int64_t SecondsBetween(TDateTime a, TDateTime b);
int64_t MinutesBetween(TDateTime a, TDateTime b);
int64_t HoursBetween(TDateTime a, TDateTime b);
int64_t DaysBetween(TDateTime a, TDateTime b);

int64_t DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(int64_t seconds);

// Specifiers (case does not matter): y yy yyyy, m mm mmm mmmm (minutes right after h or hh),
// d dd ddd dddd ddddd (short date) dddddd (long date), h hh, n nn, s ss, z zzz, t (short time)
// tt (long time), c (short date and, unless midnight, long time), am/pm a/p ampm (12-hour clock),
// / and : (the settings' separators), '...' and "..." literal text; anything else is copied.
String FormatDateTime(const String& format, TDateTime value);
String FormatDateTime(const String& format, TDateTime value, const TFormatSettings& settings);
String DateToStr(TDateTime value);
String DateToStr(TDateTime value, const TFormatSettings& settings);
String TimeToStr(TDateTime value);
String TimeToStr(TDateTime value, const TFormatSettings& settings);
String DateTimeToStr(TDateTime value);
String DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// Parsing follows the order of year, month and day in ShortDateFormat and the settings'
// separators; a date of two numbers is in the current year, a year of one or two digits is put
// in the window of TwoDigitYearCenturyWindow. Times are h[:n[:s[.z]]] with an optional AM/PM.
// Failure raises EConvertError "'<text>' is not a valid date" (time, date and time).
TDateTime StrToDate(const String& s);
TDateTime StrToDate(const String& s, const TFormatSettings& settings);
TDateTime StrToDateDef(const String& s, TDateTime defaultValue);
bool TryStrToDate(const String& s, TDateTime& value);
bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToTime(const String& s);
TDateTime StrToTime(const String& s, const TFormatSettings& settings);
TDateTime StrToTimeDef(const String& s, TDateTime defaultValue);
bool TryStrToTime(const String& s, TDateTime& value);
bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTime(const String& s);
TDateTime StrToDateTime(const String& s, const TFormatSettings& settings);
TDateTime StrToDateTimeDef(const String& s, TDateTime defaultValue);
bool TryStrToDateTime(const String& s, TDateTime& value);
bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& settings);

namespace rtl {
// A TDateTime as milliseconds on a straight line from 1899-12-30 00:00 and back.
// Non-finite or absurdly large values raise EConvertError.
int64_t DateTimeToMs(TDateTime value);
TDateTime MsToDateTime(int64_t ms);
}  // namespace rtl
