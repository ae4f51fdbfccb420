// Variant: the tagged value that fields, the data controller, scripts and reports pass around.
//
// A Variant holds one value of a classic type code (varInteger, varString, ...), an array of
// Variants, a reference to another Variant (varByRef) or a late-bound object (varDispatch).
// It has value semantics: copying a Variant copies its text or array; only dispatch objects
// are shared (reference-counted).
//
// Conversions (Variant::AsX, Variants::VarAsType) follow the classic rules:
//  - text to number through the locale's decimal separator; text to Boolean from "True"/"False"
//    (any case) or a number; Boolean to number is -1/0, to text "True"/"False";
//  - float to integer rounds half to even and checks the range (EVariantOverflowError);
//  - Empty reads as 0, "" or False; Null raises EVariantTypeCastError unless
//    Variants::NullStrictConvert is false, then it reads as 0, "" or False too;
//  - what cannot convert raises EVariantTypeCastError
//    "Could not convert variant of type (String) into type (Double)".
//
// Operators (+ - * / % & | ^ << >> ~ unary -, comparisons) and Variants::BinaryOp/UnaryOp (which
// add div, the Boolean forms and the comparisons as Boolean Variants) follow the classic mixed
// rules: text + text joins, text with a number reads the text as a number; integers widen to
// Int64 and then Double instead of wrapping; floats compute as Double; Currency stays Currency
// with integers; Date plus a number is a Date; Boolean counts as -1/0; Empty as 0 or "";
// Null propagates through arithmetic; "/" always gives a Double.
// Integer division by zero raises EDivByZero, float division by zero EZeroDivide.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

// ---- Type codes ------------------------------------------------------------------------------

using TVarType = std::uint16_t;

constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varUnknown = 0x000D;
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varStrArg = 0x0048;
constexpr TVarType varString = 0x0100;
constexpr TVarType varAny = 0x0101;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;
constexpr TVarType varByRef = 0x4000;

// The error code of EmptyParam (an optional argument left out of a dispatch call).
constexpr Integer VAR_PARAMNOTFOUND = static_cast<Integer>(0x80020004u);

// ---- Dispatch objects ------------------------------------------------------------------------

class Variant;

// An object a Variant can hold as varUnknown. Reference counted by its holders: a Variant calls
// AddRef when it takes the object and Release when it lets go; the object frees itself when the
// count drops to zero. A new object starts at zero, so the first Variant owns it.
class IUnknown {
public:
  virtual void AddRef() = 0;
  virtual void Release() = 0;

protected:
  ~IUnknown() = default;
};

// How a member is called: as a method, read as a property or written as a property. A caller
// that wants a result of a name that may be either passes dkMethod | dkPropertyGet.
enum TDispatchKind : std::uint8_t {
  dkMethod = 1,
  dkPropertyGet = 2,
  dkPropertyPut = 4,
};
constexpr TDispatchKind operator|(TDispatchKind a, TDispatchKind b)
{
  return static_cast<TDispatchKind>(static_cast<int>(a) | static_cast<int>(b));
}

// A late-bound object (varDispatch): members are called by name at run time. The automation
// objects and the script interpreter's objects implement it.
class IDispatch : public IUnknown {
public:
  // Calls member `name` (compared as the object likes; the classic objects ignore case).
  // `args` are in source order; a callee may write var parameters back into them. For
  // dkPropertyPut the value to write is the last argument. The result of a put, or of a method
  // without one, is Empty. A name the object does not know raises through
  // Variants::RaiseUnknownName.
  virtual Variant Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args) = 0;

protected:
  ~IDispatch() = default;
};

// A ready base for heap-allocated dispatch objects: counts references and deletes itself.
class TDispatchObject : public IDispatch {
public:
  void AddRef() override { ++FRefCount; }
  void Release() override
  {
    if (--FRefCount == 0) delete this;
  }
  int RefCount() const { return FRefCount; }

protected:
  virtual ~TDispatchObject() = default;

private:
  int FRefCount = 0;
};

// ---- Variant ---------------------------------------------------------------------------------

struct TVarArrayData;

// The operators' general forms, described with the unit routines below; the inline operators
// of Variant fall back on them.
namespace Variants {
enum TVarOp {
  opAdd,
  opSubtract,
  opMultiply,
  opDivide,
  opIntDivide,
  opModulus,
  opShiftLeft,
  opShiftRight,
  opAnd,
  opOr,
  opXor,
  opCompare,
  opNegate,
  opNot,
  opCmpEQ,
  opCmpNE,
  opCmpLT,
  opCmpLE,
  opCmpGT,
  opCmpGE
};
Variant BinaryOp(TVarOp op, const Variant& left, const Variant& right);
Variant UnaryOp(TVarOp op, const Variant& v);
}  // namespace Variants

class Variant {
public:
  // Values that own nothing (numbers, Boolean, Date, Empty, Null, references) are copied,
  // moved and dropped inline; texts, arrays and objects take the out-of-line paths.
  Variant() noexcept : FType(varEmpty), FInt64(0) {}
  Variant(const Variant& other) : FType(other.FType)
  {
    if (IsPlainType(other.FType)) {
      CopyBits(other);
    } else {
      FType = varEmpty;
      FInt64 = 0;
      CopyFrom(other);
    }
  }
  Variant(Variant&& other) noexcept : FType(other.FType)
  {
    if (IsStringType(other.FType)) {
      FType = varEmpty;
      FInt64 = 0;
      MoveFrom(other);
    } else {
      CopyBits(other);  // a pointer moves with its ownership
      other.FType = varEmpty;
      other.FInt64 = 0;
    }
  }
  Variant& operator=(const Variant& other)
  {
    if (IsPlainType(FType) && IsPlainType(other.FType)) {
      FType = other.FType;
      CopyBits(other);
      return *this;
    }
    return AssignSlow(other);
  }
  Variant& operator=(Variant&& other) noexcept
  {
    if (this == &other) return *this;
    if (IsPlainType(FType) && !IsStringType(other.FType)) {
      FType = other.FType;
      CopyBits(other);
      other.FType = varEmpty;
      other.FInt64 = 0;
      return *this;
    }
    return MoveAssignSlow(other);
  }
  ~Variant()
  {
    if (!IsPlainType(FType)) Clear();
  }

  Variant(bool v) : FType(varBoolean), FBoolean(v) {}
  Variant(char v);  // a one-character text, as a character reads in the classic libraries
  Variant(signed char v) : FType(varShortInt), FShortInt(v) {}
  Variant(short v) : FType(varSmallint), FSmallInt(v) {}
  Variant(int v) : FType(varInteger), FInteger(v) {}
  Variant(long v) : FType(varInt64), FInt64(v) {}
  Variant(long long v) : FType(varInt64), FInt64(v) {}
  Variant(unsigned char v) : FType(varByte), FByte(v) {}
  Variant(unsigned short v) : FType(varWord), FWord(v) {}
  Variant(unsigned int v) : FType(varLongWord), FLongWord(v) {}
  Variant(unsigned long) = delete;  // no 64-bit unsigned type code: cast to Int64 or double
  Variant(unsigned long long) = delete;
  Variant(float v) : FType(varSingle), FSingle(v) {}
  Variant(double v) : FType(varDouble), FDouble(v) {}
  Variant(Currency v) : FType(varCurrency), FInt64(v.Raw) {}
  Variant(TDateTime v) : FType(varDate), FDouble(v.Value) {}
  Variant(const char* v);
  Variant(const AnsiString& v) : FType(varString) { new (&FString) AnsiString(v); }
  Variant(AnsiString&& v) noexcept : FType(varString) { new (&FString) AnsiString(std::move(v)); }
  Variant(const WideChar* v);
  Variant(const WideString& v);
  Variant(WideString&& v);
  // Takes a reference on the object; nullptr gives a varDispatch (varUnknown) holding nothing.
  Variant(IDispatch* v);
  Variant(IUnknown* v);
  // Any other pointer would silently become a Boolean.
  template <class T>
  requires(!std::is_convertible_v<T*, IUnknown*> && !std::is_same_v<std::remove_cv_t<T>, char> &&
           !std::is_same_v<std::remove_cv_t<T>, WideChar>) Variant(T*)
  = delete;

  static Variant Null() noexcept
  {
    Variant v;
    v.FType = varNull;
    return v;
  }
  static Variant Unassigned() { return Variant(); }
  // varError with the given code.
  static Variant Error(Integer code);
  // A varByRef Variant that reads and writes `target`, which must outlive it. Reads and
  // conversions look through it; assigning a Variant to it replaces the reference itself, so
  // write through it with SetReferenced.
  static Variant Ref(Variant& target);

  // The type word, with varArray and varByRef flags.
  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return Deref().FType == varEmpty; }
  bool IsNull() const { return Deref().FType == varNull; }
  bool IsArray() const { return (Deref().FType & varArray) != 0; }
  bool IsByRef() const { return (FType & varByRef) != 0; }
  // The referenced Variant of a varByRef, else this one.
  const Variant& Deref() const { return (FType & varByRef) ? *FRef : *this; }
  Variant& Deref() { return (FType & varByRef) ? *FRef : *this; }
  // Writes v into the referenced Variant (or into this one when it is no reference).
  void SetReferenced(const Variant& v) { Deref() = v; }

  // Conversions by the classic rules (see the top of this file).
  bool AsBoolean() const
  {
    if (FType == varBoolean) return FBoolean;
    return ConvertToBoolean();
  }
  Integer AsInteger() const
  {
    if (FType == varInteger) return FInteger;
    return ConvertToInteger();
  }
  Int64 AsInt64() const
  {
    if (FType == varInteger) return FInteger;
    if (FType == varInt64) return FInt64;
    return ConvertToInt64();
  }
  double AsDouble() const
  {
    if (FType == varDouble) return FDouble;
    if (FType == varInteger) return FInteger;
    return ConvertToDouble();
  }
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  AnsiString AsString() const;
  WideString AsWideString() const;
  // The object of a varDispatch (may be nullptr); Empty gives nullptr; anything else raises
  // EVariantTypeCastError. The Variant keeps its reference: do not Release the result.
  IDispatch* AsDispatch() const;
  // The code of a varError; raises EVariantTypeCastError for other types.
  Integer AsError() const;

  // Late-bound calls on a varDispatch (or a varUnknown whose object is a dispatch object);
  // anything else, a dispatch Variant holding no object included, raises EVariantInvalidOpError
  // "Invalid variant operation". Exec passes `args` by reference so written-back var
  // parameters reach the caller.
  Variant Exec(const AnsiString& name, std::vector<Variant>& args) const;
  Variant Exec(const AnsiString& name, std::initializer_list<Variant> args = {}) const;
  Variant Get(const AnsiString& name) const;
  Variant Get(const AnsiString& name, std::initializer_list<Variant> indexes) const;
  void Set(const AnsiString& name, const Variant& value) const;

  Variant& operator+=(const Variant& v);
  Variant& operator-=(const Variant& v);
  Variant& operator*=(const Variant& v);
  Variant& operator/=(const Variant& v);

  // Operators are found through their Variant operand only, so that plain values with a
  // conversion to Variant (TDateTime, numbers) keep their own arithmetic.
  // Comparisons answer the classic way for Null (see Variants::NullEqualityRule): Null = Null
  // is true, Null = x false, Null <> x true, and with the default magnitude rule Null sorts
  // before everything. Comparing arrays or objects raises EVariantInvalidOpError; comparing a
  // text that is no number with a number raises EVariantTypeCastError.
  // Integer and Double operands are computed inline; everything else goes through
  // Variants::BinaryOp, which holds the full rules.
  friend Variant operator+(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return IntegerResult(Int64{a.FInteger} + b.FInteger);
    if (BothFloat(a, b)) return Variant(a.PlainDouble() + b.PlainDouble());
    return Variants::BinaryOp(Variants::opAdd, a, b);
  }
  friend Variant operator-(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return IntegerResult(Int64{a.FInteger} - b.FInteger);
    if (BothFloat(a, b)) return Variant(a.PlainDouble() - b.PlainDouble());
    return Variants::BinaryOp(Variants::opSubtract, a, b);
  }
  friend Variant operator*(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return IntegerResult(Int64{a.FInteger} * b.FInteger);
    if (BothFloat(a, b)) return Variant(a.PlainDouble() * b.PlainDouble());
    return Variants::BinaryOp(Variants::opMultiply, a, b);
  }
  friend Variant operator/(const Variant& a, const Variant& b)
  {
    if ((BothInteger(a, b) || BothFloat(a, b)) && b.PlainDouble() != 0)
      return Variant(a.PlainDouble() / b.PlainDouble());
    return Variants::BinaryOp(Variants::opDivide, a, b);
  }
  friend Variant operator%(const Variant& a, const Variant& b) { return Variants::BinaryOp(Variants::opModulus, a, b); }
  friend Variant operator&(const Variant& a, const Variant& b) { return Variants::BinaryOp(Variants::opAnd, a, b); }
  friend Variant operator|(const Variant& a, const Variant& b) { return Variants::BinaryOp(Variants::opOr, a, b); }
  friend Variant operator^(const Variant& a, const Variant& b) { return Variants::BinaryOp(Variants::opXor, a, b); }
  friend Variant operator<<(const Variant& a, const Variant& b)
  {
    return Variants::BinaryOp(Variants::opShiftLeft, a, b);
  }
  friend Variant operator>>(const Variant& a, const Variant& b)
  {
    return Variants::BinaryOp(Variants::opShiftRight, a, b);
  }
  friend Variant operator-(const Variant& a) { return Variants::UnaryOp(Variants::opNegate, a); }
  friend Variant operator~(const Variant& a) { return Variants::UnaryOp(Variants::opNot, a); }
  // The inline forms answer as the general rules do: a NaN is unequal to everything and neither
  // before nor after it, False sorts before True, texts compare by their bytes.
  friend bool operator==(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger == b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() == b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean == b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString == b.FString;
    return Compare(Variants::opCmpEQ, a, b);
  }
  friend bool operator!=(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger != b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() != b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean != b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString != b.FString;
    return Compare(Variants::opCmpNE, a, b);
  }
  friend bool operator<(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger < b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() < b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean < b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString < b.FString;
    return Compare(Variants::opCmpLT, a, b);
  }
  friend bool operator>(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger > b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() > b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean > b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString > b.FString;
    return Compare(Variants::opCmpGT, a, b);
  }
  friend bool operator<=(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger <= b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() <= b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean <= b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString <= b.FString;
    return Compare(Variants::opCmpLE, a, b);
  }
  friend bool operator>=(const Variant& a, const Variant& b)
  {
    if (BothInteger(a, b)) return a.FInteger >= b.FInteger;
    if (BothFloat(a, b)) return a.PlainDouble() >= b.PlainDouble();
    if (a.FType == varBoolean && b.FType == varBoolean) return a.FBoolean >= b.FBoolean;
    if (a.FType == varString && b.FType == varString) return a.FString >= b.FString;
    return Compare(Variants::opCmpGE, a, b);
  }

private:
  friend struct TVariantAccess;

  // The types that own nothing: copied bit for bit, nothing to free. Owning are varOleStr,
  // varDispatch, varUnknown, varString and arrays; a varByRef only points.
  static constexpr bool IsPlainType(TVarType t) noexcept
  {
    constexpr std::uint32_t owning = (1u << varOleStr) | (1u << varDispatch) | (1u << varUnknown);
    if (t < 32) return ((owning >> t) & 1u) == 0;
    return (t & varByRef) != 0 || ((t & varArray) == 0 && t != varString);
  }
  static constexpr bool IsStringType(TVarType t) noexcept { return t == varString || t == varOleStr; }
  static bool BothInteger(const Variant& a, const Variant& b) noexcept
  {
    return a.FType == varInteger && b.FType == varInteger;
  }
  // Double with Double or Integer: the arithmetic of the general rules is that of doubles.
  static bool BothFloat(const Variant& a, const Variant& b) noexcept
  {
    return (a.FType == varDouble && (b.FType == varDouble || b.FType == varInteger)) ||
           (a.FType == varInteger && b.FType == varDouble);
  }
  // The value of a varInteger or varDouble.
  double PlainDouble() const noexcept { return FType == varDouble ? FDouble : FInteger; }
  // An integer result stays Integer while it fits, else widens to Int64.
  static Variant IntegerResult(Int64 v) noexcept
  {
    if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int>(v));
    return Variant(static_cast<long long>(v));
  }
  void CopyBits(const Variant& other) noexcept { std::memcpy(&FInt64, &other.FInt64, sizeof FInt64); }

  void Clear() noexcept;
  void CopyFrom(const Variant& other);
  void MoveFrom(Variant& other) noexcept;
  Variant& AssignSlow(const Variant& other);
  Variant& MoveAssignSlow(Variant& other) noexcept;
  bool ConvertToBoolean() const;
  Integer ConvertToInteger() const;
  Int64 ConvertToInt64() const;
  double ConvertToDouble() const;
  static bool Compare(Variants::TVarOp op, const Variant& a, const Variant& b);

  TVarType FType;
  union {
    bool FBoolean;
    ShortInt FShortInt;
    Byte FByte;
    SmallInt FSmallInt;
    Word FWord;
    Integer FInteger;
    LongWord FLongWord;
    Int64 FInt64;  // also the raw count of a Currency
    float FSingle;
    double FDouble;  // also a Date
    Integer FError;
    AnsiString FString;
    WideString FWide;
    IUnknown* FUnknown;  // varDispatch holds an IDispatch here
    TVarArrayData* FArray;
    Variant* FRef;
  };
};

// ---- Unit routines ---------------------------------------------------------------------------

namespace Variants {

// How comparisons treat Null: raise EVariantInvalidNullOpError, answer false to every
// comparison, or the loose default (see the operators above).
enum TNullCompareRule { ncrError, ncrStrict, ncrLoose };

// When false, Null converts to 0, "" or False instead of raising. The application core turns
// it off at start-up.
extern bool NullStrictConvert;
extern TNullCompareRule NullEqualityRule;
extern TNullCompareRule NullMagnitudeRule;

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// One binary operator; the comparisons give a Boolean Variant. opCompare, opNegate and opNot
// raise EVariantInvalidOpError here.
Variant BinaryOp(TVarOp op, const Variant& left, const Variant& right);
// opNegate or opNot; others raise EVariantInvalidOpError.
Variant UnaryOp(TVarOp op, const Variant& v);

Variant Null();
Variant Unassigned();
// The value of an optional dispatch argument the caller leaves out (varError, VAR_PARAMNOTFOUND).
Variant EmptyParam();

// Tests look through varByRef.
TVarType VarType(const Variant& v);
bool VarIsNull(const Variant& v);
bool VarIsEmpty(const Variant& v);
// Empty, or an object Variant holding no object.
bool VarIsClear(const Variant& v);
bool VarIsEmptyParam(const Variant& v);
// Integers and Boolean.
bool VarIsOrdinal(const Variant& v);
// Single, Double and Currency (not Date).
bool VarIsFloat(const Variant& v);
bool VarIsNumeric(const Variant& v);
bool VarIsStr(const Variant& v);
bool VarIsArray(const Variant& v);
bool VarTypeIsValidElementType(TVarType type);

// Text of v; Null gives "" whatever NullStrictConvert says.
AnsiString VarToStr(const Variant& v);
// Text of v; Null gives `def`.
AnsiString VarToStrDef(const Variant& v, const AnsiString& def);
WideString VarToWideStr(const Variant& v);
TDateTime VarToDateTime(const Variant& v);
Variant VarFromDateTime(TDateTime d);
// v converted to `type` (a plain type code, varString, varOleStr, varVariant, varEmpty or
// varNull); raises as the conversions do. Converting a Null to anything but varNull follows
// NullStrictConvert.
Variant VarAsType(const Variant& v, TVarType type);
// The classic names: "Integer", "String", "Array Variant", "ByRef Integer".
AnsiString VarTypeAsText(TVarType type);

// Two Empty or two Null Variants are equal; one of them against anything else is vrNotEqual;
// else the comparison of the operators.
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
// VarCompareValue is vrEqual; false (not an error) when the types cannot be compared.
bool VarSameValue(const Variant& a, const Variant& b);

// ---- Arrays ----------------------------------------------------------------------------------
// A Variant array has one or more dimensions, each with its own low and high bound; elements
// hold values of the element type (varVariant: anything). A new array's elements are Empty
// (varVariant) or the element type's zero. Indexes are checked: an index outside its bounds or
// a wrong number of indexes raises EVariantBadIndexError
// "Variant or safe array index out of bounds"; array routines on a Variant that is no array
// raise EVariantInvalidArgError "Variant is not an array".

// `bounds` holds a low and a high bound per dimension (a high bound of low - 1 is an empty
// dimension). An odd or empty list, or a high bound below low - 1, raises
// EVariantInvalidArgError "Invalid argument"; an element type that arrays cannot hold raises
// EVariantBadVarTypeError.
Variant VarArrayCreate(const std::vector<int>& bounds, TVarType elementType);
// A one-dimensional array [0..n-1] of varVariant holding copies of `values`.
Variant VarArrayOf(const std::vector<Variant>& values);
// 0 for a Variant that is no array.
int VarArrayDimCount(const Variant& a);
// `dim` counts from 1; a dimension the array has not raises EVariantBadIndexError.
int VarArrayLowBound(const Variant& a, int dim);
int VarArrayHighBound(const Variant& a, int dim);
// Sets the high bound of the last dimension, keeping the elements whose indexes remain.
void VarArrayRedim(Variant& a, int highBound);
// The element at `indexes` (one per dimension). A put converts `value` to the element type.
Variant VarArrayGet(const Variant& a, const std::vector<int>& indexes);
void VarArrayPut(Variant& a, const Variant& value, const std::vector<int>& indexes);
// A varByRef Variant referring to the array in `a` (which must outlive it).
Variant VarArrayRef(Variant& a);

// Raises the error an IDispatch reports for a member it does not have: EVariantDispatchError
// "Method 'Name' not supported by automation object".
[[noreturn]] void RaiseUnknownName(const AnsiString& name);

}  // namespace Variants
