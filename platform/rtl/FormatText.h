// Format and the number-to-text routines: IntToStr, IntToHex, FloatToStr, FloatToStrF,
// FormatFloat, FormatCurr, CurrToStr, CurrToStrF.
//
// Separators and currency layout come from the locale block (FormatSettings.h) at the time of
// the call. Errors raise EConvertError with the classic texts; nothing here returns a partial
// result on error.
#pragma once

#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <type_traits>
#include <vector>

#include "platform/rtl/System.h"

class Variant;

// One argument of Format. It refers to (does not copy) strings and variants, so it must not
// outlive the value it was made from: build argument vectors from named values.
struct TVarRec {
  enum TVarType : Byte {
    vtInteger,
    vtBoolean,
    vtChar,
    vtExtended,
    vtPointer,
    vtPChar,
    vtWideChar,
    vtPWideChar,
    vtAnsiString,
    vtCurrency,
    vtVariant,
    vtWideString,
    vtInt64,
    vtUInt64
  };
  TVarType VType = vtPointer;
  union {
    Integer VInteger;
    bool VBoolean;
    char VChar;
    WideChar VWideChar;
    long double VExtended;
    const void* VPointer;
    const char* VPChar;
    const WideChar* VPWideChar;
    const AnsiString* VAnsiString;
    const WideString* VWideString;
    const Variant* VVariant;
    Int64 VInt64;
    UInt64 VUInt64;
    Int64 VCurrency;  // the raw count of ten-thousandths
  };

  TVarRec(bool v) : VType(vtBoolean), VBoolean(v) {}
  TVarRec(char v) : VType(vtChar), VChar(v) {}
  TVarRec(WideChar v) : VType(vtWideChar), VWideChar(v) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, WideChar>) TVarRec(T v)
  {
    if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
      VType = vtInteger;
      VInteger = v;
    } else if constexpr (std::is_signed_v<T> || sizeof(T) < 8) {
      VType = vtInt64;
      VInt64 = static_cast<Int64>(v);
    } else {
      VType = vtUInt64;
      VUInt64 = v;
    }
  }
  TVarRec(float v) : VType(vtExtended), VExtended(v) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(TDateTime v) : VType(vtExtended), VExtended(v.Value) {}
  TVarRec(Currency v) : VType(vtCurrency), VCurrency(v.Raw) {}
  TVarRec(const char* v) : VType(vtPChar), VPChar(v) {}
  TVarRec(const WideChar* v) : VType(vtPWideChar), VPWideChar(v) {}
  TVarRec(const AnsiString& v) : VType(vtAnsiString), VAnsiString(&v) {}
  TVarRec(const WideString& v) : VType(vtWideString), VWideString(&v) {}
  TVarRec(const Variant& v) : VType(vtVariant), VVariant(&v) {}
  TVarRec(std::nullptr_t) : VType(vtPointer), VPointer(nullptr) {}
  template <class T>
  requires(!std::same_as<std::remove_cv_t<T>, char> && !std::same_as<std::remove_cv_t<T>, WideChar>) TVarRec(T* v)
      : VType(vtPointer), VPointer(v)
  {}
};

namespace SysUtils {

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The classic Format: %[index:][-][width][.precision]type with the types d u e f g n m p s x
// (upper or lower case) and "%%"; "*" takes a width or precision from the arguments.
// Raises EConvertError "Format '<fmt>' invalid or incompatible with argument" for a missing or
// mismatched argument or a malformed directive. %s with a precision never cuts a double-byte
// character in half. %m uses the currency layout of the locale block.
AnsiString Format(const AnsiString& fmt, std::initializer_list<TVarRec> args);
AnsiString Format(const AnsiString& fmt, const std::vector<TVarRec>& args);
AnsiString Format(const AnsiString& fmt, const TVarRec* args, std::size_t count);

AnsiString IntToStr(Int64 value);
AnsiString UIntToStr(UInt64 value);
// Upper-case hexadecimal, at least `digits` digits. A negative value shows the two's complement
// of its own width (IntToHex(-1, 2) is "FFFFFFFF" for an int, 16 digits for an Int64).
AnsiString IntToHexBits(UInt64 bits, int digits);
template <std::integral T>
AnsiString IntToHex(T value, int digits)
{
  if constexpr (sizeof(T) <= 4)
    return IntToHexBits(static_cast<std::uint32_t>(value), digits);
  else
    return IntToHexBits(static_cast<UInt64>(value), digits);
}

// 15 significant digits, general form: plain digits when the exponent allows (up to 15
// integer digits, down to 0.0001), else "1.5E20" or "1E-5"; "NAN", "INF", "-INF".
AnsiString FloatToStr(double value);
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
// Picture formats: up to three sections "positive;negative;zero" with 0 # . , E+ E- e+ e-,
// 'quoted' and "quoted" literals. Rounds half away from zero on the decimal digits shown.
AnsiString FormatFloat(const AnsiString& format, double value);
AnsiString FormatCurr(const AnsiString& format, Currency value);
AnsiString CurrToStr(Currency value);
AnsiString CurrToStrF(Currency value, TFloatFormat format, int digits);

// The decimal digits of a number, as FloatToStrF and FormatFloat work on them.
struct TFloatRec {
  SmallInt Exponent = 0;  // the decimal point sits before digit `Exponent`; 0x7FFF INF, 0x8000 NAN
  bool Negative = false;
  char Digits[21] = {};  // '0'..'9', NUL-terminated, no trailing zeros; empty for zero
};
// Rounds to `precision` significant digits (1..18), or with `decimals` >= 0 to that many
// digits after the point (at most `precision` significant); half away from zero.
void FloatToDecimal(TFloatRec& result, long double value, int precision, int decimals = -1);

}  // namespace SysUtils
