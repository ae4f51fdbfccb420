#include "platform/stdctrls/comctrls/MonthCalendar.h"

#include <cmath>

#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner), FDate(SysUtils::Date())
{
  ControlStyle = TControlStyle{csOpaque, csClickEvents, csDoubleClicks};
  SetBounds(0, 0, 191, 154);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetAutoSize(true);
}

LRESULT TMonthCalendar::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TMonthCalendar::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, MONTHCAL_CLASS);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMonthCalendar::CreateWnd()
{
  TWinControl::CreateWnd();
  SYSTEMTIME st = SystemTime::FromDateTime(FDate);
  Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  AdjustSize();
}

void TMonthCalendar::SetDate(TDateTime Value)
{
  TDateTime day(std::trunc(Value.Value));
  SYSTEMTIME st = SystemTime::FromDateTime(day);
  if (!std::isfinite(Value.Value) || !SystemTime::IsValid(st) || day.Value < -693593.0 || day.Value >= 2958466.0)
    throw EConvertError("Invalid date");
  FDate = day;
  if (HandleAllocated()) Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

SIZE TMonthCalendar::GetMinimumSize()
{
  if (!HandleAllocated()) return SIZE{0, 0};
  RECT need{};
  if (!Send(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need))) return SIZE{0, 0};
  RECT window{}, client{};
  Windows::GetWindowRect(GetHandle(), &window);
  Windows::GetClientRect(GetHandle(), &client);
  int borderW = (window.right - window.left) - client.right;
  int borderH = (window.bottom - window.top) - client.bottom;
  return SIZE{need.right - need.left + borderW, need.bottom - need.top + borderH};
}

bool TMonthCalendar::CanAutoSize(int& NewWidth, int& NewHeight)
{
  SIZE s = GetMinimumSize();
  if (s.cx <= 0 || s.cy <= 0) return false;
  NewWidth = s.cx;
  NewHeight = s.cy;
  return true;
}

void TMonthCalendar::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      Message.Result = 0;
      if (hdr && (hdr->code == MCN_SELCHANGE || hdr->code == MCN_SELECT)) {
        FDate = TDateTime(std::trunc(SystemTime::ToDateTime(reinterpret_cast<NMSELCHANGE*>(hdr)->stSelStart).Value));
        if (hdr->code == MCN_SELECT && OnSelect) OnSelect(this);
      }
      return;
    }
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      AdjustSize();
      return;
    default: TWinControl::Dispatch(Message);
  }
}
