// Variant operators: arithmetic, integer and logical operators, comparisons.
//
// Each operand is first sorted into a kind (integer, 64-bit integer, float, Currency, Date,
// text, ...); the kinds of both sides pick the result type:
//   Date beside a number (+, -) -> Date; Date - Date -> Double
//   a float on either side -> Double
//   Currency with integers -> Currency (Double when it overflows)
//   a 64-bit integer on either side -> Int64 (Double when it overflows)
//   otherwise -> Integer (Int64 when it overflows)
// Text beside a number reads as a number (as a Currency beside a Currency, as a Date or a number
// beside a Date); Boolean is -1/0; Empty is 0 or "".
#include <cmath>
#include <strings.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/VariantData.h"
#include "platform/rtl/Variants.h"

using namespace Variants;

namespace {

enum TKind { kEmpty, kNull, kBool, kInt, kInt64, kFloat, kCurr, kDate, kStr, kOther };

TKind KindOf(TVarType t)
{
  switch (t) {
    case varEmpty: return kEmpty;
    case varNull: return kNull;
    case varBoolean: return kBool;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger: return kInt;
    case varLongWord:
    case varInt64: return kInt64;
    case varSingle:
    case varDouble: return kFloat;
    case varCurrency: return kCurr;
    case varDate: return kDate;
    case varString:
    case varOleStr: return kStr;
    default: return kOther;  // arrays, objects, errors
  }
}

// A numeric operand after conversion: the kind says which field holds it.
struct TNum {
  TKind Kind;
  Int64 I = 0;   // kInt, kInt64
  double D = 0;  // kFloat, kDate
  Currency C;    // kCurr
  double AsDouble() const
  {
    switch (Kind) {
      case kCurr: return SysUtils::CurrToDouble(C);
      case kFloat:
      case kDate: return D;
      default: return static_cast<double>(I);
    }
  }
};

// "True"/"False" in any case.
bool IsBooleanText(const Variant& v, bool& value)
{
  const AnsiString s = v.AsString();
  if (strcasecmp(s.c_str(), "True") == 0 && s.size() == 4) return value = true, true;
  if (strcasecmp(s.c_str(), "False") == 0 && s.size() == 5) return value = false, true;
  return false;
}

// A text beside a Date: a number when it reads as one, else a date text.
double TextBesideDate(const Variant& v)
{
  double d = 0;
  if (SysUtils::TryStrToFloat(v.AsString(), d)) return d;
  return v.AsDateTime();
}

// `v` (dereferenced, neither Null nor an object) as a number; `other` is the kind of the other
// operand, which decides what a text becomes.
TNum ToNum(const Variant& v, TKind kind, TKind other)
{
  TNum n{kInt};
  switch (kind) {
    case kEmpty: return n;
    case kBool: n.I = v.AsBoolean() ? -1 : 0; return n;
    case kInt: n.I = v.AsInt64(); return n;
    case kInt64:
      n.Kind = kInt64;
      n.I = v.AsInt64();
      return n;
    case kFloat:
      n.Kind = kFloat;
      n.D = v.AsDouble();
      return n;
    case kDate:
      n.Kind = kDate;
      n.D = v.AsDouble();
      return n;
    case kCurr:
      n.Kind = kCurr;
      n.C = v.AsCurrency();
      return n;
    case kStr:
      if (other == kDate) {
        n.Kind = kDate;
        n.D = TextBesideDate(v);
      } else if (other == kCurr) {
        n.Kind = kCurr;
        n.C = v.AsCurrency();
      } else {
        n.Kind = kFloat;
        n.D = v.AsDouble();
      }
      return n;
    default: RaiseInvalidOp();
  }
}

Variant IntegerResult(Int64 value, bool wide)
{
  if (!wide && value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<int>(value));
  return Variant(static_cast<long long>(value));
}

Variant FloatArith(TVarOp op, double a, double b)
{
  switch (op) {
    case opAdd: return a + b;
    case opSubtract: return a - b;
    default: return a * b;
  }
}

// + - * on two numbers.
Variant NumArith(TVarOp op, const TNum& a, const TNum& b)
{
  if (a.Kind == kDate || b.Kind == kDate) {
    const double r = FloatArith(op, a.AsDouble(), b.AsDouble()).AsDouble();
    if (op == opMultiply || (op == opSubtract && a.Kind == kDate && b.Kind == kDate)) return Variant(r);
    return Variant(TDateTime(r));
  }
  if (a.Kind == kFloat || b.Kind == kFloat) return FloatArith(op, a.AsDouble(), b.AsDouble());
  if (a.Kind == kCurr || b.Kind == kCurr) {
    try {
      if (a.Kind == kCurr && b.Kind == kCurr) {
        switch (op) {
          case opAdd: return Variant(a.C + b.C);
          case opSubtract: return Variant(a.C - b.C);
          default: return Variant(a.C * b.C);
        }
      }
      if (op == opMultiply) return Variant(a.Kind == kCurr ? a.C * b.I : b.C * a.I);
      const Currency ca = a.Kind == kCurr ? a.C : SysUtils::Int64ToCurr(a.I);
      const Currency cb = b.Kind == kCurr ? b.C : SysUtils::Int64ToCurr(b.I);
      return Variant(op == opAdd ? ca + cb : ca - cb);
    } catch (const EOverflow&) {
      return FloatArith(op, a.AsDouble(), b.AsDouble());
    }
  }
  Int64 r = 0;
  bool overflow = false;
  switch (op) {
    case opAdd: overflow = __builtin_add_overflow(a.I, b.I, &r); break;
    case opSubtract: overflow = __builtin_sub_overflow(a.I, b.I, &r); break;
    default: overflow = __builtin_mul_overflow(a.I, b.I, &r); break;
  }
  if (overflow) return FloatArith(op, a.AsDouble(), b.AsDouble());
  return IntegerResult(r, a.Kind == kInt64 || b.Kind == kInt64);
}

Variant Concat(const Variant& a, const Variant& b)
{
  if (a.VarType() == varOleStr || b.VarType() == varOleStr) return Variant(a.AsWideString() + b.AsWideString());
  return Variant(a.AsString() + b.AsString());
}

Variant Arith(TVarOp op, const Variant& left, const Variant& right)
{
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  const TKind ka = KindOf(a.VarType()), kb = KindOf(b.VarType());
  if (ka == kOther || kb == kOther) RaiseInvalidOp();
  if (ka == kNull || kb == kNull) return Variant::Null();
  if (op == opAdd && ((ka == kStr && (kb == kStr || kb == kEmpty)) || (ka == kEmpty && kb == kStr)))
    return Concat(a, b);
  return NumArith(op, ToNum(a, ka, kb), ToNum(b, kb, ka));
}

Variant FloatDivide(const Variant& left, const Variant& right)
{
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  const TKind ka = KindOf(a.VarType()), kb = KindOf(b.VarType());
  if (ka == kOther || kb == kOther) RaiseInvalidOp();
  if (ka == kNull || kb == kNull) return Variant::Null();
  const double x = ToNum(a, ka, kb).AsDouble();
  const double y = ToNum(b, kb, ka).AsDouble();
  if (y == 0) throw EZeroDivide("Floating point division by zero");
  return Variant(x / y);
}

// An operand of an integer operator: its value and whether it needs 64 bits.
struct TIntOperand {
  Int64 Value;
  bool Wide;
};

TIntOperand ToIntOperand(const Variant& v, TKind kind)
{
  if (kind == kOther) RaiseInvalidOp();
  const Int64 n = v.IsEmpty() ? 0 : v.AsInt64();
  return {n, kind == kInt64 || n < INT32_MIN || n > INT32_MAX};
}

Variant IntegerOp(TVarOp op, const Variant& left, const Variant& right)
{
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  const TKind ka = KindOf(a.VarType()), kb = KindOf(b.VarType());
  if (ka == kOther || kb == kOther) RaiseInvalidOp();
  if (ka == kNull || kb == kNull) return Variant::Null();

  if (op == opAnd || op == opOr || op == opXor) {
    // Boolean logic when a Boolean meets a Boolean, a text or Empty, or two Boolean texts meet.
    bool ta = false, tb = false;
    const bool logical = (ka == kBool && (kb == kBool || kb == kStr || kb == kEmpty)) ||
                         (kb == kBool && (ka == kStr || ka == kEmpty)) ||
                         (ka == kStr && kb == kStr && IsBooleanText(a, ta) && IsBooleanText(b, tb));
    if (logical) {
      const bool x = a.AsBoolean(), y = b.AsBoolean();
      switch (op) {
        case opAnd: return Variant(x && y);
        case opOr: return Variant(x || y);
        default: return Variant(x != y);
      }
    }
  }

  const TIntOperand x = ToIntOperand(a, ka);
  const TIntOperand y = ToIntOperand(b, kb);
  const bool wide = x.Wide || y.Wide;
  switch (op) {
    case opIntDivide:
    case opModulus:
      if (y.Value == 0) throw EDivByZero("Division by zero");
      if (x.Value == INT64_MIN && y.Value == -1)
        return op == opIntDivide ? Variant(-static_cast<double>(INT64_MIN)) : Variant(0LL);
      return IntegerResult(op == opIntDivide ? x.Value / y.Value : x.Value % y.Value, wide);
    case opAnd: return IntegerResult(x.Value & y.Value, wide);
    case opOr: return IntegerResult(x.Value | y.Value, wide);
    case opXor: return IntegerResult(x.Value ^ y.Value, wide);
    case opShiftLeft:
    case opShiftRight: {
      // The count wraps at the operand's width, as the processor's shift does.
      if (x.Wide) {
        const UInt64 u = static_cast<UInt64>(x.Value);
        const int n = static_cast<int>(y.Value & 63);
        return Variant(static_cast<long long>(op == opShiftLeft ? u << n : u >> n));
      }
      const std::uint32_t u = static_cast<std::uint32_t>(x.Value);
      const int n = static_cast<int>(y.Value & 31);
      return Variant(static_cast<int>(op == opShiftLeft ? u << n : u >> n));
    }
    default: RaiseInvalidOp();
  }
}

// ---- Comparison ------------------------------------------------------------------------------

// cmpNotEqual: unequal but unordered (NaN, Null beside a value for = and <>);
// cmpNone: every comparison is false (the strict Null rule).
enum TCmp { cmpLess, cmpEqual, cmpGreater, cmpNotEqual, cmpNone };

template <class T>
TCmp Order(const T& a, const T& b)
{
  if (a < b) return cmpLess;
  if (b < a) return cmpGreater;
  if (a == b) return cmpEqual;
  return cmpNotEqual;
}

TCmp CompareText(const Variant& a, const Variant& b)
{
  // Byte order of the 8-bit text, as the data layer sorts; wide texts that only differ in
  // characters the 8-bit text cannot hold are told apart by their code units.
  int c = 0;
  if (a.VarType() == varString && b.VarType() == varString)
    c = TVariantAccess::String(a).compare(TVariantAccess::String(b));  // the common case, no copies
  else
    c = a.AsString().compare(b.AsString());
  if (c != 0) return c < 0 ? cmpLess : cmpGreater;
  if (a.VarType() == varOleStr || b.VarType() == varOleStr) return Order(a.AsWideString(), b.AsWideString());
  return cmpEqual;
}

TCmp CompareNum(const TNum& a, const TNum& b)
{
  if ((a.Kind == kInt || a.Kind == kInt64) && (b.Kind == kInt || b.Kind == kInt64)) return Order(a.I, b.I);
  if (a.Kind == kCurr && b.Kind == kCurr) return Order(a.C.Raw, b.C.Raw);
  if (a.Kind == kCurr && (b.Kind == kInt || b.Kind == kInt64))
    return Order<__int128>(a.C.Raw, static_cast<__int128>(b.I) * Currency::Scale);
  if (b.Kind == kCurr && (a.Kind == kInt || a.Kind == kInt64))
    return Order<__int128>(static_cast<__int128>(a.I) * Currency::Scale, b.C.Raw);
  auto wide = [](const TNum& n) -> long double {
    if (n.Kind == kCurr) return static_cast<long double>(n.C.Raw) / Currency::Scale;
    if (n.Kind == kInt || n.Kind == kInt64) return static_cast<long double>(n.I);
    return n.D;
  };
  return Order(wide(a), wide(b));
}

TCmp Compare(const Variant& left, const Variant& right, bool equality)
{
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  TKind ka = KindOf(a.VarType()), kb = KindOf(b.VarType());
  if (ka == kOther || kb == kOther) RaiseInvalidOp();
  if (ka == kNull || kb == kNull) {
    switch (equality ? NullEqualityRule : NullMagnitudeRule) {
      case ncrError: throw EVariantInvalidNullOpError("Invalid NULL variant operation");
      case ncrStrict: return cmpNone;
      case ncrLoose: break;
    }
    if (ka == kNull && kb == kNull) return cmpEqual;
    if (equality) return cmpNotEqual;
    return ka == kNull ? cmpLess : cmpGreater;
  }
  if (ka == kStr && (kb == kStr || kb == kEmpty)) return CompareText(a, b);
  if (kb == kStr && ka == kEmpty) return CompareText(a, b);
  // A Boolean beside a Boolean, a text or Empty compares as a truth value, False before True.
  if ((ka == kBool && (kb == kBool || kb == kStr || kb == kEmpty)) || (kb == kBool && (ka == kStr || ka == kEmpty)))
    return Order(a.AsBoolean(), b.AsBoolean());
  return CompareNum(ToNum(a, ka, kb), ToNum(b, kb, ka));
}

bool Holds(TVarOp op, TCmp c)
{
  switch (op) {
    case opCmpEQ: return c == cmpEqual;
    case opCmpNE: return c == cmpLess || c == cmpGreater || c == cmpNotEqual;
    case opCmpLT: return c == cmpLess;
    case opCmpLE: return c == cmpLess || c == cmpEqual;
    case opCmpGT: return c == cmpGreater;
    case opCmpGE: return c == cmpGreater || c == cmpEqual;
    default: return false;
  }
}

bool CompareOp(TVarOp op, const Variant& a, const Variant& b)
{
  return Holds(op, Compare(a, b, op == opCmpEQ || op == opCmpNE));
}

// ---- Unary -----------------------------------------------------------------------------------

Variant Negate(const Variant& value)
{
  const Variant& v = value.Deref();
  switch (v.VarType()) {
    case varNull: return v;
    case varEmpty: return Variant(0);
    case varShortInt:
      if (v.AsInt64() != -128) return Variant(static_cast<signed char>(-v.AsInt64()));
      return Variant(static_cast<short>(128));
    case varSmallint:
      if (v.AsInt64() != -32768) return Variant(static_cast<short>(-v.AsInt64()));
      return Variant(32768);
    case varBoolean:
    case varByte:
    case varWord:
    case varInteger: return IntegerResult(-v.AsInt64(), false);
    case varLongWord: return Variant(static_cast<long long>(-v.AsInt64()));
    case varInt64:
      if (v.AsInt64() == INT64_MIN) return Variant(-static_cast<double>(INT64_MIN));
      return Variant(static_cast<long long>(-v.AsInt64()));
    case varSingle: return Variant(-static_cast<float>(v.AsDouble()));
    case varDouble: return Variant(-v.AsDouble());
    case varDate: return Variant(TDateTime(-v.AsDouble()));
    case varCurrency:
      if (v.AsCurrency().Raw == INT64_MIN) return Variant(-v.AsDouble());
      return Variant(Currency::FromRaw(-v.AsCurrency().Raw));
    case varString:
    case varOleStr: return Variant(-v.AsDouble());
    default: RaiseInvalidOp();
  }
}

Variant Not(const Variant& value)
{
  const Variant& v = value.Deref();
  const TVarType t = v.VarType();
  switch (t) {
    case varNull: return v;
    case varBoolean: return Variant(!v.AsBoolean());
    case varEmpty: return Variant(-1);
    // An integer keeps its type: not of a Byte is a Byte.
    case varShortInt: return Variant(static_cast<signed char>(~v.AsInt64()));
    case varByte: return Variant(static_cast<unsigned char>(~v.AsInt64()));
    case varSmallint: return Variant(static_cast<short>(~v.AsInt64()));
    case varWord: return Variant(static_cast<unsigned short>(~v.AsInt64()));
    case varInteger: return Variant(static_cast<int>(~v.AsInt64()));
    case varLongWord: return Variant(static_cast<unsigned int>(~v.AsInt64()));
    case varInt64: return Variant(static_cast<long long>(~v.AsInt64()));
    case varString:
    case varOleStr: {
      bool b = false;
      if (IsBooleanText(v, b)) return Variant(!b);
      return IntegerResult(~v.AsInt64(), false);
    }
    case varSingle:
    case varDouble:
    case varDate:
    case varCurrency: return IntegerResult(~v.AsInt64(), false);
    default: RaiseInvalidOp();
  }
}

}  // namespace

// ---- Public operators ------------------------------------------------------------------------

namespace Variants {

Variant BinaryOp(TVarOp op, const Variant& left, const Variant& right)
{
  switch (op) {
    case opAdd:
    case opSubtract:
    case opMultiply: return Arith(op, left, right);
    case opDivide: return FloatDivide(left, right);
    case opIntDivide:
    case opModulus:
    case opShiftLeft:
    case opShiftRight:
    case opAnd:
    case opOr:
    case opXor: return IntegerOp(op, left, right);
    case opCmpEQ:
    case opCmpNE:
    case opCmpLT:
    case opCmpLE:
    case opCmpGT:
    case opCmpGE: return Variant(CompareOp(op, left, right));
    default: RaiseInvalidOp();
  }
}

Variant UnaryOp(TVarOp op, const Variant& v)
{
  if (op == opNegate) return Negate(v);
  if (op == opNot) return Not(v);
  RaiseInvalidOp();
}

TVariantRelationship VarCompareValue(const Variant& left, const Variant& right)
{
  const TVarType ta = VarType(left), tb = VarType(right);
  const bool clearA = ta == varEmpty || ta == varNull;
  const bool clearB = tb == varEmpty || tb == varNull;
  if (clearA || clearB) return ta == tb ? vrEqual : vrNotEqual;
  switch (Compare(left, right, false)) {
    case cmpLess: return vrLessThan;
    case cmpEqual: return vrEqual;
    case cmpGreater: return vrGreaterThan;
    default: return vrNotEqual;
  }
}

bool VarSameValue(const Variant& a, const Variant& b)
{
  try {
    return VarCompareValue(a, b) == vrEqual;
  } catch (const EVariantError&) {
    return false;
  }
}

}  // namespace Variants

bool Variant::Compare(TVarOp op, const Variant& a, const Variant& b) { return CompareOp(op, a, b); }
