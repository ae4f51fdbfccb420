#include "platform/win/window/Windows.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/input/Focus.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/window/CaptionButtons.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"

namespace {

AnsiString Upper(const char* s)
{
  AnsiString r = s ? s : "";
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return r;
}

std::unordered_map<AnsiString, std::unique_ptr<WndClassData>>& Classes()
{
  static std::unordered_map<AnsiString, std::unique_ptr<WndClassData>> c;
  return c;
}

int gCascade = 0;

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// Sends WM_NCCALCSIZE and stores the client rectangle relative to the window.
void RecalcClient(HWND h)
{
  WndData* w = WindowData::Get(h);
  if (!w) return;
  NCCALCSIZE_PARAMS p;
  p.rgrc[0] = w->rect;
  Windows::SendMessage(h, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&p));
  if (!(w = WindowData::Get(h))) return;
  w->client = Offset(p.rgrc[0], -w->rect.left, -w->rect.top);
}

// Invalidates, in the parent (or on the screen), what the window covered at `oldScreen`.
void ExposeParent(HWND h, const RECT& oldScreen)
{
  WndData* w = WindowData::Get(h);
  if (!w || !w->parent) return;
  POINT o = WindowData::ClientOrigin(w->parent);
  RECT r = Offset(oldScreen, -o.x, -o.y);
  Windows::RedrawWindow(w->parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void RaiseInList(std::vector<HWND>& list, HWND h, HWND after)
{
  auto it = std::find(list.begin(), list.end(), h);
  if (it == list.end()) return;
  list.erase(it);
  WndData* w = WindowData::Get(h);
  auto topmost = [](HWND x) {
    WndData* d = WindowData::Get(x);
    return d && (d->exStyle & WS_EX_TOPMOST);
  };
  if (after == HWND_BOTTOM) {
    list.push_back(h);
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    // A non-topmost window goes below the topmost ones.
    auto pos = list.begin();
    if (w && !(w->exStyle & WS_EX_TOPMOST)) {
      while (pos != list.end() && topmost(*pos)) ++pos;
    }
    list.insert(pos, h);
  } else {
    auto pos = std::find(list.begin(), list.end(), after);
    list.insert(pos == list.end() ? list.begin() : pos + 1, h);
  }
}

// Where a maximized window (its parent's client area, or the work area) or a minimized one (a
// caption-sized stub at the bottom left) stands.
RECT MinMaxRect(WndData* w, bool maximize)
{
  RECT area = Backend::Current().WorkArea();
  if (w->parent) Windows::GetClientRect(w->parent, &area);
  if (maximize) return area;
  int h = Windows::GetSystemMetrics(SM_CYCAPTION) + 2 * Windows::GetSystemMetrics(SM_CYFRAME);
  return {area.left, area.bottom - h, area.left + 160, area.bottom};
}

}  // namespace

namespace WindowData {
WndClassData* FindClass(const char* name)
{
  auto it = Classes().find(Upper(name));
  return it == Classes().end() ? nullptr : it->second.get();
}
}  // namespace WindowData

namespace Windows {

ATOM RegisterClassEx(const WNDCLASSEXA* wc)
{
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) return 0;
  AnsiString key = Upper(wc->lpszClassName);
  if (Classes().count(key)) return 0;
  auto c = std::make_unique<WndClassData>();
  c->name = wc->lpszClassName;
  c->wc = *wc;
  c->wc.lpszClassName = nullptr;  // the name lives in `name`
  c->wc.lpszMenuName = nullptr;
  Classes()[key] = std::move(c);
  static ATOM next = 0xC000;
  return ++next;
}

BOOL UnregisterClass(const char* className, HINSTANCE)
{
  WndClassData* c = WindowData::FindClass(className);
  if (!c) return FALSE;
  for (HWND h : WindowData::All()) {
    if (WindowData::Get(h)->cls == c) return FALSE;
  }
  Classes().erase(Upper(className));
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, const char* className, WNDCLASSEXA* out)
{
  WndClassData* c = WindowData::FindClass(className);
  if (!c || !out) return FALSE;
  *out = c->wc;
  out->lpszClassName = c->name.c_str();
  return TRUE;
}

int GetClassName(HWND wnd, char* buffer, int maxCount)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !buffer || maxCount <= 0) return 0;
  int n = std::min<int>(int(w->cls->name.size()), maxCount - 1);
  std::memcpy(buffer, w->cls->name.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

LONG_PTR GetClassLongPtr(HWND wnd, int index)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE: return LONG_PTR(w->cls->wc.style);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<LONG_PTR>(w->cls->wc.hbrBackground);
    case GCLP_HCURSOR: return reinterpret_cast<LONG_PTR>(w->cls->wc.hCursor);
    case GCLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->cls->wc.lpfnWndProc);
    default: return 0;
  }
}

LONG_PTR SetClassLongPtr(HWND wnd, int index, LONG_PTR value)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return 0;
  LONG_PTR old = GetClassLongPtr(wnd, index);
  switch (index) {
    case GCL_STYLE: w->cls->wc.style = UINT(value); break;
    case GCLP_HBRBACKGROUND: w->cls->wc.hbrBackground = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: w->cls->wc.hCursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_WNDPROC: w->cls->wc.lpfnWndProc = reinterpret_cast<WNDPROC>(value); break;
    default: return 0;
  }
  return old;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param)
{
  WndClassData* cls = WindowData::FindClass(className);
  if (!cls && Mdi::EnsureClass(className)) cls = WindowData::FindClass(className);
  if (!cls) return nullptr;
  if (parent == HWND_MESSAGE) parent = nullptr;
  if (parent && !WindowData::Get(parent)) return nullptr;
  if ((style & WS_CHILD) && !parent) return nullptr;
  auto w = std::make_shared<WndData>();
  w->handle = WindowData::NewHandle();
  w->cls = cls;
  w->proc = cls->wc.lpfnWndProc;
  // Made at its given (restored) bounds first; maximized or minimized once it exists.
  w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  w->exStyle = exStyle;
  w->instance = instance;
  w->extra.assign(size_t(std::max(0, cls->wc.cbWndExtra) + sizeof(LONG_PTR) - 1) / sizeof(LONG_PTR), 0);
  if (style & WS_CHILD) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    // A pop-up or overlapped window is owned by the top-level window of the one given.
    w->owner = parent ? WindowData::TopLevelOf(parent) : nullptr;
    w->menu = menu;
    if (!(style & WS_POPUP)) w->style |= WS_CLIPSIBLINGS | WS_CAPTION;
    if (x == CW_USEDEFAULT) {
      x = y = 20 + 26 * (gCascade++ % 8);
    }
    if (width == CW_USEDEFAULT) {
      RECT wa = Backend::Current().WorkArea();
      width = (wa.right - wa.left) * 3 / 4;
      height = (wa.bottom - wa.top) * 3 / 4;
    }
  }
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  w->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
  w->text = windowName ? windowName : "";
  HWND h = w->handle;
  WindowData::Add(w);
  WindowData::SiblingList(w.get()).push_back(h);
  RaiseInList(WindowData::SiblingList(w.get()), h, HWND_TOP);

  CREATESTRUCTA cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  auto fail = [&]() -> HWND {
    DestroyWindow(h);
    return nullptr;
  };
  if (!w->parent) {
    MINMAXINFO mmi;
    SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  }
  if (!IsWindow(h)) return nullptr;
  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) return fail();
  if (!IsWindow(h)) return nullptr;
  RecalcClient(h);
  if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) return fail();
  if (!IsWindow(h)) return nullptr;
  w->created = true;
  if (!w->parent) {
    Painting::SurfaceResized(h);
    Backend::Current().TopLevelChanged(h);
  }
  RECT c = w->client;
  SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right - c.left, c.bottom - c.top));
  POINT o = w->parent ? POINT{w->rect.left + c.left, w->rect.top + c.top} : WindowData::ClientOrigin(h);
  SendMessage(h, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
  if (w->parent && !(exStyle & WS_EX_NOPARENTNOTIFY)) {
    SendMessage(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(w->id)), reinterpret_cast<LPARAM>(h));
  }
  if (!IsWindow(h)) return nullptr;
  if (style & (WS_MAXIMIZE | WS_MINIMIZE)) {
    // The given bounds stay the restored ones: a later restore goes back to them.
    w->normal = w->rect;
    bool max = style & WS_MAXIMIZE;
    RECT to = MinMaxRect(w.get(), max);
    w->style |= max ? WS_MAXIMIZE : WS_MINIMIZE;
    SetWindowPos(h, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!IsWindow(h)) return nullptr;
  }
  if (style & WS_VISIBLE) {
    ShowWindow(h, (exStyle & WS_EX_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  }
  return IsWindow(h) ? h : nullptr;
}

BOOL IsWindow(HWND wnd) { return WindowData::Get(wnd) != nullptr; }

}  // namespace Windows

namespace {

void SendDestroy(HWND h)
{
  WindowData::Ptr w = WindowData::Find(h);
  if (!w) return;
  Windows::SendMessage(h, WM_DESTROY, 0, 0);
  auto kids = w->children;
  for (HWND c : kids) SendDestroy(c);
}

void SendNcDestroy(HWND h)
{
  WindowData::Ptr w = WindowData::Find(h);
  if (!w) return;
  auto kids = w->children;
  for (HWND c : kids) SendNcDestroy(c);
  Windows::SendMessage(h, WM_NCDESTROY, 0, 0);
  Menus::WindowGone(h);
  CaptionButtons::WindowGone(h);
  MessageQueue::ForgetWindow(h);
  if (!w->parent) {
    Backend::Current().TopLevelDestroyed(h);
    Painting::SurfaceGone(h);
  }
  auto& sib = WindowData::SiblingList(w.get());
  sib.erase(std::remove(sib.begin(), sib.end(), h), sib.end());
  WindowData::Remove(h);
}

void MarkDestroying(HWND h)
{
  WndData* w = WindowData::Get(h);
  if (!w) return;
  w->destroying = true;
  for (HWND c : w->children) MarkDestroying(c);
}

}  // namespace

namespace Windows {

BOOL DestroyWindow(HWND wnd)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w || w->destroying) return w ? TRUE : FALSE;
  // Owned windows go first.
  for (HWND h : WindowData::All()) {
    WndData* o = WindowData::Get(h);
    if (o && o->owner == wnd && !o->destroying) DestroyWindow(h);
  }
  if (!WindowData::Get(wnd)) return TRUE;
  if (w->parent && !(w->exStyle & WS_EX_NOPARENTNOTIFY) && w->created) {
    SendMessage(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(w->id)), reinterpret_cast<LPARAM>(wnd));
  }
  if (w->style & WS_VISIBLE) {
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  }
  MarkDestroying(wnd);
  Focus::WindowGoing(wnd);
  Carets::WindowGoing(wnd);
  SendDestroy(wnd);
  SendNcDestroy(wnd);
  return TRUE;
}

LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  return proc ? proc(wnd, msg, wParam, lParam) : 0;
}

HWND GetParent(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent)
{
  WindowData::Ptr w = WindowData::Find(child);
  if (!w || (newParent && !WindowData::Get(newParent))) return nullptr;
  if (newParent == child || (newParent && WindowData::IsDescendant(child, newParent))) return nullptr;
  HWND old = w->parent;
  bool visible = w->style & WS_VISIBLE;
  if (visible) ShowWindow(child, SW_HIDE);
  auto& from = WindowData::SiblingList(w.get());
  from.erase(std::remove(from.begin(), from.end(), child), from.end());
  if (!old) {
    Painting::SurfaceGone(child);
    Backend::Current().TopLevelDestroyed(child);
  }
  // The position keeps its numbers, now in the new parent's coordinates.
  w->parent = newParent;
  if (newParent)
    w->style = (w->style | WS_CHILD) & ~WS_POPUP;
  else
    w->style &= ~WS_CHILD;
  WindowData::SiblingList(w.get()).insert(WindowData::SiblingList(w.get()).begin(), child);
  if (!newParent) {
    Painting::SurfaceResized(child);
    Backend::Current().TopLevelChanged(child);
  }
  if (visible) ShowWindow(child, SW_SHOWNA);
  return old ? old : GetDesktopWindow();
}

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(std::uintptr_t(0x10000)); }

HWND GetAncestor(HWND wnd, UINT flags)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent : GetDesktopWindow();
    case GA_ROOT: return WindowData::TopLevelOf(wnd);
    case GA_ROOTOWNER: {
      HWND h = WindowData::TopLevelOf(wnd);
      while (WndData* d = WindowData::Get(h)) {
        if (!d->owner) break;
        h = d->owner;
      }
      return h;
    }
    default: return nullptr;
  }
}

HWND GetWindow(HWND wnd, UINT cmd)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return nullptr;
  if (cmd == GW_OWNER) return w->owner;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  auto& s = WindowData::SiblingList(w);
  auto it = std::find(s.begin(), s.end(), wnd);
  switch (cmd) {
    case GW_HWNDFIRST: return s.front();
    case GW_HWNDLAST: return s.back();
    case GW_HWNDNEXT: return (it + 1 < s.end()) ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return it == s.begin() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND wnd)
{
  if (!wnd) return WindowData::TopLevel().empty() ? nullptr : WindowData::TopLevel().front();
  return GetWindow(wnd, GW_CHILD);
}

BOOL IsChild(HWND parent, HWND wnd) { return WindowData::Get(parent) && WindowData::IsDescendant(parent, wnd); }

std::vector<HWND> GetChildWindows(HWND parent)
{
  WndData* w = WindowData::Get(parent);
  return w ? w->children : std::vector<HWND>{};
}

HWND GetDlgItem(HWND parent, int id)
{
  WndData* w = WindowData::Get(parent);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    if (WindowData::Get(c)->id == id) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return w && w->parent ? int(w->id) : 0;
}

BOOL SetWindowPos(HWND wnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w) return FALSE;
  WINDOWPOS wp;
  wp.hwnd = wnd;
  wp.hwndInsertAfter = after;
  wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
  wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
  wp.cx = (flags & SWP_NOSIZE) ? w->rect.right - w->rect.left : std::max(0, cx);
  wp.cy = (flags & SWP_NOSIZE) ? w->rect.bottom - w->rect.top : std::max(0, cy);
  bool visible = w->style & WS_VISIBLE;
  if ((flags & SWP_SHOWWINDOW) && visible) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !visible) flags &= ~SWP_HIDEWINDOW;
  wp.flags = flags;
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!WindowData::Get(wnd)) return FALSE;
  }
  flags = wp.flags;
  RECT oldScreen = WindowData::ScreenRect(wnd);
  RECT oldRect = w->rect;
  RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  bool moved = !(newRect == oldRect);
  bool sized = (newRect.right - newRect.left != oldRect.right - oldRect.left) ||
               (newRect.bottom - newRect.top != oldRect.bottom - oldRect.top);
  w->rect = newRect;
  if (!(flags & SWP_NOZORDER)) {
    if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
    if (after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
    RaiseInList(WindowData::SiblingList(w.get()), wnd, after);
  }
  if (moved || (flags & SWP_FRAMECHANGED)) RecalcClient(wnd);
  if (!WindowData::Get(wnd)) return FALSE;
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) {
    w->style &= ~WS_VISIBLE;
    Focus::WindowGoing(wnd);
  }
  if (!w->parent && (sized || !w->created)) Painting::SurfaceResized(wnd);
  if (!w->parent) Backend::Current().TopLevelChanged(wnd);
  bool nowVisible = w->style & WS_VISIBLE;
  if (!(flags & SWP_NOREDRAW)) {
    if (nowVisible && (moved || (flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) || !(flags & SWP_NOZORDER))) {
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if ((visible && (moved || (flags & SWP_HIDEWINDOW))) && w->parent) {
      ExposeParent(wnd, oldScreen);
    }
  }
  wp.flags = flags;
  if (!(moved || sized))
    wp.flags |= SWP_NOMOVE | SWP_NOSIZE;
  else {
    if (!sized) wp.flags |= SWP_NOSIZE;
    if (newRect.left == oldRect.left && newRect.top == oldRect.top) wp.flags |= SWP_NOMOVE;
  }
  SendMessage(wnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint)
{
  return SetWindowPos(wnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND wnd) { return SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND wnd, int cmd)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w) return FALSE;
  bool was = w->style & WS_VISIBLE;
  bool show = cmd != SW_HIDE;
  bool activate = show && !w->parent && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
                  !(w->exStyle & WS_EX_NOACTIVATE);
  bool maximize = cmd == SW_MAXIMIZE,
       minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
  bool restore = (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) && (w->style & (WS_MAXIMIZE | WS_MINIMIZE));
  if ((maximize && !(w->style & WS_MAXIMIZE)) || (minimize && !(w->style & WS_MINIMIZE)) || restore) {
    if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) w->normal = w->rect;
    RECT to = (maximize || minimize) ? MinMaxRect(w.get(), maximize) : w->normal;
    w->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
    if (maximize) w->style |= WS_MAXIMIZE;
    if (minimize) w->style |= WS_MINIMIZE;
    if (!was) SendMessage(wnd, WM_SHOWWINDOW, TRUE, 0);
    if (!IsWindow(wnd)) return was;
    SetWindowPos(wnd, HWND_TOP, to.left, to.top, to.right - to.left, to.bottom - to.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (minimize) activate = false;
  } else if (show != was) {
    SendMessage(wnd, WM_SHOWWINDOW, show, 0);
    if (!IsWindow(wnd)) return was;
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  if (!IsWindow(wnd)) return was;
  if (activate) SetActiveWindow(wnd);
  if (!show && WindowData::State().active == wnd) {
    // The activation passes to the topmost other visible top-level window.
    for (HWND t : WindowData::TopLevel()) {
      if (t != wnd && IsWindowVisible(t) && IsWindowEnabled(t)) {
        SetActiveWindow(t);
        break;
      }
    }
  }
  return was;
}

BOOL IsWindowVisible(HWND wnd) { return WindowData::IsVisibleChain(wnd); }
BOOL IsIconic(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return w && (w->style & WS_MINIMIZE);
}
BOOL IsZoomed(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL EnableWindow(HWND wnd, BOOL enable)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return FALSE;
  bool wasDisabled = w->style & WS_DISABLED;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    HWND f = WindowData::State().focus;
    if (f == wnd || WindowData::IsDescendant(wnd, f)) SetFocus(nullptr);
    if (WindowData::State().capture == wnd) ReleaseCapture();
  }
  SendMessage(wnd, WM_ENABLE, enable, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL GetWindowRect(HWND wnd, RECT* out)
{
  if (!WindowData::Get(wnd) || !out) return FALSE;
  *out = WindowData::ScreenRect(wnd);
  return TRUE;
}

BOOL GetClientRect(HWND wnd, RECT* out)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !out) return FALSE;
  *out = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND wnd, POINT* pt)
{
  if (!WindowData::Get(wnd) || !pt) return FALSE;
  POINT o = WindowData::ClientOrigin(wnd);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND wnd, POINT* pt)
{
  if (!WindowData::Get(wnd) || !pt) return FALSE;
  POINT o = WindowData::ClientOrigin(wnd);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count)
{
  POINT a = from ? WindowData::ClientOrigin(from) : POINT{};
  POINT b = to ? WindowData::ClientOrigin(to) : POINT{};
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return int(MAKELPARAM(dx, dy));
}

}  // namespace Windows

namespace {

bool InWindowShape(HWND h, POINT screen)
{
  WndData* w = WindowData::Get(h);
  RECT r = WindowData::ScreenRect(h);
  if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) return false;
  return !w->windowRgn || Windows::PtInRegion(w->windowRgn, screen.x - r.left, screen.y - r.top);
}

// The deepest window under the point inside `h` (which contains it), asked once with
// WM_NCHITTEST; a window answering HTTRANSPARENT lets the search go on beneath it.
HWND HitIn(HWND h, POINT screen, LRESULT* hit)
{
  WndData* w = WindowData::Get(h);
  if (!(w->style & WS_DISABLED)) {
    RECT pr = WindowData::ScreenRect(h);
    RECT c = Offset(w->client, pr.left, pr.top);
    if (screen.x >= c.left && screen.x < c.right && screen.y >= c.top && screen.y < c.bottom) {
      for (HWND ch : std::vector<HWND>(w->children)) {
        WndData* d = WindowData::Get(ch);
        if (!d || !(d->style & WS_VISIBLE) || (d->exStyle & WS_EX_TRANSPARENT) || !InWindowShape(ch, screen)) continue;
        if (HWND found = HitIn(ch, screen, hit)) return found;
      }
    }
  }
  LRESULT code = Windows::SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (code == HTTRANSPARENT || !WindowData::Get(h)) return nullptr;
  if (hit) *hit = code;
  return h;
}

}  // namespace

HWND WindowList::HitTest(POINT pt, LRESULT* hit)
{
  for (HWND t : std::vector<HWND>(WindowData::TopLevel())) {
    WndData* d = WindowData::Get(t);
    if (!d || !(d->style & WS_VISIBLE) || !InWindowShape(t, pt)) continue;
    if (HWND found = HitIn(t, pt, hit)) return found;
  }
  return nullptr;
}

namespace Windows {

HWND WindowFromPoint(POINT pt) { return WindowList::HitTest(pt, nullptr); }

HWND ChildWindowFromPoint(HWND parent, POINT p)
{
  WndData* w = WindowData::Get(parent);
  if (!w) return nullptr;
  POINT s = p;
  ClientToScreen(parent, &s);
  for (HWND ch : w->children) {
    if (InWindowShape(ch, s)) return ch;
  }
  RECT c;
  GetClientRect(parent, &c);
  return (p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom) ? parent : nullptr;
}

BOOL SetWindowText(HWND wnd, const char* text)
{
  if (!WindowData::Get(wnd)) return FALSE;
  return SendMessage(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowText(HWND wnd, char* buffer, int maxCount)
{
  if (!WindowData::Get(wnd) || !buffer || maxCount <= 0) return 0;
  return int(SendMessage(wnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

AnsiString GetWindowText(HWND wnd)
{
  int n = GetWindowTextLength(wnd);
  if (n <= 0) return {};
  std::string buf(size_t(n) + 1, '\0');
  int got = GetWindowText(wnd, buf.data(), n + 1);
  buf.resize(size_t(std::max(0, got)));
  return buf;
}

int GetWindowTextLength(HWND wnd)
{
  if (!WindowData::Get(wnd)) return 0;
  return int(SendMessage(wnd, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongPtr(HWND wnd, int index)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWL_STYLE: return LONG_PTR(w->style);
    case GWL_EXSTYLE: return LONG_PTR(w->exStyle);
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->id;
    default:
      if (index >= 0 && size_t(index) % sizeof(LONG_PTR) == 0 && size_t(index) / sizeof(LONG_PTR) < w->extra.size())
        return w->extra[size_t(index) / sizeof(LONG_PTR)];
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND wnd, int index, LONG_PTR value)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(wnd, index);
  switch (index) {
    case GWL_WNDPROC:
      if (!value) return 0;
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWL_HWNDPARENT:
      if (!w->parent) w->owner = reinterpret_cast<HWND>(value);
      break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      struct {
        DWORD oldStyle, newStyle;
      } ss{DWORD(old), DWORD(value)};
      WPARAM which = WPARAM(index);
      SendMessage(wnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&ss));
      if (!WindowData::Get(wnd)) return 0;
      if (index == GWL_STYLE) {
        // Visibility and the child bit change through ShowWindow and SetParent only.
        w->style = (ss.newStyle & ~(WS_VISIBLE | WS_CHILD)) | (w->style & (WS_VISIBLE | WS_CHILD));
      } else {
        w->exStyle = ss.newStyle;
      }
      SendMessage(wnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&ss));
      break;
    }
    case GWL_USERDATA: w->userData = value; break;
    case GWL_ID: w->id = value; break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    default:
      if (index >= 0 && size_t(index) % sizeof(LONG_PTR) == 0 && size_t(index) / sizeof(LONG_PTR) < w->extra.size()) {
        w->extra[size_t(index) / sizeof(LONG_PTR)] = value;
        break;
      }
      return 0;
  }
  return old;
}

BOOL SetProp(HWND wnd, const char* name, HANDLE data)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !name) return FALSE;
  w->props[Upper(name)] = data;
  return TRUE;
}

HANDLE GetProp(HWND wnd, const char* name)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(Upper(name));
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND wnd, const char* name)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(Upper(name));
  if (it == w->props.end()) return nullptr;
  HANDLE h = it->second;
  w->props.erase(it);
  return h;
}

int SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return 0;
  if (w->windowRgn) DeleteObject(w->windowRgn);
  w->windowRgn = rgn;
  if (redraw && (w->style & WS_VISIBLE)) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    if (w->parent) ExposeParent(wnd, WindowData::ScreenRect(wnd));
  }
  return 1;
}

int GetWindowRgn(HWND wnd, HRGN rgn)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !w->windowRgn || !rgn) return ERROR;
  return CombineRgn(rgn, w->windowRgn, nullptr, RGN_COPY);
}

}  // namespace Windows

namespace WindowList {
void Reset()
{
  auto tops = WindowData::TopLevel();
  for (HWND h : tops) Windows::DestroyWindow(h);
  WindowData::Clear();
  Classes().clear();
}
}  // namespace WindowList
