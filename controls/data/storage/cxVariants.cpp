#include "controls/data/storage/cxVariants.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>

#include "controls/data/cxDataConsts.h"
#include "platform/rtl/Streams.h"

namespace cxVariants {

namespace {

// Reserved above the library's codes (varString 0x100, varAny 0x101).
constexpr TVarType kFMTBcd = 0x0110;
constexpr TVarType kSQLTimeStamp = 0x0111;

// Lists nested deeper than this are refused on reading: nothing the system writes comes near it,
// and a crafted stream must not exhaust the stack.
constexpr int kMaxListDepth = 64;

[[noreturn]] void RaiseReadError() { throw EReadError(cxDataConsts::cxSDataReadError); }
[[noreturn]] void RaiseWriteError() { throw EWriteError(cxDataConsts::cxSDataWriteError); }

// ---- Order ---------------------------------------------------------------------------------

enum TFamily { famNull, famEmpty, famBoolean, famNumber, famText, famOther };

TFamily FamilyOf(TVarType t)
{
  switch (t & varTypeMask) {
    case varNull: return famNull;
    case varEmpty: return famEmpty;
    case varBoolean: return famBoolean;
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: return famNumber;
    case varString:
    case varOleStr: return famText;
    default: return famOther;
  }
}

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

template <class T>
int Order(const T& a, const T& b)
{
  return a < b ? -1 : b < a ? 1 : 0;
}

// A number either exactly as ten-thousandths (integers, Currency) or as a double (floats, dates).
struct TNumber {
  bool IsFloat = false;
  __int128 Scaled = 0;
  double D = 0;
};

TNumber NumberOf(const Variant& v)
{
  TNumber n;
  switch (v.VarType() & varTypeMask) {
    case varSingle:
    case varDouble:
    case varDate:
      n.IsFloat = true;
      n.D = v.AsDouble();
      break;
    case varCurrency: n.Scaled = v.AsCurrency().Raw; break;
    default: n.Scaled = static_cast<__int128>(v.AsInt64()) * Currency::Scale; break;
  }
  return n;
}

// Scaled against a double, exactly: a double times 10000 needs at most 63 mantissa bits, which
// the 64-bit mantissa of long double holds.
int CompareScaledWithFloat(__int128 s, double d)
{
  if (std::isnan(d)) return 1;  // NaN sorts before every number
  const long double x = static_cast<long double>(d) * 10000.0L;
  constexpr long double kLimit = 0x1p125L;
  if (x >= kLimit) return -1;
  if (x <= -kLimit) return 1;
  const long double f = std::floor(x);
  const __int128 i = static_cast<__int128>(f);
  if (s != i) return s < i ? -1 : 1;
  return x > f ? -1 : 0;
}

int CompareNumbers(const Variant& a, const Variant& b)
{
  const TNumber x = NumberOf(a), y = NumberOf(b);
  if (!x.IsFloat && !y.IsFloat) return Order(x.Scaled, y.Scaled);
  if (!x.IsFloat) return CompareScaledWithFloat(x.Scaled, y.D);
  if (!y.IsFloat) return -CompareScaledWithFloat(y.Scaled, x.D);
  const bool nx = std::isnan(x.D), ny = std::isnan(y.D);
  if (nx || ny) return nx && ny ? 0 : nx ? -1 : 1;
  return Order(x.D, y.D);
}

int CompareTexts(const Variant& a, const Variant& b)
{
  const bool wide = (a.VarType() & varTypeMask) == varOleStr || (b.VarType() & varTypeMask) == varOleStr;
  int c = 0;
  if (!wide) {
    c = a.AsString().compare(b.AsString());
  } else {
    c = a.AsString().compare(b.AsString());
    if (c == 0) return Order(a.AsWideString(), b.AsWideString());
  }
  return Sign(c);
}

int CompareOthers(const Variant& a, const Variant& b)
{
  const TVarType ta = a.VarType() & varTypeMask, tb = b.VarType() & varTypeMask;
  if (ta != tb) return ta < tb ? -1 : 1;
  try {
    if (ta == varError) return Order(a.AsError(), b.AsError());
    if (ta == varDispatch) {
      const IDispatch* pa = a.AsDispatch();
      const IDispatch* pb = b.AsDispatch();
      if (pa == pb) return 0;
      return std::less<const IDispatch*>()(pa, pb) ? -1 : 1;
    }
  } catch (const EVariantError&) {}
  return 0;
}

int CompareScalars(const Variant& a, const Variant& b)
{
  const TFamily fa = FamilyOf(a.VarType()), fb = FamilyOf(b.VarType());
  if (fa != fb) return fa < fb ? -1 : 1;
  switch (fa) {
    case famNull:
    case famEmpty: return 0;
    case famBoolean: return Order(a.AsBoolean(), b.AsBoolean());
    case famNumber: return CompareNumbers(a, b);
    case famText: return CompareTexts(a, b);
    default: return CompareOthers(a, b);
  }
}

// ---- Fixed-width little-endian forms -------------------------------------------------------

template <class T>
T ReadLE(TStream* s)
{
  Byte b[sizeof(T)];
  s->ReadBuffer(b, sizeof(T));
  std::make_unsigned_t<T> u = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<std::make_unsigned_t<T>>(b[i]) << (8 * i);
  return static_cast<T>(u);
}

template <class T>
void WriteLE(TStream* s, T v)
{
  Byte b[sizeof(T)];
  auto u = static_cast<std::make_unsigned_t<T>>(v);
  for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<Byte>(u >> (8 * i));
  s->WriteBuffer(b, sizeof(T));
}

// Bytes left in the stream: a length or count above it cannot be genuine.
Int64 Remaining(TStream* s) { return s->GetSize() - s->GetPosition(); }

AnsiString ReadBytes(TStream* s, Integer length)
{
  if (length < 0 || length > Remaining(s)) RaiseReadError();
  AnsiString text(static_cast<std::size_t>(length), '\0');
  if (length > 0) s->ReadBuffer(text.data(), length);
  return text;
}

WideString ReadUnits(TStream* s, Integer count)
{
  if (count < 0 || static_cast<Int64>(count) * 2 > Remaining(s)) RaiseReadError();
  WideString text(static_cast<std::size_t>(count), u'\0');
  for (auto& unit : text) unit = static_cast<WideChar>(ReadLE<std::uint16_t>(s));
  return text;
}

void WriteTag(TStream* s, Byte tag) { s->WriteBuffer(&tag, 1); }

void WriteIntegerValue(TStream* s, Integer n)
{
  if (n >= -128 && n <= 127) {
    WriteTag(s, 2);
    WriteLE<std::int8_t>(s, static_cast<std::int8_t>(n));
  } else if (n >= -32768 && n <= 32767) {
    WriteTag(s, 3);
    WriteLE<std::int16_t>(s, static_cast<std::int16_t>(n));
  } else {
    WriteTag(s, 4);
    WriteLE<std::int32_t>(s, n);
  }
}

void WriteAnsiValue(TStream* s, const AnsiString& text)
{
  if (text.size() <= 255) {
    WriteTag(s, 6);
    WriteLE<std::uint8_t>(s, static_cast<std::uint8_t>(text.size()));
    s->WriteBuffer(text.data(), static_cast<Int64>(text.size()));
  } else {
    WriteTag(s, 12);
    WriteStringToStream(s, text);
  }
}

Variant ReadTagged(TStream* s, int depth)
{
  const Byte tag = ReadLE<std::uint8_t>(s);
  switch (tag) {
    case 0: return Variant::Null();
    case 1: {
      const Byte countTag = ReadLE<std::uint8_t>(s);
      Integer count = 0;
      switch (countTag) {
        case 2: count = ReadLE<std::int8_t>(s); break;
        case 3: count = ReadLE<std::int16_t>(s); break;
        case 4: count = ReadLE<std::int32_t>(s); break;
        default: RaiseReadError();
      }
      // Every element takes at least its tag byte.
      if (count < 0 || count > Remaining(s) || depth >= kMaxListDepth) RaiseReadError();
      Variant list = Variants::VarArrayCreate({0, count - 1}, varVariant);
      for (Integer i = 0; i < count; ++i) Variants::VarArrayPut(list, ReadTagged(s, depth + 1), {i});
      return list;
    }
    case 2: return Variant(static_cast<signed char>(ReadLE<std::int8_t>(s)));
    case 3: return Variant(static_cast<short>(ReadLE<std::int16_t>(s)));
    case 4: return Variant(static_cast<int>(ReadLE<std::int32_t>(s)));
    case 5: {
      Byte e[10];
      s->ReadBuffer(e, 10);
      return Variant(ExtendedToDouble(e));
    }
    case 6: return Variant(ReadBytes(s, ReadLE<std::uint8_t>(s)));
    case 8: return Variant(false);
    case 9: return Variant(true);
    case 12: return Variant(ReadStringFromStream(s));
    case 13: return Variant();
    case 15: {
      const std::uint32_t bits = ReadLE<std::uint32_t>(s);
      return Variant(std::bit_cast<float>(bits));
    }
    case 16: return Variant(Currency::FromRaw(ReadLE<std::int64_t>(s)));
    case 17: return Variant(ReadDateTimeFromStream(s));
    case 18: return Variant(ReadWideStringFromStream(s));
    default: RaiseReadError();
  }
}

}  // namespace

TVarType VarFMTBcd() { return kFMTBcd; }
TVarType VarSQLTimeStamp() { return kSQLTimeStamp; }

// ---- Comparison and tests --------------------------------------------------------------------

int VarCompareValues(const Variant& V1, const Variant& V2)
{
  const Variant& a = V1.Deref();
  const Variant& b = V2.Deref();
  if (a.IsArray() || b.IsArray()) return CompareVarArrays(a, b);
  return CompareScalars(a, b);
}

int CompareVarArrays(const Variant& V1, const Variant& V2)
{
  const Variant& a = V1.Deref();
  const Variant& b = V2.Deref();
  const bool arrA = a.IsArray(), arrB = b.IsArray();
  if (arrA && arrB) {
    const int dimA = Variants::VarArrayDimCount(a), dimB = Variants::VarArrayDimCount(b);
    if (dimA != dimB) return dimA - dimB;
    const int lowA = Variants::VarArrayLowBound(a, 1), lowB = Variants::VarArrayLowBound(b, 1);
    const int highA = Variants::VarArrayHighBound(a, 1), highB = Variants::VarArrayHighBound(b, 1);
    const int d = (highA - lowA) - (highB - lowB);
    if (d != 0) return d;
    if (dimA != 1) return 0;  // arrays here are one-dimensional; others only by their shape
    // Elements are taken from each array's own low bound.
    for (int i = 0; i <= highA - lowA; ++i) {
      const int c = VarCompareValues(Variants::VarArrayGet(a, {lowA + i}), Variants::VarArrayGet(b, {lowB + i}));
      if (c != 0) return c;
    }
    return 0;
  }
  if (arrA) return 1;
  if (arrB) return -1;
  return VarCompareValues(a, b);
}

bool VarValuesEqual(const Variant& V1, const Variant& V2) { return VarCompareValues(V1, V2) == 0; }

bool VarEqualsBooleanAsText(const Variant& V1, const Variant& V2)
{
  const bool bool1 = Variants::VarType(V1) == varBoolean, bool2 = Variants::VarType(V2) == varBoolean;
  if (V1.IsNull() || V2.IsNull() || (!bool1 && !bool2)) return VarValuesEqual(V1, V2);
  try {
    return Variants::VarToStr(V1) == Variants::VarToStr(V2);
  } catch (const EVariantError&) {
    return false;
  }
}

bool VarTypeIsDateOrTimeStamp(TVarType AVarType)
{
  const TVarType t = AVarType & varTypeMask;
  return t == varDate || t == kSQLTimeStamp;
}

bool VarIsDateOrTimeStamp(const Variant& V) { return VarTypeIsDateOrTimeStamp(Variants::VarType(V)); }

bool VarIsNumericOrFMTBcd(const Variant& V)
{
  return Variants::VarIsNumeric(V) || (Variants::VarType(V) & varTypeMask) == kFMTBcd;
}

bool VarIsNullOrEmptyStr(const Variant& V)
{
  if (V.IsNull()) return true;
  switch (Variants::VarType(V) & varTypeMask) {
    case varString: return !V.IsArray() && V.AsString().empty();
    case varOleStr: return !V.IsArray() && V.AsWideString().empty();
    default: return false;
  }
}

Variant MakeVarArray1(const Variant& V) { return Variants::VarArrayOf({V}); }

Variant MakeVarArray2(const Variant& V1, const Variant& V2) { return Variants::VarArrayOf({V1, V2}); }

void VarArrayAppend(Variant& AArray, const Variant& V)
{
  const int low = Variants::VarArrayLowBound(AArray, 1);
  const int high = Variants::VarArrayHighBound(AArray, 1);
  Variant grown = Variants::VarArrayCreate({low, high + 1}, varVariant);
  for (int i = low; i <= high; ++i) Variants::VarArrayPut(grown, Variants::VarArrayGet(AArray, {i}), {i});
  Variants::VarArrayPut(grown, V, {high + 1});
  AArray = std::move(grown);
}

// ---- Tagged form -------------------------------------------------------------------------------

Variant ReadVariantFromStream(TStream* AStream) { return ReadTagged(AStream, 0); }

void WriteVariantToStream(TStream* AStream, const Variant& AValue)
{
  const Variant& v = AValue.Deref();
  if (v.IsArray()) {
    if (Variants::VarArrayDimCount(v) != 1) RaiseWriteError();
    const int low = Variants::VarArrayLowBound(v, 1), high = Variants::VarArrayHighBound(v, 1);
    WriteTag(AStream, 1);
    WriteIntegerValue(AStream, high - low + 1);
    for (int i = low; i <= high; ++i) WriteVariantToStream(AStream, Variants::VarArrayGet(v, {i}));
    return;
  }
  switch (v.VarType() & varTypeMask) {
    case varEmpty: WriteTag(AStream, 13); return;
    case varNull: WriteTag(AStream, 0); return;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte: WriteIntegerValue(AStream, v.AsInteger()); return;
    case varSingle: {
      WriteTag(AStream, 15);
      WriteLE<std::uint32_t>(AStream, std::bit_cast<std::uint32_t>(static_cast<float>(v.AsDouble())));
      return;
    }
    case varDouble:
      WriteTag(AStream, 5);
      WriteExtendedToStream(AStream, v.AsDouble());
      return;
    case varCurrency:
      WriteTag(AStream, 16);
      WriteCurrencyToStream(AStream, v.AsCurrency());
      return;
    case varDate:
      WriteTag(AStream, 17);
      WriteDateTimeToStream(AStream, v.AsDateTime());
      return;
    case varOleStr:
      WriteTag(AStream, 18);
      WriteWideStringToStream(AStream, v.AsWideString());
      return;
    case varBoolean: WriteTag(AStream, v.AsBoolean() ? 9 : 8); return;
    case varString: WriteAnsiValue(AStream, v.AsString()); return;
    default: {
      AnsiString text;
      try {
        text = v.AsString();
      } catch (...) {
        RaiseWriteError();
      }
      WriteAnsiValue(AStream, text);
      return;
    }
  }
}

// ---- Fixed-width procedures ------------------------------------------------------------------

AnsiString ReadStringFromStream(TStream* AStream) { return ReadBytes(AStream, ReadLE<std::int32_t>(AStream)); }

void WriteStringToStream(TStream* AStream, const AnsiString& S)
{
  WriteLE<std::int32_t>(AStream, static_cast<std::int32_t>(S.size()));
  AStream->WriteBuffer(S.data(), static_cast<Int64>(S.size()));
}

WideString ReadWideStringFromStream(TStream* AStream) { return ReadUnits(AStream, ReadLE<std::int32_t>(AStream)); }

void WriteWideStringToStream(TStream* AStream, const WideString& S)
{
  WriteLE<std::int32_t>(AStream, static_cast<std::int32_t>(S.size()));
  for (WideChar unit : S) WriteLE<std::uint16_t>(AStream, unit);
}

bool ReadBooleanFromStream(TStream* AStream) { return ReadLE<std::uint8_t>(AStream) != 0; }
void WriteBooleanToStream(TStream* AStream, bool AValue) { WriteLE<std::uint8_t>(AStream, AValue ? 1 : 0); }
Byte ReadByteFromStream(TStream* AStream) { return ReadLE<std::uint8_t>(AStream); }
void WriteByteToStream(TStream* AStream, Byte AValue) { WriteLE<std::uint8_t>(AStream, AValue); }
SmallInt ReadSmallIntFromStream(TStream* AStream) { return ReadLE<std::int16_t>(AStream); }
void WriteSmallIntToStream(TStream* AStream, SmallInt AValue) { WriteLE<std::int16_t>(AStream, AValue); }
Word ReadWordFromStream(TStream* AStream) { return ReadLE<std::uint16_t>(AStream); }
void WriteWordToStream(TStream* AStream, Word AValue) { WriteLE<std::uint16_t>(AStream, AValue); }
Integer ReadIntegerFromStream(TStream* AStream) { return ReadLE<std::int32_t>(AStream); }
void WriteIntegerToStream(TStream* AStream, Integer AValue) { WriteLE<std::int32_t>(AStream, AValue); }
Int64 ReadLargeIntFromStream(TStream* AStream) { return ReadLE<std::int64_t>(AStream); }
void WriteLargeIntToStream(TStream* AStream, Int64 AValue) { WriteLE<std::int64_t>(AStream, AValue); }
Currency ReadCurrencyFromStream(TStream* AStream) { return Currency::FromRaw(ReadLE<std::int64_t>(AStream)); }
void WriteCurrencyToStream(TStream* AStream, Currency AValue) { WriteLE<std::int64_t>(AStream, AValue.Raw); }

TDateTime ReadDateTimeFromStream(TStream* AStream)
{
  return TDateTime(std::bit_cast<double>(ReadLE<std::uint64_t>(AStream)));
}

void WriteDateTimeToStream(TStream* AStream, TDateTime AValue)
{
  WriteLE<std::uint64_t>(AStream, std::bit_cast<std::uint64_t>(AValue.Value));
}

void WriteExtendedToStream(TStream* AStream, double AValue)
{
  Byte e[10];
  DoubleToExtended(AValue, e);
  AStream->WriteBuffer(e, 10);
}

// ---- 80-bit extended -------------------------------------------------------------------------

void DoubleToExtended(double AValue, Byte AExtended[10])
{
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(AValue);
  const std::uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  const int exp = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t frac = bits & ((std::uint64_t(1) << 52) - 1);
  std::uint64_t mant = 0;
  int e15 = 0;
  if (exp == 0x7FF) {
    e15 = 0x7FFF;
    mant = (std::uint64_t(1) << 63) | (frac << 11);
  } else if (exp == 0) {
    if (frac != 0) {  // subnormal double: normal in the wider exponent range
      const int top = 63 - std::countl_zero(frac);
      mant = frac << (63 - top);
      e15 = top - 1074 + 16383;
    }
  } else {
    mant = (std::uint64_t(1) << 63) | (frac << 11);
    e15 = exp - 1023 + 16383;
  }
  for (int i = 0; i < 8; ++i) AExtended[i] = static_cast<Byte>(mant >> (8 * i));
  const std::uint16_t se = static_cast<std::uint16_t>(sign | e15);
  AExtended[8] = static_cast<Byte>(se);
  AExtended[9] = static_cast<Byte>(se >> 8);
}

double ExtendedToDouble(const Byte AExtended[10])
{
  std::uint64_t mant = 0;
  for (int i = 0; i < 8; ++i) mant |= static_cast<std::uint64_t>(AExtended[i]) << (8 * i);
  const std::uint16_t se = static_cast<std::uint16_t>(AExtended[8] | (AExtended[9] << 8));
  const bool negative = (se & 0x8000) != 0;
  const int e15 = se & 0x7FFF;
  const std::uint64_t signBit = negative ? std::uint64_t(1) << 63 : 0;
  if (e15 == 0x7FFF) {
    const std::uint64_t payload = (mant << 1) >> 12;
    if ((mant << 1) == 0) return std::bit_cast<double>(signBit | (std::uint64_t(0x7FF) << 52));
    return std::bit_cast<double>(signBit | (std::uint64_t(0x7FF) << 52) |
                                 (payload ? payload : (std::uint64_t(1) << 51)));
  }
  if (mant == 0) return std::bit_cast<double>(signBit);
  // Normalise (unnormals and denormals have no integer bit), then round to 53 bits, half to even.
  const int shift = std::countl_zero(mant);
  mant <<= shift;
  int e = (e15 == 0 ? 1 : e15) - 16383 - shift;  // value = 1.xxx * 2^e
  if (e > 1023) return std::bit_cast<double>(signBit | (std::uint64_t(0x7FF) << 52));
  int drop = 11;                     // bits below a normal double's mantissa
  if (e < -1022) drop += -1022 - e;  // a subnormal result keeps fewer bits
  if (drop > 64) return std::bit_cast<double>(signBit);
  std::uint64_t kept = drop == 64 ? 0 : mant >> drop;
  const std::uint64_t rest = drop == 64 ? mant : mant & ((std::uint64_t(1) << drop) - 1);
  const std::uint64_t half = std::uint64_t(1) << (drop - 1);
  if (rest > half || (rest == half && (kept & 1))) ++kept;
  if (e < -1022) {
    // kept is the subnormal mantissa; rounding may carry it into the smallest normal.
    return std::bit_cast<double>(signBit | kept);
  }
  if (kept >> 53) {
    kept >>= 1;
    ++e;
    if (e > 1023) return std::bit_cast<double>(signBit | (std::uint64_t(0x7FF) << 52));
  }
  const std::uint64_t biased = static_cast<std::uint64_t>(e + 1023);
  return std::bit_cast<double>(signBit | (biased << 52) | (kept & ((std::uint64_t(1) << 52) - 1)));
}

}  // namespace cxVariants
