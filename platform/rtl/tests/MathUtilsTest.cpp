#include "platform/rtl/MathUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/rtl/Exceptions.h"

using namespace Math;

namespace {

TEST(MulDivTest, RoundsHalfAwayFromZeroAndAnswersMinusOneOnFailure)
{
  struct Case {
    Integer a, b, c, expected;
  } cases[] = {
      {10, 3, 4, 8},    // 7.5 -> 8
      {-10, 3, 4, -8},  // -7.5 -> -8
      {10, -3, 4, -8},
      {10, 3, -4, -8},
      {-10, -3, -4, -8},
      {7, 1, 3, 2},  // 2.33 -> 2
      {8, 1, 3, 3},  // 2.67 -> 3
      {5, 1, 2, 3},  // 2.5 -> 3
      {-5, 1, 2, -3},
      {96, 72, 96, 72},  // the usual point/pixel scaling
      {12, 96, 72, 16},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},  // the 64-bit intermediate
      {65536, 65536, 65536, 65536},
      {INT32_MIN, 1, 1, INT32_MIN},
      {1, 2, 0, -1},          // division by zero
      {INT32_MAX, 2, 1, -1},  // overflow
      {INT32_MIN, -1, 1, -1},
      {0, 5, 7, 0},
  };
  for (const Case& t : cases) EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << " * " << t.b << " / " << t.c;
}

TEST(RoundingTest, RoundIsBankersAndTruncDropsTheFraction)
{
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.51), 3);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Floor(-2.5), -3);
  EXPECT_EQ(Ceil(-2.5), -2);
  EXPECT_DOUBLE_EQ(Int(-2.75), -2.0);
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  EXPECT_THROW(Round(std::nan("")), EInvalidOp);
  EXPECT_THROW(Trunc(1e300), EInvalidOp);
}

TEST(RoundingTest, RoundToAndSimpleRoundTo)
{
  struct Case {
    double value;
    int digits;
    double roundTo, simple;
  } cases[] = {
      {1.125, -2, 1.12, 1.13},                               // exact half: even vs away from zero
      {-1.125, -2, -1.12, -1.13},  {1.135, -2, 1.14, 1.14},  // 1.135 is stored a bit above
      {1234.0, 2, 1200.0, 1200.0}, {1250.0, 2, 1200.0, 1300.0}, {-1250.0, 2, -1200.0, -1300.0},
      {2.5, 0, 2.0, 3.0},          {0.0, -2, 0.0, 0.0},
  };
  for (const Case& t : cases) {
    EXPECT_DOUBLE_EQ(RoundTo(t.value, t.digits), t.roundTo) << t.value << " at " << t.digits;
    EXPECT_DOUBLE_EQ(SimpleRoundTo(t.value, t.digits), t.simple) << t.value << " at " << t.digits;
  }
  EXPECT_DOUBLE_EQ(SimpleRoundTo(12.345), 12.35);  // default: hundredths
}

TEST(ComparisonTest, ToleranceFitsDoubleAndRangesAreInclusive)
{
  EXPECT_TRUE(SameValue(0.1 + 0.2, 0.3));
  EXPECT_FALSE(SameValue(1.0, 1.0001));
  EXPECT_TRUE(SameValue(1.0, 1.05, 0.1));
  EXPECT_TRUE(IsZero(1e-13));
  EXPECT_FALSE(IsZero(1e-9));
  EXPECT_EQ(CompareValue(0.1 + 0.2, 0.3), Math::EqualsValue);
  EXPECT_EQ(CompareValue(1.0, 2.0), Math::LessThanValue);
  EXPECT_EQ(CompareValue(Int64(5), Int64(-5)), Math::GreaterThanValue);
  EXPECT_TRUE(InRange(5, 1, 5));
  EXPECT_FALSE(InRange(6, 1, 5));
  EXPECT_EQ(EnsureRange(9, 1, 5), 5);
  EXPECT_EQ(EnsureRange(-9, 1, 5), 1);
  EXPECT_DOUBLE_EQ(EnsureRange(0.5, 1.0, 5.0), 1.0);
  EXPECT_EQ(Sign(-3.5), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Max(3, 7), 7);
  EXPECT_DOUBLE_EQ(Min(3.5, -1.0), -1.0);
}

TEST(PowerTest, IntegerAndRealExponents)
{
  EXPECT_DOUBLE_EQ(IntPower(10, -2), 0.01);
  EXPECT_DOUBLE_EQ(IntPower(2, 10), 1024.0);
  EXPECT_DOUBLE_EQ(IntPower(0, 0), 1.0);
  EXPECT_DOUBLE_EQ(Power(-2, 3), -8.0);  // an integral exponent works on a negative base
  EXPECT_DOUBLE_EQ(Power(4, 0.5), 2.0);
  EXPECT_DOUBLE_EQ(Power(0, 2.5), 0.0);
  EXPECT_DOUBLE_EQ(Log10(1000), 3.0);
  EXPECT_TRUE(IsNan(std::nan("")));
  EXPECT_TRUE(IsInfinite(-std::numeric_limits<double>::infinity()));
}

}  // namespace
