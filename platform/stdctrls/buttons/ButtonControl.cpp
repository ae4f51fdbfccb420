#include "platform/stdctrls/buttons/ButtonControl.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/win/input/Focus.h"

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::SetWordWrap(bool Value)
{
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  if (FWordWrap) Params.Style |= BS_MULTILINE;
}

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
  TWinControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  ActnList::ApplyToControl(this, action, CheckDefaults);
  // Showing the action's state is no click: it must not run the action again.
  TValueGuard quiet(FClicksDisabled, true);
  if (!CheckDefaults || !GetChecked()) SetChecked(action->GetChecked());
}

void TButtonControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!GetComponentState().Contains(csDesigning) && !Focused() && HandleAllocated()) {
        {
          TValueGuard busy(FClicksDisabled, true);
          Windows::SetFocus(GetHandle());
        }
        if (!Focused()) return;
      }
      break;
    case CN_COMMAND:
      if (FClicksDisabled) return;
      break;
    default: break;
  }
  TWinControl::WndProc(Message);
}

void TButtonControl::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_COMMAND) {
    CNCommand(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}
