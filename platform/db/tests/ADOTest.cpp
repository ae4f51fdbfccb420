// The ADO components on a temporary Jet (SQLite) database: the flows the application core runs,
// the password, the Access dialect through the provider, and the in-memory criteria row.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/db/ADOCommand.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/db/tests/JetTestSupport.h"

namespace {

class ADO : public testing::Test {
protected:
  void SetUp() override
  {
    Conn.SetConnectionString(Db.ConnectionString());
    Conn.SetLoginPrompt(false);
    Conn.Open();
    Exec(
        "create table docs (Id INTEGER, Title TEXT(50), Body MEMO, Data IMAGE, Done BIT, Made DATETIME, Amount "
        "CURRENCY)");
  }

  Integer Exec(const char* sql, std::vector<std::pair<const char*, Variant>> params = {})
  {
    TADOQuery q(nullptr);
    q.SetConnection(&Conn);
    q.GetSQL()->SetText(sql);
    for (auto& [n, v] : params) q.GetParameters().ParamByName(n)->SetValue(v);
    return q.ExecSQL();
  }

  std::unique_ptr<TADOQuery> Open(const char* sql, std::vector<std::pair<const char*, Variant>> params = {})
  {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetConnection(&Conn);
    q->SetLockType(ltBatchOptimistic);
    q->GetSQL()->SetText(sql);
    for (auto& [n, v] : params) q->GetParameters().ParamByName(n)->SetValue(v);
    q->Open();
    return q;
  }

  TempJetDatabase Db;
  TADOConnection Conn{nullptr};
};

}  // namespace

TEST(JetProvider, RefusesMissingFileWrongPasswordAndUnknownProvider)
{
  TADOConnection c(nullptr);
  c.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/nonexistent/x.mdb;");
  try {
    c.Open();
    FAIL();
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message(), "Could not find file '/nonexistent/x.mdb'.");
  }
  EXPECT_FALSE(c.GetConnected());

  TempJetDatabase db("secret");
  c.SetConnectionString(db.ConnectionString("wrong"));
  try {
    c.Open();
    FAIL();
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message(), "Not a valid password.");
  }
  c.SetConnectionString(db.ConnectionString("secret"));
  c.Open();
  EXPECT_TRUE(c.GetConnected());
  c.Close();

  EXPECT_THROW(JetProvider::ChangeDatabasePassword(db.File(), "wrong", "new"), EOleException);
  JetProvider::ChangeDatabasePassword(db.File(), "secret", "新密码");
  c.SetConnectionString(db.ConnectionString("secret"));
  EXPECT_THROW(c.Open(), EOleException);
  c.SetConnectionString(db.ConnectionString("新密码"));
  c.Open();
  c.Close();
  EXPECT_THROW(JetProvider::CreateDatabase(db.File()), EOleException);

  c.SetConnectionString(u"Provider=SQLOLEDB.9;Data Source=x");
  EXPECT_THROW(c.Open(), EOleException);
}

TEST_F(ADO, CopyDatabaseMakesACheckedCopyWhileOpen)
{
  Exec("insert into docs(Id, Title) values (1, 'kept')");
  TempJetDatabase target;
  EXPECT_THROW(JetProvider::CopyDatabase(Db.File() + ".missing", target.File()), EOleException);
  JetProvider::CopyDatabase(Db.File(), target.File());  // while Conn has the source open
  TADOConnection c(nullptr);
  c.SetConnectionString(target.ConnectionString());
  TADOQuery q(nullptr);
  q.SetConnection(&c);
  q.GetSQL()->SetText("select Title from docs");
  q.Open();
  EXPECT_EQ(q.FieldByName("Title")->GetAsString(), "kept");
  // A copy into a folder that does not exist fails and leaves nothing behind.
  EXPECT_THROW(JetProvider::CopyDatabase(Db.File(), "/nonexistent/dir/x.mdb"), EOleException);
}

TEST_F(ADO, StatementErrorsAndMissingParameters)
{
  EXPECT_THROW(Exec("selec * from docs"), EOleException);
  EXPECT_THROW(Exec("select * from nosuch"), EOleException);
  TADOQuery q(nullptr);
  q.SetConnection(&Conn);
  q.GetSQL()->SetText("update docs set Title=:Title where Id=:Id");
  EXPECT_THROW(q.GetParameters().ParamByName("Nope"), EDatabaseError);
  EXPECT_EQ(q.GetParameters().GetCount(), 2);
  EXPECT_EQ(Exec("update docs set Title='x' where Id=99"), 0);
  TADOQuery noConn(nullptr);
  noConn.GetSQL()->SetText("select 1");
  EXPECT_THROW(noConn.Open(), EDatabaseError);
}

TEST_F(ADO, CommandTimeoutEndsARunawayStatement)
{
  TADOQuery q(nullptr);
  q.SetConnection(&Conn);
  q.SetCommandTimeout(1);
  q.GetSQL()->SetText("with recursive c(x) as (select 1 union all select x+1 from c) select count(*) from c");
  try {
    q.Open();
    FAIL();
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message(), "Query timeout expired");
  }
  EXPECT_FALSE(q.GetActive());
  // The connection is still usable, and new text closes an open query.
  q.GetSQL()->SetText("select * from docs");
  q.Open();
  q.GetSQL()->SetText("select Id from docs");
  EXPECT_FALSE(q.GetActive());
}

TEST_F(ADO, ParameterisedInsertAndSelectWithBlob)
{
  std::string bytes("\x00\x01\xff\x5c binary", 11);
  TMemoryStream blob;
  blob.Write(bytes.data(), static_cast<Int64>(bytes.size()));
  blob.SetPosition(0);

  TADOQuery ins(nullptr);
  ins.SetConnection(&Conn);
  ins.GetSQL()->SetText(
      "insert into docs(Id, Title, Body, Data, Done, Made, Amount) values (:Id, :Title, :Body, :Data, :Done, :Made, "
      ":Amount)");
  TParameters& p = ins.GetParameters();
  p.ParamByName("Id")->SetValue(1);
  p.ParamByName("Title")->SetValue(Variant("合同"));
  p.ParamByName("Body")->SetValue(Variant(WideString(u"text outside CP936: \u00e9\u20ac\U0001F600")));
  p.ParamByName("Data")->LoadFromStream(&blob, ftBlob);
  p.ParamByName("Done")->SetValue(true);
  p.ParamByName("Made")->SetValue(Variant(TDateTime(39877.5)));
  p.ParamByName("Amount")->SetValue(Variant(12.34));
  EXPECT_EQ(ins.ExecSQL(), 1);
  EXPECT_EQ(ins.GetRowsAffected(), 1);

  auto q = Open("select * from docs where Title=:Title", {{"Title", Variant("合同")}});
  ASSERT_EQ(q->GetRecordCount(), 1);
  EXPECT_EQ(q->FieldByName("Id")->GetAsInteger(), 1);
  EXPECT_EQ(q->FieldByName("Title")->GetAsString(), "合同");
  EXPECT_EQ(q->FieldByName("Body")->GetAsWideString(), u"text outside CP936: \u00e9\u20ac\U0001F600");
  EXPECT_EQ(q->FieldByName("Data")->GetAsString(), bytes);
  EXPECT_TRUE(q->FieldByName("Done")->GetAsBoolean());
  EXPECT_EQ(q->FieldByName("Made")->GetAsDateTime().Value, 39877.5);
  EXPECT_EQ(q->FieldByName("Amount")->GetAsFloat(), 12.34);
  EXPECT_EQ(q->FieldByName("Title")->GetDataType(), ftWideString);
  EXPECT_EQ(q->FieldByName("Title")->GetSize(), 50);

  TMemoryStream out;
  static_cast<TBlobField*>(q->FieldByName("Data"))->SaveToStream(&out);
  EXPECT_EQ(out.GetSize(), static_cast<Int64>(bytes.size()));
}

TEST_F(ADO, TransactionsRollBackAndCommit)
{
  Conn.BeginTrans();
  EXPECT_TRUE(Conn.GetInTransaction());
  Exec("insert into docs(Id) values (1)");
  Conn.RollbackTrans();
  EXPECT_EQ(Open("select * from docs")->GetRecordCount(), 0);

  Conn.BeginTrans();
  Exec("insert into docs(Id) values (2)");
  EXPECT_EQ(Conn.BeginTrans(), 2);
  Exec("insert into docs(Id) values (3)");
  Conn.RollbackTrans();
  Conn.CommitTrans();
  EXPECT_FALSE(Conn.GetInTransaction());
  auto q = Open("select Id from docs");
  ASSERT_EQ(q->GetRecordCount(), 1);
  EXPECT_EQ(q->FieldByName("Id")->GetAsInteger(), 2);
  EXPECT_THROW(Conn.CommitTrans(), EOleException);
}

TEST_F(ADO, LocateAfterRefreshAndCommandRowsAffected)
{
  TADOCommand cmd(nullptr);
  cmd.SetConnection(&Conn);
  cmd.SetCommandText(u"insert into docs(Id, Title) values (:Id, :Title)");
  for (int i = 1; i <= 5; ++i) {
    cmd.GetParameters().ParamByName("Id")->SetValue(i);
    cmd.GetParameters().ParamByName("Title")->SetValue(Variant(AnsiString("t") + char('0' + i)));
    EXPECT_EQ(cmd.Execute(), 1);
  }
  cmd.SetCommandText(u"update docs set Done = True where Id > :Id");
  cmd.GetParameters().ParamByName("Id")->SetValue(2);
  EXPECT_EQ(cmd.Execute(), 3);

  auto q = Open("select * from docs order by Id");
  ASSERT_TRUE(q->Locate("Id", Variant(4)));
  Variant key = q->FieldByName("Id")->GetValue();
  Exec("insert into docs(Id, Title) values (0, 'first')");
  q->DisableControls();
  q->Close();
  q->Open();
  q->EnableControls();
  EXPECT_EQ(q->GetRecordCount(), 6);
  ASSERT_TRUE(q->Locate("Id", key));
  EXPECT_EQ(q->FieldByName("Title")->GetAsString(), "t4");
  EXPECT_EQ(q->GetRecNo(), 5);
}

TEST_F(ADO, CounterColumnsNumberNewRows)
{
  Exec("create table seq (Id COUNTER PRIMARY KEY, Name TEXT(10) NOT NULL)");
  Exec("insert into seq(Name) values ('a')");
  Exec("insert into seq(Name) values ('b')");
  auto q = Open("select * from seq order by Id");
  EXPECT_EQ(q->FieldByName("Id")->GetDataType(), ftAutoInc);
  EXPECT_TRUE(q->FieldByName("Name")->GetRequired());
  q->Last();
  EXPECT_EQ(q->FieldByName("Id")->GetAsInteger(), 2);
}

TEST_F(ADO, BatchOptimisticKeepsEditsInMemory)
{
  Exec("insert into docs(Id, Title) values (1, 'stored')");
  auto q = Open("select * from docs");
  q->Edit();
  q->FieldByName("Title")->SetAsString("memory");
  q->Post();
  q->Append();
  q->FieldByName("Id")->SetAsInteger(2);
  q->Post();
  EXPECT_EQ(q->GetRecordCount(), 2);
  auto again = Open("select * from docs");
  EXPECT_EQ(again->GetRecordCount(), 1);
  EXPECT_EQ(again->FieldByName("Title")->GetAsString(), "stored");
}

TEST_F(ADO, OptimisticLockWritesBackToTheTable)
{
  Exec("insert into docs(Id, Title) values (1, 'a')");
  Exec("insert into docs(Id, Title) values (2, 'b')");
  TADODataSet ds(nullptr);
  ds.SetConnection(&Conn);
  ds.SetCommandText(u"docs");
  ds.SetCommandType(cmdTable);
  ds.Open();
  ds.Edit();
  ds.FieldByName("Title")->SetAsString("changed");
  ds.Post();
  ds.Last();
  ds.Delete();
  ds.Append();
  ds.FieldByName("Id")->SetAsInteger(3);
  ds.Post();
  auto q = Open("select Id, Title from docs order by Id");
  ASSERT_EQ(q->GetRecordCount(), 2);
  EXPECT_EQ(q->FieldByName("Title")->GetAsString(), "changed");
  q->Last();
  EXPECT_EQ(q->FieldByName("Id")->GetAsInteger(), 3);

  // A row changed underneath is not silently overwritten.
  ds.First();
  Exec("update docs set Title='other' where Id=1");
  ds.Edit();
  ds.FieldByName("Title")->SetAsString("mine");
  EXPECT_THROW(ds.Post(), EOleException);
  EXPECT_EQ(ds.GetState(), dsEdit);
  ds.Cancel();
}

TEST_F(ADO, TextsBeyondTheCodePageSurviveAnEditAndAreWrittenBackExactly)
{
  // One title CP936 holds, one it cannot (a character outside the code page), one Null.
  const WideString odd = u"\u5408\u540C \U0001F600 \u0E01";
  Exec("insert into docs(Id, Title, Body) values (1, :t, :b)",
       {{"t", Variant(WideString(u"\u5408\u540C"))}, {"b", Variant(odd)}});
  Exec("insert into docs(Id, Title) values (2, :t)", {{"t", Variant(odd)}});
  Exec("insert into docs(Id) values (3)");
  TADOQuery q(nullptr);
  q.SetConnection(&Conn);
  q.GetSQL()->SetText("select Id, Title, Body, Amount from docs order by Id");
  q.Open();
  TField* title = q.FieldByName("Title");
  TField* body = q.FieldByName("Body");
  EXPECT_EQ(title->GetAsString(), "合同");
  EXPECT_EQ(title->GetValue().VarType(), varOleStr);
  EXPECT_EQ(body->GetAsWideString(), odd);
  EXPECT_EQ(body->GetAsString(), System::WideToAnsi(odd));
  q.Next();
  EXPECT_EQ(title->GetAsWideString(), odd);
  EXPECT_EQ(title->GetAsString(), System::WideToAnsi(odd));
  q.Next();
  EXPECT_TRUE(title->IsNull());
  EXPECT_EQ(title->GetAsString(), "");

  // The row is found again by the exact text it was read with.
  q.Prior();
  q.Edit();
  q.FieldByName("Amount")->SetAsFloat(12.5);
  q.Post();
  auto check = Open("select Amount, Title from docs where Id = 2");
  EXPECT_EQ(check->FieldByName("Amount")->GetAsFloat(), 12.5);
  EXPECT_EQ(check->FieldByName("Title")->GetAsWideString(), odd);
}

TEST_F(ADO, IntegerKeysLeftEmptyReadBackTheRowid)
{
  // An INTEGER PRIMARY KEY left Null is numbered by the engine, as a counter is; a key given
  // stays as given, and the column keeps its integer kind.
  Exec("create table plain (Id INTEGER PRIMARY KEY, Name TEXT(10))");
  Exec("insert into plain(Id, Name) values (10, 'ten')");
  TADOQuery q(nullptr);
  q.SetConnection(&Conn);
  q.GetSQL()->SetText("select Name, Id as Num from plain");
  q.Open();
  EXPECT_EQ(q.FieldByName("Num")->GetDataType(), ftInteger);
  q.Append();
  q.FieldByName("Name")->SetAsString("auto");
  q.Post();
  EXPECT_EQ(q.FieldByName("Num")->GetAsInteger(), 11);
  q.Append();
  q.FieldByName("Num")->SetAsInteger(20);
  q.Post();
  EXPECT_EQ(q.FieldByName("Num")->GetAsInteger(), 20);
  ASSERT_TRUE(q.Locate("Num", 11));
  q.Delete();
  auto rows = Open("select Id from plain order by Id");
  ASSERT_EQ(rows->GetRecordCount(), 2);
  rows->Last();
  EXPECT_EQ(rows->FieldByName("Id")->GetAsInteger(), 20);
}

TEST_F(ADO, AccessDialectThroughTheProvider)
{
  Exec("create table clients (Id INTEGER, ClientName TEXT(50), IsClient BIT, EndDate DATETIME, Code TEXT(10))");
  TDateTime today = SysUtils::Date();
  struct Row {
    int id;
    const char* name;
    Variant isClient;
    double endOffset;
    const char* code;
  };
  const Row rows[] = {{1, "华东 Alpha", Variant(true), 10, "01"},
                      {2, "beta", Variant(-1), -5, "0101"},
                      {3, "Gamma", Variant(false), 40, "0102"},
                      {4, "delta", Variant::Null(), 400, "02"}};
  for (const Row& r : rows)
    Exec("insert into clients values (:Id, :Name, :IsClient, :EndDate, :Code)",
         {{"Id", r.id},
          {"Name", Variant(r.name)},
          {"IsClient", r.isClient},
          {"EndDate", Variant(TDateTime(today + r.endOffset))},
          {"Code", Variant(r.code)}});

  AnsiString future = SysUtils::FormatDateTime("yyyy-mm-dd", TDateTime(today + 20));
  struct Case {
    AnsiString sql;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"select Id from clients where abs(IsClient)=1 order by Id", {1, 2}},
      {"select Id from clients where IsClient = True order by Id", {1}},
      {"select Id from clients where EndDate >= Now and EndDate - Now <= 30 order by Id", {1}},
      {"select Id from clients where DateDiff('d', #" + future + "#, EndDate) < 0 order by Id", {1, 2}},
      {"select Id from clients where EndDate < #" + future + "# order by Id", {1, 2}},
      {"select top 2 Id from clients order by Id desc", {4, 3}},
      {"select [Id] from [clients] where [ClientName] like '%华%'", {1}},
      {"select Id from clients where ClientName = 'GAMMA'", {3}},
      {"select Id from clients where ClientName like 'BE%'", {2}},
      {"select Id from clients where Len(ClientName) = 8", {1}},
      {"select Id from clients where Left(ClientName, 2) = '华东'", {1}},
      {"select Id from clients where ClientName = \"delta\"", {4}},
      {"select Id from clients a where (select count(Code) from clients where Code<=left(a.Code,len(a.Code)-2)) = 1 "
       "order by Id",
       {2, 3}},
      {"select Id from clients where Id = (select top 1 Id from clients order by Id desc)", {4}},
  };
  for (const Case& c : cases) {
    auto q = Open(c.sql.c_str());
    std::vector<int> ids;
    for (q->First(); !q->GetEof(); q->Next()) ids.push_back(q->GetFields()[0]->GetAsInteger());
    EXPECT_EQ(ids, c.ids) << c.sql;
  }
  auto sum = Open("select (select sum(Id) from clients where Id < 3)+0.0-0.0 as S, max(Id) as M from clients");
  EXPECT_EQ(sum->FieldByName("S")->GetDataType(), ftFloat);
  EXPECT_EQ(sum->FieldByName("S")->GetAsFloat(), 3.0);
  EXPECT_EQ(sum->FieldByName("M")->GetAsInteger(), 4);
  auto empty = Open("select max(Id) from clients where Id > 100");
  EXPECT_TRUE(empty->GetFields()[0]->IsNull());
}

TEST_F(ADO, TextColumnsSortInPinyinOrderIgnoringCase)
{
  Exec("create table people (Name TEXT(20))");
  for (const char* n : {"张三", "李四", "王五", "阿明", "bob", "Carl", "ALICE"})
    Exec("insert into people values (:N)", {{"N", Variant(n)}});
  for (const char16_t* n : {u"\U0001F600", u"\U0001F601"})
    Exec("insert into people values (:N)", {{"N", Variant(WideString(n))}});
  auto q = Open("select Name from people order by Name");
  std::vector<AnsiString> names;
  for (; !q->GetEof(); q->Next()) names.push_back(q->GetFields()[0]->GetAsString());
  // Characters code page 936 lacks read back as "?".
  EXPECT_EQ(names, (std::vector<AnsiString>{"?", "?", "ALICE", "bob", "Carl", "阿明", "李四", "王五", "张三"}));
  EXPECT_EQ(Open("select count(*) from people where Name = 'BOB'")->GetFields()[0]->GetAsInteger(), 1);
  // Texts code page 936 cannot hold stay distinct.
  EXPECT_EQ(Open("select count(distinct Name) from people")->GetFields()[0]->GetAsInteger(), 9);
}

TEST(ADOClientDataSet, OneRowCriteriaInInsertState)
{
  // The criteria row: definitions, an empty in-memory table, one appended row whose fields are
  // the criteria; Reset cancels it and appends a blank one.
  TADODataSet where(nullptr);
  where.SetLockType(ltBatchOptimistic);
  where.GetFieldDefs().Add("HtName", ftWideString, 50);
  where.GetFieldDefs().Add("SignDate1", ftDateTime);
  where.GetFieldDefs().Add("HintDays", ftInteger);
  where.CreateDataSet();
  where.Append();
  EXPECT_EQ(where.GetState(), dsInsert);
  EXPECT_TRUE(where.FieldByName("HtName")->IsNull());
  where.FieldByName("HtName")->SetAsString("合同");
  where.FieldByName("HintDays")->SetAsInteger(30);
  EXPECT_EQ(where.FieldByName("HtName")->GetAsString(), "合同");
  EXPECT_EQ(where.GetState(), dsInsert);
  // Reset
  where.Cancel();
  where.Append();
  EXPECT_EQ(where.GetState(), dsInsert);
  EXPECT_TRUE(where.FieldByName("HtName")->IsNull());
  EXPECT_TRUE(where.FieldByName("HintDays")->IsNull());
  EXPECT_EQ(where.GetRecordCount(), 0);

  TADODataSet none(nullptr);
  EXPECT_THROW(none.CreateDataSet(), EDatabaseError);
}

TEST(DBClasses, FieldsAndComponentsAreCreatedByName)
{
  DBClasses::Initialize();
  DBClasses::Initialize();
  std::unique_ptr<TObject> f(Classes::GetClass("TWideStringField")->Create(nullptr));
  auto* field = dynamic_cast<TWideStringField*>(f.get());
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->GetDataType(), ftWideString);
  EXPECT_EQ(field->GetSize(), 20);
  EXPECT_NE(Classes::GetClass("TADOQuery"), nullptr);
  DBClasses::Finalize();
  EXPECT_EQ(Classes::GetClass("TADOQuery"), nullptr);
}
