#include "platform/rtl/MathUtils.h"

#include <cmath>
#include <cstdint>

#include "platform/rtl/Exceptions.h"

namespace Math {

namespace {

constexpr double DoubleResolution = 1e-12;

// Guards the float-to-integer conversions, whose out-of-range results are undefined.
double CheckIntegral(double x)
{
  if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0)) throw EInvalidOp("Invalid floating point operation");
  return x;
}

double RoundHalfAway(double x) { return x < 0 ? std::ceil(x - 0.5) : std::floor(x + 0.5); }

// Scales by a power of ten, rounds, scales back. A negative exponent multiplies, so that
// hundredths are found by * 100 rather than by the inexact / 0.01.
template <typename F>
double RoundAtPowerOfTen(double value, int digits, F round)
{
  if (digits < 0) {
    double f = IntPower(10.0, -digits);
    return round(value * f) / f;
  }
  double f = IntPower(10.0, digits);
  return round(value / f) * f;
}

}  // namespace

Integer MulDiv(Integer a, Integer b, Integer c)
{
  if (c == 0) return -1;
  __int128 product = static_cast<__int128>(a) * b;
  bool negative = (product < 0) != (c < 0);
  __int128 num = product < 0 ? -product : product;
  __int128 den = c < 0 ? -static_cast<__int128>(c) : c;
  __int128 q = (2 * num + den) / (2 * den);
  if (negative) q = -q;
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<Integer>(q);
}

Int64 Round(double x) { return static_cast<Int64>(CheckIntegral(std::nearbyint(x))); }
Int64 Trunc(double x) { return static_cast<Int64>(CheckIntegral(std::trunc(x))); }
double Int(double x) { return std::trunc(x); }
double Frac(double x) { return x - std::trunc(x); }
Int64 Floor(double x) { return static_cast<Int64>(CheckIntegral(std::floor(x))); }
Int64 Ceil(double x) { return static_cast<Int64>(CheckIntegral(std::ceil(x))); }

double RoundTo(double Value, int Digits)
{
  return RoundAtPowerOfTen(Value, Digits, [](double x) { return std::nearbyint(x); });
}

double SimpleRoundTo(double Value, int Digits) { return RoundAtPowerOfTen(Value, Digits, RoundHalfAway); }

double IntPower(double Base, int Exponent)
{
  double result = 1.0;
  long long e = Exponent < 0 ? -static_cast<long long>(Exponent) : Exponent;
  double b = Base;
  while (e > 0) {
    if (e & 1) result *= b;
    b *= b;
    e >>= 1;
  }
  return Exponent < 0 ? 1.0 / result : result;
}

double Power(double Base, double Exponent)
{
  if (Exponent == 0.0) return 1.0;
  if (Base == 0.0 && Exponent > 0.0) return 0.0;
  if (Exponent == std::trunc(Exponent) && std::fabs(Exponent) <= INT32_MAX)
    return IntPower(Base, static_cast<int>(Exponent));
  return std::pow(Base, Exponent);
}

double Log10(double x) { return std::log10(x); }

bool IsZero(double A, double Epsilon)
{
  if (Epsilon == 0) Epsilon = DoubleResolution;
  return std::fabs(A) <= Epsilon;
}

bool SameValue(double A, double B, double Epsilon)
{
  if (Epsilon == 0) {
    Epsilon = std::fmin(std::fabs(A), std::fabs(B)) * DoubleResolution;
    if (Epsilon < DoubleResolution) Epsilon = DoubleResolution;
  }
  return A > B ? (A - B) <= Epsilon : (B - A) <= Epsilon;
}

TValueRelationship CompareValue(double A, double B, double Epsilon)
{
  if (SameValue(A, B, Epsilon)) return EqualsValue;
  return A < B ? LessThanValue : GreaterThanValue;
}

TValueRelationship CompareValue(Integer A, Integer B) { return A < B ? -1 : A > B ? 1 : 0; }
TValueRelationship CompareValue(Int64 A, Int64 B) { return A < B ? -1 : A > B ? 1 : 0; }

bool IsNan(double x) { return std::isnan(x); }
bool IsInfinite(double x) { return std::isinf(x); }

}  // namespace Math
