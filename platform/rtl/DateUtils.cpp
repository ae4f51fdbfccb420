#include "platform/rtl/DateUtils.h"

#include <cmath>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace DateUtils {

using namespace SysUtils;

namespace {

struct Parts {
  Word y, m, d, h, n, s, ms;
};

Parts Split(TDateTime v)
{
  Parts p;
  DecodeDate(v, p.y, p.m, p.d);
  DecodeTime(v, p.h, p.n, p.s, p.ms);
  return p;
}

// Milliseconds on one straight time line (a negative TDateTime counts its fraction forward
// from the start of its day, so plain subtraction of the doubles would be wrong there).
Int64 LinearMs(TDateTime v)
{
  const TTimeStamp ts = DateTimeToTimeStamp(v);
  return Int64{ts.Date} * 86400000 + ts.Time;
}

TDateTime FromLinearMs(Int64 ms)
{
  TTimeStamp ts;
  Int64 days = ms / 86400000;
  Int64 rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  ts.Date = static_cast<Integer>(days);
  ts.Time = static_cast<Integer>(rest);
  return TimeStampToDateTime(ts);
}

[[noreturn]] void InvalidDate() { throw EConvertError("Invalid argument to date encode"); }

// Combines a date and a time of day as the classic model does for negative dates.
TDateTime Combine(TDateTime date, TDateTime time)
{
  return date.Value >= 0 ? date.Value + time.Value : date.Value - time.Value;
}

// Whole months from `a` to `b` (a <= b): calendar months, less one when b's day and time of
// the month come before a's.
Int64 WholeMonths(TDateTime a, TDateTime b)
{
  const Parts pa = Split(a), pb = Split(b);
  Int64 months = (Int64{pb.y} - pa.y) * 12 + (Int64{pb.m} - pa.m);
  const Int64 restA = ((Int64{pa.d} * 24 + pa.h) * 60 + pa.n) * 60000 + pa.s * 1000 + pa.ms;
  const Int64 restB = ((Int64{pb.d} * 24 + pb.h) * 60 + pb.n) * 60000 + pb.s * 1000 + pb.ms;
  // The end of a shorter month counts as the same day: 31 Jan .. 28 Feb is one month.
  const bool bAtMonthEnd = pb.d == MonthDays(pb.y, pb.m) && pa.d > pb.d;
  if (restB < restA && !bAtMonthEnd) --months;
  return months < 0 ? 0 : months;
}

}  // namespace

TDateTime DateOf(TDateTime value) { return std::trunc(value.Value); }

TDateTime TimeOf(TDateTime value) { return std::fabs(value.Value - std::trunc(value.Value)); }

Word YearOf(TDateTime value) { return Split(value).y; }
Word MonthOf(TDateTime value) { return Split(value).m; }
Word DayOf(TDateTime value) { return Split(value).d; }
Word HourOf(TDateTime value) { return Split(value).h; }
Word MinuteOf(TDateTime value) { return Split(value).n; }
Word SecondOf(TDateTime value) { return Split(value).s; }
Word MilliSecondOf(TDateTime value) { return Split(value).ms; }

Word DayOfTheWeek(TDateTime value) { return static_cast<Word>((DayOfWeek(value) + 5) % 7 + 1); }

Word DayOfTheMonth(TDateTime value) { return DayOf(value); }

Word DayOfTheYear(TDateTime value)
{
  const Parts p = Split(value);
  return static_cast<Word>(DateTimeToTimeStamp(value).Date - DateTimeToTimeStamp(EncodeDate(p.y, 1, 1)).Date + 1);
}

Word WeeksInYear(Word year)
{
  const Word jan1 = DayOfTheWeek(EncodeDate(year, 1, 1));
  return (jan1 == 4 || (jan1 == 3 && IsLeapYear(year))) ? 53 : 52;
}

Word WeekOfTheYear(TDateTime value, Word& year)
{
  year = YearOf(value);
  const int doy = DayOfTheYear(value);
  const int dow = DayOfTheWeek(value);
  int week = (doy - dow + 10) / 7;
  if (week < 1) {
    --year;
    week = WeeksInYear(year);
  } else if (week > WeeksInYear(year)) {
    ++year;
    week = 1;
  }
  return static_cast<Word>(week);
}

Word WeekOfTheYear(TDateTime value)
{
  Word year;
  return WeekOfTheYear(value, year);
}

bool IsInLeapYear(TDateTime value) { return IsLeapYear(YearOf(value)); }

bool IsPM(TDateTime value) { return HourOf(value) >= 12; }

bool IsSameDay(TDateTime value, TDateTime basis)
{
  return DateTimeToTimeStamp(value).Date == DateTimeToTimeStamp(basis).Date;
}

bool IsToday(TDateTime value) { return IsSameDay(value, Date()); }

bool IsValidDate(Word year, Word month, Word day)
{
  TDateTime d;
  return TryEncodeDate(year, month, day, d);
}

bool IsValidTime(Word hour, Word minute, Word second, Word milliSecond)
{
  TDateTime t;
  return TryEncodeTime(hour, minute, second, milliSecond, t);
}

bool IsValidDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond)
{
  return IsValidDate(year, month, day) && IsValidTime(hour, minute, second, milliSecond);
}

Word DaysInAYear(Word year) { return IsLeapYear(year) ? 366 : 365; }
Word DaysInYear(TDateTime value) { return DaysInAYear(YearOf(value)); }
Word DaysInAMonth(Word year, Word month) { return MonthDays(year, month); }
Word DaysInMonth(TDateTime value)
{
  const Parts p = Split(value);
  return MonthDays(p.y, p.m);
}

TDateTime StartOfTheDay(TDateTime value) { return DateOf(value); }

TDateTime EndOfTheDay(TDateTime value) { return RecodeTime(value, 23, 59, 59, 999); }

TDateTime StartOfAMonth(Word year, Word month) { return EncodeDate(year, month, 1); }

TDateTime EndOfAMonth(Word year, Word month)
{
  return EncodeDateTime(year, month, DaysInAMonth(year, month), 23, 59, 59, 999);
}

TDateTime StartOfTheMonth(TDateTime value)
{
  const Parts p = Split(value);
  return StartOfAMonth(p.y, p.m);
}

TDateTime EndOfTheMonth(TDateTime value)
{
  const Parts p = Split(value);
  return EndOfAMonth(p.y, p.m);
}

TDateTime StartOfTheYear(TDateTime value) { return EncodeDate(YearOf(value), 1, 1); }

TDateTime EndOfTheYear(TDateTime value) { return EncodeDateTime(YearOf(value), 12, 31, 23, 59, 59, 999); }

TDateTime StartOfTheWeek(TDateTime value)
{
  return FromLinearMs((Int64{DateTimeToTimeStamp(value).Date} - (DayOfTheWeek(value) - 1)) * 86400000);
}

TDateTime EndOfTheWeek(TDateTime value)
{
  return FromLinearMs(LinearMs(StartOfTheWeek(value)) + 7 * Int64{86400000} - 1);
}

Int64 MilliSecondsBetween(TDateTime now, TDateTime then)
{
  const Int64 d = LinearMs(now) - LinearMs(then);
  return d < 0 ? -d : d;
}
Int64 SecondsBetween(TDateTime now, TDateTime then) { return MilliSecondsBetween(now, then) / 1000; }
Int64 MinutesBetween(TDateTime now, TDateTime then) { return MilliSecondsBetween(now, then) / 60000; }
Int64 HoursBetween(TDateTime now, TDateTime then) { return MilliSecondsBetween(now, then) / 3600000; }
Int64 DaysBetween(TDateTime now, TDateTime then) { return MilliSecondsBetween(now, then) / 86400000; }
Int64 WeeksBetween(TDateTime now, TDateTime then) { return DaysBetween(now, then) / 7; }

Int64 MonthsBetween(TDateTime now, TDateTime then)
{
  return LinearMs(now) >= LinearMs(then) ? WholeMonths(then, now) : WholeMonths(now, then);
}

Int64 YearsBetween(TDateTime now, TDateTime then) { return MonthsBetween(now, then) / 12; }

double DaySpan(TDateTime now, TDateTime then)
{
  return static_cast<double>(MilliSecondsBetween(now, then)) / MSecsPerDay;
}

TDateTime IncYear(TDateTime value, int numberOfYears) { return IncMonth(value, numberOfYears * 12); }

namespace {

// value + count units of `unitMs` milliseconds, exact on the millisecond time line. Far outside
// the calendar there is no day to keep exact, and plain arithmetic on the days serves.
TDateTime AddMs(TDateTime value, Int64 count, Int64 unitMs)
{
  Int64 delta, ms;
  constexpr Int64 kLimit = Int64{3700000} * 86400000;  // beyond the years 1..9999 either way
  const Int64 start = LinearMs(value);
  if (!__builtin_mul_overflow(count, unitMs, &delta) && !__builtin_add_overflow(start, delta, &ms) &&
      std::fabs(value.Value) < 3.7e6 && ms > -kLimit && ms < kLimit)
    return FromLinearMs(ms);
  return value.Value + static_cast<double>(count) * static_cast<double>(unitMs) / MSecsPerDay;
}

}  // namespace

TDateTime IncWeek(TDateTime value, int numberOfWeeks) { return AddMs(value, numberOfWeeks, 7 * Int64{86400000}); }

TDateTime IncDay(TDateTime value, int numberOfDays) { return AddMs(value, numberOfDays, 86400000); }

TDateTime IncHour(TDateTime value, Int64 numberOfHours) { return AddMs(value, numberOfHours, 3600000); }

TDateTime IncMinute(TDateTime value, Int64 numberOfMinutes) { return AddMs(value, numberOfMinutes, 60000); }

TDateTime IncSecond(TDateTime value, Int64 numberOfSeconds) { return AddMs(value, numberOfSeconds, 1000); }

TDateTime IncMilliSecond(TDateTime value, Int64 numberOfMilliSeconds) { return AddMs(value, numberOfMilliSeconds, 1); }

bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond,
                       TDateTime& value)
{
  TDateTime d, t;
  if (!TryEncodeDate(year, month, day, d) || !TryEncodeTime(hour, minute, second, milliSecond, t)) return false;
  value = Combine(d, t);
  return true;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word milliSecond)
{
  TDateTime v;
  if (!TryEncodeDateTime(year, month, day, hour, minute, second, milliSecond, v)) InvalidDate();
  return v;
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute, Word& second,
                    Word& milliSecond)
{
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, milliSecond);
}

TDateTime RecodeDate(TDateTime value, Word year, Word month, Word day)
{
  const Parts p = Split(value);
  return EncodeDateTime(year, month, day, p.h, p.n, p.s, p.ms);
}

TDateTime RecodeTime(TDateTime value, Word hour, Word minute, Word second, Word milliSecond)
{
  const Parts p = Split(value);
  return EncodeDateTime(p.y, p.m, p.d, hour, minute, second, milliSecond);
}

TDateTime RecodeYear(TDateTime value, Word year)
{
  const Parts p = Split(value);
  return EncodeDateTime(year, p.m, p.d, p.h, p.n, p.s, p.ms);
}

TDateTime RecodeMonth(TDateTime value, Word month)
{
  const Parts p = Split(value);
  return EncodeDateTime(p.y, month, p.d, p.h, p.n, p.s, p.ms);
}

TDateTime RecodeDay(TDateTime value, Word day)
{
  const Parts p = Split(value);
  return EncodeDateTime(p.y, p.m, day, p.h, p.n, p.s, p.ms);
}

int CompareDateTime(TDateTime a, TDateTime b)
{
  const Int64 x = LinearMs(a), y = LinearMs(b);
  return x < y ? LessThanValue : x > y ? GreaterThanValue : EqualsValue;
}

int CompareDate(TDateTime a, TDateTime b)
{
  const Integer x = DateTimeToTimeStamp(a).Date, y = DateTimeToTimeStamp(b).Date;
  return x < y ? LessThanValue : x > y ? GreaterThanValue : EqualsValue;
}

int CompareTime(TDateTime a, TDateTime b)
{
  const Integer x = DateTimeToTimeStamp(a).Time, y = DateTimeToTimeStamp(b).Time;
  return x < y ? LessThanValue : x > y ? GreaterThanValue : EqualsValue;
}

bool SameDateTime(TDateTime a, TDateTime b) { return CompareDateTime(a, b) == EqualsValue; }
bool SameDate(TDateTime a, TDateTime b) { return CompareDate(a, b) == EqualsValue; }
bool SameTime(TDateTime a, TDateTime b) { return CompareTime(a, b) == EqualsValue; }

}  // namespace DateUtils
