#include "platform/rtl/Variants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

using namespace Variants;

namespace {

const TDateTime kDay = SysUtils::EncodeDate(2009, 3, 5);

Currency Curr(double v) { return SysUtils::DoubleToCurr(v); }

// Names a value in failure traces; values without a text show their type.
AnsiString Label(const Variant& v)
{
  try {
    return VarTypeAsText(v.VarType()) + " " + VarToStr(v);
  } catch (const EVariantError&) {
    return VarTypeAsText(v.VarType());
  }
}

// Same type code and the same value (two Nulls or two Empties count as the same).
::testing::AssertionResult SameVariant(const Variant& got, const Variant& want)
{
  if (got.VarType() != want.VarType())
    return ::testing::AssertionFailure() << "type " << VarTypeAsText(got.VarType()) << ", want "
                                         << VarTypeAsText(want.VarType());
  if (VarIsNull(want) || VarIsEmpty(want) || VarSameValue(got, want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "value " << Label(got) << ", want " << Label(want);
}

// Runs `fn`; `error` empty means it must succeed, else it must raise the exception class
// `errorClass` with exactly the text `error`.
::testing::AssertionResult Raises(const std::function<void()>& fn, const char* errorClass, const char* error)
{
  try {
    fn();
  } catch (const Exception& e) {
    if (e.ClassName() == AnsiString(errorClass) && e.Message() == error) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << e.ClassName() << " \"" << e.Message() << "\"";
  }
  return ::testing::AssertionFailure() << "nothing raised";
}

// A dispatch object that counts its life and offers a few members.
class TFakeObject : public TDispatchObject {
public:
  explicit TFakeObject(bool* freed) : FFreed(freed) {}
  ~TFakeObject() override { *FFreed = true; }

  Variant Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args) override
  {
    Calls.push_back(name);
    if (name == "Add" && kind == dkMethod) return args.at(0) + args.at(1);
    if (name == "Swap" && kind == dkMethod) {
      std::swap(args.at(0), args.at(1));
      return Variant();
    }
    if (name == "Caption" && kind == dkPropertyGet) return FCaption;
    if (name == "Caption" && kind == dkPropertyPut) {
      FCaption = args.at(0);
      return Variant();
    }
    if (name == "Cells" && kind == dkPropertyGet) return args.at(0) * 10 + args.at(1);
    Variants::RaiseUnknownName(name);
  }

  std::vector<AnsiString> Calls;

private:
  bool* FFreed;
  Variant FCaption = "";
};

class VariantsTest : public ::testing::Test {
protected:
  void TearDown() override
  {
    NullStrictConvert = true;
    NullEqualityRule = ncrLoose;
    NullMagnitudeRule = ncrLoose;
    SysUtils::ResetFormatSettings();
  }
};

}  // namespace

TEST_F(VariantsTest, ConstructorsPickTheTypeCodeOfTheCppType)
{
  struct Case {
    Variant V;
    TVarType Type;
  } cases[] = {
      {Variant(), varEmpty},
      {Variant::Null(), varNull},
      {true, varBoolean},
      {static_cast<signed char>(-1), varShortInt},
      {static_cast<short>(-1), varSmallint},
      {-1, varInteger},
      {-1LL, varInt64},
      {static_cast<Int64>(-1), varInt64},
      {static_cast<unsigned char>(1), varByte},
      {static_cast<unsigned short>(1), varWord},
      {1u, varLongWord},
      {1.5f, varSingle},
      {1.5, varDouble},
      {Curr(1.5), varCurrency},
      {kDay, varDate},
      {"abc", varString},
      {AnsiString("abc"), varString},
      {'x', varString},
      {u"abc", varOleStr},
      {WideString(u"abc"), varOleStr},
      {Variant::Error(5), varError},
      {EmptyParam(), varError},
  };
  for (const Case& c : cases) EXPECT_EQ(c.V.VarType(), c.Type) << VarTypeAsText(c.Type);
  EXPECT_TRUE(VarIsEmptyParam(EmptyParam()));
  EXPECT_FALSE(VarIsEmptyParam(Variant::Error(5)));
}

TEST_F(VariantsTest, ConversionMatrix)
{
  const Variant dispatch(static_cast<IDispatch*>(nullptr));
  struct Case {
    Variant From;
    TVarType To;
    Variant Want;            // ignored when an error is expected
    const char* ErrorClass;  // nullptr: no error
    const char* Error;
  } cases[] = {
      // integers out
      {7, varString, "7", nullptr, nullptr},
      {7, varOleStr, u"7", nullptr, nullptr},
      {7, varDouble, 7.0, nullptr, nullptr},
      {7, varBoolean, true, nullptr, nullptr},
      {0, varBoolean, false, nullptr, nullptr},
      {7, varCurrency, Curr(7), nullptr, nullptr},
      {7, varDate, TDateTime(7), nullptr, nullptr},
      {7, varByte, static_cast<unsigned char>(7), nullptr, nullptr},
      {-5, varLongWord, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Integer) into type (LongWord)"},
      {300, varByte, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Integer) into type (Byte)"},
      {static_cast<Int64>(1) << 40, varInteger, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Int64) into type (Integer)"},
      {static_cast<Int64>(1) << 40, varDouble, 1099511627776.0, nullptr, nullptr},
      // floats to integers: halves to even, range checked
      {2.5, varInteger, 2, nullptr, nullptr},
      {3.5, varInteger, 4, nullptr, nullptr},
      {-2.5, varInteger, -2, nullptr, nullptr},
      {2.6, varSmallint, static_cast<short>(3), nullptr, nullptr},
      {1e10, varInteger, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Double) into type (Integer)"},
      {1e10, varInt64, static_cast<Int64>(10000000000LL), nullptr, nullptr},
      {std::nan(""), varInt64, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Double) into type (Int64)"},
      {1e300, varSingle, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Double) into type (Single)"},
      {1.5, varString, "1.5", nullptr, nullptr},
      {0.1f, varString, "0.1", nullptr, nullptr},
      {1.23456, varCurrency, Curr(1.2346), nullptr, nullptr},
      {1e20, varCurrency, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Double) into type (Currency)"},
      // Currency
      {Curr(2.5), varInteger, 2, nullptr, nullptr},
      {Curr(3.5), varInteger, 4, nullptr, nullptr},
      {Curr(1.2345), varString, "1.2345", nullptr, nullptr},
      {Curr(1.25), varDouble, 1.25, nullptr, nullptr},
      // Boolean: True is -1
      {true, varInteger, -1, nullptr, nullptr},
      {true, varDouble, -1.0, nullptr, nullptr},
      {true, varString, "True", nullptr, nullptr},
      {false, varString, "False", nullptr, nullptr},
      {true, varByte, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (Boolean) into type (Byte)"},
      // texts in
      {"12", varInteger, 12, nullptr, nullptr},
      {" 12 ", varInteger, 12, nullptr, nullptr},
      {"12.5", varInteger, 12, nullptr, nullptr},
      {"13.5", varInteger, 14, nullptr, nullptr},
      {"1.5", varDouble, 1.5, nullptr, nullptr},
      {"1.5", varCurrency, Curr(1.5), nullptr, nullptr},
      {"abc", varInteger, 0, "EVariantTypeCastError", "Could not convert variant of type (String) into type (Integer)"},
      {"", varDouble, 0, "EVariantTypeCastError", "Could not convert variant of type (String) into type (Double)"},
      {"99999999999", varInteger, 0, "EVariantOverflowError",
       "Overflow while converting variant of type (String) into type (Integer)"},
      {"true", varBoolean, true, nullptr, nullptr},
      {"FALSE", varBoolean, false, nullptr, nullptr},
      {"0", varBoolean, false, nullptr, nullptr},
      {"2", varBoolean, true, nullptr, nullptr},
      {"yes", varBoolean, false, "EVariantTypeCastError",
       "Could not convert variant of type (String) into type (Boolean)"},
      {"2009-03-05", varDate, kDay, nullptr, nullptr},
      {"not a date", varDate, 0, "EVariantTypeCastError",
       "Could not convert variant of type (String) into type (Date)"},
      {u"12", varInteger, 12, nullptr, nullptr},
      {u"合同", varString, "合同", nullptr, nullptr},
      {"合同", varOleStr, u"合同", nullptr, nullptr},
      {u"x", varDouble, 0, "EVariantTypeCastError", "Could not convert variant of type (OleStr) into type (Double)"},
      // dates out
      {kDay, varString, "2009-03-05", nullptr, nullptr},
      {TDateTime(kDay + 0.5), varString, "2009-03-05 12:00:00", nullptr, nullptr},
      {kDay, varInteger, 39877, nullptr, nullptr},
      // Empty reads as nothing
      {Variant(), varInteger, 0, nullptr, nullptr},
      {Variant(), varString, "", nullptr, nullptr},
      {Variant(), varBoolean, false, nullptr, nullptr},
      {Variant(), varDate, TDateTime(0), nullptr, nullptr},
      // Null raises while the strict switch is on
      {Variant::Null(), varInteger, 0, "EVariantTypeCastError",
       "Could not convert variant of type (Null) into type (Integer)"},
      {Variant::Null(), varString, 0, "EVariantTypeCastError",
       "Could not convert variant of type (Null) into type (String)"},
      {Variant::Null(), varNull, Variant::Null(), nullptr, nullptr},
      {Variant::Null(), varEmpty, Variant(), nullptr, nullptr},
      // what has no value to convert
      {dispatch, varInteger, 0, "EVariantTypeCastError",
       "Could not convert variant of type (Dispatch) into type (Integer)"},
      {VarArrayOf({1}), varString, 0, "EVariantTypeCastError",
       "Could not convert variant of type (Array Variant) into type (String)"},
      {Variant::Error(1), varDouble, 0, "EVariantTypeCastError",
       "Could not convert variant of type (Error) into type (Double)"},
      {7, varAny, 0, "EVariantTypeCastError", "Could not convert variant of type (Integer) into type (Any)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Label(c.From) + " -> " + VarTypeAsText(c.To));
    Variant got;
    if (c.ErrorClass) {
      EXPECT_TRUE(Raises([&] { got = VarAsType(c.From, c.To); }, c.ErrorClass, c.Error));
    } else {
      EXPECT_NO_THROW(got = VarAsType(c.From, c.To));
      EXPECT_TRUE(SameVariant(got, c.Want));
    }
  }
}

TEST_F(VariantsTest, AsAccessorsAgreeWithVarAsType)
{
  const Variant v = "42.5";
  EXPECT_EQ(v.AsInteger(), 42);
  EXPECT_EQ(v.AsInt64(), 42);
  EXPECT_EQ(v.AsDouble(), 42.5);
  EXPECT_EQ(v.AsCurrency(), Curr(42.5));
  EXPECT_EQ(v.AsString(), "42.5");
  EXPECT_EQ(v.AsWideString(), u"42.5");
  EXPECT_TRUE(v.AsBoolean());
  EXPECT_TRUE(Raises([] { (void)Variant(1).AsDispatch(); }, "EVariantTypeCastError",
                     "Could not convert variant of type (Integer) into type (Dispatch)"));
}

TEST_F(VariantsTest, TextToNumberFollowsTheDecimalSeparator)
{
  SysUtils::DecimalSeparator = ',';
  EXPECT_EQ(Variant("1,5").AsDouble(), 1.5);
  EXPECT_EQ(Variant(1.5).AsString(), "1,5");
  EXPECT_THROW((void)Variant("1.5").AsDouble(), EVariantTypeCastError);
  EXPECT_TRUE(SameVariant(Variant("1,5") + 1, 2.5));
}

TEST_F(VariantsTest, NullConvertsToNothingWhenTheStrictSwitchIsOff)
{
  const Variant n = Variant::Null();
  EXPECT_EQ(VarToStr(n), "");  // whatever the switch says
  EXPECT_EQ(VarToStrDef(n, "-"), "-");
  NullStrictConvert = false;
  EXPECT_EQ(n.AsInteger(), 0);
  EXPECT_EQ(n.AsDouble(), 0.0);
  EXPECT_EQ(n.AsString(), "");
  EXPECT_EQ(n.AsWideString(), u"");
  EXPECT_FALSE(n.AsBoolean());
  EXPECT_EQ(n.AsCurrency(), Currency());
  EXPECT_TRUE(SameVariant(VarAsType(n, varInteger), 0));
  EXPECT_TRUE(SameVariant(VarAsType(n, varString), ""));
  // The switch is about conversion: arithmetic still propagates Null.
  EXPECT_TRUE(VarIsNull(n + 1));
}

TEST_F(VariantsTest, ArithmeticAcrossMixedTypes)
{
  const Int64 int64Max = std::numeric_limits<Int64>::max();
  const Variant null = Variant::Null();
  struct Case {
    Variant A;
    TVarOp Op;
    Variant B;
    Variant Want;
  } cases[] = {
      {2, opAdd, 3, 5},
      {static_cast<short>(30000), opAdd, static_cast<short>(30000), 60000},
      {static_cast<unsigned char>(200), opMultiply, static_cast<unsigned char>(200), 40000},
      // overflow widens instead of wrapping
      {2147483647, opAdd, 1, static_cast<Int64>(2147483648LL)},
      {-2147483647 - 1, opMultiply, -1, static_cast<Int64>(2147483648LL)},
      {int64Max, opAdd, 1, 9223372036854775808.0},
      {4000000000u, opAdd, 1, static_cast<Int64>(4000000001LL)},
      {7, opSubtract, 2.5, 4.5},
      // "/" always divides as floats
      {7, opDivide, 2, 3.5},
      {Curr(3), opDivide, Curr(2), 1.5},
      // text
      {"1", opAdd, "2", "12"},
      {u"a", opAdd, "b", u"ab"},
      {"1", opAdd, 2, 3.0},
      {2, opAdd, "1.5", 3.5},
      {"5", opSubtract, "3", 2.0},
      {"2", opMultiply, "3", 6.0},
      {"合", opAdd, "同", "合同"},
      // Currency stays Currency with integers and Currency
      {Curr(1.5), opAdd, 2, Curr(3.5)},
      {Curr(1.5), opMultiply, 3, Curr(4.5)},
      {Curr(1.5), opMultiply, Curr(2), Curr(3)},
      {Curr(1.5), opMultiply, 2.0, 3.0},
      {"0.25", opAdd, Curr(1), Curr(1.25)},
      {Curr(900000000000000), opMultiply, 100, 90000000000000000.0},
      // dates
      {kDay, opAdd, 1, TDateTime(kDay + 1)},
      {1.5, opAdd, kDay, TDateTime(kDay + 1.5)},
      {kDay, opSubtract, TDateTime(kDay - 2), 2.0},
      {kDay, opAdd, "1", TDateTime(kDay + 1)},
      {kDay, opMultiply, 2, kDay * 2.0},
      // Boolean is -1
      {true, opAdd, 1, 0},
      {true, opAdd, true, -2},
      // Null propagates, Empty is 0 or ""
      {null, opAdd, 1, null},
      {1, opMultiply, null, null},
      {"a", opAdd, null, null},
      {null, opDivide, 0, null},
      {Variant(), opAdd, 1, 1},
      {Variant(), opAdd, "a", "a"},
      {Variant(), opAdd, Variant(), 0},
      // integer operators
      {7, opIntDivide, 2, 3},
      {-7, opIntDivide, 2, -3},
      {7, opModulus, -2, 1},
      {-7, opModulus, 2, -1},
      {7.5, opIntDivide, 2, 4},
      {"9", opModulus, 4, 1},
      {int64Max, opIntDivide, 2, static_cast<Int64>(int64Max / 2)},
      {12, opAnd, 10, 8},
      {12, opOr, 3, 15},
      {6, opXor, 3, 5},
      {1, opShiftLeft, 4, 16},
      {1, opShiftLeft, 32, 1},
      {static_cast<Int64>(1), opShiftLeft, 40, static_cast<Int64>(1LL << 40)},
      {-16, opShiftRight, 2, 1073741820},
      // logical
      {true, opAnd, false, false},
      {true, opOr, false, true},
      {true, opXor, true, false},
      {"True", opAnd, true, true},
      {"true", opOr, "false", true},
      {true, opAnd, 5, 5},
      {null, opAnd, true, null},
      // comparisons as Boolean Variants
      {1, opCmpLT, 2, true},
      {"b", opCmpGE, "a", true},
      {null, opCmpEQ, null, true},
      {null, opCmpEQ, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Label(c.A) + " op" + std::to_string(c.Op) + " " + Label(c.B));
    Variant got;
    EXPECT_NO_THROW(got = BinaryOp(c.Op, c.A, c.B));
    EXPECT_TRUE(SameVariant(got, c.Want));
  }
  // The C++ operators are the same operations.
  EXPECT_TRUE(SameVariant(Variant(7) % Variant(4), 3));
  EXPECT_TRUE(SameVariant(Variant("1") + Variant(2), 3.0));
  Variant v = 1;
  v += 2;
  v *= "2";
  EXPECT_TRUE(SameVariant(v, 6.0));
}

TEST_F(VariantsTest, ArithmeticErrors)
{
  const Variant array = VarArrayOf({1});
  const Variant object(static_cast<IDispatch*>(nullptr));
  struct Case {
    Variant A;
    TVarOp Op;
    Variant B;
    const char* ErrorClass;
    const char* Error;
  } cases[] = {
      {1, opDivide, 0, "EZeroDivide", "Floating point division by zero"},
      {1.5, opDivide, Variant(), "EZeroDivide", "Floating point division by zero"},
      {1, opIntDivide, 0, "EDivByZero", "Division by zero"},
      {1, opModulus, false, "EDivByZero", "Division by zero"},
      {"abc", opAdd, 2, "EVariantTypeCastError", "Could not convert variant of type (String) into type (Double)"},
      {"a", opSubtract, "b", "EVariantTypeCastError", "Could not convert variant of type (String) into type (Double)"},
      {array, opAdd, 1, "EVariantInvalidOpError", "Invalid variant operation"},
      {1, opMultiply, object, "EVariantInvalidOpError", "Invalid variant operation"},
      {1, opCompare, 1, "EVariantInvalidOpError", "Invalid variant operation"},
      {1, opNegate, 1, "EVariantInvalidOpError", "Invalid variant operation"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Label(c.A) + " op" + std::to_string(c.Op) + " " + Label(c.B));
    EXPECT_TRUE(Raises([&] { (void)BinaryOp(c.Op, c.A, c.B); }, c.ErrorClass, c.Error));
  }
}

TEST_F(VariantsTest, NegationAndNot)
{
  struct Case {
    TVarOp Op;
    Variant V;
    Variant Want;
  } cases[] = {
      {opNegate, 5, -5},
      {opNegate, -2147483647 - 1, static_cast<Int64>(2147483648LL)},
      {opNegate, static_cast<short>(-32768), 32768},
      {opNegate, Curr(1.5), Curr(-1.5)},
      {opNegate, kDay, TDateTime(-kDay.Value)},
      {opNegate, "2.5", -2.5},
      {opNegate, true, 1},
      {opNegate, Variant::Null(), Variant::Null()},
      {opNot, true, false},
      {opNot, 0, -1},
      {opNot, static_cast<unsigned char>(0), static_cast<unsigned char>(255)},
      {opNot, "False", true},
      {opNot, "6", -7},
      {opNot, Variant::Null(), Variant::Null()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Label(c.V));
    EXPECT_TRUE(SameVariant(UnaryOp(c.Op, c.V), c.Want));
  }
  EXPECT_TRUE(SameVariant(-Variant(3), -3));
  EXPECT_TRUE(SameVariant(~Variant(false), true));
}

TEST_F(VariantsTest, ComparisonAcrossMixedTypes)
{
  const Variant nan = std::nan("");
  // 'L', 'E', 'G': less, equal, greater; 'N': unequal and unordered.
  struct Case {
    Variant A;
    Variant B;
    char Want;
  } cases[] = {
      {1, 2, 'L'},
      {2, 1.5, 'G'},
      {"abc", "abd", 'L'},
      {"abc", "ABC", 'G'},  // case counts
      {"10", 9, 'G'},       // a text beside a number reads as a number
      {"10", "9", 'L'},     // two texts compare as texts
      {"合同", u"合同", 'E'},
      {u"a", u"b", 'L'},
      {Variant(), 0, 'E'},
      {Variant(), "", 'E'},
      {Variant(), Variant(), 'E'},
      {Variant(), -1, 'G'},
      {true, false, 'G'},
      {true, -1, 'E'},
      {"true", true, 'E'},
      {Curr(1.5), 1.5, 'E'},
      {Curr(2), 2, 'E'},
      {Curr(2), static_cast<Int64>(3), 'L'},
      {kDay, static_cast<double>(kDay), 'E'},
      {kDay, "2009-03-06", 'L'},
      {static_cast<Int64>((1LL << 53) + 1), 9007199254740992.0, 'G'},
      {static_cast<Int64>(-1), 4294967295u, 'L'},
      {nan, nan, 'N'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Label(c.A) + " vs " + Label(c.B));
    EXPECT_EQ(c.A == c.B, c.Want == 'E');
    EXPECT_EQ(c.A != c.B, c.Want != 'E');
    EXPECT_EQ(c.A < c.B, c.Want == 'L');
    EXPECT_EQ(c.A <= c.B, c.Want == 'L' || c.Want == 'E');
    EXPECT_EQ(c.A > c.B, c.Want == 'G');
    EXPECT_EQ(c.A >= c.B, c.Want == 'G' || c.Want == 'E');
  }
  EXPECT_TRUE(Raises([] { (void)(Variant("abc") < Variant(1)); }, "EVariantTypeCastError",
                     "Could not convert variant of type (String) into type (Double)"));
  EXPECT_TRUE(
      Raises([] { (void)(VarArrayOf({1}) == Variant(1)); }, "EVariantInvalidOpError", "Invalid variant operation"));
}

TEST_F(VariantsTest, ComparisonWithNullFollowsTheNullRules)
{
  const Variant n = Variant::Null();
  // Loose (the default): Null equals only Null and sorts before everything.
  EXPECT_TRUE(n == n);
  EXPECT_FALSE(n == 0);
  EXPECT_TRUE(n != 0);
  EXPECT_TRUE(n < Variant());
  EXPECT_TRUE(n < -1e300);
  EXPECT_FALSE(n > 1);
  EXPECT_TRUE(Variant("a") > n);

  NullEqualityRule = ncrStrict;
  NullMagnitudeRule = ncrStrict;
  EXPECT_FALSE(n == n);
  EXPECT_FALSE(n != 1);
  EXPECT_FALSE(n < 1);
  EXPECT_FALSE(n >= 1);

  NullEqualityRule = ncrError;
  NullMagnitudeRule = ncrError;
  EXPECT_TRUE(Raises([&] { (void)(n == 1); }, "EVariantInvalidNullOpError", "Invalid NULL variant operation"));
  EXPECT_TRUE(Raises([&] { (void)(1 < n); }, "EVariantInvalidNullOpError", "Invalid NULL variant operation"));
}

TEST_F(VariantsTest, CompareValueAndSameValue)
{
  const Variant n = Variant::Null();
  struct Case {
    Variant A;
    Variant B;
    TVariantRelationship Want;
  } cases[] = {
      {n, n, vrEqual},
      {Variant(), Variant(), vrEqual},
      {n, Variant(), vrNotEqual},
      {Variant(), 0, vrNotEqual},
      {1, n, vrNotEqual},
      {1, 2, vrLessThan},
      {"b", "a", vrGreaterThan},
      {2, 2.0, vrEqual},
  };
  for (const Case& c : cases) EXPECT_EQ(VarCompareValue(c.A, c.B), c.Want);
  EXPECT_TRUE(VarSameValue(1, "1"));
  EXPECT_FALSE(VarSameValue("abc", 1));  // cannot compare: not the same, not an error
}

TEST_F(VariantsTest, TypeTests)
{
  struct Case {
    Variant V;
    bool Ordinal, Float, Numeric, Str;
  } cases[] = {
      {5, true, false, true, false},      {true, true, false, true, false},
      {1.5, false, true, true, false},    {Curr(1), false, true, true, false},
      {kDay, false, false, false, false}, {"a", false, false, false, true},
      {u"a", false, false, false, true},  {Variant::Null(), false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VarTypeAsText(c.V.VarType()));
    EXPECT_EQ(VarIsOrdinal(c.V), c.Ordinal);
    EXPECT_EQ(VarIsFloat(c.V), c.Float);
    EXPECT_EQ(VarIsNumeric(c.V), c.Numeric);
    EXPECT_EQ(VarIsStr(c.V), c.Str);
  }
  EXPECT_TRUE(VarIsClear(Variant()));
  EXPECT_TRUE(VarIsClear(Variant(static_cast<IDispatch*>(nullptr))));
  EXPECT_TRUE(VarIsClear(Variant(static_cast<IUnknown*>(nullptr))));
  EXPECT_FALSE(VarIsClear(Variant::Null()));
  EXPECT_EQ(VarTypeAsText(varInteger), "Integer");
  EXPECT_EQ(VarTypeAsText(varString), "String");
  EXPECT_EQ(VarTypeAsText(varArray | varOleStr), "Array OleStr");
  EXPECT_EQ(VarTypeAsText(varByRef | varVariant), "ByRef Variant");
}

TEST_F(VariantsTest, ByRefReadsAndWritesItsTarget)
{
  Variant target = 5;
  Variant ref = Variant::Ref(target);
  EXPECT_EQ(ref.VarType(), varByRef | varVariant);
  EXPECT_EQ(VarType(ref), varInteger);
  EXPECT_TRUE(SameVariant(ref + 1, 6));
  EXPECT_TRUE(ref == 5);
  ref.SetReferenced("x");
  EXPECT_TRUE(SameVariant(target, "x"));
  const Variant copy = ref;  // a copy refers to the same target
  target = 9;
  EXPECT_EQ(copy.AsInteger(), 9);
  // A reference to a reference refers to the end of the chain.
  EXPECT_TRUE(SameVariant(Variant::Ref(ref).Deref(), 9));
}

TEST_F(VariantsTest, ArraysOfOneDimension)
{
  Variant a = VarArrayCreate({1, 3}, varInteger);
  EXPECT_EQ(a.VarType(), varArray | varInteger);
  EXPECT_EQ(VarArrayDimCount(a), 1);
  EXPECT_EQ(VarArrayLowBound(a, 1), 1);
  EXPECT_EQ(VarArrayHighBound(a, 1), 3);
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 0));  // new elements hold the type's zero
  VarArrayPut(a, "12", {2});                         // converted to the element type
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 12));
  EXPECT_THROW(VarArrayPut(a, "x", {2}), EVariantTypeCastError);
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 12));  // a failed put changes nothing

  // Copies are independent.
  Variant b = a;
  VarArrayPut(b, 99, {2});
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 12));

  VarArrayRedim(a, 5);
  EXPECT_EQ(VarArrayHighBound(a, 1), 5);
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 12));
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {5}), 0));
  VarArrayRedim(a, 0);  // empty
  EXPECT_EQ(VarArrayHighBound(a, 1), 0);
  EXPECT_THROW(VarArrayGet(a, {1}), EVariantBadIndexError);
  VarArrayRedim(a, 2);
  EXPECT_TRUE(SameVariant(VarArrayGet(a, {2}), 0));  // shrinking dropped the old value

  const Variant list = VarArrayOf({1, "a", Variant::Null()});
  EXPECT_EQ(list.VarType(), varArray | varVariant);
  EXPECT_EQ(VarArrayHighBound(list, 1), 2);
  EXPECT_TRUE(SameVariant(VarArrayGet(list, {1}), "a"));
  EXPECT_TRUE(VarIsNull(VarArrayGet(list, {2})));
  const Variant none = VarArrayOf({});
  EXPECT_EQ(VarArrayHighBound(none, 1), -1);

  // A reference writes into the array it refers to.
  Variant ref = VarArrayRef(b);
  VarArrayPut(ref, 7, {1});
  EXPECT_TRUE(SameVariant(VarArrayGet(b, {1}), 7));
  EXPECT_TRUE(VarIsArray(ref));
}

TEST_F(VariantsTest, ArraysOfSeveralDimensions)
{
  Variant a = VarArrayCreate({1, 2, 0, 2}, varVariant);
  EXPECT_EQ(VarArrayDimCount(a), 2);
  EXPECT_EQ(VarArrayLowBound(a, 2), 0);
  EXPECT_EQ(VarArrayHighBound(a, 2), 2);
  for (int i = 1; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) VarArrayPut(a, i * 10 + j, {i, j});
  for (int i = 1; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) EXPECT_TRUE(SameVariant(VarArrayGet(a, {i, j}), i * 10 + j));
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(VarArrayCreate({0, 1, 0, 1}, varVariant), {1, 1})));

  // Growing the last dimension keeps every element where it was.
  VarArrayRedim(a, 3);
  EXPECT_EQ(VarArrayHighBound(a, 2), 3);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 0; j <= 2; ++j) EXPECT_TRUE(SameVariant(VarArrayGet(a, {i, j}), i * 10 + j));
    EXPECT_TRUE(VarIsEmpty(VarArrayGet(a, {i, 3})));
  }
}

TEST_F(VariantsTest, ArrayErrors)
{
  Variant a = VarArrayCreate({0, 1, 0, 1}, varInteger);
  Variant scalar = 1;
  const char* kBadIndex = "Variant or safe array index out of bounds";
  struct Case {
    std::function<void()> Fn;
    const char* ErrorClass;
    const char* Error;
  } cases[] = {
      {[&] {
         VarArrayGet(a, {2, 0});
       },
       "EVariantBadIndexError", kBadIndex},
      {[&] {
         VarArrayGet(a, {0, -1});
       },
       "EVariantBadIndexError", kBadIndex},
      {[&] { VarArrayGet(a, {0}); }, "EVariantBadIndexError", kBadIndex},
      {[&] {
         VarArrayPut(a, 1, {0, 0, 0});
       },
       "EVariantBadIndexError", kBadIndex},
      {[&] { VarArrayHighBound(a, 3); }, "EVariantBadIndexError", kBadIndex},
      {[&] { VarArrayLowBound(a, 0); }, "EVariantBadIndexError", kBadIndex},
      {[&] { VarArrayGet(scalar, {0}); }, "EVariantInvalidArgError", "Variant is not an array"},
      {[&] { VarArrayLowBound(scalar, 1); }, "EVariantInvalidArgError", "Variant is not an array"},
      {[&] { VarArrayRedim(scalar, 1); }, "EVariantInvalidArgError", "Variant is not an array"},
      {[&] { VarArrayRef(scalar); }, "EVariantInvalidArgError", "Variant is not an array"},
      {[&] { VarArrayCreate({0}, varVariant); }, "EVariantInvalidArgError", "Invalid argument"},
      {[&] { VarArrayCreate({}, varVariant); }, "EVariantInvalidArgError", "Invalid argument"},
      {[&] {
         VarArrayCreate({5, 3}, varVariant);
       },
       "EVariantInvalidArgError", "Invalid argument"},
      {[&] { VarArrayRedim(a, -2); }, "EVariantInvalidArgError", "Invalid argument"},
      {[&] {
         VarArrayCreate({0, 1}, varNull);
       },
       "EVariantBadVarTypeError", "Invalid variant type"},
      {[&] {
         VarArrayCreate({0, 1}, varArray | varVariant);
       },
       "EVariantBadVarTypeError", "Invalid variant type"},
      {[&] {
         VarArrayCreate({0, 100000, 0, 100000}, varVariant);
       },
       "EVariantArrayCreateError", "Error creating variant or safe array"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Raises(cases[i].Fn, cases[i].ErrorClass, cases[i].Error));
  }
  EXPECT_EQ(VarArrayDimCount(scalar), 0);
}

TEST_F(VariantsTest, DispatchObjectCalledThroughAVariant)
{
  bool freed = false;
  auto* object = new TFakeObject(&freed);
  {
    Variant v = static_cast<IDispatch*>(object);
    EXPECT_EQ(v.VarType(), varDispatch);
    EXPECT_EQ(object->RefCount(), 1);
    Variant copy = v;
    EXPECT_EQ(object->RefCount(), 2);

    EXPECT_TRUE(SameVariant(v.Exec("Add", {2, 3}), 5));
    v.Set("Caption", "合同");
    EXPECT_TRUE(SameVariant(copy.Get("Caption"), "合同"));
    EXPECT_TRUE(SameVariant(v.Get("Cells", {2, 3}), 23));

    std::vector<Variant> args{1, "b"};
    v.Exec("Swap", args);  // var parameters come back
    EXPECT_TRUE(SameVariant(args[0], "b"));
    EXPECT_TRUE(SameVariant(args[1], 1));

    EXPECT_TRUE(Raises([&] { v.Exec("Missing"); }, "EVariantDispatchError",
                       "Method 'Missing' not supported by automation object"));
    EXPECT_TRUE(Raises([&] { Variant(1).Exec("Add", {1, 2}); }, "EVariantInvalidOpError", "Invalid variant operation"));
    EXPECT_TRUE(Raises([] { Variant(static_cast<IDispatch*>(nullptr)).Get("Caption"); }, "EVariantInvalidOpError",
                       "Invalid variant operation"));
    EXPECT_EQ((std::vector<AnsiString>{"Add", "Caption", "Caption", "Cells", "Swap", "Missing"}), object->Calls);
    v = 0;
    EXPECT_FALSE(freed);
  }
  EXPECT_TRUE(freed);  // the last Variant released it

  // An object held as varUnknown answers calls when it is a dispatch object too.
  freed = false;
  {
    const Variant unknown = static_cast<IUnknown*>(new TFakeObject(&freed));
    EXPECT_EQ(unknown.VarType(), varUnknown);
    EXPECT_TRUE(SameVariant(unknown.Exec("Add", {1, 1}), 2));
  }
  EXPECT_TRUE(freed);
}

TEST_F(VariantsTest, AssigningAVariantFromItsOwnElementIsSafe)
{
  Variant a = VarArrayOf({"keep", 2});
  a = VarArrayGet(a, {0});
  EXPECT_TRUE(SameVariant(a, "keep"));
  Variant s = "text";
  s = s;
  Variant& alias = s;
  s = std::move(alias);
  EXPECT_TRUE(SameVariant(s, "text"));
}

TEST_F(VariantsTest, OperatorsAgreeWithBinaryOpOnNumbersBooleansAndTexts)
{
  // The operators compute simple operands in place; BinaryOp holds the full rules.
  const double inf = std::numeric_limits<double>::infinity();
  const Variant values[] = {0,      1,   -7,           2147483647, -2147483647 - 1, 46341, 0.0,   -0.0, 2.5,
                            -1e308, inf, std::nan(""), true,       false,           "abc", "abd", "",   "合同"};
  const TVarOp ops[] = {opAdd, opSubtract, opMultiply, opDivide, opCmpEQ, opCmpNE, opCmpLT, opCmpLE, opCmpGT, opCmpGE};
  auto apply = [](TVarOp op, const Variant& a, const Variant& b) -> Variant {
    switch (op) {
      case opAdd: return a + b;
      case opSubtract: return a - b;
      case opMultiply: return a * b;
      case opDivide: return a / b;
      case opCmpEQ: return a == b;
      case opCmpNE: return a != b;
      case opCmpLT: return a < b;
      case opCmpLE: return a <= b;
      case opCmpGT: return a > b;
      default: return a >= b;
    }
  };
  auto outcome = [](const std::function<Variant()>& fn, Variant& result) -> AnsiString {
    try {
      result = fn();
      return "";
    } catch (const Exception& e) {
      return AnsiString(e.ClassName()) + ": " + e.Message();
    }
  };
  for (const Variant& a : values)
    for (const Variant& b : values)
      for (TVarOp op : ops) {
        SCOPED_TRACE(Label(a) + " op" + std::to_string(op) + " " + Label(b));
        Variant got, want;
        const AnsiString gotError = outcome([&] { return apply(op, a, b); }, got);
        const AnsiString wantError = outcome([&] { return BinaryOp(op, a, b); }, want);
        EXPECT_EQ(gotError, wantError);
        if (!gotError.empty() || !wantError.empty()) continue;
        if (VarType(want) == varDouble && std::isnan(want.AsDouble())) {
          EXPECT_EQ(VarType(got), varDouble);
          EXPECT_TRUE(std::isnan(got.AsDouble()));
        } else {
          EXPECT_TRUE(SameVariant(got, want));
          if (VarType(want) == varDouble) {  // -0.0 stays -0.0
            EXPECT_EQ(std::signbit(got.AsDouble()), std::signbit(want.AsDouble()));
          }
        }
      }
}

TEST_F(VariantsTest, CopiesMovesAndAssignmentsBetweenAllKindsKeepValuesAndOwnership)
{
  bool freed = false;
  Variant target = 99;
  {
    auto* object = new TFakeObject(&freed);
    const Variant kinds[] = {Variant(),
                             Variant::Null(),
                             true,
                             -5,
                             static_cast<Int64>(1) << 40,
                             2.5,
                             Curr(1.25),
                             kDay,
                             "合同",
                             AnsiString(100, 'x'),  // beyond the short-text buffer
                             u"宽",
                             VarArrayOf({1, "two"}),
                             static_cast<IDispatch*>(object),
                             Variant::Ref(target)};
    auto same = [](const Variant& got, const Variant& want) {
      if (want.IsByRef()) return ::testing::AssertionResult(got.IsByRef() && &got.Deref() == &want.Deref());
      if (VarIsArray(want))
        return ::testing::AssertionResult(VarIsArray(got) && VarArrayHighBound(got, 1) == 1 &&
                                          VarArrayGet(got, {1}).AsString() == "two");
      if (VarType(want) == varDispatch) return ::testing::AssertionResult(got.AsDispatch() == want.AsDispatch());
      return SameVariant(got, want);
    };
    for (const Variant& from : kinds) {
      SCOPED_TRACE(Label(from));
      Variant copy(from);
      EXPECT_TRUE(same(copy, from));
      Variant moved(std::move(copy));
      EXPECT_TRUE(same(moved, from));
      EXPECT_EQ(copy.VarType(), varEmpty);
      for (const Variant& over : kinds) {
        SCOPED_TRACE("over " + Label(over));
        Variant assigned = over;
        assigned = from;
        EXPECT_TRUE(same(assigned, from));
        Variant source = from;
        Variant moveAssigned = over;
        moveAssigned = std::move(source);
        EXPECT_TRUE(same(moveAssigned, from));
        EXPECT_EQ(source.VarType(), varEmpty);
        moveAssigned = std::move(moveAssigned);
        EXPECT_TRUE(same(moveAssigned, from));
      }
    }
    EXPECT_FALSE(freed);
  }
  EXPECT_TRUE(freed);  // every copy let go of the object
  EXPECT_TRUE(SameVariant(target, 99));
}
