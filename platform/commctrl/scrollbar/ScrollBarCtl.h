// The SCROLLBAR window class: a horizontal or vertical bar as a control of its own, over the
// window layer's standard bar code (SB_CTL). It sends WM_HSCROLL / WM_VSCROLL to its parent
// with itself in lParam, with the standard bars' repeat timing; the parent moves the position.
#pragma once

#include "platform/win/WinUser.h"

namespace ScrollBarCtl {

void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace ScrollBarCtl
