// The month calendar ("SysMonthCal32"): one month under a title with the previous and next
// buttons, a month menu (click the month's name) and a year up-down (click the year); the day
// names from the locale, six weeks of days (the neighbouring months' days grey), and the
// "今天:" line that selects today. Sunday starts the week unless the locale or
// MCM_SETFIRSTDAYOFWEEK says otherwise.
//
// A click on a day (or the today line), the keys (arrows, Page Up/Down, Home/End) and the month
// buttons change the selection and send MCN_SELCHANGE; the release of the click (and Enter) sends
// MCN_SELECT. MCM_SETCURSEL, MCM_SETRANGE and MCM_SETTODAY notify nobody. MCM_GETMINREQRECT
// answers the size one month needs in the control's font. Notifications go to the window named
// as parent at creation: for a pop-up calendar that is the control that made it (a date-time
// picker), not its owner's top-level window. A pop-up calendar never takes the activation.
#pragma once

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/monthcal/SystemTime.h"

constexpr const char* MONTHCAL_CLASS = "SysMonthCal32";
constexpr DWORD MCS_DAYSTATE = 0x1, MCS_MULTISELECT = 0x2, MCS_WEEKNUMBERS = 0x4, MCS_NOTODAYCIRCLE = 0x8,
                MCS_NOTODAY = 0x10;
// MCM_GETCURSEL/SETCURSEL, SETTODAY/GETTODAY take a SYSTEMTIME* (SETTODAY: null goes back to the
// clock's day). SETRANGE/GETRANGE take the GDTR_ flags and SYSTEMTIME[2] (minimum, maximum).
// SETFIRSTDAYOFWEEK takes 0 = Monday .. 6 = Sunday and answers MAKELPARAM(previous, whether the
// previous differed from the locale's). SETCOLOR takes an MCSC_ index and answers the old colour.
constexpr UINT MCM_FIRST = 0x1000, MCM_GETCURSEL = MCM_FIRST + 1, MCM_SETCURSEL = MCM_FIRST + 2,
               MCM_GETMINREQRECT = MCM_FIRST + 9, MCM_SETCOLOR = MCM_FIRST + 10, MCM_GETCOLOR = MCM_FIRST + 11,
               MCM_SETTODAY = MCM_FIRST + 12, MCM_GETTODAY = MCM_FIRST + 13, MCM_HITTEST = MCM_FIRST + 14,
               MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15, MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16,
               MCM_GETRANGE = MCM_FIRST + 17, MCM_SETRANGE = MCM_FIRST + 18;
constexpr int MCSC_BACKGROUND = 0, MCSC_TEXT = 1, MCSC_TITLEBK = 2, MCSC_TITLETEXT = 3, MCSC_MONTHBK = 4,
              MCSC_TRAILINGTEXT = 5;
// Which ends of a range hold, and what a date query answers.
constexpr WPARAM GDTR_MIN = 0x1, GDTR_MAX = 0x2;
constexpr LRESULT GDT_ERROR = -1, GDT_VALID = 0, GDT_NONE = 1;
constexpr UINT MCHT_NOWHERE = 0x0, MCHT_TITLE = 0x10000, MCHT_CALENDAR = 0x20000, MCHT_TODAYLINK = 0x30000,
               MCHT_NEXT = 0x1000000, MCHT_PREV = 0x2000000, MCHT_TITLEBK = MCHT_TITLE,
               MCHT_TITLEMONTH = MCHT_TITLE | 1, MCHT_TITLEYEAR = MCHT_TITLE | 2,
               MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 3, MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 3,
               MCHT_CALENDARBK = MCHT_CALENDAR, MCHT_CALENDARDATE = MCHT_CALENDAR | 1,
               MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT,
               MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV, MCHT_CALENDARDAY = MCHT_CALENDAR | 2,
               MCHT_CALENDARWEEKNUM = MCHT_CALENDAR | 3;
constexpr UINT MCN_FIRST = UINT(-750), MCN_SELCHANGE = MCN_FIRST + 1, MCN_GETDAYSTATE = MCN_FIRST + 3,
               MCN_SELECT = MCN_FIRST + 4;

// MCM_HITTEST: pt in client coordinates in, uHit and (on a date) st out.
struct MCHITTESTINFO {
  UINT cbSize = sizeof(MCHITTESTINFO);
  POINT pt{0, 0};
  UINT uHit = 0;
  SYSTEMTIME st;
};

// MCN_SELCHANGE and MCN_SELECT: the selected day in both.
struct NMSELCHANGE {
  NMHDR nmhdr;
  SYSTEMTIME stSelStart;
  SYSTEMTIME stSelEnd;
};
using NMSELECT = NMSELCHANGE;

namespace MonthCal {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The text of the today line for a day ("今天: 2026-12-11" in the locale's short date format).
AnsiString TodayText(int date);
}  // namespace MonthCal
