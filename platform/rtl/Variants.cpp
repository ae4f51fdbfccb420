// The Variant itself: storage, copying, conversions, type tests and late-bound calls.
// Operators are in Variants_Ops.cpp, arrays in Variants_Arrays.cpp.
#include "platform/rtl/Variants.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/VariantData.h"

namespace Variants {

bool NullStrictConvert = true;
TNullCompareRule NullEqualityRule = ncrLoose;
TNullCompareRule NullMagnitudeRule = ncrLoose;

void RaiseCastError(TVarType from, TVarType to)
{
  throw EVariantTypeCastError(SysUtils::Format("Could not convert variant of type (%s) into type (%s)",
                                               {VarTypeAsText(from), VarTypeAsText(to)}));
}

void RaiseOverflowError(TVarType from, TVarType to)
{
  throw EVariantOverflowError(SysUtils::Format("Overflow while converting variant of type (%s) into type (%s)",
                                               {VarTypeAsText(from), VarTypeAsText(to)}));
}

void RaiseInvalidOp() { throw EVariantInvalidOpError("Invalid variant operation"); }

void RaiseBadIndex() { throw EVariantBadIndexError("Variant or safe array index out of bounds"); }

void RaiseNotArray() { throw EVariantInvalidArgError("Variant is not an array"); }

void RaiseInvalidArg() { throw EVariantInvalidArgError("Invalid argument"); }

void RaiseUnknownName(const AnsiString& name)
{
  throw EVariantDispatchError("Method '" + name + "' not supported by automation object");
}

}  // namespace Variants

using namespace Variants;

namespace {

// Whole-number value of a float, halves to even; `from`/`to` name the types in the error.
Int64 RoundFloat(double x, TVarType from, TVarType to)
{
  if (!std::isfinite(x)) RaiseOverflowError(from, to);
  const double r = std::nearbyint(x);  // the default rounding mode: halves to even
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) RaiseOverflowError(from, to);
  return static_cast<Int64>(r);
}

// The range a integer type code holds.
bool IntegerRange(TVarType type, Int64& lo, Int64& hi)
{
  switch (type) {
    case varShortInt:
      lo = -128;
      hi = 127;
      return true;
    case varByte:
      lo = 0;
      hi = 255;
      return true;
    case varSmallint:
      lo = -32768;
      hi = 32767;
      return true;
    case varWord:
      lo = 0;
      hi = 65535;
      return true;
    case varInteger:
      lo = INT32_MIN;
      hi = INT32_MAX;
      return true;
    case varLongWord:
      lo = 0;
      hi = UINT32_MAX;
      return true;
    case varInt64:
      lo = INT64_MIN;
      hi = INT64_MAX;
      return true;
    default: return false;
  }
}

// The text of a string Variant (varString or varOleStr), already dereferenced.
AnsiString StringOf(const Variant& v)
{
  return v.VarType() == varOleStr ? System::WideToAnsi(v.AsWideString()) : v.AsString();
}

// Raises for Null when the strict switch is on; answers whether `v` is Null (then the caller
// returns its zero).
bool NullReadsAsZero(const Variant& v, TVarType to)
{
  if (v.VarType() != varNull) return false;
  if (NullStrictConvert) RaiseCastError(varNull, to);
  return true;
}

}  // namespace

// ---- Storage ---------------------------------------------------------------------------------

Variant::Variant(char v) : FType(varString) { new (&FString) AnsiString(1, v); }

Variant::Variant(const char* v) : FType(varString) { new (&FString) AnsiString(v ? v : ""); }

Variant::Variant(const WideChar* v) : FType(varOleStr) { new (&FWide) WideString(v ? v : u""); }

Variant::Variant(const WideString& v) : FType(varOleStr) { new (&FWide) WideString(v); }

Variant::Variant(WideString&& v) : FType(varOleStr) { new (&FWide) WideString(std::move(v)); }

Variant::Variant(IDispatch* v) : FType(varDispatch), FUnknown(v)
{
  if (v) v->AddRef();
}

Variant::Variant(IUnknown* v) : FType(varUnknown), FUnknown(v)
{
  if (v) v->AddRef();
}

Variant Variant::Error(Integer code)
{
  Variant v;
  v.FType = varError;
  v.FError = code;
  return v;
}

Variant Variant::Ref(Variant& target)
{
  Variant v;
  v.FType = varByRef | varVariant;
  v.FRef = &target.Deref();
  return v;
}

void Variant::Clear() noexcept
{
  if (FType & varByRef) {
    // only a pointer
  } else if (FType & varArray) {
    delete FArray;
  } else if (FType == varString) {
    FString.~AnsiString();
  } else if (FType == varOleStr) {
    FWide.~WideString();
  } else if ((FType == varDispatch || FType == varUnknown) && FUnknown) {
    FUnknown->Release();
  }
  FType = varEmpty;
  FInt64 = 0;
}

Variant& Variant::AssignSlow(const Variant& other)
{
  if (this == &other) return *this;
  if (FType == varString && other.FType == varString) {
    FString = other.FString;  // keeps the buffer this text already has
    return *this;
  }
  Variant copy(other);  // other may live inside this one (an array element)
  Clear();
  MoveFrom(copy);
  return *this;
}

Variant& Variant::MoveAssignSlow(Variant& other) noexcept
{
  if (FType == varString && other.FType == varString) {
    FString = std::move(other.FString);
    other.Clear();
    return *this;
  }
  Variant taken(std::move(other));  // other may live inside this one (an array element)
  Clear();
  MoveFrom(taken);
  return *this;
}

void Variant::CopyFrom(const Variant& other)
{
  // Called on an Empty Variant only.
  if (other.FType & varByRef) {
    FRef = other.FRef;
  } else if (other.FType & varArray) {
    FArray = new TVarArrayData(*other.FArray);
  } else if (other.FType == varString) {
    new (&FString) AnsiString(other.FString);
  } else if (other.FType == varOleStr) {
    new (&FWide) WideString(other.FWide);
  } else if (other.FType == varDispatch || other.FType == varUnknown) {
    FUnknown = other.FUnknown;
    if (FUnknown) FUnknown->AddRef();
  } else {
    std::memcpy(&FInt64, &other.FInt64, sizeof FInt64);
  }
  FType = other.FType;
}

void Variant::MoveFrom(Variant& other) noexcept
{
  // Called on an Empty Variant only; leaves `other` Empty.
  if (!(other.FType & (varByRef | varArray)) && other.FType == varString) {
    new (&FString) AnsiString(std::move(other.FString));
  } else if (!(other.FType & (varByRef | varArray)) && other.FType == varOleStr) {
    new (&FWide) WideString(std::move(other.FWide));
  } else {
    static_assert(sizeof(void*) <= sizeof(Int64));
    std::memcpy(&FInt64, &other.FInt64, sizeof FInt64);
    FType = other.FType;
    other.FType = varEmpty;  // ownership of pointers moved: nothing to release
    other.FInt64 = 0;
    return;
  }
  FType = other.FType;
  other.Clear();
}

// ---- Conversions -----------------------------------------------------------------------------

namespace {

// The integer value of `v` for a conversion into integer type `to` (range checked by the
// caller against `to`).
Int64 IntegerValue(const Variant& v, TVarType to)
{
  const TVarType t = v.VarType();
  switch (t) {
    case varEmpty: return 0;
    case varNull: NullReadsAsZero(v, to); return 0;
    case varBoolean: return v.AsBoolean() ? -1 : 0;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: return v.AsInt64();
    case varSingle:
    case varDouble:
    case varDate: return RoundFloat(v.AsDouble(), t, to);
    case varCurrency: return SysUtils::CurrRound(v.AsCurrency());
    case varString:
    case varOleStr: {
      const AnsiString s = StringOf(v);
      Int64 n = 0;
      if (SysUtils::TryStrToInt64(s, n)) return n;
      double d = 0;
      if (SysUtils::TryStrToFloat(s, d)) return RoundFloat(d, t, to);
      RaiseCastError(t, to);
    }
    default: RaiseCastError(t, to);
  }
}

Int64 CheckedInteger(const Variant& v, TVarType to)
{
  const Int64 n = IntegerValue(v, to);
  Int64 lo = 0, hi = 0;
  IntegerRange(to, lo, hi);
  if (n < lo || n > hi) RaiseOverflowError(v.VarType(), to);
  return n;
}

}  // namespace

bool Variant::ConvertToBoolean() const
{
  const Variant& v = Deref();
  switch (v.FType) {
    case varBoolean: return v.FBoolean;
    case varEmpty: return false;
    case varNull: NullReadsAsZero(v, varBoolean); return false;
    case varShortInt: return v.FShortInt != 0;
    case varByte: return v.FByte != 0;
    case varSmallint: return v.FSmallInt != 0;
    case varWord: return v.FWord != 0;
    case varInteger: return v.FInteger != 0;
    case varLongWord: return v.FLongWord != 0;
    case varInt64: return v.FInt64 != 0;
    case varCurrency: return v.FInt64 != 0;
    case varSingle: return v.FSingle != 0;
    case varDouble:
    case varDate: return v.FDouble != 0;
    case varString:
    case varOleStr: {
      bool b = false;
      if (SysUtils::TryStrToBool(StringOf(v), b)) return b;
      RaiseCastError(v.FType, varBoolean);
    }
    default: RaiseCastError(v.FType, varBoolean);
  }
}

Int64 Variant::ConvertToInt64() const
{
  const Variant& v = Deref();
  switch (v.FType) {
    case varShortInt: return v.FShortInt;
    case varByte: return v.FByte;
    case varSmallint: return v.FSmallInt;
    case varWord: return v.FWord;
    case varInteger: return v.FInteger;
    case varLongWord: return v.FLongWord;
    case varInt64: return v.FInt64;
    default: return CheckedInteger(v, varInt64);
  }
}

Integer Variant::ConvertToInteger() const
{
  const Variant& v = Deref();
  if (v.FType == varInteger) return v.FInteger;
  return static_cast<Integer>(CheckedInteger(v, varInteger));
}

double Variant::ConvertToDouble() const
{
  const Variant& v = Deref();
  switch (v.FType) {
    case varDouble:
    case varDate: return v.FDouble;
    case varSingle: return v.FSingle;
    case varEmpty: return 0;
    case varNull: NullReadsAsZero(v, varDouble); return 0;
    case varBoolean: return v.FBoolean ? -1 : 0;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: return static_cast<double>(v.AsInt64());
    case varCurrency: return SysUtils::CurrToDouble(Currency::FromRaw(v.FInt64));
    case varString:
    case varOleStr: {
      double d = 0;
      if (SysUtils::TryStrToFloat(StringOf(v), d)) return d;
      RaiseCastError(v.FType, varDouble);
    }
    default: RaiseCastError(v.FType, varDouble);
  }
}

Currency Variant::AsCurrency() const
{
  const Variant& v = Deref();
  try {
    switch (v.FType) {
      case varCurrency: return Currency::FromRaw(v.FInt64);
      case varEmpty: return Currency();
      case varNull: NullReadsAsZero(v, varCurrency); return Currency();
      case varBoolean: return SysUtils::Int64ToCurr(v.FBoolean ? -1 : 0);
      case varShortInt:
      case varByte:
      case varSmallint:
      case varWord:
      case varInteger:
      case varLongWord:
      case varInt64: return SysUtils::Int64ToCurr(v.AsInt64());
      case varSingle:
      case varDouble:
      case varDate: return SysUtils::DoubleToCurr(v.AsDouble());
      case varString:
      case varOleStr: {
        const AnsiString s = StringOf(v);
        Currency c;
        if (SysUtils::TryStrToCurr(s, c)) return c;
        double d = 0;
        if (SysUtils::TryStrToFloat(s, d)) return SysUtils::DoubleToCurr(d);
        RaiseCastError(v.FType, varCurrency);
      }
      default: RaiseCastError(v.FType, varCurrency);
    }
  } catch (const EMathError&) {
    RaiseOverflowError(v.FType, varCurrency);
  }
}

TDateTime Variant::AsDateTime() const
{
  const Variant& v = Deref();
  switch (v.FType) {
    case varDate: return TDateTime(v.FDouble);
    case varString:
    case varOleStr: {
      TDateTime d;
      if (SysUtils::TryStrToDateTime(StringOf(v), d)) return d;
      RaiseCastError(v.FType, varDate);
    }
    case varNull: NullReadsAsZero(v, varDate); return TDateTime();
    case varEmpty:
    case varBoolean:
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64:
    case varSingle:
    case varDouble:
    case varCurrency: return TDateTime(v.AsDouble());
    default: RaiseCastError(v.FType, varDate);
  }
}

AnsiString Variant::AsString() const
{
  const Variant& v = Deref();
  switch (v.FType) {
    case varString: return v.FString;
    case varOleStr: return System::WideToAnsi(v.FWide);
    case varEmpty: return AnsiString();
    case varNull: NullReadsAsZero(v, varString); return AnsiString();
    case varBoolean: return v.FBoolean ? "True" : "False";
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: return SysUtils::IntToStr(v.AsInt64());
    // A Single shows the digits it holds, not the binary tail of its widening.
    case varSingle: return SysUtils::FloatToStrF(v.FSingle, SysUtils::ffGeneral, 7, 0);
    case varDouble: return SysUtils::FloatToStr(v.FDouble);
    case varCurrency: return SysUtils::CurrToStr(Currency::FromRaw(v.FInt64));
    case varDate: return SysUtils::DateTimeToStr(TDateTime(v.FDouble));
    default: RaiseCastError(v.FType, varString);
  }
}

WideString Variant::AsWideString() const
{
  const Variant& v = Deref();
  if (v.FType == varOleStr) return v.FWide;
  if (v.FType == varNull) {
    NullReadsAsZero(v, varOleStr);
    return WideString();
  }
  if (!IsStringType(v.FType) &&
      (v.FType & varArray || v.FType == varDispatch || v.FType == varUnknown || v.FType == varError))
    RaiseCastError(v.FType, varOleStr);
  return System::AnsiToWide(v.AsString());
}

IDispatch* Variant::AsDispatch() const
{
  const Variant& v = Deref();
  if (v.FType == varDispatch) return static_cast<IDispatch*>(v.FUnknown);
  if (v.FType == varEmpty) return nullptr;
  RaiseCastError(v.FType, varDispatch);
}

Integer Variant::AsError() const
{
  const Variant& v = Deref();
  if (v.FType == varError) return v.FError;
  RaiseCastError(v.FType, varError);
}

// ---- Late-bound calls ------------------------------------------------------------------------

namespace {

// The object a late-bound call goes to; an unknown object answers when it is also a dispatch
// object. Anything else cannot be called.
IDispatch* DispatchOf(const Variant& v)
{
  IDispatch* object = nullptr;
  if (v.VarType() == varDispatch)
    object = v.AsDispatch();
  else if (v.VarType() == varUnknown)
    object = dynamic_cast<IDispatch*>(TVariantAccess::Unknown(v));
  if (!object) RaiseInvalidOp();
  return object;
}

}  // namespace

Variant Variant::Exec(const AnsiString& name, std::vector<Variant>& args) const
{
  IDispatch* object = DispatchOf(Deref());
  const Variant keep(object);  // the call may drop the last other reference
  return object->Invoke(name, dkMethod, args);
}

Variant Variant::Exec(const AnsiString& name, std::initializer_list<Variant> args) const
{
  std::vector<Variant> list(args);
  return Exec(name, list);
}

Variant Variant::Get(const AnsiString& name) const { return Get(name, {}); }

Variant Variant::Get(const AnsiString& name, std::initializer_list<Variant> indexes) const
{
  IDispatch* object = DispatchOf(Deref());
  const Variant keep(object);
  std::vector<Variant> args(indexes);
  return object->Invoke(name, dkPropertyGet, args);
}

void Variant::Set(const AnsiString& name, const Variant& value) const
{
  IDispatch* object = DispatchOf(Deref());
  const Variant keep(object);
  std::vector<Variant> args{value.Deref()};
  object->Invoke(name, dkPropertyPut, args);
}

Variant& Variant::operator+=(const Variant& v) { return *this = *this + v; }

Variant& Variant::operator-=(const Variant& v) { return *this = *this - v; }

Variant& Variant::operator*=(const Variant& v) { return *this = *this * v; }

Variant& Variant::operator/=(const Variant& v) { return *this = *this / v; }

// ---- Unit routines ---------------------------------------------------------------------------

namespace Variants {

Variant Null() { return Variant::Null(); }

Variant Unassigned() { return Variant(); }

Variant EmptyParam() { return Variant::Error(VAR_PARAMNOTFOUND); }

TVarType VarType(const Variant& v) { return v.Deref().VarType(); }

bool VarIsNull(const Variant& v) { return VarType(v) == varNull; }

bool VarIsEmpty(const Variant& v) { return VarType(v) == varEmpty; }

bool VarIsClear(const Variant& v)
{
  const Variant& d = v.Deref();
  const TVarType t = d.VarType();
  if (t == varEmpty) return true;
  if (t == varDispatch) return d.AsDispatch() == nullptr;
  if (t == varUnknown) return TVariantAccess::Unknown(d) == nullptr;
  return false;
}

bool VarIsEmptyParam(const Variant& v)
{
  const Variant& d = v.Deref();
  return d.VarType() == varError && d.AsError() == VAR_PARAMNOTFOUND;
}

bool VarIsOrdinal(const Variant& v)
{
  switch (VarType(v)) {
    case varSmallint:
    case varInteger:
    case varBoolean:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: return true;
    default: return false;
  }
}

bool VarIsFloat(const Variant& v)
{
  const TVarType t = VarType(v);
  return t == varSingle || t == varDouble || t == varCurrency;
}

bool VarIsNumeric(const Variant& v) { return VarIsOrdinal(v) || VarIsFloat(v); }

bool VarIsStr(const Variant& v)
{
  const TVarType t = VarType(v);
  return t == varString || t == varOleStr || t == varStrArg;
}

bool VarIsArray(const Variant& v) { return (VarType(v) & varArray) != 0; }

bool VarTypeIsValidElementType(TVarType type)
{
  switch (type) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varOleStr:
    case varDispatch:
    case varError:
    case varBoolean:
    case varVariant:
    case varUnknown:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varString: return true;
    default: return false;
  }
}

AnsiString VarToStr(const Variant& v) { return VarToStrDef(v, AnsiString()); }

AnsiString VarToStrDef(const Variant& v, const AnsiString& def) { return VarIsNull(v) ? def : v.AsString(); }

WideString VarToWideStr(const Variant& v) { return VarIsNull(v) ? WideString() : v.AsWideString(); }

TDateTime VarToDateTime(const Variant& v) { return v.AsDateTime(); }

Variant VarFromDateTime(TDateTime d) { return Variant(d); }

Variant VarAsType(const Variant& source, TVarType type)
{
  const Variant& v = source.Deref();
  const TVarType from = v.VarType();
  if (from == type || type == varVariant) return v;
  if (from == varNull && type != varEmpty) {
    if (NullStrictConvert) RaiseCastError(varNull, type);
    if (type == varNull) return v;
  }
  switch (type) {
    case varEmpty: return Variant();
    case varNull: return Variant::Null();
    case varBoolean: return Variant(v.AsBoolean());
    case varShortInt: return Variant(static_cast<signed char>(CheckedInteger(v, type)));
    case varByte: return Variant(static_cast<unsigned char>(CheckedInteger(v, type)));
    case varSmallint: return Variant(static_cast<short>(CheckedInteger(v, type)));
    case varWord: return Variant(static_cast<unsigned short>(CheckedInteger(v, type)));
    case varInteger: return Variant(static_cast<int>(CheckedInteger(v, type)));
    case varLongWord: return Variant(static_cast<unsigned int>(CheckedInteger(v, type)));
    case varInt64: return Variant(static_cast<long long>(CheckedInteger(v, type)));
    case varSingle: {
      const double d = v.AsDouble();
      if (std::isfinite(d) && std::fabs(d) > FLT_MAX) RaiseOverflowError(from, type);
      return Variant(static_cast<float>(d));
    }
    case varDouble: return Variant(v.AsDouble());
    case varCurrency: return Variant(v.AsCurrency());
    case varDate: return Variant(v.AsDateTime());
    case varString: return Variant(v.AsString());
    case varOleStr: return Variant(v.AsWideString());
    case varDispatch: return Variant(v.AsDispatch());
    default: RaiseCastError(from, type);
  }
}

AnsiString VarTypeAsText(TVarType type)
{
  static const char* const kNames[] = {"Empty",   "Null",   "Smallint", "Integer", "Single",  "Double",   "Currency",
                                       "Date",    "OleStr", "Dispatch", "Error",   "Boolean", "Variant",  "Unknown",
                                       "Decimal", "$000F",  "ShortInt", "Byte",    "Word",    "LongWord", "Int64"};
  const TVarType base = type & varTypeMask;
  AnsiString name;
  if (base < sizeof kNames / sizeof kNames[0])
    name = kNames[base];
  else if (base == varString)
    name = "String";
  else if (base == varAny)
    name = "Any";
  else if (base == varStrArg)
    name = "StrArg";
  else
    name = "$" + SysUtils::IntToHex(base, 4);
  if (type & varArray) name = "Array " + name;
  if (type & varByRef) name = "ByRef " + name;
  return name;
}

}  // namespace Variants
