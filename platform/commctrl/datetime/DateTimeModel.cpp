#include "platform/commctrl/datetime/DateTimeModel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

namespace {

using Kind = DateTimeModel::Kind;

constexpr int kMinYear = 1753, kMaxYear = 9999;

int DaysIn(int year, int month) { return SysUtils::MonthDays(Word(year), Word(month)); }

// One character of a CP936 text from `i`: two bytes after a lead byte.
size_t CharLen(const AnsiString& s, size_t i) { return System::IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1; }

size_t RunOf(const AnsiString& s, size_t i, char c)
{
  size_t n = 0;
  while (i + n < s.size() && s[i + n] == c) ++n;
  return n;
}

// Starts with `word` ignoring ASCII case.
bool StartsWith(const AnsiString& s, size_t i, const char* word)
{
  for (size_t k = 0; word[k]; ++k)
    if (i + k >= s.size() || std::tolower(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
  return true;
}

AnsiString Padded(int v, int width)
{
  std::string t = std::to_string(v);
  while (int(t.size()) < width) t.insert(t.begin(), '0');
  return t;
}

int Wrap(int v, int lo, int hi) { return lo + ((v - lo) % (hi - lo + 1) + (hi - lo + 1)) % (hi - lo + 1); }

}  // namespace

DateTimeModel::DateTimeModel(const AnsiString& format)
{
  SetValue(SysUtils::Now());
  SetFormat(format);
}

// ==== Formats ===================================================================================

std::vector<DateTimeModel::Part> DateTimeModel::ParseFormat(const AnsiString& format)
{
  std::vector<Part> parts;
  auto literal = [&](const AnsiString& text) {
    if (text.empty()) return;
    if (!parts.empty() && parts.back().kind == Kind::Literal)
      parts.back().text += text;
    else
      parts.push_back(Part{Kind::Literal, 0, text});
  };
  for (size_t i = 0; i < format.size();) {
    char c = format[i];
    if (c == '\'') {
      // 'text', with '' for a quote.
      size_t j = i + 1;
      AnsiString text;
      while (j < format.size()) {
        if (format[j] == '\'') {
          if (j + 1 < format.size() && format[j + 1] == '\'') {
            text += '\'';
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        size_t n = CharLen(format, j);
        text += format.substr(j, n);
        j += n;
      }
      literal(text);
      i = j;
      continue;
    }
    size_t run = RunOf(format, i, c);
    Kind kind = Kind::Literal;
    int count = int(run);
    switch (c) {
      case 'y': kind = Kind::Year; break;
      case 'M': kind = Kind::Month; break;
      case 'd': kind = run >= 3 ? Kind::DayName : Kind::Day; break;
      case 'h': kind = Kind::Hour12; break;
      case 'H': kind = Kind::Hour24; break;
      case 'm': kind = Kind::Minute; break;
      case 's': kind = Kind::Second; break;
      case 't': kind = Kind::AmPm; break;
      default: break;
    }
    if (kind == Kind::Literal) {
      size_t n = CharLen(format, i);
      literal(format.substr(i, n));
      i += n;
      continue;
    }
    int most = (kind == Kind::Year || kind == Kind::Month || kind == Kind::DayName) ? 4 : 2;
    parts.push_back(Part{kind, std::min(count, most), AnsiString()});
    i += run;
  }
  return parts;
}

AnsiString DateTimeModel::FromLocaleFormat(const AnsiString& f)
{
  bool twelve = false;
  for (size_t i = 0; i < f.size(); i += CharLen(f, i))
    if (StartsWith(f, i, "am/pm") || StartsWith(f, i, "a/p") || StartsWith(f, i, "ampm")) twelve = true;
  AnsiString out;
  auto quoted = [&](const AnsiString& text) {
    out += '\'';
    for (char ch : text) out += ch == '\'' ? AnsiString("''") : AnsiString(1, ch);
    out += '\'';
  };
  bool afterHour = false;  // "m" after an hour means minutes
  for (size_t i = 0; i < f.size();) {
    char c = char(std::tolower(static_cast<unsigned char>(f[i])));
    if (f[i] == '\'' || f[i] == '"') {
      size_t j = f.find(f[i], i + 1);
      if (j == AnsiString::npos) j = f.size();
      quoted(f.substr(i + 1, j - i - 1));
      i = std::min(j + 1, f.size());
      continue;
    }
    if (StartsWith(f, i, "am/pm") || StartsWith(f, i, "ampm")) {
      out += "tt";
      i += StartsWith(f, i, "ampm") ? 4 : 5;
      continue;
    }
    if (StartsWith(f, i, "a/p")) {
      out += "t";
      i += 3;
      continue;
    }
    size_t run = 0;
    while (i + run < f.size() && std::tolower(static_cast<unsigned char>(f[i + run])) == c) ++run;
    switch (c) {
      case 'y': out += AnsiString(run <= 2 ? 2 : 4, 'y'); break;
      case 'm':
        out += afterHour && run <= 2 ? AnsiString(run, 'm') : AnsiString(std::min<size_t>(run, 4), 'M');
        afterHour = false;
        break;
      case 'n': out += AnsiString(std::min<size_t>(run, 2), 'm'); break;
      case 'd': out += AnsiString(std::min<size_t>(run, 4), 'd'); break;
      case 'h':
        out += AnsiString(std::min<size_t>(run, 2), twelve ? 'h' : 'H');
        afterHour = true;
        break;
      case 's': out += AnsiString(std::min<size_t>(run, 2), 's'); break;
      case 'z': break;  // milliseconds are not shown
      case '/': out += AnsiString(run, SysUtils::DateSeparator); break;
      case ':': out += AnsiString(run, SysUtils::TimeSeparator); break;
      default: {
        // Anything else stands as it is; letters the picker reads as fields are quoted.
        size_t n = CharLen(f, i);
        AnsiString ch = f.substr(i, n);
        if (n == 1 && std::isalpha(static_cast<unsigned char>(f[i])))
          quoted(ch);
        else
          out += ch;
        i += n;
        continue;
      }
    }
    i += run;
  }
  return out;
}

void DateTimeModel::SetFormat(const AnsiString& format)
{
  Settle();
  FParts = ParseFormat(format);
  FCurrent = FirstField();
}

int DateTimeModel::FirstField() const
{
  for (size_t i = 0; i < FParts.size(); ++i)
    if (FParts[i].kind != Kind::Literal) return int(i);
  return -1;
}

AnsiString DateTimeModel::PartText(size_t part) const
{
  if (part >= FParts.size()) return AnsiString();
  const Part& p = FParts[part];
  if (int(part) == FCurrent && !FTyped.empty()) return FTyped;
  int hour12 = F.hour % 12 == 0 ? 12 : F.hour % 12;
  int pad = p.count >= 2 ? 2 : 1;
  switch (p.kind) {
    case Kind::Literal: return p.text;
    case Kind::Year:
      return p.count >= 3 ? Padded(F.year, 4) : p.count == 2 ? Padded(F.year % 100, 2) : Padded(F.year % 10, 1);
    case Kind::Month:
      if (p.count >= 3)
        return (p.count == 3 ? SysUtils::ShortMonthNames : SysUtils::LongMonthNames)[size_t(F.month - 1)];
      return Padded(F.month, pad);
    case Kind::Day: return Padded(F.day, pad);
    case Kind::DayName: {
      int dow = SysUtils::DayOfWeek(SysUtils::EncodeDate(Word(F.year), Word(F.month), Word(F.day))) - 1;
      return (p.count == 3 ? SysUtils::ShortDayNames : SysUtils::LongDayNames)[size_t(dow)];
    }
    case Kind::Hour12: return Padded(hour12, pad);
    case Kind::Hour24: return Padded(F.hour, pad);
    case Kind::Minute: return Padded(F.minute, pad);
    case Kind::Second: return Padded(F.second, pad);
    case Kind::AmPm: {
      const AnsiString& s = F.hour < 12 ? SysUtils::TimeAMString : SysUtils::TimePMString;
      return p.count == 1 && !s.empty() ? s.substr(0, CharLen(s, 0)) : s;
    }
  }
  return AnsiString();
}

AnsiString DateTimeModel::Text() const
{
  AnsiString t;
  for (size_t i = 0; i < FParts.size(); ++i) t += PartText(i);
  return t;
}

// ==== Value and range ===========================================================================

TDateTime DateTimeModel::Value() const
{
  // Before 1899-12-30 the day counts down while the time of day still counts up.
  TDateTime d = SysUtils::EncodeDate(Word(F.year), Word(F.month), Word(F.day));
  TDateTime t = SysUtils::EncodeTime(Word(F.hour), Word(F.minute), Word(F.second), 0);
  return d >= 0 ? d + t : d - t;
}

bool DateTimeModel::SetValue(TDateTime value)
{
  if (value < SysUtils::EncodeDate(kMinYear, 1, 1) || value >= SysUtils::EncodeDate(kMaxYear, 12, 31) + 1) return false;
  if ((FRangeFlags & GDTR_MIN) && value < FMin) return false;
  if ((FRangeFlags & GDTR_MAX) && value > FMax) return false;
  Word y, m, d, h, n, s, ms;
  SysUtils::DecodeDate(value, y, m, d);
  SysUtils::DecodeTime(value, h, n, s, ms);
  F = Fields{y, m, d, h, n, s};
  FTyped.clear();
  return true;
}

bool DateTimeModel::SetRange(unsigned flags, TDateTime minValue, TDateTime maxValue)
{
  flags &= GDTR_MIN | GDTR_MAX;
  if ((flags & GDTR_MIN) && (flags & GDTR_MAX) && minValue > maxValue) return false;
  FRangeFlags = flags;
  FMin = minValue;
  FMax = maxValue;
  TDateTime v = Value();
  if ((flags & GDTR_MIN) && v < FMin) SetValue(FMin);
  if ((flags & GDTR_MAX) && v > FMax) SetValue(FMax);
  return true;
}

unsigned DateTimeModel::Range(TDateTime& minValue, TDateTime& maxValue) const
{
  minValue = FMin;
  maxValue = FMax;
  return FRangeFlags;
}

// Takes new fields: the day clamped to its month, the whole kept inside the range.
bool DateTimeModel::Apply(Fields f)
{
  f.year = std::clamp(f.year, kMinYear, kMaxYear);
  f.day = std::min(f.day, DaysIn(f.year, f.month));
  TDateTime v = SysUtils::EncodeDate(Word(f.year), Word(f.month), Word(f.day)) +
                SysUtils::EncodeTime(Word(f.hour), Word(f.minute), Word(f.second), 0);
  if ((FRangeFlags & GDTR_MIN) && v < FMin) v = FMin;
  if ((FRangeFlags & GDTR_MAX) && v > FMax) v = FMax;
  TDateTime before = Value();
  AnsiString typed = FTyped;
  SetValue(v);
  FTyped = typed;
  return Value() != before;
}

// ==== Editing ===================================================================================

bool DateTimeModel::SelectPart(int part)
{
  if (part < 0 || part >= int(FParts.size()) || FParts[size_t(part)].kind == Kind::Literal) return false;
  if (part != FCurrent) Settle();
  FCurrent = part;
  return true;
}

bool DateTimeModel::MoveField(int direction)
{
  for (int i = FCurrent + direction; i >= 0 && i < int(FParts.size()); i += direction)
    if (FParts[size_t(i)].kind != Kind::Literal) return SelectPart(i);
  Settle();
  return false;
}

bool DateTimeModel::Step(int delta)
{
  if (FCurrent < 0) return false;
  Settle();
  Fields f = F;
  switch (FParts[size_t(FCurrent)].kind) {
    case Kind::Year: f.year += delta; break;
    case Kind::Month: f.month = Wrap(f.month + delta, 1, 12); break;
    case Kind::Day:
    case Kind::DayName: f.day = Wrap(f.day + delta, 1, DaysIn(f.year, f.month)); break;
    case Kind::Hour12:
    case Kind::Hour24: f.hour = Wrap(f.hour + delta, 0, 23); break;
    case Kind::Minute: f.minute = Wrap(f.minute + delta, 0, 59); break;
    case Kind::Second: f.second = Wrap(f.second + delta, 0, 59); break;
    case Kind::AmPm: f.hour = (f.hour + 12) % 24; break;
    case Kind::Literal: return false;
  }
  return Apply(f);
}

int DateTimeModel::DigitsFor(Kind kind) const
{
  if (kind == Kind::Year) return FParts[size_t(FCurrent)].count >= 3 ? 4 : 2;
  return kind == Kind::DayName || kind == Kind::AmPm ? 0 : 2;
}

bool DateTimeModel::TypeDigit(char digit)
{
  if (FCurrent < 0 || digit < '0' || digit > '9') return false;
  Kind kind = FParts[size_t(FCurrent)].kind;
  int width = DigitsFor(kind);
  if (width == 0) return false;
  Fields f = F;
  if (kind == Kind::Year) {
    FTyped += digit;
    if (int(FTyped.size()) < width) return false;
    int v = std::stoi(FTyped);
    FTyped.clear();
    f.year = width == 4 ? v : f.year / 100 * 100 + v;  // two digits keep the century
    return Apply(f);
  }
  int lo = 1, hi = 0;
  switch (kind) {
    case Kind::Month: hi = 12; break;
    case Kind::Day: hi = 31; break;
    case Kind::Hour12: hi = 12; break;
    case Kind::Hour24: lo = 0, hi = 23; break;
    default: lo = 0, hi = 59; break;
  }
  int v = FTyped.empty() ? digit - '0' : (FTyped[0] - '0') * 10 + (digit - '0');
  if (v > hi) v = digit - '0';  // the pair is no value: the digit starts over
  FTyped = std::to_string(v);
  if (v * 10 > hi) FTyped.clear();  // no second digit could follow
  if (v < lo) return false;         // a leading 0: wait for the next digit
  switch (kind) {
    case Kind::Month: f.month = v; break;
    case Kind::Day: f.day = v; break;
    case Kind::Hour12: f.hour = v % 12 + (f.hour >= 12 ? 12 : 0); break;
    case Kind::Hour24: f.hour = v; break;
    case Kind::Minute: f.minute = v; break;
    default: f.second = v; break;
  }
  return Apply(f);
}

void DateTimeModel::Settle() { FTyped.clear(); }
