#include "platform/win/window/NonClient.h"

#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/input/Focus.h"
#include "platform/win/window/CaptionButtons.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include <algorithm>
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/WindowData.h"

namespace NonClient {
namespace {

int BorderWidth(DWORD style, DWORD exStyle)
{
  int b = 0;
  if (style & WS_THICKFRAME)
    b += Windows::GetSystemMetrics(SM_CXFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    b += Windows::GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER)
    b += 1;
  if (exStyle & WS_EX_CLIENTEDGE) b += 2;
  if (exStyle & WS_EX_STATICEDGE) b += 1;
  return b;
}

// The rectangle inside the borders and below the caption (window coordinates).
RECT InnerFrame(WndData* w)
{
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  int b = BorderWidth(w->style, w->exStyle);
  r.left += b;
  r.top += b;
  r.right -= b;
  r.bottom -= b;
  if ((w->style & WS_CAPTION) == WS_CAPTION) r.top += Windows::GetSystemMetrics(SM_CYCAPTION);
  return r;
}

// Inside the borders, below the caption and the menu bar.
RECT Inner(WndData* w)
{
  RECT r = InnerFrame(w);
  r.top += Menus::BarHeight(w->handle);
  return r;
}

}  // namespace

RECT MenuBarRect(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  int h = w ? Menus::BarHeight(wnd) : 0;
  if (!h) return {};
  RECT in = InnerFrame(w);
  return {in.left, in.top, in.right, in.top + h};
}

RECT ClientFor(DWORD style, DWORD exStyle, RECT r)
{
  int b = BorderWidth(style, exStyle);
  r.left += b;
  r.top += b;
  r.right -= b;
  r.bottom -= b;
  if ((style & WS_CAPTION) == WS_CAPTION) r.top += Windows::GetSystemMetrics(SM_CYCAPTION);
  if (style & WS_VSCROLL) r.right -= Windows::GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) r.bottom -= Windows::GetSystemMetrics(SM_CYHSCROLL);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT VScrollRect(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !(w->style & WS_VSCROLL)) return {};
  RECT in = Inner(w);
  return {in.right - Windows::GetSystemMetrics(SM_CXVSCROLL), in.top, in.right,
          in.bottom - ((w->style & WS_HSCROLL) ? Windows::GetSystemMetrics(SM_CYHSCROLL) : 0)};
}

RECT HScrollRect(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !(w->style & WS_HSCROLL)) return {};
  RECT in = Inner(w);
  return {in.left, in.bottom - Windows::GetSystemMetrics(SM_CYHSCROLL),
          in.right - ((w->style & WS_VSCROLL) ? Windows::GetSystemMetrics(SM_CXVSCROLL) : 0), in.bottom};
}

RECT CloseButtonRect(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || (w->style & WS_CAPTION) != WS_CAPTION || !(w->style & WS_SYSMENU)) return {};
  RECT in = InnerFrame(w);
  int cap = Windows::GetSystemMetrics(SM_CYCAPTION);
  int bw = Windows::GetSystemMetrics(SM_CXSIZE) - 2, bh = cap - 5;
  return {in.right - 2 - bw, in.top - cap + 2, in.right - 2, in.top - cap + 2 + bh};
}

LRESULT HitTest(HWND wnd, POINT s)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return HTNOWHERE;
  RECT sr = WindowData::ScreenRect(wnd);
  POINT p{s.x - sr.left, s.y - sr.top};
  auto in = [&](const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; };
  RECT whole{0, 0, sr.right - sr.left, sr.bottom - sr.top};
  if (!in(whole)) return HTNOWHERE;
  if (in(w->client)) return HTCLIENT;
  if (in(VScrollRect(wnd))) return HTVSCROLL;
  if (in(HScrollRect(wnd))) return HTHSCROLL;
  if (in(MenuBarRect(wnd))) return HTMENU;
  for (LRESULT b : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON})
    if (in(CaptionButtons::Rect(wnd, b))) return b;
  RECT inner = InnerFrame(w);
  if ((w->style & WS_CAPTION) == WS_CAPTION && p.y < inner.top &&
      p.y >= inner.top - Windows::GetSystemMetrics(SM_CYCAPTION) && p.x >= inner.left && p.x < inner.right)
    return HTCAPTION;
  if (w->style & WS_THICKFRAME) {
    bool l = p.x < inner.left, r = p.x >= inner.right,
         t = p.y < inner.top - ((w->style & WS_CAPTION) == WS_CAPTION ? Windows::GetSystemMetrics(SM_CYCAPTION) : 0),
         b = p.y >= inner.bottom;
    if (t && l) return HTTOPLEFT;
    if (t && r) return HTTOPRIGHT;
    if (b && l) return HTBOTTOMLEFT;
    if (b && r) return HTBOTTOMRIGHT;
    if (l) return HTLEFT;
    if (r) return HTRIGHT;
    if (t) return HTTOP;
    if (b) return HTBOTTOM;
  }
  return HTBORDER;
}

void Paint(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return;
  HDC dc = Windows::GetWindowDC(wnd);
  if (!dc) return;
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  if (w->style & WS_THICKFRAME || w->style & WS_DLGFRAME || w->exStyle & WS_EX_DLGMODALFRAME) {
    Windows::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    Windows::FrameRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  } else if (w->style & WS_BORDER) {
    Windows::FrameRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOWFRAME + 1));
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    RECT e = Inner(w);
    e.left -= 2;
    e.top -= 2;
    e.right += 2;
    e.bottom += 2;
    Windows::DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
  }
  if (RECT bar = MenuBarRect(wnd); bar.bottom > bar.top) Menus::PaintBar(wnd, dc, bar);
  if ((w->style & WS_CAPTION) == WS_CAPTION) {
    RECT in = InnerFrame(w);
    RECT cap{in.left, in.top - Windows::GetSystemMetrics(SM_CYCAPTION), in.right, in.top};
    // An MDI child's caption is active while it is its client's active child.
    bool active = WindowData::State().active == wnd ||
                  ((w->exStyle & WS_EX_MDICHILD) && w->parent &&
                   Windows::SendMessage(w->parent, WM_MDIGETACTIVE, 0, 0) == reinterpret_cast<LRESULT>(wnd));
    Windows::FillRect(dc, &cap, reinterpret_cast<HBRUSH>((active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION) + 1));
    int textRight = cap.right;
    for (LRESULT b : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
      RECT br = CaptionButtons::Rect(wnd, b);
      if (br.right > br.left) textRight = br.left;
    }
    RECT text{cap.left + 4, cap.top, textRight - 2, cap.bottom};
    HGDIOBJ oldFont = Windows::SelectObject(dc, Windows::GetStockObject(DEFAULT_GUI_FONT));
    Windows::SetBkMode(dc, TRANSPARENT);
    Windows::SetTextColor(dc, Windows::GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    Windows::DrawText(dc, w->text.c_str(), int(w->text.size()), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    Windows::SelectObject(dc, oldFont);
    CaptionButtons::Paint(wnd, dc);
  }
  for (bool vert : {true, false}) {
    RECT bar = vert ? VScrollRect(wnd) : HScrollRect(wnd);
    if (bar.right <= bar.left) continue;
    SCROLLBARINFO sbi;
    if (!Windows::GetScrollBarInfo(wnd, vert ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) continue;
    ScrollBars::PaintBar(dc, bar, vert, sbi, (vert ? w->vscroll : w->hscroll).pressed);
  }
  if ((w->style & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL)) {
    RECT v = VScrollRect(wnd), h = HScrollRect(wnd);
    RECT corner{v.left, h.top, v.right, h.bottom};
    Windows::FillRect(dc, &corner, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
  Windows::ReleaseDC(wnd, dc);
}

void MoveSizeLoop(HWND wnd, LRESULT hit, POINT start)
{
  using namespace Windows;
  WndData* w = WindowData::Get(wnd);
  if (!w || (w->style & (WS_MAXIMIZE | WS_MINIMIZE))) return;
  bool sizing = hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
  if (!sizing && hit != HTCAPTION) return;
  const RECT orig = w->rect;
  MINMAXINFO mmi;
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
  mmi.ptMaxTrackSize = {100000, 100000};
  SendMessage(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  SendMessage(wnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(wnd);
  bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
  bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
  bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
  bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
  auto place = [&](POINT now) {
    int dx = now.x - start.x, dy = now.y - start.y;
    RECT r = orig;
    if (!sizing) {
      r = {orig.left + dx, orig.top + dy, orig.right + dx, orig.bottom + dy};
    } else {
      if (left)
        r.left = std::clamp<int>(orig.left + dx, orig.right - mmi.ptMaxTrackSize.x, orig.right - mmi.ptMinTrackSize.x);
      if (right)
        r.right = std::clamp<int>(orig.right + dx, orig.left + mmi.ptMinTrackSize.x, orig.left + mmi.ptMaxTrackSize.x);
      if (top)
        r.top = std::clamp<int>(orig.top + dy, orig.bottom - mmi.ptMaxTrackSize.y, orig.bottom - mmi.ptMinTrackSize.y);
      if (bottom)
        r.bottom = std::clamp<int>(orig.bottom + dy, orig.top + mmi.ptMinTrackSize.y, orig.top + mmi.ptMaxTrackSize.y);
    }
    SetWindowPos(wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  MSG m;
  while (IsWindow(wnd) && GetCapture() == wnd) {
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE && m.hwnd == wnd) {
      place(m.pt);
    } else if (m.message == WM_LBUTTONUP && m.hwnd == wnd) {
      place(m.pt);
      break;
    } else if (m.message == WM_KEYDOWN && m.wParam == WPARAM(VK_ESCAPE)) {
      SetWindowPos(wnd, nullptr, orig.left, orig.top, orig.right - orig.left, orig.bottom - orig.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    } else if (!(m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)) {
      DispatchMessage(&m);
    }
  }
  if (GetCapture() == wnd) ReleaseCapture();
  if (IsWindow(wnd)) SendMessage(wnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace NonClient
