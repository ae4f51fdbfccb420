// The seam between the window layer and what shows its windows: the headless back end (memory
// only, the default) or a desktop one. The window layer calls it; a back end feeds native input
// back through the functions of platform/win/input/InputQueue.h.
#pragma once

#include <memory>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;

class WindowBackend {
public:
  virtual ~WindowBackend() = default;
  // Milliseconds of the message clock (GetTickCount, message times, timers).
  virtual DWORD Now() = 0;
  // Waits up to `timeoutMs` for native input and queues it. Answers false when nothing can
  // ever arrive (the headless back end with an endless wait): the caller raises instead of
  // hanging.
  virtual bool Wait(DWORD timeoutMs) = 0;
  // Whether native input can still arrive (a desktop); false for one that only replays what a
  // test queued.
  virtual bool InputCanArrive() { return true; }
  // Queues whatever native input has arrived, without waiting (each PeekMessage calls it).
  virtual void Poll() {}
  virtual SIZE ScreenSize() = 0;
  virtual RECT WorkArea() = 0;
  // A top-level window was created, moved, resized, shown or hidden; or is being destroyed.
  virtual void TopLevelChanged(HWND top) {}
  virtual void TopLevelDestroyed(HWND top) {}
  // The window layer made this top-level window the active one: the keyboard should follow.
  virtual void Activated(HWND top) {}
  // The current mouse cursor changed (SetCursor); null hides it.
  virtual void CursorChanged(HCURSOR cursor) {}
  // Pixels of a top-level window changed (a DC onto it was released).
  virtual void Present(HWND top) {}
  // The desktop's clipboard, as UTF-8 text; a back end without one answers false.
  virtual bool SetDesktopClipboardText(const std::string& utf8) { return false; }
  virtual bool GetDesktopClipboardText(std::string& utf8) { return false; }
  // MessageBeep.
  virtual void Beep(UINT type) {}
  // Where text is typed in this top-level window now (the caret of the focused edit, in the
  // top-level window's coordinates), so that an input method opens its window there. An empty
  // rectangle: nothing takes text.
  virtual void TextInputAt(HWND top, const RECT& rect) {}
};

namespace Backend {
// The current back end (the headless one until another is installed). Never null.
WindowBackend& Current();
// Installs a back end; null puts the headless one back.
void Install(std::unique_ptr<WindowBackend> backend);
}  // namespace Backend
