#include "core/Department.h"

#include <cctype>

#include "core/Hetong.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"

namespace {

using Database::MakeParam;

WideString W(const AnsiString& S) { return System::AnsiToWide(S); }

}  // namespace

TDepartmentSet::TDepartmentSet()
{
  auto Text = [this](const char* N, const char* L, Integer Size) {
    return AddFieldDef(TWideStringField::StaticClass(), N, L, ftWideString, true, Size);
  };
  FCode = Text("Code", "编码", 50);
  FName = Text("Name", "类别名称", 30);
  FManager = Text("Manager", "联系人", 30);
  FTel = Text("Tel", "电话", 30);
  FFax = Text("Fax", "传真", 30);
  FAddress = Text("Address", "地址", 50);
  FNote = Text("Note", "备注", 50);
  FFatherIdx = AddFieldDef(TIntegerField::StaticClass(), "FatherIdx", "父节点位置", ftInteger, true, 0);
  FPath = AddFieldDef(TWideMemoField::StaticClass(), "Path", "类别全称", ftWideMemo, true, 0);
  GetDataSet()->CreateDataSet();
}

void TDepartmentSet::Load()
{
  TADODataSet& D = *GetDataSet();
  D.Close();
  D.CreateDataSet();
  FNames.clear();
  TRecordSet& Scratch = *Database::ScratchSet;
  Scratch.OpenSql(
      u"select Code, Name, Manager, Tel, Fax, Address, [Note], (select count(code) from departments "
      u"where code<=left(a.code,len(a.code)-2)) as FatherIdx from departments a order by a.code");
  TADODataSet& S = *Scratch.GetDataSet();
  TFields& F = S.GetFields();
  TField* Mine[] = {FCode, FName, FManager, FTel, FFax, FAddress, FNote};
  for (S.First(); !S.GetEof(); S.Next()) {
    D.Append();
    for (int I = 0; I < 7; ++I) Mine[I]->SetAsWideString(F[I]->GetAsWideString());
    FFatherIdx->SetValue(F[7]->IsNull() ? 0 : F[7]->GetAsInteger());
    D.Post();
    FNames[F[0]->GetAsString()] = F[1]->GetAsWideString();
  }
  S.Close();
  for (D.First(); !D.GetEof(); D.Next()) {
    D.Edit();
    FPath->SetAsWideString(DeptPath(FCode->GetAsString()));
    D.Post();
  }
  D.First();
}

WideString TDepartmentSet::DeptPath(const AnsiString& Code) const
{
  WideString Path;
  for (std::size_t Len = 2; Len <= Code.size(); Len += 2) {
    auto Found = FNames.find(Code.substr(0, Len));
    if (Found != FNames.end()) Path += Found->second;
  }
  return Path;
}

void TDepartmentSet::GetAsData(RDepartment& R) const
{
  R.Code = FCode->GetAsString();
  R.Name = FName->GetAsString();
  R.Manager = FManager->GetAsString();
  R.Tel = FTel->GetAsString();
  R.Fax = FFax->GetAsString();
  R.Address = FAddress->GetAsWideString();
  R.Note = FNote->GetAsWideString();
  R.FatherIdx = FFatherIdx->IsNull() ? 0 : FFatherIdx->GetAsInteger();
  R.Path = FPath->GetAsWideString();
  R.Father = R.Code.size() >= 2 ? R.Code.substr(0, R.Code.size() - 2) : AnsiString();
}

bool TDepartmentSet::AddDepartment(RDepartment& R)
{
  TRecordSet& Scratch = *Database::ScratchSet;
  Scratch.OpenSql(u"select Code from departments where Code like :Father escape '!' order by Code desc",
                  {MakeParam("Father", Hetong::EscapeLike(W(R.Father)) + u"__")});
  TADODataSet& S = *Scratch.GetDataSet();
  AnsiString Suffix = "00";
  if (!S.IsEmpty()) {
    AnsiString Highest = S.GetFields()[0]->GetAsString();
    AnsiString Last = Highest.substr(Highest.size() - 2);
    S.Close();
    if (!std::isdigit(static_cast<unsigned char>(Last[0])) || !std::isdigit(static_cast<unsigned char>(Last[1])))
      throw Exception("部门编码" + Highest + "不是两位数字结尾,无法生成下级部门编码.");
    Integer Next = std::stoi(Last) + 1;
    if (Next > 99) throw Exception("部门" + R.Father + "的下级部门已满(最多100个),无法再添加.");
    Suffix = (Next < 10 ? "0" : "") + SysUtils::IntToStr(Next);
  } else {
    S.Close();
  }
  AnsiString Code = R.Father + Suffix;
  bool Done =
      Database::GlobalDB->ExecSQL(
          u"insert into departments(Code,Name,Manager,Tel,Fax,Address,[Note])values(:Code,:Name,:Manager,"
          u":Tel,:Fax,:Address,:Note)",
          {MakeParam("Code", Code), MakeParam("Name", R.Name), MakeParam("Manager", R.Manager), MakeParam("Tel", R.Tel),
           MakeParam("Fax", R.Fax), MakeParam("Address", R.Address), MakeParam("Note", R.Note)}) == 1;
  if (Done) R.Code = Code;
  Load();
  return Done;
}

bool TDepartmentSet::UpdateDepartment(const RDepartment& R)
{
  bool Done =
      Database::GlobalDB->ExecSQL(
          u"update departments set Name=:Name, Manager=:Manager, Tel=:Tel, Fax=:Fax, Address=:Address, "
          u"[Note]=:Note where Code=:Code",
          {MakeParam("Name", R.Name), MakeParam("Manager", R.Manager), MakeParam("Tel", R.Tel), MakeParam("Fax", R.Fax),
           MakeParam("Address", R.Address), MakeParam("Note", R.Note), MakeParam("Code", R.Code)}) == 1;
  Load();
  return Done;
}

void TDepartmentSet::DeleteBranch(const AnsiString& Code)
{
  // An empty code would be every department's prefix.
  if (Code.empty()) return;
  Database::GlobalDB->ExecSQL(u"delete from departments where Code like :Code escape '!'",
                              {MakeParam("Code", Hetong::EscapeLike(W(Code)) + u"%")});
  Load();
}

PELTO_DEFINE_CLASS(TDepartmentSet)
