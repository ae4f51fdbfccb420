#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "controls/data/storage/cxVariants.h"

using namespace cxVariants;

namespace {

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

Variant ArrayOf(std::vector<Variant> v) { return Variants::VarArrayOf(v); }

TEST(VariantOrder, NullArraysAndIncomparablePairs)
{
  struct Case {
    Variant a, b;
    int sign;
  };
  const std::vector<Case> cases = {
      {Variant::Null(), Variant::Null(), 0}, {Variant::Null(), Variant(5), -1},
      {Variant(5), Variant::Null(), 1},      {ArrayOf({1, 2}), ArrayOf({1, 2, 3}), -1},
      {ArrayOf({1, 3}), ArrayOf({1, 2}), 1}, {ArrayOf({1, 2}), Variant(7), 1},
      {Variant(7), ArrayOf({1, 2}), -1},     {ArrayOf({}), ArrayOf({}), 0},
      {Variant(short(3)), Variant(3.0), 0},  {Variant(Currency::FromRaw(25000)), Variant(2.5), 0},
      {Variant("abc"), Variant(u"abc"), 0},  {Variant("abc"), Variant("abd"), -1},
      {Variant(false), Variant(true), -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(VarCompareValues(c.a, c.b)), c.sign)
        << Variants::VarTypeAsText(c.a.VarType()) << " vs " << Variants::VarTypeAsText(c.b.VarType());
  }
  // The high-bound difference itself is the answer, not its sign.
  EXPECT_EQ(CompareVarArrays(ArrayOf({1}), ArrayOf({1, 2, 3})), -2);
}

// Pairs the library cannot compare (a text that is no number against a number) still order
// one way round, so sorting and binary searches stay sound.
TEST(VariantOrder, TextAgainstNumberIsAntisymmetric)
{
  const Variant text("abc"), number(5);
  EXPECT_EQ(Sign(VarCompareValues(text, number)), -Sign(VarCompareValues(number, text)));
  EXPECT_NE(VarCompareValues(text, number), 0);
}

TEST(VariantOrder, NumbersCompareExactlyAcrossKinds)
{
  const Int64 big = (Int64(1) << 53) + 1;
  EXPECT_EQ(VarCompareValues(Variant(static_cast<long long>(big)), Variant(static_cast<double>(Int64(1) << 53))), 1);
  EXPECT_EQ(VarCompareValues(Variant(static_cast<long long>(INT64_MIN)), Variant(1)), -1);
  EXPECT_EQ(VarCompareValues(Variant(std::numeric_limits<double>::quiet_NaN()), Variant(-1e300)), -1);
  // 0.0001 as a double lies a little above Currency's 0.0001: exact values, not rounded ones.
  EXPECT_EQ(VarCompareValues(Variant(Currency::FromRaw(1)), Variant(0.0001)), -1);
  EXPECT_EQ(VarCompareValues(Variant(Currency::FromRaw(5000)), Variant(0.5)), 0);
  EXPECT_EQ(VarCompareValues(Variant(Currency::FromRaw(1)), Variant(0.00011)), -1);
  EXPECT_EQ(VarCompareValues(Variant(TDateTime(40000.5)), Variant(40000)), 1);
}

// Random values of every kind: the order must be a total preorder.
TEST(VariantOrder, IsATotalOrderOverMixedKinds)
{
  std::mt19937 rng(20261210);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::vector<double> doubles = {0.0,
                                       -0.0,
                                       1.5,
                                       -2.25,
                                       1e300,
                                       -1e-300,
                                       3.0,
                                       7.0,
                                       std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       9007199254740992.0};
  const std::vector<const char*> texts = {"", "1", "10", "9", "abc", "ABC", "合同", "a"};
  std::function<Variant(int)> make = [&](int depth) -> Variant {
    switch (pick(depth > 0 ? 15 : 16)) {
      case 0: return Variant::Null();
      case 1: return Variant();
      case 2: return Variant(pick(2) == 0);
      case 3: return Variant(static_cast<short>(pick(7) - 3));
      case 4: return Variant(pick(11) - 5);
      case 5: return Variant(doubles[pick(static_cast<int>(doubles.size()))]);
      case 6: return Variant(static_cast<float>(pick(9) - 4) / 2);
      case 7: return Variant(Currency::FromRaw((pick(9) - 4) * 5000));
      case 8: return Variant(TDateTime(pick(5)));
      case 9: return Variant(static_cast<long long>((Int64(1) << 53) + pick(3) - 1));
      case 10: return Variant(static_cast<unsigned short>(pick(9)));
      case 11: return Variant(texts[pick(static_cast<int>(texts.size()))]);
      case 12: return Variant(WideString(u"ab") + static_cast<char16_t>(pick(2) ? u'c' : u'\u20AC'));
      case 13: return Variant(static_cast<signed char>(pick(5)));
      case 14: return Variant::Error(pick(3));
      default: {
        std::vector<Variant> items;
        for (int i = pick(3); i > 0; --i) items.push_back(make(depth + 1));
        return ArrayOf(items);
      }
    }
  };
  std::vector<Variant> values;
  for (int i = 0; i < 160; ++i) values.push_back(make(0));
  const size_t n = values.size();
  std::vector<std::vector<int>> c(n, std::vector<int>(n));
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j) c[i][j] = Sign(VarCompareValues(values[i], values[j]));
  for (size_t i = 0; i < n; ++i) {
    ASSERT_EQ(c[i][i], 0) << i;
    for (size_t j = 0; j < n; ++j) {
      ASSERT_EQ(c[i][j], -c[j][i]) << i << " " << j;
      for (size_t k = 0; k < n; ++k) {
        if (c[i][j] <= 0 && c[j][k] <= 0) {
          ASSERT_LE(c[i][k], 0) << i << " " << j << " " << k;
          if (c[i][j] == 0 && c[j][k] == 0) {
            ASSERT_EQ(c[i][k], 0) << i << " " << j << " " << k;
          }
        }
      }
    }
  }
}

TEST(VariantTests, TypeTestsAndArrays)
{
  EXPECT_FALSE(VarIsNullOrEmptyStr(Variant()));
  EXPECT_TRUE(VarIsNullOrEmptyStr(Variant("")));
  EXPECT_TRUE(VarIsNullOrEmptyStr(Variant(u"")));
  EXPECT_TRUE(VarIsNullOrEmptyStr(Variant::Null()));
  EXPECT_FALSE(VarIsNullOrEmptyStr(Variant(" ")));
  EXPECT_FALSE(VarIsNullOrEmptyStr(Variant(0)));

  EXPECT_TRUE(VarIsDateOrTimeStamp(Variant(TDateTime(1))));
  Variant date(TDateTime(2));
  EXPECT_TRUE(VarIsDateOrTimeStamp(Variant::Ref(date)));
  EXPECT_TRUE(VarTypeIsDateOrTimeStamp(VarSQLTimeStamp()));
  EXPECT_FALSE(VarIsDateOrTimeStamp(Variant(2.0)));
  EXPECT_TRUE(VarIsNumericOrFMTBcd(Variant(Currency())));
  EXPECT_FALSE(VarIsNumericOrFMTBcd(Variant("1")));

  Variant a = MakeVarArray1(Variant(1));
  VarArrayAppend(a, Variant("x"));
  EXPECT_TRUE(VarValuesEqual(a, MakeVarArray2(Variant(1), Variant("x"))));
  EXPECT_EQ(Variants::VarArrayHighBound(a, 1), 1);
}

TEST(VariantTests, EqualsBooleanAsText)
{
  const Variant trueText(Variants::VarToStr(Variant(true)));
  EXPECT_TRUE(VarEqualsBooleanAsText(Variant(true), trueText));
  EXPECT_FALSE(VarEqualsBooleanAsText(Variant(false), trueText));
  EXPECT_FALSE(VarEqualsBooleanAsText(Variant::Null(), Variant(false)));
  EXPECT_TRUE(VarEqualsBooleanAsText(Variant(3), Variant(3.0)));
  EXPECT_FALSE(VarEqualsBooleanAsText(Variant(true), Variants::VarArrayOf({1})));
}

}  // namespace
