#include "gridkit/edits/DateTimeEditFormatEh.h"

#include <cstring>

#include "gridkit/shims/ZeDuzVCL.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"

namespace DBCtrlsEh {

namespace {

constexpr const char* Letters = "YMDHNS";

int SlotOf(char U)
{
  const char* p = std::strchr(Letters, U);
  return U && p ? static_cast<int>(p - Letters) : -1;
}

char Upper(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

bool IsMaskSpecial(char U) { return U && std::strchr("!#09;<>ACL", U); }

bool IsDisplayChar(char U) { return SlotOf(U) >= 0 || U == '/' || U == ':'; }

// A double-byte character starting at 0-based i of Text.
bool DoubleByteAt(const AnsiString& Text, std::size_t i) { return System::IsLeadByte(Text[i]) && i + 1 < Text.size(); }

bool IsSeparator(char C)
{
  return C == SysUtils::DateSeparator || C == SysUtils::TimeSeparator || C == '/' || C == ':';
}

}  // namespace

int DefaultDateOrder(const AnsiString& ShortDateFormat)
{
  for (char c : ShortDateFormat) {
    switch (Upper(c)) {
      case 'M': return 0;
      case 'D': return 1;
      case 'Y': return 2;
      default: break;
    }
  }
  return 1;
}

AnsiString DefaultDateFormat(bool LongYear)
{
  switch (DefaultDateOrder(SysUtils::ShortDateFormat)) {
    case 0: return LongYear ? "MM/DD/YYYY" : "MM/DD/YY";
    case 2: return LongYear ? "YYYY/MM/DD" : "YY/MM/DD";
    default: return LongYear ? "DD/MM/YYYY" : "DD/MM/YY";
  }
}

AnsiString DefaultTimeFormat() { return "HH:NN:SS"; }

bool IsLongYearLocale() { return SysUtils::UpperCase(SysUtils::ShortDateFormat).find("YYY") != AnsiString::npos; }

// ---- compiling --------------------------------------------------------------------------------

void CompileEditFormat(const AnsiString& Format, AnsiString& Mask, TDateTimeSlotsEh& Slots)
{
  TDateTimeSlotsEh slots;
  AnsiString body;
  char current = 0;
  int count = 0;
  int p = 1;
  bool escaped = false;
  auto finish = [&] {
    if (!current) return;
    if ((current == 'Y' && count != 2 && count != 4) || (current != 'Y' && count != 2))
      throw Exception(AnsiString("Invalid datetime format element length: \"") + current + "\"");
    TDateTimeElementSlotEh& slot = slots[static_cast<std::size_t>(SlotOf(current))];
    if (slot.Used) throw Exception(AnsiString("Duplicating datetime format element: \"") + current + "\"");
    slot = {p - count, count, true};
    body.append(static_cast<std::size_t>(count), '9');
    current = 0;
    count = 0;
  };
  for (std::size_t i = 0; i < Format.size(); ++i) {
    char c = Format[i];
    char u = Upper(c);
    if (DoubleByteAt(Format, i)) {
      finish();
      body += c;
      body += Format[i + 1];
      ++i;
      p += 2;
      escaped = false;
      continue;
    }
    if (SlotOf(u) >= 0 && !escaped) {
      if (u == current) {
        ++count;
      } else {
        finish();
        current = u;
        count = 1;
      }
      if (count > (current == 'Y' ? 4 : 2))
        throw Exception("Element in EditFormat: \"" + Format + "\" is too long. Pos: " + std::to_string(i + 1));
    } else {
      finish();
      if (u == '\\' && !escaped) {
        escaped = true;
        --p;
      } else {
        if (IsMaskSpecial(u)) body += '\\';
        body += c;
        escaped = false;
      }
    }
    ++p;
  }
  finish();
  Mask = "!" + body + ";1; ";
  Slots = slots;
}

AnsiString ToDisplayFormat(const AnsiString& Format)
{
  AnsiString out;
  bool quoted = false, escaped = false;
  auto literal = [&](char c) {
    if (!quoted) {
      out += '\'';
      quoted = true;
    }
    if (c == '\'') out += '\'';
    out += c;
  };
  for (std::size_t i = 0; i < Format.size(); ++i) {
    char c = Format[i];
    char u = Upper(c);
    if (DoubleByteAt(Format, i)) {
      literal(c);
      literal(Format[++i]);
      escaped = false;
    } else if (!escaped && IsDisplayChar(u)) {
      if (quoted) {
        out += '\'';
        quoted = false;
      }
      out += u;
    } else if (!escaped && u == '\\') {
      escaped = true;
    } else {
      literal(c);
      escaped = false;
    }
  }
  if (quoted) out += '\'';
  return out;
}

AnsiString ToStepTemplate(const AnsiString& Format)
{
  AnsiString out;
  bool escaped = false;
  for (std::size_t i = 0; i < Format.size(); ++i) {
    char u = Upper(Format[i]);
    if (DoubleByteAt(Format, i)) {
      out += "  ";
      ++i;
      escaped = false;
    } else if (!escaped && IsDisplayChar(u)) {
      out += u;
    } else if (!escaped && u == '\\') {
      escaped = true;
    } else {
      out += ' ';
      escaped = false;
    }
  }
  return out;
}

// ---- reading ----------------------------------------------------------------------------------

int ExpandYear(int Year)
{
  if (Year >= 100) return Year;
  Word y, m, d;
  SysUtils::DecodeDate(SysUtils::Date(), y, m, d);
  int t = y, w = CenturyWindow;
  Year += ((t - w) / 100) * 100;
  if (w > 0 && Year < t - w) Year += 100;
  return Year;
}

int DaysInMonth(int Year, int Month)
{
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 31;
  int n = days[Month - 1];
  if (Month == 2 && Year >= 1 && Year <= 9999 && SysUtils::IsLeapYear(static_cast<Word>(Year))) ++n;
  return n;
}

namespace {
int ReadPiece(const AnsiString& Piece)
{
  AnsiString digits;
  for (char c : Piece) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return -1;
    digits += c;
  }
  if (digits.empty()) return -1;
  Integer v = 0;
  return SysUtils::TryStrToInt(digits, v) ? v : -1;
}

int& PartAt(TDateTimePartsEh& P, int Slot)
{
  switch (Slot) {
    case 0: return P.Year;
    case 1: return P.Month;
    case 2: return P.Day;
    case 3: return P.Hour;
    case 4: return P.Minute;
    default: return P.Second;
  }
}
}  // namespace

bool ReadParts(const AnsiString& Text, const TDateTimeSlotsEh& Slots, TDateTimePartsEh& Parts)
{
  Parts = TDateTimePartsEh();
  bool all = true;
  for (int s = 0; s < 6; ++s) {
    const TDateTimeElementSlotEh& slot = Slots[static_cast<std::size_t>(s)];
    if (!slot.Used) continue;
    AnsiString piece = slot.Pos >= 1 && static_cast<std::size_t>(slot.Pos) <= Text.size()
                           ? Text.substr(static_cast<std::size_t>(slot.Pos - 1), static_cast<std::size_t>(slot.Len))
                           : AnsiString();
    int v = ReadPiece(piece);
    PartAt(Parts, s) = v;
    if (v == -1) all = false;
  }
  if (Parts.Year >= 0) Parts.Year = ExpandYear(Parts.Year);
  return all;
}

namespace {
void CompleteDate(int& Year, int& Month, int& Day)
{
  Word ty, tm, td;
  SysUtils::DecodeDate(SysUtils::Date(), ty, tm, td);
  if (Day < 1) Day = td;
  if (Month < 1) Month = tm;
  if (Year < 1) Year = ty;
  if (Month > 12) Month = 12;
  if (Year > 9999) Year = 9999;
  if (Year >= 0) Year = ExpandYear(Year);
  if (Day > DaysInMonth(Year, Month)) Day = DaysInMonth(Year, Month);
}

void ClampTime(int& Hour, int& Minute, int& Second)
{
  if (Hour >= 0 && Hour <= 23 && Minute >= 0 && Minute <= 59 && Second >= 0 && Second <= 59) return;
  if (Hour < 0) Hour = 0;
  if (Minute < 0) Minute = 0;
  if (Second < 0) Second = 0;
  if (Hour > 23) Hour = 23;
  if (Minute >= 60) Minute = 59;
  if (Second >= 60) Second = 59;
}
}  // namespace

bool BuildValue(TDateTimePartsEh P, const TDateTimeSlotsEh& Slots, Variant& Value, bool Complete)
{
  if (P.Year == -1 && P.Month == -1 && P.Day == -1 && P.Hour == -1 && P.Minute == -1 && P.Second == -1) {
    Value = Variant::Null();
    return true;
  }
  if (Complete) {
    CompleteDate(P.Year, P.Month, P.Day);
    ClampTime(P.Hour, P.Minute, P.Second);
  } else {
    for (int s = 0; s < 6; ++s) {
      if (Slots[static_cast<std::size_t>(s)].Used) continue;
      int& part = PartAt(P, s);
      if (s < 3 && part <= 0) part = 1;
      if (s >= 3 && part < 0) part = 0;
    }
  }
  bool dateOk =
      (P.Year < 0 && P.Month < 0 && P.Day < 0) || (P.Year >= 1 && P.Year <= 9999 && P.Month >= 1 && P.Month <= 12 &&
                                                   P.Day >= 1 && P.Day <= DaysInMonth(P.Year, P.Month));
  bool timeOk = P.Hour >= 0 && P.Hour <= 23 && P.Minute >= 0 && P.Minute <= 59 && P.Second >= 0 && P.Second <= 59;
  if (!dateOk || !timeOk) {
    Value = Variant::Null();
    return false;
  }
  Word y = 1900, mo = 1, d = 1, h = 0, mi = 0, s = 0, ms = 0;
  if (!Value.IsNull() && !Value.IsEmpty()) DateUtils::DecodeDateTime(Value.AsDateTime(), y, mo, d, h, mi, s, ms);
  auto use = [&](int Slot, int Part, Word& Target, bool Positive) {
    if (Slots[static_cast<std::size_t>(Slot)].Used && (Positive ? Part > 0 : Part >= 0))
      Target = static_cast<Word>(Part);
  };
  use(0, P.Year, y, true);
  use(1, P.Month, mo, true);
  use(2, P.Day, d, true);
  use(3, P.Hour, h, false);
  use(4, P.Minute, mi, false);
  use(5, P.Second, s, false);
  TDateTime result;
  // The value's own parts may not fit the new ones (its day 31 in a new month of 30 days).
  if (!DateUtils::TryEncodeDateTime(y, mo, d, h, mi, s, ms, result)) {
    Value = Variant::Null();
    return false;
  }
  Value = result;
  return true;
}

TDateTimePartsEh ValueToParts(const Variant& Value)
{
  TDateTimePartsEh p;
  if (Value.IsNull() || Value.IsEmpty()) return p;
  Word y, mo, d, h, mi, s, ms;
  DateUtils::DecodeDateTime(Value.AsDateTime(), y, mo, d, h, mi, s, ms);
  return {y, mo, d, h, mi, s};
}

// ---- stepping ---------------------------------------------------------------------------------

void StepElement(const AnsiString& Text, const AnsiString& Template, bool Up, AnsiString& NewText, int& SelLength,
                 int& Pos)
{
  NewText = Text;
  int len = static_cast<int>(Template.size());
  if (len == 0) return;
  if (Pos > len) Pos = len;
  if (Pos < 1) Pos = 1;
  if (IsSeparator(Template[static_cast<std::size_t>(Pos - 1)])) {
    ++Pos;
    if (Pos > len) return;
  }
  char e = Upper(Template[static_cast<std::size_t>(Pos - 1)]);
  if (SlotOf(e) < 0) return;
  auto b = static_cast<int>(Template.find(e)) + 1;
  int l = 0;
  while (b + l <= len && Template[static_cast<std::size_t>(b + l - 1)] == e) ++l;
  Integer v = 0;
  AnsiString piece = b <= static_cast<int>(Text.size())
                         ? SysUtils::Trim(Text.substr(static_cast<std::size_t>(b - 1), static_cast<std::size_t>(l)))
                         : AnsiString();
  if (!SysUtils::TryStrToInt(piece, v)) v = 0;
  switch (e) {
    case 'D': v = Up ? (v <= 30 ? v + 1 : 1) : (v > 1 ? v - 1 : 31); break;
    case 'M': v = Up ? (v < 12 ? v + 1 : 1) : (v > 1 ? v - 1 : 12); break;
    case 'Y': v = Up ? (v < 9999 ? v + 1 : 1) : (v > 1 ? v - 1 : 9999); break;
    case 'H': v = Up ? (v < 23 ? v + 1 : 0) : (v <= 0 ? 23 : v - 1); break;
    default: v = Up ? (v < 59 ? v + 1 : 0) : (v <= 0 ? 59 : v - 1); break;
  }
  AnsiString head = Text.substr(0, std::min(Text.size(), static_cast<std::size_t>(b - 1)));
  AnsiString tail = static_cast<std::size_t>(b - 1 + l) < Text.size()
                        ? Text.substr(static_cast<std::size_t>(b - 1 + l), 255)
                        : AnsiString();
  NewText = head + SysUtils::FormatFloat(AnsiString(static_cast<std::size_t>(l), '0'), v) + tail;
  Pos = b;
  SelLength = l;
}

void ElementAfterSeparator(const AnsiString& Text, bool LongYear, int& Pos, int& Length)
{
  AnsiString f = DefaultDateFormat(LongYear);
  int len = static_cast<int>(f.size());
  if (Pos > len) Pos = len;
  if (Pos < 1) Pos = 1;
  if (IsSeparator(f[static_cast<std::size_t>(Pos - 1)]) && Pos < len) ++Pos;
  char e = f[static_cast<std::size_t>(Pos - 1)];
  if (SlotOf(e) < 0) return;
  Pos = static_cast<int>(f.find(e)) + 1;
  Length = 0;
  while (Pos + Length <= len && f[static_cast<std::size_t>(Pos + Length - 1)] == e) ++Length;
}

}  // namespace DBCtrlsEh
