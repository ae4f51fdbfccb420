#include "platform/db/ADOCommand.h"

#include <algorithm>

#include "platform/db/ADOConnection.h"
#include "platform/db/Provider.h"

TADOCommand::TADOCommand(TComponent* AOwner) : TComponent(AOwner) {}

TADOCommand::~TADOCommand() { SetConnection(nullptr); }

void TADOCommand::SetConnection(TADOConnection* Value)
{
  if (Value == FConnection) return;
  if (FConnection) {
    std::erase(FConnection->FCommands, this);
    FConnection->RemoveFreeNotification(this);
  }
  FConnection = Value;
  if (FConnection) {
    FConnection->FCommands.push_back(this);
    FConnection->FreeNotification(this);
  }
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

TParameters& TADOCommand::GetParameters()
{
  if (!FParsed || FParsedText != FCommandText) {
    FParameters.ParseSQL(FCommandText, true);
    FParsedText = FCommandText;
    FParsed = true;
  }
  return FParameters;
}

Integer TADOCommand::Execute()
{
  if (!FConnection) DB::DatabaseError("Missing Connection or ConnectionString");
  TParameters& params = GetParameters();
  TProviderResult r = FConnection->GetProvider()->Execute(FCommandText, &params, FCommandTimeout);
  return static_cast<Integer>(r.RowsAffected);
}
