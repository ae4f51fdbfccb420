// TADOConnection: one database connection through the provider its connection string names.
// Datasets and commands on it open it when they need it; closing it closes its datasets.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DB.h"

class TDBProvider;
class TStrings;
class TCustomADODataSet;
class TADOCommand;

class TADOConnection : public TComponent {
  PELTO_CLASS(TADOConnection, TComponent)
public:
  explicit TADOConnection(TComponent* AOwner);
  ~TADOConnection() override;

  const WideString& GetConnectionString() const { return FConnectionString; }
  // Setting it on an open connection closes the connection first.
  void SetConnectionString(const WideString& Value);
  bool GetConnected() const;
  // Raises EOleException from the provider when the connection cannot be made (unknown provider,
  // missing file, wrong password); the connection then stays closed.
  void SetConnected(bool Value);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  // No dialog is shown; the setting is kept for callers that read it.
  bool GetLoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }
  Integer GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(Integer Value) { FCommandTimeout = Value; }
  Integer GetConnectionTimeout() const { return FConnectionTimeout; }
  void SetConnectionTimeout(Integer Value) { FConnectionTimeout = Value; }
  // The value of a key of the connection string ("Provider", "Data Source"); empty when missing.
  AnsiString GetConnectionValue(const AnsiString& Key) const;

  // Transactions nest; BeginTrans returns the new level. Commit/rollback without one raises.
  Integer BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool GetInTransaction() const;
  // Runs a statement that returns no rows; returns the rows affected.
  Integer Execute(const WideString& CommandText);

  // Fills List with the table names (a workbook's sheets as "Name$"); opens the connection when
  // closed. Raises EOleException from the provider.
  void GetTableNames(TStrings* List, bool SystemTables = false);

  // The open provider; opens the connection when closed.
  TDBProvider* GetProvider();

  TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;

private:
  friend class TCustomADODataSet;
  friend class TADOCommand;
  WideString FConnectionString;
  bool FLoginPrompt = true;
  Integer FCommandTimeout = 30;
  Integer FConnectionTimeout = 15;
  std::unique_ptr<TDBProvider> FProvider;
  std::vector<TCustomADODataSet*> FDataSets;  // datasets bound to this connection
  std::vector<TADOCommand*> FCommands;
};
