// The ADO datasets: TCustomADODataSet (rows fetched through the connection's provider, or an
// in-memory table made from field definitions when there is no connection), TADOQuery (SQL text
// and ExecSQL) and TADODataSet (command text, CreateDataSet).
//
// Edits: with lock type ltBatchOptimistic, or without a connection, posted and deleted rows
// change only the rows held in memory. Otherwise a post or delete is written to the one table
// the columns come from, matching the row by its fetched values; when that row is no longer
// there the post raises EOleException and the dataset stays in edit state. A posted insert reads
// the new row back, so a key the engine numbers (TAutoIncField) holds its new value afterwards.
#pragma once

#include <memory>

#include "platform/db/DataSet.h"
#include "platform/db/Params.h"
#include "platform/db/Provider.h"

class TADOConnection;
class TStringList;

PELTO_ENUM(TADOLockType, ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic)
PELTO_ENUM(TExecuteOption, eoAsyncExecute, eoAsyncFetch, eoAsyncFetchNonBlocking, eoExecuteNoRecords)
PELTO_SET(TExecuteOptions, TExecuteOption)
PELTO_ENUM(TCommandType, cmdUnknown, cmdText, cmdTable, cmdStoredProc, cmdFile, cmdTableDirect)

class TCustomADODataSet : public TDataSet {
  PELTO_CLASS(TCustomADODataSet, TDataSet)
public:
  explicit TCustomADODataSet(TComponent* AOwner);
  ~TCustomADODataSet() override;

  TADOConnection* GetConnection() const { return FConnection; }
  // Closes the dataset when the connection changes.
  void SetConnection(TADOConnection* Value);
  Integer GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(Integer Value) { FCommandTimeout = Value; }
  TADOLockType GetLockType() const { return FLockType; }
  void SetLockType(TADOLockType Value) { FLockType = Value; }
  TExecuteOptions GetExecuteOptions() const { return FExecuteOptions; }
  void SetExecuteOptions(TExecuteOptions Value) { FExecuteOptions = Value; }
  // The parameters of the command text, re-parsed when the text changed.
  TParameters& GetParameters();
  bool GetCanModify() const override { return FLockType != ltReadOnly && TDataSet::GetCanModify(); }

  // Opens an empty in-memory table with the field definitions (made from the persistent fields
  // when there are none). Raises EDatabaseError when neither exists.
  void CreateDataSet();

protected:
  // The statement the dataset opens or executes.
  virtual WideString CommandSql() = 0;
  void InternalOpen() override;
  void InternalClose() override;
  void InternalPost(TRecordData& Record, const TRecordData* Old) override;
  void InternalDelete(const TRecordData& Record) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Runs the statement through the connection (opening it when closed).
  TProviderResult Run(const WideString& Sql, TParameters* Params);
  bool WritesBack() const { return FConnection && FLockType != ltBatchOptimistic && !FInMemory; }

private:
  friend class TADOConnection;
  AnsiString BaseTable() const;
  // Writes a new row and takes back the values the engine gave it (keys, defaults).
  void PostNewRow(TRecordData& Record, const AnsiString& Table);
  void AddWhere(WideString& Sql, TParameters& P, const TRecordData& Old, const AnsiString& Table);

  TADOConnection* FConnection = nullptr;
  Integer FCommandTimeout = 30;
  TADOLockType FLockType = ltOptimistic;
  TExecuteOptions FExecuteOptions;
  TParameters FParameters;
  WideString FParsedText;
  bool FParsed = false;
  bool FCreating = false;
  bool FInMemory = false;
  std::vector<TProviderColumn> FColumns;  // as fetched, for writing back
};

class TADOQuery : public TCustomADODataSet {
  PELTO_CLASS(TADOQuery, TCustomADODataSet)
public:
  explicit TADOQuery(TComponent* AOwner);
  ~TADOQuery() override;

  // Changing the text closes an open query.
  TStringList* GetSQL() const { return FSQL.get(); }
  // Runs the SQL as a statement without rows; returns (and keeps) the rows affected. Raises
  // EDatabaseError without a connection.
  Integer ExecSQL();
  Integer GetRowsAffected() const { return FRowsAffected; }
  bool GetPrepared() const { return FPrepared; }
  void SetPrepared(bool Value) { FPrepared = Value; }

protected:
  WideString CommandSql() override;

private:
  std::unique_ptr<TStringList> FSQL;
  Integer FRowsAffected = 0;
  bool FPrepared = false;
};

class TADODataSet : public TCustomADODataSet {
  PELTO_CLASS(TADODataSet, TCustomADODataSet)
public:
  explicit TADODataSet(TComponent* AOwner) : TCustomADODataSet(AOwner) {}
  ~TADODataSet() override { Close(); }

  const WideString& GetCommandText() const { return FCommandText; }
  void SetCommandText(const WideString& Value) { FCommandText = Value; }
  TCommandType GetCommandType() const { return FCommandType; }
  void SetCommandType(TCommandType Value) { FCommandType = Value; }

protected:
  WideString CommandSql() override;

private:
  WideString FCommandText;
  TCommandType FCommandType = cmdText;
};
