#include "platform/win/window/Metrics.h"

#include "platform/win/backend/Backend.h"
#include "platform/win/window/WindowData.h"

namespace Windows {
namespace {
HMONITOR const kPrimary = reinterpret_cast<HMONITOR>(std::uintptr_t(0x40000));

bool OnScreen(POINT p)
{
  SIZE s = Backend::Current().ScreenSize();
  return p.x >= 0 && p.y >= 0 && p.x < s.cx && p.y < s.cy;
}
}  // namespace

int GetSystemMetrics(int index)
{
  SIZE s = Backend::Current().ScreenSize();
  RECT wa = Backend::Current().WorkArea();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return s.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return s.cy;
    case SM_CXFULLSCREEN: return wa.right - wa.left;
    case SM_CYFULLSCREEN: return wa.bottom - wa.top - 19;
    case SM_CXMAXIMIZED: return wa.right - wa.left + 8;
    case SM_CYMAXIMIZED: return wa.bottom - wa.top + 8;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CYSMCAPTION: return 16;
    case SM_CYMENU: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

BOOL SystemParametersInfo(UINT action, UINT, void* out, UINT)
{
  if (!out) return FALSE;
  if (action == SPI_GETWORKAREA) {
    *static_cast<RECT*>(out) = Backend::Current().WorkArea();
    return TRUE;
  }
  if (action == SPI_GETWHEELSCROLLLINES) {
    *static_cast<UINT*>(out) = 3;
    return TRUE;
  }
  return FALSE;
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags)
{
  if (!OnScreen(pt) && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return kPrimary;
}

HMONITOR MonitorFromRect(const RECT* r, DWORD flags)
{
  if (!r) return nullptr;
  SIZE s = Backend::Current().ScreenSize();
  bool meets = r->left < s.cx && r->top < s.cy && r->right > 0 && r->bottom > 0;
  if (!meets && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return kPrimary;
}

HMONITOR MonitorFromWindow(HWND wnd, DWORD flags)
{
  if (!WindowData::Get(wnd)) return flags == MONITOR_DEFAULTTONULL ? nullptr : kPrimary;
  RECT r = WindowData::ScreenRect(wnd);
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* out)
{
  if (monitor != kPrimary || !out) return FALSE;
  SIZE s = Backend::Current().ScreenSize();
  out->rcMonitor = {0, 0, s.cx, s.cy};
  out->rcWork = Backend::Current().WorkArea();
  out->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

}  // namespace Windows
