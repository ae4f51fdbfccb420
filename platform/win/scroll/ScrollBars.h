// The standard scroll bars of a window (WS_HSCROLL / WS_VSCROLL in its non-client area). The
// position is kept within min .. max - max(page - 1, 0); the page within 0 .. max - min + 1.
// SB_CTL addresses a scroll-bar control: a window made one with ScrollBars::MakeControl, whose
// whole client area is the bar; for any other window SB_CTL answers 0.
#pragma once

#include "platform/win/WinUser.h"

constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr UINT ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3;
constexpr int SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
              SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
              SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
constexpr LONG OBJID_HSCROLL = -6, OBJID_VSCROLL = -5, OBJID_CLIENT = -4;
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x1, STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000,
                STATE_SYSTEM_OFFSCREEN = 0x10000;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0, nMax = 0;
  UINT nPage = 0;
  int nPos = 0, nTrackPos = 0;
};

struct SCROLLBARINFO {
  DWORD cbSize = sizeof(SCROLLBARINFO);
  RECT rcScrollBar;  // screen coordinates
  int dxyLineButton = 0, xyThumbTop = 0, xyThumbBottom = 0, reserved = 0;
  DWORD rgstate[6] = {};  // the bar, top arrow, page up, thumb, page down, bottom arrow
};

namespace Windows {

// Answers the new position. Showing or hiding the bar (a range that stops or starts needing
// one) recalculates the frame, unless SIF_DISABLENOSCROLL keeps it shown and disabled. A mask of
// SIF_TRACKPOS alone sets the track position that SB_THUMBTRACK / SB_THUMBPOSITION read back (a
// painted bar driving the window's bar, whose 32-bit position the message cannot carry).
int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND wnd, int bar, SCROLLINFO* si);
int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND wnd, int bar);
BOOL SetScrollRange(HWND wnd, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND wnd, int bar, int* min, int* max);
BOOL ShowScrollBar(HWND wnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND wnd, UINT bar, UINT arrows);
// idObject OBJID_HSCROLL or OBJID_VSCROLL; OBJID_CLIENT for a scroll-bar control.
BOOL GetScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO* out);

}  // namespace Windows

namespace ScrollBars {
// For the default window procedure: a press on a standard bar (HTHSCROLL / HTVSCROLL) at a
// screen point. Arrows and the track send SB_LINE* / SB_PAGE* at once and again while held
// (after 400 ms, every 50 ms); the thumb sends SB_THUMBTRACK while dragged and
// SB_THUMBPOSITION when let go; SB_ENDSCROLL ends every press. Runs its own message loop;
// the window moves the position itself, as it must. For SB_CTL the messages go to the
// control's parent with the control in lParam.
void Track(HWND wnd, int bar, POINT screen);

// Makes `wnd` a scroll-bar control: its client area is one bar, horizontal or vertical, that
// the SB_CTL calls address. It starts with range 0..0, enabled.
void MakeControl(HWND wnd, bool vertical);
// Draws a bar into `bar` (DC coordinates): arrows, track, thumb, and the part held down pushed.
// `track` fills the track (null: COLOR_SCROLLBAR).
void PaintBar(HDC dc, const RECT& bar, bool vertical, const SCROLLBARINFO& sbi, int pressed, HBRUSH track = nullptr);
// Draws a scroll-bar control into its client area (`dc` on it).
void PaintControl(HWND wnd, HDC dc, HBRUSH track = nullptr);
}  // namespace ScrollBars
