#include "controls/data/cxDataUtils.h"

#include <cmath>

#include "platform/rtl/DateTime.h"

namespace cxDataUtils {

std::function<int()> LocaleFirstDayOfWeekHook;

int FirstDayOfWeek()
{
  const int locale = LocaleFirstDayOfWeekHook ? LocaleFirstDayOfWeekHook() : 6;
  return (locale + 1) % 7;
}

TDateTime StartOfWeek(TDateTime ADate)
{
  const int day = SysUtils::DayOfWeek(ADate) - 1;  // 0 = Sunday
  const int back = ((day - FirstDayOfWeek()) % 7 + 7) % 7;
  return TDateTime(std::trunc(ADate.Value) - back);
}

}  // namespace cxDataUtils
