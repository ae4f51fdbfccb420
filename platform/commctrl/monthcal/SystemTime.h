// SYSTEMTIME, the date and time the month calendar and the date-time picker exchange, and its
// conversions to TDateTime.
#pragma once

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

struct SYSTEMTIME {
  WORD wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};

namespace SystemTime {
// Whether the fields make a real date and time (day of the week not checked; years 1 to 9999).
bool IsValid(const SYSTEMTIME& st);
// The date and time as TDateTime; the caller checks IsValid first (an invalid one gives 0).
TDateTime ToDateTime(const SYSTEMTIME& st);
// The fields of a TDateTime, the day of the week filled (0 = Sunday).
SYSTEMTIME FromDateTime(TDateTime value);
}  // namespace SystemTime
