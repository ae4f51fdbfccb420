// The database layer on a new embedded database: statements, the dialect helpers, the sets and
// the failure roads.
#include <gtest/gtest.h>

#include "core/Database.h"
#include "core/tests/CoreTestSupport.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateTime.h"

namespace {

class DatabaseLayer : public CoreFixture {};

struct TTestWhere : TCustomWhere {
  TField* Code;
  TTestWhere()
  {
    Code = AddFieldDef(TWideStringField::StaticClass(), "Code", "编号", ftWideString, true, 50);
    Start();
  }
};

}  // namespace

TEST(DatabaseDialect, ProviderDataSourceAndDateLiteral)
{
  Database::Initialize();
  TDatabase& Db = *Database::GlobalDB;
  TDateTime When = SysUtils::EncodeDate(2009, 3, 5) + SysUtils::EncodeTime(14, 30, 0, 0);
  struct Case {
    const char* Conn;
    bool Server;
    const char* Source;
    const char* Literal;
  } Cases[] = {
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a\\b.mdb;Persist Security Info=True", false, "C:\\a\\b.mdb",
       "#2009-03-05#"},
      {"Provider=SQLOLEDB.1;Data Source=srv;User ID=u", true, "srv", "'2009-03-05'"},
      {"Provider=microsoft.jet.oledb.4.0;Data Source=x.mdb;", true, "x.mdb", "'2009-03-05'"},
      {"Provider=Other;Data Source=last", true, "last", "'2009-03-05'"},  // last value without ';'
      {"Provider=Other;", true, "", "'2009-03-05'"},                      // no Data Source at all
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Conn);
    Db.GetConnection()->SetConnectionString(System::AnsiToWide(C.Conn));
    EXPECT_EQ(Db.IsSqlServer(), C.Server);
    EXPECT_EQ(System::WideToAnsi(Db.GetDataSource()), C.Source);
    EXPECT_EQ(Db.DateLiteral(When), C.Literal);
    EXPECT_EQ(Db.NowFunction(), C.Server ? "GetDate()" : "Now");
  }
  Database::Finalize();
}

TEST_F(DatabaseLayer, ExecSqlCountsRowsAndReportsTheStatementOnFailure)
{
  EXPECT_EQ(Exec("update keyvalue set Vint=1 where KeyId=:KeyId", {Database::MakeParam("KeyId", 99)}), 0);
  EXPECT_EQ(Exec("insert into keyvalue(KeyId, Vstr) values (:KeyId, :Vstr)",
                 {Database::MakeParam("KeyId", 1), Database::MakeParam("Vstr", "合同")}),
            1);
  const AnsiString Bad = "update keyvalue sett Vint=1";
  try {
    Exec(Bad);
    FAIL() << "no error";
  } catch (const Exception& E) {
    EXPECT_GE(E.Message().size(), Bad.size() + 2);
    EXPECT_EQ(E.Message().substr(E.Message().size() - Bad.size() - 2), "\r\n" + Bad);
  }
  // A parameter the statement does not name fails before anything runs.
  EXPECT_THROW(Exec("delete from keyvalue", {Database::MakeParam("Nope", 1)}), Exception);
  EXPECT_EQ(Exec("delete from keyvalue where KeyId=1"), 1);
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(DatabaseLayer, StatementsAndSetsReconnectAfterADisconnect)
{
  Database::GlobalDB->SetConnected(false);
  EXPECT_EQ(Exec("insert into keyvalue(KeyId) values (5)"), 1);
  Database::GlobalDB->SetConnected(false);
  Database::GlobalDB->Execute(u"insert into keyvalue(KeyId) values (6)");
  Database::GlobalDB->SetConnected(false);
  EXPECT_EQ(Database::ScratchSet->OpenSql(u"select * from keyvalue"), 2);
}

TEST_F(DatabaseLayer, FailedConnectionShowsOneBoxAndAnswersFalse)
{
  EXPECT_FALSE(Database::GlobalDB->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/nonexistent/x.mdb;"));
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("\r\n连接时失败,提示如下:\r\n", 0), 0u);
  EXPECT_FALSE(Database::GlobalDB->GetConnected());
}

TEST_F(DatabaseLayer, FailedOpenShowsTheQueryBoxOnceAndAbortsSilently)
{
  TRecordSet& Set = *Database::ScratchSet;
  EXPECT_THROW(Set.OpenSql(u"select * from nosuchtable"), EAbort);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("\r\nSQL语句错误,原文如下:\r\nselect * from nosuchtable\r\n\r\n错误提示:\r\n", 0), 0u);
  EXPECT_FALSE(Set.GetDataSet()->GetActive());

  TQuerySet Query;
  EXPECT_THROW(Query.OpenSql(u"select x from"), EAbort);
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_FALSE(Query.GetQuery()->GetActive());
}

TEST_F(DatabaseLayer, RefreshKeepsTheRowOfTheKeyAndJoinColumnJoinsInOrder)
{
  for (int i = 1; i <= 3; ++i)
    Exec("insert into keyvalue(KeyId, Vstr) values (:K, :S)",
         {Database::MakeParam("K", i), Database::MakeParam("S", AnsiString(1, char('a' + i - 1)))});
  TQuerySet Set;
  TField* Key = Set.AddField(TIntegerField::StaticClass(), "KeyId", "键", true, 0);
  TField* Text = Set.AddField(TWideMemoField::StaticClass(), "Vstr", "", true, 16);
  Set.AddField(TIntegerField::StaticClass(), "Vint", "", true, 0);
  Set.AddField(TFloatField::StaticClass(), "Vfloat", "", true, 0);
  Set.AddField(TBooleanField::StaticClass(), "Vbool", "", true, 0);
  EXPECT_EQ(Key->GetDisplayWidth(), 75);
  EXPECT_EQ(Set.OpenSql(u"select * from keyvalue order by KeyId"), 3);
  Set.GetQuery()->Locate("KeyId", 2);
  Exec("insert into keyvalue(KeyId) values (0)");  // sorts first after the reopen
  Set.Refresh(Key);
  EXPECT_EQ(Key->GetAsInteger(), 2);
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 4);
  Set.Refresh();
  EXPECT_EQ(Key->GetAsInteger(), 0);
  (void)Text;

  TRecordSet& Scratch = *Database::ScratchSet;
  EXPECT_EQ(System::WideToAnsi(Scratch.JoinColumn(nullptr, ",", u"keep")), "keep");  // closed
  Scratch.OpenSql(u"select Vstr from keyvalue where KeyId>0 order by KeyId");
  EXPECT_EQ(System::WideToAnsi(Scratch.JoinColumn(Scratch.GetDataSet()->FieldByName("Vstr"), ",")), "a,b,c");
  EXPECT_TRUE(Scratch.GetDataSet()->GetEof());
  Scratch.DeleteAll();  // in memory only
  EXPECT_EQ(Scratch.GetDataSet()->GetRecordCount(), 0);
  EXPECT_EQ(Scratch.OpenSql(u"select * from keyvalue"), 4);
}

TEST_F(DatabaseLayer, ClientDataSetSizesAndTheCriteriaRow)
{
  TQxClientDataSet Table;
  TField* A = Table.AddFieldDef(TWideStringField::StaticClass(), "A", "", ftWideString, true, 50);
  TField* B = Table.AddFieldDef(TWideStringField::StaticClass(), "B", "", ftWideString, true, 200);
  TField* C = Table.AddFieldDef(TWideStringField::StaticClass(), "C", "", ftWideString, true, 10);
  EXPECT_EQ(A->GetSize(), 50);
  EXPECT_EQ(B->GetSize(), 140);
  EXPECT_EQ(C->GetSize(), TWideStringField(nullptr).GetSize());

  TTestWhere Where;
  EXPECT_EQ(Where.GetDataSet()->GetState(), dsInsert);
  Where.Code->SetAsString("X1");
  Where.Reset();
  EXPECT_EQ(Where.GetDataSet()->GetState(), dsInsert);
  EXPECT_TRUE(Where.Code->IsNull());
}

TEST(DatabaseShutDown, ASetOutlivingTheConnectionIsFreedSafely)
{
  Database::Initialize();
  auto Set = std::make_unique<TRecordSet>();
  auto Query = std::make_unique<TQuerySet>();
  Database::Finalize();
  EXPECT_EQ(Database::GlobalDB, nullptr);
  EXPECT_EQ(Database::ScratchSet, nullptr);
  EXPECT_EQ(Set->GetDataSet()->GetConnection(), nullptr);
  Set.reset();
  Query.reset();
  Database::Finalize();  // a second call does nothing
}
