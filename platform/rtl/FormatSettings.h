// The locale block: separators, date/time formats, currency layout and the month/day names
// every formatting and parsing routine reads.
//
// The globals start with the Chinese (PRC) values and need no initialization; they are plain
// variables a caller may assign. platform/sys applies the machine's locale at start-up through
// ApplyFormatSettings (the one place that changes the whole block at once); tests restore the
// defaults with ResetFormatSettings.
//
// Month and day name arrays are 0-based: LongMonthNames[month - 1], LongDayNames[DayOfWeek - 1]
// (index 0 = Sunday).
#pragma once

#include <array>

#include "platform/rtl/System.h"

namespace SysUtils {

extern AnsiString CurrencyString;  // "￥"
extern Byte CurrencyFormat;        // 0: "￥1"  1: "1￥"  2: "￥ 1"  3: "1 ￥"
extern Byte NegCurrFormat;         // 0..15, the classic layouts; 2 = "￥-1"
extern char ThousandSeparator;
extern char DecimalSeparator;
extern Byte CurrencyDecimals;
extern char DateSeparator;
extern AnsiString ShortDateFormat;
extern AnsiString LongDateFormat;
extern char TimeSeparator;
extern AnsiString TimeAMString;
extern AnsiString TimePMString;
extern AnsiString ShortTimeFormat;
extern AnsiString LongTimeFormat;
extern std::array<AnsiString, 12> ShortMonthNames;
extern std::array<AnsiString, 12> LongMonthNames;
extern std::array<AnsiString, 7> ShortDayNames;
extern std::array<AnsiString, 7> LongDayNames;
extern Word TwoDigitYearCenturyWindow;  // 0 = two-digit years belong to the current century
extern char ListSeparator;

// The same fields as one record, for routines that take explicit settings.
struct TFormatSettings {
  AnsiString CurrencyString;
  Byte CurrencyFormat = 0;
  Byte NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  Byte CurrencyDecimals = 2;
  char DateSeparator = '-';
  AnsiString ShortDateFormat;
  AnsiString LongDateFormat;
  char TimeSeparator = ':';
  AnsiString TimeAMString;
  AnsiString TimePMString;
  AnsiString ShortTimeFormat;
  AnsiString LongTimeFormat;
  std::array<AnsiString, 12> ShortMonthNames;
  std::array<AnsiString, 12> LongMonthNames;
  std::array<AnsiString, 7> ShortDayNames;
  std::array<AnsiString, 7> LongDayNames;
  Word TwoDigitYearCenturyWindow = 50;
  char ListSeparator = ',';
};

// A copy of the current globals.
TFormatSettings GetFormatSettings();
// The built-in Chinese (PRC) defaults, independent of the globals.
TFormatSettings DefaultFormatSettings();
// Replaces every global of the block by the record's values (platform/sys calls this with the
// machine's locale at start-up).
void ApplyFormatSettings(const TFormatSettings& settings);
// Restores the built-in defaults.
void ResetFormatSettings();

}  // namespace SysUtils
