#include "platform/stdctrls/buttons/RadioButton.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/win/queue/Messages.h"

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
  TButtonControl::CreateWnd();
  Windows::SendMessage(GetHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value)
{
  if (FChecked == Value) return;
  FChecked = Value;
  // The checked one is the one the Tab key reaches.
  SetTabStop(Value);
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  if (TWinControl* parent = GetParent())
    for (int i = 0; i < parent->GetControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->GetControl(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  if (!GetClicksDisabled()) Click();
}

void TRadioButton::SetAlignment(TLeftRight Value)
{
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TRadioButton::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == BN_CLICKED) SetChecked(true);
}

void TRadioButton::CMDialogChar(TMessage& Message)
{
  if (Controls::IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) SetChecked(true);
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}
