// The message queue of the user-interface thread: sending, posting, retrieving and dispatching,
// WM_QUIT, timers, and the message clock.
//
// Retrieval order: posted messages, then input, then WM_PAINT for a window with an invalid
// region (parents before children), then due WM_TIMERs; WM_QUIT once the queue is empty after
// PostQuitMessage. Messages for windows destroyed meanwhile are dropped. Modal loops are
// ordinary nested GetMessage / DispatchMessage loops. PostMessage may be called from any
// thread; everything else is user-interface thread only.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

// Calls the window's procedure at once (after the WH_CALLWNDPROC hooks); 0 for a stale window.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// FALSE for a stale window. A null window posts a thread message.
BOOL PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Filters: `wnd` null takes any window's and thread messages; min = max = 0 takes all.
BOOL PeekMessage(MSG* out, HWND wnd, UINT filterMin, UINT filterMax, UINT removeMsg);
// FALSE for WM_QUIT. Waits through the back end; raises EInvalidOperation when nothing can
// ever arrive (the headless back end with an empty queue and no timers).
BOOL GetMessage(MSG* out, HWND wnd, UINT filterMin, UINT filterMax);
// Posts WM_CHAR (WM_SYSCHAR) for a key that makes a character. Answers TRUE when it did.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Waits until the queue holds something; FALSE when nothing can ever arrive.
BOOL WaitMessage();
DWORD GetQueueStatus(UINT flags);
DWORD GetMessageTime();
POINT GetMessagePos();
// Whether the current call was sent (SendMessage) rather than dispatched from the queue.
BOOL InSendMessage();

// A new timer id for a null window. Re-setting an existing timer restarts it. Elapse is at
// least 10 ms. Several expirations while the queue is busy give one WM_TIMER.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND wnd, UINT_PTR id);

DWORD GetTickCount();
DWORD GetCurrentThreadId();

}  // namespace Windows

namespace MessageQueue {
// Drops posted messages, input, timers and the quit flag, and makes the calling thread the
// user-interface thread (tests and back-end start-up).
void Reset();
// For the window layer: drops what is queued for a destroyed window.
void ForgetWindow(HWND wnd);
}  // namespace MessageQueue
