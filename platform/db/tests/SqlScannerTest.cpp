// The scanner the parameter markers and both dialects share: token kinds and bounds, the same
// in UTF-16 and UTF-8, and the texts inside quotes.
#include <gtest/gtest.h>

#include "platform/db/JetDialect.h"
#include "platform/db/Params.h"
#include "platform/db/PgDialect.h"
#include "platform/db/SqlScanner.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

using SqlScanner::TTokenKind;

// Each token as "K:text", K one letter per kind, blanks left out.
std::string Shape(const std::string& Sql)
{
  static const char kLetter[] = "_CWBDSTNPp";  // in the order of TTokenKind
  std::string r;
  for (const SqlScanner::TToken& t : SqlScanner::Scan(Sql)) {
    if (t.Kind == TTokenKind::Space) continue;
    if (!r.empty()) r += ' ';
    r += kLetter[static_cast<int>(t.Kind)];
    r += ':' + Sql.substr(t.Pos, t.Len);
  }
  return r;
}

}  // namespace

TEST(SqlScanner, TokensOfEachKind)
{
  struct Case {
    const char* sql;
    const char* shape;
  };
  const Case cases[] = {
      {"select [合同 名称], \"it\"\"s\" from t", "W:select B:[合同 名称] p:, D:\"it\"\"s\" W:from W:t"},
      {"a='x''y' -- :c\nb", "W:a p:= S:'x''y' C:-- :c W:b"},
      {"/* :c */x /* open", "C:/* :c */ W:x C:/* open"},
      {"d>=#2009-03-05 12:00 PM# or e=#yesterday#",
       "W:d p:>= T:#2009-03-05 12:00 PM# W:or W:e p:= p:# W:yesterday p:#"},
      {"x=:Id and y=:名称 and a:b and c::int",
       "W:x p:= P::Id W:and W:y p:= P::名称 W:and W:a p:: W:b W:and W:c p::: W:int"},
      {"top 10 .5 1e5 a$b <> || &", "W:top N:10 N:.5 N:1e5 W:a$b p:<> p:|| p:&"},
      {"'unclosed", "S:'unclosed"},
      {"[unclosed", "B:[unclosed"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Shape(c.sql), c.shape) << c.sql;
    // The UTF-16 scan finds the same tokens as the byte scan of the literal's code page 936 bytes.
    WideString wide = System::AnsiToWide(c.sql);
    auto narrow = SqlScanner::Scan(std::string(c.sql));
    auto wides = SqlScanner::Scan(wide);
    ASSERT_EQ(narrow.size(), wides.size()) << c.sql;
    for (std::size_t k = 0; k < narrow.size(); ++k) {
      EXPECT_EQ(narrow[k].Kind, wides[k].Kind) << c.sql;
      EXPECT_EQ(std::string(c.sql).substr(narrow[k].Pos, narrow[k].Len),
                System::WideToAnsi(wide.substr(wides[k].Pos, wides[k].Len)))
          << c.sql;
    }
  }
}

TEST(SqlScanner, InnerTextsUndoubleQuotes)
{
  const std::string sql = "'it''s' \"a\"\"b\" [x]]y] :Name 'open''";
  auto toks = SqlScanner::Scan(sql);
  std::vector<std::string> inner;
  for (const auto& t : toks)
    if (t.Kind != TTokenKind::Space) inner.push_back(SqlScanner::Inner(sql, t));
  EXPECT_EQ(inner, (std::vector<std::string>{"it's", "a\"b", "x", "]", "y", "]", "Name", "open'"}));
}

// The markers the parameters list and the names each dialect binds are the same, in the same
// order, whatever surrounds them.
TEST(SqlScanner, MarkersAndDialectsAgree)
{
  const WideString sql =
      u"select '::x', [:y], \"a:b\" from t where a:b = :Id /* :z */ and c = :名称 and d::int = :id -- :w";
  std::vector<WideString> markers;
  for (const auto& m : Params::ScanMarkers(sql)) markers.push_back(m.Name);
  EXPECT_EQ(markers, (std::vector<WideString>{u"Id", u"名称", u"id"}));
  EXPECT_EQ(JetDialect::Rewrite(sql).ParamNames, (std::vector<WideString>{u"Id", u"名称"}));
  EXPECT_EQ(PgDialect::Rewrite(sql).ParamNames, (std::vector<WideString>{u"Id", u"名称"}));
}
