#include "platform/db/SqlScanner.h"

#include <type_traits>

namespace SqlScanner {

namespace {

template <class C>
unsigned Code(C c)
{
  return static_cast<std::make_unsigned_t<C>>(c);
}

template <class C>
bool IdentStart(C c)
{
  unsigned u = Code(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

template <class C>
bool Digit(C c)
{
  return Code(c) >= '0' && Code(c) <= '9';
}

template <class C>
bool IdentChar(C c)
{
  return IdentStart(c) || Digit(c);
}

template <class C>
bool Blank(C c)
{
  unsigned u = Code(c);
  return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '\v' || u == '\f';
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The closing '#' of a date literal opening at i, or kNone when that '#' opens none.
template <class C>
std::size_t DateLiteralEnd(std::basic_string_view<C> s, std::size_t i)
{
  for (std::size_t j = i + 1; j < s.size() && j < i + 32; ++j) {
    unsigned c = Code(s[j]);
    if (c == '#') return j > i + 1 ? j : kNone;
    if (!(Digit(s[j]) || c == '-' || c == '/' || c == ':' || c == ' ' || c == '.' || c == 'A' || c == 'P' || c == 'M' ||
          c == 'a' || c == 'p' || c == 'm'))
      break;
  }
  return kNone;
}

// Just past the closing quote of a text quoted by q, in which a doubled q stands for one.
template <class C>
std::size_t QuotedEnd(std::basic_string_view<C> s, std::size_t i, unsigned q)
{
  std::size_t j = i + 1, n = s.size();
  while (j < n) {
    if (Code(s[j]) != q)
      ++j;
    else if (j + 1 < n && Code(s[j + 1]) == q)
      j += 2;
    else
      return j + 1;
  }
  return n;
}

template <class C>
std::vector<TToken> ScanText(std::basic_string_view<C> s)
{
  std::vector<TToken> out;
  const std::size_t n = s.size();
  auto at = [&](std::size_t k, char c) { return k < n && Code(s[k]) == static_cast<unsigned char>(c); };
  std::size_t i = 0;
  while (i < n) {
    unsigned c = Code(s[i]);
    std::size_t j = i + 1, date;
    TTokenKind kind = TTokenKind::Punct;
    if (Blank(s[i])) {
      while (j < n && Blank(s[j])) ++j;
      kind = TTokenKind::Space;
    } else if (c == '-' && at(j, '-')) {
      while (j < n && Code(s[j]) != '\n') ++j;
      kind = TTokenKind::Comment;
    } else if (c == '/' && at(j, '*')) {
      for (++j; j < n && !(at(j, '*') && at(j + 1, '/'));) ++j;
      j = j < n ? j + 2 : n;
      kind = TTokenKind::Comment;
    } else if (c == '\'' || c == '"') {
      j = QuotedEnd(s, i, c);
      kind = c == '\'' ? TTokenKind::String : TTokenKind::DoubleQuoted;
    } else if (c == '[') {
      while (j < n && Code(s[j]) != ']') ++j;
      j = j < n ? j + 1 : n;
      kind = TTokenKind::Bracketed;
    } else if (c == '#' && (date = DateLiteralEnd(s, i)) != kNone) {
      j = date + 1;
      kind = TTokenKind::DateLiteral;
    } else if (c == ':' && at(j, ':')) {
      j = i + 2;  // a cast, never a marker
    } else if (c == ':' && j < n && IdentChar(s[j]) && !(i > 0 && IdentChar(s[i - 1]))) {
      while (j < n && IdentChar(s[j])) ++j;
      kind = TTokenKind::Param;
    } else if (IdentStart(s[i])) {
      while (j < n && (IdentChar(s[j]) || Code(s[j]) == '$')) ++j;
      kind = TTokenKind::Word;
    } else if (Digit(s[i]) || (c == '.' && j < n && Digit(s[j]))) {
      while (j < n && (IdentChar(s[j]) || Code(s[j]) == '.')) ++j;
      kind = TTokenKind::Number;
    } else if (j < n) {
      static const char* const kTwo[] = {"<=", ">=", "<>", "!=", "||"};
      for (const char* t : kTwo)
        if (c == static_cast<unsigned char>(t[0]) && at(j, t[1])) {
          ++j;
          break;
        }
    }
    out.push_back({kind, i, j - i});
    i = j;
  }
  return out;
}

template <class C>
std::basic_string<C> InnerText(std::basic_string_view<C> s, const TToken& t)
{
  std::basic_string_view<C> raw = s.substr(t.Pos, t.Len);
  switch (t.Kind) {
    case TTokenKind::Param: return std::basic_string<C>(raw.substr(1));
    case TTokenKind::Bracketed:
      raw.remove_prefix(1);
      if (!raw.empty() && Code(raw.back()) == ']') raw.remove_suffix(1);
      return std::basic_string<C>(raw);
    case TTokenKind::String:
    case TTokenKind::DoubleQuoted: {
      std::basic_string<C> r;
      unsigned q = Code(raw.front());
      for (std::size_t k = 1; k < raw.size(); ++k) {
        if (Code(raw[k]) == q) {
          if (k + 1 == raw.size()) break;  // the closing quote
          ++k;                             // a doubled quote: keep one
        }
        r += raw[k];
      }
      return r;
    }
    default: return std::basic_string<C>(raw);
  }
}

}  // namespace

std::vector<TToken> Scan(std::u16string_view Sql) { return ScanText(Sql); }
std::vector<TToken> Scan(std::string_view Sql) { return ScanText(Sql); }
std::u16string Inner(std::u16string_view Sql, const TToken& Token) { return InnerText(Sql, Token); }
std::string Inner(std::string_view Sql, const TToken& Token) { return InnerText(Sql, Token); }

}  // namespace SqlScanner
