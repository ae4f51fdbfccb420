#include <gtest/gtest.h>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/spinedit/cxSpinEditValue.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"

using namespace cxSpinEditValue;

namespace {

class SpinEditValue : public ::testing::Test {
protected:
  void SetUp() override
  {
    EditorsModule::Initialize();
    SysUtils::ResetFormatSettings();
  }
  void TearDown() override { SysUtils::ResetFormatSettings(); }
};

struct TSpinConvertCase {
  const char* Text;
  TcxSpinEditValueType Type;
  TcxSpinConvertError Error;
  const char* Shown;  // ValueToText of the result
};

TEST_F(SpinEditValue, TextConvertsInsideItsValueType)
{
  const TSpinConvertCase cases[] = {
      {"", vtFloat, sceInvalid, ""},
      {"abc", vtFloat, sceInvalid, ""},
      {"1.2.3", vtFloat, sceInvalid, ""},
      {"1e", vtFloat, sceInvalid, ""},
      {"--1", vtInt, sceInvalid, ""},
      {"$FF", vtInt, sceInvalid, ""},  // no hexadecimal
      {"1,5", vtFloat, sceInvalid, ""},
      {" -2.5 ", vtFloat, sceNone, "-2.5"},
      {"1e400", vtFloat, sceOutOfBounds, ""},
      {"-1e400", vtFloat, sceOutOfBounds, ""},
      {"1.7e308", vtFloat, sceOutOfBounds, ""},
      {"1.6e308", vtFloat, sceNone, "1.6E308"},
      {"1e400", vtInt, sceOutOfBounds, ""},
      // All digits of an integer survive, past the 15 of a Double.
      {"9007199254740993", vtInt, sceNone, "9007199254740993"},
      {"9223372036854775807", vtInt, sceNone, "9223372036854775807"},
      {"-9223372036854775808", vtInt, sceNone, "-9223372036854775808"},
      {"9223372036854775808", vtInt, sceOutOfBounds, ""},
      {"-9223372036854775809", vtInt, sceOutOfBounds, ""},
      {"9.3e18", vtInt, sceOutOfBounds, ""},
      // Fractions round to the nearest integer, a half to the even one.
      {"3.7", vtInt, sceNone, "4"},
      {"2.5", vtInt, sceNone, "2"},
      {"-2.5", vtInt, sceNone, "-2"},
      {"1.5E2", vtInt, sceNone, "150"},
  };
  for (const TSpinConvertCase& c : cases) {
    Variant v = Variant::Null();
    EXPECT_EQ(TextToValue(c.Text, c.Type, v), c.Error) << c.Text;
    if (c.Error == sceNone) {
      EXPECT_EQ(v.VarType(), c.Type == vtInt ? varInt64 : varDouble) << c.Text;
      EXPECT_EQ(ValueToText(v), c.Shown) << c.Text;
    } else {
      EXPECT_TRUE(v.IsNull()) << c.Text;
    }
  }
}

TEST_F(SpinEditValue, TheLocaleDecimalSeparatorIsTheOnlyOne)
{
  SysUtils::DecimalSeparator = ',';
  Variant v;
  EXPECT_EQ(TextToValue("1,25", vtFloat, v), sceNone);
  EXPECT_DOUBLE_EQ(v.AsDouble(), 1.25);
  EXPECT_EQ(TextToValue("1.25", vtFloat, v), sceInvalid);
}

TEST_F(SpinEditValue, ValuesCastToTheirTypeAndRaiseOutsideIt)
{
  EXPECT_EQ(ValueToText(ToValue(Variant::Null(), vtInt)), "0");
  EXPECT_EQ(ToValue(Variant(AnsiString()), vtFloat).VarType(), varDouble);
  EXPECT_EQ(ValueToText(ToValue(Variant(3.7), vtInt)), "4");
  EXPECT_EQ(ValueToText(ToValue(Variant(AnsiString("12")), vtFloat)), "12");
  EXPECT_EQ(ToValue(Variant(Int64(9007199254740993)), vtInt).AsInt64(), Int64(9007199254740993));
  EXPECT_THROW(ToValue(Variant(1e300), vtInt), Exception);
  EXPECT_THROW(ToValue(Variant(AnsiString("x")), vtFloat), EConvertError);
  try {
    ToValue(Variant(AnsiString("1e400")), vtFloat);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Value out of bounds");
  }
  Variant text = Variant(AnsiString("abc"));
  CastToValueType(text, vtInt);  // not a number: left alone
  EXPECT_EQ(text.AsString(), "abc");
}

TEST_F(SpinEditValue, IncrementsRoundToEvenForIntegers)
{
  struct {
    double Increment;
    TcxSpinEditValueType Type;
    int Code;
    double Expected;
  } const cases[] = {
      {0.5, vtInt, scUp, 0},      {1.5, vtInt, scUp, 2},         {2.5, vtInt, scUp, 2},
      {2.5, vtInt, scDown, -2},   {0.5, vtFloat, scUp, 0.5},     {0.5, vtFloat, scDown, -0.5},
      {1, vtFloat, scFastUp, 10}, {1, vtFloat, scFastDown, -10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetIncrement(c.Increment, 10, c.Type, c.Code), c.Expected) << c.Increment << " code " << c.Code;
}

struct TSpinStepCase {
  Variant From;
  int Code;
  TcxSpinEditValueType Type;
  double Min, Max;
  int Action;
  const char* Expected;  // nullptr: the step is refused
};

void CheckSpinSteps(const std::vector<TSpinStepCase>& ACases)
{
  for (const TSpinStepCase& c : ACases) {
    TcxSpinStepBounds bounds{c.Min, c.Max, c.Action};
    Variant v = Variant(AnsiString("unchanged"));
    double inc = GetIncrement(1, 10, c.Type, c.Code);
    bool ok = GetNewValue(c.From, c.Code, inc, c.Type, bounds, v);
    SCOPED_TRACE(ValueToText(c.From) + " code " + SysUtils::IntToStr(c.Code));
    if (!c.Expected) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(v.AsString(), "unchanged");
    } else {
      EXPECT_TRUE(ok);
      EXPECT_EQ(ValueToText(v), c.Expected);
      EXPECT_EQ(v.VarType(), c.Type == vtInt ? varInt64 : varDouble);
    }
  }
}

TEST_F(SpinEditValue, StepsStayInsideTheBounds)
{
  CheckSpinSteps({
      {Variant(9.5), scUp, vtFloat, 0, 10, 1, "10"},   // clamped
      {Variant(10.0), scUp, vtFloat, 0, 10, 1, "10"},  // 11 clamped back: the same text
      {Variant(9.5), scUp, vtFloat, 0, 10, 0, nullptr},
      {Variant(9.5), scUp, vtFloat, 0, 10, 2, "10.5"},
      {Variant(12), scUp, vtFloat, 0, 10, 1, nullptr},  // above the range: only down moves
      {Variant(12), scDown, vtFloat, 0, 10, 1, "10"},
      {Variant(12), scFastDown, vtFloat, 0, 10, 1, "10"},
      {Variant(-3), scDown, vtFloat, 0, 10, 1, nullptr},
      {Variant(-3), scUp, vtFloat, 0, 10, 1, "0"},
      {Variant(5), scFastUp, vtInt, 0, 10, 1, "10"},
      {Variant(5), scFastDown, vtInt, 0, 10, 1, "0"},
      {Variant(0), scDown, vtFloat, 0, 0, 1, "-1"},  // MinValue = MaxValue: no bounds
      {Variant(-1e9), scFastDown, vtInt, 5, 5, 1, "-1000000010"},
  });
}

TEST_F(SpinEditValue, StepsThatWouldLeaveTheTypeAreRefused)
{
  const Int64 most = 9223372036854775807LL;
  CheckSpinSteps({
      {Variant(most), scUp, vtInt, 0, 0, 1, nullptr},
      {Variant(most - 1), scUp, vtInt, 0, 0, 1, "9223372036854775807"},
      {Variant(-most - 1), scDown, vtInt, 0, 0, 1, nullptr},
      {Variant(most - 5), scFastUp, vtInt, 0, 0, 1, nullptr},
      {Variant(9007199254740993LL), scUp, vtInt, 0, 0, 1, "9007199254740994"},
      {Variant(1.69e308), scUp, vtFloat, 0, 0, 1, "1.69E308"},  // below the Double's precision
      {Variant(1e300), scUp, vtInt, 0, 0, 1, nullptr},          // the start is no 64-bit integer
  });
  // A large increment past the limit.
  Variant v;
  EXPECT_FALSE(GetNewValue(Variant(1.6e308), scUp, 1e308, vtFloat, {}, v));
  EXPECT_FALSE(GetNewValue(Variant(0), scUp, 1e19, vtInt, {}, v));
}

}  // namespace
