// System metrics, the work area and monitors. There is one monitor: the back end's screen.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

// 0 for an unknown index.
int GetSystemMetrics(int index);
// SPI_GETWORKAREA (RECT*) and SPI_GETWHEELSCROLLLINES (UINT*); FALSE for anything else.
BOOL SystemParametersInfo(UINT action, UINT param, void* out, UINT winIni);
HMONITOR MonitorFromPoint(POINT pt, DWORD flags);
HMONITOR MonitorFromRect(const RECT* r, DWORD flags);
HMONITOR MonitorFromWindow(HWND wnd, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* out);

}  // namespace Windows
