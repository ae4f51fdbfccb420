// The up-down control ("msctls_updown32"): two arrows that step a 32-bit position. Each step
// reads the buddy's number back first (UDS_SETBUDDYINT), asks the parent with UDN_DELTAPOS
// (a non-zero answer cancels; the parent may change iDelta), moves the position (clamped, or
// wrapped with UDS_WRAP), writes the buddy and sends the parent WM_VSCROLL (WM_HSCROLL with
// UDS_HORZ) with SB_THUMBPOSITION and the position, and SB_ENDSCROLL when the arrow is let go.
// A held arrow repeats on a timer (after 400 ms, every 100 ms) with the accelerations.
// UDS_ALIGNRIGHT / UDS_ALIGNLEFT put it at the buddy's side, narrowing the buddy; with
// UDS_ARROWKEYS the buddy's Up and Down keys step it.
#pragma once

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/updown/UpDownModel.h"

constexpr const char* UPDOWN_CLASS = "msctls_updown32";
constexpr DWORD UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8, UDS_AUTOBUDDY = 0x10,
                UDS_ARROWKEYS = 0x20, UDS_HORZ = 0x40, UDS_NOTHOUSANDS = 0x80, UDS_HOTTRACK = 0x100;
// UDM_SETRANGE takes MAKELPARAM(max, min) of 16-bit ends; UDM_GETPOS answers the position in
// the low word and non-zero in the high word when the buddy's text was no number in range.
// UDM_SETPOS32 answers the old position, UDM_GETPOS32 takes an optional BOOL* error.
constexpr UINT UDM_SETRANGE = WM_USER + 101, UDM_GETRANGE = WM_USER + 102, UDM_SETPOS = WM_USER + 103,
               UDM_GETPOS = WM_USER + 104, UDM_SETBUDDY = WM_USER + 105, UDM_GETBUDDY = WM_USER + 106,
               UDM_SETACCEL = WM_USER + 107, UDM_GETACCEL = WM_USER + 108, UDM_SETBASE = WM_USER + 109,
               UDM_GETBASE = WM_USER + 110, UDM_SETRANGE32 = WM_USER + 111, UDM_GETRANGE32 = WM_USER + 112,
               UDM_SETPOS32 = WM_USER + 113, UDM_GETPOS32 = WM_USER + 114;
constexpr UINT UDN_FIRST = UINT(-721), UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
  NMHDR hdr;
  int iPos = 0;
  int iDelta = 0;
};

namespace UpDown {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace UpDown
