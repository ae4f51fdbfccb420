#include "platform/commctrl/CommCtrl.h"

#include "platform/commctrl/button/Button.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/commctrl/edit/Edit.h"
#include "platform/commctrl/listbox/ListBox.h"
#include "platform/commctrl/scrollbar/ScrollBarCtl.h"
#include "platform/commctrl/static/Static.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace CommCtrl {

void Initialize()
{
  Edit::Register();
  ListBox::Register();
  Button::Register();
  Static::Register();
  ScrollBarCtl::Register();
  ComboBox::Register();
}

HBRUSH ControlColor(HWND control, HDC dc, UINT msg)
{
  int back = COLOR_3DFACE;
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) back = COLOR_WINDOW;
  if (msg == WM_CTLCOLORSCROLLBAR) back = COLOR_SCROLLBAR;
  Windows::SetTextColor(dc, Windows::GetSysColor(COLOR_WINDOWTEXT));
  Windows::SetBkColor(dc, Windows::GetSysColor(back));
  HWND parent = Windows::GetParent(control);
  if (parent && (Windows::GetWindowLongPtr(control, GWL_STYLE) & WS_CHILD)) {
    LRESULT r = Windows::SendMessage(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (r) return reinterpret_cast<HBRUSH>(r);
  }
  return Windows::GetSysColorBrush(back);
}

}  // namespace CommCtrl
