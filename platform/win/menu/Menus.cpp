#include "platform/win/menu/Menus.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/menu/MenuData.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Menus {

Table& T()
{
  static Table t;
  return t;
}

MenuData* Get(HMENU h)
{
  auto it = T().menus.find(h);
  return it == T().menus.end() ? nullptr : it->second.get();
}

// The item at `position` (MF_BYPOSITION) or with that id (searching sub-menus); `owner`
// receives the menu that holds it.
MenuItem* Find(HMENU menu, UINT position, UINT flags, HMENU* owner)
{
  MenuData* m = Get(menu);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size()) return nullptr;
    if (owner) *owner = menu;
    return &m->items[position];
  }
  for (auto& it : m->items) {
    if (!(it.flags & MF_POPUP) && it.id == position) {
      if (owner) *owner = menu;
      return &it;
    }
  }
  for (auto& it : m->items) {
    if (it.flags & MF_POPUP) {
      if (MenuItem* f = Find(it.sub, position, flags, owner)) return f;
    }
  }
  return nullptr;
}

int BarHeight(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || (w->style & WS_CHILD) || !Get(w->menu)) return 0;
  return Windows::GetSystemMetrics(SM_CYMENU);
}

AnsiString Visible(const AnsiString& text)
{
  AnsiString out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (System::IsLeadByte(text[i]) && i + 1 < text.size()) {
      out += text.substr(i, 2);
      ++i;
    } else if (text[i] == '&' && i + 1 < text.size()) {
      out += text[++i];
    } else if (text[i] == '\t') {
      break;
    } else {
      out += text[i];
    }
  }
  return out;
}

char Mnemonic(const AnsiString& text)
{
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (System::IsLeadByte(text[i])) {
      ++i;
    } else if (text[i] == '&' && text[i + 1] != '&') {
      char c = text[i + 1];
      return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    }
  }
  return 0;
}

int TextWidth(const AnsiString& s)
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, Windows::GetStockObject(DEFAULT_GUI_FONT));
  SIZE sz;
  Windows::GetTextExtentPoint32(dc, s.c_str(), int(s.size()), &sz);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  return sz.cx;
}

// Bar item rectangles in window coordinates, laid out left to right.
std::vector<RECT> BarLayout(HWND wnd)
{
  std::vector<RECT> out;
  WndData* w = WindowData::Get(wnd);
  MenuData* m = w ? Get(w->menu) : nullptr;
  if (!m || !BarHeight(wnd)) return out;
  RECT bar = NonClient::MenuBarRect(wnd);
  int x = bar.left + MdiDecorIndent(wnd);
  const HMENU menu = w->menu;
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    int wdt = (it.flags & MF_SEPARATOR) ? 0 : TextWidth(Visible(it.text)) + 16;
    if ((it.flags & MF_OWNERDRAW) && !(it.flags & MF_SEPARATOR)) {
      // The window measures its own bar items (an image beside the caption).
      MEASUREITEMSTRUCT mi{};
      mi.CtlType = ODT_MENU;
      mi.itemID = (it.flags & MF_POPUP) ? 0 : UINT(it.id);
      mi.itemHeight = UINT(bar.bottom - bar.top);
      mi.itemData = it.data;
      Windows::SendMessage(wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
      // The owner may have changed the menu meanwhile: start again from what it holds now.
      if (!WindowData::Get(wnd) || w->menu != menu || !(m = Get(menu)) || i >= m->items.size()) return {};
      wdt = int(mi.itemWidth);
    }
    out.push_back({x, bar.top, x + wdt, bar.bottom});
    x += wdt;
  }
  return out;
}

void PaintBar(HWND wnd, HDC dc, const RECT& barRect)
{
  WndData* w = WindowData::Get(wnd);
  MenuData* m = w ? Get(w->menu) : nullptr;
  if (!m) return;
  RECT bar = barRect;
  Windows::FillRect(dc, &bar, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
  auto rects = BarLayout(wnd);
  HGDIOBJ oldFont = Windows::SelectObject(dc, Windows::GetStockObject(DEFAULT_GUI_FONT));
  Windows::SetBkMode(dc, TRANSPARENT);
  const HMENU menu = w->menu;
  for (size_t i = 0; i < m->items.size() && i < rects.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (it.flags & MF_SEPARATOR) continue;
    RECT r = rects[i];
    bool open = T().barWnd == wnd && T().barItem == int(i);
    if (it.flags & MF_OWNERDRAW) {
      DRAWITEMSTRUCT di{};
      di.CtlType = ODT_MENU;
      di.itemID = (it.flags & MF_POPUP) ? 0 : UINT(it.id);
      di.itemAction = ODA_DRAWENTIRE;
      di.itemState = (open ? ODS_SELECTED : 0) | ((it.flags & MF_GRAYED) ? ODS_GRAYED : 0) |
                     ((it.flags & (MF_GRAYED | MF_DISABLED)) ? ODS_DISABLED : 0);
      di.hwndItem = reinterpret_cast<HWND>(menu);
      di.hDC = dc;
      di.rcItem = r;
      di.itemData = it.data;
      int saved = Windows::SaveDC(dc);
      Windows::SendMessage(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
      Windows::RestoreDC(dc, saved);
      if (!WindowData::Get(wnd) || w->menu != menu || !(m = Get(menu))) break;
      continue;
    }
    if (open) Windows::FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    Windows::SetTextColor(dc, Windows::GetSysColor((it.flags & MF_GRAYED) ? COLOR_GRAYTEXT
                                                   : open                 ? COLOR_HIGHLIGHTTEXT
                                                                          : COLOR_MENUTEXT));
    Windows::DrawText(dc, it.text.c_str(), int(it.text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  Windows::SelectObject(dc, oldFont);
  PaintMdiDecor(wnd, dc);
}

bool IsBarPopup(HWND wnd, int position)
{
  WndData* w = WindowData::Get(wnd);
  MenuData* m = w ? Get(w->menu) : nullptr;
  if (!m || position < 0 || size_t(position) >= m->items.size()) return false;
  UINT f = m->items[size_t(position)].flags;
  return (f & MF_POPUP) && !(f & (MF_GRAYED | MF_DISABLED));
}

void RepaintBar(HWND wnd)
{
  RECT bar = NonClient::MenuBarRect(wnd);
  if (bar.bottom <= bar.top) return;
  if (HDC dc = Windows::GetWindowDC(wnd)) {
    PaintBar(wnd, dc, bar);
    Windows::ReleaseDC(wnd, dc);
  }
}

int BarItemAt(HWND wnd, POINT screen)
{
  RECT wr = WindowData::ScreenRect(wnd);
  POINT p{screen.x - wr.left, screen.y - wr.top};
  auto rects = BarLayout(wnd);
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT& r = rects[i];
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return int(i);
  }
  return -1;
}

void ActivateBarItem(HWND wnd, int position)
{
  WndData* w = WindowData::Get(wnd);
  MenuData* m = w ? Get(w->menu) : nullptr;
  if (!m || position < 0 || size_t(position) >= m->items.size()) return;
  MenuItem it = m->items[size_t(position)];
  if (it.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) return;
  Windows::SendMessage(wnd, WM_INITMENU, reinterpret_cast<WPARAM>(w->menu), 0);
  if (it.flags & MF_POPUP) {
    // While a pop-up is open, moving onto another bar item closes it and opens that one.
    HWND outerWnd = T().barWnd;
    int outerItem = T().barItem;
    for (;;) {
      T().barWnd = wnd;
      T().barItem = position;
      T().barSwitch = -1;
      RepaintBar(wnd);
      RECT r;
      Windows::GetMenuItemRect(wnd, w->menu, UINT(position), &r);
      Windows::TrackPopupMenu(it.sub, TPM_LEFTALIGN, r.left, r.bottom, 0, wnd, nullptr);
      int next = T().barSwitch;
      T().barSwitch = -1;
      w = WindowData::Get(wnd);
      m = w ? Get(w->menu) : nullptr;
      if (next < 0 || !m || size_t(next) >= m->items.size()) break;
      it = m->items[size_t(next)];
      if (!IsBarPopup(wnd, next)) break;
      position = next;
    }
    T().barWnd = outerWnd;
    T().barItem = outerItem;
    if (Windows::IsWindow(wnd)) RepaintBar(wnd);
  } else {
    Windows::PostMessage(wnd, WM_COMMAND, MAKEWPARAM(int(it.id), 0), 0);
  }
}

void FreeMenu(HMENU h)
{
  MenuData* m = Get(h);
  if (!m) return;
  auto items = std::move(m->items);
  T().menus.erase(h);
  for (auto& it : items) {
    if (it.flags & MF_POPUP) FreeMenu(it.sub);
  }
}

void WindowGone(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (w && w->menu && !(w->style & WS_CHILD)) FreeMenu(w->menu);
  T().mdiChild.erase(wnd);
  for (auto it = T().mdiChild.begin(); it != T().mdiChild.end();) {
    it = it->second == wnd ? T().mdiChild.erase(it) : std::next(it);
  }
  if (T().barWnd == wnd) T().barWnd = nullptr;
}

void Reset()
{
  T().menus.clear();
  T().endMenu = true;
  T().barWnd = nullptr;
  T().barItem = T().barSwitch = -1;
  T().mdiChild.clear();
  T().decorFrame = nullptr;
  T().decorPressed = 0;
}

}  // namespace Menus

namespace Windows {

using Menus::Get;
using Menus::MenuData;
using Menus::MenuItem;

static HMENU NewMenu(bool popup)
{
  auto& t = Menus::T();
  t.next += 4;
  HMENU h = reinterpret_cast<HMENU>(t.next);
  auto m = std::make_unique<MenuData>();
  m->popup = popup;
  t.menus[h] = std::move(m);
  return h;
}

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu)
{
  if (!Get(menu)) return FALSE;
  Menus::FreeMenu(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return Get(menu) != nullptr; }

static bool MakeItem(UINT flags, UINT_PTR idOrSub, const char* text, MenuItem& out)
{
  out.flags = flags & ~MF_BYPOSITION;
  if (flags & MF_POPUP) {
    out.sub = reinterpret_cast<HMENU>(idOrSub);
    if (!Get(out.sub)) return false;
    out.id = 0;
  } else {
    out.id = idOrSub;
  }
  out.text = (flags & MF_SEPARATOR) || !text ? "" : text;
  return true;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSub, const char* text)
{
  MenuData* m = Get(menu);
  MenuItem it;
  if (!m || !MakeItem(flags, idOrSub, text, it)) return FALSE;
  m->items.push_back(it);
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* text)
{
  MenuData* m = Get(menu);
  MenuItem it;
  if (!m || !MakeItem(flags, idOrSub, text, it)) return FALSE;
  if (flags & MF_BYPOSITION) {
    size_t at = std::min<size_t>(position, m->items.size());  // past the end appends
    m->items.insert(m->items.begin() + std::ptrdiff_t(at), it);
    return TRUE;
  }
  HMENU holder = nullptr;
  MenuItem* before = Menus::Find(menu, position, MF_BYCOMMAND, &holder);
  if (!before) {
    m->items.push_back(it);
    return TRUE;
  }
  auto& items = Get(holder)->items;
  items.insert(items.begin() + (before - items.data()), it);
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* text)
{
  MenuItem* it = Menus::Find(menu, position, flags, nullptr);
  MenuItem n;
  if (!it || !MakeItem(flags, idOrSub, text, n)) return FALSE;
  if ((it->flags & MF_POPUP) && it->sub != n.sub) Menus::FreeMenu(it->sub);
  n.data = it->data;
  *it = n;
  return TRUE;
}

static BOOL Remove(HMENU menu, UINT position, UINT flags, bool free)
{
  HMENU holder = nullptr;
  MenuItem* it = Menus::Find(menu, position, flags, &holder);
  if (!it) return FALSE;
  HMENU sub = (it->flags & MF_POPUP) ? it->sub : nullptr;
  auto& items = Get(holder)->items;
  items.erase(items.begin() + (it - items.data()));
  if (sub && free) Menus::FreeMenu(sub);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }

int GetMenuItemCount(HMENU menu)
{
  MenuData* m = Get(menu);
  return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
  MenuData* m = Get(menu);
  if (!m || position < 0 || size_t(position) >= m->items.size()) return 0xFFFFFFFF;
  const MenuItem& it = m->items[size_t(position)];
  return (it.flags & MF_POPUP) ? 0xFFFFFFFF : UINT(it.id);
}

HMENU GetSubMenu(HMENU menu, int position)
{
  MenuData* m = Get(menu);
  if (!m || position < 0 || size_t(position) >= m->items.size()) return nullptr;
  const MenuItem& it = m->items[size_t(position)];
  return (it.flags & MF_POPUP) ? it.sub : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
  MenuItem* it = Menus::Find(menu, item, flags, nullptr);
  if (!it) return 0xFFFFFFFF;
  UINT s = it->flags &
           (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_HILITE | MF_DEFAULT | MF_OWNERDRAW);
  if (it->flags & MF_POPUP) s |= UINT(GetMenuItemCount(it->sub)) << 8;
  return s;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
  MenuItem* it = Menus::Find(menu, item, flags, nullptr);
  if (!it) return 0xFFFFFFFF;
  UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
  it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return old;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
  MenuItem* it = Menus::Find(menu, item, flags, nullptr);
  if (!it) return 0xFFFFFFFF;
  UINT old = it->flags & MF_CHECKED;
  it->flags = (it->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return old;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags)
{
  MenuItem* it = Menus::Find(menu, item, flags, nullptr);
  if (!it) return 0;
  if (!buffer || maxCount <= 0) return int(it->text.size());
  int n = std::min<int>(int(it->text.size()), maxCount - 1);
  std::memcpy(buffer, it->text.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info)
{
  MenuItem* it = info ? Menus::Find(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, nullptr) : nullptr;
  if (!it) return FALSE;
  if (info->fMask & MIIM_FTYPE) info->fType = it->flags & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBREAK);
  if (info->fMask & MIIM_STATE) info->fState = it->flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
  if (info->fMask & MIIM_ID) info->wID = it->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = (it->flags & MF_POPUP) ? it->sub : nullptr;
  if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info)
{
  MenuItem* it = info ? Menus::Find(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, nullptr) : nullptr;
  if (!it) return FALSE;
  if (info->fMask & MIIM_FTYPE) {
    constexpr UINT types = MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBREAK;
    it->flags = (it->flags & ~types) | (info->fType & types);
  }
  if (info->fMask & MIIM_STATE) {
    constexpr UINT states = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
    it->flags = (it->flags & ~states) | (info->fState & states);
  }
  if ((info->fMask & MIIM_ID) && !(it->flags & MF_POPUP)) it->id = info->wID;
  if (info->fMask & MIIM_DATA) it->data = info->dwItemData;
  return TRUE;
}

BOOL SetMenu(HWND wnd, HMENU menu)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || (w->style & WS_CHILD) || (menu && !Get(menu))) return FALSE;
  w->menu = menu;
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

HMENU GetMenu(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return (w && !(w->style & WS_CHILD)) ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND wnd)
{
  if (!Menus::BarHeight(wnd)) return FALSE;
  return RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

BOOL GetMenuItemRect(HWND wnd, HMENU menu, UINT position, RECT* out)
{
  if (!out || GetMenu(wnd) != menu || !menu) return FALSE;
  auto rects = Menus::BarLayout(wnd);
  if (position >= rects.size()) return FALSE;
  RECT wr = WindowData::ScreenRect(wnd);
  const RECT& r = rects[position];
  *out = {r.left + wr.left, r.top + wr.top, r.right + wr.left, r.bottom + wr.top};
  return TRUE;
}

}  // namespace Windows
