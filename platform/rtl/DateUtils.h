// Parts, ranges, arithmetic and comparison of TDateTime values.
//
// Day of the week here is ISO (DayOfTheWeek: 1 = Monday .. 7 = Sunday), unlike SysUtils::DayOfWeek
// (1 = Sunday). The Between routines count whole periods, ignoring the sign of the difference;
// MonthsBetween and YearsBetween count calendar months (2009-03-05 to 2010-03-05 is one year,
// 31 January to the last of February is one month).
// Encode/Recode routines raise EConvertError on an invalid result; the Try forms return false.
#pragma once

#include "platform/rtl/System.h"

namespace DateUtils {

constexpr int DaysPerWeek = 7;
constexpr int MonthsPerYear = 12;
constexpr double ApproxDaysPerMonth = 30.4375;
constexpr double ApproxDaysPerYear = 365.25;

constexpr int LessThanValue = -1;
constexpr int EqualsValue = 0;
constexpr int GreaterThanValue = 1;

// Parts.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
Word YearOf(TDateTime value);
Word MonthOf(TDateTime value);
Word DayOf(TDateTime value);
Word HourOf(TDateTime value);
Word MinuteOf(TDateTime value);
Word SecondOf(TDateTime value);
Word MilliSecondOf(TDateTime value);
Word DayOfTheWeek(TDateTime value);  // ISO: 1 = Monday
Word DayOfTheMonth(TDateTime value);
Word DayOfTheYear(TDateTime value);               // 1-based
Word WeekOfTheYear(TDateTime value);              // ISO 8601 week number
Word WeekOfTheYear(TDateTime value, Word& year);  // also the ISO week-numbering year
Word WeeksInYear(Word year);
bool IsInLeapYear(TDateTime value);
bool IsPM(TDateTime value);
bool IsToday(TDateTime value);
bool IsSameDay(TDateTime value, TDateTime basis);
bool IsValidDate(Word year, Word month, Word day);
bool IsValidTime(Word hour, Word minute, Word second, Word milliSecond);
bool IsValidDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond);

// Sizes.
Word DaysInYear(TDateTime value);
Word DaysInAYear(Word year);
Word DaysInMonth(TDateTime value);
Word DaysInAMonth(Word year, Word month);  // raises EConvertError for a month outside 1..12

// Ranges.
TDateTime StartOfTheDay(TDateTime value);
TDateTime EndOfTheDay(TDateTime value);  // 23:59:59.999
TDateTime StartOfTheMonth(TDateTime value);
TDateTime EndOfTheMonth(TDateTime value);
TDateTime StartOfTheYear(TDateTime value);
TDateTime EndOfTheYear(TDateTime value);
TDateTime StartOfTheWeek(TDateTime value);  // the Monday
TDateTime EndOfTheWeek(TDateTime value);    // the Sunday, 23:59:59.999
TDateTime StartOfAMonth(Word year, Word month);
TDateTime EndOfAMonth(Word year, Word month);

// Whole periods between two values (never negative).
Int64 YearsBetween(TDateTime now, TDateTime then);
Int64 MonthsBetween(TDateTime now, TDateTime then);
Int64 WeeksBetween(TDateTime now, TDateTime then);
Int64 DaysBetween(TDateTime now, TDateTime then);
Int64 HoursBetween(TDateTime now, TDateTime then);
Int64 MinutesBetween(TDateTime now, TDateTime then);
Int64 SecondsBetween(TDateTime now, TDateTime then);
Int64 MilliSecondsBetween(TDateTime now, TDateTime then);
// Fractional spans (never negative).
double DaySpan(TDateTime now, TDateTime then);

// Arithmetic; IncYear clamps 29 February like IncMonth.
TDateTime IncYear(TDateTime value, int numberOfYears = 1);
TDateTime IncWeek(TDateTime value, int numberOfWeeks = 1);
TDateTime IncDay(TDateTime value, int numberOfDays = 1);
TDateTime IncHour(TDateTime value, Int64 numberOfHours = 1);
TDateTime IncMinute(TDateTime value, Int64 numberOfMinutes = 1);
TDateTime IncSecond(TDateTime value, Int64 numberOfSeconds = 1);
TDateTime IncMilliSecond(TDateTime value, Int64 numberOfMilliSeconds = 1);

// Encoding.
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond);
bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond,
                       TDateTime& value);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute, Word& second,
                    Word& milliSecond);
// Replaces the date part by year/month/day, keeping the time.
TDateTime RecodeDate(TDateTime value, Word year, Word month, Word day);
TDateTime RecodeTime(TDateTime value, Word hour, Word minute, Word second, Word milliSecond);
TDateTime RecodeYear(TDateTime value, Word year);
TDateTime RecodeMonth(TDateTime value, Word month);
TDateTime RecodeDay(TDateTime value, Word day);

// Comparison to the millisecond: -1, 0 or 1.
int CompareDateTime(TDateTime a, TDateTime b);
int CompareDate(TDateTime a, TDateTime b);
int CompareTime(TDateTime a, TDateTime b);
bool SameDateTime(TDateTime a, TDateTime b);
bool SameDate(TDateTime a, TDateTime b);
bool SameTime(TDateTime a, TDateTime b);

}  // namespace DateUtils
