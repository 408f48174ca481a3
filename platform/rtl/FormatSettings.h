#pragma once
// The process-wide number, currency and date-time settings that the conversion routines read.
// The defaults are fixed (an en-US-like set with an ISO-ordered short date) and never taken from
// the machine's locale, so formatting and parsing give the same text on every machine.
#include <array>
#include <cstdint>

#include "platform/rtl/String.h"

struct TFormatSettings {
    char16_t DecimalSeparator = u'.';
    char16_t ThousandSeparator = u',';
    String CurrencyString = u"$";
    // 0: "$1", 1: "1$", 2: "$ 1", 3: "1 $".
    uint8_t CurrencyFormat = 0;
    // 0..15 as on the original platform; 0 is "($1)".
    uint8_t NegCurrFormat = 0;
    uint8_t CurrencyDecimals = 2;
    char16_t DateSeparator = u'/';
    char16_t TimeSeparator = u':';
    char16_t ListSeparator = u',';
    String ShortDateFormat = u"yyyy/mm/dd";
    String LongDateFormat = u"dddd, mmmm d, yyyy";
    String ShortTimeFormat = u"h:nn";
    String LongTimeFormat = u"h:nn:ss";
    String TimeAMString = u"AM";
    String TimePMString = u"PM";
    std::array<String, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                           u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    std::array<String, 12> LongMonthNames{u"January", u"February", u"March",     u"April",
                                          u"May",     u"June",     u"July",      u"August",
                                          u"September", u"October", u"November", u"December"};
    // Index 0 is Sunday, as DayOfWeek - 1.
    std::array<String, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    std::array<String, 7> LongDayNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                       u"Thursday", u"Friday", u"Saturday"};
    // A two-digit year is put within this many years before the current year (0: current century).
    uint16_t TwoDigitYearCenturyWindow = 50;

    // The fixed defaults above, whatever the global object holds now.
    static TFormatSettings Default() { return TFormatSettings(); }
};

// The settings every routine uses unless it is given its own. Written at start-up or by tests,
// read everywhere: changing it while other threads format numbers is the caller's race.
extern TFormatSettings FormatSettings;
