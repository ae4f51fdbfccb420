// The Access-dialect rewrite, statement by statement, and the date literal parser.
#include <gtest/gtest.h>

#include "platform/db/JetDialect.h"
#include "platform/rtl/AnsiStrings.h"

namespace {
std::string Rw(const char* sql) { return JetDialect::Rewrite(System::Utf8ToWide(sql)).Sql; }
}  // namespace

TEST(JetDialect, MalformedDateLiteralIsRejected)
{
  EXPECT_THROW(Rw("select * from t where d > #2009-13-45#"), EOleException);
  EXPECT_THROW(Rw("select * from t where d > #yesterday#"), EOleException);
}

TEST(JetDialect, RewritesEachConstruct)
{
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"select * from t where d >= #2009-03-05#", "select * from t where d >= 39877.0"},
      {"select * from t where d = #3/5/2009#", "select * from t where d = 39877.0"},
      {"select * from t where d < #2009-03-05 12:00:00#", "select * from t where d < 39877.5"},
      {"select [Note], [my col] from [operator]", "select \"Note\", \"my col\" from \"operator\""},
      {"select * from t where a = \"it's\"", "select * from t where a = 'it''s'"},
      {"update t set b = True, c = false", "update t set b = 1, c = 0"},
      {"select * from t where EndDate >= Now and x = Now()", "select * from t where EndDate >= Now() and x = Now()"},
      {"select top 1 * from t order by Id desc", "select * from t order by Id desc LIMIT 1"},
      {"select distinct top 5 a from t;", "select distinct a from t LIMIT 5"},
      {"select a, (select top 1 b from u where u.x=t.x order by b) from t",
       "select a, (select b from u where u.x=t.x order by b LIMIT 1) from t"},
      {"insert into t(a, b) values (:A, :b)", "insert into t(a, b) values (?1, ?2)"},
      {"update t set a=:Id where Id=:id or x=':id'", "update t set a=?1 where Id=?1 or x=':id'"},
      {"select a & b from t", "select a || b from t"},
      {"select left(a, 2), Right (b,1) from t a left join u",
       "select jet_left(a, 2), jet_right (b,1) from t a left join u"},
      {"select 'a:b' from t -- :c\n", "select 'a:b' from t -- :c"},
      {"create table t (Text TEXT(20), m MEMO, n INTEGER)",
       "create table t (Text TEXT(20) COLLATE JETTEXT, m LONGTEXT COLLATE JETTEXT, n INTEGER)"},
      {"create table t (Id COUNTER PRIMARY KEY, n COUNTER(1,1), [Note] TEXT)",
       "create table t (Id INTEGER PRIMARY KEY AUTOINCREMENT , n INTEGER PRIMARY KEY AUTOINCREMENT, \"Note\" TEXT "
       "COLLATE JETTEXT)"},
      {"alter table t add column Memo memo", "alter table t add column Memo LONGTEXT COLLATE JETTEXT"},
      {"ALTER TABLE t ADD Note VARCHAR(40)", "ALTER TABLE t ADD Note VARCHAR(40) COLLATE JETTEXT"},
      {"select 'Top 1 Now True' from t", "select 'Top 1 Now True' from t"},
  };
  for (const Case& c : cases) EXPECT_EQ(Rw(c.in), c.out) << c.in;
}

TEST(JetDialect, ParameterNamesInOrderOfFirstUse)
{
  auto r = JetDialect::Rewrite(u"select * from t where a=:Id and b=:Name and c=:ID");
  ASSERT_EQ(r.ParamNames.size(), 2u);
  EXPECT_EQ(r.ParamNames[0], u"Id");
  EXPECT_EQ(r.ParamNames[1], u"Name");
}
