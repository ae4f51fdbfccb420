#include "platform/win/queue/Messages.h"
#include "platform/win/queue/TrackingLoop.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace MessageQueue {
namespace {

struct Timer {
  HWND wnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  DWORD due;
};

struct Queue {
  std::mutex lock;  // guards `posted` only: PostMessage may come from any thread
  std::deque<MSG> posted;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 0x7FFF;
  bool quit = false;
  int quitCode = 0;
  int sendDepth = 0;
  MSG last;  // the message being handled (GetMessageTime / GetMessagePos)
};

Queue& Q()
{
  static Queue q;
  return q;
}

std::thread::id& UiThread()
{
  static std::thread::id id = std::this_thread::get_id();
  return id;
}

bool Passes(const MSG& m, HWND wnd, UINT lo, UINT hi)
{
  if (wnd && m.hwnd != wnd && !Windows::IsChild(wnd, m.hwnd)) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

bool Due(DWORD now, DWORD due) { return std::int32_t(now - due) >= 0; }

void Stamp(MSG& m)
{
  m.time = Backend::Current().Now();
  Windows::GetCursorPos(&m.pt);
}

// Finds the next message without waiting; false when there is none.
bool Find(MSG* out, HWND wnd, UINT lo, UINT hi, bool remove)
{
  auto& q = Q();
  {
    std::lock_guard<std::mutex> g(q.lock);
    for (auto it = q.posted.begin(); it != q.posted.end();) {
      if (it->hwnd && !WindowData::Get(it->hwnd)) {  // the window went away meanwhile
        it = q.posted.erase(it);
        continue;
      }
      if (Passes(*it, wnd, lo, hi)) {
        *out = *it;
        if (remove) q.posted.erase(it);
        return true;
      }
      ++it;
    }
  }
  if (InputQueue::Take([&](const MSG& m) { return Passes(m, wnd, lo, hi); }, out, remove)) return true;
  if ((lo == 0 && hi == 0) || (WM_PAINT >= lo && WM_PAINT <= hi)) {
    if (HWND p = Painting::NextPaintWindow(wnd)) {
      *out = MSG{p, WM_PAINT, 0, 0, 0, {}};
      Stamp(*out);
      return true;
    }
  }
  if ((lo == 0 && hi == 0) || (WM_TIMER >= lo && WM_TIMER <= hi)) {
    DWORD now = Backend::Current().Now();
    for (auto& t : q.timers) {
      if (!Due(now, t.due)) continue;
      MSG m{t.wnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), 0, {}};
      if (!Passes(m, wnd, lo, hi)) continue;
      Stamp(m);
      if (remove) t.due = now + t.elapse;
      *out = m;
      return true;
    }
  }
  if (q.quit && !wnd) {
    *out = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, 0, {}};
    Stamp(*out);
    if (remove) q.quit = false;
    return true;
  }
  return false;
}

// Milliseconds until the next timer, or INFINITE.
DWORD NextTimerWait()
{
  DWORD now = Backend::Current().Now();
  DWORD best = INFINITE;
  for (auto& t : Q().timers) {
    DWORD left = Due(now, t.due) ? 0 : t.due - now;
    best = std::min(best, left);
  }
  return best;
}

}  // namespace

void Reset()
{
  UiThread() = std::this_thread::get_id();
  auto& q = Q();
  {
    std::lock_guard<std::mutex> g(q.lock);
    q.posted.clear();
  }
  q.timers.clear();
  q.quit = false;
  q.quitCode = 0;
  InputQueue::Reset();
}

void ForgetWindow(HWND wnd)
{
  auto& q = Q();
  {
    std::lock_guard<std::mutex> g(q.lock);
    std::erase_if(q.posted, [&](const MSG& m) { return m.hwnd == wnd; });
  }
  std::erase_if(q.timers, [&](const Timer& t) { return t.wnd == wnd; });
}

bool OnlyOwnTimerLeft(HWND wnd, UINT_PTR id)
{
  auto& q = Q();
  if (Backend::Current().InputCanArrive() || InputQueue::Pending() || Painting::NextPaintWindow(nullptr) || q.quit)
    return false;
  {
    std::lock_guard<std::mutex> g(q.lock);
    if (!q.posted.empty()) return false;
  }
  return std::all_of(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return t.wnd == wnd && t.id == id; });
}

}  // namespace MessageQueue

namespace Windows {

using MessageQueue::Q;

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (wnd == HWND_BROADCAST) {
    // Each top-level window in turn; one destroyed by an earlier receiver is skipped.
    const std::vector<HWND> targets = WindowData::TopLevel();
    for (HWND t : targets)
      if (WindowData::Get(t)) SendMessage(t, msg, wParam, lParam);
    return 0;
  }
  WindowData::Ptr w = WindowData::Find(wnd);  // keeps the record alive through the call
  if (!w) return 0;
  if (Hooks::Any(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{lParam, wParam, msg, wnd};
    Hooks::Call(WH_CALLWNDPROC, HC_ACTION, TRUE, reinterpret_cast<LPARAM>(&cwp));
    if (!WindowData::Get(wnd)) return 0;
  }
  WNDPROC proc = w->proc;
  ++Q().sendDepth;
  struct Depth {
    ~Depth() { --Q().sendDepth; }
  } depth;
  LRESULT r = proc(wnd, msg, wParam, lParam);
  if (Hooks::Any(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT ret{r, lParam, wParam, msg, wnd};
    Hooks::Call(WH_CALLWNDPROCRET, HC_ACTION, TRUE, reinterpret_cast<LPARAM>(&ret));
  }
  return r;
}

BOOL PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (wnd == HWND_BROADCAST) {
    for (HWND t : WindowData::TopLevel()) PostMessage(t, msg, wParam, lParam);
    return TRUE;
  }
  if (wnd && std::this_thread::get_id() == MessageQueue::UiThread() && !WindowData::Get(wnd)) return FALSE;
  MSG m{wnd, msg, wParam, lParam, 0, {}};
  if (std::this_thread::get_id() == MessageQueue::UiThread()) MessageQueue::Stamp(m);
  std::lock_guard<std::mutex> g(Q().lock);
  Q().posted.push_back(m);
  return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (threadId != GetCurrentThreadId()) return FALSE;
  return PostMessage(nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
  Q().quit = true;
  Q().quitCode = exitCode;
}

BOOL PeekMessage(MSG* out, HWND wnd, UINT lo, UINT hi, UINT removeMsg)
{
  Backend::Current().Poll();
  MSG m;
  if (!MessageQueue::Find(&m, wnd, lo, hi, removeMsg & PM_REMOVE)) return FALSE;
  if (Hooks::Any(WH_GETMESSAGE)) {
    Hooks::Call(WH_GETMESSAGE, HC_ACTION, removeMsg & PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  }
  if (removeMsg & PM_REMOVE) Q().last = m;
  if (out) *out = m;
  return TRUE;
}

BOOL GetMessage(MSG* out, HWND wnd, UINT lo, UINT hi)
{
  MSG m;
  for (;;) {
    if (PeekMessage(&m, wnd, lo, hi, PM_REMOVE)) break;
    DWORD wait = MessageQueue::NextTimerWait();
    if (!Backend::Current().Wait(wait))
      throw EInvalidOperation("GetMessage: the message queue is empty and nothing can arrive");
  }
  if (out) *out = m;
  return m.message != WM_QUIT;
}

BOOL WaitMessage()
{
  MSG m;
  for (;;) {
    if (MessageQueue::Find(&m, nullptr, 0, 0, false)) return TRUE;
    if (!Backend::Current().Wait(MessageQueue::NextTimerWait())) return FALSE;
  }
}

DWORD GetQueueStatus(UINT flags)
{
  DWORD s = 0;
  {
    std::lock_guard<std::mutex> g(Q().lock);
    if (!Q().posted.empty()) s |= QS_POSTMESSAGE;
  }
  if (InputQueue::Pending()) s |= QS_INPUT;
  if (Painting::NextPaintWindow(nullptr)) s |= QS_PAINT;
  DWORD now = Backend::Current().Now();
  for (auto& t : Q().timers) {
    if (MessageQueue::Due(now, t.due)) s |= QS_TIMER;
  }
  return s & flags;
}

BOOL TranslateMessage(const MSG* msg)
{
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  int vk = int(msg->wParam);
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  bool caps = GetKeyState(VK_CAPITAL) & 1;
  int ch = -1;
  if (vk >= 'A' && vk <= 'Z') {
    ch = (shift != caps) ? vk : vk + 32;
    if (ctrl) ch = vk - 'A' + 1;
  } else if (vk >= '0' && vk <= '9') {
    static const char shifted[] = ")!@#$%^&*(";
    ch = shift ? shifted[vk - '0'] : vk;
  } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
    ch = '0' + vk - VK_NUMPAD0;
  } else {
    switch (vk) {
      case VK_SPACE: ch = ' '; break;
      case VK_RETURN: ch = '\r'; break;
      case VK_BACK: ch = 8; break;
      case VK_TAB: ch = '\t'; break;
      case VK_ESCAPE: ch = 27; break;
      case VK_MULTIPLY: ch = '*'; break;
      case VK_ADD: ch = '+'; break;
      case VK_SUBTRACT: ch = '-'; break;
      case VK_DECIMAL: ch = '.'; break;
      case VK_DIVIDE: ch = '/'; break;
      case 0xBA: ch = shift ? ':' : ';'; break;
      case 0xBB: ch = shift ? '+' : '='; break;
      case 0xBC: ch = shift ? '<' : ','; break;
      case 0xBD: ch = shift ? '_' : '-'; break;
      case 0xBE: ch = shift ? '>' : '.'; break;
      case 0xBF: ch = shift ? '?' : '/'; break;
      default: break;
    }
  }
  if (ch < 0) return FALSE;
  PostMessage(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, WPARAM(ch), msg->lParam);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg)
{
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  WindowData::Ptr w = WindowData::Find(msg->hwnd);
  if (!w) return 0;
  WNDPROC proc = w->proc;
  TValueGuard notInSend(Q().sendDepth, 0);
  LRESULT r = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  return r;
}

DWORD GetMessageTime() { return Q().last.time; }
POINT GetMessagePos() { return Q().last.pt; }
BOOL InSendMessage() { return Q().sendDepth > 0; }

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
  if (wnd && !WindowData::Get(wnd)) return 0;
  elapse = std::max<UINT>(elapse, 10);
  auto& q = Q();
  if (!wnd) {
    auto it = std::find_if(q.timers.begin(), q.timers.end(),
                           [&](const MessageQueue::Timer& t) { return !t.wnd && t.id == id; });
    if (id == 0 || it == q.timers.end()) id = ++q.nextTimerId;
  }
  DWORD due = Backend::Current().Now() + elapse;
  for (auto& t : q.timers) {
    if (t.wnd == wnd && t.id == id) {
      t.elapse = elapse;
      t.proc = proc;
      t.due = due;
      return wnd ? (id ? id : 1) : id;
    }
  }
  q.timers.push_back({wnd, id, elapse, proc, due});
  return wnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND wnd, UINT_PTR id)
{
  auto& v = Q().timers;
  auto n = std::erase_if(v, [&](const MessageQueue::Timer& t) { return t.wnd == wnd && t.id == id; });
  return n ? TRUE : FALSE;
}

DWORD GetTickCount() { return Backend::Current().Now(); }

DWORD GetCurrentThreadId() { return DWORD(std::hash<std::thread::id>{}(std::this_thread::get_id()) & 0x7FFFFFFF) | 1; }

}  // namespace Windows
