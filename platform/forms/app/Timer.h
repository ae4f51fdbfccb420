// TTimer: a component that calls OnTimer every Interval milliseconds from the message loop.
//
// The timer runs while Enabled, Interval > 0 and OnTimer is assigned, and not at design time;
// changing any of them restarts the count. It ticks only while messages are retrieved (Run,
// ProcessMessages, a modal loop). An exception raised by OnTimer goes to the application's
// exception handling and the timer keeps running.
#pragma once

#include "platform/classes/Component.h"
#include "platform/win/WinUser.h"

// Not enough system resources for the request (a timer, a cursor).
PELTO_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

class TTimer : public TComponent {
  PELTO_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal GetInterval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Enabled", &ThisClass::GetEnabled, &ThisClass::SetEnabled).Default(true);
    p.Property("Interval", &ThisClass::GetInterval, &ThisClass::SetInterval).Default(1000);
    p.Property("OnTimer", TypeInfo_TNotifyEvent(), &ThisClass::GetOnTimer, &ThisClass::SetOnTimer);
  }

protected:
  // Calls OnTimer.
  virtual void Timer();
  void Loaded() override;

private:
  // Kills the running timer and starts it again when it should run.
  void UpdateTimer();

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindowHandle = nullptr;  // owned, the hidden window that gets WM_TIMER
};
