#include "platform/db/JetDialect.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"

namespace JetDialect {

namespace {

bool IsIdentStart(WideChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80; }
bool IsIdentChar(WideChar c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9'); }

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
  TRewritten result;
  WideString s = In;
  while (!s.empty() &&
         (s.back() == u';' || s.back() == u' ' || s.back() == u'\r' || s.back() == u'\n' || s.back() == u'\t'))
    s.pop_back();
  WideString out;
  out.reserve(s.size() + 16);
  std::vector<PendingLimit> limits;
  int depth = 0;
  std::size_t i = 0, n = s.size();
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

  while (i < n) {
    WideChar c = s[i];
    if (c == u'\'') {
      std::size_t j = i + 1;
      while (j < n) {
        if (s[j] != u'\'') {
          ++j;
          continue;
        }
        if (j + 1 < n && s[j + 1] == u'\'') {
          j += 2;
          continue;
        }
        break;
      }
      out.append(s, i, std::min(j + 1, n) - i);
      i = j + 1;
      continue;
    }
    if (c == u'"') {
      std::size_t j = i + 1;
      out += u'\'';
      while (j < n) {
        if (s[j] == u'"') {
          if (j + 1 < n && s[j + 1] == u'"') {
            out += u'"';
            j += 2;
            continue;
          }
          break;
        }
        if (s[j] == u'\'') out += u'\'';
        out += s[j++];
      }
      out += u'\'';
      i = j + 1;
      continue;
    }
    if (c == u'[') {
      std::size_t j = s.find(u']', i + 1);
      if (j == WideString::npos) j = n;
      out += u'"';
      for (std::size_t k = i + 1; k < j; ++k) {
        if (s[k] == u'"') out += u'"';
        out += s[k];
      }
      out += u'"';
      i = j + 1;
      expectType = expectColumnName;
      expectColumnName = false;
      continue;
    }
    if (c == u'#') {
      std::size_t j = s.find(u'#', i + 1);
      double days;
      if (j != WideString::npos && ParseDateLiteral(s.substr(i + 1, j - i - 1), days)) {
        out += System::Utf8ToWide(Number(days));
        i = j + 1;
        continue;
      }
      throw EOleException("Syntax error in date in query expression '" +
                          System::WideToAnsi(s.substr(i, j == WideString::npos ? 20 : j - i + 1)) + "'.");
    }
    if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
      std::size_t j = s.find(u'\n', i);
      if (j == WideString::npos) j = n;
      out.append(s, i, j - i);
      i = j;
      continue;
    }
    if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
      std::size_t j = s.find(u"*/", i + 2);
      j = j == WideString::npos ? n : j + 2;
      out.append(s, i, j - i);
      i = j;
      continue;
    }
    if (c == u':' && i + 1 < n && IsIdentChar(s[i + 1]) && !(i > 0 && IsIdentChar(s[i - 1]))) {
      std::size_t j = i + 1;
      while (j < n && IsIdentChar(s[j])) ++j;
      WideString name = s.substr(i + 1, j - i - 1);
      std::size_t index = result.ParamNames.size();
      for (std::size_t k = 0; k < result.ParamNames.size(); ++k) {
        if (result.ParamNames[k].size() == name.size() &&
            std::equal(name.begin(), name.end(), result.ParamNames[k].begin(), [](WideChar a, WideChar b) {
              auto up = [](WideChar x) { return (x >= u'a' && x <= u'z') ? static_cast<WideChar>(x - 32) : x; };
              return up(a) == up(b);
            })) {
          index = k;
          break;
        }
      }
      if (index == result.ParamNames.size()) result.ParamNames.push_back(name);
      out += u'?';
      out += System::Utf8ToWide(std::to_string(index + 1));
      i = j;
      continue;
    }
    if (c == u'&') {
      out += u"||";
      ++i;
      continue;
    }
    if (c == u'(') {
      ++depth;
      out += c;
      ++i;
      if (createTable && depth == 1) expectColumnName = true;
      continue;
    }
    if (c == u')') {
      closeLimits(depth);
      --depth;
      out += c;
      ++i;
      continue;
    }
    if (c == u',') {
      if (createTable && depth == 1) expectColumnName = true;
      skipPrimaryKey = false;
      out += c;
      ++i;
      continue;
    }
    if (IsIdentStart(c)) {
      std::size_t j = i;
      while (j < n && IsIdentChar(s[j])) ++j;
      WideString word = s.substr(i, j - i);
      i = j;
      std::size_t k = j;
      while (k < n && (s[k] == u' ' || s[k] == u'\t' || s[k] == u'\r' || s[k] == u'\n')) ++k;
      bool call = k < n && s[k] == u'(';

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
        if (call) {  // COUNTER(seed, step)
          std::size_t e = s.find(u')', k);
          i = e == WideString::npos ? n : e + 1;
        }
      } else if (skipPrimaryKey && SameWord(word, "PRIMARY")) {
        std::size_t e = k;
        while (e < n && IsIdentChar(s[e])) ++e;
        if (SameWord(s.substr(k, e - k), "KEY"))
          i = e;
        else
          out += word;
      } else if (SameWord(word, "TOP") &&
                 (SameWord(prevWord, "SELECT") || SameWord(prevWord, "DISTINCT") || SameWord(prevWord, "ALL"))) {
        std::size_t e = k;
        while (e < n && s[e] >= u'0' && s[e] <= u'9') ++e;
        if (e == k) {
          out += word;
        } else {
          limits.push_back({depth, s.substr(k, e - k)});
          while (e < n && (s[e] == u' ' || s[e] == u'\t' || s[e] == u'\r' || s[e] == u'\n')) ++e;
          i = e;
          word = u"";
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
          std::size_t e = s.find(u')', k);
          e = e == WideString::npos ? n : e + 1;
          out.append(s, i, e - i);
          i = e;
        }
        out += u" COLLATE JETTEXT";
      } else {
        out += word;
      }
      expectType = false;
      if (!word.empty()) {
        prevWord = word;
      }
      continue;
    }
    out += c;
    ++i;
  }
  closeLimits(0);
  result.Sql = System::WideToUtf8(out);
  return result;
}

}  // namespace JetDialect
