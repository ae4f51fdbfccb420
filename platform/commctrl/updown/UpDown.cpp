#include "platform/commctrl/updown/UpDown.h"

#include <algorithm>
#include <memory>
#include <cstdint>
#include <utility>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstDelay = 400, RepeatDelay = 100;
constexpr const char* BuddyProp = "UpDownOfBuddy";
constexpr const char* BuddyProcProp = "UpDownBuddyProc";

struct UpDownState {
  UpDownModel Model;
  HWND Buddy = nullptr;
  int Pressed = 0;    // +1 the up (right) arrow held, -1 the down (left) one, 0 none
  unsigned Held = 0;  // ms the arrow has been held, counted by the timer
};

UpDownState* StateOf(HWND wnd) { return ControlUtil::StateOf<UpDownState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

// The up (or right) arrow's half of the client area; the other half is the down arrow's.
RECT Half(HWND wnd, bool up)
{
  RECT c;
  GetClientRect(wnd, &c);
  if (Style(wnd) & UDS_HORZ) {
    int mid = c.right / 2;
    return up ? RECT{mid, 0, c.right, c.bottom} : RECT{0, 0, mid, c.bottom};
  }
  int mid = c.bottom / 2;
  return up ? RECT{0, 0, c.right, mid} : RECT{0, mid, c.right, c.bottom};
}

void WriteBuddy(HWND wnd, UpDownState* s)
{
  if ((Style(wnd) & UDS_SETBUDDYINT) && IsWindow(s->Buddy)) SetWindowText(s->Buddy, s->Model.Text().c_str());
}

// The buddy's number, when it shows one; false leaves the position as it is.
bool ReadBuddy(HWND wnd, UpDownState* s)
{
  if (!(Style(wnd) & UDS_SETBUDDYINT) || !IsWindow(s->Buddy)) return true;
  int v = 0;
  if (!s->Model.Parse(GetWindowText(s->Buddy), &v)) return false;
  return !s->Model.SetPos(v);
}

void Step(HWND wnd, UpDownState* s, bool up)
{
  ReadBuddy(wnd, s);
  NMUPDOWN nm;
  nm.iPos = s->Model.Pos();
  nm.iDelta = s->Model.Delta(up, s->Held);
  if (CommonControls::SendNotify(wnd, &nm.hdr, UDN_DELTAPOS)) return;
  int to = s->Model.Target(nm.iDelta);
  if (to == s->Model.Pos()) return;
  s->Model.SetPos(to);
  WriteBuddy(wnd, s);
  UINT msg = (Style(wnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  if (HWND parent = GetParent(wnd))
    SendMessage(parent, msg, MAKEWPARAM(SB_THUMBPOSITION, to & 0xFFFF), reinterpret_cast<LPARAM>(wnd));
}

void Release(HWND wnd, UpDownState* s)
{
  if (!s->Pressed) return;
  s->Pressed = 0;
  s->Held = 0;
  KillTimer(wnd, RepeatTimer);
  if (GetCapture() == wnd) ReleaseCapture();
  InvalidateRect(wnd, nullptr, FALSE);
  UINT msg = (Style(wnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  if (HWND parent = GetParent(wnd))
    SendMessage(parent, msg, MAKEWPARAM(SB_ENDSCROLL, s->Model.Pos() & 0xFFFF), reinterpret_cast<LPARAM>(wnd));
}

LRESULT BuddyProc(HWND buddy, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto old = reinterpret_cast<WNDPROC>(GetProp(buddy, BuddyProcProp));
  auto ud = static_cast<HWND>(GetProp(buddy, BuddyProp));
  if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(ud) && IsWindowEnabled(ud)) {
    if (UpDownState* s = StateOf(ud)) {
      Step(ud, s, wParam == VK_UP);
      return 0;
    }
  }
  if (msg == WM_NCDESTROY) {
    RemoveProp(buddy, BuddyProp);
    RemoveProp(buddy, BuddyProcProp);
    SetWindowLongPtr(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  }
  return old ? CallWindowProc(old, buddy, msg, wParam, lParam) : DefWindowProc(buddy, msg, wParam, lParam);
}

void Unhook(HWND buddy)
{
  if (!IsWindow(buddy) || !GetProp(buddy, BuddyProcProp)) return;
  SetWindowLongPtr(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetProp(buddy, BuddyProcProp)));
  RemoveProp(buddy, BuddyProp);
  RemoveProp(buddy, BuddyProcProp);
}

// Takes a buddy: places itself at its side when aligned, hooks its arrow keys, shows the position.
HWND SetBuddy(HWND wnd, UpDownState* s, HWND buddy)
{
  HWND old = s->Buddy;
  Unhook(old);
  s->Buddy = IsWindow(buddy) ? buddy : nullptr;
  if (!s->Buddy) return old;
  DWORD style = Style(wnd);
  if (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) {
    RECT b, me;
    GetWindowRect(s->Buddy, &b);
    GetWindowRect(wnd, &me);
    HWND parent = GetParent(wnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
    int w = me.right - me.left;
    if (style & UDS_ALIGNRIGHT) {
      SetWindowPos(s->Buddy, nullptr, b.left, b.top, b.right - b.left - w, b.bottom - b.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowPos(wnd, nullptr, b.right - w, b.top, w, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      SetWindowPos(s->Buddy, nullptr, b.left + w, b.top, b.right - b.left - w, b.bottom - b.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowPos(wnd, nullptr, b.left, b.top, w, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (style & UDS_ARROWKEYS) {
    SetProp(s->Buddy, BuddyProp, wnd);
    SetProp(s->Buddy, BuddyProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtr(s->Buddy, GWLP_WNDPROC)));
    SetWindowLongPtr(s->Buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc));
  }
  WriteBuddy(wnd, s);
  return old;
}

void Paint(HWND wnd, UpDownState* s, HDC dc)
{
  bool enabled = IsWindowEnabled(wnd);
  bool horz = Style(wnd) & UDS_HORZ;
  for (bool up : {true, false}) {
    RECT r = Half(wnd, up);
    UINT state = horz ? (up ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT) : (up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (!enabled) state |= DFCS_INACTIVE;
    if (s->Pressed == (up ? 1 : -1)) state |= DFCS_PUSHED;
    DrawFrameControl(dc, &r, DFC_SCROLL, state);
  }
}

}  // namespace

namespace UpDown {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    auto* s = ControlUtil::AttachState(wnd, std::make_unique<UpDownState>());
    DWORD style = Style(wnd);
    s->Model.Wrap = style & UDS_WRAP;
    s->Model.Thousands = !(style & UDS_NOTHOUSANDS);
    if (style & UDS_AUTOBUDDY) SetBuddy(wnd, s, GetWindow(wnd, GW_HWNDPREV));
    return 0;
  }
  UpDownState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  UpDownModel& m = s->Model;
  switch (msg) {
    case WM_NCDESTROY: {
      Unhook(s->Buddy);
      auto gone = ControlUtil::DetachState<UpDownState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT up = Half(wnd, true);
      s->Pressed = PtInRect(&up, pt) ? 1 : -1;
      s->Held = 0;
      SetCapture(wnd);
      if (IsWindow(s->Buddy) && GetFocus() != s->Buddy) SetFocus(s->Buddy);
      InvalidateRect(wnd, nullptr, FALSE);
      Step(wnd, s, s->Pressed > 0);
      SetTimer(wnd, RepeatTimer, FirstDelay, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam != RepeatTimer || !s->Pressed) return 0;
      if (s->Held == 0) SetTimer(wnd, RepeatTimer, RepeatDelay, nullptr);
      s->Held += s->Held == 0 ? FirstDelay : RepeatDelay;
      {
        // Only while the mouse stays over the arrow it went down on.
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(wnd, &pt);
        RECT r = Half(wnd, s->Pressed > 0);
        if (PtInRect(&r, pt)) Step(wnd, s, s->Pressed > 0);
      }
      return 0;
    case WM_LBUTTONUP: Release(wnd, s); return 0;
    case WM_CAPTURECHANGED:
      if (s->Pressed) Release(wnd, s);
      return 0;
    case WM_KEYDOWN:
      if ((Style(wnd) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
        Step(wnd, s, wParam == VK_UP);
        return 0;
      }
      return DefWindowProc(wnd, msg, wParam, lParam);
    case UDM_SETRANGE: m.SetRange(short(HIWORD(lParam)), short(LOWORD(lParam))); return 0;
    case UDM_GETRANGE: return MAKELPARAM(m.Max(), m.Min());
    case UDM_SETRANGE32: m.SetRange(int(wParam), int(lParam)); return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = m.Min();
      if (lParam) *reinterpret_cast<int*>(lParam) = m.Max();
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      int old = m.Pos();
      m.SetPos(msg == UDM_SETPOS ? int(short(LOWORD(lParam))) : int(lParam));
      WriteBuddy(wnd, s);
      return msg == UDM_SETPOS ? old & 0xFFFF : old;
    }
    case UDM_GETPOS: {
      bool ok = ReadBuddy(wnd, s);
      return MAKELPARAM(m.Pos(), ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
      bool ok = ReadBuddy(wnd, s);
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = ok ? FALSE : TRUE;
      return m.Pos();
    }
    case UDM_SETBUDDY: return reinterpret_cast<LRESULT>(SetBuddy(wnd, s, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(s->Buddy);
    case UDM_SETACCEL: {
      auto* a = reinterpret_cast<const UDACCEL*>(lParam);
      if (!a || wParam == 0) return FALSE;
      m.Accels.assign(a, a + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      auto* out = reinterpret_cast<UDACCEL*>(lParam);
      for (std::size_t i = 0; out && i < wParam && i < m.Accels.size(); ++i) out[i] = m.Accels[i];
      return LRESULT(m.Accels.size());
    }
    case UDM_SETBASE: {
      if (wParam != 10 && wParam != 16) return 0;
      int old = std::exchange(m.Base, int(wParam));
      WriteBuddy(wnd, s);
      return old;
    }
    case UDM_GETBASE: return m.Base;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(UPDOWN_CLASS, WndProc); }

}  // namespace UpDown
