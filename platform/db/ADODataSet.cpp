#include "platform/db/ADODataSet.h"

#include <algorithm>

#include "platform/db/ADOConnection.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Guards.h"

// --- TCustomADODataSet -----------------------------------------------------------------------

TCustomADODataSet::TCustomADODataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TCustomADODataSet::~TCustomADODataSet() { SetConnection(nullptr); }

void TCustomADODataSet::SetConnection(TADOConnection* Value)
{
  if (Value == FConnection) return;
  if (GetActive() && !FInMemory) Close();
  if (FConnection) {
    std::erase(FConnection->FDataSets, this);
    FConnection->RemoveFreeNotification(this);
  }
  FConnection = Value;
  if (FConnection) {
    FConnection->FDataSets.push_back(this);
    FConnection->FreeNotification(this);
  }
}

void TCustomADODataSet::Notification(TComponent* AComponent, TOperation Operation)
{
  TDataSet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

TParameters& TCustomADODataSet::GetParameters()
{
  WideString text = CommandSql();
  if (!FParsed || text != FParsedText) {
    FParameters.ParseSQL(text, true);
    FParsedText = text;
    FParsed = true;
  }
  return FParameters;
}

TProviderResult TCustomADODataSet::Run(const WideString& Sql, TParameters* Params)
{
  if (!FConnection) DB::DatabaseError("Missing Connection or ConnectionString");
  return FConnection->GetProvider()->Execute(Sql, Params, FCommandTimeout);
}

void TCustomADODataSet::CreateDataSet()
{
  CheckInactive();
  if (GetFieldDefs().GetCount() == 0) {
    for (Integer i = 0; i < GetFields().GetCount(); ++i) {
      TField* f = GetFields()[i];
      if (f->GetFieldKind() == fkData)
        GetFieldDefs().Add(f->GetFieldName(), f->GetDataType(), f->GetSize(), f->GetRequired());
    }
  }
  if (GetFieldDefs().GetCount() == 0) DB::DatabaseError("Cannot create dataset: no fields defined");
  FCreating = true;
  TScopeExit undo([&] { FCreating = false; });
  Open();
}

void TCustomADODataSet::InternalOpen()
{
  FColumns.clear();
  FInMemory = FCreating || (!FConnection && GetFieldDefs().GetCount() > 0 && CommandSql().empty());
  if (FInMemory) return;
  TParameters& params = GetParameters();
  if (!FConnection) DB::DatabaseError("Missing Connection or ConnectionString");
  TProviderResult r = FConnection->GetProvider()->ExecuteForDataSet(CommandSql(), &params, FCommandTimeout);
  if (r.RowsAffected >= 0 && r.Columns.empty())
    throw EOleException("Operation is not allowed when the object is closed.");
  GetFieldDefs().Clear();
  for (const TProviderColumn& c : r.Columns) {
    AnsiString name = c.Name;
    // Duplicate column names (joins) get a suffix, as the original numbers them.
    for (int k = 1; GetFieldDefs().IndexOf(name) >= 0; ++k) name = c.Name + "_" + SysUtils::IntToStr(k);
    GetFieldDefs().Add(name, c.DataType, c.Size, c.Required);
  }
  FColumns = std::move(r.Columns);
  for (auto& row : r.Rows) AddLoadedRecord(std::move(row));
  r.Rows = {};
  for (auto& row : r.PackedRows) AddLoadedRecord(std::move(row));
}

void TCustomADODataSet::InternalClose()
{
  FColumns.clear();
  FInMemory = false;
}

AnsiString TCustomADODataSet::BaseTable() const
{
  AnsiString table;
  for (const TProviderColumn& c : FColumns) {
    if (c.BaseTable.empty()) continue;
    if (!table.empty() && table != c.BaseTable)
      table = "\n";  // several tables
    else if (table.empty())
      table = c.BaseTable;
  }
  if (table.empty() || table == "\n")
    throw EOleException("Insufficient key column information for updating or refreshing.");
  return table;
}

void TCustomADODataSet::AddWhere(WideString& Sql, TParameters& P, const TRecordData& Old, const AnsiString& Table)
{
  // The row is found by the values it was fetched with; BLOB columns are left out.
  Sql += u" where rowid = (select rowid from [" + System::AnsiToWide(Table) + u"] where 1=1";
  for (std::size_t i = 0; i < FColumns.size(); ++i) {
    const TProviderColumn& c = FColumns[i];
    if (c.BaseTable != Table || c.BaseColumn.empty() || c.DataType == ftBlob || c.DataType == ftGraphic) continue;
    AnsiString name = "w" + SysUtils::IntToStr(static_cast<Int64>(i));
    Sql += u" and [" + System::AnsiToWide(c.BaseColumn) + u"] is :" + System::AnsiToWide(name);
    P.CreateParameter(name, c.DataType, Old.Value(i));
  }
  Sql += u" limit 1)";
}

void TCustomADODataSet::InternalPost(TRecordData& Record, const TRecordData* Old)
{
  if (!WritesBack()) return;
  AnsiString table = BaseTable();
  if (!Old) {
    PostNewRow(Record, table);
    return;
  }
  TParameters p;
  WideString sql = u"update [" + System::AnsiToWide(table) + u"] set ";
  bool any = false;
  for (std::size_t i = 0; i < FColumns.size(); ++i) {
    const TProviderColumn& c = FColumns[i];
    if (c.BaseTable != table || c.BaseColumn.empty()) continue;
    if (const Variant old = Old->Value(i);
        Variants::VarSameValue(Record.Values[i], old) && Record.Values[i].VarType() == old.VarType())
      continue;
    AnsiString name = "v" + SysUtils::IntToStr(static_cast<Int64>(i));
    sql += (any ? u", [" : u"[") + System::AnsiToWide(c.BaseColumn) + u"]=:" + System::AnsiToWide(name);
    p.CreateParameter(name, c.DataType, Record.Values[i]);
    any = true;
  }
  if (!any) return;
  AddWhere(sql, p, *Old, table);
  TProviderResult r = Run(sql, &p);
  if (r.RowsAffected != 1)
    throw EOleException(
        "Row cannot be located for updating. Some values may have been changed since it was last read.");
}

void TCustomADODataSet::PostNewRow(TRecordData& Record, const AnsiString& Table)
{
  TParameters p;
  WideString cols, vals;
  // Read back: every column of the table but the BLOBs, which stay as posted.
  std::vector<AnsiString> back;
  std::vector<std::size_t> backAt;
  for (std::size_t i = 0; i < FColumns.size(); ++i) {
    const TProviderColumn& c = FColumns[i];
    if (c.BaseTable != Table || c.BaseColumn.empty()) continue;
    if (c.DataType != ftBlob && c.DataType != ftGraphic) {
      back.push_back(c.BaseColumn);
      backAt.push_back(i);
    }
    if (Record.Values[i].IsNull()) continue;
    AnsiString name = "v" + SysUtils::IntToStr(static_cast<Int64>(i));
    cols += (cols.empty() ? u"[" : u", [") + System::AnsiToWide(c.BaseColumn) + u"]";
    vals += (vals.empty() ? u":" : u", :") + System::AnsiToWide(name);
    p.CreateParameter(name, c.DataType, Record.Values[i]);
  }
  WideString sql = u"insert into [" + System::AnsiToWide(Table) + u"]";
  sql += cols.empty() ? WideString(u" default values") : u"(" + cols + u") values (" + vals + u")";
  if (!FConnection) DB::DatabaseError("Missing Connection or ConnectionString");
  TProviderResult r = FConnection->GetProvider()->ExecuteInsert(sql, &p, FCommandTimeout, Table, back);
  if (r.RowsAffected != 1)
    throw EOleException(
        "Row cannot be located for updating. Some values may have been changed since it was last read.");
  // The row as stored: its generated key and the defaults of the columns left out show in the
  // record, and the row is found again by these values when it is edited or deleted.
  if (r.Rows.size() == 1 && r.Rows[0].size() == backAt.size())
    for (std::size_t k = 0; k < backAt.size(); ++k) Record.Values[backAt[k]] = std::move(r.Rows[0][k]);
}

void TCustomADODataSet::InternalDelete(const TRecordData& Record)
{
  if (!WritesBack()) return;
  AnsiString table = BaseTable();
  TParameters p;
  WideString sql = u"delete from [" + System::AnsiToWide(table) + u"]";
  AddWhere(sql, p, Record, table);
  TProviderResult r = Run(sql, &p);
  if (r.RowsAffected != 1)
    throw EOleException(
        "Row cannot be located for updating. Some values may have been changed since it was last read.");
}

// --- TADOQuery -------------------------------------------------------------------------------

TADOQuery::TADOQuery(TComponent* AOwner) : TCustomADODataSet(AOwner), FSQL(std::make_unique<TStringList>())
{
  // New text closes the query, as the rows no longer belong to it.
  FSQL->OnChange = [this](TObject*) {
    if (GetActive()) Close();
  };
}

TADOQuery::~TADOQuery() { Close(); }

WideString TADOQuery::CommandSql() { return System::AnsiToWide(FSQL->GetText()); }

Integer TADOQuery::ExecSQL()
{
  TParameters& params = GetParameters();
  TProviderResult r = Run(CommandSql(), &params);
  FRowsAffected = static_cast<Integer>(r.RowsAffected);
  return FRowsAffected;
}

// --- TADODataSet -----------------------------------------------------------------------------

WideString TADODataSet::CommandSql()
{
  if (FCommandType == cmdTable || FCommandType == cmdTableDirect) {
    if (FCommandText.empty()) return FCommandText;
    return u"select * from [" + FCommandText + u"]";
  }
  return FCommandText;
}
