#include "core/Hetong.h"

#include <cstdio>

#include "core/cnst.h"
#include "core/NewId.h"
#include "core/Operator.h"
#include "core/Payment.h"
#include "core/qxProj.h"
#include "core/SqlConditions.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"

namespace {

using namespace SqlConditions;

using Database::MakeParam;

WideString W(const AnsiString& S) { return System::AnsiToWide(S); }

const char* const Stored =
    "hetongs.*, clients.ClientName, departments.Name as DeptName, (select sum(Invfund) from payments where "
    "HetongId=hetongs.Id)+0.0-0.0 as InvFundt from ((hetongs left join clients on hetongs.ClientId=clients.Id) "
    "left join departments on hetongs.DeptId=departments.Code)";

const char* const ContractColumns[] = {
    "Id",      "HtCode",    "HtName",   "PayType",    "ClientId",  "HtKind",  "SignDate", "HtFund",
    "DeptId",  "MyHandman", "Contents", "HtProgress", "BeginDate", "EndDate", "InsTime",  "Insman",
    "EdiTime", "Ediman",    "S01",      "S02",        "S03",       "S04",     "S05",      "S06",
    "S07",     "S08",       "S09",      "S10",        "F01",       "F02",     "D01",      "D02"};

AnsiString OperatorDept()
{
  if (!qxProj::CurrentOperator || qxProj::CurrentOperator->LoginId.empty()) return {};
  RUser User;
  TUserSet::LookupUser(qxProj::CurrentOperator->LoginId, User);
  return System::WideToAnsi(User.DeptId);
}

Variant V(const Variant& Value) { return Value.IsEmpty() ? Variant::Null() : Value; }

TDBParameters SaveParams(const RHetong& R, bool Insert)
{
  TDBParameters P = {MakeParam("HtCode", R.HtCode),
                     MakeParam("HtName", R.HtName),
                     MakeParam("PayType", R.PayType),
                     MakeParam("ClientId", V(R.ClientId)),
                     MakeParam("HtKind", R.HtKind),
                     MakeParam("SignDate", V(R.SignDate)),
                     MakeParam("HtFund", V(R.HtFund)),
                     MakeParam("DeptId", R.DeptId),
                     MakeParam("MyHandman", R.MyHandman),
                     MakeParam("Contents", R.Contents),
                     MakeParam("HtProgress", R.HtProgress),
                     MakeParam("BeginDate", V(R.BeginDate)),
                     MakeParam("EndDate", V(R.EndDate)),
                     MakeParam("InsTime", V(Insert ? R.InsTime : R.EdiTime)),
                     MakeParam("Insman", Insert ? R.Insman : R.Ediman),
                     MakeParam("S01", R.S01),
                     MakeParam("S02", R.S02),
                     MakeParam("S03", R.S03),
                     MakeParam("S04", R.S04),
                     MakeParam("S05", R.S05),
                     MakeParam("S06", R.S06),
                     MakeParam("S07", R.S07),
                     MakeParam("S08", R.S08),
                     MakeParam("S09", R.S09),
                     MakeParam("S10", R.S10),
                     MakeParam("F01", V(R.F01)),
                     MakeParam("F02", V(R.F02)),
                     MakeParam("D01", V(R.D01)),
                     MakeParam("D02", V(R.D02)),
                     MakeParam("Id", R.Id)};
  return P;
}

const char16_t* const UpdateSql =
    u"update hetongs set HtCode=:HtCode,HtName=:HtName,PayType=:PayType,ClientId=:ClientId,HtKind=:HtKind,"
    u"SignDate=:SignDate,HtFund=:HtFund, DeptId=:DeptId,MyHandman=:MyHandman,Contents=:Contents,"
    u"HtProgress=:HtProgress,BeginDate=:BeginDate,EndDate=:EndDate, EdiTime=:InsTime,Ediman=:Insman,S01=:S01,"
    u"S02=:S02,S03=:S03,S04=:S04,S05=:S05,S06=:S06,S07=:S07,S08=:S08,S09=:S09,S10=:S10,F01=:F01,F02=:F02,"
    u"D01=:D01,D02=:D02 where Id=:Id";

const char16_t* const InsertSql =
    u"insert into hetongs(HtCode, HtName, PayType, ClientId, HtKind, SignDate, HtFund, DeptId, MyHandman, "
    u"Contents, HtProgress, BeginDate, EndDate,  InsTime, Insman, S01, S02, S03, S04, S05, S06, S07, S08, S09, "
    u"S10, F01, F02, D01, D02, Id)values(:HtCode,:HtName,:PayType,:ClientId,:HtKind,:SignDate,:HtFund, :DeptId,"
    u":MyHandman,:Contents,:HtProgress,:BeginDate,:EndDate, :InsTime,:Insman,:S01,:S02,:S03,:S04,:S05,:S06,:S07,"
    u":S08,:S09,:S10,:F01,:F02,:D01,:D02,:Id)";

}  // namespace

namespace Hetong {

WideString EscapeLike(const WideString& Text)
{
  WideString Out;
  for (char16_t C : Text) {
    if (C == u'!' || C == u'%' || C == u'_') Out += u'!';
    Out += C;
  }
  return Out;
}

}  // namespace Hetong

// ---- THetongWhere ----------------------------------------------------------------------------

THetongWhere::THetongWhere()
{
  auto Text = [this](const char* N, const char* L, bool Visible = true) {
    return AddFieldDef(TWideStringField::StaticClass(), N, L, ftWideString, Visible, 50);
  };
  auto Int = [this](const char* N, const char* L, bool Visible = true) {
    return AddFieldDef(TIntegerField::StaticClass(), N, L, ftInteger, Visible, 0);
  };
  auto Date = [this](const char* N, const char* L) {
    return AddFieldDef(TDateTimeField::StaticClass(), N, L, ftDateTime, true, 0);
  };
  auto Float = [this](const char* N, const char* L) {
    return AddFieldDef(TFloatField::StaticClass(), N, L, ftFloat, true, 0);
  };
  IdFld = Int("Id", "ID");
  HtCodeFld = Text("HtCode", "合同编号");
  HtNameFld = Text("HtName", "合同名称");
  PayTypeFld = Text("PayType", "收付类型");
  ClientIdFld = Int("ClientId", "ClientId", false);
  ClientNameFld = Text("ClientName", "客户名称");
  HtKindFld = Text("HtKind", "合同类别");
  SignDate1Fld = Date("SignDate1", "签订日期");
  SignDate2Fld = Date("SignDate2", "签订日期");
  HtFund1Fld = Float("HtFund1", "合同金额");
  HtFund2Fld = Float("HtFund2", "合同金额");
  MyDeptIdFld = Text("MyDeptId", "");
  MyDeptNameFld = Text("MyDeptName", "");
  MyHandmanFld = Text("MyHandman", "负责人");
  ContentsFld = Text("Contents", "合同内容");
  HtProgressFld = Text("HtProgress", "执行情况");
  BeginDate1Fld = Date("BeginDate1", "生效日期");
  BeginDate2Fld = Date("BeginDate2", "生效日期");
  EndDate1Fld = Date("EndDate1", "失效日期");
  EndDate2Fld = Date("EndDate2", "失效日期");
  InsTime1Fld = Date("InsTime1", "录入时间");
  InsTime2Fld = Date("InsTime2", "录入时间");
  InsmanFld = Text("Insman", "录入人");
  HintDaysFld = Int("HintDays", "");
  InvHintFld = AddFieldDef(TBooleanField::StaticClass(), "InvHint", "", ftBoolean, false, 0);
  Start();
}

// ---- THetongSet ------------------------------------------------------------------------------

THetongSet::THetongSet()
{
  auto Text = [this](const char* N, const char* L, bool Visible = true) {
    return AddField(TWideStringField::StaticClass(), N, L, Visible, 50);
  };
  auto Float = [this](const char* N, const char* L) { return AddField(TFloatField::StaticClass(), N, L, true, -1); };
  auto Date = [this](const char* N, const char* L) { return AddField(TDateTimeField::StaticClass(), N, L, true, -1); };
  Id = AddField(TIntegerField::StaticClass(), "Id", "ID", true, -1);
  HtCode = Text("HtCode", "合同编号");
  HtName = Text("HtName", "合同名称");
  PayType = Text("PayType", "收付类型");
  ClientId = AddField(TIntegerField::StaticClass(), "ClientId", "ClientId", false, -1);
  ClientName = Text("ClientName", "单位名称");
  HtKind = Text("HtKind", "合同类别");
  SignDate = Date("SignDate", "签订日期");
  HtFund = Float("HtFund", "合同金额");
  InvFundt = Float("InvFundt", "发票金额");
  UnvFundt = Float("UnvFundt", "未开发票");
  UnvFundt->SetFieldKind(fkCalculated);
  DeptId = Text("DeptId", "DeptId", false);
  DeptName = Text("DeptName", "所属部门");
  MyHandman = Text("MyHandman", "负责人");
  Contents = AddField(TWideMemoField::StaticClass(), "Contents", "合同内容", true, -1);
  HtProgress = Text("HtProgress", "执行情况");
  BeginDate = Date("BeginDate", "生效日期");
  EndDate = Date("EndDate", "失效日期");
  InsTime = Date("InsTime", "录入时间");
  Insman = Text("Insman", "录入人");
  EdiTime = Date("EdiTime", "修改时间");
  Ediman = Text("Ediman", "修改人");
  // The user-defined captions come from cnst (loaded at start-up); the column names stand in
  // for empty ones.
  auto Label = [](int I, const char* Column) { return cnst::ColumnLabel(cnst::HtCaptions[I], Column); };
  for (int I = 0; I < 10; ++I) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "S%02d", I + 1);
    S[I] = AddField(TWideStringField::StaticClass(), Name, Label(I, Name), true, 50);
  }
  F01 = AddField(TFloatField::StaticClass(), "F01", Label(10, "F01"), true, -1);
  F02 = AddField(TFloatField::StaticClass(), "F02", Label(11, "F02"), true, -1);
  D01 = AddField(TDateTimeField::StaticClass(), "D01", Label(12, "D01"), true, -1);
  D02 = AddField(TDateTimeField::StaticClass(), "D02", Label(13, "D02"), true, -1);
  GetQuery()->OnCalcFields = [this](TDataSet*) {
    double Fund = HtFund->IsNull() ? 0.0 : HtFund->GetAsFloat();
    double Inv = InvFundt->IsNull() ? 0.0 : InvFundt->GetAsFloat();
    UnvFundt->SetValue(Fund - Inv);
  };
}

WideString THetongSet::BuildCondition(const THetongWhere& Where, TDBParameters& Params)
{
  TConditions B{{}, Params};
  const THetongWhere& Q = Where;
  if (!Q.IdFld->IsNull()) B.Text += u" and hetongs.Id=" + B.Param(Q.IdFld->GetAsInteger());
  B.Like("HtCode", Q.HtCodeFld);
  B.Like("HtName", Q.HtNameFld);
  B.Like("PayType", Q.PayTypeFld);
  if (!Q.ClientIdFld->IsNull()) B.Text += u" and ClientId=" + B.Param(Q.ClientIdFld->GetAsInteger());
  B.Like("HtKind", Q.HtKindFld);
  B.Dates("SignDate", Q.SignDate1Fld, Q.SignDate2Fld);
  if (!Q.HtFund1Fld->IsNull()) B.Add("HtFund>=" + Fixed2(Q.HtFund1Fld->GetAsFloat()));
  if (!Q.HtFund2Fld->IsNull()) B.Add("HtFund<=" + Fixed2(Q.HtFund2Fld->GetAsFloat()));
  B.Like("DeptId", Q.MyDeptIdFld, true);
  B.Like("MyHandman", Q.MyHandmanFld);
  B.Like("Contents", Q.ContentsFld);
  B.Like("HtProgress", Q.HtProgressFld);
  B.Dates("BeginDate", Q.BeginDate1Fld, Q.BeginDate2Fld);
  B.Dates("EndDate", Q.EndDate1Fld, Q.EndDate2Fld);
  B.Dates("InsTime", Q.InsTime1Fld, Q.InsTime2Fld);
  if (!Blank(Q.InsmanFld)) B.Text += u" and Insman=" + B.Param(Q.InsmanFld->GetAsWideString());
  if (!Q.HintDaysFld->IsNull() && Q.HintDaysFld->GetAsInteger() > 0) {
    AnsiString Now = Database::GlobalDB->NowFunction();
    B.Add("(EndDate >= " + Now + ") and (EndDate - " + Now +
          " <= " + SysUtils::IntToStr(Q.HintDaysFld->GetAsInteger()) + ")");
  }
  B.Text +=
      u" and (DeptId is null or DeptId like " + B.Param(Hetong::EscapeLike(W(OperatorDept())) + u"%") + u" escape '!')";
  B.Text.replace(B.Text.find(u" and "), 5, u" where ");
  return B.Text;
}

WideString THetongSet::SelectText(const WideString& Condition)
{
  return W(AnsiString("select ") + Stored) + Condition + u" order by hetongs.Id";
}

void THetongSet::Search(const THetongWhere& Where)
{
  TDBParameters Params;
  WideString Condition = BuildCondition(Where, Params);
  OpenSql(SelectText(Condition), Params);
  if (Where.InvHintFld->IsNull() || !Where.InvHintFld->GetAsBoolean()) return;
  TADOQuery& Q = *GetQuery();
  Q.DisableControls();
  Q.First();
  while (!Q.GetEof()) {
    if (UnvFundt->IsNull() || UnvFundt->GetAsFloat() <= 0)
      Q.Delete();
    else
      Q.Next();
  }
  Q.EnableControls();
  Q.First();
}

void THetongSet::CopyToRecord(RHetong& R) const
{
  R.Id = Id->IsNull() ? 0 : Id->GetAsInteger();
  R.HtCode = HtCode->GetAsWideString();
  R.HtName = HtName->GetAsWideString();
  R.PayType = PayType->GetAsWideString();
  R.HtKind = HtKind->GetAsWideString();
  R.ClientId = OrNull(ClientId);
  R.ClientName = ClientName->GetAsWideString();
  R.SignDate = OrNull(SignDate);
  R.HtFund = OrNull(HtFund);
  R.InvFundt = OrNull(InvFundt);
  R.DeptId = DeptId->GetAsWideString();
  R.DeptName = DeptName->GetAsWideString();
  R.MyHandman = MyHandman->GetAsWideString();
  R.Contents = Contents->GetAsWideString();
  R.HtProgress = HtProgress->GetAsWideString();
  R.BeginDate = OrNull(BeginDate);
  R.EndDate = OrNull(EndDate);
  R.InsTime = OrNull(InsTime);
  R.Insman = Insman->GetAsWideString();
  R.EdiTime = OrNull(EdiTime);
  R.Ediman = Ediman->GetAsWideString();
  WideString* Texts[] = {&R.S01, &R.S02, &R.S03, &R.S04, &R.S05, &R.S06, &R.S07, &R.S08, &R.S09, &R.S10};
  for (int I = 0; I < 10; ++I) *Texts[I] = S[I]->GetAsWideString();
  R.F01 = OrNull(F01);
  R.F02 = OrNull(F02);
  R.D01 = OrNull(D01);
  R.D02 = OrNull(D02);
}

void THetongSet::CopyFromRecord(const RHetong& R)
{
  Id->SetValue(R.Id);
  HtCode->SetAsWideString(R.HtCode);
  HtName->SetAsWideString(R.HtName);
  PayType->SetAsWideString(R.PayType);
  HtKind->SetAsWideString(R.HtKind);
  ClientId->SetValue(R.ClientId);
  ClientName->SetAsWideString(R.ClientName);
  SignDate->SetValue(R.SignDate);
  HtFund->SetValue(R.HtFund);
  DeptId->SetAsWideString(R.DeptId);
  DeptName->SetAsWideString(R.DeptName);
  MyHandman->SetAsWideString(R.MyHandman);
  Contents->SetAsWideString(R.Contents);
  HtProgress->SetAsWideString(R.HtProgress);
  BeginDate->SetValue(R.BeginDate);
  EndDate->SetValue(R.EndDate);
  InsTime->SetValue(R.InsTime);
  Insman->SetAsWideString(R.Insman);
  EdiTime->SetValue(R.EdiTime);
  Ediman->SetAsWideString(R.Ediman);
  const WideString* Texts[] = {&R.S01, &R.S02, &R.S03, &R.S04, &R.S05, &R.S06, &R.S07, &R.S08, &R.S09, &R.S10};
  for (int I = 0; I < 10; ++I) S[I]->SetAsWideString(*Texts[I]);
  F01->SetValue(R.F01);
  F02->SetValue(R.F02);
  D01->SetValue(R.D01);
  D02->SetValue(R.D02);
}

bool THetongSet::SaveHetong(RHetong& R, AnsiString& Msg)
{
  Msg.clear();
  const WideString Other = W("其他");
  if (R.PayType == Other) {
    if (TPaymentSet::CountByHetong(R.Id) >= 1) {
      Msg = "此合同已有收付记录,不允许将收付类型设为其他.";
      return false;
    }
  } else if (R.ClientId.IsNull() || R.ClientId.IsEmpty() || R.ClientId.AsInteger() <= 0) {
    Msg = SysUtils::Format("收付类型为%s时, 必须指定相关单位", {System::WideToAnsi(R.PayType)});
    return false;
  }
  if (qxProj::UniqueHtCode) {
    TRecordSet& Set = *Database::ScratchSet;
    if (Set.OpenSql(u"select Id, HtName from hetongs where HtCode=:HtCode and Id<>:Id",
                    {MakeParam("HtCode", R.HtCode), MakeParam("Id", R.Id)}) >= 1) {
      TFields& F = Set.GetDataSet()->GetFields();
      Msg =
          SysUtils::Format("合同编号不允许重复在Id为%d名称为%s的记录中.", {F[0]->GetAsInteger(), F[1]->GetAsString()});
      Set.GetDataSet()->Close();
      return false;
    }
    Set.GetDataSet()->Close();
  }
  if (!R.D02.IsNull() && !R.D02.IsEmpty())
    R.HtProgress = W("已验收");
  else if (R.BeginDate.IsNull() || R.BeginDate.IsEmpty())
    R.HtProgress = W("未执行");
  else
    R.HtProgress = W("执行中");
  Integer Rows = 0;
  if (R.Id != 0) {
    Rows = Database::GlobalDB->ExecSQL(UpdateSql, SaveParams(R, false));
  } else {
    auto Insert = [&R](Integer Id) {
      R.Id = Id;
      return Database::GlobalDB->ExecSQL(InsertSql, SaveParams(R, true));
    };
    Rows = NewId::InsertWithNewId("hetongs", Insert, R.Id);
  }
  if (Rows != 1) {
    Msg = "没有返回成功标记, 记录不存在或被删除.";
    return false;
  }
  return true;
}

bool THetongSet::Save(RHetong& R, AnsiString& Msg)
{
  if (!SaveHetong(R, Msg)) return false;
  MirrorSave(R.Id, [&] { CopyFromRecord(R); });
  return true;
}

bool THetongSet::DeleteHetong(const RHetong& R)
{
  return Database::GlobalDB->ExecSQL(u"delete from hetongs where Id=:Id", {MakeParam("Id", R.Id)}) == 1;
}

bool THetongSet::Delete()
{
  RHetong R;
  CopyToRecord(R);
  if (!DeleteHetong(R)) return false;
  GetQuery()->Delete();
  return true;
}

bool THetongSet::SeekHetong(Integer AId, Integer Direction, RHetong& R)
{
  const char16_t* Cond = Direction == 0   ? u"hetongs.Id=:Id "
                         : Direction == 1 ? u"hetongs.Id>:Id order by hetongs.Id "
                                          : u"hetongs.Id<:Id order by hetongs.Id desc ";
  THetongSet Set;
  Set.OpenSql(W(AnsiString("select top 1 ") + Stored + " where ") + Cond, {MakeParam("Id", AId)});
  if (Set.GetQuery()->IsEmpty() || Set.Id->IsNull() || Set.Id->GetAsInteger() < 1) return false;
  Set.CopyToRecord(R);
  return true;
}

void THetongSet::ValueList(const AnsiString& Column, TStrings* List)
{
  if (!List) return;
  bool Known = false;
  for (const char* C : ContractColumns) Known = Known || Column == C;
  if (!Known) throw EDatabaseError("Field '" + Column + "' not found");
  List->Clear();
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(W("select distinct " + Column + " from hetongs"));
  TADODataSet& D = *Set.GetDataSet();
  for (D.First(); !D.GetEof(); D.Next())
    List->Add(D.GetFields()[0]->IsNull() ? AnsiString() : D.GetFields()[0]->GetAsString());
  D.Close();
}

void THetongSet::FillValueLists(TStrings* HtKind, TStrings* MyHandman, TStrings* HtProgress, TStrings* S04,
                                TStrings* S05, TStrings* S06, TStrings* S07, TStrings* S08, TStrings* S09,
                                TStrings* S10)
{
  ValueList("HtKind", HtKind);
  ValueList("MyHandman", MyHandman);
  ValueList("HtProgress", HtProgress);
  ValueList("S04", S04);
  ValueList("S05", S05);
  ValueList("S06", S06);
  ValueList("S07", S07);
  ValueList("S08", S08);
  ValueList("S09", S09);
  ValueList("S10", S10);
}

PELTO_DEFINE_CLASS(THetongWhere)
