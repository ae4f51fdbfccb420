#include "platform/forms/controls/BasicAction.h"

#include <algorithm>

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
  // A link's client forgets the action; the link stays with its client.
  while (!FClients.empty()) {
    TBasicActionLink* link = FClients.back();
    FClients.pop_back();
    link->FAction = nullptr;
    link->Change();
  }
}

bool TBasicAction::Execute()
{
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update()
{
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value)
{
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) { std::erase(FClients, Value); }

void TBasicAction::Change()
{
  // A client may unlink while it hears of the change.
  std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* link : clients)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

TBasicActionLink::~TBasicActionLink()
{
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value)
{
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent)
{
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  struct Reset {
    TBasicAction* A;
    ~Reset() { A->SetActionComponent(nullptr); }
  } reset{FAction};
  return FAction->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change()
{
  if (OnChange) OnChange(this);
}
