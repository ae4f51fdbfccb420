#include "platform/stdctrls/comctrls/DateTimePicker.h"

#include <cmath>

#include "platform/commctrl/datetime/DateTime.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/queue/Messages.h"

namespace {
// Day and time of day of a value: the time is never negative, also before 1899-12-30, so that
// a day and a time put together again give the same moment.
double DayOf(TDateTime Value) { return std::trunc(Value.Value); }
double TimeOfDayOf(TDateTime Value) { return std::fabs(Value.Value - std::trunc(Value.Value)); }
TDateTime Combine(double Day, double Time) { return TDateTime(Day >= 0 ? Day + Time : Day - Time); }

void CheckRange(TDateTime Value)
{
  if (!std::isfinite(Value.Value) || !SystemTime::IsValid(SystemTime::FromDateTime(Value)) || Value.Value < -693593.0 ||
      Value.Value >= 2958466.0)
    throw EConvertError("Invalid date or time");
}
}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(SysUtils::Now())
{
  ControlStyle = TControlStyle{csOpaque};
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

LRESULT TDateTimePicker::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, DATETIMEPICK_CLASS);
  if (FKind == dtkTime)
    Params.Style |= DTS_TIMEFORMAT;
  else {
    if (FDateFormat == dfLong) Params.Style |= DTS_LONGDATEFORMAT;
    if (FDateMode == dmUpDown) Params.Style |= DTS_UPDOWN;
  }
  if (FShowCheckbox) Params.Style |= DTS_SHOWNONE;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TDateTimePicker::UpdateWindow()
{
  if (!HandleAllocated()) return;
  SYSTEMTIME st = SystemTime::FromDateTime(FDateTime);
  Send(DTM_SETSYSTEMTIME, WPARAM(GDT_VALID), reinterpret_cast<LPARAM>(&st));
  if (FShowCheckbox && !FChecked) Send(DTM_SETSYSTEMTIME, WPARAM(GDT_NONE));
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
  if (FKind == Value) return;
  FKind = Value;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value)
{
  if (FDateFormat == Value) return;
  FDateFormat = Value;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value)
{
  if (FDateMode == Value) return;
  FDateMode = Value;
  RecreateWnd();
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
  if (FShowCheckbox == Value) return;
  FShowCheckbox = Value;
  RecreateWnd();
}

void TDateTimePicker::SetChecked(bool Value)
{
  FChecked = Value;
  if (FShowCheckbox) UpdateWindow();
}

void TDateTimePicker::SetDateTime(TDateTime Value)
{
  CheckRange(Value);
  FDateTime = Value;
  UpdateWindow();
}

TDateTime TDateTimePicker::GetDate() const { return TDateTime(DayOf(FDateTime)); }

void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(Combine(DayOf(Value), TimeOfDayOf(FDateTime))); }

TDateTime TDateTimePicker::GetTime() const { return TDateTime(TimeOfDayOf(FDateTime)); }

void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(Combine(DayOf(FDateTime), TimeOfDayOf(Value))); }

bool TDateTimePicker::GetDroppedDown() { return HandleAllocated() && Send(DTM_GETMONTHCAL) != 0; }

void TDateTimePicker::Change()
{
  if (OnChange) OnChange(this);
}

void TDateTimePicker::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
    Message.Result = 0;
    switch (hdr ? hdr->code : 0) {
      case DTN_DATETIMECHANGE: {
        auto* n = reinterpret_cast<NMDATETIMECHANGE*>(hdr);
        if (LRESULT(n->dwFlags) == GDT_VALID) {
          FDateTime = SystemTime::ToDateTime(n->st);
          FChecked = true;
        } else {
          FChecked = false;
        }
        Change();
        return;
      }
      case DTN_DROPDOWN:
        if (OnDropDown) OnDropDown(this);
        return;
      case DTN_CLOSEUP:
        if (OnCloseUp) OnCloseUp(this);
        return;
      default: break;
    }
  }
  TWinControl::Dispatch(Message);
}
