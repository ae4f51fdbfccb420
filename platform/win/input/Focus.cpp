#include "platform/win/input/Focus.h"

#include <array>

#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Focus {
namespace {
struct Keys {
  std::array<BYTE, 256> state{};  // as of the message being handled: 0x80 down, 0x01 toggle
  std::array<BYTE, 256> async{};
  POINT cursor;
};
Keys& K()
{
  static Keys k;
  return k;
}
}  // namespace

BYTE* KeyState() { return K().state.data(); }
BYTE* AsyncState() { return K().async.data(); }
POINT& CursorPos() { return K().cursor; }

void WindowGoing(HWND wnd)
{
  auto& s = WindowData::State();
  if (s.capture && (s.capture == wnd || WindowData::IsDescendant(wnd, s.capture))) Windows::ReleaseCapture();
  if (s.mouseOver && (s.mouseOver == wnd || WindowData::IsDescendant(wnd, s.mouseOver))) s.mouseOver = nullptr;
  if (s.focus && (s.focus == wnd || WindowData::IsDescendant(wnd, s.focus))) {
    WndData* w = WindowData::Get(wnd);
    // The focus goes to the parent of the window that goes, or nowhere.
    HWND to = (w && w->parent && !w->destroying && Windows::IsWindowVisible(w->parent)) ? w->parent : nullptr;
    Windows::SetFocus(to);
  }
  if (s.active == wnd) {
    WndData* w = WindowData::Get(wnd);
    HWND next = nullptr;
    if (w && w->owner && Windows::IsWindowVisible(w->owner)) next = w->owner;
    for (HWND t : WindowData::TopLevel()) {
      if (next) break;
      WndData* d = WindowData::Get(t);
      if (t != wnd && !d->destroying && Windows::IsWindowVisible(t) && Windows::IsWindowEnabled(t)) next = t;
    }
    if (next) {
      Windows::SetActiveWindow(next);
    } else {
      Windows::SendMessage(wnd, WM_NCACTIVATE, FALSE, 0);
      Windows::SendMessage(wnd, WM_ACTIVATE, WA_INACTIVE, 0);
      s.active = nullptr;
    }
  }
}

void DeactivateApp()
{
  auto& s = WindowData::State();
  if (!s.appActive) return;
  HWND old = s.active;
  if (old) {
    Windows::SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    Windows::SendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  s.appActive = false;
  for (HWND t : std::vector<HWND>(WindowData::TopLevel())) Windows::SendMessage(t, WM_ACTIVATEAPP, FALSE, 0);
  if (s.focus) {
    HWND f = s.focus;
    s.focus = nullptr;
    Windows::SendMessage(f, WM_KILLFOCUS, 0, 0);
  }
  s.active = nullptr;
}

void Reset()
{
  K() = Keys{};
  WindowData::State() = WindowData::SharedState{};
}

}  // namespace Focus

namespace Windows {

HWND SetFocus(HWND wnd)
{
  auto& s = WindowData::State();
  HWND old = s.focus;
  if (wnd) {
    WndData* w = WindowData::Get(wnd);
    if (!w || w->destroying || !IsWindowVisible(wnd)) return nullptr;
    for (HWND h = wnd; h; h = GetAncestor(h, GA_PARENT) == GetDesktopWindow() ? nullptr : GetAncestor(h, GA_PARENT)) {
      if (!IsWindowEnabled(h)) return nullptr;
    }
    if (old == wnd) return old;
    HWND top = WindowData::TopLevelOf(wnd);
    if (s.active != top) {
      SetActiveWindow(top);
      if (!WindowData::Get(wnd)) return nullptr;
      if (s.focus == wnd) return old;
      old = s.focus;
    }
  } else if (!old) {
    return nullptr;
  }
  s.focus = wnd;
  if (old && WindowData::Get(old)) SendMessage(old, WM_KILLFOCUS, WPARAM(wnd), 0);
  if (wnd && s.focus == wnd && WindowData::Get(wnd)) SendMessage(wnd, WM_SETFOCUS, WPARAM(old), 0);
  return old;
}

HWND GetFocus() { return WindowData::State().focus; }

HWND SetActiveWindow(HWND wnd) { return Focus::Activate(wnd, WA_ACTIVE); }

}  // namespace Windows

HWND Focus::Activate(HWND wnd, WORD how)
{
  using namespace Windows;
  auto& s = WindowData::State();
  HWND old = s.active;
  if (wnd) {
    wnd = WindowData::TopLevelOf(wnd);
    WndData* w = WindowData::Get(wnd);
    if (!w || w->destroying) return nullptr;
  }
  if (wnd == old) return old;
  if (old && WindowData::Get(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(wnd));
  }
  s.active = wnd;
  if (!wnd) return old;
  if (!s.appActive) {
    s.appActive = true;
    for (HWND t : std::vector<HWND>(WindowData::TopLevel())) SendMessage(t, WM_ACTIVATEAPP, TRUE, 0);
  }
  if (s.active != wnd || !WindowData::Get(wnd)) return old;
  SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Backend::Current().Activated(wnd);
  SendMessage(wnd, WM_NCACTIVATE, TRUE, 0);
  SendMessage(wnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(wnd)), reinterpret_cast<LPARAM>(old));
  return old;
}

namespace Windows {

HWND GetActiveWindow() { return WindowData::State().active; }
BOOL SetForegroundWindow(HWND wnd) { return SetActiveWindow(wnd) || GetActiveWindow() == wnd; }
HWND GetForegroundWindow() { return WindowData::State().active; }

HWND SetCapture(HWND wnd)
{
  auto& s = WindowData::State();
  HWND old = s.capture;
  if (!WindowData::Get(wnd)) return old;
  if (old == wnd) return old;
  s.capture = wnd;
  if (old && WindowData::Get(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
  return old;
}

BOOL ReleaseCapture()
{
  auto& s = WindowData::State();
  HWND old = s.capture;
  s.capture = nullptr;
  if (old && WindowData::Get(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return WindowData::State().capture; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme)
{
  if (!tme) return FALSE;
  if (tme->dwFlags & TME_QUERY) {
    auto& s = WindowData::State();
    WndData* w = WindowData::Get(s.mouseOver);
    tme->dwFlags = (w && w->trackLeave) ? TME_LEAVE : 0;
    tme->hwndTrack = (w && w->trackLeave) ? s.mouseOver : nullptr;
    return TRUE;
  }
  WndData* w = WindowData::Get(tme->hwndTrack);
  if (!w) return FALSE;
  if (!(tme->dwFlags & TME_LEAVE)) return TRUE;
  if (tme->dwFlags & TME_CANCEL) {
    w->trackLeave = false;
    return TRUE;
  }
  // The pointer is not over the window: the leave is reported at once.
  POINT p = Focus::CursorPos();
  if (WindowFromPoint(p) != tme->hwndTrack) {
    PostMessage(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  w->trackLeave = true;
  WindowData::State().mouseOver = tme->hwndTrack;
  return TRUE;
}

short GetKeyState(int vkey)
{
  if (vkey < 0 || vkey > 255) return 0;
  BYTE b = Focus::KeyState()[vkey];
  return short(((b & 0x80) ? 0x8000 : 0) | (b & 1));
}

short GetAsyncKeyState(int vkey)
{
  if (vkey < 0 || vkey > 255) return 0;
  return (Focus::AsyncState()[vkey] & 0x80) ? short(0x8000) : 0;
}

BOOL GetCursorPos(POINT* out)
{
  if (!out) return FALSE;
  *out = Focus::CursorPos();
  return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
  Focus::CursorPos() = {x, y};
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

}  // namespace Windows
