#include "platform/stdctrls/panels/ScrollBox.h"

#include "platform/stdctrls/panels/ExtCtrls.h"

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value)
{
  if (Value != bsSingle) Value = bsNone;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params)
{
  TScrollingWinControl::CreateParams(Params);
  ExtCtrls::AddBorderStyle(Params, FBorderStyle, GetCtl3D());
}
