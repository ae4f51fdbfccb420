#include "platform/rtl/Currency.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace SysUtils {

namespace {

using Wide = __int128;

constexpr Int64 kMax = std::numeric_limits<Int64>::max();
constexpr Int64 kMin = std::numeric_limits<Int64>::min();

[[noreturn]] void Overflow() { throw EOverflow("Floating point overflow"); }

Currency Checked(Wide raw)
{
  if (raw > kMax || raw < kMin) Overflow();
  return Currency::FromRaw(static_cast<Int64>(raw));
}

// n / d rounded half to even; d != 0.
Wide RoundDiv(Wide n, Wide d)
{
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Wide q = n / d;
  Wide r = n % d;
  if (r < 0) {
    r = -r;
  }
  const Wide twice = r * 2;
  if (twice > d || (twice == d && (q & 1) != 0)) q += n < 0 ? -1 : 1;
  return q;
}

Currency FromLongDouble(long double scaled)
{
  if (std::isnan(scaled) || std::isinf(scaled)) throw EInvalidOp("Invalid floating point operation");
  // 2^63 is exactly representable; anything at or past it cannot be held.
  if (scaled >= 9223372036854775807.5L || scaled < -9223372036854775808.5L) Overflow();
  const long double r = std::nearbyintl(scaled);
  if (r >= 9223372036854775808.0L || r < -9223372036854775808.0L) Overflow();
  return Currency::FromRaw(static_cast<Int64>(r));
}

}  // namespace

bool TryDecimalToCurr(bool negative, std::string_view digits, int exponent, Currency& value)
{
  // Skip leading zeros so that the exponent reflects the first significant digit.
  std::size_t first = 0;
  while (first < digits.size() && digits[first] == '0') {
    ++first;
    --exponent;
  }
  digits.remove_prefix(first);
  if (digits.empty()) {
    value = Currency();
    return true;
  }
  // Integer part has `exponent` digits; keep 4 decimals then look at the rest for rounding.
  const int keep = exponent + 4;
  if (keep > 19) return false;
  Wide raw = 0;
  for (int i = 0; i < keep; ++i) {
    const int d = i < static_cast<int>(digits.size()) ? digits[i] - '0' : 0;
    raw = raw * 10 + d;
  }
  if (keep < 0) {
    value = Currency();
    return true;
  }  // below half of the last place
  if (keep < static_cast<int>(digits.size())) {
    const int next = digits[keep] - '0';
    bool beyond = false;
    for (std::size_t i = keep + 1; i < digits.size(); ++i)
      if (digits[i] != '0') {
        beyond = true;
        break;
      }
    if (next > 5 || (next == 5 && (beyond || (raw & 1) != 0))) ++raw;
  }
  if (negative) raw = -raw;
  if (raw > kMax || raw < kMin) return false;
  value = Currency::FromRaw(static_cast<Int64>(raw));
  return true;
}

Currency DoubleToCurr(double value)
{
  if (std::isnan(value) || std::isinf(value)) throw EInvalidOp("Invalid floating point operation");
  // Round the shortest decimal that reads back as `value`, so 0.00015 is taken as written
  // rather than as the binary neighbour just below it.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  const char* p = buf;
  std::string digits;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  int exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
  Currency c;
  if (!TryDecimalToCurr(value < 0, digits, exp10 + 1, c)) Overflow();
  return c;
}

double CurrToDouble(Currency value) { return static_cast<double>(value.Raw) / 10000.0; }

Currency Int64ToCurr(Int64 value) { return Checked(static_cast<Wide>(value) * Currency::Scale); }

Int64 CurrTrunc(Currency value) { return value.Raw / Currency::Scale; }

Int64 CurrRound(Currency value) { return static_cast<Int64>(RoundDiv(value.Raw, Currency::Scale)); }

Currency CurrMulInt(Currency a, Int64 b) { return Checked(static_cast<Wide>(a.Raw) * b); }

Currency CurrMulUInt(Currency a, UInt64 b) { return Checked(static_cast<Wide>(a.Raw) * b); }

Currency CurrDivInt(Currency a, Int64 b)
{
  if (b == 0) throw EZeroDivide("Floating point division by zero");
  return Checked(RoundDiv(a.Raw, b));
}

Currency CurrDivUInt(Currency a, UInt64 b)
{
  if (b == 0) throw EZeroDivide("Floating point division by zero");
  return Checked(RoundDiv(a.Raw, static_cast<Wide>(b)));
}

Currency CurrMulFloat(Currency a, double b) { return FromLongDouble(static_cast<long double>(a.Raw) * b); }

Currency CurrDivFloat(Currency a, double b)
{
  if (b == 0) throw EZeroDivide("Floating point division by zero");
  return FromLongDouble(static_cast<long double>(a.Raw) / b);
}

}  // namespace SysUtils

Currency operator+(Currency a, Currency b) { return SysUtils::Checked(static_cast<__int128>(a.Raw) + b.Raw); }
Currency operator-(Currency a, Currency b) { return SysUtils::Checked(static_cast<__int128>(a.Raw) - b.Raw); }
Currency operator-(Currency a) { return SysUtils::Checked(-static_cast<__int128>(a.Raw)); }
Currency operator*(Currency a, Currency b)
{
  return SysUtils::Checked(SysUtils::RoundDiv(static_cast<__int128>(a.Raw) * b.Raw, Currency::Scale));
}
Currency operator/(Currency a, Currency b)
{
  if (b.Raw == 0) throw EZeroDivide("Floating point division by zero");
  return SysUtils::Checked(SysUtils::RoundDiv(static_cast<__int128>(a.Raw) * Currency::Scale, b.Raw));
}
Currency& operator+=(Currency& a, Currency b) { return a = a + b; }
Currency& operator-=(Currency& a, Currency b) { return a = a - b; }
Currency& operator*=(Currency& a, Currency b) { return a = a * b; }
Currency& operator/=(Currency& a, Currency b) { return a = a / b; }
