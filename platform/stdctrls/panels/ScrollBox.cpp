#include "platform/stdctrls/panels/ScrollBox.h"

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
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}
