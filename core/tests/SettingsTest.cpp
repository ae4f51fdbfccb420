// The settings store, the company row and the pick lists on a new database; the schema and
// the creation of a new database.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Company.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/PickLists.h"
#include "core/qxProj.h"
#include "core/tests/CoreTestSupport.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/classes/TypInfo.h"

namespace {

class Settings : public CoreFixture {
protected:
  Integer Count(const char* Sql)
  {
    TRecordSet& S = *Database::ScratchSet;
    S.OpenSql(System::AnsiToWide(Sql));
    return S.GetDataSet()->GetFields()[0]->GetAsInteger();
  }
  Variant Column(const char* Column, Integer Key)
  {
    TRecordSet& S = *Database::ScratchSet;
    S.OpenSql(System::AnsiToWide(AnsiString("select ") + Column + " from keyvalue where KeyId=:K"),
              {Database::MakeParam("K", Key)});
    return S.GetDataSet()->GetFields()[0]->GetValue();
  }
};

}  // namespace

TEST_F(Settings, NewDatabaseHoldsEveryTableAndTheStartingRows)
{
  for (const char* Table : {"hetongs", "clients", "payments", "toubiaos", "departments", "operator", "Company",
                            "keyvalue", "options", "report", "syscols", "upgrade", "backup", "link", "doc"}) {
    SCOPED_TRACE(Table);
    EXPECT_GE(Database::ScratchSet->OpenSql(System::AnsiToWide(AnsiString("select * from [") + Table + "]")), 0);
  }
  EXPECT_EQ(Count("select count(*) from operator where LoginId='sa'"), 1);
  EXPECT_EQ(Count("select count(*) from backup where TypeId=0"), 1);
  EXPECT_EQ(Count("select count(*) from Company"), 1);
}

TEST_F(Settings, KeysAreUniqueAndCountersNumberTheirRows)
{
  for (const char* Table : {"hetongs", "clients", "payments", "toubiaos", "report", "upgrade"}) {
    Exec(AnsiString("insert into ") + Table + "(Id) values (1)");
    EXPECT_THROW(Exec(AnsiString("insert into ") + Table + "(Id) values (1)"), Exception) << Table;
  }
  EXPECT_THROW(Exec("insert into operator(LoginId) values ('sa')"), Exception);
  Exec("insert into link(GroupId, Title) values (0, 't1')");
  Exec("insert into link(GroupId, Title) values (0, 't2')");
  EXPECT_EQ(Count("select max(Id) from link"), 2);
}

TEST(NewDatabase, CreatedOnceAndLeftAloneAfterwards)
{
  std::string Dir = testing::TempDir() + "core_new_" + std::to_string(::getpid());
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  AnsiString File = Dir + "/pelto.mdb";
  EXPECT_TRUE(Schema::EnsureJetDatabase(File, "moorvane"));
  auto Stamp = std::filesystem::last_write_time(File);
  auto Size = std::filesystem::file_size(File);
  EXPECT_FALSE(Schema::EnsureJetDatabase(File, "moorvane"));
  EXPECT_EQ(std::filesystem::last_write_time(File), Stamp);
  EXPECT_EQ(std::filesystem::file_size(File), Size);
  // The file keeps the password it was made with.
  EXPECT_THROW(JetProvider::ChangeDatabasePassword(File, "wrong", "x"), Exception);
  // A failed creation leaves no half-made file behind.
  EXPECT_THROW(Schema::CreateJetDatabase(Dir + "/missing/dir/x.mdb", ""), Exception);
  EXPECT_FALSE(std::filesystem::exists(Dir + "/missing/dir/x.mdb"));
  std::filesystem::remove_all(Dir);
}

TEST(NewDatabase, ServerSchemaHasTheSameTablesAndKeys)
{
  const auto& Jet = Schema::JetStatements();
  const auto& Pg = Schema::ServerStatements();
  ASSERT_EQ(Jet.size(), Pg.size());
  for (std::size_t i = 0; i < Pg.size(); ++i) {
    EXPECT_EQ(Jet[i].find("PRIMARY KEY") != AnsiString::npos || Jet[i].find("COUNTER") != AnsiString::npos,
              Pg[i].find("PRIMARY KEY") != AnsiString::npos)
        << Pg[i];
  }
}

TEST_F(Settings, KeyValueReadsCreateMissingRowsAndWritesSetAllColumns)
{
  TKeyValue2 Store;
  EXPECT_FALSE(Store.GetBool(7));
  EXPECT_EQ(Count("select count(*) from keyvalue where KeyId=7"), 1);
  EXPECT_FALSE(Store.GetBool(7));
  EXPECT_EQ(Count("select count(*) from keyvalue where KeyId=7"), 1);
  EXPECT_EQ(Store.GetInt(8), 0);
  EXPECT_TRUE(Store.GetStr(9).empty());

  Store.SetInt(102, 3);
  EXPECT_EQ(Store.GetInt(102), 3);
  EXPECT_TRUE(Column("Vbool", 102).AsBoolean());
  EXPECT_TRUE(Variants::VarToStr(Column("Vstr", 102)).empty());
  Store.SetBool(103, true);
  EXPECT_EQ(Column("Vint", 103).AsInteger(), 0);
  EXPECT_TRUE(Store.GetBool(103));
  Store.SetStr(1001, u"甲方代表");
  EXPECT_EQ(System::WideToAnsi(Store.GetStr(1001)), "甲方代表");

  // Another store sees the values once it opens; the published switches use keys 0 to 2.
  TKeyValue2 Other;
  EXPECT_EQ(Other.GetInt(102), 3);
  Other.SetFeedbackPrompt(true);
  EXPECT_TRUE(Other.GetFeedbackPrompt());
  EXPECT_TRUE(Column("Vbool", 0).AsBoolean());
  EXPECT_FALSE(Other.GetDailyTipPrompt());
  // The switches are published: the windows and scripts reach them by name.
  EXPECT_EQ(TypInfo::GetOrdProp(&Other, "FeedbackPrompt"), 1);
  EXPECT_EQ(TypInfo::GetOrdProp(&Other, "GetStartPrompt"), 0);
}

TEST_F(Settings, WriteValuesInsertsWhenTheUpdateFindsNoRow)
{
  EXPECT_TRUE(TKeyValue2::WriteValues(500, u"x", true, 1.5, 4));
  EXPECT_EQ(Column("Vint", 500).AsInteger(), 4);
  EXPECT_DOUBLE_EQ(Column("Vfloat", 500).AsDouble(), 1.5);
  EXPECT_TRUE(TKeyValue2::WriteValues(500, u"y", false, 0, 5));
  EXPECT_EQ(Count("select count(*) from keyvalue where KeyId=500"), 1);
}

TEST_F(Settings, CompanyLoadSaveAndFilledName)
{
  struct Case {
    const char* Name;
    bool Filled;
  } Cases[] = {{"Abcdefg", false}, {"Abcdefgh", true}, {"澜岳科技", true}, {"澜岳科", false}};
  for (const Case& C : Cases) {
    TCompany Co;
    Co.CompanyName = C.Name;
    EXPECT_EQ(Co.IsFilled(), C.Filled) << C.Name;
  }

  Exec("delete from Company");
  TCompany Empty;
  Empty.Load();
  EXPECT_EQ(Empty.Id, 0);
  EXPECT_FALSE(Empty.Updated);
  TCompany Co;
  Co.Id = 1;
  Co.CompanyName = "澜岳科技有限公司";
  Co.Profile = u"简介";
  Co.Updated = true;
  EXPECT_FALSE(Co.Exists());
  Co.Save();  // inserts, also writing Updated
  TCompany Back;
  Back.Load();
  EXPECT_EQ(Back.CompanyName, "澜岳科技有限公司");
  EXPECT_TRUE(Back.Updated);
  Co.Tel = "010-1";
  Co.Save();  // now an update
  Back.Load();
  EXPECT_EQ(Back.Tel, "010-1");
  EXPECT_EQ(Count("select count(*) from Company"), 1);
}

TEST_F(Settings, PickListCountAddsTheNextKeys)
{
  TPickListSet Lists;
  EXPECT_EQ(Lists.GetCount(), 0);
  Lists.SetCount(3);
  EXPECT_EQ(Lists.GetCount(), 3);
  EXPECT_EQ(Count("select count(*) from options where [Key] in (1,2,3)"), 3);
  Lists.SetCount(2);
  EXPECT_EQ(Count("select count(*) from options"), 3);
  Exec("insert into options([Key]) values (10)");
  Lists.Open(true);
  Lists.SetCount(5);
  EXPECT_EQ(Count("select max([Key]) from options"), 11);
  EXPECT_EQ(TypInfo::GetOrdProp(&Lists, "Count"), 5);
}

TEST(ProjectGlobals, InitializeMakesTheObjectsWithoutTouchingTheDatabase)
{
  qxProj::Initialize();
  ASSERT_NE(qxProj::KeyValues, nullptr);
  EXPECT_FALSE(qxProj::KeyValues->GetDataSet()->GetActive());
  EXPECT_TRUE(qxProj::CurrentOperator->LoginId.empty());
  EXPECT_FALSE(Variants::NullStrictConvert);
  qxProj::Finalize();
  EXPECT_EQ(Database::GlobalDB, nullptr);
  EXPECT_EQ(qxProj::KeyValues, nullptr);
  Variants::NullStrictConvert = true;
}
