// TDateTimePicker over the "SysDateTimePick32" window class: a date (short or long format,
// with a calendar that drops down, or with up-down arrows) or a time, edited field by field.
// With ShowCheckbox a tick box stands before the value; unticked, Checked is false and the
// value is kept for when it is ticked again.
//
// OnChange tells of each change the user makes (typing, arrows, the calendar, the tick box);
// setting DateTime, Date, Time or Checked from the program does not call it.
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/System.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TDateTimePicker : public TWinControl {
  PELTO_CLASS(TDateTimePicker, TWinControl)
public:
  explicit TDateTimePicker(TComponent* AOwner);

  TDateTimeKind GetKind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  TDTDateFormat GetDateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat Value);
  TDTDateMode GetDateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode Value);
  bool GetShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool Value);
  // Always true without the tick box.
  bool GetChecked() const { return FChecked || !FShowCheckbox; }
  void SetChecked(bool Value);

  // The whole value; Date is its day (the time kept when set), Time its time of day (the day
  // kept when set). Raises EConvertError for a value outside the years 1 to 9999.
  TDateTime GetDateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  TDateTime GetDate() const;
  void SetDate(TDateTime Value);
  TDateTime GetTime() const;
  void SetTime(TDateTime Value);
  // Whether the calendar is down.
  bool GetDroppedDown();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  PELTO_PUBLISHED(p)
  {
    p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).Default(true);
    p.Property("Date", &ThisClass::GetDate, &ThisClass::SetDate);
    p.Property("DateFormat", &ThisClass::GetDateFormat, &ThisClass::SetDateFormat).Default(dfShort);
    p.Property("DateMode", &ThisClass::GetDateMode, &ThisClass::SetDateMode).Default(dmComboBox);
    p.Property("Kind", &ThisClass::GetKind, &ThisClass::SetKind).Default(dtkDate);
    p.Property("ShowCheckbox", &ThisClass::GetShowCheckbox, &ThisClass::SetShowCheckbox).Default(false);
    p.Property("Time", &ThisClass::GetTime, &ThisClass::SetTime);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnCloseUp", TypeInfo_TNotifyEvent(), &ThisClass::OnCloseUp, &ThisClass::OnCloseUp);
    p.Property("OnDropDown", TypeInfo_TNotifyEvent(), &ThisClass::OnDropDown, &ThisClass::OnDropDown);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();

private:
  // Writes the value (or the unticked state) into the window.
  void UpdateWindow();
  void SetStyleValue(int& Field, int Value);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  TDateTime FDateTime;
  TDateTimeKind FKind = dtkDate;
  TDTDateFormat FDateFormat = dfShort;
  TDTDateMode FDateMode = dmComboBox;
  bool FShowCheckbox = false;
  bool FChecked = true;
};
