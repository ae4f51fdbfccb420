#include "platform/rtl/AnsiStrings.h"

#include <algorithm>
#include <cstdint>

namespace System {

namespace Cp936Table {
// Generated tables (AnsiStrings_Cp936Table.cpp).
extern const char16_t Cp936Decode[24066];
extern const std::uint8_t Cp936EncodePage[256];
extern const std::uint16_t Cp936EncodePages[];
}  // namespace Cp936Table

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFE;
constexpr int kTrails = kTrailLast - kTrailFirst + 1;

inline bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
inline bool IsTrail(unsigned char b) { return b >= kTrailFirst && b <= kTrailLast && b != 0x7F; }

// Decodes one CP936 character at p (p < end); advances p.
inline char32_t DecodeAnsi(const unsigned char*& p, const unsigned char* end)
{
  unsigned char b = *p++;
  if (b < 0x80) return b;
  if (b == 0x80) return 0x20AC;
  if (!IsLead(b)) return kReplacement;
  if (p == end || !IsTrail(*p)) return kReplacement;  // the next byte is read afresh
  char16_t u = Cp936Table::Cp936Decode[(b - 0x81) * kTrails + (*p - kTrailFirst)];
  ++p;
  return u ? u : kReplacement;
}

// The CP936 code of a UTF-16 unit (not a surrogate): 0 when the code page lacks it.
inline std::uint16_t EncodeUnit(char16_t u)
{
  return Cp936Table::Cp936EncodePages[Cp936Table::Cp936EncodePage[u >> 8] * 256 + (u & 0xFF)];
}

// Writes c in CP936 at q, which has room for two bytes; answers the new end.
inline char* PutAnsiAt(char* q, char32_t c)
{
  if (c < 0x80) {
    *q++ = static_cast<char>(c);
    return q;
  }
  std::uint16_t code = c <= 0xFFFF ? EncodeUnit(static_cast<char16_t>(c)) : 0;
  if (code == 0) {
    *q++ = '?';
  } else if (code < 0x100) {
    *q++ = static_cast<char>(code);
  } else {
    *q++ = static_cast<char>(code >> 8);
    *q++ = static_cast<char>(code & 0xFF);
  }
  return q;
}

inline bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Decodes one code point from UTF-16 at p (p < end); an unpaired surrogate is returned as is.
inline char32_t DecodeWide(const char16_t*& p, const char16_t* end)
{
  char32_t u = *p++;
  if (IsHighSurrogate(u) && p != end && IsLowSurrogate(*p)) {
    u = 0x10000 + ((u - 0xD800) << 10) + (*p++ - 0xDC00);
  }
  return u;
}

inline void PutWide(WideString& out, char32_t c)
{
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// Decodes one code point from UTF-8 at p (p < end); a malformed sequence (its longest valid
// prefix) gives U+FFFD.
inline char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end)
{
  unsigned char b = *p++;
  if (b < 0x80) return b;
  int more;
  char32_t c;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the first continuation byte
  if (b >= 0xC2 && b <= 0xDF) {
    more = 1;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    more = 2;
    c = b & 0x0F;
    if (b == 0xE0)
      lo = 0xA0;  // overlong
    else if (b == 0xED)
      hi = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    more = 3;
    c = b & 0x07;
    if (b == 0xF0)
      lo = 0x90;  // overlong
    else if (b == 0xF4)
      hi = 0x8F;  // above U+10FFFF
  } else {
    return kReplacement;
  }
  for (int i = 0; i < more; ++i) {
    if (p == end || *p < lo || *p > hi) return kReplacement;
    c = (c << 6) | (*p++ & 0x3F);
    lo = 0x80;
    hi = 0xBF;
  }
  return c;
}

inline void PutUtf8(std::string& out, char32_t c)
{
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

inline const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// 0-based start of the character holding byte i (i < size). Bytes before a run of lead-range
// bytes end a character, and the run pairs up from its start.
std::size_t CharStart0(const char* s, std::size_t i)
{
  std::size_t q = i;
  while (q > 0 && IsLead(static_cast<unsigned char>(s[q - 1]))) --q;
  return ((i - q) % 2 == 0) ? i : i - 1;
}

}  // namespace

// ---- Conversions ---------------------------------------------------------------------------

WideString AnsiToWide(const AnsiString& s) { return AnsiToWide(s.data(), s.size()); }

WideString AnsiToWide(const char* s, std::size_t n)
{
  // Written in place: a character of one or two bytes gives one unit (the code page has
  // nothing beyond U+FFFF).
  WideString out(n, u'\0');
  char16_t* q = out.data();
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  const unsigned char* end = p + n;
  while (p != end) {
    if (*p < 0x80) {
      *q++ = static_cast<char16_t>(*p++);
      continue;
    }
    *q++ = static_cast<char16_t>(DecodeAnsi(p, end));
  }
  out.resize(static_cast<std::size_t>(q - out.data()));
  return out;
}

AnsiString WideToAnsi(const WideString& s)
{
  // Written in place: a unit gives at most two bytes (a surrogate pair gives one "?").
  AnsiString out(s.size() * 2, '\0');
  char* q = out.data();
  const char16_t* p = s.data();
  const char16_t* end = p + s.size();
  while (p != end) {
    if (*p < 0x80) {
      *q++ = static_cast<char>(*p++);
      continue;
    }
    char32_t c = DecodeWide(p, end);
    q = PutAnsiAt(q, IsHighSurrogate(c) || IsLowSurrogate(c) ? U'?' : c);
  }
  out.resize(static_cast<std::size_t>(q - out.data()));
  return out;
}

std::string AnsiToUtf8(const AnsiString& s)
{
  std::string out;
  out.reserve(s.size() + s.size() / 2);
  const unsigned char* p = Bytes(s);
  const unsigned char* end = p + s.size();
  while (p != end) PutUtf8(out, DecodeAnsi(p, end));
  return out;
}

AnsiString Utf8ToAnsi(const std::string& s)
{
  // Written in place: a character of n UTF-8 bytes gives at most n CP936 bytes, but a malformed
  // byte may give two, so the last bytes of room are filled by appending.
  AnsiString out(s.size() + 1, '\0');
  char* q = out.data();
  char* qend = q + out.size();
  const unsigned char* p = Bytes(s);
  const unsigned char* end = p + s.size();
  while (p != end && qend - q >= 2) {
    if (*p < 0x80) {
      *q++ = static_cast<char>(*p++);
      continue;
    }
    q = PutAnsiAt(q, DecodeUtf8(p, end));
  }
  out.resize(static_cast<std::size_t>(q - out.data()));
  char pair[2];
  while (p != end) out.append(pair, static_cast<std::size_t>(PutAnsiAt(pair, DecodeUtf8(p, end)) - pair));
  return out;
}

namespace {

// Writes c in CP936 at q (room for two bytes) and answers the new end; Exact turns false when
// the code page has no code that decodes back to c.
inline char* PutAnsiExactAt(char* q, char32_t c, bool& Exact)
{
  char* end = PutAnsiAt(q, c);
  if (end - q == 2) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(q);
    Exact = Exact && DecodeAnsi(p, p + 2) == c;
  } else if (*q == '?' && c != U'?') {
    Exact = false;
  }
  return end;
}

}  // namespace

bool AppendUtf8AsAnsi(const char* s, std::size_t n, std::string& out)
{
  // Written in place: a character gives at most two bytes and takes at least one.
  const std::size_t start = out.size();
  out.resize(start + 2 * n);
  char* q = out.data() + start;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  const unsigned char* end = p + n;
  bool exact = true;
  while (p != end) {
    if (*p < 0x80) {
      *q++ = static_cast<char>(*p++);
      continue;
    }
    char32_t c = DecodeUtf8(p, end);
    // A malformed sequence reads as U+FFFD, as Utf8ToWide gives it.
    q = PutAnsiExactAt(q, c, exact);
  }
  out.resize(static_cast<std::size_t>(q - out.data()));
  return exact;
}

bool AppendWideAsAnsi(const char16_t* s, std::size_t n, std::string& out)
{
  const char16_t* p = s;
  const char16_t* end = s + n;
  bool exact = true;
  while (p != end) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    char32_t c = DecodeWide(p, end);
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out.push_back('?');
      exact = false;
      continue;
    }
    char pair[2];
    out.append(pair, static_cast<std::size_t>(PutAnsiExactAt(pair, c, exact) - pair));
  }
  return exact;
}

std::string WideToUtf8(const WideString& s)
{
  std::string out;
  out.reserve(s.size() * 3);
  const char16_t* p = s.data();
  const char16_t* end = p + s.size();
  while (p != end) PutUtf8(out, DecodeWide(p, end));
  return out;
}

WideString Utf8ToWide(const std::string& s)
{
  // Sized to the characters rather than the bytes: a Chinese text would otherwise keep three
  // times the room it needs, and datasets keep their texts this way row after row.
  std::size_t units = 0;
  for (unsigned char c : s) units += static_cast<std::size_t>((c & 0xC0) != 0x80) + (c >= 0xF0);
  WideString out(units, u'\0');
  char16_t* q = out.data();
  char16_t* qend = q + units;
  const unsigned char* p = Bytes(s);
  const unsigned char* end = p + s.size();
  // The count is exact for well-formed text; a malformed one may need more room, and finishes
  // appending.
  while (p != end && qend - q >= 2) {
    if (*p < 0x80) {
      *q++ = static_cast<char16_t>(*p++);
      continue;
    }
    char32_t c = DecodeUtf8(p, end);
    if (c < 0x10000) {
      *q++ = static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      *q++ = static_cast<char16_t>(0xD800 + (c >> 10));
      *q++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  out.resize(static_cast<std::size_t>(q - out.data()));
  while (p != end) PutWide(out, DecodeUtf8(p, end));
  return out;
}

// ---- Lead bytes and character boundaries ---------------------------------------------------

bool IsLeadByte(char c) { return IsLead(static_cast<unsigned char>(c)); }

TMbcsByteType StrByteType(const char* s, std::size_t index0)
{
  if (s == nullptr) return mbSingleByte;
  if (CharStart0(s, index0) != index0) return mbTrailByte;
  return IsLead(static_cast<unsigned char>(s[index0])) ? mbLeadByte : mbSingleByte;
}

TMbcsByteType ByteType(const AnsiString& s, int index)
{
  if (index < 1 || static_cast<std::size_t>(index) > s.size()) return mbSingleByte;
  return StrByteType(s.data(), static_cast<std::size_t>(index - 1));
}

int CharLength(const AnsiString& s, int index)
{
  if (index < 1 || static_cast<std::size_t>(index) >= s.size()) return 1;
  return IsLeadByte(s[index - 1]) ? 2 : 1;
}

int NextCharIndex(const AnsiString& s, int index) { return index + CharLength(s, index); }

int CharStartIndex(const AnsiString& s, int index)
{
  if (index < 1 || static_cast<std::size_t>(index) > s.size()) return index;
  return static_cast<int>(CharStart0(s.data(), static_cast<std::size_t>(index - 1))) + 1;
}

int PrevCharIndex(const AnsiString& s, int index)
{
  if (index <= 1) return 0;
  int size = static_cast<int>(s.size());
  if (index > size + 1) index = size + 1;
  int start = CharStartIndex(s, std::min(index, size));
  if (index <= size) index = start;  // inside a character: step back from its start
  if (index <= 1) return 0;
  return CharStartIndex(s, index - 1);
}

// ---- Classic 1-based routines --------------------------------------------------------------

namespace {

template <class S>
S CopyT(const S& s, int index, int count)
{
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<std::size_t>(index) > s.size()) return S();
  return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

template <class S>
int PosT(const S& sub, const S& s)
{
  if (sub.empty()) return 0;
  auto at = s.find(sub);
  return at == S::npos ? 0 : static_cast<int>(at) + 1;
}

template <class S>
void DeleteT(S& s, int index, int count)
{
  if (index < 1 || count <= 0 || static_cast<std::size_t>(index) > s.size()) return;
  s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

template <class S>
void InsertT(const S& sub, S& s, int index)
{
  if (index < 1) index = 1;
  std::size_t at = std::min(static_cast<std::size_t>(index - 1), s.size());
  s.insert(at, sub);
}

}  // namespace

AnsiString Copy(const AnsiString& s, int index, int count) { return CopyT(s, index, count); }
WideString Copy(const WideString& s, int index, int count) { return CopyT(s, index, count); }
int Pos(const AnsiString& sub, const AnsiString& s) { return PosT(sub, s); }
int Pos(const WideString& sub, const WideString& s) { return PosT(sub, s); }
void Delete(AnsiString& s, int index, int count) { DeleteT(s, index, count); }
void Delete(WideString& s, int index, int count) { DeleteT(s, index, count); }
void Insert(const AnsiString& sub, AnsiString& s, int index) { InsertT(sub, s, index); }
void Insert(const WideString& sub, WideString& s, int index) { InsertT(sub, s, index); }

AnsiString StringOfChar(char ch, int n) { return n <= 0 ? AnsiString() : AnsiString(static_cast<std::size_t>(n), ch); }

WideString StringOfChar(WideChar ch, int n)
{
  return n <= 0 ? WideString() : WideString(static_cast<std::size_t>(n), ch);
}

char UpCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

WideChar UpCase(WideChar c) { return (c >= u'a' && c <= u'z') ? static_cast<WideChar>(c - u'a' + u'A') : c; }

}  // namespace System
