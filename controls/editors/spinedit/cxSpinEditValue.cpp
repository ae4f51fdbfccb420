#include "controls/editors/spinedit/cxSpinEditValue.h"

#include <cmath>
#include <limits>

#include "controls/data/storage/cxVariants.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"

namespace cxSpinEditValue {

namespace {

constexpr double kFloatLimit = 1.7e308;
// 2^63: the first Double past the 64-bit integers.
constexpr double kInt64Limit = 9223372036854775808.0;

// Where the digits of a number are: sign, integral digits, whether a fraction or exponent
// follows. Answers false for text that is no number.
struct TSpinNumberShape {
  bool Negative = false;
  std::size_t DigitsFrom = 0, DigitsTo = 0;
  bool Integral = true;
};

bool ScanNumber(const AnsiString& S, char ASeparator, TSpinNumberShape& AShape)
{
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  if (i < n && (S[i] == '+' || S[i] == '-')) AShape.Negative = S[i++] == '-';
  AShape.DigitsFrom = i;
  bool any = false;
  while (i < n && S[i] >= '0' && S[i] <= '9') ++i, any = true;
  AShape.DigitsTo = i;
  if (i < n && S[i] == ASeparator) {
    AShape.Integral = false;
    ++i;
    while (i < n && S[i] >= '0' && S[i] <= '9') ++i, any = true;
  }
  if (!any) return false;
  if (i < n && (S[i] == 'e' || S[i] == 'E')) {
    AShape.Integral = false;
    ++i;
    if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
    if (i >= n || S[i] < '0' || S[i] > '9') return false;
    while (i < n && S[i] >= '0' && S[i] <= '9') ++i;
  }
  while (i < n && S[i] == ' ') ++i;
  return i == n;
}

// The digits of an integral text as an Int64; false when they do not fit.
bool DigitsToInt64(const AnsiString& S, const TSpinNumberShape& AShape, Int64& AValue)
{
  // Negative accumulation reaches the most negative value too.
  Int64 v = 0;
  for (std::size_t i = AShape.DigitsFrom; i < AShape.DigitsTo; ++i) {
    if (__builtin_mul_overflow(v, Int64(10), &v) || __builtin_sub_overflow(v, Int64(S[i] - '0'), &v)) return false;
  }
  if (!AShape.Negative) {
    if (v == std::numeric_limits<Int64>::min()) return false;
    v = -v;
  }
  AValue = v;
  return true;
}

[[noreturn]] void RaiseOutOfBounds()
{
  throw Exception(cxResourceStrings::GetResourceString(cxEditConsts::sValueOutOfBounds));
}

bool IsIntegerVar(const Variant& V)
{
  switch (V.Deref().VarType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varBoolean: return true;
    default: return false;
  }
}

}  // namespace

bool TryTextToFloat(const AnsiString& AText, double& X)
{
  TSpinNumberShape shape;
  if (!ScanNumber(AText, SysUtils::DecimalSeparator, shape)) return false;
  if (SysUtils::TryStrToFloat(AText, X)) return true;
  // A well-formed number the Double cannot hold.
  X = shape.Negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  return true;
}

bool IsInTypeRange(double X, TcxSpinEditValueType AType)
{
  if (AType == vtFloat) return X > -kFloatLimit && X < kFloatLimit;
  return X >= -kInt64Limit && X < kInt64Limit;
}

TcxSpinConvertError TextToValue(const AnsiString& AText, TcxSpinEditValueType AType, Variant& AValue)
{
  TSpinNumberShape shape;
  if (!ScanNumber(AText, SysUtils::DecimalSeparator, shape)) return sceInvalid;
  if (AType == vtInt && shape.Integral) {
    Int64 v;
    if (!DigitsToInt64(AText, shape, v)) return sceOutOfBounds;
    AValue = Variant(v);
    return sceNone;
  }
  double x;
  if (!TryTextToFloat(AText, x)) return sceInvalid;
  if (!IsInTypeRange(x, AType)) return sceOutOfBounds;
  AValue = Variant(x);
  CastToValueType(AValue, AType);
  return sceNone;
}

void CastToValueType(Variant& V, TcxSpinEditValueType AType)
{
  if (!cxVariants::VarIsNumericOrFMTBcd(V)) return;
  if (AType == vtFloat) {
    double x = V.AsDouble();
    if (!IsInTypeRange(x, vtFloat)) RaiseOutOfBounds();
    V = Variant(x);
    return;
  }
  if (IsIntegerVar(V)) {
    V = Variant(V.AsInt64());
    return;
  }
  double x = std::nearbyint(V.AsDouble());
  if (!IsInTypeRange(x, vtInt)) RaiseOutOfBounds();
  V = Variant(Int64(x));
}

Variant ToValue(const Variant& V, TcxSpinEditValueType AType)
{
  if (cxVariants::VarIsNullOrEmptyStr(V)) {
    Variant zero = Variant(0);
    CastToValueType(zero, AType);
    return zero;
  }
  Variant r = V.Deref();
  TVarType t = r.VarType();
  if (t == varString || t == varOleStr) {
    switch (TextToValue(r.AsString(), AType, r)) {
      case sceNone: break;
      case sceOutOfBounds: RaiseOutOfBounds();
      case sceInvalid: throw EConvertError("'" + V.AsString() + "' is not a valid floating point value");
    }
    return r;
  }
  if (!cxVariants::VarIsNumericOrFMTBcd(r)) r = Variant(r.AsDouble());  // dates and the like
  CastToValueType(r, AType);
  return r;
}

double GetIncrement(double AIncrement, double ALargeIncrement, TcxSpinEditValueType AType, int ACode)
{
  double i = ACode == scFastDown || ACode == scFastUp ? ALargeIncrement : AIncrement;
  if (AType == vtInt) i = std::nearbyint(i);
  return ACode == scDown || ACode == scFastDown ? -i : i;
}

bool GetNewValue(const Variant& AValue, int ACode, double AIncrement, TcxSpinEditValueType AType,
                 const TcxSpinStepBounds& ABounds, Variant& ANewValue)
{
  Variant v = AValue;
  try {
    CastToValueType(v, AType);
  } catch (const Exception&) {
    return false;
  }
  double x = v.AsDouble();
  if (ABounds.HasRange()) {
    // Outside the range only the step back towards it moves, and lands on the bound.
    if (x < ABounds.MinValue || x > ABounds.MaxValue) {
      bool below = x < ABounds.MinValue;
      bool up = ACode == scUp || ACode == scFastUp;
      if (up != below) return false;
      ANewValue = Variant(below ? ABounds.MinValue : ABounds.MaxValue);
      CastToValueType(ANewValue, AType);
      return true;
    }
  }
  Variant r;
  if (AType == vtInt) {
    if (!IsInTypeRange(AIncrement, vtInt)) return false;
    Int64 sum;
    if (__builtin_add_overflow(v.AsInt64(), Int64(AIncrement), &sum)) return false;
    r = Variant(sum);
  } else {
    double sum = x + AIncrement;
    if (!IsInTypeRange(sum, vtFloat)) return false;
    r = Variant(sum);
  }
  if (ABounds.HasRange()) {
    double y = r.AsDouble();
    if (y < ABounds.MinValue || y > ABounds.MaxValue) {
      switch (ABounds.OutOfBoundsAction) {
        case 0: return false;
        case 1:
          r = Variant(y < ABounds.MinValue ? ABounds.MinValue : ABounds.MaxValue);
          CastToValueType(r, AType);
          break;
        default: break;
      }
    }
  }
  ANewValue = r;
  return true;
}

AnsiString ValueToText(const Variant& V)
{
  if (IsIntegerVar(V)) return SysUtils::IntToStr(V.AsInt64());
  if (cxVariants::VarIsNumericOrFMTBcd(V)) return SysUtils::FloatToStr(V.AsDouble());
  return V.AsString();
}

}  // namespace cxSpinEditValue
