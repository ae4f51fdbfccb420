#include "platform/commctrl/edit/Edit.h"

#include "platform/win/window/Windows.h"

namespace Edit {

void Register()
{
  WNDCLASSEXA probe;
  if (Windows::GetClassInfoEx(nullptr, "EDIT", &probe)) return;
  WNDCLASSEXA wc;
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = WndProc;
  wc.lpszClassName = "EDIT";
  Windows::RegisterClassEx(&wc);
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  return Windows::DefWindowProc(wnd, msg, wParam, lParam);
}

}  // namespace Edit
