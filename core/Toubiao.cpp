#include "core/Toubiao.h"

#include <cstdio>

#include "core/cnst.h"
#include "core/NewId.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"

namespace {

using Database::MakeParam;

}  // namespace

TToubiaoSet::TToubiaoSet()
{
  Id = AddField(TIntegerField::StaticClass(), "Id", "Id", true, -1);
  HetongId = AddField(TIntegerField::StaticClass(), "HetongId", "HetongId", false, -1);
  ClientId = AddField(TIntegerField::StaticClass(), "ClientId", "ClientId", false, -1);
  ClientName = AddField(TWideStringField::StaticClass(), "ClientName", "投标单位", true, 50);
  for (int I = 0; I < 6; ++I) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "S%02d", I + 1);
    S[I] = AddField(TWideStringField::StaticClass(), Name, cnst::ColumnLabel(cnst::TbCaptions[I], Name), true, 50);
  }
  Notes = AddField(TWideMemoField::StaticClass(), "Notes", "备注", true, -1);
}

void TToubiaoSet::OpenByHetong(Integer Contract)
{
  OpenSql(
      u"select toubiaos.*, clients.ClientName from toubiaos left join clients on toubiaos.ClientId=clients.Id "
      u"where toubiaos.HetongId=:HetongId",
      {MakeParam("HetongId", Contract)});
}

void TToubiaoSet::CopyToRecord(RToubiao& R) const
{
  R.Id = Id->IsNull() ? 0 : Id->GetAsInteger();
  R.HetongId = HetongId->IsNull() ? 0 : HetongId->GetAsInteger();
  R.ClientId = ClientId->IsNull() ? 0 : ClientId->GetAsInteger();
  R.ClientName = ClientName->GetAsWideString();
  WideString* Texts[] = {&R.S01, &R.S02, &R.S03, &R.S04, &R.S05, &R.S06};
  for (int I = 0; I < 6; ++I) *Texts[I] = S[I]->GetAsWideString();
  R.Notes = Notes->GetAsWideString();
}

void TToubiaoSet::CopyFromRecord(const RToubiao& R)
{
  Id->SetValue(R.Id);
  HetongId->SetValue(R.HetongId);
  ClientId->SetValue(R.ClientId);
  ClientName->SetAsWideString(R.ClientName);
  const WideString* Texts[] = {&R.S01, &R.S02, &R.S03, &R.S04, &R.S05, &R.S06};
  for (int I = 0; I < 6; ++I) S[I]->SetAsWideString(*Texts[I]);
  Notes->SetAsWideString(R.Notes);
}

bool TToubiaoSet::WriteToubiao(RToubiao& R)
{
  auto Params = [&R](Integer Key) {
    return TDBParameters{MakeParam("HetongId", R.HetongId), MakeParam("ClientId", R.ClientId),
                         MakeParam("S01", R.S01),           MakeParam("S02", R.S02),
                         MakeParam("S03", R.S03),           MakeParam("S04", R.S04),
                         MakeParam("S05", R.S05),           MakeParam("S06", R.S06),
                         MakeParam("Notes", R.Notes),       MakeParam("Id", Key)};
  };
  if (R.Id != 0)
    return Database::GlobalDB->ExecSQL(
               u"update toubiaos set HetongId=:HetongId, ClientId=:ClientId, S01=:S01, "
               u"S02=:S02, S03=:S03, S04=:S04, S05=:S05, S06=:S06, Notes=:Notes where Id=:Id",
               Params(R.Id)) == 1;
  auto Insert = [&Params](Integer Candidate) {
    return Database::GlobalDB->ExecSQL(
        u"insert into toubiaos(HetongId, ClientId, S01, S02, S03, S04, S05, S06, Notes, Id)values(:HetongId,"
        u":ClientId,:S01,:S02,:S03,:S04,:S05,:S06,:Notes,:Id)",
        Params(Candidate));
  };
  Integer Used = 0;
  if (NewId::InsertWithNewId("toubiaos", Insert, Used) != 1) return false;
  R.Id = Used;
  return true;
}

bool TToubiaoSet::Save(RToubiao& R)
{
  if (!WriteToubiao(R)) return false;
  MirrorSave(R.Id, [&] { CopyFromRecord(R); });
  return true;
}

bool TToubiaoSet::DeleteToubiao(const RToubiao& R)
{
  return Database::GlobalDB->ExecSQL(u"delete from toubiaos where Id=:Id", {MakeParam("Id", R.Id)}) == 1;
}

bool TToubiaoSet::Delete(const RToubiao& R)
{
  if (!DeleteToubiao(R)) return false;
  TADOQuery& Q = *GetQuery();
  if (Q.GetActive() && Q.Locate("Id", R.Id)) Q.Delete();
  return true;
}
