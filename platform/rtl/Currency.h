// Arithmetic and conversions of Currency, a fixed-point amount with four decimals.
//
// Every operation whose exact result does not fit the 64-bit count of ten-thousandths raises
// EOverflow; division by zero raises EZeroDivide. Results are rounded half to even at the fourth
// decimal, as the classic type does. DoubleToCurr rounds the shortest decimal that reads back as
// the double (0.00005 -> 0.0000, 0.00015 -> 0.0002), so a typed amount converts as typed;
// multiplying or dividing by a double rounds the exact binary result. A NaN or infinite double
// raises EInvalidOp.
#pragma once

#include <concepts>
#include <string_view>
#include <type_traits>

#include "platform/rtl/System.h"

namespace SysUtils {
Currency DoubleToCurr(double value);
double CurrToDouble(Currency value);
Currency Int64ToCurr(Int64 value);
// Truncates toward zero.
Int64 CurrTrunc(Currency value);
// Rounds half to even, as the classic type converts to an integer.
Int64 CurrRound(Currency value);
// The number 0.<digits> x 10^exponent (digits '0'..'9'), rounded half to even at the fourth
// decimal; false when it does not fit. For parsers that have the decimal digits in hand.
bool TryDecimalToCurr(bool negative, std::string_view digits, int exponent, Currency& value);
// The scaled forms the operators below use.
Currency CurrMulInt(Currency a, Int64 b);
Currency CurrDivInt(Currency a, Int64 b);
Currency CurrMulUInt(Currency a, UInt64 b);
Currency CurrDivUInt(Currency a, UInt64 b);
Currency CurrMulFloat(Currency a, double b);
Currency CurrDivFloat(Currency a, double b);
}  // namespace SysUtils

Currency operator+(Currency a, Currency b);
Currency operator-(Currency a, Currency b);
Currency operator-(Currency a);
Currency operator*(Currency a, Currency b);
Currency operator/(Currency a, Currency b);

// By a plain number, of any integer or floating type.
template <class T>
concept CurrencyScalar = std::integral<T> || std::floating_point<T>;
template <CurrencyScalar T>
Currency operator*(Currency a, T b)
{
  if constexpr (std::floating_point<T>)
    return SysUtils::CurrMulFloat(a, static_cast<double>(b));
  else if constexpr (std::is_signed_v<T>)
    return SysUtils::CurrMulInt(a, static_cast<Int64>(b));
  else
    return SysUtils::CurrMulUInt(a, static_cast<UInt64>(b));
}
template <CurrencyScalar T>
Currency operator*(T a, Currency b)
{
  return b * a;
}
template <CurrencyScalar T>
Currency operator/(Currency a, T b)
{
  if constexpr (std::floating_point<T>)
    return SysUtils::CurrDivFloat(a, static_cast<double>(b));
  else if constexpr (std::is_signed_v<T>)
    return SysUtils::CurrDivInt(a, static_cast<Int64>(b));
  else
    return SysUtils::CurrDivUInt(a, static_cast<UInt64>(b));
}
Currency& operator+=(Currency& a, Currency b);
Currency& operator-=(Currency& a, Currency b);
Currency& operator*=(Currency& a, Currency b);
Currency& operator/=(Currency& a, Currency b);

constexpr bool operator==(Currency a, Currency b) { return a.Raw == b.Raw; }
constexpr auto operator<=>(Currency a, Currency b) { return a.Raw <=> b.Raw; }
