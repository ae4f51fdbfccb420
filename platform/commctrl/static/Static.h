// The STATIC window class: text (left, centred, right, simple, without word wrap; "&" prefixes
// unless SS_NOPREFIX; an end ellipsis), bitmaps (STM_SETIMAGE), filled rectangles and frames,
// etched lines and frames, a sunken border, and owner drawing. With SS_NOTIFY it reports clicks
// (STN_CLICKED, STN_DBLCLK) and enabling; without it the mouse passes through it.
#pragma once

#include "platform/win/WinUser.h"

namespace Static {

void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace Static
