#include "core/Client.h"

#include "core/Hetong.h"
#include "core/NewId.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"

namespace {

using Database::MakeParam;

WideString W(const AnsiString& S) { return System::AnsiToWide(S); }

bool Blank(const TField* F) { return F->IsNull() || F->GetAsWideString().empty(); }

WideString FoldAscii(WideString S)
{
  for (char16_t& C : S)
    if (C >= u'A' && C <= u'Z') C = static_cast<char16_t>(C - u'A' + u'a');
  return S;
}

}  // namespace

// ---- TClientWhere ----------------------------------------------------------------------------

TClientWhere::TClientWhere()
{
  auto Text = [this](const char* N, const char* L, Integer Size = 50) {
    return AddFieldDef(TWideStringField::StaticClass(), N, L, ftWideString, true, Size);
  };
  auto Bool = [this](const char* N, const char* L) {
    return AddFieldDef(TBooleanField::StaticClass(), N, L, ftBoolean, true, 0);
  };
  IdFld = AddFieldDef(TIntegerField::StaticClass(), "Id", "ID", ftInteger, true, 0);
  ClientNameFld = Text("ClientName", "单位名称");
  LinkmanFld = Text("Linkman", "联系人");
  LinkTelFld = Text("LinkTel", "联系电话");
  AddressFld = Text("Address", "地址", 100);
  IsClientFld = Bool("IsClient", "客户");
  IsSupplierFld = Bool("IsSupplier", "供货商");
  NotesFld = Text("Notes", "备注");
  KeywordFld = Text("Keyword", "关键字");
  Start();
}

// ---- TClientSet ------------------------------------------------------------------------------

TClientSet::TClientSet()
{
  auto Text = [this](const char* N, const char* L, Integer Size = 50) {
    return AddField(TWideStringField::StaticClass(), N, L, true, Size);
  };
  auto Bool = [this](const char* N, const char* L) { return AddField(TBooleanField::StaticClass(), N, L, true, -1); };
  Id = AddField(TIntegerField::StaticClass(), "Id", "ID", true, -1);
  ClientName = Text("ClientName", "对方单位");
  Linkman = Text("Linkman", "联系人");
  LinkTel = Text("LinkTel", "联系电话");
  Address = Text("Address", "地址", 100);
  IsClient = Bool("IsClient", "客户");
  IsSupplier = Bool("IsSupplier", "供货商");
  IsLock = Bool("IsLock", "锁定");
  Notes = AddField(TWideMemoField::StaticClass(), "Notes", "备注", true, -1);
  GetQuery()->OnFilterRecord = [this](TDataSet*, bool& Accept) {
    Accept = false;
    for (TField* F : {ClientName, Linkman, LinkTel, Address})
      Accept = Accept || FoldAscii(F->GetAsWideString()).find(FKeyword) != WideString::npos;
  };
}

WideString TClientSet::BuildCondition(const TClientWhere& Q, TDBParameters& Params)
{
  WideString Text;
  auto Param = [&Params](const Variant& Value) {
    AnsiString Name = "P" + SysUtils::IntToStr(static_cast<Int64>(Params.size()) + 1);
    Params.push_back(MakeParam(Name, Value));
    return W(":" + Name);
  };
  auto Like = [&Param](const char* Column, const WideString& Value) {
    return W(Column) + u" like " + Param(u"%" + Hetong::EscapeLike(Value) + u"%") + u" escape '!'";
  };
  if (!Q.IdFld->IsNull()) Text += u" and Id=" + Param(Q.IdFld->GetAsInteger());
  if (!Blank(Q.ClientNameFld)) Text += u" and " + Like("ClientName", Q.ClientNameFld->GetAsWideString());
  if (!Blank(Q.LinkmanFld)) Text += u" and " + Like("Linkman", Q.LinkmanFld->GetAsWideString());
  if (!Blank(Q.LinkTelFld)) Text += u" and " + Like("LinkTel", Q.LinkTelFld->GetAsWideString());
  if (!Blank(Q.AddressFld)) Text += u" and " + Like("Address", Q.AddressFld->GetAsWideString());
  if (!Q.IsClientFld->IsNull() && Q.IsClientFld->GetAsBoolean()) Text += u" and abs(IsClient)=1";
  if (!Q.IsSupplierFld->IsNull() && Q.IsSupplierFld->GetAsBoolean()) Text += u" and abs(IsSupplier)=1";
  if (!Blank(Q.KeywordFld)) {
    WideString K = Q.KeywordFld->GetAsWideString();
    Text += u" and (" + Like("ClientName", K) + u" or " + Like("Linkman", K) + u" or " + Like("LinkTel", K) + u" or " +
            Like("Address", K) + u")";
  }
  if (!Text.empty()) Text.replace(0, 5, u" where ");
  return Text;
}

void TClientSet::Search(const TClientWhere& Where)
{
  TDBParameters Params;
  WideString Condition = BuildCondition(Where, Params);
  OpenSql(u"select * from clients" + Condition, Params);
}

void TClientSet::FilterByKeyword(const AnsiString& Keyword)
{
  FKeyword = FoldAscii(W(Keyword));
  TADOQuery& Q = *GetQuery();
  // Switching off and on re-applies the filter for a changed keyword.
  Q.SetFiltered(false);
  if (!FKeyword.empty()) Q.SetFiltered(true);
}

void TClientSet::CopyToRecord(RClient& R) const
{
  R.Id = Id->IsNull() ? 0 : Id->GetAsInteger();
  R.ClientName = ClientName->GetAsWideString();
  R.Linkman = Linkman->GetAsWideString();
  R.LinkTel = LinkTel->GetAsWideString();
  R.Address = Address->GetAsWideString();
  R.IsClient = !IsClient->IsNull() && IsClient->GetAsBoolean();
  R.IsSupplier = !IsSupplier->IsNull() && IsSupplier->GetAsBoolean();
  R.IsLock = !IsLock->IsNull() && IsLock->GetAsBoolean();
  R.Notes = Notes->GetAsWideString();
}

void TClientSet::CopyFromRecord(const RClient& R)
{
  Id->SetValue(R.Id);
  ClientName->SetAsWideString(R.ClientName);
  Linkman->SetAsWideString(R.Linkman);
  LinkTel->SetAsWideString(R.LinkTel);
  Address->SetAsWideString(R.Address);
  IsClient->SetValue(R.IsClient);
  IsSupplier->SetValue(R.IsSupplier);
  IsLock->SetValue(R.IsLock);
  Notes->SetAsWideString(R.Notes);
}

bool TClientSet::WriteClient(RClient& R)
{
  auto Params = [&R] {
    return TDBParameters{MakeParam("ClientName", R.ClientName), MakeParam("Linkman", R.Linkman),
                         MakeParam("LinkTel", R.LinkTel),       MakeParam("Address", R.Address),
                         MakeParam("IsClient", R.IsClient),     MakeParam("IsSupplier", R.IsSupplier),
                         MakeParam("Notes", R.Notes),           MakeParam("Id", R.Id)};
  };
  if (R.Id != 0)
    return Database::GlobalDB->ExecSQL(
               u"update clients set ClientName=:ClientName,Linkman=:Linkman,LinkTel=:LinkTel,Address=:Address,"
               u"IsClient=:IsClient,IsSupplier=:IsSupplier,Notes=:Notes where Id=:Id and Abs(IsLock)=0",
               Params()) == 1;
  auto Insert = [&](Integer Candidate) {
    R.Id = Candidate;
    return Database::GlobalDB->ExecSQL(
        u"insert into clients(ClientName, Linkman, LinkTel, Address, IsClient, IsSupplier, IsLock, Notes, Id)values"
        u"(:ClientName,:Linkman,:LinkTel,:Address,:IsClient,:IsSupplier,0,:Notes,:Id)",
        Params());
  };
  Integer Used = 0;
  if (NewId::InsertWithNewId("clients", Insert, Used) == 1) {
    R.Id = Used;
    return true;
  }
  R.Id = 0;
  return false;
}

bool TClientSet::Save(RClient& R)
{
  if (!WriteClient(R)) return false;
  MirrorSave(R.Id, [&] { CopyFromRecord(R); });
  return true;
}

bool TClientSet::Delete()
{
  Integer Key = Id->GetAsInteger();
  if (Database::GlobalDB->ExecSQL(u"delete from clients where Id=:Id", {MakeParam("Id", Key)}) != 1) return false;
  GetQuery()->Delete();
  return true;
}

bool TClientSet::WriteLock(const RClient& R)
{
  return Database::GlobalDB->ExecSQL(u"update clients set IsLock=:IsLock where Id=:ClientId",
                                     {MakeParam("IsLock", !R.IsLock), MakeParam("ClientId", R.Id)}) == 1;
}

bool TClientSet::ToggleLock(const RClient& R)
{
  if (!WriteLock(R)) return false;
  TADOQuery& Q = *GetQuery();
  if (Q.GetActive() && Q.Locate("Id", R.Id)) {
    Q.Edit();
    IsLock->SetValue(!R.IsLock);
    Q.Post();
  }
  return true;
}

PELTO_DEFINE_CLASS(TClientWhere)
