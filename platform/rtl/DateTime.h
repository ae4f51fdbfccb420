// Encoding, decoding and clock routines of TDateTime (days since 1899-12-30, the fraction is the
// time of day).
//
// Negative values follow the classic model: the integral part counts days before 1899-12-30 and
// the fraction is the time of day whatever the sign (-1.25 is 1899-12-29 06:00).
// Years run from 1 to 9999. Encode routines raise EConvertError on an invalid date or time; the
// Try forms return false instead and leave the result untouched.
#pragma once

#include "platform/rtl/System.h"

namespace SysUtils {

constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24.0 * 60 * 60 * 1000;
// Days from 0001-01-01 to 1899-12-30 (the day count of TDateTime 0 in the proleptic calendar).
constexpr int DateDelta = 693594;
constexpr double MinDateTime = -693593.0;         // 0001-01-01
constexpr double MaxDateTime = 2958465.99999999;  // 9999-12-31 23:59:59.999

bool IsLeapYear(Word year);
// Days of the month (month 1..12) in a year; raises EConvertError for a month outside 1..12.
Word MonthDays(Word year, Word month);

// Raises EConvertError "Invalid argument to date encode".
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
// Raises EConvertError "Invalid argument to time encode".
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);

// Out-of-range values decode to 0 fields.
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
// As DecodeDate, also giving the day of the week (1 = Sunday); returns whether the year is leap.
bool DecodeDateFully(TDateTime date, Word& year, Word& month, Word& day, Word& dow);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);

TDateTime Now();
TDateTime Date();
TDateTime Time();
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);
// Adds months, clamping the day to the last day of the target month; keeps the time of day.
TDateTime IncMonth(TDateTime date, int numberOfMonths = 1);
// Keeps the time (date) part of dt and takes the date (time) part of the second argument.
void ReplaceDate(TDateTime& dt, TDateTime newDate);
void ReplaceTime(TDateTime& dt, TDateTime newTime);

// Milliseconds-exact split of a TDateTime into whole days and milliseconds of the day (the
// fraction taken as the time of day, rounded to the nearest millisecond).
struct TTimeStamp {
  Integer Time = 0;  // milliseconds since midnight
  Integer Date = 0;  // days since 0001-01-01, plus one
};
TTimeStamp DateTimeToTimeStamp(TDateTime dt);
TDateTime TimeStampToDateTime(const TTimeStamp& ts);

// Now, Date and Time read the clock of platform/rtl/Clock.h, which tests can pin.

}  // namespace SysUtils
