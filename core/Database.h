// The application's one road to its database: the process-wide connection (TDatabase,
// Database::GlobalDB), statements with named parameters, the dialect helpers, and the small
// dataset classes every business object is built from.
//
// Contract:
// - Statement failures (ExecSQL, Execute) raise Exception with the provider's message, "\r\n"
//   and the statement; this layer catches nothing there.
// - A failed open of a set (OpenSql) shows the query box once through qxLib::ShowInfo, leaves
//   the dataset closed and ends the caller's action with a silent EAbort.
// - A parameter name the statement does not contain raises EDatabaseError before execution.
// - Sets belong to whoever creates them and free their own datasets; Database::Finalize frees
//   the scratch set before the connection, and a set still alive then is left without one.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DB.h"
#include "platform/rtl/Variants.h"

class TADOConnection;
class TADOCommand;
class TADOQuery;
class TADODataSet;
class TCustomADODataSet;
class TParameters;
class TField;
class TStream;

struct TDBParameter {
  AnsiString Name;  // without the colon
  Variant Value;
};
using TDBParameters = std::vector<TDBParameter>;

// A blob parameter; the stream is not owned.
struct TxDBParameter {
  AnsiString Name;
  TStream* Stream = nullptr;
};
using TxDBParameters = std::vector<TxDBParameter>;

class TDatabase : public TObject {
public:
  TDatabase();
  ~TDatabase() override;
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  // Closes, sets the string and connects. A failure of any kind is shown with
  // "连接时失败,提示如下:\r\n%s" and answers false; never raises.
  bool Open(const WideString& ConnectionString);
  bool GetConnected() const;
  // Raises the provider's error when connecting fails.
  void SetConnected(bool Value);
  // A command on the global connection (time-out 300); the caller owns it.
  std::unique_ptr<TADOCommand> CreateCommand(const WideString& Sql);
  // Runs one statement without rows; answers the rows affected. Connects when disconnected.
  Integer ExecSQL(const WideString& Sql, const TDBParameters& Params = {}, const TxDBParameters& Blobs = {});
  // As ExecSQL, through a command object, without the count.
  void Execute(const WideString& Sql, const TDBParameters& Params = {}, const TxDBParameters& Blobs = {});
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  // The text after "Key=" up to the next ';' (the key found case-sensitively, first
  // occurrence); empty when the key is missing; a last value without ';' runs to the end.
  WideString GetConnectionValue(const AnsiString& Key) const;
  WideString GetDataSource() const { return GetConnectionValue("Data Source"); }
  WideString GetProvider() const { return GetConnectionValue("Provider"); }
  // Every provider other than exactly "Microsoft.Jet.OLEDB.4.0" counts as the server.
  bool IsSqlServer() const;
  // #yyyy-mm-dd# for Jet, 'yyyy-mm-dd' for the server; the time of day is dropped.
  AnsiString DateLiteral(TDateTime Value) const;
  AnsiString NowFunction() const { return IsSqlServer() ? "GetDate()" : "Now"; }

  // The connection; owned by this object.
  TADOConnection* GetConnection() const { return FConnection.get(); }

private:
  std::unique_ptr<TADOConnection> FConnection;
};

// A plain object owning one query on the global connection (lock type ltBatchOptimistic:
// edits stay in memory). Subclass constructors declare their columns with AddField.
class TQuerySet : public TObject {
public:
  TQuerySet();
  ~TQuerySet() override;
  TQuerySet(const TQuerySet&) = delete;
  TQuerySet& operator=(const TQuerySet&) = delete;

  TADOQuery* GetQuery() const { return FQuery.get(); }
  // Answers the record count; a failed open shows the query box and raises EAbort.
  Integer OpenSql(const WideString& Sql, const TDBParameters& Params = {});
  // A persistent field of that class owned by the query (display width 75; Size applied when
  // not negative).
  TField* AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible, Integer Size);
  // Reopens an open query; with a key field, goes back to the row with the same key value.
  void Refresh(TField* KeyField = nullptr);
  void UpdateRecord();
  void CancelEdit();
  void PostEdit();
  // Mirrors a saved record into the open result: the row with that Id, or a new row, takes the
  // values CopyFields writes into the query's fields. Nothing when the query is closed.
  void MirrorSave(Integer Id, const std::function<void()>& CopyFields);

private:
  std::unique_ptr<TADOQuery> FQuery;
};

// A component owning one dataset on the global connection; it never belongs to a form (the
// owner passed is ignored), so its owner frees it explicitly.
class TRecordSet : public TComponent {
  PELTO_DECLARE_CLASS(TRecordSet, TComponent)
public:
  TRecordSet();
  explicit TRecordSet(TComponent* AOwner) : TRecordSet() {}
  ~TRecordSet() override;

  TADODataSet* GetDataSet() const { return FDataSet.get(); }
  WideString GetSqlText() const;
  // As TQuerySet::OpenSql, on the command text.
  Integer OpenSql(const WideString& Sql, const TDBParameters& Params = {});
  TField* AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible, Integer Size);
  // In memory only.
  virtual void DeleteCurrent();
  virtual void DeleteAll();
  // The field's text of every row joined by Separator; a closed or empty dataset answers
  // Initial. Leaves the cursor after the last row.
  WideString JoinColumn(TField* Field, const AnsiString& Separator, const WideString& Initial = WideString());

private:
  std::unique_ptr<TADODataSet> FDataSet;
};

using TCalcProgressEvent = std::function<void(Integer Count, Integer Position)>;
using TProgressEvent = std::function<void(Integer Count, Integer Position, const AnsiString& Hint)>;

// An in-memory table (a dataset without connection).
class TQxClientDataSet : public TComponent {
  PELTO_DECLARE_CLASS(TQxClientDataSet, TComponent)
public:
  TQxClientDataSet();
  explicit TQxClientDataSet(TComponent* AOwner) : TQxClientDataSet() {}
  ~TQxClientDataSet() override;

  TADODataSet* GetDataSet() const { return FDataSet.get(); }
  TField* AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible);
  // A field definition and its field; sizes above 20 become min(Size, 140), smaller ones leave
  // the kind's default.
  TField* AddFieldDef(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, TFieldType DataType,
                      bool Visible, Integer Size);
  double GetLostTime() const { return FLostTime; }

  TCalcProgressEvent OnProgress;  // also known as CalcProgressEvent
  TProgressEvent OnProgress2;

private:
  std::unique_ptr<TADODataSet> FDataSet;
  double FLostTime = 0;
};

// One blank row of search criteria, always in insert state; a null or empty field is no
// condition. Subclasses add their columns with AddFieldDef and then call Start.
class TCustomWhere : public TQxClientDataSet {
  PELTO_DECLARE_CLASS(TCustomWhere, TQxClientDataSet)
public:
  TCustomWhere() = default;
  explicit TCustomWhere(TComponent* AOwner) : TCustomWhere() {}
  // Drops the pending row and appends a new blank one.
  virtual void Reset();

protected:
  // Creates the empty table from the definitions and appends the row.
  void Start();
};

namespace Database {

// Both nullptr outside Initialize..Finalize.
extern TDatabase* GlobalDB;
extern TRecordSet* ScratchSet;

// Registers the providers and creates GlobalDB, then ScratchSet; idempotent.
void Initialize();
// Frees ScratchSet, then GlobalDB.
void Finalize();

TDBParameter MakeParam(const AnsiString& Name, const Variant& Value);
// Each parameter is found by name (EDatabaseError when missing) and gets its value.
void BindParams(TParameters& Parameters, const TDBParameters& Params);
// Each blob parameter loads its stream as ftBlob.
void BindBlobParams(TParameters& Parameters, const TxDBParameters& Blobs);

}  // namespace Database
