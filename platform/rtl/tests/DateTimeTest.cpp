#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"

using namespace SysUtils;
using namespace DateUtils;

namespace {

// 2009-03-04 (a Wednesday) 10:30:00.
TDateTime FixedNow() { return 39876.4375; }

class DateTimeTest : public ::testing::Test {
protected:
  TScopedClock FClock{FixedNow};
};

struct Ymd {
  Word y, m, d;
};

Ymd Decode(TDateTime v)
{
  Ymd r{};
  DecodeDate(v, r.y, r.m, r.d);
  return r;
}

#define EXPECT_YMD(value, Y, M, D)  \
  do {                              \
    const Ymd got_ = Decode(value); \
    EXPECT_EQ(got_.y, Y);           \
    EXPECT_EQ(got_.m, M);           \
    EXPECT_EQ(got_.d, D);           \
  } while (0)

}  // namespace

TEST_F(DateTimeTest, InvalidDatesAndTimesRaise)
{
  const Ymd bad[] = {{2009, 2, 29}, {2100, 2, 29}, {2009, 13, 1}, {2009, 0, 1},
                     {2009, 4, 31}, {2009, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const Ymd& b : bad) {
    TDateTime kept = 7.0;
    EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, kept)) << b.y << '-' << b.m << '-' << b.d;
    EXPECT_EQ(kept.Value, 7.0);
    try {
      EncodeDate(b.y, b.m, b.d);
      ADD_FAILURE();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
  const Word badTimes[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& t : badTimes) {
    try {
      EncodeTime(t[0], t[1], t[2], t[3]);
      ADD_FAILURE();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to time encode");
    }
  }
}

TEST_F(DateTimeTest, EncodeDateKnownDays)
{
  struct Case {
    Word y, m, d;
    double value;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},    {1899, 12, 31, 1},  {1900, 1, 1, 2},         {1899, 12, 29, -1},     {2009, 3, 5, 39877},
      {2000, 2, 29, 36585}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1600, 2, 29, -109512}, {2008, 12, 31, 39813},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d).Value, c.value);
    EXPECT_YMD(c.value, c.y, c.m, c.d);
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2008));
  EXPECT_FALSE(IsLeapYear(2009));
  EXPECT_EQ(MonthDays(2008, 2), 29);
  EXPECT_EQ(MonthDays(2009, 2), 28);
  EXPECT_THROW(MonthDays(2009, 13), EConvertError);
}

TEST_F(DateTimeTest, EveryDayRoundTripsAndWeekdaysAdvance)
{
  TDateTime d = EncodeDate(1600, 1, 1);
  int dow = DayOfWeek(d);
  for (double v = d; v < EncodeDate(2400, 12, 31); v += 1) {
    const Ymd p = Decode(v);
    ASSERT_EQ(EncodeDate(p.y, p.m, p.d).Value, v);
    const int next = DayOfWeek(v + 1);
    ASSERT_EQ(next, dow % 7 + 1);
    dow = next;
  }
}

TEST_F(DateTimeTest, NegativeValuesCountTheFractionAsTimeOfDay)
{
  // -1.25 is 1899-12-29 06:00, not 18:00 of the day before.
  Word h, n, s, ms;
  EXPECT_YMD(-1.25, 1899, 12, 29);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(n, 0);
  EXPECT_YMD(-0.5, 1899, 12, 30);
  DecodeTime(-0.5, h, n, s, ms);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(DayOfWeek(-1.25), 6);  // Friday
  TDateTime v = -1.25;
  ReplaceTime(v, EncodeTime(18, 0, 0, 0));
  EXPECT_DOUBLE_EQ(v.Value, -1.75);
  ReplaceDate(v, EncodeDate(1900, 1, 1));
  EXPECT_DOUBLE_EQ(v.Value, 2.75);
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0).Value, -1.25);
  EXPECT_DOUBLE_EQ(IncHour(-1.25, 24).Value, 0.25);  // 1899-12-30 06:00
  EXPECT_DOUBLE_EQ(IncHour(-1.25, -6).Value, -1.0);
  EXPECT_DOUBLE_EQ(IncHour(-1.25, 6).Value, -1.5);
  EXPECT_EQ(HoursBetween(-1.25, 0.25), 24);
  EXPECT_EQ(DateOf(-1.25).Value, -1.0);
  EXPECT_DOUBLE_EQ(TimeOf(-1.25).Value, 0.25);
  // Far outside the calendar decodes to zeros instead of garbage.
  EXPECT_YMD(1e12, 0, 0, 0);
  EXPECT_YMD(std::nan(""), 0, 0, 0);
}

TEST_F(DateTimeTest, TimesDecodeToTheMillisecond)
{
  Word h, n, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(h, 23);
  EXPECT_EQ(n, 59);
  EXPECT_EQ(s, 59);
  EXPECT_EQ(ms, 999);
  DecodeTime(EncodeDate(2009, 3, 5) + EncodeTime(14, 7, 9, 45), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 140709045);
  // A hair below midnight rounds to the next day.
  EXPECT_YMD(39877.0 - 1e-10, 2009, 3, 5);
  DecodeTime(39877.0 - 1e-10, h, n, s, ms);
  EXPECT_EQ(h + n + s + ms, 0);
}

TEST_F(DateTimeTest, ClockRoutinesReadTheInjectedClock)
{
  EXPECT_EQ(Now().Value, 39876.4375);
  EXPECT_EQ(Date().Value, 39876.0);
  EXPECT_EQ(Time().Value, 0.4375);
  EXPECT_TRUE(IsToday(39876.9));
  EXPECT_FALSE(IsToday(39877.0));
  ClockService().Install(nullptr);  // the system clock again, until the fixture's scope ends
  const double real = Now();
  EXPECT_GT(real, EncodeDate(2020, 1, 1));
  EXPECT_LT(real, EncodeDate(2200, 1, 1));
}

TEST_F(DateTimeTest, IncMonthClampsTheDayAndKeepsTheTime)
{
  struct Case {
    Ymd from;
    int months;
    Ymd to;
  };
  const Case cases[] = {
      {{2009, 1, 31}, 1, {2009, 2, 28}},  {{2008, 1, 31}, 1, {2008, 2, 29}},    {{2009, 3, 31}, -1, {2009, 2, 28}},
      {{2009, 11, 30}, 3, {2010, 2, 28}}, {{2009, 1, 15}, -13, {2007, 12, 15}}, {{2008, 2, 29}, 12, {2009, 2, 28}},
      {{2009, 5, 5}, 0, {2009, 5, 5}},
  };
  for (const Case& c : cases) {
    const TDateTime from = EncodeDate(c.from.y, c.from.m, c.from.d) + 0.75;
    const TDateTime to = IncMonth(from, c.months);
    EXPECT_EQ(to.Value, EncodeDate(c.to.y, c.to.m, c.to.d) + 0.75) << c.months;
  }
  EXPECT_YMD(IncYear(EncodeDate(2008, 2, 29)), 2009, 2, 28);
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
  EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
}

TEST_F(DateTimeTest, DatePartsAndRanges)
{
  const TDateTime v = EncodeDateTime(2009, 3, 5, 14, 7, 9, 45);
  EXPECT_EQ(YearOf(v), 2009);
  EXPECT_EQ(MonthOf(v), 3);
  EXPECT_EQ(DayOf(v), 5);
  EXPECT_EQ(HourOf(v), 14);
  EXPECT_EQ(MinuteOf(v), 7);
  EXPECT_EQ(SecondOf(v), 9);
  EXPECT_EQ(MilliSecondOf(v), 45);
  EXPECT_EQ(DayOfWeek(v), 5);     // Thursday, 1 = Sunday
  EXPECT_EQ(DayOfTheWeek(v), 4);  // ISO, 1 = Monday
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2009, 3, 8)), 7);
  EXPECT_EQ(DayOfTheYear(v), 64);
  EXPECT_EQ(DayOfTheYear(EncodeDate(2008, 12, 31)), 366);
  EXPECT_TRUE(IsPM(v));
  EXPECT_EQ(DaysInMonth(EncodeDate(2008, 2, 10)), 29);
  EXPECT_EQ(DaysInAMonth(2100, 2), 28);
  EXPECT_EQ(DaysInYear(v), 365);
  EXPECT_EQ(DaysInAYear(2000), 366);
  EXPECT_EQ(StartOfTheMonth(v).Value, EncodeDate(2009, 3, 1).Value);
  EXPECT_EQ(EndOfTheMonth(EncodeDate(2008, 2, 3)).Value, EncodeDateTime(2008, 2, 29, 23, 59, 59, 999).Value);
  EXPECT_EQ(StartOfTheYear(v).Value, EncodeDate(2009, 1, 1).Value);
  EXPECT_EQ(EndOfTheYear(v).Value, EncodeDateTime(2009, 12, 31, 23, 59, 59, 999).Value);
  EXPECT_EQ(StartOfTheWeek(v).Value, EncodeDate(2009, 3, 2).Value);
  EXPECT_EQ(EndOfTheWeek(v).Value, EncodeDateTime(2009, 3, 8, 23, 59, 59, 999).Value);
  EXPECT_EQ(EndOfTheDay(v).Value, EncodeDateTime(2009, 3, 5, 23, 59, 59, 999).Value);
  EXPECT_EQ(RecodeDate(v, 2010, 1, 2).Value, EncodeDateTime(2010, 1, 2, 14, 7, 9, 45).Value);
  EXPECT_EQ(RecodeTime(v, 1, 2, 3, 4).Value, EncodeDateTime(2009, 3, 5, 1, 2, 3, 4).Value);
  EXPECT_THROW(RecodeDay(v, 31 + 1), EConvertError);
  EXPECT_THROW(RecodeMonth(EncodeDate(2009, 1, 31), 2), EConvertError);
  Word y, mo, d, h, mi, s, ms;
  DecodeDateTime(v, y, mo, d, h, mi, s, ms);
  EXPECT_EQ(y * 10000 + mo * 100 + d, 20090305);
  EXPECT_EQ(ms, 45);
}

TEST_F(DateTimeTest, IsoWeekNumbers)
{
  struct Case {
    Ymd date;
    Word week, year;
  };
  const Case cases[] = {
      {{2008, 12, 29}, 1, 2009},  // Monday of the week holding 1 January 2009
      {{2009, 1, 1}, 1, 2009},   {{2010, 1, 3}, 53, 2009}, {{2010, 1, 4}, 1, 2010},
      {{2005, 1, 1}, 53, 2004},  {{2009, 3, 5}, 10, 2009}, {{2012, 12, 31}, 1, 2013},
  };
  for (const Case& c : cases) {
    Word year = 0;
    EXPECT_EQ(WeekOfTheYear(EncodeDate(c.date.y, c.date.m, c.date.d), year), c.week);
    EXPECT_EQ(year, c.year);
  }
  EXPECT_EQ(WeeksInYear(2009), 53);
  EXPECT_EQ(WeeksInYear(2010), 52);
}

TEST_F(DateTimeTest, SpansCountWholePeriods)
{
  const TDateTime a = EncodeDate(2009, 3, 5);
  EXPECT_EQ(DaysBetween(a, a + 10.5), 10);
  EXPECT_EQ(DaysBetween(a + 10.5, a), 10);
  EXPECT_EQ(WeeksBetween(a, a + 13), 1);
  EXPECT_EQ(MinutesBetween(a, a + EncodeTime(1, 30, 59, 0)), 90);
  EXPECT_EQ(SecondsBetween(a, IncSecond(a, 3601)), 3601);
  EXPECT_EQ(MilliSecondsBetween(a, IncMilliSecond(a, 1)), 1);
  EXPECT_EQ(YearsBetween(a, EncodeDate(2010, 3, 5)), 1);
  EXPECT_EQ(YearsBetween(a, EncodeDate(2010, 3, 4)), 0);
  EXPECT_EQ(YearsBetween(EncodeDate(2008, 2, 29), EncodeDate(2009, 2, 28)), 1);
  EXPECT_EQ(MonthsBetween(EncodeDate(2009, 1, 31), EncodeDate(2009, 2, 28)), 1);
  EXPECT_EQ(MonthsBetween(EncodeDate(2009, 1, 15), EncodeDate(2009, 2, 14)), 0);
  EXPECT_EQ(MonthsBetween(EncodeDate(2009, 5, 15), EncodeDate(2008, 5, 15)), 12);
  EXPECT_DOUBLE_EQ(DaySpan(a, a + 1.5), 1.5);
  EXPECT_EQ(IncDay(a, -1).Value, a - 1);
  EXPECT_EQ(IncWeek(a, 2).Value, a + 14);
  EXPECT_DOUBLE_EQ(IncMinute(a, 90).Value, a + 0.0625);
  // Beyond the calendar: plain arithmetic, no overflow.
  EXPECT_GT(IncMilliSecond(a, std::numeric_limits<Int64>::max()).Value, 1e8);
  EXPECT_LT(IncHour(a, std::numeric_limits<Int64>::min()).Value, -1e8);
}

TEST_F(DateTimeTest, ComparisonsToTheMillisecond)
{
  const TDateTime a = EncodeDateTime(2009, 3, 5, 10, 0, 0, 0);
  EXPECT_EQ(CompareDateTime(a, IncMilliSecond(a, 1)), LessThanValue);
  EXPECT_EQ(CompareDateTime(a, a + 1e-12), EqualsValue);
  EXPECT_EQ(CompareDateTime(-1.25, -1.5), LessThanValue);  // 06:00 before 12:00 that day
  EXPECT_EQ(CompareDate(a, EncodeDate(2009, 3, 5)), EqualsValue);
  EXPECT_EQ(CompareDate(a, EncodeDate(2009, 3, 4)), GreaterThanValue);
  EXPECT_EQ(CompareTime(a, EncodeDate(2001, 1, 1) + EncodeTime(9, 0, 0, 0)), GreaterThanValue);
  EXPECT_TRUE(SameDate(a, EncodeDate(2009, 3, 5) + 0.99));
  EXPECT_FALSE(SameDateTime(a, IncSecond(a)));
  EXPECT_TRUE(SameTime(a, EncodeTime(10, 0, 0, 0)));
  EXPECT_TRUE(IsSameDay(a, EncodeDate(2009, 3, 5)));
  EXPECT_TRUE(IsValidDateTime(2008, 2, 29, 23, 59, 59, 999));
  EXPECT_FALSE(IsValidDate(2009, 2, 29));
  EXPECT_FALSE(IsValidTime(24, 0, 0, 0));
}
