// Keyboard focus, activation of top-level windows, mouse capture, mouse-leave tracking and the
// keyboard state.
//
// Order of a focus change: WM_KILLFOCUS to the old window (wParam the new), then WM_SETFOCUS to
// the new (wParam the old). Activation: WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE) to
// the old top-level window, WM_ACTIVATEAPP(TRUE) on the application's first activation, then
// WM_NCACTIVATE(TRUE) and WM_ACTIVATE to the new one, whose default handling focuses it.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

// Null for a stale, hidden-chain or disabled window is refused (answers null, focus stays).
HWND SetFocus(HWND wnd);
HWND GetFocus();
HWND SetActiveWindow(HWND wnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND wnd);
HWND GetForegroundWindow();
// The old capture window gets WM_CAPTURECHANGED (lParam the new one).
HWND SetCapture(HWND wnd);
BOOL ReleaseCapture();
HWND GetCapture();
// TME_LEAVE: WM_MOUSELEAVE is posted once when the pointer leaves the window's client area.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);

// High bit set while down, low bit toggled by each press (as of the message being handled).
short GetKeyState(int vkey);
// As of now, whatever the queue holds.
short GetAsyncKeyState(int vkey);
BOOL GetCursorPos(POINT* out);
BOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();

}  // namespace Windows

namespace Focus {
// For the window layer: the focus, activation and capture leave a window being destroyed or
// hidden.
void WindowGoing(HWND wnd);
// The application loses the activation (WM_ACTIVATEAPP(FALSE) and the deactivation messages).
void DeactivateApp();
void Reset();
}  // namespace Focus

namespace Focus {
// For the input queue: the key state tables (256 bytes each) and the pointer position.
BYTE* KeyState();
// SetActiveWindow with the WM_ACTIVATE code to give (WA_ACTIVE or WA_CLICKACTIVE).
HWND Activate(HWND wnd, WORD how);
BYTE* AsyncState();
POINT& CursorPos();
}  // namespace Focus
