#include "platform/win/mdi/MdiClient.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>
#include <unordered_map>
#include <vector>

#include "platform/win/input/Focus.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Mdi {
namespace {

const char* const kClientClass = "MDICLIENT";

struct ClientState {
  HWND active = nullptr;
  bool maximized = false;
  RECT restore;  // the maximised child's rectangle before it was maximised
  UINT idFirst = 0;
  int cascade = 0;
  // The frame's title merged with a maximised child's: the frame's own title, the child shown,
  // and a guard while the client itself sets the frame's text.
  AnsiString frameTitle;
  HWND merged = nullptr;
  bool settingTitle = false;
};

std::unordered_map<HWND, ClientState>& States()
{
  static std::unordered_map<HWND, ClientState> s;
  return s;
}

ClientState* StateOf(HWND client)
{
  auto it = States().find(client);
  return it == States().end() ? nullptr : &it->second;
}

// The client's MDI children, topmost first.
std::vector<HWND> Children(HWND client)
{
  std::vector<HWND> out;
  for (HWND c : Windows::GetChildWindows(client)) {
    if (Windows::GetWindowLongPtr(c, GWL_EXSTYLE) & WS_EX_MDICHILD) out.push_back(c);
  }
  return out;
}

RECT ClientArea(HWND client)
{
  RECT r;
  Windows::GetClientRect(client, &r);
  return r;
}

void Maximize(HWND client, ClientState& s, HWND child)
{
  WndData* w = WindowData::Get(child);
  if (!w) return;
  // An iconic child comes back to its normal place when restored, not to its icon's.
  if (!(w->style & WS_MAXIMIZE)) s.restore = (w->style & WS_MINIMIZE) ? w->normal : w->rect;
  w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
  RECT c = ClientArea(client);
  // The frame of a maximised child lies outside the client, so its client area fills it.
  RECT inner = w->client;
  int l = inner.left, t = inner.top;
  int r = (w->rect.right - w->rect.left) - inner.right, b = (w->rect.bottom - w->rect.top) - inner.bottom;
  Windows::SetWindowPos(child, HWND_TOP, c.left - l, c.top - t, c.right + l + r, c.bottom + t + b, SWP_NOACTIVATE);
  s.maximized = true;
}

void Restore(ClientState& s, HWND child)
{
  WndData* w = WindowData::Get(child);
  if (!w || !(w->style & WS_MAXIMIZE)) return;
  w->style &= ~WS_MAXIMIZE;
  RECT r = s.restore;
  Windows::SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        SWP_NOACTIVATE | SWP_NOZORDER);
}

void Activate(HWND client, HWND child)
{
  ClientState* s = StateOf(client);
  if (!s || (child && !Windows::IsChild(client, child))) return;
  HWND old = s->active;
  if (old == child) {
    if (child && Windows::GetActiveWindow() == Windows::GetAncestor(client, GA_ROOT)) {
      HWND f = Windows::GetFocus();
      if (f != child && !Windows::IsChild(child, f)) Windows::SetFocus(child);
    }
    return;
  }
  bool wasMax = s->maximized && old && Windows::IsWindow(old);
  s->active = child;
  if (old && Windows::IsWindow(old)) {
    Windows::SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    Windows::SendMessage(old, WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
    if (wasMax && child) Restore(*s, old);
  }
  if (!child) {
    s->maximized = s->maximized && old && Windows::IsWindow(old);
    return;
  }
  if (wasMax) Maximize(client, *s, child);
  Windows::SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Windows::SendMessage(child, WM_NCACTIVATE, TRUE, 0);
  Windows::SendMessage(child, WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
  if (Windows::GetActiveWindow() == Windows::GetAncestor(client, GA_ROOT)) Windows::SetFocus(child);
}

void ActivateNextAfterGoing(HWND client, HWND going)
{
  ClientState* s = StateOf(client);
  if (!s || s->active != going) return;
  bool wasMax = s->maximized;
  s->active = nullptr;
  for (HWND c : Children(client)) {
    if (c != going && Windows::IsWindowVisible(c)) {
      if (wasMax) {
        s->maximized = true;
        Maximize(client, *s, c);
      }
      Activate(client, c);
      return;
    }
  }
  s->maximized = false;
}

AnsiString Merged(const ClientState& s)
{
  AnsiString child = Windows::GetWindowText(s.merged);
  return child.empty() ? s.frameTitle : s.frameTitle + " - [" + child + "]";
}

void SetFrameText(HWND frame, ClientState& s, const AnsiString& text)
{
  if (Windows::GetWindowText(frame) == text) return;
  s.settingTitle = true;
  Windows::SetWindowText(frame, text.c_str());
  s.settingTitle = false;
}

// Shows a maximised active child in the frame (title "Frame - [Child]", its buttons in the
// frame's menu bar), or gives the frame back its own title and bar.
void SyncFrame(HWND client)
{
  ClientState* s = StateOf(client);
  HWND frame = Windows::GetParent(client);
  WndData* f = WindowData::Get(frame);
  if (!s || !f || f->destroying) return;
  HWND show = (s->maximized && s->active && Windows::IsZoomed(s->active) && Windows::IsWindowVisible(s->active))
                  ? s->active
                  : nullptr;
  if (show && !s->merged) s->frameTitle = Windows::GetWindowText(frame);
  HWND was = s->merged;
  s->merged = show;
  if (show)
    SetFrameText(frame, *s, Merged(*s));
  else if (was)
    SetFrameText(frame, *s, s->frameTitle);
  if ((s = StateOf(client))) Menus::SetMdiChild(frame, s->merged);
}

LRESULT Create(HWND client, const MDICREATESTRUCTA* mc)
{
  ClientState* s = StateOf(client);
  if (!s || !mc) return 0;
  RECT c = ClientArea(client);
  int step = Windows::GetSystemMetrics(SM_CYCAPTION) + Windows::GetSystemMetrics(SM_CYFRAME);
  int x = mc->x, y = mc->y, cx = mc->cx, cy = mc->cy;
  if (x == CW_USEDEFAULT) {
    x = y = step * (s->cascade++ % 6);
  }
  if (cx == CW_USEDEFAULT) {
    cx = c.right * 3 / 4;
    cy = c.bottom * 3 / 4;
  }
  DWORD style = (mc->style | WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME) &
                ~(WS_POPUP | WS_MAXIMIZE);
  bool wantMax = mc->style & WS_MAXIMIZE;
  UINT id = s->idFirst + UINT(Children(client).size());
  HWND child = Windows::CreateWindowEx(WS_EX_MDICHILD, mc->szClass, mc->szTitle, style, x, y, cx, cy, client,
                                       reinterpret_cast<HMENU>(std::uintptr_t(id)), mc->hOwner,
                                       const_cast<MDICREATESTRUCTA*>(mc));
  if (!child || !(s = StateOf(client))) return 0;
  if (wantMax || s->maximized) {
    s->maximized = true;
    Maximize(client, *s, child);
  }
  Activate(client, child);
  return reinterpret_cast<LRESULT>(child);
}

void Tile(HWND client, UINT how)
{
  std::vector<HWND> kids;
  for (HWND c : Children(client)) {
    if (!Windows::IsWindowVisible(c) || Windows::IsIconic(c)) continue;
    if ((how & MDITILE_SKIPDISABLED) && !Windows::IsWindowEnabled(c)) continue;
    kids.push_back(c);
  }
  if (kids.empty()) return;
  ClientState* s = StateOf(client);
  if (s && s->maximized && s->active) Restore(*s, s->active), s->maximized = false;
  std::reverse(kids.begin(), kids.end());  // oldest first, in creation order
  RECT c = ClientArea(client);
  int n = int(kids.size());
  // A grid of `cols` columns (vertical tiling) or rows (horizontal), filled evenly.
  int lines = int(std::ceil(std::sqrt(double(n))));
  if (n <= 3) lines = (how & MDITILE_HORIZONTAL) ? 1 : n;
  for (int i = 0; i < n; ++i) {
    int x, y, w, h;
    if (how & MDITILE_HORIZONTAL) {
      // Rows stacked top to bottom, each split into columns.
      int rows = (n + lines - 1) / lines;
      int row = i / lines, inRow = std::min(lines, n - row * lines), col = i % lines;
      h = c.bottom / rows;
      w = c.right / inRow;
      x = col * w;
      y = row * h;
      if (n <= 3) {
        rows = n;
        h = c.bottom / n;
        w = c.right;
        x = 0;
        y = i * h;
      }
    } else {
      int cols = (n + lines - 1) / lines;
      if (n <= 3) cols = n;
      int col = (n <= 3) ? i : i / lines;
      int inCol = (n <= 3) ? 1 : std::min(lines, n - col * lines);
      int row = (n <= 3) ? 0 : i % lines;
      w = c.right / cols;
      h = c.bottom / inCol;
      x = col * w;
      y = row * h;
    }
    Windows::SetWindowPos(kids[size_t(i)], nullptr, x, y, w, h, SWP_NOACTIVATE | SWP_NOZORDER);
  }
}

void Cascade(HWND client)
{
  std::vector<HWND> kids;
  for (HWND c : Children(client)) {
    if (Windows::IsWindowVisible(c) && !Windows::IsIconic(c)) kids.push_back(c);
  }
  ClientState* s = StateOf(client);
  if (s && s->maximized && s->active) Restore(*s, s->active), s->maximized = false;
  std::reverse(kids.begin(), kids.end());  // the active one ends on top, last
  RECT c = ClientArea(client);
  int step = Windows::GetSystemMetrics(SM_CYCAPTION) + Windows::GetSystemMetrics(SM_CYFRAME);
  int w = c.right * 3 / 4, h = c.bottom * 3 / 4;
  for (size_t i = 0; i < kids.size(); ++i) {
    int off = step * int(i);
    Windows::SetWindowPos(kids[i], nullptr, off, off, w, h, SWP_NOACTIVATE | SWP_NOZORDER);
  }
}

LRESULT ClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp);

LRESULT ClientProc(HWND client, UINT msg, WPARAM wp, LPARAM lp)
{
  LRESULT r = ClientMessage(client, msg, wp, lp);
  if (msg >= WM_MDICREATE && msg <= WM_MDICASCADE) SyncFrame(client);
  return r;
}

LRESULT ClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp)
{
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      ClientState s;
      if (cs && cs->lpCreateParams) s.idFirst = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams)->idFirstChild;
      States()[client] = s;
      return 0;
    }
    case WM_NCDESTROY: {
      if (ClientState* s = StateOf(client)) {
        s->maximized = false;
        SyncFrame(client);
      }
      States().erase(client);
      return 0;
    }
    case WM_MDICREATE: return Create(client, reinterpret_cast<const MDICREATESTRUCTA*>(lp));
    case WM_MDIDESTROY: {
      HWND child = reinterpret_cast<HWND>(wp);
      if (!Windows::IsChild(client, child)) return 0;
      ActivateNextAfterGoing(client, child);
      Windows::DestroyWindow(child);
      return 0;
    }
    case WM_MDIACTIVATE: Activate(client, reinterpret_cast<HWND>(wp)); return 0;
    case WM_MDIGETACTIVE: {
      ClientState* s = StateOf(client);
      if (lp) *reinterpret_cast<BOOL*>(lp) = s && s->maximized;
      return s ? reinterpret_cast<LRESULT>(s->active) : 0;
    }
    case WM_MDINEXT: {
      auto kids = Children(client);  // topmost (active) first
      if (kids.size() < 2) return 0;
      HWND from = wp ? reinterpret_cast<HWND>(wp) : kids.front();
      auto it = std::find(kids.begin(), kids.end(), from);
      if (it == kids.end()) return 0;
      // Next: the bottom one comes up; previous: the current one goes to the bottom.
      if (lp == 0) {
        Activate(client, kids.back());
      } else {
        Activate(client, *(it + 1 == kids.end() ? kids.begin() : it + 1));
        Windows::SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return 0;
    }
    case WM_MDIMAXIMIZE: {
      ClientState* s = StateOf(client);
      HWND child = reinterpret_cast<HWND>(wp);
      if (!s || !Windows::IsChild(client, child)) return 0;
      Maximize(client, *s, child);
      Activate(client, child);
      return 0;
    }
    case WM_MDIRESTORE: {
      ClientState* s = StateOf(client);
      HWND child = reinterpret_cast<HWND>(wp);
      if (!s || !Windows::IsChild(client, child)) return 0;
      Restore(*s, child);
      s->maximized = false;
      return 0;
    }
    case WM_MDITILE: Tile(client, UINT(wp)); return TRUE;
    case WM_MDICASCADE: Cascade(client); return TRUE;
    case WM_SIZE: {
      ClientState* s = StateOf(client);
      if (s && s->maximized && s->active) Maximize(client, *s, s->active);
      return 0;
    }
    case WM_SETFOCUS: {
      ClientState* s = StateOf(client);
      if (s && s->active && Windows::IsWindow(s->active)) Windows::SetFocus(s->active);
      return 0;
    }
    default: return Windows::DefWindowProc(client, msg, wp, lp);
  }
}

}  // namespace

bool EnsureClass(const char* className)
{
  if (!className || strcasecmp(className, kClientClass) != 0) return false;
  WNDCLASSEXA probe;
  if (!Windows::GetClassInfoEx(nullptr, kClientClass, &probe)) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = ClientProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kClientClass;
    Windows::RegisterClassEx(&wc);
  }
  return true;
}

}  // namespace Mdi

namespace Windows {

LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wp, LPARAM lp)
{
  switch (msg) {
    case WM_SIZE:
      if (IsWindow(client)) {
        RECT r;
        GetClientRect(frame, &r);
        MoveWindow(client, 0, 0, r.right, r.bottom, TRUE);
      }
      return 0;
    case WM_SETFOCUS:
      if (IsWindow(client)) SetFocus(client);
      return 0;
    case WM_SETTEXT:
      // The frame's own title changes under a merged child's.
      if (Mdi::ClientState* s = Mdi::StateOf(client); s && s->merged && !s->settingTitle) {
        s->frameTitle = lp ? reinterpret_cast<const char*>(lp) : "";
        AnsiString text = Mdi::Merged(*s);
        return DefWindowProc(frame, msg, wp, reinterpret_cast<LPARAM>(text.c_str()));
      }
      break;
    case WM_COMMAND:
      if (Mdi::ClientState* s = Mdi::StateOf(client); s && s->idFirst && LOWORD(wp) >= s->idFirst) {
        if (HWND child = GetDlgItem(client, LOWORD(wp))) {
          SendMessage(client, WM_MDIACTIVATE, WPARAM(child), 0);
          return 0;
        }
      }
      break;
    default: break;
  }
  return DefWindowProc(frame, msg, wp, lp);
}

BOOL TranslateMDISysAccel(HWND client, MSG* msg)
{
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) || !Mdi::StateOf(client)) return FALSE;
  auto active = reinterpret_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0));
  if (!active || !IsWindowEnabled(active)) return FALSE;
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return FALSE;
  WPARAM command = 0;
  switch (msg->wParam) {
    case VK_F4: command = SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: command = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: return FALSE;
  }
  SendMessage(active, WM_SYSCOMMAND, command, 0);
  return TRUE;
}

LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wp, LPARAM lp)
{
  HWND client = GetParent(child);
  switch (msg) {
    case WM_MOUSEACTIVATE:
    case WM_CHILDACTIVATE: {
      LRESULT r = msg == WM_MOUSEACTIVATE ? DefWindowProc(child, msg, wp, lp) : 0;
      if (Mdi::StateOf(client)) Mdi::Activate(client, child), Mdi::SyncFrame(client);
      return r;
    }
    case WM_SETFOCUS:
      if (Mdi::ClientState* s = Mdi::StateOf(client); s && s->active != child)
        Mdi::Activate(client, child), Mdi::SyncFrame(client);
      return 0;
    case WM_CLOSE:
      if (Mdi::StateOf(client)) {
        SendMessage(client, WM_MDIDESTROY, WPARAM(child), 0);
        return 0;
      }
      break;
    case WM_DESTROY:
      Mdi::ActivateNextAfterGoing(client, child);
      Mdi::SyncFrame(client);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(child, msg, wp, lp);
      if (Mdi::ClientState* s = Mdi::StateOf(client); s && s->merged == child) Mdi::SyncFrame(client);
      return r;
    }
    case WM_SYSCOMMAND: {
      Mdi::ClientState* s = Mdi::StateOf(client);
      if (!s) break;
      switch (wp & 0xFFF0) {
        case SC_MAXIMIZE: SendMessage(client, WM_MDIMAXIMIZE, WPARAM(child), 0); return 0;
        case SC_NEXTWINDOW: SendMessage(client, WM_MDINEXT, WPARAM(child), 0); return 0;
        case SC_PREVWINDOW: SendMessage(client, WM_MDINEXT, WPARAM(child), 1); return 0;
        case SC_RESTORE:
          if (IsZoomed(child)) {
            SendMessage(client, WM_MDIRESTORE, WPARAM(child), 0);
          } else if (IsIconic(child)) {
            ShowWindow(child, SW_RESTORE);
            SendMessage(client, WM_MDIACTIVATE, WPARAM(child), 0);
          }
          return 0;
        case SC_MINIMIZE:
          if (IsZoomed(child)) {
            // A maximised child minimised leaves the others restored.
            Mdi::Restore(*s, child);
            s->maximized = false;
          }
          ShowWindow(child, SW_MINIMIZE);
          Mdi::SyncFrame(client);
          return 0;
        default: break;
      }
      break;
    }
    default: break;
  }
  return DefWindowProc(child, msg, wp, lp);
}

}  // namespace Windows
