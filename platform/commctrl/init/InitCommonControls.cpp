#include "platform/commctrl/init/InitCommonControls.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/commctrl/tab/Tab.h"
#include "platform/commctrl/updown/UpDown.h"
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

}  // namespace CommonControls
