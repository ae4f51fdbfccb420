#include "platform/db/JetDialect.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/db/SqlScanner.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"

namespace JetDialect {

namespace {

bool SameWord(const WideString& a, const char* b)
{
  std::size_t n = 0;
  for (; b[n]; ++n) {
    if (n >= a.size()) return false;
    WideChar c = a[n];
    if (c >= u'a' && c <= u'z') c = static_cast<WideChar>(c - 32);
    if (c != static_cast<WideChar>(b[n])) return false;
  }
  return n == a.size();
}

// Parameter names match as the dataset's parameters do: ASCII letters in either case.
bool SameName(const WideString& a, const WideString& b)
{
  auto up = [](WideChar x) { return (x >= u'a' && x <= u'z') ? static_cast<WideChar>(x - 32) : x; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](WideChar x, WideChar y) { return up(x) == up(y); });
}

std::string Number(double v)
{
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

struct PendingLimit {
  int Depth;
  WideString Count;
};

}  // namespace

bool ParseDateLiteral(const WideString& Text, double& Days)
{
  std::string t = System::WideToUtf8(Text);
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0, used = 0;
  char ampm[3] = {0};
  const char* p = t.c_str();
  while (*p == ' ') ++p;
  if (std::sscanf(p, "%4d-%2d-%2d%n", &y, &m, &d, &used) == 3) {
  } else if (std::sscanf(p, "%2d/%2d/%4d%n", &m, &d, &y, &used) == 3) {
  } else {
    return false;
  }
  p += used;
  while (*p == ' ') ++p;
  if (*p) {
    int n2 = 0;
    if (std::sscanf(p, "%2d:%2d%n", &hh, &nn, &n2) < 2) return false;
    p += n2;
    if (*p == ':') {
      if (std::sscanf(p + 1, "%2d%n", &ss, &n2) < 1) return false;
      p += 1 + n2;
    }
    while (*p == ' ') ++p;
    if (std::sscanf(p, "%2[AaPpMm]", ampm) == 1) {
      bool pm = ampm[0] == 'P' || ampm[0] == 'p';
      if (hh == 12) hh = 0;
      if (pm) hh += 12;
      p += 2;
    }
    while (*p == ' ') ++p;
    if (*p) return false;
  }
  TDateTime date, time;
  if (!SysUtils::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date)) return false;
  if (!SysUtils::TryEncodeTime(static_cast<Word>(hh), static_cast<Word>(nn), static_cast<Word>(ss), 0, time))
    return false;
  Days = date.Value + time.Value;
  return true;
}

TRewritten Rewrite(const WideString& In)
{
  using SqlScanner::TTokenKind;
  TRewritten result;
  WideString s = In;
  while (!s.empty() &&
         (s.back() == u';' || s.back() == u' ' || s.back() == u'\r' || s.back() == u'\n' || s.back() == u'\t'))
    s.pop_back();
  const std::vector<SqlScanner::TToken> toks = SqlScanner::Scan(s);
  auto raw = [&](std::size_t k) { return std::u16string_view(s).substr(toks[k].Pos, toks[k].Len); };
  auto next = [&](std::size_t k) {  // the next token that is not blank
    for (++k; k < toks.size() && toks[k].Kind == TTokenKind::Space;) ++k;
    return k;
  };
  auto isPunct = [&](std::size_t k, const char16_t* p) {
    return k < toks.size() && toks[k].Kind == TTokenKind::Punct && raw(k) == p;
  };
  auto closing = [&](std::size_t k) {  // the ')' at or after k, or the last token
    while (k < toks.size() && !isPunct(k, u")")) ++k;
    return std::min(k, toks.size() - 1);
  };

  WideString out;
  out.reserve(s.size() + 16);
  std::vector<PendingLimit> limits;
  int depth = 0;
  // word history for "select [distinct] top N" and CREATE TABLE column types
  WideString prevWord;
  bool createTable = false;
  bool alterTable = false;
  bool expectColumnName = false;
  bool expectType = false;      // the word after a column name in CREATE/ALTER TABLE
  bool skipPrimaryKey = false;  // a COUNTER column already became the primary key

  auto closeLimits = [&](int atDepth) {
    while (!limits.empty() && limits.back().Depth == atDepth) {
      out += u" LIMIT ";
      out += limits.back().Count;
      limits.pop_back();
    }
  };

  for (std::size_t i = 0; i < toks.size(); ++i) {
    const SqlScanner::TToken& t = toks[i];
    switch (t.Kind) {
      case TTokenKind::Space:
      case TTokenKind::Comment:
      case TTokenKind::String:
      case TTokenKind::Number: out += raw(i); continue;
      case TTokenKind::DoubleQuoted:  // a text, as Access reads it
        out += u'\'';
        for (WideChar c : SqlScanner::Inner(s, t)) {
          if (c == u'\'') out += u'\'';
          out += c;
        }
        out += u'\'';
        continue;
      case TTokenKind::Bracketed:
        out += u'"';
        for (WideChar c : SqlScanner::Inner(s, t)) {
          if (c == u'"') out += u'"';
          out += c;
        }
        out += u'"';
        expectType = expectColumnName;
        expectColumnName = false;
        continue;
      case TTokenKind::DateLiteral: {
        double days;
        if (!ParseDateLiteral(WideString(raw(i).substr(1, t.Len - 2)), days))
          throw EOleException("Syntax error in date in query expression '" + System::WideToAnsi(WideString(raw(i))) +
                              "'.");
        out += System::Utf8ToWide(Number(days));
        continue;
      }
      case TTokenKind::Param: {
        WideString name = SqlScanner::Inner(s, t);
        std::size_t index = result.ParamNames.size();
        for (std::size_t k = 0; k < result.ParamNames.size(); ++k) {
          if (SameName(result.ParamNames[k], name)) {
            index = k;
            break;
          }
        }
        if (index == result.ParamNames.size()) result.ParamNames.push_back(name);
        out += u'?';
        out += System::Utf8ToWide(std::to_string(index + 1));
        continue;
      }
      case TTokenKind::Punct:
        if (isPunct(i, u"#")) {  // a '#' that opens no date
          std::size_t j = s.find(u'#', t.Pos + 1);
          throw EOleException("Syntax error in date in query expression '" +
                              System::WideToAnsi(s.substr(t.Pos, j == WideString::npos ? 20 : j - t.Pos + 1)) + "'.");
        }
        if (isPunct(i, u"&")) {
          out += u"||";
          continue;
        }
        if (isPunct(i, u"(")) {
          ++depth;
          if (createTable && depth == 1) expectColumnName = true;
        } else if (isPunct(i, u")")) {
          closeLimits(depth);
          --depth;
        } else if (isPunct(i, u",")) {
          if (createTable && depth == 1) expectColumnName = true;
          skipPrimaryKey = false;
        }
        out += raw(i);
        continue;
      case TTokenKind::Word: break;
    }

    WideString word(raw(i));
    const std::size_t k = next(i);
    const bool call = isPunct(k, u"(");
    auto wordAt = [&](std::size_t at, const char* w) {
      return at < toks.size() && toks[at].Kind == TTokenKind::Word && SameWord(WideString(raw(at)), w);
    };

    if (SameWord(word, "TABLE") && SameWord(prevWord, "CREATE")) createTable = true;
    if (SameWord(word, "TABLE") && SameWord(prevWord, "ALTER")) alterTable = true;
    bool columnTypes = (createTable && depth == 1) || (alterTable && depth == 0);
    if (alterTable && depth == 0 && (SameWord(word, "ADD") || (expectColumnName && SameWord(word, "COLUMN")))) {
      expectColumnName = true;
      out += word;
    } else if ((createTable || alterTable) && expectColumnName) {
      expectColumnName = false;
      expectType = true;
      out += word;
      continue;
    } else if (expectType && (SameWord(word, "COUNTER") || SameWord(word, "AUTOINCREMENT"))) {
      // An Access counter is SQLite's auto-incremented rowid key.
      out += u"INTEGER PRIMARY KEY AUTOINCREMENT";
      skipPrimaryKey = true;
      if (call) i = closing(k);  // COUNTER(seed, step)
    } else if (skipPrimaryKey && SameWord(word, "PRIMARY")) {
      if (wordAt(k, "KEY"))
        i = k;
      else
        out += word;
    } else if (SameWord(word, "TOP") &&
               (SameWord(prevWord, "SELECT") || SameWord(prevWord, "DISTINCT") || SameWord(prevWord, "ALL"))) {
      if (k < toks.size() && toks[k].Kind == TTokenKind::Number) {
        limits.push_back({depth, WideString(raw(k))});
        i = next(k) - 1;  // and the blanks after the count
        word.clear();
      } else {
        out += word;
      }
    } else if (SameWord(word, "TRUE")) {
      out += u"1";
    } else if (SameWord(word, "FALSE")) {
      out += u"0";
    } else if (call && (SameWord(word, "LEFT") || SameWord(word, "RIGHT"))) {
      // LEFT and RIGHT are join keywords to SQLite; the functions go by other names.
      out += SameWord(word, "LEFT") ? u"jet_left" : u"jet_right";
    } else if (SameWord(word, "NOW") && !call) {
      out += u"Now()";
    } else if (columnTypes && (SameWord(word, "MEMO") || SameWord(word, "LONGCHAR") || SameWord(word, "NTEXT") ||
                               SameWord(word, "LONGTEXT") || SameWord(word, "TEXT") || SameWord(word, "VARCHAR") ||
                               SameWord(word, "CHAR") || SameWord(word, "NVARCHAR") || SameWord(word, "NCHAR") ||
                               SameWord(word, "STRING"))) {
      bool memo = SameWord(word, "MEMO") || SameWord(word, "LONGCHAR") || SameWord(word, "NTEXT");
      out += memo ? WideString(u"LONGTEXT") : word;
      if (call) {  // the size: (n)
        std::size_t e = closing(k);
        for (++i; i <= e; ++i) out += raw(i);
        i = e;
      }
      out += u" COLLATE JETTEXT";
    } else {
      out += word;
    }
    expectType = false;
    if (!word.empty()) prevWord = word;
  }
  closeLimits(0);
  result.Sql = System::WideToUtf8(out);
  return result;
}

}  // namespace JetDialect
