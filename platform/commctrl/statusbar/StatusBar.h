// The status bar ("msctls_statusbar32"): parts whose right edges are set in pixels (-1 runs to
// the end), texts drawn sunken, without border (SBT_NOBORDERS), raised (SBT_POPOUT) or by the
// parent (SBT_OWNERDRAW: WM_DRAWITEM with the part in itemID and the value in itemData); a
// tab in a text centres what follows it, a second tab right-aligns the rest. Simple mode shows
// one text across the bar. SBARS_SIZEGRIP draws a grip that answers HTBOTTOMRIGHT and sizes
// the parent. Unless CCS_NOPARENTALIGN, WM_SIZE puts it back along its parent's bottom (or top
// with CCS_TOP) at the width of the parent's client area.
#pragma once

#include "platform/win/WinUser.h"

constexpr const char* STATUSCLASSNAME = "msctls_statusbar32";
constexpr DWORD SBARS_SIZEGRIP = 0x100;
// SB_SETTEXT: wParam the part (SB_SIMPLEID for simple mode's text) or'ed with the SBT_ flags,
// lParam the text (the owner's value with SBT_OWNERDRAW). SB_GETTEXT / SB_GETTEXTLENGTH answer
// MAKELONG(length, flags). SB_GETPARTS answers the count and copies up to wParam edges.
// SB_GETBORDERS fills int[3]: horizontal and vertical border, gap between parts.
constexpr UINT SB_SETTEXT = WM_USER + 1, SB_GETTEXT = WM_USER + 2, SB_GETTEXTLENGTH = WM_USER + 3,
               SB_SETPARTS = WM_USER + 4, SB_GETPARTS = WM_USER + 6, SB_GETBORDERS = WM_USER + 7,
               SB_SETMINHEIGHT = WM_USER + 8, SB_SIMPLE = WM_USER + 9, SB_GETRECT = WM_USER + 10,
               SB_ISSIMPLE = WM_USER + 14, SB_SETBKCOLOR = 0x2001;
constexpr UINT SBT_OWNERDRAW = 0x1000, SBT_NOBORDERS = 0x0100, SBT_POPOUT = 0x0200, SBT_RTLREADING = 0x0400,
               SBT_NOTABPARSING = 0x0800;
constexpr int SB_SIMPLEID = 0xFF;

namespace StatusBar {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace StatusBar
