// Message hooks of the user-interface thread: WH_CALLWNDPROC (every sent message, lParam a
// CWPSTRUCT*), WH_CALLWNDPROCRET (after each sent message, lParam a CWPRETSTRUCT* with the
// answer), WH_GETMESSAGE (each message GetMessage / PeekMessage retrieves, wParam
// PM_REMOVE or PM_NOREMOVE, lParam a MSG* the hook may change), WH_MOUSE (each mouse message
// before it is delivered, lParam a MOUSEHOOKSTRUCT*; a non-zero answer discards the message).
// The hook installed last runs first; each passes on with CallNextHookEx.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

// Null for an unknown hook kind or a null procedure. `threadId` 0 or this thread's id.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

}  // namespace Windows

namespace Hooks {
// Runs the chain of a kind; answers 0 when no hook is installed. Safe when a hook unhooks
// itself or another while running.
LRESULT Call(int idHook, int code, WPARAM wParam, LPARAM lParam);
bool Any(int idHook);
void Reset();
}  // namespace Hooks
