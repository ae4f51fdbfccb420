// TrackPopupMenu: a pop-up window of the menu class with its own modal loop.
#include <algorithm>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/menu/MenuData.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace {

const char* const kMenuClass = "#32768";
constexpr int kItemHeight = 20, kSeparatorHeight = 8, kBorder = 2;

struct Tracking {
  HMENU menu = nullptr;
  HWND owner = nullptr;
  UINT flags = 0;
  std::vector<RECT> rects;  // client coordinates
  int hot = -1;
  bool done = false;
  UINT_PTR chosen = 0;
};

Tracking* StateOf(HWND w) { return reinterpret_cast<Tracking*>(Windows::GetWindowLongPtr(w, GWL_USERDATA)); }

// The short-cut text after an item's tab ("" without one).
AnsiString KeyText(const AnsiString& text)
{
  size_t tab = text.find('\t');
  return tab == AnsiString::npos ? AnsiString() : text.substr(tab + 1);
}
constexpr int kKeyGap = 24;  // between the caption column and the short cuts

bool Selectable(const Menus::MenuItem& it) { return !(it.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }

int ItemAt(Tracking* t, POINT client)
{
  for (size_t i = 0; i < t->rects.size(); ++i) {
    const RECT& r = t->rects[i];
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom) return int(i);
  }
  return -1;
}

void SetHot(HWND w, Tracking* t, int hot)
{
  if (t->hot == hot) return;
  t->hot = hot;
  Windows::InvalidateRect(w, nullptr, TRUE);
  Menus::MenuData* m = Menus::Get(t->menu);
  if (hot >= 0 && m && !(t->flags & TPM_NONOTIFY)) {
    const auto& it = m->items[size_t(hot)];
    UINT id = (it.flags & MF_POPUP) ? UINT(hot) : UINT(it.id);
    Windows::SendMessage(t->owner, WM_MENUSELECT, MAKEWPARAM(int(id), int(it.flags & 0xFFFF)),
                         reinterpret_cast<LPARAM>(t->menu));
  }
}

void Choose(HWND w, Tracking* t, int index)
{
  Menus::MenuData* m = Menus::Get(t->menu);
  if (!m || index < 0 || size_t(index) >= m->items.size()) return;
  const Menus::MenuItem it = m->items[size_t(index)];
  if (!Selectable(it)) return;
  if (it.flags & MF_POPUP) {
    RECT r = t->rects[size_t(index)];
    POINT p{r.right, r.top};
    Windows::ClientToScreen(w, &p);
    UINT_PTR id = UINT_PTR(Windows::TrackPopupMenu(it.sub, t->flags | TPM_RETURNCMD, p.x, p.y, 0, t->owner, nullptr));
    if (id) {
      t->chosen = id;
      t->done = true;
    }
    return;
  }
  t->chosen = it.id;
  t->done = true;
}

void Move(HWND w, Tracking* t, int step)
{
  Menus::MenuData* m = Menus::Get(t->menu);
  if (!m || m->items.empty()) return;
  int n = int(m->items.size());
  int i = t->hot;
  for (int k = 0; k < n; ++k) {
    i = (i < 0 && step < 0) ? n - 1 : ((i + step) % n + n) % n;
    if (!(m->items[size_t(i)].flags & MF_SEPARATOR)) break;
  }
  SetHot(w, t, i);
}

LRESULT MenuProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
  Tracking* t = StateOf(w);
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
      if (!t) break;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      int i = ItemAt(t, p);
      if (i >= 0)
        SetHot(w, t, i);
      else if (HWND bar = Menus::T().barWnd) {
        // Over another item of the menu bar this pop-up came from: that item's opens instead.
        Windows::ClientToScreen(w, &p);
        int b = Menus::BarItemAt(bar, p);
        if (b >= 0 && b != Menus::T().barItem && Menus::IsBarPopup(bar, b)) {
          Menus::T().barSwitch = b;
          t->done = true;
        }
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!t) break;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT c;
      Windows::GetClientRect(w, &c);
      bool inside = p.x >= 0 && p.y >= 0 && p.x < c.right && p.y < c.bottom;
      bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN;
      if (!inside) {
        if (down) t->done = true;  // a click elsewhere cancels
        return 0;
      }
      if (!down && (msg == WM_LBUTTONUP || (t->flags & TPM_RIGHTBUTTON))) Choose(w, t, ItemAt(t, p));
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = Windows::BeginPaint(w, &ps);
      RECT c;
      Windows::GetClientRect(w, &c);
      Windows::FillRect(dc, &c, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
      RECT edge = c;
      Windows::DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
      Menus::MenuData* m = t ? Menus::Get(t->menu) : nullptr;
      HGDIOBJ oldFont = Windows::SelectObject(dc, Windows::GetStockObject(DEFAULT_GUI_FONT));
      Windows::SetBkMode(dc, TRANSPARENT);
      for (size_t i = 0; m && i < m->items.size(); ++i) {
        const auto& it = m->items[i];
        RECT r = t->rects[i];
        if (it.flags & MF_SEPARATOR) {
          RECT s{r.left + 2, (r.top + r.bottom) / 2 - 1, r.right - 2, (r.top + r.bottom) / 2 + 1};
          Windows::DrawEdge(dc, &s, EDGE_ETCHED, BF_TOP);
          continue;
        }
        bool hot = int(i) == t->hot;
        if (it.flags & MF_OWNERDRAW) {
          const UINT flags = it.flags;  // the owner may change the menu while it draws
          DRAWITEMSTRUCT di;
          di.CtlType = ODT_MENU;
          di.itemID = (it.flags & MF_POPUP) ? 0 : UINT(it.id);
          di.itemAction = ODA_DRAWENTIRE;
          di.itemState = (hot ? ODS_SELECTED : 0) | ((it.flags & MF_GRAYED) ? ODS_GRAYED : 0) |
                         ((it.flags & (MF_GRAYED | MF_DISABLED)) ? ODS_DISABLED : 0) |
                         ((it.flags & MF_CHECKED) ? ODS_CHECKED : 0) | ((it.flags & MF_DEFAULT) ? ODS_DEFAULT : 0);
          di.hwndItem = reinterpret_cast<HWND>(t->menu);
          di.hDC = dc;
          di.rcItem = r;
          di.itemData = it.data;
          int saved = Windows::SaveDC(dc);
          Windows::SendMessage(t->owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
          Windows::RestoreDC(dc, saved);
          if (!(m = Menus::Get(t->menu))) break;
          if (flags & MF_POPUP) {
            RECT arrow{r.right - 14, r.top + 3, r.right - 2, r.bottom - 3};
            Windows::DrawFrameControl(dc, &arrow, DFC_MENU, DFCS_MENUARROW);
          }
          continue;
        }
        if (hot) Windows::FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
        int colour = !Selectable(it) ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
        Windows::SetTextColor(dc, Windows::GetSysColor(colour));
        if (it.flags & MF_CHECKED) {
          RECT box{r.left + 2, r.top + 3, r.left + 16, r.bottom - 3};
          Windows::DrawFrameControl(dc, &box, DFC_MENU, DFCS_MENUCHECK);
        }
        // The default item is bold.
        HFONT bold = nullptr;
        if (it.flags & MF_DEFAULT) {
          LOGFONTA lf{};
          Windows::GetObject(static_cast<HFONT>(Windows::GetStockObject(DEFAULT_GUI_FONT)), &lf);
          lf.lfWeight = FW_BOLD;
          bold = Windows::CreateFontIndirect(lf);
          Windows::SelectObject(dc, bold);
        }
        AnsiString caption = it.text.substr(0, std::min(it.text.find('\t'), it.text.size()));
        AnsiString keys = KeyText(it.text);
        RECT tr{r.left + 20, r.top, r.right - 16, r.bottom};
        Windows::DrawText(dc, caption.c_str(), int(caption.size()), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (!keys.empty())
          Windows::DrawText(dc, keys.c_str(), int(keys.size()), &tr,
                            DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (bold) {
          Windows::SelectObject(dc, Windows::GetStockObject(DEFAULT_GUI_FONT));
          Windows::DeleteObject(bold);
        }
        if (it.flags & MF_POPUP) {
          RECT arrow{r.right - 14, r.top + 3, r.right - 2, r.bottom - 3};
          Windows::DrawFrameControl(dc, &arrow, DFC_MENU, DFCS_MENUARROW);
        }
      }
      Windows::SelectObject(dc, oldFont);
      Windows::EndPaint(w, &ps);
      return 0;
    }
    default: break;
  }
  return Windows::DefWindowProc(w, msg, wp, lp);
}

void EnsureClass()
{
  WNDCLASSEXA probe;
  if (Windows::GetClassInfoEx(nullptr, kMenuClass, &probe)) return;
  WNDCLASSEXA wc;
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = MenuProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  wc.lpszClassName = kMenuClass;
  Windows::RegisterClassEx(&wc);
}

// Handles a key for the menu; false lets the message through.
bool Key(HWND w, Tracking* t, const MSG& m)
{
  if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
    switch (int(m.wParam)) {
      case VK_UP: Move(w, t, -1); return true;
      case VK_DOWN: Move(w, t, 1); return true;
      case VK_RETURN: Choose(w, t, t->hot); return true;
      case VK_LEFT:
      case VK_RIGHT: {
        Menus::MenuData* md = Menus::Get(t->menu);
        bool right = m.wParam == WPARAM(VK_RIGHT);
        if (right && md && t->hot >= 0 && (md->items[size_t(t->hot)].flags & MF_POPUP)) {
          Choose(w, t, t->hot);
          return true;
        }
        // In the pop-up of a bar item: the neighbouring bar item with a pop-up opens.
        auto& tab = Menus::T();
        HWND bar = tab.barWnd;
        if (!bar || Windows::GetSubMenu(Windows::GetMenu(bar), tab.barItem) != t->menu) return true;
        int n = Windows::GetMenuItemCount(Windows::GetMenu(bar));
        for (int k = 1; k < n; ++k) {
          int i = ((tab.barItem + (right ? k : -k)) % n + n) % n;
          if (Menus::IsBarPopup(bar, i)) {
            tab.barSwitch = i;
            t->done = true;
            break;
          }
        }
        return true;
      }
      case VK_ESCAPE:
      case VK_MENU:
      case VK_F10: t->done = true; return true;
      default: {
        int vk = int(m.wParam);
        Menus::MenuData* md = Menus::Get(t->menu);
        if (!md) return true;
        for (size_t i = 0; i < md->items.size(); ++i) {
          if (Menus::Mnemonic(md->items[i].text) == char(vk)) {
            SetHot(w, t, int(i));
            Choose(w, t, int(i));
            break;
          }
        }
        return true;
      }
    }
  }
  return m.message == WM_KEYUP || m.message == WM_SYSKEYUP || m.message == WM_CHAR || m.message == WM_SYSCHAR;
}

}  // namespace

namespace Windows {

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
  Menus::MenuData* m = Menus::Get(menu);
  if (!m || !WindowData::Get(owner)) return FALSE;
  EnsureClass();
  Tracking t;
  t.menu = menu;
  t.owner = owner;
  t.flags = flags;
  bool notify = !(flags & TPM_NONOTIFY);
  if (notify) {
    SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
    SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    if (!(m = Menus::Get(menu)) || !WindowData::Get(owner)) return FALSE;
  }
  // Layout: one row per item; the captions in one column and the short-cut texts (after a tab)
  // right-aligned in a second.
  int captions = 0, keys = 0, y0 = kBorder;
  for (auto& it : m->items) {
    captions = std::max(captions, Menus::TextWidth(Menus::Visible(it.text)));
    keys = std::max(keys, Menus::TextWidth(KeyText(it.text)));
  }
  int width = std::max(80, captions + (keys ? keys + kKeyGap : 0) + 48);
  // Owner-drawn items say their own size (the owner may change the menu meanwhile).
  std::vector<int> heights;
  for (size_t i = 0; i < m->items.size(); ++i) {
    const auto& it = m->items[i];
    int h = (it.flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
    if ((it.flags & MF_OWNERDRAW) && !(it.flags & MF_SEPARATOR)) {
      MEASUREITEMSTRUCT mi;
      mi.CtlType = ODT_MENU;
      mi.itemID = (it.flags & MF_POPUP) ? 0 : UINT(it.id);
      mi.itemHeight = UINT(kItemHeight);
      mi.itemData = it.data;
      SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
      if (!(m = Menus::Get(menu)) || !WindowData::Get(owner)) return FALSE;
      h = std::max(1, int(mi.itemHeight));
      width = std::max(width, int(mi.itemWidth) + 2 * kBorder + ((it.flags & MF_POPUP) ? 16 : 0));
    }
    heights.push_back(h);
  }
  for (int h : heights) {
    t.rects.push_back({kBorder, y0, width - kBorder, y0 + h});
    y0 += h;
  }
  int height = y0 + kBorder;
  if (flags & TPM_RIGHTALIGN)
    x -= width;
  else if (flags & TPM_CENTERALIGN)
    x -= width / 2;
  if (flags & TPM_BOTTOMALIGN)
    y -= height;
  else if (flags & TPM_VCENTERALIGN)
    y -= height / 2;
  RECT wa = Backend::Current().WorkArea();
  x = std::max<int>(wa.left, std::min<int>(x, wa.right - width));
  y = std::max<int>(wa.top, std::min<int>(y, wa.bottom - height));
  HWND popup = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuClass, "", WS_POPUP, x, y,
                              width, height, owner, nullptr, nullptr, nullptr);
  if (!popup) return FALSE;
  SetWindowLongPtr(popup, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&t));
  ShowWindow(popup, SW_SHOWNA);
  HWND oldCapture = GetCapture();
  SetCapture(popup);
  Menus::T().endMenu = false;
  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (!t.done && IsWindow(popup) && !Menus::T().endMenu && Menus::T().barSwitch < 0) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      quit = true;  // handed on to the outer loop
      quitCode = int(msg.wParam);
      break;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && Key(popup, &t, msg)) continue;
    if (msg.message == WM_IME_CHAR) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (GetCapture() != popup && IsWindow(popup) && !t.done) {
      t.done = true;  // someone else took the mouse: the menu closes
    }
  }
  if (GetCapture() == popup) ReleaseCapture();
  if (oldCapture && IsWindow(oldCapture) && !GetCapture()) SetCapture(oldCapture);
  if (IsWindow(popup)) {
    SetWindowLongPtr(popup, GWL_USERDATA, 0);
    DestroyWindow(popup);
  }
  if (notify && IsWindow(owner)) {
    SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  if (quit) PostQuitMessage(quitCode);
  if (flags & TPM_RETURNCMD) return BOOL(t.chosen);
  if (t.chosen && IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(int(t.chosen), 0), 0);
  return t.chosen != 0;
}

BOOL EndMenu()
{
  Menus::T().endMenu = true;
  return TRUE;
}

}  // namespace Windows
