#include "core/Payment.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "core/Hetong.h"
#include "core/NewId.h"
#include "core/qxLib.h"
#include "core/qxProj.h"
#include "core/SqlConditions.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"

namespace {

using namespace SqlConditions;

using Database::MakeParam;

WideString W(const AnsiString& S) { return System::AnsiToWide(S); }

void Relabel(Byte Kind, TField* const* Fields, const char* const (*Labels)[4], int Count)
{
  if (Kind > 2) return;
  for (int I = 0; I < Count; ++I) Fields[I]->SetDisplayLabel(Labels[Kind][I]);
}

}  // namespace

// ---- TPaymentWhere ---------------------------------------------------------------------------

TPaymentWhere::TPaymentWhere()
{
  auto Int = [this](const char* N, const char* L = "", bool Visible = true) {
    return AddFieldDef(TIntegerField::StaticClass(), N, L, ftInteger, Visible, 0);
  };
  auto Date = [this](const char* N) { return AddFieldDef(TDateTimeField::StaticClass(), N, "", ftDateTime, true, 0); };
  auto Float = [this](const char* N) { return AddFieldDef(TFloatField::StaticClass(), N, "", ftFloat, true, 0); };
  auto Text = [this](const char* N, const char* L = "") {
    return AddFieldDef(TWideStringField::StaticClass(), N, L, ftWideString, true, 50);
  };
  IdFld = Int("Id", "Id");
  HetongIdFld = Int("HetongId");
  Shldate1Fld = Date("Shldate1");
  Shldate2Fld = Date("Shldate2");
  Shlfund1Fld = Float("Shlfund1");
  Shlfund2Fld = Float("Shlfund2");
  Paydate1Fld = Date("Paydate1");
  Paydate2Fld = Date("Paydate2");
  Payfund1Fld = Float("Payfund1");
  Payfund2Fld = Float("Payfund2");
  Invfund1Fld = Float("Invfund1");
  Invfund2Fld = Float("Invfund2");
  InvNoFld = Text("InvNo");
  InvHintypeFld = Int("InvHintype", "", false);
  NotesFld = Text("Notes");
  HintdaysFld = Int("Hintdays");
  HtPayTypeFld = Text("HtPayType", "收付类型");
  HtSigndate1Fld = Date("HtSigndate1");
  HtSigndate2Fld = Date("HtSigndate2");
  HtClientIdFld = Int("HtClientId");
  HtClientNameFld = Text("HtClientName");
  HtMyDeptFld = Text("HtMyDept");
  Start();
}

// ---- TPaymentSet -----------------------------------------------------------------------------

TPaymentSet::TPaymentSet()
{
  auto Text = [this](const char* N, const char* L, Integer Size = 50, bool Visible = true) {
    return AddField(TWideStringField::StaticClass(), N, L, Visible, Size);
  };
  auto Int = [this](const char* N, const char* L, bool Visible = true) {
    return AddField(TIntegerField::StaticClass(), N, L, Visible, -1);
  };
  auto Float = [this](const char* N, const char* L) { return AddField(TFloatField::StaticClass(), N, L, true, -1); };
  auto Date = [this](const char* N, const char* L) { return AddField(TDateTimeField::StaticClass(), N, L, true, -1); };
  HtCode = Text("HtCode", "合同编号");
  HtName = Text("HtName", "合同名称");
  SignDate = Date("SignDate", "签订日期");
  HtFund = Float("HtFund", "合同金额");
  ClientId = Int("ClientId", "ClientId", false);
  ClientName = Text("ClientName", "对方单位");
  Id = Int("Id", "Id");
  HetongId = Int("HetongId", "");
  Shldate = Date("Shldate", "");
  Shlfund = Float("Shlfund", "");
  Paydate = Date("Paydate", "");
  Payfund = Float("Payfund", "");
  InvDate = Date("InvDate", "开票日期");
  Invfund = Float("Invfund", "发票金额");
  InvNo = Text("InvNo", "凭证号");
  Notes = Text("Notes", "备注", 250);
  SetPayKind(0);
}

void TPaymentSet::SetPayKind(Byte Kind)
{
  static const char* const Labels[3][4] = {{"应收日期", "应收金额", "实收日期", "实收金额"},
                                           {"应付日期", "应付金额", "实付日期", "实付金额"},
                                           {"", "", "", ""}};
  FPayKind = Kind;
  TField* const Fields[] = {Shldate, Shlfund, Paydate, Payfund};
  Relabel(Kind, Fields, Labels, 4);
}

WideString TPaymentSet::BuildCondition(const TPaymentWhere& Q, TDBParameters& Params)
{
  TConditions C{{}, Params};
  const TDatabase& Db = *Database::GlobalDB;
  if (!Q.IdFld->IsNull()) C.Equal("payments.Id", Q.IdFld->GetAsInteger());
  if (!Q.HetongIdFld->IsNull()) C.Equal("HetongId", Q.HetongIdFld->GetAsInteger());
  C.Dates("Shldate", Q.Shldate1Fld, Q.Shldate2Fld);
  C.Amounts("Shlfund", Q.Shlfund1Fld, Q.Shlfund2Fld);
  C.Dates("Paydate", Q.Paydate1Fld, Q.Paydate2Fld);
  C.Amounts("Payfund", Q.Payfund1Fld, Q.Payfund2Fld);
  C.Amounts("Invfund", Q.Invfund1Fld, Q.Invfund2Fld);
  C.Like("InvNo", Q.InvNoFld);
  if (!Q.InvHintypeFld->IsNull()) {
    switch (Q.InvHintypeFld->GetAsInteger()) {
      case 0: C.Add("(not InvDate is null)"); break;
      case 1: C.Add("(InvDate is null)"); break;
      case 2: C.Add("(not Paydate is null) and (InvDate is null)"); break;
      default: break;
    }
  }
  C.Like("payments.Notes", Q.NotesFld);
  if (!Q.HintdaysFld->IsNull()) {
    AnsiString Interval = Db.IsSqlServer() ? "d" : "'d'";
    C.Add("(DateDiff(" + Interval + ", " + Db.DateLiteral(SysUtils::Date()) + ", Shldate)<" +
          SysUtils::IntToStr(Q.HintdaysFld->GetAsInteger()) + ") and (Shlfund>Payfund or Payfund is null)");
  }
  if (!Blank(Q.HtPayTypeFld)) C.Equal("ht.PayType", Q.HtPayTypeFld->GetAsWideString());
  C.Dates("ht.SignDate", Q.HtSigndate1Fld, Q.HtSigndate2Fld);
  if (!Q.HtClientIdFld->IsNull()) C.Equal("ht.ClientId", Q.HtClientIdFld->GetAsInteger());
  C.Like("clients.ClientName", Q.HtClientNameFld);
  // The contract's department, as a code prefix like the contract search's.
  C.Like("ht.DeptId", Q.HtMyDeptFld, true);
  return C.Text;
}

void TPaymentSet::Search(const TPaymentWhere& Where)
{
  TDBParameters Params;
  WideString Condition = BuildCondition(Where, Params);
  OpenSql(
      u"select payments.*, ht.HtCode, ht.HtName, ht.Signdate, ht.HtFund, ht.ClientId, clients.ClientName from "
      u"payments, hetongs ht, clients where payments.HetongId=ht.Id and ht.ClientId=clients.Id " +
          Condition,
      Params);
}

void TPaymentSet::CopyToRecord(RPayment& R) const
{
  R.Id = Id->IsNull() ? 0 : Id->GetAsInteger();
  R.HetongId = HetongId->IsNull() ? 0 : HetongId->GetAsInteger();
  R.Shldate = OrNull(Shldate);
  R.Paydate = OrNull(Paydate);
  R.InvDate = OrNull(InvDate);
  R.Shlfund = OrNull(Shlfund);
  R.Payfund = OrNull(Payfund);
  R.Invfund = OrNull(Invfund);
  R.InvNo = InvNo->GetAsWideString();
  R.Notes = Notes->GetAsWideString();
}

void TPaymentSet::CopyFromRecord(const RPayment& R)
{
  auto Value = [](const Variant& V) { return V.IsEmpty() ? Variant::Null() : V; };
  Id->SetValue(R.Id);
  HetongId->SetValue(R.HetongId);
  Shldate->SetValue(Value(R.Shldate));
  Paydate->SetValue(Value(R.Paydate));
  InvDate->SetValue(Value(R.InvDate));
  Shlfund->SetValue(Value(R.Shlfund));
  Payfund->SetValue(Value(R.Payfund));
  Invfund->SetValue(Value(R.Invfund));
  InvNo->SetAsWideString(R.InvNo);
  Notes->SetAsWideString(R.Notes);
}

void TPaymentSet::MoveProgress(Integer Contract)
{
  TRecordSet& Set = *Database::ScratchSet;
  TADODataSet& D = *Set.GetDataSet();
  Set.OpenSql(u"select sum(Shlfund), sum(Payfund) from payments where HetongId=:HetongId",
              {MakeParam("HetongId", Contract)});
  bool Done = false;
  if (!D.IsEmpty() && !D.GetFields()[0]->IsNull() && !D.GetFields()[1]->IsNull()) {
    double Scale = std::pow(10.0, qxProj::Decimals);
    Done = std::llround(D.GetFields()[0]->GetAsFloat() * Scale) == std::llround(D.GetFields()[1]->GetAsFloat() * Scale);
  }
  D.Close();
  AnsiString Progress = "已完成";
  if (!Done) {
    Set.OpenSql(u"select S01, BeginDate, D02 from hetongs where Id=:Id", {MakeParam("Id", Contract)});
    if (D.IsEmpty()) {
      D.Close();
      return;
    }
    Progress = !D.GetFields()[2]->IsNull() ? "已验收" : D.GetFields()[1]->IsNull() ? "未执行" : "执行中";
    D.Close();
  }
  Database::GlobalDB->ExecSQL(u"update hetongs set HtProgress=:P where Id=:Id",
                              {MakeParam("P", W(Progress)), MakeParam("Id", Contract)});
}

bool TPaymentSet::WriteCurrent()
{
  TADOQuery& Q = *GetQuery();
  if (Q.GetState() == dsEdit || Q.GetState() == dsInsert) Q.UpdateRecord();
  auto Params = [this](Integer Key) {
    return TDBParameters{MakeParam("HetongId", OrNull(HetongId)),      MakeParam("Shldate", OrNull(Shldate)),
                         MakeParam("Shlfund", OrNull(Shlfund)),        MakeParam("Paydate", OrNull(Paydate)),
                         MakeParam("Payfund", OrNull(Payfund)),        MakeParam("InvDate", OrNull(InvDate)),
                         MakeParam("Invfund", OrNull(Invfund)),        MakeParam("InvNo", InvNo->GetAsWideString()),
                         MakeParam("Notes", Notes->GetAsWideString()), MakeParam("Id", Key)};
  };
  Integer Key = Id->IsNull() ? 0 : Id->GetAsInteger();
  Integer Rows = 0;
  if (Key > 0) {
    Rows = Database::GlobalDB->ExecSQL(
        u"update payments set HetongId=:HetongId,Shldate=:Shldate,Shlfund=:Shlfund,Paydate=:Paydate,"
        u"Payfund=:Payfund,InvDate=:InvDate,Invfund=:Invfund,InvNo=:InvNo,Notes=:Notes where Id=:Id",
        Params(Key));
  } else {
    auto Insert = [&Params](Integer Candidate) {
      return Database::GlobalDB->ExecSQL(
          u"insert into payments(HetongId, Shldate, Shlfund, Paydate, Payfund, InvDate, Invfund, InvNo, Notes, Id)"
          u"values(:HetongId,:Shldate,:Shlfund,:Paydate,:Payfund,:InvDate,:Invfund,:InvNo,:Notes,:Id)",
          Params(Candidate));
    };
    Rows = NewId::InsertWithNewId("payments", Insert, Key);
    Id->SetValue(Key);
  }
  if (!HetongId->IsNull()) MoveProgress(HetongId->GetAsInteger());
  return Rows == 1;
}

bool TPaymentSet::Save(RPayment& R)
{
  TADOQuery& Q = *GetQuery();
  if (R.Id > 0) {
    if (!Q.Locate("Id", R.Id)) {
      qxLib::ShowInfo(SysUtils::Format("没有定位到%d", {R.Id}));
      return false;
    }
    Q.Edit();
  } else {
    Q.Append();
  }
  CopyFromRecord(R);
  bool Written = false;
  TScopeExit undo([&] { Q.Cancel(); });
  Written = WriteCurrent();
  undo.Dismiss();
  if (!Written) {
    Q.Cancel();
    return false;
  }
  Q.Post();
  CopyToRecord(R);
  return true;
}

bool TPaymentSet::Delete()
{
  if (Database::GlobalDB->ExecSQL(u"delete from payments where Id=:Id", {MakeParam("Id", Id->GetAsInteger())}) != 1)
    return false;
  GetQuery()->Delete();
  return true;
}

Integer TPaymentSet::CountByHetong(Integer Contract)
{
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(u"select count(*) from payments where HetongId=:Id", {MakeParam("Id", Contract)});
  Integer Count = Set.GetDataSet()->GetFields()[0]->GetAsInteger();
  Set.GetDataSet()->Close();
  return Count;
}

// ---- TPaymentSetByClient ---------------------------------------------------------------------

TPaymentSetByClient::TPaymentSetByClient()
{
  auto Float = [this](const char* N, const char* L) { return AddField(TFloatField::StaticClass(), N, L, true, -1); };
  ClientId = AddField(TIntegerField::StaticClass(), "ClientId", "Id", true, -1);
  ClientName = AddField(TWideStringField::StaticClass(), "ClientName", "单位名称", true, 50);
  HtCount = AddField(TIntegerField::StaticClass(), "HtCount", "合同数", true, -1);
  ShlCount = AddField(TIntegerField::StaticClass(), "ShlCount", "", true, -1);
  Shlfund = Float("Shlfund", "");
  Payfund = Float("Payfund", "");
  Invfund = Float("Invfund", "发票金额");
  SetPayKind(0);
}

void TPaymentSetByClient::SetPayKind(Byte Kind)
{
  static const char* const Labels[3][4] = {
      {"应收笔数", "应收金额", "实收金额", ""}, {"应付笔数", "应付金额", "实付金额", ""}, {"", "", "", ""}};
  FPayKind = Kind;
  TField* const Fields[] = {ShlCount, Shlfund, Payfund};
  Relabel(Kind, Fields, Labels, 3);
}

void TPaymentSetByClient::Search(const TPaymentWhere& Q)
{
  TDBParameters Params;
  TConditions C{{}, Params};
  WideString PayType = Q.HtPayTypeFld->IsNull() ? WideString() : Q.HtPayTypeFld->GetAsWideString();
  C.Equal("hetongs.PayType", PayType);
  C.Dates("hetongs.SignDate", Q.HtSigndate1Fld, Q.HtSigndate2Fld);
  C.Dates("Shldate", Q.Shldate1Fld, Q.Shldate2Fld);
  C.Dates("Paydate", Q.Paydate1Fld, Q.Paydate2Fld);
  OpenSql(
      u"select hetongs.ClientId, clients.ClientName, count(*) as ShlCount, count(*) as HtCount, sum(Shlfund) as "
      u"Shlfund, sum(Payfund) as Payfund, sum(Invfund) as Invfund from payments, hetongs, clients where "
      u"payments.HetongId=hetongs.Id and hetongs.ClientId=clients.Id " +
          C.Text + u" group by hetongs.ClientId, clients.ClientName",
      Params);

  std::map<Integer, Integer> Contracts;
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(u"select ClientId, count(*) from hetongs where PayType=:PayType group by ClientId",
              {MakeParam("PayType", PayType)});
  TADODataSet& D = *Set.GetDataSet();
  for (D.First(); !D.GetEof(); D.Next())
    if (!D.GetFields()[0]->IsNull()) Contracts[D.GetFields()[0]->GetAsInteger()] = D.GetFields()[1]->GetAsInteger();
  D.Close();

  TADOQuery& Result = *GetQuery();
  Result.DisableControls();
  TScopeExit undo([&] {
    Result.EnableControls();
    Result.First();
  });
  for (Result.First(); !Result.GetEof(); Result.Next()) {
    Result.Edit();
    auto Found = ClientId->IsNull() ? Contracts.end() : Contracts.find(ClientId->GetAsInteger());
    HtCount->SetValue(Found == Contracts.end() ? Variant::Null() : Variant(Found->second));
    Result.Post();
  }
}

PELTO_DEFINE_CLASS(TPaymentWhere)
