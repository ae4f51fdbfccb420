#include "platform/stdctrls/buttons/CheckBox.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/win/queue/Messages.h"

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  // The control keeps the state: the window only shows it.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
  TButtonControl::CreateWnd();
  Windows::SendMessage(GetHandle(), BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), BM_SETCHECK, WPARAM(FState), 0);
  if (!GetClicksDisabled()) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight Value)
{
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::Toggle()
{
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message)
{
  if (Controls::IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}
