#include "platform/commctrl/init/InitCommonControls.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/datetime/DateTime.h"
#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/commctrl/tab/Tab.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace Windows {

void InitCommonControls()
{
  CommCtrl::Initialize();
  Progress::Register();
  StatusBar::Register();
  UpDown::Register();
  Tab::Register();
  TreeView::Register();
  MonthCal::Register();
  DateTimePicker::Register();
  ToolTips::Register();
  ToolBar::Register();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc)
{
  if (!icc || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  InitCommonControls();
  return TRUE;
}

}  // namespace Windows

namespace CommonControls {

LRESULT SendNotify(HWND ctl, NMHDR* hdr, UINT code)
{
  hdr->hwndFrom = ctl;
  hdr->idFrom = UINT_PTR(Windows::GetDlgCtrlID(ctl));
  hdr->code = code;
  HWND parent = Windows::GetParent(ctl);
  if (!parent) return 0;
  return Windows::SendMessage(parent, WM_NOTIFY, WPARAM(hdr->idFrom), reinterpret_cast<LPARAM>(hdr));
}

void RegisterControlClass(const char* name, WNDPROC proc)
{
  WNDCLASSEXA wc;
  if (Windows::GetClassInfoEx(nullptr, name, &wc)) return;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hCursor = Windows::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  Windows::RegisterClassEx(&wc);
}

void Paint(HWND wnd, WPARAM wParam, const std::function<void(HDC)>& paint)
{
  if (wParam) {
    paint(reinterpret_cast<HDC>(wParam));
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = Windows::BeginPaint(wnd, &ps);
  paint(dc);
  Windows::EndPaint(wnd, &ps);
}

void FillSolid(HDC dc, RECT r, COLORREF c)
{
  HBRUSH b = Windows::CreateSolidBrush(c);
  Windows::FillRect(dc, &r, b);
  Windows::DeleteObject(b);
}

}  // namespace CommonControls
