// The date/time edit's format language: an EditFormat such as "DD/MM/YYYY HH:NN" becomes an
// edit mask, a table of element positions, a FormatDateTime display format and a step template;
// text typed into the edit is read back into a value with the two-digit-year window, completion
// of missing parts and range clamping; Up/Down steps the element under the caret.
//
// Element letters Y M D H N S in either case; "/" and ":" stand for the locale's separators; a
// backslash makes the next character literal. Formats are byte strings: a double-byte character
// is two literal bytes (its trail byte is never taken for a letter). Only CompileEditFormat
// raises; reading and building never do.
#pragma once

#include <array>

#include "platform/rtl/AnsiStrings.h"

class Variant;

// Where one element sits in the edit text; Pos is 1-based.
struct TDateTimeElementSlotEh {
  int Pos = -1;
  int Len = -1;
  bool Used = false;
};
// Slots in the fixed order Y, M, D, H, N, S.
using TDateTimeSlotsEh = std::array<TDateTimeElementSlotEh, 6>;
// -1 means not given.
struct TDateTimePartsEh {
  int Year = -1, Month = -1, Day = -1, Hour = -1, Minute = -1, Second = -1;
};

namespace DBCtrlsEh {

constexpr int CenturyWindow = 60;

// 0 month-day-year, 1 day-month-year, 2 year-month-day: the first of D, M, Y in the format.
int DefaultDateOrder(const AnsiString& ShortDateFormat);
// From the locale's short date format: "MM/DD/YYYY", "DD/MM/YYYY", "YYYY/MM/DD" (two-digit
// years without LongYear).
AnsiString DefaultDateFormat(bool LongYear);
AnsiString DefaultTimeFormat();
bool IsLongYearLocale();

// Raises Exception "Element in EditFormat: ..." / "Invalid datetime format element length: ..." /
// "Duplicating datetime format element: ..."; Mask and Slots are written only on success.
void CompileEditFormat(const AnsiString& Format, AnsiString& Mask, TDateTimeSlotsEh& Slots);
AnsiString ToDisplayFormat(const AnsiString& Format);
// One character per position of the edit text: element letters, "/" and ":", blanks elsewhere.
AnsiString ToStepTemplate(const AnsiString& Format);

// Returns whether every used slot held a number.
bool ReadParts(const AnsiString& Text, const TDateTimeSlotsEh& Slots, TDateTimePartsEh& Parts);
// Applies the parts to Value (elements the format lacks keep Value's parts); False with Value
// Null when they make no date. All parts -1 gives Null and True.
bool BuildValue(TDateTimePartsEh Parts, const TDateTimeSlotsEh& Slots, Variant& Value, bool Complete);
TDateTimePartsEh ValueToParts(const Variant& Value);
// Steps the element at the 1-based caret Pos; Pos and SelLength then select it.
void StepElement(const AnsiString& Text, const AnsiString& Template, bool Up, AnsiString& NewText, int& SelLength,
                 int& Pos);
void ElementAfterSeparator(const AnsiString& Text, bool LongYear, int& Pos, int& Length);
// Two-digit years into the window from this year - 60 to this year + 39 (by the clock).
int ExpandYear(int Year);
int DaysInMonth(int Year, int Month);

}  // namespace DBCtrlsEh
