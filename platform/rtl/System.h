// The basic types every unit of the system uses.
//
// AnsiString holds 8-bit text in code page 936 (a Chinese character is a lead byte and a trail
// byte); WideString holds UTF-16. The conversion pair between them lives in AnsiStrings.h.
#pragma once

#include <cstdint>
#include <string>

using AnsiString = std::string;
using WideString = std::u16string;
using WideChar = char16_t;

using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using SmallInt = std::int16_t;
using Word = std::uint16_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;

// Days since 1899-12-30; the fraction is the time of day. A distinct type so that a date and a
// plain number can be told apart (a Variant of type varDate, a date field), yet it converts to
// and from double freely as date arithmetic needs.
struct TDateTime {
  double Value = 0.0;
  constexpr TDateTime() = default;
  constexpr TDateTime(double v) : Value(v) {}
  constexpr operator double() const { return Value; }
  TDateTime& operator+=(double d)
  {
    Value += d;
    return *this;
  }
  TDateTime& operator-=(double d)
  {
    Value -= d;
    return *this;
  }
};

// A fixed-point amount with four decimals, held as a 64-bit count of ten-thousandths.
// Arithmetic and formatting are in Currency.h.
struct Currency {
  Int64 Raw = 0;
  static constexpr Int64 Scale = 10000;
  constexpr Currency() = default;
  static constexpr Currency FromRaw(Int64 raw)
  {
    Currency c;
    c.Raw = raw;
    return c;
  }
};

class TMetaClass;

// Root of the object hierarchy. The class model (class references, published properties) is
// added by platform/classes: a class declared with its PELTO_CLASS macro answers its own class
// reference and name here; other classes answer none and "TObject".
class TObject {
public:
  virtual ~TObject() = default;
  virtual const TMetaClass* ClassType() const { return nullptr; }
  virtual const char* ClassName() const { return "TObject"; }
};
