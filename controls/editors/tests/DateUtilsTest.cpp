#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/formats/cxDateUtils.h"
#include "controls/editors/formats/cxFormats.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

namespace {

TDateTime Clock;
TDateTime FixedNow() { return Clock; }

TDateTime Day(Word y, Word m, Word d) { return SysUtils::EncodeDate(y, m, d); }

class DateUtils : public ::testing::Test {
protected:
  void SetUp() override
  {
    SysUtils::ResetFormatSettings();
    EditorsModule::Initialize();
    // Wednesday 2025-01-15, 10:30
    Clock = Day(2025, 1, 15) + SysUtils::EncodeTime(10, 30, 0, 0);
    FClock.emplace(FixedNow);
  }
  void TearDown() override
  {
    FClock.reset();
    EditorsModule::Finalize();
    SysUtils::ResetFormatSettings();
  }
  std::optional<SysUtils::TScopedClock> FClock;
};

struct TSmartCase {
  const char* Text;
  double Expected;  // 0: not a smart word
};

TEST_F(DateUtils, SmartWordsGiveTheirDates)
{
  const TDateTime today = Day(2025, 1, 15);
  const TSmartCase cases[] = {
      {"today", today},
      {"  today+3 ", today + 3},
      {"today + 3", today + 3},
      {"TODAY+3", today + 3},
      {"today-10", today - 10},
      {"today3", today},   // no sign: the rest is ignored
      {"today+", today},   // a lone sign is ignored
      {"today+x", today},  // so is an offset that is no number
      {"yesterday", today - 1},
      {"tomorrow-2", today - 1},
      {"Monday", Day(2025, 1, 20)},
      {"wednesday", today},
      {"Sunday+1", Day(2025, 1, 20)},
      {"first", Day(2025, 1, 12)},
      {"seventh", Day(2025, 1, 18)},
      {"bom", Day(2025, 1, 1)},
      {"eom", Day(2025, 1, 31)},
      {"now", Clock},
      {"mon", 0},
      {"2025-01-15", 0},
      {"", 0},
  };
  for (const TSmartCase& c : cases) {
    TDateTime date = -1;
    const bool found = cxDateUtils::SmartTextToDate(c.Text, date);
    EXPECT_EQ(found, c.Expected != 0) << c.Text;
    if (found) {
      EXPECT_DOUBLE_EQ(date.Value, c.Expected) << c.Text;
    }
  }
}

TEST_F(DateUtils, EndOfFebruaryInALeapYear)
{
  Clock = Day(2024, 2, 10);
  TDateTime date;
  ASSERT_TRUE(cxDateUtils::SmartTextToDate("eom", date));
  EXPECT_DOUBLE_EQ(date.Value, Day(2024, 2, 29).Value);
}

TEST_F(DateUtils, WordsComeFromTheEditorTexts)
{
  cxResourceStrings::SetResourceString(cxEditConsts::sWordToday, "heute");
  cxResourceStrings::SetResourceString(cxEditConsts::sWordNow, "");  // never matches everything
  TDateTime date;
  EXPECT_TRUE(cxDateUtils::SmartTextToDate("Heute+1", date));
  EXPECT_DOUBLE_EQ(date.Value, Day(2025, 1, 16).Value);
  EXPECT_FALSE(cxDateUtils::SmartTextToDate("today", date));
  EXPECT_FALSE(cxDateUtils::SmartTextToDate("abc", date));
  EXPECT_EQ(cxDateUtils::GetDateRegExprMask(true).find("'now'"), AnsiString::npos);

  // the longest word wins: "tomorrow" before a shorter word it starts with
  cxResourceStrings::SetResourceString(cxEditConsts::sWordTomorrow, "heuteabend");
  EXPECT_TRUE(cxDateUtils::SmartTextToDate("heuteabend", date));
  EXPECT_DOUBLE_EQ(date.Value, Day(2025, 1, 16).Value);

  TScopedFunction<bool(const AnsiString&, TDateTime&)> smart(cxDateUtils::SmartTextToDateService(),
                                                             [](const AnsiString& text, TDateTime& d) {
                                                               d = 42;
                                                               return text == "abc";
                                                             });
  EXPECT_TRUE(cxDateUtils::SmartTextToDate(" abc ", date));
  EXPECT_DOUBLE_EQ(date.Value, 42);
}

struct TParseCase {
  const char* Text;
  double Expected;  // 0: refused
};

TEST_F(DateUtils, TextToDateExParsesAndRefuses)
{
  const TParseCase cases[] = {
      {"2003-02-01", Day(2003, 2, 1)},
      {" 2003-2-1 ", Day(2003, 2, 1)},
      {"2003-02-01 10:30:00", Day(2003, 2, 1) + SysUtils::EncodeTime(10, 30, 0, 0)},
      {"today+1", Day(2025, 1, 16)},
      {"today+3000000", 0},  // beyond year 9999
      {"2003-02-00", 0},
      {"2003-13-01", 0},
      {"abc", 0},
      {"", 0},
  };
  for (bool useSettings : {false, true}) {
    cxFormats::GetFormatController()->SetUseDateFormatSettings(useSettings);
    for (const TParseCase& c : cases) {
      TDateTime date = 0;
      const bool parsed = cxDateUtils::TextToDateEx(c.Text, date);
      EXPECT_EQ(parsed, c.Expected != 0) << c.Text << " settings " << useSettings;
      if (parsed) {
        EXPECT_DOUBLE_EQ(date.Value, c.Expected) << c.Text;
      }
    }
  }
  TDateTime date = 0;
  EXPECT_FALSE(cxDateUtils::TextToDateEx("abc", date));
  EXPECT_EQ(date.Value, cxDateUtils::NullDate);
}

TEST_F(DateUtils, PointSeparatedDates)
{
  SysUtils::DateSeparator = '.';
  SysUtils::ShortDateFormat = "d.m.yyyy";
  for (bool useSettings : {false, true}) {
    cxFormats::GetFormatController()->SetUseDateFormatSettings(useSettings);
    TDateTime date = 0;
    EXPECT_TRUE(cxDateUtils::TextToDateEx("1.2.2003", date)) << useSettings;
    EXPECT_DOUBLE_EQ(date.Value, Day(2003, 2, 1).Value);
  }
}

TEST_F(DateUtils, TextToDateTimeAndBack)
{
  TDateTime date = 0;
  for (bool variant : {false, true}) {
    EXPECT_FALSE(cxDateUtils::TextToDateTime("abc", variant, date));
    EXPECT_EQ(date.Value, cxDateUtils::NullDate);
    EXPECT_TRUE(cxDateUtils::TextToDateTime("2003-02-01", variant, date));
    EXPECT_DOUBLE_EQ(date.Value, Day(2003, 2, 1).Value);
  }

  const TDateTime withTime = Day(2003, 2, 1) + SysUtils::EncodeTime(9, 5, 7, 0);
  EXPECT_EQ(cxDateUtils::DateTimeToText(cxDateUtils::NullDate), "");
  EXPECT_EQ(cxDateUtils::DateTimeToTextEx(true, cxDateUtils::NullDate), "");
  EXPECT_EQ(cxDateUtils::DateTimeToText(Day(2003, 2, 1)), "2003-02-01");
  EXPECT_EQ(cxDateUtils::DateTimeToText(withTime), "2003-02-01 9:05:07");
  SysUtils::ShortDateFormat = "d/MMMM/yyyy";
  cxFormats::GetFormatController()->UpdateFormats();
  EXPECT_EQ(cxDateUtils::DateTimeToTextEx(true, withTime), "01-二月-2003");  // "/" is the separator
  cxFormats::GetFormatController()->SetUseDateFormatSettings(true);
  EXPECT_EQ(cxDateUtils::DateTimeToText(withTime), SysUtils::DateTimeToStr(withTime));
}

TEST_F(DateUtils, MonthArithmetic)
{
  struct TCase {
    Word Year, Month;
    int Delta;
    Word NewYear, NewMonth;
    int Years;
  };
  const TCase cases[] = {
      {2024, 1, -1, 2023, 12, 0},  {2024, 12, 1, 2025, 1, 0},  {2024, 5, 14, 2025, 7, 1},
      {2024, 5, -14, 2023, 3, -1}, {2024, 3, -3, 2023, 12, 0}, {2024, 3, 0, 2024, 3, 0},
  };
  for (const TCase& c : cases) {
    Word y = c.Year, m = c.Month;
    EXPECT_EQ(cxDateUtils::ChangeMonth(y, m, c.Delta), c.Years) << c.Month << c.Delta;
    EXPECT_EQ(y, c.NewYear);
    EXPECT_EQ(m, c.NewMonth);
  }
  Word y = 2024, m = 1;
  cxDateUtils::DecMonth(y, m);
  EXPECT_EQ(y * 100 + m, 202312);
  cxDateUtils::IncMonth(y, m);
  EXPECT_EQ(y * 100 + m, 202401);

  EXPECT_EQ(cxDateUtils::DaysPerMonth(2024, 2), 29);
  EXPECT_EQ(cxDateUtils::DaysPerMonth(1900, 2), 28);
  EXPECT_EQ(cxDateUtils::DaysPerMonth(2000, 2), 29);
  EXPECT_EQ(cxDateUtils::CheckDay(2023, 2, 31), 28);
  EXPECT_EQ(cxDateUtils::CheckDay(2023, 2, 0), 1);
  EXPECT_EQ(cxDateUtils::CheckDay(2023, 2, 14), 14);
  EXPECT_EQ(cxDateUtils::GetDateElement(0, Day(2003, 2, 1)), 2003);
  EXPECT_EQ(cxDateUtils::GetDateElement(1, Day(2003, 2, 1)), 2);
  EXPECT_EQ(cxDateUtils::GetDateElement(2, Day(2003, 2, 1)), 1);
}

TEST_F(DateUtils, DateAndTimeParts)
{
  const double almostMidnight = Day(2003, 2, 1).Value + 1 - 1e-12;
  EXPECT_DOUBLE_EQ(cxDateUtils::DateOf(almostMidnight).Value, Day(2003, 2, 2).Value);
  EXPECT_DOUBLE_EQ(cxDateUtils::DateOf(Day(2003, 2, 1).Value + 0.75).Value, Day(2003, 2, 1).Value);
  EXPECT_DOUBLE_EQ(cxDateUtils::DateOf(-1.5).Value, -1);
  const TDateTime time = SysUtils::EncodeTime(13, 14, 15, 16);
  EXPECT_DOUBLE_EQ(cxDateUtils::TimeOf(Day(2003, 2, 1) + time).Value, time.Value);
}

}  // namespace
