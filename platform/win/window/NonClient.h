// The default non-client area: borders, caption with its buttons, the menu bar and the standard
// scroll bars; its size (WM_NCCALCSIZE), hit test (WM_NCHITTEST) and painting (WM_NCPAINT).
#pragma once

#include "platform/win/WinUser.h"

namespace NonClient {
// The client rectangle inside `window` for a window of these styles.
RECT ClientFor(DWORD style, DWORD exStyle, RECT window);
// The menu bar's rectangle in window coordinates; empty without one.
RECT MenuBarRect(HWND wnd);
// The bar rectangles in window coordinates; empty when the bar is not shown.
RECT VScrollRect(HWND wnd);
RECT HScrollRect(HWND wnd);
// The close button of a caption with WS_SYSMENU (window coordinates); empty without one. The
// other caption buttons: window/CaptionButtons.h.
RECT CloseButtonRect(HWND wnd);
LRESULT HitTest(HWND wnd, POINT screen);
// Moves (HTCAPTION) or sizes (a border code) the window with the mouse until the button is
// released; Escape puts it back. Runs its own message loop.
void MoveSizeLoop(HWND wnd, LRESULT hit, POINT screenStart);
void Paint(HWND wnd);
}  // namespace NonClient
