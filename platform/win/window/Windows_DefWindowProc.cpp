// The default handling of window messages.
#include <algorithm>
#include <cstring>

#include "platform/gdi/draw/Shapes.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/window/CaptionButtons.h"
#include "platform/win/window/Rects.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Windows {

LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      if (p) {
        p->rgrc[0] = NonClient::ClientFor(w->style, w->exStyle, p->rgrc[0]);
        p->rgrc[0].top = std::min(p->rgrc[0].top + Menus::BarHeight(wnd), p->rgrc[0].bottom);
      }
      return 0;
    }
    case WM_NCHITTEST: return NonClient::HitTest(wnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: NonClient::Paint(wnd); return 0;
    case WM_NCACTIVATE:
      if (w->style & WS_VISIBLE) RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(wnd, &ps)) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH b = w->cls->wc.hbrBackground;
      if (!b) return 0;
      RECT r;
      GetClientRect(wnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, b);
      return 1;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if ((w->style & WS_CAPTION) == WS_CAPTION && (w->style & WS_VISIBLE))
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      // The native window's title (task bar, window list) follows.
      if (!w->parent && w->created) Backend::Current().TopLevelChanged(wnd);
      return TRUE;
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      auto* buf = reinterpret_cast<char*>(lParam);
      size_t n = std::min(w->text.size(), size_t(wParam) - 1);
      // Never cut a double-byte character in two.
      size_t i = 0;
      while (i < n) {
        size_t step = (System::IsLeadByte(w->text[i]) && i + 1 < w->text.size()) ? 2 : 1;
        if (i + step > n) break;
        i += step;
      }
      std::memcpy(buf, w->text.data(), i);
      buf[i] = 0;
      return LRESULT(i);
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!wp) return 0;
      RECT c = w->client;
      if (!(wp->flags & SWP_NOSIZE)) {
        WPARAM kind = (w->style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                      : (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                 : SIZE_RESTORED;
        SendMessage(wnd, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
      }
      if (!(wp->flags & SWP_NOMOVE) && (w = WindowData::Get(wnd))) {
        POINT o = w->parent ? POINT{w->rect.left + c.left, w->rect.top + c.top} : WindowData::ClientOrigin(wnd);
        SendMessage(wnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
      }
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* m = reinterpret_cast<MINMAXINFO*>(lParam);
      if (!m) return 0;
      m->ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      m->ptMaxPosition = {-4, -4};
      m->ptMinTrackSize = {GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
      m->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) + 12, GetSystemMetrics(SM_CYSCREEN) + 12};
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(wnd)) {
        HWND f = GetFocus();
        if (f != wnd && !IsChild(wnd, f)) SetFocus(wnd);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (w->parent && (w->style & WS_CHILD)) {
        LRESULT r = SendMessage(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (w->parent && (w->style & WS_CHILD) && SendMessage(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      short hit = short(LOWORD(WPARAM(lParam)));
      if (hit == HTCLIENT) {
        SetCursor(w->cls->wc.hCursor);
        return TRUE;
      }
      if (hit == HTERROR) return FALSE;
      const char* id = IDC_ARROW;
      switch (hit) {
        case HTLEFT:
        case HTRIGHT: id = IDC_SIZEWE; break;
        case HTTOP:
        case HTBOTTOM: id = IDC_SIZENS; break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: id = IDC_SIZENWSE; break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: id = IDC_SIZENESW; break;
        default: break;
      }
      SetCursor(LoadCursor(nullptr, id));
      return FALSE;
    }
    case WM_MOUSEWHEEL:
      if (w->parent && (w->style & WS_CHILD)) return SendMessage(w->parent, msg, wParam, lParam);
      return 0;
    case WM_IME_CHAR: {
      // A double-byte character reaches the window as its lead and then its trail byte.
      if (wParam > 0xFF) SendMessage(wnd, WM_CHAR, (wParam >> 8) & 0xFF, lParam);
      if (WindowData::Get(wnd)) SendMessage(wnd, WM_CHAR, wParam & 0xFF, lParam);
      return 0;
    }
    case WM_SETREDRAW: w->redrawOff = wParam ? 0 : 1; return 0;
    case WM_CLOSE: DestroyWindow(wnd); return 0;
    case WM_NCLBUTTONDOWN: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (wParam == WPARAM(HTMENU)) {
        if (LRESULT part = Menus::MdiDecorAt(wnd, pt); part != HTNOWHERE)
          Menus::ClickMdiDecor(wnd, part);
        else
          Menus::ActivateBarItem(wnd, Menus::BarItemAt(wnd, pt));
      } else if (wParam == WPARAM(HTCLOSE) || wParam == WPARAM(HTMAXBUTTON) || wParam == WPARAM(HTMINBUTTON))
        CaptionButtons::Click(wnd, LRESULT(wParam));
      else if (wParam == WPARAM(HTVSCROLL) || wParam == WPARAM(HTHSCROLL))
        ScrollBars::Track(wnd, wParam == WPARAM(HTVSCROLL) ? SB_VERT : SB_HORZ, pt);
      else if (!(w->style & WS_CHILD) || (w->exStyle & WS_EX_MDICHILD))
        NonClient::MoveSizeLoop(wnd, LRESULT(wParam), pt);
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      // The second click on a caption button is a press of its own.
      if (wParam == WPARAM(HTCLOSE) || wParam == WPARAM(HTMAXBUTTON) || wParam == WPARAM(HTMINBUTTON)) {
        CaptionButtons::Click(wnd, LRESULT(wParam));
      } else if (wParam == WPARAM(HTMENU)) {
        LRESULT part = Menus::MdiDecorAt(wnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (part != HTNOWHERE && part != HTSYSMENU) Menus::ClickMdiDecor(wnd, part);
      } else if (wParam == WPARAM(HTCAPTION) && (w->style & WS_MAXIMIZEBOX))
        SendMessage(wnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessage(wnd, WM_CLOSE, 0, 0); break;
        case SC_MAXIMIZE: ShowWindow(wnd, SW_MAXIMIZE); break;
        case SC_MINIMIZE: ShowWindow(wnd, SW_MINIMIZE); break;
        case SC_RESTORE: ShowWindow(wnd, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == wnd) ReleaseCapture();
      return 0;
    case WM_RBUTTONUP: {
      // The right button's release asks for the window's context menu, at the screen point.
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(wnd, &pt);
      SendMessage(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // The context-menu key (on its release) and Shift+F10 ask for the menu from the keyboard:
      // the point (-1, -1) tells the window to place it itself.
      if ((msg != WM_SYSKEYDOWN && wParam == VK_APPS) ||
          (msg == WM_SYSKEYDOWN && wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) >= 0))
        SendMessage(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), LPARAM(-1));
      return 0;
    case WM_CONTEXTMENU:
      // A child without a menu of its own leaves it to its parent.
      if (w->parent && (w->style & WS_CHILD)) return SendMessage(w->parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    default: return 0;
  }
}

}  // namespace Windows
