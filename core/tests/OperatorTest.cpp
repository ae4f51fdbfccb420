// Operators on a new database: the rights test, the login checks with hashed and older plain
// passwords, and the administration sets.
#include <gtest/gtest.h>

#include "core/Operator.h"
#include "core/PasswordHash.h"
#include "core/tests/CoreTestSupport.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"

namespace {

class Operators : public CoreFixture {
protected:
  AnsiString StoredPassword(const AnsiString& LoginId)
  {
    TRecordSet& S = *Database::ScratchSet;
    S.OpenSql(u"select [Password] from operator where LoginId=:L", {Database::MakeParam("L", LoginId)});
    return S.GetDataSet()->GetFields()[0]->GetAsString();
  }
  RUser User(const char* Id, const char* Password, const char* Dept = "")
  {
    RUser U;
    U.LoginId = System::AnsiToWide(Id);
    U.Password = System::AnsiToWide(Password);
    U.Name = u"张三";
    U.DeptId = System::AnsiToWide(Dept);
    U.Rights = u",1,5,";
    return U;
  }
};

}  // namespace

TEST(OperatorRights, RightsStringAndTheAdministrator)
{
  struct Case {
    const char* LoginId;
    const char16_t* Rights;
    Integer Right;
    bool Held;
  } Cases[] = {
      {"li", u",1,10,100,", 10, true}, {"li", u",1,10,100,", 0, false}, {"li", u",1,10,100,", 1000, false},
      {"li", u",1,10,100,", 1, true},  {"li", u"", 1, false},           {"sa", u"", 10000, true},
      {"SA", u"", 10000, false},       {"li", u"10,", 10, false},
  };
  for (const Case& C : Cases) {
    TOperator Op;
    Op.LoginId = C.LoginId;
    Op.Rights = C.Rights;
    EXPECT_EQ(Op.HasRight(C.Right), C.Held) << C.LoginId << " " << C.Right;
  }
}

TEST(OperatorRights, CheckRightAndRequireSaShowTheBoxAndAbortOnRequest)
{
  std::vector<AnsiString> Boxes;
  MessageSeam::TScopedMessageBox box([&](const AnsiString& Text, const AnsiString&, unsigned) {
    Boxes.push_back(Text);
    return IDOK;
  });
  TOperator Op;
  Op.LoginId = "li";
  Op.Rights = u",7,";
  EXPECT_TRUE(Op.CheckRight(7, true));
  EXPECT_TRUE(Boxes.empty());
  EXPECT_FALSE(Op.CheckRight(42, false));
  EXPECT_THROW(Op.CheckRight(42, true), EAbort);
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[1], "\r\n对不起,您没有该功能的操作权限,请与管理员联系(42).\t");
  EXPECT_THROW(Op.RequireSa(), EAbort);
  EXPECT_EQ(Boxes.back(), "\r\n只有系统用户(sa)才能执行此操作.\t");
  Op.LoginId = "sa";
  EXPECT_NO_THROW(Op.RequireSa());
}

TEST_F(Operators, LoginChecksAndAnUnknownIdLeavesNobodyLoggedIn)
{
  TOperator Op;
  EXPECT_FALSE(Op.CheckPassword(""));
  EXPECT_FALSE(Op.CheckPassword("x"));
  Op.Load("sa");
  EXPECT_EQ(Op.LoginId, "sa");
  EXPECT_TRUE(PasswordHash::IsHashed(Op.Password));
  EXPECT_TRUE(Op.CheckPassword(""));
  EXPECT_FALSE(Op.CheckPassword("x"));
  // A wrong id with the previous operator's password must not pass.
  Op.Load("nobody");
  EXPECT_EQ(Op.LoginId, "");
  EXPECT_FALSE(Op.HasRight(1));
  EXPECT_FALSE(Op.CheckPassword(""));
}

TEST_F(Operators, OlderPlainPasswordIsAcceptedOnceAndRehashed)
{
  Exec("insert into operator(LoginId, [Password], Rights) values ('old', 'Pw 1', ',3,')");
  TOperator Op;
  Op.Load("old");
  EXPECT_FALSE(Op.CheckPassword("pw 1"));  // case counts
  EXPECT_EQ(StoredPassword("old"), "Pw 1");
  EXPECT_TRUE(Op.CheckPassword("Pw 1"));
  AnsiString Stored = StoredPassword("old");
  EXPECT_TRUE(PasswordHash::IsHashed(Stored));
  EXPECT_EQ(Op.Password, Stored);
  TOperator Again;
  Again.Load("old");
  EXPECT_TRUE(Again.CheckPassword("Pw 1"));
  EXPECT_FALSE(Again.CheckPassword(Stored));  // the hash itself is no password
}

TEST_F(Operators, SavePasswordNeedsExactlyOneRow)
{
  TOperator Op;
  Op.Load("sa");
  ASSERT_TRUE(Op.SavePassword("新口令"));
  TOperator Again;
  Again.Load("sa");
  EXPECT_TRUE(Again.CheckPassword("新口令"));
  EXPECT_FALSE(Again.CheckPassword(""));
  Exec("delete from operator where LoginId='sa'");
  AnsiString Before = Op.Password;
  EXPECT_FALSE(Op.SavePassword("x"));
  EXPECT_EQ(Op.Password, Before);
}

TEST_F(Operators, UserSetInsertsLooksUpUpdatesAndDeletes)
{
  Exec("insert into departments(Code, Name) values ('01', '财务部')");
  ASSERT_TRUE(TUserSet::InsertUser(User("li", "abc", "01")));
  EXPECT_TRUE(PasswordHash::IsHashed(StoredPassword("li")));
  EXPECT_THROW(TUserSet::InsertUser(User("li", "other")), Exception);  // the key

  RUser Found;
  TUserSet::LookupUser("li", Found);
  EXPECT_EQ(System::WideToAnsi(Found.DeptName), "财务部");
  EXPECT_EQ(System::WideToAnsi(Found.Rights), ",1,5,");
  RUser Sa;
  TUserSet::LookupUser("sa", Sa);
  EXPECT_TRUE(Sa.LoginId.empty());
  EXPECT_TRUE(Sa.DeptId.empty());

  // Saving the record read back keeps the password; a typed one is hashed.
  Found.Name = u"李四";
  ASSERT_TRUE(TUserSet::UpdateUser(Found));
  TOperator Op;
  Op.Load("li");
  EXPECT_EQ(Op.Name, "李四");
  EXPECT_TRUE(Op.CheckPassword("abc"));
  Found.Password = u"xyz";
  ASSERT_TRUE(TUserSet::UpdateUser(Found));
  Op.Load("li");
  EXPECT_TRUE(Op.CheckPassword("xyz"));

  EXPECT_FALSE(TUserSet::UpdateUser(User("ghost", "x")));
  TOperatorSet List;
  EXPECT_EQ(List.GetDataSet()->GetRecordCount(), 1);  // "sa" is never listed
  EXPECT_EQ(List.GetUserIdField()->GetAsString(), "li");
  EXPECT_TRUE(TUserSet::DeleteUser(Found));
  EXPECT_FALSE(TUserSet::DeleteUser(Found));
}
