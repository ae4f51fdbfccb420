// TMonitor: one display of the desktop as the screen object lists it.
#pragma once

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

class TMonitor {
public:
  TMonitor(HMONITOR AHandle, int AMonitorNum) : FHandle(AHandle), FMonitorNum(AMonitorNum) {}

  HMONITOR GetHandle() const { return FHandle; }
  int GetMonitorNum() const { return FMonitorNum; }
  // Screen coordinates of the whole display and of the part windows are placed in (without
  // the task bar); asked anew each time, as the desktop may change.
  RECT GetBoundsRect() const;
  RECT GetWorkareaRect() const;
  int GetLeft() const { return GetBoundsRect().left; }
  int GetTop() const { return GetBoundsRect().top; }
  int GetWidth() const;
  int GetHeight() const;
  bool GetPrimary() const;

private:
  HMONITOR FHandle;
  int FMonitorNum;
};
