// Sections:
//   decimal digits     Dec, FromFloat, FromCurr, RoundDigits
//   plain forms        general, exponent, fixed, number, currency (FloatToStrF, CurrToStrF)
//   pictures           FormatFloat, FormatCurr (sections, placeholders, scientific)
//   Format             directive parsing and the argument conversions
#include "platform/rtl/FormatText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

namespace SysUtils {

namespace {

// ---- Decimal digits ----------------------------------------------------------------------------

// The value 0.<digits> x 10^exp; digits carry no leading or trailing zeros, empty means zero.
struct Dec {
  bool neg = false;
  bool nan = false;
  bool inf = false;
  std::string digits;
  int exp = 0;
  bool IsZero() const { return digits.empty(); }
};

void Normalize(Dec& d)
{
  std::size_t lead = 0;
  while (lead < d.digits.size() && d.digits[lead] == '0') ++lead;
  d.digits.erase(0, lead);
  d.exp -= static_cast<int>(lead);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exp = 0;
}

constexpr int kMaxPrecision = 18;

int ClampPrecision(int precision) { return precision < 1 ? 1 : precision > kMaxPrecision ? kMaxPrecision : precision; }

Dec FromCurr(Currency c)
{
  Dec d;
  d.neg = c.Raw < 0;
  UInt64 mag = d.neg ? UInt64{0} - static_cast<UInt64>(c.Raw) : static_cast<UInt64>(c.Raw);
  d.digits = std::to_string(mag);
  d.exp = static_cast<int>(d.digits.size()) - 4;
  Normalize(d);
  return d;
}

// Keeps `count` digits from the first, rounding half away from zero.
void RoundDigits(Dec& d, int count)
{
  if (count >= static_cast<int>(d.digits.size())) return;
  if (count < 0) {
    d.digits.clear();
    d.exp = 0;
    return;
  }
  const bool up = d.digits[count] >= '5';
  d.digits.resize(count);
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp;
    } else {
      ++d.digits[i];
    }
  }
  Normalize(d);
}

Dec FromFloat(long double v, int precision)
{
  Dec d;
  if (std::isnan(v)) {
    d.nan = true;
    return d;
  }
  d.neg = std::signbit(v);
  if (std::isinf(v)) {
    d.inf = true;
    return d;
  }
  if (v == 0) {
    d.neg = false;
    return d;
  }
  // All the digits first, then our own rounding: half away from zero even on exact binary
  // ties (1234.5 to four digits is 1235), where the C library would round to even.
  char buf[64];
  const char* end;
  const double asDouble = static_cast<double>(v);
  if (asDouble == v) {
    // A double holds at most 17 significant digits; to_chars gives them exactly and fast.
    end = std::to_chars(buf, buf + sizeof buf, std::fabs(asDouble), std::chars_format::scientific, 16).ptr;
  } else {
    end = buf + std::snprintf(buf, sizeof buf, "%.*Le", kMaxPrecision - 1, std::fabs(v));
  }
  const char* p = buf;
  for (; p < end && *p != 'e'; ++p)
    if (*p != '.') d.digits += *p;
  int exp10 = 0;
  if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exp10);
  d.exp = exp10 + 1;
  Normalize(d);
  RoundDigits(d, ClampPrecision(precision));
  return d;
}

char DigitAt(const Dec& d, int index)
{
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

// ---- Plain forms -------------------------------------------------------------------------------

AnsiString SpecialText(const Dec& d)
{
  if (d.nan) return "NAN";
  return d.neg ? "-INF" : "INF";
}

AnsiString ExponentDigits(int e, int minDigits, bool alwaysSign)
{
  AnsiString s;
  if (e < 0)
    s += '-';
  else if (alwaysSign)
    s += '+';
  AnsiString n = std::to_string(e < 0 ? -e : e);
  if (static_cast<int>(n.size()) < minDigits) n.insert(0, minDigits - n.size(), '0');
  return s + n;
}

// Integer digits with thousand separators when asked; "0" for none.
AnsiString IntegerPart(const Dec& d, bool thousands)
{
  AnsiString s;
  if (d.exp <= 0) return "0";
  for (int i = 0; i < d.exp; ++i) {
    if (thousands && i > 0 && (d.exp - i) % 3 == 0 && ThousandSeparator != '\0') s += ThousandSeparator;
    s += DigitAt(d, i);
  }
  return s;
}

// d already rounded to `decimals`.
AnsiString FixedText(const Dec& d, int decimals, bool thousands)
{
  AnsiString s = IntegerPart(d, thousands);
  if (decimals > 0) {
    s += DecimalSeparator;
    for (int i = 0; i < decimals; ++i) s += DigitAt(d, d.exp + i);
  }
  return s;
}

AnsiString GeneralText(const Dec& d, int precision, int expDigits)
{
  if (d.IsZero()) return "0";
  AnsiString s = d.neg ? "-" : "";
  if (d.exp > precision || d.exp < -3) {
    s += d.digits[0];
    if (d.digits.size() > 1) {
      s += DecimalSeparator;
      s.append(d.digits, 1);
    }
    s += 'E';
    s += ExponentDigits(d.exp - 1, expDigits, false);
    return s;
  }
  s += IntegerPart(d, false);
  const int fracLen = static_cast<int>(d.digits.size()) - d.exp;
  if (fracLen > 0) {
    s += DecimalSeparator;
    for (int i = 0; i < fracLen; ++i) s += DigitAt(d, d.exp + i);
  }
  return s;
}

AnsiString ExponentText(const Dec& d, int precision, int expDigits)
{
  AnsiString s = d.neg && !d.IsZero() ? "-" : "";
  s += DigitAt(d, 0);
  if (precision > 1) {
    s += DecimalSeparator;
    for (int i = 1; i < precision; ++i) s += DigitAt(d, i);
  }
  s += 'E';
  s += ExponentDigits(d.IsZero() ? 0 : d.exp - 1, expDigits, true);
  return s;
}

AnsiString CurrencyText(const AnsiString& number, bool negative)
{
  const AnsiString& c = CurrencyString;
  if (!negative) {
    switch (CurrencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  const AnsiString& n = number;
  switch (NegCurrFormat) {
    case 0: return "(" + c + n + ")";
    case 1: return "-" + c + n;
    case 3: return c + n + "-";
    case 4: return "(" + n + c + ")";
    case 5: return "-" + n + c;
    case 6: return n + "-" + c;
    case 7: return n + c + "-";
    case 8: return "-" + n + " " + c;
    case 9: return "-" + c + " " + n;
    case 10: return n + " " + c + "-";
    case 11: return c + " " + n + "-";
    case 12: return c + " -" + n;
    case 13: return n + "- " + c;
    case 14: return "(" + c + " " + n + ")";
    case 15: return "(" + n + " " + c + ")";
    default: return c + "-" + n;  // 2
  }
}

// d holds at most `precision` significant digits already.
AnsiString FormatDec(Dec d, TFloatFormat format, int precision, int digits)
{
  if (d.nan || d.inf) return SpecialText(d);
  switch (format) {
    case ffExponent: return ExponentText(d, precision, digits < 0 ? 0 : digits > 4 ? 4 : digits);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (d.exp > precision) return GeneralText(d, precision, 0);
      const int decimals = digits < 0 ? 0 : digits > 18 ? 18 : digits;
      RoundDigits(d, d.exp + decimals);
      const bool negative = d.neg && !d.IsZero();
      const AnsiString number = FixedText(d, decimals, format != ffFixed);
      if (format == ffCurrency) return CurrencyText(number, negative);
      return negative ? "-" + number : number;
    }
    default: return GeneralText(d, precision, digits < 0 ? 0 : digits > 4 ? 4 : digits);
  }
}

// ---- Pictures ----------------------------------------------------------------------------------

struct Picture {
  int intPlaces = 0;   // '0'/'#' before the point
  int firstZero = -1;  // index among them of the first '0'
  int fracPlaces = 0;  // '0'/'#' after the point
  int lastZero = -1;   // index among them of the last '0'
  bool thousands = false;
  bool scientific = false;
};

// Length in bytes of the character at s[i] (a lead byte carries its trail).
std::size_t CharLen(const AnsiString& s, std::size_t i) { return System::IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1; }

bool IsExponentAt(const AnsiString& s, std::size_t i)
{
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// Splits at ';' outside quotes.
std::vector<AnsiString> SplitSections(const AnsiString& fmt)
{
  std::vector<AnsiString> out(1);
  for (std::size_t i = 0; i < fmt.size();) {
    const char c = fmt[i];
    if (c == '\'' || c == '"') {
      std::size_t j = fmt.find(c, i + 1);
      j = j == AnsiString::npos ? fmt.size() : j + 1;
      out.back().append(fmt, i, j - i);
      i = j;
    } else if (c == ';') {
      out.emplace_back();
      ++i;
    } else {
      const std::size_t n = CharLen(fmt, i);
      out.back().append(fmt, i, n);
      i += n;
    }
  }
  return out;
}

Picture Analyze(const AnsiString& s)
{
  Picture p;
  bool afterPoint = false;
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '\'' || c == '"') {
      const std::size_t j = s.find(c, i + 1);
      i = j == AnsiString::npos ? s.size() : j + 1;
      continue;
    }
    if (c == '0' || c == '#') {
      if (afterPoint) {
        if (c == '0') p.lastZero = p.fracPlaces;
        ++p.fracPlaces;
      } else {
        if (c == '0' && p.firstZero < 0) p.firstZero = p.intPlaces;
        ++p.intPlaces;
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
    } else if (c == ',' && !afterPoint) {
      p.thousands = true;
    } else if (IsExponentAt(s, i)) {
      p.scientific = true;
      break;
    }
    i += CharLen(s, i);
  }
  return p;
}

AnsiString RenderPicture(const AnsiString& s, const Picture& p, const Dec& r, bool minus)
{
  // Digits before the point, padded to the mandatory width.
  AnsiString intDigits;
  int expShown = 0;
  if (p.scientific) {
    if (!r.IsZero()) {
      for (int i = 0; i < p.intPlaces; ++i) intDigits += DigitAt(r, i);
      expShown = r.exp - p.intPlaces;
    }
  } else {
    for (int i = 0; i < r.exp; ++i) intDigits += DigitAt(r, i);
  }
  const int mandatory = p.firstZero < 0 ? 0 : p.intPlaces - p.firstZero;
  if (static_cast<int>(intDigits.size()) < mandatory) intDigits.insert(0, mandatory - intDigits.size(), '0');
  const int width = static_cast<int>(intDigits.size());
  const int fracStart = p.scientific ? p.intPlaces : r.exp;
  int significantFrac = static_cast<int>(r.digits.size()) - fracStart;
  if (significantFrac < 0) significantFrac = 0;
  if (significantFrac > p.fracPlaces) significantFrac = p.fracPlaces;
  const int visibleFrac = std::max(p.lastZero + 1, significantFrac);

  AnsiString out = minus ? "-" : "";
  int intIndex = 0;
  int fracIndex = 0;
  bool intDone = false;
  bool afterPoint = false;
  auto emitInt = [&](int lo, int hi) {
    for (int k = lo; k <= hi; ++k) {
      if (p.thousands && k > 0 && (width - k) % 3 == 0 && ThousandSeparator != '\0') out += ThousandSeparator;
      out += intDigits[k];
    }
  };
  auto finishInt = [&]() {
    // A picture without integer places still shows the integer digits.
    if (!intDone && p.intPlaces == 0) emitInt(0, width - 1);
    intDone = true;
  };
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '\'' || c == '"') {
      const std::size_t j = s.find(c, i + 1);
      const std::size_t end = j == AnsiString::npos ? s.size() : j;
      out.append(s, i + 1, end - i - 1);
      i = j == AnsiString::npos ? s.size() : j + 1;
      continue;
    }
    if (c == '0' || c == '#') {
      if (!afterPoint) {
        const int hi = intIndex + width - p.intPlaces;
        const int lo = intIndex == 0 ? 0 : hi;
        if (hi >= 0) emitInt(lo, hi);
        ++intIndex;
      } else {
        if (fracIndex < visibleFrac) out += DigitAt(r, fracStart + fracIndex);
        ++fracIndex;
      }
      ++i;
    } else if (c == '.') {
      if (!afterPoint) {
        finishInt();
        afterPoint = true;
        if (visibleFrac > 0) out += DecimalSeparator;
      }
      ++i;
    } else if (c == ',') {
      ++i;
    } else if (p.scientific && IsExponentAt(s, i)) {
      finishInt();
      out += c;
      if (expShown < 0)
        out += '-';
      else if (s[i + 1] == '+')
        out += '+';
      i += 2;
      int places = 0;
      while (i < s.size() && s[i] == '0') {
        ++places;
        ++i;
      }
      AnsiString n = std::to_string(expShown < 0 ? -expShown : expShown);
      if (static_cast<int>(n.size()) < places) n.insert(0, places - n.size(), '0');
      out += n;
    } else {
      const std::size_t n = CharLen(s, i);
      out.append(s, i, n);
      i += n;
    }
  }
  return out;
}

// `d` holds the digits the picture may round from; `general` renders an empty section.
AnsiString FormatPicture(const AnsiString& fmt, const Dec& d, AnsiString (*general)(const Dec&))
{
  if (d.nan || d.inf) return SpecialText(d);
  const std::vector<AnsiString> sections = SplitSections(fmt);
  auto has = [&](std::size_t i) { return sections.size() > i && !sections[i].empty(); };
  std::size_t index = d.IsZero() ? (has(2) ? 2 : 0) : d.neg && has(1) ? 1 : 0;
  bool rounded = false;
  for (;;) {
    const AnsiString& section = sections[index];
    if (section.empty()) return general(d);
    const Picture p = Analyze(section);
    // Past 18 integer digits a fixed picture would print digits that are not there (a double
    // holds 15): the classic formatter answers with the general form instead.
    if (!p.scientific && d.exp > 18) return general(d);
    Dec r = d;
    if (p.scientific)
      RoundDigits(r, std::max(1, p.intPlaces + p.fracPlaces));
    else
      RoundDigits(r, r.exp + p.fracPlaces);
    // A value that rounds to zero shows as zero: in the zero section if there is one, else
    // in the first, and never as "-0".
    if (r.IsZero() && !d.IsZero() && !rounded) {
      rounded = true;
      const std::size_t zeroIndex = has(2) ? 2 : 0;
      if (zeroIndex != index) {
        index = zeroIndex;
        continue;
      }
    }
    const bool minus = index == 0 && d.neg && !r.IsZero();
    return RenderPicture(section, p, r, minus);
  }
}

AnsiString GeneralOfFloat(const Dec& d) { return GeneralText(d, 15, 0); }
AnsiString GeneralOfCurr(const Dec& d) { return GeneralText(d, 19, 0); }

}  // namespace

// ---- Public number routines ------------------------------------------------------------------

void FloatToDecimal(TFloatRec& result, long double value, int precision, int decimals)
{
  Dec d = FromFloat(value, precision);
  result = TFloatRec();
  result.Negative = d.neg;
  if (d.nan) {
    result.Exponent = static_cast<SmallInt>(-32768);
    return;
  }
  if (d.inf) {
    result.Exponent = 0x7FFF;
    return;
  }
  if (decimals >= 0) RoundDigits(d, d.exp + decimals);
  result.Exponent = static_cast<SmallInt>(d.exp);
  std::memcpy(result.Digits, d.digits.data(), std::min<std::size_t>(d.digits.size(), 20));
}

AnsiString IntToStr(Int64 value) { return std::to_string(value); }

AnsiString UIntToStr(UInt64 value) { return std::to_string(value); }

AnsiString IntToHexBits(UInt64 bits, int digits)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(bits));
  AnsiString s = buf;
  if (digits > 32) digits = 32;
  if (static_cast<int>(s.size()) < digits) s.insert(0, digits - s.size(), '0');
  return s;
}

AnsiString FloatToStr(double value) { return FloatToStrF(value, ffGeneral, 15, 0); }

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
  precision = ClampPrecision(precision);
  return FormatDec(FromFloat(value, precision), format, precision, digits);
}

AnsiString CurrToStrF(Currency value, TFloatFormat format, int digits)
{
  return FormatDec(FromCurr(value), format, 19, digits);
}

AnsiString CurrToStr(Currency value) { return CurrToStrF(value, ffGeneral, 0); }

AnsiString FormatFloat(const AnsiString& format, double value)
{
  return FormatPicture(format, FromFloat(value, 15), GeneralOfFloat);
}

AnsiString FormatCurr(const AnsiString& format, Currency value)
{
  return FormatPicture(format, FromCurr(value), GeneralOfCurr);
}

// ---- Format ------------------------------------------------------------------------------------

namespace {

// Widths and precisions beyond this are taken as a malformed directive rather than a request
// for a huge text.
constexpr int kMaxFieldWidth = 1 << 20;

[[noreturn]] void FormatError(const AnsiString& fmt)
{
  throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

// Cuts to at most `bytes` bytes without splitting a double-byte character.
AnsiString CutText(const AnsiString& s, int bytes)
{
  if (bytes < 0 || static_cast<std::size_t>(bytes) >= s.size()) return s;
  std::size_t i = 0;
  while (i < static_cast<std::size_t>(bytes)) {
    const std::size_t n = CharLen(s, i);
    if (i + n > static_cast<std::size_t>(bytes)) break;
    i += n;
  }
  return s.substr(0, i);
}

AnsiString PadDigits(AnsiString digits, int minDigits)
{
  if (minDigits > 0 && static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return digits;
}

AnsiString SignedText(Int64 v, int prec)
{
  const bool neg = v < 0;
  const UInt64 mag = neg ? UInt64{0} - static_cast<UInt64>(v) : static_cast<UInt64>(v);
  AnsiString s = PadDigits(std::to_string(mag), prec);
  return neg ? "-" + s : s;
}

// Converts one argument by its directive type into `text`.
void FormatArgument(char type, const TVarRec& a, const Variant* var, bool varOrdinal, bool varNumber, int prec,
                    AnsiString& text, const AnsiString& fmt)
{
  switch (type) {
    case 'd':
      if (a.VType == TVarRec::vtInteger)
        text = SignedText(a.VInteger, prec);
      else if (a.VType == TVarRec::vtInt64)
        text = SignedText(a.VInt64, prec);
      else if (a.VType == TVarRec::vtUInt64)
        text = PadDigits(std::to_string(a.VUInt64), prec);
      else if (varOrdinal)
        text = SignedText(var->AsInt64(), prec);
      else
        FormatError(fmt);
      break;
    case 'u':
    case 'x': {
      UInt64 bits;
      if (a.VType == TVarRec::vtInteger)
        bits = static_cast<std::uint32_t>(a.VInteger);
      else if (a.VType == TVarRec::vtInt64)
        bits = static_cast<UInt64>(a.VInt64);
      else if (a.VType == TVarRec::vtUInt64)
        bits = a.VUInt64;
      else if (varOrdinal)
        bits = static_cast<UInt64>(var->AsInt64());
      else
        FormatError(fmt);
      text = type == 'u' ? PadDigits(std::to_string(bits), prec) : IntToHexBits(bits, prec);
      break;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
      Dec d;
      int precision = 15;
      // 15 significant digits, as FloatToStr shows, unless %e or %g asks for more.
      const int digits = (type == 'e' || type == 'g') && prec > 15 ? ClampPrecision(prec) : 15;
      if (a.VType == TVarRec::vtExtended) {
        d = FromFloat(a.VExtended, digits);
      } else if (a.VType == TVarRec::vtCurrency) {
        d = FromCurr(Currency::FromRaw(a.VCurrency));
        precision = 19;
      } else if (varNumber) {
        d = FromFloat(var->AsDouble(), digits);
      } else {
        FormatError(fmt);
      }
      switch (type) {
        case 'e': {
          const int p = prec < 0 ? 15 : ClampPrecision(prec);
          RoundDigits(d, p);
          text = FormatDec(d, ffExponent, p, 3);
          break;
        }
        case 'g': {
          const int p = prec < 0 ? 15 : ClampPrecision(prec);
          RoundDigits(d, p);
          text = FormatDec(d, ffGeneral, p, 0);
          break;
        }
        case 'f': text = FormatDec(d, ffFixed, precision, prec < 0 ? 2 : prec); break;
        case 'n': text = FormatDec(d, ffNumber, precision, prec < 0 ? 2 : prec); break;
        default: text = FormatDec(d, ffCurrency, precision, prec < 0 ? CurrencyDecimals : prec); break;
      }
      break;
    }
    case 's':
      switch (a.VType) {
        case TVarRec::vtAnsiString: text = *a.VAnsiString; break;
        case TVarRec::vtPChar: text = a.VPChar ? a.VPChar : ""; break;
        case TVarRec::vtChar: text = AnsiString(1, a.VChar); break;
        case TVarRec::vtWideString: text = System::WideToAnsi(*a.VWideString); break;
        case TVarRec::vtWideChar: text = System::WideToAnsi(WideString(1, a.VWideChar)); break;
        case TVarRec::vtPWideChar: text = a.VPWideChar ? System::WideToAnsi(a.VPWideChar) : ""; break;
        case TVarRec::vtVariant: text = a.VVariant->AsString(); break;
        default: FormatError(fmt);
      }
      text = CutText(text, prec);
      break;
    case 'p':
      if (a.VType != TVarRec::vtPointer && a.VType != TVarRec::vtPChar && a.VType != TVarRec::vtPWideChar)
        FormatError(fmt);
      text = IntToHexBits(reinterpret_cast<std::uintptr_t>(a.VPointer), 2 * sizeof(void*));
      break;
    default: FormatError(fmt);
  }
}

}  // namespace

AnsiString Format(const AnsiString& fmt, const TVarRec* args, std::size_t count)
{
  AnsiString out;
  out.reserve(fmt.size() + 16 * count);
  std::size_t next = 0;  // the argument the next directive takes
  const std::size_t n = fmt.size();
  auto takeArg = [&]() -> const TVarRec& {
    if (next >= count) FormatError(fmt);
    return args[next++];
  };
  // A number in the directive, or "*" taking an integer argument; empty when absent.
  auto readNumber = [&](std::size_t& i) -> std::optional<int> {
    if (i < n && fmt[i] == '*') {
      ++i;
      const TVarRec& a = takeArg();
      if (a.VType == TVarRec::vtInteger) return a.VInteger;
      if (a.VType == TVarRec::vtInt64 && a.VInt64 >= INT32_MIN && a.VInt64 <= INT32_MAX)
        return static_cast<int>(a.VInt64);
      FormatError(fmt);
    }
    if (i >= n || fmt[i] < '0' || fmt[i] > '9') return std::nullopt;
    long v = 0;
    while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
      v = v * 10 + (fmt[i++] - '0');
      if (v > kMaxFieldWidth) FormatError(fmt);
    }
    return static_cast<int>(v);
  };

  for (std::size_t i = 0; i < n;) {
    const char c = fmt[i];
    if (c != '%') {
      const std::size_t len = CharLen(fmt, i);
      out.append(fmt, i, len);
      i += len;
      continue;
    }
    if (++i >= n) FormatError(fmt);
    if (fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // [index:][-][width][.prec]type
    std::optional<int> number = readNumber(i);
    if (i < n && fmt[i] == ':') {
      if (!number || *number < 0) FormatError(fmt);
      next = static_cast<std::size_t>(*number);
      ++i;
      number.reset();
    }
    bool left = false;
    int width = 0;
    if (number) {
      width = *number;
    } else {
      if (i < n && fmt[i] == '-') {
        left = true;
        ++i;
      }
      width = readNumber(i).value_or(0);
    }
    if (width < 0) {  // a negative "*" width justifies left
      left = true;
      width = width == INT32_MIN ? INT32_MAX : -width;
    }
    if (width > kMaxFieldWidth) FormatError(fmt);
    int prec = -1;
    if (i < n && fmt[i] == '.') {
      ++i;
      prec = readNumber(i).value_or(0);
      if (prec > kMaxFieldWidth) FormatError(fmt);
      if (prec < 0) prec = -1;  // a negative "*" precision counts as none
    }
    if (i >= n) FormatError(fmt);
    const char type = static_cast<char>(fmt[i] | 0x20);  // lower case
    ++i;
    const TVarRec& a = takeArg();
    AnsiString text;
    const Variant* var = a.VType == TVarRec::vtVariant ? a.VVariant : nullptr;
    // Variants convert by their own rules; one that cannot is a mismatched argument.
    const bool varOrdinal = var && !var->IsArray() && !Variants::VarIsFloat(*var);
    const bool varNumber =
        var && !var->IsArray() &&
        (Variants::VarIsNumeric(*var) || Variants::VarIsStr(*var) || Variants::VarType(*var) == varDate);
    try {
      FormatArgument(type, a, var, varOrdinal, varNumber, prec, text, fmt);
    } catch (const EVariantError&) {
      FormatError(fmt);
    }
    if (width > 0 && static_cast<int>(text.size()) < width) {
      if (left)
        text.append(width - text.size(), ' ');
      else
        text.insert(0, width - text.size(), ' ');
    }
    out += text;
  }
  return out;
}

AnsiString Format(const AnsiString& fmt, std::initializer_list<TVarRec> args)
{
  return Format(fmt, args.begin(), args.size());
}

AnsiString Format(const AnsiString& fmt, const std::vector<TVarRec>& args)
{
  return Format(fmt, args.data(), args.size());
}

}  // namespace SysUtils
