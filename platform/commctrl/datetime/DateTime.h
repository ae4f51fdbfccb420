// The date-time picker ("SysDateTimePick32"): a date or time shown in fields (short date, long
// date or time by style, or a format set with DTM_SETFORMAT), edited field by field: Left and
// Right choose the field, Up and Down (or the up-down of DTS_UPDOWN) step it, digits are typed
// into it. Without DTS_UPDOWN a button drops a month calendar down (also F4 and Alt+Down): a day
// chosen there is taken (the time kept) and the calendar closes; Escape or a click elsewhere
// closes it unchanged. DTS_SHOWNONE puts a tick box before the fields (Space toggles it); unticked,
// DTM_GETSYSTEMTIME answers GDT_NONE.
//
// The parent gets DTN_DATETIMECHANGE after each change by the user (never for DTM_ messages),
// DTN_DROPDOWN when the calendar is about to show (DTM_GETMONTHCAL answers it until it closes)
// and DTN_CLOSEUP when it has closed.
#pragma once

#include "platform/commctrl/monthcal/MonthCal.h"

constexpr const char* DATETIMEPICK_CLASS = "SysDateTimePick32";
constexpr DWORD DTS_UPDOWN = 0x1, DTS_SHOWNONE = 0x2, DTS_SHORTDATEFORMAT = 0x0, DTS_LONGDATEFORMAT = 0x4,
                DTS_SHORTDATECENTURYFORMAT = 0xC, DTS_TIMEFORMAT = 0x9, DTS_APPCANPARSE = 0x10, DTS_RIGHTALIGN = 0x20;
// DTM_GETSYSTEMTIME: lParam a SYSTEMTIME* filled with the shown value; answers GDT_VALID, GDT_NONE
// (unticked) or GDT_ERROR (no structure). DTM_SETSYSTEMTIME: wParam GDT_VALID with a SYSTEMTIME*
// (ticks the box; FALSE for an invalid date or one outside the range) or GDT_NONE (unticks; FALSE
// without DTS_SHOWNONE). DTM_SETRANGE / GETRANGE as the month calendar's. DTM_SETFORMAT: lParam the
// format (null: the style's own). DTM_SETMCCOLOR / SETMCFONT: what the dropped calendar gets.
constexpr UINT DTM_FIRST = 0x1000, DTM_GETSYSTEMTIME = DTM_FIRST + 1, DTM_SETSYSTEMTIME = DTM_FIRST + 2,
               DTM_GETRANGE = DTM_FIRST + 3, DTM_SETRANGE = DTM_FIRST + 4, DTM_SETFORMAT = DTM_FIRST + 5,
               DTM_SETMCCOLOR = DTM_FIRST + 6, DTM_GETMCCOLOR = DTM_FIRST + 7, DTM_GETMONTHCAL = DTM_FIRST + 8,
               DTM_SETMCFONT = DTM_FIRST + 9, DTM_GETMCFONT = DTM_FIRST + 10;
constexpr UINT DTN_FIRST = UINT(-760), DTN_DATETIMECHANGE = DTN_FIRST + 1, DTN_DROPDOWN = DTN_FIRST + 6,
               DTN_CLOSEUP = DTN_FIRST + 7;

// DTN_DATETIMECHANGE: dwFlags GDT_VALID with the new value in st, or GDT_NONE when unticked.
struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags = 0;
  SYSTEMTIME st;
};

namespace DateTimePicker {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace DateTimePicker
