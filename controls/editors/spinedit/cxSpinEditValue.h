// The numbers of the spin editor without the editor: text to number in the value type, the
// increments, one step with its bounds, and the text a value shows.
//
// A value is a Variant of its value type: an Int64 for vtInt (so that all 19 digits survive),
// a Double for vtFloat. A step or a conversion never leaves the type: a text outside it is
// "Value out of bounds", and a step whose result would overflow is refused.
#pragma once

#include "controls/editors/paint/cxEditTypes.h"
#include "platform/classes/ClassDecl.h"
#include "platform/rtl/Variants.h"

PELTO_ENUM(TcxSpinEditValueType, vtInt, vtFloat)

namespace cxSpinEditValue {

// Step codes: the index of the spin button that performs the step.
constexpr int scDown = 0, scUp = 1, scFastDown = 2, scFastUp = 3;

enum TcxSpinConvertError { sceNone, sceInvalid, sceOutOfBounds };

// A number's syntax: blanks, an optional sign, digits with at most one decimal separator
// (the locale's), an optional exponent. X is infinite when the number is too large for a
// Double (1e400), so that it can be told apart from text that is no number.
bool TryTextToFloat(const AnsiString& AText, double& X);

// Text to a value of the type. An integral text in vtInt is read exactly; other numbers go
// through a Double and are rounded to the nearest integer (a half to the even neighbour).
// Answers sceInvalid for text that is no number, sceOutOfBounds for a number outside the
// type (|X| >= 1.7e308 for vtFloat, beyond the 64-bit integers for vtInt). AValue is set only
// on success. Empty text is invalid here; the editor decides what empty means.
TcxSpinConvertError TextToValue(const AnsiString& AText, TcxSpinEditValueType AType, Variant& AValue);

// Whether a Double lies strictly inside the range of the type.
bool IsInTypeRange(double X, TcxSpinEditValueType AType);

// A numeric V as a value of the type; anything else unchanged. Raises an Exception with
// "Value out of bounds" for a number the type cannot hold.
void CastToValueType(Variant& V, TcxSpinEditValueType AType);
// Null or empty text gives 0; a string is converted (raising for text that is no number);
// then CastToValueType.
Variant ToValue(const Variant& V, TcxSpinEditValueType AType);

// The increment of a step code: LargeIncrement for the fast codes, negated for the downward
// ones; rounded to the nearest integer (a half to the even neighbour) for vtInt.
double GetIncrement(double AIncrement, double ALargeIncrement, TcxSpinEditValueType AType, int ACode);

// The bounds of a step: a range exists only when MaxValue > MinValue. OutOfBoundsAction
// says what a step past a bound does: 0 refuses it, 1 clamps to the bound, other values keep
// the value outside.
struct TcxSpinStepBounds {
  double MinValue = 0, MaxValue = 0;
  int OutOfBoundsAction = 1;
  bool HasRange() const { return MaxValue > MinValue; }
};

// One step of code ACode from AValue (a number of any numeric type) by AIncrement (from
// GetIncrement). From outside the range only an upward step from below or a downward one from
// above moves, to the nearer bound. Answers false, leaving ANewValue alone, when the bounds
// refuse the step or its result would leave the value type. ANewValue is of the value type.
bool GetNewValue(const Variant& AValue, int ACode, double AIncrement, TcxSpinEditValueType AType,
                 const TcxSpinStepBounds& ABounds, Variant& ANewValue);

// The general text of a value: all digits of an integer, the 15-digit general form of a
// Double.
AnsiString ValueToText(const Variant& V);

}  // namespace cxSpinEditValue
