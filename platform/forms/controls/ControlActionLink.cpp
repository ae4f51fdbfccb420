#include "platform/forms/controls/ControlActionLink.h"

#include "platform/forms/controls/Control.h"

TControlActionLink::TControlActionLink(TControl* AClient) : TBasicActionLink(AClient), FControl(AClient) {}

void TControlActionLink::Change()
{
  TBasicActionLink::Change();
  if (GetAction()) FControl->ActionChange(GetAction(), false);
}
