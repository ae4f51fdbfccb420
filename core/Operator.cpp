#include "core/Operator.h"

#include "core/PasswordHash.h"
#include "core/qxLib.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"

namespace {

using Database::MakeParam;

WideString W(const AnsiString& S) { return System::AnsiToWide(S); }
AnsiString A(const WideString& S) { return System::WideToAnsi(S); }

AnsiString StoredForm(const WideString& Password)
{
  AnsiString P = A(Password);
  return PasswordHash::IsHashed(P) ? P : PasswordHash::Make(P);
}

}  // namespace

// ---- TOperator -------------------------------------------------------------------------------

void TOperator::Clear()
{
  LoginId.clear();
  Password.clear();
  Name.clear();
  Contact.clear();
  Note.clear();
  Rights.clear();
}

void TOperator::Load(const AnsiString& ALoginId)
{
  TRecordSet& Set = *Database::ScratchSet;
  Integer Count =
      Set.OpenSql(u"select LoginId,Password,Name,Contact,[Note],Rights from operator where LoginId=:LoginId",
                  {MakeParam("LoginId", ALoginId)});
  if (Count == 1) {
    TFields& F = Set.GetDataSet()->GetFields();
    LoginId = F[0]->GetAsString();
    Password = F[1]->GetAsString();
    Name = F[2]->GetAsString();
    Contact = F[3]->GetAsString();
    Note = F[4]->GetAsString();
    Rights = F[5]->GetAsWideString();
  } else {
    Clear();
  }
  Set.GetDataSet()->Close();
}

bool TOperator::CheckPassword(const AnsiString& Typed)
{
  if (LoginId.empty() || !PasswordHash::Verify(Password, Typed)) return false;
  if (!PasswordHash::IsHashed(Password)) {
    AnsiString Hashed = PasswordHash::Make(Typed);
    if (Database::GlobalDB->ExecSQL(u"update operator set [Password]=:Password where LoginId=:LoginId",
                                    {MakeParam("Password", Hashed), MakeParam("LoginId", LoginId)}) == 1)
      Password = Hashed;
  }
  return true;
}

bool TOperator::HasRight(Integer Right) const
{
  if (IsSa()) return true;
  return Rights.find(W("," + SysUtils::IntToStr(Right) + ",")) != WideString::npos;
}

bool TOperator::CheckRight(Integer Right, bool Abort)
{
  bool Held = HasRight(Right);
  if (!Held) {
    qxLib::ShowInfo(SysUtils::Format("对不起,您没有该功能的操作权限,请与管理员联系(%d).", {Right}));
    if (Abort) throw EAbort("Operation aborted");
  }
  return Held;
}

void TOperator::RequireSa() const
{
  if (IsSa()) return;
  qxLib::ShowInfo("只有系统用户(sa)才能执行此操作.");
  throw EAbort("Operation aborted");
}

bool TOperator::SavePassword(const AnsiString& NewPassword)
{
  AnsiString Hashed = PasswordHash::Make(NewPassword);
  if (Database::GlobalDB->ExecSQL(u"update operator set [Password]=:Password where LoginId=:LoginId",
                                  {MakeParam("Password", Hashed), MakeParam("LoginId", LoginId)}) != 1)
    return false;
  Password = Hashed;
  return true;
}

// ---- TOperatorSet ----------------------------------------------------------------------------

TOperatorSet::TOperatorSet()
{
  FUserId = AddField(TWideStringField::StaticClass(), "LoginId", "登陆名", true, 50);
  FPasswd = AddField(TWideStringField::StaticClass(), "Password", "密码", true, 255);
  FName = AddField(TWideStringField::StaticClass(), "Name", "姓名", true, 50);
  FContact = AddField(TWideStringField::StaticClass(), "Contact", "联系方式", true, 50);
  FNote = AddField(TWideStringField::StaticClass(), "Note", "备注", true, 250);
  FRights = AddField(TWideMemoField::StaticClass(), "Rights", "权限", true, 16);
  Open();
}

void TOperatorSet::Open()
{
  OpenSql(u"select LoginId,[Password],Name,Contact,[Note],Rights from operator where LoginId<>'sa'");
}

// ---- TUserSet --------------------------------------------------------------------------------

TUserSet::TUserSet()
{
  auto Text = [this](const char* N, Integer Size) {
    return AddField(TWideStringField::StaticClass(), N, "", true, Size);
  };
  LoginId = Text("LoginId", 50);
  Password = Text("Password", 255);
  Name = Text("Name", 50);
  DeptId = Text("DeptId", 50);
  DeptName = Text("DeptName", 250);
  Contact = Text("Contact", 50);
  Note = Text("Note", 250);
  Rights = AddField(TWideMemoField::StaticClass(), "Rights", "", true, 16);
}

void TUserSet::OpenAll()
{
  OpenSql(
      u"select o.LoginId, o.[Password], o.Name, o.DeptId, d.Name as DeptName, o.Contact, o.[Note], o.Rights "
      u"from operator o left join departments d on o.DeptId=d.Code where LoginId<>'sa'");
}

void TUserSet::CopyToRecord(RUser& User) const
{
  User.LoginId = LoginId->GetAsWideString();
  User.Password = Password->GetAsWideString();
  User.Name = Name->GetAsWideString();
  User.Contact = Contact->GetAsWideString();
  User.Note = Note->GetAsWideString();
  User.Rights = Rights->GetAsWideString();
  User.DeptId = DeptId->GetAsWideString();
  User.DeptName = DeptName->GetAsWideString();
}

void TUserSet::LookupUser(const AnsiString& LoginId, RUser& User)
{
  TUserSet Set;
  Set.OpenAll();
  if (Set.GetQuery()->Locate("LoginId", W(LoginId))) Set.CopyToRecord(User);
}

bool TUserSet::InsertUser(const RUser& User)
{
  return Database::GlobalDB->ExecSQL(
             u"insert into [operator](LoginId, [Password], Name, DeptId, Contact, [Note], Rights)values"
             u"(:LoginId,:Password,:Name,:DeptId,:Contact,:Note,:Rights)",
             {MakeParam("LoginId", User.LoginId), MakeParam("Password", StoredForm(User.Password)),
              MakeParam("Name", User.Name), MakeParam("DeptId", User.DeptId), MakeParam("Contact", User.Contact),
              MakeParam("Note", User.Note), MakeParam("Rights", User.Rights)}) == 1;
}

bool TUserSet::UpdateUser(const RUser& User)
{
  return Database::GlobalDB->ExecSQL(
             u"update [operator] set [Password]=:Password, Name=:Name, DeptId=:DeptId, Contact=:Contact, "
             u"[Note]=:Note, Rights=:Rights where LoginId=:LoginId",
             {MakeParam("Password", StoredForm(User.Password)), MakeParam("Name", User.Name),
              MakeParam("DeptId", User.DeptId), MakeParam("Contact", User.Contact), MakeParam("Note", User.Note),
              MakeParam("Rights", User.Rights), MakeParam("LoginId", User.LoginId)}) == 1;
}

bool TUserSet::DeleteUser(const RUser& User)
{
  return Database::GlobalDB->ExecSQL(u"delete from operator where LoginId=:LoginId",
                                     {MakeParam("LoginId", User.LoginId)}) == 1;
}

PELTO_DEFINE_CLASS(TOperatorSet)
