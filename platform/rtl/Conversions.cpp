// Sections:
//   locale view   the fields the date routines read, from the globals or a TFormatSettings
//   integers      StrToInt and kin
//   floats        StrToFloat, StrToCurr and kin
//   Booleans      StrToBool, BoolToStr
//   date parsing  ScanDate, ScanTime, StrToDate and kin
//   date writing  FormatDateTime, DateToStr and kin
#include "platform/rtl/Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

namespace SysUtils {

namespace {

// ---- Locale view -------------------------------------------------------------------------------

// References to the fields in use, so a call on the globals copies nothing.
struct Locale {
  char DecimalSeparator;
  char DateSeparator;
  char TimeSeparator;
  Word TwoDigitYearCenturyWindow;
  const AnsiString& ShortDateFormat;
  const AnsiString& LongDateFormat;
  const AnsiString& TimeAMString;
  const AnsiString& TimePMString;
  const AnsiString& ShortTimeFormat;
  const AnsiString& LongTimeFormat;
  const std::array<AnsiString, 12>& ShortMonthNames;
  const std::array<AnsiString, 12>& LongMonthNames;
  const std::array<AnsiString, 7>& ShortDayNames;
  const std::array<AnsiString, 7>& LongDayNames;
};

Locale GlobalLocale()
{
  return {DecimalSeparator, DateSeparator,  TimeSeparator,   TwoDigitYearCenturyWindow,
          ShortDateFormat,  LongDateFormat, TimeAMString,    TimePMString,
          ShortTimeFormat,  LongTimeFormat, ShortMonthNames, LongMonthNames,
          ShortDayNames,    LongDayNames};
}

Locale RecordLocale(const TFormatSettings& s)
{
  return {s.DecimalSeparator, s.DateSeparator,  s.TimeSeparator,   s.TwoDigitYearCenturyWindow,
          s.ShortDateFormat,  s.LongDateFormat, s.TimeAMString,    s.TimePMString,
          s.ShortTimeFormat,  s.LongTimeFormat, s.ShortMonthNames, s.LongMonthNames,
          s.ShortDayNames,    s.LongDayNames};
}

// ---- Integers ----------------------------------------------------------------------------------

// Leading blanks, a sign, then decimal digits or "$"/"0x"/"x" and hexadecimal digits; nothing
// may follow. Decimal must fit [minValue, maxValue]; hexadecimal may use the full unsigned
// width (a bit pattern), so "$FFFFFFFF" is -1 for a 32-bit result.
bool ParseInteger(const AnsiString& s, Int64 minValue, Int64 maxValue, UInt64 hexMax, Int64& out)
{
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i < n && (s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  UInt64 v = 0;
  const UInt64 limit = hex ? hexMax : neg ? static_cast<UInt64>(-(minValue + 1)) + 1 : static_cast<UInt64>(maxValue);
  for (; i < n; ++i) {
    const char c = s[i];
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    const UInt64 base = hex ? 16 : 10;
    if (v > (limit - d) / base) return false;
    v = v * base + d;
  }
  if (hex) {
    // A bit pattern of the result's width, then the sign.
    UInt64 bits = neg ? UInt64{0} - v : v;
    out = hexMax == std::numeric_limits<std::uint32_t>::max()
              ? static_cast<Int64>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)))
              : static_cast<Int64>(bits);
    return true;
  }
  out = neg ? static_cast<Int64>(UInt64{0} - v) : static_cast<Int64>(v);
  return true;
}

[[noreturn]] void NotInteger(const AnsiString& s) { throw EConvertError("'" + s + "' is not a valid integer value"); }

// ---- Floats ------------------------------------------------------------------------------------

// The decimal number in s (blanks around allowed): sign, digits, the decimal separator,
// digits, then an optional exponent. Gives the significant digits and the exponent of
// 0.<digits> x 10^exponent.
bool ScanDecimal(const AnsiString& s, char decimalSeparator, bool& neg, std::string& digits, int& exponent)
{
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  digits.clear();
  int intDigits = 0;
  bool any = false;
  while (i < n && s[i] >= '0' && s[i] <= '9') {
    any = true;
    if (!digits.empty() || s[i] != '0') {
      digits += s[i];
      ++intDigits;
    }
    ++i;
  }
  int leadingFracZeros = 0;
  if (i < n && s[i] == decimalSeparator) {
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      any = true;
      if (digits.empty() && s[i] == '0')
        ++leadingFracZeros;
      else
        digits += s[i];
      ++i;
    }
  }
  if (!any) return false;
  long exp10 = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool eneg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
    if (i >= n || s[i] < '0' || s[i] > '9') return false;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      if (exp10 < 100000) exp10 = exp10 * 10 + (s[i] - '0');
      ++i;
    }
    if (eneg) exp10 = -exp10;
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return false;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  exponent = static_cast<int>((intDigits > 0 ? intDigits : -leadingFracZeros) + exp10);
  return true;
}

bool ParseFloat(const AnsiString& s, char decimalSeparator, double& value)
{
  bool neg;
  std::string digits;
  int exponent;
  if (!ScanDecimal(s, decimalSeparator, neg, digits, exponent)) return false;
  if (digits.empty()) {
    value = neg ? -0.0 : 0.0;
    return true;
  }
  if (exponent > 400) return false;
  if (exponent < -400) {
    value = neg ? -0.0 : 0.0;
    return true;
  }
  std::string text = "0." + digits + "e" + std::to_string(exponent);
  double v = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    if (exponent > 0) return false;  // too large for a double
    v = 0;                           // below the smallest: zero
  } else if (res.ec != std::errc()) {
    return false;
  }
  value = neg ? -v : v;
  return true;
}

// ---- Date parsing ------------------------------------------------------------------------------

enum DateOrder { doMDY, doDMY, doYMD };

DateOrder GetDateOrder(const AnsiString& format)
{
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = static_cast<char>(format[i] | 0x20);
    if (System::IsLeadByte(format[i])) {
      ++i;
      continue;
    }
    if (c == 'e' || c == 'y') return doYMD;
    if (c == 'm') return doMDY;
    if (c == 'd') return doDMY;
  }
  return doYMD;
}

class Scanner {
public:
  explicit Scanner(const AnsiString& s) : FText(s) {}
  bool AtEnd() const { return FPos >= FText.size(); }
  void Blanks()
  {
    while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
  }
  bool Char(char c)
  {
    Blanks();
    if (FPos < FText.size() && FText[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  // Up to five digits; `length` is how many were read.
  bool Number(int& value, int& length)
  {
    Blanks();
    value = 0;
    length = 0;
    while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
      if (++length > 5) return false;
      value = value * 10 + (FText[FPos++] - '0');
    }
    return length > 0;
  }
  // `word` in any ASCII case; an empty word never matches.
  bool Word(const AnsiString& word)
  {
    Blanks();
    if (word.empty() || FText.size() - FPos < word.size()) return false;
    if (CompareText(FText.substr(FPos, word.size()), word) != 0) return false;
    FPos += word.size();
    return true;
  }

private:
  const AnsiString& FText;
  std::size_t FPos = 0;
};

Word CurrentYear()
{
  Word y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

bool ScanDate(Scanner& sc, const Locale& loc, TDateTime& date)
{
  int n1, n2, n3, l1, l2, l3 = 0;
  if (!(sc.Number(n1, l1) && sc.Char(loc.DateSeparator) && sc.Number(n2, l2))) return false;
  const DateOrder order = GetDateOrder(loc.ShortDateFormat);
  int y, m, d;
  int yearLength = 4;
  if (sc.Char(loc.DateSeparator)) {
    if (!sc.Number(n3, l3)) return false;
    switch (order) {
      case doMDY:
        y = n3;
        yearLength = l3;
        m = n1;
        d = n2;
        break;
      case doDMY:
        y = n3;
        yearLength = l3;
        m = n2;
        d = n1;
        break;
      default:
        y = n1;
        yearLength = l1;
        m = n2;
        d = n3;
        break;
    }
  } else {
    // Day and month of the current year, in the order of the format.
    y = CurrentYear();
    if (order == doDMY) {
      d = n1;
      m = n2;
    } else {
      m = n1;
      d = n2;
    }
  }
  if (yearLength <= 2) {
    const int base = CurrentYear() - loc.TwoDigitYearCenturyWindow;
    y += base / 100 * 100;
    if (loc.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
  }
  sc.Blanks();
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date);
}

// 0 for the morning marker, 12 for the afternoon one, -1 for none.
int ScanAmPm(Scanner& sc, const Locale& loc)
{
  if (sc.Word(loc.TimeAMString) || sc.Word("AM")) return 0;
  if (sc.Word(loc.TimePMString) || sc.Word("PM")) return 12;
  return -1;
}

bool ScanTime(Scanner& sc, const Locale& loc, TDateTime& time)
{
  int baseHour = ScanAmPm(sc, loc);
  int hour, min = 0, sec = 0, msec = 0, len;
  if (!sc.Number(hour, len)) return false;
  if (sc.Char(loc.TimeSeparator)) {
    if (!sc.Number(min, len)) return false;
    if (sc.Char(loc.TimeSeparator)) {
      if (!sc.Number(sec, len)) return false;
      if (sc.Char(loc.DecimalSeparator)) {
        // A fraction of a second: ".5" is 500 ms.
        if (!sc.Number(msec, len)) return false;
        for (; len < 3; ++len) msec *= 10;
        for (; len > 3; --len) msec /= 10;
      }
    }
  }
  if (baseHour < 0) baseHour = ScanAmPm(sc, loc);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  sc.Blanks();
  if (hour > 23 || min > 59 || sec > 59) return false;
  return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min), static_cast<Word>(sec), static_cast<Word>(msec),
                       time);
}

bool ParseDate(const AnsiString& s, const Locale& loc, TDateTime& value)
{
  Scanner sc(s);
  TDateTime d;
  if (!ScanDate(sc, loc, d) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool ParseTime(const AnsiString& s, const Locale& loc, TDateTime& value)
{
  Scanner sc(s);
  TDateTime t;
  if (!ScanTime(sc, loc, t) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool ParseDateTime(const AnsiString& s, const Locale& loc, TDateTime& value)
{
  Scanner sc(s);
  TDateTime d, t;
  // A text with no date part is read as a time on day zero.
  if (!ScanDate(sc, loc, d) || (!sc.AtEnd() && (!ScanTime(sc, loc, t) || !sc.AtEnd()))) return ParseTime(s, loc, value);
  value = d.Value >= 0 ? d.Value + t.Value : d.Value - t.Value;
  return true;
}

// ---- Date writing ------------------------------------------------------------------------------

struct DateParts {
  Word year = 0, month = 0, day = 0, dow = 0, hour = 0, min = 0, sec = 0, msec = 0;
};

void AppendNumber(AnsiString& out, int value, int digits)
{
  AnsiString n = std::to_string(value);
  if (static_cast<int>(n.size()) < digits) n.insert(0, digits - n.size(), '0');
  out += n;
}

bool StartsWithNoCase(const AnsiString& s, std::size_t i, const char* word)
{
  for (std::size_t k = 0; word[k]; ++k)
    if (i + k >= s.size() || (s[i + k] | 0x20) != (word[k] | 0x20)) return false;
  return true;
}

// Whether the 'h' at `from` is on a 12-hour clock: an am/pm marker comes before the next 'h'
// (outside quotes).
bool Uses12Hour(const AnsiString& f, std::size_t from)
{
  bool quoted = false;
  char quote = 0;
  for (std::size_t p = from; p < f.size(); ++p) {
    const char c = f[p];
    if (System::IsLeadByte(c)) {
      ++p;
      continue;
    }
    if (quoted) {
      if (c == quote) quoted = false;
      continue;
    }
    if (c == '\'' || c == '"') {
      quoted = true;
      quote = c;
    } else if (c == 'a' || c == 'A') {
      return StartsWithNoCase(f, p, "am/pm") || StartsWithNoCase(f, p, "a/p") || StartsWithNoCase(f, p, "ampm");
    } else if (c == 'h' || c == 'H') {
      return false;
    }
  }
  return false;
}

void AppendFormat(AnsiString& out, const AnsiString& f, const DateParts& t, const Locale& loc, int depth)
{
  // The nested formats (c, ddddd, t...) may not nest without end.
  if (depth > 2) return;
  char lastToken = 0;
  const std::size_t n = f.size();
  for (std::size_t i = 0; i < n;) {
    const char raw = f[i];
    if (System::IsLeadByte(raw) && i + 1 < n) {
      out.append(f, i, 2);
      i += 2;
      continue;
    }
    if (raw == '\'' || raw == '"') {
      std::size_t j = i + 1;
      while (j < n && f[j] != raw) j += System::IsLeadByte(f[j]) && j + 1 < n ? 2 : 1;
      out.append(f, i + 1, std::min(j, n) - i - 1);
      i = j < n ? j + 1 : n;
      continue;
    }
    char token = (raw >= 'a' && raw <= 'z') ? static_cast<char>(raw - 32) : raw;
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && lastToken == 'H') token = 'N';
      lastToken = token;
    }
    std::size_t count = 1;
    auto takeRun = [&]() {
      while (i + count < n && (f[i + count] | 0x20) == (raw | 0x20)) ++count;
    };
    switch (token) {
      case 'Y':
        takeRun();
        if (count <= 2)
          AppendNumber(out, t.year % 100, 2);
        else
          AppendNumber(out, t.year, 4);
        break;
      case 'E':  // year of the era: the Gregorian year here
        takeRun();
        AppendNumber(out, t.year, count >= 2 ? 2 : 1);
        break;
      case 'G':
        takeRun();
        out += "公元";
        break;
      case 'M':
        takeRun();
        if (t.month >= 1 && t.month <= 12 && count >= 3)
          out += count == 3 ? loc.ShortMonthNames[t.month - 1] : loc.LongMonthNames[t.month - 1];
        else
          AppendNumber(out, t.month, count >= 2 ? 2 : 1);
        break;
      case 'D':
        takeRun();
        if (count <= 2) {
          AppendNumber(out, t.day, static_cast<int>(count));
        } else if (count <= 4) {
          if (t.dow >= 1 && t.dow <= 7) out += count == 3 ? loc.ShortDayNames[t.dow - 1] : loc.LongDayNames[t.dow - 1];
        } else {
          AppendFormat(out, count == 5 ? loc.ShortDateFormat : loc.LongDateFormat, t, loc, depth + 1);
        }
        break;
      case 'H': {
        takeRun();
        int h = t.hour;
        if (Uses12Hour(f, i + count)) h = h == 0 ? 12 : h > 12 ? h - 12 : h;
        AppendNumber(out, h, count >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        takeRun();
        AppendNumber(out, t.min, count >= 2 ? 2 : 1);
        break;
      case 'S':
        takeRun();
        AppendNumber(out, t.sec, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        takeRun();
        AppendNumber(out, t.msec, count >= 3 ? 3 : 1);
        break;
      case 'T':
        takeRun();
        AppendFormat(out, count == 1 ? loc.ShortTimeFormat : loc.LongTimeFormat, t, loc, depth + 1);
        break;
      case 'C':
        takeRun();
        AppendFormat(out, loc.ShortDateFormat, t, loc, depth + 1);
        if (t.hour != 0 || t.min != 0 || t.sec != 0) {
          out += ' ';
          AppendFormat(out, loc.LongTimeFormat, t, loc, depth + 1);
        }
        break;
      case 'A':
        if (StartsWithNoCase(f, i, "am/pm")) {
          out.append(f, t.hour >= 12 ? i + 3 : i, 2);
          count = 5;
        } else if (StartsWithNoCase(f, i, "a/p")) {
          out += f[t.hour >= 12 ? i + 2 : i];
          count = 3;
        } else if (StartsWithNoCase(f, i, "ampm")) {
          out += t.hour >= 12 ? loc.TimePMString : loc.TimeAMString;
          count = 4;
        } else {
          out += raw;
        }
        break;
      case '/':
        if (loc.DateSeparator != '\0') out += loc.DateSeparator;
        break;
      case ':':
        if (loc.TimeSeparator != '\0') out += loc.TimeSeparator;
        break;
      default: out += raw; break;
    }
    i += count;
  }
}

AnsiString FormatWith(const AnsiString& format, TDateTime value, const Locale& loc)
{
  DateParts t;
  DecodeDateFully(value, t.year, t.month, t.day, t.dow);
  DecodeTime(value, t.hour, t.min, t.sec, t.msec);
  AnsiString out;
  AppendFormat(out, format.empty() ? AnsiString("c") : format, t, loc, 0);
  return out;
}

}  // namespace

// ---- Integers ----------------------------------------------------------------------------------

bool TryStrToInt(const AnsiString& s, Integer& value)
{
  Int64 v;
  if (!ParseInteger(s, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max(),
                    std::numeric_limits<std::uint32_t>::max(), v))
    return false;
  value = static_cast<Integer>(v);
  return true;
}

Integer StrToInt(const AnsiString& s)
{
  Integer v;
  if (!TryStrToInt(s, v)) NotInteger(s);
  return v;
}

Integer StrToIntDef(const AnsiString& s, Integer def)
{
  Integer v;
  return TryStrToInt(s, v) ? v : def;
}

bool TryStrToInt64(const AnsiString& s, Int64& value)
{
  return ParseInteger(s, std::numeric_limits<Int64>::min(), std::numeric_limits<Int64>::max(),
                      std::numeric_limits<UInt64>::max(), value);
}

Int64 StrToInt64(const AnsiString& s)
{
  Int64 v;
  if (!TryStrToInt64(s, v)) NotInteger(s);
  return v;
}

Int64 StrToInt64Def(const AnsiString& s, Int64 def)
{
  Int64 v;
  return TryStrToInt64(s, v) ? v : def;
}

// ---- Floats ------------------------------------------------------------------------------------

bool TryStrToFloat(const AnsiString& s, double& value) { return ParseFloat(s, DecimalSeparator, value); }

bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& settings)
{
  return ParseFloat(s, settings.DecimalSeparator, value);
}

double StrToFloat(const AnsiString& s)
{
  double v;
  if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const AnsiString& s, double def)
{
  double v;
  return TryStrToFloat(s, v) ? v : def;
}

bool TryStrToCurr(const AnsiString& s, Currency& value)
{
  bool neg;
  std::string digits;
  int exponent;
  if (!ScanDecimal(s, DecimalSeparator, neg, digits, exponent)) return false;
  return TryDecimalToCurr(neg, digits, exponent, value);
}

Currency StrToCurr(const AnsiString& s)
{
  Currency v;
  if (!TryStrToCurr(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
  return v;
}

Currency StrToCurrDef(const AnsiString& s, Currency def)
{
  Currency v;
  return TryStrToCurr(s, v) ? v : def;
}

// ---- Booleans ----------------------------------------------------------------------------------

bool TryStrToBool(const AnsiString& s, bool& value)
{
  if (CompareText(s, "True") == 0) {
    value = true;
    return true;
  }
  if (CompareText(s, "False") == 0) {
    value = false;
    return true;
  }
  double d;
  if (!TryStrToFloat(s, d)) return false;
  value = d != 0;
  return true;
}

bool StrToBool(const AnsiString& s)
{
  bool v;
  if (!TryStrToBool(s, v)) throw EConvertError("'" + s + "' is not a valid boolean value");
  return v;
}

bool StrToBoolDef(const AnsiString& s, bool def)
{
  bool v;
  return TryStrToBool(s, v) ? v : def;
}

AnsiString BoolToStr(bool b, bool useBoolStrs)
{
  if (useBoolStrs) return b ? "True" : "False";
  return b ? "-1" : "0";
}

// ---- Dates -------------------------------------------------------------------------------------

bool TryStrToDate(const AnsiString& s, TDateTime& value) { return ParseDate(s, GlobalLocale(), value); }

bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
  return ParseDate(s, RecordLocale(settings), value);
}

TDateTime StrToDate(const AnsiString& s)
{
  TDateTime v;
  if (!TryStrToDate(s, v)) throw EConvertError("'" + s + "' is not a valid date");
  return v;
}

TDateTime StrToDateDef(const AnsiString& s, TDateTime def)
{
  TDateTime v;
  return TryStrToDate(s, v) ? v : def;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value) { return ParseTime(s, GlobalLocale(), value); }

bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
  return ParseTime(s, RecordLocale(settings), value);
}

TDateTime StrToTime(const AnsiString& s)
{
  TDateTime v;
  if (!TryStrToTime(s, v)) throw EConvertError("'" + s + "' is not a valid time");
  return v;
}

TDateTime StrToTimeDef(const AnsiString& s, TDateTime def)
{
  TDateTime v;
  return TryStrToTime(s, v) ? v : def;
}

bool TryStrToDateTime(const AnsiString& s, TDateTime& value) { return ParseDateTime(s, GlobalLocale(), value); }

bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
  return ParseDateTime(s, RecordLocale(settings), value);
}

TDateTime StrToDateTime(const AnsiString& s)
{
  TDateTime v;
  if (!TryStrToDateTime(s, v)) throw EConvertError("'" + s + "' is not a valid date and time");
  return v;
}

TDateTime StrToDateTimeDef(const AnsiString& s, TDateTime def)
{
  TDateTime v;
  return TryStrToDateTime(s, v) ? v : def;
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value)
{
  return FormatWith(format, value, GlobalLocale());
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value, const TFormatSettings& settings)
{
  return FormatWith(format, value, RecordLocale(settings));
}

void DateTimeToString(AnsiString& result, const AnsiString& format, TDateTime value)
{
  result = FormatDateTime(format, value);
}

AnsiString DateToStr(TDateTime value) { return FormatDateTime(ShortDateFormat, value); }

AnsiString TimeToStr(TDateTime value) { return FormatDateTime(LongTimeFormat, value); }

AnsiString DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

}  // namespace SysUtils
