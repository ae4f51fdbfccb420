#include "platform/commctrl/tab/Tab.h"

#include <algorithm>
#include <memory>
#include <cstring>
#include <utility>

#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/tab/TabModel.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr int ArrowsWidth = 32, Padding = 6, Margin = 2;

struct TabState {
  TabModel Model;
  HFONT Font = nullptr;
  HIMAGELIST Images = nullptr;  // borrowed
  HWND Arrows = nullptr;        // the up-down shown when one row overflows
  int Height = 0;               // of a row of tabs
  HWND Tips = nullptr;          // with TCS_TOOLTIPS: a tool per tab, its id the tab's index
  bool OwnTips = false;
  int TipCount = 0;  // tools given to Tips
};

TabState* StateOf(HWND wnd) { return ControlUtil::StateOf<TabState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

void ImageSize(const TabState* s, int* cx, int* cy)
{
  *cx = *cy = 0;
  if (!ImageList_GetIconSize(s->Images, cx, cy)) *cx = *cy = 0;
}

// Gives each tab a tool of the tips over its rectangle (one row's hidden tabs none).
void SyncTips(HWND wnd, TabState* s)
{
  if (!s->Tips || !IsWindow(s->Tips)) return;
  int n = s->Model.Count();
  for (int i = 0; i < std::max(n, s->TipCount); ++i) {
    TOOLINFO ti;
    ti.hwnd = wnd;
    ti.uId = UINT_PTR(i);
    const TabModel::Item* it = s->Model.At(i);
    if (it && !IsRectEmpty(&it->Rect)) {
      ti.rect = it->Rect;
      ti.lpszText = LPSTR_TEXTCALLBACK;
      SendMessage(s->Tips, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
      SendMessage(s->Tips, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  s->TipCount = n;
}

// Measures the tabs, lays them out and shows or hides the scroll arrows.
void Relayout(HWND wnd, TabState* s)
{
  DWORD style = Style(wnd);
  int icx, icy;
  ImageSize(s, &icx, &icy);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ControlUtil::FontOr(s->Font));
  TEXTMETRICA tm;
  GetTextMetrics(dc, &tm);
  s->Height = std::max(int(tm.tmHeight), icy) + 7;
  for (int i = 0; i < s->Model.Count(); ++i) {
    TabModel::Item* it = s->Model.At(i);
    SIZE sz{0, 0};
    GetTextExtentPoint32(dc, it->Text.c_str(), int(it->Text.size()), &sz);
    it->Width = sz.cx + 2 * Padding + (it->Image >= 0 && icx ? icx + 3 : 0) + ((style & TCS_BUTTONS) ? 3 : 0);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  RECT c;
  GetClientRect(wnd, &c);
  bool multi = style & TCS_MULTILINE;
  s->Model.Layout(c.right, s->Height, multi, style & TCS_RAGGEDRIGHT, ArrowsWidth);
  if (s->Model.Overflow() && !multi) {
    if (!s->Arrows)
      s->Arrows = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | UDS_HORZ, 0, 0, 0, 0, wnd, nullptr, nullptr, nullptr);
    SetWindowPos(s->Arrows, nullptr, c.right - ArrowsWidth, Margin, ArrowsWidth, s->Height - 2,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SendMessage(s->Arrows, UDM_SETRANGE32, 0, s->Model.MaxFirst());
    SendMessage(s->Arrows, UDM_SETPOS32, 0, s->Model.First());
  } else if (s->Arrows) {
    ShowWindow(s->Arrows, SW_HIDE);
  }
  SyncTips(wnd, s);
  InvalidateRect(wnd, nullptr, FALSE);
}

// Scrolls one row so that tab `index` shows whole.
void ShowTab(HWND wnd, TabState* s, int index)
{
  TabModel& m = s->Model;
  if (!m.Overflow() || !m.At(index)) return;
  RECT c;
  GetClientRect(wnd, &c);
  if (index < m.First()) m.SetFirst(index);
  while (m.First() < m.MaxFirst() && m.At(index)->Rect.right > c.right - ArrowsWidth) {
    m.SetFirst(m.First() + 1);
    Relayout(wnd, s);
  }
  Relayout(wnd, s);
}

// A change of tab by the user: the parent may refuse it.
void Choose(HWND wnd, TabState* s, int index)
{
  TabModel& m = s->Model;
  if (!m.At(index) || index == m.Sel()) return;
  NMHDR nm;
  if (CommonControls::SendNotify(wnd, &nm, TCN_SELCHANGING)) return;
  m.SetSel(index);
  Relayout(wnd, s);
  ShowTab(wnd, s, index);
  CommonControls::SendNotify(wnd, &nm, TCN_SELCHANGE);
}

int Band(const TabState* s) { return Margin + s->Model.Rows() * s->Height; }

void AdjustRect(HWND wnd, TabState* s, bool larger, RECT* r)
{
  bool buttons = Style(wnd) & TCS_BUTTONS;
  int top = Band(s) + (buttons ? 3 : 2), side = buttons ? 0 : 2;
  int sign = larger ? -1 : 1;
  r->left += sign * side;
  r->right -= sign * side;
  r->top += sign * top;
  r->bottom -= sign * side;
}

void DrawItem(HWND wnd, TabState* s, HDC dc, int i, bool buttons)
{
  TabModel::Item* it = s->Model.At(i);
  bool sel = i == s->Model.Sel();
  RECT r = it->Rect;
  if (buttons) {
    InflateRect(&r, -1, 0);
    r.bottom -= 1;
    FillRect(dc, &r, GetSysColorBrush(sel ? COLOR_3DLIGHT : COLOR_BTNFACE));
    DrawEdge(dc, &r, sel ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else {
    if (sel) {
      // The selected tab stands out a little and joins the page.
      InflateRect(&r, 2, 0);
      r.top -= 2;
      r.bottom += 1;
    }
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
  }
  RECT t = r;
  InflateRect(&t, -Padding / 2, -2);
  if (sel && buttons) OffsetRect(&t, 1, 1);
  int icx, icy;
  ImageSize(s, &icx, &icy);
  SIZE sz{0, 0};
  GetTextExtentPoint32(dc, it->Text.c_str(), int(it->Text.size()), &sz);
  int content = sz.cx + (it->Image >= 0 && icx ? icx + 3 : 0);
  int x = t.left + std::max(0, (t.right - t.left - content) / 2);
  if (it->Image >= 0 && icx) {
    ImageList_Draw(s->Images, it->Image, dc, x, t.top + (t.bottom - t.top - icy) / 2, ILD_TRANSPARENT);
    x += icx + 3;
  }
  RECT text{x, t.top, t.right, t.bottom};
  DrawText(dc, it->Text.c_str(), int(it->Text.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (sel && GetFocus() == wnd) {
    RECT f{x - 2, t.top, std::min(int(t.right), x + int(sz.cx) + 2), t.bottom};
    DrawFocusRect(dc, &f);
  }
}

void Paint(HWND wnd, TabState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  DWORD style = Style(wnd);
  bool buttons = style & TCS_BUTTONS;
  FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
  if (!buttons) {
    RECT page{0, Band(s), c.right, c.bottom};
    DrawEdge(dc, &page, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(wnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  // One row's tabs stop short of the arrows.
  if (s->Model.Overflow() && !(style & TCS_MULTILINE)) IntersectClipRect(dc, 0, 0, c.right - ArrowsWidth, c.bottom);
  for (int i = 0; i < s->Model.Count(); ++i)
    if (i != s->Model.Sel()) DrawItem(wnd, s, dc, i, buttons);
  if (s->Model.At(s->Model.Sel())) DrawItem(wnd, s, dc, s->Model.Sel(), buttons);
}

void Fill(TabModel::Item& it, const TCITEM& ti)
{
  if (ti.mask & TCIF_TEXT) it.Text = ti.pszText ? ti.pszText : "";
  if (ti.mask & TCIF_IMAGE) it.Image = ti.iImage;
  if (ti.mask & TCIF_PARAM) it.Param = ti.lParam;
  if (ti.mask & TCIF_STATE) it.State = (it.State & ~ti.dwStateMask) | (ti.dwState & ti.dwStateMask);
}

}  // namespace

namespace Tab {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    auto* s = ControlUtil::AttachState(wnd, std::make_unique<TabState>());
    if (Style(wnd) & TCS_TOOLTIPS) {
      s->Tips = ToolTips::CreateOwned(wnd);
      s->OwnTips = s->Tips != nullptr;
    }
    Relayout(wnd, s);
    return 0;
  }
  TabState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  TabModel& m = s->Model;
  if (s->Tips) ToolTips::Relay(s->Tips, wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: ToolTips::DestroyOwned(s->Tips, s->OwnTips); return 0;
    case WM_NOTIFY: {
      // The tips ask the parent for a tab's text (idFrom the tab's index).
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      if (!hdr || !s->Tips || hdr->hwndFrom != s->Tips) return 0;
      HWND parent = GetParent(wnd);
      return parent ? SendMessage(parent, WM_NOTIFY, wParam, lParam) : 0;
    }
    case TCM_GETTOOLTIPS: return reinterpret_cast<LRESULT>(s->Tips);
    case TCM_SETTOOLTIPS:
      s->Tips = reinterpret_cast<HWND>(wParam);
      s->OwnTips = false;
      s->TipCount = 0;
      SyncTips(wnd, s);
      return 0;
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<TabState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      s->Font = reinterpret_cast<HFONT>(wParam);
      Relayout(wnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_SIZE: Relayout(wnd, s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(wnd, nullptr, FALSE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: {
      int hit = m.HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (hit < 0) return 0;
      if (!(Style(wnd) & TCS_FOCUSNEVER)) SetFocus(wnd);
      Choose(wnd, s, hit);
      return 0;
    }
    case WM_LBUTTONUP: {
      NMHDR nm;
      if (m.HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) >= 0)
        CommonControls::SendNotify(wnd, &nm, NM_CLICK);
      return 0;
    }
    case WM_KEYDOWN: {
      NMTCKEYDOWN kd;
      kd.wVKey = WORD(wParam);
      kd.flags = UINT(HIWORD(lParam));
      CommonControls::SendNotify(wnd, &kd.hdr, TCN_KEYDOWN);
      int n = m.Count();
      if (n == 0) return 0;
      if (wParam == VK_LEFT) Choose(wnd, s, std::max(0, m.Sel() - 1));
      if (wParam == VK_RIGHT) Choose(wnd, s, std::min(n - 1, m.Sel() + 1));
      if (wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0)
        Choose(wnd, s, (m.Sel() + (GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1)) % n);
      return 0;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == s->Arrows && LOWORD(wParam) == SB_THUMBPOSITION) {
        m.SetFirst(short(HIWORD(wParam)));
        Relayout(wnd, s);
      }
      return 0;
    case TCM_GETITEMCOUNT: return m.Count();
    case TCM_INSERTITEM: {
      auto* ti = reinterpret_cast<const TCITEM*>(lParam);
      if (!ti || int(wParam) < 0) return -1;
      TabModel::Item it;
      Fill(it, *ti);
      int at = m.Insert(int(wParam), std::move(it));
      Relayout(wnd, s);
      return at;
    }
    case TCM_SETITEM: {
      auto* ti = reinterpret_cast<const TCITEM*>(lParam);
      TabModel::Item* it = m.At(int(wParam));
      if (!ti || !it) return FALSE;
      Fill(*it, *ti);
      Relayout(wnd, s);
      return TRUE;
    }
    case TCM_GETITEM: {
      auto* ti = reinterpret_cast<TCITEM*>(lParam);
      const TabModel::Item* it = m.At(int(wParam));
      if (!ti || !it) return FALSE;
      if ((ti->mask & TCIF_TEXT) && ti->pszText && ti->cchTextMax > 0) {
        std::size_t n = std::min(it->Text.size(), std::size_t(ti->cchTextMax - 1));
        std::memcpy(ti->pszText, it->Text.data(), n);
        ti->pszText[n] = 0;
      }
      if (ti->mask & TCIF_IMAGE) ti->iImage = it->Image;
      if (ti->mask & TCIF_PARAM) ti->lParam = it->Param;
      if (ti->mask & TCIF_STATE) ti->dwState = it->State & ti->dwStateMask;
      return TRUE;
    }
    case TCM_DELETEITEM:
      if (!m.Delete(int(wParam))) return FALSE;
      Relayout(wnd, s);
      return TRUE;
    case TCM_DELETEALLITEMS:
      m.Clear();
      Relayout(wnd, s);
      return TRUE;
    case TCM_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      const TabModel::Item* it = m.At(int(wParam));
      if (!out || !it) return FALSE;
      *out = it->Rect;
      return TRUE;
    }
    case TCM_GETCURSEL: return m.Sel();
    case TCM_SETCURSEL: {
      int old = m.SetSel(int(wParam));
      if (m.At(int(wParam))) {
        Relayout(wnd, s);
        ShowTab(wnd, s, int(wParam));
      }
      return old;
    }
    case TCM_GETCURFOCUS: return m.Focus();
    case TCM_SETCURFOCUS:
      if (Style(wnd) & TCS_BUTTONS) {
        if (m.At(int(wParam))) m.SetFocus(int(wParam));
        InvalidateRect(wnd, nullptr, FALSE);
      } else {
        Choose(wnd, s, int(wParam));
      }
      return 0;
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!info) return -1;
      int hit = m.HitTest(info->pt);
      info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
      return hit;
    }
    case TCM_ADJUSTRECT:
      if (lParam) AdjustRect(wnd, s, wParam != 0, reinterpret_cast<RECT*>(lParam));
      return 0;
    case TCM_GETROWCOUNT: return m.Rows();
    case TCM_SETIMAGELIST: {
      HIMAGELIST old = std::exchange(s->Images, reinterpret_cast<HIMAGELIST>(lParam));
      Relayout(wnd, s);
      return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(s->Images);
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(WC_TABCONTROL, WndProc); }

}  // namespace Tab
