#include "platform/stdctrls/comctrls/UpDown.h"

#include <algorithm>

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/forms/controls/Messages.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque};
  SetBounds(0, 0, 17, 25);
}

TUpDown::~TUpDown()
{
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
}

LRESULT TUpDown::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TUpDown::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, UPDOWN_CLASS);
  Params.Style |= UDS_SETBUDDYINT;
  if (FAlignButton == udRight)
    Params.Style |= UDS_ALIGNRIGHT;
  else
    Params.Style |= UDS_ALIGNLEFT;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FArrowKeys) Params.Style |= UDS_ARROWKEYS;
  if (!FThousands) Params.Style |= UDS_NOTHOUSANDS;
  if (FWrap) Params.Style |= UDS_WRAP;
}

void TUpDown::CreateWnd()
{
  TWinControl::CreateWnd();
  Send(UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  UDACCEL accel;
  accel.nInc = unsigned(FIncrement);
  Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  Send(UDM_SETPOS32, 0, LPARAM(FPosition));
  if (FAssociate) Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->GetHandle()));
}

void TUpDown::SetAssociate(TWinControl* Value)
{
  if (Value == FAssociate) return;
  // Controls that cannot hold a number beside themselves are no buddies.
  if (Value && (Value == this || Value->GetParent() != GetParent()))
    throw EInvalidOperation("The associated control must be a sibling of the up-down control");
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (FAssociate) FAssociate->FreeNotification(this);
  if (!HandleAllocated()) return;
  Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate ? FAssociate->GetHandle() : nullptr));
  if (FAssociate) Send(UDM_SETPOS32, 0, LPARAM(FPosition));
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated()) Send(UDM_SETBUDDY, 0);
  }
}

void TUpDown::SetMin(int Value)
{
  if (Value == FMin) return;
  FMin = Value;
  if (HandleAllocated()) Send(UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SetPosition(GetPosition());
}

void TUpDown::SetMax(int Value)
{
  if (Value == FMax) return;
  FMax = Value;
  if (HandleAllocated()) Send(UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SetPosition(GetPosition());
}

int TUpDown::GetPosition()
{
  // The buddy's text may have been edited since: the window reads it back.
  if (HandleAllocated()) FPosition = int(Send(UDM_GETPOS32));
  return FPosition;
}

void TUpDown::SetPosition(int Value)
{
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (HandleAllocated()) Send(UDM_SETPOS32, 0, LPARAM(FPosition));
}

void TUpDown::SetIncrement(int Value)
{
  if (Value == FIncrement || Value <= 0) return;
  FIncrement = Value;
  if (!HandleAllocated()) return;
  UDACCEL accel;
  accel.nInc = unsigned(FIncrement);
  Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetStyleFlag(bool& Flag, bool Value)
{
  if (Flag == Value) return;
  Flag = Value;
  RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation Value)
{
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton Value)
{
  if (FAlignButton == Value) return;
  FAlignButton = Value;
  RecreateWnd();
}

bool TUpDown::CanChange()
{
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TUpDown::Click(TUDBtnType Button)
{
  if (OnClick) OnClick(this, Button);
}

void TUpDown::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      if (hdr && hdr->code == UDN_DELTAPOS) {
        FLastDelta = reinterpret_cast<NMUPDOWN*>(hdr)->iDelta;
        Message.Result = !CanChange();
        return;
      }
      break;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
      if (LOWORD(Message.WParam) == SB_THUMBPOSITION) {
        FPosition = int(Send(UDM_GETPOS32));
        // The arrow that stepped, not the comparison of positions: a wrap goes the other way.
        Click(FLastDelta >= 0 ? btNext : btPrev);
      }
      Message.Result = 0;
      return;
    default: break;
  }
  TWinControl::Dispatch(Message);
}
