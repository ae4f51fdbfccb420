// The database-facing behaviour of the application core on the server (PostgreSQL) with the
// server schema: one throw-away server for the whole executable.
#include <gtest/gtest.h>

#include "core/Company.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/PasswordHash.h"
#include "core/PickLists.h"
#include "core/Schema.h"
#include "core/tests/ServerFixture.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/MessageSeam.h"

namespace {

class OnServer : public CoreServerFixture {
protected:
  Variant Scalar(const AnsiString& Sql)
  {
    Database::ScratchSet->OpenSql(System::AnsiToWide(Sql));
    return Database::ScratchSet->GetDataSet()->GetFields()[0]->GetValue();
  }
};

}  // namespace

TEST_F(OnServer, SchemaStartingRowsAndDialect)
{
  EXPECT_TRUE(Database::GlobalDB->IsSqlServer());
  EXPECT_EQ(Database::GlobalDB->NowFunction(), "GetDate()");
  EXPECT_EQ(Database::GlobalDB->DateLiteral(SysUtils::EncodeDate(2009, 3, 5)), "'2009-03-05'");
  EXPECT_EQ(Scalar("select count(*) from operator where LoginId='sa'").AsInteger(), 1);
  EXPECT_EQ(Scalar("select count(*) from [backup]").AsInteger(), 1);
  EXPECT_EQ(Scalar("select count(*) from Company").AsInteger(), 1);
  for (const char* Table : {"hetongs", "clients", "payments", "toubiaos", "report", "upgrade"}) {
    Exec(AnsiString("insert into ") + Table + "(Id) values (1)");
    EXPECT_THROW(Exec(AnsiString("insert into ") + Table + "(Id) values (1)"), Exception) << Table;
  }
  Exec("insert into link(GroupId, Title) values (0, 'a')");
  Exec("insert into link(GroupId, Title) values (0, 'b')");
  EXPECT_EQ(Scalar("select max(Id) from link").AsInteger(), 2);
}

TEST_F(OnServer, StatementAndOpenFailures)
{
  EXPECT_EQ(Exec("update keyvalue set Vint=1 where KeyId=-5"), 0);
  const AnsiString Bad = "update keyvalue sett Vint=1";
  try {
    Exec(Bad);
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message().substr(E.Message().size() - Bad.size() - 2), "\r\n" + Bad);
  }
  EXPECT_THROW(Database::ScratchSet->OpenSql(u"select * from nosuchtable"), EAbort);
  EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(OnServer, OperatorsLoginRehashAndPasswordChange)
{
  TOperator Op;
  Op.Load("sa");
  EXPECT_TRUE(Op.CheckPassword(""));
  Op.Load("nobody");
  EXPECT_FALSE(Op.CheckPassword(""));
  Exec("insert into operator(LoginId, [Password], Rights) values ('old', 'Pw', ',3,')");
  Op.Load("old");
  EXPECT_TRUE(Op.HasRight(3));
  EXPECT_TRUE(Op.CheckPassword("Pw"));
  EXPECT_TRUE(
      PasswordHash::IsHashed(Variants::VarToStr(Scalar("select [Password] from operator where LoginId='old'"))));
  EXPECT_TRUE(Op.SavePassword("new"));
  Op.Load("old");
  EXPECT_TRUE(Op.CheckPassword("new"));
  Exec("delete from operator where LoginId='old'");
  EXPECT_FALSE(Op.SavePassword("x"));

  RUser U;
  U.LoginId = u"li";
  U.Password = u"abc";
  ASSERT_TRUE(TUserSet::InsertUser(U));
  EXPECT_THROW(TUserSet::InsertUser(U), Exception);
  RUser Sa;
  TUserSet::LookupUser("sa", Sa);
  EXPECT_TRUE(Sa.DeptId.empty());
  EXPECT_TRUE(TUserSet::DeleteUser(U));
}

TEST_F(OnServer, SettingsCompanyAndPickLists)
{
  TKeyValue2 Store;
  EXPECT_FALSE(Store.GetBool(7));
  EXPECT_FALSE(Store.GetBool(7));
  EXPECT_EQ(Scalar("select count(*) from keyvalue where KeyId=7").AsInteger(), 1);
  Store.SetInt(102, 3);
  EXPECT_EQ(Store.GetInt(102), 3);
  EXPECT_TRUE(Scalar("select Vbool from keyvalue where KeyId=102").AsBoolean());
  Store.SetStr(1001, u"甲方");
  TKeyValue2 Other;
  EXPECT_EQ(System::WideToAnsi(Other.GetStr(1001)), "甲方");

  Exec("delete from Company");
  TCompany Co;
  Co.Id = 1;
  Co.CompanyName = "澜岳科技";
  Co.Updated = true;
  Co.Save();
  TCompany Back;
  Back.Load();
  EXPECT_EQ(Back.CompanyName, "澜岳科技");
  EXPECT_TRUE(Back.Updated);

  TPickListSet Lists;
  Lists.SetCount(3);
  EXPECT_EQ(Scalar("select max([Key]) from options").AsInteger(), 3);
  EXPECT_EQ(Lists.GetCount(), 3);
}
