// The payment cases, run on whichever database is the open global connection.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "core/Hetong.h"
#include "core/Payment.h"
#include "core/qxProj.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/MessageSeam.h"

namespace PaymentCases {

inline WideString W(const AnsiString& S) { return System::AnsiToWide(S); }
inline Integer Exec(const AnsiString& Sql, const TDBParameters& Params = {})
{
  return Database::GlobalDB->ExecSQL(W(Sql), Params);
}

struct TDecimals {
  Integer Old = qxProj::Decimals;
  explicit TDecimals(Integer D) { qxProj::Decimals = D; }
  ~TDecimals() { qxProj::Decimals = Old; }
};

inline void Reset()
{
  for (const char* T : {"hetongs", "payments", "clients"}) Exec(AnsiString("delete from ") + T);
  Exec("insert into clients(Id, ClientName) values (1, :N)", {Database::MakeParam("N", W("华丰'_%"))});
  Exec("insert into clients(Id, ClientName) values (2, 'Beta')");
}

inline Integer Contract(const AnsiString& PayType, Integer Client, bool Begun, const AnsiString& Dept = "")
{
  RHetong R;
  R.HtCode = W("C");
  R.PayType = W(PayType);
  R.ClientId = Client;
  R.DeptId = W(Dept);
  if (Begun) R.BeginDate = SysUtils::EncodeDate(2009, 1, 1);
  AnsiString Msg;
  EXPECT_TRUE(THetongSet::SaveHetong(R, Msg)) << Msg;
  return R.Id;
}

inline AnsiString Progress(Integer Contract)
{
  RHetong R;
  EXPECT_TRUE(THetongSet::SeekHetong(Contract, 0, R));
  return System::WideToAnsi(R.HtProgress);
}

inline RPayment Row(Integer Contract, Variant Due, Variant Paid = Variant::Null())
{
  RPayment P;
  P.HetongId = Contract;
  P.Shlfund = Due;
  P.Payfund = Paid;
  return P;
}

inline std::set<Integer> Ids(TPaymentSet& Set)
{
  std::set<Integer> Result;
  TADOQuery& Q = *Set.GetQuery();
  for (Q.First(); !Q.GetEof(); Q.Next()) Result.insert(Set.Id->GetAsInteger());
  return Result;
}

inline void ProgressMoves()
{
  Reset();
  TDecimals Two(2);
  Integer H = Contract("应收", 1, true), Unpaid = Contract("应收", 1, false);
  TPaymentWhere Where;
  TPaymentSet Set;
  Set.Search(Where);
  RPayment A = Row(H, 100.0), B = Row(H, 200.0);
  ASSERT_TRUE(Set.Save(A));
  ASSERT_TRUE(Set.Save(B));
  EXPECT_EQ(A.Id, 1);
  EXPECT_EQ(B.Id, 2);
  EXPECT_EQ(Progress(H), "执行中");
  A.Payfund = 100.0;
  ASSERT_TRUE(Set.Save(A));
  EXPECT_EQ(Progress(H), "执行中");
  B.Payfund = 200.004;  // equal after rounding to the amount decimals
  ASSERT_TRUE(Set.Save(B));
  EXPECT_EQ(Progress(H), "已完成");
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 2);
  B.Payfund = 150.0;
  ASSERT_TRUE(Set.Save(B));
  EXPECT_EQ(Progress(H), "执行中");
  ASSERT_TRUE(Set.GetQuery()->Locate("Id", B.Id));
  EXPECT_DOUBLE_EQ(Set.Payfund->GetAsFloat(), 150.0);

  // Deleting leaves the progress as it was.
  B.Payfund = 200.0;
  ASSERT_TRUE(Set.Save(B));
  EXPECT_EQ(Progress(H), "已完成");
  ASSERT_TRUE(Set.GetQuery()->Locate("Id", A.Id));
  EXPECT_TRUE(Set.Delete());
  EXPECT_EQ(Progress(H), "已完成");
  EXPECT_EQ(TPaymentSet::CountByHetong(H), 1);

  // Nothing paid and nothing due: two Nulls are no completion.
  RPayment Empty = Row(Unpaid, Variant::Null());
  ASSERT_TRUE(Set.Save(Empty));
  EXPECT_EQ(Progress(Unpaid), "未执行");

  std::vector<AnsiString> Boxes;
  MessageSeam::TScopedMessageBox box([&Boxes](const AnsiString& Text, const AnsiString&, unsigned) {
    Boxes.push_back(Text);
    return IDOK;
  });
  RPayment Missing = Row(H, 1.0);
  Missing.Id = 99;
  EXPECT_FALSE(Set.Save(Missing));
  EXPECT_EQ(Boxes, std::vector<AnsiString>{"\r\n没有定位到99\t"});
  EXPECT_EQ(TPaymentSet::CountByHetong(H), 1);
}

inline void SearchCriteria()
{
  Reset();
  Integer H1 = Contract("应收", 1, true, "0101"), H2 = Contract("应付", 2, true, "02");
  TDateTime Today = SysUtils::Date();
  auto Add = [](Integer H, auto Change) {
    RPayment P;
    P.HetongId = H;
    Change(P);
    TPaymentSet Set;
    Set.Search(TPaymentWhere());
    EXPECT_TRUE(Set.Save(P));
    return P.Id;
  };
  // Overdue, not fully paid; invoiced.
  Integer Overdue = Add(H1, [&](RPayment& P) {
    P.Shldate = TDateTime(Today - 3);
    P.Shlfund = 100.0;
    P.Payfund = 50.0;
    P.InvDate = TDateTime(Today - 1);
    P.Invfund = 50.0;
    P.InvNo = W("50%_no");
  });
  // Due in ten days, paid, no invoice.
  Integer Soon = Add(H1, [&](RPayment& P) {
    P.Shldate = TDateTime(Today + 10);
    P.Paydate = SysUtils::EncodeDate(2009, 3, 5);
    P.Shlfund = 10.0;
    P.Payfund = 10.0;
    P.Notes = W("O'Neil");
  });
  // Due later, nothing paid, no invoice.
  Integer Later = Add(H2, [&](RPayment& P) {
    P.Shldate = TDateTime(Today + 40);
    P.Shlfund = 1234.565;
    P.InvNo = W("A_1");
  });
  struct Case {
    const char* What;
    TField* TPaymentWhere::*Field;
    Variant Value;
    std::set<Integer> Expected;
  } Cases[] = {
      {"nothing", nullptr, Variant(), {Overdue, Soon, Later}},
      {"id", &TPaymentWhere::IdFld, Soon, {Soon}},
      {"contract", &TPaymentWhere::HetongIdFld, H2, {Later}},
      {"due to includes the day", &TPaymentWhere::Shldate2Fld, TDateTime(Today + 10), {Overdue, Soon}},
      {"due from", &TPaymentWhere::Shldate1Fld, TDateTime(Today + 10), {Soon, Later}},
      {"due amount rounds", &TPaymentWhere::Shlfund1Fld, 1234.567, {}},
      {"due amount to", &TPaymentWhere::Shlfund2Fld, 50.0, {Soon}},
      {"paid on the day", &TPaymentWhere::Paydate2Fld, SysUtils::EncodeDate(2009, 3, 5), {Soon}},
      {"paid from", &TPaymentWhere::Payfund1Fld, 20.0, {Overdue}},
      {"invoiced to", &TPaymentWhere::Invfund2Fld, 60.0, {Overdue}},
      {"voucher percent", &TPaymentWhere::InvNoFld, W("%"), {Overdue}},
      {"voucher underscore", &TPaymentWhere::InvNoFld, W("_"), {Overdue, Later}},
      {"voucher exact text", &TPaymentWhere::InvNoFld, W("A_"), {Later}},
      {"invoiced", &TPaymentWhere::InvHintypeFld, 0, {Overdue}},
      {"not invoiced", &TPaymentWhere::InvHintypeFld, 1, {Soon, Later}},
      {"paid not invoiced", &TPaymentWhere::InvHintypeFld, 2, {Soon}},
      {"other state", &TPaymentWhere::InvHintypeFld, 5, {Overdue, Soon, Later}},
      {"notes quote", &TPaymentWhere::NotesFld, W("'"), {Soon}},
      {"overdue only", &TPaymentWhere::HintdaysFld, 0, {Overdue}},
      {"due within 30 days not fully paid", &TPaymentWhere::HintdaysFld, 30, {Overdue}},
      {"due within 60 days not fully paid", &TPaymentWhere::HintdaysFld, 60, {Overdue, Later}},
      {"pay type", &TPaymentWhere::HtPayTypeFld, W("应付"), {Later}},
      {"client", &TPaymentWhere::HtClientIdFld, 1, {Overdue, Soon}},
      {"client name hostile", &TPaymentWhere::HtClientNameFld, W("'_%"), {Overdue, Soon}},
      {"client name", &TPaymentWhere::HtClientNameFld, W("bet"), {Later}},
      {"department prefix", &TPaymentWhere::HtMyDeptFld, W("01"), {Overdue, Soon}},
  };
  TPaymentWhere Where;
  TPaymentSet Set;
  for (const Case& K : Cases) {
    Where.Reset();
    if (K.Field) (Where.*K.Field)->SetValue(K.Value);
    Set.Search(Where);
    EXPECT_EQ(Ids(Set), K.Expected) << K.What;
  }
  Where.Reset();
  Set.Search(Where);
  ASSERT_TRUE(Set.GetQuery()->Locate("Id", Later));
  EXPECT_EQ(Set.ClientName->GetAsString(), "Beta");
  EXPECT_EQ(Set.HetongId->GetAsInteger(), H2);
}

inline void TotalsByClientAndLabels()
{
  Reset();
  Integer H1 = Contract("应收", 1, true), H2 = Contract("应收", 1, true);
  Contract("应收", 2, true);  // a contract without rows still counts for its counterparty
  Integer H4 = Contract("应付", 2, true);
  TPaymentSet Set;
  Set.Search(TPaymentWhere());
  for (RPayment P : {Row(H1, 100.0, 40.0), Row(H1, 50.0), Row(H2, 10.0, 10.0), Row(H4, 7.0)}) ASSERT_TRUE(Set.Save(P));

  TPaymentWhere Where;
  Where.HtPayTypeFld->SetAsWideString(W("应收"));
  TPaymentSetByClient Totals;
  Totals.Search(Where);
  ASSERT_EQ(Totals.GetQuery()->GetRecordCount(), 1);
  EXPECT_EQ(Totals.ClientId->GetAsInteger(), 1);
  EXPECT_EQ(Totals.ShlCount->GetAsInteger(), 3);
  EXPECT_EQ(Totals.HtCount->GetAsInteger(), 2);
  EXPECT_DOUBLE_EQ(Totals.Shlfund->GetAsFloat(), 160.0);
  EXPECT_DOUBLE_EQ(Totals.Payfund->GetAsFloat(), 50.0);
  Where.Reset();
  Totals.Search(Where);
  EXPECT_EQ(Totals.GetQuery()->GetRecordCount(), 0);

  EXPECT_EQ(Set.Shlfund->GetDisplayLabel(), "应收金额");
  Set.SetPayKind(1);
  EXPECT_EQ(Set.Paydate->GetDisplayLabel(), "实付日期");
  Set.SetPayKind(2);
  EXPECT_EQ(Set.Paydate->GetDisplayLabel(), "Paydate");
  Set.SetPayKind(7);
  EXPECT_EQ(Set.GetPayKind(), 7);
  EXPECT_EQ(Set.Paydate->GetDisplayLabel(), "Paydate");
  Totals.SetPayKind(1);
  EXPECT_EQ(Totals.ShlCount->GetDisplayLabel(), "应付笔数");
}

}  // namespace PaymentCases

#define PAYMENT_CASES(Fixture)                                               \
  TEST_F(Fixture, PaymentProgressMoves) { PaymentCases::ProgressMoves(); }   \
  TEST_F(Fixture, PaymentSearchCriteria) { PaymentCases::SearchCriteria(); } \
  TEST_F(Fixture, PaymentTotalsAndLabels) { PaymentCases::TotalsByClientAndLabels(); }
