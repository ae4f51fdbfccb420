#include "platform/forms/app/Mouse.h"

#include "platform/win/input/Focus.h"
#include "platform/win/window/Metrics.h"

namespace Controls {
TMouse* Mouse = nullptr;
}

TMouse::TMouse() { SettingChanged(); }

void TMouse::SettingChanged()
{
  UINT lines = 0;
  if (Windows::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) FScrollLines = int(lines);
}

POINT TMouse::GetCursorPos() const
{
  POINT p;
  Windows::GetCursorPos(&p);
  return p;
}

void TMouse::SetCursorPos(const POINT& Value) { Windows::SetCursorPos(Value.x, Value.y); }

HWND TMouse::GetCapture() const { return Windows::GetCapture(); }

void TMouse::SetCapture(HWND Value)
{
  if (Windows::GetCapture() == Value) return;
  if (Value)
    Windows::SetCapture(Value);
  else
    Windows::ReleaseCapture();
}

bool TMouse::GetWheelPresent() const { return Windows::GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0; }
