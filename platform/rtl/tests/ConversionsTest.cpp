#include "platform/rtl/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

using namespace SysUtils;
#include "platform/rtl/tests/RtlTestUtil.h"

namespace {

using RtlTest::RawCurr;

// 2026-06-15 10:30.
TDateTime ConversionsNow() { return 46188.4375; }

class ConversionsTest : public ::testing::Test {
protected:
  void SetUp() override { ResetFormatSettings(); }
  void TearDown() override { ResetFormatSettings(); }
  TScopedClock FClock{ConversionsNow};
};

TDateTime DT(Word y, Word m, Word d, Word h = 0, Word n = 0, Word s = 0, Word ms = 0)
{
  return DateUtils::EncodeDateTime(y, m, d, h, n, s, ms);
}

}  // namespace

// ---- Integers --------------------------------------------------------------------------------------

TEST_F(ConversionsTest, BadIntegersRaiseWithTheText)
{
  const char* bad[] = {"",  " ",  "abc", "12a", "1 2",        "12 ",         "- 5",        "+",
                       "$", "0x", "1.5", "1e3", "2147483648", "-2147483649", "$100000000", "１２"};
  for (const char* s : bad) {
    Integer kept = 99;
    EXPECT_FALSE(TryStrToInt(s, kept)) << s;
    EXPECT_EQ(kept, 99);
    EXPECT_EQ(StrToIntDef(s, -7), -7);
  }
  try {
    StrToInt("12a");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST_F(ConversionsTest, IntegersInDecimalAndHexadecimal)
{
  struct Case {
    const char* text;
    Integer value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"  42", 42},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X1F", 31},
      {"x10", 16},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
  EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

// ---- Floats and Currency -------------------------------------------------------------------------

TEST_F(ConversionsTest, BadFloatsRaiseWithTheText)
{
  const char* bad[] = {"", "abc", ".", "1.2.3", "1,234.5", "1e", "1e+", "--1", "NAN", "INF", "1e400", "0x10", "1.5x"};
  for (const char* s : bad) {
    double kept = 9.5;
    EXPECT_FALSE(TryStrToFloat(s, kept)) << s;
    EXPECT_EQ(kept, 9.5);
  }
  try {
    StrToFloat("1,5");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1,5' is not a valid floating point value");
  }
}

TEST_F(ConversionsTest, FloatsWithTheDecimalSeparator)
{
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"1.5", 1.5},  {" -1.5 ", -1.5},   {"+2", 2},    {".5", 0.5},   {"5.", 5},
      {"1e3", 1000}, {"1.5E-3", 0.0015}, {"0.1", 0.1}, {"1e-400", 0}, {"12345.678", 12345.678},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
  EXPECT_TRUE(std::signbit(StrToFloat("-0")));
  EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
  DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_THROW(StrToFloat("1.5"), EConvertError);
  double v = 0;
  TFormatSettings point = DefaultFormatSettings();
  EXPECT_TRUE(TryStrToFloat("2.25", v, point));
  EXPECT_EQ(v, 2.25);
}

TEST_F(ConversionsTest, CurrencyFromText)
{
  struct Case {
    const char* text;
    Int64 raw;
  };
  const Case cases[] = {
      {"1.5", 15000},
      {"-1.5", -15000},
      {"0.00015", 2},  // half to even at the 4th decimal
      {"0.00025", 2},
      {"0.000251", 3},
      {"-0.00015", -2},
      {"12.34567", 123457},
      {"1e2", 1000000},
      {"0.00004", 0},
      {"922337203685477.5807", std::numeric_limits<Int64>::max()},
      {"-922337203685477.5808", std::numeric_limits<Int64>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToCurr(c.text).Raw, c.raw) << c.text;
  Currency kept = RawCurr(1);
  EXPECT_FALSE(TryStrToCurr("922337203685477.5808", kept));
  EXPECT_FALSE(TryStrToCurr("1e20", kept));
  EXPECT_FALSE(TryStrToCurr("abc", kept));
  EXPECT_EQ(kept.Raw, 1);
  EXPECT_EQ(StrToCurrDef("", RawCurr(5)).Raw, 5);
  EXPECT_THROW(StrToCurr("x"), EConvertError);
}

TEST_F(ConversionsTest, CurrencyArithmetic)
{
  const Currency a = StrToCurr("10.5");
  const Currency b = StrToCurr("3");
  EXPECT_EQ((a + b).Raw, 135000);
  EXPECT_EQ((a - b).Raw, 75000);
  EXPECT_EQ((-a).Raw, -105000);
  EXPECT_EQ((a * b).Raw, 315000);
  EXPECT_EQ((a / b).Raw, 35000);
  EXPECT_EQ((StrToCurr("1") / b).Raw, 3333);
  EXPECT_EQ((StrToCurr("2") / b).Raw, 6667);
  EXPECT_EQ((StrToCurr("0.0001") * StrToCurr("0.5")).Raw, 0);  // 0.00005: half to even
  EXPECT_EQ((StrToCurr("0.0003") * StrToCurr("0.5")).Raw, 2);  // 0.00015
  EXPECT_EQ((a * 2).Raw, 210000);
  EXPECT_EQ((2LL * a).Raw, 210000);
  EXPECT_EQ((a * 2u).Raw, 210000);
  EXPECT_EQ((a / 4).Raw, 26250);
  EXPECT_EQ((a * 0.1).Raw, 10500);
  EXPECT_EQ((a / 0.5).Raw, 210000);
  Currency c = a;
  c += b;
  c -= StrToCurr("0.5");
  c *= b;
  c /= StrToCurr("2");
  EXPECT_EQ(c.Raw, 195000);
  EXPECT_TRUE(a > b);
  EXPECT_TRUE(b <= b);
  EXPECT_TRUE(a != b);
  EXPECT_EQ(CurrToDouble(a), 10.5);
  EXPECT_EQ(DoubleToCurr(0.00015).Raw, 2);
  EXPECT_EQ(DoubleToCurr(0.00025).Raw, 2);
  EXPECT_EQ(DoubleToCurr(-2.5).Raw, -25000);
  EXPECT_EQ(DoubleToCurr(1e-20).Raw, 0);
  EXPECT_EQ(Int64ToCurr(-3).Raw, -30000);
  EXPECT_EQ(CurrTrunc(StrToCurr("-2.7")), -2);
  EXPECT_EQ(CurrRound(StrToCurr("2.5")), 2);
  EXPECT_EQ(CurrRound(StrToCurr("3.5")), 4);
  EXPECT_EQ(CurrRound(StrToCurr("-2.5001")), -3);
}

TEST_F(ConversionsTest, CurrencyOverflowAndDivisionByZero)
{
  const Currency max = RawCurr(std::numeric_limits<Int64>::max());
  const Currency min = RawCurr(std::numeric_limits<Int64>::min());
  const Currency one = StrToCurr("1");
  const Currency zero;
  EXPECT_THROW(max + RawCurr(1), EOverflow);
  EXPECT_THROW(min - RawCurr(1), EOverflow);
  EXPECT_THROW(-min, EOverflow);
  EXPECT_THROW(max * StrToCurr("1.0001"), EOverflow);
  EXPECT_THROW(max / StrToCurr("0.5"), EOverflow);
  EXPECT_THROW(max * 2, EOverflow);
  EXPECT_THROW(max * 2.0, EOverflow);
  EXPECT_THROW(Int64ToCurr(std::numeric_limits<Int64>::max()), EOverflow);
  EXPECT_THROW(DoubleToCurr(1e15), EOverflow);
  EXPECT_THROW(DoubleToCurr(std::nan("")), EInvalidOp);
  EXPECT_THROW(one / zero, EZeroDivide);
  EXPECT_THROW(one / 0, EZeroDivide);
  EXPECT_THROW(one / 0.0, EZeroDivide);
  EXPECT_EQ((max * one).Raw, max.Raw);
}

// ---- Booleans ------------------------------------------------------------------------------------

TEST_F(ConversionsTest, Booleans)
{
  struct Case {
    const char* text;
    bool value;
  };
  const Case cases[] = {{"True", true}, {"true", true}, {"FALSE", false}, {"0", false},
                        {"-1", true},   {"2.5", true},  {"0.0", false}};
  for (const Case& c : cases) EXPECT_EQ(StrToBool(c.text), c.value) << c.text;
  bool kept = true;
  EXPECT_FALSE(TryStrToBool("yes", kept));
  EXPECT_TRUE(kept);
  EXPECT_FALSE(StrToBoolDef("", false));
  try {
    StrToBool("yes");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'yes' is not a valid boolean value");
  }
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
}

// ---- Dates from text -----------------------------------------------------------------------------

TEST_F(ConversionsTest, BadDatesRaiseWithTheText)
{
  const char* bad[] = {"",           "abc",         "2009",       "2009-02-29", "2009-13-01",  "2009-00-10",
                       "2009-04-31", "10000-01-01", "0000-01-01", "2009/03/05", "2009-03-05x", "2009-03-",
                       "2009--03",   "123456-1-1"};
  for (const char* s : bad) {
    TDateTime kept = 3.0;
    EXPECT_FALSE(TryStrToDate(s, kept)) << s;
    EXPECT_EQ(kept.Value, 3.0);
  }
  try {
    StrToDate("2009-02-30");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2009-02-30' is not a valid date");
  }
  try {
    StrToTime("25:00");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'25:00' is not a valid time");
  }
  try {
    StrToDateTime("2009-03-05 12:61");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2009-03-05 12:61' is not a valid date and time");
  }
}

TEST_F(ConversionsTest, DatesInTheOrderOfTheShortFormat)
{
  EXPECT_EQ(StrToDate("2009-03-05").Value, DT(2009, 3, 5).Value);
  EXPECT_EQ(StrToDate(" 2009-3-5 ").Value, DT(2009, 3, 5).Value);
  EXPECT_EQ(StrToDate("2008-02-29").Value, DT(2008, 2, 29).Value);
  EXPECT_EQ(StrToDate("3-5").Value, DT(2026, 3, 5).Value);  // month and day of this year
  EXPECT_EQ(StrToDate("1899-12-29").Value, -1.0);
  EXPECT_EQ(StrToDateDef("x", 5.0).Value, 5.0);
  ShortDateFormat = "d/m/yyyy";
  DateSeparator = '/';
  EXPECT_EQ(StrToDate("5/3/2009").Value, DT(2009, 3, 5).Value);
  EXPECT_EQ(StrToDate("5/3").Value, DT(2026, 3, 5).Value);
  ShortDateFormat = "M/d/yy";
  EXPECT_EQ(StrToDate("3/5/2009").Value, DT(2009, 3, 5).Value);
  DateSeparator = '.';
  ShortDateFormat = "dd.MM.yyyy";
  EXPECT_EQ(StrToDate("05.03.2009").Value, DT(2009, 3, 5).Value);
  TDateTime v;
  EXPECT_TRUE(TryStrToDate("2009-03-05", v, DefaultFormatSettings()));
  EXPECT_EQ(v.Value, DT(2009, 3, 5).Value);
}

TEST_F(ConversionsTest, TwoDigitYearsUseTheCenturyWindow)
{
  // The clock says 2026; the window of 50 years makes the century start at 1976.
  struct Case {
    const char* text;
    Word year;
  };
  const Case cases[] = {{"09-03-05", 2009}, {"75-01-01", 2075}, {"76-01-01", 1976}, {"99-01-01", 1999},
                        {"00-01-01", 2000}, {"9-01-01", 2009},  {"0009-01-01", 9}};
  for (const Case& c : cases) EXPECT_EQ(DateUtils::YearOf(StrToDate(c.text)), c.year) << c.text;
  TwoDigitYearCenturyWindow = 0;
  EXPECT_EQ(DateUtils::YearOf(StrToDate("99-01-01")), 2099);
  EXPECT_EQ(DateUtils::YearOf(StrToDate("75-01-01")), 2075);
}

TEST_F(ConversionsTest, TimesAndDateTimes)
{
  struct Case {
    const char* text;
    Word h, n, s, ms;
  };
  const Case cases[] = {
      {"12:30", 12, 30, 0, 0},          {"12:30:45", 12, 30, 45, 0},     {"9", 9, 0, 0, 0},
      {" 9:05 ", 9, 5, 0, 0},           {"12:30:45.5", 12, 30, 45, 500}, {"0:0:0.045", 0, 0, 0, 45},
      {"3:15 PM", 15, 15, 0, 0},        {"3:15 pm", 15, 15, 0, 0},       {"12:00 AM", 0, 0, 0, 0},
      {"12:00 PM", 12, 0, 0, 0},        {"下午 3:15", 15, 15, 0, 0},     {"上午12:05", 0, 5, 0, 0},
      {"11:59:59 下午", 23, 59, 59, 0},
  };
  for (const Case& c : cases) {
    Word h, n, s, ms;
    DecodeTime(StrToTime(c.text), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, c.h * 10000000 + c.n * 100000 + c.s * 1000 + c.ms) << c.text;
  }
  const char* badTimes[] = {"", "24:00", "12:60", "12:30:60", "13:00 PM", "0:30 AM", "12:", "a", "12:30 xyz"};
  for (const char* s : badTimes) {
    TDateTime kept = 0.5;
    EXPECT_FALSE(TryStrToTime(s, kept)) << s;
    EXPECT_EQ(kept.Value, 0.5);
  }
  EXPECT_EQ(StrToDateTime("2009-03-05 12:30:45").Value, DT(2009, 3, 5, 12, 30, 45).Value);
  EXPECT_EQ(StrToDateTime("2009-03-05").Value, DT(2009, 3, 5).Value);
  EXPECT_EQ(StrToDateTime("1899-12-29 06:00").Value, -1.25);
  // A time alone is a time on day zero.
  EXPECT_DOUBLE_EQ(StrToDateTime("12:30").Value, 0.5 + 30.0 / 1440);
  EXPECT_EQ(StrToDateTimeDef("x", 1.0).Value, 1.0);
}

// ---- Dates to text -------------------------------------------------------------------------------

TEST_F(ConversionsTest, FormatDateTimeSpecifiers)
{
  const TDateTime v = DT(2009, 3, 5, 14, 7, 9, 45);  // a Thursday
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"yyyy-mm-dd hh:nn:ss", "2009-03-05 14:07:09"},
      {"yyyymmdd", "20090305"},
      {"yy/m/d", "09-3-5"},
      {"y", "09"},
      {"d dd ddd dddd", "5 05 周四 星期四"},
      {"ddddd", "2009-03-05"},
      {"dddddd", "2009年3月5日"},
      {"m mm mmm mmmm", "3 03 三月 三月"},
      {"h:m", "14:7"},  // m after h is minutes
      {"hh:mm", "14:07"},
      {"hh 'h' mm", "14 h 07"},
      {"h:n:s.z", "14:7:9.45"},
      {"hh:nn:ss.zzz", "14:07:09.045"},
      {"t", "14:07"},
      {"tt", "14:07:09"},
      {"c", "2009-03-05 14:07:09"},
      {"", "2009-03-05 14:07:09"},
      {"h am/pm", "2 pm"},
      {"h AM/PM", "2 PM"},
      {"h a/p", "2 p"},
      {"h ampm", "2 下午"},
      {"e ee", "2009 2009"},
      {"gg", "公元"},
      {"yyyy'年'mm\"月\"", "2009年03月"},
      {"'mm'", "mm"},
      {"YYYY/MM/DD HH:NN:SS", "2009-03-05 14:07:09"},
      {"DD/MM/YY", "05-03-09"},
      {"d乵", "5乵"},  // the trail byte of 乵 is 'm'
      {"abx", "abx"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), c.expected) << c.format;
  const TDateTime midnight = DT(2009, 3, 5);
  EXPECT_EQ(FormatDateTime("h:nn am/pm", midnight), "12:00 am");
  EXPECT_EQ(FormatDateTime("c", midnight), "2009-03-05");
  EXPECT_EQ(FormatDateTime("hh:nn", -1.25), "06:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", -1.25), "1899-12-29");
  // A format that names itself does not recurse without end.
  ShortDateFormat = "ddddd";
  EXPECT_EQ(FormatDateTime("ddddd", midnight), "");
}

TEST_F(ConversionsTest, DateToTextFollowsTheLocale)
{
  const TDateTime v = DT(2009, 3, 5, 14, 7, 9);
  EXPECT_EQ(DateToStr(v), "2009-03-05");
  EXPECT_EQ(TimeToStr(v), "14:07:09");
  EXPECT_EQ(DateTimeToStr(v), "2009-03-05 14:07:09");
  EXPECT_EQ(DateTimeToStr(DT(2009, 3, 5)), "2009-03-05");  // no time at midnight
  AnsiString s;
  DateTimeToString(s, "yyyy", v);
  EXPECT_EQ(s, "2009");
  // The start-up settings of the program.
  LongDateFormat = "yyyy-mm-dd hh:nn:ss";
  EXPECT_EQ(FormatDateTime("dddddd", v), "2009-03-05 14:07:09");
  DateSeparator = '/';
  ShortDateFormat = "dd/mm/yyyy";
  TimeSeparator = '.';
  EXPECT_EQ(DateTimeToStr(v), "05/03/2009 14.07.09");
  EXPECT_EQ(FormatDateTime("c", v, DefaultFormatSettings()), "2009-03-05 14:07:09");
  // Round trip through the locale.
  EXPECT_EQ(StrToDateTime(DateTimeToStr(v)).Value, v.Value);
}

TEST_F(ConversionsTest, FormatSettingsRecordMirrorsTheGlobals)
{
  DecimalSeparator = ',';
  ShortMonthNames[0] = "Jan";
  const TFormatSettings s = GetFormatSettings();
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ShortMonthNames[0], "Jan");
  ResetFormatSettings();
  EXPECT_EQ(DecimalSeparator, '.');
  EXPECT_EQ(ShortMonthNames[0], "一月");
  EXPECT_EQ(LongDateFormat, "yyyy'年'm'月'd'日'");
  EXPECT_EQ(CurrencyString, "￥");
  ApplyFormatSettings(s);
  EXPECT_EQ(DecimalSeparator, ',');
  EXPECT_EQ(GetFormatSettings().ShortDayNames[0], "周日");
}
