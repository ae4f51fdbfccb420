// TControlActionLink: links a control to an action. The standard actions (platform/stdctrls)
// carry caption, enabled, hint, visible and help; a control takes over those of them that the
// action publishes, through ActionChange, whenever the action changes.
#pragma once

#include "platform/forms/controls/BasicAction.h"

class TControl;

class TControlActionLink : public TBasicActionLink {
public:
  explicit TControlActionLink(TControl* AClient);

  TControl* GetControl() const { return FControl; }

protected:
  void Change() override;

private:
  TControl* FControl;
};
