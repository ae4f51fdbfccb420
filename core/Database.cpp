#include "core/Database.h"

#include "core/qxLib.h"
#include "platform/db/ADOCommand.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/db/Params.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Guards.h"

namespace {

constexpr Integer StatementTimeout = 300;
constexpr Integer SetTimeout = 120;

TADOConnection* Connection()
{
  if (!Database::GlobalDB) throw Exception("数据库连接尚未建立.");
  return Database::GlobalDB->GetConnection();
}

AnsiString MessageOf(const std::exception& E)
{
  if (auto* Ex = dynamic_cast<const Exception*>(&E)) return Ex->Message();
  return E.what();
}

[[noreturn]] void RaiseStatementError(const std::exception& E, const WideString& Sql)
{
  throw Exception(MessageOf(E) + "\r\n" + System::WideToAnsi(Sql));
}

// Shows the query box once; the caller's action then ends silently.
[[noreturn]] void FailOpen(TCustomADODataSet* DataSet, const std::exception& E, const WideString& Sql)
{
  DataSet->Close();
  qxLib::ShowInfo(AnsiString("SQL语句错误,原文如下:\r\n") + System::WideToAnsi(Sql) + "\r\n\r\n错误提示:\r\n" +
                  MessageOf(E));
  throw EAbort("Operation aborted");
}

TField* MakeField(TClass FieldClass, TComponent* Owner, TDataSet* DataSet, const AnsiString& Name,
                  const AnsiString& Label, bool Visible)
{
  if (!FieldClass || !FieldClass->InheritsFrom(TField::StaticClass()))
    throw EDatabaseError("Invalid field class for '" + Name + "'");
  auto* Field = dynamic_cast<TField*>(FieldClass->Create(Owner));
  Field->SetFieldName(Name);
  Field->SetDisplayLabel(Label);
  Field->SetVisible(Visible);
  Field->SetDataSet(DataSet);
  return Field;
}

}  // namespace

// ---- TDatabase ---------------------------------------------------------------------------

TDatabase::TDatabase() : FConnection(std::make_unique<TADOConnection>(nullptr))
{
  FConnection->SetLoginPrompt(false);
  FConnection->SetCommandTimeout(StatementTimeout);
  FConnection->SetConnectionTimeout(120);
}

TDatabase::~TDatabase() = default;

bool TDatabase::Open(const WideString& ConnectionString)
{
  try {
    FConnection->Close();
    FConnection->SetConnectionString(ConnectionString);
    FConnection->Open();
  } catch (const std::exception& E) {
    qxLib::ShowInfo(SysUtils::Format("连接时失败,提示如下:\r\n%s", {MessageOf(E)}));
  }
  return FConnection->GetConnected();
}

bool TDatabase::GetConnected() const { return FConnection->GetConnected(); }

void TDatabase::SetConnected(bool Value) { FConnection->SetConnected(Value); }

std::unique_ptr<TADOCommand> TDatabase::CreateCommand(const WideString& Sql)
{
  auto Command = std::make_unique<TADOCommand>(nullptr);
  Command->SetConnection(FConnection.get());
  Command->SetCommandTimeout(StatementTimeout);
  Command->SetCommandText(Sql);
  return Command;
}

Integer TDatabase::ExecSQL(const WideString& Sql, const TDBParameters& Params, const TxDBParameters& Blobs)
{
  try {
    if (!FConnection->GetConnected()) FConnection->Open();
    TADOQuery Query(nullptr);
    Query.SetConnection(FConnection.get());
    Query.GetSQL()->SetText(System::WideToAnsi(Sql));
    Query.SetExecuteOptions(TExecuteOptions{eoExecuteNoRecords});
    Query.SetCommandTimeout(StatementTimeout);
    Database::BindParams(Query.GetParameters(), Params);
    Database::BindBlobParams(Query.GetParameters(), Blobs);
    Query.SetPrepared(true);
    return Query.ExecSQL();
  } catch (const std::exception& E) {
    RaiseStatementError(E, Sql);
  }
}

void TDatabase::Execute(const WideString& Sql, const TDBParameters& Params, const TxDBParameters& Blobs)
{
  try {
    if (!FConnection->GetConnected()) FConnection->Open();
    auto Command = CreateCommand(Sql);
    Database::BindParams(Command->GetParameters(), Params);
    Database::BindBlobParams(Command->GetParameters(), Blobs);
    Command->SetExecuteOptions(TExecuteOptions{eoExecuteNoRecords});
    Command->Execute();
  } catch (const std::exception& E) {
    RaiseStatementError(E, Sql);
  }
}

void TDatabase::BeginTrans() { FConnection->BeginTrans(); }
void TDatabase::CommitTrans() { FConnection->CommitTrans(); }
void TDatabase::RollbackTrans() { FConnection->RollbackTrans(); }

WideString TDatabase::GetConnectionValue(const AnsiString& Key) const
{
  const WideString& Text = FConnection->GetConnectionString();
  WideString WKey = System::AnsiToWide(Key);
  std::size_t At = Text.find(WKey);
  if (At == WideString::npos || WKey.empty()) return WideString();
  std::size_t Start = At + WKey.size() + 1;  // past the key and the character after it
  if (Start > Text.size()) return WideString();
  std::size_t End = Text.find(u';', Start);
  return Text.substr(Start, End == WideString::npos ? WideString::npos : End - Start);
}

bool TDatabase::IsSqlServer() const { return GetProvider() != System::AnsiToWide(JetProvider::ProviderName); }

AnsiString TDatabase::DateLiteral(TDateTime Value) const
{
  Word Y = 0, M = 0, D = 0;
  SysUtils::DecodeDate(Value, Y, M, D);
  AnsiString Text = SysUtils::Format("%.4d-%.2d-%.2d", {Integer(Y), Integer(M), Integer(D)});
  return IsSqlServer() ? "'" + Text + "'" : "#" + Text + "#";
}

// ---- TQuerySet -------------------------------------------------------------------------------

TQuerySet::TQuerySet() : FQuery(std::make_unique<TADOQuery>(nullptr))
{
  FQuery->SetConnection(Connection());
  FQuery->SetCommandTimeout(SetTimeout);
  FQuery->SetLockType(ltBatchOptimistic);
}

TQuerySet::~TQuerySet()
{
  // Fields are owned by the query; close before they go.
  FQuery->Close();
}

Integer TQuerySet::OpenSql(const WideString& Sql, const TDBParameters& Params)
{
  try {
    TADOConnection* Conn = FQuery->GetConnection();
    if (Conn && !Conn->GetConnected()) Conn->Open();
    FQuery->Close();
    FQuery->GetSQL()->SetText(System::WideToAnsi(Sql));
    Database::BindParams(FQuery->GetParameters(), Params);
    FQuery->Open();
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception& E) {
    FailOpen(FQuery.get(), E, Sql);
  }
  return FQuery->GetRecordCount();
}

TField* TQuerySet::AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible,
                            Integer Size)
{
  TField* Field = MakeField(FieldClass, FQuery.get(), FQuery.get(), Name, Label, Visible);
  Field->SetDisplayWidth(75);
  if (Size >= 0) Field->SetSize(Size);
  return Field;
}

void TQuerySet::Refresh(TField* KeyField)
{
  Variant Key;
  AnsiString KeyName;
  if (KeyField) {
    Key = KeyField->GetValue();
    KeyName = KeyField->GetFieldName();
  }
  if (FQuery->GetActive()) {
    TControlsGuard lock(*FQuery);
    FQuery->Close();
    FQuery->Open();
  }
  if (KeyField && FQuery->GetActive()) FQuery->Locate(KeyName, Key);
}

void TQuerySet::UpdateRecord()
{
  if (FQuery->GetState() == dsEdit || FQuery->GetState() == dsInsert) FQuery->UpdateRecord();
}

void TQuerySet::CancelEdit()
{
  if (FQuery->GetState() == dsEdit || FQuery->GetState() == dsInsert) FQuery->Cancel();
}

void TQuerySet::PostEdit()
{
  UpdateRecord();
  if (FQuery->GetState() == dsEdit || FQuery->GetState() == dsInsert) FQuery->Post();
}

void TQuerySet::MirrorSave(Integer Id, const std::function<void()>& CopyFields)
{
  if (!FQuery->GetActive()) return;
  if (FQuery->Locate("Id", Id))
    FQuery->Edit();
  else
    FQuery->Append();
  CopyFields();
  FQuery->Post();
}

// ---- TRecordSet ------------------------------------------------------------------------------

TRecordSet::TRecordSet() : TComponent(nullptr), FDataSet(std::make_unique<TADODataSet>(nullptr))
{
  FDataSet->SetConnection(Connection());
  FDataSet->SetCommandTimeout(SetTimeout);
  FDataSet->SetLockType(ltBatchOptimistic);
}

TRecordSet::~TRecordSet() { FDataSet->Close(); }

WideString TRecordSet::GetSqlText() const { return FDataSet->GetCommandText(); }

Integer TRecordSet::OpenSql(const WideString& Sql, const TDBParameters& Params)
{
  try {
    TADOConnection* Conn = FDataSet->GetConnection();
    if (Conn && !Conn->GetConnected()) Conn->Open();
    FDataSet->Close();
    FDataSet->SetCommandText(Sql);
    Database::BindParams(FDataSet->GetParameters(), Params);
    FDataSet->Open();
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception& E) {
    FailOpen(FDataSet.get(), E, Sql);
  }
  return FDataSet->GetRecordCount();
}

TField* TRecordSet::AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible,
                             Integer Size)
{
  TField* Field = MakeField(FieldClass, FDataSet.get(), FDataSet.get(), Name, Label, Visible);
  if (Size >= 0) Field->SetSize(Size);
  return Field;
}

void TRecordSet::DeleteCurrent()
{
  if (!FDataSet->IsEmpty()) FDataSet->Delete();
}

void TRecordSet::DeleteAll()
{
  while (FDataSet->GetRecordCount() > 0) FDataSet->Delete();
}

WideString TRecordSet::JoinColumn(TField* Field, const AnsiString& Separator, const WideString& Initial)
{
  if (!FDataSet->GetActive() || FDataSet->IsEmpty()) return Initial;
  WideString Result;
  WideString Sep = System::AnsiToWide(Separator);
  FDataSet->First();
  bool First = true;
  while (!FDataSet->GetEof()) {
    if (!First) Result += Sep;
    Result += Field->GetAsWideString();
    First = false;
    FDataSet->Next();
  }
  return Result;
}

// ---- TQxClientDataSet ------------------------------------------------------------------------

TQxClientDataSet::TQxClientDataSet() : TComponent(nullptr), FDataSet(std::make_unique<TADODataSet>(nullptr))
{
  FDataSet->SetLockType(ltBatchOptimistic);
}

TQxClientDataSet::~TQxClientDataSet() { FDataSet->Close(); }

TField* TQxClientDataSet::AddField(TClass FieldClass, const AnsiString& Name, const AnsiString& Label, bool Visible)
{
  return MakeField(FieldClass, FDataSet.get(), FDataSet.get(), Name, Label, Visible);
}

TField* TQxClientDataSet::AddFieldDef(TClass FieldClass, const AnsiString& Name, const AnsiString& Label,
                                      TFieldType DataType, bool Visible, Integer Size)
{
  FDataSet->GetFieldDefs().Add(Name, DataType, Size, false);
  TField* Field = AddField(FieldClass, Name, Label, Visible);
  if (Size > 20) Field->SetSize(std::min<Integer>(Size, 140));
  return Field;
}

// ---- TCustomWhere ----------------------------------------------------------------------------

void TCustomWhere::Start()
{
  GetDataSet()->CreateDataSet();
  GetDataSet()->Append();
}

void TCustomWhere::Reset()
{
  TADODataSet* DataSet = GetDataSet();
  if (DataSet->GetState() == dsInsert || DataSet->GetState() == dsEdit) DataSet->Cancel();
  DataSet->Append();
}

// ---- globals ---------------------------------------------------------------------------------

namespace Database {

TDatabase* GlobalDB = nullptr;
TRecordSet* ScratchSet = nullptr;

void Initialize()
{
  if (GlobalDB) return;
  DBProviders::Initialize();
  GlobalDB = new TDatabase();
  ScratchSet = new TRecordSet();
}

void Finalize()
{
  // The scratch set's dataset must not outlive the connection it runs on.
  delete ScratchSet;
  ScratchSet = nullptr;
  delete GlobalDB;
  GlobalDB = nullptr;
}

TDBParameter MakeParam(const AnsiString& Name, const Variant& Value) { return TDBParameter{Name, Value}; }

void BindParams(TParameters& Parameters, const TDBParameters& Params)
{
  for (const auto& P : Params) Parameters.ParamByName(P.Name)->SetValue(P.Value);
}

void BindBlobParams(TParameters& Parameters, const TxDBParameters& Blobs)
{
  for (const auto& B : Blobs) Parameters.ParamByName(B.Name)->LoadFromStream(B.Stream, ftBlob);
}

}  // namespace Database

PELTO_DEFINE_CLASS(TRecordSet)

PELTO_DEFINE_CLASS(TQxClientDataSet)

PELTO_DEFINE_CLASS(TCustomWhere)
