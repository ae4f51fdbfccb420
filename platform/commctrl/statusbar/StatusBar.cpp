#include "platform/commctrl/statusbar/StatusBar.h"

#include <algorithm>
#include <memory>
#include <cstring>
#include <utility>

#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/statusbar/StatusBarModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
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

struct StatusState {
  StatusBarModel Model;
  HFONT Font = nullptr;
  int MinHeight = 0;
  COLORREF Back = CLR_DEFAULT;
};

StatusState* StateOf(HWND wnd) { return ControlUtil::StateOf<StatusState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

int BarHeight(const StatusState* s) { return std::max(s->MinHeight, ControlUtil::FontCell(s->Font).cy + 7); }

bool HasGrip(HWND wnd)
{
  HWND parent = GetParent(wnd);
  return (Style(wnd) & SBARS_SIZEGRIP) && !(parent && (GetWindowLongPtr(parent, GWL_STYLE) & WS_MAXIMIZE));
}

// The grip's square at the bottom right of the client area.
RECT GripRect(HWND wnd)
{
  RECT c;
  GetClientRect(wnd, &c);
  int side = std::max(0, c.bottom - 2);
  return RECT{c.right - side, c.bottom - side, c.right, c.bottom};
}

// Along the parent's bottom (or top) at its client width, unless told to stay where it is.
void Align(HWND wnd, StatusState* s)
{
  DWORD style = Style(wnd);
  HWND parent = GetParent(wnd);
  if (!parent || (style & CCS_NOPARENTALIGN)) return;
  RECT p, w;
  GetClientRect(parent, &p);
  int h = (style & CCS_NORESIZE) ? 0 : BarHeight(s);
  GetWindowRect(wnd, &w);
  if (style & CCS_NORESIZE) h = w.bottom - w.top;
  int y = (style & 0x3) == CCS_TOP ? 0 : p.bottom - h;
  POINT at{w.left, w.top};
  ScreenToClient(parent, &at);
  if (at.x == 0 && at.y == y && w.right - w.left == p.right && w.bottom - w.top == h) return;
  SetWindowPos(wnd, nullptr, 0, y, p.right, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Left, then centred after a tab, then right-aligned after a second tab.
void DrawPartText(HDC dc, const AnsiString& text, RECT r, UINT flags)
{
  InflateRect(&r, -2, 0);
  const UINT align[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  std::size_t from = 0;
  for (int piece = 0; piece < 3 && from <= text.size(); ++piece) {
    std::size_t tab = (flags & SBT_NOTABPARSING) || piece == 2 ? AnsiString::npos : text.find('\t', from);
    AnsiString part = text.substr(from, tab == AnsiString::npos ? AnsiString::npos : tab - from);
    RECT t = r;
    DrawText(dc, part.c_str(), int(part.size()), &t, align[piece] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (tab == AnsiString::npos) break;
    from = tab + 1;
  }
}

void Paint(HWND wnd, StatusState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  CommonControls::FillSolid(dc, c, s->Back == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : s->Back);
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const StatusBarModel& m = s->Model;
  int count = m.Simple() ? 1 : m.PartCount();
  for (int i = 0; i < count; ++i) {
    RECT r;
    m.PartRect(i, c.right, c.bottom, &r);
    const StatusBarModel::Part* p = m.GetPart(m.Simple() ? SB_SIMPLEID : i);
    if (!(p->Flags & SBT_NOBORDERS))
      DrawEdge(dc, &r, (p->Flags & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    if (p->Flags & SBT_OWNERDRAW) {
      DRAWITEMSTRUCT di;
      di.CtlID = UINT(GetDlgCtrlID(wnd));
      di.itemID = UINT(m.Simple() ? SB_SIMPLEID : i);
      di.itemAction = ODA_DRAWENTIRE;
      di.hwndItem = wnd;
      di.hDC = dc;
      di.rcItem = inner;
      di.itemData = UINT_PTR(p->Data);
      SendMessage(GetParent(wnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
    } else {
      DrawPartText(dc, p->Text, inner, p->Flags);
    }
  }
  if (HasGrip(wnd)) {
    RECT g = GripRect(wnd);
    CommonControls::FillSolid(dc, g, s->Back == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : s->Back);
    DrawFrameControl(dc, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

LRESULT TextAnswer(const StatusBarModel::Part* p)
{
  if (!p) return 0;
  return MAKELPARAM(int(p->Text.size()), int(p->Flags & 0xFF00));
}

}  // namespace

namespace StatusBar {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    auto* s = ControlUtil::AttachState(wnd, std::make_unique<StatusState>());
    s->Model.SetText(0, GetWindowText(wnd), 0);
    Align(wnd, s);
    return 0;
  }
  StatusState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  StatusBarModel& m = s->Model;
  switch (msg) {
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<StatusState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam);
      Align(wnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_SIZE:
      Align(wnd, s);
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_NCHITTEST: {
      LRESULT hit = DefWindowProc(wnd, msg, wParam, lParam);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(wnd, &pt);
      RECT g = GripRect(wnd);
      if (hit == HTCLIENT && HasGrip(wnd) && PtInRect(&g, pt)) return HTBOTTOMRIGHT;
      return hit;
    }
    case WM_NCLBUTTONDOWN:
      // The grip sizes the parent, as its own bottom-right corner would.
      if (wParam == WPARAM(HTBOTTOMRIGHT) && GetParent(wnd))
        return SendMessage(GetParent(wnd), WM_NCLBUTTONDOWN, wParam, lParam);
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      m.SetText(0, text ? text : "", 0);
      InvalidateRect(wnd, nullptr, FALSE);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case SB_SETTEXT: {
      int part = int(wParam & 0xFF);
      UINT flags = UINT(wParam & 0xFF00);
      bool ok = (flags & SBT_OWNERDRAW) ? m.SetText(part, AnsiString(), flags, lParam)
                                        : m.SetText(part, lParam ? reinterpret_cast<const char*>(lParam) : "", flags);
      if (ok) InvalidateRect(wnd, nullptr, FALSE);
      return ok;
    }
    case SB_GETTEXT: {
      const StatusBarModel::Part* p = m.GetPart(int(wParam & 0xFF));
      if (!p) return 0;
      if (p->Flags & SBT_OWNERDRAW) return p->Data;
      if (lParam) std::memcpy(reinterpret_cast<char*>(lParam), p->Text.c_str(), p->Text.size() + 1);
      return TextAnswer(p);
    }
    case SB_GETTEXTLENGTH: return TextAnswer(m.GetPart(int(wParam & 0xFF)));
    case SB_SETPARTS:
      if (!m.SetParts(int(wParam), reinterpret_cast<const int*>(lParam))) return FALSE;
      InvalidateRect(wnd, nullptr, FALSE);
      return TRUE;
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lParam);
      for (int i = 0; out && i < int(wParam) && i < m.PartCount(); ++i) out[i] = m.Rights()[std::size_t(i)];
      return m.Simple() ? 1 : m.PartCount();
    }
    case SB_GETBORDERS: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out) return FALSE;
      out[0] = 0;
      out[1] = 2;
      out[2] = 2;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      s->MinHeight = int(wParam);
      Align(wnd, s);
      return 0;
    case SB_SIMPLE:
      m.SetSimple(wParam != 0);
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case SB_ISSIMPLE: return m.Simple();
    case SB_GETRECT: {
      RECT c;
      GetClientRect(wnd, &c);
      auto* out = reinterpret_cast<RECT*>(lParam);
      return out && m.PartRect(int(wParam), c.right, c.bottom, out);
    }
    case SB_SETBKCOLOR: {
      COLORREF old = std::exchange(s->Back, COLORREF(lParam));
      InvalidateRect(wnd, nullptr, FALSE);
      return old;
    }
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(STATUSCLASSNAME, WndProc); }

}  // namespace StatusBar
