// Finding the parts of a month calendar in tests through its own hit test, so a test does not
// restate the layout.
#pragma once

#include <functional>

#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

// The first client point (scanning rows `step` apart) whose hit test `wanted` accepts, moved
// `inset` pixels into the part; (-1, -1) when there is none.
inline POINT FindInCalendar(HWND cal, const std::function<bool(UINT hit, const SYSTEMTIME& st)>& wanted, int step = 1,
                            int inset = 0)
{
  RECT r;
  Windows::GetClientRect(cal, &r);
  for (int y = 0; y < r.bottom; y += step)
    for (int x = 0; x < r.right; x += step) {
      MCHITTESTINFO h;
      h.pt = {x, y};
      UINT hit = UINT(Windows::SendMessage(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&h)));
      if (wanted(hit, h.st)) return {x + inset, y + inset};
    }
  return {-1, -1};
}

// A point inside a date's cell (of the shown month or its neighbours').
inline POINT DayCell(HWND cal, int year, int month, int day)
{
  return FindInCalendar(
      cal,
      [&](UINT hit, const SYSTEMTIME& st) {
        return (hit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && st.wYear == year && st.wMonth == month &&
               st.wDay == day;
      },
      3, 2);
}
