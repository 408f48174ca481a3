#pragma once
// The date-time picker's fields: its format parsed into fields and literals, each field shown,
// stepped, typed and held within its range. Plain functions over a decomposed value, so the
// rules are the same for every picker whatever shows it.
#include <vector>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"
#include "platform/ui/CommNotify.h"

namespace ui::datetime {

enum class Field { Literal, Day, DayName, Month, Year, Hour12, Hour24, Minute, Second, AmPm };

// One part of a format: a field with the length of its code (d 1, dd 2, ddd 3, dddd 4, MMM 3,
// yyyy 4...) or literal text.
struct Element {
    Field Kind = Field::Literal;
    int Width = 0;
    String Literal;
    bool Editable() const { return Kind != Field::Literal && Kind != Field::DayName; }
};

// A moment taken apart; year 1..9999.
struct Stamp {
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0, MSec = 0;
    static Stamp Of(TDateTime value);
    TDateTime Value() const;
};

// Codes d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh (12-hour), H HH, m mm, s ss, t tt; a
// longer run of a letter is its longest code. '...' is literal text ('' a quote, also inside
// it); every other character, unknown letters included, is a literal.
std::vector<Element> ParseFormat(const String& format);
// The settings' own format (FormatDateTime's codes: m after h is minutes, n minutes, am/pm the
// 12-hour clock, / and : the separators) in the picker's codes.
String PickerFormatOf(const String& settingsFormat, const TFormatSettings& settings);

String Show(const Element& e, const Stamp& s, const TFormatSettings& settings);
// Up (+1) or down (-1) within the field's range, wrapping without carrying into other fields;
// a day stays within its month.
Stamp Step(const Element& e, Stamp s, int delta);
// The field's first or last value.
Stamp Edge(const Element& e, Stamp s, bool last);
// How many digits complete a typed entry, and the largest value an entry can reach: a digit
// whose tenfold exceeds it completes the entry at once.
int DigitsOf(const Element& e);
int MostOf(const Element& e);
// A typed value put into the field, held within its range (a day within its month); a two-digit
// year is put in the settings' century window.
Stamp Put(const Element& e, Stamp s, int typed, int digits, const TFormatSettings& settings);
// A day within its month.
Stamp Hold(Stamp s);
// A moment as the messages carry it (the day of the week from 0, Sunday).
SYSTEMTIME SystemTimeOf(TDateTime value);

}  // namespace ui::datetime
