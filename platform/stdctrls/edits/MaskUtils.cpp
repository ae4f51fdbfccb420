#include "platform/stdctrls/edits/MaskUtils.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatSettings.h"

namespace MaskUtils {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The bytes that may follow a lead byte; the EDIT window drops a lead byte before any other.
bool IsTrailByte(char c)
{
  auto b = static_cast<unsigned char>(c);
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

bool IsLoneLead(const AnsiString& Ch) { return Ch.size() == 1 && System::IsLeadByte(Ch[0]); }

// The byte length of the character at byte offset i (0-based): a lead byte without a trail byte
// counts as one.
std::size_t CharBytes(const AnsiString& s, std::size_t i)
{
  return (System::IsLeadByte(s[i]) && i + 1 < s.size() && IsTrailByte(s[i + 1])) ? 2 : 1;
}

}  // namespace

std::vector<AnsiString> SplitChars(const AnsiString& Text)
{
  std::vector<AnsiString> out;
  for (std::size_t i = 0; i < Text.size();) {
    std::size_t n = CharBytes(Text, i);
    out.push_back(Text.substr(i, n));
    i += n;
  }
  return out;
}

TEditMask::TEditMask(const AnsiString& EditMask)
{
  // The mask part ends at the first ";" that no "\" escapes.
  std::size_t end = EditMask.size();
  for (std::size_t i = 0; i < EditMask.size();) {
    if (EditMask[i] == ';') {
      end = i;
      break;
    }
    std::size_t n = CharBytes(EditMask, i);
    if (EditMask[i] == '\\' && i + 1 < EditMask.size()) n += CharBytes(EditMask, i + 1);
    i += n;
  }
  if (end < EditMask.size()) {
    AnsiString fields = EditMask.substr(end + 1);
    FSaveLiterals = fields.empty() || fields[0] != '0';
    std::size_t second = fields.find(';');
    // A lead byte would join the next character, a control character shows nothing: neither
    // can stand in an unfilled place.
    if (second != AnsiString::npos && second + 1 < fields.size()) {
      char blank = fields[second + 1];
      if (!System::IsLeadByte(blank) && static_cast<unsigned char>(blank) >= 32) FBlank = blank;
    }
  }

  TMaskCase rule = TMaskCase::Unchanged;
  const AnsiString body = EditMask.substr(0, end);
  for (std::size_t i = 0; i < body.size();) {
    char c = body[i];
    std::size_t n = CharBytes(body, i);
    TMaskItem item;
    switch (c) {
      case '!': FReverse = true; break;
      case '>':
        if (i + 1 < body.size() && body[i + 1] == '<') {
          rule = TMaskCase::Unchanged;
          ++n;
        } else
          rule = TMaskCase::Upper;
        break;
      case '<':
        if (i + 1 < body.size() && body[i + 1] == '>') {
          rule = TMaskCase::Unchanged;
          ++n;
        } else
          rule = TMaskCase::Lower;
        break;
      case '\\':
        // A "\" at the very end escapes nothing and is dropped.
        if (i + 1 < body.size()) {
          std::size_t m = CharBytes(body, i + 1);
          item.Literal = true;
          item.Char = body.substr(i + 1, m);
          n += m;
        }
        break;
      case 'L':
      case 'l':
      case 'A':
      case 'a':
      case 'C':
      case 'c':
        item.Kind = char(c & ~0x20);
        item.Required = (c & 0x20) == 0;
        break;
      case '0':
      case '9':
        item.Kind = c;
        item.Required = c == '0';
        break;
      case '#': item.Kind = '#'; break;
      case ':':
        item.Literal = true;
        item.Char = AnsiString(1, SysUtils::TimeSeparator);
        break;
      case '/':
        item.Literal = true;
        item.Char = AnsiString(1, SysUtils::DateSeparator);
        break;
      case '_':
        item.Literal = true;
        item.Char = " ";
        break;
      default:
        item.Literal = true;
        item.Char = body.substr(i, n);
        break;
    }
    // A literal the window could not show (NUL, a lead byte without its trail) is left out.
    if (item.Literal && (item.Char == AnsiString(1, '\0') || IsLoneLead(item.Char))) item.Literal = false;
    if (item.Literal || item.Kind) {
      item.Case = rule;
      FItems.push_back(item);
    }
    i += n;
  }
}

int TEditMask::NextInput(int Index) const
{
  int i = std::max(Index, 0);
  while (i < Count() && FItems[std::size_t(i)].Literal) ++i;
  return i;
}

int TEditMask::PrevInput(int Index) const
{
  int i = std::min(Index, Count()) - 1;
  while (i >= 0 && FItems[std::size_t(i)].Literal) --i;
  return i;
}

bool TEditMask::Accepts(int Index, AnsiString& Ch) const
{
  if (Index < 0 || Index >= Count() || Ch.empty() || Ch[0] == 0 || IsLoneLead(Ch)) return false;
  if (Ch.size() == 2 && !IsTrailByte(Ch[1])) return false;
  const TMaskItem& item = FItems[std::size_t(Index)];
  if (item.Literal) return false;
  bool wide = Ch.size() == 2;
  char c = Ch[0];
  bool ok = false;
  switch (item.Kind) {
    case 'L': ok = wide || IsAsciiLetter(c); break;
    case 'A': ok = wide || IsAsciiLetter(c) || IsDigit(c); break;
    case 'C': ok = c != ' ' && c != FBlank; break;
    case '0':
    case '9': ok = !wide && IsDigit(c); break;
    case '#': ok = !wide && (IsDigit(c) || c == '+' || c == '-'); break;
    default: break;
  }
  if (!ok) return false;
  if (!wide && IsAsciiLetter(c)) {
    if (item.Case == TMaskCase::Upper && c >= 'a') Ch[0] = char(c - 32);
    if (item.Case == TMaskCase::Lower && c <= 'Z') Ch[0] = char(c + 32);
  }
  return true;
}

AnsiString TEditMask::Format(const AnsiString& Value, char ABlank) const
{
  std::vector<AnsiString> chars = SplitChars(Value);
  AnsiString out;
  // A lead byte without its trail byte would join the character after it: it shows as a blank.
  auto input = [&](const AnsiString& c) {
    bool blank = c.empty() || c == " " || c == AnsiString(1, FBlank) || c[0] == 0 || IsLoneLead(c);
    out += blank ? AnsiString(1, ABlank) : c;
  };
  if (FSaveLiterals) {
    // The value holds the literals at their places: one character per position.
    int shift = (FReverse && int(chars.size()) < Count()) ? Count() - int(chars.size()) : 0;
    for (int i = 0; i < Count(); ++i) {
      const TMaskItem& item = FItems[std::size_t(i)];
      int from = i - shift;
      if (item.Literal)
        out += item.Char;
      else
        input(from >= 0 && from < int(chars.size()) ? chars[std::size_t(from)] : AnsiString());
    }
    return out;
  }
  // The value holds the input characters only: they fill the input places in order.
  int places = 0;
  for (const TMaskItem& item : FItems) places += item.Literal ? 0 : 1;
  int skip = (FReverse && int(chars.size()) < places) ? places - int(chars.size()) : 0;
  int next = -skip;
  for (const TMaskItem& item : FItems) {
    if (item.Literal) {
      out += item.Char;
      continue;
    }
    input(next >= 0 && next < int(chars.size()) ? chars[std::size_t(next)] : AnsiString());
    ++next;
  }
  return out;
}

AnsiString TEditMask::Value(const AnsiString& EditText) const
{
  std::vector<AnsiString> chars = SplitChars(EditText);
  AnsiString out;
  for (int i = 0; i < Count(); ++i) {
    const TMaskItem& item = FItems[std::size_t(i)];
    AnsiString c = i < int(chars.size()) ? chars[std::size_t(i)] : AnsiString();
    if (item.Literal) {
      if (FSaveLiterals) out += c.empty() ? item.Char : c;
    } else
      out += (c.empty() || c == AnsiString(1, FBlank)) ? AnsiString(" ") : c;
  }
  return out;
}

int TEditMask::FirstInvalid(const AnsiString& EditText) const
{
  std::vector<AnsiString> chars = SplitChars(EditText);
  for (int i = 0; i < Count(); ++i) {
    const TMaskItem& item = FItems[std::size_t(i)];
    AnsiString c = i < int(chars.size()) ? chars[std::size_t(i)] : AnsiString();
    if (item.Literal) {
      if (c != item.Char) return i;
      continue;
    }
    if (c.empty() || c == " " || c == AnsiString(1, FBlank)) {
      if (item.Required) return i;
      continue;
    }
    if (!Accepts(i, c)) return i;
  }
  return int(chars.size()) > Count() ? Count() : -1;
}

AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value)
{
  TEditMask mask(EditMask);
  if (!mask.IsMasked()) return Value;
  return mask.Format(Value, ' ');
}

}  // namespace MaskUtils
