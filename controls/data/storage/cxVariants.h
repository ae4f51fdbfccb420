// The data layer's Variant routines: one total order over Variants, type tests, the small value
// arrays that between and in-list conditions carry, and the tagged byte form of a Variant with
// the fixed-width stream procedures built on it.
//
// The tag numbers and layouts below are a file format (record storage, saved filters):
//   0 Null | 1 list: count (tag 2-4 integer), then each element tagged | 2 int8 | 3 int16 |
//   4 int32 | 5 80-bit extended | 6 string, 1-byte length | 8 False | 9 True |
//   12 string, 4-byte length | 13 Empty | 15 Single | 16 Currency (raw 64-bit) |
//   17 Date (binary64) | 18 wide string: 4-byte unit count, UTF-16LE units.
// All numbers little-endian; strings carry no terminator.
//
// Errors: a stream that ends early raises the stream's EReadError. An unknown tag, a negative
// or impossible length or count, or lists nested too deep raise EReadError "Stream read error";
// a value with no stream form raises EWriteError "Stream write error" (bytes already written
// stay in the stream).
#pragma once

#include "platform/rtl/Variants.h"

class TStream;

namespace cxVariants {

// Kind codes of the packed-decimal and SQL time-stamp values. The run-time library keeps no
// such Variants yet; the codes are reserved here so that type tests and value types can name
// them, and no Variant of the library carries them.
TVarType VarFMTBcd();
TVarType VarSQLTimeStamp();

// Three-way order: negative, 0 or positive as V1 is less than, equal to or greater than V2.
// A total order over every kind, never raising:
//   Null < Empty < Boolean (False < True) < numbers < texts < other kinds (objects, errors);
//   numbers (integers, floats, Currency, Date) compare by their exact values, NaN first (so a
//   double 0.0001, a little above a tenth of a thousandth, is greater than Currency 0.0001);
//   texts compare by their CP936 bytes, wide texts that differ only in characters CP936 cannot
//   hold by their UTF-16 units;
//   an array is greater than any scalar; two arrays by CompareVarArrays.
// A text is never equal to a number ("5" and 5 are different values here), which keeps the
// order transitive where converting one side would not.
int VarCompareValues(const Variant& V1, const Variant& V2);
// Two arrays: the difference of their high bounds when it is not 0 (the difference itself, not
// its sign), else the first non-zero element comparison. An array against a scalar: 1; a scalar
// against an array: -1.
int CompareVarArrays(const Variant& V1, const Variant& V2);
bool VarValuesEqual(const Variant& V1, const Variant& V2);
// The editors' "changed?" test: with a Boolean on one side (and no Null) both sides are compared
// as text ("True" equals a Boolean true); a value that cannot become text gives false.
bool VarEqualsBooleanAsText(const Variant& V1, const Variant& V2);

bool VarTypeIsDateOrTimeStamp(TVarType AVarType);
// Looks through a by-reference Variant.
bool VarIsDateOrTimeStamp(const Variant& V);
bool VarIsNumericOrFMTBcd(const Variant& V);
// Null, or an 8-bit or wide text that is empty. Empty gives false.
bool VarIsNullOrEmptyStr(const Variant& V);

// One-dimensional arrays [0..0] and [0..1] of kind varVariant.
Variant MakeVarArray1(const Variant& V);
Variant MakeVarArray2(const Variant& V1, const Variant& V2);
// Replaces AArray (one-dimensional) by a copy with V appended.
void VarArrayAppend(Variant& AArray, const Variant& V);

// The tagged form. Reading gives the kind of the tag (an int8 reads back as ShortInt, whatever
// it was before writing); a list reads as an array [0..count-1] of varVariant.
Variant ReadVariantFromStream(TStream* AStream);
void WriteVariantToStream(TStream* AStream, const Variant& AValue);

// Fixed-width forms with no tag.
AnsiString ReadStringFromStream(TStream* AStream);  // 32-bit length, bytes
void WriteStringToStream(TStream* AStream, const AnsiString& S);
WideString ReadWideStringFromStream(TStream* AStream);  // 32-bit unit count, units
void WriteWideStringToStream(TStream* AStream, const WideString& S);
bool ReadBooleanFromStream(TStream* AStream);  // any non-zero byte is true
void WriteBooleanToStream(TStream* AStream, bool AValue);
Byte ReadByteFromStream(TStream* AStream);
void WriteByteToStream(TStream* AStream, Byte AValue);
SmallInt ReadSmallIntFromStream(TStream* AStream);
void WriteSmallIntToStream(TStream* AStream, SmallInt AValue);
Word ReadWordFromStream(TStream* AStream);
void WriteWordToStream(TStream* AStream, Word AValue);
Integer ReadIntegerFromStream(TStream* AStream);
void WriteIntegerToStream(TStream* AStream, Integer AValue);
Int64 ReadLargeIntFromStream(TStream* AStream);
void WriteLargeIntToStream(TStream* AStream, Int64 AValue);
Currency ReadCurrencyFromStream(TStream* AStream);
void WriteCurrencyToStream(TStream* AStream, Currency AValue);
TDateTime ReadDateTimeFromStream(TStream* AStream);
void WriteDateTimeToStream(TStream* AStream, TDateTime AValue);
// 10 bytes of 80-bit extended precision (exact for every double); tag 5 reads this layout back.
void WriteExtendedToStream(TStream* AStream, double AValue);

// The 80-bit layout itself: a double widens exactly; narrowing rounds to the nearest double.
void DoubleToExtended(double AValue, Byte AExtended[10]);
double ExtendedToDouble(const Byte AExtended[10]);

}  // namespace cxVariants
