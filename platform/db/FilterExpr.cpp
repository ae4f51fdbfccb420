#include "platform/db/FilterExpr.h"

#include <cctype>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"

namespace {

struct Operand {
  bool IsField = false;
  AnsiString Name;
  Variant Value;
  Variant Get(TDataSet* ds) const { return IsField ? ds->FieldByName(Name)->GetValue() : Value; }
};

enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like, NotLike, IsNull, IsNotNull };

struct Node : TFilterExpression {
  enum Kind { And, Or, Not, Cmp } K = Cmp;
  std::unique_ptr<Node> L, R;
  Operand A, B;
  Op O = Op::Eq;

  static bool Null(const Variant& v) { return v.IsNull() || v.IsEmpty(); }

  static int Compare(Variant a, Variant b)
  {
    if (a.VarType() == varDate && Variants::VarIsStr(b)) b = Variant(SysUtils::StrToDateTime(b.AsString()));
    if (b.VarType() == varDate && Variants::VarIsStr(a)) a = Variant(SysUtils::StrToDateTime(a.AsString()));
    if (Variants::VarIsStr(a) || Variants::VarIsStr(b))
      return SysUtils::AnsiCompareText(Variants::VarToStr(a), Variants::VarToStr(b));
    switch (Variants::VarCompareValue(a, b)) {
      case Variants::vrEqual: return 0;
      case Variants::vrLessThan: return -1;
      case Variants::vrGreaterThan: return 1;
      default: return 1;
    }
  }

  bool Evaluate(TDataSet* ds) const override
  {
    switch (K) {
      case And: return L->Evaluate(ds) && R->Evaluate(ds);
      case Or: return L->Evaluate(ds) || R->Evaluate(ds);
      case Not: return !L->Evaluate(ds);
      case Cmp: break;
    }
    Variant a = A.Get(ds);
    if (O == Op::IsNull) return Null(a);
    if (O == Op::IsNotNull) return !Null(a);
    Variant b = B.Get(ds);
    if (Null(a) || Null(b)) return false;
    if (O == Op::Like || O == Op::NotLike)
      return FilterExpr::MatchLike(Variants::VarToStr(a), Variants::VarToStr(b)) == (O == Op::Like);
    int c;
    try {
      c = Compare(a, b);
    } catch (const EVariantError&) {
      return false;
    } catch (const EConvertError&) {
      return false;
    }
    switch (O) {
      case Op::Eq: return c == 0;
      case Op::Ne: return c != 0;
      case Op::Lt: return c < 0;
      case Op::Gt: return c > 0;
      case Op::Le: return c <= 0;
      case Op::Ge: return c >= 0;
      default: return false;
    }
  }
};

class Parser {
public:
  explicit Parser(const AnsiString& text) : S(text) {}

  std::unique_ptr<Node> Run()
  {
    auto n = ParseOr();
    Skip();
    if (P < S.size()) Fail();
    return n;
  }

private:
  const AnsiString& S;
  std::size_t P = 0;

  [[noreturn]] void Fail() const { DB::DatabaseError(SysUtils::Format("Invalid filter expression: %s", {S})); }

  void Skip()
  {
    while (P < S.size() && (S[P] == ' ' || S[P] == '\t' || S[P] == '\r' || S[P] == '\n')) ++P;
  }

  static bool IdentChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '.' || c >= 0x80; }

  // Reads a bare word (keyword or field name) without consuming it when Peek is set.
  AnsiString Word(bool Peek)
  {
    Skip();
    std::size_t q = P;
    while (q < S.size() && IdentChar(static_cast<unsigned char>(S[q]))) {
      if (static_cast<unsigned char>(S[q]) >= 0x81 && q + 1 < S.size()) ++q;
      ++q;
    }
    AnsiString w = S.substr(P, q - P);
    if (!Peek) P = q;
    return w;
  }

  bool Keyword(const char* kw)
  {
    AnsiString w = Word(true);
    if (!SysUtils::SameText(w, kw)) return false;
    Word(false);
    return true;
  }

  std::unique_ptr<Node> Join(Node::Kind k, std::unique_ptr<Node> l, std::unique_ptr<Node> r)
  {
    auto n = std::make_unique<Node>();
    n->K = k;
    n->L = std::move(l);
    n->R = std::move(r);
    return n;
  }

  std::unique_ptr<Node> ParseOr()
  {
    auto n = ParseAnd();
    while (Keyword("OR")) n = Join(Node::Or, std::move(n), ParseAnd());
    return n;
  }

  std::unique_ptr<Node> ParseAnd()
  {
    auto n = ParseNot();
    while (Keyword("AND")) n = Join(Node::And, std::move(n), ParseNot());
    return n;
  }

  std::unique_ptr<Node> ParseNot()
  {
    if (Keyword("NOT")) return Join(Node::Not, ParseNot(), nullptr);
    Skip();
    if (P < S.size() && S[P] == '(') {
      ++P;
      auto n = ParseOr();
      Skip();
      if (P >= S.size() || S[P] != ')') Fail();
      ++P;
      return n;
    }
    return ParseCmp();
  }

  std::unique_ptr<Node> ParseCmp()
  {
    auto n = std::make_unique<Node>();
    n->A = ParseOperand();
    if (Keyword("IS")) {
      bool neg = Keyword("NOT");
      if (!Keyword("NULL")) Fail();
      n->O = neg ? Op::IsNotNull : Op::IsNull;
      return n;
    }
    if (Keyword("LIKE"))
      n->O = Op::Like;
    else if (Keyword("NOT")) {
      if (!Keyword("LIKE")) Fail();
      n->O = Op::NotLike;
    } else {
      Skip();
      auto two = S.substr(P, 2);
      if (two == "<>" || two == "!=") {
        n->O = Op::Ne;
        P += 2;
      } else if (two == "<=") {
        n->O = Op::Le;
        P += 2;
      } else if (two == ">=") {
        n->O = Op::Ge;
        P += 2;
      } else if (P < S.size() && S[P] == '=') {
        n->O = Op::Eq;
        ++P;
      } else if (P < S.size() && S[P] == '<') {
        n->O = Op::Lt;
        ++P;
      } else if (P < S.size() && S[P] == '>') {
        n->O = Op::Gt;
        ++P;
      } else
        Fail();
    }
    n->B = ParseOperand();
    if (!n->B.IsField && (n->B.Value.IsNull()) && (n->O == Op::Eq || n->O == Op::Ne))
      n->O = n->O == Op::Eq ? Op::IsNull : Op::IsNotNull;
    return n;
  }

  Operand ParseOperand()
  {
    Skip();
    Operand o;
    if (P >= S.size()) Fail();
    char c = S[P];
    if (c == '\'' || c == '"') {
      AnsiString v;
      ++P;
      for (;;) {
        if (P >= S.size()) Fail();
        if (S[P] == c) {
          if (P + 1 < S.size() && S[P + 1] == c) {
            v += c;
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        if (static_cast<unsigned char>(S[P]) >= 0x81 && P + 1 < S.size()) v += S[P++];
        v += S[P++];
      }
      o.Value = Variant(v);
      return o;
    }
    if (c == '#') {
      std::size_t e = S.find('#', P + 1);
      if (e == AnsiString::npos) Fail();
      AnsiString text = S.substr(P + 1, e - P - 1);
      P = e + 1;
      TDateTime d;
      if (!SysUtils::TryStrToDateTime(text, d)) Fail();
      o.Value = Variant(d);
      return o;
    }
    if (c == '[') {
      std::size_t e = S.find(']', P + 1);
      if (e == AnsiString::npos) Fail();
      o.IsField = true;
      o.Name = S.substr(P + 1, e - P - 1);
      P = e + 1;
      return o;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+') {
      std::size_t q = P + 1;
      while (q < S.size() && (std::isdigit(static_cast<unsigned char>(S[q])) || S[q] == '.')) ++q;
      AnsiString num = S.substr(P, q - P);
      P = q;
      Int64 i;
      double f;
      if (SysUtils::TryStrToInt64(num, i))
        o.Value = Variant(static_cast<long long>(i));
      else if (SysUtils::TryStrToFloat(num, f))
        o.Value = Variant(f);
      else
        Fail();
      return o;
    }
    AnsiString w = Word(false);
    if (w.empty()) Fail();
    if (SysUtils::SameText(w, "NULL"))
      o.Value = Variant::Null();
    else if (SysUtils::SameText(w, "TRUE"))
      o.Value = Variant(true);
    else if (SysUtils::SameText(w, "FALSE"))
      o.Value = Variant(false);
    else {
      o.IsField = true;
      o.Name = w;
    }
    return o;
  }
};

WideChar Up(WideChar c) { return (c >= u'a' && c <= u'z') ? static_cast<WideChar>(c - 32) : c; }

// Wildcard match that backtracks only to the last run wildcard: linear in practice, never
// exponential.
bool MatchWide(const WideString& t, const WideString& p)
{
  std::size_t ti = 0, pi = 0, starP = WideString::npos, starT = 0;
  while (ti < t.size()) {
    if (pi < p.size() && (p[pi] == u'%' || p[pi] == u'*')) {
      starP = pi++;
      starT = ti;
    } else if (pi < p.size() && (p[pi] == u'_' || p[pi] == u'?' || Up(p[pi]) == Up(t[ti]))) {
      ++pi;
      ++ti;
    } else if (starP != WideString::npos) {
      pi = starP + 1;
      ti = ++starT;
    } else {
      return false;
    }
  }
  while (pi < p.size() && (p[pi] == u'%' || p[pi] == u'*')) ++pi;
  return pi == p.size();
}

}  // namespace

std::unique_ptr<TFilterExpression> TFilterExpression::Parse(const AnsiString& Text) { return Parser(Text).Run(); }

bool FilterExpr::MatchLike(const AnsiString& Text, const AnsiString& Pattern)
{
  return MatchWide(System::AnsiToWide(Text), System::AnsiToWide(Pattern));
}
