#include "platform/forms/forms/DockForm.h"

#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/DockTree.h"

TCustomDockForm::TCustomDockForm(TComponent* AOwner) : TCustomForm(AOwner)
{
  SetBorderStyle(bsSizeToolWin);
  SetDockSite(true);
  SetUseDockManager(true);
}

std::unique_ptr<TDockTree> TCustomDockForm::CreateDockManager()
{
  auto tree = TCustomForm::CreateDockManager();
  tree->SetShowSingleGrabber(false);
  return tree;
}

void TCustomDockForm::DockDrop(TDragDockObject* Source, int X, int Y)
{
  TCustomForm::DockDrop(Source, X, Y);
  if (GetDockClientCount() == 1) SetCaption(GetDockClients(0)->GetCaption());
}

void TCustomDockForm::RemoveDockClient(TControl* Client)
{
  TCustomForm::RemoveDockClient(Client);
  if (GetDockClientCount() == 0 && !GetComponentState().Contains(csDestroying)) {
    Hide();
    Release();
  }
}

void TCustomDockForm::WndProc(TMessage& Message)
{
  // The caption of a lone client's window drags the client, so that it can dock elsewhere.
  if (Message.Msg == WM_NCLBUTTONDOWN && Message.WParam == HTCAPTION && GetDockClientCount() == 1) {
    DragManager::BeginDock(GetDockClients(0), false, -1);
    Message.Result = 0;
    return;
  }
  TCustomForm::WndProc(Message);
}

void TCustomDockForm::DoClose(TCloseAction& Action)
{
  Action = caHide;
  TCustomForm::DoClose(Action);
}
