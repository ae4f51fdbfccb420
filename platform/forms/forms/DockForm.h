// TCustomDockForm: the tool window a floating control lives in. It is a dock site with a dock
// manager (more windows can be docked into it, each then with a grabber); its caption and close
// button stand in for the grabber of a lone client. Dragging the caption of a host holding one
// client drags that client (so that it can be docked); closing hides the window with its client;
// the host frees itself once its last client has left.
#pragma once

#include "platform/forms/forms/CustomForm.h"

class TCustomDockForm : public TCustomForm {
  PELTO_CLASS(TCustomDockForm, TCustomForm)
public:
  explicit TCustomDockForm(TComponent* AOwner);

protected:
  std::unique_ptr<TDockTree> CreateDockManager() override;
  void RemoveDockClient(TControl* Client) override;
  void DockDrop(TDragDockObject* Source, int X, int Y) override;
  void WndProc(TMessage& Message) override;
  void DoClose(TCloseAction& Action) override;
};
