#include "controls/editors/formats/cxDateUtils.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/formats/cxFormats.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"

namespace cxDateUtils {

TService<TcxSmartTextToDateFunc>& SmartTextToDateService()
{
  static TService<TcxSmartTextToDateFunc> slot(
      std::make_unique<TcxSmartTextToDateFunc>([](const AnsiString&, TDateTime&) { return false; }));
  return slot;
}

namespace {

constexpr int DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int SmartWordIds[SmartDateWordCount] = {
    cxEditConsts::sWordToday,   cxEditConsts::sWordYesterday, cxEditConsts::sWordTomorrow,  cxEditConsts::sWordSunday,
    cxEditConsts::sWordMonday,  cxEditConsts::sWordTuesday,   cxEditConsts::sWordWednesday, cxEditConsts::sWordThursday,
    cxEditConsts::sWordFriday,  cxEditConsts::sWordSaturday,  cxEditConsts::sWordFirst,     cxEditConsts::sWordSecond,
    cxEditConsts::sWordThird,   cxEditConsts::sWordFourth,    cxEditConsts::sWordFifth,     cxEditConsts::sWordSixth,
    cxEditConsts::sWordSeventh, cxEditConsts::sWordBom,       cxEditConsts::sWordEom,       cxEditConsts::sWordNow,
};

enum { swToday = 0, swYesterday, swTomorrow, swSunday, swSaturday = 9, swFirst, swSeventh = 16, swBom, swEom, swNow };

bool UseDateFormatSettings() { return cxFormats::GetFormatController()->GetUseDateFormatSettings(); }

// The system's date conversion reads blanks between the numbers of a date as separators; the
// platform's conversion reads the locale's separator, so in a text without that separator the
// first two runs of blanks between digits are given to it as the separator.
AnsiString BlanksAsDateSeparators(const AnsiString& AText)
{
  AnsiString result = AText;
  if (result.find(SysUtils::DateSeparator) != AnsiString::npos) return result;
  int replaced = 0;
  for (std::size_t i = 1; i < result.size() && replaced < 2; ++i) {
    if (result[i] != ' ' || !std::isdigit(static_cast<unsigned char>(result[i - 1]))) continue;
    std::size_t end = i;
    while (end < result.size() && result[end] == ' ') ++end;
    if (end < result.size() && std::isdigit(static_cast<unsigned char>(result[end]))) {
      result.replace(i, end - i, 1, SysUtils::DateSeparator);
      ++replaced;
    }
  }
  return result;
}

// The system's variant conversion of a text to a date; raises EVariantError when it fails.
TDateTime VariantTextToDate(const AnsiString& AText)
{
  return Variants::VarToDateTime(Variant(BlanksAsDateSeparators(AText)));
}

// Literal text in a mask: quoted, a quote doubled.
AnsiString MaskLiteral(const AnsiString& AText)
{
  AnsiString result = "'";
  for (char c : AText) {
    result += c;
    if (c == '\'') result += c;
  }
  return result + "'";
}

}  // namespace

AnsiString GetSmartDateWord(int AIndex) { return cxResourceStrings::GetResourceString(SmartWordIds[AIndex]); }

void DecMonth(Word& AYear, Word& AMonth)
{
  if (AMonth == 1) {
    --AYear;
    AMonth = 12;
  } else {
    --AMonth;
  }
}

void IncMonth(Word& AYear, Word& AMonth)
{
  if (AMonth == 12) {
    ++AYear;
    AMonth = 1;
  } else {
    ++AMonth;
  }
}

int ChangeMonth(Word& AYear, Word& AMonth, int ADelta)
{
  const int years = ADelta / 12;
  int year = AYear + years;
  int month = AMonth + ADelta % 12;
  if (month < 1) {
    --year;
    month += 12;
  } else if (month > 12) {
    ++year;
    month -= 12;
  }
  AYear = static_cast<Word>(year);
  AMonth = static_cast<Word>(month);
  return years;
}

Word GetDateElement(int AKind, TDateTime ADate)
{
  Word year, month, day;
  SysUtils::DecodeDate(ADate, year, month, day);
  switch (AKind) {
    case 0: return year;
    case 1: return month;
    default: return day;
  }
}

bool IsLeapYear(int AYear) { return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0); }

int DaysPerMonth(int AYear, int AMonth)
{
  if (AMonth < 1 || AMonth > 12) return 0;
  return AMonth == 2 && IsLeapYear(AYear) ? 29 : DaysInMonth[AMonth - 1];
}

int CheckDay(int AYear, int AMonth, int ADay)
{
  if (ADay < 1) return 1;
  return std::min(ADay, DaysPerMonth(AYear, AMonth));
}

TDateTime DateOf(TDateTime ADateTime)
{
  const double v = ADateTime.Value;
  return std::trunc(v >= 0 ? v + 1e-11 : v - 1e-11);
}

TDateTime TimeOf(TDateTime ADateTime)
{
  Word hour, min, sec, msec;
  SysUtils::DecodeTime(ADateTime, hour, min, sec, msec);
  return SysUtils::EncodeTime(hour, min, sec, msec);
}

bool FindSmartDateWord(const AnsiString& AText, int& AIndex)
{
  std::array<int, SmartDateWordCount> order;
  std::array<AnsiString, SmartDateWordCount> words;
  for (int i = 0; i < SmartDateWordCount; ++i) {
    order[i] = i;
    words[i] = GetSmartDateWord(i);
  }
  // longest first; equal lengths in descending text order
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (words[a].size() != words[b].size()) return words[a].size() > words[b].size();
    return SysUtils::AnsiCompareText(words[a], words[b]) > 0;
  });
  for (int i : order) {
    const AnsiString& word = words[i];
    if (word.empty() || word.size() > AText.size()) continue;
    if (SysUtils::AnsiSameText(word, AText.substr(0, word.size()))) {
      AIndex = i;
      return true;
    }
  }
  return false;
}

bool SmartTextToDate(const AnsiString& AText, TDateTime& ADate)
{
  const AnsiString text = SysUtils::Trim(AText);
  int index;
  if (!FindSmartDateWord(text, index)) return SmartTextToDateService().Current()(text, ADate);

  const TDateTime today = SysUtils::Date();
  const int weekday = SysUtils::DayOfWeek(today);  // 1 = Sunday
  Word year, month, day;
  SysUtils::DecodeDate(today, year, month, day);
  TDateTime date;
  if (index == swToday) {
    date = today;
  } else if (index == swYesterday) {
    date = today - 1;
  } else if (index == swTomorrow) {
    date = today + 1;
  } else if (index >= swSunday && index <= swSaturday) {
    int delta = (index - 2) - weekday;
    if (delta < 0) delta += 7;
    date = today + delta;
  } else if (index >= swFirst && index <= swSeventh) {
    date = today - weekday + (index - 9);
  } else if (index == swBom) {
    date = SysUtils::EncodeDate(year, month, 1);
  } else if (index == swEom) {
    date = SysUtils::EncodeDate(year, month, static_cast<Word>(DaysPerMonth(year, month)));
  } else {
    date = SysUtils::Now();
  }

  const AnsiString rest = SysUtils::Trim(text.substr(GetSmartDateWord(index).size()));
  if (rest.size() >= 2 && (rest[0] == '+' || rest[0] == '-')) {
    Integer days;
    if (SysUtils::TryStrToInt(SysUtils::Trim(rest.substr(1)), days)) date = rest[0] == '+' ? date + days : date - days;
  }
  ADate = date;
  return true;
}

bool TextToDateEx(const AnsiString& AText, TDateTime& ADate)
{
  try {
    AnsiString text = SysUtils::Trim(AText);
    if (text.empty()) return false;
    const bool useSettings = UseDateFormatSettings();
    if (!useSettings && SysUtils::DateSeparator == '.') {
      // the system's conversion does not read points as separators
      for (int n = 0; n < 2; ++n) {
        const std::size_t dot = text.find('.');
        if (dot == AnsiString::npos) break;
        text[dot] = ' ';
      }
    }
    TDateTime date;
    if (!SmartTextToDate(text, date)) {
      if (useSettings)
        date = SysUtils::StrToDateTime(text);
      else
        date = VariantTextToDate(text);
    }
    ADate = date;
    const double v = date.Value;
    if (!(v > -2147483648.0 && v < 2147483647.0)) return false;
    Word year, month, day;
    SysUtils::DecodeDate(date, year, month, day);
    return day != 0 && year < 10000;
  } catch (const Exception&) {
    ADate = NullDate;
    return false;
  }
}

bool TextToDateTime(const AnsiString& AText, bool AUseVariantConversion, TDateTime& ADate)
{
  ADate = NullDate;
  try {
    ADate = AUseVariantConversion ? VariantTextToDate(AText) : SysUtils::StrToDateTime(AText);
    return true;
  } catch (const EConvertError&) {
  } catch (const EVariantError&) {}
  ADate = NullDate;
  return false;
}

AnsiString DateTimeToText(TDateTime ADateTime)
{
  if (ADateTime.Value == NullDate) return AnsiString();
  if (UseDateFormatSettings()) return SysUtils::DateTimeToStr(ADateTime);
  try {
    AnsiString result = SysUtils::FormatDateTime(SysUtils::ShortDateFormat, ADateTime);
    if (TimeOf(ADateTime).Value != 0) result += " " + SysUtils::FormatDateTime(SysUtils::LongTimeFormat, ADateTime);
    return result;
  } catch (const Exception&) {
    try {
      return Variants::VarToStr(Variant(ADateTime));
    } catch (const EVariantError&) {
      return AnsiString();
    }
  }
}

AnsiString DateTimeToTextEx(bool AUseMaskFormat, TDateTime ADateTime)
{
  if (ADateTime.Value == NullDate) return AnsiString();
  if (AUseMaskFormat)
    return SysUtils::FormatDateTime(cxFormats::GetFormatController()->GetMaskedDateEditFormat(), ADateTime);
  return DateTimeToText(ADateTime);
}

AnsiString GetDateRegExprMask(bool AWithSmartWords)
{
  return GetDateRegExprMaskFor(cxFormats::GetFormatController()->GetDateEditFormat(), AWithSmartWords);
}

AnsiString GetDateRegExprMaskFor(const AnsiString& ADateEditFormat, bool AWithSmartWords)
{
  const AnsiString format = SysUtils::AnsiLowerCase(ADateEditFormat);
  if (format.find('g') != AnsiString::npos) return AnsiString();
  const bool longYear = format.find("yyyy") != AnsiString::npos;
  const bool longMonth = format.find("mmmm") != AnsiString::npos;

  AnsiString mask;
  std::size_t i = 0;
  while (i < format.size()) {
    const char letter = format[i];
    if (letter != 'd' && letter != 'e' && letter != 'm' && letter != 'y') break;
    // the element runs up to the next different element letter
    ++i;
    while (i < format.size()) {
      const char c = format[i];
      if (System::IsLeadByte(c) && i + 1 < format.size()) {
        i += 2;  // a trail byte is never an element letter
        continue;
      }
      if ((c == 'd' || c == 'e' || c == 'm' || c == 'y') && c != letter) break;
      ++i;
    }
    if (!mask.empty()) mask += MaskLiteral(AnsiString(1, SysUtils::DateSeparator));
    switch (letter) {
      case 'd': mask += "([012]?[1-9]|[123]0|31)"; break;
      case 'e':
        if (longYear)
          mask += "\\d\\d\\d\\d";
        else if (SysUtils::AnsiLowerCase(SysUtils::ShortDateFormat).find("ee") != AnsiString::npos)
          mask += "\\d\\d";
        else
          mask += "([1-9]?\\d)";
        break;
      case 'm': {
        mask += "((0?[1-9]|1[012])|(";
        for (int m = 0; m < 12; ++m) {
          if (m > 0) mask += "|";
          mask += MaskLiteral(longMonth ? SysUtils::LongMonthNames[m] : SysUtils::ShortMonthNames[m]);
        }
        mask += "))";
        break;
      }
      default: mask += longYear ? "\\d\\d\\d\\d" : "\\d\\d"; break;
    }
  }
  if (!AWithSmartWords) return mask;
  AnsiString words;
  for (int w = 0; w < SmartDateWordCount; ++w) {
    const AnsiString word = GetSmartDateWord(w);
    if (word.empty()) continue;  // an empty alternative would not compile
    if (!words.empty()) words += "|";
    words += MaskLiteral(word);
  }
  return "(" + mask + ")|((" + words + ")((\\+|-)\\d(\\d(\\d(\\d?)?)?)?))";
}

}  // namespace cxDateUtils
