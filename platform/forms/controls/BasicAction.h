// TBasicAction: a command that controls, menu items and tool buttons share, and
// TBasicActionLink, the client side's link to it. The standard actions derive from these
// (platform/stdctrls); here the link carries the action's changes to its client and the
// client's clicks to the action.
//
// Ownership: the action belongs to its owner (an action list); a link belongs to its client and
// registers itself with the action, which tells every link when it changes and clears them when
// it is freed.
#pragma once

#include <vector>

#include "platform/classes/Component.h"

class TBasicActionLink;

class TBasicAction : public TComponent {
  PELTO_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner);
  // Tells every link that the action is gone (their client forgets it).
  ~TBasicAction() override;

  // Runs OnExecute; answers whether it ran (false without a handler).
  virtual bool Execute();
  // Runs OnUpdate; answers whether it ran.
  virtual bool Update();
  // Whether the action handles Target itself (standard actions acting on the focused control).
  virtual bool HandlesTarget(TObject* Target) { return false; }
  virtual void ExecuteTarget(TObject* Target) {}
  virtual void UpdateTarget(TObject* Target) {}

  TComponent* GetActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);

  TNotifyEvent OnExecute, OnUpdate;

  PELTO_PUBLISHED(p)
  {
    p.Property("OnExecute", TypeInfo_TNotifyEvent(), &ThisClass::OnExecute, &ThisClass::OnExecute);
    p.Property("OnUpdate", TypeInfo_TNotifyEvent(), &ThisClass::OnUpdate, &ThisClass::OnUpdate);
  }

protected:
  // Tells every link (OnChange).
  virtual void Change();

private:
  std::vector<TBasicActionLink*> FClients;  // borrowed, unregistered by their destructors
  TComponent* FActionComponent = nullptr;
};

class TBasicActionLink : public TObject {
public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  // Unregisters from the action.
  ~TBasicActionLink() override;

  TBasicAction* GetAction() const { return FAction; }
  // Registers with Value (null unlinks).
  virtual void SetAction(TBasicAction* Value);
  TObject* GetClient() const { return FClient; }
  // The client clicked: the action runs (answers whether it did).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();

  std::function<void(TObject* Sender)> OnChange;

protected:
  // The action changed; the client takes over what it tracks.
  virtual void Change();

private:
  TObject* FClient;
  TBasicAction* FAction = nullptr;
  friend class TBasicAction;
};
