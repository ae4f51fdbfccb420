// The contract cases, run on whichever database is the open global connection (the SQLite file
// and the PostgreSQL server). Each case starts from empty business tables.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/Hetong.h"
#include "core/Operator.h"
#include "core/qxProj.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace HetongCases {

inline WideString W(const AnsiString& S) { return System::AnsiToWide(S); }
inline Integer Exec(const AnsiString& Sql, const TDBParameters& Params = {})
{
  return Database::GlobalDB->ExecSQL(W(Sql), Params);
}

// Logs in an operator (nullptr: nobody, as "sa" sees everything) for the department scope.
struct TLogin {
  TOperator Op;
  TOperator* Old = qxProj::CurrentOperator;
  explicit TLogin(const AnsiString& LoginId)
  {
    Op.LoginId = LoginId;
    qxProj::CurrentOperator = &Op;
  }
  ~TLogin() { qxProj::CurrentOperator = Old; }
};

struct TUnique {
  bool Old = qxProj::UniqueHtCode;
  explicit TUnique(bool On) { qxProj::UniqueHtCode = On; }
  ~TUnique() { qxProj::UniqueHtCode = Old; }
};

inline void ClearTables()
{
  for (const char* T : {"hetongs", "payments", "clients", "departments"}) Exec(AnsiString("delete from ") + T);
  Exec("delete from operator where LoginId<>'sa'");
  Exec("insert into clients(Id, ClientName) values (1, :N)", {Database::MakeParam("N", W("甲公司"))});
  Exec("insert into clients(Id, ClientName) values (2, 'Beta')");
  for (const char* D : {"01", "0101", "010203", "02"})
    Exec("insert into departments(Code, Name) values (:C, :N)",
         {Database::MakeParam("C", AnsiString(D)), Database::MakeParam("N", AnsiString("D") + D)});
}

inline RHetong Contract(const AnsiString& Name)
{
  RHetong R;
  R.HtCode = W("C-" + Name);
  R.HtName = W(Name);
  R.PayType = W("应收");
  R.ClientId = 1;
  return R;
}

inline Integer Store(RHetong R)
{
  AnsiString Msg;
  EXPECT_TRUE(THetongSet::SaveHetong(R, Msg)) << Msg;
  return R.Id;
}

inline std::set<Integer> Ids(THetongSet& Set)
{
  std::set<Integer> Result;
  TADOQuery& Q = *Set.GetQuery();
  for (Q.First(); !Q.GetEof(); Q.Next()) Result.insert(Set.Id->GetAsInteger());
  return Result;
}

inline TDateTime Day(int Y, int M, int D) { return SysUtils::EncodeDate(Y, M, D); }

// Every criterion, each alone, against one small table; hostile texts find exactly their row.
inline void SearchCriteria()
{
  ClearTables();
  auto Add = [](const AnsiString& Name, auto Change) {
    RHetong R = Contract(Name);
    Change(R);
    return Store(R);
  };
  Integer Plain = Add("plain", [](RHetong& R) {
    R.SignDate = Day(2009, 3, 5);
    R.HtFund = 1234.57;
    R.DeptId = W("0101");
    R.InsTime = TDateTime(Day(2009, 3, 5) + SysUtils::EncodeTime(15, 30, 0, 0));
    R.Insman = W("wang");
    R.BeginDate = Day(2009, 4, 1);
    R.EndDate = Day(2010, 4, 1);
  });
  Integer Percent = Add("50%off", [](RHetong& R) {
    R.HtFund = 1234.565;
    R.SignDate = Day(2009, 3, 6);
    R.InsTime = Day(2009, 3, 6);
    R.Insman = W("li");
  });
  Integer Under = Add("a_b", [](RHetong& R) {
    R.ClientId = 2;
    R.HtKind = W("工程");
    R.DeptId = W("02");
  });
  Integer Quote = Add("O'Brien", [](RHetong& R) {
    R.MyHandman = W("张三");
    R.Contents = W("it's \"quoted\"");
  });
  Integer Slash = Add("back\\slash", [](RHetong& R) {
    R.PayType = W("应付");
    R.DeptId = W("010203");
  });
  Integer Bang = Add("x!y", [](RHetong& R) { R.D02 = Day(2009, 1, 1); });
  Integer Chinese = Add("合同甲", [](RHetong& R) { R.DeptId = W("01"); });

  struct Case {
    const char* What;
    std::function<void(THetongWhere&)> Set;
    std::set<Integer> Expected;
  };
  auto Text = [](TField* THetongWhere::*F, const AnsiString& V) {
    return [F, V](THetongWhere& Q) { (Q.*F)->SetAsWideString(W(V)); };
  };
  auto Value = [](TField* THetongWhere::*F, Variant V) { return [F, V](THetongWhere& Q) { (Q.*F)->SetValue(V); }; };
  const std::set<Integer> All = {Plain, Percent, Under, Quote, Slash, Bang, Chinese};
  std::vector<Case> Cases = {
      {"nothing set", [](THetongWhere&) {}, All},
      {"id", Value(&THetongWhere::IdFld, Quote), {Quote}},
      {"percent", Text(&THetongWhere::HtNameFld, "%"), {Percent}},
      {"underscore", Text(&THetongWhere::HtNameFld, "_"), {Under}},
      {"quote", Text(&THetongWhere::HtNameFld, "'"), {Quote}},
      {"backslash", Text(&THetongWhere::HtNameFld, "\\"), {Slash}},
      {"escape char", Text(&THetongWhere::HtNameFld, "!"), {Bang}},
      {"chinese", Text(&THetongWhere::HtNameFld, "同甲"), {Chinese}},
      {"code", Text(&THetongWhere::HtCodeFld, "C-a_"), {Under}},
      {"pay type", Text(&THetongWhere::PayTypeFld, "应付"), {Slash}},
      {"client", Value(&THetongWhere::ClientIdFld, 2), {Under}},
      {"kind", Text(&THetongWhere::HtKindFld, "工程"), {Under}},
      {"sign from", Value(&THetongWhere::SignDate1Fld, Day(2009, 3, 6)), {Percent}},
      {"sign to", Value(&THetongWhere::SignDate2Fld, Day(2009, 3, 5)), {Plain}},
      {"fund from rounds", Value(&THetongWhere::HtFund1Fld, 1234.567), {Plain}},
      {"fund to rounds", Value(&THetongWhere::HtFund2Fld, 1234.566), {Plain, Percent}},
      {"fund to", Value(&THetongWhere::HtFund2Fld, 1234.564), {}},
      {"department prefix", Text(&THetongWhere::MyDeptIdFld, "01"), {Plain, Slash, Chinese}},
      {"handman", Text(&THetongWhere::MyHandmanFld, "张"), {Quote}},
      {"contents", Text(&THetongWhere::ContentsFld, "\"quoted\""), {Quote}},
      {"progress", Text(&THetongWhere::HtProgressFld, "已验收"), {Bang}},
      {"begin", Value(&THetongWhere::BeginDate1Fld, Day(2009, 4, 1)), {Plain}},
      {"end to", Value(&THetongWhere::EndDate2Fld, Day(2010, 4, 1)), {Plain}},
      {"entered up to the day includes it", Value(&THetongWhere::InsTime2Fld, Day(2009, 3, 5)), {Plain}},
      {"entered from", Value(&THetongWhere::InsTime1Fld, Day(2009, 3, 6)), {Percent}},
      {"insman exact", Text(&THetongWhere::InsmanFld, "wan"), {}},
      {"insman", Text(&THetongWhere::InsmanFld, "wang"), {Plain}},
  };
  THetongWhere Where;
  THetongSet Set;
  for (const Case& C : Cases) {
    Where.Reset();
    C.Set(Where);
    Set.Search(Where);
    EXPECT_EQ(Ids(Set), C.Expected) << C.What;
  }
  Set.GetQuery()->Locate("Id", Quote);
  EXPECT_EQ(Set.ClientName->GetAsString(), "甲公司");
  Set.GetQuery()->Locate("Id", Plain);
  EXPECT_EQ(Set.DeptName->GetAsString(), "D0101");
}

inline void DepartmentScopeHintDaysAndInvoices()
{
  ClearTables();
  RUser User;
  User.LoginId = W("zhao");
  User.DeptId = W("01");
  ASSERT_TRUE(TUserSet::InsertUser(User));
  TDateTime Now = SysUtils::Now();
  std::vector<Integer> Ids1;
  struct Row {
    const char* Dept;
    double Fund;
    double Invoiced;  // < 0: no payment row
    double EndIn;     // days from now; 0: none
  } Rows[] = {{"01", 100, 100, 10}, {"0101", 100, 30, 40}, {"010203", 100, -1, -1}, {"", 0, -1, 0}, {"02", 100, -1, 5}};
  for (const Row& R : Rows) {
    RHetong H = Contract(R.Dept);
    H.DeptId = W(R.Dept);
    if (R.Fund) H.HtFund = R.Fund;
    if (R.EndIn) H.EndDate = TDateTime(Now + R.EndIn);
    Ids1.push_back(Store(H));
    if (R.Invoiced >= 0)
      Exec("insert into payments(Id, HetongId, Invfund) values (:Id, :H, :F)",
           {Database::MakeParam("Id", Ids1.back()), Database::MakeParam("H", Ids1.back()),
            Database::MakeParam("F", R.Invoiced)});
  }
  // An empty department code is kept as stored; only a Null one is outside every department.
  Exec("update hetongs set DeptId=Null where DeptId=''");
  THetongWhere Where;
  THetongSet Set;
  {
    TLogin Login("zhao");
    Set.Search(Where);
    EXPECT_EQ(Ids(Set), (std::set<Integer>{Ids1[0], Ids1[1], Ids1[2], Ids1[3]}));
  }
  Set.Search(Where);
  EXPECT_EQ(Ids(Set).size(), 5u);

  Where.HintDaysFld->SetValue(30);
  Set.Search(Where);
  EXPECT_EQ(Ids(Set), (std::set<Integer>{Ids1[0], Ids1[4]}));

  Where.Reset();
  Where.InvHintFld->SetValue(true);
  Set.Search(Where);
  EXPECT_EQ(Ids(Set), (std::set<Integer>{Ids1[1], Ids1[2], Ids1[4]}));
  Set.GetQuery()->Locate("Id", Ids1[1]);
  EXPECT_DOUBLE_EQ(Set.InvFundt->GetAsFloat(), 30);
  EXPECT_DOUBLE_EQ(Set.UnvFundt->GetAsFloat(), 70);
}

inline void SaveRulesAndMessages()
{
  ClearTables();
  AnsiString Msg;
  RHetong First = Contract("first");
  ASSERT_TRUE(THetongSet::SaveHetong(First, Msg)) << Msg;
  EXPECT_EQ(First.Id, 1);
  EXPECT_EQ(First.HtProgress, W("未执行"));

  RHetong NoClient = Contract("noclient");
  NoClient.ClientId = Variant::Null();
  EXPECT_FALSE(THetongSet::SaveHetong(NoClient, Msg));
  EXPECT_EQ(Msg, "收付类型为应收时, 必须指定相关单位");
  NoClient.ClientId = 0;
  EXPECT_FALSE(THetongSet::SaveHetong(NoClient, Msg));
  NoClient.PayType = W("其他");
  EXPECT_TRUE(THetongSet::SaveHetong(NoClient, Msg)) << Msg;
  EXPECT_EQ(NoClient.Id, 2);
  EXPECT_EQ(Msg, "");

  Exec("insert into payments(Id, HetongId, Payfund) values (1, 1, 5)");
  First.PayType = W("其他");
  EXPECT_FALSE(THetongSet::SaveHetong(First, Msg));
  EXPECT_EQ(Msg, "此合同已有收付记录,不允许将收付类型设为其他.");

  First.PayType = W("应收");
  First.BeginDate = Day(2009, 1, 1);
  First.EdiTime = Day(2009, 2, 1);
  First.Ediman = W("li");
  ASSERT_TRUE(THetongSet::SaveHetong(First, Msg)) << Msg;
  EXPECT_EQ(First.HtProgress, W("执行中"));
  First.D02 = Day(2009, 3, 1);
  ASSERT_TRUE(THetongSet::SaveHetong(First, Msg)) << Msg;
  EXPECT_EQ(First.HtProgress, W("已验收"));
  RHetong Read;
  ASSERT_TRUE(THetongSet::SeekHetong(1, 0, Read));
  EXPECT_EQ(Read.HtProgress, W("已验收"));
  EXPECT_EQ(Read.Ediman, W("li"));
  EXPECT_TRUE(Read.InsTime.IsNull());

  {
    TUnique Unique(true);
    RHetong Dup = Contract("dup");
    Dup.HtCode = First.HtCode;
    EXPECT_FALSE(THetongSet::SaveHetong(Dup, Msg));
    EXPECT_EQ(Msg, "合同编号不允许重复在Id为1名称为first的记录中.");
    EXPECT_TRUE(THetongSet::SaveHetong(First, Msg)) << Msg;
  }
  RHetong Gone = Contract("gone");
  Gone.Id = 99;
  EXPECT_FALSE(THetongSet::SaveHetong(Gone, Msg));
  EXPECT_EQ(Msg, "没有返回成功标记, 记录不存在或被删除.");
}

// Save and Delete mirror into the open result; the delete goes by id whoever entered it.
inline void SaveDeleteMirrorAndSeek()
{
  ClearTables();
  RHetong A = Contract("a");
  A.Insman = W("someone");
  Integer IdA = Store(A);
  THetongWhere Where;
  THetongSet Set;
  Set.Search(Where);
  ASSERT_EQ(Set.GetQuery()->GetRecordCount(), 1);

  AnsiString Msg;
  RHetong B = Contract("b");
  ASSERT_TRUE(Set.Save(B, Msg)) << Msg;
  EXPECT_EQ(Ids(Set), (std::set<Integer>{IdA, B.Id}));
  A.Id = IdA;
  A.HtName = W("a2");
  A.HtFund = 10.0;
  ASSERT_TRUE(Set.Save(A, Msg)) << Msg;
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 2);
  ASSERT_TRUE(Set.GetQuery()->Locate("Id", IdA));
  EXPECT_EQ(Set.HtName->GetAsString(), "a2");
  EXPECT_DOUBLE_EQ(Set.UnvFundt->GetAsFloat(), 10);

  RHetong Rec;
  Set.CopyToRecord(Rec);
  EXPECT_EQ(Rec.Id, IdA);
  EXPECT_TRUE(Rec.SignDate.IsNull());
  EXPECT_EQ(Rec.Insman, W("someone"));

  RHetong Untouched;
  Untouched.HtName = W("keep");
  EXPECT_TRUE(THetongSet::SeekHetong(IdA, 1, Untouched));
  EXPECT_EQ(Untouched.Id, B.Id);
  EXPECT_TRUE(THetongSet::SeekHetong(B.Id, 2, Untouched));
  EXPECT_EQ(Untouched.Id, IdA);
  Untouched.HtName = W("keep");
  EXPECT_FALSE(THetongSet::SeekHetong(B.Id, 1, Untouched));
  EXPECT_EQ(Untouched.HtName, W("keep"));

  {
    TLogin Login("other");
    ASSERT_TRUE(Set.GetQuery()->Locate("Id", IdA));
    EXPECT_TRUE(Set.Delete());
  }
  EXPECT_EQ(Ids(Set), (std::set<Integer>{B.Id}));
  EXPECT_FALSE(THetongSet::DeleteHetong(A));
  Set.Search(Where);
  EXPECT_EQ(Ids(Set), (std::set<Integer>{B.Id}));
}

inline void ValueLists()
{
  ClearTables();
  for (const char* K : {"工程", "采购", "工程"}) {
    RHetong R = Contract(K);
    R.HtKind = W(K);
    R.S04 = W("s4");
    Store(R);
  }
  TStringList Kind, Hand, Progress, S4, S5, S6, S7, S8, S9, S10;
  THetongSet::FillValueLists(&Kind, &Hand, &Progress, &S4, &S5, &S6, &S7, &S8, &S9, &S10);
  std::multiset<AnsiString> Kinds;
  for (Integer I = 0; I < Kind.GetCount(); ++I) Kinds.insert(Kind[I]);
  EXPECT_EQ(Kinds, (std::multiset<AnsiString>{"工程", "采购"}));
  EXPECT_EQ(Progress.GetCount(), 1);
  EXPECT_EQ(S4.GetCount(), 1);
  EXPECT_EQ(S5.GetCount(), 1);  // the one empty value
  EXPECT_THROW(THetongSet::ValueList("HtKind from hetongs; drop table hetongs --", &Kind), EDatabaseError);
}

}  // namespace HetongCases

#define HETONG_CASES(Fixture)                                                                           \
  TEST_F(Fixture, ContractSearchCriteria) { HetongCases::SearchCriteria(); }                            \
  TEST_F(Fixture, ContractScopeHintDaysInvoices) { HetongCases::DepartmentScopeHintDaysAndInvoices(); } \
  TEST_F(Fixture, ContractSaveRules) { HetongCases::SaveRulesAndMessages(); }                           \
  TEST_F(Fixture, ContractSaveDeleteSeek) { HetongCases::SaveDeleteMirrorAndSeek(); }                   \
  TEST_F(Fixture, ContractValueLists) { HetongCases::ValueLists(); }
