#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cstring>
#include <locale.h>
#include <wctype.h>

#include "platform/rtl/AnsiStrings.h"

namespace SysUtils {

namespace {

inline bool IsLead(char c) { return System::IsLeadByte(c); }
inline unsigned char U(char c) { return static_cast<unsigned char>(c); }
inline char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char Low(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Bytes 0x80 and up are text, so compare unsigned (char is signed here).
inline bool IsBlank(char c) { return U(c) <= ' '; }
inline bool IsBlank(WideChar c) { return c <= u' '; }

template <class S>
S TrimRange(const S& s, bool left, bool right)
{
  std::size_t b = 0, e = s.size();
  if (left)
    while (b < e && IsBlank(s[b])) ++b;
  if (right)
    while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Folds the single-byte characters of s by fold, leaving double-byte characters whole.
template <class F>
AnsiString FoldChars(const AnsiString& s, F fold)
{
  AnsiString out = s;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsLead(out[i]))
      ++i;  // skip the trail byte
    else
      out[i] = fold(out[i]);
  }
  return out;
}

// Compares byte by byte; with fold, single-byte characters of each text are upper-cased (each
// text tracks its own character boundaries, as their structures may differ).
int CompareBytes(const AnsiString& a, const AnsiString& b, bool fold, bool charAware)
{
  std::size_t n = std::min(a.size(), b.size());
  bool trailA = false, trailB = false;
  for (std::size_t i = 0; i < n; ++i) {
    char ca = a[i], cb = b[i];
    if (fold) {
      if (!trailA) ca = Up(ca);
      if (!trailB) cb = Up(cb);
    }
    if (charAware) {
      trailA = !trailA && IsLead(a[i]);
      trailB = !trailB && IsLead(b[i]);
    }
    if (ca != cb) return U(ca) < U(cb) ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The C.UTF-8 locale's Unicode case tables; null when absent (ASCII casing then).
locale_t UnicodeLocale()
{
  static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return loc;
}

template <bool Upper>
WideString WideCase(const WideString& s)
{
  WideString out = s;
  locale_t loc = UnicodeLocale();
  for (auto& c : out) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (loc) {
      wint_t m = Upper ? towupper_l(c, loc) : towlower_l(c, loc);
      if (m <= 0xFFFF && !(m >= 0xD800 && m <= 0xDFFF)) c = static_cast<WideChar>(m);
    } else if (Upper ? (c >= u'a' && c <= u'z') : (c >= u'A' && c <= u'Z')) {
      c = static_cast<WideChar>(Upper ? c - 32 : c + 32);
    }
  }
  return out;
}

int WideCompare(const WideString& a, const WideString& b)
{
  int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// Finds `sub` in s[from, end) at a character boundary of s (from must be one); npos if none.
// `hay` and `needle` are the texts compared (s and sub, or their upper-cased forms).
std::size_t FindAtBoundary(const AnsiString& s, const AnsiString& hay, const AnsiString& needle, std::size_t from)
{
  if (needle.empty() || needle.size() > hay.size()) return AnsiString::npos;
  // A needle ending in a lone lead byte would end inside a character unless at the very end.
  std::size_t k = 0;
  while (k < needle.size()) k += IsLead(needle[k]) ? 2 : 1;
  const bool danglingLead = k > needle.size();
  std::size_t last = hay.size() - needle.size();
  for (std::size_t i = from; i <= last; i += (IsLead(s[i]) ? 2 : 1)) {
    if (hay.compare(i, needle.size(), needle) != 0) continue;
    if (danglingLead && i + needle.size() < hay.size()) continue;
    return i;
  }
  return AnsiString::npos;
}

}  // namespace

// ---- Trimming -----------------------------------------------------------------------------

AnsiString Trim(const AnsiString& s) { return TrimRange(s, true, true); }
AnsiString TrimLeft(const AnsiString& s) { return TrimRange(s, true, false); }
AnsiString TrimRight(const AnsiString& s) { return TrimRange(s, false, true); }
WideString Trim(const WideString& s) { return TrimRange(s, true, true); }
WideString TrimLeft(const WideString& s) { return TrimRange(s, true, false); }
WideString TrimRight(const WideString& s) { return TrimRange(s, false, true); }

// ---- Case ---------------------------------------------------------------------------------

AnsiString UpperCase(const AnsiString& s)
{
  AnsiString out = s;
  for (auto& c : out) c = Up(c);
  return out;
}

AnsiString LowerCase(const AnsiString& s)
{
  AnsiString out = s;
  for (auto& c : out) c = Low(c);
  return out;
}

AnsiString AnsiUpperCase(const AnsiString& s) { return FoldChars(s, Up); }
AnsiString AnsiLowerCase(const AnsiString& s) { return FoldChars(s, Low); }
WideString WideUpperCase(const WideString& s) { return WideCase<true>(s); }
WideString WideLowerCase(const WideString& s) { return WideCase<false>(s); }

// ---- Comparison ---------------------------------------------------------------------------

int CompareStr(const AnsiString& a, const AnsiString& b) { return CompareBytes(a, b, false, false); }
int CompareText(const AnsiString& a, const AnsiString& b) { return CompareBytes(a, b, true, false); }
bool SameStr(const AnsiString& a, const AnsiString& b) { return a == b; }
bool SameText(const AnsiString& a, const AnsiString& b) { return CompareText(a, b) == 0; }

int AnsiCompareStr(const AnsiString& a, const AnsiString& b) { return CompareBytes(a, b, false, false); }
int AnsiCompareText(const AnsiString& a, const AnsiString& b) { return CompareBytes(a, b, true, true); }
bool AnsiSameStr(const AnsiString& a, const AnsiString& b) { return a == b; }
bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) == 0; }

int WideCompareStr(const WideString& a, const WideString& b) { return WideCompare(a, b); }
int WideCompareText(const WideString& a, const WideString& b)
{
  return WideCompare(WideUpperCase(a), WideUpperCase(b));
}
bool WideSameStr(const WideString& a, const WideString& b) { return a == b; }
bool WideSameText(const WideString& a, const WideString& b) { return WideCompareText(a, b) == 0; }

// ---- Quoting ------------------------------------------------------------------------------

AnsiString QuotedStr(const AnsiString& s) { return AnsiQuotedStr(s, '\''); }

AnsiString AnsiQuotedStr(const AnsiString& s, char quote)
{
  AnsiString out;
  out.reserve(s.size() + 2);
  out.push_back(quote);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLead(s[i]) && i + 1 < s.size()) {
      out.push_back(s[i]);
      out.push_back(s[++i]);
      continue;
    }
    if (s[i] == quote) out.push_back(quote);
    out.push_back(s[i]);
  }
  out.push_back(quote);
  return out;
}

AnsiString AnsiExtractQuotedStr(const char*& src, const char* end, char quote)
{
  if (src == nullptr || src >= end || *src != quote) return AnsiString();
  AnsiString out;
  const char* p = src + 1;
  while (p < end) {
    if (IsLead(*p) && p + 1 < end) {
      out.append(p, 2);
      p += 2;
    } else if (*p == quote) {
      ++p;
      if (p < end && *p == quote) {  // a doubled quote
        out.push_back(quote);
        ++p;
      } else {
        break;  // the closing quote
      }
    } else {
      out.push_back(*p++);
    }
  }
  src = p;
  return out;
}

AnsiString AnsiExtractQuotedStr(const char*& src, char quote)
{
  if (src == nullptr) return AnsiString();
  return AnsiExtractQuotedStr(src, src + std::strlen(src), quote);
}

AnsiString AnsiDequotedStr(const AnsiString& s, char quote)
{
  if (s.empty() || s[0] != quote) return s;
  const char* p = s.data();
  return AnsiExtractQuotedStr(p, s.data() + s.size(), quote);
}

// ---- Searching ----------------------------------------------------------------------------

int AnsiPos(const AnsiString& sub, const AnsiString& s)
{
  std::size_t at = FindAtBoundary(s, s, sub, 0);
  return at == AnsiString::npos ? 0 : static_cast<int>(at) + 1;
}

const char* AnsiStrPos(const char* str, const char* sub)
{
  if (str == nullptr || sub == nullptr || *sub == '\0') return nullptr;
  std::size_t n = std::strlen(sub);
  for (const char* p = str; *p; p += (IsLead(*p) && p[1] ? 2 : 1)) {
    if (std::strncmp(p, sub, n) == 0) return p;
  }
  return nullptr;
}

const char* AnsiStrScan(const char* str, char c)
{
  if (str == nullptr) return nullptr;
  for (const char* p = str; *p; ++p) {
    if (IsLead(*p) && p[1])
      ++p;  // over the trail byte
    else if (*p == c)
      return p;
  }
  return nullptr;
}

const char* AnsiStrRScan(const char* str, char c)
{
  if (str == nullptr) return nullptr;
  const char* found = nullptr;
  for (const char* p = str; *p; ++p) {
    if (IsLead(*p) && p[1])
      ++p;
    else if (*p == c)
      found = p;
  }
  return found;
}

bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, int index)
{
  if (index < 1 || static_cast<std::size_t>(index) > s.size()) return false;
  if (System::ByteType(s, index) != System::mbSingleByte) return false;
  return delimiters.find(s[index - 1]) != AnsiString::npos;
}

int LastDelimiter(const AnsiString& delimiters, const AnsiString& s)
{
  int last = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (delimiters.find(s[i]) != AnsiString::npos) last = static_cast<int>(i) + 1;
    if (IsLead(s[i])) ++i;  // its trail byte is never a delimiter
  }
  return last;
}

// ---- Replacing ----------------------------------------------------------------------------

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags)
{
  if (oldPattern.empty()) return s;
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  // Upper-casing keeps every byte position, so matches in the folded text are matches in s.
  const AnsiString hay = ignoreCase ? AnsiUpperCase(s) : AnsiString();
  const AnsiString needle = ignoreCase ? AnsiUpperCase(oldPattern) : AnsiString();
  const AnsiString& h = ignoreCase ? hay : s;
  const AnsiString& n = ignoreCase ? needle : oldPattern;

  AnsiString out;
  std::size_t from = 0;
  while (true) {
    std::size_t at = FindAtBoundary(s, h, n, from);
    if (at == AnsiString::npos) break;
    out.append(s, from, at - from);
    out += newPattern;
    from = at + oldPattern.size();
    if (!(flags & rfReplaceAll)) break;
  }
  out.append(s, from, AnsiString::npos);
  return out;
}

// ---- Line breaks and identifiers ----------------------------------------------------------

AnsiString AdjustLineBreaks(const AnsiString& s, TTextLineBreakStyle style)
{
  const char* brk = style == tlbsCRLF ? "\r\n" : "\n";
  AnsiString out;
  out.reserve(s.size() + s.size() / 16);
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r' || c == '\n') {
      out += brk;
      if (i + 1 < s.size() && (s[i + 1] == '\r' || s[i + 1] == '\n') && s[i + 1] != c) ++i;
    } else if (IsLead(c) && i + 1 < s.size()) {
      out.push_back(c);
      out.push_back(s[++i]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool IsValidIdent(const AnsiString& ident, bool allowDots)
{
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  auto alnum = [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); };
  if (ident.empty()) return false;
  bool partStart = true;
  for (char c : ident) {
    if (partStart) {
      if (!alpha(c)) return false;
      partStart = false;
    } else if (c == '.' && allowDots) {
      partStart = true;
    } else if (!alnum(c)) {
      return false;
    }
  }
  return !partStart;
}

}  // namespace SysUtils
