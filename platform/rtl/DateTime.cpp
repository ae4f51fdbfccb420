#include "platform/rtl/DateTime.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

namespace SysUtils {

namespace {

constexpr Int64 kMSecsPerDay = 86400000;
constexpr Word kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                      {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

TDateTime SystemNow()
{
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  TDateTime d;
  TDateTime t;
  TryEncodeDate(static_cast<Word>(tm.tm_year + 1900), static_cast<Word>(tm.tm_mon + 1), static_cast<Word>(tm.tm_mday),
                d);
  // A leap second (tm_sec 60) is folded into the last ordinary second.
  TryEncodeTime(static_cast<Word>(tm.tm_hour), static_cast<Word>(tm.tm_min),
                static_cast<Word>(tm.tm_sec > 59 ? 59 : tm.tm_sec), static_cast<Word>(ts.tv_nsec / 1000000), t);
  return d.Value + t.Value;
}

}  // namespace

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word MonthDays(Word year, Word month)
{
  if (month < 1 || month > 12) throw EConvertError("Invalid argument to date encode");
  return kDaysInMonth[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date)
{
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const Word* table = kDaysInMonth[IsLeapYear(year) ? 1 : 0];
  if (day < 1 || day > table[month - 1]) return false;
  Int64 days = day;
  for (int i = 0; i < month - 1; ++i) days += table[i];
  const Int64 y = year - 1;
  date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day)
{
  TDateTime result;
  if (!TryEncodeDate(year, month, day, result)) throw EConvertError("Invalid argument to date encode");
  return result;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time)
{
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  const Int64 ms = ((hour * 60 + min) * 60 + sec) * Int64{1000} + msec;
  time = static_cast<double>(ms) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec)
{
  TDateTime result;
  if (!TryEncodeTime(hour, min, sec, msec, result)) throw EConvertError("Invalid argument to time encode");
  return result;
}

TTimeStamp DateTimeToTimeStamp(TDateTime dt)
{
  TTimeStamp ts;
  const double scaled = dt.Value * MSecsPerDay;
  // Far outside the calendar (or NaN): a zero stamp, which decodes to zero fields.
  if (!(std::fabs(scaled) < 9.0e17)) return ts;
  const Int64 ms = static_cast<Int64>(std::nearbyint(scaled));
  ts.Date = static_cast<Integer>(ms / kMSecsPerDay + DateDelta);
  ts.Time = static_cast<Integer>(std::llabs(ms) % kMSecsPerDay);
  return ts;
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts)
{
  const double days = static_cast<double>(ts.Date) - DateDelta;
  const double frac = static_cast<double>(ts.Time) / MSecsPerDay;
  return days < 0 ? days - frac : days + frac;
}

bool DecodeDateFully(TDateTime date, Word& year, Word& month, Word& day, Word& dow)
{
  const TTimeStamp ts = DateTimeToTimeStamp(date);
  Int64 t = ts.Date;
  if (t <= 0 || t > 3652059) {  // outside 0001-01-01 .. 9999-12-31
    year = month = day = dow = 0;
    return false;
  }
  dow = static_cast<Word>(t % 7 + 1);
  --t;  // days since 0001-01-01
  constexpr Int64 D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  Int64 y = 1 + (t / D400) * 400;
  t %= D400;
  Int64 i = t / D100;
  if (i == 4) i = 3;  // the last day of a 400-year cycle
  y += i * 100;
  t -= i * D100;
  y += (t / D4) * 4;
  t %= D4;
  i = t / D1;
  if (i == 4) i = 3;  // the last day of a leap year
  y += i;
  t -= i * D1;
  const bool leap = IsLeapYear(static_cast<Word>(y));
  const Word* table = kDaysInMonth[leap ? 1 : 0];
  int m = 0;
  while (t >= table[m]) t -= table[m++];
  year = static_cast<Word>(y);
  month = static_cast<Word>(m + 1);
  day = static_cast<Word>(t + 1);
  return leap;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day)
{
  Word dow;
  DecodeDateFully(date, year, month, day, dow);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec)
{
  Integer ms = DateTimeToTimeStamp(time).Time;
  hour = static_cast<Word>(ms / 3600000);
  ms %= 3600000;
  min = static_cast<Word>(ms / 60000);
  ms %= 60000;
  sec = static_cast<Word>(ms / 1000);
  msec = static_cast<Word>(ms % 1000);
}

TService<TClockFunction>& ClockService()
{
  static TService<TClockFunction> slot(std::make_unique<TClockFunction>(SystemNow));
  return slot;
}

TDateTime Now() { return ClockService().Current()(); }

TDateTime Date() { return std::trunc(Now().Value); }

TDateTime Time()
{
  const double n = Now().Value;
  return n - std::trunc(n);
}

int DayOfWeek(TDateTime date) { return DateTimeToTimeStamp(date).Date % 7 + 1; }

void ReplaceTime(TDateTime& dt, TDateTime newTime)
{
  const double day = std::trunc(dt.Value);
  const double frac = std::fabs(newTime.Value - std::trunc(newTime.Value));
  dt = day >= 0 ? day + frac : day - frac;
}

void ReplaceDate(TDateTime& dt, TDateTime newDate)
{
  TDateTime temp = newDate;
  ReplaceTime(temp, dt);
  dt = temp;
}

TDateTime IncMonth(TDateTime date, int numberOfMonths)
{
  Word y, m, d;
  DecodeDate(date, y, m, d);
  if (y == 0) throw EConvertError("Invalid argument to date encode");
  Int64 months = Int64{y} * 12 + (m - 1) + numberOfMonths;
  if (months < 12 || months >= Int64{10000} * 12) throw EConvertError("Invalid argument to date encode");
  const Word ny = static_cast<Word>(months / 12);
  const Word nm = static_cast<Word>(months % 12 + 1);
  const Word last = MonthDays(ny, nm);
  TDateTime result = EncodeDate(ny, nm, d > last ? last : d);
  ReplaceTime(result, date);
  return result;
}

}  // namespace SysUtils
