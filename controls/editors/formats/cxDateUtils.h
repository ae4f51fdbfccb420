// Date arithmetic and date text conversions of the editors: the smart date words ("today",
// "tomorrow", "bom", weekday names, ... with a day offset such as "+3"), the locale-driven
// parser and formatter, and the regular-expression input mask of the date editor.
//
// Parsing never raises: failures answer false (and NullDate where stated). Dates and the smart
// words follow the locale block and the editor texts as they stand at each call.
#pragma once

#include <functional>

#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

namespace cxDateUtils {

// The value that stands for "no date"; formatting it gives an empty text.
constexpr double NullDate = -700000.0;

// Asked to parse a text that starts with no smart word; by default it answers false (nothing
// installs another here).
using TcxSmartTextToDateFunc = std::function<bool(const AnsiString& AText, TDateTime& ADate)>;
TService<TcxSmartTextToDateFunc>& SmartTextToDateService();

// The 20 smart words, index 0 to 19: today, yesterday, tomorrow, Sunday .. Saturday,
// first .. seventh, bom, eom, now (from the editor texts, so a translation shows at once).
constexpr int SmartDateWordCount = 20;
AnsiString GetSmartDateWord(int AIndex);

void DecMonth(Word& AYear, Word& AMonth);
void IncMonth(Word& AYear, Word& AMonth);
// Adds ADelta months (whole years first, then the rest, carrying or borrowing one year);
// answers ADelta div 12.
int ChangeMonth(Word& AYear, Word& AMonth, int ADelta);
// The year (AKind 0), month (1) or day (2) of ADate.
Word GetDateElement(int AKind, TDateTime ADate);
bool IsLeapYear(int AYear);
int DaysPerMonth(int AYear, int AMonth);
// 1 for a day of 0 or less, the month's last day for one beyond it, else ADay.
int CheckDay(int AYear, int AMonth, int ADay);
// The day of ADateTime; a time a hair before midnight counts as the next day.
TDateTime DateOf(TDateTime ADateTime);
// The time of day, to the millisecond.
TDateTime TimeOf(TDateTime ADateTime);

// The index of the longest smart word that starts AText (any case); false when none does.
// Empty words never match.
bool FindSmartDateWord(const AnsiString& AText, int& AIndex);
// A smart word, optionally followed by "+n" or "-n" days; false when AText starts with none
// (and the hook, when assigned, does not take it).
bool SmartTextToDate(const AnsiString& AText, TDateTime& ADate);
// The date editor's parser: smart words, then the locale's dates. True only for a date within
// years 1..9999; false (with NullDate) on any failure.
bool TextToDateEx(const AnsiString& AText, TDateTime& ADate);
// ADate is NullDate unless the text converts (by the variant conversion or the program's
// parser); a conversion error answers false, other errors go on to the caller.
bool TextToDateTime(const AnsiString& AText, bool AUseVariantConversion, TDateTime& ADate);
// Empty for NullDate; the locale's short date, and its time when the time is not midnight.
AnsiString DateTimeToText(TDateTime ADateTime);
// With AUseMaskFormat the date in the controller's masked date format, else DateTimeToText.
AnsiString DateTimeToTextEx(bool AUseMaskFormat, TDateTime ADateTime);

// The date editor's regular-expression mask for the controller's date format, with the smart
// words as alternatives when AWithSmartWords; empty for a format that shows an era.
AnsiString GetDateRegExprMask(bool AWithSmartWords);
// The same for a given date edit format.
AnsiString GetDateRegExprMaskFor(const AnsiString& ADateEditFormat, bool AWithSmartWords);

}  // namespace cxDateUtils
