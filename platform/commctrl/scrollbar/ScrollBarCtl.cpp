#include "platform/commctrl/scrollbar/ScrollBarCtl.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }
bool IsGrip(HWND wnd) { return Style(wnd) & (SBS_SIZEBOX | SBS_SIZEGRIP); }

// A key sends what the matching part of the bar would, then the end of the scroll.
void Key(HWND wnd, int vk)
{
  bool vert = Style(wnd) & SBS_VERT;
  int code = -1;
  switch (vk) {
    case VK_UP: code = vert ? SB_LINEUP : -1; break;
    case VK_DOWN: code = vert ? SB_LINEDOWN : -1; break;
    case VK_LEFT: code = vert ? -1 : SB_LINELEFT; break;
    case VK_RIGHT: code = vert ? -1 : SB_LINERIGHT; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    default: break;
  }
  HWND parent = GetParent(wnd);
  if (code < 0 || !parent) return;
  UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
  SendMessage(parent, msg, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(wnd));
  if (IsWindow(wnd)) SendMessage(parent, msg, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(wnd));
}

}  // namespace

namespace ScrollBarCtl {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  switch (msg) {
    case WM_CREATE:
      ScrollBars::MakeControl(wnd, Style(wnd) & SBS_VERT);
      if (Style(wnd) & WS_DISABLED) EnableScrollBar(wnd, SB_CTL, ESB_DISABLE_BOTH);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
      if (IsGrip(wnd)) {
        RECT c;
        GetClientRect(wnd, &c);
        FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
        if (Style(wnd) & SBS_SIZEGRIP) DrawFrameControl(dc, &c, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
      } else {
        // The parent may give the track its own brush.
        HBRUSH track = nullptr;
        if (HWND parent = GetParent(wnd))
          track = reinterpret_cast<HBRUSH>(
              SendMessage(parent, WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(wnd)));
        ScrollBars::PaintControl(wnd, dc, track);
      }
      if (!wParam) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ENABLE:
      EnableScrollBar(wnd, SB_CTL, wParam ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (IsGrip(wnd)) return 0;
      if ((Style(wnd) & WS_TABSTOP) && GetFocus() != wnd) SetFocus(wnd);
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(wnd, &p);
      ScrollBars::Track(wnd, SB_CTL, p);
      return 0;
    }
    case WM_KEYDOWN: Key(wnd, int(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case SBM_SETPOS: return SetScrollPos(wnd, SB_CTL, int(wParam), BOOL(lParam));
    case SBM_GETPOS: return GetScrollPos(wnd, SB_CTL);
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      int old = GetScrollPos(wnd, SB_CTL);
      SetScrollRange(wnd, SB_CTL, int(wParam), int(lParam), msg == SBM_SETRANGEREDRAW);
      return old;
    }
    case SBM_GETRANGE:
      GetScrollRange(wnd, SB_CTL, reinterpret_cast<int*>(wParam), reinterpret_cast<int*>(lParam));
      return 0;
    case SBM_ENABLE_ARROWS: return EnableScrollBar(wnd, SB_CTL, UINT(wParam));
    case SBM_SETSCROLLINFO:
      return SetScrollInfo(wnd, SB_CTL, reinterpret_cast<const SCROLLINFO*>(lParam), BOOL(wParam));
    case SBM_GETSCROLLINFO: return GetScrollInfo(wnd, SB_CTL, reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_GETSCROLLBARINFO: return GetScrollBarInfo(wnd, OBJID_CLIENT, reinterpret_cast<SCROLLBARINFO*>(lParam));
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { ControlUtil::RegisterControlClass("SCROLLBAR", WndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW); }

}  // namespace ScrollBarCtl
