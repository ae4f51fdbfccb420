// Numeric routines: MulDiv as the window layer scales with it, rounding with the classic rules,
// and the comparisons with tolerance.
//
// Nothing here raises except Round and Trunc (EInvalidOp for NaN, infinity or a value
// outside the Int64 range).
#pragma once

#include "platform/rtl/System.h"

namespace Math {

// a * b / c with a 64-bit intermediate, rounded half away from zero. -1 when c is 0 or the
// result doesn't fit in 32 bits.
Integer MulDiv(Integer a, Integer b, Integer c);

inline Integer Max(Integer a, Integer b) { return a > b ? a : b; }
inline Int64 Max(Int64 a, Int64 b) { return a > b ? a : b; }
inline double Max(double a, double b) { return a > b ? a : b; }
inline Integer Min(Integer a, Integer b) { return a < b ? a : b; }
inline Int64 Min(Int64 a, Int64 b) { return a < b ? a : b; }
inline double Min(double a, double b) { return a < b ? a : b; }

// Nearest integer; halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
Int64 Round(double x);
// Drops the fraction (towards zero).
Int64 Trunc(double x);
// The integer part and the fraction, both with the sign of x.
double Int(double x);
double Frac(double x);
Int64 Floor(double x);
Int64 Ceil(double x);

// Rounds to a multiple of 10^Digits (Digits -2: hundredths) with halves to even.
double RoundTo(double Value, int Digits);
// Rounds to a multiple of 10^Digits with halves away from zero (1.005 is stored as a bit less,
// so it gives 1.00: the value is rounded as the double holds it).
double SimpleRoundTo(double Value, int Digits = -2);

// Base raised to an integer exponent; IntPower(x, 0) is 1 for every x.
double IntPower(double Base, int Exponent);
// Base raised to any exponent; Power(x, 0) is 1, Power(0, y > 0) is 0.
double Power(double Base, double Exponent);
double Log10(double x);

// Epsilon 0 means a tolerance fitted to double (1e-12 relative, at least 1e-12).
bool IsZero(double A, double Epsilon = 0);
bool SameValue(double A, double B, double Epsilon = 0);

using TValueRelationship = int;  // -1 less, 0 equal, 1 greater
constexpr TValueRelationship LessThanValue = -1;
constexpr TValueRelationship EqualsValue = 0;
constexpr TValueRelationship GreaterThanValue = 1;
TValueRelationship CompareValue(double A, double B, double Epsilon = 0);
TValueRelationship CompareValue(Integer A, Integer B);
TValueRelationship CompareValue(Int64 A, Int64 B);

// Inclusive at both ends.
inline bool InRange(Integer Value, Integer AMin, Integer AMax) { return Value >= AMin && Value <= AMax; }
inline bool InRange(Int64 Value, Int64 AMin, Int64 AMax) { return Value >= AMin && Value <= AMax; }
inline bool InRange(double Value, double AMin, double AMax) { return Value >= AMin && Value <= AMax; }
// Clamps Value to AMin..AMax (AMin wins when the range is empty).
inline Integer EnsureRange(Integer Value, Integer AMin, Integer AMax)
{
  return Value > AMax ? (AMax < AMin ? AMin : AMax) : Value < AMin ? AMin : Value;
}
inline Int64 EnsureRange(Int64 Value, Int64 AMin, Int64 AMax)
{
  return Value > AMax ? (AMax < AMin ? AMin : AMax) : Value < AMin ? AMin : Value;
}
inline double EnsureRange(double Value, double AMin, double AMax)
{
  return Value > AMax ? (AMax < AMin ? AMin : AMax) : Value < AMin ? AMin : Value;
}

// -1, 0 or 1.
inline int Sign(Integer x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }
inline int Sign(Int64 x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }
inline int Sign(double x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }

bool IsNan(double x);
bool IsInfinite(double x);

}  // namespace Math
