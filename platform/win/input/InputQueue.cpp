#include "platform/win/input/InputQueue.h"

#include <cstdlib>
#include <deque>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/Imm.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace InputQueue {
namespace {

enum class Kind { Move, Down, Up, Wheel, KeyDown, KeyUp, Char, ImeChar };

struct Raw {
  Kind kind;
  Button button = Button::Left;
  int x = 0, y = 0, value = 0;
  DWORD time = 0;
};

struct LastClick {
  HWND wnd = nullptr;
  Button button = Button::Left;
  POINT pt;
  DWORD time = 0;
  bool valid = false;
};

struct State {
  std::deque<Raw> raw;
  std::deque<MSG> ready;  // converted, waiting for retrieval
  LastClick last;
};

State& S()
{
  static State s;
  return s;
}

int VkOf(Button b) { return b == Button::Left ? VK_LBUTTON : b == Button::Right ? VK_RBUTTON : VK_MBUTTON; }

WPARAM MouseKeys()
{
  BYTE* k = Focus::KeyState();
  WPARAM w = 0;
  if (k[VK_LBUTTON] & 0x80) w |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) w |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) w |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) w |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) w |= MK_CONTROL;
  return w;
}

void Push(Raw r)
{
  r.time = Backend::Current().Now();
  S().raw.push_back(r);
}

void SetDown(BYTE* table, int vk, bool down)
{
  if (down) {
    if (!(table[vk] & 0x80)) table[vk] ^= 1;
    table[vk] |= 0x80;
  } else {
    table[vk] &= BYTE(~0x80);
  }
}

void SetKey(BYTE* table, int vk, bool down)
{
  SetDown(table, vk, down);
  // The generic modifier follows its left and right keys.
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetDown(table, VK_SHIFT, down);
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetDown(table, VK_CONTROL, down);
  if (vk == VK_LMENU || vk == VK_RMENU) SetDown(table, VK_MENU, down);
}

void Ready(HWND wnd, UINT msg, WPARAM w, LPARAM l, const Raw& r)
{
  MSG m{wnd, msg, w, l, r.time, {r.x, r.y}};
  S().ready.push_back(m);
}

// Reports a leave to the window the pointer was tracked over when it is elsewhere now.
void CheckLeave(HWND now, const Raw& r)
{
  auto& st = WindowData::State();
  HWND over = st.mouseOver;
  if (over == now) return;
  if (WndData* w = WindowData::Get(over); w && w->trackLeave) {
    w->trackLeave = false;
    Ready(over, WM_MOUSELEAVE, 0, 0, r);
  }
  st.mouseOver = now;
}

// Whether the WH_MOUSE hook lets the message through.
bool MouseHookPasses(HWND wnd, UINT msg, POINT pt, LRESULT hit)
{
  if (!Hooks::Any(WH_MOUSE)) return true;
  MOUSEHOOKSTRUCT mh;
  mh.pt = pt;
  mh.hwnd = wnd;
  mh.wHitTestCode = UINT(hit);
  return Hooks::Call(WH_MOUSE, HC_ACTION, msg, reinterpret_cast<LPARAM>(&mh)) == 0;
}

// Whether the window lies in an MDI child that is not its client's active one: a click there
// activates, as one on an inactive top-level window does.
bool InInactiveMdiChild(HWND h)
{
  for (WndData* w = WindowData::Get(h); w && w->parent; w = WindowData::Get(w->parent)) {
    if (w->exStyle & WS_EX_MDICHILD) {
      auto active = reinterpret_cast<HWND>(Windows::SendMessage(w->parent, WM_MDIGETACTIVE, 0, 0));
      return active != w->handle;
    }
  }
  return false;
}

void ConvertMouse(const Raw& r)
{
  using namespace Windows;
  Focus::CursorPos() = {r.x, r.y};
  POINT pt{r.x, r.y};
  if (r.kind == Kind::Down) SetKey(Focus::KeyState(), VkOf(r.button), true);
  if (r.kind == Kind::Up) SetKey(Focus::KeyState(), VkOf(r.button), false);
  auto& st = WindowData::State();
  HWND target = st.capture;
  LRESULT hit = HTCLIENT;
  if (!target) {
    target = WindowList::HitTest(pt, &hit);
    if (!target) return;
  }
  if (r.kind == Kind::Wheel) {
    // The wheel goes to the focus window, as keys do.
    HWND to = st.focus ? st.focus : target;
    WPARAM w = MAKEWPARAM(int(MouseKeys()), r.value);
    if (MouseHookPasses(to, WM_MOUSEWHEEL, pt, hit)) Ready(to, WM_MOUSEWHEEL, w, MAKELPARAM(r.x, r.y), r);
    return;
  }
  UINT base;  // the WM_*BUTTONDOWN of the button
  switch (r.button) {
    case Button::Left: base = WM_LBUTTONDOWN; break;
    case Button::Right: base = WM_RBUTTONDOWN; break;
    default: base = WM_MBUTTONDOWN; break;
  }
  UINT msg = WM_MOUSEMOVE;
  if (r.kind == Kind::Down) {
    msg = base;
    auto& lc = S().last;
    WndData* w = WindowData::Get(target);
    bool dbl = lc.valid && lc.wnd == target && lc.button == r.button && r.time - lc.time <= GetDoubleClickTime() &&
               std::abs(r.x - lc.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(r.y - lc.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool wantsDbl = w && (hit != HTCLIENT || (w->cls->wc.style & CS_DBLCLKS));
    if (dbl && wantsDbl) {
      msg = base + 2;
      lc.valid = false;  // a third press starts over
    } else {
      lc = {target, r.button, pt, r.time, true};
    }
  } else if (r.kind == Kind::Up) {
    msg = base + 1;
  }
  bool client = hit == HTCLIENT;
  if (r.kind == Kind::Move) CheckLeave(client ? target : nullptr, r);
  // Setting the cursor and mouse activation happen before the message, as they are sent.
  if (!st.capture) {
    SendMessage(target, WM_SETCURSOR, WPARAM(target),
                MAKELPARAM(int(hit), int(r.kind == Kind::Move ? WM_MOUSEMOVE : msg)));
    if (!WindowData::Get(target)) return;
  }
  if (r.kind == Kind::Down) {
    HWND top = WindowData::TopLevelOf(target);
    if (top && (top != st.active || InInactiveMdiChild(target))) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, WPARAM(top), MAKELPARAM(int(hit), int(msg)));
      if (!WindowData::Get(target)) return;
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) {
        WndData* t = WindowData::Get(top);
        if (t && !(t->exStyle & WS_EX_NOACTIVATE)) {
          Focus::Activate(top, WA_CLICKACTIVE);
        }
      }
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
      if (!WindowData::Get(target)) return;
    }
  }
  if (client) {
    POINT c = pt;
    ScreenToClient(target, &c);
    if (!MouseHookPasses(target, msg, pt, hit)) return;
    Ready(target, msg, MouseKeys(), MAKELPARAM(c.x, c.y), r);
  } else {
    UINT nc = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    if (!MouseHookPasses(target, nc, pt, hit)) return;
    Ready(target, nc, WPARAM(hit), MAKELPARAM(r.x, r.y), r);
  }
}

void ConvertKey(const Raw& r)
{
  using namespace Windows;
  auto& st = WindowData::State();
  bool down = r.kind == Kind::KeyDown;
  SetKey(Focus::KeyState(), r.value, down);
  bool alt = Focus::KeyState()[VK_MENU] & 0x80;
  bool ctrl = Focus::KeyState()[VK_CONTROL] & 0x80;
  HWND to = st.focus ? st.focus : st.active;
  if (!to) return;
  // Alt (without Ctrl) makes system keys, and so does a key while no window has the focus.
  bool sys = (alt && !ctrl) || r.value == VK_F10 || (!st.focus && st.active);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1 | (alt ? (1 << 29) : 0) | (down ? 0 : (LPARAM(3) << 30));
  Ready(to, msg, WPARAM(r.value), lp, r);
}

void Convert(const Raw& r)
{
  switch (r.kind) {
    case Kind::Move:
    case Kind::Down:
    case Kind::Up:
    case Kind::Wheel: ConvertMouse(r); break;
    case Kind::KeyDown:
    case Kind::KeyUp: ConvertKey(r); break;
    case Kind::Char:
    case Kind::ImeChar: {
      HWND to = WindowData::State().focus;
      // What the input method commits does not reach a window it does not serve now.
      if (r.kind == Kind::ImeChar && to && !Imm::TakesImeText(to)) break;
      if (to) Ready(to, r.kind == Kind::Char ? WM_CHAR : WM_IME_CHAR, WPARAM(r.value), 1, r);
      break;
    }
  }
}

}  // namespace

void MouseMove(int x, int y) { Push({Kind::Move, Button::Left, x, y}); }
void MouseDown(Button b, int x, int y)
{
  SetKey(Focus::AsyncState(), VkOf(b), true);
  Push({Kind::Down, b, x, y});
}
void MouseUp(Button b, int x, int y)
{
  SetKey(Focus::AsyncState(), VkOf(b), false);
  Push({Kind::Up, b, x, y});
}
void MouseWheel(int delta, int x, int y) { Push({Kind::Wheel, Button::Left, x, y, delta}); }
void KeyDown(int vkey)
{
  SetKey(Focus::AsyncState(), vkey & 0xFF, true);
  Push({Kind::KeyDown, Button::Left, 0, 0, vkey & 0xFF});
}
void KeyUp(int vkey)
{
  SetKey(Focus::AsyncState(), vkey & 0xFF, false);
  Push({Kind::KeyUp, Button::Left, 0, 0, vkey & 0xFF});
}

void Text(const AnsiString& s)
{
  for (size_t i = 0; i < s.size(); ++i) {
    auto b = BYTE(s[i]);
    if (System::IsLeadByte(s[i]) && i + 1 < s.size()) {
      Push({Kind::ImeChar, Button::Left, 0, 0, int((b << 8) | BYTE(s[i + 1]))});
      ++i;
    } else {
      Push({Kind::Char, Button::Left, 0, 0, b});
    }
  }
}

bool Pending() { return !S().raw.empty() || !S().ready.empty(); }

bool Take(const std::function<bool(const MSG&)>& match, MSG* out, bool remove)
{
  auto& s = S();
  for (;;) {
    for (auto it = s.ready.begin(); it != s.ready.end();) {
      if (!WindowData::Get(it->hwnd)) {
        it = s.ready.erase(it);
        continue;
      }
      if (match(*it)) {
        *out = *it;
        if (remove) s.ready.erase(it);
        return true;
      }
      ++it;
    }
    if (s.raw.empty()) return false;
    Raw r = s.raw.front();
    s.raw.pop_front();
    Convert(r);
  }
}

void Reset()
{
  S().raw.clear();
  S().ready.clear();
  S().last = {};
}

}  // namespace InputQueue
