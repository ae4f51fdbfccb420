// TMonthCalendar over the "SysMonthCal32" window class: one month with the selected Date.
// With AutoSize (the default) the control takes the size the window says one month needs in
// its font (MCM_GETMINREQRECT), borders added.
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/System.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TMonthCalendar : public TWinControl {
  PELTO_CLASS(TMonthCalendar, TWinControl)
public:
  explicit TMonthCalendar(TComponent* AOwner);

  // The selected day (no time). Raises EConvertError outside the years 1 to 9999.
  TDateTime GetDate() const { return FDate; }
  void SetDate(TDateTime Value);
  // The size one month needs in the present font, borders included; (0, 0) without a window.
  SIZE GetMinimumSize();

  // The user picked a day (a click released or Enter).
  TNotifyEvent OnSelect;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(true);
    p.Property("Date", &ThisClass::GetDate, &ThisClass::SetDate);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;

private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);
  TDateTime FDate;
};
