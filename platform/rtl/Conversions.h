// Text to value and value to text: integers, floats, Currency, Booleans, dates and times.
//
// The StrToX forms raise EConvertError with the classic texts ("'abc' is not a valid integer
// value"); the TryStrToX forms return false and leave the result untouched; the StrToXDef forms
// return the default. Dates and times are read and written with the locale block
// (FormatSettings.h) as it stands at the call.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

namespace SysUtils {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal ones after "$", "x" or
// "0x"; nothing may follow. A decimal value out of range is an error; a hexadecimal one may use
// the full width as a bit pattern ("$FFFFFFFF" is -1 for StrToInt).
Integer StrToInt(const AnsiString& s);
Integer StrToIntDef(const AnsiString& s, Integer def);
bool TryStrToInt(const AnsiString& s, Integer& value);
Int64 StrToInt64(const AnsiString& s);
Int64 StrToInt64Def(const AnsiString& s, Int64 def);
bool TryStrToInt64(const AnsiString& s, Int64& value);

// Digits with the DecimalSeparator and an optional exponent ("1.5E3"); blanks around allowed;
// thousand separators are not. "NAN"/"INF" are not numbers here.
double StrToFloat(const AnsiString& s);
double StrToFloatDef(const AnsiString& s, double def);
bool TryStrToFloat(const AnsiString& s, double& value);
bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& settings);
Currency StrToCurr(const AnsiString& s);
Currency StrToCurrDef(const AnsiString& s, Currency def);
bool TryStrToCurr(const AnsiString& s, Currency& value);

// "True"/"False" (any case) or a number (non-zero is true).
bool StrToBool(const AnsiString& s);
bool StrToBoolDef(const AnsiString& s, bool def);
bool TryStrToBool(const AnsiString& s, bool& value);
// "True"/"False" with useBoolStrs, else "-1"/"0".
AnsiString BoolToStr(bool b, bool useBoolStrs = false);

// Dates are three numbers split by DateSeparator in the order of y, m and d in ShortDateFormat;
// two numbers are month and day (day and month for a d-first format) of the current year.
// A year of one or two digits goes through TwoDigitYearCenturyWindow: with the window 50 in
// 2026, "75" is 2075 and "76" is 1976; 0 keeps the current century. Times are h[:n[:s[.f]]]
// (f a fraction of a second) with an optional morning/afternoon marker before or after
// (TimeAMString/TimePMString or "AM"/"PM"), which takes hours 1..12. Blanks between the parts
// are allowed; a date and time are split by blanks.
TDateTime StrToDate(const AnsiString& s);
TDateTime StrToDateDef(const AnsiString& s, TDateTime def);
bool TryStrToDate(const AnsiString& s, TDateTime& value);
bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToTimeDef(const AnsiString& s, TDateTime def);
bool TryStrToTime(const AnsiString& s, TDateTime& value);
bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTime(const AnsiString& s);
TDateTime StrToDateTimeDef(const AnsiString& s, TDateTime def);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);

// ShortDateFormat; LongTimeFormat; both (the time left out when it is midnight).
AnsiString DateToStr(TDateTime value);
AnsiString TimeToStr(TDateTime value);
AnsiString DateTimeToStr(TDateTime value);

// The classic picture: c d dd ddd dddd ddddd dddddd e ee g gg m mm mmm mmmm h hh n nn s ss
// z zzz t tt am/pm a/p ampm y yy yyyy / : and 'quoted' or "quoted" literals; "m" right after
// an "h" means minutes. An empty format means "c".
AnsiString FormatDateTime(const AnsiString& format, TDateTime value);
AnsiString FormatDateTime(const AnsiString& format, TDateTime value, const TFormatSettings& settings);
void DateTimeToString(AnsiString& result, const AnsiString& format, TDateTime value);

}  // namespace SysUtils
