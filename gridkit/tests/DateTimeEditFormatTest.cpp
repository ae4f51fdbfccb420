// The date/time edit format: compiling formats to masks, reading typed text with the century
// window and completion, and stepping elements.
#include <gtest/gtest.h>

#include "gridkit/edits/DateTimeEditFormatEh.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// The clock pinned to 2026-06-15 for one test.
class PinnedClock {
public:
  PinnedClock() : FScope([] { return DateUtils::EncodeDateTime(2026, 6, 15, 10, 30, 0, 0); }) {}

private:
  SysUtils::TScopedClock FScope;
};

TEST(DateTimeEditFormat, CompilesFormatsAndRefusesBadOnes)
{
  struct Case {
    const char* Format;
    const char* Mask;  // nullptr: expect Error
    const char* Display;
    const char* Template;
    const char* Error;
  } cases[] = {
      {"DDD/MM/YYYY", nullptr, nullptr, nullptr, "Element in EditFormat: \"DDD/MM/YYYY\" is too long. Pos: 3"},
      {"D/MM/YYYY", nullptr, nullptr, nullptr, "Invalid datetime format element length: \"D\""},
      {"DD/MM/DD", nullptr, nullptr, nullptr, "Duplicating datetime format element: \"D\""},
      {"YYY", nullptr, nullptr, nullptr, "Invalid datetime format element length: \"Y\""},
      {"YYYYY", nullptr, nullptr, nullptr, "Element in EditFormat: \"YYYYY\" is too long. Pos: 5"},
      {"dd.mm.yy", "!99.99.99;1; ", "DD'.'MM'.'YY", "DD MM YY", nullptr},
      {"DD/MM/YYYY", "!99/99/9999;1; ", "DD/MM/YYYY", "DD/MM/YYYY", nullptr},
      {"HH:NN:SS", "!99:99:99;1; ", "HH:NN:SS", "HH:NN:SS", nullptr},
      {"YYYY 9", "!9999 \\9;1; ", "YYYY' 9'", "YYYY  ", nullptr},
      {"YYYY\\9", "!9999\\9;1; ", "YYYY'9'", "YYYY ", nullptr},
      {"\\D'DD", "!D'99;1; ", "'D'''DD", "  DD", nullptr},
      {"YYYY年MM月DD日", "!9999年99月99日;1; ", "YYYY'年'MM'月'DD'日'", "YYYY  MM  DD  ", nullptr},
  };
  for (const Case& c : cases) {
    AnsiString mask = "unchanged";
    TDateTimeSlotsEh slots;
    if (c.Error) {
      try {
        DBCtrlsEh::CompileEditFormat(c.Format, mask, slots);
        ADD_FAILURE() << c.Format << " was accepted";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), c.Error);
        EXPECT_EQ(mask, "unchanged");
      }
      continue;
    }
    DBCtrlsEh::CompileEditFormat(c.Format, mask, slots);
    EXPECT_EQ(mask, c.Mask) << c.Format;
    EXPECT_EQ(DBCtrlsEh::ToDisplayFormat(c.Format), c.Display) << c.Format;
    EXPECT_EQ(DBCtrlsEh::ToStepTemplate(c.Format), c.Template) << c.Format;
  }
  AnsiString mask;
  TDateTimeSlotsEh slots;
  DBCtrlsEh::CompileEditFormat("DD/MM/YYYY", mask, slots);
  EXPECT_EQ(slots[2].Pos, 1);
  EXPECT_EQ(slots[1].Pos, 4);
  EXPECT_EQ(slots[0].Pos, 7);
  EXPECT_EQ(slots[0].Len, 4);
  EXPECT_FALSE(slots[3].Used);
}

TEST(DateTimeEditFormat, TwoDigitYearsFallInTheSixtyYearWindow)
{
  PinnedClock clock;
  struct Case {
    int Typed, Expected;
  } cases[] = {{5, 2005}, {70, 1970}, {65, 2065}, {66, 1966}, {99, 1999}, {100, 100}, {2024, 2024}};
  for (const Case& c : cases) EXPECT_EQ(DBCtrlsEh::ExpandYear(c.Typed), c.Expected) << c.Typed;
}

TEST(DateTimeEditFormat, ReadsAndBuildsValues)
{
  PinnedClock clock;
  AnsiString mask;
  TDateTimeSlotsEh date, time;
  DBCtrlsEh::CompileEditFormat("DD/MM/YYYY", mask, date);
  DBCtrlsEh::CompileEditFormat("HH:NN", mask, time);
  auto build = [&](const char* Text, const TDateTimeSlotsEh& Slots, bool Complete, Variant Start, bool& Ok) {
    TDateTimePartsEh parts;
    DBCtrlsEh::ReadParts(Text, Slots, parts);
    Ok = DBCtrlsEh::BuildValue(parts, Slots, Start, Complete);
    return Start;
  };
  bool ok = false;
  Variant v = build("31/02/2025", date, true, Variant::Null(), ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(SysUtils::FormatDateTime("yyyy-mm-dd", v.AsDateTime()), "2025-02-28");
  v = build("31/02/2025", date, false, Variant::Null(), ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(v.IsNull());
  for (bool complete : {true, false}) {
    v = build("  /  /    ", date, complete, DateUtils::EncodeDateTime(2020, 1, 1, 0, 0, 0, 0), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(v.IsNull()) << "a blank text is Null";
  }
  v = build("  /03/    ", date, true, Variant::Null(), ok);
  EXPECT_EQ(SysUtils::FormatDateTime("yyyy-mm-dd", v.AsDateTime()), "2026-03-15") << "completed from today";
  v = build("05/04/2024", date, true, DateUtils::EncodeDateTime(2000, 1, 1, 13, 45, 0, 0), ok);
  EXPECT_EQ(SysUtils::FormatDateTime("yyyy-mm-dd hh:nn", v.AsDateTime()), "2024-04-05 13:45") << "time kept";
  v = build("08:15", time, false, Variant::Null(), ok);
  EXPECT_EQ(SysUtils::FormatDateTime("yyyy-mm-dd hh:nn", v.AsDateTime()), "1900-01-01 08:15");
  v = build("25:70", time, true, Variant::Null(), ok);
  EXPECT_EQ(SysUtils::FormatDateTime("hh:nn", v.AsDateTime()), "23:59") << "clamped";
  TDateTimePartsEh parts;
  EXPECT_FALSE(DBCtrlsEh::ReadParts("1a/02/2025", date, parts));
  EXPECT_EQ(parts.Day, -1);
  EXPECT_EQ(DBCtrlsEh::ValueToParts(Variant::Null()).Year, -1);
}

TEST(DateTimeEditFormat, StepsTheElementUnderTheCaret)
{
  struct Case {
    const char* Text;
    const char* Template;
    bool Up;
    int Pos;
    const char* Expected;
    int ExpectedPos, ExpectedLen;
  } cases[] = {
      {"31/12/2025", "DD/MM/YYYY", true, 1, "01/12/2025", 1, 2},
      {"31/12/2025", "DD/MM/YYYY", true, 5, "31/01/2025", 4, 2},
      {"31/12/2025", "DD/MM/YYYY", false, 3, "31/11/2025", 4, 2},
      {"00:05", "HH:NN", false, 2, "23:05", 1, 2},
      {"23:59", "HH:NN", true, 9, "23:00", 4, 2},
      {"  /12/2025", "DD/MM/YYYY", false, 1, "31/12/2025", 1, 2},
      {"0001-x", "YYYY  ", false, 2, "9999-x", 1, 4},
  };
  for (const Case& c : cases) {
    AnsiString text;
    int pos = c.Pos, len = 0;
    DBCtrlsEh::StepElement(c.Text, c.Template, c.Up, text, len, pos);
    EXPECT_EQ(text, c.Expected) << c.Text << " at " << c.Pos;
    EXPECT_EQ(pos, c.ExpectedPos) << c.Text;
    EXPECT_EQ(len, c.ExpectedLen) << c.Text;
  }
}

TEST(DateTimeEditFormat, DefaultsFollowTheLocale)
{
  EXPECT_EQ(DBCtrlsEh::DefaultDateOrder("yyyy-mm-dd"), 2);
  EXPECT_EQ(DBCtrlsEh::DefaultDateOrder("M/d/yy"), 0);
  EXPECT_EQ(DBCtrlsEh::DefaultDateOrder("--"), 1);
  EXPECT_EQ(DBCtrlsEh::DefaultTimeFormat(), "HH:NN:SS");
  EXPECT_EQ(DBCtrlsEh::DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DBCtrlsEh::DaysInMonth(2025, 2), 28);
}

}  // namespace
