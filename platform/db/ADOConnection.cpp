#include "platform/db/ADOConnection.h"

#include <algorithm>

#include "platform/db/ADOCommand.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection()
{
  Close();
  for (TCustomADODataSet* ds : std::vector<TCustomADODataSet*>(FDataSets)) ds->SetConnection(nullptr);
  for (TADOCommand* c : std::vector<TADOCommand*>(FCommands)) c->SetConnection(nullptr);
}

void TADOConnection::SetConnectionString(const WideString& Value)
{
  if (Value == FConnectionString) return;
  Close();
  FConnectionString = Value;
}

bool TADOConnection::GetConnected() const { return FProvider && FProvider->GetConnected(); }

AnsiString TADOConnection::GetConnectionValue(const AnsiString& Key) const
{
  return TConnectionString(System::WideToAnsi(FConnectionString)).Get(Key);
}

void TADOConnection::SetConnected(bool Value)
{
  if (Value == GetConnected()) return;
  if (Value) {
    if (BeforeConnect) BeforeConnect(this);
    TConnectionString cs(System::WideToAnsi(FConnectionString));
    AnsiString name = cs.Get("Provider");
    std::unique_ptr<TDBProvider> p = DBProviders::CreateProvider(name.empty() ? AnsiString("MSDASQL.1") : name);
    p->Open(cs, FConnectionTimeout);
    FProvider = std::move(p);
    if (AfterConnect) AfterConnect(this);
  } else {
    if (BeforeDisconnect) BeforeDisconnect(this);
    for (TCustomADODataSet* ds : std::vector<TCustomADODataSet*>(FDataSets))
      if (!ds->FInMemory) ds->Close();
    FProvider->Close();
    FProvider.reset();
    if (AfterDisconnect) AfterDisconnect(this);
  }
}

TDBProvider* TADOConnection::GetProvider()
{
  if (!GetConnected()) Open();
  return FProvider.get();
}

void TADOConnection::GetTableNames(TStrings* List, bool SystemTables)
{
  std::vector<AnsiString> names = GetProvider()->GetTableNames(SystemTables);
  List->BeginUpdate();
  List->Clear();
  for (const AnsiString& n : names) List->Add(n);
  List->EndUpdate();
}

Integer TADOConnection::BeginTrans() { return GetProvider()->BeginTrans(); }

void TADOConnection::CommitTrans()
{
  if (!GetConnected()) throw EOleException("Operation is not allowed when the object is closed.");
  FProvider->CommitTrans();
}

void TADOConnection::RollbackTrans()
{
  if (!GetConnected()) throw EOleException("Operation is not allowed when the object is closed.");
  FProvider->RollbackTrans();
}

bool TADOConnection::GetInTransaction() const { return GetConnected() && FProvider->GetTransactionLevel() > 0; }

Integer TADOConnection::Execute(const WideString& CommandText)
{
  TParameters none;
  none.ParseSQL(CommandText, true);
  TProviderResult r = GetProvider()->Execute(CommandText, &none, FCommandTimeout);
  return static_cast<Integer>(r.RowsAffected);
}
