#include "platform/commctrl/static/Static.h"

#include <memory>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

struct StaticState {
  HFONT font = nullptr;
  HBITMAP image = nullptr;  // borrowed: the caller keeps it
};

StaticState* StateOf(HWND wnd) { return ControlUtil::StateOf<StaticState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

void FitToImage(HWND wnd, HBITMAP bmp)
{
  BITMAP bm;
  if (!bmp || !GetObject(bmp, &bm) || (Style(wnd) & SS_CENTERIMAGE)) return;
  // The control takes the picture's size (plus any border it has).
  RECT w, c;
  GetWindowRect(wnd, &w);
  GetClientRect(wnd, &c);
  int dx = (w.right - w.left) - c.right, dy = (w.bottom - w.top) - c.bottom;
  SetWindowPos(wnd, nullptr, 0, 0, bm.bmWidth + dx, bm.bmHeight + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintText(HWND wnd, HDC dc, RECT c, DWORD style)
{
  DWORD type = style & SS_TYPEMASK;
  UINT f = DT_EXPANDTABS;
  if (type == SS_CENTER) f |= DT_CENTER;
  if (type == SS_RIGHT) f |= DT_RIGHT;
  if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE) || (style & SS_ELLIPSISMASK))
    f |= DT_SINGLELINE;
  else
    f |= DT_WORDBREAK;
  if (style & SS_CENTERIMAGE) f |= DT_VCENTER;
  if (style & SS_NOPREFIX) f |= DT_NOPREFIX;
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: f |= DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: f |= DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: f |= DT_WORD_ELLIPSIS; break;
    default: break;
  }
  AnsiString text = GetWindowText(wnd);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(wnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawText(dc, text.c_str(), int(text.size()), &c, f);
}

void Paint(HWND wnd, StaticState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  DWORD style = Style(wnd);
  DWORD type = style & SS_TYPEMASK;
  SelectObject(dc, ControlUtil::FontOr(s->font));
  HBRUSH back = CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORSTATIC);
  if (style & SS_SUNKEN) {
    DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  switch (type) {
    case SS_BLACKRECT: FillRect(dc, &c, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillRect(dc, &c, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillRect(dc, &c, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); break;
    case SS_BLACKFRAME: FrameRect(dc, &c, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYFRAME: FrameRect(dc, &c, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITEFRAME: FrameRect(dc, &c, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); break;
    case SS_ETCHEDHORZ: DrawEdge(dc, &c, EDGE_ETCHED, BF_TOP); break;
    case SS_ETCHEDVERT: DrawEdge(dc, &c, EDGE_ETCHED, BF_LEFT); break;
    case SS_ETCHEDFRAME: DrawEdge(dc, &c, EDGE_ETCHED, BF_RECT); break;
    case SS_OWNERDRAW: {
      DRAWITEMSTRUCT di;
      di.CtlType = ODT_STATIC;
      di.CtlID = UINT(GetDlgCtrlID(wnd));
      di.itemAction = ODA_DRAWENTIRE;
      di.itemState = IsWindowEnabled(wnd) ? 0 : ODS_DISABLED;
      di.hwndItem = wnd;
      di.hDC = dc;
      di.rcItem = c;
      SendMessage(GetParent(wnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
      break;
    }
    case SS_BITMAP: {
      FillRect(dc, &c, back);
      BITMAP bm;
      if (!s->image || !GetObject(s->image, &bm)) break;
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, s->image);
      int x = c.left, y = c.top;
      if (style & SS_CENTERIMAGE) {
        x += (c.right - c.left - bm.bmWidth) / 2;
        y += (c.bottom - c.top - bm.bmHeight) / 2;
      }
      BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      break;
    }
    case SS_ICON: FillRect(dc, &c, back); break;
    default:
      FillRect(dc, &c, back);
      PaintText(wnd, dc, c, style);
      break;
  }
}

}  // namespace

namespace Static {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  StaticState* s = StateOf(wnd);
  if (!s && msg != WM_CREATE) return DefWindowProc(wnd, msg, wParam, lParam);
  DWORD style = Style(wnd);
  switch (msg) {
    case WM_CREATE: ControlUtil::AttachState(wnd, std::make_unique<StaticState>()); return 0;
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<StaticState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT: ControlUtil::SetFontFrom(wnd, s->font, wParam, lParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(wnd, msg, wParam, lParam);
      InvalidateRect(wnd, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE:
      InvalidateRect(wnd, nullptr, TRUE);
      if (style & SS_NOTIFY) ControlUtil::Notify(wnd, wParam ? STN_ENABLE : STN_DISABLE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
      Paint(wnd, s, dc);
      if (!wParam) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_NCHITTEST:
      if (!(style & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN: return 0;
    case WM_LBUTTONUP:
      if (style & SS_NOTIFY) ControlUtil::Notify(wnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (style & SS_NOTIFY) ControlUtil::Notify(wnd, STN_DBLCLK);
      return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETIMAGE: {
      if (wParam != IMAGE_BITMAP || (style & SS_TYPEMASK) != SS_BITMAP) return 0;
      HBITMAP old = s->image;
      s->image = reinterpret_cast<HBITMAP>(lParam);
      FitToImage(wnd, s->image);
      InvalidateRect(wnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE: return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(s->image) : 0;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { ControlUtil::RegisterControlClass("STATIC", WndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW); }

}  // namespace Static
