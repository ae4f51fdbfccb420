#include "platform/stdctrls/buttons/Button.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/win/queue/Messages.h"

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params)
{
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
  TButtonControl::CreateWnd();
  FActive = FDefault;
}

void TButton::Click()
{
  if (TCustomForm* form = GetParentForm()) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::SetDefault(bool Value)
{
  if (FDefault == Value) return;
  FDefault = Value;
  if (!HandleAllocated()) {
    FActive = Value;
    return;
  }
  // The form tells every control which one holds the focus: the default frame follows it.
  TCustomForm* form = GetParentForm();
  TWinControl* focused = form ? form->GetActiveControl() : nullptr;
  TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focused)};
  CMFocusChanged(m);
}

void TButton::SetButtonStyle(bool ADefault)
{
  if (!HandleAllocated()) return;
  Windows::SendMessage(GetHandle(), BM_SETSTYLE, ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& Message)
{
  bool enter = Message.WParam == VK_RETURN && FActive;
  bool escape = Message.WParam == VK_ESCAPE && FCancel;
  if ((enter || escape) && KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogKey(Message);
}

void TButton::CMDialogChar(TMessage& Message)
{
  if (Controls::IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TButton::CMFocusChanged(TMessage& Message)
{
  auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
  bool active = dynamic_cast<TButton*>(sender) ? sender == this : FDefault;
  if (active != FActive) {
    FActive = active;
    SetButtonStyle(active);
  }
  TButtonControl::CMFocusChanged(Message);
}
