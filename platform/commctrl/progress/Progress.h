// The progress bar ("msctls_progress32"): a 32-bit range, position, delta and step; drawn
// in blocks or, with PBS_SMOOTH, as one bar; PBS_VERTICAL fills from the bottom.
#pragma once

#include "platform/win/WinUser.h"

constexpr const char* PROGRESS_CLASS = "msctls_progress32";
constexpr DWORD PBS_SMOOTH = 0x1, PBS_VERTICAL = 0x4;
// PBM_SETRANGE takes 16-bit ends in lParam and answers the old ones likewise; PBM_SETRANGE32
// takes them in wParam and lParam. PBM_GETRANGE answers the low end when wParam is non-zero,
// else the high, and fills a PBRANGE in lParam when given.
constexpr UINT PBM_SETRANGE = WM_USER + 1, PBM_SETPOS = WM_USER + 2, PBM_DELTAPOS = WM_USER + 3,
               PBM_SETSTEP = WM_USER + 4, PBM_STEPIT = WM_USER + 5, PBM_SETRANGE32 = WM_USER + 6,
               PBM_GETRANGE = WM_USER + 7, PBM_GETPOS = WM_USER + 8, PBM_SETBARCOLOR = WM_USER + 9,
               PBM_SETBKCOLOR = 0x2001;

struct PBRANGE {
  int iLow = 0, iHigh = 0;
};

namespace Progress {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace Progress
