#include "core/NewId.h"

#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

Integer ReadInt(const AnsiString& Sql, const TDBParameters& Params, Integer IfNull)
{
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(System::AnsiToWide(Sql), Params);
  TField* F = Set.GetDataSet()->GetFields()[0];
  Integer Value = F->IsNull() ? IfNull : F->GetAsInteger();
  Set.GetDataSet()->Close();
  return Value;
}

}  // namespace

namespace NewId {

Integer InsertWithNewId(const AnsiString& Table, const std::function<Integer(Integer Id)>& Insert, Integer& Id)
{
  TDatabase& Db = *Database::GlobalDB;
  for (int Attempt = 0;; ++Attempt) {
    Db.BeginTrans();
    try {
      Id = ReadInt("select max(Id) from " + Table, {}, 0) + 1;
      Integer Rows = Insert(Id);
      Db.CommitTrans();
      return Rows;
    } catch (...) {
      Integer Tried = Id;
      Id = 0;
      Db.RollbackTrans();
      bool Taken =
          ReadInt("select count(*) from " + Table + " where Id=:Id", {Database::MakeParam("Id", Tried)}, 0) > 0;
      if (Attempt >= 9 || !Taken) throw;
    }
  }
}

}  // namespace NewId
