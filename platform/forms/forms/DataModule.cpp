#include "platform/forms/forms/DataModule.h"

#include "platform/forms/app/Screen.h"

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner)
{
  if (Forms::Screen) Forms::Screen->AddDataModule(this);
  DoCreate();
}

TDataModule::~TDataModule()
{
  Destroying();
  DoDestroy();
  if (Forms::Screen) Forms::Screen->RemoveDataModule(this);
  // The owned components go now, while the module is still a data module to hear of them.
  DestroyComponents();
}

void TDataModule::DoCreate()
{
  if (OnCreate) OnCreate(this);
}

void TDataModule::DoDestroy()
{
  if (FDestroyCalled) return;
  FDestroyCalled = true;
  if (OnDestroy) OnDestroy(this);
}

void TDataModule::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (int i = 0; i < GetComponentCount(); ++i) {
    TComponent* c = GetComponent(i);
    if (!c->HasParent()) Proc(c);
  }
}
