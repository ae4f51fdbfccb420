#include "platform/win/queue/Hooks.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rtl/Guards.h"
#include "platform/win/queue/Messages.h"

namespace Hooks {
namespace {

struct Hook {
  HHOOK handle;
  int id;
  HOOKPROC proc;
  bool live;
};

struct Chain {
  std::vector<Hook> hooks;  // oldest first; removed entries stay dead until no chain runs
  std::uintptr_t next = 0x30000;
  int running = 0;
};

Chain& C()
{
  static Chain c;
  return c;
}

bool Valid(int id) { return id == WH_CALLWNDPROC || id == WH_GETMESSAGE || id == WH_MOUSE || id == WH_CALLWNDPROCRET; }

// The next live hook of the kind, older than the one at `from` (exclusive).
const Hook* NextOlder(int id, std::ptrdiff_t from)
{
  auto& h = C().hooks;
  for (std::ptrdiff_t i = from - 1; i >= 0; --i) {
    if (h[std::size_t(i)].live && h[std::size_t(i)].id == id) return &h[std::size_t(i)];
  }
  return nullptr;
}

LRESULT Run(const Hook* hook, int code, WPARAM w, LPARAM l)
{
  if (!hook) return 0;
  HOOKPROC proc = hook->proc;
  ++C().running;
  TScopeExit done([] {
    if (--C().running == 0) std::erase_if(C().hooks, [](const Hook& h) { return !h.live; });
  });
  return proc(code, w, l);
}

}  // namespace

LRESULT Call(int idHook, int code, WPARAM wParam, LPARAM lParam)
{
  return Run(NextOlder(idHook, std::ptrdiff_t(C().hooks.size())), code, wParam, lParam);
}

bool Any(int idHook) { return NextOlder(idHook, std::ptrdiff_t(C().hooks.size())) != nullptr; }

void Reset()
{
  if (C().running) {
    for (auto& h : C().hooks) h.live = false;
  } else {
    C().hooks.clear();
  }
}

}  // namespace Hooks

namespace Windows {

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId)
{
  if (!Hooks::Valid(idHook) || !proc) return nullptr;
  if (threadId != 0 && threadId != GetCurrentThreadId()) return nullptr;
  auto& c = Hooks::C();
  c.next += 4;
  HHOOK h = reinterpret_cast<HHOOK>(c.next);
  c.hooks.push_back({h, idHook, proc, true});
  return h;
}

BOOL UnhookWindowsHookEx(HHOOK hook)
{
  for (auto& h : Hooks::C().hooks) {
    if (h.handle == hook && h.live) {
      h.live = false;
      if (!Hooks::C().running) std::erase_if(Hooks::C().hooks, [](auto& x) { return !x.live; });
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
  auto& v = Hooks::C().hooks;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i].handle == hook) {
      return Hooks::Run(Hooks::NextOlder(v[i].id, std::ptrdiff_t(i)), code, wParam, lParam);
    }
  }
  return 0;
}

}  // namespace Windows
