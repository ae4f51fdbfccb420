#include "core/Company.h"

#include "core/Database.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"

using Database::MakeParam;

void TCompany::Load()
{
  *this = TCompany();
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(u"select * from Company");
  TADODataSet* D = Set.GetDataSet();
  if (!D->IsEmpty()) {
    auto Text = [D](const char* Name) { return D->FieldByName(Name)->GetAsString(); };
    TField* IdF = D->FieldByName("Id");
    Id = IdF->IsNull() ? 0 : IdF->GetAsInteger();
    CompanyName = Text("CompanyName");
    Manager = Text("Manager");
    Tel = Text("Tel");
    Fax = Text("Fax");
    Address = Text("Address");
    Zip = Text("Zip");
    Profile = D->FieldByName("Profile")->GetAsWideString();
    TField* Use = D->FieldByName("UseCount");
    UseCount = Use->IsNull() ? 0 : Use->GetAsInteger();
    TField* Upd = D->FieldByName("Updated");
    Updated = Upd->IsNull() ? false : Upd->GetAsBoolean();
  }
  D->Close();
}

bool TCompany::Exists() const
{
  TRecordSet& Set = *Database::ScratchSet;
  bool Found = Set.OpenSql(u"select 1 from Company where Id=:Id", {MakeParam("Id", Id)}) == 1;
  Set.GetDataSet()->Close();
  return Found;
}

void TCompany::Save()
{
  TDBParameters P = {MakeParam("CompanyName", CompanyName),
                     MakeParam("Manager", Manager),
                     MakeParam("Tel", Tel),
                     MakeParam("Fax", Fax),
                     MakeParam("Address", Address),
                     MakeParam("Zip", Zip),
                     MakeParam("Profile", Profile),
                     MakeParam("Updated", Updated),
                     MakeParam("Id", Id)};
  if (Exists())
    Database::GlobalDB->ExecSQL(
        u"update Company set CompanyName=:CompanyName,Manager=:Manager,Tel=:Tel,Fax=:Fax,"
        u"Address=:Address,Zip=:Zip,Profile=:Profile,Updated=:Updated where Id=:Id",
        P);
  else
    Database::GlobalDB->ExecSQL(
        u"insert into Company(Id,CompanyName,Manager,Tel,Fax,Address,Zip,Profile,Updated)"
        u"values(:Id,:CompanyName,:Manager,:Tel,:Fax,:Address,:Zip,:Profile,:Updated)",
        P);
}
