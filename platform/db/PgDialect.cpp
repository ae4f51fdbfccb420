#include "platform/db/PgDialect.h"

#include <cstdlib>

#include "platform/db/SqlScanner.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"

namespace PgDialect {

namespace {

enum TKind { kIdent, kQuoted, kNumber, kString, kParam, kPunct, kSpace };

struct TToken {
  TKind Kind;
  std::string Text;  // for kQuoted and kParam: the name alone
};

std::vector<TToken> Tokenize(const std::string& s)
{
  using SqlScanner::TTokenKind;
  std::vector<TToken> out;
  for (const SqlScanner::TToken& t : SqlScanner::Scan(s)) {
    switch (t.Kind) {
      case TTokenKind::Space:
      case TTokenKind::Comment: out.push_back({kSpace, " "}); break;
      case TTokenKind::Word: out.push_back({kIdent, s.substr(t.Pos, t.Len)}); break;
      case TTokenKind::Bracketed:
      case TTokenKind::DoubleQuoted: out.push_back({kQuoted, SqlScanner::Inner(s, t)}); break;
      case TTokenKind::Param: out.push_back({kParam, SqlScanner::Inner(s, t)}); break;
      case TTokenKind::Number: out.push_back({kNumber, s.substr(t.Pos, t.Len)}); break;
      case TTokenKind::String:
      case TTokenKind::DateLiteral:  // no PostgreSQL syntax: passed on as written, for the server to refuse
        out.push_back({kString, s.substr(t.Pos, t.Len)});
        break;
      case TTokenKind::Punct: out.push_back({kPunct, s.substr(t.Pos, t.Len)}); break;
    }
  }
  return out;
}

std::string QuoteName(const std::string& name)
{
  std::string r = "\"";
  for (char c : SysUtils::LowerCase(name)) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + '"';
}

// The name of a bare or bracketed identifier token, folded.
std::string Folded(const TToken& t) { return SysUtils::LowerCase(t.Text); }

bool Is(const TToken* t, const char* word) { return t && t->Kind == kIdent && SysUtils::UpperCase(t->Text) == word; }

// Maps a declared column type; Args is the text inside the parentheses after it (without them)
// or empty. Sets Size for text columns.
std::string MapType(const std::string& type, const std::string& args, bool hasArgs, Integer& size, bool& identity)
{
  std::string u = SysUtils::UpperCase(type);
  size = 0;
  identity = false;
  auto in = [&](std::initializer_list<const char*> l) {
    for (const char* w : l)
      if (u == w) return true;
    return false;
  };
  if (in({"TEXT", "VARCHAR", "NVARCHAR", "CHAR", "NCHAR", "STRING", "CHARACTER", "VARCHAR2"})) {
    if (hasArgs && SysUtils::UpperCase(args) == "MAX") return MemoType;
    size = hasArgs ? static_cast<Integer>(std::atoi(args.c_str())) : 255;
    if (size <= 0) size = 255;
    return TextType;
  }
  if (in({"MEMO", "NTEXT", "LONGTEXT", "LONGCHAR", "CLOB"})) return MemoType;
  if (in({"BIT", "YESNO", "LOGICAL", "BOOLEAN", "BOOL"})) return BitType;
  if (in({"DATETIME", "SMALLDATETIME", "DATETIME2", "DATE", "TIME", "TIMESTAMP"})) return "timestamp";
  if (in({"CURRENCY", "MONEY", "SMALLMONEY"})) return "numeric(19,4)";
  if (in({"DECIMAL", "NUMERIC"})) return hasArgs ? "numeric(" + args + ")" : "numeric(18,0)";
  if (in({"COUNTER", "AUTOINCREMENT", "AUTOINC"})) {
    identity = true;
    return "integer";
  }
  if (in({"INT", "INTEGER", "LONG"})) return "integer";
  if (in({"SMALLINT", "SHORT", "TINYINT", "BYTE"})) return "smallint";
  if (in({"BIGINT"})) return "bigint";
  if (in({"FLOAT", "DOUBLE"})) return "double precision";
  if (in({"REAL", "SINGLE"})) return "real";
  if (in({"IMAGE", "OLEOBJECT", "LONGBINARY", "VARBINARY", "BINARY", "BLOB"})) return "bytea";
  return hasArgs ? type + "(" + args + ")" : type;
}

}  // namespace

TRewritten Rewrite(const WideString& Sql)
{
  TRewritten r;
  std::vector<TToken> toks = Tokenize(System::WideToUtf8(Sql));
  // Index of the next and previous significant token.
  auto next = [&](std::size_t i) -> std::size_t {
    for (++i; i < toks.size(); ++i)
      if (toks[i].Kind != kSpace) return i;
    return toks.size();
  };
  auto at = [&](std::size_t i) -> const TToken* { return i < toks.size() ? &toks[i] : nullptr; };

  std::size_t first = next(static_cast<std::size_t>(-1));
  bool create = Is(at(first), "CREATE") && Is(at(next(first)), "TABLE");
  bool alter = Is(at(first), "ALTER") && Is(at(next(first)), "TABLE");
  std::string table;
  if (create || alter) {
    const TToken* t = at(next(next(first)));
    if (t && (t->Kind == kIdent || t->Kind == kQuoted)) table = Folded(*t);
  }

  struct TLimit {
    int Depth;
    std::string Count;
  };
  std::vector<TLimit> limits;
  int depth = 0;
  // DDL state: expecting a column name, then its type.
  enum { dNone, dName, dType, dSkip } ddl = dNone;
  bool alterColumn = false;  // ALTER COLUMN name TYPE type
  const TToken* prevSig = nullptr;
  std::string& out = r.Sql;

  auto closeLimits = [&](int d) {
    while (!limits.empty() && limits.back().Depth > d) {
      out += " LIMIT " + limits.back().Count;
      limits.pop_back();
    }
  };

  for (std::size_t i = 0; i < toks.size(); ++i) {
    const TToken& t = toks[i];
    switch (t.Kind) {
      case kSpace:
        if (!out.empty() && out.back() != ' ') out += ' ';
        continue;
      case kString:
      case kNumber: out += t.Text; break;
      case kParam: {
        // "column is :value", how datasets find the row they read, matches Nulls too.
        if (Is(prevSig, "IS")) out += "not distinct from ";
        std::size_t k = 0;
        WideString name = System::Utf8ToWide(t.Text);
        for (; k < r.ParamNames.size(); ++k)
          if (SysUtils::LowerCase(System::WideToUtf8(r.ParamNames[k])) == SysUtils::LowerCase(t.Text)) break;
        if (k == r.ParamNames.size()) r.ParamNames.push_back(name);
        out += "$" + std::to_string(k + 1);
        break;
      }
      case kPunct:
        if (t.Text == "(") {
          ++depth;
          if ((create && depth == 1 && ddl == dNone)) ddl = dName;
        } else if (t.Text == ")") {
          closeLimits(depth - 1);
          --depth;
        } else if (t.Text == ";") {
          closeLimits(-1);
          // one statement: a trailing ';' is dropped
          if (next(i) >= toks.size()) continue;
        } else if (t.Text == "," && (create ? depth == 1 : alter && depth == 0) && ddl != dNone) {
          ddl = dName;
        }
        out += t.Text;
        break;
      case kQuoted:
      case kIdent: {
        r.Spellings.push_back(t.Text);
        std::string u = t.Kind == kIdent ? SysUtils::UpperCase(t.Text) : std::string();
        if (alter && (u == "ADD" || (u == "COLUMN" && prevSig && Is(prevSig, "ALTER")))) {
          ddl = dName;
          alterColumn = u == "COLUMN";
          out += t.Text;
          break;
        }
        if (alter && u == "COLUMN") {
          out += t.Text;
          break;
        }
        if (ddl == dName) {
          if (u == "CONSTRAINT" || u == "PRIMARY" || u == "UNIQUE" || u == "FOREIGN" || u == "CHECK") {
            ddl = dSkip;
            out += t.Text;
            break;
          }
          r.Columns.push_back({table, Folded(t), t.Text, 0});
          out += QuoteName(t.Text);
          ddl = dType;
          break;
        }
        if (ddl == dType && t.Kind == kIdent) {
          std::string args;
          bool hasArgs = false;
          std::size_t k = next(i);
          if (k < toks.size() && toks[k].Kind == kPunct && toks[k].Text == "(") {
            hasArgs = true;
            std::size_t m = k + 1;
            for (; m < toks.size() && !(toks[m].Kind == kPunct && toks[m].Text == ")"); ++m)
              if (toks[m].Kind != kSpace) args += toks[m].Text;
            i = m;  // past the ')'
          }
          Integer size = 0;
          bool identity = false;
          if (alterColumn) out += "type ";
          out += MapType(t.Text, args, hasArgs, size, identity);
          if (identity) out += " generated by default as identity";
          r.Columns.back().Size = size;
          ddl = dSkip;
          prevSig = &t;
          continue;
        }
        if (ddl != dNone && u == "IDENTITY") {
          std::size_t k = next(i);
          if (k < toks.size() && toks[k].Kind == kPunct && toks[k].Text == "(") {
            while (k < toks.size() && !(toks[k].Kind == kPunct && toks[k].Text == ")")) ++k;
            i = k;
          }
          out += "generated by default as identity";
          prevSig = &t;
          continue;
        }
        if (u == "TOP" && (Is(prevSig, "SELECT") || Is(prevSig, "DISTINCT"))) {
          std::size_t k = next(i);
          if (k < toks.size() && toks[k].Kind == kNumber) {
            limits.push_back({depth, toks[k].Text});
            i = k;
            std::size_t after = next(i);
            if (after < toks.size() && toks[after].Kind == kIdent && SysUtils::UpperCase(toks[after].Text) == "PERCENT")
              i = after;
            prevSig = &t;
            continue;
          }
        }
        if (u == "ROWID" && t.Kind == kIdent) {  // the row's address, as datasets use it to write back
          out += "ctid";
          break;
        }
        if (u == "DATEDIFF") {
          std::size_t k = next(i);
          std::size_t a = k < toks.size() && toks[k].Text == "(" ? next(k) : toks.size();
          if (a < toks.size() && toks[a].Kind == kIdent)
            toks[a] = {kString, "'" + SysUtils::LowerCase(toks[a].Text) + "'"};
        }
        out += t.Kind == kQuoted ? QuoteName(t.Text) : t.Text;
        break;
      }
    }
    prevSig = &t;
  }
  closeLimits(-1);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return r;
}

}  // namespace PgDialect
