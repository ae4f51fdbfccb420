#include "platform/commctrl/common/ControlUtil.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace ControlUtil {

void RegisterControlClass(const char* name, WNDPROC proc, UINT style)
{
  WNDCLASSEXA wc;
  if (Windows::GetClassInfoEx(nullptr, name, &wc)) return;
  wc = WNDCLASSEXA{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hCursor = Windows::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  Windows::RegisterClassEx(&wc);
}

void Notify(HWND ctl, WORD code, HWND to)
{
  if (!to) to = Windows::GetParent(ctl);
  if (!to) return;
  Windows::SendMessage(to, WM_COMMAND, MAKEWPARAM(Windows::GetDlgCtrlID(ctl), code), reinterpret_cast<LPARAM>(ctl));
}

HFONT FontOr(HFONT font) { return font ? font : static_cast<HFONT>(Windows::GetStockObject(DEFAULT_GUI_FONT)); }

SIZE FontCell(HFONT font)
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, FontOr(font));
  TEXTMETRICA tm;
  Windows::GetTextMetrics(dc, &tm);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  return {tm.tmAveCharWidth, tm.tmHeight};
}

void SetFontFrom(HWND wnd, HFONT& slot, WPARAM wParam, LPARAM lParam)
{
  slot = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(lParam)) Windows::InvalidateRect(wnd, nullptr, TRUE);
}

}  // namespace ControlUtil
