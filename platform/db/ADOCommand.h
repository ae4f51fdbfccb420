// TADOCommand: a statement without result rows, run on a connection with named parameters.
#pragma once

#include "platform/classes/Component.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Params.h"

class TADOConnection;

class TADOCommand : public TComponent {
  PELTO_CLASS(TADOCommand, TComponent)
public:
  explicit TADOCommand(TComponent* AOwner);
  ~TADOCommand() override;

  TADOConnection* GetConnection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  const WideString& GetCommandText() const { return FCommandText; }
  void SetCommandText(const WideString& Value) { FCommandText = Value; }
  Integer GetCommandTimeout() const { return FCommandTimeout; }
  void SetCommandTimeout(Integer Value) { FCommandTimeout = Value; }
  TExecuteOptions GetExecuteOptions() const { return FExecuteOptions; }
  void SetExecuteOptions(TExecuteOptions Value) { FExecuteOptions = Value; }
  // The parameters of the command text, re-parsed when the text changed.
  TParameters& GetParameters();

  // Runs the command (opening the connection when closed) and returns the rows affected
  // (-1 for a statement that returned rows). Raises EDatabaseError without a connection.
  Integer Execute();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TADOConnection* FConnection = nullptr;
  WideString FCommandText;
  Integer FCommandTimeout = 30;
  TExecuteOptions FExecuteOptions;
  TParameters FParameters;
  WideString FParsedText;
  bool FParsed = false;
};
