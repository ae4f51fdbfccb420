// TDataModule: a container of non-visual components (connections, queries, lists) that the
// program keeps for the whole run. It registers with the screen while it exists, so that it is
// found by name like a form, and owns its components.
#pragma once

#include "platform/classes/Component.h"
#include "platform/gdi/WinTypes.h"

class TDataModule : public TComponent {
  PELTO_CLASS(TDataModule, TComponent)
public:
  // OnCreate runs at the end of construction (a descendant assigns it in its own constructor
  // and calls DoCreate, as the stored layout would).
  explicit TDataModule(TComponent* AOwner);
  // OnDestroy runs first, while every owned component still exists.
  ~TDataModule() override;

  // The place the designer shows the module at; kept for stored layouts.
  POINT GetDesignOffset() const { return FDesignOffset; }
  void SetDesignOffset(POINT Value) { FDesignOffset = Value; }
  POINT GetDesignSize() const { return FDesignSize; }
  void SetDesignSize(POINT Value) { FDesignSize = Value; }

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  virtual void DoCreate();
  virtual void DoDestroy();

  TNotifyEvent OnCreate, OnDestroy;

  PELTO_PUBLISHED(p)
  {
    p.Property("OnCreate", TypeInfo_TNotifyEvent(), &ThisClass::OnCreate, &ThisClass::OnCreate);
    p.Property("OnDestroy", TypeInfo_TNotifyEvent(), &ThisClass::OnDestroy, &ThisClass::OnDestroy);
  }

private:
  POINT FDesignOffset;
  POINT FDesignSize{200, 150};
  bool FDestroyCalled = false;
};
