#include <gtest/gtest.h>

#include "controls/data/cxDataUtils.h"
#include "controls/data/filter/cxFilterConsts.h"
#include "controls/data/tests/FilterFixture.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

namespace {

// Pins the clock to Wednesday 2026-12-09 14:30 for the date operators.
TDateTime gNow;
TDateTime FixedNow() { return gNow; }

class FilterOperator : public ::testing::Test {
protected:
  void SetUp() override { SetNow(2026, 12, 9); }
  SysUtils::TScopedClock FClock{&FixedNow};
  static void SetNow(Word y, Word m, Word d) { gNow = TDateTime(SysUtils::EncodeDate(y, m, d) + 14.5 / 24); }

  TTestCriteria C;
};

TEST_F(FilterOperator, FilterAndDisplayTexts)
{
  struct Case {
    TcxFilterOperatorKind kind;
    Variant value;
    const char* display;
    bool describe, translate;
    const char* filterText;
    const char* displayText;
  };
  const std::vector<Case> cases = {
      {fokEqual, 5, "5", false, false, "(A = 5)", "(A caption = 5)"},
      {fokEqual, 5, "5", true, false, "(A = 5)", "(A caption equals 5)"},
      {fokLike, "abc%", "abc%", true, false, "(A LIKE 'abc%')", "(A caption begins with abc)"},
      {fokLike, "abc%", "abc%", false, false, "(A LIKE 'abc%')", "(A caption LIKE abc%)"},
      {fokLike, "%abc", "%abc", true, false, "(A LIKE '%abc')", "(A caption ends with abc)"},
      {fokNotLike, "%%abc%", "%%abc%", true, false, "(A NOT LIKE '%%abc%')", "(A caption does not contain abc)"},
      {fokLike, "a%c", "a%c", true, false, "(A LIKE 'a%c')", "(A caption like a%c)"},
      {fokEqual, Variant::Null(), "", true, false, "(A = NULL)", "(A caption is blank)"},
      {fokEqual, Variant::Null(), "", false, false, "(A = NULL)", "(A caption = blank)"},
      {fokNotEqual, Variant::Null(), "", true, false, "(A <> NULL)", "(A caption is not blank)"},
      {fokLike, Variant::Null(), "", true, false, "(A = NULL)", "(A caption is blank)"},
      {fokBetween, Arr({1, 5}), "1;5", false, false, "(A BETWEEN 1 AND 5)", "(A caption between 1 and 5)"},
      {fokBetween, Arr({1, 5}), "1;5", false, true, "((1 <= A) AND (A <= 5))", "(A caption between 1 and 5)"},
      {fokNotBetween, Arr({1, 5}), " 1 ; 5 ", false, true, "(NOT ((1 <= A) AND (A <= 5)))",
       "(A caption not between 1 and 5)"},
      {fokBetween, Arr({"a", "b"}), "a", false, false, "(A BETWEEN 'a' AND 'b')", "(A caption between a and )"},
      {fokInList, Arr({1, 2, 3}), "1;2;3", false, false, "(A IN (1, 2, 3))", "(A caption in (1, 2, 3))"},
      {fokInList, Arr({1, 2, 3}), "1;2;3", false, true, "((A = 1) OR (A = 2) OR (A = 3))", "(A caption in (1, 2, 3))"},
      {fokNotInList, Arr({1, 2}), "1;2", false, true, "(NOT ((A = 1) OR (A = 2)))", "(A caption not in (1, 2))"},
      {fokNotInList, Arr({"x"}), "x", false, false, "(A NOT IN ('x'))", "(A caption not in (x))"},
      {fokGreaterEqual, "it's", "it's", false, false, "(A >= 'it's')", "(A caption >= it's)"},
      {fokLess, true, "True", false, false, "(A < True)", "(A caption < True)"},
      {fokLessEqual, Variant(TDateTime(SysUtils::EncodeDate(2026, 1, 2))), "2026-01-02", false, false,
       "(A <= '20260102')", "(A caption <= 2026-01-02)"},
      {fokToday, Variant::Null(), "", false, false, "(('20261209' <= A) AND (A < '20261210'))", "(A caption is today)"},
  };
  C.SetDateTimeFormat("yyyymmdd");
  for (const auto& c : cases) {
    C.Clear();
    C.SetOptions(c.describe ? TcxFilterCriteriaOptions{fcoShowOperatorDescription} : TcxFilterCriteriaOptions{});
    C.SetTranslateBetween(c.translate);
    C.SetTranslateIn(c.translate);
    C.AddItem(nullptr, C.A(), c.kind, c.value, c.display);
    EXPECT_EQ(C.GetFilterText(), c.filterText) << c.filterText;
    EXPECT_EQ(C.GetFilterCaption(), c.displayText) << c.filterText;
  }
}

TEST_F(FilterOperator, MultiFieldEquality)
{
  TTestField keys(9, "A; B ;C", "Key");
  C.AddItem(nullptr, &keys, fokEqual, Arr({1, "x", Variant::Null()}), "");
  EXPECT_EQ(C.GetFilterText(), "((A = 1) AND (B = 'x') AND (C = NULL))");
  static_cast<TcxFilterCriteriaItem*>(C.GetRoot()->GetItem(0))->SetOperatorKind(fokNotEqual);
  EXPECT_EQ(C.GetFilterText(), "(NOT ((A = 1) AND (B = 'x') AND (C = NULL)))");
}

TEST_F(FilterOperator, Matches)
{
  struct Case {
    TcxFilterOperatorKind kind;
    Variant value;
    Variant record;
    bool match;
  };
  const Variant none = Variant::Null();
  const std::vector<Case> cases = {
      {fokEqual, 5, 5, true},
      {fokEqual, 5, 5.0, true},
      {fokEqual, 5, 6, false},
      {fokNotEqual, 5, 6, true},
      {fokLess, 5, 4, true},
      {fokLess, 5, 5, false},
      {fokLessEqual, 5, 5, true},
      {fokGreater, 5, 6, true},
      {fokGreater, 5, 5, false},
      {fokGreaterEqual, 5, 5, true},
      {fokLess, 5, none, true},
      {fokLike, "a%", "abc", true},
      {fokLike, "a%", "bac", false},
      {fokNotLike, "a%", "bac", true},
      {fokLike, "a_c", "abc", true},
      {fokBetween, Arr({1, 5}), 5, true},
      {fokBetween, Arr({1, 5}), 6, false},
      {fokBetween, Arr({1, 5}), 1, true},
      {fokNotBetween, Arr({1, 5}), 0, true},
      {fokInList, Arr({1, 2, 3}), 2, true},
      {fokInList, Arr({1, 2, 3}), 4, false},
      {fokNotInList, Arr({1, 2, 3}), 4, true},
      {fokEqual, none, none, true},
      {fokEqual, none, 0, false},
      {fokNotEqual, none, 0, true},
      {fokNotEqual, none, none, false},
      {fokEqual, "", "", true},
      {fokEqual, Currency::FromRaw(15000), 1.5, true},
  };
  for (const auto& c : cases) {
    C.Clear();
    C.AddItem(nullptr, C.A(), c.kind, c.value, "");
    TTestRecord record{{C.A(), c.record}};
    EXPECT_EQ(C.RecordMatches(&record), c.match) << int(c.kind) << " " << Variants::VarToStr(c.record);
  }
}

TEST_F(FilterOperator, SoftNullCaseInsensitiveAndSoftCompare)
{
  TTestRecord empty{{C.A(), ""}}, upper{{C.A(), "ABC"}};
  C.AddItem(nullptr, C.A(), fokEqual, "", "");
  auto* item = static_cast<TcxFilterCriteriaItem*>(C.GetRoot()->GetItem(0));
  EXPECT_EQ(dynamic_cast<TcxFilterNullOperator*>(item->GetOperator()), nullptr);
  C.SetOptions({fcoSoftNull});
  item->RecreateOperator();
  EXPECT_NE(dynamic_cast<TcxFilterNullOperator*>(item->GetOperator()), nullptr);
  TTestRecord null{{C.A(), Variant::Null()}};
  EXPECT_TRUE(C.RecordMatches(&null));
  EXPECT_TRUE(C.RecordMatches(&empty));

  C.Clear();
  C.SetOptions({});
  C.AddItem(nullptr, C.A(), fokEqual, "abc", "");
  C.AddItem(nullptr, C.A(), fokLike, "a%", "");
  EXPECT_FALSE(C.RecordMatches(&upper));
  C.SetOptions({fcoCaseInsensitive});
  EXPECT_TRUE(C.RecordMatches(&upper));

  // The library cannot compare "x" with 5: an error, or no match with soft compare.
  C.Clear();
  C.SetOptions({});
  C.AddItem(nullptr, C.A(), fokInList, Arr({"x"}), "");
  TTestRecord five{{C.A(), 5}};
  EXPECT_THROW(C.RecordMatches(&five), EVariantError);
  C.SetOptions({fcoSoftCompare});
  EXPECT_FALSE(C.RecordMatches(&five));
  C.Clear();
  C.AddItem(nullptr, C.A(), fokBetween, 3, "");  // not a pair
  EXPECT_FALSE(C.RecordMatches(&five));
}

TEST_F(FilterOperator, DateRanges)
{
  struct Case {
    TcxFilterOperatorKind kind;
    Word y, m, d;
    int sy, sm, sd, ey, em, ed;
  };
  const std::vector<Case> cases = {
      {fokYesterday, 2026, 12, 9, 2026, 12, 8, 2026, 12, 9},
      {fokToday, 2026, 12, 9, 2026, 12, 9, 2026, 12, 10},
      {fokTomorrow, 2026, 12, 31, 2027, 1, 1, 2027, 1, 2},
      {fokThisWeek, 2026, 12, 9, 2026, 12, 6, 2026, 12, 13},  // Wednesday; weeks start on Sunday
      {fokThisWeek, 2026, 12, 6, 2026, 12, 6, 2026, 12, 13},  // the Sunday itself
      {fokLastWeek, 2026, 12, 9, 2026, 11, 29, 2026, 12, 6},
      {fokNextWeek, 2026, 12, 9, 2026, 12, 13, 2026, 12, 20},
      {fokThisMonth, 2026, 12, 9, 2026, 12, 1, 2027, 1, 1},
      {fokNextMonth, 2026, 12, 9, 2027, 1, 1, 2027, 2, 1},
      {fokNextMonth, 2026, 11, 30, 2026, 12, 1, 2027, 1, 1},
      {fokLastMonth, 2026, 1, 15, 2025, 12, 1, 2026, 1, 1},
      {fokLastYear, 2026, 6, 1, 2025, 1, 1, 2026, 1, 1},
      {fokThisYear, 2026, 6, 1, 2026, 1, 1, 2027, 1, 1},
      {fokNextYear, 2026, 6, 1, 2027, 1, 1, 2028, 1, 1},
  };
  for (const auto& c : cases) {
    SetNow(c.y, c.m, c.d);
    C.Clear();
    auto* item = C.AddItem(nullptr, C.D(), c.kind, Variant::Null(), "");
    auto* op = dynamic_cast<TcxFilterDateOperator*>(item->GetOperator());
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->GetRangeStart().Value, SysUtils::EncodeDate(c.sy, c.sm, c.sd).Value) << int(c.kind);
    EXPECT_EQ(op->GetRangeEnd().Value, SysUtils::EncodeDate(c.ey, c.em, c.ed).Value) << int(c.kind);
  }

  TScopedFunction<int()> monday(cxDataUtils::LocaleFirstDayOfWeekService(), [] { return 0; });
  SetNow(2026, 12, 9);
  EXPECT_EQ(cxDataUtils::FirstDayOfWeek(), 1);
  EXPECT_EQ(cxDataUtils::StartOfWeek(gNow).Value, SysUtils::EncodeDate(2026, 12, 7).Value);
}

// A filter made yesterday as "is today" matches today's dates once the criteria change.
TEST_F(FilterOperator, DateConditionsFollowTheClock)
{
  C.AddItem(nullptr, C.D(), fokToday, Variant::Null(), "");
  TTestRecord today{{C.D(), Variant(TDateTime(SysUtils::EncodeDate(2026, 12, 9) + 0.75))}};
  TTestRecord tomorrow{{C.D(), Variant(TDateTime(SysUtils::EncodeDate(2026, 12, 10)))}};
  TTestRecord blank{{C.D(), Variant::Null()}};
  EXPECT_TRUE(C.RecordMatches(&today));
  EXPECT_FALSE(C.RecordMatches(&tomorrow));
  EXPECT_FALSE(C.RecordMatches(&blank));
  SetNow(2026, 12, 10);
  C.SetDateTimeFormat("yyyy");  // any change notification refreshes the ranges
  EXPECT_TRUE(C.RecordMatches(&tomorrow));
  EXPECT_FALSE(C.RecordMatches(&today));
}

TEST_F(FilterOperator, WordsComeThroughTheTextHook)
{
  cxFilterConsts::TextFetchHook = [](int id, AnsiString& s) { s = "<" + cxFilterConsts::BuiltInText(id) + ">"; };
  C.SetOptions({fcoShowOperatorDescription});
  C.AddItem(nullptr, C.A(), fokEqual, Variant::Null(), "");
  C.AddItem(nullptr, C.B(), fokBetween, Arr({1, 2}), "1;2");
  const AnsiString caption = C.GetFilterCaption();
  cxFilterConsts::TextFetchHook = nullptr;
  EXPECT_EQ(caption, "(A caption <is blank>) <and> (B caption <between> 1 <and> 2)");
}

}  // namespace
