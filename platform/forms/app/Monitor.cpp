#include "platform/forms/app/Monitor.h"

#include "platform/win/window/Metrics.h"

namespace {
MONITORINFO InfoOf(HMONITOR monitor)
{
  MONITORINFO info;
  Windows::GetMonitorInfo(monitor, &info);
  return info;
}
}  // namespace

RECT TMonitor::GetBoundsRect() const { return InfoOf(FHandle).rcMonitor; }
RECT TMonitor::GetWorkareaRect() const { return InfoOf(FHandle).rcWork; }

int TMonitor::GetWidth() const
{
  RECT r = GetBoundsRect();
  return r.right - r.left;
}

int TMonitor::GetHeight() const
{
  RECT r = GetBoundsRect();
  return r.bottom - r.top;
}

bool TMonitor::GetPrimary() const { return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }
