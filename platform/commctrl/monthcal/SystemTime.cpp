#include "platform/commctrl/monthcal/SystemTime.h"

#include <cmath>

#include "platform/rtl/DateTime.h"

namespace SystemTime {

bool IsValid(const SYSTEMTIME& st)
{
  if (st.wYear < 1 || st.wYear > 9999 || st.wMonth < 1 || st.wMonth > 12) return false;
  if (st.wDay < 1 || st.wDay > SysUtils::MonthDays(st.wYear, st.wMonth)) return false;
  return st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

TDateTime ToDateTime(const SYSTEMTIME& st)
{
  if (!IsValid(st)) return 0;
  TDateTime d = SysUtils::EncodeDate(st.wYear, st.wMonth, st.wDay);
  TDateTime t = SysUtils::EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
  return d >= 0 ? d + t : d - t;
}

SYSTEMTIME FromDateTime(TDateTime value)
{
  SYSTEMTIME st;
  Word y, m, d, dow, h, n, s, ms;
  SysUtils::DecodeDateFully(value, y, m, d, dow);
  SysUtils::DecodeTime(value, h, n, s, ms);
  st.wYear = y;
  st.wMonth = m;
  st.wDay = d;
  st.wDayOfWeek = WORD(dow ? dow - 1 : 0);
  st.wHour = h;
  st.wMinute = n;
  st.wSecond = s;
  st.wMilliseconds = ms;
  return st;
}

}  // namespace SystemTime
