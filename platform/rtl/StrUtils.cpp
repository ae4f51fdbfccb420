#include "platform/rtl/StrUtils.h"

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"

namespace StrUtils {

namespace {

// 0-based byte offsets of the character starts of s, with s.size() at the end.
std::vector<std::size_t> CharStarts(const AnsiString& s)
{
  std::vector<std::size_t> starts;
  starts.reserve(s.size() + 1);
  for (std::size_t i = 0; i < s.size(); i += (System::IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1)
    starts.push_back(i);
  starts.push_back(s.size());
  return starts;
}

template <class List>
int IndexOf(const AnsiString& text, const List& values, bool ignoreCase)
{
  int index = 0;
  for (const auto& v : values) {
    if (ignoreCase ? SysUtils::AnsiSameText(text, v) : text == v) return index;
    ++index;
  }
  return -1;
}

bool EndsWith(const AnsiString& sub, const AnsiString& text, bool ignoreCase)
{
  if (sub.size() > text.size()) return false;
  std::size_t at = text.size() - sub.size();
  // The suffix must start a character of text.
  if (at > 0 && System::ByteType(text, static_cast<int>(at) + 1) == System::mbTrailByte) return false;
  AnsiString tail = text.substr(at);
  return ignoreCase ? SysUtils::AnsiSameText(sub, tail) : sub == tail;
}

bool StartsWith(const AnsiString& sub, const AnsiString& text, bool ignoreCase)
{
  if (sub.size() > text.size()) return false;
  // The prefix must end on a character boundary of text.
  if (sub.size() < text.size() && !sub.empty() &&
      System::ByteType(text, static_cast<int>(sub.size())) == System::mbLeadByte)
    return false;
  AnsiString head = text.substr(0, sub.size());
  return ignoreCase ? SysUtils::AnsiSameText(sub, head) : sub == head;
}

}  // namespace

// ---- Parts of a text ------------------------------------------------------------------------

AnsiString LeftStr(const AnsiString& s, int count) { return System::Copy(s, 1, count); }

AnsiString RightStr(const AnsiString& s, int count)
{
  if (count <= 0) return AnsiString();
  std::size_t n = std::min(static_cast<std::size_t>(count), s.size());
  return s.substr(s.size() - n);
}

AnsiString MidStr(const AnsiString& s, int start, int count) { return System::Copy(s, start, count); }

AnsiString AnsiLeftStr(const AnsiString& s, int count) { return AnsiMidStr(s, 1, count); }

AnsiString AnsiRightStr(const AnsiString& s, int count)
{
  if (count <= 0) return AnsiString();
  auto starts = CharStarts(s);
  std::size_t chars = starts.size() - 1;
  std::size_t n = std::min(static_cast<std::size_t>(count), chars);
  return s.substr(starts[chars - n]);
}

AnsiString AnsiMidStr(const AnsiString& s, int start, int count)
{
  if (count <= 0) return AnsiString();
  if (start < 1) start = 1;
  auto starts = CharStarts(s);
  std::size_t chars = starts.size() - 1;
  std::size_t first = static_cast<std::size_t>(start - 1);
  if (first >= chars) return AnsiString();
  std::size_t last = std::min(chars, first + static_cast<std::size_t>(count));
  return s.substr(starts[first], starts[last] - starts[first]);
}

int PosEx(const AnsiString& sub, const AnsiString& s, int offset)
{
  if (sub.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
  auto at = s.find(sub, static_cast<std::size_t>(offset - 1));
  return at == AnsiString::npos ? 0 : static_cast<int>(at) + 1;
}

AnsiString DupeString(const AnsiString& s, int count)
{
  AnsiString out;
  if (count <= 0) return out;
  out.reserve(s.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += s;
  return out;
}

AnsiString ReverseString(const AnsiString& s)
{
  auto starts = CharStarts(s);
  AnsiString out;
  out.reserve(s.size());
  for (std::size_t k = starts.size() - 1; k > 0; --k) out.append(s, starts[k - 1], starts[k] - starts[k - 1]);
  return out;
}

AnsiString AnsiReverseString(const AnsiString& s) { return ReverseString(s); }

// ---- Replacing ----------------------------------------------------------------------------

AnsiString AnsiReplaceStr(const AnsiString& text, const AnsiString& from, const AnsiString& to)
{
  return SysUtils::StringReplace(text, from, to, SysUtils::rfReplaceAll);
}

AnsiString AnsiReplaceText(const AnsiString& text, const AnsiString& from, const AnsiString& to)
{
  return SysUtils::StringReplace(text, from, to, SysUtils::rfReplaceAll | SysUtils::rfIgnoreCase);
}

// ---- Predicates -------------------------------------------------------------------------------

bool AnsiContainsStr(const AnsiString& text, const AnsiString& sub) { return SysUtils::AnsiPos(sub, text) > 0; }

bool AnsiContainsText(const AnsiString& text, const AnsiString& sub)
{
  return SysUtils::AnsiPos(SysUtils::AnsiUpperCase(sub), SysUtils::AnsiUpperCase(text)) > 0;
}

bool AnsiStartsStr(const AnsiString& sub, const AnsiString& text) { return StartsWith(sub, text, false); }
bool AnsiStartsText(const AnsiString& sub, const AnsiString& text) { return StartsWith(sub, text, true); }
bool AnsiEndsStr(const AnsiString& sub, const AnsiString& text) { return EndsWith(sub, text, false); }
bool AnsiEndsText(const AnsiString& sub, const AnsiString& text) { return EndsWith(sub, text, true); }

int AnsiIndexStr(const AnsiString& text, std::initializer_list<AnsiString> values)
{
  return IndexOf(text, values, false);
}
int AnsiIndexStr(const AnsiString& text, const std::vector<AnsiString>& values) { return IndexOf(text, values, false); }
int AnsiIndexText(const AnsiString& text, std::initializer_list<AnsiString> values)
{
  return IndexOf(text, values, true);
}
int AnsiIndexText(const AnsiString& text, const std::vector<AnsiString>& values) { return IndexOf(text, values, true); }
bool AnsiMatchStr(const AnsiString& text, std::initializer_list<AnsiString> values)
{
  return IndexOf(text, values, false) >= 0;
}
bool AnsiMatchStr(const AnsiString& text, const std::vector<AnsiString>& values)
{
  return IndexOf(text, values, false) >= 0;
}
bool AnsiMatchText(const AnsiString& text, std::initializer_list<AnsiString> values)
{
  return IndexOf(text, values, true) >= 0;
}
bool AnsiMatchText(const AnsiString& text, const std::vector<AnsiString>& values)
{
  return IndexOf(text, values, true) >= 0;
}

AnsiString IfThen(bool condition, const AnsiString& whenTrue, const AnsiString& whenFalse)
{
  return condition ? whenTrue : whenFalse;
}

}  // namespace StrUtils
